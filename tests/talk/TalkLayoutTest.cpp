// Layout and drawing of the texts on the map, with the generated fonts.
#include "graphics/Surface.h"
#include "graphics/Talk.h"
#include "graphics/graphics.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"
#include "world/Map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The player stands on (100, 100, 7): cube column 8, row 6.
constexpr int PX = 100, PY = 100, PZ = 7;

class TalkLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::Reset();
        for (const char* name : {"Vorna.spr", "Vorna.pic"})
            std::filesystem::copy_file(testing_support::BinaryDir() / name, Dir.Path() / name);
        platform::CreateWindow("test", -1, -1, 1024, 768, false);
        SetSurfaceMemoryBudgets(SIZE_MAX, SIZE_MAX);
        InitSurface();
        CreateSurfaces(WINDOWED_MODE, NULL);
        InitGraphics(MEMORY_CACHE_BYTES);
        InitMap(nullptr);
        SetMapPosition(PX, PY, PZ);
        InitTalk();
        LineHeight = GetFontLineHeight(TALK_FONT);
    }
    void TearDown() override {
        ExitTalk();
        ExitMap();
        ExitGraphics();
        ExitSurface();
    }
    testing_support::ScopedWorkDir Dir;
    int LineHeight = 0;
};

// The box's rectangle around its centre, found from its alignment point.
struct Rect {
    int Left, Top, Right, Bottom;
};
Rect BoxRect(const TalkboxInfo& B) {
    const int Centre = B.Alignment == LEFT_ALIGN    ? B.X + B.Width / 2
                       : B.Alignment == RIGHT_ALIGN ? B.X - B.Width / 2
                                                    : B.X;
    return {Centre - B.Width / 2, B.Top, Centre + B.Width / 2, B.Top + 2 * (B.Height / 2)};
}
bool Overlap(const Rect& a, const Rect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

int Widest(const TalkboxInfo& B) {
    int W = 0;
    for (int n = 0; n < B.NumberOfLines; ++n) W = std::max(W, GetTextWidth(TALK_FONT, B.Line[n]));
    return W;
}

TEST_F(TalkLayoutTest, BoxSitsOverTheSpeakersField) {
    TalkSay(TALK_SAY, "Mira", PX, PY, PZ, "Hello there");
    LayoutTalk(480, 352, true);
    TalkboxInfo B = GetTalkbox(1);
    ASSERT_TRUE(B.Placed);
    EXPECT_EQ(B.Height, 2 * LineHeight);
    EXPECT_EQ(B.Width, Widest(B));
    EXPECT_EQ(B.Alignment, CENTER_ALIGN);
    EXPECT_EQ(B.X, 240);
    EXPECT_EQ(B.Top, 160 - B.Height / 2 - B.Height / 2);
    EXPECT_EQ(B.Pin, 0);
    EXPECT_FALSE(TalkboxesChanged());  // the layout took the change

    // A smaller unstretched window shows the middle part of the map.
    LayoutTalk(400, 300, true);
    B = GetTalkbox(1);
    EXPECT_EQ(B.X, 256 - 16 - 40);
    EXPECT_EQ(B.Top, 192 - 32 - 26 - B.Height);

    // Stretched: columns of width / 15, rows of height / 11.
    LayoutTalk(960, 704, false);
    B = GetTalkbox(1);
    EXPECT_EQ(B.X, 960 * 7 / 15 + 32);
    EXPECT_EQ(B.Top, 5 * 704 / 11 - B.Height);
}

TEST_F(TalkLayoutTest, SpeakerAboveIsSeenInPerspective) {
    // One floor up, one field down and right: the same place on the screen.
    TalkSay(TALK_YELL, "Tom", PX + 1, PY + 1, PZ - 1, "Up here!");
    // Four fields east on the player's floor.
    TalkSay(TALK_WHISPER, "Ann", PX + 4, PY, PZ, "psst");
    LayoutTalk(480, 352, true);
    EXPECT_EQ(GetTalkbox(1).X, 240);
    EXPECT_EQ(GetTalkbox(2).X, 240 + 4 * 32);
}

TEST_F(TalkLayoutTest, SpeakersOutsideTheCubeAreNotPlaced) {
    TalkSay(TALK_SAY, "Far", PX + 10, PY, PZ, "too far east");
    TalkSay(TALK_SAY, "Deep", PX, PY, PZ + 1, "underground");
    TalkSay(TALK_SAY, "Near", PX + 9, PY + 7, PZ, "at the hidden border");
    LayoutTalk(480, 352, true);
    EXPECT_FALSE(GetTalkbox(1).Placed);
    EXPECT_FALSE(GetTalkbox(2).Placed);
    EXPECT_TRUE(GetTalkbox(3).Placed);
    // They still live and queue as usual.
    EXPECT_EQ(GetNumberOfTalkboxes(), 3);
}

TEST_F(TalkLayoutTest, MessagesWithoutPositionArePinnedInTheMiddle) {
    TalkSay(TALK_PRIVATE_MESSAGE, "Tom", 0, 0, 0, "private");
    TalkMessage(TALK_INFO_MESSAGE, "You advanced to level 2.");
    TalkMessage(TALK_ADMIN_MESSAGE, "Server save in 1 minute.");
    LayoutTalk(640, 480, false);
    const TalkboxInfo Private = GetTalkbox(1), Info = GetTalkbox(2), Admin = GetTalkbox(3);
    for (const TalkboxInfo& B : {Private, Info, Admin}) {
        EXPECT_EQ(B.Pin, PIN_X | PIN_Y);
        EXPECT_EQ(B.Alignment, CENTER_ALIGN);
        EXPECT_EQ(B.X, 320);
    }
    EXPECT_EQ(Private.Top + Private.Height / 2, 120);
    EXPECT_EQ(Info.Top + Info.Height / 2, 240 + Info.Height / 2 + 5);     // below the centre
    EXPECT_EQ(Admin.Top + Admin.Height / 2, 240 - Admin.Height / 2 - 5);  // above it
}

TEST_F(TalkLayoutTest, EdgesClampPinAndAlign) {
    TalkSay(TALK_SAY, "East", PX + 9, PY, PZ, "a few words");  // cube column 17
    TalkSay(TALK_SAY, "West", PX - 8, PY, PZ, "a few words");  // column 0
    TalkSay(TALK_SAY, "North", PX, PY - 6, PZ, "hi");         // row 0
    LayoutTalk(480, 352, true);
    const TalkboxInfo East = GetTalkbox(1), West = GetTalkbox(2), North = GetTalkbox(3);
    EXPECT_EQ(East.Alignment, RIGHT_ALIGN);
    EXPECT_EQ(East.X, 480);
    EXPECT_EQ(East.Pin & PIN_X, PIN_X);
    EXPECT_EQ(West.Alignment, LEFT_ALIGN);
    EXPECT_EQ(West.X, 1);
    EXPECT_EQ(West.Pin & PIN_X, PIN_X);
    EXPECT_EQ(North.Top, 1);
    EXPECT_EQ(North.Pin, PIN_Y);
    EXPECT_EQ(North.Alignment, CENTER_ALIGN);
}

TEST_F(TalkLayoutTest, StatusLineKeepsRoomAtTheBottom) {
    TalkSay(TALK_SAY, "South", PX, PY + 7, PZ, "down here");  // row 13
    LayoutTalk(480, 352, true);
    const TalkboxInfo Free = GetTalkbox(1);
    EXPECT_EQ(Free.Top + Free.Height / 2, 352 - Free.Height / 2);
    SetStatusLine("You are hungry.", false);
    ASSERT_TRUE(TalkboxesChanged());
    LayoutTalk(480, 352, true);
    const TalkboxInfo Raised = GetTalkbox(1);
    EXPECT_EQ(Raised.Top + Raised.Height / 2, 352 - Raised.Height / 2 - GetFontHeight(TALK_FONT) - 10);
    EXPECT_EQ(Raised.Pin, PIN_Y);
}

TEST_F(TalkLayoutTest, BoxesOnOneFieldDoNotOverlap) {
    // Different kinds on the player's field, so none waits for another. Of
    // the same height their centres coincide: they end side by side.
    TalkSay(TALK_SAY, "Mira", PX, PY, PZ, "I say this");
    TalkSay(TALK_YELL, "Mira", PX, PY, PZ, "AND I YELL THAT");
    LayoutTalk(480, 352, true);
    Rect a = BoxRect(GetTalkbox(1)), b = BoxRect(GetTalkbox(2));
    EXPECT_FALSE(Overlap(a, b));
    EXPECT_TRUE(a.Right <= b.Left || b.Right <= a.Left);
    // The one pushed off the speaker leans towards him.
    EXPECT_NE(GetTalkbox(1).Alignment, GetTalkbox(2).Alignment);

    // Of different heights the centres share only x: one above the other.
    ResetTalk();
    TalkSay(TALK_SAY, "Mira", PX, PY, PZ, "one line");
    TalkSay(TALK_WHISPER, "Mira", PX, PY, PZ, "three\nlines\nhere");
    LayoutTalk(480, 352, true);
    a = BoxRect(GetTalkbox(1));
    b = BoxRect(GetTalkbox(2));
    EXPECT_FALSE(Overlap(a, b));
    EXPECT_TRUE(a.Bottom <= b.Top || b.Bottom <= a.Top);
    EXPECT_EQ(GetTalkbox(1).X, GetTalkbox(2).X);

    // However they are pushed, the boxes of a crowd stay inside the window.
    for (int n = 0; n < 8; ++n)
        TalkSay(TALK_SAY, ("Speaker" + std::to_string(n)).c_str(), PX + n % 3, PY + n % 2, PZ,
                "Some words of a crowd\nthat talks at once");
    LayoutTalk(480, 352, true);
    ASSERT_EQ(GetNumberOfTalkboxes(), TALKBOXES);
    for (int i = 1; i <= TALKBOXES; ++i) {
        const Rect r = BoxRect(GetTalkbox(i));
        EXPECT_GE(r.Left, 1);
        EXPECT_LE(r.Right, 480);
        EXPECT_GE(r.Top, 1);
        EXPECT_LE(r.Bottom, 352);
    }
}

// ---- Long texts in the smallest windows ------------------------------------------------------

// Where the shown lines of a placed box land as DrawTalk draws them.
Rect DrawnArea(const TalkboxInfo& B, int LineHeight) {
    Rect D{INT_MAX, B.Top, INT_MIN, B.Top + B.NumberOfShownLines * LineHeight};
    for (int n = 0; n < B.NumberOfShownLines; ++n) {
        const int W = GetTextWidth(TALK_FONT, B.Shown[n]);
        const int Left = B.Alignment == LEFT_ALIGN ? B.X : B.Alignment == CENTER_ALIGN ? B.X - W / 2 : B.X - W;
        D.Left = std::min(D.Left, Left);
        D.Right = std::max(D.Right, Left + W);
    }
    return D;
}

// The shown boxes of a map picture of Width x Height: every line within its
// width, every box inside it and above the status line, no two over each
// other. Returns the boxes placed, by their first two lines.
std::vector<std::string> CheckShownBoxes(int Width, int Height, int LineHeight, const std::string& Where) {
    const int Reserve = GetStatusLine() != nullptr ? GetFontHeight(TALK_FONT) + 10 : 0;
    std::vector<std::string> Placed;
    std::vector<Rect> Areas;
    for (int n = 1; n <= GetNumberOfTalkboxes(); ++n) {
        const TalkboxInfo B = GetTalkbox(n);
        if (!B.Placed) continue;
        for (int k = 0; k < B.NumberOfShownLines; ++k)
            EXPECT_LE(GetTextWidth(TALK_FONT, B.Shown[k]), Width) << Where << ": " << B.Shown[k];
        const Rect D = DrawnArea(B, LineHeight);
        EXPECT_GE(D.Left, 0) << Where << ": " << B.Line[0];
        EXPECT_LE(D.Right, Width) << Where << ": " << B.Line[0];
        EXPECT_GE(D.Top, 0) << Where << ": " << B.Line[0];
        if (D.Bottom - D.Top <= Height - Reserve) {
            EXPECT_LE(D.Bottom, Height - Reserve) << Where << ": " << B.Line[0];
        }
        for (const Rect& Other : Areas)
            EXPECT_FALSE(Overlap(D, Other)) << Where << ": " << B.Line[0] << " over another box";
        Areas.push_back(D);
        Placed.push_back(std::string(B.Line[0]) + "|" + (B.NumberOfLines > 1 ? B.Line[1] : ""));
    }
    return Placed;
}

// The speaker of a box by its header: "Aldric says:" is Aldric's.
std::string SpeakerOf(const TalkboxInfo& B) {
    const std::string Header = B.NumberOfLines > 0 ? B.Line[0] : "";
    const size_t Blank = Header.rfind(' ');
    return Blank == std::string::npos ? Header.substr(0, Header.size() - 1) : Header.substr(0, Blank);
}

// No box goes before an older one of its speaker that waits for room.
void CheckOrder(const std::string& Where) {
    std::vector<std::string> Waiting;
    for (int n = 1; n <= GetNumberOfTalkboxes(); ++n) {
        const TalkboxInfo B = GetTalkbox(n);
        const std::string Speaker = SpeakerOf(B);
        const bool Behind = std::find(Waiting.begin(), Waiting.end(), Speaker) != Waiting.end();
        EXPECT_FALSE(B.Placed && Behind) << Where << ": " << B.Line[0] << " before the older words";
        if (B.Deferred) Waiting.push_back(Speaker);
    }
}

// Runs the clock in steps of 100 ms, laying the boxes out again whenever they
// changed, as the map window does, and checking them after each step, until
// every box is gone. Returns every box that was placed on the way.
std::vector<std::string> RunOut(int Width, int Height, bool NoStretching, int LineHeight, const std::string& Where) {
    std::vector<std::string> Seen;
    LayoutTalk(Width, Height, NoStretching);
    for (int Step = 0; Step < 3000 && GetNumberOfTalkboxes() > 0; ++Step) {
        for (const std::string& Box : CheckShownBoxes(Width, Height, LineHeight, Where))
            if (std::find(Seen.begin(), Seen.end(), Box) == Seen.end()) Seen.push_back(Box);
        CheckOrder(Where);
        if (::testing::Test::HasFailure()) break;  // the first step that fails tells enough
        UpdateTalk(100);
        if (TalkboxesChanged()) LayoutTalk(Width, Height, NoStretching);
    }
    EXPECT_EQ(GetNumberOfTalkboxes(), 0) << Where;
    return Seen;
}

bool SeenStarting(const std::vector<std::string>& Seen, const std::string& Start) {
    for (const std::string& Box : Seen)
        if (Box.rfind(Start, 0) == 0) return true;
    return false;
}

// Long texts said at once in the map pictures of windows of 600 x 450 and
// 550 x 450 (the smallest): no line wider than the map, no box over another,
// and what finds no room waits its turn rather than running out unread.
TEST_F(TalkLayoutTest, LongTextsInTheSmallestWindowsNeitherOverlapNorLeaveTheMap) {
    std::string Word;
    for (int n = 0; n < 300; ++n) Word += char('a' + n % 26);
    std::string Hellos;
    for (int n = 0; n < 50; ++n) Hellos += "hello ";
    const std::string Longest(511, 'M');
    const struct {
        int Width, Height;
    } Pictures[] = {{424, 310}, {374, 274}};  // the map pictures of the two windows
    for (const auto& P : Pictures)
        for (bool NoStretching : {false, true}) {
            const std::string Where =
                std::to_string(P.Width) + "x" + std::to_string(P.Height) + (NoStretching ? " unstretched" : "");
            // One speaker says three long texts one after another, with the
            // village's chatter around him.
            ResetTalk();
            TalkSay(TALK_SAY, "Haldor", PX, PY - 1, PZ, "Fine weather for fishing.");
            TalkSay(TALK_ANIMAL_LOW, "Chicken", PX - 6, PY + 4, PZ, "Cluck!");
            TalkSay(TALK_SAY, "Aldric", PX, PY, PZ, Word.c_str());
            TalkSay(TALK_SAY, "Aldric", PX, PY, PZ, std::string(260, 'W').c_str());
            TalkSay(TALK_YELL, "Aldric", PX, PY, PZ, Hellos.c_str());
            LayoutTalk(P.Width, P.Height, NoStretching);
            const TalkboxInfo Say = GetTalkbox(3);
            ASSERT_STREQ(Say.Line[0], "Aldric says:");
            EXPECT_GT(Say.NumberOfShownLines, Say.NumberOfLines) << Where;  // the line of "W" broken again
            std::vector<std::string> Seen = RunOut(P.Width, P.Height, NoStretching, LineHeight, Where);
            EXPECT_TRUE(SeenStarting(Seen, "Aldric says:|abcdefghij")) << Where;
            EXPECT_TRUE(SeenStarting(Seen, "Aldric yells:|hello hello")) << Where;

            // Two speakers side by side, one whispering a text of the
            // longest length with a name of the longest length, a line of
            // "M" that no blank breaks.
            ResetTalk();
            TalkSay(TALK_SAY, "Aldric", PX, PY, PZ, Hellos.c_str());
            TalkSay(TALK_WHISPER, "Bartholomew of the Long Road", PX + 1, PY, PZ, Longest.c_str());
            TalkSay(TALK_PRIVATE_MESSAGE, "Mira", 0, 0, 0, Word.c_str());
            Seen = RunOut(P.Width, P.Height, NoStretching, LineHeight, Where);
            EXPECT_TRUE(SeenStarting(Seen, "Aldric says:")) << Where;
            EXPECT_TRUE(SeenStarting(Seen, "Bartholomew of the Long Road whispers:")) << Where;
            EXPECT_TRUE(SeenStarting(Seen, "Mira:")) << Where;

            // A speaker at the bottom of the view while a status text is
            // shown: the boxes keep above it.
            ResetTalk();
            SetStatusLine("You are hungry.", true);
            TalkSay(TALK_SAY, "Aldric", PX, PY + 5, PZ, Hellos.c_str());
            TalkSay(TALK_YELL, "Aldric", PX + 1, PY + 5, PZ, Word.c_str());
            Seen = RunOut(P.Width, P.Height, NoStretching, LineHeight, Where);
            EXPECT_EQ(Seen.size(), 2u) << Where;
            SetStatusLine(nullptr, false);
        }
}

// ---- Drawing --------------------------------------------------------------------------------

struct Found {
    int Count = 0, Left = INT_MAX, Right = INT_MIN, Top = INT_MAX, Bottom = INT_MIN;
};
// Pixels of SCREEN_SURFACE within a rectangle that satisfy a colour test.
template <typename Test>
Found Scan(int X, int Y, int Width, int Height, Test Matches) {
    Found F;
    for (int y = Y; y < Y + Height; ++y)
        for (int x = X; x < X + Width; ++x) {
            const uint32_t p = ReadPixel(SCREEN_SURFACE, x, y);
            if (!Matches(int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255))) continue;
            ++F.Count;
            F.Left = std::min(F.Left, x);
            F.Right = std::max(F.Right, x);
            F.Top = std::min(F.Top, y);
            F.Bottom = std::max(F.Bottom, y);
        }
    return F;
}
bool Yellow(int r, int g, int b) { return r > 100 && r == g && b == 0; }
bool Cyan(int r, int g, int b) { return g > 100 && g == b && r < g; }
bool White(int r, int g, int b) { return r > 150 && r == g && g == b; }

