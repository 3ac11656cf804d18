// The mark menu of the automap: "Set Mark" on a spot without a mark, "Edit
// Mark" and "Delete Mark" on a mark. It is opened by a right click on the
// automap picture through event 54, which carries the spot.
#pragma once

#include "gui/framework/ContextMenu.h"
#include "world/Automap.h"

#include <cstdint>

// The field under the pointer and the mark there (x = y = 0: none).
struct AutomapSpot {
    int x = 0, y = 0, z = 0;
    AutomapMark Mark;
};

// Posts event 54 for the spot; a newer right click replaces a spot whose
// menu has not opened yet.
void PostAutomapMenu(const AutomapSpot& Spot);

class AutomapMenu : public ContextMenu {
  public:
    explicit AutomapMenu(const AutomapSpot& _Data);
    void command(int number) override;
    const AutomapSpot& getSpot() const { return Spot; }

  private:
    AutomapSpot Spot;
};

// The builder of event 54: NULL when a newer right click replaced the spot.
Component* BuildAutomapMenu(intptr_t Data);
