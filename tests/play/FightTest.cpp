// Fights seen from the client: Kestrel shoots a chicken with her bow; the
// arrow flies over the map and the damage rises from the chicken's field.
// Mira fights a wolf, is poisoned by a spider, and dies in the cave.
#include "PlaySupport.h"

#include "graphics/MapView.h"
#include "gui/framework/ContextMenu.h"
#include "gui/windows/StatusPanels.h"

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
    // A right click on a creature of the name list, and "Attack" in its
    // menu. False when the creature walked away under the pointer: then
    // there is no menu, or one without "Attack" (closed again).
    static bool RightClickOn(int Number) {
        uint32_t ID;
        int x, y, mx = 0, my = 0;
        if (!GetShownCreature(Number, ID, x, y)) return false;
        Map()->getAbsolutePosition(mx, my);
        MoveTo(mx + x, my + y + 16);
        Button(platform::EventKind::ButtonDown, mx + x, my + y + 16, 2);
        Button(platform::EventKind::ButtonUp, mx + x, my + y + 16, 2);
        if (!PumpUntil([] { return dynamic_cast<ContextMenu*>(GetModalWindow()) != nullptr; }, 2000)) return false;
        const MenuEntry* Entry = dynamic_cast<ContextMenu*>(GetModalWindow())->findEntry(MENU_ATTACK);
        if (Entry == nullptr) {
            Press(platform::Key::Escape);
            return false;
        }
        int ex = 0, ey = 0;
        Entry->getAbsolutePosition(ex, ey);
        Click(ex + 4, ey + 4);
        return GetAttackTarget() != 0;
    }
    // Attacks the nearest creature of the name in sight.
    static bool Attack(const char* Name) {
        const int Shown = NearestShown(Name, 7);
        return Shown >= 0 && RightClickOn(Shown);
    }
    static std::string Where() {
        int x, y, z;
        PlayerPosition(x, y, z);
        return std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z);
    }
    static int Club() { return GetSkillLevel(1) * 100 + GetSkillPercent(1); }
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
    ASSERT_TRUE(RightClickOn(Chicken));
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

// A young mage's day in the forest, from the window alone: the wolf fights
// back and she kills it (health lost, experience, club fighting); the
// spider poisons her, she kills it too and the poison wears off; then she
// goes down into the cave, where the skeleton kills her, and she wakes at
// the temple with a tenth of her experience gone.
TEST_F(FightTest, MiraFightsAWolfAndASpiderThenDiesInTheCave) {
    SetTimeOfDay(0.5);
    ASSERT_TRUE(PlaceCharacter("Mira", 988, 988, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    ASSERT_TRUE(UseFullSizeMap());
    // The wolf flees when it is nearly dead: she chases it.
    ClickOn(GetMainWindow()->getGameView()->getFixedPanels()->getCombatPanel()->getButton(COMBAT_CHASE));
    const int Full = GetPlayerMaxHitpoints(), ClubBefore = Club();
    ASSERT_EQ(GetPlayerHitpoints(), Full);
    ASSERT_EQ(GetPlayerExperience(), 0u);

    int Lowest = Full;
    bool Shown = false;
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (GetAttackTarget() == 0 && GetPlayerExperience() == 0) Attack("Wolf");
            Lowest = std::min(Lowest, GetPlayerHitpoints());
            if (!Shown && Lowest < Full && GetAttackTarget() != 0) {
                Shown = true;
                Screenshot("wolf-fight.png");
            }
            return GetPlayerExperience() > 0;
        },
        120000));
    EXPECT_LT(Lowest, Full) << "the wolf never struck back";
    EXPECT_EQ(GetPlayerExperience(), 40u);
    EXPECT_EQ(GetPlayerExperienceLevelPercent(), 40);
    EXPECT_GT(Club(), ClubBefore);
    EXPECT_TRUE(GetPlayerConditions() & (1 << 5)) << "in a fight";

    // Towards the spider's place; she attacks it (or it her), and its bites
    // poison her.
    WalkTo(990, 990);  // the spider may be on its way and stand there first
    bool Poisoned = false;
    ASSERT_TRUE(PumpUntil(
        [&] {
            // Out of its sight (a walk cut short): towards its place again.
            if (GetAttackTarget() == 0 && GetPlayerExperience() == 40 && !Attack("Spider") && NearestShown("Spider", 7) < 0)
                WalkTo(991, 991);
            if (!Poisoned && (GetPlayerConditions() & 1) != 0) {
                Poisoned = true;
                Screenshot("spider-poison.png");
            }
            return GetPlayerExperience() > 40;
        },
        120000))
        << "Mira at " << Where() << ", target " << GetAttackTarget() << ", spider in sight " << NearestShown("Spider", 7);
    EXPECT_TRUE(Poisoned || (GetPlayerConditions() & 1) != 0);
    EXPECT_EQ(GetPlayerExperience(), 75u);
    ASSERT_TRUE(PumpUntil([] { return (GetPlayerConditions() & 1) == 0; }, 60000));
    EXPECT_GT(GetPlayerHitpoints(), 0);

    // Down the path, along the road and the south path to the cave's
    // mouth, and in; the skeleton is stronger than she is.
    for (auto [x, y] : {std::pair{996, 993}, {997, 998}, {997, 1001}, {990, 1001}, {990, 1006}, {990, 1011}, {985, 1011}})
        ASSERT_TRUE(WalkTo(x, y)) << "on the way to " << x << "," << y;
    // Down the stairs; a creature standing on them refuses the step, so it
    // is tried again until she is below.
    const auto Below = [] {
        int x, y, z;
        PlayerPosition(x, y, z);
        return z == 8;
    };
    bool Down = false;
    for (int Try = 0; Try < 20 && !Down; ++Try) {
        Press(platform::Key::Down);
        Down = PumpUntil(Below, 3000);
    }
    ASSERT_TRUE(Down) << "Mira at " << Where();
    const uint32_t Before = GetPlayerExperience();
    WalkTo(988, 1013);  // she may fall on the way
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Sorry"; }, 120000));
    Screenshot("dead.png");
    Press(platform::Key::Return);
    ASSERT_TRUE(ChooseCharacter("Mira"));
    // Told what the death cost.
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "For your Information"; }));
    Screenshot("temple.png");
    Press(platform::Key::Return);
    int x, y, z;
    PlayerPosition(x, y, z);
    EXPECT_LE(std::abs(x - 999) + std::abs(y - 1000), 2) << x << "," << y;  // the temple
    EXPECT_EQ(z, 7);
    EXPECT_EQ(GetPlayerHitpoints(), GetPlayerMaxHitpoints());
    EXPECT_EQ(GetPlayerExperience(), Before - Before / 10);
}

}  // namespace
