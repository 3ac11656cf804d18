// Object types. Sections: tables and loading; item queries; outfits, effects
// and missiles; pattern pickers.
#include "world/Objects.h"

#include "config/Script.h"
#include "core/Assert.h"
#include "core/DataFolders.h"

#include <algorithm>
#include <string>

namespace {

// The four tables and the file's signature; all empty while nothing is loaded.
std::vector<ObjectType> Items;     // type 100 + i
std::vector<ObjectType> Outfits;   // type 1 + i
std::vector<ObjectType> Effects;   // type 1 + i
std::vector<ObjectType> Missiles;  // type 1 + i
uint32_t Signature = 0;

// Stands in for an entry after a reported bad type number, so that callers
// that go on (tests) read zeros instead of foreign memory.
const ObjectType NoEntry{};

const ObjectType& Lookup(const std::vector<ObjectType>& Table, int Type, int First) {
    int i = Type - First;
    int d = static_cast<int>(Table.size());
    ASSERT_PARAM((i>=0 && i<d), Type);
    if (!(i >= 0 && i < d)) return NoEntry;
    return Table[i];
}

const ObjectType& Item(int Type) { return Lookup(Items, Type, FIRST_ITEM_TYPE); }
const ObjectType& Outfit(int Type) { return Lookup(Outfits, Type, 1); }
const ObjectType& Effect(int Type) { return Lookup(Effects, Type, 1); }
const ObjectType& Missile(int Type) { return Lookup(Missiles, Type, 1); }

// Number of 16-bit parameters that follow each flag code in the file.
int ParameterCount(int Code) {
    switch (Code) {
        case BANK: case WRITE: case WRITEONCE: case HEIGHT: case AUTOMAP: case LENSHELP: return 1;
        case LIGHT: case SHIFT: return 2;
        default: return 0;
    }
}

void ReadRecord(ReadBinaryFile& File, long FileSize, ObjectType& Entry) {
    Entry = ObjectType{};
    for (;;) {
        int Code = File.readByte();
        if (Code == 0xFF) break;
        // The flag set has room for 32 codes; anything else means the file is
        // not one we can read, and reading on would misplace every following
        // record.
        if (Code > 31) File.dataError(("Unknown flag code " + std::to_string(Code)).c_str());
        Entry.Flags |= uint32_t(1) << Code;
        uint16_t P[2] = {0, 0};
        for (int n = 0; n < ParameterCount(Code); n++) P[n] = static_cast<uint16_t>(File.readWord());
        switch (Code) {
            case BANK: Entry.Bank = P[0]; break;
            case WRITE: case WRITEONCE: Entry.TextParameter = P[0]; break;
            case LIGHT: Entry.LightBrightness = P[0]; Entry.LightColour = P[1]; break;
            case SHIFT: Entry.ShiftX = P[0]; Entry.ShiftY = P[1]; break;
            case HEIGHT: Entry.Elevation = P[0]; break;
            case AUTOMAP: Entry.AutomapColour = P[0]; break;
            case LENSHELP: Entry.LensHelp = P[0]; break;
            default: break;
        }
    }
    Entry.Width = File.readByte();
    Entry.Height = File.readByte();
    Entry.DisplaySize = (Entry.Width > 1 || Entry.Height > 1) ? File.readByte() : 32;
    Entry.Layers = File.readByte();
    Entry.PatternWidth = File.readByte();
    Entry.PatternHeight = File.readByte();
    Entry.PatternDepth = File.readByte();
    Entry.Phases = File.readByte();
    // Every drawing and query starts at coordinate 1 of each dimension, so a
    // dimension of 0 would make the type a broken precondition wherever it
    // is met; better to refuse the file now.
    if (Entry.Width == 0 || Entry.Height == 0 || Entry.Layers == 0 || Entry.PatternWidth == 0 ||
        Entry.PatternHeight == 0 || Entry.PatternDepth == 0 || Entry.Phases == 0)
        File.dataError("Type record with a dimension of 0");
    size_t Count = size_t(Entry.Width) * Entry.Height * Entry.Layers * Entry.PatternWidth * Entry.PatternHeight *
                   Entry.PatternDepth * Entry.Phases;
    // The seven bytes can ask for up to 255^7 sprite numbers; a list longer
    // than the rest of the file cannot be there, and must not be allocated.
    if (Count > size_t(FileSize - File.tell()) / 2) File.dataError("Out of data!");
    Entry.Sprites.resize(Count);
    for (size_t n = 0; n < Count; n++) Entry.Sprites[n] = static_cast<uint16_t>(File.readWord());
}

// The shortest record is 8 bytes (end of flags and seven dimensions).
constexpr long SHORTEST_RECORD = 8;

void ReadTable(ReadBinaryFile& File, long FileSize, std::vector<ObjectType>& Table, int Count) {
    // Room for what the file can hold, not for what a damaged header claims.
    Table.reserve(std::min<size_t>(size_t(Count), size_t(FileSize - File.tell()) / SHORTEST_RECORD));
    for (int n = 0; n < Count; n++) {
        Table.emplace_back();
        ReadRecord(File, FileSize, Table.back());
    }
}

int SpriteIndex(const ObjectType& Entry, int X, int Y, int Layer, int PatternX, int PatternY, int PatternZ,
                int Phase) {
    ASSERT(In(X,1,Entry.Width));
    ASSERT(In(Y,1,Entry.Height));
    ASSERT(In(Layer,1,Entry.Layers));
    ASSERT(In(PatternX,1,Entry.PatternWidth));
    ASSERT(In(PatternY,1,Entry.PatternHeight));
    ASSERT(In(PatternZ,1,Entry.PatternDepth));
    ASSERT(In(Phase,1,Entry.Phases));
    if (!In(X, 1, Entry.Width) || !In(Y, 1, Entry.Height) || !In(Layer, 1, Entry.Layers) ||
        !In(PatternX, 1, Entry.PatternWidth) || !In(PatternY, 1, Entry.PatternHeight) ||
        !In(PatternZ, 1, Entry.PatternDepth) || !In(Phase, 1, Entry.Phases))
        return 0;
    size_t Index = (X - 1) + size_t(Entry.Width) *
        ((Y - 1) + size_t(Entry.Height) *
        ((Layer - 1) + size_t(Entry.Layers) *
        ((PatternX - 1) + size_t(Entry.PatternWidth) *
        ((PatternY - 1) + size_t(Entry.PatternHeight) *
        ((PatternZ - 1) + size_t(Entry.PatternDepth) * (Phase - 1))))));
    if (Index >= Entry.Sprites.size()) return 0;
    return Entry.Sprites[Index];
}

}  // namespace

