// Preferences: the settings, their defaults, reading and writing Vorna.cfg.
//
// Sections: state; defaults; reading; writing; lifecycle; accessors.
#include "config/Preferences.h"

#include "config/Script.h"
#include "core/Assert.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>
#include <utility>
#include <vector>

namespace {

// ---- State ------------------------------------------------------------------

struct HotkeyEntry {
    std::string Text;
    bool AutoSend = false;
};

struct BuddyEntry {
    uint32_t CharacterID = 0;  // 0 marks a free (removed) entry
    int Number = 0;
    std::string Description;
    uint8_t Flag = 0;
};

struct IgnoreEntry {
    std::string Name;
    bool Permanent = false;
};

struct Settings {
    bool TestServer = false;
    int FullscreenWidth = 0, FullscreenHeight = 0, FullscreenDepth = 0;
    bool WindowsMousepointer = true;
    bool LightEffects = true;
    bool TextualEffects = true;
    int CreatureInfo = 2;
    int NoStretching = NOSTRETCHING_UNDECIDED;
    int ConfineFramerate = 0;
    HotkeyEntry Hotkeys[HOTKEYS];
    int WindowX = -1, WindowY = -1, WindowWidth = 0, WindowHeight = 0;
    bool WindowMaximized = false;
    int ConsoleHeight = 0;
    int AutomapZoom = 2;
    std::vector<std::pair<int, int>> ContentWindows;  // key, value in order of first setting
    int BuddySortmethods[3] = {2, 1, 0};
    bool BuddyHideOffline = false;
    std::vector<int> OpenDialogs;
    int LastMotD = 0;
    bool InfoMessages = false;
    bool EventMessages = true;
    bool LoginMessages = true;
    bool StatusMessages = false;
    bool TimeStamps = false;
    std::vector<int> OpenChannels;
    bool ClassicControl = false;
    bool AutoChaseOff = true;
    int AttackMode = 2;
    int ChaseMode = 0;
    int SecureMode = 1;
    BuddyEntry Buddies[BUDDIES];
    int NumberOfBuddies = 0;  // entries in use, removed ones included
    std::vector<IgnoreEntry> Ignores;
    bool IgnoreYelling = false, IgnorePrivateMessages = false;  // for this run only
    std::vector<int> KnownHints;
    bool ShowNewHints = true;
    bool LevelBar = true;
    bool MagLevelBar = true;
    bool SkillBars[SKILLS] = {true, true, true, true, true, true, true};
    int InterfaceSize = INTERFACE_SIZE_AUTOMATIC;

