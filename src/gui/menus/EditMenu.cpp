#include "gui/menus/EditMenu.h"

#include "core/Assert.h"
#include "core/sysinc.h"
#include "gui/framework/DialogElements.h"

EditMenu::EditMenu(EditField* _Field) : Field(_Field) {
    ASSERT(Field!=NULL);
    const bool Selected = Field->hasSelection(), ReadOnly = Field->isReadOnly();
    if (Selected) {
        if (!ReadOnly) addEntry(MENU_CUT, "Cut");
        addEntry(MENU_COPY, "Copy");
    }
    if (ClipboardHasText() && !ReadOnly) addEntry(MENU_PASTE, "Paste");
    addSeparator();
    if (Selected && !ReadOnly) addEntry(MENU_DELETE, "Delete");
    addSeparator();
    addEntry(MENU_SELECT_ALL, "Select All");
}

void EditMenu::command(int number) {
    int FieldCommand = 0;
    switch (number) {
    case MENU_CUT: FieldCommand = EDIT_CUT; break;
    case MENU_COPY: FieldCommand = EDIT_COPY; break;
    case MENU_PASTE: FieldCommand = EDIT_PASTE; break;
    case MENU_DELETE: FieldCommand = EDIT_DELETE; break;
    case MENU_SELECT_ALL: FieldCommand = EDIT_SELECT_ALL; break;
    default: ContextMenu::command(number); return;
    }
    // The field is gone when its window closed while the menu was open.
    if (EditField* F = EditFieldOfMenu(reinterpret_cast<intptr_t>(Field))) F->command(FieldCommand);
}

Component* BuildEditMenu(intptr_t Data) {
    EditField* F = EditFieldOfMenu(Data);
    return F != NULL ? new EditMenu(F) : NULL;
}
