// The control hub without a server: events, the close check, input delivery
// by input mode, the tick, and the dispatcher fed with packets directly; then
// the pointer and tooltips with the program's window hooks, and the player's
// position in the error log.
#include "ControlFixture.h"

#include "../net/LoopbackPeer.h"
#include "app/Interface.h"
#include "graphics/graphics.h"
#include "gui/framework/DialogElements.h"
#include "gui/framework/GUI.h"
#include "gui/framework/Skins.h"

#include <string>
#include <vector>

using namespace loopback;

namespace {

int ModalStorage = 0;
void* Modal = nullptr;
std::vector<std::string> Log;

void* GetModal() { return Modal; }
bool OpenDialogs(Event& e) {
    Log.push_back("open " + std::to_string(e.Type));
    FreeEvent(e);
    Modal = &ModalStorage;
    return true;
}
void Place(bool dialog, int, int) { Log.push_back(dialog ? "centre" : "at pointer"); }
void Destroy() {
    Log.push_back("destroy");
    Modal = nullptr;
}
std::string Name(const frame::Input& i) {
    static const char* names[] = {"move", "left down", "left up", "double", "right down", "right up", "wheel", "key"};
    return names[int(i.Kind)] + std::string(" ") + std::to_string(i.X) + "," + std::to_string(i.Y) +
           (i.Flags & frame::FLAG_SHIFT ? " shift" : "");
}
void ToMain(const frame::Input& i) { Log.push_back("main " + Name(i)); }
void ToModal(const frame::Input& i) { Log.push_back("modal " + Name(i)); }
void Offset(int& x, int& y) {
    x = 100;
    y = 50;
}
void Held(int x, int y, bool modal) {
    Log.push_back("held " + std::to_string(x) + "," + std::to_string(y) + (modal ? " modal" : ""));
}
void Hover(int x, int y, bool modal) {
    Log.push_back("hover " + std::to_string(x) + "," + std::to_string(y) + (modal ? " modal" : ""));
}

class Control : public ControlFixture {
  protected:
    void SetUp() override {
        Modal = nullptr;
        Log.clear();
        SetClassicControl(false);
        ControlFixture::SetUp();
    }
    void addHooks(ControlHooks& hooks) override {
        hooks.CarryOutEvent = OpenDialogs;
        hooks.PlaceModalWindow = Place;
        hooks.GetModalWindow = GetModal;
        hooks.DestroyModalWindow = Destroy;
        hooks.DeliverToMain = ToMain;
        hooks.DeliverToModal = ToModal;
        hooks.GetModalOffset = Offset;
        hooks.HeldButton = Held;
        hooks.Hover = Hover;
    }
    void TearDown() override {
        ControlFixture::TearDown();
        SetClassicControl(false);
    }
    static void Input(frame::InputKind kind, int x = 0, int y = 0, int code = 0) {
        frame::Input i{kind, x, y, 0, code};
        DeliverInput(i);
    }
    static void Inject(const std::string& bytes) {
        InjectReceivedBytes(reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()));
    }
};

TEST_F(Control, DialogsOpenOneAtATimeAndMenusAtThePointer) {
    PostTextEvent(MESSAGE_ERROR, "Sorry", "first");
    PostTextEvent(MESSAGE_ERROR, "Sorry", "second");
    ProcessEvents();
    EXPECT_EQ(Log, (std::vector<std::string>{"open 1", "centre"}));
    EXPECT_EQ(GetInputMode(), INPUT_DIALOG);
    EXPECT_EQ(GetNumberOfEvents(), 1);  // waits for the first dialog to close
    ProcessEvents();
    EXPECT_EQ(GetNumberOfEvents(), 1);

    // The dialog ended itself (input mode 0): destroyed, then the next one.
    SetInputMode(INPUT_IDLE);
    Log.clear();
    ProcessEvents();
    EXPECT_EQ(Log, (std::vector<std::string>{"destroy", "open 1", "centre"}));
    Modal = nullptr;
    SetInputMode(INPUT_IDLE);
    PostEvent(47, 0, 0);
    Log.clear();
    ProcessEvents();
    EXPECT_EQ(Log, (std::vector<std::string>{"open 47", "at pointer"}));
    EXPECT_EQ(GetInputMode(), INPUT_MENU);
}

