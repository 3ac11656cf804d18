// "Hints for Vorna": the titles of the hints already shown; "Show" shows
// the chosen one again, "Reset" lets every hint come up once more.
#pragma once

#include "gui/framework/Dialogs.h"
#include "gui/help/EventHints.h"


class HintsBody : public CompositeComponent {
  public:
    HintsBody();
    void keyPress(int code) override;
    void command(int number) override;
    ListBox* getList() const { return List; }
    // The hint number of each line.
    int getHint(int Line) const;

  private:
    ListBox* List;
    int Hints[EVENTHELPS] = {};
    int Count = 0;
};
enum : int { HINTS_SHOW = 1, HINTS_CLOSE = 2, HINTS_RESET = 3 };

// Event 29.
void RegisterHintsDialog();
