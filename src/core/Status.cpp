#include "core/Status.h"

#include "core/Assert.h"
#include "core/Redraw.h"
#include "core/Utils.h"
#include "core/sysinc.h"

#include "core/Container.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

// GCC 12 with the sanitizers reports the standard library's own regex
// internals as possibly uninitialised; nothing in this file is.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <regex>

namespace {

// A link, in a lower-cased text: after the start or a separator, a host name
// (letters, digits and hyphens ending in a full stop or its URL escape "%2e",
// then a known top-level domain and perhaps a closing full stop) or a dotted
// IPv4 address, followed by a separator or the end. Behind the link a query
// or fragment may start as well ("?", "#", "&").
//
// A host name has one or more such groups before its domain, but one group is
// all the search needs: in "a.b.com" the group "b." follows the separator ".",
// and in "a%2eb%2ecom" the group "2eb%2e" follows the separator "%". Letting the
// matcher try every split of a long dotted run would take time quadratic in
// its length.
//
// Top-level domains: the generic ones and the country codes of ISO 3166
// (with "uk" and "eu", which are in use though only reserved there). The
// country codes are grouped by first letter, which keeps the number of
// alternatives the matcher tries at every full stop small.
const char* const LINK_PATTERN =
    "(^|[ .,:;/@<>|()\"\n\r%])"
    "([a-z0-9-]+(\\.|%2e)("
    "aero|arpa|biz|com|coop|edu|gov|info|int|jobs|mil|mobi|museum|name|net|org|pro|travel|"
    "a[defgilmoqrstuwxz]|b[abdefghijlmnoqrstvwyz]|c[acdfghiklmnoruvwxyz]|d[ejkmoz]|e[ceghrstu]|"
    "f[ijkmor]|g[abdefghilmnpqrstuwy]|h[kmnrtu]|i[delmnoqrst]|j[emop]|k[eghimnprwyz]|l[abcikrstuvy]|"
    "m[acdefghklmnopqrstuvwxyz]|n[acefgilopruz]|om|p[aefghklmnrstwy]|qa|r[eosuw]|"
    "s[abcdeghijklmnorstvxyz]|t[cdfghjklmnortvwz]|u[agkmsyz]|v[aceginu]|w[fs]|y[et]|z[amw]"
    ")\\.?"
    "|[0-9]{1,3}((\\.|%2e)[0-9]{1,3}){3})"
    "([ .,:;/@<>|()\"\n\r%?#&]|$)";

// Set by InitStatus, cleared by ExitStatus.
bool StatusInitialized = false;
uint8_t GamemasterFlag = 0;
LinkWarningHandler LinkWarning = nullptr;
std::unique_ptr<std::regex> LinkPattern;
bool HasPendingCopy = false;
std::string PendingCopy;

// ---- Connection, input, events: reset by InitStatus and ExitStatus.
int ConnectionState = STATE_OFFLINE;
int InputMode = INPUT_IDLE;
constexpr int EVENT_BLOCK = 32;
Vector<Event> Events(0, EVENT_BLOCK - 1, EVENT_BLOCK);
int NumberOfEvents = 0;

// Per type: bit 0 Data is an owned text, bit 1 Extra is one.
uint8_t TextFields[MESSAGE_STARTPATCHER + 1] = {};
void DeclareBuiltInTextFields() {
    std::fill(std::begin(TextFields), std::end(TextFields), uint8_t(0));
    TextFields[MESSAGE_ERROR] = 3;
    TextFields[MESSAGE_ERROR2] = 3;
    TextFields[MESSAGE_WAITINGLIST] = 1;
    TextFields[MESSAGE_LOGOUTWARNING] = 3;
    TextFields[MESSAGE_LINKWARNING] = 1;
    TextFields[MESSAGE_PATCHPROGRESS] = 1;
}

// ---- Account: reset by InitStatus and ExitStatus.
uint32_t AccountNumber = 0;
char Password[PASSWORD_LENGTH] = "";
std::vector<AccountCharacter> Characters;
int ActiveCharacter = 0;
int PremiumDays = 0;
uint32_t Rights[RIGHT_ANY] = {};

const char* const RULE_VIOLATION_REASON_TEXTS[RULE_VIOLATION_REASONS] = {
    "1a) Offensive name",
    "1b) Name containing part of sentence",
    "1b) Name with nonsensical letter combination",
    "1b) Invalid name format",
    "1c) Name not describing person",
    "1c) Name of celebrity",
    "1c) Name referring to country",
    "1c) Name to fake player identity",
    "1c) Name to fake official position",
    "2a) Offensive statement",
    "2b) Spamming",
    "2c) Advertisement not related to game",
    "2c) Real money advertisement",
    "2d) Non-English public statement",
    "2d) Off-topic public statement",
    "2e) Inciting rule violation",
    "3a) Bug abuse",
    "3b) Game weakness abuse",
    "3c) Macro use",
    "3d) Using unofficial software to play",
    "3e) Hacking",
    "3f) Multi-clienting",
    "3g) Account trading",
    "3g) Account sharing",
    "4a) Threatening gamemaster",
    "4b) Pretending to have official position",
    "4b) Pretending to have influence on gamemaster",
    "4c) False report to gamemaster",
    "Excessive unjustified player killing",
    "Destructive behaviour",
    "Spoiling auction",
    "Invalid payment",
};
const char* const RULE_VIOLATION_ACTION_TEXTS[RULE_VIOLATION_ACTIONS] = {
    "Notation", "Namelock", "AccountBan", "Namelock/AccountBan", "AccountBan + FinalWarning",
    "Namelock/AccountBan + FinalWarning", "IP Banishment",
};

void ResetSharedState() {
    ClearEvents();
    Events = Vector<Event>(0, EVENT_BLOCK - 1, EVENT_BLOCK);
    NumberOfEvents = 0;
    DeclareBuiltInTextFields();
    ConnectionState = STATE_OFFLINE;
    InputMode = INPUT_IDLE;
    AccountNumber = 0;
    std::memset(Password, 0, sizeof Password);
    Characters.clear();
    Characters.shrink_to_fit();
    ActiveCharacter = 0;
    PremiumDays = 0;
    std::fill(std::begin(Rights), std::end(Rights), 0u);
}

bool SearchLink(const std::string& lower) {
    if (!LinkPattern) return false;
    // Every link holds a full stop or a "%2e"; most chat lines have neither.
    if (lower.find_first_of(".%") == std::string::npos) return false;
    const size_t length = lower.size();
    for (size_t start = 0;; start += LINK_SEARCH_WINDOW - LINK_SEARCH_OVERLAP) {
        size_t end = std::min(length, start + LINK_SEARCH_WINDOW);
        auto flags = std::regex_constants::match_default;
        // A window that does not begin or end with the text must not let "^"
        // or "$" match at its edges.
        if (start > 0) flags |= std::regex_constants::match_prev_avail | std::regex_constants::match_not_bol;
        if (end < length) flags |= std::regex_constants::match_not_eol;
        if (std::regex_search(lower.begin() + start, lower.begin() + end, *LinkPattern, flags)) return true;
        if (end == length) return false;
    }
}

}  // namespace

