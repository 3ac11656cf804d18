#include "gui/dialogs/EditMarkDialog.h"

#include "core/Assert.h"
#include "graphics/graphics.h"
#include "gui/framework/Skins.h"

#include <algorithm>

namespace {

constexpr int SYMBOL_UP = 90, SYMBOL_DOWN = 91;  // 20 x 21 button faces
constexpr int SYMBOLS_PER_ROW = 10;
constexpr int SYMBOL_GAP = 2;
constexpr int ROW_GAP = 6;    // between the label, the field and the buttons
constexpr int SYMBOL_COMMAND = 1000;  // + symbol: a symbol button was chosen

// The one record waiting for its dialog.
struct PendingMark {
    Coordinate Where;
    AutomapMark Mark;
};
PendingRecord<PendingMark> Pending;

void Close() { SetInputMode(INPUT_IDLE); }

// A symbol button: the mark's picture in the middle of the button's face,
// moved with the face when it is down.
class SymbolButton : public Button {
  public:
    SymbolButton(int Symbol, CommandTarget Target) : Button(SYMBOL_UP, SYMBOL_DOWN, Target), Symbol(Symbol) {}
    void draw(int Surface, int x, int y) override {
        Button::draw(Surface, x, y);
        const int Skin = AUTOMAP_SYMBOL_SKIN + Symbol;
        const SkinRect& S = Skins[Skin];
        const SkinPoint& Offset = SkinProperties().Buttons.PressedOffset;
        const int Shift = isDown() ? 1 : 0;
        DrawSkinTiled(Surface, x + (_Width - S.width) / 2 + Shift * Offset.x,
                      y + (_Height - S.height) / 2 + Shift * Offset.y, S.width, S.height, Skin, 0, 0);
    }

  private:
    int Symbol;
};

Dialog* BuildEditMark(DialogEvent& Ev) {
    // A record replaced by a newer one opens nothing; the newer event opens it.
    const PendingMark* P = Pending.take(Ev.E.Data);
    if (P == NULL) return NULL;
    auto* Body = new EditMarkBody(P->Where, Ev.E.Type == MESSAGE_EDIT_MARK ? &P->Mark : NULL);
    auto* D = new Dialog("Edit Mark", Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    return D;
}

}  // namespace

void PostEditMark(int Type, const Coordinate& _Coordinate, const AutomapMark& Mark) {
    ASSERT(Type==MESSAGE_SET_MARK || Type==MESSAGE_EDIT_MARK);
    Pending.post(Type, PendingMark{_Coordinate, Mark});
}

EditMarkBody::EditMarkBody(const Coordinate& _Coordinate, const AutomapMark* Mark)
    : _Coordinate(_Coordinate), Editing(Mark != NULL) {
    if (Mark != NULL) Old = *Mark;
    auto* TextLabel = new Label("Text:");
    addChild(TextLabel);
    Text = new EditField(MARK_TEXT_FIELD_LENGTH);
    addChild(Text);
    auto* SymbolLabel = new Label("Symbol:");
    addChild(SymbolLabel);
    const int Width = SYMBOLS_PER_ROW * Skins[SYMBOL_UP].width + (SYMBOLS_PER_ROW - 1) * SYMBOL_GAP;
    TextLabel->setPosition(0, 0);
    Text->setPosition(0, TextLabel->getHeight() + ROW_GAP / 2);
    Text->setSize(Width, Text->getHeight());
    SymbolLabel->setPosition(0, Text->getY() + Text->getHeight() + ROW_GAP);
    const int Top = SymbolLabel->getY() + SymbolLabel->getHeight() + ROW_GAP / 2;
    const int Selected = In(Old.Icon, 0, AUTOMAP_SYMBOLS - 1) ? Old.Icon : 0;
    int Bottom = Top;
    for (int s = 0; s < AUTOMAP_SYMBOLS; ++s) {
        Symbols[s] = new SymbolButton(s, CommandTarget(this, SYMBOL_COMMAND + s));
        addChild(Symbols[s]);
        Group.addMember(Symbols[s]);
        const int Row = s / SYMBOLS_PER_ROW, Column = s % SYMBOLS_PER_ROW;
        Symbols[s]->setPosition(Column * (Symbols[s]->getWidth() + SYMBOL_GAP),
                                Top + Row * (Symbols[s]->getHeight() + SYMBOL_GAP));
        Bottom = Symbols[s]->getY() + Symbols[s]->getHeight();
    }
    Group.Selected = Symbols[Selected];
    Text->setText(Old.Text.c_str());
    Text->setCursor(Text->getLength());
    Text->setFocused(true);
    Component::setSize(Width, Bottom);
}

EditMarkBody::~EditMarkBody() = default;

Button* EditMarkBody::getSymbolButton(int Symbol) const {
    return In(Symbol, 0, AUTOMAP_SYMBOLS - 1) ? Symbols[Symbol] : NULL;
}

int EditMarkBody::getSymbol() const {
    for (int s = 0; s < AUTOMAP_SYMBOLS; ++s)
        if (Group.Selected == Symbols[s]) return s;
    return 0;
}

void EditMarkBody::keyPress(int code) { Text->keyPress(code); }

void EditMarkBody::command(int number) {
    if (In(number, SYMBOL_COMMAND, SYMBOL_COMMAND + AUTOMAP_SYMBOLS - 1)) return;  // the group keeps the choice
    if (number == DIALOG_OK) {
        // The mark edited gives way to the new one at the same place.
        const Coordinate Where = Editing ? Coordinate{Old.x, Old.y, _Coordinate.z} : _Coordinate;
        if (Where.x > 0 && Where.y > 0) {
            if (Editing) DeleteAutomapMarks(Where.x, Where.y, Where.z);
            AddAutomapMark(Where, Text->getText(), getSymbol());
        }
    }
    Close();
}

void RegisterAutomapDialogs() {
    RegisterDialogBuilder(MESSAGE_SET_MARK, BuildEditMark);
    RegisterDialogBuilder(MESSAGE_EDIT_MARK, BuildEditMark);
}
