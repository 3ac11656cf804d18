// Watching other processes from a test: whether a program has taken a signal
// over yet, what a process is doing, and which processes are the children of
// one.
#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/types.h>

namespace testing_support {

// Waits until the process catches the signal (its handler is installed), or
// it ended, or the time is up; the time only bounds a failure.
inline bool AwaitSignalHandler(pid_t pid, int signal, int timeoutMs = 30000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        if (!status) return false;
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("SigCgt:", 0) == 0 && (std::strtoull(line.c_str() + 7, nullptr, 16) >> (signal - 1)) & 1)
                return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

// The fields of /proc/PID/stat after the name, which may hold blanks and
// parentheses: "state ppid ..."; empty when the process is gone.
inline std::string StatAfterName(const std::filesystem::path& process) {
    std::ifstream stat(process / "stat");
    std::string text;
    if (!std::getline(stat, text)) return "";
    const size_t close = text.rfind(')');
    return close == std::string::npos || close + 2 >= text.size() ? "" : text.substr(close + 2);
}

// R running, S sleeping (waiting for something), Z ended, ...; 0 when gone.
inline char ProcessState(pid_t pid) {
    const std::string fields = StatAfterName("/proc/" + std::to_string(pid));
    return fields.empty() ? 0 : fields[0];
}

// The processes whose parent is the given one, zombies included.
inline std::vector<pid_t> ChildrenOf(pid_t parent) {
    std::vector<pid_t> children;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string fields = StatAfterName(entry.path());
        if (fields.size() > 2 && std::atoi(fields.c_str() + 2) == parent) children.push_back(std::atoi(name.c_str()));
    }
    return children;
}

}  // namespace testing_support
