// Sections: the connection; the login server; the game server's login; data
// no correct server sends.
#include "ScriptedServer.h"

#include "ServerMessages.h"

#include <algorithm>

namespace randomplayer {

using platform::recording::NetworkEvent;
using server::InPacket;
using server::Message;
using server::ProtocolError;

namespace {
constexpr int ERROR_REFUSED = 10061;
constexpr int ERROR_TIMEOUT = 10060;
constexpr int ERROR_HOST_NOT_FOUND = 11001;
constexpr int PROTOCOL_FIRST = 2, PROTOCOL_SECOND = 760;
constexpr size_t MAX_SERVER_PACKET = 16382;
}  // namespace

ScriptedServer::ScriptedServer(Rng Chance, const ServerSettings& TheSettings, bool Malformed)
    : R(Chance), Settings(TheSettings), MalformedMode(Malformed) {
    Game = std::make_unique<ScriptedGame>(R.fork(), Settings, static_cast<Outbox&>(*this));
    for (int n = R.range(1, 4); n > 0; n--) Characters.push_back(R.name());
}

ScriptedServer::~ScriptedServer() = default;

std::string ScriptedServer::LastAction() const { return Last.empty() ? Game->LastAction() : Last; }

// ==== The connection ========================================================================

void ScriptedServer::Requested(NetworkEvent What) {
    switch (What) {
    case NetworkEvent::Lookup: LookupPending = true; break;
    case NetworkEvent::Connect: ConnectPending = true; break;
    default:
        // The client dropped its socket: what was on the way is lost, and a
        // player in the game leaves it.
        Held.clear();
        Due.clear();
        Inbox.clear();
        ConnectPending = false;
        if (Link != LinkState::None && Game->InGame()) Game->Leave();
        Link = LinkState::None;
        LoginLink = GameLink = false;
        break;
    }
}

bool ScriptedServer::Next(NetworkEvent& What, int& Code, std::vector<uint8_t>& Bytes) {
    if (Due.empty()) return false;
    Completion& C = Due.front();
    What = C.What;
    Code = C.Code;
    Bytes = std::move(C.Bytes);
    Due.pop_front();
    return true;
}

// What the client sends travels a while too: the server reads it at one of
// its next steps, so that its own messages may cross the client's (a
// container changed as the client closes it).
void ScriptedServer::Sent(const uint8_t* Bytes, size_t Count) {
    if (Link != LinkState::Open || Count < 3) return;
    Inbox.emplace_back(Bytes, Bytes + Count);
}

void ScriptedServer::Receive(const std::vector<uint8_t>& Packet) {
    const uint8_t* Bytes = Packet.data();
    const size_t Count = Packet.size();
    if (Link != LinkState::Open) return;
    const size_t Length = size_t(Bytes[0] | Bytes[1] << 8);
    try {
        if (Length + 2 != Count) throw ProtocolError("the length word says " + std::to_string(Length));
        InPacket P(Bytes + 2, int(Length));
        if (!LoginLink && !GameLink) {
            // The port tells the reference server which it is; here the first command does.
            if (Bytes[2] == 1)
                LoginLink = true;
            else if (Bytes[2] == 10)
                GameLink = true;
            else
                throw ProtocolError("command " + std::to_string(Bytes[2]) + " before any login");
            if (LoginLink) {
                LoginRequest(P);
                return;
            }
            GameLogin(P);
            return;
        }
        if (LoginLink) throw ProtocolError("a second packet to the login server");
        Game->Command(P);
    } catch (const ProtocolError& Error) {
        if (Fault.empty()) Fault = std::string("the client sent a packet the server refuses (command ") +
                                   std::to_string(Bytes[2]) + "): " + Error.what();
    }
}

void ScriptedServer::Send(const Message& Packet) {
    if (Link != LinkState::Open || Packet.empty()) return;
    SendRaw(wire::Packet(Packet));
}

void ScriptedServer::SendRaw(std::vector<uint8_t> Bytes) {
    if (Bytes.size() > MAX_SERVER_PACKET + 2 && !Malformed)
        throw std::logic_error("the scripted server built a packet of " + std::to_string(Bytes.size()) + " bytes");
    Held.push_back({NetworkEvent::Read, 0, std::move(Bytes)});
}

void ScriptedServer::Close() {
    if (Link != LinkState::Open) return;
    Held.push_back({NetworkEvent::Close, 0, {}});
    Link = LinkState::Closed;
}

void ScriptedServer::Hangup() {
    if (Game->InGame()) Game->Leave();
    Close();
    while (!Held.empty()) {
        Due.push_back(std::move(Held.front()));
        Held.pop_front();
    }
}

// Held answers go on their way in order, in pieces: what the server sent one
// after another may arrive in one read or cut anywhere.
void ScriptedServer::Release() {
    std::vector<uint8_t> Stream;
    auto Deliver = [&] {
        size_t At = 0;
        while (At < Stream.size()) {
            size_t Piece = Stream.size() - At;
            if (R.oneIn(6)) Piece = size_t(R.range(1, int(std::min<size_t>(Piece, 4000))));
            Due.push_back({NetworkEvent::Read, 0, std::vector<uint8_t>(Stream.begin() + long(At),
                                                                          Stream.begin() + long(At + Piece))});
            At += Piece;
        }
        Stream.clear();
    };
    int Count = R.oneIn(3) ? int(Held.size()) : R.range(0, int(Held.size()));
    while (Count-- > 0 && !Held.empty()) {
        Completion C = std::move(Held.front());
        Held.pop_front();
        if (C.What == NetworkEvent::Read) {
            Stream.insert(Stream.end(), C.Bytes.begin(), C.Bytes.end());
            continue;
        }
        Deliver();
        Due.push_back(std::move(C));
    }
    Deliver();
}

void ScriptedServer::Step(uint32_t Now) {
    Last.clear();
    if (LookupPending && R.percent(60)) {
        LookupPending = false;
        if (R.oneIn(40))
            Due.push_back({NetworkEvent::Lookup, ERROR_HOST_NOT_FOUND, {}});
        else
            Due.push_back({NetworkEvent::Lookup, 0, {'1', '2', '7', '.', '0', '.', '0', '.', '1'}});
    }
    if (ConnectPending && R.percent(60)) {
        ConnectPending = false;
        const int Code = R.oneIn(30) ? (R.oneIn(2) ? ERROR_REFUSED : ERROR_TIMEOUT) : 0;
        Due.push_back({NetworkEvent::Connect, Code, {}});
        if (Code == 0) Link = LinkState::Open;
    }
    while (!Inbox.empty() && R.percent(70)) {
        const std::vector<uint8_t> Packet = std::move(Inbox.front());
        Inbox.pop_front();
        Receive(Packet);
    }
    if (Link == LinkState::Open && Game->InGame()) {
        Game->Step(Now);
        if (MalformedMode && R.oneIn(400)) SendMalformed();
    }
    if (!Held.empty() && R.percent(70)) Release();
}

// A text for a message box. The workaround "long-dialog-text" keeps its
// lines short: a box wider than the window is drawn where it faults.
std::string ScriptedServer::DialogText(int MaxLength) {
    return Settings.Skip.count("long-dialog-text") ? R.lines(MaxLength, 30) : R.text(MaxLength);
}

// ==== The login server =====================================================================

void ScriptedServer::LoginRequest(InPacket& P) {
    P.getByte();
    const int First = P.getWord(), Second = P.getWord();
    for (int i = 0; i < 3; i++) P.getQuad();
    P.getQuad();
    P.getString(255);
    P.expectEnd();
    if (First != PROTOCOL_FIRST || Second != PROTOCOL_SECOND) throw ProtocolError("another protocol version");
    Message M;
    const int Answer = R.below(100);
    if (MalformedMode && R.oneIn(20)) {
        // A reply the login state does not know.
        M.addByte(R.range(41, 99)).addQuad(uint32_t(R.next()));
        Malformed = true;
        Last = "login: unknown reply";
    } else if (Answer < 8) {
        wire::LoginError(M, "Account number or password is not correct.");
        Last = "login: refused";
    } else if (Answer < 13) {
        wire::Overloaded(M);
        Last = "login: overloaded";
    } else if (Answer < 20) {
        Last = "login: closed without an answer";
    } else {
        if (R.oneIn(5)) wire::LoginInformation(M, DialogText(200));
        if (R.oneIn(3)) MotdNumber += 1;
        wire::MessageOfTheDay(M, MotdNumber, DialogText(300));
        std::vector<wire::ListedCharacter> List;
        if (!R.oneIn(20))
            for (const std::string& Name : Characters) List.push_back({Name, R.oneIn(3) ? R.name() : "Demoland"});
        static const int Premium[] = {0, 1, 2, 13, 14, 300, 65535};
        wire::CharacterList(M, List, Premium[R.below(7)]);
        Last = "login: character list";
    }
    Send(M);
    Close();
}

// ==== The game server's login ==============================================================

void ScriptedServer::GameLogin(InPacket& P) {
    P.getByte();
    const int First = P.getWord(), Second = P.getWord();
    P.getByte();
    P.getQuad();
    const std::string Name = P.getString(255);
    P.getString(255);
    P.expectEnd();
    if (First != PROTOCOL_FIRST || Second != PROTOCOL_SECOND) throw ProtocolError("another protocol version");
    Message M;
    const int Answer = R.below(100);
    if (Answer < 6) {
        wire::GameRefusal(M, "You are already logged in.");
        Send(M);
        Close();
        Last = "game login: refused";
    } else if (Answer < 12) {
        wire::WaitingList(M, "Too many players online.\nYou are at place 1 on the waiting list.", R.range(1, 20));
        Send(M);
        Close();
        Last = "game login: waiting list";
    } else if (Answer < 14) {
        Close();
        Last = "game login: closed";
    } else {
        if (Answer < 18) {
            wire::GameInformation(M, DialogText(100));
            Send(M);
        }
        Game->Enter(Name);
        Last = "game login: enter";
    }
}

// ==== Data no correct server sends ===========================================================

void ScriptedServer::SendMalformed() {
    Game->Flush();
    Message M;
    const server::Position Map = Game->Viewer().MapPos;
    std::vector<uint8_t> Raw;
    switch (R.below(12)) {
    case 0: {  // a command byte the game does not know
        static const int Unknown[] = {0, 1, 12, 31, 99, 115, 122, 128, 135, 146, 164, 182, 192, 201, 213, 255};
        M.addByte(Unknown[R.below(16)]);
        Last = "malformed: unknown command";
        break;
    }
    case 1: {  // a known command with its fields cut short
        static const int Known[] = {100, 105, 106, 107, 109, 110, 120, 125, 150, 160, 170, 171, 200, 210};
        M.addByte(Known[R.below(14)]);
        for (int n = R.range(0, 4); n > 0; n--) M.addByte(R.below(256));
        Last = "malformed: cut short";
        break;
    }
    case 2:  // container and body numbers beyond the tables
        switch (R.below(4)) {
        case 0: M.addByte(111).addByte(R.range(16, 255)); break;
        case 1: M.addByte(121).addByte(R.oneIn(2) ? 0 : R.range(11, 255)); break;
        case 2: M.addByte(114).addByte(R.below(16)).addByte(R.below(256)); break;
        default: M.addByte(112).addByte(R.below(16)).addWord(100); break;
        }
        Last = "malformed: numbers beyond the tables";
        break;
    case 3:  // a talk mode the server never sends
        M.addByte(170).addString("X").addByte(R.oneIn(2) ? 13 : R.range(18, 255)).addString("text");
        Last = "malformed: talk mode";
        break;
    case 4:  // floors beyond the world
        if (R.oneIn(2))
            M.addByte(100).addWord(Map.x).addWord(Map.y).addByte(R.range(16, 255));
        else
            M.addByte(Map.z == 0 ? 190 : 191);
        Last = "malformed: floors";
        break;
    case 5:  // a field far outside the client's map
        M.addByte(R.oneIn(2) ? 108 : 105).addWord(Map.x + R.range(20, 200)).addWord(Map.y).addByte(Map.z);
        if (M.bytes()[0] == 108) M.addByte(0);
        else M.addWord(0xFF00);
        Last = "malformed: field outside the map";
        break;
    case 6:  // moving the ground as if it were a creature
        M.addByte(109).addWord(Map.x).addWord(Map.y).addByte(Map.z).addByte(0).addWord(Map.x + 1).addWord(Map.y).addByte(Map.z);
        Last = "malformed: ground moved";
        break;
    case 7:  // a string longer than the packet
        M.addByte(180).addByte(18).addWord(R.range(100, 60000)).addByte('x');
        Last = "malformed: string past the end";
        break;
    case 8:  // bytes of no meaning
        for (int n = R.range(1, 300); n > 0; n--) M.addByte(R.below(256));
        Last = "malformed: noise";
        break;
    case 9:  // a packet of length 0 and one that can never fit
        Raw = {0, 0};
        if (R.oneIn(2)) Raw = {0xFF, 0xFF, 10, 0};
        Last = "malformed: packet length";
        break;
    case 10:  // a field of more things than it holds
        M.addByte(105).addWord(Map.x).addWord(Map.y).addByte(Map.z);
        for (int n = R.range(11, 30); n > 0; n--) M.addWord(100);
        M.addWord(0xFF00);
        Last = "malformed: overfull field";
        break;
    default:  // a trade offer too large, an unknown object type
        if (R.oneIn(2)) {
            M.addByte(125).addString("X").addByte(R.range(101, 255));
            for (int n = 0; n < 255; n++) M.addWord(100);
        } else {
            M.addByte(106).addWord(Map.x).addWord(Map.y).addByte(Map.z).addWord(R.range(221, 65535));
        }
        Last = "malformed: objects";
        break;
    }
    Malformed = true;
    if (!Raw.empty())
        SendRaw(Raw);
    else
        SendRaw(wire::Packet(M));
}

}  // namespace randomplayer
