#include "server/GameMessages.h"

#include "server/ObjectTypes.h"
#include "server/WorldMap.h"

#include <algorithm>

namespace server::messages {

using namespace objecttypes;

static Creature* (*Find)(uint32_t) = nullptr;
static int (*Shield)(const Player&, const Creature&) = nullptr;

void SetCreatureFinder(Creature* (*Finder)(uint32_t)) { Find = Finder; }
void SetShieldFinder(int (*Finder)(const Player&, const Creature&)) { Shield = Finder; }

// The cube level of the client's own floor.
static int PlayerLevel(int MapZ) { return MapZ <= 7 ? 7 - MapZ : 2; }

bool CanSee(const Position& MapPos, const Position& Pos) {
    if (MapPos.z <= 7) {
        if (Pos.z > 7) return false;
    } else if (std::abs(Pos.z - MapPos.z) > 2) {
        return false;
    }
    // Each floor away from the client's own is shifted one field on both axes.
    int d = MapPos.z - Pos.z;
    return Pos.x >= MapPos.x - 8 + d && Pos.x <= MapPos.x + 9 + d && Pos.y >= MapPos.y - 6 + d &&
           Pos.y <= MapPos.y + 7 + d;
}

void AddCreatureDescription(Message& M, const Creature& C, int PartyShield) {
    M.addByte(C.Health).addByte(C.Direction).addByte(C.Look.Type);
    if (C.Look.Type != 0) M.addByte(C.Look.Head).addByte(C.Look.Body).addByte(C.Look.Legs).addByte(C.Look.Feet);
    else M.addWord(C.Look.LookType);
    M.addByte(C.LightLevel).addByte(C.LightColour).addWord(C.Speed).addByte(C.Skull).addByte(PartyShield);
}

static void AddCreature(Message& M, Player& Viewer, const Creature& C) {
    auto& Known = Viewer.Known;
    int PartyShield = Shield ? Shield(Viewer, C) : 0;
    if (std::find(Known.begin(), Known.end(), C.ID) != Known.end()) {
        M.addWord(98).addQuad(C.ID);
        AddCreatureDescription(M, C, PartyShield);
        return;
    }
    uint32_t Forget = 0;
    if (Known.size() >= size_t(KNOWN_CREATURES)) {
        // The client reuses the record of the forgotten id: take the oldest
        // creature that the client cannot see at the moment.
        auto Victim = Known.begin();
        for (auto It = Known.begin(); It != Known.end(); ++It) {
            Creature* Other = Find ? Find(*It) : nullptr;
            if (*It != Viewer.Body->ID && (Other == nullptr || !CanSee(Viewer.MapPos, Other->Pos))) {
                Victim = It;
                break;
            }
        }
        Forget = *Victim;
        Known.erase(Victim);
    }
    Known.push_back(C.ID);
    M.addWord(97).addQuad(Forget).addQuad(C.ID).addString(C.Name);
    AddCreatureDescription(M, C, PartyShield);
}

void AddThing(Message& M, Player& Viewer, const Object& Thing) {
    if (Thing.IsCreature()) {
        Creature* C = Find ? Find(Thing.CreatureID) : nullptr;
        if (C != nullptr) {
            AddCreature(M, Viewer, *C);
            return;
        }
        // A creature that has gone: never leave the field unreadable.
        M.addWord(98).addQuad(Thing.CreatureID);
        Creature Gone;
        AddCreatureDescription(M, Gone, 0);
        return;
    }
    M.addWord(Thing.Type);
    if (HasFlag(Thing.Type, CUMULATIVE)) M.addByte(Thing.Data);
    if (HasFlag(Thing.Type, LIQUIDPOOL)) M.addByte(Thing.Data);
    if (HasFlag(Thing.Type, LIQUIDCONTAINER)) M.addByte(Thing.Data);
}

void AddCreatureTurn(Message& M, const Creature& C) { M.addWord(99).addQuad(C.ID).addByte(C.Direction); }

// ---- Map descriptions ----------------------------------------------------------

namespace {
// Writes fields one after another with the skip counter: every field that is
// read ends with a word 0xFF00 + n, n being the number of empty fields that
// follow and are not sent (at most 255).
struct DescriptionWriter {
    Message& M;
    Player& Viewer;
    int Skip = -1;  // -1: the next field must be read

