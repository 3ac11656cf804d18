#include "gui/windows/MainWindow.h"

#include "core/Assert.h"
#include "core/BuildSettings.h"
#include "config/Preferences.h"
#include "core/Status.h"
#include "core/TalkModes.h"
#include "graphics/PictureNumbers.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/windows/AutomapPanel.h"
#include "gui/windows/ConsoleWindow.h"
#include "gui/framework/Dialogs.h"
#include "gui/framework/Events.h"
#include "gui/help/Help.h"
#include "gui/menus/ConsoleTextMenu.h"
#include "gui/windows/InventoryPanel.h"
#include "gui/windows/ListWindows.h"
#include "gui/windows/MapWindow.h"
#include "gui/windows/SideColumn.h"
#include "gui/framework/SkinProperties.h"
#include "gui/framework/Skins.h"
#include "gui/windows/StatusPanels.h"
#include "net/Commands.h"
#include "net/Network.h"
#include "world/Creatures.h"
#include "world/Map.h"

#include <algorithm>

namespace {

// The start view's buttons, top to bottom, on a framed panel at the lower left.
struct StartButton {
    const char* Text;
    int Command;
};
constexpr StartButton START_BUTTONS[StartView::BUTTONS] = {
    {"Enter Game", MAIN_ENTER_GAME}, {"Info", MAIN_INFO},     {"Options", MAIN_OPTIONS},
    {"Access Account", MAIN_ACCOUNT}, {"Exit Game", MAIN_EXIT},
};

}  // namespace

// ---- Start view -------------------------------------------------------------------------------

StartView::StartView(Component* Target) : CompositeComponent(9) {
    // All buttons as wide as the widest caption needs.
    const auto& S = SkinProperties().StartView;
    ButtonWidth = S.ButtonWidth;
    for (const StartButton& B : START_BUTTONS)
        ButtonWidth = std::max(ButtonWidth, GetTextWidth(SkinProperties().Buttons.Font, B.Text) + S.CaptionPadding);
    for (int i = 0; i < BUTTONS; ++i) {
        Buttons[i] = new TextButton(START_BUTTONS[i].Text, CommandTarget(Target, START_BUTTONS[i].Command));
        Buttons[i]->setSize(ButtonWidth, Buttons[i]->getHeight());
        addChild(Buttons[i]);
    }
}

void StartView::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    const int buttonHeight = Buttons[0]->getHeight();
    const auto& S = SkinProperties().StartView;
    const int panelWidth = ButtonWidth + 2 * S.PanelPadding;
    const int panelHeight = (BUTTONS - 1) * S.ButtonSpacing + buttonHeight + 2 * S.PanelPadding;
    const int panelX = S.PanelMargin, panelY = std::max(Height - S.PanelMargin - panelHeight, 0);
    for (int i = 0; i < BUTTONS; ++i)
        Buttons[i]->setPosition(panelX + S.PanelPadding, panelY + S.PanelPadding + i * S.ButtonSpacing);
    // The panel: the window frame skins around the dialog's inside.
    const auto& F = SkinProperties().WindowFrame;
    setDrawingEntry(0, 47, panelX, panelY, panelWidth, panelHeight);
    setDrawingEntry(1, F.Top, panelX, panelY - Skins[F.Top].height, panelWidth, Skins[F.Top].height);
    setDrawingEntry(2, F.Bottom, panelX, panelY + panelHeight, panelWidth, Skins[F.Bottom].height);
    setDrawingEntry(3, F.Left, panelX - Skins[F.Left].width, panelY, Skins[F.Left].width, panelHeight);
    setDrawingEntry(4, F.Right, panelX + panelWidth, panelY, Skins[F.Right].width, panelHeight);
    setDrawingEntry(5, F.TopLeft, panelX - Skins[F.TopLeft].width, panelY - Skins[F.TopLeft].height);
    setDrawingEntry(6, F.TopRight, panelX + panelWidth, panelY - Skins[F.TopRight].height);
    setDrawingEntry(7, F.BottomLeft, panelX - Skins[F.BottomLeft].width, panelY + panelHeight);
    setDrawingEntry(8, F.BottomRight, panelX + panelWidth, panelY + panelHeight);
}

