#include "graphics/graphics.h"

#include "ImageFiles.h"
#include "core/ProgramError.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"
#include "world/DatWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace image_files;

namespace {

constexpr uint32_t RGB(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }
const ClipRect Everything{0, 0, 2000, 2000};

// Sprite i (from 1) is filled with (i, 100, 200) around a transparent
// corner pixel (0, 0); sprite 3 is empty; sprite 4 is a mask.
std::vector<Image> StandardSprites(int Count = 10) {
    std::vector<Image> Sprites(Count);
    for (int i = 0; i < Count; ++i) {
        Sprites[i].Fill(static_cast<uint8_t>(i + 1), 100, 200);
        Sprites[i].Set(0, 0, 255, 0, 255);
    }
    Sprites[2].Empty = true;
    // Mask: top rows yellow, then red, green, blue, the rest some other colour.
    Image& Mask = Sprites[3];
    Mask.Fill(9, 9, 9);
    for (int x = 0; x < 32; ++x) {
        Mask.Set(x, 1, 255, 255, 0);
        Mask.Set(x, 2, 255, 0, 0);
        Mask.Set(x, 3, 0, 255, 0);
        Mask.Set(x, 4, 0, 0, 255);
    }
    return Sprites;
}

class GraphicsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::Reset();
        platform::CreateWindow("test", -1, -1, 800, 600, false);
        SetSurfaceMemoryBudgets(SIZE_MAX, SIZE_MAX);
        InitSurface();
        CreateSurfaces(WINDOWED_MODE, NULL);
    }
    void TearDown() override {
        ExitGraphics();
        ExitSurface();
        SetSurfaceMemoryBudgets(SIZE_MAX, SIZE_MAX);
    }
    void Start(const std::vector<Image>& Sprites = StandardSprites(), int Budget = MEMORY_CACHE_BYTES) {
        WriteFiles(Sprites, StandardPictures());
        InitGraphics(Budget);
    }
    testing_support::ScopedWorkDir Dir;
};

// ---- Files ----------------------------------------------------------------------------

TEST_F(GraphicsTest, LoadsTablesAndSignatures) {
    Start();
    EXPECT_EQ(GetSpriteSignature(), 0x11223344u);
    EXPECT_EQ(GetPictureSignature(), 0x55667788u);
    EXPECT_EQ(GetNumberOfSprites(), 10);
    EXPECT_EQ(GetNumberOfPictures(), 8);
    int TX, TY;
    GetPictureSize(5, &TX, &TY);
    EXPECT_EQ(TX * 10 + TY, 164);
    EXPECT_EQ(GetMemoryCacheSize(), 3413);
}

