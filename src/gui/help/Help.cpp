#include "gui/help/Help.h"

#include "core/Assert.h"
#include "core/Status.h"
#include "gui/help/EventHints.h"
#include "gui/help/HelpTexts.h"

#include <cstring>
#include <string>

// ---- Help texts ---------------------------------------------------------------------------------

bool HasHelpText(int Number) { return Number != 0 && FindHelpTextEntry(Number) != NULL; }

bool helpText(int Number, char* Buffer) {
    ASSERT(Buffer!=NULL);
    if (Buffer == NULL) return false;
    Buffer[0] = 0;
    const HelpTextEntry* Entry = FindHelpTextEntry(Number);
    if (Entry == NULL) {
        ASSERT_PARAM(false, Number);
        return false;
    }
    // Each "%d" takes the next skin of the entry; the rest is copied as it is.
    size_t Out = 0;
    int NextSkin = 0;
    for (const char* p = Entry->Text; *p != 0 && Out + 1 < size_t(HELP_TEXT_LENGTH); ++p) {
        if (p[0] == '%' && p[1] == 'd' && NextSkin < 10 && Entry->Skins[NextSkin] != 0) {
            const std::string Skin = std::to_string(Entry->Skins[NextSkin++]);
            if (Out + Skin.size() + 1 >= size_t(HELP_TEXT_LENGTH)) break;
            std::memcpy(Buffer + Out, Skin.data(), Skin.size());
            Out += Skin.size();
            ++p;
            continue;
        }
        Buffer[Out++] = *p;
    }
    Buffer[Out] = 0;
    return true;
}

// ---- Hint texts ---------------------------------------------------------------------------------

namespace {
bool AboutAPerson(int Number) { return Number == 2 || Number == 4; }

// The person a hint about one person names: the one met, else the first the
// world's triggers give, else the demo world's.
const char* PersonOfHint(int Number) {
    const char* Met = GetHintMetName(Number);
    if (Met[0] != 0) return Met;
    const char* Configured = GetHintNpcName(Number);
    return Configured[0] != 0 ? Configured : GetEventHintEntry(Number).Title;
}
}  // namespace

const char* eventHintTitle(int Number) {
    ASSERT(In(Number,1,EVENTHELPS));
    return AboutAPerson(Number) ? PersonOfHint(Number) : GetEventHintEntry(Number).Title;
}

const char* eventHintText(int Number) {
    ASSERT(In(Number,1,EVENTHELPS));
    const char* Text = GetEventHintEntry(Number).Text;
    if (!AboutAPerson(Number)) return Text;
    // Every "%s" is the person's name; the text lives until the next call.
    static std::string Named;
    Named.clear();
    for (const char* p = Text; *p != 0; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            Named += PersonOfHint(Number);
            ++p;
        } else {
            Named += *p;
        }
    }
    return Named.c_str();
}

// ---- Showing a hint -----------------------------------------------------------------------------

void ShowEventHint(int Number) {
    ASSERT(In(Number,1,EVENTHELPS));
    if (!In(Number, 1, EVENTHELPS)) return;
    PostTextEvent(MESSAGE_ERROR2, eventHintTitle(Number), eventHintText(Number));
}
