// The soak of the random player: the whole client on a running reference
// server, the real clock, the player's random input only.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>

namespace randomplayer {

struct LiveStatus {
    int64_t Passes = 0;  // of the program's loop
    int Frames = 0;      // presented
    int Logins = 0;      // times the character entered the game
    bool InGame = false;
    std::string LastInput;
    std::string Failure;  // a failed assertion or program error; empty while none
};

struct LiveOptions {
    double Seconds = 3600;
    uint32_t Seed = 1;
    std::string DataDir, WorkDir;
    int LoginPort = 7171;
    std::string Account = "100001", Password = "demo";
    std::set<std::string> Skip;  // the player's actions switched off
    // About once a second, and once at the end.
    std::function<void(const LiveStatus&)> Progress;
};

// Plays until the time is up, then logs out and closes the window. 0 when
// nothing failed.
int RunLive(const LiveOptions& Options);

}  // namespace randomplayer