void InitStatus(uint8_t Gamemaster, LinkWarningHandler linkwarningeventhandler) {
    ASSERT(!StatusInitialized);
    StatusInitialized = true;
    GamemasterFlag = Gamemaster;
    LinkWarning = linkwarningeventhandler;
    HasPendingCopy = false;
    PendingCopy.clear();
    ResetSharedState();
    LinkPattern = std::make_unique<std::regex>(LINK_PATTERN, std::regex::ECMAScript | std::regex::optimize);
    // Checked last: the module is usable, without a warning, even if the
    // reporter returns.
    ASSERT(linkwarningeventhandler!=NULL);
}

void ExitStatus() {
    StatusInitialized = false;
    GamemasterFlag = 0;
    LinkWarning = nullptr;
    LinkPattern.reset();
    HasPendingCopy = false;
    PendingCopy.clear();
    PendingCopy.shrink_to_fit();
    ResetSharedState();
}

uint8_t GetGamemasterFlag() { return GamemasterFlag; }

bool ContainsLink(const char* Text) {
    ASSERT(Text!=NULL);
    ASSERT(StatusInitialized);
    if (Text == NULL) return false;
    std::string lower(Text);
    ToLower(lower.data());
    return SearchLink(lower);
}

void CopyChecked(const char* Text, int Length) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return;
    size_t length = std::strlen(Text);
    if (Length >= 0 && size_t(Length) < length) length = size_t(Length);
    PendingCopy.assign(Text, length);
    HasPendingCopy = true;

    if (ContainsLink(PendingCopy.c_str())) {
        if (LinkWarning) LinkWarning();
        return;
    }
    CopyPending();
}

bool CopyPending() {
    if (!HasPendingCopy) return false;
    return SetClipboardText(PendingCopy.c_str());
}

const std::string& GetPendingCopy() { return PendingCopy; }

// ---- Connection state and input mode -------------------------------------------

int GetConnectionState() { return ConnectionState; }
void SetConnectionState(int State) {
    ASSERT(In(State,0,8));
    if (In(State, 0, 8)) ConnectionState = State;
}

int GetInputMode() { return InputMode; }
void SetInputMode(int Mode) {
    ASSERT(In(Mode,0,11));
    if (In(Mode, 0, 11)) InputMode = Mode;
}

// ---- Event queue -----------------------------------------------------------------

