// Sections:
//   1. State, grouped by lifetime
//   2. Hook helpers
//   3. The dispatcher and entering the game
//   4. Leaving the game and the events
//   5. Set-up
//   6. Network handlers
//   7. Idle pass, timer, close check, quit
//   8. Input delivery, one function per kind of input
//   9. Queries
#include "app/Control.h"

#include "app/Application.h"
#include "app/GameProtocol.h"
#include "app/Interface.h"
#include "app/MainFrame.h"
#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/DataFolders.h"
#include "core/ProgramError.h"
#include "core/Redraw.h"
#include "graphics/graphics.h"
#include "gui/framework/GUI.h"
#include "net/Communication.h"
#include "net/Network.h"
#include "platform/Platform.h"
#include "world/Creatures.h"
#include "world/Inventory.h"
#include "world/Map.h"
#include "world/Objects.h"

#include <cstdlib>

namespace {

// ==== 1. State, grouped by lifetime ===========================================================

// Attached at start-up and kept until ExitControl: the hooks and the game
// command handlers.
struct Attachments {
    ControlHooks Hooks;
    GameCommandHandler GameHandlers[256] = {};
};
Attachments Attached;
ControlHooks& Hooks = Attached.Hooks;

// Kept for the whole run (InitControl starts them afresh): the tick counter,
// the pointer bookkeeping and the diagnostics of the dispatcher. The first
// unrecognised command ends the program, so its flag is never cleared.
struct RunState {
    uint32_t TickCounter = 0;
    int PointerKind = 1;
    int PointerX = 0, PointerY = 0;
    int PressX = 0, PressY = 0;
    int64_t HoverTick = -1;  // tick of the last pointer move, -1 when none
    int HoldKind = 0;        // the kind of the last press, for auto-repeat
    uint32_t HoldTick = 0;
    int LastCommand = -1;
    bool UnrecognisedCommand = false;
    int DroppedEvents = 0;
};
RunState Run;

// One connection: the request to log in again once it has closed, which the
// close handler takes.
struct ConnectionRecord {
    bool ReconnectRequested = false;
    uint32_t ReconnectDeadline = 0;
};
ConnectionRecord Connection;

constexpr int HOLD_REPEATING = 6;

// ==== 2. Hook helpers ===========================================================================

void* GetModal() { return Hooks.GetModalWindow ? Hooks.GetModalWindow() : NULL; }
bool HasModal() { return GetModal() != NULL; }
bool MainCaptured() { return Hooks.MainHoldsCapture && Hooks.MainHoldsCapture(); }
void ReleaseMainCapture() {
    if (Hooks.ReleaseMainCapture) Hooks.ReleaseMainCapture();
}
void SetMainActive(bool Active) {
    if (Hooks.SetMainActive) Hooks.SetMainActive(Active);
}
void DestroyModal() {
    if (Hooks.DestroyModalWindow) Hooks.DestroyModalWindow();
}
void Draw() {
    if (Hooks.DrawFrame)
        Hooks.DrawFrame();
    else
        frame::DrawFrame();
}
void ModalOffset(int& X, int& Y) {
    X = Y = 0;
    if (Hooks.GetModalOffset) Hooks.GetModalOffset(X, Y);
}
void ToMain(const frame::Input& Input) {
    if (Hooks.DeliverToMain) Hooks.DeliverToMain(Input);
}
void ToModal(frame::Input Input) {
    void* ModalWindow = GetModal();
    ASSERT(ModalWindow!=NULL);
    if (!ModalWindow) return;
    int x, y;
    ModalOffset(x, y);
    Input.X -= x;
    Input.Y -= y;
    if (Hooks.DeliverToModal) Hooks.DeliverToModal(Input);
}
// After input to the modal window: it has ended when the mode says so.
void EndModalIf(bool Ended) {
    if (!Ended) return;
    DestroyModal();
    SetMainActive(true);
}
// Hover and held-button events go to the modal window, relative to it, or
// else to the main game window.
void AtPointer(void (*Hook)(int X, int Y, bool ToModal)) {
    if (!Hook) return;
    if (HasModal()) {
        int x, y;
        ModalOffset(x, y);
        Hook(Run.PointerX - x, Run.PointerY - y, true);
    } else {
        Hook(Run.PointerX, Run.PointerY, false);
    }
}

// ==== 3. The dispatcher and entering the game ===================================================

bool GameCommandListed(int c) {
    return c == 10 || c == 11 || In(c, 20, 22) || c == 30 || In(c, 100, 114) || c == 120 || c == 121 ||
           In(c, 125, 127) || In(c, 130, 134) || In(c, 140, 145) || c == 150 || c == 151 || In(c, 160, 163) ||
           In(c, 170, 181) || c == 190 || c == 191 || c == 200 || In(c, 210, 212);
}

// The login data of the enter-game message when no game module reads them.
void DefaultEnterGame() {
    ClearRights();
    SetPlayerID(GetQuad());
    SetServerBeat(GetWord());
    SetRight(40, GetByte());
}

void DefaultRights() {
    for (int i = 0; i < 32; ++i) SetRight(i, GetByte());
}

void DefaultPing() {
    BeginPacket(30);
    SendPacket();
}

void SendFightModes() {
    BeginPacket(160);
    AddByte(uint8_t(GetAttackMode()));
    AddByte(uint8_t(GetChaseMode()));
    AddByte(uint8_t(GetSecureMode()));
    SendPacket();
}

void EnterGame() {
    SetConnectionState(STATE_GAME);
    if (Hooks.ShowGameView) Hooks.ShowGameView();
    if (!HasModal()) {
        SetInputMode(INPUT_IDLE);
        SetMainActive(true);
    }
    ClearMap();
    ResetInventory();
    ResetCreatures();
    ResetAmbientLight();
    if (Hooks.ResetTexts) Hooks.ResetTexts();
    if (Attached.GameHandlers[10])
        Attached.GameHandlers[10]();
    else
        DefaultEnterGame();
    if (Hooks.StartHints) Hooks.StartHints();
    SendFightModes();
}

void Unrecognised(int Command) {
    Run.UnrecognisedCommand = true;
    ASSERT_PARAM(false, Command);
}

// Returns false when the run has to end.
bool DispatchLogin(int Command) {
    switch (Command) {
    case 10: CLoginError(); break;
    case 11: CLoginInformation(); break;
    case 20: CMessageOfTheDay(); break;
    case 30:
    case 31:
    case 32:
        if (Command == 32)
            CTransferData();
        else
            CTransferStart(Command == 30);
        // The patch dialog follows the transfer while the data arrive.
        try {
            ProcessEvents();
        } catch (PROGRAM_ERROR code) {
            app::ShowProgramError(code);
        }
        break;
    case 40: COverloaded(); break;
    case 100: CCharacterList(); break;
    default: Unrecognised(Command); return false;
    }
    return true;
}

bool DispatchGame(int Command) {
    if (!GameCommandListed(Command)) {
        Unrecognised(Command);
        return false;
    }
    switch (Command) {
    case 10: EnterGame(); break;
    case 20: CGameError(); break;
    case 21: CGameInformation(); break;
    case 22: CWaitingList(); break;
    default:
        if (!Attached.GameHandlers[Command]) {
            Unrecognised(Command);
            return false;
        }
        Attached.GameHandlers[Command]();
        break;
    }
    if ((Command == 110 || Command == 111 || In(Command, 125, 127)) && Hooks.AfterGameCommand)
        Hooks.AfterGameCommand(Command);
    return true;
}

// Bytes are read only from a connection that answers; whatever follows a
// command that ended the connection (an error, an overloaded login server)
// belongs to a connection that is gone and is dropped.
bool Answering(int State) { return State == 3 || State == 4 || In(State, 6, 8); }

// ==== 4. Leaving the game and the events ==========================================================

void LeaveGame() {
    if (Hooks.ShowStartView) Hooks.ShowStartView();
    DestroyModal();
    SetInputMode(INPUT_IDLE);
    SavePreferences();
    if (!Connection.ReconnectRequested) PostEvent(MESSAGE_CHARACTERLIST, CHARACTERLIST_TIMEOUT, 0);
}

// Events of the types up to 55 belong to the interface: dialogs (up to 46)
// open centred, pop-up menus at the pointer.
void CarryOutInterfaceEvent(Event& E) {
    const int Type = E.Type;
    bool opened = false;
    if (Hooks.CarryOutEvent) {
        opened = Hooks.CarryOutEvent(E);
    } else {
        ++Run.DroppedEvents;
        FreeEvent(E);
    }
    if (opened && HasModal()) {
        bool dialog = Type <= 46;
        if (Hooks.PlaceModalWindow) Hooks.PlaceModalWindow(dialog, Run.PointerX, Run.PointerY);
        SetInputMode(dialog ? INPUT_DIALOG : INPUT_MENU);
        SetMainActive(false);
    }
}

// Returns true when the pass has to end.
bool CarryOut(Event& E) {
    const int Type = E.Type;
    switch (Type) {
    case MESSAGE_TARGET_1: SetInputMode(INPUT_TARGET_1); return false;
    case MESSAGE_TARGET_2: SetInputMode(INPUT_TARGET_2); return false;
    case MESSAGE_HELPPOINTER:
        SetInputMode(INPUT_HELP);
        if (Hooks.ResetHelpPointer) Hooks.ResetHelpPointer();
        return false;
    case MESSAGE_CONNECTLOGIN:
        Draw();
        ConnectLoginServer();
        return false;
    case MESSAGE_CONNECTGAME:
        Draw();
        ConnectGameServer();
        return false;
    case MESSAGE_RELOGIN:
        if (IsConnected()) {
            Connection.ReconnectRequested = true;
            Connection.ReconnectDeadline = platform::Milliseconds() + RECONNECT_DELAY;
        } else {
            PostEvent(MESSAGE_CONNECTLOGIN, 0, 0);
            PostEvent(MESSAGE_CONNECTING_LIST, 0, 0);
        }
        return false;
    case MESSAGE_WAITOFFLINE:
        if (IsConnected()) {
            PostEventFirst(MESSAGE_WAITOFFLINE, 0, 0);
            return true;
        }
        return false;
    case MESSAGE_INSTALL_DAT:
    case MESSAGE_INSTALL_SPR:
    case MESSAGE_INSTALL_PIC:
    case MESSAGE_INSTALL_PATCHER: InstallPatchedFile(Type - MESSAGE_INSTALL_DAT + 1); return false;
    case MESSAGE_RELOAD_DAT:
        try {
            LoadObjects(DataFilePath("Vorna.dat").c_str());
        } catch (const ObjectFileError&) {
            throw PROGRAM_ERROR(ERROR_OBJECTS_FILE);
        }
        return false;
    case MESSAGE_RELOAD_SPR:
        if (IsGraphicsInitialized()) ReloadSprites();
        return false;
    case MESSAGE_RELOAD_PIC:
        if (IsGraphicsInitialized()) ReloadPictures();
        return false;
    case MESSAGE_STARTPATCHER:
        if (Hooks.StartPatcher)
            Hooks.StartPatcher();
        else
            app::StartPatcher();
        return true;
    }
    if (In(Type, 1, 55)) {
        CarryOutInterfaceEvent(E);
        return false;
    }
    FreeEvent(E);
    ASSERT_PARAM(false, Type);
    return false;
}

// ---- What the assertion reporter asks for --------------------------------------------------------

bool PacketHook(uint8_t Snapshot[16]) {
    GetPacketSnapshot(Snapshot);
    return Run.UnrecognisedCommand;
}

// The player creature's own field: the map's centre is stale, or not set at
// all, until the map message that follows entering the game.
bool PositionHook(assertion::Position& P) {
    if (GetConnectionState() != STATE_GAME || GetPlayerID() == 0) return false;
    const Creature* Player = FindCreature(GetPlayerID());
    if (Player == NULL) return false;
    P = {Player->RealX, Player->RealY, Player->RealZ};
    return true;
}

// The program's hooks, gathered in this one place so that no order of the
// start-up calls matters: the windows' and the game protocol's.
ControlHooks ProgramHooks() {
    ControlHooks H;
    AddInterfaceHooks(H);
    AddGameProtocolHooks(H);
    return H;
}

}  // namespace

