#include "support/TestSupport.h"

#include "platform/Platform.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

namespace testing_support {

ScopedWorkDir::ScopedWorkDir() {
    Previous = std::filesystem::current_path();
    std::random_device rd;
    for (;;) {
        auto candidate = std::filesystem::temp_directory_path() / ("vorna-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            Dir = candidate;
            break;
        }
    }
    std::filesystem::current_path(Dir);
}

ScopedWorkDir::~ScopedWorkDir() {
    std::filesystem::current_path(Previous);
    std::error_code ignored;
    std::filesystem::remove_all(Dir, ignored);
}

std::filesystem::path BinaryDir() {
    const char* dir = std::getenv("VORNA_BINARY_DIR");
    return dir ? dir : VORNA_TEST_BINARY_DIR;
}

std::filesystem::path SourceDir() {
    const char* dir = std::getenv("VORNA_SOURCE_DIR");
    return dir ? dir : VORNA_TEST_SOURCE_DIR;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace testing_support
