// The path finder. The search runs from the destination back to the start,
// so following the parents from the start gives the steps in walking order.
// The open list is ordered by ascending estimate, and among equal estimates
// the node inserted last comes first. The estimate never falls along a search
// (the step costs are at least the smallest cost the estimate counts with),
// and one step raises it by less than OPEN_RING, so the open list is kept as a
// ring of buckets, one per estimate, each a stack (newest on top) linked
// through the cells themselves. That gives the head of the sorted list in
// constant time instead of its linear insertion; a node inserted again is
// unlinked from its old bucket first.
#include "world/PathFinder.h"

#include "world/Automap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int N = PATH_GRID * PATH_GRID;
constexpr int CENTRE = PATH_RANGE + 1;  // grid coordinate of the start
constexpr int INFINITE = 0x3FFFFFFF;

// Everything the search keeps per cell in one record, so that relaxing a
// neighbour touches one cache line. Cells by column: index = gx * PATH_GRID +
// gy, so an automap column (fixed x, consecutive y) is one run of cells.
// A cell whose stamp is not the current search's counts as untouched (no
// cost found yet, no parent, not open), so a search sets up only the cells it
// reaches. Costs come in byte planes copied column by column.
struct Cell {
    int G;                  // best cost from here to the destination
    int Parent;             // the next cell toward the destination, -1 none
    int F;                  // estimate while in the open list
    int Previous, Next;     // neighbours in the open list's bucket
    uint32_t Stamp;
    uint8_t Open;
};
Cell Cells[N];
uint8_t Cost[N];
uint8_t Blocked[N];
uint32_t Search = 0;

Cell& Touch(int n) {
    Cell& c = Cells[n];
    if (c.Stamp != Search) {
        c.Stamp = Search;
        c.G = INFINITE;
        c.Parent = -1;
        c.Open = 0;
    }
    return c;
}

// |x| + |y| - 1 of every cell relative to the start, built once.
int Distance[N];

void BuildDistances() {
    static bool Built = false;
    if (Built) return;
    Built = true;
    for (int n = 0; n < N; n++) Distance[n] = std::abs(n / PATH_GRID - CENTRE) + std::abs(n % PATH_GRID - CENTRE) - 1;
}

// Estimates in the open list lie within [Lowest, Lowest + 1530]: a step costs
// at most 3 * 255 and changes the remaining estimate by at most 2 * 255 + 255.
constexpr int OPEN_RING = 4096;
constexpr int RING_WORDS = OPEN_RING / 64;

int Head[OPEN_RING];        // newest cell of each bucket, -1 when empty
uint64_t Filled[RING_WORDS];  // one bit per non-empty bucket
int Lowest = 0;             // no cell in the open list has a smaller estimate

void Unlink(int n) {
    Cell& c = Cells[n];
    int b = c.F & (OPEN_RING - 1);
    if (c.Previous != -1) Cells[c.Previous].Next = c.Next;
    else Head[b] = c.Next;
    if (c.Next != -1) Cells[c.Next].Previous = c.Previous;
    if (Head[b] == -1) Filled[b >> 6] &= ~(uint64_t(1) << (b & 63));
    c.Open = 0;
}

void Push(int n, int Estimate) {
    Cell& c = Cells[n];
    if (c.Open) Unlink(n);
    if (Estimate < Lowest) Lowest = Estimate;  // cannot happen with the costs above; kept exact anyway
    int b = Estimate & (OPEN_RING - 1);
    c.F = Estimate;
    c.Previous = -1;
    c.Next = Head[b];
    if (c.Next != -1) Cells[c.Next].Previous = n;
    Head[b] = n;
    Filled[b >> 6] |= uint64_t(1) << (b & 63);
    c.Open = 1;
}

// The cell with the smallest estimate, newest first; -1 when none is left.
int Pop() {
    int b = Lowest & (OPEN_RING - 1);
    int Word = b >> 6;
    uint64_t Bits = Filled[Word] & (~uint64_t(0) << (b & 63));
    for (int Scanned = 0; Bits == 0; Scanned++) {
        if (Scanned == RING_WORDS) return -1;
        Word = (Word + 1) % RING_WORDS;
        Bits = Filled[Word];
    }
    int Found = Word * 64 + __builtin_ctzll(Bits);
    Lowest += (Found - b + OPEN_RING) & (OPEN_RING - 1);
    int n = Head[Found];
    Unlink(n);
    return n;
}

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

