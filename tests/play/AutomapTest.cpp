// The automap panel on the reference server, driven only by input as a
// player gives it: the explored land appears while walking, the view zooms,
// shows the floor below, scrolls and comes back with one step; a mark set
// through the menu and its dialog survives a restart of the client, a click
// on it walks there, and the menu deletes it.
#include "PlaySupport.h"

#include "app/GameProtocol.h"
#include "graphics/MapView.h"
#include "gui/menus/AutomapMenu.h"
#include "gui/windows/AutomapPanel.h"
#include "gui/dialogs/EditMarkDialog.h"
#include "gui/windows/StatusPanels.h"

#include <cstdio>

namespace {

class AutomapPlayTest : public PlayTest {
  protected:
    static AutomapPanel* Panel() {
        GameView* View = GetMainWindow()->getGameView();
        if (View == nullptr || View->getFixedPanels() == nullptr) return nullptr;
        return dynamic_cast<AutomapPanel*>(View->getFixedPanels()->getAutomapPanel());
    }
    static AutomapView& TheView() { return Panel()->getView(); }
    // A point of the picture on the screen.
    static void PicturePoint(int a, int b, int& x, int& y) {
        Panel()->getPicture()->getAbsolutePosition(x, y);
        x += a, y += b;
    }
    static void ClickPicture(int a, int b) {
        int x, y;
        PicturePoint(a, b, x, y);
        Click(x, y);
    }
    static void RightClickPicture(int a, int b) {
        int x, y;
        PicturePoint(a, b, x, y);
        MoveTo(x, y);
        Button(platform::EventKind::ButtonDown, x, y, 2);
        Button(platform::EventKind::ButtonUp, x, y, 2);
        frame::Pump();
    }
    static void PressWithAlt(platform::Key Key) { PressWith(platform::Key::Alt, Key); }
    static bool At(int x, int y, int z) {
        int px, py, pz;
        PlayerPosition(px, py, pz);
        return px == x && py == y && pz == z && !FindCreature(GetPlayerID())->Walking;
    }
    // A creature wandering in the way (the cellar's rat) refuses a step;
    // the key is pressed again while the step has not happened.
    static bool StepAndWait(platform::Key Key, int x, int y, int z) {
        int sx, sy, sz;
        PlayerPosition(sx, sy, sz);
        for (int Try = 0; Try < 4; ++Try) {
            Press(Key);
            if (PumpUntil([&] { return At(x, y, z); }, 8000)) return true;
            if (!At(sx, sy, sz)) break;  // moved elsewhere: pressing again would not help
        }
        int px, py, pz;
        PlayerPosition(px, py, pz);
        std::printf("the step to (%d, %d, %d) ended at (%d, %d, %d), %s\n", x, y, z, px, py, pz,
                    FindCreature(GetPlayerID())->Walking ? "walking" : "standing");
        return false;
    }
    static bool White(int x, int y) { return ReadPixel(AUTOMAP_SURFACE, x, y) == 0xFFFFFF; }
    static int LiveMarks(int bx, int by, int bz, AutomapMark* Last = nullptr) {
        std::vector<AutomapMark> Marks;
        int Count = 0, Live = 0;
        GetAutomapMarks(bx, by, bz, Marks, Count);
        for (int n = 0; n < Count; ++n)
            if (Marks[size_t(n)].x != 0) {
                ++Live;
                if (Last != nullptr) *Last = Marks[size_t(n)];
            }
        return Live;
    }
    static ContextMenu* Menu() { return dynamic_cast<ContextMenu*>(GetModalWindow()); }
    static bool OpenMenuAt(int a, int b) {
        RightClickPicture(a, b);
        return PumpUntil([] { return Menu() != nullptr; });
    }

