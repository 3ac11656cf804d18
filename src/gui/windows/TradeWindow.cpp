#include "gui/windows/TradeWindow.h"

#include "core/Assert.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/windows/ObjectSlot.h"
#include "gui/windows/SideColumn.h"
#include "gui/framework/Skins.h"
#include "net/Commands.h"
#include "world/Creatures.h"
#include "world/Inventory.h"

#include <algorithm>
#include <string>

namespace {

constexpr int SLOT_SKIN = 121;
constexpr int GAP = 4;  // between the two sides, and around the button row

// What the player offers is captioned with his own name, the other side
// with the partner's.
const char* OwnCaptionText() {
    const Creature* Player = GetPlayerID() != 0 ? FindCreature(GetPlayerID()) : NULL;
    if (Player != NULL) return Player->Name;
    return GetOwnOfferCount() > 0 ? GetOwnOfferName() : "";
}

}  // namespace

// ---- Body --------------------------------------------------------------------------------------

TradeBody::TradeBody() : CompositeComponent(0) {
    OwnName = new Label("");
    CounterName = new Label("");
    addChild(OwnName);
    addChild(CounterName);
    Cancel = new TextButton("Cancel", CommandTarget(this, TRADE_CANCEL));
    Cancel->setTooltip("Cancel offer");
    addChild(Cancel);
    refresh();
}

int TradeBody::halfWidth() const { return std::max((_Width - GAP) / 2, 1); }

int TradeBody::offersTop() const { return MARGIN + OwnName->getHeight() + 2; }

int TradeBody::rows() const {
    const int Most = std::max(GetOwnOfferCount(), GetCounterOfferCount());
    return std::max((Most + SLOTS_PER_ROW - 1) / SLOTS_PER_ROW, 1);
}

int TradeBody::getFullHeight() const {
    return offersTop() + rows() * SLOT_PITCH + GAP + Cancel->getHeight() + MARGIN;
}

void TradeBody::refresh() {
    OwnName->setText(OwnCaptionText(), false);
    HasCounter = GetCounterOfferCount() > 0;
    CounterName->setText(HasCounter ? GetCounterOfferName() : "", false);
    if (HasCounter) {
        Cancel->setText("Reject");
        Cancel->setTooltip("Reject offer");
        if (Accept == NULL && !Accepted) {
            // The partner's offer is there: it can be accepted.
            Accept = new TextButton("Accept", CommandTarget(this, TRADE_ACCEPT));
            Accept->setTooltip("Accept offer");
            addChild(Accept);
        }
    } else {
        Cancel->setText("Cancel");
        Cancel->setTooltip("Cancel offer");
    }
    layout();
}

void TradeBody::restartOffer() {
    if (Accepted) {
        Accepted = false;
        removeChild(Wait);
        delete Wait;
        Wait = NULL;
    }
}

void TradeBody::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    layout();
}

void TradeBody::layout() {
    const int Half = halfWidth();
    // Names longer than their side end in "...".
    const int NameWidth = std::max(Half - MARGIN, 1);
    for (Label* Name : {OwnName, CounterName}) {
        const std::string Text = Name->getText();
        Name->setSize(NameWidth, Name->getHeight());
        Name->setText(Text.c_str(), true);
    }
    OwnName->setPosition(MARGIN, MARGIN);
    CounterName->setPosition(Half + GAP, MARGIN);
    const int ButtonY = offersTop() + rows() * SLOT_PITCH + GAP;
    const int ButtonWidth = std::max(Half - MARGIN, 1);
    Cancel->setSize(ButtonWidth, Cancel->getHeight());
    Cancel->setPosition(MARGIN, ButtonY);
    if (Accept != NULL) {
        Accept->setSize(ButtonWidth, Accept->getHeight());
        Accept->setPosition(Half + GAP, ButtonY);
    }
    if (Wait != NULL) Wait->setPosition(Half + GAP, ButtonY);
}

bool TradeBody::objectAt(int x, int y, int& Side, int& Index) const {
    const int Half = halfWidth();
    const int Top = offersTop();
    if (y < Top) return false;
    const int Row = (y - Top) / SLOT_PITCH;
    for (Side = 0; Side < 2; ++Side) {
        const int Left = Side == 0 ? MARGIN : Half + GAP;
        const int Column = (x - Left) / SLOT_PITCH;
        if (x < Left || Column >= SLOTS_PER_ROW) continue;
        if ((x - Left) % SLOT_PITCH >= ObjectSlot::SIZE || (y - Top) % SLOT_PITCH >= ObjectSlot::SIZE) return false;
        Index = Row * SLOTS_PER_ROW + Column;
        return Index < (Side == 0 ? GetOwnOfferCount() : GetCounterOfferCount());
    }
    return false;
}

