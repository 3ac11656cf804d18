// A fight seen from the client: Kestrel shoots a chicken with her bow; the
// arrow flies over the map and the damage rises from the chicken's field.
#include "PlaySupport.h"

#include "graphics/MapView.h"
#include "gui/ContextMenu.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

class FightTest : public PlayTest {
  protected:
    // Whether any field of the cube holds an effect of the given kind.
    static bool AnyEffect(int Kind) {
        for (int z = 0; z < MAPSIZE_Z; ++z)
            for (int y = 0; y < MAPSIZE_Y; ++y)
                for (int x = 0; x < MAPSIZE_X; ++x)
                    for (int n = GetFirstFieldEffect(x, y, z); n >= 0; n = GetNextFieldEffect(n))
                        if (GetEffectStatus(n) == Kind) return true;
        return false;
    }
    // The shown creature of that name nearest to the player, if it stands
    // within Reach fields; 0 otherwise.
    static int NearestShown(const char* Name, int Reach) {
        const Creature* Me = FindCreature(GetPlayerID());
        int Best = -1, BestDistance = Reach + 1;
        for (int n = 0; n < GetNumberOfShownCreatures(); ++n) {
            uint32_t ID;
            int x, y;
            if (!GetShownCreature(n, ID, x, y)) break;
            const Creature* C = FindCreature(ID);
            if (C == nullptr || std::strcmp(C->Name, Name) != 0 || C->RealZ != Me->RealZ) continue;
            const int Distance = std::max(std::abs(C->RealX - Me->RealX), std::abs(C->RealY - Me->RealY));
            if (Distance < BestDistance) Best = n, BestDistance = Distance;
        }
        return Best;
    }
    // A chicken of the name list within reach of her bow but not next to
    // her; -1 if there is none.
    static int ChickenToShoot() {
        const int Chicken = NearestShown("Chicken", 4);
        if (Chicken < 0) return -1;
        uint32_t ID;
        int x, y;
        GetShownCreature(Chicken, ID, x, y);
        const Creature* C = FindCreature(ID);
        const Creature* Me = FindCreature(GetPlayerID());
        return std::max(std::abs(C->RealX - Me->RealX), std::abs(C->RealY - Me->RealY)) >= 2 ? Chicken : -1;
    }
    // A right click on a creature of the name list, and "Attack" in its menu.
    static void RightClickOn(int Number) {
        uint32_t ID;
        int x, y;
        ASSERT_TRUE(GetShownCreature(Number, ID, x, y));
        int mx = 0, my = 0;
        Map()->getAbsolutePosition(mx, my);
        MoveTo(mx + x, my + y + 16);
        Button(platform::EventKind::ButtonDown, mx + x, my + y + 16, 2);
        Button(platform::EventKind::ButtonUp, mx + x, my + y + 16, 2);
        ASSERT_TRUE(PumpUntil([] { return dynamic_cast<ContextMenu*>(GetModalWindow()) != nullptr; }));
        const MenuEntry* Attack = dynamic_cast<ContextMenu*>(GetModalWindow())->findEntry(MENU_ATTACK);
        ASSERT_NE(Attack, nullptr);
        int ex = 0, ey = 0;
        Attack->getAbsolutePosition(ex, ey);
        Click(ex + 4, ey + 4);
    }
};

TEST_F(FightTest, AnArrowFliesAndTheDamageRisesFromTheTarget) {
    SetTimeOfDay(0.5);
    ASSERT_TRUE(PlaceCharacter("Kestrel", 1001, 1002, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    ASSERT_TRUE(EnterGameAs("100002", "Kestrel"));
    ASSERT_TRUE(UseFullSizeMap());
    // The chickens wander around their home; one comes within reach of her
    // bow (four fields) but not next to her.
    int Chicken = -1;
    ASSERT_TRUE(PumpUntil([&] { return (Chicken = ChickenToShoot()) >= 0; }, 60000));
    // The arrow flies for 150 ms and the number rises for about a second:
    // the client's clock stands still until the test has seen both, however
    // late the server shoots and however slowly the frames come.
    HeldClock Clock;
    RightClickOn(Chicken);
    const uint32_t Target = GetAttackTarget();
    ASSERT_NE(Target, 0u);
    EXPECT_STREQ(FindCreature(Target)->Name, "Chicken");

    // A chicken that steps next to her before the first blow is struck
    // without an arrow and may die of it; she then aims at another.
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (AnyEffect(EFFECT_MISSILE)) return true;
            if (GetAttackTarget() == 0 && (Chicken = ChickenToShoot()) >= 0) RightClickOn(Chicken);
            return false;
        },
        60000));
    // On its way (a flight takes 150 or 300 ms by the distance).
    HeldClock::Advance(70);
    EXPECT_TRUE(AnyEffect(EFFECT_MISSILE));
    Screenshot("missile-in-flight.png");
    // The blow's number comes with the shot.
    ASSERT_TRUE(PumpUntil([] { return AnyEffect(EFFECT_TEXT); }));
    HeldClock::Advance(300);
    EXPECT_TRUE(AnyEffect(EFFECT_TEXT));
    Screenshot("animated-text.png");
    EXPECT_GT(GetNumberOfAnimatedTexts(), 0);
}

}  // namespace
