#include "server/LoginServer.h"

#include "server/Accounts.h"
#include "server/Log.h"

#include <list>

namespace server::loginserver {

static const Config* Settings = nullptr;
static std::array<uint8_t, 4> WorldAddress{};
static int WorldPort = 0;
static std::list<std::weak_ptr<Connection>> Pending;

static Message ErrorMessage(const std::string& Text) {
    Message M;
    M.addByte(10).addString(Text);
    return M;
}

namespace {
class LoginHandler : public ConnectionHandler {
  public:
    void Received(Connection& Client, InPacket& Packet) override {
        int Command = Packet.getByte();
        if (Command != 1) throw ProtocolError("login request expected, got command " + std::to_string(Command));
        int First = Packet.getWord();
        int Second = Packet.getWord();
        for (int i = 0; i < 3; i++) Packet.getQuad();  // signatures of the client's data files
        uint32_t Number = Packet.getQuad();
        std::string Password = Packet.getString(255);
        Packet.expectEnd();

        if (First != PROTOCOL_CONSTANT_1 || Second != PROTOCOL_CONSTANT_2) {
            serverlog::Info("login", "%s: client version %d/%d refused", Client.Peer().c_str(), First, Second);
            Client.Send(ErrorMessage("Your client does not match this server.\nPlease install the current version."));
            Client.CloseAfterSending("wrong version");
            return;
        }
        size_t Open = 0;
        for (auto& Weak : Pending)
            if (auto Other = Weak.lock(); Other && Other->IsOpen()) Open++;
        if (Open > size_t(Settings->MaxLoginConnections)) {
            serverlog::Warning("login", "%s: overloaded, account %u sent elsewhere", Client.Peer().c_str(), Number);
            Message M;
            M.addByte(40);
            Client.Send(M);
            Client.CloseAfterSending("overloaded");
            return;
        }
        const Account* A = accounts::FindAccount(Number);
        if (A == nullptr || A->Password != Password) {
            serverlog::Info("login", "%s: account %u refused (wrong number or password)", Client.Peer().c_str(), Number);
            Client.Send(ErrorMessage("Account number or password is not correct."));
            Client.CloseAfterSending("refused");
            return;
        }
        Message M;
        if (!Settings->Information.empty()) M.addByte(11).addString(Settings->Information);
        M.addByte(20).addString(std::to_string(Settings->MotdNumber) + "\n" + Settings->Motd);
        M.addByte(100).addByte(int(A->Characters.size()));
        for (const std::string& Name : A->Characters) {
            const CharacterRecord* C = accounts::FindCharacter(Name);
            M.addString(C ? C->Name : Name);
            M.addString(C ? C->World : Settings->WorldName);
            for (uint8_t Part : WorldAddress) M.addByte(Part);
            M.addWord(WorldPort);
        }
        M.addWord(A->PremiumDays);
        Client.Send(M);
        Client.CloseAfterSending("character list sent");
        serverlog::Info("login", "%s: account %u logged in, %zu characters", Client.Peer().c_str(), Number,
                        A->Characters.size());
    }

    void Closed(Connection&) override {}
};
}  // namespace

static LoginHandler TheHandler;

void InitLoginServer(const Config& TheSettings, std::array<uint8_t, 4> GameAddress, int GamePort) {
    Settings = &TheSettings;
    WorldAddress = GameAddress;
    WorldPort = GamePort;
    Pending.clear();
}

void ExitLoginServer() {
    for (auto& Weak : Pending)
        if (auto Client = Weak.lock()) Client->Abort("server stops");
    Pending.clear();
    Settings = nullptr;
}

ConnectionHandler& Handler() { return TheHandler; }

void Accepted(const std::shared_ptr<Connection>& Client) { Pending.push_back(Client); }

void Sweep() {
    auto Now = std::chrono::steady_clock::now();
    for (auto It = Pending.begin(); It != Pending.end();) {
        auto Client = It->lock();
        if (!Client || !Client->IsOpen()) {
            It = Pending.erase(It);
            continue;
        }
        if (Now - Client->LastReceived() > std::chrono::milliseconds(Settings->LoginTimeoutMs)) {
            Client->Abort("login request timed out");
            It = Pending.erase(It);
            continue;
        }
        ++It;
    }
}

}  // namespace server::loginserver
