// The program's own pointer images and the window's emblem, kept as text so
// they can be read and edited: '.' transparent, 'X' outline, 'o' light fill,
// 'g' gold; the emblem adds 'I' and 'i' iron, 'W' and 'w' timber, 'G' and 'd'
// light and dark gold.
#pragma once

#include "platform/Platform.h"

#include <cstdint>

namespace platform::cursors {

using CursorArt = PointerImage;

// The system-like shapes, drawn in our own style for when the program draws
// its pointer itself: the arrow, the vertical resize arrows, the hourglass.
const CursorArt& Arrow();
const CursorArt& Resize();
const CursorArt& Wait();
// Resource 132: the target pointer of the use-with and drag modes.
const CursorArt& Target();
// Resource 137: the help pointer, an arrow with a question mark.
const CursorArt& Help();
// The window's icon: an iron-rimmed timber shield with a gold V.
const CursorArt& Emblem();

// Colour of an art character as 0xAARRGGBB.
unsigned ArtColour(char c);
// The art as 0xAARRGGBB pixels, each art pixel a Scale x Scale block; Pixels
// holds Width * Scale * Height * Scale values.
void RenderArt(const CursorArt& Art, int Scale, uint32_t* Pixels);

}  // namespace platform::cursors
