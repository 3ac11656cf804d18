// The automap panel. Sections: 1. the view (commands, following, the
// picture, the pointer), 2. the picture and the compass rose, 3. the panel.
#include "gui/windows/AutomapPanel.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Status.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/menus/AutomapMenu.h"
#include "gui/framework/Skins.h"
#include "net/Commands.h"
#include "world/Creatures.h"
#include "world/Map.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int SIZE = AUTOMAP_PICTURE_SIZE;
constexpr int HALF = SIZE / 2;  // 53: the player's pixel while following
constexpr int SCROLL = 24;      // fields at zoom 1; 24 / zoom at the others
constexpr int MARK_SIZE = 11;
constexpr int MARK_REACH = 5;   // a mark is under the pointer this far off

// Picture layout: the sunken frame around the picture, and the controls in
// a column to its right.
constexpr int FRAME = 1;  // thickness of the sunken frame skins 8..11
constexpr int FRAME_LEFT = 4;
constexpr int GAP = 2;
constexpr int ROSE_SKIN = 61;
constexpr int BUTTON = 20;
constexpr int CENTRE_UP = 18, CENTRE_DOWN = 19;
constexpr int CENTRE_PADDING = 4;  // beside the caption
constexpr int MINIMUM_WIDTH = FRAME_LEFT + SIZE + 2 * FRAME + 4 + 44 + 4;
constexpr int MINIMUM_HEIGHT = SIZE + 2 * FRAME + 4;
constexpr int ROSE_DEAD_ZONE = 3;  // a click this near the middle scrolls nowhere

// Divisions of coordinates that may be negative round down, so that fields
// left of and above field 0 keep their places in the picture.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

bool ValidZoom(int Zoom) { return Zoom == 1 || Zoom == 2 || Zoom == 4 || Zoom == 8; }

void PlayerPosition(int& x, int& y, int& z) { GetMapPosition(x, y, z); }

// The picture's pixels, three bytes each, rows of 318 bytes; built anew at
// every rebuild and handed to the surface in one copy.
uint8_t Pixels[SIZE * SIZE * 3];

// An empty entry is no mark; a symbol from a damaged file has no picture,
// and what is not drawn cannot be pointed at either.
bool IsDrawnMark(const AutomapMark& M) { return (M.x != 0 || M.y != 0) && In(M.Icon, 0, AUTOMAP_SYMBOLS - 1); }

void White(int x, int y) {
    if (x >= 0 && x < SIZE && y >= 0 && y < SIZE) PutPixel(AUTOMAP_SURFACE, x, y, 255, 255, 255);
}

// The Alt keys named in the tooltips.
struct PanelKey {
    int Key, Command;
};
constexpr PanelKey PANEL_KEYS[] = {
    {keys::PAGEUP | keys::ALT, AUTOMAP_HIGHER}, {keys::PAGEDOWN | keys::ALT, AUTOMAP_LOWER},
    {keys::END | keys::ALT, AUTOMAP_ZOOM_IN},   {keys::HOME | keys::ALT, AUTOMAP_ZOOM_OUT},
    {keys::UP | keys::ALT, AUTOMAP_NORTH},      {keys::RIGHT | keys::ALT, AUTOMAP_EAST},
    {keys::DOWN | keys::ALT, AUTOMAP_SOUTH},    {keys::LEFT | keys::ALT, AUTOMAP_WEST},
};

}  // namespace

// ==== 1. The view ======================================================================================

AutomapView::AutomapView() {
    const int Preferred = GetAutomapZoom();
    Zoom = ValidZoom(Preferred) ? Preferred : 2;
    PlayerPosition(CentreX, CentreY, CentreZ);
    SnapshotX = CentreX, SnapshotY = CentreY, SnapshotZ = CentreZ;
}

void AutomapView::stopFollowing() {
    if (!Following) return;
    PlayerPosition(CentreX, CentreY, CentreZ);
    SnapshotX = CentreX, SnapshotY = CentreY, SnapshotZ = CentreZ;
    Following = false;
}

void AutomapView::scroll(int dx, int dy) {
    stopFollowing();
    CentreX += dx * (SCROLL / Zoom);
    CentreY += dy * (SCROLL / Zoom);
}

bool AutomapView::command(int number) {
    switch (number) {
    case AUTOMAP_HIGHER:
        stopFollowing();
        if (CentreZ > 0) --CentreZ;
        break;
    case AUTOMAP_LOWER:
        stopFollowing();
        if (CentreZ < 15) ++CentreZ;
        break;
    case AUTOMAP_CENTRE:
        Following = true;
        update();
        break;
    case AUTOMAP_ZOOM_IN:
        if (Zoom > 7) return true;
        Zoom *= 2;
        // The zoom is kept for the next start.
        SetAutomapZoom(Zoom);
        break;
    case AUTOMAP_ZOOM_OUT:
        if (Zoom < 2) return true;
        Zoom /= 2;
        SetAutomapZoom(Zoom);
        break;
    case AUTOMAP_NORTH: scroll(0, -1); break;
    case AUTOMAP_EAST: scroll(1, 0); break;
    case AUTOMAP_SOUTH: scroll(0, 1); break;
    case AUTOMAP_WEST: scroll(-1, 0); break;
    default: return false;
    }
    Redraw = true;
    return true;
}

