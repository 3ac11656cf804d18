// Recording and replaying at the platform's seams, and the recording file.
#include "platform/Platform.h"
#include "platform/Recording.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace platform::recording;
using testing_support::ReadFile;
using testing_support::ScopedWorkDir;
using testing_support::WriteFile;

namespace {

platform::Event Typed(int c) {
    platform::Event e;
    e.Kind = platform::EventKind::Text;
    e.Character = c;
    return e;
}

// What a stretch of the program does with its inputs; the same calls while
// recording and while replaying.
struct Seen {
    std::vector<uint32_t> Clock;
    std::vector<int> Characters;
    int PointerX = 0, PointerY = 0, Width = 0, Height = 0;
    bool operator==(const Seen&) const = default;
};

Seen Play(int Passes) {
    Seen s;
    for (int pass = 0; pass < Passes; ++pass) {
        s.Clock.push_back(platform::Milliseconds());
        platform::Event e;
        while (platform::PollEvent(e))
            if (e.Kind == platform::EventKind::Text) s.Characters.push_back(e.Character);
        platform::GetPointerPosition(s.PointerX, s.PointerY);
        platform::GetClientSize(s.Width, s.Height);
    }
    return s;
}

// A recording of a session at the seams: the clock, typed text (a password
// among it), the pointer and the window's size, and two packets sent. The
// replay hands every call the recorded answer, whatever the machine says
// now; a packet sent differently is reported once, with its time; a frame
// at a checkpoint is compared with the recorded one.
TEST(Recording, ReplayGivesEveryCallItsRecordedAnswer) {
    ScopedWorkDir dir;
    platform::headless::Reset();
    uint32_t Now = 1000;
    platform::SetClockOverride([&] { return Now; });
    platform::CreateWindow("t", 0, 0, 640, 480, false);
    platform::SetCheckpointInterval(20);

    Header head;
    head.Files = {{"Vorna.dat", 42}};
    head.Settings = {{"commandline", "gamemaster"}};
    ASSERT_TRUE(platform::StartRecording("game.vrec", head, nullptr));
    platform::headless::InjectEvent(Typed('h'));
    platform::headless::SetPointerPosition(10, 20);
    Seen first = Play(1);
    Now += 15;
    platform::SetSecretInput(true);
    platform::headless::InjectEvent(Typed('p'));
    platform::headless::InjectEvent(Typed('w'));
    Seen second = Play(1);
    platform::SetSecretInput(false);
    Now += 15;
    platform::headless::SetPointerPosition(30, 40);
    platform::SetClientSize(800, 600);
    platform::Milliseconds();
    const uint32_t frame[4] = {1, 2, 3, 4};
    platform::Present(frame, 2, 2, 2);
    const uint8_t login[] = {5, 0, 1, 0, 0, 0, 0}, walk[] = {1, 0, 101};
    platform::CheckSend(login, sizeof login);
    platform::CheckSend(walk, sizeof walk);
    Seen third = Play(2);
    platform::EndSession();
    EXPECT_EQ(first.Characters, std::vector<int>{'h'});
    EXPECT_EQ(second.Characters, (std::vector<int>{'p', 'w'}));  // the program itself saw the password

    Recording r = LoadRecording("game.vrec");
    ASSERT_TRUE(r.Error.empty()) << r.Error;
    EXPECT_TRUE(r.EndedInOrder);
    EXPECT_EQ(r.Head.Files[0].Name, "Vorna.dat");
    EXPECT_EQ(r.Head.Setting("commandline"), "gamemaster");
    EXPECT_EQ(r.Head.StartClock, 1000u);

    // Now the machine is another: other clock, pointer, size, no input.
    Now = 99999;
    platform::headless::SetPointerPosition(1, 1);
    platform::SetClientSize(300, 300);
    platform::headless::InjectEvent(Typed('x'));
    platform::StartReplay(std::move(r), 0);
    EXPECT_FALSE(platform::ReplayFinished());
    Seen again1 = Play(1), again2 = Play(1);
    platform::Milliseconds();
    const uint32_t other[4] = {1, 2, 3, 5};
    platform::Present(other, 2, 2, 2);  // the picture differs
    platform::CheckSend(login, sizeof login);
    const uint8_t run[] = {1, 0, 102};
    platform::CheckSend(run, sizeof run);
    platform::CheckSend(run, sizeof run);
    Seen again3 = Play(2);
    EXPECT_TRUE(platform::ReplayFinished());
    platform::EndSession();
    platform::SetClockOverride({});

    EXPECT_EQ(again1, first);
    EXPECT_EQ(again2.Clock, second.Clock);
    EXPECT_EQ(again2.Characters, (std::vector<int>{'*', '*'}));  // the password never reached the file
    EXPECT_EQ(again3, third);
    EXPECT_EQ(third.Width, 800);
    EXPECT_EQ(third.PointerX, 30);
    const platform::ReplayReport& report = platform::GetReplayReport();
    EXPECT_EQ(report.Sends, 3);
    EXPECT_EQ(report.SendsChecked, 1);
    EXPECT_EQ(report.SendDifference,
              "at 0.030 s the client sent command 102 (3 bytes) where it had sent command 101 (3 bytes) at "
              "0.030 s; first difference at byte 2");
    EXPECT_EQ(report.Checkpoints, 1);
    EXPECT_EQ(report.CheckpointsMatched, 0);
    EXPECT_EQ(report.CheckpointDifference, "frame 1 at 0.030 s differs from the recorded picture");
    EXPECT_TRUE(report.Divergence.empty()) << report.Divergence;
    platform::DestroyWindow();
    platform::headless::Reset();
}

// Blocks are checked before their records are used: a file cut anywhere or
// with any byte changed gives the records of the whole blocks before the
// damage and a message with the position; never more, never a crash.
TEST(Recording, DamagedFilesKeepTheWholeBlocksBeforeTheDamage) {
    ScopedWorkDir dir;
    Header head;
    head.StartClock = 500;
    head.Settings = {{"preferences", "WindowsMousepointer = no\n"}};
    Writer w;
    ASSERT_TRUE(w.Open("r.vrec", head, nullptr));
    const size_t headerEnd = size_t(w.BytesWritten());
    std::vector<uint8_t> event;
    platform::Event e;
    e.Kind = platform::EventKind::PointerMove;
    e.X = -3;
    e.Y = 70000;
    EncodeEvent(event, e);
    w.Add(Kind::Event, 510, 7, event.data(), event.size());
    w.Add(Kind::Clock, 400, 9, nullptr, 0);  // a clock that went back
    w.Flush();
    const size_t firstBlockEnd = size_t(w.BytesWritten());
    w.Add(Kind::Clock, 900, 300, nullptr, 0);
    w.Close();
    const std::string bytes = ReadFile("r.vrec");
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());

