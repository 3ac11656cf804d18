// Rule-violation requests. A player's request waits in the request channel,
// which only gamemasters may open, until one of them processes it; from then
// on the two talk with each other (gamemaster answers one way, player
// answers the other) until the gamemaster closes the request or the player
// cancels it. A request leaves the channel the moment someone processes it.
#pragma once

#include "server/Creatures.h"
#include "server/Packet.h"

#include <string>

namespace server::requests {

// The request channel's id in the channel list.
inline constexpr int REQUEST_CHANNEL = 3;
inline constexpr const char* REQUEST_CHANNEL_NAME = "Rule Violations";

void ResetRequests();

// A gamemaster opens (174, then every waiting request) or leaves the
// request channel.
void OpenChannel(Player& G);
void LeaveChannel(Player& G);

// Talk modes 6 (a new request), 8 (the player's answer) and 7 (the
// gamemaster's answer to Addressee).
void Submit(Player& P, const std::string& Text);
void PlayerAnswer(Player& P, const std::string& Text);
void GamemasterAnswer(Player& G, const std::string& Addressee, const std::string& Text);

// Commands 155 (process), 156 (close) and 157 (cancel); the command byte
// has been read. Throws ProtocolError for a malformed command.
void Command(Player& P, int Command, InPacket& Packet);

// The player's own request is cancelled, the requests the player was
// answering are closed, and the request channel is left.
void PlayerLeaves(Player& P);

}  // namespace server::requests
