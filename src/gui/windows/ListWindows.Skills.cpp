// The skills window and the wheel-scrolled line list the three standard
// windows share.
#include "gui/windows/ListWindows.h"

#include "config/Preferences.h"
#include "core/Status.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/framework/Skins.h"
#include "world/Creatures.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int SKILL_BAR_FILL = 178, SKILL_BAR_BACKGROUND = 179;
// Pixels scrolled by one step of the wheel.
constexpr int WHEEL_LINES = 2;

const char* const CAPTIONS[8] = {"Experience", "Level",    "Hit Points", "Mana",
                                 "Soul Points", "Capacity", "Magic Level", ""};

int BarSpace() { return SkinProperties().SidePanels.BarHeight + 2; }

}  // namespace

// ==== Line list =========================================================================================

LineListBody::LineListBody(int LineHeight) : Component(0), LineHeight(std::max(LineHeight, 1)) {}

int LineListBody::getMinimumHeight() const { return 2 * LineHeight; }

bool LineListBody::mouseRepeat(int, int, int code) {
    if (code == REPEAT_WHEEL_AWAY)
        Scroll -= WHEEL_LINES * LineHeight;
    else if (code == REPEAT_WHEEL_TOWARDS)
        Scroll += WHEEL_LINES * LineHeight;
    else
        return true;
    clampScroll();
    return true;
}

void LineListBody::clampScroll() { Scroll = std::clamp(Scroll, 0, std::max(contentHeight() - _Height, 0)); }

SideWindow* NewListWindow(int Type, LineListBody* Body, int DefaultHeight, const char* Caption) {
    const int Stored = GetContentWindowValue(Type);
    Body->setSize(0, Stored > 0 ? Stored : DefaultHeight);
    SideWindow* W = new SideWindow(Type, Body);
    W->setCaption(Caption);
    return W;
}

// ==== Skills ==========================================================================================

SkillsBody::SkillsBody() : LineListBody(SkinProperties().SidePanels.LineHeight) {}

const char* SkillsBody::getCaption(int NumberOfLine) {
    ASSERT(In(NumberOfLine,1,SKILL_LINES));
    if (!In(NumberOfLine, 1, SKILL_LINES)) return "";
    return NumberOfLine <= 8 ? CAPTIONS[NumberOfLine - 1] : GetSkillName(NumberOfLine - 9);
}

void SkillsBody::getValue(int NumberOfLine, char* Buffer, int Size) {
    if (Size <= 0) return;
    Buffer[0] = 0;
    switch (NumberOfLine) {
    case 1: std::snprintf(Buffer, size_t(Size), "%u", unsigned(GetPlayerExperience())); break;
    case 2: std::snprintf(Buffer, size_t(Size), "%d", GetPlayerExperienceLevel()); break;
    case 3: std::snprintf(Buffer, size_t(Size), "%d", GetPlayerHitpoints()); break;
    case 4: std::snprintf(Buffer, size_t(Size), "%d", GetPlayerMana()); break;
    case 5: std::snprintf(Buffer, size_t(Size), "%d", GetPlayerSoulpoints()); break;
    case 6: std::snprintf(Buffer, size_t(Size), "%d", GetPlayerCapacity()); break;
    case 7: std::snprintf(Buffer, size_t(Size), "%d", GetPlayerMagicLevel()); break;
    case 8: break;
    default:
        if (In(NumberOfLine, 9, SKILL_LINES)) std::snprintf(Buffer, size_t(Size), "%d", GetSkillLevel(NumberOfLine - 9));
        break;
    }
}

int SkillsBody::getPercent(int NumberOfLine) {
    switch (NumberOfLine) {
    case 2: return GetLevelBar() ? GetPlayerExperienceLevelPercent() : -1;
    case 7: return GetMagLevelBar() ? GetPlayerMagicLevelPercent() : -1;
    default:
        if (In(NumberOfLine, 9, SKILL_LINES) && GetSkillBar(NumberOfLine - 9)) return GetSkillPercent(NumberOfLine - 9);
        return -1;
    }
}

int SkillsBody::contentHeight() const {
    int Height = 0;
    for (int n = 1; n <= SKILL_LINES; ++n) Height += LineHeight + (getPercent(n) >= 0 ? BarSpace() : 0);
    return Height;
}

void SkillsBody::draw(int Surface, int x, int y) {
    clampScroll();
    const auto& P = SkinProperties().SidePanels;
    const ClipRect Clip{x, y, _Width, _Height};
    const int Margin = P.Margin;
    const int TextTop = (LineHeight - GetFontHeight(P.LineFont)) / 2;
    int Top = -Scroll;
    char Value[24];
    for (int n = 1; n <= SKILL_LINES && Top < _Height; ++n) {
        const int Percent = getPercent(n);
        const int Height = LineHeight + (Percent >= 0 ? BarSpace() : 0);
        if (Top + Height > 0) {
            getValue(n, Value, int(sizeof Value));
            DrawTextClipped(Surface, x + Margin, y + Top + TextTop, P.LineFont, P.LineText.Red, P.LineText.Green,
                            P.LineText.Blue, getCaption(n), LEFT_ALIGN, Clip);
            DrawTextClipped(Surface, x + _Width - Margin, y + Top + TextTop, P.LineFont, P.LineText.Red,
                            P.LineText.Green, P.LineText.Blue, Value, RIGHT_ALIGN, Clip);
            if (Percent >= 0) {
                const int BarX = x + Margin, BarY = y + Top + LineHeight, BarWidth = std::max(_Width - 2 * Margin, 0);
                const int Fill = BarWidth * std::clamp(Percent, 0, 100) / 100;
                DrawSkinTiledClipped(Surface, BarX, BarY, BarWidth, P.BarHeight, SKILL_BAR_BACKGROUND, 0, 0, Clip.X,
                                     Clip.Y, Clip.Width, Clip.Height);
                if (Fill > 0)
                    DrawSkinTiledClipped(Surface, BarX, BarY, Fill, P.BarHeight, SKILL_BAR_FILL, 0, 0, Clip.X, Clip.Y,
                                         Clip.Width, Clip.Height);
            }
        }
        Top += Height;
    }
}

bool SkillsBody::rightButtonUp(int, int, int) {
    PostEvent(MESSAGE_SKILLS_CONTEXT_MENU, 0, 0);
    return true;
}

SideWindow* NewSkillsWindow() {
    SkillsBody* Body = new SkillsBody();
    return NewListWindow(SKILLS_WINDOW, Body, Body->contentHeight(), "Skills");
}
