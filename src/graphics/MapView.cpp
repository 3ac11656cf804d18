// Sections: frame state; prepared cells; light; items, outfits and effects;
// creatures; fields; the frame; the pointer.
#include "graphics/MapView.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Redraw.h"
#include "core/Utils.h"
#include "graphics/PictureNumbers.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "platform/Platform.h"
#include "world/Creatures.h"
#include "world/Map.h"
#include "world/Objects.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// ---- Frame state -------------------------------------------------------------------------------

// Field (x, y) of the cube is drawn at (32 x - ScrollX, 32 y - ScrollY).
int ScrollX = 32, ScrollY = 32;
int HighestFloor = 0;
int PlayerFloor = 0;
int Cover[MAPSIZE_Y][MAPSIZE_X];
// Light per cube column.
int LightRed[MAPSIZE_Y][MAPSIZE_X], LightGreen[MAPSIZE_Y][MAPSIZE_X], LightBlue[MAPSIZE_Y][MAPSIZE_X];
int AmbientRed = 0, AmbientGreen = 0, AmbientBlue = 0;
int DaylightRed = 0, DaylightGreen = 0, DaylightBlue = 0;
uint32_t PointerCreature = 0;
uint32_t AnimationClock = 0;

struct NameEntry {
    uint32_t CreatureID;
    int x, y;
};
NameEntry Names[CREATURES];
int NumberOfNames = 0;

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int Mod(int a, int b) { return ((a % b) + b) % b; }

const ObjectInstance* FirstObject(int rx, int ry, int rz) {
    const Point& P = GetPoint(rx, ry, rz);
    if (P.ObjectCount <= 0) return NULL;
    return &P.ObjectStack[P.DrawOrder[0]];
}

bool FirstObjectHas(int rx, int ry, int rz, int Flag) {
    const ObjectInstance* O = FirstObject(rx, ry, rz);
    return O != NULL && O->Type >= FIRST_ITEM_TYPE && GetObjectFlag(O->Type, Flag);
}

bool InCube(int rx, int ry, int rz) {
    return rx >= 0 && rx < MAPSIZE_X && ry >= 0 && ry < MAPSIZE_Y && rz >= 0 && rz < MAPSIZE_Z;
}

// ---- Prepared cells ----------------------------------------------------------------------------

struct Piece {
    int Sprite;
    int8_t x, y;  // offset of the sprite inside the cell, -31..31
    bool operator==(const Piece&) const = default;
};

struct Cell {
    Piece Now[PIECES_PER_CELL];
    int NowCount;
    Piece Before[PIECES_PER_CELL];
    int BeforeCount;  // -1: nothing prepared
    bool Copied;
};
Cell Cells[CACHE_ROWS][CACHE_COLUMNS];
int CacheGeneration = -1;
int ComposedCells = 0;
// The map position of the frame: cells are addressed by absolute field, so a
// prepared cell stays with its field when the map scrolls.
int FrameMapX = 0, FrameMapY = 0;

bool CellVisible(int cx, int cy) {
    int x = 32 * cx - ScrollX, y = 32 * cy - ScrollY;
    return cx >= 0 && cx < MAPSIZE_X && cy >= 0 && cy < MAPSIZE_Y && x > -32 && x < MAP_VIEW_WIDTH && y > -32 &&
           y < MAP_VIEW_HEIGHT;
}

int CacheColumn(int cx) { return Mod(cx + FrameMapX, CACHE_COLUMNS); }
int CacheRow(int cy) { return Mod(cy + FrameMapY, CACHE_ROWS); }
Cell& CellAt(int cx, int cy) { return Cells[CacheRow(cy)][CacheColumn(cx)]; }

ClipRect CellRect(int cx, int cy) { return ClipRect{32 * cx - ScrollX, 32 * cy - ScrollY, 32, 32}; }

// Puts a cell on TEMP_SURFACE: its prepared image when this frame's pieces
// repeat those it was made of, else composed anew first.
void CopyCell(int cx, int cy) {
    Cell& C = CellAt(cx, cy);
    if (C.Copied) return;
    const int CacheX = CacheColumn(cx) * 32, CacheY = CacheRow(cy) * 32;
    bool Same = C.BeforeCount == C.NowCount;
    for (int i = 0; Same && i < C.NowCount; ++i) Same = C.Now[i] == C.Before[i];
    if (!Same) {
        ++ComposedCells;
        const ClipRect Clip{CacheX, CacheY, 32, 32};
        // Sprite 0 stands for black: the first tile of the darkness picture.
        DrawPicturePartClipped(CACHE_SURFACE, CacheX, CacheY, PICTURE_LIGHT, 0, 0, 32, 32, Clip);
        for (int i = 0; i < C.NowCount; ++i) {
            const Piece& P = C.Now[i];
            if (P.Sprite != 0) DrawSpriteClipped(CACHE_SURFACE, CacheX + P.x, CacheY + P.y, P.Sprite, Clip);
            C.Before[i] = P;
        }
        C.BeforeCount = C.NowCount;
    }
    CopySurface(TEMP_SURFACE, 32 * cx - ScrollX, 32 * cy - ScrollY, CACHE_SURFACE, CacheX, CacheY, 32, 32);
    C.Copied = true;
}

// The cells a sprite at (sx, sy) of TEMP_SURFACE overlaps.
struct CellSpan {
    int x0, x1, y0, y1;
};
CellSpan SpanOf(int sx, int sy) {
    return CellSpan{FloorDiv(sx + ScrollX, 32), FloorDiv(sx + ScrollX + 31, 32), FloorDiv(sy + ScrollY, 32),
                    FloorDiv(sy + ScrollY + 31, 32)};
}

