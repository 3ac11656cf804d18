#include "TestWorld.h"
#include "world/Automap.h"

#ifdef __linux__
#include "config/SyncRecorder.h"
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace testworld;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

std::vector<std::string> Messages;
void RecordMessage(const char* Text) { Messages.push_back(Text); }

struct AutomapTest : WorldTest {
    void SetUp() override {
        WorldTest::SetUp();
        Messages.clear();
        SetAutomapMessageHook(RecordMessage);
    }
    void TearDown() override {
        WorldTest::TearDown();
        SetAutomapMessageHook(nullptr);
    }

    // The two planes of an area file: colour c and speed s everywhere.
    static std::string Planes(char Colour, char Speed) {
        return std::string(65536, Colour) + std::string(65536, Speed);
    }
    static void Quad(std::string& Bytes, uint32_t v) {
        for (int n = 0; n < 4; n++) Bytes.push_back(char((v >> (8 * n)) & 0xFF));
    }
    static void Mark(std::string& Bytes, uint32_t x, uint32_t y, uint32_t Icon, const std::string& Text) {
        Quad(Bytes, x);
        Quad(Bytes, y);
        Quad(Bytes, Icon);
        Bytes.push_back(char(Text.size() & 0xFF));
        Bytes.push_back(char(Text.size() >> 8));
        Bytes += Text;
    }
    static uint32_t QuadAt(const std::string& Bytes, size_t Offset) {
        uint32_t v = 0;
        for (int n = 0; n < 4; n++) v |= uint32_t(uint8_t(Bytes[Offset + n])) << (8 * n);
        return v;
    }
};

TEST_F(AutomapTest, FieldGoesToItsAreaFileAtItsPlaneIndex) {
    EXPECT_EQ(GetAutomapFileName(125, 124, 7), "12512407.map");
    EXPECT_EQ(GetAutomapFileName(1, 2, 15), "00100215.map");
    EXPECT_EQ(GetAutomapIndex(32000, 31900), 156);
    EXPECT_EQ(GetAutomapIndex(32001, 31900), 256 + 156);

    SetMapPosition(32000, 31900, 7);
    AppendFieldObject(8, 6, 0, GROUND, 0);
    EXPECT_FALSE(GetAutomapChanged());
    StoreAutomapField(8, 6);
    EXPECT_TRUE(GetAutomapChanged());
    EXPECT_FALSE(GetAutomapChanged());  // reading clears it
    EXPECT_EQ(GetAutomapColour(32000, 31900, 7), 24);
    EXPECT_EQ(GetAutomapSpeed(32000, 31900, 7), 150);

    SaveAutomap();
    std::string Bytes = ReadFile("12512407.map");
    ASSERT_EQ(Bytes.size(), 131072u + 4u);
    EXPECT_EQ(uint8_t(Bytes[156]), 24);
    EXPECT_EQ(uint8_t(Bytes[65536 + 156]), 150);
    EXPECT_EQ(uint8_t(Bytes[65536 + 157]), 250);  // never seen
    EXPECT_EQ(QuadAt(Bytes, 131072), 0u);
    EXPECT_FALSE(std::filesystem::exists("12512407.map.tmp"));
}

TEST_F(AutomapTest, FieldsOffThePlayersFloorOrUnseenAndNegativeCoordinates) {
    SetMapPosition(1000, 1000, 7);
    AppendFieldObject(9, 6, 0, GROUND, 0);
    AppendFieldObject(9, 6, 0, WALL, 0);
    StoreAutomapField(9, 6);
    EXPECT_TRUE(IsAutomapImpassable(1001, 1000, 7));
    EXPECT_EQ(GetAutomapSpeed(1001, 1000, 7), 255);
    EXPECT_FALSE(IsAutomapImpassable(1002, 1000, 7));
    EXPECT_EQ(GetAutomapSpeed(1002, 1000, 7), 250);
    EXPECT_EQ(GetAutomapColour(1002, 1000, 7), 0);

    EXPECT_TRUE(IsAutomapImpassable(-1, 5, 7));
    EXPECT_EQ(GetAutomapSpeed(5, -1, 7), 1);
    EXPECT_EQ(GetAutomapColour(-1, -1, 7), 0);
    EXPECT_ASSERTION(GetAutomapSpeed(5, 5, 16), "In(z,0,15)");
    EXPECT_ASSERTION(GetAutomapArea(0, -1, 7), "bx>=0 && by>=0 && bz>=0");
}

