#include "graphics/Surface.h"

#include "config/Preferences.h"
#include "core/ProgramError.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr uint32_t RGB(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }

class SurfaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::Reset();
        platform::CreateWindow("test", -1, -1, 800, 600, false);
        SetSurfaceMemoryBudgets(SIZE_MAX, SIZE_MAX);
        SetDesktopDepth(32);
        InitSurface();
        CreateSurfaces(WINDOWED_MODE, NULL);
    }
    void TearDown() override {
        ExitSurface();
        SetSurfaceMemoryBudgets(SIZE_MAX, SIZE_MAX);
        SetFrameSleep({});
        platform::SetClockOverride({});
    }
    const FrameStatistics& Stats() { return GetFrameStatistics(); }
    // Starts the counts from zero.
    void ResetCounts() {
        SetFrameSleep([](int) {});
        PresentFrame();
    }
};

// ---- Pixel formats -------------------------------------------------------------

TEST(PixelFormatTest, ConvertsWithMasksOf32And16Bits) {
    PixelFormat XRGB{32, 0x00FF0000, 0x0000FF00, 0x000000FF};
    EXPECT_EQ(ConvertColour(XRGB, 255, 128, 1), 0x00FF8001u);
    PixelFormat BGRX{32, 0x0000FF00, 0x00FF0000, 0xFF000000};
    EXPECT_EQ(ConvertColour(BGRX, 0x12, 0x34, 0x56), 0x56341200u);
    PixelFormat RGB565{16, 0xF800, 0x07E0, 0x001F};
    EXPECT_EQ(ConvertColour(RGB565, 255, 255, 255), 0xFFFFu);
    EXPECT_EQ(ConvertColour(RGB565, 0x80, 0x40, 0x20), (16u << 11) | (16u << 5) | 4u);
    EXPECT_EQ(ConvertColour(RGB565, 7, 3, 7), 0u);  // below one step of each channel
    PixelFormat RGB555{16, 0x7C00, 0x03E0, 0x001F};
    EXPECT_EQ(ConvertColour(RGB555, 255, 0, 0), 0x7C00u);
    EXPECT_EQ(ConvertColour(RGB555, 0, 255, 0), 0x03E0u);
    PixelFormat Palette{8, 0xE0, 0x1C, 0x03};
    EXPECT_EQ(ConvertColour(Palette, 255, 255, 255), 0u);
}

TEST(PixelFormatTest, WritesLowestBytesFirstAtPitch) {
    PixelFormat RGB565{16, 0xF800, 0x07E0, 0x001F};
    std::vector<uint8_t> Buffer(3 * 20, 0xAA);  // three rows 20 bytes apart
    const uint8_t Pixels[] = {0x80, 0x40, 0x20, 255, 255, 255};
    WritePixels(Buffer.data(), 20, RGB565, 1, 1, 1, 2, Pixels);
    EXPECT_EQ(Buffer[2], 0xAA);
    EXPECT_EQ(Buffer[40 + 2], 0xFF);
    EXPECT_EQ(Buffer[40 + 3], 0xFF);
    EXPECT_EQ(Buffer[20 + 2], 0x04);
    EXPECT_EQ(Buffer[20 + 3], 0x82);
    EXPECT_EQ(Buffer[20 + 0], 0xAA);
    EXPECT_EQ(Buffer[20 + 4], 0xAA);

    PixelFormat RGB888{24, 0xFF0000, 0x00FF00, 0x0000FF};
    std::vector<uint8_t> Wide(12, 0);
    const uint8_t One[] = {1, 2, 3, 4, 5, 6};
    WritePixels(Wide.data(), 12, RGB888, 1, 0, 2, 1, One);
    EXPECT_EQ(Wide, (std::vector<uint8_t>{0, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0, 0}));

    PixelFormat Palette{8, 0xE0, 0x1C, 0x03};
    std::vector<uint8_t> Small(4, 7);
    WritePixels(Small.data(), 4, Palette, 0, 0, 1, 1, One);
    EXPECT_EQ(Small, (std::vector<uint8_t>{7, 7, 7, 7}));
}

