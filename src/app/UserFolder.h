// The folder the client works in. Started in a folder that holds Vorna.dat
// (the build tree, the demo's folder, the tests) it works there, as it always
// did. An installed program started from a menu or a terminal anywhere works
// in the player's own folder instead ($VORNA_HOME, else $XDG_DATA_HOME/vorna,
// else ~/.local/share/vorna): Vorna.cfg, the automap files, error.txt, saved
// channels, Hints.cfg, received updates and recordings named without a folder
// are there, and nothing is written where it was started. The data files are
// read from that folder when an update put them there, else from the
// installation's shared folder.
#pragma once

#include <string>
#include <vector>

namespace app {

struct WorkFolder {
    bool StartFolder = true;               // stay where started
    std::string Folder;                    // otherwise this one (absolute)
    std::vector<std::string> DataFolders;  // searched in order; empty: the working directory
    std::string Problem;                   // why no folder could be named
};

// Decides from the environment and the start folder; creates nothing.
WorkFolder ChooseWorkFolder();

// Creates the folder when it is not there yet (and says so once on standard
// output), turns the command line's file names that belong to the start
// folder into whole paths, changes into the folder and hands the data folders
// to the readers. False, with the reason, when the folder cannot be used.
bool EnterWorkFolder(const WorkFolder& Folder, int argc, char** argv, std::string& Problem);

}  // namespace app
