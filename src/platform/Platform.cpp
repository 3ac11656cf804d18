// Back-end selection, the clock, the close signals and the calls that forward
// to the active back end.
#include "platform/PlatformBackend.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {
std::unique_ptr<BackendImpl> Active;
Backend ActiveKind = Backend::Headless;
std::function<uint32_t()> ClockOverride;
const auto ClockStart = std::chrono::steady_clock::now();
volatile std::sig_atomic_t CloseSignalled = 0;

extern "C" void OnCloseSignal(int) { CloseSignalled = 1; }

void WriteBox(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s\n%s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
}

// Calls made before Init (or after Shutdown) still need somewhere to go, for
// instance an error box during a failed start-up: they use a headless back end.
BackendImpl& Impl() {
    if (!Active) {
        Active = MakeHeadlessBackend();
        Active->Start(nullptr);
        ActiveKind = Backend::Headless;
    }
    return *Active;
}
}  // namespace

bool Init(Backend backend, std::string* reason) {
    if (Active) Active->Stop();
    Active = backend == Backend::SDL ? MakeSDLBackend() : MakeHeadlessBackend();
    ActiveKind = backend;
    if (!Active->Start(reason)) {
        Active.reset();
        return false;
    }
    return true;
}

void Shutdown() {
    if (Active) Active->Stop();
    Active.reset();
}

bool IsInitialized() { return Active != nullptr; }
Backend CurrentBackend() { return ActiveKind; }

Backend DefaultBackend() {
    const char* choice = std::getenv("VORNA_PLATFORM");
    if (choice && std::strcmp(choice, "headless") == 0) return Backend::Headless;
    return Backend::SDL;
}

void InstallCloseSignals() {
    struct sigaction action {};
    action.sa_handler = OnCloseSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool TakeCloseSignal() {
    if (!CloseSignalled) return false;
    CloseSignalled = 0;
    return true;
}

bool CreateWindow(const std::string& title, int x, int y, int w, int h, bool maximized, std::string* reason) {
    return Impl().CreateWindow(title, x, y, w, h, maximized, reason);
}
void DestroyWindow() { Impl().DestroyWindow(); }
bool HasWindow() { return Impl().HasWindow(); }
void SetWindowTitle(const std::string& title) { Impl().SetWindowTitle(title); }
std::string GetWindowTitle() { return Impl().GetWindowTitle(); }
WindowGeometry GetWindowGeometry() { return Impl().GetWindowGeometry(); }
void GetClientSize(int& w, int& h) { Impl().GetClientSize(w, h); }
void SetMinimumClientSize(int w, int h) { Impl().SetMinimumClientSize(w, h); }
void SetClientSize(int w, int h) { Impl().SetClientSize(w, h); }
void GetScreenSize(int& w, int& h) { Impl().GetScreenSize(w, h); }
void GetUsableArea(int& x, int& y, int& w, int& h) { Impl().GetUsableArea(x, y, w, h); }
void SetWindowIcon() { Impl().SetWindowIcon(); }
void SetFullscreen(bool fullscreen, int w, int h) { Impl().SetFullscreen(fullscreen, w, h); }
void SetWindowPlacement(int x, int y, int w, int h) { Impl().SetWindowPlacement(x, y, w, h); }

void Present(const uint32_t* pixels, int width, int height, int pitch) {
    Impl().Present(pixels, width, height, pitch);
}
std::vector<DisplayMode> ListDisplayModes() { return Impl().ListDisplayModes(); }
int GetRefreshRate() { return Impl().GetRefreshRate(); }

bool PollEvent(Event& event) {
    if (TakeCloseSignal()) {
        event = Event{};
        event.Kind = EventKind::CloseRequest;
        return true;
    }
    return Impl().PollEvent(event);
}
void WaitForEvent(int ms) {
    if (CloseSignalled) return;
    Impl().WaitForEvent(ms);
}
bool GetPointerPosition(int& x, int& y) { return Impl().GetPointerPosition(x, y); }
void CapturePointer(bool capture) { Impl().CapturePointer(capture); }
void SetPointerShape(int shape) { Impl().SetPointerShape(shape); }
void ShowSystemPointer(bool show) { Impl().ShowSystemPointer(show); }

void ShowMessageBox(const std::string& caption, const std::string& text, BoxIcon icon) {
    // Without a window the box may well be the only sign of a failed start,
    // and it is gone once dismissed: the text goes to standard error too, at
    // once, while the box waits.
    const bool windowless = !Impl().HasWindow();
    if (windowless) WriteBox(caption, text);
    if (!Impl().ShowMessageBox(caption, text, icon) && !windowless) WriteBox(caption, text);
}

bool GetClipboardText(std::string& text) { return Impl().GetClipboardText(text); }
bool SetClipboardText(const std::string& text) { return Impl().SetClipboardText(text); }
bool ClipboardHasText() { return Impl().ClipboardHasText(); }

uint32_t Milliseconds() {
    if (ClockOverride) return ClockOverride();
    auto elapsed = std::chrono::steady_clock::now() - ClockStart;
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}
void Sleep(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
void SetClockOverride(std::function<uint32_t()> clock) { ClockOverride = std::move(clock); }

bool OpenDocument(const std::string& path) { return Impl().OpenDocument(path); }
void Exec(const std::string& program, const std::vector<std::string>& arguments) {
    Impl().Exec(program, arguments);
}

void ExecProcess(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::fflush(nullptr);
    execv(program.c_str(), argv.data());
}

}  // namespace platform
