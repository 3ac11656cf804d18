// Sections: state; the request channel; a request's way from submitting to
// closing; commands and leaving.
#include "server/Requests.h"

#include "server/Accounts.h"
#include "server/GameLocal.h"
#include "server/Log.h"

#include <algorithm>
#include <vector>

namespace server::requests {

using namespace game;

static constexpr int MAX_NAME_LENGTH = 255;

// ---- State ---------------------------------------------------------------------------

namespace {
struct Request {
    uint32_t Player = 0;  // the one who asks
    std::string Name;     // the asker's name as the game spells it
    std::string Text;
    int64_t Since = 0;     // server clock at submitting
    uint32_t Handler = 0;  // the gamemaster answering it, 0 while it waits
    // What the asker added before anyone took the request; the gamemaster
    // gets it when processing.
    std::vector<std::string> Added;
};
}  // namespace

// In the order they came.
static std::vector<Request> Requests;
// Gamemasters with the request channel open.
static std::vector<uint32_t> Viewers;

void ResetRequests() {
    Requests.clear();
    Viewers.clear();
}

static Request* RequestOf(uint32_t Player) {
    for (Request& R : Requests)
        if (R.Player == Player) return &R;
    return nullptr;
}

static Request* RequestByName(const std::string& Name) {
    for (Request& R : Requests)
        if (SameName(R.Name, Name)) return &R;
    return nullptr;
}

static void Forget(const Request& R) {
    std::erase_if(Requests, [&](const Request& Each) { return &Each == &R; });
}

// ---- The request channel -------------------------------------------------------------

// The number that comes with a request is its age in seconds: the channel
// shows it at the time it was made, also to a gamemaster who opens the
// channel later.
static void AddRequestLine(Message& M, const Request& R) {
    const int64_t Age = std::max<int64_t>(0, (Now() - R.Since) / 1000);
    M.addByte(170).addString(R.Name).addByte(TALK_GAMEMASTER_REQUEST).addQuad(uint32_t(Age)).addString(R.Text);
}

static void ToViewers(const Message& M) {
    for (uint32_t ID : Viewers)
        if (Player* G = FindPlayer(ID)) Send(*G, M);
}

// 175: the request is gone from every open request channel.
static void RemoveFromChannel(const Request& R) {
    Message M;
    M.addByte(175).addString(R.Name);
    ToViewers(M);
}

void OpenChannel(Player& G) {
    if (std::find(Viewers.begin(), Viewers.end(), G.Body->ID) == Viewers.end()) Viewers.push_back(G.Body->ID);
    Message M;
    M.addByte(174).addWord(REQUEST_CHANNEL);
    for (const Request& R : Requests)
        if (R.Handler == 0) AddRequestLine(M, R);
    Send(G, M);
}

void LeaveChannel(Player& G) { std::erase(Viewers, G.Body->ID); }

// ---- From submitting to closing ----------------------------------------------------------

void Submit(Player& P, const std::string& Text) {
    if (RequestOf(P.Body->ID) != nullptr) {
        TextMessage(P, MESSAGE_STATUS, "You have already submitted a request. Please be patient.");
        return;
    }
    Requests.push_back({P.Body->ID, P.Body->Name, Text, Now(), 0, {}});
    Message M;
    AddRequestLine(M, Requests.back());
    ToViewers(M);
    serverlog::Info("requests", "%s asks: %s", P.Body->Name.c_str(), Text.c_str());
}

void PlayerAnswer(Player& P, const std::string& Text) {
    Request* R = RequestOf(P.Body->ID);
    if (R == nullptr) {
        TextMessage(P, MESSAGE_STATUS, "You have no open request.");
        return;
    }
    Player* G = FindPlayer(R->Handler);
    if (G == nullptr) {
        R->Added.push_back(Text);
        return;
    }
    Message M;
    M.addByte(170).addString(P.Body->Name).addByte(TALK_PLAYER_ANSWER).addString(Text);
    Send(*G, M);
}

void GamemasterAnswer(Player& G, const std::string& Addressee, const std::string& Text) {
    Request* R = RequestByName(Addressee);
    Player* To = R != nullptr && R->Handler == G.Body->ID ? FindPlayer(R->Player) : nullptr;
    if (To == nullptr) {
        TextMessage(G, MESSAGE_STATUS, "You are not answering a request of this player.");
        return;
    }
    Message M;
    M.addByte(170).addString(G.Body->Name).addByte(TALK_GAMEMASTER_ANSWER).addString(Text);
    Send(*To, M);
}

// The gamemaster takes a waiting request: it leaves every request channel,
// and what the asker added meanwhile follows as the asker's answers.
static void Process(Player& G, const std::string& Name) {
    if (!G.Record->Gamemaster) return;
    Request* R = RequestByName(Name);
    if (R == nullptr || (R->Handler != 0 && R->Handler != G.Body->ID)) {
        TextMessage(G, MESSAGE_STATUS, "This request is no longer waiting.");
        return;
    }
    if (R->Handler == G.Body->ID) return;
    R->Handler = G.Body->ID;
    RemoveFromChannel(*R);
    Message M;
    for (const std::string& Text : R->Added)
        M.addByte(170).addString(R->Name).addByte(TALK_PLAYER_ANSWER).addString(Text);
    R->Added.clear();
    if (!M.empty()) Send(G, M);
    serverlog::Info("requests", "%s answers the request of %s", G.Body->Name.c_str(), R->Name.c_str());
}

// 177 tells the asker; a waiting request also leaves the request channels.
static void CloseRequest(const Request& R) {
    if (R.Handler == 0) RemoveFromChannel(R);
    if (Player* Asker = FindPlayer(R.Player)) {
        Message M;
        M.addByte(177);
        Send(*Asker, M);
    }
    Forget(R);
}

// A gamemaster closes the request he answers, or removes a waiting one.
static void Close(Player& G, const std::string& Name) {
    Request* R = RequestByName(Name);
    if (R == nullptr || !G.Record->Gamemaster || (R->Handler != 0 && R->Handler != G.Body->ID)) return;
    serverlog::Info("requests", "%s closes the request of %s", G.Body->Name.c_str(), R->Name.c_str());
    CloseRequest(*R);
}

// The asker takes the request back: the channels or the gamemaster
// answering it (176) are told.
static void Cancel(Player& P) {
    Request* R = RequestOf(P.Body->ID);
    if (R == nullptr) return;
    if (R->Handler == 0) {
        RemoveFromChannel(*R);
    } else if (Player* G = FindPlayer(R->Handler)) {
        Message M;
        M.addByte(176).addString(R->Name);
        Send(*G, M);
    }
    Forget(*R);
}

// ---- Commands and leaving -------------------------------------------------------------------

void Command(Player& P, int Command, InPacket& Packet) {
    switch (Command) {
        case 155:
        case 156: {
            const std::string Name = Packet.getString(MAX_NAME_LENGTH);
            Packet.expectEnd();
            if (Command == 155) Process(P, Name);
            else Close(P, Name);
            return;
        }
        case 157:
            Packet.expectEnd();
            Cancel(P);
            return;
        default: throw ProtocolError("not a request command: " + std::to_string(Command));
    }
}

void PlayerLeaves(Player& P) {
    const uint32_t Me = P.Body->ID;
    Cancel(P);
    LeaveChannel(P);
    for (;;) {
        auto It = std::find_if(Requests.begin(), Requests.end(), [&](const Request& R) { return R.Handler == Me; });
        if (It == Requests.end()) break;
        CloseRequest(*It);
    }
}

}  // namespace server::requests
