// Every size the window allows, in the game on the reference server: the
// close button's logout warning at the first window of a 1920 x 1080 screen
// (1200 x 900 at scale 2), at 600 x 450 and at 550 x 450, with each of its
// buttons; then every dialog of the event table and every pop-up menu at the
// smallest window and at the first one, menus at each corner of the window,
// and windows that stay inside when the window shrinks or its scale changes
// while they are open.
#include "PlaySupport.h"
#include "../gui/GuiTestSupport.h"

#include "gui/menus/ConsoleChannelMenu.h"
#include "gui/menus/ConsoleTextMenu.h"
#include "gui/windows/ConsoleWindow.h"
#include "gui/menus/CreatureMenu.h"
#include "gui/framework/ContextMenu.h"
#include "gui/dialogs/EditMarkDialog.h"
#include "gui/menus/AutomapMenu.h"
#include "gui/help/Help.h"
#include "gui/help/HelpMode.h"
#include "gui/help/HelpPopup.h"
#include "gui/menus/ObjectMenu.h"
#include "gui/menus/ReportChannelMenu.h"
#include "gui/windows/SideColumn.h"
#include "gui/menus/VipMenu.h"
#include "gui/help/EventHints.h"
#include "world/Automap.h"
#include "world/Objects.h"
#include "world/TypeNumbers.h"

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr const char* LOGOUT_WARNING =
    "If you shut down the program, your character might stay in the game.\nClick on \"Logout\" to ensure that "
    "your character leaves the game properly.\nClick on \"Exit\" if you want to exit the program without logging "
    "out your character.";

class SizesTest : public PlayTest {
  protected:
    static void MoveScaled(int x, int y) {
        MoveTo(x * Scale(), y * Scale());
        frame::Pump();
    }
    static void CloseButton() {
        platform::Event e;
        e.Kind = platform::EventKind::CloseRequest;
        Inject(e);
        frame::Pump();
    }
    // Whether a component lies wholly in the window's interface.
    static bool Inside(const Component* C) {
        int x = 0, y = 0;
        C->getAbsolutePosition(x, y);
        return x >= 0 && y >= 0 && x + C->getWidth() <= GetMainWindow()->getWidth() &&
               y + C->getHeight() <= GetMainWindow()->getHeight();
    }
    static std::string Where(const Component* C) {
        int x = 0, y = 0;
        C->getAbsolutePosition(x, y);
        return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(C->getWidth()) + "x" +
               std::to_string(C->getHeight()) + " in " + std::to_string(GetMainWindow()->getWidth()) + "x" +
               std::to_string(GetMainWindow()->getHeight());
    }
    // The modal window inside, and a dialog's default and cancel buttons
    // inside it where it has them.
    static void ExpectModalInside(const std::string& What) {
        const Component* M = GetModalWindow();
        ASSERT_NE(M, nullptr) << What;
        EXPECT_TRUE(Inside(M)) << What << ": " << Where(M);
        if (const Dialog* D = Modal()) {
            for (const TextButton* B : {D->getDefaultButton(), D->getCancelButton()}) {
                if (B != nullptr) {
                    EXPECT_TRUE(Inside(B)) << What << " " << B->getText() << ": " << Where(B);
                }
            }
        }
    }
    // Closes whatever modal window is open without answering it (some
    // answers would log out or drop the connection).
    static void Dismiss() {
        SetInputMode(INPUT_IDLE);
        frame::Pump();
    }
    void Shot(const std::string& Name) {
        frame::Pump();
        Screenshot(("sizes-" + Name + "-" + std::to_string(GetMainWindow()->getWidth() * Scale()) + "x" +
                    std::to_string(GetMainWindow()->getHeight() * Scale()) + ".png")
                       .c_str());
    }
    // The logout warning as the close button opens it, inside the window,
    // its text whole and its three buttons on the screen.
    void ExpectWarning(const std::string& Size) {
        CloseButton();
        ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Warning"; })) << Size << " " << ModalCaption();
        ExpectModalInside("warning at " + Size);
        ASSERT_NE(Modal()->getExtraButton(), nullptr);
        EXPECT_TRUE(Inside(Modal()->getExtraButton())) << Size << ": " << Where(Modal()->getExtraButton());
        EXPECT_FALSE(Modal()->isCut()) << Size;
        auto* Text = dynamic_cast<const Label*>(Modal()->getBody()->getFirstChild());
        ASSERT_NE(Text, nullptr);
        EXPECT_EQ(Text->getText(), LOGOUT_WARNING);
        // Only the line breaking may change: the shown lines hold every word.
        std::string Shown;
        for (int i = 0; i < Text->getLines(); ++i) Shown += (i > 0 ? " " : "") + Text->getLine(i);
        std::string Plain = LOGOUT_WARNING;
        for (char& c : Plain)
            if (c == '\n') c = ' ';
        EXPECT_EQ(Shown, Plain) << Size;
        EXPECT_LE(Text->getWidth(), Modal()->getBody()->getWidth());
        Shot("7-warning");
    }
    // Uses the thing on the field beside Mira as a player does, by Ctrl and
    // a right click on it in the map view.
    static void UseField(int dx, int dy) {
        int mx = 0, my = 0, wx = 0, wy = 0;
        Map()->getAbsolutePosition(mx, my);
        MapPictureToWindow((7 + dx) * 32 + 16, (5 + dy) * 32 + 16, Map()->getWidth(), Map()->getHeight(), wx, wy);
        CtrlRightClick((mx + wx) * Scale(), (my + wy) * Scale());
    }
    bool BackInTheGame() {
        return ChooseCharacter("Mira") && PumpUntil([] { return GetModalWindow() == nullptr; });
    }
};

