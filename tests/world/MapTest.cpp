#include "TestWorld.h"
#include "world/Map.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testworld;

namespace {

struct MapTest : WorldTest {
    void SetUp() override {
        WorldTest::SetUp();
        SetMapPosition(1000, 2000, 7);
    }

    std::vector<int> StoredTypes(int rx, int ry, int rz) {
        std::vector<int> Types;
        for (int p = 0; p < GetObjectCount(rx, ry, rz); p++) Types.push_back(GetFieldObject(rx, ry, rz, p).Type);
        return Types;
    }

    std::vector<int> DrawnTypes(int rx, int ry, int rz) {
        std::vector<int> Types;
        for (ObjectInstance O = GetFirstFieldObject(rx, ry, rz); O.Type != 0; O = GetNextFieldObject())
            Types.push_back(O.Type);
        return Types;
    }

    std::vector<int> FieldEffects(int rx, int ry, int rz) {
        std::vector<int> List;
        for (int e = GetFirstFieldEffect(rx, ry, rz); e != -1; e = GetNextFieldEffect(e)) List.push_back(e);
        return List;
    }
};

std::vector<uint32_t> Removed;
void RecordRemoval(uint32_t CreatureID) { Removed.push_back(CreatureID); }

TEST_F(MapTest, ConversionBothWaysOnTheSurfaceAndUnderground) {
    EXPECT_EQ(GetPlayerLevel(), 0);
    int x = 8, y = 6, z = 0;
    CubeToAbsolute(x, y, z);
    EXPECT_EQ(x, 1000);
    EXPECT_EQ(y, 2000);
    EXPECT_EQ(z, 7);
    // one floor up the same place lies one field further up and left in the cube
    x = 7, y = 5, z = 1;
    CubeToAbsolute(x, y, z);
    EXPECT_EQ(x, 1000);
    EXPECT_EQ(y, 2000);
    EXPECT_EQ(z, 6);
    AbsoluteToCube(x, y, z);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 5);
    EXPECT_EQ(z, 1);

    SetMapPosition(500, 600, 10);
    EXPECT_EQ(GetPlayerLevel(), 2);
    x = 8, y = 6, z = 0;  // the lowest level holds floor 12
    CubeToAbsolute(x, y, z);
    EXPECT_EQ(z, 12);
    EXPECT_EQ(x, 498);
    EXPECT_EQ(y, 598);
    AbsoluteToCube(x, y, z);
    EXPECT_EQ(x, 8);
    EXPECT_EQ(y, 6);
    EXPECT_EQ(z, 0);
    SetMapPosition(500, 600, 6);
    EXPECT_EQ(GetPlayerLevel(), 1);
}

TEST_F(MapTest, StackingPutsEachClassInItsPlace) {
    InsertFieldObject(3, 3, 0, ITEM_B, 0);
    InsertFieldObject(3, 3, 0, CREATURE, 7);
    InsertFieldObject(3, 3, 0, TOP_ITEM, 0);
    InsertFieldObject(3, 3, 0, BOTTOM_ITEM, 0);
    InsertFieldObject(3, 3, 0, ONBANK_ITEM, 0);
    InsertFieldObject(3, 3, 0, GROUND, 0);
    InsertFieldObject(3, 3, 0, ITEM_A, 0);
    EXPECT_EQ(StoredTypes(3, 3, 0),
              (std::vector<int>{GROUND, ONBANK_ITEM, BOTTOM_ITEM, TOP_ITEM, CREATURE, ITEM_A, ITEM_B}));
    // ground, ONBANK, BOTTOM, older object, newer object, creature, TOP
    EXPECT_EQ(DrawnTypes(3, 3, 0),
              (std::vector<int>{GROUND, ONBANK_ITEM, BOTTOM_ITEM, ITEM_B, ITEM_A, CREATURE, TOP_ITEM}));

    // a second creature goes below the first, a new ground replaces position 0
    InsertFieldObject(3, 3, 0, CREATURE, 8);
    EXPECT_EQ(GetFieldObject(3, 3, 0, 4).Data, 8u);
    EXPECT_EQ(GetFieldObject(3, 3, 0, 5).Data, 7u);
    InsertFieldObject(3, 3, 0, SWAMP, 0);
    EXPECT_EQ(GetFieldObject(3, 3, 0, 0).Type, SWAMP);
    EXPECT_EQ(GetFieldObject(3, 3, 0, 1).Type, GROUND);
}

