// The whole client against the reference server running as its own
// process, with a state folder of the test's own; the game server's messages
// are read by their own handlers, attached by the call the program makes at
// start-up.
#pragma once

#include "DialogTestSupport.h"

#include "../server/ServerProcess.h"
#include "app/GameProtocol.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

class ServerClientTest : public ClientTest {
  protected:
    void SetUp() override {
        ClientTest::SetUp();
        InstallGameProtocol();
    }
    void TearDown() override {
        Server.reset();
        RemoveGameProtocol();
        ClientTest::TearDown();
    }

    std::filesystem::path StateDir() const { return Dir.Path() / "server-state"; }

    // Starts the server on free loopback ports and points the client's
    // login servers at it. False when it does not come up.
    bool StartServer() {
        Server = std::make_unique<servertest::Process>(std::vector<std::string>{
            (testing_support::BinaryDir() / "vorna-server").string(), "--login-port", "0", "--test-login-port", "0",
            "--game-port", "0", "--data-dir", testing_support::BinaryDir().string(), "--world",
            (testing_support::SourceDir() / "server" / "data" / "Demoland.world").string(), "--state-dir",
            StateDir().string()});
        // The ports are read from the whole line: a line can arrive in two
        // reads, and its first half would give a cut-off number.
        const std::string Line = Server->WaitForLine("listening on");
        const size_t login = Line.find(": login ");
        const size_t game = Line.find(", game ");
        if (login == std::string::npos || game == std::string::npos) return false;
        const int LoginPort = std::atoi(Line.c_str() + login + 8);
        GamePortNumber = std::atoi(Line.c_str() + game + 7);
        if (LoginPort <= 0 || GamePortNumber <= 0) return false;
        SetTestServer(false);
        for (int i = 0; i < NUMBEROFSERVER; ++i) SetLoginServer(i, "127.0.0.1", LoginPort);
        return true;
    }
    // The game server's port, as it said when it started.
    int GamePort() const { return GamePortNumber; }

    std::unique_ptr<servertest::Process> Server;

  private:
    int GamePortNumber = 0;
};
