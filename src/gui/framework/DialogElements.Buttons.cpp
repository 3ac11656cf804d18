// Buttons: Button and its variants, RadioButtonGroup, CheckBox.
#include "gui/framework/DialogElements.h"

#include "core/Redraw.h"
#include "graphics/graphics.h"
#include "gui/framework/Skins.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstring>

// ==== RadioButtonGroup ================================================================================

void RadioButtonGroup::addMember(Button* Member) {
    ASSERT(Member!=NULL);
    if (Member == NULL) return;
    ::RadioButtonGroup* RadioButtonGroup = Member->Group;
    ASSERT(RadioButtonGroup==NULL);
    if (RadioButtonGroup != NULL) return;
    Member->Group = this;
    MemberList.push_back(Member);
}

RadioButtonGroup::~RadioButtonGroup() {
    for (Button* b : MemberList) b->Group = NULL;
}

// ==== Button ====================================================================================

namespace {
// The state button whose command is being sent, and whether a button's
// destructor found it while the command ran.
const Button* Sender = NULL;
bool SenderGone = false;
}  // namespace

Button::Button(int Up, int Down, CommandTarget Target, const char* Tooltip)
    : Component(1), _ButtonUp(Up), _ButtonDown(Down), Target(Target), Tooltip(Tooltip != NULL ? Tooltip : "") {
    setSkins(Up, Down);
    const SkinRect& up = Skins[_ButtonUp];
    setSize(up.width, up.height);
}

Button::~Button() {
    if (this == Sender) SenderGone = true;
    if (Group != NULL) {
        auto& list = Group->MemberList;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        if (Group->Selected == this) Group->Selected = NULL;
    }
}

void Button::setSkins(int _ButtonUp, int _ButtonDown) {
    ASSERT(_ButtonUp<NumberOfSkins);
    ASSERT(_ButtonDown<NumberOfSkins);
    if (!In(_ButtonUp, 0, NumberOfSkins - 1) || !In(_ButtonDown, 0, NumberOfSkins - 1)) return;
    this->_ButtonUp = _ButtonUp;
    this->_ButtonDown = _ButtonDown;
}

void Button::setTooltip(const char* Tooltip) { this->Tooltip = Tooltip != NULL ? Tooltip : ""; }

bool Button::isDown() const { return (Pressed && Inside) || (Group != NULL && Group->Selected == this); }

namespace {
// A face wider than its skin (a text button sized to a long caption): tiling
// would repeat the skin's raised edges inside the button, so the skin's left
// half starts it, its right half ends it, and slices from the middle of the
// skin fill the gap between.
void DrawWideFace(int Surface, int x, int y, int Width, int Height, int Face) {
    const int S = Skins[Face].width;
    const int left = S / 2, right = S - left, slice = S / 2, from = S / 4;
    DrawSkinTiled(Surface, x, y, left, Height, Face, 0, 0);
    for (int mx = left; mx < Width - right; mx += slice)
        DrawSkinTiled(Surface, x + mx, y, std::min(slice, Width - right - mx), Height, Face, from, 0);
    DrawSkinTiled(Surface, x + Width - right, y, right, Height, Face, left, 0);
}
}  // namespace

void Button::draw(int Surface, int x, int y) {
    const int face = isDown() ? _ButtonDown : _ButtonUp;
    setDrawingEntry(0, face, 0, 0, _Width, _Height);
    if (_Width > Skins[face].width && Skins[face].width >= 4 && _Height > 0)
        DrawWideFace(Surface, x, y, _Width, _Height, face);
    else
        drawDrawingList(Surface, x, y);
}

bool Button::leftButtonDown(int x, int y, int) {
    Pressed = true;
    Inside = x >= 0 && y >= 0 && x < _Width && y < _Height;
    takeCapture();
    return true;
}

bool Button::mouseMove(int x, int y) {
    Inside = x >= 0 && y >= 0 && x < _Width && y < _Height;
    return true;
}

bool Button::leftButtonUp(int x, int y, int) {
    if (!Pressed) return true;
    releaseCapture(this);
    Inside = x >= 0 && y >= 0 && x < _Width && y < _Height;
    // Last: the command may close the window this button lives in.
    if (Inside) activate();
    return true;
}

void Button::activate() {
    if (Group != NULL) Group->Selected = this;
    Target.send();
}

