// The server's world pieces on their own: the object text form, the world
// file format and its errors, the stacking order, and the demo world.
#include "ServerHarness.h"

#include "server/Item.h"
#include "server/ObjectTypes.h"
#include "server/WorldFile.h"
#include "server/WorldMap.h"
#include "support/TestSupport.h"
#include "world/TypeNumbers.h"

#include <gtest/gtest.h>

using namespace servertest;
using namespace server;

namespace {

// Loads the test object types into the server's table for one test.
struct TypesLoaded {
    testing_support::ScopedWorkDir Dir;
    TypesLoaded() {
        WriteTestDat("Vorna.dat");
        objecttypes::LoadObjectTypes("Vorna.dat");
        worldmap::InitWorldMap();
    }
    ~TypesLoaded() {
        worldmap::ExitWorldMap();
        objecttypes::UnloadObjectTypes();
    }
};

std::string LoadError(const std::string& Text) {
    testing_support::WriteFile("bad.world", Text);
    try {
        worldfile::LoadWorld("bad.world");
    } catch (const std::runtime_error& Problem) {
        return Problem.what();
    }
    return "";
}

}  // namespace

TEST(ServerObjects, TextFormRoundTripsNamesCountsTextsAndContents) {
    auto Objects = ObjectsFromText("backpack{gold_coin:40 book\"A \\\"tale\\\"\\nend\" bag{vial:1}} 190");
    ASSERT_EQ(Objects.size(), 2u);
    EXPECT_EQ(Objects[0].Type, TYPE_BACKPACK);
    ASSERT_EQ(Objects[0].Contents.size(), 3u);
    EXPECT_EQ(Objects[0].Contents[0].Type, TYPE_GOLD_COIN);
    EXPECT_EQ(Objects[0].Contents[0].Data, 40);
    EXPECT_EQ(Objects[0].Contents[1].Text, "A \"tale\"\nend");
    EXPECT_EQ(Objects[0].Contents[2].Contents[0].Data, 1);
    EXPECT_EQ(Objects[1].Type, 190);
    EXPECT_EQ(ObjectsToText(Objects), "177{178:40 188\"A \\\"tale\\\"\\nend\" 176{182:1}} 190");
    EXPECT_EQ(ObjectsToText(ObjectsFromText(ObjectsToText(Objects))), ObjectsToText(Objects));

    for (const char* Bad : {"99", "178:256", "frog", "177{178", "188\"open", "70000", "188\"\\q\""})
        EXPECT_THROW(ObjectsFromText(Bad), std::runtime_error) << Bad;
    std::string Deep;
    for (int i = 0; i < 20; i++) Deep += "176{";
    EXPECT_THROW(ObjectsFromText(Deep), std::runtime_error);
    std::string Full = "176{";
    for (int i = 0; i < 37; i++) Full += "205 ";
    EXPECT_THROW(ObjectsFromText(Full + "}"), std::runtime_error);
}

TEST(ServerWorld, StackingOrderMatchesTheClientsRule) {
    TypesLoaded Types;
    Position P{10, 10, 7};
    Object Creature1, Creature2;
    Creature1.Type = Creature2.Type = CREATURE;
    Creature1.CreatureID = 1;
    Creature2.CreatureID = 2;
    auto Add = [&](int Type, int Data = 0) {
        Object O;
        O.Type = Type;
        O.Data = Data;
        return worldmap::AddThing(P, O);
    };
    EXPECT_EQ(Add(TYPE_GOLD_COIN, 3), 0);
    EXPECT_EQ(Add(TYPE_GRASS), 0);                // ground goes below everything
    EXPECT_EQ(worldmap::AddThing(P, Creature1), 1);  // creatures below ordinary objects
    EXPECT_EQ(Add(TYPE_STONE_WALL_H), 1);         // BOTTOM below creatures
    EXPECT_EQ(Add(TYPE_STAIRS_DOWN), 1);          // ONBANK right on the ground
    EXPECT_EQ(worldmap::AddThing(P, Creature2), 3);  // a new creature below the older one
    EXPECT_EQ(Add(TYPE_BREAD), 5);                // directly above the creatures
    std::vector<int> Types2;
    for (const Object& O : worldmap::GetField(P)->Stack) Types2.push_back(O.Type);
    EXPECT_EQ(Types2, (std::vector<int>{TYPE_GRASS, TYPE_STAIRS_DOWN, TYPE_STONE_WALL_H, CREATURE, CREATURE, TYPE_BREAD,
                                        TYPE_GOLD_COIN}));
    EXPECT_EQ(worldmap::CreatureStackPosition(P, 1), 4);
    EXPECT_EQ(worldmap::CreatureStackPosition(P, 2), 3);
    EXPECT_FALSE(worldmap::IsWalkable(P));  // wall and creatures
    for (int i = 0; i < 3; i++) Add(TYPE_BREAD);
    EXPECT_EQ(worldmap::GetField(P)->Stack.size(), 10u);
    EXPECT_EQ(Add(TYPE_BREAD), -1);  // full: refused, nothing pushed out
    EXPECT_EQ(worldmap::GetField(P)->Stack.size(), 10u);
}

