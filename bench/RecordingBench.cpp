// What recording a game costs each frame. A frame of the game takes its
// inputs through the platform's seams: in a recorded two-minute game a frame
// made about 40 counted calls (most of them reads of the clock, which moves
// a few milliseconds in a frame), took one pointer move and read the pointer
// and the window's size twice. The same calls are made here on the headless
// platform, live and while recording into a file (blocks written once a
// second as in the game), so the difference is the recording's cost per
// frame; the counter bytes_per_frame is what the file grows by.
//
//   BM_FrameInputs/0   live
//   BM_FrameInputs/1   recording
#include "platform/Platform.h"
#include "platform/Recording.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

uint32_t Clock = 0;
int ClockReads = 0;

void OneFrame() {
    platform::Event e;
    e.Kind = platform::EventKind::PointerMove;
    e.X = 100 + (Clock & 63);
    e.Y = 200;
    platform::headless::InjectEvent(e);
    platform::headless::SetPointerPosition(e.X, e.Y);
    for (int i = 0; i < 40; ++i) {
        // The clock moves on about every tenth read: a few milliseconds a frame.
        if (++ClockReads % 10 == 0) ++Clock;
        benchmark::DoNotOptimize(platform::Milliseconds());
    }
    while (platform::PollEvent(e)) benchmark::DoNotOptimize(e);
    int x, y, w, h;
    for (int i = 0; i < 2; ++i) {
        platform::GetPointerPosition(x, y);
        platform::GetClientSize(w, h);
    }
    benchmark::DoNotOptimize(x + y + w + h);
}

void BM_FrameInputs(benchmark::State& state) {
    platform::Init(platform::Backend::Headless);
    platform::CreateWindow("bench", 0, 0, 900, 700, false);
    platform::SetClockOverride([] { return Clock; });
    const std::string path =
        (std::filesystem::temp_directory_path() / ("vorna-bench-" + std::to_string(::getpid()) + ".vrec")).string();
    const bool recording = state.range(0) == 1;
    if (recording) platform::StartRecording(path, platform::recording::Header{}, nullptr);
    for (auto _ : state) OneFrame();
    platform::EndSession();
    if (recording) {
        state.counters["bytes_per_frame"] =
            double(std::filesystem::file_size(path)) / double(state.iterations());
        std::remove(path.c_str());
    }
    platform::SetClockOverride({});
    platform::DestroyWindow();
}
BENCHMARK(BM_FrameInputs)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
