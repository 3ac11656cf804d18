// The player's dealings with objects over loopback: containers, moving
// objects between the map, containers and body slots with weight and stack
// counts, a second player watching, rotating, the depot, the gate's guest
// list, trade, fighting and following, parties, and commands out of range.
#include "ServerHarness.h"

#include "support/TestSupport.h"
#include "world/TypeNumbers.h"

#include <gtest/gtest.h>

#include <random>

using namespace servertest;

namespace {

constexpr uint32_t CHICKEN = 0x40000000;  // the first non-player creature

Position Slot(int Number) { return {0xFFFF, Number, 0}; }
Position InContainer(int Number, int Place) { return {0xFFFF, 64 + Number, Place}; }

Bytes Use(const Position& Where, int Type, int Stack, int Number) {
    return Packet().Byte(130).Pos(Where).Word(Type).Byte(Stack).Byte(Number).Data;
}
Bytes MoveObject(const Position& From, int Type, int Stack, const Position& To, int Count) {
    return Packet().Byte(120).Pos(From).Word(Type).Byte(Stack).Pos(To).Byte(Count).Data;
}

// Reads until a packet starting with the command arrives and returns its
// first Length bytes (all of them with Length 0); everything read goes into
// the view. Messages sent together arrive in one packet.
Bytes PacketOf(GamePlayer& P, int Command, size_t Length = 0) {
    for (;;) {
        auto Body = P.Client.ReadPacket();
        if (!Body) return {};
        P.View.Decode(*Body);
        if (Body->empty() || (*Body)[0] != Command) continue;
        if (Length != 0 && Body->size() > Length) Body->resize(Length);
        return *Body;
    }
}

std::string LastText(const GamePlayer& P) { return P.View.TextMessages.empty() ? "" : P.View.TextMessages.back().second; }

// The server with Aldric (and Mira when asked) placed among the objects:
// Aldric at (111,102) next to the chest, the depot box, the chain armor,
// the backpack on the ground, the chair and the key.
using Values = std::vector<std::pair<std::string, std::string>>;

struct Village {
    ServerRunner S;
    explicit Village(Values Aldric = {}, const Values& Mira = {}) {
        Aldric.insert(Aldric.begin(), {{"PositionX", "111"}, {"PositionY", "102"}, {"PositionZ", "7"}});
        S.SetCharacterValues("Aldric", Aldric);
        if (!Mira.empty()) S.SetCharacterValues("Mira", Mira);
    }
};

}  // namespace

TEST(Objects, ContainersOpenWithTheirContentsGoUpAndClose) {
    Village V;
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    A.Client.SendPacket(Use({110, 101, 7}, TYPE_CHEST, 1, 0));
    EXPECT_EQ(PacketOf(A, 110), Packet()
                                    .Byte(110).Byte(0).Word(TYPE_CHEST).String("chest").Byte(15).Byte(0).Byte(3)
                                    .Word(TYPE_BAG).Word(TYPE_SWORD).Word(TYPE_ARROW).Byte(60)
                                    .Data);
    // The bag inside opens in a second window and knows it has a parent.
    A.Client.SendPacket(Use(InContainer(0, 0), TYPE_BAG, 0, 1));
    EXPECT_EQ(PacketOf(A, 110),
              Packet().Byte(110).Byte(1).Word(TYPE_BAG).String("bag").Byte(8).Byte(1).Byte(1).Word(TYPE_GOLD_COIN).Byte(10).Data);
    // "Move up" (place 254 of the bag's window): the coins go into the chest
    // that holds the bag, all ten of them.
    ASSERT_TRUE(A.Do(MoveObject(InContainer(1, 0), TYPE_GOLD_COIN, 0, InContainer(1, 254), 10), 112));
    EXPECT_EQ(A.View.Containers[0].Objects.size(), 4u);
    EXPECT_TRUE(A.View.Containers[1].Objects.empty());
    // Up shows the chest in the bag's window; the chest's first window closes.
    ASSERT_TRUE(A.Do(Packet().Byte(136).Byte(1).Data, 110));
    EXPECT_EQ(A.View.Containers.count(0), 0u);
    ASSERT_EQ(A.View.Containers.count(1), 1u);
    EXPECT_EQ(A.View.Containers[1].Type, TYPE_CHEST);
    EXPECT_FALSE(A.View.Containers[1].HasParent);
    // Asked for again (as after losing an object of a full window) it comes whole.
    ASSERT_TRUE(A.Do(Packet().Byte(202).Byte(1).Data, 110));
    EXPECT_EQ(A.View.Containers[1].Objects.size(), 4u);  // with the coins moved up
    // Using an open container closes it; so does the close command.
    ASSERT_TRUE(A.Do(Use({110, 101, 7}, TYPE_CHEST, 1, 4), 111));
    EXPECT_TRUE(A.View.Containers.empty());
    ASSERT_TRUE(A.Do(Use(Slot(3), TYPE_BACKPACK, 0, 2), 110));
    EXPECT_EQ(A.View.Containers[2].Objects.size(), 5u);
    ASSERT_TRUE(A.Do(Packet().Byte(135).Byte(2).Data, 111));
    EXPECT_TRUE(A.View.Containers.empty());
}

