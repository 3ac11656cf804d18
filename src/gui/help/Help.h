// The words of help on the screen, filled in: the help numbers of the
// screen's areas with their texts, and the one-time event hints with their
// titles, texts and the message box that shows one. Help mode and its popup
// (HelpMode.h, HelpPopup.h) show the help texts; the help menu and the list
// of the hints read (dialogs/HelpMenu.h, dialogs/Hints.h) lead to them.
#pragma once

// The help numbers of the screen's areas; the kinds of things on the map
// (1000 to 1002) are the map window's, the map objects' (1100 to 1112) come
// from their object types.
enum : int {
    HELP_AUTOMAP = 10,
    HELP_STATUS_BARS = 11,
    HELP_INVENTORY = 12,
    HELP_MINIMISED_INVENTORY = 13,
    HELP_COMBAT_CAPTIONS = 14,  // Options and Help as captions
    HELP_COMBAT_PICTURES = 15,  // Options and Help as pictures
    HELP_CONTROL_BUTTONS = 16,
    HELP_SKILLS = 17,
    HELP_BATTLE = 18,
    HELP_VIP = 19,
    HELP_OPEN_CONTAINERS = 20,
    HELP_TRADE = 21,
    HELP_CONSOLE = 22,
    HELP_CONSOLE_CHANNELS = 23,
};

constexpr int HELP_TEXT_LENGTH = 2048;
// The marked-up text of a help number, its skins filled in, into Buffer
// (HELP_TEXT_LENGTH bytes). A number without a text is reported and gives
// an empty text and false.
bool helpText(int Number, char* Buffer);
// Whether a number has a text: help numbers that come from the data files
// are checked before they are used.
bool HasHelpText(int Number);
// Hint n, 1..EVENTHELPS. A hint about a person names, in its title and its
// text, the person whose meeting raised it (else the first the world's
// triggers give); such a text lives until the next call.
const char* eventHintTitle(int Number);
const char* eventHintText(int Number);

// Shows hint n in a message box (queued as event 2).
void ShowEventHint(int Number);
