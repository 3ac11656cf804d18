#include "server/Log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace serverlog {

static int Level = 1;

void SetLevel(int NewLevel) { Level = NewLevel; }
int GetLevel() { return Level; }

static void Write(int LineLevel, const char* Source, const char* Format, va_list Arguments) {
    if (LineLevel < Level) return;
    static const char* const Tags[] = {"debug", "info", "warning", "error"};
    auto Now = std::chrono::system_clock::now();
    std::time_t Seconds = std::chrono::system_clock::to_time_t(Now);
    int Millis = int(std::chrono::duration_cast<std::chrono::milliseconds>(Now.time_since_epoch()).count() % 1000);
    std::tm Local{};
    localtime_r(&Seconds, &Local);
    char Stamp[32];
    std::strftime(Stamp, sizeof(Stamp), "%Y-%m-%d %H:%M:%S", &Local);
    char Text[1024];
    std::vsnprintf(Text, sizeof(Text), Format, Arguments);
    std::printf("%s.%03d %-7s [%s] %s\n", Stamp, Millis, Tags[LineLevel], Source, Text);
    std::fflush(stdout);
}

#define VORNA_LOG_FUNCTION(Name, LineLevel)                  \
    void Name(const char* Source, const char* Format, ...) { \
        va_list Arguments;                                   \
        va_start(Arguments, Format);                         \
        Write(LineLevel, Source, Format, Arguments);         \
        va_end(Arguments);                                   \
    }

VORNA_LOG_FUNCTION(Debug, 0)
VORNA_LOG_FUNCTION(Info, 1)
VORNA_LOG_FUNCTION(Warning, 2)
VORNA_LOG_FUNCTION(Error, 3)

}  // namespace serverlog
