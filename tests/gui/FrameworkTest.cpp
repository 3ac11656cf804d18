// The component tree, mouse dispatch with capture, layout, skin tiling,
// hotkeys and command timers.
#include "gui/framework/GUI.h"
#include "gui/framework/SkinProperties.h"
#include "gui/framework/Skins.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <memory>
#include <vector>

namespace {

// A leaf that records what reaches it and can take the capture.
class Probe : public Component {
  public:
    explicit Probe(std::string Name, std::vector<std::string>* Log, bool Takes = true)
        : Name(std::move(Name)), Log(Log), Takes(Takes) {}
    bool leftButtonDown(int x, int y, int) override {
        record("down", x, y);
        if (CapturesOnPress) takeCapture();
        return Takes;
    }
    bool leftButtonUp(int x, int y, int) override {
        record("up", x, y);
        if (CapturesOnPress) dropCapture();
        return Takes;
    }
    bool mouseMove(int x, int y) override {
        record("move", x, y);
        return Takes;
    }
    void mouseRest(int x, int y) override { record("rest", x, y); }
    void command(int number) override { Commands.push_back(number); }
    void cancelCapture() override { ++Cancelled; }
    bool queryHelp(int, int) override {
        if (HelpNumber == 0) return Component::queryHelp(0, 0);
        SetHelpNumber(HelpNumber);
        SetHelpSize(_Width, _Height);
        return true;
    }
    void record(const char* what, int x, int y) {
        if (Log) Log->push_back(Name + " " + what + " " + std::to_string(x) + "," + std::to_string(y));
    }
    std::string Name;
    std::vector<std::string>* Log;
    bool Takes;
    bool CapturesOnPress = false;
    int Cancelled = 0;
    int HelpNumber = 0;
    std::vector<int> Commands;
};

class GuiFrameworkTest : public testing::Test {
  protected:
    void SetUp() override {
        InitSkins();
        InitGUI();
    }
    void TearDown() override {
        ExitGUI();
        ExitSkins();
        platform::SetClockOverride({});
    }
};

Probe* MakeProbe(const char* name, std::vector<std::string>* log, int x, int y, int w, int h) {
    Probe* p = new Probe(name, log);
    p->setPosition(x, y);
    p->setSize(w, h);
    return p;
}

std::vector<Component*> Children(const CompositeComponent& c) {
    std::vector<Component*> list;
    for (Component* k = c.getFirstChild(); k != NULL; k = k->getNextSibling()) list.push_back(k);
    return list;
}

// ---- Skin tiling ----

TEST_F(GuiFrameworkTest, SkinOfItsOwnSizeIsOneCopy) {
    auto tiles = GetSkinTiles(5, 6, 96, 96, 7, 0, 0);
    ASSERT_EQ(tiles.size(), 1u);
    EXPECT_EQ(tiles[0].SourceX, 0);
    EXPECT_EQ(tiles[0].width, 96);
    EXPECT_EQ(tiles[0].x, 5);
    EXPECT_EQ(tiles[0].y, 6);
}

TEST_F(GuiFrameworkTest, TilesRunInColumnsAndRowsCutToTheRest) {
    // Skin 29 is 96 x 2 at (0, 96).
    auto tiles = GetSkinTiles(0, 0, 100, 10, 29, 0, 0);
    ASSERT_EQ(tiles.size(), 10u);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(tiles[row * 2].width, 96);
        EXPECT_EQ(tiles[row * 2 + 1].width, 4);
        EXPECT_EQ(tiles[row * 2 + 1].x, 96);
        EXPECT_EQ(tiles[row * 2 + 1].SourceX, 0);
        EXPECT_EQ(tiles[row * 2].y, row * 2);
        EXPECT_EQ(tiles[row * 2].height, 2);
        EXPECT_EQ(tiles[row * 2].SourceY, 96);
    }
}

