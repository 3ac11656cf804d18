#include "graphics/Talk.h"

#include "platform/Platform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TalkTest : public ::testing::Test {
  protected:
    void SetUp() override { InitTalk(); }
    void TearDown() override {
        // A test's clock reads its own local; it is gone before ExitTalk reads the time.
        platform::SetClockOverride({});
        ExitTalk();
    }
};

std::vector<std::string> Lines(int Number) {
    const TalkboxInfo Info = GetTalkbox(Number);
    return std::vector<std::string>(Info.Line, Info.Line + Info.NumberOfLines);
}

int FirstUsed() {
    for (int i = 0; i < TALKBOXES; ++i)
        if (GetTalkboxState(i) != TALKBOX_FREE) return i;
    return -1;
}

// ---- Lifetime -------------------------------------------------------------------------------

TEST_F(TalkTest, LifetimeFollowsTheTextLengthAndEndsAtZero) {
    TalkSay(TALK_SAY, "Mira", 100, 100, 7, "0123456789");
    EXPECT_EQ(GetTalkboxTimeLeft(0), 3500);
    TalkMessage(TALK_INFO_MESSAGE, "0123456789");
    EXPECT_EQ(GetTalkboxTimeLeft(1), 7000);  // doubled for the middle messages
    TalkMessage(TALK_ADMIN_MESSAGE, "01234567890");
    EXPECT_EQ(GetTalkboxTimeLeft(2), 3500);  // 11 / 2 = 5

    UpdateTalk(3499);
    EXPECT_EQ(GetNumberOfTalkboxes(), 3);
    UpdateTalk(1);
    EXPECT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_EQ(GetTalkbox(1).Mode, TALK_INFO_MESSAGE);
    UpdateTalk(4000);
    EXPECT_EQ(GetNumberOfTalkboxes(), 0);
}

TEST_F(TalkTest, TimerTickUsesTheClockAndCountsTheStatusLine) {
    uint32_t Now = 1000;
    platform::SetClockOverride([&] { return Now; });
    ResetTalk();
    TalkSay(TALK_YELL, "Mira", 100, 100, 7, "");  // 3000 ms
    SetStatusLine("Sorry, not possible.", false);
    Now += 2990;
    TickTalk();
    EXPECT_EQ(GetTalkboxTimeLeft(0), 10);
    Now += 10;
    TickTalk();
    EXPECT_EQ(GetNumberOfTalkboxes(), 0);
    for (int Tick = 3; Tick < STATUSMESSAGE_TICKS; ++Tick) TickTalk();
    ASSERT_NE(GetStatusLine(), nullptr);
    TickTalk();
    EXPECT_EQ(GetStatusLine(), nullptr);
}

// ---- Wrapping -------------------------------------------------------------------------------

TEST_F(TalkTest, LongWordIsCutWithHyphens) {
    const std::string Word(80, 'x');
    TalkSay(TALK_SAY, "Mira", 100, 100, 7, Word.c_str());
    EXPECT_EQ(Lines(1), (std::vector<std::string>{"Mira says:", std::string(38, 'x') + "-",
                                                  std::string(38, 'x') + "-", "xxxx"}));
}

TEST_F(TalkTest, WrapsBeforeTheLastBlankAndAtLineFeeds) {
    // 39 characters stay one line, 40 without a blank do not.
    TalkMessage(TALK_INFO_MESSAGE, std::string(39, 'a').c_str());
    EXPECT_EQ(Lines(1), std::vector<std::string>{std::string(39, 'a')});
    TalkMessage(TALK_ADMIN_MESSAGE, std::string(40, 'b').c_str());
    EXPECT_EQ(Lines(2), (std::vector<std::string>{std::string(38, 'b') + "-", "bb"}));

    TalkSay(TALK_WHISPER, "Mira", 100, 100, 7,
            "The quick brown fox jumps over the lazy dog and runs away\nfast\n\nend");
    EXPECT_EQ(Lines(3), (std::vector<std::string>{"Mira whispers:", "The quick brown fox jumps over the lazy",
                                                  "dog and runs away", "fast", "", "end"}));
    // A blank as the fortieth character still ends the line before it.
    TalkSay(TALK_YELL, "Mira", 100, 100, 7, (std::string(39, 'c') + " d").c_str());
    EXPECT_EQ(Lines(4), (std::vector<std::string>{"Mira yells:", std::string(39, 'c'), "d"}));
}

