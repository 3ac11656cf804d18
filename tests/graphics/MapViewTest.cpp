// The map view's drawing rules on a small world of the tests' own: elevation,
// darkness levels, light falloff and the ground rule, roofs and the cover of
// floor marks, the prepared cells, what is drawn before the server has sent
// everything, and the picture's place and scale in map windows of any size.
#include "graphics/MapView.h"

#include "ImageFiles.h"
#include "config/Preferences.h"
#include "graphics/graphics.h"
#include "graphics/Talk.h"
#include "gui/windows/MapWindow.h"
#include "gui/framework/Skins.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"
#include "world/Creatures.h"
#include "world/Map.h"
#include "world/TestWorld.h"

#include <gtest/gtest.h>

namespace {

using namespace image_files;

constexpr uint32_t PLAYER = 0x10000001;

class MapViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::Reset();
        platform::CreateWindow("test", -1, -1, 800, 600, false);
        SetPreferencesPath((Dir.Path() / "Vorna.cfg").string());
        LoadPreferences();
        SetSurfaceMemoryBudgets(SIZE_MAX, SIZE_MAX);
        InitSurface();
        CreateSurfaces(WINDOWED_MODE, NULL);
        std::vector<Image> Sprites(4);
        for (int i = 0; i < 4; ++i) Sprites[i].Fill(uint8_t(40 * (i + 1)), 100, 200);
        WriteFiles(Sprites, StandardPictures());
        InitGraphics(MEMORY_CACHE_BYTES);
        testworld::WriteTestWorld("Vorna.dat");
        LoadObjects("Vorna.dat");
        InitMap(CreatureOffMap);
        InitCreatures();
        SetMapPosition(100, 100, 7);
        SetAmbientLight(0, 215);
        // Ground on the player's floor, the player on (8, 6).
        for (int x = 0; x < MAPSIZE_X; ++x)
            for (int y = 0; y < MAPSIZE_Y; ++y) AppendFieldObject(x, y, 0, testworld::GROUND, 0);
        Creature* C = NewCreature(0, PLAYER);
        std::snprintf(C->Name, sizeof C->Name, "Aldric");
        C->Outfit = 1;
        C->Visible = true;
        C->Health = 100;
        SetCreaturePosition(C, 100, 100, 7);
        SetPlayerID(PLAYER);
    }
    void TearDown() override {
        ExitSkins();
        SetAnimationClockSource(nullptr);
        SetNoStretching(0);
        ExitCreatures();
        ExitMap();
        UnloadObjects();
        ExitGraphics();
        ExitSurface();
    }
    void PutPlayer() { AppendFieldObject(8, 6, 0, CREATURE, PLAYER); }
    // Sprites 1..8 in colours of their own (sprite n: red 30 n, green 100,
    // blue 200), and a skin picture whose background texture is BACKGROUND.
    static void LoadPicturesWithSkin() {
        ExitGraphics();
        // New surfaces: no cell prepared from the old sprites is taken again.
        ReleaseSurfaces();
        CreateSurfaces(WINDOWED_MODE, NULL);
        std::vector<Image> Sprites(8);
        for (int i = 0; i < 8; ++i) Sprites[i].Fill(uint8_t(30 * (i + 1)), 100, 200);
        std::vector<Picture> Pictures = StandardPictures();
        Pictures[3] = Picture(3, 3, {255, 0, 255});
        Pictures[3].FillRect(0, 0, 96, 96, BACKGROUND >> 16, (BACKGROUND >> 8) & 255, BACKGROUND & 255);
        WriteFiles(Sprites, Pictures);
        InitGraphics(MEMORY_CACHE_BYTES);
        InitSkins();
    }
    static uint32_t SpriteColour(int n) { return uint32_t(30 * n) << 16 | 100u << 8 | 200u; }
    static uint32_t Pixel(int x, int y) { return ReadPixel(SCREEN_SURFACE, x, y) & 0xFFFFFF; }
    static constexpr uint32_t BACKGROUND = 0x5A3C1E;
    static void Draw() { DrawMapView(SCREEN_SURFACE, 0, 0, MAP_VIEW_WIDTH, MAP_VIEW_HEIGHT); }
    testing_support::ScopedWorkDir Dir;
};

