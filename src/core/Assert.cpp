#include "core/Assert.h"

#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace assertion {
namespace {
int Counter = 0;  // never reset in normal operation: the first report ends the process
PositionHook GetPosition = nullptr;
PacketHook GetPacket = nullptr;
WindowedHook MakeWindowed = nullptr;
std::string LogPath = "error.txt";
bool ThrowOnFailure = false;
void (*ReportHook)() = nullptr;

std::string ProgramName() {
    // The executable's base name, as the caption of the box.
    std::string name = "vorna";
    if (FILE* f = std::fopen("/proc/self/comm", "r")) {
        char buffer[64] = {};
        if (std::fgets(buffer, sizeof buffer, f)) {
            name = buffer;
            while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
        }
        std::fclose(f);
    }
    return name;
}
}  // namespace

void SetPositionHook(PositionHook hook) { GetPosition = hook; }
void SetPacketHook(PacketHook hook) { GetPacket = hook; }
void SetWindowedHook(WindowedHook hook) { MakeWindowed = hook; }
void SetErrorLogPath(const std::string& path) { LogPath = path; }
const std::string& ErrorLogPath() { return LogPath; }
void SetThrowOnFailure(bool enabled) { ThrowOnFailure = enabled; }
void SetReportHook(void (*hook)()) { ReportHook = hook; }
int ReentryCount() { return Counter; }

std::string ModuleName(const char* File) {
    std::string path = File ? File : "";
    size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace assertion

void Assert(const char* Expression, int Line, const char* File, uint8_t ParameterFlag, int32_t Parameter) {
    using namespace assertion;
    if (++Counter > 1) return;

    std::string module = ModuleName(File);
    Position position{};
    bool havePosition = GetPosition && GetPosition(position);
    uint8_t snapshot[16] = {};
    bool havePacket = GetPacket && GetPacket(snapshot);

    bool saved = false;
    if (FILE* log = std::fopen(LogPath.c_str(), "a")) {
        std::time_t now = std::time(nullptr);
        std::fprintf(log, "\n----------------------------------------");
        std::fprintf(log, "\nDebug Assertion");
        std::fprintf(log, "\ntime:      %s", std::ctime(&now));
        std::fprintf(log, "line:      %d", Line);
        std::fprintf(log, "\nmodule:    %s", module.c_str());
        std::fprintf(log, "\nassertion: %s", Expression);
        if (havePosition) std::fprintf(log, "\nposition:  [%d,%d,%d]", position.X, position.Y, position.Z);
        if (ParameterFlag) std::fprintf(log, "\nParameter: %d", Parameter);
        if (havePacket) {
            std::fprintf(log, "\npkt:  ");
            for (uint8_t b : snapshot) std::fprintf(log, "%02X", b);
        }
        std::fprintf(log, "\n----------------------------------------");
        saved = std::fclose(log) == 0;
    }

    if (MakeWindowed) MakeWindowed();

    // When the log could not be written the box must not claim it was. The
    // box names the whole path: an installed program keeps the file in the
    // player's own folder, not where it was started from.
    std::error_code PathError;
    std::string where = std::filesystem::absolute(LogPath, PathError).string();
    if (PathError) where = LogPath;
    char head[160];
    std::snprintf(head, sizeof head, "Debug assertion in line %d\nof module \"%s\" failed.\n", Line,
                  module.c_str());
    const std::string text =
        head + (saved ? "The error has been saved in the file\n" + where +
                            ".\n\nPlease submit the information\nin the file error.txt to a tutor.\n"
                      : "The error could not be saved in the file\n" + where +
                            ".\n\nPlease tell a tutor the line and module above.\n");

    if (ThrowOnFailure) {
        if (ReportHook) ReportHook();
        platform::ShowMessageBox(ProgramName(), text, platform::BoxIcon::Stop);
        Counter = 0;
        Failure failure;
        failure.Expression = Expression;
        failure.Module = module;
        failure.Line = Line;
        throw failure;
    }

    if (ReportHook) ReportHook();
    platform::ShowMessageBox(ProgramName(), text, platform::BoxIcon::Stop);
    std::exit(-1);
}
