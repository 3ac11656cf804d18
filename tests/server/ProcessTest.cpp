// The server as a program: started with options, it logs the ports it
// listens on, and SIGTERM stops it with every character saved.
#include "ServerHarness.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace servertest;

namespace {

struct Process {
    pid_t Pid = -1;
    int Output = -1;
    std::string Log;

    explicit Process(std::vector<std::string> Arguments) {
        int Pipe[2];
        if (pipe(Pipe) != 0) return;
        Pid = fork();
        if (Pid == 0) {
            dup2(Pipe[1], 1);
            close(Pipe[0]);
            std::vector<char*> Argv;
            for (auto& A : Arguments) Argv.push_back(A.data());
            Argv.push_back(nullptr);
            execv(Argv[0], Argv.data());
            _exit(127);
        }
        close(Pipe[1]);
        Output = Pipe[0];
    }
    ~Process() {
        if (Pid > 0) {
            kill(Pid, SIGKILL);
            waitpid(Pid, nullptr, 0);
        }
        if (Output >= 0) close(Output);
    }
    // Reads the output until Text appears; false on time-out or end.
    bool WaitFor(const std::string& Text, int TimeoutMs = 5000) {
        auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
        while (Log.find(Text) == std::string::npos) {
            int Left = int(std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - std::chrono::steady_clock::now()).count());
            if (Left <= 0) return false;
            pollfd P{Output, POLLIN, 0};
            if (poll(&P, 1, Left) <= 0) return false;
            char Block[1024];
            ssize_t Count = read(Output, Block, sizeof(Block));
            if (Count <= 0) return false;
            Log.append(Block, size_t(Count));
        }
        return true;
    }
    int Wait() {
        int Status = 0;
        waitpid(Pid, &Status, 0);
        Pid = -1;
        return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    }
};

}  // namespace

TEST(ServerProgram, TermSignalSavesTheCharactersInTheGame) {
    testing_support::ScopedWorkDir Dir;
    WriteTestDat("Vorna.dat");
    WriteTestWorld("test.world");
    std::string Here = Dir.Path().string();
    Process Server({VORNA_SERVER_BINARY, "--login-port", "0", "--test-login-port", "0", "--game-port", "0",
                    "--data-dir", Here, "--world", Here + "/test.world", "--state-dir", Here + "/state"});
    ASSERT_TRUE(Server.WaitFor(", game ")) << Server.Log;
    ASSERT_TRUE(Server.WaitFor("\n"));
    size_t At = Server.Log.find(", game ");
    int GamePort = std::atoi(Server.Log.c_str() + At + 7);
    ASSERT_GT(GamePort, 0);

    TestClient C(GamePort);
    C.SendPacket(GameLogin(100002, "Kestrel", "demo"));
    ASSERT_TRUE(C.ReadPacket());
    ASSERT_TRUE(Server.WaitFor("Kestrel entered the game"));
    kill(Server.Pid, SIGTERM);
    EXPECT_TRUE(C.WaitClosed());
    EXPECT_EQ(Server.Wait(), 0);
    Server.WaitFor("stopped", 1000);
    EXPECT_NE(Server.Log.find("1 characters saved"), std::string::npos) << Server.Log;
    std::string Saved = testing_support::ReadFile(Dir.Path() / "state" / "characters" / "kestrel.txt");
    // The demo character had no position before: the stop wrote it.
    EXPECT_NE(Saved.find("PositionX = 102\nPositionY = 102\nPositionZ = 7\n"), std::string::npos) << Saved;
}

TEST(ServerProgram, BadOptionsAndMissingFilesEndWithAMessage) {
    testing_support::ScopedWorkDir Dir;
    {
        Process Server({VORNA_SERVER_BINARY, "--game-port", "70000"});
        EXPECT_EQ(Server.Wait(), 2);
    }
    {
        Process Server({VORNA_SERVER_BINARY, "--data-dir", Dir.Path().string(), "--login-port", "0",
                        "--test-login-port", "0", "--game-port", "0"});
        EXPECT_TRUE(Server.WaitFor("cannot start: Cannot open file " + (Dir.Path() / "Vorna.dat").string()))
            << Server.Log;
        EXPECT_EQ(Server.Wait(), 1);
    }
}