TEST_F(MapViewTest, ElevationStopsAt24) {
    // Four crates of 8 would lift by 32; what stands on them is lifted by 24.
    for (int i = 0; i < 4; ++i) AppendFieldObject(8, 6, 0, testworld::CRATE, 0);
    PutPlayer();
    Draw();
    ASSERT_EQ(GetNumberOfShownCreatures(), 1);
    uint32_t ID;
    int x, y;
    ASSERT_TRUE(GetShownCreature(0, ID, x, y));
    EXPECT_EQ(ID, PLAYER);
    // Field (8, 6) is drawn at (224, 160); the name anchor is the top centre.
    EXPECT_EQ(x, 224 + 16 - 24);
    EXPECT_EQ(y, 160 - 24);
}

TEST_F(MapViewTest, DarknessLevelsOfTheRedLight) {
    EXPECT_EQ(GetDarknessLevel(0), 0);
    EXPECT_EQ(GetDarknessLevel(1), 1);
    EXPECT_EQ(GetDarknessLevel(27), 1);
    EXPECT_EQ(GetDarknessLevel(56), 2);
    EXPECT_EQ(GetDarknessLevel(223), 7);
    EXPECT_GE(GetDarknessLevel(224), 8);
    EXPECT_GE(GetDarknessLevel(255), 8);
}

TEST_F(MapViewTest, ALightOfThreeFieldsFallsOffWithDistanceAndWithoutGround) {
    int r, g, b;
    GetLightAtDistance(3, 215, 32, r, g, b);
    EXPECT_EQ(r, 102);
    EXPECT_EQ(g, 102);
    EXPECT_EQ(b, 102);
    GetLightAtDistance(3, 215, 95, r, g, b);
    EXPECT_EQ(r, 1);
    GetLightAtDistance(3, 215, 96, r, g, b);
    EXPECT_EQ(r, 0);
    // Colour 180 is pure red in the 6 x 6 x 6 cube.
    GetLightAtDistance(3, 180, 0, r, g, b);
    EXPECT_EQ(r, 153);
    EXPECT_EQ(g, 0);

    // In a frame: the player's own light of 3 in the dark; the field to the
    // east lies 32 pixels from his centre, the one three fields west has
    // no ground and gets a fifth.
    FindCreature(PLAYER)->LightIntensity = 3;
    FindCreature(PLAYER)->LightColour = 215;
    DeleteFieldObject(6, 6, 0, 0);
    PutPlayer();
    Draw();
    GetFieldLight(8, 6, r, g, b);
    EXPECT_EQ(r, 153);
    GetFieldLight(9, 6, r, g, b);
    EXPECT_EQ(r, 102);
    EXPECT_EQ(b, 102);
    GetFieldLight(6, 6, r, g, b);
    EXPECT_EQ(r, 255 * 32 / 800);
    GetFieldLight(11, 6, r, g, b);
    EXPECT_EQ(r, 0);
}

