#include "app/UserFolder.h"

#include "app/CommandLine.h"
#include "core/BuildSettings.h"
#include "core/DataFolders.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace app {

namespace {

std::string Environment(const char* Name) {
    const char* Value = std::getenv(Name);
    return Value ? Value : "";
}

// The base of the player's data: $XDG_DATA_HOME when it is a whole path (a
// relative one is to be ignored), else ~/.local/share.
std::string PlayerDataBase() {
    const std::string Xdg = Environment("XDG_DATA_HOME");
    if (!Xdg.empty() && fs::path(Xdg).is_absolute()) return Xdg;
    std::string Home = Environment("HOME");
    if (Home.empty())
        if (const passwd* Entry = getpwuid(getuid())) Home = Entry->pw_dir ? Entry->pw_dir : "";
    if (Home.empty()) return "";
    return (fs::path(Home) / ".local" / "share").string();
}

// Command-line file names kept alive for argv, which points into them.
std::vector<std::string> ResolvedArguments;

// The installation's data folder: share/vorna beside the bin folder that
// holds the running program, so a moved installation still finds it.
std::string InstalledDataFolder() {
    std::error_code Error;
    const fs::path Program = fs::read_symlink("/proc/self/exe", Error);
    if (Error) return "";
    return (Program.parent_path() / build_settings::DATA_FROM_PROGRAM).lexically_normal().string();
}

}  // namespace

WorkFolder ChooseWorkFolder() {
    WorkFolder Choice;
    std::error_code Error;
    const std::string Explicit = Environment("VORNA_HOME");
    if (Explicit.empty() && fs::is_regular_file("Vorna.dat", Error)) return Choice;

    Choice.StartFolder = false;
    if (!Explicit.empty()) {
        Choice.Folder = fs::absolute(Explicit, Error).lexically_normal().string();
    } else {
        const std::string Base = PlayerDataBase();
        if (Base.empty()) {
            Choice.Problem = "no folder for the player's files: set HOME, XDG_DATA_HOME or VORNA_HOME";
            return Choice;
        }
        Choice.Folder = (fs::path(Base) / "vorna").string();
    }
    Choice.DataFolders = {Choice.Folder};
    const std::string Installed = InstalledDataFolder();
    if (!Installed.empty()) Choice.DataFolders.push_back(Installed);
    return Choice;
}

bool EnterWorkFolder(const WorkFolder& Folder, int argc, char** argv, std::string& Problem) {
    if (Folder.StartFolder) return true;
    if (!Folder.Problem.empty()) {
        Problem = Folder.Problem;
        return false;
    }
    std::error_code Error;
    const bool Existed = fs::is_directory(Folder.Folder, Error);
    if (!Existed) {
        fs::create_directories(Folder.Folder, Error);
        if (Error) {
            Problem = "cannot create the folder " + Folder.Folder + ": " + Error.message();
            return false;
        }
        // The player's settings and recordings are nobody else's business.
        fs::permissions(Folder.Folder, fs::perms::owner_all, fs::perm_options::replace, Error);
        std::printf("Vorna keeps its settings and files in %s\n", Folder.Folder.c_str());
        std::fflush(stdout);
    }

    // Names given with a folder (and a recording to replay that lies where the
    // program was started) mean the start folder; a bare name to write means
    // the player's folder.
    ResolvedArguments.assign(size_t(argc), "");
    for (int i = 1; i + 1 < argc; ++i) {
        const PathOption Kind = OptionPath(argv[i]);
        if (Kind == PathOption::None) continue;
        const std::string Name = argv[++i];
        const bool HasFolder = Name.find('/') != std::string::npos;
        const bool ReadHere = Kind == PathOption::Read && fs::exists(Name, Error);
        if (!HasFolder && !ReadHere) continue;
        ResolvedArguments[size_t(i)] = fs::absolute(Name, Error).string();
        argv[i] = ResolvedArguments[size_t(i)].data();
    }

    if (chdir(Folder.Folder.c_str()) != 0) {
        Problem = "cannot work in the folder " + Folder.Folder;
        return false;
    }
    SetDataFolders(Folder.DataFolders);
    return true;
}

}  // namespace app
