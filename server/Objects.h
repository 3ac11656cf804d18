// The player's dealings with objects: open containers (up to 16 windows per
// player) with their content messages to everyone who has them open, moving
// objects between fields, containers and body slots with weight, stack
// counts and reach, rotating, using carried objects, editing texts, the
// depot and trading.
#pragma once

#include "server/Creatures.h"

#include <cstdint>
#include <string>

namespace server::objects {

inline constexpr int OPEN_CONTAINERS = 16;
inline constexpr int OBJECTS_PER_OFFER = 100;

void InitObjects();
// Called when the player has entered the game and got its player values.
void PlayerEntered(Player& P);
// Ends the player's trade and forgets its windows and texts.
void PlayerLeaves(Player& P);
// After the player's creature moved: containers out of reach close, a
// trade partner too far away ends the trade.
void PlayerMoved(Player& P);

// Free capacity in whole units: the character's capacity less the weight
// of everything carried in the body slots.
int FreeCapacity(const CharacterRecord& R);

// The object a client location names (map, open container or body slot), or nullptr.
const Object* Find(Player& P, const Position& Where, int StackPos);

// Nothing fixed and blocking stands between the two fields of one floor.
bool ClearLine(const Position& From, const Position& To);
// Takes the thing at Stack off the field, shows it to the viewers, and
// closes the windows of a container that goes with it.
void RemoveFromMap(const Position& Pos, int Stack);

// Commands; the caller has read and checked the packet's layout.
void Use(Player& P, const Position& Where, int Type, int StackPos, int Number);
void Move(Player& P, const Position& From, int Type, int StackPos, const Position& To, int Count);
// Runes on a creature (or on the player itself).
void UseOnCreature(Player& P, const Position& Where, int Type, int StackPos, uint32_t CreatureID);
void Rotate(Player& P, const Position& Where, int Type, int StackPos);
void CloseContainer(Player& P, int Number);
void ContainerUp(Player& P, int Number);
void RequestContainer(Player& P, int Number);
void EditTextAnswer(Player& P, uint32_t ID, const std::string& Text);
// A new object for the player (a catch): into the backpack, a free hand
// or, when it is too heavy or there is no room, onto the player's field.
void Give(Player& P, Object O);
void TradeRequest(Player& P, const Position& Where, int Type, int StackPos, uint32_t PartnerID);
void TradeLook(Player& P, int Side, int Index);
void TradeAccept(Player& P);
void TradeClose(Player& P);

}  // namespace server::objects
