// Attack and follow targets of the players, a simple fight with the
// non-player creatures (they lose health and die, to come back later), and
// parties with their shields.
#pragma once

#include "server/Creatures.h"

#include <cstdint>

namespace server::fight {

// Party shields as a viewer sees them.
enum Shield : int { SHIELD_NONE = 0, SHIELD_HOST = 1, SHIELD_GUEST = 2, SHIELD_MEMBER = 3, SHIELD_LEADER = 4 };

// Blows of a player fall this often; a slain creature comes back after
// RESPAWN_MS at its place.
inline constexpr int BLOW_INTERVAL_MS = 2000;
inline constexpr int RESPAWN_MS = 60000;

void InitFight();
void PlayerLeaves(Player& P);
// The stop-all command: no attack or follow target any more.
void Cancel(Player& P);
// Commands 161 attack, 162 follow, 163 invite, 164 join, 165 revoke,
// 166 pass leadership, 167 leave party.
void Command(Player& P, int Command, uint32_t ID);
// Every beat: following and chasing, blows, creatures that come back.
void Tick();
// The party shield of C as the viewer sees it.
int ShieldFor(const Player& Viewer, const Creature& C);

}  // namespace server::fight
