#include "app/GameRecording.h"

#include "app/Control.h"
#include "app/Application.h"
#include "app/MainFrame.h"
#include "config/Preferences.h"
#include "core/DataFolders.h"
#include "platform/Platform.h"
#include "platform/Recording.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace app {

namespace {
const char* const DATA_FILES[] = {"Vorna.dat", "Vorna.spr", "Vorna.pic"};
std::string ReplayPreferences;  // the settings file a replay reads and writes instead of the player's
// Why the recording being replayed is incomplete (a block damaged, or the
// file cut off inside one); empty when it is whole.
std::string ReplayIncomplete;

std::string ReadWholeFile(const std::string& Path, bool& Exists) {
    std::ifstream In(Path, std::ios::binary);
    Exists = bool(In);
    std::stringstream Text;
    if (In) Text << In.rdbuf();
    return Text.str();
}

void ReplayIdle() {
    ControlIdle();
    if (platform::ReplayFinished()) ExitProgram();
}
}  // namespace

platform::recording::Header RecordingHeader(const std::string& CommandLine) {
    platform::recording::Header Head;
    for (const char* Name : DATA_FILES) Head.Files.push_back({Name, platform::recording::HashFile(DataFilePath(Name))});
    bool Present = false;
    const std::string Settings = ReadWholeFile(GetPreferencesPath(), Present);
    Head.Settings = {{"commandline", CommandLine},
                     {"scale", std::getenv("VORNA_SCALE") ? std::getenv("VORNA_SCALE") : ""},
                     {"preferences", Settings},
                     {"preferences-present", Present ? "1" : "0"}};
    return Head;
}

SessionOptions TakeSessionOptions(int& argc, char** argv) {
    SessionOptions Options;
    int Kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string Arg = argv[i];
        auto Value = [&](std::string& Into) {
            if (i + 1 >= argc) {
                Options.Error = Arg + " needs a value";
                return;
            }
            Into = argv[++i];
        };
        if (Arg == "--record") {
            Value(Options.Record);
        } else if (Arg == "--replay") {
            Value(Options.Replay);
        } else if (Arg == "--shots") {
            Value(Options.Shots);
        } else if (Arg == "--frame-hashes") {
            Value(Options.FrameHashes);
        } else if (Arg == "--headless") {
            Options.Headless = true;
        } else if (Arg == "--speed") {
            std::string Speed;
            Value(Speed);
            if (Speed == "max") {
                Options.Speed = 0;
            } else {
                char* End = nullptr;
                Options.Speed = std::strtod(Speed.c_str(), &End);
                if (Speed.empty() || *End != 0 || !(Options.Speed > 0) || Options.Speed > 10000)
                    Options.Error = "--speed takes a number above 0 or \"max\", not \"" + Speed + "\"";
            }
        } else {
            argv[Kept++] = argv[i];
        }
    }
    argc = Kept;
    if (Options.Error.empty() && !Options.Record.empty() && !Options.Replay.empty())
        Options.Error = "--record and --replay cannot be used together";
    return Options;
}

