// Components: the tree, drawing lists, mouse dispatch with capture, layout.
// Skin drawing, hotkeys, timers and the frame are in GUI.Services.cpp.
#include "gui/framework/GUI.h"

#include "gui/framework/Skins.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

void CommandTarget::send() const {
    if (Target != NULL) Target->command(Number);
}

// ==== Component: the leaf defaults ===============================================

Component::Component(int DrawingEntries) : DrawingList(size_t(std::max(DrawingEntries, 0))) {}

Component::~Component() { ForgetComponent(this); }

void Component::addChildFirst(Component*) { ASSERT(false); }
void Component::addChild(Component*) { ASSERT(false); }
void Component::removeChild(Component*) { ASSERT(false); }
void Component::deleteChild(Component*) { ASSERT(false); }
void Component::insertChildAfter(Component*, Component*) { ASSERT(false); }
void Component::swapChildren(Component*, Component*) { ASSERT(false); }
bool Component::isChild(const Component*) const {
    ASSERT(false);
    return false;
}
Component* Component::getFirstChild() const {
    ASSERT(false);
    return NULL;
}
Component* Component::getLastChild() const {
    ASSERT(false);
    return NULL;
}
Component* Component::getNextSibling() const { return NextSibling; }

Component* Component::getPreviousSibling() const {
    ASSERT(Parent!=NULL);
    if (Parent == NULL) return NULL;
    for (Component* c = Parent->getFirstChild(); c != NULL; c = c->NextSibling)
        if (c->NextSibling == this) return c;
    return NULL;
}

CompositeComponent* Component::getParent() const { return Parent; }

void Component::setSize(int _Width, int _Height) {
    ASSERT(_Width>=0);
    ASSERT(_Height>=0);
    this->_Width = std::max(_Width, 0);
    this->_Height = std::max(_Height, 0);
}

void Component::setPosition(int x, int y) {
    _X = x;
    _Y = y;
}

int Component::getMinimumWidth() const { return 0; }
int Component::getMinimumHeight() const { return 0; }

void Component::draw(int Surface, int x, int y) { drawDrawingList(Surface, x, y); }
void Component::arrange() {}

bool Component::mouseMove(int, int) { return true; }
bool Component::leftButtonDown(int, int, int) { return true; }
bool Component::leftButtonUp(int, int, int) { return true; }
bool Component::leftDoubleClick(int x, int y, int keys) { return leftButtonDown(x, y, keys); }
bool Component::rightButtonUp(int, int, int) { return true; }
bool Component::mouseRepeat(int, int, int) { return true; }
void Component::mouseRest(int, int) {}

bool Component::queryHelp(int, int) {
    SetHelpNumber(0);
    return false;
}

void Component::keyPress(int) {}
void Component::command(int) {}
void Component::parentMoved() {}

void Component::keepInside(int AreaWidth, int AreaHeight) {
    const int x = std::max(0, std::min(_X, AreaWidth - _Width));
    const int y = std::max(0, std::min(_Y, AreaHeight - _Height));
    if (x != _X || y != _Y) setPosition(x, y);
}

void Component::setCapture(Component*) {
    if (Parent != NULL) Parent->setCapture(this);
}
void Component::releaseCapture(Component*) {
    if (Parent != NULL) Parent->releaseCapture(this);
}
void Component::cancelCapture() {}

void Component::takeCapture() {
    if (Parent != NULL) Parent->setCapture(this);
}
void Component::dropCapture() {
    if (Parent != NULL && Parent->getCapture() == this) Parent->releaseCapture(this);
}

void Component::getAbsolutePosition(int& x, int& y) const {
    x = 0;
    y = 0;
    for (const Component* c = this; c != NULL; c = c->Parent) {
        x += c->_X;
        y += c->_Y;
    }
}

const DrawingEntry& Component::getDrawingEntry(int i) const {
    static const DrawingEntry None;
    ASSERT(In(i,0,(int)DrawingList.size()-1));
    if (!In(i, 0, int(DrawingList.size()) - 1)) return None;
    return DrawingList[size_t(i)];
}

