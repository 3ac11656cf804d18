// The console component: the tab row with its arrows and the ignore
// indicator, the selected tab's text with selecting and copying, the
// channel buttons and the input line with the talk-mode buttons.
#include "gui/windows/ConsoleWindow.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/TalkModes.h"
#include "core/Utils.h"
#include "graphics/Surface.h"
#include "graphics/Talk.h"
#include "graphics/graphics.h"
#include "gui/framework/SkinProperties.h"
#include "gui/framework/Skins.h"
#include "gui/help/Help.h"
#include "gui/menus/ConsoleChannelMenu.h"
#include "gui/menus/ConsoleTextMenu.h"
#include "gui/menus/ReportChannelMenu.h"
#include "platform/Platform.h"

#include <algorithm>

namespace {
constexpr int CONSOLE_FONT = 4;
constexpr int TAB_WIDTH = 96;
constexpr int TAB_HEIGHT = 18;
constexpr int MARGIN = 4;
constexpr int INPUT_HEIGHT = 18;
// Behind selected text: a muted blue that every talk colour stays readable on.
constexpr RGBColour SELECTION{50, 70, 130};
constexpr RGBColour TEXT_BACKGROUND{20, 20, 24};

// The channel buttons in a column right of the text, top to bottom.
constexpr int BUTTON_WIDTH = 70;
struct ConsoleButton {
    const char* Text;
    int Command;
};
constexpr ConsoleButton BUTTON_LIST[ConsoleWindow::BUTTONS] = {
    {"Close", CONSOLE_CLOSE_TAB},
    {"Save", CONSOLE_SAVE},
    {"Channels", CONSOLE_CHANNEL_LIST},
    {"Messages", CONSOLE_SERVER_MESSAGES},
};
// The talk-mode buttons beside the input line, for TALK_SAY to TALK_YELL.
constexpr ConsoleButton MODE_LIST[3] = {
    {"Say", CONSOLE_SAY},
    {"Whisper", CONSOLE_WHISPER},
    {"Yell", CONSOLE_YELL},
};
constexpr int MODE_PADDING = 6;  // beside a mode button's caption
constexpr int MODE_FALLBACK_WIDTH = 40;  // without fonts (a view built in the tests)
// The arrows at the end of the tab row (the scroll bar's left and right
// arrows), and the room kept beside them for the ignore indicator.
constexpr int ARROW_LEFT_UP = 161, ARROW_LEFT_DOWN = 162, ARROW_RIGHT_UP = 163, ARROW_RIGHT_DOWN = 164;
constexpr int INDICATOR_ROOM = 14;
// The numeric pad's block keys, as they come without Num Lock.
constexpr int PAD_KEY_PAGEDOWN = 279, PAD_KEY_HOME = 280, PAD_KEY_PAGEUP = 281;
constexpr int TAB_PITCH = TAB_WIDTH + 2;

// The keys that move between the tabs.
int TabKeyCommand(int code) {
    switch (code) {
    case keys::PAGEUP | keys::CTRL:
    case PAD_KEY_PAGEUP | keys::CTRL: return CONSOLE_PREVIOUS_TAB;
    case keys::PAGEDOWN | keys::CTRL:
    case PAD_KEY_PAGEDOWN | keys::CTRL: return CONSOLE_NEXT_TAB;
    case keys::HOME | keys::CTRL:
    case PAD_KEY_HOME | keys::CTRL: return CONSOLE_DEFAULT_TAB;
    default: return 0;
    }
}
}  // namespace