TEST_F(TalkTest, TwelveLinesKeepNineAfterTheHeader) {
    std::string Text;
    for (int n = 1; n <= 12; ++n) Text += std::to_string(n) + (n < 12 ? "\n" : "");
    TalkSay(TALK_PRIVATE_MESSAGE, "Mira", 0, 0, 0, Text.c_str());
    const std::vector<std::string> L = Lines(1);
    ASSERT_EQ(L.size(), 10u);
    EXPECT_EQ(L.front(), "Mira:");
    EXPECT_EQ(L.back(), "9");
    // Animals have no header: all ten lines are text.
    TalkSay(TALK_ANIMAL_LOW, "Rat", 100, 100, 7, Text.c_str());
    EXPECT_EQ(Lines(2).back(), "10");
}

// ---- Pool and queues ------------------------------------------------------------------------

TEST_F(TalkTest, EleventhBoxReplacesTheOldest) {
    for (int n = 0; n < 11; ++n) {
        const std::string Name = "Speaker" + std::to_string(n);
        TalkSay(TALK_SAY, Name.c_str(), 100 + n, 100, 7, "hello");
    }
    ASSERT_EQ(GetNumberOfTalkboxes(), TALKBOXES);
    EXPECT_EQ(Lines(1)[0], "Speaker1 says:");
    EXPECT_EQ(Lines(TALKBOXES)[0], "Speaker10 says:");
    DismissOldestTalkbox();
    EXPECT_EQ(Lines(1)[0], "Speaker2 says:");
}

TEST_F(TalkTest, SpeechOfOneSpeakerAtOnePlaceQueues) {
    TalkSay(TALK_SAY, "Mira", 100, 100, 7, "first words of a longer say");  // 4300 ms
    TalkSay(TALK_SAY, "Mira", 100, 100, 7, "second");                       // 3300 ms
    TalkSay(TALK_SAY, "Mira", 101, 100, 7, "elsewhere");
    TalkSay(TALK_YELL, "Mira", 100, 100, 7, "other mode");
    TalkSay(TALK_SAY, "Tom", 100, 100, 7, "other speaker");
    ASSERT_EQ(GetNumberOfTalkboxes(), 4);
    EXPECT_EQ(Lines(1), (std::vector<std::string>{"Mira says:", "first words of a longer say", "second"}));
    EXPECT_EQ(GetTalkboxState(1), TALKBOX_WAITING);

    // The waiting box counts down meanwhile and shows alone afterwards.
    TalkSay(TALK_SAY, "Mira", 100, 100, 7, "third\nspoken slowly so that it stays up");  // 4900 ms
    UpdateTalk(4300);
    EXPECT_EQ(GetTalkboxState(0), TALKBOX_FREE);
    EXPECT_EQ(GetTalkboxState(1), TALKBOX_FREE);  // ran out in the same pass
    ASSERT_EQ(GetTalkboxState(5), TALKBOX_SHOWN);
    EXPECT_EQ(GetTalkboxTimeLeft(5), 600);
    EXPECT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_EQ(Lines(1), (std::vector<std::string>{"Mira says:", "third", "spoken slowly so that it stays up"}));
}

TEST_F(TalkTest, WaitingBoxRunningOutLeavesTheShownOneAlone) {
    TalkSay(TALK_SAY, "Mira", 100, 100, 7, std::string(100, 'a').c_str());  // 8000 ms
    TalkSay(TALK_SAY, "Mira", 100, 100, 7, "b");                            // 3000 ms
    TalkSay(TALK_SAY, "Mira", 100, 100, 7, std::string(60, 'c').c_str());   // 6000 ms
    UpdateTalk(3000);
    EXPECT_EQ(GetTalkboxState(1), TALKBOX_FREE);
    EXPECT_EQ(GetTalkboxState(2), TALKBOX_WAITING);
    EXPECT_EQ(GetNumberOfTalkboxes(), 1);
}

TEST_F(TalkTest, AnimalSoundsAtOnePlaceJoinInOneBox) {
    TalkSay(TALK_ANIMAL_LOW, "Rat", 100, 100, 7, "Meep!");
    TalkSay(TALK_ANIMAL_LOUD, "Cat", 100, 100, 7, "Hiss!");
    TalkSay(TALK_ANIMAL_LOUD, "Cat", 100, 101, 7, "Purr");
    ASSERT_EQ(GetNumberOfTalkboxes(), 2);
    EXPECT_EQ(Lines(1), (std::vector<std::string>{"Meep!", "Hiss!"}));
    EXPECT_EQ(GetTalkboxState(1), TALKBOX_WAITING);
}

