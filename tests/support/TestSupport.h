// Helpers shared by every test program.
#pragma once

#include "core/Assert.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace testing_support {

// A fresh temporary directory that becomes the working directory for the
// lifetime of the object; the previous working directory comes back after.
class ScopedWorkDir {
  public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    const std::filesystem::path& Path() const { return Dir; }

  private:
    std::filesystem::path Dir, Previous;
};

// The build directory (programs, generated data files) and the source tree.
std::filesystem::path BinaryDir();
std::filesystem::path SourceDir();

std::string ReadFile(const std::filesystem::path& path);

void WriteFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace testing_support

// Expects the statement to fail an assertion whose expression text is exactly `text`.
#define EXPECT_ASSERTION(statement, text)                                                                    \
    do {                                                                                                     \
        bool caught_ = false;                                                                                \
        try {                                                                                                \
            statement;                                                                                       \
        } catch (const assertion::Failure& f_) {                                                             \
            caught_ = true;                                                                                  \
            EXPECT_EQ(std::string(f_.Expression), std::string(text));                                        \
        }                                                                                                    \
        EXPECT_TRUE(caught_) << "expected the assertion " << text;                                          \
    } while (0)
