// Drawing speed of the software surfaces and the image caches.
//
//   BM_ComposedFrame      one 1920 x 1080 frame as the game draws it: 165
//                         fields of four keyed sprites into TEMP_SURFACE, the
//                         light pass, the 480 x 352 view scaled to 1440 x 1056,
//                         300 skin rectangles and 2000 glyphs
//   BM_FrameMemcpy        a plain memcpy of the frame's bytes, the yardstick
//                         for the frame above (the ratio is printed)
//   BM_KeyedSpriteCopy    one keyed 32 x 32 copy between surfaces
//   BM_DrawSprite         one sprite through the video cache (a hit)
//   BM_Glyph              one character of font 1
//   BM_LightPass          the 19 x 15 light quads alone
//   BM_ScaleView          the 480 x 352 to 1440 x 1056 copy alone
//   BM_SpriteDecode       one sprite read from the file through both caches
//                         (every draw misses both)
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int FRAME_WIDTH = 1920, FRAME_HEIGHT = 1080;
constexpr int SPRITES = 4000;  // more than both caches hold

// ---- Data files written for the run --------------------------------------------

void PutWord(std::string& Out, uint32_t V) {
    Out += static_cast<char>(V & 0xFF);
    Out += static_cast<char>((V >> 8) & 0xFF);
}
void PutQuad(std::string& Out, uint32_t V) {
    PutWord(Out, V & 0xFFFF);
    PutWord(Out, V >> 16);
}

// Run-length data of a 32 x 32 image; Opaque tells which pixels have colour.
template <typename OpaqueFn, typename ColourFn>
std::string Encode(OpaqueFn Opaque, ColourFn Colour) {
    std::string Runs;
    int Position = 0;
    while (Position < 1024) {
        int T = 0, C = 0;
        while (Position + T < 1024 && !Opaque(Position + T)) ++T;
        while (Position + T + C < 1024 && Opaque(Position + T + C)) ++C;
        if (C == 0) break;
        PutWord(Runs, T);
        PutWord(Runs, C);
        for (int i = 0; i < C; ++i) {
            uint32_t V = Colour(Position + T + i);
            Runs += static_cast<char>(V >> 16);
            Runs += static_cast<char>(V >> 8);
            Runs += static_cast<char>(V);
        }
        Position += T + C;
    }
    std::string Out;
    PutWord(Out, static_cast<uint32_t>(Runs.size()));
    return Out + Runs;
}

// Sprites: a ground-like full tile for every fourth, the others a round
// object over transparency, as map sprites are.
std::string SpriteFile() {
    std::string Head, Data;
    PutQuad(Head, 0x5350524B);
    PutWord(Head, SPRITES);
    size_t Start = 6 + 4 * SPRITES;
    for (int s = 1; s <= SPRITES; ++s) {
        PutQuad(Head, static_cast<uint32_t>(Start + Data.size()));
        Data += std::string("\xFF\x00\xFF", 3);
        bool Ground = s % 4 == 1;
        Data += Encode(
            [&](int i) {
                int x = i % 32 - 16, y = i / 32 - 16;
                return Ground || x * x + y * y < 150 + (s % 7) * 20;
            },
            [&](int i) { return static_cast<uint32_t>((s * 37 + i * 5) & 0x7F7F7F) | 0x202020; });
    }
    return Head + Data;
}

struct PictureSpec {
    int TilesX, TilesY, CharWidth, CharHeight;  // CharWidth 0: a skin of solid tiles
};

// Pictures 1 to 8; fonts at 3, 5, 6 and 8 with glyphs shaped like letters
// (a block with holes), skins elsewhere.
std::string PictureFile() {
    const PictureSpec Specs[8] = {{20, 15, 0, 0}, {1, 1, 0, 0}, {8, 4, 8, 16}, {16, 16, 0, 0},
                                  {16, 4, 16, 16}, {8, 2, 8, 8}, {1, 8, 0, 0}, {8, 4, 8, 16}};
    size_t HeadSize = 6;
    for (const PictureSpec& P : Specs) HeadSize += 5 + 4 * P.TilesX * P.TilesY;
    std::string Head, Data;
    PutQuad(Head, 0x5049434B);
    PutWord(Head, 8);
    for (const PictureSpec& P : Specs) {
        Head += static_cast<char>(P.TilesX);
        Head += static_cast<char>(P.TilesY);
        Head += std::string("\xFF\x00\xFF", 3);
        for (int ty = 0; ty < P.TilesY; ++ty)
            for (int tx = 0; tx < P.TilesX; ++tx) {
                PutQuad(Head, static_cast<uint32_t>(HeadSize + Data.size()));
                Data += Encode(
                    [&](int i) {
                        if (P.CharWidth == 0) return true;
                        int x = (tx * 32 + i % 32) % P.CharWidth, y = (ty * 32 + i / 32) % P.CharHeight;
                        return x < P.CharWidth - 2 && y > 2 && y < P.CharHeight - 3 && (x + y) % 3 != 0;
                    },
                    [&](int i) { return P.CharWidth ? 0xFFFFFFu : static_cast<uint32_t>(0x404040 + i * 3); });
            }
    }
    return Head + Data;
}

