// File updates of the login server: deltas checked against the client's own
// installer, the store of kept versions, the transfer on the wire with its
// blocks and time-out, and the client's protocol layer updating Vorna.dat
// against the running server and logging in again.
#include "ServerHarness.h"
#include "app/Control.h"
#include "config/Preferences.h"
#include "core/DataFolders.h"
#include "core/Status.h"
#include "net/Communication.h"
#include "net/Network.h"
#include "server/Log.h"
#include "server/Updates.h"
#include "support/ClientModules.h"
#include "support/TestSupport.h"
#include "world/Objects.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

using namespace servertest;
namespace fs = std::filesystem;
namespace updates = server::updates;

namespace {

// ---- Helpers ------------------------------------------------------------------------

Bytes ReadBytes(const fs::path& File) {
    std::string Text = testing_support::ReadFile(File);
    return Bytes(Text.begin(), Text.end());
}

void WriteBytes(const fs::path& File, const Bytes& Data) {
    testing_support::WriteFile(File, std::string(Data.begin(), Data.end()));
}

uint32_t SignatureOf(const Bytes& File) { return updates::Signature(File).value_or(0); }

void SetSignature(Bytes& File, uint32_t Signature) {
    for (int i = 0; i < 4; i++) File[size_t(i)] = uint8_t(Signature >> (8 * i));
}

// Pseudo-random bytes with runs of one value between, like pictures have.
Bytes Content(size_t Size, unsigned Seed) {
    std::mt19937 Random(Seed);
    Bytes Data;
    while (Data.size() < Size) {
        if (Random() % 4 == 0)
            Data.insert(Data.end(), 3 + Random() % 40, uint8_t(Random()));
        else
            for (unsigned n = 1 + Random() % 60; n > 0; n--) Data.push_back(uint8_t(Random()));
    }
    Data.resize(Size);
    return Data;
}

Bytes Cat(std::initializer_list<Bytes> Parts) {
    Bytes All;
    for (const Bytes& Part : Parts) All.insert(All.end(), Part.begin(), Part.end());
    return All;
}

Bytes Slice(const Bytes& Data, size_t From, size_t To) { return Bytes(Data.begin() + long(From), Data.begin() + long(To)); }

// What the client's installer makes of Old (as its Vorna.dat) and the
// delta; nullopt when it refuses the patch.
std::optional<Bytes> ClientApplies(const Bytes& Old, const Bytes& Delta) {
    testing_support::ScopedWorkDir Dir;
    WriteBytes("Vorna.dat", Old);
    if (!WritePatchedFile(1, true, Delta.data(), Delta.size(), SignatureOf(Old))) return std::nullopt;
    return ReadBytes("Vorna.dat_");
}

// The test world's Vorna.dat in an older version: another signature, other
// sprites for three object types, and bytes after the tables that the
// client never reads.
Bytes OlderDat(const Bytes& Current, uint32_t Signature) {
    Bytes Old = Current;
    SetSignature(Old, Signature);
    const Bytes Record = {255, 1, 1, 1, 1, 1, 1, 1, 0, 0};  // flags end, 1 x 1, sprite 0
    int Seen = 0;
    for (size_t i = 0; i + Record.size() <= Old.size(); i++) {
        if (!std::equal(Record.begin(), Record.end(), Old.begin() + long(i))) continue;
        if (++Seen == 3 || Seen == 40 || Seen == 90) Old[i + 8] = uint8_t(Seen);
    }
    EXPECT_GE(Seen, 90);
    Old.insert(Old.end(), 37, 0xEE);
    return Old;
}

// ---- The delta builder ----------------------------------------------------------------

TEST(DeltaBuilder, IdenticalFilesAreOneCopyInEachCountWidth) {
    struct Case {
        size_t Size;
        Bytes Delta;
    };
    std::vector<Case> Cases = {
        {4, {0x04}},
        {60, {0x3C}},
        {61, {0x3D, 61}},
        {255, {0x3D, 0xFF}},
        {256, {0x3E, 0x00, 0x01}},
        {65535, {0x3E, 0xFF, 0xFF}},
        {65536, {0x3F, 0x00, 0x00, 0x01, 0x00}},
    };
    for (const Case& K : Cases) {
        Bytes File = Content(K.Size, unsigned(K.Size));
        Bytes Delta = updates::BuildDelta(File, File);
        EXPECT_EQ(Delta, K.Delta) << K.Size << " bytes";
        EXPECT_EQ(ClientApplies(File, Delta), File) << K.Size << " bytes";
    }
}

TEST(DeltaBuilder, CompletelyDifferentFilesAreWrittenOver) {
    Bytes Old(100, 0xAA), New(100, 0x55);
    Bytes Expected = Cat({{0xFD, 100}, New});  // write 100 over 100
    EXPECT_EQ(updates::BuildDelta(Old, New), Expected);
    EXPECT_EQ(ClientApplies(Old, Expected), New);

    // Longer: the surplus follows; shorter: the old surplus is left unread.
    Bytes Shorter(50, 0xAA), Longer(80, 0x55);
    Expected = Cat({{0xF2}, Bytes(50, 0x55), {0x9E}, Bytes(30, 0x55)});
    EXPECT_EQ(updates::BuildDelta(Shorter, Longer), Expected);
    EXPECT_EQ(ClientApplies(Shorter, Expected), Longer);
    Bytes Cut(50, 0x55);
    EXPECT_EQ(updates::BuildDelta(Longer, Cut), Bytes{0x32});  // copy 50
    Expected = Cat({{0xF2}, Cut});
    EXPECT_EQ(updates::BuildDelta(Bytes(80, 0xAA), Cut), Expected);
    EXPECT_EQ(ClientApplies(Bytes(80, 0xAA), Expected), Cut);

    // Unrelated pseudo-random content of a picture's size costs the whole
    // file and a few instruction bytes.
    Bytes A = Content(300000, 1), B = Content(300000, 2);
    Bytes Delta = updates::BuildDelta(A, B);
    EXPECT_LE(Delta.size(), B.size() + 600);
    EXPECT_EQ(ClientApplies(A, Delta), B);
}

TEST(DeltaBuilder, GrowingAndShrinkingFiles) {
    Bytes Old = Content(3000, 7);
    Bytes Tail = Content(500, 8), Head = Content(200, 9);
    struct Case {
        const char* What;
        Bytes New;
        Bytes Delta;
    };
    std::vector<Case> Cases = {
        {"appended", Cat({Old, Tail}), Cat({{0x3E, 0xB8, 0x0B, 0xBE, 0xF4, 0x01}, Tail})},
        {"prepended", Cat({Head, Old}), Cat({{0xBD, 200}, Head, {0x3E, 0xB8, 0x0B}})},
        {"cut at the end", Slice(Old, 0, 2000), {0x3E, 0xD0, 0x07}},
        {"cut at the start", Slice(Old, 1000, 3000), {0x7E, 0xE8, 0x03, 0x3E, 0xD0, 0x07}},
        {"cut in the middle", Cat({Slice(Old, 0, 1000), Slice(Old, 1500, 3000)}),
         {0x3E, 0xE8, 0x03, 0x7E, 0xF4, 0x01, 0x3E, 0xDC, 0x05}},
        {"grown in the middle", Cat({Slice(Old, 0, 1000), Tail, Slice(Old, 1000, 3000)}),
         Cat({{0x3E, 0xE8, 0x03, 0xBE, 0xF4, 0x01}, Tail, {0x3E, 0xD0, 0x07}})},
    };
    for (const Case& K : Cases) {
        Bytes Delta = updates::BuildDelta(Old, K.New);
        EXPECT_EQ(Delta, K.Delta) << K.What;
        EXPECT_EQ(ClientApplies(Old, Delta), K.New) << K.What;
    }
    // A new file from nothing, and nothing left of an old one.
    EXPECT_EQ(updates::BuildDelta({}, {1, 2, 3}), (Bytes{0x83, 1, 2, 3}));
    EXPECT_EQ(updates::BuildDelta(Old, {}), Bytes{});
}

TEST(DeltaBuilder, ScatteredEditsCostLittleMoreThanTheirBytes) {
    std::mt19937 Random(42);
    for (int Round = 0; Round < 40; Round++) {
        Bytes Old = Content(20000 + Random() % 20000, unsigned(Round) + 100);
        Bytes New = Old;
        size_t Written = 0;
        int Edits = 1 + int(Random() % 8);
        for (int e = 0; e < Edits; e++) {
            size_t At = Random() % New.size(), Length = 1 + Random() % 300;
            Length = std::min(Length, New.size() - At);
            Bytes Fresh = Content(Length, Random());
            switch (Random() % 3) {
            case 0: std::copy(Fresh.begin(), Fresh.end(), New.begin() + long(At)); break;
            case 1: New.insert(New.begin() + long(At), Fresh.begin(), Fresh.end()); break;
            default: New.erase(New.begin() + long(At), New.begin() + long(At + Length)); Fresh.clear(); break;
            }
            Written += Fresh.size();
        }
        Bytes Delta = updates::BuildDelta(Old, New);
        EXPECT_LE(Delta.size(), Written + 48 * size_t(Edits) + 16) << "round " << Round;
        EXPECT_EQ(updates::ApplyDelta(Old, Delta), New) << "round " << Round;
        EXPECT_EQ(ClientApplies(Old, Delta), New) << "round " << Round;
    }
}

TEST(DeltaBuilder, InstructionsReadAsTheClientReadsThem) {
    Bytes Old = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'};
    // Copy 5 (count in the next byte), skip 5, write 3, write 2 over 2, copy 2.
    Bytes Delta = {0x3D, 0x05, 0x45, 0x83, 'x', 'y', 'z', 0xC2, '1', '2', 0x02};
    Bytes Expected = {'A', 'B', 'C', 'D', 'E', 'x', 'y', 'z', '1', '2', 'M', 'N'};
    EXPECT_EQ(updates::ApplyDelta(Old, Delta), Expected);
    EXPECT_EQ(ClientApplies(Old, Delta), Expected);

    // Broken instructions: the client refuses what ApplyDelta refuses.
    std::vector<Bytes> Broken = {
        {0x3D},              // count byte missing
        {0x3E, 0x01},        // count word cut short
        {0x85, 'a', 'b'},    // write 5 with two bytes
        {0x11},              // copy 17 of 16
        {0x05, 0x4C},        // skip past the end
        {0xD1, 'a'},         // write over 17 with one byte
    };
    for (const Bytes& D : Broken) {
        EXPECT_EQ(updates::ApplyDelta(Old, D), std::nullopt) << int(D[0]);
        EXPECT_EQ(ClientApplies(Old, D), std::nullopt) << int(D[0]);
    }
}

// ---- The store of versions ----------------------------------------------------------------

class UpdateStoreTest : public testing::Test {
  protected:
    void SetUp() override {
        serverlog::SetLevel(3);
        Data = Dir.Path() / "data";
        Kept = Dir.Path() / "updates";
        fs::create_directories(Data);
        Dat = Content(6000, 11);
        SetSignature(Dat, 0xA0000001);
        WriteBytes(Data / "Vorna.dat", Dat);
        Spr = Content(5000, 12);
        SetSignature(Spr, 0xB0000001);
        WriteBytes(Data / "Vorna.spr", Spr);
    }
    std::vector<std::string> KeptNames() const {
        std::vector<std::string> Names;
        for (const auto& Entry : fs::directory_iterator(Kept)) Names.push_back(Entry.path().filename().string());
        std::sort(Names.begin(), Names.end());
        return Names;
    }
    testing_support::ScopedWorkDir Dir;
    fs::path Data, Kept;
    Bytes Dat, Spr;
};

TEST_F(UpdateStoreTest, CurrentVersionsAreKeptAndOlderOnesGetDeltas) {
    updates::UpdateStore Store;
    Store.Load(Data.string(), Kept.string());
    // The first start keeps what there is, under its signature.
    EXPECT_EQ(KeptNames(), (std::vector<std::string>{"Vorna.dat.a0000001", "Vorna.spr.b0000001"}));
    EXPECT_EQ(ReadBytes(Kept / "Vorna.dat.a0000001"), Dat);
    EXPECT_EQ(ReadBytes(Kept / "Vorna.spr.b0000001"), Spr);
    EXPECT_TRUE(Store.Offers(updates::SPRITES_FILE));
    EXPECT_FALSE(Store.Offers(updates::PICTURES_FILE));
    EXPECT_EQ(Store.Find({0xA0000001, 0xB0000001, 0}), std::nullopt);

    // A new version arrives; the kept one becomes the base of a delta, an
    // unrelated file of another signature is no base worth a delta.
    Bytes NewDat = Cat({Slice(Dat, 0, 2500), Content(120, 13), Slice(Dat, 2600, 6000)});
    SetSignature(NewDat, 0xA0000002);
    WriteBytes(Data / "Vorna.dat", NewDat);
    Bytes Unrelated(6000);
    std::mt19937 Random(14);
    for (uint8_t& Byte : Unrelated) Byte = uint8_t(Random());
    SetSignature(Unrelated, 0xA00000FF);
    WriteBytes(Kept / "Vorna.dat.someday", Unrelated);
    Store.Load(Data.string(), Kept.string());
    EXPECT_EQ(KeptNames(), (std::vector<std::string>{"Vorna.dat.a0000001", "Vorna.dat.a0000002", "Vorna.dat.someday",
                                                     "Vorna.spr.b0000001"}));
    EXPECT_EQ(Store.CurrentSignature(updates::OBJECTS_FILE), 0xA0000002u);

    std::optional<updates::Update> U = Store.Find({0xA0000001, 0xB0000001, 0x12345678});
    ASSERT_TRUE(U);
    EXPECT_EQ(U->Type, updates::OBJECTS_FILE);
    EXPECT_TRUE(U->Delta);
    EXPECT_EQ(U->From, 0xA0000001u);
    EXPECT_EQ(*U->Data, updates::BuildDelta(Dat, NewDat));
    EXPECT_LT(U->Data->size(), 200u);
    EXPECT_EQ(ClientApplies(Dat, *U->Data), NewDat);

    for (uint32_t Unknown : {0xA00000FFu, 0u, 0xDEADBEEFu}) {
        U = Store.Find({Unknown, 0xB0000001, 0});
        ASSERT_TRUE(U);
        EXPECT_FALSE(U->Delta);
        EXPECT_EQ(*U->Data, NewDat);
    }
    EXPECT_EQ(Store.DeltaFrom(updates::OBJECTS_FILE, 0xA00000FF), nullptr);

    // Vorna.dat before Vorna.spr; a current Vorna.dat leaves Vorna.spr.
    U = Store.Find({0xA0000001, 0, 0});
    EXPECT_EQ(U->Type, updates::OBJECTS_FILE);
    U = Store.Find({0xA0000002, 0, 0});
    ASSERT_TRUE(U);
    EXPECT_EQ(U->Type, updates::SPRITES_FILE);
    EXPECT_FALSE(U->Delta);
    EXPECT_EQ(*U->Data, Spr);
}

TEST_F(UpdateStoreTest, SignaturesThatCannotTellTheVersionGetWholeFiles) {
    // Two different kept files of one signature; a kept file with the
    // current signature but other content; a file too short for a signature.
    Bytes First = Cat({Slice(Dat, 0, 3000), Content(10, 15), Slice(Dat, 3010, 6000)});
    Bytes Second = Cat({Slice(Dat, 0, 1000), Content(10, 16), Slice(Dat, 1010, 6000)});
    SetSignature(First, 0xA0000009);
    SetSignature(Second, 0xA0000009);
    Bytes Impostor = Content(6000, 17);
    SetSignature(Impostor, 0xA0000001);
    fs::create_directories(Kept);
    WriteBytes(Kept / "Vorna.dat.first", First);
    WriteBytes(Kept / "Vorna.dat.second", Second);
    WriteBytes(Kept / "Vorna.dat.impostor", Impostor);
    WriteBytes(Kept / "Vorna.dat.tiny", {1, 2});
    WriteBytes(Kept / "Vorna.datum", First);  // not a kept Vorna.dat

    updates::UpdateStore Store;
    Store.Load(Data.string(), Kept.string());
    std::optional<updates::Update> U = Store.Find({0xA0000009, 0xB0000001, 0});
    ASSERT_TRUE(U);
    EXPECT_FALSE(U->Delta);
    EXPECT_EQ(*U->Data, Dat);
    EXPECT_EQ(Store.Find({0xA0000001, 0xB0000001, 0}), std::nullopt);
    // A file of the current signature is there, so nothing is added or
    // overwritten for Vorna.dat.
    EXPECT_EQ(ReadBytes(Kept / "Vorna.dat.impostor"), Impostor);
    EXPECT_FALSE(fs::exists(Kept / "Vorna.dat.a0000001"));
    EXPECT_TRUE(fs::exists(Kept / "Vorna.spr.b0000001"));

    // Without these, a kept version does give a delta.
    fs::remove(Kept / "Vorna.dat.second");
    Store.Load(Data.string(), Kept.string());
    U = Store.Find({0xA0000009, 0xB0000001, 0});
    ASSERT_TRUE(U);
    EXPECT_TRUE(U->Delta);
    EXPECT_EQ(ClientApplies(First, *U->Data), Dat);
}

// ---- The transfer on the wire -----------------------------------------------------------

Bytes Login(const std::array<uint32_t, 3>& Signatures, uint32_t Account = 100001, const std::string& Password = "demo") {
    return Packet().Byte(1).Word(2).Word(760).Quad(Signatures[0]).Quad(Signatures[1]).Quad(Signatures[2])
        .Quad(Account).String(Password).Data;
}

// What one update connection brought: the start message and the blocks.
struct Received {
    int Command = 0, Type = -1;
    uint32_t Size = 0;
    Bytes Data;
    std::vector<size_t> Blocks, Packets;  // sizes
    bool Closed = false;
    std::string Problem;
};

Received ReadTransfer(TestClient& C) {
    Received R;
    while (std::optional<Bytes> Body = C.ReadPacket()) {
        R.Packets.push_back(Body->size());
        size_t At = 0;
        auto Need = [&](size_t n) {
            if (Body->size() - At < n) throw std::runtime_error("message cut short");
        };
        try {
            while (At < Body->size()) {
                int Command = (*Body)[At++];
                if ((Command == 30 || Command == 31) && R.Command == 0) {
                    Need(5);
                    R.Command = Command;
                    R.Type = (*Body)[At];
                    R.Size = uint32_t((*Body)[At + 1] | (*Body)[At + 2] << 8 | (*Body)[At + 3] << 16) |
                             uint32_t((*Body)[At + 4]) << 24;
                    At += 5;
                } else if (Command == 32 && R.Command != 0) {
                    Need(2);
                    size_t n = size_t((*Body)[At] | (*Body)[At + 1] << 8);
                    At += 2;
                    Need(n);
                    R.Data.insert(R.Data.end(), Body->begin() + long(At), Body->begin() + long(At + n));
                    R.Blocks.push_back(n);
                    At += n;
                } else {
                    throw std::runtime_error("unexpected command " + std::to_string(Command));
                }
            }
        } catch (const std::exception& Problem) {
            R.Problem = Problem.what();
            return R;
        }
        if (R.Command != 0 && R.Data.size() == R.Size) break;
    }
    R.Closed = C.WaitClosed();
    return R;
}

// True when the login is answered with the message of the day (and the
// character list behind it) and the connection closes.
bool GetsCharacterList(int Port, const std::array<uint32_t, 3>& Signatures) {
    TestClient C(Port);
    C.SendPacket(Login(Signatures));
    std::optional<Bytes> Reply = C.ReadPacket();
    return Reply && !Reply->empty() && (*Reply)[0] == 20 && C.WaitClosed();
}

TEST(UpdateTransfer, DeltasAndWholeFilesTravelInBlocksOfOnePacketEach) {
    ServerRunner S;
    S.Stop();
    Bytes Current = ReadBytes(S.Dir / "Vorna.dat");
    Bytes Old = OlderDat(Current, 0x11111111);
    fs::create_directories(S.StateDir / "updates");
    WriteBytes(S.StateDir / "updates" / "Vorna.dat.before", Old);
    Bytes Pictures = Content(100000, 21);
    SetSignature(Pictures, 0x0B1C7000);
    WriteBytes(S.Dir / "Vorna.pic", Pictures);
    S.Start();

    {
        TestClient C(S.LoginPort);
        C.SendPacket(Login({0x11111111, 0, 0x0B1C7000}));
        Received R = ReadTransfer(C);
        EXPECT_EQ(R.Problem, "");
        EXPECT_EQ(R.Command, 30);
        EXPECT_EQ(R.Type, 1);
        Bytes Delta = updates::BuildDelta(Old, Current);
        EXPECT_LT(Delta.size(), Current.size() / 10);
        EXPECT_EQ(R.Size, Delta.size());
        EXPECT_EQ(R.Data, Delta);
        EXPECT_TRUE(R.Closed);
    }
    {
        // An unknown Vorna.pic: the whole file, in blocks that fill a packet.
        TestClient C(S.LoginPort);
        C.SendPacket(Login({0x12345678, 0, 0x0B1C6FFF}));
        Received R = ReadTransfer(C);
        EXPECT_EQ(R.Problem, "");
        EXPECT_EQ(R.Command, 31);
        EXPECT_EQ(R.Type, 3);
        EXPECT_EQ(R.Size, Pictures.size());
        EXPECT_EQ(R.Data, Pictures);
        ASSERT_EQ(R.Blocks.size(), 7u);  // 6 x 16379 + 1726
        for (size_t i = 0; i + 1 < R.Blocks.size(); i++) EXPECT_EQ(R.Blocks[i], 16379u);
        EXPECT_EQ(R.Blocks.back(), 100000u - 6 * 16379u);
        for (size_t Size : R.Packets) EXPECT_LE(Size, 16382u);
        EXPECT_TRUE(R.Closed);
    }
    // Up to date (the server has no Vorna.spr): the character list.
    EXPECT_TRUE(GetsCharacterList(S.LoginPort, {0x12345678, 0x5555, 0x0B1C7000}));
    {
        // Updates go to accounts only.
        TestClient C(S.LoginPort);
        C.SendPacket(Login({0x11111111, 0, 0}, 100001, "wrong"));
        EXPECT_EQ(C.ReadPacket(), Packet().Byte(10).String("Account number or password is not correct.").Data);
        EXPECT_TRUE(C.WaitClosed());
    }
}

// A client that reads nothing, with a small receive window so that the
// server's socket fills up quickly.
class SilentClient {
  public:
    explicit SilentClient(int Port) : Socket(Context) {
        Socket.open(asio::ip::tcp::v4());
        Socket.set_option(asio::socket_base::receive_buffer_size(4096));
        Socket.connect(asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), asio::ip::port_type(Port)));
    }
    void Send(const Bytes& Body) {
        Bytes Data{uint8_t(Body.size()), uint8_t(Body.size() >> 8)};
        Data.insert(Data.end(), Body.begin(), Body.end());
        asio::write(Socket, asio::buffer(Data));
    }
    // Reads until the server has closed the connection; the bytes read, or
    // -1 when it is still open after the time-out.
    long long DrainUntilClosed(int TimeoutMs) {
        long long Total = 0;
        bool Ended = false;
        std::vector<uint8_t> Block(65536);
        std::function<void()> Next = [&] {
            Socket.async_read_some(asio::buffer(Block), [&](std::error_code Error, size_t Count) {
                Total += (long long)Count;
                if (Error) {
                    Ended = true;
                    return;
                }
                Next();
            });
        };
        Next();
        Context.restart();
        Context.run_for(std::chrono::milliseconds(TimeoutMs));
        if (!Ended) {
            Socket.close();
            Context.restart();
            Context.run();
            return -1;
        }
        return Total;
    }

  private:
    asio::io_context Context;
    asio::ip::tcp::socket Socket;
};

