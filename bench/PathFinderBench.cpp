// The path finder's worst cases: the destination at the far corner of the
// search window, over open land with uneven costs and through a maze that
// forces the search over nearly every field.
#include "BenchWorld.h"
#include "world/Automap.h"
#include "world/Map.h"
#include "world/PathFinder.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int SX = 1000, SY = 1000;

// Areas 3..4 x 3..4 hold the whole window around (1000, 1000).
void WriteAreas(int z, bool Maze) {
    uint32_t Seed = 12345;
    for (int bx = 3; bx <= 4; bx++)
        for (int by = 3; by <= 4; by++) {
            std::string Colour(65536, 0), Speed(65536, 0);
            for (int i = 0; i < 256; i++)
                for (int j = 0; j < 256; j++) {
                    int x = bx * 256 + i, y = by * 256 + j;
                    Seed = Seed * 1103515245u + 12345u;
                    int Cost = 50 + int((Seed >> 16) % 201);  // 50..250
                    if (Maze) {
                        // walls on every other row with one gap, alternating ends: a serpentine
                        int Row = y - (SY - 110);
                        if (Row % 2 == 1) {
                            int Gap = (Row / 2) % 2 == 0 ? SX + 110 : SX - 110;
                            if (x != Gap) Cost = 255;
                        }
                    }
                    Speed[GetAutomapIndex(x, y)] = char(Cost);
                }
            benchworld::WriteBytes(GetAutomapFileName(bx, by, z), Colour + Speed);
        }
}

void SetUpOnce() {
    static bool Done = false;
    if (Done) return;
    Done = true;
    benchworld::EnterTempDir();
    WriteAreas(7, false);
    WriteAreas(8, true);
    InitAutomap();
}

void BM_PathOpenLand(benchmark::State& State) {
    SetUpOnce();
    int Steps[PATH_MAX_STEPS], Count = 0, Result = 0;
    for (auto _ : State) {
        Result = FindPath(SX, SY, 7, SX + 110, SY + 110, 7, false, false, Steps, Count);
        benchmark::DoNotOptimize(Result);
    }
    State.counters["result"] = Result;
}
BENCHMARK(BM_PathOpenLand)->Unit(benchmark::kMicrosecond);

void BM_PathOpenLandNear(benchmark::State& State) {
    SetUpOnce();
    int Steps[PATH_MAX_STEPS], Count = 0, Result = 0;
    for (auto _ : State) {
        Result = FindPath(SX, SY, 7, SX + 7, SY - 5, 7, false, false, Steps, Count);
        benchmark::DoNotOptimize(Result);
    }
    State.counters["result"] = Result;
}
BENCHMARK(BM_PathOpenLandNear)->Unit(benchmark::kMicrosecond);

void BM_PathMaze(benchmark::State& State) {
    SetUpOnce();
    int Steps[PATH_MAX_STEPS], Count = 0, Result = 0;
    for (auto _ : State) {
        Result = FindPath(SX, SY, 8, SX - 110, SY + 110, 8, false, false, Steps, Count);
        benchmark::DoNotOptimize(Result);
    }
    State.counters["result"] = Result;
}
BENCHMARK(BM_PathMaze)->Unit(benchmark::kMicrosecond);

void BM_PathMazeOntoWall(benchmark::State& State) {
    SetUpOnce();
    int Steps[PATH_MAX_STEPS], Count = 0, Result = 0;
    for (auto _ : State) {
        // the destination is a wall field near the top edge, ending on it is allowed
        Result = FindPath(SX, SY, 8, SX, SY - 109, 8, true, false, Steps, Count);
        benchmark::DoNotOptimize(Result);
    }
    State.counters["result"] = Result;
}
BENCHMARK(BM_PathMazeOntoWall)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