void Component::setDrawingEntry(int i, int skin, int x, int y, int width, int height, int offsetx, int offsety) {
    ASSERT(In(i,0,(int)DrawingList.size()-1));
    if (!In(i, 0, int(DrawingList.size()) - 1)) return;
    DrawingList[size_t(i)] = DrawingEntry{skin, x, y, width, height, offsetx, offsety};
}

void Component::setEdgeEntries(int First, int Top, int Left, int Bottom, int Right) {
    const int W = _Width, H = _Height;
    setDrawingEntry(First, Top, 0, 0, W, Skins[Top].height);
    setDrawingEntry(First + 1, Left, 0, 0, Skins[Left].width, H);
    setDrawingEntry(First + 2, Bottom, 0, H - Skins[Bottom].height, W, Skins[Bottom].height);
    setDrawingEntry(First + 3, Right, W - Skins[Right].width, 0, Skins[Right].width, H);
}

void Component::setBorderEntries(int First, int Inside, int x, int y, int Width, int Height, int InsideOffsetY) {
    const int E = Skins[SKIN_BORDER_LEFT].width;
    const int In = std::max(Width - 2 * E, 1), Tall = std::max(Height - 2 * E, 1);
    setDrawingEntry(First, Inside, x + E, y + E, In, Tall, 0, InsideOffsetY);
    setDrawingEntry(First + 1, SKIN_BORDER_TOP, x + E, y, In, E);
    setDrawingEntry(First + 2, SKIN_BORDER_BOTTOM, x + E, y + Height - E, In, E);
    setDrawingEntry(First + 3, SKIN_BORDER_LEFT, x, y + E, E, Tall);
    setDrawingEntry(First + 4, SKIN_BORDER_RIGHT, x + Width - E, y + E, E, Tall);
    setDrawingEntry(First + 5, SKIN_BORDER_TOP_LEFT, x, y);
    setDrawingEntry(First + 6, SKIN_BORDER_TOP_RIGHT, x + Width - E, y);
    setDrawingEntry(First + 7, SKIN_BORDER_BOTTOM_LEFT, x, y + Height - E);
    setDrawingEntry(First + 8, SKIN_BORDER_BOTTOM_RIGHT, x + Width - E, y + Height - E);
}

void Component::drawDrawingEntries(int Surface, int x, int y, int First, int Last) const {
    First = std::max(First, 0);
    Last = std::min(Last, int(DrawingList.size()) - 1);
    for (size_t i = size_t(First); int(i) <= Last; ++i) {
        if (DrawingList[i].skin == 0) continue;
        ASSERT(DrawingList[i].skin<NumberOfSkins);
        if (DrawingList[i].skin < 0 || DrawingList[i].skin >= NumberOfSkins) continue;
        // Whatever lies off the surface (a window larger than a small
        // screen, a dialog dragged to an edge) is cut away by the surface.
        if (DrawingList[i].width != 0 || DrawingList[i].height != 0) {
            DrawSkinTiled(Surface, x + DrawingList[i].x, y + DrawingList[i].y, DrawingList[i].width,
                          DrawingList[i].height, DrawingList[i].skin, DrawingList[i].offsetx, DrawingList[i].offsety);
        } else {
            const SkinRect& s = Skins[DrawingList[i].skin];
            DrawSkinTiled(Surface, x + DrawingList[i].x, y + DrawingList[i].y, s.width, s.height,
                          DrawingList[i].skin, 0, 0);
        }
    }
}

// ==== CompositeComponent: the tree ===================================================

CompositeComponent::~CompositeComponent() {
    Capture = NULL;
    while (FirstChild != NULL) {
        Component* c = FirstChild;
        FirstChild = c->NextSibling;
        c->Parent = NULL;
        c->NextSibling = NULL;
        delete c;
    }
}

void CompositeComponent::addChildFirst(Component* Child) {
    ASSERT(Child!=NULL);
    if (Child == NULL) return;
    ASSERT(Child->Parent==NULL);
    if (Child->Parent != NULL || Child == this) return;
    Child->NextSibling = FirstChild;
    FirstChild = Child;
    Child->Parent = this;
}

