// The fixed palette: one ramp of six tones per material, darkest (the
// material's own outline colour) first. Shadows lean cool and blue, lights warm
// and yellow, so shading stays lively instead of merely darker.
#pragma once

#include "Canvas.h"

#include <array>

namespace art {

using Ramp = std::array<Color, 6>;

namespace pal {
extern const Ramp GRASS, FOLIAGE, EARTH, SAND, STONE, TIMBER, WATER, SKIN, CLOTH_RED, CLOTH_BLUE, CLOTH_GREEN,
    LEATHER, METAL, GOLD, FIRE, GREY, BONE, MAGIC, POISON, ENERGY, ROOF, UI_WOOD, UI_IRON, SLIME, FUR, PARCHMENT;
// Interface text and the pure colours the client asks for.
inline constexpr Color TEXT{224, 224, 224};
inline constexpr Color OUTLINE_BLACK{0, 0, 0};
inline constexpr Color WHITE{255, 255, 255};
// The colour key of every sprite and picture: no art uses it.
inline constexpr Color KEY{255, 0, 255};
// Outfit colour-mask colours.
inline constexpr Color MASK_HEAD{255, 255, 0}, MASK_BODY{255, 0, 0}, MASK_LEGS{0, 255, 0}, MASK_FEET{0, 0, 255};
}  // namespace pal

}  // namespace art
