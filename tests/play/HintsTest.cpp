// A new player on the reference server with a fresh Vorna.cfg: the hints
// that guide him come once each, in the order their events happened, and
// not again after the client reads its preferences anew; help mode explains
// the console, a creature, a ladder and the stairs beside what is pointed at.
// The people of the village: a hint names the one met; the menu of his line
// in the console offers no talk with him, a player's line does; hints
// switched off and on do not bring back what came meanwhile; the player's
// own skull is no marked player near.
#include "PlaySupport.h"
#include "WirePlayer.h"

#include "core/sysinc.h"
#include "gui/windows/ConsoleWindow.h"
#include "gui/framework/ContextMenu.h"
#include "gui/dialogs/Options.h"
#include "gui/dialogs/HelpMenu.h"
#include "gui/dialogs/Hints.h"
#include "gui/help/Help.h"
#include "gui/help/HelpMode.h"
#include "gui/help/HelpPopup.h"
#include "gui/windows/ListWindows.h"
#include "gui/windows/MainWindow.h"
#include "gui/windows/SideColumn.h"
#include "gui/windows/SideWindow.h"
#include "gui/windows/StatusPanels.h"
#include "graphics/MapView.h"
#include "gui/help/EventHints.h"

#include <fstream>

#include <cstdio>

