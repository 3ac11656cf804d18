// The component framework every window, dialog and control is built on.
//
// Sections:
//   1. Key codes and small records (drawing entries, command targets)
//   2. Component and CompositeComponent (the tree, drawing, input, layout)
//   3. Skin drawing
//   4. Hotkeys, command timers, help query, tooltip, pointer shape
//   5. The frame: root, modal window and the composition of one frame
//
// The tree: a composite owns its children, kept in a singly linked list that
// is both the drawing order (later on top) and the hit-test order (first one
// that takes an event wins). Mouse coordinates are always relative to the
// receiving component. A control that wants every mouse event until it lets
// go (a pressed button, a dragged knob) takes the capture: each ancestor
// remembers the child on the path, so events follow that path wherever the
// pointer is.
//
// Broken preconditions are reported through ASSERT; where the reporter
// returns, the operation is left out so the tree stays whole.
#pragma once

#include "core/Assert.h"

#include <cstdint>
#include <string>
#include <vector>

#ifndef NULL
#define NULL nullptr
#endif

// ---- 1. Key codes and small records --------------------------------------------

namespace keys {
inline constexpr int EXTENDED = 0x100;  // special keys: 256 and above
inline constexpr int SHIFT = 0x200;
inline constexpr int CTRL = 0x400;
inline constexpr int ALT = 0x800;
inline constexpr int BACKSPACE = 8;
inline constexpr int TAB = 9;
inline constexpr int ENTER = 13;
inline constexpr int ESCAPE = 27;
inline constexpr int F1 = 256;
inline constexpr int UP = 268;
inline constexpr int LEFT = 269;
inline constexpr int RIGHT = 270;
inline constexpr int DOWN = 271;
inline constexpr int INSERT = 272;
inline constexpr int DELETE = 273;
inline constexpr int HOME = 274;
inline constexpr int END = 275;
inline constexpr int PAGEUP = 276;
inline constexpr int PAGEDOWN = 277;
// Alt+F8 switches the diagnostics lines and reaches no component.
inline constexpr int DIAGNOSTICS = (F1 + 7) | ALT;
}  // namespace keys

// Codes of mouseRepeat.
inline constexpr int REPEAT_WHEEL_AWAY = 1;
inline constexpr int REPEAT_WHEEL_TOWARDS = 2;
inline constexpr int REPEAT_LEFT_HELD = 6;

// The smallest interface the window allows (its client area divided by the
// scale): every dialog and popup is made to fit it.
inline constexpr int SMALLEST_SCREEN_WIDTH = 550, SMALLEST_SCREEN_HEIGHT = 450;

// Pointer shapes a component may ask for while the pointer moves over it.
inline constexpr int POINTER_NORMAL = 1;
inline constexpr int POINTER_RESIZE = 2;

// One row of a component's drawing list. Skin 0 draws nothing; width and
// height 0 draw the skin once at its own size, anything else tiles the skin
// over that rectangle starting offset x / offset y pixels into it.
struct DrawingEntry {
    int skin = 0, x = 0, y = 0, width = 0, height = 0, offsetx = 0, offsety = 0;
};

class Component;
class CompositeComponent;

// The six pointer handlers, declared together by the components that take
// the pointer's every press and move for themselves (or pass them all on).
#define POINTER_HANDLERS_OVERRIDE                          \
    bool mouseMove(int x, int y) override;                 \
    bool leftButtonDown(int x, int y, int keys) override;  \
    bool leftButtonUp(int x, int y, int keys) override;    \
    bool leftDoubleClick(int x, int y, int keys) override; \
    bool rightButtonUp(int x, int y, int keys) override;   \
    bool mouseRepeat(int x, int y, int code) override

// Where an activated control sends its command; an empty target does nothing.
struct CommandTarget {
    Component* Target = NULL;
    int Number = 0;
    CommandTarget() = default;
    CommandTarget(Component* Target, int Number) : Target(Target), Number(Number) {}
    void send() const;
};

// ---- 2. Components -----------------------------------------------------------------

class Component {
  public:
    // The drawing list has a fixed number of entries per element class.
    explicit Component(int DrawingEntries = 0);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    // Tree operations; a leaf has no children and reports every attempt.
    virtual void addChildFirst(Component* Child);
    virtual void addChild(Component* Child);
    virtual void removeChild(Component* Child);
    virtual void deleteChild(Component* Child);
    virtual void insertChildAfter(Component* After, Component* Child);
    virtual void swapChildren(Component* Child1, Component* Child2);
    virtual bool isChild(const Component* Child) const;
    virtual Component* getFirstChild() const;
    virtual Component* getLastChild() const;
    virtual Component* getNextSibling() const;
    virtual Component* getPreviousSibling() const;
    virtual CompositeComponent* getParent() const;

