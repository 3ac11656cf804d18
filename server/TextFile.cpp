#include "server/TextFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace server {

namespace {
int (*FileSync)(int Handle) = ::fsync;

// The directory entry made by a rename reaches the disk only with its
// directory; some file systems cannot sync one, which changes nothing here.
void SyncDirectoryOf(const std::string& FileName) {
    size_t Slash = FileName.find_last_of('/');
    std::string Directory = Slash == std::string::npos ? "." : Slash == 0 ? "/" : FileName.substr(0, Slash);
    int Handle = ::open(Directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (Handle < 0) return;
    FileSync(Handle);
    ::close(Handle);
}
}  // namespace

void SetFileSyncFunction(int (*Function)(int Handle)) { FileSync = Function != nullptr ? Function : ::fsync; }

std::string ReadWholeFile(const std::string& FileName) {
    FILE* File = std::fopen(FileName.c_str(), "rb");
    if (File == nullptr) throw FileError("Cannot open file " + FileName + ": " + std::strerror(errno));
    std::string Bytes;
    char Block[65536];
    size_t Count;
    while ((Count = std::fread(Block, 1, sizeof(Block), File)) > 0) Bytes.append(Block, Count);
    bool Failed = std::ferror(File) != 0;
    std::fclose(File);
    if (Failed) throw FileError("Cannot read file " + FileName);
    return Bytes;
}

void WriteFileAtomically(const std::string& FileName, const std::string& Bytes) {
    std::string Temporary = FileName + ".tmp";
    int Handle = ::open(Temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (Handle < 0) throw FileError("Cannot create file " + Temporary + ": " + std::strerror(errno));
    size_t Done = 0;
    while (Done < Bytes.size()) {
        ssize_t Written = ::write(Handle, Bytes.data() + Done, Bytes.size() - Done);
        if (Written < 0 && errno == EINTR) continue;
        if (Written <= 0) {
            int Code = errno;
            ::close(Handle);
            ::unlink(Temporary.c_str());
            throw FileError("Cannot write file " + Temporary + ": " + std::strerror(Code));
        }
        Done += size_t(Written);
    }
    bool Synced = FileSync(Handle) == 0;
    if (::close(Handle) != 0 || !Synced) {
        ::unlink(Temporary.c_str());
        throw FileError("Cannot write file " + Temporary);
    }
    if (std::rename(Temporary.c_str(), FileName.c_str()) != 0) {
        int Code = errno;
        ::unlink(Temporary.c_str());
        throw FileError("Cannot replace file " + FileName + ": " + std::strerror(Code));
    }
    SyncDirectoryOf(FileName);
}

static std::string Trim(const std::string& Text) {
    size_t Start = Text.find_first_not_of(" \t\r");
    if (Start == std::string::npos) return "";
    size_t End = Text.find_last_not_of(" \t\r");
    return Text.substr(Start, End - Start + 1);
}

std::vector<TextEntry> ParseTextFile(const std::string& Text, const std::string& FileName) {
    std::vector<TextEntry> Entries;
    size_t Start = 0;
    int LineNumber = 0;
    while (Start <= Text.size()) {
        size_t End = Text.find('\n', Start);
        if (End == std::string::npos) End = Text.size();
        std::string Line = Trim(Text.substr(Start, End - Start));
        LineNumber++;
        Start = End + 1;
        if (Line.empty() || Line[0] == '#') continue;
        auto Fail = [&](const char* What) {
            throw FileError(FileName + ", line " + std::to_string(LineNumber) + ": " + What);
        };
        size_t Equals = Line.find('=');
        if (Equals == std::string::npos) Fail("'=' expected");
        TextEntry Entry;
        Entry.Key = Trim(Line.substr(0, Equals));
        Entry.Line = LineNumber;
        if (Entry.Key.empty()) Fail("key expected");
        std::string Value = Trim(Line.substr(Equals + 1));
        if (!Value.empty() && Value[0] == '"') {
            Entry.Quoted = true;
            size_t i = 1;
            bool Closed = false;
            for (; i < Value.size(); i++) {
                char c = Value[i];
                if (c == '"') {
                    Closed = true;
                    break;
                }
                if (c == '\\') {
                    if (++i >= Value.size()) Fail("unfinished escape");
                    char e = Value[i];
                    if (e == 'n') Entry.Value += '\n';
                    else if (e == '"' || e == '\\') Entry.Value += e;
                    else Fail("unknown escape");
                } else {
                    Entry.Value += c;
                }
            }
            if (!Closed) Fail("closing '\"' expected");
            if (!Trim(Value.substr(i + 1)).empty()) Fail("text after the closing '\"'");
        } else {
            Entry.Value = Value;
        }
        Entries.push_back(std::move(Entry));
    }
    return Entries;
}

std::string QuoteText(const std::string& Text) {
    std::string Quoted = "\"";
    for (char c : Text) {
        if (c == '"' || c == '\\') {
            Quoted += '\\';
            Quoted += c;
        } else if (c == '\n') {
            Quoted += "\\n";
        } else {
            Quoted += c;
        }
    }
    return Quoted + "\"";
}

long long EntryNumber(const TextEntry& Entry, const std::string& FileName, long long Min, long long Max) {
    const std::string& V = Entry.Value;
    bool Valid = !Entry.Quoted && !V.empty();
    size_t i = (V.size() > 1 && V[0] == '-') ? 1 : 0;
    for (size_t k = i; k < V.size() && Valid; k++) Valid = V[k] >= '0' && V[k] <= '9';
    long long Number = 0;
    if (Valid && V.size() - i <= 18) Number = std::stoll(V);
    else Valid = false;
    if (!Valid || Number < Min || Number > Max)
        throw FileError(FileName + ", line " + std::to_string(Entry.Line) + ": " + Entry.Key + " must be a number from " +
                        std::to_string(Min) + " to " + std::to_string(Max));
    return Number;
}

}  // namespace server
