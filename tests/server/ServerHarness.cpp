#include "ServerHarness.h"

#include "server/Server.h"
#include "world/TypeNumbers.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <fstream>
#include <mutex>
#include <random>
#include <set>

namespace servertest {

namespace fs = std::filesystem;

// ---- The test world ------------------------------------------------------------

enum {
    BANK = 0, ONBANK = 1, BOTTOM = 2, CONTAINER = 4, CUMULATIVE = 5, WRITE = 8, WRITEONCE = 9, LIQUIDCONTAINER = 10,
    LIQUIDPOOL = 11, UNPASS = 12, UNMOVE = 13, TAKE = 16, ROTATE = 20, LIGHT = 21
};

struct TypeSpec {
    int Type;
    std::vector<int> Flags;
    int Bank;
};

static const std::vector<TypeSpec> Specs = {
    {TYPE_GRASS, {BANK}, 50},           {TYPE_WOODEN_FLOOR, {BANK}, 120},
    {TYPE_WATER, {BANK, UNPASS}, 300},   {TYPE_CAVE_FLOOR, {BANK}, 50},
    {TYPE_STONE_WALL_H, {BOTTOM, UNPASS, UNMOVE}, 0},
    {TYPE_STAIRS_DOWN, {ONBANK}, 0},     {TYPE_RAMP_UP, {ONBANK}, 0},
    {TYPE_GOLD_COIN, {CUMULATIVE, TAKE}, 0}, {TYPE_VIAL, {LIQUIDCONTAINER, TAKE}, 0},
    {TYPE_POOL, {LIQUIDPOOL}, 0},
    {TYPE_DIRT, {BANK}, 50},             {TYPE_COBBLESTONE, {BANK}, 40},
    {TYPE_ROOF, {BANK}, 50},             {TYPE_ROOF_RIDGE, {BANK}, 50},
    {TYPE_DOOR_H_CLOSED, {BOTTOM, UNPASS, UNMOVE}, 0}, {TYPE_DOOR_H_OPEN, {BOTTOM, UNMOVE}, 0},
    {TYPE_TIMBER_WALL_H, {BOTTOM, UNPASS, UNMOVE}, 0}, {TYPE_STONE_WALL_V, {BOTTOM, UNPASS, UNMOVE}, 0},
    {TYPE_LADDER, {ONBANK}, 0},          {TYPE_HOLE, {ONBANK}, 0},
    {TYPE_LEVER_LEFT, {UNMOVE}, 0},      {TYPE_LEVER_RIGHT, {UNMOVE}, 0},
    {TYPE_BOOK, {WRITE, TAKE}, 0},       {TYPE_SIGN, {WRITEONCE, UNMOVE}, 0},
    {TYPE_APPLE, {CUMULATIVE, TAKE}, 0},
    // Containers, equipment and the other things of the objects tests.
    {TYPE_BAG, {CONTAINER, TAKE}, 0},    {TYPE_BACKPACK, {CONTAINER, TAKE}, 0},
    {TYPE_CHEST, {BOTTOM, CONTAINER, UNMOVE}, 0}, {TYPE_DEPOT_BOX, {BOTTOM, CONTAINER, UNMOVE}, 0},
    {TYPE_CORPSE_BEAST, {CONTAINER, UNMOVE}, 0},
    {TYPE_ARROW, {CUMULATIVE, TAKE}, 0}, {TYPE_SWORD, {TAKE}, 0},   {TYPE_MACE, {TAKE}, 0},
    {TYPE_BOW, {TAKE}, 0},               {TYPE_CHAIN_ARMOR, {TAKE}, 0}, {TYPE_LEATHER_ARMOR, {TAKE}, 0},
    {TYPE_LEATHER_HELMET, {TAKE}, 0},    {TYPE_WOODEN_SHIELD, {TAKE}, 0}, {TYPE_LEATHER_LEGS, {TAKE}, 0},
    {TYPE_LEATHER_BOOTS, {TAKE}, 0},     {TYPE_ROPE, {TAKE}, 0},    {TYPE_TORCH, {TAKE, LIGHT}, 0},
    {TYPE_BREAD, {TAKE}, 0},             {TYPE_HAM, {TAKE}, 0},     {TYPE_FISH, {TAKE}, 0},
    {TYPE_BLANK_RUNE, {TAKE}, 0},        {TYPE_KEY, {TAKE}, 0},
    {TYPE_CHAIR_N, {BOTTOM, ROTATE}, 0}, {TYPE_CHAIR_E, {BOTTOM, ROTATE}, 0},
    {TYPE_CHAIR_S, {BOTTOM, ROTATE}, 0}, {TYPE_CHAIR_W, {BOTTOM, ROTATE}, 0},
    {TYPE_GATE_H_CLOSED, {BOTTOM, UNPASS, UNMOVE}, 0}, {TYPE_GATE_H_OPEN, {BOTTOM, UNMOVE}, 0},
    // Fights and conditions.
    {TYPE_FIRE_FIELD, {}, 0},            {TYPE_FIRE_RUNE, {TAKE}, 0}, {TYPE_ENERGY_RUNE, {TAKE}, 0},
    {TYPE_HEALING_RUNE, {TAKE}, 0},      {TYPE_RING, {TAKE}, 0},    {TYPE_MUG, {LIQUIDCONTAINER, TAKE}, 0},
    {TYPE_CORPSE_HUMAN, {CONTAINER, UNMOVE}, 0}, {TYPE_CRATE, {TAKE}, 0},
    {TYPE_BLACKBOARD, {WRITE, UNMOVE}, 0}, {TYPE_FISHING_ROD, {TAKE}, 0},
};

bool TypeHasFlag(int Type, int Flag) {
    if (Type == 99) return Flag == UNPASS;
    for (const TypeSpec& S : Specs)
        if (S.Type == Type) return std::find(S.Flags.begin(), S.Flags.end(), Flag) != S.Flags.end();
    return false;
}

void WriteTestDat(const fs::path& File) {
    std::string B;
    auto U8 = [&](int v) { B.push_back(char(v & 0xFF)); };
    auto U16 = [&](int v) { U8(v), U8(v >> 8); };
    auto Simple = [&] {  // 1 x 1, one sprite
        U8(255);
        for (int v : {1, 1, 1, 1, 1, 1, 1}) U8(v);
        U16(0);
    };
    U16(0x5678), U16(0x1234);  // signature 0x12345678
    U16(LAST_ITEM_TYPE), U16(NUMBER_OF_OUTFITS), U16(NUMBER_OF_EFFECTS), U16(NUMBER_OF_MISSILES);
    for (int Type = 100; Type <= LAST_ITEM_TYPE; Type++) {
        for (const TypeSpec& S : Specs) {
            if (S.Type != Type) continue;
            for (int F : S.Flags) {
                U8(F);
                if (F == BANK) U16(S.Bank);
                if (F == 8 || F == 9) U16(200);  // WRITE, WRITEONCE: text length
                if (F == LIGHT) U16(4), U16(206);  // brightness, colour
            }
        }
        Simple();
    }
    for (int i = 0; i < NUMBER_OF_OUTFITS + NUMBER_OF_EFFECTS + NUMBER_OF_MISSILES; i++) Simple();
    std::ofstream(File, std::ios::binary) << B;
}

void WriteTestWorld(const fs::path& File) {
    std::string W = "# test world\nWorld \"Testland\"\nStart 102 102 7\n";
    W += "Key . grass\nKey # grass stone_wall_h\nKey ~ water\nKey w wooden_floor\nKey c cave_floor\n";
    W += "Key s grass stairs_down\nKey r cave_floor ramp_up\n";
    W += "Area 7 100 100\n";
    for (int y = 100; y <= 129; y++) {
        std::string Row = "|";
        for (int x = 100; x <= 139; x++) {
            char c = '.';
            if (x == 104 && y <= 103) c = '#';
            if (x >= 120 && x <= 122 && y >= 120 && y <= 122) c = '~';
            if (x == 103 && y == 105) c = 's';
            Row += c;
        }
        W += Row + "\n";
    }
    W += "End\nArea 6 100 100\n";
    for (int y = 0; y < 5; y++) W += "|wwwww\n";
    W += "End\nArea 8 100 100\n";
    for (int y = 100; y <= 115; y++) {
        std::string Row = "|";
        for (int x = 100; x <= 115; x++) Row += (x == 104 && y == 106) ? 'r' : 'c';
        W += Row + "\n";
    }
    W += "End\n";
    W += "Put 102 101 7 ladder\nChange 102 101 7 102 101 6\n";
    W += "Put 100 102 7 door_h_closed\nPut 101 103 7 book\"Old\"\n";
    W += "Put 105 105 7 gold_coin:7\nPut 106 105 7 vial:1\nPut 107 105 7 pool:5\n";
    W += "Change 103 105 7 103 105 8\nChange 104 106 8 104 105 7\n";
    W += "Put 110 101 7 chest{bag{gold_coin:10} sword arrow:60}\nPut 111 101 7 depot_box{gold_coin:30}\n";
    W += "Put 112 101 7 chain_armor\nPut 113 101 7 arrow:90\nPut 110 103 7 backpack{apple:3}\n";
    W += "Put 111 103 7 chair_n\nPut 112 103 7 key\n";
    W += "Put 116 100 7 gate_h_closed\nList 116 100 7 \"Aldric\" \"Mira\"\n";
    W += "Creature 125 101 7 chicken \"Chicken\" 0 60\n";
    // The far corner: fights and conditions (after the chicken, so that the
    // chicken keeps the first creature id), an arena and a temple.
    W += "Put 128 110 7 fire_field\nPut 129 110 7 pool:6\nPut 126 110 7 crate\nPut 127 112 7 blackboard\"Hello\"\n";
    W += "Creature 134 126 7 spider \"Spider\" 0 60\nCreature 128 126 7 wolf \"Wolf\" 0 60 60\n";
    W += "Creature 138 116 7 skeleton \"Skeleton\" 0 60\n";
    W += "Temple 105 102 7\nArena 114 100 119 102 7\n";
    // One of the world's people, by the lake.
    W += "Creature 124 121 7 citizen \"Haldor\" 0 100\n";
    std::ofstream(File, std::ios::binary) << W;
}

std::vector<std::pair<int, int>> ExpectedField(const Position& P) {
    std::vector<std::pair<int, int>> F;
    if (P.z == 7 && P.x >= 100 && P.x <= 139 && P.y >= 100 && P.y <= 129) {
        bool Water = P.x >= 120 && P.x <= 122 && P.y >= 120 && P.y <= 122;
        F.push_back({Water ? TYPE_WATER : TYPE_GRASS, 0});
        if (P.x == 103 && P.y == 105) F.push_back({TYPE_STAIRS_DOWN, 0});
        if (P.x == 104 && P.y <= 103) F.push_back({TYPE_STONE_WALL_H, 0});
        if (P.y == 105 && P.x == 105) F.push_back({TYPE_GOLD_COIN, 7});
        if (P.y == 102 && P.x == 100) F.push_back({TYPE_DOOR_H_CLOSED, 0});
        if (P.y == 101 && P.x == 102) F.push_back({TYPE_LADDER, 0});
        if (P.y == 103 && P.x == 101) F.push_back({TYPE_BOOK, 0});
        if (P.y == 105 && P.x == 106) F.push_back({TYPE_VIAL, 1});
        if (P.y == 105 && P.x == 107) F.push_back({TYPE_POOL, 5});
        if (P.y == 101 && P.x == 110) F.push_back({TYPE_CHEST, 0});
        if (P.y == 101 && P.x == 111) F.push_back({TYPE_DEPOT_BOX, 0});
        if (P.y == 101 && P.x == 112) F.push_back({TYPE_CHAIN_ARMOR, 0});
        if (P.y == 101 && P.x == 113) F.push_back({TYPE_ARROW, 90});
        if (P.y == 103 && P.x == 110) F.push_back({TYPE_BACKPACK, 0});
        if (P.y == 103 && P.x == 111) F.push_back({TYPE_CHAIR_N, 0});
        if (P.y == 103 && P.x == 112) F.push_back({TYPE_KEY, 0});
        if (P.y == 100 && P.x == 116) F.push_back({TYPE_GATE_H_CLOSED, 0});
        if (P.y == 110 && P.x == 128) F.push_back({TYPE_FIRE_FIELD, 0});
        if (P.y == 110 && P.x == 129) F.push_back({TYPE_POOL, 6});
        if (P.y == 110 && P.x == 126) F.push_back({TYPE_CRATE, 0});
        if (P.y == 112 && P.x == 127) F.push_back({TYPE_BLACKBOARD, 0});
    } else if (P.z == 6 && P.x >= 100 && P.x <= 104 && P.y >= 100 && P.y <= 104) {
        F.push_back({TYPE_WOODEN_FLOOR, 0});
    } else if (P.z == 8 && P.x >= 100 && P.x <= 115 && P.y >= 100 && P.y <= 115) {
        F.push_back({TYPE_CAVE_FLOOR, 0});
        if (P.x == 104 && P.y == 106) F.push_back({TYPE_RAMP_UP, 0});
    }
    return F;
}

// ---- The server ------------------------------------------------------------------

namespace {
struct ReadyState {
    std::mutex Lock;
    std::condition_variable Signal;
    bool Ready = false;
    server::BoundPorts Ports;
};
}  // namespace

ServerRunner::ServerRunner(const std::string& ExtraSettings) {
    std::random_device Seed;
    for (;;) {
        Dir = fs::temp_directory_path() / ("vorna-server-test-" + std::to_string(Seed()));
        if (fs::create_directory(Dir)) break;
    }
    StateDir = Dir / "state";
    fs::create_directories(StateDir);
    WriteTestDat(Dir / "Vorna.dat");
    WriteTestWorld(Dir / "test.world");
    if (!ExtraSettings.empty()) std::ofstream(StateDir / "server.txt") << ExtraSettings;
    Start();
}

void ServerRunner::Start() {
    auto State = std::make_shared<ReadyState>();
    server::Config Settings;
    Settings.LoginPort = Settings.TestLoginPort = Settings.GamePort = 0;
    Settings.DataDir = Dir.string();
    Settings.WorldFile = (Dir / "test.world").string();
    Settings.StateDir = StateDir.string();
    Settings.LogLevel = 3;
    Thread = std::thread([Settings, State] {
        int Result = server::Run(
            Settings,
            [](const server::BoundPorts& Ports, void* Data) {
                auto* S = static_cast<ReadyState*>(Data);
                std::lock_guard<std::mutex> Guard(S->Lock);
                S->Ports = Ports;
                S->Ready = true;
                S->Signal.notify_all();
            },
            State.get(), false);
        if (Result != 0) {
            std::lock_guard<std::mutex> Guard(State->Lock);
            State->Ready = true;
            State->Signal.notify_all();
        }
    });
    {
        std::unique_lock<std::mutex> Guard(State->Lock);
        State->Signal.wait(Guard, [&] { return State->Ready; });
    }
    LoginPort = State->Ports.Login;
    TestLoginPort = State->Ports.TestLogin;
    GamePort = State->Ports.Game;
    Running = true;
}

void ServerRunner::Stop() {
    if (!Running) return;
    server::RequestStop();
    if (Thread.joinable()) Thread.join();
    Running = false;
}

void ServerRunner::SetCharacterValues(const std::string& Name,
                                      const std::vector<std::pair<std::string, std::string>>& Values) {
    Stop();
    std::map<std::string, std::string> Wanted(Values.rbegin(), Values.rend());  // the last one of a key counts
    for (const auto& [Key, Value] : Values) Wanted[Key] = Value;
    std::string Lower = Name;
    for (char& c : Lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    fs::path File = StateDir / "characters" / (Lower + ".txt");
    std::ifstream In(File);
    std::string Line, Text;
    while (std::getline(In, Line)) {
        std::string Key = Line.substr(0, Line.find(" = "));
        auto It = Wanted.find(Key);
        if (It != Wanted.end()) {
            Line = Key + " = " + It->second;
            Wanted.erase(It);
        }
        Text += Line + "\n";
    }
    In.close();
    for (const auto& [Key, Value] : Wanted) Text += Key + " = " + Value + "\n";
    std::ofstream(File, std::ios::binary) << Text;
    Start();
}

ServerRunner::~ServerRunner() {
    Stop();
    std::error_code Ignored;
    fs::remove_all(Dir, Ignored);
}

// ---- A client on the wire -----------------------------------------------------------

TestClient::TestClient(int Port) : Socket(Context) {
    Socket.connect(asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), asio::ip::port_type(Port)));
    Socket.set_option(asio::ip::tcp::no_delay(true));
}

