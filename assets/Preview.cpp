// Contact sheets for reviewing the art: every sprite with its number, every
// object type, every outfit in its directions and in a few colour sets, the
// skin with its index labels, each font's glyph table, on dark and light
// backgrounds.
#include "Preview.h"

#include "Fonts.h"
#include "Palette.h"
#include "Png.h"
#include "gui/framework/Skins.h"
#include "world/TypeNumbers.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace gen {

using namespace art;

namespace {

const char* LABEL_FACE = "DejaVuSansMono.ttf";
const Color DARK = Hex(0x202024), LIGHTBG = Hex(0xd8d4c8);

void Label(Canvas& c, int x, int y, const std::string& text, Color col) { DrawText(c, x, y, text, LABEL_FACE, 9, col); }

// The outfit colours of the client: index to RGB through 7 rows of 19.
Color OutfitColor(int index) {
    if (index > 132) index = 0;
    int col = index % 19, row = index / 19;
    double h, s, v;
    if (col == 0) {
        h = 0, s = 0, v = 1 - row / 7.0;
    } else {
        h = col / 18.0;
        const double S[] = {0.25, 0.25, 0.5, 0.667, 1.0, 1.0, 1.0}, V[] = {1.0, 0.75, 0.75, 0.75, 1.0, 0.75, 0.5};
        s = S[row], v = V[row];
    }
    double r, g, b;
    int i = int(h * 6) % 6;
    double f = h * 6 - std::floor(h * 6), p = v * (1 - s), q = v * (1 - f * s), t = v * (1 - (1 - f) * s);
    switch (i) {
        case 0: r = v, g = t, b = p; break;
        case 1: r = q, g = v, b = p; break;
        case 2: r = p, g = v, b = t; break;
        case 3: r = p, g = q, b = v; break;
        case 4: r = t, g = p, b = v; break;
        default: r = v, g = p, b = q; break;
    }
    return Color(int(r * 255), int(g * 255), int(b * 255));
}

// Composes a masked sprite the way the client does.
Canvas Colorize(const Canvas& image, const Canvas& mask, const Color set[4]) {
    Canvas out = image;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            Color m = mask.Get(x, y), p = image.Get(x, y);
            if (!m.Opaque() || !p.Opaque()) continue;
            int k = m == pal::MASK_HEAD ? 0 : m == pal::MASK_BODY ? 1 : m == pal::MASK_LEGS ? 2 : m == pal::MASK_FEET ? 3 : -1;
            if (k < 0) continue;
            int grey = (30 * p.r + 59 * p.g + 11 * p.b) / 100;
            out.Set(x, y, Color(grey * set[k].r / 256, grey * set[k].g / 256, grey * set[k].b / 256));
        }
    return out;
}

void Checker(Canvas& c, int x, int y, int w, int h) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) c.Set(x + i, y + j, ((i / 8 + j / 8) % 2) ? Hex(0x2a2a30) : Hex(0x323238));
}

void Sprites(const DataSet& d, const std::string& dir) {
    int n = d.Sprites.Count(), perRow = 24, cell = 44;
    int rows = (n + perRow - 1) / perRow;
    Canvas c(perRow * cell, rows * cell);
    c.Clear(DARK);
    for (int s = 1; s <= n; ++s) {
        int x = ((s - 1) % perRow) * cell, y = ((s - 1) / perRow) * cell;
        Checker(c, x + 6, y + 1, 32, 32);
        c.Draw(d.Sprites.Get(s), x + 6, y + 1);
        Label(c, x + 6, y + 43, std::to_string(s), LIGHTBG);
    }
    WritePng(dir + "/sprites.png", c, DARK);
}

// Each object type assembled as the map draws it (parts up and left), first
// pattern and phase, on a grass field.
void Objects(const DataSet& d, const std::string& dir, Color bg, const char* name) {
    int perRow = 12, cw = 100, ch = 96;
    int n = int(d.Items.size());
    Canvas c(perRow * cw, ((n + perRow - 1) / perRow) * ch);
    c.Clear(bg);
    for (int i = 0; i < n; ++i) {
        const ObjectRecord& r = d.Items[size_t(i)];
        int x = (i % perRow) * cw + 34, y = (i / perRow) * ch + 36;
        for (int layer = 1; layer <= r.Layers; ++layer)
            for (int yy = 1; yy <= r.Height; ++yy)
                for (int xx = 1; xx <= r.Width; ++xx) {
                    int s = r.At(xx, yy, layer, 1, 1, 1, 1);
                    if (s) c.Draw(d.Sprites.Get(s), x - (xx - 1) * 32, y - (yy - 1) * 32);
                }
        Color fg = bg == DARK ? LIGHTBG : Hex(0x202024);
        Label(c, (i % perRow) * cw + 2, (i / perRow) * ch + 82, std::to_string(100 + i), fg);
        Label(c, (i % perRow) * cw + 2, (i / perRow) * ch + 93, r.Name.substr(0, 16), fg);
    }
    WritePng(dir + "/" + name, c, bg);
}

