#include "gui/dialogs/PrivateChannelDialogs.h"

#include "core/Status.h"
#include "gui/framework/ContextMenu.h"
#include "gui/framework/Dialogs.h"
#include "gui/framework/SkinProperties.h"
#include "net/Commands.h"
#include "world/Creatures.h"

PrivateChannelBody::PrivateChannelBody(bool _Invite, const char* _Name) : CompositeComponent(0), Invite(_Invite) {
    auto* Caption = new Label(Invite ? "Name of the player to invite:" : "Name of the player to exclude:");
    addChild(Caption);
    Name = new EditField(CREATURE_NAME_LENGTH - 1);
    Name->setSize(SkinProperties().CharacterList.Width, Name->getHeight());
    Name->setPosition(0, Caption->getHeight() + SkinProperties().CharacterList.ListGap);
    Name->setText(_Name != NULL ? _Name : "");
    Name->setCursor(Name->getLength());
    Name->setFocused(true);
    addChild(Name);
    Component::setSize(Name->getWidth(), Name->getY() + Name->getHeight());
}

void PrivateChannelBody::keyPress(int code) {
    if (code == keys::ENTER)
        command(DIALOG_OK);
    else if (code == keys::ESCAPE)
        command(DIALOG_CANCEL);
    else
        Name->keyPress(code);
}

void PrivateChannelBody::command(int number) {
    if (number == DIALOG_OK && Name->getLength() > 0) {
        if (Invite)
            SendInviteToOwnChannel(Name->getText());
        else
            SendExcludeFromOwnChannel(Name->getText());
    }
    if (number == DIALOG_OK || number == DIALOG_CANCEL) SetInputMode(INPUT_IDLE);
}

namespace {
Dialog* Build(DialogEvent& Event, bool Invite) {
    auto* Body = new PrivateChannelBody(Invite, Event.Data);
    auto* D = new Dialog(Invite ? "Invite player to private chat channel" : "Exclude player from private chat channel",
                         Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    return D;
}
Dialog* BuildInvite(DialogEvent& Event) { return Build(Event, true); }
Dialog* BuildExclude(DialogEvent& Event) { return Build(Event, false); }
}  // namespace

void RegisterPrivateChannelDialogs() {
    SetEventTextFields(MESSAGE_INVITE_PRIVATE, true, false);
    SetEventTextFields(MESSAGE_EXCLUDE_PRIVATE, true, false);
    RegisterDialogBuilder(MESSAGE_INVITE_PRIVATE, BuildInvite);
    RegisterDialogBuilder(MESSAGE_EXCLUDE_PRIVATE, BuildExclude);
}
