#include "gui/help/Help.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/BuildSettings.h"
#include "core/Status.h"
#include "gui/help/HelpTexts.h"
#include "gui/framework/SkinProperties.h"
#include "gui/framework/Skins.h"
#include "graphics/graphics.h"
#include "net/Commands.h"
#include "gui/help/EventHints.h"

#include <algorithm>
#include <cstring>
#include <string>

// ==== 1. Texts ===================================================================================

bool HasHelpText(int Number) { return Number != 0 && FindHelpTextEntry(Number) != NULL; }

bool helpText(int Number, char* Buffer) {
    ASSERT(Buffer!=NULL);
    if (Buffer == NULL) return false;
    Buffer[0] = 0;
    const HelpTextEntry* Entry = FindHelpTextEntry(Number);
    if (Entry == NULL) {
        ASSERT_PARAM(false, Number);
        return false;
    }
    // Each "%d" takes the next skin of the entry; the rest is copied as it is.
    size_t Out = 0;
    int NextSkin = 0;
    for (const char* p = Entry->Text; *p != 0 && Out + 1 < size_t(HELP_TEXT_LENGTH); ++p) {
        if (p[0] == '%' && p[1] == 'd' && NextSkin < 10 && Entry->Skins[NextSkin] != 0) {
            const std::string Skin = std::to_string(Entry->Skins[NextSkin++]);
            if (Out + Skin.size() + 1 >= size_t(HELP_TEXT_LENGTH)) break;
            std::memcpy(Buffer + Out, Skin.data(), Skin.size());
            Out += Skin.size();
            ++p;
            continue;
        }
        Buffer[Out++] = *p;
    }
    Buffer[Out] = 0;
    return true;
}

namespace {
bool AboutAPerson(int Number) { return Number == 2 || Number == 4; }

// The person a hint about one person names: the one met, else the first the
// world's triggers give, else the demo world's.
const char* PersonOfHint(int Number) {
    const char* Met = GetHintMetName(Number);
    if (Met[0] != 0) return Met;
    const char* Configured = GetHintNpcName(Number);
    return Configured[0] != 0 ? Configured : GetEventHintEntry(Number).Title;
}
}  // namespace

const char* eventHintTitle(int Number) {
    ASSERT(In(Number,1,EVENTHELPS));
    return AboutAPerson(Number) ? PersonOfHint(Number) : GetEventHintEntry(Number).Title;
}

const char* eventHintText(int Number) {
    ASSERT(In(Number,1,EVENTHELPS));
    const char* Text = GetEventHintEntry(Number).Text;
    if (!AboutAPerson(Number)) return Text;
    // Every "%s" is the person's name; the text lives until the next call.
    static std::string Named;
    Named.clear();
    for (const char* p = Text; *p != 0; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            Named += PersonOfHint(Number);
            ++p;
        } else {
            Named += *p;
        }
    }
    return Named.c_str();
}

// ==== 2. Help popup and help mode ===============================================================

namespace {

// The frame: the window border around the dialogs' inside.
constexpr int FRAME_ENTRIES = 9;
constexpr int BORDER = 2, MARGIN = 6;
constexpr int INSIDE_SKIN = 47;

// Lives from a change of the help number to the next, or to the end of help mode.
HelpPopup* Popup = NULL;

bool Inside(int x, int y, int W, int H, int RootWidth, int RootHeight) {
    return x >= 0 && y >= 0 && x + W <= RootWidth && y + H <= RootHeight;
}

void RemovePopup() {
    HelpPopup* Old = Popup;
    Popup = NULL;
    if (Old == NULL) return;
    if (Component* Parent = Old->getParent())
        Parent->deleteChild(Old);
    else
        delete Old;
}

}  // namespace

HelpPopup::HelpPopup(const char* Text, int RootWidth, int RootHeight) : CompositeComponent(FRAME_ENTRIES) {
    ASSERT(Text!=NULL);
    HelpText = new MarkupText(Text != NULL ? Text : "");
    ASSERT(HelpText!=NULL);
    addChild(HelpText);
    // Laid out at the popup's width and shrunk to what the text takes; a
    // text too long for the popup's or the root's height is laid out wider.
    const int Frame = 2 * (BORDER + MARGIN), Room = 2 * HELP_POPUP_GAP;
    HelpText->fitText(HELP_POPUP_WIDTH, std::max(RootWidth - Frame - Room, HELP_POPUP_WIDTH),
                      std::min(HELP_POPUP_HEIGHT, RootHeight - Frame - Room));
    HelpText->setPosition(BORDER + MARGIN, BORDER + MARGIN);
    const int Width = HelpText->getWidth() + 2 * (BORDER + MARGIN);
    const int Height = HelpText->getHeight() + 2 * (BORDER + MARGIN);
    Component::setSize(Width, Height);
    const int In = std::max(Width - 2 * BORDER, 1), Tall = std::max(Height - 2 * BORDER, 1);
    setDrawingEntry(0, INSIDE_SKIN, BORDER, BORDER, In, Tall);
    setDrawingEntry(1, 28, BORDER, 0, In, BORDER);
    setDrawingEntry(2, 29, BORDER, Height - BORDER, In, BORDER);
    setDrawingEntry(3, 26, 0, BORDER, BORDER, Tall);
    setDrawingEntry(4, 27, Width - BORDER, BORDER, BORDER, Tall);
    setDrawingEntry(5, 22, 0, 0);
    setDrawingEntry(6, 23, Width - BORDER, 0);
    setDrawingEntry(7, 24, 0, Height - BORDER);
    setDrawingEntry(8, 25, Width - BORDER, Height - BORDER);
}

