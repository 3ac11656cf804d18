#include "gui/help/HelpMode.h"

#include "gui/help/Help.h"
#include "gui/help/HelpPopup.h"

namespace {

// Lives from a change of the help number to the next, or to the end of help mode.
HelpPopup* Popup = NULL;

void RemovePopup() {
    HelpPopup* Old = Popup;
    Popup = NULL;
    if (Old == NULL) return;
    if (Component* Parent = Old->getParent())
        Parent->deleteChild(Old);
    else
        delete Old;
}

}  // namespace

void ResetHelpPointer() {
    RemovePopup();
    SetHelpNumber(0);
    TakeHelpChanged();
}

void HelpPointerMove(int x, int y) {
    Component* Root = GetRootComponent();
    if (Root == NULL) return;
    SetHelpOrigin(0, 0);
    SetHelpSize(0, 0);
    Root->queryHelp(x, y);
    if (!TakeHelpChanged()) return;
    RemovePopup();
    const int Number = GetHelpNumber();
    if (Number == 0) return;
    char Text[HELP_TEXT_LENGTH];
    if (!helpText(Number, Text)) return;
    auto* Composite = dynamic_cast<CompositeComponent*>(Root);
    if (Composite == NULL) return;
    Popup = new HelpPopup(Text, Root->getWidth(), Root->getHeight());
    Popup->setKeeper(&Popup);
    Composite->addChild(Popup);
    int hx, hy, hw, hh, px, py;
    GetHelpQuery(hx, hy, hw, hh);
    PlaceHelpPopup(hx, hy, hw, hh, Popup->getWidth(), Popup->getHeight(), Root->getWidth(), Root->getHeight(), x,
                   px, py);
    Popup->setPosition(px, py);
}

void CloseHelpPointer() { RemovePopup(); }

HelpPopup* GetHelpPopup() { return Popup; }
