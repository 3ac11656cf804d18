// Sections: state and finding objects; showing changes; taking and putting;
// containers; moving; using, rotating and texts; trade; the player's life.
#include "server/Objects.h"

#include "server/Chance.h"
#include "server/Fight.h"
#include "server/GameLocal.h"
#include "server/Life.h"
#include "server/GameMessages.h"
#include "server/ItemRules.h"
#include "server/ObjectTypes.h"
#include "server/WorldMap.h"
#include "world/TypeNumbers.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>

namespace server::objects {

using namespace objecttypes;
using namespace itemrules;
using game::MESSAGE_INFO;
using game::MESSAGE_LOOK;
using game::MESSAGE_STATUS;
using game::Send;
using game::TextMessage;
using messages::CanSee;

// How far an object can be thrown from the player, and how far apart two
// players may trade.
static constexpr int THROW_RANGE_X = 7, THROW_RANGE_Y = 5;
static constexpr int TRADE_RANGE = 2;

// ---- State and finding objects ------------------------------------------------------

namespace {

// A place that holds objects: a map field, a body slot or a container
// (found again by its handle wherever it is).
struct Spot {
    enum Kind { NONE, FIELD, SLOT, CONTAINER } Kind = NONE;
    Position Pos;
    int Slot = 0;
    uint32_t Handle = 0;
};

// Where an object was found: under the body slots, in the depot or on the map.
enum class Root { NONE, BODY, DEPOT, MAP };

struct Found {
    Object* Item = nullptr;
    Object* Parent = nullptr;  // the container holding it; nullptr at the top
    int Index = 0;             // in the parent, the body slot (1..10) or the stack position
    Root Where = Root::NONE;
    Position Pos;              // the field of an object found on the map
};

// The object that a client location names, with the spot that holds it.
struct Located {
    Spot Where;
    int Index = 0;
    Object* Item = nullptr;
    Root From = Root::NONE;
};

struct PlayerState {
    std::array<uint32_t, OPEN_CONTAINERS> Open{};  // container handle of each window, 0 when closed
    int LastCapacity = -1;
    uint32_t TradePartner = 0;
    uint32_t TradeHandle = 0;   // the object offered
    std::vector<Object> Offer;  // as listed to both players
    bool Accepted = false;
};

struct Editing {
    uint32_t Player = 0;
    Spot Where;
    int Index = 0;
    int Type = 0;
};

}  // namespace

static std::map<uint32_t, PlayerState> States;  // by creature id
static std::map<uint32_t, Editing> Edits;
static uint32_t NextHandle = 1;
static uint32_t NextEditID = 1;

static PlayerState& State(Player& P) { return States[P.Body->ID]; }

static uint32_t HandleOf(Object& O) {
    if (O.Handle == 0) O.Handle = NextHandle++;
    return O.Handle;
}

static void ForgetHandles(Object& O) {
    O.Handle = 0;
    for (Object& Inner : O.Contents) ForgetHandles(Inner);
}

static bool Near(const Position& A, const Position& B) {
    return A.z == B.z && std::abs(A.x - B.x) <= 1 && std::abs(A.y - B.y) <= 1;
}

static int Pieces(const Object& O) { return HasFlag(O.Type, CUMULATIVE) ? std::max(O.Data, 1) : 1; }

static bool SearchInside(Object& Holder, uint32_t H, Found& F) {
    for (size_t i = 0; i < Holder.Contents.size(); i++) {
        Object& O = Holder.Contents[i];
        if (O.Handle == H) {
            F.Item = &O;
            F.Parent = &Holder;
            F.Index = int(i);
            return true;
        }
        if (!O.Contents.empty() && SearchInside(O, H, F)) return true;
    }
    return false;
}

static bool Contains(Object& Holder, uint32_t H) {
    Found Ignored;
    return H != 0 && SearchInside(Holder, H, Ignored);
}

// Calls Each(Position) for the fields around the player on its floor.
template <typename F>
static void ForEachNearField(const Player& P, F Each) {
    const Position& Me = P.Body->Pos;
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) Each(Position{Me.x + dx, Me.y + dy, Me.z});
}

static bool DepotInReach(const Player& P) {
    bool Seen = false;
    ForEachNearField(P, [&](const Position& Pos) {
        if (const worldmap::Field* F = worldmap::GetField(Pos))
            for (const Object& O : F->Stack) Seen = Seen || O.Type == TYPE_DEPOT_BOX;
    });
    return Seen;
}

// Finds an object by its handle among what the player can reach: what it
// carries, its depot while a depot box is near, and the fields around it.
static Found FindReachable(Player& P, uint32_t H) {
    Found F;
    if (H == 0) return F;
    auto Top = [&](Object& O, Root Where, int Index) {
        F.Where = Where;
        if (O.Handle == H) {
            F.Item = &O;
            F.Parent = nullptr;
            F.Index = Index;
            return true;
        }
        return SearchInside(O, H, F);
    };
    for (int Slot = 1; Slot <= BODY_POSITIONS; Slot++) {
        Object& O = P.Record->Inventory[size_t(Slot - 1)];
        if (O.Type != 0 && Top(O, Root::BODY, Slot)) return F;
    }
    if (P.Record->HasDepot && DepotInReach(P) && Top(P.Record->Depot, Root::DEPOT, 0)) return F;
    bool Done = false;
    ForEachNearField(P, [&](const Position& Pos) {
        for (int i = 0; !Done; i++) {
            Object* O = worldmap::GetThing(Pos, i);
            if (O == nullptr) break;
            if (!O->IsCreature() && Top(*O, Root::MAP, i)) {
                F.Pos = Pos;
                Done = true;
            }
        }
    });
    return Done ? F : Found{};
}

