// The object types of the world, read from Vorna.dat: the server needs the
// flags and parameters of the items (ground speed, what blocks, what stacks,
// what holds liquid, what gives light); sprites are skipped.
#pragma once

#include <cstdint>
#include <string>

namespace server::objecttypes {

// Flag codes of the file, bit numbers of the flag set.
enum Flag : int {
    BANK = 0, ONBANK = 1, BOTTOM = 2, TOP = 3, CONTAINER = 4, CUMULATIVE = 5, USETARGET = 6, MULTIUSE = 7,
    WRITE = 8, WRITEONCE = 9, LIQUIDCONTAINER = 10, LIQUIDPOOL = 11, UNPASS = 12, UNMOVE = 13, NOROOF = 14,
    AVOID = 15, TAKE = 16, HANG = 17, HOOKA = 18, HOOKB = 19, ROTATE = 20, LIGHT = 21, SEETHROUGH = 22,
    LIGHTTHROUGH = 23, SHIFT = 24, HEIGHT = 25, REDRAWNEAR = 26, IDLEANIMATION = 27, AUTOMAP = 28,
    LENSHELP = 29, FLOORMARK = 30,
};

// Loads the file; throws std::runtime_error with the file name on failure.
void LoadObjectTypes(const std::string& FileName);
void UnloadObjectTypes();

uint32_t Signature();
int HighestItem();
int OutfitCount();
bool IsItem(int Type);
// False for unknown types; CREATURE answers true for UNPASS only.
bool HasFlag(int Type, Flag F);
int BankValue(int Type);
int LightBrightness(int Type);
int LightColour(int Type);
int WriteLength(int Type);

}  // namespace server::objecttypes
