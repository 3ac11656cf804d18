// Ranges and lists: Slider, HorizontalScrollBar, VerticalScrollBar, ListBox.
#include "gui/framework/DialogElements.h"

#include "core/Utils.h"
#include "graphics/graphics.h"
#include "gui/framework/Skins.h"

#include <algorithm>
#include <cstring>

// ==== Slider ====================================================================================

Slider::Slider(int _Min, int _Max, int _Value, int Page, CommandTarget Target, bool Vertical)
    : Component(4), _Min(_Min), _Max(_Max), _Value(_Value), Page(Page), Vertical(Vertical), Target(Target) {
    ASSERT(_Min<=_Max);
    if (this->_Max < this->_Min) this->_Max = this->_Min;
    ASSERT(In(_Value,_Min,_Max));
    this->_Value = std::clamp(this->_Value, this->_Min, this->_Max);
    Enabled = this->_Min != this->_Max;
    const auto& P = SkinProperties().ScrollBar;
    setSize(Vertical ? P.Thickness : P.DefaultLength, Vertical ? P.DefaultLength : P.Thickness);
}

void Slider::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    arrange();
}

void Slider::setRange(int _Min, int _Max, int _Value, int Page) {
    ASSERT(_Min<=_Max);
    this->_Min = _Min;
    this->_Max = std::max(_Max, _Min);
    this->_Value = std::clamp(_Value, this->_Min, this->_Max);
    this->Page = Page;
    Enabled = this->_Min != this->_Max;
    if (!Enabled && (Pressed || Dragging)) {
        Pressed = Dragging = false;
        dropCapture();
    }
    arrange();
}

void Slider::setValue(int Value) {
    Value = std::clamp(Value, _Min, _Max);
    if (Value == _Value) return;
    _Value = Value;
    arrange();
    Target.send();
}

void Slider::arrange() {
    const auto& P = SkinProperties().ScrollBar;
    setDrawingEntry(0, P.Track, 0, 0, _Width, _Height);
    const int track = trackLength();
    const int thickness = Vertical ? _Width : _Height;
    if (!Enabled || track <= 0 || thickness <= 0) {
        KnobLength = KnobPosition = 0;
        for (int i = 1; i < 4; ++i) setDrawingEntry(i, 0, 0, 0);
        return;
    }
    const int startLength = Vertical ? Skins[P.KnobStart].height : Skins[P.KnobStart].width;
    const int endLength = Vertical ? Skins[P.KnobEnd].height : Skins[P.KnobEnd].width;
    const int64_t whole = int64_t(_Max) + Page - _Min;
    int knob = (whole <= 0 || Page >= whole) ? track : int(int64_t(track) * std::max(Page, 0) / whole);
    knob = std::min(std::max(knob, startLength + endLength), track);
    int position = int(int64_t(_Value - _Min) * (track - knob) / (_Max - _Min));
    position = std::clamp(position, 0, std::max(track - knob, 0));
    KnobLength = knob;
    KnobPosition = position;
    const int middle = std::max(knob - startLength - endLength, 0);
    if (Vertical) {
        setDrawingEntry(1, P.KnobStart, 0, position, thickness, startLength);
        setDrawingEntry(2, middle > 0 ? P.KnobMiddle : 0, 0, position + startLength, thickness, middle);
        setDrawingEntry(3, P.KnobEnd, 0, position + knob - endLength, thickness, endLength);
    } else {
        setDrawingEntry(1, P.KnobStart, position, 0, startLength, thickness);
        setDrawingEntry(2, middle > 0 ? P.KnobMiddle : 0, position + startLength, 0, middle, thickness);
        setDrawingEntry(3, P.KnobEnd, position + knob - endLength, 0, endLength, thickness);
    }
}

bool Slider::leftButtonDown(int x, int y, int) {
    if (!Enabled) return true;
    const int p = Vertical ? y : x;
    Pressed = true;
    PressPosition = p;
    if (p >= KnobPosition && p < KnobPosition + KnobLength) {
        Dragging = true;
        Grab = p - KnobPosition;
    }
    takeCapture();
    return true;
}

bool Slider::mouseMove(int x, int y) {
    if (!Enabled || !Dragging) return true;
    const int p = Vertical ? y : x;
    const int64_t span = int64_t(trackLength()) - KnobLength + 1;
    int value = _Min + int(int64_t(p - Grab) * (int64_t(_Max) - _Min + 1) / std::max<int64_t>(span, 1));
    setValue(value);
    return true;
}

