// The four bitmap fonts, rasterised with FreeType from the DejaVu fonts, and a
// small text renderer for the preview sheets and the title.
#pragma once

#include "Canvas.h"

#include <string>

namespace gen {

struct FontSpec {
    int Number;          // font 1..4
    const char* File;    // DejaVu face
    int PixelSize;
    int CellWidth, CellHeight;
    int Baseline;        // row of the baseline inside a cell
    bool Outline;        // a one-pixel black outline around every glyph
    int Left;            // first column of a glyph inside its cell
};

const FontSpec& GetFontSpec(int number);
// The glyph picture of a font: 32 cells per row, codes 32..255 of the Western
// European code page, transparent where the glyph is not.
art::Canvas BuildFontImage(int number);
// The Unicode character of a code page byte, 0 where the code page has none.
unsigned CodePageToUnicode(int code);

// Draws UTF-8 text with its baseline at y; returns the advance.
int DrawText(art::Canvas& dst, int x, int y, const std::string& text, const char* file, int pixelSize,
             art::Color color, bool antialias = true);
int TextWidth(const std::string& text, const char* file, int pixelSize);

// Path of a DejaVu face by its file name.
std::string FontPath(const char* file);

}  // namespace gen