// A static sprite: a piece of every cell it overlaps that shows its floor.
void PlaceStaticSprite(int Sprite, int sx, int sy, int Floor) {
    if (Sprite == 0) return;
    const CellSpan S = SpanOf(sx, sy);
    for (int cy = S.y0; cy <= S.y1; ++cy)
        for (int cx = S.x0; cx <= S.x1; ++cx) {
            if (!CellVisible(cx, cy) || Cover[cy][cx] > Floor) continue;
            Cell& C = CellAt(cx, cy);
            if (C.Copied) {
                DrawSpriteClipped(TEMP_SURFACE, sx, sy, Sprite, CellRect(cx, cy));
                continue;
            }
            C.Now[C.NowCount++] = Piece{Sprite, int8_t(sx - (32 * cx - ScrollX)), int8_t(sy - (32 * cy - ScrollY))};
            if (C.NowCount == PIECES_PER_CELL) CopyCell(cx, cy);
        }
}

// An animated or recoloured sprite goes straight onto TEMP_SURFACE, after
// the cells below it; only where its floor is shown.
void PlaceDirectSprite(int Sprite, int Mask, const ColourSet* Colours, int sx, int sy, int Floor) {
    if (Sprite == 0) return;
    const CellSpan S = SpanOf(sx, sy);
    for (int cy = S.y0; cy <= S.y1; ++cy)
        for (int cx = S.x0; cx <= S.x1; ++cx) {
            if (!CellVisible(cx, cy) || Cover[cy][cx] > Floor) continue;
            CopyCell(cx, cy);
            const ClipRect Clip = CellRect(cx, cy);
            if (Colours != NULL)
                DrawMaskedSpriteClipped(TEMP_SURFACE, sx, sy, Sprite, Mask, *Colours, Clip);
            else
                DrawSpriteClipped(TEMP_SURFACE, sx, sy, Sprite, Clip);
        }
}

void StartCells() {
    if (CacheGeneration != GetSurfaceGeneration()) {
        CacheGeneration = GetSurfaceGeneration();
        for (auto& Row : Cells)
            for (Cell& C : Row) C.BeforeCount = -1;
    }
    for (auto& Row : Cells)
        for (Cell& C : Row) {
            C.NowCount = 0;
            C.Copied = false;
        }
    ComposedCells = 0;
}

// ---- Light ---------------------------------------------------------------------------------------

void AddLight(int sx, int sy, int Floor, int Brightness, int Colour) {
    if (Brightness <= 0) return;
    int Red, Green, Blue;
    GetCubeColor(Colour, Red, Green, Blue);
    const int Reach = 32 * Brightness;
    const int x0 = std::max(FloorDiv(sx + ScrollX - Reach, 32), 0);
    const int x1 = std::min(FloorDiv(sx + ScrollX + Reach, 32), MAPSIZE_X - 1);
    const int y0 = std::max(FloorDiv(sy + ScrollY - Reach, 32), 0);
    const int y1 = std::min(FloorDiv(sy + ScrollY + Reach, 32), MAPSIZE_Y - 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const int dx = 32 * x - ScrollX + 16 - sx, dy = 32 * y - ScrollY + 16 - sy;
            const int Distance = int(std::sqrt(double(dx * dx + dy * dy)));
            const int v = Reach - Distance;
            if (v <= 0) continue;
            const int Divisor = FirstObjectHas(x, y, Floor, BANK) ? 160 : 800;
            LightRed[y][x] = std::max(LightRed[y][x], std::min(Red * v / Divisor, 255));
            LightGreen[y][x] = std::max(LightGreen[y][x], std::min(Green * v / Divisor, 255));
            LightBlue[y][x] = std::max(LightBlue[y][x], std::min(Blue * v / Divisor, 255));
        }
}

void ResetFloorLight(int Floor) {
    if (Floor == PlayerFloor && Floor != 0)
        for (int y = 0; y < MAPSIZE_Y; ++y)
            for (int x = 0; x < MAPSIZE_X; ++x) {
                LightRed[y][x] = LightRed[y][x] * 4 / 5;
                LightGreen[y][x] = LightGreen[y][x] * 4 / 5;
                LightBlue[y][x] = LightBlue[y][x] * 4 / 5;
            }
    // Under a grating (the field straight above lies one column up and left
    // in the cube) on the floor below the highest one drawn, the light of
    // the level above falls in: daylight when that level is not below ground.
    const bool UnderTop = Floor == HighestFloor - 1;
    int x0 = 0, y0 = 0, AboveZ = Floor + 1;
    CubeToAbsolute(x0, y0, AboveZ);
    const bool AboveInDaylight = AboveZ <= 7;
    for (int y = 0; y < MAPSIZE_Y; ++y)
        for (int x = 0; x < MAPSIZE_X; ++x) {
            if (UnderTop && x > 0 && y > 0 && IsLightThrough(x - 1, y - 1, Floor + 1)) {
                LightRed[y][x] = AboveInDaylight ? DaylightRed : 0;
                LightGreen[y][x] = AboveInDaylight ? DaylightGreen : 0;
                LightBlue[y][x] = AboveInDaylight ? DaylightBlue : 0;
                continue;
            }
            if (Floor != 0 && !FirstObjectHas(x, y, Floor, BANK)) continue;
            if (IsLightThrough(x, y, Floor)) {
                LightRed[y][x] = std::max(AmbientRed, LightRed[y][x] * 4 / 5);
                LightGreen[y][x] = std::max(AmbientGreen, LightGreen[y][x] * 4 / 5);
                LightBlue[y][x] = std::max(AmbientBlue, LightBlue[y][x] * 4 / 5);
            } else {
                LightRed[y][x] = AmbientRed;
                LightGreen[y][x] = AmbientGreen;
                LightBlue[y][x] = AmbientBlue;
            }
        }
}

RGBColour LightOf(int x, int y) {
    x = std::clamp(x, 0, MAPSIZE_X - 1);
    y = std::clamp(y, 0, MAPSIZE_Y - 1);
    return RGBColour{uint8_t(LightRed[y][x]), uint8_t(LightGreen[y][x]), uint8_t(LightBlue[y][x])};
}

LightQuad Quads[(MAPSIZE_X + 1) * (MAPSIZE_Y + 1)];

