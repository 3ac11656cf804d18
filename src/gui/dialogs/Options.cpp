// The options menu and the general, graphics, advanced graphics, console and
// network pages, and the builders of their events.
//
// Sections: 1. Menu  2. General  3. Graphics  4. Advanced graphics
//           5. Console and network  6. Events
#include "gui/dialogs/Options.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/BuildSettings.h"
#include "core/Redraw.h"
#include "core/Utils.h"
#include "gui/help/EventHints.h"
#include "net/Network.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The manual's page for one group of options.
void OpenManual(const char* Section) {
    const std::string Address = std::string(build_settings::MANUAL_URL) + "#" + Section;
    OpenDialogDocument(Address.c_str());
}

// A page with "Ok" and "Help": Escape closes without storing.
Dialog* OkHelpPage(const char* Caption, Component* Body) {
    auto* D = new Dialog(Caption, Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->removeCancelButton();
    D->setExtraButton("Help", CommandTarget(Body, OPTIONS_HELP));
    D->setEscapeTarget(CommandTarget(Body, DIALOG_CANCEL));
    return D;
}

}  // namespace

// ---- 1. Menu -------------------------------------------------------------------------------------

namespace {
struct MenuEntry {
    const char* Button;
    const char* Text;
    int Command, Event;
};
constexpr MenuEntry MENU[OptionsMenuBody::BUTTONS] = {
    {"General", "Change general\ngame options", OPTIONS_GENERAL, OPTIONS_EVENT_GENERAL},
    {"Graphics", "Change graphics and\nperformance settings", OPTIONS_GRAPHICS, OPTIONS_EVENT_GRAPHICS},
    {"Console", "Customise the console", OPTIONS_CONSOLE, OPTIONS_EVENT_CONSOLE},
    {"Network", "Change network settings", OPTIONS_NETWORK, OPTIONS_EVENT_NETWORK},
    {"Hotkeys", "Edit your hotkey texts", OPTIONS_HOTKEYS, OPTIONS_EVENT_HOTKEYS},
    {"Motd", "Show the most recent\nMessage of the Day", OPTIONS_MOTD, MESSAGE_MOTD},
};
}  // namespace

OptionsMenuBody::OptionsMenuBody() {
    const auto& P = SkinProperties().Pages;
    for (int i = 0; i < BUTTONS; ++i) {
        Buttons[i] = new TextButton(MENU[i].Button, CommandTarget(this, MENU[i].Command), 16, 17);
        const int Top = i * P.MenuRowHeight;
        addBeside(Buttons[i], 0, Top);
        auto* Text = new Label(MENU[i].Text);
        addBeside(Text, Buttons[i]->getWidth() + P.MenuLabelGap,
                  Top + (Buttons[i]->getHeight() - Text->getHeight()) / 2);
    }
}

void OptionsMenuBody::command(int number) {
    if (number == DIALOG_OK || number == DIALOG_CANCEL) {
        SavePreferences();
        Close();
        return;
    }
    for (const MenuEntry& E : MENU) {
        if (E.Command != number) continue;
        // The page first, then the menu again: closing the page brings the
        // menu back.
        PostEvent(E.Event, 0, 0);
        PostEvent(OPTIONS_EVENT_MENU, 0, 0);
        Close();
        return;
    }
    ASSERT(false);
}

// ---- 2. General ------------------------------------------------------------------------------------

GeneralOptionsBody::GeneralOptionsBody() {
    Boxes[0] = addRow(new CheckBox("Vorna Classic Control", GetClassicControl()));
    Boxes[1] = addRow(new CheckBox("Auto Chase Off", GetAutoChaseOff()));
    Boxes[2] = addRow(new CheckBox("Show Hints", GetShowNewHints()));
    Boxes[3] = addRow(new CheckBox("Show Names of Creatures", GetCreatureInfo() == 2));
    Boxes[4] = addRow(new CheckBox("Show Textual Effects", GetTextualEffects()));
    for (CheckBox* Box : Boxes) Box->setSize(getWidth(), Box->getHeight());
}

void GeneralOptionsBody::command(int number) {
    switch (number) {
    case DIALOG_OK:
        SetClassicControl(Boxes[0]->isTicked());
        SetAutoChaseOff(Boxes[1]->isTicked());
        SetShowNewHints(Boxes[2]->isTicked());
        // Hints waiting to be shown are not wanted any more either.
        if (!GetShowNewHints()) ResetPendingHints();
        SetCreatureInfo(Boxes[3]->isTicked() ? 2 : 0);
        SetTextualEffects(Boxes[4]->isTicked());
        RequestRedraw();
        Close();
        break;
    case DIALOG_CANCEL: Close(); break;
    case OPTIONS_HELP: OpenManual("general"); break;
    default: ASSERT(false); break;
    }
}

