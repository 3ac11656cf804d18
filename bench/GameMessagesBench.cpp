// Decoding game messages through the dispatcher: a full map of a busy area
// (all 8 floors, stacked fields, many creatures) and a long stream of the
// messages that arrive while walking among other creatures.
#include "BenchWorld.h"
#include "app/Control.h"
#include "app/GameProtocol.h"
#include "core/Status.h"
#include "net/GameMessages.h"
#include "net/Network.h"
#include "world/Creatures.h"
#include "world/Inventory.h"
#include "world/Map.h"
#include "world/Objects.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string Bytes(std::initializer_list<int> Values) {
    std::string s;
    for (int v : Values) s.push_back(char(v & 0xFF));
    return s;
}
std::string Word(int v) { return Bytes({v, v >> 8}); }
std::string Quad(uint32_t v) { return Bytes({int(v), int(v >> 8), int(v >> 16), int(v >> 24)}); }
std::string String(const std::string& s) { return Word(int(s.size())) + s; }
std::string Packet(const std::string& Body) { return Word(int(Body.size())) + Body; }

void Nothing() {}

void SetUpOnce() {
    static bool Done = false;
    if (Done) return;
    Done = true;
    benchworld::EnterTempDir();
    benchworld::WriteObjects("Vorna.dat");
    LoadObjects("Vorna.dat");
    InitMap(CreatureOffMap);
    InitInventory();
    InitCreatures();
    InitStatus(0, Nothing);
    InitNetwork(ControlConnectHandler, ControlReceiveHandler, ControlCloseHandler);
    InitControl();
    ControlHooks Hooks;
    Hooks.DrawFrame = Nothing;
    SetControlHooks(Hooks);
    InitGameMessages();
    AttachGameMessageHandlers();
    SetConnectionState(STATE_GAME);
    SetPlayerID(0x10000001);
}

// A creature thing that reuses its own record, so repeated decoding keeps
// the table as it is.
std::string CreatureThing(uint32_t ID) {
    return Word(97) + Quad(ID) + Quad(ID) + String("Creature") + Bytes({100, 2, 1, 1, 2, 3, 4, 0, 0}) + Word(220) +
           Bytes({0, 0});
}

std::string BusyFullMap() {
    std::string m = Bytes({100}) + Word(1000) + Word(1000) + Bytes({7});
    int Creatures = 0;
    for (int rz = 0; rz < MAPSIZE_Z; rz++)
        for (int rx = 0; rx < MAPSIZE_X; rx++)
            for (int ry = 0; ry < MAPSIZE_Y; ry++) {
                m += Word(100);
                m += Word(103);
                if (rz == 0) {
                    m += Word(101);
                    if ((rx * 14 + ry) % 4 == 0) m += CreatureThing(0x40000000 + uint32_t(++Creatures));
                }
                m += Word(0xFF00);
            }
    return m;
}

void Feed(const std::string& Bytes) {
    InjectReceivedBytes(reinterpret_cast<const uint8_t*>(Bytes.data()), int(Bytes.size()));
}

void BM_FullMapBusyArea(benchmark::State& State) {
    SetUpOnce();
    const std::string P = Packet(BusyFullMap());
    for (auto _ : State) Feed(P);
    State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(P.size()));
    State.counters["packet_bytes"] = double(P.size());
}
BENCHMARK(BM_FullMapBusyArea)->Unit(benchmark::kMicrosecond);

// One round of walking north and back south among creatures: the move of a
// creature, a new row, health, speech, a text message, an effect.
// The creature of field (9, 6) in the busy map: field number 132 of the
// player's floor, the 34th creature.
constexpr uint32_t MOVER = 0x40000000 + 34;

int CreatureStack(int rx, int ry, uint32_t ID) {
    for (int n = 0; n < GetObjectCount(rx, ry, 0); n++) {
        ObjectInstance o = GetFieldObject(rx, ry, 0, n);
        if (o.Type == CREATURE && o.Data == ID) return n;
    }
    return 0;
}

std::string MoveThere(int Stack) {
    return Bytes({109}) + Word(1001) + Word(1000) + Bytes({7, Stack}) + Word(1002) + Word(1000) + Bytes({7});
}
std::string MoveBack(int Stack) {
    return Bytes({109}) + Word(1002) + Word(1000) + Bytes({7, Stack}) + Word(1001) + Word(1000) + Bytes({7});
}

std::string MixedRound(int There, int Back) {
    std::string Row;
    for (int rz = 0; rz < MAPSIZE_Z; rz++)
        for (int rx = 0; rx < MAPSIZE_X; rx++) Row += Word(100) + (rz == 0 ? Word(101) : "") + Word(0xFF00);
    std::string m;
    m += MoveThere(There) + MoveBack(Back);
    m += Bytes({101}) + Row;
    m += Bytes({140}) + Quad(MOVER) + Bytes({80});
    m += Bytes({170}) + String("Creature") + Bytes({1}) + Word(1000) + Word(1000) + Bytes({7}) + String("hello there");
    m += Bytes({180, 20}) + String("You see a rat.");
    m += Bytes({131}) + Word(1000) + Word(1001) + Bytes({7, 1});
    m += Bytes({103}) + Row;
    return Packet(m);
}

void BM_MixedMessageStream(benchmark::State& State) {
    SetUpOnce();
    Feed(Packet(BusyFullMap()));
    // A creature steps from (1001, 1000) to the east and back; two rounds
    // settle where the stacking rule puts it.
    int There = CreatureStack(9, 6, MOVER), Back = 0;
    for (int Round = 0; Round < 2; Round++) {
        There = CreatureStack(9, 6, MOVER);
        Feed(Packet(MoveThere(There)));
        Back = CreatureStack(10, 6, MOVER);
        Feed(Packet(MoveBack(Back)));
    }
    const std::string P = MixedRound(There, Back);
    for (auto _ : State) Feed(P);
    State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(P.size()));
}
BENCHMARK(BM_MixedMessageStream)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
