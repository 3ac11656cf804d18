// The map messages: things and creature descriptions, map descriptions with
// their skip counter, the full map, the four edges, the two floor changes, and
// the changes of single fields (field, add, change, remove, move creature).
//
// Sections: readers; descriptions; whole-map messages; field messages; the
// move-creature report.
#include "core/Assert.h"
#include "core/Utils.h"
#include "net/Commands.h"
#include "net/GameHooks.h"
#include "net/GameMessagesLocal.h"
#include "net/Network.h"
#include "world/Automap.h"
#include "world/Creatures.h"
#include "world/Map.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace gamemessages {

namespace {

// Fields still to be left empty, carried from field to field, row to row and
// level to level within one message.
int Skip = 0;

constexpr int END_VALUE = 0xFF00;

// The things of the field being read; kept here rather than on the stack,
// where clearing them for every field of a full map costs more than reading.
ObjectInstance FieldThings[OBJECTS_PER_POINT];

void Redraw() {
    if (const auto Hook = GetGameHooks().Redraw) Hook();
}

void StoreWholeLevel() {
    for (int ry = 0; ry < MAPSIZE_Y; ry++)
        for (int rx = 0; rx < MAPSIZE_X; rx++) StoreAutomapField(rx, ry);
}

// The things of one field until the end value, appended in stored order.
// Where is the field's absolute position, for the creatures on it; OnPlayerLevel
// tells whether rz is the player's level, whose fields go to the automap.
[[gnu::always_inline]] inline void ReadField(int rx, int ry, int rz, const Position& Where, bool OnPlayerLevel) {
    if (Skip > 0) {
        Skip--;
    } else {
        // Collected first, so the field is ordered for drawing once.
        ObjectInstance* const Things = FieldThings;
        int Count = 0;
        for (;;) {
            const int ID = GetWord();
            if (ID >= END_VALUE) {
                Skip = ID & 0xFF;
                break;
            }
            if (Count == OBJECTS_PER_POINT) {
                AppendFieldObjects(rx, ry, rz, Things, Count);
                Count = 0;
            }
            ReadThing(ID, &Where, Things[Count].Type, Things[Count].Data);
            Count++;
        }
        if (Count > 0) AppendFieldObjects(rx, ry, rz, Things, Count);
    }
    if (OnPlayerLevel) StoreAutomapField(rx, ry);
}

}  // namespace

// ---- Readers ------------------------------------------------------------------------------

Position ReadPosition() {
    Position P;
    P.x = GetWord();
    P.y = GetWord();
    P.z = GetByte();
    return P;
}

bool ToCube(const Position& P, int& rx, int& ry, int& rz) {
    rx = P.x;
    ry = P.y;
    rz = P.z;
    AbsoluteToCube(rx, ry, rz);
    return In(rx, 0, MAPSIZE_X - 1) && In(ry, 0, MAPSIZE_Y - 1) && In(rz, 0, MAPSIZE_Z - 1);
}

void ReadOutfit(Creature* C) {
    const int Outfit = GetByte();
    int Colours[4] = {0, 0, 0, 0};
    int Look = 0;
    if (Outfit != 0)
        for (int& c : Colours) c = GetByte();
    else
        Look = GetWord();
    if (C == NULL) return;
    C->Outfit = Outfit;
    for (int i = 0; i < 4; i++) C->Colours[i] = Colours[i];
    C->LookType = Look;
}

void ReadCreatureDescription(Creature* C) {
    const int Health = GetByte();
    const int Direction = GetByte();
    ReadOutfit(C);
    const int LightIntensity = GetByte();
    const int LightColour = GetByte();
    const int Speed = GetWord();
    const int Skull = GetByte();
    const int Shield = GetByte();
    if (C == NULL) return;
    C->Health = Health;
    // A direction the drawing cannot show keeps the creature as it faced.
    if (In(Direction, 0, 3)) {
        C->Direction = Direction;
        if (!C->Walking) C->ShownDirection = Direction;
    }
    C->LightIntensity = LightIntensity;
    C->LightColour = LightColour;
    C->Speed = Speed;
    SetCreatureSkull(C, Skull, false);
    C->PartyShield = Shield;
}

