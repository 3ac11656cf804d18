// Help and hints on the screen: help mode, in which the player points at any
// part of the screen and a popup explains it; the help menu; the list of the
// hints already read; and the message box that shows an event hint.
//
// Sections: 1. Texts  2. Help popup and help mode  3. Event hints
//           4. Help menu and hints dialog
#pragma once

#include "gui/framework/Dialogs.h"

// ---- 1. Texts ------------------------------------------------------------------------------

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

// ---- 2. Help popup and help mode ----------------------------------------------------------------

// The largest popup text and the gap between the popup and what it explains.
constexpr int HELP_POPUP_WIDTH = 322, HELP_POPUP_HEIGHT = 447;
constexpr int HELP_POPUP_GAP = 3;

// A framed marked-up text beside the explained area.
class HelpPopup : public CompositeComponent {
  public:
    // The text is laid out whole at the popup's width, wider where it would
    // otherwise be taller than the popup or the root (RootWidth x
    // RootHeight) can show.
    HelpPopup(const char* Text, int RootWidth = SMALLEST_SCREEN_WIDTH, int RootHeight = SMALLEST_SCREEN_HEIGHT);
    ~HelpPopup() override;
    // The popup keeps the size of its text. The root hands its new size to
    // every child when the window changes: the popup then moves back inside.
    void setSize(int RootWidth, int RootHeight) override { keepInside(RootWidth, RootHeight); }
    void draw(int Surface, int x, int y) override;
    MarkupText* getText() const { return HelpText; }

  private:
    MarkupText* HelpText;
};

// Where a popup of W x H goes for the help area (x, y, w, h) on a root of
// RootWidth x RootHeight: left or right of the area, top- then
// bottom-aligned, then moved to fit vertically, then below or above it;
// failing all, the top corner away from the pointer.
void PlaceHelpPopup(int x, int y, int w, int h, int W, int H, int RootWidth, int RootHeight, int PointerX,
                    int& NewX, int& NewY);

// Help mode, driven by the event dispatcher: entering it (event 41), every
// pointer move, and its end on a button release or a key.
void ResetHelpPointer();
void HelpPointerMove(int x, int y);
void CloseHelpPointer();
// The popup shown now, NULL when none.
HelpPopup* GetHelpPopup();

// ---- 3. Event hints ----------------------------------------------------------------------------

// Shows hint n in a message box (queued as event 2).
void ShowEventHint(int Number);

// ---- 4. Help menu and hints dialog ------------------------------------------------------------

// Commands of the help menu's buttons.
enum : int {
    HELP_MENU_CLIENT_HELP = 702,
    HELP_MENU_HINTS = 703,
    HELP_MENU_TUTOR = 704,
    HELP_MENU_RULE_VIOLATION = 705,
    HELP_MENU_MANUAL = 706,
    HELP_MENU_FAQ = 707,
    // Asks the main game window for a bug report (its command 505).
    HELP_MENU_BUG_REPORT = 505,
};
constexpr int MESSAGE_HELPMENU = 28, MESSAGE_HINTS = 29;
// The channel of the tutors, who answer new players' questions.
constexpr int TUTOR_CHANNEL = 7;

class HelpMenuBody : public CompositeComponent {
  public:
    HelpMenuBody();
    void command(int number) override;
    TextButton* getButton(int Number) const { return Buttons[Number]; }
    static constexpr int BUTTONS = 7;

  private:
    TextButton* Buttons[BUTTONS];
};

// "Hints for Vorna": the titles of the hints already shown; "Show" shows
// the chosen one again, "Reset" lets every hint come up once more.
class HintsBody : public CompositeComponent {
  public:
    HintsBody();
    void keyPress(int code) override;
    void command(int number) override;
    ListBox* getList() const { return List; }
    // The hint number of each line.
    int getHint(int Line) const;

  private:
    ListBox* List;
    int Hints[14] = {};
    int Count = 0;
};
enum : int { HINTS_SHOW = 1, HINTS_CLOSE = 2, HINTS_RESET = 3 };

// Events 28 and 29.
void RegisterHelpDialogs();