TEST(PixelFormatTest, ComposesMaskColoursByGreyValue) {
    ColourSet Set;
    Set.Colour[0] = {255, 0, 0};
    Set.Colour[1] = {0, 255, 0};
    Set.Colour[2] = {0, 0, 255};
    Set.Colour[3] = {128, 128, 128};
    RGBColour Key{255, 0, 255};
    const uint8_t Pixels[] = {200, 200, 200, 100, 50, 0, 10, 20, 30, 40, 40, 40, 60, 60, 60, 255, 0, 255};
    const uint8_t Mask[] = {255, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3, 255, 255, 0};
    uint8_t Out[18];
    ComposePixels(Out, Pixels, Mask, Set, Key, 6);
    // grey of (100, 50, 0) = (3000 + 2950) / 100 = 59
    EXPECT_EQ(std::vector<uint8_t>(Out, Out + 18),
              (std::vector<uint8_t>{199, 0, 0, 0, 58, 0, 0, 0, 17, 20, 20, 20, 60, 60, 60, 255, 0, 255}));

    // A coloured tile: every non-key pixel takes colour 0; a result equal to
    // the key is moved off it so the glyph stays visible.
    ColourSet Text;
    Text.Colour[0] = {0, 0, 0};
    RGBColour Black{0, 0, 0};
    const uint8_t Glyph[] = {255, 255, 255, 0, 0, 0};
    ComposePixels(Out, Glyph, NULL, Text, Black, 2);
    EXPECT_EQ(std::vector<uint8_t>(Out, Out + 6), (std::vector<uint8_t>{0, 0, 1, 0, 0, 0}));
}

// ---- Creation -------------------------------------------------------------------

TEST_F(SurfaceTest, CreatesTheNumberedSurfacesWithTheirSizes) {
    int X, Y, W, H;
    GetSurfaceRect(TEMP_SURFACE, &X, &Y, &W, &H);
    EXPECT_EQ((std::vector<int>{X, Y, W, H}), (std::vector<int>{0, 0, 640, 480}));
    GetSurfaceRect(STRETCH_SURFACE, NULL, NULL, &W, &H);
    EXPECT_EQ(W * 1000 + H, 64064);
    GetSurfaceRect(CACHE_SURFACE, NULL, NULL, &W, &H);
    EXPECT_EQ(W * 1000 + H, 512384);
    GetSurfaceRect(AUTOMAP_SURFACE, NULL, NULL, &W, &H);
    EXPECT_EQ(W * 1000 + H, 106106);
    GetSurfaceRect(SPRITE_SURFACE + 15, NULL, NULL, &W, &H);
    EXPECT_EQ(W * 1000 + H, 320320);
    GetSurfaceRect(SCREEN_SURFACE, NULL, NULL, &W, &H);
    EXPECT_EQ(W * 10000 + H, 12801024);  // the headless screen
    GetSurfaceRect(PRIMARY_SURFACE, NULL, NULL, &W, &H);
    EXPECT_EQ(W * 1000 + H, 800600);  // the client area
    EXPECT_EQ(GetNumberOfSpriteSurfaces(), 16);
    EXPECT_TRUE(IsLightPathAvailable());
    EXPECT_EQ(GetLightFailureStep(), 0);
    EXPECT_TRUE(GetSurfacesRebuilt());
    EXPECT_EQ(GetViewMode(), WINDOWED_MODE);
    EXPECT_ASSERTION(GetSurfaceRect(NUMBER_OF_SURFACES, &X, &Y, &W, &H), "In(Surface,0,NUMBER_OF_SURFACES-1)");
}

