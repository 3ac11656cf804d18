#include "gui/framework/ContextMenu.h"

#include "core/Assert.h"
#include "config/Preferences.h"
#include "core/Status.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/framework/SkinProperties.h"
#include "gui/framework/Skins.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Layout of the menu skin: the window border around the menu background.
constexpr int FRAME_ENTRIES = 9;
constexpr int BORDER = 2;            // thickness of skins 22 to 29
constexpr int MENU_MARGIN = 3;       // from the menu's edge to its entries
constexpr int ENTRY_MARGIN_X = 6;    // left of the text and right of the hint
constexpr int ENTRY_MARGIN_Y = 2;    // above and below the text
constexpr int SHORTCUT_GAP = 16;     // between the text and the hint
constexpr int SEPARATOR_WIDTH = 50;
constexpr int SEPARATOR_HEIGHT = 6;
constexpr int BACKGROUND_SKIN = 48;
constexpr int HIGHLIGHT_SKIN = 49;
constexpr int SEPARATOR_SKIN = 13;
constexpr SkinColour TEXT{224, 224, 224};
constexpr SkinColour HIGHLIGHTED_TEXT{255, 255, 255};
constexpr SkinColour SHORTCUT_TEXT{168, 160, 144};

int MenuFont() { return SkinProperties().Label.Font; }

}  // namespace

// ---- MenuEntry ---------------------------------------------------------------------------------

MenuEntry::MenuEntry(const char* Text, const char* Shortcut, CommandTarget Target) : Target(Target) {
    ASSERT(Text!=NULL && strlen(Text)<50);
    ASSERT(Shortcut==NULL || strlen(Shortcut)<20);
    if (Text != NULL) this->Text.assign(Text, std::min(strlen(Text), size_t(49)));
    if (Shortcut != NULL) this->Shortcut.assign(Shortcut, std::min(strlen(Shortcut), size_t(19)));
    Component::setSize(getNeededWidth(), GetFontLineHeight(MenuFont()) + 2 * ENTRY_MARGIN_Y);
}

int MenuEntry::getNeededWidth() const {
    const int Font = MenuFont();
    int Width = GetTextWidth(Font, Text.c_str()) + SHORTCUT_GAP + 2 * ENTRY_MARGIN_X;
    if (!Shortcut.empty()) Width += GetTextWidth(Font, Shortcut.c_str());
    return Width;
}

void MenuEntry::draw(int Surface, int x, int y) {
    if (Highlighted && _Width > 0 && _Height > 0) DrawSkinTiled(Surface, x, y, _Width, _Height, HIGHLIGHT_SKIN, 0, 0);
    const int Font = MenuFont();
    const SkinColour& C = Highlighted ? HIGHLIGHTED_TEXT : TEXT;
    const int TextY = y + ENTRY_MARGIN_Y;
    DrawText(Surface, x + ENTRY_MARGIN_X, TextY, Font, C.Red, C.Green, C.Blue, Text.c_str(), LEFT_ALIGN);
    if (!Shortcut.empty())
        DrawText(Surface, x + _Width - ENTRY_MARGIN_X, TextY, Font, SHORTCUT_TEXT.Red, SHORTCUT_TEXT.Green,
                 SHORTCUT_TEXT.Blue, Shortcut.c_str(), RIGHT_ALIGN);
}

// ---- MenuSeparator -----------------------------------------------------------------------------

MenuSeparator::MenuSeparator() { Component::setSize(SEPARATOR_WIDTH, SEPARATOR_HEIGHT); }

void MenuSeparator::draw(int Surface, int x, int y) {
    const int Width = _Width - 2 * ENTRY_MARGIN_X, Height = Skins[SEPARATOR_SKIN].height;
    if (Width > 0 && Height > 0)
        DrawSkinTiled(Surface, x + ENTRY_MARGIN_X, y + (_Height - Height) / 2, Width, Height, SEPARATOR_SKIN, 0, 0);
}

// ---- ContextMenu -------------------------------------------------------------------------------

ContextMenu::ContextMenu() : CompositeComponent(FRAME_ENTRIES) {}

void ContextMenu::addEntry(int Number, const char* Text, const char* Shortcut) {
    if (PendingSeparator && !Empty) addChild(new MenuSeparator());
    PendingSeparator = false;
    LastEntry = new MenuEntry(Text, Shortcut, CommandTarget(this, Number));
    addChild(LastEntry);
    WidestWidth = std::max(WidestWidth, LastEntry->getWidth());
    Empty = false;
}

