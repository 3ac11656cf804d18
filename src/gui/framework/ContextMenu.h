// Pop-up menus: a column of entries opened at the pointer as the modal window
// (input mode 11). A menu kind derives from ContextMenu, adds its entries in
// its constructor and carries out an entry's number in command(); the menu
// closes on the next left or right release, or on Escape, after the entry
// has acted.
#pragma once

#include "gui/framework/GUI.h"

#include <string>

// The command numbers of the entries of every menu.
enum : int {
    MENU_LOOK = 10001,
    MENU_USE = 10002,
    MENU_USE_WITH = 10003,
    MENU_ATTACK = 10004,
    MENU_STOP_ATTACK = 10005,
    MENU_FOLLOW = 10006,
    MENU_STOP_FOLLOW = 10007,
    MENU_SET_OUTFIT = 10008,
    MENU_MOVE_UP = 10010,
    MENU_OPEN = 10011,              // a container inside a container, in the same window
    MENU_OPEN_NEW_WINDOW = 10012,
    MENU_TRADE = 10013,
    MENU_ROTATE = 10014,
    MENU_ADD_VIP = 10015,
    MENU_INVITE_PRIVATE = 10016,
    MENU_EXCLUDE_PRIVATE = 10017,
    MENU_INVITE_PARTY = 10018,
    MENU_JOIN_PARTY = 10019,
    MENU_LEAVE_PARTY = 10020,
    MENU_REVOKE_INVITATION = 10021,
    MENU_PASS_LEADERSHIP = 10022,
    MENU_RULE_VIOLATION = 10023,
    MENU_MESSAGE_TO = 10100,
    MENU_SERVER_MESSAGES = 10100,   // the console channel menu's use of the number
    MENU_IGNORE = 10101,
    MENU_SAVE_WINDOW = 10102,
    MENU_CLOSE_CHANNEL = 10103,
    MENU_CLEAR_WINDOW = 10105,
    MENU_PROCESS_REPORT = 10106,
    MENU_REMOVE_REPORT = 10107,
    MENU_PASTE = 10200,
    MENU_CUT = 10201,
    MENU_DELETE = 10202,
    MENU_COPY = 10203,              // also "Copy Name" of a creature
    MENU_COPY_NAME = 10204,
    MENU_COPY_MESSAGE = 10205,
    MENU_SELECT_ALL = 10206,
    MENU_ADD_NEW_VIP = 10300,
    MENU_REMOVE_VIP = 10301,
    MENU_EDIT_VIP = 10302,
    MENU_VIP_MESSAGE_TO = 10303,
    MENU_SORT_BY_NAME = 10304,
    MENU_SORT_BY_TYPE = 10305,
    MENU_SORT_BY_STATUS = 10306,
    MENU_OFFLINE_VIPS = 10307,
    MENU_LEVEL_BAR = 10500,
    MENU_MAGIC_LEVEL_BAR = 10501,
    MENU_FIRST_SKILL_BAR = 10502,   // up to 10508, the seven skills in order
    MENU_SHOW_ALL_BARS = 10509,
    MENU_HIDE_ALL_BARS = 10510,
};

// The events of the menus (54, the automap's, is in AutomapMenu.h).
enum : int {
    MESSAGE_OBJECT_MENU = 47,
    MESSAGE_CREATURE_CONTEXT_MENU = 48,
    MESSAGE_VIP_CONTEXT_MENU = 49,
    MESSAGE_CONSOLE_TEXT_MENU = 50,
    MESSAGE_CONSOLE_CHANNEL_MENU = 51,
    MESSAGE_REPORT_CHANNEL_MENU = 52,
    MESSAGE_SKILLS_CONTEXT_MENU = 55,
};

// The dialogs menu entries open: 18, 19 and 25 carry the player's name as
// their text, 23 the VIP's character id, 22 nothing.
enum : int {
    MESSAGE_INVITE_PRIVATE = 18,
    MESSAGE_EXCLUDE_PRIVATE = 19,
    MESSAGE_ADD_VIP = 22,
    MESSAGE_EDIT_VIP = 23,
    MESSAGE_BANISHMENT = 25,
};
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

    void arrange() override;
    bool mouseMove(int x, int y) override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool leftButtonUp(int x, int y, int keys) override;
    bool leftDoubleClick(int x, int y, int keys) override;
    bool rightButtonUp(int x, int y, int keys) override;
    bool mouseRepeat(int x, int y, int code) override;
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
