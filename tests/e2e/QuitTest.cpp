// Ending the client by a termination signal as the real program does it: in
// the game on the reference server, where the character must leave as on a
// lost connection and everything the client keeps must be written; and in a
// real window under Xvfb, also while an error box waits in a process of its
// own. Whatever happens, the client leaves no process behind: the test
// process adopts every orphan of its children, so one left would show here.
#include "../dialogs/ServerClientTest.h"

#include "core/Assert.h"
#include "net/Network.h"
#include "support/Processes.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

long MillisecondsSince(Clock::time_point start) {
    return long(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// Waits at most the limit for the child to end: its exit status, 128 + the
// signal that ended it, or -1 (the child is then killed).
int WaitForEnd(pid_t pid, int limitMs, long* took = nullptr) {
    const auto start = Clock::now();
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            if (took) *took = MillisecondsSince(start);
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (MillisecondsSince(start) > limitMs) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        usleep(1000);
    }
}

// Reads one line from the descriptor; empty on time-out or end.
std::string ReadLine(int fd, int timeoutMs) {
    std::string line;
    const auto start = Clock::now();
    char c = 0;
    while (MillisecondsSince(start) < timeoutMs) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0) continue;
        if (read(fd, &c, 1) != 1) return "";
        if (c == '\n') return line;
        line += c;
    }
    return "";
}

std::vector<pid_t> ChildrenOfThisTest() { return testing_support::ChildrenOf(getpid()); }

void CopyDataFiles(const std::filesystem::path& dir) {
    for (const char* name : {"Vorna.dat", "Vorna.spr", "Vorna.pic"})
        std::filesystem::copy_file(testing_support::BinaryDir() / name, dir / name,
                                   std::filesystem::copy_options::overwrite_existing);
}

class QuitInTheGame : public ServerClientTest {
  protected:
    // The client runs in a child process that starts as the program starts;
    // the fixture's client in this process is not wanted.
    void SetUp() override {
        prctl(PR_SET_CHILD_SUBREAPER, 1);
        CopyDataFiles(Dir.Path());
    }
    void TearDown() override { Server.reset(); }

    // The child: the program's start on a 1920 x 1080 screen (the first
    // window 1200 x 900 at scale 2), into the game by injected input as a
    // player gives it, then the program's own loop and end. Reports the
    // character's name once in the game.
    [[noreturn]] static void RunClient(int LoginPort, int Ready) {
        assertion::SetThrowOnFailure(false);
        // What tests before this one in the process set up is not the program's.
        assertion::SetErrorLogPath("error.txt");
        SetPreferencesPath("Vorna.cfg");
        setenv("VORNA_PLATFORM", "headless", 1);
        platform::headless::Reset();
        platform::headless::SetScreenSize(1920, 1080);
        platform::headless::SetUsableArea(0, 0, 1920, 1080);
        char name[] = "vorna";
        char* argv[] = {name, nullptr};
        if (!app::StartApplication(1, argv)) _exit(90);
        SetTestServer(false);
        for (int i = 0; i < NUMBEROFSERVER; ++i) SetLoginServer(i, "127.0.0.1", LoginPort);
        if (frame::GetScale() != 2 || !EnterTheGame()) _exit(91);
        const std::string line = std::string("in game as ") + GetAccountCharacter(GetActiveCharacter()).Name + "\n";
        if (write(Ready, line.data(), line.size()) != ssize_t(line.size())) _exit(92);
        close(Ready);
        std::exit(app::RunStartedApplication());
    }

    static bool EnterTheGame() {
        // Positions are the interface's, the window's are twice as large.
        const Component* enter = GetMainWindow()->getStartView()->getButton(0);
        int x = 0, y = 0;
        enter->getAbsolutePosition(x, y);
        Click((x + enter->getWidth() / 2) * 2, (y + enter->getHeight() / 2) * 2);
        Type("100001");
        Press(platform::Key::Tab);
        Type("demo");
        Press(platform::Key::Return);
        if (!PumpUntil([] { return ModalCaption() == "Message of the Day" || ModalCaption() == "Select Character"; }))
            return false;
        if (ModalCaption() == "Message of the Day") Press(platform::Key::Return);
        if (!PumpUntil([] { return ModalCaption() == "Select Character"; })) return false;
        Press(platform::Key::Return);  // the character the list offers first
        return PumpUntil([] { return GetConnectionState() == STATE_GAME && GetMainWindow()->inGameView(); });
    }
};

// SIGTERM in the game (logged in with 100001 / demo): the client ends within
// three seconds with status 0, without asking and without waiting for the
// server; the server sees the character leave as on a lost connection; the
// preferences (with this window's size) and the automap are written, no
// error was logged, and no process is left.
TEST_F(QuitInTheGame, TerminationSignalLeavesAsALostConnectionAndEndsInOrder) {
    ASSERT_TRUE(StartServer()) << (Server ? Server->Log : std::string());
    const int LoginPort = GetServerEntry(0).Port;
    testing_support::WriteFile(Dir.Path() / "Vorna.cfg", "ShowNewHints = no\r\n");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    std::fflush(nullptr);
    const pid_t client = fork();
    if (client == 0) {
        close(ready[0]);
        RunClient(LoginPort, ready[1]);
    }
    close(ready[1]);
    const std::string line = ReadLine(ready[0], 60000);
    close(ready[0]);
    ASSERT_EQ(line.rfind("in game as ", 0), 0u) << "the client did not reach the game: "
                                                 << WaitForEnd(client, 1000) << "\n" << Server->Log;
    const std::string name = line.substr(11);

    long took = 0;
    ASSERT_EQ(kill(client, SIGTERM), 0);
    ASSERT_EQ(WaitForEnd(client, 3000, &took), 0);
    EXPECT_LT(took, 3000);
    std::printf("the client ended %ld ms after SIGTERM\n", took);

    EXPECT_NE(Server->WaitForLine(name + " left the game").find("(connection closed)"), std::string::npos)
        << Server->Log;
    const std::string config = testing_support::ReadFile(Dir.Path() / "Vorna.cfg");
    EXPECT_NE(config.find("# Vorna - graphical Multi-User-Dungeon"), std::string::npos);
    EXPECT_NE(config.find(",1200,900,no)"), std::string::npos) << config;
    EXPECT_FALSE(std::filesystem::exists(Dir.Path() / "error.txt"));
    int automaps = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Dir.Path()))
        automaps += entry.path().extension() == ".map";
    EXPECT_GT(automaps, 0);
    EXPECT_EQ(ChildrenOfThisTest(), std::vector<pid_t>{Server->Pid});
}