void SetEventTextFields(int Type, bool DataIsText, bool ExtraIsText) {
    ASSERT(In(Type,MESSAGE_NONE,MESSAGE_STARTPATCHER));
    if (!In(Type, MESSAGE_NONE, MESSAGE_STARTPATCHER)) return;
    TextFields[Type] = uint8_t((DataIsText ? 1 : 0) | (ExtraIsText ? 2 : 0));
}
bool EventDataIsText(int Type) { return In(Type, MESSAGE_NONE, MESSAGE_STARTPATCHER) && (TextFields[Type] & 1); }
bool EventExtraIsText(int Type) { return In(Type, MESSAGE_NONE, MESSAGE_STARTPATCHER) && (TextFields[Type] & 2); }

intptr_t NewEventText(const char* Text) {
    if (Text == NULL) Text = "";
    size_t length = std::strlen(Text);
    char* copy = new char[length + 1];
    std::memcpy(copy, Text, length + 1);
    return reinterpret_cast<intptr_t>(copy);
}

const char* EventText(intptr_t Field) { return Field ? reinterpret_cast<const char*>(Field) : ""; }

namespace {
EventReleaseHook ReleaseHook = NULL;
}  // namespace

void SetEventReleaseHook(EventReleaseHook Hook) { ReleaseHook = Hook; }

void FreeEvent(Event& E) {
    if (ReleaseHook != NULL) ReleaseHook(E);
    if (EventDataIsText(E.Type) && E.Data) delete[] reinterpret_cast<char*>(E.Data);
    if (EventExtraIsText(E.Type) && E.Extra) delete[] reinterpret_cast<char*>(E.Extra);
    E.Data = E.Extra = 0;
}

namespace {
// A rejected event still owns its texts: they go now, or nobody frees them.
bool AcceptEvent(int Type) {
    ASSERT(In(Type,MESSAGE_NONE,MESSAGE_STARTPATCHER));
    // A waiting event changes what is shown: a dialog opens, or a waiting
    // box that is drawn while an event waits gives way to it.
    if (In(Type, MESSAGE_NONE, MESSAGE_STARTPATCHER)) RequestRedraw();
    return In(Type, MESSAGE_NONE, MESSAGE_STARTPATCHER);
}
}  // namespace

void PostEvent(int Type, intptr_t Data, intptr_t Extra) {
    if (!AcceptEvent(Type)) return;
    Events(NumberOfEvents) = Event{Type, Data, Extra};
    ++NumberOfEvents;
}

void PostEventFirst(int Type, intptr_t Data, intptr_t Extra) {
    if (!AcceptEvent(Type)) return;
    Events(NumberOfEvents);  // grows the array when it is full
    for (int i = NumberOfEvents; i > 0; --i) Events(i) = Events(i - 1);
    Events(0) = Event{Type, Data, Extra};
    ++NumberOfEvents;
}

void PostTextEvent(int Type, const char* Data, const char* Extra) {
    if (!AcceptEvent(Type)) return;
    PostEvent(Type, EventDataIsText(Type) ? NewEventText(Data) : 0, EventExtraIsText(Type) ? NewEventText(Extra) : 0);
}

void PostTextEventFirst(int Type, const char* Data, const char* Extra) {
    if (!AcceptEvent(Type)) return;
    PostEventFirst(Type, EventDataIsText(Type) ? NewEventText(Data) : 0,
                   EventExtraIsText(Type) ? NewEventText(Extra) : 0);
}

int PeekEventType() { return NumberOfEvents > 0 ? Events(0).Type : MESSAGE_NONE; }

Event TakeEvent() {
    if (NumberOfEvents == 0) return Event{};
    Event first = Events(0);
    for (int i = 1; i < NumberOfEvents; ++i) Events(i - 1) = Events(i);
    --NumberOfEvents;
    Events(NumberOfEvents) = Event{};
    return first;
}

int GetNumberOfEvents() { return NumberOfEvents; }

const Event& GetQueuedEvent(int Index) {
    ASSERT(In(Index,0,NumberOfEvents-1));
    static const Event None{};
    if (!In(Index, 0, NumberOfEvents - 1)) return None;
    return static_cast<const Vector<Event>&>(Events)(Index);
}

void ClearEvents() {
    for (int i = 0; i < NumberOfEvents; ++i) {
        FreeEvent(Events(i));
        Events(i) = Event{};
    }
    NumberOfEvents = 0;
}

// ---- Account and character list ----------------------------------------------------

void SetAccountNumber(uint32_t Number) { AccountNumber = Number; }
uint32_t GetAccountNumber() { return AccountNumber; }

void SetPassword(const char* Password) {
    ASSERT(Password!=NULL && strlen(Password)<30);
    if (Password == NULL) return;
    CopyText(::Password, Password, PASSWORD_LENGTH);
}
const char* GetPassword() { return Password; }

