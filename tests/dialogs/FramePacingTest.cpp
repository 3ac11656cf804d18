// Frames on the running client are drawn only when the picture may have
// changed, at the time it changes, and no faster than the display shows them;
// the timer runs on whether or not anything is drawn.
#include "DialogTestSupport.h"

#include <vector>

namespace {

using FramePacingTest = ClientTest;

TEST_F(FramePacingTest, StillPicturesAreDrawnOnceAndTimedChangesExactlyWhenDue) {
    uint32_t Now = 10000;
    platform::SetClockOverride([&Now] { return Now; });
    frame::RestartTimer();
    std::vector<int> Sleeps;
    SetFrameSleep([&Sleeps, &Now](int Milliseconds) {
        Sleeps.push_back(Milliseconds);
        Now += Milliseconds;
    });
    const auto Frames = [] { return platform::headless::PresentedFrames(); };
    const auto PumpUntilTime = [&Now](uint32_t End) {
        for (; Now < End; Now += 10) frame::Pump();
        Now = End;
        frame::Pump();
    };

    // The still start view: whatever the first passes draw, then nothing for
    // five seconds, although the 100 ms timer keeps ticking and the loop
    // would sleep between its passes.
    frame::Pump();
    const int Still = Frames();
    ASSERT_GE(Still, 1);
    const uint32_t Ticks = GetTickCounter();
    PumpUntilTime(15000);
    EXPECT_EQ(Frames(), Still);
    EXPECT_GE(GetTickCounter() - Ticks, 49u);
    EXPECT_GT(frame::GetIdleWait(), 0);

    // Input draws at once, one frame; the same input minimised draws nothing,
    // and the restored window is drawn again.
    MoveTo(300, 20);
    frame::Pump();
    EXPECT_EQ(Frames(), Still + 1);
    frame::Pump();
    EXPECT_EQ(Frames(), Still + 1);
    Inject(platform::Event{platform::EventKind::Minimized});
    MoveTo(310, 20);
    frame::Pump();
    EXPECT_EQ(Frames(), Still + 1);
    Inject(platform::Event{platform::EventKind::Restored});
    frame::Pump();
    EXPECT_EQ(Frames(), Still + 2);
    // The hover one second after the pointer stopped may show a tooltip.
    PumpUntilTime(17000);
    const int AfterHover = Frames();
    EXPECT_LE(AfterHover, Still + 3);

    // The login dialog's cursor blinks every half second: opened 250 ms
    // before the cursor goes out, the dialog is drawn once, then nothing
    // until exactly then.
    Now = 20250;
    PostEvent(MESSAGE_LOGIN, 0, 0);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Enter Game");
    EXPECT_EQ(Frames(), AfterHover + 1);
    int w = 0, h = 0;
    const std::vector<uint32_t> CursorShown = platform::headless::LastFrame(w, h);
    PumpUntilTime(20499);
    EXPECT_EQ(Frames(), AfterHover + 1);
    EXPECT_EQ(frame::GetIdleWait(), 1);
    Now = 20500;
    frame::Pump();
    EXPECT_EQ(Frames(), AfterHover + 2);
    EXPECT_NE(platform::headless::LastFrame(w, h), CursorShown) << "the cursor did not go out";
    frame::Pump();
    EXPECT_EQ(Frames(), AfterHover + 2);

    // Unlimited is the display's rate: at 50 pictures a second the second of
    // two frames wanted at once waits for the next picture (20 ms, less the
    // millisecond of slack the limiter allows); a limit of 100 keeps its
    // 10 ms.
    EXPECT_TRUE(Sleeps.empty());
    platform::headless::SetRefreshRate(50);
    Now = 30000;
    MoveTo(320, 30);
    frame::Pump();
    MoveTo(321, 30);
    frame::Pump();
    EXPECT_EQ(Sleeps, std::vector<int>({19}));
    SetFramerateLimit(100);
    MoveTo(322, 30);
    frame::Pump();
    EXPECT_EQ(Sleeps, std::vector<int>({19, 10}));
    SetFrameSleep({});
}

}  // namespace