// Xvfb on a display of its own choosing, which it names once it listens.
class Xvfb {
  public:
    Xvfb() {
        std::string path;
        for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"})
            if (access((std::string(dir) + "/Xvfb").c_str(), X_OK) == 0) path = std::string(dir) + "/Xvfb";
        if (path.empty()) return;
        int named[2];
        if (pipe(named) != 0) return;
        std::fflush(nullptr);
        Pid = fork();
        if (Pid == 0) {
            close(named[0]);
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            dup2(quiet, 2);
            const std::string fd = std::to_string(named[1]);
            execl(path.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "1920x1080x24",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(named[1]);
        const std::string number = ReadLine(named[0], 30000);
        close(named[0]);
        if (!number.empty()) Display = ":" + number;
    }
    ~Xvfb() {
        if (Pid > 0) {
            kill(Pid, SIGTERM);
            waitpid(Pid, nullptr, 0);
        }
    }
    pid_t Pid = -1;
    std::string Display;  // empty when Xvfb is missing or did not start
};

// The real program in a real window: on a termination signal it ends within
// three seconds from the start view (status 0, preferences written), and
// from the error box of a failed start (status 1), whose process goes with
// the box; killed outright, it takes the box's process with it all the same.
TEST(QuitInAWindow, TerminationSignalEndsTheWindowAndTheBoxWithItsProcess) {
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    Xvfb server;
    if (server.Display.empty()) GTEST_SKIP() << "Xvfb is needed (Debian package xvfb)";
    testing_support::ScopedWorkDir dir;
    const std::string program = (testing_support::BinaryDir() / "vorna").string();
    auto start = [&](int errors) {
        std::fflush(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(errors, 2);
            setenv("DISPLAY", server.Display.c_str(), 1);
            unsetenv("VORNA_PLATFORM");
            unsetenv("SDL_VIDEODRIVER");
            unsetenv("WAYLAND_DISPLAY");
            // No session bus to start for the display: its daemon would
            // outlive the client by design and be taken for one left behind.
            setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
            execl(program.c_str(), "vorna", static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid;
    };
    // The box comes after its text on standard error, in a child that waits
    // for the display (SDL's look for an outside dialog program before it,
    // in another child, is over in a moment).
    auto awaitBox = [&](pid_t client) {
        const auto begin = Clock::now();
        while (MillisecondsSince(begin) < 30000) {
            if (testing_support::ReadFile(dir.Path() / "errors.txt").find("Error 1: Cannot open file") !=
                std::string::npos)
                for (pid_t child : testing_support::ChildrenOf(client))
                    if (testing_support::ProcessState(child) == 'S') return true;
            usleep(2000);
        }
        return false;
    };

    for (int signal : {SIGTERM, SIGKILL}) {
        SCOPED_TRACE(signal);
        const int errors = open("errors.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const pid_t client = start(errors);
        close(errors);
        ASSERT_TRUE(awaitBox(client));  // no data files: the error box of the failed start
        long took = 0;
        kill(client, signal);
        EXPECT_EQ(WaitForEnd(client, 3000, &took), signal == SIGTERM ? 1 : 128 + SIGKILL);
        EXPECT_LT(took, 3000);
        // The box's process was ended and reaped by the client, or, when the
        // client was killed, adopted here: then it must be ending with it.
        std::vector<pid_t> orphans = ChildrenOfThisTest();
        std::erase(orphans, server.Pid);
        for (pid_t orphan : orphans) EXPECT_NE(WaitForEnd(orphan, 3000), -1);
    }

    CopyDataFiles(dir.Path());
    const int errors = open("errors.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const pid_t client = start(errors);
    close(errors);
    ASSERT_TRUE(testing_support::AwaitSignalHandler(client, SIGTERM))
        << "the client's state: " << testing_support::ProcessState(client)
        << ", the display server's: " << testing_support::ProcessState(server.Pid) << "\n"
        << testing_support::ReadFile(dir.Path() / "errors.txt");
    long took = 0;
    kill(client, SIGTERM);
    EXPECT_EQ(WaitForEnd(client, 3000, &took), 0) << testing_support::ReadFile(dir.Path() / "errors.txt");
    EXPECT_LT(took, 3000);
    EXPECT_NE(testing_support::ReadFile(dir.Path() / "Vorna.cfg").find(",1200,900,no)"), std::string::npos);
    EXPECT_EQ(ChildrenOfThisTest(), std::vector<pid_t>{server.Pid});
}

}  // namespace
