// The map cube. Sections: storage and helpers; position and conversion; field
// contents and the stacking rule; field queries; scrolling; effects and
// missiles; ambient light.
#include "world/Map.h"

#include "core/Assert.h"
#include "core/Utils.h"
#include "platform/Platform.h"
#include "world/Automap.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// ---- Storage ------------------------------------------------------------------

struct EffectRecord {
    int Status;  // EFFECT_FREE .. EFFECT_MISSILE
    int Type;
    // graphic effect
    int Phase;
    // animated text
    int Colour;
    char Text[10];
    int Counter;
    // missile
    int Direction;
    int TargetX, TargetY, TargetZ;
    int CurrentX, CurrentY;
    int OffsetX, OffsetY;
    int64_t End;
    int TotalX, TotalY;
    int Duration;
    // list of the field it is linked to
    int Slot;
    int Previous, Next;
};

// The field records stay in place for the whole run; only Index changes.
Point Pool[MAP_POINTS];
int Index[MAPSIZE_Z][MAPSIZE_Y][MAPSIZE_X];
EffectRecord Effects[EFFECTS];

int MapX = 0, MapY = 0, MapZ = 0;
CreatureRemovalHook RemoveCreature = nullptr;

// The field iteration of GetFirstFieldObject / GetNextFieldObject.
int IterationSlot = -1;
int IterationIndex = 0;

// Until the first light message of a game the map is drawn in full white
// daylight: a frame can come between the full map and that message, and a
// readable view is better than a guessed hour that would then jump. The
// target stays unset, so the first message still takes effect at once.
constexpr int DEFAULT_BRIGHTNESS = 255;
constexpr int DEFAULT_COLOUR = 215;  // white in the colour cube

int AmbienteActualBrightness = DEFAULT_BRIGHTNESS;
int AmbientTargetBrightness = -1;
int AmbientRed = 0, AmbientGreen = 0, AmbientBlue = 0;
int AmbientTargetRed = 0, AmbientTargetGreen = 0, AmbientTargetBlue = 0;

bool InCube(int rx, int ry, int rz) {
    return In(rx, 0, MAPSIZE_X - 1) && In(ry, 0, MAPSIZE_Y - 1) && In(rz, 0, MAPSIZE_Z - 1);
}

// A bad cube position: reported and mapped to (0,0,0) so that code after the
// report stays inside the pool.
[[gnu::noinline, gnu::cold]] Point& BadField(int rx, int ry, int rz) {
    ASSERT(In(rx,0,MAPSIZE_X-1));
    ASSERT(In(ry,0,MAPSIZE_Y-1));
    ASSERT(In(rz,0,MAPSIZE_Z-1));
    return Pool[Index[0][0][0]];
}

// Checks a cube position. Every field operation starts here, so the check is
// kept small enough to go inline; the report is out of the way.
inline Point& Field(int rx, int ry, int rz) {
    if (!InCube(rx, ry, rz)) [[unlikely]]
        return BadField(rx, ry, rz);
    return Pool[Index[rz][ry][rx]];
}

bool Flag(const ObjectInstance& Obj, int Flag) { return GetObjectFlag(Obj.Type, Flag); }

// ---- Effects: list links ----------------------------------------------------------

void LinkEffect(int EffectNumber, int Slot) {
    EffectRecord& E = Effects[EffectNumber];
    E.Slot = Slot;
    E.Previous = -1;
    E.Next = Pool[Slot].EffectNumber;
    if (E.Next != -1) Effects[E.Next].Previous = EffectNumber;
    Pool[Slot].EffectNumber = EffectNumber;
}

void UnlinkEffect(int EffectNumber) {
    EffectRecord& E = Effects[EffectNumber];
    if (E.Previous != -1)
        Effects[E.Previous].Next = E.Next;
    else
        Pool[E.Slot].EffectNumber = E.Next;
    if (E.Next != -1) Effects[E.Next].Previous = E.Previous;
    E.Previous = E.Next = -1;
}

void FreeEffect(int EffectNumber) {
    UnlinkEffect(EffectNumber);
    Effects[EffectNumber].Status = EFFECT_FREE;
}

// The first free entry in table order, or -1 when all are busy.
int AllocateEffect() {
    for (int n = 0; n < EFFECTS; n++)
        if (Effects[n].Status == EFFECT_FREE) return n;
    return -1;
}

