// The login server over loopback: every reply byte for byte, the operator's
// texts and limits, and clients that send nonsense.
#include "ServerHarness.h"

#include <gtest/gtest.h>

#include <thread>

using namespace servertest;

namespace {

Bytes CharacterList(const ServerRunner& S, const std::vector<std::string>& Names, int PremiumDays,
                    const std::string& Motd = "1\nWelcome to Demoland, the village by the lake.") {
    Packet P;
    P.Byte(20).String(Motd).Byte(100).Byte(int(Names.size()));
    for (const std::string& Name : Names) P.String(Name).String("Demoland").Byte(127).Byte(0).Byte(0).Byte(1).Word(S.GamePort);
    P.Word(PremiumDays);
    return P.Data;
}

Bytes Sorry(const std::string& Text) { return Packet().Byte(10).String(Text).Data; }

}  // namespace

TEST(LoginServer, CharacterListsOfTheDemoAccountsThenClose) {
    ServerRunner S;
    {
        TestClient C(S.LoginPort);
        C.SendPacket(LoginRequest(100001, "demo"));
        EXPECT_EQ(C.ReadPacket(), CharacterList(S, {"Aldric", "Mira"}, 30));
        EXPECT_TRUE(C.WaitClosed());
    }
    {
        // The test login port answers the same way.
        TestClient C(S.TestLoginPort);
        C.SendPacket(LoginRequest(100002, "demo"));
        EXPECT_EQ(C.ReadPacket(), CharacterList(S, {"Kestrel"}, 0));
        EXPECT_TRUE(C.WaitClosed());
    }
}

TEST(LoginServer, WrongPasswordUnknownAccountAndOldClientAreRefused) {
    ServerRunner S;
    struct Case {
        Bytes Request;
        Bytes Reply;
    };
    Bytes OldClient = Packet().Byte(1).Word(2).Word(750).Quad(0).Quad(0).Quad(0).Quad(100001).String("demo").Data;
    std::vector<Case> Cases = {
        {LoginRequest(100001, "Demo"), Sorry("Account number or password is not correct.")},
        {LoginRequest(100001, ""), Sorry("Account number or password is not correct.")},
        {LoginRequest(999999, "demo"), Sorry("Account number or password is not correct.")},
        {OldClient, Sorry("Your client does not match this server.\nPlease install the current version.")},
    };
    for (const Case& K : Cases) {
        TestClient C(S.LoginPort);
        C.SendPacket(K.Request);
        EXPECT_EQ(C.ReadPacket(), K.Reply);
        EXPECT_TRUE(C.WaitClosed());
    }
}

TEST(LoginServer, OperatorTextsComeBeforeTheList) {
    ServerRunner S("Information = \"Maintenance at noon.\"\nMotdNumber = 7\nMotd = \"Line one\\nLine two\"\n");
    TestClient C(S.LoginPort);
    C.SendPacket(LoginRequest(100002, "demo"));
    Bytes Expected = Packet().Byte(11).String("Maintenance at noon.").Data;
    Bytes List = CharacterList(S, {"Kestrel"}, 0, "7\nLine one\nLine two");
    Expected.insert(Expected.end(), List.begin(), List.end());
    EXPECT_EQ(C.ReadPacket(), Expected);
}

TEST(LoginServer, OverloadedWhenTheOperatorLimitIsReached) {
    ServerRunner S("MaxLoginConnections = 1\n");
    TestClient Idle(S.LoginPort);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    TestClient C(S.LoginPort);
    C.SendPacket(LoginRequest(100001, "demo"));
    EXPECT_EQ(C.ReadPacket(), Bytes{40});
    EXPECT_TRUE(C.WaitClosed());
}

TEST(LoginServer, MalformedPacketsDropOnlyTheirClient) {
    ServerRunner S;
    std::vector<Bytes> Garbage = {
        {0xFF, 0xFF, 1, 2, 3},                  // longer than any client packet
        {0x00, 0x00},                           // empty packet
        {0x03, 0x00, 1, 2, 0},                  // login request cut short
        {0x02, 0x00, 7, 7},                     // not a login request
        {0x13, 0x00, 1, 2, 0, 0xF8, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xA1, 0x86, 1, 0},  // no password
    };
    // A password string whose length word points past the end of the packet.
    Bytes Past = Packet().Byte(1).Word(2).Word(760).Quad(0).Quad(0).Quad(0).Quad(100001).Word(500).Byte('d').Data;
    Garbage.push_back({uint8_t(Past.size()), 0});
    Garbage.back().insert(Garbage.back().end(), Past.begin(), Past.end());
    // Bytes after a complete request.
    Bytes Trailing = LoginRequest(100001, "demo");
    Trailing.push_back(0);
    Garbage.push_back({uint8_t(Trailing.size()), 0});
    Garbage.back().insert(Garbage.back().end(), Trailing.begin(), Trailing.end());

    TestClient Waiting(S.LoginPort);  // a well-behaved client connected all along
    for (const Bytes& G : Garbage) {
        TestClient Bad(S.LoginPort);
        Bad.SendRaw(G);
        EXPECT_TRUE(Bad.WaitClosed()) << "garbage of " << G.size() << " bytes";
    }
    Waiting.SendPacket(LoginRequest(100002, "demo"));
    EXPECT_EQ(Waiting.ReadPacket(), CharacterList(S, {"Kestrel"}, 0));
}

TEST(LoginServer, SilentConnectionTimesOut) {
    ServerRunner S("LoginTimeoutMs = 300\n");
    TestClient C(S.LoginPort);
    auto Start = std::chrono::steady_clock::now();
    EXPECT_TRUE(C.WaitClosed(4000));
    EXPECT_GE(std::chrono::steady_clock::now() - Start, std::chrono::milliseconds(250));
}

TEST(LoginServer, PacketSplitIntoPiecesIsAnsweredOnce) {
    ServerRunner S;
    TestClient C(S.LoginPort);
    Bytes Request = LoginRequest(100002, "demo");
    Bytes Whole{uint8_t(Request.size()), 0};
    Whole.insert(Whole.end(), Request.begin(), Request.end());
    for (size_t i = 0; i < Whole.size(); i += 3) {
        C.SendRaw(Bytes(Whole.begin() + long(i), Whole.begin() + long(std::min(Whole.size(), i + 3))));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(C.ReadPacket(), CharacterList(S, {"Kestrel"}, 0));
    EXPECT_TRUE(C.WaitClosed());
}
