// The side windows on the reference server, by injected input only: the
// skills, battle and VIP windows opened by their keys and buttons, one
// minimised and restored, one dragged above another, and a chicken attacked
// from the battle list until the skills window shows her gain.
#include "PlaySupport.h"

#include "gui/windows/ListWindows.h"
#include "gui/windows/SideColumn.h"
#include "gui/windows/StatusPanels.h"

#include <cstdio>
#include <cstring>

namespace {

class SideWindowsTest : public PlayTest {
  protected:
    static SideColumn* Column() { return GetMainWindow()->getGameView()->getSideColumn(); }
    static ControlButtonsPanel* Buttons() {
        return GetMainWindow()->getGameView()->getFixedPanels()->getControlButtons();
    }
    static std::string Order() {
        std::string Text;
        for (int i = 0; i < Column()->countWindows(); ++i)
            Text += (Text.empty() ? "" : " ") + std::to_string(Column()->getWindow(i)->getType());
        return Text;
    }
    // The line of the battle list that shows a creature of that name, -1
    // when there is none.
    static int BattleLine(const char* Name) {
        const int Count = RebuildBattleList();
        for (int n = 0; n < Count; ++n) {
            const Creature* C = GetBattleListCreature(n);
            if (C != nullptr && std::strcmp(C->Name, Name) == 0) return n;
        }
        return -1;
    }
    static std::string SkillsValue(int Line) {
        char Text[24];
        SkillsBody::getValue(Line, Text, int(sizeof Text));
        return Text;
    }
};

TEST_F(SideWindowsTest, OpenedByKeysAndButtonsArrangedByHandAndTheBattleListAttacks) {
    ASSERT_TRUE(PlaceCharacter("Kestrel", 1001, 1002, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    ASSERT_TRUE(EnterGameAs("100002", "Kestrel"));
    // A window tall enough for the three windows under the fixed panels.
    platform::Event e;
    e.Kind = platform::EventKind::Resize;
    e.Width = 480 + SkinProperties().GameView.ColumnWidth;
    e.Height = 740;
    Inject(e);
    ASSERT_TRUE(PumpUntil([&] { return Column()->getHeight() > 300; }));

    // Skills by its key, battle by its button, VIP by its key; the skills
    // window not at its full length, so that all three fit.
    SetContentWindowValue(SKILLS_WINDOW, 150);
    PressCtrl('s');
    ClickOn(Buttons()->getBattleButton());
    PressCtrl('p');
    ASSERT_EQ(Order(), "6 7 9") << ModalCaption() << " mode " << GetInputMode();
    frame::Pump();
    EXPECT_TRUE(Buttons()->getSkillsButton()->isOn());
    EXPECT_TRUE(Buttons()->getBattleButton()->isOn());
    EXPECT_TRUE(Buttons()->getVipButton()->isOn());

    // The skills window minimised and restored by its button.
    SideWindow* Skills = FindSideWindow(SKILLS_WINDOW);
    const int SkillsHeight = Skills->getHeight();
    ClickOn(Skills->getMinimizeButton());
    EXPECT_TRUE(Skills->IsMinimized());
    EXPECT_EQ(FindSideWindow(BATTLE_WINDOW)->getY(), SkinProperties().SideWindow.MinimizedHeight);
    ClickOn(Skills->getMinimizeButton());
    EXPECT_FALSE(Skills->IsMinimized());
    EXPECT_EQ(Skills->getHeight(), SkillsHeight);

    // The VIP list dragged by its title above the battle list.
    int x = 0, y = 0, bx = 0, by = 0;
    FindSideWindow(VIP_WINDOW)->getAbsolutePosition(x, y);
    FindSideWindow(BATTLE_WINDOW)->getAbsolutePosition(bx, by);
    x += 40, y += 6;
    MoveTo(x, y);
    Button(platform::EventKind::ButtonDown, x, y);
    frame::Pump();
    for (int Step = 1; Step <= 5; ++Step) {
        MoveTo(x, y + (by - y) * Step / 5);
        frame::Pump();
    }
    Button(platform::EventKind::ButtonUp, x, by);
    frame::Pump();
    EXPECT_EQ(Order(), "6 9 7");
    Screenshot("side-windows.png");

    // A chicken comes into the battle list; a click on its line attacks it.
    int Line = -1;
    ASSERT_TRUE(PumpUntil([&] { return (Line = BattleLine("Chicken")) >= 0; }, 60000));
    // Her values as the server gave them on entering.
    ASSERT_TRUE(PumpUntil([] { return GetPlayerExperienceLevel() > 0 && GetSkillLevel(4) > 0; }));
    const std::string Experience = SkillsValue(1), Distance = SkillsValue(13);
    const int DistancePercent = SkillsBody::getPercent(13);
    auto ClickChicken = [&] {
        auto* Body = static_cast<BattleBody*>(FindSideWindow(BATTLE_WINDOW)->getBody());
        int lx = 0, ly = 0;
        Body->getAbsolutePosition(lx, ly);
        Click(lx + 40, ly + Line * 22 + 11 - Body->getScroll());
    };
    ClickChicken();
    ASSERT_NE(GetAttackTarget(), 0u);
    EXPECT_STREQ(FindCreature(GetAttackTarget())->Name, "Chicken");
    // Her shots train distance fighting and a kill gives experience; the
    // skills window shows what the server tells. Should the chicken die or
    // run, she takes the next one.
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (SkillsValue(1) != Experience || SkillsValue(13) != Distance || SkillsBody::getPercent(13) != DistancePercent)
                return true;
            if (GetAttackTarget() == 0 && (Line = BattleLine("Chicken")) >= 0) ClickChicken();
            return false;
        },
        120000))
        << "experience " << Experience << ", distance " << Distance << " " << DistancePercent << "%";
    Screenshot("side-windows-after-fight.png");
    // Stop ends the attack.
    ClickOn(GetMainWindow()->getGameView()->getFixedPanels()->getCombatPanel()->getStopButton());
    EXPECT_EQ(GetAttackTarget(), 0u);
    std::printf("experience %s -> %s, distance fighting %s (%d%%) -> %s (%d%%)\n", Experience.c_str(),
                SkillsValue(1).c_str(), Distance.c_str(), DistancePercent, SkillsValue(13).c_str(),
                SkillsBody::getPercent(13));
}

}  // namespace
