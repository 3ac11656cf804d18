#include "gui/windows/SideWindow.h"

#include "config/Preferences.h"
#include "graphics/graphics.h"
#include "gui/help/Help.h"
#include "gui/windows/SideColumn.h"
#include "gui/framework/Skins.h"

#include <algorithm>

namespace {

// Frame pieces, clockwise from the top-left corner; the top edge is the
// title bar.
constexpr int FRAME_TOP_LEFT = 124, FRAME_TOP_RIGHT = 125, FRAME_BOTTOM_LEFT = 126, FRAME_BOTTOM_RIGHT = 127;
constexpr int FRAME_TOP = 128, FRAME_BOTTOM = 129, FRAME_LEFT = 130, FRAME_RIGHT = 131;
constexpr int CLOSE_UP = 132, CLOSE_DOWN = 133;
constexpr int MINIMIZE_UP = 134, MINIMIZE_DOWN = 135;
constexpr int MAXIMIZE_UP = 136, MAXIMIZE_DOWN = 137;

// Drawing entries: the background, then the eight frame pieces.
enum { ENTRY_BACKGROUND, ENTRY_TOP_LEFT, ENTRY_TOP, ENTRY_TOP_RIGHT, ENTRY_LEFT, ENTRY_RIGHT, ENTRY_BOTTOM_LEFT,
       ENTRY_BOTTOM, ENTRY_BOTTOM_RIGHT, ENTRIES };

bool KeepsHeight(int Type) { return Type == SKILLS_WINDOW || Type == BATTLE_WINDOW || Type == VIP_WINDOW; }

}  // namespace

int SideWindow::frameHeight() { return Skins[FRAME_TOP].height + Skins[FRAME_BOTTOM].height; }
int SideWindow::frameWidth() { return Skins[FRAME_LEFT].width + Skins[FRAME_RIGHT].width; }

SideWindow::SideWindow(int Type, Component* Body, Button* ExtraFirst, Button* ExtraSecond)
    : CompositeComponent(ENTRIES), Type(Type), _Body(Body) {
    ASSERT(_Body!=NULL);
    // The grips come first: a press on them wins over the body below.
    Grip = new Resizer(this, false, true);
    EdgeGrip = new Resizer(this, false, true);
    EdgeGrip->setHidden(true);
    addChild(Grip);
    addChild(EdgeGrip);
    CloseButton = new Button(CLOSE_UP, CLOSE_DOWN, CommandTarget(this, SIDEWINDOW_CLOSE), "Close this window");
    CloseButton->setSize(Skins[CLOSE_UP].width, Skins[CLOSE_UP].height);
    addChild(CloseButton);
    MinimizeButton = new Button(MINIMIZE_UP, MINIMIZE_DOWN, CommandTarget(this, SIDEWINDOW_TOGGLE),
                                "Maximise or minimise window");
    MinimizeButton->setSize(Skins[MINIMIZE_UP].width, Skins[MINIMIZE_UP].height);
    addChild(MinimizeButton);
    Extra[0] = ExtraFirst;
    Extra[1] = ExtraSecond;
    for (Button* B : Extra)
        if (B != NULL) addChild(B);
    const int BodyHeight = _Body != NULL ? _Body->getHeight() : 0;
    if (_Body != NULL) addChild(_Body);
    setSize(std::max(_Body != NULL ? _Body->getWidth() : 0, 0) + frameWidth(), BodyHeight + frameHeight());
}

SideWindow::~SideWindow() {
    // The body height the player chose, also when the window is minimised
    // or squeezed right now.
    if (KeepsHeight(Type)) {
        const int Full = Minimized ? std::max(HeightBeforeMinimizing, WantedBeforeMinimizing) : WantedHeight;
        SetContentWindowValue(Type, std::max(Full - frameHeight(), 0));
    }
    // Taken out for minimising, the body and the grips are not children.
    if (Minimized) {
        delete _Body;
        delete Grip;
        delete EdgeGrip;
    }
}

SideColumn* SideWindow::column() const { return dynamic_cast<SideColumn*>(getParent()); }

void SideWindow::setCaption(const char* Text) {
    Caption = Text != NULL ? Text : "";
}

void SideWindow::setTitlePicture(Component* Picture) {
    if (TitlePicture != NULL) deleteChild(TitlePicture);
    TitlePicture = Picture;
    if (TitlePicture != NULL) {
        addChild(TitlePicture);
        placeButtons();
    }
}

int SideWindow::getMinimumHeight() const {
    if (Minimized) return SkinProperties().SideWindow.MinimizedHeight;
    return frameHeight() + std::max(_Body != NULL ? _Body->getMinimumHeight() : 0, 0);
}

int SideWindow::getMinimumWidth() const { return frameWidth(); }

