#include "TestWorld.h"
#include "world/Objects.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace testworld;
using testing_support::ScopedWorkDir;

namespace {

struct ObjectsTest : ::testing::Test {
    ScopedWorkDir Dir;
    void TearDown() override { UnloadObjects(); }
};

TEST_F(ObjectsTest, ReadsHeaderFlagsAndParameters) {
    WriteTestWorld("Vorna.dat");
    LoadObjects("Vorna.dat");
    EXPECT_EQ(GetObjectsSignature(), 0x12345678u);
    EXPECT_EQ(GetHighestItemNumber(), HIGHEST_ITEM);
    EXPECT_EQ(GetNumberOfOutfits(), 1);
    EXPECT_EQ(GetNumberOfEffects(), 1);
    EXPECT_EQ(GetNumberOfMissiles(), 1);

    EXPECT_TRUE(GetObjectFlag(GROUND, BANK));
    EXPECT_FALSE(GetObjectFlag(GROUND, ONBANK));
    EXPECT_EQ(GetObjectBankValue(GROUND), 150);
    EXPECT_EQ(GetObjectAutomapColour(GROUND), 24);
    EXPECT_EQ(GetObjectBankValue(SWAMP), 400);
    EXPECT_TRUE(GetObjectFlag(WALL, BOTTOM));
    EXPECT_TRUE(GetObjectFlag(WALL, UNPASS));
    EXPECT_EQ(GetObjectAutomapColour(WALL), 86);
    EXPECT_EQ(GetObjectElevation(CRATE), 8);
    EXPECT_TRUE(GetObjectFlag(BANNER, HANG));
    EXPECT_EQ(GetObjectPatternWidth(BANNER), 2);
    EXPECT_EQ(GetEffectPhases(1), 3);
    EXPECT_EQ(GetOutfitPhases(1), 3);
    EXPECT_EQ(GetMissileLayers(1), 1);
}

TEST_F(ObjectsTest, DisplaySizeByteOnlyForLargerEntries) {
    DatWriter W(1, 102, 0, 0, 0);
    W.Record(1, 1, 1, 1, 1, 1, 1, /*DisplaySize*/ 77);  // no byte written for 1 x 1
    W.Flag(LIGHT, {3, 215}).Flag(SHIFT, {8, 4});
    W.Record(2, 1, 1, 1, 1, 1, 1, /*DisplaySize*/ 64);
    W.Flag(WRITE, {300}).Flag(LENSHELP, {1002});  // proves the record before was read to its last byte
    W.Record(1, 1, 1, 1, 1, 1, 1);
    W.Save("t.dat");
    LoadObjects("t.dat");
    EXPECT_EQ(GetObjectDisplaySize(100), 32);
    EXPECT_EQ(GetObjectDisplaySize(101), 64);
    EXPECT_EQ(GetObjectWidth(101), 2);
    EXPECT_EQ(GetObjectLightBrightness(101), 3);
    EXPECT_EQ(GetObjectLightColour(101), 215);
    EXPECT_EQ(GetObjectShiftX(101), 8);
    EXPECT_EQ(GetObjectShiftY(101), 4);
    EXPECT_EQ(GetObjectTextParameter(102), 300);
    EXPECT_EQ(GetObjectLensHelp(102), 1002);
    EXPECT_EQ(GetHighestItemNumber(), 102);
}

TEST_F(ObjectsTest, RecordWithoutFlagsIsTheEndByteAndDimensions) {
    DatWriter W(1, 100, 0, 0, 0);
    W.Record(1, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(W.Bytes.size(), 12u + 8u + 2u);  // header, 255 and seven dimension bytes, one sprite
    W.Save("t.dat");
    LoadObjects("t.dat");
    for (int Flag = 0; Flag < 32; Flag++) EXPECT_FALSE(GetObjectFlag(100, Flag)) << Flag;
}

TEST_F(ObjectsTest, EmptyTablesAndOutOfTableTypes) {
    DatWriter(7, 99, 0, 0, 0).Save("t.dat");
    LoadObjects("t.dat");
    EXPECT_EQ(GetHighestItemNumber(), 99);
    EXPECT_EQ(GetNumberOfOutfits(), 0);
    EXPECT_ASSERTION(GetObjectFlag(100, BANK), "(i>=0 && i<d)");
    EXPECT_ASSERTION(GetOutfitPhases(1), "(i>=0 && i<d)");
    EXPECT_ASSERTION(GetEffectPhases(0), "(i>=0 && i<d)");
    EXPECT_ASSERTION(GetMissileWidth(1), "(i>=0 && i<d)");
}

TEST_F(ObjectsTest, CreaturePseudoTypeIsOnlyUnpassable) {
    DatWriter(7, 99, 0, 0, 0).Save("t.dat");
    LoadObjects("t.dat");
    for (int Flag = 0; Flag < 32; Flag++) EXPECT_EQ(GetObjectFlag(CREATURE, Flag), Flag == UNPASS) << Flag;
}

TEST_F(ObjectsTest, MissingShortAndInvalidFilesThrow) {
    try {
        LoadObjects("Vorna.dat");
        FAIL() << "no exception";
    } catch (const ObjectFileError& e) {
        EXPECT_STREQ(e.what(), "Cannot open file Vorna.dat");
    }

    DatWriter Short(1, 100, 0, 0, 0);
    Short.U8(0xFF);
    Short.U8(1);  // the record ends after its width
    Short.Save("short.dat");
    try {
        LoadObjects("short.dat");
        FAIL() << "no exception";
    } catch (const ObjectFileError& e) {
        EXPECT_STREQ(e.what(), "error in binary-file \"short.dat\": Out of data!.");
    }

    DatWriter Bad(1, 100, 0, 0, 0);
    Bad.Flag(40);
    Bad.Record(1, 1, 1, 1, 1, 1, 1);
    Bad.Save("bad.dat");
    auto ErrorOf = [](const char* FileName) -> std::string {
        try {
            LoadObjects(FileName);
        } catch (const ObjectFileError& e) {
            return e.what();
        }
        return "no error";
    };
    EXPECT_EQ(ErrorOf("bad.dat"), "error in binary-file \"bad.dat\": Unknown flag code 40.");

    // A dimension of 0 leaves nothing to draw at coordinate 1 of it.
    DatWriter Flat(1, 101, 0, 0, 0);
    Flat.Record(1, 1, 1, 1, 1, 1, 1);
    Flat.Record(1, 1, 1, 1, 1, 0, 1);
    Flat.Save("flat.dat");
    EXPECT_EQ(ErrorOf("flat.dat"), "error in binary-file \"flat.dat\": Type record with a dimension of 0.");
    // The fuzzer's damaged file whose dimensions ask for 2^56 sprite numbers:
    // the file is too short for them, and nothing that large is allocated.
    std::filesystem::copy_file(testing_support::SourceDir() / "tests/data/objects-endless-sprite-list.dat", "long.dat");
    EXPECT_EQ(ErrorOf("long.dat"), "error in binary-file \"long.dat\": Out of data!.");

    EXPECT_ASSERTION(LoadObjects(nullptr), "FileName!=NULL");
}

TEST_F(ObjectsTest, SecondLoadReplacesTheTables) {
    WriteTestWorld("Vorna.dat");
    LoadObjects("Vorna.dat");
    DatWriter W(99, 100, 0, 0, 0);
    W.Simple({TAKE});
    W.Save("other.dat");
    LoadObjects("other.dat");
    EXPECT_EQ(GetObjectsSignature(), 99u);
    EXPECT_EQ(GetHighestItemNumber(), 100);
    EXPECT_TRUE(GetObjectFlag(100, TAKE));
    EXPECT_FALSE(GetObjectFlag(100, BANK));
    UnloadObjects();
    UnloadObjects();  // safe when nothing is loaded
    EXPECT_EQ(GetHighestItemNumber(), 99);
}

TEST_F(ObjectsTest, SpriteIndexRunsXFastestAndPhaseSlowest) {
    DatWriter W(1, 100, 1, 1, 0);
    W.Record(2, 2, 2, 3, 2, 2, 2, 64, 1000);  // 2*2*2*3*2*2*2 = 192 sprites: 1000..1191
    W.Record(1, 1, 1, 4, 1, 1, 2, 64, 500);   // outfit: direction columns, two phases
    W.Record(1, 1, 2, 1, 1, 1, 3, 64, 700);   // effect: two layers, three phases
    W.Save("t.dat");
    LoadObjects("t.dat");
    EXPECT_EQ(GetObjectSprite(100, 1, 1, 1, 1, 1, 1, 1), 1000);
    EXPECT_EQ(GetObjectSprite(100, 2, 1, 1, 1, 1, 1, 1), 1001);
    EXPECT_EQ(GetObjectSprite(100, 1, 2, 1, 1, 1, 1, 1), 1002);
    EXPECT_EQ(GetObjectSprite(100, 1, 1, 2, 1, 1, 1, 1), 1004);
    EXPECT_EQ(GetObjectSprite(100, 1, 1, 1, 2, 1, 1, 1), 1008);
    EXPECT_EQ(GetObjectSprite(100, 1, 1, 1, 1, 2, 1, 1), 1024);
    EXPECT_EQ(GetObjectSprite(100, 1, 1, 1, 1, 1, 2, 1), 1048);
    EXPECT_EQ(GetObjectSprite(100, 1, 1, 1, 1, 1, 1, 2), 1096);
    EXPECT_EQ(GetObjectSprite(100, 2, 2, 2, 3, 2, 2, 2), 1191);
    EXPECT_EQ(GetOutfitSprite(1, 1, 1, 1, 3, 2), 507);  // west, second phase
    EXPECT_EQ(GetEffectSprite(1, 1, 1, 2, 3), 705);
}

TEST_F(ObjectsTest, SpriteCoordinateOutOfRangeIsReportedAndDrawsNothing) {
    DatWriter W(1, 100, 0, 0, 0);
    W.Record(1, 1, 1, 2, 1, 1, 1);
    W.Save("t.dat");
    LoadObjects("t.dat");
    EXPECT_ASSERTION(GetObjectSprite(100, 2, 1, 1, 1, 1, 1, 1), "In(X,1,Entry.Width)");
    EXPECT_ASSERTION(GetObjectSprite(100, 1, 0, 1, 1, 1, 1, 1), "In(Y,1,Entry.Height)");
    EXPECT_ASSERTION(GetObjectSprite(100, 1, 1, 2, 1, 1, 1, 1), "In(Layer,1,Entry.Layers)");
    EXPECT_ASSERTION(GetObjectSprite(100, 1, 1, 1, 3, 1, 1, 1), "In(PatternX,1,Entry.PatternWidth)");
    EXPECT_ASSERTION(GetObjectSprite(100, 1, 1, 1, 1, 2, 1, 1), "In(PatternY,1,Entry.PatternHeight)");
    EXPECT_ASSERTION(GetObjectSprite(100, 1, 1, 1, 1, 1, 2, 1), "In(PatternZ,1,Entry.PatternDepth)");
    EXPECT_ASSERTION(GetObjectSprite(100, 1, 1, 1, 1, 1, 1, 0), "In(Phase,1,Entry.Phases)");
}

TEST_F(ObjectsTest, ParameterWithoutItsFlagIsAnAssertion) {
    WriteTestWorld("Vorna.dat");
    LoadObjects("Vorna.dat");
    EXPECT_ASSERTION(GetObjectBankValue(ITEM_A), "GetEntryFlag(Entry,BANK)");
    EXPECT_ASSERTION(GetObjectLightBrightness(ITEM_A), "GetEntryFlag(Entry,LIGHT)");
    EXPECT_ASSERTION(GetObjectLightColour(ITEM_A), "GetEntryFlag(Entry,LIGHT)");
    EXPECT_ASSERTION(GetObjectShiftX(ITEM_A), "GetEntryFlag(Entry,SHIFT)");
    EXPECT_ASSERTION(GetObjectShiftY(ITEM_A), "GetEntryFlag(Entry,SHIFT)");
    EXPECT_ASSERTION(GetObjectElevation(ITEM_A), "GetEntryFlag(Entry,HEIGHT)");
    EXPECT_ASSERTION(GetObjectAutomapColour(ITEM_A), "GetEntryFlag(Entry,AUTOMAP)");
    EXPECT_ASSERTION(GetObjectLensHelp(ITEM_A), "GetEntryFlag(Entry,LENSHELP)");
    EXPECT_ASSERTION(GetOutfitLightBrightness(1), "GetEntryFlag(Entry,LIGHT)");
}

TEST_F(ObjectsTest, MissileCompassSkipsTheCentre) {
    WriteTestWorld("Vorna.dat");
    LoadObjects("Vorna.dat");
    const int Expected[8][2] = {{2, 1}, {3, 1}, {3, 2}, {3, 3}, {2, 3}, {1, 3}, {1, 2}, {1, 1}};
    int FirstSprite = GetMissileSprite(1, 1, 1, 1, 7);  // pattern (1,1) is the first sprite
    for (int Direction = 0; Direction < 8; Direction++) {
        int x, y;
        GetMissilePattern(Direction, x, y);
        EXPECT_EQ(x, Expected[Direction][0]) << Direction;
        EXPECT_EQ(y, Expected[Direction][1]) << Direction;
        EXPECT_EQ(GetMissileSprite(1, 1, 1, 1, Direction), FirstSprite + (x - 1) + 3 * (y - 1)) << Direction;
    }
    EXPECT_ASSERTION(GetMissileSprite(1, 1, 1, 1, 8), "In(Direction,0,7)");
}

TEST_F(ObjectsTest, CumulativePatternByCount) {
    DatWriter W(1, 101, 0, 0, 0);
    W.Flag(CUMULATIVE);
    W.Record(1, 1, 1, 4, 2, 1, 1);
    W.Flag(CUMULATIVE);
    W.Record(1, 1, 1, 1, 2, 1, 1);
    W.Save("t.dat");
    LoadObjects("t.dat");
    const int Counts[] = {1, 2, 3, 4, 5, 9, 10, 24, 25, 49, 50, 0, 255};
    const int Expected[][2] = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {1, 2}, {1, 2}, {2, 2},
                               {2, 2}, {3, 2}, {3, 2}, {4, 2}, {1, 1}, {4, 2}};
    for (size_t n = 0; n < std::size(Counts); n++) {
        int x, y;
        GetCumulativePattern(ObjectInstance{100, uint32_t(Counts[n]), 0}, x, y);
        EXPECT_EQ(x, Expected[n][0]) << Counts[n];
        EXPECT_EQ(y, Expected[n][1]) << Counts[n];
        GetCumulativePattern(ObjectInstance{101, uint32_t(Counts[n]), 0}, x, y);
        EXPECT_EQ(x, 1) << Counts[n];
        EXPECT_EQ(y, Expected[n][1]) << Counts[n];
    }
    int x, y;
    EXPECT_ASSERTION(GetLiquidPattern(ObjectInstance{100, 1, 0}, x, y),
                     "GetObjectFlag(Obj,LIQUIDPOOL) || GetObjectFlag(Obj,LIQUIDCONTAINER)");
    EXPECT_ASSERTION(GetHangPattern(ObjectInstance{100, 1, 0}, x, y), "GetObjectFlag(Obj,HANG)");
}

TEST_F(ObjectsTest, LiquidAndHangPatterns) {
    WriteTestWorld("Vorna.dat");
    LoadObjects("Vorna.dat");
    int x, y;
    GetLiquidPattern(ObjectInstance{POOL, 7, 0}, x, y);
    EXPECT_EQ(x, 4);
    EXPECT_EQ(y, 2);
    GetLiquidPattern(ObjectInstance{BOTTLE, 9, 0}, x, y);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 1);
    EXPECT_ASSERTION(GetCumulativePattern(ObjectInstance{POOL, 1, 0}, x, y), "GetObjectFlag(Obj,CUMULATIVE)");

    y = 5;
    GetHangPattern(ObjectInstance{BANNER, 0, 19}, x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 1);
    GetHangPattern(ObjectInstance{BANNER, 0, 18}, x, y);
    EXPECT_EQ(x, 2);
    GetHangPattern(ObjectInstance{PICTURE, 0, 19}, x, y);
    EXPECT_EQ(x, 3);
    GetHangPattern(ObjectInstance{PICTURE, 0, 0}, x, y);
    EXPECT_EQ(x, 1);
}

}  // namespace