TEST_F(TalkTest, PrivateMessagesWaitForEachOther) {
    TalkSay(TALK_PRIVATE_MESSAGE, "Tom", 0, 0, 0, "0123456789");  // 3500 ms
    UpdateTalk(500);
    TalkSay(TALK_PRIVATE_MESSAGE, "Ann", 0, 0, 0, "01234567");  // 3400 / 2 + 3000
    EXPECT_EQ(GetTalkboxState(1), TALKBOX_WAITING);
    EXPECT_EQ(GetTalkboxTimeLeft(1), 4700);
    // A message of the other group does not wait for them.
    TalkMessage(TALK_EVENT_MESSAGE, "event");
    EXPECT_EQ(GetTalkboxState(2), TALKBOX_SHOWN);
    UpdateTalk(3000);
    ASSERT_EQ(GetTalkboxState(1), TALKBOX_SHOWN);
    EXPECT_EQ(GetTalkboxTimeLeft(1), 1700);
    EXPECT_EQ(Lines(1)[0], "Ann:");
}

TEST_F(TalkTest, GamemasterAndServerMessagesQueueAsOneGroup) {
    TalkMessage(TALK_INFO_MESSAGE, "0123456789");          // 7000 ms
    TalkSay(TALK_GAMEMASTER_BROADCAST, "GM", 0, 0, 0, "");  // 3000 / 2 + 7000
    TalkSay(TALK_GAMEMASTER_MESSAGE, "GM", 100, 100, 7, "0123456789");  // 3500 / 2 + 8500
    EXPECT_EQ(GetTalkboxTimeLeft(1), 8500);
    EXPECT_EQ(GetTalkboxTimeLeft(2), 10250);
    EXPECT_EQ(GetNumberOfTalkboxes(), 1);
    // Each goes in turn, the oldest waiting first.
    UpdateTalk(7000);
    EXPECT_EQ(GetTalkbox(1).Mode, TALK_GAMEMASTER_BROADCAST);
    UpdateTalk(1500);
    EXPECT_EQ(GetTalkbox(1).Mode, TALK_GAMEMASTER_MESSAGE);
    EXPECT_EQ(GetNumberOfTalkboxes(), 1);
}

TEST_F(TalkTest, AdminMessageReplacesThePreviousOne) {
    TalkMessage(TALK_ADMIN_MESSAGE, "Server restart in 5 minutes.");
    TalkMessage(TALK_INFO_MESSAGE, "info");
    TalkMessage(TALK_ADMIN_MESSAGE, "Server restart in 1 minute.");
    ASSERT_EQ(GetNumberOfTalkboxes(), 2);
    EXPECT_EQ(Lines(1), std::vector<std::string>{"info"});
    EXPECT_EQ(Lines(2), std::vector<std::string>{"Server restart in 1 minute."});
}

TEST_F(TalkTest, ResetEmptiesBoxesAndStatusLine) {
    TalkSay(TALK_SAY, "Mira", 100, 100, 7, "hi");
    SetStatusLine("You are dead.", true);
    ResetTalk();
    EXPECT_EQ(GetNumberOfTalkboxes(), 0);
    EXPECT_EQ(FirstUsed(), -1);
    EXPECT_EQ(GetStatusLine(), nullptr);
}

// ---- Status line, change flag, colours --------------------------------------------------------

TEST_F(TalkTest, StatusLineIsTimedPermanentOrCleared) {
    SetStatusLine("First go upstairs.", false);
    for (int Tick = 1; Tick < STATUSMESSAGE_TICKS; ++Tick) StatusLineTick();
    ASSERT_NE(GetStatusLine(), nullptr);
    EXPECT_STREQ(GetStatusLine(), "First go upstairs.");
    StatusLineTick();
    EXPECT_EQ(GetStatusLine(), nullptr);

    SetStatusLine("Permanent.", true);
    for (int Tick = 0; Tick < 1000; ++Tick) StatusLineTick();
    EXPECT_STREQ(GetStatusLine(), "Permanent.");
    SetStatusLine("Timed again.", false);  // a new text restarts the count
    for (int Tick = 1; Tick < STATUSMESSAGE_TICKS; ++Tick) StatusLineTick();
    EXPECT_STREQ(GetStatusLine(), "Timed again.");
    SetStatusLine(nullptr, false);
    EXPECT_EQ(GetStatusLine(), nullptr);

    const std::string Longest(STATUSMESSAGE_LENGTH - 1, 's');
    SetStatusLine(Longest.c_str(), false);
    EXPECT_EQ(std::string(GetStatusLine()), Longest);
    EXPECT_ASSERTION(SetStatusLine((Longest + "s").c_str(), false), "strlen(Message)<STATUSMESSAGE_LENGTH");
}

