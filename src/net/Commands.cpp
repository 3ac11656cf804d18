// Sections: locations; session state; walking; objects; containers and
// texts; talk and channels; fight and party; the rest.
#include "net/Commands.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/TalkModes.h"
#include "net/GameHooks.h"
#include "net/Network.h"
#include "platform/Platform.h"
#include "world/Creatures.h"
#include "world/Objects.h"

namespace {

// Set while an outfit dialog has been asked for and has not arrived.
bool OutfitRequested = false;

void AddLocation(const ObjectLocation& L) {
    AddWord(uint16_t(L.x));
    AddWord(uint16_t(L.y));
    AddByte(uint8_t(L.z));
}

void AddThing(const ObjectLocation& L, int Type, int Stack) {
    AddLocation(L);
    AddWord(uint16_t(Type));
    AddByte(uint8_t(Stack));
}

void SendEmpty(int Command) {
    BeginPacket(Command);
    SendPacket();
}

void SendQuad(int Command, uint32_t Value) {
    BeginPacket(Command);
    AddQuad(Value);
    SendPacket();
}

void SendText(int Command, const char* Text) {
    BeginPacket(Command);
    AddString(Text);
    SendPacket();
}

void SendNumber(int Command, int Value) {
    BeginPacket(Command);
    AddByte(uint8_t(Value));
    SendPacket();
}

void SendChannel(int Command, int ChannelID) {
    BeginPacket(Command);
    AddWord(uint16_t(ChannelID));
    SendPacket();
}

}  // namespace

// ---- Locations --------------------------------------------------------------------------

ObjectLocation MapLocation(int x, int y, int z) { return ObjectLocation{x, y, z}; }
ObjectLocation ContainerLocation(int Container, int Position) { return ObjectLocation{0xFFFF, 64 + Container, Position}; }
ObjectLocation BodyLocation(int Slot) { return ObjectLocation{0xFFFF, Slot, 0}; }

// ---- Session state ------------------------------------------------------------------------

void InitCommands() { OutfitRequested = false; }
void ClearOutfitRequest() { OutfitRequested = false; }
bool IsOutfitRequested() { return OutfitRequested; }

void SendLogout() { SendEmpty(20); }
void SendPong() { SendEmpty(30); }

// ---- Walking ------------------------------------------------------------------------------

void SendAutoWalk(int GoToResult) {
    if (GoToResult != 1 && GoToResult != 2) return;
    // Walking somewhere means the player no longer wants to run after anyone.
    if (GetAutoChaseOff() && GetAttackTarget() != 0 && GetChaseMode() != 0) {
        SetChaseMode(0);
        SendFightModes();
    }
    if (GetFollowTarget() != 0) {
        SetFollowTarget(0);
        SetAttackTarget(0);
        SendFollow(0);
    }
    if (GoToResult == 2) {
        SendEmpty(105);
        return;
    }
    int Steps = GetNumberOfPlayerSteps();
    ASSERT(Steps>0);
    if (Steps <= 0) return;
    if (Steps == 1) {
        SendStep(GetPlayerStep(0));
        return;
    }
    BeginPacket(100);
    AddByte(uint8_t(Steps));
    for (int i = 0; i < Steps; i++) AddByte(uint8_t(GetPlayerStep(i)));
    SendPacket();
}

void SendPendingSteps() {
    if (UpdateWalking(platform::Milliseconds())) SendAutoWalk(1);
}

void SendStep(int Code) {
    // direction codes 1 east, 2 north-east, ... 8 south-east
    static const int Command[9] = {0, 102, 106, 101, 109, 104, 108, 103, 107};
    ASSERT(In(Code,1,8));
    if (!In(Code, 1, 8)) return;
    SendEmpty(Command[Code]);
}

void SendTurn(int Direction) {
    ASSERT(In(Direction,0,3));
    if (!In(Direction, 0, 3)) return;
    SendEmpty(111 + Direction);
}

// ---- Objects ------------------------------------------------------------------------------