void TestClient::SendRaw(const Bytes& Data) {
    std::error_code Ignored;
    asio::write(Socket, asio::buffer(Data), Ignored);
}

void TestClient::SendPacket(const Bytes& Body) {
    Bytes Data{uint8_t(Body.size()), uint8_t(Body.size() >> 8)};
    Data.insert(Data.end(), Body.begin(), Body.end());
    SendRaw(Data);
}

bool TestClient::ReadExactly(uint8_t* Data, size_t Count, int TimeoutMs) {
    bool Done = false, Failed = false;
    asio::async_read(Socket, asio::buffer(Data, Count), [&](std::error_code Error, size_t) {
        Done = true;
        Failed = bool(Error);
    });
    Context.restart();
    Context.run_for(std::chrono::milliseconds(TimeoutMs));
    if (!Done) {
        Socket.cancel();
        Context.restart();
        Context.run();
        return false;
    }
    return !Failed;
}

std::optional<Bytes> TestClient::ReadPacket(int TimeoutMs) {
    uint8_t Length[2];
    if (!ReadExactly(Length, 2, TimeoutMs)) return std::nullopt;
    Bytes Body(size_t(Length[0] | (Length[1] << 8)));
    if (!Body.empty() && !ReadExactly(Body.data(), Body.size(), TimeoutMs)) return std::nullopt;
    return Body;
}

