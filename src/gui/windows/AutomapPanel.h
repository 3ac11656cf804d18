// The automap panel: the explored land around the player as a picture of
// 106 x 106 pixels, one colour per field, with the player's cross and his
// marks; a compass rose and buttons to scroll, zoom and look at other floors;
// a click walks to the spot, a right click opens the mark menu.
//
// The picture is built in AUTOMAP_SURFACE only when the automap changed, the
// view changed or the surfaces were made anew, and copied to the screen on
// every frame.
#pragma once

#include "gui/dialogs/EditMarkDialog.h"
#include "gui/framework/DialogElements.h"
#include "world/Automap.h"

#include <cstdint>
#include <vector>

// Commands of the panel (its buttons, the compass rose and the Alt keys).
enum : int {
    AUTOMAP_HIGHER = 3,      // Alt+PageUp
    AUTOMAP_LOWER = 4,       // Alt+PageDown
    AUTOMAP_CENTRE = 106,
    AUTOMAP_ZOOM_IN = 107,   // Alt+End
    AUTOMAP_ZOOM_OUT = 108,  // Alt+Home
    AUTOMAP_NORTH = 109,     // Alt+Up
    AUTOMAP_EAST = 110,      // Alt+Right
    AUTOMAP_SOUTH = 111,     // Alt+Down
    AUTOMAP_WEST = 112,      // Alt+Left
};

constexpr int AUTOMAP_PICTURE_SIZE = 106;

// What the view shows: the centre field, the zoom, and whether it follows the
// player. The player's position comes from the map when it is not given.
class AutomapView {
  public:
    AutomapView();
    // Carries out a command of the panel; false for a number it does not know.
    bool command(int number);
    // Once per frame, before drawing: any move of the character since the
    // view stopped following brings it back to him; while following, the
    // centre is the player's position.
    void update();
    // Builds the picture in AUTOMAP_SURFACE when anything asks for it; true
    // when it did.
    bool rebuildIfNeeded();
    // Builds it unconditionally (for the benchmarks).
    void rebuild();

    // The field under a point of the picture (relative to its corner).
    void fieldUnderPointer(int a, int b, int& x, int& y, int& z);
    // The mark under a point: false (and an empty mark) when there is none
    // within 5 pixels either way.
    bool markUnderPointer(int a, int b, AutomapMark& Mark);

    bool isFollowing() const { return Following; }
    int getZoom() const { return Zoom; }
    void getCentre(int& x, int& y, int& z) const { x = CentreX, y = CentreY, z = CentreZ; }
    bool needsRedraw() const { return Redraw; }
    // Rebuilds so far (for the tests and the benchmarks).
    int getRebuilds() const { return Rebuilds; }

  private:
    void stopFollowing();
    void scroll(int dx, int dy);
    // The centre the picture is built around (even at zoom 1).
    void pictureCentre(int& cx, int& cy) const;
    // The first of the 2 x 2 areas whose marks are shown.
    void markAreas(int cx, int cy, int& bx, int& by) const;
    void drawCross(int g, int f);
    // The marks drawn in the picture around (cx, cy), in drawing order or
    // the latest first, with their pixels; stops at the first for which the
    // visitor returns true, and says whether one did.
    template <typename Visit>
    bool visitShownMarks(int cx, int cy, bool LatestFirst, Visit&& visit);
    void drawMarks(int cx, int cy);

    bool Following = true;
    int CentreX = 0, CentreY = 0, CentreZ = 7;
    int SnapshotX = 0, SnapshotY = 0, SnapshotZ = 7;
    int Zoom = 2;
    bool Redraw = true;
    int Generation = -1;  // of the surfaces the picture was built on
    int Rebuilds = 0;
    // Kept between rebuilds so that a rebuild allocates nothing once warm.
    std::vector<AutomapMark> Marks;
};

// The picture on the screen; its clicks walk and open the mark menu.
class AutomapPicture : public Component {
  public:
    explicit AutomapPicture(AutomapView* View);
    void draw(int Surface, int x, int y) override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool leftButtonUp(int x, int y, int keys) override;
    bool rightButtonUp(int x, int y, int keys) override;

  private:
    AutomapView* View;
};

// The compass rose: a click scrolls the view towards the clicked side.
class CompassRose : public Component {
  public:
    CompassRose(int _RoseSkin, Component* Target);
    void draw(int Surface, int x, int y) override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool leftButtonUp(int x, int y, int keys) override;
    void mouseRest(int x, int y) override;

  private:
    int _RoseSkin;
    Component* Target;
};

class AutomapPanel : public CompositeComponent {
  public:
    AutomapPanel();
    ~AutomapPanel() override;
    void setSize(int Width, int Height) override;
    int getMinimumWidth() const override;
    int getMinimumHeight() const override;
    void draw(int Surface, int x, int y) override;
    void command(int number) override;

    AutomapView& getView() { return View; }
    AutomapPicture* getPicture() const { return Picture; }
    CompassRose* getRose() const { return Rose; }
    Button* getButton(int Command) const;

  private:
    AutomapView View;
    AutomapPicture* Picture;
    CompassRose* Rose;
    Button* Higher;
    Button* Lower;
    Button* ZoomIn;
    Button* ZoomOut;
    TextButton* Centre;
};
