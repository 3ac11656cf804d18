// Object slots, container windows and the trade window in the game: drags
// between slots and the map with the modifier rules, the target modes, what
// the container messages do to the column, and the trade window's buttons.
#include "ProtocolFixture.h"

#include "app/Interface.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/windows/ContainerWindow.h"
#include "gui/framework/Dialogs.h"
#include "gui/windows/InventoryPanel.h"
#include "gui/windows/ListWindows.h"
#include "gui/windows/MapWindow.h"
#include "gui/windows/SideColumn.h"
#include "gui/framework/Skins.h"
#include "gui/windows/TradeWindow.h"

#include <filesystem>

namespace protocol_test {
namespace {

using testworld::COINS;
using testworld::ITEM_A;
using testworld::ITEM_B;

int PixelX(int rx) { return (rx - 1) * 32 + 16; }
int PixelY(int ry) { return (ry - 1) * 32 + 16; }

bool White(int x, int y) { return (ReadPixel(SCREEN_SURFACE, x, y) & 0xFFFFFF) == 0xFFFFFF; }

class ContentWindows : public ProtocolTest {
  protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        StartDrawing();
        // Only the interface's hook for the content windows, as the program
        // installs it.
        ControlHooks All;
        AddInterfaceHooks(All);
        ControlHooks Hooks = GetControlHooks();
        Hooks.AfterGameCommand = All.AfterGameCommand;
        SetControlHooks(Hooks);
        EnterSurfaceMap();
        Map.setSize(480, 352);
        Column = new SideColumn();
        Column->setSize(176, 400);
        SetGameColumn(Column);
        Sent();
        Calls.clear();
    }
    void TearDown() override {
        SetGameColumn(NULL);
        delete Column;
        StopDrawing();
        ProtocolTest::TearDown();
    }
    // A press on the source, the pointer moved away, the release on the target.
    template <typename Press, typename Release>
    void Drag(Press P, Release R) {
        SetInputMode(INPUT_LEFT);
        ClearDraggedObject();
        P();
        SetInputMode(INPUT_DRAG);
        R();
        SetInputMode(INPUT_IDLE);
    }
    void DragSlots(ObjectSlot* From, ObjectSlot* To, int Keys) {
        Drag([&] { From->leftButtonDown(5, 5, 0); }, [&] { To->leftButtonUp(5, 5, Keys); });
    }
    static ContainerWindow* Window(int Container) {
        return static_cast<ContainerWindow*>(FindSideWindow(CONTAINER_WINDOW + Container));
    }
    static std::string OpenBag(int Container, int Capacity, const std::string& Things, int Count, bool Parent = false) {
        return Bytes({110, Container}) + Word(ITEM_B) + String("bag") + Bytes({Capacity, Parent ? 1 : 0, Count}) +
               Things;
    }
    void DrawColumn() { Column->draw(SCREEN_SURFACE, 0, 0); }
    MapWindow Map;
    SideColumn* Column = NULL;
};

TEST_F(ContentWindows, SlotsDragUseAndTargetByTheRulesAndContainerWindowsFollowTheMessages) {
    SetBodyObject(5, COINS, 7);
    Receive(OpenBag(0, 4, Word(ITEM_A) + Word(COINS) + Bytes({5}), 2));
    ContainerWindow* Bag = Window(0);
    ASSERT_NE(Bag, nullptr);
    EXPECT_EQ(GetContainerWindow(0), Bag);
    EXPECT_EQ(Bag->getCaption(), "Bag");
    EXPECT_EQ(Bag->getUpButton(), nullptr);
    ContainerBody* Body = Bag->getContainerBody();
    EXPECT_EQ(Body->getShownCount(), 4);
    EXPECT_EQ(Body->getRows(), 1);
    ObjectSlot* Coins = Body->getSlot(1);
    ObjectSlot* Empty = Body->getSlot(2);
    std::unique_ptr<ObjectSlot> Hand(ObjectSlot::bodySlot(5));

    // Shift moves one piece of the pile, Ctrl all of it, a plain drop asks.
    DragSlots(Coins, Hand.get(), keys::SHIFT);
    EXPECT_EQ(Sent(), "0F 00 78 FF FF 40 00 01 6B 00 01 FF FF 05 00 00 01");
    DragSlots(Coins, Hand.get(), keys::CTRL);
    EXPECT_EQ(Sent(), "0F 00 78 FF FF 40 00 01 6B 00 01 FF FF 05 00 00 05");
    ClearEvents();
    DragSlots(Hand.get(), Empty, 0);
    EXPECT_EQ(Sent(), "");
    ASSERT_EQ(GetNumberOfEvents(), 1);
    ASSERT_EQ(GetQueuedEvent(0).Type, MESSAGE_MOVEOBJECTS);
    const auto* Move = reinterpret_cast<const MoveRecord*>(GetQueuedEvent(0).Data);
    EXPECT_EQ(Move->From.y, 5);
    EXPECT_EQ(Move->Data, 7);
    EXPECT_EQ(Move->x, 0xFFFF);
    EXPECT_EQ(Move->y, 64);
    EXPECT_EQ(Move->z, 2);
    ClearEvents();
    // Where it lies: nothing. A single object moves at once.
    DragSlots(Coins, Coins, 0);
    DragSlots(Body->getSlot(0), Empty, 0);
    EXPECT_EQ(Sent(), "0F 00 78 FF FF 40 00 00 69 00 00 FF FF 40 00 02 01");
    EXPECT_EQ(GetNumberOfEvents(), 0);

    // From a slot onto the map, and from the map into a slot.
    Drag([&] { Body->getSlot(0)->leftButtonDown(5, 5, 0); },
         [&] { Map.leftButtonUp(PixelX(9), PixelY(7), 0); });
    EXPECT_EQ(Sent(), "0F 00 78 FF FF 40 00 00 69 00 00 65 00 65 00 07 01");
    AppendFieldObject(9, 6, 0, COINS, 3);
    Drag([&] { Map.leftButtonDown(PixelX(9), PixelY(6), 0); }, [&] { Empty->leftButtonUp(5, 5, keys::CTRL); });
    EXPECT_EQ(Sent(), "0F 00 78 65 00 64 00 07 6B 00 01 FF FF 40 00 02 03");
    // A drop after a press on nothing carries nothing, however it ends.
    Drag([&] { Empty->leftButtonDown(5, 5, 0); }, [&] { Map.leftButtonUp(PixelX(10), PixelY(7), keys::CTRL); });
    Drag([&] { Map.leftButtonDown(-5, -5, 0); }, [&] { Coins->leftButtonUp(5, 5, 0); });
    EXPECT_EQ(Sent(), "");

    // Use-with onto a slot: the waiting object is used on the slot's object;
    // an empty slot takes nothing, and no source at all is a fault.
    MapWindow::setUseWithSource(PendingObject{101, 100, 7, ITEM_A, 1});
    SetInputMode(INPUT_TARGET_1);
    Coins->leftButtonUp(5, 5, 0);
    EXPECT_EQ(Sent(), "11 00 83 65 00 64 00 07 69 00 01 FF FF 40 00 01 6B 00 01");
    Empty->leftButtonUp(5, 5, 0);
    EXPECT_EQ(Sent(), "");
    MapWindow::setUseWithSource(PendingObject{});
    EXPECT_THROW(Coins->leftButtonUp(5, 5, 0), assertion::Failure);
    EXPECT_EQ(Sent(), "");
    SetInputMode(INPUT_TARGET_2);
    Coins->leftButtonUp(5, 5, 0);
    EXPECT_EQ(Sent(), "");
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0], "status Select a player to trade with.");
    SetInputMode(INPUT_IDLE);

    // Shift looks; a plain right click asks for the object menu and sends
    // nothing; Ctrl uses: a container or other object opens into the first
    // free window number.
    Coins->rightButtonUp(5, 5, keys::SHIFT);
    EXPECT_EQ(Sent(), "09 00 8C FF FF 40 00 01 6B 00 01");
    const int Events = GetNumberOfEvents();
    Body->getSlot(0)->rightButtonUp(5, 5, 0);
    EXPECT_EQ(Sent(), "");
    ASSERT_EQ(GetNumberOfEvents(), Events + 1);
    EXPECT_EQ(GetQueuedEvent(Events).Type, 47);
    Body->getSlot(0)->rightButtonUp(5, 5, keys::CTRL);
    EXPECT_EQ(Sent(), "0A 00 82 FF FF 40 00 00 69 00 00 01");
    // A left release with Ctrl is the same as a right click with it.
    Body->getSlot(0)->leftButtonUp(5, 5, keys::CTRL);
    EXPECT_EQ(Sent(), "0A 00 82 FF FF 40 00 00 69 00 00 01");

    // The outline: the slot under the pointer while something is dragged.
    const int OutlineX = Bag->getX() + Body->getX() + Coins->getX();
    const int OutlineY = Bag->getY() + Body->getY() + Coins->getY();
    SetInputMode(INPUT_DRAG);
    Coins->mouseMove(3, 3);
    EXPECT_TRUE(Coins->isOutlined());
    DrawColumn();
    EXPECT_TRUE(White(OutlineX, OutlineY));
    EXPECT_TRUE(White(OutlineX + 33, OutlineY + 33));
    EXPECT_TRUE(White(OutlineX + 33, OutlineY + 10));
    ForgetSlotUnderPointer();
    DrawColumn();
    EXPECT_FALSE(White(OutlineX, OutlineY));
    Coins->mouseMove(3, 3);
    SetInputMode(INPUT_LEFT);
    DrawColumn();
    EXPECT_FALSE(White(OutlineX, OutlineY));
    SetInputMode(INPUT_IDLE);

    // More objects than places: a second row appears on the next frame, and
    // goes again when the count is back.
    for (int i = 0; i < 3; ++i) Receive(Bytes({112, 0}) + Word(ITEM_A));
    EXPECT_EQ(GetContainerCount(0), 5);
    DrawColumn();
    EXPECT_EQ(Body->getShownCount(), 5);
    EXPECT_EQ(Body->getRows(), 2);
    EXPECT_EQ(Body->getSlot(4)->getWidth(), ObjectSlot::SIZE);
    Receive(Bytes({114, 0, 0}));
    DrawColumn();
    EXPECT_EQ(Body->getRows(), 1);
    EXPECT_EQ(Body->getSlot(4)->getWidth(), 0);

    // A second container gets a window of its own; inside another one it
    // offers the way up (136).
    Receive(OpenBag(1, 8, "", 0, true));
    ASSERT_NE(Window(1), nullptr);
    EXPECT_EQ(Column->countWindows(), 2);
    ASSERT_NE(Window(1)->getUpButton(), nullptr);
    Window(1)->getUpButton()->leftButtonDown(2, 2, 0);
    Window(1)->getUpButton()->leftButtonUp(2, 2, 0);
    EXPECT_EQ(Sent(), "02 00 88 01");
    // The same number opened again (the higher container): the window stays
    // and shows it.
    ContainerWindow* Second = Window(1);
    Receive(Bytes({110, 1}) + Word(ITEM_A) + String("pouch") + Bytes({2, 1, 0}));
    EXPECT_EQ(Window(1), Second);
    EXPECT_EQ(Second->getCaption(), "Pouch");
    EXPECT_EQ(Second->getContainerBody()->getShownCount(), 2);

    // Closing a window asks the server (135); a change that crosses the
    // answer does not bring the window back, the server's close ends it.
    Column->closeWindow(Bag);
    EXPECT_EQ(Sent(), "02 00 87 00");
    EXPECT_EQ(Window(0), nullptr);
    Receive(Bytes({112, 0}) + Word(ITEM_A));
    Receive(OpenBag(2, 4, "", 0));
    EXPECT_EQ(Window(0), nullptr);
    EXPECT_NE(Window(2), nullptr);
    Receive(Bytes({111, 0}));
    EXPECT_FALSE(IsContainerOpen(0));
    // The server closes a container: its window goes.
    Receive(Bytes({111, 2}));
    EXPECT_EQ(Window(2), nullptr);
    EXPECT_EQ(Column->countWindows(), 1);
    EXPECT_EQ(Sent(), "");
}

