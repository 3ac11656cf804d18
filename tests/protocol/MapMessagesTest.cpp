// The map messages read from byte sequences written out by hand: things and
// creature descriptions, the skip counter, full map, edges, floors, and the
// changes of single fields.
#include "ProtocolFixture.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace protocol_test {
namespace {

using testworld::BOTTOM_ITEM;
using testworld::COINS;
using testworld::GROUND;
using testworld::ITEM_A;
using testworld::ITEM_B;
using testworld::POOL;

std::string Types(int rx, int ry, int rz) {
    std::string s;
    for (int n = 0; n < GetObjectCount(rx, ry, rz); n++) {
        ObjectInstance o = GetFieldObject(rx, ry, rz, n);
        if (!s.empty()) s += " ";
        s += std::to_string(o.Type) + ":" + std::to_string(o.Data);
    }
    return s;
}

class MapMessages : public ProtocolTest {};

TEST_F(MapMessages, EndValueSkipsTheNextThreeFieldsAndTheCounterRunsAcrossLevels) {
    // Full map on the surface at (100, 100, 7): level 0 (floor 7) first,
    // columns outer, rows inner.
    std::string Map = Bytes({100}) + Word(100) + Word(100) + Bytes({7});
    Map += Word(GROUND) + Word(0xFF03);                       // field (0,0); (0,1)..(0,3) stay empty
    Map += Word(GROUND) + Word(COINS) + Bytes({25}) + Word(0xFF00);  // field (0,4), coins with their count
    // fields (0,5) .. (17,13) of level 0 are empty: 247 fields, the last
    // end value reaching two fields into level 1
    Map += Word(0xFF00 + 245);                                // (0,5) and 245 more: up to (17,12)
    Map += Word(0xFF00 + 2);                                  // (17,13), then (0,0) and (0,1) of level 1
    Map += Word(ITEM_A) + Word(0xFF00);                       // level 1, field (0,2)
    // the rest: 252 * 8 - 252 - 3 fields
    int Rest = 8 * 252 - 252 - 3;
    while (Rest > 0) {
        int k = Rest - 1 < 255 ? Rest - 1 : 255;
        Map += Word(0xFF00 + k);
        Rest -= 1 + k;
    }
    Map += Bytes({130, 200, 215});  // a second message in the same packet: ambient light
    Receive(Map);

    EXPECT_EQ(Types(0, 0, 0), "100:0");
    for (int ry = 1; ry <= 3; ry++) EXPECT_EQ(GetObjectCount(0, ry, 0), 0) << ry;
    EXPECT_EQ(Types(0, 4, 0), "100:0 107:25");
    EXPECT_EQ(GetObjectCount(17, 13, 0), 0);
    EXPECT_EQ(GetObjectCount(0, 0, 1), 0);
    EXPECT_EQ(GetObjectCount(0, 1, 1), 0);
    EXPECT_EQ(Types(0, 2, 1), "105:0");
    EXPECT_EQ(GetObjectCount(0, 3, 1), 0);
    int x, y, z;
    GetMapPosition(x, y, z);
    EXPECT_EQ(x * 1000000 + y * 1000 + z, 100100007);
    EXPECT_EQ(GetAmbientBrightness(), 200);  // the light message was read at the right place
}

TEST_F(MapMessages, UndergroundMapReadsFiveFloorsAndNoneBelowFifteen) {
    // At z = 14 the description holds levels 4, 3, 2, 1 (floors 12 to 15).
    std::map<int, std::string> Fields;
    Fields[FieldNumber(0, 0, 0)] = Thing(ITEM_A);   // level 4 = floor 12
    Fields[FieldNumber(3, 0, 0)] = Thing(ITEM_B);   // level 1 = floor 15
    Receive(Bytes({100}) + Word(300) + Word(300) + Bytes({14}) + Description(Fields, 4 * 252) + Bytes({30}));
    EXPECT_EQ(Types(0, 0, 4), "105:0");
    EXPECT_EQ(Types(0, 0, 1), "106:0");
    EXPECT_EQ(GetObjectCount(0, 0, 0), 0);
    EXPECT_EQ(Sent(), "01 00 1E");  // the ping after the map was read as a ping
    EXPECT_EQ(popPendingHint(), HINT_UNDERGROUND);
}

TEST_F(MapMessages, KnownCreatureThingForAnUnknownIdConsumesItsDescription) {
    EnterSurfaceMap();
    // with colours: 13 bytes after the id
    Receive(Bytes({106}) + Word(101) + Word(100) + Bytes({7}) + Word(98) + Quad(0x40000123) +
            Bytes({80, 1, 3, 1, 2, 3, 4, 5, 6}) + Word(300) + Bytes({2, 1}) +
            // with a look object: 11 bytes after the id
            Bytes({106}) + Word(102) + Word(100) + Bytes({7}) + Word(98) + Quad(0x40000124) +
            Bytes({80, 1, 0}) + Word(ITEM_A) + Bytes({5, 6}) + Word(300) + Bytes({2, 1}) + Bytes({130, 77, 0}));
    EXPECT_EQ(FindCreature(0x40000123), nullptr);
    EXPECT_EQ(FindCreature(0x40000124), nullptr);
    EXPECT_EQ(Types(9, 6, 0), "100:0 99:1073742115");
    EXPECT_EQ(Types(10, 6, 0), "100:0 99:1073742116");
    EXPECT_EQ(GetAmbientBrightness(), 77);
}

TEST_F(MapMessages, NewCreatureIsNamedDescribedPlacedAndReusesTheForgottenRecord) {
    EnterSurfaceMap();
    Creature* P = FindCreature(PLAYER);
    ASSERT_NE(P, nullptr);
    EXPECT_STREQ(P->Name, "Aldric");
    EXPECT_EQ(P->RealX * 1000000 + P->RealY * 1000 + P->RealZ, 100100007);
    EXPECT_TRUE(P->Visible);
    EXPECT_EQ(P->Speed, 220);
    EXPECT_EQ(P->Colours[3], 40);

    Receive(Bytes({106}) + Word(101) + Word(99) + Bytes({7}) + Word(97) + Quad(0) + Quad(0x40000001) +
            String("cave rat of doom") + Bytes({50, 3, 0}) + Word(ITEM_A) + Bytes({7, 215}) + Word(150) +
            Bytes({3, 0}));
    Creature* R = FindCreature(0x40000001);
    ASSERT_NE(R, nullptr);
    EXPECT_STREQ(R->Name, "Cave Rat Of Doom");  // non-players' names are capitalised
    EXPECT_EQ(R->Health, 50);
    EXPECT_EQ(R->Direction, 3);
    EXPECT_EQ(R->Outfit, 0);
    EXPECT_EQ(R->LookType, ITEM_A);
    EXPECT_EQ(R->LightIntensity, 7);
    EXPECT_EQ(R->LightColour, 215);
    EXPECT_EQ(R->Skull, 3);
    EXPECT_EQ(R->RealX * 1000000 + R->RealY * 1000 + R->RealZ, 101099007);

    // The same record now serves a new id; a player's name keeps its case.
    Receive(Bytes({107}) + Word(101) + Word(99) + Bytes({7, 1}) + Word(97) + Quad(0x40000001) + Quad(0x10000077) +
            String("mira von tal") + Bytes({100, 0, 2, 0, 0, 0, 0, 0, 0}) + Word(200) + Bytes({0, 0}));
    EXPECT_EQ(FindCreature(0x40000001), nullptr);
    ASSERT_EQ(FindCreature(0x10000077), R);
    EXPECT_STREQ(R->Name, "mira von tal");
    EXPECT_EQ(Types(9, 5, 0), "100:0 99:268435575");
}

TEST_F(MapMessages, TurnOfAnUnknownCreatureDropsItsDirectionByte) {
    EnterSurfaceMap();
    Receive(Bytes({106}) + Word(100) + Word(101) + Bytes({7}) + Word(99) + Quad(0x40000999) + Bytes({1}) +
            Bytes({106}) + Word(100) + Word(102) + Bytes({7}) + Word(99) + Quad(PLAYER) + Bytes({3}));
    EXPECT_EQ(Types(8, 7, 0), "100:0 99:1073744281");
    EXPECT_EQ(FindCreature(PLAYER)->Direction, 3);
    EXPECT_EQ(FindCreature(PLAYER)->RealY, 102);  // the turn placed him where the thing arrived
}

TEST_F(MapMessages, RemovingTheTenthObjectOfAFullFieldAsksForTheField) {
    EnterSurfaceMap();
    std::string Adds;
    for (int n = 0; n < 9; n++) Adds += Bytes({106}) + Word(103) + Word(98) + Bytes({7}) + Word(ITEM_A);
    Receive(Adds);
    ASSERT_EQ(GetObjectCount(11, 4, 0), 10);
    // removing from a field that is not full asks for nothing
    Receive(Bytes({108}) + Word(103) + Word(98) + Bytes({7, 9}));
    EXPECT_EQ(Sent(), "06 00 C9 67 00 62 00 07");
    EXPECT_EQ(GetObjectCount(11, 4, 0), 9);
    Receive(Bytes({108}) + Word(103) + Word(98) + Bytes({7, 8}));
    EXPECT_EQ(Sent(), "");
    // an empty place is ignored
    Receive(Bytes({108}) + Word(103) + Word(98) + Bytes({7, 8}));
    EXPECT_EQ(GetObjectCount(11, 4, 0), 8);
}

TEST_F(MapMessages, RemovingAndChangingACreatureInstanceHidesTheCreature) {
    EnterSurfaceMap();
    Receive(Bytes({106}) + Word(101) + Word(100) + Bytes({7}) + Word(97) + Quad(0) + Quad(0x40000002) +
            String("wolf") + Bytes({100, 2, 0}) + Word(ITEM_A) + Bytes({0, 0}) + Word(100) + Bytes({0, 0}));
    Creature* W = FindCreature(0x40000002);
    ASSERT_TRUE(W && W->Visible);
    Receive(Bytes({107}) + Word(101) + Word(100) + Bytes({7, 1}) + Word(COINS) + Bytes({3}));
    EXPECT_FALSE(W->Visible);
    EXPECT_EQ(Types(9, 6, 0), "100:0 107:3");
    // a change of an empty place reads the thing and drops it
    Receive(Bytes({107}) + Word(101) + Word(100) + Bytes({7, 5}) + Word(POOL) + Bytes({4}) + Bytes({130, 9, 0}));
    EXPECT_EQ(Types(9, 6, 0), "100:0 107:3");
    EXPECT_EQ(GetAmbientBrightness(), 9);
}

TEST_F(MapMessages, TwoFieldJumpTurnsTheCreatureWithoutAnimation) {
    EnterSurfaceMap();
    Receive(Bytes({106}) + Word(99) + Word(100) + Bytes({7}) + Word(97) + Quad(0) + Quad(0x40000003) +
            String("bat") + Bytes({100, 2, 0}) + Word(ITEM_A) + Bytes({0, 0}) + Word(100) + Bytes({0, 0}));
    Creature* B = FindCreature(0x40000003);
    ASSERT_NE(B, nullptr);
    Receive(Bytes({109}) + Word(99) + Word(100) + Bytes({7, 1}) + Word(101) + Word(100) + Bytes({7}));
    EXPECT_EQ(B->Direction, 1);
    EXPECT_EQ(GetShownDirection(B), 1);
    EXPECT_FALSE(B->Walking);
    EXPECT_EQ(B->DeltaX, 0);
    EXPECT_EQ(B->RealX, 101);
    EXPECT_EQ(GetObjectCount(7, 6, 0), 1);
    EXPECT_EQ(Types(9, 6, 0), "100:0 99:1073741827");

    // a single step animates with the ground's speed from the old field
    Receive(Bytes({109}) + Word(101) + Word(100) + Bytes({7, 1}) + Word(101) + Word(99) + Bytes({7}));
    EXPECT_TRUE(B->Walking);
    EXPECT_EQ(B->DeltaY, 32);
    EXPECT_EQ(B->Direction, 0);
    EXPECT_EQ(GetShownDirection(B), 0);
    EXPECT_EQ(B->StepDuration, 1500);  // bank 150 at speed 100, rounded up to the 50 ms beat
}

TEST_F(MapMessages, EveryWalkerKeepsFacingWhereItSteppedAfterTheAnimation) {
    EnterSurfaceMap();
    Receive(Bytes({160}) + Word(150) + Word(150) + Word(400) + Quad(0) + Word(1) + Bytes({0}) + Word(0) + Word(0) +
            Bytes({0, 0, 100}));
    const uint32_t MIRA = 0x10000002;
    Receive(Bytes({106}) + Word(101) + Word(100) + Bytes({7}) + Word(97) + Quad(0) + Quad(MIRA) + String("Mira") +
            Bytes({100, 2, 1, 10, 20, 30, 40, 0, 0}) + Word(220) + Bytes({0, 0}));
    Creature* M = FindCreature(MIRA);
    Creature* P = FindCreature(PLAYER);
    ASSERT_NE(M, nullptr);
    ASSERT_NE(P, nullptr);
    auto Facing = [this](const Creature* C) {
        Now += 2000;
        UpdateWalking(Now);
        EXPECT_FALSE(C->Walking);
        return GetShownDirection(C);
    };

    // Mira, facing south, walks east and then north
    Receive(Bytes({109}) + Word(101) + Word(100) + Bytes({7, 1}) + Word(102) + Word(100) + Bytes({7}));
    EXPECT_EQ(GetShownDirection(M), 1);
    EXPECT_EQ(Facing(M), 1);
    Receive(Bytes({109}) + Word(102) + Word(100) + Bytes({7, 1}) + Word(102) + Word(99) + Bytes({7}));
    EXPECT_EQ(Facing(M), 0);

    // the player's predicted step north, then the server's confirmation with the new row
    ASSERT_EQ(GoTo(100, 99, 7, false, true), 1);
    EXPECT_EQ(GetShownDirection(P), 0);
    Receive(Bytes({109}) + Word(100) + Word(100) + Bytes({7, 1}) + Word(100) + Word(99) + Bytes({7}) + Bytes({101}) +
            Description({}, 8 * 18));
    EXPECT_EQ(Facing(P), 0);
    // a step of the player that the server made alone, west
    Receive(Bytes({109}) + Word(100) + Word(99) + Bytes({7, 1}) + Word(99) + Word(99) + Bytes({7}) + Bytes({104}) +
            Description({}, 8 * 14));
    EXPECT_EQ(P->RealX, 99);
    EXPECT_EQ(Facing(P), 3);
}

TEST_F(MapMessages, MovingFromAnEmptyPlaceAsksForTheDestination) {
    EnterSurfaceMap();
    Receive(Bytes({109}) + Word(99) + Word(100) + Bytes({7, 3}) + Word(99) + Word(101) + Bytes({7}));
    EXPECT_EQ(Sent(), "06 00 C9 63 00 65 00 07");
}

TEST_F(MapMessages, MovingAnObjectThatIsNoCreatureWritesTheReportAndEndsTheProgram) {
    EnterSurfaceMap();
    Receive(Bytes({106}) + Word(99) + Word(100) + Bytes({7}) + Word(ITEM_A));
    EXPECT_ASSERTION(Receive(Bytes({109}) + Word(99) + Word(100) + Bytes({7, 1}) + Word(100) + Word(101) + Bytes({7})),
                     "false");
    std::string Log = testing_support::ReadFile(assertion::ErrorLogPath());
    EXPECT_NE(Log.find("\n----------------------------------------\nDebug Assertion\ntime:      "), std::string::npos);
    EXPECT_NE(Log.find("\nline:      1296\nmodule:    Communication_ex\nPosition:    1\n"
                       "abs-s-pos:   [99,100,7]\nabs-z-pos:   [100,101,7]\n"
                       "s-position:  sx=7 sy=6 sz=0\nz-position:  zx=8 zy=7 zz=0\n"
                       "d-position:  dx=1 dy=1 dz=0\n"
                       "Start Cylinder:    (100,0) (105,0) \nDestination Cylinder:    (100,0) \n"
                       "----------------------------------------"),
              std::string::npos)
        << Log;
}

TEST_F(MapMessages, StepOntoAFieldWhoseFirstThingIsNoGroundIsReportedAndTheGroundSearched) {
    EnterSurfaceMap();
    Receive(Bytes({105}) + Word(101) + Word(100) + Bytes({7}) + Word(BOTTOM_ITEM) + Word(GROUND) + Word(0xFF00));
    Receive(Bytes({106}) + Word(102) + Word(100) + Bytes({7}) + Word(97) + Quad(0) + Quad(0x40000004) +
            String("orc") + Bytes({100, 2, 0}) + Word(ITEM_A) + Bytes({0, 0}) + Word(100) + Bytes({0, 0}));
    Receive(Bytes({109}) + Word(102) + Word(100) + Bytes({7, 1}) + Word(101) + Word(100) + Bytes({7}));
    Creature* O = FindCreature(0x40000004);
    ASSERT_NE(O, nullptr);
    EXPECT_TRUE(O->Walking);
    EXPECT_EQ(O->StepDuration, 1500);
    std::string Log = testing_support::ReadFile(assertion::ErrorLogPath());
    EXPECT_NE(Log.find("\nline:      1332\nmodule:    Communication_ex\nabs-s-pos:   [102,100,7]\n"
                       "abs-z-pos:   [101,100,7]\ns-position:  sx=10 sy=6 sz=0\nz-position:  zx=9 zy=6 zz=0\n"
                       "d-position:  dx=-1 dy=0 dz=0\nCylinder:    (103,0) (100,0) \n"
                       "Creature:    id=1073741828 name=Orc realx=102 realy=100 realz=7 deltax=0 deltay=0\n"
                       "----------------------------------------"),
              std::string::npos)
        << Log;
}

TEST_F(MapMessages, FieldMessageReplacesTheThingsButKeepsTheEffects) {
    EnterSurfaceMap();
    Receive(Bytes({131}) + Word(100) + Word(100) + Bytes({7, 1}));
    Receive(Bytes({105}) + Word(100) + Word(100) + Bytes({7}) + Word(GROUND) + Word(COINS) + Bytes({9}) +
            Word(0xFF05));
    EXPECT_EQ(Types(8, 6, 0), "100:0 107:9");
    EXPECT_FALSE(FindCreature(PLAYER)->Visible);  // the player's instance went with the old contents
    EXPECT_NE(GetFirstFieldEffect(8, 6, 0), -1);
}

TEST_F(MapMessages, RowNorthScrollsAndReadsRowZeroOnEveryFloor) {
    EnterSurfaceMap();
    std::map<int, std::string> Fields;
    Fields[0] = Thing(ITEM_A);             // level 0, column 0
    Fields[17] = Thing(GROUND) + Thing(ITEM_B);  // level 0, column 17
    Fields[7 * 18 + 5] = Thing(COINS) + Bytes({2});  // level 7, column 5
    Receive(Bytes({101}) + Description(Fields, 8 * 18));
    int x, y, z;
    GetMapPosition(x, y, z);
    EXPECT_EQ(y, 99);
    EXPECT_EQ(Types(0, 0, 0), "105:0");
    EXPECT_EQ(Types(17, 0, 0), "100:0 106:0");
    EXPECT_EQ(Types(5, 0, 7), "107:2");
    EXPECT_EQ(Types(0, 1, 0), "100:0");  // the old row 0 moved down
    // the automap learnt the new row of the player's floor
    EXPECT_EQ(GetAutomapSpeed(100 - 8 + 17, 99 - 6, 7), 150);
}

TEST_F(MapMessages, ColumnsEastAndWestReadTheirEdge) {
    EnterSurfaceMap();
    std::map<int, std::string> East;
    East[13] = Thing(ITEM_A);  // level 0, row 13
    Receive(Bytes({102}) + Description(East, 8 * 14));
    EXPECT_EQ(Types(17, 13, 0), "105:0");
    EXPECT_EQ(GetObjectCount(17, 0, 0), 0);
    std::map<int, std::string> West;
    West[14 + 2] = Thing(ITEM_B);  // level 1, row 2
    Receive(Bytes({104}) + Description(West, 8 * 14));
    EXPECT_EQ(Types(0, 2, 1), "106:0");
    int x, y, z;
    GetMapPosition(x, y, z);
    EXPECT_EQ(x, 100);
    std::map<int, std::string> South;
    South[18 + 4] = Thing(ITEM_A);  // level 1, column 4
    Receive(Bytes({103}) + Description(South, 8 * 18));
    EXPECT_EQ(Types(4, 13, 1), "105:0");
}

TEST_F(MapMessages, FloorDownToFourteenReadsNoLevel) {
    std::map<int, std::string> Fields;
    Receive(Bytes({100}) + Word(300) + Word(300) + Bytes({13}) + Description(Fields, 5 * 252));
    // floor down: nothing follows but a ping in the same packet
    Receive(Bytes({191, 30}));
    EXPECT_EQ(Sent(), "01 00 1E");
    int x, y, z;
    GetMapPosition(x, y, z);
    EXPECT_EQ(x * 1000000 + y * 1000 + z, 299299014);
}

TEST_F(MapMessages, FloorDownAndUpUndergroundReadOneLevel) {
    std::map<int, std::string> Fields;
    Receive(Bytes({100}) + Word(300) + Word(300) + Bytes({9}) + Description(Fields, 5 * 252));
    std::map<int, std::string> Deeper;
    Deeper[0] = Thing(ITEM_A);
    Receive(Bytes({191}) + Description(Deeper, 252));
    EXPECT_EQ(Types(0, 0, 0), "105:0");  // floor 12 on level 0
    std::map<int, std::string> Higher;
    Higher[251] = Thing(ITEM_B);
    Receive(Bytes({190}) + Description(Higher, 252));
    EXPECT_EQ(Types(17, 13, 4), "106:0");  // floor 7 on level 4
    EXPECT_EQ(Types(0, 0, 0), "");        // floor 12 left the cube
    int x, y, z;
    GetMapPosition(x, y, z);
    EXPECT_EQ(x * 1000000 + y * 1000 + z, 300300009);
}

TEST_F(MapMessages, FloorDownLeavingTheSurfaceReadsLevelsTwoOneZero) {
    EnterSurfaceMap();
    std::map<int, std::string> Fields;
    Fields[0] = Thing(ITEM_A);        // level 2: floor 8
    Fields[252] = Thing(ITEM_B);      // level 1: floor 9
    Fields[504 + 251] = Thing(COINS) + Bytes({1});  // level 0: floor 10
    Receive(Bytes({191}) + Description(Fields, 3 * 252));
    EXPECT_EQ(Types(0, 0, 2), "105:0");
    EXPECT_EQ(Types(0, 0, 1), "106:0");
    EXPECT_EQ(Types(17, 13, 0), "107:1");
    EXPECT_EQ(Types(9, 7, 3), "100:0");  // floor 7 is now level 3, shifted by the perspective
    int x, y, z;
    GetMapPosition(x, y, z);
    EXPECT_EQ(x * 1000000 + y * 1000 + z, 99099008);
    EXPECT_EQ(popPendingHint(), HINT_UNDERGROUND);

    // and back up: reaching the surface reads levels 2 to 7
    std::map<int, std::string> Up;
    Up[0] = Thing(ITEM_B);           // level 2 = floor 5
    Up[5 * 252 + 1] = Thing(ITEM_A); // level 7 = floor 0
    Receive(Bytes({190}) + Description(Up, 6 * 252));
    EXPECT_EQ(Types(0, 0, 2), "106:0");
    EXPECT_EQ(Types(0, 1, 7), "105:0");
    EXPECT_EQ(Types(8, 6, 0), "100:0 99:268435457");  // floor 7 back on level 0
    GetMapPosition(x, y, z);
    EXPECT_EQ(x * 1000000 + y * 1000 + z, 100100007);
}

// A full map of random stacks on every field: each field keeps its things in
// the order sent, draws the leading ground, ONBANK and BOTTOM things in that
// order and the rest from the top down, marks a hanging thing with the kind
// of the lowest hook, and the player's floor reaches the automap.
TEST_F(MapMessages, BusyFullMapKeepsStacksDrawOrderHooksAndAutomap) {
    uint32_t Seed = 7;
    auto Random = [&Seed](int n) {
        Seed = Seed * 1103515245u + 12345u;
        return int((Seed >> 16) % uint32_t(n));
    };
    using namespace testworld;
    const int Kinds[] = {GROUND, SWAMP,   ONBANK_ITEM, BOTTOM_ITEM, TOP_ITEM, ITEM_A, COINS,    POOL,
                         PICTURE, HOOK_A, HOOK_B,      WALL,        FIRE,     GRATE,  BANNER,   BOTTLE};
    const int Fields = 8 * 252;
    std::vector<std::vector<ObjectInstance>> Sent(Fields);
    std::string Map = Bytes({100}) + Word(100) + Word(100) + Bytes({7});
    for (int f = 0; f < Fields; f++) {
        const int Count = Random(6) == 0 ? Random(11) : Random(3);
        for (int n = 0; n < Count; n++) {
            if (Random(12) == 0) {  // a creature turning, known to nobody: an instance without a record
                Map += Word(99) + Quad(0) + Bytes({2});
                Sent[f].push_back(ObjectInstance{CREATURE, 0, 0});
                continue;
            }
            const int Type = n == 0 && Random(2) == 0 ? GROUND : Kinds[Random(16)];
            Map += Word(Type);
            uint32_t Data = 0;
            if (Type == COINS || Type == POOL || Type == BOTTLE) {
                Data = uint32_t(Random(256));
                Map += Bytes({int(Data)});
            }
            Sent[f].push_back(ObjectInstance{Type, Data, 0});
        }
        // now and then the end value leaves the next few fields empty
        const int Skip = Random(8) == 0 ? std::min(1 + Random(5), Fields - 1 - f) : 0;
        Map += Word(0xFF00 + Skip);
        f += Skip;
    }
    ASSERT_LT(Map.size(), size_t(RECEIVE_BUFFER_SIZE - 2));
    Receive(Map);

    auto Has = [](const ObjectInstance& O, int Flag) { return GetObjectFlag(O.Type, Flag); };
    for (int f = 0; f < Fields; f++) {
        const int rz = f / 252, rx = f % 252 / 14, ry = f % 14;
        const std::vector<ObjectInstance>& Things = Sent[f];
        const int Count = int(Things.size());
        std::vector<int> Order;
        int Lead = 0;
        while (Lead < Count && (Has(Things[Lead], BANK) || Has(Things[Lead], ONBANK) || Has(Things[Lead], BOTTOM)))
            Order.push_back(Lead++);
        for (int p = Count - 1; p >= Lead; p--) Order.push_back(p);
        int Hang = -1, Hook = -1;
        for (int p = Count - 1; p >= 0; p--) {
            if (Has(Things[p], HANG)) Hang = p;
            if (Has(Things[p], HOOKA) || Has(Things[p], HOOKB)) Hook = p;
        }
        const Point& P = GetPoint(rx, ry, rz);
        ASSERT_EQ(P.ObjectCount, Count) << rx << "," << ry << "," << rz;
        for (int p = 0; p < Count; p++) {
            const int Mark = p == Hang && Hook != -1 ? (Has(Things[Hook], HOOKA) ? HOOKA : HOOKB) : 0;
            ASSERT_EQ(P.ObjectStack[p].Type, Things[p].Type) << rx << "," << ry << "," << rz << " #" << p;
            ASSERT_EQ(P.ObjectStack[p].Data, Things[p].Data) << rx << "," << ry << "," << rz << " #" << p;
            ASSERT_EQ(P.ObjectStack[p].Hook, Mark) << rx << "," << ry << "," << rz << " #" << p;
        }
        ASSERT_EQ(std::vector<int>(P.DrawOrder, P.DrawOrder + Count), Order) << rx << "," << ry << "," << rz;
        if (rz != 0) continue;
        // the automap sample: ground speed capped at 250, the last automap
        // colour, 255 for an empty field or an UNPASS or AVOID thing
        int Colour = 0, Speed = 250;
        bool Blocked = Count == 0;
        for (int p : Order) {
            if (Has(Things[p], BANK)) Speed = std::min(GetObjectBankValue(Things[p].Type), 250);
            if (Has(Things[p], AUTOMAP)) Colour = GetObjectAutomapColour(Things[p].Type);
            if (Has(Things[p], UNPASS) || Has(Things[p], AVOID)) Blocked = true;
        }
        ASSERT_EQ(GetAutomapSpeed(92 + rx, 94 + ry, 7), Blocked ? 255 : Speed) << rx << "," << ry;
        ASSERT_EQ(GetAutomapColour(92 + rx, 94 + ry, 7), Colour) << rx << "," << ry;
    }
}

TEST_F(MapMessages, AFieldOutsideTheCubeIsAnAssertion) {
    EnterSurfaceMap();
    EXPECT_ASSERTION(Receive(Bytes({106}) + Word(200) + Word(100) + Bytes({7}) + Word(ITEM_A)),
                     "In(rx,0,MAPSIZE_X-1) && In(ry,0,MAPSIZE_Y-1) && In(rz,0,MAPSIZE_Z-1)");
}

}  // namespace
}  // namespace protocol_test
