// Container windows: one side window per open container, its title showing
// the container's picture and name, its body the container's places in rows
// of slots that scroll. The windows follow the inventory's containers: the
// interface calls UpdateContainerWindows after every message that opens or
// closes one.
#pragma once

#include "gui/framework/DialogElements.h"
#include "gui/windows/ObjectSlot.h"
#include "gui/windows/SideWindow.h"

#include <vector>

// The body: as many slots as the container has places (more when the server
// filled it beyond them), SLOTS_PER_ROW to a row, moved by the scroll
// position and clipped to the body.
class ContainerBody : public CompositeComponent {
  public:
    static constexpr int SLOTS_PER_ROW = 4;
    static constexpr int SLOT_PITCH = ObjectSlot::SIZE + 2;  // from one slot to the next
    static constexpr int MARGIN = 3;                          // around the rows

    explicit ContainerBody(int Container);
    int getContainer() const { return Container; }
    int getShownCount() const { return ShownCount; }
    int getSlots() const { return int(Slots.size()); }
    ObjectSlot* getSlot(int Place) const { return Slots[size_t(Place)]; }
    int getRows() const;
    int getScroll() const { return Scroll; }
    void setScroll(int Pixels);
    // The height that shows every row.
    int getFullHeight() const;
    int getMinimumHeight() const override;
    VerticalScrollBar* getScrollBar() const { return Bar; }

    // Places the slots for the current count, size and scroll position.
    void layout();
    void setSize(int Width, int Height) override;
    void draw(int Surface, int x, int y) override;
    bool mouseRepeat(int x, int y, int code) override;
    void command(int number) override;

  private:
    int Container;
    int ShownCount = 0;   // places laid out
    int LastCount = -1;   // the object count they were laid out for
    int Scroll = 0;
    std::vector<ObjectSlot*> Slots;  // the first OBJECTS_PER_CONTAINER places, made once
    VerticalScrollBar* Bar;
};

// The side window of one container: the title shows the container and its
// name; inside a container it offers "Show higher container"; closing it asks
// the server to close the container.
class ContainerWindow : public SideWindow {
  public:
    explicit ContainerWindow(int Container);
    int getContainer() const { return Container; }
    ContainerBody* getContainerBody() const { return Body; }
    Button* getUpButton() const { return Up; }
    // The container's number was opened again (another container, or the
    // one above this one): the window shows it in place.
    void reopen();
    bool hasUpButton() const;
    void command(int number) override;
    void onClose() override;

  private:
    ContainerWindow(int Container, Button* UpButton);
    void showTitle();
    int Container;
    ContainerBody* Body;
    ObjectPicture* Picture;
    Button* Up;
};

// Makes the column follow the inventory's containers: a window for every
// open container that has none, the window of a number opened again shows
// the new container in place, and the windows of closed containers go. A
// window the player closed stays closed while the server's answer is due.
void UpdateContainerWindows();
