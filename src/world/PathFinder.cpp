// The path finder. The search runs from the destination back to the start,
// so following the parents from the start gives the steps in walking order.
//
// The open list is ordered by ascending estimate, and among equal estimates
// the node inserted last comes first. The estimate never falls along a search
// (the step costs are at least the smallest cost the estimate counts with),
// and one step raises it by less than OPEN_RING, so the open list is kept as a
// ring of buckets, one per estimate, each a stack (newest on top). A node that
// finds a cheaper way is pushed again with its new cost; its older entry stays
// behind in a bucket of a higher estimate and is dropped when it comes up,
// recognised by a cost that is no longer the node's. A node's cost only ever
// falls, so exactly its newest entry is live, and the live entries come off
// in the order of the sorted list.
#include "world/PathFinder.h"

#include "world/Automap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int N = PATH_GRID * PATH_GRID;
constexpr int CENTRE = PATH_RANGE + 1;  // grid coordinate of the start
constexpr int INFINITE = 0x3FFFFFFF;

// Cells by column: index = gx * PATH_GRID + gy, so an automap column (fixed x,
// consecutive y) is one run of cells.
//
// The best cost G of a cell is kept as a key that grows as G falls, with the
// search's generation in the top bits: key = generation * 2^26 + (2^26 - 1 -
// G). A cell keyed by an earlier search thus has a smaller key than any cost
// of this one, so relaxing a neighbour is one comparison, and a search sets up
// only the cells it reaches. A cost stays below 2^26: every cost is that of a
// path without repeated fields, at most 223 * 223 steps of at most 3 * 255.
// After 63 searches the keys are cleared and the generations start again.
constexpr int COST_BITS = 26;
constexpr uint32_t COST_MASK = (uint32_t(1) << COST_BITS) - 1;
constexpr uint32_t LAST_GENERATION = (uint32_t(1) << (32 - COST_BITS)) - 1;
uint32_t Keys[N];
uint32_t Generation = LAST_GENERATION;
uint32_t GenerationBase = 0;  // Generation << COST_BITS

uint32_t KeyOf(int G) { return GenerationBase + (COST_MASK - uint32_t(G)); }
// INFINITE for a cell not reached in this search.
int CostOf(uint32_t Key) { return Key < GenerationBase ? INFINITE : int(COST_MASK - (Key - GenerationBase)); }

// The direction of the step from a reached cell's parent to the cell, an
// index into StepX / StepY; every reached cell but the destination has one.
uint8_t Parent[N];

// The cost of each cell for the search; CLOSED marks the cells that never
// enter the open list: blocked fields, fields with a negative coordinate, the
// outer ring and the start itself. A field that can be walked on costs less
// than 255, so CLOSED cannot be a real cost.
constexpr uint8_t CLOSED = AUTOMAP_BLOCKED;
uint8_t Cost[N];

// east, north-east, north, north-west, west, south-west, south, south-east
constexpr int StepX[8] = {1, 1, 0, -1, -1, -1, 0, 1};
constexpr int StepY[8] = {0, -1, -1, -1, 0, 1, 1, 1};

// Estimates in the open list lie within [Lowest, Lowest + 1275]: a pushed
// cell's estimate exceeds the expanded cell's by the step cost beyond the
// expanded cell's own cost (at most 2 * 255), the change of the distance term
// (at most 2 * 255) and its own cost (at most 255).
constexpr int OPEN_RING = 4096;
constexpr int RING_WORDS = OPEN_RING / 64;

struct Entry {
    int Cell;
    uint32_t Key;  // the cell's key when pushed: the entry is stale once that changed
};

// A bucket keeps its top entry in place, so that taking it needs no load from
// the entry store (whose entries were written long before and have mostly
// left the cache); the entries below lie in the store, each with the index of
// the next one down.
struct StoredEntry {
    Entry Item;
    int Next;  // -1 for the bottom
};
std::vector<StoredEntry> EntryStore;  // grown as needed, kept between searches
Entry Top[OPEN_RING];                 // the newest entry of each non-empty bucket
int Below[OPEN_RING];                 // the stored entry under it, -1 none
uint64_t Filled[RING_WORDS];          // one bit per non-empty bucket

// One search's open list. It lives on the stack so that its counters stay in
// registers while the entries are written.
class OpenList {
public:
    OpenList() { std::fill(Filled, Filled + RING_WORDS, 0); }

    // Room for at least eight more entries.
    void Reserve() {
        if (size_t(Count) + 8 <= EntryStore.size()) return;
        EntryStore.resize(EntryStore.size() * 2 + 4096);
        Store = EntryStore.data();
    }

    void Push(int n, uint32_t Key, int Estimate) {
        // the estimate never falls below the lowest one; kept exact anyway
        Lowest = std::min(Lowest, Estimate);
        const int b = Estimate & (OPEN_RING - 1);
        uint64_t& Word = Filled[b >> 6];
        const uint64_t Bit = uint64_t(1) << (b & 63);
        // The old top goes to the store even when the bucket was empty (and
        // the top a leftover): that costs less than a jump on whether it was.
        Store[Count] = StoredEntry{Top[b], Below[b]};
        Below[b] = (Word & Bit) != 0 ? Count : -1;
        Count++;
        Word |= Bit;
        Top[b] = Entry{n, Key};
    }

