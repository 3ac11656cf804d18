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
        if (!Server->WaitFor(", game ", 10000) || !Server->WaitFor("\n")) return false;
        const size_t at = Server->Log.find("listening on");
        if (at == std::string::npos) return false;
        const size_t login = Server->Log.find("login ", at + 12);
        if (login == std::string::npos) return false;
        const int port = std::atoi(Server->Log.c_str() + login + 6);
        if (port <= 0) return false;
        SetTestServer(false);
        for (int i = 0; i < NUMBEROFSERVER; ++i) SetLoginServer(i, "127.0.0.1", port);
        return true;
    }
    // The game server's port, as it said when it started.
    int GamePort() const {
        const size_t at = Server->Log.rfind(", game ");
        return at == std::string::npos ? 0 : std::atoi(Server->Log.c_str() + at + 7);
    }

    std::unique_ptr<servertest::Process> Server;
};