ConsoleWindow::ConsoleWindow() : CompositeComponent(0) {
    for (int i = 0; i < BUTTONS; ++i) {
        Buttons[i] = new TextButton(BUTTON_LIST[i].Text, CommandTarget(this, BUTTON_LIST[i].Command));
        addChild(Buttons[i]);
    }
    const int Font = SkinProperties().Buttons.Font;
    const bool Measurable = In(Font, 1, NumberOfFonts) && IsGraphicsInitialized();
    for (int i = 0; i < 3; ++i) {
        ModeButtons[i] = new TextToggleButton(MODE_LIST[i].Text, CommandTarget(this, MODE_LIST[i].Command));
        ModeButtons[i]->setSize(Measurable ? GetTextWidth(Font, MODE_LIST[i].Text) + 2 * MODE_PADDING : MODE_FALLBACK_WIDTH,
                                INPUT_HEIGHT);
        ModeButtons[i]->setOn(TALK_SAY + i == GetDefaultTalkMode());
        addChild(ModeButtons[i]);
    }
    Arrows[0] = new Button(ARROW_LEFT_UP, ARROW_LEFT_DOWN, CommandTarget(this, CONSOLE_PREVIOUS_TAB),
                           "Next channel to the left (Ctrl+PageUp)");
    Arrows[1] = new Button(ARROW_RIGHT_UP, ARROW_RIGHT_DOWN, CommandTarget(this, CONSOLE_NEXT_TAB),
                           "Next channel to the right (Ctrl+PageDown)");
    // Children only while the tabs overflow (layout adds and removes them).
    for (Button* A : Arrows) A->setSize(Skins[ARROW_LEFT_UP].width, Skins[ARROW_LEFT_UP].height);
}

ConsoleWindow::~ConsoleWindow() {
    if (!ArrowsShown)
        for (Button* A : Arrows) delete A;
    ForgetConsoleWindow(this);
}

int ConsoleWindow::getTabWidth() const { return TAB_WIDTH; }

bool ConsoleWindow::queryHelp(int x, int y) {
    bool Channels = y < getTextTop();
    for (int i = 0; i < BUTTONS; ++i)
        if (Buttons[i]->contains(x, y)) Channels = true;
    SetHelpNumber(Channels ? HELP_CONSOLE_CHANNELS : HELP_CONSOLE);
    SetHelpSize(_Width, _Height);
    return true;
}
int ConsoleWindow::getTextTop() const { return TAB_HEIGHT + 2; }
int ConsoleWindow::getTextHeight() const { return std::max(_Height - INPUT_HEIGHT - 2 * MARGIN - getTextTop(), 0); }
int ConsoleWindow::getTextWidth() const { return std::max(_Width - 2 * MARGIN - 4 - BUTTON_WIDTH - 2, 1); }

int ConsoleWindow::inputWidth() const {
    int Modes = 0;
    for (const TextToggleButton* M : ModeButtons) Modes += M->getWidth() + 2;
    return std::max(_Width - 2 * MARGIN - Modes, 1);
}

// ---- The tab row ----

bool ConsoleWindow::tabsOverflow() const {
    return GetNumberOfTabs() * TAB_PITCH > _Width - 2 * MARGIN - INDICATOR_ROOM;
}

int ConsoleWindow::getShownTabs() const {
    int Room = _Width - 2 * MARGIN - INDICATOR_ROOM;
    if (tabsOverflow()) Room -= 2 * (Arrows[0]->getWidth() + 2);
    return std::clamp(Room / TAB_PITCH, 1, GetNumberOfTabs());
}

int ConsoleWindow::getFirstShownTab() {
    // The selected tab is always in view: the row moves as little as it can.
    const int Shown = getShownTabs();
    const int Selected = GetSelectedTab();
    if (Selected < FirstTab) FirstTab = Selected;
    if (Selected >= FirstTab + Shown) FirstTab = Selected - Shown + 1;
    FirstTab = std::clamp(FirstTab, 0, std::max(GetNumberOfTabs() - Shown, 0));
    return FirstTab;
}

bool ConsoleWindow::getTabPosition(int n, int& x) {
    const int First = getFirstShownTab();
    if (n < First || n >= First + getShownTabs()) return false;
    x = MARGIN + (n - First) * TAB_PITCH;
    return true;
}

int ConsoleWindow::tabAt(int x, int y) {
    if (y < 0 || y >= TAB_HEIGHT || x < MARGIN) return -1;
    const int Slot = (x - MARGIN) / TAB_PITCH;
    if (Slot >= getShownTabs() || (x - MARGIN) % TAB_PITCH >= TAB_WIDTH) return -1;
    return getFirstShownTab() + Slot;
}

void ConsoleWindow::showTab(int n) {
    if (n != GetSelectedTab()) clearSelection();
    SelectTab(n);
    command(CONSOLE_SHOW);
}

