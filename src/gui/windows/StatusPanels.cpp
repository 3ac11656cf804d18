// The fixed panels of the right column: status bars, combat controls, control
// buttons, and the stack that holds them with the automap and inventory
// panels.
#include "gui/windows/StatusPanels.h"

#include "config/Preferences.h"
#include "core/Status.h"
#include "graphics/graphics.h"
#include "gui/help/Help.h"
#include "gui/windows/InventoryPanel.h"
#include "gui/windows/MainWindow.h"
#include "gui/windows/SideColumn.h"
#include "gui/framework/Skins.h"
#include "net/Commands.h"
#include "world/Creatures.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int HITPOINTS_ICON = 3, MANA_ICON = 4;
constexpr int HITPOINTS_FILL = 175, MANA_FILL = 176, BAR_BACKGROUND = 177;
constexpr int CONTROL_UP = 14, CONTROL_DOWN = 15;
constexpr int COMBAT_TEXT_UP = 117, COMBAT_TEXT_DOWN = 118;
constexpr int OPTIONS_PICTURE_UP = 111, HELP_PICTURE_UP = 113;  // each followed by its pressed face

// The combat buttons in the order of their tooltips; the first column holds
// the attack modes, the second the chase modes and the secure mode.
struct ModeButton {
    int Command, Up, Down;
    const char* Tooltip;
    int Column, Row;
};
constexpr ModeButton MODE_BUTTONS[7] = {
    {COMBAT_OFFENSIVE, 99, 100, "Offensive fighting", 0, 0},
    {COMBAT_BALANCED, 101, 102, "Balanced fighting", 0, 1},
    {COMBAT_DEFENSIVE, 103, 104, "Defensive fighting", 0, 2},
    {COMBAT_STAND, 105, 106, "Stand while fighting", 1, 0},
    {COMBAT_CHASE, 107, 108, "Chase opponent", 1, 1},
    {COMBAT_SECURE, 109, 115, "You cannot attack unmarked characters", 1, 2},
    {COMBAT_ATTACK_ANY, 110, 116, "You can attack any character", 1, 3},
};

struct ControlButton {
    const char* Text;
    int Command, Type, Key;
    const char* Open;
    const char* Close;
};
constexpr ControlButton CONTROL_BUTTONS[3] = {
    {"Skills", MAIN_SKILLS, SKILLS_WINDOW, 'S', "Open skills window (Ctrl+S)", "Close skills window (Ctrl+S)"},
    {"Battle", MAIN_BATTLE, BATTLE_WINDOW, 'B', "Open battle window (Ctrl+B)", "Close battle window (Ctrl+B)"},
    {"VIP", MAIN_VIP, VIP_WINDOW, 'P', "Open VIP window (Ctrl+P)", "Close VIP window (Ctrl+P)"},
};

// A framed place of the panels: the window border around the background.
void DrawFramedPlace(int Surface, int x, int y, int Width, int Height) {
    const int E = Skins[SKIN_BORDER_LEFT].width;
    if (Width < 2 * E || Height < 2 * E) return;
    DrawSkinTiled(Surface, x + E, y + E, Width - 2 * E, Height - 2 * E, SKIN_BACKGROUND, 0,
                  (y + E) % std::max(Skins[SKIN_BACKGROUND].height, 1));
    DrawSkinTiled(Surface, x + E, y, Width - 2 * E, E, SKIN_BORDER_TOP, 0, 0);
    DrawSkinTiled(Surface, x + E, y + Height - E, Width - 2 * E, E, SKIN_BORDER_BOTTOM, 0, 0);
    DrawSkinTiled(Surface, x, y + E, E, Height - 2 * E, SKIN_BORDER_LEFT, 0, 0);
    DrawSkinTiled(Surface, x + Width - E, y + E, E, Height - 2 * E, SKIN_BORDER_RIGHT, 0, 0);
    DrawSkinTiled(Surface, x, y, E, E, SKIN_BORDER_TOP_LEFT, 0, 0);
    DrawSkinTiled(Surface, x + Width - E, y, E, E, SKIN_BORDER_TOP_RIGHT, 0, 0);
    DrawSkinTiled(Surface, x, y + Height - E, E, E, SKIN_BORDER_BOTTOM_LEFT, 0, 0);
    DrawSkinTiled(Surface, x + Width - E, y + Height - E, E, E, SKIN_BORDER_BOTTOM_RIGHT, 0, 0);
}

