#include "ProtocolFixture.h"

#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/framework/GUI.h"
#include "gui/framework/Skins.h"
#include "support/ClientModules.h"

#include <cstdint>
#include <filesystem>
#include <poll.h>

namespace protocol_test {

std::vector<std::string> ProtocolTest::Calls;

namespace {

std::string Str(const char* s) { return s != nullptr ? s : "(null)"; }

void RecordMapText(const char* Speaker, int Mode, int x, int y, int z, const char* Text) {
    ProtocolTest::Record("map " + Str(Speaker) + " " + std::to_string(Mode) + " [" + std::to_string(x) + "," +
                         std::to_string(y) + "," + std::to_string(z) + "] " + Str(Text));
}
void RecordConsole(const char* Speaker, int Mode, int Channel, const char* Text) {
    ProtocolTest::Record("console " + Str(Speaker) + " " + std::to_string(Mode) + " " + std::to_string(Channel) +
                         " " + Str(Text));
}
void RecordRequest(const char* Speaker, int32_t Number, const char* Text) {
    ProtocolTest::Record("request " + Str(Speaker) + " " + std::to_string(Number) + " " + Str(Text));
}
void RecordScreen(int Mode, const char* Text) { ProtocolTest::Record("screen " + std::to_string(Mode) + " " + Str(Text)); }
void RecordStatus(const char* Text) { ProtocolTest::Record("status " + Str(Text)); }
void RecordOpenRequest(int Value) { ProtocolTest::Record("open request " + std::to_string(Value)); }
void RecordRemoveRequest(const char* Name) { ProtocolTest::Record("remove request " + Str(Name)); }
void RecordCloseChannel(int Kind, int ID, const char* Name, const char* Text) {
    ProtocolTest::Record("close " + std::to_string(Kind) + " " + std::to_string(ID) + " " + Str(Name) + " " + Str(Text));
}

}  // namespace

void ProtocolTest::SetUp() {
    WorldTest::SetUp();
    Calls.clear();
    // the world fixture started the map without the creature callback
    ExitMap();
    testing_support::ClientModules Modules;
    Modules.Preferences = (Dir.Path() / "Vorna.cfg").string();
    Modules.Hooks.ClearOutfitRequest = ClearOutfitRequest;
    testing_support::StartClientModules(Modules);
    ResetPendingHints();
    GameHooks G;
    G.MapText = RecordMapText;
    G.ConsoleText = RecordConsole;
    G.RequestText = RecordRequest;
    G.ScreenMessage = RecordScreen;
    G.StatusMessage = RecordStatus;
    G.OpenRequestChannel = RecordOpenRequest;
    G.RemoveRequest = RecordRemoveRequest;
    G.CloseChannel = RecordCloseChannel;
    SetGameHooks(G);

    // Log in to the test's game server and enter the game.
    Server = std::make_unique<Listener>();
    const uint8_t Address[4] = {127, 0, 0, 1};
    SetAccountNumber(123456);
    SetPassword("secret");
    SetAccountCharacters(1);
    SetAccountCharacter(0, "Aldric", "Vornia", Address, Server->Port());
    SetActiveCharacter(0);
    ConnectGameServer();
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_GAME_LOGIN_SENT; }));
    Peer = Server->Accept();
    ASSERT_GE(Peer, 0);
    std::string Length = loopback::Receive(Peer, 2);
    ASSERT_EQ(Length.size(), 2u);
    loopback::Receive(Peer, size_t(uint8_t(Length[0]) | (uint8_t(Length[1]) << 8)));
    SetAttackMode(2);
    SetChaseMode(0);
    SetSecureMode(1);
    ProtocolTest::Receive(Bytes({10}) + Quad(PLAYER) + Word(50) + Bytes({1}));
    ASSERT_EQ(GetConnectionState(), STATE_GAME);
    ASSERT_EQ(Sent(), "04 00 A0 02 00 01");
    // the first login's hint; the tests look at the hints they raise
    ASSERT_EQ(popPendingHint(), 1);
}

void ProtocolTest::TearDown() {
    Close(Peer);
    testing_support::StopClientModules();
    Server.reset();
    WorldTest::TearDown();
}

void ProtocolTest::Record(const std::string& What) { Calls.push_back(What); }

void ProtocolTest::StartDrawing() {
    for (const char* Name : {"Vorna.spr", "Vorna.pic"})
        std::filesystem::copy_file(testing_support::BinaryDir() / Name, Dir.Path() / Name);
    platform::CreateWindow("test", -1, -1, 640, 480, false);
    SetSurfaceMemoryBudgets(SIZE_MAX, SIZE_MAX);
    InitSurface();
    CreateSurfaces(WINDOWED_MODE, NULL);
    InitGraphics(MEMORY_CACHE_BYTES);
    InitSkins();
    InitGUI();
}

void ProtocolTest::StopDrawing() {
    ExitGUI();
    ExitSkins();
    ExitGraphics();
    ExitSurface();
}

std::string ProtocolTest::Sent() {
    std::string Data;
    for (;;) {
        pollfd p{Peer, POLLIN, 0};
        if (::poll(&p, 1, 30) <= 0) break;
        char Buffer[4096];
        ssize_t n = ::recv(Peer, Buffer, sizeof Buffer, 0);
        if (n <= 0) break;
        Data.append(Buffer, size_t(n));
    }
    return Hex(Data);
}

void ProtocolTest::EnterSurfaceMap() {
    std::map<int, std::string> Fields;
    for (int rx = 0; rx < 18; rx++)
        for (int ry = 0; ry < 14; ry++) Fields[FieldNumber(0, rx, ry)] = Thing(testworld::GROUND);
    Fields[FieldNumber(0, 8, 6)] += PlayerThing();
    Receive(Bytes({100}) + Word(100) + Word(100) + Bytes({7}) + Description(Fields, 8 * 252));
}

}  // namespace protocol_test