TEST_F(GraphicsTest, MissingOrShortFilesGiveTheirErrorCodes) {
    auto CodeOfInit = [] {
        try {
            InitGraphics(MEMORY_CACHE_BYTES);
        } catch (PROGRAM_ERROR Code) {
            return static_cast<int>(Code);
        }
        return 0;
    };
    EXPECT_EQ(CodeOfInit(), 2);
    testing_support::WriteFile("Vorna.spr", MakeSpriteFile(1, StandardSprites()).substr(0, 20));
    EXPECT_EQ(CodeOfInit(), 2);  // ends inside the offsets
    testing_support::WriteFile("Vorna.spr", MakeSpriteFile(1, StandardSprites()));
    EXPECT_EQ(CodeOfInit(), 3);
    testing_support::WriteFile("Vorna.pic", MakePictureFile(1, StandardPictures()).substr(0, 100));
    EXPECT_EQ(CodeOfInit(), 3);
    // A picture file without the fonts' pictures, or with one too small for
    // its glyphs (the fuzzer's file), cannot give the program its texts.
    std::vector<Picture> Pictures = StandardPictures();
    Pictures.pop_back();
    testing_support::WriteFile("Vorna.pic", MakePictureFile(1, Pictures));
    EXPECT_EQ(CodeOfInit(), 3);
    std::filesystem::copy_file(testing_support::SourceDir() / "tests/data/pictures-font-too-small.pic", "Vorna.pic",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(CodeOfInit(), 3);
    EXPECT_FALSE(IsGraphicsInitialized());
}

TEST_F(GraphicsTest, BrokenPixelDataFailsWhenFirstNeeded) {
    std::vector<Image> Sprites = StandardSprites();
    Sprites[9].RawData = std::string("\x10\x00\x00\x00", 4);  // says 16 bytes, the file ends
    std::vector<Picture> Pictures = StandardPictures();
    Pictures.push_back(Picture(1, 1, {0, 0, 0}));
    Pictures[8].RawTiles = {std::string("\x08\x00", 2)};
    WriteFiles(Sprites, Pictures);
    InitGraphics(MEMORY_CACHE_BYTES);
    try {
        DrawSprite(SCREEN_SURFACE, 0, 0, 10);
        FAIL() << "no error";
    } catch (PROGRAM_ERROR Code) {
        EXPECT_EQ(Code, 4);
    }
    try {
        DrawPicture(SCREEN_SURFACE, 0, 0, 9);
        FAIL() << "no error";
    } catch (PROGRAM_ERROR Code) {
        EXPECT_EQ(Code, 5);
    }
}

TEST_F(GraphicsTest, DecodesRunsAndLeavesTheRestTransparent) {
    std::vector<Image> Sprites = StandardSprites();
    // Size 0: all key.
    Sprites[5].Key = {1, 2, 3};
    Sprites[5].RawData = std::string("\x00\x00", 2);
    // Skip 33 pixels, colour 2, then stop: pixels 33 and 34 of row 1.
    Sprites[6].Key = {4, 5, 6};
    Sprites[6].RawData = std::string("\x0A\x00\x21\x00\x02\x00\x0B\x0C\x0D\x0E\x0F\x10", 12);
    // A run that would run past the image is cut at its end.
    Sprites[7].Key = {0, 0, 0};
    Sprites[7].RawData = std::string("\x0A\x00\xFF\x03\x02\x00\x01\x01\x01\x02\x02\x02", 12);
    WriteFiles(Sprites, StandardPictures());
    InitGraphics(MEMORY_CACHE_BYTES);

    RGBColour Key;
    const uint8_t* Image = GetSpriteImage(6, &Key);
    EXPECT_EQ(Key, (RGBColour{1, 2, 3}));
    bool AllKey = true;
    for (int i = 0; i < 1024; ++i) AllKey &= Image[3 * i] == 1 && Image[3 * i + 1] == 2 && Image[3 * i + 2] == 3;
    EXPECT_TRUE(AllKey);

    Image = GetSpriteImage(7, &Key);
    EXPECT_EQ(std::vector<uint8_t>(Image + 3 * 32, Image + 3 * 36),
              (std::vector<uint8_t>{4, 5, 6, 11, 12, 13, 14, 15, 16, 4, 5, 6}));
    EXPECT_EQ(std::vector<uint8_t>(Image + 3 * 1023, Image + 3072), (std::vector<uint8_t>{4, 5, 6}));

    Image = GetSpriteImage(8, &Key);
    EXPECT_EQ(std::vector<uint8_t>(Image + 3 * 1023, Image + 3072), (std::vector<uint8_t>{1, 1, 1}));

    // An empty sprite is black with a black key and reads nothing.
    int Decodes = GetDecodeCount();
    Image = GetSpriteImage(3, &Key);
    EXPECT_EQ(Key, (RGBColour{0, 0, 0}));
    EXPECT_EQ(Image[3 * 500], 0);
    EXPECT_EQ(GetDecodeCount(), Decodes);
    EXPECT_ASSERTION(GetSpriteImage(11, &Key), "In(SpriteNumber,1,NumberOfSprites)");
}

// ---- Caches -----------------------------------------------------------------------------

TEST_F(GraphicsTest, TheImageAfterAFullMemoryCacheEvictsTheLeastRecentlyUsed) {
    std::vector<Image> Sprites(3414);
    for (size_t i = 0; i < Sprites.size(); ++i) {
        Sprites[i].Fill(255, 0, 255);  // transparent but for one pixel: small files
        Sprites[i].Set(5, 5, 1, 2, static_cast<uint8_t>(i));
    }
    Start(Sprites);
    ReloadSprites();  // empties the cache of the font tiles
    for (int i = 1; i <= 3413; ++i) GetSpriteImage(i, NULL);
    EXPECT_TRUE(IsSpriteInMemoryCache(1));
    GetSpriteImage(1, NULL);  // used again: now the most recent
    int Decodes = GetDecodeCount();
    GetSpriteImage(3414, NULL);
    EXPECT_EQ(GetDecodeCount(), Decodes + 1);
    EXPECT_FALSE(IsSpriteInMemoryCache(2));
    EXPECT_TRUE(IsSpriteInMemoryCache(1));
    EXPECT_TRUE(IsSpriteInMemoryCache(3));
    EXPECT_TRUE(IsSpriteInMemoryCache(3414));
    GetSpriteImage(1, NULL);
    EXPECT_EQ(GetDecodeCount(), Decodes + 1);  // a hit reads nothing
    GetSpriteImage(2, NULL);
    EXPECT_FALSE(IsSpriteInMemoryCache(3));
}

TEST_F(GraphicsTest, EightSpriteSurfacesGiveEightHundredVideoSlots) {
    ReleaseSurfaces();
    SetSurfaceMemoryBudgets(0, SIZE_MAX);
    CreateSurfaces(WINDOWED_MODE, NULL);
    Start();
    EXPECT_EQ(GetVideoCacheSize(), 800);
    // New surfaces with all sixteen: the cache follows them.
    ReleaseSurfaces();
    SetSurfaceMemoryBudgets(SIZE_MAX, SIZE_MAX);
    CreateSurfaces(WINDOWED_MODE, NULL);
    EXPECT_EQ(GetVideoCacheSize(), 1600);
}

TEST_F(GraphicsTest, VideoSlotsAreUsedFromTheLeastRecentAndReused) {
    ReleaseSurfaces();
    SetSurfaceMemoryBudgets(0, SIZE_MAX);
    CreateSurfaces(WINDOWED_MODE, NULL);
    std::vector<Image> Sprites(801);
    for (size_t i = 0; i < Sprites.size(); ++i) {
        Sprites[i].Fill(255, 0, 255);
        Sprites[i].Set(0, 0, 1, 2, static_cast<uint8_t>(i + 1));
    }
    Start(Sprites);
    ReloadSprites();
    for (int i = 1; i <= 800; ++i) DrawSprite(SCREEN_SURFACE, 0, 0, i);
    EXPECT_EQ(CountVideoCacheEntries(), 800);
    // The empty slots are taken from the tail: sprite 1 went to the last
    // slot (x 288, y 288 of the eighth surface), sprite 800 to slot 0.
    EXPECT_EQ(ReadPixel(SPRITE_SURFACE + 7, 288, 288), RGB(1, 2, 1));
    EXPECT_EQ(ReadPixel(SPRITE_SURFACE, 0, 0), RGB(1, 2, 800 & 255));
    DrawSprite(SCREEN_SURFACE, 0, 0, 801);  // replaces the least recent, sprite 1
    EXPECT_EQ(ReadPixel(SPRITE_SURFACE + 7, 288, 288), RGB(1, 2, 801 & 255));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 0, 0), RGB(1, 2, 801 & 255));
}

