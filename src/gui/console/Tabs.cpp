// The console's tabs and their buffers: the module's state, the channels
// that open and close as tabs, saving a tab's text, and the console's
// commands.
#include "gui/console/ConsoleState.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Status.h"
#include "core/TalkModes.h"
#include "core/Utils.h"
#include "graphics/Talk.h"
#include "net/Commands.h"
#include "platform/Platform.h"
#include "platform/Recording.h"
#include "world/Creatures.h"

#include <algorithm>
#include <cstdio>

// ---- The module's state ----

namespace {
constexpr const char* HELP_WELCOME =
    "Welcome to the help channel! Ask your questions about the game here; experienced players "
    "and counsellors will answer them. Please keep to the topic and be patient.";
constexpr int HELP_CHANNEL = 7;

ConsoleState State;

void ClearTabs() {
    for (size_t i = 1; i < State.Tabs.size(); ++i) delete State.Tabs[i].Buffer;
    if (State.Tabs.empty()) {
        ConsoleTab Default;
        Default.Caption = "Default";
        Default.Buffer = new TextBuffer(BufferKind::Default, 0, -1, "");
        State.Tabs.push_back(Default);
    }
    State.Tabs.resize(1);
    State.Tabs[0].Buffer->clear();
    State.Tabs[0].Highlight = false;
    State.Selected = 0;
    State.OwnChannel = -1;
    State.Changed = true;
}

// The buffers are the module's own: whatever is still open when the program
// ends is released with the module's other state, also where nobody called
// ExitConsole (the console starts itself when the game first needs it).
struct ReleaseAtExit {
    ~ReleaseAtExit() {
        if (State.Initialised) ExitConsole();
    }
} ReleaseConsoleAtExit;
}  // namespace

ConsoleState& TheConsole() {
    if (!State.Initialised) InitConsole();
    return State;
}

std::time_t Now() { return std::time_t(platform::WallClock()); }

const char* PlayerName() {
    const uint32_t ID = GetPlayerID();
    const Creature* P = ID != 0 ? FindCreature(ID) : NULL;
    return P != NULL ? P->Name : "";
}

int TabOf(const TextBuffer* Buffer) {
    const ConsoleState& C = TheConsole();
    for (size_t i = 0; i < C.Tabs.size(); ++i)
        if (C.Tabs[i].Buffer == Buffer) return int(i);
    return -1;
}

int TabOfKind(int Kind) {
    const ConsoleState& C = TheConsole();
    for (size_t i = 1; i < C.Tabs.size(); ++i)
        if (C.Tabs[i].Kind == Kind) return int(i);
    return -1;
}

void InitConsole() {
    ASSERT(!State.Initialised);
    State.Initialised = true;
    SetEventTextFields(CONSOLE_EVENT_REPORT, true, false);
    State.History = std::make_unique<TextBuffer>(BufferKind::History, 0, -1, "");
    State.DefaultMode = TALK_SAY;
    ClearTabs();
}

void ExitConsole() {
    ClearTabs();
    if (!State.Tabs.empty()) delete State.Tabs[0].Buffer;
    State.Tabs.clear();
    State.History.reset();
    State.Initialised = false;
}

void ResetConsole() {
    TheConsole();
    ClearTabs();
    State.EnteredAt = platform::Milliseconds();
}

bool ConsoleChanged() {
    ConsoleState& C = TheConsole();
    bool Was = C.Changed;
    for (const ConsoleTab& T : C.Tabs) Was = Was || T.Buffer->isChanged();
    C.Changed = false;
    return Was;
}

void SetConsoleChanged() { TheConsole().Changed = true; }

// ---- Tabs ----

int GetTabOfBuffer(const TextBuffer* Buffer) { return Buffer != NULL ? TabOf(Buffer) : -1; }

void ClearTabText(int Number) {
    if (!In(Number, 0, GetNumberOfTabs() - 1)) return;
    State.Tabs[size_t(Number)].Buffer->clear();
    State.Changed = true;
}

TextBuffer* GetDefaultBuffer() { return TheConsole().Tabs[0].Buffer; }

TextBuffer* GetHistoryBuffer() { return TheConsole().History.get(); }

int GetNumberOfTabs() { return int(TheConsole().Tabs.size()); }

