// The random player: the whole client (the program's own start-up, frame
// loop and shutdown on the headless platform) against the scripted server,
// with random input, deterministic by its seed. Every run is recorded, so a
// finding is a file that `vorna --replay` plays back to the same fault.
//
// One run (an episode) starts the client in a folder of its own, plays until
// the steps or the time are used up, then ends the game and closes the
// window as a player would. A failed assertion, or a packet of the client
// that the reference server refuses, is a finding; in the malformed mode an
// assertion after data no correct server sends is the program's deliberate
// report and ends the run without a finding. Crashes and sanitizer reports
// end the process: the program vorna-random runs each episode in a process
// of its own to see them.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>

namespace randomplayer {

struct EpisodeOptions {
    uint32_t Seed = 1;
    int64_t MaxSteps = 2000;    // passes of the client's loop; 0: no limit
    double MaxSeconds = 0;      // real time; 0: no limit
    bool Malformed = false;
    std::string DataDir;        // Vorna.dat, .spr, .pic and Demoland.world
    std::string WorkDir;        // the client's working folder, made if missing
    std::string RecordingPath;  // empty: random.vrec in the working folder
    std::set<std::string> Skip;  // actions of the server or the player switched off
    bool Trace = false;          // each pass's actions and events to standard error
    // After every pass, with the passes so far.
    std::function<void(int64_t Steps)> Progress;
};

struct EpisodeResult {
    enum class Ending {
        Finished,      // the steps or the time were used up
        ProgramEnded,  // the player closed the program
        Finding,       // a fault of the client
        AllowedReport, // malformed mode: the program's report on bad data
    };
    Ending How = Ending::Finished;
    int64_t Steps = 0;
    std::string What;        // the finding: the assertion and where, or the refused packet
    std::string LastServer;  // what the server did last
    std::string LastInput;   // what the player did last
    std::string Recording;   // the file of the run
    std::string Picture;     // a finding: the last frame before it, as PNG
};

EpisodeResult RunEpisode(const EpisodeOptions& Options);

// Makes the folder the working folder of the client, with links to the
// three data files of the data folder.
void EnterWorkFolder(const std::string& WorkDir, const std::string& DataDir);

// Every action name --skip knows, of the server and the player.
std::string ActionNames();

// The actions switched off by default: each meets a fault already reported
// and not yet mended (see the README), so that a run goes on to new ones.
std::set<std::string> KnownFaultWorkarounds();

}  // namespace randomplayer