    Recording whole = ReadRecording(data, bytes.size());
    ASSERT_TRUE(whole.Error.empty()) << whole.Error;
    ASSERT_EQ(whole.Records.size(), 3u);
    EXPECT_EQ(whole.Records[0].Time, 510u);
    EXPECT_EQ(whole.Records[0].Call, 7u);
    EXPECT_EQ(whole.Records[1].Time, 400u);
    EXPECT_EQ(whole.Records[2].Call, 300u);
    platform::Event back;
    ASSERT_TRUE(DecodeEvent(whole.DataOf(whole.Records[0]), whole.Records[0].Length, back));
    EXPECT_EQ(back.X, -3);
    EXPECT_EQ(back.Y, 70000);
    EXPECT_EQ(whole.Head.Setting("preferences"), "WindowsMousepointer = no\n");

    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        Recording r = ReadRecording(data, cut);
        // Cut after the header or a whole block, the file is sound but was not closed.
        EXPECT_EQ(r.Error.empty(), cut == headerEnd || cut == firstBlockEnd) << cut << ": " << r.Error;
        EXPECT_FALSE(r.EndedInOrder);
        EXPECT_LE(r.ErrorPosition, cut);
        EXPECT_EQ(r.Records.size(), cut < firstBlockEnd ? 0u : 2u) << cut;
    }
    EXPECT_EQ(ReadRecording(data, firstBlockEnd + 5).Error, "truncated block header at byte " +
                                                                std::to_string(firstBlockEnd));
    EXPECT_EQ(ReadRecording(data, bytes.size() - 1).Error,
              "truncated block (" + std::to_string(bytes.size() - 1 - firstBlockEnd - 12) + " of " +
                  std::to_string(bytes.size() - firstBlockEnd - 12) + " bytes) at byte " +
                  std::to_string(firstBlockEnd));
    for (size_t at = 0; at < bytes.size(); ++at) {
        std::string bad = bytes;
        bad[at] = char(bad[at] ^ 0x20);
        Recording r = ReadRecording(reinterpret_cast<const uint8_t*>(bad.data()), bad.size());
        // A changed header text or clock is still a recording; anything else is refused.
        if (!r.Error.empty()) {
            EXPECT_EQ(r.Records.size(), at < firstBlockEnd ? 0u : 2u) << at << ": " << r.Error;
        }
        if (at >= firstBlockEnd - 1) {
            EXPECT_FALSE(r.Error.empty()) << at;
        }
    }
    std::string bad = bytes;
    bad[firstBlockEnd + 14] ^= 1;
    EXPECT_EQ(ReadRecording(reinterpret_cast<const uint8_t*>(bad.data()), bad.size()).Error,
              "corrupted block (checksum) at byte " + std::to_string(firstBlockEnd));
    bad = bytes;
    bad[8] = 9;
    EXPECT_EQ(ReadRecording(reinterpret_cast<const uint8_t*>(bad.data()), bad.size()).Error,
              "recording version 9 is not supported (this program reads 1) at byte 8");
    EXPECT_EQ(LoadRecording("missing.vrec").Error, "cannot open missing.vrec: No such file or directory");
}

}  // namespace