// The pool slot for a cube position; outside the cube, cube field (0,0,0).
int SlotOrOrigin(int rx, int ry, int rz) {
    if (!InCube(rx, ry, rz)) return Index[0][0][0];
    return Index[rz][ry][rx];
}

void ClearSlot(int Slot, bool WithEffects, bool Report) {
    Point& P = Pool[Slot];
    if (Report && RemoveCreature != nullptr)
        for (int n = 0; n < P.ObjectCount; n++)
            if (P.ObjectStack[n].Type == CREATURE) RemoveCreature(P.ObjectStack[n].Data);
    P.ObjectCount = 0;
    if (WithEffects)
        while (P.EffectNumber != -1) FreeEffect(P.EffectNumber);
}

// ---- Stacking ---------------------------------------------------------------------

// Ground first, then ONBANK, BOTTOM and TOP objects, then the creatures, then
// everything else; a newcomer goes below the older members of its class.
int StackPosition(const Point& P, const ObjectInstance& N) {
    bool NBank = Flag(N, BANK), NOnBank = Flag(N, ONBANK), NBottom = Flag(N, BOTTOM), NTop = Flag(N, TOP);
    bool NCreature = N.Type == CREATURE;
    int p = 0;
    for (; p < P.ObjectCount; p++) {
        const ObjectInstance& S = P.ObjectStack[p];
        bool SBank = Flag(S, BANK);
        if (NBank && !SBank) break;
        if (SBank != NBank) continue;
        bool SOnBank = Flag(S, ONBANK);
        if (NOnBank && !SOnBank) break;
        if (SOnBank != NOnBank) continue;
        bool SBottom = Flag(S, BOTTOM);
        if (NBottom && !SBottom) break;
        if (SBottom != NBottom) continue;
        bool STop = Flag(S, TOP);
        if (NTop && !STop) break;
        if (STop != NTop) continue;
        if (NCreature || S.Type != CREATURE) break;
    }
    return p;
}

void RebuildDrawOrder(Point& P) {
    // One flag lookup per object.
    const int Count = P.ObjectCount;
    uint32_t Flags[OBJECTS_PER_POINT];
    uint32_t Any = 0;
    for (int p = 0; p < Count; p++) Any |= Flags[p] = GetObjectFlags(P.ObjectStack[p].Type);
    // the ground and what lies on it in stored order, then the rest from the top down
    constexpr uint32_t LOW = (1u << BANK) | (1u << ONBANK) | (1u << BOTTOM);
    int Lead = 0;
    for (; Lead < Count && (Flags[Lead] & LOW) != 0; Lead++) P.DrawOrder[Lead] = Lead;
    for (int n = Lead; n < Count; n++) P.DrawOrder[n] = Count - 1 + Lead - n;

    // The lowest hanging object takes the picture of the lowest hook. A
    // creature has no HANG or HOOK flag; a field without a hanging object
    // has nothing to set.
    if ((Any & (1u << HANG)) == 0) return;
    int Hang = -1, Hook = -1;
    for (int p = Count - 1; p >= 0; p--) {
        if (Flags[p] & (1u << HANG)) {
            Hang = p;
            P.ObjectStack[p].Hook = 0;  // a hook removed since the last rebuild no longer holds it
        }
        if (Flags[p] & ((1u << HOOKA) | (1u << HOOKB))) Hook = p;
    }
    if (Hook != -1) P.ObjectStack[Hang].Hook = (Flags[Hook] & (1u << HOOKA)) ? HOOKA : HOOKB;
}

void InsertAt(Point& P, int Position, const ObjectInstance& N) {
    int Top = P.ObjectCount < OBJECTS_PER_POINT - 1 ? P.ObjectCount : OBJECTS_PER_POINT - 1;
    for (int p = Top - 1; p >= Position; p--) P.ObjectStack[p + 1] = P.ObjectStack[p];
    P.ObjectStack[Position] = N;
    if (P.ObjectCount < OBJECTS_PER_POINT) P.ObjectCount++;
    RebuildDrawOrder(P);
}

// ---- Effects: missiles ------------------------------------------------------------

int Sign(int v) { return (v > 0) - (v < 0); }

int FloorDiv(int a, int b) {
    int q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) q--;
    return q;
}

