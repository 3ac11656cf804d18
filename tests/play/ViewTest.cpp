// What the player sees on the reference server: the village by day and by
// night, inside a house under its roof, and the cellar. VORNA_DIALOG_PNG=<dir>
// keeps the frames.
#include "PlaySupport.h"

#include "graphics/MapView.h"
#include "graphics/Talk.h"
#include "graphics/graphics.h"

#include <cstdlib>
#include <initializer_list>
#include <utility>

namespace {

class ViewTest : public PlayTest {
  protected:
    // Average brightness (red + green + blue) of a square of the last frame,
    // around a field given relative to the player.
    static int Brightness(int dx, int dy) {
        int w = 0, h = 0;
        const auto& Pixels = platform::headless::LastFrame(w, h);
        int mx = 0, my = 0;
        Map()->getAbsolutePosition(mx, my);
        const int cx = mx + (7 + dx) * 32 + 16, cy = my + (5 + dy) * 32 + 16;
        long Sum = 0;
        int Count = 0;
        for (int y = cy - 12; y <= cy + 12; ++y)
            for (int x = cx - 12; x <= cx + 12; ++x) {
                if (x < 0 || y < 0 || x >= w || y >= h) continue;
                const uint32_t P = Pixels[size_t(y) * size_t(w) + size_t(x)];
                Sum += long((P >> 16) & 255) + long((P >> 8) & 255) + long(P & 255);
                ++Count;
            }
        return Count > 0 ? int(Sum / Count) : 0;
    }

    // Whether a talk box reaches into the square that Brightness measures.
    static bool Covers(const TalkboxInfo& T, int dx, int dy) {
        if (!T.Placed) return false;
        const int cx = (7 + dx) * 32 + 16, cy = (5 + dy) * 32 + 16, Reach = 12 + 2;  // the outline too
        const int Left =
            T.Alignment == CENTER_ALIGN ? T.X - T.Width / 2 : T.Alignment == RIGHT_ALIGN ? T.X - T.Width : T.X;
        return Left <= cx + Reach && Left + T.Width >= cx - Reach && T.Top <= cy + Reach &&
               T.Top + T.Height >= cy - Reach;
    }

    // Waits until no other creature, its name or a talk box covers the
    // fields to be measured (given relative to the player): the chickens and
    // the rat wander and cluck on the server's time, not the test's.
    static bool ClearView(std::initializer_list<std::pair<int, int>> Fields) {
        return PumpUntil([&] {
            for (int n = 1; n <= GetNumberOfTalkboxes(); ++n)
                for (const auto& [dx, dy] : Fields)
                    if (Covers(GetTalkbox(n), dx, dy)) return false;
            const Creature* Me = FindCreature(GetPlayerID());
            for (int n = 0; n < GetNumberOfShownCreatures(); ++n) {
                uint32_t ID;
                int x, y;
                if (!GetShownCreature(n, ID, x, y)) break;
                const Creature* C = FindCreature(ID);
                if (C == nullptr || C == Me || C->RealZ != Me->RealZ) continue;
                // A creature covers its own field, and its name (wider than
                // a field) the fields above; a walker is drawn up to a field
                // away from where it stands.
                for (const auto& [dx, dy] : Fields) {
                    const int cx = C->RealX - (Me->RealX + dx), cy = C->RealY - (Me->RealY + dy);
                    const bool Near = C->Walking ? std::abs(cx) <= 1 && cy >= -1 && cy <= 2
                                                 : (cx == 0 && cy == 0) || (std::abs(cx) <= 1 && cy == 1);
                    if (Near) return false;
                }
            }
            return true;
        });
    }

    bool Enter(int x, int y, int z, double TimeOfDay) {
        SetTimeOfDay(TimeOfDay);
        if (!PlaceCharacter("Mira", x, y, z) || !StartServer()) return false;
        // The map, the light and the player come in one message on
        // entering, so the first frame of the full-size map shows them all.
        return EnterGameAs("100001", "Mira") && UseFullSizeMap();
    }
};

TEST_F(ViewTest, TheVillageAtNoonIsBrightEverywhere) {
    ASSERT_TRUE(Enter(1009, 1001, 7, 0.5));
    ASSERT_TRUE(ClearView({{-6, 0}, {0, 0}}));
    Screenshot("village-noon.png");
    // Roofs stay on outside, so floors above are drawn.
    EXPECT_EQ(GetHighestDrawnFloor(), 7);
    // Far from any lamp the road is as light as beside the player.
    EXPECT_GT(Brightness(-6, 0), 200);
    EXPECT_GT(Brightness(-6, 0), Brightness(0, 0) * 3 / 4);
}

TEST_F(ViewTest, AtNightOnlyTheLampsAndThePlayerGiveLight) {
    ASSERT_TRUE(Enter(1009, 1001, 7, 0.0));
    ASSERT_TRUE(ClearView({{1, -1}, {-6, -3}}));
    Screenshot("village-night.png");
    // The street lamp at (1010, 999) lights the road near it; the far west
    // of the view (the grass below the stone house, where the chickens do
    // not come) stays dark.
    const int NearLamp = Brightness(1, -1), FarAway = Brightness(-6, -3);
    EXPECT_GT(NearLamp, 2 * FarAway) << NearLamp << " " << FarAway;
}

TEST_F(ViewTest, InsideTheStoneHouseTheFloorsAboveAreHidden) {
    ASSERT_TRUE(Enter(1004, 994, 7, 0.5));
    Screenshot("inside-stone-house.png");
    // The player's floor is cube floor 0 on the surface; the upper floor and
    // the roof above him are left out.
    EXPECT_EQ(GetHighestDrawnFloor(), 0);
}

TEST_F(ViewTest, TheCellarIsDarkButForTheTorchAndThePlayer) {
    ASSERT_TRUE(Enter(1004, 995, 8, 0.5));
    ASSERT_TRUE(ClearView({{0, 0}, {-6, 4}}));
    Screenshot("cellar.png");
    int x, y, z;
    PlayerPosition(x, y, z);
    EXPECT_EQ(z, 8);
    EXPECT_EQ(GetPlayerLevel(), 2);
    // No daylight below ground: the player's own light and the wall torch
    // at (1006, 993) are all there is.
    EXPECT_GT(Brightness(0, 0), 3 * Brightness(-6, 4));
}

}  // namespace