void ConsoleWindow::layout() {
    for (int i = 0; i < BUTTONS; ++i) {
        Buttons[i]->setSize(BUTTON_WIDTH, TAB_HEIGHT);
        Buttons[i]->setPosition(_Width - MARGIN - BUTTON_WIDTH, getTextTop() + i * (TAB_HEIGHT + 2));
    }
    // Say, Whisper and Yell end the input line's row.
    int mx = MARGIN + inputWidth() + 2;
    for (TextToggleButton* M : ModeButtons) {
        M->setPosition(mx, _Height - MARGIN - INPUT_HEIGHT);
        mx += M->getWidth() + 2;
    }
    // The arrows after the last tab in view, before the ignore indicator.
    const bool Overflow = tabsOverflow();
    const int ArrowY = (TAB_HEIGHT - Arrows[0]->getHeight()) / 2 + 1;
    const int Right = _Width - MARGIN - INDICATOR_ROOM - Arrows[1]->getWidth();
    Arrows[1]->setPosition(Right, ArrowY);
    Arrows[0]->setPosition(Right - 2 - Arrows[0]->getWidth(), ArrowY);
    if (Overflow != ArrowsShown) {
        ArrowsShown = Overflow;
        for (Button* A : Arrows)
            if (Overflow)
                addChild(A);
            else
                removeChild(A);
    }
}

void ConsoleWindow::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    layout();
}

int ConsoleWindow::lineTop(int n, int Count) const {
    const int Bottom = getTextTop() + getTextHeight();
    return Bottom - GetFontHeight(CONSOLE_FONT) - 1 - (Count - 1 - n) * GetFontLineHeight(CONSOLE_FONT);
}