TEST_F(SurfaceTest, OptionalSpriteSurfacesStopWhenVideoMemoryRunsOut) {
    ReleaseSurfaces();
    SetSurfaceMemoryBudgets(0, SIZE_MAX);
    CreateSurfaces(WINDOWED_MODE, NULL);
    EXPECT_EQ(GetNumberOfSpriteSurfaces(), 8);
    EXPECT_EQ(GetSurfaceMemory(SPRITE_SURFACE + 7), SYSTEM_MEMORY);
    EXPECT_EQ(GetSurfaceMemory(SPRITE_SURFACE + 8), 0);

    // Room for the required surfaces and ten sprite surfaces in video memory.
    ReleaseSurfaces();
    size_t Sprite = 320 * 320 * 4;
    size_t Required = (1280 * 1024 + 640 * 480 + 64 * 64 + 512 * 384 + 106 * 106) * 4;
    SetSurfaceMemoryBudgets(Required + 10 * Sprite + Sprite - 1, SIZE_MAX);
    int Generation = GetSurfaceGeneration();
    CreateSurfaces(WINDOWED_MODE, NULL);
    EXPECT_EQ(GetNumberOfSpriteSurfaces(), 10);
    EXPECT_EQ(GetSurfaceMemory(SPRITE_SURFACE + 9), VIDEO_MEMORY);
    EXPECT_EQ(GetSurfaceGeneration(), Generation + 1);
}

TEST_F(SurfaceTest, CreationFailuresReleaseEverythingAndCarryTheirCode) {
    auto CodeOf = [](int Mode, const GraphicsMode* G) {
        try {
            CreateSurfaces(Mode, G);
        } catch (PROGRAM_ERROR Code) {
            return static_cast<int>(Code);
        }
        return 0;
    };
    ReleaseSurfaces();
    GraphicsMode EightBit{800, 600, 8};
    EXPECT_EQ(CodeOf(FULLSCREEN_MODE, &EightBit), 8);
    EXPECT_EQ(GetViewMode(), 0);
    SetDesktopDepth(15);
    EXPECT_EQ(CodeOf(WINDOWED_MODE, NULL), 8);
    SetDesktopDepth(32);

    SetSurfaceMemoryBudgets(0, 0);
    EXPECT_EQ(CodeOf(WINDOWED_MODE, NULL), 13);
    size_t ScreenAndTemp = (1280 * 1024 + 640 * 480) * 4;
    SetSurfaceMemoryBudgets(ScreenAndTemp, 0);
    EXPECT_EQ(CodeOf(WINDOWED_MODE, NULL), 15);
    EXPECT_EQ(GetSurfaceMemory(SCREEN_SURFACE), 0);
    EXPECT_EQ(GetSurfaceMemory(TEMP_SURFACE), 0);
    EXPECT_EQ(GetViewMode(), 0);
    size_t AllButSprites = ScreenAndTemp + (64 * 64 + 512 * 384 + 106 * 106) * 4;
    SetSurfaceMemoryBudgets(AllButSprites + 7 * 320 * 320 * 4, 0);
    EXPECT_EQ(CodeOf(WINDOWED_MODE, NULL), 18);
    EXPECT_EQ(GetNumberOfSpriteSurfaces(), 0);
}

TEST_F(SurfaceTest, FullScreenUsesTheModeAndWindowedModeOnlyRefreshes) {
    GraphicsMode Mode{1024, 768, 16};
    ChangeSurfaceMode(FULLSCREEN_MODE, &Mode, false);
    EXPECT_EQ(GetViewMode(), FULLSCREEN_MODE);
    int W, H;
    GetSurfaceRect(SCREEN_SURFACE, NULL, NULL, &W, &H);
    EXPECT_EQ(W * 1000 + H, 1024768);
    int Generation = GetSurfaceGeneration();
    ChangeSurfaceMode(FULLSCREEN_MODE, &Mode, false);  // same mode: kept
    EXPECT_EQ(GetSurfaceGeneration(), Generation);
    ChangeSurfaceMode(WINDOWED_MODE, NULL, false);
    EXPECT_EQ(GetSurfaceGeneration(), Generation + 1);
    platform::headless::InjectEvent({.Kind = platform::EventKind::Resize, .Width = 900, .Height = 700});
    platform::Event Event;
    platform::PollEvent(Event);
    ChangeSurfaceMode(WINDOWED_MODE, NULL, false);
    EXPECT_EQ(GetSurfaceGeneration(), Generation + 1);
    EXPECT_FALSE(GetSurfacesRebuilt());
    GetSurfaceRect(PRIMARY_SURFACE, NULL, NULL, &W, &H);
    EXPECT_EQ(W * 1000 + H, 900700);
    ChangeSurfaceMode(WINDOWED_MODE, NULL, true);
    EXPECT_EQ(GetSurfaceGeneration(), Generation + 2);
}

