// The console at its worst: the default tab holds 1000 long lines, the
// console is 1920 pixels wide.
//
//   BM_ConsoleRedraw         a line arrives and the console is drawn: the
//                            full buffer is wrapped again and drawn
//   BM_ConsoleRedrawSame     drawn again with nothing new (the wrap is kept)
//   BM_AddLineToFullBuffer   only the arrival of a line in a full buffer;
//                            allocations_per_line counts the heap allocations
//
// The generated data files are taken from VORNA_DATA_DIR, else from the
// build directory above the program.
#include "BenchData.h"
#include "CountingAllocator.h"
#include "config/Preferences.h"
#include "core/TalkModes.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/windows/ConsoleWindow.h"
#include "gui/framework/GUI.h"
#include "gui/framework/Skins.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <unistd.h>

namespace {

constexpr int WIDTH = 1920, HEIGHT = 1080, CONSOLE_HEIGHT = 300;
constexpr const char* LONG_LINE =
    "a long line of talk that runs well past the width of any console, so that it wraps at least once even at "
    "1920 pixels: the quick brown fox jumps over the lazy dog while the smith hammers at the anvil and the "
    "chickens cluck in the garden behind the timber house, and still it goes on a little further, past the well "
    "and the lake, along the road north to the stone house with its cellar, where a torch lights the stairs and "
    "the floors above are hidden under the roof.";

std::string SetUpError;
ConsoleWindow* Console = nullptr;

void SetUpOnce() {
    if (Console != nullptr || !SetUpError.empty()) return;
    const auto Dir = std::filesystem::temp_directory_path() / ("vorna-bench-console-" + std::to_string(getpid()));
    std::filesystem::create_directories(Dir);
    for (const char* Name : {"Vorna.spr", "Vorna.pic"}) {
        std::error_code Error;
        std::filesystem::copy_file(DataDir() / Name, Dir / Name, std::filesystem::copy_options::overwrite_existing,
                                   Error);
        if (Error) {
            SetUpError = (DataDir() / Name).string() + " not found: build vorna-data or set VORNA_DATA_DIR";
            return;
        }
    }
    std::filesystem::current_path(Dir);
    platform::Init(platform::Backend::Headless);
    platform::headless::SetScreenSize(WIDTH, HEIGHT);
    platform::CreateWindow("bench", -1, -1, WIDTH, HEIGHT, false);
    SetPreferencesPath((Dir / "Vorna.cfg").string());
    LoadPreferences();
    SetTimeStamps(true);
    InitSurface();
    CreateSurfaces(WINDOWED_MODE, NULL);
    InitGraphics(MEMORY_CACHE_BYTES);
    InitSkins();
    InitGUI();
    ResetConsole();
    for (int n = 0; n < TEXTBUFFER_LINES; ++n) AddTalkLine(LONG_LINE, TALK_SAY, "Kestrel", -1);
    Console = new ConsoleWindow();
    Console->setSize(WIDTH, CONSOLE_HEIGHT);
    Console->draw(SCREEN_SURFACE, 0, HEIGHT - CONSOLE_HEIGHT);
}

void BM_ConsoleRedraw(benchmark::State& State) {
    SetUpOnce();
    if (!SetUpError.empty()) return State.SkipWithError(SetUpError.c_str());
    for (auto _ : State) {
        AddTalkLine(LONG_LINE, TALK_YELL, "Mira", -1);
        Console->draw(SCREEN_SURFACE, 0, HEIGHT - CONSOLE_HEIGHT);
    }
    State.counters["display_lines"] = GetDefaultBuffer()->getDisplayLines();
}
BENCHMARK(BM_ConsoleRedraw)->Unit(benchmark::kMillisecond);

void BM_ConsoleRedrawSame(benchmark::State& State) {
    SetUpOnce();
    if (!SetUpError.empty()) return State.SkipWithError(SetUpError.c_str());
    for (auto _ : State) Console->draw(SCREEN_SURFACE, 0, HEIGHT - CONSOLE_HEIGHT);
}
BENCHMARK(BM_ConsoleRedrawSame)->Unit(benchmark::kMillisecond);

void BM_AddLineToFullBuffer(benchmark::State& State) {
    SetUpOnce();
    if (!SetUpError.empty()) return State.SkipWithError(SetUpError.c_str());
    const long Before = Allocations.load();
    long Lines = 0;
    for (auto _ : State) {
        AddTalkLine(LONG_LINE, TALK_SAY, "Kestrel", -1);
        ++Lines;
    }
    State.counters["allocations_per_line"] = double(Allocations.load() - Before) / double(Lines);
}
BENCHMARK(BM_AddLineToFullBuffer)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
