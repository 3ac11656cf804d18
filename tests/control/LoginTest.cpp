// The login exchange through the control hub against scripted loopback
// peers: the requests byte for byte, the login-server list with its
// failover, the character list and the patch exchange.
#include "ControlFixture.h"

#include "../net/LoopbackPeer.h"

#include <string>
#include <vector>

using namespace loopback;

namespace {

int Patchers = 0;
void CountPatcher() { ++Patchers; }
// Events handed to the interface, as "type:data:extra".
std::vector<std::string> Shown;
std::string Describe(const Event& e) {
    std::string s = std::to_string(e.Type) + ":";
    s += EventDataIsText(e.Type) ? EventText(e.Data) : std::to_string(e.Data);
    s += ":";
    s += EventExtraIsText(e.Type) ? EventText(e.Extra) : std::to_string(e.Extra);
    return s;
}
bool Show(Event& e) {
    Shown.push_back(Describe(e));
    FreeEvent(e);
    return false;
}

// An object file without types: the signature and four counts.
std::string EmptyDat(uint32_t Signature) { return Quad(Signature) + Word(99) + Word(0) + Word(0) + Word(0); }

class Login : public ControlFixture {
  protected:
    void SetUp() override {
        Patchers = 0;
        Shown.clear();
        SetTestServer(false);
        ControlFixture::SetUp();
        SetAccountNumber(123456);
        SetPassword("secret");
    }
    void loadObjectTypes() override {
        testing_support::WriteFile("Vorna.dat", EmptyDat(0x11223344));
        LoadObjects("Vorna.dat");
    }
    void addHooks(ControlHooks& hooks) override {
        hooks.StartPatcher = CountPatcher;
        hooks.CarryOutEvent = Show;
    }
    void TearDown() override {
        ControlFixture::TearDown();
        SetTestServer(false);
    }
    static void AllLoginServersAt(int Port) {
        for (int i = 0; i < NUMBEROFSERVER; ++i) SetLoginServer(i, "127.0.0.1", Port);
        SetCurrentServer(0);
    }
    static std::string LoginRequest() {
        return Packet(Bytes({1}) + Word(2) + Word(760) + Quad(0x11223344) + Quad(0) + Quad(0) + Quad(123456) +
                      String("secret"));
    }
    // The events in the queue as "type:data-text:extra-text" or numbers.
    static std::vector<std::string> Queue() {
        std::vector<std::string> out;
        for (int i = 0; i < GetNumberOfEvents(); ++i) out.push_back(Describe(GetQueuedEvent(i)));
        return out;
    }
    // Logs in at the peer and returns the peer's end after the login request.
    int LogIn(Listener& peer) {
        AllLoginServersAt(peer.Port());
        PostEvent(MESSAGE_CONNECTLOGIN, 0, 0);
        ProcessEvents();
        EXPECT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_LOGIN_SENT; }));
        int fd = peer.Accept();
        EXPECT_EQ(Hex(Receive(fd, LoginRequest().size())), Hex(LoginRequest()));
        return fd;
    }
};

TEST_F(Login, LoginRequestCharacterListAndGameLoginByteForByte) {
    Listener login, game;
    int fd = LogIn(login);
    std::string list = Bytes({100, 1}) + String("Aldric") + String("Vornia") + Bytes({127, 0, 0, 1}) +
                       Word(game.Port()) + Word(14);
    Send(fd, Packet(Bytes({20}) + String("7\nWelcome to Vornia.") + list));
    Close(fd);
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_OFFLINE; }));
    EXPECT_EQ(Queue(), (std::vector<std::string>{"37:0:0", "10:300:0"}));
    EXPECT_EQ(GetLastMotD(), 7);
    EXPECT_STREQ(GetMessageOfTheDay(), "Welcome to Vornia.");
    ASSERT_EQ(GetAccountCharacters(), 1);
    EXPECT_STREQ(GetAccountCharacter(0).Name, "Aldric");
    EXPECT_STREQ(GetAccountCharacter(0).World, "Vornia");
    EXPECT_STREQ(GetAccountCharacter(0).AddressText, "127.0.0.1");
    EXPECT_EQ(GetPremiumDays(), 14);
    ClearEvents();

    SetActiveCharacter(0);
    PostEvent(MESSAGE_CONNECTGAME, 0, 0);
    ProcessEvents();
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_GAME_LOGIN_SENT; }));
    int g = game.Accept();
    ASSERT_GE(g, 0);
    std::string request = Packet(Bytes({10}) + Word(2) + Word(760) + Bytes({0}) + Quad(123456) + String("Aldric") +
                                 String("secret"));
    EXPECT_EQ(Hex(Receive(g, request.size())), Hex(request));
    EXPECT_EQ(GetConnectionState(), STATE_GAME_LOGIN_SENT);

    // Entering the game answers with the fight modes from the preferences.
    SetAttackMode(3);
    SetChaseMode(1);
    SetSecureMode(0);
    Send(g, Packet(Bytes({10}) + Quad(0x10000001) + Word(50) + Bytes({1})));
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_GAME; }));
    EXPECT_EQ(Hex(Receive(g, 6)), "04 00 A0 03 01 00");
    EXPECT_EQ(GetPlayerID(), 0x10000001u);
    EXPECT_TRUE(HasRight(40));
    EXPECT_FALSE(CanClose());

    // The game server ends the connection: back to the character list.
    Close(g);
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_OFFLINE; }));
    EXPECT_EQ(Queue(), (std::vector<std::string>{
                           "7:Warning:If you shut down the program, your character might stay in the game.\nClick on "
                           "\"Logout\" to ensure that your character leaves the game properly.\nClick on \"Exit\" if "
                           "you want to exit the program without logging out your character.",
                           "10:300:0"}));
    EXPECT_TRUE(CanClose());
}

