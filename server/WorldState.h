// What players changed in the world, kept across restarts in world.txt of
// the state folder: every field whose objects differ from what the world
// file put there (moved objects, opened doors, edited texts), and the names
// of the gates' lists. Corpses and their blood decay and are not kept.
#pragma once

#include "server/Game.h"

#include <string>
#include <vector>

namespace server::worldstate {

// Remembers the fields as the world file made them; call after loading it.
void Remember();
// Puts the saved fields and lists over the world; a missing file is a
// first start. Throws FileError for a damaged file.
void Load(const std::string& FileName, std::vector<game::GuestList>& Lists);
// Writes the fields that differ and the lists, whole and atomically.
// Returns false (and logs) when the file cannot be written.
bool Save(const std::string& FileName, const std::vector<game::GuestList>& Lists);

}  // namespace server::worldstate