TEST_F(GraphicsTest, TwoColourSetsTakeTwoSlotsAndRecolourThroughTheMask) {
    Start();
    ColourSet Outfit;
    Outfit.Colour[0] = {255, 255, 255};
    Outfit.Colour[1] = {255, 0, 0};
    Outfit.Colour[2] = {0, 255, 0};
    Outfit.Colour[3] = {0, 0, 255};
    int Before = CountVideoCacheEntries();
    DrawMaskedSprite(SCREEN_SURFACE, 100, 100, 5, 4, Outfit);
    EXPECT_EQ(CountVideoCacheEntries(), Before + 1);
    DrawMaskedSprite(SCREEN_SURFACE, 100, 100, 5, 4, Outfit);
    EXPECT_EQ(CountVideoCacheEntries(), Before + 1);
    // Sprite 5 is (5, 100, 200): grey (150 + 5900 + 2200) / 100 = 82.
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 100, 101), RGB(81, 81, 81));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 100, 102), RGB(81, 0, 0));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 100, 103), RGB(0, 81, 0));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 100, 104), RGB(0, 0, 81));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 100, 105), RGB(5, 100, 200));
    Outfit.Colour[1] = {0, 0, 0};
    DrawMaskedSprite(SCREEN_SURFACE, 100, 100, 5, 4, Outfit);
    EXPECT_EQ(CountVideoCacheEntries(), Before + 2);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 100, 102), RGB(0, 0, 0));
    // Mask 0 is the plain sprite, which has its own slot.
    DrawMaskedSprite(SCREEN_SURFACE, 100, 100, 5, 0, Outfit);
    EXPECT_EQ(CountVideoCacheEntries(), Before + 3);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 100, 102), RGB(5, 100, 200));
    EXPECT_ASSERTION(DrawMaskedSprite(SCREEN_SURFACE, 0, 0, 5, 11, Outfit), "In(MaskNumber,1,NumberOfSprites)");
}

