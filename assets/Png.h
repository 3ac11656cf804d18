// PNG output for the review sheets.
#pragma once

#include "Canvas.h"

#include <string>

namespace gen {
// Writes the canvas; transparent pixels become the given background colour.
void WritePng(const std::string& path, const art::Canvas& image, art::Color background);
}  // namespace gen