const ConsoleTab& GetTab(int Number) {
    ASSERT(In(Number,0,GetNumberOfTabs()-1));
    return State.Tabs[size_t(std::clamp(Number, 0, GetNumberOfTabs() - 1))];
}

int GetSelectedTab() { return TheConsole().Selected; }

void SelectTab(int Number) {
    if (!In(Number, 0, GetNumberOfTabs() - 1)) return;
    State.Tabs[size_t(State.Selected)].Highlight = false;
    State.Selected = Number;
    State.Tabs[size_t(Number)].Highlight = false;
    State.Changed = true;
}

int GetDefaultTalkMode() { return TheConsole().DefaultMode; }

void SetDefaultTalkMode(int Mode) {
    ConsoleState& C = TheConsole();
    if (In(Mode, TALK_SAY, TALK_YELL)) C.DefaultMode = Mode;
    C.Changed = true;
}

void CloseSelectedTab() {
    ConsoleState& C = TheConsole();
    if (C.Selected == 0) return;
    const size_t Closing = size_t(C.Selected);
    ConsoleTab Tab = C.Tabs[Closing];
    C.Tabs.erase(C.Tabs.begin() + long(Closing));
    // The right neighbour moved into the closed tab's place.
    int Next = int(Closing) < GetNumberOfTabs() ? int(Closing) : int(Closing) - 1;
    if (Next < 0) Next = 0;
    C.Selected = 0;
    SelectTab(Next);
    TextBuffer* B = Tab.Buffer;
    B->close();
    if (Tab.Kind == CHANNEL_OWN_REQUEST)
        SendCancelRequest();
    else if (Tab.Kind == CHANNEL_ANSWER && B->getPartner()[0] != 0)
        SendCloseRequest(B->getPartner());
    else if ((Tab.Kind == CHANNEL_PUBLIC || Tab.Kind == CHANNEL_REQUESTS) && B->getChannelID() != -1) {
        SendCloseChannel(B->getChannelID());
        if (B->getChannelID() == C.OwnChannel) C.OwnChannel = -1;
    }
    delete B;
}

// ---- Channels ----

namespace {
BufferKind KindOf(int ChannelKind) {
    switch (ChannelKind) {
    case CHANNEL_PRIVATE: return BufferKind::Private;
    case CHANNEL_REQUESTS: return BufferKind::Request;
    default: return BufferKind::Channel;
    }
}

TextBuffer* FindBuffer(int Mode, const char* Partner, int ChannelID) {
    for (size_t i = 1; i < State.Tabs.size(); ++i) {
        TextBuffer* B = State.Tabs[i].Buffer;
        if (B->getMode() == Mode && B->getChannelID() == ChannelID &&
            CompareNoCase(B->getPartner(), Partner != NULL ? Partner : "") == 0)
            return B;
    }
    return NULL;
}
}  // namespace

TextBuffer* OpenChannelTab(int Mode, int ChannelKind, const char* Partner, int ChannelID, const char* Caption) {
    ConsoleState& C = TheConsole();
    ASSERT(Caption!=NULL);
    if (TextBuffer* Old = FindBuffer(Mode, Partner, ChannelID)) {
        SelectTab(TabOf(Old));
        return Old;
    }
    ConsoleTab Tab;
    Tab.Caption = Caption != NULL ? Caption : "";
    Tab.Kind = ChannelKind;
    Tab.Buffer = new TextBuffer(KindOf(ChannelKind), Mode, ChannelID, Partner);
    C.Tabs.push_back(Tab);
    if (ChannelID == HELP_CHANNEL && ChannelKind == CHANNEL_PUBLIC)
        Tab.Buffer->addLine(HELP_WELCOME, TALK_INFO_MESSAGE, NULL, Now());
    if (platform::Milliseconds() - C.EnteredAt >= CONSOLE_SELECT_THRESHOLD) SelectTab(int(C.Tabs.size()) - 1);
    C.Changed = true;
    return Tab.Buffer;
}

int GetOwnChannel() { return TheConsole().OwnChannel; }

void OpenOwnChannel(int ChannelID, const char* Caption) {
    OpenChannelTab(TALK_CHANNEL_CALL, CHANNEL_PUBLIC, "", ChannelID, Caption);
    State.OwnChannel = ChannelID;
}

