#include "TestWorld.h"
#include "world/Automap.h"
#include "world/Creatures.h"
#include "world/PathFinder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace testworld;

namespace {

std::vector<std::string> StatusTexts;
std::vector<int> Hints;
std::vector<std::string> NpcHints;
int Tick = 0;

void RecordStatus(const char* Text) { StatusTexts.push_back(Text); }
void RecordHint(int Number) { Hints.push_back(Number); }
void RecordNpcHint(const char* Name) { NpcHints.push_back(Name); }
int CurrentTick() { return Tick; }

constexpr uint32_t PLAYER = 0x1000;
constexpr uint32_t MONSTER = 0x40000010;

struct CreaturesTest : WorldTest {
    void SetUp() override {
        WorldTest::SetUp();
        LoadPreferences();
        InitCreatures();
        SetCreatureHooks(RecordStatus, RecordHint, RecordNpcHint, CurrentTick);
        StatusTexts.clear();
        Hints.clear();
        NpcHints.clear();
    }
    void TearDown() override {
        SetCreatureHooks(nullptr, nullptr, nullptr, nullptr);
        ExitCreatures();
        ExitPreferences();
        WorldTest::TearDown();
    }

    Creature* Make(uint32_t ID, int x, int y, int z, int Speed = 220) {
        Creature* C = NewCreature(0, ID);
        C->Speed = Speed;
        C->Health = 100;
        C->Outfit = 1;
        C->Visible = true;
        SetCreaturePosition(C, x, y, z);
        return C;
    }

    // The player at absolute (1000, 1000, 7), every field of his level ground.
    Creature* MakePlayer() {
        SetMapPosition(1000, 1000, 7);
        for (int ry = 0; ry < MAPSIZE_Y; ry++)
            for (int rx = 0; rx < MAPSIZE_X; rx++) AppendFieldObject(rx, ry, 0, GROUND, 0);
        SetPlayerID(PLAYER);
        SetPlayerHitpoints(100, 100);
        SetServerBeat(50);
        return Make(PLAYER, 1000, 1000, 7);
    }

