// The text reader's tokens and errors, and the text writer's output.
#include "config/Script.h"
#include "support/TestSupport.h"

#include <memory>
#include <string>

using testing_support::ReadFile;
using testing_support::ScopedWorkDir;
using testing_support::WriteFile;

namespace {

// Opens a script holding Text; the test closes it or lets an error close it.
class ScriptReader : public ::testing::Test {
  protected:
    void Open(const std::string& Text) {
        WriteFile("t.txt", Text);
        Script.open("t.txt");
    }
    void TearDown() override {
        if (Script.isOpen()) Script.close();
    }
    // The message of the error the next token raises; the file must be closed by it.
    std::string ErrorOfNextToken() {
        try {
            Script.nextToken();
        } catch (const ScriptError& e) {
            EXPECT_FALSE(Script.isOpen());
            return e.what();
        }
        return "no error";
    }

    ScopedWorkDir Dir;
    // Held by pointer: its destructor may report an assertion, which a
    // fixture's own (non-throwing) destructor could not pass on.
    std::unique_ptr<ReadScriptFile> Holder = std::make_unique<ReadScriptFile>();
    ReadScriptFile& Script = *Holder;
};

TEST_F(ScriptReader, KeyEqualsNegativeNumberAndComment) {
    Open("Key = -5 # the rest is a comment = 7\nNext");
    EXPECT_EQ(Script.readIdentifier(), "key");
    Script.readSymbol('=');
    EXPECT_EQ(Script.readNumber(), -5);
    EXPECT_EQ(Script.readIdentifier(), "next");
    EXPECT_EQ(Script.getLine(), 2);
    Script.nextToken();
    EXPECT_EQ(Script.getToken(), ENDOFFILE);
}

TEST_F(ScriptReader, IdentifiersAreLowerCasedWithDigitsAndUnderscores) {
    Open("AbC_9z x1");
    EXPECT_EQ(Script.readIdentifier(), "abc_9z");
    EXPECT_EQ(Script.readIdentifier(), "x1");
}

TEST_F(ScriptReader, BytesNeedMinusSignsWithoutBlanks) {
    Open("7-0-255 7 - 0 300-1");
    Script.nextToken();
    ASSERT_EQ(Script.getToken(), BYTES);
    EXPECT_EQ(Script.getBytesequence(), (std::vector<uint8_t>{7, 0, 255}));
    Script.nextToken();
    EXPECT_EQ(Script.getNumber(), 7);
    Script.nextToken();
    EXPECT_EQ(Script.getSpecial(), '-');
    Script.nextToken();
    EXPECT_EQ(Script.getNumber(), 0);
    // Each number is stored as one byte.
    Script.nextToken();
    EXPECT_EQ(Script.getBytesequence(), (std::vector<uint8_t>{44, 1}));
}

TEST_F(ScriptReader, PositionAndBracketFollowedByOtherText) {
    Open("[100,200,7] [a");
    int x = 0, y = 0, z = 0;
    Script.readPosition(&x, &y, &z);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 200);
    EXPECT_EQ(z, 7);
    Script.nextToken();
    EXPECT_EQ(Script.getToken(), SPECIAL);
    EXPECT_EQ(Script.getSpecial(), '[');
    EXPECT_EQ(Script.readIdentifier(), "a");
}

TEST_F(ScriptReader, PairsAndTheirSingleCharacters) {
    Open("<= <> >= -> < > - = <a");
    std::string Seen;
    for (;;) {
        Script.nextToken();
        if (Script.getToken() == ENDOFFILE) break;
        Seen += Script.getToken() == SPECIAL ? Script.getSpecial() : '?';
    }
    EXPECT_EQ(Seen, "LNGI<>-=<?");
}

TEST_F(ScriptReader, IdentifierOfNineteenLettersIsTheLongest) {
    Open("abcdefghijklmnopqrs\n\nabcdefghijklmnopqrst");
    EXPECT_EQ(Script.readIdentifier(), "abcdefghijklmnopqrs");
    EXPECT_EQ(ErrorOfNextToken(), "Error in script-file \"t.txt\", line 3: identifier too long.");
}

TEST_F(ScriptReader, StringOf998CharactersIsTheLongest) {
    Open("\"" + std::string(998, 'x') + "\" \"" + std::string(999, 'y') + "\"");
    EXPECT_EQ(Script.readString(), std::string(998, 'x'));
    EXPECT_EQ(ErrorOfNextToken(), "Error in script-file \"t.txt\", line 1: string too long.");
}

TEST_F(ScriptReader, EscapesAndLineFeedsInsideStringsAndComments) {
    // The string spans a line, holds an escaped line feed, quote and backslash,
    // and the comment ends on its own line feed: the bad bytes stand in line 4.
    Open("\"a\nb\\n\\\"\\\\\\q\" # note\n\n5-x");
    EXPECT_EQ(Script.readString(), "a\nb\n\"\\q");
    EXPECT_EQ(ErrorOfNextToken(), "Error in script-file \"t.txt\", line 4: syntax error.");
}

TEST_F(ScriptReader, UnexpectedEndInsideStringAndPosition) {
    Open("\"open");
    EXPECT_EQ(ErrorOfNextToken(), "Error in script-file \"t.txt\", line 1: unexpected end of file.");
    Open("x\n[1,2");
    Script.nextToken();
    EXPECT_EQ(ErrorOfNextToken(), "Error in script-file \"t.txt\", line 2: unexpected end of file.");
    Open("\"ends in a backslash\\");
    EXPECT_EQ(ErrorOfNextToken(), "Error in script-file \"t.txt\", line 1: unexpected end of file.");
}