TEST(Objects, TakingFromTheMapWeighsAndAnotherPlayerSeesItGo) {
    Village V({}, {{"PositionX", "108"}, {"PositionY", "102"}, {"PositionZ", "7"}});
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    GamePlayer M(V.S.GamePort, 100001, "Mira");
    A.Settle(100);
    int Before = A.View.Capacity;
    ASSERT_GT(Before, 120);
    // The chain armor (120 units) into the slot of the backpack: it goes in.
    A.Client.SendPacket(MoveObject({112, 101, 7}, TYPE_CHAIN_ARMOR, 1, Slot(3), 1));
    // The field loses it, then the player values come with the new capacity.
    EXPECT_EQ(PacketOf(A, 108, 8), Packet().Byte(108).Pos({112, 101, 7}).Byte(1).Byte(160).Data);
    EXPECT_EQ(A.View.Capacity, Before - 120);
    ASSERT_TRUE(M.ReadUntil([&] { return M.View.FieldAt({112, 101, 7}).size() == 1; }));
    ASSERT_TRUE(A.Do(Use(Slot(3), TYPE_BACKPACK, 0, 0), 110));
    ASSERT_EQ(A.View.Containers[0].Objects.size(), 6u);
    EXPECT_EQ(A.View.Containers[0].Objects[0], (Thing{TYPE_CHAIN_ARMOR, 0}));
    // Dropped back onto the map next to Mira, the weight is gone again.
    ASSERT_TRUE(A.Do(MoveObject(InContainer(0, 0), TYPE_CHAIN_ARMOR, 0, {109, 102, 7}, 1), 160));
    EXPECT_EQ(A.View.Capacity, Before);
    EXPECT_EQ(A.View.Containers[0].Objects.size(), 5u);
    ASSERT_TRUE(M.ReadUntil([&] { return M.View.FieldAt({109, 102, 7}).size() == 2; }));
    EXPECT_EQ(M.View.FieldAt({109, 102, 7})[1], (Thing{TYPE_CHAIN_ARMOR, 0}));

    // Saved with the character: the backpack's contents in their order.
    A.Client.SendPacket({20});
    EXPECT_TRUE(A.Client.WaitClosed());
    std::string Saved = testing_support::ReadFile(V.S.StateDir / "characters" / "aldric.txt");
    EXPECT_NE(Saved.find("Slot3 = \"177{178:40 207:5 214 187 176{205 182:1}}\""), std::string::npos) << Saved;
}

TEST(Objects, TooHeavyObjectsAreRefused) {
    Village V(Values{{"Capacity", "260"}});
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    int Before = A.View.Capacity;
    ASSERT_LT(Before, 120);
    ASSERT_TRUE(A.Do(MoveObject({112, 101, 7}, TYPE_CHAIN_ARMOR, 1, Slot(3), 1), 180));
    EXPECT_EQ(A.View.TextMessages.back(), (std::pair<int, std::string>{23, "This object is too heavy."}));
    A.Settle(150);
    EXPECT_FALSE(A.Saw(108));
    EXPECT_FALSE(A.Saw(160));
    EXPECT_EQ(A.View.FieldAt({112, 101, 7}).size(), 2u);
    // Moving it along the ground needs no capacity.
    ASSERT_TRUE(A.Do(MoveObject({112, 101, 7}, TYPE_CHAIN_ARMOR, 1, {112, 102, 7}, 1), 106));
    EXPECT_EQ(A.View.FieldAt({112, 102, 7}), (std::vector<Thing>{{TYPE_GRASS, 0}, {TYPE_CHAIN_ARMOR, 0}}));
    EXPECT_EQ(A.View.Capacity, Before);
}