static void SendClose(Player& P, int Number) {
    State(P).Open[size_t(Number)] = 0;
    Message M;
    M.addByte(111).addByte(Number);
    Send(P, M);
}

// The container shown in the player's window; a container that has gone
// out of reach closes its window.
static Found OpenContainerObject(Player& P, int Number) {
    if (Number < 0 || Number >= OPEN_CONTAINERS) return {};
    uint32_t H = State(P).Open[size_t(Number)];
    if (H == 0) return {};
    Found F = FindReachable(P, H);
    if (F.Item == nullptr) SendClose(P, Number);
    return F;
}

// The place of a container window that stands for the container holding the
// window's own ("Move up" in the object menu).
constexpr int MOVE_UP_PLACE = 254;

static Located Locate(Player& P, const Position& L, int StackPos) {
    Located R;
    if (L.x != 0xFFFF) {
        if (!CanSee(P.MapPos, L)) return R;
        R.Where.Kind = Spot::FIELD;
        R.Where.Pos = L;
        R.Index = StackPos;
        R.Item = worldmap::GetThing(L, StackPos);
        R.From = Root::MAP;
    } else if (L.y >= 1 && L.y <= BODY_POSITIONS) {
        Object& O = P.Record->Inventory[size_t(L.y - 1)];
        R.Where.Kind = Spot::SLOT;
        R.Where.Slot = L.y;
        R.Item = O.Type != 0 ? &O : nullptr;
        R.From = Root::BODY;
    } else if (L.y >= 64 && L.y < 64 + OPEN_CONTAINERS) {
        Found C = OpenContainerObject(P, L.y - 64);
        if (C.Item == nullptr || L.z >= int(C.Item->Contents.size())) return R;
        R.Where.Kind = Spot::CONTAINER;
        R.Where.Handle = C.Item->Handle;
        R.Index = L.z;
        R.Item = &C.Item->Contents[size_t(L.z)];
        R.From = C.Where;
    }
    return R;
}

const Object* Find(Player& P, const Position& Where, int StackPos) { return Locate(P, Where, StackPos).Item; }

static Object* ObjectAt(Player& P, const Spot& S, int Index) {
    switch (S.Kind) {
        case Spot::FIELD: return worldmap::GetThing(S.Pos, Index);
        case Spot::SLOT: {
            Object& O = P.Record->Inventory[size_t(S.Slot - 1)];
            return O.Type != 0 ? &O : nullptr;
        }
        case Spot::CONTAINER: {
            Found C = FindReachable(P, S.Handle);
            if (C.Item == nullptr || Index < 0 || Index >= int(C.Item->Contents.size())) return nullptr;
            return &C.Item->Contents[size_t(Index)];
        }
        default: return nullptr;
    }
}

// The spot that holds a found object, and its index there.
static Spot SpotOf(const Found& F, int& Index) {
    Spot S;
    Index = F.Index;
    if (F.Parent != nullptr) {
        S.Kind = Spot::CONTAINER;
        S.Handle = F.Parent->Handle;
    } else if (F.Where == Root::BODY) {
        S.Kind = Spot::SLOT;
        S.Slot = F.Index;
        Index = 0;
    } else if (F.Where == Root::MAP) {
        S.Kind = Spot::FIELD;
        S.Pos = F.Pos;
    }
    return S;
}

// ---- Showing changes ------------------------------------------------------------------

template <typename F>
static void ToViewersOf(const Position& Pos, F Build) {
    for (auto& [ID, Viewer] : game::AllPlayers()) {
        if (!CanSee(Viewer->MapPos, Pos)) continue;
        Message M;
        Build(M, *Viewer);
        Send(*Viewer, M);
    }
}

// Calls Build(Message, Number, Viewer) for every window showing the container.
template <typename F>
static void ToWindowsOf(uint32_t Handle, F Build) {
    for (auto& [ID, Viewer] : game::AllPlayers()) {
        auto It = States.find(ID);
        if (It == States.end()) continue;
        Message M;
        for (int n = 0; n < OPEN_CONTAINERS; n++)
            if (It->second.Open[size_t(n)] == Handle) Build(M, n, *Viewer);
        if (!M.empty()) Send(*Viewer, M);
    }
}

static void ShowSlot(Player& P, int Slot) {
    const Object& O = P.Record->Inventory[size_t(Slot - 1)];
    Message M;
    if (O.Type == 0) {
        M.addByte(121).addByte(Slot);
    } else {
        M.addByte(120).addByte(Slot);
        messages::AddThing(M, P, O);
    }
    Send(P, M);
}

// The object at Index of the spot was replaced (a new count or type).
static void ShowChanged(Player& P, const Spot& S, int Index, const Object& O) {
    switch (S.Kind) {
        case Spot::FIELD:
            ToViewersOf(S.Pos, [&](Message& M, Player& Viewer) {
                M.addByte(107).addPosition(S.Pos).addByte(Index);
                messages::AddThing(M, Viewer, O);
            });
            break;
        case Spot::SLOT: ShowSlot(P, S.Slot); break;
        case Spot::CONTAINER:
            ToWindowsOf(S.Handle, [&](Message& M, int Number, Player& Viewer) {
                M.addByte(113).addByte(Number).addByte(Index);
                messages::AddThing(M, Viewer, O);
            });
            break;
        default: break;
    }
}

// ---- Taking and putting -----------------------------------------------------------------

