// The VIP list: one line per buddy, the name in the colour of its online
// state (white for a moment after it changed), with the icon the player
// gave it.
#include "gui/windows/ListWindows.h"

#include "config/Preferences.h"
#include "core/Status.h"
#include "core/Utils.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/framework/Skins.h"
#include "gui/menus/VipMenu.h"
#include "world/Creatures.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int VIP_ICON_BASE = 213;
// A buddy is highlighted for this many timer ticks after it logged in or out.
constexpr uint32_t HIGHLIGHT_TICKS = 100;

int VisibleCount() { return std::min(GetNumberOfShownBuddies(), GetNumberOfBuddies()); }

}  // namespace

VipBody::VipBody() : LineListBody(SkinProperties().SidePanels.LineHeight) {}

int VipBody::contentHeight() const { return VisibleCount() * LineHeight; }

int VipBody::nameWidth() const {
    const auto& P = SkinProperties().SidePanels;
    const SkinPoint& Logo = SkinProperties().BuddylistWindow.Logo;
    return std::max(_Width - (Logo.x + Skins[VIP_ICON_BASE].width + 3) - P.Margin, 0);
}

void VipBody::getNameColour(int Position, int& Red, int& Green, int& Blue) {
    const Buddy& B = GetBuddyEntry(Position);
    if (B.LastChange != 0 && GetAnimationClock() - uint32_t(B.LastChange) < HIGHLIGHT_TICKS) {
        Red = Green = Blue = 248;
    } else if (B.Online) {
        Red = 96, Green = 248, Blue = 96;
    } else {
        Red = 248, Green = 96, Blue = 96;
    }
}

void VipBody::getShownName(int Position, int Width, char* Buffer, int Size) {
    if (Size <= 0) return;
    std::strncpy(Buffer, GetBuddyEntry(Position).Name, size_t(Size - 1));
    Buffer[Size - 1] = 0;
    const int Font = SkinProperties().SidePanels.LineFont;
    if (GetTextWidth(Font, Buffer) > Width) Shorten(Buffer, GetFittingCharacters(Font, Buffer, Width));
}

void VipBody::draw(int Surface, int x, int y) {
    // A changed number of entries lays the list out again.
    const int Count = VisibleCount();
    if (Count != ShownCount) {
        ShownCount = Count;
        clampScroll();
    }
    const auto& P = SkinProperties().SidePanels;
    const SkinPoint& Logo = SkinProperties().BuddylistWindow.Logo;
    ASSERT(Logo.x>=0 && Logo.y>=0);
    DrawSkinTiled(Surface, x, y, _Width, _Height, SKIN_BACKGROUND, 0,
                  Scroll % std::max(Skins[SKIN_BACKGROUND].height, 1));
    const ClipRect Clip{x, y, _Width, _Height};
    const int NameX = Logo.x + Skins[VIP_ICON_BASE].width + 3, Width = nameWidth();
    const int TextTop = (LineHeight - GetFontHeight(P.LineFont)) / 2;
    char Name[CREATURE_NAME_LENGTH];
    for (int n = Scroll / LineHeight; n < Count; ++n) {
        const int Top = n * LineHeight - Scroll;
        if (Top >= _Height) break;
        const Buddy& B = GetBuddyEntry(n);
        // The icon comes from Vorna.cfg, which may have been edited.
        if (In(B.Icon, 1, BUDDY_ICONS - 1))
            DrawSkinTiledClipped(Surface, x + Logo.x, y + Top + Logo.y, Skins[VIP_ICON_BASE + B.Icon].width,
                                 Skins[VIP_ICON_BASE + B.Icon].height, VIP_ICON_BASE + B.Icon, 0, 0, Clip.X, Clip.Y,
                                 Clip.Width, Clip.Height);
        int Red, Green, Blue;
        getNameColour(n, Red, Green, Blue);
        getShownName(n, Width, Name, int(sizeof Name));
        DrawTextClipped(Surface, x + NameX, y + Top + TextTop, P.LineFont, Red, Green, Blue, Name, LEFT_ALIGN, Clip);
    }
}

bool VipBody::rightButtonUp(int x, int y, int) {
    // The entry under the pointer, or none below the last line.
    const int n = (y + Scroll) / LineHeight;
    PostVipMenu(x >= 0 && y >= 0 && n < VisibleCount() ? GetBuddyEntry(n).CharacterID : 0);
    return true;
}

void VipBody::mouseRest(int x, int y) {
    const int n = (y + Scroll) / LineHeight;
    if (x < 0 || y < 0 || n >= VisibleCount()) return;
    if (GetTextWidth(SkinProperties().SidePanels.LineFont, GetBuddyEntry(n).Name) > nameWidth())
        SetTooltipText(GetBuddyEntry(n).Name);
}

SideWindow* NewVipWindow() {
    return NewListWindow(VIP_WINDOW, new VipBody(), SkinProperties().SideWindow.DefaultBodyHeight, "VIP");
}
