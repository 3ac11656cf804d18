// The fixed panels at the top of the game view's right column, top to bottom:
//   - the automap panel's place (AUTOMAP_PANEL_HEIGHT high, full width);
//   - the status bars (health and mana);
//   - the inventory panel (left, ColumnWidth - COMBAT_PANEL_WIDTH wide, its
//     own height or more: it is sized to its place, on the framed background)
//     beside the combat controls with Stop, Options and Help;
//   - the control buttons (Skills, Battle, VIP, Logout).
// FixedPanels stacks them; the game view places it above the side column.
#pragma once

#include "gui/framework/DialogElements.h"
#include "gui/windows/MainWindow.h"  // the main window's commands the buttons send

// The automap panel's place: full column width, this high.
inline constexpr int AUTOMAP_PANEL_HEIGHT = 114;
// The combat controls' column right of the inventory panel.
inline constexpr int COMBAT_PANEL_WIDTH = 60;

// Commands of the combat controls (to the CombatPanel itself).
enum : int {
    COMBAT_OFFENSIVE = 301,
    COMBAT_BALANCED = 302,
    COMBAT_DEFENSIVE = 303,
    COMBAT_STAND = 304,
    COMBAT_CHASE = 305,
    COMBAT_SECURE = 306,
    COMBAT_ATTACK_ANY = 307,
};


// Health and mana: a bar each, filled by the current value over the maximum,
// with the value written right of it.
class StatusBarsPanel : public Component {
  public:
    StatusBarsPanel();
    void arrange() override;
    void draw(int Surface, int x, int y) override;

  private:
    int ShownHealth = -1, ShownMaxHealth = -1, ShownMana = -1, ShownMaxMana = -1;
    char HealthText[16] = "", ManaText[16] = "";
};

// Attack mode (offensive, balanced, defensive), chase mode (stand, chase)
// and secure mode, kept in the preferences and sent with command 160 on
// every change; below them Stop, Options and Help.
//
// Its other form, beside the minimised inventory, is low and as wide as the
// column: the seven modes in one row, and below them Stop with Options and
// Help as pictures.
class CombatPanel : public CompositeComponent {
  public:
    explicit CombatPanel(Component* Main);
    void command(int number) override;
    void draw(int Surface, int x, int y) override;
    // The other form; the panel takes the height of the form, the width
    // stays its place's.
    void setCompact(bool Compact);
    bool isCompact() const { return Compact; }
    void setSize(int Width, int Height) override;
    // Shows the modes the preferences hold.
    void showModes();
    Button* getButton(int Command) const;
    TextButton* getStopButton() const { return Stop; }
    TextButton* getOptionsButton() const { return Options; }
    TextButton* getHelpButton() const { return Help; }
    // Options and Help as pictures, shown in the other form only.
    Button* getOptionsPicture() const { return OptionsPicture; }
    Button* getHelpPicture() const { return HelpPicture; }

  private:
    void layout();
    int heightOfForm() const;
    Button* Modes[7];
    RadioButtonGroup AttackGroup, ChaseGroup, SecureGroup;
    TextButton *Stop, *Options, *Help;
    Button *OptionsPicture, *HelpPicture;
    bool Compact = false;
};

// Skills, Battle and VIP open and close their side windows (Ctrl+S, Ctrl+B,
// Ctrl+P); Logout asks before leaving.
class ControlButtonsPanel : public CompositeComponent {
  public:
    explicit ControlButtonsPanel(Component* Main);
    ~ControlButtonsPanel() override;
    // Shows each toggle down while its window is open, with the matching
    // tooltip.
    void showOpenWindows();
    TextToggleButton* getSkillsButton() const { return Toggles[0]; }
    TextToggleButton* getBattleButton() const { return Toggles[1]; }
    TextToggleButton* getVipButton() const { return Toggles[2]; }
    TextButton* getLogoutButton() const { return Logout; }
    void draw(int Surface, int x, int y) override;

  private:
    TextToggleButton* Toggles[3];
    TextButton* Logout;
};

// The stack of fixed panels, each on the framed background of the column.
class FixedPanels : public CompositeComponent {
  public:
    explicit FixedPanels(Component* Main);
    // The automap panel (NULL: an empty framed place is kept) and the
    // inventory panel (NULL: its place stays empty); owned from here on.
    void setAutomapPanel(Component* Panel);
    void setInventoryPanel(Component* Panel);
    Component* getAutomapPanel() const { return Automap; }
    Component* getInventoryPanel() const { return Inventory; }
    StatusBarsPanel* getStatusBars() const { return Status; }
    CombatPanel* getCombatPanel() const { return Combat; }
    ControlButtonsPanel* getControlButtons() const { return Controls; }
    // The height the panels need at the column's width.
    int neededHeight() const;
    // Help mode explains the framed place under the pointer.
    bool queryHelp(int x, int y) override;
    void setSize(int Width, int Height) override;
    void arrange() override;
    void draw(int Surface, int x, int y) override;

  private:
    void layout();
    int rowHeight() const;
    Component* Automap = NULL;
    Component* Inventory = NULL;
    StatusBarsPanel* Status;
    CombatPanel* Combat;
    ControlButtonsPanel* Controls;
    // The framed places: automap, status, inventory, combat, controls.
    struct Place {
        int x, y, width, height;
    } Places[5] = {};
};
