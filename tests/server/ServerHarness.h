// Test harness for the reference server: a small object type file and world
// of the tests' own, the server running in-process on ephemeral loopback
// ports, a blocking test client that speaks the packet framing, and a mirror
// of what a client makes of the game messages (map cube by absolute field,
// known creatures, map position) decoded by the client's rules.
#pragma once

#include "server/Packet.h"

#include <asio.hpp>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace servertest {

using Bytes = std::vector<uint8_t>;
using server::Position;

// ---- The test world ------------------------------------------------------------

// Object types of the test world (numbers of world/TypeNumbers.h).
bool TypeHasFlag(int Type, int Flag);
// Writes a Vorna.dat with every item 100..220 and the flags the tests use.
void WriteTestDat(const std::filesystem::path& File);
// Writes the test world file: grass (walking value 50) on floor 7 from
// (100,100) to (139,129), a wall at x 104 for y 100..103, water at 120..122 x
// 120..122, coins, a vial and a pool at (105..107,105), an upper floor 6 at
// 100..104 x 100..104, a cellar on floor 8 at 100..115 x 100..115, stairs
// down at (103,105,7) leading to (103,105,8) and a ramp at (104,106,8)
// leading to (104,105,7), a ladder at (102,101,7) up to (102,101,6), a
// closed door at (100,102,7) and a book with the text "Old" at (101,103,7). New characters start at (102,102,7).
// For the objects: a chest at (110,101) holding a bag (with 10 gold coins),
// a sword and 60 arrows; a depot box at (111,101) with 30 gold coins; chain
// armor at (112,101); 90 arrows at (113,101); a backpack with 3 apples at
// (110,103); a chair facing north at (111,103); a key at (112,103); a gate
// at (116,100) kept by Aldric for Mira; a chicken that stays at (125,101).
void WriteTestWorld(const std::filesystem::path& File);
// What the test world holds on a field (type, data), bottom first.
std::vector<std::pair<int, int>> ExpectedField(const Position& Pos);

// ---- The server ------------------------------------------------------------------

class ServerRunner {
  public:
    // Extra lines for server.txt (operator settings) may be given.
    explicit ServerRunner(const std::string& ExtraSettings = "");
    ~ServerRunner();
    void Stop();
    void Start();
    // Stops the server, sets "Key = Value" lines of the character's file and
    // starts it again.
    void SetCharacterValues(const std::string& Name, const std::vector<std::pair<std::string, std::string>>& Values);

    int LoginPort = 0, TestLoginPort = 0, GamePort = 0;
    std::filesystem::path Dir;       // temporary folder of the run
    std::filesystem::path StateDir;  // accounts, characters, server.txt

  private:
    std::thread Thread;
    bool Running = false;
};

// ---- A client on the wire -----------------------------------------------------------

class TestClient {
  public:
    explicit TestClient(int Port);
    void SendRaw(const Bytes& Data);
    // Adds the length word.
    void SendPacket(const Bytes& Body);
    // Next packet body; nullopt when the connection is closed or nothing comes
    // within the time-out (which only bounds a failure: generous for a loaded
    // machine).
    std::optional<Bytes> ReadPacket(int TimeoutMs = 15000);
    // True when the server closes the connection within the time-out.
    bool WaitClosed(int TimeoutMs = 15000);

  private:
    bool ReadExactly(uint8_t* Data, size_t Count, int TimeoutMs);
    asio::io_context Context;
    asio::ip::tcp::socket Socket;
};

// Builders of client packet bodies.
struct Packet {
    Bytes Data;
    Packet& Byte(int v) { Data.push_back(uint8_t(v)); return *this; }
    Packet& Word(int v) { return Byte(v).Byte(v >> 8); }
    Packet& Quad(uint32_t v) { return Word(int(v & 0xFFFF)).Word(int(v >> 16)); }
    Packet& String(const std::string& s) {
        Word(int(s.size()));
        Data.insert(Data.end(), s.begin(), s.end());
        return *this;
    }
    Packet& Pos(const Position& p) { return Word(p.x).Word(p.y).Byte(p.z); }
};
Bytes LoginRequest(uint32_t Account, const std::string& Password);
Bytes GameLogin(uint32_t Account, const std::string& Name, const std::string& Password);

// ---- The client's view, decoded ---------------------------------------------------------

struct Thing {
    int Type = 0;
    int Data = 0;  // or creature id
    bool operator==(const Thing&) const = default;
};

