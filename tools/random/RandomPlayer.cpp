#include "RandomPlayer.h"

#include "PlayerInput.h"
#include "Rng.h"
#include "ScriptedServer.h"

#include "app/Application.h"
#include "app/Control.h"
#include "app/GameRecording.h"
#include "app/MainFrame.h"
#include "core/Assert.h"
#include "core/ProgramError.h"
#include "core/Status.h"
#include "graphics/Surface.h"
#include "gui/framework/Dialogs.h"
#include "gui/framework/GUI.h"
#include "platform/Platform.h"
#include "platform/Recording.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace randomplayer {

namespace fs = std::filesystem;

namespace {

// A packet of the client that the reference server refuses ends the loop.
struct ClientFault {
    std::string What;
};

// The state of the episode that runs, reached from the loop's idle pass.
struct Episode {
    const EpisodeOptions* Options = nullptr;
    std::unique_ptr<ScriptedServer> Server;
    std::unique_ptr<PlayerInput> Input;
    Rng Chance{1};
    int64_t Steps = 0;
    uint32_t Clock = 0;
    std::chrono::steady_clock::time_point Start;
    bool Ending = false;
    int EndingPasses = 0;
};
Episode* Current = nullptr;

bool TimeIsUp(const Episode& E) {
    const EpisodeOptions& O = *E.Options;
    if (O.MaxSteps > 0 && E.Steps >= O.MaxSteps) return true;
    if (O.MaxSeconds > 0) {
        const double Elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - E.Start).count();
        if (Elapsed >= O.MaxSeconds) return true;
    }
    return false;
}

// One pass of the program's loop: the program's own idle pass first, then
// the server and the player prepare what the next pass meets, and the clock
// moves on.
void RandomIdle() {
    ControlIdle();
    Episode& E = *Current;
    ++E.Steps;
    if (!E.Server->ClientFault().empty()) throw ClientFault{E.Server->ClientFault()};
    if (E.Options->Progress) E.Options->Progress(E.Steps);
    if (!E.Ending && TimeIsUp(E)) {
        // The end, as a player ends: the server lets him go, the window is closed.
        E.Ending = true;
        E.Server->Hangup();
    }
    int Wait = 0;
    if (E.Ending) {
        ++E.EndingPasses;
        if (GetConnectionState() == STATE_OFFLINE || E.EndingPasses > 50) {
            platform::Event Close;
            Close.Kind = platform::EventKind::CloseRequest;
            platform::headless::InjectEvent(Close);
        }
        platform::Event Exposed;
        Exposed.Kind = platform::EventKind::Exposed;
        platform::headless::InjectEvent(Exposed);
        Wait = 20;
    } else {
        E.Server->Step(E.Clock);
        Wait = E.Input->Step();
        if (E.Options->Trace) {
            const Dialog* D = dynamic_cast<const Dialog*>(GetModalWindow());
            std::fprintf(stderr, "pass %lld at %u: server %s, player %s, then %d ms; state %d, input mode %d, %s\n",
                         static_cast<long long>(E.Steps), E.Clock, E.Server->LastAction().c_str(),
                         E.Input->LastAction().c_str(), Wait, GetConnectionState(), GetInputMode(),
                         D ? ("dialog " + D->getCaption()).c_str() : GetModalWindow() ? "menu" : "no modal window");
        }
    }
    E.Clock += uint32_t(Wait);
    // What was recorded reaches the file before the next pass can crash.
    platform::FlushRecording();
}

// Preferences a player may have chosen, so that their paths are walked too.
void WritePreferences(Rng& R) {
    if (R.oneIn(3)) return;  // none: the first start
    std::ofstream Out("Vorna.cfg");
    auto Flag = [&](const char* Key) { Out << Key << " = " << (R.oneIn(2) ? "yes" : "no") << "\n"; };
    Flag("ClassicControl");
    Flag("ShowNewHints");
    Flag("WindowsMousepointer");
    Flag("TimeStamps");
    Flag("LightEffects");
    Flag("TextualEffects");
    Flag("AutoChaseOff");
    Out << "CreatureInfo = " << R.range(0, 3) << "\n";
    Out << "AttackMode = " << R.range(0, 2) << "\n";
    if (R.oneIn(3)) Out << "ConfineFramerate = " << R.range(0, 100) << "\n";
}

}  // namespace

std::string ActionNames() {
    std::string Names;
    for (const std::string& N : ScriptedGame::ActionNames()) Names += N + " ";
    for (const std::string& N : PlayerInput::ActionNames()) Names += N + " ";
    if (!Names.empty()) Names.pop_back();
    return Names;
}

void EnterWorkFolder(const std::string& WorkDir, const std::string& DataDir) {
    const fs::path Data = fs::absolute(DataDir);
    fs::create_directories(WorkDir);
    fs::current_path(WorkDir);
    for (const char* Name : {"Vorna.dat", "Vorna.spr", "Vorna.pic"}) {
        std::error_code ec;
        fs::remove(Name, ec);
        fs::create_symlink(Data / Name, Name);
    }
}

// The four faults it first met (a dialog dragged off the window, a message
// wider than the window, the console's selection when its lines change, the
// close warning in the smallest window) are mended: nothing is off today.
std::set<std::string> KnownFaultWorkarounds() { return {}; }

