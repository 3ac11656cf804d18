// Walking on the reference server: by keys with every step predicted and
// confirmed once, and by a click that the path finder takes around a house.
#include "PlaySupport.h"

#include "world/PathFinder.h"

#include "app/Control.h"
#include "net/GameMessages.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace {

class WalkTest : public PlayTest {
  protected:
    // Every field the server moves the player to, recorded message by
    // message: a frame on a loaded machine may handle several steps at once,
    // and looking only between frames would miss the fields in between.
    static inline std::vector<std::pair<int, int>> Trail;
    static inline GameCommandHandler MoveCreature = nullptr;
    static void RecordingMoveCreature() {
        MoveCreature();
        const Creature* Me = FindCreature(GetPlayerID());
        if (Me != nullptr && (Trail.empty() || Trail.back() != std::make_pair(Me->RealX, Me->RealY)))
            Trail.emplace_back(Me->RealX, Me->RealY);
    }
    static void RecordTrail(int x, int y) {
        Trail.assign(1, {x, y});
        MoveCreature = GetGameMessageHandler(109);
        SetGameCommandHandler(109, RecordingMoveCreature);
    }
};

TEST_F(WalkTest, TenKeyStepsArePredictedAndConfirmedWithoutASecondAnimation) {
    ASSERT_TRUE(PlaceCharacter("Mira", 1000, 1001, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    int x0, y0, z0;
    PlayerPosition(x0, y0, z0);
    ASSERT_EQ(x0, 1000);
    ASSERT_EQ(y0, 1001);

    for (int step = 1; step <= 10; ++step) {
        // The server is held still while the key goes down, so the step
        // must show before it has said anything.
        ASSERT_TRUE(Server->Pause());
        Press(platform::Key::Right);
        int px = 0, py = 0;
        GetPredictedStep(px, py);
        ASSERT_EQ(px, 1) << "step " << step;
        ASSERT_EQ(py, 0);
        const Creature* Player = FindCreature(GetPlayerID());
        ASSERT_NE(Player, nullptr);
        const int64_t AnimationEnd = Player->StepEnd;
        int x, y, z;
        PlayerPosition(x, y, z);
        EXPECT_EQ(x, x0 + step - 1) << "the map moves only when the server confirms";
        ASSERT_TRUE(Server->Resume());

        // The server's move message confirms it: the map moves on, the
        // prediction is gone and the running animation was not started again.
        ASSERT_TRUE(PumpUntil([&] {
            int cx, cy, cz;
            PlayerPosition(cx, cy, cz);
            return cx == x0 + step;
        })) << "step " << step;
        GetPredictedStep(px, py);
        EXPECT_EQ(px, 0);
        EXPECT_EQ(FindCreature(GetPlayerID())->StepEnd, AnimationEnd) << "step " << step;
        std::printf("step %d: predicted (1, 0), confirmed at x %d, animation end unchanged\n", step, x0 + step);
        // The step ends before the next key.
        ASSERT_TRUE(PumpUntil([] { return !FindCreature(GetPlayerID())->Walking; }));
    }
    int x, y, z;
    PlayerPosition(x, y, z);
    EXPECT_EQ(x, 1010);
    EXPECT_EQ(y, 1001);
}

TEST_F(WalkTest, AClickWalksAroundTheTimberHouse) {
    // The house stands on x 1012..1017, y 1003..1007; the click goes to the
    // far side of its corner.
    ASSERT_TRUE(PlaceCharacter("Mira", 1011, 1001, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    ASSERT_TRUE(UseFullSizeMap());

    const int tx = 1018, ty = 1005;
    int mx, my, mz;
    PlayerPosition(mx, my, mz);
    const int rx = tx - mx + 8, ry = ty - my + 6;
    int wx = 0, wy = 0;
    Map()->getAbsolutePosition(wx, wy);
    RecordTrail(mx, my);
    Click(wx + (rx - 1) * 32 + 16, wy + (ry - 1) * 32 + 16);

    std::string Steps;
    for (int i = 0; i < GetNumberOfPlayerSteps(); ++i) Steps += std::to_string(GetPlayerStep(i)) + " ";
    std::printf("steps sent after the click: %s\n", Steps.c_str());
    ASSERT_GT(GetNumberOfPlayerSteps(), 0);

    ASSERT_TRUE(PumpUntil(
        [&] {
            int x, y, z;
            PlayerPosition(x, y, z);
            return x == tx && y == ty;
        },
        60000));
    const std::vector<std::pair<int, int>> Visited = Trail;
    std::string Path;
    for (auto& [x, y] : Visited) {
        Path += "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
        EXPECT_FALSE(x >= 1012 && x <= 1017 && y >= 1003 && y <= 1007) << "walked into the house at " << x << "," << y;
    }
    std::printf("fields walked: %s\n", Path.c_str());
    EXPECT_GE(Visited.size(), 9u);
}

}  // namespace
