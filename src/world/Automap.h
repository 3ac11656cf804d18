// The automap: for every field the player has seen on his own floor, a colour
// for the small map and a walking cost for the path finder, with the marks the
// player sets. Kept per area of 256 x 256 fields of one floor, ten areas in a
// cache, each backed by a file "%03d%03d%02d.map" in the working directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#ifndef NULL
#define NULL nullptr
#endif

constexpr int AUTOMAP_AREAS = 10;         // areas held in the cache
constexpr int AUTOMAP_AREA_SIZE = 256;    // fields along each side of an area
constexpr int AUTOMAP_MARK_LENGTH = 99;   // longest mark text
constexpr int AUTOMAP_UNSEEN_SPEED = 250; // cost of a field never seen
constexpr int AUTOMAP_BLOCKED = 255;      // cost of an impassable field

struct Coordinate {
    int x = 0, y = 0, z = 0;
};

// A mark at absolute (x, y); x = y = 0 marks a deleted one.
struct AutomapMark {
    int x = 0, y = 0;
    int Icon = 0;
    std::string Text;
};

// Where the corruption messages go: the console's status output, once it
// exists. Without a hook they are dropped.
using AutomapMessageHook = void (*)(const char* Text);
void SetAutomapMessageHook(AutomapMessageHook Hook);

// Part of the map's initialisation: every slot empty, recency order 0..9.
void InitAutomap();
// Saves every slot (also after a fatal error), then empties the cache.
void ExitAutomap();

// The cache slot holding the area, loaded if needed, now most recently used.
int GetAutomapArea(int bx, int by, int bz);
// "%03d%03d%02d.map".
std::string GetAutomapFileName(int bx, int by, int bz);
// Plane index of an absolute field inside its area: x is the major index.
inline int GetAutomapIndex(int x, int y) { return (x % AUTOMAP_AREA_SIZE) * AUTOMAP_AREA_SIZE + (y % AUTOMAP_AREA_SIZE); }

// Takes the automap sample of a cube field on the player level.
void StoreAutomapField(int rx, int ry);

int GetAutomapColour(int x, int y, int z);
bool IsAutomapImpassable(int x, int y, int z);
int GetAutomapSpeed(int x, int y, int z);
// Speeds of Count fields from (x, y) southward on floor z, for the path
// finder: one area access per run of fields instead of one per field.
void GetAutomapSpeedColumn(int x, int y, int z, int Count, uint8_t* Speeds);

void GetAutomapMarks(int bx, int by, int bz, std::vector<AutomapMark>& Destination, int& Count);
void AddAutomapMark(const Coordinate& Coordinate, const char* Text, int Icon);
void DeleteAutomapMarks(int x, int y, int z);

// Whether anything was drawn in since the last call; reading clears it.
bool GetAutomapChanged();

void SaveAutomap();
// The areas in the cache, most recently used first (bx = -1 for an empty slot).
void GetAutomapCacheOrder(int Slots[AUTOMAP_AREAS]);
void GetAutomapSlotArea(int Slot, int& bx, int& by, int& bz);