void ReadThing(int ID, const Position* Where, int& Type, uint32_t& Data) {
    if (ID == 97 || ID == 98 || ID == 99) {
        Creature* C = NULL;
        uint32_t CreatureID = 0;
        if (ID == 97) {
            const uint32_t Forget = GetQuad();
            CreatureID = GetQuad();
            char Name[CREATURE_NAME_LENGTH];
            GetString(Name, CREATURE_NAME_LENGTH);
            C = NewCreature(Forget, CreatureID);
            if (C != NULL) {
                std::strcpy(C->Name, Name);
                if (CreatureID >= FIRST_NONPLAYER_ID) Capitalize(C->Name);
                C->Walking = false;
                C->DeltaX = C->DeltaY = 0;
            }
            ReadCreatureDescription(C);
        } else if (ID == 98) {
            CreatureID = GetQuad();
            if (CreatureID != 0) C = FindCreature(CreatureID);
            ReadCreatureDescription(C);
        } else {
            CreatureID = GetQuad();
            const int Direction = GetByte();
            if (CreatureID != 0) C = FindCreature(CreatureID);
            if (C != NULL && In(Direction, 0, 3)) {
                C->Direction = Direction;
                if (!C->Walking) C->ShownDirection = Direction;
            }
        }
        if (C != NULL && Where != NULL) {
            SetCreaturePosition(C, Where->x, Where->y, Where->z);
            C->Visible = true;
        }
        Type = CREATURE;
        Data = CreatureID;
        return;
    }
    // Written through references: returning the small record by value made
    // the compiler split and rejoin it on the stack, which stalled the
    // hottest loop of a full map.
    Type = ID;
    Data = 0;
    const uint32_t Flags = GetObjectFlags(ID);
    if (Flags & (uint32_t(1) << CUMULATIVE)) Data = GetByte();
    if (Flags & (uint32_t(1) << LIQUIDPOOL)) Data = GetByte();
    if (Flags & (uint32_t(1) << LIQUIDCONTAINER)) Data = GetByte();
}

ObjectInstance ReadThing(int ID, const Position* Where) {
    ObjectInstance Obj;
    ReadThing(ID, Where, Obj.Type, Obj.Data);
    return Obj;
}

ObjectInstance ReadThing(const Position* Where) { return ReadThing(GetWord(), Where); }

// ---- Descriptions -----------------------------------------------------------------------------

void ResetSkip() { Skip = 0; }

void ReadArea(int x0, int y0, int Width, int Height, int rz) {
    // a level is a plain shift of the absolute fields
    int bx = 0, by = 0, bz = rz;
    CubeToAbsolute(bx, by, bz);
    const bool OnPlayerLevel = rz == GetPlayerLevel();
    for (int rx = x0; rx < x0 + Width; rx++)
        for (int ry = y0; ry < y0 + Height; ry++) ReadField(rx, ry, rz, Position{bx + rx, by + ry, bz}, OnPlayerLevel);
}

void ReadLevels(int x0, int y0, int Width, int Height) {
    int x, y, z;
    GetMapPosition(x, y, z);
    if (z <= 7) {
        for (int rz = 0; rz <= 7; rz++) ReadArea(x0, y0, Width, Height, rz);
    } else {
        // floors z-2 .. z+2, but none below the lowest floor 15
        const int End = z - 14 > -1 ? z - 14 : -1;
        for (int rz = 4; rz > End; rz--) ReadArea(x0, y0, Width, Height, rz);
    }
}

void MapUpdate(int rx, int ry, int rz) {
    if (rz == GetPlayerLevel()) StoreAutomapField(rx, ry);
}

void PositionChanged() {
    Redraw();
    int x, y, z;
    GetMapPosition(x, y, z);
    RaisePositionHints(x, y, z);
}

// ---- Whole-map messages ----------------------------------------------------------------------

