// Sections: the screen's components; events; purposeful moves; the actions.
#include "PlayerInput.h"

#include "app/Interface.h"
#include "app/MainFrame.h"
#include "core/Status.h"
#include "gui/windows/ConsoleWindow.h"
#include "gui/framework/ContextMenu.h"
#include "gui/framework/Dialogs.h"
#include "gui/framework/GUI.h"
#include "gui/windows/MainWindow.h"

#include <algorithm>
#include <cstdio>
#include <typeinfo>

namespace randomplayer {

using platform::Event;
using platform::EventKind;

namespace {
constexpr int SHIFT = 1, CTRL = 2, ALT = 4;
// An event of this kind in the plan ends the pass: what follows waits for the next one.
constexpr EventKind PASS = EventKind::None;

Dialog* ModalDialog() { return dynamic_cast<Dialog*>(GetModalWindow()); }
}  // namespace

PlayerInput::PlayerInput(Rng Chance, const InputSettings& TheSettings) : R(Chance), Settings(TheSettings) {}

const std::vector<PlayerInput::Action>& PlayerInput::Actions() {
    static const std::vector<Action> Table = {
        {"click", 250, &PlayerInput::Click},
        {"double-click", 40, &PlayerInput::DoubleClick},
        {"right-click", 90, &PlayerInput::RightClick},
        {"both-buttons", 15, &PlayerInput::BothButtons},
        {"drag", 70, &PlayerInput::Drag},
        {"wheel", 40, &PlayerInput::Wheel},
        {"hover", 15, &PlayerInput::Hover},
        {"move", 40, &PlayerInput::PointerMove},
        {"key", 150, &PlayerInput::PressKey},
        {"type", 70, &PlayerInput::Type},
        {"console-command", 20, &PlayerInput::ConsoleCommand},
        {"resize", 12, &PlayerInput::Resize},
        {"focus", 6, &PlayerInput::Focus},
        {"minimize", 3, &PlayerInput::Minimize},
        {"fullscreen", 4, &PlayerInput::Fullscreen},
        {"display-change", 1, &PlayerInput::DisplayChange},
        {"close", 1, &PlayerInput::CloseWindow},
        {"capture-lost", 3, &PlayerInput::CaptureLost},
    };
    return Table;
}

const std::vector<std::string>& PlayerInput::ActionNames() {
    static std::vector<std::string> Names = [] {
        std::vector<std::string> N;
        for (const Action& A : Actions()) N.push_back(A.Name);
        N.push_back("purpose");
        N.push_back("drag-dialog");
        N.push_back("console-select");
        N.push_back("close-in-game");
        return N;
    }();
    return Names;
}

int PlayerInput::Step() {
    Wait = R.percent(80) ? R.range(1, 40) : R.range(40, 400);
    if (R.oneIn(200)) Wait = R.range(1000, 20000);  // the player looks away
    if (Plan.empty()) {
        if (Settings.Skip.count("purpose") || !Purpose()) {
            std::vector<int> Weights;
            for (const Action& A : Actions()) {
                int W = Settings.Skip.count(A.Name) ? 0 : A.Weight;
                // The soak keeps the first window as it is and never asks to close it.
                const std::string Name = A.Name;
                if (Settings.Live && (Name == "resize" || Name == "minimize" || Name == "fullscreen" ||
                                      Name == "display-change" || Name == "close"))
                    W = 0;
                Weights.push_back(W);
            }
            // Input comes seldom: most passes only let time go by.
            if (R.percent(55)) {
                const int Chosen = R.weighted(Weights);
                if (Chosen >= 0) {
                    Last = Actions()[size_t(Chosen)].Name;
                    (this->*Actions()[size_t(Chosen)].Do)();
                }
            }
        }
    }
    while (!Plan.empty()) {
        const Event E = Plan.front();
        Plan.pop_front();
        if (E.Kind == PASS) break;
        if (Settings.Trace)
            std::fprintf(stderr, "  event %d key %d char %d at %d,%d button %d delta %d size %dx%d active %d\n", int(E.Kind),
                         int(E.KeyCode), E.Character, E.X, E.Y, E.Button, E.Delta, E.Width, E.Height, E.Active ? 1 : 0);
        platform::headless::InjectEvent(E);
    }
    // Each pass shows a frame: the picture is asked for as if uncovered.
    Event Exposed;
    Exposed.Kind = EventKind::Exposed;
    platform::headless::InjectEvent(Exposed);
    return Wait;
}

// ==== The screen's components =============================================================

void PlayerInput::Collect(Component* C, int X, int Y, std::vector<Target>& Into) {
    if (C == nullptr) return;
    const int Scale = std::max(frame::GetScale(), 1);
    if (C->getWidth() > 0 && C->getHeight() > 0)
        Into.push_back({C, X * Scale, Y * Scale, C->getWidth() * Scale, C->getHeight() * Scale});
    // Only composites have children (a leaf reports the question as a fault).
    const CompositeComponent* Composite = dynamic_cast<const CompositeComponent*>(C);
    if (Composite == nullptr) return;
    for (Component* Child = Composite->getFirstChild(); Child != nullptr; Child = Child->getNextSibling())
        Collect(Child, X + Child->getX(), Y + Child->getY(), Into);
}

std::vector<PlayerInput::Target> PlayerInput::Targets(bool ModalOnly) {
    std::vector<Target> All;
    if (Component* Modal = GetModalWindow()) Collect(Modal, Modal->getX(), Modal->getY(), All);
    if (!ModalOnly || All.empty())
        if (Component* Root = GetRootComponent()) Collect(Root, Root->getX(), Root->getY(), All);
    return All;
}

// A point of a component (its middle or anywhere on it), or anywhere in the
// window, now and then just outside it.
void PlayerInput::PointAt(int& X, int& Y) {
    Aimed = nullptr;
    const int Scale = std::max(frame::GetScale(), 1);
    Component* Root = GetRootComponent();
    const int Width = Root ? Root->getWidth() * Scale : 600, Height = Root ? Root->getHeight() * Scale : 450;
    if (R.percent(85)) {
        const std::vector<Target> All = Targets(R.percent(80));
        if (!All.empty()) {
            const Target& T = All[size_t(R.below(int(All.size())))];
            Aimed = T.C;
            if (Settings.Trace)
                std::fprintf(stderr, "  aim at %s at %d,%d size %dx%d\n", typeid(*T.C).name(), T.X, T.Y, T.Width, T.Height);
            if (R.oneIn(2)) {
                X = T.X + T.Width / 2;
                Y = T.Y + T.Height / 2;
            } else {
                X = T.X + R.below(T.Width);
                Y = T.Y + R.below(T.Height);
            }
            return;
        }
    }
    X = R.range(-5, Width + 5);
    Y = R.range(-5, Height + 5);
}

// A point to press on (PointAt), unless a workaround keeps presses away from it.
bool PlayerInput::Aim(int& X, int& Y) {
    PointAt(X, Y);
    if (Settings.Skip.count("console-select") && OnConsole(X, Y)) return false;
    return !SelectsAll(X, Y);
}

// Whether the point lies on the open dialog (a workaround switches such drags off).
bool PlayerInput::OnDialog(int X, int Y) {
    const Dialog* D = ModalDialog();
    if (D == nullptr) return false;
    const int Scale = std::max(frame::GetScale(), 1);
    return X >= D->getX() * Scale && Y >= D->getY() * Scale && X < (D->getX() + D->getWidth()) * Scale &&
           Y < (D->getY() + D->getHeight()) * Scale;
}

// Whether the point lies on the console (a workaround switches presses there off).
bool PlayerInput::OnConsole(int X, int Y) {
    MainWindow* Main = GetMainWindow();
    const Component* Console = Main && Main->getGameView() ? Main->getGameView()->getConsole() : nullptr;
    if (Console == nullptr || GetModalWindow() != nullptr) return false;
    int CX = 0, CY = 0;
    Console->getAbsolutePosition(CX, CY);
    const int Scale = std::max(frame::GetScale(), 1);
    return X >= CX * Scale && Y >= CY * Scale && X < (CX + Console->getWidth()) * Scale &&
           Y < (CY + Console->getHeight()) * Scale;
}

// Whether the point lies on a menu's "Select All" (the console's selection
// fault is reached through it; the workaround "console-select" avoids it).
bool PlayerInput::SelectsAll(int X, int Y) {
    if (!Settings.Skip.count("console-select")) return false;
    std::vector<Target> All;
    if (Component* Modal = GetModalWindow()) Collect(Modal, Modal->getX(), Modal->getY(), All);
    for (const Target& T : All) {
        const MenuEntry* E = dynamic_cast<const MenuEntry*>(T.C);
        if (E != nullptr && E->getText() == "Select All" && X >= T.X && Y >= T.Y && X < T.X + T.Width &&
            Y < T.Y + T.Height)
            return true;
    }
    return false;
}

// ==== Events =================================================================================

void PlayerInput::Emit(Event E) { Plan.push_back(E); }

void PlayerInput::Move(int X, int Y) {
    Event E;
    E.Kind = EventKind::PointerMove;
    E.X = X;
    E.Y = Y;
    Emit(E);
}

// Whether the point lies on the start view's "Exit Game".
bool PlayerInput::OnExitButton(int X, int Y) {
    MainWindow* Main = GetMainWindow();
    const Component* Exit = Main && Main->getStartView() ? Main->getStartView()->getButton(StartView::BUTTONS - 1) : nullptr;
    if (Exit == nullptr || GetModalWindow() != nullptr || GetConnectionState() == STATE_GAME) return false;
    int EX = 0, EY = 0;
    Exit->getAbsolutePosition(EX, EY);
    const int Scale = std::max(frame::GetScale(), 1);
    return X >= EX * Scale && Y >= EY * Scale && X < (EX + Exit->getWidth()) * Scale && Y < (EY + Exit->getHeight()) * Scale;
}

void PlayerInput::Button(EventKind Kind, int X, int Y, int Number) {
    // The soak never ends the program.
    if (Settings.Live && OnExitButton(X, Y)) return;
    // The workaround "console-select": no press on the console, whatever
    // action (or purpose) aimed there.
    if ((Kind == EventKind::ButtonDown || Kind == EventKind::DoubleClick) && Settings.Skip.count("console-select") &&
        (OnConsole(X, Y) || SelectsAll(X, Y)))
        return;
    Event E;
    E.Kind = Kind;
    E.X = X;
    E.Y = Y;
    E.Button = Number;
    Emit(E);
}

void PlayerInput::Press(platform::Key K, int Character, bool Extended) {
    Event E;
    E.Kind = EventKind::KeyDown;
    E.KeyCode = K;
    E.Character = Character;
    E.Extended = Extended;
    Emit(E);
    E.Kind = EventKind::KeyUp;
    Emit(E);
}

int PlayerInput::Modifiers() {
    int Held = 0;
    if (R.percent(70)) return 0;
    if (R.percent(50)) Held |= SHIFT;
    if (R.percent(50)) Held |= CTRL;
    if (R.percent(35)) Held |= ALT;
    static const platform::Key Keys[3] = {platform::Key::Shift, platform::Key::Control, platform::Key::Alt};
    for (int i = 0; i < 3; i++) {
        if (!(Held & (1 << i))) continue;
        Event E;
        E.Kind = EventKind::KeyDown;
        E.KeyCode = Keys[i];
        Emit(E);
    }
    return Held;
}

void PlayerInput::Release(int Held) {
    // Now and then a release is lost (the key went up in another window);
    // not in the soak, whose window must stay as it is (Alt would stay held,
    // and the next Enter would switch to full screen).
    if (!Settings.Live && R.oneIn(100)) return;
    static const platform::Key Keys[3] = {platform::Key::Shift, platform::Key::Control, platform::Key::Alt};
    for (int i = 2; i >= 0; i--) {
        if (!(Held & (1 << i))) continue;
        Event E;
        E.Kind = EventKind::KeyUp;
        E.KeyCode = Keys[i];
        Emit(E);
    }
}

void PlayerInput::TypeText(const std::string& Text) {
    for (char c : Text) {
        Event E;
        E.Kind = EventKind::Text;
        E.Character = static_cast<unsigned char>(c);
        if (E.Character == '\n') {
            Press(platform::Key::Return);
            continue;
        }
        if (E.Character == 0) continue;
        Emit(E);
        if (R.oneIn(8)) Emit(Event{});  // the next characters come a pass later
    }
}

// ==== Purposeful moves ======================================================================

// Enters the game as a player does: Enter Game, the account and password,
// the character. False when there is nothing to do on the way in (or the
// player does something else this time).
bool PlayerInput::Purpose() {
    if (!R.percent(Settings.Live ? 60 : 25)) return false;
    Dialog* D = ModalDialog();
    const std::string Caption = D ? D->getCaption() : std::string();
    if (D == nullptr && GetModalWindow() == nullptr && GetConnectionState() == STATE_OFFLINE) {
        MainWindow* Main = GetMainWindow();
        if (Main == nullptr || Main->getStartView() == nullptr) return false;
        const Component* Enter = Main->getStartView()->getButton(0);
        int X = 0, Y = 0;
        Enter->getAbsolutePosition(X, Y);
        const int Scale = std::max(frame::GetScale(), 1);
        X = (X + Enter->getWidth() / 2) * Scale;
        Y = (Y + Enter->getHeight() / 2) * Scale;
        Move(X, Y);
        Button(EventKind::ButtonDown, X, Y, 1);
        Button(EventKind::ButtonUp, X, Y, 1);
        Last = "purpose: enter game";
        return true;
    }
    if (D != nullptr && dynamic_cast<LoginBody*>(D->getBody()) != nullptr) {
        // The account field has the focus when the dialog opens.
        std::string Account = Settings.Account, Password = Settings.Password;
        if (Account.empty()) {
            Account = std::to_string(R.range(1, 999999999));
            Password = R.name();
        }
        for (int i = 0; i < 12; i++) Press(platform::Key::Backspace);
        TypeText(Account);
        Press(platform::Key::Tab);
        for (int i = 0; i < 32; i++) Press(platform::Key::Backspace);
        TypeText(Password);
        Press(platform::Key::Return);
        Last = "purpose: log in";
        return true;
    }
    if (Caption == "Select Character" || Caption == "Message of the Day" || Caption == "For your Information" ||
        Caption == "Sorry" || Caption == "Connection failed") {
        Press(platform::Key::Return);
        Last = "purpose: answer " + Caption;
        return true;
    }
    // Any other dialog is answered now and then: Enter, Escape, or one of its buttons.
    if (D != nullptr && R.oneIn(4)) {
        const int How = R.below(3);
        TextButton* Buttons[3] = {D->getDefaultButton(), D->getCancelButton(), D->getExtraButton()};
        TextButton* B = Buttons[R.below(3)];
        if (How == 0 || B == nullptr) {
            Press(platform::Key::Return);
        } else if (How == 1) {
            Press(platform::Key::Escape);
        } else {
            int X = 0, Y = 0;
            B->getAbsolutePosition(X, Y);
            const int Scale = std::max(frame::GetScale(), 1);
            X = (X + B->getWidth() / 2) * Scale;
            Y = (Y + B->getHeight() / 2) * Scale;
            Move(X, Y);
            Button(EventKind::ButtonDown, X, Y, 1);
            Button(EventKind::ButtonUp, X, Y, 1);
        }
        Last = "purpose: answer " + Caption;
        return true;
    }
    return false;
}

// ==== The actions =============================================================================

void PlayerInput::Click() {
    int X, Y;
    if (!Aim(X, Y)) return;
    // "Exit Game" ends the run: seldom (and never in the soak).
    if (OnExitButton(X, Y) && !R.oneIn(20)) return;
    const int Held = Modifiers();
    Move(X, Y);
    Button(EventKind::ButtonDown, X, Y, 1);
    if (R.oneIn(3)) Emit(Event{});
    Button(EventKind::ButtonUp, X, Y, 1);
    Release(Held);
}

void PlayerInput::DoubleClick() {
    int X, Y;
    if (!Aim(X, Y)) return;
    const int Held = Modifiers();
    Move(X, Y);
    Button(EventKind::ButtonDown, X, Y, 1);
    Button(EventKind::ButtonUp, X, Y, 1);
    Button(EventKind::DoubleClick, X, Y, 1);
    Button(EventKind::ButtonUp, X, Y, 1);
    Release(Held);
}

void PlayerInput::RightClick() {
    int X, Y;
    if (!Aim(X, Y)) return;
    const int Held = Modifiers();
    Move(X, Y);
    Button(EventKind::ButtonDown, X, Y, 2);
    Button(EventKind::ButtonUp, X, Y, 2);
    Release(Held);
}

// Both buttons, in any order (the classic control's look and menus).
void PlayerInput::BothButtons() {
    int X, Y;
    if (!Aim(X, Y)) return;
    Move(X, Y);
    const int First = R.range(1, 2), Second = 3 - First;
    Button(EventKind::ButtonDown, X, Y, First);
    Button(EventKind::ButtonDown, X, Y, Second);
    const int Up = R.range(1, 2);
    Button(EventKind::ButtonUp, X, Y, Up);
    Button(EventKind::ButtonUp, X, Y, 3 - Up);
}

// From one point to another over a few passes, with Ctrl or Shift now and then.
void PlayerInput::Drag() {
    int X, Y, ToX, ToY;
    if (!Aim(X, Y) || !Aim(ToX, ToY)) return;
    if (Settings.Skip.count("drag-dialog") && OnDialog(X, Y)) return;
    const int Held = Modifiers();
    Move(X, Y);
    const int Number = R.oneIn(8) ? 2 : 1;
    Button(EventKind::ButtonDown, X, Y, Number);
    const int Steps = R.range(1, 6);
    for (int i = 1; i <= Steps; i++) {
        Emit(Event{});
        Move(X + (ToX - X) * i / Steps, Y + (ToY - Y) * i / Steps);
    }
    if (R.oneIn(10)) {
        // The other button too, in the middle of the drag.
        Button(EventKind::ButtonDown, ToX, ToY, 3 - Number);
        Button(EventKind::ButtonUp, ToX, ToY, 3 - Number);
    }
    Button(EventKind::ButtonUp, ToX, ToY, Number);
    Release(Held);
}

void PlayerInput::Wheel() {
    int X, Y;
    PointAt(X, Y);
    const int Held = Modifiers();
    Move(X, Y);
    Event E;
    E.Kind = EventKind::Wheel;
    E.X = X;
    E.Y = Y;
    static const int Deltas[] = {120, -120, 240, -240, 60, -60, 1200, -1200};
    E.Delta = Deltas[R.below(8)];
    Emit(E);
    Release(Held);
}

void PlayerInput::Hover() {
    int X, Y;
    PointAt(X, Y);
    Move(X, Y);
    Wait = R.range(1000, 2500);
}

void PlayerInput::PointerMove() {
    int X, Y;
    PointAt(X, Y);
    Move(X, Y);
}

void PlayerInput::PressKey() {
    using platform::Key;
    static const Key Specials[] = {Key::F1,     Key::F2,       Key::F3,       Key::F4,       Key::F5,     Key::F6,
                                   Key::F7,     Key::F8,       Key::F9,       Key::F10,      Key::F11,    Key::F12,
                                   Key::Up,     Key::Left,     Key::Right,    Key::Down,     Key::Insert, Key::Delete,
                                   Key::Home,   Key::End,      Key::PageUp,   Key::PageDown, Key::Return, Key::Escape,
                                   Key::Backspace, Key::Tab,   Key::KeypadCenter};
    const int Held = Modifiers();
    if (R.percent(60)) {
        const platform::Key K = Specials[R.below(27)];
        // Alt+F4 asks to close the window, which in the game opens the warning.
        // (A lost release may have left Alt held, so F4 alone counts too.)
        if (K == Key::F4 && (Settings.Live || (Settings.Skip.count("close-in-game") && GetConnectionState() == STATE_GAME))) {
            Release(Held);
            return;
        }
        Press(K, 0, R.oneIn(2));
    } else {
        // A character key: with Ctrl its letter comes with the key, otherwise as text.
        const int c = R.oneIn(10) ? R.range(0xA0, 0xFF) : "abcdefghijklmnopqrstuvwxyz0123456789 .,#*@$"[R.below(43)];
        Press(Key::Character, c);
        if (!(Held & CTRL) || (Held & ALT)) {
            Event E;
            E.Kind = EventKind::Text;
            E.Character = (Held & SHIFT) && c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
            Emit(E);
        }
    }
    Release(Held);
}

void PlayerInput::Type() {
    TypeText(R.text(R.oneIn(10) ? 400 : 30));
    if (R.percent(60)) Press(platform::Key::Return);
}

// What players type into the console: speech with its prefixes, private
// messages, invitations to the own channel.
void PlayerInput::ConsoleCommand() {
    static const char* const Prefixes[] = {"#s ", "#w ", "#y ", "#b ", "#a ", "#c ", "#d ", "#i ", "#x ", "#q ",
                                           "*",   "@",   "$",   "**",  "",    "  "};
    std::string Line = Prefixes[R.below(16)];
    if (Line == "*" || Line == "@" || Line == "$") Line += R.name() + Line + " ";
    Line += R.text(40);
    TypeText(Line);
    Press(platform::Key::Return);
}

void PlayerInput::Resize() {
    Event E;
    E.Kind = EventKind::Resize;
    // From the minimum to a large screen; now and then below the minimum (a
    // window manager that does not honour it).
    E.Width = R.range(550, 2560);
    E.Height = R.range(450, 1440);
    if (R.oneIn(4)) {
        static const int Sizes[][2] = {{550, 450}, {1100, 900}, {1650, 1350}, {1200, 900}, {2560, 1440}, {551, 451}};
        E.Width = Sizes[R.below(6)][0];
        E.Height = Sizes[R.below(6)][1];
    }
    if (R.oneIn(15)) {
        E.Width = R.range(100, 549);
        E.Height = R.range(100, 449);
    }
    Emit(E);
}

void PlayerInput::Focus() {
    Event E;
    E.Kind = EventKind::Activate;
    E.Active = false;
    Emit(E);
    Emit(Event{});
    E.Active = true;
    Emit(E);
}

void PlayerInput::Minimize() {
    Event E;
    E.Kind = EventKind::Minimized;
    Emit(E);
    for (int n = R.range(1, 5); n > 0; n--) Emit(Event{});
    E.Kind = EventKind::Restored;
    Emit(E);
}

void PlayerInput::Fullscreen() {
    Event E;
    E.Kind = EventKind::KeyDown;
    E.KeyCode = platform::Key::Alt;
    Emit(E);
    Press(platform::Key::Return);
    E.Kind = EventKind::KeyUp;
    Emit(E);
}

void PlayerInput::DisplayChange() {
    static const int Screens[][2] = {{1920, 1080}, {2560, 1440}, {1280, 1024}, {1024, 768}, {800, 600}, {3840, 2160}};
    const int* S = Screens[R.below(6)];
    platform::headless::SetScreenSize(S[0], S[1]);
    platform::headless::SetUsableArea(0, 0, S[0], S[1] - 40);
    Event E;
    E.Kind = EventKind::DisplayChanged;
    E.Width = S[0];
    E.Height = S[1];
    Emit(E);
}

void PlayerInput::CloseWindow() {
    if (Settings.Skip.count("close-in-game") && GetConnectionState() == STATE_GAME) return;
    // Out of the game the window closes at once, which ends the run: seldom.
    if (GetConnectionState() != STATE_GAME && !R.oneIn(40)) return;
    Event E;
    E.Kind = EventKind::CloseRequest;
    Emit(E);
}

void PlayerInput::CaptureLost() {
    int X, Y;
    PointAt(X, Y);
    Move(X, Y);
    Button(EventKind::ButtonDown, X, Y, R.range(1, 2));
    Event E;
    E.Kind = EventKind::CaptureLost;
    Emit(E);
}

}  // namespace randomplayer