TEST(UpdateTransfer, AClientThatStopsReadingHoldsUpNobodyAndIsDropped) {
    ServerRunner S("LoginTimeoutMs = 500\n");
    S.Stop();
    // Far more than the socket buffers of both ends take, and more than a
    // connection may have queued at once.
    Bytes Pictures = Content(12 << 20, 31);
    SetSignature(Pictures, 0x0B1C7000);
    WriteBytes(S.Dir / "Vorna.pic", Pictures);
    S.Start();

    SilentClient Stalled(S.LoginPort);
    Stalled.Send(Login({0x12345678, 0, 0}));
    // A second request during the transfer ends that connection at once.
    SilentClient Pushy(S.LoginPort);
    Pushy.Send(Login({0x12345678, 0, 0}));
    Pushy.Send(Login({0x12345678, 0, 0}));
    long long Pushed = Pushy.DrainUntilClosed(1000);
    EXPECT_GE(Pushed, 0) << "still open";
    EXPECT_LT(Pushed, 16384);

    // Meanwhile another client takes the whole file, and a third logs in.
    {
        TestClient C(S.LoginPort);
        C.SendPacket(Login({0x12345678, 0, 0x0B1C6FFF}));
        Received R = ReadTransfer(C);
        EXPECT_EQ(R.Problem, "");
        EXPECT_EQ(R.Command, 31);
        EXPECT_TRUE(R.Data == Pictures);
        EXPECT_TRUE(R.Closed);
    }
    EXPECT_TRUE(GetsCharacterList(S.LoginPort, {0x12345678, 0, 0x0B1C7000}));

    // The stalled transfer is dropped by the once-a-second sweep after the
    // time-out: what it still had buffered is less than the file.
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    long long Got = Stalled.DrainUntilClosed(3000);
    EXPECT_GE(Got, 0) << "still open";
    EXPECT_LT(Got, (long long)Pictures.size());
}

