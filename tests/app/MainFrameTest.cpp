// The frame window on the headless platform: its minimum size, the start
// picture it presents, the whole-window scale and the diagnostics key.
#include "app/Application.h"
#include "app/FrameInput.h"
#include "app/MainFrame.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using testing_support::ScopedWorkDir;

class MainFrameTest : public testing::Test {
  protected:
    void SetUp() override {
        platform::headless::Reset();
        for (const char* name : {"Vorna.dat", "Vorna.spr", "Vorna.pic"})
            std::filesystem::copy_file(testing_support::BinaryDir() / name, dir.Path() / name);
        app::InitModules(0);
        ASSERT_TRUE(frame::Create());
        frame::FirstFrame();
    }
    void TearDown() override {
        frame::Destroy();
        app::ExitModules();
    }
    static void Inject(platform::EventKind kind, int width = 0, int height = 0) {
        platform::Event e;
        e.Kind = kind;
        e.Width = width;
        e.Height = height;
        platform::headless::InjectEvent(e);
    }
    ScopedWorkDir dir;
};

TEST_F(MainFrameTest, PresentsTheStartPictureAtClientSize) {
    int w = 0, h = 0;
    const auto& frame = platform::headless::LastFrame(w, h);
    EXPECT_EQ(w, 600);
    EXPECT_EQ(h, 450);
    std::set<uint32_t> colours(frame.begin(), frame.end());
    EXPECT_GT(colours.size(), 10u) << "the start picture is missing";  // a fill alone is one colour
}

TEST_F(MainFrameTest, ClientAreaNeverBelowMinimum) {
    Inject(platform::EventKind::Resize, 300, 200);
    ASSERT_TRUE(frame::Pump());
    int w = 0, h = 0;
    platform::GetClientSize(w, h);
    EXPECT_EQ(w, 550);
    EXPECT_EQ(h, 450);
    Inject(platform::EventKind::Resize, 700, 300);
    frame::Pump();
    platform::GetClientSize(w, h);
    EXPECT_EQ(w, 700);
    EXPECT_EQ(h, 450);
}

// The scale is the largest whole number that leaves the interface at least
// its minimum 550 x 450, at most 3.
TEST_F(MainFrameTest, LargeWindowsAreScaledAndPointerPositionsScaledBack) {
    const struct {
        int Width, Height, Scale;
    } sizes[] = {{1100, 900, 2}, {1099, 900, 1}, {1920, 1080, 2}, {1650, 1350, 3}, {4000, 3000, 3}};
    for (const auto& size : sizes) {
        Inject(platform::EventKind::Resize, size.Width, size.Height);
        frame::Pump();
        EXPECT_EQ(frame::GetScale(), size.Scale) << size.Width << " x " << size.Height;
    }
    Inject(platform::EventKind::Resize, 2560, 1440);
    frame::Pump();
    EXPECT_EQ(frame::GetScale(), 3);
    int w = 0, h = 0;
    platform::headless::LastFrame(w, h);
    EXPECT_EQ(w, 853);
    EXPECT_EQ(h, 480);

    static int seenX = -1, seenY = -1;
    frame::SetInputHandler([](const frame::Input& in) {
        seenX = in.X;
        seenY = in.Y;
    });
    platform::Event move;
    move.Kind = platform::EventKind::PointerMove;
    move.X = 1001;
    move.Y = 641;
    platform::headless::InjectEvent(move);
    frame::Pump();
    frame::SetInputHandler(nullptr);
    EXPECT_EQ(seenX, 333);
    EXPECT_EQ(seenY, 213);

    frame::SetScaleOverride(2);
    EXPECT_EQ(frame::GetScale(), 2);
    frame::SetScaleOverride(0);
    EXPECT_EQ(frame::GetScale(), 3);
}

TEST_F(MainFrameTest, AltF8TogglesDiagnosticsWithoutDelivery) {
    static int delivered = 0;
    frame::SetInputHandler([](const frame::Input&) { ++delivered; });
    platform::Event alt;
    alt.Kind = platform::EventKind::KeyDown;
    alt.KeyCode = platform::Key::Alt;
    platform::Event f8 = alt;
    f8.KeyCode = platform::Key::F8;
    platform::headless::InjectEvent(alt);
    platform::headless::InjectEvent(f8);
    bool before = frame::DiagnosticsShown();
    frame::Pump();
    frame::SetInputHandler(nullptr);
    EXPECT_NE(frame::DiagnosticsShown(), before);
    EXPECT_EQ(delivered, 1);  // the Alt key itself only
    if (frame::DiagnosticsShown()) frame::ToggleDiagnostics();
}

