// The map of the world: fields of objects and creatures by absolute position,
// kept in the same stored order as the client keeps them (ground, ONBANK,
// BOTTOM, TOP, creatures, other objects), so that a stack position the server
// names is the one the client holds. A field holds at most OBJECTS_PER_POINT
// things; the server refuses to put more on it.
#pragma once

#include "server/Item.h"
#include "server/Packet.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace server::worldmap {

struct Field {
    std::vector<Object> Stack;  // index 0 is the bottom
};

// A field that changes the floor: stepping on it (or using the ladder or
// rope on it) takes a creature to Destination.
struct FloorChange {
    Position Destination;
};

void InitWorldMap();
void ExitWorldMap();

// nullptr when nothing was ever put there.
const Field* GetField(const Position& Pos);
// Index at which the stacking rule puts Thing on the field; Count when at the top.
int StackingPosition(const Field& Target, const Object& Thing);
// Puts Thing by the stacking rule; returns its stack position, or -1 when the field is full.
int AddThing(const Position& Pos, const Object& Thing);
// Appends Thing at the top regardless of its class (world loading only);
// returns false when the field is full.
bool AppendThing(const Position& Pos, const Object& Thing);
// Removes the thing at StackPos; returns false when there is none.
bool RemoveThing(const Position& Pos, int StackPos);
Object* GetThing(const Position& Pos, int StackPos);
// Stack position of the creature on the field, -1 when it is not there.
int CreatureStackPosition(const Position& Pos, uint32_t CreatureID);

// Ground speed of the field (its BANK value), 0 without ground.
int GroundSpeed(const Position& Pos);
// True when a creature may step onto the field: ground, room, nothing UNPASS.
bool IsWalkable(const Position& Pos);

void SetFloorChange(const Position& Pos, const Position& Destination);
const FloorChange* GetFloorChange(const Position& Pos);

size_t FieldCount();
// Every field that was ever given a thing, in no particular order.
void ForEachField(const std::function<void(const Position&, const Field&)>& Each);
// Puts these objects on the field in place of the objects it holds (its
// creatures stay), by the stacking rule.
void ReplaceObjects(const Position& Pos, std::vector<Object> Objects);

}  // namespace server::worldmap
