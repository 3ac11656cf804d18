// The console's model: one tab per open channel, each with its text buffer,
// the history of the input line, and what the player types sent as the tab
// and prefixes decide. The buffers and tabs live here while the player is in
// the game (the game view is built anew on every entry and only shows them);
// the game messages reach them through the hooks the application installs.
// The module starts itself on its first use.
#pragma once

#include "gui/framework/Events.h"
#include "gui/framework/TextBuffer.h"

#include <cstdint>
#include <string>

// Commands of the console and its component.
enum : int {
    CONSOLE_SHOW = 201,
    CONSOLE_CLOSE_TAB = 202,
    CONSOLE_SAVE = 203,  // save the selected tab's text
    CONSOLE_IGNORE_LIST = 204,
    CONSOLE_CHANNEL_LIST = 205,
    CONSOLE_SAY = 206,
    CONSOLE_WHISPER = 207,
    CONSOLE_YELL = 208,
    CONSOLE_SERVER_MESSAGES = 210,
    CONSOLE_DEFAULT_TAB = 211,
    CONSOLE_NEXT_TAB = 212,
    CONSOLE_PREVIOUS_TAB = 213,
    CONSOLE_HOTKEYS = 403,
};

// The channel kinds the server names when it opens or closes a channel.
enum : int {
    CHANNEL_PRIVATE = 4,   // talk with one partner
    CHANNEL_PUBLIC = 5,    // a channel by id (the player's own one too)
    CHANNEL_REQUESTS = 6,  // the open rule-violation requests
    CHANNEL_OWN_REQUEST = 7,
    CHANNEL_ANSWER = 8,    // the conversation about someone's request
};

// Tabs opened this soon after entering the game are added, not selected:
// the channels the server reopens then must not pull the player away from
// the default tab.
constexpr uint32_t CONSOLE_SELECT_THRESHOLD = 3000;  // ms of the program's clock

struct ConsoleTab {
    std::string Caption;
    TextBuffer* Buffer = nullptr;
    int Kind = 0;  // a channel kind above, 0 for the default tab
    bool Highlight = false;
};

// ---- The module ---------------------------------------------------------------------

void InitConsole();
void ExitConsole();
// On entering and leaving the game: every tab but the default one goes, the
// default buffer is emptied; the history stays.
void ResetConsole();

// Routing of an incoming talk line (Channel -1: none).
void AddTalkLine(const char* Text, int Mode, const char* Speaker, int ChannelID);
void AddPlainLine(TextBuffer* Buffer, const char* Text, int Mode, const char* Speaker);
// The player's own text, shown as mode 24 where the matching buffer is.
void OwnTextEcho(const char* Speaker, const char* Text, int Mode, const char* Partner, int ChannelID);
// Finds or creates the buffer and its tab.
TextBuffer* OpenChannelTab(int Mode, int ChannelKind, const char* Partner, int ChannelID, const char* Caption);
void ReportRuleViolation(const char* Question);
// The server's channel bookkeeping (see GameHooks).
void AddRequestLine(const char* Speaker, int32_t Number, const char* Text);
void OpenRequestChannel(int ChannelID);
void RemoveRequest(const char* Name);
// A counsellor takes the request of Name: the server is told and the
// conversation "<Name>'s Report" opens.
void ProcessRequest(const char* Name);
void CloseChannel(int Kind, int ChannelID, const char* Name, const char* Text);
// The player's own private channel, opened by the server.
void OpenOwnChannel(int ChannelID, const char* Caption);
// Its id, -1 while none is open.
int GetOwnChannel();

// A dropped line of an ignored speaker lights the ignore indicator for a while.
constexpr uint32_t IGNORE_INDICATOR_TIME = 1000;  // ms
void IgnoredSpeaker();
bool IsIgnoreIndicatorLit();

int GetNumberOfTabs();
const ConsoleTab& GetTab(int Number);
int GetSelectedTab();
void SelectTab(int Number);
// Does nothing for the default tab.
void CloseSelectedTab();
// The tab showing a buffer, -1 when none does (any more).
int GetTabOfBuffer(const TextBuffer* Buffer);
// Empties a tab's text.
void ClearTabText(int Number);
TextBuffer* GetDefaultBuffer();
TextBuffer* GetHistoryBuffer();
int GetDefaultTalkMode();
void SetDefaultTalkMode(int Mode);
// Whether the console changed since the last call (clears the flag).
bool ConsoleChanged();
// Something the console shows changed outside the module (the selection).
void SetConsoleChanged();

// Appends the selected tab's text to "<caption>.txt" in the working
// directory and says so on the status line.
void SaveSelectedChannel();
// The file a caption is saved to: the caption with ".txt", every character
// that could lead out of the working directory replaced.
std::string ChannelFileName(const char* Caption);

// The console's commands (CONSOLE_...) that need no component.
void ConsoleCommand(int number);

// What the player typed, sent as the tab and prefixes decide. Returns the
// text the input line is to hold afterwards ("" or "*name* ").
std::string SendInputLine(const char* Line);