TEST_F(MapTest, OrdinaryObjectGoesDirectlyAboveTheCreature) {
    AppendFieldObject(2, 2, 0, GROUND, 0);
    AppendFieldObject(2, 2, 0, CREATURE, 42);
    AppendFieldObject(2, 2, 0, ITEM_A, 0);
    AppendFieldObject(2, 2, 0, ITEM_B, 0);
    InsertFieldObject(2, 2, 0, COINS, 5);
    EXPECT_EQ(StoredTypes(2, 2, 0), (std::vector<int>{GROUND, CREATURE, COINS, ITEM_A, ITEM_B}));
    EXPECT_EQ(GetFieldObject(2, 2, 0, 2).Data, 5u);
    EXPECT_EQ(GetFieldObject(2, 2, 0, 5).Type, 0);  // above ObjectCount
}

TEST_F(MapTest, AppendedStackIteratesInDrawOrder) {
    AppendFieldObject(4, 4, 1, GROUND, 0);
    AppendFieldObject(4, 4, 1, ONBANK_ITEM, 0);
    AppendFieldObject(4, 4, 1, CREATURE, 9);
    AppendFieldObject(4, 4, 1, ITEM_B, 0);
    AppendFieldObject(4, 4, 1, ITEM_A, 0);
    EXPECT_EQ(DrawnTypes(4, 4, 1), (std::vector<int>{GROUND, ONBANK_ITEM, ITEM_A, ITEM_B, CREATURE}));
    EXPECT_EQ(GetNextFieldObject().Type, 0);  // stays at the end
}

TEST_F(MapTest, FullFieldInsertAndDelete) {
    AppendFieldObject(1, 1, 0, GROUND, 0);
    for (int n = 0; n < 9; n++) AppendFieldObject(1, 1, 0, ITEM_B, uint32_t(n));
    EXPECT_ASSERTION(AppendFieldObject(1, 1, 0, ITEM_A, 0), "Point.ObjectCount<OBJECTS_PER_POINT");
    EXPECT_EQ(GetObjectCount(1, 1, 0), 10);
    // the new object goes to position 1 and the top one (data 8) falls off
    InsertFieldObject(1, 1, 0, ITEM_A, 0);
    EXPECT_EQ(GetObjectCount(1, 1, 0), 10);
    EXPECT_EQ(GetFieldObject(1, 1, 0, 1).Type, ITEM_A);
    EXPECT_EQ(GetFieldObject(1, 1, 0, 9).Data, 7u);

    EXPECT_TRUE(DeleteFieldObject(1, 1, 0, 1));
    EXPECT_EQ(GetObjectCount(1, 1, 0), 9);
    EXPECT_EQ(GetFieldObject(1, 1, 0, 1).Data, 0u);
    EXPECT_EQ(GetFieldObject(1, 1, 0, 8).Data, 7u);
    EXPECT_FALSE(DeleteFieldObject(1, 1, 0, 8));
    EXPECT_ASSERTION(DeleteFieldObject(1, 1, 0, 8), "In(Position,0,Point.ObjectCount-1)");
    EXPECT_ASSERTION(ChangeFieldObject(1, 1, 0, 9, ITEM_A, 0), "In(Position,0,Point.ObjectCount-1)");

    // ten objects that all belong below an ordinary object: nothing to displace
    for (int n = 0; n < 10; n++) AppendFieldObject(2, 1, 0, ONBANK_ITEM, 0);
    InsertFieldObject(2, 1, 0, ITEM_A, 0);
    EXPECT_EQ(StoredTypes(2, 1, 0), std::vector<int>(10, ONBANK_ITEM));
}

