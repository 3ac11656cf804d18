// Modal dialogs: the Dialog frame (caption, one body, up to three buttons,
// Enter and Escape targets, dragging by the title bar) and the dialogs that
// lead into the game, built from queued events.
//
// A dialog is never opened directly: a part of the program posts its event,
// and the event dispatcher calls CarryOutDialogEvent, which builds the dialog
// and makes it the modal window. A dialog closes by setting the input mode
// back to idle; the dispatcher then destroys it.
//
// Sections: 1. Dialog  2. Bodies  3. Events
#pragma once

#include "core/Status.h"
#include "gui/framework/DialogElements.h"
#include "net/Commands.h"

#include <string>

// ---- 1. Dialog ------------------------------------------------------------------------

class Dialog : public CompositeComponent {
  public:
    // Takes the body; starts with "Ok" (command 1) and "Cancel" (command 2),
    // both aimed at the dialog itself, which closes it.
    Dialog(const char* _Caption, Component* _Dialog);
    ~Dialog() override;

    // Creates or replaces the button; also sets the Enter / Escape target.
    void setDefaultButton(const char* Text, CommandTarget Target);
    void setCancelButton(const char* Text, CommandTarget Target);
    void removeCancelButton();
    // NULL text removes the button.
    void setExtraButton(const char* Text, CommandTarget Target);
    void setEnterTarget(CommandTarget Target) { EnterTarget = Target; }
    void setEscapeTarget(CommandTarget Target) { EscapeTarget = Target; }
    // Presses, right releases, wheel turns, held-button repeats and keys are
    // reported to this target (the character list's inactivity timer).
    void setActivityTarget(CommandTarget Target) { ActivityTarget = Target; }

    Component* getBody() const { return Body; }
    const std::string& getCaption() const { return CaptionText; }
    TextButton* getDefaultButton() const { return DefaultButton; }
    TextButton* getCancelButton() const { return CancelButton; }
    TextButton* getExtraButton() const { return ExtraButton; }
    bool isDragging() const { return Dragging; }

    // Sizes the dialog around its body and places every part. A dialog
    // larger than the area it is kept in (keepInside) shows the top left part
    // of its body in a frame of the area's size, with its buttons along that
    // frame's bottom edge, so that they stay on the screen.
    void arrange() override;
    void keepInside(int AreaWidth, int AreaHeight) override;
    // Whether the body is cut to a frame smaller than the dialog would be.
    bool isCut() const { return _Width < NaturalWidth || _Height < NaturalHeight; }
    void draw(int Surface, int x, int y) override;
    POINTER_HANDLERS_OVERRIDE;
    void keyPress(int code) override;
    // Any command closes the dialog.
    void command(int number) override;

  private:
    void create(const char* _Caption, Component* _Dialog);
    TextButton* replaceButton(TextButton* Old, const char* Text, CommandTarget Target);
    void activity();
    // Outside the body's visible part, in a cut dialog: the inside texture
    // covers what of the body lies there, and pointer events do not reach it.
    bool coversBody(int x, int y) const;
    // Whether a pointer event at (x, y) goes on to the children: always to
    // a control that holds the capture.
    bool reachesChildren(int x, int y) const;
    void drawCover(int Surface, int x, int y) const;
    std::string CaptionText;
    Label* Caption = NULL;
    Component* Body = NULL;
    TextButton* DefaultButton = NULL;
    TextButton* CancelButton = NULL;
    TextButton* ExtraButton = NULL;
    CommandTarget EnterTarget, EscapeTarget, ActivityTarget;
    bool Dragging = false;
    int GrabX = 0, GrabY = 0;
    // The size the whole dialog takes, and the area it is kept in (0: none).
    int NaturalWidth = 0, NaturalHeight = 0;
    int AreaWidth = 0, AreaHeight = 0;
};

// A text button at least as wide as its caption needs (the small button
// skins are narrower than some words).
void FitButtonToCaption(TextButton* Button);

// ---- 2. Bodies (exposed for the tests) -------------------------------------------------

// The countdown line of the reconnect box for the remaining tenths.
std::string ReconnectCountdownText(int RemainingTenths);

// The main game window's question (event 6): caption, text, where the answers
// go, and the commands of "Yes" and "No".
struct QuestionRecord {
    std::string Caption, Text;
    Component* Target = NULL;
    int YesCommand = 0, NoCommand = 2;
};
// Posts event 6 with a copy of the record.
void PostQuestion(const char* Caption, const char* Text, Component* Target, int YesCommand, int NoCommand);

// A move of a pile that waits for its count: event 12 carries a copy.
struct MoveRecord {
    ObjectLocation From;
    int Type = 0, Stack = 0;
    int Data = 0;  // the pile's count, 1..100
    int x = 0, y = 0, z = 0;
    // A record stands for its object: "nothing" is type 0.
    bool operator!=(int None) const { return Type != None; }
};
void PostMoveObjects(const MoveRecord& Move);

// "Move Objects": the dragged pile with a slider for how many of it to move.
class MoveObjectsBody : public CompositeComponent {
  public:
    explicit MoveObjectsBody(const MoveRecord& Move);
    void keyPress(int code) override;
    void command(int number) override;
    int getCount() const { return Count->getValue(); }
    Slider* getSlider() const { return Count; }

