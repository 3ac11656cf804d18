// Sections: reach of speech; channels (list, joining and leaving, own
// channels, channel talk); the talk command by mode; commands.
#include "server/Talk.h"

#include "server/Accounts.h"
#include "server/GameLocal.h"
#include "server/GameMessages.h"
#include "server/Log.h"
#include "server/Npcs.h"
#include "server/Requests.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <vector>

namespace server::talk {

using namespace game;
using messages::CanSee;

static constexpr int MAX_TALK_LENGTH = 1024;
static constexpr int MAX_NAME_LENGTH = 255;
// A yell carries twice as far as a client's view reaches on the same floor.
static constexpr int YELL_RANGE_X = 18, YELL_RANGE_Y = 14;

// ---- Reach of speech -------------------------------------------------------------

static bool OnSameFloorInView(const Player& Listener, const Position& From) {
    return Listener.Body->Pos.z == From.z && CanSee(Listener.MapPos, From);
}

static bool HearsYell(const Player& Listener, const Position& From) {
    const Position& L = Listener.Body->Pos;
    if (CanSee(Listener.MapPos, From)) return true;
    return L.z == From.z && std::abs(L.x - From.x) <= YELL_RANGE_X && std::abs(L.y - From.y) <= YELL_RANGE_Y;
}

// Say and whisper reach whoever sees the speaker on the same floor, but the
// words of a whisper only those next to the speaker; a yell goes further,
// in capitals.
static void Speak(Player& P, int Mode, const std::string& Text) {
    const Creature& C = *P.Body;
    std::string Loud = Text;
    for (char& c : Loud) c = char(std::toupper(static_cast<unsigned char>(c)));
    static const std::string Whispering = "pspsps";
    for (auto& [ID, Listener] : AllPlayers()) {
        const Position& L = Listener->Body->Pos;
        const std::string* Heard = &Text;
        if (Mode == TALK_YELL) {
            if (!HearsYell(*Listener, C.Pos)) continue;
            Heard = &Loud;
        } else {
            if (!OnSameFloorInView(*Listener, C.Pos)) continue;
            if (Mode == TALK_WHISPER && (std::abs(L.x - C.Pos.x) > 1 || std::abs(L.y - C.Pos.y) > 1)) Heard = &Whispering;
        }
        Message M;
        M.addByte(170).addString(C.Name).addByte(Mode).addPosition(C.Pos).addString(*Heard);
        Send(*Listener, M);
    }
}

// ---- Channels ------------------------------------------------------------------------

// Public channels everyone may join, the players' own channels, which only
// invited players may join, and the request channel, which only gamemasters
// see (its members are kept by Requests).
namespace {
struct Channel {
    int ID = 0;
    std::string Name;
    uint32_t Owner = 0;  // 0 for a public channel
    bool Gamemasters = false;
    std::vector<uint32_t> Members;
    std::vector<uint32_t> Invited;
};
}  // namespace

static std::map<int, Channel> Channels;

void ResetTalk(const std::vector<ChannelSetting>& Added) {
    Channels.clear();
    Channels[CHANNEL_GAME_CHAT] = {CHANNEL_GAME_CHAT, "Game Chat", 0, false, {}, {}};
    Channels[CHANNEL_TRADE] = {CHANNEL_TRADE, "Trade", 0, false, {}, {}};
    Channels[requests::REQUEST_CHANNEL] = {requests::REQUEST_CHANNEL, requests::REQUEST_CHANNEL_NAME, 0, true, {}, {}};
    Channels[CHANNEL_HELP] = {CHANNEL_HELP, "Help", 0, false, {}, {}};
    for (const ChannelSetting& A : Added) {
        if (A.ID >= OWN_CHANNEL_FIRST || Channels.count(A.ID)) {
            serverlog::Warning("talk", "channel %d \"%s\" left out: %s", A.ID, A.Name.c_str(),
                               A.ID >= OWN_CHANNEL_FIRST ? "the ids of the players' own channels start at 100"
                                                         : "the id is taken");
            continue;
        }
        Channels[A.ID] = {A.ID, A.Name, 0, false, {}, {}};
        serverlog::Info("talk", "channel %d \"%s\" added", A.ID, A.Name.c_str());
    }
}

static bool Contains(const std::vector<uint32_t>& List, uint32_t ID) {
    return std::find(List.begin(), List.end(), ID) != List.end();
}

static bool MayJoin(const Player& P, const Channel& C) {
    const uint32_t Me = P.Body->ID;
    if (C.Gamemasters) return P.Record->Gamemaster;
    return C.Owner == 0 || C.Owner == Me || Contains(C.Invited, Me);
}

static Channel* OwnChannel(uint32_t Owner) {
    for (auto& [ID, C] : Channels)
        if (C.Owner == Owner) return &C;
    return nullptr;
}

static void SendChannelList(Player& P) {
    std::vector<const Channel*> Open;
    for (auto& [ID, C] : Channels)
        if (MayJoin(P, C)) Open.push_back(&C);
    // The count is one byte; the public channels come first in the map.
    if (Open.size() > 255) Open.resize(255);
    Message M;
    M.addByte(171).addByte(int(Open.size()));
    for (const Channel* C : Open) M.addWord(C->ID).addString(C->Name);
    Send(P, M);
}

static void JoinChannel(Player& P, int ID) {
    auto It = Channels.find(ID);
    if (It == Channels.end() || !MayJoin(P, It->second)) {
        TextMessage(P, MESSAGE_STATUS, "You may not join this channel.");
        return;
    }
    Channel& C = It->second;
    if (C.Gamemasters) {
        requests::OpenChannel(P);
        return;
    }
    if (!Contains(C.Members, P.Body->ID)) C.Members.push_back(P.Body->ID);
    Message M;
    M.addByte(172).addWord(ID).addString(C.Name);
    Send(P, M);
}

// The guests of a closing own channel are told; then it is gone.
static void CloseOwnChannel(Channel& C) {
    for (uint32_t Member : C.Members) {
        Player* Guest = FindPlayer(Member);
        if (Guest == nullptr || Member == C.Owner) continue;
        Message M;
        M.addByte(179).addWord(C.ID);
        Send(*Guest, M);
    }
    serverlog::Debug("talk", "%s closed", C.Name.c_str());
    Channels.erase(C.ID);
}

// The owner leaving the own channel closes it.
static void LeaveChannel(Player& P, int ID) {
    auto It = Channels.find(ID);
    if (It == Channels.end()) return;
    if (It->second.Gamemasters) requests::LeaveChannel(P);
    else if (It->second.Owner == P.Body->ID) CloseOwnChannel(It->second);
    else std::erase(It->second.Members, P.Body->ID);
}

static void CreateOwnChannel(Player& P) {
    Channel* C = OwnChannel(P.Body->ID);
    if (C == nullptr) {
        int ID = OWN_CHANNEL_FIRST;
        while (Channels.count(ID)) ID++;
        Channels[ID] = {ID, P.Body->Name + "'s Channel", P.Body->ID, false, {P.Body->ID}, {}};
        C = &Channels[ID];
    }
    Message M;
    M.addByte(178).addWord(C->ID).addString(C->Name);
    Send(P, M);
}

static void InviteOrExclude(Player& P, const std::string& Name, bool Invite) {
    Channel* C = OwnChannel(P.Body->ID);
    if (C == nullptr) {
        TextMessage(P, MESSAGE_STATUS, "You have no private chat channel.");
        return;
    }
    const CharacterRecord* Other = accounts::FindCharacter(Name);
    if (Other == nullptr || Other->ID == P.Body->ID) {
        TextMessage(P, MESSAGE_STATUS, "A player with this name does not exist.");
        return;
    }
    Player* Online = FindPlayer(Other->ID);
    if (Invite) {
        if (!Contains(C->Invited, Other->ID)) C->Invited.push_back(Other->ID);
        TextMessage(P, MESSAGE_STATUS, Other->Name + " has been invited.");
        if (Online != nullptr) TextMessage(*Online, MESSAGE_INFO, P.Body->Name + " invites you to the private chat channel.");
    } else {
        std::erase(C->Invited, Other->ID);
        const bool WasMember = Contains(C->Members, Other->ID);
        std::erase(C->Members, Other->ID);
        TextMessage(P, MESSAGE_STATUS, Other->Name + " has been excluded.");
        if (WasMember && Online != nullptr) {
            Message M;
            M.addByte(179).addWord(C->ID);
            Send(*Online, M);
        }
    }
}

// Every member hears it, the speaker too: the client shows channel talk
// only as the server sends it back. The anonymous form names no speaker.
static void ChannelTalk(Player& P, int Mode, int ID, const std::string& Text) {
    auto It = Channels.find(ID);
    if (It == Channels.end() || !Contains(It->second.Members, P.Body->ID)) {
        TextMessage(P, MESSAGE_STATUS, "You are not in this channel.");
        return;
    }
    const std::string Speaker = Mode == TALK_ANONYMOUS_CHANNELCALL ? "" : P.Body->Name;
    for (uint32_t Member : It->second.Members) {
        Player* Listener = FindPlayer(Member);
        if (Listener == nullptr) continue;
        Message M;
        M.addByte(170).addString(Speaker).addByte(Mode).addWord(ID).addString(Text);
        Send(*Listener, M);
    }
}

void PlayerLeaves(Player& P) {
    const uint32_t Me = P.Body->ID;
    if (Channel* Own = OwnChannel(Me)) CloseOwnChannel(*Own);
    for (auto& [ID, C] : Channels) std::erase(C.Members, Me);
}

// ---- The talk command by mode -------------------------------------------------------------

// A message to one player anywhere in the game; the sender's client shows
// its own copy, so none goes back.
static void MessageTo(Player& P, int Mode, const std::string& Addressee, const std::string& Text) {
    Player* To = FindPlayerByName(Addressee);
    if (To == nullptr) {
        TextMessage(P, MESSAGE_STATUS, "A player with this name is not online.");
        return;
    }
    if (To == &P) return;
    Message M;
    if (Mode == TALK_ANONYMOUS_MESSAGE) M.addByte(180).addByte(MESSAGE_ADMIN).addString(Text);
    else M.addByte(170).addString(P.Body->Name).addByte(Mode).addString(Text);
    Send(*To, M);
    TextMessage(P, MESSAGE_STATUS, "Message sent to " + To->Body->Name + ".");
}

// To everyone in the game; the anonymous form as an administrator's message.
static void Broadcast(Player& P, int Mode, const std::string& Text) {
    Message M;
    if (Mode == TALK_ANONYMOUS_BROADCAST) M.addByte(180).addByte(MESSAGE_ADMIN).addString(Text);
    else M.addByte(170).addString(P.Body->Name).addByte(TALK_GAMEMASTER_BROADCAST).addString(Text);
    for (auto& [ID, Listener] : AllPlayers()) Send(*Listener, M);
    serverlog::Info("talk", "%s broadcasts: %s", P.Body->Name.c_str(), Text.c_str());
}

static void HandleTalk(Player& P, InPacket& Packet) {
    const int Mode = Packet.getByte();
    std::string Addressee, Text;
    int ChannelID = -1;
    switch (Mode) {
        case TALK_SAY: case TALK_WHISPER: case TALK_YELL: case TALK_GAMEMASTER_REQUEST: case TALK_PLAYER_ANSWER:
        case TALK_GAMEMASTER_BROADCAST: case TALK_ANONYMOUS_BROADCAST:
            Text = Packet.getString(MAX_TALK_LENGTH);
            break;
        case TALK_PRIVATE_MESSAGE: case TALK_GAMEMASTER_ANSWER: case TALK_GAMEMASTER_MESSAGE:
        case TALK_ANONYMOUS_MESSAGE:
            Addressee = Packet.getString(MAX_TALK_LENGTH);
            Text = Packet.getString(MAX_TALK_LENGTH);
            break;
        case TALK_CHANNEL_CALL: case TALK_GAMEMASTER_CHANNELCALL: case TALK_ANONYMOUS_CHANNELCALL:
            ChannelID = Packet.getWord();
            Text = Packet.getString(MAX_TALK_LENGTH);
            break;
        default: throw ProtocolError("talk mode " + std::to_string(Mode));
    }
    Packet.expectEnd();
    if (Text.empty()) return;
    const bool Gamemaster = P.Record->Gamemaster;
    switch (Mode) {
        case TALK_SAY: case TALK_WHISPER: case TALK_YELL:
            Speak(P, Mode, Text);
            if (Mode != TALK_YELL) npcs::Hear(P, Text);
            return;
        case TALK_PRIVATE_MESSAGE: MessageTo(P, Mode, Addressee, Text); return;
        case TALK_CHANNEL_CALL: ChannelTalk(P, Mode, ChannelID, Text); return;
        case TALK_GAMEMASTER_REQUEST: requests::Submit(P, Text); return;
        case TALK_PLAYER_ANSWER: requests::PlayerAnswer(P, Text); return;
        case TALK_GAMEMASTER_ANSWER: requests::GamemasterAnswer(P, Addressee, Text); return;
        default: break;
    }
    if (!Gamemaster) {
        TextMessage(P, MESSAGE_STATUS, "You may not talk that way.");
        return;
    }
    switch (Mode) {
        case TALK_GAMEMASTER_BROADCAST: case TALK_ANONYMOUS_BROADCAST: Broadcast(P, Mode, Text); return;
        case TALK_GAMEMASTER_MESSAGE: case TALK_ANONYMOUS_MESSAGE: MessageTo(P, Mode, Addressee, Text); return;
        default: ChannelTalk(P, Mode, ChannelID, Text); return;
    }
}

// ---- Commands ----------------------------------------------------------------------------------

void Command(Player& P, int Command, InPacket& Packet) {
    switch (Command) {
        case 150: HandleTalk(P, Packet); return;
        case 151:
            Packet.expectEnd();
            SendChannelList(P);
            return;
        case 152:
        case 153: {
            const int ID = Packet.getWord();
            Packet.expectEnd();
            if (Command == 152) JoinChannel(P, ID);
            else LeaveChannel(P, ID);
            return;
        }
        case 154: {  // a tab for private messages with a player
            const std::string Name = Packet.getString(MAX_NAME_LENGTH);
            Packet.expectEnd();
            const CharacterRecord* Other = accounts::FindCharacter(Name);
            if (Other == nullptr) {
                TextMessage(P, MESSAGE_STATUS, "A player with this name does not exist.");
                return;
            }
            Message M;
            M.addByte(173).addString(Other->Name);
            Send(P, M);
            return;
        }
        case 170:
            Packet.expectEnd();
            CreateOwnChannel(P);
            return;
        case 171:
        case 172: {
            const std::string Name = Packet.getString(MAX_NAME_LENGTH);
            Packet.expectEnd();
            InviteOrExclude(P, Name, Command == 171);
            return;
        }
        default: throw ProtocolError("not a talk command: " + std::to_string(Command));
    }
}

}  // namespace server::talk
