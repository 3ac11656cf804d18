// A tiny solid renderer for buildings and furniture. The map looks at the
// world from the south-east and above: a point (X east, Y south, Z up) in
// pixels of its field appears at (X - Z, Y - Z), so height leans up and to the
// left. Top faces catch the light from the top left, south faces are in half
// shade, east faces in shade; silhouettes get the material's outline tone.
#pragma once

#include "Canvas.h"
#include "Palette.h"

#include <functional>
#include <vector>

namespace art {

enum Face { FACE_TOP = 0, FACE_SOUTH = 1, FACE_EAST = 2, FACE_ROUND = 3 };

struct Hit {
    int Solid;
    Face Side;
    double X, Y, Z;   // world point
    double Nx, Ny;    // horizontal normal of a round side
};

struct Solid {
    bool Round = false;  // vertical cylinder inscribed in the box's X and Y extent
    double X0, Y0, Z0, X1, Y1, Z1;
    const Ramp* Material;
    int Pattern = 0;  // texture id handed to the texture function
    int Tone = 0;     // shifts all tones of this solid
};

// Returns a tone change for a hit (texture: mortar, planks, grain).
using Texture = std::function<int(const Solid&, const Hit&)>;

// Renders the solids into a canvas of w x h pixels whose point (ox, oy) is the
// top-left corner of the object's own field.
Canvas RenderSolids(const std::vector<Solid>& solids, int w, int h, int ox, int oy, const Texture& texture = {});

// Common textures by pattern id.
enum Pattern { PLAIN = 0, BRICKS = 1, PLANKS_V = 2, PLANKS_H = 3, STONES = 4, RIVETS = 5, GRAIN = 6 };
int StandardTexture(const Solid& s, const Hit& h);

inline Solid Box(double x0, double y0, double z0, double x1, double y1, double z1, const Ramp& m, int pattern = 0,
                 int tone = 0) {
    return Solid{false, x0, y0, z0, x1, y1, z1, &m, pattern, tone};
}
inline Solid Cylinder(double cx, double cy, double r, double z0, double z1, const Ramp& m, int pattern = 0,
                      int tone = 0) {
    return Solid{true, cx - r, cy - r, z0, cx + r, cy + r, z1, &m, pattern, tone};
}

}  // namespace art