TEST_F(GuiFrameworkTest, OffsetShortensFirstColumnAndRowOnly) {
    // Skin 7: 96 x 96 at (0, 0).
    auto tiles = GetSkinTiles(0, 0, 200, 100, 7, 10, 90);
    ASSERT_GE(tiles.size(), 3u);
    EXPECT_EQ(tiles[0].width, 86);
    EXPECT_EQ(tiles[0].SourceX, 10);
    EXPECT_EQ(tiles[0].height, 6);
    EXPECT_EQ(tiles[0].SourceY, 90);
    EXPECT_EQ(tiles[1].x, 86);
    EXPECT_EQ(tiles[1].SourceX, 0);
    EXPECT_EQ(tiles[1].width, 96);
    EXPECT_EQ(tiles[2].width, 200 - 86 - 96);
    // The second row starts at the top of the skin with the full height.
    EXPECT_EQ(tiles[3].y, 6);
    EXPECT_EQ(tiles[3].SourceY, 0);
    EXPECT_EQ(tiles[3].SourceX, 10);
    EXPECT_EQ(tiles[3].height, 94);
}

TEST_F(GuiFrameworkTest, NothingForSkinZeroOrEmptyRectTilesOffTheSurfaceAndAMissingSkinReported) {
    EXPECT_TRUE(GetSkinTiles(0, 0, 10, 10, 0, 0, 0).empty());
    EXPECT_TRUE(GetSkinTiles(0, 0, 0, 10, 7, 0, 0).empty());
    // A rectangle laid out for a window too small for it: nothing to draw.
    EXPECT_TRUE(GetSkinTiles(0, 0, -5, 10, 7, 0, 0).empty());
    // Off the surface's top left: laid out where it is, cut when drawn.
    auto tiles = GetSkinTiles(-100, -3, 110, 10, 7, 0, 0);
    ASSERT_EQ(tiles.size(), 2u);
    EXPECT_EQ(tiles[0].x, -100);
    EXPECT_EQ(tiles[0].y, -3);
    EXPECT_EQ(tiles[1].x, -4);
    EXPECT_EQ(tiles[1].width, 14);
    EXPECT_ASSERTION(GetSkinTiles(0, 0, 10, 10, MISSING_SKIN, 0, 0), "Skins[skin].width>0 && Skins[skin].height>0");
}

// ---- The tree ----

TEST_F(GuiFrameworkTest, ChildListOrderAndBrokenTreeOperations) {
    CompositeComponent root;
    std::vector<std::string> log;
    Probe* a = MakeProbe("a", &log, 0, 0, 1, 1);
    Probe* b = MakeProbe("b", &log, 0, 0, 1, 1);
    Probe* c = MakeProbe("c", &log, 0, 0, 1, 1);
    root.addChild(a);
    root.addChildFirst(b);
    root.insertChildAfter(b, c);
    EXPECT_EQ(Children(root), (std::vector<Component*>{b, c, a}));
    EXPECT_EQ(a->getPreviousSibling(), c);
    EXPECT_EQ(b->getPreviousSibling(), nullptr);
    root.swapChildren(b, a);
    EXPECT_EQ(Children(root), (std::vector<Component*>{a, c, b}));
    root.swapChildren(c, b);
    EXPECT_EQ(Children(root), (std::vector<Component*>{a, b, c}));

    // A child that already has a parent is refused and stays where it is.
    CompositeComponent other;
    EXPECT_ASSERTION(other.addChild(a), "Child->Parent==NULL");
    EXPECT_EQ(a->getParent(), &root);
    EXPECT_EQ(other.getFirstChild(), nullptr);
    EXPECT_ASSERTION(other.removeChild(a), "Child->Parent==this");
    EXPECT_ASSERTION(other.swapChildren(a, b), "Child1->Parent==this");
    // A plain component has no children: the stray one stays ours to free.
    auto stray = std::make_unique<Probe>("x", nullptr);
    EXPECT_ASSERTION(a->addChild(stray.get()), "false");
    EXPECT_EQ(stray->getParent(), nullptr);
    EXPECT_EQ(Children(root), (std::vector<Component*>{a, b, c}));

    Probe loose("loose", nullptr);
    EXPECT_ASSERTION(loose.getPreviousSibling(), "Parent!=NULL");
    root.deleteChild(b);
    EXPECT_EQ(Children(root), (std::vector<Component*>{a, c}));
}

TEST_F(GuiFrameworkTest, SizeNeverNegative) {
    Probe p("p", nullptr);
    EXPECT_ASSERTION(p.setSize(-1, 5), "_Width>=0");
    EXPECT_GE(p.getWidth(), 0);
}