void SetUpOnce() {
    static bool Done = false;
    if (Done) return;
    Done = true;
    auto Dir = std::filesystem::temp_directory_path() / ("vorna-bench-graphics-" + std::to_string(getpid()));
    std::filesystem::create_directories(Dir);
    std::filesystem::current_path(Dir);
    std::FILE* F = std::fopen("Vorna.spr", "wb");
    std::string S = SpriteFile();
    std::fwrite(S.data(), 1, S.size(), F);
    std::fclose(F);
    F = std::fopen("Vorna.pic", "wb");
    S = PictureFile();
    std::fwrite(S.data(), 1, S.size(), F);
    std::fclose(F);

    platform::Init(platform::Backend::Headless);
    platform::headless::SetScreenSize(FRAME_WIDTH, FRAME_HEIGHT);
    platform::CreateWindow("bench", -1, -1, FRAME_WIDTH, FRAME_HEIGHT, false);
    InitSurface();
    CreateSurfaces(WINDOWED_MODE, NULL);
    InitGraphics(MEMORY_CACHE_BYTES);
    SetFrameSleep([](int) {});
    SetFramerateLimit(0);
}

// ---- The frame -------------------------------------------------------------------

std::vector<LightQuad> LightGrid() {
    std::vector<LightQuad> Quads;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 19; ++x) {
            LightQuad Q;
            Q.X = x * 32 - 16 - 32;
            Q.Y = y * 32 - 16 - 32;
            Q.Width = Q.Height = 32;
            for (int c = 0; c < 4; ++c) {
                // A light source in the middle fading out; the edges share
                // the ambient level, as an outdoor night looks.
                int cx = x + (c & 1), cy = y + (c >> 1);
                int d = std::abs(cx - 9) + std::abs(cy - 7);
                uint8_t v = static_cast<uint8_t>(d > 5 ? 80 : 255 - d * 35);
                Q.Corner[c] = {v, v, static_cast<uint8_t>(v * 9 / 10)};
            }
            Quads.push_back(Q);
        }
    return Quads;
}

const char* const Lines[] = {
    "The quick brown fox jumps over the lazy dog. Pack my box with five dozen",
    "liquor jugs. Sphinx of black quartz, judge my vow! 0123456789 (+-*/)",
};

void ComposeFrame(const std::vector<LightQuad>& Light, int Frame) {
    // Map view: 15 x 11 fields of ground and three objects each.
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 15; ++x)
            for (int layer = 0; layer < 4; ++layer)
                DrawSprite(TEMP_SURFACE, x * 32, y * 32, 1 + ((x * 7 + y * 13 + layer * 31 + Frame) % 200));
    DrawLightQuads(TEMP_SURFACE, static_cast<int>(Light.size()), Light.data());
    CopySurfaceScaled(SCREEN_SURFACE, 0, 0, 1440, 1056, TEMP_SURFACE, 0, 0, 480, 352);
    // Interface: 300 skin rectangles of the side column and the console.
    for (int i = 0; i < 300; ++i) {
        int w = 16 + (i * 13) % 96, h = 8 + (i * 7) % 40;
        int x = i < 200 ? 1440 + (i % 4) * 120 : (i % 10) * 144, y = i < 200 ? (i / 4) * 21 : 1056 + (i % 3) * 8;
        DrawPicturePart(SCREEN_SURFACE, x, y, 4, (i * 32) % 400, (i * 16) % 400, w, std::min(h, FRAME_HEIGHT - y));
    }
    // 2000 glyphs: 28 lines of about 71 characters.
    int Glyphs = 0;
    for (int line = 0; Glyphs < 2000; ++line) {
        const char* Text = Lines[line % 2];
        int Length = std::min(static_cast<int>(std::strlen(Text)), 2000 - Glyphs);
        DrawText(SCREEN_SURFACE, 4 + (line % 2) * 960, 8 + (line / 2) * 14 % 1000, 1, 255, 255 - line, 200, Text, Length,
                 LEFT_ALIGN);
        Glyphs += Length;
    }
}

