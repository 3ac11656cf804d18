// The console: sections
//   1. Module state
//   2. Routing of incoming lines
//   3. Tabs
//   4. Typing and sending
//   5. The component
//   6. The channel choice and the rule-violation question (dialogs)
//   7. The console's events
#include "gui/windows/ConsoleWindow.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Status.h"
#include "core/TalkModes.h"
#include "core/Utils.h"
#include "graphics/Surface.h"
#include "graphics/Talk.h"
#include "graphics/graphics.h"
#include "gui/menus/ConsoleChannelMenu.h"
#include "gui/menus/ConsoleTextMenu.h"
#include "gui/framework/Dialogs.h"
#include "gui/help/Help.h"
#include "gui/menus/ReportChannelMenu.h"
#include "gui/framework/SkinProperties.h"
#include "gui/framework/Skins.h"
#include "net/GameMessages.h"
#include "net/Commands.h"
#include "platform/Platform.h"
#include "platform/Recording.h"
#include "world/Creatures.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>

// ==== 1. Module state ==========================================================================

namespace {
constexpr int CONSOLE_FONT = 4;
constexpr int INPUT_LENGTH = 255;
constexpr int ECHO_MODE = 24;
constexpr const char* HELP_WELCOME =
    "Welcome to the help channel! Ask your questions about the game here; experienced players "
    "and counsellors will answer them. Please keep to the topic and be patient.";
constexpr int HELP_CHANNEL = 7;

// Lives as long as the console.
struct {
    bool Initialised = false;
    std::unique_ptr<TextBuffer> History;
} Lasting;

// Lives while the player is in the game.
struct {
    std::vector<ConsoleTab> Tabs;
    int Selected = 0;
    int DefaultMode = TALK_SAY;
    int OwnChannel = -1;  // the player's own private channel, -1 while none is open
    uint32_t EnteredAt = 0;
    uint32_t IgnoreLitUntil = 0;
    bool IgnoreLit = false;
    bool Changed = true;
} Game;

std::time_t Now() { return std::time_t(platform::WallClock()); }

const char* PlayerName() {
    const uint32_t ID = GetPlayerID();
    const Creature* P = ID != 0 ? FindCreature(ID) : NULL;
    return P != NULL ? P->Name : "";
}

void ClearTabs() {
    for (size_t i = 1; i < Game.Tabs.size(); ++i) delete Game.Tabs[i].Buffer;
    if (Game.Tabs.empty()) {
        ConsoleTab Default;
        Default.Caption = "Default";
        Default.Buffer = new TextBuffer(BufferKind::Default, 0, -1, "");
        Game.Tabs.push_back(Default);
    }
    Game.Tabs.resize(1);
    Game.Tabs[0].Buffer->clear();
    Game.Tabs[0].Highlight = false;
    Game.Selected = 0;
    Game.OwnChannel = -1;
    Game.Changed = true;
}

int TabOf(const TextBuffer* Buffer) {
    for (size_t i = 0; i < Game.Tabs.size(); ++i)
        if (Game.Tabs[i].Buffer == Buffer) return int(i);
    return -1;
}
}  // namespace

// The buffers are the module's own: whatever is still open when the program
// ends is released with the module's other state, also where nobody called
// ExitConsole (the console starts itself when the game first needs it).
namespace {
struct ReleaseAtExit {
    ~ReleaseAtExit() {
        if (Lasting.Initialised) ExitConsole();
    }
} ReleaseConsoleAtExit;
}  // namespace

void InitConsole() {
    ASSERT(!Lasting.Initialised);
    Lasting.Initialised = true;
    SetEventTextFields(CONSOLE_EVENT_REPORT, true, false);
    Lasting.History = std::make_unique<TextBuffer>(BufferKind::History, 0, -1, "");
    Game.DefaultMode = TALK_SAY;
    ClearTabs();
}

void ExitConsole() {
    ClearTabs();
    if (!Game.Tabs.empty()) delete Game.Tabs[0].Buffer;
    Game.Tabs.clear();
    Lasting.History.reset();
    Lasting.Initialised = false;
}

void ResetConsole() {
    if (!Lasting.Initialised) InitConsole();
    ClearTabs();
    Game.EnteredAt = platform::Milliseconds();
}

int GetTabOfBuffer(const TextBuffer* Buffer) { return Buffer != NULL ? TabOf(Buffer) : -1; }

void ClearTabText(int Number) {
    if (!In(Number, 0, GetNumberOfTabs() - 1)) return;
    Game.Tabs[size_t(Number)].Buffer->clear();
    Game.Changed = true;
}

TextBuffer* GetDefaultBuffer() {
    if (!Lasting.Initialised) InitConsole();
    return Game.Tabs[0].Buffer;
}

TextBuffer* GetHistoryBuffer() {
    if (!Lasting.Initialised) InitConsole();
    return Lasting.History.get();
}

bool ConsoleChanged() {
    bool Was = Game.Changed;
    for (const ConsoleTab& T : Game.Tabs) Was = Was || T.Buffer->isChanged();
    Game.Changed = false;
    return Was;
}

// ==== 2. Routing of incoming lines ===============================================================

void AddPlainLine(TextBuffer* Buffer, const char* Text, int Mode, const char* Speaker) {
    ASSERT(Buffer!=NULL);
    if (Buffer == NULL || Text == NULL) return;
    if (!Buffer->addLine(Text, Mode, Speaker, Now())) return;
    const int Tab = TabOf(Buffer);
    if (Tab >= 0 && Tab != Game.Selected) Game.Tabs[size_t(Tab)].Highlight = true;
    Game.Changed = true;
}

namespace {
bool MessageAllowed(int Mode) {
    switch (Mode) {
    case TALK_EVENT_MESSAGE: return GetEventMessages();
    case TALK_STATUS_MESSAGE: return GetStatusMessages();
    case TALK_LOGIN_MESSAGE: return GetLoginMessages();
    case TALK_ADMIN_MESSAGE: return GetInfoMessages();
    default: return true;
    }
}

// The buffer whose filter matches last, or Candidate when none does.
TextBuffer* LastMatch(TextBuffer* Candidate, int Mode, int ChannelID, const char* Speaker) {
    // The channel variants are channel talk to the filters; broadcasts and
    // the game master's private messages never go to a tab of their own.
    const int Matched = (Mode == TALK_GAMEMASTER_CHANNELCALL || Mode == TALK_CHANNEL_HIGHLIGHT ||
                         Mode == TALK_ANONYMOUS_CHANNELCALL)
                            ? TALK_CHANNEL_CALL
                            : Mode;
    if (In(Matched, 9, 12)) return Candidate;
    for (size_t i = 1; i < Game.Tabs.size(); ++i) {
        TextBuffer* B = Game.Tabs[i].Buffer;
        if (B->matches(Matched, ChannelID, Speaker)) Candidate = B;
    }
    return Candidate;
}
}  // namespace