TEST_F(GraphicsTest, ReloadingEmptiesBothCachesAndReadsTheNewFile) {
    Start();
    DrawSprite(SCREEN_SURFACE, 0, 0, 1);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 1, 0), RGB(1, 100, 200));
    std::vector<Image> Sprites = StandardSprites(12);
    Sprites[0].Fill(9, 8, 7);
    testing_support::WriteFile("Vorna.spr", MakeSpriteFile(0xABCDEF01, Sprites));
    ReloadSprites();
    EXPECT_EQ(CountVideoCacheEntries(), 0);
    EXPECT_FALSE(IsSpriteInMemoryCache(1));
    EXPECT_EQ(GetSpriteSignature(), 0xABCDEF01u);
    EXPECT_EQ(GetNumberOfSprites(), 12);
    DrawSprite(SCREEN_SURFACE, 0, 0, 1);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 0, 0), RGB(9, 8, 7));

    std::vector<Picture> Pictures = StandardPictures();
    Pictures[1].FillRect(0, 0, 32, 32, 40, 50, 60);
    testing_support::WriteFile("Vorna.pic", MakePictureFile(0x0BADF00D, Pictures));
    ReloadPictures();
    EXPECT_EQ(GetPictureSignature(), 0x0BADF00Du);
    EXPECT_EQ(GetFontHeight(1), 16);  // fonts built again
    DrawPicture(SCREEN_SURFACE, 0, 0, 2);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 31, 31), RGB(40, 50, 60));
}

TEST_F(GraphicsTest, NewSurfacesEmptyTheVideoCacheButKeepTheMemoryCache) {
    Start();
    DrawSprite(SCREEN_SURFACE, 0, 0, 1);
    EXPECT_GT(CountVideoCacheEntries(), 0);
    ChangeSurfaceMode(WINDOWED_MODE, NULL, true);
    EXPECT_EQ(CountVideoCacheEntries(), 0);
    EXPECT_TRUE(IsSpriteInMemoryCache(1));
    int Decodes = GetDecodeCount();
    DrawSprite(SCREEN_SURFACE, 40, 0, 1);
    EXPECT_EQ(GetDecodeCount(), Decodes);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 41, 0), RGB(1, 100, 200));
}

// ---- Drawing ----------------------------------------------------------------------------------

TEST_F(GraphicsTest, SpritesAreKeyedAndClipped) {
    Start();
    FillRect(SCREEN_SURFACE, 0, 0, 100, 100, 7, 7, 7);
    DrawSprite(SCREEN_SURFACE, 10, 10, 2);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 10, 10), RGB(7, 7, 7));  // the key corner
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 11, 10), RGB(2, 100, 200));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 41, 41), RGB(2, 100, 200));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 42, 42), RGB(7, 7, 7));
    DrawSpriteClipped(SCREEN_SURFACE, 50, 50, 1, {60, 60, 5, 5});
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 59, 60), RGB(7, 7, 7));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 60, 60), RGB(1, 100, 200));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 65, 64), RGB(7, 7, 7));
    int Entries = CountVideoCacheEntries();
    DrawSprite(SCREEN_SURFACE, 0, 0, 0);  // nothing, no lookup
    EXPECT_EQ(CountVideoCacheEntries(), Entries);
    DrawSprite(SCREEN_SURFACE, 0, 0, 3);  // empty: black on a black key
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 5, 5), RGB(7, 7, 7));
}

TEST_F(GraphicsTest, ScaledSpritesShrinkIntoTheirBox) {
    Start();
    FillRect(SCREEN_SURFACE, 0, 0, 100, 100, 7, 7, 7);
    DrawSpriteScaled(SCREEN_SURFACE, 10, 10, 16, 16, 1, Everything);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 10, 10), RGB(1, 100, 200));  // samples (1, 1), not the key corner
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 25, 25), RGB(1, 100, 200));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 26, 26), RGB(7, 7, 7));
}

