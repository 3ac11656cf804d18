// PNG output for the review sheets and the program's icons.
#pragma once

#include "Canvas.h"

#include <string>

namespace gen {
// Writes the canvas; transparent pixels become the given background colour.
void WritePng(const std::string& path, const art::Canvas& image, art::Color background);
// Writes the canvas with its transparency, as desktop icons need it.
void WritePngWithAlpha(const std::string& path, const art::Canvas& image);
}  // namespace gen