TEST_F(AutomapTest, SpeedColumnCrossesAreasAndNegativeRows) {
    SetMapPosition(300, 256, 7);
    AppendFieldObject(8, 5, 0, GROUND, 0);  // (300, 255)
    StoreAutomapField(8, 5);
    AppendFieldObject(8, 6, 0, WALL, 0);  // (300, 256)
    StoreAutomapField(8, 6);
    uint8_t Speeds[4];
    GetAutomapSpeedColumn(300, 254, 7, 4, Speeds);
    EXPECT_EQ(Speeds[0], 250);
    EXPECT_EQ(Speeds[1], 150);
    EXPECT_EQ(Speeds[2], 255);
    EXPECT_EQ(Speeds[3], 250);
    GetAutomapSpeedColumn(300, -2, 7, 3, Speeds);
    EXPECT_EQ(Speeds[0], 1);
    EXPECT_EQ(Speeds[1], 1);
    EXPECT_EQ(Speeds[2], 250);
}

TEST_F(AutomapTest, FileWithoutMarksLoadsSilently) {
    WriteFile("00100207.map", Planes(7, 40));
    EXPECT_EQ(GetAutomapColour(256 + 3, 512 + 9, 7), 7);
    EXPECT_EQ(GetAutomapSpeed(256 + 3, 512 + 9, 7), 40);
    std::vector<AutomapMark> Marks;
    int Count = -1;
    GetAutomapMarks(1, 2, 7, Marks, Count);
    EXPECT_EQ(Count, 0);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(AutomapTest, DamagedPlanesAreReportedAndReset) {
    WriteFile("00000007.map", std::string(70000, 9));
    EXPECT_EQ(GetAutomapColour(1, 1, 7), 0);
    EXPECT_EQ(GetAutomapSpeed(1, 1, 7), 250);
    EXPECT_EQ(Messages, (std::vector<std::string>{"Map file '00000007.map' was corrupted!"}));
}

TEST_F(AutomapTest, DamagedMarksKeepThePlanesAndTheMarksReadBefore) {
    std::string Bytes = Planes(3, 60);
    Quad(Bytes, 3);
    Mark(Bytes, 10, 20, 4, "Depot");
    Mark(Bytes, 11, 21, 5, "Temple");
    Bytes += std::string(5, 0);  // the third mark ends early
    WriteFile("00000006.map", Bytes);
    EXPECT_EQ(GetAutomapSpeed(10, 20, 6), 60);
    EXPECT_EQ(Messages, (std::vector<std::string>{"Map file '00000006.map' was corrupted, could not load marks!"}));
    std::vector<AutomapMark> Marks;
    int Count = 0;
    GetAutomapMarks(0, 0, 6, Marks, Count);
    ASSERT_EQ(Count, 2);
    EXPECT_EQ(Marks[1].x, 11);
    EXPECT_EQ(Marks[1].y, 21);
    EXPECT_EQ(Marks[1].Icon, 5);
    EXPECT_EQ(Marks[1].Text, "Temple");
}

TEST_F(AutomapTest, MarksAreCutDeletedAndSavedWithoutTheDeletedOnes) {
    AddAutomapMark(Coordinate{100, 200, 7}, std::string(150, 'a').c_str(), 3);
    AddAutomapMark(Coordinate{101, 200, 7}, "Shop", 1);
    AddAutomapMark(Coordinate{100, 200, 7}, "Twice", 2);
    EXPECT_TRUE(GetAutomapChanged());
    std::vector<AutomapMark> Marks;
    int Count = 0;
    GetAutomapMarks(0, 0, 7, Marks, Count);
    ASSERT_EQ(Count, 3);
    EXPECT_EQ(Marks[0].Text.size(), 99u);

    DeleteAutomapMarks(100, 200, 7);
    GetAutomapMarks(0, 0, 7, Marks, Count);
    EXPECT_EQ(Count, 3);  // deleted records stay until the area is reloaded
    EXPECT_EQ(Marks[0].x, 0);
    EXPECT_EQ(Marks[2].y, 0);
    SaveAutomap();
    std::string Bytes = ReadFile("00000007.map");
    ASSERT_EQ(Bytes.size(), 131072u + 4u + 14u + 4u);
    EXPECT_EQ(QuadAt(Bytes, 131072), 1u);
    EXPECT_EQ(QuadAt(Bytes, 131076), 101u);
    EXPECT_EQ(QuadAt(Bytes, 131084), 1u);
    EXPECT_EQ(Bytes.substr(131090), "Shop");

    EXPECT_ASSERTION(AddAutomapMark(Coordinate{0, 5, 7}, "x", 0), "Coordinate.x>0");
    EXPECT_ASSERTION(AddAutomapMark(Coordinate{5, 0, 7}, "x", 0), "Coordinate.y>0");
    EXPECT_ASSERTION(AddAutomapMark(Coordinate{5, 5, 7}, nullptr, 0), "Text!=NULL");
    EXPECT_ASSERTION(GetAutomapMarks(0, 0, 16, Marks, Count), "In(z,0,15)");
}

TEST_F(AutomapTest, EleventhAreaEvictsAndSavesTheLeastRecentlyUsed) {
    AddAutomapMark(Coordinate{10, 10, 7}, "first", 0);  // area (0,0,7), now dirty
    for (int bx = 1; bx < AUTOMAP_AREAS; bx++) GetAutomapArea(bx, 0, 7);
    EXPECT_FALSE(std::filesystem::exists("00000007.map"));
    int Order[AUTOMAP_AREAS];
    GetAutomapCacheOrder(Order);
    int bx, by, bz;
    GetAutomapSlotArea(Order[AUTOMAP_AREAS - 1], bx, by, bz);
    EXPECT_EQ(bx, 0);

    GetAutomapArea(10, 0, 7);
    EXPECT_TRUE(std::filesystem::exists("00000007.map"));
    GetAutomapCacheOrder(Order);
    GetAutomapSlotArea(Order[0], bx, by, bz);
    EXPECT_EQ(bx, 10);
    GetAutomapSlotArea(Order[AUTOMAP_AREAS - 1], bx, by, bz);
    EXPECT_EQ(bx, 1);
    // clean areas are not written
    EXPECT_FALSE(std::filesystem::exists("00100007.map"));

    // coming back reads the mark from the file
    std::vector<AutomapMark> Marks;
    int Count = 0;
    GetAutomapMarks(0, 0, 7, Marks, Count);
    ASSERT_EQ(Count, 1);
    EXPECT_EQ(Marks[0].Text, "first");
}

#ifdef __linux__
TEST_F(AutomapTest, SaveReachesTheDiskBeforeTheRenameAndTheFolderAfterIt) {
    std::string Old = Planes(1, 2);
    WriteFile("00000007.map", Old);
    AddAutomapMark(Coordinate{10, 10, 7}, "new", 0);
    {
        SyncRecorder Sync("00000007.map");
        SaveAutomap();
        ASSERT_EQ(Sync.Calls.size(), 2u);
        EXPECT_FALSE(Sync.Calls[0].Directory);
        EXPECT_EQ(Sync.Calls[0].Size, 131072 + 4 + 14 + 3);
        EXPECT_EQ(Sync.Calls[0].Target, Old);
        EXPECT_TRUE(Sync.Calls[1].Directory);
        EXPECT_EQ(Sync.Calls[1].Target.size(), 131072u + 4u + 14u + 3u);
    }
    // When the disk refuses, the changes are lost but the last saved map stays.
    std::string Saved = ReadFile("00000007.map");
    AddAutomapMark(Coordinate{11, 10, 7}, "lost", 0);
    {
        SyncRecorder Refusing("00000007.map", -1);
        SaveAutomap();
        EXPECT_EQ(Refusing.Calls.size(), 1u);
    }
    EXPECT_EQ(ReadFile("00000007.map"), Saved);
    EXPECT_FALSE(std::filesystem::exists("00000007.map.tmp"));
}
#endif

TEST_F(AutomapTest, FailedSaveLeavesTheOldFileInPlace) {
    std::string Old = Planes(1, 2);
    WriteFile("00000007.map", Old);
    AddAutomapMark(Coordinate{10, 10, 7}, "new", 0);
    std::filesystem::create_directory("00000007.map.tmp");  // the temporary file cannot be made
    SaveAutomap();
    EXPECT_EQ(ReadFile("00000007.map"), Old);
    std::filesystem::remove("00000007.map.tmp");
    ExitAutomap();  // nothing dirty is left: the failed changes are lost
    EXPECT_EQ(ReadFile("00000007.map"), Old);
}

}  // namespace
