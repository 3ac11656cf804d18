// The hotkey page of the options: the 36 hotkey texts of F1 to F12 alone,
// with Shift and with Control, each with its send-at-once flag. The page
// works on a copy and writes the preferences only on Ok.
#pragma once

#include "config/Preferences.h"
#include "gui/dialogs/Page.h"

#include <string>

enum : int { HOTKEYS_SELECT = 11 };

// "F3: text", "Shift+F1: text", "Control+F12: text" for hotkey Number.
std::string HotkeyLineText(int Number, const char* Text);

class HotkeyOptionsBody : public PageBody {
  public:
    HotkeyOptionsBody();
    void keyPress(int code) override;
    void command(int number) override;
    ListBox* getList() const { return List; }
    EditField* getField() const { return Field; }
    CheckBox* getAutoSend() const { return AutoSend; }
    int getCurrent() const { return Current; }
    // The working copy (what Ok would store).
    const std::string& getText(int Number) const { return Texts[Number]; }
    bool getFlag(int Number) const;
    // Keeps the copy, the line and the check box in step with the field and
    // the box; run before anything reads them.
    void sync();

  private:
    ListBox* List;
    EditField* Field;
    CheckBox* AutoSend;
    std::string Texts[HOTKEYS];
    bool Flags[HOTKEYS] = {};
    int Current = -1;  // the line being edited, -1 for none
};
