// "Reporting": the player describes a fault of the game in his own words,
// and Ok sends the text to the server as a bug report. Opened by the main
// game window's bug-report command for a player who may send reports.
#pragma once

#include "gui/dialogs/Page.h"

// The longest report the dialog takes.
constexpr int BUG_REPORT_LENGTH = 1000;

class BugReportBody : public PageBody {
  public:
    BugReportBody();
    void keyPress(int code) override;
    // Ok sends a report that says something and closes; a blank one is not
    // sent, and the dialog stays for the words. Cancel closes.
    void command(int number) override;
    TextField* getField() const { return Field; }

  private:
    TextField* Field;
};

// The builder of event 16 (exposed for the tests of the builders' table).
Dialog* BuildBugReportDialog(DialogEvent& Event);
