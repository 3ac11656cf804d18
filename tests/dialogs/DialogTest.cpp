// The entry dialogs on the running client: opened through the event queue,
// answered with injected keys and clicks, closed by the input mode.
#include "DialogTestSupport.h"
#include "../gui/GuiTestSupport.h"
#include "graphics/graphics.h"
#include "gui/dialogs/BugReport.h"
#include "gui/dialogs/Info.h"
#include "gui/help/Help.h"
#include "gui/help/EventHints.h"

#include <string>
#include <vector>

namespace {

// A component that records the commands sent to it.
class CommandLog : public Component {
  public:
    void command(int number) override { Commands.push_back(number); }
    std::vector<int> Commands;
};

// The labels of a marked-up text, by their text.
const Label* FindLabel(const Component* Parent, const std::string& Text) {
    for (const Component* c = Parent->getFirstChild(); c != nullptr; c = c->getNextSibling()) {
        auto* label = dynamic_cast<const Label*>(c);
        if (label != nullptr && label->getText().find(Text) != std::string::npos) return label;
    }
    return nullptr;
}

std::vector<int> QueuedTypes() {
    std::vector<int> types;
    for (int i = 0; i < GetNumberOfEvents(); ++i) types.push_back(GetQueuedEvent(i).Type);
    return types;
}

using DialogTest = ClientTest;

TEST_F(DialogTest, StartViewButtonOpensTheLoginDialogAndFieldsTakeTypedText) {
    ASSERT_NE(GetMainWindow(), nullptr);
    StartView* start = GetMainWindow()->getStartView();
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->getButton(0)->getText(), "Enter Game");
    EXPECT_EQ(start->getButton(4)->getText(), "Exit Game");
    Screenshot("start-view.png");

    ClickOn(start->getButton(0));
    ASSERT_EQ(ModalCaption(), "Enter Game");
    EXPECT_EQ(GetInputMode(), INPUT_DIALOG);
    // Centred on the main window.
    EXPECT_EQ(Modal()->getX(), GetMainWindow()->getWidth() / 2 - Modal()->getWidth() / 2);
    EXPECT_EQ(Modal()->getY(), GetMainWindow()->getHeight() / 2 - Modal()->getHeight() / 2);

    auto* login = Body<LoginBody>();
    ASSERT_NE(login, nullptr);
    Type("100001");
    Press(platform::Key::Tab);
    Type("demo");
    EXPECT_STREQ(login->getAccountField()->getText(), "100001");
    EXPECT_STREQ(login->getPasswordField()->getText(), "demo");
    EXPECT_TRUE(login->getPasswordField()->isFocused());
    EXPECT_FALSE(login->getAccountField()->isFocused());
    Screenshot("login-typed.png");

    // Shift+Tab goes back to the account field, which holds 8 characters at most.
    platform::Event shift;
    shift.Kind = platform::EventKind::KeyDown;
    shift.KeyCode = platform::Key::Shift;
    Inject(shift);
    Press(platform::Key::Tab);
    shift.Kind = platform::EventKind::KeyUp;
    Inject(shift);
    Type("23456789");
    EXPECT_STREQ(login->getAccountField()->getText(), "10000123");

    // Escape closes without a login.
    Press(platform::Key::Escape);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    EXPECT_EQ(GetNumberOfEvents(), 0);
}

TEST_F(DialogTest, LoginWithEmptyFieldsPostsAccountZeroThenTheConnectingBox) {
    SetAccountNumber(777);
    SetPassword("old");
    PostEvent(MESSAGE_LOGIN, 0, 0);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Enter Game");
    // Delivered straight to the dialog so that the queued login is seen
    // before the next pass would carry it out.
    Modal()->keyPress(13);
    EXPECT_EQ(GetAccountNumber(), 0u);
    EXPECT_STREQ(GetPassword(), "");
    EXPECT_EQ(QueuedTypes(), (std::vector<int>{MESSAGE_CONNECTLOGIN, MESSAGE_CONNECTING_LIST}));
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    ClearEvents();
}