TEST_F(Login, FourRefusingServersGiveOneMessageThenAFreshCycle) {
    for (int i = 0; i < NUMBEROFSERVER; ++i) SetLoginServer(i, "127.0.0.1", ClosedPort());
    SetCurrentServer(2);
    for (int cycle = 0; cycle < 2; ++cycle) {
        ConnectLoginServer();
        ASSERT_TRUE(PumpUntil([] { return GetNumberOfEvents() > 0 && GetConnectionState() == STATE_OFFLINE; }));
        PumpFor(50);
        ASSERT_EQ(GetNumberOfEvents(), 1) << cycle;

        EXPECT_EQ(Queue()[0], "1:Connection failed:" + GetConnectionErrorText(10061, 1));
        EXPECT_NE(Queue()[0].find("Error: Connection refused.\n\nAll login server are offline. Check "),
                  std::string::npos);
        for (int i = 0; i < NUMBEROFSERVER; ++i) {
            EXPECT_EQ(GetServerEntry(i).Available, 1) << i;
            EXPECT_EQ(GetServerEntry(i).LastError, 10061) << i;
            EXPECT_EQ(GetServerEntry(i).Resolved, 1) << i;
        }
        // Tried in turn from where the last cycle ended: 2, 3, 0, 1, then 1, 2, 3, 0.
        EXPECT_EQ(GetCurrentServer(), cycle == 0 ? 1 : 0);
        ClearEvents();
    }
}

TEST_F(Login, OverloadedServerIsMarkedAndTheNextTried) {
    Listener busy, fine;
    SetLoginServer(0, "127.0.0.1", busy.Port());
    SetLoginServer(1, "127.0.0.1", fine.Port());
    SetLoginServer(2, "127.0.0.1", ClosedPort());
    SetLoginServer(3, "127.0.0.1", ClosedPort());
    SetCurrentServer(0);
    ConnectLoginServer();
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_LOGIN_SENT; }));
    int b = busy.Accept();
    ASSERT_GE(b, 0);
    EXPECT_EQ(Hex(Receive(b, LoginRequest().size())), Hex(LoginRequest()));
    Send(b, Packet(Bytes({40})));
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_LOGIN_SENT && GetCurrentServer() == 1; }));
    EXPECT_TRUE(SeesClose(b));
    Close(b);
    int f = fine.Accept();
    ASSERT_GE(f, 0);
    EXPECT_EQ(Hex(Receive(f, LoginRequest().size())), Hex(LoginRequest()));
    EXPECT_EQ(GetServerEntry(0).LastError, 200001);
    // The successful connect ended the cycle: every entry is available again.
    EXPECT_EQ(GetServerEntry(0).Available, 1);
    Send(f, Packet(Bytes({100, 0}) + Word(0)));
    Close(f);
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_OFFLINE; }));
    EXPECT_EQ(Queue(), (std::vector<std::string>{"10:300:0"}));
    ClearEvents();

    // Overloaded while the other three refuse: the overloaded text wins.
    SetLoginServer(1, "127.0.0.1", ClosedPort());
    SetCurrentServer(0);
    ConnectLoginServer();
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_LOGIN_SENT; }));
    b = busy.Accept();
    ASSERT_GE(b, 0);
    EXPECT_EQ(Hex(Receive(b, LoginRequest().size())), Hex(LoginRequest()));
    Send(b, Packet(Bytes({40})));
    ASSERT_TRUE(PumpUntil([] { return GetNumberOfEvents() > 0; }));
    EXPECT_EQ(Queue(), (std::vector<std::string>{"1:Connection failed:" + GetConnectionErrorText(200001, 1)}));
    EXPECT_NE(Queue()[0].find("Error: Login server is overloaded. Please try again later."), std::string::npos);
    EXPECT_EQ(Queue()[0].find("All login server are offline"), std::string::npos);
    for (int i = 1; i < NUMBEROFSERVER; ++i) EXPECT_EQ(GetServerEntry(i).LastError, 10061) << i;
    EXPECT_EQ(GetConnectionState(), STATE_OFFLINE);
    Close(b);
}