void SendMoveObject(const ObjectLocation& From, int Type, int Stack, int x, int y, int z, int Count) {
    if (GetObjectFlag(Type, UNMOVE)) {
        ShowStatusMessage("You cannot move this object.");
        return;
    }
    if (From.OnMap()) StopWalking();
    BeginPacket(120);
    AddThing(From, Type, Stack);
    AddWord(uint16_t(x));
    AddWord(uint16_t(y));
    AddByte(uint8_t(z));
    AddByte(uint8_t(Count));
    SendPacket();
}

void SendTradeRequest(const ObjectLocation& Where, int Type, int Stack, uint32_t Partner) {
    StopWalking();
    BeginPacket(125);
    AddThing(Where, Type, Stack);
    AddQuad(Partner);
    SendPacket();
}

void SendLookAtTrade(int Side, int Index) {
    BeginPacket(126);
    AddByte(uint8_t(Side));
    AddByte(uint8_t(Index));
    SendPacket();
}

void SendAcceptTrade() { SendEmpty(127); }
void SendCloseTrade() { SendEmpty(128); }

void SendUseObject(const ObjectLocation& Where, int Type, int Stack, int Container) {
    if (Where.OnMap()) StopWalking();
    BeginPacket(130);
    AddThing(Where, Type, Stack);
    AddByte(uint8_t(Container));
    SendPacket();
}

void SendUseObjectWith(const ObjectLocation& From, int FromType, int FromStack, const ObjectLocation& To, int ToType,
                       int ToStack) {
    if (From.OnMap() || To.OnMap()) StopWalking();
    BeginPacket(131);
    AddThing(From, FromType, FromStack);
    AddThing(To, ToType, ToStack);
    SendPacket();
}

void SendUseOnCreature(const ObjectLocation& Where, int Type, int Stack, uint32_t CreatureID) {
    StopWalking();
    BeginPacket(132);
    AddThing(Where, Type, Stack);
    AddQuad(CreatureID);
    SendPacket();
}

void SendRotateObject(const ObjectLocation& Where, int Type, int Stack) {
    BeginPacket(133);
    AddThing(Where, Type, Stack);
    SendPacket();
}

void SendLook(const ObjectLocation& Where, int Type, int Stack) {
    BeginPacket(140);
    AddThing(Where, Type, Stack);
    SendPacket();
}

// ---- Containers and texts -------------------------------------------------------------------

void SendCloseContainer(int Container) { SendNumber(135, Container); }
void SendContainerUp(int Container) { SendNumber(136, Container); }

void SendEditText(uint32_t TextID, const char* Text) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return;
    BeginPacket(137);
    AddQuad(TextID);
    AddString(Text);
    SendPacket();
}

void SendEditList(int Kind, uint32_t ListID, const char* Text) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return;
    BeginPacket(138);
    AddByte(uint8_t(Kind));
    AddQuad(ListID);
    AddString(Text);
    SendPacket();
}

// ---- Talk and channels ------------------------------------------------------------------------

void SendTalk(int Mode, const char* Addressee, int Channel, const char* Text) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return;
    const bool Plain = Mode == TALK_SAY || Mode == TALK_WHISPER || Mode == TALK_YELL ||
                       Mode == TALK_GAMEMASTER_REQUEST || Mode == TALK_PLAYER_ANSWER ||
                       Mode == TALK_GAMEMASTER_BROADCAST || Mode == TALK_ANONYMOUS_BROADCAST;
    const bool Private = Mode == TALK_PRIVATE_MESSAGE || Mode == TALK_GAMEMASTER_ANSWER ||
                         Mode == TALK_GAMEMASTER_MESSAGE || Mode == TALK_ANONYMOUS_MESSAGE;
    const bool Channelled = Mode == TALK_CHANNEL_CALL || Mode == TALK_GAMEMASTER_CHANNELCALL ||
                            Mode == TALK_ANONYMOUS_CHANNELCALL;
    if (Private) {
        ASSERT(Addressee!=NULL);
        if (Addressee == NULL) return;
        BeginPacket(150);
        AddByte(uint8_t(Mode));
        AddString(Addressee);
        AddString(Text);
        SendPacket();
    } else if (Channelled) {
        BeginPacket(150);
        AddByte(uint8_t(Mode));
        AddWord(uint16_t(Channel));
        AddString(Text);
        SendPacket();
    } else {
        ASSERT(Mode==TALK_SAY || Mode==TALK_WHISPER || Mode==TALK_YELL || Mode==TALK_GAMEMASTER_REQUEST || Mode==TALK_PLAYER_ANSWER || Mode==TALK_GAMEMASTER_BROADCAST || Mode==TALK_ANONYMOUS_BROADCAST);
        if (!Plain) return;
        BeginPacket(150);
        AddByte(uint8_t(Mode));
        AddString(Text);
        SendPacket();
    }
}

