// The object slot: one place that holds an object the player carries, either
// one of the ten body slots or a place in an open container. Slots are drag
// sources and drop targets (between each other and with the map window),
// take the use-with and trade targets, and use or look at their object.
//
// A drag may start in one component and end in another (a slot, the map),
// so its source is kept here, for every component that takes drops.
#pragma once

#include "graphics/Surface.h"
#include "gui/framework/GUI.h"
#include "net/Commands.h"
#include "world/Objects.h"

// ---- The object being dragged ----------------------------------------------------------

struct DraggedObject {
    bool Valid = false;
    ObjectLocation From;
    ObjectInstance Object;  // as it was when the drag started
    int Stack = 0;          // stack place on a field, place in a container, 0 in a body slot
};
// A press on an object offers it as the source of a drag; a press on nothing
// withdraws the offer.
void SetDraggedObject(const ObjectLocation& From, const ObjectInstance& Object, int Stack);
void ClearDraggedObject();
const DraggedObject& GetDraggedObject();

// Drops the dragged object at the destination (a map field, a container
// place, a body slot): a single piece (not cumulative, fewer than 2, or Shift
// held) moves at once, Ctrl moves the whole pile, otherwise "Move Objects"
// asks for the count. A drop where the object lies does nothing.
void DropDraggedObject(const ObjectLocation& To, int keys);

// The slot under the pointer while something is dragged, for its outline:
// forgotten before every pointer move, claimed by the slot that gets the move.
void ForgetSlotUnderPointer();

// ---- The slot ----------------------------------------------------------------------------

class ObjectSlot : public Component {
  public:
    static constexpr int SIZE = 34;  // the slot's square, the object's 32 x 32 inside it
    // A body slot (1..BODY_POSITIONS).
    static ObjectSlot* bodySlot(int Slot);
    // A place (0-based) of an open container.
    static ObjectSlot* containerPlace(int Container, int Place);

    ObjectLocation getLocation() const;
    // What the inventory holds there now (empty beyond a container's count).
    ObjectInstance getObject() const;
    int getContainer() const { return Container; }
    int getPlace() const { return Place; }
    // Under the pointer during a drag: drawn with the white outline.
    bool isOutlined() const;

    void draw(int Surface, int x, int y) override;
    // Drawn at (x, y), only where it lies inside Clip (a scrolled container).
    void drawClipped(int Surface, int x, int y, const ClipRect& Clip) const;
    bool mouseMove(int x, int y) override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool leftButtonUp(int x, int y, int keys) override;
    bool rightButtonUp(int x, int y, int keys) override;
    ~ObjectSlot() override;

  private:
    ObjectSlot(int Container, int Place);
    int stackPlace() const;
    void useWith();
    void clickWithKeys(int keys);
    void use(const ObjectInstance& Obj);
    int Container;  // -1 for a body slot
    int Place;      // the body slot 1..10, or the place in the container
};
