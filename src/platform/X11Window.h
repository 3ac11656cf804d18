// What the X server itself says about the SDL window: SDL's own record of
// the window's place and size follows what SDL asked for, not what the
// window manager (or the lack of one) made of it. Kept apart from the SDL
// back end because Xlib's header defines names (None, Status, Bool) that
// clash with the platform's own.
#pragma once

struct SDL_Window;

namespace platform::x11 {

bool IsX11Window(SDL_Window* window);

// The window's client area in screen coordinates, as the server has it after
// all requests so far; false when the window is not an X11 one.
bool ServerGeometry(SDL_Window* window, int& x, int& y, int& width, int& height);

// Whether a window manager runs that grants full-screen requests (one that
// announces itself by the desktop standard's check window).
bool FullscreenManagerRuns(SDL_Window* window);

}  // namespace platform::x11
