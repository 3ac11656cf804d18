#include "app/Application.h"

#include "app/Control.h"
#include "app/GameRecording.h"
#include "app/Interface.h"
#include "app/GameProtocol.h"
#include "app/MainFrame.h"
#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/ProgramError.h"
#include "core/Status.h"
#include "core/Utils.h"
#include "core/sysinc.h"
#include "net/Communication.h"
#include "net/Network.h"
#include "graphics/Surface.h"
#include "graphics/Talk.h"
#include "graphics/graphics.h"
#include "gui/framework/DialogElements.h"
#include "gui/framework/GUI.h"
#include "gui/framework/Skins.h"
#include "platform/Platform.h"
#include "world/Creatures.h"
#include "world/Inventory.h"
#include "world/Map.h"
#include "world/Objects.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace app {

namespace {
bool Initialized = false;
int DisplayMode = 1;
bool EndedByError = false;  // the program ends after an error box

// Each module that has been set up, so a failure part-way releases only those.
struct ModuleState {
    bool Sysinc = false, Objects = false, Map = false, Inventory = false, Creatures = false, Status = false,
         Preferences = false, Talk = false, Surface = false, Graphics = false, Skins = false, GUI = false,
         Network = false, Communication = false;
} Up;
}  // namespace

std::string JoinCommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

uint8_t ParseCommandLine(const char* CommandLine) {
    char buffer[COMMANDLINE_BUFFER];
    CopyText(buffer, CommandLine ? CommandLine : "", COMMANDLINE_BUFFER);

    // "host" and "port" each swallow the next token without effect: the
    // server address is fixed, only "gamemaster" changes anything.
    uint8_t gamemaster = 0;
    int state = 0;
    for (char* token = std::strtok(buffer, " \t\n"); token; token = std::strtok(nullptr, " \t\n")) {
        if (CompareNoCase(token, "gamemaster", -1) == 0)
            gamemaster = 1;
        else if (CompareNoCase(token, "host", -1) == 0)
            state = 1;
        else if (CompareNoCase(token, "port", -1) == 0)
            state = 2;
        else
            state = 0;
    }
    (void)state;
    return gamemaster;
}

void InitModules(uint8_t Gamemaster) {
    ASSERT(!Initialized);
    try {
        InitSysinc();
        Up.Sysinc = true;
        try {
            InitObjects();
        } catch (const ObjectFileError&) {
            throw PROGRAM_ERROR(ERROR_OBJECTS_FILE);
        }
        Up.Objects = true;
        InitMap(CreatureOffMap);
        Up.Map = true;
        InitInventory();
        Up.Inventory = true;
        InitCreatures();
        Up.Creatures = true;
        InitStatus(Gamemaster, ControlLinkWarning);
        Up.Status = true;
        LoadPreferences();
        Up.Preferences = true;
        InitTalk();
        Up.Talk = true;
        InitSurface();
        Up.Surface = true;
        InitGraphics(MEMORY_CACHE_BYTES);
        Up.Graphics = true;
        InitSkins();
        Up.Skins = true;
        InitGUI();
        Up.GUI = true;
        InitNetwork(ControlConnectHandler, ControlReceiveHandler, ControlCloseHandler);
        Up.Network = true;
        InitCommunication();
        Up.Communication = true;
        // A last reset of the interface state: whatever the modules above
        // registered while they started (timers, hotkeys, a modal window)
        // does not outlive the start-up.
        InitGUI();
    } catch (PROGRAM_ERROR) {
        Initialized = true;
        ExitModules();
        throw;
    }
    Initialized = true;
}

void ExitModules() {
    if (!Initialized) return;
    // The main game window first: its components still use the skins.
    RemoveInterface();
    if (Up.Communication) ExitCommunication();
    if (Up.Network) ExitNetwork();
    if (Up.GUI) ExitGUI();
    if (Up.Skins) ExitSkins();
    if (Up.Graphics) ExitGraphics();
    if (Up.Surface) ExitSurface();
    if (Up.Preferences) ExitPreferences();
    if (Up.Talk) ExitTalk();
    if (Up.Status) ExitStatus();
    if (Up.Creatures) ExitCreatures();
    if (Up.Inventory) ExitInventory();
    if (Up.Map) ExitMap();
    if (Up.Objects) ExitObjects();
    if (Up.Sysinc) ExitSysinc();
    Up = ModuleState{};
    Initialized = false;
}

bool ModulesInitialized() { return Initialized; }

void ShowErrorBox(int Code) {
    SetDisplayMode(1);
    platform::ShowMessageBox(ERROR_BOX_CAPTION, FormatErrorBoxText(Code), platform::BoxIcon::Warning);
}

void ExitProgram() {
    if (frame::Exists()) frame::Destroy();
}

void ShowProgramError(int Code) {
    ShowErrorBox(Code);
    EndedByError = true;
    ExitProgram();
}

void StartPatcher() {
    // The window goes first so that the modules are released and the
    // preferences written before the process is replaced.
    ExitProgram();
    ExitModules();
    platform::Shutdown();
    platform::Exec(std::string("./") + PATCH_PROGRAM, {PATCH_PROGRAM});
    std::exit(0);
}

