// The framework's free services: skin drawing, the hotkey table, command
// timers, the help-query and tooltip state, the pointer shape, and the frame
// with its root, modal window and composition.
#include "gui/framework/GUI.h"

#include "core/Container.h"
#include "graphics/PictureNumbers.h"
#include "graphics/graphics.h"
#include "gui/framework/SkinProperties.h"
#include "gui/framework/Skins.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstdio>

namespace {

// ---- State kept for the whole run (reset by InitGUI / ExitGUI) ----

struct HotkeyEntry {
    int Key = 0;
    Component* Target = NULL;
    int Command = 0;
};
constexpr int TABLE_BLOCK = 16;
Vector<HotkeyEntry> HotkeyTable(0, TABLE_BLOCK - 1, TABLE_BLOCK);
int NumberOfHotkeys = 0;

Vector<ComponentTimer*> Timers(0, TABLE_BLOCK - 1, TABLE_BLOCK, NULL);
int TimerSlots = 0;  // slots in use at some time: 0..TimerSlots-1
bool TimerClockStarted = false;
uint32_t LastTimerTick = 0;

int HelpX = 0, HelpY = 0, HelpWidth = 0, HelpHeight = 0, HelpNumber = 0;
bool HelpChanged = false;

std::string TooltipText;
int TooltipX = 0, TooltipY = 0;

int PointerShape = POINTER_NORMAL;

Component* Root = NULL;
Component* ModalWindow = NULL;

}  // namespace

// ==== Skin drawing ===========================================================================

namespace {
// Calls Visit for every copy of a tiled skin, in drawing order; nothing is
// stored, so a frame that tiles skins allocates nothing.
template <typename Visitor>
void VisitSkinTiles(int x, int y, int width, int height, int skin, int offsetx, int offsety, Visitor Visit) {
    // A rectangle laid out for a window too small for it may have come out
    // empty or turned inside out: there is nothing to draw then. Tiles may
    // lie partly or wholly off the surface, which cuts them.
    if (skin == 0 || width <= 0 || height <= 0) return;
    ASSERT(In(skin,1,NumberOfSkins-1));
    if (!In(skin, 1, NumberOfSkins - 1)) return;
    ASSERT(Skins[skin].width>0 && Skins[skin].height>0);
    const SkinRect& S = Skins[skin];
    if (S.width <= 0 || S.height <= 0 || width <= 0 || height <= 0) return;
    if (width == S.width && height == S.height) {
        Visit(SkinTile{x, y, S.x, S.y, S.width, S.height});
        return;
    }
    // An offset of a whole skin or more starts the same as its remainder.
    offsetx = offsetx > 0 ? offsetx % S.width : 0;
    offsety = offsety > 0 ? offsety % S.height : 0;
    int rowY = y, remainingHeight = height;
    bool firstRow = true;
    while (remainingHeight > 0) {
        int sourceY = S.y + (firstRow ? offsety : 0);
        int rowHeight = std::min((firstRow ? S.height - offsety : S.height), remainingHeight);
        int columnX = x, remainingWidth = width;
        bool firstColumn = true;
        while (remainingWidth > 0) {
            int sourceX = S.x + (firstColumn ? offsetx : 0);
            int columnWidth = std::min((firstColumn ? S.width - offsetx : S.width), remainingWidth);
            Visit(SkinTile{columnX, rowY, sourceX, sourceY, columnWidth, rowHeight});
            columnX += columnWidth;
            remainingWidth -= columnWidth;
            firstColumn = false;
        }
        rowY += rowHeight;
        remainingHeight -= rowHeight;
        firstRow = false;
    }
}
}  // namespace

std::vector<SkinTile> GetSkinTiles(int x, int y, int width, int height, int skin, int offsetx, int offsety) {
    std::vector<SkinTile> tiles;
    VisitSkinTiles(x, y, width, height, skin, offsetx, offsety, [&](const SkinTile& t) { tiles.push_back(t); });
    return tiles;
}

void DrawSkinTiled(int Surface, int x, int y, int width, int height, int skin, int offsetx, int offsety) {
    VisitSkinTiles(x, y, width, height, skin, offsetx, offsety, [&](const SkinTile& t) {
        DrawPicturePart(Surface, t.x, t.y, PICTURE_SKIN, t.SourceX, t.SourceY, t.width, t.height);
    });
}

void DrawSkinTiledClipped(int Surface, int x, int y, int width, int height, int skin, int offsetx, int offsety,
                          int ClipX, int ClipY, int ClipWidth, int ClipHeight) {
    if (ClipWidth <= 0 || ClipHeight <= 0) return;
    // Only what falls into the visible area is copied.
    const ClipRect Clip{ClipX, ClipY, ClipWidth, ClipHeight};
    VisitSkinTiles(x, y, width, height, skin, offsetx, offsety, [&](const SkinTile& t) {
        DrawPicturePartClipped(Surface, t.x, t.y, PICTURE_SKIN, t.SourceX, t.SourceY, t.width, t.height, Clip);
    });
}

