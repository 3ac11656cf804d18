// The console on the reference server: Mira types into the client, Kestrel
// talks through a second connection that speaks the protocol by hand, and
// every line lands in the tab the routing chooses.
#include "PlaySupport.h"
#include "WirePlayer.h"

#include "core/TalkModes.h"
#include "graphics/Talk.h"
#include "config/Preferences.h"
#include "gui/windows/ConsoleWindow.h"
#include "gui/framework/ContextMenu.h"
#include "core/Status.h"
#include "net/Commands.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

class ConsolePlayTest : public PlayTest {
  protected:
    static ConsoleWindow* Console() { return GetMainWindow()->getGameView()->getConsole(); }
    // The tab with that caption, -1 if none.
    static int TabNamed(const char* Caption) {
        for (int n = 0; n < GetNumberOfTabs(); ++n)
            if (GetTab(n).Caption == Caption) return n;
        return -1;
    }
    static bool Holds(int Tab, const std::string& Line) {
        if (Tab < 0) return false;
        const TextBuffer* B = GetTab(Tab).Buffer;
        for (int n = 0; n < B->getLines(); ++n)
            if (Line == B->shownText(n, false)) return true;
        return false;
    }
    static std::string Shown(int Tab) {
        std::string Out;
        const TextBuffer* B = GetTab(Tab).Buffer;
        for (int n = 0; n < B->getLines(); ++n) Out += std::string(B->shownText(n, false)) + "\n";
        return Out;
    }
    // Typed as a player types, then Enter.
    static void Say(const char* Line) {
        Type(Line);
        Type("\r");
    }
    // Opens the server's channel list by the console's button and clicks the
    // channel of that name; Offered gets every name listed.
    static bool PickChannel(const std::string& Name, std::vector<std::string>& Offered) {
        ClickOn(Console()->getButton(2));
        if (!PumpUntil([] { return ModalCaption() == "New Channel"; })) return false;
        ListBox* List = nullptr;
        for (Component* c = Modal()->getBody()->getFirstChild(); c != nullptr; c = c->getNextSibling())
            if (auto* L = dynamic_cast<ListBox*>(c)) List = L;
        if (List == nullptr) return false;
        Offered.clear();
        int Line = -1;
        for (int n = 0; n < List->getLines(); ++n) {
            Offered.push_back(List->getLine(n));
            if (Offered.back() == Name) Line = n;
        }
        if (Line < 0) return false;
        int lx = 0, ly = 0;
        List->getAbsolutePosition(lx, ly);
        const int LineHeight = SkinProperties().ListBox.LineHeight;
        Click(lx + 20, ly + SkinProperties().ListBox.Margin + Line * LineHeight + LineHeight / 2);
        return true;
    }
    // Selected by a click on its tab (right after entering the game a new
    // tab is only added); false when the tab is out of view.
    static bool ClickTab(int Tab) {
        int cx = 0, cy = 0, tx = 0;
        Console()->getAbsolutePosition(cx, cy);
        if (!Console()->getTabPosition(Tab, tx)) return false;
        Click(cx + tx + Console()->getTabWidth() / 2, cy + 8);
        return true;
    }
    static void CtrlKey(platform::Key Key) { PressWith(platform::Key::Control, Key); }
    // The selected tab is in view, and a click where it is drawn selects it.
    static bool SelectedInView() {
        const int Selected = GetSelectedTab();
        if (!ClickTab(Selected)) return false;
        return GetSelectedTab() == Selected;
    }
    static int ModeOfLine(int Tab, const std::string& Line) {
        const TextBuffer* B = GetTab(Tab).Buffer;
        for (int n = 0; n < B->getLines(); ++n)
            if (Line == B->shownText(n, false)) return B->getLine(n).Mode;
        return -1;
    }
};