bool Slider::leftButtonUp(int x, int y, int) {
    if (!Enabled || !Pressed) return true;
    const bool dragged = Dragging;
    Pressed = Dragging = false;
    dropCapture();
    const int p = Vertical ? y : x, q = Vertical ? x : y;
    const int thickness = Vertical ? _Width : _Height;
    if (!dragged && p >= 0 && p < trackLength() && q >= 0 && q < thickness) clickBesideKnob(p);
    return true;
}

void Slider::clickBesideKnob(int Position) {
    // A page click keeps one line of the old page in view, so a page of one
    // line does not move; a page below that would step away from the click.
    const int step = PageClicks ? std::max(Page - 1, 0) : 1;
    if (Position < KnobPosition)
        setValue(_Value - step);
    else if (Position >= KnobPosition + KnobLength)
        setValue(_Value + step);
}

bool Slider::mouseRepeat(int x, int y, int code) {
    if (!Enabled) return true;
    if (code == REPEAT_WHEEL_AWAY)
        setValue(_Value - _ButtonRange);
    else if (code == REPEAT_WHEEL_TOWARDS)
        setValue(_Value + _ButtonRange);
    else if (code == REPEAT_LEFT_HELD && Pressed && !Dragging)
        clickBesideKnob(Vertical ? y : x);
    return true;
}

void Slider::keyPress(int code) {
    if (!Enabled) return;
    if (code == keys::LEFT) setValue(_Value - _ButtonRange);
    if (code == keys::RIGHT) setValue(_Value + _ButtonRange);
}

void Slider::cancelCapture() { Pressed = Dragging = false; }

// ==== Scroll bars ================================================================================

ScrollBar::ScrollBar(bool Vertical, CommandTarget Target) : Vertical(Vertical) {
    const auto& P = SkinProperties().ScrollBar;
    Less = new Button(Vertical ? P.UpArrowUp : P.LeftArrowUp, Vertical ? P.UpArrowDown : P.LeftArrowDown,
                      CommandTarget(this, Vertical ? 3 : 5));
    More = new Button(Vertical ? P.DownArrowUp : P.RightArrowUp, Vertical ? P.DownArrowDown : P.RightArrowDown,
                      CommandTarget(this, Vertical ? 4 : 6));
    Less->setRepeat(true);
    More->setRepeat(true);
    Knob = new Slider(0, 0, 0, 1, Target, Vertical);
    Knob->setPageClicks(true);
    addChild(Less);
    addChild(More);
    addChild(Knob);
}

void ScrollBar::setValue(int Value) {
    if (Knob->isDragging()) return;
    Knob->setValue(Value);
}

void ScrollBar::setRange(int Min, int Max, int Value, int Page) {
    if (Knob->isDragging() && Min == Knob->getMin() && Max == Knob->getMax()) return;
    Knob->setRange(Min, Max, Value, Page);
}

void ScrollBar::setButtonRange(int _ButtonRange) {
    ASSERT(_ButtonRange>0);
    if (_ButtonRange <= 0) return;
    this->_ButtonRange = _ButtonRange;
    Knob->setStep(_ButtonRange);
}

void ScrollBar::command(int number) {
    if (number == 3 || number == 5) setValue(getValue() - _ButtonRange);
    if (number == 4 || number == 6) setValue(getValue() + _ButtonRange);
}

HorizontalScrollBar::HorizontalScrollBar(CommandTarget Target) : ScrollBar(false, Target) {
    setSize(SkinProperties().ScrollBar.DefaultLength, 0);
}

void HorizontalScrollBar::setSize(int Width, int) {
    const int thickness = SkinProperties().ScrollBar.Thickness;
    Component::setSize(std::max(Width, Less->getWidth() + More->getWidth()), thickness);
    Less->setPosition(0, 0);
    More->setPosition(_Width - More->getWidth(), 0);
    Knob->setPosition(Less->getWidth(), 0);
    Knob->setSize(std::max(_Width - Less->getWidth() - More->getWidth(), 0), thickness);
}

VerticalScrollBar::VerticalScrollBar(CommandTarget Target) : ScrollBar(true, Target) {
    setSize(0, SkinProperties().ScrollBar.DefaultLength);
}

