// "Invite player to private chat channel" (event 18) and "Exclude player
// from private chat channel" (event 19): a name, prefilled with the player
// the menu was opened on, sent to the server for the player's own channel.
#pragma once

#include "gui/framework/DialogElements.h"

class PrivateChannelBody : public CompositeComponent {
  public:
    PrivateChannelBody(bool Invite, const char* Name);
    void keyPress(int code) override;
    void command(int number) override;
    EditField* getName() const { return Name; }

  private:
    bool Invite;
    EditField* Name;
};

void RegisterPrivateChannelDialogs();