int BarFill(int Width, int Value, int Maximum) {
    if (Maximum <= 0 || Value <= 0) return 0;
    return std::min(int(int64_t(Width) * Value / Maximum), Width);
}

}  // namespace

// ==== Status bars =================================================================================

StatusBarsPanel::StatusBarsPanel() : Component(6) {
    setSize(SkinProperties().GameView.ColumnWidth, SkinProperties().SidePanels.StatusHeight);
}

void StatusBarsPanel::arrange() {
    const auto& S = SkinProperties().StatusWindow;
    const auto& P = SkinProperties().SidePanels;
    const SkinBox &H = S.HitpointsBar, &M = S.ManaBar;
    setDrawingEntry(0, HITPOINTS_ICON, P.BarIconX, H.y + (H.height - Skins[HITPOINTS_ICON].height) / 2);
    setDrawingEntry(1, MANA_ICON, P.BarIconX, M.y + (M.height - Skins[MANA_ICON].height) / 2);
    setDrawingEntry(2, BAR_BACKGROUND, H.x, H.y, H.width, H.height);
    const int HealthFill = BarFill(H.width, ShownHealth, ShownMaxHealth);
    setDrawingEntry(3, HealthFill > 0 ? HITPOINTS_FILL : 0, H.x, H.y, HealthFill, H.height);
    setDrawingEntry(4, BAR_BACKGROUND, M.x, M.y, M.width, M.height);
    const int ManaFill = BarFill(M.width, ShownMana, ShownMaxMana);
    setDrawingEntry(5, ManaFill > 0 ? MANA_FILL : 0, M.x, M.y, ManaFill, M.height);
}

void StatusBarsPanel::draw(int Surface, int x, int y) {
    const auto& S = SkinProperties().StatusWindow;
    ASSERT(S.HitpointsBar.x>=0 && S.HitpointsBar.y>=0 && S.ManaBar.x>=0 && S.ManaBar.y>=0);
    // The entries and texts change only with the values.
    const int Health = GetPlayerHitpoints(), MaxHealth = GetPlayerMaxHitpoints();
    const int Mana = GetPlayerMana(), MaxMana = GetPlayerMaxMana();
    if (Health != ShownHealth || MaxHealth != ShownMaxHealth || Mana != ShownMana || MaxMana != ShownMaxMana) {
        ShownHealth = Health, ShownMaxHealth = MaxHealth, ShownMana = Mana, ShownMaxMana = MaxMana;
        std::snprintf(HealthText, sizeof HealthText, "%d", Health);
        std::snprintf(ManaText, sizeof ManaText, "%d", Mana);
        arrange();
    }
    drawDrawingList(Surface, x, y);
    const auto& P = SkinProperties().SidePanels;
    const int FontHeight = GetFontHeight(P.ValueFont);
    const SkinBox* Bars[2] = {&S.HitpointsBar, &S.ManaBar};
    const char* Texts[2] = {HealthText, ManaText};
    for (int i = 0; i < 2; ++i) {
        const SkinBox& B = *Bars[i];
        DrawText(Surface, x + B.x + B.width + P.ValueGap, y + B.y + (B.height - FontHeight) / 2, P.ValueFont,
                 P.Value.Red, P.Value.Green, P.Value.Blue, Texts[i], LEFT_ALIGN);
    }
}

// ==== Combat controls ==============================================================================

CombatPanel::CombatPanel(Component* Main) : CompositeComponent(0) {
    for (int i = 0; i < 7; ++i) {
        const ModeButton& M = MODE_BUTTONS[i];
        Modes[i] = new Button(M.Up, M.Down, CommandTarget(this, M.Command), M.Tooltip);
        addChild(Modes[i]);
        (i < 3 ? AttackGroup : i < 5 ? ChaseGroup : SecureGroup).addMember(Modes[i]);
    }
    struct {
        TextButton** Slot;
        const char* Text;
        int Command;
        const char* Tooltip;
    } Texts[3] = {{&Stop, "Stop", MAIN_STOP, "Stop current action (ESC)"},
                  {&Options, "Options", MAIN_OPTIONS_IN_GAME, "Open options"},
                  {&Help, "Help", MAIN_HELP, "Open help menu"}};
    for (auto& T : Texts) {
        TextButton* B = new TextButton(T.Text, CommandTarget(Main, T.Command), COMBAT_TEXT_UP, COMBAT_TEXT_DOWN);
        B->setTooltip(T.Tooltip);
        addChild(B);
        *T.Slot = B;
    }
    OptionsPicture = new Button(OPTIONS_PICTURE_UP, OPTIONS_PICTURE_UP + 1, CommandTarget(Main, MAIN_OPTIONS_IN_GAME),
                                "Open options");
    HelpPicture = new Button(HELP_PICTURE_UP, HELP_PICTURE_UP + 1, CommandTarget(Main, MAIN_HELP), "Open help menu");
    addChild(OptionsPicture);
    addChild(HelpPicture);
    Component::setSize(COMBAT_PANEL_WIDTH, heightOfForm());
    layout();
    showModes();
}