void AddTalkLine(const char* Text, int Mode, const char* Speaker, int ChannelID) {
    if (!Lasting.Initialised) InitConsole();
    if (Text == NULL) return;
    if (In(Mode, TALK_INFO_MESSAGE, TALK_FAILURE_MESSAGE)) {
        if (Mode == TALK_FAILURE_MESSAGE || !MessageAllowed(Mode)) return;
        AddPlainLine(Game.Tabs[0].Buffer, Text, Mode, NULL);
        for (size_t i = 1; i < Game.Tabs.size(); ++i) {
            TextBuffer* B = Game.Tabs[i].Buffer;
            if (B->receivesServerMessages() && B->accepts()) AddPlainLine(B, Text, Mode, NULL);
        }
        return;
    }
    const bool NoDefault = In(Mode, 5, 8) || Mode == 10 || Mode == 12 || Mode == 14;
    if (Mode == TALK_ANONYMOUS_CHANNELCALL) Speaker = NULL;
    TextBuffer* Target = LastMatch(NoDefault ? NULL : Game.Tabs[0].Buffer, Mode, ChannelID, Speaker);
    if (Target != NULL) AddPlainLine(Target, Text, Mode, Speaker);
}

void OwnTextEcho(const char* Speaker, const char* Text, int Mode, const char* Partner, int ChannelID) {
    if (!Lasting.Initialised) InitConsole();
    TextBuffer* Target = LastMatch(NULL, Mode, ChannelID, Partner);
    if (Target == NULL && Mode != TALK_CHANNEL_CALL) Target = Game.Tabs[0].Buffer;
    if (Target != NULL) AddPlainLine(Target, Text, ECHO_MODE, Speaker);
}

void IgnoredSpeaker() {
    Game.IgnoreLit = true;
    Game.IgnoreLitUntil = platform::Milliseconds() + IGNORE_INDICATOR_TIME;
}

bool IsIgnoreIndicatorLit() {
    if (Game.IgnoreLit && int32_t(platform::Milliseconds() - Game.IgnoreLitUntil) >= 0) Game.IgnoreLit = false;
    return Game.IgnoreLit;
}

// ==== 3. Tabs ============================================================================

int GetNumberOfTabs() {
    if (!Lasting.Initialised) InitConsole();
    return int(Game.Tabs.size());
}

const ConsoleTab& GetTab(int Number) {
    ASSERT(In(Number,0,GetNumberOfTabs()-1));
    return Game.Tabs[size_t(std::clamp(Number, 0, GetNumberOfTabs() - 1))];
}

int GetSelectedTab() { return Game.Selected; }

void SelectTab(int Number) {
    if (!In(Number, 0, GetNumberOfTabs() - 1)) return;
    Game.Tabs[size_t(Game.Selected)].Highlight = false;
    Game.Selected = Number;
    Game.Tabs[size_t(Number)].Highlight = false;
    Game.Changed = true;
}

int GetDefaultTalkMode() { return Game.DefaultMode; }
void SetDefaultTalkMode(int Mode) {
    if (In(Mode, TALK_SAY, TALK_YELL)) Game.DefaultMode = Mode;
    Game.Changed = true;
}

namespace {
BufferKind KindOf(int ChannelKind) {
    switch (ChannelKind) {
    case CHANNEL_PRIVATE: return BufferKind::Private;
    case CHANNEL_REQUESTS: return BufferKind::Request;
    default: return BufferKind::Channel;
    }
}

TextBuffer* FindBuffer(int Mode, const char* Partner, int ChannelID) {
    for (size_t i = 1; i < Game.Tabs.size(); ++i) {
        TextBuffer* B = Game.Tabs[i].Buffer;
        if (B->getMode() == Mode && B->getChannelID() == ChannelID &&
            CompareNoCase(B->getPartner(), Partner != NULL ? Partner : "") == 0)
            return B;
    }
    return NULL;
}

int TabOfKind(int Kind) {
    for (size_t i = 1; i < Game.Tabs.size(); ++i)
        if (Game.Tabs[i].Kind == Kind) return int(i);
    return -1;
}
}  // namespace

TextBuffer* OpenChannelTab(int Mode, int ChannelKind, const char* Partner, int ChannelID, const char* Caption) {
    if (!Lasting.Initialised) InitConsole();
    ASSERT(Caption!=NULL);
    if (TextBuffer* Old = FindBuffer(Mode, Partner, ChannelID)) {
        SelectTab(TabOf(Old));
        return Old;
    }
    ConsoleTab Tab;
    Tab.Caption = Caption != NULL ? Caption : "";
    Tab.Kind = ChannelKind;
    Tab.Buffer = new TextBuffer(KindOf(ChannelKind), Mode, ChannelID, Partner);
    Game.Tabs.push_back(Tab);
    if (ChannelID == HELP_CHANNEL && ChannelKind == CHANNEL_PUBLIC)
        Tab.Buffer->addLine(HELP_WELCOME, TALK_INFO_MESSAGE, NULL, Now());
    if (platform::Milliseconds() - Game.EnteredAt >= CONSOLE_SELECT_THRESHOLD) SelectTab(int(Game.Tabs.size()) - 1);
    Game.Changed = true;
    return Tab.Buffer;
}

int GetOwnChannel() { return Game.OwnChannel; }

void OpenOwnChannel(int ChannelID, const char* Caption) {
    OpenChannelTab(TALK_CHANNEL_CALL, CHANNEL_PUBLIC, "", ChannelID, Caption);
    Game.OwnChannel = ChannelID;
}

void CloseSelectedTab() {
    if (!Lasting.Initialised || Game.Selected == 0) return;
    const size_t Closing = size_t(Game.Selected);
    ConsoleTab Tab = Game.Tabs[Closing];
    Game.Tabs.erase(Game.Tabs.begin() + long(Closing));
    // The right neighbour moved into the closed tab's place.
    int Next = int(Closing) < GetNumberOfTabs() ? int(Closing) : int(Closing) - 1;
    if (Next < 0) Next = 0;
    Game.Selected = 0;
    SelectTab(Next);
    TextBuffer* B = Tab.Buffer;
    B->close();
    if (Tab.Kind == CHANNEL_OWN_REQUEST)
        SendCancelRequest();
    else if (Tab.Kind == CHANNEL_ANSWER && B->getPartner()[0] != 0)
        SendCloseRequest(B->getPartner());
    else if ((Tab.Kind == CHANNEL_PUBLIC || Tab.Kind == CHANNEL_REQUESTS) && B->getChannelID() != -1) {
        SendCloseChannel(B->getChannelID());
        if (B->getChannelID() == Game.OwnChannel) Game.OwnChannel = -1;
    }
    delete B;
}

void ReportRuleViolation(const char* Question) {
    ASSERT(Question!=NULL && strlen(Question)>0);
    if (Question == NULL || Question[0] == 0) return;
    const int Existing = TabOfKind(CHANNEL_OWN_REQUEST);
    if (Existing >= 0 && GetTab(Existing).Buffer->accepts()) {
        SelectTab(Existing);
        SetStatusLine("You have already submitted a request. Please be patient.", false);
        return;
    }
    if (Existing >= 0) {
        // The tab of a request already closed would take no new lines: it
        // makes way for the new one; the server has forgotten that request.
        delete Game.Tabs[size_t(Existing)].Buffer;
        Game.Tabs.erase(Game.Tabs.begin() + Existing);
        if (Game.Selected >= Existing) Game.Selected = std::max(Game.Selected - 1, 0);
    }
    // The answers arrive as mode 7; the player's own lines go out as mode 8.
    TextBuffer* B = OpenChannelTab(TALK_PLAYER_ANSWER, CHANNEL_OWN_REQUEST, "", -1, "Report Rule Violation");
    B->setFilterMode(TALK_GAMEMASTER_ANSWER);
    SelectTab(TabOf(B));
    AddPlainLine(B, Question, TALK_PLAYER_ANSWER, PlayerName());
    AddPlainLine(B, "Please wait patiently for a counsellor to reply.", TALK_INFO_MESSAGE, NULL);
    SendTalk(TALK_GAMEMASTER_REQUEST, NULL, -1, Question);
}