void TradeBody::draw(int Surface, int x, int y) {
    const int Half = halfWidth();
    const int Top = offersTop();
    const ClipRect Clip{x, y, _Width, _Height};
    for (int Side = 0; Side < 2; ++Side) {
        const int Count = Side == 0 ? GetOwnOfferCount() : GetCounterOfferCount();
        const int Left = x + (Side == 0 ? MARGIN : Half + GAP);
        for (int i = 0; i < rows() * SLOTS_PER_ROW; ++i) {
            const int sx = Left + (i % SLOTS_PER_ROW) * SLOT_PITCH, sy = y + Top + (i / SLOTS_PER_ROW) * SLOT_PITCH;
            DrawSkinTiledClipped(Surface, sx, sy, ObjectSlot::SIZE, ObjectSlot::SIZE, SLOT_SKIN, 0, 0, Clip.X, Clip.Y,
                                 Clip.Width, Clip.Height);
            if (i >= Count) continue;
            const ObjectInstance Obj = Side == 0 ? GetOwnOfferObject(i) : GetCounterOfferObject(i);
            const ClipRect Inside{sx + 1, sy + 1, ObjectSlot::SIZE - 2,
                                  std::max(std::min(ObjectSlot::SIZE - 2, y + _Height - sy - 1), 0)};
            if (Inside.Height > 0)
                DrawObjectInBox(Surface, Obj, sx + 1, sy + 1, ObjectSlot::SIZE - 2, Inside, 1, 224, 224, 224,
                                RIGHT_ALIGN, false);
        }
    }
    drawChildren(Surface, x, y);
}

// A click on an offered object looks at it.
bool TradeBody::leftButtonUp(int x, int y, int keys) {
    int Side = 0, Index = 0;
    if (objectAt(x, y, Side, Index)) {
        SendLookAtTrade(Side, Index);
        return true;
    }
    return CompositeComponent::leftButtonUp(x, y, keys);
}

bool TradeBody::rightButtonUp(int x, int y, int keys) {
    int Side = 0, Index = 0;
    if (objectAt(x, y, Side, Index)) {
        SendLookAtTrade(Side, Index);
        return true;
    }
    return CompositeComponent::rightButtonUp(x, y, keys);
}

void TradeBody::command(int number) {
    switch (number) {
    case TRADE_ACCEPT: {
        ASSERT(Accept!=NULL);
        if (Accept == NULL) return;
        SendAcceptTrade();
        Accepted = true;
        // The button gives way to the note; it is the sender of this very
        // command, so it goes once the command is over.
        removeChild(Accept);
        Component* Gone = Accept;
        Accept = NULL;
        Wait = new Label("Please wait for \nyour partner to accept.");
        addChild(Wait);
        layout();
        delete Gone;
        break;
    }
    case TRADE_CANCEL: SendCloseTrade(); break;
    default: break;
    }
}

// ---- Window ------------------------------------------------------------------------------------

TradeWindow::TradeWindow() : SideWindow(TRADE_WINDOW, new TradeBody()) {
    Body = static_cast<TradeBody*>(getBody());
    setCaption("Trade");
}

void TradeWindow::onClose() { SendCloseTrade(); }

// ---- The messages' hooks ------------------------------------------------------------------------

void OpenTradeWindow() {
    // A second own offer (the server may send one while the trade is open)
    // replaces the first in the window that shows it: never a second window.
    if (auto* Shown = static_cast<TradeWindow*>(FindSideWindow(TRADE_WINDOW))) {
        Shown->getTradeBody()->restartOffer();
        RefreshTradeWindow();
        return;
    }
    auto* Window = new TradeWindow();
    TradeBody* Body = Window->getTradeBody();
    const int Width = std::max(GetGameColumn() != NULL ? GetGameColumn()->getWidth() : 0, Window->getWidth());
    Body->setSize(std::max(Width - SideWindow::frameWidth(), 1), Body->getFullHeight());
    Window->setSize(Width, SideWindow::frameHeight() + Body->getFullHeight());
    AddSideWindow(Window);
}

void RefreshTradeWindow() {
    auto* Window = static_cast<TradeWindow*>(FindSideWindow(TRADE_WINDOW));
    if (Window == NULL) return;
    TradeBody* Body = Window->getTradeBody();
    Body->refresh();
    // More rows of objects: the window grows (the column squeezes others).
    if (!Window->IsMinimized() && Body->getHeight() < Body->getFullHeight())
        Window->setSize(Window->getWidth(), SideWindow::frameHeight() + Body->getFullHeight());
}

void CloseTradeWindow() { RemoveSideWindow(TRADE_WINDOW); }
