// Creatures. Humans are built from parts (legs, body, arms, head, hair) in
// four directions and three phases (standing, two strides); the parts that
// take the player's outfit colours are drawn in shaded greys and marked in the
// colour mask (yellow head, red body, green legs, blue feet). Animals and
// monsters are one layer in their own colours.
#include "Builders.h"
#include "world/TypeNumbers.h"

#include <cmath>
#include <functional>

namespace gen {

using namespace art;

namespace {

const Color ONE(1, 1, 1);

enum Region { R_REAL, R_HEAD, R_BODY, R_LEGS, R_FEET };

struct Figure {
    Canvas Image{32, 32}, Mask{32, 32};
    bool Mirror = false;
    int Width = 32;
    double X(double x) const { return Mirror ? Width - x : x; }

    // Paints one part: the shape is built by `shape` in unmirrored
    // coordinates through X(), shaded with the ramp, and recorded in the mask.
    void Part(const std::function<void(Canvas&)>& shape, const Ramp& ramp, Region region, ShadeStyle st = {}) {
        Canvas m(Image.Width(), Image.Height());
        shape(m);
        ShadeVolume(Image, m, ramp, 0, 0, st);
        static const Color colors[] = {CLEAR, pal::MASK_HEAD, pal::MASK_BODY, pal::MASK_LEGS, pal::MASK_FEET};
        for (int y = 0; y < m.Height(); ++y)
            for (int x = 0; x < m.Width(); ++x)
                if (m.Filled(x, y)) Mask.Set(x, y, colors[region]);
    }
    void Ellipse(Canvas& m, double cx, double cy, double rx, double ry) const { m.FillEllipse(X(cx), cy, rx, ry, ONE); }
    void Line(Canvas& m, double x0, double y0, double x1, double y1, double w) const {
        m.ThickLine(X(x0), y0, X(x1), y1, w, ONE);
    }
    void Poly(Canvas& m, std::vector<double> xy) const {
        for (size_t i = 0; i < xy.size(); i += 2) xy[i] = X(xy[i]);
        m.FillPolygon(xy, ONE);
    }
    void Dot(double x, double y, Color c) { Image.Set(int(std::floor(X(x + 0.5))), int(y), c); }
};

enum Style { CITIZEN, WOMAN, KNIGHT, MAGE, HUNTER, SKELETON, ORC };

struct Look {
    const Ramp* Skin = &pal::SKIN;
    const Ramp* Hair = &pal::GREY;
    const Ramp* Body = &pal::GREY;
    const Ramp* Legs = &pal::GREY;
    const Ramp* Feet = &pal::GREY;
    bool Masked = true;
};

// dir: 0 north, 1 east, 2 south, 3 west; phase 0 standing, 1 and 2 strides.
Figure Humanoid(Style style, int dir, int phase) {
    Figure f;
    f.Mirror = dir == 3;
    Look look;
    if (style == SKELETON) look = Look{&pal::BONE, &pal::BONE, &pal::BONE, &pal::BONE, &pal::BONE, false};
    if (style == ORC) look = Look{&pal::SLIME, &pal::FUR, &pal::LEATHER, &pal::FUR, &pal::LEATHER, false};
    Region head = look.Masked ? R_HEAD : R_REAL, body = look.Masked ? R_BODY : R_REAL;
    Region legs = look.Masked ? R_LEGS : R_REAL, feet = look.Masked ? R_FEET : R_REAL;
    const Ramp& skin = *look.Skin;
    int s = phase == 1 ? 1 : phase == 2 ? -1 : 0;  // stride
    bool side = dir == 1 || dir == 3;
    bool robe = style == MAGE || style == WOMAN;
    double bulk = style == ORC ? 1.0 : 0.0;
    const double hipY = 21, footY = 29;

    if (!side) {
        // legs and feet, stepping by turns
        for (int k = 0; k < 2; ++k) {
            double x = k == 0 ? 13.5 : 18.5;
            double lift = (k == 0 ? s : -s);
            double bottom = footY - 1 - std::max(0.0, lift);
            if (!robe || true)
                f.Part([&](Canvas& m) { m.FillRect(int(f.X(x) - 1.5 - (style == SKELETON ? -0.5 : 0.5)), int(hipY), style == SKELETON ? 2 : 4, int(bottom - hipY), ONE); },
                       *look.Legs, legs, ShadeStyle{0.8, 1});
            f.Part([&](Canvas& m) { f.Ellipse(m, x, bottom + 0.5, 2.6, 1.6); }, *look.Feet, feet, ShadeStyle{1.0, 1});
        }
        // arms swing against the legs
        for (int k = 0; k < 2; ++k) {
            double x = k == 0 ? 9.5 - bulk : 22.5 + bulk;
            double sw = k == 0 ? -s : s;
            const Ramp& armRamp = style == KNIGHT ? pal::METAL : style == SKELETON ? pal::BONE : *look.Body;
            Region armRegion = style == KNIGHT || !look.Masked ? R_REAL : body;
            if (style == SKELETON) armRegion = R_REAL;
            f.Part([&](Canvas& m) { f.Line(m, x, 14, x, 19.5 + sw, style == SKELETON ? 1.6 : 3.2); }, armRamp, armRegion,
                   ShadeStyle{1.0, 1});
            f.Part([&](Canvas& m) { f.Ellipse(m, x, 20.5 + sw, 1.7, 1.7); }, skin, R_REAL, ShadeStyle{1.0, 1});
        }
        // body
        f.Part(
            [&](Canvas& m) {
                if (robe) f.Poly(m, {11, 12, 21, 12, style == WOMAN ? 24.0 : 23.0, 27, style == WOMAN ? 8.0 : 9.0, 27});
                else if (style == SKELETON) {
                    m.FillRect(15, 12, 2, 10, ONE);
                    for (int r = 0; r < 3; ++r) f.Line(m, 12, 13.5 + r * 2.2, 20, 13.5 + r * 2.2, 1.1);
                    f.Line(m, 12.5, 21, 19.5, 21, 1.5);
                } else
                    f.Poly(m, {10.5 - bulk, 12, 21.5 + bulk, 12, 21 + bulk, 22, 11 - bulk, 22});
            },
            style == SKELETON ? pal::BONE : *look.Body, style == SKELETON ? R_REAL : body, ShadeStyle{0.9, 2});
        if (style == KNIGHT) {
            f.Part([&](Canvas& m) { f.Ellipse(m, 10.5, 13, 2.8, 2.2); f.Ellipse(m, 21.5, 13, 2.8, 2.2); }, pal::METAL, R_REAL,
                   ShadeStyle{1.2, 1});
            f.Part([&](Canvas& m) { m.FillRect(11, 19, 10, 2, ONE); }, pal::LEATHER, R_REAL, ShadeStyle{0.5, 1});
        }
        if (style == HUNTER || style == CITIZEN) f.Part([&](Canvas& m) { m.FillRect(11, 19, 10, 2, ONE); }, pal::LEATHER, R_REAL, ShadeStyle{0.5, 1});
        if (style == HUNTER && dir == 0) f.Part([&](Canvas& m) { f.Line(m, 12, 20, 19, 11, 3.4); }, pal::LEATHER, R_REAL);
        // head
        double hy = 8;
        f.Part([&](Canvas& m) { f.Ellipse(m, 16, hy, 4.6 + bulk * 0.4, 4.8); }, skin, R_REAL, ShadeStyle{1.2, 2});
        if (dir == 2 && style != KNIGHT) {
            Color eye = style == SKELETON ? pal::STONE[0] : style == ORC ? pal::FIRE[4] : skin[0];
            f.Image.Set(14, 9, eye), f.Image.Set(18, 9, eye);
            if (style == SKELETON) f.Image.Set(14, 10, eye), f.Image.Set(18, 10, eye), f.Image.HLine(14, 12, 5, pal::BONE[1]);
        }
        // hair, helmet, hood or hat
        if (style == KNIGHT) {
            f.Part([&](Canvas& m) { f.Ellipse(m, 16, 7.5, 5.2, 5.6); m.FillRect(10, 12, 13, 2, ONE); }, pal::METAL, R_REAL, ShadeStyle{1.3, 2});
            if (dir == 2) f.Image.HLine(13, 9, 7, pal::METAL[0]), f.Image.VLine(16, 9, 3, pal::METAL[0]);
            f.Part([&](Canvas& m) { f.Ellipse(m, 16, 1.8, 1.8, 2.4); m.FillRect(15, 1, 3, 3, ONE); }, *look.Hair, head, ShadeStyle{1.0, 1});
        } else if (style == MAGE) {
            f.Part([&](Canvas& m) { f.Poly(m, {9.5, 9, 22.5, 9, 17.5, -1, 14.5, 0}); }, *look.Hair, head, ShadeStyle{1.0, 2});
            if (dir == 2) f.Part([&](Canvas& m) { m.FillRect(12, 9, 9, 1, ONE); }, *look.Hair, head, ShadeStyle{0.5, 1, -1});
        } else if (style == HUNTER) {
            f.Part([&](Canvas& m) { f.Ellipse(m, 16, 5.5, 5.6, 3.2); m.FillRect(8, 6, 17, 2, ONE); }, *look.Hair, head, ShadeStyle{1.0, 1});
            f.Part([&](Canvas& m) { f.Line(m, 20, 4, 25, 0, 1.2); }, pal::CLOTH_RED, R_REAL, ShadeStyle{0.5, 1, 1});
        } else if (style != SKELETON) {
            bool longHair = style == WOMAN;
            f.Part(
                [&](Canvas& m) {
                    f.Ellipse(m, 16, 6, 5, 3.6);
                    if (dir == 0) f.Ellipse(m, 16, 8.5, 4.8, 4.2);
                    if (longHair) m.FillRect(int(f.X(11)) - (f.Mirror ? 2 : 0), 6, 2, dir == 0 ? 11 : 9, ONE), m.FillRect(int(f.X(20)) - (f.Mirror ? 0 : 0), 6, 2, dir == 0 ? 11 : 9, ONE);
                    if (longHair && dir == 0) m.FillRect(12, 8, 9, 8, ONE);
                },
                style == ORC ? pal::FUR : *look.Hair, head, ShadeStyle{1.1, 2});
        }
    } else {
        // side view: far limbs first, darker
        double lx = 16, legSpread = 3.2 * s;
        for (int k = 0; k < 2; ++k) {
            double sp = k == 0 ? -legSpread : legSpread;  // k 0 far, 1 near
            int bias = k == 0 ? -1 : 0;
            f.Part([&](Canvas& m) { f.Line(m, lx, hipY - 0.5, lx + sp, footY - 1.5, style == SKELETON ? 1.8 : 3.4); }, *look.Legs, legs,
                   ShadeStyle{0.8, 1, bias});
            f.Part([&](Canvas& m) { f.Ellipse(m, lx + sp + 1.2, footY - 1, 2.6, 1.5); }, *look.Feet, feet, ShadeStyle{1.0, 1, bias});
            if (k == 0) {
                // far arm behind the body
                f.Part([&](Canvas& m) { f.Line(m, 16, 14, 16 + 2.5 * s, 20, 2.8); }, style == KNIGHT ? pal::METAL : *look.Body,
                       style == KNIGHT || !look.Masked ? R_REAL : body, ShadeStyle{1.0, 1, -1});
            }
        }
        if (style == HUNTER) f.Part([&](Canvas& m) { f.Line(m, 12, 21, 12, 11, 3.4); }, pal::LEATHER, R_REAL);
        f.Part(
            [&](Canvas& m) {
                if (robe) f.Poly(m, {13, 12, 19.5, 12, 21.5, 27, 11, 27});
                else if (style == SKELETON) { f.Line(m, 15.5, 12, 15.5, 21, 2); for (int r = 0; r < 3; ++r) f.Line(m, 14, 13.5 + r * 2.2, 19, 13.5 + r * 2.2, 1.1); }
                else f.Poly(m, {12.5 - bulk, 12, 19.5 + bulk, 12, 19.5 + bulk, 22, 12.5 - bulk, 22});
            },
            style == SKELETON ? pal::BONE : *look.Body, style == SKELETON ? R_REAL : body, ShadeStyle{0.9, 2});
        if (style == CITIZEN || style == HUNTER || style == KNIGHT)
            f.Part([&](Canvas& m) { f.Line(m, 12.5, 19.5, 19.5, 19.5, 1.8); }, pal::LEATHER, R_REAL, ShadeStyle{0.5, 1});
        // near arm and hand
        f.Part([&](Canvas& m) { f.Line(m, 16, 14, 16 - 2.5 * s, 19.5, style == SKELETON ? 1.6 : 3); },
               style == KNIGHT ? pal::METAL : style == SKELETON ? pal::BONE : *look.Body,
               style == KNIGHT || !look.Masked ? R_REAL : body, ShadeStyle{1.0, 1});
        f.Part([&](Canvas& m) { f.Ellipse(m, 16 - 2.5 * s, 20.5, 1.6, 1.6); }, skin, R_REAL, ShadeStyle{1.0, 1});
        if (style == MAGE) f.Part([&](Canvas& m) { f.Line(m, 17.5 - 2.5 * s, 28, 19.5 - 2.5 * s, 4, 1.4); }, pal::TIMBER, R_REAL);
        // head, facing east (or west when mirrored)
        f.Part([&](Canvas& m) { f.Ellipse(m, 16.8, 8, 4.4, 4.8); }, skin, R_REAL, ShadeStyle{1.2, 2});
        Color eye = style == SKELETON ? pal::STONE[0] : style == ORC ? pal::FIRE[4] : skin[0];
        if (style != KNIGHT) f.Dot(19, 8, eye);
        if (style == KNIGHT) {
            f.Part([&](Canvas& m) { f.Ellipse(m, 16.5, 7.5, 5, 5.6); m.FillRect(int(f.X(12)) - (f.Mirror ? 9 : 0), 12, 10, 2, ONE); }, pal::METAL, R_REAL, ShadeStyle{1.3, 2});
            f.Dot(19, 9, pal::METAL[0]), f.Dot(20, 9, pal::METAL[0]), f.Dot(18, 9, pal::METAL[0]);
            f.Part([&](Canvas& m) { f.Ellipse(m, 15, 1.8, 2.6, 1.8); }, *look.Hair, head, ShadeStyle{1.0, 1});
        } else if (style == MAGE) {
            f.Part([&](Canvas& m) { f.Poly(m, {10, 9, 23, 9, 15.5, -1, 13, 0}); }, *look.Hair, head, ShadeStyle{1.0, 2});
        } else if (style == HUNTER) {
            f.Part([&](Canvas& m) { f.Ellipse(m, 16, 5.5, 5.6, 3.2); m.FillRect(9, 6, 15, 2, ONE); }, *look.Hair, head, ShadeStyle{1.0, 1});
            f.Part([&](Canvas& m) { f.Line(m, 12, 4, 7, 0, 1.2); }, pal::CLOTH_RED, R_REAL, ShadeStyle{0.5, 1, 1});
        } else if (style != SKELETON) {
            bool longHair = style == WOMAN;
            f.Part(
                [&](Canvas& m) {
                    f.Ellipse(m, 15.5, 6, 4.8, 3.6);
                    f.Ellipse(m, 13.6, 8.5, 2.8, 3.6);
                    if (longHair) f.Poly(m, {11.5, 7, 15, 7, 14.5, 17, 11, 16});
                },
                style == ORC ? pal::FUR : *look.Hair, head, ShadeStyle{1.1, 2});
        }
    }
    return f;
}

void HumanOutfit(DataSet& d, int type, const char* name, Style style) {
    ObjectRecord& r = NewOutfit(d, type, name);
    r.Add(SHIFT, {8, 8});
    bool masked = style != SKELETON && style != ORC;
    r.Shape(1, 1, masked ? 2 : 1, 4, 1, 1, 3);
    for (int dir = 0; dir < 4; ++dir)
        for (int ph = 0; ph < 3; ++ph) {
            Figure f = Humanoid(style, dir, ph);
            r.Put(1, 1, 1, dir + 1, 1, 1, ph + 1, d.Sprites.Add(f.Image));
            if (masked) r.Put(1, 1, 2, dir + 1, 1, 1, ph + 1, d.Sprites.Add(f.Mask));
        }
}

// ---- animals and monsters ----------------------------------------------------------

// Four-legged animal: body ellipse, head, legs; side view for east and west,
// foreshortened for north and south.
Canvas Quadruped(int dir, int phase, const Ramp& fur, double size, bool rat) {
    Figure f;
    f.Mirror = dir == 3;
    int s = phase == 1 ? 1 : phase == 2 ? -1 : 0;
    double cy = 30 - size * 0.75;
    if (dir == 1 || dir == 3) {
        double bx = 15, len = size * 0.9;
        for (int k = 0; k < 4; ++k) {
            double x = bx + (k < 2 ? len * 0.55 : -len * 0.55) + (k % 2 ? 1 : -1) * 0.8;
            double sw = ((k == 0 || k == 3) ? s : -s) * 1.8;
            int bias = k % 2 ? -1 : 0;
            f.Part([&](Canvas& m) { f.Line(m, x, cy, x + sw, 29.5, rat ? 1.4 : 2.4); }, fur, R_REAL, ShadeStyle{0.7, 1, bias});
        }
        if (rat) f.Part([&](Canvas& m) { f.Line(m, bx - len, cy + 1, bx - len - 8, cy + 4 + s, 1.2); }, pal::SKIN, R_REAL, ShadeStyle{0.5, 1, -1});
        else f.Part([&](Canvas& m) { f.Line(m, bx - len, cy - 1, bx - len - 5, cy + 3, 3); }, fur, R_REAL, ShadeStyle{1.0, 1});
        f.Part([&](Canvas& m) { f.Ellipse(m, bx, cy, len, size * 0.42); }, fur, R_REAL, ShadeStyle{1.2, 2});
        double hx = bx + len + size * 0.15, hy = cy - size * 0.3;
        f.Part([&](Canvas& m) { f.Ellipse(m, hx, hy, size * 0.32, size * 0.27); f.Line(m, hx, hy + 1, hx + size * 0.4, hy + size * 0.12, size * 0.2); }, fur, R_REAL,
               ShadeStyle{1.2, 1});
        f.Part([&](Canvas& m) { f.Poly(m, {hx - 2, hy - size * 0.2, hx, hy - size * 0.5, hx + 1, hy - size * 0.15}); }, fur, R_REAL, ShadeStyle{0.8, 1});
        f.Dot(hx + 1.5, int(hy), rat ? pal::CLOTH_RED[3] : pal::STONE[0]);
        f.Dot(hx + size * 0.45, int(hy + size * 0.12), pal::STONE[0]);
    } else {
        bool front = dir == 2;
        for (int k = 0; k < 4; ++k) {
            double x = 16 + (k % 2 ? 1 : -1) * size * 0.28;
            double y = cy + (k < 2 ? -2 : 2);
            double lift = ((k == 0 || k == 3) ? s : -s);
            f.Part([&](Canvas& m) { f.Line(m, x, y, x, 29.5 - std::max(0.0, lift), rat ? 1.4 : 2.6); }, fur, R_REAL, ShadeStyle{0.7, 1, k < 2 ? -1 : 0});
        }
        if (!front) f.Part([&](Canvas& m) { f.Line(m, 16, cy, 16 + s, cy + size * 0.7, rat ? 1.2 : 3); }, rat ? pal::SKIN : fur, R_REAL);
        f.Part([&](Canvas& m) { f.Ellipse(m, 16, cy, size * 0.4, size * 0.55); }, fur, R_REAL, ShadeStyle{1.2, 2});
        if (front) {
            double hy = cy - size * 0.05;
            f.Part([&](Canvas& m) { f.Ellipse(m, 16, hy, size * 0.3, size * 0.28); f.Poly(m, {16 - size * 0.3, hy - 1, 16 - size * 0.2, hy - size * 0.5, 16 - size * 0.05, hy - size * 0.2}); f.Poly(m, {16 + size * 0.3, hy - 1, 16 + size * 0.2, hy - size * 0.5, 16 + size * 0.05, hy - size * 0.2}); }, fur, R_REAL, ShadeStyle{1.2, 1});
            f.Image.Set(int(16 - size * 0.12), int(hy), rat ? pal::CLOTH_RED[3] : pal::STONE[0]);
            f.Image.Set(int(16 + size * 0.12), int(hy), rat ? pal::CLOTH_RED[3] : pal::STONE[0]);
            f.Image.Set(16, int(hy + size * 0.18), pal::STONE[0]);
        } else {
            double hy = cy - size * 0.45;
            f.Part([&](Canvas& m) { f.Ellipse(m, 16, hy, size * 0.26, size * 0.22); f.Poly(m, {16 - size * 0.26, hy, 16 - size * 0.18, hy - size * 0.42, 16 - size * 0.02, hy - size * 0.1}); f.Poly(m, {16 + size * 0.26, hy, 16 + size * 0.18, hy - size * 0.42, 16 + size * 0.02, hy - size * 0.1}); }, fur, R_REAL, ShadeStyle{1.2, 1});
        }
    }
    return f.Image;
}

Canvas Spider(int dir, int phase) {
    Figure f;
    int s = phase == 1 ? 1 : phase == 2 ? -1 : 0;
    for (int k = 0; k < 8; ++k) {
        double side = k < 4 ? -1 : 1;
        double a = (k % 4) * 0.5 - 0.75;
        double sw = (k % 2 ? s : -s) * 1.5;
        double kx = 16 + side * (7 + std::cos(a) * 2), ky = 19 + std::sin(a) * 6 - 4;
        double fx = 16 + side * (13 - std::fabs(a) * 2), fy = 22 + std::sin(a) * 8 + sw;
        f.Part([&](Canvas& m) { m.ThickLine(16 + side * 3, 20 + std::sin(a) * 2, kx, ky, 1.6, ONE); m.ThickLine(kx, ky, fx, fy, 1.3, ONE); },
               pal::FUR, R_REAL, ShadeStyle{0.6, 1, -1});
    }
    double by = dir == 0 ? 17 : 22, hy = dir == 0 ? 24 : 15;
    if (dir == 1 || dir == 3) by = 20, hy = 20;
    double bx = dir == 1 ? 13 : dir == 3 ? 19 : 16, hx = dir == 1 ? 21 : dir == 3 ? 11 : 16;
    f.Part([&](Canvas& m) { m.FillEllipse(bx, by, 7, 6, ONE); }, pal::FUR, R_REAL, ShadeStyle{1.3, 2, -1});
    f.Part([&](Canvas& m) { m.FillEllipse(hx, hy, 4, 3.5, ONE); }, pal::FUR, R_REAL, ShadeStyle{1.3, 1, -1});
    f.Image.Set(int(bx) - 1, int(by) - 2, pal::CLOTH_RED[4]);
    f.Image.Set(int(bx), int(by) - 1, pal::CLOTH_RED[3]);
    if (dir != 0) f.Image.Set(int(hx) - 1, int(hy), pal::CLOTH_RED[5]), f.Image.Set(int(hx) + 1, int(hy), pal::CLOTH_RED[5]);
    return f.Image;
}

Canvas Slime(int phase) {
    // idle wobble: squashed, round, stretched, round
    double sq[] = {1.0, 1.12, 1.0, 0.9};
    double k = sq[phase];
    Canvas c(32, 32);
    Canvas m(32, 32);
    m.FillEllipse(16, 29 - 7 * (2 - k), 10 * k, 8 * (2 - k), ONE);
    m.FillRect(0, 29, 32, 3, CLEAR);
    ShadeVolume(c, m, pal::SLIME, 0, 0, ShadeStyle{1.3, 3});
    c.FillEllipse(12, 21 - (k - 1) * 6, 1.2, 1.6, pal::SLIME[0]);
    c.FillEllipse(19, 21 - (k - 1) * 6, 1.2, 1.6, pal::SLIME[0]);
    c.Set(11, 18 - int((k - 1) * 6), pal::SLIME[5]);
    return c;
}

Canvas Bat(int dir, int phase) {
    Figure f;
    f.Mirror = dir == 3;
    double lift[] = {-6, 0, 5};
    double l = lift[phase];
    for (int side = -1; side <= 1; side += 2) {
        f.Part([&](Canvas& m) { f.Poly(m, {16, 13, 16 + side * 13.0, 12 + l, 16 + side * 11.0, 17 + l * 0.5, 16 + side * 7.0, 15, 16 + side * 4.0, 18}); },
               pal::MAGIC, R_REAL, ShadeStyle{0.6, 1, -1});
    }
    f.Part([&](Canvas& m) { f.Ellipse(m, 16, 15, 3.4, 4.5); }, pal::FUR, R_REAL, ShadeStyle{1.2, 1, -1});
    f.Part([&](Canvas& m) { f.Poly(m, {13.5, 12, 14.5, 8, 16, 11}); f.Poly(m, {18.5, 12, 17.5, 8, 16, 11}); }, pal::FUR, R_REAL, ShadeStyle{0.5, 1, -1});
    if (dir != 0) f.Image.Set(15, 13, pal::CLOTH_RED[5]), f.Image.Set(17, 13, pal::CLOTH_RED[5]);
    // hovering: lift the whole body with the wings
    Canvas out(32, 32);
    out.Draw(f.Image, 0, -4 - (phase == 0 ? 1 : 0));
    return out;
}

Canvas Ghost(int dir, int phase) {
    Figure f;
    f.Mirror = dir == 3;
    double bob = std::sin(phase * 3.14159 / 2) * 1.5;
    f.Part(
        [&](Canvas& m) {
            f.Ellipse(m, 16, 10 + bob, 7, 7);
            m.FillRect(9, int(10 + bob), 15, 12, ONE);
            for (int k = 0; k < 4; ++k) m.FillEllipse(10.5 + k * 3.7, 22 + bob + ((k + phase) % 2) * 1.5, 1.9, 2.2, ONE);
        },
        pal::ENERGY, R_REAL, ShadeStyle{1.1, 3, 2});
    if (dir != 0) {
        double ex = dir == 1 ? 2 : dir == 3 ? 2 : 0;
        f.Image.FillRect(int(f.X(13 + ex)), int(9 + bob), 2, 3, pal::ENERGY[0]);
        f.Image.FillRect(int(f.X(18 + ex)) - (f.Mirror ? 1 : 0), int(9 + bob), 2, 3, pal::ENERGY[0]);
    }
    return f.Image;
}

Canvas Chicken(int dir, int phase) {
    Figure f;
    f.Mirror = dir == 3;
    int s = phase == 1 ? 1 : phase == 2 ? -1 : 0;
    f.Part([&](Canvas& m) { f.Line(m, 15, 25, 15 + s, 29, 1); f.Line(m, 17, 25, 17 - s, 29, 1); }, pal::GOLD, R_REAL, ShadeStyle{0.5, 1});
    bool side = dir == 1 || dir == 3;
    f.Part([&](Canvas& m) { f.Ellipse(m, side ? 15 : 16, 22, side ? 6 : 5, 4.5); if (side) f.Poly(m, {10, 21, 8, 16, 12, 19}); }, pal::BONE, R_REAL, ShadeStyle{1.2, 2, 1});
    double hx = side ? 20 : 16, hy = dir == 0 ? 17 : 16.5;
    f.Part([&](Canvas& m) { f.Ellipse(m, hx, hy, 2.6, 2.8); }, pal::BONE, R_REAL, ShadeStyle{1.2, 1, 1});
    f.Part([&](Canvas& m) { f.Ellipse(m, hx - (side ? 0.5 : 0), hy - 3, 1.2, 1.3); }, pal::CLOTH_RED, R_REAL, ShadeStyle{0.5, 1, 1});
    if (dir != 0) {
        if (side) f.Dot(hx + 2.3, int(hy), pal::GOLD[4]), f.Dot(hx + 0.8, int(hy) - 1, pal::STONE[0]);
        else f.Image.Set(16, int(hy) + 1, pal::GOLD[4]), f.Image.Set(15, int(hy) - 1, pal::STONE[0]), f.Image.Set(17, int(hy) - 1, pal::STONE[0]);
    }
    return f.Image;
}

// A dragon filling 2 x 2 fields.
Canvas Dragon(int dir, int phase) {
    Figure f;
    f.Width = 64;
    f.Image = Canvas(64, 64), f.Mask = Canvas(64, 64);
    f.Mirror = dir == 3;
    int s = phase == 1 ? 1 : phase == 2 ? -1 : 0;
    const Ramp& hide = pal::CLOTH_RED;
    double wing = s * 3;
    bool side = dir == 1 || dir == 3;
    // far wing, tail, legs, body, near wing, neck, head
    f.Part([&](Canvas& m) { f.Poly(m, {30, 30, 18, 6 + wing, 40, 14 + wing, 44, 24}); }, pal::ROOF, R_REAL, ShadeStyle{0.7, 2, -1});
    if (side) f.Part([&](Canvas& m) { f.Line(m, 22, 44, 6, 52 + s, 5); f.Line(m, 6, 52 + s, 2, 46, 3); }, hide, R_REAL, ShadeStyle{1.0, 2});
    else f.Part([&](Canvas& m) { f.Line(m, 32, 44, 44, 58, 5); }, hide, R_REAL, ShadeStyle{1.0, 2, -1});
    for (int k = 0; k < 4; ++k) {
        double x = side ? (k < 2 ? 40 : 24) + (k % 2) * 3 : 24 + k * 5.5;
        double sw = ((k == 0 || k == 3) ? s : -s) * 2.5;
        f.Part([&](Canvas& m) { f.Line(m, x, 44, x + (side ? sw : 0), 60 - (side ? 0 : std::max(0.0, sw)), 5); }, hide, R_REAL, ShadeStyle{0.9, 1, k % 2 ? -1 : 0});
    }
    f.Part([&](Canvas& m) { f.Ellipse(m, 32, 42, side ? 16 : 12, 10); }, hide, R_REAL, ShadeStyle{1.2, 4});
    f.Part([&](Canvas& m) { f.Ellipse(m, 32, 46, side ? 11 : 7, 5); }, pal::GOLD, R_REAL, ShadeStyle{1.0, 2, -1});  // belly
    f.Part([&](Canvas& m) { f.Poly(m, {34, 34, 50, 6 - wing, 60, 20 - wing, 50, 30}); }, pal::ROOF, R_REAL, ShadeStyle{0.7, 2});
    double hx = side ? 50 : 32, hy = dir == 0 ? 26 : 22;
    f.Part([&](Canvas& m) { f.Line(m, side ? 40 : 32, 36, hx, hy + 4, 7); }, hide, R_REAL, ShadeStyle{1.2, 2});
    f.Part([&](Canvas& m) { f.Ellipse(m, hx, hy, 6, 5); if (side) f.Line(m, hx, hy + 1, hx + 8, hy + 3, 4.5); f.Poly(m, {hx - 4, hy - 3, hx - 7, hy - 10, hx - 1, hy - 4}); f.Poly(m, {hx + 2, hy - 4, hx + 2, hy - 11, hx + 5, hy - 3}); }, hide,
           R_REAL, ShadeStyle{1.2, 2});
    if (dir != 0) {
        if (side) f.Dot(hx + 1, int(hy) - 1, pal::FIRE[5]), f.Dot(hx + 2, int(hy) - 1, pal::FIRE[4]);
        else f.Image.Set(int(hx) - 3, int(hy), pal::FIRE[5]), f.Image.Set(int(hx) + 3, int(hy), pal::FIRE[5]);
    }
    return f.Image;
}

void Monster(DataSet& d, int type, const char* name, int phases, const std::function<Canvas(int, int)>& draw,
             std::initializer_list<int> flags = {}) {
    ObjectRecord& r = NewOutfit(d, type, name);
    for (int f : flags) {
        if (f == LIGHT) r.Add(LIGHT, {3, 29});
        else if (f == SHIFT) r.Add(SHIFT, {8, 8});
        else r.Add(f);
    }
    r.Shape(1, 1, 1, 4, 1, 1, phases);
    for (int dir = 0; dir < 4; ++dir)
        for (int ph = 0; ph < phases; ++ph) r.Put(1, 1, 1, dir + 1, 1, 1, ph + 1, d.Sprites.Add(draw(dir, ph)));
}

}  // namespace

void BuildOutfits(DataSet& d) {
    HumanOutfit(d, OUTFIT_CITIZEN, "citizen", CITIZEN);
    HumanOutfit(d, OUTFIT_WOMAN, "woman", WOMAN);
    HumanOutfit(d, OUTFIT_KNIGHT, "knight", KNIGHT);
    HumanOutfit(d, OUTFIT_MAGE, "mage", MAGE);
    HumanOutfit(d, OUTFIT_HUNTER, "hunter", HUNTER);
    Monster(d, OUTFIT_RAT, "rat", 3, [](int dir, int ph) { return Quadruped(dir, ph, pal::FUR, 11, true); });
    Monster(d, OUTFIT_WOLF, "wolf", 3, [](int dir, int ph) { return Quadruped(dir, ph, pal::FUR, 18, false); }, {SHIFT});
    HumanOutfit(d, OUTFIT_SKELETON, "skeleton", SKELETON);
    HumanOutfit(d, OUTFIT_ORC, "orc", ORC);
    Monster(d, OUTFIT_SPIDER, "spider", 3, Spider);
    Monster(d, OUTFIT_SLIME, "slime", 4, [](int, int ph) { return Slime(ph); }, {IDLEANIMATION});
    Monster(d, OUTFIT_BAT, "bat", 3, Bat, {IDLEANIMATION, SHIFT});
    Monster(d, OUTFIT_GHOST, "ghost", 4, Ghost, {IDLEANIMATION, LIGHT, SHIFT});
    {
        ObjectRecord& r = NewOutfit(d, OUTFIT_DRAGON, "dragon");
        r.Add(SHIFT, {8, 8});
        r.Shape(2, 2, 1, 4, 1, 1, 3);
        r.DisplaySize = 64;
        for (int dir = 0; dir < 4; ++dir)
            for (int ph = 0; ph < 3; ++ph) r.PutParts(d.Sprites.AddParts(Dragon(dir, ph), 2, 2), 1, dir + 1, 1, 1, ph + 1);
    }
    Monster(d, OUTFIT_CHICKEN, "chicken", 3, Chicken);
}

}  // namespace gen
