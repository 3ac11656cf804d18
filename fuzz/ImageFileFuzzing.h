// What the sprite and picture file fuzzers share: the smallest companion file
// each needs beside the one it mutates, the graphics set-up on the headless
// platform, and the check that a failure is the program's error for that file.
#pragma once

#include "FuzzSupport.h"

#include "core/ProgramError.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace image_fuzzing {

inline void U8(std::string& B, int v) { B.push_back(char(v & 0xFF)); }
inline void U16(std::string& B, int v) {
    U8(B, v);
    U8(B, v >> 8);
}
inline void U32(std::string& B, uint32_t v) {
    U16(B, int(v & 0xFFFF));
    U16(B, int(v >> 16));
}

// Pictures 1 to 8, the fonts' pictures (3, 5, 6, 8) just large enough for
// their glyph cells; every tile points at one block of empty pixel data.
inline std::string SmallestPictureFile() {
    const int Tiles[8][2] = {{1, 1}, {1, 1}, {8, 4}, {1, 1}, {16, 4}, {8, 2}, {1, 1}, {8, 4}};
    size_t Head = 6;
    for (const auto& T : Tiles) Head += 5 + 4 * size_t(T[0] * T[1]);
    std::string B;
    U32(B, 0x50494331);
    U16(B, 8);
    for (const auto& T : Tiles) {
        U8(B, T[0]);
        U8(B, T[1]);
        U8(B, 255), U8(B, 0), U8(B, 255);
        for (int n = 0; n < T[0] * T[1]; n++) U32(B, uint32_t(Head));
    }
    U16(B, 0);  // the shared tile: no runs, all key
    return B;
}

// A sprite file without sprites.
inline std::string SmallestSpriteFile() {
    std::string B;
    U32(B, 0x53505231);
    U16(B, 0);
    return B;
}

inline void WriteWholeFile(const char* Name, const void* Data, size_t Size) {
    if (std::FILE* File = std::fopen(Name, "wb")) {
        std::fwrite(Data, 1, Size, File);
        std::fclose(File);
    }
}

// The graphics module reads Vorna.spr and Vorna.pic from the working folder:
// each fuzzing process gets a folder of its own, entered only while the
// module reads, so that relative corpus paths on the command line still work.
class InFolder {
  public:
    InFolder() : Previous(std::filesystem::current_path()) { std::filesystem::current_path(Folder()); }
    ~InFolder() { std::filesystem::current_path(Previous); }
    static const std::filesystem::path& Folder() {
        static const std::filesystem::path Path = fuzz_support::TemporaryFile("graphics");
        return Path;
    }

  private:
    std::filesystem::path Previous;
};

// The module is started once on the smallest files; each input then replaces
// one of them and is read the way a file replaced by an update is, through
// the module's reload.
inline void Start() {
    fuzz_support::Start();
    std::filesystem::create_directories(InFolder::Folder());
    InFolder Here;
    std::string Sprites = SmallestSpriteFile(), Pictures = SmallestPictureFile();
    WriteWholeFile("Vorna.spr", Sprites.data(), Sprites.size());
    WriteWholeFile("Vorna.pic", Pictures.data(), Pictures.size());
    platform::CreateWindow("fuzz", -1, -1, 640, 480, false);
    SetSurfaceMemoryBudgets(SIZE_MAX, SIZE_MAX);
    InitSurface();
    CreateSurfaces(WINDOWED_MODE, NULL);
    // A small memory cache, so that a few sprites or tiles already evict.
    InitGraphics(16 * IMAGE_BYTES);
}

// A failure must be one of the two errors that belong to the file.
inline void ExpectError(PROGRAM_ERROR Code, int Loading, int Decoding) {
    if (Code != Loading && Code != Decoding) std::abort();
    if (GetErrorMessage(Code) == nullptr || GetErrorMessage(Code)[0] == '\0') std::abort();
}

}  // namespace image_fuzzing