// ---- Mouse dispatch and capture ----

TEST_F(GuiFrameworkTest, FirstOfTwoOverlappingChildrenTakesTheClick) {
    std::vector<std::string> log;
    CompositeComponent root;
    root.setSize(100, 100);
    root.addChild(MakeProbe("first", &log, 10, 10, 50, 50));
    root.addChild(MakeProbe("second", &log, 30, 30, 50, 50));  // drawn on top
    EXPECT_TRUE(root.leftButtonDown(40, 40, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"first down 30,30"}));
    // Just outside the first child's last column goes to the second.
    log.clear();
    root.leftButtonDown(60, 40, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"second down 30,10"}));
}

TEST_F(GuiFrameworkTest, ChildThatDeclinesPassesTheClickOn) {
    std::vector<std::string> log;
    CompositeComponent root;
    root.setSize(100, 100);
    Probe* label = MakeProbe("label", &log, 0, 0, 50, 50);
    label->Takes = false;
    root.addChild(label);
    root.addChild(MakeProbe("under", &log, 0, 0, 50, 50));
    EXPECT_TRUE(root.leftButtonDown(5, 5, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"label down 5,5", "under down 5,5"}));
    EXPECT_FALSE(root.leftButtonDown(70, 70, 0));
}

TEST_F(GuiFrameworkTest, CaptureChainRoutesEveryEventAndReleasesUpwards) {
    std::vector<std::string> log;
    CompositeComponent root;
    root.setSize(300, 300);
    auto* panel = new CompositeComponent;
    panel->setPosition(100, 100);
    panel->setSize(100, 100);
    root.addChild(panel);
    Probe* p = MakeProbe("p", &log, 10, 10, 20, 20);
    p->CapturesOnPress = true;
    panel->addChild(p);
    root.leftButtonDown(115, 115, 0);
    EXPECT_EQ(root.getCapture(), panel);
    EXPECT_EQ(panel->getCapture(), p);
    // Far outside, relative coordinates go negative but still arrive.
    root.mouseMove(0, 0);
    root.leftButtonUp(5, 290, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"p down 5,5", "p move -110,-110", "p up -105,180"}));
    EXPECT_EQ(root.getCapture(), nullptr);
    EXPECT_EQ(panel->getCapture(), nullptr);
}

TEST_F(GuiFrameworkTest, CancelWalksDownAndRemovingTheCapturedChildClearsTheChain) {
    CompositeComponent root;
    root.setSize(300, 300);
    auto* panel = new CompositeComponent;
    panel->setSize(100, 100);
    root.addChild(panel);
    Probe* p = MakeProbe("p", nullptr, 0, 0, 20, 20);
    p->CapturesOnPress = true;
    panel->addChild(p);
    root.leftButtonDown(1, 1, 0);
    root.cancelCapture();
    EXPECT_EQ(p->Cancelled, 1);
    EXPECT_EQ(root.getCapture(), nullptr);
    EXPECT_EQ(panel->getCapture(), nullptr);

    root.leftButtonDown(1, 1, 0);
    root.removeChild(panel);
    EXPECT_EQ(root.getCapture(), nullptr);
    delete panel;
    // The root takes clicks normally again.
    EXPECT_FALSE(root.leftButtonDown(1, 1, 0));
}

TEST_F(GuiFrameworkTest, MouseRestGoesToFirstChildUnderPointWithoutCaptureCheck) {
    std::vector<std::string> log;
    CompositeComponent root;
    root.setSize(100, 100);
    Probe* a = MakeProbe("a", &log, 0, 0, 50, 50);
    a->Takes = false;
    root.addChild(a);
    root.addChild(MakeProbe("b", &log, 0, 0, 50, 50));
    root.mouseRest(3, 4);
    EXPECT_EQ(log, (std::vector<std::string>{"a rest 3,4"}));
}

