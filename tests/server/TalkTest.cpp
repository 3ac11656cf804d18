// Talk over loopback, byte for byte: how far each kind of speech carries,
// private and gamemaster messages, the channel list with the public, own and
// request channels, and a rule-violation request from submitting to closing.
#include "ServerHarness.h"

#include "server/Config.h"
#include "server/TextFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace servertest;

namespace {

using Messages = std::vector<Bytes>;

// The next Count talk, channel and text messages the player receives (the
// creatures' sounds left out), taken from the view in the order they came.
Messages Take(GamePlayer& P, size_t Count) {
    auto& Seen = P.View.TalkMessages;
    auto IsSound = [](const Bytes& M) { return M[0] == 170 && M[3 + (M[1] | M[2] << 8)] == 16; };
    EXPECT_TRUE(P.ReadUntil([&] {
        std::erase_if(Seen, IsSound);
        return Seen.size() >= Count;
    })) << "only " << Seen.size() << " of " << Count << " messages came";
    Messages Taken(Seen.begin(), Seen.begin() + long(std::min(Count, Seen.size())));
    Seen.erase(Seen.begin(), Seen.begin() + long(Taken.size()));
    return Taken;
}

Bytes Said(const std::string& Speaker, int Mode, const Position& Where, const std::string& Text) {
    return Packet().Byte(170).String(Speaker).Byte(Mode).Pos(Where).String(Text).Data;
}
Bytes Told(const std::string& Speaker, int Mode, const std::string& Text) {
    return Packet().Byte(170).String(Speaker).Byte(Mode).String(Text).Data;
}
Bytes InChannel(const std::string& Speaker, int Mode, int Channel, const std::string& Text) {
    return Packet().Byte(170).String(Speaker).Byte(Mode).Word(Channel).String(Text).Data;
}
Bytes Text(int Type, const std::string& Text) { return Packet().Byte(180).Byte(Type).String(Text).Data; }
Bytes Talk(int Mode, const std::string& Text) { return Packet().Byte(150).Byte(Mode).String(Text).Data; }
Bytes TalkTo(int Mode, const std::string& Name, const std::string& Text) {
    return Packet().Byte(150).Byte(Mode).String(Name).String(Text).Data;
}
Bytes TalkIn(int Mode, int Channel, const std::string& Text) {
    return Packet().Byte(150).Byte(Mode).Word(Channel).String(Text).Data;
}
Bytes Named(int Command, const std::string& Name) { return Packet().Byte(Command).String(Name).Data; }
Bytes Channel(int Command, int ID) { return Packet().Byte(Command).Word(ID).Data; }

const Position AldricAt{102, 102, 7}, KestrelAt{103, 103, 7}, MiraAt{102, 115, 7};

// Aldric (the demo's gamemaster) and Kestrel side by side, Mira out of
// their sight 13 fields to the south.
struct ThreePlayers {
    ServerRunner S;
    ThreePlayers() {
        for (auto [Name, At] : {std::pair{"Kestrel", KestrelAt}, std::pair{"Mira", MiraAt}})
            S.SetCharacterValues(Name, {{"PositionX", std::to_string(At.x)},
                                        {"PositionY", std::to_string(At.y)},
                                        {"PositionZ", std::to_string(At.z)}});
    }
};

}  // namespace

