// The hotkey page and the builder of its event.
#include "gui/dialogs/Hotkeys.h"

#include "core/Assert.h"
#include "core/BuildSettings.h"
#include "gui/dialogs/Options.h"

#include <cstdio>

std::string HotkeyLineText(int Number, const char* Text) {
    ASSERT(In(Number,0,HOTKEYS-1));
    char Line[HOTKEY_LENGTH + 32];
    if (Number < 12)
        std::snprintf(Line, sizeof Line, "F%d%s: %s", Number + 1, "", Text);
    else if (Number < 24)
        std::snprintf(Line, sizeof Line, "Shift+F%d%s: %s", Number - 11, "", Text);
    else
        std::snprintf(Line, sizeof Line, "Control+F%d%s: %s", Number - 23, "", Text);
    return Line;
}

namespace {
// The list draws the lines that are sent at once in the highlight colour.
class Lines : public ListBox {
  public:
    Lines(HotkeyOptionsBody* Page) : ListBox(CommandTarget(Page, HOTKEYS_SELECT), CommandTarget()), Page(Page) {}

  protected:
    const SkinColour* lineColour(int Line) const override {
        return Page->getFlag(Line) ? &SkinProperties().Markup.Highlight : NULL;
    }

  private:
    HotkeyOptionsBody* Page;
};
}  // namespace

HotkeyOptionsBody::HotkeyOptionsBody() {
    const auto& P = SkinProperties().Pages;
    for (int i = 0; i < HOTKEYS; ++i) {
        Texts[i] = GetHotkey(i);
        Flags[i] = GetHotkeyAutoSend(i);
    }
    addRow(new Label("Available hotkeys:"));
    List = addRow(new Lines(this));
    List->setSize(P.TextWidth, P.ListHeight);
    for (int i = 0; i < HOTKEYS; ++i) List->addLine(HotkeyLineText(i, Texts[i].c_str()).c_str());
    addRow(new Label("Edit hotkey text:"), 0, P.SectionGap);
    Field = addRow(new EditField(HOTKEY_LENGTH - 1));
    Field->setSize(P.TextWidth, Field->getHeight());
    AutoSend = addRow(new CheckBox("Send automatically"));
    AutoSend->setSize(P.TextWidth, AutoSend->getHeight());
    // Nothing to edit until a line is chosen.
    Field->setInactive(true);
    AutoSend->setEnabled(false);
}

bool HotkeyOptionsBody::getFlag(int Number) const {
    if (!In(Number, 0, HOTKEYS - 1)) return false;
    return Number == Current ? AutoSend->isTicked() : Flags[Number];
}

void HotkeyOptionsBody::sync() {
    if (Current < 0) return;
    if (Texts[Current] != Field->getText()) {
        Texts[Current] = Field->getText();
        List->setLine(Current, HotkeyLineText(Current, Texts[Current].c_str()).c_str());
    }
    // Only a text can be sent at once.
    const bool HasText = !Texts[Current].empty();
    if (!HasText) AutoSend->setTicked(false);
    if (AutoSend->isEnabled() != HasText) AutoSend->setEnabled(HasText);
}

void HotkeyOptionsBody::keyPress(int code) {
    if (code == keys::UP || code == keys::DOWN) {
        List->keyPress(code);
        return;
    }
    if (Current < 0) return;
    Field->keyPress(code);
    sync();
}

void HotkeyOptionsBody::command(int number) {
    switch (number) {
    case HOTKEYS_SELECT: {
        const int Number = List->getSelectedLine();
        if (Number < 0 || Number == Current) return;
        ASSERT(In(Number,0,HOTKEYS-1));
        sync();
        if (Current >= 0) Flags[Current] = AutoSend->isTicked();
        Current = Number;
        Field->setInactive(false);
        Field->setText(Texts[Current].c_str());
        Field->setFocused(true);
        AutoSend->setEnabled(true);
        AutoSend->setTicked(Flags[Current]);
        sync();
        break;
    }
    case DIALOG_OK:
        sync();
        if (Current >= 0) Flags[Current] = AutoSend->isTicked();
        for (int i = 0; i < HOTKEYS; ++i) SetHotkey(i, Texts[i].c_str(), Flags[i] && !Texts[i].empty());
        Close();
        // Opened from the options menu, the menu writes the file when it
        // closes; opened on its own, the page writes it now.
        if (PeekEventType() != OPTIONS_EVENT_MENU) SavePreferences();
        break;
    case DIALOG_CANCEL: Close(); break;
    case OPTIONS_HELP: {
        const std::string Address = std::string(build_settings::MANUAL_URL) + "#hotkeys";
        OpenDialogDocument(Address.c_str());
        break;
    }
    default: ASSERT(false); break;
    }
}

namespace {
Dialog* BuildHotkeys(DialogEvent&) {
    auto* Body = new HotkeyOptionsBody;
    auto* D = new Dialog("Hotkey Options", Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    D->setExtraButton("Help", CommandTarget(Body, OPTIONS_HELP));
    return D;
}
}  // namespace

void RegisterHotkeyDialog() { RegisterDialogBuilder(OPTIONS_EVENT_HOTKEYS, BuildHotkeys); }