TEST_F(MapViewTest, DaylightFallsThroughAGratingIntoTheCellarBelow) {
    // The player one level below ground: cube floor 2, the surface is floor 3.
    ClearMap();
    SetMapPosition(100, 100, 8);
    SetCreaturePosition(FindCreature(PLAYER), 100, 100, 8);
    SetAmbientLight(255, 215);
    ResetAmbientLight();
    SetAmbientLight(255, 215);
    for (int x = 0; x < MAPSIZE_X; ++x)
        for (int y = 0; y < MAPSIZE_Y; ++y) AppendFieldObject(x, y, 2, testworld::GROUND, 0);
    AppendFieldObject(8, 6, 2, CREATURE, PLAYER);
    // Ground two floors up over the player keeps the surface the highest
    // floor drawn; a grating in the surface over field (11, 8).
    AppendFieldObject(8, 5, 4, testworld::GROUND, 0);
    AppendFieldObject(10, 7, 3, testworld::GRATE, 0);
    Draw();
    ASSERT_EQ(GetHighestDrawnFloor(), 3);
    int r, g, b;
    GetFieldLight(11, 8, r, g, b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(b, 255);
    // Beside it the cellar is as dark as below ground anywhere.
    GetFieldLight(12, 8, r, g, b);
    EXPECT_EQ(r, 0);
    GetFieldLight(11, 9, r, g, b);
    EXPECT_EQ(r, 0);
}

TEST_F(MapViewTest, AStillFrameReusesItsPreparedCells) {
    PutPlayer();
    Draw();
    EXPECT_GT(GetComposedCells(), 150);
    Draw();
    EXPECT_EQ(GetComposedCells(), 0);
    // One field changes: only its cell is composed again.
    AppendFieldObject(5, 5, 0, testworld::ITEM_A, 0);
    Draw();
    EXPECT_EQ(GetComposedCells(), 1);
    // New surfaces lose every prepared cell.
    ReleaseSurfaces();
    CreateSurfaces(WINDOWED_MODE, NULL);
    Draw();
    EXPECT_GT(GetComposedCells(), 150);
}

TEST_F(MapViewTest, GroundAboveThePlayerHidesTheFloorsAbove) {
    PutPlayer();
    Draw();
    EXPECT_EQ(GetHighestDrawnFloor(), 7);
    // Ground one floor up, over the field north of the player in the view.
    AppendFieldObject(8, 5, 1, testworld::GROUND, 0);
    Draw();
    EXPECT_EQ(GetHighestDrawnFloor(), 0);
    // An opening in the roof on the player's field keeps the view open
    // as long as no other field of the cross is covered.
    ClearField(8, 5, 1, true);
    AppendFieldObject(7, 5, 1, testworld::GROUND, 0);  // the field above the player, up and left
    Draw();
    EXPECT_EQ(GetHighestDrawnFloor(), 0);
    AppendFieldObject(8, 6, 0, testworld::OPENING, 0);
    ClearField(7, 5, 1, true);
    AppendFieldObject(9, 6, 1, testworld::GROUND, 0);  // over the player's own field in the view
    Draw();
    EXPECT_EQ(GetHighestDrawnFloor(), 0) << "the field east of the player has no opening";
}

TEST_F(MapViewTest, HelpModeNamesThePlayerAndNothingOnBareGround) {
    PutPlayer();
    Draw();
    MapWindow Window;
    Window.setSize(MAP_VIEW_WIDTH, MAP_VIEW_HEIGHT);
    uint32_t ID;
    int ax, ay;
    ASSERT_TRUE(GetShownCreature(0, ID, ax, ay));
    EXPECT_TRUE(Window.queryHelp(ax, ay + 16));
    EXPECT_EQ(GetHelpNumber(), HELP_YOUR_CHARACTER);
    int x, y, w, h;
    GetHelpQuery(x, y, w, h);
    EXPECT_EQ(x, 224);
    EXPECT_EQ(y, 160);
    EXPECT_EQ(w, 32);
    EXPECT_EQ(h, 32);
    EXPECT_FALSE(Window.queryHelp(20, 20));
    EXPECT_EQ(GetHelpNumber(), 0);
}

TEST_F(MapViewTest, ADrawnMapShowsTheSpritesOfItsFields) {
    PutPlayer();
    Draw();
    // Ground is sprite 1 of the test files: (40, 100, 200) before light.
    // Ambient 0 with light effects on multiplies it away far from the player.
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 20, 20) & 0xFFFFFF, 0u);
    SetAmbientLight(255, 215);
    ResetAmbientLight();
    SetAmbientLight(255, 215);
    Draw();
    EXPECT_EQ(ReadPixel(SCREEN_SURFACE, 20, 20) & 0xFFFFFF, (40u << 16) | (100u << 8) | 200u);
}