TEST_F(GraphicsTest, PicturePartsVisitOnlyTheTilesTheyTouch) {
    Start();
    FillRect(SCREEN_SURFACE, 0, 0, 200, 200, 0, 0, 0);
    DrawPicturePart(SCREEN_SURFACE, 100, 100, 1, 30, 20, 4, 20);  // crosses both tile edges
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 100, 100), RGB(30, 20, 7));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 103, 119), RGB(33, 39, 7));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 104, 100), RGB(0, 0, 0));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 100, 120), RGB(0, 0, 0));
    const FrameStatistics& S = GetFrameStatistics();
    int Blits = S.Blits;
    DrawPicturePart(SCREEN_SURFACE, 0, 0, 1, 40, 40, 10, 10);  // one tile only
    EXPECT_EQ(GetFrameStatistics().Blits, Blits + 1);
    DrawPicture(SCREEN_SURFACE, 0, 0, 1);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 63, 63), RGB(63, 63, 7));
    DrawPicturePartClipped(SCREEN_SURFACE, 150, 150, 1, 0, 0, 64, 64, {150, 150, 2, 2});
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 151, 151), RGB(1, 1, 7));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 152, 151), RGB(0, 0, 0));
    EXPECT_ASSERTION(DrawPicturePart(SCREEN_SURFACE, 0, 0, 1, 0, 0, 0, 5), "Width>0 && Height>0");
    EXPECT_ASSERTION(DrawPicture(SCREEN_SURFACE, 0, 0, 9), "In(PictureNumber,1,NumberOfPictures)");
}

// ---- Fonts and text ------------------------------------------------------------------------------

TEST_F(GraphicsTest, FontsAreMeasuredFromTheirPictures) {
    Start();
    int g = 'a' - 32;
    EXPECT_EQ(GetGlyphWidth(1, g), TestGlyphWidth(8, g));
    EXPECT_EQ(GetGlyphHeight(1, g), TestGlyphHeight(16, g));
    EXPECT_EQ(GetGlyphWidth(2, 0), 16);  // an empty cell is full width
    EXPECT_EQ(GetGlyphHeight(2, 0), 1);  // and one high
    EXPECT_EQ(GetFontHeight(1), 16);
    EXPECT_EQ(GetFontHeight(3), 8);
    EXPECT_EQ(GetFontLineHeight(1), 12);
    EXPECT_EQ(GetFontLineHeight(2), 15);
    EXPECT_EQ(GetFontLineHeight(3), 10);
    EXPECT_EQ(GetFontLineHeight(4), 14);
    EXPECT_EQ(GetFontSpacing(2), -1);
    EXPECT_ASSERTION(GetFontHeight(5), "In(FontNumber,1,NumberOfFonts)");
}

TEST_F(GraphicsTest, MeasuringCountsBlanksAsCommasAndSpacingBetween) {
    Start();
    int A = TestGlyphWidth(8, 'a' - 32), B = TestGlyphWidth(8, 'b' - 32), Comma = TestGlyphWidth(8, 12);
    EXPECT_EQ(GetTextWidth(1, "a b"), A + 1 + Comma + 1 + B);
    EXPECT_EQ(GetTextWidth(1, ""), 0);
    EXPECT_EQ(GetTextWidth(1, "a b", 1), A);
    EXPECT_EQ(GetTextWidth(2, "ab"), TestGlyphWidth(16, 'a' - 32) - 1 + TestGlyphWidth(16, 'b' - 32));
    EXPECT_EQ(GetTextWidth(1, "\x01"), TestGlyphWidth(8, 95));  // control codes show glyph 95
    EXPECT_ASSERTION(GetTextWidth(1, "ab", 3), "Length<=(int)strlen(Text)");
    EXPECT_ASSERTION(GetTextWidth(1, NULL), "Text!=NULL");

    // "aaaa" in font 1: a + 1 + a + ... ; fits while the sum stays within.
    int Two = 2 * A + 1;
    EXPECT_EQ(GetFittingCharacters(1, "aaaa", Two), 2);
    EXPECT_EQ(GetFittingCharacters(1, "aaaa", Two - 1), 1);
    EXPECT_EQ(GetFittingCharacters(1, "aaaa", 1000), 4);
    EXPECT_EQ(GetFittingCharacters(1, "aaaa", 0), 0);

    EXPECT_EQ(GetTextHeight(1, " \n "), 0);
    EXPECT_EQ(GetTextHeight(1, ""), 0);
    EXPECT_EQ(GetTextHeight(1, "a b"),
              std::max(TestGlyphHeight(16, 'a' - 32), TestGlyphHeight(16, 'b' - 32)));

    int X, Y;
    GetAlignedPosition(10, 20, 101, 30, 1, CENTER_ALIGN, &X, &Y);
    EXPECT_EQ(X, 60);
    EXPECT_EQ(Y, 20 + (30 - 16) / 2);
    GetAlignedPosition(10, 20, 101, 30, 1, RIGHT_ALIGN, &X, &Y);
    EXPECT_EQ(X, 111);
    GetAlignedPosition(10, 20, 101, 30, 1, LEFT_ALIGN, &X, &Y);
    EXPECT_EQ(X, 10);
}

