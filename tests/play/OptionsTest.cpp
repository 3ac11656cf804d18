// The options and the game's other dialogs on the reference server, as Mira
// plays: the options from the start view (a general option and a hotkey that
// is sent at once), the hotkey pressed in the game and heard by Kestrel on
// his own connection, a new outfit that Kestrel sees, the blackboard's text
// written and read back, a VIP added through its dialog, full screen and
// back, and after a restart the options still in Vorna.cfg.
#include "PlaySupport.h"
#include "WirePlayer.h"

#include "graphics/Talk.h"
#include "gui/dialogs/Buddies.h"
#include "gui/windows/ConsoleWindow.h"
#include "gui/dialogs/Hotkeys.h"
#include "gui/dialogs/Ignore.h"
#include "gui/dialogs/Options.h"
#include "gui/dialogs/Outfit.h"
#include "gui/dialogs/Texts.h"
#include "net/Commands.h"
#include "world/Creatures.h"
#include "world/TypeNumbers.h"

#include <fstream>
#include <sstream>

namespace {

class OptionsPlayTest : public PlayTest {
  protected:
    std::string ConfigText() const {
        std::ifstream In(Dir.Path() / "Vorna.cfg");
        std::stringstream Text;
        Text << In.rdbuf();
        return Text.str();
    }
    static OptionsMenuBody* Menu() { return Body<OptionsMenuBody>(); }
    static bool Showing(const char* Caption) {
        return PumpUntil([&] { return ModalCaption() == Caption; });
    }
    // Clicks a line of a list box.
    static void ClickLine(ListBox* List, int Line) {
        int lx = 0, ly = 0;
        List->getAbsolutePosition(lx, ly);
        const int Height = SkinProperties().ListBox.LineHeight;
        Click(lx + 20, ly + SkinProperties().ListBox.Margin + (Line - List->getTopLine()) * Height + Height / 2);
    }
    static void ClickBox(CheckBox* Box) {
        int x = 0, y = 0;
        Box->getAbsolutePosition(x, y);
        Click(x + 10, y + Box->getHeight() / 2);
    }
    // A right click on the field dx, dy away from the player (the map shows
    // 15 x 11 fields with the player in the middle).
    static void UseField(int dx, int dy) {
        int mx = 0, my = 0;
        Map()->getAbsolutePosition(mx, my);
        const int x = mx + (7 + dx) * 32 + 16, y = my + (5 + dy) * 32 + 16;
        CtrlRightClick(x, y);
    }
    static void AltEnter() {
        platform::Event e;
        e.Kind = platform::EventKind::KeyDown;
        e.KeyCode = platform::Key::Alt;
        e.AltHeld = true;
        Inject(e);
        e.KeyCode = platform::Key::Return;
        Inject(e);
        e.Kind = platform::EventKind::KeyUp;
        Inject(e);
        e.KeyCode = platform::Key::Alt;
        e.AltHeld = false;
        Inject(e);
        frame::Pump();
    }
};

TEST_F(OptionsPlayTest, OptionsHotkeysOutfitTextVipAndFullScreen) {
    SetTimeOfDay(0.5);
    ASSERT_TRUE(PlaceCharacter("Kestrel", 1007, 994, 7));
    ASSERT_TRUE(PlaceCharacter("Mira", 1006, 994, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    const auto Config = Dir.Path() / "Vorna.cfg";
    std::filesystem::remove(Config);

    // ---- The options from the start view ----
    ClickOn(GetMainWindow()->getStartView()->getButton(2));
    ASSERT_TRUE(Showing("Options"));
    Screenshot("options-menu.png");
    ClickOn(Menu()->getButton(0));
    ASSERT_TRUE(Showing("General Options"));
    auto* General = Body<GeneralOptionsBody>();
    ASSERT_NE(General, nullptr);
    EXPECT_TRUE(General->getBox(3)->isTicked());  // names shown by default (value 2)
    ClickBox(General->getBox(3));
    EXPECT_FALSE(General->getBox(3)->isTicked());
    ClickOn(Modal()->getDefaultButton());
    ASSERT_TRUE(Showing("Options"));  // the page brings the menu back
    EXPECT_EQ(GetCreatureInfo(), 0);

    ClickOn(Menu()->getButton(4));
    ASSERT_TRUE(Showing("Hotkey Options"));
    auto* Hotkeys = Body<HotkeyOptionsBody>();
    ASSERT_NE(Hotkeys, nullptr);
    ClickLine(Hotkeys->getList(), 2);
    EXPECT_EQ(Hotkeys->getCurrent(), 2);
    EXPECT_FALSE(Hotkeys->getAutoSend()->isEnabled());  // nothing to send yet
    Type("hello");
    EXPECT_TRUE(Hotkeys->getAutoSend()->isEnabled());
    ClickBox(Hotkeys->getAutoSend());
    EXPECT_EQ(Hotkeys->getList()->getLine(2), "F3: hello");
    Screenshot("options-hotkeys.png");
    ClickOn(Modal()->getDefaultButton());
    ASSERT_TRUE(Showing("Options"));
    // Stored, but the file waits for the menu.
    EXPECT_STREQ(GetHotkey(2), "hello");
    EXPECT_TRUE(GetHotkeyAutoSend(2));
    EXPECT_FALSE(std::filesystem::exists(Config));
    ClickOn(Modal()->getDefaultButton());
    ASSERT_TRUE(PumpUntil([] { return GetModalWindow() == nullptr; }));
    const std::string Written = ConfigText();
    EXPECT_NE(Written.find("CreatureInfo = 0"), std::string::npos) << Written;
    EXPECT_NE(Written.find("Hotkey = (2,\"hello\\n\")"), std::string::npos) << Written;

    // ---- Into the game: F3 says hello at once ----
    WirePlayer Kestrel(GamePort(), 100002, "Kestrel");
    ASSERT_TRUE(Kestrel.Connected);
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    ASSERT_TRUE(UseFullSizeMap());
    Press(platform::Key::F3);
    ASSERT_TRUE(PumpUntil([&] { return Kestrel.Heard("hello"); }));

    // ---- The options from the game (command 8 of the main game window,
    // which the panels' "Options" button sends) ----
    GetMainWindow()->command(MAIN_OPTIONS_IN_GAME);
    ASSERT_TRUE(Showing("Options"));
    ClickOn(Menu()->getButton(1));
    ASSERT_TRUE(Showing("Graphics Options"));
    auto* Graphics = Body<GraphicsOptionsBody>();
    ASSERT_NE(Graphics, nullptr);
    // The headless display offers 1280*1024, 1024*768, 800*600 and 640*480.
    ASSERT_EQ(Graphics->getModes()->getLines(), 4);
    EXPECT_EQ(Graphics->getModes()->getLine(2), "800*600, 32 Bits");
    int Width = 0, Height = 0;
    platform::GetClientSize(Width, Height);
    const int WindowedWidth = Width, WindowedHeight = Height;
    ClickLine(Graphics->getModes(), 2);
    ClickBox(Graphics->getFullscreen());
    Screenshot("options-graphics.png");
    ClickOn(Modal()->getDefaultButton());
    ASSERT_TRUE(Showing("Options"));
    EXPECT_EQ(app::GetDisplayMode(), 2);
    platform::GetClientSize(Width, Height);
    EXPECT_EQ(Width, 800);
    EXPECT_EQ(Height, 600);
    ClickOn(Modal()->getCancelButton());
    ASSERT_TRUE(PumpUntil([] { return GetModalWindow() == nullptr; }));
    // Alt+Enter goes back to the window, at its size from before.
    AltEnter();
    EXPECT_EQ(app::GetDisplayMode(), 1);
    platform::GetClientSize(Width, Height);
    EXPECT_EQ(Width, WindowedWidth);
    EXPECT_EQ(Height, WindowedHeight);
    std::printf("window %dx%d, full screen 800x600, window again %dx%d\n", WindowedWidth, WindowedHeight, Width,
                Height);

    // ---- A new outfit, seen by Kestrel ----
    SendRequestOutfit();  // the player's own menu entry "Set Outfit" sends this
    ASSERT_TRUE(Showing("Select Outfit"));
    auto* Outfit = Body<OutfitBody>();
    ASSERT_NE(Outfit, nullptr);
    const int Before = Outfit->getOutfit();
    ClickOn(Outfit->getNext());
    const int Chosen = Outfit->getOutfit();
    EXPECT_NE(Chosen, Before);
    ClickOn(Outfit->getPartButton(1));
    ClickOn(Outfit->getSwatch(40));
    EXPECT_EQ(Outfit->getColour(1), 40);
    Screenshot("outfit.png");
    const int Head = Outfit->getColour(0), Legs = Outfit->getColour(2), Feet = Outfit->getColour(3);
    ClickOn(Modal()->getDefaultButton());
    const uint32_t Id = GetPlayerID();
    const std::string Changed{char(142), char(Id & 255), char((Id >> 8) & 255), char((Id >> 16) & 255),
                              char(Id >> 24), char(Chosen), char(Head), char(40), char(Legs), char(Feet)};
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return Kestrel.Received.find(Changed) != std::string::npos;
    }));
    ASSERT_TRUE(PumpUntil([&] {
        const Creature* Me = FindCreature(Id);
        return Me != nullptr && Me->Outfit == Chosen && Me->Colours[1] == 40;
    }));

