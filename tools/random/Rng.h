// The random player's one source of chance: a small generator of its own
// (splitmix64), so that a seed gives the same run with any standard library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace randomplayer {

class Rng {
  public:
    explicit Rng(uint64_t Seed = 1) : State(Seed) {}
    uint64_t next() {
        uint64_t z = (State += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. Count-1 (0 when Count <= 0).
    int below(int Count) { return Count <= 0 ? 0 : int(next() % uint64_t(Count)); }
    // Min .. Max, both included.
    int range(int Min, int Max) { return Max <= Min ? Min : Min + below(Max - Min + 1); }
    bool oneIn(int Count) { return below(Count) == 0; }
    // True with Percent in 100.
    bool percent(int Percent) { return below(100) < Percent; }
    template <typename T>
    const T& pick(const std::vector<T>& Items) {
        return Items[size_t(below(int(Items.size())))];
    }
    // An index by weight; -1 when every weight is 0.
    int weighted(const std::vector<int>& Weights) {
        int Total = 0;
        for (int W : Weights) Total += W > 0 ? W : 0;
        if (Total == 0) return -1;
        int r = below(Total);
        for (size_t i = 0; i < Weights.size(); ++i) {
            if (Weights[i] <= 0) continue;
            if (r < Weights[i]) return int(i);
            r -= Weights[i];
        }
        return -1;
    }
    // A derived generator for one part of the run, so that parts do not
    // shift each other's numbers when one of them changes.
    Rng fork() { return Rng(next()); }
    // Words of letters, sometimes with digits, blanks, punctuation and
    // characters of the upper half of the code page.
    std::string text(int MaxLength);
    // The same, cut into lines of at most LineLength characters.
    std::string lines(int MaxLength, int LineLength);
    std::string name();

  private:
    uint64_t State;
};

}  // namespace randomplayer