// ==== 5. Set-up ====================================================================================

void InitControl() {
    Attached = Attachments{};
    Attached.GameHandlers[11] = DefaultRights;
    Attached.GameHandlers[30] = DefaultPing;
    Hooks = ProgramHooks();
    Run = RunState{};
    Connection = ConnectionRecord{};
    frame::SetCloseCheck(CanClose);
    frame::SetQuitHandler(ControlQuit);
    frame::SetTimerHandler(ControlTimerTick);
    frame::SetIdleHandler(ControlIdle);
    frame::SetInputHandler(DeliverInput);
    assertion::SetPacketHook(PacketHook);
    assertion::SetPositionHook(PositionHook);
    // The map's animations (water, fire, idle outfits, the invisibility
    // shimmer) take their phases from this tick counter.
    SetAnimationClockSource(GetTickCounter);
    AttachEventHints();
}

void ExitControl() {
    frame::SetCloseCheck(nullptr);
    frame::SetQuitHandler(nullptr);
    frame::SetTimerHandler(nullptr);
    frame::SetIdleHandler(nullptr);
    frame::SetInputHandler(nullptr);
    assertion::SetPacketHook(nullptr);
    assertion::SetPositionHook(nullptr);
    SetAnimationClockSource(nullptr);
    DetachEventHints();
    Hooks = ControlHooks{};
}

