// "Invite player to private chat channel" (event 18) and "Exclude player
// from private chat channel" (event 19): a name, prefilled with the player
// the menu was opened on, sent to the server for the player's own channel.
#pragma once

#include "gui/dialogs/ConsoleDialogs.h"

class PrivateChannelBody : public FieldBody {
  public:
    PrivateChannelBody(bool Invite, const char* Name);
    EditField* getName() const { return getField(); }

  protected:
    void accept(const char* Name) override;

  private:
    bool Invite;
};

void RegisterPrivateChannelDialogs();