TEST_F(SizesTest, TheCloseButtonsWarningFitsEverySizeAndItsButtonsDoWhatTheySay) {
    ASSERT_TRUE(StartServer()) << (Server ? Server->Log : std::string());
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));

    // The first window on a 1920 x 1080 screen: 1200 x 900 at scale 2.
    ASSERT_TRUE(Resize(1200, 900));
    ASSERT_EQ(Scale(), 2);
    ExpectWarning("1200x900");
    ClickScaled(Modal()->getCancelButton());
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetConnectionState(), STATE_GAME);
    ExpectWarning("1200x900");
    ClickScaled(Modal()->getDefaultButton());  // Logout
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Select Character" && GetConnectionState() == STATE_OFFLINE; }))
        << ModalCaption() << " " << GetConnectionState();
    EXPECT_FALSE(GetMainWindow()->inGameView());

    ASSERT_TRUE(Resize(600, 450));
    ASSERT_EQ(Scale(), 1);
    ASSERT_TRUE(BackInTheGame());
    ExpectWarning("600x450");
    Press(platform::Key::Escape);
    EXPECT_EQ(GetModalWindow(), nullptr);
    ExpectWarning("600x450");
    Type("c");
    EXPECT_EQ(GetModalWindow(), nullptr);
    ExpectWarning("600x450");
    Press(platform::Key::Return);  // Enter logs out
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Select Character" && GetConnectionState() == STATE_OFFLINE; }))
        << ModalCaption() << " " << GetConnectionState();

    ASSERT_TRUE(Resize(550, 450));
    ASSERT_TRUE(BackInTheGame());
    ExpectWarning("550x450");
    ClickScaled(Modal()->getCancelButton());
    EXPECT_EQ(GetModalWindow(), nullptr);
    ExpectWarning("550x450");
    ClickScaled(Modal()->getExtraButton());  // Exit
    EXPECT_FALSE(frame::Exists());
}