TEST_F(DialogTest, ReconnectCountdownTexts) {
    EXPECT_EQ(ReconnectCountdownText(1250), "Trying to reconnect in 3 minutes.");
    EXPECT_EQ(ReconnectCountdownText(15), "Trying to reconnect in 2 seconds.");
    EXPECT_EQ(ReconnectCountdownText(5), "Trying to reconnect in 1 second.");
    // The boundary between seconds and minutes.
    EXPECT_EQ(ReconnectCountdownText(590), "Trying to reconnect in 60 seconds.");
    EXPECT_EQ(ReconnectCountdownText(591), "Trying to reconnect in 2 minutes.");
    EXPECT_EQ(ReconnectCountdownText(0), "Trying to reconnect in 1 second.");
}

TEST_F(DialogTest, ReconnectBoxCountsDownAndThenConnectsToTheGameWorld) {
    ManualClock clock;
    PostEvent(MESSAGE_WAITINGLIST, NewEventText("Too many players online."), 125);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Please wait");
    auto* body = Body<ReconnectBody>();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->getCountdown()->getText(), "Trying to reconnect in 3 minutes.");

    clock.Advance(125000 - 1500);
    ASSERT_NE(Body<ReconnectBody>(), nullptr);
    EXPECT_EQ(body->getCountdown()->getText(), "Trying to reconnect in 2 seconds.");
    EXPECT_EQ(body->getBar()->getValue(), 1250 - 15);
    clock.Advance(1000);
    EXPECT_EQ(body->getCountdown()->getText(), "Trying to reconnect in 1 second.");
    // Expired: the connection to the game world is queued, the box closes
    // and the connecting box follows. (Port 1 on loopback refuses.)
    const uint8_t address[4] = {127, 0, 0, 1};
    SetAccountCharacters(1);
    SetAccountCharacter(0, "Mira", "Demoland", address, 1);
    SetActiveCharacter(0);
    clock.Advance(500);
    EXPECT_EQ(ModalCaption(), "Connecting");
}

TEST_F(DialogTest, DialogDraggedAgainstTheEdgesStopsThere) {
    PostEvent(MESSAGE_LOGIN, 0, 0);
    frame::Pump();
    ASSERT_NE(Modal(), nullptr);
    const int w = Modal()->getWidth(), h = Modal()->getHeight();
    const int rootW = GetMainWindow()->getWidth(), rootH = GetMainWindow()->getHeight();
    int x = Modal()->getX() + w / 2, y = Modal()->getY() + 5;  // in the title bar
    MoveTo(x, y);
    Button(platform::EventKind::ButtonDown, x, y);
    frame::Pump();
    ASSERT_TRUE(Modal()->isDragging());
    MoveTo(x - 10, y + 7);
    frame::Pump();
    EXPECT_EQ(Modal()->getX(), rootW / 2 - w / 2 - 10);
    EXPECT_EQ(Modal()->getY(), rootH / 2 - h / 2 + 7);
    MoveTo(-400, -300);
    frame::Pump();
    EXPECT_EQ(Modal()->getX(), 0);
    EXPECT_EQ(Modal()->getY(), 0);
    MoveTo(5000, 5000);
    frame::Pump();
    EXPECT_EQ(Modal()->getX(), rootW - w);
    EXPECT_EQ(Modal()->getY(), rootH - h);
    Button(platform::EventKind::ButtonUp, 5000, 5000);
    frame::Pump();
    EXPECT_FALSE(Modal()->isDragging());
    // A press below the title bar on no control does not drag.
    int bx = Modal()->getX() + 3, by = Modal()->getY() + h / 2;
    MoveTo(bx, by);
    Button(platform::EventKind::ButtonDown, bx, by);
    frame::Pump();
    EXPECT_FALSE(Modal()->isDragging());
    Button(platform::EventKind::ButtonUp, bx, by);
    frame::Pump();
    EXPECT_EQ(ModalCaption(), "Enter Game");
}

TEST_F(DialogTest, ConnectingBoxGivesWayToAQueuedErrorAndEventsWaitTheirTurn) {
    PostEvent(MESSAGE_CONNECTING_LIST, 0, 0);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Connecting");
    // Nothing waits: the box stays.
    frame::Pump();
    EXPECT_EQ(ModalCaption(), "Connecting");
    PostTextEvent(MESSAGE_ERROR, "Connection failed", "Cannot connect to a login server.");
    PostEvent(MESSAGE_MOTD, 0, 0);
    frame::Pump();  // drawn with an event waiting: closes
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Connection failed");
    EXPECT_EQ(GetNumberOfEvents(), 1);  // the message of the day waits its turn
    Screenshot("connection-failed.png");
    Press(platform::Key::Return);
    EXPECT_EQ(ModalCaption(), "Message of the Day");
    Press(platform::Key::Escape);
    EXPECT_EQ(GetModalWindow(), nullptr);
}

