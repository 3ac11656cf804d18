// Room for the side column, in a maximised window on a 1920 x 1080 screen:
// at the automatic size (2x) the column holds one short window; minimising
// the inventory gives the freed height to it at once, maximising takes it
// back; "Interface size" on the graphics page offers Automatic, 1x and 2x
// (3x would leave less than 550 x 450), 1x is drawn at once with the page
// still open, and the column then holds the skills and the battle list
// together; Escape on the page takes a size tried back; Ok keeps it in
// Vorna.cfg.
#include "PlaySupport.h"

#include "gui/dialogs/Options.h"
#include "gui/windows/InventoryPanel.h"
#include "gui/windows/ListWindows.h"
#include "gui/windows/SideColumn.h"
#include "gui/windows/StatusPanels.h"

#include <cstdio>
#include <string>

namespace {

class InterfaceSizeTest : public PlayTest {
  protected:
    static GameView* View() { return GetMainWindow()->getGameView(); }
    static SideColumn* Column() { return View()->getSideColumn(); }
    static InventoryPanel* Inventory() {
        return dynamic_cast<InventoryPanel*>(View()->getFixedPanels()->getInventoryPanel());
    }
    // The graphics page, through the "Options" button and the menu.
    static bool OpenGraphicsPage() {
        ClickScaled(View()->getFixedPanels()->getCombatPanel()->getOptionsButton());
        if (!PumpUntil([] { return ModalCaption() == "Options"; })) return false;
        ClickScaled(Body<OptionsMenuBody>()->getButton(1));
        return PumpUntil([] { return ModalCaption() == "Graphics Options"; });
    }
    static bool Whole(const SideWindow* W) { return W != nullptr && W->getHeight() == W->getWantedHeight(); }
    void Shot(const char* Name) {
        frame::Pump();
        Screenshot(Name);
    }
};

TEST_F(InterfaceSizeTest, TheInventorysFormAndTheInterfaceSizeGiveTheColumnRoom) {
    ASSERT_TRUE(StartServer()) << (Server ? Server->Log : std::string());
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    ASSERT_TRUE(Resize(1920, 1050));
    ASSERT_EQ(Scale(), 2);
    ASSERT_EQ(GetMainWindow()->getWidth(), 960);

    // The skills window, squeezed into the short column.
    PressCtrl('s');
    SideWindow* Skills = FindSideWindow(SKILLS_WINDOW);
    ASSERT_NE(Skills, nullptr);
    const auto Before = View()->getColumnArea();
    const int SkillsBefore = Skills->getHeight();
    std::printf("at 2x: column %d high from %d, skills %d of %d\n", Before.height, Before.y, SkillsBefore,
                Skills->getWantedHeight());
    ASSERT_LT(SkillsBefore, Skills->getWantedHeight());

    // Minimised, the inventory's height goes to the column and the window in
    // it at once, without the window changing size.
    ClickScaled(Inventory()->getMinimizeButton());
    EXPECT_TRUE(Inventory()->isMinimized());
    const auto Freed = View()->getColumnArea();
    const int Gain = Before.y - Freed.y;
    EXPECT_GT(Gain, 0);
    EXPECT_EQ(Freed.height, Before.height + Gain);
    EXPECT_EQ(Column()->getY(), Freed.y);
    EXPECT_EQ(Column()->getHeight(), Freed.height);
    EXPECT_EQ(View()->getFixedPanels()->getHeight(), Freed.y);
    EXPECT_EQ(Skills->getHeight(), std::min(SkillsBefore + Gain, Skills->getWantedHeight()));
    Shot("inventory-minimised-2x.png");
    ClickScaled(Inventory()->getMinimizeButton());
    EXPECT_FALSE(Inventory()->isMinimized());
    EXPECT_EQ(View()->getColumnArea().y, Before.y);
    EXPECT_EQ(Column()->getHeight(), Before.height);
    EXPECT_EQ(Skills->getHeight(), SkillsBefore);

    // The battle list beside it does not fit: one of the two gives way.
    PressCtrl('b');
    ASSERT_NE(FindSideWindow(BATTLE_WINDOW), nullptr);
    EXPECT_FALSE(Whole(FindSideWindow(SKILLS_WINDOW)) && Whole(FindSideWindow(BATTLE_WINDOW)));
    Shot("interface-2x-1920x1050.png");

    // The graphics page: 3x would leave too little, 1x is there.
    ASSERT_TRUE(OpenGraphicsPage());
    auto* Page = Body<GraphicsOptionsBody>();
    ASSERT_NE(Page, nullptr);
    ASSERT_NE(Page->getInterfaceSize(0), nullptr);
    ASSERT_NE(Page->getInterfaceSize(1), nullptr);
    ASSERT_NE(Page->getInterfaceSize(2), nullptr);
    EXPECT_EQ(Page->getInterfaceSize(3), nullptr);
    EXPECT_GE(Page->getAdvanced()->getY(), Page->getModes()->getY() + Page->getModes()->getHeight());
    EXPECT_EQ(Page->getInterfaceSize(0)->getText(), "Automatic");
    EXPECT_TRUE(Page->getInterfaceSize(0)->isDown());
    ClickScaled(Page->getInterfaceSize(1));
    // Drawn at once, the page still open and centred in the larger layout.
    EXPECT_EQ(Scale(), 1);
    EXPECT_EQ(GetMainWindow()->getWidth(), 1920);
    EXPECT_EQ(GetMainWindow()->getHeight(), 1050);
    ASSERT_EQ(ModalCaption(), "Graphics Options");
    EXPECT_EQ(Modal()->getX(), 960 - Modal()->getWidth() / 2);
    EXPECT_TRUE(Page->getInterfaceSize(1)->isDown());
    ASSERT_TRUE(PumpUntil([] {
        int w = 0, h = 0;
        platform::headless::LastFrame(w, h);
        return w == 1920 && h == 1050;
    }));
    Shot("interface-1x-graphics-page.png");
    ClickScaled(Modal()->getDefaultButton());
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Options"; }));
    ClickScaled(Modal()->getDefaultButton());
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_NE(testing_support::ReadFile("Vorna.cfg").find("InterfaceSize = 1"), std::string::npos);

    // The column now holds both windows whole.
    for (int Type : {SKILLS_WINDOW, BATTLE_WINDOW})
        if (FindSideWindow(Type) == nullptr) PressCtrl(Type == SKILLS_WINDOW ? 's' : 'b');
    frame::Pump();
    EXPECT_TRUE(Whole(FindSideWindow(SKILLS_WINDOW)));
    EXPECT_TRUE(Whole(FindSideWindow(BATTLE_WINDOW)));
    for (int i = 0; i < Column()->countWindows(); ++i) {
        const SideWindow* W = Column()->getWindow(i);
        EXPECT_LE(W->getY() + W->getHeight(), Column()->getHeight()) << W->getType();
    }
    Shot("interface-1x-1920x1050.png");

    // A size tried and taken back with Escape.
    ASSERT_TRUE(OpenGraphicsPage());
    ClickScaled(Body<GraphicsOptionsBody>()->getInterfaceSize(2));
    EXPECT_EQ(Scale(), 2);
    Press(platform::Key::Escape);
    EXPECT_EQ(Scale(), 1);
    EXPECT_EQ(GetInterfaceSize(), 1);
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Options"; }));
    Press(platform::Key::Escape);
    EXPECT_EQ(GetModalWindow(), nullptr);
}

}  // namespace
