// The side column of the game view, driven as a player drives it: windows
// opened by their keys into a full column, minimised and restored by button
// and by double click, dragged past a neighbour, resized by the grip, closed,
// and their heights and order found again after a restart of the client.
#include "DialogTestSupport.h"

#include "app/Control.h"
#include "gui/windows/ListWindows.h"
#include "gui/windows/SideColumn.h"
#include "gui/windows/StatusPanels.h"
#include "support/TestSupport.h"

#include <fstream>
#include <sstream>

namespace {

class SideColumnTest : public ClientTest {
  protected:
    // A tall window, so that the column below the fixed panels has room for
    // three windows.
    static void UseTallWindow() {
        platform::Event e;
        e.Kind = platform::EventKind::Resize;
        e.Width = 800;
        e.Height = 760;
        Inject(e);
        ASSERT_TRUE(PumpUntil([] {
            int w = 0, h = 0;
            platform::headless::LastFrame(w, h);
            return w == 800 && h == 760;
        }));
    }
    static SideColumn* Column() { return GetMainWindow()->getGameView()->getSideColumn(); }
    static std::string Order() {
        std::string Text;
        for (int i = 0; i < Column()->countWindows(); ++i)
            Text += (Text.empty() ? "" : " ") + std::to_string(Column()->getWindow(i)->getType());
        return Text;
    }
    static int Height(int Type) {
        const SideWindow* W = FindSideWindow(Type);
        return W != nullptr ? W->getHeight() : -1;
    }
    // Heights stacked without gaps from the column's top, in list order.
    static bool Stacked() {
        int y = 0;
        for (int i = 0; i < Column()->countWindows(); ++i) {
            if (Column()->getWindow(i)->getY() != y) return false;
            y += Column()->getWindow(i)->getHeight();
        }
        return true;
    }
    static void AbsoluteOf(const Component* C, int& x, int& y) { C->getAbsolutePosition(x, y); }
    // Presses on a point, moves the pointer in steps and lets go there.
    static void DragFromTo(int x, int y, int ToX, int ToY) {
        MoveTo(x, y);
        Button(platform::EventKind::ButtonDown, x, y);
        frame::Pump();
        const int Steps = 4;
        for (int i = 1; i <= Steps; ++i) {
            MoveTo(x + (ToX - x) * i / Steps, y + (ToY - y) * i / Steps);
            frame::Pump();
        }
        Button(platform::EventKind::ButtonUp, ToX, ToY);
        frame::Pump();
    }
    static void DoubleClickAt(int x, int y) {
        MoveTo(x, y);
        Button(platform::EventKind::ButtonDown, x, y);
        Button(platform::EventKind::ButtonUp, x, y);
        Button(platform::EventKind::DoubleClick, x, y);
        Button(platform::EventKind::ButtonUp, x, y);
        frame::Pump();
    }
    // The title bar of a window, left of its buttons.
    static void TitleOf(int Type, int& x, int& y) {
        AbsoluteOf(FindSideWindow(Type), x, y);
        x += 40;
        y += 6;
    }
    // Ends the client and starts it again in the same working directory.
    void Restart() {
        frame::Destroy();
        app::ExitModules();
        ExitControl();
        platform::headless::Reset();
        app::InitModules(0);
        InitControl();
        platform::headless::SetUsableArea(0, 0, 1024, 768);
        ASSERT_TRUE(frame::Create());
        int width = 0, height = 0;
        platform::GetClientSize(width, height);
        InstallInterfaceHooks(width, height);
        frame::FirstFrame();
    }
};

TEST_F(SideColumnTest, WindowsShareTheColumnAndKeepTheirPlaceAcrossARestart) {
    UseTallWindow();
    GetMainWindow()->showGameView();
    frame::Pump();
    const int H = Column()->getHeight();
    ASSERT_GE(H, 380) << "the column below the panels";
    const int Frame = SideWindow::frameHeight();

    // Skills and battle fill the column; the battle list has room to give.
    SetContentWindowValue(SKILLS_WINDOW, H - 200 - Frame);
    SetContentWindowValue(BATTLE_WINDOW, 200 - Frame);
    SetContentWindowValue(VIP_WINDOW, 120 - Frame);
    PressCtrl('s');
    PressCtrl('b');
    EXPECT_EQ(Order(), "6 7");
    EXPECT_EQ(Height(SKILLS_WINDOW), H - 200);
    EXPECT_EQ(Height(BATTLE_WINDOW), 200);
    ControlButtonsPanel* Buttons = GetMainWindow()->getGameView()->getFixedPanels()->getControlButtons();
    EXPECT_TRUE(Buttons->getSkillsButton()->isOn());
    EXPECT_FALSE(Buttons->getVipButton()->isOn());

    // The VIP list by its button: it needs its minimum height, which the
    // lowest window gives; the newcomer takes only that much for now.
    ClickOn(Buttons->getVipButton());
    EXPECT_EQ(Order(), "6 7 9");
    const int VipMinimum = FindSideWindow(VIP_WINDOW)->getMinimumHeight();
    EXPECT_EQ(Height(VIP_WINDOW), VipMinimum);
    EXPECT_EQ(Height(BATTLE_WINDOW), 200 - VipMinimum);
    EXPECT_EQ(Height(SKILLS_WINDOW), H - 200);
    EXPECT_TRUE(Stacked());
    Screenshot("column-three-windows.png");

    // Minimising the skills window gives the squeezed windows below their
    // heights back; restoring takes it again from the bottom.
    ClickOn(FindSideWindow(SKILLS_WINDOW)->getMinimizeButton());
    EXPECT_TRUE(FindSideWindow(SKILLS_WINDOW)->IsMinimized());
    EXPECT_EQ(Height(SKILLS_WINDOW), SkinProperties().SideWindow.MinimizedHeight);
    EXPECT_EQ(Height(BATTLE_WINDOW), 200);
    EXPECT_EQ(Height(VIP_WINDOW), 120);
    EXPECT_TRUE(Stacked());
    Screenshot("column-skills-minimised.png");
    ClickOn(FindSideWindow(SKILLS_WINDOW)->getMinimizeButton());
    EXPECT_FALSE(FindSideWindow(SKILLS_WINDOW)->IsMinimized());
    EXPECT_EQ(Height(SKILLS_WINDOW), H - 200);
    EXPECT_EQ(Height(VIP_WINDOW), VipMinimum);
    EXPECT_EQ(Height(BATTLE_WINDOW), 200 - VipMinimum);
    EXPECT_TRUE(Stacked());

    // A double click on the frame toggles between the two.
    int x, y;
    TitleOf(BATTLE_WINDOW, x, y);
    DoubleClickAt(x, y);
    EXPECT_TRUE(FindSideWindow(BATTLE_WINDOW)->IsMinimized());
    EXPECT_EQ(Height(VIP_WINDOW), 120) << "the freed height goes to the window below";
    TitleOf(BATTLE_WINDOW, x, y);
    DoubleClickAt(x, y);
    EXPECT_FALSE(FindSideWindow(BATTLE_WINDOW)->IsMinimized());
    EXPECT_EQ(Height(BATTLE_WINDOW), 200 - VipMinimum);
    EXPECT_EQ(Order(), "6 7 9");

    // Dragging the VIP list up: not yet past the battle list's middle, then
    // past it, where the two change places.
    const SideWindow* Battle = FindSideWindow(BATTLE_WINDOW);
    const int Middle = Battle->getY() + Battle->getHeight() / 2;
    TitleOf(VIP_WINDOW, x, y);
    int VipX, VipY;
    AbsoluteOf(FindSideWindow(VIP_WINDOW), VipX, VipY);
    const int Grab = y - VipY;
    int ColumnX, ColumnY;
    AbsoluteOf(Column(), ColumnX, ColumnY);
    MoveTo(x, y);
    Button(platform::EventKind::ButtonDown, x, y);
    frame::Pump();
    MoveTo(x, ColumnY + Middle + Grab);  // the VIP list's top right at the middle
    frame::Pump();
    EXPECT_EQ(Order(), "6 7 9");
    MoveTo(x, ColumnY + Middle + Grab - 1);
    frame::Pump();
    EXPECT_EQ(Order(), "6 9 7");
    EXPECT_EQ(FindSideWindow(VIP_WINDOW)->getY(), Middle - 1) << "it follows the pointer while held";
    Button(platform::EventKind::ButtonUp, x, ColumnY + Middle + Grab - 1);
    frame::Pump();
    EXPECT_TRUE(Stacked());
    EXPECT_EQ(FindSideWindow(VIP_WINDOW)->getY(), H - 200);

    // Closed by its button, the VIP list hands its height to the battle
    // list below it, and its control button comes up.
    ClickOn(FindSideWindow(VIP_WINDOW)->getCloseButton());
    EXPECT_EQ(Order(), "6 7");
    EXPECT_EQ(Height(BATTLE_WINDOW), 200);
    frame::Pump();
    EXPECT_FALSE(Buttons->getVipButton()->isOn());

    // The battle list made smaller by its grip, then as small as it goes.
    const auto GripOf = [](int Type, int& gx, int& gy) {
        AbsoluteOf(FindSideWindow(Type), gx, gy);
        gx += FindSideWindow(Type)->getWidth() - 5;
        gy += Height(Type) - 5;
    };
    int gx, gy;
    GripOf(BATTLE_WINDOW, gx, gy);
    DragFromTo(gx, gy, gx, gy - 40);
    EXPECT_EQ(Height(BATTLE_WINDOW), 160);
    const int BattleMinimum = FindSideWindow(BATTLE_WINDOW)->getMinimumHeight();
    GripOf(BATTLE_WINDOW, gx, gy);
    DragFromTo(gx, gy, gx, gy - 200);
    EXPECT_EQ(Height(BATTLE_WINDOW), BattleMinimum);
    // Closed and opened again, it comes back at that height at the bottom;
    // the skills window's grip then fills the column.
    PressCtrl('b');
    PressCtrl('b');
    EXPECT_EQ(Order(), "6 7");
    EXPECT_EQ(Height(BATTLE_WINDOW), BattleMinimum);
    GripOf(SKILLS_WINDOW, gx, gy);
    DragFromTo(gx, gy, gx, gy + (200 - BattleMinimum));
    EXPECT_EQ(Height(SKILLS_WINDOW), H - BattleMinimum);
    EXPECT_EQ(Height(BATTLE_WINDOW), BattleMinimum);
    EXPECT_TRUE(Stacked());
    Screenshot("column-full.png");

    // The full column's lowest window is at its minimum height and cannot
    // make room for the VIP list: it is closed instead.
    PressCtrl('p');
    EXPECT_EQ(Order(), "6 9");
    EXPECT_EQ(Height(VIP_WINDOW), BattleMinimum);
    EXPECT_EQ(Height(SKILLS_WINDOW), H - BattleMinimum);
    frame::Pump();
    EXPECT_FALSE(Buttons->getBattleButton()->isOn());

    // Ending the program and starting it again: the same windows come back
    // in the same order at the heights the player gave them.
    Restart();
    std::ifstream In("Vorna.cfg");
    std::stringstream Saved;
    Saved << In.rdbuf();
    EXPECT_NE(Saved.str().find("ContentWindow = (7," + std::to_string(BattleMinimum - Frame) + ")"),
              std::string::npos)
        << Saved.str();
    EXPECT_NE(Saved.str().find("OpenDialogs = 6\r\nOpenDialogs = 9\r\n"), std::string::npos) << Saved.str();
    UseTallWindow();
    GetMainWindow()->showGameView();
    frame::Pump();
    EXPECT_EQ(Order(), "6 9");
    EXPECT_EQ(Height(SKILLS_WINDOW), H - BattleMinimum);
    EXPECT_EQ(Height(VIP_WINDOW), BattleMinimum) << "squeezed as before";
    EXPECT_EQ(FindSideWindow(VIP_WINDOW)->getWantedHeight(), 120);
    Screenshot("column-after-restart.png");
}

}  // namespace
