// Load test, run on demand (it takes a minute):
//   vorna_tests_server --gtest_also_run_disabled_tests --gtest_filter='*Load*'
// Spawns vorna-server (VORNA_LOAD_SERVER names another build of it, for
// instance a release one), logs in VORNA_LOAD_CLIENTS clients (200) that walk
// and talk for VORNA_LOAD_SECONDS (60) over loopback, decodes every message
// they receive by the client's rules, and reports the messages per second,
// the server's processor use and peak memory, and the 99th percentile of
// the time from a step command to its move message. No client may be dropped.
#include "ServerHarness.h"
#include "ServerProcess.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <sstream>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>

using namespace servertest;
using Clock = std::chrono::steady_clock;

namespace {

int EnvNumber(const char* Name, int Default) {
    const char* Value = std::getenv(Name);
    return Value ? std::atoi(Value) : Default;
}

// utime + stime of a process in seconds.
double ProcessorSeconds(pid_t Pid) {
    std::ifstream In("/proc/" + std::to_string(Pid) + "/stat");
    std::string Text((std::istreambuf_iterator<char>(In)), {});
    size_t At = Text.rfind(')');
    std::istringstream Fields(Text.substr(At + 2));
    std::string Skip;
    for (int i = 3; i <= 13; i++) Fields >> Skip;
    long UserTicks = 0, SystemTicks = 0;
    Fields >> UserTicks >> SystemTicks;
    return double(UserTicks + SystemTicks) / double(sysconf(_SC_CLK_TCK));
}

long PeakMemoryKiB(pid_t Pid) {
    std::ifstream In("/proc/" + std::to_string(Pid) + "/status");
    std::string Line;
    while (std::getline(In, Line))
        if (Line.rfind("VmHWM:", 0) == 0) return std::atol(Line.c_str() + 6);
    return -1;
}

struct LoadClient {
    asio::ip::tcp::socket Socket;
    asio::steady_timer Timer;
    ClientView View;
    std::string Name;
    uint32_t Account = 0;
    Bytes Input;
    Bytes Block = Bytes(8192);
    std::deque<Clock::time_point> Steps;  // steps sent, not answered yet
    bool InGame = false, Closed = false;
    int Ticks = 0;
    LoadClient(asio::io_context& Context) : Socket(Context), Timer(Context) {}
};

struct LoadRun {
    asio::io_context Context;
    std::vector<std::unique_ptr<LoadClient>> Clients;
    std::vector<double> Latencies;  // milliseconds
    long Messages = 0, StepsSent = 0, Cancels = 0, Said = 0, Heard = 0, Attacks = 0;
    Clock::time_point End;
    std::mt19937 Random{42};
    int GamePort = 0;

    void Send(LoadClient& C, const Bytes& Body) {
        auto Data = std::make_shared<Bytes>(Body.size() + 2);
        (*Data)[0] = uint8_t(Body.size());
        (*Data)[1] = uint8_t(Body.size() >> 8);
        std::copy(Body.begin(), Body.end(), Data->begin() + 2);
        asio::async_write(C.Socket, asio::buffer(*Data), [Data](std::error_code, size_t) {});
    }

