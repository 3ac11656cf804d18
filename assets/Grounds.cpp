// Grounds and borders. Every ground is one seamless 64 x 64 texture cut into
// its four 32 x 32 variants, which the map picks by absolute position, so
// neighbouring fields always join and the repeat is two fields long.
#include "Builders.h"
#include "world/TypeNumbers.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace gen {

using namespace art;

namespace {

constexpr int P = 64;  // texture period

int Wrap(int v) { return ((v % P) + P) % P; }

// Tone from layered tileable noise, quantised to clustered steps.
int NoiseTone(int x, int y, uint32_t seed, int lo, int hi, int cells = 4) {
    double n = 0.65 * TileNoise(x, y, cells, P, seed) + 0.35 * TileNoise(x, y, cells * 2, P, seed + 17);
    int t = lo + int(n * (hi - lo + 1) * 0.999 + 0.0);
    return std::clamp(t, lo, hi);
}

// Seamless wrap-around set.
void SetW(Canvas& c, int x, int y, Color col) { c.Set(Wrap(x), Wrap(y), col); }

Canvas Grass(uint32_t seed) {
    Canvas c(P, P);
    for (int y = 0; y < P; ++y)
        for (int x = 0; x < P; ++x) c.Set(x, y, pal::GRASS[size_t(NoiseTone(x, y, seed, 2, 3))]);
    // Tufts: a dark root and blades that catch the light on their left.
    Random r(seed);
    for (int i = 0; i < 70; ++i) {
        int x = r.Range(0, P - 1), y = r.Range(0, P - 1);
        int tall = r.Range(2, 3);
        SetW(c, x + 1, y + 1, pal::GRASS[1]);
        for (int k = 0; k < tall; ++k) SetW(c, x, y - k, pal::GRASS[k == tall - 1 ? 5 : 4]);
        if (r.Range(0, 2) == 0) SetW(c, x - 1, y, pal::GRASS[4]);
        if (r.Range(0, 2) == 0) SetW(c, x + 2, y - 1, pal::GRASS[4]);
    }
    for (int i = 0; i < 4; ++i) {  // a few flowers in the meadow
        int x = r.Range(0, P - 1), y = r.Range(0, P - 1);
        Color petal = i % 2 ? Hex(0xe8d46a) : Hex(0xe6e0cf);
        SetW(c, x, y, petal);
        SetW(c, x + 1, y + 1, pal::GRASS[1]);
    }
    return c;
}

Canvas Dirt(uint32_t seed) {
    Canvas c(P, P);
    for (int y = 0; y < P; ++y)
        for (int x = 0; x < P; ++x) c.Set(x, y, pal::EARTH[size_t(NoiseTone(x, y, seed, 2, 3, 8))]);
    Random r(seed);
    for (int i = 0; i < 26; ++i) {  // pebbles, lit from the top left
        int x = r.Range(0, P - 1), y = r.Range(0, P - 1);
        SetW(c, x, y, pal::STONE[4]);
        SetW(c, x + 1, y, pal::STONE[3]);
        SetW(c, x, y + 1, pal::STONE[2]);
        SetW(c, x + 1, y + 1, pal::EARTH[1]);
    }
    return c;
}

Canvas Sand(uint32_t seed) {
    Canvas c(P, P);
    for (int y = 0; y < P; ++y)
        for (int x = 0; x < P; ++x) {
            // wind ripples: diagonal bands bent by noise
            double n = TileNoise(x, y, 4, P, seed);
            double band = std::sin((x * 2 + y * 4) * 3.14159 / 32 * 2 + n * 6);
            int t = band > 0.75 ? 4 : band < -0.8 ? 2 : 3;
            if (TileNoise(x, y, 8, P, seed + 5) > 0.78) t = std::min(5, t + 1);
            c.Set(x, y, pal::SAND[size_t(t)]);
        }
    Random r(seed);
    for (int i = 0; i < 14; ++i) {
        int x = r.Range(0, P - 1), y = r.Range(0, P - 1);
        SetW(c, x, y, pal::SAND[1]);
        SetW(c, x - 1, y - 1, pal::SAND[5]);
    }
    return c;
}

// Irregular stones by wrapped Voronoi cells; each stone is shaded as a low
// dome, the joints are dark.
Canvas Stones(uint32_t seed, const Ramp& ramp, int cells, int jointTone, int baseLo) {
    Canvas c(P, P);
    Random r(seed);
    std::vector<std::pair<double, double>> pts;
    int g = cells;
    for (int j = 0; j < g; ++j)
        for (int i = 0; i < g; ++i)
            pts.push_back({(i + 0.2 + 0.6 * r.Unit()) * P / g, (j + 0.2 + 0.6 * r.Unit()) * P / g});
    std::vector<int> tone(pts.size());
    for (int& t : tone) t = baseLo + r.Range(0, 1);
    for (int y = 0; y < P; ++y)
        for (int x = 0; x < P; ++x) {
            double best = 1e9, second = 1e9;
            int id = 0;
            double bdx = 0, bdy = 0;
            for (size_t k = 0; k < pts.size(); ++k)
                for (int oy = -1; oy <= 1; ++oy)
                    for (int ox = -1; ox <= 1; ++ox) {
                        double dx = x + 0.5 - (pts[k].first + ox * P), dy = y + 0.5 - (pts[k].second + oy * P);
                        double d = std::sqrt(dx * dx + dy * dy);
                        if (d < best) second = best, best = d, id = int(k), bdx = dx, bdy = dy;
                        else if (d < second) second = d;
                    }
            int t = tone[size_t(id)];
            double edge = second - best;
            if (edge < 1.2) t = jointTone;
            else if (edge < 2.6) t = (bdx + bdy < 0) ? t + 1 : t - 1;  // lit toward the top left
            c.Set(x, y, ramp[size_t(std::clamp(t, 0, 5))]);
        }
    return c;
}

Canvas Planks(uint32_t seed) {
    Canvas c(P, P);
    Random r(seed);
    for (int y = 0; y < P; ++y) {
        int row = y / 8, fy = y % 8;
        int offset = (row * 23) % 32;
        for (int x = 0; x < P; ++x) {
            int fx = Wrap(x + offset) % 32;
            int t = 3 + ((row * 7 + (Wrap(x + offset) / 32)) % 3 == 0 ? -1 : 0);
            if (TileNoise(x * 0.5, y * 4, 4, P, seed + uint32_t(row)) > 0.72) t -= 1;  // grain
            if (fy == 0) t = 4;
            if (fy == 7) t = 1;
            if (fx == 0) t = 1;
            if (fx == 1 && fy > 0 && fy < 7) t = 4;
            c.Set(x, y, pal::TIMBER[size_t(std::clamp(t, 0, 5))]);
        }
        (void)r;
    }
    return c;
}

Canvas Water(uint32_t seed, int phase) {
    Canvas c(P, P);
    double shift = phase * P / 4.0;  // four phases make one full loop
    for (int y = 0; y < P; ++y)
        for (int x = 0; x < P; ++x) {
            // two gentle swells drifting against each other; light only on
            // the narrow crests, so the surface does not show its tiling
            double a = TileNoise(x + shift, y, 8, P, seed);
            double b = TileNoise(x, y + shift, 8, P, seed + 9);
            double v = 0.5 * (a + b) + 0.15 * TileNoise(x, y, 4, P, seed + 4);
            int t = v < 0.42 ? 2 : 3;
            double crest = std::fabs(a - b);
            if (crest < 0.03 && v > 0.5) t = 4;
            if (crest < 0.012 && v > 0.62) t = 5;
            c.Set(x, y, pal::WATER[size_t(t)]);
        }
    return c;
}

Canvas Swamp(uint32_t seed) {
    Canvas c(P, P);
    const Ramp& mud = pal::EARTH;
    for (int y = 0; y < P; ++y)
        for (int x = 0; x < P; ++x) {
            double n = TileNoise(x, y, 4, P, seed);
            Color col;
            if (n < 0.38) col = Mix(pal::WATER[1], pal::SLIME[1], 45);         // standing water
            else if (n < 0.44) col = pal::SLIME[1];
            else col = Mix(mud[size_t(NoiseTone(x, y, seed + 3, 1, 3))], pal::SLIME[2], 30);
            c.Set(x, y, col);
        }
    Random r(seed);
    for (int i = 0; i < 20; ++i) {
        int x = r.Range(0, P - 1), y = r.Range(0, P - 1);
        if (TileNoise(x, y, 4, P, seed) < 0.44) continue;
        SetW(c, x, y, pal::SLIME[4]);
        SetW(c, x, y - 1, pal::SLIME[3]);
        SetW(c, x + 1, y + 1, pal::SLIME[0]);
    }
    return c;
}

Canvas RoofTiles(uint32_t seed, bool ridge) {
    Canvas c(P, P);
    for (int y = 0; y < P; ++y)
        for (int x = 0; x < P; ++x) {
            int row = y / 6, fy = y % 6;
            int fx = Wrap(x + (row & 1) * 4) % 8;
            // each tile is a rounded scale: light at its top left, dark lower rim
            int t = 3;
            if (fx <= 1) t = 4;
            if (fx >= 6) t = 2;
            if (fy == 5) t = 1;
            if (fy == 0 && fx < 6) t += 1;
            if (TileNoise(x, y, 4, P, seed) > 0.7) t -= 1;
            if (ridge && (y % 32) >= 12 && (y % 32) < 20) {
                int fr = (y % 32) - 12;
                t = fr == 0 ? 5 : fr == 7 ? 0 : fr < 3 ? 4 : 3;
                if (Wrap(x) % 10 == 0 && fr > 0 && fr < 7) t = 1;
            }
            c.Set(x, y, pal::ROOF[size_t(std::clamp(t, 0, 5))]);
        }
    return c;
}

Canvas Grating() {
    Canvas c(P, P);
    for (int y = 0; y < P; ++y)
        for (int x = 0; x < P; ++x) {
            int fx = x % 8, fy = y % 8;
            if (fx >= 2 && fy >= 2) continue;  // the holes show the floor below
            int t = 3;
            if (fx == 0 || fy == 0) t = 4;
            if (fx == 1 && fy >= 2) t = 1;
            if (fy == 1 && fx >= 2) t = 1;
            c.Set(x, y, pal::UI_IRON[size_t(t)]);
        }
    return c;
}

void Ground(DataSet& d, int type, const char* name, int bank, int automap, const Canvas& tex) {
    ObjectRecord& r = NewItem(d, type, name);
    r.Add(BANK, {bank});
    r.Shape(1, 1, 1, 2, 2, 1, 1);
    for (int py = 1; py <= 2; ++py)
        for (int px = 1; px <= 2; ++px) r.Put(1, 1, 1, px, py, 1, 1, d.Sprites.Add(tex.Cut((px - 1) * 32, (py - 1) * 32, 32, 32)));
    r.Add(AUTOMAP, {automap});
}

// Grass reaching over a field from one side: a ragged edge with a darker root
// line where the turf overhangs, so it reads as lying on top.
Canvas GrassEdge(int side, uint32_t seed) {
    Canvas grass = Grass(11);
    Canvas mask(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            // distance into the field from the side, with a wobbly edge
            int along = (side == 0 || side == 2) ? x : y;
            int depth = side == 0 ? y : side == 1 ? 31 - x : side == 2 ? 31 - y : x;
            double wobble = 6 + 3 * TileNoise(along, 0, 4, 32, seed) + 2 * TileNoise(along, 3, 8, 32, seed + 1);
            if (depth < wobble) mask.Set(x, y, Color(1, 1, 1));
        }
    Canvas out(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (!mask.Filled(x, y)) continue;
            bool rim = !mask.Filled(x - 1, y) || !mask.Filled(x + 1, y) || !mask.Filled(x, y - 1) || !mask.Filled(x, y + 1);
            // grass of the neighbour, sampled so it continues its texture
            Color g = grass.Get(x, y);
            out.Set(x, y, rim ? pal::GRASS[2] : g);
        }
    // blades poking out over the edge
    Random r(seed);
    Canvas blades = out;
    for (int i = 0; i < 10; ++i) {
        int a = r.Range(1, 30);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                int along = (side == 0 || side == 2) ? x : y;
                if (along != a || !mask.Filled(x, y)) continue;
                int nx = x + (side == 1 ? -1 : side == 3 ? 1 : 0), ny = y + (side == 0 ? 1 : side == 2 ? -1 : 0);
                if (!mask.Filled(nx, ny)) {
                    blades.Set(nx, ny, pal::GRASS[4]);
                    blades.Set(nx + (side == 0 || side == 2 ? 1 : 0), ny + (side == 1 || side == 3 ? 1 : 0), pal::GRASS[1]);
                }
            }
    }
    return blades;
}

