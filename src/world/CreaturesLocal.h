// Shared between the creature module's files only.
#pragma once

// The status line hook, when one is installed.
void CreatureStatusMessage(const char* Text);
// The timer tick counter, 0 without a hook.
int CreatureTick();
