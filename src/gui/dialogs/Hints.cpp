#include "gui/dialogs/Hints.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Status.h"
#include "gui/help/Help.h"

#include <algorithm>

namespace {

void Close() { SetInputMode(INPUT_IDLE); }

}  // namespace

HintsBody::HintsBody() {
    auto* Caption = new Label("Hints you have read so far:");
    addChild(Caption);
    List = new ListBox(CommandTarget(), CommandTarget(this, HINTS_SHOW));
    addChild(List);
    for (int n = 1; n <= EVENTHELPS; ++n) {
        if (!IsKnownHint(n)) continue;
        Hints[Count++] = n;
        List->addLine(eventHintTitle(n));
    }
    const int Width = std::max(240, Caption->getWidth());
    List->setPosition(0, Caption->getHeight() + 4);
    List->setSize(Width, 180);
    if (Count > 0) List->select(0);
    Component::setSize(Width, List->getY() + List->getHeight());
}

int HintsBody::getHint(int Line) const { return In(Line, 0, Count - 1) ? Hints[Line] : 0; }

void HintsBody::keyPress(int code) {
    if (code == keys::ENTER)
        command(HINTS_SHOW);
    else if (code == keys::ESCAPE)
        command(HINTS_CLOSE);
    else
        List->keyPress(code);
}

void HintsBody::command(int number) {
    switch (number) {
    case HINTS_SHOW: {
        const int Hint = getHint(List->getSelectedLine());
        if (Hint == 0) return;
        // The hint, then this list again, before whatever waits behind them
        // (the help menu the list was opened from).
        PostEventFirst(MESSAGE_HINTS, 0, 0);
        PostTextEventFirst(MESSAGE_ERROR2, eventHintTitle(Hint), eventHintText(Hint));
        Close();
        break;
    }
    case HINTS_RESET:
        ClearKnownHints();
        Close();
        break;
    default: Close(); break;
    }
}

namespace {

Dialog* BuildHints(DialogEvent&) {
    auto* Body = new HintsBody();
    auto* D = new Dialog("Hints for Vorna", Body);
    D->setDefaultButton("Show", CommandTarget(Body, HINTS_SHOW));
    D->setCancelButton("Close", CommandTarget(Body, HINTS_CLOSE));
    D->setExtraButton("Reset", CommandTarget(Body, HINTS_RESET));
    return D;
}

}  // namespace

void RegisterHintsDialog() { RegisterDialogBuilder(MESSAGE_HINTS, BuildHints); }