bool StartGameSession(const SessionOptions& Options, std::string& CommandLine) {
    if (!Options.Shots.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(Options.Shots, ec);
        platform::SetCheckpointShots(Options.Shots);
    }
    if (!Options.Record.empty()) {
        std::string Error;
        if (!platform::StartRecording(Options.Record, RecordingHeader(CommandLine), &Error)) {
            std::fprintf(stderr, "vorna: cannot record: %s\n", Error.c_str());
            return false;
        }
        return true;
    }
    if (Options.Replay.empty()) return true;

    platform::recording::Recording Recorded = platform::recording::LoadRecording(Options.Replay);
    if (!Recorded.HeaderRead) {
        std::fprintf(stderr, "vorna: cannot replay %s: %s\n", Options.Replay.c_str(), Recorded.Error.c_str());
        return false;
    }
    ReplayIncomplete.clear();
    if (!Recorded.Error.empty()) {
        const uint32_t Last = Recorded.Records.empty() ? Recorded.Head.StartClock : Recorded.Records.back().Time;
        std::fprintf(stderr, "vorna: %s is damaged: %s; replaying the %.1f s before it\n", Options.Replay.c_str(),
                     Recorded.Error.c_str(), double(Last - Recorded.Head.StartClock) / 1000.0);
        ReplayIncomplete = "the recording is damaged: " + Recorded.Error;
    } else if (!Recorded.EndedInOrder) {
        // Everything the program wrote before it ended (a crash, for
        // instance) is whole: that is a recording like any other.
        std::fprintf(stderr, "vorna: %s was not closed in order (the program ended abruptly)\n", Options.Replay.c_str());
    }
    for (const auto& File : Recorded.Head.Files)
        if (platform::recording::HashFile(DataFilePath(File.Name)) != File.Hash)
            std::fprintf(stderr, "vorna: %s differs from the one the game was recorded with; the replay may differ\n",
                         File.Name.c_str());

    CommandLine = Recorded.Head.Setting("commandline");
    const std::string Scale = Recorded.Head.Setting("scale");
    if (Scale.empty())
        unsetenv("VORNA_SCALE");
    else
        setenv("VORNA_SCALE", Scale.c_str(), 1);
    // The recorded settings, in a file of the replay's own: the player's
    // settings are neither read nor changed.
    ReplayPreferences =
        (std::filesystem::temp_directory_path() / ("vorna-replay-" + std::to_string(getpid()) + ".cfg")).string();
    std::remove(ReplayPreferences.c_str());
    if (Recorded.Head.Setting("preferences-present") == "1")
        std::ofstream(ReplayPreferences, std::ios::binary) << Recorded.Head.Setting("preferences");
    SetPreferencesPath(ReplayPreferences);
    platform::StartReplay(std::move(Recorded), Options.Speed);
    return true;
}

void InstallReplayEnd() {
    if (platform::GetSessionMode() == platform::SessionMode::Replaying) frame::SetIdleHandler(ReplayIdle);
}

int EndGameSession(const SessionOptions& Options) {
    const bool Replayed = platform::GetSessionMode() == platform::SessionMode::Replaying;
    platform::EndSession();
    const platform::ReplayReport& Report = platform::GetReplayReport();
    if (!Options.FrameHashes.empty()) {
        if (std::FILE* Out = std::fopen(Options.FrameHashes.c_str(), "w")) {
            for (const auto& [Frame, Hash] : Report.Frames)
                std::fprintf(Out, "frame %d %016llx\n", Frame, static_cast<unsigned long long>(Hash));
            std::fclose(Out);
        }
    }
    if (!Replayed) return 0;
    if (!ReplayPreferences.empty()) std::remove(ReplayPreferences.c_str());
    ReplayPreferences.clear();
    std::printf("vorna: replayed %.1f s: %d of %d packets sent as recorded, %d of %d checkpoint frames as recorded\n",
                Report.LastTime / 1000.0, Report.SendsChecked, Report.Sends, Report.CheckpointsMatched,
                Report.Checkpoints);
    if (!Report.SendDifference.empty()) std::printf("vorna: first difference: %s\n", Report.SendDifference.c_str());
    if (!Report.CheckpointDifference.empty()) std::printf("vorna: %s\n", Report.CheckpointDifference.c_str());
    if (!Report.Divergence.empty()) std::printf("vorna: %s\n", Report.Divergence.c_str());
    if (!ReplayIncomplete.empty()) std::printf("vorna: %s; only the part before it was replayed\n", ReplayIncomplete.c_str());
    std::fflush(stdout);
    const bool Played = Report.SendDifference.empty() && Report.Divergence.empty() &&
                        Report.SendsChecked == Report.Sends;
    // A replay of an incomplete recording proves nothing about what was
    // lost, so it never counts as a full match.
    const bool Incomplete = !ReplayIncomplete.empty();
    ReplayIncomplete.clear();
    if (!Played) return 3;
    if (Incomplete) return 5;
    return Report.CheckpointDifference.empty() ? 0 : 4;
}

}  // namespace app