// ---- The client's protocol layer against the server ---------------------------------------

std::vector<Event> Seen;  // the dialog events the client posted, texts copied

bool RecordEvent(Event& E) {
    Event Copy = E;
    Copy.Data = EventDataIsText(E.Type) ? intptr_t(0) : E.Data;
    Copy.Extra = EventExtraIsText(E.Type) ? intptr_t(0) : E.Extra;
    Seen.push_back(Copy);
    FreeEvent(E);
    return false;
}

bool Pump(const std::function<bool()>& Done, int Milliseconds = 8000) {
    auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > End) return false;
        PollNetwork();
        ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool Posted(int Type) {
    return std::any_of(Seen.begin(), Seen.end(), [Type](const Event& E) { return E.Type == Type; });
}

class ClientUpdate : public testing::Test {
  protected:
    void SetUp() override {
        Seen.clear();
        Current = ReadBytes(Server.Dir / "Vorna.dat");
        testing_support::ClientModules Modules;
        Modules.Preferences = (Dir.Path() / "Vorna.cfg").string();
        Modules.World = false;
        Modules.GameMessages = false;
        Modules.Hooks.CarryOutEvent = RecordEvent;
        testing_support::StartClientModules(Modules);
    }
    void TearDown() override {
        testing_support::StopClientModules();
        UnloadObjects();
        SetDataFolders({});
    }
    // Logs in with Vorna.dat as it is in the working folder (or where the
    // data folders have it); true when the character list arrives in the end.
    bool LogIn() {
        LoadObjects(DataFilePath("Vorna.dat").c_str());
        for (int i = 0; i < NUMBEROFSERVER; i++) SetLoginServer(i, "127.0.0.1", Server.LoginPort);
        SetAccountNumber(100001);
        SetPassword("demo");
        ConnectLoginServer();
        return Pump([] { return Posted(MESSAGE_CHARACTERLIST) || Posted(MESSAGE_ERROR); }) &&
               Pump([] { return GetConnectionState() == STATE_OFFLINE; });
    }
    // The size the client announced in its progress dialog for the first
    // transfer; -1 when none started.
    long long AnnouncedSize() const {
        for (const Event& E : Seen)
            if (E.Type == MESSAGE_PATCHPROGRESS) return (long long)E.Extra;
        return -1;
    }
    // Restarts the server with an older Vorna.dat among its kept versions,
    // which it then updates by a delta; returns that older file.
    Bytes KeepOlderDat() {
        Bytes Old = OlderDat(Current, 0x11111111);
        Server.Stop();
        fs::create_directories(Server.StateDir / "updates");
        WriteBytes(Server.StateDir / "updates" / "Vorna.dat.before", Old);
        Server.Start();
        return Old;
    }
    ServerRunner Server;
    testing_support::ScopedWorkDir Dir;  // the client's folder
    Bytes Current;
};