// Appending a list is appending its objects one by one: the same stack, the
// same draw order, the same hook marks, also onto a field that holds objects
// already; what finds no room is reported and left out.
TEST_F(MapTest, AppendedListEqualsAppendingOneByOne) {
    uint32_t Seed = 3;
    auto Random = [&Seed](int n) {
        Seed = Seed * 1103515245u + 12345u;
        return int((Seed >> 16) % uint32_t(n));
    };
    const int Kinds[] = {GROUND, ONBANK_ITEM, BOTTOM_ITEM, TOP_ITEM, ITEM_A, ITEM_B, PICTURE, BANNER,
                         HOOK_A, HOOK_B,      WALL,        GRATE,    COINS,  CREATURE};
    for (int Round = 0; Round < 200; Round++) {
        ClearMap();
        const int Before = Random(6), Listed = Random(11 - Before);
        std::vector<ObjectInstance> List;
        for (int n = 0; n < Before + Listed; n++) {
            const ObjectInstance O{Kinds[Random(14)], uint32_t(Random(100)), 0};
            AppendFieldObject(1, 1, 0, O.Type, O.Data);  // the reference, one at a time
            if (n < Before)
                AppendFieldObject(2, 1, 0, O.Type, O.Data);
            else
                List.push_back(ObjectInstance{O.Type, O.Data, 7});  // a hook mark on the way in is not kept
        }
        AppendFieldObjects(2, 1, 0, List.data(), int(List.size()));
        const Point &A = GetPoint(1, 1, 0), &B = GetPoint(2, 1, 0);
        ASSERT_EQ(B.ObjectCount, A.ObjectCount) << Round;
        for (int p = 0; p < A.ObjectCount; p++) {
            ASSERT_EQ(B.ObjectStack[p].Type, A.ObjectStack[p].Type) << Round << " #" << p;
            ASSERT_EQ(B.ObjectStack[p].Data, A.ObjectStack[p].Data) << Round << " #" << p;
            ASSERT_EQ(B.ObjectStack[p].Hook, A.ObjectStack[p].Hook) << Round << " #" << p;
            ASSERT_EQ(B.DrawOrder[p], A.DrawOrder[p]) << Round << " #" << p;
        }
    }
    const ObjectInstance Three[] = {{ITEM_A, 1, 0}, {ITEM_B, 2, 0}, {ITEM_A, 3, 0}};
    ClearMap();
    for (int n = 0; n < 8; n++) AppendFieldObject(3, 3, 0, ITEM_B, 0);
    EXPECT_ASSERTION(AppendFieldObjects(3, 3, 0, Three, 3), "Point.ObjectCount<OBJECTS_PER_POINT");
    EXPECT_EQ(GetObjectCount(3, 3, 0), 10);
    EXPECT_EQ(GetFieldObject(3, 3, 0, 9).Data, 2u);
    AppendFieldObjects(3, 4, 0, Three, 0);
    EXPECT_EQ(GetObjectCount(3, 4, 0), 0);
}

TEST_F(MapTest, ChangeReplacesTypeAndData) {
    AppendFieldObject(5, 5, 0, GROUND, 0);
    AppendFieldObject(5, 5, 0, COINS, 3);
    ChangeFieldObject(5, 5, 0, 1, COINS, 40);
    EXPECT_EQ(GetFieldObject(5, 5, 0, 1).Data, 40u);
    EXPECT_ASSERTION(GetFieldObject(5, 5, 0, 10), "In(Position,0,OBJECTS_PER_POINT-1)");
}

TEST_F(MapTest, CoordinatesAreChecked) {
    EXPECT_ASSERTION(GetObjectCount(18, 0, 0), "In(rx,0,MAPSIZE_X-1)");
    EXPECT_ASSERTION(InsertFieldObject(0, 14, 0, ITEM_A, 0), "In(ry,0,MAPSIZE_Y-1)");
    EXPECT_ASSERTION(ClearField(0, 0, -1, true), "In(rz,0,MAPSIZE_Z-1)");
}

TEST_F(MapTest, HangingObjectTakesTheLowestHook) {
    AppendFieldObject(6, 6, 0, GROUND, 0);
    AppendFieldObject(6, 6, 0, HOOK_A, 0);
    AppendFieldObject(6, 6, 0, HOOK_B, 0);
    AppendFieldObject(6, 6, 0, PICTURE, 0);
    EXPECT_EQ(GetFieldObject(6, 6, 0, 3).Hook, 18);
    DeleteFieldObject(6, 6, 0, 1);
    EXPECT_EQ(GetFieldObject(6, 6, 0, 2).Hook, 19);
    DeleteFieldObject(6, 6, 0, 1);
    EXPECT_EQ(GetFieldObject(6, 6, 0, 1).Hook, 0);  // no hook left to hang on
}

