// The menu of the skills window (event 55): shows or hides the percentage
// bar of the level, the magic level and each skill, or all of them.
#pragma once

#include "gui/framework/ContextMenu.h"

class SkillsMenu : public ContextMenu {
  public:
    SkillsMenu();
    void command(int number) override;
};

// The builder of event 55.
Component* BuildSkillsMenu(intptr_t Data);