// ---- Tables and loading ----------------------------------------------------------

void InitObjects() { LoadObjects(DataFilePath("Vorna.dat").c_str()); }

void ExitObjects() { UnloadObjects(); }

void LoadObjects(const char* FileName) {
    ASSERT(FileName!=NULL);
    if (FileName == NULL) return;
    UnloadObjects();
    ReadBinaryFile File;
    try {
        File.open(FileName);
        long FileSize = File.size();
        Signature = File.readQuad();
        int HighestItem = File.readWord();
        int OutfitCount = File.readWord();
        int EffectCount = File.readWord();
        int MissileCount = File.readWord();
        int ItemCount = HighestItem >= FIRST_ITEM_TYPE ? HighestItem - FIRST_ITEM_TYPE + 1 : 0;
        ReadTable(File, FileSize, Items, ItemCount);
        ReadTable(File, FileSize, Outfits, OutfitCount);
        ReadTable(File, FileSize, Effects, EffectCount);
        ReadTable(File, FileSize, Missiles, MissileCount);
        File.close();
    } catch (const ObjectFileError&) {
        throw;
    } catch (const std::exception& Error) {
        throw ObjectFileError(Error.what());
    }
}

void UnloadObjects() {
    Items.clear();
    Outfits.clear();
    Effects.clear();
    Missiles.clear();
    Items.shrink_to_fit();
    Outfits.shrink_to_fit();
    Effects.shrink_to_fit();
    Missiles.shrink_to_fit();
    Signature = 0;
}

uint32_t GetObjectsSignature() { return Signature; }
int GetHighestItemNumber() { return FIRST_ITEM_TYPE - 1 + static_cast<int>(Items.size()); }
int GetNumberOfOutfits() { return static_cast<int>(Outfits.size()); }
int GetNumberOfEffects() { return static_cast<int>(Effects.size()); }
int GetNumberOfMissiles() { return static_cast<int>(Missiles.size()); }

bool GetEntryFlag(const ObjectType& Entry, int Flag) {
    ASSERT_PARAM(In(Flag,0,31), Flag);
    if (!In(Flag, 0, 31)) return false;
    return (Entry.Flags >> Flag) & 1;
}

// ---- Items -----------------------------------------------------------------------

bool GetObjectFlag(int Type, int Flag) {
    if (Type == CREATURE) return Flag == UNPASS;
    return GetEntryFlag(Item(Type), Flag);
}

bool GetObjectFlag(const ObjectInstance& Obj, int Flag) { return GetObjectFlag(Obj.Type, Flag); }