TEST_F(ConsolePlayTest, TwoPlayersTalkThroughTheirTabs) {
    SetTimeOfDay(0.5);
    // Channels the operator adds: one whose name, taken as a file name, would
    // leave the working directory, and two whose ids are the game's own.
    std::ofstream(StateDir() / "server.txt", std::ios::app)
        << "Channel = 8 ../x\nChannel = 7 Clash\nChannel = 100 Too High\n";
    ASSERT_TRUE(PlaceCharacter("Kestrel", 1006, 1001, 7));
    ASSERT_TRUE(PlaceCharacter("Mira", 1005, 1001, 7));
    ASSERT_TRUE(PlaceCharacter("Aldric", 1003, 1001, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    EXPECT_NE(Server->Log.find("channel 7 \"Clash\" left out"), std::string::npos) << Server->Log;
    EXPECT_NE(Server->Log.find("channel 100 \"Too High\" left out"), std::string::npos) << Server->Log;
    WirePlayer Kestrel(GamePort(), 100002, "Kestrel");
    ASSERT_TRUE(Kestrel.Connected);
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    ASSERT_TRUE(UseFullSizeMap());
    SetTimeStamps(false);
    ASSERT_NE(Console(), nullptr);

    // Mira says a line: Kestrel hears it, her own console shows it.
    Say("Well met, Kestrel!");
    EXPECT_EQ(Console()->getInput(), "");
    ASSERT_TRUE(PumpUntil([&] { return Kestrel.Heard("Well met, Kestrel!"); }));
    ASSERT_TRUE(PumpUntil([&] { return Holds(0, "Mira: Well met, Kestrel!"); }));

    // Kestrel whispers, yells and sends a private message: all three reach
    // the default tab while no private tab is open.
    Kestrel.Speak(TALK_WHISPER, "psst");
    Kestrel.Speak(TALK_YELL, "OVER HERE");
    Kestrel.Tell("Mira", "a secret");
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return Holds(0, "Kestrel: psst") && Holds(0, "Kestrel: OVER HERE") && Holds(0, "Kestrel: a secret");
    })) << Shown(0);

    // #c in the default tab: not a chat channel, nothing sent.
    Say("#c anyone?");
    EXPECT_STREQ(GetStatusLine(), "This is not a chat channel.");
    // A private message typed in the default tab refills the line.
    Say("*Kestrel* meet me at the lake");
    EXPECT_EQ(Console()->getInput(), "*Kestrel* ");
    ASSERT_TRUE(PumpUntil([&] { return Kestrel.Heard("meet me at the lake"); }));
    EXPECT_TRUE(Holds(0, "Mira: meet me at the lake"));
    Console()->setInput("");

    // A private tab asked of the server: Kestrel's next message lands there.
    SendOpenPrivateChannel("Kestrel");
    ASSERT_TRUE(PumpUntil([] { return TabNamed("Kestrel") > 0; }));
    Kestrel.Tell("Mira", "only for you");
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return Holds(TabNamed("Kestrel"), "Kestrel: only for you");
    }));
    EXPECT_FALSE(Holds(0, "Kestrel: only for you"));

    // The help channel, chosen from the server's channel list: its welcome,
    // and Kestrel's channel talk in it.
    // The operator's channel is offered among the public ones, the refused
    // ones are not.
    std::vector<std::string> Offered;
    ASSERT_TRUE(PickChannel("Help", Offered));
    EXPECT_EQ(Offered, (std::vector<std::string>{"Game Chat", "Trade", "Help", "../x"}));
    Screenshot("console-channel-choice.png");
    ClickOn(Modal()->getDefaultButton());
    ASSERT_TRUE(PumpUntil([] { return TabNamed("Help") > 0 && GetModalWindow() == nullptr; }));
    const int Help = TabNamed("Help");
    ASSERT_TRUE(ClickTab(Help));
    EXPECT_EQ(GetSelectedTab(), Help);
    Kestrel.Join(7);
    Kestrel.ChannelTalk(7, "Where is the smith?");
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return Holds(Help, "Kestrel: Where is the smith?");
    }));
    Say("North of the well.");
    ASSERT_TRUE(PumpUntil([&] { return Holds(Help, "Mira: North of the well."); }));
    EXPECT_TRUE(Kestrel.Heard("North of the well."));
    Screenshot("console-help-channel.png");

    // Saved, the channel's file holds its lines after the heading.
    ClickOn(Console()->getButton(1));
    EXPECT_STREQ(GetStatusLine(), "Channel appended to Help.txt");
    const std::string Saved = testing_support::ReadFile(std::filesystem::current_path() / "Help.txt");
    ASSERT_GT(Saved.size(), 44u);
    EXPECT_EQ(Saved.compare(0, 18, "\nChannel saved at "), 0);
    const std::string Lines = Saved.substr(18 + 25);
    EXPECT_EQ(Lines.rfind("Welcome to the help channel!", 0), 0u) << Lines;
    EXPECT_NE(Lines.find("\nKestrel: Where is the smith?\nMira: North of the well.\n"), std::string::npos) << Lines;

    // Closed by its button: the tab goes and the server lets Mira leave, so
    // Kestrel's next channel line no longer reaches her.
    ClickOn(Console()->getButton(0));
    EXPECT_EQ(TabNamed("Help"), -1);
    Kestrel.ChannelTalk(7, "Anyone still here?");
    Say("ping");
    ASSERT_TRUE(PumpUntil([&] { return Kestrel.Heard("ping"); }));
    EXPECT_FALSE(Holds(0, "Kestrel: Anyone still here?"));

    // The channel named "../x" takes channel talk like any other; saved from
    // a working directory of its own, its file stays there, the caption's
    // separator and dots turned into underscores, and nothing lands beside it.
    ASSERT_TRUE(PickChannel("../x", Offered));
    ClickOn(Modal()->getDefaultButton());
    ASSERT_TRUE(PumpUntil([] { return TabNamed("../x") > 0 && GetModalWindow() == nullptr; }));
    const int Odd = TabNamed("../x");
    ASSERT_TRUE(ClickTab(Odd));
    ASSERT_EQ(GetSelectedTab(), Odd);
    Kestrel.Join(8);
    Kestrel.ChannelTalk(8, "Selling a red sword");
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return Holds(Odd, "Kestrel: Selling a red sword");
    }));
    Say("How much?");
    ASSERT_TRUE(PumpUntil([&] { return Holds(Odd, "Mira: How much?"); }));
    const std::filesystem::path Home = std::filesystem::current_path();
    const std::filesystem::path Work = Home / "work";
    std::filesystem::create_directory(Work);
    std::filesystem::current_path(Work);
    const std::time_t Before = std::time(nullptr);
    ClickOn(Console()->getButton(1));
    const std::time_t After = std::time(nullptr);
    std::filesystem::current_path(Home);
    EXPECT_STREQ(GetStatusLine(), "Channel appended to ___x.txt");
    std::vector<std::string> Written;
    for (const auto& Entry : std::filesystem::directory_iterator(Work)) Written.push_back(Entry.path().filename());
    EXPECT_EQ(Written, std::vector<std::string>{"___x.txt"});
    EXPECT_FALSE(std::filesystem::exists(Home / "x.txt"));
    const std::string OddFile = testing_support::ReadFile(Work / "___x.txt");
    bool Exact = false;
    for (std::time_t T = Before; T <= After && !Exact; ++T) {
        char Date[32];
        ctime_r(&T, Date);  // "Tue Dec  8 13:17:11 2026\n"
        Exact = OddFile == "\nChannel saved at " + std::string(Date) + "Kestrel: Selling a red sword\nMira: How much?\n";
    }
    EXPECT_TRUE(Exact) << OddFile;

    // A rule-violation request: Mira asks through the dialog, Aldric, who
    // may answer requests, watches the request channel, takes it and answers.
    WirePlayer Aldric(GamePort(), 100001, "Aldric");
    ASSERT_TRUE(Aldric.Connected);
    Aldric.Join(3);
    ASSERT_TRUE(PumpUntil([&] { return Aldric.Heard(std::string("\xAE\x03\x00", 3)); }));
    PostEvent(CONSOLE_EVENT_DIALOG_REPORT, 0, 0);
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Report Rule Violation"; }));
    Type("Someone took my sword");
    ClickOn(Modal()->getDefaultButton());
    ASSERT_TRUE(PumpUntil([] { return TabNamed("Report Rule Violation") > 0 && GetModalWindow() == nullptr; }));
    const int Report = TabNamed("Report Rule Violation");
    EXPECT_TRUE(Holds(Report, "Please wait patiently for a counsellor to reply."));
    ASSERT_TRUE(PumpUntil([&] { return Aldric.Heard("Someone took my sword"); }));
    Aldric.Process("Mira");
    Aldric.Answer("Mira", "I will look into it.");
    ASSERT_TRUE(PumpUntil([&] { return Holds(Report, "Aldric: I will look into it."); })) << Shown(Report);
    SelectTab(Report);
    Say("It was a red sword.");
    ASSERT_TRUE(PumpUntil([&] { return Aldric.Heard("It was a red sword."); }));
    EXPECT_TRUE(Holds(Report, "It was a red sword."));
    Screenshot("console-request.png");
}

