// Settings of one server run: from the command line, then from the operator's
// settings file in the state folder ("server.txt", written with the defaults
// on first start so that an operator sees what can be changed).
#pragma once

#include <string>
#include <vector>

namespace server {

// A public channel the operator adds in server.txt ("Channel = 8 Trade Fair").
struct ChannelSetting {
    int ID = 0;
    std::string Name;
};

struct Config {
    // Network. Port 0 takes any free port (the tests use that).
    std::string Host = "127.0.0.1";
    int LoginPort = 7171;
    int TestLoginPort = 7172;
    int GamePort = 7173;

    // Files. Empty DataDir and WorldFile mean "beside the executable".
    std::string DataDir;
    std::string WorldFile;
    std::string StateDir = "vorna-server-data";
    // Older versions of the data files for the file updates; empty means
    // StateDir/updates.
    std::string UpdatesDir;

    // Operator settings (server.txt).
    std::string WorldName = "Demoland";
    int MotdNumber = 1;
    std::string Motd = "Welcome to Demoland, the village by the lake.";
    std::string Information;   // sent before the character list when not empty
    int MaxLoginConnections = 500;  // more open login connections: "overloaded"
    int MaxPlayers = 500;           // more players in the game: waiting list
    int WaitingListSeconds = 10;
    int PingIntervalMs = 10000;     // a ping every so often
    int ClientTimeoutMs = 60000;    // nothing received for this long: the client is dropped
    int LoginTimeoutMs = 10000;     // a login connection that sends nothing
    int Beat = 50;                  // the game's clock beat in milliseconds
    int DayLengthSeconds = 3600;    // one day and night of the ambient light
    int SaveIntervalSeconds = 300;  // characters are also saved this often
    int SoulSeconds = 60;           // a soul point comes back this often, outside fights
    // More public channels, one "Channel = id name" line each; the game
    // refuses ids that clash with its own channels.
    std::vector<ChannelSetting> Channels;
    int LogLevel = 1;
    // The first value of the random numbers (wandering, damage, loot); 0
    // takes it from the clock, so that no two starts play alike.
    unsigned Seed = 0;
};

// Parses the command line into Settings; returns false with Problem set for
// an unknown or malformed option, and sets ShowHelp for --help.
bool ParseCommandLine(int argc, char** argv, Config& Settings, std::string& Problem, bool& ShowHelp);
const char* CommandLineHelp();

// Reads StateDir/server.txt over the settings, or writes it with the current
// values when it does not exist. Throws FileError on a malformed file.
void LoadOperatorSettings(Config& Settings);

// The folder that holds the running executable ("." when unknown).
std::string ExecutableDirectory();
// Where Vorna.dat and the demo world are by default: beside the executable
// (as the build puts them), else in the installation's share/vorna.
std::string DefaultDataDirectory();

}  // namespace server
