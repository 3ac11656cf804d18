#include "gui/windows/MapWindow.h"

#include "config/Preferences.h"
#include "core/Redraw.h"
#include "core/Status.h"
#include "graphics/MapView.h"
#include "graphics/Talk.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/framework/Dialogs.h"
#include "gui/help/Help.h"
#include "gui/windows/ObjectSlot.h"
#include "gui/framework/SkinProperties.h"
#include "gui/framework/Skins.h"
#include "net/Commands.h"
#include "gui/help/EventHints.h"
#include "net/GameHooks.h"
#include "platform/Platform.h"
#include "world/Creatures.h"
#include "world/Inventory.h"
#include "world/Map.h"

#include <algorithm>

namespace {

constexpr int NAME_FONT = 2;
constexpr int BAR_WIDTH = 27, BAR_HEIGHT = 4;
constexpr int SHIELD_SKIN = 248;  // party shields 1..4
constexpr int SKULL_SKIN = 240;   // skulls 1..4
constexpr int BLINK_MILLISECONDS = 500;


// A map position in the form the commands take.
ObjectLocation AbsoluteLocation(int rx, int ry, int rz) {
    CubeToAbsolute(rx, ry, rz);
    return MapLocation(rx, ry, rz);
}

int FreeContainerNumber() {
    for (int i = 0; i < OPEN_CONTAINERS; ++i)
        if (!IsContainerOpen(i)) return i;
    return OPEN_CONTAINERS - 1;
}

void DrawSkin(int Surface, int Skin, int x, int y) {
    DrawSkinTiled(Surface, x, y, Skins[Skin].width, Skins[Skin].height, Skin, 0, 0);
}

}  // namespace

MapWindow::MapWindow() = default;


int MapWindow::getMinimumHeight() const { return SkinProperties().GameView.MapMinimumHeight; }

void MapWindow::draw(int Surface, int x, int y) {
    // The creatures in battle range are kept current with every frame: the
    // battle window lists them, and the people met near the player are
    // judged from them.
    RebuildBattleList();
    drawMargins(Surface, x, y);
    DrawMapView(Surface, x, y, _Width, _Height);
    if (GetPlayerID() == 0 || FindCreature(GetPlayerID()) == NULL) return;
    if (GetCreatureInfo() == 1 || GetCreatureInfo() == 2) drawCreatureInfo(Surface, x, y);
    drawTexts(Surface, x, y);
    // The hints wait for a quiet moment: one at a time, none over a dialog,
    // a drag or help mode, and none while other events are still queued.
    if (peekPendingHint() != 0 && GetModalWindow() == NULL && GetInputMode() == INPUT_IDLE &&
        PeekEventType() == MESSAGE_NONE)
        command(MAPWINDOW_SHOW_HINT);
}

// The window's background around a map picture that keeps its proportions:
// the bands above and below, then the two sides between them.
void MapWindow::drawMargins(int Surface, int x, int y) {
    const MapPicture P = GetMapPicture(_Width, _Height);
    const int Below = P.y + P.Height, Right = P.x + P.Width;
    const struct {
        int x, y, Width, Height;
    } Bands[4] = {{0, 0, _Width, P.y},
                  {0, Below, _Width, _Height - Below},
                  {0, P.y, P.x, P.Height},
                  {Right, P.y, _Width - Right, P.Height}};
    for (const auto& B : Bands)
        if (B.Width > 0 && B.Height > 0)
            DrawSkinTiled(Surface, x + B.x, y + B.y, B.Width, B.Height, SKIN_BACKGROUND, B.x, B.y);
}