uint32_t GetObjectFlags(int Type) {
    if (Type == CREATURE) return uint32_t(1) << UNPASS;
    return Item(Type).Flags;
}

int GetObjectWidth(int Type) { return Item(Type).Width; }
int GetObjectHeight(int Type) { return Item(Type).Height; }
int GetObjectDisplaySize(int Type) { return Item(Type).DisplaySize; }
int GetObjectLayers(int Type) { return Item(Type).Layers; }
int GetObjectPatternWidth(int Type) { return Item(Type).PatternWidth; }
int GetObjectPatternHeight(int Type) { return Item(Type).PatternHeight; }
int GetObjectPatternDepth(int Type) { return Item(Type).PatternDepth; }
int GetObjectPhases(int Type) { return Item(Type).Phases; }

int GetObjectBankValue(int Type) {
    const ObjectType& Entry = Item(Type);
    ASSERT(GetEntryFlag(Entry,BANK));
    return Entry.Bank;
}

int GetObjectTextParameter(int Type) {
    const ObjectType& Entry = Item(Type);
    ASSERT(GetEntryFlag(Entry,WRITE) || GetEntryFlag(Entry,WRITEONCE));
    return Entry.TextParameter;
}

int GetObjectLightBrightness(int Type) {
    const ObjectType& Entry = Item(Type);
    ASSERT(GetEntryFlag(Entry,LIGHT));
    return Entry.LightBrightness;
}

int GetObjectLightColour(int Type) {
    const ObjectType& Entry = Item(Type);
    ASSERT(GetEntryFlag(Entry,LIGHT));
    return Entry.LightColour;
}

int GetObjectShiftX(int Type) {
    const ObjectType& Entry = Item(Type);
    ASSERT(GetEntryFlag(Entry,SHIFT));
    return Entry.ShiftX;
}

int GetObjectShiftY(int Type) {
    const ObjectType& Entry = Item(Type);
    ASSERT(GetEntryFlag(Entry,SHIFT));
    return Entry.ShiftY;
}

int GetObjectElevation(int Type) {
    const ObjectType& Entry = Item(Type);
    ASSERT(GetEntryFlag(Entry,HEIGHT));
    return Entry.Elevation;
}

int GetObjectAutomapColour(int Type) {
    const ObjectType& Entry = Item(Type);
    ASSERT(GetEntryFlag(Entry,AUTOMAP));
    return Entry.AutomapColour;
}

int GetObjectLensHelp(int Type) {
    const ObjectType& Entry = Item(Type);
    ASSERT(GetEntryFlag(Entry,LENSHELP));
    return Entry.LensHelp;
}

int GetObjectSprite(int Type, int X, int Y, int Layer, int PatternX, int PatternY, int PatternZ, int Phase) {
    return SpriteIndex(Item(Type), X, Y, Layer, PatternX, PatternY, PatternZ, Phase);
}

// ---- Outfits ----------------------------------------------------------------------

bool GetOutfitFlag(int Type, int Flag) { return GetEntryFlag(Outfit(Type), Flag); }
int GetOutfitWidth(int Type) { return Outfit(Type).Width; }
int GetOutfitHeight(int Type) { return Outfit(Type).Height; }
int GetOutfitDisplaySize(int Type) { return Outfit(Type).DisplaySize; }
int GetOutfitLayers(int Type) { return Outfit(Type).Layers; }
int GetOutfitPhases(int Type) { return Outfit(Type).Phases; }

int GetOutfitLightBrightness(int Type) {
    const ObjectType& Entry = Outfit(Type);
    ASSERT(GetEntryFlag(Entry,LIGHT));
    return Entry.LightBrightness;
}

int GetOutfitLightColour(int Type) {
    const ObjectType& Entry = Outfit(Type);
    ASSERT(GetEntryFlag(Entry,LIGHT));
    return Entry.LightColour;
}

int GetOutfitShiftX(int Type) {
    const ObjectType& Entry = Outfit(Type);
    ASSERT(GetEntryFlag(Entry,SHIFT));
    return Entry.ShiftX;
}

int GetOutfitShiftY(int Type) {
    const ObjectType& Entry = Outfit(Type);
    ASSERT(GetEntryFlag(Entry,SHIFT));
    return Entry.ShiftY;
}

int GetOutfitSprite(int Type, int X, int Y, int Layer, int Direction, int Phase) {
    return SpriteIndex(Outfit(Type), X, Y, Layer, Direction + 1, 1, 1, Phase);
}

// ---- Effects ----------------------------------------------------------------------

