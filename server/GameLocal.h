// What the game module shares with its parts (Objects, Fight, Talk,
// Requests): the players
// in the world, sending to them, moving creatures. Not for other modules.
#pragma once

#include "server/Creatures.h"
#include "server/Game.h"
#include "server/Packet.h"

#include <map>
#include <memory>
#include <string>

namespace server::game {

// Text message types.
inline constexpr int MESSAGE_EVENT = 19, MESSAGE_LOOK = 20, MESSAGE_INFO = 21, MESSAGE_STATUS = 23;
// Talk modes of the protocol.
inline constexpr int TALK_SAY = 1, TALK_WHISPER = 2, TALK_YELL = 3, TALK_PRIVATE_MESSAGE = 4, TALK_CHANNEL_CALL = 5,
                     TALK_GAMEMASTER_REQUEST = 6, TALK_GAMEMASTER_ANSWER = 7, TALK_PLAYER_ANSWER = 8,
                     TALK_GAMEMASTER_BROADCAST = 9, TALK_GAMEMASTER_CHANNELCALL = 10, TALK_GAMEMASTER_MESSAGE = 11,
                     TALK_ANONYMOUS_BROADCAST = 13, TALK_ANONYMOUS_CHANNELCALL = 14, TALK_ANONYMOUS_MESSAGE = 15,
                     TALK_ANIMAL_LOW = 16, MESSAGE_ADMIN = 22;

// The settings of this run.
const Config& CurrentSettings();
// Players in the game by creature id.
std::map<uint32_t, std::unique_ptr<Player>>& AllPlayers();
// Every creature of the world, players too, by id.
std::map<uint32_t, std::unique_ptr<Creature>>& AllCreatures();
Player* FindPlayer(uint32_t ID);
// A player in the game by name, whatever the case of its letters.
Player* FindPlayerByName(const std::string& Name);
bool SameName(const std::string& A, const std::string& B);

void Send(Player& P, const Message& M);
void TextMessage(Player& P, int Type, const std::string& Text);
// 160 with the player's values and free capacity.
void SendPlayerData(Player& P);
// After the body slots changed: the light the player carries (creature
// light) and the haste of a worn ring.
void EquipmentChanged(Player& P);
// "a sword", "25 gold coins", a creature's name, with the text it carries.
std::string Describe(const Object& O);

// Moves a creature to a free field and shows it to everyone.
bool MoveCreature(Creature& C, const Position& To);
// Turns the creature and shows it.
void TurnCreature(Creature& C, int Direction);
// Takes a non-player creature out of the world for good.
void RemoveMonster(Creature& C);
// Puts a new non-player creature into the world near its place; nullptr when there is no room.
Creature* SpawnMonster(const CreatureSpawn& Spawn);
// Walks the steps (codes 1..8) with the creature's timing.
void Walk(Creature& C, const std::deque<int>& Steps);
// Uses doors, levers, gates and ladders on the map; false for other objects.
bool UseOnMap(Player& P, const Position& Pos, int StackPos, const Object& O);

// A step code 1..8 towards the target, 0 when there is none that is free.
int StepTowards(const Position& From, const Position& To);

}  // namespace server::game
