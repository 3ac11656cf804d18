// Buttons, check boxes, edit fields, focus groups, sliders, lists and the
// smaller elements, driven through the same calls the event source makes.
#include "GuiTestSupport.h"

#include <cstring>
#include <string>

namespace {

class ElementsTest : public GuiElementTest {};

// A parent for elements that take the capture, as every real one has.
struct Panel : CompositeComponent {
    Panel() { setSize(400, 300); }
};

// ---- Buttons ----

TEST_F(ElementsTest, ButtonFiresOnlyWhenReleasedInside) {
    CommandLog log;
    Panel panel;
    auto* b = new Button(14, 15, CommandTarget(&log, 3));
    panel.addChild(b);
    panel.placeChild(b, 10, 10);
    EXPECT_EQ(b->getWidth(), 43);  // the size of its up skin
    EXPECT_EQ(b->getHeight(), 20);

    panel.leftButtonDown(15, 15, 0);
    EXPECT_TRUE(b->isDown());
    EXPECT_EQ(panel.getCapture(), b);
    panel.mouseMove(200, 200);
    EXPECT_FALSE(b->isDown());
    panel.leftButtonUp(200, 200, 0);  // reaches the button through the capture
    EXPECT_TRUE(log.Commands.empty());
    EXPECT_FALSE(b->isPressed());
    EXPECT_EQ(panel.getCapture(), nullptr);

    panel.leftButtonDown(15, 15, 0);
    panel.mouseMove(200, 200);
    panel.mouseMove(20, 20);
    EXPECT_TRUE(b->isDown());
    panel.leftButtonUp(20, 20, 0);
    EXPECT_EQ(log.Commands, std::vector<int>{3});
}

TEST_F(ElementsTest, RepeatButtonSendsOnHeldTicksOnlyWhileInside) {
    CommandLog log;
    Panel panel;
    auto* b = new Button(153, 154, CommandTarget(&log, 1));
    b->setRepeat(true);
    panel.addChild(b);
    panel.leftButtonDown(1, 1, 0);
    EXPECT_TRUE(panel.mouseRepeat(1, 1, REPEAT_LEFT_HELD));
    EXPECT_TRUE(panel.mouseRepeat(1, 1, REPEAT_LEFT_HELD));
    panel.mouseMove(100, 100);
    panel.mouseRepeat(100, 100, REPEAT_LEFT_HELD);
    EXPECT_EQ(log.Commands.size(), 2u);
    EXPECT_FALSE(b->mouseRepeat(1, 1, REPEAT_WHEEL_AWAY));
}

TEST_F(ElementsTest, CancelledCaptureLeavesTheButtonUp) {
    CommandLog log;
    Panel panel;
    auto* b = new Button(14, 15, CommandTarget(&log, 1));
    panel.addChild(b);
    panel.leftButtonDown(1, 1, 0);
    panel.cancelCapture();
    EXPECT_FALSE(b->isDown());
    panel.leftButtonUp(1, 1, 0);
    EXPECT_TRUE(log.Commands.empty());
}

TEST_F(ElementsTest, RadioGroupKeepsOneMemberDown) {
    CommandLog log;
    Panel panel;
    RadioButtonGroup group;
    auto* a = new Button(14, 15, CommandTarget(&log, 1));
    auto* b = new Button(14, 15, CommandTarget(&log, 2));
    panel.addChild(a);
    panel.addChild(b);
    panel.placeChild(b, 100, 0);
    group.addMember(a);
    group.addMember(b);
    EXPECT_ASSERTION(group.addMember(a), "RadioButtonGroup==NULL");
    EXPECT_EQ(group.MemberList.size(), 2u);
    panel.leftButtonDown(101, 1, 0);
    panel.leftButtonUp(101, 1, 0);
    EXPECT_TRUE(b->isDown());
    EXPECT_FALSE(a->isDown());
    panel.leftButtonDown(1, 1, 0);
    panel.leftButtonUp(1, 1, 0);
    EXPECT_TRUE(a->isDown());
    EXPECT_FALSE(b->isDown());
    EXPECT_EQ(log.Commands, (std::vector<int>{2, 1}));
}

TEST_F(ElementsTest, ToggleFlipsBeforeItsCommandAndStateButtonSendsBeforeItAdvances) {
    struct Watcher : Component {
        ToggleButton* Toggle = nullptr;
        std::vector<bool> Seen;
        void command(int) override { Seen.push_back(Toggle->isOn()); }
    } watcher;
    Panel panel;
    auto* t = new ToggleButton(14, 15, CommandTarget(&watcher, 1));
    watcher.Toggle = t;
    panel.addChild(t);
    for (int i = 0; i < 2; ++i) {
        panel.leftButtonDown(1, 1, 0);
        panel.leftButtonUp(1, 1, 0);
    }
    EXPECT_EQ(watcher.Seen, (std::vector<bool>{true, false}));

    // Each command is received while the button still shows the state that
    // sent it; the third one closes the button's window (here: deletes it).
    struct StateWatcher : Component {
        Panel* Owner = nullptr;
        StateButton* Button = nullptr;
        std::vector<int> Seen;  // command * 10 + the button's state then
        void command(int number) override {
            Seen.push_back(number * 10 + Button->getState());
            if (number == 13) Owner->deleteChild(Button);
        }
    } states;
    auto* s = new StateButton({{99, 100, CommandTarget(&states, 10)},
                               {101, 102, CommandTarget(&states, 11)},
                               {103, 104, CommandTarget(&states, 12)},
                               {105, 106, CommandTarget(&states, 13)}});
    states.Owner = &panel;
    states.Button = s;
    panel.addChild(s);
    panel.placeChild(s, 200, 0);
    for (int i = 0; i < 4; ++i) {
        panel.leftButtonDown(201, 1, 0);
        panel.leftButtonUp(201, 1, 0);
        if (i == 3) break;  // the button is gone
        EXPECT_EQ(s->getState(), (i + 1) % 4);
    }
    EXPECT_EQ(states.Seen, (std::vector<int>{100, 111, 122, 133}));
}

TEST_F(ElementsTest, TextButtonCaptionLimit) {
    std::string fifty(50, 'x');
    EXPECT_ASSERTION(TextButton(fifty.c_str(), CommandTarget()), "_Text!=NULL && strlen(_Text)<50");
    TextButton ok("Ok", CommandTarget());
    EXPECT_EQ(ok.getWidth(), 86);
}

// ---- Check box ----

TEST_F(ElementsTest, CheckBoxTogglesOnReleaseAnywhereWhileEnabled) {
    Panel panel;
    auto* c = new CheckBox("Show names");
    panel.addChild(c);
    EXPECT_EQ(c->getDrawingEntry(4).skin, 147);
    EXPECT_EQ(c->getDrawingEntry(4).x, 6);
    EXPECT_EQ(c->getDrawingEntry(4).y, 5);
    // Over the caption (a label that lets clicks through) still toggles.
    int x = c->getCaption()->getX() + 2, y = c->getCaption()->getY() + 2;
    EXPECT_TRUE(panel.leftButtonUp(x, y, 0));
    EXPECT_TRUE(c->isTicked());
    EXPECT_EQ(c->getDrawingEntry(4).skin, 146);
    c->setEnabled(false);
    EXPECT_EQ(c->getDrawingEntry(4).skin, 147);
    EXPECT_EQ(c->getCaption()->getColour().Red, SkinProperties().CheckBox.DisabledText.Red);
    panel.leftButtonUp(x, y, 0);
    EXPECT_TRUE(c->isTicked());
}

// ---- Edit fields ----

TEST_F(ElementsTest, PasteIntoFullFieldKeepsTheInsertedTextFirst) {
    EditField f(5);
    f.setText("abcd");
    f.setCursor(2);
    ASSERT_TRUE(SetClipboardText("xyz"));
    f.command(EDIT_PASTE);
    EXPECT_STREQ(f.getText(), "abxyz");
    EXPECT_EQ(f.getCursor(), 5);
}

TEST_F(ElementsTest, PasteStopsAtTheFirstLineBreakAndReplacesTheSelection) {
    EditField f(20);
    f.setText("hello world");
    f.setSelection(6, 5);
    ASSERT_TRUE(SetClipboardText("there\nmore"));
    f.command(EDIT_PASTE);
    EXPECT_STREQ(f.getText(), "hello there");
    EXPECT_EQ(f.getCursor(), 11);
}

TEST_F(ElementsTest, InsertCutsToMaxLengthAndSetTextToo) {
    EditField f(5);
    f.setText("abcdefgh");
    EXPECT_STREQ(f.getText(), "abcde");
    EXPECT_EQ(f.getCursor(), 5);
    // What goes in stays; what stood behind it is pushed out.
    EXPECT_EQ(f.insert(1, "XY", -1), 2);
    EXPECT_STREQ(f.getText(), "aXYbc");
    f.setText("ab");
    EXPECT_EQ(f.insert(1, "XYZWV", 4), 4);
    EXPECT_STREQ(f.getText(), "aXYZW");
    EXPECT_ASSERTION(f.insert(6, "q", 1), "Position <= (int)strlen(Text)");
    EXPECT_ASSERTION(f.insertChar(9, 'q'), "Position<=(int)strlen(Text)");
    EXPECT_ASSERTION(f.setText(nullptr), "_Text!=NULL");
    EXPECT_STREQ(f.getText(), "aXYZW");
}

TEST_F(ElementsTest, KeysEditTheText) {
    EditField f(6);
    for (int c : {'a', 'b', 'c'}) f.keyPress(c);
    f.keyPress(keys::SHIFT | 'D');
    EXPECT_STREQ(f.getText(), "abcD");
    f.keyPress(keys::CTRL | 'z');  // Ctrl without Alt: not a character
    f.keyPress(keys::CTRL | keys::ALT | '@');  // AltGr: a character
    EXPECT_STREQ(f.getText(), "abcD@");
    f.keyPress(keys::HOME);
    f.keyPress(keys::DELETE);
    EXPECT_STREQ(f.getText(), "bcD@");
    f.keyPress(keys::BACKSPACE);  // at 0: nothing
    EXPECT_STREQ(f.getText(), "bcD@");
    f.keyPress(keys::END);
    f.keyPress(keys::BACKSPACE);
    EXPECT_STREQ(f.getText(), "bcD");
    f.keyPress(keys::DELETE);  // at the end: nothing
    EXPECT_STREQ(f.getText(), "bcD");
    f.keyPress(keys::CTRL | 'a');
    EXPECT_EQ(f.getSelectionLength(), 3);
    f.keyPress('z');  // replaces the selection
    EXPECT_STREQ(f.getText(), "z");
    for (int c : {'1', '2', '3', '4', '5', '6', '7'}) f.keyPress(c);
    EXPECT_STREQ(f.getText(), "z12345");
    f.keyPress(keys::SHIFT | keys::ENTER);  // a control code with a flag is no character
    EXPECT_STREQ(f.getText(), "z12345");
}

TEST_F(ElementsTest, CopyCutAndPasswordFieldsKeepSecrets) {
    EditField f(20);
    f.setText("secret words");
    f.setSelection(0, 6);
    f.command(EDIT_CUT);
    EXPECT_STREQ(f.getText(), " words");
    EXPECT_STREQ(GetClipboardText(), "secret");

    PasswordField p(20);
    p.setText("hunter");
    p.command(EDIT_SELECT_ALL);
    EXPECT_EQ(p.getSelectionLength(), 0);
    p.setSelection(0, 6);
    p.command(EDIT_COPY);
    p.command(EDIT_CUT);
    EXPECT_STREQ(p.getText(), "hunter");
    EXPECT_STREQ(GetClipboardText(), "secret");
    EXPECT_ASSERTION(f.command(99), "false");
}

TEST_F(ElementsTest, MouseSelectsAndDoubleClickTakesAWord) {
    Panel panel;
    auto* f = new EditField(40);
    panel.addChild(f);
    f->setSize(300, 20);
    f->setText("alpha beta gamma");
    const int margin = SkinProperties().EditField.Margin;
    int xBeta = margin + GetTextWidth(2, "alpha b");
    panel.leftDoubleClick(xBeta, 5, 0);
    EXPECT_EQ(f->getSelectionStart(), 6);
    EXPECT_EQ(f->getSelectionLength(), 4);
    EXPECT_EQ(f->getCursor(), 10);

    panel.leftButtonDown(margin + GetTextWidth(2, "al"), 5, 0);
    EXPECT_EQ(f->getCursor(), 2);
    EXPECT_TRUE(f->isFocused());
    EXPECT_EQ(panel.getCapture(), f);
    panel.mouseMove(margin + GetTextWidth(2, "alpha "), 5);
    EXPECT_EQ(f->getSelectionLength(), 4);
    panel.mouseMove(1000, 5);  // outside the box: to the end
    EXPECT_EQ(f->getSelectionLength(), 14);
    panel.leftButtonUp(1000, 5, 0);
    EXPECT_EQ(panel.getCapture(), nullptr);
}

TEST_F(ElementsTest, RightClickAsksForTheContextMenu) {
    ClearEvents();
    EditField f(10);
    f.rightButtonUp(1, 1, 0);
    ASSERT_EQ(GetNumberOfEvents(), 1);
    EXPECT_EQ(GetQueuedEvent(0).Type, 53);
    EXPECT_EQ(GetQueuedEvent(0).Data, reinterpret_cast<intptr_t>(&f));
    ClearEvents();
}

TEST_F(ElementsTest, FocusGroupWrapsBothWays) {
    FocusGroup group;
    EditField a(10), b(10), c(10);
    group.addMember(&a);
    group.addMember(&b);
    group.addMember(&c);
    EXPECT_ASSERTION(group.addMember(&b), "MemberList(i) != Member");
    EXPECT_EQ(group.getMembers(), 3);
    EXPECT_ASSERTION(group.next(), "Active!=NULL");
    a.joinFocusGroup();
    a.setSelection(0, 0);
    a.keyPress(keys::SHIFT | keys::TAB);
    EXPECT_EQ(group.Active, &c);
    EXPECT_TRUE(c.isFocused());
    EXPECT_FALSE(a.isFocused());
    c.keyPress(keys::TAB);
    EXPECT_EQ(group.Active, &a);
    a.keyPress(keys::TAB);
    EXPECT_EQ(group.Active, &b);
    EditField loose(5);
    EXPECT_ASSERTION(loose.joinFocusGroup(), "_FocusGroup!=NULL");
}

TEST_F(ElementsTest, TextFieldBreaksAfterSeparatorsOrHard) {
    int w = GetTextWidth(2, "aaaa bbbb ");
    auto lines = TextField::BreakLines("aaaa bbbb cccc\n\nxyz", 2, w);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], std::make_pair(0, 10));  // "aaaa bbbb " breaks after the blank
    EXPECT_EQ(lines[1], std::make_pair(10, 4));
    EXPECT_EQ(lines[2], std::make_pair(15, 0));
    EXPECT_EQ(lines[3], std::make_pair(16, 3));
    auto hard = TextField::BreakLines("abcdefghij", 2, GetTextWidth(2, "abcd"));
    ASSERT_GE(hard.size(), 2u);
    EXPECT_EQ(hard[0].second, 4);
    EXPECT_ASSERTION(TextField::BreakLines("x", 2, 0), "FieldWidth>0");
}