void StartView::draw(int Surface, int x, int y) {
    // The start picture is larger than most windows: centred, it is cut
    // evenly on every side.
    const auto& S = SkinProperties().StartView;
    FillRect(Surface, x, y, _Width, _Height, S.Background.Red, S.Background.Green, S.Background.Blue);
    // Only the visible part is drawn: the picture is far larger than the window.
    int tilesX = 0, tilesY = 0;
    GetPictureSize(PICTURE_BACKGROUND, &tilesX, &tilesY);
    const int pictureWidth = tilesX * IMAGE_SIZE, pictureHeight = tilesY * IMAGE_SIZE;
    const int left = (_Width - pictureWidth) / 2, top = (_Height - pictureHeight) / 2;
    const int sourceX = std::max(-left, 0), sourceY = std::max(-top, 0);
    const int width = std::min(pictureWidth - sourceX, _Width), height = std::min(pictureHeight - sourceY, _Height);
    if (width > 0 && height > 0)
        DrawPicturePart(Surface, x + std::max(left, 0), y + std::max(top, 0), PICTURE_BACKGROUND, sourceX, sourceY,
                        width, height);
    GetPictureSize(PICTURE_LOGO, &tilesX, &tilesY);
    DrawPicture(Surface, x + (_Width - tilesX * IMAGE_SIZE) / 2, y + _Height / std::max(S.LogoTop, 1), PICTURE_LOGO);
    CompositeComponent::draw(Surface, x, y);
}

// ---- Game view ----------------------------------------------------------------------------------

namespace {
// Hotkeys of the game view: the game's own keys for leaving and for the map.
struct GameHotkey {
    int Key;
    bool ToMap;  // to the map window, else to the main game window
    int Command;
};
constexpr GameHotkey GAME_HOTKEYS[] = {
    {'Q' | keys::CTRL, false, MAIN_ASK_LOGOUT},
    {'L' | keys::CTRL, false, MAIN_ASK_LOGOUT},
    {BUG_REPORT_KEY, false, MAIN_BUG_REPORT},
    {'N' | keys::CTRL, true, MAPWINDOW_CREATURE_INFO},
    {keys::ESCAPE, true, MAPWINDOW_DISMISS_TEXT},
};

// The right, given on entering the game, to send bug reports.
constexpr int RIGHT_BUG_REPORT = 40;

// Numeric-pad block keys, which step diagonally.
constexpr int PAD_END = 278, PAD_PAGEDOWN = 279, PAD_HOME = 280, PAD_PAGEUP = 281;

// One step by the keyboard: toward the field next to where the character
// will stand after the step already under way.
void KeyStep(int dx, int dy) {
    int x, y, z, px, py;
    GetMapPosition(x, y, z);
    GetPredictedStep(px, py);
    SendAutoWalk(GoTo(x + px + dx, y + py + dy, z, false, true));
}
}  // namespace

GameView::GameView(Component* Target) : CompositeComponent(0), Target(Target) {
    Map = new MapWindow();
    addChild(Map);
    ConsoleArea = new ConsoleWindow();
    addChild(ConsoleArea);
    PanelStack = new FixedPanels(Target);
    PanelStack->setInventoryPanel(new InventoryPanel(Target));
    PanelStack->setAutomapPanel(new AutomapPanel());
    addChild(PanelStack);
    Windows = new SideColumn();
    addChild(Windows);
    SetGameColumn(Windows);
    for (const GameHotkey& H : GAME_HOTKEYS) RegisterHotkey(H.Key, H.ToMap ? Map : Target, H.Command);
}

TextButton* GameView::getHelpButton() const { return PanelStack->getCombatPanel()->getHelpButton(); }

GameView::~GameView() {
    for (const GameHotkey& H : GAME_HOTKEYS) RemoveHotkey(H.Key);
    if (GetGameColumn() == Windows) SetGameColumn(NULL);
}

// Puts the game view's inventory into its minimised or its full form, and
// the combat controls beside it into the form that goes with it: low and
// as wide as the column under the minimised inventory, so that the row
// really frees its height.
static void SetInventoryForm(GameView* Game, bool Minimized) {
    if (Game == NULL) return;
    FixedPanels* Panels = Game->getFixedPanels();
    if (auto* Inventory = dynamic_cast<InventoryPanel*>(Panels->getInventoryPanel())) Inventory->setMinimized(Minimized);
    Panels->getCombatPanel()->setCompact(Minimized);
}

// A bug report: "Reporting" opens for a player who holds the right, in the
// game and over no other dialog (one that has just closed itself, like the
// help menu whose entry asked for the report, no longer counts).
static void ReportBug() {
    if (!HasRight(RIGHT_BUG_REPORT)) {
        AddPlainLine(GetDefaultBuffer(), "You are not authorised to send bug reports.", TALK_STATUS_MESSAGE, NULL);
        return;
    }
    if (GetConnectionState() == STATE_GAME && (GetModalWindow() == NULL || GetInputMode() == INPUT_IDLE))
        PostEvent(BUGREPORT_EVENT, 0, 0);
}

