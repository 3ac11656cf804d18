// The menu of a console line (event 50): talk, VIP and ignore entries for
// the line's speaker, and copying the selection, the name or the message.
#pragma once

#include "gui/framework/ContextMenu.h"

#include <string>

class ConsoleWindow;

// What the right click found in the console's text.
struct ConsoleTextRecord {
    ConsoleWindow* Window = NULL;
    bool HasLine = false;     // a line lies under the pointer
    std::string Speaker;      // its speaker, empty for none
    std::string Message;      // its text after the time stamp and the speaker
    bool InOwnChannel = false;  // the line stands in the player's own private channel
    std::string Selected;     // the selected text, empty for none
};

// Posts event 50; the record is kept here until the menu opens.
void PostConsoleTextMenu(const ConsoleTextRecord& Record);
// How "Select all" reaches the console window the record names: the
// window installs it, since a menu knows no window.
void SetConsoleSelectAll(void (*SelectAll)(ConsoleWindow* Window));
// The console window is going: a record that names it is dropped.
void ForgetConsoleWindow(const ConsoleWindow* Window);

class ConsoleTextMenu : public ContextMenu {
  public:
    explicit ConsoleTextMenu(const ConsoleTextRecord& Record);
    ~ConsoleTextMenu() override;
    void command(int number) override;
    void forgetWindow(const ConsoleWindow* Window);

  private:
    ConsoleTextRecord Record;
};

// The builder of event 50: NULL without the console window or the player's
// own creature.
Component* BuildConsoleTextMenu(intptr_t Data);
