// Fatal environment errors: an initialisation or drawing step that cannot go
// on throws one of these codes; the start-up code, the idle loop and the
// display-mode switch show it in the error box and end the program.
#pragma once

#include <string>

enum PROGRAM_ERROR : int {
    ERROR_OBJECTS_FILE = 1,         // Vorna.dat
    ERROR_SPRITE_FILE = 2,          // Vorna.spr
    ERROR_PICTURE_FILE = 3,         // Vorna.pic
    ERROR_SPRITE_FILE_FORMAT = 4,   // Vorna.spr
    ERROR_PICTURE_FILE_FORMAT = 5,  // Vorna.pic
    ERROR_SOCKETS = 6,
    ERROR_GRAPHICS_SYSTEM = 7,
    ERROR_COLOR_DEPTH = 8,
    ERROR_VIDEO_MODE_FIRST = 9,
    ERROR_VIDEO_MODE_LAST = 11,
    ERROR_SURFACE_FIRST = 12,
    ERROR_SURFACE_LAST = 18,
};

const char* GetErrorMessage(int Code);
// For codes outside the table the advice names the support address.
std::string GetErrorAdvice(int Code);
// "Error %d: %s\n\n%s" with the code, its message and its advice.
std::string FormatErrorBoxText(int Code);
inline constexpr const char* ERROR_BOX_CAPTION = "Vorna - Error";
