#include "app/Interface.h"

#include "app/Application.h"
#include "app/Control.h"
#include "app/MainFrame.h"
#include "core/Redraw.h"
#include "graphics/Surface.h"
#include "gui/windows/ContainerWindow.h"
#include "gui/framework/Dialogs.h"
#include "gui/framework/GUI.h"
#include "gui/help/HelpMode.h"
#include "gui/windows/MainWindow.h"
#include "gui/help/EventHints.h"
#include "gui/windows/ObjectSlot.h"
#include "gui/windows/TradeWindow.h"

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
// Entering the game: the people and places that raise hints are read anew
// (the file may have changed between two games), and a help popup left
// from before goes.
void HookStartHints() {
    LoadHintTriggers(HINT_TRIGGERS_FILE);
    CloseHelpPointer();
}

// The player chose another interface size: the window is drawn at the new
// scale at once, the interface laid out at its new size and the dialog the
// choice was made in centred again, so that it stays under the pointer's
// reach rather than in a corner of the larger (or smaller) layout.
void HookApplyInterfaceSize() {
    frame::UpdateScale();
    int x = 0, y = 0, Width = 0, Height = 0;
    GetSurfaceRect(PRIMARY_SURFACE, &x, &y, &Width, &Height);
    if (Main != nullptr && Width > 0 && Height > 0) Main->setSize(Width, Height);
    PlaceModalWindow(true, 0, 0);
    RequestRedraw();
}

// The content windows follow the containers and the trade that the message
// has just changed.
void HookAfterGameCommand(int Command) {
    switch (Command) {
    case 110:
    case 111: UpdateContainerWindows(); break;
    case 125: OpenTradeWindow(); break;
    case 126: RefreshTradeWindow(); break;
    case 127: CloseTradeWindow(); break;
    default: break;
    }
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
        // The slot under the pointer claims its drag outline anew.
        ForgetSlotUnderPointer();
        C->mouseMove(Input.X, Input.Y);
        SetPointerKind(GetPointerShape());
        break;
    case InputKind::LeftDown:
        // A press offers a drag source only where it lands on one.
        ClearDraggedObject();
        C->leftButtonDown(Input.X, Input.Y, Input.Flags);
        break;
    case InputKind::LeftUp: C->leftButtonUp(Input.X, Input.Y, Input.Flags); break;
    case InputKind::LeftDoubleClick:
        ClearDraggedObject();
        C->leftDoubleClick(Input.X, Input.Y, Input.Flags);
        break;
    // Components act on the right button's release only.
    case InputKind::RightDown: break;
    case InputKind::RightUp: C->rightButtonUp(Input.X, Input.Y, Input.Flags); break;
    case InputKind::Wheel: C->mouseRepeat(Input.X, Input.Y, Input.Code); break;
    case InputKind::Key: C->keyPress(Input.Code); break;
    }
}

void AddInterfaceHooks(ControlHooks& Hooks) {
    Hooks.CarryOutEvent = CarryOutDialogEvent;
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
    Hooks.HelpPointerMove = HelpPointerMove;
    Hooks.CloseHelpPointer = CloseHelpPointer;
    Hooks.ResetHelpPointer = ResetHelpPointer;
    Hooks.StartHints = HookStartHints;
    Hooks.AfterGameCommand = HookAfterGameCommand;
}

void InstallInterfaceHooks(int Width, int Height) {
    RemoveInterface();
    MainWindowCallbacks callbacks;
    callbacks.ExitProgram = app::ExitProgram;
    callbacks.SetDisplayMode = app::SetDisplayMode;
    callbacks.GetDisplayMode = app::GetDisplayMode;
    callbacks.OpenDocument = app::OpenDocument;
    Main = new MainWindow(Width, Height, callbacks);
    SetRootComponent(Main);
    DialogServices services;
    services.MainWindow = Main;
    services.SetDisplayMode = app::SetDisplayMode;
    services.GetDisplayMode = app::GetDisplayMode;
    services.OpenDocument = app::OpenDocument;
    services.ApplyInterfaceSize = HookApplyInterfaceSize;
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