TEST_F(SurfaceTest, UndecidedNoStretchingIsSettledToNo) {
    ExitSurface();
    SetNoStretching(NOSTRETCHING_UNDECIDED);
    InitSurface();
    EXPECT_EQ(GetNoStretching(), 0);
    ExitSurface();
    SetNoStretching(1);
    InitSurface();
    EXPECT_EQ(GetNoStretching(), 1);
    SetNoStretching(NOSTRETCHING_UNDECIDED);
}

TEST_F(SurfaceTest, DisplayModeListKeepsUsableModesInOrder) {
    platform::headless::SetDisplayModes({{1024, 768, 16}, {800, 600, 8}, {640, 400, 32}, {1920, 1080, 32}, {639, 480, 32}});
    EXPECT_EQ(GetDisplayModes(), (std::vector<GraphicsMode>{{1024, 768, 16}, {1920, 1080, 32}}));
}

// ---- Fills, lines and frames -------------------------------------------------------

TEST_F(SurfaceTest, FillsAreClippedAndCounted) {
    ResetCounts();
    FillRect(CACHE_SURFACE, 500, 380, 20, 20, 1, 2, 3);  // sticks out of the 512 x 384 surface
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 511, 383), RGB(1, 2, 3));
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 499, 380), 0u);
    EXPECT_EQ(Stats().Blits, 1);
    EXPECT_EQ(Stats().Pixels, 12 * 4);
    FillRectClipped(CACHE_SURFACE, 0, 0, 10, 10, 9, 9, 9, {5, 5, 100, 100});
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 4, 4), 0u);
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 5, 5), RGB(9, 9, 9));
    EXPECT_EQ(Stats().Pixels, 48 + 25);
    FillRectClipped(CACHE_SURFACE, 0, 0, 10, 10, 9, 9, 9, {10, 0, 5, 5});  // wholly outside
    EXPECT_EQ(Stats().Blits, 2);
    DrawHorizontalLine(CACHE_SURFACE, 0, 100, 7, 4, 4, 4);
    DrawVerticalLine(CACHE_SURFACE, 200, 0, 9, 4, 4, 4);
    EXPECT_EQ(Stats().Blits, 4);
    EXPECT_EQ(Stats().Pixels, 48 + 25 + 7 + 9);
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 6, 100), RGB(4, 4, 4));
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 7, 100), 0u);
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 200, 8), RGB(4, 4, 4));
}

TEST_F(SurfaceTest, FrameOfThicknessSixOnTenIsOneFillAndFiveIsFourStrips) {
    ResetCounts();
    DrawFrame(CACHE_SURFACE, 0, 0, 10, 10, 6, 255, 0, 0);
    EXPECT_EQ(Stats().Blits, 1);
    EXPECT_EQ(Stats().Pixels, 100);
    ResetCounts();
    DrawFrame(CACHE_SURFACE, 20, 0, 10, 10, 5, 255, 0, 0);
    EXPECT_EQ(Stats().Blits, 4);
    EXPECT_EQ(Stats().Pixels, 100);  // the strips do not overlap
    // A thinner frame leaves its inside alone.
    ResetCounts();
    DrawFrame(CACHE_SURFACE, 40, 0, 10, 10, 3, 0, 255, 0);
    EXPECT_EQ(Stats().Pixels, 100 - 16);
    int Framed = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 40; x < 50; ++x) Framed += ReadPixel(CACHE_SURFACE, x, y) == RGB(0, 255, 0);
    EXPECT_EQ(Framed, 84);
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 43, 3), 0u);
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 46, 6), 0u);
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 49, 9), RGB(0, 255, 0));
}

