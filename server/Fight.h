// Attack and follow targets of the players, a simple fight with the
// non-player creatures (they lose health and die, to come back later), and
// parties with their shields.
#pragma once

#include "server/Creatures.h"
#include "server/Game.h"

#include <cstdint>
#include <vector>

namespace server::fight {

// Party shields as a viewer sees them.
enum Shield : int { SHIELD_NONE = 0, SHIELD_HOST = 1, SHIELD_GUEST = 2, SHIELD_MEMBER = 3, SHIELD_LEADER = 4 };

// Blows of a player fall this often; a slain creature comes back after
// RESPAWN_MS at its place.
inline constexpr int BLOW_INTERVAL_MS = 2000;
inline constexpr int RESPAWN_MS = 60000;

// What a kind of creature is like in a fight, by its outfit.
struct Kind {
    int HitPoints = 80;
    int Experience = 50;
    int MinDamage = 0, MaxDamage = 0;  // 0 and 0: it never fights
    int Range = 1;                     // above 1: shoots missiles that far
    int Missile = 0;
    int DamageKind = 0;                // life::DamageKind of its blows
    bool Aggressive = false;           // attacks players who come near, else only those who attack it
    int FleePercent = 0;               // runs away below this share of its hit points
    int Condition = -1;                // life::ConditionBit its blows cause
    int ConditionTicks = 0, ConditionDamage = 0, ConditionMs = 0;
    int LightLevel = 0, LightColour = 0;
    int Loot = 0;                      // gold coins in its corpse, up to
};
const Kind& KindOf(int Outfit);

using Arena = game::ArenaArea;
// Players who come this close are noticed by an aggressive creature.
inline constexpr int NOTICE_RANGE = 4;
// Corpses lie with their blood for BLOOD_MS, then alone until CORPSE_MS.
inline constexpr int BLOOD_MS = 20000, CORPSE_MS = 60000;
// A player who attacks another keeps the skull this long.
inline constexpr int SKULL_MS = 60000;
inline constexpr int SKULL_NONE = 0, SKULL_WHITE = 3, SKULL_RED = 4;

void InitFight(const std::vector<Arena>& Arenas);
bool InArena(const Position& Pos);
// Players fight each other only inside an arena; the world's people (the
// creatures dressed as characters) are never fought.
bool MayAttack(const Player& P, const Creature& C);
// A body (of a creature or player) and its blood on the field; both decay.
void LeaveCorpse(const Position& Where, int CorpseType, std::vector<Object> Contents);
void PlayerLeaves(Player& P);
// The stop-all command: no attack or follow target any more.
void Cancel(Player& P);
// Commands 161 attack, 162 follow, 163 invite, 164 join, 165 revoke,
// 166 pass leadership, 167 leave party.
void Command(Player& P, int Command, uint32_t ID);
// Damage a player does to a creature (blow, shot or rune): it fights back,
// dies into a corpse and gives its experience; a player in an arena is hurt.
void Strike(Player& P, Creature& Target, int Damage, int Kind);
// Every beat: following and chasing, blows, creatures that come back.
void Tick();
// The party shield of C as the viewer sees it.
int ShieldFor(const Player& Viewer, const Creature& C);

}  // namespace server::fight