void SideWindow::setSize(int Width, int Height) {
    const int Before = _Height;
    Height = Minimized ? SkinProperties().SideWindow.MinimizedHeight : std::max(Height, getMinimumHeight());
    Component::setSize(std::max(Width, getMinimumWidth()), Height);
    if (!Minimized) {
        const int Left = Skins[FRAME_LEFT].width, Top = Skins[FRAME_TOP].height;
        _Body->setPosition(Left, Top);
        _Body->setSize(std::max(_Width - frameWidth(), 0), std::max(_Height - frameHeight(), 0));
        Grip->setPosition(_Width - Grip->getWidth(), _Height - Grip->getHeight());
        EdgeGrip->setPosition(0, _Height - Skins[FRAME_BOTTOM].height);
        EdgeGrip->setSize(std::max(_Width - Grip->getWidth(), 1), Skins[FRAME_BOTTOM].height);
    }
    placeButtons();
    arrange();
    SideColumn* Column = column();
    // A size the column sets while it shares out its height is not the
    // player's choice.
    if (Column == NULL || !Column->isHandling()) WantedHeight = _Height;
    if (Column == NULL) return;
    Column->notify(_Height < Before ? SIDECOLUMN_SHRANK : _Height > Before ? SIDECOLUMN_GREW : SIDECOLUMN_CHANGED,
                   this);
    Column->notify(SIDECOLUMN_SETTLED, this);
}

void SideWindow::setPosition(int x, int y) {
    CompositeComponent::setPosition(x, y);
    // The background's texture continues from the window above.
    arrange();
}

void SideWindow::placeButtons() {
    const auto& P = SkinProperties().SideWindow;
    int Right = _Width - P.ButtonRight;
    for (Button* B : {CloseButton, MinimizeButton, Extra[1], Extra[0]}) {
        if (B == NULL) continue;
        B->setPosition(Right - B->getWidth(), P.ButtonTop);
        Right -= B->getWidth() + P.ButtonGap;
    }
    if (TitlePicture != NULL)
        TitlePicture->setPosition(P.CaptionLeft,
                                  std::max((Skins[FRAME_TOP].height - TitlePicture->getHeight()) / 2, 0));
}

void SideWindow::arrange() {
    const SkinRect &tl = Skins[FRAME_TOP_LEFT], &tr = Skins[FRAME_TOP_RIGHT], &bl = Skins[FRAME_BOTTOM_LEFT],
                   &br = Skins[FRAME_BOTTOM_RIGHT], &t = Skins[FRAME_TOP], &b = Skins[FRAME_BOTTOM],
                   &l = Skins[FRAME_LEFT], &r = Skins[FRAME_RIGHT];
    const int W = _Width, H = _Height;
    const int InnerHeight = std::max(H - t.height - b.height, 0), InnerWidth = std::max(W - l.width - r.width, 0);
    // The texture lines up with the column's: offset by the window's place.
    const int Texture = std::max(Skins[SKIN_BACKGROUND].height, 1);
    setDrawingEntry(ENTRY_BACKGROUND, InnerHeight > 0 && InnerWidth > 0 ? SKIN_BACKGROUND : 0, l.width, t.height,
                    InnerWidth, InnerHeight, 0, ((_Y + t.height) % Texture + Texture) % Texture);
    setDrawingEntry(ENTRY_TOP_LEFT, FRAME_TOP_LEFT, 0, 0);
    setDrawingEntry(ENTRY_TOP, FRAME_TOP, tl.width, 0, std::max(W - tl.width - tr.width, 0), t.height);
    setDrawingEntry(ENTRY_TOP_RIGHT, FRAME_TOP_RIGHT, W - tr.width, 0);
    setDrawingEntry(ENTRY_LEFT, FRAME_LEFT, 0, tl.height, l.width, std::max(H - tl.height - bl.height, 0));
    setDrawingEntry(ENTRY_RIGHT, FRAME_RIGHT, W - r.width, tr.height, r.width, std::max(H - tr.height - br.height, 0));
    setDrawingEntry(ENTRY_BOTTOM_LEFT, FRAME_BOTTOM_LEFT, 0, H - bl.height);
    setDrawingEntry(ENTRY_BOTTOM, FRAME_BOTTOM, bl.width, H - b.height, std::max(W - bl.width - br.width, 0), b.height);
    setDrawingEntry(ENTRY_BOTTOM_RIGHT, FRAME_BOTTOM_RIGHT, W - br.width, H - br.height);
}

