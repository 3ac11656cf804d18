#include "app/MainFrame.h"

#include "app/Application.h"
#include "app/FrameInput.h"
#include "config/Preferences.h"
#include "core/Assert.h"
#include "platform/Platform.h"

#include <cstdint>
#include <vector>

namespace frame {

namespace {
bool Alive = false;
bool (*CloseCheck)() = nullptr;
void (*TimerTick)() = nullptr;
void (*Idle)() = nullptr;
uint32_t NextTick = 0;

// Window placement at creation: the stored geometry if it lies wholly on the
// screen, otherwise a centred window of the default client size, which is then
// stored.
void Place(int& x, int& y, int& width, int& height, bool& maximized) {
    int screenWidth = 0, screenHeight = 0;
    platform::GetScreenSize(screenWidth, screenHeight);
    GetWindowedMode(&x, &y, &width, &height, &maximized);
    if (x >= 0 && y >= 0 && width > 0 && height > 0 && x + width <= screenWidth && y + height <= screenHeight)
        return;
    width = DEFAULT_CLIENT_WIDTH;
    height = DEFAULT_CLIENT_HEIGHT;
    x = (screenWidth - width) / 2;
    y = (screenHeight - height) / 2;
    maximized = false;
    SetWindowedMode(x, y, width, height, maximized);
}
}  // namespace

bool Create() {
    ASSERT(!Alive);
    int x, y, width, height;
    bool maximized;
    Place(x, y, width, height, maximized);
    platform::SetMinimumClientSize(MIN_CLIENT_WIDTH, MIN_CLIENT_HEIGHT);
    if (!platform::CreateWindow(app::WINDOW_TITLE, x, y, width, height, maximized)) return false;
    Alive = true;
    SetCloseHandler(OnClose);
    return true;
}

bool Exists() { return Alive; }

void Destroy() {
    if (!Alive) return;
    if (app::GetDisplayMode() == 1) {
        platform::WindowGeometry g = platform::GetWindowGeometry();
        if (g.Width > 0 && g.Height > 0) {
            // A maximised window keeps the geometry it had before, so that
            // un-maximising next time restores the player's own size.
            if (g.Maximized) {
                int x, y, w, h;
                bool unused;
                GetWindowedMode(&x, &y, &w, &h, &unused);
                SetWindowedMode(x, y, w, h, true);
            } else {
                SetWindowedMode(g.X, g.Y, g.Width, g.Height, false);
            }
        }
    }
    platform::DestroyWindow();
    Alive = false;
}

void SetCloseCheck(bool (*check)()) { CloseCheck = check; }
void SetTimerHandler(void (*tick)()) { TimerTick = tick; }
void SetIdleHandler(void (*idle)()) { Idle = idle; }

void OnClose() {
    if (!CloseCheck || CloseCheck()) app::ExitProgram();
}

bool Pump() {
    platform::Event event;
    while (Alive && platform::PollEvent(event)) {
        switch (event.Kind) {
        case platform::EventKind::CloseRequest: OnClose(); break;
        case platform::EventKind::Activate:
            // Losing the focus in full screen would leave the player in front
            // of a picture that cannot be left: go windowed.
            if (app::GetDisplayMode() == 2) app::SetDisplayMode(1);
            HandleInputEvent(event);
            break;
        default: HandleInputEvent(event); break;
        }
    }
    if (!Alive) return false;
    uint32_t now = platform::Milliseconds();
    if (static_cast<int32_t>(now - NextTick) >= 0) {
        // One tick per due interval; a stalled loop does not fire a burst.
        NextTick = now + TIMER_INTERVAL;
        if (TimerTick) TimerTick();
    }
    if (!Alive) return false;
    if (Idle)
        Idle();
    else
        DrawFrame();
    return Alive;
}

// Until the drawing modules take over the frame, the window shows the
// interface's dark background rather than whatever the screen held.
void DrawFrame() {
    static std::vector<uint32_t> Background;
    int width = 0, height = 0;
    platform::GetClientSize(width, height);
    if (width <= 0 || height <= 0) return;
    size_t size = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (Background.size() != size) Background.assign(size, 0x1C1612);
    platform::Present(Background.data(), width, height, width);
}

void RunMessageLoop() {
    NextTick = platform::Milliseconds() + TIMER_INTERVAL;
    while (Pump()) platform::WaitForEvent(10);
}

}  // namespace frame
