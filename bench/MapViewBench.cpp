// Drawing speed of the map view in a busy scene at 1920 x 1080: every floor
// of the cube in use (streets, gardens, a pond and houses of one to seven
// storeys under their roofs, with walls, furniture, torches and street
// lamps), light effects on at night, 20 creatures walking around the player,
// graphic effects, rising texts, missiles and 10 text boxes.
//
//   BM_MemcpyFrame      a plain memcpy of the frame's bytes (1920 x 1080 x 4),
//                       the yardstick of the two below
//   BM_MapViewStill     the player stands: the prepared cells are reused
//   BM_MapViewWalking   the player walks 4 fields east and back, again and
//                       again, 4 pixels a frame (a step every 8 frames), the
//                       walkers along with him: each step brings a column of
//                       cells not prepared. The cube is filled anew for each
//                       new position outside the measured time, as the
//                       server's map messages would fill it.
//
// A frame is what a map window over the whole screen draws: DrawMapView
// (the picture scaled 3 times, 1440 x 1056, in the middle; the margins are
// the window's and not drawn here), the rising texts, the text boxes (laid
// out again when they or the player's field changed). The counters: x_memcpy, the frame's wall time as a multiple
// of the memcpy's in the same run (memcpy_ms); x_memcpy_cpu, the same in the
// thread's processor time; composed_cells, the cells composed anew per frame
// (in the still scene only where a walker or a missile passes).
//
// The generated data files are taken from VORNA_DATA_DIR, else from the
// build directory above the program. VORNA_BENCH_PNG=<file> keeps the first
// frame as a picture.
#include "BenchData.h"
#include "config/Preferences.h"
#include "graphics/MapView.h"
#include "graphics/Surface.h"
#include "graphics/Talk.h"
#include "graphics/graphics.h"
#include "platform/Platform.h"
#include "world/Creatures.h"
#include "world/Map.h"
#include "world/Objects.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "world/TypeNumbers.h"

namespace {

constexpr int FRAME_WIDTH = 1920, FRAME_HEIGHT = 1080;
// The player starts on (HOME_X, HOME_Y), a street of the ground floor; when
// he walks, it is WALK_STEPS fields east and back, again and again.
constexpr int HOME_X = 1003, HOME_Y = 1002, HOME_Z = 7;
constexpr int WALK_STEPS = 4;
constexpr int WALKERS = 20;
constexpr int STEP_FRAMES = 8;
constexpr int FRAME_MILLISECONDS = 16;
constexpr uint32_t PLAYER_ID = 0x10000001;
constexpr uint32_t FIRST_WALKER_ID = FIRST_NONPLAYER_ID + 1;

uint32_t Clock = 100000;  // the game clock in milliseconds, moved by the frames
uint32_t Frame = 0;
bool Walking = false;
int StepsTaken = 0;
int StepDirection = 0;  // of the player: +1 east, -1 west, 0 standing

// Wall time, and the thread's processor time, which other programs on a
// shared machine do not disturb as much.
struct Stopwatch {
    static double Thread() {
        timespec t;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
    }
    std::chrono::steady_clock::time_point WallStart = std::chrono::steady_clock::now();
    double ThreadStart = Thread();
    double Wall() const {
        return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - WallStart).count();
    }
    double Processor() const { return Thread() - ThreadStart; }
};

int Mod(int a, int b) { return ((a % b) + b) % b; }
int FloorDiv(int a, int b) { return (a - Mod(a, b)) / b; }

