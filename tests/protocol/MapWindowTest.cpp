// Clicks and drops on the map window and the commands they send.
#include "ProtocolFixture.h"

#include "config/Preferences.h"
#include "core/Status.h"
#include "graphics/MapView.h"
#include "gui/framework/Dialogs.h"
#include "gui/windows/MainWindow.h"
#include "gui/windows/MapWindow.h"

namespace protocol_test {
namespace {

using testworld::COINS;

// Centre of a cube field in a 480 x 352 map window, the player standing still.
int PixelX(int rx) { return (rx - 1) * 32 + 16; }
int PixelY(int ry) { return (ry - 1) * 32 + 16; }

class MapWindowClicks : public ProtocolTest {
  protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        EnterSurfaceMap();
        Window.setSize(480, 352);
        Sent();
        Calls.clear();
    }
    void Drag(int FromX, int FromY, int ToX, int ToY, int Keys) {
        SetInputMode(INPUT_LEFT);
        Window.leftButtonDown(PixelX(FromX), PixelY(FromY), 0);
        SetInputMode(INPUT_DRAG);
        Window.leftButtonUp(PixelX(ToX), PixelY(ToY), Keys);
        SetInputMode(INPUT_IDLE);
    }
    MapWindow Window;
};

TEST_F(MapWindowClicks, ADropOfAStackOfOneMovesOneWithoutAsking) {
    AppendFieldObject(9, 6, 0, COINS, 1);
    Drag(9, 6, 10, 6, 0);
    // 120: from (101, 100, 7) coins at stack place 1, to (102, 100, 7), count 1
    EXPECT_EQ(Sent(), "0F 00 78 65 00 64 00 07 6B 00 01 66 00 64 00 07 01");
    EXPECT_TRUE(Calls.empty());
}

TEST_F(MapWindowClicks, ShiftMovesOnePieceCtrlTheWholePileAndAPlainDropAsks) {
    AppendFieldObject(9, 6, 0, COINS, 5);
    Drag(9, 6, 9, 7, keys::SHIFT);
    EXPECT_EQ(Sent(), "0F 00 78 65 00 64 00 07 6B 00 01 65 00 65 00 07 01");
    Drag(9, 6, 9, 7, keys::CTRL);
    EXPECT_EQ(Sent(), "0F 00 78 65 00 64 00 07 6B 00 01 65 00 65 00 07 05");
    ClearEvents();
    Drag(9, 6, 9, 7, 0);
    EXPECT_EQ(Sent(), "");
    ASSERT_EQ(GetNumberOfEvents(), 1);
    const Event& E = GetQueuedEvent(0);
    ASSERT_EQ(E.Type, MESSAGE_MOVEOBJECTS);
    const auto* Move = reinterpret_cast<const MoveRecord*>(E.Data);
    EXPECT_EQ(Move->Data, 5);
    EXPECT_EQ(Move->Type, COINS);
    EXPECT_EQ(Move->From.x, 101);
    EXPECT_EQ(Move->y, 101);
    ClearEvents();
    // Dropped where it was taken: nothing.
    Drag(9, 6, 9, 6, 0);
    EXPECT_EQ(Sent(), "");
    EXPECT_EQ(GetNumberOfEvents(), 0);
}

TEST_F(MapWindowClicks, AFieldInTheDarkBeyondTheNextOnesShowsNothing) {
    AppendFieldObject(12, 6, 0, COINS, 3);
    Window.rightButtonUp(PixelX(12), PixelY(6), 0);
    EXPECT_EQ(Sent(), "");
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0], "status You can't see anything.");
    // The fields next to the player are always seen: Ctrl+right click uses
    // the object, opening into the first free container window; a plain
    // right click asks for the object menu instead, sending nothing.
    AppendFieldObject(9, 6, 0, COINS, 3);
    Window.rightButtonUp(PixelX(9), PixelY(6), keys::CTRL);
    EXPECT_EQ(Sent(), "0A 00 82 65 00 64 00 07 6B 00 01 00");
    ClearEvents();
    Window.rightButtonUp(PixelX(9), PixelY(6), 0);
    EXPECT_EQ(Sent(), "");
    ASSERT_EQ(GetNumberOfEvents(), 1);
    EXPECT_EQ(GetQueuedEvent(0).Type, 47);
    ClearEvents();
    // Shift looks at it.
    Window.rightButtonUp(PixelX(9), PixelY(6), keys::SHIFT);
    EXPECT_EQ(Sent(), "09 00 8C 65 00 64 00 07 6B 00 01");
}