    // ---- The blackboard north of Mira: written, and read back ----
    UseField(0, -1);
    ASSERT_TRUE(Showing("Edit Text"));
    auto* Text = Body<TextBody>();
    ASSERT_NE(Text, nullptr);
    EXPECT_STREQ(Text->getField()->getText(), "Today: fresh fish.");
    PressCtrl('a');
    Type("Closed for\r");
    Type("the feast.");
    Screenshot("edit-text.png");
    ClickOn(Modal()->getDefaultButton());
    ASSERT_TRUE(PumpUntil([] { return GetModalWindow() == nullptr; }));
    UseField(0, -1);
    ASSERT_TRUE(Showing("Edit Text"));
    EXPECT_STREQ(Body<TextBody>()->getField()->getText(), "Closed for\nthe feast.");
    Press(platform::Key::Escape);

    // ---- Kestrel as a VIP (the VIP window's "Add new VIP" posts this) ----
    PostEvent(BUDDY_EVENT_ADD, 0, 0);
    ASSERT_TRUE(Showing("Add to VIP list"));
    auto* Vip = Body<BuddyBody>();
    ASSERT_NE(Vip, nullptr);
    Type("Kestrel");
    ClickOn(Vip->getIconButton(3));
    Press(platform::Key::Tab);
    Type("fisher");
    ClickBox(Vip->getNotify());
    ClickOn(Modal()->getDefaultButton());
    ASSERT_TRUE(PumpUntil([] {
        const int At = FindBuddyByName("Kestrel");
        return At >= 0 && GetBuddyEntry(At).Icon == 3;
    }));
    const uint32_t KestrelId = GetBuddyEntry(FindBuddyByName("Kestrel")).CharacterID;
    EXPECT_STREQ(GetBuddyDescription(KestrelId), "fisher");
    EXPECT_EQ(GetBuddyFlag(KestrelId), 1);

