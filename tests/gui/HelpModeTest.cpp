// Help mode on a small tree: the popup follows the help number, not the
// pointer; it stands beside the explained area and inside the screen; every
// help text exists, opens with its title and shows its skins.
#include "GuiTestSupport.h"

#include "gui/help/Help.h"
#include "gui/help/HelpMode.h"
#include "gui/help/HelpPopup.h"
#include "gui/help/HelpTexts.h"
#include "gui/help/EventHints.h"

#include <cstdio>
#include <string>

namespace {

// A leaf that explains itself with a fixed number (0: no help).
class Explained : public Component {
  public:
    explicit Explained(int Number) : Number(Number) {}
    bool queryHelp(int, int) override {
        SetHelpNumber(Number);
        if (Number == 0) return false;
        SetHelpSize(_Width, _Height);
        return true;
    }
    int Number;
};

class HelpMode : public GuiElementTest {
  protected:
    void SetUp() override {
        GuiElementTest::SetUp();
        Root.setSize(640, 480);
        // A console-like area at the left edge, a strip without help beside
        // it, an area with a number that has no text, and one at the right.
        Console = add(new Explained(HELP_CONSOLE), 0, 300, 200, 180);
        Strip = add(new Explained(0), 200, 300, 300, 180);
        Broken = add(new Explained(999), 500, 300, 140, 180);
        Panel = add(new Explained(HELP_AUTOMAP), 500, 0, 140, 120);
        SetRootComponent(&Root);
        SetInputMode(INPUT_HELP);
        ResetHelpPointer();
    }
    void TearDown() override {
        CloseHelpPointer();
        SetRootComponent(nullptr);
        GuiElementTest::TearDown();
    }
    Explained* add(Explained* C, int x, int y, int w, int h) {
        Root.addChild(C);
        C->setPosition(x, y);
        C->setSize(w, h);
        return C;
    }
    static std::string Title() {
        const HelpPopup* P = GetHelpPopup();
        if (P == nullptr) return "(none)";
        const std::string& T = P->getText()->getText();
        return T.substr(0, T.find('\n'));
    }
    CompositeComponent Root;
    Explained *Console, *Strip, *Broken, *Panel;
};

TEST_F(HelpMode, ThePopupFollowsTheHelpNumberAndStaysBesideItsArea) {
    HelpPointerMove(20, 320);
    ASSERT_EQ(Title(), "<B>Console<N>");
    const HelpPopup* First = GetHelpPopup();
    // At the left edge there is no room on the left: it opens on the right,
    // bottom-aligned with the area since it is taller than the room below.
    EXPECT_EQ(First->getX(), 200 + HELP_POPUP_GAP);
    EXPECT_GE(First->getY(), 0);
    EXPECT_LE(First->getY() + First->getHeight(), 480);
    EXPECT_EQ(First->getParent(), &Root);
    EXPECT_LE(First->getWidth(), HELP_POPUP_WIDTH + 16);

    // Within the same area the popup is kept, not built again.
    HelpPointerMove(190, 470);
    EXPECT_EQ(GetHelpPopup(), First);

    // Into an area without help: no popup.
    HelpPointerMove(450, 350);
    EXPECT_EQ(GetHelpPopup(), nullptr);
    EXPECT_EQ(GetHelpNumber(), 0);
    HelpPointerMove(455, 360);
    EXPECT_EQ(GetHelpPopup(), nullptr);

    // A number without a text is reported and shows nothing.
    EXPECT_ASSERTION(HelpPointerMove(550, 350), "false");
    EXPECT_EQ(GetHelpPopup(), nullptr);
    char Buffer[HELP_TEXT_LENGTH] = "x";
    EXPECT_ASSERTION(helpText(999, Buffer), "false");
    EXPECT_STREQ(Buffer, "");

    // The automap panel at the top right: its popup goes to its left.
    HelpPointerMove(600, 50);
    ASSERT_EQ(Title(), "<B>Automap<N>");
    EXPECT_EQ(GetHelpPopup()->getX() + GetHelpPopup()->getWidth() + HELP_POPUP_GAP, 500);
    EXPECT_EQ(GetHelpPopup()->getY(), 0);

    // The popup is drawn only in help mode; a button release ends it.
    CloseHelpPointer();
    EXPECT_EQ(GetHelpPopup(), nullptr);
    EXPECT_EQ(Root.getLastChild(), Panel);
}

TEST_F(HelpMode, PlacementTriesBothSidesThenBelowAboveThenTheFarCorner) {
    int x = 0, y = 0;
    // Room on the left, top-aligned.
    PlaceHelpPopup(300, 100, 32, 32, 200, 100, 640, 480, 310, x, y);
    EXPECT_EQ(x, 97);
    EXPECT_EQ(y, 100);
    // Near the bottom: bottom-aligned on the left.
    PlaceHelpPopup(300, 440, 32, 32, 200, 100, 640, 480, 310, x, y);
    EXPECT_EQ(x, 97);
    EXPECT_EQ(y, 372);
    // A tall popup beside a small area in the middle: moved to fit vertically.
    PlaceHelpPopup(300, 200, 32, 32, 200, 460, 640, 480, 310, x, y);
    EXPECT_EQ(x, 97);
    EXPECT_EQ(y, 20);
    // A wide area leaves no room beside it: below it, or else above it.
    PlaceHelpPopup(10, 50, 600, 40, 200, 100, 640, 480, 310, x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 93);
    PlaceHelpPopup(10, 400, 600, 70, 200, 100, 640, 480, 310, x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 297);
    // Nowhere: the top corner away from the pointer.
    PlaceHelpPopup(0, 0, 640, 480, 200, 100, 640, 480, 100, x, y);
    EXPECT_EQ(x, 640 - 200 - 3);
    EXPECT_EQ(y, 3);
    PlaceHelpPopup(0, 0, 640, 480, 200, 100, 640, 480, 400, x, y);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 3);
}