    // The live cell with the smallest estimate, newest first; -1 when none is left.
    int Pop() {
        for (;;) {
            const int b = Lowest & (OPEN_RING - 1);
            int Word = b >> 6;
            uint64_t Bits = Filled[Word] & (~uint64_t(0) << (b & 63));
            for (int Scanned = 0; Bits == 0; Scanned++) {
                if (Scanned == RING_WORDS) return -1;
                Word = (Word + 1) % RING_WORDS;
                Bits = Filled[Word];
            }
            const int Found = Word * 64 + __builtin_ctzll(Bits);
            Lowest += (Found - b + OPEN_RING) & (OPEN_RING - 1);
            const Entry e = Top[Found];
            if (Below[Found] == -1) {
                Filled[Found >> 6] &= ~(uint64_t(1) << (Found & 63));
            } else {
                const StoredEntry& Next = Store[Below[Found]];
                Top[Found] = Next.Item;
                Below[Found] = Next.Next;
            }
            if (Keys[e.Cell] == e.Key) return e.Cell;
        }
    }

private:
    StoredEntry* Store = EntryStore.data();
    int Count = 0;
    int Lowest = INFINITE;  // no entry has a smaller estimate; the first push lowers it
};

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

// Copies the costs of the window, the fields with a negative coordinate and
// the outer ring closed; returns the smallest cost of the inner cells, where
// a field with a negative coordinate counts as 1.
int FillGrid(int sx, int sy, int sz) {
    int Smallest = 255;
    const int y0 = sy - PATH_RANGE;
    std::memset(Cost, CLOSED, PATH_GRID);
    std::memset(Cost + (PATH_GRID - 1) * PATH_GRID, CLOSED, PATH_GRID);
    for (int gx = 1; gx < PATH_GRID - 1; gx++) {
        uint8_t* c = Cost + gx * PATH_GRID;
        const int x = sx + gx - CENTRE;
        c[0] = c[PATH_GRID - 1] = CLOSED;
        GetAutomapSpeedColumn(x, y0, sz, PATH_GRID - 2, c + 1);
        uint8_t Least = 255;
        for (int gy = 1; gy < PATH_GRID - 1; gy++) Least = std::min(Least, c[gy]);
        Smallest = std::min<int>(Smallest, Least);
        // the rows with y < 0; the whole column when x < 0
        const int Negative = x < 0 ? PATH_GRID - 2 : std::clamp(-y0, 0, PATH_GRID - 2);
        if (Negative > 0) {
            std::memset(c + 1, CLOSED, size_t(Negative));
            Smallest = 1;
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

    const int m = FillGrid(sx, sy, sz);
    const int S = CENTRE * PATH_GRID + CENTRE;
    const int D = (CENTRE + dx) * PATH_GRID + (CENTRE + dy);
    // The destination's own cost: a field with a negative coordinate costs 1.
    const int CostD = tx < 0 || ty < 0 ? 1 : Cost[D];
    Cost[S] = CLOSED;  // the start collects its cost but is never expanded

    if (Generation == LAST_GENERATION) {  // the generations are used up: forget every key
        std::fill(Keys, Keys + N, 0);
        Generation = 0;
    }
    Generation++;
    GenerationBase = Generation << COST_BITS;
    OpenList Open;

    Keys[S] = 0;  // not reached
    Keys[D] = KeyOf(0);
    int Current = D, CurrentCost = CostD;
    for (;;) {
        const int G = CostOf(Keys[Current]);
        const int Base = G + CurrentCost;
        if (Base >= CostOf(Keys[S])) break;
        const uint32_t BaseKey = KeyOf(Base);
        const uint32_t DiagonalKey = BaseKey - 2 * uint32_t(CurrentCost);
        const int Diagonal = Base + 2 * CurrentCost;
        // |x| and |y| of the three columns and rows around the current cell
        const int cx = CellX(Current), cy = CellY(Current);
        const int AX[3] = {std::abs(cx - 1), std::abs(cx), std::abs(cx + 1)};
        const int AY[3] = {std::abs(cy - 1), std::abs(cy), std::abs(cy + 1)};
        Open.Reserve();
#pragma GCC unroll 8
        for (int k = 0; k < 8; k++) {
            const int Next = Current + StepX[k] * PATH_GRID + StepY[k];
            // the odd directions are the diagonals
            const int NewCost = (k & 1) ? Diagonal : Base;
            const uint32_t NewKey = (k & 1) ? DiagonalKey : BaseKey;
            const uint32_t Known = Keys[Next];
            if (NewKey <= Known) continue;
            Keys[Next] = NewKey;
            Parent[Next] = uint8_t(k);
            const int c = Cost[Next];
            if (c == CLOSED) continue;
            Open.Push(Next, NewKey, NewCost + m * (AX[StepX[k] + 1] + AY[StepY[k] + 1] - 1) + c);
        }
        Current = Open.Pop();
        if (Current == -1) break;
        CurrentCost = Cost[Current];
    }
    if (CostOf(Keys[S]) >= INFINITE) return -4;

    int At = S;
    while (At != D) {
        const int k = Parent[At];
        const int Next = At - StepX[k] * PATH_GRID - StepY[k];
        if (!MayEndOnBlocked && Next == D && CostD == AUTOMAP_BLOCKED) break;
        int nx = CellX(Next), ny = CellY(Next);
        if (Count == PATH_MAX_STEPS || std::abs(nx) > 8 || std::abs(ny) > 6) return 2;
        Steps[Count++] = Code(-StepX[k], -StepY[k]);
        At = Next;
    }
    return Count == 0 ? 0 : 1;
}
