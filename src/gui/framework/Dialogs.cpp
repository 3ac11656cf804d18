// The Dialog frame, and the table of the dialog events' builders (each group
// of dialogs registers its own: Dialogs.Entry.cpp, ConsoleWindow.cpp).
// Margins, button slots and frame pieces are the Dialog layout constants of
// SkinProperties: the body sits inside the margins; the buttons share one row
// above the bottom edge, right-aligned, under a separator line.
#include "gui/framework/Dialogs.h"

#include "gui/framework/ContextMenu.h"

#include "core/Assert.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/framework/Skins.h"

#include <algorithm>
#include <cstring>

namespace {

// The inside, the four edges, the four corners.
constexpr int FRAME_ENTRIES = 9;

}  // namespace

Dialog::Dialog(const char* _Caption, Component* _Dialog) : CompositeComponent(FRAME_ENTRIES) {
    create(_Caption, _Dialog);
}

void Dialog::create(const char* _Caption, Component* _Dialog) {
    // Should the reporter return, a dialog that is whole still comes out.
    ASSERT(_Caption!=NULL);
    if (_Caption == NULL) _Caption = "";
    ASSERT(strlen(_Caption)<100);
    ASSERT(_Dialog!=NULL);
    if (_Dialog == NULL) _Dialog = new CompositeComponent;
    CaptionText.assign(_Caption, std::min(strlen(_Caption), size_t(99)));
    Caption = new Label(CaptionText.c_str());
    addChild(Caption);
    Body = _Dialog;
    addChild(Body);
    setDefaultButton("Ok", CommandTarget(this, DIALOG_OK));
    setCancelButton("Cancel", CommandTarget(this, DIALOG_CANCEL));
}

Dialog::~Dialog() = default;

TextButton* Dialog::replaceButton(TextButton* Old, const char* Text, CommandTarget Target) {
    if (Old != NULL) deleteChild(Old);
    auto* button = new TextButton(Text, Target);
    // The buttons come first in the hit order: in a dialog cut to a small
    // window the body may reach under them, and they must stay clickable.
    addChildFirst(button);
    return button;
}

void Dialog::setDefaultButton(const char* Text, CommandTarget Target) {
    DefaultButton = replaceButton(DefaultButton, Text, Target);
    EnterTarget = Target;
    arrange();
}

void Dialog::setCancelButton(const char* Text, CommandTarget Target) {
    CancelButton = replaceButton(CancelButton, Text, Target);
    EscapeTarget = Target;
    arrange();
}

void Dialog::removeCancelButton() {
    ASSERT(CancelButton!=NULL);
    if (CancelButton == NULL) return;
    deleteChild(CancelButton);
    CancelButton = NULL;
    arrange();
}

void Dialog::setExtraButton(const char* Text, CommandTarget Target) {
    if (Text == NULL) {
        ASSERT(ExtraButton!=NULL);
        if (ExtraButton == NULL) return;
        deleteChild(ExtraButton);
        ExtraButton = NULL;
    } else {
        ExtraButton = replaceButton(ExtraButton, Text, Target);
    }
    arrange();
}

void Dialog::arrange() {
    if (Body == NULL || Caption == NULL) return;
    const auto& P = SkinProperties().Dialog;
    // The buttons go right to left in the order cancel, default, extra.
    TextButton* Row[3] = {CancelButton, DefaultButton, ExtraButton};
    int rowWidth = 0;
    for (TextButton* b : Row)
        if (b != NULL) rowWidth += b->getWidth() + (rowWidth > 0 ? P.ButtonGap : 0);
    NaturalWidth = std::max({Body->getWidth() + P.MarginLeft + P.MarginRight,
                             rowWidth + P.MarginLeft + P.MarginRight, Caption->getWidth() + 2 * P.CaptionSpace});
    NaturalHeight = Body->getHeight() + P.MarginTop + P.MarginBottom;
    // In an area too small for the whole dialog the frame takes the area's
    // size and the body is cut; the buttons follow the frame's edges.
    const int width = AreaWidth > 0 ? std::min(NaturalWidth, AreaWidth) : NaturalWidth;
    const int height = AreaHeight > 0 ? std::min(NaturalHeight, AreaHeight) : NaturalHeight;
    Component::setSize(width, height);

    Body->setPosition(P.MarginLeft + (NaturalWidth - P.MarginLeft - P.MarginRight - Body->getWidth()) / 2,
                      P.MarginTop);
    const int title = Skins[P.Title].height;
    Caption->setPosition((width - Caption->getWidth()) / 2, (title - Caption->getHeight()) / 2 + P.CaptionOffset);
    int x = width - P.MarginRight;
    for (TextButton* b : Row) {
        if (b == NULL) continue;
        x -= b->getWidth();
        b->setPosition(x, height - P.ButtonBottom - b->getHeight());
        x -= P.ButtonGap;
    }

    const SkinRect& tl = Skins[P.TopLeft];
    const SkinRect& tr = Skins[P.TopRight];
    const SkinRect& bl = Skins[P.BottomLeft];
    const SkinRect& br = Skins[P.BottomRight];
    const int left = Skins[P.Left].width, right = Skins[P.Right].width, bottom = Skins[P.Bottom].height;
    setDrawingEntry(0, P.Inside, left, title, std::max(width - left - right, 1), std::max(height - title - bottom, 1));
    setDrawingEntry(1, P.Title, tl.width, 0, std::max(width - tl.width - tr.width, 1), title);
    setDrawingEntry(2, P.Left, 0, tl.height, left, std::max(height - tl.height - bl.height, 1));
    setDrawingEntry(3, P.Right, width - right, tr.height, right, std::max(height - tr.height - br.height, 1));
    setDrawingEntry(4, P.Bottom, bl.width, height - bottom, std::max(width - bl.width - br.width, 1), bottom);
    setDrawingEntry(5, P.TopLeft, 0, 0);
    setDrawingEntry(6, P.TopRight, width - tr.width, 0);
    setDrawingEntry(7, P.BottomLeft, 0, height - bl.height);
    setDrawingEntry(8, P.BottomRight, width - br.width, height - br.height);
}

