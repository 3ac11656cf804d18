// The menu of an edit field (event 53): cut, copy, paste, delete and select
// all, each carried out by the field's own command.
#pragma once

#include "gui/framework/ContextMenu.h"

class EditField;

class EditMenu : public ContextMenu {
  public:
    explicit EditMenu(EditField* Field);
    void command(int number) override;

  private:
    EditField* Field;
};

// The builder of event 53: NULL when the field has gone since the click.
Component* BuildEditMenu(intptr_t Data);
