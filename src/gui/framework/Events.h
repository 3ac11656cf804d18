// The interface's event numbers and the command numbers that cross from one
// file to another (the menus' entries, the dialog frame's buttons, the edit
// field's commands), each defined here once. The events that lower modules
// post (the entry dialogs, the game's server-driven dialogs) are theirs, in
// core/Status.h and net/GameMessages.h; a component's own private command
// numbers stay with the component.
#pragma once

// ---- Events ------------------------------------------------------------------------------------

enum : int {
    BUGREPORT_EVENT = 16,
    // Data the player's name (owned), "" when it is to be typed.
    MESSAGE_INVITE_PRIVATE = 18,
    MESSAGE_EXCLUDE_PRIVATE = 19,
    IGNORE_EVENT = 20,
    CONSOLE_EVENT_DIALOG_REPORT = 21,  // the rule-violation question
    BUDDY_EVENT_ADD = 22,
    BUDDY_EVENT_CHANGE = 23,  // Data the character id
    INFO_EVENT = 24,
    MESSAGE_BANISHMENT = 25,  // Data the character's name (owned), may be empty
    // Data the number of the pending mark record.
    MESSAGE_SET_MARK = 26,
    MESSAGE_EDIT_MARK = 27,
    MESSAGE_HELPMENU = 28,
    MESSAGE_HINTS = 29,
    // The options menu and its pages.
    OPTIONS_EVENT_MENU = 30,
    OPTIONS_EVENT_NETWORK = 31,
    OPTIONS_EVENT_GRAPHICS = 32,
    OPTIONS_EVENT_ADVANCED = 33,
    OPTIONS_EVENT_CONSOLE = 34,
    OPTIONS_EVENT_HOTKEYS = 35,
    OPTIONS_EVENT_GENERAL = 36,
    CONSOLE_EVENT_REPORT = 46,  // Data the question (owned)
    // The pop-up menus.
    MESSAGE_OBJECT_MENU = 47,            // Data the number of the pending record
    MESSAGE_CREATURE_CONTEXT_MENU = 48,  // Data the creature id
    MESSAGE_VIP_CONTEXT_MENU = 49,       // Data the character id, 0 for none
    MESSAGE_CONSOLE_TEXT_MENU = 50,      // Data the number of the pending record
    MESSAGE_CONSOLE_CHANNEL_MENU = 51,   // Data the tab's buffer
    MESSAGE_REPORT_CHANNEL_MENU = 52,    // Data the number of the pending record
    MESSAGE_EDITFIELD_MENU = 53,         // Data the field
    MESSAGE_AUTOMAP_MENU = 54,           // Data the number of the pending record
    MESSAGE_SKILLS_CONTEXT_MENU = 55,
};

// ---- Commands ----------------------------------------------------------------------------------

// Between the dialog bodies and their dialogs.
enum : int {
    DIALOG_OK = 1,
    DIALOG_CANCEL = 2,
    DIALOG_ABORT = 29,
    DIALOG_TIMER = 31,
    DIALOG_ACTIVITY = 32,
};

// Of an edit field (also sent by its context menu).
enum : int {
    EDIT_COPY = 16,
    EDIT_CUT = 17,
    EDIT_PASTE = 18,
    EDIT_DELETE = 19,
    EDIT_SELECT_ALL = 20,
};

// The entries of every menu.
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
    AUTOMAP_MENU_SET_MARK = 10400,
    AUTOMAP_MENU_EDIT_MARK = 10401,
    AUTOMAP_MENU_DELETE_MARK = 10403,
    MENU_LEVEL_BAR = 10500,
    MENU_MAGIC_LEVEL_BAR = 10501,
    MENU_FIRST_SKILL_BAR = 10502,   // up to 10508, the seven skills in order
    MENU_SHOW_ALL_BARS = 10509,
    MENU_HIDE_ALL_BARS = 10510,
};