// Opens or closes one of the standard side windows.
static void ToggleSideWindow(int Type) {
    if (GetGameColumn() == NULL) return;
    if (FindSideWindow(Type) != NULL) {
        CloseSideWindow(Type);
        return;
    }
    switch (Type) {
    case SKILLS_WINDOW: AddSideWindow(NewSkillsWindow()); break;
    case BATTLE_WINDOW: AddSideWindow(NewBattleWindow()); break;
    case VIP_WINDOW: AddSideWindow(NewVipWindow()); break;
    default: break;
    }
}

void GameView::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    const auto& P = SkinProperties().GameView;
    const int Left = std::max(Width - P.ColumnWidth, 0);
    int ConsoleHeight = GetConsoleHeight() > 0 ? GetConsoleHeight() : P.ConsoleHeight;
    ConsoleHeight = std::max(ConsoleHeight, P.ConsoleMinimumHeight);
    const int MapHeight = std::max(Height - P.StripHeight - ConsoleHeight, Map->getMinimumHeight());
    Map->setPosition(0, 0);
    Map->setSize(Left, MapHeight);
    Strip = Area{0, MapHeight, Left, P.StripHeight};
    Console = Area{0, MapHeight + P.StripHeight, Left, std::max(Height - MapHeight - P.StripHeight, 0)};
    ConsoleArea->setPosition(Console.x, Console.y);
    ConsoleArea->setSize(Console.width, Console.height);
    Panels = Area{Left, 0, Width - Left, std::min(PanelStack->neededHeight(), Height)};
    Column = Area{Left, Panels.height, Width - Left, std::max(Height - Panels.height, 0)};
    PanelStack->setPosition(Panels.x, Panels.y);
    PanelStack->setSize(Panels.width, PanelStack->neededHeight());
    Windows->setPosition(Column.x, Column.y);
    Windows->setSize(Column.width, Column.height);
    // The side windows open at the end of the last game come back in their
    // order, once the column has room to share out.
    if (!WindowsReopened && Column.height > 0) {
        WindowsReopened = true;
        int Types[16], Count = 0;
        for (int i = 0; i < GetNumberOfOpenDialogs() && Count < 16; ++i) Types[Count++] = GetOpenDialog(i);
        for (int i = 0; i < Count; ++i)
            if (FindSideWindow(Types[i]) == NULL) ToggleSideWindow(Types[i]);
    }
}

void GameView::draw(int Surface, int x, int y) {
    CompositeComponent::draw(Surface, x, y);
    DrawSkinTiled(Surface, x + Strip.x, y + Strip.y, Strip.width, Strip.height, 7, 0, 0);
}

void GameView::keyPress(int code) {
    // The walking keys belong to the map; everything else is typed into the
    // console.
    if (GetConnectionState() != STATE_GAME) {
        ConsoleArea->keyPress(code);
        return;
    }
    const int Key = code & ~keys::SHIFT;
    switch (Key) {
    case keys::UP: KeyStep(0, -1); break;
    case keys::LEFT: KeyStep(-1, 0); break;
    case keys::RIGHT: KeyStep(1, 0); break;
    case keys::DOWN: KeyStep(0, 1); break;
    case PAD_HOME: KeyStep(-1, -1); break;
    case PAD_PAGEUP: KeyStep(1, -1); break;
    case PAD_END: KeyStep(-1, 1); break;
    case PAD_PAGEDOWN: KeyStep(1, 1); break;
    case keys::UP | keys::CTRL: SendTurn(0); break;
    case keys::RIGHT | keys::CTRL: SendTurn(1); break;
    case keys::DOWN | keys::CTRL: SendTurn(2); break;
    case keys::LEFT | keys::CTRL: SendTurn(3); break;
    default: ConsoleArea->keyPress(code); break;
    }
}

// ---- Main game window -------------------------------------------------------------------------------

MainWindow::MainWindow(int Width, int Height, const MainWindowCallbacks& Callbacks) : Callbacks(Callbacks) {
    showStartView();
    setSize(Width, Height);
    RegisterHotkey(FULLSCREEN_KEY, this, MAIN_FULLSCREEN);
}

MainWindow::~MainWindow() { RemoveHotkey(FULLSCREEN_KEY); }

void MainWindow::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling()) c->setSize(Width, Height);
}

void MainWindow::showStartView() {
    cancelCapture();
    if (Game != NULL) {
        deleteChild(Game);
        Game = NULL;
    }
    if (Start == NULL) {
        Start = new StartView(this);
        addChild(Start);
    }
    Start->setSize(_Width, _Height);
}

