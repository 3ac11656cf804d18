// The game server over loopback: refusals, entering the game with the whole
// map, steps with their map edges, floor changes, two players seeing each
// other, the ping, and characters kept across a restart.
#include "ServerHarness.h"

#include "support/TestSupport.h"
#include "world/TypeNumbers.h"

#include <gtest/gtest.h>

#include <thread>

using namespace servertest;

namespace {

// Reads packets into the view until Done holds or nothing more comes.
template <typename F>
bool ReadUntil(TestClient& C, ClientView& V, F Done, int TimeoutMs = 3000) {
    auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
    while (!Done()) {
        int Left = int(std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - std::chrono::steady_clock::now()).count());
        if (Left <= 0) return false;
        auto Body = C.ReadPacket(Left);
        if (!Body) return false;
        V.Decode(*Body);
    }
    return true;
}

bool Has(const ClientView& V, int Command) {
    return std::find(V.Commands.begin(), V.Commands.end(), Command) != V.Commands.end();
}

struct InGame {
    TestClient Client;
    ClientView View;
    InGame(int Port, uint32_t Account, const std::string& Name) : Client(Port) {
        Client.SendPacket(GameLogin(Account, Name, "demo"));
        EXPECT_TRUE(ReadUntil(Client, View, [&] { return Has(View, 100) && Has(View, 162); }));
    }
    // Sends a command and reads until the view has seen Command.
    bool Do(const Bytes& Body, int Command) {
        View.Commands.clear();
        Client.SendPacket(Body);
        return ReadUntil(Client, View, [&] { return Has(View, Command); });
    }
    Position Me() { return View.Creatures[View.PlayerID].Pos; }
};

Bytes Refusal(const std::string& Text) { return Packet().Byte(20).String(Text).Data; }

}  // namespace

TEST(GameServer, RefusalsOfTheGameLogin) {
    ServerRunner S;
    struct Case {
        Bytes Request;
        Bytes Reply;
    };
    std::vector<Case> Cases = {
        {GameLogin(100001, "Aldric", "wrong"), Refusal("Account number or password is not correct.")},
        {GameLogin(100002, "Aldric", "demo"), Refusal("Character not found.")},
        {GameLogin(100001, "Nobody", "demo"), Refusal("Character not found.")},
        {Packet().Byte(10).Word(2).Word(700).Byte(0).Quad(100001).String("Aldric").String("demo").Data,
         Refusal("Your client does not match this server.\nPlease install the current version.")},
    };
    for (const Case& K : Cases) {
        TestClient C(S.GamePort);
        C.SendPacket(K.Request);
        EXPECT_EQ(C.ReadPacket(), K.Reply);
        EXPECT_TRUE(C.WaitClosed());
    }
    InGame Aldric(S.GamePort, 100001, "Aldric");
    TestClient Twice(S.GamePort);
    Twice.SendPacket(GameLogin(100001, "aldric", "demo"));
    EXPECT_EQ(Twice.ReadPacket(), Refusal("You are already logged in."));
}

TEST(GameServer, WaitingListWhenTheWorldIsFull) {
    ServerRunner S("MaxPlayers = 0\nWaitingListSeconds = 15\n");
    TestClient C(S.GamePort);
    C.SendPacket(GameLogin(100001, "Aldric", "demo"));
    EXPECT_EQ(C.ReadPacket(),
              Packet().Byte(22).String("Too many players online.\nYou are at place 1 on the waiting list.").Byte(15).Data);
    EXPECT_TRUE(C.WaitClosed());
}