void AutomapView::update() {
    int x, y, z;
    PlayerPosition(x, y, z);
    if (!Following && (x != SnapshotX || y != SnapshotY || z != SnapshotZ)) {
        Following = true;
        Redraw = true;
    }
    if (Following && (x != CentreX || y != CentreY || z != CentreZ)) {
        CentreX = x, CentreY = y, CentreZ = z;
        Redraw = true;
    }
}

void AutomapView::pictureCentre(int& cx, int& cy) const {
    cx = CentreX, cy = CentreY;
    if (Zoom == 1) {
        cx -= cx & 1;
        cy -= cy & 1;
    }
}

void AutomapView::markAreas(int cx, int cy, int& bx, int& by) const {
    const int m = SIZE / Zoom;
    bx = FloorDiv(cx - m, AUTOMAP_AREA_SIZE);
    by = FloorDiv(cy - m, AUTOMAP_AREA_SIZE);
}

bool AutomapView::rebuildIfNeeded() {
    // The automap's flag is read every frame: reading clears it.
    const bool Changed = GetAutomapChanged();
    const int Now = GetSurfaceGeneration();
    if (!Changed && !Redraw && Now == Generation) return false;
    Generation = Now;
    rebuild();
    return true;
}

void AutomapView::rebuild() {
    int cx, cy;
    pictureCentre(cx, cy);
    const int z = CentreZ;
    // The field of each column, computed once for all rows.
    int Columns[SIZE];
    for (int c = 0; c < SIZE; ++c) Columns[c] = FloorDiv(2 * c - SIZE + Zoom * cx + Zoom / 2, Zoom);
    uint8_t* p = Pixels;
    for (int r = 0; r < SIZE; ++r) {
        const int y = FloorDiv(2 * r - SIZE + Zoom * cy + Zoom / 2, Zoom);
        int Field = -1, Colour = 0;
        for (int c = 0; c < SIZE; ++c) {
            // Neighbouring columns show the same field when zoomed in.
            if (Columns[c] != Field) {
                Field = Columns[c];
                Colour = GetAutomapColour(Field, y, z);
            }
            *p++ = uint8_t(Colour / 36 * 51);
            *p++ = uint8_t(Colour / 6 % 6 * 51);
            *p++ = uint8_t(Colour % 6 * 51);
        }
    }
    UploadImage(AUTOMAP_SURFACE, 0, 0, SIZE, SIZE, Pixels);

    // The player: in the middle while following, elsewhere only where he
    // stands on the floor shown and within the picture.
    int px, py, pz;
    PlayerPosition(px, py, pz);
    if (Following) {
        drawCross(HALF, HALF);
    } else if (pz == z) {
        const int gx = FloorDiv((px - cx) * Zoom, 2), gy = FloorDiv((py - cy) * Zoom, 2);
        if (gx >= -HALF && gx <= HALF - 1 && gy >= -HALF && gy <= HALF - 1) drawCross(gx + HALF, gy + HALF);
    }
    drawMarks(cx, cy);
    Redraw = false;
    ++Rebuilds;
}

void AutomapView::drawCross(int g, int f) {
    if (Zoom > 2) {
        // Two lines thick, six pixels long each way.
        for (int i = -3; i <= 2; ++i) {
            White(g + i, f), White(g + i, f - 1);
            White(g, f + i), White(g - 1, f + i);
        }
    } else {
        White(g, f);
        White(g - 1, f), White(g + 1, f);
        White(g, f - 1), White(g, f + 1);
    }
}

template <typename Visit>
bool AutomapView::visitShownMarks(int cx, int cy, bool LatestFirst, Visit&& visit) {
    const int m = SIZE / Zoom;
    int bx, by;
    markAreas(cx, cy, bx, by);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            // Negative areas hold nothing (and would leave the list as it was).
            if (bx + i < 0 || by + j < 0) continue;
            int Count = 0;
            GetAutomapMarks(bx + i, by + j, CentreZ, Marks, Count);
            const int Shown = std::min(Count, int(Marks.size()));
            for (int k = 0; k < Shown; ++k) {
                const AutomapMark& M = Marks[size_t(LatestFirst ? Shown - 1 - k : k)];
                if (!IsDrawnMark(M)) continue;
                const int D = FloorDiv(Zoom * (M.x - cx + m), 2), G = FloorDiv(Zoom * (M.y - cy + m), 2);
                if (D < 0 || D >= SIZE || G < 0 || G >= SIZE) continue;
                if (visit(M, D, G)) return true;
            }
        }
    }
    return false;
}

