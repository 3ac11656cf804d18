// The ignore list dialog and the builder of its event.
#include "gui/dialogs/Ignore.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Utils.h"

#include <string>
#include <vector>

namespace {
constexpr const char* NEW_ENTRY = "new entry";
constexpr int SMALL_TEXT_UP = 18, SMALL_TEXT_DOWN = 19;

std::string Trimmed(const std::string& Text) {
    const size_t First = Text.find_first_not_of(" \t");
    if (First == std::string::npos) return "";
    return Text.substr(First, Text.find_last_not_of(" \t") - First + 1);
}
}  // namespace

IgnoreBody::IgnoreBody() {
    const auto& P = SkinProperties().Pages;
    addRow(new Label("Edit the characters you wish to ignore:"));
    addRow(new Label("Enter one name per line."));
    // The small button skin is narrower than "Delete": both buttons take
    // the width their captions need, and the same width. The list is sized
    // before it is added, so that the rows below start under it.
    Add = new TextButton("Add", CommandTarget(this, IGNORE_ADD), SMALL_TEXT_UP, SMALL_TEXT_DOWN);
    Delete = new TextButton("Delete", CommandTarget(this, IGNORE_DELETE), SMALL_TEXT_UP, SMALL_TEXT_DOWN);
    FitButtonToCaption(Add);
    FitButtonToCaption(Delete);
    const int ButtonWidth = std::max(Add->getWidth(), Delete->getWidth());
    Add->setSize(ButtonWidth, Add->getHeight());
    Delete->setSize(ButtonWidth, Delete->getHeight());
    List = new ListBox(CommandTarget(), CommandTarget(), true);
    List->setSize(P.Width - ButtonWidth - P.RowGap, P.ListHeight);
    const int Top = nextRowTop();
    addBeside(List, 0, Top);
    addBeside(Add, P.Width - ButtonWidth, Top);
    addBeside(Delete, P.Width - ButtonWidth, Top + Add->getHeight() + P.RowGap);
    bool Permanent = GetNumberOfIgnores() == 0;
    for (int i = 0; i < GetNumberOfIgnores(); ++i) {
        List->addLine(GetIgnoreName(i));
        Permanent |= GetIgnorePermanent(i);
    }
    if (List->getLines() > 0) List->select(0);
    addRow(new Label("Global settings for ignoring messages:"), 0, P.SectionGap);
    Boxes[0] = addRow(new CheckBox("Ignore Permanently", Permanent));
    Boxes[1] = addRow(new CheckBox("Ignore Yelling", GetIgnoreYelling()));
    Boxes[2] = addRow(new CheckBox("Ignore Private Messages", GetIgnorePrivateMessages()));
    for (CheckBox* Box : Boxes) Box->setSize(P.Width, Box->getHeight());
}

void IgnoreBody::keyPress(int code) {
    if (code == keys::ENTER && !List->isRenaming())
        command(DIALOG_OK);
    else
        List->keyPress(code);
}

void IgnoreBody::command(int number) {
    switch (number) {
    case IGNORE_ADD: {
        if (List->isRenaming()) List->keyPress(keys::ENTER);
        List->addLine(NEW_ENTRY);
        const int Line = List->getLines() - 1;
        List->select(Line);
        // A double click on the line starts renaming it; the name offered is
        // all selected, so typing replaces it.
        const auto& L = SkinProperties().ListBox;
        List->leftDoubleClick(L.Margin + 4, L.Margin + (Line - List->getTopLine()) * L.LineHeight + 1, 0);
        if (List->getRenameField() != NULL) List->getRenameField()->command(20);
        break;
    }
    case IGNORE_DELETE: {
        if (List->isRenaming()) List->keyPress(keys::ENTER);
        const int Line = List->getSelectedLine();
        if (Line >= 0) List->removeLine(Line);
        if (List->getLines() > 0) List->select(std::min(Line, List->getLines() - 1));
        break;
    }
    case DIALOG_OK: {
        if (List->isRenaming()) List->keyPress(keys::ENTER);
        std::vector<std::string> Names;
        for (int i = 0; i < List->getLines(); ++i) {
            const std::string Name = Trimmed(List->getLine(i));
            if (!Name.empty() && Name != NEW_ENTRY) Names.push_back(Name);
        }
        // Names no longer listed go; the listed ones take the permanence.
        for (int i = GetNumberOfIgnores() - 1; i >= 0; --i) {
            const std::string Old = GetIgnoreName(i);
            bool Kept = false;
            for (const std::string& Name : Names) Kept |= CompareNoCase(Name.c_str(), Old.c_str()) == 0;
            if (!Kept) RemoveIgnore(Old.c_str());
        }
        for (const std::string& Name : Names) AddIgnore(Name.c_str(), Boxes[0]->isTicked());
        SetIgnoreYelling(Boxes[1]->isTicked());
        SetIgnorePrivateMessages(Boxes[2]->isTicked());
        Close();
        break;
    }
    case DIALOG_CANCEL: Close(); break;
    default: ASSERT(false); break;
    }
}

namespace {
Dialog* BuildIgnore(DialogEvent&) {
    auto* Body = new IgnoreBody;
    auto* D = new Dialog("Edit Ignore List", Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    // Enter ends a renaming first.
    D->setEnterTarget(CommandTarget());
    return D;
}
}  // namespace

void RegisterIgnoreDialog() { RegisterDialogBuilder(IGNORE_EVENT, BuildIgnore); }