TEST_F(ScriptReader, MalformedPositionsAndBytesAreSyntaxErrors) {
    for (const char* Text : {"[1;2,3]", "[1,2,3)", "[1,,3]", "[1, 2,3]", "5-", "5- 3", "5->"}) {
        Open(Text);
        EXPECT_EQ(ErrorOfNextToken(), "Error in script-file \"t.txt\", line 1: syntax error.") << Text;
    }
}

TEST_F(ScriptReader, WrongKindsNameWhatWasExpected) {
    struct Case {
        const char* Text;
        std::string (*Read)(ReadScriptFile&);
        const char* Message;
    } Cases[] = {
        {"5", [](ReadScriptFile& s) { return s.readIdentifier(); }, "identifier expected"},
        {"x", [](ReadScriptFile& s) { return std::to_string(s.readNumber()); }, "number expected"},
        {"- x", [](ReadScriptFile& s) { return std::to_string(s.readNumber()); }, "number expected"},
        {"x", [](ReadScriptFile& s) { return s.readString(); }, "string expected"},
        {"x", [](ReadScriptFile& s) { s.nextToken(); return std::string(1, s.getSpecial()); }, "special-char expected"},
        {"(", [](ReadScriptFile& s) { s.readSymbol(')'); return std::string(); }, "special-char expected"},
        {"\"(\"", [](ReadScriptFile& s) { s.readSymbol('('); return std::string(); }, "special-char expected"},
    };
    for (const Case& c : Cases) {
        Open(c.Text);
        try {
            c.Read(Script);
            ADD_FAILURE() << c.Text << " gave no error";
        } catch (const ScriptError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Error in script-file \"t.txt\", line 1: ") + c.Message + ".");
            EXPECT_FALSE(Script.isOpen());
        }
    }
}

TEST_F(ScriptReader, ErrorCarriesTextAndClosesFile) {
    Open("a\nb");
    Script.nextToken();
    Script.nextToken();
    try {
        Script.error("Illegal number");
        ADD_FAILURE();
    } catch (const ScriptError& e) {
        EXPECT_STREQ(e.what(), "Error in script-file \"t.txt\", line 2: Illegal number.");
    }
    EXPECT_FALSE(Script.isOpen());
}

TEST_F(ScriptReader, OtherCharactersAreSpecialTokens) {
    Open("\xE4{}");
    Script.nextToken();
    EXPECT_EQ(Script.getSpecial(), '\xE4');
    Script.readSymbol('{');
    Script.readSymbol('}');
}

TEST(ScriptFile, MissingFileCannotBeOpened) {
    ScopedWorkDir Dir;
    ReadScriptFile Script;
    try {
        Script.open("missing.cfg");
        ADD_FAILURE();
    } catch (const ScriptError& e) {
        EXPECT_STREQ(e.what(), "Cannot open file missing.cfg.");
    }
    EXPECT_FALSE(Script.isOpen());
}

TEST(ScriptFile, WriterFormatsAndEscapes) {
    ScopedWorkDir Dir;
    WriteScriptFile Writer;
    Writer.open("w.txt");
    Writer.writeText("Key = ");
    Writer.writeNumber(-12);
    Writer.writeLn();
    Writer.writeString("say \"hi\"\\now\nend");
    Writer.close();
    EXPECT_EQ(ReadFile("w.txt"), "Key = -12\r\n\"say \\\"hi\\\"\\\\now\\nend\"");

    ReadScriptFile Reader;
    Reader.open("w.txt");
    EXPECT_EQ(Reader.readIdentifier(), "key");
    Reader.readSymbol('=');
    EXPECT_EQ(Reader.readNumber(), -12);
    EXPECT_EQ(Reader.readString(), "say \"hi\"\\now\nend");
    Reader.close();
}

TEST(ScriptFile, WriterErrors) {
    ScopedWorkDir Dir;
    WriteScriptFile Writer;
    try {
        Writer.open("no/such/dir/w.txt");
        ADD_FAILURE();
    } catch (const ScriptError& e) {
        EXPECT_STREQ(e.what(), "Cannot create file no/such/dir/w.txt.");
    }
    EXPECT_ASSERTION(Writer.writeText("x"), "File!=NULL");
    EXPECT_ASSERTION(Writer.writeLn(), "File!=NULL");
    Writer.open("w.txt");
    EXPECT_ASSERTION(Writer.writeText(NULL), "Text!=NULL");
    EXPECT_ASSERTION(Writer.writeString(NULL), "Text!=NULL");
    Writer.close();
#ifdef __linux__
    // Buffered text that cannot reach the disk must not pass for a good file.
    Writer.open("/dev/full");
    Writer.writeText("x");
    try {
        Writer.close();
        ADD_FAILURE();
    } catch (const ScriptError& e) {
        EXPECT_STREQ(e.what(), "Cannot write to file /dev/full.");
    }
    EXPECT_FALSE(Writer.isOpen());
#endif
}

TEST(ScriptFile, DestroyingAnOpenTextFileIsAnAssertion) {
    ScopedWorkDir Dir;
    WriteFile("t.txt", "x");
    EXPECT_ASSERTION(
        {
            ReadScriptFile Reader;
            Reader.open("t.txt");
        },
        "File==NULL");
    EXPECT_ASSERTION(
        {
            WriteScriptFile Writer;
            Writer.open("w.txt");
        },
        "File==NULL");
    ReadScriptFile Reader;
    Reader.open("t.txt");
    EXPECT_ASSERTION(Reader.open("t.txt"), "File==NULL");
    Reader.close();
    EXPECT_ASSERTION(Reader.close(), "File!=NULL");
}

}  // namespace