void SideWindow::draw(int Surface, int x, int y) {
    drawDrawingList(Surface, x, y);
    const auto& P = SkinProperties().SideWindow;
    if (!Caption.empty()) {
        int Left = P.CaptionLeft;
        if (TitlePicture != NULL) Left += TitlePicture->getWidth() + P.ButtonGap;
        int Right = _Width - P.ButtonRight;
        for (Button* B : {CloseButton, MinimizeButton, Extra[0], Extra[1]})
            if (B != NULL) Right = std::min(Right, B->getX() - P.ButtonGap);
        if (Right > Left)
            DrawTextClipped(Surface, x + Left, y + P.CaptionTop, P.CaptionFont, P.Caption.Red, P.Caption.Green,
                            P.Caption.Blue, Caption.c_str(), LEFT_ALIGN,
                            ClipRect{x + Left, y, Right - Left, Skins[FRAME_TOP].height});
    }
    // The grips lie over the body's corner: drawn last.
    for (Component* c = FirstChild; c != NULL; c = c->getNextSibling())
        if (c != Grip && c != EdgeGrip) c->draw(Surface, x + c->getX(), y + c->getY());
    if (!Minimized) Grip->draw(Surface, x + Grip->getX(), y + Grip->getY());
}

void SideWindow::minimize() {
    const bool IsMinimized = Minimized;
    ASSERT(IsMinimized==false);
    if (Minimized) return;
    cancelCapture();
    HeightBeforeMinimizing = _Height;
    WantedBeforeMinimizing = WantedHeight;
    _Body->command(SIDEBODY_MINIMISED);
    removeChild(_Body);
    removeChild(Grip);
    removeChild(EdgeGrip);
    MinimizeButton->setSkins(MAXIMIZE_UP, MAXIMIZE_DOWN);
    Minimized = true;
    setSize(_Width, SkinProperties().SideWindow.MinimizedHeight);
}

void SideWindow::restore() {
    const bool IsMinimized = Minimized;
    ASSERT(IsMinimized==true);
    if (!Minimized) return;
    // Back in the hit-test order they had: grips first, the body last.
    addChildFirst(EdgeGrip);
    addChildFirst(Grip);
    addChild(_Body);
    MinimizeButton->setSkins(MINIMIZE_UP, MINIMIZE_DOWN);
    Minimized = false;
    setSize(_Width, HeightBeforeMinimizing);
    // Squeezed before it was minimised, it still wants its full height back.
    WantedHeight = std::max(WantedHeight, WantedBeforeMinimizing);
    _Body->command(SIDEBODY_RESTORED);
}

void SideWindow::command(int number) {
    switch (number) {
    case SIDEWINDOW_TOGGLE:
        if (Minimized)
            restore();
        else
            minimize();
        break;
    case SIDEWINDOW_CLOSE:
        if (SideColumn* Column = column())
            Column->closeWindow(this);  // this window is gone now
        break;
    default: break;
    }
}

bool SideWindow::leftButtonDown(int x, int y, int keys) {
    if (Dragging) return true;
    if (CompositeComponent::leftButtonDown(x, y, keys)) return true;
    // Nothing inside took it: the frame is the handle.
    if (column() == NULL) return false;
    Dragging = true;
    GrabX = x;
    GrabY = y;
    GrabOffset = y;
    takeCapture();
    return true;
}

bool SideWindow::leftDoubleClick(int x, int y, int keys) {
    if (Dragging) endDrag();
    if (CompositeComponent::leftDoubleClick(x, y, keys)) return true;
    command(SIDEWINDOW_TOGGLE);
    return true;
}

bool SideWindow::mouseMove(int x, int y) {
    if (!Dragging) return CompositeComponent::mouseMove(x, y);
    SideColumn* Column = column();
    if (Column == NULL) return true;
    const int Top = std::clamp(_Y + y - GrabOffset, 0, std::max(Column->getHeight() - _Height, 0));
    if (Top != _Y) {
        setPosition(_X, Top);
        Column->notify(SIDECOLUMN_DRAGGING, this);
    }
    return true;
}

bool SideWindow::leftButtonUp(int x, int y, int keys) {
    if (!Dragging) return CompositeComponent::leftButtonUp(x, y, keys);
    endDrag();
    return true;
}

void SideWindow::endDrag() {
    Dragging = false;
    dropCapture();
    if (SideColumn* Column = column()) Column->notify(SIDECOLUMN_DRAGGING, NULL);
}

void SideWindow::mouseRest(int x, int y) { CompositeComponent::mouseRest(x, y); }

void SideWindow::cancelCapture() {
    const bool WasDragging = Dragging;
    Dragging = false;
    CompositeComponent::cancelCapture();
    if (WasDragging)
        if (SideColumn* Column = column()) Column->notify(SIDECOLUMN_DRAGGING, NULL);
}

bool SideWindow::queryHelp(int, int) {
    int Number = HELP_OPEN_CONTAINERS;
    if (Type == SKILLS_WINDOW) Number = HELP_SKILLS;
    else if (Type == BATTLE_WINDOW) Number = HELP_BATTLE;
    else if (Type == VIP_WINDOW) Number = HELP_VIP;
    else if (Type == TRADE_WINDOW) Number = HELP_TRADE;
    SetHelpNumber(Number);
    SetHelpSize(_Width, _Height);
    return true;
}
