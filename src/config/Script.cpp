// Script and binary file readers and writers.
//
// Sections: helpers; ReadScriptFile (open/close, the tokenizer, typed access);
// WriteScriptFile; ReadBinaryFile; WriteBinaryFile; durable saves.
#include "config/Script.h"

#include "core/Assert.h"

#include <cstdarg>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

std::string Format(const char* Pattern, ...) {
    va_list Arguments;
    va_start(Arguments, Pattern);
    va_list Copy;
    va_copy(Copy, Arguments);
    int Length = std::vsnprintf(nullptr, 0, Pattern, Copy);
    va_end(Copy);
    std::string Text(Length > 0 ? static_cast<size_t>(Length) : 0, '\0');
    if (Length > 0) std::vsnprintf(Text.data(), Text.size() + 1, Pattern, Arguments);
    va_end(Arguments);
    return Text;
}

int DefaultFileSync(int Handle) {
#ifdef _WIN32
    return _commit(Handle);
#else
    return ::fsync(Handle);
#endif
}

FileSyncFunction FileSync = DefaultFileSync;

// Pushes the stdio buffer to the system and the system's cache to the disk.
bool SyncStream(std::FILE* File) {
    if (std::fflush(File) != 0) return false;
#ifdef _WIN32
    return FileSync(_fileno(File)) == 0;
#else
    return FileSync(fileno(File)) == 0;
#endif
}

bool IsLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
char LowerCase(int c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); }

}  // namespace

// ---- ReadScriptFile: open and close ---------------------------------------

ReadScriptFile::ReadScriptFile()
    : File(NULL), Line(0), Token(ENDOFFILE), Number(0), CoordX(0), CoordY(0), CoordZ(0), Special(0) {}

ReadScriptFile::~ReadScriptFile() noexcept(false) {
    // Release the handle before reporting so nothing leaks when the report returns.
    if (File != NULL) std::fclose(File);
    ASSERT(File==NULL);
}

void ReadScriptFile::open(const char* FileName) {
    ASSERT(File==NULL);
    ASSERT(FileName!=NULL);
    File = std::fopen(FileName, "rb");
    if (File == NULL) throw ScriptError(Format("Cannot open file %s.", FileName));
    Filename = FileName;
    Line = 1;
    Token = ENDOFFILE;
}

void ReadScriptFile::close() {
    ASSERT(File!=NULL);
    std::fclose(File);
    File = NULL;
}

void ReadScriptFile::error(const char* Text) {
    if (File != NULL) {
        std::fclose(File);
        File = NULL;
    }
    throw ScriptError(Format("Error in script-file \"%s\", line %d: %s.", Filename.c_str(), Line, Text));
}

// ---- ReadScriptFile: the tokenizer ----------------------------------------

// Every line feed read counts a line, also inside strings and comments; a line
// feed pushed back is uncounted again so it is counted once when re-read.
int ReadScriptFile::nextChar() {
    int c = std::fgetc(File);
    if (c == '\n') Line++;
    return c;
}

void ReadScriptFile::pushBack(int Char) {
    if (Char == EOF) return;
    if (Char == '\n') Line--;
    std::ungetc(Char, File);
}

// Decimal digits starting with First; the character after them is pushed back.
// The value wraps like a 32-bit register rather than overflowing.
int ReadScriptFile::readDigits(int First) {
    uint32_t Value = static_cast<uint32_t>(First - '0');
    for (;;) {
        int c = nextChar();
        if (!IsDigit(c)) {
            pushBack(c);
            break;
        }
        Value = Value * 10u + static_cast<uint32_t>(c - '0');
    }
    return static_cast<int>(Value);
}