// Moves one pixel offset linearly toward 0 so that it reaches 0 at the end
// time: the largest distance d, not above the current one, for which
// Duration * d <= Left * Total still holds. Worked out at once rather than a
// pixel at a time, since a missile shot from far beyond the cube has a long
// way to go.
void MoveOffset(int& Offset, int Total, int64_t Left, int Duration) {
    if (Offset == 0) return;
    const int64_t Limit = Left * Total;
    int64_t Distance = std::abs(int64_t(Offset));
    if (Limit < 0)
        Distance = 0;
    else if (Duration > 0 && Limit / Duration < Distance)
        Distance = Limit / Duration;
    Offset = Offset > 0 ? int(Distance) : -int(Distance);
}

int MissileDirection(int dx, int dy) {
    if (dx == 0) return dy > 0 ? 4 : 0;
    int h = 256 * dy;
    if (dx > 0) {
        if (h > 618 * dx) return 4;
        if (h > 106 * dx) return 3;
        if (h > -106 * dx) return 2;
        if (h > -618 * dx) return 1;
        return 0;
    }
    int a = -dx;
    if (h > 618 * a) return 4;
    if (h > 106 * a) return 5;
    if (h > -106 * a) return 6;
    if (h > -618 * a) return 7;
    return 0;
}

EffectRecord& CheckedEffect(int EffectNumber, int Status) {
    static EffectRecord Dummy{};
    ASSERT(In(EffectNumber,0,EFFECTS-1));
    if (!In(EffectNumber, 0, EFFECTS - 1)) return Dummy = EffectRecord{};
    EffectRecord& E = Effects[EffectNumber];
    switch (Status) {
        case EFFECT_GRAPHIC: ASSERT(Effects[EffectNumber].Status==1); break;
        case EFFECT_TEXT: ASSERT(Effects[EffectNumber].Status==2); break;
        case EFFECT_MISSILE: ASSERT(Effects[EffectNumber].Status==3); break;
        default: break;
    }
    return E;
}

}  // namespace

// ---- Module life ------------------------------------------------------------------------

void InitMap(CreatureRemovalHook Hook) {
    for (int rz = 0; rz < MAPSIZE_Z; rz++)
        for (int ry = 0; ry < MAPSIZE_Y; ry++)
            for (int rx = 0; rx < MAPSIZE_X; rx++) Index[rz][ry][rx] = rx + MAPSIZE_X * ry + MAPSIZE_X * MAPSIZE_Y * rz;
    for (Point& P : Pool) {
        P.ObjectCount = 0;
        P.EffectNumber = -1;
        for (int n = 0; n < OBJECTS_PER_POINT; n++) {
            P.ObjectStack[n] = ObjectInstance{};
            P.DrawOrder[n] = 0;
        }
    }
    for (EffectRecord& E : Effects) E = EffectRecord{EFFECT_FREE, 0, 0, 0, {}, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1};
    MapX = MapY = MapZ = 0;
    RemoveCreature = Hook;
    IterationSlot = -1;
    ResetAmbientLight();
    InitAutomap();
}

void ExitMap() {
    ExitAutomap();
    RemoveCreature = nullptr;
}

// ---- Position and conversion ----------------------------------------------------------------

void SetMapPosition(int x, int y, int z) {
    MapX = x;
    MapY = y;
    MapZ = z;
}

void GetMapPosition(int& x, int& y, int& z) {
    x = MapX;
    y = MapY;
    z = MapZ;
}

int GetPlayerLevel() { return MapZ <= 7 ? 7 - MapZ : 2; }

void CubeToAbsolute(int& x, int& y, int& z) {
    int L = GetPlayerLevel();
    int rx = x, ry = y, rz = z;
    x = rx + MapX + (rz - L) - 8;
    y = ry + MapY + (rz - L) - 6;
    z = MapZ + L - rz;
}

void AbsoluteToCube(int& x, int& y, int& z) {
    int d = MapZ - z;
    x = x + 8 - MapX - d;
    y = y + 6 - MapY - d;
    z = MapZ > 7 ? d + 2 : 7 - z;
}

int GetPointSlot(int rx, int ry, int rz) {
    Field(rx, ry, rz);
    if (!InCube(rx, ry, rz)) return Index[0][0][0];
    return Index[rz][ry][rx];
}

const Point& GetPoint(int rx, int ry, int rz) { return Field(rx, ry, rz); }

// ---- Field contents --------------------------------------------------------------------------

int GetObjectCount(int rx, int ry, int rz) { return Field(rx, ry, rz).ObjectCount; }

