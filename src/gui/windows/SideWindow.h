// A window of the side column: a frame with a title bar around one content
// component (its body), with a close button, a minimise button, up to two
// further buttons of the owner's and the grips that resize it. The title bar
// and the frame are the handle by which the player drags the window up and
// down the column; a double click on them minimises or restores it.
//
// A side window always lives in the SideColumn (SideColumn.h): it is handed to
// the column with AddSideWindow and from then on owned by it. The column
// deletes it when the player closes it, when it has to make room for a new
// window and this one cannot shrink far enough, and when its content ends.
#pragma once

#include "gui/framework/DialogElements.h"

#include <string>

class SideColumn;

// Window types: the three standard windows, the trade window and one
// container window per open container (CONTAINER_WINDOW + container number).
enum : int {
    SKILLS_WINDOW = 6,
    BATTLE_WINDOW = 7,
    TRADE_WINDOW = 8,
    VIP_WINDOW = 9,
    CONTAINER_WINDOW = 64,
};

// Commands of a side window (its buttons send them to the window).
enum : int {
    SIDEWINDOW_TOGGLE = 9,  // minimise or restore
    SIDEWINDOW_CLOSE = 10,
};

// Commands a side window sends to its body.
enum : int {
    SIDEBODY_MINIMISED = 11,  // the body is about to be taken out of the window
    SIDEBODY_RESTORED = 12,   // the body is back and sized
};

class SideWindow : public CompositeComponent {
  public:
    // Body is owned from here on ("_Body!=NULL"). Extra buttons (NULL for
    // none) sit left of the minimise button in the title bar, First
    // leftmost; the window owns them. The window starts with the body's
    // current height; the body's width is set by the column.
    SideWindow(int Type, Component* Body, Button* ExtraFirst = NULL, Button* ExtraSecond = NULL);
    // A window of type 6, 7 or 9 keeps its body height in the preferences.
    ~SideWindow() override;

    int getType() const { return Type; }
    Component* getBody() const { return _Body; }
    bool IsMinimized() const { return Minimized; }
    bool isDragging() const { return Dragging; }
    // The caption in the title bar, and an optional small picture left of it
    // (owned by the window; NULL removes it).
    void setCaption(const char* Text);
    const std::string& getCaption() const { return Caption; }
    void setTitlePicture(Component* Picture);
    Button* getCloseButton() const { return CloseButton; }
    Button* getMinimizeButton() const { return MinimizeButton; }

    void minimize();
    void restore();
    // What happens when the player closes the window (close button, or the
    // column squeezing it out), just before the column deletes it. A
    // container window tells the server here; the default does nothing.
    virtual void onClose() {}

    // The frame's own height around the body: title bar and bottom edge.
    static int frameHeight();
    static int frameWidth();

    void setSize(int Width, int Height) override;
    void setPosition(int x, int y) override;
    int getMinimumHeight() const override;
    int getMinimumWidth() const override;
    void arrange() override;
    void draw(int Surface, int x, int y) override;
    void command(int number) override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool leftDoubleClick(int x, int y, int keys) override;
    // Help mode explains the window by its type, wherever the pointer is on it.
    bool queryHelp(int x, int y) override;
    bool mouseMove(int x, int y) override;
    bool leftButtonUp(int x, int y, int keys) override;
    void mouseRest(int x, int y) override;
    void cancelCapture() override;

    // The height the player gave the window (at opening, by its grip, by
    // restoring it); the column never grows it beyond that.
    int getWantedHeight() const { return WantedHeight; }

  private:
    friend class SideColumn;
    SideColumn* column() const;
    void placeButtons();
    void endDrag();

    int Type;
    Component* _Body;
    Resizer* Grip;        // the corner grip, shown
    Resizer* EdgeGrip;    // the bottom edge, a hidden grip
    Button* CloseButton;
    Button* MinimizeButton;
    Button* Extra[2] = {NULL, NULL};
    Component* TitlePicture = NULL;
    std::string Caption;
    bool Minimized = false;
    int HeightBeforeMinimizing = 0;
    int WantedBeforeMinimizing = 0;  // a squeezed window keeps its claim while minimised
    int WantedHeight = 0;
    bool Dragging = false;
    int GrabX = 0, GrabY = 0;       // where the window was taken, inside it
    int GrabOffset = 0;             // pointer to window top, in the column
};
