#include "app/MainFrame.h"

#include "app/Application.h"
#include "app/Control.h"
#include "app/FrameInput.h"
#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Redraw.h"
#include "graphics/PictureNumbers.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/framework/GUI.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace frame {

namespace {
bool Alive = false;
bool Minimized = false;
bool Diagnostics = false;
int Scale = 1, ScaleOverride = 0;
// The pointer as last shown: its kind (0 none yet) and whether the system
// draws it (-1 not decided yet).
int ShownPointerKind = 0, ShownSystemPointer = -1;
// Where the program last drew its own pointer (DrawnPointerInside false:
// not drawn), so that a pointer that moved is drawn again.
int DrawnPointerX = 0, DrawnPointerY = 0;
bool DrawnPointerInside = false;
bool (*CloseCheck)() = nullptr;
void (*QuitHandler)() = nullptr;
void (*TimerTick)() = nullptr;
void (*Idle)() = nullptr;
uint32_t NextTick = 0;

int ScaleFromEnvironment() {
    const char* value = std::getenv("VORNA_SCALE");
    int scale = value ? std::atoi(value) : 0;
    return In(scale, 1, MAX_SCALE) ? scale : 0;
}

// The player's interface size (preferences) and VORNA_SCALE both cap the
// scale; 0 when neither does.
int ScaleCap() {
    const int chosen = GetInterfaceSize();
    if (chosen > 0 && ScaleOverride > 0) return std::min(chosen, ScaleOverride);
    return chosen > 0 ? chosen : ScaleOverride;
}

// Window placement at creation: the stored geometry if it lies wholly on the
// screen, otherwise the default client area at the largest whole scale whose
// window fits the screen's usable area, centred there; that geometry is then
// stored.
void Place(int& x, int& y, int& width, int& height, bool& maximized) {
    int screenWidth = 0, screenHeight = 0;
    platform::GetScreenSize(screenWidth, screenHeight);
    GetWindowedMode(&x, &y, &width, &height, &maximized);
    if (x >= 0 && y >= 0 && width > 0 && height > 0 && x + width <= screenWidth && y + height <= screenHeight)
        return;
    int areaX = 0, areaY = 0, areaWidth = 0, areaHeight = 0;
    platform::GetUsableArea(areaX, areaY, areaWidth, areaHeight);
    const int frameWidth = areaWidth - FRAME_ALLOWANCE_WIDTH, frameHeight = areaHeight - FRAME_ALLOWANCE_HEIGHT;
    int scale = std::clamp(std::min(frameWidth / DEFAULT_CLIENT_WIDTH, frameHeight / DEFAULT_CLIENT_HEIGHT), 1,
                           MAX_SCALE);
    if (ScaleCap() > 0) scale = std::min(scale, ScaleCap());
    width = DEFAULT_CLIENT_WIDTH * scale;
    height = DEFAULT_CLIENT_HEIGHT * scale;
    x = areaX + std::max((frameWidth - width) / 2, 0);
    y = areaY + std::max((frameHeight - height) / 2, 0);
    maximized = false;
    SetWindowedMode(x, y, width, height, maximized);
}

// The program's own picture of the pointer, drawn into the frame when the
// system pointer is hidden: one line per run of equal pixels, so it costs a
// few dozen fills and no memory.
void DrawOwnPointer(int Surface) {
    int x = 0, y = 0;
    if (!platform::GetPointerPosition(x, y)) return;
    const platform::PointerImage& image = platform::GetPointerImage(GetPointerKind());
    x = x / Scale - image.HotX;
    y = y / Scale - image.HotY;
    for (int row = 0; row < image.Height; ++row) {
        const char* pixels = image.Rows[row];
        for (int column = 0; column < image.Width;) {
            const int start = column;
            while (column < image.Width && pixels[column] == pixels[start]) ++column;
            const uint32_t colour = platform::PointerImageColour(pixels[start]);
            if (colour >> 24)
                DrawHorizontalLine(Surface, x + start, y + row, column - start, (colour >> 16) & 255,
                                   (colour >> 8) & 255, colour & 255);
        }
    }
}
}  // namespace

bool Create(std::string* reason) {
    ASSERT(!Alive);
    ScaleOverride = ScaleFromEnvironment();
    Minimized = false;
    ShownPointerKind = 0;
    ShownSystemPointer = -1;
    ResetRedraw();
    int x, y, width, height;
    bool maximized;
    Place(x, y, width, height, maximized);
    platform::SetMinimumClientSize(MIN_CLIENT_WIDTH, MIN_CLIENT_HEIGHT);
    if (!platform::CreateWindow(app::WINDOW_TITLE, x, y, width, height, maximized, reason)) return false;
    Alive = true;
    SetCloseHandler(OnClose);
    return true;
}