void ApplyLight() {
    if (GetLightEffects() && IsLightPathAvailable()) {
        int n = 0;
        for (int j = 0; j <= MAPSIZE_Y; ++j)
            for (int i = 0; i <= MAPSIZE_X; ++i) {
                const int QuadX = -16 - ScrollX + 32 * i, QuadY = -16 - ScrollY + 32 * j;
                // Quads wholly outside the view light nothing that is shown.
                if (QuadX >= MAP_VIEW_WIDTH || QuadY >= MAP_VIEW_HEIGHT || QuadX + 32 <= 0 || QuadY + 32 <= 0) continue;
                LightQuad& Q = Quads[n++];
                Q.X = QuadX;
                Q.Y = QuadY;
                Q.Width = Q.Height = 32;
                Q.Corner[0] = LightOf(i - 1, j - 1);
                Q.Corner[1] = LightOf(i, j - 1);
                Q.Corner[2] = LightOf(i - 1, j);
                Q.Corner[3] = LightOf(i, j);
            }
        DrawLightQuads(TEMP_SURFACE, n, Quads);
        return;
    }
    for (int y = 0; y < MAPSIZE_Y; ++y)
        for (int x = 0; x < MAPSIZE_X; ++x) {
            if (!CellVisible(x, y)) continue;
            const int Level = GetDarknessLevel(LightRed[y][x]);
            if (Level >= DARKNESS_LEVELS) continue;
            DrawPicturePartClipped(TEMP_SURFACE, 32 * x - ScrollX, 32 * y - ScrollY, PICTURE_LIGHT, 0, 32 * Level, 32,
                                   32, ClipRect{0, 0, MAP_VIEW_WIDTH, MAP_VIEW_HEIGHT});
        }
}

// ---- Items, outfits and effects ---------------------------------------------------------------

// The field being drawn: its place in the cube and on TEMP_SURFACE, its
// absolute place (the item patterns follow it), and whether only its
// creatures are drawn (again, over a neighbour that stands in front of them).
struct FieldSpot {
    int x, y, Floor;       // in the cube
    int AbsX, AbsY, AbsZ;  // on the map
    int px, py;            // its square on TEMP_SURFACE
    bool CreaturePass;
};

FieldSpot SpotOf(int x, int y, int Floor, bool CreaturePass) {
    FieldSpot F{x, y, Floor, x, y, Floor, 32 * x - ScrollX, 32 * y - ScrollY, CreaturePass};
    CubeToAbsolute(F.AbsX, F.AbsY, F.AbsZ);
    return F;
}

void DrawItem(const ObjectInstance& Obj, int x, int y, const FieldSpot& F) {
    const int Type = Obj.Type;
    int PatternX = Mod(F.AbsX, std::max(GetObjectPatternWidth(Type), 1)) + 1;
    int PatternY = Mod(F.AbsY, std::max(GetObjectPatternHeight(Type), 1)) + 1;
    const int PatternZ = Mod(F.AbsZ, std::max(GetObjectPatternDepth(Type), 1)) + 1;
    const int Phases = std::max(GetObjectPhases(Type), 1);
    const int Phase = int((AnimationClock / 5) % uint32_t(Phases)) + 1;
    if (GetObjectFlag(Type, CUMULATIVE))
        GetCumulativePattern(Obj, PatternX, PatternY);
    else if (GetObjectFlag(Type, LIQUIDCONTAINER) || GetObjectFlag(Type, LIQUIDPOOL))
        GetLiquidPattern(Obj, PatternX, PatternY);
    else if (GetObjectFlag(Type, HANG))
        GetHangPattern(Obj, PatternX, PatternY);
    if (GetObjectFlag(Type, SHIFT)) {
        x -= GetObjectShiftX(Type);
        y -= GetObjectShiftY(Type);
    }
    const int Width = GetObjectWidth(Type), Height = GetObjectHeight(Type), Layers = GetObjectLayers(Type);
    for (int Layer = 1; Layer <= Layers; ++Layer)
        for (int PartY = 1; PartY <= Height; ++PartY)
            for (int PartX = 1; PartX <= Width; ++PartX) {
                const int Sprite = GetObjectSprite(Type, PartX, PartY, Layer, PatternX, PatternY, PatternZ, Phase);
                const int sx = x - 32 * (PartX - 1), sy = y - 32 * (PartY - 1);
                if (Phases > 1)
                    PlaceDirectSprite(Sprite, 0, NULL, sx, sy, F.Floor);
                else
                    PlaceStaticSprite(Sprite, sx, sy, F.Floor);
            }
}

void DrawOutfit(const Creature* C, int x, int y, int Floor) {
    ASSERT(C!=NULL && C->Outfit!=0);
    if (C == NULL || C->Outfit == 0) return;
    const int Type = C->Outfit;
    ColourSet Colours;
    for (int i = 0; i < 4; ++i) {
        int R, G, B;
        GetOutfitColor(C->Colours[i], R, G, B);
        Colours.Colour[i] = RGBColour{uint8_t(R), uint8_t(G), uint8_t(B)};
    }
    const int Phases = std::max(GetOutfitPhases(Type), 1);
    const int Phase = GetOutfitFlag(Type, IDLEANIMATION) ? int((AnimationClock / 3) % uint32_t(Phases)) + 1
                                                          : GetAnimationPhase(C, Phases);
    const int Direction = GetShownDirection(C);
    const bool Masked = GetOutfitLayers(Type) >= 2;
    for (int PartY = 1; PartY <= GetOutfitHeight(Type); ++PartY)
        for (int PartX = 1; PartX <= GetOutfitWidth(Type); ++PartX) {
            const int Sprite = GetOutfitSprite(Type, PartX, PartY, 1, Direction, Phase);
            const int Mask = Masked ? GetOutfitSprite(Type, PartX, PartY, 2, Direction, Phase) : 0;
            PlaceDirectSprite(Sprite, Mask, &Colours, x - 32 * (PartX - 1), y - 32 * (PartY - 1), Floor);
        }
}