// Names, bars and marks are kept inside the map picture, as the texts are.
void MapWindow::drawCreatureInfo(int Surface, int x, int y) {
    const MapPicture P = GetMapPicture(_Width, _Height);
    const int Width = P.Width, Height = P.Height;
    x += P.x;
    y += P.y;
    const ClipRect Clip{x, y, Width, Height};
    const uint32_t PlayerID = GetPlayerID();
    const Creature* Player = PlayerID != 0 ? FindCreature(PlayerID) : NULL;
    const uint32_t Now = platform::Milliseconds();
    const bool Blink = (Now / BLINK_MILLISECONDS) % 2 == 0;
    RequestRedrawAt(Now - Now % BLINK_MILLISECONDS + BLINK_MILLISECONDS);
    for (int n = 0; n < GetNumberOfShownCreatures(); ++n) {
        uint32_t ID;
        int ax, ay;
        if (!GetShownCreature(n, ID, ax, ay)) break;
        const Creature* C = FindCreature(ID);
        if (C == NULL) continue;
        int Red = 192, Green = 192, Blue = 192;
        if (!IsCreatureCoveredFromAbove(ID)) {
            GetHealthColour(C, Red, Green, Blue);
            int rx = C->RealX, ry = C->RealY, rz = C->RealZ;
            AbsoluteToCube(rx, ry, rz);
            int u, g, b;
            GetFieldLight(rx, ry, u, g, b);
            if (ID == PlayerID) u = std::max(u, 51 * std::clamp(C->LightIntensity, 2, 5));
            u = std::min(u, 255) / 5;
            Red = Red * u / 51, Green = Green * u / 51, Blue = Blue * u / 51;
        }
        int wx, wy;
        MapPictureToWindow(ax, ay, _Width, _Height, wx, wy);
        wx -= P.x;
        wy -= P.y;
        const int BarX = std::clamp(wx - 14, 0, std::max(Width - BAR_WIDTH, 0));
        const int BarY = std::clamp(wy - BAR_HEIGHT, 0, std::max(Height - BAR_HEIGHT, 0));
        FillRectClipped(Surface, x + BarX, y + BarY, BAR_WIDTH, BAR_HEIGHT, 0, 0, 0, Clip);
        FillRectClipped(Surface, x + BarX + 1, y + BarY + 1, std::clamp(C->Health / 4, 0, 25), 2, Red, Green, Blue,
                        Clip);
        if (GetCreatureInfo() == 2) {
            const int TextWidth = GetTextWidth(NAME_FONT, C->Name);
            const int TextHeight = GetFontHeight(NAME_FONT);
            const int NameX = std::clamp(wx, TextWidth / 2, std::max(Width - TextWidth / 2, TextWidth / 2));
            const int NameY = std::max(BarY - TextHeight - 1, 0);
            DrawTextClipped(Surface, x + NameX, y + NameY, NAME_FONT, Red, Green, Blue, C->Name, CENTER_ALIGN, Clip);
        }
        // Party shield and skull beside the name.
        const int OwnShield = Player != NULL ? Player->PartyShield : 0;
        int Shield = C->PartyShield;
        if (Shield == 1 && (OwnShield == 1 || OwnShield == 3 || OwnShield == 4)) Shield = 0;
        int Skull = C->Skull;
        if (Skull != 0 && C->SkullClearTime != 0 && !Blink) Skull = 0;
        int MarkX = 0, MarkY = 0;
        bool First = true;
        for (int Kind = 0; Kind < 2; ++Kind) {
            const int Value = Kind == 0 ? Shield : Skull;
            if (!In(Value, 1, 4)) continue;
            const int Skin = (Kind == 0 ? SHIELD_SKIN : SKULL_SKIN) + Value - 1;
            if (First) {
                MarkX = std::clamp(wx + 20 - Skins[Skin].width, 0, std::max(Width - Skins[Skin].width, 0));
                MarkY = std::clamp(wy + 1, 0, std::max(Height - Skins[Skin].height, 0));
                First = false;
            } else {
                MarkX += 13;
            }
            DrawSkin(Surface, Skin, x + MarkX, y + MarkY);
        }
    }
}

