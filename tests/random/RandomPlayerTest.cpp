// The random player in the test suite: a few seeds, a few seconds each, the
// whole client against the scripted server with random input (vorna-random
// plays the same for as long as it is asked). No seed may meet a failed
// assertion or a packet the reference server refuses; a seed plays the same
// every time; and the recording of a run is played back by the real program
// exactly as it was played.
#include "RandomPlayer.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

using namespace randomplayer;

namespace {

EpisodeOptions Options(uint32_t Seed, const std::filesystem::path& Dir) {
    EpisodeOptions O;
    O.Seed = Seed;
    O.MaxSteps = 500;
    O.DataDir = testing_support::BinaryDir().string();
    O.WorkDir = (Dir / ("seed-" + std::to_string(Seed))).string();
    O.Skip = KnownFaultWorkarounds();
    return O;
}

std::string Describe(const EpisodeResult& R) {
    return R.What + " at step " + std::to_string(R.Steps) + " (server: " + R.LastServer + "; player: " + R.LastInput +
           "); recording " + R.Recording;
}

TEST(RandomPlayer, SeedsPlayWithoutFindingsAndReplayAsPlayed) {
    testing_support::ScopedWorkDir Dir;
    for (uint32_t Seed : {3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(Seed));
        const EpisodeResult R = RunEpisode(Options(Seed, Dir.Path()));
        EXPECT_NE(R.How, EpisodeResult::Ending::Finding) << Describe(R);
        EXPECT_GT(R.Steps, 0);
    }

    // The same seed gives the same run, byte for byte.
    EpisodeOptions Again = Options(4, Dir.Path() / "again");
    RunEpisode(Again);
    EXPECT_EQ(testing_support::ReadFile(Dir.Path() / "seed-4" / "random.vrec"),
              testing_support::ReadFile(Dir.Path() / "again" / "seed-4" / "random.vrec"));

    // The real program plays the recording as it was played: every packet the
    // same, every checkpoint's picture the same. It runs in a folder of its
    // own, as the run did: the automap files that the run left would change
    // what the replay shows.
    const auto Replay = Dir.Path() / "replay";
    std::filesystem::create_directories(Replay);
    for (const char* Name : {"Vorna.dat", "Vorna.spr", "Vorna.pic"})
        std::filesystem::create_symlink(testing_support::BinaryDir() / Name, Replay / Name);
    const auto Program = testing_support::BinaryDir() / "vorna";
    const std::string Command = "cd " + Replay.string() + " && VORNA_PLATFORM=headless " + Program.string() +
                                " --replay " + (Dir.Path() / "again" / "seed-4" / "random.vrec").string() +
                                " --speed max --headless 2>&1";
    std::string Output;
    std::FILE* Pipe = popen(Command.c_str(), "r");
    ASSERT_NE(Pipe, nullptr);
    std::array<char, 4096> Buffer;
    size_t n;
    while ((n = std::fread(Buffer.data(), 1, Buffer.size(), Pipe)) > 0) Output.append(Buffer.data(), n);
    const int Status = pclose(Pipe);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Output;
    EXPECT_NE(Output.find("packets sent as recorded"), std::string::npos) << Output;
}

// Data no correct server sends may end the program with its report, but
// never with anything else (a crash would end this test program).
TEST(RandomPlayer, MalformedDataEndsOnlyInTheProgramsReports) {
    testing_support::ScopedWorkDir Dir;
    for (uint32_t Seed : {5u, 6u}) {
        SCOPED_TRACE("seed " + std::to_string(Seed));
        EpisodeOptions O = Options(Seed, Dir.Path());
        O.Malformed = true;
        O.MaxSteps = 1500;
        const EpisodeResult R = RunEpisode(O);
        EXPECT_NE(R.How, EpisodeResult::Ending::Finding) << Describe(R);
    }
}

}  // namespace
