// Containers and trade on the reference server, by the pointer alone: Mira
// opens her backpack from the inventory, drags a rune onto the floor and
// back, splits her gold through "Move Objects", opens the chest beside her
// and the bag in her backpack until the column has no room, and trades with
// Kestrel (a second connection), both accepting.
#include "PlaySupport.h"
#include "WirePlayer.h"

#include "graphics/MapView.h"
#include "gui/windows/ContainerWindow.h"
#include "gui/windows/InventoryPanel.h"
#include "gui/windows/SideColumn.h"
#include "gui/windows/StatusPanels.h"
#include "gui/windows/TradeWindow.h"
#include "world/Inventory.h"
#include "world/TypeNumbers.h"

namespace {

class ContainersTest : public PlayTest {
  protected:
    static InventoryPanel* Inventory() {
        return dynamic_cast<InventoryPanel*>(GetMainWindow()->getGameView()->getFixedPanels()->getInventoryPanel());
    }
    static ContainerWindow* Window(int Container) {
        return dynamic_cast<ContainerWindow*>(FindSideWindow(CONTAINER_WINDOW + Container));
    }
    static void Centre(const Component* C, int& x, int& y) {
        C->getAbsolutePosition(x, y);
        x += C->getWidth() / 2;
        y += C->getHeight() / 2;
    }
    // The middle of a map field on the screen, the player standing still.
    static void Field(int ax, int ay, int& x, int& y) {
        int px, py, pz;
        PlayerPosition(px, py, pz);
        int mx, my;
        Map()->getAbsolutePosition(mx, my);
        MapPictureToWindow((ax - px + 8 - 1) * 32 + 16, (ay - py + 6 - 1) * 32 + 16, Map()->getWidth(),
                           Map()->getHeight(), x, y);
        x += mx;
        y += my;
    }
    // The map at its full width; the height decides what the column holds.
    static bool UseWindowHeight(int Height) {
        platform::Event e;
        e.Kind = platform::EventKind::Resize;
        e.Width = 480 + SkinProperties().GameView.ColumnWidth;
        e.Height = Height;
        Inject(e);
        return PumpUntil([&] {
            int w = 0, h = 0;
            platform::headless::LastFrame(w, h);
            return w == e.Width && h == e.Height;
        });
    }
    // Press, move away in steps (a drag starts beyond three pixels), and
    // optionally hold over the target for a picture before letting go.
    void Drag(int x0, int y0, int x1, int y1, const char* Shot = nullptr) {
        MoveTo(x0, y0);
        Button(platform::EventKind::ButtonDown, x0, y0);
        frame::Pump();
        MoveTo(x0 + 6, y0 + 6);
        frame::Pump();
        MoveTo(x1, y1);
        frame::Pump();
        frame::Pump();
        if (Shot != nullptr) Screenshot(Shot);
        Button(platform::EventKind::ButtonUp, x1, y1);
        frame::Pump();
    }
    static int CountOf(int Container, int Type) {
        int Pieces = 0;
        for (int i = 0; i < GetContainerCount(Container); ++i) {
            const ObjectInstance O = GetContainerObject(Container, i);
            if (O.Type == Type) Pieces += GetObjectFlag(Type, CUMULATIVE) ? int(O.Data) : 1;
        }
        return Pieces;
    }
    static int PlaceOf(int Container, int Type) {
        for (int i = 0; i < GetContainerCount(Container); ++i)
            if (GetContainerObject(Container, i).Type == Type) return i;
        return -1;
    }
    static int Piles(int Container, int Type) {
        int Count = 0;
        for (int i = 0; i < GetContainerCount(Container); ++i) Count += GetContainerObject(Container, i).Type == Type;
        return Count;
    }
};

TEST_F(ContainersTest, BackpackChestDragsSplitsAFullColumnAndATrade) {
    SetTimeOfDay(0.5);
    ASSERT_TRUE(PlaceCharacter("Mira", 1006, 994, 7));
    ASSERT_TRUE(PlaceCharacter("Kestrel", 1005, 995, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    // A column that holds two container windows at their least height, but
    // not three.
    ASSERT_TRUE(UseWindowHeight(530));
    ASSERT_NE(Inventory(), nullptr);

    // The backpack on her back opens into the first window.
    ObjectSlot* Back = Inventory()->getSlot(3);
    ASSERT_EQ(Back->getObject().Type, TYPE_BACKPACK);
    int x, y;
    Centre(Back, x, y);
    CtrlRightClick(x, y);
    ASSERT_TRUE(PumpUntil([] { return Window(0) != nullptr; }));
    EXPECT_EQ(Window(0)->getCaption(), "Backpack");
    const int Things = GetContainerCount(0);
    ContainerBody* Pack = Window(0)->getContainerBody();

    // A rune onto the floor south of her, held over the field first, and
    // back into the backpack's last place.
    const int Rune = PlaceOf(0, TYPE_BLANK_RUNE);
    ASSERT_GE(Rune, 0);
    const int Runes = CountOf(0, TYPE_BLANK_RUNE);
    int fx, fy;
    Field(1006, 995, fx, fy);
    Centre(Pack->getSlot(Rune), x, y);
    Drag(x, y, fx, fy);
    ASSERT_TRUE(PumpUntil([&] { return CountOf(0, TYPE_BLANK_RUNE) == Runes - 1; }));
    // Onto another object of the backpack: into the backpack.
    ObjectSlot* Other = Pack->getSlot(1);
    Centre(Other, x, y);
    Drag(fx, fy, x, y, "drag-outline.png");
    ASSERT_TRUE(PumpUntil([&] { return CountOf(0, TYPE_BLANK_RUNE) == Runes; }));
    EXPECT_EQ(GetContainerCount(0), Things);

    // The gold onto another object: "Move Objects" asks how many; ten fewer
    // than all of them split off into the backpack.
    const int Gold = CountOf(0, TYPE_GOLD_COIN);
    ASSERT_GE(Gold, 12);
    Centre(Pack->getSlot(PlaceOf(0, TYPE_GOLD_COIN)), x, y);
    int ex, ey;
    Centre(Pack->getSlot(PlaceOf(0, TYPE_GOLD_COIN) == 0 ? 1 : 0), ex, ey);
    Drag(x, y, ex, ey);
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Move Objects"; }));
    for (int i = 0; i < 10; ++i) Press(platform::Key::Left);
    Press(platform::Key::Return);
    ASSERT_TRUE(PumpUntil([] { return Piles(0, TYPE_GOLD_COIN) == 2; }));
    EXPECT_EQ(CountOf(0, TYPE_GOLD_COIN), Gold);

    // The chest beside her opens in a second window below the first.
    Field(1007, 993, x, y);
    CtrlRightClick(x, y);
    ASSERT_TRUE(PumpUntil([] { return Window(1) != nullptr; }));
    EXPECT_EQ(Window(1)->getCaption(), "Chest");
    SideColumn* Column = GetGameColumn();
    ASSERT_EQ(Column->countWindows(), 2);
    EXPECT_EQ(Column->getWindow(1), Window(1));
    Screenshot("two-containers.png");

    // More windows than the column holds: the bag in the backpack opens in a
    // third window. The lowest windows are squeezed first; one that cannot
    // shrink any more is closed, and the server, told so (135), closes its
    // container.
    const int Bag = PlaceOf(0, TYPE_BAG);
    ASSERT_GE(Bag, 0);
    Pack->setScroll(Pack->getSlot(Bag)->getY() + Pack->getScroll() - ContainerBody::MARGIN);
    Centre(Pack->getSlot(Bag), x, y);
    const int Number = GetFreeContainerNumber();
    CtrlRightClick(x, y);
    ASSERT_TRUE(PumpUntil([&] { return IsContainerOpen(Number); }));
    EXPECT_NE(Window(Number), nullptr);
    EXPECT_EQ(Column->countWindows(), 2);
    ASSERT_TRUE(PumpUntil([&] {
        int Open = 0;
        for (int c = 0; c < OPEN_CONTAINERS; ++c) Open += IsContainerOpen(c);
        return Open == 2;
    }));
    EXPECT_FALSE(IsContainerOpen(1));
    for (int i = 0; i < Column->countWindows(); ++i)
        EXPECT_GE(Column->getWindow(i)->getHeight(), Column->getWindow(i)->getMinimumHeight());
    Pack->setScroll(0);

    // Kestrel offers her arrows and Mira answers with the apples: both
    // offers show, both accept, the apples go and the arrows come. The
    // window grows first, so that the trade window has room below the others.
    ASSERT_TRUE(UseWindowHeight(720));
    // Mira closes the bag's window: the server is asked to close the bag.
    ASSERT_NE(Window(Number), nullptr);
    ClickOn(Window(Number)->getCloseButton());
    EXPECT_EQ(Window(Number), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !IsContainerOpen(Number); }));
    WirePlayer Kestrel(GamePort(), 100002, "Kestrel");
    ASSERT_TRUE(Kestrel.Connected);
    ASSERT_TRUE(PumpUntil([] {
        for (int n = 0; n < GetNumberOfShownCreatures(); ++n) {
            uint32_t ID;
            int sx, sy;
            if (GetShownCreature(n, ID, sx, sy) && FindCreature(ID) != nullptr &&
                std::string(FindCreature(ID)->Name) == "Kestrel")
                return true;
        }
        return false;
    }));
    const uint32_t Mira = GetPlayerID();
    Kestrel.Raw({125, 0xFF, 0xFF, 10, 0, 0, uint8_t(TYPE_ARROW), uint8_t(TYPE_ARROW >> 8), 0, uint8_t(Mira),
                 uint8_t(Mira >> 8), uint8_t(Mira >> 16), uint8_t(Mira >> 24)});
    // The object menu's "Trade with ..." picks the apples and waits for a
    // player; Mira then clicks Kestrel on the map.
    const int Apples = PlaceOf(0, TYPE_APPLE);
    ASSERT_GE(Apples, 0);
    MapWindow::setTradeObject(PendingObject{0xFFFF, 64, Apples, TYPE_APPLE, Apples});
    PostEvent(MESSAGE_TARGET_2, 0, 0);
    ASSERT_TRUE(PumpUntil([] { return GetInputMode() == INPUT_TARGET_2; }));
    Field(1005, 995, x, y);
    MoveTo(x, y);
    Button(platform::EventKind::ButtonDown, x, y);
    Button(platform::EventKind::ButtonUp, x, y);
    ASSERT_TRUE(PumpUntil([] { return GetCounterOfferCount() > 0 && FindSideWindow(TRADE_WINDOW) != nullptr; }));
    auto* Trade = dynamic_cast<TradeWindow*>(FindSideWindow(TRADE_WINDOW));
    ASSERT_NE(Trade, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Trade->getTradeBody()->getAcceptButton() != nullptr; }));
    EXPECT_EQ(Trade->getTradeBody()->getCancelButton()->getText(), "Reject");
    EXPECT_EQ(GetOwnOfferObject(0).Type, TYPE_APPLE);
    EXPECT_EQ(GetCounterOfferObject(0).Type, TYPE_ARROW);
    Screenshot("trade.png");
    ClickOn(Trade->getTradeBody()->getAcceptButton());
    ASSERT_NE(Trade->getTradeBody()->getWaitLabel(), nullptr);
    Kestrel.Raw({127});
    ASSERT_TRUE(PumpUntil([] { return FindSideWindow(TRADE_WINDOW) == nullptr; }));
    ASSERT_TRUE(PumpUntil([] { return CountOf(0, TYPE_APPLE) == 0 && CountOf(0, TYPE_ARROW) > 0; }));
}