void AutomapView::drawMarks(int cx, int cy) {
    visitShownMarks(cx, cy, false, [](const AutomapMark& M, int D, int G) {
        DrawSkinTiledClipped(AUTOMAP_SURFACE, D - MARK_REACH, G - MARK_REACH, MARK_SIZE, MARK_SIZE,
                             AUTOMAP_SYMBOL_SKIN + M.Icon, 0, 0, 0, 0, SIZE, SIZE);
        return false;
    });
}

void AutomapView::fieldUnderPointer(int a, int b, int& x, int& y, int& z) {
    if (Following) PlayerPosition(CentreX, CentreY, CentreZ);
    x = FloorDiv((a - HALF) * 2, Zoom) + CentreX;
    y = FloorDiv((b - HALF) * 2, Zoom) + CentreY;
    z = CentreZ;
}

bool AutomapView::markUnderPointer(int a, int b, AutomapMark& Mark) {
    Mark = AutomapMark();
    if (Following) PlayerPosition(CentreX, CentreY, CentreZ);
    int cx, cy;
    pictureCentre(cx, cy);
    // The latest mark first: it is drawn on top.
    return visitShownMarks(cx, cy, true, [&](const AutomapMark& M, int D, int G) {
        if (std::abs(a - D) > MARK_REACH || std::abs(b - G) > MARK_REACH) return false;
        Mark = M;
        return true;
    });
}

// ==== 2. The picture and the compass rose ==============================================================

AutomapPicture::AutomapPicture(AutomapView* View) : View(View) { Component::setSize(SIZE, SIZE); }

void AutomapPicture::draw(int Surface, int x, int y) {
    View->update();
    View->rebuildIfNeeded();
    CopySurface(Surface, x, y, AUTOMAP_SURFACE, 0, 0, SIZE, SIZE);
}

bool AutomapPicture::leftButtonDown(int, int, int) { return true; }

bool AutomapPicture::leftButtonUp(int a, int b, int) {
    // A drop or a target pick that ends here is not a walk.
    const int Mode = GetInputMode();
    if (Mode == INPUT_DRAG || Mode == INPUT_TARGET_1 || Mode == INPUT_TARGET_2) return true;
    int x, y, z;
    View->fieldUnderPointer(a, b, x, y, z);
    AutomapMark Mark;
    if (View->markUnderPointer(a, b, Mark) && Mark.x != 0 && Mark.y != 0) x = Mark.x, y = Mark.y;
    SendAutoWalk(GoTo(x, y, z, false, false));
    return true;
}

bool AutomapPicture::rightButtonUp(int a, int b, int) {
    AutomapSpot Spot;
    View->fieldUnderPointer(a, b, Spot.x, Spot.y, Spot.z);
    View->markUnderPointer(a, b, Spot.Mark);
    PostAutomapMenu(Spot);
    return true;
}

CompassRose::CompassRose(int _RoseSkin, Component* Target) : _RoseSkin(_RoseSkin), Target(Target) {
    ASSERT(_RoseSkin<NumberOfSkins);
    if (!In(_RoseSkin, 0, NumberOfSkins - 1)) this->_RoseSkin = 0;
    Component::setSize(Skins[this->_RoseSkin].width, Skins[this->_RoseSkin].height);
}

void CompassRose::draw(int Surface, int x, int y) {
    if (_RoseSkin != 0) DrawSkinTiled(Surface, x, y, _Width, _Height, _RoseSkin, 0, 0);
}

bool CompassRose::leftButtonDown(int, int, int) { return true; }

bool CompassRose::leftButtonUp(int x, int y, int) {
    if (Target == NULL || x < 0 || y < 0 || x >= _Width || y >= _Height) return true;
    const int dx = x - _Width / 2, dy = y - _Height / 2;
    if (std::abs(dx) <= ROSE_DEAD_ZONE && std::abs(dy) <= ROSE_DEAD_ZONE) return true;
    // Eight points: a side counts when the click lies within about 22 degrees
    // of it, both sides of a diagonal in between.
    if (dy != 0 && 5 * std::abs(dy) >= 2 * std::abs(dx)) Target->command(dy < 0 ? AUTOMAP_NORTH : AUTOMAP_SOUTH);
    if (dx != 0 && 5 * std::abs(dx) >= 2 * std::abs(dy)) Target->command(dx < 0 ? AUTOMAP_WEST : AUTOMAP_EAST);
    return true;
}

