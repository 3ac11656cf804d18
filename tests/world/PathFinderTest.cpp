// The path finder against a plain transcription of its rules: an open list
// kept as a sorted list with linear insertion, over random terrain. Both must
// give the same result and the same steps, ties included.
#include "TestWorld.h"
#include "world/Automap.h"
#include "world/PathFinder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <list>
#include <string>
#include <vector>

using namespace testworld;

namespace {

int ReferencePath(int sx, int sy, int sz, int tx, int ty, int tz, bool MayEnd, bool Single, std::vector<int>& Steps) {
    Steps.clear();
    if (tz < sz) return -1;
    if (tz > sz) return -2;
    int dx = tx - sx, dy = ty - sy;
    if (std::abs(dx) > 110 || std::abs(dy) > 110) return -3;
    if (dx == 0 && dy == 0) return 0;
    auto Code = [](int x, int y) {
        const int Codes[3][3] = {{4, 5, 6}, {3, 0, 7}, {2, 1, 8}};
        return Codes[x + 1][y + 1];
    };
    if (std::abs(dx) + std::abs(dy) == 1 || (Single && std::abs(dx) == 1 && std::abs(dy) == 1)) {
        Steps.push_back(Code(dx, dy));
        return 1;
    }
    const int W = 223, C = 111, INF = 1 << 30;
    std::vector<int> Cost(W * W), G(W * W, INF), Parent(W * W, -1);
    std::vector<bool> Blocked(W * W);
    int m = 255;
    for (int gx = 0; gx < W; gx++)
        for (int gy = 0; gy < W; gy++) {
            int n = gx * W + gy, x = sx + gx - C, y = sy + gy - C;
            if (gx == 0 || gy == 0 || gx == W - 1 || gy == W - 1) {
                Cost[n] = 255;
                Blocked[n] = true;
            } else if (x < 0 || y < 0) {
                Cost[n] = 1;
                Blocked[n] = true;
            } else {
                Cost[n] = GetAutomapSpeed(x, y, sz);
                Blocked[n] = Cost[n] == 255;
            }
            m = std::min(m, Cost[n]);
        }
    struct Node {
        int Cell, F;
    };
    std::list<Node> Open;
    int S = C * W + C, D = (C + dx) * W + (C + dy);
    G[D] = 0;
    int Current = D;
    for (;;) {
        int Base = G[Current] + Cost[Current];
        if (Base >= G[S]) break;
        const int X[8] = {1, 1, 0, -1, -1, -1, 0, 1}, Y[8] = {0, -1, -1, -1, 0, 1, 1, 1};
        for (int k = 0; k < 8; k++) {
            int N = Current + X[k] * W + Y[k];
            int New = (X[k] != 0 && Y[k] != 0) ? Base + 2 * Cost[Current] : Base;
            if (New >= G[N]) continue;
            Parent[N] = Current;
            G[N] = New;
            if (N == S || Blocked[N]) continue;
            for (auto i = Open.begin(); i != Open.end(); ++i)
                if (i->Cell == N) {
                    Open.erase(i);
                    break;
                }
            int F = New + m * (std::abs(N / W - C) + std::abs(N % W - C) - 1) + Cost[N];
            auto i = Open.begin();
            while (i != Open.end() && i->F < F) ++i;
            Open.insert(i, Node{N, F});
        }
        if (Open.empty()) break;
        Current = Open.front().Cell;
        Open.pop_front();
    }
    if (G[S] >= INF) return -4;
    int Cell = S;
    for (;;) {
        int Next = Parent[Cell];
        if (Next == -1) break;
        if (!MayEnd && Next == D && Cost[D] == 255) break;
        int nx = Next / W - C, ny = Next % W - C;
        if (Steps.size() == 10 || std::abs(nx) > 8 || std::abs(ny) > 6) return 2;
        Steps.push_back(Code(nx - (Cell / W - C), ny - (Cell % W - C)));
        Cell = Next;
    }
    return Steps.empty() ? 0 : 1;
}

struct PathFinderTest : WorldTest {};

TEST_F(PathFinderTest, AgreesWithTheSortedListOnRandomTerrain) {
    uint32_t Seed = 99;
    auto Random = [&Seed](int n) {
        Seed = Seed * 1103515245u + 12345u;
        return int((Seed >> 16) % uint32_t(n));
    };
    // area (0,0,7) with few distinct costs (many ties) and scattered walls,
    // near the world's edge so that negative coordinates take part too
    std::string Speeds(65536, 0);
    const int Levels[] = {100, 100, 100, 150, 250, 255};
    for (int x = 0; x < 256; x++)
        for (int y = 0; y < 256; y++) Speeds[GetAutomapIndex(x, y)] = char(Levels[Random(6)]);
    testing_support::WriteFile(GetAutomapFileName(0, 0, 7), std::string(65536, 0) + Speeds);

    int Compared = 0, Found = 0;
    for (int n = 0; n < 60; n++) {
        int sx = 5 + Random(60), sy = 5 + Random(60);
        int tx = sx + Random(41) - 20, ty = sy + Random(41) - 20;
        bool MayEnd = Random(2) == 1, Single = Random(2) == 1;
        std::vector<int> Expected;
        int ExpectedResult = ReferencePath(sx, sy, 7, tx, ty, 7, MayEnd, Single, Expected);
        int Steps[PATH_MAX_STEPS], Count = -1;
        int Result = FindPath(sx, sy, 7, tx, ty, 7, MayEnd, Single, Steps, Count);
        ASSERT_EQ(Result, ExpectedResult) << sx << "," << sy << " -> " << tx << "," << ty;
        ASSERT_EQ(std::vector<int>(Steps, Steps + Count), Expected) << sx << "," << sy << " -> " << tx << "," << ty;
        Compared++;
        if (Result > 0) Found++;
    }
    EXPECT_EQ(Compared, 60);
    EXPECT_GT(Found, 20);  // the terrain leaves most destinations reachable
}

// Far destinations over costs from 0 to 255 with many ties and walls: many
// searches in a row, each the same as the plain search.
TEST_F(PathFinderTest, AgreesWithTheSortedListAcrossTheWholeWindow) {
    uint32_t Seed = 2024;
    auto Random = [&Seed](int n) {
        Seed = Seed * 1103515245u + 12345u;
        return int((Seed >> 16) % uint32_t(n));
    };
    const int Levels[] = {0, 1, 40, 40, 40, 120, 254, 255};
    for (int bx = 1; bx <= 2; bx++)
        for (int by = 1; by <= 2; by++) {
            std::string Speeds(65536, 0);
            for (int i = 0; i < 65536; i++) Speeds[size_t(i)] = char(Levels[Random(8)]);
            testing_support::WriteFile(GetAutomapFileName(bx, by, 6), std::string(65536, 0) + Speeds);
        }

    int Found = 0, Results[7] = {};
    for (int n = 0; n < 60; n++) {
        // the window stays inside the four areas written
        int sx = 367 + Random(289), sy = 367 + Random(289);
        int tx = sx + Random(61) - 30, ty = sy + Random(61) - 30;
        if (n % 20 == 0) {  // near the edge of the window: the search covers most of it
            tx = sx + (Random(2) == 0 ? -1 : 1) * (100 + Random(11));
            ty = sy + Random(221) - 110;
        }
        bool MayEnd = Random(2) == 1, Single = Random(2) == 1;
        std::vector<int> Expected;
        int ExpectedResult = ReferencePath(sx, sy, 6, tx, ty, 6, MayEnd, Single, Expected);
        int Steps[PATH_MAX_STEPS], Count = -1;
        int Result = FindPath(sx, sy, 6, tx, ty, 6, MayEnd, Single, Steps, Count);
        ASSERT_EQ(Result, ExpectedResult) << sx << "," << sy << " -> " << tx << "," << ty;
        ASSERT_EQ(std::vector<int>(Steps, Steps + Count), Expected) << sx << "," << sy << " -> " << tx << "," << ty;
        if (Result > 0) Found++;
        Results[Result + 4]++;
    }
    EXPECT_GT(Found, 30);
    EXPECT_GT(Results[1 + 4], 0);  // the steps reach the destination
    EXPECT_GT(Results[2 + 4], 0);  // cut short
}

}  // namespace
