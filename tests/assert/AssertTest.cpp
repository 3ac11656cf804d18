// The error.txt record and the message box of a failed assertion.
#include "core/Assert.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>

using testing_support::ReadFile;
using testing_support::ScopedWorkDir;

namespace {

const std::string RULE = "----------------------------------------";

class AssertTest : public testing::Test {
  protected:
    void SetUp() override {
        previousLog = assertion::ErrorLogPath();
        assertion::SetErrorLogPath((dir.Path() / "error.txt").string());
        platform::headless::Reset();
    }
    void TearDown() override {
        assertion::SetErrorLogPath(previousLog);
        assertion::SetPositionHook(nullptr);
        assertion::SetPacketHook(nullptr);
        assertion::SetReportHook(nullptr);
    }
    std::string Log() { return ReadFile(dir.Path() / "error.txt"); }

    // Replaces the ctime text, which changes from run to run, after checking its form.
    static std::string MaskTime(std::string record) {
        static const std::regex time(R"(time:      [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}\n)");
        return std::regex_replace(record, time, "time:      <now>\n");
    }

    ScopedWorkDir dir;
    std::string previousLog;
};

int FailPlainLine = 0;
void FailPlain() { FailPlainLine = __LINE__; ASSERT(1 == 2); }

TEST_F(AssertTest, RecordWithoutOptionalLines) {
    EXPECT_ASSERTION(FailPlain(), "1 == 2");
    int line = FailPlainLine;
    EXPECT_EQ(MaskTime(Log()), "\n" + RULE + "\nDebug Assertion\ntime:      <now>\nline:      " +
                                   std::to_string(line) + "\nmodule:    AssertTest\nassertion: 1 == 2\n" + RULE);
}

bool PlayerAt(assertion::Position& p) {
    p = {32100, 31950, 7};
    return true;
}
bool UnknownCommand(uint8_t snapshot[16]) {
    for (int i = 0; i < 16; ++i) snapshot[i] = static_cast<uint8_t>(i * 17);
    return true;
}
int FailWithParameterLine = 0;
void FailWithParameter(int CommandType) {
    FailWithParameterLine = __LINE__; ASSERT_PARAM(In(CommandType,0,255), CommandType);
}

TEST_F(AssertTest, RecordWithPositionParameterAndPacket) {
    assertion::SetPositionHook(PlayerAt);
    assertion::SetPacketHook(UnknownCommand);
    EXPECT_ASSERTION(FailWithParameter(-3), "In(CommandType,0,255)");
    int line = FailWithParameterLine;
    EXPECT_EQ(MaskTime(Log()), "\n" + RULE + "\nDebug Assertion\ntime:      <now>\nline:      " +
                                   std::to_string(line) +
                                   "\nmodule:    AssertTest\nassertion: In(CommandType,0,255)"
                                   "\nposition:  [32100,31950,7]\nParameter: -3"
                                   "\npkt:  00112233445566778899AABBCCDDEEFF\n" + RULE);
}

bool NotInGame(assertion::Position&) { return false; }
bool NoUnknownCommand(uint8_t[16]) { return false; }

TEST_F(AssertTest, HooksThatHaveNothingAddNoLinesAndRecordsAppend) {
    assertion::SetPositionHook(NotInGame);
    assertion::SetPacketHook(NoUnknownCommand);
    EXPECT_ASSERTION(FailPlain(), "1 == 2");
    EXPECT_ASSERTION(FailPlain(), "1 == 2");
    std::string log = Log();
    EXPECT_EQ(log.find("position:"), std::string::npos);
    EXPECT_EQ(log.find("pkt:"), std::string::npos);
    EXPECT_EQ(log.find("Parameter:"), std::string::npos);
    size_t first = log.find("Debug Assertion");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(log.find("Debug Assertion", first + 1), std::string::npos) << "the first record was overwritten";
}

void SecondFailureDuringReport() { ASSERT(false && "second"); }

TEST_F(AssertTest, SecondAssertionDuringReportWritesNothing) {
    assertion::SetReportHook(SecondFailureDuringReport);
    EXPECT_ASSERTION(FailPlain(), "1 == 2");
    std::string log = Log();
    EXPECT_EQ(log.find("second"), std::string::npos);
    size_t first = log.find("Debug Assertion");
    EXPECT_EQ(log.find("Debug Assertion", first + 1), std::string::npos);
    EXPECT_EQ(platform::headless::MessageBoxes().size(), 1u);
}

// The box names the log's whole path, also when it was given relative to the
// working directory (an installed program works in the player's own folder).
TEST_F(AssertTest, MessageBoxTextNamesLineModuleAndTheLogsPath) {
    assertion::SetErrorLogPath("error.txt");
    EXPECT_ASSERTION(FailPlain(), "1 == 2");
    int line = FailPlainLine;
    ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
    const auto& box = platform::headless::MessageBoxes()[0];
    EXPECT_EQ(box.Text, "Debug assertion in line " + std::to_string(line) +
                            "\nof module \"AssertTest\" failed.\nThe error has been saved in the file\n" +
                            (std::filesystem::current_path() / "error.txt").string() +
                            ".\n\nPlease submit the information\nin the file error.txt to a tutor.\n");
    EXPECT_EQ(box.Icon, platform::BoxIcon::Stop);
    EXPECT_FALSE(box.Caption.empty());
}

TEST_F(AssertTest, UnwritableLogIsNotClaimedAsSaved) {
    assertion::SetErrorLogPath((dir.Path() / "no-such-dir" / "error.txt").string());
    EXPECT_ASSERTION(FailPlain(), "1 == 2");
    ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
    const std::string& text = platform::headless::MessageBoxes()[0].Text;
    EXPECT_EQ(text.find("has been saved"), std::string::npos);
    EXPECT_NE(text.find("could not be saved"), std::string::npos);
}

TEST(AssertModuleName, PathForms) {
    EXPECT_EQ(assertion::ModuleName(".\\Network"), "Network");
    EXPECT_EQ(assertion::ModuleName("C:\\source\\include\\Container.h"), "Container");
    EXPECT_EQ(assertion::ModuleName("/home/build/src/world/Map.cpp"), "Map");
    EXPECT_EQ(assertion::ModuleName("Utils"), "Utils");
    EXPECT_EQ(assertion::ModuleName("dir.v2/Creatures.cpp"), "Creatures");
}

TEST(AssertDeathTest, FirstFailureEndsTheProcessWithStatusMinusOne) {
    GTEST_FLAG_SET(death_test_style, "fast");  // forked child keeps the temporary directory
    ScopedWorkDir dir;
    EXPECT_EXIT(
        {
            assertion::SetThrowOnFailure(false);
            assertion::SetErrorLogPath("error.txt");
            FailPlain();
        },
        testing::ExitedWithCode(255), "Debug assertion in line");
    EXPECT_NE(ReadFile(dir.Path() / "error.txt").find("assertion: 1 == 2"), std::string::npos);
}

}  // namespace
