// "Add to VIP list" and "Change player in VIP list": a name, an icon, a short
// description and whether to be told at login. Adding asks the server for
// the name; the icon, description and flag are kept until the server
// confirms the new entry, then stored with it.
#pragma once

#include "config/Preferences.h"
#include "gui/dialogs/Page.h"

#include <cstdint>

enum : int {
    BUDDY_ICON = 100,         // + icon 0 .. BUDDY_ICONS - 1
};

class BuddyBody : public PageBody {
  public:
    // CharacterID 0 adds a new entry by name.
    explicit BuddyBody(uint32_t CharacterID);
    void keyPress(int code) override;
    void command(int number) override;
    EditField* getName() const { return Name; }
    EditField* getDescription() const { return Description; }
    CheckBox* getNotify() const { return Notify; }
    Button* getIconButton(int Icon) const { return Icons[Icon]; }
    int getIcon() const { return Icon; }

  private:
    uint32_t CharacterID;
    EditField* Name = NULL;
    EditField* Description;
    CheckBox* Notify;
    Button* Icons[BUDDY_ICONS];
    RadioButtonGroup IconGroup;
    FocusGroup Focus;
    int Icon = 0;
};

// Whether an added name still waits for the server's entry.
bool IsBuddyEditPending();
