// Shared set-up of the fuzz programs: the headless platform, an error log in
// the temporary directory, and an assertion that aborts at once so that the
// fuzzer records it as a crash with its stack.
#pragma once

#include "core/Assert.h"
#include "platform/Platform.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzz_support {

inline void Start() {
    platform::Init(platform::Backend::Headless);
    assertion::SetErrorLogPath(
        (std::filesystem::temp_directory_path() / ("vorna-fuzz-error-" + std::to_string(getpid()) + ".txt")).string());
    assertion::SetReportHook([] { std::abort(); });
}

// A private file in the temporary directory for this process.
inline std::string TemporaryFile(const char* Name) {
    return (std::filesystem::temp_directory_path() / ("vorna-fuzz-" + std::to_string(getpid()) + "-" + Name))
        .string();
}

}  // namespace fuzz_support
