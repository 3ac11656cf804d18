// The text window and the list editor, and the builders of their events.
#include "gui/dialogs/Texts.h"

#include "core/Assert.h"
#include "net/Commands.h"
#include "net/GameMessages.h"
#include "world/Objects.h"

#include <algorithm>
#include <cstring>
#include <string>

void TypeIntoTextField(TextField* Field, int code) {
    if (code == keys::ENTER) {
        if (Field->isReadOnly() || Field->getLength() >= Field->getMaxLength()) return;
        const int At = Field->getCursor();
        Field->insertChar(At, '\n');
        Field->setCursor(At + 1);
        return;
    }
    Field->keyPress(code);
}

TextBody::TextBody(uint32_t TextID, bool Editable, int MaxLength, const char* Text, const char* Author)
    : TextID(TextID), Editable(Editable) {
    const auto& P = SkinProperties().Pages;
    if (Text == NULL) Text = "";
    const bool Empty = Text[0] == 0;
    addRow(new Label(Editable ? "You can enter new text." : "You read the following:"));
    if (Author != NULL && Author[0] != 0) addRow(new Label((std::string("Written by ") + Author).c_str()));
    if (Empty) addRow(new Label(Editable ? "It is currently empty." : "It is empty."));
    // A text as long as the limit still fits the field whole.
    MaxLength = std::max({MaxLength, int(std::strlen(Text)), 1});
    Field = addRow(new TextField(MaxLength, !Editable), 0, P.SectionGap);
    Field->setSize(P.TextWidth, P.TextHeight);
    Field->setText(Text);
    Field->setCursor(0);
    if (Editable) Field->setFocused(true);
}

void TextBody::keyPress(int code) { TypeIntoTextField(Field, code); }

void TextBody::command(int number) {
    okOrCancel(number, [&] {
        if (Editable) SendEditText(TextID, Field->getText());
    });
}

ListBody::ListBody(int Kind, uint32_t ListID, const char* Text) : Kind(Kind), ListID(ListID) {
    const auto& P = SkinProperties().Pages;
    addRow(new Label("Enter one name per line."));
    Field = addRow(new TextField(EDIT_LIST_LENGTH, false), 0, P.SectionGap);
    Field->setSize(P.TextWidth, P.TextHeight);
    Field->setText(Text != NULL ? Text : "");
    Field->setFocused(true);
}

void ListBody::keyPress(int code) { TypeIntoTextField(Field, code); }

void ListBody::command(int number) {
    okOrCancel(number, [&] { SendEditList(Kind, ListID, Field->getText()); });
}

namespace {

Dialog* BuildText(DialogEvent&) {
    const EditTextRequest& R = GetEditText();
    // A text that may be written (always, or once while empty) is edited;
    // any other is only shown.
    const bool Editable = GetObjectFlag(R.Type, WRITE) ||
                          (GetObjectFlag(R.Type, WRITEONCE) && (R.Text == nullptr || R.Text[0] == 0));
    auto* Body = new TextBody(R.TextID, Editable, R.MaxLength, R.Text, R.SecondText);
    auto* D = new Dialog(Editable ? "Edit Text" : "Show Text", Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    if (Editable)
        D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    else
        D->removeCancelButton();
    // Enter belongs to the text; Escape closes.
    D->setEnterTarget(CommandTarget());
    D->setEscapeTarget(CommandTarget(Body, DIALOG_CANCEL));
    return D;
}

Dialog* BuildList(DialogEvent&) {
    const EditListRequest& R = GetEditList();
    auto* Body = new ListBody(R.Kind, R.ListID, R.Text);
    auto* D = new Dialog("Edit List", Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    D->setEnterTarget(CommandTarget());
    return D;
}

}  // namespace

void RegisterTextDialogs() {
    RegisterDialogBuilder(GAME_EVENT_EDITTEXT, BuildText);
    RegisterDialogBuilder(GAME_EVENT_EDITLIST, BuildList);
}