// ---- 3. Graphics --------------------------------------------------------------------------------------

std::string GraphicsOptionsBody::ModeText(int Width, int Height, int Depth) {
    char Text[48];
    std::snprintf(Text, sizeof Text, "%d*%d, %d Bits", Width, Height, Depth);
    return Text;
}

GraphicsOptionsBody::GraphicsOptionsBody() : OriginalSize(GetInterfaceSize()) {
    const auto& P = SkinProperties().Pages;
    const DialogServices& S = GetDialogServices();
    const bool Full = S.GetDisplayMode != NULL && S.GetDisplayMode() == 2;
    Fullscreen = addRow(new CheckBox("Fullscreen", Full));
    addRow(new Label("Available resolutions:"), 0, P.SectionGap);
    // Sized before it is added: the rows below start under its full height.
    Modes = new ListBox(CommandTarget(), CommandTarget());
    Modes->setSize(P.Width, P.ListHeight);
    addRow(Modes);
    Fullscreen->setSize(P.Width, Fullscreen->getHeight());
    GraphicsMode Chosen;
    GetFullscreenMode(&Chosen.Width, &Chosen.Height, &Chosen.Depth);
    Available = GetDisplayModes();
    for (size_t i = 0; i < Available.size(); ++i) {
        const GraphicsMode& M = Available[i];
        Modes->addLine(ModeText(M.Width, M.Height, M.Depth).c_str());
        if (M == Chosen) Modes->select(int(i));
    }
    Advanced = addRow(new TextButton("Advanced", CommandTarget(this, OPTIONS_ADVANCED), 16, 17), 0, P.SectionGap);
    // The interface's size: only the sizes that leave it room in the window
    // as it is now are offered.
    addRow(new Label("Interface size:"), 0, P.SectionGap);
    int ClientWidth = 0, ClientHeight = 0;
    platform::GetClientSize(ClientWidth, ClientHeight);
    const int Top = nextRowTop();
    int x = 0;
    for (int Size = 0; Size <= MAX_INTERFACE_SIZE; ++Size) {
        if (!InterfaceSizeFits(Size, ClientWidth, ClientHeight)) continue;
        static constexpr const char* NAMES[MAX_INTERFACE_SIZE + 1] = {"Automatic", "1x", "2x", "3x"};
        Sizes[Size] = addBeside(new TextButton(NAMES[Size], CommandTarget(this, OPTIONS_INTERFACE_SIZE + Size), 16, 17),
                                x, Top);
        FitButtonToCaption(Sizes[Size]);
        SizeGroup.addMember(Sizes[Size]);
        x += Sizes[Size]->getWidth() + P.RowGap;
    }
    SizeGroup.Selected = Sizes[OriginalSize];
}

bool InterfaceSizeFits(int Size, int ClientWidth, int ClientHeight) {
    if (Size == INTERFACE_SIZE_AUTOMATIC) return true;
    return In(Size, 1, MAX_INTERFACE_SIZE) && ClientWidth / Size >= SMALLEST_SCREEN_WIDTH &&
           ClientHeight / Size >= SMALLEST_SCREEN_HEIGHT;
}

void GraphicsOptionsBody::applyInterfaceSize(int Size) {
    if (Size == GetInterfaceSize()) return;
    SetInterfaceSize(Size);
    if (auto Apply = GetDialogServices().ApplyInterfaceSize) Apply();
}

void GraphicsOptionsBody::keyPress(int code) {
    if (code == keys::ENTER)
        command(DIALOG_OK);
    else if (code == keys::ESCAPE)
        command(DIALOG_CANCEL);
    else if (code == keys::UP || code == keys::DOWN)
        Modes->keyPress(code);
}

