// The inventory panel at the top of the right column: the ten body slots,
// the soul points and the free capacity, and the icons of the player's
// states (conditions, party or skull mark). Minimised it keeps only the two
// values and the icons.
#pragma once

#include "gui/framework/DialogElements.h"
#include "gui/windows/ObjectSlot.h"

// The player's states in the order their icons are shown.
struct PlayerStateIcon {
    int Skin;
    const char* Tooltip;
};
// Fills Icons with the active states of the given condition flags and the
// player's party or skull mark (0 none, 1..4), in their order; returns how
// many, at most PlayerStates.NumberOfIcons.
int GetPlayerStateIcons(int Conditions, int Mark, PlayerStateIcon* Icons, int Room);

class InventoryPanel : public CompositeComponent {
  public:
    static constexpr int SLOT_PITCH = ObjectSlot::SIZE + 3;
    static constexpr int ICON_PITCH = 12;

    // Main: where the minimise button asks for the other form (the main
    // game window's commands 23 and 24, which lay the column out again);
    // without it the panel changes its form itself.
    explicit InventoryPanel(Component* Main = NULL);
    ~InventoryPanel() override;
    bool isMinimized() const { return Minimized; }
    // Takes the minimised or the full form, at the height that form wants.
    void setMinimized(bool Minimized);
    // The height the panel wants in its present form.
    int getWantedHeight() const;
    int getMinimumHeight() const override;
    ObjectSlot* getSlot(int BodySlot) const;
    Button* getMinimizeButton() const { return MinimizeButton; }
    // Where the icon of the n-th shown state sits, relative to the panel.
    void getIconPosition(int n, int& x, int& y) const;

    void setSize(int Width, int Height) override;
    void draw(int Surface, int x, int y) override;
    void mouseRest(int x, int y) override;
    void command(int number) override;

  private:
    void layout();
    int slotsLeft() const;
    int valuesTop() const;
    ObjectSlot* Slots[10];
    Button* MinimizeButton;
    Component* Main;
    bool Minimized = false;
};