ObjectInstance GetFieldObject(int rx, int ry, int rz, int Position) {
    const Point& P = Field(rx, ry, rz);
    ASSERT(In(Position,0,OBJECTS_PER_POINT-1));
    if (!In(Position, 0, P.ObjectCount - 1)) return ObjectInstance{};
    return P.ObjectStack[Position];
}

ObjectInstance GetFirstFieldObject(int rx, int ry, int rz) {
    Field(rx, ry, rz);
    IterationSlot = SlotOrOrigin(rx, ry, rz);
    IterationIndex = 0;
    return GetNextFieldObject();
}

ObjectInstance GetNextFieldObject() {
    if (IterationSlot < 0) return ObjectInstance{};
    const Point& P = Pool[IterationSlot];
    if (IterationIndex >= P.ObjectCount) return ObjectInstance{};
    return P.ObjectStack[P.DrawOrder[IterationIndex++]];
}

void InsertFieldObject(int rx, int ry, int rz, int Type, uint32_t Data) {
    Point& P = Field(rx, ry, rz);
    ObjectInstance N{Type, Data, 0};
    int Position = StackPosition(P, N);
    if (Position >= OBJECTS_PER_POINT) return;  // a full field with nothing to displace
    InsertAt(P, Position, N);
}

void AppendFieldObject(int rx, int ry, int rz, int Type, uint32_t Data) {
    Point& Point = Field(rx, ry, rz);
    ASSERT(Point.ObjectCount<OBJECTS_PER_POINT);
    if (Point.ObjectCount >= OBJECTS_PER_POINT) return;
    Point.ObjectStack[Point.ObjectCount++] = ObjectInstance{Type, Data, 0};
    RebuildDrawOrder(Point);
}

// A map message fills every field of the cube through here: the draw order is
// built inline.
[[gnu::flatten]] void AppendFieldObjects(int rx, int ry, int rz, const ObjectInstance* Objects, int Count) {
    Point& Point = Field(rx, ry, rz);
    // Map descriptions fill a column from north to south, and the records
    // of a column lie far apart: the next one is fetched ahead.
    if (ry + 1 < MAPSIZE_Y) {
        const char* Next = reinterpret_cast<const char*>(&Pool[Index[rz][ry + 1][rx]]);
        __builtin_prefetch(Next, 1);
        __builtin_prefetch(Next + 128, 1);
    }
    const int Had = Point.ObjectCount;
    const int Room = OBJECTS_PER_POINT - Had;
    const int Taken = Count < 0 ? 0 : Count < Room ? Count : Room;
    for (int n = 0; n < Taken; n++) Point.ObjectStack[Had + n] = ObjectInstance{Objects[n].Type, Objects[n].Data, 0};
    Point.ObjectCount = Had + Taken;
    // the first object without room is reported
    if (Taken < Count) ASSERT(Point.ObjectCount<OBJECTS_PER_POINT);
    RebuildDrawOrder(Point);
}

void ChangeFieldObject(int rx, int ry, int rz, int Position, int Type, uint32_t Data) {
    Point& Point = Field(rx, ry, rz);
    ASSERT(In(Position,0,Point.ObjectCount-1));
    if (!In(Position, 0, Point.ObjectCount - 1)) return;
    Point.ObjectStack[Position] = ObjectInstance{Type, Data, 0};
    RebuildDrawOrder(Point);
}

bool DeleteFieldObject(int rx, int ry, int rz, int Position) {
    Point& Point = Field(rx, ry, rz);
    ASSERT(In(Position,0,Point.ObjectCount-1));
    if (!In(Position, 0, Point.ObjectCount - 1)) return false;
    for (int p = Position; p < Point.ObjectCount - 1; p++) Point.ObjectStack[p] = Point.ObjectStack[p + 1];
    Point.ObjectCount--;
    Point.ObjectStack[Point.ObjectCount] = ObjectInstance{};
    RebuildDrawOrder(Point);
    return Point.ObjectCount == OBJECTS_PER_POINT - 1;
}

void ClearField(int rx, int ry, int rz, bool WithEffects) {
    Field(rx, ry, rz);
    ClearSlot(SlotOrOrigin(rx, ry, rz), WithEffects, true);
}

