// Names of the shared object type and outfit numbers, as world files use them.
#pragma once

#include <string>

namespace server {

// 0 when the name is unknown.
int ItemTypeByName(const std::string& Name);
int OutfitByName(const std::string& Name);
// The name, or the number as text for a type without a name.
std::string ItemTypeName(int Type);

}  // namespace server
