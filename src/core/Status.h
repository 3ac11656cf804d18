// State shared by the control hub, the protocol handlers and the user
// interface: the start-up options, the copy command with its link check, the
// connection state, the input mode, the event queue, the account with its
// character list, and the rights table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Installed by the control hub: asks the player whether a text that holds a
// web or IP address should really go to the clipboard. Its "yes" ends in
// CopyPending.
using LinkWarningHandler = void (*)();

// Starts the module: the gamemaster flag (0 or 1) from the command line and
// the link-warning handler; prepares the link pattern.
void InitStatus(uint8_t Gamemaster, LinkWarningHandler linkwarningeventhandler);
// Frees the pending copy and forgets everything InitStatus was given.
void ExitStatus();

uint8_t GetGamemasterFlag();

// The copy command of the user interface. Keeps Text (its first Length
// characters; a negative Length takes all of it) as the pending copy. If the
// text holds a link, the link-warning handler is asked; otherwise the pending
// copy goes to the clipboard at once.
void CopyChecked(const char* Text, int Length);
// Places the pending copy on the clipboard. Returns whether it worked; false
// also when nothing is pending.
bool CopyPending();
// The text kept by the last CopyChecked ("" when none).
const std::string& GetPendingCopy();

// The matcher walks a candidate recursively, one level per character, so a
// long run of letters would exhaust the stack. Long texts are therefore
// searched in pieces of LINK_SEARCH_WINDOW characters that overlap by
// LINK_SEARCH_OVERLAP: every link shorter than the overlap (a host name label
// has at most 63 characters) lies wholly in one piece, separators included.
constexpr size_t LINK_SEARCH_WINDOW = 512;
constexpr size_t LINK_SEARCH_OVERLAP = 128;

// Whether a text holds a host name with a known top-level domain or a dotted
// IPv4 address. Letter case does not matter.
bool ContainsLink(const char* Text);

// ---- Connection state and input mode -------------------------------------------

// 0 offline, 1 resolving a login server's name, 2 connecting to a login
// server, 3 login request sent, 4 login server answering, 5 connecting to the
// game server, 6 game login request sent, 7 game server answering, 8 in game.
enum : int {
    STATE_OFFLINE = 0,
    STATE_RESOLVING = 1,
    STATE_CONNECTING_LOGIN = 2,
    STATE_LOGIN_SENT = 3,
    STATE_LOGIN_ANSWERING = 4,
    STATE_CONNECTING_GAME = 5,
    STATE_GAME_LOGIN_SENT = 6,
    STATE_GAME_ANSWERING = 7,
    STATE_GAME = 8,
};
int GetConnectionState();
void SetConnectionState(int State);

// 0 idle; 1 left, 2 right, 3 both buttons held; 4 both held and the right
// released; 5 both held and the left released; 6 dragging; 7, 8 target
// selection; 9 help pointer; 10 modal dialog; 11 modal pop-up menu.
enum : int {
    INPUT_IDLE = 0,
    INPUT_LEFT = 1,
    INPUT_RIGHT = 2,
    INPUT_BOTH = 3,
    INPUT_BOTH_RIGHT_RELEASED = 4,
    INPUT_BOTH_LEFT_RELEASED = 5,
    INPUT_DRAG = 6,
    INPUT_TARGET_1 = 7,
    INPUT_TARGET_2 = 8,
    INPUT_HELP = 9,
    INPUT_DIALOG = 10,
    INPUT_MENU = 11,
};
int GetInputMode();
void SetInputMode(int Mode);

// ---- Event queue -----------------------------------------------------------------

// Event types. Those without a name here are the dialogs and menus that the
// user interface names when it carries them out.
enum : int {
    MESSAGE_NONE = 0,
    MESSAGE_ERROR = 1,               // Data title, Extra text (both owned)
    MESSAGE_ERROR2 = 2,              // Data title, Extra text (both owned)
    MESSAGE_CONNECTING_LIST = 3,     // "Your character list is being loaded."
    MESSAGE_CONNECTING_GAME = 4,     // "Connecting to the game world."
    MESSAGE_WAITINGLIST = 5,         // Data text (owned), Extra seconds
    MESSAGE_QUESTION = 6,
    MESSAGE_LOGOUTWARNING = 7,       // Data title, Extra text (both owned)
    MESSAGE_LOGIN = 8,
    MESSAGE_WAITFORLIST = 9,         // Data tenths of a second
    MESSAGE_CHARACTERLIST = 10,      // Data inactivity time-out in tenths
    MESSAGE_LINKWARNING = 11,        // Data title (owned)
    MESSAGE_MOVEOBJECTS = 12,        // Data the pending move (owned by the dialogs)
    MESSAGE_MOTD = 37,
    MESSAGE_PATCHPROGRESS = 38,      // Data file name (owned), Extra size
    MESSAGE_TARGET_1 = 39,
    MESSAGE_TARGET_2 = 40,
    MESSAGE_HELPPOINTER = 41,
    MESSAGE_CONNECTLOGIN = 56,
    MESSAGE_CONNECTGAME = 57,
    MESSAGE_RELOGIN = 58,
    MESSAGE_WAITOFFLINE = 59,
    MESSAGE_INSTALL_DAT = 60,
    MESSAGE_INSTALL_SPR = 61,
    MESSAGE_INSTALL_PIC = 62,
    MESSAGE_INSTALL_PATCHER = 63,
    MESSAGE_RELOAD_DAT = 64,
    MESSAGE_RELOAD_SPR = 65,
    MESSAGE_RELOAD_PIC = 66,
    MESSAGE_STARTPATCHER = 67,
};

