// "Select Outfit": the outfits the server offers, the current one shown in
// its four colours, a part chooser and the 133 colours of the outfit
// palette. Ok sends the choice to the server.
#pragma once

#include "gui/dialogs/Page.h"

#include <cstdint>

enum : int {
    OUTFIT_NEXT = 6,
    OUTFIT_PART = 1000,    // + 0 head .. 3 feet
    OUTFIT_COLOUR = 2000,  // + palette index 0 .. 132
};

class OutfitBody : public PageBody {
  public:
    // Current outfit, head, body, legs, feet colour, first and last outfit.
    explicit OutfitBody(const uint8_t Values[7]);
    void command(int number) override;
    int getOutfit() const { return Outfit; }
    int getColour(int Part) const { return Colours[Part]; }
    int getPart() const { return Part; }
    Button* getNext() const { return Next; }
    Button* getPartButton(int Part) const { return Parts[Part]; }
    Button* getSwatch(int Index) const { return Swatches[Index]; }
    const OutfitPicture* getPicture() const { return Picture; }
    const RadioButtonGroup& getSwatchGroup() const { return SwatchGroup; }

  private:
    void choosePart(int Part);
    OutfitPicture* Picture;
    Button* Next;
    Button* Parts[4];
    Button* Swatches[133];
    RadioButtonGroup PartGroup, SwatchGroup;
    int Outfit, First, Last;
    uint8_t Colours[4];
    int Part = 0;
};
