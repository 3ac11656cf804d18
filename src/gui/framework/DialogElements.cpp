// Frames and texts: Resizer, WindowFrame, Label, SkinPicture, ObjectPicture,
// OutfitPicture, ProgressBar, LinkRow. The markup layout is in
// DialogElements.Markup.cpp.
#include "gui/framework/DialogElements.h"

#include "core/Utils.h"
#include "graphics/graphics.h"
#include "gui/framework/Skins.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstring>

// ==== Resizer ====================================================================================

Resizer::Resizer(Component* ToResize, bool Horizontal, bool Vertical)
    : Component(1), _ToResize(ToResize), Horizontal(Horizontal), Vertical(Vertical) {
    const SkinRect& grip = Skins[SkinProperties().Resizer.Grip];
    setSize(grip.width, grip.height);
    arrange();
}

void Resizer::setHidden(bool Hidden) {
    this->Hidden = Hidden;
    arrange();
}

void Resizer::arrange() { setDrawingEntry(0, Hidden ? 0 : SkinProperties().Resizer.Grip, 0, 0, _Width, _Height); }

void Resizer::resizeBy(int x, int y) {
    if (_ToResize == NULL) return;
    int width = _ToResize->getWidth() + (Horizontal ? x - StartX : 0);
    int height = _ToResize->getHeight() + (Vertical ? y - StartY : 0);
    // Never below what the window needs, never negative.
    width = std::max(width, std::max(_ToResize->getMinimumWidth(), 0));
    height = std::max(height, std::max(_ToResize->getMinimumHeight(), 0));
    if (width != _ToResize->getWidth() || height != _ToResize->getHeight()) _ToResize->setSize(width, height);
}

bool Resizer::leftButtonDown(int x, int y, int) {
    if (Hidden) return false;
    Dragging = true;
    StartX = x;
    StartY = y;
    takeCapture();
    return true;
}

bool Resizer::mouseMove(int x, int y) {
    SetPointerShape(POINTER_RESIZE);
    if (Dragging) resizeBy(x, y);
    return true;
}

bool Resizer::leftButtonUp(int x, int y, int) {
    if (!Dragging) return true;
    resizeBy(x, y);
    Dragging = false;
    dropCapture();
    return true;
}

void Resizer::cancelCapture() { Dragging = false; }

// ==== WindowFrame ================================================================================

namespace {
WindowFrame::BorderSkins StandardBorder() {
    const auto& W = SkinProperties().WindowFrame;
    return {W.TopLeft, W.Top, W.TopRight, W.Left, W.Right, W.BottomLeft, W.Bottom, W.BottomRight, W.Centre};
}
}  // namespace

WindowFrame::WindowFrame(Component* Window) : WindowFrame(Window, StandardBorder(), SkinProperties().WindowFrame.Margin) {}

WindowFrame::WindowFrame(Component* Window, const BorderSkins& Skins, int Margin)
    : CompositeComponent(9), _Window(Window), Border(Skins), Margin(Margin) {
    if (_Window != NULL) addChild(_Window);
    int width = getMinimumWidth() + (_Window != NULL ? _Window->getWidth() : 0);
    int height = getMinimumHeight() + (_Window != NULL ? _Window->getHeight() : 0);
    setSize(width, height);
}

int WindowFrame::getMinimumWidth() const { return Skins[Border.Left].width + Skins[Border.Right].width + 2 * Margin; }
int WindowFrame::getMinimumHeight() const { return Skins[Border.Top].height + Skins[Border.Bottom].height + 2 * Margin; }

void WindowFrame::setSize(int Width, int Height) {
    ASSERT(Width>=getMinimumWidth() && Height>=getMinimumHeight());
    Component::setSize(std::max(Width, getMinimumWidth()), std::max(Height, getMinimumHeight()));
    arrange();
    if (_Window != NULL) {
        int left = Skins[Border.Left].width + Margin, top = Skins[Border.Top].height + Margin;
        _Window->setPosition(left, top);
        _Window->setSize(_Width - getMinimumWidth(), _Height - getMinimumHeight());
    }
}

