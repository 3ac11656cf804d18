// Attaches the game server's message handlers, the client commands' hooks and
// the event hints to the connection control and the world model.
#pragma once

struct ControlHooks;

void InstallGameProtocol();
void RemoveGameProtocol();

// The message handlers alone: every game server message the game messages
// module reads is attached to the connection control, or detached again.
void AttachGameMessageHandlers();
void DetachGameMessageHandlers();

// The event hints that the game messages raise (net/GameHooks.h). Control
// installs them when it starts, with its other hooks: every program that runs
// the game messages starts Control first, not every one the whole protocol.
void AttachEventHints();
void DetachEventHints();

// The game protocol's entries of Control's hooks (InitControl gathers them):
// the texts on the map, the outfit request, the player's pending steps.
void AddGameProtocolHooks(ControlHooks& Hooks);
