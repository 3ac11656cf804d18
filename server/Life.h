// The player's life: hit points and mana that fall with damage and come
// back by themselves, experience and levels, skills trained by use, the
// magic level, soul points, and the conditions with their flags (poisoned,
// burning, magic shield, paralysed, hasted, in a fight, drunk, electrified).
#pragma once

#include "server/Creatures.h"

#include <cstdint>

namespace server::life {

// Condition flag bits as the client shows them, in its order of the icons.
enum ConditionBit : int {
    POISONED = 0, BURNING = 1, MAGIC_SHIELD = 2, PARALYSED = 3, HASTED = 4, IN_FIGHT = 5, DRUNK = 6, ELECTRIFIED = 7
};
// What hurts: a blow, or the damage of a condition.
enum DamageKind : int { PHYSICAL, POISON, FIRE, ENERGY };
// Skills 0..6.
enum Skill : int { FIST, CLUB, SWORD, AXE, DISTANCE, SHIELDING, FISHING };

// A condition that hurts ticks this often; the fight block lasts FIGHT_MS
// after the last blow given or taken.
inline constexpr int CONDITION_TICK_MS = 2000;
inline constexpr int FIGHT_MS = 60000;
inline constexpr int REGENERATION_MS = 3000;
// Soul points come back one at a time, outside fights, up to MAX_SOUL.
inline constexpr int MAX_SOUL = 100;
// For a condition that lasts as long as its source (a worn ring).
inline constexpr int64_t FOREVER = INT64_MAX / 2;

// Experience needed for a level.
uint32_t ExperienceForLevel(int Level);
// A level and its percent from the experience alone.
void LevelOf(uint32_t Experience, int& Level, int& Percent);

int ConditionFlags(const Player& P);
bool Has(const Player& P, int Bit);
// Sets a condition for DurationMs (or, for poison, fire and energy, for
// Ticks ticks of Damage each) and tells the client the new flags.
void SetCondition(Player& P, int Bit, int64_t DurationMs, int Ticks = 0, int Damage = 0);
void ClearCondition(Player& P, int Bit);
// Blows given or taken keep the player in a fight (no logout).
void Fought(Player& P);

// Damage to a player: the magic shield takes it from the mana first; shows
// the blood or the condition's effect, the number and the health to
// everyone who sees the player. At 0 hit points the player is dead.
void Hurt(Player& P, int Damage, int Kind);
void Heal(Player& P, int Points);

void GainExperience(Player& P, uint32_t Points);
// One use of a skill (a blow, a shot, a parry, a cast of the line).
void Train(Player& P, int Skill);
// Mana spent on runes trains the magic level.
void SpendMana(Player& P, int Mana);
void SpendSoul(Player& P, int Points);

// The player's walking speed with haste and paralysis; tells every viewer
// when it changed (creature speed).
void UpdateSpeed(Player& P);

// What death costs: a tenth of the experience with the levels it takes
// away; the character comes back whole.
void DeathPenalty(CharacterRecord& R);

void PlayerEntered(Player& P);
// Every beat: conditions that tick or end, regeneration.
void Tick();

}  // namespace server::life