    // Received from the login server each run, never saved.
    bool HaveMessageOfTheDay = false;
    std::string MessageOfTheDay;
};

Settings Current;
bool Loaded = false;
std::string Path = "Vorna.cfg";

// Length of a C text, but never more than Limit characters.
size_t BoundedLength(const char* Text, size_t Limit) {
    size_t Length = 0;
    while (Length < Limit && Text[Length] != '\0') Length++;
    return Length;
}

// ---- Defaults -----------------------------------------------------------------

void ResetToDefaults() { Current = Settings(); }

bool SameName(const std::string& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; i++) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

IgnoreEntry* FindIgnore(const char* Name) {
    for (IgnoreEntry& Entry : Current.Ignores)
        if (SameName(Entry.Name, Name)) return &Entry;
    return nullptr;
}

BuddyEntry* FindBuddy(uint32_t CharacterID) {
    if (CharacterID == 0) return nullptr;
    for (int i = 0; i < Current.NumberOfBuddies; i++)
        if (Current.Buddies[i].CharacterID == CharacterID) return &Current.Buddies[i];
    return nullptr;
}

// The entry a new id would take: a removed one first, else the next unused one.
BuddyEntry* FreeBuddy() {
    for (int i = 0; i < Current.NumberOfBuddies; i++)
        if (Current.Buddies[i].CharacterID == 0) return &Current.Buddies[i];
    if (Current.NumberOfBuddies < BUDDIES) return &Current.Buddies[Current.NumberOfBuddies++];
    return nullptr;
}

// ---- Reading ------------------------------------------------------------------

// Texts are kept and written as C strings: a zero byte inside a string of the
// file ends the text there, so what is kept is exactly what a save writes.
std::string ReadText(ReadScriptFile& Script) {
    std::string Text = Script.readString();
    size_t Zero = Text.find('\0');
    if (Zero != std::string::npos) Text.resize(Zero);
    return Text;
}

bool ReadFlag(ReadScriptFile& Script) { return Script.readIdentifier() == "yes"; }

void ReadList(ReadScriptFile& Script, void (*Entry)(ReadScriptFile& Script)) {
    Script.readSymbol('{');
    for (;;) {
        Script.nextToken();
        if (Script.getToken() == SPECIAL && Script.getSpecial() == ',') continue;
        if (Script.getToken() == SPECIAL && Script.getSpecial() == '}') break;
        Entry(Script);
    }
}

void ReadHotkey(ReadScriptFile& Script) {
    Script.readSymbol('(');
    int Number = Script.readNumber();
    if (!In(Number, 0, HOTKEYS - 1)) Script.error("Illegal number");
    Script.readSymbol(',');
    std::string Text = ReadText(Script);
    Script.readSymbol(')');
    // The send-at-once marker is taken before the text is shortened, so a
    // full-length text keeps its flag across a save and a load.
    bool AutoSend = !Text.empty() && Text.back() == '\n';
    if (AutoSend) Text.pop_back();
    if (Text.size() > static_cast<size_t>(HOTKEY_LENGTH - 1)) Text.resize(HOTKEY_LENGTH - 1);
    Current.Hotkeys[Number].Text = Text;
    Current.Hotkeys[Number].AutoSend = AutoSend;
}

void ReadBuddy(ReadScriptFile& Script) {
    Script.readSymbol('(');
    uint32_t CharacterID = static_cast<uint32_t>(Script.readNumber());
    Script.readSymbol(',');
    int Number = Script.readNumber();
    Script.readSymbol(',');
    std::string Description = ReadText(Script);
    Script.readSymbol(',');
    bool Flag = ReadFlag(Script);
    Script.readSymbol(')');
    // Entries that the setter would refuse are dropped rather than ending the
    // program: an edited file must not be able to stop the client.
    if (CharacterID == 0) return;
    // An icon the interface does not have shows none.
    if (!In(Number, 0, BUDDY_ICONS - 1)) Number = 0;
    if (Description.size() > static_cast<size_t>(BUDDYDESCRIPTION_LENGTH - 1))
        Description.resize(BUDDYDESCRIPTION_LENGTH - 1);
    BuddyEntry* Entry = FindBuddy(CharacterID);
    if (Entry == nullptr) Entry = FreeBuddy();
    if (Entry == nullptr) return;
    Entry->CharacterID = CharacterID;
    Entry->Number = Number;
    Entry->Description = Description;
    Entry->Flag = Flag ? 1 : 0;
}

void ReadIgnoreEntry(ReadScriptFile& Script) { AddIgnore(Script.getString().c_str(), true); }
void ReadKnownHintEntry(ReadScriptFile& Script) { AddKnownHint(Script.getNumber()); }
void ReadSkillBarEntry(ReadScriptFile& Script) {
    int Number = Script.getNumber();
    // A bar that does not exist is skipped; the other entries still count.
    if (In(Number, 0, SKILLS - 1)) Current.SkillBars[Number] = true;
}

void ReadValue(ReadScriptFile& Script, const std::string& Key) {
    Settings& S = Current;
    if (Key == "testserver") S.TestServer = ReadFlag(Script);
    else if (Key == "fullscreenmode") {
        Script.readSymbol('(');
        const int Width = Script.readNumber();
        Script.readSymbol(',');
        const int Height = Script.readNumber();
        Script.readSymbol(',');
        const int Depth = Script.readNumber();
        Script.readSymbol(')');
        // An edited mode no display has is no mode at all (the surfaces would
        // be made in its size).
        if (In(Width, 640, 16384) && In(Height, 480, 16384) && In(Depth, 16, 32)) {
            S.FullscreenWidth = Width;
            S.FullscreenHeight = Height;
            S.FullscreenDepth = Depth;
        }
    } else if (Key == "windowsmousepointer") S.WindowsMousepointer = ReadFlag(Script);
    else if (Key == "lighteffects") S.LightEffects = ReadFlag(Script);
    else if (Key == "textualeffects") S.TextualEffects = ReadFlag(Script);
    else if (Key == "creatureinfo") S.CreatureInfo = Script.readNumber();
    else if (Key == "nostretching") S.NoStretching = ReadFlag(Script) ? 1 : 0;
    else if (Key == "confineframerate") S.ConfineFramerate = Script.readNumber();
    else if (Key == "hotkey") ReadHotkey(Script);
    else if (Key == "windowedmode") {
        Script.readSymbol('(');
        S.WindowX = Script.readNumber();
        Script.readSymbol(',');
        S.WindowY = Script.readNumber();
        Script.readSymbol(',');
        S.WindowWidth = Script.readNumber();
        Script.readSymbol(',');
        S.WindowHeight = Script.readNumber();
        Script.readSymbol(',');
        S.WindowMaximized = ReadFlag(Script);
        Script.readSymbol(')');
    } else if (Key == "consoleheight") S.ConsoleHeight = Script.readNumber();
    else if (Key == "automapzoom") S.AutomapZoom = Script.readNumber();
    else if (Key == "contentwindow") {
        Script.readSymbol('(');
        int WindowKey = Script.readNumber();
        Script.readSymbol(',');
        int Value = Script.readNumber();
        Script.readSymbol(')');
        SetContentWindowValue(WindowKey, Value);
    } else if (Key == "buddysortmethods") {
        Script.readSymbol('(');
        S.BuddySortmethods[0] = Script.readNumber();
        Script.readSymbol(',');
        S.BuddySortmethods[1] = Script.readNumber();
        Script.readSymbol(',');
        S.BuddySortmethods[2] = Script.readNumber();
        Script.readSymbol(')');
    } else if (Key == "buddyhideoffline") S.BuddyHideOffline = ReadFlag(Script);
    else if (Key == "opendialogs") {
        // Identifiers are never negative; a negative one in the file is dropped.
        int Identifier = Script.readNumber();
        if (Identifier >= 0) S.OpenDialogs.push_back(Identifier);
    } else if (Key == "lastmotd") S.LastMotD = Script.readNumber();
    else if (Key == "infomessages") S.InfoMessages = ReadFlag(Script);
    else if (Key == "eventmessages") S.EventMessages = ReadFlag(Script);
    else if (Key == "loginmessages") S.LoginMessages = ReadFlag(Script);
    else if (Key == "statusmessages") S.StatusMessages = ReadFlag(Script);
    else if (Key == "timestamps") S.TimeStamps = ReadFlag(Script);
    else if (Key == "openchannel") {
        int Identifier = Script.readNumber();
        if (Identifier >= 0) S.OpenChannels.push_back(Identifier);
    } else if (Key == "classiccontrol") S.ClassicControl = ReadFlag(Script);
    else if (Key == "autochaseoff") S.AutoChaseOff = ReadFlag(Script);
    else if (Key == "attackmode") S.AttackMode = Script.readNumber();
    else if (Key == "chasemode") {
        int Value = Script.readNumber();
        S.ChaseMode = Value == 2 ? 0 : Value;
    } else if (Key == "securemode") S.SecureMode = Script.readNumber() == 1 ? 1 : 0;
    else if (Key == "buddy") ReadBuddy(Script);
    else if (Key == "ignore") ReadList(Script, ReadIgnoreEntry);
    else if (Key == "knownhints") ReadList(Script, ReadKnownHintEntry);
    else if (Key == "shownewhints") S.ShowNewHints = ReadFlag(Script);
    else if (Key == "levelbar") S.LevelBar = ReadFlag(Script);
    else if (Key == "maglevelbar") S.MagLevelBar = ReadFlag(Script);
    else if (Key == "skillbars") {
        for (bool& Shown : S.SkillBars) Shown = false;
        ReadList(Script, ReadSkillBarEntry);
    } else if (Key == "interfacesize") {
        // A size this program does not draw at (an edited file) is left to
        // the automatic choice rather than refusing the whole file.
        const int Size = Script.readNumber();
        S.InterfaceSize = In(Size, 1, MAX_INTERFACE_SIZE) ? Size : INTERFACE_SIZE_AUTOMATIC;
    } else if (Key == "serveraddress") Script.readString();
    else if (Key == "serverport") Script.readNumber();
    // Any other key leaves its value unread; it is then taken for the next key,
    // which in practice ends in an error and the defaults.
}

void ReadPreferencesFile() {
    ReadScriptFile Script;
    try {
        Script.open(Path.c_str());
        for (;;) {
            Script.nextToken();
            if (Script.getToken() == ENDOFFILE) break;
            if (Script.getToken() != IDENTIFIER) Script.error("Identifier expected");
            std::string Key = Script.getIdentifier().substr(0, MAX_IDENTIFIER_LENGTH);
            Script.readSymbol('=');
            ReadValue(Script, Key);
        }
        Script.close();
    } catch (...) {
        if (Script.isOpen()) Script.close();
        throw;
    }
}

// ---- Writing ------------------------------------------------------------------

void WriteFlag(WriteScriptFile& Script, const char* Key, bool Value) {
    Script.writeText(Key);
    Script.writeText(" = ");
    Script.writeText(Value ? "yes" : "no");
    Script.writeLn();
}

void WriteNumber(WriteScriptFile& Script, const char* Key, int Value) {
    Script.writeText(Key);
    Script.writeText(" = ");
    Script.writeNumber(Value);
    Script.writeLn();
}

// Key = (a,b,...) for number tuples.
void WriteTuple(WriteScriptFile& Script, const char* Key, std::initializer_list<int> Values) {
    Script.writeText(Key);
    Script.writeText(" = (");
    bool First = true;
    for (int Value : Values) {
        if (!First) Script.writeText(",");
        Script.writeNumber(Value);
        First = false;
    }
    Script.writeText(")");
    Script.writeLn();
}

void WriteNumberList(WriteScriptFile& Script, const char* Key, const std::vector<int>& Values) {
    Script.writeText(Key);
    Script.writeText(" = {");
    for (size_t i = 0; i < Values.size(); i++) {
        if (i > 0) Script.writeText(",");
        Script.writeNumber(Values[i]);
    }
    Script.writeText("}");
    Script.writeLn();
}

void WriteSettings(WriteScriptFile& Script) {
    const Settings& S = Current;
    Script.writeText("# Vorna - graphical Multi-User-Dungeon");
    Script.writeLn();
    Script.writeText("# DO NOT EDIT THIS FILE");
    Script.writeLn();
    Script.writeLn();

    WriteFlag(Script, "TestServer", S.TestServer);
    if (S.FullscreenWidth != 0)
        WriteTuple(Script, "FullscreenMode", {S.FullscreenWidth, S.FullscreenHeight, S.FullscreenDepth});
    WriteFlag(Script, "WindowsMousepointer", S.WindowsMousepointer);
    WriteFlag(Script, "LightEffects", S.LightEffects);
    WriteFlag(Script, "TextualEffects", S.TextualEffects);
    WriteNumber(Script, "CreatureInfo", S.CreatureInfo);
    WriteFlag(Script, "NoStretching", S.NoStretching == 1);
    WriteNumber(Script, "ConfineFramerate", S.ConfineFramerate);
    for (int i = 0; i < HOTKEYS; i++) {
        if (S.Hotkeys[i].Text.empty()) continue;
        Script.writeText("Hotkey = (");
        Script.writeNumber(i);
        Script.writeText(",");
        std::string Text = S.Hotkeys[i].Text;
        if (S.Hotkeys[i].AutoSend) Text += '\n';
        Script.writeString(Text.c_str());
        Script.writeText(")");
        Script.writeLn();
    }
    Script.writeText("WindowedMode = (");
    for (int Value : {S.WindowX, S.WindowY, S.WindowWidth, S.WindowHeight}) {
        Script.writeNumber(Value);
        Script.writeText(",");
    }
    Script.writeText(S.WindowMaximized ? "yes" : "no");
    Script.writeText(")");
    Script.writeLn();
    WriteNumber(Script, "ConsoleHeight", S.ConsoleHeight);
    WriteNumber(Script, "AutomapZoom", S.AutomapZoom);
    for (const auto& [Key, Value] : S.ContentWindows) WriteTuple(Script, "ContentWindow", {Key, Value});
    WriteTuple(Script, "BuddySortmethods", {S.BuddySortmethods[0], S.BuddySortmethods[1], S.BuddySortmethods[2]});
    WriteFlag(Script, "BuddyHideOffline", S.BuddyHideOffline);
    for (int Identifier : S.OpenDialogs) WriteNumber(Script, "OpenDialogs", Identifier);
    WriteNumber(Script, "LastMotD", S.LastMotD);
    WriteFlag(Script, "InfoMessages", S.InfoMessages);
    WriteFlag(Script, "EventMessages", S.EventMessages);
    WriteFlag(Script, "LoginMessages", S.LoginMessages);
    WriteFlag(Script, "StatusMessages", S.StatusMessages);
    WriteFlag(Script, "TimeStamps", S.TimeStamps);
    for (int Identifier : S.OpenChannels) WriteNumber(Script, "OpenChannel", Identifier);
    WriteFlag(Script, "ClassicControl", S.ClassicControl);
    WriteFlag(Script, "AutoChaseOff", S.AutoChaseOff);
    WriteNumber(Script, "AttackMode", S.AttackMode);
    WriteNumber(Script, "ChaseMode", S.ChaseMode);
    WriteNumber(Script, "SecureMode", S.SecureMode);
    for (int i = 0; i < S.NumberOfBuddies; i++) {
        const BuddyEntry& Buddy = S.Buddies[i];
        if (Buddy.CharacterID == 0) continue;
        Script.writeText("Buddy = (");
        Script.writeNumber(static_cast<int>(Buddy.CharacterID));
        Script.writeText(",");
        Script.writeNumber(Buddy.Number);
        Script.writeText(",");
        Script.writeString(Buddy.Description.c_str());
        Script.writeText(",");
        Script.writeText(Buddy.Flag != 0 ? "yes" : "no");
        Script.writeText(")");
        Script.writeLn();
    }
    Script.writeText("Ignore = {");
    bool First = true;
    for (const IgnoreEntry& Entry : S.Ignores) {
        if (!Entry.Permanent) continue;
        if (!First) Script.writeText(",");
        Script.writeString(Entry.Name.c_str());
        First = false;
    }
    Script.writeText("}");
    Script.writeLn();
    WriteNumberList(Script, "KnownHints", S.KnownHints);
    WriteFlag(Script, "ShowNewHints", S.ShowNewHints);
    WriteFlag(Script, "LevelBar", S.LevelBar);
    WriteFlag(Script, "MagLevelBar", S.MagLevelBar);
    std::vector<int> Shown;
    for (int i = 0; i < SKILLS; i++)
        if (S.SkillBars[i]) Shown.push_back(i);
    WriteNumberList(Script, "SkillBars", Shown);
    // Written only when chosen, so that the file of a player who never chose
    // stays one that earlier versions of the program read.
    if (S.InterfaceSize != INTERFACE_SIZE_AUTOMATIC) WriteNumber(Script, "InterfaceSize", S.InterfaceSize);
}

// A name beside the target, unique enough that two clients saving at the same
// moment do not write into one file.
std::string TemporaryPath() {
    static unsigned Sequence = 0;
    unsigned Salt = 0;
    try {
        std::random_device Random;
        Salt = Random();
    } catch (...) {
        Salt = static_cast<unsigned>(reinterpret_cast<uintptr_t>(&Salt));
    }
    char Suffix[32];
    std::snprintf(Suffix, sizeof Suffix, ".%08x%04x.tmp", Salt, ++Sequence & 0xFFFFu);
    return Path + Suffix;
}

}  // namespace

