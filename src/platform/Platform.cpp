// Back-end selection, the clock, the termination signals (with the processes
// of message boxes they must end) and the calls that forward to the active
// back end.
#include "platform/PlatformBackend.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {
std::unique_ptr<BackendImpl> Active;
Backend ActiveKind = Backend::Headless;
std::function<uint32_t()> ClockOverride;
const auto ClockStart = std::chrono::steady_clock::now();
volatile std::sig_atomic_t QuitSignalled = 0;

// A library may run part of its work in a process of its own and wait for
// it: SDL shows a message box under X11 in a forked child (after trying the
// zenity program in another) and waits for that child without end. The
// parent and such a child share this page: the child notes its process id
// there, the signal handler ends it through that id, and whichever of the
// two comes second sees the other's mark, so a signal during the fork is not
// lost.
struct ChildWatch {
    std::atomic<int> Waiting{0};  // a back end waits for a forked child now
    std::atomic<int> Child{0};    // the latest such child's process id once it runs
    std::atomic<int> Quit{0};     // a termination signal came and was not yet taken
    pid_t Owner = 0;              // the process that made the page
};
ChildWatch* Watch = nullptr;
pid_t Forking = 0;  // the process that forks, as the child's copy remembers it

extern "C" void BeforeFork() { Forking = getpid(); }

extern "C" void OnForkedChild() {
    ChildWatch* W = Watch;
    // Each fork during the wait is watched in turn (SDL tries an outside
    // dialog program first and falls back to its own box); the children's
    // own children are not ours to watch.
    if (W == nullptr || W->Owner != Forking || !W->Waiting) return;
    // The child dies with its parent, however the parent ends; a parent
    // already gone cannot be waited for at all.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != W->Owner) _exit(1);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    W->Child = int(getpid());
    if (W->Quit) _exit(1);
}

// Made once per process (a forked copy of the program makes its own).
ChildWatch* EnsureWatch() {
    static bool Registered = false;
    if (Watch != nullptr && Watch->Owner == getpid()) return Watch;
    void* page = mmap(nullptr, sizeof(ChildWatch), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) return nullptr;
    auto* W = new (page) ChildWatch;
    W->Owner = getpid();
    Watch = W;
    if (!Registered) Registered = pthread_atfork(BeforeFork, nullptr, OnForkedChild) == 0;
    return Watch;
}

extern "C" void OnQuitSignal(int) {
    QuitSignalled = 1;
    ChildWatch* W = Watch;
    if (W == nullptr || W->Owner != getpid()) return;
    W->Quit = 1;
    const int child = W->Child;
    if (W->Waiting && child > 0) kill(child, SIGKILL);
}

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

void InstallQuitSignals() {
    EnsureWatch();
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    // No restart: a wait in progress returns at once, so the loop sees the signal.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool TakeQuitSignal() {
    if (!QuitSignalled) return false;
    QuitSignalled = 0;
    if (Watch != nullptr && Watch->Owner == getpid()) Watch->Quit = 0;
    return true;
}

ForkedChildWait::ForkedChildWait() {
    ChildWatch* W = EnsureWatch();
    if (W == nullptr) return;
    W->Child = 0;
    W->Waiting = 1;
}

ForkedChildWait::~ForkedChildWait() {
    ChildWatch* W = Watch;
    if (W == nullptr || W->Owner != getpid()) return;
    W->Waiting = 0;
    W->Child = 0;
}

bool CreateWindow(const std::string& title, int x, int y, int w, int h, bool maximized, std::string* reason) {
    return Impl().CreateWindow(title, x, y, w, h, maximized, reason);
}
void DestroyWindow() { Impl().DestroyWindow(); }
bool HasWindow() { return Impl().HasWindow(); }
void SetWindowTitle(const std::string& title) { Impl().SetWindowTitle(title); }
std::string GetWindowTitle() { return Impl().GetWindowTitle(); }
WindowGeometry GetWindowGeometry() {
    WindowGeometry g = Impl().GetWindowGeometry();
    if (session::Active()) {
        int v[5] = {g.X, g.Y, g.Width, g.Height, g.Maximized ? 1 : 0};
        session::Query(recording::Query::WindowGeometry, v, 5);
        g = {v[0], v[1], v[2], v[3], v[4] != 0};
    }
    return g;
}
void GetClientSize(int& w, int& h) {
    Impl().GetClientSize(w, h);
    if (session::Active()) {
        int v[2] = {w, h};
        session::Query(recording::Query::ClientSize, v, 2);
        // A replay's window takes the recorded size, so that its frames are
        // shown as they were.
        if (session::Replaying() && (v[0] != w || v[1] != h) && v[0] > 0 && v[1] > 0)
            Impl().SetClientSize(v[0], v[1]);
        w = v[0];
        h = v[1];
    }
}
void SetMinimumClientSize(int w, int h) { Impl().SetMinimumClientSize(w, h); }
void SetClientSize(int w, int h) { Impl().SetClientSize(w, h); }
void GetScreenSize(int& w, int& h) {
    Impl().GetScreenSize(w, h);
    if (session::Active()) {
        int v[2] = {w, h};
        session::Query(recording::Query::ScreenSize, v, 2);
        w = v[0];
        h = v[1];
    }
}
void GetUsableArea(int& x, int& y, int& w, int& h) {
    Impl().GetUsableArea(x, y, w, h);
    if (session::Active()) {
        int v[4] = {x, y, w, h};
        session::Query(recording::Query::UsableArea, v, 4);
        x = v[0], y = v[1], w = v[2], h = v[3];
    }
}
void SetWindowIcon() { Impl().SetWindowIcon(); }
bool SetFullscreen(bool fullscreen, int w, int h) {
    const bool done = Impl().SetFullscreen(fullscreen, w, h);
    // A window manager may take the focus away and give it back while it
    // re-frames the window: that is the switch's doing, not the player's,
    // and must not count as leaving the program.
    Impl().DropFocusEvents();
    return done;
}
bool IsFullscreen() { return Impl().IsFullscreen(); }
void SetWindowPlacement(int x, int y, int w, int h) { Impl().SetWindowPlacement(x, y, w, h); }
void MaximizeWindow() { Impl().MaximizeWindow(); }

