// The options pages and the outfit choice at their edges: hotkey flags kept
// per line, an empty hotkey that cannot be sent at once, the hotkey page on
// its own writing the file at once, a frame-rate limit tried and taken back,
// the outfits wrapping after the last, and a window that no longer fits a
// smaller screen.
#include "DialogTestSupport.h"

#include "graphics/graphics.h"
#include "gui/dialogs/Hotkeys.h"
#include "gui/dialogs/Ignore.h"
#include "gui/dialogs/Options.h"
#include "gui/dialogs/Outfit.h"

#include <filesystem>

namespace {

class OptionsDialogsTest : public ClientTest {
  protected:
    static void ClickLine(ListBox* List, int Line) {
        int lx = 0, ly = 0;
        List->getAbsolutePosition(lx, ly);
        const int Height = SkinProperties().ListBox.LineHeight;
        Click(lx + 20, ly + SkinProperties().ListBox.Margin + Line * Height + Height / 2);
    }
    static void ClickBox(CheckBox* Box) {
        int x = 0, y = 0;
        Box->getAbsolutePosition(x, y);
        Click(x + 10, y + Box->getHeight() / 2);
    }
};

TEST_F(OptionsDialogsTest, HotkeyLinesKeepTheirFlagsAndAnEmptyOneCannotBeSent) {
    const auto Config = Dir.Path() / "Vorna.cfg";
    std::filesystem::remove(Config);
    SetHotkey(0, "first", false);
    PostEvent(OPTIONS_EVENT_HOTKEYS, 0, 0);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Hotkey Options");
    auto* Page = Body<HotkeyOptionsBody>();
    ASSERT_NE(Page, nullptr);
    EXPECT_EQ(Page->getList()->getLine(0), "F1: first");
    EXPECT_EQ(Page->getList()->getLine(12), "Shift+F1: ");
    EXPECT_EQ(Page->getList()->getLine(35), "Control+F12: ");

    // Line 0 sent at once, line 1 not; going back and forth keeps both.
    ClickLine(Page->getList(), 0);
    ClickBox(Page->getAutoSend());
    EXPECT_TRUE(Page->getAutoSend()->isTicked());
    ClickLine(Page->getList(), 1);
    EXPECT_FALSE(Page->getAutoSend()->isTicked());
    Type("second");
    ClickLine(Page->getList(), 0);
    EXPECT_TRUE(Page->getAutoSend()->isTicked());
    EXPECT_STREQ(Page->getField()->getText(), "first");
    ClickLine(Page->getList(), 1);
    EXPECT_FALSE(Page->getAutoSend()->isTicked());
    EXPECT_STREQ(Page->getField()->getText(), "second");

    // An empty line: the box is off and stays off; ticked with a text, it
    // goes off again when the text is rubbed out.
    ClickLine(Page->getList(), 5);
    EXPECT_FALSE(Page->getAutoSend()->isEnabled());
    ClickBox(Page->getAutoSend());
    EXPECT_FALSE(Page->getAutoSend()->isTicked());
    Type("x");
    ClickBox(Page->getAutoSend());
    EXPECT_TRUE(Page->getAutoSend()->isTicked());
    Press(platform::Key::Backspace);
    EXPECT_FALSE(Page->getAutoSend()->isTicked());
    EXPECT_FALSE(Page->getAutoSend()->isEnabled());
    Screenshot("hotkeys-edges.png");

    // Ok on the page alone writes the file at once.
    ClickOn(Modal()->getDefaultButton());
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_TRUE(GetHotkeyAutoSend(0));
    EXPECT_STREQ(GetHotkey(1), "second");
    EXPECT_FALSE(GetHotkeyAutoSend(1));
    EXPECT_STREQ(GetHotkey(5), "");
    EXPECT_FALSE(GetHotkeyAutoSend(5));
    EXPECT_TRUE(std::filesystem::exists(Config));
}

TEST_F(OptionsDialogsTest, CancelOnTheAdvancedPageTakesBackATriedFramerateLimit) {
    SetFramerateLimit(50);
    PostEvent(OPTIONS_EVENT_ADVANCED, 0, 0);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Advanced Graphics Options");
    auto* Page = Body<AdvancedGraphicsBody>();
    ASSERT_NE(Page, nullptr);
    EXPECT_EQ(Page->getSlider()->getValue(), 5);
    // A click right of the knob moves the limit one step up, at once.
    int x = 0, y = 0;
    Page->getSlider()->getAbsolutePosition(x, y);
    Click(x + Page->getSlider()->getWidth() - 2, y + 2);
    EXPECT_EQ(GetFramerateLimit(), 60);
    EXPECT_EQ(Page->getLimitCaption()->getText(), "Adjust framerate limit: 60");
    Press(platform::Key::Escape);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetFramerateLimit(), 50);
    EXPECT_EQ(GetConfineFramerate(), 0) << "Cancel stores nothing";