// Takes Count pieces of the object at Index (the whole object unless it is
// a larger stack) out of the spot and shows the change.
static Object Take(Player& P, const Spot& S, int Index, int Count) {
    Object* O = ObjectAt(P, S, Index);
    if (HasFlag(O->Type, CUMULATIVE) && Count < Pieces(*O)) {
        Object Part = *O;
        Part.Handle = 0;
        Part.Data = Count;
        O->Data = Pieces(*O) - Count;
        ShowChanged(P, S, Index, *O);
        return Part;
    }
    Object Whole = std::move(*O);
    switch (S.Kind) {
        case Spot::FIELD:
            worldmap::RemoveThing(S.Pos, Index);
            ToViewersOf(S.Pos, [&](Message& M, Player&) { M.addByte(108).addPosition(S.Pos).addByte(Index); });
            break;
        case Spot::SLOT:
            *O = Object{};
            ShowSlot(P, S.Slot);
            break;
        case Spot::CONTAINER: {
            Found C = FindReachable(P, S.Handle);
            C.Item->Contents.erase(C.Item->Contents.begin() + Index);
            ToWindowsOf(S.Handle, [&](Message& M, int Number, Player&) { M.addByte(114).addByte(Number).addByte(Index); });
            break;
        }
        default: break;
    }
    return Whole;
}

// Puts the object into the spot, added to the stack at Merge (an index) or,
// with Merge -1, as an object of its own: on a field by the stacking rule,
// in a container at the front.
static void Put(Player& P, const Spot& S, Object O, int Merge) {
    if (Merge >= 0) {
        Object* Stack = ObjectAt(P, S, Merge);
        Stack->Data = Pieces(*Stack) + Pieces(O);
        ShowChanged(P, S, Merge, *Stack);
        return;
    }
    switch (S.Kind) {
        case Spot::FIELD:
            if (worldmap::AddThing(S.Pos, O) < 0) return;
            ToViewersOf(S.Pos, [&](Message& M, Player& Viewer) {
                M.addByte(106).addPosition(S.Pos);
                messages::AddThing(M, Viewer, O);
            });
            break;
        case Spot::SLOT:
            P.Record->Inventory[size_t(S.Slot - 1)] = std::move(O);
            ShowSlot(P, S.Slot);
            break;
        case Spot::CONTAINER: {
            Found C = FindReachable(P, S.Handle);
            C.Item->Contents.insert(C.Item->Contents.begin(), std::move(O));
            const Object& Added = C.Item->Contents.front();
            ToWindowsOf(S.Handle, [&](Message& M, int Number, Player& Viewer) {
                M.addByte(112).addByte(Number);
                messages::AddThing(M, Viewer, Added);
            });
            break;
        }
        default: break;
    }
}

static int CarriedWeight(const CharacterRecord& R) {
    int Weight = 0;
    for (const Object& O : R.Inventory)
        if (O.Type != 0) Weight += ObjectWeight(O);
    return Weight;
}

// Free capacity in hundredths.
static int FreeWeight(const CharacterRecord& R) { return R.Capacity * 100 - CarriedWeight(R); }

int FreeCapacity(const CharacterRecord& R) { return std::clamp(FreeWeight(R) / 100, 0, 65535); }

static void RefreshCapacity(Player& P) {
    int Free = FreeCapacity(*P.Record);
    PlayerState& S = State(P);
    if (Free == S.LastCapacity) return;
    S.LastCapacity = Free;
    game::SendPlayerData(P);
}

static void CancelTrade(Player& P, const char* Why);

// After objects moved: windows of containers that went out of reach close
// (for every player), trades whose object has left its owner end, and the
// players' capacity is shown anew.
static void AfterChange(Player& Actor) {
    for (auto& [ID, P] : game::AllPlayers()) {
        auto It = States.find(ID);
        if (It == States.end()) continue;
        for (int n = 0; n < OPEN_CONTAINERS; n++) {
            uint32_t H = It->second.Open[size_t(n)];
            if (H != 0 && FindReachable(*P, H).Item == nullptr) SendClose(*P, n);
        }
        if (It->second.TradePartner != 0 && FindReachable(*P, It->second.TradeHandle).Where != Root::BODY)
            CancelTrade(*P, "Trade cancelled.");
    }
    RefreshCapacity(Actor);
    // A trade changes the partner's slots too (a ring, a torch).
    for (auto& [ID, P] : game::AllPlayers()) game::EquipmentChanged(*P);
}

void RemoveFromMap(const Position& Pos, int Stack) {
    if (worldmap::GetThing(Pos, Stack) == nullptr) return;
    worldmap::RemoveThing(Pos, Stack);
    ToViewersOf(Pos, [&](Message& M, Player&) { M.addByte(108).addPosition(Pos).addByte(Stack); });
    for (auto& [ID, P] : game::AllPlayers()) {
        auto It = States.find(ID);
        if (It == States.end()) continue;
        for (int n = 0; n < OPEN_CONTAINERS; n++) {
            uint32_t H = It->second.Open[size_t(n)];
            if (H != 0 && FindReachable(*P, H).Item == nullptr) SendClose(*P, n);
        }
    }
}

// ---- Containers ---------------------------------------------------------------------------

static void SendOpen(Player& P, int Number, const Object& C, bool HasParent) {
    int Capacity = std::clamp(std::max(ContainerCapacity(C.Type), int(C.Contents.size())), 1, messages::CONTAINER_PLACES);
    Message M;
    messages::AddContainerOpen(M, P, Number, C, TypeName(C.Type).substr(0, 29), Capacity, HasParent);
    Send(P, M);
}