TEST_F(DialogTest, WaitingBoxAbortEmptiesTheQueue) {
    PostEvent(MESSAGE_WAITFORLIST, 20, 0);
    PostEvent(MESSAGE_CHARACTERLIST, 300, 0);
    PostQuestion("Q", "?", nullptr, 1, 2);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Please wait");
    Press(platform::Key::Escape);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetNumberOfEvents(), 0);
}

TEST_F(DialogTest, WaitingBoxStaysForItsTimeThenTheCharacterListFollows) {
    ManualClock clock;
    PostEvent(MESSAGE_WAITFORLIST, 20, 0);
    PostEvent(MESSAGE_CHARACTERLIST, 300, 0);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Please wait");
    clock.Advance(1900);
    EXPECT_EQ(ModalCaption(), "Please wait");
    clock.Advance(200);
    EXPECT_EQ(ModalCaption(), "Select Character");
}

TEST_F(DialogTest, CharacterListShowsTheAccountStatusInItsColours) {
    const uint8_t address[4] = {127, 0, 0, 1};
    SetAccountCharacters(2);
    SetAccountCharacter(0, "Aldric", "Demoland", address, 7173);
    SetAccountCharacter(1, "Mira", "Demoland", address, 7173);
    SetPremiumDays(1);
    PostEvent(MESSAGE_CHARACTERLIST, 0, 0);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Select Character");
    auto* body = Body<CharacterListBody>();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->getList()->getLine(1), "Mira (Demoland)");
    EXPECT_EQ(body->getList()->getSelectedLine(), 0);
    EXPECT_EQ(Modal()->getCancelButton(), nullptr);
    const Label* days = FindLabel(body->getStatus(), "1 day left");
    ASSERT_NE(days, nullptr);
    EXPECT_EQ(days->getColour().Red, 248);
    EXPECT_EQ(days->getColour().Green, 96);
    EXPECT_EQ(days->getColour().Blue, 96);
    const Label* close = FindLabel(body->getStatus(), ")");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->getColour().Red, SkinProperties().Label.Text.Red);
    Screenshot("character-list.png");
    Press(platform::Key::Escape);
    EXPECT_EQ(GetModalWindow(), nullptr);

    SetPremiumDays(14);
    PostEvent(MESSAGE_CHARACTERLIST, 0, 0);
    frame::Pump();
    body = Body<CharacterListBody>();
    ASSERT_NE(body, nullptr);
    const Label* fourteen = FindLabel(body->getStatus(), "Premium Account (14 days left)");
    ASSERT_NE(fourteen, nullptr);
    EXPECT_EQ(fourteen->getColour().Red, SkinProperties().Label.Text.Red);
    // Enter confirms the preselected line: the game connection is queued
    // (seen here before a pass would carry it out).
    body->getList()->select(1);
    Modal()->keyPress(13);
    EXPECT_EQ(GetActiveCharacter(), 1);
    EXPECT_EQ(QueuedTypes(), (std::vector<int>{MESSAGE_CONNECTGAME, MESSAGE_CONNECTING_GAME}));
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    ClearEvents();
}

TEST_F(DialogTest, CharacterListClosesAfterItsInactivityTimeUnlessThePlayerActs) {
    ManualClock clock;
    const uint8_t address[4] = {127, 0, 0, 1};
    SetAccountCharacters(1);
    SetAccountCharacter(0, "Mira", "Demoland", address, 7173);
    PostEvent(MESSAGE_CHARACTERLIST, 30, 0);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Select Character");
    clock.Advance(2500);
    Press(platform::Key::Down);  // any key starts the wait anew
    clock.Advance(2500);
    EXPECT_EQ(ModalCaption(), "Select Character");
    clock.Advance(700);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetNumberOfEvents(), 0);  // closing by time connects nowhere
}