void DrawEffect(int Type, int Phase, int x, int y, int Floor) {
    for (int Layer = 1; Layer <= GetEffectLayers(Type); ++Layer)
        for (int PartY = 1; PartY <= GetEffectHeight(Type); ++PartY)
            for (int PartX = 1; PartX <= GetEffectWidth(Type); ++PartX)
                PlaceDirectSprite(GetEffectSprite(Type, PartX, PartY, Layer, Phase), 0, NULL, x - 32 * (PartX - 1),
                                  y - 32 * (PartY - 1), Floor);
}

void DrawMissile(int Type, int Direction, int x, int y, int Floor) {
    for (int Layer = 1; Layer <= GetMissileLayers(Type); ++Layer)
        for (int PartY = 1; PartY <= GetMissileHeight(Type); ++PartY)
            for (int PartX = 1; PartX <= GetMissileWidth(Type); ++PartX)
                PlaceDirectSprite(GetMissileSprite(Type, PartX, PartY, Layer, Direction), 0, NULL,
                                  x - 32 * (PartX - 1), y - 32 * (PartY - 1), Floor);
}

// ---- Creatures ----------------------------------------------------------------------------------

// A creature whose image starts in the square of the field being drawn.
struct FieldCreature {
    const Creature* C;
    int OffsetX, OffsetY;  // of the image from the field's square
    int ShiftX, ShiftY;    // the image's displacement from the creature's square
};

// How far a creature's image is moved up and left from its square.
void CreatureShift(const Creature* C, int& x, int& y) {
    x = y = 0;
    if (C->Outfit != 0) {
        if (GetOutfitFlag(C->Outfit, SHIFT)) x = GetOutfitShiftX(C->Outfit), y = GetOutfitShiftY(C->Outfit);
    } else if (C->LookType >= FIRST_ITEM_TYPE) {
        if (GetObjectFlag(C->LookType, SHIFT)) x = GetObjectShiftX(C->LookType), y = GetObjectShiftY(C->LookType);
    } else {
        x = y = 8;
    }
}

// Copies the cells below a 32 x 32 square that shows its floor, so that
// something can be drawn straight over them.
void CopyCellsUnder(int sx, int sy, int Floor) {
    const CellSpan S = SpanOf(sx, sy);
    for (int cy = S.y0; cy <= S.y1; ++cy)
        for (int cx = S.x0; cx <= S.x1; ++cx)
            if (CellVisible(cx, cy) && Cover[cy][cx] <= Floor) CopyCell(cx, cy);
}

const ClipRect VIEW_CLIP{0, 0, MAP_VIEW_WIDTH, MAP_VIEW_HEIGHT};

// The target frame around a creature's square and its server mark.
void DrawCreatureFrames(const Creature* C, int x, int y, int Floor) {
    const bool Pointed = C->ID == PointerCreature;
    int R = 0, G = 0, B = 0;
    bool Framed = true;
    if (C->ID == GetFollowTarget()) {
        R = Pointed ? 180 : 64, G = Pointed ? 248 : 224, B = Pointed ? 180 : 64;
    } else if (C->ID == GetAttackTarget()) {
        R = Pointed ? 248 : 224, G = Pointed ? 164 : 64, B = Pointed ? 164 : 64;
    } else if (Pointed) {
        R = G = B = 248;
    } else {
        Framed = false;
    }
    const bool Marked = IsCreatureMarked(C);
    if (!Framed && !Marked) return;
    CopyCellsUnder(x, y, Floor);
    if (Framed) DrawFrameClipped(TEMP_SURFACE, x, y, 32, 32, 2, R, G, B, VIEW_CLIP);
    if (Marked) {
        int MR, MG, MB;
        GetCubeColor(C->MarkColour, MR, MG, MB);
        const int Inset = Framed ? 2 : 0;
        DrawFrameClipped(TEMP_SURFACE, x + Inset, y + Inset, 32 - 2 * Inset, 32 - 2 * Inset, 2, MR, MG, MB, VIEW_CLIP);
    }
}

// Which fields hold creatures this frame, so that a field with none around
// it is passed over at once.
bool CreatureHere[MAPSIZE_Z][MAPSIZE_Y][MAPSIZE_X];

void FindCreatureFields() {
    for (int z = 0; z < MAPSIZE_Z; ++z)
        for (int y = 0; y < MAPSIZE_Y; ++y)
            for (int x = 0; x < MAPSIZE_X; ++x) {
                bool Found = false;
                if (z <= HighestFloor) {
                    const Point& P = GetPoint(x, y, z);
                    for (int i = 0; i < P.ObjectCount && !Found; ++i) Found = P.ObjectStack[i].Type == CREATURE;
                }
                CreatureHere[z][y][x] = Found;
            }
}

bool CreaturesAround(int x, int y, int Floor) {
    for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, MAPSIZE_Y - 1); ++ny)
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, MAPSIZE_X - 1); ++nx)
            if (CreatureHere[Floor][ny][nx]) return true;
    return false;
}

// The creatures of the nine fields around whose image, walking and
// displaced, starts within the field's square; at most CREATURES_PER_FIELD.
int GatherCreatures(const FieldSpot& F, FieldCreature* Found) {
    int Count = 0;
    for (int ny = F.y - 1; ny <= F.y + 1; ++ny)
        for (int nx = F.x - 1; nx <= F.x + 1; ++nx) {
            if (!InCube(nx, ny, F.Floor) || !CreatureHere[F.Floor][ny][nx]) continue;
            const Point& P = GetPoint(nx, ny, F.Floor);
            for (int i = 0; i < P.ObjectCount && Count < CREATURES_PER_FIELD; ++i) {
                const ObjectInstance& O = P.ObjectStack[P.DrawOrder[i]];
                if (O.Type != CREATURE) continue;
                const Creature* C = FindCreature(O.Data);
                if (C == NULL) continue;
                int ox, oy, ShiftX, ShiftY;
                GetDrawingOffset(C, ox, oy);
                if (ox != 0 || oy != 0) RequestRedraw();  // on its way: the next frame shows it further on
                CreatureShift(C, ShiftX, ShiftY);
                ox += 32 * (nx - F.x) - ShiftX;
                oy += 32 * (ny - F.y) - ShiftY;
                if (ox < -31 || ox > 0 || oy < -31 || oy > 0) continue;
                Found[Count++] = FieldCreature{C, ox, oy, ShiftX, ShiftY};
            }
        }
    return Count;
}