    void Received(LoadClient& C) {
        size_t Done = 0;
        while (C.Input.size() - Done >= 2) {
            size_t Length = C.Input[Done] | (C.Input[Done + 1] << 8);
            if (C.Input.size() - Done < Length + 2) break;
            Bytes Body(C.Input.begin() + long(Done) + 2, C.Input.begin() + long(Done + 2 + Length));
            Done += Length + 2;
            Position Before = C.InGame ? C.View.Creatures[C.View.PlayerID].Pos : Position{};
            size_t CancelsBefore = C.View.WalkCancels.size(), TalkBefore = C.View.Talk.size();
            C.View.Commands.clear();
            C.View.Decode(Body);
            Messages += long(C.View.Commands.size());
            Heard += long(C.View.Talk.size() - TalkBefore);
            if (!C.InGame && C.View.PlayerID != 0) {
                C.InGame = true;
                continue;
            }
            bool Answered = C.View.Creatures[C.View.PlayerID].Pos != Before || C.View.WalkCancels.size() > CancelsBefore;
            if (C.View.WalkCancels.size() > CancelsBefore) Cancels++;
            if (Answered && !C.Steps.empty()) {
                Latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - C.Steps.front()).count());
                C.Steps.pop_front();
            }
            if (std::find(C.View.Commands.begin(), C.View.Commands.end(), 30) != C.View.Commands.end()) Send(C, {30});
        }
        C.Input.erase(C.Input.begin(), C.Input.begin() + long(Done));
    }

    void Read(LoadClient& C) {
        C.Socket.async_read_some(asio::buffer(C.Block), [this, &C](std::error_code Error, size_t Count) {
            if (Error) {
                C.Closed = true;
                return;
            }
            C.Input.insert(C.Input.end(), C.Block.begin(), C.Block.begin() + long(Count));
            Received(C);
            Read(C);
        });
    }

    void Act(LoadClient& C) {
        C.Timer.expires_after(std::chrono::milliseconds(300 + Random() % 60));
        C.Timer.async_wait([this, &C](std::error_code Error) {
            if (Error || Clock::now() >= End || C.Closed) return;
            if (C.InGame) {
                C.Ticks++;
                if (C.Steps.empty()) {
                    static const uint8_t Straight[] = {101, 102, 103, 104};
                    Send(C, {Straight[Random() % 4]});
                    C.Steps.push_back(Clock::now());
                    StepsSent++;
                } else if (Clock::now() - C.Steps.front() > std::chrono::seconds(5)) {
                    ADD_FAILURE() << C.Name << ": a step got no answer";
                    C.Steps.clear();
                }
                if (C.Ticks % 11 == 5) {
                    // Attack the nearest creature in sight; it fights back.
                    const Position Me = C.View.Creatures[C.View.PlayerID].Pos;
                    uint32_t Target = 0;
                    int Best = 6;
                    for (const auto& [ID, Seen] : C.View.Creatures) {
                        int D = std::max(std::abs(Seen.Pos.x - Me.x), std::abs(Seen.Pos.y - Me.y));
                        if (ID >= 0x40000000 && Seen.Pos.z == Me.z && Seen.Health > 0 && D < Best) Best = D, Target = ID;
                    }
                    if (Target != 0) {
                        Send(C, Packet().Byte(161).Quad(Target).Data);
                        Attacks++;
                    }
                }
                if (C.Ticks % 7 == 0) {
                    Send(C, Packet().Byte(150).Byte(1).String("Hello from " + C.Name).Data);
                    Said++;
                }
            }
            Act(C);
        });
    }
};

void WriteLoadCharacters(const std::filesystem::path& State, int Count) {
    std::filesystem::create_directories(State / "accounts");
    std::filesystem::create_directories(State / "characters");
    for (int i = 0; i < Count; i++) {
        std::string Name = "Loader" + std::to_string(i);
        std::ofstream(State / "accounts" / (std::to_string(200000 + i) + ".txt"))
            << "Password = \"load\"\nPremiumDays = 0\nCharacter = \"" << Name << "\"\n";
        std::ofstream(State / "characters" / ("loader" + std::to_string(i) + ".txt"))
            << "Name = \"" << Name << "\"\nAccount = " << 200000 + i << "\nID = " << 1000 + i
            << "\nWorld = \"Testland\"\nPositionX = " << 106 + i % 30 << "\nPositionY = " << 106 + i / 30
            << "\nPositionZ = 7\nHitPoints = 5000\nMaxHitPoints = 5000\n";
    }
}

}  // namespace