    // The top of the range is no limit, and Ok keeps it.
    PostEvent(OPTIONS_EVENT_ADVANCED, 0, 0);
    frame::Pump();
    Page = Body<AdvancedGraphicsBody>();
    ASSERT_NE(Page, nullptr);
    for (int i = 0; i < FRAMERATE_STEPS; ++i) Click(x + Page->getSlider()->getWidth() - 2, y + 2);
    EXPECT_EQ(Page->getLimitCaption()->getText(), "Adjust framerate limit: max");
    Screenshot("advanced-graphics.png");
    ClickOn(Modal()->getDefaultButton());
    EXPECT_EQ(GetFramerateLimit(), UNLIMITED_FRAMERATE);
    EXPECT_EQ(GetConfineFramerate(), 0);
}

TEST_F(OptionsDialogsTest, TheOutfitWrapsAfterTheLastAndStartsInItsRange) {
    // Current 140 lies above the offered 128..131: it starts at the last.
    const uint8_t Values[7] = {140, 5, 40, 132, 200, 128, 131};
    OutfitBody Body(Values);
    EXPECT_EQ(Body.getOutfit(), 131);
    EXPECT_EQ(Body.getColour(0), 5);
    EXPECT_EQ(Body.getColour(3), 0) << "a colour beyond the palette";
    EXPECT_EQ(Body.getSwatchGroup().Selected, Body.getSwatch(5)) << "the head's colour is chosen at the start";
    Body.command(OUTFIT_NEXT);
    EXPECT_EQ(Body.getOutfit(), 128);
    Body.command(OUTFIT_NEXT);
    EXPECT_EQ(Body.getOutfit(), 129);
    Body.command(OUTFIT_PART + 2);
    EXPECT_EQ(Body.getSwatchGroup().Selected, Body.getSwatch(132));
    Body.command(OUTFIT_COLOUR + 7);
    EXPECT_EQ(Body.getColour(2), 7);
    EXPECT_EQ(Body.getPicture()->getColour(3), 7);
}

TEST_F(OptionsDialogsTest, TheIgnoreListIsEditedByNameAndItsGlobalSettings) {
    AddIgnore("Bob", false);
    PostEvent(IGNORE_EVENT, 0, 0);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Edit Ignore List");
    auto* Page = Body<IgnoreBody>();
    ASSERT_NE(Page, nullptr);
    ASSERT_EQ(Page->getList()->getLines(), 1);
    // Each side button shows its whole caption, and the settings begin
    // below the list, not over its foot.
    for (const TextButton* B : {Page->getAdd(), Page->getDelete()})
        EXPECT_GE(B->getWidth(), GetTextWidth(SkinProperties().Buttons.Font, B->getText().c_str()) + 4) << B->getText();
    for (const Component* C = Page->getFirstChild(); C != nullptr; C = C->getNextSibling()) {
        if (C != Page->getList() && C->getY() > Page->getList()->getY()) {
            EXPECT_TRUE(C->getX() >= Page->getList()->getWidth() ||
                        C->getY() >= Page->getList()->getY() + Page->getList()->getHeight())
                << C->getX() << "," << C->getY();
        }
    }
    EXPECT_FALSE(Page->getBox(0)->isTicked()) << "Bob is ignored for this run only";
    // A new line is renamed at once: what is typed replaces "new entry".
    ClickOn(Page->getAdd());
    ASSERT_TRUE(Page->getList()->isRenaming());
    Type("Kestrel");
    Press(platform::Key::Return);
    EXPECT_FALSE(Page->getList()->isRenaming());
    EXPECT_EQ(Page->getList()->getLine(1), "Kestrel");
    ClickOn(Page->getAdd());
    Press(platform::Key::Return);  // left as "new entry": not a name
    ClickLine(Page->getList(), 0);
    ClickOn(Page->getDelete());
    ASSERT_EQ(Page->getList()->getLines(), 2);
    ClickBox(Page->getBox(0));
    ClickBox(Page->getBox(1));
    Screenshot("ignore-list.png");
    Press(platform::Key::Return);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_FALSE(IsIgnored("Bob"));
    EXPECT_TRUE(IsPermanentlyIgnored("kestrel"));
    EXPECT_EQ(GetNumberOfIgnores(), 1);
    EXPECT_TRUE(GetIgnoreYelling());
    EXPECT_FALSE(GetIgnorePrivateMessages());
}

TEST_F(OptionsDialogsTest, AWindowLargerThanANewScreenIsCentredOnIt) {
    platform::Event e;
    e.Kind = platform::EventKind::Resize;
    e.Width = 900, e.Height = 700;
    Inject(e);
    frame::Pump();
    platform::Event d;
    d.Kind = platform::EventKind::DisplayChanged;
    d.Width = 1024, d.Height = 768;  // still fits: stays
    const platform::WindowGeometry Before = platform::GetWindowGeometry();
    Inject(d);
    frame::Pump();
    EXPECT_EQ(platform::GetWindowGeometry().X, Before.X);
    d.Width = 800, d.Height = 600;
    Inject(d);
    frame::Pump();
    const platform::WindowGeometry After = platform::GetWindowGeometry();
    EXPECT_EQ(After.Width, 800);
    EXPECT_EQ(After.Height, 600);
    EXPECT_EQ(After.X, 0);
    EXPECT_EQ(After.Y, 0);
    int x, y, w, h;
    bool Maximized;
    GetWindowedMode(&x, &y, &w, &h, &Maximized);
    EXPECT_EQ(w, 800);
}

}  // namespace
