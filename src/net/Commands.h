// The client's commands to the game server: one function per command, each
// applying its guard, writing exactly the command's fields and sending.
#pragma once

#include <cstdint>

// Where an object is: on the map (absolute x, y, z), in an open container
// (x 0xFFFF, y 64 + container, z the place in it) or in a body slot
// (x 0xFFFF, y the slot, z 0).
struct ObjectLocation {
    int x = 0, y = 0, z = 0;
    bool OnMap() const { return x != 0xFFFF; }
};
ObjectLocation MapLocation(int x, int y, int z);
ObjectLocation ContainerLocation(int Container, int Position);
ObjectLocation BodyLocation(int Slot);

// Session state: the held-back outfit request.
void InitCommands();
void ClearOutfitRequest();
bool IsOutfitRequested();

void SendLogout();                       // 20
void SendPong();                         // 30
// After GoTo: 1 sends the step list (one step as its single-step command,
// more as command 100), 2 sends the stop-walk command 105. A follow target
// is dropped first, and chase mode goes off when AutoChaseOff asks for it.
void SendAutoWalk(int GoToResult);
// Once per idle pass in the game: when the walking logic has recomputed
// a path after a finished step, the new steps are sent.
void SendPendingSteps();
void SendStep(int Code);                 // 101..109 by direction code 1..8
void SendTurn(int Direction);            // 111..114, direction 0 north .. 3 west
void SendMoveObject(const ObjectLocation& From, int Type, int Stack, int x, int y, int z, int Count);  // 120
void SendTradeRequest(const ObjectLocation& Where, int Type, int Stack, uint32_t Partner);  // 125
void SendLookAtTrade(int Side, int Index);  // 126
void SendAcceptTrade();                  // 127
void SendCloseTrade();                   // 128
void SendUseObject(const ObjectLocation& Where, int Type, int Stack, int Container);  // 130
void SendUseObjectWith(const ObjectLocation& From, int FromType, int FromStack, const ObjectLocation& To, int ToType,
                       int ToStack);     // 131
void SendUseOnCreature(const ObjectLocation& Where, int Type, int Stack, uint32_t CreatureID);  // 132
void SendRotateObject(const ObjectLocation& Where, int Type, int Stack);  // 133
void SendCloseContainer(int Container);  // 135
void SendContainerUp(int Container);     // 136
void SendEditText(uint32_t TextID, const char* Text);  // 137
void SendEditList(int Kind, uint32_t ListID, const char* Text);  // 138
void SendLook(const ObjectLocation& Where, int Type, int Stack);  // 140
// 150. Addressee is used by the private modes, Channel by the channel modes.
void SendTalk(int Mode, const char* Addressee, int Channel, const char* Text);
void SendRequestChannels();              // 151
void SendOpenChannel(int ChannelID);     // 152
void SendCloseChannel(int ChannelID);    // 153
void SendOpenPrivateChannel(const char* Name);  // 154
void SendProcessRequest(const char* Name);      // 155
void SendCloseRequest(const char* Name);        // 156
void SendCancelRequest();                // 157
void SendFightModes();                   // 160 with the preferences' three modes
void SendAttack(uint32_t CreatureID);    // 161
void SendFollow(uint32_t CreatureID);    // 162
void SendInviteToParty(uint32_t CreatureID);     // 163
void SendJoinParty(uint32_t CreatureID);         // 164
void SendRevokeInvitation(uint32_t CreatureID);  // 165
void SendPassLeadership(uint32_t CreatureID);    // 166
void SendLeaveParty();                   // 167
void SendCreateOwnChannel();             // 170
void SendInviteToOwnChannel(const char* Name);   // 171
void SendExcludeFromOwnChannel(const char* Name);  // 172
void SendCancel();                       // 190
// The stop-all command: the auto-walk stops, both targets are cleared, 190.
void CancelAll();
void SendRequestField(int x, int y, int z);  // 201
void SendRequestContainer(int Container);    // 202
// 210, only once until the outfit dialog has arrived.
void SendRequestOutfit();
void SendSetOutfit(int Outfit, const uint8_t* Colors);  // 211: Colors head, body, legs, feet
void SendAddBuddy(const char* Name);         // 220
void SendRemoveBuddy(uint32_t CharacterID);  // 221
void SendBugReport(const char* Text);        // 230
void SendRuleViolation(const char* Name, int Reason, const char* Comment, int Action, int Flag);  // 231
