// A spawned server program with its standard output collected.
#pragma once

#include <chrono>
#include <csignal>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace servertest {
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


}  // namespace servertest
