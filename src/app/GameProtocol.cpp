#include "app/GameProtocol.h"

#include "app/Control.h"
#include "net/Commands.h"
#include "net/EventHints.h"
#include "net/GameMessages.h"
#include "world/Creatures.h"

namespace {
int TickForCreatures() { return static_cast<int>(GetTickCounter()); }
}  // namespace

void InstallGameProtocol() {
    InitGameMessages();
    InitCommands();
    for (int command = 0; command < 256; ++command)
        if (GameMessageHandler handler = GetGameMessageHandler(command)) SetGameCommandHandler(command, handler);

    ControlHooks hooks = GetControlHooks();
    hooks.ClearOutfitRequest = ClearOutfitRequest;
    hooks.SendPendingStep = SendPendingSteps;
    SetControlHooks(hooks);

    // The status line and the non-player hints arrive with the map view and
    // the help; the skull hint is kept already.
    SetCreatureHooks(nullptr, triggerEventHint, nullptr, TickForCreatures);
}

void RemoveGameProtocol() {
    SetCreatureHooks(nullptr, nullptr, nullptr, nullptr);
    ControlHooks hooks = GetControlHooks();
    hooks.ClearOutfitRequest = nullptr;
    hooks.SendPendingStep = nullptr;
    SetControlHooks(hooks);
    for (int command = 0; command < 256; ++command)
        if (GetGameMessageHandler(command)) SetGameCommandHandler(command, nullptr);
    ExitGameMessages();
}