void GraphicsOptionsBody::command(int number) {
    const DialogServices& S = GetDialogServices();
    switch (number) {
    case DIALOG_OK: {
        const int Line = Modes->getSelectedLine();
        if (In(Line, 0, int(Available.size()) - 1)) {
            const GraphicsMode& M = Available[size_t(Line)];
            SetFullscreenMode(M.Width, M.Height, M.Depth);
        }
        // Ticking full screen without a chosen mode changes nothing: the
        // switch itself refuses.
        const bool Full = S.GetDisplayMode != NULL && S.GetDisplayMode() == 2;
        if (Fullscreen->isTicked() != Full && S.SetDisplayMode != NULL)
            S.SetDisplayMode(Fullscreen->isTicked() ? 2 : 1);
        Close();
        break;
    }
    case DIALOG_CANCEL:
        applyInterfaceSize(OriginalSize);
        Close();
        break;
    case OPTIONS_ADVANCED:
        // The advanced page at once, this page again after it.
        PostEventFirst(OPTIONS_EVENT_GRAPHICS, 0, 0);
        PostEventFirst(OPTIONS_EVENT_ADVANCED, 0, 0);
        Close();
        break;
    case OPTIONS_HELP: OpenManual("graphics"); break;
    default:
        ASSERT(In(number, OPTIONS_INTERFACE_SIZE, OPTIONS_INTERFACE_SIZE + MAX_INTERFACE_SIZE));
        // A window made smaller since the page opened may no longer take it.
        if (In(number, OPTIONS_INTERFACE_SIZE, OPTIONS_INTERFACE_SIZE + MAX_INTERFACE_SIZE)) {
            int ClientWidth = 0, ClientHeight = 0;
            platform::GetClientSize(ClientWidth, ClientHeight);
            const int Size = number - OPTIONS_INTERFACE_SIZE;
            if (InterfaceSizeFits(Size, ClientWidth, ClientHeight)) applyInterfaceSize(Size);
        }
        break;
    }
}

// ---- 4. Advanced graphics ------------------------------------------------------------------------------

namespace {
// The slider's value of a limit, and the limit of a value.
int SliderValueOf(int Limit) {
    if (!In(Limit, MIN_FRAMERATE, MAX_FRAMERATE)) return FRAMERATE_STEPS + 1;
    return std::clamp((Limit + FRAMERATE_STEP / 2) / FRAMERATE_STEP, 1, FRAMERATE_STEPS);
}
// The measured rate is shown anew this often (tenths of a second) while the
// page is open; the timer runs as long as a page can reasonably stay open.
constexpr int MEASURE_TENTHS = 36000;
}  // namespace

std::string AdvancedGraphicsBody::LimitText(int Value) {
    if (Value > FRAMERATE_STEPS) return "Adjust framerate limit: max";
    return "Adjust framerate limit: " + std::to_string(Value * FRAMERATE_STEP);
}

int AdvancedGraphicsBody::limitOf(int Value) const {
    return Value > FRAMERATE_STEPS ? UNLIMITED_FRAMERATE : Value * FRAMERATE_STEP;
}

AdvancedGraphicsBody::AdvancedGraphicsBody() : Original(GetFramerateLimit()) {
    const auto& P = SkinProperties().Pages;
    Boxes[0] = addRow(new CheckBox("Show Light Effects", GetLightEffects()));
    Boxes[1] = addRow(new CheckBox("Don't stretch/shrink the Map", GetNoStretching() == 1));
    Boxes[2] = addRow(new CheckBox("Windows Mouse Pointer", GetWindowsMousepointer()));
    for (CheckBox* Box : Boxes) Box->setSize(P.Width, Box->getHeight());
    const int Value = SliderValueOf(Original);
    LimitCaption = addRow(new Label(LimitText(Value).c_str()), 0, P.SectionGap);
    Limit = addRow(new Slider(1, FRAMERATE_STEPS + 1, Value, 1, CommandTarget(this, OPTIONS_FRAMERATE)));
    Limit->setSize(P.Width, SkinProperties().ScrollBar.Thickness);
    Measured = addRow(new Label("Current framerate: 00000.00"), 0, P.SectionGap);
    command(OPTIONS_MEASURE);
    Timer = new ComponentTimer(MEASURE_TENTHS, this, OPTIONS_MEASURE);
}

AdvancedGraphicsBody::~AdvancedGraphicsBody() { delete Timer; }

void AdvancedGraphicsBody::command(int number) {
    switch (number) {
    case OPTIONS_FRAMERATE:
        // Tried at once, so the player sees what the limit does.
        SetFramerateLimit(limitOf(Limit->getValue()));
        LimitCaption->setText(LimitText(Limit->getValue()).c_str(), false);
        break;
    case OPTIONS_MEASURE: {
        char Text[sizeof MeasuredText];
        std::snprintf(Text, sizeof Text, "Current framerate: %2.2f", GetFramesPerSecond());
        // Only a changed number is laid out again.
        if (std::strcmp(Text, MeasuredText) != 0) {
            std::memcpy(MeasuredText, Text, sizeof Text);
            Measured->setText(MeasuredText, false);
        }
        break;
    }
    case DIALOG_OK: {
        SetLightEffects(Boxes[0]->isTicked());
        SetNoStretching(Boxes[1]->isTicked() ? 1 : 0);
        SetWindowsMousepointer(Boxes[2]->isTicked());
        const int Chosen = limitOf(Limit->getValue());
        SetConfineFramerate(Chosen == UNLIMITED_FRAMERATE ? 0 : Chosen);
        SetFramerateLimit(Chosen);
        RequestRedraw();
        Close();
        break;
    }
    case DIALOG_CANCEL:
        SetFramerateLimit(Original);
        Close();
        break;
    case OPTIONS_HELP: OpenManual("advanced-graphics"); break;
    default: ASSERT(false); break;
    }
}

