// Walls, doors, windows, arches and the ways between floors. Walls are solids
// rendered by Render3D; a wall segment is cut from an endless wall so that
// neighbouring segments join without a seam.
#include "Builders.h"
#include "Render3D.h"
#include "world/TypeNumbers.h"

#include <cmath>

namespace gen {

using namespace art;

namespace {

constexpr double WALL_HEIGHT = 24, THICK = 8;

// A west-east wall along the south edge, and a north-south wall along the east edge.
Solid WallH(double x0, double x1, const Ramp& m, int pattern, double z0 = 0, double z1 = WALL_HEIGHT) {
    return Box(x0, 32 - THICK, z0, x1, 32, z1, m, pattern);
}
Solid WallV(double y0, double y1, const Ramp& m, int pattern, double z0 = 0, double z1 = WALL_HEIGHT) {
    return Box(32 - THICK, y0, z0, 32, y1, z1, m, pattern);
}

Canvas Render1(const std::vector<Solid>& s) { return RenderSolids(s, 32, 32, 0, 0); }

void WallSet(DataSet& d, int first, const char* kind, const Ramp& m, int pattern, int automap) {
    std::string base = kind;
    const double far = 200;
    struct Piece { const char* suffix; std::vector<Solid> solids; int hook; };
    Piece pieces[4] = {
        {" wall H", {WallH(-far, far, m, pattern)}, HOOKA},
        {" wall V", {WallV(-far, far, m, pattern)}, HOOKB},
        {" wall corner", {WallH(-far, 32, m, pattern), WallV(-far, 32 - THICK, m, pattern)}, -1},
        {" wall post", {Box(32 - THICK - 1, 32 - THICK - 1, 0, 32, 32, WALL_HEIGHT + 2, m, pattern)}, -1},
    };
    for (int i = 0; i < 4; ++i) {
        ObjectRecord& r = NewItem(d, first + i, (base + pieces[i].suffix).c_str());
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(AUTOMAP, {automap});
        if (pieces[i].hook >= 0) r.Add(pieces[i].hook);
        Single(d, r, Render1(pieces[i].solids));
    }
}

// Doorway in a horizontal (south-edge) or vertical (east-edge) wall; the
// panel closed in the opening or swung open against the jamb.
Canvas Door(bool vertical, bool open, bool gate) {
    const double far = 200;
    std::vector<Solid> s;
    const Ramp& wall = pal::STONE;
    auto W = [&](double a, double b, double z0, double z1) {
        s.push_back(vertical ? WallV(a, b, wall, BRICKS, z0, z1) : WallH(a, b, wall, BRICKS, z0, z1));
    };
    W(-far, 5, 0, WALL_HEIGHT);
    W(27, far, 0, WALL_HEIGHT);
    W(5, 27, 19, WALL_HEIGHT);
    // wooden (or iron) frame posts
    const Ramp& frame = gate ? pal::METAL : pal::TIMBER;
    if (!vertical) {
        s.push_back(Box(4, 32 - THICK - 1, 0, 6, 33, 20, frame, PLAIN, -1));
        s.push_back(Box(26, 32 - THICK - 1, 0, 28, 33, 20, frame, PLAIN, -1));
        s.push_back(Box(4, 32 - THICK - 1, 19, 28, 33, 21, frame, PLAIN, -1));
    } else {
        s.push_back(Box(32 - THICK - 1, 4, 0, 33, 6, 20, frame, PLAIN, -1));
        s.push_back(Box(32 - THICK - 1, 26, 0, 33, 28, 20, frame, PLAIN, -1));
        s.push_back(Box(32 - THICK - 1, 4, 19, 33, 28, 21, frame, PLAIN, -1));
    }
    const Ramp& leaf = gate ? pal::METAL : pal::TIMBER;
    int pat = gate ? RIVETS : PLANKS_V;
    if (!open) {
        if (!vertical) s.push_back(Box(6, 28, 0, 26, 30, 19, leaf, pat));
        else s.push_back(Box(28, 6, 0, 30, 26, 19, leaf, pat));
        if (gate) {
            // bars instead of a solid leaf
            s.pop_back();
            for (int k = 0; k < 5; ++k) {
                double a = 7 + k * 4;
                if (!vertical) s.push_back(Box(a, 28, 0, a + 2, 30, 19, leaf));
                else s.push_back(Box(28, a, 0, 30, a + 2, 19, leaf));
            }
            if (!vertical) s.push_back(Box(6, 28, 9, 26, 30, 11, leaf));
            else s.push_back(Box(28, 6, 9, 30, 26, 11, leaf));
        }
    } else {
        if (!vertical) s.push_back(Box(6, 14, 0, 8, 28, 19, leaf, gate ? PLAIN : PLANKS_H, -1));
        else s.push_back(Box(14, 6, 0, 28, 8, 19, leaf, gate ? PLAIN : PLANKS_H, -1));
    }
    Canvas c = Render1(s);
    if (!open && !gate) {
        // iron handle
        if (!vertical) c.Set(22, 19, pal::GOLD[4]), c.Set(22, 20, pal::GOLD[2]);
        else c.Set(19, 22, pal::GOLD[4]), c.Set(19, 23, pal::GOLD[2]);
    }
    return c;
}

Canvas Window(bool vertical) {
    const double far = 200;
    std::vector<Solid> s;
    auto W = [&](double a, double b, double z0, double z1, const Ramp& m, int pat) {
        s.push_back(vertical ? WallV(a, b, m, pat, z0, z1) : WallH(a, b, m, pat, z0, z1));
    };
    W(-far, 6, 0, WALL_HEIGHT, pal::STONE, BRICKS);
    W(26, far, 0, WALL_HEIGHT, pal::STONE, BRICKS);
    W(6, 26, 0, 8, pal::STONE, BRICKS);
    W(6, 26, 20, WALL_HEIGHT, pal::STONE, BRICKS);
    // glass pane set back in the wall, with a timber cross
    if (!vertical) {
        s.push_back(Box(6, 27, 8, 26, 29, 20, pal::WATER, PLAIN, 1));
        s.push_back(Box(15, 28, 8, 17, 30, 20, pal::TIMBER));
        s.push_back(Box(6, 28, 13, 26, 30, 15, pal::TIMBER));
        s.push_back(Box(5, 24, 7, 27, 33, 8, pal::STONE, PLAIN, 1));  // sill
    } else {
        s.push_back(Box(27, 6, 8, 29, 26, 20, pal::WATER, PLAIN, 1));
        s.push_back(Box(28, 15, 8, 30, 17, 20, pal::TIMBER));
        s.push_back(Box(28, 6, 13, 30, 26, 15, pal::TIMBER));
        s.push_back(Box(24, 5, 7, 33, 27, 8, pal::STONE, PLAIN, 1));
    }
    Canvas c = Render1(s);
    // a glint on the glass
    if (!vertical) c.Set(9, 5, pal::WATER[5]), c.Set(10, 4, pal::WATER[5]);
    else c.Set(5, 9, pal::WATER[5]), c.Set(4, 10, pal::WATER[5]);
    return c;
}

Canvas Arch(bool vertical) {
    std::vector<Solid> s;
    if (!vertical) {
        s.push_back(Box(-1, 24, 0, 4, 32, 26, pal::STONE, STONES));
        s.push_back(Box(28, 24, 0, 33, 32, 26, pal::STONE, STONES));
        s.push_back(Box(-1, 24, 20, 33, 32, 26, pal::STONE, STONES));
    } else {
        s.push_back(Box(24, -1, 0, 32, 4, 26, pal::STONE, STONES));
        s.push_back(Box(24, 28, 0, 32, 33, 26, pal::STONE, STONES));
        s.push_back(Box(24, -1, 20, 32, 33, 26, pal::STONE, STONES));
    }
    return Render1(s);
}

// Steps going down into darkness: each step lower and darker.
Canvas StairsDown() {
    Canvas c(32, 32);
    c.FillRect(2, 2, 28, 28, pal::STONE[0]);
    for (int k = 0; k < 5; ++k) {
        int y = 3 + k * 5;
        int tone = 4 - k;
        Color top = pal::STONE[size_t(std::max(1, tone))], front = pal::STONE[size_t(std::max(0, tone - 2))];
        c.FillRect(4, y, 24, 3, top);
        c.FillRect(4, y + 3, 24, 2, front);
        c.HLine(4, y, 24, pal::STONE[size_t(std::min(5, tone + 1))]);
    }
    // rim of the opening: lit top and left, shaded bottom and right
    c.FillRect(0, 0, 32, 2, pal::STONE[4]);
    c.FillRect(0, 0, 2, 32, pal::STONE[4]);
    c.FillRect(30, 0, 2, 32, pal::STONE[2]);
    c.FillRect(0, 30, 32, 2, pal::STONE[2]);
    c.Rect(0, 0, 32, 32, pal::STONE[1]);
    return c;
}

// Steps rising to the north; the upper part reaches into the field above.
Canvas RampUp() {
    std::vector<Solid> s;
    for (int k = 0; k < 4; ++k) s.push_back(Box(2, 0, 0, 30, 32 - 8 * k, 6.0 * (k + 1), pal::STONE, STONES));
    return RenderSolids(s, 32, 64, 0, 32);
}

Canvas Ladder() {
    std::vector<Solid> s;
    s.push_back(Box(9, 6, 0, 11, 8, 30, pal::TIMBER));
    s.push_back(Box(21, 6, 0, 23, 8, 30, pal::TIMBER));
    for (int k = 0; k < 6; ++k) s.push_back(Box(11, 6, 3 + k * 5, 21, 8, 4.5 + k * 5, pal::TIMBER, PLAIN, 1));
    // the hatch opening in the ceiling is beyond the view; a dark hole at its foot
    Canvas c = RenderSolids(s, 32, 64, 0, 32);
    return c;
}

Canvas Hole() {
    Canvas c(32, 32);
    Canvas m(32, 32);
    m.FillEllipse(16, 17, 12, 10, Color(1, 1, 1));
    // earthen rim, then falling away into black
    ShadeVolume(c, m, pal::EARTH, 0, 0, ShadeStyle{0.6, 2, 0, true, 1});
    c.FillEllipse(16.5, 17.5, 9.5, 7.5, pal::EARTH[0]);
    c.FillEllipse(17, 18.5, 8, 6, Hex(0x0e0a0c));
    c.FillEllipse(15, 13.5, 7, 2, pal::EARTH[1]);
    return c;
}

Canvas RopeSpot() {
    Canvas c(32, 32);
    // a pale patch of daylight falling through the hole above
    c.FillEllipse(16, 16, 13, 11, pal::SAND[2]);
    c.FillEllipse(15, 15, 10, 8, pal::SAND[3]);
    c.FillEllipse(14, 14, 6, 5, pal::SAND[4]);
    return c;
}

Canvas SewerGrate() {
    Canvas c(32, 32);
    c.FillRect(5, 5, 22, 22, Hex(0x0e0c10));
    for (int k = 0; k < 5; ++k) {
        c.FillRect(6 + k * 4, 6, 2, 20, pal::METAL[2]);
        c.VLine(6 + k * 4, 6, 20, pal::METAL[3]);
    }
    c.Rect(4, 4, 24, 24, pal::METAL[1]);
    c.HLine(4, 4, 24, pal::METAL[4]);
    c.VLine(4, 4, 24, pal::METAL[4]);
    c.Rect(3, 3, 26, 26, pal::STONE[1]);
    return c;
}

Canvas Trapdoor() {
    std::vector<Solid> s{Box(5, 5, 0, 27, 27, 2, pal::TIMBER, PLANKS_V), Box(5, 9, 2, 27, 11, 3, pal::METAL),
                         Box(5, 21, 2, 27, 23, 3, pal::METAL)};
    Canvas c = Render1(s);
    c.FillEllipse(16, 16, 2.5, 2.5, pal::METAL[1]);
    c.FillEllipse(16, 16, 1.5, 1.5, pal::TIMBER[2]);
    return c;
}

}  // namespace

void BuildArchitecture(DataSet& d) {
    WallSet(d, TYPE_STONE_WALL_H, "stone", pal::STONE, BRICKS, CubeColor(2, 2, 2));
    WallSet(d, TYPE_TIMBER_WALL_H, "timber", pal::TIMBER, PLANKS_V, CubeColor(2, 1, 0));
    {
        ObjectRecord& r = NewItem(d, TYPE_WINDOW_H, "window H");
        r.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(HOOKA).Add(AUTOMAP, {CubeColor(2, 2, 2)});
        Single(d, r, Window(false));
        ObjectRecord& v = NewItem(d, TYPE_WINDOW_V, "window V");
        v.Add(BOTTOM).Add(UNPASS).Add(UNMOVE).Add(HOOKB).Add(AUTOMAP, {CubeColor(2, 2, 2)});
        Single(d, v, Window(true));
    }
    struct DoorDef { int type; const char* name; bool vertical, open, gate; };
    const DoorDef doors[] = {
        {TYPE_DOOR_H_CLOSED, "door H closed", false, false, false}, {TYPE_DOOR_H_OPEN, "door H open", false, true, false},
        {TYPE_DOOR_V_CLOSED, "door V closed", true, false, false},  {TYPE_DOOR_V_OPEN, "door V open", true, true, false},
        {TYPE_GATE_H_CLOSED, "gate H closed", false, false, true},  {TYPE_GATE_H_OPEN, "gate H open", false, true, true},
    };
    for (const DoorDef& def : doors) {
        ObjectRecord& r = NewItem(d, def.type, def.name);
        r.Add(BOTTOM).Add(UNMOVE).Add(NOROOF);
        if (!def.open) r.Add(UNPASS);
        r.Add(AUTOMAP, {def.open ? CubeColor(3, 2, 1) : CubeColor(4, 3, 0)});
        r.Add(LENSHELP, {def.gate ? 1105 : 1104});
        Single(d, r, Door(def.vertical, def.open, def.gate));
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_ARCH_H, "arch H");
        r.Add(TOP).Add(UNMOVE).Add(NOROOF);
        Single(d, r, Arch(false));
        ObjectRecord& v = NewItem(d, TYPE_ARCH_V, "arch V");
        v.Add(TOP).Add(UNMOVE).Add(NOROOF);
        Single(d, v, Arch(true));
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_STAIRS_DOWN, "stairs down");
        r.Add(BOTTOM).Add(UNMOVE).Add(AVOID).Add(AUTOMAP, {CubeColor(5, 5, 0)}).Add(LENSHELP, {1106});
        Single(d, r, StairsDown());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_RAMP_UP, "ramp up");
        r.Add(BOTTOM).Add(UNMOVE).Add(AVOID).Add(NOROOF).Add(AUTOMAP, {CubeColor(5, 5, 0)}).Add(LENSHELP, {1106});
        r.Shape(1, 2, 1, 1, 1, 1, 1);
        r.PutParts(d.Sprites.AddParts(RampUp(), 1, 2), 1, 1, 1, 1, 1);
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_LADDER, "ladder");
        r.Add(BOTTOM).Add(UNMOVE).Add(USETARGET).Add(AVOID).Add(AUTOMAP, {CubeColor(5, 5, 0)}).Add(LENSHELP, {1100});
        r.Shape(1, 2, 1, 1, 1, 1, 1);
        r.PutParts(d.Sprites.AddParts(Ladder(), 1, 2), 1, 1, 1, 1, 1);
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_HOLE, "hole");
        r.Add(BOTTOM).Add(UNMOVE).Add(AVOID).Add(AUTOMAP, {CubeColor(5, 5, 0)}).Add(LENSHELP, {1102});
        Single(d, r, Hole());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_ROPE_SPOT, "rope spot");
        r.Add(ONBANK).Add(UNMOVE).Add(USETARGET).Add(AUTOMAP, {CubeColor(5, 5, 0)}).Add(LENSHELP, {1102});
        Single(d, r, RopeSpot());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_SEWER_GRATE, "sewer grate");
        r.Add(BOTTOM).Add(UNMOVE).Add(USETARGET).Add(AVOID).Add(AUTOMAP, {CubeColor(5, 5, 0)}).Add(LENSHELP, {1101});
        Single(d, r, SewerGrate());
    }
    {
        ObjectRecord& r = NewItem(d, TYPE_TRAPDOOR, "trapdoor");
        r.Add(BOTTOM).Add(UNMOVE).Add(AVOID).Add(AUTOMAP, {CubeColor(5, 5, 0)}).Add(LENSHELP, {1102});
        Single(d, r, Trapdoor());
    }
}

}  // namespace gen