TEST(Objects, StacksSplitAndMergeUpToAHundred) {
    Village V;
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    // The chest's 60 arrows into the empty extra slot.
    ASSERT_TRUE(A.Do(Use({110, 101, 7}, TYPE_CHEST, 1, 0), 110));
    ASSERT_TRUE(A.Do(MoveObject(InContainer(0, 2), TYPE_ARROW, 0, Slot(10), 60), 120));
    EXPECT_EQ(A.View.Slots[10], (Thing{TYPE_ARROW, 60}));
    EXPECT_EQ(A.View.Containers[0].Objects.size(), 2u);
    // The 90 arrows at (113,101) lie two fields away.
    ASSERT_TRUE(A.Do(MoveObject({113, 101, 7}, TYPE_ARROW, 1, Slot(10), 30), 180));
    EXPECT_EQ(LastText(A), "You are too far away.");
    ASSERT_TRUE(A.Do({102}, 109));  // to (112,102)
    // 30 of them split off the stack and join the slot's 60.
    A.Client.SendPacket(MoveObject({113, 101, 7}, TYPE_ARROW, 1, Slot(10), 30));
    EXPECT_EQ(PacketOf(A, 107, 16),
              Packet().Byte(107).Pos({113, 101, 7}).Byte(1).Word(TYPE_ARROW).Byte(60).Byte(120).Byte(10).Word(TYPE_ARROW).Byte(90).Byte(160).Data);
    // 90 and 50 would be more than 100: the slot has no room for them.
    ASSERT_TRUE(A.Do(MoveObject({113, 101, 7}, TYPE_ARROW, 1, Slot(10), 50), 180));
    EXPECT_EQ(LastText(A), "There is not enough room.");
    // More than the stack holds, or a count of 0, moves nothing.
    for (int Count : {61, 0}) {
        A.View.Commands.clear();
        A.Client.SendPacket(MoveObject({113, 101, 7}, TYPE_ARROW, 1, {112, 103, 7}, Count));
        A.Settle(150);
        EXPECT_TRUE(A.View.Commands.empty()) << Count;
    }
    // Dropped on the field the pieces join the stack lying there, up to 100;
    // beyond that they lie as a stack of their own.
    ASSERT_TRUE(A.Do(MoveObject(Slot(10), TYPE_ARROW, 0, {113, 101, 7}, 10), 107));
    EXPECT_EQ(A.View.FieldAt({113, 101, 7}), (std::vector<Thing>{{TYPE_GRASS, 0}, {TYPE_ARROW, 70}}));
    ASSERT_TRUE(A.Do(MoveObject(Slot(10), TYPE_ARROW, 0, {113, 101, 7}, 50), 106));
    EXPECT_EQ(A.View.FieldAt({113, 101, 7}), (std::vector<Thing>{{TYPE_GRASS, 0}, {TYPE_ARROW, 50}, {TYPE_ARROW, 70}}));
    EXPECT_EQ(A.View.Slots[10], (Thing{TYPE_ARROW, 30}));
    // Into an open container: a stack dropped onto a stack of its kind joins it.
    ASSERT_TRUE(A.Do(Use(Slot(3), TYPE_BACKPACK, 0, 1), 110));
    ASSERT_TRUE(A.Do(MoveObject(Slot(10), TYPE_ARROW, 0, InContainer(1, 0), 15), 112));
    ASSERT_TRUE(A.Do(MoveObject(Slot(10), TYPE_ARROW, 0, InContainer(1, 0), 15), 113));
    EXPECT_EQ(A.View.Containers[1].Objects[0], (Thing{TYPE_ARROW, 30}));
    EXPECT_TRUE(A.Saw(121));
    EXPECT_EQ(A.View.Slots[10], (Thing{0, 0}));
}

TEST(Objects, EquipmentGoesIntoTheSlotsThatTakeIt) {
    Village V({}, {{"PositionX", "110"}, {"PositionY", "102"}, {"PositionZ", "7"}});
    GamePlayer M(V.S.GamePort, 100001, "Mira");
    ASSERT_TRUE(M.Do(Use({110, 101, 7}, TYPE_CHEST, 1, 0), 110));
    // A sword is not a helmet; the right hand holds the mace already.
    ASSERT_TRUE(M.Do(MoveObject(InContainer(0, 1), TYPE_SWORD, 0, Slot(1), 1), 180));
    EXPECT_EQ(LastText(M), "You cannot dress this object there.");
    ASSERT_TRUE(M.Do(MoveObject(InContainer(0, 1), TYPE_SWORD, 0, Slot(5), 1), 180));
    EXPECT_EQ(LastText(M), "There is not enough room.");
    // The left hand is free.
    M.Client.SendPacket(MoveObject(InContainer(0, 1), TYPE_SWORD, 0, Slot(6), 1));
    EXPECT_EQ(PacketOf(M, 114, 8), Packet().Byte(114).Byte(0).Byte(1).Byte(120).Byte(6).Word(TYPE_SWORD).Byte(160).Data);
    EXPECT_EQ(M.View.Inventory[6], TYPE_SWORD);
    // The chest cannot be taken, nor the bag put into itself.
    ASSERT_TRUE(M.Do(MoveObject({110, 101, 7}, TYPE_CHEST, 1, Slot(3), 1), 180));
    EXPECT_EQ(LastText(M), "You cannot move this object.");
    ASSERT_TRUE(M.Do(Use(Slot(3), TYPE_BACKPACK, 0, 1), 110));
    ASSERT_TRUE(M.Do(MoveObject(Slot(3), TYPE_BACKPACK, 0, InContainer(1, 0), 1), 180));
    EXPECT_EQ(LastText(M), "This is impossible.");
    // A bag dropped onto the bag in the chest goes inside it.
    ASSERT_TRUE(M.Do(MoveObject(InContainer(1, 2), TYPE_BLANK_RUNE, 0, InContainer(0, 0), 1), 114));
    ASSERT_TRUE(M.Do(Use(InContainer(0, 0), TYPE_BAG, 0, 2), 110));
    EXPECT_EQ(M.View.Containers[2].Objects, (std::vector<Thing>{{TYPE_BLANK_RUNE, 0}, {TYPE_GOLD_COIN, 10}}));
}