TEST_F(DialogTest, QuestionBoxAnswersYAndNAndExitWarningLogsOutOrExits) {
    CommandLog log;
    PostQuestion("Warning", "Really?", &log, 42, 43);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Warning");
    EXPECT_EQ(Modal()->getDefaultButton()->getText(), "Yes");
    EXPECT_EQ(Modal()->getCancelButton()->getText(), "No");
    Type("y");
    Type("N");
    Press(platform::Key::Return);
    EXPECT_EQ(log.Commands, (std::vector<int>{42, 43, 42}));
    Modal()->command(1);
    frame::Pump();
    EXPECT_EQ(GetModalWindow(), nullptr);

    // The main window's own question logs out with 506 and closes with 2.
    GetMainWindow()->command(MAIN_ASK_LOGOUT);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Warning");
    ASSERT_NE(Modal()->getBody()->getFirstChild(), nullptr);
    Type("n");
    EXPECT_EQ(GetModalWindow(), nullptr);

    // Exit warning: "l" logs out (and closes), "e" ends the program.
    PostTextEvent(MESSAGE_LOGOUTWARNING, "Warning", "If you shut down the program, ...");
    frame::Pump();
    ASSERT_NE(Modal(), nullptr);
    EXPECT_EQ(Modal()->getExtraButton()->getText(), "Exit");
    EXPECT_EQ(Modal()->getDefaultButton()->getText(), "Logout");
    Type("l");
    EXPECT_EQ(GetModalWindow(), nullptr);
    PostTextEvent(MESSAGE_LOGOUTWARNING, "Warning", "If you shut down the program, ...");
    frame::Pump();
    Type("c");
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_TRUE(frame::Exists());
    PostTextEvent(MESSAGE_LOGOUTWARNING, "Warning", "If you shut down the program, ...");
    frame::Pump();
    Type("E");
    EXPECT_FALSE(frame::Exists());
}

TEST_F(DialogTest, MarkedUpMessageBoxFitsItsText) {
    PostTextEvent(MESSAGE_ERROR2, "For your Information",
                  "<b>Welcome to Vorna!<n>\nYour character has <h>12 gold coins<n>.\n<color=198>Orange<n> and "
                  "<font=4>a smaller font<n>.");
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "For your Information");
    const Component* body = Modal()->getBody();
    EXPECT_LT(body->getWidth(), SkinProperties().MessageBox.MaxWidth);
    EXPECT_LT(body->getHeight(), SkinProperties().MessageBox.MaxHeight);
    const Label* title = FindLabel(body, "Welcome to Vorna!");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->getColour().Red, SkinProperties().Markup.Bold.Red);
    EXPECT_EQ(Modal()->getCancelButton(), nullptr);
    Screenshot("markup-box.png");
    Press(platform::Key::Escape);
    EXPECT_EQ(GetModalWindow(), nullptr);

    // A text longer than the widest box wraps inside it.
    std::string words;
    for (int i = 0; i < 40; ++i) words += "<b>many<n> words ";
    PostTextEvent(MESSAGE_ERROR2, "Long", words.c_str());
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Long");
    body = Modal()->getBody();
    const int maxWidth = SkinProperties().MessageBox.MaxWidth;
    EXPECT_LE(body->getWidth(), maxWidth);
    EXPECT_GT(body->getWidth(), maxWidth * 3 / 4);
    EXPECT_GE(body->getHeight(), 3 * GetFontLineHeight(SkinProperties().Markup.Font));
    const auto& D = SkinProperties().Dialog;
    EXPECT_EQ(Modal()->getWidth(), body->getWidth() + D.MarginLeft + D.MarginRight);
}

TEST_F(DialogTest, EveryHintBoxShowsItsWholeTextInTheSmallestWindow) {
    platform::Event e;
    e.Kind = platform::EventKind::Resize;
    e.Width = SMALLEST_SCREEN_WIDTH;
    e.Height = SMALLEST_SCREEN_HEIGHT;
    Inject(e);
    ASSERT_TRUE(PumpUntil([] { return GetMainWindow()->getWidth() == SMALLEST_SCREEN_WIDTH; }));
    SetDefaultHintTriggers();
    for (int n = 1; n <= EVENTHELPS; ++n) {
        ShowEventHint(n);
        frame::Pump();
        ASSERT_EQ(ModalCaption(), eventHintTitle(n));
        auto* Text = dynamic_cast<const MarkupText*>(Modal()->getBody());
        ASSERT_NE(Text, nullptr);
        EXPECT_TRUE(ShowsWholeText(*Text)) << n;
        EXPECT_FALSE(Modal()->isCut()) << n;
        EXPECT_GE(Modal()->getY(), 0) << n;
        EXPECT_LE(Modal()->getY() + Modal()->getHeight(), SMALLEST_SCREEN_HEIGHT) << n;
        Press(platform::Key::Escape);
        ASSERT_EQ(GetModalWindow(), nullptr);
    }
}

