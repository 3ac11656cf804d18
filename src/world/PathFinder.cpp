// The path finder. The search runs from the destination back to the start,
// so following the parents from the start gives the steps in walking order.
// The open list is ordered by ascending estimate, and among equal estimates
// the node inserted last comes first; a binary heap keyed by (estimate,
// insertion number) gives the same head as such a sorted list without its
// linear insertion, and a node inserted again simply leaves its older heap
// entry behind as stale.
#include "world/PathFinder.h"

#include "world/Automap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr int N = PATH_GRID * PATH_GRID;
constexpr int CENTRE = PATH_RANGE + 1;  // grid coordinate of the start
constexpr int INFINITE = 0x3FFFFFFF;

// Cells by column: index = gx * PATH_GRID + gy, so an automap column (fixed x,
// consecutive y) is one run of cells.
uint8_t Cost[N];
uint8_t Blocked[N];
int G[N];
int Parent[N];
uint32_t Inserted[N];  // insertion number of the node's live heap entry, 0 when not in the open list

struct Entry {
    int F;
    uint32_t Number;
    int Node;
};

// The heap's head is the smallest estimate, the newest among equals.
struct Later {
    bool operator()(const Entry& a, const Entry& b) const {
        if (a.F != b.F) return a.F > b.F;
        return a.Number < b.Number;
    }
};

std::vector<Entry> Heap;  // keeps its capacity between searches

int CellX(int Node) { return Node / PATH_GRID - CENTRE; }
int CellY(int Node) { return Node % PATH_GRID - CENTRE; }

int Code(int dx, int dy) {
    static const int Codes[3][3] = {
        // dy = -1, 0, +1 for dx = -1
        {4, 5, 6},
        // dx = 0
        {3, 0, 7},
        // dx = +1
        {2, 1, 8},
    };
    return Codes[dx + 1][dy + 1];
}

void FillGrid(int sx, int sy, int sz) {
    uint8_t Column[PATH_GRID];
    for (int gx = 0; gx < PATH_GRID; gx++) {
        int Base = gx * PATH_GRID;
        if (gx == 0 || gx == PATH_GRID - 1) {
            std::fill(Cost + Base, Cost + Base + PATH_GRID, 255);
            std::fill(Blocked + Base, Blocked + Base + PATH_GRID, 1);
            continue;
        }
        int x = sx + gx - CENTRE;
        int y0 = sy - PATH_RANGE;
        GetAutomapSpeedColumn(x, y0, sz, PATH_GRID - 2, Column);
        Cost[Base] = Cost[Base + PATH_GRID - 1] = 255;
        Blocked[Base] = Blocked[Base + PATH_GRID - 1] = 1;
        for (int gy = 1; gy < PATH_GRID - 1; gy++) {
            int y = y0 + gy - 1;
            if (x < 0 || y < 0) {
                Cost[Base + gy] = 1;
                Blocked[Base + gy] = 1;
            } else {
                Cost[Base + gy] = Column[gy - 1];
                Blocked[Base + gy] = Column[gy - 1] == AUTOMAP_BLOCKED;
            }
        }
    }
}

}  // namespace

int FindPath(int sx, int sy, int sz, int tx, int ty, int tz, bool MayEndOnBlocked, bool SingleDiagonal,
             int Steps[PATH_MAX_STEPS], int& Count) {
    Count = 0;
    if (tz < sz) return -1;
    if (tz > sz) return -2;
    int dx = tx - sx, dy = ty - sy;
    if (std::abs(dx) > PATH_RANGE || std::abs(dy) > PATH_RANGE) return -3;
    if (dx == 0 && dy == 0) return 0;
    if (std::abs(dx) + std::abs(dy) == 1 || (SingleDiagonal && std::abs(dx) == 1 && std::abs(dy) == 1)) {
        Steps[Count++] = Code(dx, dy);
        return 1;
    }

    FillGrid(sx, sy, sz);
    int m = 255;
    for (int n = 0; n < N; n++) m = std::min<int>(m, Cost[n]);
    std::fill(G, G + N, INFINITE);
    std::fill(Parent, Parent + N, -1);
    std::fill(Inserted, Inserted + N, 0u);
    Heap.clear();
    if (Heap.capacity() < 4096) Heap.reserve(4096);

    const int S = CENTRE * PATH_GRID + CENTRE;
    const int D = (CENTRE + dx) * PATH_GRID + (CENTRE + dy);
    // east, north-east, north, north-west, west, south-west, south, south-east
    static const int StepX[8] = {1, 1, 0, -1, -1, -1, 0, 1};
    static const int StepY[8] = {0, -1, -1, -1, 0, 1, 1, 1};
    uint32_t Number = 0;
    G[D] = 0;
    int Current = D;
    for (;;) {
        int Base = G[Current] + Cost[Current];
        if (Base >= G[S]) break;
        for (int k = 0; k < 8; k++) {
            int Next = Current + StepX[k] * PATH_GRID + StepY[k];
            int NewCost = (StepX[k] != 0 && StepY[k] != 0) ? Base + 2 * Cost[Current] : Base;
            if (NewCost >= G[Next]) continue;
            Parent[Next] = Current;
            G[Next] = NewCost;
            if (Next == S || Blocked[Next]) continue;
            int F = NewCost + m * (std::abs(CellX(Next)) + std::abs(CellY(Next)) - 1) + Cost[Next];
            Inserted[Next] = ++Number;
            Heap.push_back(Entry{F, Number, Next});
            std::push_heap(Heap.begin(), Heap.end(), Later());
        }
        Current = -1;
        while (!Heap.empty()) {
            Entry Head = Heap.front();
            std::pop_heap(Heap.begin(), Heap.end(), Later());
            Heap.pop_back();
            if (Inserted[Head.Node] != Head.Number) continue;  // superseded by a later insertion
            Inserted[Head.Node] = 0;
            Current = Head.Node;
            break;
        }
        if (Current == -1) break;
    }
    if (G[S] >= INFINITE) return -4;

    int Cell = S;
    for (;;) {
        int Next = Parent[Cell];
        if (Next == -1) break;
        if (!MayEndOnBlocked && Next == D && Cost[D] == AUTOMAP_BLOCKED) break;
        int nx = CellX(Next), ny = CellY(Next);
        if (Count == PATH_MAX_STEPS || std::abs(nx) > 8 || std::abs(ny) > 6) return 2;
        Steps[Count++] = Code(nx - CellX(Cell), ny - CellY(Cell));
        Cell = Next;
    }
    return Count == 0 ? 0 : 1;
}