void ClearMap() {
    for (Point& P : Pool) {
        P.ObjectCount = 0;
        P.EffectNumber = -1;
    }
    for (EffectRecord& E : Effects) {
        E.Status = EFFECT_FREE;
        E.Previous = E.Next = -1;
    }
    IterationSlot = -1;
}

// ---- Field queries ----------------------------------------------------------------------------

ObjectInstance GetTopObject(int rx, int ry, int rz, int& Position) {
    const Point& P = Field(rx, ry, rz);
    Position = 0;
    if (P.ObjectCount <= 1) return P.ObjectCount == 1 ? P.ObjectStack[0] : ObjectInstance{};
    int p = 0;
    for (; p < P.ObjectCount - 1; p++) {
        const ObjectInstance& S = P.ObjectStack[p];
        if (!(Flag(S, BANK) || Flag(S, ONBANK) || Flag(S, BOTTOM) || Flag(S, TOP) || S.Type == CREATURE)) break;
    }
    if (p > 0 && Flag(P.ObjectStack[p], UNMOVE)) p--;
    Position = p;
    return P.ObjectStack[p];
}

ObjectInstance GetTopCreatureOrObject(int rx, int ry, int rz, int& Position) {
    const Point& P = Field(rx, ry, rz);
    Position = 0;
    if (P.ObjectCount <= 1) return P.ObjectCount == 1 ? P.ObjectStack[0] : ObjectInstance{};
    int p = 0;
    for (; p < P.ObjectCount - 1; p++) {
        const ObjectInstance& S = P.ObjectStack[p];
        if (S.Type == CREATURE) break;
        if (!(Flag(S, BANK) || Flag(S, ONBANK) || Flag(S, BOTTOM) || Flag(S, TOP))) break;
    }
    Position = p;
    return P.ObjectStack[p];
}

namespace {

// The scan shared by the use target and the drag source. Returns true when a
// USETARGET object was taken at once (no step down afterwards).
bool ScanForUse(const Point& P, bool SkipCreatures, int& Position) {
    int p = 0;
    for (; p < P.ObjectCount - 1; p++) {
        const ObjectInstance& S = P.ObjectStack[p];
        if (Flag(S, USETARGET)) {
            Position = p;
            return true;
        }
        bool Skip = Flag(S, BANK) || Flag(S, ONBANK) || Flag(S, BOTTOM) || Flag(S, TOP) ||
                    (SkipCreatures && S.Type == CREATURE);
        if (!Skip) break;
    }
    Position = p;
    return false;
}

}  // namespace

ObjectInstance GetUseTarget(int rx, int ry, int rz, int& Position) {
    const Point& P = Field(rx, ry, rz);
    Position = 0;
    if (P.ObjectCount <= 1) return P.ObjectCount == 1 ? P.ObjectStack[0] : ObjectInstance{};
    int p;
    if (!ScanForUse(P, true, p))
        while (p > 0 && (P.ObjectStack[p].Type == CREATURE || Flag(P.ObjectStack[p], LIQUIDPOOL))) p--;
    Position = p;
    return P.ObjectStack[p];
}

ObjectInstance GetDragSource(int rx, int ry, int rz, int& Position) {
    const Point& P = Field(rx, ry, rz);
    Position = 0;
    if (P.ObjectCount <= 1) return P.ObjectCount == 1 ? P.ObjectStack[0] : ObjectInstance{};
    int p;
    if (!ScanForUse(P, false, p))
        if (p > 0 && P.ObjectStack[p].Type != CREATURE && Flag(P.ObjectStack[p], LIQUIDPOOL)) p--;
    Position = p;
    return P.ObjectStack[p];
}

int GetHeightCount(int rx, int ry, int rz) {
    const Point& P = Field(rx, ry, rz);
    int Count = 0;
    for (int p = 0; p < P.ObjectCount; p++)
        if (Flag(P.ObjectStack[p], HEIGHT)) Count++;
    return Count;
}

bool IsWalkable(int rx, int ry, int rz, bool Climb) {
    const Point& P = Field(rx, ry, rz);
    if (Climb) {
        // Standing on a pile of three or more raised objects, or looking at a
        // field without ground above such a pile, the player can climb there.
        if (GetHeightCount(8, 6, GetPlayerLevel()) > 2) return true;
        bool Ground = P.ObjectCount > 0 && Flag(P.ObjectStack[P.DrawOrder[0]], BANK);
        if (!Ground && rz > 0 && rx <= 16 && ry < 13 && InCube(rx, ry, rz) && GetHeightCount(rx + 1, ry + 1, rz - 1) > 2)
            return true;
    }
    for (int p = 0; p < P.ObjectCount; p++)
        if (Flag(P.ObjectStack[p], UNPASS)) return false;
    return true;
}

