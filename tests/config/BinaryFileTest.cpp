// Little-endian binary reader and writer: exact bytes and every error text.
#include "config/Script.h"
#include "support/TestSupport.h"

#include <functional>
#include <string>

using testing_support::ReadFile;
using testing_support::ScopedWorkDir;
using testing_support::WriteFile;

namespace {

std::string ErrorOf(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const ScriptError& e) {
        return e.what();
    }
    return "no error";
}

TEST(BinaryFile, WritesLowByteFirstAndReadsBack) {
    ScopedWorkDir Dir;
    WriteBinaryFile Writer;
    Writer.open("data.bin");
    Writer.writeByte(0xAB);
    Writer.writeWord(0x1234);
    Writer.writeQuad(0xDEADBEEF);
    const uint8_t Raw[3] = {1, 0, 255};
    Writer.writeBytes(Raw, 3);
    Writer.writeString("hi");
    Writer.writeString("");
    Writer.close();
    EXPECT_EQ(ReadFile("data.bin"), std::string("\xAB\x34\x12\xEF\xBE\xAD\xDE\x01\x00\xFF\x02\x00hi\x00\x00", 16));

    ReadBinaryFile Reader;
    Reader.open("data.bin");
    EXPECT_EQ(Reader.size(), 16);
    EXPECT_EQ(Reader.readByte(), 0xAB);
    EXPECT_EQ(Reader.readWord(), 0x1234);
    EXPECT_EQ(Reader.readQuad(), 0xDEADBEEFu);
    uint8_t Back[3] = {};
    Reader.readBytes(Back, 3);
    EXPECT_EQ(Back[2], 255);
    EXPECT_FALSE(Reader.eof());
    EXPECT_EQ(Reader.tell(), 10);
    EXPECT_EQ(Reader.readString(), "hi");
    EXPECT_EQ(Reader.readString(), "");
    EXPECT_TRUE(Reader.eof());
    Reader.seek(3);
    EXPECT_EQ(Reader.readQuad(), 0xDEADBEEFu);
    Reader.close();
}

TEST(BinaryFile, WordWithOneByteLeftIsOutOfData) {
    ScopedWorkDir Dir;
    WriteFile("short.bin", std::string("\x07", 1));
    ReadBinaryFile Reader;
    Reader.open("short.bin");
    EXPECT_EQ(ErrorOf([&] { Reader.readWord(); }), "error in binary-file \"short.bin\": Out of data!.");
    // The error closed the file.
    EXPECT_FALSE(Reader.isOpen());
    EXPECT_EQ(ErrorOf([&] { Reader.readByte(); }), "No file open in readByte()!");
}

TEST(BinaryFile, ShortBytesAndStringsAreOutOfData) {
    ScopedWorkDir Dir;
    WriteFile("s.bin", std::string("\x05\x00" "abc", 5));
    ReadBinaryFile Reader;
    Reader.open("s.bin");
    EXPECT_EQ(ErrorOf([&] { Reader.readString(); }), "error in binary-file \"s.bin\": Out of data!.");
    Reader.open("s.bin");
    uint8_t Buffer[8];
    EXPECT_EQ(ErrorOf([&] { Reader.readBytes(Buffer, 6); }), "error in binary-file \"s.bin\": Out of data!.");
    Reader.open("s.bin");
    Reader.readBytes(Buffer, 5);
    EXPECT_TRUE(Reader.eof());
    Reader.close();
}

TEST(BinaryFile, MisuseTexts) {
    ScopedWorkDir Dir;
    WriteFile("a.bin", "abc");
    ReadBinaryFile Reader;
    EXPECT_EQ(ErrorOf([&] { Reader.open("missing.bin"); }), "Cannot open file missing.bin");
    EXPECT_EQ(ErrorOf([&] { Reader.close(); }), "No file open in close()!");
    EXPECT_EQ(ErrorOf([&] { Reader.seek(0); }), "No file open in seek()!");
    EXPECT_EQ(ErrorOf([&] { Reader.eof(); }), "No file open in eof()!");
    EXPECT_EQ(ErrorOf([&] { Reader.readByte(); }), "No file open in readByte()!");
    EXPECT_EQ(ErrorOf([&] { Reader.readQuad(); }), "No file open in readByte()!");
    // Every error leaves the file closed, also those about misuse with a file open.
    auto ClosedAfter = [&](const std::function<void()>& Misuse) {
        Reader.open("a.bin");
        std::string Text = ErrorOf(Misuse);
        EXPECT_FALSE(Reader.isOpen()) << Text;
        return Text;
    };
    EXPECT_EQ(ClosedAfter([&] { Reader.open("a.bin"); }), "File 'a.bin' still open in open()!");
    EXPECT_EQ(ClosedAfter([&] { Reader.seek(-1); }), "Negative Offset in seek()!");
    EXPECT_EQ(ClosedAfter([&] { Reader.readBytes(nullptr, 1); }), "Buffer==NULL!");
    EXPECT_EQ(ClosedAfter([&] { Reader.readQuad(); }), "error in binary-file \"a.bin\": Out of data!.");
    // A reader left open is closed silently.
    Reader.open("a.bin");
    EXPECT_EQ(Reader.readByte(), 'a');
}

TEST(BinaryFile, WriterErrors) {
    ScopedWorkDir Dir;
    WriteBinaryFile Writer;
    EXPECT_EQ(ErrorOf([&] { Writer.open("no/dir/x.bin"); }), "Cannot create file no/dir/x.bin.");
    EXPECT_ASSERTION(Writer.writeByte(1), "File!=NULL");
    EXPECT_ASSERTION(
        {
            WriteBinaryFile Open;
            Open.open("x.bin");
        },
        "File==NULL");
    Writer.open("x.bin");
    EXPECT_ASSERTION(Writer.writeString(std::string(65536, 'x')), "Text.size()<=0xFFFF");
    Writer.writeString(std::string(65535, 'x'));
    Writer.close();
    EXPECT_EQ(ReadFile("x.bin").size(), 65537u);
#ifdef __linux__
    Writer.open("/dev/full");
    Writer.writeQuad(1);
    EXPECT_EQ(ErrorOf([&] { Writer.close(); }), "error in binary-file \"/dev/full\": Cannot write to file.");
    EXPECT_FALSE(Writer.isOpen());
    // A write too large for the buffer fails at once.
    Writer.open("/dev/full");
    std::string Large(1 << 20, 'x');
    EXPECT_EQ(ErrorOf([&] { Writer.writeBytes(reinterpret_cast<const uint8_t*>(Large.data()), Large.size()); }),
              "error in binary-file \"/dev/full\": Cannot write to file.");
    EXPECT_FALSE(Writer.isOpen());
#endif
}

}  // namespace