// Back to front: those further up first, then those further left; equals
// keep the order they were found in. An insertion sort, for ten at most.
void SortCreatures(FieldCreature* Found, int Count) {
    for (int i = 1; i < Count; ++i) {
        const FieldCreature Next = Found[i];
        int j = i;
        for (; j > 0; --j) {
            const FieldCreature& Before = Found[j - 1];
            const bool Behind = Next.OffsetY != Before.OffsetY ? Next.OffsetY < Before.OffsetY
                                                                : Next.OffsetX < Before.OffsetX;
            if (!Behind) break;
            Found[j] = Before;
        }
        Found[j] = Next;
    }
}

// The creature's image with its image's top left at (x, y) and its square
// at (SquareX, SquareY): the outfit, the item it looks like, or, with
// neither (an invisible creature), a shimmer. Gives the top of the image,
// where its name goes.
int DrawCreatureImage(const Creature* C, int x, int y, int SquareX, int SquareY, const FieldSpot& F) {
    if (C->Outfit != 0) {
        DrawOutfit(C, x, y, F.Floor);
        return y - 32 * (GetOutfitHeight(C->Outfit) - 1);
    }
    if (C->LookType >= FIRST_ITEM_TYPE) {
        ObjectInstance Look;
        Look.Type = C->LookType;
        // The item applies its own displacement.
        DrawItem(Look, SquareX, SquareY, F);
        return y - 32 * (GetObjectHeight(Look.Type) - 1);
    }
    // Data files without the shimmer show nothing rather than fail.
    if (GetNumberOfEffects() >= INVISIBLE_EFFECT) {
        const int Phase = int((AnimationClock / 3) % 3) + 2;
        DrawEffect(INVISIBLE_EFFECT, Phase, SquareX - 8, SquareY - 8, F.Floor);
    }
    return y;
}

// Visible creatures and the player on the player's floor get a name, once.
void ListCreatureName(const Creature* C, int AnchorX, int AnchorY, int Floor) {
    if (!(C->Visible || C->ID == GetPlayerID()) || Floor != PlayerFloor || NumberOfNames >= CREATURES) return;
    for (int n = 0; n < NumberOfNames; ++n)
        if (Names[n].CreatureID == C->ID) return;
    Names[NumberOfNames++] = NameEntry{C->ID, AnchorX, AnchorY};
}

// The creature's own light and its outfit's at the centre of its square;
// the player sees at least two fields around him.
void AddCreatureLights(const Creature* C, int SquareX, int SquareY, int Floor) {
    const int CentreX = SquareX + 16, CentreY = SquareY + 16;
    AddLight(CentreX, CentreY, Floor, C->LightIntensity, C->LightColour);
    if (C->Outfit != 0 && GetOutfitFlag(C->Outfit, LIGHT))
        AddLight(CentreX, CentreY, Floor, GetOutfitLightBrightness(C->Outfit), GetOutfitLightColour(C->Outfit));
    if (C->ID == GetPlayerID() && C->LightIntensity < 2) AddLight(CentreX, CentreY, Floor, 2, 215);
}

// One creature of the field, lifted by the field's elevation e.
void DrawFieldCreature(const FieldCreature& FC, const FieldSpot& F, int e) {
    const Creature* C = FC.C;
    const int x = F.px + FC.OffsetX - e, y = F.py + FC.OffsetY - e;
    // The creature's own square, without the displacement of its image.
    const int SquareX = x + FC.ShiftX, SquareY = y + FC.ShiftY;
    DrawCreatureFrames(C, SquareX, SquareY, F.Floor);
    const int Top = DrawCreatureImage(C, x, y, SquareX, SquareY, F);
    if (F.CreaturePass) return;
    ListCreatureName(C, SquareX + 16, Top, F.Floor);
    AddCreatureLights(C, SquareX, SquareY, F.Floor);
}

void DrawCreatures(const FieldSpot& F, int e) {
    if (!CreaturesAround(F.x, F.y, F.Floor)) return;
    FieldCreature Found[CREATURES_PER_FIELD];
    const int Count = GatherCreatures(F, Found);
    SortCreatures(Found, Count);
    for (int i = 0; i < Count; ++i) DrawFieldCreature(Found[i], F, e);
}

// ---- Fields -------------------------------------------------------------------------------------

// The effects of a field: graphic effects, rising texts and missiles.
struct RisingText {
    int x, y, Colour;
    const char* Text;
};
RisingText RisingTexts[EFFECTS];
int NumberOfRisingTexts = 0;

// A rising text under ground of a floor between its own and the highest
// drawn floor stays hidden, except on the player's floor.
bool TextCoveredFromAbove(int x, int y, int Floor) {
    if (Floor == PlayerFloor) return false;
    for (int z = Floor + 1; z <= HighestFloor; ++z)
        if (FirstObjectHas(x, y, z, BANK)) return true;
    return false;
}

