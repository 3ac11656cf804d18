// Pop-up menus: a column of entries opened at the pointer as the modal window
// (input mode 11). A menu kind derives from ContextMenu, adds its entries in
// its constructor and carries out an entry's number in command(); the menu
// closes on the next left or right release, or on Escape, after the entry
// has acted.
#pragma once

#include "gui/framework/Events.h"
#include "gui/framework/GUI.h"

#include <string>

// Posts 18, 19 or 25 with a name.
void PostNameEvent(int Type, const char* Name);
// The menus' builders, registered with the other dialogs.
void RegisterContextMenus();

// One line of a menu: a text, an optional shortcut hint drawn right-aligned,
// and the command it sends to its menu.
class MenuEntry : public Component {
  public:
    MenuEntry(const char* Text, const char* Shortcut, CommandTarget Target);
    // The width the entry needs: text, gap, shortcut and both margins.
    int getNeededWidth() const;
    const std::string& getText() const { return Text; }
    const std::string& getShortcut() const { return Shortcut; }
    const CommandTarget& getTarget() const { return Target; }
    void setHighlighted(bool On) { Highlighted = On; }
    bool isHighlighted() const { return Highlighted; }
    void draw(int Surface, int x, int y) override;

  private:
    std::string Text, Shortcut;
    CommandTarget Target;
    bool Highlighted = false;
};

// The line between two groups of entries. Clicks on it close the menu
// without a command.
class MenuSeparator : public Component {
  public:
    MenuSeparator();
    void draw(int Surface, int x, int y) override;
};

class ContextMenu : public CompositeComponent {
  public:
    ContextMenu();
    // Appends an entry; a separator asked for before it comes first, unless
    // the menu is still empty, so a separator is never first or last.
    void addEntry(int Number, const char* Text, const char* Shortcut = NULL);
    void addSeparator();
    // Lays the entries out at the widest width and places the menu at the
    // pointer: to the left of it when it would reach the right edge, above it
    // when it would reach the bottom, never at negative positions.
    void finish(int PointerX, int PointerY, int ScreenWidth, int ScreenHeight);
    bool isEmpty() const { return Empty; }
    bool isFinished() const { return Finished; }
    // The n-th entry from the top (separators not counted), NULL past the end.
    MenuEntry* getEntry(int Number) const;
    int getNumberOfEntries() const;
    // The entry that sends this command number, NULL when the menu lacks it.
    MenuEntry* findEntry(int CommandNumber) const;
    // A shortcut hint as the menus show it: none while classic mouse control
    // is on, where the keys mean something else.
    static const char* hint(const char* Shortcut);
    // A menu text with the name filled in for its one %s; the names are
    // short enough for every entry, so nothing is cut here.
    static std::string withName(const char* Format, const std::string& Name);

    void arrange() override;
    POINTER_HANDLERS_OVERRIDE;
    void keyPress(int code) override;
    // An entry's action; a number the menu does not have is reported.
    void command(int number) override;

  private:
    void close();
    MenuEntry* entryAt(int x, int y) const;
    int WidestWidth = 0;
    bool PendingSeparator = false;
    bool Empty = true;
    bool Finished = false;
    MenuEntry* LastEntry = NULL;
};
