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

}  // namespace
