// Start-up and shutdown: the command line, the error box texts, the module
// orders, the hand-over to the patch program, and the whole process ending
// on a termination signal with its preferences written.
#include "app/Application.h"
#include "app/Control.h"
#include "app/MainFrame.h"
#include "config/Preferences.h"
#include "core/ProgramError.h"
#include "core/Status.h"
#include "graphics/Talk.h"
#include "gui/framework/DialogElements.h"
#include "gui/framework/GUI.h"
#include "net/Network.h"
#include "platform/Platform.h"
#include "platform/Recording.h"
#include "support/Processes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <dlfcn.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

// A name server that does not answer, while a test wants one: this test
// program's look-ups then wait until released (ten seconds at the most).
namespace {
std::atomic<bool> LookupsHang{false}, LookupWaiting{false};
std::mutex LookupMutex;
std::condition_variable LookupReleased;

void ReleaseLookups() {
    {
        std::lock_guard<std::mutex> lock(LookupMutex);
        LookupsHang = false;
    }
    LookupReleased.notify_all();
}
}  // namespace

extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result) {
    if (LookupsHang) {
        LookupWaiting = true;
        std::unique_lock<std::mutex> lock(LookupMutex);
        LookupReleased.wait_for(lock, std::chrono::seconds(10), [] { return !LookupsHang; });
        LookupWaiting = false;
    }
    using Lookup = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto real = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getaddrinfo"));
    return real(node, service, hints, result);
}

using testing_support::ReadFile;
using testing_support::ScopedWorkDir;
using testing_support::WriteFile;

namespace {

// The generated data files of this build, as a player's installation has them.
void CopyDataFiles(const std::filesystem::path& dir) {
    for (const char* name : {"Vorna.dat", "Vorna.spr", "Vorna.pic"})
        std::filesystem::copy_file(testing_support::BinaryDir() / name, dir / name,
                                   std::filesystem::copy_options::overwrite_existing);
}

TEST(CommandLine, OnlyGamemasterHasAnEffect) {
    EXPECT_EQ(app::ParseCommandLine(""), 0);
    EXPECT_EQ(app::ParseCommandLine("gamemaster"), 1);
    EXPECT_EQ(app::ParseCommandLine("x\tGaMeMaStEr\ny"), 1);
    // "host" and "port" swallow the next token, but "gamemaster" counts in any state.
    EXPECT_EQ(app::ParseCommandLine("host gamemaster"), 1);
    EXPECT_EQ(app::ParseCommandLine("port GAMEMASTER"), 1);
    EXPECT_EQ(app::ParseCommandLine("host login.example.org port 7171"), 0);
    EXPECT_EQ(app::ParseCommandLine("gamemasters"), 0);
}

TEST(CommandLine, CutAfter1023Characters) {
    std::string padding(1012, 'x');
    EXPECT_EQ(app::ParseCommandLine((padding + " gamemaster").c_str()), 1);   // ends at character 1023
    EXPECT_EQ(app::ParseCommandLine((padding + "x gamemaster").c_str()), 0);  // its last letter is cut
    char arg0[] = "vorna", arg1[] = "host", arg2[] = "example", arg3[] = "gamemaster";
    char* argv[] = {arg0, arg1, arg2, arg3};
    EXPECT_EQ(app::JoinCommandLine(4, argv), "host example gamemaster");
}

TEST(ErrorBox, TextsOfTheTable) {
    EXPECT_EQ(FormatErrorBoxText(1), "Error 1: Cannot open file \"Vorna.dat\".\n\nPlease re-install the program.");
    EXPECT_EQ(FormatErrorBoxText(4), "Error 4: Cannot open file \"Vorna.spr\".\n\nPlease re-install the program.");
    EXPECT_EQ(FormatErrorBoxText(5), "Error 5: Cannot open file \"Vorna.pic\".\n\nPlease re-install the program.");
    EXPECT_EQ(FormatErrorBoxText(6),
              "Error 6: Cannot initialize Windows Sockets.\n\nPlease check the network settings of your system.");
    EXPECT_EQ(FormatErrorBoxText(8), "Error 8: Too low color depth detected.\n\nPlease switch to a graphics mode "
                                     "with a color depth of at least 16 bit.");
    EXPECT_EQ(FormatErrorBoxText(11),
              "Error 11: Cannot initialize video graphics mode.\n\nPlease choose another video graphics mode.");
    EXPECT_EQ(FormatErrorBoxText(12),
              "Error 12: Video surface allocation failed.\n\nPlease choose another video graphics mode.");
    EXPECT_EQ(std::string(GetErrorMessage(18)), "Video surface allocation failed.");
    EXPECT_ASSERTION(GetErrorMessage(19), "false");
    EXPECT_ASSERTION(GetErrorAdvice(0), "false");
}

TEST(ErrorBox, ShownWithCaptionAndWarningIcon) {
    platform::headless::Reset();
    testing::internal::CaptureStderr();
    app::ShowErrorBox(1);
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
    const auto& box = platform::headless::MessageBoxes()[0];
    EXPECT_EQ(box.Caption, "Vorna - Error");
    EXPECT_EQ(box.Text, FormatErrorBoxText(1));
    EXPECT_EQ(box.Icon, platform::BoxIcon::Warning);
    EXPECT_NE(err.find("Error 1: Cannot open file"), std::string::npos);  // no display: never silent
}

TEST(Modules, ReleaseWritesThePreferencesThatWereRead) {
    ScopedWorkDir dir;
    CopyDataFiles(dir.Path());
    app::InitModules(0);
    EXPECT_TRUE(app::ModulesInitialized());
    EXPECT_ASSERTION(app::InitModules(0), "!Initialized");
    SetConsoleHeight(123);
    app::ExitModules();
    EXPECT_FALSE(app::ModulesInitialized());
    EXPECT_NE(ReadFile(dir.Path() / "Vorna.cfg").find("ConsoleHeight = 123\r\n"), std::string::npos);
}

TEST(Modules, MissingOrShortObjectFileIsErrorOneAndReleasesWhatWasUp) {
    ScopedWorkDir dir;
    for (const char* content : {"", "\x01\x02\x03\x04\x64\x00"}) {
        if (*content) WriteFile(dir.Path() / "Vorna.dat", std::string(content, 6));
        bool thrown = false;
        try {
            app::InitModules(0);
        } catch (PROGRAM_ERROR code) {
            thrown = true;
            EXPECT_EQ(code, 1);
        }
        EXPECT_TRUE(thrown);
        EXPECT_FALSE(app::ModulesInitialized());
        EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Vorna.cfg"));  // preferences were never read
    }
}

TEST(PatcherDeathTest, ReplacesTheProcessAfterWritingThePreferences) {
    GTEST_FLAG_SET(death_test_style, "fast");
    ScopedWorkDir dir;
    CopyDataFiles(dir.Path());
    WriteFile(dir.Path() / "patch.exe", "#!/bin/sh\necho \"$# arguments\" > patched.txt\nexit 0\n");
    std::filesystem::permissions(dir.Path() / "patch.exe", std::filesystem::perms::owner_all);
    EXPECT_EXIT(
        {
            app::InitModules(0);
            app::StartPatcher();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile(dir.Path() / "patched.txt"), "0 arguments\n");
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "Vorna.cfg"));
}

