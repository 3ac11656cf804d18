// The login server: answers one login request per connection with an error,
// a file update (when the client's Vorna.dat, .spr or .pic differs from the
// server's, see Updates.h), or the information text, the message of the day
// and the character list, and then closes the connection. The same handler
// serves the login port and the test login port.
#pragma once

#include "server/Config.h"
#include "server/Connection.h"

#include <array>
#include <cstdint>
#include <memory>

namespace server::loginserver {

// The two constants every login request carries.
inline constexpr int PROTOCOL_CONSTANT_1 = 2;
inline constexpr int PROTOCOL_CONSTANT_2 = 760;

// GameAddress: the four bytes of the game world's address as the client
// connects to it; GamePort: its port.
void InitLoginServer(const Config& Settings, std::array<uint8_t, 4> GameAddress, int GamePort);
void ExitLoginServer();

ConnectionHandler& Handler();
// Registers a new login connection (for the time-out and the load limit).
void Accepted(const std::shared_ptr<Connection>& Client);
// Drops login connections that have sent nothing for too long.
void Sweep();

}  // namespace server::loginserver