void DrawFieldEffects(const FieldSpot& F, int e) {
    const int px = F.px, py = F.py, Floor = F.Floor;
    for (int n = GetFirstFieldEffect(F.x, F.y, Floor); n >= 0; n = GetNextFieldEffect(n)) {
        switch (GetEffectStatus(n)) {
        case EFFECT_GRAPHIC: {
            const int Type = GetGraphicEffectType(n), Phase = GetGraphicEffectPhase(n);
            DrawEffect(Type, Phase, px - e, py - e, Floor);
            if (!F.CreaturePass && GetEffectFlag(Type, LIGHT)) {
                const int Brightness =
                    std::min({Phase, GetEffectPhases(Type) + 1 - Phase, GetEffectLightBrightness(Type)});
                AddLight(px + 16, py + 16, Floor, Brightness, GetEffectLightColour(Type));
            }
            break;
        }
        case EFFECT_TEXT:
            if (!F.CreaturePass && NumberOfRisingTexts < EFFECTS && !TextCoveredFromAbove(F.x, F.y, Floor))
                RisingTexts[NumberOfRisingTexts++] =
                    RisingText{px + 16, py - 2 * GetTextEffectCounter(n), GetTextEffectColour(n), GetTextEffectText(n)};
            break;
        case EFFECT_MISSILE: {
            const int Type = GetMissileEffectType(n);
            int ox, oy;
            GetMissileEffectOffset(n, ox, oy);
            RequestRedraw();  // it flies on with the clock
            DrawMissile(Type, GetMissileEffectDirection(n), px + ox, py + oy, Floor);
            if (!F.CreaturePass && GetMissileFlag(Type, LIGHT))
                AddLight(px + ox + 16, py + oy + 16, Floor, GetMissileLightBrightness(Type), GetMissileLightColour(Type));
            break;
        }
        default: break;
        }
    }
}

void DrawField(int x, int y, int Floor, bool CreaturePass) {
    const FieldSpot F = SpotOf(x, y, Floor, CreaturePass);
    const Point& P = GetPoint(x, y, Floor);
    int e = 0;
    const ObjectInstance* Top = NULL;
    bool RedrawNear = false;
    for (int i = 0; i < P.ObjectCount; ++i) {
        const ObjectInstance& O = P.ObjectStack[P.DrawOrder[i]];
        if (O.Type < FIRST_ITEM_TYPE) continue;
        if (!CreaturePass && GetObjectFlag(O.Type, LIGHT)) {
            int ShiftX = 0, ShiftY = 0;
            if (GetObjectFlag(O.Type, SHIFT)) ShiftX = GetObjectShiftX(O.Type), ShiftY = GetObjectShiftY(O.Type);
            AddLight(F.px - ShiftX - e + 16, F.py - ShiftY - e + 16, Floor, GetObjectLightBrightness(O.Type),
                     GetObjectLightColour(O.Type));
        }
        if (GetObjectFlag(O.Type, TOP)) {
            Top = &O;
        } else if (!CreaturePass) {
            DrawItem(O, F.px - e, F.py - e, F);
            if (GetObjectFlag(O.Type, REDRAWNEAR)) RedrawNear = true;
        }
        if (GetObjectFlag(O.Type, HEIGHT)) e = std::min(e + GetObjectElevation(O.Type), MAX_ELEVATION);
    }
    // Something tall here hides the creatures standing west and north of
    // it: they are drawn again over it.
    if (RedrawNear) {
        if (x > 0) DrawField(x - 1, y, Floor, true);
        if (y > 0) DrawField(x, y - 1, Floor, true);
        if (x > 0 && y > 0) DrawField(x - 1, y - 1, Floor, true);
    }
    DrawCreatures(F, e);
    DrawFieldEffects(F, e);
    if (Top != NULL) DrawItem(*Top, F.px, F.py, F);
}

// ---- The frame --------------------------------------------------------------------------------

int FindHighestFloor() {
    int Highest = MAPSIZE_Z - 1;
    static const int Cross[5][2] = {{7, 6}, {8, 6}, {9, 6}, {8, 5}, {8, 7}};
    for (const auto& F : Cross) {
        const int x = F[0], y = F[1];
        bool NoRoof = false;
        const Point& P = GetPoint(x, y, PlayerFloor);
        for (int i = 0; i < P.ObjectCount; ++i)
            if (P.ObjectStack[i].Type >= FIRST_ITEM_TYPE && GetObjectFlag(P.ObjectStack[i].Type, NOROOF)) NoRoof = true;
        if (NoRoof) continue;
        for (int z = PlayerFloor + 1; z < MAPSIZE_Z && z <= Highest; ++z) {
            const int d = z - PlayerFloor;
            const ObjectInstance* Same = FirstObject(x, y, z);
            const bool SameCovers = Same != NULL && Same->Type >= FIRST_ITEM_TYPE &&
                                    (GetObjectFlag(Same->Type, BANK) || GetObjectFlag(Same->Type, BOTTOM)) &&
                                    !GetObjectFlag(Same->Type, SEETHROUGH);
            bool AboveCovers = false;
            if (x - d >= 0 && y - d >= 0) {
                const ObjectInstance* Above = FirstObject(x - d, y - d, z);
                AboveCovers = Above != NULL && Above->Type >= FIRST_ITEM_TYPE && GetObjectFlag(Above->Type, BANK) &&
                              !GetObjectFlag(Above->Type, SEETHROUGH);
            }
            if (SameCovers || AboveCovers) {
                Highest = z - 1;
                break;
            }
        }
    }
    return Highest;
}

void FindCover() {
    for (int y = 0; y < MAPSIZE_Y; ++y)
        for (int x = 0; x < MAPSIZE_X; ++x) {
            Cover[y][x] = 0;
            for (int z = HighestFloor; z >= 1; --z)
                if (FirstObjectHas(x, y, z, FLOORMARK)) {
                    Cover[y][x] = z;
                    break;
                }
        }
}

void ComputeAmbient() {
    const int Level = std::clamp(GetAmbientBrightness(), 0, 255);
    int R, G, B;
    GetAmbientColour(R, G, B);
    DaylightRed = R * Level / 255;
    DaylightGreen = G * Level / 255;
    DaylightBlue = B * Level / 255;
    int MapX, MapY, MapZ;
    GetMapPosition(MapX, MapY, MapZ);
    // No daylight reaches a player below ground.
    const bool Below = MapZ > 7;
    AmbientRed = Below ? 0 : DaylightRed;
    AmbientGreen = Below ? 0 : DaylightGreen;
    AmbientBlue = Below ? 0 : DaylightBlue;
}