TEST(PatcherDeathTest, MissingPatchProgramEndsWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "fast");
    ScopedWorkDir dir;
    CopyDataFiles(dir.Path());
    EXPECT_EXIT(
        {
            app::InitModules(0);
            app::StartPatcher();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "Vorna.cfg"));
}

// The start-up of the program in this process, on the headless platform.
class StartUp : public testing::Test {
  protected:
    void SetUp() override {
        setenv("VORNA_PLATFORM", "headless", 1);
        platform::headless::Reset();
        CopyDataFiles(dir.Path());
    }
    void TearDown() override {
        unsetenv("VORNA_PLATFORM");
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        platform::headless::Reset();
    }
    static bool Start() {
        static char name[] = "vorna";
        static char* argv[] = {name};
        return app::StartApplication(1, argv);
    }
    ScopedWorkDir dir;
};

// With no stored geometry on a 1920 x 1080 screen whose bottom 40 rows are a
// panel, the first window is the default client area at the largest scale
// that fits (2), centred in the usable area and stored; it carries the
// emblem; the interface learns where the pointer rests before it moves; and an
// address opened from a dialog in full screen leaves full screen first.
TEST_F(StartUp, FirstWindowSuitsTheScreenAndTheInterfaceKnowsThePointer) {
    platform::headless::SetScreenSize(1920, 1080);
    platform::headless::SetUsableArea(0, 0, 1920, 1040);
    platform::headless::SetPointerPosition(701, 501);
    ASSERT_TRUE(Start());

    platform::WindowGeometry g = platform::GetWindowGeometry();
    EXPECT_EQ(g.Width, 1200);
    EXPECT_EQ(g.Height, 900);
    EXPECT_EQ(g.X, (1920 - frame::FRAME_ALLOWANCE_WIDTH - 1200) / 2);
    EXPECT_EQ(g.Y, (1040 - frame::FRAME_ALLOWANCE_HEIGHT - 900) / 2);
    int x = 0, y = 0, w = 0, h = 0;
    bool maximized = true;
    GetWindowedMode(&x, &y, &w, &h, &maximized);
    EXPECT_EQ(x, g.X);
    EXPECT_EQ(w, 1200);
    EXPECT_FALSE(maximized);
    EXPECT_EQ(frame::GetScale(), 2);
    platform::headless::LastFrame(w, h);
    EXPECT_EQ(w, 600);
    EXPECT_EQ(h, 450);
    platform::headless::GetWindowIcon(w, h);
    EXPECT_EQ(w, 32);
    EXPECT_EQ(h, 32);
    GetLastPointerPosition(x, y);
    EXPECT_EQ(x, 350);
    EXPECT_EQ(y, 250);

    SetFullscreenMode(1024, 768, 32);
    app::SetDisplayMode(2);
    ASSERT_EQ(app::GetDisplayMode(), 2);
    LinkRow row("If you don't have\nan account yet:", "Create Account", "http://127.0.0.1/account");
    row.command(1);
    EXPECT_EQ(app::GetDisplayMode(), 1);
    EXPECT_EQ(platform::headless::OpenedDocuments(), std::vector<std::string>{"http://127.0.0.1/account"});

    app::EndApplication();
    EXPECT_FALSE(frame::Exists());
    EXPECT_FALSE(app::ModulesInitialized());
}

