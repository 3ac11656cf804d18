// Hints.cfg lies in the player's working directory and may hold anything:
// reading it must end in triggers (read or the demo world's) and never in a
// crash or an assertion, and whatever was read may only name the hints that
// people and places raise.
#include "FuzzSupport.h"

#include "config/Preferences.h"
#include "gui/help/EventHints.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
std::string Path;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_support::Start();
    Path = fuzz_support::TemporaryFile("Hints.cfg");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (std::FILE* File = std::fopen(Path.c_str(), "wb")) {
        std::fwrite(Data, 1, Size, File);
        std::fclose(File);
    }
    LoadHintTriggers(Path.c_str());
    if (GetNumberOfHintNpcs() + GetNumberOfHintPlaces() > HINT_TRIGGERS) std::abort();
    for (int i = 0; i < GetNumberOfHintNpcs(); ++i) {
        int Hint = 0;
        const std::string& Name = GetHintNpc(i, Hint);
        if ((Hint != 2 && Hint != 4 && Hint != 5) || Name.empty()) std::abort();
        triggerByNpcName(Name.c_str());
    }
    for (int i = 0; i < GetNumberOfHintPlaces(); ++i) {
        const HintPlace& P = GetHintPlace(i);
        if (P.Hint != 3 && P.Hint != 11 && P.Hint != 12) std::abort();
        triggerByPosition(P.x1, P.y1, P.z);
    }
    ClearKnownHints();
    ResetPendingHints();
    std::remove(Path.c_str());
    return 0;
}