TEST_F(GuiFrameworkTest, QueryHelpAddsTheChildOffsets) {
    CompositeComponent root;
    root.setSize(300, 300);
    auto* panel = new CompositeComponent;
    panel->setPosition(100, 50);
    panel->setSize(100, 100);
    root.addChild(panel);
    Probe* p = MakeProbe("p", nullptr, 10, 20, 30, 40);
    p->HelpNumber = 17;
    panel->addChild(p);
    SetHelpOrigin(0, 0);
    TakeHelpChanged();
    EXPECT_TRUE(root.queryHelp(115, 75));
    int x, y, w, h;
    GetHelpQuery(x, y, w, h);
    EXPECT_EQ(x, 110);
    EXPECT_EQ(y, 70);
    EXPECT_EQ(w, 30);
    EXPECT_EQ(h, 40);
    EXPECT_EQ(GetHelpNumber(), 17);
    EXPECT_TRUE(TakeHelpChanged());
    EXPECT_FALSE(TakeHelpChanged());
    EXPECT_FALSE(root.queryHelp(5, 5));
    EXPECT_EQ(GetHelpNumber(), 0);
}

// ---- Layout ----

TEST_F(GuiFrameworkTest, PlaceChildCountsNegativeValuesFromTheFarEdges) {
    CompositeComponent root;
    root.setSize(200, 100);
    Probe* p = MakeProbe("p", nullptr, 0, 0, 1, 1);
    root.addChild(p);
    root.placeChildSized(p, 5, -20, 0, 0);
    EXPECT_EQ(p->getX(), 5);
    EXPECT_EQ(p->getY(), 80);
    EXPECT_EQ(p->getWidth(), 195);
    EXPECT_EQ(p->getHeight(), 20);
    root.placeChildSized(p, -50, 10, -10, 30);
    EXPECT_EQ(p->getX(), 150);
    EXPECT_EQ(p->getWidth(), 40);
    EXPECT_EQ(p->getHeight(), 30);
}

TEST_F(GuiFrameworkTest, FitToChildrenMovesToTheCornerAndKeepsTheOldEdges) {
    CompositeComponent root;
    root.setSize(500, 500);
    Probe* a = MakeProbe("a", nullptr, 10, 10, 30, 20);
    Probe* b = MakeProbe("b", nullptr, 25, 40, 50, 10);
    root.addChild(a);
    root.addChild(b);
    root.fitToChildren(true);
    EXPECT_EQ(a->getX(), 0);
    EXPECT_EQ(a->getY(), 0);
    EXPECT_EQ(b->getX(), 15);
    EXPECT_EQ(b->getY(), 30);
    EXPECT_EQ(root.getWidth(), 75);
    EXPECT_EQ(root.getHeight(), 50);

    // Margins are absolute values.
    root.fitToChildrenWithMargins(-3, 4, 5, -6, false);
    EXPECT_EQ(a->getX(), 3);
    EXPECT_EQ(a->getY(), 4);
    EXPECT_EQ(root.getWidth(), 65 + 5 + 3);
    EXPECT_EQ(root.getHeight(), 40 + 6 + 4);
}

TEST_F(GuiFrameworkTest, FitAroundChildCountsOnlyOutwardMargins) {
    CompositeComponent root;
    Probe* a = MakeProbe("a", nullptr, 7, 7, 30, 20);
    root.addChild(a);
    root.fitAroundChild(a, 4, -2, -6, 3, true);
    EXPECT_EQ(root.getWidth(), 30 + 4 + 6);
    EXPECT_EQ(root.getHeight(), 20);
    EXPECT_EQ(a->getX(), 7);
}

TEST_F(GuiFrameworkTest, ClipChildrenCutsOrRemoves) {
    CompositeComponent root;
    root.setSize(100, 100);
    Probe* inside = MakeProbe("in", nullptr, 10, 10, 20, 20);
    Probe* cut = MakeProbe("cut", nullptr, -10, 90, 30, 20);
    Probe* gone = MakeProbe("gone", nullptr, 150, 10, 20, 20);
    root.addChild(inside);
    root.addChild(cut);
    root.addChild(gone);
    root.clipChildren(false);
    EXPECT_EQ(Children(root), (std::vector<Component*>{inside, cut}));
    EXPECT_EQ(cut->getX(), 0);
    EXPECT_EQ(cut->getY(), 90);
    EXPECT_EQ(cut->getWidth(), 20);
    EXPECT_EQ(cut->getHeight(), 10);
    cut->setPosition(95, 0);
    root.clipChildren(true);
    EXPECT_EQ(Children(root), (std::vector<Component*>{inside}));
}

// ---- Hotkeys ----

