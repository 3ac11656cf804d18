// The console component with real fonts: wrapping, the tabs, selecting and
// copying text, the input line's keys, hotkeys and history.
// VORNA_GUI_PNG=<directory> writes the drawn console for looking at it.
#include "GuiTestSupport.h"

#include "config/Preferences.h"
#include "core/TalkModes.h"
#include "graphics/Surface.h"
#include "graphics/Talk.h"
#include "graphics/graphics.h"
#include "gui/windows/ConsoleWindow.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int FONT = 4;

std::string Piece(const TextBuffer& B, int n) {
    const DisplayLine& D = B.getDisplayLine(n);
    return std::string(B.getLine(D._Line).Text + D._OriginalOffset, size_t(D._LineLength));
}

class ConsoleWindowTest : public GuiElementTest {
  protected:
    void SetUp() override {
        GuiElementTest::SetUp();
        SetTimeStamps(false);
        ResetConsole();
    }
    void TearDown() override {
        ExitConsole();
        GuiElementTest::TearDown();
    }
    static void Save(const char* Name) {
        const char* Dir = std::getenv("VORNA_GUI_PNG");
        if (Dir == nullptr) return;
        int Pitch = 0;
        const uint32_t* Pixels = GetSurfacePixels(SCREEN_SURFACE, &Pitch);
        platform::WritePNG(std::string(Dir) + "/" + Name, Pixels, 640, 480, Pitch);
    }
    static void Type(ConsoleWindow& C, const char* Text) {
        for (const char* p = Text; *p; ++p) C.keyPress(static_cast<unsigned char>(*p));
    }
};

TEST_F(ConsoleWindowTest, LongLinesWrapAtBlanksWithTheirIndentsAndNothingEmptyIsMade) {
    TextBuffer B(BufferKind::Default, 0, -1, "");
    // Room for the first words and the blank after them.
    const int Width = GetTextWidth(FONT, "Kestrel: one two three ");
    B.addLine("one two three four five six", TALK_SAY, "Kestrel", 0);
    B.addLine("first\n\nsecond", TALK_EVENT_MESSAGE, NULL, 0);
    B.addLine("Abcdefghijklmnopqrstuvwxyzabcdefghijklmnop", TALK_SAY, NULL, 0);
    B.wrap(Width, FONT, false);
    ASSERT_GE(B.getDisplayLines(), 5);
    EXPECT_EQ(Piece(B, 0), "Kestrel: one two three");
    EXPECT_EQ(B.getDisplayLine(0)._Indent, 0);
    EXPECT_EQ(Piece(B, 1), "four five six");  // the blank is skipped
    EXPECT_EQ(B.getDisplayLine(1)._Indent, 10);
    EXPECT_EQ(Piece(B, 2), "first");  // a line feed ends a line; the empty one is not made
    EXPECT_EQ(Piece(B, 3), "second");
    EXPECT_EQ(B.getDisplayLine(3)._Indent, 0);  // messages start at the margin
    // A word wider than the console is cut where it stops fitting.
    const DisplayLine& Cut = B.getDisplayLine(4);
    EXPECT_EQ(Cut._Line, 2);
    EXPECT_LE(GetTextWidth(FONT, B.getLine(2).Text + B.getLine(2).TextStart, Cut._LineLength), Width);
    EXPECT_GT(GetTextWidth(FONT, B.getLine(2).Text + B.getLine(2).TextStart, Cut._LineLength + 1), Width);
    std::string Joined;
    for (int n = 4; n < B.getDisplayLines(); ++n) Joined += Piece(B, n);
    EXPECT_EQ(Joined, "Abcdefghijklmnopqrstuvwxyzabcdefghijklmnop");
    // Wider: fewer lines, the old slots cleared.
    const int Narrow = B.getDisplayLines();
    B.wrap(2000, FONT, false);
    EXPECT_EQ(B.getDisplayLines(), 4);
    EXPECT_LT(B.getDisplayLines(), Narrow);
}

