#include "gui/menus/ConsoleTextMenu.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Status.h"
#include "core/Utils.h"
#include "core/sysinc.h"
#include "gui/console/Console.h"
#include "gui/framework/Dialogs.h"
#include "gui/menus/CreatureMenu.h"
#include "net/Commands.h"
#include "world/Creatures.h"

#include <cstdio>

namespace {
PendingRecord<ConsoleTextRecord> Pending;
void (*SelectAllHook)(ConsoleWindow* Window) = NULL;
// The menu that is open, so that a console window going away leaves it
// nothing to select in.
ConsoleTextMenu* Open = NULL;

// Whether the speaker is one of the world's people rather than a player: the
// server speaks for them in the players' own talk modes, so the client goes
// by the creatures it knows, which keep their ids after leaving the view.
bool IsNonPlayerName(const std::string& Name) {
    for (int i = 0; i < CREATURES; ++i) {
        const Creature* C = GetCreatureRecord(i);
        if (C != NULL && C->ID >= FIRST_NONPLAYER_ID && CompareNoCase(C->Name, Name.c_str()) == 0) return true;
    }
    return false;
}
}  // namespace

void PostConsoleTextMenu(const ConsoleTextRecord& Record) { Pending.post(MESSAGE_CONSOLE_TEXT_MENU, Record); }

void SetConsoleSelectAll(void (*SelectAll)(ConsoleWindow* Window)) { SelectAllHook = SelectAll; }

void ForgetConsoleWindow(const ConsoleWindow* Window) {
    if (Pending.waiting().Window == Window) Pending.waiting().Window = NULL;
    if (Open != NULL) Open->forgetWindow(Window);
}

ConsoleTextMenu::ConsoleTextMenu(const ConsoleTextRecord& _Record) : Record(_Record) {
    Open = this;
    const Creature* Me = FindCreature(GetPlayerID());
    const std::string& Speaker = Record.Speaker;
    const bool PlayersLine = Record.HasLine && !Speaker.empty() && !IsNonPlayerName(Speaker);
    const bool OtherPlayer = PlayersLine && Me != NULL && CompareNoCase(Speaker.c_str(), Me->Name) != 0;
    if (OtherPlayer) {
        addEntry(MENU_MESSAGE_TO, withName("Message to %s", Speaker).c_str());
        if (Record.InOwnChannel)
            addEntry(MENU_EXCLUDE_PRIVATE, "Exclude from private chat");
        else if (GetOwnChannel() != -1)
            addEntry(MENU_INVITE_PRIVATE, "Invite to private chat");
        if (FindBuddyByName(Speaker.c_str()) < 0) addEntry(MENU_ADD_VIP, "Add to VIP list");
        addEntry(MENU_IGNORE, withName(IsIgnored(Speaker.c_str()) ? "Unignore %s" : "Ignore %s", Speaker).c_str());
        addSeparator();
    }
    if (!Record.Selected.empty()) addEntry(MENU_COPY, "Copy");
    if (Record.HasLine && !Speaker.empty()) addEntry(MENU_COPY_NAME, "Copy Name");
    if (Record.HasLine) addEntry(MENU_COPY_MESSAGE, "Copy Message");
    addSeparator();
    addEntry(MENU_SELECT_ALL, "Select all");
    if (PlayersLine && MayReportRuleViolations()) {
        addSeparator();
        addEntry(MENU_RULE_VIOLATION, "Rule Violation");
    }
}

ConsoleTextMenu::~ConsoleTextMenu() {
    if (Open == this) Open = NULL;
}

void ConsoleTextMenu::forgetWindow(const ConsoleWindow* Window) {
    if (Record.Window == Window) Record.Window = NULL;
}

void ConsoleTextMenu::command(int number) {
    const char* Speaker = Record.Speaker.c_str();
    switch (number) {
    case MENU_MESSAGE_TO: SendOpenPrivateChannel(Speaker); break;
    case MENU_EXCLUDE_PRIVATE: PostNameEvent(MESSAGE_EXCLUDE_PRIVATE, Speaker); break;
    case MENU_INVITE_PRIVATE: PostNameEvent(MESSAGE_INVITE_PRIVATE, Speaker); break;
    case MENU_ADD_VIP: SendAddBuddy(Speaker); break;
    case MENU_IGNORE: ToggleIgnore(Speaker); break;
    case MENU_COPY: SetClipboardText(Record.Selected.c_str()); break;
    case MENU_COPY_NAME: SetClipboardText(Speaker); break;
    case MENU_COPY_MESSAGE: SetClipboardText(Record.Message.c_str()); break;
    case MENU_SELECT_ALL:
        if (Record.Window != NULL && SelectAllHook != NULL) SelectAllHook(Record.Window);
        break;
    case MENU_RULE_VIOLATION: PostNameEvent(MESSAGE_BANISHMENT, Speaker); break;
    default: ContextMenu::command(number); break;
    }
}

Component* BuildConsoleTextMenu(intptr_t Data) {
    const ConsoleTextRecord* R = Pending.take(Data);
    if (R == NULL) return NULL;
    // The click and the end of the game can come in one batch: the console
    // that was clicked, or the player, is gone by now, and the menu with it.
    if (R->Window == NULL || FindCreature(GetPlayerID()) == NULL) return NULL;
    return new ConsoleTextMenu(*R);
}
