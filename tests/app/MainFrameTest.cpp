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

TEST_F(MainFrameTest, LargeWindowsAreScaledAndPointerPositionsScaledBack) {
    Inject(platform::EventKind::Resize, 2560, 1440);
    frame::Pump();
    EXPECT_EQ(frame::GetScale(), 2);
    int w = 0, h = 0;
    platform::headless::LastFrame(w, h);
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 720);

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
    EXPECT_EQ(seenX, 500);
    EXPECT_EQ(seenY, 320);

    frame::SetScaleOverride(1);
    EXPECT_EQ(frame::GetScale(), 1);
    frame::SetScaleOverride(0);
    Inject(platform::EventKind::Resize, 1920, 1080);
    frame::Pump();
    EXPECT_EQ(frame::GetScale(), 1);
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

#include "config/Preferences.h"
#include "graphics/Surface.h"

namespace {

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
