// The program's own pointer images, kept as text so they can be read and
// edited: '.' transparent, 'X' outline, 'o' light fill, 'g' gold.
#pragma once

namespace platform::cursors {

struct CursorArt {
    int Width, Height, HotX, HotY;
    const char* const* Rows;
};

// Resource 132: the target pointer of the use-with and drag modes.
const CursorArt& Target();
// Resource 137: the help pointer, an arrow with a question mark.
const CursorArt& Help();

// Colour of an art character as 0xAARRGGBB.
unsigned ArtColour(char c);

}  // namespace platform::cursors
