// What the game messages hand to the interface: texts over the map, the
// console and its channels, the status and screen messages. The interface
// installs these at start-up; until then each call does nothing, while the
// world model has already been updated by the message itself.
#pragma once

#include <cstdint>

struct GameHooks {
    // Speech and private messages over the map (position 0, 0, 0: none).
    void (*MapText)(const char* Speaker, int Mode, int x, int y, int z, const char* Text) = nullptr;
    // A line for the console: Channel -1 is the default channel; a private
    // message or an answer names its partner in Speaker.
    void (*ConsoleText)(const char* Speaker, int Mode, int Channel, const char* Text) = nullptr;
    // A line for the rule-violation channel; Number is the request's number,
    // already negated.
    void (*RequestText)(const char* Speaker, int32_t Number, const char* Text) = nullptr;
    // The short-lived messages in the middle of the map view and on the
    // status line.
    void (*ScreenMessage)(int Mode, const char* Text) = nullptr;
    void (*StatusMessage)(const char* Text) = nullptr;
    // Channel bookkeeping of the console.
    // The rule-violation channel is found or created; its requests by name
    // are removed.
    void (*OpenRequestChannel)(int Value) = nullptr;
    void (*RemoveRequest)(const char* Name) = nullptr;
    // Adds the closing text to a channel and marks it closed: kind 5 is the
    // channel ChannelID, kind 7 the player's own request, kind 8 the
    // conversation about Name's request.
    void (*CloseChannel)(int Kind, int ChannelID, const char* Name, const char* Text) = nullptr;
    // A line of an ignored speaker was dropped.
    void (*IgnoredSpeaker)() = nullptr;
    // The map view: after the map or a floor was replaced.
    void (*Redraw)() = nullptr;
};

void SetGameHooks(const GameHooks& Hooks);
const GameHooks& GetGameHooks();
// The status line through its hook; nothing while none is installed.
void ShowStatusMessage(const char* Text);

// The one-time hints that game events raise, kept and shown by the interface:
// hint n (entering the game, the first experience, the levels), and the hints
// of the player's place after every move. They are the player's record of
// what he has met rather than texts to show, so they are installed apart from
// GameHooks, at start-up with the connection control's other hooks, and a
// table of texts replaced as a whole keeps them.
struct HintHooks {
    void (*EventHint)(int Number) = nullptr;
    void (*PositionHint)(int x, int y, int z) = nullptr;
};
void SetHintHooks(const HintHooks& Hooks);
