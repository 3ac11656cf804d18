// The game-state dispatcher over arbitrary server bytes: every game message
// handler with the map cube, the creature table, the containers, the trade
// offers and the walking logic behind it. The first input byte picks the
// floor the map starts on; the rest arrives as received bytes. Failed
// assertions are the program's own clean reports; a crash or a sanitizer
// report is a finding.
#include "FuzzSupport.h"
#include "../tests/support/ClientModules.h"

#include "app/Control.h"
#include "app/GameProtocol.h"
#include "config/Preferences.h"
#include "core/Status.h"
#include "core/sysinc.h"
#include "net/Commands.h"
#include "net/Communication.h"
#include "gui/help/EventHints.h"
#include "net/GameMessages.h"
#include "net/Network.h"
#include "world/Automap.h"
#include "world/Creatures.h"
#include "world/Inventory.h"
#include "world/Map.h"
#include "world/Objects.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

void Nothing() {}

// A small object type file: ground, a cumulative, a liquid pool, a liquid
// container, a plain item, an unmovable one; one outfit, effect and missile.
std::string ObjectFile() {
    std::string b;
    auto U8 = [&](int v) { b.push_back(char(v & 0xFF)); };
    auto U16 = [&](int v) {
        U8(v);
        U8(v >> 8);
    };
    auto Record = [&](int PatternWidth, int PatternHeight, int Phases) {
        U8(0xFF);
        U8(1);
        U8(1);
        U8(1);
        U8(PatternWidth);
        U8(PatternHeight);
        U8(1);
        U8(Phases);
        for (int n = 0; n < PatternWidth * PatternHeight * Phases; n++) U16(1 + n);
    };
    U16(0x5678);
    U16(0x1234);
    U16(105);  // highest item
    U16(1);
    U16(1);
    U16(1);
    U8(BANK);  // 100 ground
    U16(150);
    U8(AUTOMAP);
    U16(24);
    Record(1, 1, 1);
    U8(CUMULATIVE);  // 101
    Record(4, 2, 1);
    U8(LIQUIDPOOL);  // 102
    Record(4, 2, 1);
    U8(LIQUIDCONTAINER);  // 103
    Record(4, 2, 1);
    U8(BOTTOM);  // 104
    Record(1, 1, 1);
    U8(UNMOVE);  // 105
    Record(1, 1, 1);
    Record(4, 1, 3);  // outfit
    Record(1, 1, 3);  // effect
    Record(3, 3, 1);  // missile
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_support::Start();
    assertion::SetReportHook(nullptr);
    assertion::SetThrowOnFailure(true);
    assertion::SetErrorLogPath("/dev/null");
    std::filesystem::path dir = fuzz_support::TemporaryFile("game-messages");
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    if (std::FILE* f = std::fopen("Vorna.dat", "wb")) {
        const std::string b = ObjectFile();
        std::fwrite(b.data(), 1, b.size(), f);
        std::fclose(f);
    }
    LoadObjects("Vorna.dat");
    testing_support::ClientModules Modules;
    Modules.Preferences = (dir / "Vorna.cfg").string();
    Modules.ReadPreferences = false;
    Modules.Hooks.StartPatcher = Nothing;
    testing_support::StartClientModules(Modules);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 1) return 0;
    ClearEvents();
    ResetReceiveBuffer();
    ClearMap();
    ResetInventory();
    ResetCreatures();
    ResetPendingHints();
    InitCommands();
    InitGameMessages();
    SetMapPosition(1000, 1000, Data[0] & 15);
    SetPlayerID(0x10000001);
    SetConnectionState(STATE_GAME);
    try {
        InjectReceivedBytes(Data + 1, int(Size - 1));
    } catch (const assertion::Failure&) {
    }
    try {
        // the walking logic runs over whatever the messages left
        UpdateWalking(platform::Milliseconds() + 5000);
        ClearEvents();
    } catch (const assertion::Failure&) {
    }
    platform::headless::Reset();
    return 0;
}
