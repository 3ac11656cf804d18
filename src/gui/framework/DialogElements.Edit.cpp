// Text input: EditField, PasswordField, TextField, FocusGroup.
#include "gui/framework/DialogElements.h"

#include "core/Redraw.h"
#include "core/Status.h"
#include "core/sysinc.h"
#include "graphics/graphics.h"
#include "gui/framework/Skins.h"
#include "platform/Platform.h"
#include "platform/Recording.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {
// The text cursor is shown for half a second and hidden for half a second;
// the picture changes at the next half second.
constexpr uint32_t CURSOR_BLINK_MILLISECONDS = 500;
void RequestCursorBlink() {
    const uint32_t now = platform::Milliseconds();
    RequestRedrawAt(now - now % CURSOR_BLINK_MILLISECONDS + CURSOR_BLINK_MILLISECONDS);
}
}  // namespace

// ==== FocusGroup ================================================================================

void FocusGroup::addMember(EditField* Member) {
    ASSERT(Member!=NULL);
    if (Member == NULL) return;
    const auto& members = this->MemberList;
    auto MemberList = [&members](size_t i) { return members[i]; };
    for (size_t i = 0; i < members.size(); ++i) {
        ASSERT(MemberList(i) != Member);
        if (MemberList(i) == Member) return;
    }
    this->MemberList.push_back(Member);
    Member->setFocusGroup(this);
}

void FocusGroup::removeMember(EditField* Member) {
    MemberList.erase(std::remove(MemberList.begin(), MemberList.end(), Member), MemberList.end());
    if (Active == Member) Active = NULL;
}

FocusGroup::~FocusGroup() {
    for (EditField* f : MemberList) f->setFocusGroup(NULL);
}

void FocusGroup::setActive(EditField* Member) {
    if (Active != NULL && Active != Member) {
        Active->setFocused(false);
        Active->setSelection(-1, 0);
    }
    Active = Member;
    if (Active != NULL) Active->setFocused(true);
}

void FocusGroup::next() {
    ASSERT(Active!=NULL);
    if (Active == NULL) return;
    int Next = -1;
    const int n = int(MemberList.size());
    for (int i = 0; i < n; ++i)
        if (MemberList[size_t(i)] == Active) Next = (i + 1) % n;
    ASSERT(Next != -1);
    if (Next == -1) return;
    setActive(MemberList[size_t(Next)]);
}

void FocusGroup::previous() {
    ASSERT(Active!=NULL);
    if (Active == NULL) return;
    int Next = -1;
    const int n = int(MemberList.size());
    for (int i = 0; i < n; ++i)
        if (MemberList[size_t(i)] == Active) Next = (i + n - 1) % n;
    ASSERT(Next != -1);
    if (Next == -1) return;
    setActive(MemberList[size_t(Next)]);
}

// ==== EditField: content ================================================================================

EditField::EditField(int MaxLength) : CompositeComponent(4), Text(size_t(std::max(MaxLength, 0)) + 1, '\0'), MaxLength(std::max(MaxLength, 0)) {
    ASSERT(MaxLength>=0);
    const auto& P = SkinProperties().EditField;
    Font = P.Font;
    TextColour = P.Text;
    Background = P.Background;
    Component::setSize(P.DefaultWidth, GetFontHeight(Font) + 2 * P.Margin + 2 * P.Border);
}

namespace {
// The password field that has the keyboard: what is typed into it is kept
// out of recordings of the game.
const EditField* SecretOwner = NULL;
// The field whose context menu was last asked for; forgotten when it goes.
EditField* MenuField = NULL;
}  // namespace

EditField* EditFieldOfMenu(intptr_t Data) {
    return Data != 0 && reinterpret_cast<EditField*>(Data) == MenuField ? MenuField : NULL;
}

EditField::~EditField() {
    if (_FocusGroup != NULL) _FocusGroup->removeMember(this);
    if (MenuField == this) MenuField = NULL;
    if (SecretOwner == this) {
        SecretOwner = NULL;
        platform::SetSecretInput(false);
    }
}