struct SeenCreature {
    std::string Name;
    Position Pos;
    int Direction = 0, Outfit = 0, Speed = 0;
    int Health = 0, Shield = 0;
    int Light = 0, Skull = 0;
};

struct SeenContainer {
    int Type = 0;
    std::string Name;
    int Capacity = 0;
    bool HasParent = false;
    std::vector<Thing> Objects;
};

struct SeenOffer {
    std::string Partner;
    std::vector<Thing> Objects;
};

struct TalkSeen {
    std::string Speaker;
    int Mode = 0;
    int Channel = -1;
    uint32_t Number = 0;  // of a request (mode 6)
    std::string Text;
};

class ClientView {
  public:
    // Decodes every message of a packet body; unknown bytes fail the test.
    void Decode(const Bytes& Body);

    Position MapPos;
    uint32_t PlayerID = 0;
    std::map<std::tuple<int, int, int>, std::vector<Thing>> Fields;
    std::map<uint32_t, SeenCreature> Creatures;
    std::vector<int> Commands;  // command bytes in the order read
    std::set<int> Everything;   // every command byte ever read, never forgotten
    std::vector<TalkSeen> Talk;
    std::vector<std::pair<int, std::string>> TextMessages;
    std::vector<int> WalkCancels;
    std::vector<std::pair<uint32_t, std::string>> Buddies;
    int AmbientBrightness = -1;
    std::vector<int> Inventory = std::vector<int>(11, 0);  // types by slot 1..10
    std::vector<Thing> Slots = std::vector<Thing>(11);     // with their data
    std::map<int, SeenContainer> Containers;                // open windows (110 .. 114)
    std::optional<SeenOffer> OwnOffer, CounterOffer;        // 125, 126; 127 clears both
    int TradeCloses = 0, TargetClears = 0;                  // 127, 163
    int EditListKind = -1;                                  // 151
    uint32_t EditListID = 0;
    std::string EditListText;
    std::string Error;  // 20
    std::string Information;  // 21
    int HitPoints = -1, Capacity = -1;
    // The rest of the player data (160), skills (161), conditions (162),
    // rights (11) and creature marks (134: id, colour).
    int MaxHitPoints = -1, Level = -1, LevelPercent = -1, Mana = -1, MaxMana = -1, MagicLevel = -1,
        MagicLevelPercent = -1, Soul = -1;
    uint32_t Experience = 0;
    std::array<std::pair<int, int>, 7> Skills{};
    int Conditions = 0;
    std::array<int, 32> Rights{};
    std::vector<std::pair<uint32_t, int>> Marks;
    std::vector<std::pair<int, std::string>> ChannelList;     // 171
    std::vector<std::pair<int, std::string>> OpenedChannels;  // 172, 178; 173 with id -1
    std::vector<int> ClosedChannels;                           // 179
    // The talk, channel, request and text messages (170..180) byte for byte.
    std::vector<Bytes> TalkMessages;
    uint32_t EditTextID = 0;  // 150
    std::string EditText;

    std::vector<Thing>& FieldAt(const Position& P) { return Fields[{P.x, P.y, P.z}]; }
    // Cube level of the player and the absolute field of a cube position.
    int PlayerLevel() const { return MapPos.z <= 7 ? 7 - MapPos.z : 2; }
    Position Absolute(int rx, int ry, int rz) const;
    // The levels a description covers at the current map position.
    std::vector<int> Levels() const;
    // Checks every field of the cube against the test world; returns the
    // first mismatch as text, empty when all agree. Creatures are left out.
    std::string CompareWithWorld() const;

  private:
    struct Reader;
    void Description(Reader& R, const std::vector<Position>& Order);
    Thing ReadThing(Reader& R, const Position& Where);
    void Place(uint32_t ID, const Position& Where);
    int Skip = 0;
};

// A character in the game over its own connection, with its decoded view.
struct GamePlayer {
    // Logs in and reads until the entering messages are through.
    GamePlayer(int Port, uint32_t Account, const std::string& Name);
    // Reads into the view until Done holds; false when nothing more comes in time.
    bool ReadUntil(const std::function<bool()>& Done, int TimeoutMs = 15000);
    // Forgets the commands seen, sends the body and reads until Command arrives.
    bool Do(const Bytes& Body, int Command);
    bool Saw(int Command) const;
    // Reads whatever arrives until the connection has been quiet for QuietMs.
    void Settle(int QuietMs = 300);
    Position Me() { return View.Creatures[View.PlayerID].Pos; }

    TestClient Client;
    ClientView View;
};

}  // namespace servertest
