#include "gui/windows/ObjectSlot.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Status.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/framework/Dialogs.h"
#include "gui/menus/ObjectMenu.h"
#include "gui/framework/Skins.h"
#include "net/GameHooks.h"
#include "world/Inventory.h"

#include <algorithm>

namespace {

// The drag in progress, whoever started it; reset when the game view goes.
DraggedObject Dragged;
// The slot that took the last pointer move.
const ObjectSlot* UnderPointer = NULL;

constexpr int CONTAINER_SLOT_SKIN = 121;
constexpr int EMPTY_BODY_SLOT_SKIN = 165;  // head; the other nine follow in slot order

bool SameLocation(const ObjectLocation& A, const ObjectLocation& B) { return A.x == B.x && A.y == B.y && A.z == B.z; }

}  // namespace

// ---- The object being dragged ----------------------------------------------------------

void SetDraggedObject(const ObjectLocation& From, const ObjectInstance& Object, int Stack) {
    Dragged.Valid = Object.Type != 0;
    Dragged.From = From;
    Dragged.Object = Object;
    Dragged.Stack = Stack;
}

void ClearDraggedObject() { Dragged = DraggedObject{}; }

const DraggedObject& GetDraggedObject() { return Dragged; }

void DropDraggedObject(const ObjectLocation& To, int keys) {
    if (!Dragged.Valid) return;
    if (SameLocation(Dragged.From, To)) return;
    const ObjectInstance& Obj = Dragged.Object;
    int Count = 1;
    if (Obj.Type >= FIRST_ITEM_TYPE && GetObjectFlag(Obj.Type, CUMULATIVE) && Obj.Data >= 2 && !(keys & keys::SHIFT)) {
        // Ctrl moves the whole pile; without a modifier the player is asked.
        if (!(keys & keys::CTRL)) {
            MoveRecord Move;
            Move.From = Dragged.From;
            Move.Type = Obj.Type;
            Move.Stack = Dragged.Stack;
            Move.Data = int(Obj.Data);
            Move.x = To.x, Move.y = To.y, Move.z = To.z;
            PostMoveObjects(Move);
            return;
        }
        Count = int(Obj.Data);
    }
    SendMoveObject(Dragged.From, Obj.Type, Dragged.Stack, To.x, To.y, To.z, Count);
}

void ForgetSlotUnderPointer() { UnderPointer = NULL; }

// ---- The slot ----------------------------------------------------------------------------

ObjectSlot::ObjectSlot(int Container, int Place) : Component(1), Container(Container), Place(Place) {
    setSize(SIZE, SIZE);
    const int Skin = Container < 0 ? EMPTY_BODY_SLOT_SKIN + Place - 1 : CONTAINER_SLOT_SKIN;
    setDrawingEntry(0, Skin, 0, 0);
}

ObjectSlot::~ObjectSlot() {
    if (UnderPointer == this) UnderPointer = NULL;
}

ObjectSlot* ObjectSlot::bodySlot(int Slot) {
    ASSERT(In(Slot,1,BODY_POSITIONS));
    return new ObjectSlot(-1, In(Slot, 1, BODY_POSITIONS) ? Slot : 1);
}

ObjectSlot* ObjectSlot::containerPlace(int Container, int Place) {
    ASSERT(In(Container,0,OPEN_CONTAINERS-1));
    return new ObjectSlot(In(Container, 0, OPEN_CONTAINERS - 1) ? Container : 0, Place);
}

ObjectLocation ObjectSlot::getLocation() const {
    return Container < 0 ? BodyLocation(Place) : ContainerLocation(Container, Place);
}

int ObjectSlot::stackPlace() const { return Container < 0 ? 0 : Place; }

ObjectInstance ObjectSlot::getObject() const {
    if (Container < 0) return GetBodyObject(Place);
    if (!IsContainerOpen(Container) || Place >= GetContainerCount(Container)) return ObjectInstance{};
    return GetContainerObject(Container, Place);
}

bool ObjectSlot::isOutlined() const { return UnderPointer == this && GetInputMode() == INPUT_DRAG; }

void ObjectSlot::draw(int Surface, int x, int y) { drawClipped(Surface, x, y, ClipRect{x, y, SIZE, SIZE}); }