int EditField::getLength() const { return int(strlen(Text.data())); }

void EditField::setText(const char* _Text) {
    ASSERT(_Text!=NULL);
    if (_Text == NULL) return;
    size_t n = std::min(strlen(_Text), size_t(MaxLength));
    std::memcpy(Text.data(), _Text, n);
    Text[n] = '\0';
    Cursor = int(n);
    FirstVisible = 0;
    SelectionStart = -1;
    SelectionLength = 0;
    arrange();
}

void EditField::clear() { setText(""); }

void EditField::deleteChars(int Position, int Count) {
    int length = getLength();
    ASSERT(Position>=0 && Position<=length);
    if (Position < 0 || Position > length || Count <= 0) return;
    Count = std::min(Count, length - Position);
    std::memmove(Text.data() + Position, Text.data() + Position + Count, size_t(length - Position - Count + 1));
    if (Cursor > Position) Cursor = std::max(Position, Cursor - Count);
    FirstVisible = std::min(FirstVisible, getLength());
    arrange();
}

void EditField::deleteChar(int Position) { deleteChars(Position, 1); }

int EditField::insert(int Position, const char* Insertion, int Length) {
    ASSERT(Insertion!=NULL);
    if (Insertion == NULL) return 0;
    char* const Buffer = this->Text.data();
    const char* Text = Buffer;
    ASSERT(Position <= (int)strlen(Text));
    const int textLength = int(strlen(Text));
    if (Position < 0 || Position > textLength) return 0;
    int insertlength = Length < 0 ? int(strlen(Insertion)) : int(strnlen(Insertion, size_t(Length)));
    int appendlength = textLength - Position;
    if (textLength + insertlength > MaxLength) {
        // What goes in comes first; the text behind it is cut to the rest.
        const int Cursor = Position;
        insertlength = std::min(insertlength, MaxLength - Cursor);
        appendlength = std::min(appendlength, MaxLength - Cursor - insertlength);
        ASSERT(Cursor+insertlength+appendlength<=MaxLength);
    }
    std::memmove(Buffer + Position + insertlength, Buffer + Position, size_t(appendlength));
    std::memcpy(Buffer + Position, Insertion, size_t(insertlength));
    Buffer[Position + insertlength + appendlength] = '\0';
    Cursor = std::clamp(Cursor, 0, getLength());
    SelectionLength = 0;
    arrange();
    return insertlength;
}

void EditField::insertChar(int Position, char Character) {
    const char* Text = this->Text.data();
    ASSERT(Position<=(int)strlen(Text));
    if (Position < 0 || Position > getLength()) return;
    char s[2] = {Character, '\0'};
    insert(Position, s, 1);
}

bool EditField::isReadOnly() const { return ReadOnly; }
void EditField::setInactive(bool Inactive) { this->Inactive = Inactive; }
bool EditField::isInactive() const { return Inactive; }

void EditField::setColours(int Font, SkinColour Text, SkinColour Background) {
    this->Font = Font;
    TextColour = Text;
    this->Background = Background;
}

void EditField::setCursor(int Position) {
    Cursor = std::clamp(Position, 0, getLength());
    SelectionLength = 0;
}

void EditField::setFocused(bool Focused) {
    this->Focused = Focused;
    const PasswordField* Masked = dynamic_cast<PasswordField*>(this);
    if (Focused && Masked != NULL && Masked->isSecret()) {
        SecretOwner = this;
        platform::SetSecretInput(true);
    } else if (!Focused && SecretOwner == this) {
        SecretOwner = NULL;
        platform::SetSecretInput(false);
    }
}

void EditField::joinFocusGroup() {
    ASSERT(_FocusGroup!=NULL);
    if (_FocusGroup != NULL) _FocusGroup->setActive(this);
}

void EditField::setSelection(int Start, int Length) {
    int length = getLength();
    if (Start < 0) {
        SelectionStart = -1;
        SelectionLength = 0;
        return;
    }
    SelectionStart = std::min(Start, length);
    SelectionLength = std::clamp(SelectionStart + Length, 0, length) - SelectionStart;
}

