// A small RGBA drawing surface for the generator: images are built here and
// only the file writers turn them into key-coloured pixel data. A pixel with
// alpha 0 is transparent; everything else is opaque.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace art {

struct Color {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    constexpr Color() = default;
    constexpr Color(int R, int G, int B, int A = 255)
        : r(static_cast<uint8_t>(R)), g(static_cast<uint8_t>(G)), b(static_cast<uint8_t>(B)),
          a(static_cast<uint8_t>(A)) {}
    bool Opaque() const { return a != 0; }
    bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Color& o) const { return !(*this == o); }
};

inline constexpr Color CLEAR{0, 0, 0, 0};

// 0xRRGGBB literal to an opaque colour.
constexpr Color Hex(uint32_t v) { return Color((v >> 16) & 255, (v >> 8) & 255, v & 255); }
Color Mix(Color a, Color b, int percentOfB);

class Canvas {
  public:
    Canvas() = default;
    Canvas(int width, int height) : W(width), H(height), Pixels(std::size_t(width) * height) {}

    int Width() const { return W; }
    int Height() const { return H; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < W && y < H; }
    Color Get(int x, int y) const { return Inside(x, y) ? Pixels[std::size_t(y) * W + x] : CLEAR; }
    void Set(int x, int y, Color c) {
        if (Inside(x, y)) Pixels[std::size_t(y) * W + x] = c;
    }
    bool Filled(int x, int y) const { return Get(x, y).Opaque(); }
    const std::vector<Color>& Data() const { return Pixels; }

    void Clear(Color c = CLEAR);
    void FillRect(int x, int y, int w, int h, Color c);
    void Rect(int x, int y, int w, int h, Color c);  // one-pixel outline
    void HLine(int x, int y, int w, Color c) { FillRect(x, y, w, 1, c); }
    void VLine(int x, int y, int h, Color c) { FillRect(x, y, 1, h, c); }
    void Line(int x0, int y0, int x1, int y1, Color c);
    void ThickLine(double x0, double y0, double x1, double y1, double width, Color c);
    // Filled ellipse with a real-valued centre and radii (pixel centres tested).
    void FillEllipse(double cx, double cy, double rx, double ry, Color c);
    void FillPolygon(const std::vector<double>& xy, Color c);
    // Copies the opaque pixels of src with its top-left at (x, y).
    void Draw(const Canvas& src, int x, int y);
    // Copies a rectangle of src.
    Canvas Cut(int x, int y, int w, int h) const;
    Canvas FlippedX() const;
    // Replaces every opaque pixel by c (keeps the shape).
    void Tint(Color c);

  private:
    int W = 0, H = 0;
    std::vector<Color> Pixels;
};

// Deterministic noise so that the same sources always give the same bytes.
struct Random {
    uint32_t State;
    explicit Random(uint32_t seed) : State(seed * 2654435761u + 12345u) {}
    uint32_t Next() {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return State;
    }
    int Range(int lo, int hi) { return lo + int(Next() % uint32_t(hi - lo + 1)); }
    double Unit() { return (Next() & 0xFFFFFF) / double(0x1000000); }
};

// Smooth value noise on a period (tiles seamlessly every `period` pixels).
double TileNoise(double x, double y, int cells, int period, uint32_t seed);

}  // namespace art