void Dialog::keepInside(int Width, int Height) {
    if (Width != AreaWidth || Height != AreaHeight) {
        AreaWidth = Width;
        AreaHeight = Height;
        arrange();
    }
    CompositeComponent::keepInside(Width, Height);
}

bool Dialog::coversBody(int x, int y) const {
    if (!isCut()) return false;
    const auto& P = SkinProperties().Dialog;
    if (x < _Width - P.MarginRight && y < _Height - P.MarginBottom) return false;
    for (const TextButton* b : {CancelButton, DefaultButton, ExtraButton})
        if (b != NULL && b->contains(x, y)) return false;
    return true;
}

bool Dialog::reachesChildren(int x, int y) const { return Capture != NULL || !coversBody(x, y); }

void Dialog::drawCover(int Surface, int x, int y) const {
    const auto& P = SkinProperties().Dialog;
    const SkinRect& inside = Skins[P.Inside];
    if (inside.width <= 0 || inside.height <= 0) return;
    const int left = Skins[P.Left].width, top = Skins[P.Title].height;
    // The texture continues the inside's tiling, which starts at (left, top).
    auto Cover = [&](int cx, int cy, int w, int h) {
        DrawSkinTiled(Surface, x + cx, y + cy, w, h, P.Inside, (cx - left) % inside.width, (cy - top) % inside.height);
    };
    const int right = _Width - P.MarginRight, bottom = _Height - P.MarginBottom;
    Cover(right, top, _Width - right, bottom - top);
    Cover(left, bottom, _Width - left, _Height - bottom);
}

void Dialog::draw(int Surface, int x, int y) {
    // The inside, the body, then the frame over it: a cut body ends at the
    // frame and the margins, not beyond.
    drawDrawingEntries(Surface, x, y, 0, 0);
    if (Body != NULL) Body->draw(Surface, x + Body->getX(), y + Body->getY());
    if (isCut()) drawCover(Surface, x, y);
    drawDrawingEntries(Surface, x, y, 1, FRAME_ENTRIES - 1);
    // The separator: a dark line over a light one, between the body and the buttons.
    const auto& P = SkinProperties().Dialog;
    const int left = P.MarginLeft / 2, width = _Width - P.MarginLeft;
    const int line = y + _Height - P.SeparatorBottom;
    const SkinColour &dark = P.SeparatorDark, &light = P.SeparatorLight;
    FillRect(Surface, x + left, line, width, 1, dark.Red, dark.Green, dark.Blue);
    FillRect(Surface, x + left, line + 1, width, 1, light.Red, light.Green, light.Blue);
    for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling())
        if (c != Body) c->draw(Surface, x + c->getX(), y + c->getY());
}

void Dialog::activity() { ActivityTarget.send(); }

bool Dialog::leftButtonDown(int x, int y, int keys) {
    activity();
    if (reachesChildren(x, y) && CompositeComponent::leftButtonDown(x, y, keys)) return true;
    if (y >= 0 && y < Skins[SkinProperties().Dialog.Title].height && x >= 0 && x < _Width) {
        Dragging = true;
        GrabX = x;
        GrabY = y;
    }
    return true;
}

