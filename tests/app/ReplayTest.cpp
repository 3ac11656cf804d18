// Games recorded against the reference server (scripts/record-game) are
// replayed by the real program, headless and as fast as it goes: every
// packet it sends must be the recorded one, and the frames at the recorded
// checkpoints must have the hashes kept beside each recording (written anew
// with VORNA_UPDATE_FRAME_HASHES=1 after a deliberate change of the picture).
#include "platform/Recording.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>
#include <sys/wait.h>

using testing_support::ReadFile;
using testing_support::ScopedWorkDir;
using testing_support::WriteFile;

namespace {

std::string RunCommand(const std::string& command, int& status) {
    std::string output;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return output;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    status = pclose(pipe);
    return output;
}

TEST(Replay, RecordedGamesReplayAsTheyWerePlayed) {
    const auto recordings = testing_support::SourceDir() / "tests" / "recordings";
    const auto program = testing_support::BinaryDir() / "vorna";
    ScopedWorkDir dir;
    for (const char* name : {"Vorna.dat", "Vorna.spr", "Vorna.pic"})
        std::filesystem::copy_file(testing_support::BinaryDir() / name, dir.Path() / name);
    // Log in, walk and talk; open the post office's door and the bag inside;
    // walk to the chickens and shoot one.
    for (const char* game : {"talk", "bag", "fight"}) {
        SCOPED_TRACE(game);
        const auto file = recordings / (std::string(game) + ".vrec");
        const platform::recording::Recording recorded = platform::recording::LoadRecording(file.string());
        ASSERT_TRUE(recorded.Error.empty()) << recorded.Error;
        for (const auto& data : recorded.Head.Files)
            ASSERT_EQ(platform::recording::HashFile(data.Name), data.Hash)
                << data.Name << " has changed since " << game
                << ".vrec was recorded: record the games again with scripts/record-game";

        int status = -1;
        const std::string output = RunCommand("VORNA_PLATFORM=headless " + program.string() + " --replay " + file.string() +
                                           " --speed max --headless --frame-hashes frames.txt",
                                       status);
        // 4: played as recorded, the pictures judged below by the stored hashes.
        EXPECT_TRUE(WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 4)) << output;
        EXPECT_NE(output.find("packets sent as recorded"), std::string::npos) << output;
        EXPECT_EQ(output.find("first difference"), std::string::npos) << output;
        EXPECT_EQ(output.find("not asked for"), std::string::npos) << output;
        const std::string frames = ReadFile("frames.txt");
        EXPECT_GE(std::count(frames.begin(), frames.end(), '\n'), 3) << frames;
        const auto stored = recordings / (std::string(game) + ".frames");
        if (std::getenv("VORNA_UPDATE_FRAME_HASHES")) WriteFile(stored, frames);
        EXPECT_EQ(frames, ReadFile(stored));
    }
}

// A recording cut off inside a block (a copy broken off) and one with a
// damaged block are replayed up to where they break, but the replay must not
// pass as a full match: it ends with status 5, so a test that replays such a
// file fails. (A file that just lacks its end mark, because the program that
// recorded ended abruptly, is whole up to there: the games above are such.)
TEST(Replay, CutAndDamagedRecordingsEndWithAStatusOfTheirOwn) {
    const auto program = testing_support::BinaryDir() / "vorna";
    ScopedWorkDir dir;
    for (const char* name : {"Vorna.dat", "Vorna.spr", "Vorna.pic"})
        std::filesystem::copy_file(testing_support::BinaryDir() / name, dir.Path() / name);
    const std::string whole = ReadFile(testing_support::SourceDir() / "tests" / "recordings" / "talk.vrec");
    // Where each block begins: after the header, "BLK" 1, length, CRC, payload.
    std::vector<size_t> blocks;
    auto quad = [&](size_t at) {
        return uint32_t(uint8_t(whole[at])) | uint32_t(uint8_t(whole[at + 1])) << 8 |
               uint32_t(uint8_t(whole[at + 2])) << 16 | uint32_t(uint8_t(whole[at + 3])) << 24;
    };
    for (size_t at = 16 + quad(12); at + 12 <= whole.size(); at += 12 + quad(at + 4)) blocks.push_back(at);
    ASSERT_GE(blocks.size(), 4u);
    const size_t middle = blocks[blocks.size() / 2];
    std::string damaged = whole;
    damaged[middle + 12 + (quad(middle + 4) / 2)] ^= 0x5A;
    const std::pair<const char*, std::string> files[] = {{"cut.vrec", whole.substr(0, middle + 40)},
                                                         {"damaged.vrec", damaged}};
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        WriteFile(name, bytes);
        int status = -1;
        const std::string output = RunCommand("VORNA_PLATFORM=headless " + program.string() + " --replay " + name +
                                                  " --speed max --headless",
                                              status);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 5) << output;
        // What the file holds before the break was played as recorded.
        EXPECT_NE(output.find("packets sent as recorded"), std::string::npos) << output;
        EXPECT_EQ(output.find("first difference"), std::string::npos) << output;
        EXPECT_NE(output.find(std::string(name) == "cut.vrec" ? "truncated block" : "corrupted block"),
                  std::string::npos)
            << output;
        EXPECT_NE(output.find("only the part before it was replayed"), std::string::npos) << output;
    }
}

}  // namespace