namespace {

class HintsTest : public PlayTest {
  protected:
    // As EnterGameAs, but the hint boxes that open on entering are left to
    // the test.
    bool LogIn(const char* Account, const char* Name) {
        ClickOn(GetMainWindow()->getStartView()->getButton(0));
        Type(Account);
        Press(platform::Key::Tab);
        Type("demo");
        Press(platform::Key::Return);
        if (!PumpUntil([] { return ModalCaption() == "Message of the Day" || ModalCaption() == "Select Character"; }))
            return false;
        if (ModalCaption() == "Message of the Day") Press(platform::Key::Return);
        if (!PumpUntil([] { return ModalCaption() == "Select Character"; })) return false;
        ListBox* list = Body<CharacterListBody>()->getList();
        for (int i = 0; i < list->getLines(); ++i)
            if (list->getLine(i).rfind(std::string(Name) + " (", 0) == 0) list->select(i);
        ClickOn(Modal()->getDefaultButton());
        return PumpUntil([] { return GetConnectionState() == STATE_GAME && FindCreature(GetPlayerID()) != nullptr; });
    }
    // The hint box with this caption opens; its text is returned and the box
    // closed with Enter.
    std::string TakeHint(const char* Caption, const char* Picture = nullptr) {
        if (!PumpUntil([&] { return ModalCaption() == Caption; })) return "(no box " + std::string(Caption) + ", but " + ModalCaption() + ")";
        PumpUntil([] { return false; }, 100);
        if (Picture != nullptr) Screenshot(Picture);
        const auto* Text = Body<MarkupText>();
        std::string Out = Text != nullptr ? Text->getText() : "(no text)";
        Press(platform::Key::Return);
        PumpUntil([&] { return ModalCaption() != Caption; });
        return Out;
    }
    // One step by the key; true once the character stands still on the
    // field. A step that a chicken on the field refuses is tried again.
    bool StepTo(platform::Key Key, int x, int y, int z) {
        int ox, oy, oz;
        PlayerPosition(ox, oy, oz);
        const auto StandsAt = [](int x, int y, int z) {
            int px, py, pz;
            PlayerPosition(px, py, pz);
            const Creature* Me = FindCreature(GetPlayerID());
            return px == x && py == y && pz == z && Me != nullptr && !Me->Walking;
        };
        for (int Try = 0; Try < 10; ++Try) {
            Press(Key);
            if (PumpUntil([&] { return StandsAt(x, y, z); }, 3000)) return true;
            if (!PumpUntil([&] { return StandsAt(ox, oy, oz); }, 3000)) return false;
        }
        return false;
    }
    // Into help mode through the help menu, as a player.
    bool StartHelpMode() {
        ClickOn(GetMainWindow()->getGameView()->getHelpButton());
        if (!PumpUntil([] { return ModalCaption() == "Help"; })) return false;
        ClickOn(Body<HelpMenuBody>()->getButton(0));
        return PumpUntil([] { return GetInputMode() == INPUT_HELP && GetModalWindow() == nullptr; });
    }
    // Points at the centre of the field (dx, dy) from the player.
    static void PointAtField(int dx, int dy) {
        const MapWindow* M = Map();
        int x, y;
        MapPictureToWindow((7 + dx) * 32 + 16, (5 + dy) * 32 + 16, M->getWidth(), M->getHeight(), x, y);
        MoveTo(M->getX() + x, M->getY() + y);
        frame::Pump();
    }
    static std::string PopupTitle() {
        const HelpPopup* P = GetHelpPopup();
        if (P == nullptr) return "(none)";
        const std::string& T = P->getText()->getText();
        return T.substr(3, T.find("<N>") - 3);
    }
    static std::string PopupPlace() {
        const HelpPopup* P = GetHelpPopup();
        if (P == nullptr) return "(none)";
        return std::to_string(P->getX()) + "," + std::to_string(P->getY()) + " " + std::to_string(P->getWidth()) +
               "x" + std::to_string(P->getHeight());
    }
    static ContextMenu* Menu() { return dynamic_cast<ContextMenu*>(GetModalWindow()); }
    static bool Offers(const std::string& Text) {
        for (int i = 0; Menu() != nullptr && i < Menu()->getNumberOfEntries(); ++i)
            if (Menu()->getEntry(i)->getText() == Text) return true;
        return false;
    }
    // A right click on the newest line of the console; true once its menu
    // is open.
    static bool RightClickNewestLine() {
        const ConsoleWindow* Console = GetMainWindow()->getGameView()->getConsole();
        int cx = 0, cy = 0;
        Console->getAbsolutePosition(cx, cy);
        const int x = cx + 40, y = cy + Console->getTextTop() + Console->getTextHeight() - 4;
        MoveTo(x, y);
        Button(platform::EventKind::ButtonDown, x, y, 2);
        Button(platform::EventKind::ButtonUp, x, y, 2);
        return PumpUntil([] { return Menu() != nullptr; });
    }
    // "Show Hints" of the general options, clicked as a player does.
    static bool SwitchHints() {
        ClickOn(GetMainWindow()->getGameView()->getFixedPanels()->getCombatPanel()->getOptionsButton());
        if (!PumpUntil([] { return ModalCaption() == "Options"; })) return false;
        ClickOn(Body<OptionsMenuBody>()->getButton(0));
        if (!PumpUntil([] { return ModalCaption() == "General Options"; })) return false;
        CheckBox* Box = Body<GeneralOptionsBody>()->getBox(2);
        int x = 0, y = 0;
        Box->getAbsolutePosition(x, y);
        Click(x + 10, y + Box->getHeight() / 2);
        ClickOn(Modal()->getDefaultButton());
        if (!PumpUntil([] { return ModalCaption() == "Options"; })) return false;
        ClickOn(Modal()->getDefaultButton());
        return PumpUntil([] { return GetModalWindow() == nullptr; });
    }
    static bool ConsoleHolds(const std::string& Part) {
        const TextBuffer* B = GetDefaultBuffer();
        for (int n = 0; n < B->getLines(); ++n)
            if (std::string(B->shownText(n, false)).find(Part) != std::string::npos) return true;
        return false;
    }
};

TEST_F(HintsTest, ANewPlayerMeetsEachHintOnceAndHelpModeExplainsTheScreen) {
    SetShowNewHints(true);
    // Mira starts on the crossroads of the village: entering the game raises
    // the greeting and the place's hint together.
    ASSERT_TRUE(PlaceCharacter("Mira", 999, 1001, 7));
    ASSERT_TRUE(StartServer());
    ASSERT_TRUE(LogIn("100001", "Mira"));
    EXPECT_EQ(TakeHint("First Login", "hint-first-login.png").rfind("<b>Welcome to Vorna!<n>", 0), 0u);
    EXPECT_NE(TakeHint("The Crossroads").find("crossroads"), std::string::npos);

    // Five steps east Haldor stands two fields away: the NPC hint, and he
    // answers a greeting.
    for (int x = 1000; x <= 1004; ++x) {
        ASSERT_TRUE(StepTo(platform::Key::Right, x, 1001, 7));
        if (x < 1004) {
            EXPECT_EQ(GetNumberOfPendingHints() + (ModalCaption() != "(none)"), 0) << x;
        }
    }
    EXPECT_NE(TakeHint("Haldor", "hint-npc.png").find("NPC"), std::string::npos);
    Type("hi\r");
    EXPECT_TRUE(PumpUntil([] { return ConsoleHolds("Haldor: Hello, Mira! Welcome to Demoland."); }));

    // Help mode: the console, at the left edge, explains itself on its right
    // or above it; within it the popup stays, over the strip it goes.
    ASSERT_TRUE(StartHelpMode());
    const ConsoleWindow* Console = GetMainWindow()->getGameView()->getConsole();
    int cx = 0, cy = 0;
    Console->getAbsolutePosition(cx, cy);
    MoveTo(cx + 20, cy + Console->getHeight() - 10);
    frame::Pump();
    EXPECT_EQ(PopupTitle(), "Console");
    const HelpPopup* ConsolePopup = GetHelpPopup();
    ASSERT_NE(ConsolePopup, nullptr);
    std::printf("console popup at %s (console %d,%d %dx%d)\n", PopupPlace().c_str(), cx, cy, Console->getWidth(),
                Console->getHeight());
    EXPECT_TRUE(ConsolePopup->getX() >= cx + Console->getWidth() || ConsolePopup->getY() + ConsolePopup->getHeight() <= cy);
    Screenshot("help-console.png");
    MoveTo(cx + 40, cy + Console->getHeight() - 12);
    frame::Pump();
    EXPECT_EQ(GetHelpPopup(), ConsolePopup);
    MoveTo(cx + 30, cy + 5);  // the tab row
    frame::Pump();
    EXPECT_EQ(PopupTitle(), "Console Channels");
    const auto Strip = GetMainWindow()->getGameView()->getStripArea();
    MoveTo(Strip.x + 50, Strip.y + Strip.height / 2);
    frame::Pump();
    EXPECT_EQ(GetHelpPopup(), nullptr);

    // The right column: the inventory's place and a side window explain
    // themselves; at the right edge the popup opens on the left.
    const FixedPanels* Panels = GetMainWindow()->getGameView()->getFixedPanels();
    int ix = 0, iy = 0;
    Panels->getInventoryPanel()->getAbsolutePosition(ix, iy);
    MoveTo(ix + 10, iy + 10);
    frame::Pump();
    EXPECT_EQ(PopupTitle(), "Inventory");
    ASSERT_NE(GetHelpPopup(), nullptr);
    EXPECT_LE(GetHelpPopup()->getX() + GetHelpPopup()->getWidth(), ix);
    Press(platform::Key::Escape);
    frame::Pump();
    GetMainWindow()->command(MAIN_SKILLS);
    frame::Pump();
    const SideWindow* Skills = FindSideWindow(SKILLS_WINDOW);
    ASSERT_NE(Skills, nullptr);
    ASSERT_TRUE(StartHelpMode());
    int sx = 0, sy = 0;
    Skills->getAbsolutePosition(sx, sy);
    MoveTo(sx + 20, sy + 20);
    frame::Pump();
    EXPECT_EQ(PopupTitle(), "Skills");

    // Haldor, two fields east and one north.
    PointAtField(2, -1);
    EXPECT_EQ(PopupTitle(), "Creatures");
    std::printf("creature popup at %s\n", PopupPlace().c_str());
    Screenshot("help-creature.png");
    PointAtField(0, 0);
    EXPECT_EQ(PopupTitle(), "Your Character");
    // A button release ends help mode and takes the popup away.
    Button(platform::EventKind::ButtonDown, 10, 10);
    Button(platform::EventKind::ButtonUp, 10, 10);
    frame::Pump();
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    EXPECT_EQ(GetHelpPopup(), nullptr);

    // Logging out writes the shown hints.
    PressCtrl('q');
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Warning"; }));
    Type("y");
    ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_OFFLINE && ModalCaption() == "Select Character"; }));
    Press(platform::Key::Escape);
    const std::string Config = testing_support::ReadFile("Vorna.cfg");
    EXPECT_NE(Config.find("KnownHints = {1,3,2}"), std::string::npos) << Config;

    // The next start reads them: in the stone house, back at the crossroads
    // of the file's hints, nothing comes again.
    Server.reset();
    ASSERT_TRUE(PlaceCharacter("Mira", 1006, 994, 7));
    ASSERT_TRUE(StartServer());
    ResetPendingHints();
    LoadPreferences();
    ASSERT_TRUE(LogIn("100001", "Mira"));
    PumpUntil([] { return false; }, 500);
    EXPECT_EQ(ModalCaption(), "(none)");
    EXPECT_EQ(GetNumberOfPendingHints(), 0);

    // The ladder (three west, two south) and the stairs down (one south).
    ASSERT_TRUE(StartHelpMode());
    PointAtField(-3, 2);
    EXPECT_EQ(PopupTitle(), "Ladders");
    std::printf("ladder popup at %s\n", PopupPlace().c_str());
    Screenshot("help-ladder.png");
    PointAtField(0, 1);
    EXPECT_EQ(PopupTitle(), "Stairs");
    Press(platform::Key::Escape);  // a key ends help mode too, popup and all
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    EXPECT_EQ(GetHelpPopup(), nullptr);

    // Down the cellar stairs: underground.
    ASSERT_TRUE(StepTo(platform::Key::Down, 1006, 996, 8));
    EXPECT_NE(TakeHint("Underground", "hint-underground.png").find("below the surface"), std::string::npos);

    // The hints read so far, listed by the help menu's "Hints".
    ClickOn(GetMainWindow()->getGameView()->getHelpButton());
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Help"; }));
    ClickOn(Body<HelpMenuBody>()->getButton(1));
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Hints for Vorna"; }));
    ListBox* List = Body<HintsBody>()->getList();
    ASSERT_EQ(List->getLines(), 4);
    EXPECT_EQ(List->getLine(0), "First Login");
    EXPECT_EQ(List->getLine(1), "Haldor");
    EXPECT_EQ(List->getLine(2), "The Crossroads");
    EXPECT_EQ(List->getLine(3), "Underground");
    Screenshot("hints-dialog.png");
    // "Show" shows the chosen one again, then the list comes back.
    List->select(1);
    Press(platform::Key::Return);
    EXPECT_NE(TakeHint("Haldor").find("NPC"), std::string::npos);
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Hints for Vorna"; }));
    Press(platform::Key::Escape);
    EXPECT_TRUE(PumpUntil([] { return ModalCaption() == "Help"; }));
    Press(platform::Key::Escape);
    EXPECT_TRUE(PumpUntil([] { return ModalCaption() == "(none)"; }));
}

}  // namespace