bool HasRoof(int rx, int ry, int rz) {
    const Point& P = Field(rx, ry, rz);
    for (int p = 0; p < P.ObjectCount; p++)
        if (Flag(P.ObjectStack[p], NOROOF)) return false;
    return true;
}

bool IsLightThrough(int rx, int ry, int rz) {
    const Point& P = Field(rx, ry, rz);
    for (int p = 0; p < P.ObjectCount; p++)
        if (Flag(P.ObjectStack[p], LIGHTTHROUGH)) return true;
    return false;
}

void GetAutomapSample(int rx, int ry, int rz, int& Colour, int& Speed) {
    const Point& P = Field(rx, ry, rz);
    Colour = 0;
    Speed = 250;
    bool Blocked = P.ObjectCount == 0;
    for (int n = 0; n < P.ObjectCount; n++) {
        const ObjectInstance& S = P.ObjectStack[P.DrawOrder[n]];
        const uint32_t Flags = GetObjectFlags(S.Type);
        if (Flags & (1u << BANK)) {
            int Bank = GetObjectBankValue(S.Type);
            Speed = Bank < 250 ? Bank : 250;
        }
        if (Flags & (1u << AUTOMAP)) Colour = GetObjectAutomapColour(S.Type);
        if (Flags & ((1u << UNPASS) | (1u << AVOID))) Blocked = true;
    }
    if (Blocked) Speed = 255;
}

// ---- Scrolling ----------------------------------------------------------------------------------

namespace {

// One rotation along x: +1 moves every column east and reuses the east column
// at the west edge; -1 the opposite.
void RotateX(int Direction) {
    for (int rz = 0; rz < MAPSIZE_Z; rz++)
        for (int ry = 0; ry < MAPSIZE_Y; ry++) {
            int* Row = Index[rz][ry];
            int Reused;
            if (Direction > 0) {
                Reused = Row[MAPSIZE_X - 1];
                std::memmove(Row + 1, Row, sizeof(int) * (MAPSIZE_X - 1));
                Row[0] = Reused;
            } else {
                Reused = Row[0];
                std::memmove(Row, Row + 1, sizeof(int) * (MAPSIZE_X - 1));
                Row[MAPSIZE_X - 1] = Reused;
            }
            ClearSlot(Reused, true, true);
        }
}

void RotateY(int Direction) {
    for (int rz = 0; rz < MAPSIZE_Z; rz++) {
        int Reused[MAPSIZE_X];
        if (Direction > 0) {
            std::memcpy(Reused, Index[rz][MAPSIZE_Y - 1], sizeof Reused);
            std::memmove(Index[rz][1], Index[rz][0], sizeof(int) * MAPSIZE_X * (MAPSIZE_Y - 1));
            std::memcpy(Index[rz][0], Reused, sizeof Reused);
        } else {
            std::memcpy(Reused, Index[rz][0], sizeof Reused);
            std::memmove(Index[rz][0], Index[rz][1], sizeof(int) * MAPSIZE_X * (MAPSIZE_Y - 1));
            std::memcpy(Index[rz][MAPSIZE_Y - 1], Reused, sizeof Reused);
        }
        for (int Slot : Reused) ClearSlot(Slot, true, true);
    }
}

void RotateZ(int Direction) {
    int Reused[MAPSIZE_Y][MAPSIZE_X];
    if (Direction > 0) {
        std::memcpy(Reused, Index[MAPSIZE_Z - 1], sizeof Reused);
        std::memmove(Index[1], Index[0], sizeof Reused * (MAPSIZE_Z - 1));
        std::memcpy(Index[0], Reused, sizeof Reused);
    } else {
        std::memcpy(Reused, Index[0], sizeof Reused);
        std::memmove(Index[0], Index[1], sizeof Reused * (MAPSIZE_Z - 1));
        std::memcpy(Index[MAPSIZE_Z - 1], Reused, sizeof Reused);
    }
    for (auto& Row : Reused)
        for (int Slot : Row) ClearSlot(Slot, true, true);
}

}  // namespace

