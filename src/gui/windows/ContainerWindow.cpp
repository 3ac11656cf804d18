#include "gui/windows/ContainerWindow.h"

#include "core/Assert.h"
#include "gui/windows/SideColumn.h"
#include "gui/framework/Skins.h"
#include "net/Commands.h"
#include "world/Inventory.h"

#include <algorithm>

namespace {

enum : int {
    CONTAINER_SCROLLED = 40,
    CONTAINER_UP = 41,
};

constexpr int UP_SKIN = 122, UP_SKIN_DOWN = 123;
constexpr int TITLE_PICTURE_SIZE = 12;
constexpr int WHEEL_STEP = ContainerBody::SLOT_PITCH / 2;

// The inventory's window mark of a container whose window the player closed:
// no window is wanted for it until the server has closed it.
char ClosingMark;

}  // namespace

// ---- Body --------------------------------------------------------------------------------------

ContainerBody::ContainerBody(int Container) : CompositeComponent(0), Container(Container) {
    Slots.reserve(OBJECTS_PER_CONTAINER);
    for (int i = 0; i < OBJECTS_PER_CONTAINER; ++i) {
        Slots.push_back(ObjectSlot::containerPlace(Container, i));
        addChild(Slots.back());
    }
    Bar = new VerticalScrollBar(CommandTarget(this, CONTAINER_SCROLLED));
    addChild(Bar);
    Bar->setButtonRange(SLOT_PITCH / 2);
    layout();
    Component::setSize(_Width, getFullHeight());
    layout();
}

int ContainerBody::getRows() const { return (std::max(ShownCount, 0) + SLOTS_PER_ROW - 1) / SLOTS_PER_ROW; }

int ContainerBody::getFullHeight() const {
    const int Rows = std::max(getRows(), 1);
    return 2 * MARGIN + Rows * SLOT_PITCH - (SLOT_PITCH - ObjectSlot::SIZE);
}

int ContainerBody::getMinimumHeight() const {
    return std::max(2 * MARGIN + ObjectSlot::SIZE, Bar->getMinimumHeight());
}

void ContainerBody::setScroll(int Pixels) {
    const int Most = std::max(getFullHeight() - _Height, 0);
    Scroll = std::clamp(Pixels, 0, Most);
    layout();
}

void ContainerBody::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    layout();
}

// The places shown are the container's capacity, or its count when the
// server put more into it; slots beyond them take no room and no clicks.
void ContainerBody::layout() {
    const bool Open = IsContainerOpen(Container);
    const int Count = Open ? GetContainerCount(Container) : 0;
    const int Capacity = Open ? GetContainerCapacity(Container) : 0;
    ShownCount = std::min(std::max(Capacity, Count), OBJECTS_PER_CONTAINER);
    const int Most = std::max(getFullHeight() - _Height, 0);
    Scroll = std::clamp(Scroll, 0, Most);
    const int BarWidth = SkinProperties().ScrollBar.Thickness;
    const int RowWidth = SLOTS_PER_ROW * SLOT_PITCH - (SLOT_PITCH - ObjectSlot::SIZE);
    const int Left = std::max((_Width - BarWidth - RowWidth) / 2, 0);
    for (int i = 0; i < OBJECTS_PER_CONTAINER; ++i) {
        ObjectSlot* Slot = Slots[size_t(i)];
        if (i < ShownCount) {
            Slot->setSize(ObjectSlot::SIZE, ObjectSlot::SIZE);
            Slot->setPosition(Left + (i % SLOTS_PER_ROW) * SLOT_PITCH,
                              MARGIN + (i / SLOTS_PER_ROW) * SLOT_PITCH - Scroll);
        } else {
            Slot->setSize(0, 0);
            Slot->setPosition(0, 0);
        }
    }
    Bar->setPosition(std::max(_Width - BarWidth, 0), 0);
    Bar->setSize(BarWidth, _Height);
    Bar->setRange(0, Most, Scroll, std::max(_Height, 1));
    LastCount = Count;
}

