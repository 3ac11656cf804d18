// vorna-random: the random player from the command line.
//
//   vorna-random [--seconds N] [--seed S] [--steps N] [--malformed]
//                [--skip NAME,...] [--data DIR] [--out DIR]
//   vorna-random --live [--seconds N] [--seed S] [--data DIR] [--out DIR]
//
// Without --seconds it plays the one seed (a finding's seed plays it again);
// with it, seeds S, S+1, ... until the time is up. Each seed runs in a
// process of its own, so that a crash or a sanitizer's report is seen like
// a failed assertion. A finding is kept in the output folder as
// seed-S.vrec (for vorna --replay), seed-S.log, seed-S.error.txt and
// seed-S.png (the last picture before the fault).
//
// --live is the soak: the reference server (vorna-server beside this
// program) is started on free ports, and the client plays on it for the
// given time; its memory and processor time are reported as it goes.
#include "Live.h"
#include "RandomPlayer.h"

#include <execinfo.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <filesystem>
#include <set>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Recording.h"

// Present only in a build with the sanitizers.
extern "C" void __sanitizer_set_death_callback(void (*Callback)()) __attribute__((weak));

namespace fs = std::filesystem;
using namespace randomplayer;

namespace {

struct Arguments {
    double Seconds = 0;
    uint32_t Seed = 1;
    int64_t Steps = 3000;
    bool Malformed = false, Live = false, Trace = false, NoFork = false;
    // Actions that meet a fault already reported and not yet mended, so
    // that the run goes on to new ones (--unskip plays them again).
    std::set<std::string> Skip = KnownFaultWorkarounds();
    std::string Data, Out = "random-findings";
};

const char* const Usage =
    "usage: vorna-random [--seconds N] [--seed S] [--steps N] [--malformed] [--skip NAME,...]\n"
    "                    [--unskip NAME,...] [--data DIR] [--out DIR] [--trace]\n"
    "       vorna-random --live [--seconds N] [--seed S] [--data DIR] [--out DIR]\n";

bool Parse(int argc, char** argv, Arguments& A) {
    for (int i = 1; i < argc; ++i) {
        const std::string Arg = argv[i];
        auto Value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument(Arg + " needs a value");
            return argv[++i];
        };
        if (Arg == "--seconds") A.Seconds = std::stod(Value());
        else if (Arg == "--seed") A.Seed = uint32_t(std::stoul(Value()));
        else if (Arg == "--steps") A.Steps = std::stoll(Value());
        else if (Arg == "--malformed") A.Malformed = true;
        else if (Arg == "--live") A.Live = true;
        else if (Arg == "--trace") A.Trace = true;
        else if (Arg == "--no-fork") A.NoFork = true;
        else if (Arg == "--data") A.Data = Value();
        else if (Arg == "--out") A.Out = Value();
        else if (Arg == "--skip" || Arg == "--unskip") {
            std::stringstream List(Value());
            std::string Name;
            while (std::getline(List, Name, ','))
                if (Arg == "--skip")
                    A.Skip.insert(Name);
                else
                    A.Skip.erase(Name);
        } else if (Arg == "--help") {
            std::fputs(Usage, stdout);
            std::printf("actions for --skip: %s\n", ActionNames().c_str());
            std::exit(0);
        } else {
            throw std::invalid_argument("unknown argument " + Arg);
        }
    }
    return true;
}

