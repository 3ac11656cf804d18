// Creature updates, player values and their hints, light and effects, talk
// with its routing, channels, text messages, walk cancelled, containers,
// inventory, trade, outfit and buddies.
#include "ProtocolFixture.h"

#include "core/TalkModes.h"

namespace protocol_test {
namespace {

using testworld::BOTTLE;
using testworld::COINS;
using testworld::ITEM_A;
using testworld::ITEM_B;

class GameMessages : public ProtocolTest {
  protected:
    void AddRat() {
        Receive(Bytes({106}) + Word(101) + Word(100) + Bytes({7}) + Word(97) + Quad(0) + Quad(RAT) + String("rat") +
                Bytes({100, 2, 0}) + Word(ITEM_A) + Bytes({0, 0}) + Word(100) + Bytes({0, 0}));
    }
    static constexpr uint32_t RAT = 0x40000010;
};

TEST_F(GameMessages, EnteringTheGameStoresTheLoginDataAndRightsFollow) {
    // the fixture entered with player 0x10000001, beat 50 and right 40
    EXPECT_EQ(GetPlayerID(), PLAYER);
    EXPECT_EQ(GetServerBeat(), 50);
    EXPECT_TRUE(HasRight(40));
    EXPECT_TRUE(IsKnownHint(1));
    std::string Rights = Bytes({11});
    for (int i = 0; i < 32; i++) Rights += Bytes({i == 3 ? 1 : 0});
    Receive(Rights);
    EXPECT_TRUE(HasRight(3));
    EXPECT_FALSE(HasRight(4));
    // a second login clears the rights table and raises no second first-login hint
    Receive(Bytes({10}) + Quad(0x10000002) + Word(100) + Bytes({0}));
    EXPECT_EQ(Sent(), "04 00 A0 02 00 01");
    EXPECT_FALSE(HasRight(3));
    EXPECT_FALSE(HasRight(40));
    EXPECT_EQ(GetServerBeat(), 100);
    EXPECT_EQ(GetNumberOfPendingHints(), 0);
}

TEST_F(GameMessages, CreatureUpdatesApplyToKnownCreaturesAndAreDroppedForUnknownOnes) {
    EnterSurfaceMap();
    AddRat();
    Creature* R = FindCreature(RAT);
    ASSERT_NE(R, nullptr);
    const uint32_t Unknown = 0x40000999;
    Receive(Bytes({140}) + Quad(RAT) + Bytes({35}) + Bytes({140}) + Quad(Unknown) + Bytes({99}) +
            Bytes({141}) + Quad(RAT) + Bytes({6, 210}) + Bytes({141}) + Quad(Unknown) + Bytes({1, 1}) +
            Bytes({142}) + Quad(RAT) + Bytes({1, 11, 12, 13, 14}) + Bytes({142}) + Quad(Unknown) + Bytes({0}) +
            Word(ITEM_B) + Bytes({143}) + Quad(RAT) + Word(440) + Bytes({143}) + Quad(Unknown) + Word(1) +
            Bytes({145}) + Quad(RAT) + Bytes({3}) + Bytes({145}) + Quad(Unknown) + Bytes({4}) +
            Bytes({134}) + Quad(RAT) + Bytes({180}) + Bytes({134}) + Quad(Unknown) + Bytes({1}) +
            Bytes({144}) + Quad(RAT) + Bytes({2}) + Bytes({144}) + Quad(Unknown) + Bytes({2}) + Bytes({30}));
    EXPECT_EQ(Sent(), "01 00 1E");  // everything read to the ping at the end
    EXPECT_EQ(R->Health, 35);
    EXPECT_EQ(R->LightIntensity, 6);
    EXPECT_EQ(R->LightColour, 210);
    EXPECT_EQ(R->Outfit, 1);
    EXPECT_EQ(R->Colours[0], 11);
    EXPECT_EQ(R->Colours[3], 14);
    EXPECT_EQ(R->Speed, 440);
    EXPECT_EQ(R->PartyShield, 3);
    EXPECT_EQ(R->MarkColour, 180);
    EXPECT_TRUE(IsCreatureMarked(R));
    EXPECT_EQ(R->Skull, 2);
    EXPECT_EQ(FindCreature(Unknown), nullptr);
    // a skull that goes away is still shown a little while
    Receive(Bytes({144}) + Quad(RAT) + Bytes({0}));
    EXPECT_EQ(R->Skull, 2);
    EXPECT_NE(R->SkullClearTime, 0);
}

TEST_F(GameMessages, PlayerDataRaisesHintsOnlyAfterTheFirstValues) {
    auto Data = [](uint32_t Experience, int Level) {
        return Bytes({160}) + Word(150) + Word(180) + Word(400) + Quad(Experience) + Word(Level) + Bytes({42}) +
               Word(30) + Word(60) + Bytes({3, 75, 100});
    };
    Receive(Data(0, 1));  // the first values after logging in raise nothing
    EXPECT_EQ(GetNumberOfPendingHints(), 0);
    EXPECT_EQ(GetPlayerHitpoints(), 150);
    EXPECT_EQ(GetPlayerMaxHitpoints(), 180);
    EXPECT_EQ(GetPlayerCapacity(), 400);
    EXPECT_EQ(GetPlayerExperienceLevel(), 1);
    EXPECT_EQ(GetPlayerExperienceLevelPercent(), 42);
    EXPECT_EQ(GetPlayerMana(), 30);
    EXPECT_EQ(GetPlayerMaxMana(), 60);
    EXPECT_EQ(GetPlayerMagicLevel(), 3);
    EXPECT_EQ(GetPlayerMagicLevelPercent(), 75);
    EXPECT_EQ(GetPlayerSoulpoints(), 100);
    Receive(Data(5, 1));
    EXPECT_EQ(popPendingHint(), 7);
    Receive(Data(500, 2));
    EXPECT_EQ(popPendingHint(), 8);
    Receive(Data(9000, 8));
    EXPECT_EQ(popPendingHint(), 10);
    Receive(Data(90000, 19));
    EXPECT_EQ(popPendingHint(), 0);
    Receive(Data(99000, 20));
    EXPECT_EQ(popPendingHint(), 14);
    // each hint only once per installation
    Receive(Data(0, 1) + Data(5, 25));
    EXPECT_EQ(GetNumberOfPendingHints(), 0);
    EXPECT_TRUE(IsKnownHint(7) && IsKnownHint(8) && IsKnownHint(10) && IsKnownHint(14));
}

TEST_F(GameMessages, SkillsConditionsAndClearedTargets) {
    std::string Skills = Bytes({161});
    for (int s = 0; s < 7; s++) Skills += Bytes({10 + s, 5 * s});
    Receive(Skills);
    EXPECT_EQ(GetNumberOfPendingHints(), 0);  // unknown (zero) levels rising raise nothing
    EXPECT_EQ(GetSkillLevel(6), 16);
    EXPECT_EQ(GetSkillPercent(6), 30);
    Skills[1 + 2 * 3] = 14;  // skill 3 rises from 13 to 14
    Receive(Skills);
    EXPECT_EQ(popPendingHint(), 9);
    Receive(Bytes({162, 0x25}));
    EXPECT_EQ(GetPlayerConditions(), 0x25);
    SetAttackTarget(0x40000001);
    Receive(Bytes({163}));
    EXPECT_EQ(GetAttackTarget(), 0u);
    EXPECT_EQ(GetFollowTarget(), 0u);
}

// The full map comes in a packet of its own; the light, the player's values
// and the skills come later, and frames and timer ticks run in between.
TEST_F(GameMessages, BetweenTheMapAndTheFirstLightAndPlayerMessagesEverythingReadsADefinedValue) {
    auto Light = [] {
        int r, g, b;
        GetAmbientColour(r, g, b);
        return std::to_string(GetAmbientBrightness()) + " " + std::to_string(r) + " " + std::to_string(g) + " " +
               std::to_string(b);
    };
    auto Ticks = [this](int Count) {
        for (int i = 0; i < Count; i++) {
            Now += 100;
            ControlTimerTick();
            MoveMissiles(Now);
            UpdateWalking(Now);
        }
    };
    EnterSurfaceMap();
    EXPECT_EQ(Light(), "255 255 255 255");  // full white daylight
    Ticks(25);
    EXPECT_EQ(Light(), "255 255 255 255");  // nothing to step toward yet
    // the player's values and skills read as nothing known, not as garbage
    std::string Values;
    for (int v : {GetPlayerHitpoints(), GetPlayerMaxHitpoints(), GetPlayerCapacity(), int(GetPlayerExperience()),
                  GetPlayerExperienceLevel(), GetPlayerExperienceLevelPercent(), GetPlayerMana(), GetPlayerMaxMana(),
                  GetPlayerMagicLevel(), GetPlayerMagicLevelPercent(), GetPlayerSoulpoints(), GetPlayerConditions()})
        Values += std::to_string(v);
    for (int Skill = 0; Skill < SKILLS; Skill++) Values += std::to_string(GetSkillLevel(Skill) + GetSkillPercent(Skill));
    EXPECT_EQ(Values, std::string(12 + SKILLS, '0'));
    EXPECT_EQ(GetServerBeat(), 50);
    const Creature* P = FindCreature(PLAYER);
    ASSERT_NE(P, nullptr);
    EXPECT_EQ(GetShownDirection(P), 2);
    EXPECT_EQ(GetAnimationPhase(P, 3), 1);

    // the first light message takes effect at once, the next ones a step a second
    Receive(Bytes({130, 40, 0}));
    EXPECT_EQ(Light(), "40 0 0 0");
    Receive(Bytes({130, 42, 215}));
    Ticks(10);
    EXPECT_EQ(Light(), "41 1 1 1");
    // a new session is in daylight again until its own first light message
    Receive(Bytes({10}) + Quad(PLAYER) + Word(50) + Bytes({1}));
    EXPECT_EQ(Sent(), "04 00 A0 02 00 01");
    EnterSurfaceMap();
    Ticks(10);
    EXPECT_EQ(Light(), "255 255 255 255");
    Receive(Bytes({130, 90, 173}));
    EXPECT_EQ(Light(), "90 204 204 255");
}

TEST_F(GameMessages, LightEffectsTextsAndMissiles) {
    EnterSurfaceMap();
    Receive(Bytes({130, 120, 215}));
    EXPECT_EQ(GetAmbientBrightness(), 120);  // the first light after entering takes effect at once
    Receive(Bytes({131}) + Word(101) + Word(100) + Bytes({7, 1}) + Bytes({132}) + Word(101) + Word(100) +
            Bytes({7, 180}) + String("1234567890123") + Bytes({133}) + Word(99) + Word(100) + Bytes({7}) +
            Word(103) + Word(100) + Bytes({7, 1}) +
            // an effect far away waits beyond the view on cube field (0,0,0)
            Bytes({131}) + Word(500) + Word(500) + Bytes({7, 1}) + Bytes({30}));
    EXPECT_EQ(Sent(), "01 00 1E");
    int e = GetFirstFieldEffect(9, 6, 0);
    ASSERT_NE(e, -1);
    EXPECT_EQ(GetEffectStatus(e), EFFECT_TEXT);
    EXPECT_STREQ(GetTextEffectText(e), "123456789");  // kept to nine characters
    EXPECT_EQ(GetTextEffectColour(e), 180);
    e = GetNextFieldEffect(e);
    ASSERT_NE(e, -1);
    EXPECT_EQ(GetEffectStatus(e), EFFECT_GRAPHIC);
    EXPECT_NE(GetFirstFieldEffect(7, 6, 0), -1);  // the missile starts on its first field

    // Beyond the cube's edge: a text waits with that effect; a missile shot
    // from four fields beyond the west edge to (104, 100) flies into the view
    // (16 fields, 600 ms); one to another floor is not shown.
    Receive(Bytes({132}) + Word(80) + Word(100) + Bytes({7, 30}) + String("far") + Bytes({133}) + Word(88) +
            Word(100) + Bytes({7}) + Word(104) + Word(100) + Bytes({7, 1}) + Bytes({133}) + Word(88) + Word(100) +
            Bytes({7}) + Word(104) + Word(100) + Bytes({6, 1}));
    std::vector<int> Waiting;
    for (int n = GetFirstFieldEffect(0, 0, 0); n != -1; n = GetNextFieldEffect(n)) Waiting.push_back(n);
    ASSERT_EQ(Waiting.size(), 3u);
    EXPECT_EQ(GetEffectStatus(Waiting[1]), EFFECT_TEXT);
    EXPECT_EQ(GetEffectStatus(Waiting[2]), EFFECT_GRAPHIC);
    const int Missile = Waiting[0];
    ASSERT_EQ(GetEffectStatus(Missile), EFFECT_MISSILE);
    int x, y;
    GetMissileEffectOffset(Missile, x, y);
    EXPECT_EQ(x, -4 * 32);
    EXPECT_EQ(y, 6 * 32);
    MoveMissiles(Now + 300);
    EXPECT_EQ(GetFirstFieldEffect(4, 6, 0), Missile);
    MoveMissiles(Now + 600);
    EXPECT_EQ(GetFirstFieldEffect(12, 6, 0), Missile);
}

TEST_F(GameMessages, TalkIsRoutedByModeAndIgnoredSpeakersAreRead) {
    AddIgnore("Pest", false);
    auto Talk = [](const char* Speaker, int Mode, const std::string& Fields) {
        return Bytes({170}) + String(Speaker) + Bytes({Mode}) + Fields;
    };
    const std::string Where = Word(101) + Word(102) + Bytes({7});
    Receive(Talk("Mira", TALK_SAY, Where + String("hello")) + Talk("Pest", TALK_YELL, Where + String("buy")) +
            Talk("Mira", TALK_PRIVATE_MESSAGE, String("psst")) +
            Talk("Gm Tor", TALK_GAMEMASTER_BROADCAST, String("restart")) +
            Talk("Mira", TALK_CHANNEL_CALL, Word(4) + String("trade?")) +
            Talk("Pest", TALK_CHANNEL_CALL, Word(4) + String("spam")) +
            Talk("Mira", TALK_GAMEMASTER_REQUEST, Quad(17) + String("help")) +
            Talk("Gm Tor", TALK_GAMEMASTER_ANSWER, String("coming")) +
            Talk("Rat", TALK_ANIMAL_LOUD, Where + String("squeak")) +
            Talk("Mira", TALK_CHANNEL_HIGHLIGHT, Word(5) + String("!")));
    EXPECT_EQ(Calls, (std::vector<std::string>{
                         "map Mira 1 [101,102,7] hello", "console Mira 1 -1 hello", "map Mira 4 [0,0,0] psst",
                         "console Mira 4 -1 psst", "map Gm Tor 9 [0,0,0] restart", "console Gm Tor 9 -1 restart",
                         "console Mira 5 4 trade?", "request Mira -17 help", "console Gm Tor 7 -1 coming",
                         "map Rat 17 [101,102,7] squeak", "console Mira 12 5 !"}));
}

TEST_F(GameMessages, UnknownTalkModeIsAnAssertionWithTheMode) {
    EXPECT_ASSERTION(Receive(Bytes({170}) + String("Mira") + Bytes({13}) + String("x")), "false");
    EXPECT_NE(testing_support::ReadFile(assertion::ErrorLogPath()).find("\nParameter: 13"), std::string::npos);
}

TEST_F(GameMessages, TextMessagesGoToScreenStatusAndConsole) {
    std::string m;
    for (int Type : {18, 19, 20, 21, 22, 23}) m += Bytes({180, Type}) + String("t" + std::to_string(Type));
    Receive(m);
    EXPECT_EQ(Calls, (std::vector<std::string>{"screen 18 t18", "console  18 -1 t18", "screen 19 t19",
                                               "console  19 -1 t19", "status t20", "console  20 -1 t20",
                                               "status t21", "console  21 -1 t21", "screen 22 t22",
                                               "console  22 -1 t22", "status t23"}));
}

TEST_F(GameMessages, ChannelMessagesPostEventsAndCloseChannels) {
    Receive(Bytes({171, 2}) + Word(1) + String("Trade") + Word(7) + String("Help") + Bytes({172}) + Word(7) +
            String("Help") + Bytes({173}) + String("Mira") + Bytes({174}) + Word(3) + Bytes({178}) + Word(300) +
            String("Aldric's Channel") + Bytes({175}) + String("Mira") + Bytes({176}) + String("Mira") +
            Bytes({177}) + Bytes({179}) + Word(300));
    ASSERT_EQ(GetNumberOfChannels(), 2);
    EXPECT_EQ(GetChannelEntry(1).ID, 7);
    EXPECT_STREQ(GetChannelEntry(1).Name, "Help");
    ASSERT_EQ(GetNumberOfEvents(), 5);
    EXPECT_EQ(GetQueuedEvent(0).Type, 17);
    EXPECT_EQ(GetQueuedEvent(1).Type, 43);
    EXPECT_EQ(GetQueuedEvent(1).Data, 7);
    EXPECT_STREQ(EventText(GetQueuedEvent(1).Extra), "Help");
    EXPECT_EQ(GetQueuedEvent(2).Type, 42);
    EXPECT_STREQ(EventText(GetQueuedEvent(2).Extra), "Mira");
    EXPECT_EQ(GetQueuedEvent(3).Type, 45);
    EXPECT_EQ(GetQueuedEvent(3).Data, 3);
    EXPECT_EQ(GetQueuedEvent(4).Type, 44);
    EXPECT_EQ(GetQueuedEvent(4).Data, 300);
    EXPECT_STREQ(EventText(GetQueuedEvent(4).Extra), "Aldric's Channel");
    EXPECT_EQ(Calls, (std::vector<std::string>{
                         "open request 3", "remove request Mira", "close 8 0 Mira Mira has finished the request.",
                         "close 7 0  Your request has been closed.",
                         "close 5 300  The channel has been closed. You need to re-join the channel if you get "
                         "invited."}));
    ClearEvents();  // the texts are freed with the events
}

TEST_F(GameMessages, EditTextEditListAndOutfitDialogKeepTheirRecords) {
    Receive(Bytes({150}) + Quad(77) + Word(ITEM_A) + Word(400) + String("Dear diary") + String("Aldric") +
            Bytes({151, 2}) + Quad(9) + String("a\nb"));
    EXPECT_EQ(GetEditText().TextID, 77u);
    EXPECT_EQ(GetEditText().Type, ITEM_A);
    EXPECT_EQ(GetEditText().MaxLength, 400);
    EXPECT_STREQ(GetEditText().Text, "Dear diary");
    EXPECT_STREQ(GetEditText().SecondText, "Aldric");
    EXPECT_EQ(GetEditList().Kind, 2);
    EXPECT_EQ(GetEditList().ListID, 9u);
    EXPECT_STREQ(GetEditList().Text, "a\nb");
    ASSERT_EQ(GetNumberOfEvents(), 2);
    EXPECT_EQ(GetQueuedEvent(0).Type, 13);
    EXPECT_EQ(GetQueuedEvent(1).Type, 14);

    SendRequestOutfit();
    EXPECT_EQ(Sent(), "01 00 D2");
    SendRequestOutfit();  // the second "Set Outfit" before the dialog arrives
    EXPECT_EQ(Sent(), "");
    Receive(Bytes({200, 1, 2, 3, 4, 5, 1, 4}));
    const uint8_t Expected[7] = {1, 2, 3, 4, 5, 1, 4};
    for (int i = 0; i < 7; i++) EXPECT_EQ(GetOutfitChoice().Values[i], Expected[i]) << i;
    EXPECT_EQ(GetQueuedEvent(2).Type, 15);
    SendRequestOutfit();
    EXPECT_EQ(Sent(), "01 00 D2");
}

TEST_F(GameMessages, WalkCancelledSixteenTimesFromOneFieldCancelsEverything) {
    EnterSurfaceMap();
    SetAttackTarget(0x40000001);
    for (int n = 0; n < 16; n++) Receive(Bytes({181, 1}));
    EXPECT_EQ(GetWalkCancelRepeats(), 15);
    EXPECT_EQ(Sent(), "");
    EXPECT_EQ(GetAttackTarget(), 0x40000001u);
    Receive(Bytes({181, 1}));
    EXPECT_EQ(Sent(), "01 00 BE");
    EXPECT_EQ(GetAttackTarget(), 0u);
    EXPECT_EQ(GetWalkCancelRepeats(), 0);
    EXPECT_EQ(FindCreature(PLAYER)->Direction, 1);
}

TEST_F(GameMessages, ContainersKeepTheirObjectsAndAFullOneAsksAgainAfterARemoval) {
    std::string Open = Bytes({110, 3}) + Word(ITEM_B) + String("bag") + Bytes({36, 1, 37});
    for (int n = 0; n < 36; n++) Open += Word(ITEM_A);
    Open += Word(COINS) + Bytes({50});  // the 37th is read and dropped
    Receive(Open + Bytes({30}));
    EXPECT_EQ(Sent(), "01 00 1E");
    ASSERT_TRUE(IsContainerOpen(3));
    EXPECT_EQ(GetContainerCount(3), 36);
    EXPECT_STREQ(GetContainerName(3), "Bag");  // the inventory capitalises names
    EXPECT_TRUE(GetContainerHasParent(3));
    EXPECT_EQ(GetContainerType(3), ITEM_B);
    Receive(Bytes({114, 3, 0}));
    EXPECT_EQ(Sent(), "02 00 CA 03");
    Receive(Bytes({114, 3, 0}));
    EXPECT_EQ(Sent(), "");
    Receive(Bytes({112, 3}) + Word(COINS) + Bytes({7}) + Bytes({113, 3, 1}) + Word(BOTTLE) + Bytes({2}));
    EXPECT_EQ(GetContainerObject(3, 0).Type, COINS);
    EXPECT_EQ(GetContainerObject(3, 0).Data, 7u);
    EXPECT_EQ(GetContainerObject(3, 1).Type, BOTTLE);
    EXPECT_EQ(GetContainerObject(3, 1).Data, 2u);
    // opening the same number again replaces it
    Receive(Bytes({110, 3}) + Word(ITEM_A) + String("box") + Bytes({8, 0, 1}) + Word(ITEM_B));
    EXPECT_EQ(GetContainerCount(3), 1);
    EXPECT_STREQ(GetContainerName(3), "Box");
    Receive(Bytes({111, 3}));
    EXPECT_FALSE(IsContainerOpen(3));
}

TEST_F(GameMessages, InventoryTradeAndBuddies) {
    Receive(Bytes({120, 5}) + Word(COINS) + Bytes({12}) + Bytes({120, 6}) + Word(ITEM_A));
    EXPECT_EQ(GetBodyObject(5).Type, COINS);
    EXPECT_EQ(GetBodyObject(5).Data, 12u);
    Receive(Bytes({121, 5}));
    EXPECT_EQ(GetBodyObject(5).Type, 0);
    EXPECT_EQ(GetBodyObject(6).Type, ITEM_A);

    Receive(Bytes({125}) + String("Mira") + Bytes({2}) + Word(ITEM_A) + Word(COINS) + Bytes({3}));
    Receive(Bytes({126}) + String("Mira") + Bytes({1}) + Word(ITEM_B));
    // a second counter offer while one is held is read and not stored
    Receive(Bytes({126}) + String("Other") + Bytes({1}) + Word(BOTTLE) + Bytes({1}) + Bytes({30}));
    EXPECT_EQ(Sent(), "01 00 1E");
    EXPECT_STREQ(GetOwnOfferName(), "Mira");
    EXPECT_EQ(GetOwnOfferCount(), 2);
    EXPECT_EQ(GetOwnOfferObject(1).Data, 3u);
    EXPECT_STREQ(GetCounterOfferName(), "Mira");
    EXPECT_EQ(GetCounterOfferCount(), 1);
    EXPECT_EQ(GetCounterOfferObject(0).Type, ITEM_B);
    Receive(Bytes({127}));
    EXPECT_EQ(GetOwnOfferCount(), 0);
    EXPECT_EQ(GetCounterOfferCount(), 0);

    Receive(Bytes({210}) + Quad(555) + String("Mira") + Bytes({1}) + Bytes({210}) + Quad(556) + String("Tor") +
            Bytes({0}) + Bytes({212}) + Quad(555) + Bytes({211}) + Quad(556));
    ASSERT_EQ(GetNumberOfBuddies(), 2);
    EXPECT_FALSE(GetBuddyEntry(FindBuddy(555)).Online);
    EXPECT_TRUE(GetBuddyEntry(FindBuddy(556)).Online);
    EXPECT_STREQ(GetBuddyEntry(FindBuddy(556)).Name, "Tor");
}

TEST_F(GameMessages, UnknownCommandWritesTheParameterAndThePacket) {
    EXPECT_ASSERTION(Receive(Bytes({99, 1, 2, 3})), "false");
    std::string Log = testing_support::ReadFile(assertion::ErrorLogPath());
    EXPECT_NE(Log.find("\nParameter: 99"), std::string::npos) << Log;
    EXPECT_NE(Log.find("\npkt:  63010203000000000000000000000000"), std::string::npos) << Log;
}

}  // namespace
}  // namespace protocol_test