void CFullMap() {
    const Position P = ReadPosition();
    ASSERT(In(P.z,0,15));
    if (!In(P.z, 0, 15)) return;
    SetMapPosition(P.x, P.y, P.z);
    ClearMap();
    ClearVisibleCreatures();
    ResetSkip();
    ReadLevels(0, 0, MAPSIZE_X, MAPSIZE_Y);
    StopWalking();
    PositionChanged();
}

void CMapNorth() {
    ScrollMap(0, 1);
    ResetSkip();
    ReadLevels(0, 0, MAPSIZE_X, 1);
    PositionChanged();
}

void CMapEast() {
    ScrollMap(-1, 0);
    ResetSkip();
    ReadLevels(MAPSIZE_X - 1, 0, 1, MAPSIZE_Y);
    PositionChanged();
}

void CMapSouth() {
    ScrollMap(0, -1);
    ResetSkip();
    ReadLevels(0, MAPSIZE_Y - 1, MAPSIZE_X, 1);
    PositionChanged();
}

void CMapWest() {
    ScrollMap(1, 0);
    ResetSkip();
    ReadLevels(0, 0, 1, MAPSIZE_Y);
    PositionChanged();
}

void CFloorUp() {
    int x, y, z;
    GetMapPosition(x, y, z);
    ASSERT(In(z,1,15));
    if (!In(z, 1, 15)) return;
    z--;
    SetMapPosition(x + 1, y + 1, z);
    ResetSkip();
    if (z > 7) {
        ChangeMapLevel(-1);
        ReadArea(0, 0, MAPSIZE_X, MAPSIZE_Y, 4);
    } else if (z == 7) {
        ChangeMapLevel(-3);
        for (int rz = 2; rz <= 7; rz++) ReadArea(0, 0, MAPSIZE_X, MAPSIZE_Y, rz);
    }
    StopWalking();
    PositionChanged();
    StoreWholeLevel();
}

void CFloorDown() {
    int x, y, z;
    GetMapPosition(x, y, z);
    ASSERT(In(z,0,14));
    if (!In(z, 0, 14)) return;
    z++;
    SetMapPosition(x - 1, y - 1, z);
    ResetSkip();
    if (z > 8) {
        ChangeMapLevel(1);
        if (z < 14) ReadArea(0, 0, MAPSIZE_X, MAPSIZE_Y, 0);
    } else if (z == 8) {
        ChangeMapLevel(3);
        for (int rz = 2; rz >= 0; rz--) ReadArea(0, 0, MAPSIZE_X, MAPSIZE_Y, rz);
    }
    StopWalking();
    PositionChanged();
    StoreWholeLevel();
}

// ---- Field messages -------------------------------------------------------------------------------

