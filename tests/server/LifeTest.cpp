// A player's life on the reference server over loopback: a creature that
// fights back, experience and skills after the fight, poison from a spider
// and its end, conditions from runes, drink and a ring, carried light,
// death and the temple, rights and reports, skulls in the arena, and what
// players change in the world kept across a restart.
#include "ServerHarness.h"

#include "support/TestSupport.h"
#include "world/TypeNumbers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

using namespace servertest;

namespace {

// Creature ids in the order of the test world's creature lines.
constexpr uint32_t SPIDER = 0x40000001, WOLF = 0x40000002, SKELETON = 0x40000003, HALDOR = 0x40000004;
// Condition flag bits as the client shows them.
constexpr int POISONED = 1, BURNING = 2, MAGIC_SHIELD = 4, HASTED = 16, IN_FIGHT = 32, DRUNK = 64, ELECTRIFIED = 128;

Position Slot(int Number) { return {0xFFFF, Number, 0}; }
Position InContainer(int Number, int Place) { return {0xFFFF, 64 + Number, Place}; }
Bytes Use(const Position& Where, int Type, int Stack, int Number) {
    return Packet().Byte(130).Pos(Where).Word(Type).Byte(Stack).Byte(Number).Data;
}
Bytes UseOn(const Position& Where, int Type, int Stack, uint32_t Creature) {
    return Packet().Byte(132).Pos(Where).Word(Type).Byte(Stack).Quad(Creature).Data;
}
Bytes MoveObject(const Position& From, int Type, int Stack, const Position& To, int Count) {
    return Packet().Byte(120).Pos(From).Word(Type).Byte(Stack).Pos(To).Byte(Count).Data;
}
bool Said(const GamePlayer& P, const std::string& Text) {
    for (const auto& [Type, Line] : P.View.TextMessages)
        if (Line == Text) return true;
    return false;
}
std::string Slurp(const std::filesystem::path& File) {
    std::ifstream In(File);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}
std::vector<std::string> Reports(const ServerRunner& S, const std::string& Kind) {
    std::vector<std::string> Found;
    auto Folder = S.StateDir / "reports";
    if (!std::filesystem::exists(Folder)) return Found;
    for (const auto& E : std::filesystem::directory_iterator(Folder))
        if (E.path().filename().string().rfind(Kind + "-", 0) == 0) Found.push_back(Slurp(E.path()));
    return Found;
}

}  // namespace