// The player's own depot, filled from the world's depot box the first time.
static Object& DepotOf(Player& P, const Object& Box) {
    CharacterRecord& R = *P.Record;
    if (!R.HasDepot) {
        R.Depot = Box;
        R.Depot.Text.clear();
        ForgetHandles(R.Depot);
        R.HasDepot = true;
    }
    return R.Depot;
}

static void OpenContainer(Player& P, const Located& L, int Number) {
    if (Number < 0 || Number >= OPEN_CONTAINERS) return;
    Object* C = L.Item;
    bool HasParent = L.Where.Kind == Spot::CONTAINER;
    if (C->Type == TYPE_DEPOT_BOX && L.Where.Kind == Spot::FIELD) C = &DepotOf(P, *C);
    uint32_t H = HandleOf(*C);
    PlayerState& S = State(P);
    // Using a container that is open already closes it.
    for (int n = 0; n < OPEN_CONTAINERS; n++) {
        if (S.Open[size_t(n)] == H) {
            SendClose(P, n);
            return;
        }
    }
    S.Open[size_t(Number)] = H;
    SendOpen(P, Number, *C, HasParent);
}

void CloseContainer(Player& P, int Number) {
    if (Number < 0 || Number >= OPEN_CONTAINERS || State(P).Open[size_t(Number)] == 0) return;
    SendClose(P, Number);
}

void ContainerUp(Player& P, int Number) {
    Found F = OpenContainerObject(P, Number);
    if (F.Item == nullptr || F.Parent == nullptr) return;
    uint32_t H = HandleOf(*F.Parent);
    PlayerState& S = State(P);
    for (int n = 0; n < OPEN_CONTAINERS; n++)
        if (n != Number && S.Open[size_t(n)] == H) SendClose(P, n);
    Found Parent = FindReachable(P, H);
    S.Open[size_t(Number)] = H;
    SendOpen(P, Number, *Parent.Item, Parent.Parent != nullptr);
}

void RequestContainer(Player& P, int Number) {
    Found F = OpenContainerObject(P, Number);
    if (F.Item != nullptr) SendOpen(P, Number, *F.Item, F.Parent != nullptr);
}

// ---- Moving ----------------------------------------------------------------------------------

// A field an object can be put on: ground that is not blocked by anything
// but furniture to put things on (HEIGHT). Something that blocks the way
// itself needs a field without creatures and blocking objects.
static bool CanHold(const Position& Pos, int Type) {
    const worldmap::Field* F = worldmap::GetField(Pos);
    if (F == nullptr || F->Stack.empty() || !HasFlag(F->Stack[0].Type, BANK)) return false;
    bool Blocking = HasFlag(Type, UNPASS);
    for (const Object& O : F->Stack) {
        if (O.IsCreature()) {
            if (Blocking) return false;
            continue;
        }
        if (HasFlag(O.Type, UNPASS) && (Blocking || !HasFlag(O.Type, HEIGHT))) return false;
    }
    return true;
}

// Nothing fixed and blocking (walls, trees, closed doors) stands on the
// fields between the two, on a straight line.
bool ClearLine(const Position& From, const Position& To) {
    if (From.z != To.z) return false;
    int dx = std::abs(To.x - From.x), dy = -std::abs(To.y - From.y);
    int sx = From.x < To.x ? 1 : -1, sy = From.y < To.y ? 1 : -1;
    int Error = dx + dy, x = From.x, y = From.y;
    for (;;) {
        if (x == To.x && y == To.y) return true;
        int e2 = 2 * Error;
        if (e2 >= dy) Error += dy, x += sx;
        if (e2 <= dx) Error += dx, y += sy;
        if (x == To.x && y == To.y) return true;
        if (const worldmap::Field* F = worldmap::GetField({x, y, From.z}))
            for (const Object& O : F->Stack)
                if (!O.IsCreature() && !HasFlag(O.Type, BANK) && HasFlag(O.Type, UNPASS) && HasFlag(O.Type, UNMOVE))
                    return false;
    }
}

// Pushes a creature standing next to the player one field on.
static void PushCreature(Player& P, const Located& Src, const Position& To) {
    Creature* C = game::FindCreature(Src.Item->CreatureID);
    if (C == nullptr || C == P.Body || To.x == 0xFFFF) return;
    if (!Near(P.Body->Pos, C->Pos)) {
        TextMessage(P, MESSAGE_STATUS, "You are too far away.");
        return;
    }
    if (!Near(C->Pos, To) || To == C->Pos || !worldmap::IsWalkable(To) || worldmap::GetFloorChange(To) != nullptr) {
        TextMessage(P, MESSAGE_STATUS, "There is not enough room.");
        return;
    }
    C->WalkQueue.clear();
    game::MoveCreature(*C, To);
}

static bool SameSpot(const Spot& A, const Spot& B) {
    if (A.Kind != B.Kind) return false;
    if (A.Kind == Spot::FIELD) return A.Pos == B.Pos;
    if (A.Kind == Spot::SLOT) return A.Slot == B.Slot;
    return A.Handle == B.Handle;
}