TEST_F(ElementsTest, ReadOnlyTextFieldTakesNoCursorAndPasteKeepsLines) {
    TextField ro(100, true);
    ro.setText("line one");
    ro.leftButtonDown(5, 5, 0);
    EXPECT_FALSE(ro.isFocused());
    ASSERT_TRUE(SetClipboardText("a\nb"));
    ro.command(EDIT_PASTE);
    EXPECT_STREQ(ro.getText(), "line one");
    TextField rw(100, false);
    rw.command(EDIT_PASTE);
    EXPECT_STREQ(rw.getText(), "a\nb");
    EXPECT_EQ(rw.getLines(), 2);
}

// ---- Slider, scroll bars, list ----

TEST_F(ElementsTest, SliderWithEqualBoundsIgnoresInputAndDrawsOnlyItsTrack) {
    CommandLog log;
    Panel panel;
    auto* s = new Slider(5, 5, 5, 1, CommandTarget(&log, 1));
    panel.addChild(s);
    s->setSize(100, 12);
    EXPECT_FALSE(s->isEnabled());
    panel.leftButtonDown(50, 5, 0);
    EXPECT_EQ(panel.getCapture(), nullptr);
    s->mouseRepeat(0, 0, REPEAT_WHEEL_TOWARDS);
    s->keyPress(keys::RIGHT);
    EXPECT_EQ(s->getValue(), 5);
    EXPECT_TRUE(log.Commands.empty());
    EXPECT_EQ(s->getDrawingEntry(0).skin, 157);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(s->getDrawingEntry(i).skin, 0);
    EXPECT_ASSERTION(Slider(3, 1, 2, 1, CommandTarget()), "_Min<=_Max");
    EXPECT_ASSERTION(Slider(0, 10, 11, 1, CommandTarget()), "In(_Value,_Min,_Max)");
}