TEST(Life, FightsConditionsDeathAndTheTemple) {
    ServerRunner S;
    std::set<int> Seen;  // every server message type of this game, for the coverage list
    S.SetCharacterValues("Mira", {{"PositionX", "127"}, {"PositionY", "126"}, {"PositionZ", "7"}});
    {
        GamePlayer M(S.GamePort, 100001, "Mira");
        ASSERT_EQ(M.View.Creatures.count(WOLF), 1u);
        EXPECT_EQ(M.View.Rights[0], 0x7F);  // the account's rights came on entering
        // The wolf fights back: Mira loses hit points, her blows train club
        // fighting, and the kill brings experience; each comes at once.
        M.Client.SendPacket(Packet().Byte(160).Byte(1).Byte(1).Byte(0).Data);  // chase
        M.Client.SendPacket(Packet().Byte(161).Quad(WOLF).Data);
        ASSERT_TRUE(M.ReadUntil([&] { return Said(M, "You have slain Wolf."); }, 60000));
        M.Settle(200);
        EXPECT_LT(M.View.HitPoints, 150);
        EXPECT_EQ(M.View.MaxHitPoints, 150);
        EXPECT_EQ(M.View.Experience, 40u);
        EXPECT_EQ(M.View.Level, 1);
        EXPECT_EQ(M.View.LevelPercent, 40);
        EXPECT_GT(M.View.Skills[1], std::make_pair(10, 0));  // club fighting
        EXPECT_EQ(M.View.Skills[2], std::make_pair(10, 0));  // sword fighting untouched
        EXPECT_TRUE(M.View.Conditions & IN_FIGHT);
        // No logout in a fight.
        ASSERT_TRUE(M.Do(Packet().Byte(20).Data, 180));
        EXPECT_EQ(M.View.TextMessages.back().second, "You may not logout during a fight.");

        // Towards the spider: it notices her, marks itself, poisons her; the
        // poison hurts tick by tick and ends.
        Packet Path;
        std::vector<int> Codes;
        for (int x = M.Me().x; x < 130; x++) Codes.push_back(1);
        for (int y = M.Me().y; y < 126; y++) Codes.push_back(7);
        for (int y = M.Me().y; y > 126; y--) Codes.push_back(3);
        if (!Codes.empty()) {
            Path.Byte(100).Byte(int(Codes.size()));
            for (int C : Codes) Path.Byte(C);
            M.Client.SendPacket(Path.Data);
        }
        ASSERT_TRUE(M.ReadUntil([&] { return (M.View.Conditions & POISONED) != 0; }, 20000)) << M.Me().x << "," << M.Me().y << " spider " << M.View.Creatures[SPIDER].Pos.x << "," << M.View.Creatures[SPIDER].Pos.y;
        EXPECT_EQ(M.View.Marks.front().first, SPIDER);
        M.Client.SendPacket(Packet().Byte(161).Quad(SPIDER).Data);
        ASSERT_TRUE(M.ReadUntil([&] { return Said(M, "You have slain Spider."); }, 60000));
        EXPECT_EQ(M.View.Experience, 75u);
        ASSERT_TRUE(M.ReadUntil([&] { return (M.View.Conditions & POISONED) == 0; }, 30000));
        EXPECT_TRUE(M.View.Conditions & IN_FIGHT);

        // Runes, drink, a ring and a torch from the backpack.
        ASSERT_TRUE(M.Do(Use(Slot(3), TYPE_BACKPACK, 0, 0), 110));
        ASSERT_EQ(M.View.Containers[0].Objects[11].Type, TYPE_RING);
        int Speed = M.View.Creatures[2].Speed;
        ASSERT_TRUE(M.Do(MoveObject(InContainer(0, 11), TYPE_RING, 11, Slot(9), 1), 143));
        EXPECT_GT(M.View.Creatures[2].Speed, Speed);
        EXPECT_TRUE(M.View.Conditions & HASTED);
        ASSERT_TRUE(M.Do(MoveObject(InContainer(0, 11), TYPE_TORCH, 11, Slot(6), 1), 141));
        EXPECT_EQ(M.View.Creatures[2].Light, 4);
        ASSERT_TRUE(M.Do(Use(InContainer(0, 10), TYPE_MUG, 10, 0), 162));
        EXPECT_TRUE(M.View.Conditions & DRUNK);
        int Mana = M.View.Mana, Soul = M.View.Soul;
        ASSERT_TRUE(M.Do(Use(InContainer(0, 2), TYPE_BLANK_RUNE, 2, 0), 162));
        EXPECT_TRUE(M.View.Conditions & MAGIC_SHIELD);
        EXPECT_EQ(M.View.Mana, Mana - 10);
        EXPECT_EQ(M.View.Soul, Soul - 1);
        ASSERT_EQ(M.View.Containers[0].Objects[7].Type, TYPE_ENERGY_RUNE);
        ASSERT_TRUE(M.Do(UseOn(InContainer(0, 7), TYPE_ENERGY_RUNE, 7, 2), 162));
        EXPECT_TRUE(M.View.Conditions & ELECTRIFIED);
        ASSERT_EQ(M.View.Containers[0].Objects[5].Type, TYPE_FIRE_RUNE);
        ASSERT_TRUE(M.Do(UseOn(InContainer(0, 5), TYPE_FIRE_RUNE, 5, 2), 162));
        EXPECT_TRUE(M.View.Conditions & BURNING);
        // A bug report is written to a file of its own.
        ASSERT_TRUE(M.Do(Packet().Byte(230).String("A tree stands in the lake.").Data, 180));
        EXPECT_EQ(M.View.TextMessages.back().second, "Your report has been sent.");
        // A second one at once is refused: reports cannot fill the disk.
        ASSERT_TRUE(M.Do(Packet().Byte(230).String("Another tree.").Data, 180));
        EXPECT_EQ(M.View.TextMessages.back().second, "You have sent a report a moment ago. Please wait a little.");
        Seen.insert(M.View.Everything.begin(), M.View.Everything.end());
        M.Settle(100);
    }
    auto Bugs = Reports(S, "bug");
    ASSERT_EQ(Bugs.size(), 1u);
    EXPECT_NE(Bugs[0].find("Reporter = \"Mira\""), std::string::npos);
    EXPECT_NE(Bugs[0].find("Text = \"A tree stands in the lake.\""), std::string::npos);

    // Next to the skeleton with little left: Mira dies, is told so, and
    // comes back at the temple, whole, with a tenth of her experience lost.
    S.SetCharacterValues("Mira", {{"PositionX", "136"}, {"PositionY", "116"}, {"PositionZ", "7"}, {"HitPoints", "12"}});
    {
        GamePlayer M(S.GamePort, 100001, "Mira");
        EXPECT_EQ(M.View.Experience, 75u);
        M.ReadUntil([&] { return !M.View.Error.empty(); }, 30000);
        EXPECT_EQ(M.View.Error, "You are dead.");
        EXPECT_TRUE(M.Client.WaitClosed(5000));
        Seen.insert(M.View.Everything.begin(), M.View.Everything.end());
    }
    {
        GamePlayer M(S.GamePort, 100001, "Mira");
        EXPECT_EQ(M.Me(), (Position{105, 102, 7}));
        EXPECT_EQ(M.View.HitPoints, M.View.MaxHitPoints);
        EXPECT_EQ(M.View.Experience, 68u);
        EXPECT_EQ(M.View.Information, "You died and woke up in the temple.\nYou lost 7 experience points.");
        EXPECT_EQ(M.View.Conditions, HASTED);  // the ring is still on her finger
        Seen.insert(M.View.Everything.begin(), M.View.Everything.end());
    }

    // In the arena players may fight: the attacker is marked for the
    // victim and carries a skull; outside it nobody may attack a player.
    S.SetCharacterValues("Aldric", {{"PositionX", "117"}, {"PositionY", "101"}, {"PositionZ", "7"}});
    S.SetCharacterValues("Kestrel", {{"PositionX", "118"}, {"PositionY", "101"}, {"PositionZ", "7"}});
    {
        GamePlayer A(S.GamePort, 100001, "Aldric");
        GamePlayer K(S.GamePort, 100002, "Kestrel");
        ASSERT_TRUE(A.ReadUntil([&] { return A.View.Creatures.count(3) > 0; }));
        K.Client.SendPacket(Packet().Byte(161).Quad(1).Data);
        ASSERT_TRUE(A.ReadUntil([&] { return A.View.Creatures[3].Skull == 3 && !A.View.Marks.empty(); }, 10000));
        EXPECT_EQ(A.View.Marks.back().first, 3u);
        EXPECT_LT(A.View.HitPoints, 150);
        // Kestrel's account may not report rule violations.
        ASSERT_TRUE(K.Do(Packet().Byte(231).String("Aldric").Byte(10).String("spam").Byte(0).Byte(0).Data, 180));
        EXPECT_EQ(K.View.TextMessages.back().second, "You are not allowed to make this report.");
        ASSERT_TRUE(A.Do(Packet().Byte(231).String("Kestrel").Byte(28).String("attacked me").Byte(2).Byte(1).Data, 180));
        EXPECT_EQ(A.View.TextMessages.back().second, "Your report has been sent.");
        Seen.insert(A.View.Everything.begin(), A.View.Everything.end());
        Seen.insert(K.View.Everything.begin(), K.View.Everything.end());
    }
    auto Violations = Reports(S, "violation");
    ASSERT_EQ(Violations.size(), 1u);
    EXPECT_NE(Violations[0].find("Name = \"Kestrel\"\nReason = 28\nAction = 2\nIPBanishment = 1"), std::string::npos);

    std::string List;
    for (int C : Seen) List += " " + std::to_string(C);
    std::printf("server messages seen in this game:%s\n", List.c_str());
    for (int C : {10, 11, 20, 21, 100, 106, 108, 109, 110, 114, 120, 131, 132, 134, 140, 141, 143, 144, 160, 161, 162, 163, 180})
        EXPECT_TRUE(Seen.count(C)) << "message " << C << " never came";
}

