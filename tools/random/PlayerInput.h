// The random player's hands: platform events as a player and his window
// system give them. Pointer actions aim at random points and at the points of
// the components on the screen (buttons, list lines, slots, tabs, menu
// entries, the map), found by walking the component tree; keys come with
// every modifier; the window is resized, loses the focus, is minimised,
// goes full screen and is asked to close. Now and then the player means
// something: he enters the game through the dialogs.
#pragma once

#include "Rng.h"

#include "platform/Platform.h"

#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <vector>

class Component;

namespace randomplayer {

struct InputSettings {
    // Live soak: the window keeps its size and place, and nothing asks to close it.
    bool Live = false;
    // Typed into the login dialog when set (else a random account).
    std::string Account, Password;
    std::set<std::string> Skip;  // actions switched off by name
    bool Trace = false;          // every event to standard error
};

class PlayerInput {
  public:
    PlayerInput(Rng Chance, const InputSettings& Settings);
    // Queues this pass's events on the headless platform. Returns the time
    // the player waits before the next pass, in milliseconds (the clock's
    // step: a hover rests, typing is quick).
    int Step();
    const std::string& LastAction() const { return Last; }
    static const std::vector<std::string>& ActionNames();

  private:
    struct Target {
        Component* C;
        int X, Y, Width, Height;  // window pixels
    };
    struct Action {
        const char* Name;
        int Weight;
        void (PlayerInput::*Do)();
    };
    static const std::vector<Action>& Actions();

    void Collect(Component* C, int X, int Y, std::vector<Target>& Into);
    std::vector<Target> Targets(bool ModalOnly);
    void PointAt(int& X, int& Y);
    bool Aim(int& X, int& Y);
    bool OnDialog(int X, int Y);
    bool OnConsole(int X, int Y);
    bool SelectsAll(int X, int Y);
    bool OnExitButton(int X, int Y);
    void Emit(platform::Event E);
    void Press(platform::Key K, int Character = 0, bool Extended = true);
    int Modifiers();  // presses a random set of Shift, Ctrl, Alt; returns it
    void Release(int Held);
    void Move(int X, int Y);
    void Button(platform::EventKind Kind, int X, int Y, int Number);
    void TypeText(const std::string& Text);
    bool Purpose();

    void Click();
    void DoubleClick();
    void RightClick();
    void BothButtons();
    void Drag();
    void Wheel();
    void Hover();
    void PointerMove();
    void PressKey();
    void Type();
    void ConsoleCommand();
    void Resize();
    void Focus();
    void Minimize();
    void Fullscreen();
    void DisplayChange();
    void CloseWindow();
    void CaptureLost();

    Rng R;
    InputSettings Settings;
    std::deque<platform::Event> Plan;  // events of an action that spans passes
    std::string Last;
    Component* Aimed = nullptr;  // the component PointAt chose, if any
    int Wait = 0;
    int ScreenWidth = 1920, ScreenHeight = 1080;
    bool Minimised = false;
};

}  // namespace randomplayer