bool TestClient::WaitClosed(int TimeoutMs) {
    uint8_t Byte;
    for (;;) {
        bool Done = false;
        std::error_code Result;
        Socket.async_read_some(asio::buffer(&Byte, 1), [&](std::error_code Error, size_t) {
            Done = true;
            Result = Error;
        });
        Context.restart();
        Context.run_for(std::chrono::milliseconds(TimeoutMs));
        if (!Done) {
            Socket.cancel();
            Context.restart();
            Context.run();
            return false;
        }
        if (Result) return true;  // end of stream or reset
    }
}

Bytes LoginRequest(uint32_t Account, const std::string& Password) {
    return Packet().Byte(1).Word(2).Word(760).Quad(0x12345678).Quad(0).Quad(0).Quad(Account).String(Password).Data;
}

Bytes GameLogin(uint32_t Account, const std::string& Name, const std::string& Password) {
    return Packet().Byte(10).Word(2).Word(760).Byte(0).Quad(Account).String(Name).String(Password).Data;
}

GamePlayer::GamePlayer(int Port, uint32_t Account, const std::string& Name) : Client(Port) {
    Client.SendPacket(GameLogin(Account, Name, "demo"));
    EXPECT_TRUE(ReadUntil([&] { return Saw(100) && Saw(162); })) << Name << " did not enter the game";
}

