#include "DataFileReader.h"

namespace datafiles {

namespace {
int ParameterCount(int code) {
    switch (code) {
        case 0: case 8: case 9: case 25: case 28: case 29: return 1;
        case 21: case 24: return 2;
        default: return 0;
    }
}

Entry ReadEntry(Cursor& c) {
    Entry e;
    for (;;) {
        int code = c.Byte();
        if (code == 0xFF) break;
        if (code > 31) throw std::runtime_error("flag code " + std::to_string(code) + " is not valid");
        e.Flags |= 1u << code;
        for (int k = 0; k < ParameterCount(code); ++k) e.Params[size_t(code)].push_back(c.Word());
    }
    e.Width = c.Byte();
    e.Height = c.Byte();
    if (e.Width > 1 || e.Height > 1) e.DisplaySize = c.Byte();
    e.Layers = c.Byte();
    e.PatternWidth = c.Byte();
    e.PatternHeight = c.Byte();
    e.PatternDepth = c.Byte();
    e.Phases = c.Byte();
    size_t n = size_t(e.Width) * e.Height * e.Layers * e.PatternWidth * e.PatternHeight * e.PatternDepth * e.Phases;
    for (size_t i = 0; i < n; ++i) e.Sprites.push_back(c.Word());
    return e;
}
}  // namespace

uint32_t ContentHash(const std::string& bytes) {
    uint32_t h = 2166136261u;
    for (size_t i = 4; i < bytes.size(); ++i) h = (h ^ uint8_t(bytes[i])) * 16777619u;
    return h;
}

DatFile ReadDat(const std::string& bytes) {
    Cursor c(bytes);
    DatFile f;
    f.Signature = c.Quad();
    f.HighestItem = c.Word();
    f.Outfits = c.Word();
    f.Effects = c.Word();
    f.Missiles = c.Word();
    for (int i = 100; i <= f.HighestItem; ++i) f.Items.push_back(ReadEntry(c));
    for (int i = 0; i < f.Outfits; ++i) f.OutfitEntries.push_back(ReadEntry(c));
    for (int i = 0; i < f.Effects; ++i) f.EffectEntries.push_back(ReadEntry(c));
    for (int i = 0; i < f.Missiles; ++i) f.MissileEntries.push_back(ReadEntry(c));
    if (!c.AtEnd()) throw std::runtime_error("bytes left after the last record");
    return f;
}

Image DecodePixels(const std::string& bytes, size_t offset, std::array<uint8_t, 3> key) {
    Image img;
    img.Key = key;
    img.Pixels.fill(key);
    Cursor c(bytes, offset);
    size_t size = c.Word();
    size_t start = c.Offset();
    size_t pos = 0;
    while (c.Offset() - start < size) {
        pos += c.Word();
        size_t run = c.Word();
        if (pos + run > 1024) throw std::runtime_error("runs beyond 1024 pixels");
        for (size_t k = 0; k < run; ++k, ++pos) {
            img.Pixels[pos] = {c.Byte(), c.Byte(), c.Byte()};
            img.Written[pos] = true;
        }
    }
    if (c.Offset() - start != size) throw std::runtime_error("runs overshoot the data size");
    return img;
}

SprFile ReadSpr(const std::string& bytes) {
    Cursor c(bytes);
    SprFile f;
    f.Signature = c.Quad();
    int n = c.Word();
    for (int i = 0; i < n; ++i) f.Offsets.push_back(c.Quad());
    return f;
}

PicFile ReadPic(const std::string& bytes) {
    Cursor c(bytes);
    PicFile f;
    f.Signature = c.Quad();
    int n = c.Word();
    for (int i = 0; i < n; ++i) {
        PictureEntry p;
        p.TilesX = c.Byte();
        p.TilesY = c.Byte();
        p.Key = {c.Byte(), c.Byte(), c.Byte()};
        for (int t = 0; t < p.TilesX * p.TilesY; ++t) p.Tiles.push_back(c.Quad());
        f.Pictures.push_back(std::move(p));
    }
    return f;
}

Bitmap DecodePicture(const std::string& bytes, const PictureEntry& p) {
    Bitmap b;
    b.Width = p.TilesX * 32, b.Height = p.TilesY * 32;
    b.Pixels.resize(size_t(b.Width) * b.Height);
    b.Set.resize(size_t(b.Width) * b.Height);
    for (int ty = 0; ty < p.TilesY; ++ty)
        for (int tx = 0; tx < p.TilesX; ++tx) {
            Image img = DecodePixels(bytes, p.Tiles[size_t(tx + ty * p.TilesX)], p.Key);
            for (int i = 0; i < 1024; ++i) {
                size_t at = size_t(ty * 32 + i / 32) * b.Width + size_t(tx * 32 + i % 32);
                b.Pixels[at] = img.Pixels[size_t(i)];
                b.Set[at] = img.Written[size_t(i)];
            }
        }
    return b;
}

}  // namespace datafiles
