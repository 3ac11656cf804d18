// The text behind one console tab: the lines that arrived for it, in
// arrival order and at most TEXTBUFFER_LINES of them, what the tab matches
// of the incoming talk, and the display lines the text is wrapped into.
// Lines live in fixed slots, so a full buffer takes a new line without
// allocating.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

constexpr int TEXTBUFFER_LINES = 1000;
constexpr int SPEAKER_NAME_LENGTH = 30;  // a speaker's or partner's name is at most this long
constexpr int TEXTLINE_TEXT = 512;       // the text itself, as the server sends it

// What a buffer collects.
enum class BufferKind {
    Default,  // all ordinary talk and the server messages
    Private,  // the talk with one partner
    Channel,  // one channel id
    Request,  // one line per speaker: a newer line replaces the older ones
    History,  // the input line's history; routing never adds to it
};

struct TextLine {
    // "hh:mm ", then "Speaker: " for a line with a speaker, then the text.
    char Text[6 + SPEAKER_NAME_LENGTH + 2 + TEXTLINE_TEXT + 1];
    char Speaker[SPEAKER_NAME_LENGTH + 1];
    int Length = 0;
    int TextStart = 0;  // where the text after the time stamp begins
    int Mode = 0;
    int32_t Number = 0;  // a request's number
    std::time_t Time = 0;
    // Counts every line any buffer took, so that a place in the text (the
    // console's selection) names its line for good: once the line is gone,
    // from this buffer or with the buffer, nothing else answers to it.
    uint64_t Serial = 0;
};

// One wrapped piece of a text line as the console shows it.
struct DisplayLine {
    int _Line = 0;            // index of the text line, 0 the oldest
    int _OriginalOffset = 0;  // where the piece starts within the line's text
    int _LineLength = 0;
    int _Indent = 0;
    int Mode = 0;             // gives the colour
};

class TextBuffer {
  public:
    TextBuffer(BufferKind Kind, int Mode, int ChannelID, const char* Partner);

    // Adds a line stamped with Time; false when the buffer takes no new lines.
    bool addLine(const char* Text, int Mode, const char* Speaker, std::time_t Time, int32_t Number = 0);
    // Removes every line of that speaker (letter case ignored).
    void removeSpeaker(const char* Speaker);
    void clear();
    // A closed buffer keeps its text and takes no more lines.
    void close() { _Accepts = false; }

    int getLines() const { return int(Lines.size()); }
    // The line with that serial number, -1 when it is not (any more) here.
    int findSerial(uint64_t Serial) const;
    // Line n, 0 the oldest.
    const TextLine& getLine(int n) const { return Lines[size_t((Start + n) % int(Lines.size()))]; }
    // The line as shown: with or without its time stamp.
    const char* shownText(int n, bool TimeStamps) const;

    // Whether an incoming line matches this buffer's filter; Mode is
    // already mapped (channel variants as 5).
    bool matches(int Mode, int ChannelID, const char* Speaker) const;

    // Wraps the text into display lines of at most Width pixels in font
    // Font; done again only when the text, the width or the stamps changed.
    void wrap(int Width, int Font, bool TimeStamps);
    // Lines that left the buffer take their display lines with them: until
    // the next wrap there are none.
    int getDisplayLines() const { return DisplayCount; }
    const DisplayLine& getDisplayLine(int n) const { return Display[size_t(n)]; }
    // The first display line of text line n (getDisplayLines() when none
    // comes at or after it).
    int firstDisplayLineOf(int n) const;

    BufferKind getKind() const { return _Kind; }
    int getMode() const { return _Mode; }
    int getChannelID() const { return _ChannelID; }
    const char* getPartner() const { return _Partner; }
    // The mode its filter matches: 0 any.
    int getFilterMode() const { return FilterMode; }
    void setFilterMode(int Mode) { FilterMode = Mode; }

    bool accepts() const { return _Accepts; }
    bool receivesServerMessages() const { return _ServerMessages; }
    void setServerMessages(bool On) { _ServerMessages = On; }
    bool isChanged() const { return _Changed; }

  private:
    void forgetDisplayLines();
    BufferKind _Kind;
    int _Mode;
    int _ChannelID;
    int FilterMode;
    char _Partner[SPEAKER_NAME_LENGTH + 1];
    bool _Accepts = true, _ServerMessages = false, _Changed = true;
    std::vector<TextLine> Lines;
    int Start = 0;  // slot of the oldest line once the buffer is full
    std::vector<DisplayLine> Display;
    int DisplayCount = 0;
    int WrappedWidth = -1, WrappedFont = -1;
    bool WrappedStamps = false;
};

// Copies at most Size-1 characters and ends the copy.
void CopyName(char* Target, int Size, const char* Source);
