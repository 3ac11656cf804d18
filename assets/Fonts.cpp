#include "Fonts.h"

#include "Palette.h"
#include "Shading.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <map>
#include <stdexcept>

namespace gen {

namespace {

// Cells and faces chosen so that every glyph fits its cell without clipping:
// wide glyphs are squeezed horizontally rather than cut.
const FontSpec Specs[4] = {
    {1, "DejaVuSans.ttf", 11, 8, 16, 11, false, 0},
    {2, "DejaVuSans-Bold.ttf", 12, 16, 16, 12, true, 1},
    {3, "DejaVuSans-Bold.ttf", 8, 8, 8, 7, true, 1},
    {4, "DejaVuSansCondensed.ttf", 12, 8, 16, 11, false, 0},
};

FT_Library Library = nullptr;
std::map<std::string, FT_Face> Faces;

FT_Face Face(const char* file) {
    if (!Library && FT_Init_FreeType(&Library)) throw std::runtime_error("FreeType cannot start");
    auto found = Faces.find(file);
    if (found != Faces.end()) return found->second;
    FT_Face face;
    std::string path = FontPath(file);
    if (FT_New_Face(Library, path.c_str(), 0, &face)) throw std::runtime_error("Cannot open font " + path);
    Faces.emplace(file, face);
    return face;
}

// Coverage bitmap of one character, squeezed to at most maxWidth columns.
struct Glyph {
    int Width = 0, Rows = 0, Left = 0, Top = 0, Advance = 0;
    std::vector<uint8_t> Coverage;
};

Glyph Render(const char* file, int pixelSize, unsigned code, int maxWidth, bool antialias) {
    FT_Face face = Face(file);
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize));
    Glyph g;
    for (int squeeze = 100; squeeze >= 40; squeeze -= 5) {
        FT_Matrix m{FT_Fixed(0x10000 * squeeze / 100), 0, 0, 0x10000};
        FT_Set_Transform(face, &m, nullptr);
        FT_Int32 flags = FT_LOAD_RENDER | (antialias ? FT_LOAD_TARGET_LIGHT : FT_LOAD_TARGET_MONO);
        if (FT_Load_Char(face, code, flags)) throw std::runtime_error("glyph missing");
        FT_GlyphSlot s = face->glyph;
        FT_Bitmap& bm = s->bitmap;
        g.Width = int(bm.width), g.Rows = int(bm.rows), g.Left = s->bitmap_left, g.Top = s->bitmap_top;
        g.Advance = int(s->advance.x >> 6);
        g.Coverage.assign(size_t(g.Width) * g.Rows, 0);
        for (int y = 0; y < g.Rows; ++y)
            for (int x = 0; x < g.Width; ++x) {
                uint8_t v;
                if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                    v = (bm.buffer[y * bm.pitch + x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
                else
                    v = bm.buffer[y * bm.pitch + x];
                g.Coverage[size_t(y) * g.Width + x] = v;
            }
        if (maxWidth <= 0 || std::max(0, g.Left) + g.Width <= maxWidth) break;
    }
    FT_Set_Transform(face, nullptr, nullptr);
    return g;
}

// The code page's 0x80..0x9F block; 0 marks the five unused positions.
const unsigned High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                           0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                           0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::string FontPath(const char* file) { return std::string("/usr/share/fonts/truetype/dejavu/") + file; }

const FontSpec& GetFontSpec(int number) { return Specs[number - 1]; }

unsigned CodePageToUnicode(int code) {
    if (code >= 0x80 && code <= 0x9F) return High[code - 0x80];
    if (code == 0x7F || code < 32) return 0;
    if (code == 0xAD) return '-';  // a visible soft hyphen
    return unsigned(code);
}

art::Canvas BuildFontImage(int number) {
    const FontSpec& f = GetFontSpec(number);
    int rows = (224 + 31) / 32;
    int w = 32 * f.CellWidth, h = rows * f.CellHeight;
    art::Canvas image((w + 31) / 32 * 32, (h + 31) / 32 * 32);
    const art::Color white(255, 255, 255), black = art::pal::OUTLINE_BLACK;
    int room = f.CellWidth - (f.Outline ? 2 : 0);
    for (int g = 0; g < 224; ++g) {
        int code = g + 32;
        int cx = (g % 32) * f.CellWidth, cy = (g / 32) * f.CellHeight;
        art::Canvas cell(f.CellWidth, f.CellHeight);
        unsigned u = CodePageToUnicode(code);
        if (code == 32 || code == 0xA0) continue;  // blanks stay empty
        if (u == 0) {
            // No character here: a small hollow box, so the code still shows.
            int bw = std::min(5, room), bh = std::min(f.Baseline - 1, 8);
            cell.Rect(f.Left, f.Baseline - bh, bw, bh, white);
        } else {
            Glyph gl = Render(f.File, f.PixelSize, u, room, !f.Outline || number != 3);
            int ox = f.Left + std::clamp(gl.Left, 0, std::max(0, room - gl.Width));
            int oy = f.Baseline - gl.Top;
            // A glyph that would leave the cell at the bottom (an underscore
            // in the small font) is lifted so that it still shows.
            int margin = f.Outline ? 1 : 0;
            oy = std::max(std::min(oy, f.CellHeight - margin - gl.Rows), std::min(oy, margin));
            for (int y = 0; y < gl.Rows; ++y)
                for (int x = 0; x < gl.Width; ++x) {
                    int v = gl.Coverage[size_t(y) * gl.Width + x];
                    int px = ox + x, py = oy + y;
                    if (!f.Outline) {
                        // Grey levels keep the anti-aliasing: the client tints
                        // by brightness, so a half-covered pixel comes out at
                        // half the text colour.
                        if (v >= 72) cell.Set(px, py, art::Color(std::max(v, 96), std::max(v, 96), std::max(v, 96)));
                    } else if (v >= 110) {
                        cell.Set(px, py, white);
                    }
                }
            if (f.Outline) art::OutlineOutside(cell, black, number != 3);
        }
        image.Draw(cell, cx, cy);
    }
    return image;
}

int TextWidth(const std::string& text, const char* file, int pixelSize) {
    art::Canvas scratch(1, 1);
    return DrawText(scratch, -100000, 0, text, file, pixelSize, art::Color(1, 1, 1));
}

int DrawText(art::Canvas& dst, int x, int y, const std::string& text, const char* file, int pixelSize,
             art::Color color, bool antialias) {
    int pen = 0;
    for (size_t i = 0; i < text.size();) {
        unsigned c = uint8_t(text[i]);
        int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        unsigned u = n == 1 ? c : c & (0x3F >> (n - 1));
        for (int k = 1; k < n && i + size_t(k) < text.size(); ++k) u = (u << 6) | (uint8_t(text[i + size_t(k)]) & 0x3F);
        i += size_t(n);
        Glyph g = Render(file, pixelSize, u, 0, antialias);
        for (int yy = 0; yy < g.Rows; ++yy)
            for (int xx = 0; xx < g.Width; ++xx) {
                int v = g.Coverage[size_t(yy) * g.Width + xx];
                if (v < 96) continue;
                int px = x + pen + g.Left + xx, py = y - g.Top + yy;
                if (v >= 200 || !dst.Get(px, py).Opaque())
                    dst.Set(px, py, v >= 200 ? color : art::Mix(art::Color(0, 0, 0), color, v * 100 / 255));
                else
                    dst.Set(px, py, art::Mix(dst.Get(px, py), color, v * 100 / 255));
            }
        pen += g.Advance;
    }
    return pen;
}

}  // namespace gen