// Until the server has said everything the view draws what it knows: the
// map before its first light message in daylight, a creature with neither
// outfit nor look object as a shimmer, and after a new start, before the
// map has come, nothing of the last game, not even under the pointer.
TEST_F(MapViewTest, WhatIsDrawnBeforeTheServerHasSentEverythingAndACreatureWithNothingToShow) {
    LoadPicturesWithSkin();
    // The shimmer: effect 13 in four phases on sprites 5 to 8.
    DatWriter W(0x12345678, testworld::GROUND, 1, 13, 1);
    W.Flag(BANK, {150});
    W.Record(1, 1, 1, 1, 1, 1, 1);
    W.Record(1, 1, 1, 4, 1, 1, 3, 64, 2);
    for (int n = 1; n < 13; ++n) W.Record(1, 1, 1, 1, 1, 1, 1, 64, 2);
    W.Record(1, 1, 1, 1, 1, 1, 4, 64, 5);
    W.Record(1, 1, 1, 3, 3, 1, 1, 64, 2);
    W.Save("Vorna.dat");
    UnloadObjects();
    LoadObjects("Vorna.dat");
    static uint32_t Clock = 0;
    SetAnimationClockSource([] { return Clock; });
    ResetAmbientLight();  // as on entering the game: no light message yet
    PutPlayer();
    Creature* Ghost = NewCreature(0, 0x40000002);
    std::snprintf(Ghost->Name, sizeof Ghost->Name, "Ghost");
    Ghost->Visible = true;
    Ghost->Health = 100;
    SetCreaturePosition(Ghost, 102, 100, 7);
    AppendFieldObject(10, 6, 0, CREATURE, Ghost->ID);
    MapWindow Window;
    Window.setSize(MAP_VIEW_WIDTH, MAP_VIEW_HEIGHT);
    Window.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Pixel(20, 20), SpriteColour(1)) << "ground far from the player in daylight";
    // The ghost's square is (288, 160); the shimmer is drawn 8 pixels up and
    // left, in phase (clock / 3) mod 3 + 2.
    for (uint32_t Time : {3u, 6u, 9u}) {
        Clock = Time;
        Window.draw(SCREEN_SURFACE, 0, 0);
        EXPECT_EQ(Pixel(281, 153), SpriteColour(int(Time / 3 % 3 + 2) + 4)) << "clock " << Time;
        EXPECT_EQ(Pixel(314, 188), SpriteColour(1)) << "beyond the shimmer the ground";
    }
    // A creature with an outfit is drawn as the outfit, not the shimmer.
    Ghost->Outfit = 1;
    Window.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Pixel(281, 153), SpriteColour(1));
    EXPECT_EQ(Pixel(300, 170), SpriteColour(2));
    EXPECT_EQ(GetCreatureUnderPointer(300, 180, MAP_VIEW_WIDTH, MAP_VIEW_HEIGHT), Ghost->ID);

    // A new game: the player is known, the map not yet there.
    ClearMap();
    ExitCreatures();
    InitCreatures();
    SetPlayerID(PLAYER);
    ResetAmbientLight();
    Window.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Pixel(300, 170), 0u);
    EXPECT_EQ(GetNumberOfShownCreatures(), 0);
    EXPECT_EQ(GetCreatureUnderPointer(300, 180, MAP_VIEW_WIDTH, MAP_VIEW_HEIGHT), 0u);
}