constexpr int VX = 20, VY = 30;  // the view's place on the screen

TEST_F(TalkLayoutTest, DrawsBoxesWithTheWalkAndTheStatusLine) {
    TalkSay(TALK_SAY, "Mira", PX, PY, PZ, "Hello there");
    TalkSay(TALK_PRIVATE_MESSAGE, "Tom", 0, 0, 0, "private");
    SetStatusLine("You see a rather long status line that will not fit into the small window at all.", false);
    LayoutTalk(480, 352, true);
    const TalkboxInfo Say = GetTalkbox(1), Private = GetTalkbox(2);

    FillRect(SCREEN_SURFACE, 0, 0, 1024, 768, 0, 0, 64);
    DrawTalk(SCREEN_SURFACE, VX, VY, 480, 352, 0, 0, true);
    const Found Still = Scan(0, 0, 1024, 768, Yellow);
    ASSERT_GT(Still.Count, 0);
    const Rect R = BoxRect(Say);
    EXPECT_GE(Still.Left, VX + R.Left);
    EXPECT_LE(Still.Right, VX + R.Right);
    EXPECT_GE(Still.Top, VY + R.Top);
    EXPECT_LE(Still.Bottom, VY + R.Bottom);
    const Found PrivateStill = Scan(0, 0, 1024, 768, Cyan);
    ASSERT_GT(PrivateStill.Count, 0);
    EXPECT_GE(PrivateStill.Top, VY + Private.Top);

    // The status line: white, at the bottom, cut to the window's width.
    const int FontHeight = GetFontHeight(TALK_FONT);
    const Found Status = Scan(0, 0, 1024, 768, White);
    ASSERT_GT(Status.Count, 0);
    EXPECT_GE(Status.Top, VY + 352 - FontHeight);
    EXPECT_LT(Status.Bottom, VY + 352);
    EXPECT_GE(Status.Left, VX);
    EXPECT_LT(Status.Right, VX + 480);

    // Walking 16 pixels east and 8 south moves the speech, not the pinned message.
    FillRect(SCREEN_SURFACE, 0, 0, 1024, 768, 0, 0, 64);
    DrawTalk(SCREEN_SURFACE, VX, VY, 480, 352, 16, 8, true);
    const Found Walked = Scan(0, 0, 1024, 768, Yellow);
    EXPECT_EQ(Walked.Left, Still.Left - 16);
    EXPECT_EQ(Walked.Top, Still.Top - 8);
    const Found PrivateWalked = Scan(0, 0, 1024, 768, Cyan);
    EXPECT_EQ(PrivateWalked.Left, PrivateStill.Left);
    EXPECT_EQ(PrivateWalked.Top, PrivateStill.Top);

    // Stretched to twice the size, the walk is scaled too.
    LayoutTalk(960, 704, false);
    FillRect(SCREEN_SURFACE, 0, 0, 1024, 768, 0, 0, 64);
    DrawTalk(SCREEN_SURFACE, 0, 0, 960, 704, 0, 0, false);
    const Found Big = Scan(0, 0, 1024, 768, Yellow);
    FillRect(SCREEN_SURFACE, 0, 0, 1024, 768, 0, 0, 64);
    DrawTalk(SCREEN_SURFACE, 0, 0, 960, 704, 16, 0, false);
    EXPECT_EQ(Scan(0, 0, 1024, 768, Yellow).Left, Big.Left - 32);
}

