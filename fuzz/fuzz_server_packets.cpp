// Fuzzes the server's handling of client packets over real loopback
// connections: the server runs in-process on ephemeral ports; each input is
// sent either to the login port, or to the game port after a valid game
// login, and the connection is then closed from our side. Whatever the
// bytes, the server must neither crash nor trip a sanitizer.
#include "server/Server.h"

#include <asio.hpp>

#include <condition_variable>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

std::mutex Lock;
std::condition_variable Ready;
server::BoundPorts Ports;
bool Started = false;

void WriteData(const std::filesystem::path& Dir) {
    std::string B;
    auto U8 = [&](int v) { B.push_back(char(v & 0xFF)); };
    auto U16 = [&](int v) { U8(v), U8(v >> 8); };
    auto Record = [&] {
        U8(255);
        for (int v : {1, 1, 1, 1, 1, 1, 1}) U8(v);
        U16(0);
    };
    U16(1), U16(0), U16(220), U16(15), U16(14), U16(7);
    for (int Type = 100; Type <= 220; Type++) {
        if (Type == 100) U8(0), U16(50);          // grass: ground
        if (Type == 123) U8(2), U8(12);           // wall: BOTTOM, UNPASS
        if (Type == 168) U8(4), U8(13);           // chest: CONTAINER, UNMOVE
        if (Type == 176 || Type == 177) U8(4);    // bag, backpack: CONTAINER
        if (Type == 178) U8(5);                   // coins: CUMULATIVE
        if (Type == 182) U8(10);                  // vial: LIQUIDCONTAINER
        if (Type == 188) U8(8), U16(100);         // book: WRITE
        if (Type == 183) U8(10);                  // mug: LIQUIDCONTAINER
        if (Type == 185) U8(11);                  // pool: LIQUIDPOOL
        if (Type == 220 || Type == 219) U8(4), U8(13);  // corpses: CONTAINER, UNMOVE
        // what a player can pick up: containers, coins, vial, book
        if (Type == 176 || Type == 177 || Type == 178 || Type == 182 || Type == 183 || Type == 188 ||
            (Type >= 204 && Type <= 217))
            U8(16);
        Record();
    }
    for (int i = 0; i < 15 + 14 + 7; i++) Record();
    std::ofstream(Dir / "Vorna.dat", std::ios::binary) << B;
    std::string W = "World \"Fuzz\"\nStart 100 100 7\nKey . grass\nKey # grass 123\nArea 7 90 90\n";
    for (int y = 0; y < 20; y++) W += y == 5 ? "|....######..........\n" : "|....................\n";
    W += "End\nPut 101 101 7 178:5 182:1 188\"text\"\nPut 102 100 7 133\nChange 103 103 7 103 104 7\n"
         "Put 99 100 7 168{178:30 176{182:2} 188\"inside\"}\nPut 100 101 7 177{178:7}\n"
         // Things of the fights and conditions: runes, a ring, beer, fire and
         // slime underfoot, creatures that fight back, poison and shoot, an
         // arena around the start, and a temple.
         "Put 101 99 7 210 211 212 213 204 183:3\nPut 102 101 7 166\nPut 98 101 7 185:6\n"
         "Creature 103 100 7 spider \"Spider\" 2 150\nCreature 97 99 7 wolf \"Wolf\" 2 150 30\n"
         "Creature 96 103 7 ghost \"Ghost\" 2 100\nCreature 104 98 7 skeleton \"Skeleton\" 1 100\n"
         "Arena 90 90 109 109 7\nTemple 95 95 7\n";
    std::ofstream(Dir / "fuzz.world") << W;
}

void StartServer() {
    auto Dir = std::filesystem::temp_directory_path() / ("vorna-fuzz-server-" + std::to_string(getpid()));
    std::filesystem::create_directories(Dir);
    WriteData(Dir);
    server::Config Settings;
    Settings.LoginPort = Settings.TestLoginPort = Settings.GamePort = 0;
    Settings.DataDir = Dir.string();
    Settings.WorldFile = (Dir / "fuzz.world").string();
    Settings.StateDir = (Dir / "state").string();
    Settings.LogLevel = 3;
    static std::thread ServerThread;
    ServerThread = std::thread([Settings] {
        int Result = server::Run(
            Settings,
            [](const server::BoundPorts& P, void*) {
                std::lock_guard<std::mutex> Guard(Lock);
                Ports = P;
                Started = true;
                Ready.notify_all();
            },
            nullptr, false);
        if (Result != 0) std::abort();
    });
    // The server's state lives in statics: stop its loop before they are
    // destroyed at exit.
    std::atexit([] {
        server::RequestStop();
        if (ServerThread.joinable()) ServerThread.join();
    });
    std::unique_lock<std::mutex> Guard(Lock);
    Ready.wait(Guard, [] { return Started; });
}

std::string Packet(const std::string& Body) {
    return std::string{char(Body.size() & 0xFF), char(Body.size() >> 8)} + Body;
}

std::string GameLogin(const std::string& Name) {
    std::string B = {10, 2, 0, char(0xF8), 2, 0};
    B += std::string{char(0xA1), char(0x86), 1, 0};  // 100001 or 100002 below
    if (Name == "Kestrel") B[6] = char(0xA2);
    B += std::string{char(Name.size()), 0} + Name + std::string{4, 0} + "demo";
    return Packet(B);
}

// Reads until the server closes or nothing more comes for a moment.
void Drain(asio::io_context& Context, asio::ip::tcp::socket& Socket, int QuietMs) {
    char Block[4096];
    for (;;) {
        bool Done = false, Closed = false;
        Socket.async_read_some(asio::buffer(Block), [&](std::error_code Error, size_t) {
            Done = true;
            Closed = bool(Error);
        });
        Context.restart();
        Context.run_for(std::chrono::milliseconds(QuietMs));
        if (!Done) {
            Socket.cancel();
            Context.restart();
            Context.run();
            return;
        }
        if (Closed) return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static bool Once = (StartServer(), true);
    (void)Once;
    if (Size == 0) return 0;
    static const char* const Names[] = {"Aldric", "Mira", "Kestrel"};
    static unsigned Turn = 0;
    int Mode = Data[0] % 4;  // 0: login port, else the game port after a login
    std::string Bytes(reinterpret_cast<const char*>(Data) + 1, Size - 1);

    asio::io_context Context;
    asio::ip::tcp::socket Socket(Context);
    std::error_code Error;
    int Port = Mode == 0 ? Ports.Login : Ports.Game;
    // A connect may fail for the machine's reasons (ports in TIME_WAIT);
    // only a server that stays unreachable is a failure.
    for (int Attempt = 0; Attempt < 100; Attempt++) {
        Socket.connect({asio::ip::make_address("127.0.0.1"), asio::ip::port_type(Port)}, Error);
        if (!Error) break;
        Socket.close();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (Error) {
        std::fprintf(stderr, "cannot connect to the server: %s\n", Error.message().c_str());
        std::abort();
    }
    if (Mode != 0) {
        asio::write(Socket, asio::buffer(GameLogin(Names[Turn++ % 3])), Error);
        Drain(Context, Socket, 5);
    }
    asio::write(Socket, asio::buffer(Bytes), Error);
    Socket.shutdown(asio::ip::tcp::socket::shutdown_send, Error);
    Drain(Context, Socket, 20);
    Socket.close(Error);
    return 0;
}