TEST(Objects, CreaturesArePushedOneFieldOn) {
    Village V({}, {{"PositionX", "112"}, {"PositionY", "102"}, {"PositionZ", "7"}});
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    GamePlayer M(V.S.GamePort, 100001, "Mira");
    ASSERT_TRUE(A.ReadUntil([&] { return A.View.Creatures.count(2) > 0; }));
    ASSERT_TRUE(A.Do(MoveObject({112, 102, 7}, 99, 1, {114, 102, 7}, 1), 180));
    EXPECT_EQ(LastText(A), "There is not enough room.");
    A.View.Commands.clear();
    A.Client.SendPacket(MoveObject({112, 102, 7}, 99, 1, {113, 102, 7}, 1));
    ASSERT_TRUE(M.ReadUntil([&] { return M.Me() == Position{113, 102, 7}; }));
    ASSERT_TRUE(A.ReadUntil([&] { return A.View.Creatures[2].Pos == Position{113, 102, 7}; }));
    // Only from the next field: Mira cannot push Aldric from two fields away.
    ASSERT_TRUE(M.Do(MoveObject({111, 102, 7}, 99, 1, {110, 102, 7}, 1), 180));
    EXPECT_EQ(LastText(M), "You are too far away.");
}

TEST(Objects, RotatingTurnsTheChairRound) {
    Village V;
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    for (int Type : {TYPE_CHAIR_N, TYPE_CHAIR_E, TYPE_CHAIR_S, TYPE_CHAIR_W}) {
        A.Client.SendPacket(Packet().Byte(133).Pos({111, 103, 7}).Word(Type).Byte(1).Data);
        int Next = Type == TYPE_CHAIR_W ? TYPE_CHAIR_N : Type + 1;
        EXPECT_EQ(PacketOf(A, 107), Packet().Byte(107).Pos({111, 103, 7}).Byte(1).Word(Next).Data);
    }
    ASSERT_TRUE(A.Do(Packet().Byte(133).Pos({112, 103, 7}).Word(TYPE_KEY).Byte(1).Data, 180));
    EXPECT_EQ(LastText(A), "You cannot rotate this object.");
    ASSERT_TRUE(A.Do({104}, 109));
    ASSERT_TRUE(A.Do({104}, 109));  // (109,102)
    ASSERT_TRUE(A.Do(Packet().Byte(133).Pos({111, 103, 7}).Word(TYPE_CHAIR_N).Byte(1).Data, 180));
    EXPECT_EQ(LastText(A), "You are too far away.");
}

TEST(Objects, ContainersOnTheMapCloseWhenThePlayerWalksAway) {
    Village V;
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    ASSERT_TRUE(A.Do(Use({110, 101, 7}, TYPE_CHEST, 1, 0), 110));
    ASSERT_TRUE(A.Do(Use(Slot(3), TYPE_BACKPACK, 0, 1), 110));
    ASSERT_TRUE(A.Do({103}, 109));  // (111,103): two fields from the chest
    ASSERT_TRUE(A.ReadUntil([&] { return A.Saw(111); }));
    EXPECT_EQ(A.View.Containers.count(0), 0u);
    EXPECT_EQ(A.View.Containers.count(1), 1u);  // the carried backpack stays open
    // The backpack lying there is taken with its apples; it can be opened.
    ASSERT_TRUE(A.Do(MoveObject({110, 103, 7}, TYPE_BACKPACK, 1, Slot(10), 1), 120));
    ASSERT_TRUE(A.Do({102}, 109));
    ASSERT_TRUE(A.Do(Use(Slot(10), TYPE_BACKPACK, 0, 2), 110));
    EXPECT_EQ(A.View.Containers[2].Objects, (std::vector<Thing>{{TYPE_APPLE, 3}}));
}

TEST(Objects, TheDepotIsEachCharactersOwnAndIsSaved) {
    Village V;
    {
        GamePlayer A(V.S.GamePort, 100001, "Aldric");
        int Before = A.View.Capacity;
        A.Client.SendPacket(Use({111, 101, 7}, TYPE_DEPOT_BOX, 1, 0));
        EXPECT_EQ(PacketOf(A, 110), Packet()
                                        .Byte(110).Byte(0).Word(TYPE_DEPOT_BOX).String("depot box").Byte(30).Byte(0)
                                        .Byte(1).Word(TYPE_GOLD_COIN).Byte(30)
                                        .Data);
        ASSERT_TRUE(A.Do(MoveObject(InContainer(0, 0), TYPE_GOLD_COIN, 0, Slot(3), 20), 160));
        EXPECT_EQ(A.View.Containers[0].Objects, (std::vector<Thing>{{TYPE_GOLD_COIN, 10}}));
        EXPECT_EQ(A.View.Capacity, Before - 2);
        A.Client.SendPacket({20});
        EXPECT_TRUE(A.Client.WaitClosed());
    }
    std::string Saved = testing_support::ReadFile(V.S.StateDir / "characters" / "aldric.txt");
    EXPECT_NE(Saved.find("Depot = \"167{178:10}\""), std::string::npos) << Saved;
    EXPECT_NE(Saved.find("Slot3 = \"177{178:20 178:40 "), std::string::npos) << Saved;
    V.S.Stop();
    V.S.Start();
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    ASSERT_TRUE(A.Do(Use({111, 101, 7}, TYPE_DEPOT_BOX, 1, 0), 110));
    EXPECT_EQ(A.View.Containers[0].Objects, (std::vector<Thing>{{TYPE_GOLD_COIN, 10}}));
    // Another character finds the world's first gift in its own depot.
    V.S.SetCharacterValues("Mira", {{"PositionX", "112"}, {"PositionY", "102"}, {"PositionZ", "7"}});
    GamePlayer M(V.S.GamePort, 100001, "Mira");
    ASSERT_TRUE(M.Do(Use({111, 101, 7}, TYPE_DEPOT_BOX, 1, 0), 110));
    EXPECT_EQ(M.View.Containers[0].Objects, (std::vector<Thing>{{TYPE_GOLD_COIN, 30}}));
}

