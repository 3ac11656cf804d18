// The platform layer: everything the client needs from the operating system,
// behind plain functions. Two back ends implement it: SDL2 (a real window) and
// a headless one for tests and servers without a display. Nothing outside
// src/platform/ includes SDL; the client sees only the records declared here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// ---- Events --------------------------------------------------------------

enum class EventKind {
    None,
    CloseRequest,  // window close box, Alt+F4 from the window manager: the close check decides
    KeyDown,       // Key is a platform-neutral key (see Key), Extended for the cursor block
    KeyUp,
    Text,          // Character holds one character of the Western European code page
    PointerMove,
    ButtonDown,    // Button 1 left, 2 right
    ButtonUp,
    DoubleClick,   // left button
    Wheel,         // Delta in units of 120 per notch, positive away from the user
    Resize,        // Width, Height: new client size
    Activate,      // Active: application gained (1) or lost (0) the input focus
    CaptureLost,
    Minimized,
    Restored,
    Exposed,       // part of the window was uncovered: its picture must be shown again
    DisplayChanged,  // the screen's resolution changed: Width, Height of the new screen
    // SIGINT or SIGTERM: the program ends without asking. Last, so that the
    // kinds in recordings keep their numbers.
    Quit,
};

// Platform-neutral key identities for the keys the client translates itself.
enum class Key {
    Unknown,
    Character,  // a key that produces text; the Text event carries the character
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
    Up, Left, Right, Down, Insert, Delete,
    Home, End, PageUp, PageDown,
    Return, Escape, Backspace, Tab,
    Shift, Control, Alt,
    KeypadCenter,
};

struct Event {
    EventKind Kind = EventKind::None;
    Key KeyCode = Key::Unknown;
    bool Extended = false;    // cursor block (true) or numeric pad (false) for Home..PageDown
    int Character = 0;        // 1..255 for Text and for KeyDown of character keys (if known)
    int X = 0, Y = 0;         // pointer position relative to the client area
    int Button = 0;           // 1 left, 2 right
    int Delta = 0;            // wheel
    int Width = 0, Height = 0;
    bool Active = false;
    bool ShiftHeld = false, ControlHeld = false, AltHeld = false;
};

// ---- Back end selection --------------------------------------------------

enum class Backend { SDL, Headless };

// Chooses and starts a back end. Returns false (with a reason) if it cannot start.
// The headless back end always starts.
bool Init(Backend backend, std::string* reason = nullptr);
void Shutdown();
bool IsInitialized();
Backend CurrentBackend();
// The back end a program should use: VORNA_PLATFORM=headless selects the headless one.
Backend DefaultBackend();

// SIGINT and SIGTERM become a Quit event instead of killing the process, so
// that the program ends in order and writes what it keeps. A signal that
// arrives while a message box waits ends the box at once (its process with
// it), so that the program goes on to its end; a box's process never
// outlives the program, however that ends.
void InstallQuitSignals();

// ---- Window --------------------------------------------------------------

struct WindowGeometry {
    // Position of the outer frame and size of the client area, in normal state.
    int X = -1, Y = -1, Width = 0, Height = 0;
    bool Maximized = false;
};

// Creates the one frame window with the given client size, centred when the
// position is negative. Returns false (with a reason) when no window can be made.
bool CreateWindow(const std::string& title, int x, int y, int clientWidth, int clientHeight, bool maximized,
                  std::string* reason = nullptr);
void DestroyWindow();
bool HasWindow();
void SetWindowTitle(const std::string& title);
std::string GetWindowTitle();
WindowGeometry GetWindowGeometry();
void GetClientSize(int& width, int& height);
void SetMinimumClientSize(int width, int height);
void SetClientSize(int width, int height);
void GetScreenSize(int& width, int& height);
// The part of the screen that windows may cover: the screen less its panels
// and task bars, where the system tells them.
void GetUsableArea(int& x, int& y, int& width, int& height);
// Gives the window the program's emblem as its icon.
void SetWindowIcon();
// Full screen in a mode of the given size on the display the window is on;
// leaving it gives the window back its size and place from before. Waits
// until the window really covers the display in that mode (or a short time
// has passed) and returns whether it does: false when the platform refused
// the mode. Focus changes that the switch itself brings about are not
// reported as Activate events.
bool SetFullscreen(bool fullscreen, int width, int height);
// Whether the window is in full screen now (after a switch that succeeded).
bool IsFullscreen();
// Moves and sizes the window in its normal state: the frame's top-left
// corner at x, y and a client area of width x height.
void SetWindowPlacement(int x, int y, int clientWidth, int clientHeight);
// Maximises the window (its normal geometry is kept for un-maximising).
void MaximizeWindow();

