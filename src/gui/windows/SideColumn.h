// The side column: the side windows of the game view's right column, stacked
// top to bottom in list order without gaps, sharing the column's height.
//
// Its space rules: a window that grows squeezes the lowest windows that can
// still shrink; a window that shrinks (or is minimised, or closed) hands the
// height back to the windows below it that were squeezed before; a new window
// that does not fit shrinks the windows from the bottom up, closing those that
// cannot shrink far enough. Windows tell the column about every change through
// notify; a notification that arrives while one is handled is ignored (the
// column's own resizing of its windows notifies again).
#pragma once

#include "gui/windows/SideWindow.h"

// Notification codes of SideColumn::notify.
enum : int {
    SIDECOLUMN_DRAGGING = 1,  // a window is dragged (Window), or a drag ended (NULL)
    SIDECOLUMN_GREW = 2,
    SIDECOLUMN_SHRANK = 4,
    SIDECOLUMN_SETTLED = 8,
    SIDECOLUMN_ADD = 16,
    SIDECOLUMN_CHANGED = 32,
};

class SideColumn : public CompositeComponent {
  public:
    SideColumn();
    // Records the open standard windows for the next game (OpenDialogs).
    ~SideColumn() override;

    void notify(int Code, SideWindow* Window);
    // Closes a window as the player would (SideWindow::onClose, then
    // deletes it) and hands its height to the windows below.
    void closeWindow(SideWindow* Window);
    // Deletes a window whose content ended, without onClose.
    void removeWindow(SideWindow* Window);
    SideWindow* findWindow(int Type) const;
    int countWindows() const { return countChildren(); }
    SideWindow* getWindow(int Index) const;
    // Whether a notification is being handled (sizes set now are the
    // column's, not the player's).
    bool isHandling() const { return Handling; }
    int getRecordedFreeHeight() const { return RecordedFree; }

    void setSize(int Width, int Height) override;
    void arrange() override;

  private:
    int usedHeight() const;
    void restack(const SideWindow* Dragged);
    void reorder(SideWindow* Dragged);
    void squeeze();
    void returnFreedHeight(SideWindow* Shrunk);
    void shareOut(int Left, const Component* Stop);
    void makeRoom(SideWindow* New);
    void recordOpenWindows() const;

    int RecordedFree = 0;
    bool RecordAllowed = true;
    bool Handling = false;
};

// ---- The game view's column -------------------------------------------------------------------

// The column of the game view, registered by the game view while it exists
// (NULL outside the game).
void SetGameColumn(SideColumn* Column);
SideColumn* GetGameColumn();
// Hands a new window to the game's column (notify 16), which owns it from
// then on; without a column the window is deleted.
void AddSideWindow(SideWindow* Window);
// The window of that type in the game's column, NULL when none is open.
SideWindow* FindSideWindow(int Type);
// Closes the window of that type as the player would (onClose runs);
// nothing when none is open.
void CloseSideWindow(int Type);
// Removes the window of that type because its content ended (no onClose).
void RemoveSideWindow(int Type);