void Move(Player& P, const Position& From, int Type, int StackPos, const Position& To, int Count) {
    Located Src = Locate(P, From, StackPos);
    if (Src.Item == nullptr || Src.Item->Type != Type) return;
    if (Src.Item->IsCreature()) {
        PushCreature(P, Src, To);
        return;
    }
    const Position& Me = P.Body->Pos;
    if (HasFlag(Type, UNMOVE)) {
        TextMessage(P, MESSAGE_STATUS, "You cannot move this object.");
        return;
    }
    if (Src.Where.Kind == Spot::FIELD && !Near(Me, From)) {
        TextMessage(P, MESSAGE_STATUS, "You are too far away.");
        return;
    }
    bool Cumulative = HasFlag(Type, CUMULATIVE);
    if (!Cumulative) Count = 1;
    if (Count < 1 || Count > Pieces(*Src.Item)) return;

    Spot Dest;
    int Merge = -1;
    Root DestRoot = Root::NONE;
    auto Refuse = [&](const char* Text) { TextMessage(P, MESSAGE_STATUS, Text); };
    auto Mergeable = [&](const Object& Stack) {
        return Cumulative && Stack.Type == Type && &Stack != Src.Item && Pieces(Stack) + Count <= MAX_STACK;
    };
    if (To.x != 0xFFFF) {
        if (Src.Where.Kind == Spot::FIELD && To == From) return;
        if (To.z != Me.z || std::abs(To.x - Me.x) > THROW_RANGE_X || std::abs(To.y - Me.y) > THROW_RANGE_Y)
            return Refuse("Destination is out of reach.");
        if (!CanHold(To, Type)) return Refuse("There is not enough room.");
        if (!ClearLine(Me, To)) return Refuse("You cannot throw there.");
        const worldmap::Field& F = *worldmap::GetField(To);
        int Top = worldmap::StackingPosition(F, *Src.Item);
        if (Top < int(F.Stack.size()) && Mergeable(F.Stack[size_t(Top)])) Merge = Top;
        if (Merge < 0 && F.Stack.size() >= size_t(OBJECTS_PER_POINT)) return Refuse("There is not enough room.");
        Dest.Kind = Spot::FIELD;
        Dest.Pos = To;
        DestRoot = Root::MAP;
    } else if (To.y >= 1 && To.y <= BODY_POSITIONS) {
        if (!HasFlag(Type, TAKE)) return Refuse("You cannot take this object.");
        if (Src.Where.Kind == Spot::SLOT && Src.Where.Slot == To.y) return;
        Object& There = P.Record->Inventory[size_t(To.y - 1)];
        DestRoot = Root::BODY;
        if (There.Type == 0) {
            if (!FitsSlot(Type, To.y)) return Refuse("You cannot dress this object there.");
            Dest.Kind = Spot::SLOT;
            Dest.Slot = To.y;
        } else if (HasFlag(There.Type, CONTAINER)) {
            Dest.Kind = Spot::CONTAINER;
            Dest.Handle = HandleOf(There);
        } else if (Mergeable(There)) {
            Dest.Kind = Spot::SLOT;
            Dest.Slot = To.y;
            Merge = 0;
        } else {
            return Refuse("There is not enough room.");
        }
    } else if (To.y >= 64 && To.y < 64 + OPEN_CONTAINERS) {
        if (!HasFlag(Type, TAKE)) return Refuse("You cannot take this object.");
        Found C = OpenContainerObject(P, To.y - 64);
        if (C.Item == nullptr) return;
        Dest.Kind = Spot::CONTAINER;
        Dest.Handle = C.Item->Handle;
        DestRoot = C.Where;
        if (To.z == MOVE_UP_PLACE) {
            // "Move up": into the container that holds this one.
            if (C.Parent == nullptr) return;
            Dest.Handle = HandleOf(*C.Parent);
        } else if (To.z < int(C.Item->Contents.size())) {
            Object& There = C.Item->Contents[size_t(To.z)];
            if (&There == Src.Item) return;
            if (HasFlag(There.Type, CONTAINER)) Dest.Handle = HandleOf(There);
            else if (Mergeable(There)) Merge = To.z;
        }
    } else {
        return;
    }

    if (Dest.Kind == Spot::CONTAINER) {
        Found C = FindReachable(P, Dest.Handle);
        if (C.Item == nullptr) return;
        DestRoot = C.Where;
        if (C.Item == Src.Item || Contains(*Src.Item, Dest.Handle)) return Refuse("This is impossible.");
        bool Reorder = Src.Where.Kind == Spot::CONTAINER && Src.Where.Handle == Dest.Handle;
        if (Merge < 0 && !Reorder && int(C.Item->Contents.size()) >= ContainerCapacity(C.Item->Type))
            return Refuse("There is not enough room.");
    }
    if (DestRoot == Root::BODY && Src.From != Root::BODY && PartWeight(*Src.Item, Count) > FreeWeight(*P.Record))
        return Refuse("This object is too heavy.");

    bool Whole = Count >= Pieces(*Src.Item);
    Object Moved = Take(P, Src.Where, Src.Index, Count);
    // Leaving the same container moves the stacks behind it one place forward.
    if (Merge > Src.Index && Whole && SameSpot(Src.Where, Dest)) Merge--;
    Put(P, Dest, std::move(Moved), Merge);
    AfterChange(P);
}

// ---- Using, rotating and texts -------------------------------------------------------------

// ---- Runes and drinks ----------------------------------------------------------------------

static bool IsRune(int Type) {
    return Type == TYPE_BLANK_RUNE || Type == TYPE_FIRE_RUNE || Type == TYPE_HEALING_RUNE || Type == TYPE_ENERGY_RUNE;
}

// What a rune costs; it is used up.
static constexpr int RUNE_MANA = 10, RUNE_SOUL = 1;
static constexpr int MAGIC_SHIELD_MS = 60000, DRUNK_MS = 30000;

static void ShowEffect(const Position& Pos, int Effect) {
    ToViewersOf(Pos, [&](Message& M, Player&) { M.addByte(131).addPosition(Pos).addByte(Effect); });
}

