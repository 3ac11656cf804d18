// The headless back end: no window and no display. Message boxes, opened
// documents and exec calls are recorded; input is injected by tests; the
// clipboard is a string in memory.
#include "platform/PlatformBackend.h"

#include "platform/Cursors.h"

#include <algorithm>
#include <deque>

namespace platform {

namespace {
struct HeadlessState {
    bool Window = false;
    std::string Title;
    WindowGeometry Geometry;
    int ClientWidth = 0, ClientHeight = 0;
    bool Fullscreen = false;
    WindowGeometry Windowed;  // kept while full screen
    int MinWidth = 0, MinHeight = 0;
    int ScreenWidth = 1280, ScreenHeight = 1024;
    int UsableX = 0, UsableY = 0, UsableWidth = -1, UsableHeight = -1;  // -1: the whole screen
    int PointerX = 0, PointerY = 0;
    bool PointerInside = true;
    int PointerShape = 0;
    bool SystemPointer = true;
    int IconWidth = 0, IconHeight = 0;
    bool WindowFails = false;
    std::deque<Event> Queue;
    std::vector<headless::RecordedBox> Boxes;
    std::vector<std::string> Documents;
    std::vector<std::string> ExecCalls;
    bool ExecFails = false;  // tests set it so exec is only recorded
    bool ClipboardAvailable = true;
    bool ClipboardHasData = false;
    std::string Clipboard;
    std::vector<uint32_t> Frame;
    int FrameWidth = 0, FrameHeight = 0;
    int FramesPresented = 0;
    int RefreshRate = 0;
    std::vector<DisplayMode> Modes{{1280, 1024, 32}, {1024, 768, 32}, {800, 600, 32}, {640, 480, 16}};
    int RefusedWidth = 0, RefusedHeight = 0;
    bool SwitchMovesFocus = false;
};
HeadlessState State;

class HeadlessBackend final : public BackendImpl {
  public:
    bool Start(std::string*) override { return true; }
    void Stop() override { State.Window = false; }

    bool CreateWindow(const std::string& title, int x, int y, int w, int h, bool maximized,
                      std::string* reason) override {
        if (State.WindowFails) {
            if (reason) *reason = "the display refused the window";
            return false;
        }
        State.Window = true;
        State.Title = title;
        State.ClientWidth = std::max(w, State.MinWidth);
        State.ClientHeight = std::max(h, State.MinHeight);
        if (x < 0 || y < 0) {
            x = (State.ScreenWidth - State.ClientWidth) / 2;
            y = (State.ScreenHeight - State.ClientHeight) / 2;
        }
        State.Geometry = {x, y, State.ClientWidth, State.ClientHeight, maximized};
        return true;
    }
    void DestroyWindow() override {
        State.Window = false;
        State.IconWidth = State.IconHeight = 0;
    }
    bool HasWindow() override { return State.Window; }
    void SetWindowTitle(const std::string& title) override { State.Title = title; }
    std::string GetWindowTitle() override { return State.Title; }
    WindowGeometry GetWindowGeometry() override { return State.Geometry; }
    void GetClientSize(int& w, int& h) override {
        w = State.ClientWidth;
        h = State.ClientHeight;
    }
    void SetMinimumClientSize(int w, int h) override {
        State.MinWidth = w;
        State.MinHeight = h;
    }
    void SetClientSize(int w, int h) override {
        State.ClientWidth = w;
        State.ClientHeight = h;
        State.Geometry.Width = w;
        State.Geometry.Height = h;
    }
    void GetScreenSize(int& w, int& h) override {
        w = State.ScreenWidth;
        h = State.ScreenHeight;
    }
    void GetUsableArea(int& x, int& y, int& w, int& h) override {
        x = State.UsableX;
        y = State.UsableY;
        w = State.UsableWidth < 0 ? State.ScreenWidth : State.UsableWidth;
        h = State.UsableHeight < 0 ? State.ScreenHeight : State.UsableHeight;
    }
    void SetWindowIcon() override {
        if (!State.Window) return;
        const cursors::CursorArt& art = cursors::Emblem();
        State.IconWidth = art.Width;
        State.IconHeight = art.Height;
    }
    bool SetFullscreen(bool fullscreen, int w, int h) override {
        if (State.SwitchMovesFocus) {
            Event focus;
            focus.Kind = EventKind::Activate;
            focus.Active = false;
            State.Queue.push_back(focus);
            focus.Active = true;
            State.Queue.push_back(focus);
        }
        if (fullscreen && w == State.RefusedWidth && h == State.RefusedHeight) return false;
        if (fullscreen) {
            if (!State.Fullscreen) State.Windowed = State.Geometry;
            State.Fullscreen = true;
            State.ClientWidth = w;
            State.ClientHeight = h;
            State.Geometry = {0, 0, w, h, false};
        } else if (State.Fullscreen) {
            State.Fullscreen = false;
            State.Geometry = State.Windowed;
            State.ClientWidth = State.Geometry.Width;
            State.ClientHeight = State.Geometry.Height;
        }
        return true;
    }
    bool IsFullscreen() override { return State.Fullscreen; }
    void SetWindowPlacement(int x, int y, int w, int h) override {
        if (State.Fullscreen) return;
        State.ClientWidth = w;
        State.ClientHeight = h;
        State.Geometry = {x, y, w, h, false};
    }
    // Only the flag changes: the size the window had stays its normal one.
    void MaximizeWindow() override {
        if (!State.Fullscreen) State.Geometry.Maximized = true;
    }

