// The dialogs that lead into the game and the builders of their events.
//
// Sections: 1. Waiting boxes  2. Reconnect box  3. Question and exit boxes
//           4. Login  5. Character list  6. Download progress  7. Events
#include "gui/framework/Dialogs.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/BuildSettings.h"
#include "graphics/graphics.h"
#include "gui/framework/ContextMenu.h"
#include "net/Communication.h"
#include "net/Network.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

DialogServices Services;

void Close() { SetInputMode(INPUT_IDLE); }

void SendLogout() {
    if (!IsConnected()) return;
    BeginPacket(20);
    SendPacket();
}

// Starting the game with the active character: from within the game the
// logout comes first and the close handler reconnects.
void StartGameConnection() {
    int state = GetConnectionState();
    if (state == STATE_GAME_ANSWERING || state == STATE_GAME) {
        PostEvent(MESSAGE_RELOGIN, 0, 0);
        SendLogout();
    } else {
        PostEvent(MESSAGE_CONNECTGAME, 0, 0);
        PostEvent(MESSAGE_CONNECTING_GAME, 0, 0);
    }
}

// A dialog's text: its lines are broken where they would be wider than the
// widest message box, which fits the smallest window.
Label* TextLabel(const char* Text) {
    auto* label = new Label(Text != NULL ? Text : "");
    label->wrap(SkinProperties().MessageBox.MaxWidth);
    return label;
}

// A body of exactly one child, sized to it.
CompositeComponent* Wrap(Component* Child) {
    auto* body = new CompositeComponent;
    body->addChild(Child);
    body->Component::setSize(Child->getWidth(), Child->getHeight());
    return body;
}

// A plain text body that answers keys for a question: Yes and No.
class QuestionBody : public CompositeComponent {
  public:
    QuestionBody(const char* Text, CommandTarget Yes, CommandTarget No) : Yes(Yes), No(No) {
        Label* text = TextLabel(Text);
        addChild(text);
        Component::setSize(text->getWidth(), text->getHeight());
    }
    void keyPress(int code) override {
        if (code == keys::ENTER || code == 'Y' || code == 'y')
            Yes.send();
        else if (code == keys::ESCAPE || code == 'N' || code == 'n')
            No.send();
    }

  private:
    CommandTarget Yes, No;
};

// The exit warning's keys: L logs out, E exits, C cancels.
class ExitWarningBody : public CompositeComponent {
  public:
    explicit ExitWarningBody(const char* Text) {
        Label* text = TextLabel(Text);
        addChild(text);
        Component::setSize(text->getWidth(), text->getHeight());
    }
    void keyPress(int code) override {
        Component* main = Services.MainWindow;
        if (code == keys::ENTER || code == 'L' || code == 'l') {
            CommandTarget(main, 506).send();
            Close();
        } else if (code == 'E' || code == 'e') {
            CommandTarget(main, 7).send();
        } else if (code == keys::ESCAPE || code == 'C' || code == 'c') {
            Close();
        }
    }
};

// The download of a data file: its name and a bar that follows the transfer.
class PatchBody : public CompositeComponent {
  public:
    explicit PatchBody(const char* FileName) {
        char text[128];
        std::snprintf(text, sizeof text, "Downloading %s", FileName != NULL ? FileName : "");
        Label* label = TextLabel(text);
        addChild(label);
        Bar = new ProgressBar;
        addChild(Bar);
        const auto& P = SkinProperties().DownloadBox;
        int width = std::max(label->getWidth(), P.MinimumWidth);
        Bar->setSize(width, Bar->getMinimumHeight());
        Bar->setPosition(0, label->getHeight() + P.Gap);
        Component::setSize(width, Bar->getY() + Bar->getHeight());
    }
    void draw(int Surface, int x, int y) override {
        // The box gives way when the transfer has ended, so that the
        // installation events queued behind it can run.
        int progress = GetPatchProgress();
        if (progress < 0) Close();
        Bar->setValue(std::max(progress, 0));
        CompositeComponent::draw(Surface, x, y);
    }
    void command(int number) override {
        if (number == DIALOG_ABORT) AbortPatch();
        Close();
    }

