// The automap cache. Sections: slots and the recency list; files; queries;
// marks.
#include "world/Automap.h"

#include "config/Script.h"
#include "core/Assert.h"
#include "world/Map.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

constexpr int PLANE = AUTOMAP_AREA_SIZE * AUTOMAP_AREA_SIZE;

struct Area {
    int bx = -1, by = -1, bz = -1;
    int Previous = -1, Next = -1;
    uint8_t Colour[PLANE];
    uint8_t Speed[PLANE];
    bool Dirty = false;
    std::vector<AutomapMark> Marks;
    int MarkCount = 0;
};

Area Slots[AUTOMAP_AREAS];
int Front = 0, Back = AUTOMAP_AREAS - 1;  // ends of the recency list
bool Changed = false;
AutomapMessageHook MessageHook = nullptr;

void ShowMessage(const char* Format, const std::string& FileName) {
    char Text[300];
    std::snprintf(Text, sizeof Text, Format, FileName.c_str());
    if (MessageHook != nullptr) MessageHook(Text);
}

void ResetPlanes(Area& A) {
    std::memset(A.Colour, 0, PLANE);
    std::memset(A.Speed, AUTOMAP_UNSEEN_SPEED, PLANE);
}

void MoveToFront(int Slot) {
    if (Slot == Front) return;
    Area& A = Slots[Slot];
    // unlink
    if (A.Previous != -1) Slots[A.Previous].Next = A.Next;
    if (A.Next != -1) Slots[A.Next].Previous = A.Previous;
    if (Slot == Back) Back = A.Previous;
    // link at the head
    A.Previous = -1;
    A.Next = Front;
    Slots[Front].Previous = Slot;
    Front = Slot;
}

// Writes the area to a temporary file and puts it in place of the old file
// only when it is complete and on the disk, so neither a failed write nor a
// power cut destroys a good map.
void SaveSlot(Area& A) {
    if (A.bx == -1 || !A.Dirty) {
        A.Dirty = false;
        return;
    }
    A.Dirty = false;
    std::string FileName = GetAutomapFileName(A.bx, A.by, A.bz);
    std::string Temporary = FileName + ".tmp";
    WriteBinaryFile File;
    bool Created = false;
    try {
        File.open(Temporary.c_str());
        Created = true;
        File.writeBytes(A.Colour, PLANE);
        File.writeBytes(A.Speed, PLANE);
        uint32_t Count = 0;
        for (int n = 0; n < A.MarkCount; n++)
            if (A.Marks[n].x != 0 || A.Marks[n].y != 0) Count++;
        File.writeQuad(Count);
        for (int n = 0; n < A.MarkCount; n++) {
            const AutomapMark& M = A.Marks[n];
            if (M.x == 0 && M.y == 0) continue;
            File.writeQuad(static_cast<uint32_t>(M.x));
            File.writeQuad(static_cast<uint32_t>(M.y));
            File.writeQuad(static_cast<uint32_t>(M.Icon));
            File.writeString(M.Text);
        }
        File.sync();
        File.close();
    } catch (const ScriptError&) {
        if (File.isOpen()) {
            try {
                File.close();
            } catch (const ScriptError&) {
            }
        }
        std::error_code Ignored;
        if (Created) std::filesystem::remove(Temporary, Ignored);
        return;  // the area's changes are lost, the old file stays
    }
    MoveIntoPlace(Temporary, FileName);
}