bool GamePlayer::ReadUntil(const std::function<bool()>& Done, int TimeoutMs) {
    auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
    while (!Done()) {
        auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - std::chrono::steady_clock::now());
        if (Left.count() <= 0) return false;
        auto Body = Client.ReadPacket(int(Left.count()));
        if (!Body) return false;
        View.Decode(*Body);
    }
    return true;
}

bool GamePlayer::Do(const Bytes& Body, int Command) {
    View.Commands.clear();
    Client.SendPacket(Body);
    return ReadUntil([&] { return Saw(Command); });
}

bool GamePlayer::Saw(int Command) const {
    return std::find(View.Commands.begin(), View.Commands.end(), Command) != View.Commands.end();
}

void GamePlayer::Settle(int QuietMs) {
    while (auto Body = Client.ReadPacket(QuietMs)) View.Decode(*Body);
}

// ---- The client's view, decoded ---------------------------------------------------------

struct ClientView::Reader {
    const Bytes& B;
    size_t At = 0;
    bool Failed = false;
    int U8() {
        if (At >= B.size()) {
            Failed = true;
            return 0;
        }
        return B[At++];
    }
    int U16() { int Low = U8(); return Low | (U8() << 8); }
    uint32_t U32() { uint32_t Low = uint32_t(U16()); return Low | (uint32_t(U16()) << 16); }
    std::string Str() {
        int L = U16();
        if (At + size_t(L) > B.size()) {
            Failed = true;
            return "";
        }
        std::string S(B.begin() + long(At), B.begin() + long(At) + L);
        At += size_t(L);
        return S;
    }
    Position Pos() {
        Position P;
        P.x = U16();
        P.y = U16();
        P.z = U8();
        return P;
    }
};

