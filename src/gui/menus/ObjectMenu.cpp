#include "gui/menus/ObjectMenu.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Status.h"
#include "gui/framework/Dialogs.h"
#include "world/Creatures.h"
#include "world/Inventory.h"
#include "world/TypeNumbers.h"

#include <algorithm>

namespace {
PendingRecord<ObjectMenuRecord> Pending;
// The objects a use-with and a trade start from, waiting for their targets.
PendingObject UseWithSource, TradeObject;

// The parent of the container an object lies in, as a move's destination:
// the container's own place with this stack position.
constexpr int PARENT_CONTAINER_PLACE = 0xFE;

bool InContainer(const ObjectLocation& L) { return L.x == 0xFFFF && L.y >= 64; }
bool IsItem(int Type) { return Type >= FIRST_ITEM_TYPE && Type != CREATURE; }
}  // namespace

void PostObjectMenu(const ObjectMenuRecord& Record) { Pending.post(MESSAGE_OBJECT_MENU, Record); }

void SetUseWithSource(const PendingObject& Source) { UseWithSource = Source; }
void SetTradeObject(const PendingObject& Object) { TradeObject = Object; }
const PendingObject& GetUseWithSource() { return UseWithSource; }
const PendingObject& GetTradeObject() { return TradeObject; }

ObjectClick ClassifyObjectClick(int keys) {
    if (keys & keys::SHIFT) return ObjectClick::Look;
    const bool Ctrl = (keys & keys::CTRL) != 0;
    return Ctrl == GetClassicControl() ? ObjectClick::Menu : ObjectClick::Use;
}

ObjectMenu::ObjectMenu(const ObjectMenuRecord& _Record) : Record(_Record) {
    ASSERT(Record.LookedType!=0);
    addEntry(MENU_LOOK, "Look", hint("(Shift)"));
    const int Used = Record.UsedType;
    if (IsItem(Used)) {
        if (!GetObjectFlag(Used, CONTAINER)) {
            if (GetObjectFlag(Used, MULTIUSE))
                addEntry(MENU_USE_WITH, "Use with ...", hint("(Ctrl)"));
            else
                addEntry(MENU_USE, "Use", hint("(Ctrl)"));
        } else if (InContainer(Record.Used)) {
            addEntry(MENU_OPEN, "Open", hint("(Ctrl)"));
            addEntry(MENU_OPEN_NEW_WINDOW, "Open in new window");
        } else {
            addEntry(MENU_OPEN_NEW_WINDOW, "Open", hint("(Ctrl)"));
        }
        if (GetObjectFlag(Used, ROTATE)) addEntry(MENU_ROTATE, "Rotate");
    }
    const int Looked = Record.LookedType;
    if (IsItem(Looked) && GetObjectFlag(Looked, TAKE)) {
        addSeparator();
        addEntry(MENU_TRADE, "Trade with ...");
    }
    // The server may have closed the window since the click.
    if (IsItem(Looked) && InContainer(Record.Looked) && Record.Looked.y - 64 < OPEN_CONTAINERS &&
        IsContainerOpen(Record.Looked.y - 64) && GetContainerHasParent(Record.Looked.y - 64))
        addEntry(MENU_MOVE_UP, "Move up");
    if (!TakeMenuCreature(Record.CreatureID, Creature)) Creature = MenuCreature();
    if (Creature.ID == 0) return;
    if (Creature.ID == GetPlayerID()) {
        addEntry(MENU_SET_OUTFIT, "Set Outfit");
        if (MayLeaveParty()) addEntry(MENU_LEAVE_PARTY, "Leave Party");
    } else {
        AddCreatureEntries(*this, Creature, true);
    }
    AddNameEntries(*this, Creature);
}

void ObjectMenu::use(int Container) {
    SendUseObject(Record.Used, Record.UsedType, Record.UsedStack, Container);
}

void ObjectMenu::command(int number) {
    if (Creature.ID != 0 && CreatureCommand(Creature, number)) return;
    const ObjectMenuRecord& R = Record;
    switch (number) {
    case MENU_LOOK: SendLook(R.Looked, R.LookedType, R.LookedStack); break;
    case MENU_USE: use(GetFreeContainerNumber()); break;
    case MENU_OPEN: use(R.Used.y - 64); break;
    case MENU_OPEN_NEW_WINDOW: use(GetFreeContainerNumber()); break;
    case MENU_USE_WITH:
        SetUseWithSource(PendingObject{R.Used.x, R.Used.y, R.Used.z, R.UsedType, R.UsedStack});
        PostEvent(MESSAGE_TARGET_1, 0, 0);
        break;
    case MENU_ROTATE: SendRotateObject(R.Used, R.UsedType, R.UsedStack); break;
    case MENU_TRADE:
        SetTradeObject(PendingObject{R.Looked.x, R.Looked.y, R.Looked.z, R.LookedType, R.LookedStack});
        PostEvent(MESSAGE_TARGET_2, 0, 0);
        break;
    case MENU_MOVE_UP: {
        // All of a pile, or one piece of anything else.
        const int Count = GetObjectFlag(R.LookedType, CUMULATIVE) ? std::max<int>(int(R.LookedData), 1) : 1;
        SendMoveObject(R.Looked, R.LookedType, R.LookedStack, 0xFFFF, R.Looked.y, PARENT_CONTAINER_PLACE, Count);
        break;
    }
    case MENU_SET_OUTFIT:
        if (Creature.ID != 0 && FindCreature(Creature.ID) != NULL) SendRequestOutfit();
        break;
    case MENU_LEAVE_PARTY:
        if (Creature.ID != 0 && FindCreature(Creature.ID) != NULL) SendLeaveParty();
        break;
    default: ContextMenu::command(number); break;
    }
}

Component* BuildObjectMenu(intptr_t Data) {
    const ObjectMenuRecord* R = Pending.take(Data);
    if (R == NULL) return NULL;
    ASSERT(R->LookedType!=0);
    if (R->LookedType == 0) return NULL;
    return new ObjectMenu(*R);
}
