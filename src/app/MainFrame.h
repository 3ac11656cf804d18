// The one frame window: created after the modules are up, it carries the
// message loop; its destruction ends the loop and releases the modules.
#pragma once

#include <cstdint>

namespace frame {

inline constexpr int MIN_CLIENT_WIDTH = 550;
inline constexpr int MIN_CLIENT_HEIGHT = 450;
inline constexpr int DEFAULT_CLIENT_WIDTH = 600;
inline constexpr int DEFAULT_CLIENT_HEIGHT = 450;

// Creates the frame window, placed from the stored geometry (or centred), and
// shows it. Returns false when no window can be made.
bool Create();
bool Exists();
// Stores the window's geometry and destroys it; the message loop ends.
void Destroy();
// A close request (close box, Alt+F4, SIGINT, SIGTERM): closes unless the close check refuses.
void OnClose();
// Runs the message loop with its idle passes until the window is destroyed.
void RunMessageLoop();
// Handles every pending platform event, runs the 100 ms timer when it is due
// and one idle pass. Returns false once the window is gone.
bool Pump();

// Draws one frame of the whole window.
void DrawFrame();

// Hooks of the connection control: the close check (true allows closing),
// the 100 ms timer tick, and the idle pass (which ends by drawing a frame;
// without it the frame draws one itself).
void SetCloseCheck(bool (*check)());
void SetTimerHandler(void (*tick)());
void SetIdleHandler(void (*idle)());
inline constexpr int TIMER_INTERVAL = 100;

}  // namespace frame
