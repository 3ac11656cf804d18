#include "app/Interface.h"

#include "app/Application.h"
#include "app/Control.h"
#include "core/TalkModes.h"
#include "gui/ConsoleWindow.h"
#include "gui/Dialogs.h"
#include "gui/GUI.h"
#include "gui/MainWindow.h"
#include "net/GameMessages.h"

namespace {

MainWindow* Main = nullptr;

void* HookGetModal() { return GetModalWindow(); }

void HookModalOffset(int& X, int& Y) {
    Component* modal = GetModalWindow();
    X = modal != nullptr ? modal->getX() : 0;
    Y = modal != nullptr ? modal->getY() : 0;
}

void HookDeliverToModal(const frame::Input& Input) { DeliverToComponent(GetModalWindow(), Input); }
void HookDestroyModal() { DestroyModalWindow(); }
void HookDeliverToMain(const frame::Input& Input) { DeliverToComponent(Main, Input); }
bool HookMainCaptured() { return Main != nullptr && Main->getCapture() != nullptr; }
void HookReleaseMainCapture() {
    if (Main != nullptr) Main->cancelCapture();
}
void HookSetMainActive(bool Active) {
    if (Main != nullptr) Main->setActive(Active);
}
void HookShowStartView() {
    if (Main != nullptr) Main->showStartView();
}
void HookShowGameView() {
    if (Main != nullptr) Main->showGameView();
}
Component* Receiver(bool ToModal) { return ToModal ? GetModalWindow() : static_cast<Component*>(Main); }
void HookHover(int X, int Y, bool ToModal) {
    if (Component* c = Receiver(ToModal)) c->mouseRest(X, Y);
}
void HookHeldButton(int X, int Y, bool ToModal) {
    if (Component* c = Receiver(ToModal)) c->mouseRepeat(X, Y, REPEAT_LEFT_HELD);
}
bool HookHotkey(int Code) { return DispatchHotkey(Code); }
void HookTickTimers() { ComponentTimer::tick(); }
void HookPlaceModal(bool IsDialog, int X, int Y) { PlaceModalWindow(IsDialog, X, Y); }

// The channels the server opens become console tabs; every other event is
// a dialog's.
bool CarryOutEvent(Event& E) {
    const char* Name = EventExtraIsText(E.Type) ? EventText(E.Extra) : NULL;
    if (Name == NULL) Name = "";
    switch (E.Type) {
    case GAME_EVENT_CHANNEL: OpenChannelTab(TALK_CHANNEL_CALL, CHANNEL_PUBLIC, "", int(E.Data), Name); break;
    case GAME_EVENT_OWNCHANNEL: OpenOwnChannel(int(E.Data), Name); break;
    case GAME_EVENT_PRIVATECHANNEL: OpenChannelTab(TALK_PRIVATE_MESSAGE, CHANNEL_PRIVATE, Name, -1, Name); break;
    case GAME_EVENT_REQUESTCHANNEL: break;  // the game message has opened it
    case CONSOLE_EVENT_REPORT:
        ReportRuleViolation(EventDataIsText(E.Type) ? EventText(E.Data) : NULL);
        break;
    case CONSOLE_EVENT_DIALOG_REPORT:
        FreeEvent(E);
        SetModalWindow(ReportDialog());
        return true;
    case GAME_EVENT_CHANNELLIST:
        FreeEvent(E);
        SetModalWindow(ChannelChoiceDialog());
        return true;
    default: return CarryOutDialogEvent(E);
    }
    FreeEvent(E);
    return false;
}

}  // namespace

void DeliverToComponent(Component* C, const frame::Input& Input) {
    if (C == nullptr) return;
    using frame::InputKind;
    switch (Input.Kind) {
    case InputKind::PointerMove:
        // The component under the pointer may ask for its own shape (a
        // resize grip) while the pointer moves over it.
        SetPointerShape(POINTER_NORMAL);
        C->mouseMove(Input.X, Input.Y);
        SetPointerKind(GetPointerShape());
        break;
    case InputKind::LeftDown: C->leftButtonDown(Input.X, Input.Y, Input.Flags); break;
    case InputKind::LeftUp: C->leftButtonUp(Input.X, Input.Y, Input.Flags); break;
    case InputKind::LeftDoubleClick: C->leftDoubleClick(Input.X, Input.Y, Input.Flags); break;
    // Components act on the right button's release only.
    case InputKind::RightDown: break;
    case InputKind::RightUp: C->rightButtonUp(Input.X, Input.Y, Input.Flags); break;
    case InputKind::Wheel: C->mouseRepeat(Input.X, Input.Y, Input.Code); break;
    case InputKind::Key: C->keyPress(Input.Code); break;
    }
}

void AddInterfaceHooks(ControlHooks& Hooks) {
    Hooks.CarryOutEvent = CarryOutEvent;
    Hooks.PlaceModalWindow = HookPlaceModal;
    Hooks.GetModalWindow = HookGetModal;
    Hooks.GetModalOffset = HookModalOffset;
    Hooks.DeliverToModal = HookDeliverToModal;
    Hooks.DestroyModalWindow = HookDestroyModal;
    Hooks.DeliverToMain = HookDeliverToMain;
    Hooks.MainHoldsCapture = HookMainCaptured;
    Hooks.ReleaseMainCapture = HookReleaseMainCapture;
    Hooks.SetMainActive = HookSetMainActive;
    Hooks.ShowStartView = HookShowStartView;
    Hooks.ShowGameView = HookShowGameView;
    Hooks.Hover = HookHover;
    Hooks.HeldButton = HookHeldButton;
    Hooks.Hotkey = HookHotkey;
    Hooks.TickCommandTimers = HookTickTimers;
}

void InstallInterfaceHooks(int Width, int Height) {
    RemoveInterface();
    MainWindowCallbacks callbacks;
    callbacks.ExitProgram = app::ExitProgram;
    callbacks.SetDisplayMode = app::SetDisplayMode;
    callbacks.OpenDocument = app::OpenDocument;
    Main = new MainWindow(Width, Height, callbacks);
    SetRootComponent(Main);
    DialogServices services;
    services.MainWindow = Main;
    SetDialogServices(services);
}

void RemoveInterface() {
    DestroyModalWindow();
    if (Main == nullptr) return;
    SetDialogServices(DialogServices{});
    SetRootComponent(nullptr);
    delete Main;
    Main = nullptr;
}

MainWindow* GetMainWindow() { return Main; }
