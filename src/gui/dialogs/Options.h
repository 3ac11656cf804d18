// The options menu and its pages: general, graphics (with the advanced
// page), console and network options. Each page reads the preferences when
// it is built and writes them back only on Ok; the menu comes back after
// each page because the page's event is queued ahead of the menu's again.
// The hotkey page has a file of its own (Dialogs.Hotkeys).
#pragma once

#include "config/Preferences.h"
#include "graphics/Surface.h"
#include "gui/dialogs/Page.h"

#include <string>
#include <vector>

// Commands of the menu's buttons and of the pages.
enum : int {
    OPTIONS_NETWORK = 400,
    OPTIONS_GRAPHICS = 401,
    OPTIONS_CONSOLE = 402,
    OPTIONS_HOTKEYS = 403,
    OPTIONS_GENERAL = 404,
    OPTIONS_MOTD = 406,
    OPTIONS_ADVANCED = 407,
    OPTIONS_INTERFACE_SIZE = 410,  // 410 automatic, 411 to 413 the sizes 1 to 3
    OPTIONS_HELP = 701,
    OPTIONS_FRAMERATE = 30,
    OPTIONS_MEASURE = 31,
};

class OptionsMenuBody : public PageBody {
  public:
    OptionsMenuBody();
    void command(int number) override;
    TextButton* getButton(int Number) const { return Buttons[Number]; }
    static constexpr int BUTTONS = 6;

  private:
    TextButton* Buttons[BUTTONS];
};

class GeneralOptionsBody : public PageBody {
  public:
    GeneralOptionsBody();
    void command(int number) override;
    // 0 classic control, 1 auto chase off, 2 hints, 3 names, 4 textual effects.
    CheckBox* getBox(int Number) const { return Boxes[Number]; }

  private:
    CheckBox* Boxes[5];
};

// Whether the interface size (1..3, 0 automatic) leaves the interface at
// least its minimum size in a window of that many pixels.
bool InterfaceSizeFits(int Size, int ClientWidth, int ClientHeight);

class GraphicsOptionsBody : public PageBody {
  public:
    GraphicsOptionsBody();
    void keyPress(int code) override;
    // A choice of interface size is tried at once; Ok keeps it, Escape
    // returns to the size in force when the page opened.
    void command(int number) override;
    CheckBox* getFullscreen() const { return Fullscreen; }
    ListBox* getModes() const { return Modes; }
    TextButton* getAdvanced() const { return Advanced; }
    // The button of an interface size (0 automatic), NULL when the window
    // is too small for it.
    TextButton* getInterfaceSize(int Size) const { return Sizes[Size]; }
    // A mode's line in the list.
    static std::string ModeText(int Width, int Height, int Depth);

  private:
    void applyInterfaceSize(int Size);
    CheckBox* Fullscreen;
    ListBox* Modes;
    TextButton* Advanced;
    TextButton* Sizes[MAX_INTERFACE_SIZE + 1] = {};
    RadioButtonGroup SizeGroup;
    int OriginalSize;
    std::vector<GraphicsMode> Available;
};

// The limit slider runs over steps of FRAMERATE_STEP frames a second from
// FRAMERATE_STEP; its top step means no limit.
constexpr int FRAMERATE_STEP = 10;
constexpr int FRAMERATE_STEPS = 20;  // 10 .. 200
class AdvancedGraphicsBody : public PageBody {
  public:
    AdvancedGraphicsBody();
    ~AdvancedGraphicsBody() override;
    void command(int number) override;
    // 0 light effects, 1 no stretching, 2 system pointer.
    CheckBox* getBox(int Number) const { return Boxes[Number]; }
    Slider* getSlider() const { return Limit; }
    const Label* getLimitCaption() const { return LimitCaption; }
    const Label* getMeasured() const { return Measured; }
    // "Adjust framerate limit: %d" or "...: max" for a slider value.
    static std::string LimitText(int Value);

  private:
    int limitOf(int Value) const;
    CheckBox* Boxes[3];
    Slider* Limit;
    Label* LimitCaption;
    Label* Measured;
    char MeasuredText[48] = "";
    ComponentTimer* Timer = NULL;
    int Original;  // the limit in force when the page opened
};

class ConsoleOptionsBody : public PageBody {
  public:
    ConsoleOptionsBody();
    void command(int number) override;
    // 0 info, 1 event, 2 status messages, 3 time stamps.
    CheckBox* getBox(int Number) const { return Boxes[Number]; }

  private:
    CheckBox* Boxes[4];
};

class NetworkOptionsBody : public PageBody {
  public:
    NetworkOptionsBody();
    void command(int number) override;
    CheckBox* getTestServer() const { return TestServer; }

  private:
    CheckBox* TestServer;
};
