// The automap picture: building the 106 x 106 picture (the fields' colours,
// the player's cross and the marks of the 2 x 2 areas) at each zoom, with
// the four areas it touches in the memory cache and with none of them there
// (each read from its file, as after a long walk or at the first frame on a
// new floor); and a frame in which nothing changed, which only copies the
// picture to the screen.
//
//   BM_AutomapRebuildCached/zoom     areas in the cache
//   BM_AutomapRebuildFromDisk/zoom   the cache emptied before each build (not
//                                    timed); the four area files are read
//                                    (from the file system's cache)
//   BM_AutomapFrameNoChange          the picture's draw with nothing to rebuild
//
// The view is centred on (1024, 1024, 7), where four areas meet, so every
// zoom reads from all four. Each area holds 12 marks. The counters:
// rebuilds_per_frame (0 for the unchanged frame), allocations_per_iteration
// (heap allocations, once the view's mark list is warm).
//
// The skin picture is taken from VORNA_DATA_DIR, else from the build
// directory above the program.
#include "BenchData.h"
#include "CountingAllocator.h"
#include "BenchWorld.h"
#include "config/Preferences.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/windows/AutomapPanel.h"
#include "gui/framework/Skins.h"
#include "platform/Platform.h"
#include "world/Automap.h"
#include "world/Map.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

namespace {

constexpr int CENTRE = 1024, FLOOR = 7;
constexpr int MARKS_PER_AREA = 12;

std::string SetUpError;

// Areas 3..4 x 3..4: land of a few colours in blocks, with marks.
void WriteAreas() {
    uint32_t Seed = 4711;
    for (int bx = 3; bx <= 4; bx++)
        for (int by = 3; by <= 4; by++) {
            std::string Colour(65536, 0), Speed(65536, char(100));
            for (int i = 0; i < 256; i++)
                for (int j = 0; j < 256; j++) {
                    Seed = Seed * 1103515245u + 12345u;
                    const int Kind = ((i / 7) + (j / 5)) % 4;
                    const int Colours[4] = {24, 30, 86, 129};
                    Colour[size_t(i * 256 + j)] = char((Seed >> 16) % 10 == 0 ? 0 : Colours[Kind]);
                }
            std::string Marks;
            auto U32 = [&](uint32_t v) {
                for (int k = 0; k < 4; k++) Marks.push_back(char(v >> (8 * k)));
            };
            U32(MARKS_PER_AREA);
            for (int n = 0; n < MARKS_PER_AREA; n++) {
                // Half of them near the meeting point, the others spread.
                const int x = bx * 256 + (n % 2 ? 240 - n * 3 : n * 3 + 2);
                const int y = by * 256 + (n % 3 ? 250 - n * 2 : n * 2 + 4);
                U32(uint32_t(x));
                U32(uint32_t(y));
                U32(uint32_t(n % AUTOMAP_SYMBOLS));
                const std::string Text = "a mark with a text longer than the short buffer " + std::to_string(n);
                Marks.push_back(char(Text.size()));
                Marks.push_back(0);
                Marks += Text;
            }
            benchworld::WriteBytes(GetAutomapFileName(bx, by, FLOOR), Colour + Speed + Marks);
        }
}

void SetUpOnce() {
    static bool Done = false;
    if (Done) return;
    Done = true;
    const std::filesystem::path Data = DataDir();
    benchworld::EnterTempDir();
    for (const char* Name : {"Vorna.spr", "Vorna.pic"}) {
        std::error_code Error;
        std::filesystem::copy_file(Data / Name, Name, std::filesystem::copy_options::overwrite_existing, Error);
        if (Error) {
            SetUpError = (Data / Name).string() + " not found: build vorna-data or set VORNA_DATA_DIR";
            return;
        }
    }
    WriteAreas();
    platform::Init(platform::Backend::Headless);
    platform::CreateWindow("bench", -1, -1, 640, 480, false);
    InitSurface();
    CreateSurfaces(WINDOWED_MODE, NULL);
    InitGraphics(MEMORY_CACHE_BYTES);
    InitSkins();
    InitMap(nullptr);
    SetMapPosition(CENTRE, CENTRE, FLOOR);
}

// A view at the zoom asked for, following the player.
void SetZoom(AutomapView& View, int Zoom) {
    while (View.getZoom() > Zoom) View.command(AUTOMAP_ZOOM_OUT);
    while (View.getZoom() < Zoom) View.command(AUTOMAP_ZOOM_IN);
}

void BM_AutomapRebuildCached(benchmark::State& State) {
    SetUpOnce();
    if (!SetUpError.empty()) {
        State.SkipWithError(SetUpError.c_str());
        return;
    }
    AutomapView View;
    SetZoom(View, int(State.range(0)));
    View.rebuild();  // loads the areas and warms the mark list
    const long Before = Allocations.load();
    for (auto _ : State) View.rebuild();
    State.counters["allocations_per_iteration"] =
        double(Allocations.load() - Before) / double(std::max<int64_t>(State.iterations(), 1));
}
BENCHMARK(BM_AutomapRebuildCached)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMicrosecond);

void BM_AutomapRebuildFromDisk(benchmark::State& State) {
    SetUpOnce();
    if (!SetUpError.empty()) {
        State.SkipWithError(SetUpError.c_str());
        return;
    }
    AutomapView View;
    SetZoom(View, int(State.range(0)));
    for (auto _ : State) {
        State.PauseTiming();
        // Nothing is dirty: emptying the cache writes nothing.
        ExitAutomap();
        InitAutomap();
        State.ResumeTiming();
        View.rebuild();
    }
}
BENCHMARK(BM_AutomapRebuildFromDisk)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMicrosecond);

void BM_AutomapFrameNoChange(benchmark::State& State) {
    SetUpOnce();
    if (!SetUpError.empty()) {
        State.SkipWithError(SetUpError.c_str());
        return;
    }
    AutomapView View;
    AutomapPicture Picture(&View);
    Picture.draw(SCREEN_SURFACE, 0, 0);  // the first frame builds
    const int Built = View.getRebuilds();
    const long Before = Allocations.load();
    for (auto _ : State) Picture.draw(SCREEN_SURFACE, 0, 0);
    const double Frames = double(std::max<int64_t>(State.iterations(), 1));
    State.counters["rebuilds_per_frame"] = double(View.getRebuilds() - Built) / Frames;
    State.counters["allocations_per_iteration"] = double(Allocations.load() - Before) / Frames;
}
BENCHMARK(BM_AutomapFrameNoChange)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
