// Every test program starts here: failed assertions throw assertion::Failure
// instead of ending the process, their reports go to a log in the temporary
// directory, and the platform is the headless one.
#include "core/Assert.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    assertion::SetThrowOnFailure(true);
    assertion::SetErrorLogPath(
        (std::filesystem::temp_directory_path() / ("vorna-test-error-" + std::to_string(getpid()) + ".txt"))
            .string());
    platform::Init(platform::Backend::Headless);
    int result = RUN_ALL_TESTS();
    std::filesystem::remove(assertion::ErrorLogPath());
    platform::Shutdown();
    return result;
}
