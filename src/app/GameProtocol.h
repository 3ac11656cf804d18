// Attaches the game server's message handlers, the client commands' hooks and
// the event hints to the connection control and the world model.
#pragma once

void InstallGameProtocol();
void RemoveGameProtocol();
