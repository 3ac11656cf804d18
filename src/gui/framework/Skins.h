// The skin table: rectangles of the skin picture (picture 4 of Vorna.pic) by
// skin number. The client draws every interface element from these rows; the
// data-file generator paints each element into its rectangle, so both read the
// same rows and can never disagree about where an element sits.
#pragma once

#include <cstddef>

inline constexpr int NumberOfSkins = 258;
// Skin 148 has no row and must not be drawn.
inline constexpr int MISSING_SKIN = 148;

// The skins that several parts of the interface draw alike: the background
// texture of the game view's column, its windows and panels, and the window
// border of eight pieces (corners clockwise from the top left, then the
// edges) around the column's empty place, the panels and the help popup.
enum : int {
    SKIN_BACKGROUND = 7,
    SKIN_BORDER_TOP_LEFT = 22,
    SKIN_BORDER_TOP_RIGHT = 23,
    SKIN_BORDER_BOTTOM_LEFT = 24,
    SKIN_BORDER_BOTTOM_RIGHT = 25,
    SKIN_BORDER_LEFT = 26,
    SKIN_BORDER_RIGHT = 27,
    SKIN_BORDER_TOP = 28,
    SKIN_BORDER_BOTTOM = 29,
};

struct SkinRect {
    int x, y, width, height;
};

// One row of the constant list the table is built from.
struct SkinRow {
    int Index, x, y, width, height;
};

// The constant rows, ordered by index (1..257 without 148).
const SkinRow* GetSkinRows();
int GetNumberOfSkinRows();

// Builds the table from the rows (at start-up) and clears it again. Entry 0
// stays the empty skin; an index without a row stays empty too.
void InitSkins();
void ExitSkins();

// Read access as `Skins[skin].width`; indexes outside the table are reported
// and answer the empty skin.
struct SkinTable {
    const SkinRect& operator[](int Index) const;
};
inline constexpr SkinTable Skins{};
