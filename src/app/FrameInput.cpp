#include "app/FrameInput.h"

#include "app/MainFrame.h"

namespace frame {

namespace {
InputHandler Handler = nullptr;
void (*CloseHandler)() = nullptr;
int Flags = 0;
bool LeftHeld = false, RightHeld = false;
int WheelRemainder = 0;
int LastX = 0, LastY = 0;
int Scale = 1;

void Deliver(InputKind kind, int x, int y, int code = 0) {
    if (kind == InputKind::Key && code == KEY_DIAGNOSTICS) {
        ToggleDiagnostics();
        return;
    }
    if (!Handler) return;
    Input input{kind, x, y, Flags, code};
    Handler(input);
}

int FlagOf(platform::Key key) {
    switch (key) {
    case platform::Key::Shift: return FLAG_SHIFT;
    case platform::Key::Control: return FLAG_CTRL;
    case platform::Key::Alt: return FLAG_ALT;
    default: return 0;
    }
}

void Press(int button, int x, int y, InputKind kind) {
    bool& held = button == 1 ? LeftHeld : RightHeld;
    bool other = button == 1 ? RightHeld : LeftHeld;
    if (!other) platform::CapturePointer(true);
    held = true;
    Deliver(kind, x, y);
}

void Release(int button, int x, int y) {
    (button == 1 ? LeftHeld : RightHeld) = false;
    if (!LeftHeld && !RightHeld) platform::CapturePointer(false);
    Deliver(button == 1 ? InputKind::LeftUp : InputKind::RightUp, x, y);
}

void Character(int c) {
    // Ctrl alone turns letters into control characters on most systems; the
    // program wants the letter itself with the Ctrl flag.
    bool ctrl = (Flags & FLAG_CTRL) != 0, alt = (Flags & FLAG_ALT) != 0;
    if (ctrl && !alt) {
        if (c >= 1 && c <= 26) c = 'a' + c - 1;
        else if (c >= 'A' && c <= 'Z') c = c - 'A' + 'a';
        else if (!(c >= 'a' && c <= 'z')) return;
    }
    if (c >= 1 && c < 256) Deliver(InputKind::Key, LastX, LastY, c | Flags);
}
}  // namespace

void SetInputHandler(InputHandler handler) { Handler = handler; }
void SetCloseHandler(void (*handler)()) { CloseHandler = handler; }
int ModifierFlags() { return Flags; }
bool PointerCaptured() { return LeftHeld || RightHeld; }

void ResetInput() {
    Flags = 0;
    LeftHeld = RightHeld = false;
    WheelRemainder = 0;
    LastX = LastY = 0;
}

int TranslateKey(const platform::Event& event) {
    using platform::Key;
    Key k = event.KeyCode;
    if (k >= Key::F1 && k <= Key::F12) return KEY_F1 + (static_cast<int>(k) - static_cast<int>(Key::F1));
    switch (k) {
    case Key::Up: return KEY_UP;
    case Key::Left: return KEY_LEFT;
    case Key::Right: return KEY_RIGHT;
    case Key::Down: return KEY_DOWN;
    case Key::Insert: return KEY_INSERT;
    case Key::Delete: return KEY_DELETE;
    case Key::Home: return event.Extended ? KEY_HOME : KEY_PAD_HOME;
    case Key::End: return event.Extended ? KEY_END : KEY_PAD_END;
    case Key::PageUp: return event.Extended ? KEY_PAGEUP : KEY_PAD_PAGEUP;
    case Key::PageDown: return event.Extended ? KEY_PAGEDOWN : KEY_PAD_PAGEDOWN;
    case Key::Return: return (Flags & FLAG_ALT) ? 13 : 0;
    default: return 0;
    }
}

void SetInputScale(int scale) { Scale = scale > 0 ? scale : 1; }

void HandleInputEvent(const platform::Event& original) {
    using platform::EventKind;
    using platform::Key;
    platform::Event e = original;
    e.X /= Scale;
    e.Y /= Scale;
    switch (e.Kind) {
    case EventKind::PointerMove:
        LastX = e.X;
        LastY = e.Y;
        Deliver(InputKind::PointerMove, e.X, e.Y);
        break;
    case EventKind::ButtonDown:
        LastX = e.X;
        LastY = e.Y;
        Press(e.Button, e.X, e.Y, e.Button == 1 ? InputKind::LeftDown : InputKind::RightDown);
        break;
    case EventKind::DoubleClick:
        LastX = e.X;
        LastY = e.Y;
        Press(1, e.X, e.Y, InputKind::LeftDoubleClick);
        break;
    case EventKind::ButtonUp:
        LastX = e.X;
        LastY = e.Y;
        Release(e.Button, e.X, e.Y);
        break;
    case EventKind::CaptureLost:
        if (LeftHeld) Release(1, LastX, LastY);
        if (RightHeld) Release(2, LastX, LastY);
        break;
    case EventKind::Wheel:
        WheelRemainder += e.Delta;
        while (WheelRemainder >= WHEEL_STEP) {
            WheelRemainder -= WHEEL_STEP;
            Deliver(InputKind::Wheel, LastX, LastY, 1);
        }
        while (WheelRemainder <= -WHEEL_STEP) {
            WheelRemainder += WHEEL_STEP;
            Deliver(InputKind::Wheel, LastX, LastY, 2);
        }
        break;
    case EventKind::KeyDown: {
        if (int flag = FlagOf(e.KeyCode)) {
            Flags |= flag;
            Deliver(InputKind::Key, LastX, LastY, Flags);
            break;
        }
        if (e.KeyCode == Key::F4) {
            if ((Flags & FLAG_ALT) && CloseHandler) CloseHandler();
            break;
        }
        if (int code = TranslateKey(e)) {
            Deliver(InputKind::Key, LastX, LastY, code | Flags);
            break;
        }
        // Keys whose characters never arrive as text on this platform.
        switch (e.KeyCode) {
        case Key::Return: Character(13); break;
        case Key::Escape: Character(27); break;
        case Key::Backspace: Character(8); break;
        case Key::Tab: Character(9); break;
        case Key::Character:
            if ((Flags & FLAG_CTRL) && !(Flags & FLAG_ALT)) Character(e.Character);
            break;
        default: break;
        }
        break;
    }
    case EventKind::KeyUp:
        Flags &= ~FlagOf(e.KeyCode);
        break;
    case EventKind::Text:
        // With Ctrl alone the key-down record already gave the letter.
        if (!((Flags & FLAG_CTRL) && !(Flags & FLAG_ALT))) Character(e.Character);
        break;
    case EventKind::Activate:
        Flags = 0;
        break;
    default: break;
    }
}

}  // namespace frame
