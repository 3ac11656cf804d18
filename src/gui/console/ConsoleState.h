// Inside the console module only: its state, shared by the files of this
// folder, and the small helpers they all use.
#pragma once

#include "gui/console/Console.h"

#include <ctime>
#include <memory>
#include <vector>

struct ConsoleState {
    // Lives as long as the console.
    bool Initialised = false;
    std::unique_ptr<TextBuffer> History;
    // Lives while the player is in the game.
    std::vector<ConsoleTab> Tabs;
    int Selected = 0;
    int DefaultMode = 0;
    int OwnChannel = -1;  // the player's own private channel, -1 while none is open
    uint32_t EnteredAt = 0;
    uint32_t IgnoreLitUntil = 0;
    bool IgnoreLit = false;
    bool Changed = true;

    ConsoleTab& selectedTab() { return Tabs[size_t(Selected)]; }
};

// The console's state; the first use starts the module (InitConsole), so
// that it serves from the first call on, whichever that is.
ConsoleState& TheConsole();

// The tab showing a buffer, -1 when none does.
int TabOf(const TextBuffer* Buffer);
// The first tab of a channel kind after the default one, -1 when none is open.
int TabOfKind(int Kind);
std::time_t Now();
// The player's own name, "" while his creature is unknown.
const char* PlayerName();
