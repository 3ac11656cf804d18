// The map window: the component that shows the world around the player
// (drawn by the map view, in the map's own proportions, on the window's
// background where the picture leaves room), the names and health bars of
// the creatures and the texts over the map, and that turns clicks and drops
// on the map into walking, use, look, attack and move commands.
#pragma once

#include "gui/framework/GUI.h"
#include "gui/menus/ObjectMenu.h"
#include "world/Objects.h"

#include <cstdint>

// Commands of the map window (sent by hotkeys of the game view).
enum : int {
    HELP_CREATURES = 1000,
    HELP_YOUR_CHARACTER = 1001,
    HELP_CONTAINERS = 1002,
};

enum : int {
    MAPWINDOW_CREATURE_INFO = 600,  // cycles nothing / health bars / names and health bars
    MAPWINDOW_DISMISS_TEXT = 601,   // dismisses the text over the map that would go first
    MAPWINDOW_SHOW_HINT = 27,       // shows the first pending event hint
};

class MapWindow : public Component {
  public:
    MapWindow();
    void draw(int Surface, int x, int y) override;
    bool mouseMove(int x, int y) override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool leftButtonUp(int x, int y, int keys) override;
    bool rightButtonUp(int x, int y, int keys) override;
    void command(int number) override;
    // Help mode: creatures, the player, containers and objects with a help
    // value of their own; the area is the field under the pointer.
    bool queryHelp(int x, int y) override;
    int getMinimumHeight() const override;

    // The object a use-with (input mode 7) or a trade (mode 8) starts from
    // (kept with the object menu, which sets them too).
    static void setUseWithSource(const PendingObject& Source) { SetUseWithSource(Source); }
    static void setTradeObject(const PendingObject& Object) { SetTradeObject(Object); }
    static const PendingObject& getUseWithSource() { return GetUseWithSource(); }
    static const PendingObject& getTradeObject() { return GetTradeObject(); }

  private:
    void drawMargins(int Surface, int x, int y);
    void drawCreatureInfo(int Surface, int x, int y);
    void drawTexts(int Surface, int x, int y);
    // Actions on the field under a point; false when nothing can be seen there.
    bool visibleField(int x, int y, int& rx, int& ry, int& rz);
    void walkTo(int x, int y);
    void use(int x, int y);
    void look(int x, int y);
    void useWith(int x, int y);
    void trade(int x, int y);
    void drop(int x, int y, int keys);
    void clickWithKeys(int x, int y, int keys);
    // Posts the object menu of the field under the pointer.
    void objectMenu(int x, int y);

    // What the texts over the map were last laid out for (the picture's size).
    int LaidOutX = -1, LaidOutY = -1, LaidOutZ = -1, LaidOutWidth = 0, LaidOutHeight = 0;
    bool LaidOutNoStretching = false;
};