void SetControlHooks(const ControlHooks& NewHooks) { Hooks = NewHooks; }
const ControlHooks& GetControlHooks() { return Hooks; }

void SetGameCommandHandler(int Command, GameCommandHandler Handler) {
    ASSERT(In(Command,0,255));
    if (In(Command, 0, 255)) Attached.GameHandlers[Command] = Handler;
}

bool IsGameCommand(int Command) { return GameCommandListed(Command); }

// ==== 6. Network handlers ==========================================================================

void ControlConnectHandler() {
    RequestRedraw();
    if (GetConnectionState() == STATE_CONNECTING_LOGIN) {
        SetConnectionState(STATE_LOGIN_SENT);
        SendLogin(GetAccountNumber(), GetPassword());
        return;
    }
    SetConnectionState(STATE_GAME_LOGIN_SENT);
    if (Hooks.ClearOutfitRequest) Hooks.ClearOutfitRequest();
    ASSERT(In(GetActiveCharacter(),0,GetAccountCharacters()-1));
    if (!In(GetActiveCharacter(), 0, GetAccountCharacters() - 1)) return;
    SendGameLogin(GetAccountNumber(), GetAccountCharacter(GetActiveCharacter()).Name, GetPassword());
}

void ControlReceiveHandler() {
    for (;;) {
        int State = GetConnectionState();
        if (!Answering(State)) {
            ResetReceiveBuffer();
            return;
        }
        int Command = GetCommand();
        if (Command == -1) return;
        Run.LastCommand = Command;
        RequestRedraw();
        if (State == STATE_LOGIN_SENT) {
            SetConnectionState(STATE_LOGIN_ANSWERING);
            State = STATE_LOGIN_ANSWERING;
        }
        bool go_on;
        if (State == STATE_LOGIN_ANSWERING) {
            go_on = DispatchLogin(Command);
        } else {
            if (State == STATE_GAME_LOGIN_SENT) SetConnectionState(STATE_GAME_ANSWERING);
            go_on = DispatchGame(Command);
        }
        // Had the reporter returned, the rest of the packet cannot be read.
        if (!go_on) {
            ResetReceiveBuffer();
            return;
        }
    }
}