// ---- Lifecycle ------------------------------------------------------------------

void LoadPreferences() {
    ResetToDefaults();
    try {
        ReadPreferencesFile();
    } catch (const ScriptError&) {
        ResetToDefaults();
    }
    Loaded = true;
}

// The new file is written beside the old one, synced to the disk and renamed
// over it only when it is complete, so a full disk, a program killed in
// mid-save or a power cut cannot leave the player with a truncated or empty
// Vorna.cfg.
void SavePreferences() {
    if (!Loaded) return;
    std::string Temporary = TemporaryPath();
    bool Written = false;
    {
        WriteScriptFile Script;
        try {
            Script.open(Temporary.c_str());
            WriteSettings(Script);
            Script.sync();
            Script.close();
            Written = true;
        } catch (const ScriptError&) {
            if (Script.isOpen()) Script.close();
        }
    }
    if (Written) MoveIntoPlace(Temporary, Path);
    else {
        std::error_code Error;
        std::filesystem::remove(Temporary, Error);
    }
}

void ExitPreferences() {
    SavePreferences();
    Loaded = false;
    ResetToDefaults();
}

void SetPreferencesPath(const std::string& NewPath) { Path = NewPath; }
const std::string& GetPreferencesPath() { return Path; }

// ---- Accessors ------------------------------------------------------------------