void ConsoleWindow::draw(int Surface, int x, int y) {
    // The background shows only around the text and input areas, which are
    // filled anyway: the tab row, the button column and the margins.
    const int Inner = getTextWidth() + 4;
    DrawSkinTiled(Surface, x, y, _Width, getTextTop(), 7, 0, 0);
    DrawSkinTiled(Surface, x, y + getTextTop(), MARGIN, _Height - getTextTop(), 7, 0, getTextTop());
    DrawSkinTiled(Surface, x + MARGIN + Inner, y + getTextTop(), _Width - MARGIN - Inner, _Height - getTextTop(), 7,
                  MARGIN + Inner, getTextTop());
    const int Gap = getTextTop() + getTextHeight();
    DrawSkinTiled(Surface, x + MARGIN, y + Gap, Inner, _Height - Gap, 7, MARGIN, Gap);
    // The tabs in view; the arrows come and go as the tabs need them.
    if (ArrowsShown != tabsOverflow()) layout();
    for (int i = getFirstShownTab(); i < FirstTab + getShownTabs(); ++i) {
        const ConsoleTab& T = GetTab(i);
        const int tx = x + MARGIN + (i - FirstTab) * TAB_PITCH;
        const bool Selected = i == GetSelectedTab();
        const int Shade = Selected ? 70 : 40;
        FillRect(Surface, tx, y + 2, TAB_WIDTH, TAB_HEIGHT - 2, Shade, Shade, Shade + 10);
        const RGBColour C = T.Highlight  ? RGBColour{240, 80, 80}
                            : Selected   ? RGBColour{240, 240, 240}
                                         : RGBColour{170, 170, 170};
        const std::string Shown = ShortenCaption(T.Caption.c_str(), TAB_WIDTH - 8);
        DrawText(Surface, tx + TAB_WIDTH / 2, y + 4, CONSOLE_FONT, C.Red, C.Green, C.Blue, Shown.c_str(), CENTER_ALIGN);
    }
    // The ignore indicator: a red mark at the right of the tab row.
    if (IsIgnoreIndicatorLit()) {
        FillRect(Surface, x + _Width - MARGIN - 12, y + 5, 10, 10, 200, 40, 40);
        FillRect(Surface, x + _Width - MARGIN - 10, y + 9, 6, 2, 255, 255, 255);
    }
    // The text, newest line at the bottom.
    const int Top = getTextTop();
    FillRect(Surface, x + MARGIN, y + Top, getTextWidth() + 4, getTextHeight(), TEXT_BACKGROUND.Red,
             TEXT_BACKGROUND.Green, TEXT_BACKGROUND.Blue);
    const TextBuffer* B = shownBuffer();
    const int Count = B->getDisplayLines();
    int FromLine = 0, FromChar = 0, ToLine = -1, ToChar = 0;
    selectionRange(FromLine, FromChar, ToLine, ToChar);
    for (int n = Count - 1; n >= 0; --n) {
        const int LineY = lineTop(n, Count);
        if (LineY < Top) break;
        const DisplayLine& D = B->getDisplayLine(n);
        const char* Piece = B->getLine(D._Line).Text + D._OriginalOffset;
        const int Left = x + MARGIN + 2 + D._Indent;
        if (n >= FromLine && n <= ToLine) {
            const int a = n == FromLine ? FromChar : 0, b = n == ToLine ? ToChar : D._LineLength;
            const int ax = GetTextWidth(CONSOLE_FONT, Piece, a), bx = GetTextWidth(CONSOLE_FONT, Piece, b);
            if (bx > ax)
                FillRect(Surface, Left + ax, y + LineY, bx - ax, GetFontLineHeight(CONSOLE_FONT), SELECTION.Red,
                         SELECTION.Green, SELECTION.Blue);
        }
        const RGBColour C = GetTalkColour(In(D.Mode, 1, 25) ? D.Mode : TALK_INFO_MESSAGE);
        DrawText(Surface, Left, y + LineY, CONSOLE_FONT, C.Red, C.Green, C.Blue, Piece, D._LineLength, LEFT_ALIGN);
    }
    // The input line with its cursor; a long line shows its end.
    const int InputY = y + _Height - MARGIN - INPUT_HEIGHT;
    // The input line runs under the text, up to the talk-mode buttons.
    for (int i = 0; i < 3; ++i) ModeButtons[i]->setOn(TALK_SAY + i == GetDefaultTalkMode());
    FillRect(Surface, x + MARGIN, InputY, inputWidth(), INPUT_HEIGHT, 12, 12, 16);
    const std::string& Typed = Input.getText();
    const int Cursor = Input.getCursor();
    const int Room = inputWidth() - 8;
    int First = 0;
    while (First < Cursor && GetTextWidth(CONSOLE_FONT, Typed.c_str() + First, Cursor - First) > Room) ++First;
    const int TextY = InputY + (INPUT_HEIGHT - GetFontHeight(CONSOLE_FONT)) / 2;
    DrawText(Surface, x + MARGIN + 4, TextY, CONSOLE_FONT, 230, 230, 230, Typed.c_str() + First,
             int(Typed.size()) - First, LEFT_ALIGN);
    const int CursorX = x + MARGIN + 4 + GetTextWidth(CONSOLE_FONT, Typed.c_str() + First, Cursor - First);
    FillRect(Surface, CursorX, TextY, 1, GetFontHeight(CONSOLE_FONT), 230, 230, 230);
    CompositeComponent::drawChildren(Surface, x, y);
}

// ---- Selecting and copying text ----

TextBuffer* ConsoleWindow::shownBuffer() const {
    TextBuffer* B = GetTab(GetSelectedTab()).Buffer;
    B->wrap(getTextWidth(), CONSOLE_FONT, GetTimeStamps());
    return B;
}

bool ConsoleWindow::pointToText(int lx, int ly, int& Line, int& Char) const {
    const TextBuffer* B = shownBuffer();
    const int Count = B->getDisplayLines();
    if (Count == 0) return false;
    Line = 0;
    for (int n = Count - 1; n >= 0; --n)
        if (ly >= lineTop(n, Count)) {
            Line = n;
            break;
        }
    const DisplayLine& D = B->getDisplayLine(Line);
    const int Offset = lx - MARGIN - 2 - D._Indent;
    if (Offset <= 0) {
        Char = 0;
        return true;
    }
    // The character under the pointer counts from its left edge.
    const char* Piece = B->getLine(D._Line).Text + D._OriginalOffset;
    Char = 0;
    while (Char < D._LineLength && GetTextWidth(CONSOLE_FONT, Piece, Char + 1) <= Offset) ++Char;
    return true;
}

ConsoleWindow::TextPlace ConsoleWindow::placeOf(const TextBuffer* B, int Line, int Char) const {
    const DisplayLine& D = B->getDisplayLine(Line);
    return TextPlace{B->getLine(D._Line).Serial, D._OriginalOffset + Char};
}