// Leftmost column at or after Start that holds a pixel other than black.
int FirstLitColumn(int Y, int Start) {
    for (int x = Start; x < Start + 100; ++x)
        if (ReadPixel(SCREEN_SURFACE, x, Y) != 0) return x;
    return -1;
}

TEST_F(GraphicsTest, CentredTextOfOddWidthStartsHalfToTheLeft) {
    Start();
    // Font 3 has no spacing; glyph 'g' (71) is 1 + 71 % 8 = 8 wide, '&' (6) is 7.
    ASSERT_EQ(GetTextWidth(3, "&"), 7);
    FillRect(SCREEN_SURFACE, 0, 0, 300, 100, 0, 0, 0);
    DrawText(SCREEN_SURFACE, 100, 10, 3, 255, 255, 255, "&", CENTER_ALIGN);
    EXPECT_EQ(FirstLitColumn(10, 50), 97);
    DrawText(SCREEN_SURFACE, 100, 30, 3, 255, 255, 255, "&", RIGHT_ALIGN);
    EXPECT_EQ(FirstLitColumn(30, 50), 93);
    DrawText(SCREEN_SURFACE, 100, 50, 3, 255, 255, 255, "&", 1, LEFT_ALIGN);
    EXPECT_EQ(FirstLitColumn(50, 50), 100);
    EXPECT_ASSERTION(DrawText(SCREEN_SURFACE, 0, 0, 3, 0, 0, 0, "&", 3), "Alignment==LEFT_ALIGN || Alignment==CENTER_ALIGN || Alignment==RIGHT_ALIGN");
}

TEST_F(GraphicsTest, TextIsRecolouredPerColourAndDrawnGlyphByGlyph) {
    Start();
    FillRect(SCREEN_SURFACE, 0, 0, 300, 100, 0, 0, 0);
    int Before = CountVideoCacheEntries();
    DrawText(SCREEN_SURFACE, 10, 10, 1, 200, 100, 50, "a b", LEFT_ALIGN);
    // White glyph pixels: grey 255, each channel 255 * c / 256.
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 10, 10), RGB(199, 99, 49));
    int A = TestGlyphWidth(8, 'a' - 32), Comma = TestGlyphWidth(8, 12);
    int BX = 10 + A + 1 + Comma + 1;
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, BX, 10), RGB(199, 99, 49));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, BX - 1, 10), RGB(0, 0, 0));
    // 'a' and 'b' share a tile: one coloured slot; a second colour another.
    EXPECT_EQ(CountVideoCacheEntries(), Before + 1);
    DrawText(SCREEN_SURFACE, 10, 40, 1, 0, 0, 0, "a", LEFT_ALIGN);
    EXPECT_EQ(CountVideoCacheEntries(), Before + 2);
    // Black text on a font with a black key stays visible.
    FillRect(SCREEN_SURFACE, 0, 60, 300, 40, 90, 90, 90);
    DrawText(SCREEN_SURFACE, 10, 60, 4, 0, 0, 0, "a", LEFT_ALIGN);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 10, 60), RGB(0, 0, 1));
    DrawTextClipped(SCREEN_SURFACE, 100, 60, 1, 255, 255, 255, "aaaa", LEFT_ALIGN, {100, 60, 3, 100});
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 101, 60), RGB(254, 254, 254));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 103, 60), RGB(90, 90, 90));
}

// ---- Objects and outfits in a box -------------------------------------------------------------