// A rune used on a creature, the player itself included: the blank rune
// shields with magic, the healing rune heals, the fire and energy runes
// hurt (the player itself: it burns or is struck by energy).
static void CastRune(Player& P, const Located& L, Creature& Target) {
    int Type = L.Item->Type;
    Creature& Me = *P.Body;
    bool Self = &Target == &Me;
    bool Harmful = Type == TYPE_FIRE_RUNE || Type == TYPE_ENERGY_RUNE;
    if (L.Where.Kind == Spot::FIELD && !Near(Me.Pos, L.Where.Pos)) return TextMessage(P, MESSAGE_STATUS, "You are too far away.");
    if (!Self && (Target.Pos.z != Me.Pos.z || !CanSee(P.MapPos, Target.Pos) || !ClearLine(Me.Pos, Target.Pos)))
        return TextMessage(P, MESSAGE_STATUS, "You cannot throw there.");
    if (!Self && Harmful && !fight::MayAttack(P, Target))
        return TextMessage(P, MESSAGE_STATUS, "You may not attack this person.");
    if (P.Record->Mana < RUNE_MANA) return TextMessage(P, MESSAGE_STATUS, "You do not have enough mana.");
    if (P.Record->Soul < RUNE_SOUL) return TextMessage(P, MESSAGE_STATUS, "You do not have enough soul.");
    Take(P, L.Where, L.Index, 1);
    life::SpendMana(P, RUNE_MANA);
    life::SpendSoul(P, RUNE_SOUL);
    Player* Other = Target.Controller;
    switch (Type) {
        case TYPE_BLANK_RUNE:
            ShowEffect(Target.Pos, EFFECT_SPARKLES);
            if (Other != nullptr) life::SetCondition(*Other, life::MAGIC_SHIELD, MAGIC_SHIELD_MS);
            break;
        case TYPE_HEALING_RUNE:
            ShowEffect(Target.Pos, EFFECT_HEAL);
            if (Other != nullptr) life::Heal(*Other, chance::Roll(30, 50));
            break;
        default: {
            bool Fire = Type == TYPE_FIRE_RUNE;
            if (!Self) {
                ToViewersOf(Me.Pos, [&](Message& M, Player&) {
                    M.addByte(133).addPosition(Me.Pos).addPosition(Target.Pos).addByte(Fire ? MISSILE_FIREBALL : MISSILE_ENERGY);
                });
                fight::Strike(P, Target, Fire ? chance::Roll(10, 25) : chance::Roll(15, 30), Fire ? life::FIRE : life::ENERGY);
            } else {
                ShowEffect(Me.Pos, Fire ? EFFECT_FIRE : EFFECT_ENERGY);
            }
            if (Other != nullptr && !Other->Dead)
                life::SetCondition(*Other, Fire ? life::BURNING : life::ELECTRIFIED, 0, 3, Fire ? 10 : 8);
            break;
        }
    }
    AfterChange(P);
}

// Wine and beer make drunk; the vessel is empty afterwards.
static void Drink(Player& P, const Located& L) {
    Object& Vessel = *L.Item;
    if (Vessel.Data == LIQUID_NONE) return TextMessage(P, MESSAGE_STATUS, "It is empty.");
    int Liquid = Vessel.Data;
    Vessel.Data = LIQUID_NONE;
    ShowChanged(P, L.Where, L.Index, Vessel);
    bool Strong = Liquid == LIQUID_WINE || Liquid == LIQUID_BEER;
    Message M;
    M.addByte(170).addString(P.Body->Name).addByte(game::TALK_ANIMAL_LOW).addPosition(P.Body->Pos).addString(Strong ? "Hicks!" : "Gulp.");
    Send(P, M);
    if (Strong) life::SetCondition(P, life::DRUNK, DRUNK_MS);
    if (Liquid == LIQUID_SLIME) life::SetCondition(P, life::POISONED, 0, 5, 3);
}

void UseOnCreature(Player& P, const Position& Where, int Type, int StackPos, uint32_t CreatureID) {
    Located L = Locate(P, Where, StackPos);
    if (L.Item == nullptr || L.Item->Type != Type || L.Item->IsCreature()) return;
    Creature* Target = CreatureID != 0 ? game::FindCreature(CreatureID) : nullptr;
    if (Target == nullptr) return;
    if (!IsRune(Type)) return TextMessage(P, MESSAGE_STATUS, "You cannot use this object.");
    CastRune(P, L, *Target);
}

// ---- Using -------------------------------------------------------------------------------------

void Use(Player& P, const Position& Where, int Type, int StackPos, int Number) {
    Located L = Locate(P, Where, StackPos);
    if (L.Item == nullptr || L.Item->Type != Type || L.Item->IsCreature()) return;
    if (L.Where.Kind == Spot::FIELD && !Near(P.Body->Pos, Where)) {
        TextMessage(P, MESSAGE_STATUS, "You are too far away.");
        return;
    }
    if (HasFlag(Type, CONTAINER)) {
        OpenContainer(P, L, Number);
        return;
    }
    if (L.Where.Kind == Spot::FIELD && game::UseOnMap(P, Where, StackPos, *L.Item)) return;
    if (IsRune(Type)) {
        CastRune(P, L, *P.Body);
        return;
    }
    if (HasFlag(Type, LIQUIDCONTAINER) && L.Where.Kind != Spot::FIELD) {
        Drink(P, L);
        return;
    }
    if (IsFood(Type)) {
        Take(P, L.Where, L.Index, 1);
        Message M;
        M.addByte(170).addString(P.Body->Name).addByte(game::TALK_ANIMAL_LOW).addPosition(P.Body->Pos).addString("Munch.");
        Send(P, M);
        AfterChange(P);
        return;
    }
    bool Write = HasFlag(Type, WRITE);
    if (Write || (HasFlag(Type, WRITEONCE) && L.Item->Text.empty())) {
        uint32_t ID = NextEditID++;
        Edits[ID] = {P.Body->ID, L.Where, L.Index, Type};
        Message M;
        M.addByte(150).addQuad(ID).addWord(Type).addWord(std::max(WriteLength(Type), 1));
        M.addString(L.Item->Text).addString("");
        Send(P, M);
        return;
    }
    if (!L.Item->Text.empty()) {
        TextMessage(P, MESSAGE_LOOK, "You read: " + L.Item->Text);
        return;
    }
    TextMessage(P, MESSAGE_STATUS, "You cannot use this object.");
}