    // An automap area around (1000, 1000) on floor 7: every field blocked
    // except the ones listed, which cost 100.
    static void WriteArea(const std::vector<std::pair<int, int>>& Open) {
        std::string Bytes(65536, 0);
        std::string Speeds(65536, char(255));
        for (auto [x, y] : Open) Speeds[GetAutomapIndex(x, y)] = char(100);
        testing_support::WriteFile(GetAutomapFileName(3, 3, 7), Bytes + Speeds);
    }
};

TEST_F(CreaturesTest, UnknownIdOnAFullTableOverwritesTheLastRecord) {
    for (uint32_t n = 1; n <= CREATURES; n++) NewCreature(0, n);
    EXPECT_EQ(GetCreatureRecord(0)->ID, 1u);
    Creature* Last = GetCreatureRecord(CREATURES - 1);
    Last->Skull = 3;
    Last->PartyShield = 2;
    Creature* C = NewCreature(5000, 777);
    EXPECT_EQ(C, Last);
    EXPECT_EQ(C->ID, 777u);
    EXPECT_EQ(C->Skull, 0);
    EXPECT_EQ(C->PartyShield, 0);
    EXPECT_EQ(FindCreature(150), nullptr);
    EXPECT_EQ(NewCreature(3, 778), GetCreatureRecord(2));  // the id to forget picks the record
    EXPECT_ASSERTION(NewCreature(0, 0), "NewCreatureID!=0");
    EXPECT_ASSERTION(FindCreature(0), "CreatureID!=0");
}

TEST_F(CreaturesTest, StepTimingFollowsGroundSpeedAndServerBeat) {
    SetServerBeat(50);
    Creature* C = Make(MONSTER, 500, 500, 7);
    StartStep(C, 1, 0, 150);
    EXPECT_EQ(C->StepDuration, 700);  // 150 * 1000 / 220 = 681, rounded up to the beat
    EXPECT_EQ(C->StepEnd, Now + 700);
    EXPECT_EQ(C->StepLockEnd, Now + 700);
    EXPECT_EQ(C->DeltaX, -32);
    EXPECT_EQ(C->ShownDirection, 1);
    EXPECT_TRUE(C->Walking);

    SetServerBeat(1);
    StartStep(C, 0, -1, 150);
    EXPECT_EQ(C->StepDuration, 681);
    EXPECT_EQ(C->ShownDirection, 0);

    SetServerBeat(50);
    StartStep(C, -1, 1, 150);  // a diagonal step locks the creature longer
    EXPECT_EQ(C->StepDuration, 700);
    EXPECT_EQ(C->StepLockEnd, Now + 2045);
    EXPECT_EQ(C->ShownDirection, 3);

    C->Speed = 0;
    StartStep(C, 0, 1, 150);
    EXPECT_EQ(C->StepDuration, 1000);
}

TEST_F(CreaturesTest, WalkingOffsetFallsLinearlyAndTheLockHoldsTheCreature) {
    SetServerBeat(50);
    Creature* C = Make(MONSTER, 500, 500, 7);
    StartStep(C, 1, 1, 150);
    UpdateWalking(Now + 350);
    EXPECT_EQ(C->DeltaX, -16);
    EXPECT_EQ(C->DeltaY, -16);
    EXPECT_EQ(GetAnimationPhase(C, 3), (16 / 8) % 2 + 2);
    UpdateWalking(Now + 700);
    EXPECT_EQ(C->DeltaX, 0);
    EXPECT_TRUE(C->Walking);  // still locked by the diagonal
    UpdateWalking(Now + 2045);
    EXPECT_TRUE(C->Walking);
    UpdateWalking(Now + 2046);
    EXPECT_FALSE(C->Walking);
    Now += 3000;
    EXPECT_EQ(GetAnimationPhase(C, 3), 1);
    EXPECT_EQ(GetAnimationPhase(C, 1), 1);
    EXPECT_ASSERTION(GetAnimationPhase(C, 0), "AvailablePhases>=1");
}

TEST_F(CreaturesTest, HealthColourBands) {
    Creature* C = Make(MONSTER, 500, 500, 7);
    struct Band {
        int Health, r, g, b;
    } Bands[] = {{0, 96, 0, 0},      {3, 96, 0, 0},      {4, 192, 0, 0},     {9, 192, 0, 0},
                 {10, 192, 48, 48},  {29, 192, 48, 48},  {30, 192, 192, 0},  {59, 192, 192, 0},
                 {60, 96, 192, 96},  {94, 96, 192, 96},  {95, 0, 192, 0},    {100, 0, 192, 0}};
    for (const Band& B : Bands) {
        C->Health = B.Health;
        int r, g, b;
        GetHealthColour(C, r, g, b);
        EXPECT_EQ(r, B.r) << B.Health;
        EXPECT_EQ(g, B.g) << B.Health;
        EXPECT_EQ(b, B.b) << B.Health;
    }
}

TEST_F(CreaturesTest, MarksAndSkullsLinger) {
    Creature* C = Make(PLAYER + 1, 500, 500, 7);
    SetCreatureMark(C, 180);
    Now += 1000;
    EXPECT_TRUE(IsCreatureMarked(C));
    Now += 1;
    EXPECT_FALSE(IsCreatureMarked(C));

    // The player's own skull is no marked player coming near.
    SetPlayerID(PLAYER);
    SetCreatureSkull(Make(PLAYER, 501, 500, 7), 3, false);
    EXPECT_TRUE(Hints.empty());
    SetCreatureSkull(C, 2, false);
    EXPECT_EQ(Hints, (std::vector<int>{SKULL_HINT}));
    SetCreatureSkull(C, 0, true);  // removed: still shown a while
    EXPECT_EQ(C->Skull, 2);
    EXPECT_NE(C->SkullClearTime, 0);
    Now += 4000;
    SweepSkulls();
    EXPECT_EQ(C->Skull, 2);
    Now += 1000;
    SweepSkulls();
    EXPECT_EQ(C->Skull, 0);
    EXPECT_EQ(C->SkullClearTime, 0);
    EXPECT_EQ(Hints.size(), 2u);  // the lingering skull still counted as shown

    SetCreatureSkull(C, 1, true);  // a delayed new skull is set at once
    EXPECT_EQ(C->Skull, 1);
    SetCreatureSkull(C, 0, false);
    EXPECT_EQ(C->Skull, 0);
    EXPECT_EQ(Hints.size(), 3u);
}

TEST_F(CreaturesTest, BattleListKeepsOrderOfAppearance) {
    SetMapPosition(1000, 1000, 7);
    SetPlayerID(PLAYER);
    Make(PLAYER, 1000, 1000, 7);
    Creature* A = Make(MONSTER + 1, 1007, 1005, 7);
    Creature* B = Make(MONSTER + 2, 993, 995, 7);
    Creature* Far = Make(MONSTER + 3, 1008, 1000, 7);
    Creature* Up = Make(MONSTER + 4, 1001, 1000, 6);
    Creature* Invisible = Make(MONSTER + 5, 1001, 1001, 7);
    Invisible->Outfit = 0;  // neither outfit nor look object
    EXPECT_EQ(RebuildBattleList(), 2);
    EXPECT_EQ(GetBattleListCreature(0), A);
    EXPECT_EQ(GetBattleListCreature(1), B);
    EXPECT_EQ(GetBattleListCreature(2), nullptr);

    A->Health = 0;
    SetCreaturePosition(Far, 1006, 1000, 7);
    Up->RealZ = 7;
    EXPECT_EQ(RebuildBattleList(), 3);
    EXPECT_EQ(GetBattleListCreature(0), B);
    EXPECT_EQ(GetBattleListCreature(1), Far);
    EXPECT_EQ(GetBattleListCreature(2), Up);
    A->Health = 50;
    RebuildBattleList();
    EXPECT_EQ(GetBattleListCreature(3), A);  // back at the tail
    EXPECT_ASSERTION(GetBattleListCreature(-1), "Number>=0");
}

TEST_F(CreaturesTest, ProximityRaisesTheHintOfNearbyCharacters) {
    SetMapPosition(1000, 1000, 7);
    SetPlayerID(PLAYER);
    Creature* P = Make(PLAYER, 1000, 1000, 7);
    Creature* Npc = Make(MONSTER, 1004, 1000, 7);
    std::strcpy(Npc->Name, "Old Miller");
    RebuildBattleList();
    EXPECT_TRUE(NpcHints.empty());
    SetCreaturePosition(Npc, 1002, 1001, 7);
    EXPECT_EQ(NpcHints, (std::vector<std::string>{"Old Miller"}));
    SetCreaturePosition(P, 1001, 1000, 7);
    EXPECT_EQ(NpcHints.size(), 2u);
}

TEST_F(CreaturesTest, SkillsAndTargets) {
    SetSkill(6, 12, 40);
    EXPECT_EQ(GetSkillLevel(6), 12);
    EXPECT_EQ(GetSkillPercent(6), 40);
    EXPECT_STREQ(GetSkillName(0), "Fist Fighting");
    EXPECT_STREQ(GetSkillName(4), "Distance Fighting");
    EXPECT_STREQ(GetSkillName(6), "Fishing");
    EXPECT_ASSERTION(GetSkillName(7), "In(SkillNumber,0,SKILLS-1)");
    SetAttackTarget(5);
    SetFollowTarget(6);
    EXPECT_EQ(GetAttackTarget(), 0u);
    SetAttackTarget(7);
    EXPECT_EQ(GetFollowTarget(), 0u);
    EXPECT_EQ(GetAttackTarget(), 7u);
}

TEST_F(CreaturesTest, PathFinderEarlyResults) {
    int Steps[PATH_MAX_STEPS], Count = -1;
    EXPECT_EQ(FindPath(1000, 1000, 7, 1000, 1000, 6, false, false, Steps, Count), -1);
    EXPECT_EQ(FindPath(1000, 1000, 7, 1000, 1000, 8, false, false, Steps, Count), -2);
    EXPECT_EQ(FindPath(1000, 1000, 7, 1111, 1000, 7, false, false, Steps, Count), -3);
    EXPECT_EQ(FindPath(1000, 1000, 7, 1000, 889, 7, false, false, Steps, Count), -3);
    EXPECT_EQ(FindPath(1000, 1000, 7, 1000, 1000, 7, false, false, Steps, Count), 0);
    EXPECT_EQ(Count, 0);
    EXPECT_EQ(FindPath(1000, 1000, 7, 1000, 999, 7, false, false, Steps, Count), 1);
    EXPECT_EQ(Count, 1);
    EXPECT_EQ(Steps[0], 3);
    EXPECT_EQ(FindPath(1000, 1000, 7, 999, 1001, 7, false, true, Steps, Count), 1);
    EXPECT_EQ(Count, 1);
    EXPECT_EQ(Steps[0], 6);
}

TEST_F(CreaturesTest, PathOfFifteenStepsGivesTenCodes) {
    std::vector<std::pair<int, int>> Corridor;
    for (int x = 1000; x <= 1005; x++) Corridor.push_back({x, 1000});
    for (int y = 1001; y <= 1005; y++) Corridor.push_back({1005, y});
    for (int x = 1004; x >= 1000; x--) Corridor.push_back({x, 1005});
    WriteArea(Corridor);
    int Steps[PATH_MAX_STEPS], Count = 0;
    EXPECT_EQ(FindPath(1000, 1000, 7, 1000, 1005, 7, false, false, Steps, Count), 2);
    ASSERT_EQ(Count, 10);
    for (int n = 0; n < 5; n++) EXPECT_EQ(Steps[n], 1) << n;
    for (int n = 5; n < 10; n++) EXPECT_EQ(Steps[n], 7) << n;
    // from the corner the rest reaches the end
    EXPECT_EQ(FindPath(1005, 1005, 7, 1000, 1005, 7, false, false, Steps, Count), 1);
    EXPECT_EQ(Count, 5);
    EXPECT_EQ(Steps[4], 5);
}

TEST_F(CreaturesTest, PathFinderPrefersKnownCheapGroundAndStopsBeforeABlockedEnd) {
    // a wall at (1003, 1000) with an opening only to the south-west of it
    std::vector<std::pair<int, int>> Open;
    for (int x = 990; x <= 1010; x++)
        for (int y = 990; y <= 1010; y++)
            if (x != 1003) Open.push_back({x, y});
    Open.push_back({1003, 1008});
    WriteArea(Open);
    int Steps[PATH_MAX_STEPS], Count = 0;
    EXPECT_EQ(FindPath(1000, 1000, 7, 1003, 1000, 7, false, false, Steps, Count), 1);
    EXPECT_EQ(Count, 2);  // ends next to the blocked destination
    EXPECT_EQ(Steps[0], 1);
    EXPECT_EQ(Steps[1], 1);
    EXPECT_EQ(FindPath(1000, 1000, 7, 1003, 1000, 7, true, false, Steps, Count), 1);
    EXPECT_EQ(Count, 3);
    // through the opening: east of the wall needs the long way round, cut by the window
    EXPECT_EQ(FindPath(1000, 1000, 7, 1005, 1000, 7, false, false, Steps, Count), 2);
    // walled in completely
    EXPECT_EQ(FindPath(1000, 1000, 7, 1020, 1020, 7, false, false, Steps, Count), -4);
}

TEST_F(CreaturesTest, GoToReportsImpossibleDestinations) {
    MakePlayer();
    AppendFieldObject(10, 6, 0, WALL, 0);
    EXPECT_EQ(GoTo(1002, 1000, 7, false, false), 0);
    EXPECT_EQ(StatusTexts, (std::vector<std::string>{"Sorry, not possible."}));
    int x, y, z;
    GetDestination(x, y, z);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(GoTo(1111, 1000, 7, false, false), 0);
    EXPECT_EQ(StatusTexts.back(), "Destination is out of range.");
    EXPECT_EQ(GoTo(1000, 1000, 8, false, false), 0);
    EXPECT_EQ(StatusTexts.back(), "First go downstairs.");
    EXPECT_EQ(GoTo(1001, 1001, 6, false, false), 0);
    EXPECT_EQ(StatusTexts.back(), "First go upstairs.");
    WriteArea({});
    EXPECT_EQ(GoTo(1000, 1005, 7, false, false), 0);
    EXPECT_EQ(StatusTexts.back(), "There is no way.");
    EXPECT_EQ(GetNumberOfPlayerSteps(), 0);
}

TEST_F(CreaturesTest, AutoWalkPredictsConfirmsAndGoesOn) {
    std::vector<std::pair<int, int>> Corridor;
    for (int x = 1000; x <= 1005; x++) Corridor.push_back({x, 1000});
    for (int y = 1001; y <= 1005; y++) Corridor.push_back({1005, y});
    for (int x = 1004; x >= 1000; x--) Corridor.push_back({x, 1005});
    WriteArea(Corridor);
    Creature* P = MakePlayer();
    EXPECT_EQ(GoTo(1000, 1005, 7, false, false), 1);
    EXPECT_EQ(GetNumberOfPlayerSteps(), 10);
    EXPECT_EQ(GetCurrentPlayerStep(), 1);
    int dx, dy;
    GetPredictedStep(dx, dy);
    EXPECT_EQ(dx, 1);
    EXPECT_EQ(dy, 0);
    int x, y, z;
    GetDestination(x, y, z);
    EXPECT_EQ(y, 1005);  // kept: the path was cut short
    EXPECT_EQ(GetShownDirection(P), 1);
    int ox, oy;
    GetDrawingOffset(P, ox, oy);
    EXPECT_EQ(ox, 0);  // -32 of the step plus 32 of the prediction

    // the same request again changes nothing; another one while walking asks to stop
    EXPECT_EQ(GoTo(1000, 1005, 7, false, false), 0);
    EXPECT_EQ(GoTo(1005, 1005, 7, false, false), 2);
    EXPECT_EQ(GoTo(1004, 1005, 7, false, false), 0);  // resume pending

    // the server confirms: no second animation
    UpdateWalking(Now + 350);
    int HalfWay = P->DeltaX;
    EXPECT_EQ(HalfWay, -16);
    StartStep(P, 1, 0, 150);
    EXPECT_EQ(P->DeltaX, HalfWay);
    EXPECT_EQ(GetCurrentPlayerStep(), 1);
    GetPredictedStep(dx, dy);
    EXPECT_EQ(dx, 0);
}

TEST_F(CreaturesTest, WalkingTakesTheNextStepAfterTheLock) {
    std::vector<std::pair<int, int>> Corridor;
    for (int x = 1000; x <= 1005; x++) Corridor.push_back({x, 1000});
    WriteArea(Corridor);
    Creature* P = MakePlayer();
    EXPECT_EQ(GoTo(1003, 1000, 7, false, false), 1);
    EXPECT_EQ(GetNumberOfPlayerSteps(), 3);
    StartStep(P, 1, 0, 150);  // confirmed
    SetCreaturePosition(P, 1001, 1000, 7);
    SetMapPosition(1001, 1000, 7);
    P->Walking = true;
    EXPECT_FALSE(UpdateWalking(Now + 701));
    EXPECT_EQ(GetCurrentPlayerStep(), 2);
    int dx, dy;
    GetPredictedStep(dx, dy);
    EXPECT_EQ(dx, 1);
    EXPECT_ASSERTION(GetPlayerStep(3), "In(Step,0,NumberOfPlayerSteps-1)");

    StopWalking();
    EXPECT_EQ(GetNumberOfPlayerSteps(), 0);
    GetPredictedStep(dx, dy);
    EXPECT_EQ(dx, 0);
    EXPECT_FALSE(P->Walking);
    EXPECT_EQ(P->DeltaX, 0);
}

TEST_F(CreaturesTest, WalkCancelledRecomputesFromTheRealField) {
    std::vector<std::pair<int, int>> Corridor;
    for (int x = 1000; x <= 1005; x++) Corridor.push_back({x, 1000});
    for (int y = 1001; y <= 1005; y++) Corridor.push_back({1005, y});
    for (int x = 1004; x >= 1000; x--) Corridor.push_back({x, 1005});
    WriteArea(Corridor);
    Creature* P = MakePlayer();
    EXPECT_EQ(GoTo(1000, 1005, 7, false, false), 1);
    EXPECT_TRUE(WalkCancelled(2));
    EXPECT_EQ(P->Direction, 1);  // the server's south, turned at once by the new path's first step east
    EXPECT_EQ(GetNumberOfPlayerSteps(), 10);  // the same path again from where he stands
    EXPECT_EQ(GetPlayerStep(0), 1);
    EXPECT_EQ(GetCurrentPlayerStep(), 1);

    // a complete path forgets its destination: nothing to compute after a refusal
    StopWalking();
    EXPECT_EQ(GoTo(1003, 1000, 7, false, false), 1);
    EXPECT_FALSE(WalkCancelled(1));
    EXPECT_EQ(GetNumberOfPlayerSteps(), 0);

    StopWalking();
    EXPECT_FALSE(WalkCancelled(3));  // no prediction, visible: nothing more
    EXPECT_EQ(P->Direction, 3);
}

TEST_F(CreaturesTest, BuddiesSortByThreeKeys) {
    UpdateBuddy(3, "Carl", false);
    UpdateBuddy(1, "anna", true);
    UpdateBuddy(2, "Bert", true);
    // online first, then icon, then name byte by byte
    EXPECT_STREQ(GetBuddyEntry(0).Name, "Bert");
    EXPECT_STREQ(GetBuddyEntry(1).Name, "anna");
    EXPECT_STREQ(GetBuddyEntry(2).Name, "Carl");
    EXPECT_EQ(GetNumberOfOnlineBuddies(), 2);

    SetBuddySortKey(0);
    EXPECT_EQ(GetBuddySortKey(0), 0);
    EXPECT_EQ(GetBuddySortKey(1), 2);
    EXPECT_EQ(GetBuddySortKey(2), 1);
    EXPECT_EQ(GetBuddySortmethod(0), 0);
    EXPECT_STREQ(GetBuddyEntry(0).Name, "Bert");
    EXPECT_STREQ(GetBuddyEntry(1).Name, "Carl");
    EXPECT_STREQ(GetBuddyEntry(2).Name, "anna");

    EditBuddy(1, 1, "", false);  // icon 1 puts anna first when the icon leads
    SetBuddySortKey(1);
    EXPECT_EQ(GetBuddySortKey(1), 0);
    EXPECT_EQ(GetBuddySortKey(2), 2);
    EXPECT_STREQ(GetBuddyEntry(0).Name, "Bert");  // icon 0 before icon 1
    EXPECT_STREQ(GetBuddyEntry(2).Name, "anna");

    SetBuddiesHideOffline(true);
    EXPECT_EQ(GetBuddySortKey(0), 2);
    EXPECT_EQ(GetNumberOfShownBuddies(), 2);
    SetBuddySortKey(0);  // offline hidden: online stays first
    EXPECT_EQ(GetBuddySortKey(0), 2);
    EXPECT_EQ(GetBuddySortKey(1), 0);
    SetBuddiesHideOffline(false);
    EXPECT_EQ(GetNumberOfShownBuddies(), 3);

    EXPECT_EQ(FindBuddyByName("CARL"), FindBuddy(3));
    DeleteBuddy(2);
    EXPECT_EQ(GetNumberOfBuddies(), 2);
    EXPECT_EQ(GetNumberOfOnlineBuddies(), 1);
    EXPECT_EQ(FindBuddy(2), -1);
    EXPECT_ASSERTION(GetBuddyEntry(2), "In(Position,0,NumberOfBuddies-1)");
}

TEST_F(CreaturesTest, BuddyLoginNoticeAndLimits) {
    UpdateBuddy(7, "Dora", false);
    EditBuddy(7, 2, "met at the well", true);
    EXPECT_EQ(GetBuddyNumber(7), 2);
    EXPECT_STREQ(GetBuddyDescription(7), "met at the well");
    Tick = 55;
    SetBuddyOnline(7, true);
    EXPECT_EQ(StatusTexts, (std::vector<std::string>{"Dora has logged in."}));
    EXPECT_EQ(GetBuddyEntry(0).LastChange, 55);
    SetBuddyOnline(7, true);  // already online: no second notice
    EXPECT_EQ(StatusTexts.size(), 1u);
    EditBuddy(7, 0, "", false);
    EXPECT_FALSE(IsBuddy(7));
    UpdateBuddy(7, "Dora", true);  // an update keeps one entry and the online count right
    EXPECT_EQ(GetNumberOfBuddies(), 1);
    EXPECT_EQ(GetNumberOfOnlineBuddies(), 1);

    EXPECT_ASSERTION(UpdateBuddy(8, std::string(30, 'x').c_str(), false), "Name!=NULL && strlen(Name)<30");
    EXPECT_ASSERTION(EditBuddy(0, 1, "", false), "CharacterID!=0");
    EXPECT_ASSERTION(EditBuddy(7, 1, nullptr, false), "Description!=NULL");

    // The icons come from Vorna.cfg, which a player may edit by hand: a
    // number that is no icon of the VIP list shows none.
    testing_support::WriteFile(GetPreferencesPath(),
                               "Buddy = (21,99,\"\",no)\nBuddy = (22,-3,\"\",no)\nBuddy = (23,4,\"\",no)\n");
    LoadPreferences();
    for (uint32_t ID : {21u, 22u, 23u}) UpdateBuddy(ID, "Edited", false);
    EXPECT_EQ(GetBuddyEntry(FindBuddy(21)).Icon, 0);
    EXPECT_EQ(GetBuddyEntry(FindBuddy(22)).Icon, 0);
    EXPECT_EQ(GetBuddyEntry(FindBuddy(23)).Icon, 4);

    for (uint32_t n = 100; GetNumberOfBuddies() < BUDDIES; n++) UpdateBuddy(n, "Someone", false);
    EXPECT_ASSERTION(UpdateBuddy(5000, "One Too Many", false), "NumberOfBuddies<BUDDIES");
    EXPECT_EQ(GetNumberOfBuddies(), BUDDIES);
}

}  // namespace