void MainWindow::showGameView() {
    cancelCapture();
    if (Start != NULL) {
        deleteChild(Start);
        Start = NULL;
    }
    // Built anew on every entry into the game.
    if (Game != NULL) deleteChild(Game);
    Game = new GameView(this);
    addChild(Game);
    Game->setSize(_Width, _Height);
}

void MainWindow::keyPress(int code) {
    if (Game != NULL) Game->keyPress(code);
}

void MainWindow::command(int number) {
    const int state = GetConnectionState();
    switch (number) {
    // The start view's buttons count only while offline.
    case MAIN_ENTER_GAME:
        if (state == STATE_OFFLINE) PostEvent(MESSAGE_LOGIN, 0, 0);
        break;
    case MAIN_INFO:
        if (state == STATE_OFFLINE) PostEvent(INFO_EVENT, 0, 0);
        break;
    case MAIN_OPTIONS:
        if (state == STATE_OFFLINE) PostEvent(OPTIONS_EVENT_MENU, 0, 0);
        break;
    case MAIN_ACCOUNT:
        if (state == STATE_OFFLINE && Callbacks.OpenDocument) Callbacks.OpenDocument(build_settings::ACCOUNT_URL);
        break;
    case MAIN_EXIT:
        if (Callbacks.ExitProgram) Callbacks.ExitProgram();
        break;
    case MAIN_CLOSE: SetInputMode(INPUT_IDLE); break;
    case MAIN_ABORT_CONNECTION:
        Disconnect(true);
        if (state == STATE_CONNECTING_GAME || state == STATE_GAME_LOGIN_SENT) {
            PostEvent(MESSAGE_WAITFORLIST, 20, 0);
            PostEvent(MESSAGE_CHARACTERLIST, 300, 0);
        }
        SetConnectionState(STATE_OFFLINE);
        SetInputMode(INPUT_IDLE);
        break;
    case MAIN_COPY_LINK:
        CopyPending();
        SetInputMode(INPUT_IDLE);
        break;
    case MAIN_LOGOUT:
        SetInputMode(INPUT_IDLE);
        if (IsConnected()) SendLogout();
        break;
    case MAIN_ASK_LOGOUT:
        PostQuestion("Warning", "Are you sure you want to leave Vorna?", this, MAIN_LOGOUT, MAIN_CLOSE);
        break;
    case MAIN_CHARACTER_LIST: PostEvent(MESSAGE_CHARACTERLIST, 300, 0); break;
    case MAIN_OPTIONS_IN_GAME: PostEvent(OPTIONS_EVENT_MENU, 0, 0); break;
    case MAIN_LAYOUT: setSize(_Width, _Height); break;
    case MAIN_SKILLS: ToggleSideWindow(SKILLS_WINDOW); break;
    case MAIN_BATTLE: ToggleSideWindow(BATTLE_WINDOW); break;
    case MAIN_VIP: ToggleSideWindow(VIP_WINDOW); break;
    case MAIN_INVENTORY_MINIMISE:
    case MAIN_INVENTORY_MAXIMISE:
        // The height the inventory gives up or takes is the side column's.
        SetInventoryForm(Game, number == MAIN_INVENTORY_MINIMISE);
        setSize(_Width, _Height);
        break;
    case MAIN_BUG_REPORT: ReportBug(); break;
    case MAIN_STOP:
        if (state == STATE_GAME) CancelAll();
        break;
    case MAIN_FULLSCREEN: {
        // Only with a full-screen mode chosen; the switch itself refuses
        // full screen without one.
        int Width = 0, Height = 0, Depth = 0;
        GetFullscreenMode(&Width, &Height, &Depth);
        if (Width > 0 && Callbacks.SetDisplayMode && Callbacks.GetDisplayMode)
            Callbacks.SetDisplayMode(Callbacks.GetDisplayMode() == 2 ? 1 : 2);
        break;
    }
    case MAIN_HELP: PostEvent(MESSAGE_HELPMENU, 0, 0); break;
    case MAIN_HELP_POINTER:
        SetInputMode(INPUT_IDLE);
        PostEvent(MESSAGE_HELPPOINTER, 0, 0);
        break;
    case MAIN_HELP_CHANNEL: SendOpenChannel(7); break;
    case MAIN_RULE_VIOLATION: PostEvent(CONSOLE_EVENT_DIALOG_REPORT, 0, 0); break;
    case MAIN_BANISHMENT:
        if (HasRight(RIGHT_ANY)) PostTextEvent(MESSAGE_BANISHMENT, "", NULL);
        break;
    default: break;
    }
}

void RegisterWindowHooks() {
    SetConsoleSelectAll([](ConsoleWindow* Window) { Window->selectAll(); });
}
