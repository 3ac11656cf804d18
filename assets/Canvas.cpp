#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace art {

Color Mix(Color a, Color b, int p) {
    return Color(a.r + (b.r - a.r) * p / 100, a.g + (b.g - a.g) * p / 100, a.b + (b.b - a.b) * p / 100,
                 a.a + (b.a - a.a) * p / 100);
}

void Canvas::Clear(Color c) { std::fill(Pixels.begin(), Pixels.end(), c); }

void Canvas::FillRect(int x, int y, int w, int h, Color c) {
    for (int j = std::max(0, y); j < std::min(H, y + h); ++j)
        for (int i = std::max(0, x); i < std::min(W, x + w); ++i) Pixels[size_t(j) * W + i] = c;
}

void Canvas::Rect(int x, int y, int w, int h, Color c) {
    HLine(x, y, w, c);
    HLine(x, y + h - 1, w, c);
    VLine(x, y, h, c);
    VLine(x + w - 1, y, h, c);
}

void Canvas::Line(int x0, int y0, int x1, int y1, Color c) {
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Set(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

void Canvas::ThickLine(double x0, double y0, double x1, double y1, double width, Color c) {
    double r = width / 2;
    int minx = int(std::floor(std::min(x0, x1) - r)), maxx = int(std::ceil(std::max(x0, x1) + r));
    int miny = int(std::floor(std::min(y0, y1) - r)), maxy = int(std::ceil(std::max(y0, y1) + r));
    double vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
    for (int y = miny; y <= maxy; ++y)
        for (int x = minx; x <= maxx; ++x) {
            double px = x + 0.5 - x0, py = y + 0.5 - y0;
            double t = len2 > 0 ? std::clamp((px * vx + py * vy) / len2, 0.0, 1.0) : 0;
            double ex = px - t * vx, ey = py - t * vy;
            if (ex * ex + ey * ey <= r * r) Set(x, y, c);
        }
}

void Canvas::FillEllipse(double cx, double cy, double rx, double ry, Color c) {
    if (rx <= 0 || ry <= 0) return;
    for (int y = int(std::floor(cy - ry)); y <= int(std::ceil(cy + ry)); ++y)
        for (int x = int(std::floor(cx - rx)); x <= int(std::ceil(cx + rx)); ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) Set(x, y, c);
        }
}

void Canvas::FillPolygon(const std::vector<double>& xy, Color c) {
    size_t n = xy.size() / 2;
    if (n < 3) return;
    double miny = 1e9, maxy = -1e9;
    for (size_t i = 0; i < n; ++i) miny = std::min(miny, xy[2 * i + 1]), maxy = std::max(maxy, xy[2 * i + 1]);
    for (int y = int(std::floor(miny)); y <= int(std::ceil(maxy)); ++y) {
        double sy = y + 0.5;
        std::vector<double> xs;
        for (size_t i = 0; i < n; ++i) {
            double ax = xy[2 * i], ay = xy[2 * i + 1];
            double bx = xy[2 * ((i + 1) % n)], by = xy[2 * ((i + 1) % n) + 1];
            if ((ay <= sy && by > sy) || (by <= sy && ay > sy)) xs.push_back(ax + (sy - ay) / (by - ay) * (bx - ax));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2)
            for (int x = int(std::ceil(xs[k] - 0.5)); x <= int(std::floor(xs[k + 1] - 0.5)); ++x) Set(x, y, c);
    }
}

void Canvas::Draw(const Canvas& src, int x, int y) {
    for (int j = 0; j < src.H; ++j)
        for (int i = 0; i < src.W; ++i) {
            Color c = src.Pixels[size_t(j) * src.W + i];
            if (c.Opaque()) Set(x + i, y + j, c);
        }
}

Canvas Canvas::Cut(int x, int y, int w, int h) const {
    Canvas out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) out.Set(i, j, Get(x + i, y + j));
    return out;
}

Canvas Canvas::FlippedX() const {
    Canvas out(W, H);
    for (int j = 0; j < H; ++j)
        for (int i = 0; i < W; ++i) out.Set(W - 1 - i, j, Get(i, j));
    return out;
}

void Canvas::Tint(Color c) {
    for (Color& p : Pixels)
        if (p.Opaque()) p = c;
}

namespace {
double Lattice(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 65535.0;
}
double Smooth(double t) { return t * t * (3 - 2 * t); }
}  // namespace

double TileNoise(double x, double y, int cells, int period, uint32_t seed) {
    double fx = x * cells / period, fy = y * cells / period;
    int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    double tx = Smooth(fx - ix), ty = Smooth(fy - iy);
    auto at = [&](int a, int b) { return Lattice(((a % cells) + cells) % cells, ((b % cells) + cells) % cells, seed); };
    double v0 = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
    double v1 = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
    return v0 + (v1 - v0) * ty;
}

}  // namespace art