HelpPopup::~HelpPopup() {
    // Its parent may destroy it (the root going away): forget it then.
    if (Popup == this) Popup = NULL;
}

void HelpPopup::draw(int Surface, int x, int y) {
    // Help mode may have ended without a button release (a key, leaving the
    // game): the popup of a finished help mode is not shown.
    if (GetInputMode() != INPUT_HELP) return;
    CompositeComponent::draw(Surface, x, y);
}

void PlaceHelpPopup(int x, int y, int w, int h, int W, int H, int RootWidth, int RootHeight, int PointerX,
                    int& NewX, int& NewY) {
    const int g = HELP_POPUP_GAP;
    const int Left = x - W - g, Right = x + w + g;
    // The top moved so that the popup fits the root vertically.
    const int Fitted = std::max(0, std::min(y, RootHeight - H));
    const int Candidates[8][2] = {{Left, y},       {Right, y},      {Left, y + h - H}, {Right, y + h - H},
                                  {Left, Fitted},  {Right, Fitted}, {x, y + h + g},    {x, y - H - g}};
    for (const auto& C : Candidates) {
        if (Inside(C[0], C[1], W, H, RootWidth, RootHeight)) {
            NewX = C[0];
            NewY = C[1];
            return;
        }
    }
    // Nothing fits: the top corner on the other side from the pointer. A
    // popup larger than the root keeps its top left corner on the screen.
    NewX = PointerX < RootWidth / 2 ? RootWidth - W - g : g;
    NewY = g;
    NewX = std::max(NewX, 0);
    NewY = std::max(NewY, 0);
}

void ResetHelpPointer() {
    RemovePopup();
    SetHelpNumber(0);
    TakeHelpChanged();
}

void HelpPointerMove(int x, int y) {
    Component* Root = GetRootComponent();
    if (Root == NULL) return;
    SetHelpOrigin(0, 0);
    SetHelpSize(0, 0);
    Root->queryHelp(x, y);
    if (!TakeHelpChanged()) return;
    RemovePopup();
    const int Number = GetHelpNumber();
    if (Number == 0) return;
    char Text[HELP_TEXT_LENGTH];
    if (!helpText(Number, Text)) return;
    auto* Composite = dynamic_cast<CompositeComponent*>(Root);
    if (Composite == NULL) return;
    Popup = new HelpPopup(Text, Root->getWidth(), Root->getHeight());
    Composite->addChild(Popup);
    int hx, hy, hw, hh, px, py;
    GetHelpQuery(hx, hy, hw, hh);
    PlaceHelpPopup(hx, hy, hw, hh, Popup->getWidth(), Popup->getHeight(), Root->getWidth(), Root->getHeight(), x,
                   px, py);
    Popup->setPosition(px, py);
}

void CloseHelpPointer() { RemovePopup(); }

HelpPopup* GetHelpPopup() { return Popup; }

// ==== 3. Event hints =============================================================================

void ShowEventHint(int Number) {
    ASSERT(In(Number,1,EVENTHELPS));
    if (!In(Number, 1, EVENTHELPS)) return;
    PostTextEvent(MESSAGE_ERROR2, eventHintTitle(Number), eventHintText(Number));
}

// ==== 4. Help menu and hints dialog ==============================================================

namespace {

struct MenuButton {
    const char* Text;
    const char* Explanation;
    int Command;
};
constexpr MenuButton MENU_BUTTONS[HelpMenuBody::BUTTONS] = {
    {"Client Help", "Point at anything to have it explained", HELP_MENU_CLIENT_HELP},
    {"Hints", "Read the hints you have seen again", HELP_MENU_HINTS},
    {"Tutor Help", "Ask a tutor for help", HELP_MENU_TUTOR},
    {"Rule Violation", "Report a player who breaks the rules", HELP_MENU_RULE_VIOLATION},
    {"Report Bug", "Tell us about a fault of the game (Ctrl+R)", HELP_MENU_BUG_REPORT},
    {"Manual", "Open the manual in your web browser", HELP_MENU_MANUAL},
    {"FAQ", "Open the frequently asked questions", HELP_MENU_FAQ},
};
constexpr int MENU_BUTTON_WIDTH = 96, MENU_ROW_GAP = 6, MENU_LABEL_GAP = 10;
constexpr int MESSAGE_RULEVIOLATION = 21;

void Close() { SetInputMode(INPUT_IDLE); }

void OpenAddress(const char* Address) {
    if (auto Open = GetDialogServices().OpenDocument) Open(Address);
}

}  // namespace