namespace {

// A field message about a field outside the cube cannot be applied; the
// server and the client disagree about where the player is.
bool FieldInCube(const Position& P, int& rx, int& ry, int& rz) {
    ToCube(P, rx, ry, rz);
    ASSERT(In(rx,0,MAPSIZE_X-1) && In(ry,0,MAPSIZE_Y-1) && In(rz,0,MAPSIZE_Z-1));
    return In(rx, 0, MAPSIZE_X - 1) && In(ry, 0, MAPSIZE_Y - 1) && In(rz, 0, MAPSIZE_Z - 1);
}

void LeaveMap(const ObjectInstance& Obj) {
    if (Obj.Type == CREATURE) CreatureOffMap(Obj.Data);
}

void AppendCylinder(std::FILE* Log, int rx, int ry, int rz) {
    const Point& P = GetPoint(rx, ry, rz);
    for (int n = 0; n < P.ObjectCount; n++) {
        const ObjectInstance& Obj = P.ObjectStack[P.DrawOrder[n]];
        std::fprintf(Log, "(%d,%d) ", Obj.Type, int(Obj.Data));
    }
}

struct MoveReport {
    int Stack;
    Position From, To;
    int sx, sy, sz, zx, zy, zz;
};

void AppendPositions(std::FILE* Log, const MoveReport& R) {
    std::fprintf(Log, "\nabs-s-pos:   [%d,%d,%d]", R.From.x, R.From.y, R.From.z);
    std::fprintf(Log, "\nabs-z-pos:   [%d,%d,%d]", R.To.x, R.To.y, R.To.z);
    std::fprintf(Log, "\ns-position:  sx=%d sy=%d sz=%d", R.sx, R.sy, R.sz);
    std::fprintf(Log, "\nz-position:  zx=%d zy=%d zz=%d", R.zx, R.zy, R.zz);
    std::fprintf(Log, "\nd-position:  dx=%d dy=%d dz=%d", R.To.x - R.From.x, R.To.y - R.From.y, R.To.z - R.From.z);
}

std::FILE* OpenReport(int Line) {
    std::FILE* Log = std::fopen(assertion::ErrorLogPath().c_str(), "a");
    if (Log == NULL) return NULL;
    const std::time_t Now = std::time(nullptr);
    std::fprintf(Log, "\n----------------------------------------");
    std::fprintf(Log, "\nDebug Assertion");
    std::fprintf(Log, "\ntime:      %s", std::ctime(&Now));
    std::fprintf(Log, "line:      %d", Line);
    std::fprintf(Log, "\nmodule:    Communication_ex");
    return Log;
}

void CloseReport(std::FILE* Log) {
    std::fprintf(Log, "\n----------------------------------------");
    std::fclose(Log);
}

// The moved instance is no creature.
void ReportNoCreature(const MoveReport& R) {
    std::FILE* Log = OpenReport(1296);
    if (Log == NULL) return;
    std::fprintf(Log, "\nPosition:    %d", R.Stack);
    AppendPositions(Log, R);
    std::fprintf(Log, "\nStart Cylinder:    ");
    AppendCylinder(Log, R.sx, R.sy, R.sz);
    std::fprintf(Log, "\nDestination Cylinder:    ");
    AppendCylinder(Log, R.zx, R.zy, R.zz);
    CloseReport(Log);
}

// The destination's first instance is not its ground.
void ReportNoGround(const MoveReport& R, const Creature& C) {
    std::FILE* Log = OpenReport(1332);
    if (Log == NULL) return;
    AppendPositions(Log, R);
    std::fprintf(Log, "\nCylinder:    ");
    AppendCylinder(Log, R.zx, R.zy, R.zz);
    std::fprintf(Log, "\nCreature:    id=%d name=%s realx=%d realy=%d realz=%d deltax=%d deltay=%d", int(C.ID),
                 C.Name, C.RealX, C.RealY, C.RealZ, C.DeltaX, C.DeltaY);
    CloseReport(Log);
}

}  // namespace

void CField() {
    const Position P = ReadPosition();
    int rx, ry, rz;
    if (!FieldInCube(P, rx, ry, rz)) return;
    ClearField(rx, ry, rz, false);
    ResetSkip();
    ReadField(rx, ry, rz, P, rz == GetPlayerLevel());
}

void CAddThing() {
    const Position P = ReadPosition();
    int rx, ry, rz;
    if (!FieldInCube(P, rx, ry, rz)) return;
    const ObjectInstance Obj = ReadThing(&P);
    InsertFieldObject(rx, ry, rz, Obj.Type, Obj.Data);
    MapUpdate(rx, ry, rz);
}

void CChangeThing() {
    const Position P = ReadPosition();
    const int Stack = GetByte();
    int rx, ry, rz;
    if (!FieldInCube(P, rx, ry, rz)) return;
    const ObjectInstance Old = GetFieldObject(rx, ry, rz, Stack < OBJECTS_PER_POINT ? Stack : 0);
    if (Stack >= OBJECTS_PER_POINT || Old.Type == 0) {
        ReadThing(&P);
        return;
    }
    LeaveMap(Old);
    const ObjectInstance Obj = ReadThing(&P);
    ChangeFieldObject(rx, ry, rz, Stack, Obj.Type, Obj.Data);
    MapUpdate(rx, ry, rz);
}

