// An independent reader of the three data files, written from their formats,
// used to check what the generator wrote.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace datafiles {

// Reads little-endian values and fails loudly on a short file.
class Cursor {
  public:
    Cursor(const std::string& bytes, size_t at = 0) : Bytes(bytes), At(at) {}
    uint8_t Byte() {
        Need(1);
        return uint8_t(Bytes[At++]);
    }
    uint16_t Word() {
        uint16_t lo = Byte();
        return uint16_t(lo | (Byte() << 8));
    }
    uint32_t Quad() {
        uint32_t v = Word();
        return v | (uint32_t(Word()) << 16);
    }
    size_t Offset() const { return At; }
    bool AtEnd() const { return At == Bytes.size(); }

  private:
    void Need(size_t n) const {
        if (At + n > Bytes.size()) throw std::runtime_error("data ends early at " + std::to_string(At));
    }
    const std::string& Bytes;
    size_t At;
};

struct Entry {
    uint32_t Flags = 0;
    std::array<std::vector<uint16_t>, 32> Params;
    int Width = 0, Height = 0, DisplaySize = 32, Layers = 0, PatternWidth = 0, PatternHeight = 0, PatternDepth = 0,
        Phases = 0;
    std::vector<uint16_t> Sprites;
    bool Has(int code) const { return (Flags >> code) & 1u; }
    uint16_t Sprite(int x, int y, int layer, int px, int py, int pz, int phase) const {
        size_t i = size_t(x - 1) +
                   size_t(Width) * (size_t(y - 1) +
                                    size_t(Height) * (size_t(layer - 1) +
                                                      size_t(Layers) * (size_t(px - 1) +
                                                                        size_t(PatternWidth) *
                                                                            (size_t(py - 1) + size_t(PatternHeight) *
                                                                                                  (size_t(pz - 1) + size_t(PatternDepth) * size_t(phase - 1))))));
        return Sprites.at(i);
    }
};

struct DatFile {
    uint32_t Signature = 0;
    int HighestItem = 0, Outfits = 0, Effects = 0, Missiles = 0;
    std::vector<Entry> Items, OutfitEntries, EffectEntries, MissileEntries;
};
DatFile ReadDat(const std::string& bytes);

// A decoded 32 x 32 image: RGB per pixel plus whether the run data wrote it.
struct Image {
    std::array<uint8_t, 3> Key{};
    std::array<std::array<uint8_t, 3>, 1024> Pixels{};
    std::array<bool, 1024> Written{};
};

// Decodes pixel data at `offset`; throws unless the runs consume exactly the
// data size and stay within 1024 pixels.
Image DecodePixels(const std::string& bytes, size_t offset, std::array<uint8_t, 3> key);

struct SprFile {
    uint32_t Signature = 0;
    std::vector<uint32_t> Offsets;  // sprite n at [n - 1]
};
SprFile ReadSpr(const std::string& bytes);

struct PictureEntry {
    int TilesX = 0, TilesY = 0;
    std::array<uint8_t, 3> Key{};
    std::vector<uint32_t> Tiles;
};
struct PicFile {
    uint32_t Signature = 0;
    std::vector<PictureEntry> Pictures;
};
PicFile ReadPic(const std::string& bytes);

// Every pixel of a picture, row by row; written pixels only (false = key).
struct Bitmap {
    int Width = 0, Height = 0;
    std::vector<std::array<uint8_t, 3>> Pixels;
    std::vector<bool> Set;
    bool At(int x, int y) const { return Set[size_t(y) * Width + x]; }
};
Bitmap DecodePicture(const std::string& bytes, const PictureEntry& picture);

// FNV-1a over everything after the first four bytes.
uint32_t ContentHash(const std::string& bytes);

}  // namespace datafiles
