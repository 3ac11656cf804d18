// The VIP dialogs and the builders of their events.
#include "gui/dialogs/Buddies.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Utils.h"
#include "net/Commands.h"
#include "world/Creatures.h"

#include <string>

namespace {

constexpr int SMALL_FACE_UP = 92, SMALL_FACE_DOWN = 93;
constexpr int NO_ICON_SKIN = 213;
constexpr int NAME_LENGTH = 29;
// How long an added name waits for the server's entry (tenths of a second).
constexpr int PENDING_TENTHS = 100;

// An added VIP's extras, stored once the server has sent the entry of that
// name (its character id is known only then).
class PendingEdit : public Component {
  public:
    PendingEdit(const char* Name, int Icon, const char* Description, bool Notify)
        : Name(Name), Icon(Icon), Description(Description), Notify(Notify), Timer(PENDING_TENTHS, this, 1) {}
    void command(int) override;
    std::string Name;
    int Icon;
    std::string Description;
    bool Notify;
    ComponentTimer Timer;
};
// Owned here; it deletes itself when done (timers allow that from their command).
PendingEdit* Pending = nullptr;

void PendingEdit::command(int) {
    const int Position = FindBuddyByName(Name.c_str());
    if (Position >= 0) {
        EditBuddy(GetBuddyEntry(Position).CharacterID, Icon, Description.c_str(), Notify);
    } else if (!Timer.expired()) {
        return;
    }
    // Done, or the server never answered: the record goes.
    Pending = nullptr;
    delete this;
}

}  // namespace

bool IsBuddyEditPending() { return Pending != nullptr; }

BuddyBody::BuddyBody(uint32_t CharacterID) : CharacterID(CharacterID) {
    const auto& P = SkinProperties().Pages;
    const int Known = CharacterID != 0 ? FindBuddy(CharacterID) : -1;
    if (CharacterID == 0) {
        addRow(new Label("Please enter a character name:"));
        Name = addRow(new EditField(NAME_LENGTH));
        Name->setSize(P.Width, Name->getHeight());
    } else {
        const char* Shown = Known >= 0 ? GetBuddyEntry(Known).Name : "";
        addRow(new Label((std::string("Name: ") + Shown).c_str()));
    }
    addRow(new Label("Select a type:"), 0, P.SectionGap);
    const int Top = nextRowTop();
    Icon = Known >= 0 ? GetBuddyEntry(Known).Icon : 0;
    if (!In(Icon, 0, BUDDY_ICONS - 1)) Icon = 0;
    for (int i = 0; i < BUDDY_ICONS; ++i) {
        Icons[i] = new IconButton(SMALL_FACE_UP, SMALL_FACE_DOWN, NO_ICON_SKIN + i, CommandTarget(this, BUDDY_ICON + i));
        addBeside(Icons[i], i * (Icons[i]->getWidth() + 2), Top);
        IconGroup.addMember(Icons[i]);
    }
    IconGroup.Selected = Icons[Icon];
    addRow(new Label("Enter a short description:"), 0, P.SectionGap);
    Description = addRow(new EditField(BUDDYDESCRIPTION_LENGTH - 1));
    Description->setSize(P.Width, Description->getHeight());
    Notify = addRow(new CheckBox("Notify at login"), 0, P.SectionGap);
    Notify->setSize(P.Width, Notify->getHeight());
    if (CharacterID != 0) {
        Description->setText(GetBuddyDescription(CharacterID));
        Notify->setTicked(GetBuddyFlag(CharacterID) != 0);
    }
    if (Name != NULL) Focus.addMember(Name);
    Focus.addMember(Description);
    Focus.setActive(Name != NULL ? Name : Description);
}

void BuddyBody::keyPress(int code) {
    if (Focus.Active != NULL) Focus.Active->keyPress(code);
}

void BuddyBody::command(int number) {
    if (In(number, BUDDY_ICON, BUDDY_ICON + BUDDY_ICONS - 1)) {
        Icon = number - BUDDY_ICON;
        return;
    }
    okOrCancel(number, [&] {
        if (CharacterID != 0) {
            EditBuddy(CharacterID, Icon, Description->getText(), Notify->isTicked());
        } else if (Name->getLength() > 0) {
            delete Pending;
            Pending = new PendingEdit(Name->getText(), Icon, Description->getText(), Notify->isTicked());
            SendAddBuddy(Name->getText());
        }
    });
}

namespace {
Dialog* BuildBuddy(uint32_t CharacterID, const char* Caption) {
    auto* Body = new BuddyBody(CharacterID);
    auto* D = new Dialog(Caption, Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    return D;
}
Dialog* BuildAdd(DialogEvent&) { return BuildBuddy(0, "Add to VIP list"); }
Dialog* BuildChange(DialogEvent& Ev) {
    const uint32_t ID = uint32_t(Ev.E.Data);
    ASSERT(ID!=0);
    if (ID == 0 || FindBuddy(ID) < 0) return NULL;
    return BuildBuddy(ID, "Change player in VIP list");
}
}  // namespace

void RegisterBuddyDialogs() {
    RegisterDialogBuilder(BUDDY_EVENT_ADD, BuildAdd);
    RegisterDialogBuilder(BUDDY_EVENT_CHANGE, BuildChange);
}
