// An automap area file from the player's disk: loading it ends in the area's
// planes and marks, or in one of the two corruption messages with the area
// reset or its planes kept; never in a crash, an assertion or a hang. What
// was loaded must survive a save: written back and read again it gives the
// same planes and the same live marks, with no message.
//
// The first input byte picks the form: even, the rest is the whole file (so
// short and broken planes are tried); odd, the planes are filled with the next
// two bytes and the rest follows them as the marks (so the mutations go to the
// marks instead of to 128 KiB of planes).
//
// Seeds: fuzz/seeds/automap (an area with marks in both forms).
#include "FuzzSupport.h"

#include "config/Script.h"
#include "world/Automap.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int BX = 1, BY = 2, BZ = 7;
constexpr int PLANE = AUTOMAP_AREA_SIZE * AUTOMAP_AREA_SIZE;
// The mark added and deleted to make the area dirty, inside the area.
constexpr int DIRTY_X = BX * AUTOMAP_AREA_SIZE + 17, DIRTY_Y = BY * AUTOMAP_AREA_SIZE + 33;

std::filesystem::path Folder;
int Messages = 0;
void CountMessage(const char*) { Messages++; }

struct Loaded {
    std::vector<uint8_t> Colour, Speed;
    std::vector<AutomapMark> Marks;  // the live ones, except at the dirty spot
};

Loaded Load() {
    InitAutomap();
    Loaded L;
    // Every speed, column by column as the path finder reads them; colours
    // one field in 61, which still sees any plane that moved or was reset.
    L.Speed.resize(PLANE);
    for (int x = 0; x < AUTOMAP_AREA_SIZE; x++)
        GetAutomapSpeedColumn(BX * AUTOMAP_AREA_SIZE + x, BY * AUTOMAP_AREA_SIZE, BZ, AUTOMAP_AREA_SIZE,
                              &L.Speed[size_t(x) * AUTOMAP_AREA_SIZE]);
    for (int i = 0; i < PLANE; i += 61)
        L.Colour.push_back(uint8_t(GetAutomapColour(BX * AUTOMAP_AREA_SIZE + i / AUTOMAP_AREA_SIZE,
                                                    BY * AUTOMAP_AREA_SIZE + i % AUTOMAP_AREA_SIZE, BZ)));
    std::vector<AutomapMark> Marks;
    int Count = 0;
    GetAutomapMarks(BX, BY, BZ, Marks, Count);
    if (Count != int(Marks.size())) std::abort();
    for (const AutomapMark& M : Marks) {
        if (M.Text.size() > AUTOMAP_MARK_LENGTH) std::abort();
        if ((M.x != 0 || M.y != 0) && !(M.x == DIRTY_X && M.y == DIRTY_Y)) L.Marks.push_back(M);
    }
    return L;
}

bool Same(const Loaded& A, const Loaded& B) {
    if (A.Colour != B.Colour || A.Speed != B.Speed || A.Marks.size() != B.Marks.size()) return false;
    for (size_t n = 0; n < A.Marks.size(); n++) {
        const AutomapMark &M = A.Marks[n], &N = B.Marks[n];
        if (M.x != N.x || M.y != N.y || M.Icon != N.Icon || M.Text != N.Text) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_support::Start();
    Folder = fuzz_support::TemporaryFile("automap");
    std::filesystem::create_directories(Folder);
    SetAutomapMessageHook(CountMessage);
    // Reaching the disk is not what is tried here, and would set the pace.
    SetFileSyncFunction([](int) { return 0; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    // The area files live in the working folder: a private one, entered only
    // while they are used, so that relative corpus paths still work.
    std::filesystem::path Previous = std::filesystem::current_path();
    std::filesystem::current_path(Folder);
    std::string Bytes;
    if (Size >= 3 && (Data[0] & 1) != 0) {
        Bytes.assign(PLANE, char(Data[1]));
        Bytes.append(PLANE, char(Data[2]));
        Bytes.append(reinterpret_cast<const char*>(Data) + 3, Size - 3);
    } else if (Size > 0) {
        Bytes.assign(reinterpret_cast<const char*>(Data) + 1, Size - 1);
    }
    std::string Name = GetAutomapFileName(BX, BY, BZ);
    if (std::FILE* File = std::fopen(Name.c_str(), "wb")) {
        std::fwrite(Bytes.data(), 1, Bytes.size(), File);
        std::fclose(File);
    }
    Messages = 0;
    Loaded First = Load();
    if (Messages > 1) std::abort();  // one message per load at most

    Coordinate Spot{DIRTY_X, DIRTY_Y, BZ};
    AddAutomapMark(Spot, "dirty", 0);
    DeleteAutomapMarks(DIRTY_X, DIRTY_Y, BZ);
    ExitAutomap();  // saves the area

    Messages = 0;
    Loaded Second = Load();
    if (Messages != 0 || !Same(First, Second)) std::abort();
    InitAutomap();
    std::remove(Name.c_str());
    std::filesystem::current_path(Previous);
    return 0;
}