void OpenRequestChannel(int ChannelID) {
    if (TabOfKind(CHANNEL_REQUESTS) >= 0) return;
    // The server's id for it, so that closing the tab leaves it.
    OpenChannelTab(TALK_GAMEMASTER_REQUEST, CHANNEL_REQUESTS, "", ChannelID, "Rule Violations");
}

void AddRequestLine(const char* Speaker, int32_t Number, const char* Text) {
    const int Tab = TabOfKind(CHANNEL_REQUESTS);
    if (Tab < 0 || Text == NULL) return;
    TextBuffer* B = Game.Tabs[size_t(Tab)].Buffer;
    if (B->addLine(Text, TALK_GAMEMASTER_REQUEST, Speaker, Now(), Number) && Tab != Game.Selected)
        Game.Tabs[size_t(Tab)].Highlight = true;
    Game.Changed = true;
}

void ProcessRequest(const char* Name) {
    const int Tab = TabOfKind(CHANNEL_REQUESTS);
    if (Tab < 0 || Name == NULL || Name[0] == 0) return;
    // The request's own line starts the conversation about it.
    const TextBuffer* Requests = Game.Tabs[size_t(Tab)].Buffer;
    std::string Question;
    for (int n = 0; n < Requests->getLines(); ++n)
        if (CompareNoCase(Requests->getLine(n).Speaker, Name) == 0) Question = Requests->shownText(n, false);
    SendProcessRequest(Name);
    char Caption[SPEAKER_NAME_LENGTH + 16];
    std::snprintf(Caption, sizeof Caption, "%s's Report", Name);
    // The counsellor answers as mode 7; the asker's lines arrive as mode 8.
    TextBuffer* B = OpenChannelTab(TALK_GAMEMASTER_ANSWER, CHANNEL_ANSWER, Name, -1, Caption);
    B->setFilterMode(TALK_PLAYER_ANSWER);
    SelectTab(TabOf(B));
    if (!Question.empty()) AddPlainLine(B, Question.c_str(), TALK_GAMEMASTER_REQUEST, NULL);
}

void RemoveRequest(const char* Name) {
    const int Tab = TabOfKind(CHANNEL_REQUESTS);
    if (Tab >= 0) Game.Tabs[size_t(Tab)].Buffer->removeSpeaker(Name);
}

void CloseChannel(int Kind, int ChannelID, const char* Name, const char* Text) {
    for (size_t i = 1; i < Game.Tabs.size(); ++i) {
        const ConsoleTab& T = Game.Tabs[i];
        if (T.Kind != Kind) continue;
        if (Kind == CHANNEL_PUBLIC && T.Buffer->getChannelID() != ChannelID) continue;
        if (Kind == CHANNEL_ANSWER && CompareNoCase(T.Buffer->getPartner(), Name != NULL ? Name : "") != 0) continue;
        AddPlainLine(T.Buffer, Text, TALK_INFO_MESSAGE, NULL);
        T.Buffer->close();
        if (Kind == CHANNEL_PUBLIC && ChannelID == Game.OwnChannel) Game.OwnChannel = -1;
        return;
    }
}

std::string ShortenCaption(const char* Caption, int Width) {
    std::string Shown = Caption != NULL ? Caption : "";
    while (!Shown.empty() && GetTextWidth(CONSOLE_FONT, Shown.c_str()) > Width) Shown.pop_back();
    return Shown;
}

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
    if (!Lasting.Initialised) InitConsole();
    const ConsoleTab& Tab = Game.Tabs[size_t(Game.Selected)];
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

// ==== 4. Typing and sending ======================================================================

namespace {
bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }

void SkipBlanks(const char*& P) {
    while (IsBlankChar(*P)) ++P;
}

void Send(int Mode, const char* Partner, int ChannelID, const char* Text) {
    switch (Mode) {
    case TALK_SAY:
    case TALK_WHISPER:
    case TALK_YELL:
    case TALK_GAMEMASTER_BROADCAST:
    case TALK_ANONYMOUS_BROADCAST: SendTalk(Mode, NULL, -1, Text); break;
    case TALK_PRIVATE_MESSAGE:
    case TALK_GAMEMASTER_MESSAGE:
    case TALK_ANONYMOUS_MESSAGE:
        ASSERT(Partner!=NULL);
        if (Partner == NULL || Partner[0] == 0 || CompareNoCase(Partner, PlayerName()) == 0) return;
        SendTalk(Mode, Partner, -1, Text);
        OwnTextEcho(PlayerName(), Text, Mode, Partner, -1);
        break;
    case TALK_CHANNEL_CALL:
    case TALK_GAMEMASTER_CHANNELCALL:
    case TALK_ANONYMOUS_CHANNELCALL:
        ASSERT(ChannelID!=-1);
        if (ChannelID == -1) return;
        SendTalk(Mode, NULL, ChannelID, Text);
        break;
    case TALK_GAMEMASTER_ANSWER:
        if (Partner == NULL || Partner[0] == 0) return;
        SendTalk(Mode, Partner, -1, Text);
        OwnTextEcho(PlayerName(), Text, TALK_PLAYER_ANSWER, Partner, -1);
        break;
    case TALK_PLAYER_ANSWER:
        SendTalk(Mode, NULL, -1, Text);
        OwnTextEcho("", Text, TALK_GAMEMASTER_ANSWER, "", -1);
        break;
    default: break;  // a tab nobody talks into
    }
}
}  // namespace