void LoadSlot(Area& A, int bx, int by, int bz) {
    A.bx = bx;
    A.by = by;
    A.bz = bz;
    A.Dirty = false;
    for (AutomapMark& M : A.Marks) M.x = M.y = 0;
    A.MarkCount = 0;
    std::string FileName = GetAutomapFileName(bx, by, bz);
    ReadBinaryFile File;
    try {
        File.open(FileName.c_str());
    } catch (const ScriptError&) {
        ResetPlanes(A);
        return;
    }
    try {
        File.readBytes(A.Colour, PLANE);
        File.readBytes(A.Speed, PLANE);
    } catch (const ScriptError&) {
        ShowMessage("Map file '%s' was corrupted!", FileName);
        ResetPlanes(A);
        return;
    }
    try {
        if (File.eof()) {
            File.close();
            return;
        }
        uint32_t Count = File.readQuad();
        for (uint32_t n = 0; n < Count; n++) {
            AutomapMark M;
            M.x = static_cast<int>(File.readQuad());
            M.y = static_cast<int>(File.readQuad());
            M.Icon = static_cast<int>(File.readQuad());
            M.Text = File.readString();
            if (M.Text.size() > AUTOMAP_MARK_LENGTH) M.Text.resize(AUTOMAP_MARK_LENGTH);
            // The marks read so far stay when a later one is damaged.
            if (A.MarkCount < int(A.Marks.size()))
                A.Marks[A.MarkCount] = M;
            else
                A.Marks.push_back(M);
            A.MarkCount++;
        }
        File.close();
    } catch (const ScriptError&) {
        ShowMessage("Map file '%s' was corrupted, could not load marks!", FileName);
    }
}

Area* Lookup(int x, int y, int z) {
    if (x < 0 || y < 0) return nullptr;
    return &Slots[GetAutomapArea(x / AUTOMAP_AREA_SIZE, y / AUTOMAP_AREA_SIZE, z)];
}

}  // namespace

// ---- Slots and the recency list ----------------------------------------------------

void SetAutomapMessageHook(AutomapMessageHook Hook) { MessageHook = Hook; }

void InitAutomap() {
    for (int n = 0; n < AUTOMAP_AREAS; n++) {
        Area& A = Slots[n];
        A.bx = A.by = A.bz = -1;
        A.Previous = n - 1;
        A.Next = n + 1 < AUTOMAP_AREAS ? n + 1 : -1;
        A.Dirty = false;
        A.Marks.clear();
        A.MarkCount = 0;
    }
    Front = 0;
    Back = AUTOMAP_AREAS - 1;
    Changed = false;
}

void ExitAutomap() {
    SaveAutomap();
    InitAutomap();
}

int GetAutomapArea(int bx, int by, int bz) {
    ASSERT(bx>=0 && by>=0 && bz>=0);
    if (!(bx >= 0 && by >= 0 && bz >= 0)) bx = by = bz = 0;
    // The area asked for is nearly always the one asked for last.
    if (Slots[Front].bx == bx && Slots[Front].by == by && Slots[Front].bz == bz) return Front;
    int Slot = Front;
    while (Slot != -1 && !(Slots[Slot].bx == bx && Slots[Slot].by == by && Slots[Slot].bz == bz))
        Slot = Slots[Slot].Next;
    if (Slot == -1) {
        Slot = Back;
        SaveSlot(Slots[Slot]);
        LoadSlot(Slots[Slot], bx, by, bz);
    }
    MoveToFront(Slot);
    return Slot;
}

std::string GetAutomapFileName(int bx, int by, int bz) {
    char Name[64];
    std::snprintf(Name, sizeof Name, "%03d%03d%02d.map", bx, by, bz);
    return Name;
}

void SaveAutomap() {
    for (Area& A : Slots) SaveSlot(A);
}

void GetAutomapCacheOrder(int Order[AUTOMAP_AREAS]) {
    int n = 0;
    for (int Slot = Front; Slot != -1 && n < AUTOMAP_AREAS; Slot = Slots[Slot].Next) Order[n++] = Slot;
    while (n < AUTOMAP_AREAS) Order[n++] = -1;
}

void GetAutomapSlotArea(int Slot, int& bx, int& by, int& bz) {
    ASSERT(In(Slot,0,AUTOMAP_AREAS-1));
    if (!In(Slot, 0, AUTOMAP_AREAS - 1)) Slot = 0;
    bx = Slots[Slot].bx;
    by = Slots[Slot].by;
    bz = Slots[Slot].bz;
}

bool GetAutomapChanged() {
    bool Result = Changed;
    Changed = false;
    return Result;
}

// ---- Queries -----------------------------------------------------------------------

