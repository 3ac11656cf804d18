// The automap panel in the game over the loopback server: the picture, the
// player's cross, zoom, floors, scrolling, following, marks under the
// pointer, walking by a click, and the mark menu with its dialog.
#include "ProtocolFixture.h"

#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/menus/AutomapMenu.h"
#include "gui/windows/AutomapPanel.h"
#include "gui/framework/Dialogs.h"
#include "gui/dialogs/EditMarkDialog.h"
#include "gui/framework/GUI.h"
#include "gui/framework/Skins.h"

#include <filesystem>

namespace protocol_test {
namespace {

class AutomapPanelTest : public ProtocolTest {
  protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        StartDrawing();
        EnterSurfaceMap();
        Sent();
    }
    void TearDown() override {
        StopDrawing();
        ProtocolTest::TearDown();
    }

    // One frame of the panel on the screen surface.
    static void Frame(AutomapPanel& Panel) { Panel.draw(SCREEN_SURFACE, 0, 0); }
    static bool White(int x, int y) { return ReadPixel(AUTOMAP_SURFACE, x, y) == 0xFFFFFF; }
    static int WhitePixels() {
        int n = 0;
        for (int y = 0; y < AUTOMAP_PICTURE_SIZE; ++y)
            for (int x = 0; x < AUTOMAP_PICTURE_SIZE; ++x) n += White(x, y);
        return n;
    }
    // The server moves the player one field east, with the new column.
    void StepEast(int From) {
        Receive(Bytes({109}) + Word(From) + Word(100) + Bytes({7, 1}) + Word(From + 1) + Word(100) + Bytes({7}) +
                Bytes({102}) + Description({}, 8 * 14));
    }
};

TEST_F(AutomapPanelTest, ViewPictureMarksAndMenuFollowTheRules) {
    AutomapPanel Panel;
    AutomapView& View = Panel.getView();
    Frame(Panel);
    ASSERT_EQ(View.getZoom(), 2);  // the preference's default
    ASSERT_TRUE(View.isFollowing());
    // Zoom 2: one pixel per field, the explored ground (colour 24) around the
    // player, nothing beyond the fields the server described (x 92..109).
    const uint32_t Ground = ConvertColour(GetSurfaceFormat(), 0, 204, 0);
    EXPECT_EQ(ReadPixel(AUTOMAP_SURFACE, 53 + 9, 53), Ground);
    EXPECT_EQ(ReadPixel(AUTOMAP_SURFACE, 53 + 10, 53), 0u);
    EXPECT_EQ(ReadPixel(AUTOMAP_SURFACE, 53 - 8, 53 - 6), Ground);
    EXPECT_EQ(ReadPixel(AUTOMAP_SURFACE, 53 - 9, 53), 0u);
    // The cross while following: a plus of five pixels in the middle.
    EXPECT_TRUE(White(53, 53) && White(52, 53) && White(54, 53) && White(53, 52) && White(53, 54));
    EXPECT_EQ(WhitePixels(), 5);

    // A frame without a change rebuilds nothing; new surfaces do.
    const int Built = View.getRebuilds();
    Frame(Panel);
    Frame(Panel);
    EXPECT_EQ(View.getRebuilds(), Built);
    ChangeSurfaceMode(WINDOWED_MODE, NULL, true);
    Frame(Panel);
    EXPECT_EQ(View.getRebuilds(), Built + 1);

    // Zoom 4: the cross is two pixels thick, six long, at (53, 53).
    Panel.command(AUTOMAP_ZOOM_IN);
    Frame(Panel);
    ASSERT_EQ(View.getZoom(), 4);
    for (int i = -3; i <= 2; ++i) {
        EXPECT_TRUE(White(53 + i, 53) && White(53 + i, 52)) << i;
        EXPECT_TRUE(White(53, 53 + i) && White(52, 53 + i)) << i;
    }
    EXPECT_FALSE(White(56, 53));
    EXPECT_FALSE(White(49, 53));
    EXPECT_EQ(WhitePixels(), 20);
    // Zoom in ends at 8 and zoom out at 1, without a redraw.
    Panel.command(AUTOMAP_ZOOM_IN);
    Frame(Panel);
    EXPECT_EQ(View.getZoom(), 8);
    Panel.command(AUTOMAP_ZOOM_IN);
    EXPECT_EQ(View.getZoom(), 8);
    EXPECT_FALSE(View.needsRedraw());
    for (int i = 0; i < 3; ++i) Panel.command(AUTOMAP_ZOOM_OUT);
    Frame(Panel);
    EXPECT_EQ(View.getZoom(), 1);
    Panel.command(AUTOMAP_ZOOM_OUT);
    EXPECT_EQ(View.getZoom(), 1);
    EXPECT_FALSE(View.needsRedraw());
    // The zoom chosen is the one the next start begins with.
    EXPECT_EQ(GetAutomapZoom(), 1);

    // Zoom 8 by its key; Alt+Up scrolls north by 24 / 8 = 3 fields and stops
    // following. The player (still at 100, 100) is drawn 12 pixels lower.
    Panel.command(AUTOMAP_ZOOM_IN);
    Panel.command(AUTOMAP_ZOOM_IN);
    EXPECT_TRUE(DispatchHotkey(keys::END | keys::ALT));
    ASSERT_EQ(View.getZoom(), 8);
    EXPECT_TRUE(DispatchHotkey(keys::UP | keys::ALT));
    int cx, cy, cz;
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cx, 100);
    EXPECT_EQ(cy, 97);
    EXPECT_FALSE(View.isFollowing());
    Frame(Panel);
    EXPECT_FALSE(View.isFollowing()) << "the player has not moved";
    EXPECT_TRUE(White(53, 65) && White(52, 64) && White(50, 65) && White(55, 64));
    EXPECT_FALSE(White(53, 53));
    // Scrolled so far east that the player is off the picture: no cross at all.
    for (int i = 0; i < 5; ++i) Panel.command(AUTOMAP_EAST);
    Frame(Panel);
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cx, 115);
    EXPECT_EQ(WhitePixels(), 0);
    // The compass rose scrolls the same way: its top point goes north.
    Panel.getRose()->leftButtonUp(Panel.getRose()->getWidth() / 2, 2, 0);
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cy, 94);

    // One step of the character brings the view back to him.
    StepEast(100);
    Frame(Panel);
    EXPECT_TRUE(View.isFollowing());
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cx, 101);
    EXPECT_EQ(cy, 100);
    EXPECT_TRUE(White(53, 53));

    // Floors: higher ends at 0, lower at 15; both stop following, also where
    // the floor cannot change.
    for (int i = 0; i < 7; ++i) EXPECT_TRUE(DispatchHotkey(keys::PAGEUP | keys::ALT));
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cz, 0);
    Panel.command(AUTOMAP_HIGHER);
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cz, 0);
    for (int i = 0; i < 20; ++i) Panel.command(AUTOMAP_LOWER);
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cz, 15);
    Frame(Panel);
    EXPECT_FALSE(View.isFollowing());
    EXPECT_EQ(WhitePixels(), 0) << "the player is not on floor 15";
    EXPECT_EQ(ReadPixel(AUTOMAP_SURFACE, 53, 53), 0u) << "nothing explored on floor 15";
    // At the lowest floor while following: nothing changes but the following.
    SetMapPosition(101, 100, 15);
    Frame(Panel);
    ASSERT_TRUE(View.isFollowing());
    Panel.command(AUTOMAP_LOWER);
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cz, 15);
    EXPECT_FALSE(View.isFollowing());
    SetMapPosition(101, 100, 7);
    Panel.command(AUTOMAP_CENTRE);
    EXPECT_TRUE(View.isFollowing());
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cz, 7);

    // Marks, at zoom 2 around (101, 100): one at (106, 100) sits at pixel
    // (58, 53); the pointer finds it 4 pixels off both ways, not 6.
    Panel.command(AUTOMAP_ZOOM_OUT);
    Panel.command(AUTOMAP_ZOOM_OUT);
    ASSERT_EQ(View.getZoom(), 2);
    Frame(Panel);
    uint32_t Before[11][11];
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 11; ++x) Before[y][x] = ReadPixel(AUTOMAP_SURFACE, 53 + x, 48 + y);
    AddAutomapMark(Coordinate{106, 100, 7}, "Well", 3);
    Frame(Panel);
    int Changed = 0;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 11; ++x) Changed += ReadPixel(AUTOMAP_SURFACE, 53 + x, 48 + y) != Before[y][x];
    EXPECT_GT(Changed, 20) << "the symbol is drawn 11 x 11 around the mark";
    AutomapMark Found;
    EXPECT_TRUE(View.markUnderPointer(58 + 4, 53 + 4, Found));
    EXPECT_EQ(Found.Text, "Well");
    EXPECT_TRUE(View.markUnderPointer(58 - 4, 53 - 4, Found));
    EXPECT_FALSE(View.markUnderPointer(58 + 6, 53, Found));
    EXPECT_FALSE(View.markUnderPointer(58, 53 - 6, Found));
    EXPECT_EQ(Found.x, 0);
    // A mark near the picture's edge is cut off at the edge, not drawn
    // around it: the opposite edge keeps its colour.
    AddAutomapMark(Coordinate{101 - 53, 100, 7}, "Edge", 0);
    Frame(Panel);
    EXPECT_EQ(ReadPixel(AUTOMAP_SURFACE, 105, 53), 0u);

    // A left click beside the mark walks to the mark's field, not to the
    // field under the pointer (110, 104): five steps east.
    SetInputMode(INPUT_LEFT);
    Panel.getPicture()->leftButtonDown(58 + 4, 53 + 4, 0);
    Panel.getPicture()->leftButtonUp(58 + 4, 53 + 4, 0);
    SetInputMode(INPUT_IDLE);
    EXPECT_EQ(Sent(), "07 00 64 05 01 01 01 01 01");
    StopWalking();

    // A right click on the mark opens the menu with "Edit Mark" and "Delete
    // Mark"; editing changes the symbol and the text in place.
    ClearEvents();
    Panel.getPicture()->rightButtonUp(58 + 2, 53, 0);
    ASSERT_EQ(GetNumberOfEvents(), 1);
    Event E = TakeEvent();
    ASSERT_EQ(E.Type, MESSAGE_AUTOMAP_MENU);
    ASSERT_TRUE(CarryOutDialogEvent(E));
    auto* Menu = dynamic_cast<AutomapMenu*>(GetModalWindow());
    ASSERT_NE(Menu, nullptr);
    ASSERT_EQ(Menu->getNumberOfEntries(), 2);
    EXPECT_EQ(Menu->getEntry(0)->getText(), "Edit Mark");
    EXPECT_EQ(Menu->getEntry(1)->getText(), "Delete Mark");
    // Opened at the bottom right corner, it opens up and to the left.
    Menu->finish(640, 480, 640, 480);
    EXPECT_EQ(Menu->getX(), 640 - Menu->getWidth());
    EXPECT_EQ(Menu->getY(), 480 - Menu->getHeight());
    SetInputMode(INPUT_MENU);
    const MenuEntry* Edit = Menu->getEntry(0);
    Menu->leftButtonUp(Edit->getX() + 3, Edit->getY() + 3, 0);
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    DestroyModalWindow();
    ASSERT_EQ(GetNumberOfEvents(), 1);
    E = TakeEvent();
    ASSERT_EQ(E.Type, MESSAGE_EDIT_MARK);
    ASSERT_TRUE(CarryOutDialogEvent(E));
    auto* D = dynamic_cast<Dialog*>(GetModalWindow());
    ASSERT_NE(D, nullptr);
    EXPECT_EQ(D->getCaption(), "Edit Mark");
    auto* Body = dynamic_cast<EditMarkBody*>(D->getBody());
    ASSERT_NE(Body, nullptr);
    EXPECT_STREQ(Body->getTextField()->getText(), "Well");
    EXPECT_EQ(Body->getTextField()->getMaxLength(), 100);
    EXPECT_EQ(Body->getSymbol(), 3);
    EXPECT_EQ(Body->getSymbolButton(0)->getWidth(), 20);
    EXPECT_EQ(Body->getSymbolButton(0)->getHeight(), 21);
    SetInputMode(INPUT_DIALOG);
    for (const char* p = " of Ashes"; *p; ++p) D->keyPress(*p);
    Button* Seven = Body->getSymbolButton(7);
    Seven->leftButtonDown(1, 1, 0);
    Seven->leftButtonUp(1, 1, 0);
    EXPECT_EQ(Body->getSymbol(), 7);
    D->keyPress(keys::ENTER);
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    DestroyModalWindow();
    std::vector<AutomapMark> Marks;
    int Count = 0;
    GetAutomapMarks(0, 0, 7, Marks, Count);
    int Live = 0;
    for (int n = 0; n < Count; ++n)
        if (Marks[size_t(n)].x != 0) {
            ++Live;
            if (Marks[size_t(n)].x == 106) {
                EXPECT_EQ(Marks[size_t(n)].Text, "Well of Ashes");
                EXPECT_EQ(Marks[size_t(n)].Icon, 7);
            }
        }
    EXPECT_EQ(Live, 2);

    // "Delete Mark" removes it; the spot then offers "Set Mark", whose
    // dialog starts empty with symbol 0 and stores a new mark at the spot.
    Panel.getPicture()->rightButtonUp(58, 53, 0);
    E = TakeEvent();
    ASSERT_TRUE(CarryOutDialogEvent(E));
    Menu = dynamic_cast<AutomapMenu*>(GetModalWindow());
    ASSERT_NE(Menu, nullptr);
    Menu->command(AUTOMAP_MENU_DELETE_MARK);
    DestroyModalWindow();
    EXPECT_FALSE(View.markUnderPointer(58, 53, Found));
    Panel.getPicture()->rightButtonUp(58 + 1, 53 + 1, 0);
    E = TakeEvent();
    ASSERT_TRUE(CarryOutDialogEvent(E));
    Menu = dynamic_cast<AutomapMenu*>(GetModalWindow());
    ASSERT_NE(Menu, nullptr);
    ASSERT_EQ(Menu->getNumberOfEntries(), 1);
    EXPECT_EQ(Menu->getEntry(0)->getText(), "Set Mark");
    Menu->command(AUTOMAP_MENU_SET_MARK);
    DestroyModalWindow();
    E = TakeEvent();
    ASSERT_EQ(E.Type, MESSAGE_SET_MARK);
    ASSERT_TRUE(CarryOutDialogEvent(E));
    D = dynamic_cast<Dialog*>(GetModalWindow());
    ASSERT_NE(D, nullptr);
    Body = dynamic_cast<EditMarkBody*>(D->getBody());
    ASSERT_NE(Body, nullptr);
    EXPECT_STREQ(Body->getTextField()->getText(), "");
    EXPECT_EQ(Body->getSymbol(), 0);
    for (const char* p = "Gate"; *p; ++p) D->keyPress(*p);
    D->keyPress(keys::ENTER);
    DestroyModalWindow();
    EXPECT_TRUE(View.markUnderPointer(60, 55, Found));
    EXPECT_EQ(Found.x, 107);
    EXPECT_EQ(Found.y, 101);
    EXPECT_EQ(Found.Text, "Gate");
    EXPECT_EQ(Found.Icon, 0);

    // A mark whose symbol has no picture (a damaged automap file) is not
    // drawn, so the pointer does not find it either: a click 2 pixels beside
    // it walks to the field under the pointer, four steps west.
    AddAutomapMark(Coordinate{99, 102, 7}, "Broken", AUTOMAP_SYMBOLS + 5);
    Frame(Panel);
    EXPECT_FALSE(View.markUnderPointer(49, 53, Found));
    SetInputMode(INPUT_LEFT);
    Panel.getPicture()->leftButtonDown(49, 53, 0);
    Panel.getPicture()->leftButtonUp(49, 53, 0);
    SetInputMode(INPUT_IDLE);
    EXPECT_EQ(Sent(), "06 00 64 04 05 05 05 05");
    StopWalking();
}

}  // namespace
}  // namespace protocol_test
