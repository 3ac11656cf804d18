#include "gui/menus/SkillsMenu.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Redraw.h"
#include "world/Creatures.h"

#include <cstdio>

namespace {
void AddBarEntry(ContextMenu& Menu, int Number, bool Shown, const char* Name) {
    char Text[50];
    std::snprintf(Text, sizeof Text, "%s %s", Shown ? "Hide" : "Show", Name);
    Menu.addEntry(Number, Text);
}

void SetAllBars(bool Shown) {
    SetLevelBar(Shown);
    SetMagLevelBar(Shown);
    for (int i = 0; i < SKILLS; ++i) SetSkillBar(i, Shown);
}
}  // namespace

SkillsMenu::SkillsMenu() {
    AddBarEntry(*this, MENU_LEVEL_BAR, GetLevelBar(), "Level");
    AddBarEntry(*this, MENU_MAGIC_LEVEL_BAR, GetMagLevelBar(), "Magic Level");
    for (int i = 0; i < SKILLS; ++i) AddBarEntry(*this, MENU_FIRST_SKILL_BAR + i, GetSkillBar(i), GetSkillName(i));
    addEntry(MENU_SHOW_ALL_BARS, "Show all Skill Bars");
    addEntry(MENU_HIDE_ALL_BARS, "Hide all Skill Bars");
}

void SkillsMenu::command(int number) {
    if (number == MENU_LEVEL_BAR) {
        SetLevelBar(!GetLevelBar());
    } else if (number == MENU_MAGIC_LEVEL_BAR) {
        SetMagLevelBar(!GetMagLevelBar());
    } else if (In(number, MENU_FIRST_SKILL_BAR, MENU_FIRST_SKILL_BAR + SKILLS - 1)) {
        const int Skill = number - MENU_FIRST_SKILL_BAR;
        SetSkillBar(Skill, !GetSkillBar(Skill));
    } else if (number == MENU_SHOW_ALL_BARS || number == MENU_HIDE_ALL_BARS) {
        SetAllBars(number == MENU_SHOW_ALL_BARS);
    } else {
        ContextMenu::command(number);
        return;
    }
    // The skills window draws its bars from the preferences.
    RequestRedraw();
}

Component* BuildSkillsMenu(intptr_t) { return new SkillsMenu(); }