void ReadScriptFile::nextToken() {
    ASSERT(File!=NULL);

    int c;
    for (;;) {
        c = nextChar();
        if (c == EOF) {
            Token = ENDOFFILE;
            return;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        if (c == '#') {
            do c = nextChar();
            while (c != EOF && c != '\n');
            continue;
        }
        break;
    }

    if (IsLetter(c)) {
        String.assign(1, LowerCase(c));
        for (;;) {
            c = nextChar();
            if (!IsLetter(c) && !IsDigit(c) && c != '_') {
                pushBack(c);
                break;
            }
            if (String.size() >= static_cast<size_t>(MAX_IDENTIFIER_LENGTH)) error("identifier too long");
            String += LowerCase(c);
        }
        Token = IDENTIFIER;
        return;
    }

    if (IsDigit(c)) {
        Number = readDigits(c);
        c = nextChar();
        if (c != '-') {
            pushBack(c);
            Token = NUMBER;
            return;
        }
        Bytes.assign(1, static_cast<uint8_t>(Number));
        while (c == '-') {
            c = nextChar();
            if (!IsDigit(c)) error("syntax error");
            Bytes.push_back(static_cast<uint8_t>(readDigits(c)));
            c = nextChar();
        }
        pushBack(c);
        Token = BYTES;
        return;
    }

    if (c == '"') {
        String.clear();
        for (;;) {
            c = nextChar();
            if (c == EOF) error("unexpected end of file");
            if (c == '"') break;
            if (c == '\\') {
                c = nextChar();
                if (c == EOF) error("unexpected end of file");
                if (c == 'n') c = '\n';
            }
            if (String.size() >= static_cast<size_t>(MAX_STRING_LENGTH)) error("string too long");
            String += static_cast<char>(c);
        }
        Token = STRING;
        return;
    }

    if (c == '[') {
        c = nextChar();
        if (!IsDigit(c)) {
            pushBack(c);
            Token = SPECIAL;
            Special = '[';
            return;
        }
        int* Coordinates[3] = {&CoordX, &CoordY, &CoordZ};
        for (int i = 0; i < 3; i++) {
            if (i > 0) {
                c = nextChar();
                if (c == EOF) error("unexpected end of file");
                if (!IsDigit(c)) error("syntax error");
            }
            *Coordinates[i] = readDigits(c);
            c = nextChar();
            if (c == EOF) error("unexpected end of file");
            if (c != (i < 2 ? ',' : ']')) error("syntax error");
        }
        Token = POSITION;
        return;
    }

    Token = SPECIAL;
    Special = static_cast<char>(c);
    int Pair = 0;
    if (c == '<' || c == '>' || c == '-') {
        int n = nextChar();
        if (c == '<' && n == '=') Pair = 'L';
        else if (c == '<' && n == '>') Pair = 'N';
        else if (c == '>' && n == '=') Pair = 'G';
        else if (c == '-' && n == '>') Pair = 'I';
        else pushBack(n);
    }
    if (Pair != 0) Special = static_cast<char>(Pair);
}

// ---- ReadScriptFile: typed access -------------------------------------------

std::string ReadScriptFile::getIdentifier() {
    if (Token != IDENTIFIER) error("identifier expected");
    return String;
}

int ReadScriptFile::getNumber() {
    if (Token != NUMBER) error("number expected");
    return Number;
}

std::string ReadScriptFile::getString() {
    if (Token != STRING) error("string expected");
    return String;
}

const std::vector<uint8_t>& ReadScriptFile::getBytesequence() {
    if (Token != BYTES) error("byte-sequence expected");
    return Bytes;
}

void ReadScriptFile::getPosition(int* X, int* Y, int* Z) {
    if (Token != POSITION) error("position expected");
    *X = CoordX;
    *Y = CoordY;
    *Z = CoordZ;
}

char ReadScriptFile::getSpecial() {
    if (Token != SPECIAL) error("special-char expected");
    return Special;
}

std::string ReadScriptFile::readIdentifier() {
    nextToken();
    return getIdentifier();
}

int ReadScriptFile::readNumber() {
    nextToken();
    if (Token == SPECIAL && Special == '-') {
        nextToken();
        // Negated in unsigned arithmetic so the most negative value cannot overflow.
        return static_cast<int>(0u - static_cast<uint32_t>(getNumber()));
    }
    return getNumber();
}

std::string ReadScriptFile::readString() {
    nextToken();
    return getString();
}

const std::vector<uint8_t>& ReadScriptFile::readBytesequence() {
    nextToken();
    return getBytesequence();
}

void ReadScriptFile::readPosition(int* X, int* Y, int* Z) {
    nextToken();
    getPosition(X, Y, Z);
}

void ReadScriptFile::readSymbol(char Symbol) {
    nextToken();
    if (Token != SPECIAL || Special != Symbol) error("special-char expected");
}

// ---- WriteScriptFile ----------------------------------------------------------

WriteScriptFile::WriteScriptFile() : File(NULL) {}

WriteScriptFile::~WriteScriptFile() noexcept(false) {
    if (File != NULL) std::fclose(File);
    ASSERT(File==NULL);
}

void WriteScriptFile::open(const char* FileName) {
    ASSERT(File==NULL);
    ASSERT(FileName!=NULL);
    File = std::fopen(FileName, "wb");
    if (File == NULL) throw ScriptError(Format("Cannot create file %s.", FileName));
    Filename = FileName;
}

// The buffered data reaches the file only here, so a full disk shows up in
// this call; the caller must learn of it rather than trust a truncated file.
void WriteScriptFile::close() {
    ASSERT(File!=NULL);
    bool Failed = std::ferror(File) != 0;
    Failed = std::fclose(File) != 0 || Failed;
    File = NULL;
    if (Failed) throw ScriptError(Format("Cannot write to file %s.", Filename.c_str()));
}

void WriteScriptFile::sync() {
    ASSERT(File!=NULL);
    if (!SyncStream(File)) writeError();
}

void WriteScriptFile::writeError() {
    std::fclose(File);
    File = NULL;
    throw ScriptError(Format("Cannot write to file %s.", Filename.c_str()));
}

void WriteScriptFile::put(const char* Data, size_t Count) {
    ASSERT(File!=NULL);
    if (Count > 0 && std::fwrite(Data, 1, Count, File) != Count) writeError();
}

void WriteScriptFile::writeLn() { put("\r\n", 2); }

void WriteScriptFile::writeText(const char* Text) {
    ASSERT(Text!=NULL);
    put(Text, std::char_traits<char>::length(Text));
}

void WriteScriptFile::writeString(const char* Text) {
    ASSERT(Text!=NULL);
    std::string Quoted = "\"";
    for (const char* p = Text; *p != '\0'; p++) {
        if (*p == '"' || *p == '\\') Quoted += '\\';
        if (*p == '\n') Quoted += "\\n";
        else Quoted += *p;
    }
    Quoted += '"';
    put(Quoted.data(), Quoted.size());
}

void WriteScriptFile::writeNumber(int Number) {
    std::string Text = Format("%d", Number);
    put(Text.data(), Text.size());
}

// ---- ReadBinaryFile -------------------------------------------------------------

ReadBinaryFile::ReadBinaryFile() : File(NULL) {}

ReadBinaryFile::~ReadBinaryFile() {
    if (File != NULL) std::fclose(File);
}

// Every error leaves the reader closed, also the ones about its misuse, so a
// caller that catches the text never has to guess whether to close.
void ReadBinaryFile::open(const char* FileName) {
    if (File != NULL) misuseError(Format("File '%s' still open in open()!", Filename.c_str()).c_str());
    if (FileName == NULL) throw ScriptError("Cannot open file (null)");
    File = std::fopen(FileName, "rb");
    if (File == NULL) throw ScriptError(Format("Cannot open file %s", FileName));
    Filename = FileName;
}

void ReadBinaryFile::close() {
    if (File == NULL) throw ScriptError("No file open in close()!");
    std::fclose(File);
    File = NULL;
}

void ReadBinaryFile::dataError(const char* Text) {
    if (File != NULL) {
        std::fclose(File);
        File = NULL;
    }
    throw ScriptError(Format("error in binary-file \"%s\": %s.", Filename.c_str(), Text));
}

void ReadBinaryFile::misuseError(const char* Text) {
    if (File != NULL) {
        std::fclose(File);
        File = NULL;
    }
    throw ScriptError(Text);
}

void ReadBinaryFile::seek(long Offset) {
    if (File == NULL) throw ScriptError("No file open in seek()!");
    if (Offset < 0) misuseError("Negative Offset in seek()!");
    if (std::fseek(File, Offset, SEEK_SET) != 0) dataError("Cannot seek");
}

long ReadBinaryFile::tell() {
    if (File == NULL) throw ScriptError("No file open in tell()!");
    return std::ftell(File);
}

long ReadBinaryFile::size() {
    if (File == NULL) throw ScriptError("No file open in size()!");
    long Here = std::ftell(File);
    std::fseek(File, 0, SEEK_END);
    long Size = std::ftell(File);
    std::fseek(File, Here, SEEK_SET);
    return Size;
}

bool ReadBinaryFile::eof() {
    if (File == NULL) throw ScriptError("No file open in eof()!");
    int c = std::fgetc(File);
    if (c == EOF) return true;
    std::ungetc(c, File);
    return false;
}

uint8_t ReadBinaryFile::readByte() {
    if (File == NULL) throw ScriptError("No file open in readByte()!");
    int c = std::fgetc(File);
    if (c == EOF) dataError("Out of data!");
    return static_cast<uint8_t>(c);
}

uint16_t ReadBinaryFile::readWord() {
    uint16_t Low = readByte();
    uint16_t High = readByte();
    return static_cast<uint16_t>(Low | (High << 8));
}

uint32_t ReadBinaryFile::readQuad() {
    uint32_t Value = 0;
    for (int i = 0; i < 4; i++) Value |= static_cast<uint32_t>(readByte()) << (8 * i);
    return Value;
}

void ReadBinaryFile::readBytes(uint8_t* Buffer, size_t Count) {
    if (File == NULL) throw ScriptError("No file open in readBytes()!");
    if (Buffer == NULL) misuseError("Buffer==NULL!");
    if (Count > 0 && std::fread(Buffer, 1, Count, File) != Count) dataError("Out of data!");
}

std::string ReadBinaryFile::readString() {
    size_t Length = readWord();
    std::string Text(Length, '\0');
    if (Length > 0) readBytes(reinterpret_cast<uint8_t*>(Text.data()), Length);
    return Text;
}

// ---- WriteBinaryFile ----------------------------------------------------------------

WriteBinaryFile::WriteBinaryFile() : File(NULL) {}

WriteBinaryFile::~WriteBinaryFile() noexcept(false) {
    if (File != NULL) std::fclose(File);
    ASSERT(File==NULL);
}

void WriteBinaryFile::open(const char* FileName) {
    ASSERT(File==NULL);
    ASSERT(FileName!=NULL);
    File = std::fopen(FileName, "wb");
    if (File == NULL) throw ScriptError(Format("Cannot create file %s.", FileName));
    Filename = FileName;
}

// As with the text writer, buffered bytes that cannot be flushed are an error.
void WriteBinaryFile::close() {
    ASSERT(File!=NULL);
    bool Failed = std::ferror(File) != 0;
    Failed = std::fclose(File) != 0 || Failed;
    File = NULL;
    if (Failed)
        throw ScriptError(Format("error in binary-file \"%s\": %s.", Filename.c_str(), "Cannot write to file"));
}

void WriteBinaryFile::sync() {
    ASSERT(File!=NULL);
    if (!SyncStream(File)) writeError();
}

void WriteBinaryFile::writeError() {
    std::fclose(File);
    File = NULL;
    throw ScriptError(Format("error in binary-file \"%s\": %s.", Filename.c_str(), "Cannot write to file"));
}

void WriteBinaryFile::put(const uint8_t* Data, size_t Count) {
    ASSERT(File!=NULL);
    if (Count > 0 && std::fwrite(Data, 1, Count, File) != Count) writeError();
}

void WriteBinaryFile::writeByte(uint8_t Value) { put(&Value, 1); }

void WriteBinaryFile::writeWord(uint16_t Value) {
    uint8_t Data[2] = {static_cast<uint8_t>(Value), static_cast<uint8_t>(Value >> 8)};
    put(Data, 2);
}

void WriteBinaryFile::writeQuad(uint32_t Value) {
    uint8_t Data[4] = {static_cast<uint8_t>(Value), static_cast<uint8_t>(Value >> 8),
                       static_cast<uint8_t>(Value >> 16), static_cast<uint8_t>(Value >> 24)};
    put(Data, 4);
}

void WriteBinaryFile::writeBytes(const uint8_t* Buffer, size_t Count) {
    ASSERT(Buffer!=NULL);
    put(Buffer, Count);
}

void WriteBinaryFile::writeString(const std::string& Text) {
    // The length travels as one word; a longer text would corrupt everything after it.
    ASSERT(Text.size()<=0xFFFF);
    writeWord(static_cast<uint16_t>(Text.size()));
    put(reinterpret_cast<const uint8_t*>(Text.data()), Text.size());
}

// ---- Durable saves ----------------------------------------------------------------------

void SetFileSyncFunction(FileSyncFunction Function) { FileSync = Function != NULL ? Function : DefaultFileSync; }

bool MoveIntoPlace(const std::string& Temporary, const std::string& Target) {
    std::error_code Error;
    std::filesystem::rename(Temporary, Target, Error);
    if (Error) {
        std::filesystem::remove(Temporary, Error);
        return false;
    }
#ifndef _WIN32
    // The rename lives in the directory; until that is on the disk a power
    // cut may still bring back the old name, or none. Not every file system
    // can sync a directory, and the file itself is safe already, so a failure
    // here changes nothing for the caller.
    std::string Directory = std::filesystem::path(Target).parent_path().string();
    int Handle = ::open(Directory.empty() ? "." : Directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (Handle >= 0) {
        FileSync(Handle);
        ::close(Handle);
    }
#endif
    return true;
}