int CombatPanel::heightOfForm() const {
    const auto& P = SkinProperties().SidePanels;
    const int Edge = Skins[SKIN_BORDER_LEFT].width;
    const int Size = Skins[MODE_BUTTONS[0].Up].width;
    const int Text = Skins[COMBAT_TEXT_UP].height;
    if (Compact) return 2 * (Edge + P.Margin) + Size + P.ModeGap + std::max(Text, Skins[OPTIONS_PICTURE_UP].height);
    // Four rows of modes, then Stop, Options and Help under each other.
    return 2 * (Edge + P.Margin) + 4 * (Size + P.ModeGap) + P.ModeGap + 3 * Text + 2 * P.ModeGap;
}

void CombatPanel::setCompact(bool Small) {
    Compact = Small;
    setSize(_Width, heightOfForm());
}

void CombatPanel::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    layout();
}

// A button of the form not shown is put away at no size, where no pointer
// reaches it and nothing of it is drawn.
static void PutAway(Component* C) {
    C->setSize(0, 0);
    C->setPosition(0, 0);
}

void CombatPanel::layout() {
    const auto& P = SkinProperties().SidePanels;
    const int Edge = Skins[SKIN_BORDER_LEFT].width;
    const int Size = Skins[MODE_BUTTONS[0].Up].width;
    const int Top = Edge + P.Margin;
    auto Place = [](Component* C, int Width, int Height, int x, int y) {
        C->setSize(Width, Height);
        C->setPosition(x, y);
    };
    if (!Compact) {
        // Two columns of modes, the text buttons below them.
        const int Left = (COMBAT_PANEL_WIDTH - 2 * Size - 2 * P.ModeGap) / 2;
        for (int i = 0; i < 7; ++i)
            Place(Modes[i], Size, Size, Left + MODE_BUTTONS[i].Column * (Size + 2 * P.ModeGap),
                  Top + MODE_BUTTONS[i].Row * (Size + P.ModeGap));
        int y = Top + 4 * (Size + P.ModeGap) + P.ModeGap;
        for (TextButton* B : {Stop, Options, Help}) {
            const SkinRect& Face = Skins[COMBAT_TEXT_UP];
            Place(B, Face.width, Face.height, (COMBAT_PANEL_WIDTH - Face.width) / 2, y);
            y += B->getHeight() + P.ModeGap;
        }
        PutAway(OptionsPicture);
        PutAway(HelpPicture);
        return;
    }
    // One row of the three groups of modes, a pixel apart inside a group and
    // a gap between groups, centred; Stop and the two pictures below.
    const int Groups[7] = {0, 0, 0, 1, 1, 2, 2};
    const int RowWidth = 7 * Size + 4 + 2 * P.ModeGap;
    int x = std::max((_Width - RowWidth) / 2, Edge);
    for (int i = 0; i < 7; ++i) {
        if (i > 0) x += Groups[i] == Groups[i - 1] ? 1 : P.ModeGap;
        Place(Modes[i], Size, Size, x, Top);
        x += Size;
    }
    const int Second = Top + Size + P.ModeGap;
    const int Left = std::max((_Width - RowWidth) / 2, Edge), Right = Left + RowWidth;
    const SkinRect& Face = Skins[COMBAT_TEXT_UP];
    Place(Stop, Face.width, Face.height, Left, Second);
    const SkinRect& Picture = Skins[OPTIONS_PICTURE_UP];
    Place(HelpPicture, Picture.width, Picture.height, Right - Picture.width, Second);
    Place(OptionsPicture, Picture.width, Picture.height, Right - 2 * Picture.width - P.ModeGap, Second);
    PutAway(Options);
    PutAway(Help);
}

Button* CombatPanel::getButton(int Command) const {
    for (int i = 0; i < 7; ++i)
        if (MODE_BUTTONS[i].Command == Command) return Modes[i];
    return NULL;
}