TEST_F(ElementsTest, SliderKnobGeometryDragAndPageClicks) {
    CommandLog log;
    Panel panel;
    auto* s = new Slider(0, 10, 0, 10, CommandTarget(&log, 7));
    panel.addChild(s);
    s->setSize(100, 12);
    EXPECT_EQ(s->getKnobLength(), 50);  // 100 * 10 / (10 + 10 - 0)
    EXPECT_EQ(s->getKnobPosition(), 0);
    s->setValue(10);
    EXPECT_EQ(s->getKnobPosition(), 50);
    s->setValue(99);
    EXPECT_EQ(s->getValue(), 10);
    EXPECT_EQ(log.Commands.size(), 1u);
    // Drag from the knob's middle to the left end.
    panel.leftButtonDown(75, 5, 0);
    EXPECT_TRUE(s->isDragging());
    panel.mouseMove(25, 5);
    EXPECT_EQ(s->getValue(), 0);
    panel.leftButtonUp(25, 5, 0);
    EXPECT_FALSE(s->isDragging());
    // A click beside the knob moves by one (no page clicks set).
    panel.leftButtonDown(90, 5, 0);
    panel.leftButtonUp(90, 5, 0);
    EXPECT_EQ(s->getValue(), 1);
    s->setPageClicks(true);
    panel.leftButtonDown(95, 5, 0);
    panel.leftButtonUp(95, 5, 0);
    EXPECT_EQ(s->getValue(), 10);
    s->keyPress(keys::LEFT);
    EXPECT_EQ(s->getValue(), 9);
    // A page click moves by page - 1: 3 for a page of 4, nothing for a page of one.
    s->setRange(0, 20, 10, 4);
    panel.leftButtonDown(99, 5, 0);
    panel.leftButtonUp(99, 5, 0);
    EXPECT_EQ(s->getValue(), 13);
    s->setRange(0, 20, 10, 1);
    panel.leftButtonDown(99, 5, 0);
    panel.leftButtonUp(99, 5, 0);
    EXPECT_EQ(s->getValue(), 10);
}