void ScrollMap(int dx, int dy) {
    MapX -= dx;
    MapY -= dy;
    for (int n = 0; n < std::abs(dx); n++) RotateX(Sign(dx));
    for (int n = 0; n < std::abs(dy); n++) RotateY(Sign(dy));
}

void ChangeMapLevel(int dz) {
    for (int n = 0; n < std::abs(dz); n++) RotateZ(Sign(dz));
    if (dz > 0)  // underground only levels 0..4 are ever filled
        for (int rz = 5; rz < MAPSIZE_Z; rz++)
            for (int ry = 0; ry < MAPSIZE_Y; ry++)
                for (int rx = 0; rx < MAPSIZE_X; rx++) ClearSlot(Index[rz][ry][rx], true, true);
}

// ---- Effects -------------------------------------------------------------------------------------

void AddGraphicEffect(int rx, int ry, int rz, int Type) {
    int n = AllocateEffect();
    if (n < 0) return;
    EffectRecord& E = Effects[n];
    E.Status = EFFECT_GRAPHIC;
    E.Type = Type;
    E.Phase = 1;
    LinkEffect(n, SlotOrOrigin(rx, ry, rz));
}

void AddTextEffect(int rx, int ry, int rz, int Colour, const char* Text) {
    ASSERT(Text!=NULL && strlen(Text)<10);
    if (!(Text != NULL && strlen(Text) < 10)) return;
    int n = AllocateEffect();
    if (n < 0) return;
    EffectRecord& E = Effects[n];
    E.Status = EFFECT_TEXT;
    E.Colour = Colour;
    std::strcpy(E.Text, Text);
    E.Counter = 0;
    LinkEffect(n, SlotOrOrigin(rx, ry, rz));
}

void AddMissile(int sx, int sy, int sz, int tx, int ty, int tz, int Type) {
    int L = GetPlayerLevel();
    if (sz != L || tz != L) return;
    int StartX = sx, StartY = sy, StartZ = sz;
    CubeToAbsolute(StartX, StartY, StartZ);
    int TargetX = tx, TargetY = ty, TargetZ = tz;
    CubeToAbsolute(TargetX, TargetY, TargetZ);
    int n = AllocateEffect();
    if (n < 0) return;
    int dx = TargetX - StartX, dy = TargetY - StartY;
    EffectRecord& E = Effects[n];
    E.Status = EFFECT_MISSILE;
    E.Type = Type;
    E.Direction = MissileDirection(dx, dy);
    E.TargetX = TargetX;
    E.TargetY = TargetY;
    E.TargetZ = TargetZ;
    E.CurrentX = StartX;
    E.CurrentY = StartY;
    E.OffsetX = -dx * 32;
    E.OffsetY = -dy * 32;
    E.TotalX = std::abs(dx) * 32;
    E.TotalY = std::abs(dy) * 32;
    double Distance = std::sqrt(double(dx) * dx + double(dy) * dy);
    E.Duration = static_cast<int>(std::sqrt(Distance)) * 150;
    E.End = int64_t(platform::Milliseconds()) + E.Duration;
    LinkEffect(n, SlotOrOrigin(sx, sy, sz));
}

int GetFirstFieldEffect(int rx, int ry, int rz) { return Field(rx, ry, rz).EffectNumber; }

int GetNextFieldEffect(int EffectNumber) {
    ASSERT(In(EffectNumber,0,EFFECTS-1));
    if (!In(EffectNumber, 0, EFFECTS - 1)) return -1;
    return Effects[EffectNumber].Next;
}

int GetEffectStatus(int EffectNumber) { return CheckedEffect(EffectNumber, EFFECT_FREE).Status; }
int GetGraphicEffectType(int EffectNumber) { return CheckedEffect(EffectNumber, EFFECT_GRAPHIC).Type; }
int GetGraphicEffectPhase(int EffectNumber) { return CheckedEffect(EffectNumber, EFFECT_GRAPHIC).Phase; }
int GetTextEffectColour(int EffectNumber) { return CheckedEffect(EffectNumber, EFFECT_TEXT).Colour; }
const char* GetTextEffectText(int EffectNumber) { return CheckedEffect(EffectNumber, EFFECT_TEXT).Text; }
int GetTextEffectCounter(int EffectNumber) { return CheckedEffect(EffectNumber, EFFECT_TEXT).Counter; }
int GetMissileEffectType(int EffectNumber) { return CheckedEffect(EffectNumber, EFFECT_MISSILE).Type; }
int GetMissileEffectDirection(int EffectNumber) { return CheckedEffect(EffectNumber, EFFECT_MISSILE).Direction; }

