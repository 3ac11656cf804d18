// From the start view into the game and back, against the reference server
// running as its own process, with nothing but injected pointer and key
// events reaching the client.
#include "ServerClientTest.h"

#include "net/Commands.h"
#include "net/GameMessages.h"

namespace {

class EndToEndTest : public ServerClientTest {};

TEST_F(EndToEndTest, EnterGameAsMiraAndLeaveToTheCharacterList) {
    ASSERT_TRUE(StartServer()) << (Server ? Server->Log : std::string());

    // The start view's "Enter Game".
    ClickOn(GetMainWindow()->getStartView()->getButton(0));
    ASSERT_EQ(ModalCaption(), "Enter Game");
    Type("100001");
    Press(platform::Key::Tab);
    Type("demo");
    Press(platform::Key::Return);

    // The connecting box, the server's message of the day (a new one is
    // shown once), then the character list of the demo account.
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Message of the Day"; })) << ModalCaption();
    Screenshot("e2e-message-of-the-day.png");
    Press(platform::Key::Return);
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Select Character"; })) << ModalCaption();
    EXPECT_EQ(GetAccountNumber(), 100001u);
    auto* body = Body<CharacterListBody>();
    ASSERT_NE(body, nullptr);
    ListBox* list = body->getList();
    int mira = -1;
    for (int i = 0; i < list->getLines(); ++i)
        if (list->getLine(i).rfind("Mira (", 0) == 0) mira = i;
    ASSERT_GE(mira, 0);
    Screenshot("e2e-character-list.png");

    // Click Mira's line, then "Ok".
    int lx = 0, ly = 0;
    list->getAbsolutePosition(lx, ly);
    const int lineHeight = SkinProperties().ListBox.LineHeight;
    Click(lx + 20, ly + SkinProperties().ListBox.Margin + mira * lineHeight + lineHeight / 2);
    EXPECT_EQ(list->getSelectedLine(), mira);
    ClickOn(Modal()->getDefaultButton());

    // The game state comes with the server's first message; the game view
    // and the connecting box's leaving follow in the frames after it.
    ASSERT_TRUE(PumpUntil([] {
        return GetConnectionState() == STATE_GAME && GetMainWindow()->inGameView() && GetModalWindow() == nullptr;
    })) << GetConnectionState() << " " << ModalCaption();
    EXPECT_STREQ(GetAccountCharacter(GetActiveCharacter()).Name, "Mira");
    EXPECT_EQ(GetMainWindow()->getStartView(), nullptr);
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    frame::Pump();
    Screenshot("e2e-in-game.png");

    // Ctrl+Q asks; "y" logs out; the server closes and the list returns.
    PressCtrl('q');
    ASSERT_EQ(ModalCaption(), "Warning");
    Type("y");
    ASSERT_TRUE(PumpUntil([] {
        return ModalCaption() == "Select Character" && GetConnectionState() == STATE_OFFLINE;
    })) << ModalCaption() << " " << GetConnectionState();
    EXPECT_FALSE(GetMainWindow()->inGameView());
    EXPECT_NE(GetMainWindow()->getStartView(), nullptr);
}

TEST_F(EndToEndTest, WrongPasswordShowsTheServersRefusal) {
    ASSERT_TRUE(StartServer()) << (Server ? Server->Log : std::string());
    ClickOn(GetMainWindow()->getStartView()->getButton(0));
    Type("100001");
    Press(platform::Key::Tab);
    Type("wrong");
    Press(platform::Key::Return);
    ASSERT_TRUE(PumpUntil([] {
        return GetModalWindow() != nullptr && ModalCaption() != "Connecting" && ModalCaption() != "Enter Game";
    })) << ModalCaption();
    EXPECT_EQ(ModalCaption(), "Sorry");
    Press(platform::Key::Return);
    EXPECT_EQ(GetModalWindow(), nullptr);
    // The server closes the refused connection; the client may see the
    // close a frame later.
    EXPECT_TRUE(PumpUntil([] { return GetConnectionState() == STATE_OFFLINE; })) << GetConnectionState();
}

TEST_F(EndToEndTest, StoppedServerGivesConnectionFailed) {
    ASSERT_TRUE(StartServer()) << (Server ? Server->Log : std::string());
    Server.reset();  // killed: the port refuses
    ClickOn(GetMainWindow()->getStartView()->getButton(0));
    Type("100001");
    Press(platform::Key::Tab);
    Type("demo");
    Press(platform::Key::Return);
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Connection failed"; })) << ModalCaption();
    Screenshot("connection-failed-server-stopped.png");
}

}  // namespace