std::string SendInputLine(const char* Line) {
    if (!Lasting.Initialised) InitConsole();
    if (Line == NULL) return "";
    TextBuffer* History = Lasting.History.get();
    const int HistoryLines = History->getLines();
    if (Line[0] != 0 && (HistoryLines == 0 || std::strcmp(History->getLine(HistoryLines - 1).Text + History->getLine(HistoryLines - 1).TextStart, Line) != 0))
        History->addLine(Line, 0, NULL, Now());

    const ConsoleTab& Tab = Game.Tabs[size_t(Game.Selected)];
    const TextBuffer* B = Tab.Buffer;
    const bool InDefault = Game.Selected == 0;
    int Mode = 0;
    std::string Partner;
    const char* P = Line;
    SkipBlanks(P);
    if (P[0] == '#' && P[1] != 0 && !IsBlankChar(P[1])) {
        const char Letter = char(std::toupper(static_cast<unsigned char>(P[1])));
        const char* Rest = P + 2;
        while (*Rest != 0 && !IsBlankChar(*Rest)) ++Rest;  // the rest of that word
        switch (Letter) {
        case 'S': Mode = TALK_SAY; P = Rest; break;
        case 'W': Mode = TALK_WHISPER; P = Rest; break;
        case 'Y': Mode = TALK_YELL; P = Rest; break;
        case 'B': Mode = TALK_GAMEMASTER_BROADCAST; P = Rest; break;
        case 'A': Mode = TALK_ANONYMOUS_BROADCAST; P = Rest; break;
        case 'C': Mode = TALK_GAMEMASTER_CHANNELCALL; P = Rest; break;
        case 'D': Mode = TALK_ANONYMOUS_CHANNELCALL; P = Rest; break;
        case 'I':
        case 'X':
            P = Rest;
            if (Game.OwnChannel != -1) {
                SkipBlanks(P);
                if (*P != 0) {
                    if (Letter == 'I')
                        SendInviteToOwnChannel(P);
                    else
                        SendExcludeFromOwnChannel(P);
                }
                return "";
            }
            break;
        default: break;  // not a prefix: said as typed
        }
    } else if (P[0] == '*' || P[0] == '@' || P[0] == '$') {
        const char* Close = std::strchr(P + 1, P[0]);
        if (Close != NULL) {
            if (Close == P + 1) return "";  // an empty name cancels the message
            Partner.assign(P + 1, size_t(Close - P - 1));
            Mode = P[0] == '*' ? TALK_PRIVATE_MESSAGE : P[0] == '@' ? TALK_GAMEMASTER_MESSAGE : TALK_ANONYMOUS_MESSAGE;
            P = Close + 1;
        }
    }
    SkipBlanks(P);
    int ChannelID = -1;
    if (Mode == 0) {
        if (InDefault) {
            Mode = Game.DefaultMode;
        } else {
            Mode = B->getMode();
            Partner = B->getPartner();
        }
    }
    if (!InDefault && B->getKind() == BufferKind::Channel) ChannelID = B->getChannelID();
    if ((Mode == TALK_GAMEMASTER_CHANNELCALL || Mode == TALK_ANONYMOUS_CHANNELCALL || Mode == TALK_CHANNEL_CALL) &&
        ChannelID == -1) {
        SetStatusLine("This is not a chat channel.", false);
        return "";
    }
    if (*P == 0) return "";
    Send(Mode, Partner.c_str(), ChannelID, P);
    // The next line goes to the same partner, unless his own tab is shown;
    // a message to oneself is not sent, and the next line is not his either.
    if (Mode == TALK_PRIVATE_MESSAGE && CompareNoCase(Partner.c_str(), PlayerName()) != 0 &&
        !(B->getKind() == BufferKind::Private && CompareNoCase(B->getPartner(), Partner.c_str()) == 0))
        return "*" + Partner.substr(0, 29) + "* ";
    return "";
}

// ==== 5. The component =========================================================================

namespace {
constexpr int TAB_WIDTH = 96;
constexpr int TAB_HEIGHT = 18;
constexpr int MARGIN = 4;
constexpr int INPUT_HEIGHT = 18;
// Behind selected text: a muted blue that every talk colour stays readable on.
constexpr RGBColour SELECTION{50, 70, 130};
constexpr RGBColour TEXT_BACKGROUND{20, 20, 24};
}  // namespace

namespace {
// The channel buttons in a column right of the text, top to bottom.
constexpr int BUTTON_WIDTH = 70;
struct ConsoleButton {
    const char* Text;
    int Command;
};
constexpr ConsoleButton BUTTON_LIST[ConsoleWindow::BUTTONS] = {
    {"Close", CONSOLE_CLOSE_TAB},
    {"Save", CONSOLE_SAVE},
    {"Channels", CONSOLE_CHANNEL_LIST},
    {"Messages", CONSOLE_SERVER_MESSAGES},
};
// The talk-mode buttons beside the input line, for TALK_SAY to TALK_YELL.
constexpr ConsoleButton MODE_LIST[3] = {
    {"Say", CONSOLE_SAY},
    {"Whisper", CONSOLE_WHISPER},
    {"Yell", CONSOLE_YELL},
};
constexpr int MODE_PADDING = 6;  // beside a mode button's caption
constexpr int MODE_FALLBACK_WIDTH = 40;  // without fonts (a view built in the tests)
// The arrows at the end of the tab row (the scroll bar's left and right
// arrows), and the room kept beside them for the ignore indicator.
constexpr int ARROW_LEFT_UP = 161, ARROW_LEFT_DOWN = 162, ARROW_RIGHT_UP = 163, ARROW_RIGHT_DOWN = 164;
constexpr int INDICATOR_ROOM = 14;
// The numeric pad's block keys, as they come without Num Lock.
constexpr int PAD_KEY_PAGEDOWN = 279, PAD_KEY_HOME = 280, PAD_KEY_PAGEUP = 281;
constexpr int TAB_PITCH = TAB_WIDTH + 2;

// The keys that move between the tabs.
int TabKeyCommand(int code) {
    switch (code) {
    case keys::PAGEUP | keys::CTRL:
    case PAD_KEY_PAGEUP | keys::CTRL: return CONSOLE_PREVIOUS_TAB;
    case keys::PAGEDOWN | keys::CTRL:
    case PAD_KEY_PAGEDOWN | keys::CTRL: return CONSOLE_NEXT_TAB;
    case keys::HOME | keys::CTRL:
    case PAD_KEY_HOME | keys::CTRL: return CONSOLE_DEFAULT_TAB;
    default: return 0;
    }
}
}  // namespace

ConsoleWindow::ConsoleWindow() : CompositeComponent(0) {
    if (!Lasting.Initialised) InitConsole();
    Typed.reserve(INPUT_LENGTH + 1);
    for (int i = 0; i < BUTTONS; ++i) {
        Buttons[i] = new TextButton(BUTTON_LIST[i].Text, CommandTarget(this, BUTTON_LIST[i].Command));
        addChild(Buttons[i]);
    }
    const int Font = SkinProperties().Buttons.Font;
    const bool Measurable = In(Font, 1, NumberOfFonts) && IsGraphicsInitialized();
    for (int i = 0; i < 3; ++i) {
        ModeButtons[i] = new TextToggleButton(MODE_LIST[i].Text, CommandTarget(this, MODE_LIST[i].Command));
        ModeButtons[i]->setSize(Measurable ? GetTextWidth(Font, MODE_LIST[i].Text) + 2 * MODE_PADDING : MODE_FALLBACK_WIDTH,
                                INPUT_HEIGHT);
        ModeButtons[i]->setOn(TALK_SAY + i == Game.DefaultMode);
        addChild(ModeButtons[i]);
    }
    Arrows[0] = new Button(ARROW_LEFT_UP, ARROW_LEFT_DOWN, CommandTarget(this, CONSOLE_PREVIOUS_TAB),
                           "Next channel to the left (Ctrl+PageUp)");
    Arrows[1] = new Button(ARROW_RIGHT_UP, ARROW_RIGHT_DOWN, CommandTarget(this, CONSOLE_NEXT_TAB),
                           "Next channel to the right (Ctrl+PageDown)");
    // Children only while the tabs overflow (layout adds and removes them).
    for (Button* A : Arrows) A->setSize(Skins[ARROW_LEFT_UP].width, Skins[ARROW_LEFT_UP].height);
}

ConsoleWindow::~ConsoleWindow() {
    if (!ArrowsShown)
        for (Button* A : Arrows) delete A;
    ForgetConsoleWindow(this);
}

int ConsoleWindow::getTabWidth() const { return TAB_WIDTH; }