TEST(Objects, TheGatesListIsEditedByItsOwner) {
    Village V(Values{{"PositionX", "115"}, {"PositionY", "101"}, {"Slot10", "\"218\""}});  // a key in the extra slot
    V.S.SetCharacterValues("Kestrel", {{"PositionX", "117"}, {"PositionY", "101"}, {"PositionZ", "7"}});
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    GamePlayer K(V.S.GamePort, 100002, "Kestrel");
    Bytes UseGate = Use({116, 100, 7}, TYPE_GATE_H_CLOSED, 1, 0);
    ASSERT_TRUE(K.Do(UseGate, 180));
    EXPECT_EQ(LastText(K), "It is locked.");

    A.Client.SendPacket(Packet().Byte(131).Pos(Slot(10)).Word(TYPE_KEY).Byte(0).Pos({116, 100, 7}).Word(TYPE_GATE_H_CLOSED).Byte(1).Data);
    EXPECT_EQ(PacketOf(A, 151), Packet().Byte(151).Byte(1).Quad(1).String("Mira").Data);
    A.Client.SendPacket(Packet().Byte(138).Byte(1).Quad(1).String("Mira\n  Kestrel \n\n").Data);
    ASSERT_TRUE(K.Do(UseGate, 107));
    EXPECT_EQ(K.View.FieldAt({116, 100, 7})[1], (Thing{TYPE_GATE_H_OPEN, 0}));
    // Only the owner sees the list.
    ASSERT_TRUE(A.Do(Packet().Byte(131).Pos(Slot(10)).Word(TYPE_KEY).Byte(0).Pos({116, 100, 7}).Word(TYPE_GATE_H_OPEN).Byte(1).Data, 151));
    EXPECT_EQ(A.View.EditListText, "Mira\nKestrel");
    // Answers for another list or kind change nothing.
    A.Client.SendPacket(Packet().Byte(138).Byte(2).Quad(1).String("").Data);
    A.Client.SendPacket(Packet().Byte(138).Byte(1).Quad(7).String("").Data);
    ASSERT_TRUE(A.Do(Packet().Byte(131).Pos(Slot(10)).Word(TYPE_KEY).Byte(0).Pos({116, 100, 7}).Word(TYPE_GATE_H_OPEN).Byte(1).Data, 151));
    EXPECT_EQ(A.View.EditListText, "Mira\nKestrel");
}