// The texts are laid out over the map picture, not the margins.
void MapWindow::drawTexts(int Surface, int x, int y) {
    const bool NoStretching = GetNoStretching() == 1;
    const MapPicture P = GetMapPicture(_Width, _Height);
    x += P.x;
    y += P.y;
    if (GetTextualEffects()) {
        for (int n = 0; n < GetNumberOfAnimatedTexts(); ++n) {
            int tx, ty, Colour;
            const char* Text;
            if (GetAnimatedText(n, tx, ty, Colour, Text))
                DrawAnimatedText(Surface, x, y, P.Width, P.Height, tx, ty, Colour, Text, NoStretching);
        }
    }
    // The boxes are laid out again when they changed, when the player moved
    // to another field or the window took another size.
    int mx, my, mz;
    GetMapPosition(mx, my, mz);
    const bool Changed = TalkboxesChanged();
    if (Changed || mx != LaidOutX || my != LaidOutY || mz != LaidOutZ || P.Width != LaidOutWidth ||
        P.Height != LaidOutHeight || NoStretching != LaidOutNoStretching) {
        LayoutTalk(P.Width, P.Height, NoStretching);
        LaidOutX = mx, LaidOutY = my, LaidOutZ = mz;
        LaidOutWidth = P.Width, LaidOutHeight = P.Height;
        LaidOutNoStretching = NoStretching;
    }
    int WalkX, WalkY;
    GetWalkingOffset(WalkX, WalkY);
    DrawTalk(Surface, x, y, P.Width, P.Height, WalkX, WalkY, NoStretching);
}

bool MapWindow::mouseMove(int x, int y) {
    SetMapViewPointerCreature(GetCreatureUnderPointer(x, y, _Width, _Height));
    return true;
}

void MapWindow::command(int number) {
    switch (number) {
    case MAPWINDOW_CREATURE_INFO: SetCreatureInfo((GetCreatureInfo() + 1) % 3); break;
    case MAPWINDOW_DISMISS_TEXT: DismissOldestTalkbox(); break;
    case MAPWINDOW_SHOW_HINT: {
        const int Hint = popPendingHint();
        ASSERT(In(Hint,1,EVENTHELPS));
        if (In(Hint, 1, EVENTHELPS)) ShowEventHint(Hint);
        break;
    }
    default: break;
    }
}

bool MapWindow::queryHelp(int x, int y) {
    int Number = 0;
    const uint32_t Pointed = GetCreatureUnderPointer(x, y, _Width, _Height);
    int rx, ry, rz;
    const bool OnField = GetFieldUnderPointer(x, y, _Width, _Height, rx, ry, rz);
    if (Pointed != 0) {
        Number = Pointed == GetPlayerID() ? HELP_YOUR_CHARACTER : HELP_CREATURES;
    } else if (OnField) {
        // The uppermost thing of the field that has something to explain: a
        // coin lying on a ladder leaves the ladder explained. A help value
        // comes from the data file: one this client has no text for counts
        // as none rather than as a fault of the program.
        for (int Position = GetObjectCount(rx, ry, rz) - 1; Position >= 0 && Number == 0; --Position) {
            const ObjectInstance Obj = GetFieldObject(rx, ry, rz, Position);
            if (Obj.Type < FIRST_ITEM_TYPE) continue;
            if (GetObjectFlag(Obj.Type, LENSHELP) && HasHelpText(GetObjectLensHelp(Obj.Type)))
                Number = GetObjectLensHelp(Obj.Type);
            else if (GetObjectFlag(Obj.Type, CONTAINER))
                Number = HELP_CONTAINERS;
        }
    }
    SetHelpNumber(Number);
    if (Number == 0 || !OnField) return Number != 0;
    // The field's square in the window.
    int WalkX, WalkY;
    GetWalkingOffset(WalkX, WalkY);
    const int Left = (rx - 1) * 32 - WalkX, Top = (ry - 1) * 32 - WalkY;
    int x0, y0, x1, y1;
    MapPictureToWindow(Left, Top, _Width, _Height, x0, y0);
    MapPictureToWindow(Left + 32, Top + 32, _Width, _Height, x1, y1);
    SetHelpOrigin(x0, y0);
    SetHelpSize(x1 - x0, y1 - y0);
    return true;
}

// ---- Clicks and drops ----------------------------------------------------------------------------

