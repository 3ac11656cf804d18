#include "app/CommandLine.h"

#include "app/GameRecording.h"
#include "core/BuildSettings.h"
#include "core/DataFolders.h"
#include "core/Utils.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace app {

namespace {

const char* const DATA_FILES[] = {"Vorna.dat", "Vorna.spr", "Vorna.pic"};

// The first four bytes, little-endian, as the login request sends them.
bool ReadSignature(const std::string& Path, uint32_t& Signature) {
    std::FILE* File = std::fopen(Path.c_str(), "rb");
    if (!File) return false;
    unsigned char Bytes[4];
    const bool Read = std::fread(Bytes, 1, 4, File) == 4;
    std::fclose(File);
    if (Read)
        Signature = uint32_t(Bytes[0]) | uint32_t(Bytes[1]) << 8 | uint32_t(Bytes[2]) << 16 |
                    uint32_t(Bytes[3]) << 24;
    return Read;
}

bool Keyword(const char* Token, const char* Word) { return CompareNoCase(Token, Word, -1) == 0; }

}  // namespace

PathOption OptionPath(const std::string& Option) {
    if (Option == "--replay") return PathOption::Read;
    if (Option == "--record" || Option == "--shots" || Option == "--frame-hashes") return PathOption::Write;
    return PathOption::None;
}

std::string HelpText() {
    return "Usage: vorna [OPTION]... [gamemaster]\n"
           "The player's program of the Vorna role-playing game: log in, choose a character, play.\n"
           "\n"
           "Options:\n"
           "  --record FILE          record the game into FILE, to show a fault in a bug report\n"
           "  --replay FILE          play a recorded game again (nothing is sent to a server)\n"
           "    --speed N|max        replay N times as fast (default 1), or as fast as it goes\n"
           "    --headless           replay without a window\n"
           "    --shots DIR          write the frames at the recording's checkpoints as PNG into DIR\n"
           "    --frame-hashes FILE  write the hashes of those frames into FILE\n"
           "  --version              print the version and the data files' signatures, and end\n"
           "  --help                 print this text, and end\n"
           "\n"
           "Keywords:\n"
           "  gamemaster             log in to the game world as a gamemaster\n"
           "  host NAME, port N      accepted and ignored: the login servers are built in\n"
           "\n"
           "Files: started in a folder that holds Vorna.dat, the program works there. Otherwise\n"
           "it works in $VORNA_HOME, else $XDG_DATA_HOME/vorna, else ~/.local/share/vorna\n"
           "(Vorna.cfg, automap files, error.txt, saved channels, Hints.cfg, received updates,\n"
           "recordings named without a folder) and reads the data files from there when an\n"
           "update put them there, else from the installation's share/vorna.\n"
           "\n"
           "Environment:\n"
           "  VORNA_HOME             the folder to work in\n"
           "  XDG_DATA_HOME          where the default folder, vorna, lies (~/.local/share)\n"
           "  VORNA_SCALE            1 to 3: the largest whole-number scale of the window\n"
           "  VORNA_PRESENT          \"texture\": show frames through SDL's renderer\n"
           "  VORNA_PLATFORM         \"headless\": run without a window\n";
}

std::string VersionText(const std::vector<std::string>& DataFolders) {
    std::string Text = std::string("vorna ") + build_settings::VERSION + "\n";
    const std::vector<std::string> Previous = GetDataFolders();
    SetDataFolders(DataFolders);
    for (const char* Name : DATA_FILES) {
        const std::string Path = DataFilePath(Name);
        uint32_t Signature = 0;
        char Line[64];
        if (ReadSignature(Path, Signature)) {
            std::error_code Error;
            std::snprintf(Line, sizeof Line, "%s signature %08" PRIx32 " in ", Name, Signature);
            Text += Line + std::filesystem::absolute(Path, Error).string() + "\n";
        } else {
            Text += std::string(Name) + " not found\n";
        }
    }
    SetDataFolders(Previous);
    return Text;
}

bool AnswerCommandLine(int argc, char** argv, const std::vector<std::string>& DataFolders, int& Status) {
    // The recording options are taken out the way the start-up takes them,
    // so a malformed one is refused before anything is created.
    std::vector<char*> Rest(argv, argv + argc);
    int Count = argc;
    const SessionOptions Session = TakeSessionOptions(Count, Rest.data());
    if (!Session.Error.empty()) {
        std::fprintf(stderr, "vorna: %s\n", Session.Error.c_str());
        Status = 2;
        return true;
    }
    bool Help = false, Version = false;
    bool Skip = false;  // the word after "host" or "port" is theirs
    for (int i = 1; i < Count; ++i) {
        const char* Token = Rest[size_t(i)];
        if (Skip) {
            Skip = false;
        } else if (Keyword(Token, "host") || Keyword(Token, "port")) {
            Skip = true;
        } else if (std::strcmp(Token, "--help") == 0) {
            Help = true;
        } else if (std::strcmp(Token, "--version") == 0) {
            Version = true;
        } else if (std::strncmp(Token, "--", 2) == 0) {
            std::fprintf(stderr, "vorna: unknown option %s (vorna --help lists the options)\n", Token);
            Status = 2;
            return true;
        }
    }
    if (!Help && !Version) return false;
    std::fputs(Help ? HelpText().c_str() : VersionText(DataFolders).c_str(), stdout);
    Status = 0;
    return true;
}

}  // namespace app