bool Exists() { return Alive; }

void StorePlacement() {
    platform::WindowGeometry g = platform::GetWindowGeometry();
    if (g.Width <= 0 || g.Height <= 0) return;
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

void RestorePlacement() {
    int x, y, w, h;
    bool maximized;
    GetWindowedMode(&x, &y, &w, &h, &maximized);
    if (w <= 0 || h <= 0) return;
    platform::SetWindowPlacement(x, y, w, h);
    // A window that was maximised before full screen is maximised again.
    if (maximized) platform::MaximizeWindow();
    RefreshWindowPosition();
}

void DisplayChanged(int ScreenWidth, int ScreenHeight) {
    if (!Alive || app::GetDisplayMode() != 1) return;
    platform::WindowGeometry g = platform::GetWindowGeometry();
    if (g.Width <= ScreenWidth && g.Height <= ScreenHeight) return;
    // The window keeps its size (down to the screen's, never below the
    // minimum) and is centred on the new screen.
    const int width = std::max(std::min(g.Width, ScreenWidth), MIN_CLIENT_WIDTH);
    const int height = std::max(std::min(g.Height, ScreenHeight), MIN_CLIENT_HEIGHT);
    const int x = std::max((ScreenWidth - width) / 2, 0), y = std::max((ScreenHeight - height) / 2, 0);
    platform::SetWindowPlacement(x, y, width, height);
    SetWindowedMode(x, y, width, height, false);
    RefreshWindowPosition();
    UpdateScale();
}

void Destroy() {
    if (!Alive) return;
    if (app::GetDisplayMode() == 1) StorePlacement();
    platform::DestroyWindow();
    Alive = false;
}

void SetCloseCheck(bool (*check)()) { CloseCheck = check; }
void SetQuitHandler(void (*quit)()) { QuitHandler = quit; }
void SetTimerHandler(void (*tick)()) { TimerTick = tick; }
void SetIdleHandler(void (*idle)()) { Idle = idle; }
void RestartTimer() { NextTick = platform::Milliseconds(); }

void OnClose() {
    if (!CloseCheck || CloseCheck()) app::ExitProgram();
}

void OnQuit() {
    if (QuitHandler)
        QuitHandler();
    else
        app::ExitProgram();
}

bool Pump() {
    platform::Event event;
    while (Alive && platform::PollEvent(event)) {
        // Every event may change the picture: a pointer over a button lights
        // it, a key types, an uncovered window must be shown again.
        RequestRedraw();
        switch (event.Kind) {
        case platform::EventKind::CloseRequest: OnClose(); break;
        case platform::EventKind::Quit: OnQuit(); break;
        case platform::EventKind::Activate:
            // Losing the focus in full screen would leave the player in front
            // of a picture that cannot be left: go windowed. Only a loss
            // counts: in full screen the focus comes back only after a loss
            // that was the switch's own (which the platform does not report).
            if (!event.Active && app::GetDisplayMode() == 2) app::SetDisplayMode(1);
            HandleInputEvent(event);
            break;
        case platform::EventKind::Resize:
            // Not every window manager honours the minimum size: enforce it.
            if (!Minimized && app::GetDisplayMode() == 1 &&
                (event.Width < MIN_CLIENT_WIDTH || event.Height < MIN_CLIENT_HEIGHT))
                platform::SetClientSize(std::max(event.Width, MIN_CLIENT_WIDTH),
                                        std::max(event.Height, MIN_CLIENT_HEIGHT));
            RefreshWindowPosition();
            UpdateScale();
            break;
        case platform::EventKind::Minimized: Minimized = true; break;
        case platform::EventKind::Restored: Minimized = false; break;
        case platform::EventKind::Exposed: break;
        case platform::EventKind::DisplayChanged: DisplayChanged(event.Width, event.Height); break;
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
    ShowPointer();
    if (Idle)
        Idle();
    else
        DrawFrame();
    return Alive;
}

namespace {
// Without an interface (before it exists, or in tests of the frame alone)
// the start picture is drawn by itself.
void DrawStartScreen(int width, int height) {
    FillRect(SCREEN_SURFACE, 0, 0, width, height, 28, 22, 18);
    int tilesX = 0, tilesY = 0;
    GetPictureSize(PICTURE_BACKGROUND, &tilesX, &tilesY);
    DrawPicture(SCREEN_SURFACE, (width - tilesX * IMAGE_SIZE) / 2, (height - tilesY * IMAGE_SIZE) / 2,
                PICTURE_BACKGROUND);
}
}  // namespace

void ShowPointer() {
    const int kind = GetPointerKind();
    const int system = GetWindowsMousepointer() ? 1 : 0;
    if (kind == ShownPointerKind && system == ShownSystemPointer) return;
    RequestRedraw();  // the program may draw the pointer itself
    if (system != ShownSystemPointer) platform::ShowSystemPointer(system != 0);
    platform::SetPointerShape(kind);
    ShownPointerKind = kind;
    ShownSystemPointer = system;
}

void DeliverPointerPosition() {
    platform::Event move;
    move.Kind = platform::EventKind::PointerMove;
    platform::GetPointerPosition(move.X, move.Y);
    HandleInputEvent(move);
}

void ToggleDiagnostics() {
    Diagnostics = !Diagnostics;
    RequestRedraw();
}
bool DiagnosticsShown() { return Diagnostics; }

int GetScale() { return Scale; }

void UpdateScale() {
    int width = 0, height = 0;
    platform::GetClientSize(width, height);
    // The largest scale at which the interface still gets its minimum size.
    int scale = std::min(width / MIN_CLIENT_WIDTH, height / MIN_CLIENT_HEIGHT);
    if (ScaleCap() > 0) scale = std::min(scale, ScaleCap());
    // A full-screen mode's surfaces are the mode's own size and are not
    // enlarged on the way to the screen.
    if (GetViewMode() == FULLSCREEN_MODE) scale = 1;
    Scale = std::clamp(scale, 1, MAX_SCALE);
    SetInputScale(Scale);
    if (GetViewMode() == WINDOWED_MODE) SetClientSize(width / Scale, height / Scale);
}

void SetScaleOverride(int scale) {
    ScaleOverride = scale;
    UpdateScale();
}

void FirstFrame() {
    CreateSurfaces(WINDOWED_MODE, NULL);
    UpdateScale();
    RequestRedraw();
    DrawFrame();
}

void DrawFrame() {
    if (Minimized || GetViewMode() == 0) return;
    // The program's own pointer follows the pointer, which moves without
    // telling (the position is read, not sent).
    if (!GetWindowsMousepointer()) {
        int x = 0, y = 0;
        const bool inside = platform::GetPointerPosition(x, y);
        if (inside != DrawnPointerInside || (inside && (x != DrawnPointerX || y != DrawnPointerY))) RequestRedraw();
        DrawnPointerX = x;
        DrawnPointerY = y;
        DrawnPointerInside = inside;
    }
    // A picture that cannot have changed is neither drawn nor presented.
    if (!TakeRedraw(platform::Milliseconds())) return;
    int x, y, width, height;
    GetSurfaceRect(PRIMARY_SURFACE, &x, &y, &width, &height);
    if (width <= 0 || height <= 0) return;
    Component* root = GetRootComponent();
    if (root == nullptr) {
        DrawStartScreen(width, height);
    } else if (root->getWidth() != width || root->getHeight() != height) {
        // The root follows the client area (divided by the scale).
        root->setSize(width, height);
    }
    DrawFrameComposition(SCREEN_SURFACE, width, height, Diagnostics);
    if (!GetWindowsMousepointer()) DrawOwnPointer(SCREEN_SURFACE);
    PresentFrame();
}

int GetIdleWait() {
    if (Minimized) return TIMER_INTERVAL;
    const uint32_t now = platform::Milliseconds();
    const int untilTick = std::max(static_cast<int32_t>(NextTick - now), 0);
    int wait = std::min(untilTick, NETWORK_POLL_INTERVAL);
    const int untilFrame = GetRedrawWait(now);
    if (untilFrame >= 0) wait = std::min(wait, untilFrame);
    return wait;
}

void RunMessageLoop() {
    NextTick = platform::Milliseconds() + TIMER_INTERVAL;
    while (Pump()) {
        // Between frames the loop sleeps until an event comes, the timer or a
        // requested frame falls due, or the network is to be looked at again;
        // the frames themselves are paced by the frame limiter. A minimised
        // window draws nothing and only wakes for input and the timer.
        const int wait = GetIdleWait();
        if (wait > 0) platform::WaitForEvent(wait);
    }
}

}  // namespace frame