Canvas Corner(int a, int b, uint32_t seed) {
    // Outer corner: a small rounded patch of turf in the corner between sides a and b.
    Canvas out(32, 32);
    Canvas grass = Grass(11);
    double cx = (a == 3 || b == 3) ? 0 : 32, cy = (a == 0 || b == 0) ? 0 : 32;
    Canvas mask(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double ang = std::atan2(dy, dx);
            double rr = 8 + 2.5 * std::sin(ang * 5 + seed);
            if (dx * dx + dy * dy < rr * rr) mask.Set(x, y, Color(1, 1, 1));
        }
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (!mask.Filled(x, y)) continue;
            bool rim = !mask.Filled(x - 1, y) || !mask.Filled(x + 1, y) || !mask.Filled(x, y - 1) || !mask.Filled(x, y + 1);
            out.Set(x, y, rim ? pal::GRASS[2] : grass.Get(x, y));
        }
    return out;
}

Canvas Shore(int side, int phase) {
    Canvas out(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int along = (side == 0 || side == 2) ? x : y;
            int depth = side == 0 ? y : side == 1 ? 31 - x : side == 2 ? 31 - y : x;
            double edge = 3 + 1.5 * std::sin((along + phase * 4) * 3.14159 / 8) + TileNoise(along, 0, 4, 32, 3);
            if (depth < edge - 1.5) out.Set(x, y, pal::SAND[3]);          // wet sand line
            else if (depth < edge) out.Set(x, y, pal::WATER[5]);          // foam
            else if (depth < edge + 2 && (along + phase * 3) % 5 < 3) out.Set(x, y, pal::WATER[4]);
        }
    return out;
}

}  // namespace

