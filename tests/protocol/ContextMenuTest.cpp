// The context menus in the game over the loopback connection: the menu
// class (separators, width, the empty menu, placement, highlight, the
// releases and Escape, unknown numbers, long texts), the party entry for
// every row, the object menu on the player, on another player and on a
// container in a container, with classic control on and off, a creature that
// vanishes while its menu is open, and the edit, console, VIP and skills menus.
#include "ProtocolFixture.h"

#include "core/TalkModes.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/menus/ConsoleChannelMenu.h"
#include "gui/menus/ConsoleTextMenu.h"
#include "gui/windows/ConsoleWindow.h"
#include "gui/framework/ContextMenu.h"
#include "gui/menus/CreatureMenu.h"
#include "gui/framework/DialogElements.h"
#include "gui/framework/Dialogs.h"
#include "gui/menus/EditMenu.h"
#include "gui/framework/GUI.h"
#include "gui/windows/MapWindow.h"
#include "gui/menus/ObjectMenu.h"
#include "gui/menus/SkillsMenu.h"
#include "gui/framework/Skins.h"
#include "gui/menus/VipMenu.h"

#include <filesystem>

namespace protocol_test {
namespace {

// The test world's types and three more for the menus.
enum : int { BAG = 121, RUNE = 122, CHAIR = 123 };
void WriteMenuWorld(const char* FileName) {
    DatWriter W(0x12345678, CHAIR, 1, 1, 1);
    W.Flag(BANK, {150}).Flag(AUTOMAP, {24});
    W.Record(1, 1, 1, 1, 1, 1, 1);
    for (int Type = 101; Type <= 120; ++Type) W.Simple({});
    W.Simple({CONTAINER, TAKE});
    W.Simple({MULTIUSE, TAKE});
    W.Simple({ROTATE});
    W.Record(1, 1, 1, 4, 1, 1, 3);  // outfit 1
    W.Record(1, 1, 1, 1, 1, 1, 3);  // effect 1
    W.Record(1, 1, 1, 3, 3, 1, 1);  // missile 1
    W.Save(FileName);
}

constexpr uint32_t KESTREL = 0x10000002;
constexpr uint32_t CHICKEN = 0x40000010;

class ContextMenuTest : public ProtocolTest {
  protected:
    void SetUp() override {
        platform::headless::Reset();  // an empty clipboard
        ProtocolTest::SetUp();
        UnloadObjects();
        WriteMenuWorld("Vorna.dat");
        LoadObjects("Vorna.dat");
        StartDrawing();
        EnterSurfaceMap();
        Sent();
        SetClassicControl(false);
    }
    void TearDown() override {
        DestroyModalWindow();
        StopDrawing();
        ProtocolTest::TearDown();
    }

