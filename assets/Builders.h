// Helpers shared by the builders of the object tables.
#pragma once

#include "Model.h"
#include "Palette.h"
#include "Shading.h"

namespace gen {

// Appends the item record for `type`, which must be the next item number.
ObjectRecord& NewItem(DataSet& data, int type, const char* name);
ObjectRecord& NewOutfit(DataSet& data, int type, const char* name);
ObjectRecord& NewEffect(DataSet& data, int type, const char* name);
ObjectRecord& NewMissile(DataSet& data, int type, const char* name);

// A single 32 x 32 picture as a one-sprite record.
void Single(DataSet& data, ObjectRecord& r, const art::Canvas& image);

// A flame licking up from (cx, baseY); phase moves the tongues so that the
// given number of phases loops.
void DrawFlame(art::Canvas& c, double cx, double baseY, double height, double width, int phase, int phases,
               uint32_t seed);

// The automap colour of a 6 x 6 x 6 cube colour.
constexpr int CubeColor(int r, int g, int b) { return r * 36 + g * 6 + b; }

}  // namespace gen