TEST(GameServer, EnteringTheGameSendsTheWholeMap) {
    ServerRunner S;
    TestClient C(S.GamePort);
    C.SendPacket(GameLogin(100001, "Aldric", "demo"));
    auto First = C.ReadPacket();
    ASSERT_TRUE(First);
    // Enter game: player id 1, beat 50 ms, the right to report bugs; the
    // account's rights to report every rule violation with every action;
    // then the map.
    Packet Expected;
    Expected.Byte(10).Quad(1).Word(50).Byte(1).Byte(11);
    for (int i = 0; i < 32; i++) Expected.Byte(0x7F);
    Bytes Start = Expected.Byte(100).Pos({102, 102, 7}).Data;
    ASSERT_GE(First->size(), Start.size());
    EXPECT_EQ(Bytes(First->begin(), First->begin() + long(Start.size())), Start);

    ClientView V;
    V.Decode(*First);
    ASSERT_TRUE(ReadUntil(C, V, [&] { return Has(V, 162); }));
    EXPECT_EQ(V.PlayerID, 1u);
    EXPECT_EQ(V.MapPos, (Position{102, 102, 7}));
    EXPECT_EQ(V.CompareWithWorld(), "");
    // The player's own creature stands on its field above the grass.
    EXPECT_EQ(V.FieldAt({102, 102, 7}), (std::vector<Thing>{{TYPE_GRASS, 0}, {99, 1}}));
    EXPECT_EQ(V.Creatures[1].Name, "Aldric");
    EXPECT_EQ(V.Creatures[1].Outfit, OUTFIT_KNIGHT);
    EXPECT_EQ(V.HitPoints, 150);
    EXPECT_EQ(V.Inventory[3], TYPE_BACKPACK);
    EXPECT_EQ(V.Inventory[5], TYPE_SWORD);
    EXPECT_EQ(V.Buddies, (std::vector<std::pair<uint32_t, std::string>>{{2, "Mira"}, {3, "Kestrel"}}));
    EXPECT_GE(V.AmbientBrightness, 40);
}

TEST(GameServer, StepsBringTheEdgesOfTheMap) {
    ServerRunner S;
    InGame A(S.GamePort, 100001, "Aldric");
    // One step east: the creature moves from stack position 1, then column 17.
    A.View.Commands.clear();
    A.Client.SendPacket({102});
    auto Body = A.Client.ReadPacket();
    ASSERT_TRUE(Body);
    Bytes Move = Packet().Byte(109).Pos({102, 102, 7}).Byte(1).Pos({103, 102, 7}).Byte(102).Data;
    EXPECT_EQ(Bytes(Body->begin(), Body->begin() + long(Move.size())), Move);
    A.View.Decode(*Body);
    EXPECT_EQ(A.View.MapPos, (Position{103, 102, 7}));
    EXPECT_EQ(A.View.CompareWithWorld(), "");

    // South, south, west, north and the four diagonals, each checked in full.
    for (int Command : {103, 103, 104, 101, 107, 108, 109, 106}) {
        Position Before = A.View.MapPos;
        ASSERT_TRUE(A.Do({uint8_t(Command)}, 109)) << "command " << Command;
        EXPECT_NE(A.View.MapPos, Before);
        EXPECT_EQ(A.View.MapPos, A.Me());
        EXPECT_EQ(A.View.CompareWithWorld(), "") << "after command " << Command;
    }
    EXPECT_EQ(A.View.MapPos, (Position{102, 103, 7}));

    // A path of three steps is walked in full.
    ASSERT_TRUE(A.Do(Packet().Byte(100).Byte(3).Byte(7).Byte(1).Byte(1).Data, 109));
    ASSERT_TRUE(ReadUntil(A.Client, A.View, [&] { return A.View.MapPos == Position{104, 104, 7}; }));
    EXPECT_EQ(A.View.CompareWithWorld(), "");
}

TEST(GameServer, BlockedStepIsCancelled) {
    ServerRunner S;
    InGame A(S.GamePort, 100001, "Aldric");
    ASSERT_TRUE(A.Do({102}, 109));  // to (103,102); the wall stands at x 104
    ASSERT_TRUE(A.Do({102}, 181));
    EXPECT_EQ(A.View.WalkCancels, std::vector<int>{1});
    EXPECT_EQ(A.View.MapPos, (Position{103, 102, 7}));
    EXPECT_FALSE(Has(A.View, 109));

    // Another creature blocks as well: Kestrel appears next to Aldric.
    InGame K(S.GamePort, 100002, "Kestrel");
    Position KP = K.Me();
    ASSERT_TRUE(ReadUntil(A.Client, A.View, [&] { return A.View.Creatures.count(3) > 0; }));
    int dx = KP.x - A.Me().x, dy = KP.y - A.Me().y;
    ASSERT_TRUE(std::abs(dx) <= 1 && std::abs(dy) <= 1);
    static const int StepCommand[3][3] = {{109, 101, 106}, {104, 0, 102}, {108, 103, 107}};
    A.View.WalkCancels.clear();
    ASSERT_TRUE(A.Do({uint8_t(StepCommand[dy + 1][dx + 1])}, 181));
    EXPECT_EQ(A.View.WalkCancels.size(), 1u);
}