void VerticalScrollBar::setSize(int, int Height) {
    const int thickness = SkinProperties().ScrollBar.Thickness;
    Component::setSize(thickness, std::max(Height, Less->getHeight() + More->getHeight()));
    Less->setPosition(0, 0);
    More->setPosition(0, _Height - More->getHeight());
    Knob->setPosition(0, Less->getHeight());
    Knob->setSize(thickness, std::max(_Height - Less->getHeight() - More->getHeight(), 0));
}

// ==== ListBox ================================================================================

ListBox::ListBox(CommandTarget SelectTarget, CommandTarget ActivateTarget, bool RenameAllowed)
    : CompositeComponent(4), SelectTarget(SelectTarget), ActivateTarget(ActivateTarget), RenameAllowed(RenameAllowed) {
    Bar = new VerticalScrollBar(CommandTarget(this, 1));
    addChild(Bar);
    setSize(SkinProperties().ListBox.DefaultWidth, SkinProperties().ListBox.DefaultHeight);
}

int ListBox::lineHeight() const { return std::max(SkinProperties().ListBox.LineHeight, 1); }

int ListBox::getTopLine() const { return Bar->getValue(); }

const std::string& ListBox::getLine(int Number) const {
    static const std::string None;
    return In(Number, 0, int(Lines.size()) - 1) ? Lines[size_t(Number)] : None;
}

void ListBox::addLine(const char* Text) {
    ASSERT(Text!=NULL);
    Lines.emplace_back(Text != NULL ? Text : "");
    arrange();
}

void ListBox::setLine(int Number, const char* Text) {
    ASSERT(Text!=NULL);
    int Lines = int(this->Lines.size());
    ASSERT(In(Number,0,Lines-1));
    if (Text == NULL || !In(Number, 0, Lines - 1)) return;
    this->Lines[size_t(Number)] = Text;
}

void ListBox::removeLine(int Number) {
    if (!In(Number, 0, int(Lines.size()) - 1)) return;
    if (Renaming) endRenaming();
    Lines.erase(Lines.begin() + Number);
    if (Selected >= int(Lines.size())) Selected = int(Lines.size()) - 1;
    arrange();
}

void ListBox::clear() {
    if (Renaming) endRenaming();
    Lines.clear();
    Selected = -1;
    arrange();
}

void ListBox::select(int Number) {
    Selected = Lines.empty() ? -1 : std::clamp(Number, 0, int(Lines.size()) - 1);
    scrollIntoView();
}

void ListBox::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    const int thickness = SkinProperties().ScrollBar.Thickness, border = SkinProperties().ListBox.Border;
    Bar->setPosition(std::max(_Width - thickness - border, 0), border);
    Bar->setSize(thickness, std::max(_Height - 2 * border, 0));
    arrange();
}

void ListBox::arrange() {
    const auto& P = SkinProperties().EditField;
    setEdgeEntries(0, P.Top, P.Left, P.Bottom, P.Right);
    VisibleLines = std::max((_Height - 2 * SkinProperties().ListBox.Margin) / lineHeight(), 0);
    const int lines = int(Lines.size());
    if (lines > VisibleLines)
        Bar->setRange(0, lines - VisibleLines, std::min(Bar->getValue(), lines - VisibleLines), VisibleLines);
    else
        Bar->setRange(0, 0, 0, std::max(VisibleLines, 1));
    CompositeComponent::arrange();
}

void ListBox::scrollIntoView() {
    if (Selected < 0) return;
    int top = Bar->getValue();
    if (Selected < top)
        Bar->setValue(Selected);
    else if (VisibleLines > 0 && Selected >= top + VisibleLines)
        Bar->setValue(Selected - VisibleLines + 1);
}

void ListBox::draw(int Surface, int x, int y) {
    const auto& L = SkinProperties().ListBox;
    FillRect(Surface, x, y, _Width, _Height, L.Background.Red, L.Background.Green, L.Background.Blue);
    drawDrawingList(Surface, x, y);
    const int margin = L.Margin, textWidth = std::max(Bar->getX() - margin, 0);
    const ClipRect clip{x + margin, y + margin, textWidth - margin, std::max(_Height - 2 * margin, 0)};
    const int top = Bar->getValue();
    for (int i = top; i < int(Lines.size()) && i < top + VisibleLines; ++i) {
        int ly = y + margin + (i - top) * lineHeight();
        int ty = ly + (lineHeight() - GetFontHeight(L.Font)) / 2;
        bool highlight = i == Selected && !Renaming;
        if (highlight)
            FillRectClipped(Surface, x + margin, ly, textWidth - margin, lineHeight(), L.Selection.Red,
                            L.Selection.Green, L.Selection.Blue, clip);
        const SkinColour* own = highlight ? NULL : lineColour(i);
        const SkinColour& c = highlight ? L.SelectedText : own != NULL ? *own : L.Text;
        DrawTextClipped(Surface, x + margin + L.TextIndent, ty, L.Font, c.Red, c.Green, c.Blue,
                        Lines[size_t(i)].c_str(), LEFT_ALIGN, clip);
    }
    drawChildren(Surface, x, y);
}