void ControlCloseHandler() {
    RequestRedraw();
    const int s = GetConnectionState();
    if (s == STATE_GAME) {
        LeaveGame();
    } else if (s == STATE_GAME_LOGIN_SENT) {
        PostConnectionError(ERROR_DISCONNECTED, KIND_GAME);
        PostEvent(MESSAGE_CHARACTERLIST, CHARACTERLIST_TIMEOUT, 0);
    } else if (s == STATE_LOGIN_SENT) {
        PostConnectionError(ERROR_DISCONNECTED, KIND_LOGIN);
    }
    SetConnectionState(STATE_OFFLINE);
    if (!Connection.ReconnectRequested) return;
    Connection.ReconnectRequested = false;
    if (s == STATE_GAME) {
        if (int32_t(platform::Milliseconds() - Connection.ReconnectDeadline) <= 0) {
            PostEvent(MESSAGE_CONNECTGAME, 0, 0);
            PostEvent(MESSAGE_CONNECTING_GAME, 0, 0);
        }
    } else {
        PostEvent(MESSAGE_CONNECTLOGIN, 0, 0);
        PostEvent(MESSAGE_CONNECTING_LIST, 0, 0);
    }
}

void ControlLinkWarning() {
    SetInputMode(INPUT_IDLE);
    PostTextEvent(MESSAGE_LINKWARNING, "Link copy warning", nullptr);
}

