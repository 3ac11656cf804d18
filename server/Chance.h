// The game's random numbers: one generator for wandering, blows, damage and
// loot. It starts from the clock unless a seed is given (--seed), so that a
// test can play the same run twice.
#pragma once

#include <cstdint>

namespace server::chance {

// Seed 0 takes the clock; returns the seed in use.
uint32_t SeedChance(uint32_t Seed);
// A whole number from Min to Max, both included.
int Roll(int Min, int Max);
// True with the given percent.
bool Percent(int Chance);

}  // namespace server::chance
