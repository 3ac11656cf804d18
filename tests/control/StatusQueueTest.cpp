#include "core/Status.h"

#include "core/sysinc.h"
#include "support/TestSupport.h"

#include <string>

namespace {

void NoWarning() {}

class StatusQueue : public testing::Test {
  protected:
    void SetUp() override {
        InitSysinc();
        InitStatus(0, NoWarning);
    }
    void TearDown() override {
        ExitStatus();
        ExitSysinc();
    }
};

TEST_F(StatusQueue, KeepsOrderWithFrontInsertionsAndGrowth) {
    EXPECT_EQ(PeekEventType(), MESSAGE_NONE);
    EXPECT_EQ(TakeEvent().Type, MESSAGE_NONE);
    // More than one block, so the array has to grow while events are shifted.
    for (int i = 0; i < 40; ++i) PostEvent(MESSAGE_CONNECTLOGIN, i, -i);
    PostEventFirst(MESSAGE_WAITOFFLINE, 7, 8);
    PostEventFirst(MESSAGE_INSTALL_DAT, 9, 10);
    ASSERT_EQ(GetNumberOfEvents(), 42);
    EXPECT_EQ(PeekEventType(), MESSAGE_INSTALL_DAT);
    Event e = TakeEvent();
    EXPECT_EQ(e.Type, MESSAGE_INSTALL_DAT);
    EXPECT_EQ(e.Data, 9);
    EXPECT_EQ(e.Extra, 10);
    EXPECT_EQ(TakeEvent().Type, MESSAGE_WAITOFFLINE);
    for (int i = 0; i < 40; ++i) {
        e = TakeEvent();
        ASSERT_EQ(e.Type, MESSAGE_CONNECTLOGIN);
        ASSERT_EQ(e.Data, i);
        ASSERT_EQ(e.Extra, -i);
    }
    EXPECT_EQ(GetNumberOfEvents(), 0);
    EXPECT_EQ(PeekEventType(), MESSAGE_NONE);
}

TEST_F(StatusQueue, TypeRangeIsChecked) {
    EXPECT_ASSERTION(PostEvent(68, 0, 0), "In(Type,MESSAGE_NONE,MESSAGE_STARTPATCHER)");
    EXPECT_ASSERTION(PostEventFirst(-1, 0, 0), "In(Type,MESSAGE_NONE,MESSAGE_STARTPATCHER)");
    EXPECT_EQ(GetNumberOfEvents(), 0);
    PostEvent(MESSAGE_STARTPATCHER, 0, 0);
    PostEvent(MESSAGE_NONE, 0, 0);
    EXPECT_EQ(GetNumberOfEvents(), 2);
}

TEST_F(StatusQueue, TextEventsCarryCopiesAndClearingFreesThem) {
    std::string title = "Connection failed";
    PostTextEvent(MESSAGE_ERROR, title.c_str(), "text");
    title[0] = 'X';
    PostTextEvent(MESSAGE_CHARACTERLIST, "ignored", nullptr);  // a numeric event takes no text
    const Event& first = GetQueuedEvent(0);
    EXPECT_STREQ(EventText(first.Data), "Connection failed");
    EXPECT_STREQ(EventText(first.Extra), "text");
    EXPECT_EQ(GetQueuedEvent(1).Data, 0);
    ClearEvents();  // the sanitizer build reports a leak if the texts stay
    EXPECT_EQ(GetNumberOfEvents(), 0);
}

TEST_F(StatusQueue, InitStatusEmptiesQueueStateAndCharacters) {
    PostTextEvent(MESSAGE_ERROR, "a", "b");
    SetConnectionState(STATE_GAME);
    SetInputMode(INPUT_DIALOG);
    SetAccountCharacters(2);
    ExitStatus();
    InitStatus(0, NoWarning);
    EXPECT_EQ(GetNumberOfEvents(), 0);
    EXPECT_EQ(GetConnectionState(), STATE_OFFLINE);
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);
    EXPECT_EQ(GetAccountCharacters(), 0);
    EXPECT_ASSERTION(SetConnectionState(9), "In(State,0,8)");
}

TEST_F(StatusQueue, CharacterListChecksIndexesAndFormatsAddresses) {
    SetAccountCharacters(1);
    const uint8_t address[4] = {192, 168, 0, 254};
    SetAccountCharacter(0, "Aldric", "Vornia", address, 7172);
    EXPECT_STREQ(GetAccountCharacter(0).AddressText, "192.168.0.254");
    EXPECT_ASSERTION(GetAccountCharacter(1), "In(Number,0,AccountCharacters-1)");
    EXPECT_ASSERTION(SetAccountCharacter(0, "abcdefghijklmnopqrstuvwxyz1234", "W", address, 1),
                     "Name!=NULL && strlen(Name)<30");
    EXPECT_ASSERTION(SetPassword("abcdefghijklmnopqrstuvwxyz1234"), "Password!=NULL && strlen(Password)<30");
    SetPassword("abcdefghijklmnopqrstuvwxyz123");
    EXPECT_STREQ(GetPassword(), "abcdefghijklmnopqrstuvwxyz123");
}

TEST_F(StatusQueue, AccountStatusTexts) {
    SetPremiumDays(0);
    EXPECT_EQ(GetAccountStatusText(1, 2, 3), "<font=4><red=1><green=2><blue=3>Account Status:\nFree Account");
    SetPremiumDays(65535);
    EXPECT_EQ(GetAccountStatusText(1, 2, 3),
              "<font=4><red=1><green=2><blue=3>Account Status:\nGratis Premium Account\n");
    SetPremiumDays(14);
    EXPECT_EQ(GetAccountStatusText(1, 2, 3),
              "<font=4><red=1><green=2><blue=3>Account Status:\nPremium Account (14 days left)");
    SetPremiumDays(13);
    EXPECT_EQ(GetAccountStatusText(1, 2, 3),
              "<font=4><red=1><green=2><blue=3>Account Status:\nPremium Account (<red=248><green=96><blue=96>13 "
              "days left<red=1><green=2><blue=3>)");
    SetPremiumDays(1);
    EXPECT_EQ(GetAccountStatusText(1, 2, 3),
              "<font=4><red=1><green=2><blue=3>Account Status:\nPremium Account (<red=248><green=96><blue=96>1 "
              "day left<red=1><green=2><blue=3>)");
}

TEST_F(StatusQueue, RightsAndRuleViolationTexts) {
    EXPECT_FALSE(HasRight(RIGHT_ANY));
    SetRight(40, 0x5);
    EXPECT_TRUE(HasRight(40));
    EXPECT_TRUE(HasRight(RIGHT_ANY));
    EXPECT_TRUE(HasSubRight(40, 2));
    EXPECT_FALSE(HasSubRight(40, 1));
    EXPECT_ASSERTION(SetRight(50, 1), "In(rightid,0,RIGHT_ANY-1)");
    ClearRights();
    EXPECT_FALSE(HasRight(RIGHT_ANY));
    EXPECT_STREQ(GetRuleViolationReason(0), "1a) Offensive name");
    EXPECT_STREQ(GetRuleViolationReason(31), "Invalid payment");
    EXPECT_ASSERTION(GetRuleViolationReason(32), "false");
    EXPECT_STREQ(GetRuleViolationAction(6), "IP Banishment");
    EXPECT_ASSERTION(GetRuleViolationAction(7), "false");
}

}  // namespace
