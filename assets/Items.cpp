// Things that can be carried: containers, money, ammunition, liquids, light,
// books, equipment for every body slot, food, runes, tools and remains.
#include "Builders.h"
#include "world/TypeNumbers.h"

#include <cmath>

namespace gen {

using namespace art;

namespace {

const Color ONE(1, 1, 1);

Canvas Shaded(const Canvas& mask, const Ramp& ramp, ShadeStyle st = {}) {
    Canvas c(32, 32);
    ShadeVolume(c, mask, ramp, 0, 0, st);
    return c;
}

// A blade or shaft from (x0, y0) to (x1, y1) of the given width, shaded along
// its length with a light edge on the side that faces the top left.
void Rod(Canvas& c, double x0, double y0, double x1, double y1, double w, const Ramp& ramp) {
    Canvas m(32, 32);
    m.ThickLine(x0, y0, x1, y1, w, ONE);
    ShadeVolume(c, m, ramp, 0, 0, ShadeStyle{1.4, 1});
}

// ---- containers, money, ammunition ----------------------------------------------

Canvas Bag() {
    Canvas m(32, 32);
    m.FillEllipse(16, 21, 9, 7.5, ONE);
    m.FillPolygon({12, 15, 20, 15, 18, 10, 14, 10}, ONE);
    m.FillEllipse(16, 9, 4, 2, ONE);
    Canvas c = Shaded(m, pal::LEATHER, ShadeStyle{1.2, 3});
    c.HLine(13, 13, 6, pal::LEATHER[1]);
    c.Set(18, 14, pal::GOLD[4]);
    return c;
}

Canvas Backpack() {
    Canvas m(32, 32);
    m.FillEllipse(16, 18, 9, 10, ONE);
    m.FillRect(8, 18, 17, 10, ONE);
    Canvas c = Shaded(m, pal::LEATHER, ShadeStyle{1.0, 3});
    Canvas flap(32, 32);
    flap.FillEllipse(16, 14, 8, 6, ONE);
    flap.FillRect(8, 8, 17, 6, CLEAR);
    ShadeFlat(c, flap, pal::LEATHER, 4);
    c.FillRect(11, 22, 10, 5, pal::LEATHER[2]);
    c.Rect(11, 22, 10, 5, pal::LEATHER[1]);
    c.HLine(12, 22, 8, pal::LEATHER[3]);
    c.Set(16, 19, pal::GOLD[4]), c.Set(16, 20, pal::GOLD[2]);
    return c;
}

void Coin(Canvas& c, double x, double y, const Ramp& metal) {
    c.FillEllipse(x, y + 1, 3.6, 2.4, metal[1]);
    c.FillEllipse(x, y, 3.6, 2.4, metal[0]);
    c.FillEllipse(x, y, 2.8, 1.7, metal[3]);
    c.FillEllipse(x - 0.6, y - 0.4, 1.6, 0.9, metal[4]);
    c.Set(int(x) - 2, int(y) - 1, metal[5]);
}

// Count pictures: 1, 2, 3, 4 pieces, then ever larger heaps for 5-9, 10-24,
// 25-49 and 50 and more.
Canvas CoinPicture(int slot, const Ramp& metal) {
    Canvas c(32, 32);
    static const double pos[][2] = {{16, 22}, {20, 24}, {12, 24}, {18, 19}, {14, 20}, {22, 21}, {10, 21},
                                    {16, 26}, {19, 16}, {13, 17}, {24, 25}, {8, 25}, {16, 14}, {21, 13},
                                    {11, 14}, {25, 18}, {7, 18}, {16, 18}, {20, 20}, {12, 21}};
    static const int counts[] = {1, 2, 3, 4, 6, 10, 14, 20};
    int n = counts[slot];
    if (slot < 4) {
        for (int k = 0; k < n; ++k) Coin(c, pos[k][0], pos[k][1], metal);
    } else {
        // a heap: a dome of coins, back ones first
        for (int k = n - 1; k >= 0; --k) {
            double a = k * 2.4, rr = std::sqrt(double(k)) * 2.4;
            Coin(c, 16 + std::cos(a) * rr, 22 + std::sin(a) * rr * 0.6 - (n - k) * 0.25, metal);
        }
    }
    return c;
}

void Arrow(Canvas& c, double x0, double y0, double x1, double y1, bool bolt) {
    c.ThickLine(x0, y0, x1, y1, 1.2, pal::TIMBER[bolt ? 2 : 4]);
    double dx = x1 - x0, dy = y1 - y0, len = std::sqrt(dx * dx + dy * dy);
    dx /= len, dy /= len;
    // head
    c.FillPolygon({x1 + dx * 3, y1 + dy * 3, x1 - dy * 1.6, y1 + dx * 1.6, x1 + dy * 1.6, y1 - dx * 1.6},
                  pal::METAL[bolt ? 3 : 4]);
    c.Set(int(x1 + dx * 2), int(y1 + dy * 2), pal::METAL[1]);
    // fletching
    if (!bolt) {
        c.Line(int(x0), int(y0), int(x0 - dy * 2 + dx), int(y0 + dx * 2 + dy), pal::CLOTH_RED[4]);
        c.Line(int(x0), int(y0), int(x0 + dy * 2 + dx), int(y0 - dx * 2 + dy), pal::CLOTH_RED[3]);
    } else {
        c.Set(int(x0), int(y0), pal::METAL[2]);
    }
}

Canvas AmmoPicture(int slot, bool bolt) {
    Canvas c(32, 32);
    static const int counts[] = {1, 2, 3, 4, 5, 7, 9, 12};
    int n = counts[slot];
    double len = bolt ? 14 : 20;
    for (int k = 0; k < n; ++k) {
        double spread = slot < 4 ? k * 3.0 : k * 1.4;
        double x0 = 6 + spread * 0.6, y0 = 26 - spread * 0.3 + (slot >= 4 ? (k % 2) : 0);
        Arrow(c, x0, y0 - 2, x0 + len * 0.85, y0 - len * 0.5 - 2, bolt);
    }
    if (slot >= 4) {  // a cord around the bundle
        c.Line(13, 24, 15, 18, pal::PARCHMENT[2]);
        c.Line(14, 24, 16, 18, pal::PARCHMENT[4]);
    }
    return c;
}

// ---- liquids -------------------------------------------------------------------

const Color LiquidColor[8] = {CLEAR,          Hex(0x3e78c2), Hex(0x7a2050), Hex(0xc89028),
                              Hex(0x6a4a2c), Hex(0xa0161c), Hex(0x5aa02a), Hex(0x2c2818)};

Ramp LiquidRamp(int v) {
    Color b = LiquidColor[v];
    Ramp r;
    const int mix[6] = {55, 35, 15, 0, -20, -45};
    for (int i = 0; i < 6; ++i)
        r[size_t(i)] = mix[i] >= 0 ? Mix(b, Hex(0x10101c), mix[i]) : Mix(b, Hex(0xfff4d8), -mix[i]);
    return r;
}

Canvas Vial(int v) {
    Canvas m(32, 32);
    m.FillEllipse(16, 22, 6, 6, ONE);
    m.FillRect(14, 11, 4, 7, ONE);
    Canvas c(32, 32);
    ShadeVolume(c, m, pal::METAL, 0, 0, ShadeStyle{1.2, 2, 1});  // clear glass
    if (v) {
        Canvas l(32, 32);
        l.FillEllipse(16, 22.5, 4.6, 4.6, ONE);
        l.FillRect(10, 14, 12, 5, CLEAR);
        ShadeVolume(c, l, LiquidRamp(v), 0, 0, ShadeStyle{1.0, 2, 0, false});
    }
    c.FillRect(14, 9, 4, 3, pal::TIMBER[3]);  // cork
    c.Set(14, 9, pal::TIMBER[5]);
    c.Set(13, 20, pal::METAL[5]), c.Set(13, 21, pal::METAL[5]);
    return c;
}

Canvas Mug(int v) {
    Canvas m(32, 32);
    m.FillRect(10, 12, 11, 14, ONE);
    m.FillEllipse(15.5, 26, 5.5, 2, ONE);
    Canvas c(32, 32);
    ShadeVolume(c, m, pal::TIMBER, 0, 0, ShadeStyle{1.0, 2});
    c.HLine(10, 15, 11, pal::TIMBER[1]), c.HLine(10, 22, 11, pal::TIMBER[1]);
    c.FillEllipse(15.5, 12, 5.5, 2, pal::TIMBER[0]);
    if (v) c.FillEllipse(15.5, 12.5, 4.5, 1.4, LiquidRamp(v)[3]);
    if (v == LIQUID_BEER) c.FillEllipse(15.5, 12, 4.5, 1.2, pal::PARCHMENT[5]);
    // handle
    Canvas h(32, 32);
    h.FillEllipse(22.5, 19, 3.5, 4.5, ONE);
    h.FillEllipse(22.5, 19, 1.7, 2.5, CLEAR);
    h.FillRect(19, 13, 3, 12, CLEAR);
    ShadeFlat(c, h, pal::TIMBER, 3);
    return c;
}

Canvas Bucket(int v) {
    Canvas m(32, 32);
    m.FillPolygon({8, 13, 24, 13, 22, 28, 10, 28}, ONE);
    Canvas c(32, 32);
    ShadeVolume(c, m, pal::TIMBER, 0, 0, ShadeStyle{1.0, 2});
    c.HLine(9, 17, 14, pal::METAL[2]), c.HLine(10, 25, 12, pal::METAL[2]);
    c.FillEllipse(16, 13, 8, 2.5, pal::TIMBER[0]);
    c.FillEllipse(16, 13.5, 6.8, 1.8, v ? LiquidRamp(v)[3] : pal::TIMBER[1]);
    if (v) c.HLine(13, 13, 3, LiquidRamp(v)[5]);
    // handle arc
    for (int a = 0; a <= 20; ++a) {
        double t = 3.14159 * a / 20;
        c.Set(int(16 - 8 * std::cos(t)), int(13 - 7 * std::sin(t)), pal::METAL[3]);
    }
    return c;
}

Canvas Pool(int v) {
    Canvas c(32, 32);
    if (!v) return c;
    Canvas m(32, 32);
    Random r{uint32_t(v)};
    m.FillEllipse(16, 19, 10, 6.5, ONE);
    for (int k = 0; k < 5; ++k) {
        double a = r.Unit() * 6.28;
        m.FillEllipse(16 + std::cos(a) * 10, 19 + std::sin(a) * 6, 2.5 + r.Unit() * 2, 2 + r.Unit() * 1.5, ONE);
    }
    Ramp lr = LiquidRamp(v);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (!m.Filled(x, y)) continue;
            bool edge = !m.Filled(x - 1, y) || !m.Filled(x + 1, y) || !m.Filled(x, y - 1) || !m.Filled(x, y + 1);
            c.Set(x, y, edge ? lr[1] : lr[2]);
        }
    c.HLine(11, 16, 4, lr[4]);
    c.Set(10, 17, lr[4]);
    c.HLine(18, 22, 3, lr[3]);
    return c;
}

// ---- light, writing ---------------------------------------------------------------

Canvas Lamp(int phase) {
    Canvas c(32, 32);
    Canvas m(32, 32);
    m.FillEllipse(16, 24, 8, 3.5, ONE);
    m.FillPolygon({12, 24, 20, 24, 18, 14, 14, 14}, ONE);
    ShadeVolume(c, m, pal::GOLD, 0, 0, ShadeStyle{1.2, 2});
    c.FillRect(14, 10, 5, 5, pal::FIRE[4]);
    c.Rect(13, 9, 7, 7, pal::METAL[1]);
    c.Set(15, 11, pal::FIRE[5]);
    if (phase) c.Set(16, 12, pal::FIRE[5]);
    c.HLine(12, 8, 9, pal::METAL[3]);
    return c;
}

Canvas Torch(int phase) {
    Canvas c(32, 32);
    Rod(c, 10, 27, 20, 15, 2.6, pal::TIMBER);
    c.FillEllipse(20.5, 14.5, 2.5, 2, pal::LEATHER[1]);
    DrawFlame(c, 21, 14, 9, 5, phase, 3, 2);
    return c;
}

Canvas Book() {
    Canvas c(32, 32);
    Canvas pages(32, 32);
    pages.FillPolygon({7, 19, 22, 13, 27, 19, 12, 26}, ONE);
    // cover below, pages, cover on top with a clasp
    Canvas bottom(32, 32);
    bottom.FillPolygon({6, 21, 22, 15, 28, 21, 12, 28}, ONE);
    ShadeFlat(c, bottom, pal::CLOTH_RED, 2);
    ShadeFlat(c, pages, pal::PARCHMENT, 4);
    Canvas top(32, 32);
    top.FillPolygon({6, 17, 22, 11, 28, 17, 12, 24}, ONE);
    ShadeFlat(c, top, pal::CLOTH_RED, 3);
    c.Line(12, 17, 20, 14, pal::GOLD[4]);
    c.Line(13, 19, 22, 15, pal::GOLD[3]);
    return c;
}

Canvas Scroll() {
    Canvas c(32, 32);
    Canvas sheet(32, 32);
    sheet.FillPolygon({8, 14, 22, 10, 25, 20, 11, 24}, ONE);
    ShadeFlat(c, sheet, pal::PARCHMENT, 4);
    Rod(c, 6, 15, 11, 26, 3.2, pal::PARCHMENT);
    Rod(c, 20, 9, 25, 20, 3.2, pal::PARCHMENT);
    c.Line(12, 15, 20, 13, pal::PARCHMENT[1]);
    c.Line(13, 18, 21, 16, pal::PARCHMENT[1]);
    c.Line(14, 21, 19, 20, pal::PARCHMENT[1]);
    c.FillEllipse(16, 23, 2, 1.6, pal::CLOTH_RED[3]);  // seal
    return c;
}

// ---- equipment ----------------------------------------------------------------------

Canvas Sword() {
    Canvas c(32, 32);
    Canvas blade(32, 32);
    blade.FillPolygon({11, 21, 13, 23, 27, 7, 28, 4, 25, 5}, ONE);
    ShadeFlat(c, blade, pal::METAL, 4);
    c.Line(13, 20, 25, 7, pal::METAL[5]);
    Rod(c, 7, 19, 15, 27, 2.6, pal::GOLD);  // cross guard
    Rod(c, 6, 26, 10, 22, 2.6, pal::LEATHER);
    Ball(c, 5, 27.5, 2, 2, pal::GOLD, ShadeStyle{1.0, 1});
    return c;
}

Canvas Axe() {
    Canvas c(32, 32);
    Rod(c, 7, 28, 22, 8, 2.6, pal::TIMBER);
    Canvas head(32, 32);
    head.FillPolygon({17, 9, 23, 4, 29, 9, 28, 17, 24, 15, 21, 13}, ONE);
    ShadeFlat(c, head, pal::METAL, 3);
    c.Line(23, 5, 28, 10, pal::METAL[5]);
    c.Line(28, 10, 27, 16, pal::METAL[5]);
    return c;
}

Canvas Mace() {
    Canvas c(32, 32);
    Rod(c, 7, 28, 19, 13, 2.4, pal::TIMBER);
    Ball(c, 21, 10, 6, 6, pal::METAL, ShadeStyle{1.2, 2});
    for (int k = 0; k < 6; ++k) {
        double a = k * 1.047;
        c.Set(int(21 + std::cos(a) * 7), int(10 + std::sin(a) * 7), pal::METAL[2]);
    }
    return c;
}

Canvas Bow() {
    Canvas c(32, 32);
    Canvas m(32, 32);
    for (int a = 0; a <= 40; ++a) {
        double t = -1.1 + 2.2 * a / 40;
        double x = 9 + 13 * std::cos(t) * 0.55 + 4, y = 16 + 13 * std::sin(t);
        m.FillEllipse(x, y, 1.4, 1.4, ONE);
    }
    ShadeVolume(c, m, pal::TIMBER, 0, 0, ShadeStyle{1.2, 1});
    c.Line(int(9 + 13 * std::cos(-1.1) * 0.55 + 4), int(16 + 13 * std::sin(-1.1)), int(9 + 13 * std::cos(1.1) * 0.55 + 4),
           int(16 + 13 * std::sin(1.1)), pal::PARCHMENT[4]);
    c.FillRect(19, 14, 2, 4, pal::LEATHER[3]);
    return c;
}

Canvas Crossbow() {
    Canvas c(32, 32);
    Rod(c, 8, 27, 22, 11, 3.2, pal::TIMBER);
    Canvas arms(32, 32);
    for (int a = 0; a <= 30; ++a) {
        double t = a / 30.0;
        arms.FillEllipse(12 + 16 * t, 8 + 12 * t - 4 * std::sin(t * 3.14159), 1.2, 1.2, ONE);
    }
    ShadeVolume(c, arms, pal::METAL, 0, 0, ShadeStyle{1.2, 1});
    c.Line(12, 9, 27, 20, pal::PARCHMENT[4]);
    return c;
}

Canvas RoundShield(const Ramp& face, const Ramp& rim) {
    Canvas c(32, 32);
    Ball(c, 16, 17, 11, 11, rim, ShadeStyle{1.0, 2});
    Ball(c, 16, 17, 9, 9, face, ShadeStyle{0.8, 3, 0, false});
    Ball(c, 16, 17, 3, 3, pal::METAL, ShadeStyle{1.2, 1});
    for (int k = 0; k < 4; ++k) c.VLine(10 + k * 4, 9, 1, face[1]);
    c.Line(9, 17, 23, 17, face[2]);
    return c;
}

Canvas KiteShield() {
    Canvas c(32, 32);
    Canvas m(32, 32);
    m.FillPolygon({7, 7, 25, 7, 25, 16, 16, 29, 7, 16}, ONE);
    ShadeVolume(c, m, pal::METAL, 0, 0, ShadeStyle{0.9, 3});
    Canvas band(32, 32);
    band.FillRect(14, 8, 4, 19, ONE);
    band.FillRect(8, 12, 16, 4, ONE);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (band.Filled(x, y) && m.Filled(x, y) && m.Filled(x + 1, y + 1) && m.Filled(x - 1, y - 1))
                c.Set(x, y, pal::CLOTH_BLUE[(x + y) % 7 == 0 ? 4 : 3]);
    return c;
}

Canvas Helmet(bool iron) {
    Canvas c(32, 32);
    Canvas m(32, 32);
    m.FillEllipse(16, 18, 10, 10, ONE);
    m.FillRect(4, 18, 25, 11, CLEAR);
    m.FillRect(6, 17, 21, 4, ONE);
    if (iron) m.FillRect(8, 18, 6, 9, ONE), m.FillRect(19, 18, 6, 9, ONE);
    ShadeVolume(c, m, iron ? pal::METAL : pal::LEATHER, 0, 0, ShadeStyle{1.2, 3});
    c.HLine(7, 18, 19, iron ? pal::METAL[1] : pal::LEATHER[1]);
    if (iron) c.FillRect(15, 8, 3, 12, pal::METAL[4]), c.VLine(15, 8, 12, pal::METAL[5]);
    return c;
}

Canvas Amulet() {
    Canvas c(32, 32);
    for (int a = 0; a <= 40; ++a) {
        double t = 3.14159 * a / 40;
        c.Set(int(16 + 9 * std::cos(t)), int(14 - 8 * std::sin(t)) + 2, pal::GOLD[a % 3 == 0 ? 5 : 3]);
    }
    Ball(c, 16, 22, 4.5, 5, pal::GOLD, ShadeStyle{1.0, 1});
    Ball(c, 16, 22, 2.6, 3, pal::CLOTH_BLUE, ShadeStyle{1.2, 1, 1});
    c.Set(15, 21, pal::WHITE);
    return c;
}

Canvas Armor(bool chain) {
    const Ramp& r = chain ? pal::METAL : pal::LEATHER;
    Canvas m(32, 32);
    m.FillPolygon({9, 6, 13, 6, 16, 9, 19, 6, 23, 6, 28, 11, 25, 15, 23, 13, 23, 28, 9, 28, 9, 13, 7, 15, 4, 11}, ONE);
    Canvas c(32, 32);
    ShadeVolume(c, m, r, 0, 0, ShadeStyle{0.9, 3});
    if (chain) {
        for (int y = 9; y < 27; y += 2)
            for (int x = 10 + (y / 2) % 2; x < 23; x += 2)
                if (m.Filled(x + 1, y + 1) && m.Filled(x - 1, y - 1)) c.Set(x, y, pal::METAL[1]);
    } else {
        c.VLine(16, 10, 17, r[1]);
        c.HLine(10, 20, 13, r[2]);
        c.Set(15, 13, pal::GOLD[4]), c.Set(15, 17, pal::GOLD[4]);
    }
    return c;
}

Canvas Legs() {
    Canvas m(32, 32);
    m.FillPolygon({9, 6, 23, 6, 24, 28, 18, 28, 16, 13, 14, 28, 8, 28}, ONE);
    Canvas c(32, 32);
    ShadeVolume(c, m, pal::LEATHER, 0, 0, ShadeStyle{1.0, 2});
    c.HLine(9, 8, 15, pal::LEATHER[1]);
    c.HLine(9, 7, 15, pal::LEATHER[4]);
    return c;
}

Canvas Boots() {
    Canvas c(32, 32);
    for (int k = 0; k < 2; ++k) {
        Canvas m(32, 32);
        int ox = k * 9;
        m.FillRect(6 + ox, 9 + k * 2, 6, 13, ONE);
        m.FillEllipse(11 + ox, 24 + k * 2, 6, 3.5, ONE);
        ShadeVolume(c, m, pal::LEATHER, 0, 0, ShadeStyle{1.0, 2, k ? -1 : 0});
        c.HLine(6 + ox, 12 + k * 2, 6, pal::LEATHER[1]);
    }
    return c;
}

Canvas Ring() {
    Canvas c(32, 32);
    Canvas m(32, 32);
    m.FillEllipse(16, 20, 6.5, 5, ONE);
    m.FillEllipse(16, 20, 4, 2.8, CLEAR);
    ShadeVolume(c, m, pal::GOLD, 0, 0, ShadeStyle{1.2, 1});
    Ball(c, 16, 14.5, 3, 2.6, pal::CLOTH_RED, ShadeStyle{1.2, 1, 1});
    c.Set(15, 13, pal::WHITE);
    return c;
}

// ---- food, runes, tools, remains ----------------------------------------------------

Canvas Bread() {
    Canvas c(32, 32);
    Ball(c, 16, 19, 11, 6.5, pal::SAND, ShadeStyle{1.2, 3, -1});
    for (int k = 0; k < 3; ++k) c.Line(10 + k * 5, 15, 13 + k * 5, 20, pal::SAND[1]);
    return c;
}

Canvas Ham() {
    Canvas c(32, 32);
    Ball(c, 18, 18, 9, 7, pal::CLOTH_RED, ShadeStyle{1.2, 3, 1});
    Rod(c, 6, 25, 11, 21, 3, pal::BONE);
    Ball(c, 5.5, 25.5, 2.2, 2.2, pal::BONE, ShadeStyle{1.0, 1});
    c.FillEllipse(19, 18, 3, 2, pal::CLOTH_RED[5]);
    return c;
}

Canvas Apple() {
    Canvas c(32, 32);
    Ball(c, 16, 20, 6.5, 6, pal::CLOTH_RED, ShadeStyle{1.3, 2, 1});
    c.Line(16, 14, 17, 11, pal::TIMBER[2]);
    c.FillEllipse(19.5, 12, 2.5, 1.3, pal::GRASS[4]);
    c.Set(13, 17, pal::CLOTH_RED[5]);
    return c;
}

Canvas Fish() {
    Canvas c(32, 32);
    Canvas m(32, 32);
    m.FillEllipse(15, 19, 9, 4.5, ONE);
    m.FillPolygon({22, 19, 28, 14, 28, 24}, ONE);
    ShadeVolume(c, m, pal::WATER, 0, 0, ShadeStyle{1.1, 2, 1});
    c.Set(9, 18, pal::STONE[0]);
    c.Line(12, 16, 13, 22, pal::WATER[2]);
    return c;
}

Canvas Cheese() {
    Canvas c(32, 32);
    Canvas top(32, 32), side(32, 32);
    top.FillPolygon({6, 17, 24, 12, 27, 17, 10, 22}, ONE);
    side.FillPolygon({10, 22, 27, 17, 27, 23, 10, 28}, ONE);
    side.FillPolygon({6, 17, 10, 22, 10, 28, 6, 23}, ONE);
    ShadeFlat(c, side, pal::GOLD, 3);
    ShadeFlat(c, top, pal::GOLD, 5);
    c.FillEllipse(20, 21, 1.5, 1.5, pal::GOLD[2]);
    c.FillEllipse(14, 25, 1.2, 1.2, pal::GOLD[2]);
    return c;
}

Canvas Rune(const Ramp* glyph, int kind) {
    Canvas c(32, 32);
    Canvas m(32, 32);
    m.FillPolygon({9, 9, 23, 8, 25, 24, 10, 26}, ONE);
    ShadeVolume(c, m, pal::BONE, 0, 0, ShadeStyle{0.7, 3});
    if (!glyph) return c;
    Color g = (*glyph)[3], h = (*glyph)[5];
    switch (kind) {
        case 0:  // flame
            c.Line(17, 12, 14, 18, g), c.Line(14, 18, 17, 22, g), c.Line(17, 12, 20, 19, g), c.Line(20, 19, 17, 22, g);
            c.Set(17, 17, h);
            break;
        case 1:  // cross
            c.FillRect(16, 11, 2, 12, g), c.FillRect(11, 15, 12, 2, g), c.Set(16, 11, h);
            break;
        default:  // bolt
            c.Line(19, 11, 14, 17, g), c.Line(14, 17, 19, 17, g), c.Line(19, 17, 14, 23, g), c.Set(18, 12, h);
    }
    return c;
}

Canvas Rope() {
    Canvas c(32, 32);
    for (int k = 0; k < 4; ++k) {
        Canvas m(32, 32);
        m.FillEllipse(16, 19 - k * 1.5, 10 - k * 0.8, 6 - k * 0.5, ONE);
        m.FillEllipse(16, 19 - k * 1.5, 7.5 - k * 0.8, 3.8 - k * 0.5, CLEAR);
        ShadeVolume(c, m, pal::SAND, 0, 0, ShadeStyle{1.2, 1, -1});
    }
    c.Line(24, 19, 28, 26, pal::SAND[2]);
    return c;
}

Canvas Shovel() {
    Canvas c(32, 32);
    Rod(c, 6, 6, 19, 19, 2.4, pal::TIMBER);
    c.ThickLine(4, 5, 9, 4, 2, pal::TIMBER[3]);
    Canvas blade(32, 32);
    blade.FillPolygon({17, 21, 21, 17, 28, 22, 27, 27, 22, 28}, ONE);
    ShadeFlat(c, blade, pal::METAL, 3);
    return c;
}

Canvas Pick() {
    Canvas c(32, 32);
    Rod(c, 7, 28, 19, 10, 2.6, pal::TIMBER);
    Canvas head(32, 32);
    for (int a = 0; a <= 30; ++a) {
        double t = a / 30.0;
        head.FillEllipse(8 + 22 * t, 12 - 6 * std::sin(t * 3.14159) + 2 * t, 1.6 - std::fabs(t - 0.5), 1.6, ONE);
    }
    ShadeVolume(c, head, pal::METAL, 0, 0, ShadeStyle{1.2, 1});
    return c;
}

Canvas FishingRod() {
    Canvas c(32, 32);
    Rod(c, 5, 28, 27, 4, 1.6, pal::TIMBER);
    c.Line(27, 4, 28, 18, pal::PARCHMENT[4]);
    c.FillRect(7, 24, 3, 3, pal::METAL[2]);
    c.Set(28, 19, pal::CLOTH_RED[4]);
    return c;
}

Canvas Key() {
    Canvas c(32, 32);
    Canvas bow(32, 32);
    bow.FillEllipse(10, 20, 4.5, 4.5, ONE);
    bow.FillEllipse(10, 20, 2, 2, CLEAR);
    ShadeVolume(c, bow, pal::GOLD, 0, 0, ShadeStyle{1.0, 1});
    Rod(c, 13, 18, 26, 11, 2, pal::GOLD);
    c.FillRect(22, 13, 2, 3, pal::GOLD[2]);
    c.FillRect(25, 12, 2, 3, pal::GOLD[2]);
    return c;
}

Canvas CorpseHuman() {
    Canvas c(32, 32);
    Canvas pool(32, 32);
    pool.FillEllipse(17, 22, 12, 5, ONE);
    ShadeFlat(c, pool, pal::CLOTH_RED, 1, 0, 0, false);
    Canvas body(32, 32);
    body.FillEllipse(15, 19, 9, 4, ONE);
    ShadeVolume(c, body, pal::CLOTH_BLUE, 0, 0, ShadeStyle{1.0, 2, -1});
    Ball(c, 25, 18, 3.4, 3, pal::SKIN, ShadeStyle{1.0, 1, -1});
    Rod(c, 5, 22, 9, 20, 2.5, pal::LEATHER);
    c.Line(12, 16, 20, 14, pal::SKIN[2]);
    return c;
}

Canvas CorpseBeast() {
    Canvas c(32, 32);
    Canvas body(32, 32);
    body.FillEllipse(16, 21, 10, 5, ONE);
    body.FillEllipse(6, 18, 3.5, 3, ONE);
    ShadeVolume(c, body, pal::FUR, 0, 0, ShadeStyle{1.0, 2, -1});
    for (int k = 0; k < 3; ++k) c.Line(12 + k * 5, 23, 13 + k * 5, 28, pal::FUR[1]);
    c.FillEllipse(17, 25, 4, 1.3, pal::CLOTH_RED[1]);
    return c;
}

void Item(DataSet& d, int type, const char* name, const Canvas& image, std::initializer_list<int> flags) {
    ObjectRecord& r = NewItem(d, type, name);
    for (int f : flags) r.Add(f);
    Single(d, r, image);
}

void Counted(DataSet& d, int type, const char* name, Canvas (*draw)(int, const Ramp&), const Ramp& ramp) {
    ObjectRecord& r = NewItem(d, type, name);
    r.Add(CUMULATIVE).Add(TAKE);
    r.Shape(1, 1, 1, 4, 2, 1, 1);
    for (int slot = 0; slot < 8; ++slot) r.Put(1, 1, 1, slot % 4 + 1, slot / 4 + 1, 1, 1, d.Sprites.Add(draw(slot, ramp)));
}

void Liquid(DataSet& d, int type, const char* name, Canvas (*draw)(int), int flag) {
    ObjectRecord& r = NewItem(d, type, name);
    r.Add(flag);
    if (flag == LIQUIDCONTAINER) r.Add(TAKE).Add(MULTIUSE);
    else r.Add(UNMOVE);
    r.Shape(1, 1, 1, 4, 2, 1, 1);
    for (int v = 0; v < 8; ++v) r.Put(1, 1, 1, v % 4 + 1, v / 4 + 1, 1, 1, d.Sprites.Add(draw(v)));
}

Canvas CoinsGold(int slot, const Ramp&) { return CoinPicture(slot, pal::GOLD); }
Canvas CoinsPlatinum(int slot, const Ramp&) { return CoinPicture(slot, pal::METAL); }
Canvas Arrows(int slot, const Ramp&) { return AmmoPicture(slot, false); }
Canvas Bolts(int slot, const Ramp&) { return AmmoPicture(slot, true); }

}  // namespace