// ==== 7. Idle pass, timer, close check, quit =========================================================

void ControlIdle() {
    try {
        PollNetwork();
        ProcessEvents();
    } catch (PROGRAM_ERROR code) {
        app::ShowProgramError(code);
    }
}

void ProcessEvents() {
    if (HasModal() && GetInputMode() == INPUT_IDLE) {
        DestroyModal();
        SetInputMode(INPUT_IDLE);
        SetMainActive(true);
        RequestRedraw();
        Draw();
    }
    if (!MainCaptured()) {
        while (!HasModal() && GetNumberOfEvents() > 0) {
            RequestRedraw();
            Event E = TakeEvent();
            if (CarryOut(E)) break;
            if (MainCaptured()) break;
        }
    }
    if (GetConnectionState() == STATE_GAME && Hooks.SendPendingStep) Hooks.SendPendingStep();
    Draw();
}

void ControlTimerTick() {
    ++Run.TickCounter;
    // What the tick changes: in the game the texts age, effects, light and
    // the tick-driven animations move on; everywhere a running dialog timer
    // counts down, a hover shows its tooltip and a held button repeats.
    if (GetConnectionState() == STATE_GAME || GetNumberOfActiveTimers() > 0 || Run.HoldKind == HOLD_REPEATING)
        RequestRedraw();
    if (Run.HoverTick >= 0 && int64_t(Run.TickCounter) == Run.HoverTick + HOVER_TICKS) {
        RequestRedraw();
        AtPointer(Hooks.Hover);
        // A tooltip the hover raised stands at the pointer, a point of the
        // screen whatever window took the hover.
        if (GetTooltipText() != NULL) SetTooltipPoint(Run.PointerX, Run.PointerY);
    }
    if (Hooks.TickTexts) Hooks.TickTexts();
    if (Run.TickCounter % 10 == 0) StepAmbientLight();
    AdvanceEffects();
    if (Run.HoldKind == HOLD_REPEATING) {
        if (Run.TickCounter - Run.HoldTick < uint32_t(REPEAT_DELAY_TICKS)) return;
        AtPointer(Hooks.HeldButton);
    }
    CheckTimeout();
    if (Hooks.TickCommandTimers) Hooks.TickCommandTimers();
    SweepSkulls();
}

