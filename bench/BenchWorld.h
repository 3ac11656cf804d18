// Shared set-up of the world benchmarks: a private working directory, a small
// object type file, and automap areas written straight to disk.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace benchworld {

// Moves into a fresh temporary directory for the rest of the program.
inline void EnterTempDir() {
    static bool Done = false;
    if (Done) return;
    Done = true;
    std::filesystem::path Dir = std::filesystem::temp_directory_path() / ("vorna-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(Dir);
    std::filesystem::current_path(Dir);
}

inline void WriteBytes(const std::string& Name, const std::string& Bytes) {
    std::FILE* f = std::fopen(Name.c_str(), "wb");
    if (f == nullptr) return;
    std::fwrite(Bytes.data(), 1, Bytes.size(), f);
    std::fclose(f);
}

// Items 100 ground (BANK 120), 101 item, 102 wall (BOTTOM, UNPASS), 103 ONBANK border.
inline void WriteObjects(const char* Name) {
    std::string B;
    auto U8 = [&](int v) { B.push_back(char(v & 0xFF)); };
    auto U16 = [&](int v) { U8(v); U8(v >> 8); };
    U16(1); U16(0);  // signature
    U16(103); U16(0); U16(0); U16(0);
    auto Record = [&] { U8(0xFF); for (int n = 0; n < 7; n++) U8(1); U16(1); };
    U8(0); U16(120); Record();   // ground
    Record();                    // item
    U8(2); U8(12); Record();     // wall
    U8(1); Record();             // border
    WriteBytes(Name, B);
}

}  // namespace benchworld