void WindowFrame::arrange() {
    const SkinRect &tl = Skins[Border.TopLeft], &tr = Skins[Border.TopRight], &bl = Skins[Border.BottomLeft],
                   &br = Skins[Border.BottomRight], &t = Skins[Border.Top], &b = Skins[Border.Bottom],
                   &l = Skins[Border.Left], &r = Skins[Border.Right];
    const int W = _Width, H = _Height;
    setDrawingEntry(0, Border.TopLeft, 0, 0);
    setDrawingEntry(1, Border.Top, tl.width, 0, std::max(W - tl.width - tr.width, 0), t.height);
    setDrawingEntry(2, Border.TopRight, W - tr.width, 0);
    setDrawingEntry(3, Border.Left, 0, tl.height, l.width, std::max(H - tl.height - bl.height, 0));
    setDrawingEntry(4, Border.Right, W - r.width, tr.height, r.width, std::max(H - tr.height - br.height, 0));
    setDrawingEntry(5, Border.BottomLeft, 0, H - bl.height);
    setDrawingEntry(6, Border.Bottom, bl.width, H - b.height, std::max(W - bl.width - br.width, 0), b.height);
    setDrawingEntry(7, Border.BottomRight, W - br.width, H - br.height);
    setDrawingEntry(8, Border.Centre, l.width, t.height, std::max(W - l.width - r.width, 0),
                    std::max(H - t.height - b.height, 0));
    CompositeComponent::arrange();
}

// ==== Label ====================================================================================

Label::Label(const char* Text, int Font, int Red, int Green, int Blue) : _Font(Font), Colour{Red, Green, Blue} {
    setText(Text, false);
}

Label::Label(const char* Text)
    : Label(Text, SkinProperties().Label.Font, SkinProperties().Label.Text.Red, SkinProperties().Label.Text.Green,
            SkinProperties().Label.Text.Blue) {}