Position ClientView::Absolute(int rx, int ry, int rz) const {
    int L = PlayerLevel();
    return {rx + MapPos.x + (rz - L) - 8, ry + MapPos.y + (rz - L) - 6, MapPos.z + L - rz};
}

std::vector<int> ClientView::Levels() const {
    std::vector<int> Result;
    if (MapPos.z <= 7) {
        for (int l = 0; l <= 7; l++) Result.push_back(l);
    } else {
        for (int l = 4; l >= 0 && l > MapPos.z - 14; l--) Result.push_back(l);
    }
    return Result;
}

void ClientView::Place(uint32_t ID, const Position& Where) {
    auto It = Creatures.find(ID);
    if (It != Creatures.end()) It->second.Pos = Where;
}

Thing ClientView::ReadThing(Reader& R, const Position& Where) {
    int Id = R.U16();
    auto Description = [&](SeenCreature* C) {
        int Health = R.U8();
        int Direction = R.U8();
        int Outfit = R.U8();
        if (Outfit != 0) R.U32();
        else R.U16();
        int Light = R.U8();
        R.U8();
        int Speed = R.U16();
        int Skull = R.U8();
        int Shield = R.U8();
        if (C) {
            C->Direction = Direction, C->Outfit = Outfit, C->Speed = Speed, C->Health = Health, C->Shield = Shield;
            C->Light = Light, C->Skull = Skull;
        }
    };
    if (Id == 97) {
        uint32_t Forget = R.U32();
        uint32_t New = R.U32();
        Creatures.erase(Forget);
        SeenCreature& C = Creatures[New];
        C.Name = R.Str();
        Description(&C);
        C.Pos = Where;
        return {99, int(New)};
    }
    if (Id == 98) {
        uint32_t ID = R.U32();
        auto It = Creatures.find(ID);
        Description(It == Creatures.end() ? nullptr : &It->second);
        Place(ID, Where);
        return {99, int(ID)};
    }
    if (Id == 99) {
        uint32_t ID = R.U32();
        int Direction = R.U8();
        auto It = Creatures.find(ID);
        if (It != Creatures.end()) It->second.Direction = Direction;
        Place(ID, Where);
        return {99, int(ID)};
    }
    Thing T{Id, 0};
    if (TypeHasFlag(Id, CUMULATIVE)) T.Data = R.U8();
    if (TypeHasFlag(Id, LIQUIDPOOL)) T.Data = R.U8();
    if (TypeHasFlag(Id, LIQUIDCONTAINER)) T.Data = R.U8();
    return T;
}