// A screen too small for 2 gives 1; a window that cannot be made ends the
// start-up with its reason on standard error, and everything released.
TEST_F(StartUp, SmallScreenGivesScaleOneAndAMissingWindowIsReported) {
    platform::headless::SetScreenSize(1366, 768);
    ASSERT_TRUE(Start());
    EXPECT_EQ(platform::GetWindowGeometry().Width, 600);
    EXPECT_EQ(frame::GetScale(), 1);
    app::EndApplication();

    std::filesystem::remove(dir.Path() / "Vorna.cfg");
    platform::headless::SetWindowFails(true);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Start());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vorna: cannot create the window: the display refused the window\n");
    EXPECT_FALSE(app::ModulesInitialized());
}

// SIGINT and SIGTERM end the program without asking in every state: at the
// start view, with a dialog open, while the login server's name is looked up
// and no name server answers, and while the login server (one that takes the
// connection and never answers) is awaited. Each time the window is gone
// after one pass, the end takes well under three seconds, the preferences
// are written on the way out, no box asked anything, and the login server
// sees the connection closed.
TEST_F(StartUp, TerminationSignalEndsEveryStateWithoutAsking) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);

    enum class State { StartView, Dialog, LookupUnanswered, LoginUnanswered };
    for (State state : {State::StartView, State::Dialog, State::LookupUnanswered, State::LoginUnanswered}) {
        SCOPED_TRACE(int(state));
        std::filesystem::remove(dir.Path() / "Vorna.cfg");
        ASSERT_TRUE(Start());
        if (state == State::Dialog) {
            PostEvent(30, 0, 0);  // the options
            frame::Pump();
            ASSERT_NE(GetModalWindow(), nullptr);
        }
        if (state == State::LookupUnanswered || state == State::LoginUnanswered) {
            LookupsHang = state == State::LookupUnanswered;
            for (int i = 0; i < NUMBEROFSERVER; ++i) SetLoginServer(i, "127.0.0.1", ntohs(address.sin_port));
            SetTestServer(false);
            SetAccountNumber(100001);
            SetPassword("demo");
            ConnectLoginServer();
            const int awaited = LookupsHang ? STATE_RESOLVING : STATE_LOGIN_SENT;
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while ((GetConnectionState() != awaited || (LookupsHang && !LookupWaiting)) &&
                   std::chrono::steady_clock::now() < deadline)
                frame::Pump();
            ASSERT_EQ(GetConnectionState(), awaited);
        }
        std::raise(state == State::Dialog ? SIGTERM : SIGINT);
        const auto signalled = std::chrono::steady_clock::now();
        EXPECT_FALSE(frame::Pump());
        EXPECT_FALSE(frame::Exists());
        app::EndApplication();
        EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(3));
        ReleaseLookups();
        EXPECT_TRUE(platform::headless::MessageBoxes().empty());
        EXPECT_NE(ReadFile(dir.Path() / "Vorna.cfg").find("WindowedMode = ("), std::string::npos);
    }

    // The login request came, then the end of the connection, unanswered.
    const int connection = accept(listener, nullptr, nullptr);
    ASSERT_GE(connection, 0);
    pollfd ready{connection, POLLIN, 0};
    std::string received;
    char buffer[256];
    ssize_t n = 1;
    while (n > 0 && poll(&ready, 1, 30000) == 1 && (n = read(connection, buffer, sizeof buffer)) > 0)
        received.append(buffer, size_t(n));
    EXPECT_EQ(n, 0) << "the connection stayed open";
    EXPECT_GT(received.size(), 2u);
    close(connection);
    close(listener);
}