void CompassRose::mouseRest(int, int) { SetTooltipText("Scroll automap (Alt+Cursor)"); }

// ==== 3. The panel ======================================================================================

AutomapPanel::AutomapPanel() : CompositeComponent(4) {
    Picture = new AutomapPicture(&View);
    addChild(Picture);
    Rose = new CompassRose(ROSE_SKIN, this);
    addChild(Rose);
    Higher = new Button(62, 63, CommandTarget(this, AUTOMAP_HIGHER), "Show higher floor (Alt+PageUp)");
    Lower = new Button(64, 65, CommandTarget(this, AUTOMAP_LOWER), "Show lower floor (Alt+PageDown)");
    ZoomIn = new Button(66, 67, CommandTarget(this, AUTOMAP_ZOOM_IN), "Zoom in (Alt+End)");
    ZoomOut = new Button(68, 69, CommandTarget(this, AUTOMAP_ZOOM_OUT), "Zoom out (Alt+Home)");
    for (Button* B : {Higher, Lower, ZoomIn, ZoomOut}) {
        B->setSize(BUTTON, BUTTON);
        addChild(B);
    }
    Centre = new TextButton("Centre", CommandTarget(this, AUTOMAP_CENTRE), CENTRE_UP, CENTRE_DOWN);
    Centre->setTooltip("Centre around player");
    // As wide as the rose, or as its caption needs (measured once the fonts
    // are there: a game view may be built without them, in the tests).
    const int Font = SkinProperties().Buttons.Font;
    const int CaptionWidth = In(Font, 1, NumberOfFonts) && IsGraphicsInitialized()
                                 ? GetTextWidth(Font, "Centre") + 2 * CENTRE_PADDING
                                 : 0;
    Centre->setSize(std::max(Rose->getWidth(), CaptionWidth), Skins[CENTRE_UP].height);
    addChild(Centre);
    for (const PanelKey& K : PANEL_KEYS) RegisterHotkey(K.Key, this, K.Command);
    Component::setSize(MINIMUM_WIDTH, MINIMUM_HEIGHT);
    setSize(MINIMUM_WIDTH, MINIMUM_HEIGHT);
}

AutomapPanel::~AutomapPanel() {
    for (const PanelKey& K : PANEL_KEYS) RemoveHotkey(K.Key);
}

int AutomapPanel::getMinimumWidth() const { return MINIMUM_WIDTH; }
int AutomapPanel::getMinimumHeight() const { return MINIMUM_HEIGHT; }

Button* AutomapPanel::getButton(int Command) const {
    switch (Command) {
    case AUTOMAP_HIGHER: return Higher;
    case AUTOMAP_LOWER: return Lower;
    case AUTOMAP_ZOOM_IN: return ZoomIn;
    case AUTOMAP_ZOOM_OUT: return ZoomOut;
    case AUTOMAP_CENTRE: return Centre;
    default: return NULL;
    }
}

void AutomapPanel::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    // The framed picture at the left, vertically in the middle.
    const int Frame = SIZE + 2 * FRAME;
    const int fx = FRAME_LEFT, fy = std::max((Height - Frame) / 2, 0);
    Picture->setPosition(fx + FRAME, fy + FRAME);
    setDrawingEntry(0, 8, fx, fy, Frame, FRAME);
    setDrawingEntry(1, 10, fx, fy + Frame - FRAME, Frame, FRAME);
    setDrawingEntry(2, 9, fx, fy + FRAME, FRAME, SIZE);
    setDrawingEntry(3, 11, fx + Frame - FRAME, fy + FRAME, FRAME, SIZE);
    // The controls in the column right of it: the rose, the floor buttons,
    // the zoom buttons, "Centre".
    const int Left = fx + Frame, Room = std::max(Width - Left, 0);
    const int Column = Rose->getWidth();
    const int cx = Left + (Room - Column) / 2;
    const int Needed = Rose->getHeight() + 2 * (BUTTON + GAP) + GAP + Centre->getHeight();
    int y = fy + std::max((Frame - Needed) / 2, 0);
    Rose->setPosition(cx, y);
    y += Rose->getHeight() + GAP;
    const int bx = cx + (Column - (2 * BUTTON + GAP)) / 2;
    Higher->setPosition(bx, y);
    Lower->setPosition(bx + BUTTON + GAP, y);
    y += BUTTON + GAP;
    ZoomIn->setPosition(bx, y);
    ZoomOut->setPosition(bx + BUTTON + GAP, y);
    y += BUTTON + 2 * GAP;
    Centre->setPosition(cx + (Column - Centre->getWidth()) / 2, y);
}

void AutomapPanel::draw(int Surface, int x, int y) { CompositeComponent::draw(Surface, x, y); }

void AutomapPanel::command(int number) {
    const bool Known = View.command(number);
    ASSERT(Known);
}
