#include "core/Status.h"

#include "core/sysinc.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#include <string>

namespace {

int Warnings = 0;
void CountWarning() { ++Warnings; }

std::string Clipboard() {
    std::string text;
    platform::GetClipboardText(text);
    return text;
}

class Status : public testing::Test {
  protected:
    void SetUp() override {
        platform::headless::Reset();
        Warnings = 0;
        InitSysinc();
        InitStatus(1, CountWarning);
    }
    void TearDown() override {
        ExitStatus();
        ExitSysinc();
        platform::headless::Reset();
    }
};

TEST_F(Status, KeepsTheGamemasterFlagUntilExit) {
    EXPECT_EQ(GetGamemasterFlag(), 1);
    EXPECT_ASSERTION(InitStatus(0, CountWarning), "!StatusInitialized");
    ExitStatus();
    EXPECT_EQ(GetGamemasterFlag(), 0);
    InitStatus(0, CountWarning);
    EXPECT_EQ(GetGamemasterFlag(), 0);
}

TEST_F(Status, LinkWarningHandlerIsRequired) {
    ExitStatus();
    EXPECT_ASSERTION(InitStatus(0, nullptr), "linkwarningeventhandler!=NULL");
    // Had the reporter returned, a link is still held back, just without a question.
    CopyChecked("see www.example.com", -1);
    EXPECT_EQ(GetPendingCopy(), "see www.example.com");
    EXPECT_FALSE(platform::ClipboardHasText());
}

TEST_F(Status, PlainTextIsCopiedAtOnce) {
    CopyChecked("Hello there. How are you?", -1);
    EXPECT_EQ(Warnings, 0);
    EXPECT_EQ(Clipboard(), "Hello there. How are you?");
    EXPECT_EQ(GetPendingCopy(), "Hello there. How are you?");
}

TEST_F(Status, LengthLimitsTheCopy) {
    CopyChecked("Hello world", 5);
    EXPECT_EQ(Clipboard(), "Hello");
    CopyChecked("Hi", 50);
    EXPECT_EQ(Clipboard(), "Hi");
    // The part after the length is not looked at either.
    CopyChecked("Visit www.example.com", 6);
    EXPECT_EQ(Warnings, 0);
    EXPECT_EQ(Clipboard(), "Visit ");
}

TEST_F(Status, LinkWaitsForTheAnswer) {
    ASSERT_TRUE(platform::SetClipboardText("old"));
    CopyChecked("Player says: visit WWW.Example.COM now", -1);
    EXPECT_EQ(Warnings, 1);
    EXPECT_EQ(Clipboard(), "old");
    // The pending copy keeps the original letter case.
    EXPECT_EQ(GetPendingCopy(), "Player says: visit WWW.Example.COM now");
    EXPECT_TRUE(CopyPending());
    EXPECT_EQ(Clipboard(), "Player says: visit WWW.Example.COM now");
    // The next copy replaces the pending one.
    CopyChecked("nothing here", -1);
    EXPECT_EQ(GetPendingCopy(), "nothing here");
    EXPECT_EQ(Warnings, 1);
}

TEST_F(Status, CopyPendingReportsFailures) {
    EXPECT_FALSE(CopyPending());  // nothing copied yet
    CopyChecked("10.0.0.1", -1);
    EXPECT_EQ(Warnings, 1);
    platform::headless::SetClipboardAvailable(false);
    EXPECT_FALSE(CopyPending());
    platform::headless::SetClipboardAvailable(true);
    EXPECT_TRUE(CopyPending());
    EXPECT_EQ(Clipboard(), "10.0.0.1");
    ExitStatus();
    InitStatus(0, CountWarning);
    EXPECT_FALSE(CopyPending());  // the pending copy went with ExitStatus
    EXPECT_EQ(GetPendingCopy(), "");
}

TEST_F(Status, RecognisesHostNamesAndAddresses) {
    const char* links[] = {
        "example.com",
        "www.example.com",
        "http://www.example.com/index.html",
        "go to shop.example.co.uk, quickly",
        "my-site.de.",
        "mail me at someone@mail.example.org",
        "(see vorna.net)",
        "\"foo.info\"",
        "line\nsite.travel\nline",
        "192.168.0.1",
        "connect to 1.2.3.4:7171",
        "1%2e2%2e3%2e4",
        "www%2eexample%2ecom",
        "WWW%2EEXAMPLE%2ECOM",
        "example.com?id=1",
        "example.com#top",
        "example.com&x",
        "%20example.com",
        "a.b.museum|x",
        "x;example.it;y",
        "1.2.3.4.5",  // the last four parts, after a full stop
    };
    for (const char* text : links) EXPECT_TRUE(ContainsLink(text)) << text;
}

TEST_F(Status, LeavesOrdinaryTextAlone) {
    const char* texts[] = {
        "Hello.",
        "Hello. How are you?",
        "I am fine.thanks",            // "thanks" is no top-level domain
        "example.xyz",                 // unknown top-level domain
        "example.comx",                // a domain must end at a separator
        "example.com-x",
        "notalink.c",
        "1.2.3",                       // three parts only
        "1234.2.3.4",                  // four digits in a part
        "v1.2.3.4",                    // not after a separator
        "1.2.3.4x",
        "example_.com",
        "price: 1,000.50 gold",
        "",
    };
    for (const char* text : texts) EXPECT_FALSE(ContainsLink(text)) << text;
}

TEST_F(Status, LetterCaseAndQueryCharactersBeforeTheHost) {
    EXPECT_TRUE(ContainsLink("EXAMPLE.DE"));
    // "?", "#" and "&" may follow a link but do not start one.
    EXPECT_FALSE(ContainsLink("what?example.com"));
    EXPECT_FALSE(ContainsLink("a#1.2.3.4"));
    EXPECT_TRUE(ContainsLink("what? example.com"));
}

TEST_F(Status, LongTextsAreSearchedToTheEnd) {
    // A run of letters far longer than any window, then a link at the very end.
    std::string text(100000, 'a');
    EXPECT_FALSE(ContainsLink(text.c_str()));
    text += " www.example.com";
    EXPECT_TRUE(ContainsLink(text.c_str()));

    // A link is found wherever it lies relative to the pieces a long text is
    // searched in, and a cut through a word never makes one: "_" is neither a
    // separator nor part of a host name, so "_example.com" and "example.com_"
    // are no links, but would be if a piece began or ended at the "_".
    const size_t step = LINK_SEARCH_WINDOW - LINK_SEARCH_OVERLAP;
    for (size_t edge : {step, LINK_SEARCH_WINDOW, 2 * step, step + LINK_SEARCH_WINDOW}) {
        for (size_t offset = edge - 16; offset < edge + 4; ++offset) {
            std::string before(offset, 'a');
            std::string after(LINK_SEARCH_WINDOW, 'b');
            EXPECT_TRUE(ContainsLink((before + " example.com " + after).c_str())) << offset;
            EXPECT_FALSE(ContainsLink((before + "_example.com " + after).c_str())) << offset;
            EXPECT_FALSE(ContainsLink((before + " example.com_" + after).c_str())) << offset;
        }
    }

    // Dotted runs give the matcher many ways to split them; it must stay fast.
    for (const char* unit : {"a.", "a%2e", "ab-", "%", "%2e", ". ", "1.2.3..", "1%2e2%2e3.."}) {
        std::string run;
        while (run.size() < 6000) run += unit;
        EXPECT_FALSE(ContainsLink(run.c_str())) << unit;
        EXPECT_TRUE(ContainsLink((run + " a.de").c_str())) << unit;
    }
    // Runs of numbers are addresses wherever four of them stand together.
    EXPECT_TRUE(ContainsLink((std::string(5000, '-') + "9.9.9.9.9.9").c_str()));

    // Long texts with many separators and dotted words, still no link.
    std::string dots;
    while (dots.size() < 20000) dots += "word.word.word. ";
    EXPECT_FALSE(ContainsLink(dots.c_str()));
    dots += "x.de";
    EXPECT_TRUE(ContainsLink(dots.c_str()));
}

TEST_F(Status, LongCopyIsHeldBackForALinkAtTheEnd) {
    std::string text(8000, ' ');
    text += "www.example.com";
    CopyChecked(text.c_str(), -1);
    EXPECT_EQ(Warnings, 1);
    EXPECT_FALSE(platform::ClipboardHasText());
}

}  // namespace
