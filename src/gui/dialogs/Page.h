// The body of a form-like dialog: rows stacked top to bottom, each row at
// the left edge or indented, the body as wide as its widest row. The options
// pages and the other forms are built from it.
#pragma once

#include "core/Assert.h"
#include "gui/framework/Dialogs.h"
#include "gui/framework/SkinProperties.h"

#include <algorithm>

class PageBody : public CompositeComponent {
  public:
    // Adds a row below the previous one, Gap pixels lower (RowGap when
    // negative); returns the child for chaining.
    template <typename T>
    T* addRow(T* Child, int x = 0, int Gap = -1) {
        const auto& P = SkinProperties().Pages;
        if (getFirstChild() != NULL) Bottom += Gap < 0 ? P.RowGap : Gap;
        addChild(Child);
        Child->setPosition(x, Bottom);
        Bottom += Child->getHeight();
        fit();
        return Child;
    }
    // Adds a child beside the last row (at x, aligned to the row's top).
    template <typename T>
    T* addBeside(T* Child, int x, int RowTop) {
        addChild(Child);
        Child->setPosition(x, RowTop);
        Bottom = std::max(Bottom, RowTop + Child->getHeight());
        fit();
        return Child;
    }
    int getBottom() const { return Bottom; }
    // Where the next row will start with the standard gap.
    int nextRowTop() const { return getFirstChild() != NULL ? Bottom + SkinProperties().Pages.RowGap : 0; }

  protected:
    // Every page closes the same way: the input mode goes back to idle and
    // the dispatcher removes the dialog.
    static void Close() { SetInputMode(INPUT_IDLE); }
    // The end of a form's command(): Ok carries out the form and closes,
    // Cancel closes, and any other number is none of the form's.
    template <typename Action>
    static void okOrCancel(int number, Action&& Ok) {
        if (number == DIALOG_OK) {
            Ok();
            Close();
        } else if (number == DIALOG_CANCEL) {
            Close();
        } else {
            ASSERT(false);
        }
    }

  private:
    void fit() {
        int Width = SkinProperties().Pages.Width;
        for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling())
            Width = std::max(Width, c->getX() + c->getWidth());
        Component::setSize(Width, Bottom);
    }
    int Bottom = 0;
};
