// One thing of the world: an object (an item instance with its count or
// liquid, its text and, for a container, its contents) or a creature standing
// on a field (Type CREATURE with the creature's id).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace server {

// Type number of a creature standing on a field.
inline constexpr int CREATURE = 99;
// Objects a field holds at most; the client's field stack has this size.
inline constexpr int OBJECTS_PER_POINT = 10;
// Objects a container holds at most; the client's container has this size.
inline constexpr int CONTAINER_SIZE = 36;

struct Object {
    int Type = 0;
    int Data = 0;  // count of a cumulative object, liquid of a liquid one
    uint32_t CreatureID = 0;
    std::string Text;               // writable objects, signs, books
    std::vector<Object> Contents;   // containers, first is the top
    // Identity while the server runs, given when something must find the
    // object again wherever it has moved (an open container, a traded
    // object); 0 until then. Not saved.
    uint32_t Handle = 0;

    bool IsCreature() const { return Type == CREATURE; }
};

// Text form of objects, used in character files and world files:
//   object  = type [":" data] [text] ["{" objects "}"]
// where type is a number or a name of TypeNames.h ("gold_coin"),
//   objects = object { " " object }
// and text is a double-quoted string with \" \\ \n escapes.
std::string ObjectsToText(const std::vector<Object>& Objects);
// Throws std::runtime_error naming the problem.
std::vector<Object> ObjectsFromText(const std::string& Text);

}  // namespace server