TEST_F(HelpMode, EveryNumberHasItsTitledTextWithItsSkinsAndEveryHintATitle) {
    const struct {
        int Number;
        const char* Title;
        std::vector<int> Skins;
    } Table[] = {
        {10, "Automap", {61, 66, 68, 62, 64}},
        {11, "Status Bars", {}},
        {12, "Inventory", {134}},
        {13, "Minimised Inventory", {136}},
        {14, "Combat Controls and Other Buttons", {99, 101, 103, 105, 107, 109, 110}},
        {15, "Combat Controls and Other Buttons", {99, 101, 103, 105, 107, 109, 110, 111, 113}},
        {16, "Control Buttons", {}},
        {17, "Skills", {}},
        {18, "Battle", {}},
        {19, "VIP", {}},
        {20, "Open Containers", {122}},
        {21, "Trade", {}},
        {22, "Console", {193, 195, 197}},
        {23, "Console Channels", {191, 188, 184, 186}},
        {1000, "Creatures", {}},
        {1001, "Your Character", {}},
        {1002, "Containers", {}},
        {1100, "Ladders", {}},
        {1101, "Sewer Grates", {}},
        {1102, "Dungeon Floor", {}},
        {1103, "Levers", {}},
        {1104, "Doors", {}},
        {1105, "Special Doors", {}},
        {1106, "Stairs", {}},
        {1107, "Mailboxes", {}},
        {1108, "Depot boxes", {}},
        {1109, "Dustbins", {}},
        {1110, "Stone Piles", {}},
        {1111, "Signs", {}},
        {1112, "Books and Scrolls", {}},
    };
    EXPECT_EQ(GetNumberOfHelpTexts(), int(std::size(Table)));
    for (const auto& Row : Table) {
        char Text[HELP_TEXT_LENGTH];
        ASSERT_TRUE(helpText(Row.Number, Text)) << Row.Number;
        const std::string T = Text;
        EXPECT_EQ(T.rfind(std::string("<B>") + Row.Title + "<N>\n<br=5>", 0), 0u) << Row.Number;
        // The skins in their order, each once, and no placeholder left over.
        size_t From = 0;
        for (int Skin : Row.Skins) {
            const size_t At = T.find("<SKIN=" + std::to_string(Skin) + ">", From);
            EXPECT_NE(At, std::string::npos) << Row.Number << " skin " << Skin;
            From = At == std::string::npos ? From : At + 1;
        }
        size_t Tags = 0;
        for (size_t p = T.find("<SKIN="); p != std::string::npos; p = T.find("<SKIN=", p + 1)) ++Tags;
        EXPECT_EQ(Tags, Row.Skins.size()) << Row.Number;
        EXPECT_EQ(T.find("%d"), std::string::npos) << Row.Number;
        // The popup shows the whole text and fits the smallest root, the
        // first window's and a large one, with its gap to every edge.
        for (const auto& R : {std::pair{SMALLEST_SCREEN_WIDTH, SMALLEST_SCREEN_HEIGHT}, std::pair{600, 450},
                              std::pair{960, 540}}) {
            HelpPopup Popup(Text, R.first, R.second);
            EXPECT_TRUE(ShowsWholeText(*Popup.getText())) << Row.Number << " at " << R.first << "x" << R.second;
            EXPECT_LE(Popup.getWidth(), R.first - 2 * HELP_POPUP_GAP) << Row.Number;
            EXPECT_LE(Popup.getHeight(), R.second - 2 * HELP_POPUP_GAP) << Row.Number;
            EXPECT_GT(Popup.getText()->getHeight(), 20) << Row.Number;
        }
    }
    const char* Titles[EVENTHELPS] = {"First Login",
                                      "Haldor",
                                      "The Crossroads",
                                      "Master Corvin",
                                      "Buying & Selling",
                                      "Underground",
                                      "First Experience Points",
                                      "Advancing to Level 2",
                                      "First Skill Advance",
                                      "Reaching Level 8",
                                      "Continent",
                                      "Depot",
                                      "Player Killing",
                                      "Level 20 and Security Information"};
    SetDefaultHintTriggers();
    for (int n = 1; n <= EVENTHELPS; ++n) {
        EXPECT_STREQ(eventHintTitle(n), Titles[n - 1]);
        EXPECT_GT(std::string(eventHintText(n)).size(), 100u) << n;
    }
    EXPECT_EQ(std::string(eventHintText(1)).rfind("<b>", 0), 0u);
    EXPECT_EQ(std::string(eventHintText(13)).rfind("<b>", 0), 0u);
    EXPECT_NE(std::string(eventHintText(8)).find("<indent=15>"), std::string::npos);
    EXPECT_NE(std::string(eventHintText(14)).find("<indent=15>"), std::string::npos);
    EXPECT_ASSERTION(eventHintText(15), "In(Number,1,EVENTHELPS)");
}

}  // namespace