bool ConsoleWindow::displayPosition(const TextBuffer* B, const TextPlace& Place, int& Line, int& Char) const {
    const int Text = Place.Serial != 0 ? B->findSerial(Place.Serial) : -1;
    const int Count = B->getDisplayLines();
    if (Text < 0 || Count == 0) return false;
    Line = B->firstDisplayLineOf(Text);
    if (Line >= Count || B->getDisplayLine(Line)._Line != Text) {
        // A line with nothing to show: the place before the next one.
        Char = 0;
        if (Line < Count) return true;
        Line = Count - 1;
        Char = B->getDisplayLine(Line)._LineLength;
        return true;
    }
    // The last piece that starts at or before the place; a blank that the
    // wrap skipped belongs to the end of the piece before it.
    while (Line + 1 < Count && B->getDisplayLine(Line + 1)._Line == Text &&
           B->getDisplayLine(Line + 1)._OriginalOffset <= Place.Offset)
        ++Line;
    const DisplayLine& D = B->getDisplayLine(Line);
    Char = std::clamp(Place.Offset - D._OriginalOffset, 0, D._LineLength);
    return true;
}

void ConsoleWindow::selectionRange(int& FromLine, int& FromChar, int& ToLine, int& ToChar) const {
    ToLine = -1;
    const TextBuffer* B = shownBuffer();
    int StartLine = 0, StartChar = 0, EndLine = 0, EndChar = 0;
    if (!displayPosition(B, SelectionStart, StartLine, StartChar) || !displayPosition(B, SelectionEnd, EndLine, EndChar))
        return;
    const bool Forward = StartLine < EndLine || (StartLine == EndLine && StartChar <= EndChar);
    FromLine = Forward ? StartLine : EndLine;
    FromChar = Forward ? StartChar : EndChar;
    ToLine = Forward ? EndLine : StartLine;
    ToChar = Forward ? EndChar : StartChar;
}

std::string ConsoleWindow::getSelectedText() const {
    int FromLine = 0, FromChar = 0, ToLine = -1, ToChar = 0;
    selectionRange(FromLine, FromChar, ToLine, ToChar);
    std::string Out;
    const TextBuffer* B = shownBuffer();
    for (int n = FromLine; n <= ToLine && n < B->getDisplayLines(); ++n) {
        const DisplayLine& D = B->getDisplayLine(n);
        const int a = n == FromLine ? FromChar : 0, b = n == ToLine ? ToChar : D._LineLength;
        if (n > FromLine) Out += '\n';
        if (b > a) Out.append(B->getLine(D._Line).Text + D._OriginalOffset + a, size_t(b - a));
    }
    return Out;
}

bool ConsoleWindow::leftButtonDown(int x, int y, int keys) {
    // A click on a tab shows it.
    const int Tab = tabAt(x, y);
    if (Tab >= 0) {
        showTab(Tab);
        return true;
    }
    if (CompositeComponent::leftButtonDown(x, y, keys)) return true;
    if (y < TAB_HEIGHT) return true;
    int Line = 0, Char = 0;
    clearSelection();
    if (y >= getTextTop() && y < getTextTop() + getTextHeight() && pointToText(x, y, Line, Char)) {
        SelectionStart = SelectionEnd = placeOf(shownBuffer(), Line, Char);
        Selecting = true;
        takeCapture();
    }
    return true;
}

bool ConsoleWindow::leftDoubleClick(int x, int y, int keys) {
    // In the request tab a double click takes the request under the pointer.
    int Line = 0, Char = 0;
    const ConsoleTab& Tab = GetTab(GetSelectedTab());
    if (Tab.Kind != CHANNEL_REQUESTS || y < getTextTop() || y >= getTextTop() + getTextHeight() ||
        !pointToText(x, y, Line, Char))
        return CompositeComponent::leftDoubleClick(x, y, keys);
    clearSelection();
    const std::string Name = Tab.Buffer->getLine(Tab.Buffer->getDisplayLine(Line)._Line).Speaker;
    ProcessRequest(Name.c_str());
    return true;
}