TEST(Objects, TradeExchangesTheOffersWhenBothAccept) {
    Village V({}, {{"PositionX", "112"}, {"PositionY", "102"}, {"PositionZ", "7"}});
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    GamePlayer M(V.S.GamePort, 100001, "Mira");
    A.Client.SendPacket(Packet().Byte(125).Pos(Slot(5)).Word(TYPE_SWORD).Byte(0).Quad(2).Data);
    EXPECT_EQ(PacketOf(A, 125), Packet().Byte(125).String("Mira").Byte(1).Word(TYPE_SWORD).Data);
    ASSERT_TRUE(M.ReadUntil([&] { return LastText(M) == "Aldric wants to trade with you."; }));
    // A second request while trading is refused.
    ASSERT_TRUE(A.Do(Packet().Byte(125).Pos(Slot(1)).Word(TYPE_LEATHER_HELMET).Byte(0).Quad(2).Data, 180));
    EXPECT_EQ(LastText(A), "You are already trading.");
    // Mira answers with her mace: both see both offers.
    M.Client.SendPacket(Packet().Byte(125).Pos(Slot(5)).Word(TYPE_MACE).Byte(0).Quad(1).Data);
    EXPECT_EQ(PacketOf(M, 125), Packet()
                                    .Byte(125).String("Aldric").Byte(1).Word(TYPE_MACE)
                                    .Byte(126).String("Aldric").Byte(1).Word(TYPE_SWORD)
                                    .Data);
    EXPECT_EQ(PacketOf(A, 126), Packet().Byte(126).String("Mira").Byte(1).Word(TYPE_MACE).Data);
    ASSERT_TRUE(A.Do(Packet().Byte(126).Byte(1).Byte(0).Data, 180));
    EXPECT_EQ(A.View.TextMessages.back(), (std::pair<int, std::string>{20, "You see a mace."}));
    A.Client.SendPacket({127});
    ASSERT_TRUE(M.Do({127}, 127));
    ASSERT_TRUE(A.ReadUntil([&] { return A.View.TradeCloses == 1 && A.View.Inventory[5] == TYPE_MACE; }));
    ASSERT_TRUE(M.ReadUntil([&] { return M.View.Inventory[5] == TYPE_SWORD; }));
    ASSERT_TRUE(M.ReadUntil([&] { return LastText(M) == "Trade completed."; }));

    // A trade that one side closes ends for both.
    A.Client.SendPacket(Packet().Byte(125).Pos(Slot(5)).Word(TYPE_MACE).Byte(0).Quad(2).Data);
    ASSERT_TRUE(M.ReadUntil([&] { return LastText(M) == "Aldric wants to trade with you."; }));
    M.Client.SendPacket(Packet().Byte(125).Pos(Slot(5)).Word(TYPE_SWORD).Byte(0).Quad(1).Data);
    ASSERT_TRUE(A.ReadUntil([&] { return A.View.CounterOffer.has_value(); }));
    ASSERT_TRUE(M.Do({128}, 127));
    ASSERT_TRUE(A.ReadUntil([&] { return A.View.TradeCloses == 2; }));
    EXPECT_EQ(LastText(A), "Trade cancelled.");
    EXPECT_EQ(A.View.Inventory[5], TYPE_MACE);
}

TEST(Objects, AttackedCreaturesLoseHealthAndDieFollowWalksAfterThem) {
    Village V(Values{{"PositionX", "121"}, {"PositionY", "101"}});
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    ASSERT_EQ(A.View.Creatures.count(CHICKEN), 1u);
    ASSERT_EQ(A.View.Creatures[CHICKEN].Pos, (Position{125, 101, 7}));
    // Following walks up to the chicken and stops beside it.
    A.Client.SendPacket(Packet().Byte(162).Quad(CHICKEN).Data);
    ASSERT_TRUE(A.ReadUntil([&] { return A.Me().x == 124; }, 5000));
    A.Settle(600);
    EXPECT_EQ(A.Me(), (Position{124, 101, 7}));
    // Attacking: health falls blow by blow until the chicken is gone and a
    // corpse lies in its place; the target is cleared.
    A.Client.SendPacket(Packet().Byte(161).Quad(CHICKEN).Data);
    std::vector<int> Health;
    ASSERT_TRUE(A.ReadUntil([&] {
        int H = A.View.Creatures.count(CHICKEN) ? A.View.Creatures[CHICKEN].Health : -1;
        if (Health.empty() || Health.back() != H) Health.push_back(H);
        return A.View.TargetClears > 0;
    }, 12000));
    ASSERT_GE(Health.size(), 2u);
    EXPECT_TRUE(std::is_sorted(Health.rbegin(), Health.rend())) << Health.size();
    EXPECT_EQ(A.View.FieldAt({125, 101, 7}),
              (std::vector<Thing>{{TYPE_GRASS, 0}, {TYPE_CORPSE_BEAST, 0}, {TYPE_POOL, LIQUID_BLOOD}}));
    EXPECT_EQ(A.View.TextMessages.back().second, "You have slain Chicken.");
    // Players cannot be attacked.
    V.S.SetCharacterValues("Kestrel", {{"PositionX", "123"}, {"PositionY", "101"}, {"PositionZ", "7"}});
    GamePlayer A2(V.S.GamePort, 100001, "Aldric");
    GamePlayer K(V.S.GamePort, 100002, "Kestrel");
    ASSERT_TRUE(A2.ReadUntil([&] { return A2.View.Creatures.count(3) > 0; }));
    ASSERT_TRUE(A2.Do(Packet().Byte(161).Quad(3).Data, 163));
    EXPECT_EQ(LastText(A2), "You may not attack this person.");
}

TEST(Objects, PartyShieldsFollowInvitationJoiningAndLeaving) {
    Village V({}, {{"PositionX", "112"}, {"PositionY", "102"}, {"PositionZ", "7"}});
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    GamePlayer M(V.S.GamePort, 100001, "Mira");
    ASSERT_TRUE(A.ReadUntil([&] { return A.View.Creatures.count(2) > 0; }));
    A.Client.SendPacket(Packet().Byte(163).Quad(2).Data);  // invite Mira
    ASSERT_TRUE(A.ReadUntil([&] { return A.View.Creatures[2].Shield == 2 && A.View.Creatures[1].Shield == 4; }));
    ASSERT_TRUE(M.ReadUntil([&] { return M.View.Creatures[1].Shield == 1; }));
    M.Client.SendPacket(Packet().Byte(164).Quad(1).Data);  // join
    ASSERT_TRUE(M.ReadUntil([&] { return M.View.Creatures[1].Shield == 4 && M.View.Creatures[2].Shield == 3; }));
    ASSERT_TRUE(A.ReadUntil([&] { return A.View.Creatures[2].Shield == 3; }));
    // A newcomer sees the shields of strangers as none.
    GamePlayer K(V.S.GamePort, 100002, "Kestrel");
    EXPECT_EQ(K.View.Creatures[1].Shield, 0);
    EXPECT_EQ(K.View.Creatures[2].Shield, 0);
    A.Client.SendPacket({167});  // the leader leaves: Mira's party of one ends
    ASSERT_TRUE(M.ReadUntil([&] { return M.View.Creatures[1].Shield == 0 && M.View.Creatures[2].Shield == 0; }));
    ASSERT_TRUE(A.ReadUntil([&] { return A.View.Creatures[1].Shield == 0 && A.View.Creatures[2].Shield == 0; }));
}

