// Vorna.cfg comes from the player's disk and may be anything: loading it must
// end in settings (read or default) and never in a crash or an assertion.
// Each loaded input is also saved and loaded again, which must give the same
// file: whatever was accepted has to survive a round trip.
#include "FuzzSupport.h"

#include "config/Preferences.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Slurp(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_support::Start();
    SetPreferencesPath(fuzz_support::TemporaryFile("Vorna.cfg"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string& Path = GetPreferencesPath();
    if (std::FILE* File = std::fopen(Path.c_str(), "wb")) {
        std::fwrite(Data, 1, Size, File);
        std::fclose(File);
    }
    LoadPreferences();
    SavePreferences();
    std::string First = Slurp(Path);
    LoadPreferences();
    SavePreferences();
    if (Slurp(Path) != First) std::abort();
    std::remove(Path.c_str());
    return 0;
}
