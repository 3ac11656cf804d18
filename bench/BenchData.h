// Where a benchmark finds the data files: VORNA_DATA_DIR, else the nearest
// folder above the program that holds them (the build tree), else here.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <system_error>

inline std::filesystem::path DataDir() {
    if (const char* Dir = std::getenv("VORNA_DATA_DIR")) return Dir;
    std::error_code Error;
    const std::filesystem::path Program = std::filesystem::read_symlink("/proc/self/exe", Error);
    for (std::filesystem::path Dir = Program.parent_path(); !Dir.empty() && Dir != Dir.root_path();
         Dir = Dir.parent_path())
        if (std::filesystem::exists(Dir / "Vorna.dat") && std::filesystem::exists(Dir / "Vorna.pic")) return Dir;
    return ".";
}
