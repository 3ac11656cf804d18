// The random player's server: both the login server and the game server of
// the reference server, played in the client's own process through the
// connection layer's script seam (platform/Recording.h). It answers look-ups
// and connects, reads every packet the client sends as the reference server
// would (a packet it would refuse is a fault of the client), answers with
// some delay, hands bytes over in pieces of any size, and closes connections
// as the reference server does. In the malformed mode it also sends data no
// correct server sends.
#pragma once

#include "Rng.h"
#include "ScriptedGame.h"

#include "platform/Recording.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace randomplayer {

class ScriptedServer final : public platform::NetworkScript, private Outbox {
  public:
    ScriptedServer(Rng Chance, const ServerSettings& Settings, bool Malformed);
    ~ScriptedServer() override;

    // platform::NetworkScript
    void Requested(platform::recording::NetworkEvent What) override;
    bool Next(platform::recording::NetworkEvent& What, int& Code, std::vector<uint8_t>& Bytes) override;
    void Sent(const uint8_t* Bytes, size_t Count) override;

    // Between two passes of the client (Now: its clock): answers that are
    // due, and in the game whatever the world does.
    void Step(uint32_t Now);
    // Ends the connection from the server's side, as a server going down.
    void Hangup();

    bool InGame() const { return Game->InGame(); }
    bool Connected() const { return Link != LinkState::None; }
    // The first client packet the reference server would refuse; empty while none.
    const std::string& ClientFault() const { return Fault; }
    // Whether data no correct server sends has been handed over.
    bool SentMalformed() const { return Malformed; }
    // What the server did last, for a finding's report.
    std::string LastAction() const;

  private:
    enum class LinkState { None, Open, Closed };
    struct Completion {
        platform::recording::NetworkEvent What;
        int Code = 0;
        std::vector<uint8_t> Bytes;
    };

    // Outbox: one packet, or the end of the connection after what was sent.
    void Send(const server::Message& Packet) override;
    void Close() override;
    void SendRaw(std::vector<uint8_t> Bytes);
    void Receive(const std::vector<uint8_t>& Packet);
    void LoginRequest(server::InPacket& P);
    void GameLogin(server::InPacket& P);
    void Release();
    void SendMalformed();
    std::string DialogText(int MaxLength);

    Rng R;
    ServerSettings Settings;
    bool MalformedMode;
    std::unique_ptr<ScriptedGame> Game;
    LinkState Link = LinkState::None;
    bool LoginLink = false, GameLink = false;
    bool LookupPending = false, ConnectPending = false;
    std::deque<Completion> Held;  // sent by the server, not yet on the way
    std::deque<Completion> Due;   // handed to the client at its next look
    std::deque<std::vector<uint8_t>> Inbox;  // sent by the client, not yet read
    std::string Fault;
    bool Malformed = false;
    std::string Last;
    int MotdNumber = 1;
    std::vector<std::string> Characters;
};

}  // namespace randomplayer