// Six chat channels in the smallest window: the tabs overflow the console,
// and every one is reached by the keys and by the arrows, always in view.
// The talk mode has a button each; a hotkey that sends at once leaves the
// half-typed line alone; a private message to oneself goes nowhere. Last, a
// right click on a line in the same batch as the end of the game.
TEST_F(ConsolePlayTest, SixChannelsInTheSmallestWindowAreAllReachable) {
    SetTimeOfDay(0.5);
    std::ofstream(StateDir() / "server.txt", std::ios::app)
        << "Channel = 8 Tavern\nChannel = 9 Quests\nChannel = 10 Guild Hall\n";
    ASSERT_TRUE(PlaceCharacter("Mira", 1005, 1001, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    platform::Event e;
    e.Kind = platform::EventKind::Resize;
    e.Width = 550;
    e.Height = 450;
    Inject(e);
    ASSERT_TRUE(PumpUntil([] {
        int w = 0, h = 0;
        platform::headless::LastFrame(w, h);
        return w == 550 && h == 450;
    }));
    SetTimeStamps(false);

    const char* const Channels[] = {"Game Chat", "Trade", "Help", "Tavern", "Quests", "Guild Hall"};
    std::vector<std::string> Offered;
    for (const char* Name : Channels) {
        ASSERT_TRUE(PickChannel(Name, Offered)) << Name;
        ClickOn(Modal()->getDefaultButton());
        ASSERT_TRUE(PumpUntil([&] { return TabNamed(Name) > 0 && GetModalWindow() == nullptr; })) << Name;
    }
    ASSERT_EQ(GetNumberOfTabs(), 7);
    ASSERT_TRUE(PumpUntil([] { return Console()->arrowsShown(); }));
    EXPECT_LT(Console()->getShownTabs(), 7);
    Screenshot("console-overflow.png");

    // By the keys: Ctrl+Home the default tab, Ctrl+PageDown to the right
    // through all of them and round to the first, Ctrl+PageUp back to the
    // last from the first.
    CtrlKey(platform::Key::Home);
    EXPECT_EQ(GetSelectedTab(), 0);
    for (int n = 1; n <= 7; ++n) {
        CtrlKey(platform::Key::PageDown);
        EXPECT_EQ(GetSelectedTab(), n % 7);
        EXPECT_TRUE(SelectedInView()) << n;
    }
    CtrlKey(platform::Key::PageUp);
    EXPECT_EQ(GetSelectedTab(), 6);
    EXPECT_EQ(GetTab(6).Caption, "Guild Hall");
    EXPECT_TRUE(SelectedInView());
    for (int n = 5; n >= 0; --n) {
        CtrlKey(platform::Key::PageUp);
        EXPECT_EQ(GetSelectedTab(), n);
        EXPECT_TRUE(SelectedInView()) << n;
    }
    // By the arrows: every tab to the right and round, then to the left.
    for (int n = 1; n <= 7; ++n) {
        ClickOn(Console()->getArrow(true));
        EXPECT_EQ(GetSelectedTab(), n % 7);
        EXPECT_TRUE(SelectedInView()) << n;
    }
    ClickOn(Console()->getArrow(false));
    EXPECT_EQ(GetSelectedTab(), 6);
    EXPECT_TRUE(SelectedInView());
    Screenshot("console-overflow-last.png");
    // The last tab's welcome shows once Help is chosen: its text is the one
    // drawn (command 201 follows every tab chosen).
    const int Help = TabNamed("Help");
    while (GetSelectedTab() != Help) ClickOn(Console()->getArrow(false));
    EXPECT_TRUE(SelectedInView());
    EXPECT_FALSE(GetTab(Help).Highlight);

    // The talk mode: one button each, the chosen one lit.
    CtrlKey(platform::Key::Home);
    ClickOn(Console()->getModeButton(TALK_WHISPER));
    EXPECT_EQ(GetDefaultTalkMode(), TALK_WHISPER);
    EXPECT_TRUE(Console()->getModeButton(TALK_WHISPER)->isOn());
    EXPECT_FALSE(Console()->getModeButton(TALK_SAY)->isOn());
    EXPECT_FALSE(Console()->getModeButton(TALK_YELL)->isOn());
    Say("quietly now");
    ASSERT_TRUE(PumpUntil([] { return ModeOfLine(0, "Mira: quietly now") == TALK_WHISPER; })) << Shown(0);
    ClickOn(Console()->getModeButton(TALK_YELL));
    EXPECT_EQ(GetDefaultTalkMode(), TALK_YELL);
    ClickOn(Console()->getModeButton(TALK_SAY));
    EXPECT_EQ(GetDefaultTalkMode(), TALK_SAY);
    EXPECT_TRUE(Console()->getModeButton(TALK_SAY)->isOn());
    EXPECT_FALSE(Console()->getModeButton(TALK_YELL)->isOn());

    // A hotkey marked to send at once: its text goes out on its own, the
    // line being typed stays.
    SetHotkey(0, "Greetings, all!", true);
    Type("half a thou");
    Press(platform::Key::F1);
    EXPECT_EQ(Console()->getInput(), "half a thou");
    ASSERT_TRUE(PumpUntil([] { return Holds(0, "Mira: Greetings, all!"); })) << Shown(0);
    Type("ght");
    Type("\r");
    ASSERT_TRUE(PumpUntil([] { return Holds(0, "Mira: half a thought"); })) << Shown(0);

    // To oneself: nothing sent, and the next line is not prefilled.
    Say("*Mira* a note to myself");
    EXPECT_EQ(Console()->getInput(), "");
    Say("after the note");
    ASSERT_TRUE(PumpUntil([] { return Holds(0, "Mira: after the note"); }));
    EXPECT_FALSE(Holds(0, "Mira: a note to myself"));
    Screenshot("console-modes.png");

    // A right click on a line handled with the end of the game: the console
    // is gone when the menu's turn comes, and nothing opens.
    int cx = 0, cy = 0;
    Console()->getAbsolutePosition(cx, cy);
    const int LineY = cy + Console()->getTextTop() + Console()->getTextHeight() - 6;
    MoveTo(cx + 40, LineY);
    Button(platform::EventKind::ButtonDown, cx + 40, LineY, 2);
    Button(platform::EventKind::ButtonUp, cx + 40, LineY, 2);
    Server.reset();
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_OFFLINE; }));
    EXPECT_FALSE(GetMainWindow()->inGameView());
    EXPECT_EQ(dynamic_cast<ContextMenu*>(GetModalWindow()), nullptr);
}

}  // namespace