TEST_F(ConsoleWindowTest, TabsTextSelectionAndTheInputLineAsAPlayerUsesThem) {
    ConsoleWindow Console;
    Console.setSize(440, 200);
    for (int n = 1; n <= 12; ++n) {
        const std::string Text = "line " + std::to_string(n) + " of a conversation that runs long enough to wrap "
                                 "across the console at least once";
        AddTalkLine(Text.c_str(), n % 3 == 0 ? TALK_YELL : TALK_SAY, n % 2 ? "Kestrel" : "Mira", -1);
    }
    AddTalkLine("Server save in five minutes.", TALK_EVENT_MESSAGE, "", -1);
    SetEventMessages(true);
    OpenChannelTab(TALK_CHANNEL_CALL, CHANNEL_PUBLIC, "", 7, "Help");
    OpenChannelTab(TALK_PRIVATE_MESSAGE, CHANNEL_PRIVATE, "A Rather Long Partner Name", -1,
                   "A Rather Long Partner Name");
    AddTalkLine("over here", TALK_CHANNEL_CALL, "Tom", 7);
    ASSERT_EQ(GetNumberOfTabs(), 3);
    EXPECT_TRUE(GetTab(1).Highlight);
    // The caption is cut to the tab.
    const std::string Shown = ShortenCaption(GetTab(2).Caption.c_str(), Console.getTabWidth() - 8);
    EXPECT_LT(Shown.size(), GetTab(2).Caption.size());
    EXPECT_LE(GetTextWidth(FONT, Shown.c_str()), Console.getTabWidth() - 8);
    // A click on the default tab.
    Console.leftButtonDown(10, 8, 0);
    EXPECT_EQ(GetSelectedTab(), 0);

    // Dragging over the text selects it; Ctrl+C copies it.
    Console.draw(SCREEN_SURFACE, 0, 0);
    const int Bottom = Console.getTextTop() + Console.getTextHeight() - 2;
    Console.leftButtonDown(6, Bottom, 0);
    Console.mouseMove(300, Bottom);
    Console.leftButtonUp(300, Bottom, 0);
    const std::string Selected = Console.getSelectedText();
    EXPECT_FALSE(Selected.empty());
    EXPECT_EQ(std::string("Server save in five minutes.").rfind(Selected, 0), 0u) << Selected;
    Console.keyPress(keys::CTRL | 'c');
    std::string Clip;
    ASSERT_TRUE(platform::GetClipboardText(Clip));
    EXPECT_EQ(Clip, Selected);

    // Typing, editing, hotkeys.
    Type(Console, "hallo");
    Console.keyPress(keys::BACKSPACE);
    Console.keyPress(keys::BACKSPACE);
    Type(Console, "lo");
    EXPECT_EQ(Console.getInput(), "hallo");
    SetHotkey(12, " there", false);  // Shift+F1
    Console.keyPress(keys::F1 | keys::SHIFT);
    EXPECT_EQ(Console.getInput(), "hallo there");
    Console.keyPress((keys::F1 + 5) | keys::CTRL);  // an empty hotkey does nothing
    EXPECT_EQ(Console.getInput(), "hallo there");

    // History: Down keeps the line being typed, Up brings it back, Down on
    // the newest entry clears the input; the same line is kept once.
    Console.keyPress(keys::DOWN);
    EXPECT_EQ(Console.getInput(), "");
    Type(Console, "hallo there");
    Console.keyPress(keys::DOWN);
    EXPECT_EQ(GetHistoryBuffer()->getLines(), 1);
    Type(Console, "second");
    Console.keyPress(keys::DOWN);
    Console.keyPress(keys::UP);
    EXPECT_EQ(Console.getInput(), "second");
    Console.keyPress(keys::UP);
    EXPECT_EQ(Console.getInput(), "hallo there");
    Console.keyPress(keys::UP);  // the oldest stays
    EXPECT_EQ(Console.getInput(), "hallo there");
    Console.keyPress(keys::DOWN);
    EXPECT_EQ(Console.getInput(), "second");
    Console.keyPress(keys::DOWN);
    EXPECT_EQ(Console.getInput(), "");
    Type(Console, "mid-typing a line");

    // What a player sees: three tabs, one highlighted, wrapped lines, the
    // selection and the input line.
    FillRect(SCREEN_SURFACE, 0, 0, 640, 480, 0, 0, 0);
    Console.leftButtonDown(6, Bottom - 20, 0);
    Console.mouseMove(200, Bottom);
    Console.leftButtonUp(200, Bottom, 0);
    Console.draw(SCREEN_SURFACE, 20, 140);
    Save("console.png");

    // A narrower console: the tabs overflow, the arrows appear and the
    // selected tab stays in view as it moves; wide again, they go.
    Console.setSize(250, 200);
    EXPECT_TRUE(Console.arrowsShown());
    EXPECT_LT(Console.getShownTabs(), GetNumberOfTabs());
    const int Tabs = GetNumberOfTabs();
    int Expected = GetSelectedTab();
    for (int n = 0; n < 2 * Tabs; ++n) {
        // Twice right, twice left, and so on (round at either end).
        const bool Right = n % 4 < 2;
        Console.getArrow(Right)->leftButtonDown(2, 2, 0);
        Console.getArrow(Right)->leftButtonUp(2, 2, 0);
        Expected = (Expected + (Right ? 1 : Tabs - 1)) % Tabs;
        EXPECT_EQ(GetSelectedTab(), Expected) << n;
        int x = 0;
        EXPECT_TRUE(Console.getTabPosition(GetSelectedTab(), x)) << n;
        Console.draw(SCREEN_SURFACE, 20, 140);
    }
    Console.setSize(600, 200);
    EXPECT_FALSE(Console.arrowsShown());
    EXPECT_EQ(Console.getShownTabs(), GetNumberOfTabs());
}

