// The whole server in one single-threaded Asio loop: the three listening
// ports, the timers of the game, and a clean stop on SIGINT and SIGTERM (or
// RequestStop) that saves every character before the loop ends.
#pragma once

#include "server/Config.h"

#include <atomic>

namespace server {

struct BoundPorts {
    int Login = 0, TestLogin = 0, Game = 0;
};

// Loads everything, listens and runs until stopped; returns the exit code.
// OnReady (optional) is called inside the loop once the ports are open.
int Run(Config Settings, void (*OnReady)(const BoundPorts&, void*) = nullptr, void* ReadyData = nullptr,
        bool HandleSignals = true);
// Thread-safe: asks a running server to stop.
void RequestStop();

}  // namespace server