// ---- Copies ------------------------------------------------------------------------

TEST_F(SurfaceTest, KeyedCopyWhollyOutsideTheClipDrawsAndCountsNothing) {
    FillRect(SPRITE_SURFACE, 0, 0, 32, 32, 10, 20, 30);
    ResetCounts();
    CopySurfaceKeyedClipped(SCREEN_SURFACE, 100, 100, SPRITE_SURFACE, 0, 0, 32, 32, 255, 0, 255, {132, 100, 50, 50});
    CopySurfaceKeyedClipped(SCREEN_SURFACE, 100, 100, SPRITE_SURFACE, 0, 0, 32, 32, 255, 0, 255, {0, 0, 100, 100});
    EXPECT_EQ(Stats().Blits, 0);
    EXPECT_EQ(Stats().Pixels, 0);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 100, 100), 0u);
    // Touching by one pixel copies that pixel.
    CopySurfaceKeyedClipped(SCREEN_SURFACE, 100, 100, SPRITE_SURFACE, 0, 0, 32, 32, 255, 0, 255, {131, 131, 50, 50});
    EXPECT_EQ(Stats().Blits, 1);
    EXPECT_EQ(Stats().Pixels, 1);
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 131, 131), RGB(10, 20, 30));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 130, 131), 0u);
}

TEST_F(SurfaceTest, ClippedCopyMovesTheSourceWithTheDestination) {
    // A source with distinct pixels: value = x + 100 y.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) PutPixel(SPRITE_SURFACE, x, y, 0, y, x);
    PutPixel(SPRITE_SURFACE, 1, 1, 255, 0, 255);  // key
    FillRect(CACHE_SURFACE, 0, 0, 20, 20, 7, 7, 7);
    CopySurfaceKeyedClipped(CACHE_SURFACE, 9, 9, SPRITE_SURFACE, 0, 0, 4, 4, 255, 0, 255, {10, 10, 2, 2});
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 9, 9), RGB(7, 7, 7));
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 10, 10), RGB(7, 7, 7));  // the key pixel (1, 1)
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 11, 10), RGB(0, 1, 2));
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 10, 11), RGB(0, 2, 1));
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 11, 11), RGB(0, 2, 2));
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 12, 12), RGB(7, 7, 7));
    // Plain copies are clipped to the destination surface.
    ResetCounts();
    CopySurface(STRETCH_SURFACE, 62, 62, SPRITE_SURFACE, 0, 0, 4, 4);
    EXPECT_EQ(Stats().Pixels, 4);
    EXPECT_EQ(ReadPixel(STRETCH_SURFACE, 63, 62), RGB(0, 0, 1));
    EXPECT_ASSERTION(CopySurface(STRETCH_SURFACE, 0, 0, SPRITE_SURFACE, 0, 0, 0, 4),
                     "FromRect.width>0 && FromRect.height>0");
}