TEST_F(Login, SilentServerIsAbandonedAfter150Ticks) {
    // A listener whose queue is full does not answer the connect at all.
    Listener silent(0);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        int s = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(uint16_t(silent.Port()));
        ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
        fillers.push_back(s);
    }
    PumpFor(50);
    SetTestServer(true);
    SetTestServerAddress("127.0.0.1");
    SetTestServerPort(silent.Port());
    ConnectLoginServer();
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_CONNECTING_LOGIN; }));
    PumpFor(100);
    ASSERT_EQ(GetConnectionState(), STATE_CONNECTING_LOGIN);
    for (int i = 0; i < 150; ++i) ControlTimerTick();
    EXPECT_EQ(GetConnectionState(), STATE_CONNECTING_LOGIN);
    EXPECT_EQ(GetNumberOfEvents(), 0);
    ControlTimerTick();
    EXPECT_EQ(GetConnectionState(), STATE_OFFLINE);
    EXPECT_EQ(Queue(), (std::vector<std::string>{"1:Connection failed:" + GetConnectionErrorText(10060, 1)}));
    EXPECT_NE(Queue()[0].find("Cannot connect to the test server.\n\nError: Connection timeout."), std::string::npos);
    for (int s : fillers) ::close(s);
}

TEST_F(Login, CharacterListOfNoEntries) {
    Listener peer;
    int fd = LogIn(peer);
    Send(fd, Packet(Bytes({100, 0}) + Word(0)));
    Close(fd);
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_OFFLINE; }));
    EXPECT_EQ(Queue(), (std::vector<std::string>{"10:300:0"}));
    EXPECT_EQ(GetAccountCharacters(), 0);
    EXPECT_EQ(GetAccountStatusText(1, 2, 3), "<font=4><red=1><green=2><blue=3>Account Status:\nFree Account");
}

TEST_F(Login, ServerClosingAfterTheRequestIsReportedWithTheLoginWording) {
    Listener peer;
    int fd = LogIn(peer);
    Close(fd);
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_OFFLINE; }));
    EXPECT_EQ(Queue(), (std::vector<std::string>{"1:Connection failed:" + GetConnectionErrorText(200002, 1)}));
    EXPECT_NE(Queue()[0].find("Cannot connect to a login server.\n\nError: Disconnected from server."),
              std::string::npos);
}

// Delta: write the new signature over the old one, copy 5 bytes (count in the
// next byte), copy 3.
std::string DatDelta() { return Bytes({0xC4, 0x0D, 0x0C, 0x0B, 0x0A, 0x3D, 0x05, 0x03}); }

TEST_F(Login, DeltaPatchOfTheObjectFileIsAppliedInstalledAndReloaded) {
    Listener peer;
    int fd = LogIn(peer);
    std::string delta = DatDelta();
    Send(fd, Packet(Bytes({30, 1}) + Quad(uint32_t(delta.size()))));
    Send(fd, Packet(Bytes({32}) + Word(int(delta.size())) + delta));
    ASSERT_TRUE(PumpUntil([] { return GetPatchProgress() == -1 && GetNumberOfEvents() > 0; }));
    EXPECT_EQ(testing_support::ReadFile("Vorna.dat_"), EmptyDat(0x0A0B0C0D));
    // The progress dialog was shown at once; the installation waits until
    // the login server has closed.
    EXPECT_EQ(Shown, (std::vector<std::string>{"38:Vorna.dat:8"})) << Shown.back();
    EXPECT_EQ(Queue(), (std::vector<std::string>{"59:0:0", "60:0:0", "64:0:0", "58:0:0"}));
    Close(fd);
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_OFFLINE; }));
    ProcessEvents();
    EXPECT_EQ(testing_support::ReadFile("Vorna.dat"), EmptyDat(0x0A0B0C0D));
    EXPECT_FALSE(std::filesystem::exists("Vorna.dat_"));
    EXPECT_EQ(GetObjectsSignature(), 0x0A0B0C0Du);
    // Logging in again has begun, at the address looked up before.
    EXPECT_EQ(GetConnectionState(), STATE_CONNECTING_LOGIN);
    EXPECT_EQ(Shown.back(), "3:0:0");
    EXPECT_EQ(GetNumberOfEvents(), 0);
    Disconnect(true);
}

TEST_F(Login, DeltaPatchForAnotherSignatureFailsAndLeavesTheFile) {
    Listener peer;
    int fd = LogIn(peer);
    // The file on disk is not the one whose signature went out.
    testing_support::WriteFile("Vorna.dat", EmptyDat(0x55555555));
    std::string delta = DatDelta();
    Send(fd, Packet(Bytes({30, 1}) + Quad(uint32_t(delta.size())) + Bytes({32}) + Word(int(delta.size())) + delta));
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_OFFLINE; }));
    EXPECT_EQ(Shown, (std::vector<std::string>{"38:Vorna.dat:8", "1:Error:Cannot patch file Vorna.dat."}));
    EXPECT_EQ(GetNumberOfEvents(), 0);
    EXPECT_EQ(testing_support::ReadFile("Vorna.dat"), EmptyDat(0x55555555));
    EXPECT_FALSE(IsConnected());
    EXPECT_TRUE(SeesClose(fd));
    Close(fd);
}

}  // namespace
