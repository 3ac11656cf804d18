// The console's dialogs: the channel choice and the rule-violation question
// (RegisterConsoleDialogs, framework/Dialogs.h, enters them and the channel
// events in the table of builders), and the body they share with the
// private channel's dialogs.
#pragma once

#include "gui/framework/DialogElements.h"

class Dialog;

// A caption over one edit field (prefilled with Text, if any): Ok or Enter
// hands on a text typed, and closes the dialog as Cancel or Escape do.
class FieldBody : public CompositeComponent {
  public:
    FieldBody(const char* Caption, int MaxLength, const char* Text = NULL);
    void keyPress(int code) override;
    void command(int number) override;
    EditField* getField() const { return Field; }

  protected:
    // The text typed, never empty.
    virtual void accept(const char* Text) = 0;

  private:
    EditField* Field;
};

// The dialog around Body with a default button Ok and "Cancel", both aimed
// at the body.
Dialog* OkCancelDialog(const char* Caption, Component* Body, const char* Ok);

// The answer to the channel list: the offered channels and a name field for
// a private conversation.
Dialog* ChannelChoiceDialog();

// The question the player asks a counsellor (event CONSOLE_EVENT_DIALOG_REPORT);
// its answer posts CONSOLE_EVENT_REPORT with the text.
Dialog* ReportDialog();