TEST(ServerTalk, EachModeReachesItsListeners) {
    ThreePlayers World;
    GamePlayer A(World.S.GamePort, 100001, "Aldric");
    GamePlayer K(World.S.GamePort, 100002, "Kestrel");
    GamePlayer M(World.S.GamePort, 100001, "Mira");
    ASSERT_EQ(A.Me(), AldricAt);

    // Say reaches whoever sees the speaker, the speaker too; a whisper's
    // words the ones next to the speaker; neither reaches Mira, whom the
    // yell reaches in capitals, and before anything else.
    A.Client.SendPacket(Talk(1, "Hello"));
    EXPECT_EQ(Take(A, 1), Messages{Said("Aldric", 1, AldricAt, "Hello")});
    EXPECT_EQ(Take(K, 1), Messages{Said("Aldric", 1, AldricAt, "Hello")});
    K.Client.SendPacket(Talk(2, "psst"));
    EXPECT_EQ(Take(A, 1), Messages{Said("Kestrel", 2, KestrelAt, "psst")});
    A.Client.SendPacket(Talk(3, "Help me!"));
    EXPECT_EQ(Take(M, 1), Messages{Said("Aldric", 3, AldricAt, "HELP ME!")});
    EXPECT_EQ(Take(A, 1), Messages{Said("Aldric", 3, AldricAt, "HELP ME!")});
    EXPECT_EQ(Take(K, 2), (Messages{Said("Kestrel", 2, KestrelAt, "psst"), Said("Aldric", 3, AldricAt, "HELP ME!")}));

    // A private message reaches anyone in the game and is not sent back;
    // the sender learns where it went, or that nobody by that name is in.
    M.Client.SendPacket(TalkTo(4, "kestrel", "Where are you?"));
    EXPECT_EQ(Take(K, 1), Messages{Told("Mira", 4, "Where are you?")});
    M.Client.SendPacket(TalkTo(4, "Nobody", "Hello?"));
    EXPECT_EQ(Take(M, 2), (Messages{Text(23, "Message sent to Kestrel."), Text(23, "A player with this name is not online.")}));

    // The gamemaster's modes: refused to a player, to everyone from Aldric;
    // the anonymous forms come as the administrator's messages.
    M.Client.SendPacket(Talk(9, "Free gold!"));
    M.Client.SendPacket(TalkTo(11, "Kestrel", "Obey"));
    EXPECT_EQ(Take(M, 2), Messages(2, Text(23, "You may not talk that way.")));
    A.Client.SendPacket(Talk(9, "Restart at noon."));
    A.Client.SendPacket(Talk(13, "Quiet, please."));
    for (GamePlayer* P : {&A, &K, &M})
        EXPECT_EQ(Take(*P, 2), (Messages{Told("Aldric", 9, "Restart at noon."), Text(22, "Quiet, please.")}));
    A.Client.SendPacket(TalkTo(11, "mira", "Stay where you are."));
    A.Client.SendPacket(TalkTo(15, "Kestrel", "You are watched."));
    EXPECT_EQ(Take(M, 1), Messages{Told("Aldric", 11, "Stay where you are.")});
    EXPECT_EQ(Take(K, 1), Messages{Text(22, "You are watched.")});
    EXPECT_EQ(Take(A, 2), (Messages{Text(23, "Message sent to Mira."), Text(23, "Message sent to Kestrel.")}));
}

// An added channel's line gives the id and the rest of the line as the name;
// anything else stops the start with the file's line.
TEST(ServerTalk, OperatorChannelLinesAreReadOrRefusedWithTheirLine) {
    testing_support::ScopedWorkDir Dir;
    server::Config Settings;
    Settings.StateDir = Dir.Path().string();
    testing_support::WriteFile(Dir.Path() / "server.txt", "Channel = 8  Trade  Fair \nChannel=99\t../x\n");
    server::LoadOperatorSettings(Settings);
    ASSERT_EQ(Settings.Channels.size(), 2u);
    EXPECT_EQ(Settings.Channels[0].ID, 8);
    EXPECT_EQ(Settings.Channels[0].Name, "Trade  Fair");
    EXPECT_EQ(Settings.Channels[1].ID, 99);
    EXPECT_EQ(Settings.Channels[1].Name, "../x");
    for (const char* Bad : {"Channel = Trade", "Channel = 9", "Channel = 9Trade", "Channel = 0 Zero",
                            "Channel = 70000 Big", "Channel = \"8 Trade\""}) {
        testing_support::WriteFile(Dir.Path() / "server.txt", std::string("\n") + Bad + "\n");
        try {
            server::LoadOperatorSettings(Settings);
            ADD_FAILURE() << Bad << " was taken";
        } catch (const server::FileError& Problem) {
            EXPECT_NE(std::string(Problem.what()).find("server.txt, line 2: channel"), std::string::npos) << Problem.what();
        }
    }
}