void BuildGrounds(DataSet& d) {
    Ground(d, TYPE_GRASS, "grass", 150, CubeColor(0, 3, 0), Grass(1));
    Ground(d, TYPE_DIRT, "dirt", 120, CubeColor(2, 1, 0), Dirt(2));
    Ground(d, TYPE_SAND, "sand", 200, CubeColor(4, 4, 2), Sand(3));
    Ground(d, TYPE_COBBLESTONE, "cobblestone", 100, CubeColor(2, 2, 2), Stones(4, pal::STONE, 5, 1, 2));
    Ground(d, TYPE_WOODEN_FLOOR, "wooden floor", 100, CubeColor(3, 2, 1), Planks(5));
    {
        ObjectRecord& r = NewItem(d, TYPE_WATER, "water");
        r.Add(BANK, {200}).Add(UNPASS).Add(UNMOVE).Add(AUTOMAP, {CubeColor(0, 1, 4)});
        r.Shape(1, 1, 1, 2, 2, 1, 4);
        for (int ph = 1; ph <= 4; ++ph) {
            Canvas tex = Water(6, ph - 1);
            for (int py = 1; py <= 2; ++py)
                for (int px = 1; px <= 2; ++px)
                    r.Put(1, 1, 1, px, py, 1, ph, d.Sprites.Add(tex.Cut((px - 1) * 32, (py - 1) * 32, 32, 32)));
        }
    }
    Ground(d, TYPE_SWAMP, "swamp", 250, CubeColor(1, 2, 1), Swamp(7));
    Ground(d, TYPE_CAVE_FLOOR, "cave floor", 110, CubeColor(1, 1, 1), Stones(8, pal::EARTH, 4, 0, 1));
    Ground(d, TYPE_ROOF, "roof", 100, CubeColor(3, 1, 0), RoofTiles(9, false));
    d.Items.back().Add(FLOORMARK);
    Ground(d, TYPE_GRATING, "grating", 100, CubeColor(1, 1, 1), Grating());
    d.Items.back().Add(SEETHROUGH).Add(LIGHTTHROUGH);
    Ground(d, TYPE_ROOF_RIDGE, "roof ridge", 100, CubeColor(3, 1, 0), RoofTiles(9, true));
    d.Items.back().Add(FLOORMARK);

    const char* names[] = {"grass border N", "grass border E", "grass border S", "grass border W"};
    for (int side = 0; side < 4; ++side) {
        ObjectRecord& r = NewItem(d, TYPE_GRASS_BORDER_N + side, names[side]);
        r.Add(ONBANK).Add(UNMOVE);
        Single(d, r, GrassEdge(side, uint32_t(20 + side)));
    }
    const int corners[4][2] = {{0, 3}, {0, 1}, {2, 3}, {2, 1}};  // NW, NE, SW, SE
    const char* cnames[] = {"grass corner NW", "grass corner NE", "grass corner SW", "grass corner SE"};
    for (int k = 0; k < 4; ++k) {
        ObjectRecord& r = NewItem(d, TYPE_GRASS_BORDER_NW + k, cnames[k]);
        r.Add(ONBANK).Add(UNMOVE);
        Single(d, r, Corner(corners[k][0], corners[k][1], uint32_t(k)));
    }
    const char* snames[] = {"shore N", "shore E", "shore S", "shore W"};
    for (int side = 0; side < 4; ++side) {
        ObjectRecord& r = NewItem(d, TYPE_SHORE_N + side, snames[side]);
        r.Add(ONBANK).Add(UNMOVE);
        r.Shape(1, 1, 1, 1, 1, 1, 4);
        for (int ph = 1; ph <= 4; ++ph) r.Put(1, 1, 1, 1, 1, 1, ph, d.Sprites.Add(Shore(side, ph - 1)));
    }
}

}  // namespace gen