// The first creature killed brings "First Experience Points", once: Mira,
// among the meadow's chickens, chases one picked from the battle list.
TEST_F(HintsTest, TheFirstKillBringsTheExperienceHint) {
    ASSERT_TRUE(PlaceCharacter("Mira", 1005, 1003, 7));
    ASSERT_TRUE(StartServer());
    SetShowNewHints(false);  // the greetings of entering are not this test's
    ASSERT_TRUE(LogIn("100001", "Mira"));
    SetShowNewHints(true);
    CombatPanel* Combat = GetMainWindow()->getGameView()->getFixedPanels()->getCombatPanel();
    ClickOn(Combat->getButton(COMBAT_CHASE));
    PressCtrl('b');
    SideWindow* Battle = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (Battle = FindSideWindow(BATTLE_WINDOW)) != nullptr; }));
    auto* Lines = dynamic_cast<BattleBody*>(Battle->getBody());
    ASSERT_NE(Lines, nullptr);
    // A plain click on a chicken's line attacks it; a chicken that wandered
    // out of sight is replaced by the next one. Other hints of the meadow
    // (Bertram the merchant stands there) are read and closed on the way.
    const auto Killed = [] {
        if (ModalCaption() != "(none)" && ModalCaption() != "First Experience Points") Press(platform::Key::Return);
        return ModalCaption() == "First Experience Points";
    };
    for (int Try = 0; Try < 6 && !Killed(); ++Try) {
        int bx = 0, by = 0;
        Lines->getAbsolutePosition(bx, by);
        for (int y = 2; y < Lines->getHeight() && GetAttackTarget() == 0 && ModalCaption() == "(none)"; y += 4) {
            const Creature* C = FindCreature(Lines->creatureAt(20, y));
            if (C != nullptr && std::string(C->Name) == "Chicken") Click(bx + 20, by + y);
        }
        PumpUntil([&] { return GetAttackTarget() == 0 || Killed(); }, 20000);
    }
    ASSERT_TRUE(PumpUntil(Killed));
    EXPECT_NE(TakeHint("First Experience Points", "hint-first-experience.png").find("experience"), std::string::npos);
    EXPECT_GT(GetPlayerExperience(), 0u);
}