bool MapWindow::visibleField(int x, int y, int& rx, int& ry, int& rz) {
    if (!GetFieldUnderPointer(x, y, _Width, _Height, rx, ry, rz)) return false;
    if (In(rx, 7, 9) && In(ry, 5, 7)) return true;
    int Red, Green, Blue;
    GetFieldLight(rx, ry, Red, Green, Blue);
    if (Red == 0 && Green == 0 && Blue == 0) {
        ShowStatusMessage("You can't see anything.");
        return false;
    }
    return true;
}

bool MapWindow::leftButtonDown(int x, int y, int keys) {
    (void)keys;
    // The drag may end on a slot of the inventory or of a container window.
    ClearDraggedObject();
    int rx, ry, rz;
    if (!GetFieldUnderPointer(x, y, _Width, _Height, rx, ry, rz)) return true;
    int Position = 0;
    const ObjectInstance Obj = GetDragSource(rx, ry, rz, Position);
    if (Obj.Type == 0) return true;
    SetDraggedObject(AbsoluteLocation(rx, ry, rz), Obj, Position);
    return true;
}

bool MapWindow::leftButtonUp(int x, int y, int keys) {
    switch (GetInputMode()) {
    case INPUT_DRAG: drop(x, y, keys); break;
    case INPUT_TARGET_1: useWith(x, y); break;
    case INPUT_TARGET_2: trade(x, y); break;
    default:
        if (keys & (keys::SHIFT | keys::CTRL | keys::ALT))
            clickWithKeys(x, y, keys);
        else
            walkTo(x, y);
        break;
    }
    ClearDraggedObject();
    return true;
}

bool MapWindow::rightButtonUp(int x, int y, int keys) {
    clickWithKeys(x, y, keys);
    return true;
}

// Shift looks; Alt attacks the creature there; otherwise Ctrl swaps use and
// the object menu, depending on the classic control preference.
void MapWindow::clickWithKeys(int x, int y, int keys) {
    if ((keys & keys::ALT) && !(keys & keys::SHIFT)) {
        const uint32_t Target = GetCreatureUnderPointer(x, y, _Width, _Height);
        if (Target != 0 && Target != GetPlayerID()) {
            const uint32_t NewTarget = GetAttackTarget() == Target ? 0 : Target;
            SetAttackTarget(NewTarget);
            SendAttack(NewTarget);
            return;
        }
    }
    switch (ClassifyObjectClick(keys)) {
    case ObjectClick::Look: look(x, y); break;
    case ObjectClick::Use: use(x, y); break;
    case ObjectClick::Menu: objectMenu(x, y); break;
    }
}

void MapWindow::objectMenu(int x, int y) {
    int rx, ry, rz;
    if (!visibleField(x, y, rx, ry, rz)) return;
    ObjectMenuRecord R;
    int Position = 0;
    const ObjectInstance Looked = GetTopCreatureOrObject(rx, ry, rz, Position);
    if (Looked.Type == 0) return;
    R.Looked = AbsoluteLocation(rx, ry, rz);
    R.LookedType = Looked.Type;
    R.LookedStack = Position;
    R.LookedData = Looked.Data;
    // Under a creature the ground is no object to use: the menu is about
    // the creature then, unless something stands or lies beside it.
    const ObjectInstance Used = GetUseTarget(rx, ry, rz, Position);
    const bool BareGround = Looked.Type == CREATURE && Used.Type >= FIRST_ITEM_TYPE && GetObjectFlag(Used.Type, BANK);
    if (Used.Type != 0 && Used.Type != CREATURE && !BareGround) {
        R.Used = R.Looked;
        R.UsedType = Used.Type;
        R.UsedStack = Position;
    }
    R.CreatureID = GetCreatureUnderPointer(x, y, _Width, _Height);
    if (R.CreatureID == 0 && Looked.Type == CREATURE) R.CreatureID = Looked.Data;
    PostObjectMenu(R);
}