TEST_F(SizesTest, EveryDialogAndMenuLiesInsideAtTheSmallestAndTheFirstWindowAndAfterAChange) {
    // Mira stands south of the village's blackboard, whose text she may edit.
    ASSERT_TRUE(PlaceCharacter("Mira", 1006, 994, 7)) << (Server ? Server->Log : std::string());
    ASSERT_TRUE(StartServer()) << (Server ? Server->Log : std::string());
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    const uint32_t Me = GetPlayerID();
    UpdateBuddy(4242, "Kestrel", true);

    // A text longer than any window: it is cut, its buttons stay reachable.
    std::string Long;
    for (int i = 1; i <= 40; ++i) Long += "Line " + std::to_string(i) + " of a message of the day that goes on.\n";
    Long += "The last line.";
    // Every dialog of the event table with what its event carries.
    struct Opening {
        int Type;
        std::function<void()> Post;
    };
    const std::vector<Opening> Dialogs = {
        {1, [] { PostTextEvent(1, "Connection failed", "Cannot connect to a login server.\n\nError: 10061"); }},
        {2, [] { PostTextEvent(2, "First Login", eventHintText(1)); }},
        {3, [] { PostEvent(3, 0, 0); }},
        {4, [] { PostEvent(4, 0, 0); }},
        {5, [] { PostEvent(5, NewEventText("Too many players online.\nYou are at place 12 on the waiting list."), 40); }},
        {6, [] { PostQuestion("Warning", "Are you sure you want to leave Vorna?", GetMainWindow(), 506, 2); }},
        {7, [] { PostTextEvent(7, "Warning", LOGOUT_WARNING); }},
        {8, [] { PostEvent(8, 0, 0); }},
        {9, [] { PostEvent(9, 0, 0); }},
        {10, [] { PostEvent(10, 0, 0); }},
        {11, [] { PostTextEvent(11, "Link copy warning", nullptr); }},
        {12, [] {
             MoveRecord Move;
             Move.From = MapLocation(1000, 1001, 7);
             Move.Type = TYPE_GOLD_COIN;
             Move.Stack = 1;
             Move.Data = 50;
             Move.x = 1001, Move.y = 1001, Move.z = 7;
             PostMoveObjects(Move);
         }},
        {13, [] { UseField(0, -1); }},
        {14, [] { PostEvent(14, 0, 0); }},
        {15, [] { PostEvent(15, 0, 0); }},
        {16, [] { GetMainWindow()->command(MAIN_BUG_REPORT); }},
        {17, [] { PostEvent(17, 0, 0); }},
        {18, [] { PostNameEvent(18, "Kestrel"); }},
        {19, [] { PostNameEvent(19, "Kestrel"); }},
        {20, [] { PostEvent(20, 0, 0); }},
        {21, [] { PostEvent(21, 0, 0); }},
        {22, [] { PostEvent(22, 0, 0); }},
        {23, [] { PostEvent(23, 4242, 0); }},
        {24, [] { PostEvent(24, 0, 0); }},
        {25, [] { PostNameEvent(25, "Kestrel"); }},
        {26, [] { PostEditMark(26, Coordinate{1000, 1000, 7}, AutomapMark{}); }},
        {27, [] { PostEditMark(27, Coordinate{1000, 1000, 7}, AutomapMark{}); }},
        {28, [] { PostEvent(28, 0, 0); }},
        {29, [] { PostEvent(29, 0, 0); }},
        {30, [] { PostEvent(30, 0, 0); }},
        {31, [] { PostEvent(31, 0, 0); }},
        {32, [] { PostEvent(32, 0, 0); }},
        {33, [] { PostEvent(33, 0, 0); }},
        {34, [] { PostEvent(34, 0, 0); }},
        {35, [] { PostEvent(35, 0, 0); }},
        {36, [] { PostEvent(36, 0, 0); }},
        {37, [&] { SetMessageOfTheDay(Long.c_str()); PostEvent(37, 0, 0); }},
        {38, [] { PostTextEvent(38, "Vorna.spr", nullptr); }},
    };
    // An edit field's menu, as a right click on a field asks for it.
    TextField Field(100, false);
    Field.setSize(100, 40);
    const std::vector<Opening> Menus = {
        {47, [&] {
             int x, y, z;
             PlayerPosition(x, y, z);
             ObjectMenuRecord R;
             R.Looked = MapLocation(x, y, z);
             R.LookedType = CREATURE;
             R.LookedData = Me;
             R.CreatureID = Me;
             PostObjectMenu(R);
         }},
        {48, [&] { PostCreatureMenu(Me); }},
        {49, [] { PostVipMenu(4242); }},
        {50, [] {
             ConsoleTextRecord R;
             R.Window = GetMainWindow()->getGameView()->getConsole();
             R.HasLine = true;
             R.Speaker = "Kestrel";
             R.Message = "Hello";
             R.Selected = "Hello";
             PostConsoleTextMenu(R);
         }},
        {51, [] { PostConsoleChannelMenu(GetDefaultBuffer()); }},
        {52, [] { PostReportChannelMenu(ReportRecord{"Kestrel", "Help me"}); }},
        {53, [&] { Field.rightButtonUp(5, 5, 0); }},
        {54, [] { PostAutomapMenu(AutomapSpot{1000, 1000, 7, AutomapMark{}}); }},
        {55, [] { PostEvent(55, 0, 0); }},
    };

    struct Size {
        int Width, Height, Scale;
    };
    for (const Size& S : {Size{550, 450, 1}, Size{1200, 900, 2}}) {
        const std::string At = std::to_string(S.Width) + "x" + std::to_string(S.Height);
        ASSERT_TRUE(Resize(S.Width, S.Height)) << At;
        ASSERT_EQ(Scale(), S.Scale) << At;
        for (const Opening& O : Dialogs) {
            const std::string What = "event " + std::to_string(O.Type) + " at " + At;
            O.Post();
            ASSERT_TRUE(PumpUntil([] { return Modal() != nullptr; })) << What;
            ExpectModalInside(What);
            Shot(std::to_string(O.Type));
            if (O.Type == 37) {
                // Cut to the window: its top left part, its frame the window's.
                EXPECT_TRUE(Modal()->isCut()) << What;
                EXPECT_EQ(Modal()->getHeight(), GetMainWindow()->getHeight()) << What;
                ClickScaled(Modal()->getDefaultButton());
                EXPECT_EQ(GetModalWindow(), nullptr) << What;
            }
            Dismiss();
            ClearEvents();
        }
        const int W = GetMainWindow()->getWidth(), H = GetMainWindow()->getHeight();
        const int Corners[5][2] = {{2, 2}, {W - 3, 2}, {2, H - 3}, {W - 3, H - 3}, {W / 2, H / 2}};
        for (const Opening& O : Menus) {
            for (const auto& C : Corners) {
                const std::string What = "menu " + std::to_string(O.Type) + " at " + At + " pointer " +
                                         std::to_string(C[0]) + "," + std::to_string(C[1]);
                MoveScaled(C[0], C[1]);
                O.Post();
                ASSERT_TRUE(PumpUntil([] { return dynamic_cast<ContextMenu*>(GetModalWindow()) != nullptr; }, 5000))
                    << What;
                ExpectModalInside(What);
                if (C[0] == W - 3 && C[1] == H - 3) Shot(std::to_string(O.Type));
                Press(platform::Key::Escape);
                ASSERT_EQ(GetModalWindow(), nullptr) << What;
            }
        }
        // The side windows keep to the column.
        const SideColumn* Column = GetMainWindow()->getGameView()->getSideColumn();
        for (const Component* C = Column->getFirstChild(); C != nullptr; C = C->getNextSibling())
            EXPECT_TRUE(Inside(C)) << "side window at " << At << ": " << Where(C);
    }

    // Help mode: the console's channel buttons explain the channels, in a
    // popup that shows its whole text at both sizes and follows a shrink.
    for (const Size& S : {Size{550, 450, 1}, Size{600, 450, 1}, Size{1920, 1080, 2}}) {
        const std::string At = std::to_string(S.Width) + "x" + std::to_string(S.Height);
        ASSERT_TRUE(Resize(S.Width, S.Height));
        PostEvent(MESSAGE_HELPPOINTER, 0, 0);
        frame::Pump();
        ASSERT_EQ(GetInputMode(), INPUT_HELP);
        const ConsoleWindow* Console = GetMainWindow()->getGameView()->getConsole();
        int cx = 0, cy = 0;
        Console->getButton(0)->getAbsolutePosition(cx, cy);
        MoveScaled(cx + 4, cy + 4);
        ASSERT_TRUE(PumpUntil([] { return GetHelpPopup() != nullptr; })) << At;
        const HelpPopup* Popup = GetHelpPopup();
        EXPECT_EQ(Popup->getText()->getText().rfind("<B>Console Channels<N>", 0), 0u);
        EXPECT_TRUE(ShowsWholeText(*Popup->getText())) << At;
        EXPECT_TRUE(Inside(Popup)) << At << ": " << Where(Popup);
        Shot("help-console-channels");
        if (S.Scale == 2) {
            ASSERT_TRUE(Resize(1100, 900));
            ASSERT_NE(GetHelpPopup(), nullptr);
            EXPECT_TRUE(Inside(GetHelpPopup())) << "after shrinking: " << Where(GetHelpPopup());
        }
        Press(platform::Key::Escape);
        frame::Pump();
    }

    // A large window at scale 2 (960 x 540 inside): a dialog dragged to the
    // bottom right corner and a menu there come back inside when the window
    // shrinks, and again when the scale changes to 3.
    ASSERT_TRUE(Resize(1920, 1080));
    ASSERT_EQ(Scale(), 2);
    PostEvent(30, 0, 0);
    ASSERT_TRUE(PumpUntil([] { return Modal() != nullptr; }));
    Modal()->setPosition(GetMainWindow()->getWidth() - Modal()->getWidth(),
                         GetMainWindow()->getHeight() - Modal()->getHeight());
    ASSERT_TRUE(Resize(1100, 900));
    ASSERT_EQ(Scale(), 2);
    ExpectModalInside("options after shrinking to 1100x900");
    ASSERT_TRUE(Resize(1650, 1350));
    ASSERT_EQ(Scale(), 3);
    ExpectModalInside("options after the scale went to 3");
    // Still answering where it is shown: "Ok" closes it.
    ClickScaled(Modal()->getDefaultButton());
    EXPECT_EQ(GetModalWindow(), nullptr);

    ASSERT_TRUE(Resize(1920, 1080));
    MoveScaled(GetMainWindow()->getWidth() - 3, GetMainWindow()->getHeight() - 3);
    PostEvent(55, 0, 0);
    ASSERT_TRUE(PumpUntil([] { return GetModalWindow() != nullptr; }));
    ASSERT_TRUE(Resize(1100, 900));
    ExpectModalInside("skills menu after shrinking");
    Press(platform::Key::Escape);
    ASSERT_EQ(GetModalWindow(), nullptr);
}

}  // namespace