TEST_F(ElementsTest, ScrollBarArrowsStepByButtonRange) {
    CommandLog log;
    Panel panel;
    auto* bar = new VerticalScrollBar(CommandTarget(&log, 2));
    panel.addChild(bar);
    bar->setSize(0, 120);
    EXPECT_EQ(bar->getWidth(), 12);
    bar->setRange(0, 20, 10, 5);
    bar->setButtonRange(3);
    EXPECT_ASSERTION(bar->setButtonRange(0), "_ButtonRange>0");
    // Down arrow at the bottom.
    panel.leftButtonDown(5, 115, 0);
    panel.leftButtonUp(5, 115, 0);
    EXPECT_EQ(bar->getValue(), 13);
    panel.leftButtonDown(5, 2, 0);
    panel.leftButtonUp(5, 2, 0);
    EXPECT_EQ(bar->getValue(), 10);
    EXPECT_EQ(log.Commands, (std::vector<int>{2, 2}));
}

TEST_F(ElementsTest, ListBoxKeysSelectAndScroll) {
    CommandLog sel, act;
    ListBox list(CommandTarget(&sel, 1), CommandTarget(&act, 2));
    for (const char* name : {"Anna", "bert", "Carl", "dora", "Emil", "Fritz", "Gerd", "hugo", "Ida", "Jan"})
        list.addLine(name);
    list.setSize(150, 2 * SkinProperties().ListBox.Margin + 4 * SkinProperties().ListBox.LineHeight);
    EXPECT_EQ(list.getVisibleLines(), 4);
    EXPECT_EQ(list.getScrollBar()->getSlider()->getMax(), 6);
    list.keyPress('e');
    EXPECT_EQ(list.getSelectedLine(), 4);
    EXPECT_EQ(list.getTopLine(), 1);  // the selection became the last visible line
    list.keyPress(keys::SHIFT | 'C');
    EXPECT_EQ(list.getSelectedLine(), 2);
    list.keyPress('z');  // nothing reaches it: the last line
    EXPECT_EQ(list.getSelectedLine(), 9);
    list.keyPress(keys::DOWN);
    EXPECT_EQ(list.getSelectedLine(), 9);
    list.select(0);
    list.keyPress(keys::UP);
    EXPECT_EQ(list.getSelectedLine(), 0);
    EXPECT_EQ(list.getTopLine(), 0);
    EXPECT_EQ(sel.Commands.size(), 5u);
    EXPECT_ASSERTION(list.setLine(10, "x"), "In(Number,0,Lines-1)");
    ListBox empty{CommandTarget(), CommandTarget()};
    empty.keyPress(keys::DOWN);
    EXPECT_EQ(empty.getSelectedLine(), -1);
}