TEST_F(ContainersTest, ThePoisonedIconComesWithThePoisonAndGoesWithIt) {
    SetTimeOfDay(0.5);
    // West of the pool, out of the sight of the spider that lives north-east
    // of it (its poison would keep her poisoned).
    ASSERT_TRUE(PlaceCharacter("Mira", 987, 996, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    ASSERT_TRUE(UseFullSizeMap());
    InventoryPanel* Panel = Inventory();
    ASSERT_NE(Panel, nullptr);
    int ix, iy, px, py;
    Panel->getIconPosition(0, ix, iy);
    Panel->getAbsolutePosition(px, py);
    auto Tooltip = [&] {
        SetTooltipText(NULL);
        MoveTo(px + ix + 4, py + iy + 4);
        frame::Pump();
        Panel->mouseRest(ix + 4, iy + 4);
        return std::string(GetTooltipText() != nullptr ? GetTooltipText() : "");
    };
    EXPECT_EQ(Tooltip(), "");
    // She walks into the pool of slime east of her.
    int x, y;
    Field(989, 996, x, y);
    Click(x, y);
    ASSERT_TRUE(PumpUntil([] { return (GetPlayerConditions() & 1) != 0; }));
    Screenshot("poisoned.png");
    EXPECT_EQ(Tooltip(), "You are poisoned");
    // She steps back at once; the poison wears off after its last tick.
    Field(986, 996, x, y);
    Click(x, y);
    ASSERT_TRUE(PumpUntil([] { return (GetPlayerConditions() & 1) == 0; }, 60000));
    EXPECT_EQ(Tooltip(), "");
}

}  // namespace
