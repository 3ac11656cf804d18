// The help popup: a framed marked-up text beside the part of the screen it
// explains, and where it goes there. Help mode (HelpMode.h) shows one at a
// time.
#pragma once

#include "gui/framework/DialogElements.h"

// The largest popup text and the gap between the popup and what it explains.
constexpr int HELP_POPUP_WIDTH = 322, HELP_POPUP_HEIGHT = 447;
constexpr int HELP_POPUP_GAP = 3;

class HelpPopup : public CompositeComponent {
  public:
    // The text is laid out whole at the popup's width, wider where it would
    // otherwise be taller than the popup or the root (RootWidth x
    // RootHeight) can show.
    HelpPopup(const char* Text, int RootWidth = SMALLEST_SCREEN_WIDTH, int RootHeight = SMALLEST_SCREEN_HEIGHT);
    ~HelpPopup() override;
    // The popup keeps the size of its text. The root hands its new size to
    // every child when the window changes: the popup then moves back inside.
    void setSize(int RootWidth, int RootHeight) override { keepInside(RootWidth, RootHeight); }
    void draw(int Surface, int x, int y) override;
    MarkupText* getText() const { return HelpText; }
    // The pointer its shower keeps to it: the popup clears it when it goes,
    // since its parent may destroy it (the root going away).
    void setKeeper(HelpPopup** Keeper) { this->Keeper = Keeper; }

  private:
    MarkupText* HelpText;
    HelpPopup** Keeper = NULL;
};

// Where a popup of W x H goes for the help area (x, y, w, h) on a root of
// RootWidth x RootHeight: left or right of the area, top- then
// bottom-aligned, then moved to fit vertically, then below or above it;
// failing all, the top corner away from the pointer.
void PlaceHelpPopup(int x, int y, int w, int h, int W, int H, int RootWidth, int RootHeight, int PointerX,
                    int& NewX, int& NewY);