TEST_F(ElementsTest, ListBoxClickSelectsAndDoubleClickRenames) {
    CommandLog sel, act;
    ListBox list(CommandTarget(&sel, 1), CommandTarget(&act, 2), true);
    list.addLine("Mira");
    list.addLine("Tobias");
    const int m = SkinProperties().ListBox.Margin, lh = SkinProperties().ListBox.LineHeight;
    list.leftButtonDown(10, m + lh + 2, 0);
    EXPECT_EQ(list.getSelectedLine(), 1);
    EXPECT_EQ(sel.Commands.size(), 1u);
    list.leftDoubleClick(10, m + 2, 0);
    EXPECT_EQ(act.Commands.size(), 1u);
    ASSERT_TRUE(list.isRenaming());
    list.keyPress(keys::END);
    list.keyPress('x');
    list.keyPress(keys::ENTER);
    EXPECT_FALSE(list.isRenaming());
    EXPECT_EQ(list.getLine(0), "Mirax");
}

// ---- Smaller elements ----

TEST_F(ElementsTest, ProgressBarClampsAndFills) {
    ProgressBar bar;
    EXPECT_EQ(bar.getMinimumWidth(), 24);
    EXPECT_EQ(bar.getMinimumHeight(), 15);
    bar.setSize(200, 15);
    bar.setValue(150);
    EXPECT_EQ(bar.getValue(), 100);
    EXPECT_EQ(bar.getDrawingEntry(5).skin, 257);  // end cap at full
    bar.setValue(50);
    EXPECT_EQ(bar.getDrawingEntry(3).skin, 255);
    EXPECT_EQ(bar.getDrawingEntry(4).x + bar.getDrawingEntry(4).width, 100);
    EXPECT_EQ(bar.getDrawingEntry(5).skin, 0);
    bar.setValue(-3);
    EXPECT_EQ(bar.getValue(), 0);
    EXPECT_EQ(bar.getDrawingEntry(3).skin, 0);
    EXPECT_ASSERTION(bar.setMaximum(0), "maximum>0");
}