TEST(LoadTest, DISABLED_ManyClientsWalkTalkAndFight) {
    int Count = EnvNumber("VORNA_LOAD_CLIENTS", 200);
    int Seconds = EnvNumber("VORNA_LOAD_SECONDS", 60);
    const char* Binary = std::getenv("VORNA_LOAD_SERVER") ? std::getenv("VORNA_LOAD_SERVER") : VORNA_SERVER_BINARY;
    testing_support::ScopedWorkDir Dir;
    WriteTestDat("Vorna.dat");
    WriteTestWorld("test.world");
    {
        // Creatures among the walkers that fight back (wolves), hunt (spiders,
        // poison) and come back after they are slain.
        std::ofstream World("test.world", std::ios::app);
        for (int i = 0; i < 24; i++)
            World << "Creature " << 106 + (i * 5) % 30 << " " << 105 + (i / 6) * 3 << " 7 " << (i % 3 ? "wolf" : "spider")
                  << " \"Beast\" 3 100\n";
    }
    WriteLoadCharacters(Dir.Path() / "state", Count);
    std::string Here = Dir.Path().string();
    Process Server({Binary, "--login-port", "0", "--test-login-port", "0", "--game-port", "0", "--data-dir", Here,
                    "--world", Here + "/test.world", "--state-dir", Here + "/state"});
    ASSERT_TRUE(Server.WaitFor(", game ")) << Server.Log;
    ASSERT_TRUE(Server.WaitFor("\n"));
    LoadRun Run;
    Run.GamePort = std::atoi(Server.Log.c_str() + Server.Log.find(", game ") + 7);
    // The server logs every login; keep its pipe drained from here on.
    fcntl(Server.Output, F_SETFL, O_NONBLOCK);

    double CpuStart = ProcessorSeconds(Server.Pid);
    auto Start = Clock::now();
    Run.End = Start + std::chrono::seconds(Seconds);
    for (int i = 0; i < Count; i++) {
        auto C = std::make_unique<LoadClient>(Run.Context);
        C->Name = "Loader" + std::to_string(i);
        C->Socket.connect({asio::ip::make_address("127.0.0.1"), asio::ip::port_type(Run.GamePort)});
        C->Socket.set_option(asio::ip::tcp::no_delay(true));
        Run.Send(*C, GameLogin(uint32_t(200000 + i), C->Name, "load"));
        Run.Read(*C);
        Run.Act(*C);
        Run.Clients.push_back(std::move(C));
    }
    asio::steady_timer Drain(Run.Context);
    std::function<void()> DrainLoop = [&] {
        char Block[4096];
        while (read(Server.Output, Block, sizeof(Block)) > 0) {
        }
        if (Clock::now() < Run.End) {
            Drain.expires_after(std::chrono::milliseconds(200));
            Drain.async_wait([&](std::error_code E) {
                if (!E) DrainLoop();
            });
        }
    };
    DrainLoop();
    Run.Context.run_until(Run.End + std::chrono::seconds(1));
    double Elapsed = std::chrono::duration<double>(Clock::now() - Start).count();
    double Cpu = ProcessorSeconds(Server.Pid) - CpuStart;
    long Memory = PeakMemoryKiB(Server.Pid);

    int InGame = 0, Dropped = 0;
    for (auto& C : Run.Clients) {
        InGame += C->InGame;
        Dropped += C->Closed;
    }
    std::sort(Run.Latencies.begin(), Run.Latencies.end());
    auto Percentile = [&](double P) {
        return Run.Latencies.empty() ? -1.0 : Run.Latencies[size_t(P * double(Run.Latencies.size() - 1))];
    };
    std::printf(
        "load: %d clients, %d in the game, %d dropped, %.1f s\n"
        "load: %ld messages received (%.0f per second), %ld steps (%ld cancelled), %ld said, %ld heard, %ld attacks\n"
        "load: server processor %.1f s (%.0f%% of one core), peak memory %ld KiB\n"
        "load: step to move: median %.1f ms, 99th percentile %.1f ms, worst %.1f ms\n",
        Count, InGame, Dropped, Elapsed, Run.Messages, double(Run.Messages) / Elapsed, Run.StepsSent, Run.Cancels,
        Run.Said, Run.Heard, Run.Attacks, Cpu, 100 * Cpu / Elapsed, Memory, Percentile(0.5), Percentile(0.99), Percentile(1.0));
    EXPECT_EQ(InGame, Count);
    EXPECT_EQ(Dropped, 0);
    EXPECT_GT(Run.Latencies.size(), size_t(Count));
}
