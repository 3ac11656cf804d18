#include "server/Chance.h"

#include <chrono>
#include <random>

namespace server::chance {

static std::mt19937 Generator(1);

uint32_t SeedChance(uint32_t Seed) {
    if (Seed == 0) {
        auto Ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        Seed = uint32_t(Ticks ^ (Ticks >> 32));
        if (Seed == 0) Seed = 1;
    }
    Generator.seed(Seed);
    return Seed;
}

int Roll(int Min, int Max) {
    if (Max <= Min) return Min;
    return Min + int(Generator() % uint32_t(Max - Min + 1));
}

bool Percent(int Chance) { return Roll(1, 100) <= Chance; }

}  // namespace server::chance