// A full-screen switch that checks itself, from Alt+Enter as a player gives
// it: an edited mode out of range is no mode, a mode the display does not
// offer changes nothing and says so, the switch's own focus changes do not
// send the player back to a window, a maximised window is maximised again
// afterwards, and a mode the platform refuses ends the program with the
// error box instead of going on in a window with the mode's surfaces.
TEST_F(StartUp, FullScreenChecksItself) {
    WriteFile(dir.Path() / "Vorna.cfg", "FullscreenMode = (1024,70000,32)\r\nWindowedMode = (10,20,1100,850,yes)\r\n");
    platform::headless::SetScreenSize(1920, 1080);
    ASSERT_TRUE(Start());
    int width = -1, height = -1, depth = -1;
    GetFullscreenMode(&width, &height, &depth);
    EXPECT_EQ(width, 0);
    auto altEnter = [] {
        for (auto [kind, key] : {std::pair{platform::EventKind::KeyDown, platform::Key::Alt},
                                 {platform::EventKind::KeyDown, platform::Key::Return},
                                 {platform::EventKind::KeyUp, platform::Key::Return},
                                 {platform::EventKind::KeyUp, platform::Key::Alt}}) {
            platform::Event e;
            e.Kind = kind;
            e.KeyCode = key;
            platform::headless::InjectEvent(e);
        }
        frame::Pump();
    };

    SetFullscreenMode(1024, 768, 24);  // the display has it with 32 bits only
    altEnter();
    EXPECT_EQ(app::GetDisplayMode(), 1);
    ASSERT_NE(GetStatusLine(), nullptr);
    EXPECT_STREQ(GetStatusLine(), "This display does not offer the full-screen mode 1024*768, 24 Bits. Choose "
                                  "another in the graphics options.");

    SetFullscreenMode(1024, 768, 32);
    platform::headless::SetSwitchMovesFocus(true);
    altEnter();
    frame::Pump();
    EXPECT_EQ(app::GetDisplayMode(), 2);
    EXPECT_TRUE(platform::IsFullscreen());
    platform::headless::LastFrame(width, height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);

    platform::Event focus;
    focus.Kind = platform::EventKind::Activate;
    focus.Active = false;  // the player turns to another program
    platform::headless::InjectEvent(focus);
    frame::Pump();
    EXPECT_EQ(app::GetDisplayMode(), 1);
    platform::WindowGeometry g = platform::GetWindowGeometry();
    EXPECT_EQ(g.Width, 1100);
    EXPECT_EQ(g.Height, 850);
    EXPECT_TRUE(g.Maximized);
    int x = 0, y = 0;
    bool maximized = false;
    GetWindowedMode(&x, &y, &width, &height, &maximized);
    EXPECT_EQ(x * 10000 + y, 10 * 10000 + 20);
    EXPECT_TRUE(maximized);

    platform::headless::SetRefusedMode(1024, 768);
    altEnter();
    ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(platform::headless::MessageBoxes()[0].Text, FormatErrorBoxText(ERROR_VIDEO_MODE_FIRST));
    EXPECT_NE(FormatErrorBoxText(ERROR_VIDEO_MODE_FIRST).find("Cannot initialize video graphics mode."),
              std::string::npos);
    EXPECT_FALSE(frame::Exists());
    EXPECT_FALSE(platform::IsFullscreen());
    EXPECT_EQ(app::GetDisplayMode(), 1);
    app::EndApplication();
}

// The real program, started in a directory of its own (headless unless a
// test says otherwise).
class ProgramRun : public testing::Test {
  protected:
    void SetUp() override {
        program = testing_support::BinaryDir() / "vorna";
        ASSERT_TRUE(std::filesystem::exists(program)) << program;
    }
    void TearDown() override {
        if (errors >= 0) close(errors);
    }