// ---- 5. Console and network -------------------------------------------------------------------------------

ConsoleOptionsBody::ConsoleOptionsBody() {
    Boxes[0] = addRow(new CheckBox("Show Info Messages", GetInfoMessages()));
    Boxes[1] = addRow(new CheckBox("Show Event Messages", GetEventMessages()));
    Boxes[2] = addRow(new CheckBox("Show Status Messages", GetStatusMessages()));
    Boxes[3] = addRow(new CheckBox("Show Timestamp in Console", GetTimeStamps()));
    for (CheckBox* Box : Boxes) Box->setSize(getWidth(), Box->getHeight());
}

void ConsoleOptionsBody::command(int number) {
    switch (number) {
    case DIALOG_OK:
        SetInfoMessages(Boxes[0]->isTicked());
        SetEventMessages(Boxes[1]->isTicked());
        SetStatusMessages(Boxes[2]->isTicked());
        SetTimeStamps(Boxes[3]->isTicked());
        // The console reads the filters and the time-stamp flag as it draws.
        RequestRedraw();
        Close();
        break;
    case DIALOG_CANCEL: Close(); break;
    case OPTIONS_HELP: OpenManual("console"); break;
    default: ASSERT(false); break;
    }
}

NetworkOptionsBody::NetworkOptionsBody() {
    const auto& P = SkinProperties().Pages;
    TestServer = addRow(new CheckBox("Test Server Login", GetTestServer()));
    TestServer->setSize(P.Width, TestServer->getHeight());
    // Where the login goes: the test server when it is chosen, else the
    // login server tried first.
    const ServerEntry& Entry = GetServerEntry(GetTestServer() ? NUMBEROFSERVER : 0);
    const int Top = nextRowTop() + P.SectionGap;
    auto* Address = addBeside(new Label("Server address:"), 0, Top);
    const int Second = getBottom() + P.RowGap;
    auto* Port = addBeside(new Label("Server port:"), 0, Second);
    // The values line up right of the longer label.
    const int ValueX = std::max({P.FieldLabelWidth, Address->getWidth() + P.RowGap * 2, Port->getWidth() + P.RowGap * 2});
    addBeside(new Label(Entry.Address), ValueX, Top);
    addBeside(new Label(std::to_string(Entry.Port).c_str()), ValueX, Second);
}

void NetworkOptionsBody::command(int number) {
    switch (number) {
    case DIALOG_OK:
        SetTestServer(TestServer->isTicked());
        Close();
        break;
    case DIALOG_CANCEL: Close(); break;
    case OPTIONS_HELP: OpenManual("network"); break;
    default: ASSERT(false); break;
    }
}

// ---- 6. Events ------------------------------------------------------------------------------------------------

namespace {

Dialog* BuildMenu(DialogEvent&) {
    auto* Body = new OptionsMenuBody;
    auto* D = new Dialog("Options", Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    return D;
}
Dialog* BuildGeneral(DialogEvent&) { return OkHelpPage("General Options", new GeneralOptionsBody); }
Dialog* BuildGraphics(DialogEvent&) { return OkHelpPage("Graphics Options", new GraphicsOptionsBody); }
Dialog* BuildAdvanced(DialogEvent&) {
    auto* Body = new AdvancedGraphicsBody;
    auto* D = new Dialog("Advanced Graphics Options", Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    D->setExtraButton("Help", CommandTarget(Body, OPTIONS_HELP));
    return D;
}
Dialog* BuildConsole(DialogEvent&) { return OkHelpPage("Console Options", new ConsoleOptionsBody); }
Dialog* BuildNetwork(DialogEvent&) { return OkHelpPage("Network Options", new NetworkOptionsBody); }

}  // namespace

void RegisterOptionsDialogs() {
    RegisterDialogBuilder(OPTIONS_EVENT_MENU, BuildMenu);
    RegisterDialogBuilder(OPTIONS_EVENT_GENERAL, BuildGeneral);
    RegisterDialogBuilder(OPTIONS_EVENT_GRAPHICS, BuildGraphics);
    RegisterDialogBuilder(OPTIONS_EVENT_ADVANCED, BuildAdvanced);
    RegisterDialogBuilder(OPTIONS_EVENT_CONSOLE, BuildConsole);
    RegisterDialogBuilder(OPTIONS_EVENT_NETWORK, BuildNetwork);
}