TEST_F(ClientUpdate, AnOlderVorna_datIsPatchedInstalledAndTheClientLogsInAgain) {
    Bytes Old = KeepOlderDat();
    WriteBytes("Vorna.dat", Old);

    ASSERT_TRUE(LogIn());
    EXPECT_FALSE(Posted(MESSAGE_ERROR));
    ASSERT_TRUE(Posted(MESSAGE_CHARACTERLIST));
    EXPECT_EQ(AnnouncedSize(), (long long)updates::BuildDelta(Old, Current).size());
    EXPECT_LT(AnnouncedSize(), (long long)Current.size() / 10);
    EXPECT_EQ(ReadBytes("Vorna.dat"), Current);
    EXPECT_FALSE(fs::exists("Vorna.dat_"));
    EXPECT_EQ(GetObjectsSignature(), 0x12345678u);
    EXPECT_EQ(GetAccountCharacters(), 2);
    EXPECT_EQ(GetPatchProgress(), -1);
}

// An installed program reads the older file from the installation's folder;
// the new one goes into the player's folder (the working directory), is read
// from there on, and the installation's file stays as it was.
TEST_F(ClientUpdate, AnInstalledProgramsVorna_datIsUpdatedIntoThePlayersFolder) {
    Bytes Old = KeepOlderDat();
    const fs::path Share = Dir.Path() / "share";
    fs::create_directories(Share);
    WriteBytes(Share / "Vorna.dat", Old);
    SetDataFolders({Dir.Path().string(), Share.string()});

    ASSERT_TRUE(LogIn());
    EXPECT_FALSE(Posted(MESSAGE_ERROR));
    ASSERT_TRUE(Posted(MESSAGE_CHARACTERLIST));
    EXPECT_EQ(AnnouncedSize(), (long long)updates::BuildDelta(Old, Current).size());
    EXPECT_EQ(ReadBytes(Dir.Path() / "Vorna.dat"), Current);
    EXPECT_EQ(ReadBytes(Share / "Vorna.dat"), Old);
    EXPECT_EQ(DataFilePath("Vorna.dat"), (Dir.Path() / "Vorna.dat").string());
    EXPECT_EQ(GetObjectsSignature(), 0x12345678u);
}

