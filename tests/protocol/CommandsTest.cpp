// The client's commands byte for byte, with their guards and the auto-walk
// sending rules.
#include "ProtocolFixture.h"

#include "core/TalkModes.h"

namespace protocol_test {
namespace {

using testworld::ANVIL;
using testworld::ITEM_A;

class Commands : public ProtocolTest {};

TEST_F(Commands, OneStepIsItsOwnCommandAndSeveralGoAsAPath) {
    EnterSurfaceMap();
    SendAutoWalk(GoTo(101, 100, 7, false, false));
    EXPECT_EQ(Sent(), "01 00 66");
    StopWalking();
    SendAutoWalk(GoTo(103, 100, 7, false, false));
    EXPECT_EQ(Sent(), "05 00 64 03 01 01 01");
    // a new destination while the walk runs sends the stop-walk command
    SendAutoWalk(GoTo(100, 97, 7, false, false));
    EXPECT_EQ(Sent(), "01 00 69");
}

TEST_F(Commands, EverySingleStepDirectionHasItsCommand) {
    for (int Code = 1; Code <= 8; Code++) SendStep(Code);
    EXPECT_EQ(Sent(), "01 00 66 01 00 6A 01 00 65 01 00 6D 01 00 68 01 00 6C 01 00 67 01 00 6B");
    for (int d = 0; d < 4; d++) SendTurn(d);
    EXPECT_EQ(Sent(), "01 00 6F 01 00 70 01 00 71 01 00 72");
    EXPECT_ASSERTION(SendStep(9), "In(Code,1,8)");
}

TEST_F(Commands, WalkingDropsTheFollowTargetAndAutoChaseSwitchesChaseOff) {
    EnterSurfaceMap();
    SetAutoChaseOff(true);
    SetChaseMode(1);
    SetAttackTarget(0x40000001);
    SendAutoWalk(GoTo(99, 100, 7, false, false));
    EXPECT_EQ(Sent(), "04 00 A0 02 00 01 01 00 68");
    EXPECT_EQ(GetChaseMode(), 0);
    EXPECT_EQ(GetAttackTarget(), 0x40000001u);  // still attacking, only not chasing
    StopWalking();
    SetFollowTarget(0x40000002);
    SendAutoWalk(GoTo(100, 101, 7, false, false));
    EXPECT_EQ(Sent(), "05 00 A2 00 00 00 00 01 00 67");
    EXPECT_EQ(GetFollowTarget(), 0u);
    EXPECT_EQ(GetAttackTarget(), 0u);
}

TEST_F(Commands, AttackingNobodyKeepsTheWalkAndAttackingSomeoneStopsIt) {
    EnterSurfaceMap();
    SendAutoWalk(GoTo(104, 100, 7, false, false));
    Sent();
    SendAttack(0);
    EXPECT_EQ(Sent(), "05 00 A1 00 00 00 00");
    EXPECT_EQ(GetNumberOfPlayerSteps(), 4);
    SendFollow(0x40000005);
    EXPECT_EQ(Sent(), "05 00 A2 05 00 00 40");
    EXPECT_EQ(GetNumberOfPlayerSteps(), 0);
}

TEST_F(Commands, MovingAnUnmovableObjectSendsNothingAndSaysSo) {
    EnterSurfaceMap();
    SendMoveObject(MapLocation(101, 100, 7), ANVIL, 1, 102, 100, 7, 1);
    EXPECT_EQ(Sent(), "");
    EXPECT_EQ(Calls, (std::vector<std::string>{"status You cannot move this object."}));
    SendAutoWalk(GoTo(103, 100, 7, false, false));
    Sent();
    SendMoveObject(ContainerLocation(2, 5), ITEM_A, 5, 0xFFFF, 3, 0, 1);
    EXPECT_EQ(Sent(), "0F 00 78 FF FF 42 00 05 69 00 05 FF FF 03 00 00 01");
    EXPECT_EQ(GetNumberOfPlayerSteps(), 3);  // from a container the walk goes on
    SendMoveObject(MapLocation(101, 100, 7), ITEM_A, 1, 102, 100, 7, 1);
    EXPECT_EQ(Sent(), "0F 00 78 65 00 64 00 07 69 00 01 66 00 64 00 07 01");
    EXPECT_EQ(GetNumberOfPlayerSteps(), 0);
}

TEST_F(Commands, ObjectCommandsWriteLocationTypeAndStackPosition) {
    SendUseObject(BodyLocation(5), ITEM_A, 0, 3);
    EXPECT_EQ(Sent(), "0A 00 82 FF FF 05 00 00 69 00 00 03");
    SendUseObjectWith(ContainerLocation(0, 1), ITEM_A, 1, MapLocation(300, 301, 8), 100, 2);
    EXPECT_EQ(Sent(), "11 00 83 FF FF 40 00 01 69 00 01 2C 01 2D 01 08 64 00 02");
    SendUseOnCreature(BodyLocation(6), ITEM_A, 0, 0x10000002);
    EXPECT_EQ(Sent(), "0D 00 84 FF FF 06 00 00 69 00 00 02 00 00 10");
    SendRotateObject(MapLocation(1, 2, 3), ITEM_A, 4);
    EXPECT_EQ(Sent(), "09 00 85 01 00 02 00 03 69 00 04");
    SendLook(MapLocation(1, 2, 3), ITEM_A, 4);
    EXPECT_EQ(Sent(), "09 00 8C 01 00 02 00 03 69 00 04");
    SendTradeRequest(BodyLocation(5), ITEM_A, 0, 0x10000003);
    EXPECT_EQ(Sent(), "0D 00 7D FF FF 05 00 00 69 00 00 03 00 00 10");
    SendLookAtTrade(1, 4);
    SendAcceptTrade();
    SendCloseTrade();
    EXPECT_EQ(Sent(), "03 00 7E 01 04 01 00 7F 01 00 80");
    SendCloseContainer(4);
    SendContainerUp(4);
    SendRequestContainer(4);
    EXPECT_EQ(Sent(), "02 00 87 04 02 00 88 04 02 00 CA 04");
}

TEST_F(Commands, TalkModesByGroup) {
    SendTalk(TALK_SAY, nullptr, 0, "hi");
    EXPECT_EQ(Sent(), "06 00 96 01 02 00 68 69");
    SendTalk(TALK_PRIVATE_MESSAGE, "Mira", 0, "yo");
    EXPECT_EQ(Sent(), "0C 00 96 04 04 00 4D 69 72 61 02 00 79 6F");
    SendTalk(TALK_CHANNEL_CALL, nullptr, 0x0102, "x");
    EXPECT_EQ(Sent(), "07 00 96 05 02 01 01 00 78");
    EXPECT_ASSERTION(SendTalk(TALK_ANIMAL_LOW, nullptr, 0, "x"),
                     "Mode==TALK_SAY || Mode==TALK_WHISPER || Mode==TALK_YELL || Mode==TALK_GAMEMASTER_REQUEST || "
                     "Mode==TALK_PLAYER_ANSWER || Mode==TALK_GAMEMASTER_BROADCAST || "
                     "Mode==TALK_ANONYMOUS_BROADCAST");
    EXPECT_ASSERTION(SendTalk(TALK_PRIVATE_MESSAGE, nullptr, 0, "x"), "Addressee!=NULL");
    EXPECT_ASSERTION(SendTalk(TALK_SAY, nullptr, 0, nullptr), "Text!=NULL");
    EXPECT_EQ(Sent(), "");
}

TEST_F(Commands, ChannelsPartyAndTheRest) {
    SendRequestChannels();
    SendOpenChannel(7);
    SendCloseChannel(7);
    EXPECT_EQ(Sent(), "01 00 97 03 00 98 07 00 03 00 99 07 00");
    SendOpenPrivateChannel("Mira");
    SendProcessRequest("Mira");
    SendCloseRequest("Mira");
    SendCancelRequest();
    EXPECT_EQ(Sent(), "07 00 9A 04 00 4D 69 72 61 07 00 9B 04 00 4D 69 72 61 07 00 9C 04 00 4D 69 72 61 01 00 9D");
    SendInviteToParty(1);
    SendJoinParty(2);
    SendRevokeInvitation(3);
    SendPassLeadership(4);
    SendLeaveParty();
    EXPECT_EQ(Sent(), "05 00 A3 01 00 00 00 05 00 A4 02 00 00 00 05 00 A5 03 00 00 00 05 00 A6 04 00 00 00 01 00 A7");
    SendCreateOwnChannel();
    SendInviteToOwnChannel("A");
    SendExcludeFromOwnChannel("B");
    EXPECT_EQ(Sent(), "01 00 AA 04 00 AB 01 00 41 04 00 AC 01 00 42");
    SendEditText(5, "ab");
    SendEditList(2, 6, "c");
    EXPECT_EQ(Sent(), "09 00 89 05 00 00 00 02 00 61 62 09 00 8A 02 06 00 00 00 01 00 63");
    const uint8_t Colours[4] = {10, 20, 30, 40};
    SendSetOutfit(2, Colours);
    EXPECT_EQ(Sent(), "06 00 D3 02 0A 14 1E 28");
    EXPECT_ASSERTION(SendSetOutfit(2, nullptr), "Colors!=NULL");
    SendAddBuddy("Mira");
    SendRemoveBuddy(9);
    SendBugReport("bug");
    EXPECT_EQ(Sent(), "07 00 DC 04 00 4D 69 72 61 05 00 DD 09 00 00 00 06 00 E6 03 00 62 75 67");
    SendRuleViolation("Pest", 3, "spam", 2, 1);
    EXPECT_EQ(Sent(), "10 00 E7 04 00 50 65 73 74 03 04 00 73 70 61 6D 02 01");
    SendLogout();
    SendPong();
    SendRequestField(0x1234, 0x0506, 9);
    EXPECT_EQ(Sent(), "01 00 14 01 00 1E 06 00 C9 34 12 06 05 09");
}

// What the player writes goes as one command however long it is: a list
// pasted into the list editor (4095 characters), a text the server lets him
// write to 8000; the packet carries what fits into the send buffer.
TEST_F(Commands, TextsLongerThanAPacketGoCutToFit) {
    const std::string List(4095, 'n'), Text(8000, 't');
    SendEditList(2, 6, List.c_str());
    SendEditText(5, Text.c_str());
    SendTalk(TALK_SAY, nullptr, 0, std::string(255, 's').c_str());
    const std::string Hex = Sent();
    // Each fills the 2048 bytes of the buffer: the list keeps 2048 - 10 of
    // its characters, the text 2048 - 9; the talk after them is whole.
    const std::string FullList = "FE 07 8A 02 06 00 00 00 F6 07 ";
    const std::string FullText = "FE 07 89 05 00 00 00 F7 07 ";
    ASSERT_EQ(Hex.substr(0, FullList.size()), FullList);
    EXPECT_EQ(Hex.substr(FullList.size(), 6), "6E 6E ");
    const size_t TextAt = FullList.size() + 3 * 2038;
    ASSERT_EQ(Hex.substr(TextAt, FullText.size()), FullText);
    const size_t TalkAt = TextAt + FullText.size() + 3 * 2039;
    EXPECT_EQ(Hex.substr(TalkAt, 18), "03 01 96 01 FF 00 ");
    EXPECT_EQ(Hex.size(), TalkAt + 3 * (2 + 1 + 1 + 2 + 255) - 1);
}

TEST_F(Commands, CancelStopsTheWalkAndClearsTheTargets) {
    EnterSurfaceMap();
    SendAutoWalk(GoTo(104, 100, 7, false, false));
    Sent();
    SetFollowTarget(0x40000001);
    CancelAll();
    EXPECT_EQ(Sent(), "01 00 BE");
    EXPECT_EQ(GetFollowTarget(), 0u);
    EXPECT_EQ(GetNumberOfPlayerSteps(), 0);
    int x, y, z;
    GetDestination(x, y, z);
    EXPECT_EQ(x, 0);
}

TEST_F(Commands, ANewGameConnectionForgetsTheOutfitRequest) {
    SendRequestOutfit();
    EXPECT_EQ(Sent(), "01 00 D2");
    EXPECT_TRUE(IsOutfitRequested());
    ControlConnectHandler();  // what the hub runs when the game connection stands
    EXPECT_FALSE(IsOutfitRequested());
}

}  // namespace
}  // namespace protocol_test
