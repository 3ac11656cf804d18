// The path finder of the auto-walk: a backward search from the destination
// toward the player over the automap costs of the player's floor, within a
// window of 223 x 223 fields around the start.
#pragma once

constexpr int PATH_RANGE = 110;        // furthest distance along either axis
constexpr int PATH_GRID = 2 * PATH_RANGE + 3;  // 223: the range plus a blocked ring
constexpr int PATH_MAX_STEPS = 10;

// Results: -1 the destination is higher ("First go upstairs."), -2 lower,
// -3 out of range, -4 no way; 0 no step; 1 the steps reach the end; 2 the
// steps were cut short and the rest must be computed later. Steps receives
// direction codes 1..8 (1 east, then counter-clockwise to 8 south-east).
int FindPath(int sx, int sy, int sz, int tx, int ty, int tz, bool MayEndOnBlocked, bool SingleDiagonal,
             int Steps[PATH_MAX_STEPS], int& Count);