    virtual void setSize(int _Width, int _Height);
    virtual void setPosition(int x, int y);
    virtual int getMinimumWidth() const;
    virtual int getMinimumHeight() const;

    // Draws at (x, y) of the surface: the drawing list, then (composites)
    // the children.
    virtual void draw(int Surface, int x, int y);
    // Rewrites the drawing list from the current size and content.
    virtual void arrange();

    // Mouse input, relative to this component; true when it was taken.
    virtual bool mouseMove(int x, int y);
    virtual bool leftButtonDown(int x, int y, int keys);
    virtual bool leftButtonUp(int x, int y, int keys);
    virtual bool leftDoubleClick(int x, int y, int keys);
    virtual bool rightButtonUp(int x, int y, int keys);
    virtual bool mouseRepeat(int x, int y, int code);
    // The pointer rested (hover): tooltips.
    virtual void mouseRest(int x, int y);
    // Help mode: sets the help number and area of the point; false when
    // there is no help here.
    virtual bool queryHelp(int x, int y);
    virtual void keyPress(int code);
    virtual void command(int number);
    virtual void parentMoved();
    // Brings a window that floats over the others (a dialog, a menu, a
    // popup) into an area of the given size after the area has changed: it
    // moves as little as it must, and when it is larger than the area its top
    // left corner stays in it.
    virtual void keepInside(int AreaWidth, int AreaHeight);

    // The capture chain (see the file comment).
    virtual void setCapture(Component* component);
    virtual void releaseCapture(Component* component);
    virtual void cancelCapture();

    int getWidth() const { return _Width; }
    int getHeight() const { return _Height; }
    int getX() const { return _X; }
    int getY() const { return _Y; }
    // Whether (x, y), relative to the parent, lies on this component.
    bool contains(int x, int y) const { return x - _X >= 0 && x - _X <= _Width - 1 && y - _Y >= 0 && y - _Y <= _Height - 1; }
    // Position on the surface the root is drawn to (the sum of the offsets).
    void getAbsolutePosition(int& x, int& y) const;

    const DrawingEntry& getDrawingEntry(int i) const;
    int getDrawingEntries() const { return int(DrawingList.size()); }

  protected:
    // The self-capture of a control: marks the path from the root to it.
    void takeCapture();
    void dropCapture();
    void setDrawingEntry(int i, int skin, int x, int y, int width = 0, int height = 0, int offsetx = 0,
                         int offsety = 0);
    // Entries First..First+3: the top, left, bottom and right edge skins
    // along the component's whole size.
    void setEdgeEntries(int First, int Top, int Left, int Bottom, int Right);
    // Entries First..First+8: the window border (skins 22 to 29) around a box
    // at (x, y) of Width x Height, and the skin Inside tiled within it,
    // starting InsideOffsetY into its picture; every piece at least a pixel.
    void setBorderEntries(int First, int Inside, int x, int y, int Width, int Height, int InsideOffsetY = 0);
    void drawDrawingList(int Surface, int x, int y) const { drawDrawingEntries(Surface, x, y, 0, getDrawingEntries() - 1); }
    // Entries First..Last alone, for elements that draw in between.
    void drawDrawingEntries(int Surface, int x, int y, int First, int Last) const;

    std::vector<DrawingEntry> DrawingList;
    CompositeComponent* Parent = NULL;
    Component* NextSibling = NULL;
    int _X = 0, _Y = 0;
    int _Width = 0, _Height = 0;

    friend class CompositeComponent;
};

class CompositeComponent : public Component {
  public:
    explicit CompositeComponent(int DrawingEntries = 0) : Component(DrawingEntries) {}
    ~CompositeComponent() override;

    void addChildFirst(Component* Child) override;
    void addChild(Component* Child) override;
    void removeChild(Component* Child) override;
    void deleteChild(Component* Child) override;
    void insertChildAfter(Component* After, Component* Child) override;
    void swapChildren(Component* Child1, Component* Child2) override;
    bool isChild(const Component* Child) const override;
    Component* getFirstChild() const override;
    Component* getLastChild() const override;

    void setPosition(int x, int y) override;
    void draw(int Surface, int x, int y) override;
    void arrange() override;

    POINTER_HANDLERS_OVERRIDE;
    void mouseRest(int x, int y) override;
    bool queryHelp(int x, int y) override;

    void setCapture(Component* component) override;
    void releaseCapture(Component* component) override;
    void cancelCapture() override;

    virtual Component* getCapture() const;
    // Negative x or y count from the right or bottom edge.
    virtual void placeChild(Component* Child, int x, int y);
    // As placeChild; a width or height <= 0 reaches that many pixels short
    // of the right or bottom edge.
    virtual void placeChildSized(Component* Child, int x, int y, int width, int height);
    virtual void fitToChildren(bool resize);
    virtual void fitToChildrenWithMargins(int left, int top, int right, int bottom, bool resize);
    virtual void fitAroundChild(Component* Child, int left, int top, int right, int bottom, bool resize);
    virtual void clipChildren(bool removeClipped);

