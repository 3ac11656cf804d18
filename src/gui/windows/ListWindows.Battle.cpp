// The battle list: one line per creature around the player, in the order
// they came into view, each with its outfit, name and health. A click on a
// line acts on that creature by the input mode and the modifier keys.
#include "gui/windows/ListWindows.h"

#include "config/Preferences.h"
#include "core/Status.h"
#include "core/Utils.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/menus/CreatureMenu.h"
#include "gui/windows/MapWindow.h"
#include "gui/framework/Skins.h"
#include "net/Commands.h"
#include "net/GameHooks.h"
#include "world/Creatures.h"
#include "world/Map.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int OUTFIT_BOX = 16;
constexpr int HEALTH_BAR_HEIGHT = 3;
constexpr int BATTLE_LINE_HEIGHT = 22;

bool IsPlayer(uint32_t CreatureID) { return CreatureID < FIRST_NONPLAYER_ID; }

// The creature's place on its field, as look and use name it.
bool CreatureStackPosition(const Creature* C, int& Position) {
    int rx = C->RealX, ry = C->RealY, rz = C->RealZ;
    AbsoluteToCube(rx, ry, rz);
    if (!In(rx, 0, MAPSIZE_X - 1) || !In(ry, 0, MAPSIZE_Y - 1) || !In(rz, 0, MAPSIZE_Z - 1)) return false;
    for (int n = 0; n < GetObjectCount(rx, ry, rz); ++n) {
        const ObjectInstance Obj = GetFieldObject(rx, ry, rz, n);
        if (Obj.Type == CREATURE && Obj.Data == C->ID) {
            Position = n;
            return true;
        }
    }
    return false;
}

}  // namespace

BattleBody::BattleBody() : LineListBody(BATTLE_LINE_HEIGHT) {}

int BattleBody::contentHeight() const {
    Count = RebuildBattleList();
    return Count * LineHeight;
}

int BattleBody::nameWidth() const {
    return std::max(_Width - (SkinProperties().SidePanels.Margin * 2 + OUTFIT_BOX + 4), 0);
}

uint32_t BattleBody::creatureAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= _Width || y >= _Height) return 0;
    const int Line = (y + Scroll) / LineHeight;
    if (Line < 0 || Line >= RebuildBattleList()) return 0;
    const Creature* C = GetBattleListCreature(Line);
    return C != NULL ? C->ID : 0;
}

void BattleBody::draw(int Surface, int x, int y) {
    clampScroll();
    const auto& P = SkinProperties().SidePanels;
    const ClipRect Clip{x, y, _Width, _Height};
    const int NameX = P.Margin + OUTFIT_BOX + 4, NameWidth = nameWidth();
    const int FontHeight = GetFontHeight(P.LineFont);
    const uint32_t Attacked = GetAttackTarget(), Followed = GetFollowTarget();
    const int First = Scroll / LineHeight;
    char Name[CREATURE_NAME_LENGTH];
    for (int Line = First; Line < Count; ++Line) {
        const int Top = Line * LineHeight - Scroll;
        if (Top >= _Height) break;
        const Creature* C = GetBattleListCreature(Line);
        if (C == NULL) break;
        const int ly = y + Top;
        // The attacked and the followed creature are framed in their colours.
        if (C->ID == Attacked || C->ID == Followed) {
            const SkinColour& M = C->ID == Attacked ? P.Target : P.Followed;
            const int bx = x + P.Margin - 1, by = ly + (LineHeight - OUTFIT_BOX) / 2 - 1;
            FillRectClipped(Surface, bx, by, OUTFIT_BOX + 2, 1, M.Red, M.Green, M.Blue, Clip);
            FillRectClipped(Surface, bx, by + OUTFIT_BOX + 1, OUTFIT_BOX + 2, 1, M.Red, M.Green, M.Blue, Clip);
            FillRectClipped(Surface, bx, by, 1, OUTFIT_BOX + 2, M.Red, M.Green, M.Blue, Clip);
            FillRectClipped(Surface, bx + OUTFIT_BOX + 1, by, 1, OUTFIT_BOX + 2, M.Red, M.Green, M.Blue, Clip);
        }
        DrawOutfitInBox(Surface, C->Outfit, C->Colours, C->LookType, x + P.Margin, ly + (LineHeight - OUTFIT_BOX) / 2,
                        OUTFIT_BOX, Clip);
        std::memcpy(Name, C->Name, sizeof Name);
        Name[sizeof Name - 1] = 0;
        if (GetTextWidth(P.LineFont, Name) > NameWidth) Shorten(Name, GetFittingCharacters(P.LineFont, Name, NameWidth));
        const int TextY = ly + (LineHeight - FontHeight - HEALTH_BAR_HEIGHT - 1) / 2;
        DrawTextClipped(Surface, x + NameX, TextY, P.LineFont, P.LineText.Red, P.LineText.Green, P.LineText.Blue, Name,
                        LEFT_ALIGN, Clip);
        int Red, Green, Blue;
        GetHealthColour(C, Red, Green, Blue);
        const int BarY = TextY + FontHeight + 1, BarWidth = std::min(NameWidth, 100);
        FillRectClipped(Surface, x + NameX, BarY, BarWidth, HEALTH_BAR_HEIGHT, 0, 0, 0, Clip);
        FillRectClipped(Surface, x + NameX + 1, BarY + 1, std::max((BarWidth - 2) * std::clamp(C->Health, 0, 100) / 100, 0),
                        HEALTH_BAR_HEIGHT - 2, Red, Green, Blue, Clip);
    }
}