void CompositeComponent::addChild(Component* Child) {
    ASSERT(Child!=NULL);
    if (Child == NULL) return;
    ASSERT(Child->Parent==NULL);
    if (Child->Parent != NULL || Child == this) return;
    Child->NextSibling = NULL;
    Child->Parent = this;
    Component* last = getLastChild();
    if (last == NULL)
        FirstChild = Child;
    else
        last->NextSibling = Child;
}

void CompositeComponent::removeChild(Component* Child) {
    ASSERT(Child!=NULL);
    if (Child == NULL) return;
    ASSERT(Child->Parent==this);
    if (Child->Parent != this) return;
    if (Capture == Child) {
        Child->cancelCapture();
        Child->releaseCapture(NULL);
        Capture = NULL;  // also when the child's own release did not come back here
    }
    Component* Search = FirstChild;
    Component* Before = NULL;
    while (Search != NULL && Search != Child) {
        Before = Search;
        Search = Search->NextSibling;
    }
    ASSERT(Search!=NULL);
    if (Search == NULL) return;
    if (Before == NULL)
        FirstChild = Child->NextSibling;
    else
        Before->NextSibling = Child->NextSibling;
    Child->Parent = NULL;
    Child->NextSibling = NULL;
}

void CompositeComponent::deleteChild(Component* Child) {
    ASSERT(Child!=NULL);
    if (Child == NULL) return;
    ASSERT(Child->Parent==this);
    if (Child->Parent != this) return;
    removeChild(Child);
    if (Child->Parent == NULL) delete Child;
}

void CompositeComponent::insertChildAfter(Component* After, Component* Child) {
    if (After == NULL) {
        addChildFirst(Child);
        return;
    }
    ASSERT(Child!=NULL);
    if (Child == NULL) return;
    ASSERT(Child->Parent==NULL);
    if (Child->Parent != NULL || Child == this) return;
    Component* Search = FirstChild;
    while (Search != NULL && Search != After) Search = Search->NextSibling;
    ASSERT(Search!=NULL);
    if (Search == NULL) return;
    Child->NextSibling = After->NextSibling;
    After->NextSibling = Child;
    Child->Parent = this;
}

void CompositeComponent::swapChildren(Component* Child1, Component* Child2) {
    ASSERT(Child1!=NULL);
    ASSERT(Child2!=NULL);
    if (Child1 == NULL || Child2 == NULL) return;
    ASSERT(Child1->Parent==this);
    ASSERT(Child2->Parent==this);
    if (Child1->Parent != this || Child2->Parent != this) return;
    ASSERT(FirstChild!=NULL);
    if (FirstChild == NULL || Child1 == Child2) return;
    // The list as an array of places: swapping two places is simple and
    // keeps every other link as it was.
    std::vector<Component*> order;
    Component* Search1 = NULL;
    Component* Search2 = NULL;
    Component* Before1 = NULL;
    Component* Before2 = NULL;
    Component* previous = NULL;
    for (Component* c = FirstChild; c != NULL; c = c->NextSibling) {
        if (c == Child1) Search1 = c, Before1 = previous;
        if (c == Child2) Search2 = c, Before2 = previous;
        order.push_back(c);
        previous = c;
    }
    ASSERT(Search1!=NULL);
    ASSERT(Search2!=NULL);
    if (Search1 == NULL || Search2 == NULL) return;
    ASSERT(Before1!=Before2);
    if (Before1 == Before2) return;
    std::iter_swap(std::find(order.begin(), order.end(), Child1), std::find(order.begin(), order.end(), Child2));
    FirstChild = order.front();
    for (size_t i = 0; i < order.size(); ++i) order[i]->NextSibling = i + 1 < order.size() ? order[i + 1] : NULL;
}

bool CompositeComponent::isChild(const Component* Child) const {
    for (Component* c = FirstChild; c != NULL; c = c->NextSibling)
        if (c == Child) return true;
    return false;
}

