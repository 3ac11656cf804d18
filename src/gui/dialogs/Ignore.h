// "Edit Ignore List": the names whose talk is dropped, edited in a list
// (Add starts a "new entry" to be renamed, Delete removes the chosen one),
// and the global settings: whether the names stay ignored after this run,
// and whether all yelling or all private messages are dropped.
#pragma once

#include "gui/dialogs/Page.h"

enum : int {
    IGNORE_ADD = 3,
    IGNORE_DELETE = 4,
};

class IgnoreBody : public PageBody {
  public:
    IgnoreBody();
    void keyPress(int code) override;
    void command(int number) override;
    ListBox* getList() const { return List; }
    TextButton* getAdd() const { return Add; }
    TextButton* getDelete() const { return Delete; }
    // 0 permanently, 1 yelling, 2 private messages.
    CheckBox* getBox(int Number) const { return Boxes[Number]; }

  private:
    ListBox* List;
    TextButton* Add;
    TextButton* Delete;
    CheckBox* Boxes[3];
};
