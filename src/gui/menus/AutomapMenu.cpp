#include "gui/menus/AutomapMenu.h"

#include "core/Assert.h"
#include "core/Status.h"
#include "gui/dialogs/EditMarkDialog.h"

namespace {
// The one spot waiting for its menu, and the number of its event.
AutomapSpot Pending;
intptr_t PendingNumber = 0;
}  // namespace

void PostAutomapMenu(const AutomapSpot& Spot) {
    Pending = Spot;
    ++PendingNumber;
    PostEvent(MESSAGE_AUTOMAP_MENU, PendingNumber, 0);
}

bool TakeAutomapSpot(intptr_t Data, AutomapSpot& Spot) {
    if (Data == 0 || Data != PendingNumber) return false;
    Spot = Pending;
    return true;
}

AutomapMenu::AutomapMenu(const AutomapSpot& _Data) : Spot(_Data) {
    if (Spot.Mark.x == 0 && Spot.Mark.y == 0) {
        addEntry(AUTOMAP_MENU_SET_MARK, "Set Mark");
    } else {
        addEntry(AUTOMAP_MENU_EDIT_MARK, "Edit Mark");
        addEntry(AUTOMAP_MENU_DELETE_MARK, "Delete Mark");
    }
}

void AutomapMenu::command(int number) {
    switch (number) {
    case AUTOMAP_MENU_SET_MARK:
        PostEditMark(MESSAGE_SET_MARK, Coordinate{Spot.x, Spot.y, Spot.z}, AutomapMark());
        break;
    case AUTOMAP_MENU_EDIT_MARK:
        PostEditMark(MESSAGE_EDIT_MARK, Coordinate{Spot.Mark.x, Spot.Mark.y, Spot.z}, Spot.Mark);
        break;
    case AUTOMAP_MENU_DELETE_MARK: DeleteAutomapMarks(Spot.Mark.x, Spot.Mark.y, Spot.z); break;
    default: ContextMenu::command(number); break;
    }
}