bool Button::mouseRepeat(int, int, int code) {
    if (code != REPEAT_LEFT_HELD) return false;
    if (Repeat && Pressed && Inside) Target.send();
    return true;
}

void Button::mouseRest(int, int) {
    if (!Tooltip.empty()) SetTooltipText(Tooltip.c_str());
}

void Button::releaseCapture(Component*) {
    Pressed = false;
    dropCapture();
}

void Button::cancelCapture() { Pressed = false; }

// ==== Variants ================================================================================

ColourButton::ColourButton(int Up, int Down, CommandTarget Target, int Red, int Green, int Blue)
    : Button(Up, Down, Target), Colour{Red, Green, Blue} {}

void ColourButton::setColour(int Red, int Green, int Blue) { Colour = {Red, Green, Blue}; }

void ColourButton::draw(int Surface, int x, int y) {
    FillRect(Surface, x, y, _Width, _Height, Colour.Red, Colour.Green, Colour.Blue);
    Button::draw(Surface, x, y);
}

IconButton::IconButton(int Up, int Down, int Icon, CommandTarget Target, const char* Tooltip)
    : Button(Up, Down, Target, Tooltip), Icon(Icon) {}

void IconButton::draw(int Surface, int x, int y) {
    Button::draw(Surface, x, y);
    if (Icon == 0) return;
    const SkinRect& s = Skins[Icon];
    const SkinPoint& at = SkinProperties().Buttons.Texture;
    DrawSkinTiled(Surface, x + at.x, y + at.y, s.width, s.height, Icon, 0, 0);
}

BlinkingButton::BlinkingButton(int Up, int Down, int BlinkUp, int BlinkDown, CommandTarget Target,
                               const char* Tooltip)
    : Button(Up, Down, Target, Tooltip), Faces{{Up, Down}, {BlinkUp, BlinkDown}} {}

void BlinkingButton::setBlinking(bool Blinking) {
    this->Blinking = Blinking;
    Phase = 0;
    LastSwap = platform::Milliseconds();
    setSkins(Faces[0][0], Faces[0][1]);
}

void BlinkingButton::draw(int Surface, int x, int y) {
    if (Blinking) {
        uint32_t now = platform::Milliseconds();
        const uint32_t period = uint32_t(std::max(SkinProperties().Buttons.BlinkPeriod, 1));
        if (now - LastSwap >= period) {
            LastSwap = now;
            Phase = 1 - Phase;
            setSkins(Faces[Phase][0], Faces[Phase][1]);
        }
        RequestRedrawAt(LastSwap + period);
    }
    Button::draw(Surface, x, y);
}

namespace {
void DrawCaption(int Surface, int x, int y, int Width, int Height, const std::string& Text, bool Down) {
    const auto& P = SkinProperties().Buttons;
    int tx = x + Width / 2, ty = y + (Height - GetFontHeight(P.Font)) / 2;
    if (Down) {
        tx += P.PressedOffset.x;
        ty += P.PressedOffset.y;
    }
    DrawTextClipped(Surface, tx, ty, P.Font, P.Text.Red, P.Text.Green, P.Text.Blue, Text.c_str(), CENTER_ALIGN,
                    ClipRect{x, y, Width, Height});
}

int UpSkin(int Up) { return Up != 0 ? Up : SkinProperties().Buttons.TextUp; }
int DownSkin(int Down) { return Down != 0 ? Down : SkinProperties().Buttons.TextDown; }
}  // namespace

TextButton::TextButton(const char* _Text, CommandTarget Target, int Up, int Down)
    : Button(UpSkin(Up), DownSkin(Down), Target) {
    setText(_Text);
}

void TextButton::setText(const char* _Text) {
    ASSERT(_Text!=NULL && strlen(_Text)<50);
    if (_Text == NULL) return;
    Text.assign(_Text, std::min(strlen(_Text), size_t(49)));
}

void TextButton::draw(int Surface, int x, int y) {
    Button::draw(Surface, x, y);
    DrawCaption(Surface, x, y, _Width, _Height, Text, isDown());
}

ToggleButton::ToggleButton(int Up, int Down, CommandTarget Target, const char* Tooltip)
    : Button(Up, Down, Target, Tooltip) {}

bool ToggleButton::isDown() const { return On || Button::isDown(); }