    // A creature of the table, visible, next to the player.
    static Creature* Place(uint32_t ID, const char* Name, int Shield) {
        Creature* C = NewCreature(FindCreature(ID) != nullptr ? ID : 0, ID);
        std::snprintf(C->Name, sizeof C->Name, "%s", Name);
        C->Visible = true;
        C->Health = 100;
        C->PartyShield = Shield;
        SetCreaturePosition(C, 101, 100, 7);
        return C;
    }
    // The one queued event opens its menu, which becomes the modal window.
    static ContextMenu* Open() {
        EXPECT_EQ(GetNumberOfEvents(), 1);
        if (GetNumberOfEvents() != 1) return nullptr;
        Event E = TakeEvent();
        if (!CarryOutDialogEvent(E)) return nullptr;
        SetInputMode(INPUT_MENU);
        return dynamic_cast<ContextMenu*>(GetModalWindow());
    }
    static void Close() {
        DestroyModalWindow();
        SetInputMode(INPUT_IDLE);
    }
    // The entries as "text" or "text|hint", with "-" for a separator.
    static std::vector<std::string> Lines(const ContextMenu* Menu) {
        std::vector<std::string> Out;
        for (Component* c = Menu->getFirstChild(); c != nullptr; c = c->getNextSibling())
            if (auto* E = dynamic_cast<MenuEntry*>(c))
                Out.push_back(E->getShortcut().empty() ? E->getText() : E->getText() + "|" + E->getShortcut());
            else
                Out.push_back("-");
        return Out;
    }
    static ObjectMenuRecord OnField(int Type, uint32_t CreatureID) {
        ObjectMenuRecord R;
        R.Looked = MapLocation(101, 100, 7);
        R.LookedType = CreatureID != 0 ? CREATURE : Type;
        R.LookedStack = 1;
        R.CreatureID = CreatureID;
        return R;
    }
    // A release in the middle of an entry.
    static void Choose(ContextMenu* Menu, int Number) {
        MenuEntry* E = Menu->findEntry(Number);
        ASSERT_NE(E, nullptr) << Number;
        Menu->leftButtonUp(E->getX() + 4, E->getY() + 4, 0);
    }
};

using Texts = std::vector<std::string>;

TEST_F(ContextMenuTest, MenuClassRulesAndPartyTable) {
    // Separators asked for first and last are dropped; the one between two
    // entries stays, and every entry gets the widest width.
    ContextMenu M;
    M.addSeparator();
    M.addEntry(1, "Short");
    M.addSeparator();
    M.addSeparator();
    M.addEntry(2, "A much longer entry", "(Ctrl)");
    M.addSeparator();
    M.finish(100, 100, 640, 480);
    EXPECT_EQ(Lines(&M), (Texts{"Short", "-", "A much longer entry|(Ctrl)"}));
    const int Widest = M.findEntry(2)->getNeededWidth();
    EXPECT_EQ(M.findEntry(1)->getWidth(), Widest);
    EXPECT_EQ(M.findEntry(2)->getWidth(), Widest);
    EXPECT_GT(Widest, M.findEntry(1)->getNeededWidth());
    EXPECT_EQ(M.getX(), 100);
    EXPECT_EQ(M.getY(), 100);
    // In the bottom-right corner it opens up and to the left; where even that
    // does not fit, it stays on the screen.
    M.finish(639, 479, 640, 480);
    EXPECT_EQ(M.getX(), 639 - M.getWidth());
    EXPECT_EQ(M.getY(), 479 - M.getHeight());
    M.finish(10, 10, 20, 20);
    EXPECT_EQ(M.getX(), 0);
    EXPECT_EQ(M.getY(), 0);
    // A menu without entries shows one empty line to click away.
    ContextMenu Empty;
    Empty.addSeparator();
    Empty.finish(5, 5, 640, 480);
    EXPECT_EQ(Lines(&Empty), (Texts{""}));
    EXPECT_GT(Empty.getHeight(), 0);

    // Texts of 50 characters and hints of 20 are reported; 49 and 19 pass.
    ContextMenu Long;
    EXPECT_ASSERTION(Long.addEntry(1, std::string(50, 'x').c_str()), "Text!=NULL && strlen(Text)<50");
    EXPECT_ASSERTION(Long.addEntry(2, "x", std::string(20, 'y').c_str()), "Shortcut==NULL || strlen(Shortcut)<20");
    ContextMenu Fits;
    Fits.addEntry(1, std::string(49, 'x').c_str(), std::string(19, 'y').c_str());
    EXPECT_EQ(Fits.getNumberOfEntries(), 1);
    // A number the menu does not have is reported.
    EXPECT_ASSERTION(M.command(77), "false");

    // Highlight follows the pointer; a left release on an entry acts (the
    // unknown number is reported) and closes, a right release or Escape
    // closes without acting, and a release outside closes too.
    M.finish(50, 50, 640, 480);
    MenuEntry* Second = M.findEntry(2);
    M.mouseMove(Second->getX() + 2, Second->getY() + 2);
    EXPECT_TRUE(Second->isHighlighted());
    EXPECT_FALSE(M.findEntry(1)->isHighlighted());
    SetInputMode(INPUT_MENU);
    EXPECT_ASSERTION(M.leftButtonUp(Second->getX() + 2, Second->getY() + 2, 0), "false");
    SetInputMode(INPUT_MENU);
    M.rightButtonUp(Second->getX() + 2, Second->getY() + 2, 0);
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    SetInputMode(INPUT_MENU);
    M.keyPress(keys::ESCAPE);
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    SetInputMode(INPUT_MENU);
    M.leftButtonUp(-5, -5, 0);
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);

