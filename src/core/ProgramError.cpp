#include "core/ProgramError.h"

#include "core/Assert.h"
#include "core/BuildSettings.h"

#include <cstdio>

const char* GetErrorMessage(int Code) {
    switch (Code) {
    case 1: return "Cannot open file \"Vorna.dat\".";
    case 2:
    case 4: return "Cannot open file \"Vorna.spr\".";
    case 3:
    case 5: return "Cannot open file \"Vorna.pic\".";
    case 6: return "Cannot initialize Windows Sockets.";
    case 7: return "Cannot initialize DirectX.";
    case 8: return "Too low color depth detected.";
    case 9:
    case 10:
    case 11: return "Cannot initialize video graphics mode.";
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 18: return "Video surface allocation failed.";
    default: ASSERT(false); return "Unknown error.";
    }
}

std::string GetErrorAdvice(int Code) {
    switch (Code) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5: return "Please re-install the program.";
    case 6: return "Please check the network settings of your system.";
    case 7: return "Please install DirectX version 5.0 or later.";
    case 8: return "Please switch to a graphics mode with a color depth of at least 16 bit.";
    default:
        if (In(Code, 9, 18)) return "Please choose another video graphics mode.";
        ASSERT(false);
        return std::string("Please send a detailed report of what happened to ") + build_settings::SUPPORT_ADDRESS +
               ".";
    }
}

std::string FormatErrorBoxText(int Code) {
    const char* message = GetErrorMessage(Code);
    std::string advice = GetErrorAdvice(Code);
    char text[1024];
    std::snprintf(text, sizeof text, "Error %d: %s\n\n%s", Code, message, advice.c_str());
    return text;
}