    int countChildren() const;

  protected:
    // Mouse dispatch to the capture or the first child that takes it.
    template <typename Handler>
    bool dispatch(int x, int y, Handler handler);
    Component* childAt(int x, int y) const;
    // The children alone, for elements that draw themselves in between.
    void drawChildren(int Surface, int x, int y);
    // Stores a size found by a fit, raised to the minimum sizes.
    void storeFittedSize(int width, int height, bool resize);

    Component* FirstChild = NULL;
    Component* Capture = NULL;
};

// ---- 3. Skin drawing -------------------------------------------------------------------

// One copy of tiled drawing: where it goes and which part of the skin picture.
struct SkinTile {
    int x, y, SourceX, SourceY, width, height;
};
// The copies that tile a skin over a rectangle, row by row from the top, left
// to right in a row; the first column and row start offsetx / offsety pixels
// into the skin, every tile is cut to what is left of the rectangle. An empty
// or inside-out rectangle gives none; tiles may lie off the surface, which
// cuts them when they are drawn.
std::vector<SkinTile> GetSkinTiles(int x, int y, int width, int height, int skin, int offsetx, int offsety);
// Tiles a skin of the skin picture over a rectangle; the first column and row
// start offsetx / offsety pixels into the skin.
void DrawSkinTiled(int Surface, int x, int y, int width, int height, int skin, int offsetx, int offsety);
// The same, limited to a visible area.
void DrawSkinTiledClipped(int Surface, int x, int y, int width, int height, int skin, int offsetx, int offsety,
                          int ClipX, int ClipY, int ClipWidth, int ClipHeight);

// ---- 4. Hotkeys, command timers, help query, tooltip, pointer shape --------------------

// A key that is present gets the new target; otherwise it is appended.
void RegisterHotkey(int Key, Component* Target, int Command);
// The last entry moves into the freed place.
void RemoveHotkey(int Key);
// Shift is ignored and lower-case letters count as upper case. True when an
// entry took the key.
bool DispatchHotkey(int Key);
int GetNumberOfHotkeys();

// Sends its command to the target on every application tick while it runs,
// once more when it reaches 0, and then stops. A duration of 0 never runs.
class ComponentTimer {
  public:
    ComponentTimer(int Tenths, Component* Target, int Command);
    ~ComponentTimer();
    ComponentTimer(const ComponentTimer&) = delete;
    ComponentTimer& operator=(const ComponentTimer&) = delete;
    int remainingTenths() const { return Remaining / 100; }
    bool expired() const { return !Active || Remaining == 0; }
    bool isActive() const { return Active; }

    // Called on every application tick (the 100 ms timer).
    static void tick();

  private:
    void unregister();
    int Remaining = 0;
    bool Active = false;
    Component* Target = NULL;
    int Command = 0;
    int Slot = -1;
    friend void ForgetComponent(Component* Gone);
    friend void ExitGUI();
};
int GetNumberOfActiveTimers();

// Help mode: the area under the help pointer and its help number.
void SetHelpOrigin(int x, int y);
void AddHelpOrigin(int dx, int dy);
void SetHelpSize(int width, int height);
// A number other than the current one raises the changed flag.
void SetHelpNumber(int Number);
void GetHelpQuery(int& x, int& y, int& width, int& height);
int GetHelpNumber();
bool TakeHelpChanged();

// The tooltip: a copy of the text (NULL or "" clears it) and the screen point
// it belongs to.
void SetTooltipText(const char* Text);
const char* GetTooltipText();
void SetTooltipPoint(int x, int y);
void GetTooltipPoint(int& x, int& y);

// The pointer shape the component under the pointer asked for.
void SetPointerShape(int Shape);
int GetPointerShape();

// ---- 5. The frame --------------------------------------------------------------------------

// Starts and ends the module: tables of hotkeys and timers, the help and
// tooltip state, the modal window (destroyed by ExitGUI).
void InitGUI();
void ExitGUI();

// The root of the tree (the main game window); owned by its creator.
void SetRootComponent(Component* Root);
Component* GetRootComponent();
// The one modal window (a dialog or pop-up menu), owned from here on; a
// window already open is destroyed first.
void SetModalWindow(Component* Window);
Component* GetModalWindow();
void DestroyModalWindow();

// Composes one frame on the surface: the root at (0, 0), the modal window
// at its position (brought inside the frame first: the window may have
// shrunk or changed its scale since it was placed), the tooltip box above
// its point, and the diagnostics lines.
void DrawFrameComposition(int Surface, int Width, int Height, bool Diagnostics);
// The diagnostics lines alone.
void DrawDiagnostics(int Surface);

// Called by every component's destructor: drops hotkeys and timer targets
// that name it, and the root / modal entries.
void ForgetComponent(Component* Gone);
