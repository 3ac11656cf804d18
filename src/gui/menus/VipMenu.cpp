#include "gui/menus/VipMenu.h"

#include "config/Preferences.h"
#include "core/Status.h"
#include "core/Utils.h"
#include "core/sysinc.h"
#include "gui/console/Console.h"
#include "gui/menus/CreatureMenu.h"
#include "net/Commands.h"
#include "world/Creatures.h"

#include <cstdio>

namespace {
// The buddy list's sort keys.
constexpr int SORT_NAME = 0, SORT_TYPE = 1, SORT_STATUS = 2;

std::string WithName(const char* Format, const std::string& Name) {
    char Text[80];
    std::snprintf(Text, sizeof Text, Format, Name.c_str());
    return Text;
}

// The entry's name, empty when the character is no longer in the list.
std::string VipName(uint32_t CharacterID) {
    const int Position = CharacterID != 0 ? FindBuddy(CharacterID) : -1;
    return Position >= 0 ? std::string(GetBuddyEntry(Position).Name) : std::string();
}
}  // namespace

void PostVipMenu(uint32_t CharacterID) { PostEvent(MESSAGE_VIP_CONTEXT_MENU, intptr_t(CharacterID), 0); }

VipMenu::VipMenu(uint32_t _CharacterID) {
    Name = VipName(_CharacterID);
    if (!Name.empty()) {
        CharacterID = _CharacterID;
        const Buddy& B = GetBuddyEntry(FindBuddy(CharacterID));
        addEntry(MENU_EDIT_VIP, WithName("Edit %s", Name).c_str());
        addEntry(MENU_REMOVE_VIP, WithName("Remove %s", Name).c_str());
        const Creature* Me = FindCreature(GetPlayerID());
        if (B.Online && (Me == NULL || CompareNoCase(Me->Name, Name.c_str()) != 0))
            addEntry(MENU_VIP_MESSAGE_TO, WithName("Message to %s", Name).c_str());
        if (GetOwnChannel() != -1) addEntry(MENU_INVITE_PRIVATE, "Invite to private chat");
        addSeparator();
    }
    addEntry(MENU_ADD_NEW_VIP, "Add new VIP");
    addEntry(MENU_SORT_BY_NAME, "Sort by name");
    addEntry(MENU_SORT_BY_TYPE, "Sort by type");
    if (!GetBuddyHideOffline()) addEntry(MENU_SORT_BY_STATUS, "Sort by status");
    addEntry(MENU_OFFLINE_VIPS, GetBuddyHideOffline() ? "Show offline VIPs" : "Hide offline VIPs");
    if (CharacterID != 0) {
        addSeparator();
        addEntry(MENU_COPY_NAME, "Copy Name");
        if (MayReportRuleViolations()) addEntry(MENU_RULE_VIOLATION, "Rule Violation");
    }
}

void VipMenu::command(int number) {
    switch (number) {
    case MENU_ADD_NEW_VIP: PostEvent(MESSAGE_ADD_VIP, 0, 0); return;
    case MENU_SORT_BY_NAME: SetBuddySortKey(SORT_NAME); return;
    case MENU_SORT_BY_TYPE: SetBuddySortKey(SORT_TYPE); return;
    case MENU_SORT_BY_STATUS: SetBuddySortKey(SORT_STATUS); return;
    case MENU_OFFLINE_VIPS: SetBuddiesHideOffline(!GetBuddyHideOffline()); return;
    default: break;
    }
    // The entry's actions; an entry removed meanwhile takes none.
    const bool Known = CharacterID != 0 && FindBuddy(CharacterID) >= 0;
    switch (number) {
    case MENU_EDIT_VIP:
        if (Known) PostEvent(MESSAGE_EDIT_VIP, intptr_t(CharacterID), 0);
        break;
    case MENU_REMOVE_VIP:
        if (!Known) break;
        DeleteBuddy(CharacterID);
        SendRemoveBuddy(CharacterID);
        break;
    case MENU_VIP_MESSAGE_TO:
        if (Known) SendOpenPrivateChannel(Name.c_str());
        break;
    case MENU_INVITE_PRIVATE:
        if (Known) PostNameEvent(MESSAGE_INVITE_PRIVATE, Name.c_str());
        break;
    case MENU_COPY_NAME:
        if (CharacterID != 0) SetClipboardText(Name.c_str());
        break;
    case MENU_RULE_VIOLATION:
        if (CharacterID != 0) PostNameEvent(MESSAGE_BANISHMENT, Name.c_str());
        break;
    default: ContextMenu::command(number); break;
    }
}