void Label::setText(const char* Text, bool Measure) {
    ASSERT(Text!=NULL);
    FullText = Text != NULL ? Text : "";
    Lines.clear();
    size_t start = 0;
    while (true) {
        size_t end = FullText.find('\n', start);
        Lines.push_back(FullText.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    Cut = false;
    if (Measure) {
        for (std::string& line : Lines) {
            if (GetTextWidth(_Font, line.c_str()) <= _Width) continue;
            int fit = GetFittingCharacters(_Font, line.c_str(), _Width);
            std::vector<char> buffer(line.begin(), line.end());
            buffer.push_back('\0');
            // Shorten adds "..." within the length, which must then fit too.
            while (fit > 0) {
                std::vector<char> trial(buffer);
                Shorten(trial.data(), fit);
                if (GetTextWidth(_Font, trial.data()) <= _Width) {
                    buffer = trial;
                    break;
                }
                --fit;
            }
            if (fit <= 0) buffer.assign(1, '\0');
            line = buffer.data();
            Cut = true;
        }
    } else {
        int width = 0;
        for (const std::string& line : Lines) width = std::max(width, GetTextWidth(_Font, line.c_str()));
        Component::setSize(width, int(Lines.size()) * GetFontLineHeight(_Font));
    }
}

void Label::wrap(int MaxWidth) {
    std::vector<std::string> Broken;
    for (const std::string& line : Lines) {
        if (GetTextWidth(_Font, line.c_str()) <= MaxWidth) {
            Broken.push_back(line);
            continue;
        }
        // Word by word; the blank a line is broken at is not shown.
        std::string current;
        size_t start = 0;
        while (start <= line.size()) {
            size_t end = line.find(' ', start);
            if (end == std::string::npos) end = line.size();
            std::string word = line.substr(start, end - start);
            const std::string trial = current.empty() ? word : current + " " + word;
            if (GetTextWidth(_Font, trial.c_str()) <= MaxWidth) {
                current = trial;
            } else {
                if (!current.empty()) Broken.push_back(current);
                // A word wider than the line is cut where it must be.
                while (GetTextWidth(_Font, word.c_str()) > MaxWidth && word.size() > 1) {
                    const int fit = std::max(GetFittingCharacters(_Font, word.c_str(), MaxWidth), 1);
                    Broken.push_back(word.substr(0, size_t(fit)));
                    word.erase(0, size_t(fit));
                }
                current = word;
            }
            start = end + 1;
        }
        Broken.push_back(current);
    }
    Lines = Broken;
    int width = 0;
    for (const std::string& line : Lines) width = std::max(width, GetTextWidth(_Font, line.c_str()));
    Component::setSize(width, int(Lines.size()) * GetFontLineHeight(_Font));
}

void Label::setColour(int Red, int Green, int Blue) { Colour = {Red, Green, Blue}; }

void Label::setFont(int Font) {
    _Font = Font;
    setText(FullText.c_str(), false);
}

const std::string& Label::getLine(int n) const {
    static const std::string None;
    ASSERT(In(n,0,(int)Lines.size()-1));
    return In(n, 0, int(Lines.size()) - 1) ? Lines[size_t(n)] : None;
}

void Label::draw(int Surface, int x, int y) {
    const ClipRect clip{x, y, _Width, _Height};
    int lineHeight = GetFontLineHeight(_Font);
    for (size_t i = 0; i < Lines.size(); ++i)
        if (!Lines[i].empty())
            DrawTextClipped(Surface, x, y + int(i) * lineHeight, _Font, Colour.Red, Colour.Green, Colour.Blue,
                            Lines[i].c_str(), LEFT_ALIGN, clip);
}

bool Label::mouseMove(int, int) { return false; }
bool Label::leftButtonDown(int, int, int) { return false; }
bool Label::leftButtonUp(int, int, int) { return false; }
bool Label::leftDoubleClick(int, int, int) { return false; }
bool Label::rightButtonUp(int, int, int) { return false; }
bool Label::mouseRepeat(int, int, int) { return false; }

void Label::mouseRest(int, int) {
    if (Cut) SetTooltipText(FullText.c_str());
}

// ==== SkinPicture ================================================================================

SkinPicture::SkinPicture(int Skin) : Component(1), Skin(Skin) {
    const SkinRect& s = Skins[Skin];
    setSize(s.width, s.height);
    setDrawingEntry(0, s.width > 0 ? Skin : 0, 0, 0);
}

bool SkinPicture::mouseMove(int, int) { return false; }
bool SkinPicture::leftButtonDown(int, int, int) { return false; }
bool SkinPicture::leftButtonUp(int, int, int) { return false; }
bool SkinPicture::leftDoubleClick(int, int, int) { return false; }
bool SkinPicture::rightButtonUp(int, int, int) { return false; }
bool SkinPicture::mouseRepeat(int, int, int) { return false; }

// ==== ObjectPicture and OutfitPicture =====================================================================

ObjectPicture::ObjectPicture(int Size, bool Framed) : Component(1), Framed(Framed) { setSize(Size, Size); }

void ObjectPicture::setObject(int Type, uint32_t Data) {
    Object.Type = Type;
    Object.Data = Data;
}

void ObjectPicture::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    ASSERT(getWidth()==getHeight());
    if (_Width != _Height) Component::setSize(std::min(_Width, _Height), std::min(_Width, _Height));
    arrange();
}

void ObjectPicture::arrange() { setDrawingEntry(0, Framed ? SkinProperties().ObjectPicture.Frame : 0, 0, 0, _Width, _Height); }

void ObjectPicture::draw(int Surface, int x, int y) {
    drawDrawingList(Surface, x, y);
    if (Object.Type == 0) return;
    int inset = Framed ? SkinProperties().ObjectPicture.FrameMargin : 0;
    int edge = _Width - 2 * inset;
    if (edge <= 0) return;
    const ClipRect clip{x + inset, y + inset, edge, edge};
    DrawObjectInBox(Surface, Object, x + inset, y + inset, edge, clip, 1, 224, 224, 224, RIGHT_ALIGN, false);
}

OutfitPicture::OutfitPicture(int Size) { setSize(Size, Size); }

void OutfitPicture::setOutfit(int OutfitType, int LookType) {
    this->OutfitType = OutfitType;
    this->LookType = LookType;
}

void OutfitPicture::setColour(int Mask, int Value) {
    ASSERT(In(Mask,1,4));
    if (!In(Mask, 1, 4)) return;
    ColorData[Mask - 1] = In(Value, 0, OUTFIT_COLORS - 1) ? Value : 0;
}

int OutfitPicture::getColour(int Mask) const { return In(Mask, 1, 4) ? ColorData[Mask - 1] : 0; }

void OutfitPicture::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    ASSERT(getWidth()==getHeight());
    if (_Width != _Height) Component::setSize(std::min(_Width, _Height), std::min(_Width, _Height));
}

