// A spawned server program with its standard output collected.
#pragma once

#include <cerrno>
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
    // Reads the output until Text appears; false on time-out or end. The
    // time-out only bounds a failure: a loaded machine may start slowly.
    bool WaitFor(const std::string& Text, int TimeoutMs = 30000) {
        return ReadUntil([&] { return Log.find(Text) != std::string::npos; }, TimeoutMs);
    }
    // Reads until a whole line holding Text has arrived (a line may come in
    // two reads) and returns that line; empty on time-out or end.
    std::string WaitForLine(const std::string& Text, int TimeoutMs = 30000) {
        size_t At = std::string::npos, End = std::string::npos;
        const bool Whole = ReadUntil(
            [&] {
                At = Log.find(Text);
                End = At == std::string::npos ? At : Log.find('\n', At);
                return End != std::string::npos;
            },
            TimeoutMs);
        if (!Whole) return "";
        const size_t Begin = Log.rfind('\n', At);
        const size_t First = Begin == std::string::npos ? 0 : Begin + 1;
        return Log.substr(First, End - First);
    }
    // Stops the program and returns once it is stopped, so that nothing it
    // could still do races the caller; Resume lets it go on.
    bool Pause() {
        if (Pid <= 0 || kill(Pid, SIGSTOP) != 0) return false;
        return AwaitState(WUNTRACED, [](int Status) { return WIFSTOPPED(Status); });
    }
    bool Resume() {
        if (Pid <= 0 || kill(Pid, SIGCONT) != 0) return false;
        return AwaitState(WCONTINUED, [](int Status) { return WIFCONTINUED(Status); });
    }
    int Wait() {
        int Status = 0;
        waitpid(Pid, &Status, 0);
        Pid = -1;
        return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    }

  private:
    template <typename Condition>
    bool ReadUntil(Condition Done, int TimeoutMs) {
        const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
        while (!Done()) {
            const int Left = int(
                std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - std::chrono::steady_clock::now())
                    .count());
            if (Left <= 0 || Output < 0) return false;
            pollfd P{Output, POLLIN, 0};
            const int Ready = poll(&P, 1, Left);
            if (Ready < 0 && errno == EINTR) continue;
            if (Ready <= 0) return false;
            char Block[1024];
            const ssize_t Count = read(Output, Block, sizeof(Block));
            if (Count < 0 && errno == EINTR) continue;
            if (Count <= 0) return false;
            Log.append(Block, size_t(Count));
        }
        return true;
    }
    // Waits for the child's change of state; a child that ended instead is
    // reaped and forgotten.
    template <typename Reached>
    bool AwaitState(int Options, Reached Is) {
        for (;;) {
            int Status = 0;
            const pid_t Got = waitpid(Pid, &Status, Options);
            if (Got < 0 && errno == EINTR) continue;
            if (Got != Pid) return false;
            if (WIFEXITED(Status) || WIFSIGNALED(Status)) {
                Pid = -1;
                return false;
            }
            if (Is(Status)) return true;
        }
    }
};


}  // namespace servertest