void SetAccountCharacters(int Count) {
    ASSERT(In(Count,0,MAX_CHARACTERS));
    Count = std::clamp(Count, 0, MAX_CHARACTERS);
    Characters.assign(size_t(Count), AccountCharacter{});
    if (ActiveCharacter >= Count) ActiveCharacter = 0;
}

int GetAccountCharacters() { return int(Characters.size()); }

void SetAccountCharacter(int Number, const char* Name, const char* World, const uint8_t Address[4], int Port) {
    int AccountCharacters = GetAccountCharacters();
    ASSERT(In(Number,0,AccountCharacters-1));
    ASSERT(Name!=NULL && strlen(Name)<30);
    ASSERT(World!=NULL && strlen(World)<30);
    if (!In(Number, 0, AccountCharacters - 1) || Name == NULL || World == NULL || Address == NULL) return;
    AccountCharacter& C = Characters[size_t(Number)];
    CopyText(C.Name, Name, CHARNAME_LENGTH);
    CopyText(C.World, World, CHARNAME_LENGTH);
    std::memcpy(C.Address, Address, 4);
    std::snprintf(C.AddressText, sizeof C.AddressText, "%d.%d.%d.%d", Address[0], Address[1], Address[2], Address[3]);
    C.Port = Port;
}

const AccountCharacter& GetAccountCharacter(int Number) {
    int AccountCharacters = GetAccountCharacters();
    ASSERT(In(Number,0,AccountCharacters-1));
    static const AccountCharacter None{};
    if (!In(Number, 0, AccountCharacters - 1)) return None;
    return Characters[size_t(Number)];
}

void SetActiveCharacter(int Number) {
    int AccountCharacters = GetAccountCharacters();
    ASSERT(In(Number,0,AccountCharacters-1));
    if (In(Number, 0, AccountCharacters - 1)) ActiveCharacter = Number;
}
int GetActiveCharacter() { return ActiveCharacter; }

void SetPremiumDays(int Days) { PremiumDays = Days; }
int GetPremiumDays() { return PremiumDays; }

std::string GetAccountStatusText(int Red, int Green, int Blue) {
    char text[512];
    const int days = PremiumDays;
    if (days == 0) {
        std::snprintf(text, sizeof text, "<font=4><red=%d><green=%d><blue=%d>Account Status:\nFree Account", Red, Green,
                      Blue);
    } else if (days == 65535) {
        std::snprintf(text, sizeof text,
                      "<font=4><red=%d><green=%d><blue=%d>Account Status:\nGratis Premium Account\n", Red, Green, Blue);
    } else if (days > 13) {
        std::snprintf(text, sizeof text,
                      "<font=4><red=%d><green=%d><blue=%d>Account Status:\nPremium Account (%d day%s left)", Red, Green,
                      Blue, days, "s");
    } else {
        std::snprintf(text, sizeof text,
                      "<font=4><red=%d><green=%d><blue=%d>Account Status:\nPremium Account "
                      "(<red=%d><green=%d><blue=%d>%d day%s left<red=%d><green=%d><blue=%d>)",
                      Red, Green, Blue, 248, 96, 96, days, days > 1 ? "s" : "", Red, Green, Blue);
    }
    return text;
}

// ---- Rights -----------------------------------------------------------------------------

void ClearRights() { std::fill(std::begin(Rights), std::end(Rights), 0u); }

void SetRight(int rightid, uint32_t Value) {
    ASSERT(In(rightid,0,RIGHT_ANY-1));
    if (In(rightid, 0, RIGHT_ANY - 1)) Rights[rightid] = Value;
}

bool HasRight(int rightid) {
    if (rightid == RIGHT_ANY) return std::any_of(std::begin(Rights), std::end(Rights), [](uint32_t v) { return v != 0; });
    ASSERT(In(rightid,0,RIGHT_ANY-1));
    return In(rightid, 0, RIGHT_ANY - 1) && Rights[rightid] != 0;
}

bool HasSubRight(int rightid, int Sub) {
    ASSERT(In(rightid,0,RIGHT_ANY-1));
    if (!In(rightid, 0, RIGHT_ANY - 1) || !In(Sub, 0, 31)) return false;
    return (Rights[rightid] >> Sub) & 1u;
}

const char* GetRuleViolationReason(int Number) {
    if (!In(Number, 0, RULE_VIOLATION_REASONS - 1)) {
        ASSERT(false);
        return "";
    }
    return RULE_VIOLATION_REASON_TEXTS[Number];
}

const char* GetRuleViolationAction(int Number) {
    if (!In(Number, 0, RULE_VIOLATION_ACTIONS - 1)) {
        ASSERT(false);
        return "";
    }
    return RULE_VIOLATION_ACTION_TEXTS[Number];
}
