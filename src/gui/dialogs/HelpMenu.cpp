#include "gui/dialogs/HelpMenu.h"

#include "core/BuildSettings.h"
#include "core/Status.h"
#include "graphics/graphics.h"
#include "gui/dialogs/Hints.h"
#include "gui/framework/SkinProperties.h"
#include "net/Commands.h"

#include <algorithm>

namespace {

struct MenuButton {
    const char* Text;
    const char* Explanation;
    int Command;
};
constexpr MenuButton MENU_BUTTONS[HelpMenuBody::BUTTONS] = {
    {"Client Help", "Point at anything to have it explained", HELP_MENU_CLIENT_HELP},
    {"Hints", "Read the hints you have seen again", HELP_MENU_HINTS},
    {"Tutor Help", "Ask a tutor for help", HELP_MENU_TUTOR},
    {"Rule Violation", "Report a player who breaks the rules", HELP_MENU_RULE_VIOLATION},
    {"Report Bug", "Tell us about a fault of the game (Ctrl+R)", HELP_MENU_BUG_REPORT},
    {"Manual", "Open the manual in your web browser", HELP_MENU_MANUAL},
    {"FAQ", "Open the frequently asked questions", HELP_MENU_FAQ},
};
constexpr int MENU_BUTTON_WIDTH = 96, MENU_ROW_GAP = 6, MENU_LABEL_GAP = 10;

void Close() { SetInputMode(INPUT_IDLE); }

void OpenAddress(const char* Address) {
    if (auto Open = GetDialogServices().OpenDocument) Open(Address);
}

}  // namespace

HelpMenuBody::HelpMenuBody() {
    // All buttons as wide as the widest caption needs.
    int ButtonWidth = MENU_BUTTON_WIDTH;
    for (const MenuButton& M : MENU_BUTTONS)
        ButtonWidth = std::max(ButtonWidth, GetTextWidth(SkinProperties().Buttons.Font, M.Text) +
                                                SkinProperties().StartView.CaptionPadding);
    int y = 0, Width = 0;
    for (int i = 0; i < BUTTONS; ++i) {
        const MenuButton& M = MENU_BUTTONS[i];
        Buttons[i] = new TextButton(M.Text, CommandTarget(this, M.Command));
        Buttons[i]->setSize(ButtonWidth, Buttons[i]->getHeight());
        addChild(Buttons[i]);
        Buttons[i]->setPosition(0, y);
        auto* Explanation = new Label(M.Explanation);
        addChild(Explanation);
        Explanation->setPosition(ButtonWidth + MENU_LABEL_GAP,
                                 y + (Buttons[i]->getHeight() - Explanation->getHeight()) / 2);
        Width = std::max(Width, Explanation->getX() + Explanation->getWidth());
        y += Buttons[i]->getHeight() + MENU_ROW_GAP;
    }
    Component::setSize(Width, y - MENU_ROW_GAP);
}

void HelpMenuBody::command(int number) {
    switch (number) {
    case HELP_MENU_CLIENT_HELP:
        Close();
        PostEvent(MESSAGE_HELPPOINTER, 0, 0);
        break;
    case HELP_MENU_HINTS:
        // The list first; closing it brings this menu back.
        PostEvent(MESSAGE_HINTS, 0, 0);
        PostEvent(MESSAGE_HELPMENU, 0, 0);
        Close();
        break;
    case HELP_MENU_TUTOR:
        SendOpenChannel(TUTOR_CHANNEL);
        Close();
        break;
    case HELP_MENU_RULE_VIOLATION:
        PostEvent(CONSOLE_EVENT_DIALOG_REPORT, 0, 0);
        Close();
        break;
    case HELP_MENU_MANUAL:
        OpenAddress(build_settings::MANUAL_URL);
        Close();
        break;
    case HELP_MENU_FAQ:
        OpenAddress(build_settings::FAQ_URL);
        Close();
        break;
    case HELP_MENU_BUG_REPORT:
        // Closed first: the report opens in the menu's place.
        Close();
        if (Component* Main = GetDialogServices().MainWindow) Main->command(HELP_MENU_BUG_REPORT);
        break;
    default: Close(); break;
    }
}

namespace {

Dialog* BuildHelpMenu(DialogEvent&) {
    auto* Body = new HelpMenuBody();
    auto* D = new Dialog("Help", Body);
    D->removeCancelButton();
    D->setDefaultButton("Close", CommandTarget(D, DIALOG_OK));
    D->setEscapeTarget(CommandTarget(D, DIALOG_CANCEL));
    return D;
}

}  // namespace

void RegisterHelpDialogs() {
    RegisterDialogBuilder(MESSAGE_HELPMENU, BuildHelpMenu);
    RegisterHintsDialog();
}