bool GetTestServer() { return Current.TestServer; }
void SetTestServer(bool Value) { Current.TestServer = Value; }

void GetFullscreenMode(int* Width, int* Height, int* Depth) {
    *Width = Current.FullscreenWidth;
    *Height = Current.FullscreenHeight;
    *Depth = Current.FullscreenDepth;
}
void SetFullscreenMode(int Width, int Height, int Depth) {
    Current.FullscreenWidth = Width;
    Current.FullscreenHeight = Height;
    Current.FullscreenDepth = Depth;
}

bool GetWindowsMousepointer() { return Current.WindowsMousepointer; }
void SetWindowsMousepointer(bool Value) { Current.WindowsMousepointer = Value; }
bool GetLightEffects() { return Current.LightEffects; }
void SetLightEffects(bool Value) { Current.LightEffects = Value; }
bool GetTextualEffects() { return Current.TextualEffects; }
void SetTextualEffects(bool Value) { Current.TextualEffects = Value; }
int GetCreatureInfo() { return Current.CreatureInfo; }
void SetCreatureInfo(int Value) { Current.CreatureInfo = Value; }
int GetNoStretching() { return Current.NoStretching; }
void SetNoStretching(int Value) { Current.NoStretching = Value; }
int GetConfineFramerate() { return Current.ConfineFramerate; }
void SetConfineFramerate(int Value) { Current.ConfineFramerate = Value; }

