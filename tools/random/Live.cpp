// The soak: the client on the reference server itself (a real connection,
// the real clock), driven by the random player's hands only, at the first
// window of a 1920 x 1080 screen (1200 x 900 at scale 2).
#include "Live.h"

#include "PlayerInput.h"
#include "RandomPlayer.h"
#include "Rng.h"

#include "app/Application.h"
#include "app/Control.h"
#include "app/MainFrame.h"
#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/ProgramError.h"
#include "core/Status.h"
#include "gui/framework/Dialogs.h"
#include "gui/framework/GUI.h"
#include "net/Network.h"
#include "platform/Platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace randomplayer {

namespace fs = std::filesystem;

namespace {

struct Soak {
    const LiveOptions* Options = nullptr;
    std::unique_ptr<PlayerInput> Input;
    LiveStatus Status;
    std::chrono::steady_clock::time_point Start, NextInput, NextReport;
    bool WasInGame = false;
    bool Ending = false;
    int EndingTries = 0;
    std::chrono::steady_clock::time_point EndingSince;
};
Soak* Current = nullptr;

void Press(platform::Key K, int Character, bool Ctrl) {
    platform::Event E;
    if (Ctrl) {
        E.Kind = platform::EventKind::KeyDown;
        E.KeyCode = platform::Key::Control;
        platform::headless::InjectEvent(E);
    }
    E.Kind = platform::EventKind::KeyDown;
    E.KeyCode = K;
    E.Character = Character;
    platform::headless::InjectEvent(E);
    E.Kind = platform::EventKind::KeyUp;
    platform::headless::InjectEvent(E);
    if (Ctrl) {
        E.KeyCode = platform::Key::Control;
        E.Character = 0;
        platform::headless::InjectEvent(E);
    }
}

void Click(int X, int Y) {
    platform::Event E;
    E.Kind = platform::EventKind::PointerMove;
    E.X = X;
    E.Y = Y;
    platform::headless::InjectEvent(E);
    E.Button = 1;
    E.Kind = platform::EventKind::ButtonDown;
    platform::headless::InjectEvent(E);
    E.Kind = platform::EventKind::ButtonUp;
    platform::headless::InjectEvent(E);
}

void LiveIdle() {
    ControlIdle();
    Soak& S = *Current;
    const auto Now = std::chrono::steady_clock::now();
    ++S.Status.Passes;
    S.Status.Frames = platform::headless::PresentedFrames();
    S.Status.InGame = GetConnectionState() == STATE_GAME;
    if (S.Status.InGame && !S.WasInGame) ++S.Status.Logins;
    S.WasInGame = S.Status.InGame;
    S.Status.LastInput = S.Input->LastAction();
    if (Now >= S.NextReport && S.Options->Progress) {
        S.Options->Progress(S.Status);
        S.NextReport = Now + std::chrono::seconds(1);
    }
    const double Elapsed = std::chrono::duration<double>(Now - S.Start).count();
    if (!S.Ending && Elapsed >= S.Options->Seconds) {
        S.Ending = true;
        S.EndingSince = Now;
    }
    if (S.Ending) {
        // Out of the game as a player leaves it (Ctrl+L, then Logout), then
        // the window is closed, so that the server saves the character.
        if (Now < S.NextInput) return;
        S.NextInput = Now + std::chrono::milliseconds(500);
        // A modifier whose release was lost would change every key below.
        for (platform::Key K : {platform::Key::Shift, platform::Key::Control, platform::Key::Alt}) {
            platform::Event Up;
            Up.Kind = platform::EventKind::KeyUp;
            Up.KeyCode = K;
            platform::headless::InjectEvent(Up);
        }
        const Dialog* D = dynamic_cast<const Dialog*>(GetModalWindow());
        std::fprintf(stderr, "ending: state %d, input mode %d, %s\n", GetConnectionState(), GetInputMode(),
                     D ? D->getCaption().c_str() : GetModalWindow() ? "menu" : "no modal window");
        if (D != nullptr && D->getCaption() == "Warning" && GetConnectionState() == STATE_GAME) {
            Press(platform::Key::Return, 0, false);  // yes, leave
        } else if (GetModalWindow() != nullptr) {
            // Any other box, menu or the character list: away with it, no new
            // login: Escape, or its cancel or default button where Escape
            // does nothing.
            const TextButton* B = D == nullptr ? nullptr : S.EndingTries % 3 == 1 ? D->getCancelButton() : D->getDefaultButton();
            if (S.EndingTries++ % 3 == 0 || B == nullptr) {
                Press(platform::Key::Escape, 0, false);
            } else {
                int X = 0, Y = 0;
                B->getAbsolutePosition(X, Y);
                const int Scale = std::max(frame::GetScale(), 1);
                Click((X + B->getWidth() / 2) * Scale, (Y + B->getHeight() / 2) * Scale);
            }
        } else if (GetConnectionState() == STATE_GAME) {
            Press(platform::Key::Character, 'l', true);
        } else if (GetConnectionState() == STATE_OFFLINE || Now - S.EndingSince > std::chrono::seconds(30)) {
            platform::Event Close;
            Close.Kind = platform::EventKind::CloseRequest;
            platform::headless::InjectEvent(Close);
        }
        return;
    }
    if (Now < S.NextInput) return;
    S.NextInput = Now + std::chrono::milliseconds(S.Input->Step());
}

}  // namespace

int RunLive(const LiveOptions& Options) {
    const fs::path Previous = fs::current_path();
    const fs::path Work = fs::absolute(Options.WorkDir);
    EnterWorkFolder(Options.WorkDir, Options.DataDir);
    // A 1920 x 1080 screen with a panel: the first window is 1200 x 900 at scale 2.
    platform::headless::Reset();
    platform::headless::SetScreenSize(1920, 1080);
    platform::headless::SetUsableArea(0, 0, 1920, 1040);
    // A display of 60 pictures a second, which paces the frames as a real one does.
    platform::headless::SetRefreshRate(60);
    unsetenv("VORNA_SCALE");
    setenv("VORNA_PLATFORM", "headless", 1);
    assertion::SetThrowOnFailure(true);
    assertion::SetErrorLogPath((Work / "error.txt").string());

    Soak S;
    S.Options = &Options;
    InputSettings Input;
    Input.Live = true;
    Input.Account = Options.Account;
    Input.Password = Options.Password;
    Input.Skip = Options.Skip;
    S.Input = std::make_unique<PlayerInput>(Rng(Options.Seed), Input);
    S.Start = S.NextInput = S.NextReport = std::chrono::steady_clock::now();
    Current = &S;

    char Program[] = "vorna";
    char* Arguments[] = {Program, nullptr};
    if (!app::StartApplication(1, Arguments)) throw std::runtime_error("the client did not start");
    int Status = 0;
    try {
        // The reference server started for the soak, on its own ports.
        SetTestServer(false);
        for (int i = 0; i < NUMBEROFSERVER; ++i) SetLoginServer(i, "127.0.0.1", Options.LoginPort);
        frame::SetIdleHandler(LiveIdle);
        frame::RunMessageLoop();
    } catch (const assertion::Failure& F) {
        S.Status.Failure = "assertion \"" + F.Expression + "\" failed in " + F.Module + " line " + std::to_string(F.Line);
        Status = 1;
    } catch (PROGRAM_ERROR Code) {
        S.Status.Failure = "program error " + std::to_string(int(Code));
        Status = 1;
    }
    if (Options.Progress) Options.Progress(S.Status);
    try {
        app::EndApplication();
    } catch (...) {
    }
    Current = nullptr;
    fs::current_path(Previous);
    return Status;
}

}  // namespace randomplayer