void ToggleButton::activate() {
    On = !On;
    Button::activate();
}

TextToggleButton::TextToggleButton(const char* _Text, CommandTarget Target, int Up, int Down)
    : ToggleButton(UpSkin(Up), DownSkin(Down), Target) {
    ASSERT(_Text!=NULL && strlen(_Text)<50);
    if (_Text != NULL) Text.assign(_Text, std::min(strlen(_Text), size_t(49)));
}

void TextToggleButton::draw(int Surface, int x, int y) {
    Button::draw(Surface, x, y);
    DrawCaption(Surface, x, y, _Width, _Height, Text, isDown());
}

StateButton::StateButton(const std::vector<State>& States)
    : Button(States.empty() ? 0 : States[0].Up, States.empty() ? 0 : States[0].Down, CommandTarget()),
      States(States) {
    ASSERT(!States.empty());
}

void StateButton::setState(int Number) {
    ASSERT(In(Number,0,(int)States.size()-1));
    if (!In(Number, 0, int(States.size()) - 1)) return;
    Current = Number;
    setSkins(States[size_t(Current)].Up, States[size_t(Current)].Down);
}

void StateButton::activate() {
    if (States.empty()) return;
    if (Group != NULL) Group->Selected = this;
    // The current state's command goes first (its receiver still sees the
    // state it acted on), then the state moves on, unless the command closed
    // the window and the button with it.
    const Button* outerSender = Sender;
    const bool outerGone = SenderGone;
    Sender = this;
    SenderGone = false;
    const CommandTarget target = States[size_t(Current)].Target;
    target.send();
    const bool gone = SenderGone;
    Sender = outerSender;
    SenderGone = outerGone;
    if (!gone) setState((Current + 1) % int(States.size()));
}

// ==== CheckBox ================================================================================

CheckBox::CheckBox(const char* Caption, bool Ticked) : CompositeComponent(5), Ticked(Ticked) {
    ASSERT(Caption!=NULL && strlen(Caption)<50);
    const auto& P = SkinProperties().CheckBox;
    std::string text(Caption != NULL ? Caption : "");
    if (text.size() >= 50) text.resize(49);
    this->Caption = new Label(text.c_str(), P.Font, P.Text.Red, P.Text.Green, P.Text.Blue);
    addChild(this->Caption);
    this->Caption->setPosition(P.MarginLeft, P.MarginTop);
    const SkinRect& box = Skins[P.Empty];
    int height = std::max(P.MarginTop + this->Caption->getHeight() + P.MarginBottom, P.Item.y * 2 + box.height);
    setSize(P.MarginLeft + this->Caption->getWidth() + P.MarginRight, height);
}

void CheckBox::setTicked(bool Ticked) {
    this->Ticked = Ticked;
    arrange();
}

void CheckBox::setEnabled(bool Enabled) {
    this->Enabled = Enabled;
    const auto& P = SkinProperties().CheckBox;
    const SkinColour& c = Enabled ? P.Text : P.DisabledText;
    Caption->setColour(c.Red, c.Green, c.Blue);
    arrange();
}

void CheckBox::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    const auto& P = SkinProperties().CheckBox;
    Caption->setPosition(P.MarginLeft, std::max((_Height - Caption->getHeight()) / 2, 0));
    arrange();
}

void CheckBox::arrange() {
    const auto& P = SkinProperties().CheckBox;
    const int W = _Width, H = _Height;
    const int left = Skins[P.Left].width, right = Skins[P.Right].width;
    const int top = Skins[P.Top].height, bottom = Skins[P.Bottom].height;
    setDrawingEntry(0, P.Top, 0, 0, W, top);
    setDrawingEntry(1, P.Left, 0, top, left, std::max(H - top - bottom, 0));
    setDrawingEntry(2, P.Bottom, 0, H - bottom, W, bottom);
    setDrawingEntry(3, P.Right, W - right, top, right, std::max(H - top - bottom, 0));
    setDrawingEntry(4, Enabled && Ticked ? P.Ticked : P.Empty, P.Item.x, P.Item.y);
}

bool CheckBox::leftButtonDown(int, int, int) { return true; }

bool CheckBox::leftButtonUp(int, int, int) {
    if (Enabled) setTicked(!Ticked);
    return true;
}
