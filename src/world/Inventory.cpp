// Body slots, containers and trade offers.
#include "world/Inventory.h"

#include "core/Assert.h"
#include "core/Utils.h"

#include <cstring>

namespace {

struct ContainerRecord {
    bool IsOpen;
    int Type;
    void* Window;
    char Name[INVENTORY_NAME_LENGTH];
    int Capacity;
    bool HasParent;
    int Count;
    ObjectInstance Objects[OBJECTS_PER_CONTAINER];
};

struct Offer {
    char Name[INVENTORY_NAME_LENGTH];
    int Count;
    ObjectInstance Objects[OBJECTS_PER_OFFER];
};

ObjectInstance Body[BODY_POSITIONS];
ContainerRecord Containers[OPEN_CONTAINERS];
Offer OwnOffer, CounterOffer;

// Checks the body slot number; -1 after a reported bad one.
int BodyPosition(int Slot) {
    int Pos = Slot - 1;
    ASSERT(In(Pos,0,BODY_POSITIONS-1));
    return In(Pos, 0, BODY_POSITIONS - 1) ? Pos : -1;
}

// Every container operation checks the number, most also that it is open.
ContainerRecord* Checked(int Container, bool MustBeOpen) {
    ASSERT(In(Container,0,OPEN_CONTAINERS-1));
    if (!In(Container, 0, OPEN_CONTAINERS - 1)) return nullptr;
    if (MustBeOpen) {
        ASSERT(Containers[Container].IsOpen);
        if (!Containers[Container].IsOpen) return nullptr;
    }
    return &Containers[Container];
}

bool ValidName(const char* Name) {
    ASSERT(Name!=NULL && strlen(Name)<30);
    return Name != NULL && strlen(Name) < 30;
}

}  // namespace

// ---- Module life ----------------------------------------------------------------------

void InitInventory() { ResetInventory(); }

void ExitInventory() { ResetInventory(); }

void ResetInventory() {
    for (ObjectInstance& O : Body) O = ObjectInstance{};
    for (ContainerRecord& C : Containers) {
        C.IsOpen = false;
        C.Type = 0;
        C.Window = nullptr;
        C.Name[0] = 0;
        C.Capacity = 0;
        C.HasParent = false;
        C.Count = 0;
    }
    CloseTrade();
    OwnOffer.Name[0] = CounterOffer.Name[0] = 0;
}

// ---- Body slots --------------------------------------------------------------------------

void SetBodyObject(int Slot, int Type, uint32_t Data) {
    int Pos = BodyPosition(Slot);
    if (Pos >= 0) Body[Pos] = ObjectInstance{Type, Data, 0};
}

void ClearBodyObject(int Slot) {
    int Pos = BodyPosition(Slot);
    if (Pos >= 0) Body[Pos] = ObjectInstance{};
}

ObjectInstance GetBodyObject(int Slot) {
    int Pos = BodyPosition(Slot);
    return Pos >= 0 ? Body[Pos] : ObjectInstance{};
}

// ---- Containers -----------------------------------------------------------------------------

void OpenContainer(int Container, int Type, void* Window, const char* Name, int Capacity, bool HasParent) {
    if (Checked(Container, false) == nullptr) return;
    ASSERT(!Containers[Container].IsOpen);
    if (!ValidName(Name)) return;
    ContainerRecord& C = Containers[Container];
    C.IsOpen = true;
    C.Type = Type;
    C.Window = Window;
    std::strcpy(C.Name, Name);
    Capitalize(C.Name);
    C.Capacity = Capacity;
    C.HasParent = HasParent;
    C.Count = 0;
}

void CloseContainer(int Container) {
    ContainerRecord* C = Checked(Container, true);
    if (C == nullptr) return;
    C->IsOpen = false;
    C->Window = nullptr;
    C->Count = 0;
}

bool IsContainerOpen(int Container) {
    ContainerRecord* C = Checked(Container, false);
    return C != nullptr && C->IsOpen;
}

void AppendContainerObject(int Container, int Type, uint32_t Data) {
    ContainerRecord* C = Checked(Container, true);
    if (C == nullptr || C->Count >= OBJECTS_PER_CONTAINER) return;
    C->Objects[C->Count++] = ObjectInstance{Type, Data, 0};
}

void InsertContainerObject(int Container, int Type, uint32_t Data) {
    ContainerRecord* C = Checked(Container, true);
    if (C == nullptr) return;
    if (C->Count >= OBJECTS_PER_CONTAINER) C->Count = OBJECTS_PER_CONTAINER - 1;
    for (int p = C->Count; p > 0; p--) C->Objects[p] = C->Objects[p - 1];
    C->Objects[0] = ObjectInstance{Type, Data, 0};
    C->Count++;
}