namespace {

TEST_F(HintsTest, ThePeopleMetTheirLinesHintsSwitchedOffAndOnAndTheOwnSkull) {
    SetTimeOfDay(0.5);
    // Two people raise the hint about meeting one; a field east of Mira's
    // way is a place with a hint.
    std::ofstream("Hints.cfg") << "Npc = (2,\"Haldor\")\nNpc = (2,\"Bertram\")\nNpc = (4,\"Master Corvin\")\n"
                                  "Place = (3,1004,1006,1004,1006,7)\n";
    ASSERT_TRUE(PlaceCharacter("Kestrel", 1005, 1011, 7));  // in the arena
    ASSERT_TRUE(PlaceCharacter("Mira", 1003, 1008, 7));
    ASSERT_TRUE(StartServer());
    WirePlayer Kestrel(GamePort(), 100002, "Kestrel");
    ASSERT_TRUE(Kestrel.Connected);
    SetShowNewHints(true);
    ASSERT_TRUE(LogIn("100001", "Mira"));
    EXPECT_EQ(TakeHint("First Login").rfind("<b>Welcome", 0), 0u);

    // Two steps north Bertram, at his stall, is near: the hint names him.
    ASSERT_TRUE(StepTo(platform::Key::Up, 1003, 1007, 7));
    ASSERT_TRUE(StepTo(platform::Key::Up, 1003, 1006, 7));
    const std::string Met = TakeHint("Bertram", "hint-bertram.png");
    EXPECT_EQ(Met.rfind("Bertram is one of the people", 0), 0u) << Met;
    EXPECT_EQ(Met.find("Haldor"), std::string::npos) << Met;

    // His answer in the console: its menu copies, but offers no talk, VIP,
    // ignoring or report.
    Type("hi\r");
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return ConsoleHolds("Bertram: Welcome to my stall, Mira!");
    }));
    ASSERT_TRUE(RightClickNewestLine());
    Screenshot("console-menu-npc.png");
    EXPECT_TRUE(Offers("Copy Name") && Offers("Copy Message"));
    EXPECT_FALSE(Offers("Message to Bertram"));
    EXPECT_FALSE(Offers("Add to VIP list"));
    EXPECT_FALSE(Offers("Ignore Bertram"));
    EXPECT_FALSE(Offers("Rule Violation"));
    ClickOn(Menu()->findEntry(MENU_COPY_MESSAGE));
    EXPECT_STREQ(GetClipboardText(), "Welcome to my stall, Mira! Say trade to hear what I deal in.");

    // Kestrel's line: every entry for a player.
    Kestrel.Say("Good day, Mira!");
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return ConsoleHolds("Kestrel: Good day, Mira!");
    }));
    ASSERT_TRUE(RightClickNewestLine());
    Screenshot("console-menu-player.png");
    EXPECT_TRUE(Offers("Message to Kestrel") && Offers("Add to VIP list") && Offers("Ignore Kestrel") &&
                Offers("Rule Violation"));
    Press(platform::Key::Escape);

    // Hints off: the place east brings nothing, and nothing when hints are
    // on again and Mira comes back to it.
    ASSERT_TRUE(SwitchHints());
    EXPECT_FALSE(GetShowNewHints());
    ASSERT_TRUE(StepTo(platform::Key::Right, 1004, 1006, 7));
    ASSERT_TRUE(StepTo(platform::Key::Left, 1003, 1006, 7));
    ASSERT_TRUE(SwitchHints());
    EXPECT_TRUE(GetShowNewHints());
    ASSERT_TRUE(StepTo(platform::Key::Right, 1004, 1006, 7));
    PumpUntil([] { return ModalCaption() != "(none)"; }, 1000);
    EXPECT_EQ(ModalCaption(), "(none)");
    EXPECT_EQ(GetNumberOfPendingHints(), 0);
    EXPECT_TRUE(IsKnownHint(3));

    // In the arena Mira strikes Kestrel and is marked: her own skull warns
    // of nobody.
    ASSERT_TRUE(WalkTo(1004, 1011));
    const uint32_t Me = GetPlayerID();
    uint32_t KestrelID = 0;
    for (int i = 0; i < CREATURES && KestrelID == 0; ++i)
        if (std::string(GetCreatureRecord(i)->Name) == "Kestrel") KestrelID = GetCreatureRecord(i)->ID;
    ASSERT_NE(KestrelID, 0u);
    // Alt and a click on him, one field east, attacks.
    platform::Event Alt;
    Alt.Kind = platform::EventKind::KeyDown;
    Alt.KeyCode = platform::Key::Alt;
    Inject(Alt);
    int x = 0, y = 0;
    MapPictureToWindow((7 + 1) * 32 + 16, 5 * 32 + 16, Map()->getWidth(), Map()->getHeight(), x, y);
    Click(Map()->getX() + x, Map()->getY() + y);
    Alt.Kind = platform::EventKind::KeyUp;
    Inject(Alt);
    EXPECT_EQ(GetAttackTarget(), KestrelID);
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return FindCreature(Me) != nullptr && FindCreature(Me)->Skull != 0;
    })) << Server->Log;
    ClickOn(GetMainWindow()->getGameView()->getFixedPanels()->getCombatPanel()->getStopButton());
    PumpUntil([] { return ModalCaption() != "(none)"; }, 1000);
    EXPECT_EQ(ModalCaption(), "(none)");
    EXPECT_FALSE(IsKnownHint(13));
}

}  // namespace
