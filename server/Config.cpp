#include "server/Config.h"

#include "server/TextFile.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>

namespace server {

const char* CommandLineHelp() {
    return "Usage: vorna-server [options]\n"
           "  --host ADDRESS        address to listen on (default 127.0.0.1)\n"
           "  --login-port N        login server port (default 7171)\n"
           "  --test-login-port N   test login server port (default 7172)\n"
           "  --game-port N         game world port (default 7173)\n"
           "  --data-dir DIR        folder of Vorna.dat, Vorna.spr, Vorna.pic (default: beside the program,\n"
           "                        else the installation's share/vorna)\n"
           "  --world FILE          world file (default: Demoland.world, found likewise)\n"
           "  --state-dir DIR       accounts, characters and server.txt (default vorna-server-data)\n"
           "  --updates-dir DIR     older versions of the data files (default: updates in the state folder)\n"
           "  --log-level N         0 debug, 1 info, 2 warnings, 3 errors only\n"
           "  --seed N              first value of the random numbers, for a run that can be played again\n"
           "                        (default: taken from the clock)\n"
           "  --help                this text\n";
}

static bool ParsePort(const char* Text, int& Port) {
    char* End = nullptr;
    long Value = std::strtol(Text, &End, 10);
    if (End == Text || *End != 0 || Value < 0 || Value > 65535) return false;
    Port = int(Value);
    return true;
}

bool ParseCommandLine(int argc, char** argv, Config& Settings, std::string& Problem, bool& ShowHelp) {
    ShowHelp = false;
    for (int i = 1; i < argc; i++) {
        std::string Option = argv[i];
        if (Option == "--help" || Option == "-h") {
            ShowHelp = true;
            return true;
        }
        if (i + 1 >= argc) {
            Problem = "option " + Option + " needs a value";
            return false;
        }
        const char* Value = argv[++i];
        bool Good = true;
        if (Option == "--host") Settings.Host = Value;
        else if (Option == "--login-port") Good = ParsePort(Value, Settings.LoginPort);
        else if (Option == "--test-login-port") Good = ParsePort(Value, Settings.TestLoginPort);
        else if (Option == "--game-port") Good = ParsePort(Value, Settings.GamePort);
        else if (Option == "--data-dir") Settings.DataDir = Value;
        else if (Option == "--world") Settings.WorldFile = Value;
        else if (Option == "--state-dir") Settings.StateDir = Value;
        else if (Option == "--updates-dir") Settings.UpdatesDir = Value;
        else if (Option == "--seed") {
            char* End = nullptr;
            unsigned long long N = std::strtoull(Value, &End, 10);
            Good = *Value >= '0' && *Value <= '9' && End != nullptr && *End == 0 && N >= 1 && N <= 0xFFFFFFFFull;
            if (Good) Settings.Seed = unsigned(N);
        } else if (Option == "--log-level") {
            Good = std::strlen(Value) == 1 && Value[0] >= '0' && Value[0] <= '3';
            if (Good) Settings.LogLevel = Value[0] - '0';
        } else {
            Problem = "unknown option " + Option;
            return false;
        }
        if (!Good) {
            Problem = "bad value for " + Option + ": " + Value;
            return false;
        }
    }
    return true;
}

namespace {
struct Setting {
    const char* Key;
    std::string* Text;
    int* Number;
    long long Min, Max;
};
}  // namespace

static std::vector<Setting> OperatorSettings(Config& S) {
    return {
        {"WorldName", &S.WorldName, nullptr, 0, 0},
        {"MotdNumber", nullptr, &S.MotdNumber, 0, INT_MAX},
        {"Motd", &S.Motd, nullptr, 0, 0},
        {"Information", &S.Information, nullptr, 0, 0},
        {"MaxLoginConnections", nullptr, &S.MaxLoginConnections, 1, 100000},
        {"MaxPlayers", nullptr, &S.MaxPlayers, 0, 100000},
        {"WaitingListSeconds", nullptr, &S.WaitingListSeconds, 1, 255},
        {"PingIntervalMs", nullptr, &S.PingIntervalMs, 100, 600000},
        {"ClientTimeoutMs", nullptr, &S.ClientTimeoutMs, 200, 3600000},
        {"LoginTimeoutMs", nullptr, &S.LoginTimeoutMs, 100, 600000},
        {"Beat", nullptr, &S.Beat, 10, 1000},
        {"DayLengthSeconds", nullptr, &S.DayLengthSeconds, 10, 864000},
        {"SaveIntervalSeconds", nullptr, &S.SaveIntervalSeconds, 10, 86400},
        {"SoulSeconds", nullptr, &S.SoulSeconds, 1, 86400},
    };
}

// "8 Trade Fair": the id, blanks, and the rest of the line as the name.
static ChannelSetting ParseChannel(const TextEntry& Entry, const std::string& FileName) {
    auto Fail = [&](const char* What) {
        throw FileError(FileName + ", line " + std::to_string(Entry.Line) + ": " + What);
    };
    if (Entry.Quoted) Fail("channel id and name expected");
    const std::string& V = Entry.Value;
    size_t Digits = 0;
    while (Digits < V.size() && V[Digits] >= '0' && V[Digits] <= '9') Digits++;
    if (Digits == 0 || Digits > 5 || Digits == V.size() || (V[Digits] != ' ' && V[Digits] != '\t'))
        Fail("channel id and name expected");
    ChannelSetting Channel;
    Channel.ID = std::atoi(V.substr(0, Digits).c_str());
    if (Channel.ID < 1 || Channel.ID > 65535) Fail("channel id from 1 to 65535 expected");
    Channel.Name = V.substr(V.find_first_not_of(" \t", Digits));
    if (Channel.Name.size() > 255) Fail("channel name longer than 255 characters");
    return Channel;
}

void LoadOperatorSettings(Config& Settings) {
    std::string FileName = (std::filesystem::path(Settings.StateDir) / "server.txt").string();
    auto Table = OperatorSettings(Settings);
    if (!std::filesystem::exists(FileName)) {
        std::string Text =
            "# Settings of the Vorna reference server. Edit while the server is stopped.\n"
            "# MotdNumber: raise it whenever Motd changes, so that clients show it again.\n"
            "# More public channels, one line each, id and name: Channel = 8 Trade Fair\n"
            "# (ids 1, 2, 3, 7 and from 100 on are the game's own).\n";
        for (auto& S : Table) {
            Text += std::string(S.Key) + " = " + (S.Text ? QuoteText(*S.Text) : std::to_string(*S.Number)) + "\n";
        }
        std::filesystem::create_directories(Settings.StateDir);
        WriteFileAtomically(FileName, Text);
        return;
    }
    for (const TextEntry& Entry : ParseTextFile(ReadWholeFile(FileName), FileName)) {
        if (Entry.Key == "Channel") {
            Settings.Channels.push_back(ParseChannel(Entry, FileName));
            continue;
        }
        bool Known = false;
        for (auto& S : Table) {
            if (Entry.Key != S.Key) continue;
            Known = true;
            if (S.Text) {
                if (!Entry.Quoted)
                    throw FileError(FileName + ", line " + std::to_string(Entry.Line) + ": text in quotes expected");
                *S.Text = Entry.Value;
            } else {
                *S.Number = int(EntryNumber(Entry, FileName, S.Min, S.Max));
            }
        }
        if (!Known) throw FileError(FileName + ", line " + std::to_string(Entry.Line) + ": unknown setting " + Entry.Key);
    }
}

std::string ExecutableDirectory() {
    std::error_code Error;
    auto Path = std::filesystem::read_symlink("/proc/self/exe", Error);
    if (Error) return ".";
    return Path.parent_path().string();
}

std::string DefaultDataDirectory() {
    const std::filesystem::path Beside = ExecutableDirectory();
    std::error_code Error;
    if (std::filesystem::is_regular_file(Beside / "Vorna.dat", Error)) return Beside.string();
    const std::filesystem::path Installed = (Beside / VORNA_DATA_FROM_PROGRAM).lexically_normal();
    if (std::filesystem::is_regular_file(Installed / "Vorna.dat", Error)) return Installed.string();
    return Beside.string();
}

}  // namespace server
