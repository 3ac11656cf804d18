// The battle list in the game: what a click on a line sends by the input mode
// and the modifier keys, and the full name of a cut one as its tooltip.
#include "ProtocolFixture.h"

#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/windows/ListWindows.h"
#include "gui/windows/MapWindow.h"
#include "gui/windows/StatusPanels.h"
#include "gui/framework/Skins.h"

#include <filesystem>

namespace protocol_test {
namespace {

constexpr uint32_t RAT = 0x40000010, KESTREL = 0x10000002;
const char* const LONG_NAME = "Kestrel of the Western Marsh";

// A creature as the map description carries it, standing still, healthy.
std::string CreatureThing(uint32_t ID, const char* Name) {
    return Word(97) + Quad(0) + Quad(ID) + String(Name) + Bytes({100, 2, 1, 10, 20, 30, 40, 0, 0}) + Word(220) +
           Bytes({0, 0});
}

class BattleList : public ProtocolTest {
  protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        StartDrawing();
        // The player at (100, 100, 7), another player two fields west and a
        // rat two fields east, in that order on the map.
        std::map<int, std::string> Fields;
        for (int rx = 0; rx < 18; rx++)
            for (int ry = 0; ry < 14; ry++) Fields[FieldNumber(0, rx, ry)] = Thing(testworld::GROUND);
        Fields[FieldNumber(0, 8, 6)] += PlayerThing();
        Fields[FieldNumber(0, 6, 6)] += CreatureThing(KESTREL, LONG_NAME);
        Fields[FieldNumber(0, 10, 6)] += CreatureThing(RAT, "Rat");
        Receive(Bytes({100}) + Word(100) + Word(100) + Bytes({7}) + Description(Fields, 8 * 252));
        Body.setSize(168, 100);
        Sent();
        Calls.clear();
    }
    void TearDown() override {
        StopDrawing();
        ProtocolTest::TearDown();
    }
    // The middle of a line of the list.
    void ClickLine(int Line, int Keys) {
        Body.leftButtonDown(40, Line * 22 + 11, Keys);
        Body.leftButtonUp(40, Line * 22 + 11, Keys);
        SetInputMode(INPUT_IDLE);
    }
    BattleBody Body;
};

TEST_F(BattleList, ClicksActByModeAndKeysAndACutNameShowsInFull) {
    ASSERT_EQ(Body.creatureAt(40, 11), KESTREL) << "in the order they came into view";
    ASSERT_EQ(Body.creatureAt(40, 33), RAT);
    EXPECT_EQ(Body.creatureAt(40, 55), 0u);

    // A rune from the body slot 5 waits for its target: not a player.
    MapWindow::setUseWithSource(PendingObject{0xFFFF, 5, 0, testworld::COINS, 0});
    SetInputMode(INPUT_TARGET_1);
    ClickLine(0, 0);
    EXPECT_EQ(Sent(), "");
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0], "status You are not allowed to shoot directly on players.");
    Calls.clear();
    // On the rat it goes: 132, the slot, the type, stack 0, the rat.
    SetInputMode(INPUT_TARGET_1);
    ClickLine(1, 0);
    EXPECT_EQ(Sent(), "0D 00 84 FF FF 05 00 00 6B 00 00 10 00 00 40");
    EXPECT_TRUE(Calls.empty());

    // Trade mode: only a player takes a trade request.
    MapWindow::setTradeObject(PendingObject{0xFFFF, 5, 0, testworld::COINS, 0});
    SetInputMode(INPUT_TARGET_2);
    ClickLine(1, 0);
    EXPECT_EQ(Sent(), "");
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0], "status Select a player to trade with.");
    SetInputMode(INPUT_TARGET_2);
    ClickLine(0, 0);
    EXPECT_EQ(Sent(), "0D 00 7D FF FF 05 00 00 6B 00 00 02 00 00 10");

    // A plain left click attacks; a second one stops attacking.
    ClickLine(1, 0);
    EXPECT_EQ(Sent(), "05 00 A1 10 00 00 40");
    EXPECT_EQ(GetAttackTarget(), RAT);
    ClickLine(1, 0);
    EXPECT_EQ(Sent(), "05 00 A1 00 00 00 00");
    EXPECT_EQ(GetAttackTarget(), 0u);
    // Shift looks at the creature where it stands: (102, 100, 7), place 1.
    ClickLine(1, keys::SHIFT);
    EXPECT_EQ(Sent(), "09 00 8C 66 00 64 00 07 63 00 01");
    // A right click with Alt attacks as well.
    Body.rightButtonUp(40, 33, keys::ALT);
    EXPECT_EQ(Sent(), "05 00 A1 10 00 00 40");
    // Without a key a right click asks for the creature's menu instead.
    const int Events = GetNumberOfEvents();
    Body.rightButtonUp(40, 33, 0);
    EXPECT_EQ(Sent(), "");
    ASSERT_EQ(GetNumberOfEvents(), Events + 1);
    EXPECT_EQ(GetQueuedEvent(Events).Type, 48);

    // The long name is cut on its line, and shown in full when the pointer
    // rests there; the rat's fits and has no tooltip.
    SetTooltipText(NULL);
    Body.mouseRest(40, 33);
    EXPECT_EQ(GetTooltipText(), nullptr);
    Body.mouseRest(40, 11);
    ASSERT_NE(GetTooltipText(), nullptr);
    EXPECT_STREQ(GetTooltipText(), LONG_NAME);
}

TEST_F(BattleList, EachChangeOfAFightModeIsSentAndKept) {
    // The fixture entered with balanced, stand, secure (2, 0, 1).
    CombatPanel Panel(nullptr);
    const auto Press = [&](int Command) {
        Button* B = Panel.getButton(Command);
        B->leftButtonDown(2, 2, 0);
        B->leftButtonUp(2, 2, 0);
    };
    Press(COMBAT_OFFENSIVE);
    EXPECT_EQ(Sent(), "04 00 A0 01 00 01");
    Press(COMBAT_CHASE);
    EXPECT_EQ(Sent(), "04 00 A0 01 01 01");
    Press(COMBAT_ATTACK_ANY);
    EXPECT_EQ(Sent(), "04 00 A0 01 01 00");
    Press(COMBAT_ATTACK_ANY);
    EXPECT_EQ(Sent(), "") << "no change, nothing sent";
    EXPECT_EQ(GetAttackMode(), 1);
    EXPECT_EQ(GetChaseMode(), 1);
    EXPECT_EQ(GetSecureMode(), 0);
    // The buttons show what the preferences hold, also after the walking
    // logic switched chasing off on its own.
    SetChaseMode(0);
    Panel.showModes();
    EXPECT_TRUE(Panel.getButton(COMBAT_STAND)->isDown());
    EXPECT_FALSE(Panel.getButton(COMBAT_CHASE)->isDown());
    EXPECT_TRUE(Panel.getButton(COMBAT_OFFENSIVE)->isDown());
}

}  // namespace
}  // namespace protocol_test
