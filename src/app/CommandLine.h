// The options a player can ask the program about before it starts: --help
// and --version answer at once, without a window; an option that is not ours
// is refused. The keywords ("gamemaster", the ignored "host" and "port" with
// their values) and any other plain word go on to the start-up as before.
#pragma once

#include <string>
#include <vector>

namespace app {

// How an option's value names a file: one to read or one to write.
enum class PathOption { None, Read, Write };
PathOption OptionPath(const std::string& Option);

std::string HelpText();
// The version, and each data file's signature and place where one is found
// (looked up in DataFolders, or the working directory when that is empty).
std::string VersionText(const std::vector<std::string>& DataFolders);

// Answers --help and --version, refuses unknown and malformed options.
// Returns true with the exit status when the program is to end here.
bool AnswerCommandLine(int argc, char** argv, const std::vector<std::string>& DataFolders, int& Status);

}  // namespace app