Component* CompositeComponent::getFirstChild() const { return FirstChild; }

Component* CompositeComponent::getLastChild() const {
    Component* c = FirstChild;
    while (c != NULL && c->NextSibling != NULL) c = c->NextSibling;
    return c;
}

int CompositeComponent::countChildren() const {
    int n = 0;
    for (Component* c = FirstChild; c != NULL; c = c->NextSibling) ++n;
    return n;
}

Component* CompositeComponent::getCapture() const { return Capture; }

void CompositeComponent::setPosition(int x, int y) {
    Component::setPosition(x, y);
    for (Component* c = FirstChild; c != NULL; c = c->NextSibling) c->parentMoved();
}

void CompositeComponent::draw(int Surface, int x, int y) {
    drawDrawingList(Surface, x, y);
    drawChildren(Surface, x, y);
}

void CompositeComponent::drawChildren(int Surface, int x, int y) {
    for (Component* c = FirstChild; c != NULL; c = c->NextSibling) c->draw(Surface, x + c->_X, y + c->_Y);
}

void CompositeComponent::arrange() {
    for (Component* c = FirstChild; c != NULL; c = c->NextSibling) c->arrange();
}

// ==== Mouse dispatch =====================================================================

Component* CompositeComponent::childAt(int x, int y) const {
    for (Component* c = FirstChild; c != NULL; c = c->NextSibling)
        if (c->contains(x, y)) return c;
    return NULL;
}

template <typename Handler>
bool CompositeComponent::dispatch(int x, int y, Handler handler) {
    if (Capture != NULL) return handler(Capture, x - Capture->_X, y - Capture->_Y);
    // A handler may change the list (a click that closes a window); the
    // search ends with the first child that takes the event.
    for (Component* c = FirstChild; c != NULL; c = c->NextSibling)
        if (c->contains(x, y) && handler(c, x - c->_X, y - c->_Y)) return true;
    return false;
}

bool CompositeComponent::mouseMove(int x, int y) {
    return dispatch(x, y, [](Component* c, int cx, int cy) { return c->mouseMove(cx, cy); });
}
bool CompositeComponent::leftButtonDown(int x, int y, int keys) {
    return dispatch(x, y, [keys](Component* c, int cx, int cy) { return c->leftButtonDown(cx, cy, keys); });
}
bool CompositeComponent::leftButtonUp(int x, int y, int keys) {
    return dispatch(x, y, [keys](Component* c, int cx, int cy) { return c->leftButtonUp(cx, cy, keys); });
}
bool CompositeComponent::leftDoubleClick(int x, int y, int keys) {
    return dispatch(x, y, [keys](Component* c, int cx, int cy) { return c->leftDoubleClick(cx, cy, keys); });
}
bool CompositeComponent::rightButtonUp(int x, int y, int keys) {
    return dispatch(x, y, [keys](Component* c, int cx, int cy) { return c->rightButtonUp(cx, cy, keys); });
}
bool CompositeComponent::mouseRepeat(int x, int y, int code) {
    return dispatch(x, y, [code](Component* c, int cx, int cy) { return c->mouseRepeat(cx, cy, code); });
}

void CompositeComponent::mouseRest(int x, int y) {
    Component* c = childAt(x, y);
    if (c != NULL) c->mouseRest(x - c->_X, y - c->_Y);
}

bool CompositeComponent::queryHelp(int x, int y) {
    for (Component* c = FirstChild; c != NULL; c = c->NextSibling) {
        if (c->contains(x, y) && c->queryHelp(x - c->_X, y - c->_Y)) {
            AddHelpOrigin(c->_X, c->_Y);
            return true;
        }
    }
    SetHelpNumber(0);
    return false;
}

// ==== The capture chain ==================================================================

void CompositeComponent::setCapture(Component* component) {
    // Marking the same path again (a second press before the release) is
    // harmless; another path while one is set is not.
    if (Capture != component) ASSERT(Capture==NULL);
    if (Capture != NULL && Capture != component) {
        // A stale chain below: end it before the new one is marked.
        Capture->cancelCapture();
    }
    Capture = component;
    if (Parent != NULL) Parent->setCapture(this);
}