void EditField::selectionRange(int& From, int& To) const {
    if (!hasSelection()) {
        From = To = std::clamp(Cursor, 0, getLength());
        return;
    }
    From = std::clamp(std::min(SelectionStart, SelectionStart + SelectionLength), 0, getLength());
    To = std::clamp(std::max(SelectionStart, SelectionStart + SelectionLength), 0, getLength());
}

void EditField::deleteSelection() {
    if (!hasSelection()) return;
    int from, to;
    selectionRange(from, to);
    deleteChars(from, to - from);
    Cursor = from;
    SelectionStart = -1;
    SelectionLength = 0;
}

void EditField::copySelection() {
    if (!hasSelection()) return;
    int from, to;
    selectionRange(from, to);
    CopyChecked(Text.data() + from, to - from);
}

// ==== EditField: commands and keys ==========================================================================

void EditField::command(int number) {
    switch (number) {
    case EDIT_COPY: copySelection(); break;
    case EDIT_CUT:
        if (isReadOnly() || !hasSelection()) return;
        copySelection();
        deleteSelection();
        break;
    case EDIT_PASTE: {
        if (isReadOnly()) return;
        const char* clip = GetClipboardText();
        if (clip == NULL || clip[0] == '\0') return;
        std::string text(clip);
        if (SingleLinePaste) text = text.substr(0, text.find('\n'));
        deleteSelection();
        int at = Cursor;
        int inserted = insert(at, text.c_str(), int(text.size()));
        Cursor = at + inserted;
        break;
    }
    case EDIT_DELETE:
        if (isReadOnly() || !hasSelection()) return;
        deleteSelection();
        break;
    case EDIT_SELECT_ALL:
        SelectionStart = 0;
        SelectionLength = getLength();
        Cursor = getLength();
        break;
    default: ASSERT(false); break;
    }
}

void EditField::keyPress(int code) {
    if (code == keys::TAB || code == (keys::TAB | keys::SHIFT)) {
        if (_FocusGroup != NULL && _FocusGroup->Active != NULL) {
            if (code == keys::TAB)
                _FocusGroup->next();
            else
                _FocusGroup->previous();
        }
        return;
    }
    if (Inactive) return;
    switch (code) {
    case keys::LEFT: setCursor(Cursor - 1); return;
    case keys::RIGHT: setCursor(Cursor + 1); return;
    case keys::HOME: setCursor(0); return;
    case keys::END: setCursor(getLength()); return;
    case keys::CTRL | keys::INSERT:
    case keys::CTRL | 'c': command(EDIT_COPY); return;
    case keys::SHIFT | keys::INSERT:
    case keys::CTRL | 'v': command(EDIT_PASTE); return;
    case keys::SHIFT | keys::DELETE:
    case keys::CTRL | 'x': command(EDIT_CUT); return;
    case keys::CTRL | keys::DELETE: command(EDIT_DELETE); return;
    case keys::CTRL | 'a': command(EDIT_SELECT_ALL); return;
    case keys::BACKSPACE:
        if (isReadOnly()) return;
        if (hasSelection()) {
            deleteSelection();
        } else if (Cursor > 0) {
            --Cursor;
            deleteChar(Cursor);
        }
        return;
    case keys::DELETE:
        if (isReadOnly()) return;
        if (hasSelection())
            deleteSelection();
        else if (Cursor < getLength())
            deleteChar(Cursor);
        return;
    default: break;
    }
    if (isReadOnly()) return;
    bool ctrlWithoutAlt = (code & keys::CTRL) != 0 && (code & keys::ALT) == 0;
    if ((code & 0xFF) < 32 && (code & keys::EXTENDED) == 0) return;
    if ((code & keys::EXTENDED) != 0 || ctrlWithoutAlt) return;
    if (getLength() >= MaxLength) return;
    deleteSelection();
    insertChar(Cursor, char(code & 0xFF));
    Cursor = std::min(Cursor + 1, getLength());
    SelectionStart = -1;
}

