// Right-click menus on the reference server, by the pointer and the keys as
// a player gives them: Mira's menu on herself, on Kestrel (a second
// connection) with the talk, VIP, ignore and party entries, on a chicken,
// Copy Name pasted into the console, a menu opening upwards at the foot of
// the console, a bag in the backpack opened in a new window, and the skills
// window's menu opening up and to the left in the bottom-right corner.
#include "PlaySupport.h"
#include "WirePlayer.h"

#include "graphics/MapView.h"
#include "graphics/Talk.h"
#include "gui/windows/ConsoleWindow.h"
#include "gui/windows/ContainerWindow.h"
#include "gui/framework/ContextMenu.h"
#include "gui/windows/InventoryPanel.h"
#include "gui/windows/MainWindow.h"
#include "gui/windows/SideColumn.h"
#include "gui/windows/StatusPanels.h"
#include "world/TypeNumbers.h"
#include "net/Commands.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

class ContextMenuPlayTest : public PlayTest {
  protected:
    static ContextMenu* Menu() { return dynamic_cast<ContextMenu*>(GetModalWindow()); }
    // The shown creature with that id, -1 when it is not in the name list.
    static int Shown(uint32_t ID) {
        for (int n = 0; n < GetNumberOfShownCreatures(); ++n) {
            uint32_t Found;
            int x, y;
            if (GetShownCreature(n, Found, x, y) && Found == ID) return n;
        }
        return -1;
    }
    static uint32_t IDOf(const char* Name) {
        for (int i = 0; i < CREATURES; ++i) {
            const Creature* C = GetCreatureRecord(i);
            if (C->ID != 0 && C->Visible && std::strcmp(C->Name, Name) == 0) return C->ID;
        }
        return 0;
    }
    // A right click at a point of the screen; true once a menu is open.
    static bool RightClickAt(int x, int y) {
        MoveTo(x, y);
        Button(platform::EventKind::ButtonDown, x, y, 2);
        Button(platform::EventKind::ButtonUp, x, y, 2);
        return PumpUntil([] { return Menu() != nullptr; });
    }
    // A right click on a creature on the map, by its place in the name list.
    static bool RightClickOn(uint32_t ID) {
        int n = -1;
        if (!PumpUntil([&] { return (n = Shown(ID)) >= 0; })) return false;
        uint32_t Found;
        int x, y;
        GetShownCreature(n, Found, x, y);
        int mx = 0, my = 0;
        Map()->getAbsolutePosition(mx, my);
        return RightClickAt(mx + x, my + y + 16);
    }
    static std::vector<std::string> Texts() {
        std::vector<std::string> Out;
        for (int i = 0; Menu() != nullptr && i < Menu()->getNumberOfEntries(); ++i)
            Out.push_back(Menu()->getEntry(i)->getText());
        return Out;
    }
    static bool Offers(const std::string& Text) {
        const auto T = Texts();
        return std::find(T.begin(), T.end(), Text) != T.end();
    }
    // Clicks the entry that sends Number; the menu then closes.
    static bool Choose(int Number) { return ClickEntry(Number) && PumpUntil([] { return GetModalWindow() == nullptr; }); }
    static bool ClickEntry(int Number) {
        const MenuEntry* E = Menu() != nullptr ? Menu()->findEntry(Number) : nullptr;
        if (E == nullptr) return false;
        int x = 0, y = 0;
        E->getAbsolutePosition(x, y);
        Click(x + 4, y + E->getHeight() / 2);
        return true;
    }
    static bool ConsoleHas(const char* Text) {
        const TextBuffer* B = GetDefaultBuffer();
        for (int n = 0; n < B->getLines(); ++n)
            if (std::strstr(B->shownText(n, false), Text) != nullptr) return true;
        return false;
    }
    static int OwnShield() {
        const Creature* Me = FindCreature(GetPlayerID());
        return Me != nullptr ? Me->PartyShield : -1;
    }
};

