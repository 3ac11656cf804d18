// Whether the picture on the screen may have changed since the last frame.
// Frames are drawn only when it may have: whatever changes what is shown
// (input, a server message, a tick that ages or moves something, a resize)
// asks for the next frame, and whatever draws a picture that changes by
// itself with time (a blinking cursor, a walking creature) asks for the
// frame at the time its picture changes. Anyone may call these, so the
// modules that know what changed need not know who draws.
#pragma once

#include <cstdint>

// The next idle pass draws a frame.
void RequestRedraw();
// A frame is drawn once the clock reaches Time (platform milliseconds); the
// earliest of several such requests counts.
void RequestRedrawAt(uint32_t Time);
// Whether a frame is due at Now. Taking it clears what was due, so the frame
// that follows asks again for whatever still moves.
bool TakeRedraw(uint32_t Now);
// Whether a frame is due at Now, without taking it.
bool RedrawDue(uint32_t Now);
// Milliseconds from Now until a requested frame falls due: 0 when one is due,
// -1 when none is requested.
int GetRedrawWait(uint32_t Now);
// Forgets every request and asks for the first frame.
void ResetRedraw();