TEST(ServerWorld, WorldFileErrorsNameFileAndLine) {
    TypesLoaded Types;
    EXPECT_EQ(LoadError("World \"X\"\nStart 1 1 7\nKey . grass\nArea 7 1 1\n|.x\nEnd\n"),
              "bad.world, line 5: unknown map character 'x'");
    EXPECT_EQ(LoadError("World \"X\"\nStart 1 1 16\n"), "bad.world, line 2: 16 is not within 0..15");
    EXPECT_EQ(LoadError("World \"X\"\nStart 1 1 7\nPut 1 1 7 frog\n"),
              "bad.world, line 3: unknown object type 'frog' at character 1");
    EXPECT_EQ(LoadError("World \"X\"\nStart 1 1 7\nKey . grass\nArea 7 1 1\n|..\n"),
              "bad.world, line 5: End of the area missing");
    EXPECT_EQ(LoadError("Start 1 1 7\n"), "bad.world: World \"name\" missing");
    EXPECT_EQ(LoadError("World \"X\"\nStart 1 1 7\nCreature 1 1 7 frog \"Frog\" 1 100\n"),
              "bad.world, line 3: unknown outfit frog");
    EXPECT_EQ(LoadError("World \"X\"\nStart 1 1 7\nJump 1\n"), "bad.world, line 3: unknown statement Jump");
    std::string Eleven = "World \"X\"\nStart 1 1 7\nPut 1 1 7";
    for (int i = 0; i < 11; i++) Eleven += " bread";
    EXPECT_EQ(LoadError(Eleven + "\n"), "bad.world, line 3: more than 10 objects on a field");
}

TEST(ServerWorld, DemoWorldLoadsWithItsWaysBetweenFloors) {
    TypesLoaded Types;
    game::WorldInfo World = worldfile::LoadWorld(std::string(VORNA_SERVER_DATA_DIR) + "/Demoland.world");
    EXPECT_EQ(World.Name, "Demoland");
    EXPECT_EQ(World.Start, (Position{1000, 1001, 7}));
    EXPECT_TRUE(worldmap::IsWalkable(World.Start));
    EXPECT_GT(worldmap::FieldCount(), 2000u);
    EXPECT_EQ(World.Spawns.size(), 12u);  // nine animals and monsters, three people
    ASSERT_TRUE(World.HasTemple);
    EXPECT_TRUE(worldmap::IsWalkable(World.Temple));
    ASSERT_EQ(World.Arenas.size(), 1u);
    // Every way between floors leads onto a field with ground, and back.
    for (auto [From, To] : std::vector<std::pair<Position, Position>>{{{1006, 995, 7}, {1006, 996, 8}},
                                                                      {{1003, 993, 8}, {1003, 994, 7}},
                                                                      {{1003, 996, 7}, {1004, 996, 6}},
                                                                      {{1007, 996, 6}, {1007, 995, 7}},
                                                                      {{985, 1012, 7}, {985, 1013, 8}},
                                                                      {{992, 1016, 8}, {992, 1015, 7}}}) {
        const worldmap::FloorChange* Change = worldmap::GetFloorChange(From);
        ASSERT_NE(Change, nullptr) << From.x << "," << From.y << "," << From.z;
        EXPECT_EQ(Change->Destination, To);
        EXPECT_TRUE(worldmap::IsWalkable(To)) << To.x << "," << To.y << "," << To.z;
    }
    // The sign on the square can be read.
    const worldmap::Field* Sign = worldmap::GetField({999, 999, 7});
    ASSERT_NE(Sign, nullptr);
    ASSERT_EQ(Sign->Stack.size(), 2u);
    EXPECT_EQ(Sign->Stack[1].Text, "Demoland\nThe village by the lake.\nThe inn is to the north.");
}