namespace {
// A full-screen mode counts only when the display under the window offers
// it: the file may name one of another display, or an edited one. The
// status line says why nothing happens.
bool FullscreenModeUsable(const GraphicsMode& Mode) {
    if (Mode.Width == 0) {
        SetStatusLine("Choose a full-screen resolution in the graphics options first.", false);
        return false;
    }
    for (const GraphicsMode& Offered : GetDisplayModes())
        if (Offered == Mode) return true;
    char Text[160];
    std::snprintf(Text, sizeof Text,
                  "This display does not offer the full-screen mode %d*%d, %d Bits. Choose another in the "
                  "graphics options.",
                  Mode.Width, Mode.Height, Mode.Depth);
    SetStatusLine(Text, false);
    return false;
}
}  // namespace

void SetDisplayMode(int Mode) {
    ASSERT(In(Mode, 1, 2));
    if (Mode == DisplayMode) return;
    GraphicsMode mode;
    GetFullscreenMode(&mode.Width, &mode.Height, &mode.Depth);
    if (Mode == 2 && !FullscreenModeUsable(mode)) return;
    // The window's place and size are kept, to come back to them.
    if (DisplayMode == 1 && frame::Exists()) frame::StorePlacement();
    DisplayMode = Mode;
    if (!frame::Exists() || GetViewMode() == 0) return;
    try {
        ChangeSurfaceMode(Mode == 2 ? FULLSCREEN_MODE : WINDOWED_MODE, Mode == 2 ? &mode : NULL, false);
        // A mode the platform refused leaves no window that goes on with
        // surfaces of the mode's size: it is the mode's failure.
        if (Mode == 2 && !platform::IsFullscreen()) throw PROGRAM_ERROR(ERROR_VIDEO_MODE_FIRST);
        if (Mode == 1) frame::RestorePlacement();
        frame::UpdateScale();
    } catch (PROGRAM_ERROR code) {
        DisplayMode = 1;
        ShowProgramError(code);
    }
}

int GetDisplayMode() { return DisplayMode; }

bool OpenDocument(const char* Path) {
    ASSERT(Path != NULL);
    if (DisplayMode != 1) SetDisplayMode(1);
    return platform::OpenDocument(Path);
}

}  // namespace app

namespace app {

namespace {
SessionOptions Session;  // recording or replaying, from the command line
}

bool StartApplication(int argc, char** argv) {
    std::string commandLine = JoinCommandLine(argc, argv);

    std::string reason;
    if (!platform::Init(Session.Headless ? platform::Backend::Headless : platform::DefaultBackend(), &reason)) {
        std::fprintf(stderr, "vorna: %s\n", reason.c_str());
        return false;
    }
    platform::InstallQuitSignals();
    // Everything the modules read from here on is recorded, or replayed.
    if (!StartGameSession(Session, commandLine)) {
        platform::Shutdown();
        return false;
    }
    uint8_t gamemaster = ParseCommandLine(commandLine.c_str());
    assertion::SetWindowedHook([] { SetDisplayMode(1); });

    try {
        InitModules(gamemaster);
    } catch (PROGRAM_ERROR code) {
        ShowErrorBox(code);
        platform::Shutdown();
        return false;
    }
    DisplayMode = 1;
    InitControl();
    InstallGameProtocol();
    // Addresses opened from dialogs leave full screen first, like every other.
    LinkRow::setOpener(OpenDocument);

    if (!frame::Create(&reason)) {
        // No window to show a box in: the reason goes where it can be read.
        std::fprintf(stderr, "vorna: cannot create the window: %s\n", reason.c_str());
        EndApplication();
        return false;
    }
    {
        int width = 0, height = 0;
        platform::GetClientSize(width, height);
        InstallInterfaceHooks(width, height);
    }
    try {
        frame::FirstFrame();
    } catch (PROGRAM_ERROR code) {
        ShowErrorBox(code);
        EndApplication();
        return false;
    }
    platform::SetWindowIcon();
    frame::DeliverPointerPosition();
    return true;
}

void EndApplication() {
    if (frame::Exists()) frame::Destroy();
    LinkRow::setOpener(nullptr);
    RemoveGameProtocol();
    ExitControl();
    ExitModules();
    platform::Shutdown();
}

}  // namespace app

namespace app {
int RunWithSession(int argc, char** argv) {
    Session = TakeSessionOptions(argc, argv);
    if (!Session.Error.empty()) {
        std::fprintf(stderr, "vorna: %s\n", Session.Error.c_str());
        return 2;
    }
    if (!StartApplication(argc, argv)) {
        EndGameSession(Session);
        return 1;
    }
    return RunStartedApplication();
}

int RunStartedApplication() {
    EndedByError = false;
    InstallReplayEnd();
    try {
        frame::RunMessageLoop();
    } catch (PROGRAM_ERROR code) {
        ShowProgramError(code);
    }
    EndApplication();
    int status = EndGameSession(Session);
    Session = SessionOptions();
    if (EndedByError && status == 0) status = 1;
    return status;
}
}  // namespace app

int RunApplication(int argc, char** argv) { return app::RunWithSession(argc, argv); }