TEST_F(SurfaceTest, ScaledKeyedCopyOfEqualSizeIsOneKeyedCopy) {
    FillRect(SPRITE_SURFACE, 0, 0, 32, 32, 1, 1, 1);
    ResetCounts();
    RGBColour Key{255, 0, 255};
    CopySurfaceScaledKeyed(SCREEN_SURFACE, 0, 0, 32, 32, SPRITE_SURFACE, 0, 0, 32, 32, Key, Key, {0, 0, 800, 600});
    EXPECT_EQ(Stats().Blits, 1);
    EXPECT_EQ(Stats().Pixels, 1024);
    EXPECT_ASSERTION(CopySurfaceScaledKeyed(SCREEN_SURFACE, 0, 0, 65, 10, SPRITE_SURFACE, 0, 0, 32, 32, Key, Key,
                                            {0, 0, 800, 600}),
                     "ToRect.width<=Rect[STRETCH_SURFACE].right && ToRect.height<=Rect[STRETCH_SURFACE].bottom");
    EXPECT_ASSERTION(CopySurfaceScaledKeyed(SCREEN_SURFACE, 0, 0, 16, 16, SPRITE_SURFACE, 0, 0, 640, 32, Key, Key,
                                            {0, 0, 800, 600}),
                     "FromRect.width+1<=Rect[TEMP_SURFACE].right && FromRect.height+1<=Rect[TEMP_SURFACE].bottom");
    EXPECT_ASSERTION(CopySurfaceScaledKeyed(SCREEN_SURFACE, 0, 0, 16, 16, TEMP_SURFACE, 0, 0, 32, 32, Key, Key,
                                            {0, 0, 800, 600}),
                     "FromSurface!=TEMP_SURFACE");
    EXPECT_ASSERTION(CopySurfaceScaledKeyed(STRETCH_SURFACE, 0, 0, 16, 16, SPRITE_SURFACE, 0, 0, 32, 32, Key, Key,
                                            {0, 0, 800, 600}),
                     "ToSurface!=STRETCH_SURFACE");
}

TEST_F(SurfaceTest, ScaledKeyedCopyEnlargesThroughTheStagingSurfaces) {
    // 2 x 2 source: red, key / key, blue.
    PutPixel(SPRITE_SURFACE, 0, 0, 255, 0, 0);
    PutPixel(SPRITE_SURFACE, 1, 0, 255, 0, 255);
    PutPixel(SPRITE_SURFACE, 0, 1, 255, 0, 255);
    PutPixel(SPRITE_SURFACE, 1, 1, 0, 0, 255);
    FillRect(SCREEN_SURFACE, 0, 0, 10, 10, 50, 50, 50);
    ResetCounts();
    RGBColour Key{255, 0, 255}, After{0, 255, 255};
    CopySurfaceScaledKeyed(SCREEN_SURFACE, 1, 1, 4, 4, SPRITE_SURFACE, 0, 0, 2, 2, Key, After, {0, 0, 4, 4});
    EXPECT_EQ(Stats().Blits, 4);  // fill, keyed copy, scale, keyed copy
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 2, 2), RGB(255, 0, 0));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 3, 1), RGB(50, 50, 50));  // transparent quarter
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 3, 3), RGB(0, 0, 255));
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 4, 4), RGB(50, 50, 50));  // clipped
    EXPECT_EQ(ReadPixel(TEMP_SURFACE, 2, 0), RGB(0, 255, 255));    // the staging fill is source + 1 wide
    EXPECT_EQ(ReadPixel(TEMP_SURFACE, 3, 0), 0u);
}

TEST_F(SurfaceTest, ScaledCopyRepeatsPixelsAndStaysInsideTheTarget) {
    for (int y = 0; y < 352; ++y)
        for (int x = 0; x < 480; ++x) PutPixel(TEMP_SURFACE, x, y, x & 255, y & 255, (x >> 8) + 2 * (y >> 8));
    ResetCounts();
    CopySurfaceScaled(SCREEN_SURFACE, 0, 0, 1440, 1056, TEMP_SURFACE, 0, 0, 480, 352);
    EXPECT_EQ(Stats().Pixels, 1280 * 1024);  // cut to the 1280 x 1024 screen surface
    bool Exact = true;
    for (int y = 0; y < 1024; y += 7)
        for (int x = 0; x < 1280; x += 5) Exact &= ReadPixel(SCREEN_SURFACE, x, y) == ReadPixel(TEMP_SURFACE, x / 3, y / 3);
    EXPECT_TRUE(Exact);
    // Shrinking by two takes every other pixel.
    CopySurfaceScaled(CACHE_SURFACE, 10, 10, 4, 4, TEMP_SURFACE, 0, 0, 8, 8);
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 10, 10), ReadPixel(TEMP_SURFACE, 1, 1));
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 13, 12), ReadPixel(TEMP_SURFACE, 7, 5));
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 14, 10), 0u);
}