TEST_F(Control, CloseCheckInTheGame) {
    EXPECT_TRUE(CanClose());
    SetConnectionState(STATE_GAME);
    EXPECT_FALSE(CanClose());
    ASSERT_EQ(GetNumberOfEvents(), 1);
    EXPECT_EQ(PeekEventType(), MESSAGE_LOGOUTWARNING);
    ClearEvents();
    Modal = &ModalStorage;
    EXPECT_FALSE(CanClose());
    EXPECT_EQ(GetNumberOfEvents(), 0);  // no second warning over an open dialog
}

TEST_F(Control, ReconnectAfterLeavingTheGameWithinFiveSeconds) {
    Listener peer;
    for (int i = 0; i < NUMBEROFSERVER; ++i) SetLoginServer(i, "127.0.0.1", peer.Port());
    for (int late = 0; late < 2; ++late) {
        ConnectLoginServer();
        ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_LOGIN_SENT; }));
        int fd = peer.Accept();
        SetConnectionState(STATE_GAME);
        PostEvent(MESSAGE_RELOGIN, 0, 0);
        ProcessEvents();
        EXPECT_TRUE(IsReconnectRequested());
        EXPECT_EQ(GetReconnectDeadline(), Now + 5000);
        Now += late ? 5001 : 5000;
        Close(fd);
        ASSERT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_OFFLINE; }));
        EXPECT_FALSE(IsReconnectRequested());
        std::vector<int> types;
        while (GetNumberOfEvents() > 0) types.push_back(TakeEvent().Type);
        // No character list: the game follows at once, or nothing after the deadline.
        EXPECT_EQ(types, late ? std::vector<int>{} : (std::vector<int>{MESSAGE_CONNECTGAME, MESSAGE_CONNECTING_GAME}));
    }
    // Without a connection, logging in again starts at the login server.
    PostEvent(MESSAGE_RELOGIN, 0, 0);
    ControlHooks hooks = GetControlHooks();
    hooks.CarryOutEvent = nullptr;
    SetControlHooks(hooks);
    PostEvent(MESSAGE_WAITOFFLINE, 0, 0);
    ProcessEvents();
    EXPECT_EQ(GetConnectionState(), STATE_CONNECTING_LOGIN);
    Disconnect(true);
}

TEST_F(Control, DragStartsBeyondThreePixels) {
    Input(frame::InputKind::LeftDown, 10, 10);
    EXPECT_EQ(GetInputMode(), INPUT_LEFT);
    Input(frame::InputKind::PointerMove, 13, 7);
    EXPECT_EQ(GetInputMode(), INPUT_LEFT);
    Input(frame::InputKind::PointerMove, 10, 14);
    EXPECT_EQ(GetInputMode(), INPUT_DRAG);
    EXPECT_EQ(GetPointerKind(), 5);
    Input(frame::InputKind::LeftUp, 10, 14);
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    EXPECT_EQ(Log, (std::vector<std::string>{"main left down 10,10", "main move 13,7", "main move 10,14",
                                             "main left up 10,14"}));
}

TEST_F(Control, ClassicControlBothButtonsGiveAShiftedRelease) {
    SetClassicControl(true);
    Input(frame::InputKind::RightDown, 5, 5);
    Input(frame::InputKind::LeftDown, 5, 5);
    EXPECT_EQ(GetInputMode(), INPUT_BOTH);
    Input(frame::InputKind::RightUp, 5, 5);
    EXPECT_EQ(GetInputMode(), INPUT_BOTH_RIGHT_RELEASED);
    Input(frame::InputKind::LeftUp, 5, 5);
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    EXPECT_EQ(Log, (std::vector<std::string>{"main left up 5,5 shift"}));

    SetClassicControl(false);
    Log.clear();
    Input(frame::InputKind::RightDown, 5, 5);
    Input(frame::InputKind::LeftDown, 5, 5);
    EXPECT_EQ(GetInputMode(), INPUT_RIGHT);
    Input(frame::InputKind::RightUp, 5, 5);
    EXPECT_EQ(Log, (std::vector<std::string>{"main right up 5,5"}));
}