// ==== EditField: mouse ==========================================================================================

int EditField::positionFromPoint(int x, int y) const {
    const int margin = SkinProperties().EditField.Margin;
    if (x < margin || y < margin) return FirstVisible;
    if (x >= _Width || y >= _Height) return getLength();
    const char* shown = displayText();
    int first = std::min(FirstVisible, int(strlen(shown)));
    return first + GetFittingCharacters(Font, shown + first, x - margin);
}

bool EditField::leftButtonDown(int x, int y, int keys) {
    if (CompositeComponent::leftButtonDown(x, y, keys)) return true;
    if (Inactive) return true;
    if (_FocusGroup != NULL)
        _FocusGroup->setActive(this);
    Focused = true;
    int position = positionFromPoint(x, y);
    SelectionStart = position;
    Cursor = position;
    SelectionLength = 0;
    Selecting = true;
    takeCapture();
    return true;
}

bool EditField::mouseMove(int x, int y) {
    if (Capture != NULL || !Selecting) return CompositeComponent::mouseMove(x, y) || true;
    int position = positionFromPoint(x, y);
    setSelection(SelectionStart, position - SelectionStart);
    Cursor = std::clamp(position, 0, getLength());
    return true;
}

bool EditField::leftButtonUp(int x, int y, int keys) {
    if (Capture != NULL || !Selecting) return CompositeComponent::leftButtonUp(x, y, keys) || true;
    Selecting = false;
    dropCapture();
    return true;
}

bool EditField::leftDoubleClick(int x, int y, int keys) {
    if (CompositeComponent::leftDoubleClick(x, y, keys)) return true;
    if (Inactive) return true;
    const char* text = Text.data();
    int position = std::min(positionFromPoint(x, y), getLength());
    int from = position, to = position;
    while (from > 0 && !std::isspace(static_cast<unsigned char>(text[from - 1]))) --from;
    while (text[to] != '\0' && !std::isspace(static_cast<unsigned char>(text[to]))) ++to;
    SelectionStart = from;
    SelectionLength = to - from;
    Cursor = to;
    return true;
}

bool EditField::rightButtonUp(int x, int y, int keys) {
    if (CompositeComponent::rightButtonUp(x, y, keys)) return true;
    if (!Inactive && GetModalWindow() == NULL) {
        MenuField = this;
        PostEvent(MESSAGE_EDITFIELD_MENU, reinterpret_cast<intptr_t>(this), 0);
    }
    return true;
}

void EditField::cancelCapture() {
    Selecting = false;
    CompositeComponent::cancelCapture();
}

// ==== EditField: drawing =========================================================================================

void EditField::drawFrame(int Surface, int x, int y) const {
    const SkinColour& back = Inactive ? SkinProperties().EditField.InactiveBackground : Background;
    FillRect(Surface, x, y, _Width, _Height, back.Red, back.Green, back.Blue);
    drawDrawingList(Surface, x, y);
}

void EditField::scrollToCursor() {
    const int margin = SkinProperties().EditField.Margin;
    const char* shown = displayText();
    Cursor = std::clamp(Cursor, 0, int(strlen(shown)));
    if (FirstVisible > Cursor) FirstVisible = Cursor;
    while (FirstVisible < Cursor && GetTextWidth(Font, shown + FirstVisible, Cursor - FirstVisible) > _Width - 2 * margin)
        ++FirstVisible;
}