    // ---- All yelling ignored, through the console's ignore-list command:
    // Kestrel's yell is dropped, his speech still heard ----
    GetMainWindow()->getGameView()->getConsole()->command(CONSOLE_IGNORE_LIST);
    ASSERT_TRUE(Showing("Edit Ignore List"));
    ClickBox(Body<IgnoreBody>()->getBox(1));
    ClickOn(Modal()->getDefaultButton());
    ASSERT_TRUE(PumpUntil([] { return GetModalWindow() == nullptr; }));
    Kestrel.Speak(TALK_YELL, "NOBODY HEARS THIS");
    Kestrel.Say("but this");
    auto Heard = [](const char* Line) {
        const TextBuffer* B = GetTab(0).Buffer;
        for (int n = 0; n < B->getLines(); ++n)
            if (std::string(B->shownText(n, false)).find(Line) != std::string::npos) return true;
        return false;
    };
    ASSERT_TRUE(PumpUntil([&] { return Heard("but this"); }));
    EXPECT_FALSE(Heard("NOBODY HEARS THIS"));

    // ---- A restart: the options are still there ----
    frame::Destroy();
    app::ExitModules();
    ExitControl();
    app::InitModules(0);
    InitControl();
    ASSERT_TRUE(frame::Create());
    platform::GetClientSize(Width, Height);
    InstallInterfaceHooks(Width, Height);
    frame::FirstFrame();
    EXPECT_STREQ(GetHotkey(2), "hello");
    EXPECT_TRUE(GetHotkeyAutoSend(2));
    EXPECT_EQ(GetCreatureInfo(), 0);
    int FullWidth = 0, FullHeight = 0, Depth = 0;
    GetFullscreenMode(&FullWidth, &FullHeight, &Depth);
    EXPECT_EQ(FullWidth, 800);
    EXPECT_EQ(FullHeight, 600);
    EXPECT_EQ(GetBuddyNumber(KestrelId), 3);
    EXPECT_STREQ(GetBuddyDescription(KestrelId), "fisher");
}

}  // namespace
