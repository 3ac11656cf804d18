#include "gui/help/HelpPopup.h"

#include "core/Assert.h"
#include "core/Status.h"
#include "gui/framework/Skins.h"

#include <algorithm>

namespace {

// The frame: the window border around the dialogs' inside.
constexpr int FRAME_ENTRIES = 9;
constexpr int BORDER = 2, MARGIN = 6;
constexpr int INSIDE_SKIN = 47;

bool Inside(int x, int y, int W, int H, int RootWidth, int RootHeight) {
    return x >= 0 && y >= 0 && x + W <= RootWidth && y + H <= RootHeight;
}

}  // namespace

HelpPopup::HelpPopup(const char* Text, int RootWidth, int RootHeight) : CompositeComponent(FRAME_ENTRIES) {
    ASSERT(Text!=NULL);
    HelpText = new MarkupText(Text != NULL ? Text : "");
    ASSERT(HelpText!=NULL);
    addChild(HelpText);
    // Laid out at the popup's width and shrunk to what the text takes; a
    // text too long for the popup's or the root's height is laid out wider.
    const int Frame = 2 * (BORDER + MARGIN), Room = 2 * HELP_POPUP_GAP;
    HelpText->fitText(HELP_POPUP_WIDTH, std::max(RootWidth - Frame - Room, HELP_POPUP_WIDTH),
                      std::min(HELP_POPUP_HEIGHT, RootHeight - Frame - Room));
    HelpText->setPosition(BORDER + MARGIN, BORDER + MARGIN);
    const int Width = HelpText->getWidth() + 2 * (BORDER + MARGIN);
    const int Height = HelpText->getHeight() + 2 * (BORDER + MARGIN);
    Component::setSize(Width, Height);
    setBorderEntries(0, INSIDE_SKIN, 0, 0, Width, Height);
}

HelpPopup::~HelpPopup() {
    if (Keeper != NULL && *Keeper == this) *Keeper = NULL;
}

void HelpPopup::draw(int Surface, int x, int y) {
    // Help mode may have ended without a button release (a key, leaving the
    // game): the popup of a finished help mode is not shown.
    if (GetInputMode() != INPUT_HELP) return;
    CompositeComponent::draw(Surface, x, y);
}

void PlaceHelpPopup(int x, int y, int w, int h, int W, int H, int RootWidth, int RootHeight, int PointerX,
                    int& NewX, int& NewY) {
    const int g = HELP_POPUP_GAP;
    const int Left = x - W - g, Right = x + w + g;
    // The top moved so that the popup fits the root vertically.
    const int Fitted = std::max(0, std::min(y, RootHeight - H));
    const int Candidates[8][2] = {{Left, y},       {Right, y},      {Left, y + h - H}, {Right, y + h - H},
                                  {Left, Fitted},  {Right, Fitted}, {x, y + h + g},    {x, y - H - g}};
    for (const auto& C : Candidates) {
        if (Inside(C[0], C[1], W, H, RootWidth, RootHeight)) {
            NewX = C[0];
            NewY = C[1];
            return;
        }
    }
    // Nothing fits: the top corner on the other side from the pointer. A
    // popup larger than the root keeps its top left corner on the screen.
    NewX = PointerX < RootWidth / 2 ? RootWidth - W - g : g;
    NewY = g;
    NewX = std::max(NewX, 0);
    NewY = std::max(NewY, 0);
}
