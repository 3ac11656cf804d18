// The interface skin picture.
#pragma once

#include "Canvas.h"

namespace gen {
art::Canvas BuildSkinImage();
}  // namespace gen