TEST_F(MapTest, TopObjectAndTopCreatureOrObject) {
    int Position = -1;
    EXPECT_EQ(GetTopObject(0, 0, 0, Position).Type, 0);
    EXPECT_EQ(Position, 0);
    AppendFieldObject(3, 4, 0, GROUND, 0);
    EXPECT_EQ(GetTopObject(3, 4, 0, Position).Type, GROUND);
    AppendFieldObject(3, 4, 0, BOTTOM_ITEM, 0);
    AppendFieldObject(3, 4, 0, CREATURE, 3);
    AppendFieldObject(3, 4, 0, ANVIL, 0);
    AppendFieldObject(3, 4, 0, ITEM_A, 0);
    // the anvil cannot be moved: the one below it is taken
    EXPECT_EQ(GetTopObject(3, 4, 0, Position).Type, CREATURE);
    EXPECT_EQ(Position, 2);
    EXPECT_EQ(GetTopCreatureOrObject(3, 4, 0, Position).Type, CREATURE);
    EXPECT_EQ(Position, 2);
    // only layer classes: the scan ends at the last one
    AppendFieldObject(4, 4, 0, GROUND, 0);
    AppendFieldObject(4, 4, 0, BOTTOM_ITEM, 0);
    EXPECT_EQ(GetTopObject(4, 4, 0, Position).Type, BOTTOM_ITEM);
    EXPECT_EQ(Position, 1);
}

TEST_F(MapTest, UseTargetAndDragSource) {
    int Position = -1;
    AppendFieldObject(7, 7, 0, GROUND, 0);
    AppendFieldObject(7, 7, 0, POOL, 2);
    AppendFieldObject(7, 7, 0, CREATURE, 11);
    AppendFieldObject(7, 7, 0, ITEM_A, 0);
    // the scan stops at the pool, and steps down from it to the ground
    EXPECT_EQ(GetUseTarget(7, 7, 0, Position).Type, GROUND);
    EXPECT_EQ(Position, 0);
    EXPECT_EQ(GetDragSource(7, 7, 0, Position).Type, GROUND);

    AppendFieldObject(8, 7, 0, GROUND, 0);
    AppendFieldObject(8, 7, 0, CREATURE, 11);
    AppendFieldObject(8, 7, 0, ITEM_A, 0);
    AppendFieldObject(8, 7, 0, ITEM_B, 0);
    EXPECT_EQ(GetUseTarget(8, 7, 0, Position).Type, ITEM_A);  // creatures are skipped
    EXPECT_EQ(Position, 2);
    EXPECT_EQ(GetDragSource(8, 7, 0, Position).Type, CREATURE);  // but they end a drag scan
    EXPECT_EQ(Position, 1);

    AppendFieldObject(9, 7, 0, GROUND, 0);
    AppendFieldObject(9, 7, 0, LEVER, 0);
    AppendFieldObject(9, 7, 0, ITEM_A, 0);
    EXPECT_EQ(GetUseTarget(9, 7, 0, Position).Type, LEVER);
    EXPECT_EQ(Position, 1);

    // the last position is never examined: a lone creature on ground is stepped over
    AppendFieldObject(10, 7, 0, GROUND, 0);
    AppendFieldObject(10, 7, 0, CREATURE, 12);
    EXPECT_EQ(GetUseTarget(10, 7, 0, Position).Type, GROUND);
    EXPECT_EQ(GetDragSource(10, 7, 0, Position).Type, CREATURE);
    EXPECT_EQ(Position, 1);
}

TEST_F(MapTest, WalkableWithAndWithoutClimbing) {
    EXPECT_TRUE(IsWalkable(9, 6, 0, false));  // no instances at all
    AppendFieldObject(9, 6, 0, GROUND, 0);
    EXPECT_TRUE(IsWalkable(9, 6, 0, false));
    AppendFieldObject(9, 6, 0, CREATURE, 1);
    EXPECT_FALSE(IsWalkable(9, 6, 0, false));
    AppendFieldObject(10, 6, 0, GROUND, 0);
    AppendFieldObject(10, 6, 0, WALL, 0);
    EXPECT_FALSE(IsWalkable(10, 6, 0, true));

    // a field one floor up without ground, above a pile of three crates
    AppendFieldObject(12, 8, 0, GROUND, 0);
    for (int n = 0; n < 3; n++) AppendFieldObject(12, 8, 0, CRATE, 0);
    AppendFieldObject(11, 7, 1, WALL, 0);
    EXPECT_FALSE(IsWalkable(11, 7, 1, false));
    EXPECT_TRUE(IsWalkable(11, 7, 1, true));
    DeleteFieldObject(12, 8, 0, 3);  // two crates are not enough
    EXPECT_FALSE(IsWalkable(11, 7, 1, true));

    // standing on three crates the player can climb anywhere
    AppendFieldObject(8, 6, 0, GROUND, 0);
    for (int n = 0; n < 3; n++) AppendFieldObject(8, 6, 0, CRATE, 0);
    EXPECT_EQ(GetHeightCount(8, 6, 0), 3);
    EXPECT_TRUE(IsWalkable(10, 6, 0, true));
    EXPECT_FALSE(IsWalkable(10, 6, 0, false));
}

