// The four small file classes every file-handling module builds on: a reader
// and a writer for the program's text format (the "script" format of
// Vorna.cfg), and a reader and a writer for little-endian binary files.
//
// Their errors are not assertions but ScriptError exceptions carrying the
// finished message text; the caller decides what the error means (a fatal
// start-up error, or a preferences file silently replaced by the defaults).
// Every error leaves the object with its file closed.
//
// Destroying a text reader, a text writer or a binary writer whose file is
// still open is an assertion, so their destructors are declared able to throw
// (the test handler turns assertions into exceptions); keep them as locals or
// behind a pointer rather than as members of classes with virtual destructors.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Kinds of the tokens of a script file.
enum TOKEN : int {
    ENDOFFILE = 0,
    IDENTIFIER = 1,  // letter, then letters, digits, underscores; at most 19; lower case
    NUMBER = 2,      // decimal digits; a minus sign is a special token of its own
    STRING = 3,      // "..." with backslash escapes, at most 998 characters
    BYTES = 4,       // numbers joined by minus signs without blanks: 1-2-3
    POSITION = 5,    // [x,y,z]
    SPECIAL = 6,     // any other character; "<=" "<>" ">=" "->" come as 'L' 'N' 'G' 'I'
};

// Longest identifier a script may hold.
constexpr int MAX_IDENTIFIER_LENGTH = 19;
// Longest string a script may hold (the text buffer holds 1000 bytes).
constexpr int MAX_STRING_LENGTH = 998;

class ReadScriptFile {
  public:
    ReadScriptFile();
    // A file still open here is an assertion: callers close on every path.
    ~ReadScriptFile() noexcept(false);
    ReadScriptFile(const ReadScriptFile&) = delete;
    ReadScriptFile& operator=(const ReadScriptFile&) = delete;

    void open(const char* FileName);
    void close();
    bool isOpen() const { return File != NULL; }

    // Reads the next token; its kind is then getToken().
    void nextToken();
    TOKEN getToken() const { return Token; }
    int getLine() const { return Line; }

    std::string getIdentifier();
    int getNumber();
    std::string getString();
    const std::vector<uint8_t>& getBytesequence();
    void getPosition(int* X, int* Y, int* Z);
    char getSpecial();

    std::string readIdentifier();
    // A special "-" directly before a number gives the negative number.
    int readNumber();
    std::string readString();
    const std::vector<uint8_t>& readBytesequence();
    void readPosition(int* X, int* Y, int* Z);
    // The next token must be the special character Symbol.
    void readSymbol(char Symbol);

    // Closes the file and throws the message with the file name and line.
    [[noreturn]] void error(const char* Text);

  private:
    int nextChar();
    void pushBack(int Char);
    int readDigits(int First);

    std::FILE* File;
    std::string Filename;
    int Line;
    TOKEN Token;
    std::string String;  // identifier or string text
    int Number;
    std::vector<uint8_t> Bytes;
    int CoordX, CoordY, CoordZ;
    char Special;
};

class WriteScriptFile {
  public:
    WriteScriptFile();
    ~WriteScriptFile() noexcept(false);
    WriteScriptFile(const WriteScriptFile&) = delete;
    WriteScriptFile& operator=(const WriteScriptFile&) = delete;

    void open(const char* FileName);
    // Forces everything written so far onto the disk; a save that is renamed
    // into place calls it first (see MoveIntoPlace). A failure closes the file
    // and throws like a failed write.
    void sync();
    // A write that did not reach the disk is reported here at the latest.
    void close();
    bool isOpen() const { return File != NULL; }

    void writeLn();
    void writeText(const char* Text);
    // Quoted, with backslash before quote and backslash, line feed as \n.
    void writeString(const char* Text);
    void writeNumber(int Number);

  private:
    void put(const char* Data, size_t Count);
    [[noreturn]] void writeError();

    std::FILE* File;
    std::string Filename;
};

class ReadBinaryFile {
  public:
    ReadBinaryFile();
    // Closes a file still open silently: readers are often left by an error.
    ~ReadBinaryFile();
    ReadBinaryFile(const ReadBinaryFile&) = delete;
    ReadBinaryFile& operator=(const ReadBinaryFile&) = delete;

    void open(const char* FileName);
    void close();
    bool isOpen() const { return File != NULL; }

    void seek(long Offset);
    long tell();
    long size();
    bool eof();

    uint8_t readByte();
    uint16_t readWord();
    uint32_t readQuad();
    void readBytes(uint8_t* Buffer, size_t Count);
    // A word length, then that many bytes.
    std::string readString();
    // Refuses the file's content: closes it and throws the error naming the
    // file, for the reader's own checks and for its callers' checks of what
    // they read.
    [[noreturn]] void dataError(const char* Text);

  private:
    [[noreturn]] void misuseError(const char* Text);

    std::FILE* File;
    std::string Filename;
};

class WriteBinaryFile {
  public:
    WriteBinaryFile();
    ~WriteBinaryFile() noexcept(false);
    WriteBinaryFile(const WriteBinaryFile&) = delete;
    WriteBinaryFile& operator=(const WriteBinaryFile&) = delete;

    void open(const char* FileName);
    // As WriteScriptFile::sync.
    void sync();
    void close();
    bool isOpen() const { return File != NULL; }

    void writeByte(uint8_t Value);
    void writeWord(uint16_t Value);
    void writeQuad(uint32_t Value);
    void writeBytes(const uint8_t* Buffer, size_t Count);
    // A word length, then the bytes; an empty text is the length alone.
    void writeString(const std::string& Text);

  private:
    void put(const uint8_t* Data, size_t Count);
    [[noreturn]] void writeError();

    std::FILE* File;
    std::string Filename;
};

// ---- Saving without losing the old file --------------------------------------
//
// A save writes a temporary file beside the target, calls sync() on it, closes
// it and then MoveIntoPlace: the rename either happened or did not, and once the
// directory is synced too, a power cut cannot leave an empty or half-written
// file where a good one was.

// Renames Temporary over Target and syncs the directory that holds Target.
// False when the rename fails; Temporary is then removed.
bool MoveIntoPlace(const std::string& Temporary, const std::string& Target);

// The call that forces a file or a directory onto the disk (fsync). Tests
// install their own to see that every save makes it, and when; NULL puts the
// real one back. The function returns 0 on success, as fsync does.
using FileSyncFunction = int (*)(int Handle);
void SetFileSyncFunction(FileSyncFunction Function);