  private:
    MoveRecord Move;
    Slider* Count;
    Label* Number;
};

// A text with an optional self-closing flag, a queue-clearing flag and a timer.
class WaitingBody : public CompositeComponent {
  public:
    WaitingBody(const char* Text, bool SelfClosing, bool ClearsQueue, int Tenths);
    // The game world's connecting box also gives way once the game has
    // started, even when the game's first messages queued nothing.
    void setClosesInGame(bool Closes) { ClosesInGame = Closes; }
    ~WaitingBody() override;
    void draw(int Surface, int x, int y) override;
    void command(int number) override;
    const ComponentTimer* getTimer() const { return Timer; }

  private:
    bool SelfClosing, ClearsQueue, ClosesInGame = false;
    ComponentTimer* Timer = NULL;
};

class ReconnectBody : public CompositeComponent {
  public:
    ReconnectBody(const char* Text, int Seconds);
    ~ReconnectBody() override;
    void command(int number) override;
    const Label* getCountdown() const { return Countdown; }
    const ProgressBar* getBar() const { return Bar; }

  private:
    Label* Countdown;
    ProgressBar* Bar;
    ComponentTimer* Timer = NULL;
    int Total;
};

class LoginBody : public CompositeComponent {
  public:
    LoginBody();
    void keyPress(int code) override;
    void command(int number) override;
    PasswordField* getAccountField() const { return Account; }
    PasswordField* getPasswordField() const { return Password; }

  private:
    PasswordField* Account;
    PasswordField* Password;
    FocusGroup Focus;
};

class CharacterListBody : public CompositeComponent {
  public:
    explicit CharacterListBody(int Tenths);
    ~CharacterListBody() override;
    void keyPress(int code) override;
    void command(int number) override;
    ListBox* getList() const { return List; }
    MarkupText* getStatus() const { return Status; }
    const ComponentTimer* getTimer() const { return Timer; }

  private:
    ListBox* List;
    MarkupText* Status;
    ComponentTimer* Timer = NULL;
    int Tenths;
};

// ---- 3. Events -------------------------------------------------------------------------------

// Builds the dialog of an event of types 1 to 55 and makes it the modal
// window; frees the event's texts. False when the type opens no dialog here.
// The builder of each event type comes from one table, which every group of
// dialogs fills from its own file.
bool CarryOutDialogEvent(Event& E);

// What a builder is given: the event, and its texts ("" where it carries
// none). A builder returns the dialog it built, or NULL when the event opens
// none (a console tab action, a record that failed its checks); the event is
// freed after it.
struct DialogEvent {
    Event& E;
    const char* Data;
    const char* Extra;
};
using DialogBuilder = Dialog* (*)(DialogEvent& Event);
void RegisterDialogBuilder(int Type, DialogBuilder Builder);
// The same for a pop-up menu, which is no dialog but takes the modal place
// and is built from the event's data alone.
using MenuBuilder = Component* (*)(intptr_t Data);
void RegisterMenuBuilder(int Type, MenuBuilder Builder);

// The record an event carries to the dialog or menu it builds. The record is
// kept here, not on the heap, and the event carries its number: a queue that
// is cleared then leaks nothing, and a newer post replaces a record whose
// dialog has not opened yet, so the older event opens nothing.
template <typename Record>
class PendingRecord {
  public:
    void post(int Type, const Record& R) {
        Pending = R;
        ++Number;
        PostEvent(Type, Number, 0);
    }
    // The record of a posted event; NULL when a newer one replaced it.
    const Record* take(intptr_t Data) const { return Data != 0 && Data == Number ? &Pending : NULL; }
    // The record waiting now, whichever event it is for.
    Record& waiting() { return Pending; }

  private:
    Record Pending{};
    intptr_t Number = 0;
};
// The groups' registrations, each in its own file.
void RegisterEntryDialogs();
void RegisterConsoleDialogs();
void RegisterOptionsDialogs();
void RegisterHotkeyDialog();
void RegisterOutfitDialog();
void RegisterTextDialogs();
void RegisterBuddyDialogs();
void RegisterBanishmentDialog();
void RegisterInfoDialog();
void RegisterIgnoreDialog();
void RegisterHelpDialogs();
void RegisterAutomapDialogs();
void RegisterBugReportDialog();
// The hooks by which the menus reach the windows they were opened from.
void RegisterWindowHooks();
// Centres a dialog on the root; a pop-up menu goes to the pointer, kept on
// the root.
void PlaceModalWindow(bool IsDialog, int PointerX, int PointerY);

// The main game window's services for the dialogs.
struct DialogServices {
    Component* MainWindow = NULL;
    const char* CreateAccountAddress = "";
    // The application's display switch (1 windowed, 2 full screen) and its
    // opener of web addresses, which leaves full screen first.
    void (*SetDisplayMode)(int Mode) = NULL;
    int (*GetDisplayMode)() = NULL;
    bool (*OpenDocument)(const char* Path) = NULL;
    // Draws the window at the interface size now in the preferences.
    void (*ApplyInterfaceSize)() = NULL;
};
// Opens an address through the application (nothing without one).
void OpenDialogDocument(const char* Path);
void SetDialogServices(const DialogServices& Services);
const DialogServices& GetDialogServices();