TEST_F(Control, ModalWindowGetsRelativePositionsAndEndsOnRelease) {
    Modal = &ModalStorage;
    SetInputMode(INPUT_DIALOG);
    Input(frame::InputKind::PointerMove, 150, 80);
    Input(frame::InputKind::LeftDown, 150, 80);
    EXPECT_EQ(Log, (std::vector<std::string>{"modal move 50,30", "modal left down 50,30"}));
    Log.clear();
    // The dialog sets the mode to 0 when it is done: closed after the release.
    ControlHooks hooks = GetControlHooks();
    hooks.DeliverToModal = [](const frame::Input& i) {
        ToModal(i);
        SetInputMode(INPUT_IDLE);
    };
    SetControlHooks(hooks);
    Input(frame::InputKind::LeftUp, 150, 80);
    EXPECT_EQ(Log, (std::vector<std::string>{"modal left up 50,30", "destroy"}));
    EXPECT_EQ(Modal, nullptr);
    Modal = nullptr;
    SetInputMode(INPUT_DIALOG);
    EXPECT_ASSERTION(Input(frame::InputKind::Wheel, 1, 1, 1), "ModalWindow!=NULL");
}

TEST_F(Control, HeldButtonRepeatsAfterSevenTicksAndHoverAfterTen) {
    for (int i = 0; i < 3; ++i) ControlTimerTick();
    // The map's animations run on the ticks.
    EXPECT_EQ(GetAnimationClock(), 3u);
    Input(frame::InputKind::PointerMove, 20, 30);
    Input(frame::InputKind::LeftDown, 20, 30);
    Log.clear();
    for (int i = 0; i < 6; ++i) ControlTimerTick();
    EXPECT_TRUE(Log.empty());
    ControlTimerTick();
    EXPECT_EQ(Log, (std::vector<std::string>{"held 20,30"}));
    ControlTimerTick();
    EXPECT_EQ(Log.size(), 2u);
    Input(frame::InputKind::LeftUp, 20, 30);
    Log.clear();
    ControlTimerTick();
    EXPECT_TRUE(Log.empty());

    Input(frame::InputKind::PointerMove, 40, 40);
    Log.clear();
    for (int i = 0; i < 9; ++i) ControlTimerTick();
    EXPECT_TRUE(Log.empty());
    ControlTimerTick();
    EXPECT_EQ(Log, (std::vector<std::string>{"hover 40,40"}));
    for (int i = 0; i < 20; ++i) ControlTimerTick();
    EXPECT_EQ(Log.size(), 1u);
}

TEST_F(Control, DispatcherInTheLoginState) {
    SetConnectionState(STATE_LOGIN_SENT);
    Inject(Packet(Bytes({20}) + String("5\nHello") + Bytes({20}) + String("no line feed")));
    EXPECT_EQ(GetConnectionState(), STATE_LOGIN_ANSWERING);
    EXPECT_EQ(GetNumberOfEvents(), 1);  // number 5 is new
    EXPECT_EQ(GetLastMotD(), 5);
    EXPECT_STREQ(GetMessageOfTheDay(), "Hello");
    ClearEvents();
    Inject(Packet(Bytes({20}) + String("5\nAgain") + Bytes({11}) + String("Note")));
    // The same number again shows no dialog.
    ASSERT_EQ(GetNumberOfEvents(), 1);
    EXPECT_STREQ(EventText(GetQueuedEvent(0).Data), "For your Information");
    EXPECT_STREQ(EventText(GetQueuedEvent(0).Extra), "Note");
    EXPECT_STREQ(GetMessageOfTheDay(), "Again");
    ClearEvents();
    EXPECT_ASSERTION(Inject(Packet(Bytes({99}))), "false");
    EXPECT_EQ(GetLastCommand(), 99);
}