TEST_F(DialogTest, DialogPreconditionsAreReported) {
    // The body stays the caller's when the dialog is refused.
    Label body("x");
    EXPECT_ASSERTION(Dialog(NULL, &body), "_Caption!=NULL");
    std::string longCaption(100, 'c');
    EXPECT_ASSERTION(Dialog(longCaption.c_str(), &body), "strlen(_Caption)<100");
    EXPECT_ASSERTION(Dialog("Caption", NULL), "_Dialog!=NULL");
    Dialog d("Caption", new Label("x"));
    d.removeCancelButton();
    EXPECT_ASSERTION(d.removeCancelButton(), "CancelButton!=NULL");
    EXPECT_ASSERTION(d.setExtraButton(NULL, CommandTarget()), "ExtraButton!=NULL");

    // A dialog event that nothing builds is the program's own fault, and
    // said so rather than dropped; the table is whole again afterwards.
    PostEvent(INFO_EVENT, 0, 0);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Info");
    Press(platform::Key::Escape);
    RegisterDialogBuilder(BUGREPORT_EVENT, nullptr);
    Event Orphan{BUGREPORT_EVENT, 0, 0};
    EXPECT_ASSERTION(CarryOutDialogEvent(Orphan), "false");
    EXPECT_EQ(GetModalWindow(), nullptr);
    RegisterDialogBuilder(BUGREPORT_EVENT, BuildBugReportDialog);
}

TEST_F(DialogTest, AbortingTheGameConnectionBringsTheCharacterListBack) {
    PostEvent(MESSAGE_CONNECTING_GAME, 0, 0);
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Connecting");
    SetConnectionState(STATE_GAME_LOGIN_SENT);
    Modal()->keyPress(27);  // Escape: command 29 to the main game window
    EXPECT_EQ(GetConnectionState(), STATE_OFFLINE);
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    ASSERT_EQ(QueuedTypes(), (std::vector<int>{MESSAGE_WAITFORLIST, MESSAGE_CHARACTERLIST}));
    EXPECT_EQ(GetQueuedEvent(0).Data, 20);
    EXPECT_EQ(GetQueuedEvent(1).Data, 300);
    ClearEvents();

    // Aborting the login server's connection brings nothing back.
    PostEvent(MESSAGE_CONNECTING_LIST, 0, 0);
    frame::Pump();
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Connecting");
    SetConnectionState(STATE_LOGIN_SENT);
    Modal()->keyPress(27);
    EXPECT_EQ(GetConnectionState(), STATE_OFFLINE);
    EXPECT_EQ(GetNumberOfEvents(), 0);
}

TEST_F(DialogTest, DownloadBoxGivesWayWhenNoTransferIsUnderWay) {
    PostTextEvent(MESSAGE_PATCHPROGRESS, "Vorna.spr", nullptr);
    PostEvent(MESSAGE_MOTD, 0, 0);
    frame::Pump();
    EXPECT_EQ(ModalCaption(), "Updating ... Please wait");
    frame::Pump();
    EXPECT_EQ(ModalCaption(), "Message of the Day");
}

TEST_F(DialogTest, StartButtonsCountOnlyOffline) {
    SetConnectionState(STATE_LOGIN_SENT);
    GetMainWindow()->command(MAIN_ENTER_GAME);
    EXPECT_EQ(GetNumberOfEvents(), 0);
    SetConnectionState(STATE_OFFLINE);
    ClickOn(GetMainWindow()->getStartView()->getButton(3));  // Access Account
    ASSERT_EQ(platform::headless::OpenedDocuments().size(), 1u);
    EXPECT_EQ(GetModalWindow(), nullptr);
}

}  // namespace

namespace {

TEST_F(DialogTest, EveryStartButtonIsWideEnoughForItsCaption) {
    StartView* view = GetMainWindow()->getStartView();
    ASSERT_NE(view, nullptr);
    const int width = view->getButton(0)->getWidth();
    for (int i = 0; i < StartView::BUTTONS; ++i) {
        TextButton* button = view->getButton(i);
        EXPECT_EQ(button->getWidth(), width) << button->getText();
        EXPECT_GT(button->getWidth(), GetTextWidth(SkinProperties().Buttons.Font, button->getText().c_str()) + 4)
            << button->getText();
    }
}

}  // namespace