// ---- Light ---------------------------------------------------------------------------

TEST_F(SurfaceTest, LightQuadsMultiplyTempSurfaceByInterpolatedCorners) {
    FillRect(TEMP_SURFACE, 0, 0, 64, 32, 255, 200, 100);
    LightQuad Grey;
    Grey.X = -16;  // partly outside: cut
    Grey.Width = 48;
    Grey.Height = 32;
    for (RGBColour& C : Grey.Corner) C = {128, 128, 128};
    DrawLightQuad(TEMP_SURFACE, Grey);
    EXPECT_EQ(ReadPixel(TEMP_SURFACE, 0, 0), RGB(128, 100, 50));
    EXPECT_EQ(ReadPixel(TEMP_SURFACE, 31, 31), RGB(128, 100, 50));
    EXPECT_EQ(ReadPixel(TEMP_SURFACE, 32, 0), RGB(255, 200, 100));

    // Black on the left, white on the right: brightness grows across the quad.
    FillRect(TEMP_SURFACE, 0, 0, 64, 32, 255, 255, 255);
    LightQuad Ramp;
    Ramp.Width = 64;
    Ramp.Height = 32;
    Ramp.Corner[1] = Ramp.Corner[3] = {255, 255, 255};
    DrawLightQuads(TEMP_SURFACE, 1, &Ramp);
    EXPECT_EQ(ReadPixel(TEMP_SURFACE, 0, 5) >> 16, 1u);  // 255 * (0.5 / 64)
    int Previous = -1;
    bool Rising = true;
    for (int x = 0; x < 64; ++x) {
        int Red = ReadPixel(TEMP_SURFACE, x, 10) >> 16;
        Rising &= Red > Previous;
        Previous = Red;
    }
    EXPECT_TRUE(Rising);
    EXPECT_GE(Previous, 250);
    EXPECT_EQ(ReadPixel(TEMP_SURFACE, 32, 0), ReadPixel(TEMP_SURFACE, 32, 31));

    // Other surfaces are not lit.
    FillRect(CACHE_SURFACE, 0, 0, 4, 4, 255, 255, 255);
    LightQuad Black;
    Black.Width = Black.Height = 4;
    DrawLightQuad(CACHE_SURFACE, Black);
    EXPECT_EQ(ReadPixel(CACHE_SURFACE, 1, 1), RGB(255, 255, 255));
}

// ---- Frame rate, statistics, presenting ------------------------------------------------

TEST_F(SurfaceTest, FramerateLimitsOutsideTenToTwoHundredMeanUnlimited) {
    SetFramerateLimit(9);
    EXPECT_EQ(GetFramerateLimit(), UNLIMITED_FRAMERATE);
    SetFramerateLimit(10);
    EXPECT_EQ(GetFramerateLimit(), 10);
    SetFramerateLimit(200);
    EXPECT_EQ(GetFramerateLimit(), 200);
    SetFramerateLimit(201);
    EXPECT_EQ(GetFramerateLimit(), UNLIMITED_FRAMERATE);
    SetFramerateLimit(0);
    EXPECT_EQ(GetFramerateLimit(), UNLIMITED_FRAMERATE);

    ExitSurface();
    SetConfineFramerate(50);
    InitSurface();
    EXPECT_EQ(GetFramerateLimit(), 50);
    SetConfineFramerate(0);
}