void EditTextAnswer(Player& P, uint32_t ID, const std::string& Text) {
    auto It = Edits.find(ID);
    if (It == Edits.end() || It->second.Player != P.Body->ID) return;
    Editing E = It->second;
    Edits.erase(It);
    Object* O = ObjectAt(P, E.Where, E.Index);
    if (O == nullptr || O->Type != E.Type) return;
    if (HasFlag(E.Type, WRITEONCE) && !O->Text.empty()) return;
    O->Text = Text.substr(0, size_t(std::max(WriteLength(E.Type), 1)));
}

void Rotate(Player& P, const Position& Where, int Type, int StackPos) {
    Located L = Locate(P, Where, StackPos);
    if (L.Item == nullptr || L.Item->Type != Type || L.Item->IsCreature()) return;
    if (!HasFlag(Type, ROTATE)) {
        TextMessage(P, MESSAGE_STATUS, "You cannot rotate this object.");
        return;
    }
    if (L.Where.Kind == Spot::FIELD && !Near(P.Body->Pos, Where)) {
        TextMessage(P, MESSAGE_STATUS, "You are too far away.");
        return;
    }
    L.Item->Type = NextRotation(Type);
    ShowChanged(P, L.Where, L.Index, *L.Item);
}

// ---- Trade --------------------------------------------------------------------------------------

static void ListOffer(const Object& O, std::vector<Object>& Out) {
    Object Shown = O;
    Shown.Contents.clear();
    Out.push_back(Shown);
    for (const Object& Inner : O.Contents) ListOffer(Inner, Out);
}

static void AddOffer(Message& M, int Command, Player& Viewer, const std::string& Partner, const std::vector<Object>& Offer) {
    M.addByte(Command).addString(Partner).addByte(int(Offer.size()));
    for (const Object& O : Offer) messages::AddThing(M, Viewer, O);
}

static bool WithinTradeRange(const Player& A, const Player& B) {
    const Position &a = A.Body->Pos, &b = B.Body->Pos;
    return a.z == b.z && std::abs(a.x - b.x) <= TRADE_RANGE && std::abs(a.y - b.y) <= TRADE_RANGE;
}

static void EndTrade(PlayerState& S) {
    S.TradePartner = S.TradeHandle = 0;
    S.Offer.clear();
    S.Accepted = false;
}

static void CancelTrade(Player& P, const char* Why) {
    PlayerState& S = State(P);
    if (S.TradePartner == 0) return;
    Player* Other = game::FindPlayer(S.TradePartner);
    EndTrade(S);
    Message Close;
    Close.addByte(127);
    Send(P, Close);
    if (Other != nullptr) {
        PlayerState& O = State(*Other);
        if (O.TradePartner == P.Body->ID) {
            EndTrade(O);
            Send(*Other, Close);
            if (Why != nullptr) TextMessage(*Other, MESSAGE_STATUS, Why);
        }
    }
}

void TradeRequest(Player& P, const Position& Where, int Type, int StackPos, uint32_t PartnerID) {
    Player* Other = game::FindPlayer(PartnerID);
    if (Other == nullptr || Other == &P) return;
    PlayerState& S = State(P);
    if (S.TradePartner != 0) return TextMessage(P, MESSAGE_STATUS, "You are already trading.");
    Located L = Locate(P, Where, StackPos);
    if (L.Item == nullptr || L.Item->Type != Type || L.Item->IsCreature()) return;
    if (L.From != Root::BODY) return TextMessage(P, MESSAGE_STATUS, "You can only trade objects you carry.");
    if (!HasFlag(Type, TAKE)) return TextMessage(P, MESSAGE_STATUS, "You cannot trade this object.");
    if (!WithinTradeRange(P, *Other)) return TextMessage(P, MESSAGE_STATUS, "Your trade partner is too far away.");
    PlayerState& O = State(*Other);
    if (O.TradePartner != 0 && O.TradePartner != P.Body->ID)
        return TextMessage(P, MESSAGE_STATUS, "This player is already trading.");
    std::vector<Object> Offer;
    ListOffer(*L.Item, Offer);
    if (Offer.size() > size_t(OBJECTS_PER_OFFER))
        return TextMessage(P, MESSAGE_STATUS, "You cannot trade more than 100 objects at once.");
    S.TradePartner = Other->Body->ID;
    S.TradeHandle = HandleOf(*L.Item);
    S.Offer = std::move(Offer);
    S.Accepted = false;
    Message M;
    AddOffer(M, 125, P, Other->Body->Name, S.Offer);
    if (O.TradePartner == P.Body->ID) {
        // The answer to an offer: both see the other's objects now.
        AddOffer(M, 126, P, Other->Body->Name, O.Offer);
        Message Counter;
        AddOffer(Counter, 126, *Other, P.Body->Name, S.Offer);
        Send(*Other, Counter);
    } else {
        TextMessage(*Other, MESSAGE_INFO, P.Body->Name + " wants to trade with you.");
    }
    Send(P, M);
}

