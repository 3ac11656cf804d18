// The help menu ("Help"): a row a way to help, its button and what it does.
#pragma once

#include "gui/framework/Dialogs.h"

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

// Events 28 and 29: the help menu and the list of the hints it opens.
void RegisterHelpDialogs();