TEST(GameServer, StairsDownAndRampUpChangeTheFloor) {
    ServerRunner S;
    InGame A(S.GamePort, 100001, "Aldric");
    ASSERT_TRUE(A.Do({103}, 109));  // (102,103)
    ASSERT_TRUE(A.Do({107}, 109));  // (103,104)
    ASSERT_TRUE(A.Do({103}, 191));  // onto the stairs at (103,105): down to (103,105,8)
    EXPECT_FALSE(Has(A.View, 100));
    EXPECT_EQ(A.View.MapPos, (Position{103, 105, 8}));
    EXPECT_EQ(A.Me(), (Position{103, 105, 8}));
    EXPECT_EQ(A.View.CompareWithWorld(), "");
    EXPECT_EQ(A.View.FieldAt({103, 105, 8}), (std::vector<Thing>{{TYPE_CAVE_FLOOR, 0}, {99, 1}}));
    // The old field upstairs no longer holds the creature.
    EXPECT_EQ(A.View.FieldAt({103, 104, 7}), (std::vector<Thing>{{TYPE_GRASS, 0}}));

    ASSERT_TRUE(A.Do({107}, 190));  // onto the ramp at (104,106,8): up to (104,105,7)
    EXPECT_FALSE(Has(A.View, 100));
    EXPECT_EQ(A.View.MapPos, (Position{104, 105, 7}));
    EXPECT_EQ(A.Me(), (Position{104, 105, 7}));
    EXPECT_EQ(A.View.CompareWithWorld(), "");
    EXPECT_EQ(A.View.FieldAt({104, 105, 7}), (std::vector<Thing>{{TYPE_GRASS, 0}, {99, 1}}));
    EXPECT_EQ(A.View.FieldAt({103, 105, 8}), (std::vector<Thing>{{TYPE_CAVE_FLOOR, 0}}));
}

TEST(GameServer, LadderIsUsedNotSteppedOn) {
    ServerRunner S;
    InGame A(S.GamePort, 100001, "Aldric");
    ASSERT_TRUE(A.Do({101}, 109));  // onto the ladder's field: nothing happens
    EXPECT_EQ(A.Me(), (Position{102, 101, 7}));
    ASSERT_TRUE(A.Do(Packet().Byte(130).Pos({102, 101, 7}).Word(TYPE_LADDER).Byte(1).Byte(0).Data, 190));
    EXPECT_EQ(A.Me(), (Position{102, 101, 6}));
    EXPECT_EQ(A.View.MapPos, (Position{102, 101, 6}));
    EXPECT_EQ(A.View.CompareWithWorld(), "");
}

