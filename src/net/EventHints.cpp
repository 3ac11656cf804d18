#include "net/EventHints.h"

#include "config/Preferences.h"
#include "core/Assert.h"

#include <deque>

namespace {

// Lives until the program ends; only ResetPendingHints empties it.
std::deque<int> Pending;

}  // namespace

void triggerEventHint(int Number) {
    ASSERT(In(Number,1,EVENTHELPS));
    if (!In(Number, 1, EVENTHELPS)) return;
    if (IsKnownHint(Number)) return;
    AddKnownHint(Number);
    Pending.push_back(Number);
}

void triggerByPosition(int, int, int z) {
    if (z >= 8) triggerEventHint(HINT_UNDERGROUND);
}

int peekPendingHint() { return Pending.empty() ? 0 : Pending.front(); }

int popPendingHint() {
    if (Pending.empty()) return 0;
    int n = Pending.front();
    Pending.pop_front();
    return n;
}

int GetNumberOfPendingHints() { return int(Pending.size()); }

void ResetPendingHints() { Pending.clear(); }