// ==== Hotkeys ==================================================================================

void RegisterHotkey(int Key, Component* Target, int Command) {
    for (int i = 0; i < NumberOfHotkeys; ++i) {
        if (HotkeyTable(i).Key == Key) {
            HotkeyTable(i).Target = Target;
            HotkeyTable(i).Command = Command;
            return;
        }
    }
    HotkeyTable(NumberOfHotkeys) = HotkeyEntry{Key, Target, Command};
    ++NumberOfHotkeys;
}

void RemoveHotkey(int Key) {
    for (int i = 0; i < NumberOfHotkeys; ++i) {
        if (HotkeyTable(i).Key == Key) {
            HotkeyTable(i) = HotkeyTable(NumberOfHotkeys - 1);
            HotkeyTable(NumberOfHotkeys - 1) = HotkeyEntry{};
            --NumberOfHotkeys;
            return;
        }
    }
}

bool DispatchHotkey(int Key) {
    Key &= ~keys::SHIFT;
    if (In(Key & 0x1FF, 97, 122)) Key -= 32;
    for (int i = 0; i < NumberOfHotkeys; ++i) {
        if (HotkeyTable(i).Key == Key) {
            if (HotkeyTable(i).Target != NULL) HotkeyTable(i).Target->command(HotkeyTable(i).Command);
            return true;
        }
    }
    return false;
}

int GetNumberOfHotkeys() { return NumberOfHotkeys; }

// ==== Command timers ============================================================================

ComponentTimer::ComponentTimer(int Tenths, Component* Target, int Command)
    : Remaining(std::max(Tenths, 0) * 100), Target(Target), Command(Command) {
    if (Tenths == 0) return;
    int slot = 0;
    while (slot < TimerSlots && Timers(slot) != NULL) ++slot;
    Timers(slot) = this;
    if (slot == TimerSlots) ++TimerSlots;
    Slot = slot;
    Active = true;
}

ComponentTimer::~ComponentTimer() { unregister(); }

void ComponentTimer::unregister() {
    if (Slot >= 0 && Slot < TimerSlots && Timers(Slot) == this) Timers(Slot) = NULL;
    Slot = -1;
    Active = false;
}

void ComponentTimer::tick() {
    uint32_t now = platform::Milliseconds();
    if (!TimerClockStarted) {
        TimerClockStarted = true;
        LastTimerTick = now;
        return;
    }
    int elapsed = int(now - LastTimerTick);
    LastTimerTick = now;
    for (int i = 0; i < TimerSlots; ++i) {
        ComponentTimer* T = Timers(i);
        if (T == NULL || !T->Active || T->Remaining <= 0) continue;
        T->Remaining = std::max(T->Remaining - elapsed, 0);
        // The command may destroy the timer or its owner: look again after.
        if (T->Target != NULL) T->Target->command(T->Command);
        if (Timers(i) == T && T->Remaining == 0) T->unregister();
    }
}

int GetNumberOfActiveTimers() {
    int n = 0;
    for (int i = 0; i < TimerSlots; ++i)
        if (Timers(i) != NULL) ++n;
    return n;
}

// ==== Help query, tooltip, pointer shape =======================================================

void SetHelpOrigin(int x, int y) {
    HelpX = x;
    HelpY = y;
}
void AddHelpOrigin(int dx, int dy) {
    HelpX += dx;
    HelpY += dy;
}
void SetHelpSize(int width, int height) {
    HelpWidth = width;
    HelpHeight = height;
}
void SetHelpNumber(int Number) {
    if (Number != HelpNumber) HelpChanged = true;
    HelpNumber = Number;
}
void GetHelpQuery(int& x, int& y, int& width, int& height) {
    x = HelpX;
    y = HelpY;
    width = HelpWidth;
    height = HelpHeight;
}
int GetHelpNumber() { return HelpNumber; }
bool TakeHelpChanged() {
    bool changed = HelpChanged;
    HelpChanged = false;
    return changed;
}

// The text is copied: the component that set it may be gone before the box
// is drawn.
void SetTooltipText(const char* Text) { TooltipText = Text != NULL ? Text : ""; }
const char* GetTooltipText() { return TooltipText.empty() ? NULL : TooltipText.c_str(); }
void SetTooltipPoint(int x, int y) {
    TooltipX = x;
    TooltipY = y;
}
void GetTooltipPoint(int& x, int& y) {
    x = TooltipX;
    y = TooltipY;
}

void SetPointerShape(int Shape) { PointerShape = Shape; }
int GetPointerShape() { return PointerShape; }

