#include "gui/framework/TextBuffer.h"

#include "core/Assert.h"
#include "core/TalkModes.h"
#include "core/Utils.h"
#include "graphics/graphics.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
// Continuation lines of talk stand out from the speaker's first line; the
// server's messages are plain text and start at the margin.
constexpr int TALK_INDENT = 10;

bool IsMessageMode(int Mode) { return In(Mode, TALK_INFO_MESSAGE, TALK_ADMIN_MESSAGE); }

uint64_t LinesTaken = 0;
}  // namespace

void CopyName(char* Target, int Size, const char* Source) {
    if (Source == NULL) Source = "";
    std::snprintf(Target, size_t(Size), "%s", Source);
}

TextBuffer::TextBuffer(BufferKind Kind, int Mode, int ChannelID, const char* Partner)
    : _Kind(Kind), _Mode(Mode), _ChannelID(ChannelID), FilterMode(Mode) {
    CopyName(_Partner, sizeof _Partner, Partner);
    if (Kind == BufferKind::History) _Accepts = false;
}

bool TextBuffer::addLine(const char* Text, int Mode, const char* Speaker, std::time_t Time, int32_t Number) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return false;
    if (!_Accepts && _Kind != BufferKind::History) return false;
    if (Speaker == NULL) Speaker = "";
    if (_Kind == BufferKind::Request && Speaker[0] != 0) removeSpeaker(Speaker);
    TextLine* L;
    if (int(Lines.size()) < TEXTBUFFER_LINES) {
        Lines.emplace_back();
        L = &Lines.back();
    } else {
        // The oldest slot takes the new line; every line moved up by one.
        L = &Lines[size_t(Start)];
        Start = (Start + 1) % TEXTBUFFER_LINES;
        forgetDisplayLines();
    }
    L->Serial = ++LinesTaken;
    std::tm Local{};
    localtime_r(&Time, &Local);
    CopyName(L->Speaker, sizeof L->Speaker, Speaker);
    int n = std::snprintf(L->Text, sizeof L->Text, "%02d:%02d ", Local.tm_hour, Local.tm_min);
    L->TextStart = n;
    if (L->Speaker[0] != 0) n += std::snprintf(L->Text + n, sizeof L->Text - size_t(n), "%s: ", L->Speaker);
    std::snprintf(L->Text + n, sizeof L->Text - size_t(n), "%s", Text);
    L->Length = int(std::strlen(L->Text));
    L->Mode = Mode;
    L->Number = Number;
    L->Time = Time;
    _Changed = true;
    return true;
}

void TextBuffer::removeSpeaker(const char* Speaker) {
    if (Speaker == NULL || Lines.empty()) return;
    // In arrival order first, so that the slots stay oldest to newest.
    std::rotate(Lines.begin(), Lines.begin() + Start, Lines.end());
    Start = 0;
    const auto Gone = std::remove_if(Lines.begin(), Lines.end(),
                                     [&](const TextLine& L) { return CompareNoCase(L.Speaker, Speaker) == 0; });
    if (Gone != Lines.end()) {
        Lines.erase(Gone, Lines.end());
        forgetDisplayLines();
    }
}

void TextBuffer::clear() {
    Lines.clear();
    Start = 0;
    forgetDisplayLines();
}

void TextBuffer::forgetDisplayLines() {
    for (int i = 0; i < DisplayCount; ++i) Display[size_t(i)] = DisplayLine{};
    DisplayCount = 0;
    _Changed = true;
}

int TextBuffer::findSerial(uint64_t Serial) const {
    // Serials grow in arrival order.
    int Low = 0, High = getLines() - 1;
    while (Low <= High) {
        const int Middle = (Low + High) / 2;
        const uint64_t Found = getLine(Middle).Serial;
        if (Found == Serial) return Middle;
        if (Found < Serial)
            Low = Middle + 1;
        else
            High = Middle - 1;
    }
    return -1;
}

int TextBuffer::firstDisplayLineOf(int n) const {
    int Low = 0, High = DisplayCount;
    while (Low < High) {
        const int Middle = (Low + High) / 2;
        if (Display[size_t(Middle)]._Line < n)
            Low = Middle + 1;
        else
            High = Middle;
    }
    return Low;
}

const char* TextBuffer::shownText(int n, bool TimeStamps) const {
    const TextLine& L = getLine(n);
    return TimeStamps ? L.Text : L.Text + L.TextStart;
}

bool TextBuffer::matches(int Mode, int ChannelID, const char* Speaker) const {
    if (FilterMode != 0 && FilterMode != Mode) return false;
    if (_ChannelID != -1 && _ChannelID != ChannelID) return false;
    if (_Partner[0] != 0 && (Speaker == NULL || CompareNoCase(_Partner, Speaker) != 0)) return false;
    return true;
}

void TextBuffer::wrap(int Width, int Font, bool TimeStamps) {
    if (!_Changed && Width == WrappedWidth && Font == WrappedFont && TimeStamps == WrappedStamps) return;
    _Changed = false;
    WrappedWidth = Width;
    WrappedFont = Font;
    WrappedStamps = TimeStamps;
    int Count = 0;
    auto Add = [&](int Line, int Offset, int Length, int Indent, int Mode) {
        if (Length <= 0) return;  // empty display lines are not made
        if (Count == int(Display.size())) Display.emplace_back();
        DisplayLine& D = Display[size_t(Count++)];
        D._Line = Line;
        D._OriginalOffset = Offset;
        D._LineLength = Length;
        D._Indent = Indent;
        D.Mode = Mode;
    };
    for (int n = 0; n < getLines(); ++n) {
        const TextLine& L = getLine(n);
        const char* Text = L.Text;
        const int End = L.Length;
        const int Continuation = IsMessageMode(L.Mode) ? 0 : TALK_INDENT;
        int Offset = TimeStamps ? 0 : L.TextStart;
        int Indent = 0;
        while (Offset < End) {
            // At least one character per display line, however narrow.
            const int Fit = std::max(GetFittingCharacters(Font, Text + Offset, Width - Indent), 1);
            const char* Feed = static_cast<const char*>(std::memchr(Text + Offset, '\n', size_t(std::min(Fit, End - Offset))));
            if (Feed != NULL) {
                Add(n, Offset, int(Feed - (Text + Offset)), Indent, L.Mode);
                Offset = int(Feed - Text) + 1;
            } else if (Offset + Fit >= End) {
                Add(n, Offset, End - Offset, Indent, L.Mode);
                Offset = End;
            } else {
                int Blank = Offset + Fit - 1;
                while (Blank > Offset && Text[Blank] != ' ') --Blank;
                if (Text[Blank] == ' ') {
                    Add(n, Offset, Blank - Offset, Indent, L.Mode);
                    Offset = Blank + 1;
                } else {
                    Add(n, Offset, Fit, Indent, L.Mode);
                    Offset += Fit;
                }
            }
            Indent = Continuation;
        }
    }
    // Slots of a longer earlier wrap are cleared.
    for (int i = Count; i < DisplayCount; ++i) Display[size_t(i)] = DisplayLine{};
    DisplayCount = Count;
}