    void Present(const uint32_t* pixels, int width, int height, int pitch) override {
        State.Frame.resize(static_cast<size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            std::copy(pixels + static_cast<size_t>(y) * pitch, pixels + static_cast<size_t>(y) * pitch + width,
                      State.Frame.begin() + static_cast<size_t>(y) * width);
        State.FrameWidth = width;
        State.FrameHeight = height;
        ++State.FramesPresented;
    }
    std::vector<DisplayMode> ListDisplayModes() override { return State.Modes; }
    int GetRefreshRate() override { return State.RefreshRate; }

    bool PollEvent(Event& event) override {
        if (State.Queue.empty()) return false;
        event = State.Queue.front();
        State.Queue.pop_front();
        if (event.Kind == EventKind::Resize) {
            State.ClientWidth = event.Width;
            State.ClientHeight = event.Height;
            State.Geometry.Width = event.Width;
            State.Geometry.Height = event.Height;
        }
        if (event.Kind == EventKind::DisplayChanged) {
            State.ScreenWidth = event.Width;
            State.ScreenHeight = event.Height;
        }
        if (event.Kind == EventKind::PointerMove) {
            State.PointerX = event.X;
            State.PointerY = event.Y;
        }
        return true;
    }
    void DropFocusEvents() override {
        std::erase_if(State.Queue, [](const Event& e) { return e.Kind == EventKind::Activate; });
    }
    void WaitForEvent(int ms) override {
        if (State.Queue.empty()) Sleep(ms);
    }
    bool GetPointerPosition(int& x, int& y) override {
        x = State.PointerX;
        y = State.PointerY;
        return State.Window && State.PointerInside;
    }
    void CapturePointer(bool) override {}
    void SetPointerShape(int shape) override { State.PointerShape = shape; }
    void ShowSystemPointer(bool show) override { State.SystemPointer = show; }

    bool ShowMessageBox(const std::string& caption, const std::string& text, BoxIcon icon) override {
        State.Boxes.push_back({caption, text, icon});
        return false;  // nobody can see it: the caller writes it to standard error too
    }

    bool GetClipboardText(std::string& text) override {
        if (!State.ClipboardAvailable) return false;
        text = State.ClipboardHasData ? State.Clipboard : std::string();
        return true;
    }
    bool SetClipboardText(const std::string& text) override {
        if (!State.ClipboardAvailable) return false;
        State.Clipboard = text;
        State.ClipboardHasData = true;
        return true;
    }
    bool ClipboardHasText() override { return State.ClipboardAvailable && State.ClipboardHasData; }

    bool OpenDocument(const std::string& path) override {
        State.Documents.push_back(path);
        return true;
    }
    void Exec(const std::string& program, const std::vector<std::string>& arguments) override {
        std::string call = program;
        for (const auto& a : arguments) call += " " + a;
        State.ExecCalls.push_back(call);
        if (!State.ExecFails) ExecProcess(program, arguments);
    }
};
}  // namespace

std::unique_ptr<BackendImpl> MakeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

namespace headless {
void InjectEvent(const Event& event) { State.Queue.push_back(event); }
const std::vector<RecordedBox>& MessageBoxes() { return State.Boxes; }
const std::vector<std::string>& OpenedDocuments() { return State.Documents; }
const std::vector<std::string>& ExecCalls() { return State.ExecCalls; }
void SetExecFails(bool fails) { State.ExecFails = fails; }
void SetClipboardAvailable(bool available) { State.ClipboardAvailable = available; }
void SetScreenSize(int w, int h) {
    State.ScreenWidth = w;
    State.ScreenHeight = h;
}
void SetPointerPosition(int x, int y, bool inside) {
    State.PointerX = x;
    State.PointerY = y;
    State.PointerInside = inside;
}
int PointerShape() { return State.PointerShape; }
bool SystemPointerShown() { return State.SystemPointer; }
void GetWindowIcon(int& width, int& height) {
    width = State.IconWidth;
    height = State.IconHeight;
}
void SetUsableArea(int x, int y, int width, int height) {
    State.UsableX = x;
    State.UsableY = y;
    State.UsableWidth = width;
    State.UsableHeight = height;
}
void SetWindowFails(bool fails) { State.WindowFails = fails; }
const std::vector<uint32_t>& LastFrame(int& width, int& height) {
    width = State.FrameWidth;
    height = State.FrameHeight;
    return State.Frame;
}
void SetDisplayModes(const std::vector<DisplayMode>& modes) { State.Modes = modes; }
void SetRefusedMode(int width, int height) {
    State.RefusedWidth = width;
    State.RefusedHeight = height;
}
void SetSwitchMovesFocus(bool moves) { State.SwitchMovesFocus = moves; }
void SetRefreshRate(int hertz) { State.RefreshRate = hertz; }
int PresentedFrames() { return State.FramesPresented; }
void Reset() { State = HeadlessState{}; }
}  // namespace headless

}  // namespace platform