    // The party entry for every own state and every mark of the other player.
    for (int Own = 0; Own <= 4; ++Own)
        for (int Mark = 0; Mark <= 4; ++Mark) {
            int Expected = 0;
            if (Own == 0 || Own == 2) Expected = Mark == 1 ? MENU_JOIN_PARTY : MENU_INVITE_PARTY;
            if (Own == 1) Expected = Mark == 2 ? MENU_REVOKE_INVITATION : 0;
            if (Own == 4)
                Expected = Mark == 2 ? MENU_REVOKE_INVITATION : Mark == 3 ? MENU_PASS_LEADERSHIP : MENU_INVITE_PARTY;
            EXPECT_EQ(PartyEntry(Own, Mark), Expected) << Own << " " << Mark;
        }
    EXPECT_ASSERTION(PartyEntry(5, 0), "false");
    // And in the menu, with the names filled in and the command sent.
    Creature* Me = FindCreature(PLAYER);
    ASSERT_NE(Me, nullptr);
    Place(KESTREL, "Kestrel", 1);
    struct Row {
        int Own, Mark;
        const char* Text;
        const char* Command;
    };
    for (const Row& R : {Row{0, 1, "Join Kestrel's Party", "05 00 A4 02 00 00 10"},
                         Row{2, 0, "Invite to Party", "05 00 A3 02 00 00 10"},
                         Row{1, 2, "Revoke Kestrel's Invitation", "05 00 A5 02 00 00 10"},
                         Row{4, 3, "Pass Leadership to Kestrel", "05 00 A6 02 00 00 10"}}) {
        Me->PartyShield = R.Own;
        FindCreature(KESTREL)->PartyShield = R.Mark;
        PostCreatureMenu(KESTREL);
        ContextMenu* Menu = Open();
        ASSERT_NE(Menu, nullptr);
        const Texts L = Lines(Menu);
        EXPECT_NE(std::find(L.begin(), L.end(), R.Text), L.end()) << R.Text;
        Menu->finish(10, 10, 640, 480);
        Choose(Menu, PartyEntry(R.Own, R.Mark));
        EXPECT_EQ(Sent(), R.Command) << R.Text;
        Close();
    }
    for (int Own : {1, 3}) {
        Me->PartyShield = Own;
        FindCreature(KESTREL)->PartyShield = 0;
        PostCreatureMenu(KESTREL);
        ContextMenu* Menu = Open();
        ASSERT_NE(Menu, nullptr);
        for (const std::string& Line : Lines(Menu)) EXPECT_EQ(Line.find("Party"), std::string::npos) << Own;
        Close();
    }
}

TEST_F(ContextMenuTest, ObjectAndCreatureMenusByControlModeAndState) {
    Creature* Me = FindCreature(PLAYER);
    ASSERT_NE(Me, nullptr);
    // The player himself: Look, Set Outfit, no Attack or Follow; Leave Party
    // only in a party and not under a fight's logout block.
    PostObjectMenu(OnField(0, PLAYER));
    ContextMenu* Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Look|(Shift)", "Set Outfit", "-", "Copy Name"}));
    Menu->finish(10, 10, 640, 480);
    Choose(Menu, MENU_SET_OUTFIT);
    EXPECT_EQ(Sent(), "01 00 D2");
    Close();
    Me->PartyShield = 3;
    PostObjectMenu(OnField(0, PLAYER));
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Look|(Shift)", "Set Outfit", "Leave Party", "-", "Copy Name"}));
    Menu->command(MENU_LEAVE_PARTY);
    EXPECT_EQ(Sent(), "01 00 A7");
    Close();
    SetPlayerConditions(1 << 5);
    PostObjectMenu(OnField(0, PLAYER));
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Look|(Shift)", "Set Outfit", "-", "Copy Name"}));
    Close();
    SetPlayerConditions(0);
    Me->PartyShield = 0;

    // Another player, with the hints; then the same with classic control,
    // which hides every hint.
    Place(KESTREL, "Kestrel", 0);
    const Texts OnKestrel{"Look|(Shift)", "Attack|(Alt)", "Follow", "-", "Message to Kestrel", "Add to VIP list",
                          "Ignore Kestrel", "Invite to Party", "-", "Copy Name"};
    PostObjectMenu(OnField(0, KESTREL));
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), OnKestrel);
    Menu->finish(10, 10, 640, 480);
    // Ignore says so in the console and turns the entry into Unignore.
    ClearTabText(0);
    Choose(Menu, MENU_IGNORE);
    EXPECT_TRUE(IsIgnored("Kestrel"));
    ASSERT_EQ(GetDefaultBuffer()->getLines(), 1);
    EXPECT_STREQ(GetDefaultBuffer()->shownText(0, false), "You are now ignoring player Kestrel.");
    Close();
    SetClassicControl(true);
    PostObjectMenu(OnField(0, KESTREL));
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    for (const std::string& Line : Lines(Menu)) EXPECT_EQ(Line.find('|'), std::string::npos) << Line;
    EXPECT_EQ(Lines(Menu)[6], "Unignore Kestrel");
    Menu->command(MENU_IGNORE);
    EXPECT_FALSE(IsIgnored("Kestrel"));
    EXPECT_STREQ(GetDefaultBuffer()->shownText(1, false), "You are now no longer ignoring player Kestrel.");
    // Attack, then the menu knows the target; Copy Name fills the clipboard.
    Menu->command(MENU_ATTACK);
    EXPECT_EQ(Sent(), "05 00 A1 02 00 00 10");
    Menu->command(MENU_COPY);
    std::string Clip;
    ASSERT_TRUE(platform::GetClipboardText(Clip));
    EXPECT_EQ(Clip, "Kestrel");
    Close();
    SetClassicControl(false);
    PostObjectMenu(OnField(0, KESTREL));
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu)[1], "Stop Attack|(Alt)");
    Menu->command(MENU_STOP_ATTACK);
    EXPECT_EQ(Sent(), "05 00 A1 00 00 00 00");
    // Kestrel leaves the screen while the menu is open: his entries do nothing.
    CreatureOffMap(KESTREL);
    ASSERT_FALSE(FindCreature(KESTREL) != nullptr && FindCreature(KESTREL)->Visible);
    for (int Number : {MENU_ATTACK, MENU_FOLLOW, MENU_MESSAGE_TO, MENU_ADD_VIP, MENU_INVITE_PARTY}) Menu->command(Number);
    Menu->command(MENU_IGNORE);
    EXPECT_FALSE(IsIgnored("Kestrel"));
    EXPECT_EQ(Sent(), "");
    EXPECT_EQ(GetNumberOfEvents(), 0);
    Close();
    // A chicken: no player entries; a right click on the battle list opens
    // the creature menu, whose entries never show hints.
    Place(CHICKEN, "Chicken", 0);
    PostCreatureMenu(CHICKEN);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Attack", "Follow", "-", "Copy Name"}));
    Menu->command(MENU_FOLLOW);
    EXPECT_EQ(Sent(), "05 00 A2 10 00 00 40");
    Close();
    // With a reason's right the account may report: Rule Violation comes
    // last, for players only, and opens the banishment dialog with the name.
    SetRight(9, 1);
    Place(KESTREL, "Kestrel", 0);
    PostCreatureMenu(KESTREL);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    ASSERT_GE(Lines(Menu).size(), 2u);
    EXPECT_EQ(Lines(Menu)[Lines(Menu).size() - 2], "-");
    EXPECT_EQ(Lines(Menu).back(), "Rule Violation");
    Menu->command(MENU_RULE_VIOLATION);
    ASSERT_EQ(GetNumberOfEvents(), 1);
    EXPECT_EQ(GetQueuedEvent(0).Type, MESSAGE_BANISHMENT);
    EXPECT_STREQ(EventText(GetQueuedEvent(0).Data), "Kestrel");
    ClearEvents();
    Close();
    PostCreatureMenu(CHICKEN);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Menu->findEntry(MENU_RULE_VIOLATION), nullptr);
    Close();
    SetRight(9, 0);
    // A creature gone before its menu opened opens none.
    PostCreatureMenu(0x40000099);
    EXPECT_EQ(Open(), nullptr);

    // Objects: a rotatable chair; a rune that is used with something; a bag
    // in an open bag (Open in the same window, Open in new window, Move up).
    PostObjectMenu([] {
        ObjectMenuRecord R = OnField(CHAIR, 0);
        R.Used = R.Looked;
        R.UsedType = CHAIR;
        R.UsedStack = 1;
        return R;
    }());
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Look|(Shift)", "Use|(Ctrl)", "Rotate"}));
    Menu->command(MENU_ROTATE);
    EXPECT_EQ(Sent(), "09 00 85 65 00 64 00 07 7B 00 01");
    Close();
    PostObjectMenu([] {
        ObjectMenuRecord R = OnField(RUNE, 0);
        R.Used = R.Looked;
        R.UsedType = RUNE;
        return R;
    }());
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Look|(Shift)", "Use with ...|(Ctrl)", "-", "Trade with ..."}));
    Menu->command(MENU_USE_WITH);
    ASSERT_EQ(GetNumberOfEvents(), 1);
    EXPECT_EQ(TakeEvent().Type, MESSAGE_TARGET_1);
    Close();
    OpenContainer(0, BAG, nullptr, "bag", 8, false);
    OpenContainer(1, BAG, nullptr, "bag", 8, true);
    AppendContainerObject(1, BAG, 0);
    ObjectMenuRecord Inner;
    Inner.Looked = Inner.Used = ContainerLocation(1, 0);
    Inner.LookedType = Inner.UsedType = BAG;
    PostObjectMenu(Inner);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Look|(Shift)", "Open|(Ctrl)", "Open in new window", "-", "Trade with ...",
                                  "Move up"}));
    Menu->command(MENU_OPEN);
    EXPECT_EQ(Sent(), "0A 00 82 FF FF 41 00 00 79 00 00 01");
    Menu->command(MENU_OPEN_NEW_WINDOW);
    EXPECT_EQ(Sent(), "0A 00 82 FF FF 41 00 00 79 00 00 02");
    Close();
    // The server closed the bag's window between the right click and the
    // menu: the menu opens without Move up.
    CloseContainer(1);
    PostObjectMenu(Inner);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Menu->findEntry(MENU_MOVE_UP), nullptr);
    Close();
    // The bag in the outer bag, which has no parent: no Move up; a bag on the
    // map opens in a new window under "Open".
    Inner.Looked = Inner.Used = ContainerLocation(0, 0);
    PostObjectMenu(Inner);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Look|(Shift)", "Open|(Ctrl)", "Open in new window", "-", "Trade with ..."}));
    Close();
    Inner.Looked = Inner.Used = MapLocation(101, 100, 7);
    PostObjectMenu(Inner);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Look|(Shift)", "Open|(Ctrl)", "-", "Trade with ..."}));
    EXPECT_NE(Menu->findEntry(MENU_OPEN_NEW_WINDOW), nullptr);
    Close();

    // Where the right click on an object goes, in both control modes.
    EXPECT_EQ(ClassifyObjectClick(0), ObjectClick::Menu);
    EXPECT_EQ(ClassifyObjectClick(keys::CTRL), ObjectClick::Use);
    EXPECT_EQ(ClassifyObjectClick(keys::SHIFT | keys::CTRL), ObjectClick::Look);
    SetClassicControl(true);
    EXPECT_EQ(ClassifyObjectClick(0), ObjectClick::Use);
    EXPECT_EQ(ClassifyObjectClick(keys::CTRL), ObjectClick::Menu);
    EXPECT_EQ(ClassifyObjectClick(keys::SHIFT), ObjectClick::Look);
}