void StoreAutomapField(int rx, int ry) {
    int L = GetPlayerLevel();
    int Colour, Speed;
    GetAutomapSample(rx, ry, L, Colour, Speed);
    int x = rx, y = ry, z = L;
    CubeToAbsolute(x, y, z);
    if (!In(z, 0, 15)) return;
    Area* A = Lookup(x, y, z);
    if (A == nullptr) return;
    int i = GetAutomapIndex(x, y);
    A->Colour[i] = static_cast<uint8_t>(Colour);
    A->Speed[i] = static_cast<uint8_t>(Speed);
    A->Dirty = true;
    Changed = true;
}

int GetAutomapColour(int x, int y, int z) {
    ASSERT(In(z,0,15));
    if (x < 0 || y < 0 || !In(z, 0, 15)) return 0;
    return Lookup(x, y, z)->Colour[GetAutomapIndex(x, y)];
}

bool IsAutomapImpassable(int x, int y, int z) {
    ASSERT(In(z,0,15));
    if (x < 0 || y < 0 || !In(z, 0, 15)) return true;
    return Lookup(x, y, z)->Speed[GetAutomapIndex(x, y)] == AUTOMAP_BLOCKED;
}

int GetAutomapSpeed(int x, int y, int z) {
    ASSERT(In(z,0,15));
    if (x < 0 || y < 0 || !In(z, 0, 15)) return 1;
    return Lookup(x, y, z)->Speed[GetAutomapIndex(x, y)];
}

void GetAutomapSpeedColumn(int x, int y, int z, int Count, uint8_t* Speeds) {
    ASSERT(In(z,0,15));
    if (x < 0 || !In(z, 0, 15)) {
        std::memset(Speeds, 1, size_t(Count > 0 ? Count : 0));
        return;
    }
    while (Count > 0) {
        if (y < 0) {
            *Speeds++ = 1;
            y++;
            Count--;
            continue;
        }
        // fields of one column inside one area are consecutive in the plane
        int Run = AUTOMAP_AREA_SIZE - y % AUTOMAP_AREA_SIZE;
        if (Run > Count) Run = Count;
        const Area* A = Lookup(x, y, z);
        std::memcpy(Speeds, A->Speed + GetAutomapIndex(x, y), size_t(Run));
        Speeds += Run;
        y += Run;
        Count -= Run;
    }
}

// ---- Marks --------------------------------------------------------------------------

void GetAutomapMarks(int bx, int by, int bz, std::vector<AutomapMark>& Destination, int& Count) {
    int z = bz;
    ASSERT(In(z,0,15));
    if (bx < 0 || by < 0 || !In(z, 0, 15)) return;
    const Area& A = Slots[GetAutomapArea(bx, by, bz)];
    Destination.assign(A.Marks.begin(), A.Marks.begin() + A.MarkCount);
    Count = A.MarkCount;
}

void AddAutomapMark(const Coordinate& Coordinate, const char* Text, int Icon) {
    ASSERT(Text!=NULL);
    ASSERT(Coordinate.x>0);
    ASSERT(Coordinate.y>0);
    if (Text == NULL || Coordinate.x <= 0 || Coordinate.y <= 0) return;
    Area* A = Lookup(Coordinate.x, Coordinate.y, Coordinate.z);
    AutomapMark M;
    M.x = Coordinate.x;
    M.y = Coordinate.y;
    M.Icon = Icon;
    M.Text.assign(Text, strnlen(Text, AUTOMAP_MARK_LENGTH));
    if (A->MarkCount < int(A->Marks.size()))
        A->Marks[A->MarkCount] = M;
    else
        A->Marks.push_back(M);
    A->MarkCount++;
    A->Dirty = true;
    Changed = true;
}

void DeleteAutomapMarks(int x, int y, int z) {
    Area* A = Lookup(x, y, z);
    if (A == nullptr) return;
    for (int n = 0; n < A->MarkCount; n++)
        if (A->Marks[n].x == x && A->Marks[n].y == y) A->Marks[n].x = A->Marks[n].y = 0;
    A->Dirty = true;
    Changed = true;
}
