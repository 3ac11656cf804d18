// The command dispatcher over arbitrary server bytes, from the moment the
// login request (or the game login request) has been sent: packet framing,
// the login server's replies with the patch exchange and its delta files,
// the character list, and the game server's refusals. Failed assertions are
// the program's own clean reports and are counted; a crash or a sanitizer
// report is a finding.
#include "FuzzSupport.h"
#include "../tests/support/ClientModules.h"

#include "app/Control.h"
#include "config/Preferences.h"
#include "core/Status.h"
#include "core/sysinc.h"
#include "net/Communication.h"
#include "net/Network.h"
#include "world/Creatures.h"
#include "world/Inventory.h"
#include "world/Map.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

void Nothing() {}

void WriteBytes(const char* Name, const std::string& Bytes) {
    if (std::FILE* File = std::fopen(Name, "wb")) {
        std::fwrite(Bytes.data(), 1, Bytes.size(), File);
        std::fclose(File);
    }
}

// Small current files, so that delta instructions have something to copy.
void WriteCurrentFiles() {
    const std::string dat("\x01\x02\x03\x04\x63\x00\x00\x00\x00\x00\x00\x00", 12);
    WriteBytes("Vorna.dat", dat);
    WriteBytes("Vorna.spr", std::string("\x05\x06\x07\x08") + std::string(60, 'S'));
    WriteBytes("Vorna.pic", std::string("\x09\x0A\x0B\x0C") + std::string(60, 'P'));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_support::Start();
    // Reports are expected; they go nowhere, and the run goes on.
    assertion::SetReportHook(nullptr);
    assertion::SetThrowOnFailure(true);
    assertion::SetErrorLogPath("/dev/null");
    std::filesystem::path dir = fuzz_support::TemporaryFile("login-dispatch");
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    testing_support::ClientModules Modules;
    Modules.Preferences = (dir / "Vorna.cfg").string();
    Modules.ReadPreferences = false;
    Modules.CreatureCallback = false;
    // Each input starts the communication afresh.
    Modules.Communication = false;
    Modules.GameMessages = false;
    Modules.Hooks.StartPatcher = Nothing;
    testing_support::StartClientModules(Modules);
    // A closed port: a reconnect that the input provokes fails at once.
    for (int i = 0; i < NUMBEROFSERVER; ++i) SetLoginServer(i, "127.0.0.1", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 1) return 0;
    WriteCurrentFiles();
    InitCommunication();
    ClearEvents();
    ResetReceiveBuffer();
    SetAccountCharacters(0);
    SetConnectionState(Data[0] & 1 ? STATE_GAME_LOGIN_SENT : STATE_LOGIN_SENT);
    try {
        InjectReceivedBytes(Data + 1, int(Size - 1));
    } catch (const assertion::Failure&) {
    }
    try {
        ClearEvents();
        Disconnect(true);
        ExitCommunication();
    } catch (const assertion::Failure&) {
    }
    platform::headless::Reset();
    return 0;
}