void MapWindow::walkTo(int x, int y) {
    int rx, ry, rz;
    if (!GetFieldUnderPointer(x, y, _Width, _Height, rx, ry, rz)) return;
    int ax = rx, ay = ry, az = GetPlayerLevel();
    CubeToAbsolute(ax, ay, az);
    // The floor the player walks on: the pointer's field on his own floor.
    SendAutoWalk(GoTo(ax, ay, az, false, false));
}

void MapWindow::look(int x, int y) {
    int rx, ry, rz;
    if (!visibleField(x, y, rx, ry, rz)) return;
    int Position = 0;
    const ObjectInstance Obj = GetTopCreatureOrObject(rx, ry, rz, Position);
    if (Obj.Type == 0) return;
    SendLook(AbsoluteLocation(rx, ry, rz), Obj.Type, Position);
}

void MapWindow::use(int x, int y) {
    int rx, ry, rz;
    if (!visibleField(x, y, rx, ry, rz)) return;
    int Position = 0;
    const ObjectInstance Obj = GetUseTarget(rx, ry, rz, Position);
    const uint32_t Target = GetCreatureUnderPointer(x, y, _Width, _Height);
    const bool UseTarget = Obj.Type >= FIRST_ITEM_TYPE && GetObjectFlag(Obj.Type, USETARGET);
    if (Target != 0 && Target != GetPlayerID() && !UseTarget) {
        const uint32_t NewTarget = GetAttackTarget() == Target ? 0 : Target;
        SetAttackTarget(NewTarget);
        SendAttack(NewTarget);
        return;
    }
    if (Obj.Type == 0 || Obj.Type == CREATURE) return;
    const ObjectLocation Where = AbsoluteLocation(rx, ry, rz);
    if (GetObjectFlag(Obj.Type, MULTIUSE)) {
        setUseWithSource(PendingObject{Where.x, Where.y, Where.z, Obj.Type, Position});
        PostEvent(MESSAGE_TARGET_1, 0, 0);
        return;
    }
    SendUseObject(Where, Obj.Type, Position, FreeContainerNumber());
}

void MapWindow::useWith(int x, int y) {
    const PendingObject& UseWithSource = GetUseWithSource();
    ASSERT(UseWithSource.Type!=0 && UseWithSource.Type!=CREATURE);
    if (UseWithSource.Type == 0 || UseWithSource.Type == CREATURE) return;
    int rx, ry, rz;
    if (!visibleField(x, y, rx, ry, rz)) return;
    int Position = 0;
    const ObjectInstance Target = GetTopCreatureOrObject(rx, ry, rz, Position);
    const ObjectLocation From{UseWithSource.x, UseWithSource.y, UseWithSource.z};
    if (Target.Type == CREATURE) {
        const Creature* C = FindCreature(Target.Data);
        if (C != NULL && C->Visible) {
            SendUseOnCreature(From, UseWithSource.Type, UseWithSource.Stack, C->ID);
            return;
        }
    }
    SendUseObjectWith(From, UseWithSource.Type, UseWithSource.Stack, AbsoluteLocation(rx, ry, rz), Target.Type,
                      Position);
}

void MapWindow::trade(int x, int y) {
    const PendingObject& TradeObject = GetTradeObject();
    ASSERT(TradeObject.Type!=0);
    if (TradeObject.Type == 0) return;
    const uint32_t Partner = GetCreatureUnderPointer(x, y, _Width, _Height);
    const Creature* C = Partner != 0 ? FindCreature(Partner) : NULL;
    if (C == NULL || Partner == GetPlayerID() || !C->Visible || Partner >= FIRST_NONPLAYER_ID) {
        ShowStatusMessage("Select a player to trade with.");
        return;
    }
    SendTradeRequest(ObjectLocation{TradeObject.x, TradeObject.y, TradeObject.z}, TradeObject.Type, TradeObject.Stack,
                     Partner);
}

void MapWindow::drop(int x, int y, int keys) {
    int rx, ry, rz;
    if (!GetFieldUnderPointer(x, y, _Width, _Height, rx, ry, rz)) return;
    DropDraggedObject(AbsoluteLocation(rx, ry, rz), keys);
}