// All patterns and phases of the items that have more than one picture.
void Patterns(const DataSet& d, const std::string& dir) {
    std::vector<const ObjectRecord*> list;
    for (const ObjectRecord& r : d.Items)
        if (r.Width == 1 && r.Height == 1 && r.PatternWidth * r.PatternHeight * r.Phases > 1) list.push_back(&r);
    int cols = 16, cell = 36;
    Canvas c(cols * cell + 120, int(list.size()) * (cell + 4));
    c.Clear(DARK);
    for (size_t i = 0; i < list.size(); ++i) {
        const ObjectRecord& r = *list[i];
        Label(c, 2, int(i) * (cell + 4) + 20, r.Name.substr(0, 18), LIGHTBG);
        int k = 0;
        for (int ph = 1; ph <= r.Phases; ++ph)
            for (int py = 1; py <= r.PatternHeight; ++py)
                for (int px = 1; px <= r.PatternWidth && k < cols; ++px, ++k) {
                    int s = r.At(1, 1, 1, px, py, 1, ph);
                    int x = 120 + k * cell, y = int(i) * (cell + 4);
                    Checker(c, x, y, 32, 32);
                    if (s) c.Draw(d.Sprites.Get(s), x, y);
                }
    }
    WritePng(dir + "/patterns.png", c, DARK);
}

void Outfits(const DataSet& d, const std::string& dir) {
    const int sets[4][4] = {{78, 69, 58, 76}, {0, 94, 114, 0}, {41, 86, 22, 115}, {9, 124, 130, 95}};
    int cell = 70;
    int cols = 12;
    Canvas c(cols * cell + 80, int(d.Outfits.size()) * cell * 2);
    c.Clear(Hex(0x3c7134));
    for (size_t o = 0; o < d.Outfits.size(); ++o) {
        const ObjectRecord& r = d.Outfits[o];
        int y0 = int(o) * cell * 2;
        Label(c, 2, y0 + 12, r.Name, pal::WHITE);
        for (int row = 0; row < 2; ++row)
            for (int dirn = 0; dirn < 4; ++dirn)
                for (int ph = 1; ph <= std::min(3, r.Phases); ++ph) {
                    int k = dirn * 3 + ph - 1;
                    int x = 80 + k * cell / 1 * 5 / 6 + r.Width * 32 - 32, y = y0 + row * cell + 36;
                    Color set[4];
                    for (int i = 0; i < 4; ++i) set[i] = OutfitColor(sets[row * 2 + (o % 2)][i]);
                    for (int yy = 1; yy <= r.Height; ++yy)
                        for (int xx = 1; xx <= r.Width; ++xx) {
                            int s = r.At(xx, yy, 1, dirn + 1, 1, 1, ph);
                            if (!s) continue;
                            Canvas img = d.Sprites.Get(s);
                            if (r.Layers == 2) img = Colorize(img, d.Sprites.Get(r.At(xx, yy, 2, dirn + 1, 1, 1, ph)), set);
                            c.Draw(img, x - (xx - 1) * 32, y - (yy - 1) * 32);
                        }
                }
    }
    WritePng(dir + "/outfits.png", c, DARK);
}

void Effects(const DataSet& d, const std::string& dir) {
    int cell = 36;
    size_t rows = d.Effects.size() + d.Missiles.size();
    Canvas c(12 * cell + 100, int(rows) * cell);
    c.Clear(Hex(0x3c7134));
    int row = 0;
    for (const auto* table : {&d.Effects, &d.Missiles}) {
        for (const ObjectRecord& r : *table) {
            Label(c, 2, row * cell + 20, r.Name, pal::WHITE);
            int k = 0;
            for (int ph = 1; ph <= r.Phases; ++ph)
                for (int py = 1; py <= r.PatternHeight; ++py)
                    for (int px = 1; px <= r.PatternWidth; ++px, ++k) {
                        int s = r.At(1, 1, 1, px, py, 1, ph);
                        if (s) c.Draw(d.Sprites.Get(s), 100 + k * cell, row * cell + 2);
                    }
            ++row;
        }
    }
    WritePng(dir + "/effects.png", c, DARK);
}

