// The map cube: the fields around the player, 18 x 14 fields on each of 8
// levels, with their object stacks, the effects shown on them (graphic
// effects, animated texts, missiles) and the ambient light.
//
// Field operations take cube coordinates (rx 0..17, ry 0..13, rz 0..7). The
// player always stands on cube field (8, 6, player level). The records never
// move: scrolling permutes a table of pool slots, so a slot keeps holding the
// same absolute field until it is reused at the opposite edge.
#pragma once

#include "world/Objects.h"

#include <cstdint>

constexpr int MAPSIZE_X = 18;
constexpr int MAPSIZE_Y = 14;
constexpr int MAPSIZE_Z = 8;
constexpr int MAP_WIDTH = 15;
constexpr int MAP_HEIGHT = 11;
constexpr int OBJECTS_PER_POINT = 10;
constexpr int EFFECTS = 200;
constexpr int MAP_POINTS = MAPSIZE_X * MAPSIZE_Y * MAPSIZE_Z;  // 2016

// Effect table entry states.
constexpr int EFFECT_FREE = 0;
constexpr int EFFECT_GRAPHIC = 1;
constexpr int EFFECT_TEXT = 2;
constexpr int EFFECT_MISSILE = 3;

struct Point {
    int ObjectCount;
    ObjectInstance ObjectStack[OBJECTS_PER_POINT];  // index 0 is the bottom
    int DrawOrder[OBJECTS_PER_POINT];               // drawing and iteration order
    int EffectNumber;                               // first effect on the field, -1 for none
};

// Called for every creature on a field that is cleared (the creature module
// marks it as off the map).
using CreatureRemovalHook = void (*)(uint32_t CreatureID);

// ---- Module life --------------------------------------------------------------

// Index table to identity, every field and effect cleared, position (0,0,0),
// the automap cache reset. The hook may be null.
void InitMap(CreatureRemovalHook RemoveCreature);
// Saves every automap area still held.
void ExitMap();

// ---- Position and conversion --------------------------------------------------------

void SetMapPosition(int x, int y, int z);
void GetMapPosition(int& x, int& y, int& z);
// 7 - z on the surface, 2 underground.
int GetPlayerLevel();
void CubeToAbsolute(int& x, int& y, int& z);
void AbsoluteToCube(int& x, int& y, int& z);
// Pool slot that a cube position maps to (for tests and the renderer's caches).
int GetPointSlot(int rx, int ry, int rz);
const Point& GetPoint(int rx, int ry, int rz);

// ---- Field contents -----------------------------------------------------------------

int GetObjectCount(int rx, int ry, int rz);
// The instance at a stored position 0..9, (0,0) at and above ObjectCount.
ObjectInstance GetFieldObject(int rx, int ry, int rz, int Position);
// Iteration in DrawOrder; both give (0,0) past the end. One at a time.
ObjectInstance GetFirstFieldObject(int rx, int ry, int rz);
ObjectInstance GetNextFieldObject();
// Puts the instance where the stacking rule says; dropped when that is 10.
void InsertFieldObject(int rx, int ry, int rz, int Type, uint32_t Data);
// Puts the instance on top (map descriptions arrive in stored order).
void AppendFieldObject(int rx, int ry, int rz, int Type, uint32_t Data);
// The same for a whole list at once, ordering the field for drawing only once.
void AppendFieldObjects(int rx, int ry, int rz, const ObjectInstance* Objects, int Count);
void ChangeFieldObject(int rx, int ry, int rz, int Position, int Type, uint32_t Data);
// True when the field was full before, so the server must be asked for it again.
bool DeleteFieldObject(int rx, int ry, int rz, int Position);
// Creatures on the field are reported through the removal hook.
void ClearField(int rx, int ry, int rz, bool WithEffects);
// Every field and every effect, without reporting creatures.
void ClearMap();

// ---- Field queries ----------------------------------------------------------------------

ObjectInstance GetTopObject(int rx, int ry, int rz, int& Position);
ObjectInstance GetTopCreatureOrObject(int rx, int ry, int rz, int& Position);
ObjectInstance GetUseTarget(int rx, int ry, int rz, int& Position);
ObjectInstance GetDragSource(int rx, int ry, int rz, int& Position);
int GetHeightCount(int rx, int ry, int rz);
bool IsWalkable(int rx, int ry, int rz, bool Climb);
bool HasRoof(int rx, int ry, int rz);
bool IsLightThrough(int rx, int ry, int rz);
// Colour and walking cost of a field for the automap (speed 255 impassable).
void GetAutomapSample(int rx, int ry, int rz, int& Colour, int& Speed);

// ---- Scrolling ----------------------------------------------------------------------------

// Subtracts (dx, dy) from the map position and rotates the index table; the
// column or row reused at the opposite edge is cleared on every level.
void ScrollMap(int dx, int dy);
// Rotates the levels: positive dz when the player went down.
void ChangeMapLevel(int dz);

// ---- Effects ------------------------------------------------------------------------------

// A position outside the cube (any value is accepted) links the effect to
// cube field (0,0,0), outside the view.
void AddGraphicEffect(int rx, int ry, int rz, int Type);
void AddTextEffect(int rx, int ry, int rz, int Colour, const char* Text);
// Shown only when start and target lie on the player's level; either may lie
// beyond the cube's edge, and the missile flies into (or out of) the cube.
void AddMissile(int sx, int sy, int sz, int tx, int ty, int tz, int Type);
// The effects of a field, newest first; -1 past the end.
int GetFirstFieldEffect(int rx, int ry, int rz);
int GetNextFieldEffect(int EffectNumber);
int GetEffectStatus(int EffectNumber);
int GetGraphicEffectType(int EffectNumber);
int GetGraphicEffectPhase(int EffectNumber);
int GetTextEffectColour(int EffectNumber);
const char* GetTextEffectText(int EffectNumber);
int GetTextEffectCounter(int EffectNumber);
int GetMissileEffectType(int EffectNumber);
int GetMissileEffectDirection(int EffectNumber);
// Pixel offset of the missile from the field it is linked to (from cube
// field (0,0) while it is over a field beyond the cube).
void GetMissileEffectOffset(int EffectNumber, int& x, int& y);
// Every 100 ms timer tick.
void AdvanceEffects();
// Every frame, with the game clock, before the effects are drawn.
void MoveMissiles(uint32_t Now);

// ---- Ambient light ------------------------------------------------------------------------

// The first message after a reset takes effect at once; later ones are
// reached step by step.
void SetAmbientLight(int Brightness, int Colour);
// At start and on entering the game: full white daylight (brightness 255)
// until the server's first light message, which then takes effect at once.
void ResetAmbientLight();
int GetAmbientBrightness();
void GetAmbientColour(int& Red, int& Green, int& Blue);
// Every tenth timer tick: one unit toward the target.
void StepAmbientLight();
