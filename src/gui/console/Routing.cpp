// Routing of incoming lines: each talk line or server message to the tabs
// whose filters take it, the player's own lines echoed where they belong,
// and the indicator of a line dropped from an ignored speaker.
#include "gui/console/ConsoleState.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/TalkModes.h"
#include "core/Utils.h"
#include "platform/Platform.h"

namespace {
// The player's own text, in the colour of no one else's.
constexpr int ECHO_MODE = 24;

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
    const ConsoleState& C = TheConsole();
    for (size_t i = 1; i < C.Tabs.size(); ++i) {
        TextBuffer* B = C.Tabs[i].Buffer;
        if (B->matches(Matched, ChannelID, Speaker)) Candidate = B;
    }
    return Candidate;
}
}  // namespace

void AddPlainLine(TextBuffer* Buffer, const char* Text, int Mode, const char* Speaker) {
    ASSERT(Buffer!=NULL);
    if (Buffer == NULL || Text == NULL) return;
    if (!Buffer->addLine(Text, Mode, Speaker, Now())) return;
    ConsoleState& C = TheConsole();
    const int Tab = TabOf(Buffer);
    if (Tab >= 0 && Tab != C.Selected) C.Tabs[size_t(Tab)].Highlight = true;
    C.Changed = true;
}

void AddTalkLine(const char* Text, int Mode, const char* Speaker, int ChannelID) {
    const ConsoleState& C = TheConsole();
    if (Text == NULL) return;
    if (In(Mode, TALK_INFO_MESSAGE, TALK_FAILURE_MESSAGE)) {
        if (Mode == TALK_FAILURE_MESSAGE || !MessageAllowed(Mode)) return;
        AddPlainLine(C.Tabs[0].Buffer, Text, Mode, NULL);
        for (size_t i = 1; i < C.Tabs.size(); ++i) {
            TextBuffer* B = C.Tabs[i].Buffer;
            if (B->receivesServerMessages() && B->accepts()) AddPlainLine(B, Text, Mode, NULL);
        }
        return;
    }
    const bool NoDefault = In(Mode, 5, 8) || Mode == 10 || Mode == 12 || Mode == 14;
    if (Mode == TALK_ANONYMOUS_CHANNELCALL) Speaker = NULL;
    TextBuffer* Target = LastMatch(NoDefault ? NULL : C.Tabs[0].Buffer, Mode, ChannelID, Speaker);
    if (Target != NULL) AddPlainLine(Target, Text, Mode, Speaker);
}

void OwnTextEcho(const char* Speaker, const char* Text, int Mode, const char* Partner, int ChannelID) {
    TextBuffer* Target = LastMatch(NULL, Mode, ChannelID, Partner);
    if (Target == NULL && Mode != TALK_CHANNEL_CALL) Target = GetDefaultBuffer();
    if (Target != NULL) AddPlainLine(Target, Text, ECHO_MODE, Speaker);
}

void IgnoredSpeaker() {
    ConsoleState& C = TheConsole();
    C.IgnoreLit = true;
    C.IgnoreLitUntil = platform::Milliseconds() + IGNORE_INDICATOR_TIME;
}

bool IsIgnoreIndicatorLit() {
    ConsoleState& C = TheConsole();
    if (C.IgnoreLit && int32_t(platform::Milliseconds() - C.IgnoreLitUntil) >= 0) C.IgnoreLit = false;
    return C.IgnoreLit;
}
