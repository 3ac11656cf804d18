// Vorna.dat from the player's disk, which may be damaged or made for another
// program: loading it ends in the tables or in an ObjectFileError with its
// text, never in a crash, an assertion or a huge allocation. A file that
// loads must also be usable as the map view, the slots and the menus use it:
// every entry answers its flags, its parameters and its sprite lookups at the
// corners of its dimensions and at the patterns the pickers choose.
//
// Seed: fuzz/seeds/objects (the generator's Vorna.dat).
#include "FuzzSupport.h"

#include "world/Objects.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

std::string Path;
// Where the answers go, so that no query is optimised away.
volatile int Sink = 0;

void UseParameters(int Type) {
    uint32_t Flags = GetObjectFlags(Type);
    auto Has = [&](int Flag) { return ((Flags >> Flag) & 1) != 0; };
    if (Has(BANK)) Sink = GetObjectBankValue(Type);
    if (Has(WRITE) || Has(WRITEONCE)) Sink = GetObjectTextParameter(Type);
    if (Has(LIGHT)) Sink = GetObjectLightBrightness(Type) + GetObjectLightColour(Type);
    if (Has(SHIFT)) Sink = GetObjectShiftX(Type) + GetObjectShiftY(Type);
    if (Has(HEIGHT)) Sink = GetObjectElevation(Type);
    if (Has(AUTOMAP)) Sink = GetObjectAutomapColour(Type);
    if (Has(LENSHELP)) Sink = GetObjectLensHelp(Type);
}

void UseItem(int Type) {
    UseParameters(Type);
    int Width = GetObjectWidth(Type), Height = GetObjectHeight(Type), Layers = GetObjectLayers(Type);
    int PatternWidth = GetObjectPatternWidth(Type), PatternHeight = GetObjectPatternHeight(Type);
    int PatternDepth = GetObjectPatternDepth(Type), Phases = GetObjectPhases(Type);
    Sink = GetObjectDisplaySize(Type);
    Sink = GetObjectSprite(Type, 1, 1, 1, 1, 1, 1, 1);
    Sink = GetObjectSprite(Type, Width, Height, Layers, PatternWidth, PatternHeight, PatternDepth, Phases);
    // The patterns the pickers give for a few counts, liquids and hooks.
    for (uint32_t Data : {0u, 1u, 2u, 5u, 7u, 9u, 30u, 100u}) {
        ObjectInstance Obj{Type, Data, int(Data % 3 == 0 ? 0 : 17 + Data % 3)};
        int PatternX = 1, PatternY = 1;
        if (GetObjectFlag(Obj, CUMULATIVE)) GetCumulativePattern(Obj, PatternX, PatternY);
        else if (GetObjectFlag(Obj, LIQUIDPOOL) || GetObjectFlag(Obj, LIQUIDCONTAINER))
            GetLiquidPattern(Obj, PatternX, PatternY);
        else if (GetObjectFlag(Obj, HANG)) GetHangPattern(Obj, PatternX, PatternY);
        Sink = GetObjectSprite(Type, Width, Height, Layers, PatternX, PatternY, 1, Phases);
    }
}

// Outfits and missiles are asked only for the pattern (1, 1): facing north,
// and flying north-west. The reader does not demand the four direction
// columns of an outfit or the compass of a missile.
void UseOutfit(int Type) {
    if (GetOutfitFlag(Type, LIGHT)) Sink = GetOutfitLightBrightness(Type) + GetOutfitLightColour(Type);
    if (GetOutfitFlag(Type, SHIFT)) Sink = GetOutfitShiftX(Type) + GetOutfitShiftY(Type);
    Sink = GetOutfitDisplaySize(Type);
    Sink = GetOutfitSprite(Type, GetOutfitWidth(Type), GetOutfitHeight(Type), GetOutfitLayers(Type), 0,
                           GetOutfitPhases(Type));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_support::Start();
    Path = fuzz_support::TemporaryFile("Vorna.dat");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (std::FILE* File = std::fopen(Path.c_str(), "wb")) {
        std::fwrite(Data, 1, Size, File);
        std::fclose(File);
    }
    try {
        LoadObjects(Path.c_str());
    } catch (const ObjectFileError& Error) {
        if (Error.what()[0] == '\0') std::abort();  // an error always has its text
        UnloadObjects();
        std::remove(Path.c_str());
        return 0;
    }
    for (int Type = FIRST_ITEM_TYPE; Type <= GetHighestItemNumber(); Type++) UseItem(Type);
    for (int Type = 1; Type <= GetNumberOfOutfits(); Type++) UseOutfit(Type);
    for (int Type = 1; Type <= GetNumberOfEffects(); Type++) {
        if (GetEffectFlag(Type, LIGHT)) Sink = GetEffectLightBrightness(Type) + GetEffectLightColour(Type);
        Sink = GetEffectSprite(Type, GetEffectWidth(Type), GetEffectHeight(Type), GetEffectLayers(Type),
                        GetEffectPhases(Type));
    }
    for (int Type = 1; Type <= GetNumberOfMissiles(); Type++) {
        if (GetMissileFlag(Type, LIGHT)) Sink = GetMissileLightBrightness(Type) + GetMissileLightColour(Type);
        Sink = GetMissileSprite(Type, GetMissileWidth(Type), GetMissileHeight(Type), GetMissileLayers(Type), 7);
    }
    UnloadObjects();
    std::remove(Path.c_str());
    return 0;
}