bool ConsoleWindow::queryHelp(int x, int y) {
    bool Channels = y < getTextTop();
    for (int i = 0; i < BUTTONS; ++i)
        if (Buttons[i]->contains(x, y)) Channels = true;
    SetHelpNumber(Channels ? HELP_CONSOLE_CHANNELS : HELP_CONSOLE);
    SetHelpSize(_Width, _Height);
    return true;
}
int ConsoleWindow::getTextTop() const { return TAB_HEIGHT + 2; }
int ConsoleWindow::getTextHeight() const { return std::max(_Height - INPUT_HEIGHT - 2 * MARGIN - getTextTop(), 0); }
int ConsoleWindow::getTextWidth() const { return std::max(_Width - 2 * MARGIN - 4 - BUTTON_WIDTH - 2, 1); }

int ConsoleWindow::inputWidth() const {
    int Modes = 0;
    for (const TextToggleButton* M : ModeButtons) Modes += M->getWidth() + 2;
    return std::max(_Width - 2 * MARGIN - Modes, 1);
}

// ---- The tab row ----

bool ConsoleWindow::tabsOverflow() const {
    return GetNumberOfTabs() * TAB_PITCH > _Width - 2 * MARGIN - INDICATOR_ROOM;
}

int ConsoleWindow::getShownTabs() const {
    int Room = _Width - 2 * MARGIN - INDICATOR_ROOM;
    if (tabsOverflow()) Room -= 2 * (Arrows[0]->getWidth() + 2);
    return std::clamp(Room / TAB_PITCH, 1, GetNumberOfTabs());
}

int ConsoleWindow::getFirstShownTab() {
    // The selected tab is always in view: the row moves as little as it can.
    const int Shown = getShownTabs();
    if (Game.Selected < FirstTab) FirstTab = Game.Selected;
    if (Game.Selected >= FirstTab + Shown) FirstTab = Game.Selected - Shown + 1;
    FirstTab = std::clamp(FirstTab, 0, std::max(GetNumberOfTabs() - Shown, 0));
    return FirstTab;
}

bool ConsoleWindow::getTabPosition(int n, int& x) {
    const int First = getFirstShownTab();
    if (n < First || n >= First + getShownTabs()) return false;
    x = MARGIN + (n - First) * TAB_PITCH;
    return true;
}

int ConsoleWindow::tabAt(int x, int y) {
    if (y < 0 || y >= TAB_HEIGHT || x < MARGIN) return -1;
    const int Slot = (x - MARGIN) / TAB_PITCH;
    if (Slot >= getShownTabs() || (x - MARGIN) % TAB_PITCH >= TAB_WIDTH) return -1;
    return getFirstShownTab() + Slot;
}

void ConsoleWindow::showTab(int n) {
    if (n != Game.Selected) clearSelection();
    SelectTab(n);
    command(CONSOLE_SHOW);
}

void ConsoleWindow::layout() {
    for (int i = 0; i < BUTTONS; ++i) {
        Buttons[i]->setSize(BUTTON_WIDTH, TAB_HEIGHT);
        Buttons[i]->setPosition(_Width - MARGIN - BUTTON_WIDTH, getTextTop() + i * (TAB_HEIGHT + 2));
    }
    // Say, Whisper and Yell end the input line's row.
    int mx = MARGIN + inputWidth() + 2;
    for (TextToggleButton* M : ModeButtons) {
        M->setPosition(mx, _Height - MARGIN - INPUT_HEIGHT);
        mx += M->getWidth() + 2;
    }
    // The arrows after the last tab in view, before the ignore indicator.
    const bool Overflow = tabsOverflow();
    const int ArrowY = (TAB_HEIGHT - Arrows[0]->getHeight()) / 2 + 1;
    const int Right = _Width - MARGIN - INDICATOR_ROOM - Arrows[1]->getWidth();
    Arrows[1]->setPosition(Right, ArrowY);
    Arrows[0]->setPosition(Right - 2 - Arrows[0]->getWidth(), ArrowY);
    if (Overflow != ArrowsShown) {
        ArrowsShown = Overflow;
        for (Button* A : Arrows)
            if (Overflow)
                addChild(A);
            else
                removeChild(A);
    }
}

void ConsoleWindow::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    layout();
}

void ConsoleWindow::setInput(const std::string& Text) {
    Typed.assign(Text, 0, INPUT_LENGTH);
    Cursor = int(Typed.size());
}

int ConsoleWindow::lineTop(int n, int Count) const {
    const int Bottom = getTextTop() + getTextHeight();
    return Bottom - GetFontHeight(CONSOLE_FONT) - 1 - (Count - 1 - n) * GetFontLineHeight(CONSOLE_FONT);
}

void ConsoleWindow::draw(int Surface, int x, int y) {
    // The background shows only around the text and input areas, which are
    // filled anyway: the tab row, the button column and the margins.
    const int Inner = getTextWidth() + 4;
    DrawSkinTiled(Surface, x, y, _Width, getTextTop(), 7, 0, 0);
    DrawSkinTiled(Surface, x, y + getTextTop(), MARGIN, _Height - getTextTop(), 7, 0, getTextTop());
    DrawSkinTiled(Surface, x + MARGIN + Inner, y + getTextTop(), _Width - MARGIN - Inner, _Height - getTextTop(), 7,
                  MARGIN + Inner, getTextTop());
    const int Gap = getTextTop() + getTextHeight();
    DrawSkinTiled(Surface, x + MARGIN, y + Gap, Inner, _Height - Gap, 7, MARGIN, Gap);
    // The tabs in view; the arrows come and go as the tabs need them.
    if (ArrowsShown != tabsOverflow()) layout();
    for (int i = getFirstShownTab(); i < FirstTab + getShownTabs(); ++i) {
        const ConsoleTab& T = GetTab(i);
        const int tx = x + MARGIN + (i - FirstTab) * TAB_PITCH;
        const bool Selected = i == Game.Selected;
        const int Shade = Selected ? 70 : 40;
        FillRect(Surface, tx, y + 2, TAB_WIDTH, TAB_HEIGHT - 2, Shade, Shade, Shade + 10);
        const RGBColour C = T.Highlight  ? RGBColour{240, 80, 80}
                            : Selected   ? RGBColour{240, 240, 240}
                                         : RGBColour{170, 170, 170};
        const std::string Shown = ShortenCaption(T.Caption.c_str(), TAB_WIDTH - 8);
        DrawText(Surface, tx + TAB_WIDTH / 2, y + 4, CONSOLE_FONT, C.Red, C.Green, C.Blue, Shown.c_str(), CENTER_ALIGN);
    }
    // The ignore indicator: a red mark at the right of the tab row.
    if (IsIgnoreIndicatorLit()) {
        FillRect(Surface, x + _Width - MARGIN - 12, y + 5, 10, 10, 200, 40, 40);
        FillRect(Surface, x + _Width - MARGIN - 10, y + 9, 6, 2, 255, 255, 255);
    }
    // The text, newest line at the bottom.
    const int Top = getTextTop();
    FillRect(Surface, x + MARGIN, y + Top, getTextWidth() + 4, getTextHeight(), TEXT_BACKGROUND.Red,
             TEXT_BACKGROUND.Green, TEXT_BACKGROUND.Blue);
    const TextBuffer* B = shownBuffer();
    const int Count = B->getDisplayLines();
    int FromLine = 0, FromChar = 0, ToLine = -1, ToChar = 0;
    selectionRange(FromLine, FromChar, ToLine, ToChar);
    for (int n = Count - 1; n >= 0; --n) {
        const int LineY = lineTop(n, Count);
        if (LineY < Top) break;
        const DisplayLine& D = B->getDisplayLine(n);
        const char* Piece = B->getLine(D._Line).Text + D._OriginalOffset;
        const int Left = x + MARGIN + 2 + D._Indent;
        if (n >= FromLine && n <= ToLine) {
            const int a = n == FromLine ? FromChar : 0, b = n == ToLine ? ToChar : D._LineLength;
            const int ax = GetTextWidth(CONSOLE_FONT, Piece, a), bx = GetTextWidth(CONSOLE_FONT, Piece, b);
            if (bx > ax)
                FillRect(Surface, Left + ax, y + LineY, bx - ax, GetFontLineHeight(CONSOLE_FONT), SELECTION.Red,
                         SELECTION.Green, SELECTION.Blue);
        }
        const RGBColour C = GetTalkColour(In(D.Mode, 1, 25) ? D.Mode : TALK_INFO_MESSAGE);
        DrawText(Surface, Left, y + LineY, CONSOLE_FONT, C.Red, C.Green, C.Blue, Piece, D._LineLength, LEFT_ALIGN);
    }
    // The input line with its cursor; a long line shows its end.
    const int InputY = y + _Height - MARGIN - INPUT_HEIGHT;
    // The input line runs under the text, up to the talk-mode buttons.
    for (int i = 0; i < 3; ++i) ModeButtons[i]->setOn(TALK_SAY + i == Game.DefaultMode);
    FillRect(Surface, x + MARGIN, InputY, inputWidth(), INPUT_HEIGHT, 12, 12, 16);
    const int Room = inputWidth() - 8;
    int First = 0;
    while (First < Cursor && GetTextWidth(CONSOLE_FONT, Typed.c_str() + First, Cursor - First) > Room) ++First;
    const int TextY = InputY + (INPUT_HEIGHT - GetFontHeight(CONSOLE_FONT)) / 2;
    DrawText(Surface, x + MARGIN + 4, TextY, CONSOLE_FONT, 230, 230, 230, Typed.c_str() + First,
             int(Typed.size()) - First, LEFT_ALIGN);
    const int CursorX = x + MARGIN + 4 + GetTextWidth(CONSOLE_FONT, Typed.c_str() + First, Cursor - First);
    FillRect(Surface, CursorX, TextY, 1, GetFontHeight(CONSOLE_FONT), 230, 230, 230);
    CompositeComponent::drawChildren(Surface, x, y);
}

