#include "server/WorldMap.h"

#include "server/ObjectTypes.h"

#include <unordered_map>

namespace server::worldmap {

using namespace objecttypes;

static uint64_t Key(const Position& Pos) {
    return (uint64_t(uint16_t(Pos.x)) << 24) | (uint64_t(uint16_t(Pos.y)) << 8) | uint64_t(uint8_t(Pos.z));
}

static std::unordered_map<uint64_t, Field> Fields;
static std::unordered_map<uint64_t, FloorChange> FloorChanges;

void InitWorldMap() {
    Fields.clear();
    FloorChanges.clear();
}

void ExitWorldMap() { InitWorldMap(); }

const Field* GetField(const Position& Pos) {
    auto It = Fields.find(Key(Pos));
    return It == Fields.end() ? nullptr : &It->second;
}

// The client's rule, step by step, so that both ends agree on every index.
int StackingPosition(const Field& Target, const Object& N) {
    int Type = N.Type;
    int p = 0;
    int Count = int(Target.Stack.size());
    for (; p < Count; p++) {
        int S = Target.Stack[size_t(p)].Type;
        bool NBank = HasFlag(Type, BANK), SBank = HasFlag(S, BANK);
        if (NBank && !SBank) break;
        if (NBank == SBank) {
            bool NOn = HasFlag(Type, ONBANK), SOn = HasFlag(S, ONBANK);
            if (NOn && !SOn) break;
            if (NOn == SOn) {
                bool NBottom = HasFlag(Type, BOTTOM), SBottom = HasFlag(S, BOTTOM);
                if (NBottom && !SBottom) break;
                if (NBottom == SBottom) {
                    bool NTop = HasFlag(Type, TOP), STop = HasFlag(S, TOP);
                    if (NTop && !STop) break;
                    if (NTop == STop && (Type == CREATURE || S != CREATURE)) break;
                }
            }
        }
    }
    return p;
}

int AddThing(const Position& Pos, const Object& Thing) {
    Field& F = Fields[Key(Pos)];
    if (F.Stack.size() >= size_t(OBJECTS_PER_POINT)) return -1;
    int At = StackingPosition(F, Thing);
    F.Stack.insert(F.Stack.begin() + At, Thing);
    return At;
}

bool AppendThing(const Position& Pos, const Object& Thing) {
    Field& F = Fields[Key(Pos)];
    if (F.Stack.size() >= size_t(OBJECTS_PER_POINT)) return false;
    F.Stack.push_back(Thing);
    return true;
}

bool RemoveThing(const Position& Pos, int StackPos) {
    auto It = Fields.find(Key(Pos));
    if (It == Fields.end() || StackPos < 0 || StackPos >= int(It->second.Stack.size())) return false;
    It->second.Stack.erase(It->second.Stack.begin() + StackPos);
    return true;
}

Object* GetThing(const Position& Pos, int StackPos) {
    auto It = Fields.find(Key(Pos));
    if (It == Fields.end() || StackPos < 0 || StackPos >= int(It->second.Stack.size())) return nullptr;
    return &It->second.Stack[size_t(StackPos)];
}

int CreatureStackPosition(const Position& Pos, uint32_t CreatureID) {
    const Field* F = GetField(Pos);
    if (F == nullptr) return -1;
    for (size_t i = 0; i < F->Stack.size(); i++)
        if (F->Stack[i].IsCreature() && F->Stack[i].CreatureID == CreatureID) return int(i);
    return -1;
}

int GroundSpeed(const Position& Pos) {
    const Field* F = GetField(Pos);
    if (F == nullptr || F->Stack.empty() || !HasFlag(F->Stack[0].Type, BANK)) return 0;
    return BankValue(F->Stack[0].Type);
}

bool IsWalkable(const Position& Pos) {
    const Field* F = GetField(Pos);
    if (F == nullptr || F->Stack.empty() || !HasFlag(F->Stack[0].Type, BANK)) return false;
    if (F->Stack.size() >= size_t(OBJECTS_PER_POINT)) return false;
    for (const Object& O : F->Stack)
        if (HasFlag(O.Type, UNPASS)) return false;
    return true;
}

void SetFloorChange(const Position& Pos, const Position& Destination) { FloorChanges[Key(Pos)] = {Destination}; }

const FloorChange* GetFloorChange(const Position& Pos) {
    auto It = FloorChanges.find(Key(Pos));
    return It == FloorChanges.end() ? nullptr : &It->second;
}

size_t FieldCount() { return Fields.size(); }

}  // namespace server::worldmap

namespace server::worldmap {

static Position FromKey(uint64_t K) { return {int((K >> 24) & 0xFFFF), int((K >> 8) & 0xFFFF), int(K & 0xFF)}; }

void ForEachField(const std::function<void(const Position&, const Field&)>& Each) {
    for (const auto& [K, F] : Fields) Each(FromKey(K), F);
}

void ReplaceObjects(const Position& Pos, std::vector<Object> Objects) {
    Field& F = Fields[Key(Pos)];
    std::vector<Object> Creatures;
    for (Object& O : F.Stack)
        if (O.IsCreature()) Creatures.push_back(std::move(O));
    F.Stack.clear();
    for (Object& O : Objects)
        if (!O.IsCreature()) AddThing(Pos, O);
    for (Object& C : Creatures) AddThing(Pos, C);
}

}  // namespace server::worldmap
