// The hub between the frame window, the connection and the user interface:
// the three network handlers (connect, receive with the command dispatcher,
// close), leaving and entering the game, the event queue's actions, the
// 100 ms tick, the close check and the delivery of input by input mode.
//
// The windows (the main game window with its two views, the one modal dialog
// or pop-up menu) and the game protocol's texts and steps belong to modules
// above and beside this one. They reach Control through one table of hooks,
// which InitControl fills with the program's own (app/Interface and
// app/GameProtocol each add theirs) and which a test may replace as a whole.
// The game-state message handlers attach through SetGameCommandHandler.
// Every hook may be left empty.
#pragma once

#include "app/FrameInput.h"
#include "core/Status.h"

#include <cstdint>

struct ControlHooks {
    // ---- The windows (app/Interface) ----
    // Carries out an event of the types 1 to 55 other than 39 to 41 (dialogs,
    // pop-up menus, console tab actions) and owns its texts (FreeEvent).
    // Returns true when it opened the modal window. Without this hook such
    // events are counted and dropped.
    bool (*CarryOutEvent)(Event& E) = nullptr;
    // Places the modal window just opened: centred in the main window for a
    // dialog, at the pointer for a pop-up menu.
    void (*PlaceModalWindow)(bool Dialog, int PointerX, int PointerY) = nullptr;
    // The modal window (NULL when none is open), its placement, input to it
    // (the position already relative to its placement), its destruction.
    void* (*GetModalWindow)() = nullptr;
    void (*GetModalOffset)(int& X, int& Y) = nullptr;
    void (*DeliverToModal)(const frame::Input& Input) = nullptr;
    void (*DestroyModalWindow)() = nullptr;
    // The main game window.
    void (*DeliverToMain)(const frame::Input& Input) = nullptr;
    bool (*MainHoldsCapture)() = nullptr;
    void (*ReleaseMainCapture)() = nullptr;
    void (*SetMainActive)(bool Active) = nullptr;
    void (*ShowStartView)() = nullptr;
    void (*ShowGameView)() = nullptr;
    // Hover after a second without movement, and the held-button repeat; the
    // position is relative to the receiver.
    void (*Hover)(int X, int Y, bool ToModal) = nullptr;
    void (*HeldButton)(int X, int Y, bool ToModal) = nullptr;
    // Hotkeys see a key before the main game window; true when one took it.
    bool (*Hotkey)(int Code) = nullptr;
    // Help pointer mode.
    void (*HelpPointerMove)(int X, int Y) = nullptr;
    void (*CloseHelpPointer)() = nullptr;
    void (*ResetHelpPointer)() = nullptr;
    // The GUI's command timers, once per tick.
    void (*TickCommandTimers)() = nullptr;
    // Entering the game: start the hints.
    void (*StartHints)() = nullptr;
    // After commands 110, 111 (container windows) and 125 to 127 (trade).
    void (*AfterGameCommand)(int Command) = nullptr;

    // ---- The game protocol (app/GameProtocol) ----
    // Per tick: ageing of the texts on the map. Entering the game: empty the
    // two text stores.
    void (*TickTexts)() = nullptr;
    void (*ResetTexts)() = nullptr;
    // Game login: the outfit request waits for no answer any more.
    void (*ClearOutfitRequest)() = nullptr;
    // In the game, once per idle pass: report the player's predicted step.
    void (*SendPendingStep)() = nullptr;

    // ---- Application services; the defaults are the frame's drawing and the
    // application's patcher hand-over ----
    void (*DrawFrame)() = nullptr;
    void (*StartPatcher)() = nullptr;
};

// Resets the state, installs the frame's hooks (close check, timer, idle
// pass, input) and the program's ControlHooks.
void InitControl();
void ExitControl();
// Replaces the whole table (tests put stand-ins for the windows here).
void SetControlHooks(const ControlHooks& Hooks);
const ControlHooks& GetControlHooks();

// A game command's handler reads its fields from the current packet.
using GameCommandHandler = void (*)();
void SetGameCommandHandler(int Command, GameCommandHandler Handler);
// Whether the dispatcher accepts the byte in the game states.
bool IsGameCommand(int Command);

// Network handlers (given to InitNetwork).
void ControlConnectHandler();
void ControlReceiveHandler();
void ControlCloseHandler();

// Given to InitStatus: the question before a link goes to the clipboard.
void ControlLinkWarning();

// One idle pass: socket completions, then ProcessEvents.
void ControlIdle();
// Carries out queued events, reports a pending step, draws a frame.
void ProcessEvents();
// The 100 ms tick.
void ControlTimerTick();
// Whether the window may close now; in the game it asks the player instead.
bool CanClose();
// A termination signal: ends the program at once; in the game the character
// leaves as on a lost connection.
void ControlQuit();
// Input from the frame window.
void DeliverInput(const frame::Input& Input);

uint32_t GetTickCounter();
// 6 help pointer, 5 dragging, 4 target selection, else the kind last set.
int GetPointerKind();
void SetPointerKind(int Kind);
void GetLastPointerPosition(int& X, int& Y);
int GetLastCommand();
bool IsReconnectRequested();
uint32_t GetReconnectDeadline();
// Events of types handed to the interface while it has no hook installed.
int GetDroppedEventCount();

constexpr int RECONNECT_DELAY = 5000;   // milliseconds
constexpr int HOVER_TICKS = 10;
constexpr int REPEAT_DELAY_TICKS = 7;
constexpr int DRAG_DISTANCE = 3;
constexpr int CHARACTERLIST_TIMEOUT = 300;  // tenths of a second
