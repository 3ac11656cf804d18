// The program's icon for the desktop's menus and docks: the window icon's
// shield (an iron rim, a wooden field in two halves, a golden V) drawn anew
// at each size, so it stays crisp from 16 to 256 pixels.
#pragma once

#include "Canvas.h"

#include <string>

namespace gen {

inline constexpr int ICON_SIZES[] = {16, 32, 48, 64, 128, 256};

art::Canvas ProgramIcon(int Size);
// Writes icon-<size>.png for every size into Directory.
void WriteProgramIcons(const std::string& Directory);

}  // namespace gen