void ClientView::Description(Reader& R, const std::vector<Position>& Order) {
    for (const Position& P : Order) {
        std::vector<Thing>& F = FieldAt(P);
        F.clear();
        if (Skip > 0) {
            Skip--;
            continue;
        }
        for (;;) {
            if (R.Failed) return;
            int Peek = R.At + 1 < R.B.size() ? (R.B[R.At] | (R.B[R.At + 1] << 8)) : -1;
            if (Peek >= 0xFF00) {
                R.U16();
                Skip = Peek & 0xFF;
                break;
            }
            if (F.size() >= 10) {
                ADD_FAILURE() << "more than 10 things on a field";
                R.Failed = true;
                return;
            }
            F.push_back(ReadThing(R, P));
        }
    }
}

static int StackClass(const Thing& T) {
    if (TypeHasFlag(T.Type, BANK)) return 0;
    if (TypeHasFlag(T.Type, ONBANK)) return 1;
    if (TypeHasFlag(T.Type, BOTTOM)) return 2;
    if (T.Type == 99) return 4;
    return 5;
}

// The client's stacking rule for the classes the tests use (no TOP objects).
static void InsertByStacking(std::vector<Thing>& F, const Thing& T) {
    size_t p = 0;
    int N = StackClass(T);
    for (; p < F.size(); p++) {
        if (StackClass(F[p]) >= N) break;
    }
    if (F.size() < 10) F.insert(F.begin() + long(p), T);
}

