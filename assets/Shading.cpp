#include "Shading.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {
// Box-blurred coverage of the mask, padded so that the edge falls off smoothly.
std::vector<double> HeightField(const Canvas& mask, int radius) {
    int w = mask.Width(), h = mask.Height();
    std::vector<double> a(size_t(w) * h), b(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) a[size_t(y) * w + x] = mask.Filled(x, y) ? 1.0 : 0.0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double s = 0;
                for (int k = -radius; k <= radius; ++k) {
                    int xx = x + k;
                    s += (xx >= 0 && xx < w) ? a[size_t(y) * w + xx] : 0.0;
                }
                b[size_t(y) * w + x] = s / (2 * radius + 1);
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double s = 0;
                for (int k = -radius; k <= radius; ++k) {
                    int yy = y + k;
                    s += (yy >= 0 && yy < h) ? b[size_t(yy) * w + x] : 0.0;
                }
                a[size_t(y) * w + x] = s / (2 * radius + 1);
            }
    }
    return a;
}

bool Edge(const Canvas& m, int x, int y) {
    return !m.Filled(x - 1, y) || !m.Filled(x + 1, y) || !m.Filled(x, y - 1) || !m.Filled(x, y + 1);
}
}  // namespace

void ShadeVolume(Canvas& dst, const Canvas& mask, const Ramp& ramp, int ox, int oy, ShadeStyle style) {
    int w = mask.Width(), h = mask.Height();
    std::vector<double> field = HeightField(mask, std::max(1, style.Blur));
    auto H = [&](int x, int y) {
        x = std::clamp(x, 0, w - 1), y = std::clamp(y, 0, h - 1);
        return field[size_t(y) * w + x];
    };
    const double lx = -0.55, ly = -0.65, lz = 0.52;  // towards the light: up, left, above
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!mask.Filled(x, y)) continue;
            if (style.Outline && Edge(mask, x, y)) {
                dst.Set(ox + x, oy + y, ramp[0]);
                continue;
            }
            double gx = (H(x + 1, y) - H(x - 1, y)) * 4 * style.Roundness;
            double gy = (H(x, y + 1) - H(x, y - 1)) * 4 * style.Roundness;
            double nx = -gx, ny = -gy, nz = 1;
            double len = std::sqrt(nx * nx + ny * ny + nz * nz);
            double i = (nx * lx + ny * ly + nz * lz) / len;
            int tone = i < 0.22 ? 1 : i < 0.42 ? 2 : i < 0.62 ? 3 : i < 0.8 ? 4 : 5;
            tone = std::clamp(tone + style.Bias, style.Lowest, 5);
            dst.Set(ox + x, oy + y, ramp[tone]);
        }
}

void ShadeFlat(Canvas& dst, const Canvas& mask, const Ramp& ramp, int base, int ox, int oy, bool outline) {
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x) {
            if (!mask.Filled(x, y)) continue;
            int tone = base;
            if (outline && Edge(mask, x, y))
                tone = 0;
            else if (!mask.Filled(x - 1, y) || !mask.Filled(x, y - 1) || (outline && (!mask.Filled(x - 2, y) || !mask.Filled(x, y - 2))))
                tone = std::min(5, base + 1);
            else if (!mask.Filled(x + 1, y) || !mask.Filled(x, y + 1) || (outline && (!mask.Filled(x + 2, y) || !mask.Filled(x, y + 2))))
                tone = std::max(1, base - 1);
            dst.Set(ox + x, oy + y, ramp[tone]);
        }
}

void OutlineOutside(Canvas& dst, Color c, bool diagonal) {
    Canvas copy = dst;
    for (int y = 0; y < dst.Height(); ++y)
        for (int x = 0; x < dst.Width(); ++x) {
            if (copy.Filled(x, y)) continue;
            bool n = copy.Filled(x - 1, y) || copy.Filled(x + 1, y) || copy.Filled(x, y - 1) || copy.Filled(x, y + 1);
            if (diagonal)
                n = n || copy.Filled(x - 1, y - 1) || copy.Filled(x + 1, y - 1) || copy.Filled(x - 1, y + 1) ||
                    copy.Filled(x + 1, y + 1);
            if (n) dst.Set(x, y, c);
        }
}

void Ball(Canvas& dst, double cx, double cy, double rx, double ry, const Ramp& ramp, ShadeStyle style) {
    Canvas m(dst.Width(), dst.Height());
    m.FillEllipse(cx, cy, rx, ry, Color(1, 1, 1));
    ShadeVolume(dst, m, ramp, 0, 0, style);
}

}  // namespace art
