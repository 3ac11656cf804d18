// The shield is described in the 32-unit grid of the window icon and painted
// pixel by pixel from signed distances (inside positive): the silhouette gets
// a soft edge, everything inside keeps the hard bands of the game's art. The
// light comes from the top left as everywhere: the rim is bevelled against it,
// the rim and the V cast their shadows on the wood towards the bottom right.
#include "ProgramIcon.h"

#include "Palette.h"
#include "Png.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace gen {

using art::Color;

namespace {

struct Point {
    double X, Y;
};
using Outline = std::vector<Point>;

// Flat top, straight sides, a rounded bottom (as the 32-pixel icon has it).
Outline ShieldShape() {
    Outline Shape{{2, 2}, {30, 2}, {30, 17.5}};
    const Point P0{30, 17.5}, P1{30, 26}, P2{24, 31}, P3{16, 31};
    for (int i = 1; i <= 24; ++i) {
        const double t = i / 24.0, s = 1 - t;
        Shape.push_back({s * s * s * P0.X + 3 * s * s * t * P1.X + 3 * s * t * t * P2.X + t * t * t * P3.X,
                         s * s * s * P0.Y + 3 * s * s * t * P1.Y + 3 * s * t * t * P2.Y + t * t * t * P3.Y});
    }
    // The left half mirrors the right one.
    for (int i = int(Shape.size()) - 2; i >= 1; --i)
        Shape.push_back({32 - Shape[size_t(i)].X, Shape[size_t(i)].Y});
    return Shape;
}

// Foot: half the width of the V's point.
Outline VShape(double Foot) {
    return {{8.5, 6.5}, {12.8, 6.5}, {16, 19.5}, {19.2, 6.5}, {23.5, 6.5}, {16 + Foot, 26}, {16 - Foot, 26}};
}

// Signed distance from p to the outline (positive inside) and the direction
// from the nearest edge point into the shape.
struct Distance {
    double Value;
    double NX, NY;
};

Distance Measure(const Outline& Shape, double X, double Y) {
    double Best = 1e9, NX = 0, NY = 0;
    bool Inside = false;
    for (size_t i = 0, j = Shape.size() - 1; i < Shape.size(); j = i++) {
        const Point& A = Shape[j];
        const Point& B = Shape[i];
        if ((A.Y > Y) != (B.Y > Y) && X < A.X + (Y - A.Y) / (B.Y - A.Y) * (B.X - A.X)) Inside = !Inside;
        const double VX = B.X - A.X, VY = B.Y - A.Y;
        const double T = std::clamp(((X - A.X) * VX + (Y - A.Y) * VY) / (VX * VX + VY * VY), 0.0, 1.0);
        const double DX = X - (A.X + T * VX), DY = Y - (A.Y + T * VY);
        const double D = std::sqrt(DX * DX + DY * DY);
        if (D < Best) Best = D, NX = DX, NY = DY;
    }
    const double Length = std::max(1e-9, std::sqrt(NX * NX + NY * NY));
    const double Sign = Inside ? 1 : -1;
    return {Sign * Best, Sign * NX / Length, Sign * NY / Length};
}

// How much a surface facing (NX, NY) on screen catches the light from the top left.
double Facing(double NX, double NY) { return -0.6 * NX - 0.8 * NY; }

Color WithAlpha(Color C, double Alpha) {
    C.a = uint8_t(std::lround(std::clamp(Alpha, 0.0, 1.0) * 255));
    return C;
}

}  // namespace

art::Canvas ProgramIcon(int Size) {
    namespace pal = art::pal;
    const double Unit = Size / 32.0;  // pixels per unit of the window icon's grid
    // Bands in units; never thinner than a pixel, so the small sizes keep them all.
    const double Line = std::max(1.0, std::round(Unit * 0.9)) / Unit;
    const double Rim = std::max(1.0, std::round(Unit * 2.2)) / Unit;
    const double Shade = Rim * 0.6;
    // Below 32 pixels the inner outlines would eat the wood and the V: the
    // tones alone part them there.
    const double Inner = Size >= 32 ? Line : 0;
    const Outline Shield = ShieldShape(), V = VShape(Size >= 32 ? 1.6 : 1.0);
    const double Seam = 4;  // the planks' width in units

    art::Canvas Icon(Size, Size);
    for (int py = 0; py < Size; ++py)
        for (int px = 0; px < Size; ++px) {
            const double X = (px + 0.5) / Unit, Y = (py + 0.5) / Unit;
            const Distance S = Measure(Shield, X, Y);
            const double EdgeAlpha = S.Value * Unit + 0.5;  // a soft silhouette
            if (EdgeAlpha <= 0) continue;
            Color C;
            const double D = S.Value;
            if (D < Line) {
                C = pal::UI_WOOD[0];
            } else if (D < Line + Rim) {
                // The rim's outer half faces outwards, the inner half inwards.
                const bool Outer = D < Line + Rim / 2;
                const double Light = Outer ? Facing(-S.NX, -S.NY) : Facing(S.NX, S.NY);
                C = pal::UI_IRON[Light > 0.45 ? 5 : Light > -0.1 ? 4 : Light > -0.5 ? 3 : 2];
            } else if (D < Line + Rim + Inner) {
                C = pal::UI_WOOD[0];
            } else {
                const Distance VD = Measure(V, X, Y);
                if (VD.Value >= Inner) {
                    // The golden V, bevelled: its edges lean towards or away from the light.
                    const double Bevel = std::max(Line, 0.9);
                    int Tone = 4;
                    if (VD.Value < Inner + Bevel) {
                        const double Light = Facing(-VD.NX, -VD.NY);
                        Tone = Light > 0.3 ? 5 : Light < -0.3 ? 2 : 3;
                    }
                    C = pal::GOLD[Tone];
                } else if (VD.Value >= 0) {
                    C = pal::GOLD[1];
                } else {
                    // Wood: the lit left half, the darker right half, plank seams.
                    const bool Left = X < 16;
                    int Tone = Left ? 3 : 2;
                    const double InPlank = std::fmod(X - 2, Seam);
                    if (Size >= 48 && InPlank < Line * 0.7) Tone = Left ? 1 : 0;
                    else if (Size >= 48 && InPlank < Line * 1.6) Tone += 1;
                    // In the shadow of the rim (its top and left) and of the V.
                    const bool UnderRim = D < Line + Rim + Inner + Shade && Facing(S.NX, S.NY) < -0.3;
                    const bool UnderV = Measure(V, X - Shade, Y - Shade).Value >= 0;
                    if (UnderRim || UnderV) Tone = std::max(0, Tone - 1);
                    C = pal::TIMBER[size_t(Tone) + 1];
                }
            }
            Icon.Set(px, py, WithAlpha(C, EdgeAlpha));
        }
    return Icon;
}

void WriteProgramIcons(const std::string& Directory) {
    for (int Size : ICON_SIZES)
        WritePngWithAlpha(Directory + "/icon-" + std::to_string(Size) + ".png", ProgramIcon(Size));
}

}  // namespace gen