void ContainerBody::draw(int Surface, int x, int y) {
    // A message changed the container: the rows follow its new count.
    const int Count = IsContainerOpen(Container) ? GetContainerCount(Container) : 0;
    if (Count != LastCount) layout();
    const ClipRect Clip{x, y, _Width, _Height};
    for (int i = 0; i < ShownCount; ++i) {
        const ObjectSlot* Slot = Slots[size_t(i)];
        const int sy = Slot->getY();
        if (sy + ObjectSlot::SIZE <= 0 || sy >= _Height) continue;
        Slot->drawClipped(Surface, x + Slot->getX(), y + sy, Clip);
    }
    if (getFullHeight() > _Height) Bar->draw(Surface, x + Bar->getX(), y + Bar->getY());
}

bool ContainerBody::mouseRepeat(int x, int y, int code) {
    if (code == REPEAT_WHEEL_AWAY) {
        setScroll(Scroll - WHEEL_STEP);
        return true;
    }
    if (code == REPEAT_WHEEL_TOWARDS) {
        setScroll(Scroll + WHEEL_STEP);
        return true;
    }
    return CompositeComponent::mouseRepeat(x, y, code);
}

void ContainerBody::command(int number) {
    if (number == CONTAINER_SCROLLED && Bar->getValue() != Scroll) setScroll(Bar->getValue());
}

// ---- Window ------------------------------------------------------------------------------------

namespace {
Button* UpButtonFor(int Container) {
    if (!IsContainerOpen(Container) || !GetContainerHasParent(Container)) return NULL;
    return new Button(UP_SKIN, UP_SKIN_DOWN, CommandTarget(), "Show higher container");
}
}  // namespace

ContainerWindow::ContainerWindow(int Container) : ContainerWindow(Container, UpButtonFor(Container)) {}

ContainerWindow::ContainerWindow(int Container, Button* UpButton)
    : SideWindow(CONTAINER_WINDOW + Container, new ContainerBody(Container), UpButton), Container(Container),
      Up(UpButton) {
    Body = static_cast<ContainerBody*>(getBody());
    if (Up != NULL) Up->setTarget(CommandTarget(this, CONTAINER_UP));
    Picture = new ObjectPicture(TITLE_PICTURE_SIZE, false);
    setTitlePicture(Picture);
    showTitle();
}

void ContainerWindow::showTitle() {
    if (!IsContainerOpen(Container)) return;
    Picture->setObject(GetContainerType(Container), 1);
    setCaption(GetContainerName(Container));
}

void ContainerWindow::reopen() {
    showTitle();
    Body->setScroll(0);
    Body->layout();
}

bool ContainerWindow::hasUpButton() const { return Up != NULL; }

void ContainerWindow::command(int number) {
    if (number == CONTAINER_UP) {
        SendContainerUp(Container);
        return;
    }
    SideWindow::command(number);
}

void ContainerWindow::onClose() {
    SendCloseContainer(Container);
    if (IsContainerOpen(Container)) SetContainerWindow(Container, &ClosingMark);
}

void UpdateContainerWindows() {
    for (int c = 0; c < OPEN_CONTAINERS; ++c) {
        auto* Shown = static_cast<ContainerWindow*>(FindSideWindow(CONTAINER_WINDOW + c));
        if (!IsContainerOpen(c)) {
            if (Shown != NULL) RemoveSideWindow(CONTAINER_WINDOW + c);
            continue;
        }
        void* Mark = GetContainerWindow(c);
        if (Mark == &ClosingMark) {
            if (Shown != NULL) RemoveSideWindow(CONTAINER_WINDOW + c);
            continue;
        }
        if (Mark != NULL && Shown != NULL) continue;
        // Newly opened (or opened again under the same number).
        if (Shown != NULL && Shown->hasUpButton() == GetContainerHasParent(c)) {
            Shown->reopen();
            SetContainerWindow(c, Shown);
            continue;
        }
        if (Shown != NULL) RemoveSideWindow(CONTAINER_WINDOW + c);
        auto* Window = new ContainerWindow(c);
        SetContainerWindow(c, Window);
        AddSideWindow(Window);
        // The column may have had no room even for this one.
        if (FindSideWindow(CONTAINER_WINDOW + c) == NULL && GetContainerWindow(c) == Window)
            SetContainerWindow(c, NULL);
    }
}
