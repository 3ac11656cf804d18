#include "gui/windows/SideColumn.h"

#include "config/Preferences.h"
#include "gui/framework/Skins.h"

#include <algorithm>

namespace {

// Lives while the game view does.
SideColumn* GameColumn = NULL;

SideWindow* AsWindow(Component* C) { return static_cast<SideWindow*>(C); }

bool Reopens(int Type) { return Type == SKILLS_WINDOW || Type == BATTLE_WINDOW || Type == VIP_WINDOW; }

}  // namespace

SideColumn::SideColumn() : CompositeComponent(9) {}

SideColumn::~SideColumn() {
    if (GameColumn == this) GameColumn = NULL;
    recordOpenWindows();
}

// The standard windows open now, in their order, come back in the next game.
void SideColumn::recordOpenWindows() const {
    ClearOpenDialogs();
    for (Component* c = FirstChild; c != NULL; c = c->getNextSibling())
        if (Reopens(AsWindow(c)->getType())) AddOpenDialog(AsWindow(c)->getType());
}

SideWindow* SideColumn::getWindow(int Index) const {
    Component* c = FirstChild;
    for (int i = 0; c != NULL && i < Index; ++i) c = c->getNextSibling();
    return c != NULL && Index >= 0 ? AsWindow(c) : NULL;
}

SideWindow* SideColumn::findWindow(int Type) const {
    for (Component* c = FirstChild; c != NULL; c = c->getNextSibling())
        if (AsWindow(c)->getType() == Type) return AsWindow(c);
    return NULL;
}

int SideColumn::usedHeight() const {
    int Sum = 0;
    for (Component* c = FirstChild; c != NULL; c = c->getNextSibling()) Sum += c->getHeight();
    return Sum;
}

// ---- Notifications ------------------------------------------------------------------------------

void SideColumn::notify(int Code, SideWindow* Window) {
    // Sizes the column sets while it handles one notification come back as
    // notifications of their own; they are the column's doing and ignored.
    if (Handling) return;
    SideWindow* const Work = Window;
    Handling = true;
    switch (Code) {
    case SIDECOLUMN_DRAGGING:
        if (Window != NULL) {
            RecordAllowed = false;
            reorder(Window);
            restack(Window);
        } else {
            RecordAllowed = true;
            restack(NULL);
        }
        break;
    case SIDECOLUMN_GREW:
        restack(NULL);
        squeeze();
        break;
    case SIDECOLUMN_SHRANK:
        ASSERT(Work!=NULL);
        restack(NULL);
        if (Work != NULL) returnFreedHeight(Work);
        break;
    case SIDECOLUMN_SETTLED:
        restack(NULL);
        if (RecordAllowed) RecordedFree = _Height - usedHeight();
        break;
    case SIDECOLUMN_ADD:
        ASSERT(Work!=NULL);
        if (Work != NULL) makeRoom(Work);
        RecordedFree = _Height - usedHeight();
        break;
    case SIDECOLUMN_CHANGED: restack(NULL); break;
    default: ASSERT(false); break;
    }
    Handling = false;
    arrange();
}

// One below the other in list order; a window being dragged stays where
// the pointer holds it, but its place in the stack is kept free.
void SideColumn::restack(const SideWindow* Dragged) {
    int y = 0;
    for (Component* c = FirstChild; c != NULL; c = c->getNextSibling()) {
        if (c != Dragged && (c->getX() != 0 || c->getY() != y)) c->setPosition(0, y);
        y += c->getHeight();
    }
}

// The dragged window passes a neighbour once it crosses that neighbour's
// middle.
void SideColumn::reorder(SideWindow* Dragged) {
    if (!isChild(Dragged)) return;
    Component* Before = Dragged->getPreviousSibling();
    Component* After = Dragged->getNextSibling();
    if (Before != NULL && Dragged->getY() < Before->getY() + Before->getHeight() / 2)
        swapChildren(Before, Dragged);
    else if (After != NULL && Dragged->getY() + Dragged->getHeight() > After->getY() + After->getHeight() / 2)
        swapChildren(Dragged, After);
}

// Takes what the windows overflow from the lowest windows that can still
// shrink; at their minimum heights the overflow stays.
void SideColumn::squeeze() {
    int Excess = usedHeight() - _Height;
    while (Excess > 0) {
        SideWindow* Lowest = NULL;
        for (Component* c = getLastChild(); c != NULL; c = c->getPreviousSibling())
            if (c->getHeight() > c->getMinimumHeight()) {
                Lowest = AsWindow(c);
                break;
            }
        if (Lowest == NULL) break;
        const int DeltaHeight = std::min(Excess, Lowest->getHeight() - Lowest->getMinimumHeight());
        ASSERT(DeltaHeight>0);
        if (DeltaHeight <= 0) break;
        Lowest->setSize(Lowest->getWidth(), Lowest->getHeight() - DeltaHeight);
        Excess -= DeltaHeight;
        restack(NULL);
    }
}