// The selection names its text, not the console's rows: whatever changes
// the text of the tab (a line pushed out, "Clear Window", a request taken
// back, another tab shown, another width), the next frame, copying and the
// pointer never reach beyond the end of a line or into an empty buffer.
TEST_F(ConsoleWindowTest, TheSelectionFollowsItsTextThroughEveryChangeOfTheTab) {
    ConsoleWindow Console;
    Console.setSize(440, 200);
    const int Bottom = Console.getTextTop() + Console.getTextHeight() - 2;
    const int Above = Bottom - GetFontLineHeight(FONT);
    const auto Drag = [&](int y, int ToX) {
        Console.leftButtonDown(6, y, 0);
        Console.mouseMove(ToX, y);
        Console.leftButtonUp(ToX, y, 0);
    };
    const auto Frame = [&](const char* Case) {
        EXPECT_NO_THROW(Console.draw(SCREEN_SURFACE, 0, 0)) << Case;
        EXPECT_NO_THROW(Console.getSelectedText()) << Case;
    };

    // A full tab: the newest line pushes out the oldest; the selection in
    // the line below stays on its words.
    for (int n = 0; n < TEXTBUFFER_LINES; ++n)
        AddTalkLine(("number " + std::to_string(n) + " of a talk that goes on").c_str(), TALK_SAY, "Kestrel", -1);
    Console.draw(SCREEN_SURFACE, 0, 0);
    Drag(Bottom, 300);
    const std::string Words = Console.getSelectedText();
    ASSERT_GT(Words.size(), 10u);
    EXPECT_EQ(std::string("Kestrel: number 999 of a talk that goes on").rfind(Words, 0), 0u) << Words;
    AddTalkLine("hi", TALK_SAY, "Mira", -1);
    Frame("a line pushed out");
    EXPECT_EQ(Console.getSelectedText(), Words);
    EXPECT_EQ(GetDefaultBuffer()->getLines(), TEXTBUFFER_LINES);

    // Another width wraps the same words elsewhere: still the same words.
    Console.setSize(250, 200);
    Frame("a narrower console");
    std::string Rewrapped = Console.getSelectedText();
    std::replace(Rewrapped.begin(), Rewrapped.end(), '\n', ' ');
    EXPECT_EQ(Rewrapped, Words);
    Console.setSize(440, 200);

    // "Clear Window" after a plain click (an empty selection) far into a
    // line; short lines come after it.
    OpenChannelTab(TALK_CHANNEL_CALL, CHANNEL_PUBLIC, "", 3, "Trade");
    SelectTab(1);
    AddTalkLine("selling a sword and a shield, cheap", TALK_CHANNEL_CALL, "Tom", 3);
    Console.draw(SCREEN_SURFACE, 0, 0);
    Console.leftButtonDown(300, Bottom, 0);
    Console.leftButtonUp(300, Bottom, 0);
    EXPECT_EQ(Console.getSelectedText(), "");
    ClearTabText(1);
    AddTalkLine("no", TALK_CHANNEL_CALL, "Tom", 3);
    Frame("Clear Window");
    EXPECT_EQ(Console.getSelectedText(), "");

    // A request taken back: the line selected goes, the one left is short.
    OpenRequestChannel(4);
    SelectTab(GetNumberOfTabs() - 1);
    AddRequestLine("Ann", 1, "somebody took my backpack at the well");
    AddRequestLine("Bob", 2, "help");
    Console.draw(SCREEN_SURFACE, 0, 0);
    Drag(Above, 300);
    EXPECT_EQ(Console.getSelectedText().rfind("Ann: somebody", 0), 0u) << Console.getSelectedText();
    RemoveRequest("Ann");
    Frame("a request taken back");
    EXPECT_EQ(Console.getSelectedText(), "");

    // A tab closed by the Close button: its right neighbour shows, with
    // nothing selected in it.
    ASSERT_EQ(GetNumberOfTabs(), 3);
    SelectTab(1);
    ClearTabText(1);
    AddTalkLine("who buys my sword and my shield?", TALK_CHANNEL_CALL, "Tom", 3);
    Console.draw(SCREEN_SURFACE, 0, 0);
    Drag(Bottom, 300);
    EXPECT_FALSE(Console.getSelectedText().empty());
    const TextButton* Close = Console.getButton(0);
    Console.leftButtonDown(Close->getX() + 5, Close->getY() + 5, 0);
    Console.leftButtonUp(Close->getX() + 5, Close->getY() + 5, 0);
    ASSERT_EQ(GetNumberOfTabs(), 2);
    EXPECT_EQ(GetTab(GetSelectedTab()).Caption, "Rule Violations");
    Frame("a tab closed");
    EXPECT_EQ(Console.getSelectedText(), "");

    // An emptied tab before the next frame: the pointer, the menu and
    // copying find nothing to divide up.
    SelectTab(0);
    Console.draw(SCREEN_SURFACE, 0, 0);
    Drag(Bottom, 300);
    ClearTabText(0);
    Type(Console, "abc");
    Console.leftButtonDown(40, Bottom, 0);
    Console.mouseMove(200, Bottom);
    Console.leftButtonUp(200, Bottom, 0);
    Console.leftDoubleClick(40, Bottom, 0);
    Console.rightButtonUp(40, Bottom, 0);
    Console.keyPress(keys::CTRL | 'c');
    std::string Clip;
    ASSERT_TRUE(platform::GetClipboardText(Clip));
    EXPECT_EQ(Clip, "abc");  // nothing selected: the input line
    Frame("an emptied tab");
}

