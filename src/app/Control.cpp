// Sections: state; hooks; network handlers and the dispatcher; leaving and
// entering the game; events; timer; close check; input delivery.
#include "app/Control.h"

#include "app/Application.h"
#include "app/MainFrame.h"
#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/ProgramError.h"
#include "graphics/graphics.h"
#include "net/Communication.h"
#include "net/Network.h"
#include "platform/Platform.h"
#include "world/Creatures.h"
#include "world/Inventory.h"
#include "world/Map.h"
#include "world/Objects.h"

#include <cstdlib>

namespace {

// ---- State: reset by InitControl -------------------------------------------------------

ControlHooks Hooks;
GameCommandHandler GameHandlers[256] = {};
bool UnrecognisedCommand = false;
int LastCommand = -1;
bool ReconnectRequested = false;
uint32_t ReconnectDeadline = 0;
uint32_t TickCounter = 0;
int PointerKind = 1;
int PointerX = 0, PointerY = 0;
int PressX = 0, PressY = 0;
int64_t HoverTick = -1;  // tick of the last pointer move, -1 when none
int HoldKind = 0;
uint32_t HoldTick = 0;
int DroppedEvents = 0;
int GameBeat = 0;

constexpr int HOLD_REPEATING = 6;

// ---- Hook helpers ----------------------------------------------------------------------------

void* GetModal() { return Hooks.GetModalWindow ? Hooks.GetModalWindow() : NULL; }
bool HasModal() { return GetModal() != NULL; }
bool MainCaptured() { return Hooks.MainHoldsCapture && Hooks.MainHoldsCapture(); }
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
void ToMain(const frame::Input& Input) {
    if (Hooks.DeliverToMain) Hooks.DeliverToMain(Input);
}
void ToModal(frame::Input Input) {
    void* ModalWindow = GetModal();
    ASSERT(ModalWindow!=NULL);
    if (!ModalWindow) return;
    int x = 0, y = 0;
    if (Hooks.GetModalOffset) Hooks.GetModalOffset(x, y);
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

// ---- Game commands ---------------------------------------------------------------------------

bool GameCommandListed(int c) {
    return c == 10 || c == 11 || In(c, 20, 22) || c == 30 || In(c, 100, 114) || c == 120 || c == 121 ||
           In(c, 125, 127) || In(c, 130, 134) || In(c, 140, 145) || c == 150 || c == 151 || In(c, 160, 163) ||
           In(c, 170, 181) || c == 190 || c == 191 || c == 200 || In(c, 210, 212);
}

// The login data of the enter-game message when no game module reads them.
void DefaultEnterGame() {
    ClearRights();
    SetPlayerID(GetQuad());
    GameBeat = GetWord();
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
    if (GameHandlers[10])
        GameHandlers[10]();
    else
        DefaultEnterGame();
    if (Hooks.StartHints) Hooks.StartHints();
    SendFightModes();
}

void Unrecognised(int Command) {
    UnrecognisedCommand = true;
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
        if (!GameHandlers[Command]) {
            Unrecognised(Command);
            return false;
        }
        GameHandlers[Command]();
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

// ---- Leaving the game ----------------------------------------------------------------------

void LeaveGame() {
    if (Hooks.ShowStartView) Hooks.ShowStartView();
    DestroyModal();
    SetInputMode(INPUT_IDLE);
    SavePreferences();
    if (!ReconnectRequested) PostEvent(MESSAGE_CHARACTERLIST, CHARACTERLIST_TIMEOUT, 0);
}

// ---- Events ----------------------------------------------------------------------------------

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
            ReconnectRequested = true;
            ReconnectDeadline = platform::Milliseconds() + RECONNECT_DELAY;
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
            LoadObjects("Vorna.dat");
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
        bool opened = false;
        if (Hooks.CarryOutEvent) {
            opened = Hooks.CarryOutEvent(E);
        } else {
            ++DroppedEvents;
            FreeEvent(E);
        }
        if (opened && HasModal()) {
            bool dialog = Type <= 46;
            if (Hooks.PlaceModalWindow) Hooks.PlaceModalWindow(dialog, PointerX, PointerY);
            SetInputMode(dialog ? INPUT_DIALOG : INPUT_MENU);
            SetMainActive(false);
        }
        return false;
    }
    FreeEvent(E);
    ASSERT_PARAM(false, Type);
    return false;
}

bool PacketHook(uint8_t Snapshot[16]) {
    GetPacketSnapshot(Snapshot);
    return UnrecognisedCommand;
}

bool PositionHook(assertion::Position& P) {
    if (GetConnectionState() != STATE_GAME) return false;
    GetMapPosition(P.X, P.Y, P.Z);
    return true;
}

}  // namespace

// ---- Set-up ------------------------------------------------------------------------------------

