#include "gui/menus/CreatureMenu.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Status.h"
#include "core/TalkModes.h"
#include "core/sysinc.h"
#include "gui/console/Console.h"
#include "net/Commands.h"
#include "world/Creatures.h"

#include <cstdio>

namespace {

// The condition flag that blocks logging out (and leaving a party) after a fight.
constexpr int LOGOUT_BLOCK_FLAG = 1 << 5;

bool IsOtherPlayer(uint32_t ID) { return ID != 0 && ID < FIRST_NONPLAYER_ID && ID != GetPlayerID(); }

int OwnPartyState() {
    const Creature* Me = FindCreature(GetPlayerID());
    return Me != NULL ? Me->PartyShield : 0;
}

// A menu text with the name filled in; the names are short enough for every
// entry, so nothing is cut here.
std::string WithName(const char* Format, const std::string& Name) {
    char Text[80];
    std::snprintf(Text, sizeof Text, Format, Name.c_str());
    return Text;
}

}  // namespace

bool TakeMenuCreature(uint32_t ID, MenuCreature& Out) {
    const Creature* C = ID != 0 ? FindCreature(ID) : NULL;
    if (C == NULL || !C->Visible) return false;
    Out.ID = ID;
    Out.Name = C->Name;
    return true;
}

int PartyEntry(int OwnState, int OtherMark) {
    switch (OwnState) {
    case 0:
    case 2: return OtherMark == 1 ? MENU_JOIN_PARTY : MENU_INVITE_PARTY;
    case 1: return OtherMark == 2 ? MENU_REVOKE_INVITATION : 0;
    case 3: return 0;
    case 4:
        return OtherMark == 2 ? MENU_REVOKE_INVITATION : OtherMark == 3 ? MENU_PASS_LEADERSHIP : MENU_INVITE_PARTY;
    default: ASSERT(false); return 0;
    }
}

bool MayReportRuleViolations() {
    for (int Reason = 0; Reason < RULE_VIOLATION_REASONS; ++Reason)
        if (HasRight(Reason)) return true;
    return false;
}

bool MayLeaveParty() {
    const int State = OwnPartyState();
    return (State == 3 || State == 4) && (GetPlayerConditions() & LOGOUT_BLOCK_FLAG) == 0;
}

void AddCreatureEntries(ContextMenu& Menu, const MenuCreature& Creature, bool Hints) {
    const char* Alt = Hints ? ContextMenu::hint("(Alt)") : NULL;
    if (GetAttackTarget() == Creature.ID)
        Menu.addEntry(MENU_STOP_ATTACK, "Stop Attack", Alt);
    else
        Menu.addEntry(MENU_ATTACK, "Attack", Alt);
    if (GetFollowTarget() == Creature.ID)
        Menu.addEntry(MENU_STOP_FOLLOW, "Stop Follow");
    else
        Menu.addEntry(MENU_FOLLOW, "Follow");
    if (!IsOtherPlayer(Creature.ID)) return;
    const char* Name = Creature.Name.c_str();
    Menu.addSeparator();
    Menu.addEntry(MENU_MESSAGE_TO, WithName("Message to %s", Creature.Name).c_str());
    if (GetOwnChannel() != -1) Menu.addEntry(MENU_INVITE_PRIVATE, "Invite to private chat");
    if (FindBuddyByName(Name) < 0) Menu.addEntry(MENU_ADD_VIP, "Add to VIP list");
    Menu.addEntry(MENU_IGNORE, WithName(IsIgnored(Name) ? "Unignore %s" : "Ignore %s", Creature.Name).c_str());
    const ::Creature* C = FindCreature(Creature.ID);
    switch (PartyEntry(OwnPartyState(), C != NULL ? C->PartyShield : 0)) {
    case MENU_JOIN_PARTY: Menu.addEntry(MENU_JOIN_PARTY, WithName("Join %s's Party", Creature.Name).c_str()); break;
    case MENU_INVITE_PARTY: Menu.addEntry(MENU_INVITE_PARTY, "Invite to Party"); break;
    case MENU_REVOKE_INVITATION:
        Menu.addEntry(MENU_REVOKE_INVITATION, WithName("Revoke %s's Invitation", Creature.Name).c_str());
        break;
    case MENU_PASS_LEADERSHIP:
        Menu.addEntry(MENU_PASS_LEADERSHIP, WithName("Pass Leadership to %s", Creature.Name).c_str());
        break;
    default: break;
    }
}

