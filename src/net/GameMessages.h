// The game server's messages: one handler per command byte, each reading
// exactly its fields and applying them at once to the world model, to the
// event queue or, through GameHooks, to the interface.
//
// The control hub dispatches; at start-up every handler that
// GetGameMessageHandler knows is attached with SetGameCommandHandler.
#pragma once

#include <cstdint>

// Status events that the messages post for the dialogs and the console.
enum : int {
    GAME_EVENT_EDITTEXT = 13,        // the record is GetEditText()
    GAME_EVENT_EDITLIST = 14,        // the record is GetEditList()
    GAME_EVENT_OUTFIT = 15,          // the values are GetOutfitChoice()
    GAME_EVENT_CHANNELLIST = 17,     // the list is GetChannelList()
    GAME_EVENT_PRIVATECHANNEL = 42,  // Extra the partner's name (owned)
    GAME_EVENT_CHANNEL = 43,         // Data the channel id, Extra its name (owned)
    GAME_EVENT_OWNCHANNEL = 44,      // Data the channel id, Extra its name (owned)
    GAME_EVENT_REQUESTCHANNEL = 45,  // Data the message's value
};

using GameMessageHandler = void (*)();

// Clears the session state of the messages and declares the texts that
// their events carry.
void InitGameMessages();
void ExitGameMessages();
// The handler of a command byte, NULL for a byte that is no game message
// (or is handled by the control hub itself: 20, 21, 22).
GameMessageHandler GetGameMessageHandler(int Command);

// The last dialog requests, kept until the next one replaces them.
struct EditTextRequest {
    uint32_t TextID = 0;
    int Type = 0;
    int MaxLength = 0;
    char* Text = nullptr;        // owned by the module
    char* SecondText = nullptr;  // owned by the module
};
struct EditListRequest {
    int Kind = 0;
    uint32_t ListID = 0;
    char* Text = nullptr;        // owned by the module
};
// Current outfit, head, body, legs, feet colour, first outfit, last outfit.
struct OutfitChoice {
    uint8_t Values[7] = {0, 0, 0, 0, 0, 0, 0};
};
struct ChannelEntry {
    int ID = 0;
    char Name[30] = "";
};
const EditTextRequest& GetEditText();
const EditListRequest& GetEditList();
const OutfitChoice& GetOutfitChoice();
int GetNumberOfChannels();
const ChannelEntry& GetChannelEntry(int Number);

// How often in a row the server refused a step from the same field.
int GetWalkCancelRepeats();
