// Map cube maintenance: scrolling by one column touches only that column's
// 112 fields; a full refill writes all 2016.
#include "BenchWorld.h"
#include "world/Map.h"
#include "world/Objects.h"

#include <benchmark/benchmark.h>

namespace {

void SetUpOnce() {
    static bool Done = false;
    if (Done) return;
    Done = true;
    benchworld::EnterTempDir();
    benchworld::WriteObjects("Vorna.dat");
    LoadObjects("Vorna.dat");
    InitMap(nullptr);
    SetMapPosition(1000, 1000, 7);
}

void FillColumn(int rx) {
    for (int rz = 0; rz < MAPSIZE_Z; rz++)
        for (int ry = 0; ry < MAPSIZE_Y; ry++) {
            AppendFieldObject(rx, ry, rz, 100, 0);
            AppendFieldObject(rx, ry, rz, 103, 0);
            AppendFieldObject(rx, ry, rz, 101, 0);
        }
}

void BM_ScrollOneColumn(benchmark::State& State) {
    SetUpOnce();
    ClearMap();
    for (int rx = 0; rx < MAPSIZE_X; rx++) FillColumn(rx);
    int Direction = -1;
    for (auto _ : State) {
        ScrollMap(Direction, 0);  // east, then west, so the position stays put
        Direction = -Direction;
    }
}
BENCHMARK(BM_ScrollOneColumn)->Unit(benchmark::kNanosecond);

void BM_ScrollOneColumnAndRefill(benchmark::State& State) {
    SetUpOnce();
    ClearMap();
    for (int rx = 0; rx < MAPSIZE_X; rx++) FillColumn(rx);
    for (auto _ : State) {
        ScrollMap(-1, 0);
        FillColumn(MAPSIZE_X - 1);
    }
}
BENCHMARK(BM_ScrollOneColumnAndRefill)->Unit(benchmark::kMicrosecond);

void BM_FullRefill(benchmark::State& State) {
    SetUpOnce();
    for (auto _ : State) {
        ClearMap();
        for (int rx = 0; rx < MAPSIZE_X; rx++) FillColumn(rx);
    }
}
BENCHMARK(BM_FullRefill)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