bool Dialog::mouseMove(int x, int y) {
    if (!Dragging) {
        if (reachesChildren(x, y)) CompositeComponent::mouseMove(x, y);
        return true;
    }
    int newX = _X + x - GrabX, newY = _Y + y - GrabY;
    // The dialog stays wholly on the screen (the root's area).
    if (const Component* root = GetRootComponent()) {
        newX = std::max(0, std::min(newX, root->getWidth() - _Width));
        newY = std::max(0, std::min(newY, root->getHeight() - _Height));
    }
    setPosition(newX, newY);
    return true;
}

bool Dialog::leftButtonUp(int x, int y, int keys) {
    if (Dragging) {
        Dragging = false;
        return true;
    }
    if (reachesChildren(x, y)) CompositeComponent::leftButtonUp(x, y, keys);
    return true;
}

bool Dialog::leftDoubleClick(int x, int y, int keys) {
    activity();
    if (reachesChildren(x, y)) CompositeComponent::leftDoubleClick(x, y, keys);
    return true;
}

bool Dialog::rightButtonUp(int x, int y, int keys) {
    activity();
    if (reachesChildren(x, y)) CompositeComponent::rightButtonUp(x, y, keys);
    return true;
}

bool Dialog::mouseRepeat(int x, int y, int code) {
    activity();
    if (reachesChildren(x, y)) CompositeComponent::mouseRepeat(x, y, code);
    return true;
}

void Dialog::keyPress(int code) {
    activity();
    if (code == keys::ENTER && DefaultButton != NULL && EnterTarget.Target != NULL) {
        EnterTarget.send();
    } else if (code == keys::ESCAPE) {
        EscapeTarget.send();
    } else if (Body != NULL) {
        Body->keyPress(code);
    }
}

void Dialog::command(int) { SetInputMode(INPUT_IDLE); }

void FitButtonToCaption(TextButton* Button) {
    if (Button == NULL) return;
    const int Needed = GetTextWidth(SkinProperties().Buttons.Font, Button->getText().c_str()) +
                       SkinProperties().StartView.CaptionPadding;
    if (Button->getWidth() < Needed) Button->setSize(Needed, Button->getHeight());
}

// ---- The builders of the dialog events ---------------------------------------------------------

namespace {
DialogBuilder Builders[MESSAGE_STARTPATCHER + 1] = {};
MenuBuilder MenuBuilders[MESSAGE_STARTPATCHER + 1] = {};

void RegisterAllDialogs() {
    static bool Registered = false;
    if (Registered) return;
    Registered = true;
    RegisterEntryDialogs();
    RegisterConsoleDialogs();
    RegisterOptionsDialogs();
    RegisterHotkeyDialog();
    RegisterOutfitDialog();
    RegisterTextDialogs();
    RegisterBuddyDialogs();
    RegisterBanishmentDialog();
    RegisterInfoDialog();
    RegisterIgnoreDialog();
    RegisterHelpDialogs();
    RegisterAutomapDialogs();
    RegisterBugReportDialog();
    RegisterContextMenus();
    RegisterWindowHooks();
}
}  // namespace

void RegisterDialogBuilder(int Type, DialogBuilder Builder) {
    ASSERT(In(Type,MESSAGE_NONE,MESSAGE_STARTPATCHER));
    if (In(Type, MESSAGE_NONE, MESSAGE_STARTPATCHER)) Builders[Type] = Builder;
}

void RegisterMenuBuilder(int Type, MenuBuilder Builder) {
    ASSERT(In(Type,MESSAGE_NONE,MESSAGE_STARTPATCHER));
    if (In(Type, MESSAGE_NONE, MESSAGE_STARTPATCHER)) MenuBuilders[Type] = Builder;
}

bool CarryOutDialogEvent(Event& E) {
    RegisterAllDialogs();
    const char* data = EventDataIsText(E.Type) ? EventText(E.Data) : "";
    const char* extra = EventExtraIsText(E.Type) ? EventText(E.Extra) : "";
    DialogEvent Event{E, data != NULL ? data : "", extra != NULL ? extra : ""};
    const DialogBuilder Builder = In(E.Type, MESSAGE_NONE, MESSAGE_STARTPATCHER) ? Builders[E.Type] : NULL;
    Component* D = Builder != NULL ? Builder(Event) : NULL;
    const MenuBuilder Menu = In(E.Type, MESSAGE_NONE, MESSAGE_STARTPATCHER) ? MenuBuilders[E.Type] : NULL;
    if (D == NULL && Menu != NULL) D = Menu(E.Data);
    // Texts and records the event still holds (the release hook frees them).
    const int Type = E.Type;
    FreeEvent(E);
    // Every event that comes here was posted by this program for a dialog or
    // a menu: one that nothing builds is a fault of the program, not a quiet
    // nothing.
    if (Builder == NULL && Menu == NULL) {
        ASSERT_PARAM(false, Type);
        return false;
    }
    if (D == NULL) return false;
    SetModalWindow(D);
    return true;
}