TEST_F(MapTest, RoofLightThroughAndAutomapSample) {
    AppendFieldObject(1, 2, 0, GROUND, 0);
    EXPECT_TRUE(HasRoof(1, 2, 0));
    EXPECT_FALSE(IsLightThrough(1, 2, 0));
    AppendFieldObject(1, 2, 0, OPENING, 0);
    AppendFieldObject(1, 2, 0, GRATE, 0);
    EXPECT_FALSE(HasRoof(1, 2, 0));
    EXPECT_TRUE(IsLightThrough(1, 2, 0));

    int Colour, Speed;
    GetAutomapSample(1, 2, 0, Colour, Speed);
    EXPECT_EQ(Colour, 24);
    EXPECT_EQ(Speed, 150);
    AppendFieldObject(2, 2, 0, SWAMP, 0);
    GetAutomapSample(2, 2, 0, Colour, Speed);
    EXPECT_EQ(Colour, 30);
    EXPECT_EQ(Speed, 250);
    AppendFieldObject(3, 2, 0, GROUND, 0);
    AppendFieldObject(3, 2, 0, WALL, 0);
    GetAutomapSample(3, 2, 0, Colour, Speed);
    EXPECT_EQ(Colour, 86);  // the last automap colour of the stack wins
    EXPECT_EQ(Speed, 255);
    AppendFieldObject(4, 2, 0, GROUND, 0);
    AppendFieldObject(4, 2, 0, FIRE, 0);
    GetAutomapSample(4, 2, 0, Colour, Speed);
    EXPECT_EQ(Speed, 255);
    GetAutomapSample(5, 2, 0, Colour, Speed);  // empty field
    EXPECT_EQ(Colour, 0);
    EXPECT_EQ(Speed, 255);
}

TEST_F(MapTest, ClearFieldReportsCreaturesAndClearMapDoesNot) {
    InitMap(RecordRemoval);
    Removed.clear();
    AppendFieldObject(2, 3, 0, GROUND, 0);
    AppendFieldObject(2, 3, 0, CREATURE, 0x40000001);
    AppendFieldObject(2, 3, 0, CREATURE, 17);
    AddGraphicEffect(2, 3, 0, 1);
    ClearField(2, 3, 0, false);
    EXPECT_EQ(Removed, (std::vector<uint32_t>{0x40000001u, 17u}));
    EXPECT_EQ(GetObjectCount(2, 3, 0), 0);
    EXPECT_EQ(FieldEffects(2, 3, 0).size(), 1u);
    ClearField(2, 3, 0, true);
    EXPECT_TRUE(FieldEffects(2, 3, 0).empty());

    AppendFieldObject(2, 3, 0, CREATURE, 5);
    AddGraphicEffect(2, 3, 0, 1);
    Removed.clear();
    ClearMap();
    EXPECT_TRUE(Removed.empty());
    EXPECT_EQ(GetObjectCount(2, 3, 0), 0);
    EXPECT_EQ(GetFirstFieldEffect(2, 3, 0), -1);
    InitMap(nullptr);
}