  private:
    ProgressBar* Bar;
};

Dialog* MessageBox(const char* Caption, const char* Text) {
    auto* D = new Dialog(Caption, Wrap(TextLabel(Text)));
    D->removeCancelButton();
    D->setEscapeTarget(CommandTarget(D, DIALOG_CANCEL));
    return D;
}

Dialog* MarkupBox(const char* Caption, const char* Text) {
    auto* text = new MarkupText(Text != NULL ? Text : "");
    // A text taller than the largest box is laid out wider, up to what the
    // smallest window leaves, rather than losing its last lines.
    const auto& P = SkinProperties().MessageBox;
    const auto& Margins = SkinProperties().Dialog;
    text->fitText(P.MaxWidth, SMALLEST_SCREEN_WIDTH - Margins.MarginLeft - Margins.MarginRight, P.MaxHeight);
    auto* D = new Dialog(Caption, text);
    D->removeCancelButton();
    D->setEscapeTarget(CommandTarget(D, DIALOG_CANCEL));
    return D;
}

Dialog* ConnectingBox(const char* Text, bool ToGameWorld) {
    auto* body = new WaitingBody(Text, true, false, 0);
    body->setClosesInGame(ToGameWorld);
    auto* D = new Dialog("Connecting", body);
    D->removeCancelButton();
    D->setDefaultButton("Abort", CommandTarget(Services.MainWindow, DIALOG_ABORT));
    // Enter goes to the body, which ignores it; Escape aborts.
    D->setEnterTarget(CommandTarget());
    D->setEscapeTarget(CommandTarget(Services.MainWindow, DIALOG_ABORT));
    return D;
}

Dialog* QuestionBox(const char* Caption, const char* Text, Component* Target, int YesCommand, int NoCommand) {
    CommandTarget yes(Target, YesCommand), no(Target, NoCommand);
    auto* D = new Dialog(Caption, new QuestionBody(Text, yes, no));
    D->setDefaultButton("Yes", yes);
    D->setCancelButton("No", no);
    // The body answers Enter, Escape and the letters itself.
    D->setEnterTarget(CommandTarget());
    return D;
}

}  // namespace

// ---- 1. Waiting boxes --------------------------------------------------------------------------

WaitingBody::WaitingBody(const char* Text, bool SelfClosing, bool ClearsQueue, int Tenths)
    : SelfClosing(SelfClosing), ClearsQueue(ClearsQueue) {
    Label* text = TextLabel(Text);
    addChild(text);
    Component::setSize(text->getWidth(), text->getHeight());
    if (Tenths > 0) Timer = new ComponentTimer(Tenths, this, DIALOG_TIMER);
}

WaitingBody::~WaitingBody() { delete Timer; }

void WaitingBody::draw(int Surface, int x, int y) {
    // Whatever waits behind a connecting box (the character list, an error)
    // replaces it without a click.
    if (SelfClosing && (PeekEventType() != MESSAGE_NONE || (ClosesInGame && GetConnectionState() == STATE_GAME)))
        command(DIALOG_ABORT);
    CompositeComponent::draw(Surface, x, y);
}

void WaitingBody::command(int number) {
    if (number == DIALOG_TIMER) {
        if (Timer != NULL && Timer->expired()) Close();
        return;
    }
    if (number == DIALOG_ABORT && ClearsQueue) ClearEvents();
    Close();
}

// ---- 2. Reconnect box ------------------------------------------------------------------------------

std::string ReconnectCountdownText(int RemainingTenths) {
    const int t = RemainingTenths + 10;
    int number;
    const char* unit;
    if (t <= 600) {
        number = t / 10;
        unit = number < 2 ? "second" : "seconds";
    } else {
        number = t / 600 + 1;
        unit = "minutes";
    }
    char text[64];
    std::snprintf(text, sizeof text, "Trying to reconnect in %d %s.", number, unit);
    return text;
}

