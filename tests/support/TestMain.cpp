// Every test program starts here: failed assertions throw assertion::Failure
// instead of ending the process, their reports go to a log in the temporary
// directory, the platform is the headless one, and the programs the tests
// start see no VORNA_HOME.
#include "core/Assert.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    assertion::SetThrowOnFailure(true);
    assertion::SetErrorLogPath(
        (std::filesystem::temp_directory_path() / ("vorna-test-error-" + std::to_string(getpid()) + ".txt"))
            .string());
    platform::Init(platform::Backend::Headless);
    // The programs that tests start work in the folder they are started in,
    // whatever folder the person running the tests has named for playing.
    unsetenv("VORNA_HOME");
    int result = RUN_ALL_TESTS();
    std::filesystem::remove(assertion::ErrorLogPath());
    platform::Shutdown();
    return result;
}