TEST_F(MainFrameTest, CloseRequestDestroysTheWindowUnlessTheCheckRefuses) {
    frame::SetCloseCheck([] { return false; });
    Inject(platform::EventKind::CloseRequest);
    EXPECT_TRUE(frame::Pump());
    frame::SetCloseCheck(nullptr);
    Inject(platform::EventKind::CloseRequest);
    EXPECT_FALSE(frame::Pump());
    EXPECT_FALSE(frame::Exists());
}

}  // namespace

#include "app/Control.h"
#include "config/Preferences.h"
#include "core/Status.h"
#include "graphics/Surface.h"

namespace {

uint32_t FramePixel(int x, int y) {
    int w = 0, h = 0;
    const auto& frame = platform::headless::LastFrame(w, h);
    return frame.at(static_cast<size_t>(y) * w + x);
}
uint32_t ArtPixel(const platform::PointerImage& image, int x, int y) {
    return platform::PointerImageColour(image.Rows[y][x]) & 0xFFFFFF;
}

// Every idle pass shows the pointer kind's shape when it changed. Without the
// system pointer the program draws its own picture of the shape into the
// frame, with the hot spot at the pointer (divided by the scale), and nothing
// while the pointer is outside the window.
TEST_F(MainFrameTest, PointerShapesFollowTheKindAndTheProgramCanDrawItsOwn) {
    const struct {
        int Mode, Kind, Shape;
    } kinds[] = {{INPUT_IDLE, 1, 1},       {INPUT_IDLE, 2, 2},      {INPUT_IDLE, 3, 3}, {INPUT_TARGET_1, 1, 4},
                 {INPUT_TARGET_2, 1, 4},   {INPUT_DRAG, 1, 5},      {INPUT_HELP, 1, 6}, {INPUT_IDLE, 1, 1}};
    for (const auto& k : kinds) {
        SetInputMode(k.Mode);
        SetPointerKind(k.Kind);
        frame::Pump();
        EXPECT_EQ(platform::headless::PointerShape(), k.Shape) << k.Mode << " " << k.Kind;
        EXPECT_TRUE(platform::headless::SystemPointerShown());
    }
    const int scale = frame::GetScale();
    platform::headless::SetPointerPosition(200 * scale + scale - 1, 100 * scale);
    frame::Pump();
    const uint32_t under = FramePixel(200, 100), underFill = FramePixel(201, 103);

    SetWindowsMousepointer(false);
    frame::Pump();
    EXPECT_FALSE(platform::headless::SystemPointerShown());
    const platform::PointerImage& arrow = platform::GetPointerImage(1);
    EXPECT_EQ(FramePixel(200, 100), ArtPixel(arrow, 0, 0));  // the hot spot is the arrow's tip
    EXPECT_EQ(FramePixel(201, 103), ArtPixel(arrow, 1, 3));
    EXPECT_NE(FramePixel(200, 100), under);
    EXPECT_NE(FramePixel(201, 103), underFill);

    // At scale 2 the target pointer of a use-with mode, centred on the pointer.
    Inject(platform::EventKind::Resize, 1200, 900);
    SetInputMode(INPUT_TARGET_1);
    platform::headless::SetPointerPosition(600, 400);
    frame::Pump();
    EXPECT_EQ(platform::headless::PointerShape(), 4);
    const platform::PointerImage& target = platform::GetPointerImage(4);
    for (int x = 0; x < target.Width; ++x) {
        if (x == target.HotX) continue;  // the open centre
        EXPECT_EQ(FramePixel(300 - target.HotX + x, 200), ArtPixel(target, x, target.HotY)) << x;
    }

    platform::headless::SetPointerPosition(600, 400, false);  // gone from the window
    frame::Pump();
    EXPECT_NE(FramePixel(300 - target.HotX, 200), ArtPixel(target, 0, target.HotY));

    SetWindowsMousepointer(true);
    SetInputMode(INPUT_IDLE);
    frame::Pump();
    EXPECT_TRUE(platform::headless::SystemPointerShown());
    EXPECT_EQ(platform::headless::PointerShape(), 1);
}

TEST_F(MainFrameTest, FullScreenNeedsAModeAndLosingTheFocusLeavesIt) {
    app::SetDisplayMode(2);  // no full-screen mode chosen yet: nothing happens
    EXPECT_EQ(app::GetDisplayMode(), 1);
    SetFullscreenMode(1024, 768, 32);
    app::SetDisplayMode(2);
    EXPECT_EQ(app::GetDisplayMode(), 2);
    EXPECT_EQ(GetViewMode(), FULLSCREEN_MODE);
    frame::Pump();
    int w = 0, h = 0;
    platform::headless::LastFrame(w, h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);

    platform::Event focus;
    focus.Kind = platform::EventKind::Activate;
    focus.Active = false;
    platform::headless::InjectEvent(focus);
    frame::Pump();
    EXPECT_EQ(app::GetDisplayMode(), 1);
    EXPECT_EQ(GetViewMode(), WINDOWED_MODE);
}

}  // namespace