void SendRequestChannels() { SendEmpty(151); }
void SendOpenChannel(int ChannelID) { SendChannel(152, ChannelID); }
void SendCloseChannel(int ChannelID) { SendChannel(153, ChannelID); }
void SendOpenPrivateChannel(const char* Name) { SendText(154, Name); }
void SendProcessRequest(const char* Name) { SendText(155, Name); }
void SendCloseRequest(const char* Name) { SendText(156, Name); }
void SendCancelRequest() { SendEmpty(157); }

// ---- Fight and party ----------------------------------------------------------------------------

void SendFightModes() {
    BeginPacket(160);
    AddByte(uint8_t(GetAttackMode()));
    AddByte(uint8_t(GetChaseMode()));
    AddByte(uint8_t(GetSecureMode()));
    SendPacket();
}

void SendAttack(uint32_t CreatureID) {
    if (CreatureID != 0) StopWalking();
    SendQuad(161, CreatureID);
}

void SendFollow(uint32_t CreatureID) {
    if (CreatureID != 0) StopWalking();
    SendQuad(162, CreatureID);
}

void SendInviteToParty(uint32_t CreatureID) { SendQuad(163, CreatureID); }
void SendJoinParty(uint32_t CreatureID) { SendQuad(164, CreatureID); }
void SendRevokeInvitation(uint32_t CreatureID) { SendQuad(165, CreatureID); }
void SendPassLeadership(uint32_t CreatureID) { SendQuad(166, CreatureID); }
void SendLeaveParty() { SendEmpty(167); }
void SendCreateOwnChannel() { SendEmpty(170); }
void SendInviteToOwnChannel(const char* Name) { SendText(171, Name); }
void SendExcludeFromOwnChannel(const char* Name) { SendText(172, Name); }

// ---- The rest -----------------------------------------------------------------------------------

void SendCancel() { SendEmpty(190); }

void CancelAll() {
    StopWalking();
    SetAttackTarget(0);
    SetFollowTarget(0);
    SendCancel();
}

void SendRequestField(int x, int y, int z) {
    BeginPacket(201);
    AddWord(uint16_t(x));
    AddWord(uint16_t(y));
    AddByte(uint8_t(z));
    SendPacket();
}

void SendRequestContainer(int Container) { SendNumber(202, Container); }

void SendRequestOutfit() {
    if (OutfitRequested) return;
    OutfitRequested = true;
    SendEmpty(210);
}

void SendSetOutfit(int Outfit, const uint8_t* Colors) {
    ASSERT(Colors!=NULL);
    if (Colors == NULL) return;
    BeginPacket(211);
    AddByte(uint8_t(Outfit));
    for (int i = 0; i < 4; i++) AddByte(Colors[i]);
    SendPacket();
}

void SendAddBuddy(const char* Name) { SendText(220, Name); }
void SendRemoveBuddy(uint32_t CharacterID) { SendQuad(221, CharacterID); }
void SendBugReport(const char* Text) { SendText(230, Text); }

void SendRuleViolation(const char* Name, int Reason, const char* Comment, int Action, int Flag) {
    BeginPacket(231);
    AddString(Name);
    AddByte(uint8_t(Reason));
    AddString(Comment);
    AddByte(uint8_t(Action));
    AddByte(uint8_t(Flag));
    SendPacket();
}