void GetMissileEffectOffset(int EffectNumber, int& x, int& y) {
    const EffectRecord& E = CheckedEffect(EffectNumber, EFFECT_MISSILE);
    x = (E.TargetX - E.CurrentX) * 32 + E.OffsetX;
    y = (E.TargetY - E.CurrentY) * 32 + E.OffsetY;
    // Over a field beyond the cube the missile waits on cube field (0,0,0);
    // measured from there it is drawn where it really flies, outside the
    // view, instead of in the corner that a step scrolls into sight.
    int rx = E.CurrentX, ry = E.CurrentY, rz = E.TargetZ;
    AbsoluteToCube(rx, ry, rz);
    if (!InCube(rx, ry, rz)) {
        x += 32 * rx;
        y += 32 * ry;
    }
}

void AdvanceEffects() {
    for (int n = 0; n < EFFECTS; n++) {
        EffectRecord& E = Effects[n];
        if (E.Status == EFFECT_GRAPHIC) {
            E.Phase++;
            if (E.Phase > GetEffectPhases(E.Type)) FreeEffect(n);
        } else if (E.Status == EFFECT_TEXT) {
            E.Counter++;
            if (E.Counter > 10) FreeEffect(n);
        }
    }
}

void MoveMissiles(uint32_t Now) {
    int64_t t = Now;
    for (int n = 0; n < EFFECTS; n++) {
        EffectRecord& E = Effects[n];
        if (E.Status != EFFECT_MISSILE) continue;
        MoveOffset(E.OffsetX, E.TotalX, E.End - t, E.Duration);
        MoveOffset(E.OffsetY, E.TotalY, E.End - t, E.Duration);
        if (E.OffsetX != 0 || E.OffsetY != 0 || t <= E.End) {
            E.CurrentX = FloorDiv(E.TargetX * 32 + E.OffsetX + 31, 32);
            E.CurrentY = FloorDiv(E.TargetY * 32 + E.OffsetY + 31, 32);
            // Relinked when it reaches another field, and also when it waits
            // beyond the cube and a scroll has moved its waiting place away
            // from cube field (0,0,0).
            int rx = E.CurrentX, ry = E.CurrentY, rz = E.TargetZ;
            AbsoluteToCube(rx, ry, rz);
            const int Slot = SlotOrOrigin(rx, ry, rz);
            if (Slot != E.Slot) {
                UnlinkEffect(n);
                LinkEffect(n, Slot);
            }
        } else {
            FreeEffect(n);
        }
    }
}

// ---- Ambient light ---------------------------------------------------------------------------------

void SetAmbientLight(int Brightness, int Colour) {
    bool First = AmbientTargetBrightness < 0;
    AmbientTargetBrightness = Brightness;
    GetCubeColor(Colour, AmbientTargetRed, AmbientTargetGreen, AmbientTargetBlue);
    if (First) {
        AmbienteActualBrightness = AmbientTargetBrightness;
        AmbientRed = AmbientTargetRed;
        AmbientGreen = AmbientTargetGreen;
        AmbientBlue = AmbientTargetBlue;
    }
}

void ResetAmbientLight() {
    AmbientTargetBrightness = -1;
    AmbientTargetRed = AmbientTargetGreen = AmbientTargetBlue = 0;
    AmbienteActualBrightness = DEFAULT_BRIGHTNESS;
    GetCubeColor(DEFAULT_COLOUR, AmbientRed, AmbientGreen, AmbientBlue);
}

int GetAmbientBrightness() {
    ASSERT(AmbienteActualBrightness>=0);
    return AmbienteActualBrightness;
}

void GetAmbientColour(int& Red, int& Green, int& Blue) {
    Red = AmbientRed;
    Green = AmbientGreen;
    Blue = AmbientBlue;
}

void StepAmbientLight() {
    if (AmbientTargetBrightness < 0) return;  // nothing to step toward before the first message
    AmbienteActualBrightness += Sign(AmbientTargetBrightness - AmbienteActualBrightness);
    AmbientRed += Sign(AmbientTargetRed - AmbientRed);
    AmbientGreen += Sign(AmbientTargetGreen - AmbientGreen);
    AmbientBlue += Sign(AmbientTargetBlue - AmbientBlue);
}
