// The server as a program: started with options, it logs the ports it
// listens on, and SIGTERM stops it with every character saved.
#include "ServerHarness.h"
#include "ServerProcess.h"

#include "support/Processes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace servertest;


TEST(ServerProgram, TermSignalSavesTheCharactersInTheGame) {
    testing_support::ScopedWorkDir Dir;
    WriteTestDat("Vorna.dat");
    WriteTestWorld("test.world");
    std::string Here = Dir.Path().string();
    Process Server({VORNA_SERVER_BINARY, "--login-port", "0", "--test-login-port", "0", "--game-port", "0",
                    "--data-dir", Here, "--world", Here + "/test.world", "--state-dir", Here + "/state", "--seed", "4242"});
    EXPECT_TRUE(Server.WaitFor("random numbers from seed 4242")) << Server.Log;
    // The whole line: it can arrive in two reads, and its first half gives a cut-off port.
    const std::string Listening = Server.WaitForLine(", game ");
    ASSERT_FALSE(Listening.empty()) << Server.Log;
    int GamePort = std::atoi(Listening.c_str() + Listening.find(", game ") + 7);
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
    for (const char* Seed : {"0", "12x", "-1", "4294967296"}) {
        Process Server({VORNA_SERVER_BINARY, "--seed", Seed});
        EXPECT_EQ(Server.Wait(), 2) << Seed;
    }
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

// Installed, the server has no data beside it in bin/: it takes Vorna.dat and
// the demo world from share/vorna of the same installation.
TEST(ServerProgram, AnInstalledServerFindsItsDataInTheSharedFolder) {
    testing_support::ScopedWorkDir Dir;
    const std::filesystem::path Bin = Dir.Path() / "prefix" / "bin", Share = Dir.Path() / "prefix" / "share" / "vorna";
    std::filesystem::create_directories(Bin);
    std::filesystem::create_directories(Share);
    std::error_code Error;
    std::filesystem::create_hard_link(VORNA_SERVER_BINARY, Bin / "vorna-server", Error);
    if (Error) std::filesystem::copy_file(VORNA_SERVER_BINARY, Bin / "vorna-server");
    WriteTestDat(Share / "Vorna.dat");
    WriteTestWorld(Share / "Demoland.world");
    Process Server({(Bin / "vorna-server").string(), "--login-port", "0", "--test-login-port", "0", "--game-port", "0",
                    "--state-dir", (Dir.Path() / "state").string()});
    EXPECT_TRUE(Server.WaitFor("object types from " + (Share / "Vorna.dat").string())) << Server.Log;
    EXPECT_TRUE(Server.WaitFor("from " + (Share / "Demoland.world").string())) << Server.Log;
    ASSERT_FALSE(Server.WaitForLine(", game ").empty()) << Server.Log;
    ASSERT_TRUE(testing_support::AwaitSignalHandler(Server.Pid, SIGTERM));
    kill(Server.Pid, SIGTERM);
    EXPECT_EQ(Server.Wait(), 0);
}