TEST(ServerTalk, ChannelListPublicAndOwnChannels) {
    ServerRunner S;
    GamePlayer A(S.GamePort, 100001, "Aldric");
    GamePlayer K(S.GamePort, 100002, "Kestrel");
    const Bytes Public = Packet().Word(1).String("Game Chat").Word(2).String("Trade").Data;
    const Bytes Help = Packet().Word(7).String("Help").Data;
    auto List = [](int Count, std::vector<Bytes> Parts) {
        Bytes L = {171, uint8_t(Count)};
        for (const Bytes& P : Parts) L.insert(L.end(), P.begin(), P.end());
        return L;
    };
    // Only the gamemaster is offered the request channel.
    K.Client.SendPacket({151});
    EXPECT_EQ(Take(K, 1), Messages{List(3, {Public, Help})});
    A.Client.SendPacket({151});
    EXPECT_EQ(Take(A, 1), Messages{List(4, {Public, Packet().Word(3).String("Rule Violations").Data, Help})});

    // A public channel: its members hear each other and themselves; the
    // gamemaster's red and anonymous channel talk is his alone.
    const Bytes GameChat = Packet().Byte(172).Word(1).String("Game Chat").Data;
    A.Client.SendPacket(Channel(152, 1));
    EXPECT_EQ(Take(A, 1), Messages{GameChat});
    K.Client.SendPacket(Channel(152, 1));
    EXPECT_EQ(Take(K, 1), Messages{GameChat});
    K.Client.SendPacket(TalkIn(5, 1, "anyone here?"));
    K.Client.SendPacket(TalkIn(5, 2, "sell"));
    K.Client.SendPacket(TalkIn(10, 1, "red"));
    EXPECT_EQ(Take(K, 3), (Messages{InChannel("Kestrel", 5, 1, "anyone here?"), Text(23, "You are not in this channel."),
                                    Text(23, "You may not talk that way.")}));
    A.Client.SendPacket(TalkIn(10, 1, "Welcome"));
    A.Client.SendPacket(TalkIn(14, 1, "hush"));
    const Messages Heard = {InChannel("Kestrel", 5, 1, "anyone here?"), InChannel("Aldric", 10, 1, "Welcome"),
                            InChannel("", 14, 1, "hush")};
    EXPECT_EQ(Take(K, 2), Messages(Heard.begin() + 1, Heard.end()));
    EXPECT_EQ(Take(A, 3), Heard);

    // Aldric's own channel is closed to Kestrel until invited; excluded,
    // Kestrel is told the channel closed and cannot come back.
    const Bytes Own = Packet().Word(100).String("Aldric's Channel").Data;
    auto Opened = [](int Command) { return Packet().Byte(Command).Word(100).String("Aldric's Channel").Data; };
    A.Client.SendPacket({170});
    EXPECT_EQ(Take(A, 1), Messages{Opened(178)});
    K.Client.SendPacket(Channel(152, 100));
    EXPECT_EQ(Take(K, 1), Messages{Text(23, "You may not join this channel.")});
    A.Client.SendPacket(Named(171, "kestrel"));
    EXPECT_EQ(Take(A, 1), Messages{Text(23, "Kestrel has been invited.")});
    K.Client.SendPacket({151});
    K.Client.SendPacket(Channel(152, 100));
    EXPECT_EQ(Take(K, 3), (Messages{Text(21, "Aldric invites you to the private chat channel."),
                                    List(4, {Public, Help, Own}), Opened(172)}));
    A.Client.SendPacket(Named(172, "Kestrel"));
    EXPECT_EQ(Take(K, 1), (Messages{Bytes{179, 100, 0}}));
    K.Client.SendPacket(Channel(152, 100));
    EXPECT_EQ(Take(K, 1), Messages{Text(23, "You may not join this channel.")});
    // The owner leaving the own channel closes it for the guests.
    A.Client.SendPacket(Named(171, "Kestrel"));
    K.Client.SendPacket(Channel(152, 100));
    EXPECT_EQ(Take(K, 2), (Messages{Text(21, "Aldric invites you to the private chat channel."), Opened(172)}));
    A.Client.SendPacket(Channel(153, 100));
    EXPECT_EQ(Take(K, 1), (Messages{Bytes{179, 100, 0}}));
    K.Client.SendPacket({151});
    EXPECT_EQ(Take(K, 1), Messages{List(3, {Public, Help})});

    // A private message tab for an existing name, a refusal for a made-up one.
    K.Client.SendPacket(Named(154, "mira"));
    K.Client.SendPacket(Named(154, "Nobody"));
    EXPECT_EQ(Take(K, 2), (Messages{Packet().Byte(173).String("Mira").Data,
                                    Text(23, "A player with this name does not exist.")}));
}

