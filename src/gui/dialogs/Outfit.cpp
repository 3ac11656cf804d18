// The outfit dialog and the builder of its event.
#include "gui/dialogs/Outfit.h"

#include "core/Assert.h"
#include "core/Utils.h"
#include "graphics/Surface.h"
#include "net/Commands.h"
#include "net/GameMessages.h"

#include <algorithm>

namespace {

constexpr int SWATCH_COLUMNS = 19;
constexpr int SMALL_FACE_UP = 92, SMALL_FACE_DOWN = 93;
constexpr int SMALL_TEXT_UP = 18, SMALL_TEXT_DOWN = 19;
const char* const PART_NAMES[4] = {"Head", "Body", "Legs", "Feet"};

// One colour of the palette on a small button face; the chosen one is
// outlined in white.
class Swatch : public Button {
  public:
    Swatch(int Index, CommandTarget Target) : Button(SMALL_FACE_UP, SMALL_FACE_DOWN, Target) {
        GetOutfitColor(Index, Red, Green, Blue);
    }
    void draw(int Surface, int x, int y) override {
        Button::draw(Surface, x, y);
        const bool Down = isDown();
        const int Inset = Down ? 3 : 2;
        FillRect(Surface, x + Inset, y + Inset, _Width - 2 * Inset, _Height - 2 * Inset, Red, Green, Blue);
        if (Down) DrawFrame(Surface, x + 1, y + 1, _Width - 2, _Height - 2, 1, 255, 255, 255);
    }

  private:
    int Red = 0, Green = 0, Blue = 0;
};

}  // namespace

OutfitBody::OutfitBody(const uint8_t Values[7]) : First(Values[5]), Last(Values[6]) {
    const auto& O = SkinProperties().OutfitDialog;
    const auto& P = SkinProperties().Pages;
    Outfit = std::clamp(int(Values[0]), std::min(First, Last), std::max(First, Last));
    for (int i = 0; i < 4; ++i) Colours[i] = In(Values[i + 1], 0, OUTFIT_COLORS - 1) ? Values[i + 1] : 0;

    addRow(new Label("Choose an outfit and determine the colours of the various\nparts of your character's body"));
    const int Top = nextRowTop() + P.SectionGap;
    // The picture in a frame, "Next" below it, the part buttons beside it.
    Picture = new OutfitPicture(O.PictureSize);
    auto* Framed = new WindowFrame(Picture);
    Framed->setSize(O.PictureSize + Framed->getMinimumWidth(), O.PictureSize + Framed->getMinimumHeight());
    addBeside(Framed, 0, Top);
    Next = addBeside(new TextButton("Next", CommandTarget(this, OUTFIT_NEXT), SMALL_TEXT_UP, SMALL_TEXT_DOWN), 0,
                     Top + Framed->getHeight() + P.RowGap);
    Next->setSize(Framed->getWidth(), Next->getHeight());
    const int PartX = Framed->getWidth() + O.Gap;
    for (int i = 0; i < 4; ++i) {
        Parts[i] = addBeside(
            new TextButton(PART_NAMES[i], CommandTarget(this, OUTFIT_PART + i), SMALL_TEXT_UP, SMALL_TEXT_DOWN), PartX,
            Top + i * O.PartStep);
        PartGroup.addMember(Parts[i]);
    }
    // The palette, 7 rows of 19, right of the part buttons.
    const int SwatchX = PartX + Parts[0]->getWidth() + O.Gap;
    for (int i = 0; i < OUTFIT_COLORS; ++i) {
        Swatches[i] = addBeside(new Swatch(i, CommandTarget(this, OUTFIT_COLOUR + i)),
                                SwatchX + (i % SWATCH_COLUMNS) * O.SwatchSize, Top + (i / SWATCH_COLUMNS) * O.SwatchSize);
        Swatches[i]->setSize(O.SwatchSize, O.SwatchSize);
        SwatchGroup.addMember(Swatches[i]);
    }
    Picture->setOutfit(Outfit, 0);
    for (int i = 0; i < 4; ++i) Picture->setColour(i + 1, Colours[i]);
    choosePart(0);
}

void OutfitBody::choosePart(int Number) {
    Part = Number;
    PartGroup.Selected = Parts[Number];
    SwatchGroup.Selected = Swatches[Colours[Number]];
}

void OutfitBody::command(int number) {
    if (number == OUTFIT_NEXT) {
        // After the last outfit comes the first again.
        Outfit = Outfit >= Last ? First : Outfit + 1;
        Picture->setOutfit(Outfit, 0);
        return;
    }
    if (In(number, OUTFIT_PART, OUTFIT_PART + 3)) {
        choosePart(number - OUTFIT_PART);
        return;
    }
    if (In(number, OUTFIT_COLOUR, OUTFIT_COLOUR + OUTFIT_COLORS - 1)) {
        Colours[Part] = uint8_t(number - OUTFIT_COLOUR);
        Picture->setColour(Part + 1, Colours[Part]);
        return;
    }
    okOrCancel(number, [&] { SendSetOutfit(Outfit, Colours); });
}

namespace {
Dialog* BuildOutfit(DialogEvent&) {
    const OutfitChoice& Choice = GetOutfitChoice();
    const uint8_t* Data = Choice.Values;
    ASSERT(Data!=NULL);
    auto* Body = new OutfitBody(Data);
    auto* D = new Dialog("Select Outfit", Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    return D;
}
}  // namespace

void RegisterOutfitDialog() { RegisterDialogBuilder(GAME_EVENT_OUTFIT, BuildOutfit); }