    void Field(const Position& Pos) {
        const worldmap::Field* F = (Pos.x >= 0 && Pos.y >= 0 && Pos.x <= 65535 && Pos.y <= 65535 && Pos.z >= 0 && Pos.z <= 15)
                                       ? worldmap::GetField(Pos)
                                       : nullptr;
        bool Empty = F == nullptr || F->Stack.empty();
        if (Skip >= 0) {
            if (Empty && Skip < 255) {
                Skip++;
                return;
            }
            M.addWord(0xFF00 | Skip);
        }
        if (!Empty) {
            int Count = 0;
            for (const Object& O : F->Stack) {
                if (Count++ == OBJECTS_PER_POINT) break;
                AddThing(M, Viewer, O);
            }
        }
        Skip = 0;
    }
    void Finish() {
        if (Skip >= 0) M.addWord(0xFF00 | Skip);
        Skip = -1;
    }
};
}  // namespace

// Fields of cube level Level for cube columns X0..X1 and rows Y0..Y1 around
// the client's map position, x outer and y inner.
static void AddLevel(DescriptionWriter& W, const Position& MapPos, int Level, int X0, int X1, int Y0, int Y1) {
    int L = PlayerLevel(MapPos.z);
    for (int rx = X0; rx <= X1; rx++) {
        for (int ry = Y0; ry <= Y1; ry++) {
            Position Pos{rx + MapPos.x + (Level - L) - 8, ry + MapPos.y + (Level - L) - 6, MapPos.z + L - Level};
            W.Field(Pos);
        }
    }
}

// All levels a description covers for the map position, in sending order.
static std::vector<int> Levels(int MapZ) {
    std::vector<int> Result;
    if (MapZ <= 7) {
        for (int Level = 0; Level <= 7; Level++) Result.push_back(Level);
    } else {
        // Floors z-2 .. z+2, leaving out those below the deepest floor 15.
        for (int Level = 4; Level >= 0 && MapZ + 2 - Level <= 15; Level--) Result.push_back(Level);
    }
    return Result;
}

void AddFullMap(Message& M, Player& Viewer, const Position& Pos) {
    Viewer.MapPos = Pos;
    M.addByte(100).addPosition(Pos);
    DescriptionWriter W{M, Viewer};
    for (int Level : Levels(Pos.z)) AddLevel(W, Pos, Level, 0, MAPSIZE_X - 1, 0, MAPSIZE_Y - 1);
    W.Finish();
}

void AddMapEdge(Message& M, Player& Viewer, int Direction) {
    Position& P = Viewer.MapPos;
    DescriptionWriter W{M, Viewer};
    switch (Direction) {
        case 0:
            P.y--;
            M.addByte(101);
            for (int Level : Levels(P.z)) AddLevel(W, P, Level, 0, MAPSIZE_X - 1, 0, 0);
            break;
        case 1:
            P.x++;
            M.addByte(102);
            for (int Level : Levels(P.z)) AddLevel(W, P, Level, MAPSIZE_X - 1, MAPSIZE_X - 1, 0, MAPSIZE_Y - 1);
            break;
        case 2:
            P.y++;
            M.addByte(103);
            for (int Level : Levels(P.z)) AddLevel(W, P, Level, 0, MAPSIZE_X - 1, MAPSIZE_Y - 1, MAPSIZE_Y - 1);
            break;
        default:
            P.x--;
            M.addByte(104);
            for (int Level : Levels(P.z)) AddLevel(W, P, Level, 0, 0, 0, MAPSIZE_Y - 1);
            break;
    }
    W.Finish();
}

void AddFloorChange(Message& M, Player& Viewer, bool Up) {
    Position& P = Viewer.MapPos;
    DescriptionWriter W{M, Viewer};
    auto Whole = [&](int Level) { AddLevel(W, P, Level, 0, MAPSIZE_X - 1, 0, MAPSIZE_Y - 1); };
    if (Up) {
        M.addByte(190);
        P = {P.x + 1, P.y + 1, P.z - 1};
        if (P.z > 7) {
            Whole(4);
        } else if (P.z == 7) {
            for (int Level = 2; Level <= 7; Level++) Whole(Level);
        }
    } else {
        M.addByte(191);
        P = {P.x - 1, P.y - 1, P.z + 1};
        if (P.z > 8) {
            if (P.z < 14) Whole(0);
        } else if (P.z == 8) {
            for (int Level = 2; Level >= 0; Level--) Whole(Level);
        }
    }
    W.Finish();
}

void AddField(Message& M, Player& Viewer, const Position& Pos) {
    M.addByte(105).addPosition(Pos);
    DescriptionWriter W{M, Viewer};
    W.Field(Pos);
    W.Finish();
}

void AddContainerOpen(Message& M, Player& Viewer, int Number, const Object& Container, const std::string& Name,
                      int Capacity, bool HasParent) {
    int Count = std::min(int(Container.Contents.size()), CONTAINER_PLACES);
    M.addByte(110).addByte(Number).addWord(Container.Type).addString(Name).addByte(Capacity).addByte(HasParent ? 1 : 0);
    M.addByte(Count);
    for (int i = 0; i < Count; i++) AddThing(M, Viewer, Container.Contents[size_t(i)]);
}

}  // namespace server::messages

