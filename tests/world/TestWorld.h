// A small set of object types shared by the map, automap, inventory and
// creature tests, and a fixture that loads it in a fresh working directory
// with the map initialised.
#pragma once

#include "DatWriter.h"
#include "world/Map.h"
#include "world/Objects.h"

#include "platform/Platform.h"

namespace testworld {

enum : int {
    GROUND = 100,       // BANK 150, automap colour 24
    SWAMP = 101,        // BANK 400 (more than the automap can hold), automap colour 30
    ONBANK_ITEM = 102,  // ONBANK
    BOTTOM_ITEM = 103,  // BOTTOM
    TOP_ITEM = 104,     // TOP
    ITEM_A = 105,       // ordinary, TAKE
    ITEM_B = 106,       // ordinary, TAKE
    COINS = 107,        // CUMULATIVE, patterns 4 x 2
    POOL = 108,         // LIQUIDPOOL, patterns 4 x 2
    PICTURE = 109,      // HANG, pattern width 3
    HOOK_A = 110,       // BOTTOM, HOOKA
    HOOK_B = 111,       // BOTTOM, HOOKB
    WALL = 112,         // BOTTOM, UNPASS, automap colour 86
    CRATE = 113,        // HEIGHT 8
    LEVER = 114,        // USETARGET, UNMOVE
    ANVIL = 115,        // UNMOVE
    OPENING = 116,      // NOROOF
    GRATE = 117,        // LIGHTTHROUGH, ONBANK
    FIRE = 118,         // AVOID
    BOTTLE = 119,       // LIQUIDCONTAINER, patterns 4 x 2
    BANNER = 120,       // HANG, pattern width 2
    HIGHEST_ITEM = 120,
};

// Outfit 1: 4 directions, 3 phases. Effect 1: 3 phases. Missile 1: 3 x 3 compass.
inline void WriteTestWorld(const char* FileName) {
    DatWriter W(0x12345678, HIGHEST_ITEM, 1, 1, 1);
    W.Flag(BANK, {150}).Flag(AUTOMAP, {24});
    W.Record(1, 1, 1, 1, 1, 1, 1);
    W.Flag(BANK, {400}).Flag(AUTOMAP, {30});
    W.Record(1, 1, 1, 1, 1, 1, 1);
    W.Simple({ONBANK});
    W.Simple({BOTTOM});
    W.Simple({TOP});
    W.Simple({TAKE});
    W.Simple({TAKE});
    W.Flag(CUMULATIVE).Flag(TAKE);
    W.Record(1, 1, 1, 4, 2, 1, 1);
    W.Flag(LIQUIDPOOL);
    W.Record(1, 1, 1, 4, 2, 1, 1);
    W.Flag(HANG);
    W.Record(1, 1, 1, 3, 1, 1, 1);
    W.Simple({BOTTOM, HOOKA});
    W.Simple({BOTTOM, HOOKB});
    W.Flag(BOTTOM).Flag(UNPASS).Flag(AUTOMAP, {86});
    W.Record(1, 1, 1, 1, 1, 1, 1);
    W.Flag(HEIGHT, {8});
    W.Record(1, 1, 1, 1, 1, 1, 1);
    W.Simple({USETARGET, UNMOVE});
    W.Simple({UNMOVE});
    W.Simple({NOROOF});
    W.Simple({LIGHTTHROUGH, ONBANK});
    W.Simple({AVOID});
    W.Flag(LIQUIDCONTAINER);
    W.Record(1, 1, 1, 4, 2, 1, 1);
    W.Flag(HANG);
    W.Record(1, 1, 1, 2, 1, 1, 1);
    // outfit 1
    W.Record(1, 1, 1, 4, 1, 1, 3);
    // effect 1
    W.Record(1, 1, 1, 1, 1, 1, 3);
    // missile 1
    W.Record(1, 1, 1, 3, 3, 1, 1);
    W.Save(FileName);
}

// A fresh directory holding the test world, loaded, with the map initialised
// and the game clock under the test's control.
class WorldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteTestWorld("Vorna.dat");
        LoadObjects("Vorna.dat");
        InitMap(nullptr);
        platform::SetClockOverride([this] { return Now; });
    }
    void TearDown() override {
        platform::SetClockOverride({});
        ExitMap();
        UnloadObjects();
    }

    testing_support::ScopedWorkDir Dir;
    uint32_t Now = 100000;
};

}  // namespace testworld
