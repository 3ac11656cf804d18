// Every message type of the game protocol comes from the reference server
// in a scripted game on loopback: three players walk, change floors, open
// containers, trade, talk in channels, ask and answer requests, fight in the
// arena and a creature, change outfits and lists; a full world and a second
// login bring the refusals. The test prints the list of what came.
#include "ServerHarness.h"

#include "support/TestSupport.h"
#include "world/TypeNumbers.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

using namespace servertest;

namespace {

constexpr uint32_t CHICKEN = 0x40000000;

Position Slot(int Number) { return {0xFFFF, Number, 0}; }
Position InContainer(int Number, int Place) { return {0xFFFF, 64 + Number, Place}; }
Bytes Use(const Position& Where, int Type, int Stack, int Number) {
    return Packet().Byte(130).Pos(Where).Word(Type).Byte(Stack).Byte(Number).Data;
}
Bytes MoveObject(const Position& From, int Type, int Stack, const Position& To, int Count) {
    return Packet().Byte(120).Pos(From).Word(Type).Byte(Stack).Pos(To).Byte(Count).Data;
}
Bytes Named(int Command, const std::string& Name) { return Packet().Byte(Command).String(Name).Data; }

// Reads until the player has seen the message type at least once.
bool Got(GamePlayer& P, int Command, int TimeoutMs = 15000) {
    return P.ReadUntil([&] { return P.View.Everything.count(Command) > 0; }, TimeoutMs);
}

}  // namespace