// ---- Presenting frames ---------------------------------------------------

// Pixels are 32-bit 0x00RRGGBB, rows `pitch` pixels apart. The frame is shown
// scaled to fill the client area when its size differs.
void Present(const uint32_t* pixels, int width, int height, int pitch);

// How many pictures a second the display under the window shows; 0 when it
// is not known (no display, as in the headless back end).
int GetRefreshRate();

struct DisplayMode {
    int Width, Height, Depth;
};
// The full-screen modes the display under the window offers (the first
// display before there is a window), largest first, without repeats.
std::vector<DisplayMode> ListDisplayModes();

// Writes 32-bit 0x00RRGGBB pixels as an RGB PNG file. Returns false on failure.
bool WritePNG(const std::string& path, const uint32_t* pixels, int width, int height, int pitch);

// ---- Event pump ----------------------------------------------------------

// Takes the next pending event; false when there is none.
bool PollEvent(Event& event);
// Waits at most the given time for an event to arrive (not taking it).
void WaitForEvent(int milliseconds);
// Reads the current pointer position relative to the client area; returns
// whether the pointer is over the window.
bool GetPointerPosition(int& x, int& y);
void CapturePointer(bool capture);
// Pointer shape: 0 none, 1 arrow, 2 vertical resize, 3 wait, 4 and 5 the
// target pointer, 6 the help pointer (the last two are the program's own).
void SetPointerShape(int shape);
// Whether the system shows its pointer over the window; hidden, the program
// draws the pointer into its frames itself (from GetPointerImage).
void ShowSystemPointer(bool show);

// The program's own picture of each pointer shape 1..6 (anything else gives
// the arrow): one character per pixel, row by row; PointerImageColour gives
// a character's colour as 0xAARRGGBB (alpha 0: transparent). The hot spot is
// the pixel that lies at the pointer position.
struct PointerImage {
    int Width, Height, HotX, HotY;
    const char* const* Rows;
};
const PointerImage& GetPointerImage(int shape);
uint32_t PointerImageColour(char c);

// ---- Message boxes -------------------------------------------------------

enum class BoxIcon { Warning, Stop, Information, Question };

// Shows a modal box with one OK button, centred on the window when there is
// one. When no display can show it, or there is no window yet, the text goes
// to standard error as well, so a failure is never silent.
void ShowMessageBox(const std::string& caption, const std::string& text, BoxIcon icon);

// ---- Clipboard -----------------------------------------------------------

// Reads the clipboard's text. Returns false when the clipboard cannot be opened;
// an empty text when it holds no text.
bool GetClipboardText(std::string& text);
bool SetClipboardText(const std::string& text);
bool ClipboardHasText();

// ---- Time ----------------------------------------------------------------

// Milliseconds since the platform started. Tests may replace the clock.
uint32_t Milliseconds();
void Sleep(int milliseconds);
void SetClockOverride(std::function<uint32_t()> clock);  // empty function restores the real one

// ---- Shell and process services ------------------------------------------

// Opens a document or web address with the desktop's default handler.
bool OpenDocument(const std::string& path);
// Replaces the running process; returns only on failure.
void Exec(const std::string& program, const std::vector<std::string>& arguments);

// ---- Headless back end controls (tests) ----------------------------------

namespace headless {
struct RecordedBox {
    std::string Caption, Text;
    BoxIcon Icon;
};
void InjectEvent(const Event& event);
const std::vector<RecordedBox>& MessageBoxes();
const std::vector<std::string>& OpenedDocuments();
const std::vector<std::string>& ExecCalls();  // program and arguments joined by blanks
void SetExecFails(bool fails);
void SetClipboardAvailable(bool available);
void SetScreenSize(int width, int height);
void SetPointerPosition(int x, int y, bool inside = true);
int PointerShape();  // the last shape set, 0 before any
bool SystemPointerShown();
// Width and height of the icon image the window was given; 0, 0 for none.
void GetWindowIcon(int& width, int& height);
void SetUsableArea(int x, int y, int width, int height);
void SetWindowFails(bool fails);  // CreateWindow then fails with a reason
// The last presented frame (empty before the first).
const std::vector<uint32_t>& LastFrame(int& width, int& height);
void SetDisplayModes(const std::vector<DisplayMode>& modes);
// Full screen in this mode is refused, as a display that cannot take it does.
void SetRefusedMode(int width, int height);
// Each switch to or from full screen moves the focus away and back, as some
// window managers do when they re-frame the window.
void SetSwitchMovesFocus(bool moves);
void SetRefreshRate(int hertz);  // 0 (the default): not known
// Frames presented since the last Reset.
int PresentedFrames();
void Reset();
}  // namespace headless

}  // namespace platform