TEST(GameServer, TwoPlayersSeeEachOtherWalkTurnAndTalk) {
    ServerRunner S;
    InGame A(S.GamePort, 100001, "Aldric");
    InGame K(S.GamePort, 100002, "Kestrel");
    // Aldric sees Kestrel appear and hears that a buddy came online.
    ASSERT_TRUE(ReadUntil(A.Client, A.View, [&] { return Has(A.View, 106) && Has(A.View, 211); }));
    ASSERT_EQ(A.View.Creatures.count(3), 1u);
    EXPECT_EQ(A.View.Creatures[3].Name, "Kestrel");
    EXPECT_EQ(A.View.Creatures[3].Pos, K.Me());
    // Kestrel saw Aldric in the map already.
    EXPECT_EQ(K.View.Creatures[1].Pos, A.Me());

    // Kestrel (placed at 101,101 beside Aldric) walks one step south.
    Position Before = K.Me();
    ASSERT_EQ(Before, (Position{101, 101, 7}));
    ASSERT_TRUE(K.Do({103}, 109));
    ASSERT_TRUE(ReadUntil(A.Client, A.View, [&] { return A.View.Creatures[3].Pos != Before; }));
    EXPECT_EQ(A.View.Creatures[3].Pos, K.Me());
    EXPECT_EQ(A.View.CompareWithWorld(), "");

    // Turning north shows as a changed thing with the creature's new direction.
    A.View.Commands.clear();
    K.Client.SendPacket({111});
    ASSERT_TRUE(ReadUntil(A.Client, A.View, [&] { return Has(A.View, 107); }));
    EXPECT_EQ(A.View.Creatures[3].Direction, 0);

    // Say, yell and whisper.
    K.Client.SendPacket(Packet().Byte(150).Byte(1).String("Hello there").Data);
    K.Client.SendPacket(Packet().Byte(150).Byte(3).String("look out").Data);
    ASSERT_TRUE(ReadUntil(A.Client, A.View, [&] { return A.View.Talk.size() >= 2; }));
    EXPECT_EQ(A.View.Talk[0].Speaker, "Kestrel");
    EXPECT_EQ(A.View.Talk[0].Mode, 1);
    EXPECT_EQ(A.View.Talk[0].Text, "Hello there");
    EXPECT_EQ(A.View.Talk[1].Mode, 3);
    EXPECT_EQ(A.View.Talk[1].Text, "LOOK OUT");
    // Move two fields away and whisper: Aldric hears only the sound of it.
    ASSERT_TRUE(K.Do({103}, 109));
    ASSERT_TRUE(K.Do({103}, 109));
    ASSERT_EQ(K.Me(), (Position{101, 104, 7}));
    K.Client.SendPacket(Packet().Byte(150).Byte(2).String("secret").Data);
    ASSERT_TRUE(ReadUntil(A.Client, A.View, [&] { return A.View.Talk.size() >= 3; }));
    EXPECT_EQ(A.View.Talk[2].Text, "pspsps");

    // A private message, and one to a name that is not online.
    K.Client.SendPacket(Packet().Byte(150).Byte(4).String("aldric").String("psst").Data);
    ASSERT_TRUE(ReadUntil(A.Client, A.View, [&] { return A.View.Talk.size() >= 4; }));
    EXPECT_EQ(A.View.Talk[3].Mode, 4);
    EXPECT_EQ(A.View.Talk[3].Text, "psst");
    K.View.TextMessages.clear();
    K.Client.SendPacket(Packet().Byte(150).Byte(4).String("Mira").String("hi").Data);
    ASSERT_TRUE(ReadUntil(K.Client, K.View, [&] { return K.View.TextMessages.size() >= 2; }));
    EXPECT_EQ(K.View.TextMessages[1], (std::pair<int, std::string>{23, "A player with this name is not online."}));

    // Kestrel logs out: the creature disappears, the buddy goes offline.
    A.View.Commands.clear();
    K.Client.SendPacket({20});
    EXPECT_TRUE(K.Client.WaitClosed());
    ASSERT_TRUE(ReadUntil(A.Client, A.View, [&] { return Has(A.View, 108) && Has(A.View, 212); }));
    EXPECT_EQ(A.View.CompareWithWorld(), "");
    for (const auto& [Key, Field] : A.View.Fields)
        for (const Thing& T : Field) EXPECT_FALSE(T.Type == 99 && T.Data == 3);
}

TEST(GameServer, MalformedCommandDropsOnlyThatPlayer) {
    ServerRunner S;
    InGame A(S.GamePort, 100001, "Aldric");
    for (Bytes Bad : {Bytes{255}, Bytes{150, 1, 0x10, 0, 'a'}, Bytes{100, 0}, Bytes{100, 2, 1, 9}, Bytes{150, 77, 0, 0},
                      Bytes{101, 0}}) {
        InGame K(S.GamePort, 100002, "Kestrel");
        ASSERT_TRUE(ReadUntil(A.Client, A.View, [&] { return A.View.Creatures.count(3) && Has(A.View, 106); }));
        A.View.Commands.clear();
        K.Client.SendPacket(Bad);
        EXPECT_TRUE(K.Client.WaitClosed()) << "command " << int(Bad[0]);
        ASSERT_TRUE(ReadUntil(A.Client, A.View, [&] { return Has(A.View, 108); }));
        A.View.Commands.clear();
    }
    // Aldric still walks.
    ASSERT_TRUE(A.Do({103}, 109));
    EXPECT_EQ(A.View.CompareWithWorld(), "");
}

TEST(GameServer, PingsAndDropsAClientThatStopsAnswering) {
    ServerRunner S("PingIntervalMs = 200\nClientTimeoutMs = 2500\n");
    InGame A(S.GamePort, 100001, "Aldric");
    A.View.Commands.clear();
    // Answered pings keep the client in the game well past the time-out.
    auto Start = std::chrono::steady_clock::now();
    int Pings = 0;
    while (std::chrono::steady_clock::now() - Start < std::chrono::milliseconds(4000)) {
        auto Body = A.Client.ReadPacket(2000);
        ASSERT_TRUE(Body) << "connection lost after " << Pings << " pings";
        A.View.Decode(*Body);
        if (*Body == Bytes{30}) {
            Pings++;
            A.Client.SendPacket({30});
        }
    }
    EXPECT_GE(Pings, 2);
    // Silence ends the connection.
    EXPECT_TRUE(A.Client.WaitClosed(6000));
}