TEST_F(MapWindowClicks, APlainClickWalksThere) {
    SetInputMode(INPUT_LEFT);
    Window.leftButtonDown(PixelX(9), PixelY(6), 0);
    Window.leftButtonUp(PixelX(9), PixelY(6), 0);
    EXPECT_EQ(Sent(), "01 00 66");
}

TEST_F(MapWindowClicks, GameKeysStepByTheArrowsAndThePadAndTurnWithCtrl) {
    GameView View(nullptr);
    View.keyPress(keys::RIGHT);
    EXPECT_EQ(Sent(), "01 00 66");
    StopWalking();
    View.keyPress(280);  // the pad's Home: north-west
    EXPECT_EQ(Sent(), "01 00 6D");
    StopWalking();
    View.keyPress(279);  // the pad's Page Down: south-east
    EXPECT_EQ(Sent(), "01 00 6B");
    StopWalking();
    View.keyPress(keys::UP | keys::CTRL);
    View.keyPress(keys::LEFT | keys::CTRL);
    EXPECT_EQ(Sent(), "01 00 6F 01 00 72");
    // Outside the game the keys do nothing.
    SetConnectionState(STATE_OFFLINE);
    View.keyPress(keys::DOWN);
    EXPECT_EQ(Sent(), "");
    SetConnectionState(STATE_GAME);
}

TEST_F(MapWindowClicks, ATradeNeedsAnotherPlayerUnderThePointer) {
    MapWindow::setTradeObject(PendingObject{101, 100, 7, COINS, 1});
    SetInputMode(INPUT_TARGET_2);
    Window.leftButtonUp(PixelX(10), PixelY(6), 0);
    SetInputMode(INPUT_IDLE);
    EXPECT_EQ(Sent(), "");
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0], "status Select a player to trade with.");
}

TEST_F(MapWindowClicks, WithoutStretchingAFullSizeWindowMapsOneToOne) {
    SetNoStretching(1);
    int rx, ry, rz;
    ASSERT_TRUE(GetFieldUnderPointer(0, 0, 480, 352, rx, ry, rz));
    EXPECT_EQ(rx, 1);
    EXPECT_EQ(ry, 1);
    EXPECT_EQ(rz, 0);
    ASSERT_TRUE(GetFieldUnderPointer(479, 351, 480, 352, rx, ry, rz));
    EXPECT_EQ(rx, 15);
    EXPECT_EQ(ry, 11);
    ASSERT_TRUE(GetFieldUnderPointer(255, 191, 480, 352, rx, ry, rz));
    EXPECT_EQ(rx, 8);
    EXPECT_EQ(ry, 6);
    // A smaller window shows the middle: its corner is field (4, 3).
    ASSERT_TRUE(GetFieldUnderPointer(0, 0, 240, 176, rx, ry, rz));
    EXPECT_EQ(rx, 4);
    EXPECT_EQ(ry, 3);
    // Stretched to twice the size, a point maps back by the scale.
    SetNoStretching(0);
    ASSERT_TRUE(GetFieldUnderPointer(959, 703, 960, 704, rx, ry, rz));
    EXPECT_EQ(rx, 15);
    EXPECT_EQ(ry, 11);
}

}  // namespace
}  // namespace protocol_test