bool BattleBody::leftButtonDown(int, int, int) { return true; }

bool BattleBody::leftButtonUp(int x, int y, int keys) {
    const uint32_t ID = creatureAt(x, y);
    if (ID == 0) return true;
    switch (GetInputMode()) {
    case INPUT_TARGET_1: {
        // A rune or another object waits to be used on this creature.
        const PendingObject& Source = MapWindow::getUseWithSource();
        {
            const PendingObject* SrcObj = Source.Type != 0 ? &Source : NULL;
            ASSERT(SrcObj!=0);
            if (SrcObj == NULL) return true;
        }
        const PendingObject& SrcObj = Source;
        ASSERT(SrcObj.Type!=CREATURE);
        if (SrcObj.Type == CREATURE) return true;
        if (IsPlayer(ID)) {
            ShowStatusMessage("You are not allowed to shoot directly on players.");
            return true;
        }
        SendUseOnCreature(ObjectLocation{SrcObj.x, SrcObj.y, SrcObj.z}, SrcObj.Type, SrcObj.Stack, ID);
        return true;
    }
    case INPUT_TARGET_2: {
        const PendingObject& Offer = MapWindow::getTradeObject();
        if (!IsPlayer(ID) || ID == GetPlayerID()) {
            ShowStatusMessage("Select a player to trade with.");
            return true;
        }
        if (Offer.Type != 0)
            SendTradeRequest(ObjectLocation{Offer.x, Offer.y, Offer.z}, Offer.Type, Offer.Stack, ID);
        return true;
    }
    default:
        // As a right click with the same keys; a plain click attacks.
        click(ID, (keys & (keys::SHIFT | keys::CTRL | keys::ALT)) != 0 ? keys : keys | keys::ALT);
        return true;
    }
}

bool BattleBody::rightButtonUp(int x, int y, int keys) {
    const uint32_t ID = creatureAt(x, y);
    if (ID != 0) click(ID, keys);
    return true;
}

// Alt attacks (or stops attacking the target), Shift looks, and a right
// click without them opens the creature menu.
void BattleBody::click(uint32_t CreatureID, int keys) {
    const Creature* C = FindCreature(CreatureID);
    if (C == NULL) return;
    if (keys & keys::ALT) {
        const uint32_t Target = GetAttackTarget() == CreatureID ? 0 : CreatureID;
        SetAttackTarget(Target);
        SendAttack(Target);
    } else if (keys & keys::SHIFT) {
        int Position = 0;
        if (CreatureStackPosition(C, Position)) SendLook(MapLocation(C->RealX, C->RealY, C->RealZ), CREATURE, Position);
    } else {
        PostCreatureMenu(CreatureID);
    }
}

void BattleBody::mouseRest(int x, int y) {
    // A cut name shows in full as the tooltip.
    const uint32_t ID = creatureAt(x, y);
    const Creature* C = ID != 0 ? FindCreature(ID) : NULL;
    if (C == NULL) return;
    if (GetTextWidth(SkinProperties().SidePanels.LineFont, C->Name) > nameWidth()) SetTooltipText(C->Name);
}

SideWindow* NewBattleWindow() {
    return NewListWindow(BATTLE_WINDOW, new BattleBody(), SkinProperties().SideWindow.DefaultBodyHeight, "Battle");
}