uint32_t Hash(int x, int y, int z) {
    uint32_t h = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ uint32_t(z) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

// ---- The world ---------------------------------------------------------------------
// Blocks of 7 x 6 fields: a street along the north and west edge, a house
// (or a pond) of 5 x 4 fields, a garden along the east and south edge.

constexpr int BLOCK_WIDTH = 7, BLOCK_HEIGHT = 6;

struct FieldList {
    ObjectInstance Objects[OBJECTS_PER_POINT];
    int Count = 0;
    // Two places stay free for creatures.
    void Add(int Type, uint32_t Data = 0) {
        if (Count < OBJECTS_PER_POINT - 2) Objects[Count++] = ObjectInstance{Type, Data, 0};
    }
};

// Storeys above the ground floor, the top one being the roof; 0 for a pond.
// Mostly low houses; in the row of blocks south of the player's three towers
// whose upper floors are seen around him, up to the top floor of the cube.
int BlockHeight(int BlockX, int BlockY) {
    const int East = BlockX - FloorDiv(HOME_X, BLOCK_WIDTH);
    if (BlockY == FloorDiv(HOME_Y, BLOCK_HEIGHT) + 1 && East >= 0 && East <= 2) return East == 0 ? 5 : 8 - East;
    static const int Heights[8] = {1, 2, 1, 3, 4, 2, 1, 3};
    const uint32_t h = Hash(BlockX, BlockY, 99);
    if (h % 6 == 0) return 0;
    return Heights[h / 6 % 8];
}

// Nothing is built straight above the player's way, nor over it as it is
// seen (a floor d up shows over the field d columns and rows to its north-
// west): the floors above him are drawn wherever he stands.
bool OverTheWay(int ax, int ay, int az) {
    const int d = HOME_Z - az;
    if (d < 1) return false;
    const int x = ax - HOME_X, y = ay - HOME_Y;
    if (x >= -1 && x <= WALK_STEPS + 1 && y >= -1 && y <= 1) return true;
    return x - d >= -2 && x - d <= WALK_STEPS + 2 && y - d >= -1 && y - d <= 1;
}

void Furnish(FieldList& F, int bx, int by, int Storey, uint32_t h) {
    // Walls along the south and east edge, with a door, windows and a torch.
    if (bx == 5 && by == 4)
        F.Add(Storey == 0 ? TYPE_STONE_WALL_CORNER : TYPE_TIMBER_WALL_CORNER);
    else if (by == 4)
        F.Add(bx == 3 && Storey == 0 ? TYPE_DOOR_H_OPEN
              : bx == 1              ? TYPE_WINDOW_H
                                     : (Storey == 0 ? TYPE_STONE_WALL_H : TYPE_TIMBER_WALL_H));
    else if (bx == 5)
        F.Add(by == 2 ? TYPE_WINDOW_V : (Storey == 0 ? TYPE_STONE_WALL_V : TYPE_TIMBER_WALL_V));
    if (by == 4 && bx == 2 && Storey % 2 == 0) F.Add(TYPE_WALL_TORCH);
    if (bx == 2 && by == 2) {
        F.Add(TYPE_TABLE);
        if (Storey % 2)
            F.Add(TYPE_BREAD);
        else
            F.Add(TYPE_MUG, LIQUID_BEER);
        F.Add(TYPE_LAMP);
    }
    if (bx == 3 && by == 2) F.Add(TYPE_CHAIR_W);
    if (bx == 1 && by == 2) F.Add(TYPE_CHAIR_E);
    if (bx == 4 && by == 1) F.Add(Storey % 2 ? TYPE_CHEST : TYPE_DEPOT_BOX);
    if (bx == 1 && by == 1) {
        F.Add(TYPE_BARREL);
        F.Add(TYPE_APPLE, 1);
    }
    if (bx == 4 && by == 3) {
        F.Add(TYPE_CRATE);
        F.Add(TYPE_GOLD_COIN, 1 + h % 100);
    }
    if (bx == 3 && by == 1) F.Add(h % 2 ? TYPE_BOOK : TYPE_SCROLL);
    if (bx == 1 && by == 3 && h % 3 == 0) F.Add(TYPE_POOL, LIQUID_WINE);
}

void Street(FieldList& F, int bx, int by, int BlockX, int BlockY, uint32_t h) {
    F.Add(TYPE_COBBLESTONE);
    // Grass of the gardens to the north and west grows over the edge.
    if (bx == 0 && by == 0)
        F.Add(TYPE_GRASS_BORDER_NW);
    else if (by == 0 && bx != 6)
        F.Add(TYPE_GRASS_BORDER_N);
    else if (bx == 0 && by != 5)
        F.Add(TYPE_GRASS_BORDER_W);
    if (bx == 0 && by == 0 && (BlockX + BlockY) % 2 == 0) F.Add(TYPE_STREET_LAMP);
    if (h % 11 == 0) F.Add(TYPE_PEBBLES);
    if (h % 13 == 1) F.Add(TYPE_GOLD_COIN, 1 + h % 60);
    if (h % 17 == 2) F.Add(TYPE_POOL, LIQUID_BLOOD);
    if (h % 19 == 3) F.Add(TYPE_ARROW, 1 + h % 30);
}

void Garden(FieldList& F, int bx, int by, int BlockX, int BlockY, uint32_t h) {
    F.Add(TYPE_GRASS);
    if (bx == 6 && by == 3)
        F.Add((BlockX + BlockY) % 2 ? TYPE_OAK : TYPE_PINE);
    else if (bx == 6 && by == 5 && (BlockX + 2 * BlockY) % 3 == 0)
        F.Add(TYPE_CAMPFIRE);
    else if (h % 5 == 0)
        F.Add(TYPE_FLOWERS);
    else if (h % 7 == 1)
        F.Add(TYPE_BUSH);
    else if (h % 9 == 2)
        F.Add(TYPE_ROCK);
    else if (h % 23 == 3)
        F.Add(TYPE_FIRE_FIELD);
    if (h % 6 == 4) F.Add(TYPE_PEBBLES);
    if (h % 29 == 5) F.Add(TYPE_TORCH);
}

void Pond(FieldList& F, int bx, int by, uint32_t h) {
    F.Add(TYPE_WATER);
    if (by == 1) F.Add(TYPE_SHORE_N);
    if (bx == 1) F.Add(TYPE_SHORE_W);
    if ((bx == 5 || by == 4) && h % 2 == 0) F.Add(TYPE_REEDS);
}

void WorldField(int ax, int ay, int az, FieldList& F) {
    const int bx = Mod(ax, BLOCK_WIDTH), by = Mod(ay, BLOCK_HEIGHT);
    const int BlockX = FloorDiv(ax, BLOCK_WIDTH), BlockY = FloorDiv(ay, BLOCK_HEIGHT);
    const uint32_t h = Hash(ax, ay, az);
    const bool Footprint = bx >= 1 && bx <= 5 && by >= 1 && by <= 4;
    const int Height = BlockHeight(BlockX, BlockY);
    if (az == HOME_Z) {
        if (bx == 0 || by == 0)
            Street(F, bx, by, BlockX, BlockY, h);
        else if (!Footprint)
            Garden(F, bx, by, BlockX, BlockY, h);
        else if (Height == 0)
            Pond(F, bx, by, h);
        else {
            F.Add(TYPE_WOODEN_FLOOR);
            Furnish(F, bx, by, 0, h);
        }
        return;
    }
    const int Storey = HOME_Z - az;
    if (!Footprint || Storey > Height || OverTheWay(ax, ay, az)) return;
    if (Storey == Height) {
        F.Add(by == 2 ? TYPE_ROOF_RIDGE : TYPE_ROOF);
        return;
    }
    F.Add(TYPE_WOODEN_FLOOR);
    Furnish(F, bx, by, Storey, h);
}

// ---- Creatures, effects, texts ---------------------------------------------------------

// Where the walkers stand, relative to (HOME_X, HOME_Y).
const int WalkerPlace[WALKERS][2] = {{-2, 0}, {3, 0},  {-4, 1}, {2, 2},  {-1, -2}, {4, -1}, {-5, -1},
                                     {1, -3}, {-3, 3}, {5, 2},  {0, 3},  {-6, 2},  {6, -2}, {-2, -3},
                                     {3, 3},  {-4, -3}, {2, -1}, {-1, 1}, {5, 4},  {-6, -4}};
const char* const Sayings[] = {
    "Fresh bread and cheese, two coins a loaf, come and try!",
    "Has anyone seen my chicken? It ran off toward the pond.",
    "The wolves in the northern woods grow bolder every night.",
    "Meet me at the depot after sunset, bring the key.",
    "Selling a fine iron shield, barely scratched, make an offer.",
    "The lamps on this street burn all night long.",
    "Watch out, there are rats in the cellar of the stone house!",
    "I will trade three healing runes for a good bow.",
    "Who left a campfire burning in the garden again?",
    "Welcome to the village, traveller. Rest by the fire.",
};

void MakeCreature(uint32_t ID, const char* Name, int x, int y, int Outfit, int Light) {
    Creature* C = NewCreature(0, ID);
    std::snprintf(C->Name, CREATURE_NAME_LENGTH, "%s", Name);
    SetCreaturePosition(C, x, y, HOME_Z);
    C->Outfit = Outfit;
    for (int i = 0; i < 4; ++i) C->Colours[i] = int((ID * 7 + uint32_t(i) * 31) % 133);
    C->Health = 100;
    C->Speed = 220;
    C->Visible = true;
    C->LightIntensity = Light;
    C->LightColour = 208;
}

void MakeCreatures() {
    ResetCreatures();
    MakeCreature(PLAYER_ID, "Mira", HOME_X, HOME_Y, OUTFIT_KNIGHT, 0);
    SetPlayerID(PLAYER_ID);
    for (int i = 0; i < WALKERS; ++i) {
        char Name[CREATURE_NAME_LENGTH];
        std::snprintf(Name, sizeof Name, "Walker %d", i + 1);
        MakeCreature(FIRST_WALKER_ID + i, Name, HOME_X + WalkerPlace[i][0], HOME_Y + WalkerPlace[i][1],
                     i % NUMBER_OF_OUTFITS + 1, i % 7 == 3 ? 4 : 0);
    }
}

// Ten speakers at their fields; none of the boxes expire (no timer runs).
void MakeTalk() {
    ResetTalk();
    for (int i = 0; i < TALKBOXES; ++i) {
        const Creature* C = FindCreature(FIRST_WALKER_ID + i);
        TalkSay(i % 3 == 2 ? TALK_YELL : TALK_SAY, C->Name, C->RealX, C->RealY, C->RealZ, Sayings[i]);
    }
}

void AddMissiles() {
    const int L = GetPlayerLevel();
    AddMissile(3, 3, L, 12, 9, L, MISSILE_FIREBALL);
    AddMissile(14, 4, L, 5, 8, L, MISSILE_ENERGY);
    AddMissile(6, 10, L, 11, 2, L, MISSILE_ARROW);
}

bool MissileFlying() {
    for (int n = 0; n < EFFECTS; ++n)
        if (GetEffectStatus(n) == EFFECT_MISSILE) return true;
    return false;
}

// Fills the cube for the current map position: the world, the creatures,
// graphic effects, rising texts and missiles.
void FillCube() {
    ClearMap();
    for (int rz = 0; rz < MAPSIZE_Z; ++rz)
        for (int ry = 0; ry < MAPSIZE_Y; ++ry)
            for (int rx = 0; rx < MAPSIZE_X; ++rx) {
                int ax = rx, ay = ry, az = rz;
                CubeToAbsolute(ax, ay, az);
                FieldList F;
                WorldField(ax, ay, az, F);
                if (F.Count > 0) AppendFieldObjects(rx, ry, rz, F.Objects, F.Count);
            }
    for (int i = 0; i < CREATURES; ++i) {
        const Creature* C = GetCreatureRecord(i);
        if (C->ID == 0) continue;
        int rx = C->RealX, ry = C->RealY, rz = C->RealZ;
        AbsoluteToCube(rx, ry, rz);
        InsertFieldObject(rx, ry, rz, CREATURE, C->ID);
    }
    static const int Graphic[6][3] = {{EFFECT_FIRE, -3, 1},     {EFFECT_SPARKLES, 2, -2}, {EFFECT_ENERGY, 4, 1},
                                      {EFFECT_HEAL, -1, -1},    {EFFECT_EXPLOSION, 1, 3}, {EFFECT_ICE, -5, 3}};
    static const char* const Texts[4] = {"123", "+25", "-40", "Miss"};
    int px = HOME_X, py = HOME_Y, pz = HOME_Z;
    AbsoluteToCube(px, py, pz);
    for (const auto& G : Graphic) AddGraphicEffect(px + G[1], py + G[2], pz, G[0]);
    for (int i = 0; i < 4; ++i) AddTextEffect(px - 2 + 2 * i, py + 1 - i, pz, 30 + 60 * i, Texts[i]);
    AddMissiles();
}

// Every walker keeps stepping into its field from a neighbour, 4 pixels a
// frame; the player walks when StepDirection says so.
void MoveCreatures() {
    for (int i = 0; i < WALKERS; ++i) {
        Creature* C = FindCreature(FIRST_WALKER_ID + i);
        static const int Steps[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
        const int Direction = i % 4;
        const int Left = 32 - int((Frame * 4 + uint32_t(i) * 7) % 32);
        C->DeltaX = -Steps[Direction][0] * Left;
        C->DeltaY = -Steps[Direction][1] * Left;
        C->Walking = true;
        C->Direction = C->ShownDirection = Direction;
        C->StepEnd = Clock + 1000;
    }
    Creature* P = FindCreature(PLAYER_ID);
    if (StepDirection == 0) {
        P->DeltaX = P->DeltaY = 0;
        P->Walking = false;
        return;
    }
    P->DeltaX = -StepDirection * (32 - 4 * int(Frame % STEP_FRAMES));
    P->Walking = true;
    P->Direction = P->ShownDirection = StepDirection > 0 ? 1 : 3;
    P->StepEnd = Clock + 1000;
}

// ---- Set-up -------------------------------------------------------------------------

std::string SetUpError;

void SetUpOnce() {
    static bool Done = false;
    if (Done) return;
    Done = true;
    const std::filesystem::path Data = DataDir();
    const auto Dir = std::filesystem::temp_directory_path() / ("vorna-bench-mapview-" + std::to_string(getpid()));
    std::filesystem::create_directories(Dir);
    for (const char* Name : {"Vorna.dat", "Vorna.spr", "Vorna.pic"}) {
        std::error_code Error;
        std::filesystem::copy_file(Data / Name, Dir / Name, std::filesystem::copy_options::overwrite_existing, Error);
        if (Error) {
            SetUpError = (Data / Name).string() + " not found: build vorna-data or set VORNA_DATA_DIR";
            return;
        }
    }
    std::filesystem::current_path(Dir);

    platform::Init(platform::Backend::Headless);
    platform::SetClockOverride([] { return Clock; });
    platform::headless::SetScreenSize(FRAME_WIDTH, FRAME_HEIGHT);
    platform::CreateWindow("bench", -1, -1, FRAME_WIDTH, FRAME_HEIGHT, false);
    SetPreferencesPath((Dir / "Vorna.cfg").string());
    LoadPreferences();
    SetLightEffects(true);
    SetTextualEffects(true);
    SetNoStretching(0);
    InitSurface();
    CreateSurfaces(WINDOWED_MODE, NULL);
    InitGraphics(MEMORY_CACHE_BYTES);
    SetFrameSleep([](int) {});
    SetAnimationClockSource([] { return Clock / 100; });
    LoadObjects("Vorna.dat");
    InitCreatures();
    InitMap(nullptr);
    InitTalk();
    SetMapPosition(HOME_X, HOME_Y, HOME_Z);
    SetAmbientLight(40, 215);  // the server's night
    MakeCreatures();
}

// ---- The frame ------------------------------------------------------------------------

int LaidOutX = -1, LaidOutY = -1;

void DrawFrame() {
    DrawMapView(SCREEN_SURFACE, 0, 0, FRAME_WIDTH, FRAME_HEIGHT);
    const MapPicture P = GetMapPicture(FRAME_WIDTH, FRAME_HEIGHT);
    for (int n = 0; n < GetNumberOfAnimatedTexts(); ++n) {
        int x, y, Colour;
        const char* Text;
        if (GetAnimatedText(n, x, y, Colour, Text))
            DrawAnimatedText(SCREEN_SURFACE, P.x, P.y, P.Width, P.Height, x, y, Colour, Text, false);
    }
    int mx, my, mz;
    GetMapPosition(mx, my, mz);
    if (TalkboxesChanged() || mx != LaidOutX || my != LaidOutY) {
        LayoutTalk(P.Width, P.Height, false);
        LaidOutX = mx, LaidOutY = my;
    }
    int WalkX, WalkY;
    GetWalkingOffset(WalkX, WalkY);
    DrawTalk(SCREEN_SURFACE, P.x, P.y, P.Width, P.Height, WalkX, WalkY, false);
}

// Every creature in its place, the player standing, the cube filled.
void ResetScene() {
    Frame = 0;
    StepsTaken = 0;
    StepDirection = 0;
    SetMapPosition(HOME_X, HOME_Y, HOME_Z);
    SetCreaturePosition(FindCreature(PLAYER_ID), HOME_X, HOME_Y, HOME_Z);
    for (int i = 0; i < WALKERS; ++i)
        SetCreaturePosition(FindCreature(FIRST_WALKER_ID + i), HOME_X + WalkerPlace[i][0],
                            HOME_Y + WalkerPlace[i][1], HOME_Z);
    FillCube();
    MakeTalk();
}

// The player and the walkers with him step a field east or west. The cube
// is filled for the new position, as the server's map messages would do it,
// and the speakers say their lines again from where they now stand.
void Step() {
    StepDirection = StepsTaken / WALK_STEPS % 2 == 0 ? 1 : -1;
    ++StepsTaken;
    int x, y, z;
    GetMapPosition(x, y, z);
    SetMapPosition(x + StepDirection, y, z);
    for (int i = 0; i < CREATURES; ++i) {
        Creature* C = GetCreatureRecord(i);
        if (C->ID != 0) SetCreaturePosition(C, C->RealX + StepDirection, C->RealY, C->RealZ);
    }
    FillCube();
    MakeTalk();
}

// The world moves on by one frame; a walking player starts a step every
// STEP_FRAMES frames.
void NextFrame() {
    ++Frame;
    Clock += FRAME_MILLISECONDS;
    if (Walking && Frame % STEP_FRAMES == 0)
        Step();
    else if (!MissileFlying())
        AddMissiles();
    MoveCreatures();
}

// The scene must really be drawn: all floors, every creature, every box,
// light and colour on the screen.
std::string CheckFrame() {
    char Text[160];
    if (!IsLightPathAvailable()) return "the light path failed its self-test";
    if (GetHighestDrawnFloor() != MAPSIZE_Z - 1) {
        std::snprintf(Text, sizeof Text, "highest drawn floor %d instead of 7", GetHighestDrawnFloor());
        return Text;
    }
    for (int rz = 0; rz < MAPSIZE_Z; ++rz) {
        int Built = 0;
        for (int ry = 0; ry < MAPSIZE_Y; ++ry)
            for (int rx = 0; rx < MAPSIZE_X; ++rx) Built += GetObjectCount(rx, ry, rz) > 0 ? 1 : 0;
        if (Built < 8) {
            std::snprintf(Text, sizeof Text, "only %d fields of floor %d hold something", Built, rz);
            return Text;
        }
    }
    if (GetNumberOfShownCreatures() != WALKERS + 1) {
        std::snprintf(Text, sizeof Text, "%d creatures shown instead of %d", GetNumberOfShownCreatures(), WALKERS + 1);
        return Text;
    }
    int Placed = 0;
    for (int n = 1; n <= GetNumberOfTalkboxes(); ++n) Placed += GetTalkbox(n).Placed ? 1 : 0;
    if (Placed != TALKBOXES) {
        std::snprintf(Text, sizeof Text, "%d text boxes placed instead of %d", Placed, TALKBOXES);
        return Text;
    }
    int Pitch = 0;
    const uint32_t* Pixels = GetSurfacePixels(SCREEN_SURFACE, &Pitch);
    const MapPicture P = GetMapPicture(FRAME_WIDTH, FRAME_HEIGHT);
    long Black = 0;
    for (int y = P.y; y < P.y + P.Height; ++y)
        for (int x = P.x; x < P.x + P.Width; ++x) Black += (Pixels[size_t(y) * size_t(Pitch) + size_t(x)] & 0xFFFFFF) == 0;
    if (Black > long(P.Width) * P.Height / 10) {
        std::snprintf(Text, sizeof Text, "%ld of the frame's pixels are black", Black);
        return Text;
    }
    if (const char* File = std::getenv("VORNA_BENCH_PNG"))
        platform::WritePNG(File, Pixels, FRAME_WIDTH, FRAME_HEIGHT, Pitch);
    return "";
}

// Nanoseconds per frame, wall and processor time.
struct Timing {
    double Wall = 0, Processor = 0;
};
Timing Memcpy;

Timing MeasureMemcpy(int Count) {
    static std::vector<uint32_t> From(size_t(FRAME_WIDTH) * FRAME_HEIGHT, 0x123456), To(From.size(), 1);
    const Stopwatch Watch;
    for (int i = 0; i < Count; ++i) {
        std::memcpy(To.data(), From.data(), From.size() * 4);
        benchmark::DoNotOptimize(To.data());
        benchmark::ClobberMemory();
    }
    return Timing{Watch.Wall() / Count, Watch.Processor() / Count};
}

void BM_MemcpyFrame(benchmark::State& State) {
    MeasureMemcpy(2);  // both buffers touched
    Timing Total;
    for (auto _ : State) {
        const Timing Once = MeasureMemcpy(1);
        State.SetIterationTime(Once.Wall * 1e-9);
        Total.Wall += Once.Wall;
        Total.Processor += Once.Processor;
    }
    const double Copies = double(State.iterations());
    Memcpy = Timing{Total.Wall / Copies, Total.Processor / Copies};
    State.SetBytesProcessed(int64_t(State.iterations()) * FRAME_WIDTH * FRAME_HEIGHT * 4);
}
BENCHMARK(BM_MemcpyFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

// x_memcpy: wall time per frame over the memcpy's; x_memcpy_cpu the same
// in processor time.
void RunFrames(benchmark::State& State, bool PlayerWalks) {
    SetUpOnce();
    if (!SetUpError.empty()) {
        State.SkipWithError(SetUpError.c_str());
        return;
    }
    ResetScene();
    Walking = PlayerWalks;
    if (Walking) Step();
    MoveCreatures();
    DrawFrame();  // the caches fill
    DrawFrame();
    std::string Error = CheckFrame();
    if (Error.empty() && GetComposedCells() != 0)
        Error = std::to_string(GetComposedCells()) + " cells composed again for the same picture";
    if (!Error.empty()) {
        State.SkipWithError(Error.c_str());
        return;
    }
    Timing Total;
    long Composed = 0;
    for (auto _ : State) {
        NextFrame();
        const Stopwatch Watch;
        DrawFrame();
        const double Wall = Watch.Wall();
        Total.Processor += Watch.Processor();
        State.SetIterationTime(Wall * 1e-9);
        Total.Wall += Wall;
        Composed += GetComposedCells();
    }
    const double Frames = double(State.iterations());
    State.counters["composed_cells"] = double(Composed) / Frames;
    if (Memcpy.Wall <= 0) Memcpy = MeasureMemcpy(50);  // BM_MemcpyFrame was left out
    State.counters["memcpy_ms"] = Memcpy.Wall * 1e-6;
    State.counters["x_memcpy"] = Total.Wall / Frames / Memcpy.Wall;
    State.counters["x_memcpy_cpu"] = Total.Processor / Frames / Memcpy.Processor;
}

void BM_MapViewStill(benchmark::State& State) { RunFrames(State, false); }
BENCHMARK(BM_MapViewStill)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MapViewWalking(benchmark::State& State) { RunFrames(State, true); }
BENCHMARK(BM_MapViewWalking)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
