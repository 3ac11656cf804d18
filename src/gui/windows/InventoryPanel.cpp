#include "gui/windows/InventoryPanel.h"

#include "core/Assert.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/windows/MainWindow.h"
#include "gui/framework/Skins.h"
#include "world/Creatures.h"
#include "world/Inventory.h"

#include <algorithm>
#include <cstdio>

namespace {

enum : int { INVENTORY_TOGGLE = 9 };

constexpr int MINIMISE_SKIN = 134, MINIMISE_SKIN_DOWN = 135;
constexpr int MAXIMISE_SKIN = 136, MAXIMISE_SKIN_DOWN = 137;
constexpr int MARGIN = 4;
constexpr int FONT = 2;
constexpr int LINE = 12;  // a line of the values in that font
constexpr SkinColour TEXT{224, 224, 224};

// The body slots on a grid of three columns and four rows, the way they sit
// on a figure: head on top, hands beside the body, feet at the bottom.
struct SlotPlace {
    int Slot, Column, Row;
};
constexpr SlotPlace SLOT_PLACES[BODY_POSITIONS] = {
    {2, 0, 0}, {1, 1, 0}, {3, 2, 0},   // neck, head, back
    {6, 0, 1}, {4, 1, 1}, {5, 2, 1},   // a hand, body, the other hand
    {9, 0, 2}, {7, 1, 2}, {10, 2, 2},  // finger, legs, extra
    {8, 1, 3},                         // feet
};

// The icons in the order shown: the first four condition flags, the party
// or skull mark, then the other four flags.
constexpr int FLAG_ICONS[8] = {224, 225, 228, 229, 231, 227, 226, 230};
constexpr const char* FLAG_TOOLTIPS[8] = {
    "You are poisoned",     "You are on fire",    "You are protected by a magic shield",
    "You are paralysed",    "You are hasted",     "You may not logout during a fight",
    "You are drunk",        "You are struck by magical energy",
};
constexpr int MARK_SKIN = 232;  // marks 1..4
constexpr const char* MARK_TOOLTIPS[4] = {
    "You may be attacked by other players",
    "You are a member of a party",
    "You have attacked an unmarked player",
    "You have killed too many unmarked players",
};

// The player's mark: his skull, or membership of a party (shield 3 member,
// 4 leader) when he has none.
int PlayerMark() {
    const Creature* Player = GetPlayerID() != 0 ? FindCreature(GetPlayerID()) : NULL;
    if (Player == NULL) return 0;
    if (In(Player->Skull, 1, 4)) return Player->Skull;
    return Player->PartyShield == 3 || Player->PartyShield == 4 ? 2 : 0;
}

int RowsHeight() { return 4 * InventoryPanel::SLOT_PITCH - 3; }
int RowWidth() { return 3 * InventoryPanel::SLOT_PITCH - 3; }
// The band at the top that holds the minimise button; the slots, or the
// minimised form's values, start below it.
int Top() { return MARGIN + Skins[MINIMISE_SKIN].height + 1; }

}  // namespace

int GetPlayerStateIcons(int Conditions, int Mark, PlayerStateIcon* Icons, int Room) {
    const int Most = std::min(Room, SkinProperties().PlayerStates.NumberOfIcons);
    int Count = 0;
    auto Add = [&](int Skin, const char* Tooltip) {
        if (Count < Most) Icons[Count++] = PlayerStateIcon{Skin, Tooltip};
    };
    for (int Flag = 0; Flag < 4; ++Flag)
        if (Conditions & (1 << Flag)) Add(FLAG_ICONS[Flag], FLAG_TOOLTIPS[Flag]);
    if (In(Mark, 1, 4)) Add(MARK_SKIN + Mark - 1, MARK_TOOLTIPS[Mark - 1]);
    for (int Flag = 4; Flag < 8; ++Flag)
        if (Conditions & (1 << Flag)) Add(FLAG_ICONS[Flag], FLAG_TOOLTIPS[Flag]);
    return Count;
}

InventoryPanel::InventoryPanel(Component* Main) : CompositeComponent(0), Main(Main) {
    for (int i = 0; i < BODY_POSITIONS; ++i) {
        Slots[i] = ObjectSlot::bodySlot(i + 1);
        addChild(Slots[i]);
    }
    MinimizeButton = new Button(MINIMISE_SKIN, MINIMISE_SKIN_DOWN, CommandTarget(this, INVENTORY_TOGGLE),
                                "Minimise inventory");
    addChild(MinimizeButton);
    Component::setSize(RowWidth() + 2 * MARGIN, getWantedHeight());
    layout();
}

InventoryPanel::~InventoryPanel() = default;

ObjectSlot* InventoryPanel::getSlot(int BodySlot) const {
    ASSERT(In(BodySlot,1,BODY_POSITIONS));
    return In(BodySlot, 1, BODY_POSITIONS) ? Slots[BodySlot - 1] : NULL;
}

int InventoryPanel::getWantedHeight() const {
    if (Minimized) return Top() + LINE + 3 + ICON_PITCH + MARGIN;
    return Top() + RowsHeight() + 3 + ICON_PITCH + MARGIN;
}

int InventoryPanel::getMinimumHeight() const { return getWantedHeight(); }

int InventoryPanel::slotsLeft() const { return std::max((_Width - RowWidth()) / 2, 0); }

// The soul points and the capacity sit beside the feet, in the grid's free
// corners; minimised, on the panel's one line.
int InventoryPanel::valuesTop() const { return Minimized ? Top() : Top() + 3 * SLOT_PITCH + 2; }