EpisodeResult RunEpisode(const EpisodeOptions& Options) {
    EpisodeResult Result;
    const fs::path Previous = fs::current_path();
    const fs::path Work = fs::absolute(Options.WorkDir);
    Result.Recording = Options.RecordingPath.empty() ? (Work / "random.vrec").string()
                                                     : fs::absolute(Options.RecordingPath).string();
    EnterWorkFolder(Options.WorkDir, Options.DataDir);
    std::error_code ec;
    fs::remove("Vorna.cfg", ec);
    fs::remove("error.txt", ec);

    Episode E;
    E.Options = &Options;
    E.Chance = Rng(Options.Seed * 0x9E3779B97F4A7C15ull + 17);
    Rng Setup = E.Chance.fork();
    WritePreferences(Setup);

    // The machine the player sits at: his screen, his scale.
    static const int Screens[][2] = {{1920, 1080}, {2560, 1440}, {1280, 1024}, {1366, 768}, {3840, 2160}, {1024, 768}};
    const int* Screen = Screens[Setup.below(6)];
    platform::headless::Reset();
    platform::headless::SetScreenSize(Screen[0], Screen[1]);
    platform::headless::SetUsableArea(0, Setup.oneIn(2) ? 0 : 30, Screen[0], Screen[1] - 70);
    const int Scale = Setup.range(0, 3);
    if (Scale == 0)
        unsetenv("VORNA_SCALE");
    else
        setenv("VORNA_SCALE", std::to_string(Scale).c_str(), 1);
    setenv("VORNA_PLATFORM", "headless", 1);
    // Times of day in one zone, so that a seed gives the same pictures anywhere.
    setenv("TZ", "UTC", 1);
    tzset();

    E.Clock = 100000 + uint32_t(Setup.below(1000000));
    platform::SetClockOverride([] { return Current ? Current->Clock : 0u; });
    platform::SetSessionSeed(Options.Seed | 0x80000000u, 1600000000 + int64_t(Setup.below(200000000)));
    assertion::SetThrowOnFailure(true);
    assertion::SetErrorLogPath((Work / "error.txt").string());

    ServerSettings Server;
    Server.DataDir = fs::absolute(Options.DataDir).string();
    Server.Skip = Options.Skip;
    InputSettings Input;
    Input.Skip = Options.Skip;
    Input.Trace = Options.Trace;
    E.Server = std::make_unique<ScriptedServer>(E.Chance.fork(), Server, Options.Malformed);
    E.Input = std::make_unique<PlayerInput>(E.Chance.fork(), Input);
    E.Start = std::chrono::steady_clock::now();
    Current = &E;

    std::string Error;
    if (!platform::StartRecording(Result.Recording, app::RecordingHeader(""), &Error))
        throw std::runtime_error("cannot record " + Result.Recording + ": " + Error);
    platform::SetNetworkScript(E.Server.get());

    bool Started = false;
    try {
        char Program[] = "vorna";
        char* Arguments[] = {Program, nullptr};
        Started = app::StartApplication(1, Arguments);
        if (!Started) throw std::runtime_error("the client did not start");
        // The frame limiter would wait for a clock that only the passes move.
        SetFrameSleep([](int) {});
        frame::SetIdleHandler(RandomIdle);
        frame::RunMessageLoop();
        Result.How = E.Ending ? EpisodeResult::Ending::Finished : EpisodeResult::Ending::ProgramEnded;
    } catch (const assertion::Failure& F) {
        Result.What = "assertion \"" + F.Expression + "\" failed in " + F.Module + " line " + std::to_string(F.Line);
        if (const Dialog* D = dynamic_cast<const Dialog*>(GetModalWindow()))
            Result.What += " (dialog \"" + D->getCaption() + "\" open, " + std::to_string(D->getWidth()) + " x " +
                           std::to_string(D->getHeight()) + ")";
        Result.How = Options.Malformed && E.Server->SentMalformed() ? EpisodeResult::Ending::AllowedReport
                                                                    : EpisodeResult::Ending::Finding;
    } catch (const ClientFault& F) {
        Result.What = F.What;
        Result.How = EpisodeResult::Ending::Finding;
    } catch (PROGRAM_ERROR Code) {
        Result.What = "program error " + std::to_string(int(Code)) + " during the game";
        Result.How = EpisodeResult::Ending::Finding;
    }
    Result.Steps = E.Steps;
    if (Result.How == EpisodeResult::Ending::Finding) {
        // The last picture the player saw before the fault.
        int Width = 0, Height = 0;
        const std::vector<uint32_t>& Frame = platform::headless::LastFrame(Width, Height);
        Result.Picture = (Work / "last-frame.png").string();
        if (Frame.empty() || !platform::WritePNG(Result.Picture, Frame.data(), Width, Height, Width))
            Result.Picture.clear();
    }
    Result.LastServer = E.Server->LastAction();
    Result.LastInput = E.Input->LastAction();
    // The recording ends here, whatever the shutdown below meets.
    platform::SetNetworkScript(nullptr);
    platform::FlushRecording();
    if (Started) {
        try {
            app::EndApplication();
        } catch (...) {
            // After a finding the modules may not come down in order; the
            // finding has been kept.
        }
    }
    platform::EndSession();
    SetFrameSleep(nullptr);
    platform::SetClockOverride({});
    platform::SetSessionSeed(0, 0);
    Current = nullptr;
    fs::current_path(Previous);
    return Result;
}

}  // namespace randomplayer