void CRemoveThing() {
    const Position P = ReadPosition();
    const int Stack = GetByte();
    int rx, ry, rz;
    if (!FieldInCube(P, rx, ry, rz)) return;
    if (Stack >= OBJECTS_PER_POINT) return;
    const ObjectInstance Old = GetFieldObject(rx, ry, rz, Stack);
    if (Old.Type == 0) return;
    LeaveMap(Old);
    const bool WasFull = DeleteFieldObject(rx, ry, rz, Stack);
    MapUpdate(rx, ry, rz);
    if (WasFull) SendRequestField(P.x, P.y, P.z);
}

void CMoveCreature() {
    MoveReport R;
    R.From = ReadPosition();
    R.Stack = GetByte();
    R.To = ReadPosition();
    if (!FieldInCube(R.From, R.sx, R.sy, R.sz) || !FieldInCube(R.To, R.zx, R.zy, R.zz)) return;
    const ObjectInstance Obj =
        R.Stack < OBJECTS_PER_POINT ? GetFieldObject(R.sx, R.sy, R.sz, R.Stack) : ObjectInstance{};
    if (Obj.Type == 0) {
        SendRequestField(R.To.x, R.To.y, R.To.z);
        return;
    }
    if (Obj.Type != CREATURE) {
        ReportNoCreature(R);
        ::Assert("false", 1296, "Communication_ex", 0, 0);
        return;
    }
    const int dx = R.To.x - R.From.x, dy = R.To.y - R.From.y, dz = R.To.z - R.From.z;
    const bool Jump = dz != 0 || std::abs(dx) > 1 || std::abs(dy) > 1;
    Creature* C = Obj.Data != 0 ? FindCreature(Obj.Data) : NULL;
    if (C != NULL) {
        // A step needs the destination's ground for its speed.
        ObjectInstance Ground;
        if (!Jump) {
            Ground = GetFirstFieldObject(R.zx, R.zy, R.zz);
            if (Ground.Type == 0 || !GetObjectFlag(Ground, BANK)) {
                ReportNoGround(R, *C);
                bool Found = false;
                for (ObjectInstance Obj = GetFirstFieldObject(R.zx, R.zy, R.zz); Obj.Type != 0;
                     Obj = GetNextFieldObject())
                    if (GetObjectFlag(Obj, BANK)) {
                        Ground = Obj;
                        Found = true;
                        break;
                    }
                if (!Found) {
                    ::Assert("GetObjectFlag(Obj,BANK)", __LINE__, __FILE__, 0, 0);
                    return;
                }
            }
        }
        // The real position moves; a running step animation of the player
        // (a confirmed prediction) must survive that.
        const int DeltaX = C->DeltaX, DeltaY = C->DeltaY;
        const bool Walking = C->Walking;
        SetCreaturePosition(C, C->RealX + dx, C->RealY + dy, C->RealZ + dz);
        C->DeltaX = DeltaX;
        C->DeltaY = DeltaY;
        C->Walking = Walking;
        if (Jump) {
            int Direction = C->Direction;
            if (dx >= 1)
                Direction = 1;
            else if (dx < 0)
                Direction = 3;
            else if (dy < 0)
                Direction = 0;
            else if (dy > 0)
                Direction = 2;
            C->Direction = Direction;
            if (C->ID == GetPlayerID()) {
                StopWalking();
            } else {
                // it stands on the new field at once
                StartStep(C, 0, 0, 0);
                C->Walking = false;
                C->DeltaX = C->DeltaY = 0;
            }
            C->ShownDirection = Direction;
        } else {
            StartStep(C, dx, dy, GetObjectBankValue(Ground.Type));
        }
    }
    const bool WasFull = DeleteFieldObject(R.sx, R.sy, R.sz, R.Stack);
    MapUpdate(R.sx, R.sy, R.sz);
    if (WasFull) SendRequestField(R.From.x, R.From.y, R.From.z);
    InsertFieldObject(R.zx, R.zy, R.zz, Obj.Type, Obj.Data);
    MapUpdate(R.zx, R.zy, R.zz);
}

}  // namespace gamemessages
