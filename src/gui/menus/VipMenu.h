// The menu of the VIP list (event 49): the entry under the pointer, if any,
// and the list's own settings (sorting, offline VIPs).
#pragma once

#include "gui/framework/ContextMenu.h"

#include <cstdint>
#include <string>

// Posts event 49 for the VIP entry of this character id (0: no entry under
// the pointer).
void PostVipMenu(uint32_t CharacterID);

class VipMenu : public ContextMenu {
  public:
    // CharacterID 0, or one no longer in the list: the menu without an entry.
    explicit VipMenu(uint32_t CharacterID);
    void command(int number) override;

  private:
    uint32_t CharacterID = 0;
    std::string Name;
};

// The builder of event 49.
Component* BuildVipMenu(intptr_t Data);
