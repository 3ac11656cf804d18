// The platform layer's own promises: signals become close requests, message
// boxes are never silent, the clock can be replaced, and the SDL back end
// runs without a display through its dummy driver.
#include "platform/Platform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

namespace {

class HeadlessPlatform : public testing::Test {
  protected:
    void SetUp() override {
        platform::Init(platform::Backend::Headless);
        platform::headless::Reset();
    }
};

TEST_F(HeadlessPlatform, TerminationSignalsBecomeOneQuitEach) {
    platform::InstallQuitSignals();
    std::raise(SIGTERM);
    std::raise(SIGINT);  // arrives before the first was taken: still one request pending
    platform::Event event;
    ASSERT_TRUE(platform::PollEvent(event));
    EXPECT_EQ(event.Kind, platform::EventKind::Quit);
    EXPECT_FALSE(platform::PollEvent(event));
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

TEST_F(HeadlessPlatform, MessageBoxWithoutDisplayGoesToStandardError) {
    testing::internal::CaptureStderr();
    platform::ShowMessageBox("Vorna - Error", "Error 1: something", platform::BoxIcon::Warning);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Vorna - Error\nError 1: something\n");
    ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(platform::headless::MessageBoxes()[0].Caption, "Vorna - Error");
}

TEST_F(HeadlessPlatform, ClockOverrideAndRestore) {
    uint32_t fake = 123456;
    platform::SetClockOverride([&] { return fake; });
    EXPECT_EQ(platform::Milliseconds(), 123456u);
    fake += 100;
    EXPECT_EQ(platform::Milliseconds(), 123556u);
    platform::SetClockOverride(nullptr);
    EXPECT_LT(platform::Milliseconds(), 123456u);
}

TEST_F(HeadlessPlatform, ClipboardKeepsCodePageBytesAndReportsFailure) {
    std::string text;
    ASSERT_TRUE(platform::GetClipboardText(text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(platform::ClipboardHasText());
    ASSERT_TRUE(platform::SetClipboardText("Gr\xFC\xDF" "e"));
    ASSERT_TRUE(platform::GetClipboardText(text));
    EXPECT_EQ(text, "Gr\xFC\xDF" "e");
    platform::headless::SetClipboardAvailable(false);
    EXPECT_FALSE(platform::GetClipboardText(text));
    EXPECT_FALSE(platform::SetClipboardText("x"));
}

TEST_F(HeadlessPlatform, PresentedFrameCanBeReadBackAndWrittenAsPNG) {
    testing_support::ScopedWorkDir dir;
    // A 3 x 2 frame inside rows of pitch 4: the padding must not leak into the frame.
    uint32_t pixels[8] = {0xFF0000, 0x00FF00, 0x0000FF, 0xDEAD, 0x102030, 0x405060, 0x708090, 0xBEEF};
    platform::Present(pixels, 3, 2, 4);
    int w = 0, h = 0;
    const auto& frame = platform::headless::LastFrame(w, h);
    ASSERT_EQ(w, 3);
    ASSERT_EQ(h, 2);
    EXPECT_EQ(frame, (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0x102030, 0x405060, 0x708090}));
    ASSERT_TRUE(platform::WritePNG("frame.png", frame.data(), w, h, w));
    std::string png = testing_support::ReadFile(dir.Path() / "frame.png");
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_FALSE(platform::WritePNG((dir.Path() / "missing" / "x.png").string(), frame.data(), w, h, w));
}

TEST(SDLPlatform, DummyDriverCreatesTheTitledWindow) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string reason;
    ASSERT_TRUE(platform::Init(platform::Backend::SDL, &reason)) << reason;
    ASSERT_TRUE(platform::CreateWindow("Vorna   ", -1, -1, 600, 450, false));
    EXPECT_TRUE(platform::HasWindow());
    EXPECT_EQ(platform::GetWindowTitle(), "Vorna   ");
    int w = 0, h = 0;
    platform::GetClientSize(w, h);
    EXPECT_EQ(w, 600);
    EXPECT_EQ(h, 450);
    std::vector<uint32_t> pixels(600 * 450, 0x336699);
    platform::Present(pixels.data(), 600, 450, 600);  // must not crash without a real screen
    platform::DestroyWindow();
    EXPECT_FALSE(platform::HasWindow());
    platform::Init(platform::Backend::Headless);
}

}  // namespace

#include "platform/Cursors.h"

namespace {

// Every row of the pointer images and of the emblem has the declared width,
// the hot spot lies on the image, and only known characters are used (an odd
// one would be silently transparent). Each pointer kind has its own picture,
// except the two target modes, which share one.
TEST(PointerImages, WellFormedAndOnePerShape) {
    using namespace platform::cursors;
    for (const auto* art : {&Arrow(), &Resize(), &Wait(), &Target(), &Help(), &Emblem()}) {
        ASSERT_GT(art->Height, 0);
        EXPECT_TRUE(art->HotX >= 0 && art->HotX < art->Width && art->HotY >= 0 && art->HotY < art->Height);
        int opaque = 0;
        for (int y = 0; y < art->Height; ++y) {
            ASSERT_EQ(std::string(art->Rows[y]).size(), static_cast<size_t>(art->Width)) << "row " << y;
            for (int x = 0; x < art->Width; ++x) {
                char c = art->Rows[y][x];
                EXPECT_NE(std::string(".XogGdIiWw").find(c), std::string::npos) << c;
                opaque += (ArtColour(c) >> 24) != 0;
            }
        }
        EXPECT_GT(opaque, art->Width);
    }
    const platform::PointerImage* shapes[] = {&Arrow(), &Arrow(), &Resize(), &Wait(), &Target(), &Target(), &Help()};
    for (int shape = 0; shape <= 6; ++shape) EXPECT_EQ(&platform::GetPointerImage(shape), shapes[shape]) << shape;
    // The emblem is drawn doubled for the window: every art pixel a 2 x 2 block.
    std::vector<uint32_t> icon(64 * 64);
    RenderArt(Emblem(), 2, icon.data());
    EXPECT_EQ(icon[(2 * 16) * 64 + 2 * 20 + 1], ArtColour(Emblem().Rows[16][20]));
    EXPECT_EQ(icon[(2 * 16 + 1) * 64 + 2 * 20], ArtColour(Emblem().Rows[16][20]));
}

}  // namespace