TEST_F(ConsoleWindowTest, ASavedChannelIsAppendedToItsFileAndNeverLeavesTheWorkingDirectory) {
    OpenChannelTab(TALK_CHANNEL_CALL, CHANNEL_PUBLIC, "", 3, "Trade");
    SelectTab(1);
    AddTalkLine("two apples", TALK_CHANNEL_CALL, "Tom", 3);
    AddTalkLine("Server save.", TALK_EVENT_MESSAGE, "", -1);  // not asked for here
    SaveSelectedChannel();
    AddTalkLine("sold", TALK_CHANNEL_CALL, "Mira", 3);
    SaveSelectedChannel();
    EXPECT_STREQ(GetStatusLine(), "Channel appended to Trade.txt");
    const std::string Saved = testing_support::ReadFile(Dir.Path() / "Trade.txt");
    // Twice: a blank line, the heading with the 24-character date, the lines.
    const auto Heading = [&](size_t At) {
        EXPECT_EQ(Saved.compare(At, 18, "\nChannel saved at "), 0) << Saved;
        EXPECT_EQ(Saved[At + 18 + 24], '\n') << Saved;
        return At + 18 + 25;
    };
    size_t At = Heading(0);
    EXPECT_EQ(Saved.compare(At, 16, "Tom: two apples\n"), 0) << Saved;
    At = Heading(At + 16);
    EXPECT_EQ(Saved.substr(At), "Tom: two apples\nMira: sold\n");

    // Captions from the server that name a path are saved under a plain name
    // in the working directory; a clean one keeps its exact name.
    EXPECT_EQ(ChannelFileName("../x"), "___x.txt");
    EXPECT_EQ(ChannelFileName("C:\\Windows\\evil"), "C__Windows_evil.txt");
    EXPECT_EQ(ChannelFileName("a/b\tc"), "a_b_c.txt");
    EXPECT_EQ(ChannelFileName("Mira's Channel.v2"), "Mira's Channel.v2.txt");
    std::filesystem::create_directories(Dir.Path() / "inner");
    std::filesystem::current_path(Dir.Path() / "inner");
    OpenChannelTab(TALK_CHANNEL_CALL, CHANNEL_PUBLIC, "", 9, "../x");
    SelectTab(2);
    SaveSelectedChannel();
    std::filesystem::current_path(Dir.Path());
    EXPECT_FALSE(std::filesystem::exists(Dir.Path() / "x.txt"));
    EXPECT_TRUE(std::filesystem::exists(Dir.Path() / "inner" / "___x.txt"));
}

}  // namespace