void Present(const uint32_t* pixels, int width, int height, int pitch) {
    if (session::Active()) session::Frame(pixels, width, height, pitch);
    Impl().Present(pixels, width, height, pitch);
}
std::vector<DisplayMode> ListDisplayModes() {
    std::vector<DisplayMode> modes = Impl().ListDisplayModes();
    if (!session::Active()) return modes;
    // The count, then width, height and depth of each, as far as they fit.
    constexpr int MOST = 31;
    int v[1 + 3 * MOST] = {};
    v[0] = std::min(int(modes.size()), MOST);
    for (int i = 0; i < v[0]; ++i) {
        v[1 + 3 * i] = modes[size_t(i)].Width;
        v[2 + 3 * i] = modes[size_t(i)].Height;
        v[3 + 3 * i] = modes[size_t(i)].Depth;
    }
    session::Query(recording::Query::DisplayModes, v, 1 + 3 * MOST);
    modes.clear();
    for (int i = 0; i < std::clamp(v[0], 0, MOST); ++i) modes.push_back({v[1 + 3 * i], v[2 + 3 * i], v[3 + 3 * i]});
    return modes;
}
int GetRefreshRate() {
    int rate = Impl().GetRefreshRate();
    if (session::Active()) session::Query(recording::Query::RefreshRate, &rate, 1);
    return rate;
}

namespace {
bool PollLive(Event& event) {
    if (TakeQuitSignal()) {
        event = Event{};
        event.Kind = EventKind::Quit;
        return true;
    }
    return Impl().PollEvent(event);
}
}  // namespace

bool PollEvent(Event& event) {
    if (!session::Active()) return PollLive(event);
    if (session::Replaying()) {
        // The window's own events are not the game's: only closing it (or a
        // termination signal) counts, and it ends the replay.
        Event live;
        while (PollLive(live))
            if (live.Kind == EventKind::CloseRequest || live.Kind == EventKind::Quit) session::ViewerClose();
        return session::PollEvent(event, false);
    }
    return session::PollEvent(event, PollLive(event));
}
void WaitForEvent(int ms) {
    if (QuitSignalled || session::Replaying()) return;
    Impl().WaitForEvent(ms);
}
bool GetPointerPosition(int& x, int& y) {
    bool inside = Impl().GetPointerPosition(x, y);
    if (session::Active()) {
        int v[3] = {inside ? 1 : 0, x, y};
        session::Query(recording::Query::Pointer, v, 3);
        inside = v[0] != 0, x = v[1], y = v[2];
    }
    return inside;
}
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

bool GetClipboardText(std::string& text) {
    bool opened = Impl().GetClipboardText(text);
    if (!session::Active()) return opened;
    // Whether it opened travels as the first character.
    std::string packed = (opened ? "1" : "0") + text;
    session::QueryText(packed);
    opened = !packed.empty() && packed[0] == '1';
    text = packed.empty() ? std::string() : packed.substr(1);
    return opened;
}
bool SetClipboardText(const std::string& text) { return Impl().SetClipboardText(text); }
bool ClipboardHasText() {
    int has = Impl().ClipboardHasText() ? 1 : 0;
    if (session::Active()) session::Query(recording::Query::ClipboardHasText, &has, 1);
    return has != 0;
}

uint32_t Milliseconds() {
    uint32_t now;
    if (ClockOverride) {
        now = ClockOverride();
    } else {
        auto elapsed = std::chrono::steady_clock::now() - ClockStart;
        now = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    }
    return session::Active() ? session::Clock(now) : now;
}
void Sleep(int ms) {
    // A replay keeps its own pace (the recorded clock's).
    if (ms > 0 && !session::Replaying()) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
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
