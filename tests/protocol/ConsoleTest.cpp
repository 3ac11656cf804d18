// The console in the game: where the server's talk lands, what the player's
// typing sends byte for byte, the tabs' bookkeeping and the text buffers'
// limits.
#include "ProtocolFixture.h"

#include "core/TalkModes.h"
#include "graphics/Talk.h"
#include "graphics/graphics.h"
#include "gui/windows/ConsoleWindow.h"

namespace protocol_test {
namespace {

uint32_t Clock = 0;

std::vector<std::string> Lines(const TextBuffer* B) {
    std::vector<std::string> Out;
    for (int n = 0; n < B->getLines(); ++n) Out.push_back(B->shownText(n, false));
    return Out;
}

std::vector<int> Modes(const TextBuffer* B) {
    std::vector<int> Out;
    for (int n = 0; n < B->getLines(); ++n) Out.push_back(B->getLine(n).Mode);
    return Out;
}

// The packets of the talk command.
std::string Speech(int Mode, const std::string& Text) { return Hex(Packet(Bytes({150, Mode}) + String(Text))); }
std::string Private(int Mode, const std::string& To, const std::string& Text) {
    return Hex(Packet(Bytes({150, Mode}) + String(To) + String(Text)));
}
std::string ChannelTalk(int Mode, int Channel, const std::string& Text) {
    return Hex(Packet(Bytes({150, Mode}) + Word(Channel) + String(Text)));
}

class Console : public ProtocolTest {
  protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        // The console's own wiring, as the application installs it.
        GameHooks G = GetGameHooks();
        G.ConsoleText = [](const char* Speaker, int Mode, int Channel, const char* Text) {
            AddTalkLine(Text, Mode, Speaker, Channel);
        };
        G.RequestText = AddRequestLine;
        G.CloseChannel = ::CloseChannel;
        G.IgnoredSpeaker = ::IgnoredSpeaker;
        SetGameHooks(G);
        platform::SetClockOverride([] { return Clock; });
        SetTimeStamps(false);
        Clock = 0;
        ResetConsole();
        EnterSurfaceMap();
    }
    void TearDown() override {
        ExitConsole();
        platform::SetClockOverride({});
        ProtocolTest::TearDown();
    }
    static void Talk(const std::string& Speaker, int Mode, const std::string& Fields) {
        Receive(Bytes({170}) + String(Speaker) + Bytes({Mode}) + Fields);
    }
    static std::string Position() { return Word(100) + Word(100) + Bytes({7}); }
    static TextBuffer* Tab(int n) { return GetTab(n).Buffer; }
};

TEST_F(Console, IncomingTalkFindsItsTabAndTypedLinesBecomeTheRightCommands) {
    TextBuffer* Default = GetDefaultBuffer();
    Talk("Kestrel", TALK_SAY, Position() + String("hello"));
    EXPECT_EQ(Lines(Default), (std::vector<std::string>{"Kestrel: hello"}));

    // Tabs the server opens right after entering are only added; later ones
    // are selected. The help channel greets first.
    Clock = 1000;
    TextBuffer* Help = OpenChannelTab(TALK_CHANNEL_CALL, CHANNEL_PUBLIC, "", 7, "Help");
    EXPECT_EQ(GetSelectedTab(), 0);
    ASSERT_EQ(Help->getLines(), 1);
    EXPECT_EQ(std::string(Help->shownText(0, false)).rfind("Welcome to the help channel!", 0), 0u);
    EXPECT_EQ(Help->getLine(0).Mode, TALK_INFO_MESSAGE);
    Clock = 1000 + CONSOLE_SELECT_THRESHOLD;
    TextBuffer* Kestrel = OpenChannelTab(TALK_PRIVATE_MESSAGE, CHANNEL_PRIVATE, "Kestrel", -1, "Kestrel");
    EXPECT_EQ(GetSelectedTab(), 2);
    // Opening it again reuses the tab.
    EXPECT_EQ(OpenChannelTab(TALK_PRIVATE_MESSAGE, CHANNEL_PRIVATE, "Kestrel", -1, "Kestrel"), Kestrel);
    EXPECT_EQ(GetNumberOfTabs(), 3);

    // Channel talk: its variants are matched as channel talk, a channel
    // without a tab drops the line, the anonymous one loses its speaker.
    Receive(Bytes({170}) + String("Tom") + Bytes({TALK_CHANNEL_CALL}) + Word(7) + String("channel line") +
            Bytes({170}) + String("Gm") + Bytes({TALK_GAMEMASTER_CHANNELCALL}) + Word(7) + String("gm line") +
            Bytes({170}) + String("Tom") + Bytes({TALK_CHANNEL_HIGHLIGHT}) + Word(7) + String("bright") +
            Bytes({170}) + String("Secret") + Bytes({TALK_ANONYMOUS_CHANNELCALL}) + Word(7) + String("masked") +
            Bytes({170}) + String("Tom") + Bytes({TALK_CHANNEL_CALL}) + Word(9) + String("elsewhere"));
    EXPECT_EQ(Lines(Help), (std::vector<std::string>{Help->shownText(0, false), "Tom: channel line", "Gm: gm line",
                                                      "Tom: bright", "masked"}));
    EXPECT_TRUE(GetTab(1).Highlight);
    EXPECT_FALSE(GetTab(2).Highlight);
    SelectTab(1);
    EXPECT_FALSE(GetTab(1).Highlight);

    // Private messages go to the partner's tab (any letter case), others'
    // to the default tab; a game master's message never has a tab.
    Talk("kestrel", TALK_PRIVATE_MESSAGE, String("psst"));
    Talk("Other", TALK_PRIVATE_MESSAGE, String("hi you"));
    Talk("Kestrel", TALK_GAMEMASTER_MESSAGE, String("from above"));
    Talk("Kestrel", TALK_WHISPER, Position() + String("quietly"));
    Talk("Kestrel", TALK_YELL, Position() + String("LOUD"));
    EXPECT_EQ(Lines(Kestrel), (std::vector<std::string>{"kestrel: psst"}));
    EXPECT_TRUE(GetTab(2).Highlight);
    EXPECT_EQ(Lines(Default), (std::vector<std::string>{"Kestrel: hello", "Other: hi you", "Kestrel: from above",
                                                         "Kestrel: quietly", "Kestrel: LOUD"}));
    EXPECT_EQ(Modes(Default), (std::vector<int>{1, 4, 11, 2, 3}));
    // An ignored speaker's lines are dropped and light the indicator for a
    // second.
    AddIgnore("Spammer", false);
    EXPECT_FALSE(IsIgnoreIndicatorLit());
    Talk("spammer", TALK_SAY, Position() + String("buy gold"));
    Talk("Spammer", TALK_PRIVATE_MESSAGE, String("cheap"));
    EXPECT_EQ(Default->getLines(), 5);
    EXPECT_TRUE(IsIgnoreIndicatorLit());
    Clock += IGNORE_INDICATOR_TIME - 1;
    EXPECT_TRUE(IsIgnoreIndicatorLit());
    Clock += 1;
    EXPECT_FALSE(IsIgnoreIndicatorLit());
    // Answers to requests have no default: without their tab they are lost.
    Talk("Gm", TALK_GAMEMASTER_ANSWER, String("lost"));
    EXPECT_EQ(Default->getLines(), 5);

    // Server messages: the preferences filter 19 to 22; 23 reaches nobody;
    // a tab that asked for them gets them too.
    SetEventMessages(true);
    SetStatusMessages(false);
    ConsoleCommand(CONSOLE_SERVER_MESSAGES);  // on the selected help tab
    Receive(Bytes({180, TALK_EVENT_MESSAGE}) + String("An event.") + Bytes({180, TALK_STATUS_MESSAGE}) +
            String("Status.") + Bytes({180, TALK_FAILURE_MESSAGE}) + String("Sorry."));
    EXPECT_EQ(Lines(Default).back(), "An event.");
    EXPECT_EQ(Default->getLines(), 6);
    EXPECT_EQ(Lines(Help).back(), "An event.");
    EXPECT_EQ(Lines(Kestrel).size(), 1u);
    Sent();

    // Typing. "#w word" whispers from any tab, also a channel tab.
    EXPECT_EQ(SendInputLine("  #W quiet words"), "");
    EXPECT_EQ(Sent(), Speech(TALK_WHISPER, "quiet words"));
    // A channel tab talks into its channel; #c there uses the same channel.
    SendInputLine("chat");
    SendInputLine("#cx loud");
    EXPECT_EQ(Sent(), ChannelTalk(TALK_CHANNEL_CALL, 7, "chat") + " " +
                          ChannelTalk(TALK_GAMEMASTER_CHANNELCALL, 7, "loud"));

    SelectTab(0);
    // #c needs a channel: nothing is sent from the default tab.
    SetStatusLine(NULL, false);
    SendInputLine("#c hi");
    EXPECT_STREQ(GetStatusLine(), "This is not a chat channel.");
    // #x without the own channel changes no mode: the default mode says it.
    SendInputLine("#x hello");
    EXPECT_EQ(Sent(), Speech(TALK_SAY, "hello"));
    ConsoleCommand(CONSOLE_YELL);
    SendInputLine("*Tom hello");    // unclosed: said as typed
    SendInputLine("** word");       // empty name: nothing at all
    SendInputLine("*Aldric* me");   // to himself: not sent
    EXPECT_EQ(Sent(), Speech(TALK_YELL, "*Tom hello"));

    // A private message from the default tab: sent, echoed as the player's
    // own line, and the input refilled for the same partner.
    EXPECT_EQ(SendInputLine("*Tom* hi there"), "*Tom* ");
    EXPECT_EQ(Sent(), Private(TALK_PRIVATE_MESSAGE, "Tom", "hi there"));
    EXPECT_EQ(Lines(Default).back(), "Aldric: hi there");
    EXPECT_EQ(Default->getLine(Default->getLines() - 1).Mode, 24);
    // From the partner's own tab no refill; the echo lands in that tab.
    SelectTab(2);
    EXPECT_EQ(SendInputLine("back to you"), "");
    EXPECT_EQ(Sent(), Private(TALK_PRIVATE_MESSAGE, "Kestrel", "back to you"));
    EXPECT_EQ(Lines(Kestrel).back(), "Aldric: back to you");
    EXPECT_EQ(SendInputLine("@Kestrel@ gm"), "");
    EXPECT_EQ(Sent(), Private(TALK_GAMEMASTER_MESSAGE, "Kestrel", "gm"));

    // The own private channel: #i and #x invite and exclude, nothing is said.
    Clock += 1000;
    OpenOwnChannel(20, "Aldric's Channel");
    SendInputLine("#i Mira");
    SendInputLine("#X Mira");
    EXPECT_EQ(Sent(), Hex(Packet(Bytes({171}) + String("Mira"))) + " " + Hex(Packet(Bytes({172}) + String("Mira"))));

    // The same line twice keeps one history entry.
    const int Before = GetHistoryBuffer()->getLines();
    SendInputLine("again");
    SendInputLine("again");
    EXPECT_EQ(GetHistoryBuffer()->getLines(), Before + 1);
    Sent();

    // Closing: the default tab stays; a channel tab tells the server and
    // the right neighbour is selected; a private tab tells it nothing.
    SelectTab(0);
    CloseSelectedTab();
    EXPECT_EQ(GetNumberOfTabs(), 4);
    SelectTab(1);
    CloseSelectedTab();
    EXPECT_EQ(Sent(), Hex(Packet(Bytes({153}) + Word(7))));
    EXPECT_EQ(GetTab(GetSelectedTab()).Caption, "Kestrel");
    CloseSelectedTab();
    EXPECT_EQ(Sent(), "");
    EXPECT_EQ(GetTab(GetSelectedTab()).Caption, "Aldric's Channel");
    ConsoleCommand(CONSOLE_PREVIOUS_TAB);
    EXPECT_EQ(GetSelectedTab(), 0);
    ConsoleCommand(CONSOLE_PREVIOUS_TAB);
    EXPECT_EQ(GetSelectedTab(), 1);
}

TEST_F(Console, ACounsellorTakesARequestAndAnswersItInItsOwnTab) {
    Clock = 10000;
    GameHooks G = GetGameHooks();
    G.OpenRequestChannel = ::OpenRequestChannel;
    G.RemoveRequest = ::RemoveRequest;
    SetGameHooks(G);
    Receive(Bytes({174}) + Word(3));
    ASSERT_EQ(GetNumberOfTabs(), 2);
    EXPECT_EQ(GetTab(1).Caption, "Rule Violations");
    Receive(Bytes({170}) + String("Mira") + Bytes({TALK_GAMEMASTER_REQUEST}) + Quad(12) + String("help me") +
            Bytes({170}) + String("Tom") + Bytes({TALK_GAMEMASTER_REQUEST}) + Quad(3) + String("stuck") +
            Bytes({170}) + String("Mira") + Bytes({TALK_GAMEMASTER_REQUEST}) + Quad(20) + String("please"));
    EXPECT_EQ(Lines(Tab(1)), (std::vector<std::string>{"Tom: stuck", "Mira: please"}));
    EXPECT_EQ(Tab(1)->getLine(1).Number, -20);
    Sent();
    ProcessRequest("Mira");
    EXPECT_EQ(Sent(), Hex(Packet(Bytes({155}) + String("Mira"))));
    ASSERT_EQ(GetTab(GetSelectedTab()).Caption, "Mira's Report");
    TextBuffer* Report = Tab(GetSelectedTab());
    // The answer goes to the asker and shows as the counsellor's own line;
    // the asker's lines arrive in the same tab.
    SendInputLine("How can I help?");
    EXPECT_EQ(Sent(), Private(TALK_GAMEMASTER_ANSWER, "Mira", "How can I help?"));
    Talk("Mira", TALK_PLAYER_ANSWER, String("my sword is gone"));
    EXPECT_EQ(Lines(Report), (std::vector<std::string>{"Mira: please", "Aldric: How can I help?",
                                                        "Mira: my sword is gone"}));
    Receive(Bytes({175}) + String("Mira"));
    EXPECT_EQ(Lines(Tab(1)), (std::vector<std::string>{"Tom: stuck"}));
    // Closing the conversation closes the request by the asker's name.
    CloseSelectedTab();
    EXPECT_EQ(Sent(), Hex(Packet(Bytes({156}) + String("Mira"))));

    // The player's side: the question opens its tab and goes out as mode 6;
    // a second question is refused while the first waits.
    ReportRuleViolation("Someone took my sword");
    EXPECT_EQ(Sent(), Speech(TALK_GAMEMASTER_REQUEST, "Someone took my sword"));
    ASSERT_EQ(GetTab(GetSelectedTab()).Caption, "Report Rule Violation");
    TextBuffer* Mine = Tab(GetSelectedTab());
    EXPECT_EQ(Lines(Mine), (std::vector<std::string>{"Aldric: Someone took my sword",
                                                      "Please wait patiently for a counsellor to reply."}));
    SelectTab(0);
    ReportRuleViolation("again");
    EXPECT_STREQ(GetStatusLine(), "You have already submitted a request. Please be patient.");
    EXPECT_EQ(Tab(GetSelectedTab()), Mine);
    EXPECT_EQ(Sent(), "");
    Talk("Gm", TALK_GAMEMASTER_ANSWER, String("On my way."));
    SendInputLine("thanks");
    EXPECT_EQ(Sent(), Speech(TALK_PLAYER_ANSWER, "thanks"));
    EXPECT_EQ(Lines(Mine).back(), "thanks");
    EXPECT_EQ(Lines(Mine)[2], "Gm: On my way.");
    Receive(Bytes({177}));
    EXPECT_EQ(Lines(Mine).back(), "Your request has been closed.");
    // A new question after the close gets a fresh tab.
    ReportRuleViolation("one more thing");
    EXPECT_EQ(Sent(), Speech(TALK_GAMEMASTER_REQUEST, "one more thing"));
    EXPECT_EQ(Lines(Tab(GetSelectedTab())).front(), "Aldric: one more thing");
    CloseSelectedTab();
    EXPECT_EQ(Sent(), Hex(Packet(Bytes({157}))));
    // The counsellor's request tab leaves the server's request channel.
    SelectTab(1);
    CloseSelectedTab();
    EXPECT_EQ(Sent(), Hex(Packet(Bytes({153}) + Word(3))));
}

TEST_F(Console, BuffersKeepAThousandLinesAndRequestsOneLinePerSpeaker) {
    TextBuffer B(BufferKind::Channel, TALK_CHANNEL_CALL, 3, "");
    for (int n = 1; n <= TEXTBUFFER_LINES + 1; ++n) B.addLine(std::to_string(n).c_str(), 5, "Tom", 0);
    EXPECT_EQ(B.getLines(), TEXTBUFFER_LINES);
    EXPECT_STREQ(B.shownText(0, false), "Tom: 2");
    EXPECT_STREQ(B.shownText(TEXTBUFFER_LINES - 1, false), "Tom: 1001");
    B.close();
    EXPECT_FALSE(B.addLine("late", 5, "Tom", 0));

    TextBuffer R(BufferKind::Request, TALK_GAMEMASTER_REQUEST, -1, "");
    R.addLine("first", 6, "Mira", 0, -1);
    R.addLine("mine", 6, "Tom", 0, -2);
    R.addLine("again", 6, "MIRA", 0, -3);
    EXPECT_EQ(Lines(&R), (std::vector<std::string>{"Tom: mine", "MIRA: again"}));
    EXPECT_EQ(R.getLine(1).Number, -3);
    R.removeSpeaker("tom");
    EXPECT_EQ(Lines(&R), (std::vector<std::string>{"MIRA: again"}));
}

}  // namespace
}  // namespace protocol_test
