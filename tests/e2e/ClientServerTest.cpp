// The client's protocol layer against the reference server running in this
// process: log in, take the character list, enter the game, receive the
// whole map, and walk, with every field of the map cube checked against the
// server's test world after each part.
#include "../server/ServerHarness.h"
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
#include "platform/Platform.h"
#include "support/ClientModules.h"
#include "support/TestSupport.h"
#include "world/Automap.h"
#include "world/Creatures.h"
#include "world/Inventory.h"
#include "world/Map.h"
#include "world/Objects.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace {

// Ground types of the server's test world.
constexpr int GRASS = 100;
constexpr int CAVE_FLOOR = 107;

// Runs the client's socket completions and its walking until the condition
// holds or the time is up; the time only bounds a failure, so it leaves room
// for a loaded machine.
bool Pump(const std::function<bool()>& Done, int Milliseconds = 30000) {
    auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > End) return false;
        PollNetwork();
        if (GetConnectionState() == STATE_GAME) SendPendingSteps();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// The first field of the cube whose objects differ from the test world's,
// creatures left out; empty when every field agrees.
std::string CompareCube() {
    int x0, y0, z0;
    GetMapPosition(x0, y0, z0);
    for (int rz = 0; rz < MAPSIZE_Z; rz++) {
        if (z0 > 7 && rz > 4) continue;  // underground only five levels are held
        for (int rx = 0; rx < MAPSIZE_X; rx++)
            for (int ry = 0; ry < MAPSIZE_Y; ry++) {
                int x = rx, y = ry, z = rz;
                CubeToAbsolute(x, y, z);
                if (!In(z, 0, 15)) continue;
                std::vector<std::pair<int, int>> Seen;
                for (int n = 0; n < GetObjectCount(rx, ry, rz); n++) {
                    ObjectInstance o = GetFieldObject(rx, ry, rz, n);
                    if (o.Type != CREATURE) Seen.push_back({o.Type, int(o.Data)});
                }
                if (Seen != servertest::ExpectedField({x, y, z}))
                    return "field [" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z) +
                           "] holds " + std::to_string(Seen.size()) + " objects";
            }
    }
    return "";
}

class ClientServer : public testing::Test {
  protected:
    void SetUp() override {
        LoadObjects((Server.Dir / "Vorna.dat").string().c_str());
        testing_support::ClientModules Modules;
        Modules.Preferences = (Dir.Path() / "Vorna.cfg").string();
        Modules.Hooks.ClearOutfitRequest = ClearOutfitRequest;
        testing_support::StartClientModules(Modules);
    }
    void TearDown() override {
        testing_support::StopClientModules();
        UnloadObjects();
    }

    servertest::ServerRunner Server;
    testing_support::ScopedWorkDir Dir;
};

TEST_F(ClientServer, LogInEnterTheGameAndWalkWithEveryRowDecoded) {
    for (int i = 0; i < NUMBEROFSERVER; i++) SetLoginServer(i, "127.0.0.1", Server.LoginPort);
    SetAccountNumber(100001);
    SetPassword("demo");
    ConnectLoginServer();
    ASSERT_TRUE(Pump([] { return GetConnectionState() == STATE_OFFLINE && GetAccountCharacters() > 0; }));
    int Aldric = -1;
    for (int i = 0; i < GetAccountCharacters(); i++)
        if (std::string(GetAccountCharacter(i).Name) == "Aldric") Aldric = i;
    ASSERT_GE(Aldric, 0);
    EXPECT_EQ(GetAccountCharacter(Aldric).Port, Server.GamePort);
    ClearEvents();

    SetActiveCharacter(Aldric);
    ConnectGameServer();
    ASSERT_TRUE(Pump([] { return GetConnectionState() == STATE_GAME && GetPlayerHitpoints() > 0; }));
    int x, y, z;
    GetMapPosition(x, y, z);
    EXPECT_EQ(x * 1000000 + y * 1000 + z, 102102007);
    const Creature* Me = FindCreature(GetPlayerID());
    ASSERT_NE(Me, nullptr);
    EXPECT_STREQ(Me->Name, "Aldric");
    EXPECT_TRUE(Me->Visible);
    EXPECT_EQ(CompareCube(), "");

    // Six steps south as one path, then four east: every step brings a new
    // row or column of the map.
    SendAutoWalk(GoTo(102, 108, 7, false, false));
    ASSERT_TRUE(Pump([] {
        int x, y, z;
        GetMapPosition(x, y, z);
        return y == 108;
    }));
    EXPECT_EQ(CompareCube(), "");
    SendAutoWalk(GoTo(106, 108, 7, false, false));
    ASSERT_TRUE(Pump([] {
        int x, y, z;
        GetMapPosition(x, y, z);
        return x == 106;
    }));
    GetMapPosition(x, y, z);
    EXPECT_EQ(x * 1000000 + y * 1000 + z, 106108007);
    EXPECT_EQ(Me->RealX * 1000 + Me->RealY, 106108);
    EXPECT_EQ(CompareCube(), "");
    EXPECT_EQ(GetWalkCancelRepeats(), 0);
    EXPECT_EQ(GetFirstFieldObject(8, 6, GetPlayerLevel()).Type, GRASS);

    // Down the stairs: the cellar floor arrives and the surface leaves.
    SendAutoWalk(GoTo(103, 105, 7, false, false));
    ASSERT_TRUE(Pump([] {
        int x, y, z;
        GetMapPosition(x, y, z);
        return z == 8;
    }));
    GetMapPosition(x, y, z);
    EXPECT_EQ(x * 1000000 + y * 1000 + z, 103105008);
    EXPECT_EQ(GetFirstFieldObject(8, 6, GetPlayerLevel()).Type, CAVE_FLOOR);
    EXPECT_EQ(CompareCube(), "");

    // Leaving: the server closes the connection after the logout.
    SendLogout();
    ASSERT_TRUE(Pump([] { return GetConnectionState() == STATE_OFFLINE; }));
}

}  // namespace