// ==== The frame =================================================================================

void InitGUI() {
    ExitGUI();
    InitSkinProperties();
}

void ExitGUI() {
    Component* modal = ModalWindow;
    ModalWindow = NULL;
    delete modal;
    Root = NULL;
    for (int i = 0; i < TimerSlots; ++i) {
        ComponentTimer* T = Timers(i);
        if (T != NULL) T->unregister();
    }
    TimerSlots = 0;
    TimerClockStarted = false;
    for (int i = 0; i < NumberOfHotkeys; ++i) HotkeyTable(i) = HotkeyEntry{};
    NumberOfHotkeys = 0;
    HelpX = HelpY = HelpWidth = HelpHeight = HelpNumber = 0;
    HelpChanged = false;
    TooltipText.clear();
    TooltipX = TooltipY = 0;
    PointerShape = POINTER_NORMAL;
}

void SetRootComponent(Component* NewRoot) { Root = NewRoot; }
Component* GetRootComponent() { return Root; }

void SetModalWindow(Component* Window) {
    if (Window == ModalWindow) return;
    DestroyModalWindow();
    ModalWindow = Window;
}
Component* GetModalWindow() { return ModalWindow; }

void DestroyModalWindow() {
    Component* modal = ModalWindow;
    ModalWindow = NULL;
    delete modal;
}

void ForgetComponent(Component* Gone) {
    for (int i = 0; i < NumberOfHotkeys;) {
        if (HotkeyTable(i).Target == Gone)
            RemoveHotkey(HotkeyTable(i).Key);
        else
            ++i;
    }
    for (int i = 0; i < TimerSlots; ++i)
        if (Timers(i) != NULL && Timers(i)->Target == Gone) Timers(i)->Target = NULL;
    if (Root == Gone) Root = NULL;
    if (ModalWindow == Gone) ModalWindow = NULL;
}

namespace {

void DrawTooltip(int Surface, int ScreenWidth, int ScreenHeight) {
    const char* text = GetTooltipText();
    if (text == NULL) return;
    const auto& P = SkinProperties().Tooltip;
    int width = GetTextWidth(P.Font, text) + 2 * P.Margin;
    int height = GetFontHeight(P.Font) + 2 * P.Margin;
    // Above the pointer, then pushed inside the screen with room to spare.
    const int edge = P.ScreenMargin;
    int x = TooltipX, y = TooltipY - height;
    x = std::max(std::min(x, ScreenWidth - edge - width), edge);
    y = std::max(std::min(y, ScreenHeight - edge - height), edge);
    FillRect(Surface, x, y, width, height, P.Background.Red, P.Background.Green, P.Background.Blue);
    DrawFrame(Surface, x, y, width, height, P.OutlineWidth, P.Outline.Red, P.Outline.Green, P.Outline.Blue);
    DrawText(Surface, x + P.Margin, y + P.Margin, P.Font, P.Text.Red, P.Text.Green, P.Text.Blue, text, LEFT_ALIGN);
}

}  // namespace

void DrawDiagnostics(int Surface) {
    const FrameStatistics& stats = GetFrameStatistics();
    int x, y, w, h;
    GetSurfaceRect(PRIMARY_SURFACE, &x, &y, &w, &h);
    char lines[5][64];
    std::snprintf(lines[0], sizeof lines[0], "%.02f fps (%dx%dx%d)", stats.FramesPerSecond, w, h, stats.BitsPerPixel);
    std::snprintf(lines[1], sizeof lines[1], "Blits: %d", stats.PreviousBlits);
    std::snprintf(lines[2], sizeof lines[2], "Pixels: %d", stats.PreviousPixels);
    std::snprintf(lines[3], sizeof lines[3], "Direct3D failed at step: %d", GetLightFailureStep());
    std::snprintf(lines[4], sizeof lines[4], "Number of Sprite Surfaces: %d", GetNumberOfSpriteSurfaces());
    const auto& P = SkinProperties().Diagnostics;
    int font = P.Font != 0 ? P.Font : 1;
    int lineHeight = GetFontLineHeight(font);
    for (int i = 0; i < 5; ++i)
        DrawText(Surface, P.Origin.x, P.Origin.y + i * lineHeight, font, P.Text.Red, P.Text.Green, P.Text.Blue,
                 lines[i], LEFT_ALIGN);
}

void DrawFrameComposition(int Surface, int Width, int Height, bool Diagnostics) {
    if (Root != NULL) Root->draw(Surface, 0, 0);
    if (ModalWindow != NULL) {
        ModalWindow->keepInside(Width, Height);
        ModalWindow->draw(Surface, ModalWindow->getX(), ModalWindow->getY());
    }
    DrawTooltip(Surface, Width, Height);
    if (Diagnostics) DrawDiagnostics(Surface);
}
