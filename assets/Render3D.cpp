#include "Render3D.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {
uint32_t HashCell(int a, int b, int c) {
    uint32_t h = uint32_t(a) * 73856093u ^ uint32_t(b) * 19349663u ^ uint32_t(c) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}
int Floor(double v) { return int(std::floor(v)); }
}  // namespace

int StandardTexture(const Solid& s, const Hit& h) {
    switch (s.Pattern) {
        case BRICKS: {
            // Courses 6 pixels high, bricks 16 long, every other course offset
            // by half a brick; mortar in the dark tone, a lit top edge per brick.
            double u, v;
            if (h.Side == FACE_TOP) {
                u = h.X + h.Y * 0.0, v = h.Y;
                int row = Floor(v / 8), col = Floor((u + (row & 1) * 8) / 16);
                double fu = std::fmod(std::fmod(u + (row & 1) * 8, 16) + 16, 16), fv = std::fmod(std::fmod(v, 8) + 8, 8);
                if (fu < 1 || fv < 1) return -2;
                return (HashCell(row, col, 7) % 3 == 0) ? -1 : 0;
            }
            u = h.Side == FACE_SOUTH ? h.X : h.Y;
            v = h.Z;
            int row = Floor(v / 6);
            double shifted = u + (row & 1) * 8;
            int col = Floor(shifted / 16);
            double fu = std::fmod(std::fmod(shifted, 16) + 16, 16), fv = std::fmod(std::fmod(v, 6) + 6, 6);
            if (fu < 1 || fv < 1) return -2;
            int t = (HashCell(row, col, 3) % 4 == 0) ? -1 : 0;
            if (fv >= 5) t += 1;
            return t;
        }
        case PLANKS_V: {
            double u = h.Side == FACE_EAST ? h.Y : h.X;
            if (h.Side == FACE_TOP) u = h.X;
            double f = std::fmod(std::fmod(u, 6) + 6, 6);
            if (f < 1) return -1;
            int plank = Floor(u / 6);
            return (HashCell(plank, 1, 2) % 3 == 0) ? -1 : 0;
        }
        case PLANKS_H: {
            double v = h.Side == FACE_TOP ? h.Y : h.Z;
            double f = std::fmod(std::fmod(v, 5) + 5, 5);
            if (f < 1) return -1;
            return 0;
        }
        case STONES: {
            double u = h.Side == FACE_SOUTH ? h.X : h.Side == FACE_EAST ? h.Y : h.X;
            double v = h.Side == FACE_TOP ? h.Y : h.Z;
            int row = Floor(v / 5);
            double shifted = u + (row % 3) * 4;
            double fu = std::fmod(std::fmod(shifted, 10) + 10, 10), fv = std::fmod(std::fmod(v, 5) + 5, 5);
            if (fu < 1 || fv < 1) return -1;
            return 0;
        }
        case RIVETS: {
            double u = h.Side == FACE_EAST ? h.Y : h.X, v = h.Side == FACE_TOP ? h.Y : h.Z;
            double fu = std::fmod(std::fmod(u, 8) + 8, 8), fv = std::fmod(std::fmod(v, 8) + 8, 8);
            if (fu >= 3 && fu < 4 && fv >= 3 && fv < 4) return 2;
            return 0;
        }
        case GRAIN: {
            double u = h.Side == FACE_EAST ? h.Y : h.X;
            int line = Floor(u / 3);
            return (HashCell(line, Floor(h.Z / 7), 5) % 4 == 0) ? -1 : 0;
        }
        default: return 0;
    }
}

Canvas RenderSolids(const std::vector<Solid>& solids, int w, int h, int ox, int oy, const Texture& texture) {
    Canvas out(w, h);
    std::vector<int> owner(size_t(w) * h, -1);
    std::vector<int> face(size_t(w) * h, -1);
    std::vector<int> tones(size_t(w) * h, 0);
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) {
            double sx = px - ox + 0.5, sy = py - oy + 0.5;
            double best = -1e9;
            Hit hit{};
            hit.Solid = -1;
            for (size_t i = 0; i < solids.size(); ++i) {
                const Solid& s = solids[i];
                double tmin, tmax;
                Face side;
                double nx = 0, ny = 0;
                if (!s.Round) {
                    double tx1 = s.X1 - sx, ty1 = s.Y1 - sy, tz1 = s.Z1;
                    tmax = std::min({tx1, ty1, tz1});
                    tmin = std::max({s.X0 - sx, s.Y0 - sy, s.Z0});
                    side = tmax == tz1 ? FACE_TOP : tmax == ty1 ? FACE_SOUTH : FACE_EAST;
                } else {
                    double cx = (s.X0 + s.X1) / 2, cy = (s.Y0 + s.Y1) / 2, r = (s.X1 - s.X0) / 2;
                    double a = sx - cx, b = sy - cy;
                    double disc = (a + b) * (a + b) - 2 * (a * a + b * b - r * r);
                    if (disc < 0) continue;
                    double t1 = (-(a + b) - std::sqrt(disc)) / 2, t2 = (-(a + b) + std::sqrt(disc)) / 2;
                    tmin = std::max(t1, s.Z0);
                    tmax = std::min(t2, s.Z1);
                    side = tmax == s.Z1 ? FACE_TOP : FACE_ROUND;
                    nx = (a + tmax) / r, ny = (b + tmax) / r;
                }
                if (tmin >= tmax || tmax <= best) continue;
                best = tmax;
                hit = Hit{int(i), side, sx + tmax - 1e-6, sy + tmax - 1e-6, tmax - 1e-6, nx, ny};
            }
            if (hit.Solid < 0 || best == -1e9) continue;
            const Solid& s = solids[size_t(hit.Solid)];
            int tone;
            switch (hit.Side) {
                case FACE_TOP: tone = 4; break;
                case FACE_SOUTH: tone = 3; break;
                case FACE_EAST: tone = 2; break;
                default: {
                    // Round sides: lit where they face west and north.
                    double l = -hit.Nx * 0.8 - hit.Ny * 0.45;
                    tone = l > 0.35 ? 4 : l > -0.3 ? 3 : 2;
                }
            }
            tone += s.Tone;
            tone += texture ? texture(s, hit) : StandardTexture(s, hit);
            size_t k = size_t(py) * w + px;
            owner[k] = hit.Solid;
            face[k] = hit.Side;
            tones[k] = tone;
        }
    // Outline on the silhouette; a light edge where a top face meets a side.
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) {
            size_t k = size_t(py) * w + px;
            if (owner[k] < 0) continue;
            const Solid& s = solids[size_t(owner[k])];
            auto other = [&](int x, int y) {
                if (x < 0 || y < 0 || x >= w || y >= h) return -2;
                return owner[size_t(y) * w + x];
            };
            int tone = tones[k];
            bool border = false;
            for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                int o = other(px + dx, py + dy);
                if (o == -1) border = true;
            }
            if (border) tone = 0;
            else if (face[k] == FACE_TOP && py + 1 < h && owner[k + size_t(w)] == owner[k] && face[k + size_t(w)] != FACE_TOP)
                tone += 1;
            else if (face[k] != FACE_TOP) {
                // a darker seam where one solid stands in front of another
                int up = other(px, py - 1), left = other(px - 1, py);
                if ((up >= 0 && up != owner[k] && solids[size_t(up)].Material != s.Material) ||
                    (left >= 0 && left != owner[k] && solids[size_t(left)].Material != s.Material))
                    tone -= 1;
            }
            out.Set(px, py, (*s.Material)[size_t(std::clamp(tone, 0, 5))]);
        }
    return out;
}

}  // namespace art
