// "Info": what the program is, its version and where its web site is.
#pragma once

#include "gui/dialogs/Page.h"

#include <string>


// The about text with the version filled in.
std::string InfoText();
