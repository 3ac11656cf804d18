// The one-time tutorial hints raised by game events: each hint is queued the
// first time its event happens and never again on this installation, since
// the shown flags live in the preferences (KnownHints). The interface takes
// the queued numbers first in first out and shows them.
#pragma once

constexpr int EVENTHELPS = 14;
constexpr int HINT_UNDERGROUND = 6;

// Queues hint n (1..EVENTHELPS) unless it has been raised before.
void triggerEventHint(int Number);
// Hints tied to the player's place: going below the surface raises hint 6.
void triggerByPosition(int x, int y, int z);
// The first queued hint, 0 when none; pop also removes it.
int peekPendingHint();
int popPendingHint();
int GetNumberOfPendingHints();
// Empties the queue (the shown flags stay).
void ResetPendingHints();