void InitControl() {
    Hooks = ControlHooks{};
    for (GameCommandHandler& H : GameHandlers) H = nullptr;
    GameHandlers[11] = DefaultRights;
    GameHandlers[30] = DefaultPing;
    UnrecognisedCommand = false;
    LastCommand = -1;
    ReconnectRequested = false;
    ReconnectDeadline = 0;
    TickCounter = 0;
    PointerKind = 1;
    PointerX = PointerY = PressX = PressY = 0;
    HoverTick = -1;
    HoldKind = 0;
    HoldTick = 0;
    DroppedEvents = 0;
    GameBeat = 0;
    frame::SetCloseCheck(CanClose);
    frame::SetTimerHandler(ControlTimerTick);
    frame::SetIdleHandler(ControlIdle);
    frame::SetInputHandler(DeliverInput);
    assertion::SetPacketHook(PacketHook);
    assertion::SetPositionHook(PositionHook);
}

void ExitControl() {
    frame::SetCloseCheck(nullptr);
    frame::SetTimerHandler(nullptr);
    frame::SetIdleHandler(nullptr);
    frame::SetInputHandler(nullptr);
    assertion::SetPacketHook(nullptr);
    assertion::SetPositionHook(nullptr);
    Hooks = ControlHooks{};
}

void SetControlHooks(const ControlHooks& NewHooks) { Hooks = NewHooks; }
const ControlHooks& GetControlHooks() { return Hooks; }

void SetGameCommandHandler(int Command, GameCommandHandler Handler) {
    ASSERT(In(Command,0,255));
    if (In(Command, 0, 255)) GameHandlers[Command] = Handler;
}

bool IsGameCommand(int Command) { return GameCommandListed(Command); }

// ---- Network handlers ----------------------------------------------------------------------