int ListBox::lineAt(int y) const {
    const int margin = SkinProperties().ListBox.Margin;
    if (y < margin || y >= _Height - margin) return -1;
    int line = Bar->getValue() + (y - margin) / lineHeight();
    if ((y - margin) / lineHeight() >= VisibleLines) return -1;
    return line < int(Lines.size()) ? line : -1;
}

bool ListBox::leftButtonDown(int x, int y, int keys) {
    if (CompositeComponent::leftButtonDown(x, y, keys)) return true;
    if (Renaming) endRenaming();
    int line = lineAt(y);
    if (line >= 0) {
        select(line);
        SelectTarget.send();
    }
    return true;
}

bool ListBox::leftDoubleClick(int x, int y, int keys) {
    if (CompositeComponent::leftDoubleClick(x, y, keys)) return true;
    int line = lineAt(y);
    if (line < 0) return true;
    select(line);
    if (RenameAllowed) startRenaming();
    ActivateTarget.send();
    return true;
}

void ListBox::startRenaming() {
    if (Selected < 0 || Renaming) return;
    const auto& L = SkinProperties().ListBox;
    const int margin = L.Margin;
    RenameField = new EditField(30);
    addChild(RenameField);
    RenameField->setPosition(margin, margin + (Selected - Bar->getValue()) * lineHeight() - L.RenameRaise);
    RenameField->setSize(std::max(Bar->getX() - 2 * margin, 1), RenameField->getHeight());
    RenameField->setText(Lines[size_t(Selected)].c_str());
    RenameField->setFocused(true);
    Renaming = true;
}

void ListBox::endRenaming() {
    if (!Renaming) return;
    Renaming = false;
    if (In(Selected, 0, int(Lines.size()) - 1) && RenameField != NULL) Lines[size_t(Selected)] = RenameField->getText();
    EditField* field = RenameField;
    RenameField = NULL;
    if (field != NULL) deleteChild(field);
}

void ListBox::keyPress(int code) {
    if (Renaming) {
        if (code == keys::ENTER)
            endRenaming();
        else if (RenameField != NULL)
            RenameField->keyPress(code);
        return;
    }
    int low = code & 0xFF;
    bool plainLetter = (code & (keys::EXTENDED | keys::CTRL | keys::ALT)) == 0 &&
                       ((low >= 'a' && low <= 'z') || (low >= 'A' && low <= 'Z') || low >= 192);
    if (code == keys::UP) {
        Selected = Selected - 1;
    } else if (code == keys::DOWN) {
        Selected = Selected + 1;
    } else if (plainLetter) {
        char typed[2] = {char(low), '\0'};
        ToLower(typed);
        int found = -1;
        for (size_t i = 0; i < Lines.size() && found < 0; ++i) {
            char first[2] = {Lines[i].empty() ? '\0' : Lines[i][0], '\0'};
            ToLower(first);
            if (static_cast<unsigned char>(first[0]) >= static_cast<unsigned char>(typed[0])) found = int(i);
        }
        if (found < 0) found = int(Lines.size()) - 1;
        Selected = found;
    } else {
        return;
    }
    select(Selected);
    SelectTarget.send();
}

void ListBox::mouseRest(int x, int y) {
    if (x >= Bar->getX()) {
        CompositeComponent::mouseRest(x, y);
        return;
    }
    int line = lineAt(y);
    if (line < 0) return;
    const auto& L = SkinProperties().ListBox;
    if (GetTextWidth(L.Font, Lines[size_t(line)].c_str()) > Bar->getX() - 2 * L.Margin - L.TextIndent)
        SetTooltipText(Lines[size_t(line)].c_str());
}

void ListBox::command(int) {}