// ---- Selecting and copying text ----

TextBuffer* ConsoleWindow::shownBuffer() const {
    TextBuffer* B = Game.Tabs[size_t(Game.Selected)].Buffer;
    B->wrap(getTextWidth(), CONSOLE_FONT, GetTimeStamps());
    return B;
}

bool ConsoleWindow::pointToText(int lx, int ly, int& Line, int& Char) const {
    const TextBuffer* B = shownBuffer();
    const int Count = B->getDisplayLines();
    if (Count == 0) return false;
    Line = 0;
    for (int n = Count - 1; n >= 0; --n)
        if (ly >= lineTop(n, Count)) {
            Line = n;
            break;
        }
    const DisplayLine& D = B->getDisplayLine(Line);
    const int Offset = lx - MARGIN - 2 - D._Indent;
    if (Offset <= 0) {
        Char = 0;
        return true;
    }
    // The character under the pointer counts from its left edge.
    const char* Piece = B->getLine(D._Line).Text + D._OriginalOffset;
    Char = 0;
    while (Char < D._LineLength && GetTextWidth(CONSOLE_FONT, Piece, Char + 1) <= Offset) ++Char;
    return true;
}

ConsoleWindow::TextPlace ConsoleWindow::placeOf(const TextBuffer* B, int Line, int Char) const {
    const DisplayLine& D = B->getDisplayLine(Line);
    return TextPlace{B->getLine(D._Line).Serial, D._OriginalOffset + Char};
}

bool ConsoleWindow::displayPosition(const TextBuffer* B, const TextPlace& Place, int& Line, int& Char) const {
    const int Text = Place.Serial != 0 ? B->findSerial(Place.Serial) : -1;
    const int Count = B->getDisplayLines();
    if (Text < 0 || Count == 0) return false;
    Line = B->firstDisplayLineOf(Text);
    if (Line >= Count || B->getDisplayLine(Line)._Line != Text) {
        // A line with nothing to show: the place before the next one.
        Char = 0;
        if (Line < Count) return true;
        Line = Count - 1;
        Char = B->getDisplayLine(Line)._LineLength;
        return true;
    }
    // The last piece that starts at or before the place; a blank that the
    // wrap skipped belongs to the end of the piece before it.
    while (Line + 1 < Count && B->getDisplayLine(Line + 1)._Line == Text &&
           B->getDisplayLine(Line + 1)._OriginalOffset <= Place.Offset)
        ++Line;
    const DisplayLine& D = B->getDisplayLine(Line);
    Char = std::clamp(Place.Offset - D._OriginalOffset, 0, D._LineLength);
    return true;
}

void ConsoleWindow::selectionRange(int& FromLine, int& FromChar, int& ToLine, int& ToChar) const {
    ToLine = -1;
    const TextBuffer* B = shownBuffer();
    int StartLine = 0, StartChar = 0, EndLine = 0, EndChar = 0;
    if (!displayPosition(B, SelectionStart, StartLine, StartChar) || !displayPosition(B, SelectionEnd, EndLine, EndChar))
        return;
    const bool Forward = StartLine < EndLine || (StartLine == EndLine && StartChar <= EndChar);
    FromLine = Forward ? StartLine : EndLine;
    FromChar = Forward ? StartChar : EndChar;
    ToLine = Forward ? EndLine : StartLine;
    ToChar = Forward ? EndChar : StartChar;
}

std::string ConsoleWindow::getSelectedText() const {
    int FromLine = 0, FromChar = 0, ToLine = -1, ToChar = 0;
    selectionRange(FromLine, FromChar, ToLine, ToChar);
    std::string Out;
    const TextBuffer* B = shownBuffer();
    for (int n = FromLine; n <= ToLine && n < B->getDisplayLines(); ++n) {
        const DisplayLine& D = B->getDisplayLine(n);
        const int a = n == FromLine ? FromChar : 0, b = n == ToLine ? ToChar : D._LineLength;
        if (n > FromLine) Out += '\n';
        if (b > a) Out.append(B->getLine(D._Line).Text + D._OriginalOffset + a, size_t(b - a));
    }
    return Out;
}

bool ConsoleWindow::leftButtonDown(int x, int y, int keys) {
    // A click on a tab shows it.
    const int Tab = tabAt(x, y);
    if (Tab >= 0) {
        showTab(Tab);
        return true;
    }
    if (CompositeComponent::leftButtonDown(x, y, keys)) return true;
    if (y < TAB_HEIGHT) return true;
    int Line = 0, Char = 0;
    clearSelection();
    if (y >= getTextTop() && y < getTextTop() + getTextHeight() && pointToText(x, y, Line, Char)) {
        SelectionStart = SelectionEnd = placeOf(shownBuffer(), Line, Char);
        Selecting = true;
        takeCapture();
    }
    return true;
}

