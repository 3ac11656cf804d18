// What the server knows of objects beyond the flags of Vorna.dat: their
// weight, the places of a container, which body slot takes which object,
// the turn of a rotatable object and the name shown to players.
#pragma once

#include "server/Item.h"

#include <string>

namespace server::itemrules {

// Body slots 1..10 as the client numbers them.
enum BodySlot : int {
    SLOT_HEAD = 1, SLOT_NECK = 2, SLOT_BACK = 3, SLOT_BODY = 4, SLOT_RIGHT_HAND = 5, SLOT_LEFT_HAND = 6,
    SLOT_LEGS = 7, SLOT_FEET = 8, SLOT_FINGER = 9, SLOT_EXTRA = 10,
};

// Largest count of a cumulative stack.
inline constexpr int MAX_STACK = 100;

// Weight of one piece of the type in hundredths of a capacity unit.
int TypeWeight(int Type);
// Weight of the object with its whole count and everything inside it.
int ObjectWeight(const Object& O);
// The object with Count pieces of a cumulative type (Count is ignored otherwise).
int PartWeight(const Object& O, int Count);

// Places a container of the type shows (1..36).
int ContainerCapacity(int Type);
// True when the object may be put into the body slot.
bool FitsSlot(int Type, int Slot);
// The type a rotatable object turns into: the next one of its run of
// consecutive ROTATE types, the first after the last. The type itself when
// it cannot be rotated.
int NextRotation(int Type);
// "gold coin", "depot box": the name of the type in words.
std::string TypeName(int Type);
// True for the types a player can eat.
bool IsFood(int Type);

}  // namespace server::itemrules
