// Small sprite and picture files written by the tests themselves, in the
// formats the client reads, so that every byte the decoder sees is known.
#pragma once

#include "graphics/Surface.h"

#include <cstdint>
#include <string>
#include <vector>

namespace image_files {

// A 32 x 32 image of 3-byte pixels with its key. An empty sprite has no
// data in the file (offset 0).
struct Image {
    RGBColour Key{255, 0, 255};
    std::vector<uint8_t> Pixels = std::vector<uint8_t>(3072, 0);
    bool Empty = false;
    // Data written as is instead of encoding Pixels (for broken or odd data).
    std::string RawData;

    void Fill(uint8_t R, uint8_t G, uint8_t B);
    void Set(int X, int Y, uint8_t R, uint8_t G, uint8_t B);
};

// A picture of TilesX x TilesY tiles: pixels row by row over the whole
// picture, (TilesX * 32) x (TilesY * 32).
struct Picture {
    int TilesX = 1, TilesY = 1;
    RGBColour Key{255, 0, 255};
    std::vector<uint8_t> Pixels;
    std::vector<std::string> RawTiles;  // optional replacement data per tile

    Picture(int TilesX, int TilesY, RGBColour Key);
    void Set(int X, int Y, uint8_t R, uint8_t G, uint8_t B);
    void FillRect(int X, int Y, int Width, int Height, uint8_t R, uint8_t G, uint8_t B);
};

// The run-length data of one image: size word, then runs.
std::string EncodePixels(const uint8_t* Pixels, const RGBColour& Key);
std::string MakeSpriteFile(uint32_t Signature, const std::vector<Image>& Sprites);
std::string MakePictureFile(uint32_t Signature, const std::vector<Picture>& Pictures);

// The test fonts: glyph g is a white block of GlyphWidth x GlyphHeight
// pixels at its cell's top left; glyph 0 (the blank) is empty.
int TestGlyphWidth(int CharWidth, int Glyph);
int TestGlyphHeight(int CharHeight, int Glyph);
Picture MakeFontPicture(int CharWidth, int CharHeight, RGBColour Key);

// Pictures 1 to 8 with the fonts at 3, 5, 6 and 8; picture 1 is 2 x 2 tiles
// whose pixel (x, y) is (x, y, 7), picture 2 one tile of (10, 20, 30).
std::vector<Picture> StandardPictures();

// Writes the files into the working directory.
void WriteFiles(const std::vector<Image>& Sprites, const std::vector<Picture>& Pictures,
                uint32_t SpriteSignature = 0x11223344, uint32_t PictureSignature = 0x55667788);

}  // namespace image_files