std::string Slurp(const fs::path& P) {
    std::ifstream In(P, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}

// The line of a sanitizer's report that says what it found.
std::string SanitizerLine(const std::string& Log) {
    for (const char* Mark : {"SUMMARY: ", "runtime error:", "ERROR: AddressSanitizer", "ERROR: LeakSanitizer"}) {
        const size_t At = Log.find(Mark);
        if (At == std::string::npos) continue;
        size_t Begin = Log.rfind('\n', At);
        Begin = Begin == std::string::npos ? 0 : Begin + 1;
        return Log.substr(Begin, Log.find('\n', At) - Begin);
    }
    return "";
}

// ---- The child's side -----------------------------------------------------------------

int ChildPipe = -1;

void WriteAll(const void* Data, size_t Size) {
    const char* p = static_cast<const char*>(Data);
    while (Size > 0) {
        const ssize_t n = write(ChildPipe, p, Size);
        if (n <= 0) return;
        p += n;
        Size -= size_t(n);
    }
}

void SendRecord(char Kind, const std::string& Text) {
    const uint32_t Length = uint32_t(Text.size());
    WriteAll(&Kind, 1);
    WriteAll(&Length, 4);
    WriteAll(Text.data(), Text.size());
}

// A crash keeps what the recording holds so far.
void OnCrash(int Signal) {
    platform::FlushRecording();
    void* Frames[64];
    backtrace_symbols_fd(Frames, backtrace(Frames, 64), 2);
    signal(Signal, SIG_DFL);
    raise(Signal);
}

void InstallCrashKeeping() {
    for (int Signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) signal(Signal, OnCrash);
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback([] { platform::FlushRecording(); });
}

EpisodeOptions OptionsFor(const Arguments& A, uint32_t Seed) {
    const fs::path Out = fs::absolute(A.Out);
    EpisodeOptions O;
    O.Seed = Seed;
    O.MaxSteps = A.Steps;
    O.Malformed = A.Malformed;
    O.DataDir = A.Data;
    O.WorkDir = (Out / ("work-" + std::to_string(Seed))).string();
    O.RecordingPath = (Out / ("seed-" + std::to_string(Seed) + ".vrec")).string();
    O.Skip = A.Skip;
    O.Trace = A.Trace;
    return O;
}

[[noreturn]] void RunChild(const Arguments& A, uint32_t Seed, int Pipe) {
    ChildPipe = Pipe;
    const fs::path Out = fs::absolute(A.Out);
    std::freopen((Out / ("seed-" + std::to_string(Seed) + ".log")).c_str(), "w", stderr);
    std::freopen((Out / ("seed-" + std::to_string(Seed) + ".log")).c_str(), "a", stdout);
    InstallCrashKeeping();
    EpisodeOptions O = OptionsFor(A, Seed);
    O.Progress = [](int64_t Steps) {
        const char Kind = 'p';
        WriteAll(&Kind, 1);
        WriteAll(&Steps, 8);
    };
    EpisodeResult R;
    try {
        R = RunEpisode(O);
    } catch (const std::exception& E) {
        SendRecord('e', E.what());
        std::fflush(nullptr);
        _exit(3);
    }
    const char* How = R.How == EpisodeResult::Ending::Finding         ? "finding"
                      : R.How == EpisodeResult::Ending::AllowedReport ? "report"
                      : R.How == EpisodeResult::Ending::ProgramEnded  ? "ended"
                                                                       : "finished";
    SendRecord('r', std::string(How) + "\x1f" + std::to_string(R.Steps) + "\x1f" + R.What + "\x1f" + R.LastServer +
                        "\x1f" + R.LastInput);
    std::fflush(nullptr);
    _exit(0);
}

// ---- The parent's side ----------------------------------------------------------------

struct SeedOutcome {
    int64_t Steps = 0;
    bool Finding = false;
    std::string Line;
};

std::vector<std::string> Split(const std::string& S) {
    std::vector<std::string> Parts;
    std::string Part;
    for (char c : S) {
        if (c == '\x1f') {
            Parts.push_back(Part);
            Part.clear();
        } else {
            Part += c;
        }
    }
    Parts.push_back(Part);
    return Parts;
}

SeedOutcome RunSeed(const Arguments& A, uint32_t Seed) {
    if (A.NoFork) {
        // In this process, for a debugger: the outcome on standard error.
        int Pipe[2];
        if (pipe(Pipe) != 0) throw std::runtime_error("no pipe");
        ChildPipe = Pipe[1];
        const EpisodeResult R = RunEpisode(OptionsFor(A, Seed));
        SeedOutcome Outcome;
        Outcome.Steps = R.Steps;
        Outcome.Finding = R.How == EpisodeResult::Ending::Finding;
        Outcome.Line = "seed " + std::to_string(Seed) + ": " + std::to_string(R.Steps) + " steps: " + R.What;
        return Outcome;
    }
    int Pipe[2];
    if (pipe(Pipe) != 0) throw std::runtime_error("no pipe");
    std::fflush(nullptr);
    const pid_t Child = fork();
    if (Child < 0) throw std::runtime_error("cannot fork");
    if (Child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        close(Pipe[0]);
        RunChild(A, Seed, Pipe[1]);
    }
    close(Pipe[1]);
    SeedOutcome O;
    std::string Result, Error;
    bool Hung = false;
    // A pass may take long under the sanitizers; two minutes without one is a hang.
    constexpr int HANG_MS = 120000;
    std::vector<char> Buffer;
    for (;;) {
        pollfd P{Pipe[0], POLLIN, 0};
        const int Ready = poll(&P, 1, HANG_MS);
        if (Ready == 0) {
            Hung = true;
            kill(Child, SIGKILL);
            break;
        }
        char Chunk[4096];
        const ssize_t n = read(Pipe[0], Chunk, sizeof Chunk);
        if (n <= 0) break;
        Buffer.insert(Buffer.end(), Chunk, Chunk + n);
        size_t At = 0;
        while (At < Buffer.size()) {
            const char Kind = Buffer[At];
            if (Kind == 'p') {
                if (Buffer.size() - At < 9) break;
                std::memcpy(&O.Steps, &Buffer[At + 1], 8);
                At += 9;
            } else {
                if (Buffer.size() - At < 5) break;
                uint32_t Length;
                std::memcpy(&Length, &Buffer[At + 1], 4);
                if (Buffer.size() - At < 5 + Length) break;
                (Kind == 'r' ? Result : Error).assign(&Buffer[At + 5], Length);
                At += 5 + Length;
            }
        }
        Buffer.erase(Buffer.begin(), Buffer.begin() + long(At));
    }
    close(Pipe[0]);
    int Status = 0;
    waitpid(Child, &Status, 0);

    const fs::path Out = fs::absolute(A.Out);
    const std::string Name = "seed-" + std::to_string(Seed);
    const std::string Log = Slurp(Out / (Name + ".log"));
    const std::string Where = "seed " + std::to_string(Seed);
    std::string Finding;
    std::string How;
    if (!Result.empty()) {
        const std::vector<std::string> Parts = Split(Result);
        How = Parts[0];
        O.Steps = std::stoll(Parts[1]);
        if (How == "finding")
            Finding = Parts[2] + " (server: " + Parts[3] + "; player: " + Parts[4] + ")";
        else if (How == "report")
            O.Line = Where + ": " + std::to_string(O.Steps) + " steps, ended by the program's report on bad data: " +
                     Parts[2] + " (server: " + Parts[3] + ")";
    }
    const std::string Sanitizer = SanitizerLine(Log);
    if (Hung)
        Finding = "the client stopped answering (no pass for two minutes)";
    else if (!Sanitizer.empty())
        Finding = Sanitizer;
    else if (Result.empty() && !Error.empty())
        throw std::runtime_error(Where + ": the random player failed: " + Error);
    else if (Result.empty())
        Finding = WIFSIGNALED(Status) ? "crash: signal " + std::to_string(WTERMSIG(Status))
                                      : "the process ended with status " + std::to_string(WEXITSTATUS(Status));
    std::error_code ec;
    if (!Finding.empty()) {
        const fs::path Work = Out / ("work-" + std::to_string(Seed));
        fs::copy_file(Work / "last-frame.png", Out / (Name + ".png"), fs::copy_options::overwrite_existing, ec);
        fs::copy_file(Work / "error.txt", Out / (Name + ".error.txt"), fs::copy_options::overwrite_existing, ec);
    }
    fs::remove_all(Out / ("work-" + std::to_string(Seed)), ec);
    if (!Finding.empty()) {
        O.Finding = true;
        O.Line = Where + ": FINDING at step " + std::to_string(O.Steps) + ": " + Finding + "; recording " +
                 (Out / (Name + ".vrec")).string() + ", log " + (Out / (Name + ".log")).string();
        return O;
    }
    fs::remove(Out / (Name + ".vrec"), ec);
    fs::remove(Out / (Name + ".log"), ec);
    if (O.Line.empty())
        O.Line = Where + ": " + std::to_string(O.Steps) + " steps" + (How == "ended" ? " (the player closed the program)" : "");
    return O;
}

int RunSeeds(const Arguments& A) {
    const auto Start = std::chrono::steady_clock::now();
    int64_t Steps = 0;
    int Seeds = 0, Findings = 0;
    uint32_t Seed = A.Seed;
    std::string Skipped;
    for (const std::string& Name : A.Skip) Skipped += " " + Name;
    std::printf("vorna-random: %s mode, first seed %u, %lld steps a seed, skipping:%s\n",
                A.Malformed ? "malformed" : "well-formed", A.Seed, static_cast<long long>(A.Steps),
                Skipped.empty() ? " nothing" : Skipped.c_str());
    std::fflush(stdout);
    for (;;) {
        const SeedOutcome O = RunSeed(A, Seed);
        Steps += O.Steps;
        ++Seeds;
        Findings += O.Finding ? 1 : 0;
        std::printf("vorna-random: %s\n", O.Line.c_str());
        std::fflush(stdout);
        ++Seed;
        const double Elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
        if (A.Seconds <= 0 || Elapsed >= A.Seconds) {
            std::printf("vorna-random: %d seed%s (%u to %u), %lld steps in %.0f s, %d finding%s\n", Seeds,
                        Seeds == 1 ? "" : "s", A.Seed, Seed - 1, static_cast<long long>(Steps), Elapsed, Findings,
                        Findings == 1 ? "" : "s");
            return Findings > 0 ? 1 : 0;
        }
    }
}

// ---- The soak ---------------------------------------------------------------------------

long ResidentKilobytes(pid_t Pid) {
    std::ifstream In("/proc/" + std::to_string(Pid) + "/status");
    std::string Line;
    while (std::getline(In, Line))
        if (Line.rfind("VmRSS:", 0) == 0) return std::atol(Line.c_str() + 6);
    return -1;
}

double ProcessorSeconds(pid_t Pid) {
    std::ifstream In("/proc/" + std::to_string(Pid) + "/stat");
    std::string Text((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    const size_t Close = Text.rfind(')');
    if (Close == std::string::npos) return -1;
    std::stringstream Fields(Text.substr(Close + 2));
    std::string F;
    long UserTicks = 0, SystemTicks = 0;
    for (int i = 3; Fields >> F; ++i) {
        if (i == 14) UserTicks = std::atol(F.c_str());
        if (i == 15) {
            SystemTicks = std::atol(F.c_str());
            break;
        }
    }
    return double(UserTicks + SystemTicks) / double(sysconf(_SC_CLK_TCK));
}

int RunSoak(const Arguments& A) {
    const fs::path Out = fs::absolute(A.Out);
    const fs::path State = Out / "live-server";
    fs::create_directories(State);
    const auto StartFileTime = fs::file_time_type::clock::now();
    // The reference server, on free ports, with a state of its own.
    int ServerOut[2];
    if (pipe(ServerOut) != 0) return 2;
    const std::string ServerProgram = (fs::path(A.Data) / "vorna-server").string();
    const pid_t Server = fork();
    if (Server == 0) {
        // Should this program end early, the server still saves and ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        dup2(ServerOut[1], 1);
        dup2(ServerOut[1], 2);
        close(ServerOut[0]);
        const std::string World = (fs::path(A.Data) / "Demoland.world").string();
        execl(ServerProgram.c_str(), ServerProgram.c_str(), "--login-port", "0", "--test-login-port", "0", "--game-port",
              "0", "--data-dir", A.Data.c_str(), "--world", World.c_str(), "--state-dir", State.c_str(), nullptr);
        _exit(127);
    }
    close(ServerOut[1]);
    std::FILE* ServerLines = fdopen(ServerOut[0], "r");
    std::ofstream ServerLog(Out / "live-server.log");
    int LoginPort = 0;
    char Line[1024];
    while (std::fgets(Line, sizeof Line, ServerLines)) {
        ServerLog << Line << std::flush;
        if (const char* At = std::strstr(Line, ": login ")) {
            LoginPort = std::atoi(At + 8);
            break;
        }
    }
    if (LoginPort <= 0) {
        std::fprintf(stderr, "vorna-random: the reference server did not start (%s)\n", ServerProgram.c_str());
        kill(Server, SIGTERM);
        waitpid(Server, nullptr, 0);
        return 2;
    }
    // The server's further lines go to its log from a reader of their own.
    const pid_t Reader = fork();
    if (Reader == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        while (std::fgets(Line, sizeof Line, ServerLines)) ServerLog << Line << std::flush;
        _exit(0);
    }
    std::fclose(ServerLines);

    int Pipe[2];
    if (pipe(Pipe) != 0) return 2;
    std::fflush(nullptr);
    const pid_t Client = fork();
    if (Client == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        close(Pipe[0]);
        ChildPipe = Pipe[1];
        std::freopen((Out / "live-client.log").c_str(), "w", stderr);
        LiveOptions O;
        O.Seconds = A.Seconds > 0 ? A.Seconds : 3600;
        O.Seed = A.Seed;
        O.DataDir = A.Data;
        O.WorkDir = (Out / "live-client").string();
        O.LoginPort = LoginPort;
        O.Skip = A.Skip;
        O.Progress = [](const LiveStatus& S) {
            SendRecord('s', std::to_string(S.Passes) + "\x1f" + std::to_string(S.Frames) + "\x1f" +
                                std::to_string(S.Logins) + "\x1f" + (S.InGame ? "1" : "0") + "\x1f" + S.Failure);
        };
        const int Status = RunLive(O);
        std::fflush(nullptr);
        _exit(Status);
    }
    close(Pipe[1]);
    const auto Start = std::chrono::steady_clock::now();
    const double Planned = A.Seconds > 0 ? A.Seconds : 3600;
    std::printf("vorna-random: soak of %.0f s, client %d on the reference server %d (login port %d)\n", Planned,
                int(Client), int(Server), LoginPort);
    std::fflush(stdout);
    std::vector<char> Buffer;
    std::string Last, Failure;
    bool Hung = false;
    long Memory5 = -1, Memory30 = -1, Memory60 = -1, MemoryPeak = 0;
    double NextSample = 0;
    std::ofstream Samples(Out / "live-memory.csv");
    Samples << "seconds,rss_kb,cpu_s,passes,frames,logins,in_game\n";
    for (;;) {
        pollfd P{Pipe[0], POLLIN, 0};
        const int Ready = poll(&P, 1, 1000);
        const double Elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
        if (Ready > 0) {
            char Chunk[4096];
            const ssize_t n = read(Pipe[0], Chunk, sizeof Chunk);
            if (n <= 0) break;
            Buffer.insert(Buffer.end(), Chunk, Chunk + n);
            while (Buffer.size() >= 5) {
                uint32_t Length;
                std::memcpy(&Length, &Buffer[1], 4);
                if (Buffer.size() < 5 + Length) break;
                Last.assign(&Buffer[5], Length);
                Buffer.erase(Buffer.begin(), Buffer.begin() + 5 + long(Length));
            }
        }
        if (Elapsed >= NextSample) {
            const long Rss = ResidentKilobytes(Client);
            const std::vector<std::string> S = Split(Last);
            if (Rss > 0) {
                MemoryPeak = std::max(MemoryPeak, Rss);
                if (Memory5 < 0 && Elapsed >= 300) Memory5 = Rss;
                if (Memory30 < 0 && Elapsed >= 1800) Memory30 = Rss;
                if (Elapsed >= 3590) Memory60 = Rss;
                Samples << int(Elapsed) << "," << Rss << "," << ProcessorSeconds(Client);
                for (size_t i = 0; i < 4 && i < S.size(); i++) Samples << "," << S[i];
                Samples << "\n" << std::flush;
            }
            NextSample += 10;
        }
        // The client reports every second; a minute of silence is a hang,
        // and so is a client that has not ended two minutes after its time.
        static double LastReport = 0;
        static std::string LastSeen;
        if (Last != LastSeen) {
            LastSeen = Last;
            LastReport = Elapsed;
        }
        if (Elapsed - LastReport > 60 || Elapsed > Planned + 120) {
            Hung = true;
            kill(Client, SIGKILL);
            break;
        }
    }
    const double Cpu = ProcessorSeconds(Client);
    int Status = 0;
    waitpid(Client, &Status, 0);
    const double Elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    const std::vector<std::string> S = Split(Last);
    if (S.size() >= 5) Failure = S[4];
    // The server saves every character as it ends.
    kill(Server, SIGTERM);
    waitpid(Server, nullptr, 0);
    waitpid(Reader, nullptr, 0);
    // The characters played, by the server's log; each must have been saved
    // as the server ended (its file written after the soak's start).
    std::set<std::string> Played;
    {
        std::ifstream In(Out / "live-server.log");
        std::string L;
        while (std::getline(In, L)) {
            const size_t At = L.find(" entered the game");
            const size_t From = L.find("[game] ");
            if (At == std::string::npos || From == std::string::npos || At < From + 7) continue;
            std::string Name = L.substr(From + 7, At - From - 7);
            for (char& c : Name) c = char(std::tolower(static_cast<unsigned char>(c)));
            Played.insert(Name);
        }
    }
    bool Saved = !Played.empty();
    std::string Names;
    for (const std::string& Name : Played) {
        const fs::path File = State / "characters" / (Name + ".txt");
        std::error_code ec;
        const auto Written = fs::last_write_time(File, ec);
        const bool Fresh = !ec && Written >= StartFileTime;
        Saved = Saved && Fresh;
        Names += " " + Name + (Fresh ? " (saved)" : " (NOT saved)");
    }
    std::printf("vorna-random: soak ended after %.0f s: passes %s, frames %s, logins %s\n", Elapsed,
                S.size() > 0 ? S[0].c_str() : "?", S.size() > 1 ? S[1].c_str() : "?", S.size() > 2 ? S[2].c_str() : "?");
    std::printf("vorna-random: resident memory at 5 min %ld kB, 30 min %ld kB, 60 min %ld kB, peak %ld kB\n", Memory5,
                Memory30, Memory60, MemoryPeak);
    std::printf("vorna-random: processor time %.1f s (%.1f %% of one core)\n", Cpu, Elapsed > 0 ? 100 * Cpu / Elapsed : 0);
    std::printf("vorna-random: characters played:%s\n", Names.c_str());
    std::printf("vorna-random: client %s; the server %s the character\n",
                Hung ? "stopped answering"
                     : !Failure.empty() ? ("failed: " + Failure).c_str()
                     : WIFEXITED(Status) && WEXITSTATUS(Status) == 0 ? "ended in order"
                                                                      : "ended abnormally",
                Saved ? "kept" : "did not keep");
    return Hung || !Failure.empty() || !Saved || !(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments A;
    try {
        Parse(argc, argv, A);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "vorna-random: %s\n%s", E.what(), Usage);
        return 2;
    }
    if (A.Data.empty()) A.Data = fs::canonical("/proc/self/exe").parent_path().string();
    A.Data = fs::absolute(A.Data).string();
    fs::create_directories(A.Out);
    try {
        return A.Live ? RunSoak(A) : RunSeeds(A);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "vorna-random: %s\n", E.what());
        return 2;
    }
}