    // The program ends and starts again in the same working directory, on
    // the same server: what it keeps must come from its files.
    void RestartClient() {
        const size_t Line = Server->Log.find("listening on");
        const size_t Login = Server->Log.find(": login ", Line);
        ASSERT_NE(Login, std::string::npos);
        const int LoginPort = std::atoi(Server->Log.c_str() + Login + 8);
        RemoveGameProtocol();
        frame::Destroy();
        app::ExitModules();
        ExitControl();
        app::InitModules(0);
        InitControl();
        platform::headless::SetUsableArea(0, 0, 1024, 768);
        ASSERT_TRUE(frame::Create());
        int width = 0, height = 0;
        platform::GetClientSize(width, height);
        InstallInterfaceHooks(width, height);
        frame::FirstFrame();
        InstallGameProtocol();
        SetTestServer(false);
        for (int i = 0; i < NUMBEROFSERVER; ++i) SetLoginServer(i, "127.0.0.1", LoginPort);
    }
};

TEST_F(AutomapPlayTest, ExploreZoomLookBelowScrollBackAndKeepAMarkOverARestart) {
    ASSERT_TRUE(PlaceCharacter("Mira", 1000, 1002, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    ASSERT_TRUE(UseFullSizeMap());
    ASSERT_NE(Panel(), nullptr);
    frame::Pump();
    AutomapView& View = TheView();
    ASSERT_TRUE(View.isFollowing());
    ASSERT_EQ(View.getZoom(), 2);

    // Walking east brings new fields into the automap and the picture.
    EXPECT_EQ(GetAutomapColour(1013, 1002, 7), 0);
    for (int x = 1001; x <= 1004; ++x) ASSERT_TRUE(StepAndWait(platform::Key::Right, x, 1002, 7)) << x;
    frame::Pump();
    EXPECT_NE(GetAutomapColour(1013, 1002, 7), 0);
    EXPECT_NE(ReadPixel(AUTOMAP_SURFACE, 53 + 9, 53), 0u);
    EXPECT_EQ(ReadPixel(AUTOMAP_SURFACE, 53 + 11, 53), 0u) << "beyond the view nothing is known yet";
    Screenshot("automap-explored.png");

    // Zoom by the buttons: in to 4, out to 1 and no further, back to 2.
    ClickOn(Panel()->getButton(AUTOMAP_ZOOM_IN));
    EXPECT_EQ(View.getZoom(), 4);
    for (int i = 0; i < 3; ++i) ClickOn(Panel()->getButton(AUTOMAP_ZOOM_OUT));
    EXPECT_EQ(View.getZoom(), 1);
    ClickOn(Panel()->getButton(AUTOMAP_ZOOM_IN));
    ASSERT_EQ(View.getZoom(), 2);

    // A click on the automap walks there: in front of the stone house's
    // door, four fields north. Ctrl and a right click on the door open it.
    ClickPicture(53 + 1, 53 - 4);
    ASSERT_TRUE(PumpUntil([] { return At(1005, 998, 7); }, 60000));
    int mx = 0, my = 0, wx = 0, wy = 0;
    Map()->getAbsolutePosition(mx, my);
    MapPictureToWindow((8 - 1) * 32 + 16, (5 - 1) * 32 + 16, Map()->getWidth(), Map()->getHeight(), wx, wy);
    Coordinate Door;
    ASSERT_TRUE(GetFieldUnderPointer(wx, wy, Map()->getWidth(), Map()->getHeight(), Door.x, Door.y, Door.z));
    int Position = 0;
    const int ClosedDoor = GetUseTarget(Door.x, Door.y, Door.z, Position).Type;
    CtrlRightClick(mx + wx, my + wy);
    // The step waits for the door to be shown open.
    ASSERT_TRUE(PumpUntil([&] {
        int Position = 0;
        return GetUseTarget(Door.x, Door.y, Door.z, Position).Type != ClosedDoor;
    }));
    ASSERT_TRUE(StepAndWait(platform::Key::Up, 1005, 997, 7));
    ASSERT_TRUE(StepAndWait(platform::Key::Up, 1005, 996, 7));
    ASSERT_TRUE(StepAndWait(platform::Key::Right, 1006, 996, 7));
    ASSERT_TRUE(StepAndWait(platform::Key::Up, 1006, 996, 8));
    frame::Pump();
    int cx, cy, cz;
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cz, 8) << "the view follows the player down";
    // Through the cellar to the ramp, which leads up into the house again.
    for (int x = 1005; x >= 1003; --x) ASSERT_TRUE(StepAndWait(platform::Key::Left, x, 996, 8)) << x;
    for (int y = 995; y >= 994; --y) ASSERT_TRUE(StepAndWait(platform::Key::Up, 1003, y, 8)) << y;
    ASSERT_TRUE(StepAndWait(platform::Key::Up, 1003, 994, 7));

    // The floor below shows the cellar seen down there, and no cross: the
    // player is not on it.
    PressWithAlt(platform::Key::PageDown);
    frame::Pump();
    EXPECT_FALSE(View.isFollowing());
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cz, 8);
    EXPECT_NE(GetAutomapColour(1006, 994, 8), 0);
    EXPECT_NE(ReadPixel(AUTOMAP_SURFACE, 53 + 3, 53), 0u) << "the cellar's field (1006, 994)";
    EXPECT_FALSE(White(53, 53) || White(52, 53) || White(53, 52));
    Screenshot("automap-floor-below.png");
    // Scrolled away west by the keys, 12 fields a press at zoom 2; one step
    // of the character brings the view back to him on his floor.
    PressWithAlt(platform::Key::Left);
    PressWithAlt(platform::Key::Left);
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cx, 1003 - 24);
    ASSERT_TRUE(StepAndWait(platform::Key::Down, 1003, 995, 7));
    frame::Pump();
    EXPECT_TRUE(View.isFollowing());
    View.getCentre(cx, cy, cz);
    EXPECT_EQ(cx, 1003);
    EXPECT_EQ(cy, 995);
    EXPECT_EQ(cz, 7);
    EXPECT_TRUE(White(53, 53) && White(52, 53) && White(54, 53) && White(53, 52) && White(53, 54));