bool CanClose() {
    if (GetConnectionState() != STATE_GAME) return true;
    if (!HasModal())
        PostTextEvent(MESSAGE_LOGOUTWARNING, "Warning",
                      "If you shut down the program, your character might stay in the game.\n"
                      "Click on \"Logout\" to ensure that your character leaves the game properly.\n"
                      "Click on \"Exit\" if you want to exit the program without logging out your character.");
    return false;
}

// No question and no logout request: a server that does not answer must not
// hold the end up. In the game the character leaves as on a lost
// connection (the close handler's leaving writes the preferences).
void ControlQuit() {
    if (GetConnectionState() == STATE_GAME) {
        CloseConnection();
    } else {
        Disconnect(true);
        SetConnectionState(STATE_OFFLINE);
    }
    app::ExitProgram();
}

// ==== 8. Input delivery, one function per kind of input ===============================================
//
// Positions given to the modal window are made relative to it (ToModal). The
// frame swallows Alt+F8 (the diagnostics switch) before it gets here.

namespace {

bool ModalMode(int Mode) { return Mode == INPUT_DIALOG || Mode == INPUT_MENU; }

void PointerMoved(const frame::Input& Input, int Mode) {
    Run.PointerX = Input.X;
    Run.PointerY = Input.Y;
    Run.HoverTick = Run.TickCounter;
    Run.PointerKind = 1;  // the receiving window may change it
    if (ModalMode(Mode)) {
        ToModal(Input);
        return;
    }
    if (Mode == INPUT_LEFT &&
        (std::abs(Input.X - Run.PressX) > DRAG_DISTANCE || std::abs(Input.Y - Run.PressY) > DRAG_DISTANCE))
        SetInputMode(INPUT_DRAG);
    ToMain(Input);
    if (Mode == INPUT_HELP && Hooks.HelpPointerMove) Hooks.HelpPointerMove(Input.X, Input.Y);
}

// Left press and double click.
void LeftPressed(const frame::Input& Input, int Mode) {
    if (Mode == INPUT_IDLE) {
        Run.PressX = Input.X;
        Run.PressY = Input.Y;
        ToMain(Input);
        SetInputMode(INPUT_LEFT);
    } else if (Mode == INPUT_RIGHT) {
        if (GetClassicControl()) SetInputMode(INPUT_BOTH);
    } else if (ModalMode(Mode)) {
        ToModal(Input);
        EndModalIf(GetInputMode() == INPUT_IDLE);
    }
    Run.HoldKind = HOLD_REPEATING;
    Run.HoldTick = Run.TickCounter;
}

void RightPressed(const frame::Input& Input, int Mode) {
    if (Mode == INPUT_IDLE)
        SetInputMode(INPUT_RIGHT);
    else if (Mode == INPUT_LEFT && GetClassicControl())
        SetInputMode(INPUT_BOTH);
    else if (ModalMode(Mode))
        ToModal(Input);
}

// With both buttons held, the second release of the two acts as a left
// release with the Shift flag.
void ShiftedLeftRelease(frame::Input Input) {
    Input.Kind = frame::InputKind::LeftUp;
    Input.Flags |= frame::FLAG_SHIFT;
    ToMain(Input);
    SetInputMode(INPUT_IDLE);
}

void CloseHelpPointer() {
    if (Hooks.CloseHelpPointer) Hooks.CloseHelpPointer();
    SetInputMode(INPUT_IDLE);
}

void LeftReleased(const frame::Input& Input, int Mode) {
    // The repeat of a held button ends with its release.
    Run.HoldKind = 0;
    switch (Mode) {
    case INPUT_IDLE:
        if (MainCaptured()) {
            ToMain(Input);
            ReleaseMainCapture();
        }
        break;
    case INPUT_LEFT:
    case INPUT_DRAG:
    case INPUT_TARGET_1:
    case INPUT_TARGET_2:
        ToMain(Input);
        SetInputMode(INPUT_IDLE);
        break;
    case INPUT_BOTH: SetInputMode(INPUT_BOTH_LEFT_RELEASED); break;
    case INPUT_BOTH_RIGHT_RELEASED: ShiftedLeftRelease(Input); break;
    case INPUT_HELP: CloseHelpPointer(); break;
    case INPUT_DIALOG:
    case INPUT_MENU: {
        ToModal(Input);
        // A menu entry may have started a target selection.
        int After = GetInputMode();
        EndModalIf(After == INPUT_IDLE || After == INPUT_TARGET_1 || After == INPUT_TARGET_2);
        break;
    }
    }
}

void RightReleased(const frame::Input& Input, int Mode) {
    switch (Mode) {
    case INPUT_IDLE:
        if (MainCaptured()) ReleaseMainCapture();
        break;
    case INPUT_RIGHT:
        ToMain(Input);
        SetInputMode(INPUT_IDLE);
        break;
    case INPUT_TARGET_1:
    case INPUT_TARGET_2: SetInputMode(INPUT_IDLE); break;
    case INPUT_BOTH: SetInputMode(INPUT_BOTH_RIGHT_RELEASED); break;
    case INPUT_BOTH_LEFT_RELEASED: ShiftedLeftRelease(Input); break;
    case INPUT_HELP: CloseHelpPointer(); break;
    case INPUT_DIALOG:
    case INPUT_MENU:
        ToModal(Input);
        EndModalIf(GetInputMode() == INPUT_IDLE);
        break;
    }
}

void WheelTurned(const frame::Input& Input, int Mode) {
    if (Mode == INPUT_HELP) return;
    if (ModalMode(Mode))
        ToModal(Input);
    else
        ToMain(Input);
}

// A key goes to the modal window, or else to the hotkeys and then the main
// game window.
void KeyPressed(const frame::Input& Input, int Mode) {
    if (Mode == INPUT_HELP) CloseHelpPointer();
    if (HasModal()) {
        ToModal(Input);
        EndModalIf(GetInputMode() == INPUT_IDLE);
    } else if (!(Hooks.Hotkey && Hooks.Hotkey(Input.Code))) {
        ToMain(Input);
    }
}

}  // namespace