TEST_F(TalkLayoutTest, AnimatedTextStaysInsideTheWindow) {
    const int Width = GetTextWidth(TALK_FONT, "123");
    auto Red = [](int r, int g, int b) { return r > 100 && g == 0 && b == 0; };
    // Colour 180 is pure red; x 0 would put half the text outside.
    FillRect(SCREEN_SURFACE, 0, 0, 1024, 768, 0, 0, 64);
    DrawAnimatedText(SCREEN_SURFACE, VX, VY, 480, 352, 0, 400, 180, "123", true);
    const Found Edge = Scan(0, 0, 1024, 768, Red);
    ASSERT_GT(Edge.Count, 0);
    EXPECT_GE(Edge.Left, VX);
    EXPECT_LE(Edge.Right, VX + Width);
    EXPECT_LT(Edge.Bottom, VY + 352);
    EXPECT_GE(Edge.Top, VY + 352 - GetFontHeight(TALK_FONT));

    // Stretched twice: (240, 100) of the map lands at (480, 200) of the window.
    FillRect(SCREEN_SURFACE, 0, 0, 1024, 768, 0, 0, 64);
    DrawAnimatedText(SCREEN_SURFACE, 0, 0, 960, 704, 240, 100, 180, "123", false);
    const Found Scaled = Scan(0, 0, 1024, 768, Red);
    EXPECT_GE(Scaled.Left, 480 - Width / 2);
    EXPECT_LE(Scaled.Right, 480 + Width / 2);
    EXPECT_GE(Scaled.Top, 200);
    EXPECT_ASSERTION(DrawAnimatedText(SCREEN_SURFACE, 0, 0, 960, 704, 0, 0, 216, "1", false), "In(Colour,0,215)");
}

}  // namespace