ReconnectBody::ReconnectBody(const char* Text, int Seconds) : Total(std::max(Seconds, 0) * 10) {
    Label* text = TextLabel(Text);
    addChild(text);
    Bar = new ProgressBar;
    addChild(Bar);
    Bar->setMaximum(std::max(Total, 1));
    Countdown = new Label(ReconnectCountdownText(Total).c_str());
    addChild(Countdown);
    const auto& P = SkinProperties().ReconnectBox;
    int width = std::max({text->getWidth(), Countdown->getWidth() + P.CountdownSpace, P.MinimumWidth});
    Bar->setSize(width, Bar->getMinimumHeight());
    Bar->setPosition(0, text->getHeight() + P.Gap);
    Countdown->setPosition(0, Bar->getY() + Bar->getHeight() + P.Gap);
    Component::setSize(width, Countdown->getY() + Countdown->getHeight());
    if (Total > 0) Timer = new ComponentTimer(Total, this, DIALOG_TIMER);
}

ReconnectBody::~ReconnectBody() { delete Timer; }

void ReconnectBody::command(int number) {
    if (number != DIALOG_TIMER) {
        Close();
        return;
    }
    if (Timer == NULL || Timer->expired()) {
        Bar->setValue(Total);
        StartGameConnection();
        Close();
        return;
    }
    int r = Timer->remainingTenths();
    Bar->setValue(Total - r);
    Countdown->setText(ReconnectCountdownText(r).c_str(), false);
}

// ---- 4. Login ------------------------------------------------------------------------------------

namespace {
constexpr int ACCOUNT_LENGTH = 8;
constexpr int PASSWORD_FIELD_LENGTH = PASSWORD_LENGTH - 1;
}  // namespace

LoginBody::LoginBody() {
    auto* accountLabel = new Label("Account number:");
    auto* passwordLabel = new Label("Password:");
    Account = new PasswordField(ACCOUNT_LENGTH);
    Password = new PasswordField(PASSWORD_FIELD_LENGTH);
    // The account number goes into the login request as it is; only the
    // password is kept out of recordings.
    Account->setSecret(false);
    for (Component* c : {static_cast<Component*>(accountLabel), static_cast<Component*>(Account),
                         static_cast<Component*>(passwordLabel), static_cast<Component*>(Password)})
        addChild(c);
    const auto& P = SkinProperties().LoginDialog;
    // The fields start right of the longer label.
    const int fieldX =
        std::max({P.FieldX, accountLabel->getWidth() + P.LabelGap, passwordLabel->getWidth() + P.LabelGap});
    const int fieldWidth = P.Width - fieldX;
    Account->setSize(fieldWidth, Account->getHeight());
    Password->setSize(fieldWidth, Password->getHeight());
    Account->setPosition(fieldX, 0);
    Password->setPosition(fieldX, P.RowHeight);
    accountLabel->setPosition(0, (Account->getHeight() - accountLabel->getHeight()) / 2);
    passwordLabel->setPosition(0, P.RowHeight + (Password->getHeight() - passwordLabel->getHeight()) / 2);
    Focus.addMember(Account);
    Focus.addMember(Password);
    Focus.setActive(Account);

    std::string address = std::string(build_settings::ACCOUNT_URL) + "?create";
    auto* link = new LinkRow("If you don't have\nan account yet:", "Create Account", address.c_str());
    // The standard button face is too narrow for its caption.
    if (auto* button = dynamic_cast<TextButton*>(link->getLastChild())) {
        int wide = GetTextWidth(SkinProperties().Buttons.Font, button->getText().c_str()) + P.LinkButtonPadding;
        if (wide > button->getWidth()) {
            button->setSize(wide, button->getHeight());
            link->Component::setSize(button->getX() + wide, link->getHeight());
        }
    }
    addChild(link);
    link->setPosition(0, P.RowHeight * 2 + P.LinkGap);
    Component::setSize(std::max(P.Width, link->getWidth()), link->getY() + link->getHeight());
}

