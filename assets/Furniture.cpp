// Furniture, fixtures and light sources.
#include "Builders.h"
#include "Render3D.h"
#include "world/TypeNumbers.h"

#include <cmath>

namespace gen {

using namespace art;

namespace {

Canvas R(const std::vector<Solid>& s) { return RenderSolids(s, 32, 32, 0, 0); }

Canvas Table() {
    const Ramp& w = pal::TIMBER;
    return R({Box(6, 8, 0, 8, 10, 10, w), Box(24, 8, 0, 26, 10, 10, w), Box(6, 24, 0, 8, 26, 10, w),
              Box(24, 24, 0, 26, 26, 10, w), Box(4, 6, 10, 28, 28, 12, w, PLANKS_V, 1)});
}

// Chair facing `dir` (0 north, 1 east, 2 south, 3 west): the backrest is on the
// opposite side.
Canvas Chair(int dir) {
    const Ramp& w = pal::TIMBER;
    std::vector<Solid> s{Box(10, 12, 0, 12, 14, 7, w), Box(20, 12, 0, 22, 14, 7, w), Box(10, 22, 0, 12, 24, 7, w),
                         Box(20, 22, 0, 22, 24, 7, w), Box(9, 11, 7, 23, 25, 9, w, PLAIN, 1)};
    switch (dir) {
        case 0: s.push_back(Box(9, 23, 9, 23, 25, 20, w, PLANKS_V)); break;
        case 1: s.push_back(Box(9, 11, 9, 11, 25, 20, w, PLANKS_V)); break;
        case 2: s.push_back(Box(9, 11, 9, 23, 13, 20, w, PLANKS_V)); break;
        default: s.push_back(Box(21, 11, 9, 23, 25, 20, w, PLANKS_V)); break;
    }
    return R(s);
}

Canvas Barrel() {
    Canvas c = R({Cylinder(17, 17, 9, 0, 18, pal::TIMBER, GRAIN), Cylinder(17, 17, 9.4, 3, 5, pal::METAL),
                  Cylinder(17, 17, 9.4, 13, 15, pal::METAL)});
    return c;
}

Canvas Crate() {
    return R({Box(5, 6, 0, 27, 28, 16, pal::TIMBER, PLANKS_H), Box(5, 26, 0, 8, 28.5, 16, pal::TIMBER, PLAIN, 1),
              Box(24, 26, 0, 27, 28.5, 16, pal::TIMBER, PLAIN, 1), Box(25, 6, 0, 27.5, 9, 16, pal::TIMBER, PLAIN, 1)});
}

Canvas Bed() {
    return R({Box(4, 2, 0, 28, 30, 6, pal::TIMBER, PLANKS_H), Box(5, 3, 6, 27, 29, 8, pal::PARCHMENT),
              Box(7, 4, 8, 25, 10, 10, pal::PARCHMENT, PLAIN, 1), Box(5, 12, 8, 27, 29, 9, pal::CLOTH_RED),
              Box(4, 0, 0, 28, 3, 12, pal::TIMBER)});
}

Canvas Lever(bool right) {
    Canvas c = R({Box(10, 14, 0, 22, 24, 4, pal::STONE, PLAIN)});
    double tipx = right ? 24 : 8;
    c.ThickLine(16, 16, tipx, 4, 2, pal::METAL[2]);
    c.Line(16, 15, int(tipx), 3, pal::METAL[4]);
    c.FillEllipse(tipx, 4, 2.5, 2.5, pal::CLOTH_RED[3]);
    c.Set(int(tipx) - 1, 3, pal::CLOTH_RED[5]);
    return c;
}

Canvas Mailbox() {
    return R({Box(14, 16, 0, 17, 19, 14, pal::TIMBER), Box(8, 10, 14, 24, 22, 24, pal::GOLD, PLAIN, -1),
              Box(10, 21.5, 20, 22, 22.5, 21, pal::STONE, PLAIN, -3)});
}

Canvas Dustbin() {
    return R({Cylinder(16, 17, 8, 0, 16, pal::METAL, PLANKS_V, -1), Cylinder(16, 17, 8.6, 16, 18, pal::METAL),
              Box(14, 16, 18, 18, 18, 20, pal::METAL)});
}

Canvas StonePile() {
    Canvas c(32, 32);
    const double stones[][3] = {{10, 24, 6}, {21, 24, 6.5}, {16, 19, 6}, {13, 14, 4.5}, {22, 16, 4}};
    for (auto& s : stones) Ball(c, s[0], s[1], s[2], s[2] * 0.8, pal::STONE, ShadeStyle{1.0, 2});
    return c;
}

Canvas Sign() {
    Canvas c = R({Box(15, 20, 0, 17, 22, 18, pal::TIMBER), Box(6, 21, 10, 26, 23, 22, pal::TIMBER, PLANKS_H, 1)});
    // carved lines of text
    for (int k = 0; k < 3; ++k) c.HLine(9, 3 + k * 3, 12 - (k == 2 ? 4 : 0), pal::TIMBER[1]);
    return c;
}

Canvas Blackboard() {
    Canvas c = R({Box(7, 20, 0, 9, 22, 22, pal::TIMBER), Box(23, 20, 0, 25, 22, 22, pal::TIMBER),
                  Box(6, 21, 8, 26, 22, 24, pal::FOLIAGE, PLAIN, -3)});
    for (int k = 0; k < 3; ++k) c.HLine(8, -6 + 8 + k * 3 + 1, 10 - k * 2, pal::PARCHMENT[4]);
    return c;
}

Canvas StreetLamp(int phase) {
    Canvas c = R({Box(15, 15, 0, 18, 18, 26, pal::METAL, PLAIN, -1), Box(12, 12, 0, 21, 21, 2, pal::STONE)});
    // lantern at the top of the post
    c.FillRect(-12 + 16 - 3 + 12 - 12, 0, 0, 0, CLEAR);
    Canvas lamp(32, 32);
    lamp.FillRect(12, 0, 7, 7, pal::METAL[1]);
    lamp.FillRect(13, 1, 5, 5, pal::FIRE[phase ? 4 : 5]);
    lamp.Set(14, 2, pal::FIRE[5]);
    lamp.HLine(11, 0, 9, pal::METAL[3]);
    c.Draw(lamp, -9, -2 + 2);
    return c;
}

}  // namespace

void DrawFlame(Canvas& c, double cx, double baseY, double height, double width, int phase, int phases,
               uint32_t seed) {
    double t = 2 * 3.14159265 * phase / phases;
    for (int layer = 0; layer < 4; ++layer) {
        double h = height * (1.0 - layer * 0.2), w = width * (1.0 - layer * 0.22);
        Color col = pal::FIRE[size_t(2 + layer)];
        for (double y = 0; y < h; y += 0.5) {
            double f = y / h;  // 0 at the base, 1 at the tip
            double sway = std::sin(t + f * 4 + seed) * 1.6 * f;
            double half = w / 2 * std::sqrt(std::max(0.0, 1 - f)) * (1 - 0.3 * f);
            // tongues: the outline is torn into two or three tips
            half *= 0.8 + 0.2 * std::sin(f * 9 + t * 2 + seed * 0.7);
            for (double x = -half; x <= half; x += 0.5) c.Set(int(std::floor(cx + sway + x)), int(std::floor(baseY - y)), col);
        }
    }
    (void)seed;
}

void BuildFurniture(DataSet& d) {
    {
        ObjectRecord& r = NewItem(d, TYPE_TABLE, "table");
        r.Add(BOTTOM).Add(UNPASS).Add(HEIGHT, {10}).Add(REDRAWNEAR);
        Single(d, r, Table());
    }
    const char* chairs[] = {"chair N", "chair E", "chair S", "chair W"};
    for (int k = 0; k < 4; ++k) {
        ObjectRecord& r = NewItem(d, TYPE_CHAIR_N + k, chairs[k]);
        r.Add(BOTTOM).Add(ROTATE).Add(HEIGHT, {7});
        Single(d, r, Chair(k));
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_BARREL, "barrel");
        r.Add(BOTTOM).Add(UNPASS).Add(HEIGHT, {18});
        Single(d, r, Barrel());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_CRATE, "crate");
        r.Add(BOTTOM).Add(UNPASS).Add(HEIGHT, {16});
        Single(d, r, Crate());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_BED, "bed");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE);
        Single(d, r, Bed());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_LEVER_LEFT, "lever left");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(USETARGET).Add(LENSHELP, {1103});
        Single(d, r, Lever(false));
        ObjectRecord& q = NewItem(d, TYPE_LEVER_RIGHT, "lever right");
        q.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(USETARGET).Add(LENSHELP, {1103});
        Single(d, q, Lever(true));
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_MAILBOX, "mailbox");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(LENSHELP, {1107});
        Single(d, r, Mailbox());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_DUSTBIN, "dustbin");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(CONTAINER).Add(LENSHELP, {1109});
        Single(d, r, Dustbin());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_STONE_PILE, "stone pile");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(LENSHELP, {1110});
        Single(d, r, StonePile());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_SIGN, "sign");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(WRITEONCE, {100}).Add(LENSHELP, {1111});
        Single(d, r, Sign());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_BLACKBOARD, "blackboard");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(WRITE, {500}).Add(LENSHELP, {1111});
        Single(d, r, Blackboard());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_STREET_LAMP, "street lamp");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(LIGHT, {6, 215}).Add(SHIFT, {8, 8});
        Single(d, r, StreetLamp(0));
    }
    {
        // Torch in a bracket: free-standing, on the south face of a west-east
        // wall (hook A) or on the east face of a north-south wall (hook B).
        ObjectRecord& r = NewItem(d, TYPE_WALL_TORCH, "wall torch");
        r.Add(HANG).Add(UNMOVE).Add(LIGHT, {5, 208});
        r.Shape(1, 1, 1, 3, 1, 1, 3);
        for (int ph = 0; ph < 3; ++ph)
            for (int col = 0; col < 3; ++col) {
                Canvas c(32, 32);
                int x = col == 0 ? 16 : col == 1 ? 16 : 26, y = col == 0 ? 24 : col == 1 ? 26 : 16;
                if (col == 0) c.FillRect(x - 3, y + 2, 7, 3, pal::STONE[2]), c.HLine(x - 3, y + 2, 7, pal::STONE[4]);
                if (col == 1) c.FillRect(x - 2, y - 2, 5, 3, pal::METAL[2]);
                if (col == 2) c.FillRect(x - 1, y - 3, 3, 5, pal::METAL[2]);
                c.ThickLine(x, y + 1, x - 3, y - 9, 2.2, pal::TIMBER[2]);
                c.Line(x - 1, y, x - 4, y - 8, pal::TIMBER[4]);
                DrawFlame(c, x - 4, y - 9, 10, 6, ph, 3, uint32_t(col));
                r.Put(1, 1, 1, col + 1, 1, 1, ph + 1, d.Sprites.Add(c));
            }
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_CAMPFIRE, "campfire");
        r.Add(BOTTOM).Add(UNMOVE).Add(AVOID).Add(LIGHT, {6, 208}).Add(AUTOMAP, {CubeColor(5, 2, 0)});
        r.Shape(1, 1, 1, 1, 1, 1, 4);
        for (int ph = 0; ph < 4; ++ph) {
            Canvas c(32, 32);
            for (int k = 0; k < 7; ++k) {  // ring of stones
                double a = k * 2 * 3.14159 / 7;
                Ball(c, 16 + 11 * std::cos(a), 22 + 6 * std::sin(a), 3, 2.4, pal::STONE, ShadeStyle{1.0, 1});
            }
            c.ThickLine(8, 25, 23, 19, 3, pal::TIMBER[2]);
            c.ThickLine(9, 19, 24, 25, 3, pal::TIMBER[1]);
            DrawFlame(c, 16, 23, 17, 11, ph, 4, 3);
            r.Put(1, 1, 1, 1, 1, 1, ph + 1, d.Sprites.Add(c));
        }
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_FIRE_FIELD, "fire field");
        r.Add(UNMOVE).Add(AVOID).Add(LIGHT, {4, 208});
        r.Shape(1, 1, 1, 1, 1, 1, 3);
        for (int ph = 0; ph < 3; ++ph) {
            Canvas c(32, 32);
            DrawFlame(c, 10, 28, 16, 9, ph, 3, 1);
            DrawFlame(c, 22, 30, 20, 11, ph, 3, 5);
            DrawFlame(c, 16, 22, 14, 8, (ph + 1) % 3, 3, 9);
            r.Put(1, 1, 1, 1, 1, 1, ph + 1, d.Sprites.Add(c));
        }
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_DEPOT_BOX, "depot box");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(CONTAINER).Add(HEIGHT, {14}).Add(LENSHELP, {1108});
        Canvas c = R({Box(3, 8, 0, 29, 28, 14, pal::TIMBER, PLANKS_H), Box(3, 8, 14, 29, 28, 16, pal::TIMBER, PLAIN, 1),
                      Box(3, 26.5, 0, 6, 28.5, 16, pal::GOLD), Box(26, 26.5, 0, 29, 28.5, 16, pal::GOLD),
                      Box(14, 27.5, 5, 18, 28.5, 11, pal::GOLD, PLAIN, 1)});
        Single(d, r, c);
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_CHEST, "chest");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(CONTAINER).Add(HEIGHT, {12});
        Canvas c = R({Box(6, 10, 0, 26, 26, 10, pal::TIMBER, PLANKS_H), Cylinder(16, 18, 7.9, 8, 12, pal::TIMBER),
                      Box(6, 10, 8, 26, 26, 12, pal::TIMBER, PLAIN, 1), Box(9, 10, 0, 11, 26.6, 12.5, pal::METAL),
                      Box(21, 10, 0, 23, 26.6, 12.5, pal::METAL), Box(15, 25.5, 6, 17, 26.8, 9, pal::GOLD, PLAIN, 1)});
        Single(d, r, c);
    }
}

}  // namespace gen
