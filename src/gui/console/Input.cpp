// The input line and sending what the player typed: the prefixes that pick
// a talk mode or a partner, the tab that decides the rest, and the history.
#include "gui/console/Input.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Status.h"
#include "core/TalkModes.h"
#include "core/Utils.h"
#include "graphics/Talk.h"
#include "gui/console/ConsoleState.h"
#include "gui/framework/GUI.h"
#include "net/Commands.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cctype>
#include <cstring>

// ---- Sending ----

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
    ConsoleState& C = TheConsole();
    if (Line == NULL) return "";
    TextBuffer* History = C.History.get();
    const int HistoryLines = History->getLines();
    if (Line[0] != 0 && (HistoryLines == 0 || std::strcmp(History->getLine(HistoryLines - 1).Text + History->getLine(HistoryLines - 1).TextStart, Line) != 0))
        History->addLine(Line, 0, NULL, Now());

    const TextBuffer* B = C.selectedTab().Buffer;
    const bool InDefault = C.Selected == 0;
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
            if (C.OwnChannel != -1) {
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
            Mode = C.DefaultMode;
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

// ---- The input line ----

void InputLine::setText(const std::string& Text) {
    Typed.assign(Text, 0, LENGTH);
    Cursor = int(Typed.size());
}

void InputLine::send() {
    const std::string Refill = SendInputLine(Typed.c_str());
    HistoryPosition = -1;
    setText(Refill);
}

void InputLine::historyStep(bool Older) {
    TextBuffer* H = GetHistoryBuffer();
    const int Count = H->getLines();
    if (Older) {
        if (HistoryPosition + 1 >= Count) return;
        ++HistoryPosition;
        setText(H->shownText(Count - 1 - HistoryPosition, false));
        return;
    }
    if (HistoryPosition > 0) {
        --HistoryPosition;
        setText(H->shownText(Count - 1 - HistoryPosition, false));
    } else if (HistoryPosition == 0) {
        HistoryPosition = -1;
        setText("");
    } else if (!Typed.empty()) {
        // The line being typed is kept for later.
        if (Count == 0 || Typed != H->shownText(Count - 1, false)) H->addLine(Typed.c_str(), 0, NULL, Now());
        setText("");
    }
}

void InputLine::insertText(const char* Text) {
    for (const char* p = Text; *p != 0 && int(Typed.size()) < LENGTH; ++p) {
        if (*p == '\n' || *p == '\r') continue;
        Typed.insert(size_t(Cursor++), 1, *p);
    }
}

bool InputLine::hotkey(int code) {
    const int Plain = code & ~(keys::SHIFT | keys::CTRL);
    if (!In(Plain, keys::F1, keys::F1 + 11) || (code & keys::ALT) != 0) return false;
    const int Number = (Plain - keys::F1) + ((code & keys::SHIFT) ? 12 : (code & keys::CTRL) ? 24 : 0);
    const char* Text = GetHotkey(Number);
    if (Text == NULL || Text[0] == 0) return true;
    if (GetHotkeyAutoSend(Number))
        // Sent on its own: a line half typed stays as it is.
        SendInputLine(Text);
    else
        insertText(Text);
    return true;
}

void InputLine::keyPress(int code) {
    switch (code) {
    case keys::ENTER: send(); return;
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