TEST_F(GuiFrameworkTest, HotkeysFoldShiftAndLowerCase) {
    Probe target("t", nullptr);
    RegisterHotkey(65, &target, 7);                   // "A"
    RegisterHotkey(keys::CTRL | 81, &target, 9);      // Ctrl+Q
    EXPECT_TRUE(DispatchHotkey(keys::SHIFT | 'a'));
    EXPECT_TRUE(DispatchHotkey('a'));
    EXPECT_TRUE(DispatchHotkey(keys::CTRL | 'q'));
    EXPECT_FALSE(DispatchHotkey('b'));
    EXPECT_EQ(target.Commands, (std::vector<int>{7, 7, 9}));
    // A key registered again keeps one entry with the new target.
    RegisterHotkey(65, &target, 8);
    EXPECT_EQ(GetNumberOfHotkeys(), 2);
    RemoveHotkey(65);
    EXPECT_FALSE(DispatchHotkey('A'));
    EXPECT_TRUE(DispatchHotkey(keys::CTRL | 'Q'));
}

TEST_F(GuiFrameworkTest, DestroyedComponentLeavesNoHotkeyBehind) {
    auto* target = new Probe("t", nullptr);
    RegisterHotkey(66, target, 1);
    delete target;
    EXPECT_EQ(GetNumberOfHotkeys(), 0);
    EXPECT_FALSE(DispatchHotkey('B'));
}

// ---- Timers ----

TEST_F(GuiFrameworkTest, TimerOfThirtyTenthsRunsThreeSecondsAndOnceAtZero) {
    uint32_t now = 1000;
    platform::SetClockOverride([&now] { return now; });
    Probe target("t", nullptr);
    ComponentTimer::tick();  // the first run only records the time
    ComponentTimer timer(30, &target, 4);
    EXPECT_EQ(timer.remainingTenths(), 30);
    EXPECT_FALSE(timer.expired());
    int ticks = 0;
    while (ticks < 100) {
        now += 100;
        ComponentTimer::tick();
        ++ticks;
        if (timer.expired()) break;
    }
    EXPECT_EQ(ticks, 30);
    EXPECT_EQ(target.Commands.size(), 30u);
    EXPECT_EQ(GetNumberOfActiveTimers(), 0);
    now += 100;
    ComponentTimer::tick();
    EXPECT_EQ(target.Commands.size(), 30u);
    EXPECT_EQ(timer.remainingTenths(), 0);
}

TEST_F(GuiFrameworkTest, TimerOfZeroNeverRunsAndDestroyedTimerFreesItsSlot) {
    Probe target("t", nullptr);
    ComponentTimer none(0, &target, 1);
    EXPECT_TRUE(none.expired());
    EXPECT_EQ(GetNumberOfActiveTimers(), 0);
    {
        ComponentTimer a(10, &target, 2);
        EXPECT_EQ(GetNumberOfActiveTimers(), 1);
    }
    EXPECT_EQ(GetNumberOfActiveTimers(), 0);
}

// A command that destroys its own timer in the middle of a tick.
class SelfStopping : public Component {
  public:
    void command(int) override {
        ++Calls;
        delete Timer;
        Timer = nullptr;
    }
    ComponentTimer* Timer = nullptr;
    int Calls = 0;
};

TEST_F(GuiFrameworkTest, TimerDestroyedByItsOwnCommand) {
    uint32_t now = 0;
    platform::SetClockOverride([&now] { return now; });
    SelfStopping target;
    ComponentTimer::tick();
    target.Timer = new ComponentTimer(5, &target, 1);
    now += 100;
    ComponentTimer::tick();
    now += 100;
    ComponentTimer::tick();
    EXPECT_EQ(target.Calls, 1);
    EXPECT_EQ(GetNumberOfActiveTimers(), 0);
}

// ---- Tooltip ----

TEST_F(GuiFrameworkTest, TooltipIsACopy) {
    {
        std::string text = "Close";
        SetTooltipText(text.c_str());
        text = "xxxxx";
    }
    ASSERT_NE(GetTooltipText(), nullptr);
    EXPECT_STREQ(GetTooltipText(), "Close");
    SetTooltipText(nullptr);
    EXPECT_EQ(GetTooltipText(), nullptr);
}

}  // namespace