void TradeLook(Player& P, int Side, int Index) {
    PlayerState& S = State(P);
    if (S.TradePartner == 0) return;
    const std::vector<Object>* Offer = &S.Offer;
    if (Side != 0) {
        Player* Other = game::FindPlayer(S.TradePartner);
        if (Other == nullptr || State(*Other).TradePartner != P.Body->ID) return;
        Offer = &State(*Other).Offer;
    }
    if (Index < 0 || Index >= int(Offer->size())) return;
    TextMessage(P, MESSAGE_LOOK, "You see " + game::Describe((*Offer)[size_t(Index)]) + ".");
}

// Where a received object goes: the place the given object left when it
// fits there, else the backpack, a free hand, or the player's own field.
static Spot PlaceFor(Player& P, const Object& O, const Spot& Left) {
    if (Left.Kind == Spot::CONTAINER && FindReachable(P, Left.Handle).Item != nullptr) return Left;
    if (Left.Kind == Spot::SLOT && FitsSlot(O.Type, Left.Slot)) return Left;
    Object& Back = P.Record->Inventory[SLOT_BACK - 1];
    Spot S;
    if (HasFlag(Back.Type, CONTAINER) && int(Back.Contents.size()) < ContainerCapacity(Back.Type)) {
        S.Kind = Spot::CONTAINER;
        S.Handle = HandleOf(Back);
        return S;
    }
    for (int Slot : {SLOT_RIGHT_HAND, SLOT_LEFT_HAND}) {
        if (P.Record->Inventory[size_t(Slot - 1)].Type == 0) {
            S.Kind = Spot::SLOT;
            S.Slot = Slot;
            return S;
        }
    }
    S.Kind = Spot::FIELD;
    S.Pos = P.Body->Pos;
    return S;
}

void Give(Player& P, Object O) {
    Spot To;
    if (FreeWeight(*P.Record) >= ObjectWeight(O)) To = PlaceFor(P, O, Spot{});
    else {
        To.Kind = Spot::FIELD;
        To.Pos = P.Body->Pos;
    }
    Put(P, To, std::move(O), -1);
    AfterChange(P);
}

static void CompleteTrade(Player& A, Player& B) {
    PlayerState &SA = State(A), &SB = State(B);
    Found FA = FindReachable(A, SA.TradeHandle), FB = FindReachable(B, SB.TradeHandle);
    if (FA.Where != Root::BODY || FB.Where != Root::BODY) return CancelTrade(A, "Trade cancelled.");
    int WA = ObjectWeight(*FA.Item), WB = ObjectWeight(*FB.Item);
    for (auto [Receiver, Gives, Gets] : {std::tuple{&A, WA, WB}, std::tuple{&B, WB, WA}}) {
        if (FreeWeight(*Receiver->Record) + Gives < Gets) {
            TextMessage(*Receiver, MESSAGE_STATUS, "This object is too heavy.");
            return CancelTrade(*Receiver, "Trade cancelled.");
        }
    }
    CancelTrade(A, nullptr);
    int IA = 0, IB = 0;
    Spot LeftA = SpotOf(FA, IA), LeftB = SpotOf(FB, IB);
    Object FromA = Take(A, LeftA, IA, Pieces(*FA.Item));
    Object FromB = Take(B, LeftB, IB, Pieces(*ObjectAt(B, LeftB, IB)));
    Spot ToA = PlaceFor(A, FromB, LeftA), ToB = PlaceFor(B, FromA, LeftB);
    Put(A, ToA, std::move(FromB), -1);
    Put(B, ToB, std::move(FromA), -1);
    TextMessage(A, MESSAGE_STATUS, "Trade completed.");
    TextMessage(B, MESSAGE_STATUS, "Trade completed.");
    AfterChange(A);
    RefreshCapacity(B);
}

void TradeAccept(Player& P) {
    PlayerState& S = State(P);
    Player* Other = S.TradePartner ? game::FindPlayer(S.TradePartner) : nullptr;
    if (Other == nullptr || State(*Other).TradePartner != P.Body->ID) return;
    S.Accepted = true;
    if (State(*Other).Accepted) CompleteTrade(P, *Other);
}

void TradeClose(Player& P) { CancelTrade(P, "Trade cancelled."); }

// ---- The player's life -------------------------------------------------------------------------

void InitObjects() {
    States.clear();
    Edits.clear();
    NextEditID = 1;
}

void PlayerEntered(Player& P) { State(P).LastCapacity = FreeCapacity(*P.Record); }

void PlayerLeaves(Player& P) {
    CancelTrade(P, "Trade cancelled.");
    uint32_t ID = P.Body->ID;
    std::erase_if(Edits, [&](const auto& Entry) { return Entry.second.Player == ID; });
    States.erase(ID);
}

void PlayerMoved(Player& P) {
    auto It = States.find(P.Body->ID);
    if (It == States.end()) return;
    for (int n = 0; n < OPEN_CONTAINERS; n++) {
        uint32_t H = It->second.Open[size_t(n)];
        if (H != 0 && FindReachable(P, H).Item == nullptr) SendClose(P, n);
    }
    if (It->second.TradePartner != 0) {
        Player* Other = game::FindPlayer(It->second.TradePartner);
        if (Other == nullptr || !WithinTradeRange(P, *Other)) CancelTrade(P, "Trade cancelled.");
    }
}

}  // namespace server::objects