void CombatPanel::showModes() {
    // Attack mode 1 offensive, 2 balanced, 3 defensive; chase 0 stand, 1
    // chase; secure 1 on, 0 off.
    AttackGroup.Selected = Modes[std::clamp(GetAttackMode(), 1, 3) - 1];
    ChaseGroup.Selected = Modes[GetChaseMode() == 1 ? 4 : 3];
    SecureGroup.Selected = Modes[GetSecureMode() == 1 ? 5 : 6];
}

void CombatPanel::draw(int Surface, int x, int y) {
    // The walking logic may switch chase mode off on its own.
    showModes();
    drawDrawingList(Surface, x, y);
    // The buttons of the other form are put away at no size: not drawn.
    for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling())
        if (c->getWidth() > 0) c->draw(Surface, x + c->getX(), y + c->getY());
}

void CombatPanel::command(int number) {
    const int Attack = GetAttackMode(), Chase = GetChaseMode(), Secure = GetSecureMode();
    switch (number) {
    case COMBAT_OFFENSIVE: SetAttackMode(1); break;
    case COMBAT_BALANCED: SetAttackMode(2); break;
    case COMBAT_DEFENSIVE: SetAttackMode(3); break;
    case COMBAT_STAND: SetChaseMode(0); break;
    case COMBAT_CHASE: SetChaseMode(1); break;
    case COMBAT_SECURE: SetSecureMode(1); break;
    case COMBAT_ATTACK_ANY: SetSecureMode(0); break;
    default: return;
    }
    showModes();
    if (GetAttackMode() != Attack || GetChaseMode() != Chase || GetSecureMode() != Secure) {
        if (GetConnectionState() == STATE_GAME) SendFightModes();
    }
}

// ==== Control buttons ================================================================================

ControlButtonsPanel::ControlButtonsPanel(Component* Main) : CompositeComponent(0) {
    const int Edge = Skins[SKIN_BORDER_LEFT].width;
    const int Width = SkinProperties().GameView.ColumnWidth;
    const int Gap = SkinProperties().SidePanels.ModeGap;
    for (int i = 0; i < 3; ++i) {
        const ControlButton& C = CONTROL_BUTTONS[i];
        Toggles[i] = new TextToggleButton(C.Text, CommandTarget(Main, C.Command), CONTROL_UP, CONTROL_DOWN);
        Toggles[i]->setTooltip(C.Open);
        addChild(Toggles[i]);
        RegisterHotkey(C.Key | keys::CTRL, Main, C.Command);
    }
    Logout = new TextButton("Logout", CommandTarget(Main, MAIN_ASK_LOGOUT), CONTROL_UP, CONTROL_DOWN);
    Logout->setTooltip("Leave the game (Ctrl+Q or Ctrl+L)");
    addChild(Logout);
    // Two rows of two: the captions need more room than four in a row leave.
    const int ButtonWidth = (Width - 2 * Edge - 3 * Gap) / 2;
    const int ButtonHeight = Skins[CONTROL_UP].height;
    int i = 0;
    for (Component* c = FirstChild; c != NULL; c = c->getNextSibling(), ++i) {
        c->setSize(ButtonWidth, ButtonHeight);
        c->setPosition(Edge + Gap + (i % 2) * (ButtonWidth + Gap), Edge + Gap + (i / 2) * (ButtonHeight + Gap));
    }
    setSize(Width, 2 * Edge + 3 * Gap + 2 * ButtonHeight);
}

ControlButtonsPanel::~ControlButtonsPanel() {
    for (const ControlButton& C : CONTROL_BUTTONS) RemoveHotkey(C.Key | keys::CTRL);
}

void ControlButtonsPanel::showOpenWindows() {
    for (int i = 0; i < 3; ++i) {
        const bool Open = FindSideWindow(CONTROL_BUTTONS[i].Type) != NULL;
        if (Open == Toggles[i]->isOn()) continue;
        Toggles[i]->setOn(Open);
        Toggles[i]->setTooltip(Open ? CONTROL_BUTTONS[i].Close : CONTROL_BUTTONS[i].Open);
    }
}

void ControlButtonsPanel::draw(int Surface, int x, int y) {
    // A window also closes by its own button or when it is squeezed out.
    showOpenWindows();
    CompositeComponent::draw(Surface, x, y);
}

// ==== The stack of panels ===========================================================================