double MemcpyNanoseconds = 0;

void BM_FrameMemcpy(benchmark::State& State) {
    std::vector<uint32_t> From(FRAME_WIDTH * FRAME_HEIGHT, 0x123456), To(FRAME_WIDTH * FRAME_HEIGHT);
    for (auto _ : State) {
        std::memcpy(To.data(), From.data(), From.size() * 4);
        benchmark::DoNotOptimize(To.data());
        benchmark::ClobberMemory();
    }
    auto Start = std::chrono::steady_clock::now();
    for (int i = 0; i < 50; ++i) {
        std::memcpy(To.data(), From.data(), From.size() * 4);
        benchmark::ClobberMemory();
    }
    MemcpyNanoseconds =
        std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - Start).count() / 50;
}
BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMillisecond);

void BM_ComposedFrame(benchmark::State& State) {
    SetUpOnce();
    std::vector<LightQuad> Light = LightGrid();
    int Frame = 0;
    ComposeFrame(Light, Frame);  // fills the caches
    for (auto _ : State) ComposeFrame(Light, ++Frame % 4);
    PresentFrame();
    State.counters["blits"] = GetFrameStatistics().PreviousBlits / static_cast<double>(State.iterations() + 1);
    if (MemcpyNanoseconds > 0) {
        auto Start = std::chrono::steady_clock::now();
        for (int i = 0; i < 20; ++i) ComposeFrame(Light, i % 4);
        double FrameNanoseconds =
            std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - Start).count() / 20;
        State.counters["x_memcpy"] = FrameNanoseconds / MemcpyNanoseconds;
    }
}
BENCHMARK(BM_ComposedFrame)->Unit(benchmark::kMillisecond);

void BM_KeyedSpriteCopy(benchmark::State& State) {
    SetUpOnce();
    DrawSprite(TEMP_SURFACE, 0, 0, 2);  // sprite 2 (a round object) now sits in a slot
    int i = 0;
    for (auto _ : State) {
        CopySurfaceKeyed(TEMP_SURFACE, (i & 15) * 32, (i >> 4 & 7) * 32, SPRITE_SURFACE + 15, 288, 288, 32, 32, 255, 0,
                         255);
        ++i;
    }
}
BENCHMARK(BM_KeyedSpriteCopy);

void BM_DrawSprite(benchmark::State& State) {
    SetUpOnce();
    int i = 0;
    for (auto _ : State) {
        DrawSprite(TEMP_SURFACE, (i & 15) * 32, (i >> 4 & 7) * 32, 2 + (i & 63));
        ++i;
    }
}
BENCHMARK(BM_DrawSprite);

void BM_Glyph(benchmark::State& State) {
    SetUpOnce();
    int i = 0;
    for (auto _ : State) {
        char C = static_cast<char>('A' + (i % 26));
        DrawText(SCREEN_SURFACE, (i % 200) * 9, 100, 1, 255, 255, 255, &C, 1, LEFT_ALIGN);
        ++i;
    }
}
BENCHMARK(BM_Glyph);

void BM_LightPass(benchmark::State& State) {
    SetUpOnce();
    std::vector<LightQuad> Light = LightGrid();
    FillRect(TEMP_SURFACE, 0, 0, 640, 480, 200, 180, 160);
    for (auto _ : State) DrawLightQuads(TEMP_SURFACE, static_cast<int>(Light.size()), Light.data());
}
BENCHMARK(BM_LightPass)->Unit(benchmark::kMicrosecond);

void BM_ScaleView(benchmark::State& State) {
    SetUpOnce();
    for (auto _ : State) CopySurfaceScaled(SCREEN_SURFACE, 0, 0, 1440, 1056, TEMP_SURFACE, 0, 0, 480, 352);
}
BENCHMARK(BM_ScaleView)->Unit(benchmark::kMicrosecond);

void BM_SpriteDecode(benchmark::State& State) {
    SetUpOnce();
    int Sprite = 0;
    for (auto _ : State) {
        Sprite = Sprite % SPRITES + 1;  // cycling through more sprites than either cache holds
        DrawSprite(TEMP_SURFACE, 0, 0, Sprite);
    }
    State.counters["decodes"] = GetDecodeCount();
}
BENCHMARK(BM_SpriteDecode)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
