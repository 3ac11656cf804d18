// Talk in all its modes, the channel messages, text messages and the
// server's refusal of a step.
#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Status.h"
#include "core/TalkModes.h"
#include "net/Commands.h"
#include "net/GameHooks.h"
#include "net/GameMessages.h"
#include "net/GameMessagesLocal.h"
#include "net/Network.h"
#include "world/Creatures.h"
#include "world/Map.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace gamemessages {

namespace {

constexpr int TEXT_LENGTH = 512;
constexpr int CHANNEL_NAME_LENGTH = 30;
constexpr int OWN_CHANNEL_NAME_LENGTH = 40;
// More refusals in a row from one field than this mean the server and the
// client disagree about the map: everything stops.
constexpr int WALK_CANCEL_LIMIT = 15;

std::vector<ChannelEntry> Channels;
int RepeatCounter = 0;
int LastX = -1, LastY = -1, LastZ = -1;

void MapText(const char* Speaker, int Mode, const Position& P, const char* Text) {
    if (const auto Hook = GetGameHooks().MapText) Hook(Speaker, Mode, P.x, P.y, P.z, Text);
}

void Console(const char* Speaker, int Mode, int Channel, const char* Text) {
    if (const auto Hook = GetGameHooks().ConsoleText) Hook(Speaker, Mode, Channel, Text);
}

// Whether Speaker is ignored, by name or, for yelling and private messages,
// by kind (never the player's own); the interface is told of every dropped line.
bool Ignored(const char* Speaker, int Mode = 0) {
    bool ByKind = (Mode == TALK_YELL && GetIgnoreYelling()) || (Mode == TALK_PRIVATE_MESSAGE && GetIgnorePrivateMessages());
    if (ByKind) {
        const Creature* Player = FindCreature(GetPlayerID());
        if (Player != nullptr && std::strcmp(Player->Name, Speaker) == 0) ByKind = false;
    }
    if (!ByKind && !IsIgnored(Speaker)) return false;
    if (const auto Hook = GetGameHooks().IgnoredSpeaker) Hook();
    return true;
}

void CloseChannel(int Kind, int ChannelID, const char* Name, const char* Text) {
    if (const auto Hook = GetGameHooks().CloseChannel) Hook(Kind, ChannelID, Name, Text);
}

}  // namespace

void ResetTalkMessages() {
    Channels.clear();
    RepeatCounter = 0;
    LastX = LastY = LastZ = -1;
}

void CTalk() {
    char Speaker[CREATURE_NAME_LENGTH];
    GetString(Speaker, CREATURE_NAME_LENGTH);
    const int Mode = GetByte();
    char Text[TEXT_LENGTH];
    switch (Mode) {
    case TALK_SAY:
    case TALK_WHISPER:
    case TALK_YELL: {
        const Position P = ReadPosition();
        GetString(Text, TEXT_LENGTH);
        if (Ignored(Speaker, Mode)) return;
        MapText(Speaker, Mode, P, Text);
        Console(Speaker, Mode, -1, Text);
        return;
    }
    case TALK_PRIVATE_MESSAGE:
    case TALK_GAMEMASTER_BROADCAST:
    case TALK_GAMEMASTER_MESSAGE:
        GetString(Text, TEXT_LENGTH);
        if (Ignored(Speaker, Mode)) return;
        MapText(Speaker, Mode, Position{0, 0, 0}, Text);
        Console(Speaker, Mode, -1, Text);
        return;
    case TALK_CHANNEL_CALL:
    case TALK_GAMEMASTER_CHANNELCALL:
    case TALK_CHANNEL_HIGHLIGHT:
    case TALK_ANONYMOUS_CHANNELCALL: {
        const int Channel = GetWord();
        GetString(Text, TEXT_LENGTH);
        if (!Ignored(Speaker)) Console(Speaker, Mode, Channel, Text);
        return;
    }
    case TALK_GAMEMASTER_REQUEST: {
        const uint32_t Number = GetQuad();
        GetString(Text, TEXT_LENGTH);
        if (const auto Hook = GetGameHooks().RequestText) Hook(Speaker, -int32_t(Number), Text);
        return;
    }
    case TALK_GAMEMASTER_ANSWER:
    case TALK_PLAYER_ANSWER:
        GetString(Text, TEXT_LENGTH);
        Console(Speaker, Mode, -1, Text);
        return;
    case TALK_ANIMAL_LOW:
    case TALK_ANIMAL_LOUD: {
        const Position P = ReadPosition();
        GetString(Text, TEXT_LENGTH);
        if (!Ignored(Speaker)) MapText(Speaker, Mode, P, Text);
        return;
    }
    default:
        ASSERT_PARAM(false, Mode);
        return;
    }
}

