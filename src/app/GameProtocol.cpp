#include "app/GameProtocol.h"

#include "app/Control.h"
#include "graphics/Talk.h"
#include "gui/console/Console.h"
#include "net/Commands.h"
#include "gui/help/EventHints.h"
#include "net/GameHooks.h"
#include "net/GameMessages.h"
#include "world/Automap.h"
#include "world/Creatures.h"

namespace {
int TickForCreatures() { return static_cast<int>(GetTickCounter()); }

// The texts over the map take the speech, private and server messages they
// show; the rest of each message's modes goes to the console only.
void MapText(const char* Speaker, int Mode, int x, int y, int z, const char* Text) {
    switch (Mode) {
    case TALK_SAY:
    case TALK_WHISPER:
    case TALK_YELL:
    case TALK_PRIVATE_MESSAGE:
    case TALK_GAMEMASTER_BROADCAST:
    case TALK_GAMEMASTER_MESSAGE:
    case TALK_ANIMAL_LOW:
    case TALK_ANIMAL_LOUD: TalkSay(Mode, Speaker, x, y, z, Text); break;
    default: break;
    }
}

void ScreenMessage(int Mode, const char* Text) {
    if (Mode == TALK_INFO_MESSAGE || Mode == TALK_EVENT_MESSAGE || Mode == TALK_ADMIN_MESSAGE)
        TalkMessage(Mode, Text);
    else
        SetStatusLine(Text, false);
}

void StatusMessage(const char* Text) { SetStatusLine(Text, false); }

void ConsoleText(const char* Speaker, int Mode, int Channel, const char* Text) {
    AddTalkLine(Text, Mode, Speaker, Channel);
}
void RequestText(const char* Speaker, int32_t Number, const char* Text) { AddRequestLine(Speaker, Number, Text); }
// The automap's complaints about its files are plain lines of the default tab.
void AutomapMessage(const char* Text) { AddPlainLine(GetDefaultBuffer(), Text, TALK_STATUS_MESSAGE, NULL); }

// The texts over the map and the console's tabs are reset together on
// entering and leaving the game.
void ResetTexts() {
    ResetTalk();
    ResetConsole();
}
}  // namespace

void AttachGameMessageHandlers() {
    for (int command = 0; command < 256; ++command)
        if (GameMessageHandler handler = GetGameMessageHandler(command)) SetGameCommandHandler(command, handler);
}

void DetachGameMessageHandlers() {
    for (int command = 0; command < 256; ++command)
        if (GetGameMessageHandler(command)) SetGameCommandHandler(command, nullptr);
}

void AttachEventHints() {
    HintHooks Hints;
    Hints.EventHint = triggerEventHint;
    Hints.PositionHint = triggerByPosition;
    SetHintHooks(Hints);
}

void DetachEventHints() { SetHintHooks(HintHooks{}); }

void AddGameProtocolHooks(ControlHooks& Hooks) {
    Hooks.ClearOutfitRequest = ClearOutfitRequest;
    Hooks.SendPendingStep = SendPendingSteps;
    Hooks.TickTexts = TickTalk;
    Hooks.ResetTexts = ResetTexts;
}

void InstallGameProtocol() {
    InitGameMessages();
    InitCommands();
    AttachGameMessageHandlers();

    GameHooks texts = GetGameHooks();
    texts.MapText = MapText;
    texts.ScreenMessage = ScreenMessage;
    texts.StatusMessage = StatusMessage;
    texts.ConsoleText = ConsoleText;
    texts.RequestText = RequestText;
    texts.OpenRequestChannel = OpenRequestChannel;
    texts.RemoveRequest = RemoveRequest;
    texts.CloseChannel = CloseChannel;
    texts.IgnoredSpeaker = IgnoredSpeaker;
    SetGameHooks(texts);
    SetAutomapMessageHook(AutomapMessage);

    // The skull hint and the hints about the people met near the player.
    SetCreatureHooks(StatusMessage, triggerEventHint, triggerByNpcName, TickForCreatures);
}

void RemoveGameProtocol() {
    SetAutomapMessageHook(nullptr);
    SetCreatureHooks(nullptr, nullptr, nullptr, nullptr);
    DetachGameMessageHandlers();
    ExitGameMessages();
}
