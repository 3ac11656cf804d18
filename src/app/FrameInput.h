// Turns the platform's input records into the program's own input: key codes
// with modifier flags, button presses with pointer capture, wheel steps.
#pragma once

#include "platform/Platform.h"

namespace frame {

inline constexpr int FLAG_SHIFT = 512;
inline constexpr int FLAG_CTRL = 1024;
inline constexpr int FLAG_ALT = 2048;

inline constexpr int KEY_F1 = 256;  // F1..F12 are 256..267
inline constexpr int KEY_UP = 268;
inline constexpr int KEY_LEFT = 269;
inline constexpr int KEY_RIGHT = 270;
inline constexpr int KEY_DOWN = 271;
inline constexpr int KEY_INSERT = 272;
inline constexpr int KEY_DELETE = 273;
inline constexpr int KEY_HOME = 274, KEY_END = 275, KEY_PAGEUP = 276, KEY_PAGEDOWN = 277;  // cursor block
inline constexpr int KEY_PAD_END = 278, KEY_PAD_PAGEDOWN = 279, KEY_PAD_HOME = 280, KEY_PAD_PAGEUP = 281;

inline constexpr int WHEEL_STEP = 120;

enum class InputKind { PointerMove, LeftDown, LeftUp, LeftDoubleClick, RightDown, RightUp, Wheel, Key };

struct Input {
    InputKind Kind;
    int X = 0, Y = 0;
    int Flags = 0;  // modifier flags
    int Code = 0;   // key code (with the flags or-ed in) or wheel direction (1 up, 2 down)
};

using InputHandler = void (*)(const Input& input);
// The receiver of all input (the connection control installs it).
void SetInputHandler(InputHandler handler);
// Called for Alt+F4 and close requests; defaults to closing the window.
void SetCloseHandler(void (*handler)());

// The key code of a key-down record, without flags; 0 when the key has none
// (its character arrives as text instead).
int TranslateKey(const platform::Event& event);

// Feeds one platform record through the translation.
void HandleInputEvent(const platform::Event& event);
// Pointer positions are divided by the window's integer scale.
void SetInputScale(int scale);
// Alt+F8: toggles the diagnostics and reaches nobody else.
inline constexpr int KEY_DIAGNOSTICS = (KEY_F1 + 7) | FLAG_ALT;
int ModifierFlags();
bool PointerCaptured();
void ResetInput();

}  // namespace frame
