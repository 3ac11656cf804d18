#include "app/Interface.h"

#include "app/Application.h"
#include "app/Control.h"
#include "app/MainFrame.h"
#include "gui/Dialogs.h"
#include "gui/GUI.h"
#include "gui/MainWindow.h"

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
void HookDropTooltip() { SetTooltipText(nullptr); }
bool HookHotkey(int Code) { return DispatchHotkey(Code); }
void HookToggleFramerate() { frame::ToggleDiagnostics(); }
void HookTickTimers() { ComponentTimer::tick(); }
void HookPlaceModal(bool IsDialog, int X, int Y) { PlaceModalWindow(IsDialog, X, Y); }

}  // namespace

void DeliverToComponent(Component* C, const frame::Input& Input) {
    if (C == nullptr) return;
    using frame::InputKind;
    switch (Input.Kind) {
    case InputKind::PointerMove: C->mouseMove(Input.X, Input.Y); break;
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

    ControlHooks hooks = GetControlHooks();
    hooks.CarryOutEvent = CarryOutDialogEvent;
    hooks.PlaceModalWindow = HookPlaceModal;
    hooks.GetModalWindow = HookGetModal;
    hooks.GetModalOffset = HookModalOffset;
    hooks.DeliverToModal = HookDeliverToModal;
    hooks.DestroyModalWindow = HookDestroyModal;
    hooks.DeliverToMain = HookDeliverToMain;
    hooks.MainHoldsCapture = HookMainCaptured;
    hooks.ReleaseMainCapture = HookReleaseMainCapture;
    hooks.SetMainActive = HookSetMainActive;
    hooks.ShowStartView = HookShowStartView;
    hooks.ShowGameView = HookShowGameView;
    hooks.Hover = HookHover;
    hooks.HeldButton = HookHeldButton;
    hooks.DropTooltip = HookDropTooltip;
    hooks.Hotkey = HookHotkey;
    hooks.ToggleFramerate = HookToggleFramerate;
    hooks.TickCommandTimers = HookTickTimers;
    SetControlHooks(hooks);
}

void RemoveInterface() {
    DestroyModalWindow();
    if (Main == nullptr) return;
    // Only the interface's own hooks go; others stay installed.
    ControlHooks hooks = GetControlHooks();
    hooks.CarryOutEvent = nullptr;
    hooks.PlaceModalWindow = nullptr;
    hooks.GetModalWindow = nullptr;
    hooks.GetModalOffset = nullptr;
    hooks.DeliverToModal = nullptr;
    hooks.DestroyModalWindow = nullptr;
    hooks.DeliverToMain = nullptr;
    hooks.MainHoldsCapture = nullptr;
    hooks.ReleaseMainCapture = nullptr;
    hooks.SetMainActive = nullptr;
    hooks.ShowStartView = nullptr;
    hooks.ShowGameView = nullptr;
    hooks.Hover = nullptr;
    hooks.HeldButton = nullptr;
    hooks.DropTooltip = nullptr;
    hooks.Hotkey = nullptr;
    hooks.ToggleFramerate = nullptr;
    hooks.TickCommandTimers = nullptr;
    SetControlHooks(hooks);
    SetDialogServices(DialogServices{});
    SetRootComponent(nullptr);
    delete Main;
    Main = nullptr;
}

MainWindow* GetMainWindow() { return Main; }