// One factor for both axes, whole from 2 up, the picture centred on the
// window's background; the field and the creature under the pointer, the
// names and bars, the help area and the texts all follow the picture.
TEST_F(MapViewTest, TheMapKeepsItsProportionsAndEverythingOnItFollows) {
    LoadPicturesWithSkin();
    InitTalk();
    SetAmbientLight(255, 215);
    ResetAmbientLight();
    SetAmbientLight(255, 215);
    SetCreatureInfo(0);
    PutPlayer();
    DeleteFieldObject(10, 6, 0, 0);  // a black field to find in the picture
    Creature* Rat = NewCreature(0, 0x40000003);
    std::snprintf(Rat->Name, sizeof Rat->Name, "Rat");
    Rat->Outfit = 1;
    Rat->Visible = true;
    Rat->Health = 100;
    SetCreaturePosition(Rat, 103, 100, 7);
    AppendFieldObject(11, 6, 0, CREATURE, Rat->ID);
    MapWindow Window;
    int rx, ry, rz;

    // 1000 x 800 takes the map twice: 960 x 704 in the middle.
    Window.setSize(1000, 800);
    FillRect(SCREEN_SURFACE, 0, 0, 1000, 800, 1, 2, 3);
    Window.draw(SCREEN_SURFACE, 0, 0);
    MapPicture P = GetMapPicture(1000, 800);
    EXPECT_EQ(P.x, 20);
    EXPECT_EQ(P.y, 48);
    EXPECT_EQ(P.Width, 960);
    EXPECT_EQ(P.Height, 704);
    for (const auto& At : {std::pair{0, 0}, {19, 400}, {980, 400}, {500, 47}, {500, 752}, {999, 799}})
        EXPECT_EQ(Pixel(At.first, At.second), BACKGROUND) << At.first << "," << At.second;
    int Uneven = 0;
    for (int y = 0; y < P.Height; ++y)
        for (int x = 0; x < P.Width; ++x)
            Uneven += Pixel(P.x + x, P.y + y) != Pixel(P.x + x / 2 * 2, P.y + y / 2 * 2);
    EXPECT_EQ(Uneven, 0) << "every map pixel a 2 x 2 square";
    SetCreatureInfo(1);
    Window.draw(SCREEN_SURFACE, 0, 0);
    // Field (10, 6) starts at map pixel (288, 160), here at (596, 368).
    EXPECT_EQ(Pixel(596, 368), 0u);
    EXPECT_EQ(Pixel(595, 368), SpriteColour(1));
    ASSERT_TRUE(GetFieldUnderPointer(596, 368, 1000, 800, rx, ry, rz));
    EXPECT_EQ(rx, 10);
    EXPECT_EQ(ry, 6);
    ASSERT_TRUE(GetFieldUnderPointer(595, 367, 1000, 800, rx, ry, rz));
    EXPECT_EQ(rx, 9);
    EXPECT_EQ(ry, 5);
    EXPECT_FALSE(GetFieldUnderPointer(10, 400, 1000, 800, rx, ry, rz)) << "the margin";
    // The rat's square (320, 160) is at (660, 368) to (723, 431); its bar's
    // black edge at (anchor x - 14, anchor y - 4) = (678, 364).
    EXPECT_EQ(GetCreatureUnderPointer(690, 400, 1000, 800), Rat->ID);
    EXPECT_EQ(GetCreatureUnderPointer(690, 400 + 64, 1000, 800), 0u);
    EXPECT_EQ(Pixel(678, 364), 0u);
    EXPECT_EQ(Pixel(677, 364), SpriteColour(1));
    EXPECT_TRUE(Window.queryHelp(690, 400));
    int hx, hy, hw, hh;
    GetHelpQuery(hx, hy, hw, hh);
    EXPECT_EQ(hx, 660);
    EXPECT_EQ(hy, 368);
    EXPECT_EQ(hw, 64);
    EXPECT_EQ(hh, 64);
    // A say over the rat is centred over it, and the status line sits at the
    // bottom of the picture, not of the window.
    TalkSay(TALK_SAY, "Rat", 103, 100, 7, "Squeak");
    SetStatusLine("Hello", false);
    Window.draw(SCREEN_SURFACE, 0, 0);
    // Glyphs come out a shade darker than their colour.
    auto Near = [](uint32_t Colour, uint32_t Wanted) {
        for (int Shift : {0, 8, 16})
            if (std::abs(int((Colour >> Shift) & 255) - int((Wanted >> Shift) & 255)) > 2) return false;
        return true;
    };
    int Left = 1000, Right = -1, Bottom = -1;
    for (int y = 0; y < 368; ++y)
        for (int x = 0; x < 1000; ++x)
            if (Near(Pixel(x, y), 0xF0F000)) Left = std::min(Left, x), Right = std::max(Right, x);
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 1000; ++x)
            if (Near(Pixel(x, y), 0xFFFFFF)) Bottom = std::max(Bottom, y);
    EXPECT_NEAR((Left + Right) / 2, 692, 2);
    EXPECT_GT(Bottom, 700);
    EXPECT_LT(Bottom, P.y + P.Height);

    // Below twice the size the one factor may be a fraction: 700 x 450 is
    // limited by its height to 613 x 450. Wherever field (10, 6) shows
    // black, the pointer finds it, and nowhere else.
    SetCreatureInfo(0);
    Window.setSize(700, 450);
    Window.draw(SCREEN_SURFACE, 0, 0);
    P = GetMapPicture(700, 450);
    EXPECT_EQ(P.x, 43);
    EXPECT_EQ(P.y, 0);
    EXPECT_EQ(P.Width, 613);
    EXPECT_EQ(P.Height, 450);
    EXPECT_EQ(Pixel(42, 200), BACKGROUND);
    EXPECT_EQ(Pixel(43 + 613, 200), BACKGROUND);
    int Mismatches = 0, Black = 0;
    for (int y = 150; y < 280; ++y)
        for (int x = 300; x < 500; ++x) {
            const bool Shown = Pixel(x, y) == 0;
            const bool Found = GetFieldUnderPointer(x, y, 700, 450, rx, ry, rz) && rx == 10 && ry == 6;
            Black += Shown;
            Mismatches += Shown != Found;
        }
    EXPECT_GT(Black, 1000);
    EXPECT_EQ(Mismatches, 0);

    // Without stretching the map keeps its size in the middle of the margin.
    SetNoStretching(1);
    Window.setSize(1000, 800);
    Window.draw(SCREEN_SURFACE, 0, 0);
    P = GetMapPicture(1000, 800);
    EXPECT_EQ(P.x, 260);
    EXPECT_EQ(P.y, 224);
    EXPECT_EQ(P.Width, MAP_VIEW_WIDTH);
    EXPECT_EQ(Pixel(259, 300), BACKGROUND);
    EXPECT_EQ(Pixel(260 + 288, 224 + 160), 0u);
    ASSERT_TRUE(GetFieldUnderPointer(260 + 288, 224 + 160, 1000, 800, rx, ry, rz));
    EXPECT_EQ(rx, 10);
    EXPECT_EQ(GetCreatureUnderPointer(260 + 336, 224 + 170, 1000, 800), Rat->ID);
    ExitTalk();
}

}  // namespace
