// The one frame window: created after the modules are up, it carries the
// message loop; its destruction ends the loop and releases the modules.
#pragma once

#include <cstdint>
#include <string>

namespace frame {

inline constexpr int MIN_CLIENT_WIDTH = 550;
inline constexpr int MIN_CLIENT_HEIGHT = 450;
inline constexpr int DEFAULT_CLIENT_WIDTH = 600;
inline constexpr int DEFAULT_CLIENT_HEIGHT = 450;
// Room left for the window's frame (borders and caption) around the client
// area when the first window is fitted to the screen, whose frame sizes are
// not known before it exists.
inline constexpr int FRAME_ALLOWANCE_WIDTH = 16;
inline constexpr int FRAME_ALLOWANCE_HEIGHT = 48;

// Creates the frame window and shows it. It takes the stored geometry when
// that lies on the screen; otherwise the default client area at the largest
// scale (up to MAX_SCALE) whose window fits the screen's usable area, centred
// there. Returns false (with the platform's reason) when no window can be made.
bool Create(std::string* reason = nullptr);
bool Exists();
// Stores the window's geometry and destroys it; the message loop ends.
void Destroy();
// The window's place and size in the preferences (a maximised window keeps
// the size it had before), and the window put back there.
void StorePlacement();
void RestorePlacement();
// The screen's resolution changed: a window that no longer fits is centred
// anew (only when windowed).
void DisplayChanged(int ScreenWidth, int ScreenHeight);
// A close request (close box, Alt+F4): closes unless the close check refuses.
void OnClose();
// A termination signal: the quit handler ends the program without asking
// (without one, the window is destroyed at once).
void OnQuit();
// Runs the message loop with its idle passes until the window is destroyed.
void RunMessageLoop();
// Handles every pending platform event, runs the 100 ms timer when it is due
// and one idle pass. Returns false once the window is gone.
bool Pump();

// Makes the drawing surfaces for the new window and draws the first frame;
// throws PROGRAM_ERROR when the display cannot be used.
void FirstFrame();
// Draws and presents one frame of the whole window, with the program's own
// pointer when the system pointer is not wanted; nothing while minimised, and
// nothing while no change of the picture was asked for (core/Redraw.h).
void DrawFrame();
// Shows the pointer of the current pointer kind, and shows or hides the
// system pointer by the WindowsMousepointer preference, when either changed
// since the last time; every idle pass calls it.
void ShowPointer();
// Reads the pointer's position and delivers it once as a pointer move (after
// the first frame, so the interface knows where the pointer rests).
void DeliverPointerPosition();

// The diagnostics lines (frame rate, blits, pixels), toggled by Alt+F8.
void ToggleDiagnostics();
bool DiagnosticsShown();

// Whole-window integer scale: the interface is laid out at the client size
// divided by the scale and shown enlarged, so it stays readable on large
// screens. The scale is the largest whole number at which the logical client
// area is still at least the minimum 550 x 450, at most MAX_SCALE; an override
// (VORNA_SCALE=1..3 in the environment, or SetScaleOverride; 0 returns to the
// automatic choice) and the player's interface size (preferences) cap it.
// Full screen is drawn at 1.
inline constexpr int MAX_SCALE = 3;
int GetScale();
void UpdateScale();
void SetScaleOverride(int scale);

// Hooks of the connection control: the close check (true allows closing),
// the end on a termination signal, the 100 ms timer tick, and the idle pass
// (which ends by drawing a frame; without it the frame draws one itself).
void SetCloseCheck(bool (*check)());
void SetQuitHandler(void (*quit)());
void SetTimerHandler(void (*tick)());
void SetIdleHandler(void (*idle)());
inline constexpr int TIMER_INTERVAL = 100;
// Between frames the loop looks at the network at least this often, so that
// a server message is handled (and shown) without waiting for the timer.
inline constexpr int NETWORK_POLL_INTERVAL = 5;
// How long the message loop may sleep before its next pass (milliseconds).
int GetIdleWait();
// The next tick falls due at once (after the clock was replaced or restored).
void RestartTimer();

}  // namespace frame