HelpMenuBody::HelpMenuBody() {
    // All buttons as wide as the widest caption needs.
    int ButtonWidth = MENU_BUTTON_WIDTH;
    for (const MenuButton& M : MENU_BUTTONS)
        ButtonWidth = std::max(ButtonWidth, GetTextWidth(SkinProperties().Buttons.Font, M.Text) +
                                                SkinProperties().StartView.CaptionPadding);
    int y = 0, Width = 0;
    for (int i = 0; i < BUTTONS; ++i) {
        const MenuButton& M = MENU_BUTTONS[i];
        Buttons[i] = new TextButton(M.Text, CommandTarget(this, M.Command));
        Buttons[i]->setSize(ButtonWidth, Buttons[i]->getHeight());
        addChild(Buttons[i]);
        Buttons[i]->setPosition(0, y);
        auto* Explanation = new Label(M.Explanation);
        addChild(Explanation);
        Explanation->setPosition(ButtonWidth + MENU_LABEL_GAP,
                                 y + (Buttons[i]->getHeight() - Explanation->getHeight()) / 2);
        Width = std::max(Width, Explanation->getX() + Explanation->getWidth());
        y += Buttons[i]->getHeight() + MENU_ROW_GAP;
    }
    Component::setSize(Width, y - MENU_ROW_GAP);
}

void HelpMenuBody::command(int number) {
    switch (number) {
    case HELP_MENU_CLIENT_HELP:
        Close();
        PostEvent(MESSAGE_HELPPOINTER, 0, 0);
        break;
    case HELP_MENU_HINTS:
        // The list first; closing it brings this menu back.
        PostEvent(MESSAGE_HINTS, 0, 0);
        PostEvent(MESSAGE_HELPMENU, 0, 0);
        Close();
        break;
    case HELP_MENU_TUTOR:
        SendOpenChannel(TUTOR_CHANNEL);
        Close();
        break;
    case HELP_MENU_RULE_VIOLATION:
        PostEvent(MESSAGE_RULEVIOLATION, 0, 0);
        Close();
        break;
    case HELP_MENU_MANUAL:
        OpenAddress(build_settings::MANUAL_URL);
        Close();
        break;
    case HELP_MENU_FAQ:
        OpenAddress(build_settings::FAQ_URL);
        Close();
        break;
    case HELP_MENU_BUG_REPORT:
        // Closed first: the report opens in the menu's place.
        Close();
        if (Component* Main = GetDialogServices().MainWindow) Main->command(HELP_MENU_BUG_REPORT);
        break;
    default: Close(); break;
    }
}

HintsBody::HintsBody() {
    auto* Caption = new Label("Hints you have read so far:");
    addChild(Caption);
    List = new ListBox(CommandTarget(), CommandTarget(this, HINTS_SHOW));
    addChild(List);
    for (int n = 1; n <= EVENTHELPS; ++n) {
        if (!IsKnownHint(n)) continue;
        Hints[Count++] = n;
        List->addLine(eventHintTitle(n));
    }
    const int Width = std::max(240, Caption->getWidth());
    List->setPosition(0, Caption->getHeight() + 4);
    List->setSize(Width, 180);
    if (Count > 0) List->select(0);
    Component::setSize(Width, List->getY() + List->getHeight());
}

int HintsBody::getHint(int Line) const { return In(Line, 0, Count - 1) ? Hints[Line] : 0; }

void HintsBody::keyPress(int code) {
    if (code == keys::ENTER)
        command(HINTS_SHOW);
    else if (code == keys::ESCAPE)
        command(HINTS_CLOSE);
    else
        List->keyPress(code);
}

void HintsBody::command(int number) {
    switch (number) {
    case HINTS_SHOW: {
        const int Hint = getHint(List->getSelectedLine());
        if (Hint == 0) return;
        // The hint, then this list again, before whatever waits behind them
        // (the help menu the list was opened from).
        PostEventFirst(MESSAGE_HINTS, 0, 0);
        PostTextEventFirst(MESSAGE_ERROR2, eventHintTitle(Hint), eventHintText(Hint));
        Close();
        break;
    }
    case HINTS_RESET:
        ClearKnownHints();
        Close();
        break;
    default: Close(); break;
    }
}

namespace {

Dialog* BuildHelpMenu(DialogEvent&) {
    auto* Body = new HelpMenuBody();
    auto* D = new Dialog("Help", Body);
    D->removeCancelButton();
    D->setDefaultButton("Close", CommandTarget(D, DIALOG_OK));
    D->setEscapeTarget(CommandTarget(D, DIALOG_CANCEL));
    return D;
}

Dialog* BuildHints(DialogEvent&) {
    auto* Body = new HintsBody();
    auto* D = new Dialog("Hints for Vorna", Body);
    D->setDefaultButton("Show", CommandTarget(Body, HINTS_SHOW));
    D->setCancelButton("Close", CommandTarget(Body, HINTS_CLOSE));
    D->setExtraButton("Reset", CommandTarget(Body, HINTS_RESET));
    return D;
}

}  // namespace

void RegisterHelpDialogs() {
    RegisterDialogBuilder(MESSAGE_HELPMENU, BuildHelpMenu);
    RegisterDialogBuilder(MESSAGE_HINTS, BuildHints);
}