void SkinSheet(const DataSet& d, const std::string& dir) {
    const Canvas& skin = d.Pictures[3].Image;
    int scale = 2;
    Canvas c(skin.Width() * scale, skin.Height() * scale);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            Color p = skin.Get(x / scale, y / scale);
            c.Set(x, y, p.Opaque() ? p : (((x / 8 + y / 8) % 2) ? Hex(0x5a2a5a) : Hex(0x4a224a)));
        }
    for (int i = 0; i < GetNumberOfSkinRows(); ++i) {
        const SkinRow& r = GetSkinRows()[i];
        Label(c, r.x * scale + 1, r.y * scale + 9, std::to_string(r.Index), Hex(0x60ff60));
    }
    WritePng(dir + "/skin.png", c, DARK);
    WritePng(dir + "/skin-1x.png", skin, Hex(0xff00ff));
}

void Fonts(const DataSet& d, const std::string& dir) {
    const int pics[4] = {3, 5, 6, 8};
    for (int f = 0; f < 4; ++f) {
        const Canvas& img = d.Pictures[size_t(pics[f] - 1)].Image;
        const FontSpec& cells = GetFontSpec(f + 1);
        int scale = 3;
        Canvas c(img.Width() * scale, img.Height() * scale);
        for (int y = 0; y < c.Height(); ++y)
            for (int x = 0; x < c.Width(); ++x) {
                int gx = x / scale, gy = y / scale;
                Color p = img.Get(gx, gy);
                bool cellEdge = gx % cells.CellWidth == 0 || gy % cells.CellHeight == 0;
                Color bg = f == 1 ? Hex(0x6a8a50) : Hex(0x2d2219);
                if (cellEdge && x % scale == 0) bg = Hex(0x4a3a5a);
                // tint as the client does, in the normal text colour
                if (p.Opaque()) {
                    int grey = (30 * p.r + 59 * p.g + 11 * p.b) / 100;
                    p = Color(grey * 224 / 256, grey * 224 / 256, grey * 224 / 256);
                }
                c.Set(x, y, p.Opaque() ? p : bg);
            }
        WritePng(dir + "/font" + std::to_string(f + 1) + ".png", c, DARK);
    }
}

void Pictures(const DataSet& d, const std::string& dir) {
    WritePng(dir + "/background.png", d.Pictures[0].Image, DARK);
    WritePng(dir + "/logo.png", d.Pictures[1].Image, Hex(0x302838));
    // a preview of the logo over the background, the way the start screen shows them
    Canvas start = d.Pictures[0].Image.Cut(480, 200, 960, 540);
    start.Draw(d.Pictures[1].Image, (960 - d.Pictures[1].Image.Width()) / 2, 60);
    WritePng(dir + "/start.png", start, DARK);
    WritePng(dir + "/darkness.png", d.Pictures[6].Image, Hex(0xc0c0c0));
}

