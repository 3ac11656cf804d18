// Start-up and shutdown: the command line, the error box texts, the module
// orders, the hand-over to the patch program, and the whole process ending
// on a termination signal with its preferences written.
#include "app/Application.h"
#include "app/Control.h"
#include "app/MainFrame.h"
#include "config/Preferences.h"
#include "core/ProgramError.h"
#include "gui/DialogElements.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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

// The real program, started headless in a directory of its own.
class ProgramRun : public testing::Test {
  protected:
    void SetUp() override {
        program = testing_support::BinaryDir() / "vorna";
        ASSERT_TRUE(std::filesystem::exists(program)) << program;
    }

    pid_t Start() {
        CopyDataFiles(dir.Path());
        pid_t pid = fork();
        if (pid == 0) {
            setenv("VORNA_PLATFORM", "headless", 1);
            execl(program.c_str(), "vorna", static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid;
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
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    std::filesystem::path program;
    ScopedWorkDir dir;
};

TEST_F(ProgramRun, WithoutObjectFileShowsErrorOneAndFails) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], 2);
        setenv("VORNA_PLATFORM", "headless", 1);
        // Started where no data files are, it works in the folder named here
        // (not in the home folder of whoever runs the tests).
        setenv("VORNA_HOME", ".", 1);
        execl(program.c_str(), "vorna", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    int status = WaitFor(pid, std::chrono::milliseconds(2000));
    std::string err;
    char buffer[256];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) err.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    EXPECT_NE(status, 0);
    EXPECT_NE(status, -1);
    EXPECT_EQ(err, "Vorna - Error\nError 1: Cannot open file \"Vorna.dat\".\n\nPlease re-install the program.\n");
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
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    std::chrono::milliseconds took{};
    EXPECT_EQ(WaitFor(pid, std::chrono::milliseconds(1000), &took), 0);
    EXPECT_LT(took.count(), 1000);
    EXPECT_EQ(ReadFile(dir.Path() / "Vorna.cfg"), config);
}

TEST_F(ProgramRun, BrokenPreferencesAreReplacedByTheDefaults) {
    WriteFile(dir.Path() / "Vorna.cfg", "TestServer = yes\r\nNoSuchKey = 3\r\n");
    pid_t pid = Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, SIGINT);
    EXPECT_EQ(WaitFor(pid, std::chrono::milliseconds(1000)), 0);
    std::string written = ReadFile(dir.Path() / "Vorna.cfg");
    EXPECT_EQ(written.substr(0, HEADER.size()), HEADER);
    EXPECT_NE(written.find("TestServer = no\r\n"), std::string::npos);
    EXPECT_EQ(written.find("NoSuchKey"), std::string::npos);
    EXPECT_NE(written.find("SkillBars = {0,1,2,3,4,5,6}\r\n"), std::string::npos);
}

}  // namespace
