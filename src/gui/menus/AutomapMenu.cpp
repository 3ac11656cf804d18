#include "gui/menus/AutomapMenu.h"

#include "core/Assert.h"
#include "core/Status.h"
#include "gui/dialogs/EditMarkDialog.h"
#include "gui/framework/Dialogs.h"

namespace {
// The one spot waiting for its menu.
PendingRecord<AutomapSpot> Pending;
}  // namespace

void PostAutomapMenu(const AutomapSpot& Spot) { Pending.post(MESSAGE_AUTOMAP_MENU, Spot); }

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

Component* BuildAutomapMenu(intptr_t Data) {
    // A spot replaced by a newer right click opens nothing; the newer
    // event opens its own menu.
    const AutomapSpot* Spot = Pending.take(Data);
    return Spot != NULL ? new AutomapMenu(*Spot) : NULL;
}