TEST(Life, MovedObjectsAndWrittenTextsSurviveARestart) {
    ServerRunner S;
    S.SetCharacterValues("Aldric", {{"PositionX", "126"}, {"PositionY", "111"}, {"PositionZ", "7"}});
    {
        GamePlayer A(S.GamePort, 100001, "Aldric");
        ASSERT_TRUE(A.Do(MoveObject({126, 110, 7}, TYPE_CRATE, 1, {125, 110, 7}, 1), 106));
        ASSERT_TRUE(A.Do(Use({127, 112, 7}, TYPE_BLACKBOARD, 1, 0), 150));
        EXPECT_EQ(A.View.EditText, "Hello");
        A.Client.SendPacket(Packet().Byte(137).Quad(A.View.EditTextID).String("Fish today.").Data);
        A.Settle(200);
    }
    S.Stop();
    std::string Saved = Slurp(S.StateDir / "world.txt");
    EXPECT_NE(Saved.find("Field = \"125 110 7 100 154\""), std::string::npos) << Saved;
    S.Start();
    GamePlayer A(S.GamePort, 100001, "Aldric");
    EXPECT_EQ(A.View.FieldAt({125, 110, 7}), (std::vector<Thing>{{TYPE_GRASS, 0}, {TYPE_CRATE, 0}}));
    EXPECT_EQ(A.View.FieldAt({126, 110, 7}), (std::vector<Thing>{{TYPE_GRASS, 0}}));
    ASSERT_TRUE(A.Do(Use({127, 112, 7}, TYPE_BLACKBOARD, 1, 0), 150));
    EXPECT_EQ(A.View.EditText, "Fish today.");
}

