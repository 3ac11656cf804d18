// The main game window: the root of the component tree. It shows the start
// view (the start picture with five buttons) until the game starts and the
// game view while the player is in the game, and it carries out the commands
// of its buttons and of the dialogs that report to it.
#pragma once

#include "gui/framework/DialogElements.h"

// What the application lends the main game window.
struct MainWindowCallbacks {
    void (*ExitProgram)() = nullptr;
    void (*SetDisplayMode)(int Mode) = nullptr;
    int (*GetDisplayMode)() = nullptr;
    bool (*OpenDocument)(const char* Path) = nullptr;
};

// Commands of the start view's buttons and of the game view.
enum : int {
    MAIN_CLOSE = 2,
    MAIN_EXIT = 7,
    MAIN_OPTIONS_IN_GAME = 8,
    MAIN_LAYOUT = 9,
    MAIN_SKILLS = 14,  // open or close the skills window
    MAIN_BATTLE = 15,
    MAIN_VIP = 22,
    // The inventory's two forms: 23 exchanges the full inventory for the
    // minimised one, 24 the minimised one for the full; the panels and the
    // side column are laid out again at once.
    MAIN_INVENTORY_MINIMISE = 23,
    MAIN_INVENTORY_MAXIMISE = 24,
    MAIN_STOP = 32,
    MAIN_ABORT_CONNECTION = 29,
    MAIN_COPY_LINK = 33,
    MAIN_ENTER_GAME = 501,
    MAIN_INFO = 502,
    MAIN_OPTIONS = 503,
    MAIN_LOGOUT = 506,
    MAIN_ASK_LOGOUT = 507,
    MAIN_ACCOUNT = 508,
    MAIN_CHARACTER_LIST = 509,
    MAIN_FULLSCREEN = 504,
    // Opens "Reporting" for a player who may send bug reports; tells the
    // others in the console that they may not.
    MAIN_BUG_REPORT = 505,
    MAIN_HELP = 701,
    MAIN_HELP_POINTER = 702,
    MAIN_HELP_CHANNEL = 704,
    MAIN_RULE_VIOLATION = 705,
    MAIN_BANISHMENT = 708,
};
// Alt+Enter switches between the window and full screen.
inline constexpr int FULLSCREEN_KEY = 13 | 0x800;
// Ctrl+R reports a bug in the game view.
inline constexpr int BUG_REPORT_KEY = 'R' | keys::CTRL;

class StartView : public CompositeComponent {
  public:
    explicit StartView(Component* Target);
    void setSize(int Width, int Height) override;
    void draw(int Surface, int x, int y) override;
    TextButton* getButton(int Number) const { return Buttons[Number]; }
    static constexpr int BUTTONS = 5;

  private:
    TextButton* Buttons[BUTTONS];
    int ButtonWidth = 0;
};

class MapWindow;
class ConsoleWindow;
class FixedPanels;
class SideColumn;

// The game view: the map window, the strip below it, the console area and
// the right column of fixed panels and side windows. Its keys walk and turn
// the character.
class GameView : public CompositeComponent {
  public:
    explicit GameView(Component* Target);
    ~GameView() override;
    void setSize(int Width, int Height) override;
    void draw(int Surface, int x, int y) override;
    void keyPress(int code) override;
    MapWindow* getMapWindow() const { return Map; }
    ConsoleWindow* getConsole() const { return ConsoleArea; }
    FixedPanels* getFixedPanels() const { return PanelStack; }
    SideColumn* getSideColumn() const { return Windows; }
    // The areas of the layout, relative to the view.
    struct Area {
        int x = 0, y = 0, width = 0, height = 0;
    };
    Area getStripArea() const { return Strip; }
    Area getConsoleArea() const { return Console; }
    Area getPanelsArea() const { return Panels; }
    Area getColumnArea() const { return Column; }
    // The "Help" button of the combat controls.
    TextButton* getHelpButton() const;

  private:
    Component* Target;
    MapWindow* Map = NULL;
    ConsoleWindow* ConsoleArea = NULL;
    FixedPanels* PanelStack = NULL;
    SideColumn* Windows = NULL;
    bool WindowsReopened = false;  // the last game's side windows, once the column has its size
    Area Strip, Console, Panels, Column;
};

class MainWindow : public CompositeComponent {
  public:
    MainWindow(int Width, int Height, const MainWindowCallbacks& Callbacks);
    ~MainWindow() override;
    void setSize(int Width, int Height) override;
    void command(int number) override;
    void keyPress(int code) override;

    void showStartView();
    void showGameView();
    bool inGameView() const { return Game != NULL; }
    StartView* getStartView() const { return Start; }
    GameView* getGameView() const { return Game; }
    void setActive(bool Active) { this->Active = Active; }
    bool isActive() const { return Active; }

  private:
    MainWindowCallbacks Callbacks;
    StartView* Start = NULL;
    GameView* Game = NULL;
    bool Active = true;
};