void GetWindowedMode(int* X, int* Y, int* Width, int* Height, bool* Maximized) {
    *X = Current.WindowX;
    *Y = Current.WindowY;
    *Width = Current.WindowWidth;
    *Height = Current.WindowHeight;
    *Maximized = Current.WindowMaximized;
}
void SetWindowedMode(int X, int Y, int Width, int Height, bool Maximized) {
    Current.WindowX = X;
    Current.WindowY = Y;
    Current.WindowWidth = Width;
    Current.WindowHeight = Height;
    Current.WindowMaximized = Maximized;
}

int GetConsoleHeight() { return Current.ConsoleHeight; }
void SetConsoleHeight(int Value) { Current.ConsoleHeight = Value; }
int GetAutomapZoom() { return Current.AutomapZoom; }
void SetAutomapZoom(int Value) { Current.AutomapZoom = Value; }

int GetBuddySortmethod(int Index) {
    ASSERT(In(Index,0,2));
    return In(Index, 0, 2) ? Current.BuddySortmethods[Index] : 0;
}
void SetBuddySortmethods(int First, int Second, int Third) {
    Current.BuddySortmethods[0] = First;
    Current.BuddySortmethods[1] = Second;
    Current.BuddySortmethods[2] = Third;
}
bool GetBuddyHideOffline() { return Current.BuddyHideOffline; }
void SetBuddyHideOffline(bool Value) { Current.BuddyHideOffline = Value; }