void CompositeComponent::releaseCapture(Component* component) {
    ASSERT(Capture==component);
    if (Capture != component) return;
    Capture = NULL;
    if (Parent != NULL && Parent->Capture == this) Parent->releaseCapture(this);
}

void CompositeComponent::cancelCapture() {
    if (Capture != NULL) {
        Component* c = Capture;
        Capture = NULL;
        c->cancelCapture();
    }
}

// ==== Layout =================================================================================

void CompositeComponent::placeChild(Component* Child, int x, int y) {
    ASSERT(Child!=NULL);
    if (Child == NULL) return;
    ASSERT(Child->Parent==this);
    int Width = _Width, Height = _Height;
    ASSERT(Width>0 && Height>0);
    if (x < 0) x += Width;
    if (y < 0) y += Height;
    Child->setPosition(x, y);
}

void CompositeComponent::placeChildSized(Component* Child, int x, int y, int width, int height) {
    ASSERT(Child!=NULL);
    if (Child == NULL) return;
    placeChild(Child, x, y);
    if (x < 0) x += _Width;
    if (y < 0) y += _Height;
    if (width <= 0) width += _Width - x;
    if (height <= 0) height += _Height - y;
    Child->setSize(std::max(width, 0), std::max(height, 0));
}

void CompositeComponent::fitToChildren(bool resize) { fitToChildrenWithMargins(0, 0, 0, 0, resize); }

void CompositeComponent::storeFittedSize(int width, int height, bool resize) {
    width = std::max(width, getMinimumWidth());
    height = std::max(height, getMinimumHeight());
    if (resize)
        setSize(width, height);
    else
        Component::setSize(width, height);
}

void CompositeComponent::fitToChildrenWithMargins(int left, int top, int right, int bottom, bool resize) {
    if (FirstChild == NULL) return;
    int LeastX = INT_MAX, LeastY = INT_MAX, Width = 0, Height = 0;
    for (Component* c = FirstChild; c != NULL; c = c->NextSibling) {
        LeastX = std::min(LeastX, c->_X);
        LeastY = std::min(LeastY, c->_Y);
        Width = std::max(Width, c->_X + c->_Width);
        Height = std::max(Height, c->_Y + c->_Height);
    }
    ASSERT(Width>0 && Height>0);
    ASSERT(LeastX<INT_MAX && LeastY<INT_MAX);
    left = std::abs(left);
    top = std::abs(top);
    right = std::abs(right);
    bottom = std::abs(bottom);
    for (Component* c = FirstChild; c != NULL; c = c->NextSibling)
        c->setPosition(left + c->_X - LeastX, top + c->_Y - LeastY);
    storeFittedSize(Width + right + left, Height + bottom + top, resize);
}

void CompositeComponent::fitAroundChild(Component* Child, int left, int top, int right, int bottom, bool resize) {
    ASSERT(Child!=NULL);
    if (Child == NULL) return;
    ASSERT(Child->getWidth()>0 && Child->getHeight()>0);
    int width = Child->getWidth() + std::max(left, 0) + (right < 0 ? -right : 0);
    int height = std::max(top, 0) + Child->getHeight() + (bottom < 0 ? -bottom : 0);
    storeFittedSize(width, height, resize);
}

void CompositeComponent::clipChildren(bool removeClipped) {
    Component* c = FirstChild;
    while (c != NULL) {
        Component* next = c->NextSibling;
        int left = std::max(c->_X, 0), top = std::max(c->_Y, 0);
        int right = std::min(c->_X + c->_Width, _Width), bottom = std::min(c->_Y + c->_Height, _Height);
        int width = right - left, height = bottom - top;
        bool cut = left != c->_X || top != c->_Y || width != c->_Width || height != c->_Height;
        if (width < 0 || height < 0 || (cut && removeClipped)) {
            deleteChild(c);
        } else if (cut) {
            c->setPosition(left, top);
            c->setSize(width, height);
        }
        c = next;
    }
}