void CChannelList() {
    const int Count = GetByte();
    Channels.clear();
    for (int n = 0; n < Count; n++) {
        ChannelEntry E;
        E.ID = GetWord();
        GetString(E.Name, CHANNEL_NAME_LENGTH);
        Channels.push_back(E);
    }
    PostEvent(GAME_EVENT_CHANNELLIST, 0, 0);
}

void COpenChannel() {
    const int ID = GetWord();
    char Name[CHANNEL_NAME_LENGTH];
    GetString(Name, CHANNEL_NAME_LENGTH);
    PostEvent(GAME_EVENT_CHANNEL, ID, NewEventText(Name));
}

void COpenPrivateChannel() {
    char Name[CREATURE_NAME_LENGTH];
    GetString(Name, CREATURE_NAME_LENGTH);
    PostEvent(GAME_EVENT_PRIVATECHANNEL, 0, NewEventText(Name));
}

void COpenRequestChannel() {
    const int Value = GetWord();
    if (const auto Hook = GetGameHooks().OpenRequestChannel) Hook(Value);
    PostEvent(GAME_EVENT_REQUESTCHANNEL, Value, 0);
}

void CRemoveRequest() {
    char Name[CREATURE_NAME_LENGTH];
    GetString(Name, CREATURE_NAME_LENGTH);
    if (const auto Hook = GetGameHooks().RemoveRequest) Hook(Name);
}

void CRequestFinished() {
    char Name[CREATURE_NAME_LENGTH];
    GetString(Name, CREATURE_NAME_LENGTH);
    char Text[CREATURE_NAME_LENGTH + 40];
    std::snprintf(Text, sizeof Text, "%s has finished the request.", Name);
    CloseChannel(8, 0, Name, Text);
}

void CRequestClosed() { CloseChannel(7, 0, "", "Your request has been closed."); }

void COpenOwnChannel() {
    const int ID = GetWord();
    char Name[OWN_CHANNEL_NAME_LENGTH];
    GetString(Name, OWN_CHANNEL_NAME_LENGTH);
    PostEvent(GAME_EVENT_OWNCHANNEL, ID, NewEventText(Name));
}

void CChannelClosed() {
    const int ID = GetWord();
    CloseChannel(5, ID, "", "The channel has been closed. You need to re-join the channel if you get invited.");
}

void CTextMessage() {
    const int Type = GetByte();
    char Text[TEXT_LENGTH];
    GetString(Text, TEXT_LENGTH);
    const GameHooks& Hooks = GetGameHooks();
    if (Type == TALK_INFO_MESSAGE || Type == TALK_EVENT_MESSAGE || Type == TALK_ADMIN_MESSAGE) {
        if (Hooks.ScreenMessage) Hooks.ScreenMessage(Type, Text);
    } else if (Type == TALK_STATUS_MESSAGE || Type == TALK_LOGIN_MESSAGE || Type == TALK_FAILURE_MESSAGE) {
        if (Hooks.StatusMessage) Hooks.StatusMessage(Text);
    }
    if (Type != TALK_FAILURE_MESSAGE) Console("", Type, -1, Text);
}

void CWalkCancelled() {
    int Direction = GetByte();
    int x, y, z, dx, dy;
    GetMapPosition(x, y, z);
    GetPredictedStep(dx, dy);
    x += dx;
    y += dy;
    if (x == LastX && y == LastY && z == LastZ)
        RepeatCounter++;
    else
        RepeatCounter = 0;
    LastX = x;
    LastY = y;
    LastZ = z;
    if (RepeatCounter > WALK_CANCEL_LIMIT) {
        StopWalking();
        SetAttackTarget(0);
        SetFollowTarget(0);
        SendCancel();
        RepeatCounter = 0;
    }
    if (!In(Direction, 0, 3)) {
        // a direction the drawing cannot show: the player keeps his
        const uint32_t ID = GetPlayerID();
        const Creature* P = ID != 0 ? FindCreature(ID) : NULL;
        Direction = P != NULL ? P->Direction : 2;
    }
    if (WalkCancelled(Direction)) SendAutoWalk(1);
}

}  // namespace gamemessages

int GetNumberOfChannels() { return int(gamemessages::Channels.size()); }

const ChannelEntry& GetChannelEntry(int Number) {
    static const ChannelEntry None;
    ASSERT(In(Number,0,GetNumberOfChannels()-1));
    if (!In(Number, 0, GetNumberOfChannels() - 1)) return None;
    return gamemessages::Channels[size_t(Number)];
}

int GetWalkCancelRepeats() { return gamemessages::RepeatCounter; }
