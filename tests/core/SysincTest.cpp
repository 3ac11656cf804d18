#include "core/sysinc.h"

#include "platform/Platform.h"
#include "support/TestSupport.h"

#include <string>

namespace {

class Sysinc : public testing::Test {
  protected:
    void SetUp() override {
        platform::headless::SetClipboardAvailable(true);
        InitSysinc();
    }
    void TearDown() override {
        ExitSysinc();
        platform::headless::SetClipboardAvailable(true);
    }
};

TEST_F(Sysinc, StartsWithABufferOf1024Bytes) {
    EXPECT_EQ(GetClipboardBufferSize(), 1024);
    EXPECT_ASSERTION(InitSysinc(), "ClipboardBuffer==NULL");
    ExitSysinc();
    EXPECT_EQ(GetClipboardBufferSize(), 0);
    InitSysinc();
}

TEST_F(Sysinc, TextRoundTripsAndLosesItsCarriageReturns) {
    ASSERT_TRUE(SetClipboardText("line one\r\nline two\r\n\rend\r"));
    EXPECT_TRUE(ClipboardHasText());
    const char* text = GetClipboardText();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "line one\nline two\nend");
    // Only the reading side drops them: the clipboard keeps what was set.
    std::string raw;
    ASSERT_TRUE(platform::GetClipboardText(raw));
    EXPECT_EQ(raw, "line one\r\nline two\r\n\rend\r");
}

TEST_F(Sysinc, GrowsForALongTextAndStaysGrown) {
    std::string longText(5000, 'a');
    longText[4998] = '\r';
    ASSERT_TRUE(SetClipboardText(longText.c_str()));
    const char* text = GetClipboardText();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), std::string(4998, 'a') + "a");
    EXPECT_GE(GetClipboardBufferSize(), 5001);
    int grown = GetClipboardBufferSize();
    ASSERT_TRUE(SetClipboardText("short"));
    EXPECT_STREQ(GetClipboardText(), "short");
    EXPECT_EQ(GetClipboardBufferSize(), grown);
}

TEST_F(Sysinc, TextOfExactlyTheBufferSizeFits) {
    std::string text(1023, 'b');
    ASSERT_TRUE(SetClipboardText(text.c_str()));
    EXPECT_EQ(std::string(GetClipboardText()), text);
    EXPECT_EQ(GetClipboardBufferSize(), 1024);
    text += 'c';
    ASSERT_TRUE(SetClipboardText(text.c_str()));
    EXPECT_EQ(std::string(GetClipboardText()), text);
    EXPECT_EQ(GetClipboardBufferSize(), 1025);
}

TEST_F(Sysinc, ClipboardThatCannotBeOpenedChangesNothing) {
    ASSERT_TRUE(SetClipboardText("before"));
    platform::headless::SetClipboardAvailable(false);
    EXPECT_EQ(GetClipboardText(), nullptr);
    EXPECT_FALSE(SetClipboardText("after"));
    EXPECT_FALSE(ClipboardHasText());
    platform::headless::SetClipboardAvailable(true);
    EXPECT_STREQ(GetClipboardText(), "before");
}

TEST_F(Sysinc, EmptyClipboardGivesAnEmptyText) {
    platform::headless::Reset();
    EXPECT_FALSE(ClipboardHasText());
    const char* text = GetClipboardText();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    EXPECT_ASSERTION(SetClipboardText(nullptr), "Text!=NULL");
}

}  // namespace