// By the lake: Haldor cannot be fought, by blow or rune; the rod lands a
// fish in the backpack sooner or later; soul points spent on a rune come
// back by themselves (here one a second).
TEST(Life, PeopleAreNotFoughtFishBiteAndSoulComesBack) {
    ServerRunner S("SoulSeconds = 1\n");
    S.SetCharacterValues("Mira", {{"PositionX", "123"}, {"PositionY", "121"}, {"PositionZ", "7"}});
    GamePlayer M(S.GamePort, 100001, "Mira");
    ASSERT_EQ(M.View.Creatures.count(HALDOR), 1u);
    ASSERT_TRUE(M.Do(Packet().Byte(161).Quad(HALDOR).Data, 163));
    EXPECT_TRUE(Said(M, "You may not attack this person."));
    ASSERT_TRUE(M.Do(Use(Slot(3), TYPE_BACKPACK, 0, 0), 110));
    auto PlaceOf = [&](int Type) {
        const auto& Objects = M.View.Containers[0].Objects;
        for (size_t i = 0; i < Objects.size(); i++)
            if (Objects[i].Type == Type) return int(i);
        return -1;
    };
    int Rune = PlaceOf(TYPE_FIRE_RUNE), Soul = M.View.Soul;
    ASSERT_GE(Rune, 0);
    M.View.TextMessages.clear();
    ASSERT_TRUE(M.Do(UseOn(InContainer(0, Rune), TYPE_FIRE_RUNE, Rune, HALDOR), 180));
    EXPECT_EQ(M.View.TextMessages.back().second, "You may not attack this person.");
    EXPECT_EQ(M.View.Creatures[HALDOR].Health, 100);
    EXPECT_EQ(M.View.Soul, Soul);
    EXPECT_FALSE(M.View.Conditions & IN_FIGHT);

    int Fish = 0;
    for (int Cast = 0; Cast < 80 && Fish == 0; Cast++) {
        int Rod = PlaceOf(TYPE_FISHING_ROD);
        ASSERT_GE(Rod, 0);
        size_t Before = M.View.Containers[0].Objects.size();
        // The skills come last, after the catch.
        ASSERT_TRUE(M.Do(Packet().Byte(131).Pos(InContainer(0, Rod)).Word(TYPE_FISHING_ROD).Byte(Rod)
                             .Pos({122, 121, 7}).Word(TYPE_WATER).Byte(0).Data, 161));
        if (Said(M, "You caught a fish.")) {
            ASSERT_EQ(M.View.Containers[0].Objects.size(), Before + 1);
            Fish = M.View.Containers[0].Objects.front().Type;
        }
    }
    EXPECT_EQ(Fish, TYPE_FISH);
    EXPECT_GT(M.View.Skills[6], std::make_pair(10, 0));

    // A rune on herself spends a soul point; it is back within seconds.
    Rune = PlaceOf(TYPE_HEALING_RUNE);
    ASSERT_GE(Rune, 0);
    ASSERT_TRUE(M.Do(Use(InContainer(0, Rune), TYPE_HEALING_RUNE, Rune, 0), 160));
    int Spent = M.View.Soul;
    EXPECT_EQ(Spent, Soul - 1);
    EXPECT_TRUE(M.ReadUntil([&] { return M.View.Soul > Spent; }, 5000));
}

TEST(Life, ACreatureThatGivesUpTheChaseWalksHome) {
    ServerRunner S;
    S.SetCharacterValues("Aldric", {{"PositionX", "130"}, {"PositionY", "127"}, {"PositionZ", "7"}});
    GamePlayer A(S.GamePort, 100001, "Aldric");
    // The spider (at home on 134,126) comes for him.
    ASSERT_TRUE(A.ReadUntil([&] { return A.View.Creatures[SPIDER].Pos.x == 131; }, 15000));
    // Past the wolf (128,126), one row south of it.
    // He runs west, faster than it; it gives up on the way. Coming back
    // (not near enough to be noticed) he finds it at home again, not
    // standing where it gave up.
    Packet Run;
    Run.Byte(100).Byte(13);
    for (int i = 0; i < 13; i++) Run.Byte(5);
    A.Client.SendPacket(Run.Data);
    ASSERT_TRUE(A.ReadUntil([&] { return A.Me().x == 117; }, 15000));
    A.Settle(3000);
    Packet Back;
    Back.Byte(100).Byte(8);
    for (int i = 0; i < 8; i++) Back.Byte(1);
    A.Client.SendPacket(Back.Data);
    ASSERT_TRUE(A.ReadUntil([&] { return A.Me().x == 125; }, 15000));
    EXPECT_TRUE(A.ReadUntil([&] { return A.View.Creatures[SPIDER].Pos == Position{134, 126, 7}; }, 15000))
        << "the spider stands at " << A.View.Creatures[SPIDER].Pos.x << "," << A.View.Creatures[SPIDER].Pos.y;
}