TEST_F(MapTest, ScrollEastClearsOnlyTheNewEastColumn) {
    InitMap(RecordRemoval);
    SetMapPosition(1000, 2000, 7);
    Removed.clear();
    for (int rz = 0; rz < MAPSIZE_Z; rz++)
        for (int ry = 0; ry < MAPSIZE_Y; ry++)
            for (int rx = 0; rx < MAPSIZE_X; rx++) AppendFieldObject(rx, ry, rz, COINS, uint32_t(rx + 100 * ry));
    AppendFieldObject(0, 5, 3, CREATURE, 77);
    AddGraphicEffect(0, 9, 2, 1);
    int SlotBefore = GetPointSlot(5, 5, 0);

    ScrollMap(-1, 0);
    int x, y, z;
    GetMapPosition(x, y, z);
    EXPECT_EQ(x, 1001);
    EXPECT_EQ(y, 2000);
    int Empty = 0;
    for (int rz = 0; rz < MAPSIZE_Z; rz++)
        for (int ry = 0; ry < MAPSIZE_Y; ry++)
            for (int rx = 0; rx < MAPSIZE_X; rx++) {
                if (GetObjectCount(rx, ry, rz) == 0) {
                    Empty++;
                    EXPECT_EQ(rx, 17);
                } else {
                    EXPECT_EQ(GetFieldObject(rx, ry, rz, 0).Data, uint32_t(rx + 1 + 100 * ry));
                }
            }
    EXPECT_EQ(Empty, 14 * 8);
    EXPECT_EQ(GetPointSlot(4, 5, 0), SlotBefore);  // the record stayed, its index moved
    EXPECT_EQ(Removed, (std::vector<uint32_t>{77u}));
    EXPECT_EQ(GetFirstFieldEffect(17, 9, 2), -1);  // the old west column's effect went with it

    ScrollMap(0, 1);  // north: the south row comes back empty at the north edge
    GetMapPosition(x, y, z);
    EXPECT_EQ(y, 1999);
    for (int rx = 0; rx < MAPSIZE_X; rx++) EXPECT_EQ(GetObjectCount(rx, 0, 4), 0);
    EXPECT_EQ(GetFieldObject(3, 1, 4, 0).Data, uint32_t(4 + 100 * 0));
    InitMap(nullptr);
}

TEST_F(MapTest, LevelChangeRotatesLevels) {
    for (int rz = 0; rz < MAPSIZE_Z; rz++) AppendFieldObject(3, 3, rz, COINS, uint32_t(rz));
    ChangeMapLevel(1);
    EXPECT_EQ(GetObjectCount(3, 3, 0), 0);
    for (int rz = 1; rz <= 4; rz++) EXPECT_EQ(GetFieldObject(3, 3, rz, 0).Data, uint32_t(rz - 1));
    for (int rz = 5; rz < MAPSIZE_Z; rz++) EXPECT_EQ(GetObjectCount(3, 3, rz), 0);

    ChangeMapLevel(-3);
    EXPECT_EQ(GetFieldObject(3, 3, 0, 0).Data, 2u);
    EXPECT_EQ(GetFieldObject(3, 3, 1, 0).Data, 3u);
    for (int rz = 2; rz < MAPSIZE_Z; rz++) EXPECT_EQ(GetObjectCount(3, 3, rz), 0);
}

TEST_F(MapTest, EffectListsAndTheEffectTableLimit) {
    AddGraphicEffect(4, 4, 0, 1);
    AddTextEffect(4, 4, 0, 180, "123456789");
    EXPECT_ASSERTION(AddTextEffect(4, 4, 0, 180, "1234567890"), "Text!=NULL && strlen(Text)<10");
    EXPECT_ASSERTION(AddTextEffect(4, 4, 0, 180, nullptr), "Text!=NULL && strlen(Text)<10");
    std::vector<int> List = FieldEffects(4, 4, 0);
    ASSERT_EQ(List.size(), 2u);
    EXPECT_EQ(GetEffectStatus(List[0]), EFFECT_TEXT);  // newest first
    EXPECT_STREQ(GetTextEffectText(List[0]), "123456789");
    EXPECT_EQ(GetTextEffectColour(List[0]), 180);
    EXPECT_EQ(GetGraphicEffectPhase(List[1]), 1);
    EXPECT_ASSERTION(GetGraphicEffectType(List[0]), "Effects[EffectNumber].Status==1");
    EXPECT_ASSERTION(GetTextEffectCounter(List[1]), "Effects[EffectNumber].Status==2");
    EXPECT_ASSERTION(GetMissileEffectType(List[1]), "Effects[EffectNumber].Status==3");
    EXPECT_ASSERTION(GetGraphicEffectType(EFFECTS), "In(EffectNumber,0,EFFECTS-1)");

    // outside the cube: linked to cube field (0,0,0)
    AddGraphicEffect(-1, 40, 0, 1);
    EXPECT_EQ(FieldEffects(0, 0, 0).size(), 1u);

    for (int n = 3; n < EFFECTS; n++) AddGraphicEffect(5, 5, 0, 1);
    EXPECT_EQ(FieldEffects(5, 5, 0).size(), size_t(EFFECTS - 3));
    AddGraphicEffect(6, 5, 0, 1);  // the 201st
    AddTextEffect(6, 5, 0, 1, "x");
    EXPECT_EQ(GetFirstFieldEffect(6, 5, 0), -1);
    // a freed entry is reused at once
    ClearField(4, 4, 0, true);
    AddGraphicEffect(6, 5, 0, 1);
    EXPECT_EQ(GetFirstFieldEffect(6, 5, 0), List[1]);
}

