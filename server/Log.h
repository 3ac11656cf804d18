// Log lines on standard output: "2024-05-01 12:00:00.123 [game] text".
// One thread writes, so there is no locking; tests may silence the output.
#pragma once

#include <cstdarg>

namespace serverlog {

// Lines below this level are dropped (0 debug, 1 info, 2 warning, 3 error).
void SetLevel(int Level);
int GetLevel();

void Debug(const char* Source, const char* Format, ...) __attribute__((format(printf, 2, 3)));
void Info(const char* Source, const char* Format, ...) __attribute__((format(printf, 2, 3)));
void Warning(const char* Source, const char* Format, ...) __attribute__((format(printf, 2, 3)));
void Error(const char* Source, const char* Format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace serverlog
