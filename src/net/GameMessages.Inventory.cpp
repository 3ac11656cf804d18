// Containers, body slots and the two offers of a trade.
#include "core/Assert.h"
#include "net/Commands.h"
#include "net/GameMessagesLocal.h"
#include "net/Network.h"
#include "world/Inventory.h"

namespace gamemessages {

namespace {

// Container numbers and body slots come from the server; one outside the
// tables is a broken message.
bool ValidContainer(int Container) {
    ASSERT(In(Container,0,OPEN_CONTAINERS-1));
    return In(Container, 0, OPEN_CONTAINERS - 1);
}

bool ValidSlot(int Slot) {
    ASSERT(In(Slot,1,BODY_POSITIONS));
    return In(Slot, 1, BODY_POSITIONS);
}

}  // namespace

void CContainerOpen() {
    const int Container = GetByte();
    const int Type = GetWord();
    char Name[INVENTORY_NAME_LENGTH];
    GetString(Name, INVENTORY_NAME_LENGTH);
    const int Capacity = GetByte();
    const bool HasParent = GetByte() != 0;
    const int Count = GetByte();
    if (!ValidContainer(Container)) return;
    if (IsContainerOpen(Container)) CloseContainer(Container);
    OpenContainer(Container, Type, NULL, Name, Capacity, HasParent);
    for (int n = 0; n < Count; n++) {
        const ObjectInstance Obj = ReadThing(NULL);
        // objects beyond the container's room are read and dropped
        if (GetContainerCount(Container) < OBJECTS_PER_CONTAINER)
            AppendContainerObject(Container, Obj.Type, Obj.Data);
    }
}

void CContainerClose() {
    const int Container = GetByte();
    if (!ValidContainer(Container)) return;
    if (IsContainerOpen(Container)) CloseContainer(Container);
}

void CContainerAdd() {
    const int Container = GetByte();
    if (!ValidContainer(Container)) return;
    const ObjectInstance Obj = ReadThing(NULL);
    ASSERT(IsContainerOpen(Container));
    if (!IsContainerOpen(Container)) return;
    InsertContainerObject(Container, Obj.Type, Obj.Data);
}

void CContainerChange() {
    const int Container = GetByte();
    const int Position = GetByte();
    if (!ValidContainer(Container)) return;
    const ObjectInstance Obj = ReadThing(NULL);
    ASSERT(IsContainerOpen(Container));
    if (!IsContainerOpen(Container)) return;
    ChangeContainerObject(Container, Position, Obj.Type, Obj.Data);
}

void CContainerRemove() {
    const int Container = GetByte();
    const int Position = GetByte();
    if (!ValidContainer(Container)) return;
    ASSERT(IsContainerOpen(Container));
    if (!IsContainerOpen(Container)) return;
    if (RemoveContainerObject(Container, Position)) SendRequestContainer(Container);
}

void CInventorySet() {
    const int Slot = GetByte();
    const ObjectInstance Obj = ReadThing(NULL);
    if (!ValidSlot(Slot)) return;
    SetBodyObject(Slot, Obj.Type, Obj.Data);
}

void CInventoryClear() {
    const int Slot = GetByte();
    if (!ValidSlot(Slot)) return;
    ClearBodyObject(Slot);
}

void CTradeOwn() {
    char Name[INVENTORY_NAME_LENGTH];
    GetString(Name, INVENTORY_NAME_LENGTH);
    const int Count = GetByte();
    StartOwnOffer(Name);
    for (int n = 0; n < Count; n++) {
        const ObjectInstance Obj = ReadThing(NULL);
        AddOwnOfferObject(Obj.Type, Obj.Data);
    }
}

void CTradeCounter() {
    char Name[INVENTORY_NAME_LENGTH];
    GetString(Name, INVENTORY_NAME_LENGTH);
    const int Count = GetByte();
    const bool Store = StartCounterOffer(Name);
    for (int n = 0; n < Count; n++) {
        const ObjectInstance Obj = ReadThing(NULL);
        if (Store) AddCounterOfferObject(Obj.Type, Obj.Data);
    }
}

void CTradeClose() { CloseTrade(); }

}  // namespace gamemessages
