// "Banishments & Namelocks": a gamemaster's report of a character with the
// reason, the action, a comment and whether the address is banished too;
// sent to the server on Ok.
#pragma once

#include "gui/dialogs/Page.h"


class BanishmentBody : public PageBody {
  public:
    explicit BanishmentBody(const char* Name);
    void keyPress(int code) override;
    void command(int number) override;
    EditField* getName() const { return Name; }
    ListBox* getReasons() const { return Reasons; }
    ListBox* getActions() const { return Actions; }
    EditField* getComment() const { return Comment; }
    CheckBox* getAddress() const { return Address; }

  private:
    EditField* Name;
    ListBox* Reasons;
    ListBox* Actions;
    EditField* Comment;
    CheckBox* Address;
    FocusGroup Focus;
};
