// The mark menu of the automap: "Set Mark" on a spot without a mark, "Edit
// Mark" and "Delete Mark" on a mark. It is opened by a right click on the
// automap picture through event 54, which carries the spot.
#pragma once

#include "gui/framework/ContextMenu.h"
#include "world/Automap.h"

#include <cstdint>

constexpr int MESSAGE_AUTOMAP_MENU = 54;

// Entries of the mark menu.
enum : int {
    AUTOMAP_MENU_SET_MARK = 10400,
    AUTOMAP_MENU_EDIT_MARK = 10401,
    AUTOMAP_MENU_DELETE_MARK = 10403,
};

// The field under the pointer and the mark there (x = y = 0: none).
struct AutomapSpot {
    int x = 0, y = 0, z = 0;
    AutomapMark Mark;
};

// Posts event 54 for the spot. The record is kept here, not on the heap:
// a queue that is cleared then leaks nothing, and a newer right click
// replaces a record whose menu has not opened yet.
void PostAutomapMenu(const AutomapSpot& Spot);
// The record of a posted event 54; false when a newer one replaced it.
bool TakeAutomapSpot(intptr_t Data, AutomapSpot& Spot);

class AutomapMenu : public ContextMenu {
  public:
    explicit AutomapMenu(const AutomapSpot& _Data);
    void command(int number) override;
    const AutomapSpot& getSpot() const { return Spot; }

  private:
    AutomapSpot Spot;
};