TEST(Coverage, EveryServerMessageTypeComesInAScriptedGame) {
    std::set<int> Seen;
    {
        // A world without room: the waiting list.
        ServerRunner Full("MaxPlayers = 0\n");
        TestClient C(Full.GamePort);
        C.SendPacket(GameLogin(100001, "Aldric", "demo"));
        auto Body = C.ReadPacket();
        ASSERT_TRUE(Body);
        ClientView V;
        V.Decode(*Body);
        Seen.insert(V.Everything.begin(), V.Everything.end());
    }
    ServerRunner S("PingIntervalMs = 1000\n");
    S.SetCharacterValues("Aldric", {{"PositionX", "116"}, {"PositionY", "101"}, {"PositionZ", "7"}, {"Slot10", "\"218\""}});
    S.SetCharacterValues("Kestrel", {{"PositionX", "118"}, {"PositionY", "101"}, {"PositionZ", "7"}});
    S.SetCharacterValues("Mira", {{"PositionX", "102"}, {"PositionY", "104"}, {"PositionZ", "7"}, {"DeathLoss", "5"}});
    GamePlayer A(S.GamePort, 100001, "Aldric");  // 10, 11, 100, 130, 160, 161, 162, 120, 210
    {
        TestClient Twice(S.GamePort);  // 20
        Twice.SendPacket(GameLogin(100001, "Aldric", "demo"));
        auto Body = Twice.ReadPacket();
        ASSERT_TRUE(Body);
        ClientView V;
        V.Decode(*Body);
        Seen.insert(V.Everything.begin(), V.Everything.end());
    }
    std::optional<GamePlayer> Kestrel;
    Kestrel.emplace(S.GamePort, 100002, "Kestrel");
    GamePlayer& K = *Kestrel;
    GamePlayer M(S.GamePort, 100001, "Mira");  // 21 for the loss of her last death
    ASSERT_TRUE(Got(A, 211));                  // Kestrel came online
    ASSERT_TRUE(Got(A, 30));                   // ping

    // Mira: the four map edges, a text to edit, containers, the floors, a blocked step.
    for (int Step : {101, 103, 102, 104}) ASSERT_TRUE(M.Do(Packet().Byte(Step).Data, 109)) << Step;
    ASSERT_TRUE(M.Do(Use({101, 103, 7}, TYPE_BOOK, 1, 0), 150));
    ASSERT_TRUE(M.Do(Use(Slot(3), TYPE_BACKPACK, 0, 0), 110));
    ASSERT_TRUE(M.Do(MoveObject(InContainer(0, 0), TYPE_GOLD_COIN, 0, {102, 105, 7}, 7), 106));  // 113 and 106
    ASSERT_TRUE(M.Do(MoveObject(Slot(5), TYPE_MACE, 0, Slot(3), 1), 112));                      // 121 and 112
    ASSERT_EQ(M.View.Containers[0].Objects[12].Type, TYPE_RING);
    ASSERT_TRUE(M.Do(MoveObject(InContainer(0, 12), TYPE_RING, 12, Slot(9), 1), 143));  // 114, 120, 162, 143
    ASSERT_TRUE(M.Do(Packet().Byte(135).Byte(0).Data, 111));
    ASSERT_TRUE(M.Do(Packet().Byte(102).Data, 109));
    ASSERT_TRUE(M.Do(Packet().Byte(103).Data, 191));  // the stairs down
    ASSERT_TRUE(M.Do(Packet().Byte(107).Data, 190));  // the ramp up
    ASSERT_TRUE(M.Do(Packet().Byte(101).Data, 109));
    ASSERT_TRUE(M.Do(Packet().Byte(101).Data, 181));  // the wall

    // Aldric: a field asked for again, the outfit, the gate's list, talk,
    // channels, a party.
    ASSERT_TRUE(A.Do(Packet().Byte(201).Word(116).Word(101).Byte(7).Data, 105));
    ASSERT_TRUE(A.Do(Packet().Byte(210).Data, 200));
    ASSERT_TRUE(A.Do(Packet().Byte(211).Byte(OUTFIT_KNIGHT).Byte(1).Byte(2).Byte(3).Byte(4).Data, 142));
    ASSERT_TRUE(A.Do(Packet().Byte(131).Pos(Slot(10)).Word(TYPE_KEY).Byte(0).Pos({116, 100, 7}).Word(TYPE_GATE_H_CLOSED).Byte(1).Data, 151));
    ASSERT_TRUE(A.Do(Packet().Byte(150).Byte(1).String("Hello").Data, 170));
    ASSERT_TRUE(A.Do(Packet().Byte(151).Data, 171));
    ASSERT_TRUE(A.Do(Packet().Byte(152).Word(1).Data, 172));
    ASSERT_TRUE(A.Do(Named(154, "Kestrel"), 173));
    ASSERT_TRUE(A.Do(Packet().Byte(170).Data, 178));
    int Own = A.View.OpenedChannels.back().first;
    A.Client.SendPacket(Named(171, "Kestrel"));
    ASSERT_TRUE(Got(K, 180));
    ASSERT_TRUE(K.Do(Packet().Byte(152).Word(Own).Data, 172));
    A.Client.SendPacket(Named(172, "Kestrel"));
    ASSERT_TRUE(Got(K, 179));
    ASSERT_TRUE(A.Do(Packet().Byte(163).Quad(3).Data, 145));

    // Requests: Mira asks, Aldric takes it, she cancels (176); she asks
    // again and Aldric closes it (177).
    M.Client.SendPacket(Packet().Byte(150).Byte(6).String("Help, please").Data);
    ASSERT_TRUE(A.Do(Packet().Byte(152).Word(3).Data, 174));
    ASSERT_TRUE(A.Do(Named(155, "Mira"), 175));
    M.Client.SendPacket(Packet().Byte(157).Data);
    ASSERT_TRUE(Got(A, 176));
    M.Client.SendPacket(Packet().Byte(150).Byte(6).String("Once more").Data);
    ASSERT_TRUE(A.ReadUntil([&] { return !A.View.Talk.empty() && A.View.Talk.back().Text == "Once more"; }));
    A.Client.SendPacket(Named(156, "Mira"));
    ASSERT_TRUE(Got(M, 177));

    // Trade between Aldric and Kestrel.
    ASSERT_TRUE(A.Do(Packet().Byte(125).Pos(Slot(1)).Word(TYPE_LEATHER_HELMET).Byte(0).Quad(3).Data, 125));
    ASSERT_TRUE(K.Do(Packet().Byte(125).Pos(Slot(10)).Word(TYPE_ARROW).Byte(0).Quad(1).Data, 126));
    ASSERT_TRUE(Got(A, 126));
    ASSERT_TRUE(A.Do(Packet().Byte(128).Data, 127));

    // The arena: Kestrel attacks Aldric (mark, skull); then she shoots the
    // chicken with her bow until it dies (missile, health, target cleared);
    // her torch put away changes her light.
    K.Client.SendPacket(Packet().Byte(161).Quad(1).Data);
    ASSERT_TRUE(Got(A, 134));
    ASSERT_TRUE(Got(A, 144));
    ASSERT_TRUE(K.Do(Packet().Byte(100).Byte(3).Byte(1).Byte(1).Byte(1).Data, 109));
    ASSERT_TRUE(K.ReadUntil([&] { return K.Me() == Position{121, 101, 7}; }));
    K.Client.SendPacket(Packet().Byte(161).Quad(CHICKEN).Data);
    ASSERT_TRUE(Got(K, 133));
    ASSERT_TRUE(Got(K, 163, 30000));
    ASSERT_TRUE(K.Do(MoveObject(Slot(6), TYPE_TORCH, 0, Slot(3), 1), 141));

    // Kestrel, still in a fight, may not log out; she drops the connection
    // and Aldric's buddy goes offline.
    ASSERT_TRUE(K.Do(Packet().Byte(20).Data, 180));
    EXPECT_EQ(K.View.TextMessages.back().second, "You may not logout during a fight.");
    Seen.insert(K.View.Everything.begin(), K.View.Everything.end());
    Kestrel.reset();
    ASSERT_TRUE(Got(A, 212));

    for (GamePlayer* P : {&A, &M}) Seen.insert(P->View.Everything.begin(), P->View.Everything.end());
    std::string List;
    for (int C : Seen) List += " " + std::to_string(C);
    std::printf("server messages seen:%s\n", List.c_str());
    const int Protocol[] = {10,  11,  20,  21,  22,  30,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110,
                            111, 112, 113, 114, 120, 121, 125, 126, 127, 130, 131, 132, 133, 134, 140, 141, 142,
                            143, 144, 145, 150, 151, 160, 161, 162, 163, 170, 171, 172, 173, 174, 175, 176, 177,
                            178, 179, 180, 181, 190, 191, 200, 210, 211, 212};
    for (int C : Protocol) EXPECT_TRUE(Seen.count(C)) << "message " << C << " never came";
}
