// The game world server: game logins with their refusals and waiting list,
// players entering and leaving, walking with its timing and validation,
// non-player creatures, light and the keep-alive ping (talk is Talk and
// Requests).
#pragma once

#include "server/Config.h"
#include "server/Connection.h"
#include "server/Creatures.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace server::game {

// A non-player creature of the world file.
struct CreatureSpawn {
    std::string Name;
    Outfit Look;
    Position Pos;
    int Roam = 0;  // fields it may wander from its place
    int Speed = 120;
    std::vector<std::string> Phrases;
    int HitPoints = 0;  // 0: as its kind has
};

// A creature of the world file, with its name, look, speed, home, range and
// phrases; the caller gives it its fighting values and its place.
std::unique_ptr<Creature> CreatureFromSpawn(const CreatureSpawn& S, uint32_t ID);

// A list of names kept by a gate: the owner and the characters listed
// (one per line) may open it.
struct GuestList {
    Position Pos;
    std::string Owner;
    std::string Names;
};

// A rectangle of one floor where players may fight each other.
struct ArenaArea {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0, z = 0;
};

struct WorldInfo {
    std::string Name;
    Position Start;
    // Where the dead come back; the start when the world names none.
    Position Temple;
    bool HasTemple = false;
    std::vector<ArenaArea> Arenas;
    std::vector<CreatureSpawn> Spawns;
    std::vector<GuestList> Lists;
};

// The world map and object types must be loaded already.
void InitGame(const Config& Settings, const WorldInfo& World);
// Saves every player's character and drops every game connection.
void ExitGame();

ConnectionHandler& Handler();
void Accepted(const std::shared_ptr<Connection>& Client);

// Every beat: steps that are due, wandering creatures.
void Tick();
// Every second: pings, silent clients, the ambient light, the periodic save.
void Sweep();
// Writes the characters of all players in the game and the world's state;
// returns how many characters.
int SaveAll();

Creature* FindCreature(uint32_t ID);
size_t PlayerCount();
// Milliseconds of the server's steady clock.
int64_t Now();

}  // namespace server::game