TEST_F(ElementsTest, LabelCutsLongLinesAndShowsThemOnRest) {
    Label l("A rather long caption that will not fit");
    l.setSize(60, l.getHeight());
    l.setText("A rather long caption that will not fit", true);
    EXPECT_TRUE(l.isCut());
    const std::string& shown = l.getLine(0);
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_LE(GetTextWidth(2, shown.c_str()), 60);
    EXPECT_FALSE(l.leftButtonDown(1, 1, 0));
    l.mouseRest(1, 1);
    ASSERT_NE(GetTooltipText(), nullptr);
    EXPECT_STREQ(GetTooltipText(), "A rather long caption that will not fit");
}

TEST_F(ElementsTest, WindowFramePlacesItsWindowInsideTheBorder) {
    auto* inner = new Panel;
    WindowFrame frame(inner);
    EXPECT_EQ(frame.getMinimumWidth(), 4);
    frame.setSize(100, 50);
    EXPECT_EQ(inner->getX(), 2);
    EXPECT_EQ(inner->getY(), 2);
    EXPECT_EQ(inner->getWidth(), 96);
    EXPECT_EQ(inner->getHeight(), 46);
    EXPECT_EQ(frame.getDrawingEntry(2).x, 98);
    EXPECT_EQ(frame.getDrawingEntry(6).width, 96);
    EXPECT_ASSERTION(frame.setSize(3, 50), "Width>=getMinimumWidth() && Height>=getMinimumHeight()");
    EXPECT_GE(frame.getWidth(), 4);
}