void ChangeContainerObject(int Container, int Position, int Type, uint32_t Data) {
    ContainerRecord* C = Checked(Container, true);
    if (C == nullptr || !In(Position, 0, C->Count - 1)) return;
    C->Objects[Position] = ObjectInstance{Type, Data, 0};
}

bool RemoveContainerObject(int Container, int Position) {
    ContainerRecord* C = Checked(Container, true);
    if (C == nullptr || !In(Position, 0, C->Count - 1)) return false;
    bool WasFull = C->Count == OBJECTS_PER_CONTAINER;
    for (int p = Position; p < C->Count - 1; p++) C->Objects[p] = C->Objects[p + 1];
    C->Count--;
    return WasFull;
}

ObjectInstance GetContainerObject(int Container, int Position) {
    if (Checked(Container, true) == nullptr) return ObjectInstance{};
    ASSERT(In(Position,0,Containers[Container].Count-1));
    if (!In(Position, 0, Containers[Container].Count - 1)) return ObjectInstance{};
    return Containers[Container].Objects[Position];
}

int GetContainerCount(int Container) {
    ContainerRecord* C = Checked(Container, true);
    return C != nullptr ? C->Count : 0;
}

int GetContainerType(int Container) {
    ContainerRecord* C = Checked(Container, true);
    return C != nullptr ? C->Type : 0;
}

void* GetContainerWindow(int Container) {
    ContainerRecord* C = Checked(Container, true);
    return C != nullptr ? C->Window : nullptr;
}

void SetContainerWindow(int Container, void* Window) {
    ContainerRecord* C = Checked(Container, true);
    if (C != nullptr) C->Window = Window;
}

const char* GetContainerName(int Container) {
    ContainerRecord* C = Checked(Container, true);
    return C != nullptr ? C->Name : "";
}

int GetContainerCapacity(int Container) {
    ContainerRecord* C = Checked(Container, true);
    return C != nullptr ? C->Capacity : 0;
}

bool GetContainerHasParent(int Container) {
    ContainerRecord* C = Checked(Container, true);
    return C != nullptr && C->HasParent;
}

int GetFreeContainerNumber() {
    for (int n = 0; n < OPEN_CONTAINERS; n++)
        if (!Containers[n].IsOpen) return n;
    return OPEN_CONTAINERS - 1;
}

// ---- Trade ---------------------------------------------------------------------------------------

void StartOwnOffer(const char* Name) {
    // The server may send the own offer again while the trade is open: the
    // new one replaces what was offered so far.
    OwnOffer.Count = 0;
    if (!ValidName(Name)) return;
    std::strcpy(OwnOffer.Name, Name);
}

void AddOwnOfferObject(int Type, uint32_t Data) {
    ASSERT(OwnOffer.Count<OBJECTS_PER_OFFER);
    if (OwnOffer.Count >= OBJECTS_PER_OFFER) return;
    OwnOffer.Objects[OwnOffer.Count++] = ObjectInstance{Type, Data, 0};
}

bool StartCounterOffer(const char* Name) {
    if (CounterOffer.Count > 0) return false;
    if (!ValidName(Name)) return false;
    std::strcpy(CounterOffer.Name, Name);
    return true;
}

void AddCounterOfferObject(int Type, uint32_t Data) {
    ASSERT(CounterOffer.Count<OBJECTS_PER_OFFER);
    if (CounterOffer.Count >= OBJECTS_PER_OFFER) return;
    CounterOffer.Objects[CounterOffer.Count++] = ObjectInstance{Type, Data, 0};
}

void CloseTrade() {
    OwnOffer.Count = 0;
    CounterOffer.Count = 0;
}

const char* GetOwnOfferName() {
    ASSERT(OwnOffer.Count>0);
    return OwnOffer.Name;
}

const char* GetCounterOfferName() {
    ASSERT(CounterOffer.Count>0);
    return CounterOffer.Name;
}

int GetOwnOfferCount() { return OwnOffer.Count; }
int GetCounterOfferCount() { return CounterOffer.Count; }

ObjectInstance GetOwnOfferObject(int Position) {
    ASSERT(In(Position,0,OwnOffer.Count-1));
    if (!In(Position, 0, OwnOffer.Count - 1)) return ObjectInstance{};
    return OwnOffer.Objects[Position];
}

ObjectInstance GetCounterOfferObject(int Position) {
    ASSERT(In(Position,0,CounterOffer.Count-1));
    if (!In(Position, 0, CounterOffer.Count - 1)) return ObjectInstance{};
    return CounterOffer.Objects[Position];
}
