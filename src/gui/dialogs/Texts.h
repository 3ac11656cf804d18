// The text of a readable or writable object ("Show Text" / "Edit Text") and
// the list editor ("Edit List"), both opened by the server's requests; an
// edited text or list goes back to the server on Ok.
#pragma once

#include "gui/dialogs/Page.h"

#include <cstdint>

class TextBody : public PageBody {
  public:
    // Editable: the field takes input and Ok answers with the text.
    TextBody(uint32_t TextID, bool Editable, int MaxLength, const char* Text, const char* Author);
    void keyPress(int code) override;
    void command(int number) override;
    TextField* getField() const { return Field; }
    bool isEditable() const { return Editable; }

  private:
    uint32_t TextID;
    bool Editable;
    TextField* Field;
};

class ListBody : public PageBody {
  public:
    ListBody(int Kind, uint32_t ListID, const char* Text);
    void keyPress(int code) override;
    void command(int number) override;
    TextField* getField() const { return Field; }

  private:
    int Kind;
    uint32_t ListID;
    TextField* Field;
};

// A key for a text field of a dialog: Enter starts a new line (the dialog's
// Ok is a button), everything else goes to the field.
void TypeIntoTextField(TextField* Field, int code);

// The longest list the editor takes.
constexpr int EDIT_LIST_LENGTH = 4095;
