// The pictures of Vorna.pic: the start-screen scene, the title, the fonts,
// the skin and the darkness tiles.
#include "Builders.h"
#include "Fonts.h"
#include "Skin.h"
#include "graphics/PictureNumbers.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace gen {

using namespace art;

namespace {

// Evening over a valley: banded sky, far mountains, a castle on a hill,
// forest and meadow in front. Bands of the palette ramps keep it in the same
// hand as the sprites.
Canvas Background() {
    const int W = 1920, H = 1088;
    Canvas c(W, H);
    const Color sky[] = {Hex(0x1d2240), Hex(0x2b2d55), Hex(0x403766), Hex(0x5c416e), Hex(0x7e4c6c),
                         Hex(0xa35d66), Hex(0xc7755e), Hex(0xe09a62), Hex(0xf0c078)};
    for (int y = 0; y < H; ++y) {
        double t = double(y) / 620;
        for (int x = 0; x < W; ++x) {
            // stepped gradient with a soft wavy edge between bands
            double v = t * 8 + 0.25 * std::sin(x * 0.004 + y * 0.01) + 0.15 * TileNoise(x, y, 32, 1920, 3);
            int band = std::clamp(int(v), 0, 8);
            c.Set(x, y, sky[band]);
        }
    }
    // sun and its glow just above the hills
    for (int r = 120; r > 0; r -= 30) c.FillEllipse(1320, 640, r * 1.0, r * 1.0, Mix(Hex(0xf0c078), Hex(0xfff0c0), (120 - r) * 100 / 140));
    // clouds lit from below
    Random rnd(5);
    for (int k = 0; k < 14; ++k) {
        double cx = rnd.Range(0, W), cy = rnd.Range(80, 420), w = rnd.Range(140, 320);
        for (int j = 0; j < 5; ++j) {
            double ex = cx + (j - 2) * w * 0.22, ey = cy + (j % 2) * 8, rx = w * 0.22, ry = 18 + (j % 3) * 6;
            c.FillEllipse(ex, ey, rx, ry, Mix(sky[std::min(8, int(cy / 620 * 8) + 1)], Hex(0x1d2240), 25));
            c.FillEllipse(ex, ey + 4, rx * 0.92, ry * 0.7, Mix(sky[std::min(8, int(cy / 620 * 8) + 2)], Hex(0xffe0b0), 15));
        }
    }
    auto ridge = [&](double base, double amp, double freq, uint32_t seed, Color fill, Color edge) {
        for (int x = 0; x < W; ++x) {
            double h = base - amp * (0.6 * TileNoise(x, 0, int(12 * freq), W, seed) + 0.4 * TileNoise(x, 0, int(40 * freq), W, seed + 1));
            for (int y = int(h); y < H; ++y) c.Set(x, y, y < h + 3 ? edge : fill);
        }
    };
    ridge(700, 260, 1.0, 11, Hex(0x4a4470), Hex(0x6a5a84));   // far mountains, cool
    ridge(780, 160, 1.4, 12, Hex(0x3a3a5c), Hex(0x5a4c70));
    // castle on the middle hill
    c.FillEllipse(650, 830, 330, 110, Hex(0x302f4e));
    c.FillEllipse(650, 826, 326, 106, Hex(0x34344f));
    {
        const Color wall = Hex(0x2c2a44), lit = Hex(0x4a4064), win = Hex(0xf4c460);
        int bx = 520, by = 760;
        c.FillRect(bx, by - 120, 260, 140, wall);
        for (int k = 0; k < 4; ++k) {
            int tx = bx - 20 + k * 90, th = k % 2 ? 210 : 170;
            c.FillRect(tx, by - th, 50, th + 20, wall);
            c.VLine(tx, by - th, th + 20, lit);
            for (int m = 0; m < 3; ++m) c.FillRect(tx + m * 18, by - th - 12, 12, 12, wall);
            c.FillPolygon({double(tx) - 6, double(by - th - 12), double(tx) + 25, double(by - th - 70), double(tx) + 56, double(by - th - 12)}, Hex(0x3c2440));
            c.FillRect(tx + 20, by - th + 40, 8, 14, win);
        }
        for (int m = 0; m < 14; ++m) c.FillRect(bx + m * 19, by - 134, 12, 14, wall);
        c.FillRect(bx + 115, by - 40, 30, 60, Hex(0x1a1628));
    }
    ridge(860, 110, 2.0, 13, Hex(0x283e3c), Hex(0x3c5a44));  // wooded hills
    // tree line: crowns of varied size, lit from the top left
    for (int x = -20; x < W + 20;) {
        double base = 900 - 60 * TileNoise(x, 0, 20, W, 21);
        double r = 12 + 14 * TileNoise(x, 5, 60, W, 22) + rnd.Range(0, 6);
        c.FillEllipse(x, base, r, r * 1.25, Hex(0x1a3226));
        c.FillEllipse(x - r * 0.15, base - r * 0.15, r * 0.85, r * 1.05, Hex(0x22402c));
        c.FillEllipse(x - r * 0.35, base - r * 0.45, r * 0.45, r * 0.55, Hex(0x2e5432));
        x += int(r * 1.1) + rnd.Range(0, 8);
    }
    for (int y = 900; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (y > 915 - 20 * TileNoise(x, 0, 30, W, 23)) {
                double band = y + 14 * TileNoise(x, y, 24, W, 24);
                c.Set(x, y, pal::GRASS[band < 955 ? 1 : band < 1005 ? 2 : 3]);
            }
    // the road into the valley
    for (int y = 930; y < H; ++y) {
        double t = (y - 930) / 158.0;
        double cx = 1000 - 200 * t * t, half = 8 + 120 * t;
        for (int x = int(cx - half); x <= int(cx + half); ++x)
            c.Set(x, y, pal::EARTH[std::abs(x - int(cx)) > half - 6 ? 2 : (x + y) % 37 == 0 ? 4 : 3]);
    }
    // grass tufts in the foreground
    for (int k = 0; k < 900; ++k) {
        int x = rnd.Range(0, W - 1), y = rnd.Range(960, H - 1);
        if (c.Get(x, y) != pal::GRASS[2] && c.Get(x, y) != pal::GRASS[3]) continue;
        c.Line(x, y, x - 1, y - 4, pal::GRASS[4]);
        c.Set(x + 1, y, pal::GRASS[1]);
    }
    return c;
}

// The title: gold letters with a dark outline and a drop shadow.
Canvas Logo() {
    const int W = 512, H = 160;
    Canvas text(W, H);
    const char* face = "DejaVuSerif-Bold.ttf";
    int size = 112;
    int width = TextWidth("Vorna", face, size);
    int x = (W - width) / 2, base = 122;
    DrawText(text, x, base, "Vorna", face, size, Color(255, 255, 255), false);
    Canvas c(W, H);
    // shadow, outline, then the gold face shaded from top (light) to bottom
    for (int y = 0; y < H; ++y)
        for (int xx = 0; xx < W; ++xx)
            if (text.Filled(xx, y)) {
                for (int k = 3; k <= 6; ++k) c.Set(xx + k, y + k, Hex(0x120c10));
            }
    Canvas outline = text;
    OutlineOutside(outline, Hex(0x2a1608), true);
    OutlineOutside(outline, Hex(0x2a1608), false);
    for (int y = 0; y < H; ++y)
        for (int xx = 0; xx < W; ++xx)
            if (outline.Filled(xx, y) && !text.Filled(xx, y)) c.Set(xx, y, Hex(0x2a1608));
    for (int y = 0; y < H; ++y)
        for (int xx = 0; xx < W; ++xx) {
            if (!text.Filled(xx, y)) continue;
            double t = (y - (base - 82)) / 90.0;
            int tone = t < 0.18 ? 5 : t < 0.45 ? 4 : t < 0.62 ? 3 : t < 0.82 ? 2 : 1;
            // a bright edge where the letter meets its top-left outline
            if (!text.Filled(xx - 1, y - 1) || !text.Filled(xx, y - 2)) tone = std::min(5, tone + 1);
            if (!text.Filled(xx + 1, y + 1)) tone = std::max(1, tone - 1);
            c.Set(xx, y, pal::GOLD[size_t(tone)]);
        }
    // a thin rule with diamonds under the name
    int rl = x + 10, rr = x + width - 10;
    c.HLine(rl, base + 16, rr - rl, pal::GOLD[3]);
    c.HLine(rl, base + 17, rr - rl, pal::GOLD[1]);
    for (int cx : {rl, (rl + rr) / 2, rr})
        c.FillPolygon({double(cx) - 5, double(base) + 17, double(cx), double(base) + 12, double(cx) + 5, double(base) + 17, double(cx), double(base) + 22}, pal::GOLD[4]);
    return c;
}

// Darkness tiles: level n at tile row n; row 0 is solid black, the others let
// more and more of the picture through, in an ordered pattern.
Canvas Darkness() {
    Canvas c(32, 32 * 8);
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int level = 0; level < 8; ++level) {
        int black = 2 * (8 - level);  // of 16
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (bayer[y % 4][x % 4] < black) c.Set(x, 32 * level + y, pal::OUTLINE_BLACK);
    }
    return c;
}

Canvas Pad(const Canvas& src) {
    Canvas c((src.Width() + 31) / 32 * 32, (src.Height() + 31) / 32 * 32);
    c.Draw(src, 0, 0);
    return c;
}

}  // namespace

void BuildPictures(DataSet& d) {
    d.Pictures.resize(NUMBER_OF_PICTURES);
    d.Pictures[PICTURE_BACKGROUND - 1] = Picture{"background", Background()};
    d.Pictures[PICTURE_LOGO - 1] = Picture{"logo", Pad(Logo())};
    d.Pictures[PICTURE_FONT_1 - 1] = Picture{"font 1", BuildFontImage(1)};
    d.Pictures[PICTURE_SKIN - 1] = Picture{"skin", BuildSkinImage()};
    d.Pictures[PICTURE_FONT_2 - 1] = Picture{"font 2", BuildFontImage(2)};
    d.Pictures[PICTURE_FONT_3 - 1] = Picture{"font 3", BuildFontImage(3)};
    d.Pictures[PICTURE_LIGHT - 1] = Picture{"darkness", Darkness()};
    d.Pictures[PICTURE_FONT_4 - 1] = Picture{"font 4", BuildFontImage(4)};
}

}  // namespace gen