    // A mark at (1005, 996) in the house: the menu, "Set Mark", a text and a
    // symbol in the dialog.
    ASSERT_TRUE(OpenMenuAt(53 + 2, 53 + 1));
    ASSERT_EQ(Menu()->getNumberOfEntries(), 1);
    ASSERT_EQ(Menu()->getEntry(0)->getText(), "Set Mark");
    ClickOn(Menu()->getEntry(0));
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Edit Mark"; })) << ModalCaption();
    auto* Body = dynamic_cast<EditMarkBody*>(Modal()->getBody());
    ASSERT_NE(Body, nullptr);
    Type("Camp");
    ClickOn(Body->getSymbolButton(5));
    ClickOn(Modal()->getDefaultButton());
    ASSERT_TRUE(PumpUntil([] { return GetModalWindow() == nullptr; }));
    AutomapMark Mark;
    ASSERT_EQ(LiveMarks(3, 3, 7, &Mark), 1);
    EXPECT_EQ(Mark.x, 1005);
    EXPECT_EQ(Mark.y, 996);
    EXPECT_EQ(Mark.Text, "Camp");
    EXPECT_EQ(Mark.Icon, 5);
    frame::Pump();
    Screenshot("automap-mark.png");

    // Out of the game and out of the program; back in, the mark is there.
    PressCtrl('q');
    ASSERT_EQ(ModalCaption(), "Warning");
    Type("y");
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Select Character"; })) << ModalCaption();
    RestartClient();
    EXPECT_EQ(LiveMarks(3, 3, 7), 1) << "read back from the area file";
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    ASSERT_TRUE(At(1003, 995, 7));
    frame::Pump();
    AutomapView& Again = TheView();
    AutomapMark Found;
    ASSERT_TRUE(Again.markUnderPointer(53 + 2, 53 + 1, Found));
    EXPECT_EQ(Found.Text, "Camp");
    EXPECT_EQ(Found.Icon, 5);
    Screenshot("automap-after-restart.png");

    // A click beside the mark walks to the mark's field.
    ClickPicture(53 + 2 + 3, 53 + 1 + 3);
    ASSERT_TRUE(PumpUntil([] { return At(1005, 996, 7); }, 60000));

    // The menu on the mark deletes it.
    frame::Pump();
    ASSERT_TRUE(OpenMenuAt(53 + 2, 53 + 1));
    ASSERT_EQ(Menu()->getNumberOfEntries(), 2);
    ASSERT_EQ(Menu()->getEntry(1)->getText(), "Delete Mark");
    ClickOn(Menu()->getEntry(1));
    ASSERT_TRUE(PumpUntil([] { return GetModalWindow() == nullptr; }));
    EXPECT_EQ(LiveMarks(3, 3, 7), 0);
    EXPECT_FALSE(Again.markUnderPointer(53, 53, Found));
}

}  // namespace
