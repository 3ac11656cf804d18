// Small hand-drawn icons kept as text: one string per row, one character per
// pixel, colours from a fixed legend.
#pragma once

#include "Canvas.h"

#include <string>
#include <vector>

namespace gen {

using Sprite = std::vector<const char*>;
art::Canvas FromText(const Sprite& rows);
// The icon drawn from text by name (state icons, marks, skulls, ...).
const Sprite& Icon(const std::string& name);

}  // namespace gen
