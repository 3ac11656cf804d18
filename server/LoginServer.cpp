#include "server/LoginServer.h"

#include "server/Accounts.h"
#include "server/Log.h"
#include "server/Updates.h"

#include <algorithm>
#include <filesystem>
#include <list>
#include <map>

namespace server::loginserver {

static const Config* Settings = nullptr;
static std::array<uint8_t, 4> WorldAddress{};
static int WorldPort = 0;
static std::list<std::weak_ptr<Connection>> Pending;
static updates::UpdateStore Updates;

// ---- File updates ----------------------------------------------------------------------

// A data block fills one packet: command, word count, bytes.
static constexpr size_t BLOCK_SIZE = MAX_SERVER_PACKET - 3;
// Blocks queued at a time; the next ones follow when the socket has taken
// them, so a slow client holds up nobody and costs little memory.
static constexpr int BLOCKS_PER_TURN = 4;

namespace {
struct Transfer {
    std::weak_ptr<Connection> Client;
    uint64_t ID = 0;
    updates::Update File;
    size_t Sent = 0;
    std::chrono::steady_clock::time_point LastProgress;
};
}  // namespace

// By connection; a transfer ends with its connection.
static std::map<uint64_t, std::shared_ptr<Transfer>> Transfers;

static void SendMore(const std::shared_ptr<Transfer>& T) {
    auto Client = T->Client.lock();
    if (!Client || !Client->IsOpen()) {
        Transfers.erase(T->ID);
        return;
    }
    T->LastProgress = std::chrono::steady_clock::now();
    const updates::Bytes& Data = *T->File.Data;
    for (int Block = 0; Block < BLOCKS_PER_TURN && T->Sent < Data.size(); Block++) {
        size_t Count = std::min(BLOCK_SIZE, Data.size() - T->Sent);
        auto From = Data.begin() + long(T->Sent);
        Message M;
        M.addByte(32).addWord(int(Count)).addBytes(updates::Bytes(From, From + long(Count)));
        Client->Send(M);
        T->Sent += Count;
    }
    if (T->Sent < Data.size()) {
        std::weak_ptr<Transfer> Weak = T;
        Client->WhenSent([Weak] {
            if (auto Still = Weak.lock()) SendMore(Still);
        });
        return;
    }
    serverlog::Info("login", "%s: %s sent", Client->Peer().c_str(), updates::FileName(T->File.Type));
    Transfers.erase(T->ID);
    Client->CloseAfterSending("file update sent");
}

// One file per connection: the client installs it, reloads it and logs in
// again with the new signature, and then gets the next file it lacks.
static void StartTransfer(Connection& Client, const updates::Update& File, uint32_t Number) {
    auto T = std::make_shared<Transfer>();
    T->Client = Client.shared_from_this();
    T->ID = Client.ID();
    T->File = File;
    Transfers[T->ID] = T;
    serverlog::Info("login", "%s: account %u has %s %08x, sending %s of %zu bytes", Client.Peer().c_str(), Number,
                    updates::FileName(File.Type), File.From, File.Delta ? "a delta" : "the whole file",
                    File.Data->size());
    Message M;
    M.addByte(File.Delta ? 30 : 31).addByte(File.Type).addQuad(uint32_t(File.Data->size()));
    Client.Send(M);
    SendMore(T);
}

static Message ErrorMessage(const std::string& Text) {
    Message M;
    M.addByte(10).addString(Text);
    return M;
}

namespace {
class LoginHandler : public ConnectionHandler {
  public:
    void Received(Connection& Client, InPacket& Packet) override {
        if (Transfers.count(Client.ID())) throw ProtocolError("packet during a file update");
        int Command = Packet.getByte();
        if (Command != 1) throw ProtocolError("login request expected, got command " + std::to_string(Command));
        int First = Packet.getWord();
        int Second = Packet.getWord();
        std::array<uint32_t, 3> Signatures;  // of the client's Vorna.dat, .spr, .pic
        for (uint32_t& Signature : Signatures) Signature = Packet.getQuad();
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
        if (std::optional<updates::Update> File = Updates.Find(Signatures)) {
            StartTransfer(Client, *File, Number);
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

    void Closed(Connection& Client) override { Transfers.erase(Client.ID()); }
};
}  // namespace

static LoginHandler TheHandler;

void InitLoginServer(const Config& TheSettings, std::array<uint8_t, 4> GameAddress, int GamePort) {
    Settings = &TheSettings;
    WorldAddress = GameAddress;
    WorldPort = GamePort;
    Pending.clear();
    Transfers.clear();
    namespace fs = std::filesystem;
    std::string DataFolder = Settings->DataDir.empty() ? DefaultDataDirectory() : Settings->DataDir;
    std::string UpdatesFolder =
        Settings->UpdatesDir.empty() ? (fs::path(Settings->StateDir) / "updates").string() : Settings->UpdatesDir;
    Updates.Load(DataFolder, UpdatesFolder);
}

void ExitLoginServer() {
    for (auto& Weak : Pending)
        if (auto Client = Weak.lock()) Client->Abort("server stops");
    Pending.clear();
    Transfers.clear();
    Updates.Clear();
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
        // A file update is timed by the socket taking its blocks, since the
        // client sends nothing meanwhile.
        auto Sending = Transfers.find(Client->ID());
        bool Updating = Sending != Transfers.end();
        auto Since = Updating ? Sending->second->LastProgress : Client->LastReceived();
        if (Now - Since > std::chrono::milliseconds(Settings->LoginTimeoutMs)) {
            Client->Abort(Updating ? "file update stalled" : "login request timed out");
            if (Updating) Transfers.erase(Sending);
            It = Pending.erase(It);
            continue;
        }
        ++It;
    }
}

}  // namespace server::loginserver
