// The readable files of the server (its settings, accounts, characters): one
// "Key = value" per line, '#' starts a comment line, a value is a number or a
// text in double quotes with \" \\ and \n escapes. Files are written whole to
// a temporary name and renamed over the old one, so a crash in the middle of
// a save leaves either the old or the new file, never half of one.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace server {

struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct TextEntry {
    std::string Key;
    std::string Value;  // unquoted and unescaped
    bool Quoted = false;
    int Line = 0;
};

// Reads a whole file; throws FileError naming the file on failure.
std::string ReadWholeFile(const std::string& FileName);
// Writes to FileName + ".tmp", flushes it to disk, renames it over FileName
// and syncs the directory, so that after a power cut the name holds the old
// file or the new one, never an empty one.
void WriteFileAtomically(const std::string& FileName, const std::string& Bytes);
// The call that forces a file or directory to disk (fsync); tests put their
// own in its place to see when it is made. nullptr restores fsync.
void SetFileSyncFunction(int (*Function)(int Handle));

// Parses "Key = value" lines; a malformed line throws FileError with file and line.
std::vector<TextEntry> ParseTextFile(const std::string& Text, const std::string& FileName);
// A text in double quotes with its escapes, for writing.
std::string QuoteText(const std::string& Text);

// Reads a whole number from an entry; throws FileError for anything else.
long long EntryNumber(const TextEntry& Entry, const std::string& FileName, long long Min, long long Max);

}  // namespace server
