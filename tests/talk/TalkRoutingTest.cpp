// The game protocol's hand-over to the texts on the map: speech, screen and
// status messages, the creatures' status texts, the timer and the reset on
// entering the game.
#include "app/Control.h"
#include "app/GameProtocol.h"
#include "graphics/Talk.h"
#include "net/GameHooks.h"
#include "world/Creatures.h"
#include "world/Map.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class TalkRoutingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitTalk();
        InitControl();
        InstallGameProtocol();
    }
    void TearDown() override {
        RemoveGameProtocol();
        ExitControl();
        ExitTalk();
    }
};

TEST_F(TalkRoutingTest, MapAndScreenTextsBecomeBoxesOthersAreLeftOut) {
    const GameHooks& Hooks = GetGameHooks();
    ASSERT_NE(Hooks.MapText, nullptr);
    Hooks.MapText("Mira", TALK_SAY, 100, 100, 7, "hello");
    Hooks.MapText("Tom", TALK_PRIVATE_MESSAGE, 0, 0, 0, "psst");
    // Modes the map does not show are dropped without an assertion.
    Hooks.MapText("Tom", TALK_CHANNEL_CALL, 0, 0, 0, "channel talk");
    Hooks.MapText("Tom", TALK_PLAYER_ANSWER, 0, 0, 0, "answer");
    Hooks.ScreenMessage(TALK_ADMIN_MESSAGE, "Server save.");
    ASSERT_EQ(GetNumberOfTalkboxes(), 3);
    EXPECT_EQ(GetTalkbox(1).Mode, TALK_SAY);
    EXPECT_EQ(GetTalkbox(2).Mode, TALK_PRIVATE_MESSAGE);
    EXPECT_EQ(GetTalkbox(3).Mode, TALK_ADMIN_MESSAGE);

    Hooks.StatusMessage("You are poisoned.");
    EXPECT_STREQ(GetStatusLine(), "You are poisoned.");
}

TEST_F(TalkRoutingTest, TimerAgesTheTextsAndEnteringTheGameEmptiesThem) {
    const ControlHooks& Hooks = GetControlHooks();
    ASSERT_NE(Hooks.TickTexts, nullptr);
    ASSERT_NE(Hooks.ResetTexts, nullptr);
    GetGameHooks().StatusMessage("timed");
    for (int Tick = 0; Tick < STATUSMESSAGE_TICKS; ++Tick) Hooks.TickTexts();
    EXPECT_EQ(GetStatusLine(), nullptr);

    GetGameHooks().MapText("Mira", TALK_SAY, 100, 100, 7, "hello");
    GetGameHooks().StatusMessage("permanent or not");
    Hooks.ResetTexts();
    EXPECT_EQ(GetNumberOfTalkboxes(), 0);
    EXPECT_EQ(GetStatusLine(), nullptr);
}

TEST_F(TalkRoutingTest, CreatureStatusTextsGoToTheStatusLine) {
    InitMap(nullptr);
    InitCreatures();
    SetMapPosition(100, 100, 7);
    // A destination one floor up cannot be walked to.
    GoTo(101, 100, 6, false, false);
    ASSERT_NE(GetStatusLine(), nullptr);
    EXPECT_EQ(std::string(GetStatusLine()), "First go upstairs.");
    ExitCreatures();
    ExitMap();
}

}  // namespace
