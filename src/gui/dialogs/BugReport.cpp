// The bug report dialog and the builder of its event.
#include "gui/dialogs/BugReport.h"

#include "core/Assert.h"
#include "gui/dialogs/Texts.h"
#include "net/Commands.h"

#include <cstring>

BugReportBody::BugReportBody() {
    const auto& P = SkinProperties().Pages;
    addRow(new Label("Please describe the bug you have found:\nwhat you did, and what happened."));
    addRow(new Label("The time and your character's position\nare sent with your words."));
    Field = addRow(new TextField(BUG_REPORT_LENGTH, false), 0, P.SectionGap);
    // Lower than a book's page: the dialog fits the smallest window whole.
    Field->setSize(P.TextWidth, P.TextHeight * 2 / 3);
    Field->setFocused(true);
}

void BugReportBody::keyPress(int code) { TypeIntoTextField(Field, code); }

void BugReportBody::command(int number) {
    switch (number) {
    case DIALOG_OK: {
        const char* Text = Field->getText();
        if (Text[std::strspn(Text, " \t\r\n")] == 0) return;
        SendBugReport(Text);
        Close();
        break;
    }
    case DIALOG_CANCEL: Close(); break;
    default: ASSERT(false); break;
    }
}

Dialog* BuildBugReportDialog(DialogEvent&) {
    auto* Body = new BugReportBody;
    auto* D = new Dialog("Reporting", Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    // Enter belongs to the text.
    D->setEnterTarget(CommandTarget());
    return D;
}

void RegisterBugReportDialog() { RegisterDialogBuilder(BUGREPORT_EVENT, BuildBugReportDialog); }