void BuildItems(DataSet& d) {
    Item(d, TYPE_BAG, "bag", Bag(), {CONTAINER, TAKE});
    Item(d, TYPE_BACKPACK, "backpack", Backpack(), {CONTAINER, TAKE});
    Counted(d, TYPE_GOLD_COIN, "gold coin", CoinsGold, pal::GOLD);
    Counted(d, TYPE_PLATINUM_COIN, "platinum coin", CoinsPlatinum, pal::METAL);
    Counted(d, TYPE_ARROW, "arrow", Arrows, pal::TIMBER);
    Counted(d, TYPE_BOLT, "bolt", Bolts, pal::TIMBER);
    Liquid(d, TYPE_VIAL, "vial", Vial, LIQUIDCONTAINER);
    Liquid(d, TYPE_MUG, "mug", Mug, LIQUIDCONTAINER);
    Liquid(d, TYPE_BUCKET, "bucket", Bucket, LIQUIDCONTAINER);
    Liquid(d, TYPE_POOL, "pool", Pool, LIQUIDPOOL);
    {
        ObjectRecord& r = NewItem(d, TYPE_LAMP, "lamp");
        r.Add(TAKE).Add(LIGHT, {4, 208});
        r.Shape(1, 1, 1, 1, 1, 1, 2);
        for (int ph = 0; ph < 2; ++ph) r.Put(1, 1, 1, 1, 1, 1, ph + 1, d.Sprites.Add(Lamp(ph)));
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_TORCH, "torch");
        r.Add(TAKE).Add(LIGHT, {3, 208});
        r.Shape(1, 1, 1, 1, 1, 1, 3);
        for (int ph = 0; ph < 3; ++ph) r.Put(1, 1, 1, 1, 1, 1, ph + 1, d.Sprites.Add(Torch(ph)));
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_BOOK, "book");
        r.Add(TAKE).Add(WRITE, {1000}).Add(LENSHELP, {1112});
        Single(d, r, Book());
        ObjectRecord& s = NewItem(d, TYPE_SCROLL, "scroll");
        s.Add(TAKE).Add(WRITEONCE, {400}).Add(LENSHELP, {1112});
        Single(d, s, Scroll());
    }
    Item(d, TYPE_LEATHER_HELMET, "leather helmet", Helmet(false), {TAKE});
    Item(d, TYPE_IRON_HELMET, "iron helmet", Helmet(true), {TAKE});
    Item(d, TYPE_AMULET, "amulet", Amulet(), {TAKE});
    Item(d, TYPE_LEATHER_ARMOR, "leather armor", Armor(false), {TAKE});
    Item(d, TYPE_CHAIN_ARMOR, "chain armor", Armor(true), {TAKE});
    Item(d, TYPE_SWORD, "sword", Sword(), {TAKE});
    Item(d, TYPE_AXE, "axe", Axe(), {TAKE});
    Item(d, TYPE_MACE, "mace", Mace(), {TAKE});
    Item(d, TYPE_BOW, "bow", Bow(), {TAKE});
    Item(d, TYPE_CROSSBOW, "crossbow", Crossbow(), {TAKE});
    Item(d, TYPE_WOODEN_SHIELD, "wooden shield", RoundShield(pal::TIMBER, pal::METAL), {TAKE});
    Item(d, TYPE_IRON_SHIELD, "iron shield", KiteShield(), {TAKE});
    Item(d, TYPE_LEATHER_LEGS, "leather legs", Legs(), {TAKE});
    Item(d, TYPE_LEATHER_BOOTS, "leather boots", Boots(), {TAKE});
    Item(d, TYPE_RING, "ring", Ring(), {TAKE});
    Item(d, TYPE_BREAD, "bread", Bread(), {TAKE});
    Item(d, TYPE_HAM, "ham", Ham(), {TAKE});
    {
        ObjectRecord& r = NewItem(d, TYPE_APPLE, "apple");
        r.Add(CUMULATIVE).Add(TAKE);
        Single(d, r, Apple());
    }
    Item(d, TYPE_FISH, "fish", Fish(), {TAKE});
    Item(d, TYPE_CHEESE, "cheese", Cheese(), {TAKE});
    Item(d, TYPE_BLANK_RUNE, "blank rune", Rune(nullptr, 0), {TAKE});
    Item(d, TYPE_FIRE_RUNE, "fire rune", Rune(&pal::FIRE, 0), {TAKE, MULTIUSE});
    Item(d, TYPE_HEALING_RUNE, "healing rune", Rune(&pal::POISON, 1), {TAKE, MULTIUSE});
    Item(d, TYPE_ENERGY_RUNE, "energy rune", Rune(&pal::ENERGY, 2), {TAKE, MULTIUSE});
    Item(d, TYPE_ROPE, "rope", Rope(), {TAKE, MULTIUSE});
    Item(d, TYPE_SHOVEL, "shovel", Shovel(), {TAKE, MULTIUSE});
    Item(d, TYPE_PICK, "pick", Pick(), {TAKE, MULTIUSE});
    Item(d, TYPE_FISHING_ROD, "fishing rod", FishingRod(), {TAKE, MULTIUSE});
    Item(d, TYPE_KEY, "key", Key(), {TAKE, MULTIUSE});
    Item(d, TYPE_CORPSE_HUMAN, "human corpse", CorpseHuman(), {CONTAINER, UNMOVE});
    Item(d, TYPE_CORPSE_BEAST, "beast corpse", CorpseBeast(), {CONTAINER, UNMOVE});
}

}  // namespace gen
