// Assertions: a broken precondition appends a report to error.txt, tells the
// player in a message box and ends the process. The checked condition is
// written at the call site exactly as it should appear in the report, for
// instance ASSERT(In(CommandType,0,255)).
#pragma once

#include <cstdint>
#include <exception>
#include <string>

// Range test used in assertions: min <= x <= max, both ends included.
template <typename T, typename A, typename B>
constexpr bool In(T x, A min, B max) {
    return min <= x && x <= max;
}

// The reporter. Does not return on the first call; returns at once on any
// later call (an assertion raised while the first report is under way).
void Assert(const char* Expression, int Line, const char* File, uint8_t ParameterFlag, int32_t Parameter);

#define ASSERT(cond)                                                                                         \
    do {                                                                                                     \
        if (!(cond)) ::Assert(#cond, __LINE__, __FILE__, 0, 0);                                              \
    } while (0)

// As ASSERT, logging the offending value with the report.
#define ASSERT_PARAM(cond, value)                                                                            \
    do {                                                                                                     \
        if (!(cond)) ::Assert(#cond, __LINE__, __FILE__, 1, static_cast<int32_t>(value));                    \
    } while (0)

namespace assertion {

// What the reporter asks of modules above it; each hook is installed by the
// module that owns the information and may be left empty.
struct Position {
    int X, Y, Z;
};
// The player's absolute position, or false while not in the game or the
// player's creature is unknown.
using PositionHook = bool (*)(Position& position);
// The first 16 bytes of the oldest unprocessed server packet; returns true
// when the dispatcher has flagged an unrecognised command byte.
using PacketHook = bool (*)(uint8_t snapshot[16]);
// Switches the display to windowed mode so that the box can be seen.
using WindowedHook = void (*)();

void SetPositionHook(PositionHook hook);
void SetPacketHook(PacketHook hook);
void SetWindowedHook(WindowedHook hook);

// The module name of a source path: after the last backslash or slash, cut at
// its first full stop.
std::string ModuleName(const char* File);

// The path of the error log, "error.txt" in the working directory by default.
void SetErrorLogPath(const std::string& path);
const std::string& ErrorLogPath();

// Thrown by the test handler instead of ending the process.
struct Failure : std::exception {
    std::string Expression, Module;
    int Line = 0;
    const char* what() const noexcept override { return Expression.c_str(); }
};

// Tests: after the record is written, throw Failure instead of showing the box
// and ending the process; the re-entry counter is then cleared again so the
// next test starts fresh. Report hook: called where the box would be shown,
// before the throw (lets a test raise a second assertion during the report).
void SetThrowOnFailure(bool enabled);
void SetReportHook(void (*hook)());
int ReentryCount();

}  // namespace assertion
