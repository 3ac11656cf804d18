// Loads a world file into the world map. The format is line based; '#'
// starts a comment line. See server/data/README.md for the full description.
//
//   World "Demoland"                  name of the world
//   Start 1000 1000 7                 where new characters appear
//   Key . grass                       a map character and the objects it stands for
//   Area 7 990 995                    floor, x and y of the first character of the rows
//   |..##..                           rows, one character per field, ' ' for nothing
//   End                               end of the rows
//   Put 1000 1001 7 sign"Welcome"     objects added onto a field
//   Change 1003 1000 7 1003 1001 8    stepping on the first field (or using its ladder
//                                     or rope spot) leads to the second
//   List 1010 1000 7 "Aldric" "Mira"  the gate on the field opens for the owner and
//                                     the names listed (one per line)
//   Creature 1005 1002 7 chicken "Chicken" 3 120 15 "Cluck!"
//                                     outfit, name, roaming distance, speed, hit points
//                                     (may be left out: as the kind has), phrases
//   Temple 1000 1001 7                where the dead come back (default: Start)
//   Arena 990 1020 1000 1025 7        a rectangle x1 y1 x2 y2 on floor z where
//                                     players may fight each other
//   Answer "Bertram" "hi hello" "Welcome, %N!"
//                                     what the creature of that name says when a
//                                     player next to it says one of the words
#pragma once

#include "server/Game.h"

#include <string>

namespace server::worldfile {

// Throws std::runtime_error naming the file and line on any error.
game::WorldInfo LoadWorld(const std::string& FileName);

}  // namespace server::worldfile
