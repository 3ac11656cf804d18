// Speech and channels: say, whisper and yell with their reach, private
// messages to a player anywhere in the game, the gamemaster's broadcasts and
// messages, the public channels, each player's own channel with its guests,
// and the channel list that offers them (the request channel among them for
// a gamemaster; the requests themselves are Requests).
#pragma once

#include "server/Config.h"
#include "server/Creatures.h"
#include "server/Packet.h"

namespace server::talk {

// Public channels by id. The client greets channel 7 as its help channel.
inline constexpr int CHANNEL_GAME_CHAT = 1, CHANNEL_TRADE = 2, CHANNEL_HELP = 7;
// The players' own channels count from here.
inline constexpr int OWN_CHANNEL_FIRST = 100;

// A world without channels but the public ones: the game's own and those
// the operator adds. An added channel whose id is taken, by the game's
// channels, the own channels' range or an earlier added one, is left out
// with a warning in the log.
void ResetTalk(const std::vector<ChannelSetting>& Added = {});
// Commands 150 (talk), 151 to 154 and 170 to 172 (channels); the command
// byte has been read. Throws ProtocolError for a malformed command.
void Command(Player& P, int Command, InPacket& Packet);
// Leaves every channel; the player's own channel closes for its guests.
void PlayerLeaves(Player& P);

}  // namespace server::talk