TEST_F(ContextMenuTest, EditConsoleVipAndSkillsMenus) {
    // An edit field with no selection and an empty clipboard offers only
    // "Select All"; with a selection and text on the clipboard, everything.
    EditField Field(20);
    Field.setText("hello world");
    ClearEvents();
    Field.rightButtonUp(2, 2, 0);
    ContextMenu* Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Select All"}));
    Menu->command(MENU_SELECT_ALL);
    EXPECT_TRUE(Field.hasSelection());
    Close();
    ASSERT_TRUE(platform::SetClipboardText("abc"));
    Field.rightButtonUp(2, 2, 0);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Cut", "Copy", "Paste", "-", "Delete", "-", "Select All"}));
    Menu->command(MENU_PASTE);
    EXPECT_STREQ(Field.getText(), "abc");
    Close();
    // A read-only field: Copy and Select All only.
    TextField ReadOnly(20, true);
    ReadOnly.setText("fixed");
    ReadOnly.setSelection(0, 3);
    ReadOnly.rightButtonUp(2, 2, 0);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Copy", "-", "Select All"}));
    Close();
    // A field destroyed before its menu opened opens none.
    {
        EditField Gone(5);
        Gone.rightButtonUp(1, 1, 0);
    }
    EXPECT_EQ(Open(), nullptr);

    // The console: a line of another player, the selection, the tab.
    ClearTabText(0);
    ConsoleWindow Console;
    Console.setSize(600, 150);
    Console.draw(SCREEN_SURFACE, 0, 0);
    AddTalkLine("meet me at the well", TALK_SAY, "Kestrel", -1);
    Console.draw(SCREEN_SURFACE, 0, 0);
    const int LineY = Console.getTextTop() + Console.getTextHeight() - 8;
    Console.rightButtonUp(40, LineY, 0);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Message to Kestrel", "Add to VIP list", "Ignore Kestrel", "-", "Copy Name",
                                  "Copy Message", "-", "Select all"}));
    Menu->command(MENU_COPY_MESSAGE);
    std::string Clip;
    ASSERT_TRUE(platform::GetClipboardText(Clip));
    EXPECT_EQ(Clip, "meet me at the well");
    Menu->command(MENU_SELECT_ALL);
    EXPECT_NE(Console.getSelectedText().find("Kestrel: meet me at the well"), std::string::npos);
    Menu->command(MENU_MESSAGE_TO);
    EXPECT_EQ(Sent(), "0A 00 9A 07 00 4B 65 73 74 72 65 6C");
    Close();
    // With the selection, "Copy" comes first and copies it.
    Console.rightButtonUp(40, LineY, 0);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu)[4], "Copy");
    Menu->command(MENU_COPY);
    ASSERT_TRUE(platform::GetClipboardText(Clip));
    EXPECT_NE(Clip.find("meet me at the well"), std::string::npos);
    Close();
    // A click on a line handled in the same batch as leaving the game: the
    // console has gone when the menu's turn comes, and no menu opens.
    {
        ConsoleWindow Gone;
        Gone.setSize(600, 150);
        Gone.draw(SCREEN_SURFACE, 0, 0);
        Gone.rightButtonUp(40, LineY, 0);
    }
    EXPECT_EQ(Open(), nullptr);
    // The default tab: it cannot be closed; Save and Clear only.
    Console.rightButtonUp(20, 5, 0);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Save Window", "Clear Window"}));
    Menu->command(MENU_CLEAR_WINDOW);
    EXPECT_EQ(GetDefaultBuffer()->getLines(), 0);
    Close();
    Console.rightButtonUp(20, 5, 0);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Save Window"}));
    Close();
    // A channel tab: Close, the server messages, Save and Clear.
    OpenChannelTab(TALK_CHANNEL_CALL, CHANNEL_PUBLIC, "", 3, "Trade");
    ASSERT_EQ(GetNumberOfTabs(), 2);
    Console.rightButtonUp(Console.getTabWidth() + 10, 5, 0);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Close", "Show server messages", "-", "Save Window"}));
    Menu->command(MENU_SERVER_MESSAGES);
    EXPECT_TRUE(GetTab(1).Buffer->receivesServerMessages());
    Menu->command(MENU_CLOSE_CHANNEL);
    EXPECT_EQ(GetNumberOfTabs(), 1);
    EXPECT_EQ(Sent(), "03 00 99 03 00");
    Close();

    // The player's own channel: its tab offers Invite and Exclude, whose
    // dialog sends the name typed; the menu on a player offers the invitation
    // with his name filled in.
    OpenOwnChannel(9, "Aldric's Channel");
    ASSERT_EQ(GetNumberOfTabs(), 2);
    Console.rightButtonUp(Console.getTabWidth() + 10, 5, 0);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Invite player", "Exclude player", "-", "Close", "Show server messages", "-",
                                  "Save Window"}));
    Menu->command(MENU_EXCLUDE_PRIVATE);
    Close();
    ASSERT_EQ(GetNumberOfEvents(), 1);
    Event Ev = TakeEvent();
    ASSERT_TRUE(CarryOutDialogEvent(Ev));
    auto* D = dynamic_cast<Dialog*>(GetModalWindow());
    ASSERT_NE(D, nullptr);
    EXPECT_EQ(D->getCaption(), "Exclude player from private chat channel");
    for (const char* p = "Kestrel"; *p; ++p) D->keyPress(*p);
    D->keyPress(keys::ENTER);
    EXPECT_EQ(Sent(), "0A 00 AC 07 00 4B 65 73 74 72 65 6C");
    Close();
    Place(KESTREL, "Kestrel", 0);
    PostCreatureMenu(KESTREL);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    Menu->command(MENU_INVITE_PRIVATE);
    Close();
    Ev = TakeEvent();
    ASSERT_TRUE(CarryOutDialogEvent(Ev));
    D = dynamic_cast<Dialog*>(GetModalWindow());
    ASSERT_NE(D, nullptr);
    EXPECT_EQ(D->getCaption(), "Invite player to private chat channel");
    D->keyPress(keys::ENTER);
    EXPECT_EQ(Sent(), "0A 00 AB 07 00 4B 65 73 74 72 65 6C");
    Close();
    SelectTab(1);
    CloseSelectedTab();
    Sent();

    // The open requests: the menu of a request takes it, removes it, or
    // copies the name or the question.
    OpenRequestChannel(4);
    AddRequestLine("Kestrel", 1, "Someone took my sword");
    ASSERT_EQ(GetNumberOfTabs(), 2);
    SelectTab(1);
    Console.draw(SCREEN_SURFACE, 0, 0);
    Console.rightButtonUp(40, LineY, 0);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Process Kestrel", "Remove Kestrel", "-", "Copy Name", "Copy Message"}));
    Menu->command(MENU_COPY_MESSAGE);
    ASSERT_TRUE(platform::GetClipboardText(Clip));
    EXPECT_EQ(Clip, "Someone took my sword");
    Menu->command(MENU_REMOVE_REPORT);
    EXPECT_EQ(Sent(), "0A 00 9C 07 00 4B 65 73 74 72 65 6C");
    Menu->command(MENU_PROCESS_REPORT);
    EXPECT_EQ(Sent(), "0A 00 9B 07 00 4B 65 73 74 72 65 6C");
    EXPECT_EQ(GetTab(GetSelectedTab()).Caption, "Kestrel's Report");
    Close();

    // The VIP list: without an entry, the list's own entries; with one, its
    // entries first. Remove takes it out here and tells the server.
    PostVipMenu(0);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Add new VIP", "Sort by name", "Sort by type", "Sort by status",
                                  "Hide offline VIPs"}));
    Menu->command(MENU_OFFLINE_VIPS);
    EXPECT_TRUE(GetBuddyHideOffline());
    Close();
    UpdateBuddy(77, "Kestrel", true);
    PostVipMenu(77);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Lines(Menu), (Texts{"Edit Kestrel", "Remove Kestrel", "Message to Kestrel", "-", "Add new VIP",
                                  "Sort by name", "Sort by type", "Show offline VIPs", "-", "Copy Name"}));
    Menu->command(MENU_REMOVE_VIP);
    EXPECT_EQ(FindBuddy(77), -1);
    EXPECT_EQ(Sent(), "05 00 DD 4D 00 00 00");
    // Gone from the list: its other entries do nothing.
    Menu->command(MENU_VIP_MESSAGE_TO);
    Menu->command(MENU_EDIT_VIP);
    EXPECT_EQ(Sent(), "");
    EXPECT_EQ(GetNumberOfEvents(), 0);
    Close();

    // The skills window's bars.
    SetLevelBar(true);
    SetSkillBar(5, false);
    ClearEvents();
    PostEvent(MESSAGE_SKILLS_CONTEXT_MENU, 0, 0);
    Menu = Open();
    ASSERT_NE(Menu, nullptr);
    const Texts L = Lines(Menu);
    ASSERT_EQ(L.size(), 11u);
    EXPECT_EQ(L[0], "Hide Level");
    EXPECT_EQ(L[7], "Show Shielding");
    EXPECT_EQ(L[9], "Show all Skill Bars");
    EXPECT_EQ(L[10], "Hide all Skill Bars");
    Menu->command(MENU_FIRST_SKILL_BAR + 5);
    EXPECT_TRUE(GetSkillBar(5));
    Menu->command(MENU_HIDE_ALL_BARS);
    EXPECT_FALSE(GetLevelBar());
    EXPECT_FALSE(GetMagLevelBar());
    for (int i = 0; i < SKILLS; ++i) EXPECT_FALSE(GetSkillBar(i));
    Close();
}

}  // namespace
}  // namespace protocol_test