// Screen pixels per pixel of the frame: the platform may show the frame
// enlarged by a whole number (the window's client area holds the frame that
// many times).
int ScreenPixelsPerPixel() {
    int ClientWidth = 0, ClientHeight = 0, x = 0, y = 0, FrameWidth = 0, FrameHeight = 0;
    platform::GetClientSize(ClientWidth, ClientHeight);
    GetSurfaceRect(PRIMARY_SURFACE, &x, &y, &FrameWidth, &FrameHeight);
    if (GetViewMode() != WINDOWED_MODE || FrameWidth <= 0 || FrameHeight <= 0) return 1;
    return std::max(std::min(ClientWidth / FrameWidth, ClientHeight / FrameHeight), 1);
}

// The composed picture into its place in the window; unscaled (the
// preference, or a window that takes the map at 1) as a plain copy, which
// moves whole rows.
void CopyToWindow(int Surface, int X, int Y, const MapPicture& P) {
    if (P.Width <= 0 || P.Height <= 0) return;
    if (GetNoStretching() == 1 || (P.Width == MAP_VIEW_WIDTH && P.Height == MAP_VIEW_HEIGHT))
        CopySurface(Surface, X + P.x, Y + P.y, TEMP_SURFACE, (MAP_VIEW_WIDTH - P.Width) / 2,
                    (MAP_VIEW_HEIGHT - P.Height) / 2, P.Width, P.Height);
    else
        CopySurfaceScaled(Surface, X + P.x, Y + P.y, P.Width, P.Height, TEMP_SURFACE, 0, 0, MAP_VIEW_WIDTH,
                          MAP_VIEW_HEIGHT);
}

}  // namespace

void SetMapViewPointerCreature(uint32_t CreatureID) { PointerCreature = CreatureID; }

MapPicture GetMapPicture(int Width, int Height) {
    if (Width <= 0 || Height <= 0) return MapPicture{0, 0, 0, 0};
    // The whole number is about pixels on the screen: a frame that the
    // platform shows enlarged makes a whole factor of 1 even already.
    const int Whole = std::max(2 / ScreenPixelsPerPixel(), 1);
    int w, h;
    if (GetNoStretching() == 1) {
        w = std::min(Width, MAP_VIEW_WIDTH);
        h = std::min(Height, MAP_VIEW_HEIGHT);
    } else if (Width >= Whole * MAP_VIEW_WIDTH && Height >= Whole * MAP_VIEW_HEIGHT) {
        const int Factor = std::min(Width / MAP_VIEW_WIDTH, Height / MAP_VIEW_HEIGHT);
        w = Factor * MAP_VIEW_WIDTH;
        h = Factor * MAP_VIEW_HEIGHT;
    } else if (int64_t(Width) * MAP_VIEW_HEIGHT <= int64_t(Height) * MAP_VIEW_WIDTH) {
        // The width is the narrower fit; the height follows it.
        w = Width;
        h = std::max(int(int64_t(Width) * MAP_VIEW_HEIGHT / MAP_VIEW_WIDTH), 1);
    } else {
        h = Height;
        w = std::max(int(int64_t(Height) * MAP_VIEW_WIDTH / MAP_VIEW_HEIGHT), 1);
    }
    return MapPicture{(Width - w) / 2, (Height - h) / 2, w, h};
}

void MapPictureToWindow(int mx, int my, int WindowWidth, int WindowHeight, int& x, int& y) {
    const MapPicture P = GetMapPicture(WindowWidth, WindowHeight);
    if (GetNoStretching() == 1) {
        x = P.x + mx - (MAP_VIEW_WIDTH - P.Width) / 2;
        y = P.y + my - (MAP_VIEW_HEIGHT - P.Height) / 2;
    } else {
        x = P.x + FloorDiv(mx * P.Width, MAP_VIEW_WIDTH);
        y = P.y + FloorDiv(my * P.Height, MAP_VIEW_HEIGHT);
    }
}

bool WindowToMapPicture(int x, int y, int WindowWidth, int WindowHeight, int& mx, int& my) {
    const MapPicture P = GetMapPicture(WindowWidth, WindowHeight);
    x -= P.x;
    y -= P.y;
    if (x < 0 || y < 0 || x >= P.Width || y >= P.Height) return false;
    if (GetNoStretching() == 1) {
        mx = x + (MAP_VIEW_WIDTH - P.Width) / 2;
        my = y + (MAP_VIEW_HEIGHT - P.Height) / 2;
    } else {
        // The pixel that the scaled copy samples for this point.
        mx = int((2 * int64_t(x) + 1) * MAP_VIEW_WIDTH / (2 * int64_t(P.Width)));
        my = int((2 * int64_t(y) + 1) * MAP_VIEW_HEIGHT / (2 * int64_t(P.Height)));
    }
    return true;
}

void DrawMapView(int Surface, int X, int Y, int Width, int Height) {
    const MapPicture Picture = GetMapPicture(Width, Height);
    const Creature* Player = GetPlayerID() != 0 ? FindCreature(GetPlayerID()) : NULL;
    if (Player == NULL) {
        // Not an error: the game has begun but the map has not come yet.
        // Nothing of an earlier game may stay pointable.
        if (Picture.Width > 0 && Picture.Height > 0)
            FillRect(Surface, X + Picture.x, Y + Picture.y, Picture.Width, Picture.Height, 0, 0, 0);
        NumberOfNames = 0;
        NumberOfRisingTexts = 0;
        return;
    }
    if (Picture.Width <= 0 || Picture.Height <= 0) return;
    AnimationClock = GetAnimationClock();
    MoveMissiles(uint32_t(platform::Milliseconds()));
    int WalkX, WalkY;
    GetDrawingOffset(Player, WalkX, WalkY);
    ScrollX = WalkX + 32;
    ScrollY = WalkY + 32;
    int MapZ;
    GetMapPosition(FrameMapX, FrameMapY, MapZ);
    PlayerFloor = GetPlayerLevel();
    HighestFloor = FindHighestFloor();
    FindCover();
    FindCreatureFields();
    NumberOfNames = 0;
    NumberOfRisingTexts = 0;
    StartCells();
    ComputeAmbient();
    for (int Floor = 0; Floor <= HighestFloor; ++Floor) {
        ResetFloorLight(Floor);
        for (int x = 0; x < MAPSIZE_X; ++x)
            for (int y = 0; y < MAPSIZE_Y; ++y) DrawField(x, y, Floor, false);
    }
    for (int cy = 0; cy < MAPSIZE_Y; ++cy)
        for (int cx = 0; cx < MAPSIZE_X; ++cx)
            if (CellVisible(cx, cy)) CopyCell(cx, cy);
    ApplyLight();
    CopyToWindow(Surface, X, Y, Picture);
}

