// The console's model: its tabs and buffers, routing and sending (replaced by
// the console's own header).
#pragma once
#include "gui/windows/ConsoleWindow.h"