TEST_F(ContentWindows, TheTradeWindowFollowsBothOffersAndItsButtons) {
    Receive(Bytes({125}) + String("Kestrel") + Bytes({1}) + Word(ITEM_A));
    auto* Trade = static_cast<TradeWindow*>(FindSideWindow(TRADE_WINDOW));
    ASSERT_NE(Trade, nullptr);
    TradeBody* Body = Trade->getTradeBody();
    EXPECT_EQ(Body->getCancelButton()->getText(), "Cancel");
    EXPECT_EQ(Body->getAcceptButton(), nullptr);
    Body->getCancelButton()->mouseRest(1, 1);
    EXPECT_STREQ(GetTooltipText(), "Cancel offer");

    // The partner's offer: Reject, and Accept aimed at the body.
    Receive(Bytes({126}) + String("Kestrel") + Bytes({3}) + Word(COINS) + Bytes({9}) + Word(ITEM_B) + Word(ITEM_B));
    EXPECT_EQ(Body->getCancelButton()->getText(), "Reject");
    Body->getCancelButton()->mouseRest(1, 1);
    EXPECT_STREQ(GetTooltipText(), "Reject offer");
    ASSERT_NE(Body->getAcceptButton(), nullptr);
    Body->getAcceptButton()->mouseRest(1, 1);
    EXPECT_STREQ(GetTooltipText(), "Accept offer");
    EXPECT_EQ(Body->getCounterCaption()->getText(), "Kestrel");
    // Two rows on the partner's side: the window grew to show them.
    EXPECT_GE(Body->getHeight(), Body->getFullHeight());
    EXPECT_GE(Body->getFullHeight(), TradeBody::SLOT_PITCH * 2);

    // A click on an offered object looks at it (126 side, index).
    int Side = -1, Index = -1;
    const int CounterLeft = Body->getCounterCaption()->getX();
    const int Top = Body->getCounterCaption()->getY() + Body->getCounterCaption()->getHeight() + 2;
    ASSERT_TRUE(Body->objectAt(CounterLeft + 5, Top + TradeBody::SLOT_PITCH + 5, Side, Index));
    EXPECT_EQ(Side, 1);
    EXPECT_EQ(Index, 2);
    EXPECT_FALSE(Body->objectAt(CounterLeft + TradeBody::SLOT_PITCH + 5, Top + TradeBody::SLOT_PITCH + 5, Side, Index));
    ASSERT_TRUE(Body->objectAt(TradeBody::MARGIN + 5, Top + 5, Side, Index));
    EXPECT_EQ(Side, 0);
    Body->leftButtonUp(CounterLeft + TradeBody::SLOT_PITCH + 5, Top + 5, 0);
    EXPECT_EQ(Sent(), "03 00 7E 01 01");

    // Accepting: 127, the button gives way to the note.
    Body->getAcceptButton()->leftButtonDown(2, 2, 0);
    Body->getAcceptButton()->leftButtonUp(2, 2, 0);
    EXPECT_EQ(Sent(), "01 00 7F");
    EXPECT_TRUE(Body->isAccepted());
    EXPECT_EQ(Body->getAcceptButton(), nullptr);
    ASSERT_NE(Body->getWaitLabel(), nullptr);
    EXPECT_EQ(Body->getWaitLabel()->getText(), "Please wait for \nyour partner to accept.");
    EXPECT_EQ(Body->getWaitLabel()->getLines(), 2);
    DrawColumn();

    // The trade ends: the window goes. Closing a new one withdraws (128).
    Receive(Bytes({127}));
    EXPECT_EQ(FindSideWindow(TRADE_WINDOW), nullptr);
    Receive(Bytes({125}) + String("Kestrel") + Bytes({1}) + Word(ITEM_A));
    ASSERT_NE(FindSideWindow(TRADE_WINDOW), nullptr);
    Column->closeWindow(FindSideWindow(TRADE_WINDOW));
    EXPECT_EQ(Sent(), "01 00 80");

    // The server may send the own offer again while the trade is open (the
    // first one here holds nothing): the new offer replaces the old one in
    // the same window, and what was accepted before is open again.
    Receive(Bytes({127}));
    Receive(Bytes({125}) + String("Kestrel") + Bytes({0}));
    SideWindow* Shown = FindSideWindow(TRADE_WINDOW);
    ASSERT_NE(Shown, nullptr);
    const int Windows = Column->countWindows();
    Receive(Bytes({125}) + String("Kestrel") + Bytes({2}) + Word(ITEM_A) + Word(ITEM_B));
    EXPECT_EQ(FindSideWindow(TRADE_WINDOW), Shown);
    EXPECT_EQ(Column->countWindows(), Windows);
    ASSERT_EQ(GetOwnOfferCount(), 2);
    EXPECT_EQ(GetOwnOfferObject(1).Type, ITEM_B);
    Body = static_cast<TradeWindow*>(Shown)->getTradeBody();
    Receive(Bytes({126}) + String("Kestrel") + Bytes({1}) + Word(ITEM_B));
    ASSERT_NE(Body->getAcceptButton(), nullptr);
    Body->command(TRADE_ACCEPT);
    EXPECT_EQ(Sent(), "01 00 7F");
    Receive(Bytes({125}) + String("Kestrel") + Bytes({1}) + Word(ITEM_A));
    EXPECT_EQ(GetOwnOfferCount(), 1);
    EXPECT_FALSE(Body->isAccepted());
    EXPECT_NE(Body->getAcceptButton(), nullptr);
    EXPECT_EQ(Body->getWaitLabel(), nullptr);
    DrawColumn();
}

