// The connection layer against scripted loopback peers, with handlers that
// record what the layer hands over.
#include "net/Network.h"

#include "LoopbackPeer.h"
#include "config/Preferences.h"
#include "core/BuildSettings.h"
#include "core/Status.h"
#include "core/sysinc.h"
#include "net/PacketBuffer.h"
#include "support/TestSupport.h"

#include <future>
#include <string>
#include <vector>

using namespace loopback;

namespace {

int Connects = 0, Closes = 0;
std::vector<std::vector<int>> Runs;  // command bytes handed over, per receive call

void OnConnected() {
    ++Connects;
    SetConnectionState(STATE_LOGIN_SENT);
}
void OnReceived() {
    std::vector<int> commands;
    for (int c = GetCommand(); c != -1; c = GetCommand()) commands.push_back(c);
    Runs.push_back(commands);
}
void OnClosed() {
    ++Closes;
    SetConnectionState(STATE_OFFLINE);
}
void NoWarning() {}

class Network : public testing::Test {
  protected:
    void SetUp() override {
        Connects = Closes = 0;
        Runs.clear();
        InitSysinc();
        InitStatus(0, NoWarning);
        SetPreferencesPath((dir.Path() / "Vorna.cfg").string());
        SetTestServer(false);
        InitNetwork(OnConnected, OnReceived, OnClosed);
    }
    void TearDown() override {
        SetSocketSendBufferSize(0);
        ExitNetwork();
        SetTestServer(false);
        ExitStatus();
        ExitSysinc();
    }
    // Every login entry at the peer; returns the peer's end of the connection.
    int ConnectTo(Listener& peer) {
        for (int i = 0; i < NUMBEROFSERVER; ++i) SetLoginServer(i, "127.0.0.1", peer.Port());
        ConnectLoginServer();
        EXPECT_TRUE(PumpUntil([] { return Connects == 1; }));
        return peer.Accept();
    }
    // Sends bytes and waits until the client has read them all.
    void Deliver(int fd, const std::string& bytes) {
        int before = 0;
        GetReceiveCounters(&before, nullptr, nullptr);
        Send(fd, bytes);
        // Bytes consumed by a run may be moved away, so wait on the runs as well.
        size_t runs = Runs.size();
        PumpUntil([&] {
            int filled = 0;
            GetReceiveCounters(&filled, nullptr, nullptr);
            return filled >= before + int(bytes.size()) || Runs.size() > runs;
        });
    }
    testing_support::ScopedWorkDir dir;
};

TEST_F(Network, PacketsAreHandedOverWholeAndByRead) {
    Listener peer;
    int fd = ConnectTo(peer);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(GetConnectionState(), STATE_LOGIN_SENT);

    // Two packets in one read: one call with both commands.
    Deliver(fd, Packet(Bytes({10})) + Packet(Bytes({11})));
    ASSERT_EQ(Runs.size(), 1u);
    EXPECT_EQ(Runs[0], (std::vector<int>{10, 11}));
    // The error log's snapshot: what follows the length word at the buffer's start.
    uint8_t snapshot[PACKET_SNAPSHOT_SIZE];
    GetPacketSnapshot(snapshot);
    EXPECT_EQ(Hex(std::string(reinterpret_cast<char*>(snapshot), 5)), "0A 01 00 00 00");

    // One packet in three reads: handed over after the third.
    Deliver(fd, Word(2));
    Deliver(fd, Bytes({12}));
    EXPECT_EQ(Runs.size(), 1u);
    Deliver(fd, Bytes({13}));
    ASSERT_EQ(Runs.size(), 2u);
    EXPECT_EQ(Runs[1], (std::vector<int>{12, 13}));

    // A packet of length 0 ends the run; the packet behind it waits for the next one.
    Deliver(fd, Packet("") + Packet(Bytes({14})));
    ASSERT_EQ(Runs.size(), 3u);
    EXPECT_TRUE(Runs[2].empty());
    Deliver(fd, Packet(Bytes({15, 16})));
    ASSERT_EQ(Runs.size(), 4u);
    EXPECT_EQ(Runs[3], (std::vector<int>{14, 15, 16}));
    Close(fd);
    EXPECT_TRUE(PumpUntil([] { return Closes == 1; }));
    EXPECT_FALSE(IsConnected());
}

TEST_F(Network, LargestPacketFitsAndALargerOneEndsTheConnection) {
    Listener peer;
    int fd = ConnectTo(peer);
    ASSERT_GE(fd, 0);
    std::string body(RECEIVE_BUFFER_SIZE - 2, '\x07');
    body[0] = 42;
    Send(fd, Packet(body));
    ASSERT_TRUE(PumpUntil([] { return !Runs.empty(); }));
    ASSERT_EQ(Runs[0].size(), body.size());  // every byte read as a command by the recorder
    EXPECT_EQ(Runs[0][0], 42);

    // One byte more can never be held: no waiting for ever, but an error.
    Send(fd, Word(RECEIVE_BUFFER_SIZE - 1) + std::string(100, 'x'));
    ASSERT_TRUE(PumpUntil([] { return Closes == 1; }));
    EXPECT_FALSE(IsConnected());
    ASSERT_EQ(GetNumberOfEvents(), 1);
    EXPECT_STREQ(EventText(GetQueuedEvent(0).Data), "Connection failed");
    EXPECT_NE(std::string(EventText(GetQueuedEvent(0).Extra)).find("Error: Connection error."), std::string::npos);
    EXPECT_TRUE(SeesClose(fd));
    Close(fd);
}

TEST_F(Network, SendsThatTheSocketTakesInPartAreCompletedInOrder) {
    SetSocketSendBufferSize(4096);
    Listener peer(8, 4096);
    int fd = ConnectTo(peer);
    ASSERT_GE(fd, 0);
    // The peer does not read yet: the kernel buffers fill and the rest must wait.
    std::string expected;
    bool waited = false;
    for (int i = 0; i < 400; ++i) {
        BeginPacket(i & 0xFF);
        std::string text(1000, char('a' + i % 26));
        AddString(text.c_str());
        AddQuad(uint32_t(i));
        SendPacket();
        expected += Packet(Bytes({i & 0xFF}) + String(text) + Quad(uint32_t(i)));
        if (GetPendingSendBytes() > 0) waited = true;
    }
    EXPECT_TRUE(waited);
    auto reader = std::async(std::launch::async, [&] { return Receive(fd, expected.size(), 10000); });
    ASSERT_TRUE(PumpUntil([&] { return reader.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 15000));
    std::string got = reader.get();
    EXPECT_EQ(GetPendingSendBytes(), 0);
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
    Close(fd);
}

TEST_F(Network, DisconnectShutsDownInOrder) {
    Listener peer;
    int fd = ConnectTo(peer);
    ASSERT_GE(fd, 0);
    Send(fd, Bytes({5, 0, 1}));  // part of a packet
    PumpFor(20);
    Disconnect(false);
    EXPECT_FALSE(IsConnected());
    EXPECT_TRUE(SeesClose(fd));
    EXPECT_EQ(Closes, 0);  // the caller ended it: no close notification
    Close(fd);
}

TEST_F(Network, ErrorTexts) {
    const std::string faq = "\n\nFor more information take a look at the FAQs in the \nguide section at " +
                            std::string(build_settings::ACCOUNT_URL) + ".";
    EXPECT_EQ(GetConnectionErrorText(10061, 1),
              "Cannot connect to a login server.\n\nError: Connection refused.\n\nAll login server are offline. Check " +
                  std::string(build_settings::ACCOUNT_URL) + "\nfor more information." + faq);
    EXPECT_EQ(GetConnectionErrorText(10061, 2),
              "Cannot connect to the game server.\n\nError: Connection refused.\n\nThe game server is offline. Check " +
                  std::string(build_settings::ACCOUNT_URL) + "\nfor more information." + faq);
    EXPECT_EQ(GetConnectionErrorText(424242, 2), "Cannot connect to the game server.\n\nError: 424242" + faq);
    const std::pair<int, const char*> table[] = {
        {10022, "Invalid server address."}, {10049, "Invalid server address."}, {10040, "Connection error."},
        {10050, "Network is unreachable."}, {10051, "Network is unreachable."}, {10060, "Connection timeout."},
        {10065, "Server is unreachable."},  {11001, "Server name does not exist."},
        {11002, "Could not resolve server name."}, {11004, "Error while resolving the server name."},
        {200001, "Login server is overloaded. Please try again later."}, {200002, "Disconnected from server."},
        {-1, "-1"}};
    for (auto [code, text] : table)
        EXPECT_EQ(GetConnectionErrorText(code, 1), "Cannot connect to a login server.\n\nError: " + std::string(text) + faq)
            << code;
    EXPECT_ASSERTION(GetConnectionErrorText(10061, 3), "false");

    SetTestServer(true);
    EXPECT_EQ(GetConnectionErrorText(10061, 1),
              "Cannot connect to the test server.\n\nError: Connection refused.\n\nThe test server is offline. Check " +
                  std::string(build_settings::ACCOUNT_URL) +
                  "\nfor more information on any current test.\nIf you don't want to use the test server go to\nthe "
                  "network option and uncheck \"Test Server Login\"." + faq);
    EXPECT_EQ(GetConnectionErrorText(10060, 2),
              "Cannot connect to the test server.\n\nError: Connection timeout.\n\nCheck " +
                  std::string(build_settings::ACCOUNT_URL) +
                  " for more information on \nany current test.\nIf you don't want to use the test server go to\nthe "
                  "network option and uncheck \"Test Server Login\"." + faq);
}

TEST_F(Network, PacketBuilderChecks) {
    EXPECT_ASSERTION(BeginPacket(256), "In(CommandType,0,255)");
    EXPECT_ASSERTION(BeginPacket(-1), "In(CommandType,0,255)");
    BeginPacket(1);
    EXPECT_ASSERTION(AddString(nullptr), "Text!=NULL");
    // What the player writes can be longer than a packet: it is cut to fit
    // (the bytes are checked with the commands that carry such texts).
    std::string long_text(SEND_BUFFER_SIZE, 'x');
    AddString(long_text.c_str());
    EXPECT_ASSERTION(AddByte(1), "Position<=Size-1");
}

TEST(PacketBuffers, FieldsAreLittleEndianAndStringsAreCut) {
    uint8_t data[64] = {};
    WriteBuffer w(data, sizeof data);
    w.writeByte(0xAB);
    w.writeWord(0x1234);
    w.writeQuad(0xDEADBEEF);
    w.writeString("Aldric");
    w.writeString("");
    w.writeByte(9);
    EXPECT_EQ(Hex(std::string(reinterpret_cast<char*>(data), size_t(w.Position))),
              "AB 34 12 EF BE AD DE 06 00 41 6C 64 72 69 63 00 00 09");

    ReadBuffer r(data, w.Position);
    EXPECT_EQ(r.readByte(), 0xAB);
    EXPECT_EQ(r.readWord(), 0x1234);
    EXPECT_EQ(r.readQuad(), 0xDEADBEEFu);
    char small[4];
    r.readString(small, 4);  // cut to three characters, position past the whole string
    EXPECT_STREQ(small, "Ald");
    char empty[4] = "x";
    r.readString(empty, 4);
    EXPECT_STREQ(empty, "");
    EXPECT_EQ(r.readByte(), 9);
    EXPECT_ASSERTION(r.readByte(), "Position<=Size-1");
    EXPECT_ASSERTION(r.readWord(), "Position<=Size-2");
    EXPECT_ASSERTION(r.readQuad(), "Position<=Size-4");
    EXPECT_ASSERTION(r.readString(nullptr, 4), "Buffer!=NULL");

    ReadBuffer again(data, w.Position);
    again.Position = 7;
    char* copy = again.readNewString();
    EXPECT_STREQ(copy, "Aldric");
    delete[] copy;
    ReadBuffer unlimited(data, w.Position);
    unlimited.Position = 7;
    char all[16];
    unlimited.readString(all, -1);
    EXPECT_STREQ(all, "Aldric");

    // A string whose length points past the end.
    uint8_t bad[] = {5, 0, 'a', 'b'};
    ReadBuffer b(bad, 4);
    char out[8];
    EXPECT_ASSERTION(b.readString(out, 8), "Position<=Size-Length");
    EXPECT_ASSERTION(ReadBuffer(nullptr, 1), "data!=NULL");
    EXPECT_ASSERTION(ReadBuffer(bad, -1), "size>=0");

    uint8_t tiny[3];
    WriteBuffer t(tiny, 3);
    t.writeWord(1);
    EXPECT_ASSERTION(t.writeWord(1), "Position<=Size-2");
    EXPECT_ASSERTION(t.writeQuad(1), "Position<=Size-4");
    t.writeByte(1);
    EXPECT_ASSERTION(t.writeByte(1), "Position<=Size-1");
    EXPECT_ASSERTION(t.writeString(nullptr), "s!=NULL");
}

}  // namespace
