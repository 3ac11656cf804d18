// Object types: the four type tables read from Vorna.dat (items, outfits,
// effects, missiles), their attribute flags and parameters, the sprite lookup
// and the small rules that pick a sprite pattern from an object's state.
//
// Item numbers start at 100; 0 means "no object" and CREATURE (99) stands for
// a creature on a map field. Outfits, effects and missiles count from 1.
#pragma once

#include "world/TypeNumbers.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#ifndef NULL
#define NULL nullptr
#endif

// Attribute flags: the code in the file is the bit number in the flag set.
enum ObjectFlag : int {
    BANK = 0,
    ONBANK = 1,
    BOTTOM = 2,
    TOP = 3,
    CONTAINER = 4,
    CUMULATIVE = 5,
    USETARGET = 6,
    MULTIUSE = 7,
    WRITE = 8,
    WRITEONCE = 9,
    LIQUIDCONTAINER = 10,
    LIQUIDPOOL = 11,
    UNPASS = 12,
    UNMOVE = 13,
    NOROOF = 14,
    AVOID = 15,
    TAKE = 16,
    HANG = 17,
    HOOKA = 18,
    HOOKB = 19,
    ROTATE = 20,
    LIGHT = 21,
    SEETHROUGH = 22,
    LIGHTTHROUGH = 23,
    SHIFT = 24,
    HEIGHT = 25,
    REDRAWNEAR = 26,
    IDLEANIMATION = 27,
    AUTOMAP = 28,
    LENSHELP = 29,
    FLOORMARK = 30,
};

// Pseudo item type of a creature standing on a field.
constexpr int CREATURE = 99;
// The lowest real item type number, FIRST_ITEM_TYPE, comes with the type
// numbers.

// One object on a field, in a container or in a trade offer. Data is the
// count of a cumulative object, the liquid of a liquid object or, for
// CREATURE, the creature id. Hook is set by the map for hanging objects
// (18 or 19, the hook flag of the field's hook).
struct ObjectInstance {
    int Type = 0;
    uint32_t Data = 0;
    int Hook = 0;
};

// One type entry of any of the four tables.
struct ObjectType {
    int Width = 0, Height = 0, DisplaySize = 0;
    int Layers = 0, PatternWidth = 0, PatternHeight = 0, PatternDepth = 0, Phases = 0;
    uint32_t Flags = 0;
    uint16_t Bank = 0, TextParameter = 0, LightBrightness = 0, LightColour = 0;
    uint16_t ShiftX = 0, ShiftY = 0, Elevation = 0, AutomapColour = 0, LensHelp = 0;
    std::vector<uint16_t> Sprites;  // Width*Height*Layers*PatternWidth*PatternHeight*PatternDepth*Phases entries
};

// Thrown by LoadObjects when the file cannot be opened, ends early, holds a
// flag code outside 0..31, a type with a dimension of 0 or a sprite list
// longer than the rest of the file. what() is the reader's message text.
class ObjectFileError : public std::runtime_error {
  public:
    explicit ObjectFileError(const std::string& text) : std::runtime_error(text) {}
};

// ---- Module life ------------------------------------------------------------

// Loads "Vorna.dat"; throws ObjectFileError (start-up turns it into error 1).
void InitObjects();
void ExitObjects();

void LoadObjects(const char* FileName);
void UnloadObjects();
uint32_t GetObjectsSignature();
int GetHighestItemNumber();  // 99 when there are no items
int GetNumberOfOutfits();
int GetNumberOfEffects();
int GetNumberOfMissiles();

// True for the item entry's flag bit (the entry must be known).
bool GetEntryFlag(const ObjectType& Entry, int Flag);

// ---- Items (100 and up) -------------------------------------------------------

// Also accepts CREATURE, which answers true for UNPASS only.
bool GetObjectFlag(int Type, int Flag);
bool GetObjectFlag(const ObjectInstance& Obj, int Flag);
// The whole flag set of a type (bit n for flag n), for readers that test
// several flags of every object they meet.
uint32_t GetObjectFlags(int Type);
int GetObjectWidth(int Type);
int GetObjectHeight(int Type);
int GetObjectDisplaySize(int Type);
int GetObjectLayers(int Type);
int GetObjectPatternWidth(int Type);
int GetObjectPatternHeight(int Type);
int GetObjectPatternDepth(int Type);
int GetObjectPhases(int Type);
int GetObjectBankValue(int Type);
int GetObjectTextParameter(int Type);  // WRITE or WRITEONCE
int GetObjectLightBrightness(int Type);
int GetObjectLightColour(int Type);
int GetObjectShiftX(int Type);
int GetObjectShiftY(int Type);
int GetObjectElevation(int Type);
int GetObjectAutomapColour(int Type);
int GetObjectLensHelp(int Type);
// Sprite number of one part of an item; 0 (draws nothing) after a reported
// out-of-range coordinate.
int GetObjectSprite(int Type, int X, int Y, int Layer, int PatternX, int PatternY, int PatternZ, int Phase);

// ---- Outfits ------------------------------------------------------------------

bool GetOutfitFlag(int Type, int Flag);
int GetOutfitWidth(int Type);
int GetOutfitHeight(int Type);
int GetOutfitDisplaySize(int Type);
int GetOutfitLayers(int Type);
int GetOutfitPhases(int Type);
int GetOutfitLightBrightness(int Type);
int GetOutfitLightColour(int Type);
int GetOutfitShiftX(int Type);
int GetOutfitShiftY(int Type);
// Direction 0..3 selects the pattern column.
int GetOutfitSprite(int Type, int X, int Y, int Layer, int Direction, int Phase);

// ---- Effects ------------------------------------------------------------------

bool GetEffectFlag(int Type, int Flag);
int GetEffectWidth(int Type);
int GetEffectHeight(int Type);
int GetEffectLayers(int Type);
int GetEffectPhases(int Type);
int GetEffectLightBrightness(int Type);
int GetEffectLightColour(int Type);
int GetEffectSprite(int Type, int X, int Y, int Layer, int Phase);

// ---- Missiles -----------------------------------------------------------------

bool GetMissileFlag(int Type, int Flag);
int GetMissileWidth(int Type);
int GetMissileHeight(int Type);
int GetMissileLayers(int Type);
int GetMissileLightBrightness(int Type);
int GetMissileLightColour(int Type);
// Direction 0..7, 0 north and then clockwise, picks a cell of the 3 x 3 compass.
int GetMissileSprite(int Type, int X, int Y, int Layer, int Direction);
void GetMissilePattern(int Direction, int& PatternX, int& PatternY);

// ---- Pattern pickers on an instance ---------------------------------------------

void GetCumulativePattern(const ObjectInstance& Obj, int& PatternX, int& PatternY);
void GetLiquidPattern(const ObjectInstance& Obj, int& PatternX, int& PatternY);
void GetHangPattern(const ObjectInstance& Obj, int& PatternX, int& PatternY);