// Vorna.cfg may name a buddy icon the interface does not have: the entry
// shows none, in the VIP window and in the file written next.
TEST_F(ContentWindows, ABuddyIconBeyondTheSkinsShowsNone) {
    testing_support::WriteFile(Dir.Path() / "Vorna.cfg", "Buddy = (17,300,\"far\",no)\nBuddy = (18,45,\"edge\",no)\n"
                                            "Buddy = (19,3,\"kept\",no)\n");
    LoadPreferences();
    EXPECT_EQ(GetBuddyNumber(17), 0);
    EXPECT_EQ(GetBuddyNumber(18), 0);
    EXPECT_EQ(GetBuddyNumber(19), 3);
    Receive(Bytes({210}) + Quad(17) + String("Far") + Bytes({1}) + Bytes({210}) + Quad(18) + String("Edge") +
            Bytes({0}) + Bytes({210}) + Quad(19) + String("Kept") + Bytes({1}));
    ASSERT_EQ(GetNumberOfBuddies(), 3);
    SideWindow* Vip = NewVipWindow();
    Vip->setSize(176, 120);
    Vip->draw(SCREEN_SURFACE, 0, 0);
    // However an icon got there, drawing it stays within the skins.
    EditBuddy(18, 1000, "edge", false);
    Vip->draw(SCREEN_SURFACE, 0, 0);
    delete Vip;
}

