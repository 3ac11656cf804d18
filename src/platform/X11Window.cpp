#include "platform/X11Window.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <type_traits>

namespace platform::x11 {

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {
// SDL loads Xlib itself; its functions are taken from there, so the program
// does not link Xlib and runs where SDL uses another video driver.
struct Xlib {
    int (*Sync)(Display*, Bool) = nullptr;
    Status (*GetWindowAttributes)(Display*, Window, XWindowAttributes*) = nullptr;
    Bool (*TranslateCoordinates)(Display*, Window, Window, int, int, int*, int*, Window*) = nullptr;
    Atom (*InternAtom)(Display*, const char*, Bool) = nullptr;
    int (*GetWindowProperty)(Display*, Window, Atom, long, long, Bool, Atom, Atom*, int*, unsigned long*,
                             unsigned long*, unsigned char**) = nullptr;
    int (*Free)(void*) = nullptr;
    bool Loaded = false;
};

const Xlib* Functions() {
    static Xlib X;
    static bool Tried = false;
    if (Tried) return X.Loaded ? &X : nullptr;
    Tried = true;
    void* library = SDL_LoadObject("libX11.so.6");
    if (library == nullptr) return nullptr;
    auto take = [&](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(SDL_LoadFunction(library, name));
        return function != nullptr;
    };
    X.Loaded = take(X.Sync, "XSync") && take(X.GetWindowAttributes, "XGetWindowAttributes") &&
               take(X.TranslateCoordinates, "XTranslateCoordinates") && take(X.InternAtom, "XInternAtom") &&
               take(X.GetWindowProperty, "XGetWindowProperty") && take(X.Free, "XFree");
    return X.Loaded ? &X : nullptr;
}

bool Handles(SDL_Window* window, Display*& display, Window& handle) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    display = info.info.x11.display;
    handle = info.info.x11.window;
    return display != nullptr && Functions() != nullptr;
}
}  // namespace

bool IsX11Window(SDL_Window* window) {
    Display* display = nullptr;
    Window handle = 0;
    return Handles(window, display, handle);
}

bool ServerGeometry(SDL_Window* window, int& x, int& y, int& width, int& height) {
    Display* display = nullptr;
    Window handle = 0;
    if (!Handles(window, display, handle)) return false;
    const Xlib& X = *Functions();
    X.Sync(display, False);
    XWindowAttributes attributes;
    if (!X.GetWindowAttributes(display, handle, &attributes)) return false;
    Window child = 0;
    if (!X.TranslateCoordinates(display, handle, attributes.root, 0, 0, &x, &y, &child)) return false;
    width = attributes.width;
    height = attributes.height;
    return true;
}

bool FullscreenManagerRuns(SDL_Window* window) {
    Display* display = nullptr;
    Window handle = 0;
    if (!Handles(window, display, handle)) return false;
    const Xlib& X = *Functions();
    XWindowAttributes attributes;
    if (!X.GetWindowAttributes(display, handle, &attributes)) return false;
    const Atom check = X.InternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found = X.GetWindowProperty(display, attributes.root, check, 0, 1, False, XA_WINDOW, &type, &format,
                                           &count, &after, &data) == Success &&
                       type == XA_WINDOW && count == 1;
    if (data != nullptr) X.Free(data);
    return found;
}
#else
bool IsX11Window(SDL_Window*) { return false; }
bool ServerGeometry(SDL_Window*, int&, int&, int&, int&) { return false; }
bool FullscreenManagerRuns(SDL_Window*) { return false; }
#endif

}  // namespace platform::x11
