// Handing a finished 1920 x 1080 frame to the screen, by each path the SDL
// back end offers. Needs a display (run it under xvfb-run); without one the
// benchmarks report an error and measure nothing.
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

namespace {

void Present(benchmark::State& state, const char* path, int width, int height) {
    setenv("VORNA_PRESENT", path, 1);
    std::string reason;
    if (!platform::Init(platform::Backend::SDL, &reason) ||
        !platform::CreateWindow("Vorna   ", 0, 0, width, height, false)) {
        state.SkipWithError(("no display: " + reason).c_str());
        return;
    }
    std::vector<uint32_t> frame(static_cast<size_t>(width) * height);
    uint32_t shade = 0;
    for (auto _ : state) {
        frame[shade % frame.size()] = shade;  // a changing frame, as in play
        platform::Present(frame.data(), width, height, width);
        platform::Event event;
        while (platform::PollEvent(event)) {
        }
        ++shade;
    }
    platform::DestroyWindow();
    platform::Shutdown();
}

void BM_PresentWindowSurface(benchmark::State& state) { Present(state, "surface", 1920, 1080); }
void BM_PresentTexture(benchmark::State& state) { Present(state, "texture", 1920, 1080); }

BENCHMARK(BM_PresentWindowSurface)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PresentTexture)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