void AddNameEntries(ContextMenu& Menu, const MenuCreature& Creature) {
    Menu.addSeparator();
    Menu.addEntry(MENU_COPY, "Copy Name");
    if (IsOtherPlayer(Creature.ID) && MayReportRuleViolations()) {
        Menu.addSeparator();
        Menu.addEntry(MENU_RULE_VIOLATION, "Rule Violation");
    }
}

bool CreatureCommand(const MenuCreature& Creature, int Number) {
    switch (Number) {
    case MENU_ATTACK: case MENU_STOP_ATTACK: case MENU_FOLLOW: case MENU_STOP_FOLLOW: case MENU_MESSAGE_TO:
    case MENU_INVITE_PRIVATE: case MENU_ADD_VIP: case MENU_IGNORE: case MENU_JOIN_PARTY: case MENU_INVITE_PARTY:
    case MENU_REVOKE_INVITATION: case MENU_PASS_LEADERSHIP: case MENU_COPY: case MENU_RULE_VIOLATION: break;
    default: return false;
    }
    MenuCreature Now;
    if (!TakeMenuCreature(Creature.ID, Now)) return true;
    const char* Name = Creature.Name.c_str();
    switch (Number) {
    case MENU_ATTACK:
    case MENU_STOP_ATTACK: {
        const uint32_t Target = Number == MENU_ATTACK ? Creature.ID : 0;
        SetAttackTarget(Target);
        SendAttack(Target);
        break;
    }
    case MENU_FOLLOW:
    case MENU_STOP_FOLLOW: {
        const uint32_t Target = Number == MENU_FOLLOW ? Creature.ID : 0;
        SetFollowTarget(Target);
        SendFollow(Target);
        break;
    }
    case MENU_MESSAGE_TO: SendOpenPrivateChannel(Name); break;
    case MENU_INVITE_PRIVATE: PostNameEvent(MESSAGE_INVITE_PRIVATE, Name); break;
    case MENU_ADD_VIP: SendAddBuddy(Name); break;
    case MENU_IGNORE: ToggleIgnore(Name); break;
    case MENU_JOIN_PARTY: SendJoinParty(Creature.ID); break;
    case MENU_INVITE_PARTY: SendInviteToParty(Creature.ID); break;
    case MENU_REVOKE_INVITATION: SendRevokeInvitation(Creature.ID); break;
    case MENU_PASS_LEADERSHIP: SendPassLeadership(Creature.ID); break;
    case MENU_COPY: SetClipboardText(Name); break;
    case MENU_RULE_VIOLATION: PostNameEvent(MESSAGE_BANISHMENT, Name); break;
    default: break;
    }
    return true;
}

void ToggleIgnore(const char* Name) {
    char Line[80];
    if (IsIgnored(Name)) {
        RemoveIgnore(Name);
        std::snprintf(Line, sizeof Line, "You are now no longer ignoring player %s.", Name);
    } else {
        AddIgnore(Name, false);
        std::snprintf(Line, sizeof Line, "You are now ignoring player %s.", Name);
    }
    AddPlainLine(GetDefaultBuffer(), Line, TALK_STATUS_MESSAGE, NULL);
}

void PostCreatureMenu(uint32_t CreatureID) { PostEvent(MESSAGE_CREATURE_CONTEXT_MENU, intptr_t(CreatureID), 0); }

CreatureMenu::CreatureMenu(const MenuCreature& _Creature) : Creature(_Creature) {
    // The battle list has its own keys, so its menu shows no hints.
    AddCreatureEntries(*this, Creature, false);
    AddNameEntries(*this, Creature);
}

void CreatureMenu::command(int number) {
    if (!CreatureCommand(Creature, number)) ContextMenu::command(number);
}

Component* BuildCreatureMenu(uint32_t CreatureID) {
    MenuCreature C;
    if (!TakeMenuCreature(CreatureID, C)) return NULL;
    return new CreatureMenu(C);
}