bool ConsoleWindow::leftDoubleClick(int x, int y, int keys) {
    // In the request tab a double click takes the request under the pointer.
    int Line = 0, Char = 0;
    const ConsoleTab& Tab = Game.Tabs[size_t(Game.Selected)];
    if (Tab.Kind != CHANNEL_REQUESTS || y < getTextTop() || y >= getTextTop() + getTextHeight() ||
        !pointToText(x, y, Line, Char))
        return CompositeComponent::leftDoubleClick(x, y, keys);
    clearSelection();
    const std::string Name = Tab.Buffer->getLine(Tab.Buffer->getDisplayLine(Line)._Line).Speaker;
    ProcessRequest(Name.c_str());
    return true;
}

bool ConsoleWindow::mouseMove(int x, int y) {
    if (!Selecting) return CompositeComponent::mouseMove(x, y);
    int Line = 0, Char = 0;
    if (pointToText(x, std::clamp(y, getTextTop(), getTextTop() + getTextHeight() - 1), Line, Char))
        SelectionEnd = placeOf(shownBuffer(), Line, Char);
    return true;
}

bool ConsoleWindow::leftButtonUp(int x, int y, int keys) {
    if (!Selecting) return CompositeComponent::leftButtonUp(x, y, keys);
    mouseMove(x, y);
    Selecting = false;
    dropCapture();
    return true;
}

bool ConsoleWindow::rightButtonUp(int x, int y, int keys) {
    const int TabNumber = tabAt(x, y);
    if (TabNumber >= 0) {
        showTab(TabNumber);
        PostConsoleChannelMenu(Game.Tabs[size_t(TabNumber)].Buffer);
        return true;
    }
    if (CompositeComponent::rightButtonUp(x, y, keys)) return true;
    if (y < TAB_HEIGHT) return true;
    const ConsoleTab& Tab = Game.Tabs[size_t(Game.Selected)];
    const TextBuffer* B = Tab.Buffer;
    int Line = 0, Char = 0;
    const bool OnLine = y >= getTextTop() && y < getTextTop() + getTextHeight() && pointToText(x, y, Line, Char) &&
                        y >= lineTop(0, B->getDisplayLines());
    const TextLine* L = OnLine ? &B->getLine(B->getDisplayLine(Line)._Line) : NULL;
    // The text after the time stamp and the speaker's "Name: ".
    std::string Message;
    if (L != NULL) {
        Message.assign(L->Text + L->TextStart, size_t(std::max(L->Length - L->TextStart, 0)));
        const std::string Prefix = std::string(L->Speaker) + ": ";
        if (L->Speaker[0] != 0 && Message.compare(0, Prefix.size(), Prefix) == 0) Message.erase(0, Prefix.size());
    }
    if (Tab.Kind == CHANNEL_REQUESTS) {
        if (L != NULL && L->Speaker[0] != 0) PostReportChannelMenu(ReportRecord{L->Speaker, Message});
        return true;
    }
    ConsoleTextRecord R;
    R.Window = this;
    R.HasLine = L != NULL;
    if (L != NULL) {
        R.Speaker = L->Speaker;
        R.Message = Message;
    }
    R.InOwnChannel = B->getKind() == BufferKind::Channel && Game.OwnChannel != -1 &&
                     B->getChannelID() == Game.OwnChannel;
    R.Selected = getSelectedText();
    PostConsoleTextMenu(R);
    return true;
}

void ConsoleWindow::selectAll() {
    const TextBuffer* B = shownBuffer();
    const int Count = B->getDisplayLines();
    clearSelection();
    if (Count == 0) return;
    SelectionStart = placeOf(B, 0, 0);
    SelectionEnd = placeOf(B, Count - 1, B->getDisplayLine(Count - 1)._LineLength);
    Game.Changed = true;
}

void ConsoleWindow::cancelCapture() {
    Selecting = false;
    CompositeComponent::cancelCapture();
}

// ---- The input line ----

void ConsoleWindow::send(const char* Line) {
    const std::string Refill = SendInputLine(Line);
    HistoryPosition = -1;
    setInput(Refill);
}

void ConsoleWindow::historyStep(bool Older) {
    TextBuffer* H = GetHistoryBuffer();
    const int Count = H->getLines();
    if (Older) {
        if (HistoryPosition + 1 >= Count) return;
        ++HistoryPosition;
        setInput(H->shownText(Count - 1 - HistoryPosition, false));
        return;
    }
    if (HistoryPosition > 0) {
        --HistoryPosition;
        setInput(H->shownText(Count - 1 - HistoryPosition, false));
    } else if (HistoryPosition == 0) {
        HistoryPosition = -1;
        setInput("");
    } else if (!Typed.empty()) {
        // The line being typed is kept for later.
        if (Count == 0 || Typed != H->shownText(Count - 1, false)) H->addLine(Typed.c_str(), 0, NULL, Now());
        setInput("");
    }
}

void ConsoleWindow::insertText(const char* Text) {
    for (const char* p = Text; *p != 0 && int(Typed.size()) < INPUT_LENGTH; ++p) {
        if (*p == '\n' || *p == '\r') continue;
        Typed.insert(size_t(Cursor++), 1, *p);
    }
}

void ConsoleWindow::keyPress(int code) {
    const int Plain = code & ~(keys::SHIFT | keys::CTRL);
    if (In(Plain, keys::F1, keys::F1 + 11) && (code & keys::ALT) == 0) {
        const int Number = (Plain - keys::F1) + ((code & keys::SHIFT) ? 12 : (code & keys::CTRL) ? 24 : 0);
        const char* Text = GetHotkey(Number);
        if (Text == NULL || Text[0] == 0) return;
        if (GetHotkeyAutoSend(Number))
            // Sent on its own: a line half typed stays as it is.
            SendInputLine(Text);
        else
            insertText(Text);
        return;
    }
    if (const int TabCommand = TabKeyCommand(code)) {
        command(TabCommand);
        return;
    }
    switch (code) {
    case keys::ENTER: send(Typed.c_str()); return;
    case keys::UP: historyStep(true); return;
    case keys::DOWN: historyStep(false); return;
    case keys::LEFT: Cursor = std::max(Cursor - 1, 0); return;
    case keys::RIGHT: Cursor = std::min(Cursor + 1, int(Typed.size())); return;
    case keys::HOME: Cursor = 0; return;
    case keys::END: Cursor = int(Typed.size()); return;
    case keys::BACKSPACE:
        if (Cursor > 0) Typed.erase(size_t(--Cursor), 1);
        return;
    case keys::DELETE:
        if (Cursor < int(Typed.size())) Typed.erase(size_t(Cursor), 1);
        return;
    case keys::CTRL | 'c':
    case keys::CTRL | 'C':
    case keys::CTRL | keys::INSERT: {
        const std::string Selected = getSelectedText();
        platform::SetClipboardText(Selected.empty() ? Typed : Selected);
        return;
    }
    case keys::CTRL | 'v':
    case keys::CTRL | 'V':
    case keys::SHIFT | keys::INSERT: {
        std::string Pasted;
        if (platform::GetClipboardText(Pasted)) insertText(Pasted.c_str());
        return;
    }
    default: break;
    }
    const int Character = code & ~keys::SHIFT;
    if (In(Character, 32, 255)) insertText(std::string(1, char(Character)).c_str());
}

void ConsoleWindow::command(int number) {
    const int Before = Game.Selected;
    ConsoleCommand(number);
    // Another tab's text: what was selected in the old one is not in it.
    if (Game.Selected != Before) clearSelection();
    for (int i = 0; i < 3; ++i) ModeButtons[i]->setOn(TALK_SAY + i == Game.DefaultMode);
}