TEST_F(MapTest, EffectsAgeWithTheTimer) {
    AddGraphicEffect(4, 4, 0, 1);  // effect type 1 has three phases
    AddTextEffect(5, 4, 0, 1, "hit");
    int Graphic = GetFirstFieldEffect(4, 4, 0), Text = GetFirstFieldEffect(5, 4, 0);
    AdvanceEffects();
    AdvanceEffects();
    EXPECT_EQ(GetGraphicEffectPhase(Graphic), 3);
    AdvanceEffects();
    EXPECT_EQ(GetFirstFieldEffect(4, 4, 0), -1);
    for (int n = 3; n < 10; n++) AdvanceEffects();
    EXPECT_EQ(GetTextEffectCounter(Text), 10);
    AdvanceEffects();  // the eleventh tick
    EXPECT_EQ(GetFirstFieldEffect(5, 4, 0), -1);
}

TEST_F(MapTest, MissileDirectionDurationAndFlight) {
    AddMissile(5, 5, 0, 5, 9, 0, 1);
    int e = GetFirstFieldEffect(5, 5, 0);
    ASSERT_NE(e, -1);
    EXPECT_EQ(GetMissileEffectDirection(e), 4);
    EXPECT_EQ(GetMissileEffectType(e), 1);
    int x, y;
    GetMissileEffectOffset(e, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);  // drawn on its start field

    // 300 ms: half-way at 150 ms it is over the field two to the south
    MoveMissiles(Now + 150);
    EXPECT_EQ(GetFirstFieldEffect(5, 5, 0), -1);
    EXPECT_EQ(GetFirstFieldEffect(5, 7, 0), e);
    GetMissileEffectOffset(e, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    MoveMissiles(Now + 225);
    EXPECT_EQ(GetFirstFieldEffect(5, 8, 0), e);
    GetMissileEffectOffset(e, x, y);
    EXPECT_EQ(y, 0);
    MoveMissiles(Now + 300);
    EXPECT_EQ(GetFirstFieldEffect(5, 9, 0), e);  // arrived, shown until the end has passed
    MoveMissiles(Now + 301);
    EXPECT_EQ(GetFirstFieldEffect(5, 9, 0), -1);

    // a missile to another floor is not shown
    AddMissile(5, 5, 0, 5, 9, 1, 1);
    AddMissile(5, 5, 1, 5, 9, 1, 1);
    EXPECT_EQ(GetFirstFieldEffect(5, 5, 0), -1);
    EXPECT_EQ(GetFirstFieldEffect(5, 5, 1), -1);
}

TEST_F(MapTest, MissileDirectionsFromTheSlope) {
    struct Case {
        int tx, ty, Direction;
    } Cases[] = {{8, 1, 0},  {12, 1, 1}, {13, 6, 2},  {12, 11, 3}, {8, 11, 4}, {4, 11, 5}, {3, 6, 6},
                 {4, 1, 7},  {13, 7, 2}, {13, 8, 2}, {13, 9, 3}, {9, 1, 0}, {10, 1, 0}, {11, 1, 1}, {3, 7, 6}, {3, 8, 6}, {3, 9, 5}};
    for (const Case& C : Cases) {
        ClearMap();
        AddMissile(8, 6, 0, C.tx, C.ty, 0, 1);
        int e = GetFirstFieldEffect(8, 6, 0);
        ASSERT_NE(e, -1);
        EXPECT_EQ(GetMissileEffectDirection(e), C.Direction) << C.tx << "," << C.ty;
    }
    // sqrt of a distance of 5 is 2.23: 2 * 150 ms
    ClearMap();
    AddMissile(8, 6, 0, 13, 6, 0, 1);
    int e = GetFirstFieldEffect(8, 6, 0);
    MoveMissiles(Now + 300);
    MoveMissiles(Now + 301);
    EXPECT_EQ(GetFirstFieldEffect(13, 6, 0), -1);
    EXPECT_EQ(GetEffectStatus(e), EFFECT_FREE);
}

TEST_F(MapTest, AMissileShotFromBeyondTheCubeFliesInAndOneLeavingItWaitsOutside) {
    // From three fields beyond the west edge to (5, 6): 8 fields, 300 ms.
    AddMissile(-3, 6, 0, 5, 6, 0, 1);
    const int e = GetFirstFieldEffect(0, 0, 0);
    ASSERT_NE(e, -1);
    EXPECT_EQ(GetMissileEffectDirection(e), 2);
    int x, y;
    GetMissileEffectOffset(e, x, y);  // drawn where it is, measured from the field it waits on
    EXPECT_EQ(x, -3 * 32);
    EXPECT_EQ(y, 6 * 32);
    // the player steps west: the waiting place scrolls away and is taken again
    ScrollMap(1, 0);
    MoveMissiles(Now);
    EXPECT_EQ(FieldEffects(1, 0, 0).size(), 0u);
    EXPECT_EQ(FieldEffects(0, 0, 0), std::vector<int>{e});
    GetMissileEffectOffset(e, x, y);
    EXPECT_EQ(x, -2 * 32);
    MoveMissiles(Now + 19);  // still one field beyond the edge and 15 pixels further east
    EXPECT_EQ(FieldEffects(0, 0, 0), std::vector<int>{e});
    GetMissileEffectOffset(e, x, y);
    EXPECT_EQ(x, -32 - 15);
    MoveMissiles(Now + 75);  // a quarter of the way: in the cube's first column
    EXPECT_EQ(FieldEffects(0, 0, 0).size(), 0u);
    EXPECT_EQ(GetFirstFieldEffect(0, 6, 0), e);
    MoveMissiles(Now + 150);  // half-way: over the third column
    EXPECT_EQ(FieldEffects(0, 0, 0).size(), 0u);
    EXPECT_EQ(GetFirstFieldEffect(2, 6, 0), e);
    GetMissileEffectOffset(e, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    MoveMissiles(Now + 300);
    EXPECT_EQ(GetFirstFieldEffect(6, 6, 0), e);
    MoveMissiles(Now + 301);
    EXPECT_EQ(GetEffectStatus(e), EFFECT_FREE);

    // From the player's field far out east (40 fields, 900 ms): it leaves the
    // cube, waits outside, and is freed at its end like any other.
    AddMissile(8, 6, 0, 48, 6, 0, 1);
    const int f = GetFirstFieldEffect(8, 6, 0);
    ASSERT_NE(f, -1);
    MoveMissiles(Now + 600);
    EXPECT_EQ(FieldEffects(0, 0, 0), std::vector<int>{f});
    GetMissileEffectOffset(f, x, y);
    EXPECT_GT(x, 17 * 32);
    MoveMissiles(Now + 901);
    EXPECT_EQ(GetEffectStatus(f), EFFECT_FREE);
    EXPECT_EQ(FieldEffects(0, 0, 0).size(), 0u);
}

TEST_F(MapTest, AmbientLightFirstAtOnceThenStepByStep) {
    int r, g, b;
    // before the first light message: full white daylight, and no step
    StepAmbientLight();
    EXPECT_EQ(GetAmbientBrightness(), 255);
    GetAmbientColour(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255);
    SetAmbientLight(200, 215);  // 215 = 5*36 + 5*6 + 5: white
    EXPECT_EQ(GetAmbientBrightness(), 200);
    GetAmbientColour(r, g, b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(b, 255);
    SetAmbientLight(198, 173);  // 4*36 + 4*6 + 5
    EXPECT_EQ(GetAmbientBrightness(), 200);
    StepAmbientLight();
    EXPECT_EQ(GetAmbientBrightness(), 199);
    GetAmbientColour(r, g, b);
    EXPECT_EQ(r, 254);
    EXPECT_EQ(g, 254);
    EXPECT_EQ(b, 255);
    StepAmbientLight();
    StepAmbientLight();
    EXPECT_EQ(GetAmbientBrightness(), 198);
    ResetAmbientLight();  // entering the game again
    EXPECT_EQ(GetAmbientBrightness(), 255);
    SetAmbientLight(40, 0);
    EXPECT_EQ(GetAmbientBrightness(), 40);
    GetAmbientColour(r, g, b);
    EXPECT_EQ(r + g + b, 0);
}

}  // namespace