TEST_F(ClientUpdate, AnUnknownVorna_datIsReplacedWhole) {
    Bytes Unknown = OlderDat(Current, 0x22222222);
    WriteBytes("Vorna.dat", Unknown);

    ASSERT_TRUE(LogIn());
    EXPECT_FALSE(Posted(MESSAGE_ERROR));
    ASSERT_TRUE(Posted(MESSAGE_CHARACTERLIST));
    EXPECT_EQ(AnnouncedSize(), (long long)Current.size());
    EXPECT_EQ(ReadBytes("Vorna.dat"), Current);
    EXPECT_EQ(GetObjectsSignature(), 0x12345678u);
    EXPECT_EQ(GetAccountCharacters(), 2);
}

TEST_F(ClientUpdate, ACurrentClientGetsTheCharacterListAtOnce) {
    WriteBytes("Vorna.dat", Current);

    ASSERT_TRUE(LogIn());
    EXPECT_FALSE(Posted(MESSAGE_ERROR));
    EXPECT_FALSE(Posted(MESSAGE_PATCHPROGRESS));
    EXPECT_FALSE(Posted(MESSAGE_CONNECTING_LIST));  // no second login
    ASSERT_TRUE(Posted(MESSAGE_CHARACTERLIST));
    EXPECT_EQ(ReadBytes("Vorna.dat"), Current);
    EXPECT_EQ(GetAccountCharacters(), 2);
}

}  // namespace