TEST_F(ElementsTest, ResizerGrowsItsTargetByTheMovement) {
    Panel panel;
    auto* target = new Panel;
    panel.addChild(target);
    target->setSize(100, 80);
    auto* grip = new Resizer(target, true, false);
    panel.addChild(grip);
    panel.placeChild(grip, 200, 200);
    panel.leftButtonDown(205, 205, 0);
    panel.mouseMove(215, 230);
    EXPECT_EQ(target->getWidth(), 110);
    EXPECT_EQ(target->getHeight(), 80);
    EXPECT_EQ(GetPointerShape(), POINTER_RESIZE);
    panel.leftButtonUp(210, 205, 0);
    EXPECT_EQ(target->getWidth(), 115);
    EXPECT_EQ(panel.getCapture(), nullptr);
}

TEST_F(ElementsTest, LinkRowOpensItsDestination) {
    Panel panel;
    auto* row = new LinkRow("Need an account?", "Create Account", "http://127.0.0.1/account");
    panel.addChild(row);
    Component* button = row->getLastChild();
    int x = row->getX() + button->getX() + 2, y = row->getY() + button->getY() + 2;
    panel.leftButtonDown(x, y, 0);
    panel.leftButtonUp(x, y, 0);
    auto opened = platform::headless::OpenedDocuments();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "http://127.0.0.1/account");
    // With the application's opener installed, the address goes there alone.
    static std::vector<std::string> viaApplication;
    LinkRow::setOpener([](const char* Path) {
        viaApplication.push_back(Path);
        return true;
    });
    panel.leftButtonDown(x, y, 0);
    panel.leftButtonUp(x, y, 0);
    LinkRow::setOpener(nullptr);
    EXPECT_EQ(viaApplication, (std::vector<std::string>{"http://127.0.0.1/account"}));
    EXPECT_EQ(platform::headless::OpenedDocuments().size(), 1u);
    EXPECT_ASSERTION(LinkRow(nullptr, "b", "c"), "_Destination!=NULL && _Text!=NULL && ButtonText!=NULL");
}

}  // namespace