void LoginBody::keyPress(int code) {
    if (code == keys::ENTER)
        command(DIALOG_OK);
    else if (code == keys::ESCAPE)
        command(DIALOG_CANCEL);
    else if (Focus.Active != NULL)
        Focus.Active->keyPress(code);
}

void LoginBody::command(int number) {
    if (number == DIALOG_OK) {
        SetAccountNumber(uint32_t(std::strtoul(Account->getText(), NULL, 10)));
        SetPassword(Password->getText());
        PostEvent(MESSAGE_CONNECTLOGIN, 0, 0);
        PostEvent(MESSAGE_CONNECTING_LIST, 0, 0);
    }
    Close();
}

// ---- 5. Character list -----------------------------------------------------------------------------

CharacterListBody::CharacterListBody(int Tenths) : Tenths(Tenths) {
    auto* caption = new Label("Select character:");
    addChild(caption);
    List = new ListBox(CommandTarget(), CommandTarget(this, DIALOG_OK));
    addChild(List);
    for (int i = 0; i < GetAccountCharacters(); ++i) {
        const AccountCharacter& C = GetAccountCharacter(i);
        char line[2 * CHARNAME_LENGTH + 8];
        std::snprintf(line, sizeof line, "%s (%s)", C.Name, C.World);
        List->addLine(line);
    }
    const auto& P = SkinProperties().CharacterList;
    List->setSize(P.Width, P.ListHeight);
    List->setPosition(0, caption->getHeight() + P.ListGap);
    int active = GetActiveCharacter();
    int state = GetConnectionState();
    bool inGame = state == STATE_GAME_ANSWERING || state == STATE_GAME;
    if (inGame && In(active, 0, GetAccountCharacters() - 1))
        List->select(active);
    else if (GetAccountCharacters() > 0)
        List->select(0);

    const SkinColour& text = SkinProperties().Label.Text;
    Status = new MarkupText(GetAccountStatusText(text.Red, text.Green, text.Blue).c_str());
    addChild(Status);
    Status->setSize(P.Width, P.StatusHeight);
    Status->fitToChildren(true);
    Status->setPosition(0, List->getY() + List->getHeight() + P.StatusGap);
    Component::setSize(P.Width, Status->getY() + Status->getHeight());
    if (Tenths > 0) Timer = new ComponentTimer(Tenths, this, DIALOG_TIMER);
}

CharacterListBody::~CharacterListBody() { delete Timer; }

void CharacterListBody::keyPress(int code) {
    if (code == keys::ENTER)
        command(DIALOG_OK);
    else if (code == keys::ESCAPE)
        command(DIALOG_CANCEL);
    else
        List->keyPress(code);
}

void CharacterListBody::command(int number) {
    switch (number) {
    case DIALOG_TIMER:
        if (Timer != NULL && Timer->expired()) Close();
        return;
    case DIALOG_ACTIVITY:
        // Any sign of the player starts the wait anew.
        if (Timer != NULL) {
            delete Timer;
            Timer = new ComponentTimer(Tenths, this, DIALOG_TIMER);
        }
        return;
    case DIALOG_OK: {
        int line = List->getSelectedLine();
        if (line >= 0) {
            SetActiveCharacter(line);
            StartGameConnection();
        }
        break;
    }
    default: break;
    }
    Close();
}

// ---- 7. Events ---------------------------------------------------------------------------------------

namespace {
// The records the dialogs' own events carry.
void ReleaseRecords(Event& E) {
    if (E.Type == MESSAGE_QUESTION) {
        delete reinterpret_cast<QuestionRecord*>(E.Data);
        E.Data = 0;
    }
    if (E.Type == MESSAGE_MOVEOBJECTS) {
        delete reinterpret_cast<MoveRecord*>(E.Data);
        E.Data = 0;
    }
}
}  // namespace

void PostMoveObjects(const MoveRecord& Move) {
    // Whoever clears the queue frees the record.
    SetEventReleaseHook(ReleaseRecords);
    PostEvent(MESSAGE_MOVEOBJECTS, reinterpret_cast<intptr_t>(new MoveRecord(Move)), 0);
}

