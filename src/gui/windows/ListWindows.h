// The bodies of the three standard side windows: the skills window, the
// battle list and the VIP list. Each is a list of fixed-height lines drawn
// straight from the world model every frame (no copies to keep up to date),
// scrolled by the mouse wheel and cut to the window.
//
// Files: ListWindows.Skills.cpp, ListWindows.Battle.cpp, ListWindows.Vip.cpp.
#pragma once

#include "gui/framework/Events.h"
#include "gui/windows/SideWindow.h"

#include <cstdint>

// A body of lines, scrolled by the wheel.
class LineListBody : public Component {
  public:
    explicit LineListBody(int LineHeight);
    int getMinimumHeight() const override;
    bool mouseRepeat(int x, int y, int code) override;
    int getScroll() const { return Scroll; }
    // The content's whole height.
    virtual int contentHeight() const = 0;

  protected:
    // Keeps the scroll position inside the content.
    void clampScroll();
    int LineHeight;
    int Scroll = 0;
};

// A standard window of the column around its list: the body at the height
// stored for the window's type (else DefaultHeight), under its caption.
SideWindow* NewListWindow(int Type, LineListBody* Body, int DefaultHeight, const char* Caption);

// ---- Skills -----------------------------------------------------------------------------------

inline constexpr int SKILL_LINES = 15;

class SkillsBody : public LineListBody {
  public:
    SkillsBody();
    int contentHeight() const override;
    void draw(int Surface, int x, int y) override;
    bool rightButtonUp(int x, int y, int keys) override;
    // Line 1..15: its caption, its value as shown, and its bar's percent
    // (-1 without a bar).
    static const char* getCaption(int NumberOfLine);
    static void getValue(int NumberOfLine, char* Buffer, int Size);
    static int getPercent(int NumberOfLine);
};
SideWindow* NewSkillsWindow();

// ---- Battle list -------------------------------------------------------------------------------

class BattleBody : public LineListBody {
  public:
    BattleBody();
    int contentHeight() const override;
    void draw(int Surface, int x, int y) override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool leftButtonUp(int x, int y, int keys) override;
    bool rightButtonUp(int x, int y, int keys) override;
    void mouseRest(int x, int y) override;
    // The creature on the line under a point of the body, 0 for none.
    uint32_t creatureAt(int x, int y) const;

  private:
    void click(uint32_t CreatureID, int keys);
    // The name's room on a line.
    int nameWidth() const;
    mutable int Count = 0;
};
SideWindow* NewBattleWindow();

// ---- VIP list ------------------------------------------------------------------------------------

class VipBody : public LineListBody {
  public:
    VipBody();
    int contentHeight() const override;
    void draw(int Surface, int x, int y) override;
    bool rightButtonUp(int x, int y, int keys) override;
    void mouseRest(int x, int y) override;
    // Colour of an entry's name: online, offline, or the highlight.
    static void getNameColour(int Position, int& Red, int& Green, int& Blue);
    // An entry's name as drawn in Width pixels (cut with "..." when wider).
    static void getShownName(int Position, int Width, char* Buffer, int Size);
    int nameWidth() const;

  private:
    int ShownCount = -1;
};
SideWindow* NewVipWindow();

// The skills window's name for the event of its menu.
