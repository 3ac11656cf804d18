// The client's modules below the interface, started in the program's order for
// the test and fuzz programs that drive Control and the protocol without a
// window: the clipboard buffer and the world model, Status, the connection,
// Control with the caller's hooks and, where asked, the game messages. Each
// caller states only what it does differently; StopClientModules releases
// what was started, in the reverse order.
//
// Header only, so that the fuzz programs (which do not link the test support
// library) take it as it is.
#pragma once

#include "app/Control.h"
#include "app/GameProtocol.h"
#include "config/Preferences.h"
#include "core/Status.h"
#include "core/sysinc.h"
#include "net/Commands.h"
#include "net/Communication.h"
#include "net/GameMessages.h"
#include "net/Network.h"
#include "world/Creatures.h"
#include "world/Inventory.h"
#include "world/Map.h"

#include <string>

namespace testing_support {

struct ClientModules {
    // Vorna.cfg: its path, and whether it is read at once.
    std::string Preferences;
    bool ReadPreferences = true;
    // The clipboard buffer, the map cube, the inventory and the creatures.
    bool World = true;
    // The map tells the creatures when one leaves the cube (the program's
    // wiring); without it the creature table keeps them.
    bool CreatureCallback = true;
    bool Communication = true;
    // The game server's messages and the client commands.
    bool GameMessages = true;
    // Replaces the program's hooks as a whole; an empty DrawFrame draws nothing.
    ControlHooks Hooks;
};

namespace client_modules_detail {
inline ClientModules& Started() {
    static ClientModules Modules;
    return Modules;
}
inline void DrawNothing() {}
}  // namespace client_modules_detail

inline void StartClientModules(const ClientModules& Modules) {
    client_modules_detail::Started() = Modules;
    if (!Modules.Preferences.empty()) SetPreferencesPath(Modules.Preferences);
    if (Modules.ReadPreferences) LoadPreferences();
    if (Modules.World) {
        InitSysinc();
        InitMap(Modules.CreatureCallback ? CreatureOffMap : nullptr);
        InitInventory();
        InitCreatures();
    }
    InitStatus(0, ControlLinkWarning);
    InitNetwork(ControlConnectHandler, ControlReceiveHandler, ControlCloseHandler);
    if (Modules.Communication) InitCommunication();
    InitControl();
    ControlHooks Hooks = Modules.Hooks;
    if (!Hooks.DrawFrame) Hooks.DrawFrame = client_modules_detail::DrawNothing;
    SetControlHooks(Hooks);
    if (Modules.GameMessages) {
        InitGameMessages();
        InitCommands();
        AttachGameMessageHandlers();
    }
}

inline void StopClientModules() {
    const ClientModules& Modules = client_modules_detail::Started();
    if (Modules.GameMessages) ExitGameMessages();
    ExitControl();
    if (Modules.Communication) ExitCommunication();
    ExitNetwork();
    ExitStatus();
    if (Modules.World) {
        ExitCreatures();
        ExitInventory();
        ExitMap();
        ExitSysinc();
    }
}

}  // namespace testing_support