FixedPanels::FixedPanels(Component* Main) : CompositeComponent(0) {
    Status = new StatusBarsPanel();
    Combat = new CombatPanel(Main);
    Controls = new ControlButtonsPanel(Main);
    addChild(Status);
    addChild(Combat);
    addChild(Controls);
    setSize(SkinProperties().GameView.ColumnWidth, neededHeight());
}

void FixedPanels::setAutomapPanel(Component* Panel) {
    if (Automap != NULL) deleteChild(Automap);
    Automap = Panel;
    if (Automap != NULL) addChild(Automap);
    layout();
}

void FixedPanels::setInventoryPanel(Component* Panel) {
    if (Inventory != NULL) deleteChild(Inventory);
    Inventory = Panel;
    if (Inventory != NULL) addChild(Inventory);
    layout();
}

int FixedPanels::neededHeight() const {
    return AUTOMAP_PANEL_HEIGHT + Status->getHeight() + rowHeight() + Controls->getHeight();
}

// The inventory's and the combat controls' place: side by side, or in their
// other form (the minimised inventory) one above the other, both low.
int FixedPanels::rowHeight() const {
    const int Shelf = Inventory != NULL ? Inventory->getHeight() : 0;
    return Combat->isCompact() ? Shelf + Combat->getHeight() : std::max(Combat->getHeight(), Shelf);
}

void FixedPanels::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    layout();
}

void FixedPanels::layout() {
    const int W = _Width;
    int y = 0;
    Places[0] = {0, y, W, AUTOMAP_PANEL_HEIGHT};
    if (Automap != NULL) {
        Automap->setPosition(0, y);
        Automap->setSize(W, AUTOMAP_PANEL_HEIGHT);
    }
    y += AUTOMAP_PANEL_HEIGHT;
    Places[1] = {0, y, W, Status->getHeight()};
    Status->setPosition(0, y);
    Status->setSize(W, Status->getHeight());
    y += Status->getHeight();
    const int Row = rowHeight();
    if (Combat->isCompact()) {
        const int Shelf = Inventory != NULL ? Inventory->getHeight() : 0;
        Places[2] = {0, y, W, Shelf};
        Places[3] = {0, y + Shelf, W, Combat->getHeight()};
        if (Inventory != NULL) {
            Inventory->setPosition(0, y);
            Inventory->setSize(W, Shelf);
        }
        Combat->setPosition(0, y + Shelf);
        Combat->setSize(W, Combat->getHeight());
    } else {
        const int InventoryWidth = std::max(W - COMBAT_PANEL_WIDTH, 0);
        Places[2] = {0, y, InventoryWidth, Row};
        Places[3] = {InventoryWidth, y, W - InventoryWidth, Row};
        if (Inventory != NULL) {
            Inventory->setPosition(0, y);
            Inventory->setSize(InventoryWidth, Row);
        }
        Combat->setPosition(InventoryWidth, y);
        Combat->setSize(COMBAT_PANEL_WIDTH, Combat->getHeight());
    }
    y += Row;
    Places[4] = {0, y, W, Controls->getHeight()};
    Controls->setPosition(std::max((W - Controls->getWidth()) / 2, 0), y);
    arrange();
}

void FixedPanels::arrange() { CompositeComponent::arrange(); }

void FixedPanels::draw(int Surface, int x, int y) {
    // Every place has its frame, also the empty ones kept for panels to come.
    for (const Place& P : Places) DrawFramedPlace(Surface, x + P.x, y + P.y, P.width, P.height);
    CompositeComponent::draw(Surface, x, y);
}

bool FixedPanels::queryHelp(int x, int y) {
    const auto* Shelf = dynamic_cast<const InventoryPanel*>(Inventory);
    const int Numbers[5] = {HELP_AUTOMAP, HELP_STATUS_BARS,
                            Shelf != NULL && Shelf->isMinimized() ? HELP_MINIMISED_INVENTORY : HELP_INVENTORY,
                            Combat->isCompact() ? HELP_COMBAT_PICTURES : HELP_COMBAT_CAPTIONS,
                            HELP_CONTROL_BUTTONS};
    for (int i = 0; i < 5; ++i) {
        const Place& P = Places[i];
        if (x < P.x || y < P.y || x >= P.x + P.width || y >= P.y + P.height) continue;
        SetHelpNumber(Numbers[i]);
        SetHelpSize(P.width, P.height);
        AddHelpOrigin(P.x, P.y);
        return true;
    }
    SetHelpNumber(0);
    return false;
}