void InventoryPanel::getIconPosition(int n, int& x, int& y) const {
    const int Count = SkinProperties().PlayerStates.NumberOfIcons;
    const int Position = n;
    ASSERT_PARAM(In(Position,0,SkinProperties().PlayerStates.NumberOfIcons-1), Position);
    n = std::clamp(Position, 0, std::max(Count - 1, 0));
    const int RowWidth = Count * ICON_PITCH - 1;
    x = std::max((_Width - RowWidth) / 2, 0) + n * ICON_PITCH;
    y = _Height - MARGIN - ICON_PITCH + 1;
}

void InventoryPanel::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    layout();
}

void InventoryPanel::layout() {
    const int Left = slotsLeft();
    for (const SlotPlace& P : SLOT_PLACES) {
        ObjectSlot* S = Slots[P.Slot - 1];
        if (Minimized) {
            S->setSize(0, 0);
            S->setPosition(0, 0);
        } else {
            S->setSize(ObjectSlot::SIZE, ObjectSlot::SIZE);
            S->setPosition(Left + P.Column * SLOT_PITCH, Top() + P.Row * SLOT_PITCH);
        }
    }
    MinimizeButton->setPosition(std::max(_Width - MARGIN - MinimizeButton->getWidth(), 0), MARGIN);
}

void InventoryPanel::draw(int Surface, int x, int y) {
    // The framed place around the panel is its background.
    // Minimised, the slots are put away at no size and not drawn (a slot
    // draws its whole square whatever its size).
    for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling())
        if (c->getWidth() > 0) c->draw(Surface, x + c->getX(), y + c->getY());
    // "Soul:" at the lower left, "Cap:" at the lower right; no text is made
    // on the heap for it.
    char Number[16];
    const int Line = LINE;
    const int Left = Minimized ? MARGIN : slotsLeft();
    const int Right = Minimized ? _Width - MARGIN : slotsLeft() + RowWidth();
    const int Top = y + valuesTop();
    if (Minimized) {
        std::snprintf(Number, sizeof Number, "Soul: %d", GetPlayerSoulpoints());
        DrawText(Surface, x + Left, Top, FONT, TEXT.Red, TEXT.Green, TEXT.Blue, Number, LEFT_ALIGN);
        std::snprintf(Number, sizeof Number, "Cap: %d", GetPlayerCapacity());
        DrawText(Surface, x + Right, Top, FONT, TEXT.Red, TEXT.Green, TEXT.Blue, Number, RIGHT_ALIGN);
    } else {
        const int Middle = ObjectSlot::SIZE / 2;
        DrawText(Surface, x + Left + Middle, Top, FONT, TEXT.Red, TEXT.Green, TEXT.Blue, "Soul:", CENTER_ALIGN);
        std::snprintf(Number, sizeof Number, "%d", GetPlayerSoulpoints());
        DrawText(Surface, x + Left + Middle, Top + Line, FONT, TEXT.Red, TEXT.Green, TEXT.Blue, Number, CENTER_ALIGN);
        DrawText(Surface, x + Right - Middle, Top, FONT, TEXT.Red, TEXT.Green, TEXT.Blue, "Cap:", CENTER_ALIGN);
        std::snprintf(Number, sizeof Number, "%d", GetPlayerCapacity());
        DrawText(Surface, x + Right - Middle, Top + Line, FONT, TEXT.Red, TEXT.Green, TEXT.Blue, Number,
                 CENTER_ALIGN);
    }
    PlayerStateIcon Icons[9];
    const int Count = GetPlayerStateIcons(GetPlayerConditions(), PlayerMark(), Icons, 9);
    for (int n = 0; n < Count; ++n) {
        int ix, iy;
        getIconPosition(n, ix, iy);
        DrawSkinTiled(Surface, x + ix, y + iy, Skins[Icons[n].Skin].width, Skins[Icons[n].Skin].height,
                      Icons[n].Skin, 0, 0);
    }
}

void InventoryPanel::mouseRest(int x, int y) {
    PlayerStateIcon Icons[9];
    const int Count = GetPlayerStateIcons(GetPlayerConditions(), PlayerMark(), Icons, 9);
    for (int n = 0; n < Count; ++n) {
        int ix, iy;
        getIconPosition(n, ix, iy);
        if (x >= ix && x < ix + ICON_PITCH - 1 && y >= iy && y < iy + ICON_PITCH - 1) {
            SetTooltipText(Icons[n].Tooltip);
            return;
        }
    }
    CompositeComponent::mouseRest(x, y);
}

void InventoryPanel::setMinimized(bool Minimize) {
    Minimized = Minimize;
    MinimizeButton->setSkins(Minimized ? MAXIMISE_SKIN : MINIMISE_SKIN,
                             Minimized ? MAXIMISE_SKIN_DOWN : MINIMISE_SKIN_DOWN);
    MinimizeButton->setTooltip(Minimized ? "Maximise inventory" : "Minimise inventory");
    setSize(_Width, getWantedHeight());
}

void InventoryPanel::command(int number) {
    if (number != INVENTORY_TOGGLE) return;
    // The panels above the side column change height with the form: the
    // main game window lays them and the column out again.
    if (Main != NULL)
        Main->command(Minimized ? MAIN_INVENTORY_MAXIMISE : MAIN_INVENTORY_MINIMISE);
    else
        setMinimized(!Minimized);
}