void EditField::draw(int Surface, int x, int y) {
    const auto& P = SkinProperties().EditField;
    // The frame follows the size.
    const int W = _Width, H = _Height;
    setEdgeEntries(0, P.Top, P.Left, P.Bottom, P.Right);
    drawFrame(Surface, x, y);
    if (Inactive) return;
    scrollToCursor();
    const char* shown = displayText();
    const int margin = P.Margin;
    const ClipRect clip{x + margin, y + P.Border, std::max(W - 2 * margin, 0), std::max(H - 2 * P.Border, 0)};
    const int ty = y + (H - GetFontHeight(Font)) / 2;
    if (hasSelection()) {
        int from, to;
        selectionRange(from, to);
        from = std::max(from, FirstVisible);
        if (to > from) {
            int sx = x + margin + GetTextWidth(Font, shown + FirstVisible, from - FirstVisible);
            int sw = GetTextWidth(Font, shown + from, to - from);
            FillRectClipped(Surface, sx, ty, sw, GetFontHeight(Font), P.Selection.Red, P.Selection.Green,
                            P.Selection.Blue, clip);
        }
    }
    DrawTextClipped(Surface, x + margin, ty, Font, TextColour.Red, TextColour.Green, TextColour.Blue,
                    shown + FirstVisible, LEFT_ALIGN, clip);
    if (Focused) RequestCursorBlink();
    if (Focused && (platform::Milliseconds() / 100 / 5) % 2 == 0) {
        int cx = x + margin + GetTextWidth(Font, shown + FirstVisible, Cursor - FirstVisible);
        FillRectClipped(Surface, cx, ty, P.CursorWidth, GetFontHeight(Font), P.Cursor.Red, P.Cursor.Green,
                        P.Cursor.Blue, clip);
    }
    drawChildren(Surface, x, y);
}

// ==== PasswordField ================================================================================================

PasswordField::PasswordField(int MaxLength) : EditField(MaxLength) {}

const char* PasswordField::displayText() const {
    Stars.assign(strlen(Text.data()) + 1, '*');
    Stars.back() = '\0';
    return Stars.data();
}

void PasswordField::command(int number) {
    // A password never leaves the field.
    if (number == EDIT_PASTE) EditField::command(number);
}

// ==== TextField ==================================================================================================

TextField::TextField(int MaxLength, bool ReadOnly) : EditField(MaxLength) {
    this->ReadOnly = ReadOnly;
    SingleLinePaste = false;
    ScrollBar = new VerticalScrollBar(CommandTarget(this, 1));
    addChild(ScrollBar);
    setSize(SkinProperties().TextField.DefaultWidth, SkinProperties().TextField.DefaultHeight);
}

bool TextField::isReadOnly() const { return ReadOnly; }

void TextField::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    const int thickness = SkinProperties().ScrollBar.Thickness, border = SkinProperties().EditField.Border;
    ScrollBar->setPosition(std::max(_Width - thickness - border, 0), border);
    ScrollBar->setSize(thickness, std::max(_Height - 2 * border, 0));
    arrange();
}

int TextField::visibleLines() const {
    int lineHeight = GetFontLineHeight(Font);
    return lineHeight > 0 ? std::max((_Height - 2 * SkinProperties().EditField.Margin) / lineHeight, 1) : 1;
}

std::vector<std::pair<int, int>> TextField::BreakLines(const char* Text, int Font, int FieldWidth) {
    ASSERT(FieldWidth>0);
    std::vector<std::pair<int, int>> lines;
    if (Text == NULL) return lines;
    FieldWidth = std::max(FieldWidth, 1);
    int start = 0;
    const int length = int(strlen(Text));
    while (true) {
        int i = start, lastBreak = -1;
        int end = -1, next = -1;
        while (true) {
            if (i >= length) {
                end = next = length;
                break;
            }
            if (Text[i] == '\n') {
                end = i;
                next = i + 1;
                break;
            }
            if (GetTextWidth(Font, Text + start, i - start + 1) > FieldWidth) {
                if (lastBreak >= 0)
                    end = next = lastBreak + 1;
                else
                    end = next = std::max(i, start + 1);  // at least one character per line
                break;
            }
            if (!std::isalnum(static_cast<unsigned char>(Text[i])) && static_cast<unsigned char>(Text[i]) < 192)
                lastBreak = i;
            ++i;
        }
        lines.emplace_back(start, end - start);
        if (end == length) break;
        if (next >= length) {
            // A text ending in "\n" has an empty last line for the cursor.
            lines.emplace_back(length, 0);
            break;
        }
        start = next;
    }
    return lines;
}

