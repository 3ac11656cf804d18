// Builders of the game server's messages that depend on what one client
// knows: things (objects and creatures, with the creature table of the
// client), map descriptions with their skip counter, and the map messages
// that move the client's map cube (18 x 14 fields on up to 8 floors).
#pragma once

#include "server/Creatures.h"
#include "server/Item.h"
#include "server/Packet.h"

#include <string>

namespace server::messages {

inline constexpr int MAPSIZE_X = 18;
inline constexpr int MAPSIZE_Y = 14;
// Places a client's container window can hold.
inline constexpr int CONTAINER_PLACES = 36;

// Finds a creature of the world by id (set by the game module).
void SetCreatureFinder(Creature* (*Finder)(uint32_t));
// The party shield of a creature as a viewer sees it (set by the game module).
void SetShieldFinder(int (*Finder)(const Player& Viewer, const Creature& C));

// True when the client whose map is centred at MapPos holds the field Pos.
bool CanSee(const Position& MapPos, const Position& Pos);

void AddCreatureDescription(Message& M, const Creature& C, int PartyShield);
// An object, or a creature as "new" (97) or "known" (98) for this client.
void AddThing(Message& M, Player& Viewer, const Object& Thing);
// The creature turn form (99) of a creature thing.
void AddCreatureTurn(Message& M, const Creature& C);

// 100: the whole cube around Pos; the client's map position becomes Pos.
void AddFullMap(Message& M, Player& Viewer, const Position& Pos);
// 101..104 by direction 0 north, 1 east, 2 south, 3 west: moves the client's
// map position one field and sends the new edge.
void AddMapEdge(Message& M, Player& Viewer, int Direction);
// 190 (Up) or 191: moves the client's map position one floor.
void AddFloorChange(Message& M, Player& Viewer, bool Up);
// 105: one field, as the client asks for it again.
void AddField(Message& M, Player& Viewer, const Position& Pos);

// 110: the container shown in window Number with its first 36 objects.
void AddContainerOpen(Message& M, Player& Viewer, int Number, const Object& Container, const std::string& Name,
                      int Capacity, bool HasParent);

}  // namespace server::messages