void ConsoleCommand(int number) {
    if (!Lasting.Initialised) InitConsole();
    switch (number) {
    case CONSOLE_SHOW: SelectTab(Game.Selected); break;
    case CONSOLE_CLOSE_TAB: CloseSelectedTab(); break;
    case CONSOLE_SAVE: SaveSelectedChannel(); break;
    case CONSOLE_CHANNEL_LIST: SendRequestChannels(); break;
    case CONSOLE_IGNORE_LIST: PostEvent(20, 0, 0); break;
    case CONSOLE_HOTKEYS: PostEvent(35, 0, 0); break;
    case CONSOLE_SAY: SetDefaultTalkMode(TALK_SAY); break;
    case CONSOLE_WHISPER: SetDefaultTalkMode(TALK_WHISPER); break;
    case CONSOLE_YELL: SetDefaultTalkMode(TALK_YELL); break;
    case CONSOLE_SERVER_MESSAGES: {
        TextBuffer* B = Game.Tabs[size_t(Game.Selected)].Buffer;
        if (Game.Selected != 0) B->setServerMessages(!B->receivesServerMessages());
        break;
    }
    case CONSOLE_DEFAULT_TAB: SelectTab(0); break;
    case CONSOLE_NEXT_TAB: SelectTab((Game.Selected + 1) % GetNumberOfTabs()); break;
    case CONSOLE_PREVIOUS_TAB: SelectTab((Game.Selected + GetNumberOfTabs() - 1) % GetNumberOfTabs()); break;
    default: break;
    }
}

// ==== 6. The channel choice and the rule-violation question ======================================

// ---- The channel choice ----

namespace {
// The channels the server offered, and a name for a private conversation;
// a name typed wins over the chosen channel.
class ChannelChoiceBody : public CompositeComponent {
  public:
    ChannelChoiceBody() {
        auto* Caption = new Label("Open a channel:");
        addChild(Caption);
        List = new ListBox(CommandTarget(), CommandTarget(this, DIALOG_OK));
        for (int n = 0; n < GetNumberOfChannels(); ++n) List->addLine(GetChannelEntry(n).Name);
        if (List->getLines() > 0) List->select(0);
        const auto& P = SkinProperties().CharacterList;
        List->setSize(P.Width, P.ListHeight);
        List->setPosition(0, Caption->getHeight() + P.ListGap);
        addChild(List);
        auto* Private = new Label("Please enter a character name:");
        Private->setPosition(0, List->getY() + List->getHeight() + P.ListGap);
        addChild(Private);
        Name = new EditField(SPEAKER_NAME_LENGTH - 1);
        Name->setSize(P.Width, Name->getHeight());
        Name->setPosition(0, Private->getY() + Private->getHeight() + P.ListGap);
        Name->setFocused(true);
        addChild(Name);
        Component::setSize(P.Width, Name->getY() + Name->getHeight());
    }
    void keyPress(int code) override {
        if (code == keys::ENTER)
            command(DIALOG_OK);
        else if (code == keys::ESCAPE)
            command(DIALOG_CANCEL);
        else if (code == keys::UP || code == keys::DOWN)
            List->keyPress(code);
        else
            Name->keyPress(code);
    }
    void command(int number) override {
        if (number == DIALOG_OK) {
            if (Name->getLength() > 0)
                SendOpenPrivateChannel(Name->getText());
            else if (In(List->getSelectedLine(), 0, GetNumberOfChannels() - 1))
                SendOpenChannel(GetChannelEntry(List->getSelectedLine()).ID);
        }
        if (number == DIALOG_OK || number == DIALOG_CANCEL) SetInputMode(INPUT_IDLE);
    }
    ListBox* getList() const { return List; }
    EditField* getName() const { return Name; }

  private:
    ListBox* List;
    EditField* Name;
};
}  // namespace

Dialog* ChannelChoiceDialog() {
    auto* Body = new ChannelChoiceBody;
    auto* D = new Dialog("New Channel", Body);
    D->setDefaultButton("Open", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    return D;
}

// ---- The rule-violation question ----

namespace {
class ReportBody : public CompositeComponent {
  public:
    ReportBody() {
        auto* Caption = new Label("Describe the rule violation:");
        addChild(Caption);
        Question = new EditField(TEXTLINE_TEXT - 1);
        Question->setSize(SkinProperties().CharacterList.Width, Question->getHeight());
        Question->setPosition(0, Caption->getHeight() + SkinProperties().CharacterList.ListGap);
        Question->setFocused(true);
        addChild(Question);
        Component::setSize(Question->getWidth(), Question->getY() + Question->getHeight());
    }
    void keyPress(int code) override {
        if (code == keys::ENTER)
            command(DIALOG_OK);
        else if (code == keys::ESCAPE)
            command(DIALOG_CANCEL);
        else
            Question->keyPress(code);
    }
    void command(int number) override {
        if (number == DIALOG_OK && Question->getLength() > 0)
            PostEvent(CONSOLE_EVENT_REPORT, NewEventText(Question->getText()), 0);
        if (number == DIALOG_OK || number == DIALOG_CANCEL) SetInputMode(INPUT_IDLE);
    }

  private:
    EditField* Question;
};
}  // namespace

Dialog* ReportDialog() {
    auto* Body = new ReportBody;
    auto* D = new Dialog("Report Rule Violation", Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    return D;
}

// ---- The console's events ----

namespace {

// The channels the server opens become tabs; no dialog opens for them.
Dialog* OpenChannel(DialogEvent& Ev) {
    OpenChannelTab(TALK_CHANNEL_CALL, CHANNEL_PUBLIC, "", int(Ev.E.Data), Ev.Extra);
    return NULL;
}
Dialog* OpenOwn(DialogEvent& Ev) {
    OpenOwnChannel(int(Ev.E.Data), Ev.Extra);
    return NULL;
}
Dialog* OpenPrivate(DialogEvent& Ev) {
    OpenChannelTab(TALK_PRIVATE_MESSAGE, CHANNEL_PRIVATE, Ev.Extra, -1, Ev.Extra);
    return NULL;
}
// The game message has opened the request channel already.
Dialog* RequestChannelOpened(DialogEvent&) { return NULL; }
Dialog* Report(DialogEvent& Ev) {
    ReportRuleViolation(EventDataIsText(Ev.E.Type) ? EventText(Ev.E.Data) : NULL);
    return NULL;
}
Dialog* BuildReportDialog(DialogEvent&) { return ReportDialog(); }
Dialog* BuildChannelChoice(DialogEvent&) { return ChannelChoiceDialog(); }

}  // namespace

void RegisterConsoleDialogs() {
    RegisterDialogBuilder(GAME_EVENT_CHANNEL, OpenChannel);
    RegisterDialogBuilder(GAME_EVENT_OWNCHANNEL, OpenOwn);
    RegisterDialogBuilder(GAME_EVENT_PRIVATECHANNEL, OpenPrivate);
    RegisterDialogBuilder(GAME_EVENT_REQUESTCHANNEL, RequestChannelOpened);
    RegisterDialogBuilder(CONSOLE_EVENT_REPORT, Report);
    RegisterDialogBuilder(CONSOLE_EVENT_DIALOG_REPORT, BuildReportDialog);
    RegisterDialogBuilder(GAME_EVENT_CHANNELLIST, BuildChannelChoice);
}