void CloseChannel(int Kind, int ChannelID, const char* Name, const char* Text) {
    ConsoleState& C = TheConsole();
    for (size_t i = 1; i < C.Tabs.size(); ++i) {
        const ConsoleTab& T = C.Tabs[i];
        if (T.Kind != Kind) continue;
        if (Kind == CHANNEL_PUBLIC && T.Buffer->getChannelID() != ChannelID) continue;
        if (Kind == CHANNEL_ANSWER && CompareNoCase(T.Buffer->getPartner(), Name != NULL ? Name : "") != 0) continue;
        AddPlainLine(T.Buffer, Text, TALK_INFO_MESSAGE, NULL);
        T.Buffer->close();
        if (Kind == CHANNEL_PUBLIC && ChannelID == C.OwnChannel) C.OwnChannel = -1;
        return;
    }
}

// ---- Saving ----

std::string ChannelFileName(const char* Caption) {
    // The caption comes from the server (a channel's or a partner's name):
    // path separators, a drive's colon, ".." and control characters would
    // let it name a file elsewhere, so each becomes an underscore. A
    // caption without them keeps its exact name.
    std::string Name = Caption != NULL ? Caption : "";
    for (size_t i = 0; i < Name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(Name[i]);
        if (c < 32 || c == 127 || c == '/' || c == '\\' || c == ':') Name[i] = '_';
    }
    for (size_t i = Name.find(".."); i != std::string::npos; i = Name.find("..", i)) {
        Name[i] = Name[i + 1] = '_';
    }
    if (Name.empty()) Name = "_";
    return Name + ".txt";
}

void SaveSelectedChannel() {
    const ConsoleTab& Tab = TheConsole().selectedTab();
    ASSERT(Tab.Buffer!=NULL);
    const std::string FileName = ChannelFileName(Tab.Caption.c_str());
    std::FILE* F = std::fopen(FileName.c_str(), "a");
    if (F == NULL) return;
    const std::time_t T = Now();
    char Date[32];
    std::tm Local{};
    localtime_r(&T, &Local);
    std::strftime(Date, sizeof Date, "%a %b %e %H:%M:%S %Y", &Local);  // the 24 characters of ctime
    std::fprintf(F, "\nChannel saved at %s\n", Date);
    const bool Stamps = GetTimeStamps();
    for (int n = 0; n < Tab.Buffer->getLines(); ++n) std::fprintf(F, "%s\n", Tab.Buffer->shownText(n, Stamps));
    std::fclose(F);
    const std::string Said = "Channel appended to " + FileName;
    SetStatusLine(Said.c_str(), false);
}

// ---- The console's commands ----

void ConsoleCommand(int number) {
    ConsoleState& C = TheConsole();
    switch (number) {
    case CONSOLE_SHOW: SelectTab(C.Selected); break;
    case CONSOLE_CLOSE_TAB: CloseSelectedTab(); break;
    case CONSOLE_SAVE: SaveSelectedChannel(); break;
    case CONSOLE_CHANNEL_LIST: SendRequestChannels(); break;
    case CONSOLE_IGNORE_LIST: PostEvent(IGNORE_EVENT, 0, 0); break;
    case CONSOLE_HOTKEYS: PostEvent(OPTIONS_EVENT_HOTKEYS, 0, 0); break;
    case CONSOLE_SAY: SetDefaultTalkMode(TALK_SAY); break;
    case CONSOLE_WHISPER: SetDefaultTalkMode(TALK_WHISPER); break;
    case CONSOLE_YELL: SetDefaultTalkMode(TALK_YELL); break;
    case CONSOLE_SERVER_MESSAGES: {
        TextBuffer* B = C.selectedTab().Buffer;
        if (C.Selected != 0) B->setServerMessages(!B->receivesServerMessages());
        break;
    }
    case CONSOLE_DEFAULT_TAB: SelectTab(0); break;
    case CONSOLE_NEXT_TAB: SelectTab((C.Selected + 1) % GetNumberOfTabs()); break;
    case CONSOLE_PREVIOUS_TAB: SelectTab((C.Selected + GetNumberOfTabs() - 1) % GetNumberOfTabs()); break;
    default: break;
    }
}