TEST_F(ContentWindows, TheInventoryShowsStatesInTheirOrderAndMinimises) {
    PlayerStateIcon Icons[9];
    ASSERT_EQ(GetPlayerStateIcons(0xFF, 3, Icons, 9), 9);
    const int Order[9] = {224, 225, 228, 229, 234, 231, 227, 226, 230};
    for (int n = 0; n < 9; ++n) EXPECT_EQ(Icons[n].Skin, Order[n]) << n;
    EXPECT_STREQ(Icons[0].Tooltip, "You are poisoned");
    EXPECT_STREQ(Icons[4].Tooltip, "You have attacked an unmarked player");
    EXPECT_STREQ(Icons[8].Tooltip, "You are struck by magical energy");
    ASSERT_EQ(GetPlayerStateIcons(0x11, 0, Icons, 9), 2);
    EXPECT_EQ(Icons[0].Skin, 224);
    EXPECT_EQ(Icons[1].Skin, 231);
    EXPECT_STREQ(Icons[1].Tooltip, "You are hasted");

    InventoryPanel Panel;
    Panel.setSize(168, Panel.getWantedHeight());
    SetPlayerConditions(0x01);
    SetBodyObject(1, ITEM_A, 1);
    Panel.draw(SCREEN_SURFACE, 0, 0);
    int x, y;
    Panel.getIconPosition(0, x, y);
    Panel.mouseRest(x + 2, y + 2);
    EXPECT_STREQ(GetTooltipText(), "You are poisoned");
    SetTooltipText(NULL);
    SetPlayerConditions(0);
    Panel.mouseRest(x + 2, y + 2);
    EXPECT_EQ(GetTooltipText(), nullptr);
    EXPECT_EQ(Panel.getSlot(1)->getObject().Type, ITEM_A);
    EXPECT_THROW(Panel.getIconPosition(9, x, y), assertion::Failure);

    const int Full = Panel.getHeight();
    Panel.getMinimizeButton()->mouseRest(1, 1);
    EXPECT_STREQ(GetTooltipText(), "Minimise inventory");
    Panel.command(9);
    EXPECT_TRUE(Panel.isMinimized());
    EXPECT_LT(Panel.getHeight(), Full / 2);
    EXPECT_EQ(Panel.getSlot(1)->getWidth(), 0);
    Panel.getMinimizeButton()->mouseRest(1, 1);
    EXPECT_STREQ(GetTooltipText(), "Maximise inventory");
    Panel.draw(SCREEN_SURFACE, 0, 0);
    Panel.command(9);
    EXPECT_EQ(Panel.getHeight(), Full);
    EXPECT_EQ(Panel.getSlot(1)->getWidth(), ObjectSlot::SIZE);
}

}  // namespace
}  // namespace protocol_test
