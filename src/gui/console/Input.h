// The console's input line: what the player types, where the cursor is,
// the walk through the history of lines sent, and the hotkeys that type or
// send their text. Sending itself is SendInputLine (Console.h).
#pragma once

#include <string>

class InputLine {
  public:
    // At most this many characters.
    static constexpr int LENGTH = 255;

    InputLine() { Typed.reserve(LENGTH + 1); }
    const std::string& getText() const { return Typed; }
    int getCursor() const { return Cursor; }
    // The cursor goes to the end.
    void setText(const std::string& Text);
    // A function key with its hotkey: the text sent on its own (a line half
    // typed stays as it is) or typed in. False for any other key.
    bool hotkey(int code);
    // Enter, the history, the cursor and editing keys, pasting and the
    // characters typed; other keys do nothing.
    void keyPress(int code);

  private:
    void send();
    void historyStep(bool Older);
    // Line breaks are left out; the rest up to LENGTH.
    void insertText(const char* Text);
    std::string Typed;
    int Cursor = 0;
    int HistoryPosition = -1;  // -1: the line being typed
};
