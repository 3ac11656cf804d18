// Preferences: every setting that survives a program run, kept in memory and
// stored in the one text file Vorna.cfg in the working directory.
//
// LoadPreferences runs once at start-up (module initialisation); a missing or
// broken file silently gives the defaults. SavePreferences writes the whole
// file; it runs at the end of the program (ExitPreferences), when the player
// leaves the game, and when the options and hotkey dialogs are confirmed.
#pragma once

#include <cstdint>
#include <string>

constexpr int HOTKEYS = 36;
constexpr int HOTKEY_LENGTH = 256;  // a hotkey text is shorter than this
constexpr int SKILLS = 7;
constexpr int BUDDIES = 200;
constexpr int BUDDYDESCRIPTION_LENGTH = 128;  // a buddy description is shorter than this
constexpr int BUDDY_ICONS = 11;  // a buddy's icon number: 0 none, 1 to 10

// ---- Lifecycle --------------------------------------------------------------

// Resets every setting to its default, then reads the file. Any error in the
// file resets everything to the defaults again; no message is shown.
void LoadPreferences();
// Writes the file, if loading has run. The previous file is replaced only by
// a complete new one: a failed save leaves it as it was.
void SavePreferences();
// Saves, then returns the module to its state before loading.
void ExitPreferences();

// The file read and written; "Vorna.cfg" in the working directory by default.
void SetPreferencesPath(const std::string& Path);
const std::string& GetPreferencesPath();

// ---- Simple settings ------------------------------------------------------------

bool GetTestServer();
void SetTestServer(bool Value);

// Full-screen video mode; a width of 0 means none chosen.
void GetFullscreenMode(int* Width, int* Height, int* Depth);
void SetFullscreenMode(int Width, int Height, int Depth);

bool GetWindowsMousepointer();
void SetWindowsMousepointer(bool Value);
bool GetLightEffects();
void SetLightEffects(bool Value);
bool GetTextualEffects();
void SetTextualEffects(bool Value);

// 0 nothing, 1 health bars, 2 names and health bars.
int GetCreatureInfo();
void SetCreatureInfo(int Value);

// 0 no, 1 yes, 2 undecided (settled once by the drawing set-up).
constexpr int NOSTRETCHING_UNDECIDED = 2;
int GetNoStretching();
void SetNoStretching(int Value);

int GetConfineFramerate();
void SetConfineFramerate(int Value);

// Window geometry in normal state and the maximised flag; X = -1 means none.
void GetWindowedMode(int* X, int* Y, int* Width, int* Height, bool* Maximized);
void SetWindowedMode(int X, int Y, int Width, int Height, bool Maximized);

int GetConsoleHeight();
void SetConsoleHeight(int Value);
int GetAutomapZoom();
void SetAutomapZoom(int Value);

// Three sort keys of the buddy list, in priority order.
int GetBuddySortmethod(int Index);
void SetBuddySortmethods(int First, int Second, int Third);
bool GetBuddyHideOffline();
void SetBuddyHideOffline(bool Value);

int GetLastMotD();
void SetLastMotD(int Number);

bool GetInfoMessages();
void SetInfoMessages(bool Value);
bool GetEventMessages();
void SetEventMessages(bool Value);
bool GetLoginMessages();
void SetLoginMessages(bool Value);
bool GetStatusMessages();
void SetStatusMessages(bool Value);
bool GetTimeStamps();
void SetTimeStamps(bool Value);

bool GetClassicControl();
void SetClassicControl(bool Value);
bool GetAutoChaseOff();
void SetAutoChaseOff(bool Value);
int GetAttackMode();
void SetAttackMode(int Value);
int GetChaseMode();
void SetChaseMode(int Value);
int GetSecureMode();
void SetSecureMode(int Value);

bool GetShowNewHints();
void SetShowNewHints(bool Value);
bool GetLevelBar();
void SetLevelBar(bool Value);
bool GetMagLevelBar();
void SetMagLevelBar(bool Value);

// The interface's size: the whole number the window's pixels are divided
// by, 1..MAX_INTERFACE_SIZE, or automatic (the largest that leaves the
// interface its minimum size). Anything else is taken as automatic.
constexpr int INTERFACE_SIZE_AUTOMATIC = 0;
constexpr int MAX_INTERFACE_SIZE = 3;
int GetInterfaceSize();
void SetInterfaceSize(int Size);

// Whether skill bar Number (0..SKILLS-1) is shown.
bool GetSkillBar(int Number);
void SetSkillBar(int Number, bool Shown);

// ---- Hotkeys --------------------------------------------------------------------

// Text of hotkey Number (0..HOTKEYS-1); empty when unset.
const char* GetHotkey(int Number);
// Whether the text is sent at once instead of placed in the input line.
bool GetHotkeyAutoSend(int Number);
void SetHotkey(int Number, const char* Text, bool AutoSend);

// ---- Tables and lists -------------------------------------------------------------

// Key-value table of the side windows; 0 for a key it does not hold.
int GetContentWindowValue(int Key);
void SetContentWindowValue(int Key, int Value);

// Side windows open at the end, in order.
void ClearOpenDialogs();
void AddOpenDialog(int Identifier);
int GetNumberOfOpenDialogs();
int GetOpenDialog(int Index);

// Chat channels open at the end, in order.
void ClearOpenChannels();
void AddOpenChannel(int Identifier);
int GetNumberOfOpenChannels();
int GetOpenChannel(int Index);

// Hints already shown.
void AddKnownHint(int Number);
bool IsKnownHint(int Number);
// Every hint may come up once more.
void ClearKnownHints();

// ---- Buddies ------------------------------------------------------------------------

// Adding an id that is present replaces its entry.
void AddBuddy(uint32_t CharacterID, int Number, const char* Description, uint8_t Flag);
void RemoveBuddy(uint32_t CharacterID);
bool IsBuddy(uint32_t CharacterID);
// 0, "" and 0 for an id that is not present.
int GetBuddyNumber(uint32_t CharacterID);
const char* GetBuddyDescription(uint32_t CharacterID);
uint8_t GetBuddyFlag(uint32_t CharacterID);

// ---- Ignore list --------------------------------------------------------------------
// Names are compared without regard to letter case. Only permanent entries are
// written to the file; every name read from it is permanent.

// Adds the name, or updates the permanent flag of a name already listed.
void AddIgnore(const char* Name, bool Permanent);
void RemoveIgnore(const char* Name);
bool IsIgnored(const char* Name);
bool IsPermanentlyIgnored(const char* Name);
int GetNumberOfIgnores();
const char* GetIgnoreName(int Index);
bool GetIgnorePermanent(int Index);
// Whole kinds of talk ignored from everybody but the player (not written to
// the file: they last until the program ends).
bool GetIgnoreYelling();
void SetIgnoreYelling(bool Value);
bool GetIgnorePrivateMessages();
void SetIgnorePrivateMessages(bool Value);

// ---- Message of the day -----------------------------------------------------------------

// "No current information." until a message was received.
const char* GetMessageOfTheDay();
void SetMessageOfTheDay(const char* Text);