TEST_F(SurfaceTest, PacingSleepsUntilDueAndNeverCatchesUp) {
    static uint32_t Now;
    Now = 5000;
    platform::SetClockOverride([] { return Now; });
    std::vector<int> Sleeps;
    SetFrameSleep([&](int Ms) {
        Sleeps.push_back(Ms);
        Now += Ms;
    });
    ExitSurface();
    InitSurface();  // starts the frame clock at 5000
    CreateSurfaces(WINDOWED_MODE, NULL);
    SetFramerateLimit(10);
    PresentFrame();  // due 5100
    Now += 30;
    PresentFrame();  // due 5200
    Now += 500;      // a slow frame: 5700
    PresentFrame();  // due 5300 lies in the past: moved to 5699
    PresentFrame();  // due 5799
    EXPECT_EQ(Sleeps, (std::vector<int>{100, 70, 99}));

    // Unlimited never sleeps.
    Sleeps.clear();
    SetFramerateLimit(201);
    for (int i = 0; i < 5; ++i) PresentFrame();
    EXPECT_TRUE(Sleeps.empty());

    // 60 frames per second on a millisecond clock average 16.67 ms.
    SetFramerateLimit(60);
    PresentFrame();
    uint32_t Start = Now;
    for (int i = 0; i < 60; ++i) PresentFrame();
    EXPECT_NEAR(static_cast<int>(Now - Start), 1000, 1);
}

TEST_F(SurfaceTest, FramesPerSecondIsMeasuredOverMoreThanASecond) {
    static uint32_t Now;
    Now = 0;
    platform::SetClockOverride([] { return Now; });
    SetFrameSleep([](int) {});
    ExitSurface();
    InitSurface();
    CreateSurfaces(WINDOWED_MODE, NULL);
    SetFramerateLimit(0);
    for (int i = 0; i < 49; ++i) {
        Now += 20;  // 980 ms after 49 frames: not measured yet
        PresentFrame();
    }
    EXPECT_EQ(GetFramesPerSecond(), 0.0);
    Now += 20;  // the 50th frame at 1000 ms: still not more than 1000
    PresentFrame();
    EXPECT_EQ(GetFramesPerSecond(), 0.0);
    Now += 20;
    PresentFrame();  // 51 frames counted over 1020 ms
    EXPECT_DOUBLE_EQ(GetFramesPerSecond(), 52 * 1000.0 / 1020);
}

TEST_F(SurfaceTest, PresentHandsTheClientAreaToThePlatformAndKeepsCounts) {
    SetFrameSleep([](int) {});
    FillRect(SCREEN_SURFACE, 0, 0, 1280, 1024, 0, 0, 255);
    FillRect(SCREEN_SURFACE, 799, 599, 1, 1, 255, 0, 0);
    PresentFrame();
    EXPECT_EQ(Stats().PreviousBlits, 2);
    EXPECT_EQ(Stats().PreviousPixels, 1280 * 1024 + 1);
    EXPECT_EQ(Stats().Blits, 0);
    EXPECT_EQ(Stats().BitsPerPixel, 32);
    int W = 0, H = 0;
    const std::vector<uint32_t>& Frame = platform::headless::LastFrame(W, H);
    ASSERT_EQ(W * 1000 + H, 800600);
    EXPECT_EQ(Frame[0], RGB(0, 0, 255));
    EXPECT_EQ(Frame[800 * 600 - 1], RGB(255, 0, 0));

    // A client area for a scaled-up window: the frame presented is its size;
    // a client larger than the screen grows the back buffer.
    SetClientSize(400, 300);
    PresentFrame();
    platform::headless::LastFrame(W, H);
    EXPECT_EQ(W * 1000 + H, 400300);
    SetClientSize(1600, 1200);
    int SW, SH;
    GetSurfaceRect(SCREEN_SURFACE, NULL, NULL, &SW, &SH);
    EXPECT_EQ(SW * 10000 + SH, 16001200);
    PresentFrame();
    platform::headless::LastFrame(W, H);
    EXPECT_EQ(W * 10000 + H, 16001200);

    // Nothing to present once the surfaces are released.
    ReleaseSurfaces();
    EXPECT_ASSERTION(PresentFrame(), "ViewMode==WINDOWED_MODE || ViewMode==FULLSCREEN_MODE");
}

}  // namespace