TEST_F(Control, DispatcherInTheGameStates) {
    SetConnectionState(STATE_GAME_LOGIN_SENT);
    Inject(Packet(Bytes({22}) + String("You are number 3.") + Bytes({15})));
    EXPECT_EQ(GetConnectionState(), STATE_GAME_ANSWERING);
    ASSERT_EQ(GetNumberOfEvents(), 1);
    EXPECT_EQ(GetQueuedEvent(0).Type, MESSAGE_WAITINGLIST);
    EXPECT_STREQ(EventText(GetQueuedEvent(0).Data), "You are number 3.");
    EXPECT_EQ(GetQueuedEvent(0).Extra, 15);
    ClearEvents();
    // A listed command that no module handles yet, and an unlisted one.
    EXPECT_ASSERTION(Inject(Packet(Bytes({100}))), "false");
    EXPECT_ASSERTION(Inject(Packet(Bytes({99}))), "false");
    EXPECT_EQ(GetLastCommand(), 99);
    // A handler attached later is called with the packet's fields.
    static int Seen = 0;
    SetGameCommandHandler(100, [] { Seen = GetWord(); });
    Inject(Packet(Bytes({100}) + Word(4242)));
    EXPECT_EQ(Seen, 4242);
    // The refusal ends the connection; what follows in the packet is dropped.
    Inject(Packet(Bytes({20}) + String("Sorry.") + Bytes({99})));
    EXPECT_EQ(GetConnectionState(), STATE_OFFLINE);
    ASSERT_EQ(GetNumberOfEvents(), 1);
    EXPECT_STREQ(EventText(GetQueuedEvent(0).Data), "Sorry");
    // In the game (a death) the box comes first, then the game is left for
    // the character list instead of staying on a dead view.
    ClearEvents();
    SetConnectionState(STATE_GAME);
    Inject(Packet(Bytes({20}) + String("You are dead.")));
    EXPECT_EQ(GetConnectionState(), STATE_OFFLINE);
    ASSERT_EQ(GetNumberOfEvents(), 2);
    EXPECT_STREQ(EventText(GetQueuedEvent(0).Data), "Sorry");
    EXPECT_EQ(GetQueuedEvent(1).Type, MESSAGE_CHARACTERLIST);
    EXPECT_EQ(GetQueuedEvent(1).Data, 300);
}

TEST_F(Control, LinkWarningAsksTheQuestion) {
    SetInputMode(INPUT_LEFT);
    ControlLinkWarning();
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    ASSERT_EQ(GetNumberOfEvents(), 1);
    EXPECT_EQ(GetQueuedEvent(0).Type, MESSAGE_LINKWARNING);
    EXPECT_STREQ(EventText(GetQueuedEvent(0).Data), "Link copy warning");
}

// ---- With the program's own window hooks and real components --------------------------------

// A component that offers a tooltip when the pointer rests on it.
class TipArea : public Component {
  public:
    void mouseRest(int x, int y) override {
        RestX = x;
        RestY = y;
        SetTooltipText("Close this window");
    }
    int RestX = -1, RestY = -1;
};

class ControlWithWindows : public ControlFixture {
  protected:
    void SetUp() override {
        ControlFixture::SetUp();
        InitSkins();
        InitGUI();
        // A dialog at (100, 50) with a text that has a tooltip and a resize
        // grip in its lower right corner.
        Dialog = new CompositeComponent;
        Dialog->setPosition(100, 50);
        Dialog->setSize(200, 100);
        Tip = new TipArea;
        Dialog->addChild(Tip);
        Tip->setPosition(10, 10);
        Tip->setSize(60, 20);
        Grip = new Resizer(Dialog, false, true);
        Dialog->addChild(Grip);
        Grip->setPosition(200 - Grip->getWidth(), 100 - Grip->getHeight());
        SetModalWindow(Dialog);
        SetInputMode(INPUT_DIALOG);
    }
    void TearDown() override {
        ExitGUI();
        ExitSkins();
        SetInputMode(INPUT_IDLE);
        ControlFixture::TearDown();
    }
    void addHooks(ControlHooks& hooks) override { AddInterfaceHooks(hooks); }
    static void MoveTo(int x, int y) { DeliverInput(frame::Input{frame::InputKind::PointerMove, x, y, 0, 0}); }