std::string TextField::getLine(int n) const {
    if (!In(n, 0, int(LineStarts.size()) - 1)) return "";
    return std::string(Text.data() + LineStarts[size_t(n)].first, size_t(LineStarts[size_t(n)].second));
}

void TextField::arrange() {
    const auto& P = SkinProperties().EditField;
    const int margin = P.Margin;
    FieldWidth = std::max(_Width - 2 * margin - SkinProperties().ScrollBar.Thickness - P.Border, 1);
    LineStarts = BreakLines(Text.data(), Font, FieldWidth);
    int lines = int(LineStarts.size()), visible = visibleLines();
    int top = ScrollBar->getValue();
    if (lines > visible)
        ScrollBar->setRange(0, lines - visible, std::min(top, lines - visible), visible);
    else
        ScrollBar->setRange(0, 0, 0, 1);
}

int TextField::positionFromPoint(int x, int y) const {
    const int margin = SkinProperties().EditField.Margin;
    if (LineStarts.empty()) return 0;
    int lineHeight = std::max(GetFontLineHeight(Font), 1);
    int line = ScrollBar->getValue() + std::max(y - margin, 0) / lineHeight;
    if (line >= int(LineStarts.size())) return getLength();
    const auto& l = LineStarts[size_t(line)];
    std::string text(Text.data() + l.first, size_t(l.second));
    return l.first + std::min(GetFittingCharacters(Font, text.c_str(), std::max(x - margin, 0)), l.second);
}

bool TextField::leftButtonDown(int x, int y, int keys) {
    if (ReadOnly) return CompositeComponent::leftButtonDown(x, y, keys) || true;
    return EditField::leftButtonDown(x, y, keys);
}

void TextField::command(int number) {
    if (number == 1) return;  // the scroll bar moved; drawing reads its value
    EditField::command(number);
}

void TextField::draw(int Surface, int x, int y) {
    const auto& P = SkinProperties().EditField;
    const int H = _Height;
    setEdgeEntries(0, P.Top, P.Left, P.Bottom, P.Right);
    drawFrame(Surface, x, y);
    if (!Inactive) {
        const int margin = P.Margin, lineHeight = GetFontLineHeight(Font);
        const ClipRect clip{x + margin, y + P.Border, FieldWidth, std::max(H - 2 * P.Border, 0)};
        int top = ScrollBar->getValue(), visible = visibleLines();
        int from, to;
        selectionRange(from, to);
        for (int i = top; i < int(LineStarts.size()) && i < top + visible; ++i) {
            const auto& l = LineStarts[size_t(i)];
            int ly = y + margin + (i - top) * lineHeight;
            int selFrom = std::clamp(from, l.first, l.first + l.second), selTo = std::clamp(to, l.first, l.first + l.second);
            if (hasSelection() && selTo > selFrom) {
                int sx = x + margin + GetTextWidth(Font, Text.data() + l.first, selFrom - l.first);
                FillRectClipped(Surface, sx, ly, GetTextWidth(Font, Text.data() + selFrom, selTo - selFrom),
                                GetFontHeight(Font), P.Selection.Red, P.Selection.Green, P.Selection.Blue, clip);
            }
            DrawTextClipped(Surface, x + margin, ly, Font, TextColour.Red, TextColour.Green, TextColour.Blue,
                            Text.data() + l.first, l.second, LEFT_ALIGN, clip);
            bool cursorHere = Cursor >= l.first && Cursor <= l.first + l.second &&
                              (i + 1 >= int(LineStarts.size()) || Cursor < LineStarts[size_t(i + 1)].first);
            if (Focused && !ReadOnly && cursorHere) RequestCursorBlink();
            if (Focused && !ReadOnly && cursorHere && (platform::Milliseconds() / 100 / 5) % 2 == 0) {
                int cx = x + margin + GetTextWidth(Font, Text.data() + l.first, Cursor - l.first);
                FillRectClipped(Surface, cx, ly, P.CursorWidth, GetFontHeight(Font), P.Cursor.Red, P.Cursor.Green,
                                P.Cursor.Blue, clip);
            }
        }
    }
    drawChildren(Surface, x, y);
}
