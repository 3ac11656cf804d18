// The builders of the menu events: each takes what its event carries and
// builds the menu, or nothing when what the menu was asked for has gone.
#include "gui/menus/AutomapMenu.h"
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
// Every menu's event and its builder.
struct MenuKind {
    int Event;
    MenuBuilder Build;
};
constexpr MenuKind MENUS[] = {
    {MESSAGE_OBJECT_MENU, BuildObjectMenu},
    {MESSAGE_CREATURE_CONTEXT_MENU, BuildCreatureMenu},
    {MESSAGE_VIP_CONTEXT_MENU, BuildVipMenu},
    {MESSAGE_CONSOLE_TEXT_MENU, BuildConsoleTextMenu},
    {MESSAGE_CONSOLE_CHANNEL_MENU, BuildConsoleChannelMenu},
    {MESSAGE_REPORT_CHANNEL_MENU, BuildReportChannelMenu},
    {MESSAGE_EDITFIELD_MENU, BuildEditMenu},
    {MESSAGE_SKILLS_CONTEXT_MENU, BuildSkillsMenu},
    {MESSAGE_AUTOMAP_MENU, BuildAutomapMenu},
};
}  // namespace

void PostNameEvent(int Type, const char* Name) {
    // These events carry the name as their own text, freed with the event.
    SetEventTextFields(Type, true, false);
    PostTextEvent(Type, Name != NULL ? Name : "", NULL);
}

void RegisterContextMenus() {
    for (const MenuKind& Kind : MENUS) RegisterMenuBuilder(Kind.Event, Kind.Build);
    RegisterPrivateChannelDialogs();
}