TEST_F(ContextMenuPlayTest, MiraUsesTheMenusOnHerselfKestrelAndAChicken) {
    SetTimeOfDay(0.5);
    ASSERT_TRUE(PlaceCharacter("Kestrel", 1003, 1002, 7));
    ASSERT_TRUE(PlaceCharacter("Mira", 1001, 1002, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    WirePlayer Kestrel(GamePort(), 100002, "Kestrel");
    ASSERT_TRUE(Kestrel.Connected);
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    ASSERT_TRUE(UseFullSizeMap());
    const uint32_t Me = GetPlayerID();
    uint32_t KestrelID = 0;
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return (KestrelID = IDOf("Kestrel")) != 0;
    }));

    // Herself: Look, Set Outfit, no Attack or Follow, not in a party.
    ASSERT_TRUE(RightClickOn(Me));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Look", "Set Outfit", "Copy Name"}));
    EXPECT_EQ(Menu()->findEntry(MENU_LOOK)->getShortcut(), "(Shift)");
    Screenshot("menu-on-herself.png");
    ASSERT_TRUE(Choose(MENU_LOOK));
    EXPECT_TRUE(PumpUntil([] {
        const char* Line = GetStatusLine();  // none while the line is empty
        return Line != nullptr && std::strstr(Line, "You see") != nullptr;
    }));
    ASSERT_TRUE(RightClickOn(Me));
    ASSERT_TRUE(ClickEntry(MENU_SET_OUTFIT));
    // The server answers with the outfit choice, which ends the request and
    // opens the outfit dialog in the menu's place.
    EXPECT_TRUE(PumpUntil([] { return !IsOutfitRequested(); }));
    EXPECT_TRUE(PumpUntil([] { return ModalCaption() == "Select Outfit"; })) << ModalCaption();
    DestroyModalWindow();
    SetInputMode(INPUT_IDLE);

    // Kestrel: Message to opens the private tab.
    ASSERT_TRUE(RightClickOn(KestrelID));
    EXPECT_TRUE(Offers("Attack") && Offers("Follow") && Offers("Message to Kestrel") && Offers("Add to VIP list") &&
                Offers("Ignore Kestrel") && Offers("Invite to Party"));
    Screenshot("menu-on-kestrel.png");
    ASSERT_TRUE(Choose(MENU_MESSAGE_TO));
    EXPECT_TRUE(PumpUntil([] {
        for (int t = 0; t < GetNumberOfTabs(); ++t)
            if (GetTab(t).Caption == "Kestrel") return true;
        return false;
    }));
    // Add to VIP list: the server answers with the entry, and the menu no
    // longer offers it.
    ASSERT_TRUE(RightClickOn(KestrelID));
    ASSERT_TRUE(Choose(MENU_ADD_VIP));
    EXPECT_TRUE(PumpUntil([] { return FindBuddyByName("Kestrel") >= 0; }));
    ASSERT_TRUE(RightClickOn(KestrelID));
    EXPECT_FALSE(Offers("Add to VIP list"));
    // Ignore, with its console line; then Unignore again.
    SelectTab(0);
    ASSERT_TRUE(Choose(MENU_IGNORE));
    EXPECT_TRUE(IsIgnored("Kestrel"));
    EXPECT_TRUE(ConsoleHas("You are now ignoring player Kestrel."));
    ASSERT_TRUE(RightClickOn(KestrelID));
    EXPECT_TRUE(Offers("Unignore Kestrel"));
    ASSERT_TRUE(Choose(MENU_IGNORE));
    EXPECT_FALSE(IsIgnored("Kestrel"));
    EXPECT_TRUE(ConsoleHas("You are now no longer ignoring player Kestrel."));

    // Invite to Party; Kestrel joins on her own connection; Mira leads, and
    // leaves the party through the menu on herself.
    ASSERT_TRUE(RightClickOn(KestrelID));
    ASSERT_TRUE(Choose(MENU_INVITE_PARTY));
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        const Creature* K = FindCreature(KestrelID);
        return K != nullptr && K->PartyShield == 2;
    }));
    ASSERT_TRUE(RightClickOn(KestrelID));
    EXPECT_TRUE(Offers("Revoke Kestrel's Invitation"));
    Press(platform::Key::Escape);
    ASSERT_TRUE(PumpUntil([] { return GetModalWindow() == nullptr; }));
    Kestrel.Raw({164, uint8_t(Me), uint8_t(Me >> 8), uint8_t(Me >> 16), uint8_t(Me >> 24)});
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return OwnShield() == 4;
    }));
    ASSERT_TRUE(RightClickOn(Me));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Look", "Set Outfit", "Leave Party", "Copy Name"}));
    ASSERT_TRUE(Choose(MENU_LEAVE_PARTY));
    EXPECT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return OwnShield() == 0;
    }));

    // Copy Name, pasted into the console's input line.
    ASSERT_TRUE(RightClickOn(KestrelID));
    ASSERT_TRUE(Choose(MENU_COPY));
    ConsoleWindow* Console = GetMainWindow()->getGameView()->getConsole();
    ASSERT_NE(Console, nullptr);
    Console->setInput("");
    PressCtrl('v');
    EXPECT_EQ(Console->getInput(), "Kestrel");

    // A chicken: Attack, then Stop Attack from the same menu.
    uint32_t Chicken = 0;
    ASSERT_TRUE(PumpUntil(
        [&] {
            Kestrel.Drain();
            return (Chicken = IDOf("Chicken")) != 0 && Shown(Chicken) >= 0;
        },
        60000));
    ASSERT_TRUE(RightClickOn(Chicken));
    EXPECT_FALSE(Offers("Message to Chicken"));
    ASSERT_TRUE(Choose(MENU_ATTACK));
    EXPECT_EQ(GetAttackTarget(), Chicken);
    ASSERT_TRUE(RightClickOn(Chicken));
    EXPECT_TRUE(Offers("Stop Attack"));
    ASSERT_TRUE(Choose(MENU_STOP_ATTACK));
    EXPECT_EQ(GetAttackTarget(), 0u);

    // At the bottom of the console's text, at the foot of the screen, the
    // menu opens upwards, its bottom at the pointer. (The screen's right
    // edge belongs to the side column, whose windows open their menus there
    // to the left of the pointer.)
    int cx = 0, cy = 0;
    Console->getAbsolutePosition(cx, cy);
    const int px = cx + Console->getTextWidth(), py = cy + Console->getTextTop() + Console->getTextHeight() - 2;
    ASSERT_TRUE(RightClickAt(px, py));
    int mx = 0, my = 0;
    Menu()->getAbsolutePosition(mx, my);
    EXPECT_EQ(mx, px);
    EXPECT_EQ(my, py - Menu()->getHeight());
    EXPECT_TRUE(Offers("Select all"));
    Screenshot("console-menu-corner.png");
    Press(platform::Key::Escape);
    EXPECT_TRUE(PumpUntil([] { return GetModalWindow() == nullptr; }));

    // Her backpack (Ctrl and a right click on its slot), scrolled by the
    // wheel to the bag inside it: Open and Open in new window, the second
    // showing the bag in a window of its own.
    auto* Inventory = dynamic_cast<InventoryPanel*>(GetMainWindow()->getGameView()->getFixedPanels()->getInventoryPanel());
    ASSERT_NE(Inventory, nullptr);
    int bx = 0, by = 0;
    Inventory->getSlot(3)->getAbsolutePosition(bx, by);
    CtrlRightClick(bx + 16, by + 16);
    ContainerWindow* Pack = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (Pack = dynamic_cast<ContainerWindow*>(FindSideWindow(CONTAINER_WINDOW))) != nullptr; }));
    ContainerBody* Places = Pack->getContainerBody();
    ASSERT_TRUE(PumpUntil([&] { return Places->getSlots() > 0 && Places->getSlot(0)->getObject().Type != 0; }));
    int Bag = -1;
    for (int i = 0; i < Places->getSlots() && Bag < 0; ++i)
        if (Places->getSlot(i)->getObject().Type == TYPE_BAG) Bag = i;
    ASSERT_GE(Bag, 0);
    int px0 = 0, py0 = 0;
    Places->getAbsolutePosition(px0, py0);
    for (int Notch = 0; Notch < 20; ++Notch) {
        Places->getSlot(Bag)->getAbsolutePosition(bx, by);
        if (by >= py0 && by + 32 <= py0 + Places->getHeight()) break;
        platform::Event Wheel;
        Wheel.Kind = platform::EventKind::Wheel;
        Wheel.X = px0 + 10;
        Wheel.Y = py0 + 10;
        Wheel.Delta = by < py0 ? 120 : -120;
        MoveTo(Wheel.X, Wheel.Y);
        Inject(Wheel);
        frame::Pump();
    }
    ASSERT_TRUE(RightClickAt(bx + 16, by + 16));
    EXPECT_TRUE(Offers("Open") && Offers("Open in new window"));
    ASSERT_TRUE(Choose(MENU_OPEN_NEW_WINDOW));
    ASSERT_TRUE(PumpUntil([] { return FindSideWindow(CONTAINER_WINDOW + 1) != nullptr; }));
    EXPECT_EQ(FindSideWindow(CONTAINER_WINDOW + 1)->getCaption(), "Bag");

    // The skills window (Ctrl+S) comes last in the column, at the screen's
    // bottom-right corner: its menu opens up and to the left of the pointer
    // (clicked inside the body, clear of the frame and the grip).
    PressCtrl('s');
    SideWindow* Skills = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (Skills = FindSideWindow(SKILLS_WINDOW)) != nullptr; }));
    int sx = 0, sy = 0;
    Skills->getAbsolutePosition(sx, sy);
    const int rx = sx + Skills->getWidth() - 24, ry = sy + Skills->getHeight() - 24;
    ASSERT_TRUE(RightClickAt(rx, ry));
    Menu()->getAbsolutePosition(mx, my);
    EXPECT_EQ(mx + Menu()->getWidth(), rx);
    EXPECT_EQ(my + Menu()->getHeight(), ry);
    EXPECT_TRUE(Offers("Show all Skill Bars") && Offers("Hide all Skill Bars"));
    Screenshot("skills-menu-corner.png");
    Press(platform::Key::Escape);
    EXPECT_TRUE(PumpUntil([] { return GetModalWindow() == nullptr; }));
}

}  // namespace