int GetLastMotD() { return Current.LastMotD; }
void SetLastMotD(int Number) { Current.LastMotD = Number; }

bool GetInfoMessages() { return Current.InfoMessages; }
void SetInfoMessages(bool Value) { Current.InfoMessages = Value; }
bool GetEventMessages() { return Current.EventMessages; }
void SetEventMessages(bool Value) { Current.EventMessages = Value; }
bool GetLoginMessages() { return Current.LoginMessages; }
void SetLoginMessages(bool Value) { Current.LoginMessages = Value; }
bool GetStatusMessages() { return Current.StatusMessages; }
void SetStatusMessages(bool Value) { Current.StatusMessages = Value; }
bool GetTimeStamps() { return Current.TimeStamps; }
void SetTimeStamps(bool Value) { Current.TimeStamps = Value; }

bool GetClassicControl() { return Current.ClassicControl; }
void SetClassicControl(bool Value) { Current.ClassicControl = Value; }
bool GetAutoChaseOff() { return Current.AutoChaseOff; }
void SetAutoChaseOff(bool Value) { Current.AutoChaseOff = Value; }
int GetAttackMode() { return Current.AttackMode; }
void SetAttackMode(int Value) { Current.AttackMode = Value; }
int GetChaseMode() { return Current.ChaseMode; }
void SetChaseMode(int Value) { Current.ChaseMode = Value; }
int GetSecureMode() { return Current.SecureMode; }
void SetSecureMode(int Value) { Current.SecureMode = Value; }

