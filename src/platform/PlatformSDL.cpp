// The SDL2 back end: the one real window, its input, message boxes and the
// clipboard. SDL's own records never leave this file.
#include "platform/PlatformBackend.h"

#include "platform/Cursors.h"
#include "platform/X11Window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <sys/wait.h>

namespace platform {

namespace {

constexpr int DEFAULT_REFRESH_RATE = 60;
// How long a switch to full screen may take before it counts as refused: a
// window manager answers within milliseconds, a loaded machine may take a
// second or two.
constexpr int FULLSCREEN_SETTLE_MS = 3000;

// SDL picks one of these when no display can be opened; nothing it draws is
// ever seen.
bool Invisible(const char* driver) {
    return driver == nullptr || SDL_strcmp(driver, "dummy") == 0 || SDL_strcmp(driver, "offscreen") == 0;
}

std::string NoDisplay(const std::string& detail) {
    const char* display = std::getenv("DISPLAY");
    const std::string where =
        display && *display ? std::string("DISPLAY=") + display : std::string("DISPLAY is not set");
    return "cannot open a display (" + where + "): " + detail +
           ". Start Vorna from a desktop session, log in with ssh -X, run it under xvfb-run, "
           "or set VORNA_PLATFORM=headless to run it without a window";
}

Key TranslateKey(SDL_Keycode key, bool& extended) {
    extended = true;
    switch (key) {
    case SDLK_F1: return Key::F1;
    case SDLK_F2: return Key::F2;
    case SDLK_F3: return Key::F3;
    case SDLK_F4: return Key::F4;
    case SDLK_F5: return Key::F5;
    case SDLK_F6: return Key::F6;
    case SDLK_F7: return Key::F7;
    case SDLK_F8: return Key::F8;
    case SDLK_F9: return Key::F9;
    case SDLK_F10: return Key::F10;
    case SDLK_F11: return Key::F11;
    case SDLK_F12: return Key::F12;
    case SDLK_UP: return Key::Up;
    case SDLK_LEFT: return Key::Left;
    case SDLK_RIGHT: return Key::Right;
    case SDLK_DOWN: return Key::Down;
    case SDLK_INSERT: return Key::Insert;
    case SDLK_DELETE: return Key::Delete;
    case SDLK_HOME: return Key::Home;
    case SDLK_END: return Key::End;
    case SDLK_PAGEUP: return Key::PageUp;
    case SDLK_PAGEDOWN: return Key::PageDown;
    case SDLK_RETURN: return Key::Return;
    case SDLK_ESCAPE: return Key::Escape;
    case SDLK_BACKSPACE: return Key::Backspace;
    case SDLK_TAB: return Key::Tab;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return Key::Shift;
    case SDLK_LCTRL: case SDLK_RCTRL: return Key::Control;
    case SDLK_LALT: case SDLK_RALT: return Key::Alt;
    default: break;
    }
    // The numeric pad's block keys, as the numeric pad sends them with Num Lock
    // off; with Num Lock on its digits arrive as text.
    extended = false;
    bool numLock = (SDL_GetModState() & KMOD_NUM) != 0;
    if (numLock && ((key >= SDLK_KP_1 && key <= SDLK_KP_0) || key == SDLK_KP_PERIOD)) return Key::Character;
    switch (key) {
    case SDLK_KP_7: return Key::Home;
    case SDLK_KP_1: return Key::End;
    case SDLK_KP_9: return Key::PageUp;
    case SDLK_KP_3: return Key::PageDown;
    case SDLK_KP_8: return Key::Up;
    case SDLK_KP_4: return Key::Left;
    case SDLK_KP_6: return Key::Right;
    case SDLK_KP_2: return Key::Down;
    case SDLK_KP_5: return Key::KeypadCenter;
    case SDLK_KP_0: return Key::Insert;
    case SDLK_KP_PERIOD: return Key::Delete;
    case SDLK_KP_ENTER: return Key::Return;
    default: break;
    }
    extended = false;
    if (key >= 32 && key < 256) return Key::Character;
    return Key::Unknown;
}

// Converts UTF-8 text input to characters of the Western European code page;
// characters outside it are dropped.
void Utf8ToLatin1(const char* text, std::vector<int>& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        unsigned c = *p++;
        if (c < 0x80) {
            out.push_back(static_cast<int>(c));
        } else if ((c & 0xE0) == 0xC0 && *p) {
            unsigned code = ((c & 0x1F) << 6) | (*p++ & 0x3F);
            if (code < 256) out.push_back(static_cast<int>(code));
        } else {
            while ((*p & 0xC0) == 0x80) ++p;  // longer sequences lie outside the code page
        }
    }
}

std::string Latin1ToUtf8(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Utf8ToLatin1String(const char* text) {
    std::vector<int> chars;
    Utf8ToLatin1(text, chars);
    std::string out;
    for (int c : chars) out += static_cast<char>(c);
    return out;
}

class SDLBackend final : public BackendImpl {
  public:
    bool Start(std::string* reason) override {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // the platform turns signals into Quit events itself
        SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
        // The window surface is the display's own picture (shared memory
        // under X11), not a texture SDL would copy it through: where the
        // renderer runs in software that copy is most of a frame's cost.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // The close box is one close request (SDL would add a second, its
        // quit event, for the last window), and losing the focus in full
        // screen is the program's to handle (it goes windowed), not SDL's
        // (which would minimise the window).
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
            if (reason) *reason = NoDisplay(SDL_GetError());
            return false;
        }
        // Without a display SDL quietly draws into memory, and the program
        // would run on unseen for ever. Only a driver asked for by name may
        // be one of those.
        const char* asked = std::getenv("SDL_VIDEODRIVER");
        if ((asked == nullptr || *asked == 0) && Invisible(SDL_GetCurrentVideoDriver())) {
            if (reason)
                *reason = NoDisplay(std::getenv("DISPLAY") ? "no display server answers there" : "none is named");
            SDL_Quit();
            return false;
        }
        SDL_StartTextInput();
        const char* present = std::getenv("VORNA_PRESENT");
        UseTexture = present && std::strcmp(present, "texture") == 0;
        return true;
    }
    void Stop() override {
        DestroyWindow();
        for (auto* c : Cursors)
            if (c) SDL_FreeCursor(c);
        Cursors.clear();
        SDL_Quit();
    }

    bool CreateWindow(const std::string& title, int x, int y, int w, int h, bool maximized,
                      std::string* reason) override {
        if (Window) return true;
        Uint32 flags = SDL_WINDOW_RESIZABLE | (maximized ? SDL_WINDOW_MAXIMIZED : 0);
        int px = x < 0 ? SDL_WINDOWPOS_CENTERED : x;
        int py = y < 0 ? SDL_WINDOWPOS_CENTERED : y;
        Window = SDL_CreateWindow(title.c_str(), px, py, w, h, flags);
        Full = FullKind::None;
        if (!Window) {
            if (reason) *reason = SDL_GetError();
            return false;
        }
        if (MinWidth > 0) SDL_SetWindowMinimumSize(Window, MinWidth, MinHeight);
        return true;
    }
    void DestroyWindow() override {
        if (Texture) SDL_DestroyTexture(Texture);
        if (Renderer) SDL_DestroyRenderer(Renderer);
        Texture = nullptr;
        Renderer = nullptr;
        if (Window) SDL_DestroyWindow(Window);
        Window = nullptr;
    }
    bool HasWindow() override { return Window != nullptr; }
    void SetWindowTitle(const std::string& title) override {
        if (Window) SDL_SetWindowTitle(Window, title.c_str());
    }
    std::string GetWindowTitle() override { return Window ? SDL_GetWindowTitle(Window) : ""; }
    WindowGeometry GetWindowGeometry() override {
        WindowGeometry g;
        if (!Window) return g;
        // The position is the outer frame's, as the window manager places it
        // when the window is created there again; the size is the client's.
        SDL_GetWindowPosition(Window, &g.X, &g.Y);
        int top = 0, left = 0, bottom = 0, right = 0;
        if (SDL_GetWindowBordersSize(Window, &top, &left, &bottom, &right) == 0) {
            g.X -= left;
            g.Y -= top;
        }
        SDL_GetWindowSize(Window, &g.Width, &g.Height);
        g.Maximized = (SDL_GetWindowFlags(Window) & SDL_WINDOW_MAXIMIZED) != 0;
        return g;
    }
    void GetClientSize(int& w, int& h) override {
        w = h = 0;
        if (Window) SDL_GetWindowSize(Window, &w, &h);
    }
    void SetMinimumClientSize(int w, int h) override {
        MinWidth = w;
        MinHeight = h;
        if (Window) SDL_SetWindowMinimumSize(Window, w, h);
    }
    void SetClientSize(int w, int h) override {
        if (Window) SDL_SetWindowSize(Window, w, h);
    }
    void GetScreenSize(int& w, int& h) override {
        SDL_DisplayMode mode;
        int display = Window ? SDL_GetWindowDisplayIndex(Window) : 0;
        if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) == 0) {
            w = mode.w;
            h = mode.h;
        } else {
            w = 1024;
            h = 768;
        }
    }
    void GetUsableArea(int& x, int& y, int& w, int& h) override {
        int display = Window ? SDL_GetWindowDisplayIndex(Window) : 0;
        SDL_Rect area;
        if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &area) == 0 && area.w > 0 && area.h > 0) {
            x = area.x;
            y = area.y;
            w = area.w;
            h = area.h;
        } else {
            x = y = 0;
            GetScreenSize(w, h);
        }
    }
    void SetWindowIcon() override {
        if (!Window) return;
        // Doubled, so desktops that show large icons do not blur the pixel art.
        const cursors::CursorArt& art = cursors::Emblem();
        SDL_Surface* image = MakeImage(art, 2);
        if (!image) return;
        SDL_SetWindowIcon(Window, image);
        SDL_FreeSurface(image);
    }
    // Full screen in the desktop's own size needs no change of the display:
    // where a window manager grants full-screen requests it is asked, and
    // elsewhere the window loses its frame and covers the display, on top of
    // everything. Another size changes the display's mode, and only to a
    // mode the display offers. Either way the switch counts only once the
    // window really covers the display in that size.
    bool SetFullscreen(bool fullscreen, int w, int h) override {
        if (!Window) return false;
        LeaveFullscreen();
        if (!fullscreen) return true;
        const int display = std::max(SDL_GetWindowDisplayIndex(Window), 0);
        SDL_DisplayMode desktop{};
        SDL_Rect bounds{0, 0, 0, 0};
        if (SDL_GetDesktopDisplayMode(display, &desktop) != 0 || SDL_GetDisplayBounds(display, &bounds) != 0)
            return false;
        if (desktop.w == w && desktop.h == h) {
            if (!x11::IsX11Window(Window) || x11::FullscreenManagerRuns(Window)) {
                if (SDL_SetWindowFullscreen(Window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) {
                    Full = FullKind::Desktop;
                    if (Settle(bounds)) return true;
                }
            } else {
                Full = FullKind::Covering;
                SDL_SetWindowResizable(Window, SDL_FALSE);
                SDL_SetWindowBordered(Window, SDL_FALSE);
                SDL_SetWindowAlwaysOnTop(Window, SDL_TRUE);
                SDL_SetWindowPosition(Window, bounds.x, bounds.y);
                SDL_SetWindowSize(Window, w, h);
                if (Settle(bounds)) return true;
            }
            LeaveFullscreen();
            return false;
        }
        SDL_DisplayMode mode{};
        bool offered = false;
        for (int i = 0; i < SDL_GetNumDisplayModes(display) && !offered; ++i)
            offered = SDL_GetDisplayMode(display, i, &mode) == 0 && mode.w == w && mode.h == h;
        if (!offered || SDL_SetWindowDisplayMode(Window, &mode) != 0) return false;
        Full = FullKind::ModeChange;
        if (SDL_SetWindowFullscreen(Window, SDL_WINDOW_FULLSCREEN) == 0 && Settle({bounds.x, bounds.y, w, h}))
            return true;
        LeaveFullscreen();
        return false;
    }
    bool IsFullscreen() override { return Window && Full != FullKind::None; }
    void MaximizeWindow() override {
        if (Window && Full == FullKind::None) SDL_MaximizeWindow(Window);
    }
    void SetWindowPlacement(int x, int y, int w, int h) override {
        if (!Window || Full != FullKind::None) return;
        SDL_RestoreWindow(Window);
        SDL_SetWindowSize(Window, w, h);
        // The position given is the frame's corner; SDL places the client area.
        int top = 0, left = 0;
        SDL_GetWindowBordersSize(Window, &top, &left, nullptr, nullptr);
        SDL_SetWindowPosition(Window, x + left, y + top);
    }

    // Two ways to the screen: the window surface (the default), into which
    // the frame is enlarged by whole pixels and which X11 shows from shared
    // memory, and a streaming texture through SDL's renderer
    // (VORNA_PRESENT=texture). Under Xvfb, where the renderer is OpenGL in
    // software, the window surface took a fifth of the texture's processor
    // time for a frame of the game view at scale 2, and a third of its
    // memory (bench/idle-load).
    void Present(const uint32_t* pixels, int width, int height, int pitch) override {
        if (!Window) return;
        if (UseTexture)
            PresentTexture(pixels, width, height, pitch);
        else
            PresentSurface(pixels, width, height, pitch);
    }

    void PresentSurface(const uint32_t* pixels, int width, int height, int pitch) {
        SDL_Surface* target = SDL_GetWindowSurface(Window);
        if (!target) return;
        const int scale = width > 0 && height > 0 ? target->w / width : 0;
        if (scale >= 1 && target->w == width * scale && target->h == height * scale &&
            target->format->format == SDL_PIXELFORMAT_RGB888) {
            // The whole-window scale is a whole number: each pixel becomes a
            // square, written straight into the window's picture (SDL's
            // general scaled blit costs several times as much).
            SDL_LockSurface(target);
            auto* out = static_cast<uint8_t*>(target->pixels);
            for (int y = 0; y < height; ++y) {
                const uint32_t* from = pixels + static_cast<size_t>(y) * pitch;
                auto* first = reinterpret_cast<uint32_t*>(out + static_cast<size_t>(y) * scale * target->pitch);
                if (scale == 1) {
                    std::memcpy(first, from, static_cast<size_t>(width) * 4);
                    continue;
                }
                for (int x = 0; x < width; ++x)
                    for (int k = 0; k < scale; ++k) first[x * scale + k] = from[x];
                for (int k = 1; k < scale; ++k)
                    std::memcpy(out + (static_cast<size_t>(y) * scale + k) * target->pitch, first,
                                static_cast<size_t>(target->w) * 4);
            }
            SDL_UnlockSurface(target);
        } else {
            SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), width, height, 32,
                                                                     pitch * 4, SDL_PIXELFORMAT_RGB888);
            if (!source) return;
            if (target->w == width && target->h == height)
                SDL_BlitSurface(source, nullptr, target, nullptr);
            else
                SDL_BlitScaled(source, nullptr, target, nullptr);
            SDL_FreeSurface(source);
        }
        SDL_UpdateWindowSurface(Window);
    }

    void PresentTexture(const uint32_t* pixels, int width, int height, int pitch) {
        if (!Renderer) {
            Renderer = SDL_CreateRenderer(Window, -1, 0);
            if (!Renderer) return;
        }
        if (!Texture || TextureWidth != width || TextureHeight != height) {
            if (Texture) SDL_DestroyTexture(Texture);
            Texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
            TextureWidth = width;
            TextureHeight = height;
            if (!Texture) return;
        }
        SDL_UpdateTexture(Texture, nullptr, pixels, pitch * 4);
        SDL_RenderClear(Renderer);
        SDL_RenderCopy(Renderer, Texture, nullptr, nullptr);
        SDL_RenderPresent(Renderer);
    }
    // The rate of the display the window stands on, as the system reports it;
    // 60, the common rate, when it reports none (as virtual displays do).
    int GetRefreshRate() override {
        SDL_DisplayMode mode;
        const int display = Window ? SDL_GetWindowDisplayIndex(Window) : 0;
        if (Window && SDL_GetWindowDisplayMode(Window, &mode) == 0 && mode.refresh_rate > 0) return mode.refresh_rate;
        if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0)
            return mode.refresh_rate;
        return DEFAULT_REFRESH_RATE;
    }
    std::vector<DisplayMode> ListDisplayModes() override {
        std::vector<DisplayMode> modes;
        const int display = Window ? std::max(SDL_GetWindowDisplayIndex(Window), 0) : 0;
        const int count = SDL_GetNumDisplayModes(display);
        for (int i = 0; i < count; ++i) {
            SDL_DisplayMode m;
            if (SDL_GetDisplayMode(display, i, &m) != 0) continue;
            DisplayMode mode{m.w, m.h, static_cast<int>(SDL_BITSPERPIXEL(m.format))};
            bool seen = false;
            for (const auto& d : modes) seen |= d.Width == mode.Width && d.Height == mode.Height && d.Depth == mode.Depth;
            if (!seen) modes.push_back(mode);
        }
        return modes;
    }

    bool PollEvent(Event& event) override {
        if (!Pending.empty()) {
            event = Pending.front();
            Pending.erase(Pending.begin());
            return true;
        }
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (Translate(e, event)) return true;
            if (!Pending.empty()) return PollEvent(event);
        }
        return false;
    }
    void DropFocusEvents() override {
        SDL_Event e;
        Event event;
        while (SDL_PollEvent(&e))
            if (!IsFocusEvent(e) && Translate(e, event)) Pending.push_back(event);
        std::erase_if(Pending, [](const Event& p) { return p.Kind == EventKind::Activate; });
    }
    void WaitForEvent(int ms) override {
        if (!Pending.empty()) return;
        SDL_WaitEventTimeout(nullptr, ms);
    }
    bool GetPointerPosition(int& x, int& y) override {
        SDL_GetMouseState(&x, &y);
        return Window != nullptr && SDL_GetMouseFocus() == Window;
    }
    void CapturePointer(bool capture) override { SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE); }
    void SetPointerShape(int shape) override {
        if (Cursors.empty()) {
            Cursors.push_back(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW));
            Cursors.push_back(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENS));
            Cursors.push_back(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT));
            Cursors.push_back(MakeCursor(cursors::Target(), SDL_SYSTEM_CURSOR_CROSSHAIR));
            Cursors.push_back(MakeCursor(cursors::Help(), SDL_SYSTEM_CURSOR_HAND));
        }
        if (shape <= 0) {
            SDL_ShowCursor(SDL_DISABLE);
            return;
        }
        size_t index = static_cast<size_t>(shape <= 3 ? shape - 1 : (shape <= 5 ? 3 : 4));
        if (Cursors[index]) SDL_SetCursor(Cursors[index]);
        SDL_ShowCursor(SystemPointer ? SDL_ENABLE : SDL_DISABLE);
    }
    void ShowSystemPointer(bool show) override {
        SystemPointer = show;
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    }

    bool ShowMessageBox(const std::string& caption, const std::string& text, BoxIcon icon) override {
        Uint32 flags = icon == BoxIcon::Stop      ? SDL_MESSAGEBOX_ERROR
                       : icon == BoxIcon::Warning ? SDL_MESSAGEBOX_WARNING
                                                  : SDL_MESSAGEBOX_INFORMATION;
        const char* driver = SDL_GetCurrentVideoDriver();
        if (Invisible(driver)) return false;
        const std::string utf8Caption = Latin1ToUtf8(caption), utf8Text = Latin1ToUtf8(text);
        // Under X11 SDL shows the box from a forked process and waits for it.
        const ForkedChildWait wait;
        if (Window && SDL_strcmp(driver, "x11") == 0) {
            SDL_Window* placer = MakeBoxPlacer(text);
            int shown = SDL_ShowSimpleMessageBox(flags, utf8Caption.c_str(), utf8Text.c_str(), placer);
            if (placer) SDL_DestroyWindow(placer);
            return shown == 0;
        }
        return SDL_ShowSimpleMessageBox(flags, utf8Caption.c_str(), utf8Text.c_str(), Window) == 0;
    }

    bool GetClipboardText(std::string& text) override {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
        text.clear();
        if (!SDL_HasClipboardText()) return true;
        char* raw = SDL_GetClipboardText();
        if (!raw) return false;
        text = Utf8ToLatin1String(raw);
        SDL_free(raw);
        return true;
    }
    bool SetClipboardText(const std::string& text) override {
        return SDL_SetClipboardText(Latin1ToUtf8(text).c_str()) == 0;
    }
    bool ClipboardHasText() override { return SDL_HasClipboardText() == SDL_TRUE; }

    bool OpenDocument(const std::string& path) override { return SDL_OpenURL(path.c_str()) == 0; }
    void Exec(const std::string& program, const std::vector<std::string>& arguments) override {
        ExecProcess(program, arguments);
    }

  private:
    enum class FullKind { None, Desktop, Covering, ModeChange };

    void LeaveFullscreen() {
        if (Full == FullKind::Covering) {
            SDL_SetWindowAlwaysOnTop(Window, SDL_FALSE);
            SDL_SetWindowBordered(Window, SDL_TRUE);
            SDL_SetWindowResizable(Window, SDL_TRUE);
        } else if (Full != FullKind::None) {
            SDL_SetWindowFullscreen(Window, 0);
        }
        Full = FullKind::None;
    }

    // Waits until the window's client area is the target rectangle, as the
    // display server has it (SDL's own record claims the size it asked for
    // at once); events that arrive meanwhile wait in their queue.
    bool Settle(const SDL_Rect& target) {
        const Uint32 start = SDL_GetTicks();
        for (;;) {
            SDL_PumpEvents();
            int x = 0, y = 0, w = 0, h = 0;
            if (!x11::ServerGeometry(Window, x, y, w, h)) {
                SDL_GetWindowPosition(Window, &x, &y);
                SDL_GetWindowSize(Window, &w, &h);
            }
            if (x == target.x && y == target.y && w == target.w && h == target.h) return true;
            if (SDL_GetTicks() - start > Uint32(FULLSCREEN_SETTLE_MS)) return false;
            SDL_Delay(10);
        }
    }

    bool IsFocusEvent(const SDL_Event& e) const {
        return e.type == SDL_WINDOWEVENT && Window && e.window.windowID == SDL_GetWindowID(Window) &&
               (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED || e.window.event == SDL_WINDOWEVENT_FOCUS_LOST);
    }

    // SDL's X11 box puts itself at the parent's position plus half the width
    // and a third of the height left over, and then adds the position once
    // more (it converts coordinates that were already the screen's), so over
    // a window away from the screen's corner it lands near the window's
    // lower right corner. A hidden parent at the screen's origin has no
    // position to add twice: sized so that SDL's own rule puts the box's
    // middle on the window's middle, it places the box right. The box's
    // height is estimated from its lines (15 pixels each, 85 for the rest),
    // which is what SDL's box takes with the usual fonts; an error of a few
    // pixels does not show.
    SDL_Window* MakeBoxPlacer(const std::string& text) {
        int x = 0, y = 0, w = 0, h = 0;
        SDL_GetWindowPosition(Window, &x, &y);
        SDL_GetWindowSize(Window, &w, &h);
        const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
        const int boxHeight = 85 + 15 * lines;
        // (W - box width) / 2 = x + (w - box width) / 2  and
        // (H - box height) / 3 = y + (h - box height) / 2
        const int placerWidth = 2 * x + w;
        const int placerHeight = 3 * y + (3 * h - boxHeight) / 2;
        if (x < 0 || y < 0 || placerHeight <= boxHeight) return nullptr;
        return SDL_CreateWindow("", 0, 0, placerWidth, placerHeight, SDL_WINDOW_HIDDEN);
    }

    // One of the program's own pointers; the system's similar one if the
    // image cannot be made.
    static SDL_Cursor* MakeCursor(const cursors::CursorArt& art, SDL_SystemCursor fallback) {
        SDL_Surface* image = MakeImage(art, 1);
        SDL_Cursor* cursor = nullptr;
        if (image) {
            cursor = SDL_CreateColorCursor(image, art.HotX, art.HotY);
            SDL_FreeSurface(image);
        }
        return cursor ? cursor : SDL_CreateSystemCursor(fallback);
    }

    // A picture of the art with its transparency, each art pixel a scale x
    // scale block; the caller frees it.
    static SDL_Surface* MakeImage(const cursors::CursorArt& art, int scale) {
        SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, art.Width * scale, art.Height * scale, 32,
                                                            SDL_PIXELFORMAT_ARGB8888);
        if (!image) return nullptr;
        if (image->pitch != image->w * 4) {
            SDL_FreeSurface(image);
            return nullptr;
        }
        cursors::RenderArt(art, scale, static_cast<uint32_t*>(image->pixels));
        return image;
    }

    void Modifiers(Event& event) {
        SDL_Keymod mod = SDL_GetModState();
        event.ShiftHeld = (mod & KMOD_SHIFT) != 0;
        event.ControlHeld = (mod & KMOD_CTRL) != 0;
        event.AltHeld = (mod & KMOD_ALT) != 0;
    }

    bool Translate(const SDL_Event& e, Event& event) {
        event = Event{};
        switch (e.type) {
        case SDL_QUIT:
            event.Kind = EventKind::CloseRequest;
            return true;
        case SDL_DISPLAYEVENT: {
            event.Kind = EventKind::DisplayChanged;
            GetScreenSize(event.Width, event.Height);
            return true;
        }
        case SDL_WINDOWEVENT:
            // Only our window's; the hidden one that places a message box has none to tell.
            if (!Window || e.window.windowID != SDL_GetWindowID(Window)) return false;
            switch (e.window.event) {
            case SDL_WINDOWEVENT_CLOSE: event.Kind = EventKind::CloseRequest; return true;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                event.Kind = EventKind::Resize;
                event.Width = e.window.data1;
                event.Height = e.window.data2;
                return true;
            case SDL_WINDOWEVENT_FOCUS_GAINED: event.Kind = EventKind::Activate; event.Active = true; return true;
            case SDL_WINDOWEVENT_FOCUS_LOST: event.Kind = EventKind::Activate; event.Active = false; return true;
            // A hidden window (unmapped: minimised, or on another desktop
            // under some window managers) shows nothing, like a minimised one.
            case SDL_WINDOWEVENT_MINIMIZED:
            case SDL_WINDOWEVENT_HIDDEN: event.Kind = EventKind::Minimized; return true;
            case SDL_WINDOWEVENT_RESTORED:
            case SDL_WINDOWEVENT_SHOWN: event.Kind = EventKind::Restored; return true;
            case SDL_WINDOWEVENT_EXPOSED: event.Kind = EventKind::Exposed; return true;
            default: return false;
            }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            event.Kind = e.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
            event.KeyCode = TranslateKey(e.key.keysym.sym, event.Extended);
            if (event.KeyCode == Key::Character) event.Character = static_cast<int>(e.key.keysym.sym);
            Modifiers(event);
            return event.KeyCode != Key::Unknown;
        }
        case SDL_TEXTINPUT: {
            std::vector<int> chars;
            Utf8ToLatin1(e.text.text, chars);
            for (int c : chars) {
                Event t{};
                t.Kind = EventKind::Text;
                t.Character = c;
                Modifiers(t);
                Pending.push_back(t);
            }
            return false;
        }
        case SDL_MOUSEMOTION:
            event.Kind = EventKind::PointerMove;
            event.X = e.motion.x;
            event.Y = e.motion.y;
            Modifiers(event);
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) return false;
            event.Button = e.button.button == SDL_BUTTON_LEFT ? 1 : 2;
            event.Kind = e.type == SDL_MOUSEBUTTONUP                        ? EventKind::ButtonUp
                         : (e.button.clicks >= 2 && event.Button == 1) ? EventKind::DoubleClick
                                                                            : EventKind::ButtonDown;
            event.X = e.button.x;
            event.Y = e.button.y;
            Modifiers(event);
            return true;
        case SDL_MOUSEWHEEL:
            event.Kind = EventKind::Wheel;
            event.Delta = e.wheel.y * 120;
            SDL_GetMouseState(&event.X, &event.Y);
            Modifiers(event);
            return event.Delta != 0;
        default:
            return false;
        }
    }

    SDL_Window* Window = nullptr;
    FullKind Full = FullKind::None;  // how the window is full screen, if it is
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Texture = nullptr;
    int TextureWidth = 0, TextureHeight = 0;
    bool UseTexture = false;
    int MinWidth = 0, MinHeight = 0;
    bool SystemPointer = true;
    std::vector<SDL_Cursor*> Cursors;
    std::vector<Event> Pending;
};
}  // namespace

std::unique_ptr<BackendImpl> MakeSDLBackend() { return std::make_unique<SDLBackend>(); }

}  // namespace platform