// ---- What the last frame found ---------------------------------------------------------------

int GetHighestDrawnFloor() { return HighestFloor; }

int GetCoverFloor(int rx, int ry) {
    if (rx < 0 || rx >= MAPSIZE_X || ry < 0 || ry >= MAPSIZE_Y) return 0;
    return Cover[ry][rx];
}

void GetFieldLight(int rx, int ry, int& Red, int& Green, int& Blue) {
    const RGBColour C = LightOf(rx, ry);
    Red = C.Red, Green = C.Green, Blue = C.Blue;
}

int GetNumberOfShownCreatures() { return NumberOfNames; }

bool GetShownCreature(int Number, uint32_t& CreatureID, int& AnchorX, int& AnchorY) {
    if (Number < 0 || Number >= NumberOfNames) return false;
    CreatureID = Names[Number].CreatureID;
    AnchorX = Names[Number].x;
    AnchorY = Names[Number].y;
    return true;
}

int GetComposedCells() { return ComposedCells; }

int GetNumberOfAnimatedTexts() { return NumberOfRisingTexts; }

bool GetAnimatedText(int Number, int& x, int& y, int& Colour, const char*& Text) {
    if (Number < 0 || Number >= NumberOfRisingTexts) return false;
    const RisingText& R = RisingTexts[Number];
    x = R.x, y = R.y, Colour = R.Colour, Text = R.Text;
    return true;
}

void GetWalkingOffset(int& x, int& y) {
    x = ScrollX - 32;
    y = ScrollY - 32;
}

// ---- The pointer ---------------------------------------------------------------------------------

bool GetFieldUnderPointer(int x, int y, int Width, int Height, int& rx, int& ry, int& rz) {
    int mx, my;
    if (!WindowToMapPicture(x, y, Width, Height, mx, my)) return false;
    rx = FloorDiv(mx + ScrollX - 32, 32) + 1;
    ry = FloorDiv(my + ScrollY - 32, 32) + 1;
    if (rx < 0 || rx >= MAPSIZE_X || ry < 0 || ry >= MAPSIZE_Y) return false;
    rz = 0;
    for (int z = HighestFloor; z >= 0; --z) {
        const Point& P = GetPoint(rx, ry, z);
        if (P.ObjectCount <= 0) continue;
        const ObjectInstance& First = P.ObjectStack[P.DrawOrder[0]];
        const bool FirstHolds = First.Type >= FIRST_ITEM_TYPE &&
                                (GetObjectFlag(First.Type, BANK) || GetObjectFlag(First.Type, BOTTOM));
        bool SecondHolds = false;
        if (P.ObjectCount > 1) {
            const ObjectInstance& Second = P.ObjectStack[P.DrawOrder[1]];
            SecondHolds = Second.Type >= FIRST_ITEM_TYPE && GetObjectFlag(Second.Type, BOTTOM);
        }
        if (FirstHolds || SecondHolds) {
            rz = z;
            break;
        }
    }
    return true;
}

namespace {
// Whether ground on a floor between the creature's and the highest drawn
// one hides its column.
bool CoveredFromAbove(uint32_t CreatureID) {
    const Creature* C = FindCreature(CreatureID);
    if (C == NULL) return false;
    int rx = C->RealX, ry = C->RealY, rz = C->RealZ;
    AbsoluteToCube(rx, ry, rz);
    for (int z = rz + 1; z <= HighestFloor; ++z)
        if (InCube(rx, ry, z) && FirstObjectHas(rx, ry, z, BANK)) return true;
    return false;
}
}  // namespace

bool IsCreatureCoveredFromAbove(uint32_t CreatureID) { return CoveredFromAbove(CreatureID); }

uint32_t GetCreatureUnderPointer(int x, int y, int Width, int Height) {
    const MapPicture P = GetMapPicture(Width, Height);
    int mx, my;
    if (!WindowToMapPicture(x, y, Width, Height, mx, my)) return 0;
    for (int n = 0; n < NumberOfNames; ++n) {
        const NameEntry& N = Names[n];
        if (CoveredFromAbove(N.CreatureID)) continue;
        if (GetNoStretching() == 1) {
            if (In(mx - N.x, -16, 16) && In(my - N.y, 0, 32)) return N.CreatureID;
        } else {
            // The field's square as the window shows it.
            int ax, ay;
            MapPictureToWindow(N.x, N.y, Width, Height, ax, ay);
            const int dx = x - ax, dy = y - ay;
            if (In(dx, -P.Width / 30, P.Width / 30) && In(dy, 0, P.Height / 11)) return N.CreatureID;
        }
    }
    return 0;
}

// ---- Pieces of the algorithm ----------------------------------------------------------------------

int GetDarknessLevel(int Red) {
    if (Red <= 0) return 0;
    return std::max(Red / 28, 1);
}

void GetLightAtDistance(int Brightness, int Colour, int Distance, int& Red, int& Green, int& Blue) {
    GetCubeColor(Colour, Red, Green, Blue);
    const int v = 32 * Brightness - Distance;
    if (v <= 0) {
        Red = Green = Blue = 0;
        return;
    }
    Red = std::min(Red * v / 160, 255);
    Green = std::min(Green * v / 160, 255);
    Blue = std::min(Blue * v / 160, 255);
}