void DeliverInput(const frame::Input& Input) {
    using frame::InputKind;
    SetTooltipText(NULL);
    Run.HoverTick = -1;
    const int Mode = GetInputMode();
    switch (Input.Kind) {
    case InputKind::PointerMove: PointerMoved(Input, Mode); break;
    case InputKind::LeftDown:
    case InputKind::LeftDoubleClick: LeftPressed(Input, Mode); break;
    case InputKind::RightDown: RightPressed(Input, Mode); break;
    case InputKind::LeftUp: LeftReleased(Input, Mode); break;
    case InputKind::RightUp: RightReleased(Input, Mode); break;
    case InputKind::Wheel: WheelTurned(Input, Mode); break;
    case InputKind::Key: KeyPressed(Input, Mode); break;
    }
}

// ==== 9. Queries ======================================================================================

uint32_t GetTickCounter() { return Run.TickCounter; }

int GetPointerKind() {
    switch (GetInputMode()) {
    case INPUT_HELP: return 6;
    case INPUT_DRAG: return 5;
    case INPUT_TARGET_1:
    case INPUT_TARGET_2: return 4;
    }
    return Run.PointerKind;
}

void SetPointerKind(int Kind) { Run.PointerKind = Kind; }
void GetLastPointerPosition(int& X, int& Y) {
    X = Run.PointerX;
    Y = Run.PointerY;
}
int GetLastCommand() { return Run.LastCommand; }
bool IsReconnectRequested() { return Connection.ReconnectRequested; }
uint32_t GetReconnectDeadline() { return Connection.ReconnectDeadline; }
int GetDroppedEventCount() { return Run.DroppedEvents; }