TEST(GameServer, CharactersAreSavedOnLogoutAndOnStop) {
    ServerRunner S;
    {
        InGame A(S.GamePort, 100001, "Aldric");
        ASSERT_TRUE(A.Do({102}, 109));
        A.Client.SendPacket({20});
        EXPECT_TRUE(A.Client.WaitClosed());
    }
    std::string Saved = testing_support::ReadFile(S.StateDir / "characters" / "aldric.txt");
    EXPECT_NE(Saved.find("PositionX = 103\nPositionY = 102\nPositionZ = 7\nDirection = 1\n"), std::string::npos) << Saved;
    EXPECT_NE(Saved.find("Slot3 = \"177{178:40 207:5 214 187 176{205 182:1}}\""), std::string::npos) << Saved;

    // In the game when the server stops: saved all the same.
    InGame M(S.GamePort, 100001, "Mira");
    ASSERT_TRUE(M.Do({103}, 109));
    Position Where = M.Me();
    S.Stop();
    EXPECT_TRUE(M.Client.WaitClosed());
    std::string Mira = testing_support::ReadFile(S.StateDir / "characters" / "mira.txt");
    EXPECT_NE(Mira.find("PositionX = " + std::to_string(Where.x) + "\nPositionY = " + std::to_string(Where.y)),
              std::string::npos)
        << Mira;

    // After a restart both come back where they were.
    S.Start();
    InGame A(S.GamePort, 100001, "Aldric");
    EXPECT_EQ(A.View.MapPos, (Position{103, 102, 7}));
    InGame M2(S.GamePort, 100001, "Mira");
    EXPECT_EQ(M2.View.MapPos, Where);
}

TEST(GameServer, DoorsOpenAndCloseAndTextsCanBeEdited) {
    ServerRunner S;
    InGame A(S.GamePort, 100001, "Aldric");
    Bytes UseDoor = Packet().Byte(130).Pos({100, 102, 7}).Word(TYPE_DOOR_H_CLOSED).Byte(1).Byte(0).Data;
    ASSERT_TRUE(A.Do(UseDoor, 180));
    EXPECT_EQ(A.View.TextMessages.back(), (std::pair<int, std::string>{23, "You are too far away."}));

    ASSERT_TRUE(A.Do({104}, 109));  // to (101,102), beside the door
    ASSERT_TRUE(A.Do({104}, 181));  // the closed door blocks
    ASSERT_TRUE(A.Do(UseDoor, 107));
    EXPECT_EQ(A.View.FieldAt({100, 102, 7}), (std::vector<Thing>{{TYPE_GRASS, 0}, {TYPE_DOOR_H_OPEN, 0}}));
    ASSERT_TRUE(A.Do({104}, 109));  // through the open door
    EXPECT_EQ(A.Me(), (Position{100, 102, 7}));
    // Standing in the door it does not close.
    Bytes CloseDoor = Packet().Byte(130).Pos({100, 102, 7}).Word(TYPE_DOOR_H_OPEN).Byte(1).Byte(0).Data;
    ASSERT_TRUE(A.Do(CloseDoor, 180));
    EXPECT_EQ(A.View.TextMessages.back().second, "There is not enough room.");
    ASSERT_TRUE(A.Do({102}, 109));
    ASSERT_TRUE(A.Do(CloseDoor, 107));
    EXPECT_EQ(A.View.FieldAt({100, 102, 7})[1], (Thing{TYPE_DOOR_H_CLOSED, 0}));

    // The book: use opens the text for editing, the answer replaces it.
    ASSERT_TRUE(A.Do(Packet().Byte(130).Pos({101, 103, 7}).Word(TYPE_BOOK).Byte(1).Byte(0).Data, 150));
    EXPECT_EQ(A.View.EditText, "Old");
    A.Client.SendPacket(Packet().Byte(137).Quad(A.View.EditTextID).String("New words").Data);
    ASSERT_TRUE(A.Do(Packet().Byte(140).Pos({101, 103, 7}).Word(TYPE_BOOK).Byte(1).Data, 180));
    EXPECT_EQ(A.View.TextMessages.back(), (std::pair<int, std::string>{20, "You see a book.\nYou read: New words."}));
    // A stale text id changes nothing.
    A.Client.SendPacket(Packet().Byte(137).Quad(A.View.EditTextID).String("Again").Data);
    ASSERT_TRUE(A.Do(Packet().Byte(140).Pos({101, 103, 7}).Word(TYPE_BOOK).Byte(1).Data, 180));
    EXPECT_EQ(A.View.TextMessages.back().second, "You see a book.\nYou read: New words.");
}
