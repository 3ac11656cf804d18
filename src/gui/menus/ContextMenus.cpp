// The builders of the menu events: each takes what its event carries and
// builds the menu, or nothing when what the menu was asked for has gone.
#include "gui/menus/ConsoleChannelMenu.h"
#include "gui/menus/ConsoleTextMenu.h"
#include "gui/framework/ContextMenu.h"
#include "gui/menus/CreatureMenu.h"
#include "gui/framework/Dialogs.h"
#include "gui/menus/EditMenu.h"
#include "gui/menus/ObjectMenu.h"
#include "gui/dialogs/PrivateChannelDialogs.h"
#include "gui/menus/ReportChannelMenu.h"
#include "gui/menus/SkillsMenu.h"
#include "gui/menus/VipMenu.h"

#include "core/Status.h"

namespace {
Component* ObjectMenuEvent(DialogEvent& Event) { return BuildObjectMenu(Event.E.Data); }
Component* CreatureMenuEvent(DialogEvent& Event) { return BuildCreatureMenu(uint32_t(Event.E.Data)); }
Component* VipMenuEvent(DialogEvent& Event) { return new VipMenu(uint32_t(Event.E.Data)); }
Component* ConsoleTextMenuEvent(DialogEvent& Event) { return BuildConsoleTextMenu(Event.E.Data); }
Component* ConsoleChannelMenuEvent(DialogEvent& Event) { return BuildConsoleChannelMenu(Event.E.Data); }
Component* ReportChannelMenuEvent(DialogEvent& Event) { return BuildReportChannelMenu(Event.E.Data); }
Component* EditMenuEvent(DialogEvent& Event) { return BuildEditMenu(Event.E.Data); }
Component* SkillsMenuEvent(DialogEvent&) { return new SkillsMenu(); }
}  // namespace

void PostNameEvent(int Type, const char* Name) {
    // These events carry the name as their own text, freed with the event.
    SetEventTextFields(Type, true, false);
    PostTextEvent(Type, Name != NULL ? Name : "", NULL);
}

void RegisterContextMenus() {
    RegisterMenuBuilder(MESSAGE_OBJECT_MENU, ObjectMenuEvent);
    RegisterMenuBuilder(MESSAGE_CREATURE_CONTEXT_MENU, CreatureMenuEvent);
    RegisterMenuBuilder(MESSAGE_VIP_CONTEXT_MENU, VipMenuEvent);
    RegisterMenuBuilder(MESSAGE_CONSOLE_TEXT_MENU, ConsoleTextMenuEvent);
    RegisterMenuBuilder(MESSAGE_CONSOLE_CHANNEL_MENU, ConsoleChannelMenuEvent);
    RegisterMenuBuilder(MESSAGE_REPORT_CHANNEL_MENU, ReportChannelMenuEvent);
    RegisterMenuBuilder(MESSAGE_EDITFIELD_MENU, EditMenuEvent);
    RegisterMenuBuilder(MESSAGE_SKILLS_CONTEXT_MENU, SkillsMenuEvent);
    RegisterPrivateChannelDialogs();
}