bool ConsoleWindow::mouseMove(int x, int y) {
    if (!Selecting) return CompositeComponent::mouseMove(x, y);
    int Line = 0, Char = 0;
    if (pointToText(x, std::clamp(y, getTextTop(), getTextTop() + getTextHeight() - 1), Line, Char))
        SelectionEnd = placeOf(shownBuffer(), Line, Char);
    return true;
}

bool ConsoleWindow::leftButtonUp(int x, int y, int keys) {
    if (!Selecting) return CompositeComponent::leftButtonUp(x, y, keys);
    mouseMove(x, y);
    Selecting = false;
    dropCapture();
    return true;
}

bool ConsoleWindow::rightButtonUp(int x, int y, int keys) {
    const int TabNumber = tabAt(x, y);
    if (TabNumber >= 0) {
        showTab(TabNumber);
        PostConsoleChannelMenu(GetTab(TabNumber).Buffer);
        return true;
    }
    if (CompositeComponent::rightButtonUp(x, y, keys)) return true;
    if (y < TAB_HEIGHT) return true;
    const ConsoleTab& Tab = GetTab(GetSelectedTab());
    const TextBuffer* B = Tab.Buffer;
    int Line = 0, Char = 0;
    const bool OnLine = y >= getTextTop() && y < getTextTop() + getTextHeight() && pointToText(x, y, Line, Char) &&
                        y >= lineTop(0, B->getDisplayLines());
    const TextLine* L = OnLine ? &B->getLine(B->getDisplayLine(Line)._Line) : NULL;
    // The text after the time stamp and the speaker's "Name: ".
    std::string Message;
    if (L != NULL) {
        Message.assign(L->Text + L->TextStart, size_t(std::max(L->Length - L->TextStart, 0)));
        const std::string Prefix = std::string(L->Speaker) + ": ";
        if (L->Speaker[0] != 0 && Message.compare(0, Prefix.size(), Prefix) == 0) Message.erase(0, Prefix.size());
    }
    if (Tab.Kind == CHANNEL_REQUESTS) {
        if (L != NULL && L->Speaker[0] != 0) PostReportChannelMenu(ReportRecord{L->Speaker, Message});
        return true;
    }
    ConsoleTextRecord R;
    R.Window = this;
    R.HasLine = L != NULL;
    if (L != NULL) {
        R.Speaker = L->Speaker;
        R.Message = Message;
    }
    R.InOwnChannel = B->getKind() == BufferKind::Channel && GetOwnChannel() != -1 &&
                     B->getChannelID() == GetOwnChannel();
    R.Selected = getSelectedText();
    PostConsoleTextMenu(R);
    return true;
}

void ConsoleWindow::selectAll() {
    const TextBuffer* B = shownBuffer();
    const int Count = B->getDisplayLines();
    clearSelection();
    if (Count == 0) return;
    SelectionStart = placeOf(B, 0, 0);
    SelectionEnd = placeOf(B, Count - 1, B->getDisplayLine(Count - 1)._LineLength);
    SetConsoleChanged();
}

void ConsoleWindow::cancelCapture() {
    Selecting = false;
    CompositeComponent::cancelCapture();
}

// ---- Keys ----

void ConsoleWindow::keyPress(int code) {
    if (Input.hotkey(code)) return;
    if (const int TabCommand = TabKeyCommand(code)) {
        command(TabCommand);
        return;
    }
    switch (code) {
    case keys::CTRL | 'c':
    case keys::CTRL | 'C':
    case keys::CTRL | keys::INSERT: {
        const std::string Selected = getSelectedText();
        platform::SetClipboardText(Selected.empty() ? Input.getText() : Selected);
        return;
    }
    default: Input.keyPress(code); return;
    }
}

void ConsoleWindow::command(int number) {
    const int Before = GetSelectedTab();
    ConsoleCommand(number);
    // Another tab's text: what was selected in the old one is not in it.
    if (GetSelectedTab() != Before) clearSelection();
    for (int i = 0; i < 3; ++i) ModeButtons[i]->setOn(TALK_SAY + i == GetDefaultTalkMode());
}

std::string ShortenCaption(const char* Caption, int Width) {
    std::string Shown = Caption != NULL ? Caption : "";
    while (!Shown.empty() && GetTextWidth(CONSOLE_FONT, Shown.c_str()) > Width) Shown.pop_back();
    return Shown;
}
