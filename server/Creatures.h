// Creatures of the running world: players (each bound to a connection and a
// character record) and the non-player creatures of the world file.
#pragma once

#include "server/Accounts.h"
#include "server/Packet.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace server {

class Connection;

// Ids below this are characters; non-player creatures count from it.
inline constexpr uint32_t FIRST_MONSTER_ID = 0x40000000;
// Creatures the client remembers at once.
inline constexpr int KNOWN_CREATURES = 150;

struct Player;

// A condition of a player: until when it lasts, and for those that hurt,
// the damage of each of the ticks still to come.
struct ConditionState {
    int64_t Until = 0;
    int TicksLeft = 0;
    int Damage = 0;
    int64_t NextTickAt = 0;
};
inline constexpr int CONDITIONS = 8;

struct Creature {
    uint32_t ID = 0;
    std::string Name;
    Position Pos;
    int Direction = 2;  // 0 north, 1 east, 2 south, 3 west
    Outfit Look;
    int Health = 100;  // percent
    int LightLevel = 0, LightColour = 0;
    int Speed = 220;
    int Skull = 0, PartyShield = 0;

    // Walking: step codes 1..8 waiting for their time, and the time from
    // which the next step may be taken (milliseconds of the server clock).
    std::deque<int> WalkQueue;
    int64_t NextStepAt = 0;

    // Non-player creatures wander around Home and sometimes say something.
    Position Home;
    int Roam = 0;
    int64_t NextActionAt = 0;
    std::vector<std::string> Phrases;

    // Fighting: hit points (non-player creatures; a player's are in its
    // character record), the creature it fights, when its next blow falls,
    // and until when a player-killing skull stays.
    int HitPoints = 0, MaxHitPoints = 0;
    int BaseSpeed = 220;
    uint32_t Target = 0;
    int64_t NextBlowAt = 0;
    int64_t SkullUntil = 0;

    Player* Controller = nullptr;  // the player of a character, else nullptr
};

struct Player {
    Creature* Body = nullptr;
    CharacterRecord* Record = nullptr;
    std::shared_ptr<Connection> Link;
    // The client's map position: where its map cube is centred. It follows
    // the messages as they are written, so every edge is computed from the
    // position the client will have when it reads that edge.
    Position MapPos;
    // Creature ids the client knows, oldest first.
    std::vector<uint32_t> Known;
    int AttackMode = 0, ChaseMode = 0, SecureMode = 0;
    int LastAmbientBrightness = -1, LastAmbientColour = -1;
    int64_t LastPingAt = 0;
    // Conditions by flag bit (Life.h) and the flags the client was last told.
    ConditionState Conditions[CONDITIONS];
    int SentConditions = 0;
    int64_t NextRegenerationAt = 0;
    int64_t NextSoulAt = 0;
    // Killed: taken out of the world at the end of the beat.
    bool Dead = false;
};

}  // namespace server