    // Starts the program with the arguments after its name; Prepare runs in
    // the child before the program replaces it (to change the environment).
    // Standard error is kept for Errors().
    pid_t Spawn(std::vector<std::string> arguments = {}, const std::function<void()>& Prepare = {}) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return -1;
        std::fflush(nullptr);
        pid_t pid = fork();
        if (pid == 0) {
            dup2(pipeFds[1], 2);
            close(pipeFds[0]);
            setenv("VORNA_PLATFORM", "headless", 1);
            if (Prepare) Prepare();
            std::vector<char*> argv{const_cast<char*>("vorna")};
            for (auto& a : arguments) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(pipeFds[1]);
        if (errors >= 0) close(errors);
        errors = pipeFds[0];
        return pid;
    }
    pid_t Start() {
        CopyDataFiles(dir.Path());
        return Spawn();
    }
    // What the program wrote to standard error (once it has ended).
    std::string Errors() {
        std::string text;
        char buffer[256];
        for (ssize_t n; errors >= 0 && (n = read(errors, buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<size_t>(n));
        return text;
    }

    // Waits for the process to end; returns its exit status, or -1 if it
    // did not end within the time.
    static int WaitFor(pid_t pid, std::chrono::milliseconds limit, std::chrono::milliseconds* took = nullptr) {
        auto start = std::chrono::steady_clock::now();
        for (;;) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                if (took)
                    *took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                                  start);
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (std::chrono::steady_clock::now() - start > limit) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    // Sends the signal once the program has taken it over (before that it
    // would simply die of it) and returns the exit status, or -1 when the
    // program did not end within the three seconds allowed.
    static int EndBySignal(pid_t pid, int signal, std::chrono::milliseconds* took = nullptr) {
        if (!testing_support::AwaitSignalHandler(pid, signal)) return -2;
        kill(pid, signal);
        return WaitFor(pid, std::chrono::milliseconds(3000), took);
    }

    std::filesystem::path program;
    ScopedWorkDir dir;
    int errors = -1;
};

TEST_F(ProgramRun, WithoutObjectFileShowsErrorOneAndFails) {
    // Started where no data files are, it works in the folder named here
    // (not in the home folder of whoever runs the tests).
    pid_t pid = Spawn({}, [] { setenv("VORNA_HOME", ".", 1); });
    int status = WaitFor(pid, std::chrono::milliseconds(2000));
    EXPECT_NE(status, 0);
    EXPECT_NE(status, -1);
    EXPECT_EQ(Errors(), "Vorna - Error\nError 1: Cannot open file \"Vorna.dat\".\n\nPlease re-install the program.\n");
}

// Where DISPLAY names no display server (a terminal over ssh without
// forwarding) the program says so and what to do, and ends with status 1
// at once instead of running on unseen.
TEST_F(ProgramRun, WithoutADisplayItSaysWhatToDoAndFails) {
    if (std::filesystem::exists("/tmp/.X11-unix/X97")) GTEST_SKIP() << "a display :97 exists on this machine";
    pid_t pid = Spawn({}, [] {
        unsetenv("VORNA_PLATFORM");
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("WAYLAND_DISPLAY");
        setenv("DISPLAY", ":97", 1);
    });
    std::chrono::milliseconds took{};
    EXPECT_EQ(WaitFor(pid, std::chrono::milliseconds(30000), &took), 1);
    EXPECT_LT(took.count(), 3000);
    const std::string err = Errors();
    EXPECT_NE(err.find("vorna: cannot open a display (DISPLAY=:97): "), std::string::npos) << err;
    for (const char* advice : {"desktop session", "ssh -X", "xvfb-run", "VORNA_PLATFORM=headless"})
        EXPECT_NE(err.find(advice), std::string::npos) << advice << " missing in: " << err;
}

const std::string HEADER = "# Vorna - graphical Multi-User-Dungeon\r\n# DO NOT EDIT THIS FILE\r\n\r\n";

TEST_F(ProgramRun, TerminationSignalEndsQuicklyAndRewritesEveryValue) {
    // Every key in writing order, none at its default, so a value lost on the
    // way shows as a difference.
    const std::string config = HEADER +
                               "TestServer = yes\r\n"
                               "FullscreenMode = (1024,768,32)\r\n"
                               "WindowsMousepointer = no\r\n"
                               "LightEffects = no\r\n"
                               "TextualEffects = no\r\n"
                               "CreatureInfo = 1\r\n"
                               "NoStretching = yes\r\n"
                               "ConfineFramerate = 50\r\n"
                               "Hotkey = (0,\"Hello \\\"there\\\"\\n\")\r\n"
                               "Hotkey = (35,\"exura\")\r\n"
                               "WindowedMode = (100,80,616,488,no)\r\n"
                               "ConsoleHeight = 140\r\n"
                               "AutomapZoom = 3\r\n"
                               "ContentWindow = (4,190)\r\n"
                               "BuddySortmethods = (0,1,2)\r\n"
                               "BuddyHideOffline = yes\r\n"
                               "OpenDialogs = 3\r\n"
                               "OpenDialogs = 1\r\n"
                               "LastMotD = 77\r\n"
                               "InfoMessages = yes\r\n"
                               "EventMessages = no\r\n"
                               "LoginMessages = no\r\n"
                               "StatusMessages = yes\r\n"
                               "TimeStamps = yes\r\n"
                               "OpenChannel = 5\r\n"
                               "ClassicControl = yes\r\n"
                               "AutoChaseOff = no\r\n"
                               "AttackMode = 1\r\n"
                               "ChaseMode = 1\r\n"
                               "SecureMode = 0\r\n"
                               "Buddy = (12345,2,\"my friend\",yes)\r\n"
                               "Ignore = {\"Spammer\",\"Another One\"}\r\n"
                               "KnownHints = {1,5}\r\n"
                               "ShowNewHints = no\r\n"
                               "LevelBar = no\r\n"
                               "MagLevelBar = no\r\n"
                               "SkillBars = {0,2,6}\r\n";
    WriteFile(dir.Path() / "Vorna.cfg", config);
    pid_t pid = Start();
    ASSERT_GT(pid, 0);
    std::chrono::milliseconds took{};
    EXPECT_EQ(EndBySignal(pid, SIGTERM, &took), 0);
    EXPECT_LT(took.count(), 3000);  // the signal may come while the program still starts
    EXPECT_EQ(ReadFile(dir.Path() / "Vorna.cfg"), config);
}

TEST_F(ProgramRun, BrokenPreferencesAreReplacedByTheDefaults) {
    WriteFile(dir.Path() / "Vorna.cfg", "TestServer = yes\r\nNoSuchKey = 3\r\n");
    pid_t pid = Start();
    EXPECT_EQ(EndBySignal(pid, SIGINT), 0);
    std::string written = ReadFile(dir.Path() / "Vorna.cfg");
    EXPECT_EQ(written.substr(0, HEADER.size()), HEADER);
    EXPECT_NE(written.find("TestServer = no\r\n"), std::string::npos);
    EXPECT_EQ(written.find("NoSuchKey"), std::string::npos);
    EXPECT_NE(written.find("SkillBars = {0,1,2,3,4,5,6}\r\n"), std::string::npos);
}

// A termination signal while recording ends the recording in order, with
// the signal in it, so that its replay ends the same way and plays as
// recorded; a signal during a replay ends the replay.
TEST_F(ProgramRun, TerminationSignalClosesARecordingAndEndsAReplay) {
    CopyDataFiles(dir.Path());
    EXPECT_EQ(EndBySignal(Spawn({"--record", "game.vrec"}), SIGTERM), 0);
    const platform::recording::Recording recorded = platform::recording::LoadRecording("game.vrec");
    EXPECT_TRUE(recorded.Error.empty()) << recorded.Error;
    EXPECT_TRUE(recorded.EndedInOrder);
    platform::Event last;
    for (const auto& record : recorded.Records) {
        if (record.RecordKind == platform::recording::Kind::Event) {
            ASSERT_TRUE(platform::recording::DecodeEvent(recorded.DataOf(record), record.Length, last));
        }
    }
    EXPECT_EQ(last.Kind, platform::EventKind::Quit);

    pid_t pid = Spawn({"--replay", "game.vrec", "--headless", "--speed", "max"});
    EXPECT_EQ(WaitFor(pid, std::chrono::milliseconds(30000)), 0) << Errors();

    // A long game, replayed at its own pace: the signal comes long before its end.
    const auto talk = testing_support::SourceDir() / "tests" / "recordings" / "talk.vrec";
    std::chrono::milliseconds took{};
    EXPECT_EQ(EndBySignal(Spawn({"--replay", talk.string(), "--headless"}), SIGINT, &took), 0);
    EXPECT_LT(took.count(), 3000);
}

}  // namespace