TEST(Objects, CommandsOutOfRangeAreRefusedAndBrokenOnesDropTheClient) {
    Village V;
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    ASSERT_TRUE(A.Do(Use({110, 101, 7}, TYPE_CHEST, 1, 0), 110));
    // Container numbers, places, slots and fields nobody has: nothing happens.
    std::vector<Bytes> Ignored = {
        Use({110, 101, 7}, TYPE_CHEST, 1, 16),        Use({110, 101, 7}, TYPE_CHEST, 1, 255),
        Packet().Byte(135).Byte(16).Data,             Packet().Byte(136).Byte(200).Data,
        Packet().Byte(202).Byte(9).Data,              Use(InContainer(0, 35), TYPE_SWORD, 0, 1),
        Use(InContainer(15, 0), TYPE_SWORD, 0, 1),    Use({0xFFFF, 80, 0}, TYPE_SWORD, 0, 1),
        MoveObject(InContainer(0, 1), TYPE_SWORD, 0, Slot(0), 1),
        MoveObject(InContainer(0, 1), TYPE_SWORD, 0, Slot(11), 1),
        MoveObject(InContainer(0, 1), TYPE_SWORD, 0, {0xFFFF, 63, 0}, 1),
        MoveObject(InContainer(0, 1), TYPE_SWORD, 0, InContainer(9, 0), 1),
        MoveObject(InContainer(0, 1), TYPE_AXE, 0, Slot(6), 1),  // not what lies there
        MoveObject({60000, 60000, 15}, TYPE_SWORD, 0, Slot(6), 1),
        MoveObject(Slot(9), TYPE_RING, 0, Slot(6), 1),
        Packet().Byte(133).Pos({0xFFFF, 255, 255}).Word(0).Byte(255).Data,
        Packet().Byte(126).Byte(1).Byte(99).Data,     Packet().Byte(127).Data,
        Packet().Byte(128).Data,                      Packet().Byte(137).Quad(12345).String("x").Data,
        Packet().Byte(125).Pos(Slot(5)).Word(TYPE_SWORD).Byte(0).Quad(777).Data,
        Packet().Byte(162).Quad(0).Data,              Packet().Byte(164).Quad(9).Data,
    };
    for (const Bytes& Command : Ignored) {
        A.View.Commands.clear();
        A.Client.SendPacket(Command);
        A.Settle(60);
        // The world's light changes with its clock, whatever the player sends.
        std::erase(A.View.Commands, 130);
        EXPECT_TRUE(A.View.Commands.empty())
            << "command " << int(Command[0]) << " was answered with " << testing::PrintToString(A.View.Commands);
    }
    // Refused with a reason: too far away to throw, or behind the wall.
    ASSERT_TRUE(A.Do(MoveObject(InContainer(0, 1), TYPE_SWORD, 0, {120, 102, 7}, 1), 180));
    EXPECT_EQ(LastText(A), "Destination is out of reach.");
    ASSERT_TRUE(A.Do(MoveObject(InContainer(0, 1), TYPE_SWORD, 0, {111, 102, 6}, 1), 180));
    EXPECT_EQ(LastText(A), "Destination is out of reach.");
    ASSERT_TRUE(A.Do(MoveObject(InContainer(0, 1), TYPE_SWORD, 0, {120, 121, 7}, 1), 180));
    EXPECT_EQ(LastText(A), "Destination is out of reach.");
    EXPECT_EQ(A.View.Containers[0].Objects.size(), 3u);
    // Still in the game after all of them.
    ASSERT_TRUE(A.Do(Packet().Byte(140).Pos({110, 101, 7}).Word(TYPE_CHEST).Byte(1).Data, 180));
    EXPECT_EQ(LastText(A), "You see a chest.");

    // Truncated or overlong object commands drop the client, and only it.
    for (Bytes Bad : {Bytes{120, 0xFF, 0xFF, 3, 0}, Bytes{130, 1, 2, 3}, Bytes{135, 0, 0}, Bytes{138, 1, 0, 0},
                      Bytes{161, 1, 0, 0, 0, 0}, Bytes{133}, Bytes{127, 1}}) {
        GamePlayer K(V.S.GamePort, 100002, "Kestrel");
        K.Client.SendPacket(Bad);
        EXPECT_TRUE(K.Client.WaitClosed()) << "command " << int(Bad[0]);
    }
    ASSERT_TRUE(A.Do(Packet().Byte(140).Pos({110, 101, 7}).Word(TYPE_CHEST).Byte(1).Data, 180));
}

