#include "gui/dialogs/PrivateChannelDialogs.h"

#include "core/Status.h"
#include "gui/framework/ContextMenu.h"
#include "gui/framework/Dialogs.h"
#include "net/Commands.h"
#include "world/Creatures.h"

PrivateChannelBody::PrivateChannelBody(bool _Invite, const char* _Name)
    : FieldBody(_Invite ? "Name of the player to invite:" : "Name of the player to exclude:", CREATURE_NAME_LENGTH - 1,
                _Name != NULL ? _Name : ""),
      Invite(_Invite) {}

void PrivateChannelBody::accept(const char* Name) {
    if (Invite)
        SendInviteToOwnChannel(Name);
    else
        SendExcludeFromOwnChannel(Name);
}

namespace {
Dialog* Build(DialogEvent& Event, bool Invite) {
    return OkCancelDialog(Invite ? "Invite player to private chat channel" : "Exclude player from private chat channel",
                          new PrivateChannelBody(Invite, Event.Data), "Ok");
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