bool GetShowNewHints() { return Current.ShowNewHints; }
void SetShowNewHints(bool Value) { Current.ShowNewHints = Value; }
bool GetLevelBar() { return Current.LevelBar; }
void SetLevelBar(bool Value) { Current.LevelBar = Value; }
bool GetMagLevelBar() { return Current.MagLevelBar; }
void SetMagLevelBar(bool Value) { Current.MagLevelBar = Value; }

int GetInterfaceSize() { return Current.InterfaceSize; }
void SetInterfaceSize(int Size) {
    Current.InterfaceSize = In(Size, 1, MAX_INTERFACE_SIZE) ? Size : INTERFACE_SIZE_AUTOMATIC;
}

bool GetSkillBar(int Number) {
    ASSERT(In(Number,0,SKILLS-1));
    return In(Number, 0, SKILLS - 1) && Current.SkillBars[Number];
}
void SetSkillBar(int Number, bool Shown) {
    ASSERT(In(Number,0,SKILLS-1));
    if (In(Number, 0, SKILLS - 1)) Current.SkillBars[Number] = Shown;
}

const char* GetHotkey(int Number) {
    ASSERT(In(Number,0,HOTKEYS-1));
    return In(Number, 0, HOTKEYS - 1) ? Current.Hotkeys[Number].Text.c_str() : "";
}
bool GetHotkeyAutoSend(int Number) {
    ASSERT(In(Number,0,HOTKEYS-1));
    return In(Number, 0, HOTKEYS - 1) && Current.Hotkeys[Number].AutoSend;
}
void SetHotkey(int Number, const char* Text, bool AutoSend) {
    ASSERT(In(Number,0,HOTKEYS-1));
    ASSERT(Text!=NULL && strlen(Text)<HOTKEY_LENGTH);
    if (!In(Number, 0, HOTKEYS - 1) || Text == NULL) return;
    Current.Hotkeys[Number].Text.assign(Text, BoundedLength(Text, HOTKEY_LENGTH - 1));
    Current.Hotkeys[Number].AutoSend = AutoSend;
}

int GetContentWindowValue(int Key) {
    for (const auto& Entry : Current.ContentWindows)
        if (Entry.first == Key) return Entry.second;
    return 0;
}
void SetContentWindowValue(int Key, int Value) {
    for (auto& Entry : Current.ContentWindows)
        if (Entry.first == Key) {
            Entry.second = Value;
            return;
        }
    Current.ContentWindows.emplace_back(Key, Value);
}

void ClearOpenDialogs() { Current.OpenDialogs.clear(); }
void AddOpenDialog(int Identifier) {
    ASSERT(Identifier>=0);
    if (Identifier >= 0) Current.OpenDialogs.push_back(Identifier);
}
int GetNumberOfOpenDialogs() { return static_cast<int>(Current.OpenDialogs.size()); }
int GetOpenDialog(int Index) {
    ASSERT(In(Index,0,GetNumberOfOpenDialogs()-1));
    return In(Index, 0, GetNumberOfOpenDialogs() - 1) ? Current.OpenDialogs[Index] : -1;
}

void ClearOpenChannels() { Current.OpenChannels.clear(); }
void AddOpenChannel(int Identifier) {
    ASSERT(Identifier>=0);
    if (Identifier >= 0) Current.OpenChannels.push_back(Identifier);
}
int GetNumberOfOpenChannels() { return static_cast<int>(Current.OpenChannels.size()); }
int GetOpenChannel(int Index) {
    ASSERT(In(Index,0,GetNumberOfOpenChannels()-1));
    return In(Index, 0, GetNumberOfOpenChannels() - 1) ? Current.OpenChannels[Index] : -1;
}