void ContextMenu::addSeparator() { PendingSeparator = true; }

MenuEntry* ContextMenu::getEntry(int Number) const {
    int n = 0;
    for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling())
        if (auto* E = dynamic_cast<MenuEntry*>(c)) {
            if (n == Number) return E;
            ++n;
        }
    return NULL;
}

MenuEntry* ContextMenu::findEntry(int CommandNumber) const {
    for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling())
        if (auto* E = dynamic_cast<MenuEntry*>(c); E != NULL && E->getTarget().Target == this &&
                                                    E->getTarget().Number == CommandNumber)
            return E;
    return NULL;
}

const char* ContextMenu::hint(const char* Shortcut) { return GetClassicControl() ? NULL : Shortcut; }

std::string ContextMenu::withName(const char* Format, const std::string& Name) {
    char Text[80];
    std::snprintf(Text, sizeof Text, Format, Name.c_str());
    return Text;
}

int ContextMenu::getNumberOfEntries() const {
    int n = 0;
    for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling())
        if (dynamic_cast<MenuEntry*>(c) != NULL) ++n;
    return n;
}

void ContextMenu::finish(int PointerX, int PointerY, int ScreenWidth, int ScreenHeight) {
    // A menu with nothing in it still shows one line to click away.
    if (Empty) {
        LastEntry = new MenuEntry("", NULL, CommandTarget());
        addChild(LastEntry);
        WidestWidth = std::max(WidestWidth, LastEntry->getWidth());
    }
    ASSERT(LastEntry!=NULL);
    int y = MENU_MARGIN;
    for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling()) {
        c->setPosition(MENU_MARGIN, y);
        int Height = c->getHeight();
        // The highlight of the last entry reaches down to the frame.
        if (c == LastEntry) Height += ENTRY_MARGIN_Y;
        c->setSize(WidestWidth, Height);
        y += Height;
    }
    // The size is taken from the stacked entries before the first fit, which
    // needs a size to start from.
    Component::setSize(WidestWidth + 2 * MENU_MARGIN, y + MENU_MARGIN);
    fitToChildrenWithMargins(MENU_MARGIN, MENU_MARGIN, MENU_MARGIN, MENU_MARGIN, false);
    arrange();
    int x = PointerX, top = PointerY;
    if (x + _Width >= ScreenWidth) x -= _Width;
    if (top + _Height >= ScreenHeight) top -= _Height;
    setPosition(std::max(x, 0), std::max(top, 0));
    Finished = true;
}

void ContextMenu::arrange() {
    CompositeComponent::arrange();
    if (_Width < 2 * BORDER || _Height < 2 * BORDER) return;
    setBorderEntries(0, BACKGROUND_SKIN, 0, 0, _Width, _Height);
}

MenuEntry* ContextMenu::entryAt(int x, int y) const {
    for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling())
        if (c->contains(x, y)) return dynamic_cast<MenuEntry*>(c);
    return NULL;
}

bool ContextMenu::mouseMove(int x, int y) {
    MenuEntry* Under = entryAt(x, y);
    for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling())
        if (auto* E = dynamic_cast<MenuEntry*>(c)) E->setHighlighted(E == Under);
    return true;
}

bool ContextMenu::leftButtonDown(int, int, int) { return true; }

bool ContextMenu::leftDoubleClick(int, int, int) { return true; }

bool ContextMenu::mouseRepeat(int, int, int) { return true; }

bool ContextMenu::leftButtonUp(int x, int y, int) {
    // The entry acts first; its command may destroy nothing of the menu,
    // which lives until the dispatcher takes it down after the close.
    if (MenuEntry* E = entryAt(x, y)) E->getTarget().send();
    close();
    return true;
}

bool ContextMenu::rightButtonUp(int, int, int) {
    close();
    return true;
}

void ContextMenu::keyPress(int code) {
    if (code == keys::ESCAPE) close();
}

void ContextMenu::command(int) { ASSERT(false); }

void ContextMenu::close() {
    // An entry may have started picking a target; that mode ends the menu too.
    const int Mode = GetInputMode();
    if (Mode != INPUT_TARGET_1 && Mode != INPUT_TARGET_2) SetInputMode(INPUT_IDLE);
}