// Copies the costs of the window; returns the smallest cost of the grid.
int FillGrid(int sx, int sy, int sz) {
    int Smallest = 255;
    int y0 = sy - PATH_RANGE;
    for (int gx = 0; gx < PATH_GRID; gx++) {
        uint8_t* c = Cost + gx * PATH_GRID;
        uint8_t* b = Blocked + gx * PATH_GRID;
        int x = sx + gx - CENTRE;
        if (gx == 0 || gx == PATH_GRID - 1) {
            std::memset(c, 255, PATH_GRID);
        } else {
            c[0] = c[PATH_GRID - 1] = 255;
            GetAutomapSpeedColumn(x, y0, sz, PATH_GRID - 2, c + 1);
        }
        for (int gy = 0; gy < PATH_GRID; gy++) b[gy] = c[gy] == AUTOMAP_BLOCKED;
        for (int gy = 1; gy < PATH_GRID - 1; gy++) Smallest = std::min<int>(Smallest, c[gy]);
        // fields with a negative coordinate: blocked, at cost 1
        if (gx > 0 && gx < PATH_GRID - 1) {
            int First = 1, Last = PATH_GRID - 2;
            if (x >= 0) Last = std::min(Last, -y0);  // rows with y < 0
            for (int gy = First; gy <= Last; gy++) {
                c[gy] = 1;
                b[gy] = 1;
                Smallest = 1;
            }
        }
    }
    return Smallest;
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

    BuildDistances();
    int m = FillGrid(sx, sy, sz);
    if (++Search == 0) {  // the stamps wrapped: forget them all
        for (Cell& c : Cells) c.Stamp = 0;
        Search = 1;
    }
    std::fill(Head, Head + OPEN_RING, -1);
    std::fill(Filled, Filled + RING_WORDS, 0);
    Lowest = 0;
    bool Started = false;

    const int S = CENTRE * PATH_GRID + CENTRE;
    const int D = (CENTRE + dx) * PATH_GRID + (CENTRE + dy);
    // east, north-east, north, north-west, west, south-west, south, south-east
    static const int StepX[8] = {1, 1, 0, -1, -1, -1, 0, 1};
    static const int StepY[8] = {0, -1, -1, -1, 0, 1, 1, 1};
    Touch(S);
    Touch(D).G = 0;
    int Current = D;
    for (;;) {
        int Base = Cells[Current].G + Cost[Current];
        if (Base >= Cells[S].G) break;
        int Diagonal = Base + 2 * Cost[Current];
        for (int k = 0; k < 8; k++) {
            int Next = Current + StepX[k] * PATH_GRID + StepY[k];
            int NewCost = (k & 1) ? Diagonal : Base;  // the odd directions are the diagonals
            Cell& There = Touch(Next);
            if (NewCost >= There.G) continue;
            There.Parent = Current;
            There.G = NewCost;
            if (Next == S || Blocked[Next]) continue;
            int Estimate = NewCost + m * Distance[Next] + Cost[Next];
            if (!Started) {
                Lowest = Estimate;
                Started = true;
            }
            Push(Next, Estimate);
        }
        Current = Pop();
        if (Current == -1) break;
    }
    if (Cells[S].G >= INFINITE) return -4;

    int At = S;
    for (;;) {
        int Next = Cells[At].Parent;
        if (Next == -1) break;
        if (!MayEndOnBlocked && Next == D && Cost[D] == AUTOMAP_BLOCKED) break;
        int nx = CellX(Next), ny = CellY(Next);
        if (Count == PATH_MAX_STEPS || std::abs(nx) > 8 || std::abs(ny) > 6) return 2;
        Steps[Count++] = Code(nx - CellX(At), ny - CellY(At));
        At = Next;
    }
    return Count == 0 ? 0 : 1;
}