void AddKnownHint(int Number) {
    if (!IsKnownHint(Number)) Current.KnownHints.push_back(Number);
}
void ClearKnownHints() { Current.KnownHints.clear(); }

bool IsKnownHint(int Number) {
    for (int Known : Current.KnownHints)
        if (Known == Number) return true;
    return false;
}

void AddBuddy(uint32_t CharacterID, int Number, const char* Description, uint8_t Flag) {
    ASSERT(CharacterID!=0);
    ASSERT(Description!=NULL && strlen(Description)<BUDDYDESCRIPTION_LENGTH);
    if (CharacterID == 0 || Description == NULL) return;
    BuddyEntry* Entry = FindBuddy(CharacterID);
    if (Entry == nullptr) Entry = FreeBuddy();
    ASSERT(Entry!=NULL);
    if (Entry == nullptr) return;
    Entry->CharacterID = CharacterID;
    Entry->Number = Number;
    Entry->Description.assign(Description, BoundedLength(Description, BUDDYDESCRIPTION_LENGTH - 1));
    Entry->Flag = Flag;
}
void RemoveBuddy(uint32_t CharacterID) {
    ASSERT(CharacterID!=0);
    if (BuddyEntry* Entry = FindBuddy(CharacterID)) *Entry = BuddyEntry();
}
bool IsBuddy(uint32_t CharacterID) { return FindBuddy(CharacterID) != nullptr; }
int GetBuddyNumber(uint32_t CharacterID) {
    const BuddyEntry* Entry = FindBuddy(CharacterID);
    return Entry ? Entry->Number : 0;
}
const char* GetBuddyDescription(uint32_t CharacterID) {
    const BuddyEntry* Entry = FindBuddy(CharacterID);
    return Entry ? Entry->Description.c_str() : "";
}
uint8_t GetBuddyFlag(uint32_t CharacterID) {
    const BuddyEntry* Entry = FindBuddy(CharacterID);
    return Entry ? Entry->Flag : 0;
}

void AddIgnore(const char* Name, bool Permanent) {
    ASSERT(Name!=NULL);
    if (Name == NULL) return;
    if (IgnoreEntry* Entry = FindIgnore(Name)) {
        Entry->Permanent = Permanent;
        return;
    }
    Current.Ignores.push_back(IgnoreEntry{Name, Permanent});
}
void RemoveIgnore(const char* Name) {
    ASSERT(Name!=NULL);
    if (Name == NULL) return;
    for (size_t i = 0; i < Current.Ignores.size(); i++)
        if (SameName(Current.Ignores[i].Name, Name)) {
            Current.Ignores.erase(Current.Ignores.begin() + static_cast<long>(i));
            return;
        }
}
bool IsIgnored(const char* Name) {
    ASSERT(Name!=NULL);
    return Name != NULL && FindIgnore(Name) != nullptr;
}
bool IsPermanentlyIgnored(const char* Name) {
    ASSERT(Name!=NULL);
    const IgnoreEntry* Entry = Name != NULL ? FindIgnore(Name) : nullptr;
    return Entry != nullptr && Entry->Permanent;
}
int GetNumberOfIgnores() { return static_cast<int>(Current.Ignores.size()); }
bool GetIgnoreYelling() { return Current.IgnoreYelling; }
void SetIgnoreYelling(bool Value) { Current.IgnoreYelling = Value; }
bool GetIgnorePrivateMessages() { return Current.IgnorePrivateMessages; }
void SetIgnorePrivateMessages(bool Value) { Current.IgnorePrivateMessages = Value; }
const char* GetIgnoreName(int Index) {
    ASSERT(In(Index,0,GetNumberOfIgnores()-1));
    return In(Index, 0, GetNumberOfIgnores() - 1) ? Current.Ignores[Index].Name.c_str() : "";
}
bool GetIgnorePermanent(int Index) {
    ASSERT(In(Index,0,GetNumberOfIgnores()-1));
    return In(Index, 0, GetNumberOfIgnores() - 1) && Current.Ignores[Index].Permanent;
}

const char* GetMessageOfTheDay() {
    return Current.HaveMessageOfTheDay ? Current.MessageOfTheDay.c_str() : "No current information.";
}
void SetMessageOfTheDay(const char* Text) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return;
    Current.MessageOfTheDay = Text;
    Current.HaveMessageOfTheDay = true;
}