void ClientView::Decode(const Bytes& Body) {
    Reader R{Body};
    auto Fields = [&](auto Each) {
        std::vector<Position> Order;
        Each(Order);
        return Order;
    };
    auto Rect = [&](int X0, int X1, int Y0, int Y1, const std::vector<int>& Levels) {
        return Fields([&](std::vector<Position>& Order) {
            for (int l : Levels)
                for (int x = X0; x <= X1; x++)
                    for (int y = Y0; y <= Y1; y++) Order.push_back(Absolute(x, y, l));
        });
    };
    while (R.At < Body.size() && !R.Failed) {
        const size_t Start = R.At;
        int Command = R.U8();
        Commands.push_back(Command);
        Everything.insert(Command);
        Skip = 0;
        switch (Command) {
            case 10:
                PlayerID = R.U32();
                R.U16();
                R.U8();
                break;
            case 20: Error = R.Str(); break;
            case 21: Information = R.Str(); break;
            case 22: R.Str(), R.U8(); break;
            case 30: break;
            case 100:
                MapPos = R.Pos();
                Description(R, Rect(0, 17, 0, 13, Levels()));
                break;
            case 101: MapPos.y--; Description(R, Rect(0, 17, 0, 0, Levels())); break;
            case 102: MapPos.x++; Description(R, Rect(17, 17, 0, 13, Levels())); break;
            case 103: MapPos.y++; Description(R, Rect(0, 17, 13, 13, Levels())); break;
            case 104: MapPos.x--; Description(R, Rect(0, 0, 0, 13, Levels())); break;
            case 105: {
                Position P = R.Pos();
                Description(R, {P});
                break;
            }
            case 106: {
                Position P = R.Pos();
                Thing T = ReadThing(R, P);
                InsertByStacking(FieldAt(P), T);
                break;
            }
            case 107: {
                Position P = R.Pos();
                int Stack = R.U8();
                Thing T = ReadThing(R, P);
                auto& F = FieldAt(P);
                if (Stack < int(F.size())) F[size_t(Stack)] = T;
                else ADD_FAILURE() << "change of a missing thing";
                break;
            }
            case 108: {
                Position P = R.Pos();
                int Stack = R.U8();
                auto& F = FieldAt(P);
                if (Stack < int(F.size())) F.erase(F.begin() + Stack);
                else ADD_FAILURE() << "removal of a missing thing";
                break;
            }
            case 109: {
                Position From = R.Pos();
                int Stack = R.U8();
                Position To = R.Pos();
                auto& F = FieldAt(From);
                if (Stack >= int(F.size()) || F[size_t(Stack)].Type != 99) {
                    ADD_FAILURE() << "move of a thing that is not a creature at [" << From.x << "," << From.y << ","
                                  << From.z << "] stack " << Stack;
                    break;
                }
                Thing T = F[size_t(Stack)];
                F.erase(F.begin() + Stack);
                InsertByStacking(FieldAt(To), T);
                Place(uint32_t(T.Data), To);
                break;
            }
            case 110: {
                int Number = R.U8();
                SeenContainer C;
                C.Type = R.U16();
                C.Name = R.Str();
                C.Capacity = R.U8();
                C.HasParent = R.U8() != 0;
                int Count = R.U8();
                for (int i = 0; i < Count && !R.Failed; i++) C.Objects.push_back(ReadThing(R, {}));
                if (Number > 15) ADD_FAILURE() << "container number " << Number;
                Containers[Number] = C;
                break;
            }
            case 111: Containers.erase(R.U8()); break;
            case 112: case 113: case 114: {
                // The client asserts that the container is open.
                int Number = R.U8();
                int Place = Command == 112 ? 0 : R.U8();
                Thing T;
                if (Command != 114) T = ReadThing(R, {});
                auto It = Containers.find(Number);
                if (It == Containers.end()) {
                    ADD_FAILURE() << "message " << Command << " for container " << Number << ", which is not open";
                    break;
                }
                auto& Objects = It->second.Objects;
                if (Command == 112) {
                    if (Objects.size() >= 36) Objects.pop_back();
                    Objects.insert(Objects.begin(), T);
                } else if (Place < int(Objects.size())) {
                    if (Command == 113) Objects[size_t(Place)] = T;
                    else Objects.erase(Objects.begin() + Place);
                } else {
                    ADD_FAILURE() << "message " << Command << " for place " << Place << " of " << Objects.size();
                }
                break;
            }
            case 120: case 121: {
                int Slot = R.U8();
                Thing T;
                if (Command == 120) T = ReadThing(R, {});
                if (Slot >= 1 && Slot <= 10) {
                    Inventory[size_t(Slot)] = T.Type;
                    Slots[size_t(Slot)] = T;
                } else {
                    ADD_FAILURE() << "body slot " << Slot;
                }
                break;
            }
            case 125: case 126: {
                SeenOffer O;
                O.Partner = R.Str();
                int Count = R.U8();
                for (int i = 0; i < Count && !R.Failed; i++) O.Objects.push_back(ReadThing(R, {}));
                if (Command == 125) {
                    if (OwnOffer) ADD_FAILURE() << "a second own offer";  // the client asserts
                    OwnOffer = O;
                } else if (!CounterOffer) {
                    CounterOffer = O;
                }
                break;
            }
            case 127:
                TradeCloses++;
                OwnOffer.reset();
                CounterOffer.reset();
                break;
            case 132: R.Pos(), R.U8(), R.Str(); break;
            case 140: {
                uint32_t ID = R.U32();
                int Health = R.U8();
                if (Creatures.count(ID)) Creatures[ID].Health = Health;
                break;
            }
            case 145: {
                uint32_t ID = R.U32();
                int Shield = R.U8();
                if (Creatures.count(ID)) Creatures[ID].Shield = Shield;
                break;
            }
            case 151:
                EditListKind = R.U8();
                EditListID = R.U32();
                EditListText = R.Str();
                break;
            case 163: TargetClears++; break;
            case 130: AmbientBrightness = R.U8(); R.U8(); break;
            case 131: R.Pos(), R.U8(); break;
            case 142: {
                uint32_t ID = R.U32();
                int Outfit = R.U8();
                if (Outfit) R.U32();
                else R.U16();
                if (Creatures.count(ID)) Creatures[ID].Outfit = Outfit;
                break;
            }
            case 160:
                HitPoints = R.U16();
                MaxHitPoints = R.U16();
                Capacity = R.U16();
                Experience = R.U32();
                Level = R.U16();
                LevelPercent = R.U8();
                Mana = R.U16();
                MaxMana = R.U16();
                MagicLevel = R.U8();
                MagicLevelPercent = R.U8();
                Soul = R.U8();
                break;
            case 161:
                for (int i = 0; i < 7; i++) Skills[size_t(i)] = {R.U8(), R.U8()};
                break;
            case 162: Conditions = R.U8(); break;
            case 11: for (int i = 0; i < 32; i++) Rights[size_t(i)] = R.U8(); break;
            case 134: {
                uint32_t ID = R.U32();
                Marks.push_back({ID, R.U8()});
                break;
            }
            case 141: {
                uint32_t ID = R.U32();
                int Level = R.U8();
                R.U8();
                if (Creatures.count(ID)) Creatures[ID].Light = Level;
                break;
            }
            case 143: {
                uint32_t ID = R.U32();
                int Speed = R.U16();
                if (Creatures.count(ID)) Creatures[ID].Speed = Speed;
                break;
            }
            case 144: {
                uint32_t ID = R.U32();
                int Skull = R.U8();
                if (Creatures.count(ID)) Creatures[ID].Skull = Skull;
                break;
            }
            case 133: R.Pos(), R.Pos(), R.U8(); break;
            case 170: {
                TalkSeen T;
                T.Speaker = R.Str();
                T.Mode = R.U8();
                if (T.Mode == 1 || T.Mode == 2 || T.Mode == 3 || T.Mode == 16 || T.Mode == 17) R.Pos();
                if (T.Mode == 5 || T.Mode == 10 || T.Mode == 12 || T.Mode == 14) T.Channel = R.U16();
                if (T.Mode == 6) T.Number = R.U32();
                T.Text = R.Str();
                Talk.push_back(T);
                break;
            }
            case 171: {
                ChannelList.clear();
                int Count = R.U8();
                for (int i = 0; i < Count; i++) {
                    int ID = R.U16();
                    ChannelList.push_back({ID, R.Str()});
                }
                break;
            }
            case 172: case 178: {
                int ID = R.U16();
                OpenedChannels.push_back({ID, R.Str()});
                break;
            }
            case 173: OpenedChannels.push_back({-1, R.Str()}); break;
            case 174: R.U16(); break;
            case 175: case 176: R.Str(); break;
            case 177: break;
            case 179: ClosedChannels.push_back(R.U16()); break;
            case 180: {
                int Type = R.U8();
                TextMessages.push_back({Type, R.Str()});
                break;
            }
            case 181: WalkCancels.push_back(R.U8()); break;
            case 190: {
                MapPos = {MapPos.x + 1, MapPos.y + 1, MapPos.z - 1};
                std::vector<int> Levels;
                if (MapPos.z > 7) Levels = {4};
                else if (MapPos.z == 7) Levels = {2, 3, 4, 5, 6, 7};
                Description(R, Rect(0, 17, 0, 13, Levels));
                break;
            }
            case 191: {
                MapPos = {MapPos.x - 1, MapPos.y - 1, MapPos.z + 1};
                std::vector<int> Levels;
                if (MapPos.z > 8) {
                    if (MapPos.z < 14) Levels = {0};
                } else if (MapPos.z == 8) {
                    Levels = {2, 1, 0};
                }
                Description(R, Rect(0, 17, 0, 13, Levels));
                break;
            }
            case 150: {
                EditTextID = R.U32();
                R.U16(), R.U16();
                EditText = R.Str();
                R.Str();
                break;
            }
            case 200: for (int i = 0; i < 7; i++) R.U8(); break;
            case 210: {
                uint32_t ID = R.U32();
                std::string Name = R.Str();
                R.U8();
                Buddies.push_back({ID, Name});
                break;
            }
            case 211: case 212: R.U32(); break;
            default:
                ADD_FAILURE() << "unexpected command " << Command;
                R.Failed = true;
        }
        if (Command >= 170 && Command <= 180 && R.At <= Body.size())
            TalkMessages.emplace_back(Body.begin() + long(Start), Body.begin() + long(R.At));
    }
    EXPECT_FALSE(R.Failed) << "message ran past the end of its packet";
}

std::string ClientView::CompareWithWorld() const {
    for (int l : Levels()) {
        for (int x = 0; x < 18; x++) {
            for (int y = 0; y < 14; y++) {
                Position P = Absolute(x, y, l);
                auto It = Fields.find({P.x, P.y, P.z});
                std::vector<std::pair<int, int>> Seen;
                if (It != Fields.end())
                    for (const Thing& T : It->second)
                        if (T.Type != 99) Seen.push_back({T.Type, T.Data});
                auto Want = ExpectedField(P);
                if (Seen != Want) {
                    return "field [" + std::to_string(P.x) + "," + std::to_string(P.y) + "," + std::to_string(P.z) +
                           "] holds " + std::to_string(Seen.size()) + " objects (" +
                           (It == Fields.end() ? std::string("never described") : std::string("described")) +
                           "), the world " + std::to_string(Want.size());
                }
            }
        }
    }
    return "";
}

}  // namespace servertest
