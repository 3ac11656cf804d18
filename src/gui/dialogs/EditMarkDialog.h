// "Edit Mark": the symbol and the text of an automap mark at a coordinate,
// for a new mark (event 26) or a copy of an existing one (event 27). Ok
// stores the mark in the automap area, replacing the one it was opened for.
#pragma once

#include "gui/framework/Dialogs.h"
#include "world/Automap.h"

// Marks carry a symbol 0..19, drawn as skin 70 + symbol: the dialog offers
// them, the automap panel draws them.
constexpr int AUTOMAP_SYMBOLS = 20;
constexpr int AUTOMAP_SYMBOL_SKIN = 70;
// The longest text the field takes.
constexpr int MARK_TEXT_FIELD_LENGTH = 100;

// Posts event 26 (a new mark at the coordinate) or 27 (the mark to edit).
// A newer record replaces one whose dialog has not opened yet.
void PostEditMark(int Type, const Coordinate& _Coordinate, const AutomapMark& Mark);

class EditMarkBody : public CompositeComponent {
  public:
    // Mark: the mark edited (event 27), or NULL for a new one.
    EditMarkBody(const Coordinate& _Coordinate, const AutomapMark* Mark);
    ~EditMarkBody() override;
    void keyPress(int code) override;
    void command(int number) override;
    EditField* getTextField() const { return Text; }
    Button* getSymbolButton(int Symbol) const;
    int getSymbol() const;

  private:
    Coordinate _Coordinate;
    bool Editing;
    AutomapMark Old;
    EditField* Text;
    Button* Symbols[20];
    RadioButtonGroup Group;
};

// Registers the builders of events 26 and 27.
void RegisterAutomapDialogs();