TEST_F(TalkTest, ChangeFlagIsSetByEveryChangeAndClearedByTheQuery) {
    EXPECT_TRUE(TalkboxesChanged());
    EXPECT_FALSE(TalkboxesChanged());
    TalkSay(TALK_SAY, "Mira", 100, 100, 7, "hi");
    EXPECT_TRUE(TalkboxesChanged());
    UpdateTalk(100);
    EXPECT_FALSE(TalkboxesChanged());
    UpdateTalk(5000);
    EXPECT_TRUE(TalkboxesChanged());
    SetStatusLine("x", false);
    EXPECT_TRUE(TalkboxesChanged());
    for (int Tick = 1; Tick < STATUSMESSAGE_TICKS; ++Tick) StatusLineTick();
    EXPECT_FALSE(TalkboxesChanged());
    StatusLineTick();  // the line goes: the boxes' room changes
    EXPECT_TRUE(TalkboxesChanged());
}

TEST_F(TalkTest, ModeColours) {
    auto Colour = [](int Mode) {
        const RGBColour C = GetTalkColour(Mode);
        return std::vector<int>{C.Red, C.Green, C.Blue};
    };
    EXPECT_EQ(Colour(TALK_WHISPER), (std::vector<int>{240, 240, 0}));
    EXPECT_EQ(Colour(TALK_PRIVATE_MESSAGE), (std::vector<int>{96, 248, 248}));
    EXPECT_EQ(Colour(TALK_GAMEMASTER_REQUEST), (std::vector<int>{240, 240, 240}));
    EXPECT_EQ(Colour(TALK_FAILURE_MESSAGE), (std::vector<int>{240, 240, 240}));
    EXPECT_EQ(Colour(TALK_CHANNEL_HIGHLIGHT), (std::vector<int>{240, 180, 0}));
    EXPECT_EQ(Colour(TALK_ANIMAL_LOUD), (std::vector<int>{255, 102, 0}));
    EXPECT_EQ(Colour(TALK_EVENT_MESSAGE), (std::vector<int>{248, 96, 96}));
    EXPECT_EQ(Colour(TALK_ADMIN_MESSAGE), (std::vector<int>{0, 240, 0}));
    EXPECT_EQ(Colour(24), (std::vector<int>{160, 160, 255}));
    EXPECT_EQ(Colour(25), (std::vector<int>{248, 96, 96}));
    EXPECT_ASSERTION(GetTalkColour(0), "In(Mode,1,25)");
    EXPECT_ASSERTION(GetTalkColour(26), "In(Mode,1,25)");
}

TEST_F(TalkTest, PreconditionsAreAssertions) {
    const char* const SayModes =
        "Mode==TALK_SAY || Mode==TALK_WHISPER || Mode==TALK_YELL || Mode==TALK_PRIVATE_MESSAGE || "
        "Mode==TALK_GAMEMASTER_BROADCAST || Mode==TALK_GAMEMASTER_MESSAGE || Mode==TALK_ANIMAL_LOW || "
        "Mode==TALK_ANIMAL_LOUD";
    EXPECT_ASSERTION(TalkSay(TALK_CHANNEL_CALL, "Mira", 100, 100, 7, "hi"), SayModes);
    EXPECT_ASSERTION(TalkSay(TALK_INFO_MESSAGE, "Mira", 0, 0, 0, "hi"), SayModes);
    EXPECT_ASSERTION(TalkSay(TALK_SAY, nullptr, 100, 100, 7, "hi"), "Speaker!=NULL");
    EXPECT_ASSERTION(TalkSay(TALK_SAY, "Mira", 100, 100, 7, nullptr), "Text!=NULL");
    EXPECT_ASSERTION(TalkMessage(TALK_SAY, "hi"),
                     "Mode==TALK_INFO_MESSAGE || Mode==TALK_EVENT_MESSAGE || Mode==TALK_ADMIN_MESSAGE");
    EXPECT_ASSERTION(TalkMessage(TALK_STATUS_MESSAGE, "hi"),
                     "Mode==TALK_INFO_MESSAGE || Mode==TALK_EVENT_MESSAGE || Mode==TALK_ADMIN_MESSAGE");
    EXPECT_EQ(FirstUsed(), -1);
    TalkSay(TALK_SAY, "Mira", 100, 100, 7, "hi");
    EXPECT_ASSERTION(GetTalkbox(0), "In(Number,1,GetNumberOfTalkboxes())");
    EXPECT_ASSERTION(GetTalkbox(2), "In(Number,1,GetNumberOfTalkboxes())");
}

}  // namespace