void OutfitPicture::draw(int Surface, int x, int y) {
    if ((OutfitType == 0 && LookType == 0) || _Width <= 0) return;
    const ClipRect clip{x, y, _Width, _Height};
    DrawOutfitInBox(Surface, OutfitType, ColorData, LookType, x, y, _Width, clip);
}

// ==== ProgressBar ================================================================================

ProgressBar::ProgressBar() : Component(6) { setSize(getMinimumWidth(), getMinimumHeight()); }

void ProgressBar::setMaximum(int maximum) {
    ASSERT(maximum>0);
    if (maximum <= 0) return;
    this->maximum = maximum;
    Value = std::min(Value, maximum);
    arrange();
}

void ProgressBar::setValue(int Value) {
    this->Value = std::clamp(Value, 0, maximum);
    arrange();
}

int ProgressBar::getMinimumWidth() const {
    const auto& P = SkinProperties().ProgressBar;
    return Skins[P.FrameLeft].width + Skins[P.FrameMiddle].width + Skins[P.FrameRight].width;
}

int ProgressBar::getMinimumHeight() const { return Skins[SkinProperties().ProgressBar.FrameLeft].height; }

void ProgressBar::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    arrange();
}

void ProgressBar::arrange() {
    const auto& P = SkinProperties().ProgressBar;
    const SkinRect &left = Skins[P.FrameLeft], &right = Skins[P.FrameRight], &start = Skins[P.FillStart],
                   &end = Skins[P.FillEnd];
    const int W = _Width;
    setDrawingEntry(0, P.FrameLeft, 0, 0, left.width, _Height);
    setDrawingEntry(1, P.FrameMiddle, left.width, 0, std::max(W - left.width - right.width, 0), _Height);
    setDrawingEntry(2, P.FrameRight, W - right.width, 0, right.width, _Height);
    int fill = maximum > 0 ? int(int64_t(Value) * W / maximum) : 0;
    int fy = std::max((_Height - start.height) / 2, 0);
    int fh = std::min(start.height, _Height);
    bool cap = fill > W - end.width && fill >= start.width + end.width;
    int middleEnd = cap ? fill - end.width : fill;
    setDrawingEntry(3, fill > 0 ? P.FillStart : 0, 0, fy, std::min(fill, start.width), fh);
    setDrawingEntry(4, middleEnd > start.width ? P.FillMiddle : 0, start.width, fy,
                    std::max(middleEnd - start.width, 0), fh);
    setDrawingEntry(5, cap ? P.FillEnd : 0, fill - end.width, fy, end.width, fh);
}

// ==== LinkRow ================================================================================

LinkRow::LinkRow(const char* _Text, const char* ButtonText, const char* _Destination) {
    ASSERT(_Destination!=NULL && _Text!=NULL && ButtonText!=NULL);
    this->_Destination = _Destination != NULL ? _Destination : "";
    const auto& P = SkinProperties().LinkRow;
    auto* label = new Label(_Text != NULL ? _Text : "", P.Font, P.Text.Red, P.Text.Green, P.Text.Blue);
    auto* button = new TextButton(ButtonText != NULL ? ButtonText : "", CommandTarget(this, 1));
    addChild(label);
    addChild(button);
    int height = std::max(label->getHeight(), button->getHeight());
    label->setPosition(0, (height - label->getHeight()) / 2);
    button->setPosition(label->getWidth() + P.Gap, (height - button->getHeight()) / 2);
    Component::setSize(button->getX() + button->getWidth(), height);
}

namespace {
bool (*LinkOpener)(const char* Path) = nullptr;
}  // namespace

void LinkRow::setOpener(bool (*Opener)(const char* Path)) { LinkOpener = Opener; }

void LinkRow::command(int number) {
    if (number != 1 || _Destination.empty()) return;
    if (LinkOpener != nullptr)
        LinkOpener(_Destination.c_str());
    else
        platform::OpenDocument(_Destination);
}
