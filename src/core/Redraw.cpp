#include "core/Redraw.h"

namespace {
// Kept for the whole run: a frame requested now, and the earliest time at
// which a frame was requested (valid while TimedRequest is set).
bool Requested = true;
bool TimedRequest = false;
uint32_t DueTime = 0;

bool Reached(uint32_t Now, uint32_t Time) { return static_cast<int32_t>(Now - Time) >= 0; }
}  // namespace

void RequestRedraw() { Requested = true; }

void RequestRedrawAt(uint32_t Time) {
    if (!TimedRequest || static_cast<int32_t>(Time - DueTime) < 0) DueTime = Time;
    TimedRequest = true;
}

bool RedrawDue(uint32_t Now) { return Requested || (TimedRequest && Reached(Now, DueTime)); }

bool TakeRedraw(uint32_t Now) {
    if (!RedrawDue(Now)) return false;
    Requested = false;
    // A timed request that has not come yet stays; the one that came is
    // renewed by the frame that draws the changed picture, if it still moves.
    if (TimedRequest && Reached(Now, DueTime)) TimedRequest = false;
    return true;
}

int GetRedrawWait(uint32_t Now) {
    if (Requested) return 0;
    if (!TimedRequest) return -1;
    if (Reached(Now, DueTime)) return 0;
    return static_cast<int>(DueTime - Now);
}

void ResetRedraw() {
    Requested = true;
    TimedRequest = false;
    DueTime = 0;
}
