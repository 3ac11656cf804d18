// What the player sees on the reference server: the village by day and by
// night, inside a house under its roof, and the cellar. VORNA_DIALOG_PNG=<dir>
// keeps the frames.
#include "PlaySupport.h"

#include "graphics/MapView.h"

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

    bool Enter(int x, int y, int z, double TimeOfDay) {
        SetTimeOfDay(TimeOfDay);
        if (!PlaceCharacter("Mira", x, y, z) || !StartServer()) return false;
        if (!EnterGameAs("100001", "Mira")) return false;
        UseFullSizeMap();
        Run(400);
        return true;
    }
};

TEST_F(ViewTest, TheVillageAtNoonIsBrightEverywhere) {
    ASSERT_TRUE(Enter(1009, 1001, 7, 0.5));
    Screenshot("village-noon.png");
    // Roofs stay on outside, so floors above are drawn.
    EXPECT_EQ(GetHighestDrawnFloor(), 7);
    // Far from any lamp the road is as light as beside the player.
    EXPECT_GT(Brightness(-6, 0), 200);
    EXPECT_GT(Brightness(-6, 0), Brightness(0, 0) * 3 / 4);
}

TEST_F(ViewTest, AtNightOnlyTheLampsAndThePlayerGiveLight) {
    ASSERT_TRUE(Enter(1009, 1001, 7, 0.0));
    Screenshot("village-night.png");
    // The street lamp at (1010, 999) lights the road near it; the far west
    // of the view stays dark.
    const int NearLamp = Brightness(1, -1), FarAway = Brightness(-6, 4);
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
