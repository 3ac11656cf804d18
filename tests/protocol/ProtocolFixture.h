// A client in the game over a loopback connection: the game server's end is
// the test's socket, so every command the client sends is read byte by byte,
// while the server's messages are handed to the client's receive path
// directly and handled before the call returns.
#pragma once

#include "../net/LoopbackPeer.h"
#include "../world/TestWorld.h"
#include "app/Control.h"
#include "config/Preferences.h"
#include "core/Status.h"
#include "core/sysinc.h"
#include "net/Commands.h"
#include "net/Communication.h"
#include "gui/help/EventHints.h"
#include "net/GameHooks.h"
#include "net/GameMessages.h"
#include "net/Network.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"
#include "world/Automap.h"
#include "world/Creatures.h"
#include "world/Inventory.h"
#include "world/Map.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace protocol_test {

using namespace loopback;

constexpr uint32_t PLAYER = 0x10000001;

// A field's things, for the map descriptions written in the tests.
inline std::string Thing(int Type) { return Word(Type); }
// Map description over Total fields: the things of the listed fields (by
// their running number in the description's order), every other field left
// empty through the end values' skip counts.
inline std::string Description(const std::map<int, std::string>& Fields, int Total) {
    std::string Out;
    int Position = 0;
    while (Position < Total) {
        auto It = Fields.find(Position);
        if (It != Fields.end()) Out += It->second;
        auto Next = Fields.upper_bound(Position);
        int NextField = Next == Fields.end() ? Total : Next->first;
        int Gap = NextField - Position - 1;
        int Skip = Gap < 255 ? Gap : 255;
        Out += Word(0xFF00 + Skip);
        Position += 1 + Skip;
    }
    return Out;
}
// The player as a new creature: 97, nothing to forget, the id, the name,
// health 100, facing south, outfit 1 with four colours, no light, speed 220.
inline std::string PlayerThing() {
    return Word(97) + Quad(0) + Quad(PLAYER) + String("Aldric") + Bytes({100, 2, 1, 10, 20, 30, 40, 0, 0}) +
           Word(220) + Bytes({0, 0});
}
// Field number of cube (rx, ry) on the n-th level of a full description.
inline int FieldNumber(int LevelIndex, int rx, int ry) { return LevelIndex * 252 + rx * 14 + ry; }

class ProtocolTest : public testworld::WorldTest {
  public:
    // What the interface hooks were told, in order.
    static void Record(const std::string& What);
    static std::vector<std::string> Calls;

  protected:
    void SetUp() override;
    void TearDown() override;

    static void Inject(const std::string& Bytes) {
        InjectReceivedBytes(reinterpret_cast<const uint8_t*>(Bytes.data()), int(Bytes.size()));
    }
    // One server packet holding the given messages.
    static void Receive(const std::string& Messages) { Inject(Packet(Messages)); }
    // Everything the client has sent since the last call, as hex.
    std::string Sent();
    // A surface map at (100, 100, 7) with ground on every field of the
    // player's floor and the player on his field.
    void EnterSurfaceMap();
    // The interface's drawing for tests of windows: the data files' pictures
    // in the test's folder, a 640 x 480 window with its surfaces, graphics,
    // skins and the component framework; StopDrawing ends them again.
    void StartDrawing();
    static void StopDrawing();

    int Peer = -1;
    std::unique_ptr<Listener> Server;
};

}  // namespace protocol_test