void ObjectSlot::drawClipped(int Surface, int x, int y, const ClipRect& Clip) const {
    const ObjectInstance Obj = getObject();
    // A filled body slot shows the object on the plain slot, an empty one
    // the outline of what belongs there.
    const int Skin = Container < 0 && Obj.Type != 0 ? CONTAINER_SLOT_SKIN : DrawingList[0].skin;
    DrawSkinTiledClipped(Surface, x, y, SIZE, SIZE, Skin, 0, 0, Clip.X, Clip.Y, Clip.Width, Clip.Height);
    if (Obj.Type != 0) {
        ClipRect Inside{x + 1, y + 1, SIZE - 2, SIZE - 2};
        const int Right = std::min(Inside.X + Inside.Width, Clip.X + Clip.Width);
        const int Bottom = std::min(Inside.Y + Inside.Height, Clip.Y + Clip.Height);
        Inside.X = std::max(Inside.X, Clip.X), Inside.Y = std::max(Inside.Y, Clip.Y);
        Inside.Width = std::max(Right - Inside.X, 0), Inside.Height = std::max(Bottom - Inside.Y, 0);
        if (Inside.Width > 0 && Inside.Height > 0)
            DrawObjectInBox(Surface, Obj, x + 1, y + 1, SIZE - 2, Inside, 1, 224, 224, 224, RIGHT_ALIGN, false);
    }
    if (isOutlined()) {
        FillRectClipped(Surface, x, y, SIZE, 1, 255, 255, 255, Clip);
        FillRectClipped(Surface, x, y + SIZE - 1, SIZE, 1, 255, 255, 255, Clip);
        FillRectClipped(Surface, x, y + 1, 1, SIZE - 2, 255, 255, 255, Clip);
        FillRectClipped(Surface, x + SIZE - 1, y + 1, 1, SIZE - 2, 255, 255, 255, Clip);
    }
}

bool ObjectSlot::mouseMove(int x, int y) {
    (void)x, (void)y;
    UnderPointer = this;
    return true;
}

bool ObjectSlot::leftButtonDown(int x, int y, int keys) {
    (void)x, (void)y, (void)keys;
    const ObjectInstance Obj = getObject();
    if (Obj.Type == 0)
        ClearDraggedObject();
    else
        SetDraggedObject(getLocation(), Obj, stackPlace());
    return true;
}

bool ObjectSlot::leftButtonUp(int x, int y, int keys) {
    (void)x, (void)y;
    switch (GetInputMode()) {
    case INPUT_TARGET_1: useWith(); break;
    case INPUT_TARGET_2: ShowStatusMessage("Select a player to trade with."); break;
    case INPUT_DRAG: DropDraggedObject(getLocation(), keys); break;
    default:
        if (keys & (keys::SHIFT | keys::CTRL | keys::ALT)) clickWithKeys(keys);
        break;
    }
    ClearDraggedObject();
    return true;
}

bool ObjectSlot::rightButtonUp(int x, int y, int keys) {
    (void)x, (void)y;
    clickWithKeys(keys);
    return true;
}

// The object waiting for a target is used on this slot's object.
void ObjectSlot::useWith() {
    const PendingObject& Source = GetUseWithSource();
    ASSERT(Source.Type!=0 && Source.Type!=CREATURE);
    if (Source.Type == 0 || Source.Type == CREATURE) return;
    const ObjectInstance Target = getObject();
    if (Target.Type == 0) return;
    SendUseObjectWith(ObjectLocation{Source.x, Source.y, Source.z}, Source.Type, Source.Stack, getLocation(),
                      Target.Type, stackPlace());
}

// Shift looks in both control modes. Otherwise the classic control decides
// whether Ctrl means use or the object menu.
void ObjectSlot::clickWithKeys(int keys) {
    const ObjectInstance Obj = getObject();
    if (Obj.Type == 0) return;
    switch (ClassifyObjectClick(keys)) {
    case ObjectClick::Look: SendLook(getLocation(), Obj.Type, stackPlace()); break;
    case ObjectClick::Use: use(Obj); break;
    case ObjectClick::Menu: {
        // The slot's object is both the one looked at and the one used.
        ObjectMenuRecord R;
        R.Looked = R.Used = getLocation();
        R.LookedType = R.UsedType = Obj.Type;
        R.LookedStack = R.UsedStack = stackPlace();
        R.LookedData = Obj.Data;
        PostObjectMenu(R);
        break;
    }
    }
}

void ObjectSlot::use(const ObjectInstance& Obj) {
    if (Obj.Type >= FIRST_ITEM_TYPE && GetObjectFlag(Obj.Type, MULTIUSE)) {
        const ObjectLocation Where = getLocation();
        SetUseWithSource(PendingObject{Where.x, Where.y, Where.z, Obj.Type, stackPlace()});
        PostEvent(MESSAGE_TARGET_1, 0, 0);
        return;
    }
    // A container opens in a window of its own.
    SendUseObject(getLocation(), Obj.Type, stackPlace(), GetFreeContainerNumber());
}
