// Recording a game to a file and replaying it (`--record FILE`, `--replay
// FILE [--speed N|max] [--headless]`, with `--shots DIR` for the frames at the
// checkpoints and `--frame-hashes FILE` for their hashes).
#pragma once

#include "platform/Recording.h"

#include <string>

namespace app {

struct SessionOptions {
    std::string Record, Replay, Shots, FrameHashes;
    double Speed = 1;  // 0: as fast as possible
    bool Headless = false;
    std::string Error;  // a malformed option
};

// Takes the recording options out of the arguments; the others stay, in
// their order, for the command line.
SessionOptions TakeSessionOptions(int& argc, char** argv);

// What a recording's header keeps besides the clocks: the data files' hashes,
// the command line, the scale and the settings file as they are now.
platform::recording::Header RecordingHeader(const std::string& CommandLine);

// Starts recording or replaying once the platform is up and before any
// module starts. A replay takes the recorded command line, settings file and
// scale. False (with the reason on standard error) when it cannot start.
bool StartGameSession(const SessionOptions& Options, std::string& CommandLine);
// Replay: the program ends when the recording has been played out.
void InstallReplayEnd();
// Closes the recording, or reports the replay; returns the exit status: 0,
// 3 when the program did not play as recorded (another packet sent, an input
// not asked for), 5 when it did but the recording is damaged or cut off
// inside a block (only the part before was replayed), 4 when it did but a
// checkpoint's picture differs (the program draws differently than the one
// that recorded).
int EndGameSession(const SessionOptions& Options);

}  // namespace app