TEST(Objects, RandomObjectCommandsLeaveTheServerWhole) {
    // Object commands with fields drawn near the valid ones (containers 0..17,
    // places 0..40, slots 0..12, fields around the player), interleaved with
    // steps, from two players at once; the server must keep answering both.
    Village V({}, {{"PositionX", "112"}, {"PositionY", "102"}, {"PositionZ", "7"}});
    GamePlayer A(V.S.GamePort, 100001, "Aldric");
    GamePlayer M(V.S.GamePort, 100001, "Mira");
    std::mt19937 Random(120130);
    auto Pick = [&](int Low, int High) { return Low + int(Random() % unsigned(High - Low + 1)); };
    auto AnyPlace = [&](const Position& Me) -> Position {
        switch (Pick(0, 2)) {
            case 0: return Slot(Pick(0, 12));
            case 1: return InContainer(Pick(0, 17), Pick(0, 40));
            default: return {Me.x + Pick(-2, 2), Me.y + Pick(-2, 2), 7};
        }
    };
    const int Types[] = {TYPE_CHEST, TYPE_BAG, TYPE_BACKPACK, TYPE_SWORD, TYPE_ARROW, TYPE_GOLD_COIN, TYPE_CHAIR_N,
                         TYPE_DEPOT_BOX, TYPE_CHAIN_ARMOR, TYPE_KEY, TYPE_APPLE, TYPE_MACE};
    // Mostly an object the player's view holds, now and then anything.
    auto Source = [&](GamePlayer& P, const Position& Me, Position& From, int& Type, int& Stack) {
        From = AnyPlace(Me);
        Type = Types[Pick(0, 11)];
        Stack = Pick(0, 3);
        if (Pick(0, 3) == 0) return;
        if (From.x != 0xFFFF) {
            auto& F = P.View.FieldAt(From);
            if (F.empty()) return;
            Stack = Pick(0, int(F.size()) - 1);
            Type = F[size_t(Stack)].Type;
        } else if (From.y >= 64) {
            auto It = P.View.Containers.find(From.y - 64);
            if (It == P.View.Containers.end() || It->second.Objects.empty()) return;
            From.z = Pick(0, int(It->second.Objects.size()) - 1);
            Type = It->second.Objects[size_t(From.z)].Type;
            Stack = 0;
        } else if (From.y >= 1 && From.y <= 10) {
            Type = P.View.Inventory[size_t(From.y)];
            Stack = 0;
        }
    };
    for (int Round = 0; Round < 1500; Round++) {
        GamePlayer& P = Round % 2 ? M : A;
        Position Me = P.View.Creatures[P.View.PlayerID].Pos;
        Position From, To = AnyPlace(Me);
        if (!P.View.Containers.empty() && Pick(0, 2) == 0) {
            auto It = P.View.Containers.begin();
            std::advance(It, Pick(0, int(P.View.Containers.size()) - 1));
            To = InContainer(It->first, Pick(0, 8));
        }
        int Type = 0, Stack = 0;
        Source(P, Me, From, Type, Stack);
        switch (Pick(0, 7)) {
            case 0: case 1: case 2: P.Client.SendPacket(MoveObject(From, Type, Stack, To, Pick(0, 101))); break;
            case 3: P.Client.SendPacket(Use(From, Type, Stack, Pick(0, 17))); break;
            case 4: P.Client.SendPacket(Packet().Byte(Pick(135, 136)).Byte(Pick(0, 17)).Data); break;
            case 5: P.Client.SendPacket(Packet().Byte(133).Pos(From).Word(Type).Byte(Stack).Data); break;
            case 6: P.Client.SendPacket(Packet().Byte(125).Pos(From).Word(Type).Byte(Stack).Quad(Pick(1, 2)).Data); break;
            default: P.Client.SendPacket({uint8_t(Pick(0, 2) ? Pick(127, 128) : Pick(101, 104))}); break;
        }
        P.Settle(3);
    }
    A.Settle(100);
    M.Settle(100);
    // The draw reached the containers, the slots and the map, not only refusals.
    auto Seen = [&](int Command) { return A.Saw(Command) || M.Saw(Command); };
    for (int Command : {110, 120, 106, 108}) EXPECT_TRUE(Seen(Command)) << "no message " << Command;
    EXPECT_TRUE(Seen(112) || Seen(113) || Seen(114));
    for (GamePlayer* P : {&A, &M}) {
        ASSERT_TRUE(P->Do(Packet().Byte(140).Pos(P->Me()).Word(TYPE_GRASS).Byte(0).Data, 180));
        EXPECT_EQ(P->View.TextMessages.back(), (std::pair<int, std::string>{20, "You see a grass."}));
    }
}