TEST(ServerRequests, FromSubmittingToClosing) {
    ThreePlayers World;
    GamePlayer A(World.S.GamePort, 100001, "Aldric");
    GamePlayer K(World.S.GamePort, 100002, "Kestrel");
    GamePlayer M(World.S.GamePort, 100001, "Mira");
    auto Request = [](const std::string& Name, const std::string& Text) {
        return Packet().Byte(170).String(Name).Byte(6).Quad(0).String(Text).Data;
    };
    // The number of a request line is its age in seconds: checked to be
    // small, then left out of the comparison.
    auto Aged = [](Messages Lines) {
        for (Bytes& L : Lines) {
            if (L[0] != 170 || L[3 + (L[1] | L[2] << 8)] != 6) continue;
            auto Age = L.begin() + 4 + (L[1] | L[2] << 8);
            EXPECT_TRUE(Age[0] <= 5 && Age[1] == 0 && Age[2] == 0 && Age[3] == 0);
            std::fill(Age, Age + 4, uint8_t(0));
        }
        return Lines;
    };
    const Messages Sent = {Text(23, "Message sent to Aldric.")};

    // Two requests wait before any gamemaster looks; Mira's second is
    // refused. Kestrel may not open the request channel; Aldric gets the
    // waiting requests with it.
    M.Client.SendPacket(Talk(6, "Someone took my sword."));
    M.Client.SendPacket(Talk(6, "Hello?"));
    EXPECT_EQ(Take(M, 1), Messages{Text(23, "You have already submitted a request. Please be patient.")});
    K.Client.SendPacket(Talk(6, "I am stuck."));
    K.Client.SendPacket(Channel(152, 3));
    EXPECT_EQ(Take(K, 1), Messages{Text(23, "You may not join this channel.")});
    A.Client.SendPacket(Channel(152, 3));
    EXPECT_EQ(Aged(Take(A, 3)),
              (Messages{{174, 3, 0}, Request("Mira", "Someone took my sword."), Request("Kestrel", "I am stuck.")}));

    // What Mira adds while she waits (the private message after it shows
    // that it went nowhere yet) reaches Aldric when he processes her
    // request, which leaves the channel. Then the two talk, nothing goes
    // back to the one who speaks, and nobody else may answer for Aldric.
    M.Client.SendPacket(Talk(8, "It was a long sword."));
    M.Client.SendPacket(TalkTo(4, "Aldric", "Are you there?"));
    EXPECT_EQ(Take(A, 1), Messages{Told("Mira", 4, "Are you there?")});
    EXPECT_EQ(Take(M, 1), Sent);
    A.Client.SendPacket(Named(155, "mira"));
    EXPECT_EQ(Take(A, 2), (Messages{Named(175, "Mira"), Told("Mira", 8, "It was a long sword.")}));
    K.Client.SendPacket(TalkTo(7, "Mira", "I can help."));
    EXPECT_EQ(Take(K, 1), Messages{Text(23, "You are not answering a request of this player.")});
    A.Client.SendPacket(TalkTo(7, "Mira", "Who took it?"));
    EXPECT_EQ(Take(M, 1), Messages{Told("Aldric", 7, "Who took it?")});
    M.Client.SendPacket(Talk(8, "A thief."));
    EXPECT_EQ(Take(A, 1), Messages{Told("Mira", 8, "A thief.")});
    // Aldric closes it; Mira has nothing left to answer to.
    A.Client.SendPacket(Named(156, "Mira"));
    EXPECT_EQ(Take(M, 1), Messages{{177}});
    M.Client.SendPacket(Talk(8, "Thanks!"));
    EXPECT_EQ(Take(M, 1), Messages{Text(23, "You have no open request.")});

    // Kestrel cancels the request Aldric is answering: Aldric is told.
    A.Client.SendPacket(Named(155, "Kestrel"));
    EXPECT_EQ(Take(A, 1), Messages{Named(175, "Kestrel")});
    K.Client.SendPacket({157});
    EXPECT_EQ(Take(A, 1), Messages{Named(176, "Kestrel")});

    // A waiting request removed by the gamemaster, and one cancelled.
    M.Client.SendPacket(Talk(6, "Again."));
    EXPECT_EQ(Aged(Take(A, 1)), Messages{Request("Mira", "Again.")});
    A.Client.SendPacket(Named(156, "Mira"));
    EXPECT_EQ(Take(A, 1), Messages{Named(175, "Mira")});
    EXPECT_EQ(Take(M, 1), Messages{{177}});
    K.Client.SendPacket(Talk(6, "Lost."));
    K.Client.SendPacket({157});
    EXPECT_EQ(Aged(Take(A, 2)), (Messages{Request("Kestrel", "Lost."), Named(175, "Kestrel")}));

    // Out of the request channel Aldric hears of no new request; back in,
    // he finds it waiting; leaving the game closes what he answers.
    A.Client.SendPacket(Channel(153, 3));
    A.Client.SendPacket(TalkTo(4, "Kestrel", "Gone."));
    EXPECT_EQ(Take(K, 1), Messages{Told("Aldric", 4, "Gone.")});
    K.Client.SendPacket(Talk(6, "Still lost."));
    K.Client.SendPacket(TalkTo(4, "Aldric", "Hello?"));
    EXPECT_EQ(Take(A, 2), (Messages{Text(23, "Message sent to Kestrel."), Told("Kestrel", 4, "Hello?")}));
    A.Client.SendPacket(Channel(152, 3));
    A.Client.SendPacket(Named(155, "Kestrel"));
    EXPECT_EQ(Aged(Take(A, 3)), (Messages{{174, 3, 0}, Request("Kestrel", "Still lost."), Named(175, "Kestrel")}));
    A.Client.SendPacket({20});
    EXPECT_EQ(Take(K, 2), (Messages{Text(23, "Message sent to Aldric."), {177}}));
}