void PostQuestion(const char* Caption, const char* Text, Component* Target, int YesCommand, int NoCommand) {
    SetEventReleaseHook(ReleaseRecords);
    auto* record = new QuestionRecord;
    record->Caption = Caption != NULL ? Caption : "";
    record->Text = Text != NULL ? Text : "";
    record->Target = Target;
    record->YesCommand = YesCommand;
    record->NoCommand = NoCommand;
    PostEvent(MESSAGE_QUESTION, reinterpret_cast<intptr_t>(record), 0);
}

void SetDialogServices(const DialogServices& NewServices) { Services = NewServices; }
const DialogServices& GetDialogServices() { return Services; }
void OpenDialogDocument(const char* Path) {
    if (Services.OpenDocument != NULL && Path != NULL) Services.OpenDocument(Path);
}

// ---- The builders of the entry dialogs' events ----

namespace {

Dialog* BuildMessage(DialogEvent& Ev) { return MessageBox(Ev.Data, Ev.Extra); }
Dialog* BuildMarkupMessage(DialogEvent& Ev) { return MarkupBox(Ev.Data, Ev.Extra); }
Dialog* BuildConnectingList(DialogEvent&) {
    return ConnectingBox("Your character list is being loaded. Please wait.", false);
}
Dialog* BuildConnectingGame(DialogEvent&) { return ConnectingBox("Connecting to the game world. Please wait.", true); }

Dialog* BuildWaitingList(DialogEvent& Ev) {
    auto* D = new Dialog("Please wait", new ReconnectBody(Ev.Data, int(Ev.E.Extra)));
    D->removeCancelButton();
    D->setDefaultButton("Abort", CommandTarget(D, DIALOG_CANCEL));
    D->setEnterTarget(CommandTarget());
    D->setEscapeTarget(CommandTarget(D, DIALOG_CANCEL));
    return D;
}

Dialog* BuildQuestion(DialogEvent& Ev) {
    auto* record = reinterpret_cast<QuestionRecord*>(Ev.E.Data);
    if (record == NULL) return NULL;
    return QuestionBox(record->Caption.c_str(), record->Text.c_str(), record->Target, record->YesCommand,
                       record->NoCommand);
}

Dialog* BuildLogoutWarning(DialogEvent& Ev) {
    Component* main = Services.MainWindow;
    auto* D = new Dialog(Ev.Data, new ExitWarningBody(Ev.Extra));
    D->setDefaultButton("Logout", CommandTarget(main, 506));
    D->setCancelButton("Cancel", CommandTarget(main, 2));
    D->setExtraButton("Exit", CommandTarget(main, 7));
    // The body's keys decide: Enter logs out, Escape cancels.
    D->setEnterTarget(CommandTarget());
    D->setEscapeTarget(CommandTarget(main, 2));
    return D;
}

Dialog* BuildLogin(DialogEvent&) {
    auto* body = new LoginBody;
    auto* D = new Dialog("Enter Game", body);
    D->setDefaultButton("Ok", CommandTarget(body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(body, DIALOG_CANCEL));
    return D;
}

Dialog* BuildWaitForList(DialogEvent& Ev) {
    auto* body = new WaitingBody("Please wait for your character list.", false, true, int(Ev.E.Data));
    auto* D = new Dialog("Please wait", body);
    D->removeCancelButton();
    D->setDefaultButton("Abort", CommandTarget(body, DIALOG_ABORT));
    D->setEnterTarget(CommandTarget());
    D->setEscapeTarget(CommandTarget(body, DIALOG_ABORT));
    return D;
}

Dialog* BuildCharacterList(DialogEvent& Ev) {
    auto* body = new CharacterListBody(int(Ev.E.Data));
    auto* D = new Dialog("Select Character", body);
    D->removeCancelButton();
    D->setDefaultButton("Ok", CommandTarget(body, DIALOG_OK));
    D->setEscapeTarget(CommandTarget(body, DIALOG_CANCEL));
    D->setActivityTarget(CommandTarget(body, DIALOG_ACTIVITY));
    return D;
}

Dialog* BuildLinkWarning(DialogEvent& Ev) {
    return QuestionBox(Ev.Data,
                       "Warning!\nYou are about to copy a link. Keep in mind that unofficial\n"
                       "websites may be used to hack your account! Continue?",
                       Services.MainWindow, 33, 2);
}

Dialog* BuildMessageOfTheDay(DialogEvent&) { return MessageBox("Message of the Day", GetMessageOfTheDay()); }

Dialog* BuildMoveObjects(DialogEvent& Ev) {
    // Owned here, so that a failed check leaves nothing behind.
    std::unique_ptr<MoveRecord> Owned(reinterpret_cast<MoveRecord*>(Ev.E.Data));
    Ev.E.Data = 0;
    const MoveRecord DraggedObject = Owned != NULL ? *Owned : MoveRecord{};
    ASSERT(DraggedObject!=0);
    ASSERT(In(DraggedObject.Data,1,100));
    if (!(DraggedObject != 0 && In(DraggedObject.Data, 1, 100))) return NULL;
    auto* body = new MoveObjectsBody(DraggedObject);
    auto* D = new Dialog("Move Objects", body);
    D->setDefaultButton("Ok", CommandTarget(body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(body, DIALOG_CANCEL));
    return D;
}

Dialog* BuildPatchProgress(DialogEvent& Ev) {
    auto* body = new PatchBody(Ev.Data);
    auto* D = new Dialog("Updating ... Please wait", body);
    D->removeCancelButton();
    D->setDefaultButton("Abort", CommandTarget(body, DIALOG_ABORT));
    D->setEnterTarget(CommandTarget());
    D->setEscapeTarget(CommandTarget(body, DIALOG_ABORT));
    return D;
}

}  // namespace

void RegisterEntryDialogs() {
    RegisterDialogBuilder(MESSAGE_ERROR, BuildMessage);
    RegisterDialogBuilder(MESSAGE_ERROR2, BuildMarkupMessage);
    RegisterDialogBuilder(MESSAGE_CONNECTING_LIST, BuildConnectingList);
    RegisterDialogBuilder(MESSAGE_CONNECTING_GAME, BuildConnectingGame);
    RegisterDialogBuilder(MESSAGE_WAITINGLIST, BuildWaitingList);
    RegisterDialogBuilder(MESSAGE_QUESTION, BuildQuestion);
    RegisterDialogBuilder(MESSAGE_LOGOUTWARNING, BuildLogoutWarning);
    RegisterDialogBuilder(MESSAGE_LOGIN, BuildLogin);
    RegisterDialogBuilder(MESSAGE_WAITFORLIST, BuildWaitForList);
    RegisterDialogBuilder(MESSAGE_CHARACTERLIST, BuildCharacterList);
    RegisterDialogBuilder(MESSAGE_LINKWARNING, BuildLinkWarning);
    RegisterDialogBuilder(MESSAGE_MOTD, BuildMessageOfTheDay);
    RegisterDialogBuilder(MESSAGE_MOVEOBJECTS, BuildMoveObjects);
    RegisterDialogBuilder(MESSAGE_PATCHPROGRESS, BuildPatchProgress);
}

void PlaceModalWindow(bool IsDialog, int PointerX, int PointerY) {
    Component* modal = GetModalWindow();
    if (modal == NULL) return;
    const Component* root = GetRootComponent();
    int width = root != NULL ? root->getWidth() : 0, height = root != NULL ? root->getHeight() : 0;
    if (IsDialog) {
        // A dialog larger than the window is first cut to it, so that the
        // centred frame starts inside.
        modal->keepInside(width, height);
        modal->setPosition(width / 2 - modal->getWidth() / 2, height / 2 - modal->getHeight() / 2);
    } else if (auto* menu = dynamic_cast<ContextMenu*>(modal)) {
        menu->finish(PointerX, PointerY, width, height);
    } else {
        modal->setPosition(PointerX, PointerY);
    }
    modal->keepInside(width, height);
}