// Data and Extra hold numbers or, by type, texts: heap copies made with
// NewEventText that the consumer of the event frees (FreeEvent).
struct Event {
    int Type = MESSAGE_NONE;
    intptr_t Data = 0;
    intptr_t Extra = 0;
};

// Which fields of an event type carry owned texts. The interface may declare
// further types before posting them; the types above are declared already.
void SetEventTextFields(int Type, bool DataIsText, bool ExtraIsText);
bool EventDataIsText(int Type);
bool EventExtraIsText(int Type);
// A heap copy of Text for an event field.
intptr_t NewEventText(const char* Text);
const char* EventText(intptr_t Field);
// Frees the owned texts of an event that will not be carried out, or after.
void FreeEvent(Event& E);

void PostEvent(int Type, intptr_t Data, intptr_t Extra);
void PostEventFirst(int Type, intptr_t Data, intptr_t Extra);
// With a heap copy of the text(s) in Data and Extra.
void PostTextEvent(int Type, const char* Data, const char* Extra);
void PostTextEventFirst(int Type, const char* Data, const char* Extra);
// The first event's type, MESSAGE_NONE when the queue is empty.
int PeekEventType();
// Removes and returns the first event; MESSAGE_NONE when the queue is empty.
Event TakeEvent();
int GetNumberOfEvents();
// The event at a queue position (0 first), for inspection.
const Event& GetQueuedEvent(int Index);
// Empties the queue, freeing the texts the events carry.
void ClearEvents();
// Frees what an event's fields point to besides texts (records that a
// module above made for its own events); installed by that module and
// called by FreeEvent, so a cleared queue leaks nothing.
using EventReleaseHook = void (*)(Event& E);
void SetEventReleaseHook(EventReleaseHook Hook);

// ---- Account and character list ----------------------------------------------------

constexpr int MAX_CHARACTERS = 255;
constexpr int PASSWORD_LENGTH = 30;   // a password is shorter than this
constexpr int CHARNAME_LENGTH = 30;   // a character or world name is shorter than this

void SetAccountNumber(uint32_t Number);
uint32_t GetAccountNumber();
void SetPassword(const char* Password);
const char* GetPassword();

struct AccountCharacter {
    char Name[CHARNAME_LENGTH] = "";
    char World[CHARNAME_LENGTH] = "";
    uint8_t Address[4] = {0, 0, 0, 0};
    char AddressText[16] = "";
    int32_t Port = 0;
};
// Replaces the list by Count empty entries (0..255).
void SetAccountCharacters(int Count);
int GetAccountCharacters();
void SetAccountCharacter(int Number, const char* Name, const char* World, const uint8_t Address[4], int Port);
const AccountCharacter& GetAccountCharacter(int Number);
void SetActiveCharacter(int Number);
int GetActiveCharacter();

// 0 free account, 65535 gratis premium, otherwise the days left.
void SetPremiumDays(int Days);
int GetPremiumDays();
// The account status line of the character list, in the text colour r, g, b.
std::string GetAccountStatusText(int Red, int Green, int Blue);

// ---- Rights -----------------------------------------------------------------------------

constexpr int RIGHT_ANY = 50;
void ClearRights();
void SetRight(int rightid, uint32_t Value);
// Whether the right is held (index RIGHT_ANY: any right at all).
bool HasRight(int rightid);
// Whether bit Sub of the right's value is set.
bool HasSubRight(int rightid, int Sub);

constexpr int RULE_VIOLATION_REASONS = 32;
constexpr int RULE_VIOLATION_ACTIONS = 7;
const char* GetRuleViolationReason(int Number);
const char* GetRuleViolationAction(int Number);
