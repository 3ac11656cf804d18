// The program as a player installs and starts it: where it works and where it
// finds its data files (the start folder, the player's own folder, the
// installation's share/vorna), and the options answered before any window.
// Each case runs the built program as a process, from a prefix laid out as an
// installation has it.
#include "core/BuildSettings.h"
#include "support/Processes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::ScopedWorkDir;
using testing_support::WriteFile;

namespace {

const char* const DATA_FILES[] = {"Vorna.dat", "Vorna.spr", "Vorna.pic"};

// Environment changes for the program: a value, or none to remove the variable.
using Environment = std::vector<std::pair<std::string, std::optional<std::string>>>;

struct Result {
    int Status = -1;  // the exit status; 128 + signal when killed; -1 when it did not end
    std::string Out, Err;
};

class Process {
  public:
    Process(const fs::path& Program, const std::vector<std::string>& Arguments, const fs::path& Folder,
            const Environment& Changes, const fs::path& Logs)
        : OutPath(Logs / "out.txt"), ErrPath(Logs / "err.txt") {
        Pid = fork();
        if (Pid != 0) return;
        // The child: its own folder, environment and output files.
        if (chdir(Folder.c_str()) != 0) _exit(126);
        for (const auto& [Name, Value] : Changes)
            Value ? setenv(Name.c_str(), Value->c_str(), 1) : unsetenv(Name.c_str());
        dup2(open(OutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open(ErrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        std::vector<char*> Argv{const_cast<char*>("vorna")};
        for (const std::string& A : Arguments) Argv.push_back(const_cast<char*>(A.c_str()));
        Argv.push_back(nullptr);
        execv(Program.c_str(), Argv.data());
        _exit(127);
    }

    Result Wait(std::chrono::seconds Limit) {
        Result R;
        const auto End = std::chrono::steady_clock::now() + Limit;
        int Status = 0;
        while (waitpid(Pid, &Status, WNOHANG) != Pid) {
            if (std::chrono::steady_clock::now() > End) {
                kill(Pid, SIGKILL);
                waitpid(Pid, &Status, 0);
                R.Out = ReadFile(OutPath), R.Err = ReadFile(ErrPath);
                return R;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        R.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
        R.Out = ReadFile(OutPath), R.Err = ReadFile(ErrPath);
        return R;
    }

    pid_t Pid = -1;

  private:
    fs::path OutPath, ErrPath;
};

std::vector<std::string> Listing(const fs::path& Folder) {
    std::vector<std::string> Names;
    for (const auto& Entry : fs::recursive_directory_iterator(Folder))
        Names.push_back(fs::relative(Entry.path(), Folder).string());
    std::sort(Names.begin(), Names.end());
    return Names;
}

// The version line, then a line per data file with the signature this build
// generated and where it was found.
std::string VersionOf(const std::vector<fs::path>& Places) {
    std::string Text = std::string("vorna ") + build_settings::VERSION + "\n";
    for (size_t i = 0; i < 3; ++i) {
        const std::string Bytes = ReadFile(Places[i]);
        char Line[64];
        std::snprintf(Line, sizeof Line, "%s signature %02x%02x%02x%02x in ", DATA_FILES[i],
                      uint8_t(Bytes[3]), uint8_t(Bytes[2]), uint8_t(Bytes[1]), uint8_t(Bytes[0]));
        Text += Line + Places[i].string() + "\n";
    }
    return Text;
}

class InstalledProgram : public testing::Test {
  protected:
    void SetUp() override {
        // <root>/prefix/bin/vorna with the data files in <root>/prefix/share/vorna.
        fs::create_directories(Root / "prefix" / "bin");
        fs::create_directories(Share);
        std::error_code Error;
        fs::create_hard_link(testing_support::BinaryDir() / "vorna", Program, Error);
        if (Error) fs::copy_file(testing_support::BinaryDir() / "vorna", Program);
        for (const char* Name : DATA_FILES) fs::copy_file(testing_support::BinaryDir() / Name, Share / Name);
        for (const fs::path& Folder : {Start, Home, Logs}) fs::create_directories(Folder);
    }

    Result Run(const std::vector<std::string>& Arguments, const fs::path& Folder, Environment Changes = {}) {
        Process P(Program, Arguments, Folder, WithHome(std::move(Changes)), Logs);
        return P.Wait(std::chrono::seconds(60));
    }

    // Starts the program without a window, asks it to end as a desktop's
    // log-out does, and returns how it ended.
    Result RunAndEnd(const std::vector<std::string>& Arguments, const fs::path& Folder,
                     Environment Changes = {}) {
        Changes.push_back({"VORNA_PLATFORM", "headless"});
        Process P(Program, Arguments, Folder, WithHome(std::move(Changes)), Logs);
        EXPECT_TRUE(testing_support::AwaitSignalHandler(P.Pid, SIGTERM, 60000));
        kill(P.Pid, SIGTERM);
        return P.Wait(std::chrono::seconds(60));
    }

    Environment WithHome(Environment Changes) const {
        Environment All{
            {"HOME", Home.string()}, {"XDG_DATA_HOME", std::nullopt}, {"VORNA_HOME", std::nullopt}};
        All.insert(All.end(), Changes.begin(), Changes.end());
        return All;
    }

    ScopedWorkDir Dir;
    const fs::path Root = Dir.Path();
    const fs::path Program = Root / "prefix" / "bin" / "vorna";
    const fs::path Share = Root / "prefix" / "share" / "vorna";
    const fs::path Start = Root / "start", Home = Root / "home", Logs = Root / "logs";
    const fs::path UserFolder = Home / ".local" / "share" / "vorna";
};

// The three places of the data files, and the files the program writes: in
// the player's folder when started elsewhere, in the start folder when that
// holds the data files.
TEST_F(InstalledProgram, FindsItsDataAndWritesItsFilesWhereTheyBelong) {
    // From an empty folder: the installation's data files; asking creates nothing.
    Result Version = Run({"--version"}, Start);
    EXPECT_EQ(Version.Status, 0) << Version.Err;
    EXPECT_EQ(Version.Out, VersionOf({Share / "Vorna.dat", Share / "Vorna.spr", Share / "Vorna.pic"}));
    EXPECT_FALSE(fs::exists(Home / ".local"));

    // The first start makes the player's folder and says so; its files go
    // there, a recording named without a folder too; the start folder stays empty.
    Result First = RunAndEnd({"--record", "bug.vrec"}, Start);
    EXPECT_EQ(First.Status, 0) << First.Err;
    EXPECT_EQ(First.Out, "Vorna keeps its settings and files in " + UserFolder.string() + "\n");
    EXPECT_TRUE(fs::is_regular_file(UserFolder / "Vorna.cfg"));
    EXPECT_TRUE(fs::is_regular_file(UserFolder / "bug.vrec"));
    EXPECT_TRUE(Listing(Start).empty());
    EXPECT_EQ(fs::status(UserFolder).permissions() & fs::perms::all, fs::perms::owner_all);

    // Said once; a recording named with a folder is where the name says, from the start folder.
    fs::create_directories(Start / "clips");
    Result Second = RunAndEnd({"--record", "clips/again.vrec"}, Start);
    EXPECT_EQ(Second.Status, 0) << Second.Err;
    EXPECT_EQ(Second.Out, "");
    EXPECT_EQ(Listing(Start), (std::vector<std::string>{"clips", "clips/again.vrec"}));

    // A data file that an update put into the player's folder comes first;
    // the others still come from the installation.
    std::string Updated = ReadFile(Share / "Vorna.dat");
    Updated[0] = char(Updated[0] ^ 0x5a);
    WriteFile(UserFolder / "Vorna.dat", Updated);
    Version = Run({"--version"}, Start);
    EXPECT_EQ(Version.Out, VersionOf({UserFolder / "Vorna.dat", Share / "Vorna.spr", Share / "Vorna.pic"}));

    // VORNA_HOME names the folder outright (and a relative name means one in the start folder).
    Result Named = RunAndEnd({}, Start, {{"VORNA_HOME", "own"}});
    EXPECT_EQ(Named.Status, 0) << Named.Err;
    EXPECT_EQ(Named.Out, "Vorna keeps its settings and files in " + (Start / "own").string() + "\n");
    EXPECT_TRUE(fs::is_regular_file(Start / "own" / "Vorna.cfg"));

    // Started beside its data files, it works there as it always did: the
    // player's folder is neither read nor written.
    const fs::path Play = Root / "play", OtherHome = Root / "other-home";
    fs::create_directories(Play);
    for (const char* Name : DATA_FILES) fs::copy_file(Share / Name, Play / Name);
    Version = Run({"--version"}, Play, {{"HOME", OtherHome.string()}});
    EXPECT_EQ(Version.Out, VersionOf({Play / "Vorna.dat", Play / "Vorna.spr", Play / "Vorna.pic"}));
    Result Beside = RunAndEnd({}, Play, {{"HOME", OtherHome.string()}});
    EXPECT_EQ(Beside.Status, 0) << Beside.Err;
    EXPECT_EQ(Beside.Out, "");
    EXPECT_TRUE(fs::is_regular_file(Play / "Vorna.cfg"));
    EXPECT_FALSE(fs::exists(OtherHome));
}

// --help and --version answer at once without a window; an option that is
// not ours, or a malformed one, is refused before anything is created.
TEST_F(InstalledProgram, AnswersItsOptionsAndRefusesOthers) {
    Result Help = Run({"--help"}, Start);
    EXPECT_EQ(Help.Status, 0) << Help.Err;
    for (const char* Named :
         {"--record FILE", "--replay FILE", "--speed N|max", "--headless", "--shots DIR", "--frame-hashes FILE",
          "--version", "--help", "gamemaster", "host NAME, port N", "VORNA_HOME", "XDG_DATA_HOME", "VORNA_SCALE",
          "VORNA_PRESENT", "VORNA_PLATFORM"})
        EXPECT_NE(Help.Out.find(Named), std::string::npos) << Named;
    EXPECT_EQ(Help.Err, "");

    // Without any data file, the version alone, and no window either.
    fs::remove_all(Share);
    Result Version = Run({"gamemaster", "--version"}, Start, {{"DISPLAY", std::nullopt}});
    EXPECT_EQ(Version.Status, 0);
    EXPECT_EQ(Version.Out, std::string("vorna ") + build_settings::VERSION +
                               "\nVorna.dat not found\nVorna.spr not found\nVorna.pic not found\n");

    Result Unknown = Run({"gamemaster", "--fullscreen"}, Start);
    EXPECT_EQ(Unknown.Status, 2);
    EXPECT_EQ(Unknown.Err, "vorna: unknown option --fullscreen (vorna --help lists the options)\n");
    Result Malformed = Run({"--replay", "x.vrec", "--speed", "fast"}, Start);
    EXPECT_EQ(Malformed.Status, 2);
    EXPECT_EQ(Malformed.Err, "vorna: --speed takes a number above 0 or \"max\", not \"fast\"\n");
    EXPECT_TRUE(Listing(Start).empty());
    EXPECT_FALSE(fs::exists(Home / ".local"));

    // The word after "host" or "port" is theirs, whatever it looks like; with
    // the data files missing the start then ends with the error box.
    Result Keywords = Run({"host", "--not-an-option", "GameMaster"}, Start, {{"VORNA_PLATFORM", "headless"}});
    EXPECT_EQ(Keywords.Status, 1);
    EXPECT_EQ(Keywords.Err,
              "Vorna - Error\nError 1: Cannot open file \"Vorna.dat\".\n\nPlease re-install the program.\n");
}

}  // namespace