    CompositeComponent* Dialog = nullptr;
    TipArea* Tip = nullptr;
    Resizer* Grip = nullptr;
};

TEST_F(ControlWithWindows, PointerShapeAndTooltipFollowThePointerIntoTheDialog) {
    // Over the grip the pointer shows the resize shape, elsewhere the arrow.
    MoveTo(100 + 200 - 2, 50 + 100 - 2);
    EXPECT_EQ(GetPointerKind(), 2);
    MoveTo(100 + 30, 50 + 25);
    EXPECT_EQ(GetPointerKind(), 1);

    // A second at rest over the text: its tooltip, placed at the pointer on
    // the screen although the dialog saw its own coordinates.
    for (int i = 0; i < HOVER_TICKS - 1; ++i) ControlTimerTick();
    EXPECT_EQ(GetTooltipText(), nullptr);
    ControlTimerTick();
    ASSERT_NE(GetTooltipText(), nullptr);
    EXPECT_STREQ(GetTooltipText(), "Close this window");
    EXPECT_EQ(Tip->RestX, 20);
    EXPECT_EQ(Tip->RestY, 15);
    int x = 0, y = 0;
    GetTooltipPoint(x, y);
    EXPECT_EQ(x, 130);
    EXPECT_EQ(y, 75);
    // The next movement takes it away.
    MoveTo(100 + 31, 50 + 25);
    EXPECT_EQ(GetTooltipText(), nullptr);

    // The input modes that have shapes of their own win over the component's.
    MoveTo(100 + 200 - 2, 50 + 100 - 2);
    const std::pair<int, int> ModeShapes[] = {
        {INPUT_TARGET_1, 4}, {INPUT_TARGET_2, 4}, {INPUT_DRAG, 5}, {INPUT_HELP, 6}, {INPUT_DIALOG, 2}};
    for (auto [Mode, Shape] : ModeShapes) {
        SetInputMode(Mode);
        EXPECT_EQ(GetPointerKind(), Shape) << "input mode " << Mode;
    }
}

// ---- The error log's position line ------------------------------------------------------------

TEST_F(Control, ErrorLogNamesThePlayersFieldOnlyOnceHisCreatureIsKnown) {
    const std::string Previous = assertion::ErrorLogPath();
    assertion::SetErrorLogPath((dir.Path() / "error.txt").string());
    // The position line of the latest record, "" when it has none.
    auto Fail = [] {
        EXPECT_ASSERTION([] { ASSERT(1 == 2); }(), "1 == 2");
        const std::string Log = testing_support::ReadFile(assertion::ErrorLogPath());
        const std::string Record = Log.substr(Log.rfind("Debug Assertion"));
        const size_t At = Record.find("\nposition:  ");
        return At == std::string::npos ? std::string() : Record.substr(At + 12, Record.find('\n', At + 1) - At - 12);
    };

    // The map's centre from an earlier game is no position for this one.
    SetMapPosition(500, 600, 7);
    SetConnectionState(STATE_GAME_LOGIN_SENT);
    const uint32_t Player = 0x10000001;
    Inject(Packet(Bytes({10}) + Quad(Player) + Word(50) + Bytes({0})));
    ASSERT_EQ(GetConnectionState(), STATE_GAME);
    ASSERT_EQ(GetPlayerID(), Player);
    EXPECT_EQ(Fail(), "");  // entered, but the creature has not come yet

    Creature* Me = NewCreature(0, Player);
    ASSERT_NE(Me, nullptr);
    SetCreaturePosition(Me, 32100, 31950, 6);
    EXPECT_EQ(Fail(), "[32100,31950,6]");

    SetConnectionState(STATE_OFFLINE);
    EXPECT_EQ(Fail(), "");  // out of the game, though the record is still there
    assertion::SetErrorLogPath(Previous);
}

}  // namespace