void ControlConnectHandler() {
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
        LastCommand = Command;
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
    if (!ReconnectRequested) return;
    ReconnectRequested = false;
    if (s == STATE_GAME) {
        if (int32_t(platform::Milliseconds() - ReconnectDeadline) <= 0) {
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

// ---- Idle pass ---------------------------------------------------------------------------------

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
        Draw();
    }
    if (!MainCaptured()) {
        while (!HasModal() && GetNumberOfEvents() > 0) {
            Event E = TakeEvent();
            if (CarryOut(E)) break;
            if (MainCaptured()) break;
        }
    }
    if (GetConnectionState() == STATE_GAME && Hooks.SendPendingStep) Hooks.SendPendingStep();
    Draw();
}

// ---- Timer -------------------------------------------------------------------------------------

void ControlTimerTick() {
    ++TickCounter;
    if (HoverTick >= 0 && int64_t(TickCounter) == HoverTick + HOVER_TICKS && Hooks.Hover) {
        if (HasModal()) {
            int x = 0, y = 0;
            if (Hooks.GetModalOffset) Hooks.GetModalOffset(x, y);
            Hooks.Hover(PointerX - x, PointerY - y, true);
        } else {
            Hooks.Hover(PointerX, PointerY, false);
        }
    }
    if (Hooks.TickTexts) Hooks.TickTexts();
    if (TickCounter % 10 == 0) StepAmbientLight();
    AdvanceEffects();
    if (HoldKind == HOLD_REPEATING) {
        if (TickCounter - HoldTick < uint32_t(REPEAT_DELAY_TICKS)) return;
        if (Hooks.HeldButton) {
            if (HasModal()) {
                int x = 0, y = 0;
                if (Hooks.GetModalOffset) Hooks.GetModalOffset(x, y);
                Hooks.HeldButton(PointerX - x, PointerY - y, true);
            } else {
                Hooks.HeldButton(PointerX, PointerY, false);
            }
        }
    }
    CheckTimeout();
    if (Hooks.TickCommandTimers) Hooks.TickCommandTimers();
    SweepSkulls();
}

// ---- Close check -------------------------------------------------------------------------------

bool CanClose() {
    if (GetConnectionState() != STATE_GAME) return true;
    if (!HasModal())
        PostTextEvent(MESSAGE_LOGOUTWARNING, "Warning",
                      "If you shut down the program, your character might stay in the game.\n"
                      "Click on \"Logout\" to ensure that your character leaves the game properly.\n"
                      "Click on \"Exit\" if you want to exit the program without logging out your character.");
    return false;
}

// ---- Input delivery ------------------------------------------------------------------------------

void DeliverInput(const frame::Input& Input) {
    using frame::InputKind;
    if (Hooks.DropTooltip) Hooks.DropTooltip();
    HoverTick = -1;
    const int Mode = GetInputMode();
    switch (Input.Kind) {
    case InputKind::PointerMove:
        PointerX = Input.X;
        PointerY = Input.Y;
        HoverTick = TickCounter;
        PointerKind = 1;
        if (Mode == INPUT_LEFT) {
            if (std::abs(Input.X - PressX) > DRAG_DISTANCE || std::abs(Input.Y - PressY) > DRAG_DISTANCE)
                SetInputMode(INPUT_DRAG);
            ToMain(Input);
        } else if (Mode == INPUT_HELP) {
            ToMain(Input);
            if (Hooks.HelpPointerMove) Hooks.HelpPointerMove(Input.X, Input.Y);
        } else if (Mode == INPUT_DIALOG || Mode == INPUT_MENU) {
            ToModal(Input);
        } else {
            ToMain(Input);
        }
        break;

    case InputKind::LeftDown:
    case InputKind::LeftDoubleClick:
        if (Mode == INPUT_IDLE) {
            PressX = Input.X;
            PressY = Input.Y;
            ToMain(Input);
            SetInputMode(INPUT_LEFT);
        } else if (Mode == INPUT_RIGHT) {
            if (GetClassicControl()) SetInputMode(INPUT_BOTH);
        } else if (Mode == INPUT_DIALOG || Mode == INPUT_MENU) {
            ToModal(Input);
            EndModalIf(GetInputMode() == INPUT_IDLE);
        }
        HoldKind = HOLD_REPEATING;
        HoldTick = TickCounter;
        break;

    case InputKind::RightDown:
        if (Mode == INPUT_IDLE)
            SetInputMode(INPUT_RIGHT);
        else if (Mode == INPUT_LEFT && GetClassicControl())
            SetInputMode(INPUT_BOTH);
        else if (Mode == INPUT_DIALOG || Mode == INPUT_MENU)
            ToModal(Input);
        break;

    case InputKind::LeftUp:
        // The repeat of a held button ends with its release.
        HoldKind = 0;
        switch (Mode) {
        case INPUT_IDLE:
            if (MainCaptured()) {
                ToMain(Input);
                if (Hooks.ReleaseMainCapture) Hooks.ReleaseMainCapture();
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
        case INPUT_BOTH_RIGHT_RELEASED: {
            frame::Input shifted = Input;
            shifted.Flags |= frame::FLAG_SHIFT;
            ToMain(shifted);
            SetInputMode(INPUT_IDLE);
            break;
        }
        case INPUT_HELP:
            if (Hooks.CloseHelpPointer) Hooks.CloseHelpPointer();
            SetInputMode(INPUT_IDLE);
            break;
        case INPUT_DIALOG:
        case INPUT_MENU: {
            ToModal(Input);
            int after = GetInputMode();
            EndModalIf(after == INPUT_IDLE || after == INPUT_TARGET_1 || after == INPUT_TARGET_2);
            break;
        }
        }
        break;

    case InputKind::RightUp:
        switch (Mode) {
        case INPUT_IDLE:
            if (MainCaptured() && Hooks.ReleaseMainCapture) Hooks.ReleaseMainCapture();
            break;
        case INPUT_RIGHT:
            ToMain(Input);
            SetInputMode(INPUT_IDLE);
            break;
        case INPUT_TARGET_1:
        case INPUT_TARGET_2: SetInputMode(INPUT_IDLE); break;
        case INPUT_BOTH: SetInputMode(INPUT_BOTH_RIGHT_RELEASED); break;
        case INPUT_BOTH_LEFT_RELEASED: {
            frame::Input left = Input;
            left.Kind = InputKind::LeftUp;
            left.Flags |= frame::FLAG_SHIFT;
            ToMain(left);
            SetInputMode(INPUT_IDLE);
            break;
        }
        case INPUT_HELP:
            if (Hooks.CloseHelpPointer) Hooks.CloseHelpPointer();
            SetInputMode(INPUT_IDLE);
            break;
        case INPUT_DIALOG:
        case INPUT_MENU:
            ToModal(Input);
            EndModalIf(GetInputMode() == INPUT_IDLE);
            break;
        }
        break;

    case InputKind::Wheel:
        if (Mode == INPUT_HELP) break;
        if (Mode == INPUT_DIALOG || Mode == INPUT_MENU)
            ToModal(Input);
        else
            ToMain(Input);
        break;

    case InputKind::Key:
        if (Input.Code == ((frame::KEY_F1 + 7) | frame::FLAG_ALT)) {
            if (Hooks.ToggleFramerate) Hooks.ToggleFramerate();
            break;
        }
        if (Mode == INPUT_HELP) SetInputMode(INPUT_IDLE);
        if (HasModal()) {
            ToModal(Input);
            EndModalIf(GetInputMode() == INPUT_IDLE);
        } else if (!(Hooks.Hotkey && Hooks.Hotkey(Input.Code))) {
            ToMain(Input);
        }
        break;
    }
}

// ---- Queries -------------------------------------------------------------------------------------

uint32_t GetTickCounter() { return TickCounter; }

int GetPointerKind() {
    switch (GetInputMode()) {
    case INPUT_HELP: return 6;
    case INPUT_DRAG: return 5;
    case INPUT_TARGET_1:
    case INPUT_TARGET_2: return 4;
    }
    return PointerKind;
}

void SetPointerKind(int Kind) { PointerKind = Kind; }
void GetLastPointerPosition(int& X, int& Y) {
    X = PointerX;
    Y = PointerY;
}
int GetLastCommand() { return LastCommand; }
bool IsReconnectRequested() { return ReconnectRequested; }
uint32_t GetReconnectDeadline() { return ReconnectDeadline; }
int GetDroppedEventCount() { return DroppedEvents; }
// The game messages give the beat to the walking logic, which keeps it.
int GetGameBeat() { return GetServerBeat(); }
