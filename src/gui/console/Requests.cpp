// Rule-violation requests: the player's own question to the counsellors,
// and for a counsellor the channel of open requests and the conversations
// about the ones taken.
#include "gui/console/ConsoleState.h"

#include "core/Assert.h"
#include "core/Status.h"
#include "core/TalkModes.h"
#include "core/Utils.h"
#include "graphics/Talk.h"
#include "net/Commands.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

void ReportRuleViolation(const char* Question) {
    ASSERT(Question!=NULL && strlen(Question)>0);
    if (Question == NULL || Question[0] == 0) return;
    ConsoleState& C = TheConsole();
    const int Existing = TabOfKind(CHANNEL_OWN_REQUEST);
    if (Existing >= 0 && GetTab(Existing).Buffer->accepts()) {
        SelectTab(Existing);
        SetStatusLine("You have already submitted a request. Please be patient.", false);
        return;
    }
    if (Existing >= 0) {
        // The tab of a request already closed would take no new lines: it
        // makes way for the new one; the server has forgotten that request.
        delete C.Tabs[size_t(Existing)].Buffer;
        C.Tabs.erase(C.Tabs.begin() + Existing);
        if (C.Selected >= Existing) C.Selected = std::max(C.Selected - 1, 0);
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
    ConsoleState& C = TheConsole();
    TextBuffer* B = C.Tabs[size_t(Tab)].Buffer;
    if (B->addLine(Text, TALK_GAMEMASTER_REQUEST, Speaker, Now(), Number) && Tab != C.Selected)
        C.Tabs[size_t(Tab)].Highlight = true;
    C.Changed = true;
}

void ProcessRequest(const char* Name) {
    const int Tab = TabOfKind(CHANNEL_REQUESTS);
    if (Tab < 0 || Name == NULL || Name[0] == 0) return;
    // The request's own line starts the conversation about it.
    const TextBuffer* Requests = GetTab(Tab).Buffer;
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
    if (Tab >= 0) GetTab(Tab).Buffer->removeSpeaker(Name);
}