bool GetEffectFlag(int Type, int Flag) { return GetEntryFlag(Effect(Type), Flag); }
int GetEffectWidth(int Type) { return Effect(Type).Width; }
int GetEffectHeight(int Type) { return Effect(Type).Height; }
int GetEffectLayers(int Type) { return Effect(Type).Layers; }
int GetEffectPhases(int Type) { return Effect(Type).Phases; }

int GetEffectLightBrightness(int Type) {
    const ObjectType& Entry = Effect(Type);
    ASSERT(GetEntryFlag(Entry,LIGHT));
    return Entry.LightBrightness;
}

int GetEffectLightColour(int Type) {
    const ObjectType& Entry = Effect(Type);
    ASSERT(GetEntryFlag(Entry,LIGHT));
    return Entry.LightColour;
}

int GetEffectSprite(int Type, int X, int Y, int Layer, int Phase) {
    return SpriteIndex(Effect(Type), X, Y, Layer, 1, 1, 1, Phase);
}

// ---- Missiles ---------------------------------------------------------------------

bool GetMissileFlag(int Type, int Flag) { return GetEntryFlag(Missile(Type), Flag); }
int GetMissileWidth(int Type) { return Missile(Type).Width; }
int GetMissileHeight(int Type) { return Missile(Type).Height; }
int GetMissileLayers(int Type) { return Missile(Type).Layers; }

int GetMissileLightBrightness(int Type) {
    const ObjectType& Entry = Missile(Type);
    ASSERT(GetEntryFlag(Entry,LIGHT));
    return Entry.LightBrightness;
}

int GetMissileLightColour(int Type) {
    const ObjectType& Entry = Missile(Type);
    ASSERT(GetEntryFlag(Entry,LIGHT));
    return Entry.LightColour;
}

void GetMissilePattern(int Direction, int& PatternX, int& PatternY) {
    // A compass on the 3 x 3 pattern grid, north first and then clockwise;
    // the centre cell is never used.
    static const int CompassX[8] = {2, 3, 3, 3, 2, 1, 1, 1};
    static const int CompassY[8] = {1, 1, 2, 3, 3, 3, 2, 1};
    ASSERT(In(Direction,0,7));
    if (!In(Direction, 0, 7)) {
        PatternX = PatternY = 1;
        return;
    }
    PatternX = CompassX[Direction];
    PatternY = CompassY[Direction];
}

int GetMissileSprite(int Type, int X, int Y, int Layer, int Direction) {
    int PatternX, PatternY;
    GetMissilePattern(Direction, PatternX, PatternY);
    return SpriteIndex(Missile(Type), X, Y, Layer, PatternX, PatternY, 1, 1);
}

// ---- Pattern pickers ----------------------------------------------------------------

void GetCumulativePattern(const ObjectInstance& Obj, int& PatternX, int& PatternY) {
    ASSERT(GetObjectFlag(Obj,CUMULATIVE));
    int c = static_cast<int>(Obj.Data);
    int RawX, RawY;
    if (c <= 1) { RawX = 0; RawY = 0; }
    else if (c == 2) { RawX = 1; RawY = 0; }
    else if (c == 3) { RawX = 2; RawY = 0; }
    else if (c == 4) { RawX = 3; RawY = 0; }
    else if (c < 10) { RawX = 0; RawY = 1; }
    else if (c < 25) { RawX = 1; RawY = 1; }
    else if (c < 50) { RawX = 2; RawY = 1; }
    else { RawX = 3; RawY = 1; }
    int Width = GetObjectPatternWidth(Obj.Type), Height = GetObjectPatternHeight(Obj.Type);
    PatternX = Width > 0 ? RawX % Width + 1 : 1;
    PatternY = Height > 0 ? RawY % Height + 1 : 1;
}

void GetLiquidPattern(const ObjectInstance& Obj, int& PatternX, int& PatternY) {
    ASSERT(GetObjectFlag(Obj,LIQUIDPOOL) || GetObjectFlag(Obj,LIQUIDCONTAINER));
    int v = static_cast<int>(Obj.Data);
    int Width = GetObjectPatternWidth(Obj.Type), Height = GetObjectPatternHeight(Obj.Type);
    PatternX = Width > 0 ? (v % 4) % Width + 1 : 1;
    PatternY = Height > 0 ? (v / 4) % Height + 1 : 1;
}

void GetHangPattern(const ObjectInstance& Obj, int& PatternX, int& PatternY) {
    ASSERT(GetObjectFlag(Obj,HANG));
    PatternY = 1;
    int Column = Obj.Hook == HOOKA ? 2 : Obj.Hook == HOOKB ? 3 : 1;
    PatternX = GetObjectPatternWidth(Obj.Type) >= Column ? Column : 1;
}