// A small village drawn the way the map view composes fields: grounds first,
// then the stack of each field with elevation, parts to the left and up,
// creatures displaced by their shift, columns west to east.
void Scene(const DataSet& d, const std::string& dir) {
    const int W = 17, H = 13;
    std::vector<std::vector<int>> stack(size_t(W * H));
    auto at = [&](int x, int y) -> std::vector<int>& { return stack[size_t(y * W + x)]; };
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) at(x, y).push_back(TYPE_GRASS);
    for (int y = 0; y < H; ++y) at(12, y)[0] = TYPE_DIRT, at(13, y)[0] = TYPE_DIRT;
    for (int x = 0; x < 5; ++x) for (int y = 9; y < H; ++y) at(x, y)[0] = TYPE_WATER;
    for (int y = 9; y < H; ++y) at(5, y)[0] = TYPE_SAND;
    for (int x = 0; x < 5; ++x) at(x, 9).push_back(TYPE_SHORE_N);
    for (int y = 10; y < H; ++y) at(4, y).push_back(TYPE_SHORE_E);
    for (int y = 0; y < H; ++y) at(12, y).push_back(TYPE_GRASS_BORDER_W), at(13, y).push_back(TYPE_GRASS_BORDER_E);
    // a house: floor, walls, a door, a window
    for (int y = 2; y < 7; ++y)
        for (int x = 3; x < 9; ++x) at(x, y)[0] = TYPE_WOODEN_FLOOR;
    for (int x = 3; x < 8; ++x) at(x, 1).push_back(TYPE_STONE_WALL_H), at(x, 6).push_back(x == 5 ? TYPE_DOOR_H_CLOSED : x == 7 ? TYPE_WINDOW_H : TYPE_STONE_WALL_H);
    for (int y = 2; y < 6; ++y) at(2, y).push_back(TYPE_STONE_WALL_V), at(8, y).push_back(y == 3 ? TYPE_WINDOW_V : TYPE_STONE_WALL_V);
    at(8, 1).push_back(TYPE_STONE_WALL_CORNER), at(8, 6).push_back(TYPE_STONE_WALL_POST), at(2, 1).push_back(TYPE_STONE_WALL_CORNER);
    at(2, 6).push_back(TYPE_STONE_WALL_H);
    at(4, 6).push_back(TYPE_WALL_TORCH);
    at(5, 3).push_back(TYPE_TABLE), at(4, 3).push_back(TYPE_CHAIR_E), at(6, 3).push_back(TYPE_CHAIR_W);
    at(5, 3).push_back(TYPE_MUG);
    at(7, 2).push_back(TYPE_CHEST), at(3, 2).push_back(TYPE_BARREL), at(7, 5).push_back(TYPE_BED);
    at(3, 5).push_back(TYPE_LADDER);
    at(10, 2).push_back(TYPE_OAK), at(16, 4).push_back(TYPE_PINE), at(16, 9).push_back(TYPE_PINE);
    at(10, 8).push_back(TYPE_BUSH), at(9, 10).push_back(TYPE_ROCK), at(15, 7).push_back(TYPE_FLOWERS);
    at(11, 11).push_back(TYPE_CAMPFIRE), at(10, 6).push_back(TYPE_SIGN), at(14, 2).push_back(TYPE_STREET_LAMP);
    at(7, 9).push_back(TYPE_GOLD_COIN), at(8, 9).push_back(TYPE_BACKPACK), at(6, 11).push_back(TYPE_REEDS);
    at(15, 11).push_back(TYPE_STONE_PILE), at(8, 11).push_back(TYPE_HOLE);
    struct Who { int x, y, outfit, dir; };
    const Who people[] = {{12, 5, OUTFIT_KNIGHT, 2}, {13, 8, OUTFIT_WOMAN, 3}, {6, 8, OUTFIT_CITIZEN, 1},
                          {5, 4, OUTFIT_MAGE, 2}, {15, 10, OUTFIT_WOLF, 3}, {9, 12, OUTFIT_HUNTER, 0}};
    Canvas c(W * 32, H * 32);
    for (int x = 0; x < W; ++x)
        for (int y = 0; y < H; ++y) {
            int px = x * 32, py = y * 32, e = 0;
            int top = 0;
            for (int type : at(x, y)) {
                const ObjectRecord& r = d.Items[size_t(type - 100)];
                if (r.Has(TOP)) { top = type; continue; }
                int pxn = x % r.PatternWidth + 1, pyn = y % r.PatternHeight + 1;
                if (r.Has(HANG)) pxn = 2;
                if (r.Has(CUMULATIVE)) pxn = 4, pyn = 2;
                if (r.Has(LIQUIDCONTAINER)) pxn = 4;
                for (int yy = 1; yy <= r.Height; ++yy)
                    for (int xx = 1; xx <= r.Width; ++xx) {
                        int s = r.At(xx, yy, 1, pxn, pyn, 1, 1);
                        int sx = px - e - (xx - 1) * 32, sy = py - e - (yy - 1) * 32;
                        if (r.Has(SHIFT)) sx -= 8, sy -= 8;
                        if (s) c.Draw(d.Sprites.Get(s), sx, sy);
                    }
                for (const Flag& f : r.Flags)
                    if (f.Code == HEIGHT) e = std::min(24, e + f.Params[0]);
            }
            for (const Who& w : people) {
                if (w.x != x || w.y != y) continue;
                const ObjectRecord& r = d.Outfits[size_t(w.outfit - 1)];
                Color set[4] = {OutfitColor(78), OutfitColor(69), OutfitColor(58), OutfitColor(76)};
                for (int yy = 1; yy <= r.Height; ++yy)
                    for (int xx = 1; xx <= r.Width; ++xx) {
                        Canvas img = d.Sprites.Get(r.At(xx, yy, 1, w.dir + 1, 1, 1, 1));
                        if (r.Layers == 2) img = Colorize(img, d.Sprites.Get(r.At(xx, yy, 2, w.dir + 1, 1, 1, 1)), set);
                        c.Draw(img, px - e - 8 - (xx - 1) * 32, py - e - 8 - (yy - 1) * 32);
                    }
            }
            if (top) c.Draw(d.Sprites.Get(d.Items[size_t(top - 100)].At(1, 1, 1, 1, 1, 1, 1)), px, py);
        }
    Canvas big(c.Width() * 2, c.Height() * 2);
    for (int y = 0; y < big.Height(); ++y)
        for (int x = 0; x < big.Width(); ++x) big.Set(x, y, c.Get(x / 2, y / 2));
    WritePng(dir + "/scene.png", big, DARK);
}

}  // namespace

void WritePreview(const DataSet& d, const std::string& dir) {
    Scene(d, dir);
    Sprites(d, dir);
    Objects(d, dir, DARK, "objects-dark.png");
    Objects(d, dir, LIGHTBG, "objects-light.png");
    Patterns(d, dir);
    Outfits(d, dir);
    Effects(d, dir);
    SkinSheet(d, dir);
    Fonts(d, dir);
    Pictures(d, dir);
}

}  // namespace gen
