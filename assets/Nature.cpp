// Trees, bushes, rocks and small plants. Foliage is built from overlapping
// shaded clumps so the crown reads as leaves catching the light from the top
// left, not as one smooth ball.
#include "Builders.h"
#include "world/TypeNumbers.h"

#include <cmath>

namespace gen {

using namespace art;

namespace {

// A clump of foliage: a lumpy ball shaded as a volume, with leaf specks.
void Clump(Canvas& c, double cx, double cy, double r, uint32_t seed, const Ramp& ramp = pal::FOLIAGE) {
    Canvas m(c.Width(), c.Height());
    Random rnd(seed);
    for (int k = 0; k < 7; ++k) {
        double a = k * 2 * 3.14159 / 7 + rnd.Unit();
        m.FillEllipse(cx + std::cos(a) * r * 0.45, cy + std::sin(a) * r * 0.4, r * 0.62, r * 0.55, Color(1, 1, 1));
    }
    m.FillEllipse(cx, cy, r * 0.8, r * 0.72, Color(1, 1, 1));
    ShadeVolume(c, m, ramp, 0, 0, ShadeStyle{1.3, int(std::max(2.0, r / 3)), 0, true, 1});
    // leaf specks: small light strokes on the lit side, dark ones in shade
    for (int k = 0; k < int(r * r / 5); ++k) {
        int x = int(cx + (rnd.Unit() - 0.5) * 1.6 * r), y = int(cy + (rnd.Unit() - 0.5) * 1.4 * r);
        if (!m.Filled(x, y) || !m.Filled(x + 1, y + 1) || !m.Filled(x - 1, y - 1)) continue;
        bool lit = (x - cx) + (y - cy) < -r * 0.2;
        Color col = lit ? ramp[5] : (x - cx) + (y - cy) > r * 0.5 ? ramp[1] : ramp[3];
        c.Set(x, y, col);
        c.Set(x + 1, y, col);
    }
}

Canvas Oak() {
    Canvas c(64, 64);
    // trunk at the base field (bottom right), leaning up-left into the crown
    Canvas trunk(64, 64);
    trunk.FillPolygon({44, 62, 52, 62, 49, 40, 43, 38}, Color(1, 1, 1));
    trunk.FillPolygon({42, 62, 46, 58, 40, 60}, Color(1, 1, 1));
    ShadeVolume(c, trunk, pal::TIMBER, 0, 0, ShadeStyle{1.0, 2});
    Clump(c, 38, 36, 13, 1);
    Clump(c, 26, 26, 15, 2);
    Clump(c, 44, 22, 12, 3);
    Clump(c, 32, 14, 13, 4);
    Clump(c, 20, 38, 10, 5);
    return c;
}

Canvas Pine() {
    Canvas c(64, 64);
    Canvas trunk(64, 64);
    trunk.FillRect(45, 48, 5, 14, Color(1, 1, 1));
    ShadeVolume(c, trunk, pal::TIMBER, 0, 0, ShadeStyle{1.0, 1});
    // tiers of boughs, each a drooping triangle, smaller toward the top
    for (int k = 0; k < 5; ++k) {
        double cx = 46 - k * 3.2, base = 54 - k * 9.5, w = 20 - k * 3.2, h = 14;
        Canvas m(64, 64);
        m.FillPolygon({cx - w, base, cx, base - h, cx + w, base, cx + w * 0.5, base + 2, cx, base - 1, cx - w * 0.5,
                       base + 2},
                      Color(1, 1, 1));
        Canvas tier(64, 64);
        ShadeVolume(tier, m, pal::FOLIAGE, 0, 0, ShadeStyle{1.4, 3, -1, true, 1});
        c.Draw(tier, 0, 0);
    }
    return c;
}

Canvas Bush() {
    Canvas c(32, 32);
    Clump(c, 13, 19, 9, 7);
    Clump(c, 20, 21, 8, 8);
    Clump(c, 16, 14, 8, 9);
    // a few berries
    c.Set(11, 16, pal::CLOTH_RED[4]), c.Set(19, 19, pal::CLOTH_RED[4]), c.Set(15, 23, pal::CLOTH_RED[3]);
    return c;
}

Canvas Rock() {
    Canvas c(32, 32);
    Canvas m(32, 32);
    m.FillPolygon({4, 26, 7, 14, 14, 7, 23, 8, 28, 15, 29, 26, 20, 29, 9, 29}, Color(1, 1, 1));
    ShadeVolume(c, m, pal::STONE, 0, 0, ShadeStyle{1.2, 3});
    // a crack and moss on the top
    c.Line(15, 12, 18, 19, pal::STONE[1]);
    c.Line(18, 19, 17, 24, pal::STONE[1]);
    c.HLine(11, 9, 5, pal::GRASS[3]);
    c.HLine(12, 10, 3, pal::GRASS[2]);
    return c;
}

Canvas Flowers() {
    Canvas c(32, 32);
    Random r(31);
    const Color petals[] = {Hex(0xd9554a), Hex(0xe8c84a), Hex(0xdedad0), Hex(0x9a6ed0)};
    for (int k = 0; k < 7; ++k) {
        int x = r.Range(6, 25), y = r.Range(9, 26);
        c.Line(x, y, x, y + 4, pal::GRASS[2]);
        c.Set(x + 1, y + 3, pal::GRASS[4]);
        Color p = petals[k % 4];
        c.Set(x, y - 1, p), c.Set(x - 1, y, p), c.Set(x + 1, y, p), c.Set(x, y + 1, Mix(p, Hex(0x000000), 30));
        c.Set(x, y, pal::GOLD[5]);
    }
    return c;
}

Canvas Pebbles() {
    Canvas c(32, 32);
    Random r(41);
    for (int k = 0; k < 6; ++k) {
        double x = r.Range(7, 25), y = r.Range(8, 25), s = 1.8 + r.Unit() * 1.5;
        Ball(c, x, y, s * 1.2, s, pal::STONE, ShadeStyle{1.0, 1});
    }
    return c;
}

Canvas Reeds() {
    Canvas c(32, 32);
    Random r(51);
    for (int k = 0; k < 9; ++k) {
        int x = r.Range(5, 27), y = r.Range(20, 29), h = r.Range(10, 18);
        c.Line(x, y, x - 2, y - h, pal::GRASS[k % 2 ? 3 : 2]);
        c.Line(x + 1, y, x - 1, y - h + 1, pal::GRASS[1]);
        if (k % 3 == 0) c.FillRect(x - 3, y - h - 1, 2, 4, pal::EARTH[2]), c.Set(x - 3, y - h - 1, pal::EARTH[4]);
    }
    return c;
}

void Tree(DataSet& d, int type, const char* name, const Canvas& image) {
    ObjectRecord& r = NewItem(d, type, name);
    r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(AUTOMAP, {CubeColor(0, 2, 0)});
    r.Shape(2, 2, 1, 1, 1, 1, 1);
    r.DisplaySize = 64;
    r.PutParts(d.Sprites.AddParts(image, 2, 2), 1, 1, 1, 1, 1);
}

}  // namespace

void BuildNature(DataSet& d) {
    Tree(d, TYPE_OAK, "oak", Oak());
    Tree(d, TYPE_PINE, "pine", Pine());
    {
        ObjectRecord& r = NewItem(d, TYPE_BUSH, "bush");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(AUTOMAP, {CubeColor(0, 2, 0)});
        Single(d, r, Bush());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_ROCK, "rock");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(AUTOMAP, {CubeColor(2, 2, 2)});
        Single(d, r, Rock());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_FLOWERS, "flowers");
        r.Add(UNMOVE);
        Single(d, r, Flowers());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_PEBBLES, "pebbles");
        r.Add(UNMOVE);
        Single(d, r, Pebbles());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_REEDS, "reeds");
        r.Add(UNMOVE).Add(BOTTOM);
        Single(d, r, Reeds());
    }
}

}  // namespace gen
