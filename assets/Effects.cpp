// Effects (short animations on a field, one phase per 100 ms tick) and
// missiles (one picture per flight direction on the 3 x 3 compass grid).
#include "Builders.h"
#include "world/TypeNumbers.h"

#include <cmath>
#include <functional>

namespace gen {

using namespace art;

namespace {

constexpr double PI = 3.14159265358979;

// A four-pointed sparkle.
void Star(Canvas& c, int x, int y, int r, Color core, Color rim) {
    for (int k = -r; k <= r; ++k) {
        Color col = std::abs(k) <= r / 2 ? core : rim;
        c.Set(x + k, y, col), c.Set(x, y + k, col);
    }
    c.Set(x, y, pal::WHITE);
}

// Particles flying out from the centre; t runs 0..1 over the effect.
void Burst(Canvas& c, double t, int count, double reach, const Ramp& ramp, uint32_t seed, double size = 2) {
    Random r(seed);
    for (int k = 0; k < count; ++k) {
        double a = 2 * PI * k / count + r.Unit() * 0.5, v = 0.6 + r.Unit() * 0.5;
        double d = reach * v * t;
        double s = std::max(0.6, size * (1 - t * 0.7));
        int tone = std::clamp(int(5 - t * 4 + r.Unit()), 1, 5);
        Ball(c, 16 + std::cos(a) * d, 16 + std::sin(a) * d * 0.85, s, s, ramp, ShadeStyle{1.0, 1, tone - 3, s > 1.5});
    }
}

Canvas Blood(int ph, int n) {
    Canvas c(32, 32);
    double t = (ph + 1.0) / n;
    Burst(c, t, 9, 13, pal::CLOTH_RED, 3, 2.4);
    if (ph >= 1) c.FillEllipse(16, 19, 3 + ph, 1.5 + ph * 0.5, pal::CLOTH_RED[1]);
    return c;
}

Canvas Sparkles(int ph, int n, const Ramp& ramp) {
    Canvas c(32, 32);
    Random r(7);
    for (int k = 0; k < 6; ++k) {
        int x = r.Range(6, 26), y = r.Range(6, 26);
        int life = (k + ph) % n;
        int rad = life == 0 ? 1 : life == 1 ? 3 : life == 2 ? 2 : 0;
        if (rad) Star(c, x, y, rad, ramp[5], ramp[3]);
    }
    return c;
}

Canvas FireBurst(int ph, int n) {
    Canvas c(32, 32);
    double t = (ph + 1.0) / n;
    Canvas m(32, 32);
    double r = 5 + t * 9;
    m.FillEllipse(16, 17, r, r * 0.8, Color(1, 1, 1));
    Random rnd(5);
    for (int k = 0; k < 8; ++k) {
        double a = k * PI / 4 + rnd.Unit();
        m.FillEllipse(16 + std::cos(a) * r, 17 + std::sin(a) * r * 0.8, 3 * (1 - t * 0.5), 3 * (1 - t * 0.5), Color(1, 1, 1));
    }
    ShadeVolume(c, m, pal::FIRE, 0, 0, ShadeStyle{1.3, 3, ph >= n - 1 ? -2 : 1 - ph / 2, true});
    if (ph < n - 1) DrawFlame(c, 16, 20, 10 * (1 - t * 0.4), 6, ph, n, 4);
    return c;
}

Canvas Poison(int ph, int n) {
    Canvas c(32, 32);
    Random r(9);
    for (int k = 0; k < 7; ++k) {
        double x = r.Range(8, 24), y0 = r.Range(18, 27);
        double rise = (ph + r.Unit()) * 4;
        double s = 1.5 + r.Unit() * 1.8;
        if (ph == n - 1 && k % 2) continue;
        Ball(c, x, y0 - rise, s, s, pal::POISON, ShadeStyle{1.2, 1, 1});
        c.Set(int(x - s * 0.4), int(y0 - rise - s * 0.4), pal::POISON[5]);
    }
    return c;
}

Canvas Energy(int ph, int n) {
    Canvas c(32, 32);
    Random r{uint32_t(11 + ph)};
    (void)n;
    for (int bolt = 0; bolt < 3; ++bolt) {
        double x = 16, y = 3;
        double a = (bolt - 1) * 0.5;
        while (y < 29) {
            double nx = x + std::sin(a) * 4 + r.Range(-3, 3), ny = y + 4;
            c.ThickLine(x, y, nx, ny, 2.2, pal::ENERGY[3]);
            c.Line(int(x), int(y), int(nx), int(ny), pal::ENERGY[5]);
            x = nx, y = ny;
        }
    }
    Star(c, 16, 16, 3, pal::ENERGY[5], pal::ENERGY[4]);
    return c;
}

Canvas Teleport(int ph, int n) {
    Canvas c(32, 32);
    for (int k = 0; k < 10; ++k) {
        double a = 2 * PI * k / 10 + ph * 0.8;
        double rr = 11 - ph * 1.5 + (k % 2) * 2;
        double y = 16 + std::sin(a) * rr * 0.55 - ph * 1.5;
        Ball(c, 16 + std::cos(a) * rr, y, 1.8, 1.8, pal::MAGIC, ShadeStyle{1.0, 1, 1});
    }
    if (ph >= n / 2) Star(c, 16, 14, 4 - (ph - n / 2), pal::MAGIC[5], pal::MAGIC[4]);
    return c;
}

Canvas Puff(int ph, int n) {
    Canvas c(32, 32);
    double t = (ph + 1.0) / n;
    for (int k = 0; k < 5; ++k) {
        double a = k * 2 * PI / 5 + 0.4;
        double d = 3 + t * 8, s = 4.5 - t * 2;
        Ball(c, 16 + std::cos(a) * d, 17 + std::sin(a) * d * 0.8 - t * 3, s, s * 0.9, pal::GREY, ShadeStyle{1.2, 2, 1 - ph / 2});
    }
    return c;
}

Canvas HitSparks(int ph, int n) {
    Canvas c(32, 32);
    double t = (ph + 1.0) / n;
    for (int k = 0; k < 8; ++k) {
        double a = k * PI / 4 + 0.3;
        double d0 = 3 + t * 6, d1 = d0 + 4 * (1 - t);
        c.Line(int(16 + std::cos(a) * d0), int(16 + std::sin(a) * d0), int(16 + std::cos(a) * d1), int(16 + std::sin(a) * d1),
               ph == 0 ? pal::GOLD[5] : pal::GOLD[4]);
    }
    if (ph == 0) Star(c, 16, 16, 3, pal::GOLD[5], pal::GOLD[4]);
    return c;
}

Canvas Heal(int ph, int n) {
    Canvas c(32, 32);
    (void)n;
    Random r(13);
    for (int k = 0; k < 6; ++k) {
        int x = r.Range(8, 24), y = r.Range(14, 28) - ph * 3;
        Color col = k % 2 ? pal::POISON[5] : pal::GOLD[5];
        c.Set(x, y, col), c.Set(x - 1, y, pal::POISON[4]), c.Set(x + 1, y, pal::POISON[4]), c.Set(x, y - 1, pal::POISON[4]),
            c.Set(x, y + 1, pal::POISON[4]);
    }
    return c;
}

Canvas Explosion(int ph, int n) {
    Canvas c(32, 32);
    double t = (ph + 1.0) / n;
    Canvas m(32, 32);
    Random r(17);
    for (int k = 0; k < 9; ++k) {
        double a = r.Unit() * 2 * PI, d = r.Unit() * 8 * t;
        double s = 4 + 6 * t * r.Unit();
        m.FillEllipse(16 + std::cos(a) * d, 16 + std::sin(a) * d, s, s * 0.9, Color(1, 1, 1));
    }
    const Ramp& ramp = ph >= n - 2 ? pal::GREY : pal::FIRE;
    ShadeVolume(c, m, ramp, 0, 0, ShadeStyle{1.2, 3, ph < 2 ? 1 : 0});
    return c;
}

Canvas Splash(int ph, int n) {
    Canvas c(32, 32);
    double t = (ph + 1.0) / n;
    c.FillEllipse(16, 22, 6 + t * 6, 2 + t * 2, pal::WATER[3]);
    c.FillEllipse(16, 22, 4 + t * 5, 1 + t * 1.5, CLEAR);
    for (int k = 0; k < 6; ++k) {
        double a = PI + k * PI / 5;
        double h = std::sin(t * PI) * 9;
        Ball(c, 16 + std::cos(a) * (4 + t * 7), 20 - h * (0.6 + 0.4 * (k % 2)), 1.4, 1.8, pal::WATER, ShadeStyle{1.0, 1, 1});
    }
    return c;
}

Canvas Stars(int ph, int n) {
    Canvas c(32, 32);
    double t = (ph + 1.0) / n;
    for (int k = 0; k < 5; ++k) {
        double a = k * 2 * PI / 5 + t * 2;
        double d = 4 + t * 9;
        Star(c, int(16 + std::cos(a) * d), int(16 + std::sin(a) * d * 0.8 - t * 4), ph == n - 1 ? 1 : 2, pal::GOLD[5], pal::GOLD[3]);
    }
    return c;
}

// The shimmer drawn in place of an invisible creature: a faint outline of a
// figure that ripples from phase to phase.
Canvas Invisible(int ph, int) {
    Canvas c(32, 32);
    for (int y = 4; y < 30; ++y) {
        double w = y < 12 ? 4.5 * std::sin((y - 3) * PI / 10) : y < 22 ? 6 : 5;
        double wobble = std::sin(y * 0.8 + ph * PI / 2) * 1.2;
        int l = int(16 - w + wobble), r = int(16 + w + wobble);
        if ((y + ph) % 3 == 0) continue;
        c.Set(l, y, pal::ENERGY[(y + ph) % 2 ? 5 : 4]);
        c.Set(r, y, pal::ENERGY[(y + ph) % 2 ? 4 : 3]);
    }
    return c;
}

Canvas Ice(int ph, int n) {
    Canvas c(32, 32);
    double t = (ph + 1.0) / n;
    for (int k = 0; k < 6; ++k) {
        double a = k * PI / 3 + 0.2;
        double len = 5 + 7 * std::min(1.0, t * 1.6);
        c.ThickLine(16, 17, 16 + std::cos(a) * len, 17 + std::sin(a) * len * 0.8, 2.2, pal::ENERGY[4]);
        c.Line(16, 17, int(16 + std::cos(a) * len), int(17 + std::sin(a) * len * 0.8), pal::ENERGY[5]);
    }
    if (ph == n - 1) {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if ((x + y) % 2 && c.Filled(x, y)) c.Set(x, y, CLEAR);
    }
    return c;
}

void Effect(DataSet& d, int type, const char* name, int phases, const std::function<Canvas(int, int)>& draw, int light = 0) {
    ObjectRecord& r = NewEffect(d, type, name);
    if (light) r.Add(LIGHT, {light, 215});
    r.Shape(1, 1, 1, 1, 1, 1, phases);
    for (int ph = 0; ph < phases; ++ph) r.Put(1, 1, 1, 1, 1, 1, ph + 1, d.Sprites.Add(draw(ph, phases)));
}

// ---- missiles -------------------------------------------------------------------------

using MissileDraw = std::function<void(Canvas&, double dx, double dy)>;

void Missile(DataSet& d, int type, const char* name, const MissileDraw& draw, int light = 0) {
    ObjectRecord& r = NewMissile(d, type, name);
    if (light) r.Add(LIGHT, {light, 208});
    r.Shape(1, 1, 1, 3, 3, 1, 1);
    // direction 0 north, then clockwise; pattern grid position of each
    const int px[8] = {2, 3, 3, 3, 2, 1, 1, 1}, py[8] = {1, 1, 2, 3, 3, 3, 2, 1};
    for (int dir = 0; dir < 8; ++dir) {
        double a = dir * PI / 4;
        double dx = std::sin(a), dy = -std::cos(a);
        Canvas c(32, 32);
        draw(c, dx, dy);
        r.Put(1, 1, 1, px[dir], py[dir], 1, 1, d.Sprites.Add(c));
    }
}

void ArrowShape(Canvas& c, double dx, double dy, bool bolt) {
    double len = bolt ? 9 : 12;
    double x0 = 16 - dx * len, y0 = 16 - dy * len, x1 = 16 + dx * len, y1 = 16 + dy * len;
    c.ThickLine(x0, y0, x1, y1, 1.3, pal::TIMBER[bolt ? 2 : 4]);
    c.FillPolygon({x1 + dx * 3, y1 + dy * 3, x1 - dy * 2, y1 + dx * 2, x1 + dy * 2, y1 - dx * 2}, pal::METAL[4]);
    if (!bolt) {
        c.Line(int(x0), int(y0), int(x0 - dy * 2.5 - dx * 2), int(y0 + dx * 2.5 - dy * 2), pal::CLOTH_RED[4]);
        c.Line(int(x0), int(y0), int(x0 + dy * 2.5 - dx * 2), int(y0 - dx * 2.5 - dy * 2), pal::CLOTH_RED[3]);
    }
}

void Orb(Canvas& c, double dx, double dy, const Ramp& ramp) {
    for (int k = 4; k >= 1; --k) {
        double s = 1.0 + k * 0.5;
        Ball(c, 16 - dx * k * 2.6, 16 - dy * k * 2.6, s, s, ramp, ShadeStyle{1.0, 1, -k / 2, false});
    }
    Ball(c, 16, 16, 4.5, 4.5, ramp, ShadeStyle{1.3, 2, 1});
    c.Set(15, 14, pal::WHITE);
}

}  // namespace

void BuildEffects(DataSet& d) {
    Effect(d, EFFECT_BLOOD, "blood", 4, Blood);
    Effect(d, EFFECT_SPARKLES, "sparkles", 4, [](int ph, int n) { return Sparkles(ph, n, pal::ENERGY); });
    Effect(d, EFFECT_FIRE, "fire", 5, FireBurst, 4);
    Effect(d, EFFECT_POISON, "poison", 5, Poison);
    Effect(d, EFFECT_ENERGY, "energy", 4, Energy, 3);
    Effect(d, EFFECT_TELEPORT, "teleport", 6, Teleport, 2);
    Effect(d, EFFECT_PUFF, "puff", 4, Puff);
    Effect(d, EFFECT_HIT, "hit", 3, HitSparks);
    Effect(d, EFFECT_HEAL, "heal", 5, Heal, 2);
    Effect(d, EFFECT_EXPLOSION, "explosion", 6, Explosion, 5);
    Effect(d, EFFECT_SPLASH, "splash", 4, Splash);
    Effect(d, EFFECT_STARS, "stars", 5, Stars);
    Effect(d, EFFECT_INVISIBLE, "invisible", 4, Invisible);
    Effect(d, EFFECT_ICE, "ice", 4, Ice);
}

void BuildMissiles(DataSet& d) {
    Missile(d, MISSILE_ARROW, "arrow", [](Canvas& c, double dx, double dy) { ArrowShape(c, dx, dy, false); });
    Missile(d, MISSILE_BOLT, "bolt", [](Canvas& c, double dx, double dy) { ArrowShape(c, dx, dy, true); });
    Missile(d, MISSILE_FIREBALL, "fireball", [](Canvas& c, double dx, double dy) { Orb(c, dx, dy, pal::FIRE); }, 3);
    Missile(d, MISSILE_ENERGY, "energy ball", [](Canvas& c, double dx, double dy) { Orb(c, dx, dy, pal::ENERGY); }, 3);
    Missile(d, MISSILE_POISON, "poison ball", [](Canvas& c, double dx, double dy) { Orb(c, dx, dy, pal::POISON); });
    Missile(d, MISSILE_STONE, "stone", [](Canvas& c, double dx, double dy) {
        Ball(c, 16, 16, 4, 3.5, pal::STONE, ShadeStyle{1.2, 1});
        c.Set(int(16 - dx * 7), int(16 - dy * 7), pal::STONE[3]);
        c.Set(int(16 - dx * 9), int(16 - dy * 9), pal::STONE[2]);
    });
    Missile(d, MISSILE_SPEAR, "spear", [](Canvas& c, double dx, double dy) {
        c.ThickLine(16 - dx * 14, 16 - dy * 14, 16 + dx * 10, 16 + dy * 10, 1.6, pal::TIMBER[3]);
        c.FillPolygon({16 + dx * 15, 16 + dy * 15, 16 + dx * 9 - dy * 2.2, 16 + dy * 9 + dx * 2.2, 16 + dx * 9 + dy * 2.2,
                       16 + dy * 9 - dx * 2.2},
                      pal::METAL[4]);
    });
}

}  // namespace gen