// Hands the height freed since the last settled layout to the windows below
// the shrunk one, from the last upwards, each up to its wanted height.
void SideColumn::returnFreedHeight(SideWindow* Shrunk) {
    shareOut((_Height - usedHeight()) - RecordedFree, Shrunk);
    restack(NULL);
}

// Grows the windows from the last upwards, each up to its wanted height,
// until Left is used up or the window Stop is reached.
void SideColumn::shareOut(int Left, const Component* Stop) {
    for (Component* c = getLastChild(); c != NULL && c != Stop && Left > 0; c = c->getPreviousSibling()) {
        SideWindow* W = AsWindow(c);
        const int Room = W->getWantedHeight() - W->getHeight();
        if (Room <= 0) continue;
        const int Before = W->getHeight();
        W->setSize(W->getWidth(), Before + std::min(Room, Left));
        Left -= W->getHeight() - Before;
    }
}

void SideColumn::makeRoom(SideWindow* New) {
    if (New->getParent() != NULL) return;
    int Free = _Height - usedHeight();
    const int Own = New->getHeight();
    if (Own > Free) {
        const int Target = std::max(New->getMinimumHeight(), Free);
        Component* c = getLastChild();
        while (c != NULL && Free < Target) {
            Component* Above = c->getPreviousSibling();
            SideWindow* W = AsWindow(c);
            const int Need = Target - Free;
            if (W->getHeight() - W->getMinimumHeight() >= Need) {
                W->setSize(W->getWidth(), W->getHeight() - Need);
                Free += Need;
            } else {
                // It cannot give enough without going below its minimum.
                Free += W->getHeight();
                W->onClose();
                deleteChild(W);
            }
            c = Above;
        }
    }
    addChild(New);
    New->setSize(_Width, std::min(std::max(Free, 0), Own));
    restack(NULL);
}

// ---- Closing ------------------------------------------------------------------------------------------

void SideColumn::closeWindow(SideWindow* Window) {
    if (Window == NULL || !isChild(Window)) return;
    Window->onClose();
    removeWindow(Window);
}

void SideColumn::removeWindow(SideWindow* Window) {
    if (Window == NULL || !isChild(Window)) return;
    const bool Nested = Handling;
    Handling = true;
    Component* Above = Window->getPreviousSibling();
    deleteChild(Window);
    restack(NULL);
    // Its whole height goes to the windows that were below it.
    shareOut(_Height - usedHeight() - (Nested ? 0 : std::max(RecordedFree, 0)), Above);
    restack(NULL);
    Handling = Nested;
    if (!Nested) RecordedFree = _Height - usedHeight();
    arrange();
}

// ---- Size and drawing -----------------------------------------------------------------------------------

void SideColumn::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    Handling = true;
    for (Component* c = FirstChild; c != NULL; c = c->getNextSibling()) c->setSize(Width, c->getHeight());
    restack(NULL);
    if (usedHeight() > _Height) {
        squeeze();
    } else {
        // A taller column gives the squeezed windows their height back.
        shareOut(_Height - usedHeight(), NULL);
        restack(NULL);
    }
    Handling = false;
    RecordedFree = _Height - usedHeight();
    arrange();
}

void SideColumn::arrange() {
    const int Top = std::min(usedHeight(), _Height);
    const int H = _Height - Top, W = _Width;
    for (int i = 0; i < 9; ++i) setDrawingEntry(i, 0, 0, 0);
    // The empty place below the last window: the window border around the
    // background texture.
    if (H >= 4 && W >= 4) {
        const int Edge = Skins[SKIN_BORDER_LEFT].width, Texture = std::max(Skins[SKIN_BACKGROUND].height, 1);
        // The texture continues the windows' above it.
        setBorderEntries(0, SKIN_BACKGROUND, 0, Top, W, H, (Top + Edge) % Texture);
    }
}

// ---- The game's column --------------------------------------------------------------------------------

void SetGameColumn(SideColumn* Column) { GameColumn = Column; }
SideColumn* GetGameColumn() { return GameColumn; }

void AddSideWindow(SideWindow* Window) {
    if (Window == NULL) return;
    if (GameColumn == NULL) {
        delete Window;
        return;
    }
    GameColumn->notify(SIDECOLUMN_ADD, Window);
    if (Window->getParent() == NULL) delete Window;  // refused (a notification was being handled)
}

SideWindow* FindSideWindow(int Type) { return GameColumn != NULL ? GameColumn->findWindow(Type) : NULL; }

void CloseSideWindow(int Type) {
    if (SideWindow* W = FindSideWindow(Type)) GameColumn->closeWindow(W);
}

void RemoveSideWindow(int Type) {
    if (SideWindow* W = FindSideWindow(Type)) GameColumn->removeWindow(W);
}