class BoxTest : public GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        DatWriter W(1, 102, 1, 0, 0);
        W.Record(1, 1, 1, 1, 1, 1, 1, 32, 1);   // 100: sprite 1
        W.Record(2, 1, 1, 1, 1, 1, 1, 64, 5);   // 101: two parts, sprites 5 and 6
        W.Flag(CUMULATIVE);
        W.Record(1, 1, 1, 1, 1, 1, 1, 32, 2);   // 102: sprite 2, counted
        W.Record(1, 1, 2, 4, 1, 1, 1, 32, 2);   // outfit 1: two layers, four directions
        W.Save("Vorna.dat");
        LoadObjects("Vorna.dat");
        std::vector<Image> Sprites = StandardSprites(12);
        Sprites[6] = Sprites[3];  // sprite 7: a mask
        Start(Sprites);
        FillRect(SCREEN_SURFACE, 0, 0, 400, 100, 0, 0, 0);
    }
    void TearDown() override {
        UnloadObjects();
        GraphicsTest::TearDown();
    }
};

TEST_F(BoxTest, ObjectsAreScaledIntoTheBoxPartByPart) {
    ObjectInstance Plain;
    Plain.Type = 100;
    DrawObjectInBox(SCREEN_SURFACE, Plain, 10, 10, 32, Everything, 3, 255, 255, 255, RIGHT_ALIGN, false);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 11, 10), RGB(1, 100, 200));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 41, 41), RGB(1, 100, 200));

    // A 2 x 1 object of display size 64 in a 32 box: parts of 16 from the
    // bottom right, the first part rightmost.
    ObjectInstance Wide;
    Wide.Type = 101;
    DrawObjectInBox(SCREEN_SURFACE, Wide, 100, 10, 32, Everything, 3, 255, 255, 255, RIGHT_ALIGN, false);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 120, 30), RGB(5, 100, 200));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 104, 30), RGB(6, 100, 200));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 120, 20), RGB(0, 0, 0));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 132, 30), RGB(0, 0, 0));

    ObjectInstance Nothing;
    int Blits = GetFrameStatistics().Blits;
    DrawObjectInBox(SCREEN_SURFACE, Nothing, 100, 10, 32, Everything, 3, 255, 255, 255, RIGHT_ALIGN, true);
    EXPECT_EQ(GetFrameStatistics().Blits, Blits);
}

TEST_F(BoxTest, CountsShowAboveOneOrWhenForced) {
    ObjectInstance Coins;
    Coins.Type = 102;
    Coins.Data = 5;
    // "5" in font 3 is glyph 21: 6 wide and 8 high, right-aligned at x + 31,
    // its top at y + 32 - 8 - 1.
    DrawObjectInBox(SCREEN_SURFACE, Coins, 200, 10, 32, Everything, 3, 255, 255, 255, RIGHT_ALIGN, false);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 225, 33), RGB(254, 254, 254));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 224, 33), RGB(2, 100, 200));
    Coins.Data = 1;
    DrawObjectInBox(SCREEN_SURFACE, Coins, 300, 10, 32, Everything, 3, 255, 255, 255, RIGHT_ALIGN, false);
    // "1" (glyph 17) would be 2 wide and 4 high at 329, 37.
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 329, 37), RGB(2, 100, 200));
    DrawObjectInBox(SCREEN_SURFACE, Coins, 300, 10, 32, Everything, 3, 255, 255, 255, RIGHT_ALIGN, true);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 329, 37), RGB(254, 254, 254));
}

TEST_F(BoxTest, OutfitsFaceSouthInTheirColours) {
    const int White[4] = {0, 0, 0, 0};
    DrawOutfitInBox(SCREEN_SURFACE, 1, White, 0, 10, 10, 32, Everything);
    // Direction 2, layer 1 is sprite 6 (6, 100, 200), grey 82; its mask rows
    // 1 to 4 take outfit colour 0, white: 82 * 255 / 256.
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 10, 11), RGB(81, 81, 81));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 10, 14), RGB(81, 81, 81));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 10, 15), RGB(6, 100, 200));
    // No outfit: the look item stands for the creature.
    DrawOutfitInBox(SCREEN_SURFACE, 0, NULL, 100, 100, 10, 32, Everything);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 101, 10), RGB(1, 100, 200));
}

}  // namespace
