// Texts on the map. Sections:
//   1. module state
//   2. kinds, queueing and expiry
//   3. creating boxes (wrapping, lifetime)
//   4. status line and time
//   5. queries
//   6. layout
//   7. drawing
#include "graphics/Talk.h"

#include "core/Assert.h"
#include "core/Utils.h"
#include "graphics/graphics.h"
#include "platform/Platform.h"
#include "world/Map.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// ==== 1. Module state ==============================================================

namespace {

constexpr int WRAP_SCAN = 40;       // characters looked at for one line
constexpr int WRAP_CUT = 38;        // a word too long for a line is cut here
constexpr int BOX_MARGIN = 10;      // room kept between boxes
constexpr int STACK_GAP = 4;        // between boxes stacked where pushing failed
constexpr int STATUS_MARGIN = 10;   // room above the status line
constexpr int MAP_PIXELS_X = MAP_WIDTH * 32;
constexpr int MAP_PIXELS_Y = MAP_HEIGHT * 32;

struct Talkbox {
    int State;
    uint32_t Stamp;
    int TimeLeft;  // milliseconds
    int Mode;
    int x, y, z;   // the speaker's field; x = 0: none
    int Lines;
    char Line[TALKBOX_LINES][TALKLINE_LENGTH];
    // Layout: the lines broken to the map's width (a piece of a cut word
    // keeps room for its "-"), and where they go.
    int ShownLines;
    char Shown[TALKBOX_SHOWN_LINES][TALKLINE_LENGTH + 1];
    bool Placed, Deferred;
    int Width, Height, AnchorX, CentreX, CentreY;
    int X, Top, Alignment, Pin;
};

Talkbox Box[TALKBOXES];
uint32_t NextStamp = 0;
bool Changed = false;
char StatusText[STATUSMESSAGE_LENGTH];
int StatusCounter = 0;  // 0 hidden, -1 until replaced, else ticks left
uint32_t LastTick = 0;

bool Used(const Talkbox& B) { return B.State != TALKBOX_FREE; }

// ==== 2. Kinds, queueing and expiry ===================================================

bool InGroup(int Mode) {
    return Mode == TALK_GAMEMASTER_BROADCAST || Mode == TALK_GAMEMASTER_MESSAGE || Mode == TALK_INFO_MESSAGE ||
           Mode == TALK_EVENT_MESSAGE;
}

bool IsAnimal(int Mode) { return Mode == TALK_ANIMAL_LOW || Mode == TALK_ANIMAL_LOUD; }

bool IsSpeech(int Mode) {
    return Mode == TALK_SAY || Mode == TALK_WHISPER || Mode == TALK_YELL || Mode == TALK_PRIVATE_MESSAGE ||
           Mode == TALK_GAMEMASTER_BROADCAST || Mode == TALK_GAMEMASTER_MESSAGE || IsAnimal(Mode);
}

bool SamePlace(const Talkbox& A, const Talkbox& B) { return A.x == B.x && A.y == B.y && A.z == B.z; }

// Whether two boxes show the same kind of text: they queue behind each other.
bool SameKind(const Talkbox& A, const Talkbox& B) {
    switch (A.Mode) {
    case TALK_SAY:
    case TALK_WHISPER:
    case TALK_YELL:
        return B.Mode == A.Mode && SamePlace(A, B) && std::strcmp(A.Line[0], B.Line[0]) == 0;
    case TALK_ANIMAL_LOW:
    case TALK_ANIMAL_LOUD: return IsAnimal(B.Mode) && SamePlace(A, B);
    case TALK_PRIVATE_MESSAGE: return B.Mode == TALK_PRIVATE_MESSAGE;
    default: return InGroup(A.Mode) && InGroup(B.Mode);
    }
}

void Expire(int k) {
    Talkbox& Gone = Box[k];
    const bool WasShown = Gone.State == TALKBOX_SHOWN;
    Gone.State = TALKBOX_FREE;
    Changed = true;
    // A waiting box stands behind the shown one of its kind; one that runs
    // out while still waiting leaves the shown box alone.
    if (!WasShown) return;
    int Next = -1;
    for (int i = 0; i < TALKBOXES; ++i)
        if (Box[i].State == TALKBOX_WAITING && SameKind(Gone, Box[i]) && (Next < 0 || Box[i].Stamp < Box[Next].Stamp))
            Next = i;
    if (Next >= 0) {
        Box[Next].State = TALKBOX_SHOWN;
        Box[Next].Placed = false;
        Box[Next].Deferred = false;
    }
}

int Oldest() {
    int Result = -1;
    for (int i = 0; i < TALKBOXES; ++i)
        if (Used(Box[i]) && (Result < 0 || Box[i].Stamp < Box[Result].Stamp)) Result = i;
    return Result;
}

void AppendLines(Talkbox& To, const Talkbox& From, int FirstLine) {
    for (int n = FirstLine; n < From.Lines && To.Lines < TALKBOX_LINES; ++n)
        std::memcpy(To.Line[To.Lines++], From.Line[n], TALKLINE_LENGTH);
}

// A new box joins the boxes of its kind already there.
void Queue(int k) {
    Talkbox& New = Box[k];
    int LongestLeft = -1;
    for (int i = 0; i < TALKBOXES; ++i) {
        Talkbox& Other = Box[i];
        if (i == k || !Used(Other) || !SameKind(New, Other)) continue;
        if (New.Mode == TALK_SAY || New.Mode == TALK_WHISPER || New.Mode == TALK_YELL)
            AppendLines(Other, New, 1);  // the header is there already
        else if (IsAnimal(New.Mode))
            AppendLines(Other, New, 0);
        LongestLeft = std::max(LongestLeft, Other.TimeLeft);
        New.State = TALKBOX_WAITING;
    }
    // Messages of a group wait until every box of it is gone.
    if (New.State == TALKBOX_WAITING && (InGroup(New.Mode) || New.Mode == TALK_PRIVATE_MESSAGE))
        New.TimeLeft = New.TimeLeft / 2 + LongestLeft;
}

// ==== 3. Creating boxes ==============================================================

// Splits Text into the box's free lines: at line feeds, else before the last
// blank of the next 40 characters, else a word is cut after 38 characters
// with a hyphen.
void Wrap(Talkbox& B, const char* Text) {
    const char* Rest = Text;
    while (*Rest != '\0' && B.Lines < TALKBOX_LINES) {
        char* Line = B.Line[B.Lines++];
        int Blank = -1, i = 0;
        for (; i < WRAP_SCAN && Rest[i] != '\0' && Rest[i] != '\n'; ++i)
            if (Rest[i] == ' ') Blank = i;
        if (i < WRAP_SCAN) {  // the end of the text or a line feed
            std::memcpy(Line, Rest, i);
            Line[i] = '\0';
            Rest += Rest[i] == '\n' ? i + 1 : i;
        } else if (Blank >= 0) {
            std::memcpy(Line, Rest, Blank);
            Line[Blank] = '\0';
            Rest += Blank + 1;
        } else {
            std::memcpy(Line, Rest, WRAP_CUT);
            Line[WRAP_CUT] = '-';
            Line[WRAP_CUT + 1] = '\0';
            Rest += WRAP_CUT;
        }
    }
}

const char* HeaderFormat(int Mode) {
    switch (Mode) {
    case TALK_SAY: return "%s says:";
    case TALK_WHISPER: return "%s whispers:";
    case TALK_YELL: return "%s yells:";
    case TALK_PRIVATE_MESSAGE:
    case TALK_GAMEMASTER_BROADCAST:
    case TALK_GAMEMASTER_MESSAGE: return "%s:";
    default: return nullptr;
    }
}

void Create(int Mode, const char* Speaker, int x, int y, int z, const char* Text) {
    int k = -1;
    while (k < 0) {
        for (int i = 0; i < TALKBOXES && k < 0; ++i)
            if (!Used(Box[i])) k = i;
        if (k < 0) Expire(Oldest());
    }
    Talkbox& B = Box[k];
    B = Talkbox{};
    B.Stamp = NextStamp++;
    B.Mode = Mode;
    B.x = x;
    B.y = y;
    B.z = z;
    const int Length = static_cast<int>(std::strlen(Text));
    B.TimeLeft = (Length / 2 + 30) * 100;
    if (Mode == TALK_INFO_MESSAGE || Mode == TALK_EVENT_MESSAGE) B.TimeLeft *= 2;
    if (const char* Format = HeaderFormat(Mode)) {
        std::snprintf(B.Line[0], TALKLINE_LENGTH, Format, Speaker);
        B.Lines = 1;
    }
    Wrap(B, Text);
    B.State = TALKBOX_SHOWN;
    Queue(k);
    Changed = true;
}

}  // namespace

void InitTalk() {
    for (Talkbox& B : Box) B = Talkbox{};
    NextStamp = 0;
    StatusText[0] = '\0';
    StatusCounter = 0;
    LastTick = platform::Milliseconds();
    Changed = true;
}

void ExitTalk() { InitTalk(); }

void ResetTalk() { InitTalk(); }

void TalkSay(int Mode, const char* Speaker, int x, int y, int z, const char* Text) {
    ASSERT_PARAM(Mode==TALK_SAY || Mode==TALK_WHISPER || Mode==TALK_YELL || Mode==TALK_PRIVATE_MESSAGE || Mode==TALK_GAMEMASTER_BROADCAST || Mode==TALK_GAMEMASTER_MESSAGE || Mode==TALK_ANIMAL_LOW || Mode==TALK_ANIMAL_LOUD, Mode);
    ASSERT(Speaker!=NULL);
    ASSERT(Text!=NULL);
    if (!IsSpeech(Mode) || Speaker == nullptr || Text == nullptr) return;
    Create(Mode, Speaker, x, y, z, Text);
}

void TalkMessage(int Mode, const char* Text) {
    ASSERT_PARAM(Mode==TALK_INFO_MESSAGE || Mode==TALK_EVENT_MESSAGE || Mode==TALK_ADMIN_MESSAGE, Mode);
    ASSERT(Text!=NULL);
    if (Text == nullptr) return;
    if (Mode == TALK_ADMIN_MESSAGE) {
        for (int i = 0; i < TALKBOXES; ++i)
            if (Used(Box[i]) && Box[i].Mode == TALK_ADMIN_MESSAGE) Expire(i);
    } else if (Mode != TALK_INFO_MESSAGE && Mode != TALK_EVENT_MESSAGE) {
        return;
    }
    Create(Mode, "", 0, 0, 0, Text);
}

// ==== 4. Status line and time ==========================================================

void SetStatusLine(const char* Message, bool Permanent) {
    Changed = true;
    if (Message == nullptr) {
        StatusText[0] = '\0';
        StatusCounter = 0;
        return;
    }
    ASSERT(strlen(Message)<STATUSMESSAGE_LENGTH);
    CopyText(StatusText, Message, STATUSMESSAGE_LENGTH);
    StatusCounter = Permanent ? -1 : STATUSMESSAGE_TICKS;
}

void StatusLineTick() {
    if (StatusCounter <= 0) return;
    if (--StatusCounter == 0) {
        StatusText[0] = '\0';
        Changed = true;
    }
}

const char* GetStatusLine() { return StatusCounter != 0 ? StatusText : nullptr; }

void UpdateTalk(int Elapsed) {
    // A box that waits for room on the map has not been read yet.
    for (Talkbox& B : Box)
        if (Used(B) && !B.Deferred) B.TimeLeft -= Elapsed;
    // The oldest first, so that a box a waiting one stands behind goes before it.
    for (;;) {
        int Due = -1;
        for (int i = 0; i < TALKBOXES; ++i)
            if (Used(Box[i]) && Box[i].TimeLeft <= 0 && (Due < 0 || Box[i].Stamp < Box[Due].Stamp)) Due = i;
        if (Due < 0) break;
        Expire(Due);
    }
}

void TickTalk() {
    const uint32_t Now = platform::Milliseconds();
    const uint32_t Elapsed = Now - LastTick;
    LastTick = Now;
    UpdateTalk(static_cast<int>(std::min<uint32_t>(Elapsed, INT_MAX)));
    StatusLineTick();
}

void DismissOldestTalkbox() {
    const int k = Oldest();
    if (k >= 0) Expire(k);
}

// ==== 5. Queries ========================================================================

namespace {

// The pool index of the shown box Number (1 = the oldest), -1 past the end.
// Stamps are unique, so a box's place is the number of older shown boxes.
int ShownBox(int Number) {
    for (int i = 0; i < TALKBOXES; ++i) {
        if (Box[i].State != TALKBOX_SHOWN) continue;
        int Older = 0;
        for (int j = 0; j < TALKBOXES; ++j)
            if (Box[j].State == TALKBOX_SHOWN && Box[j].Stamp < Box[i].Stamp) ++Older;
        if (Older == Number - 1) return i;
    }
    return -1;
}

}  // namespace

int GetNumberOfTalkboxes() {
    int Count = 0;
    for (const Talkbox& B : Box)
        if (B.State == TALKBOX_SHOWN) ++Count;
    return Count;
}

TalkboxInfo GetTalkbox(int Number) {
    ASSERT(In(Number,1,GetNumberOfTalkboxes()));
    TalkboxInfo Info;
    const int k = ShownBox(Number);
    if (k < 0) return Info;
    const Talkbox& B = Box[k];
    Info.Mode = B.Mode;
    Info.Colour = GetTalkColour(B.Mode);
    Info.NumberOfLines = B.Lines;
    for (int n = 0; n < B.Lines; ++n) Info.Line[n] = B.Line[n];
    Info.NumberOfShownLines = B.ShownLines;
    for (int n = 0; n < B.ShownLines; ++n) Info.Shown[n] = B.Shown[n];
    Info.Placed = B.Placed;
    Info.Deferred = B.Deferred;
    Info.X = B.X;
    Info.Top = B.Top;
    Info.Alignment = B.Alignment;
    Info.Pin = B.Pin;
    Info.Width = B.Width;
    Info.Height = B.Height;
    return Info;
}

int GetTalkboxState(int Index) {
    ASSERT(In(Index,0,TALKBOXES-1));
    return In(Index, 0, TALKBOXES - 1) ? Box[Index].State : TALKBOX_FREE;
}

int GetTalkboxTimeLeft(int Index) {
    ASSERT(In(Index,0,TALKBOXES-1));
    return In(Index, 0, TALKBOXES - 1) ? Box[Index].TimeLeft : 0;
}

bool TalkboxesChanged() {
    const bool Result = Changed;
    Changed = false;
    return Result;
}

RGBColour GetTalkColour(int Mode) {
    ASSERT_PARAM(In(Mode,1,25), Mode);
    switch (Mode) {
    case TALK_SAY:
    case TALK_WHISPER:
    case TALK_YELL:
    case TALK_CHANNEL_CALL:
    case TALK_GAMEMASTER_ANSWER:
    case TALK_PLAYER_ANSWER: return {240, 240, 0};
    case TALK_PRIVATE_MESSAGE: return {96, 248, 248};
    case TALK_GAMEMASTER_REQUEST:
    case TALK_STATUS_MESSAGE:
    case TALK_LOGIN_MESSAGE:
    case TALK_FAILURE_MESSAGE: return {240, 240, 240};
    case TALK_CHANNEL_HIGHLIGHT: return {240, 180, 0};
    case TALK_ANIMAL_LOW:
    case TALK_ANIMAL_LOUD: return {255, 102, 0};
    case TALK_ADMIN_MESSAGE: return {0, 240, 0};
    case 24: return {160, 160, 255};  // the player's own text echoed into a channel
    default: return {248, 96, 96};    // the gamemaster's and anonymous texts, 18, 19 and 25
    }
}

// ==== 6. Layout ==========================================================================

namespace {

struct Bounds {
    int Left, Right, Top, Bottom;
};

// The lower half of a box of odd height is the larger one: its bottom line
// ends exactly at the bound.
Bounds CentreBounds(const Talkbox& B, int Width, int Height, int Reserve) {
    return {B.Width / 2 + 1, Width - B.Width / 2, B.Height / 2 + 1, Height - (B.Height - B.Height / 2) - Reserve};
}

// Keeps the centre within its bounds; a box larger than the window keeps its
// left or top edge in view.
void Clamp(Talkbox& B, const Bounds& R) {
    B.CentreX = std::max(R.Left, std::min(R.Right, B.CentreX));
    B.CentreY = std::max(R.Top, std::min(R.Bottom, B.CentreY));
}

int Sign(int v) { return (v > 0) - (v < 0); }

// The box's lines as the map shows them. A line wider than MaxWidth breaks
// before the last blank that fits; a word without one is cut where it must,
// the piece that fits followed by "-", as the wrapping of long words does.
void BreakToWidth(Talkbox& B, int MaxWidth) {
    B.ShownLines = 0;
    for (int n = 0; n < B.Lines; ++n) {
        const char* Rest = B.Line[n];
        while (B.ShownLines < TALKBOX_SHOWN_LINES) {
            char* Out = B.Shown[B.ShownLines++];
            const int Length = static_cast<int>(std::strlen(Rest));
            const int Fit = GetFittingCharacters(TALK_FONT, Rest, MaxWidth);
            if (Fit >= Length) {
                std::memcpy(Out, Rest, size_t(Length) + 1);
                break;
            }
            int Blank = Fit;
            while (Blank > 0 && Rest[Blank] != ' ') --Blank;
            if (Blank > 0) {
                std::memcpy(Out, Rest, size_t(Blank));
                Out[Blank] = '\0';
                Rest += Blank + 1;
                continue;
            }
            // At least one character goes, however narrow the map.
            int Cut = std::max(Fit, 1);
            for (;; --Cut) {
                std::memcpy(Out, Rest, size_t(Cut));
                Out[Cut] = '-';
                Out[Cut + 1] = '\0';
                if (Cut == 1 || GetTextWidth(TALK_FONT, Out) <= MaxWidth) break;
            }
            Rest += Cut;
        }
    }
}

// The anchor over the speaker's field; false when the field lies outside the
// map cube.
bool Anchor(const Talkbox& B, int Width, int Height, bool NoStretching, int& ax, int& ay) {
    int rx = B.x, ry = B.y, rz = B.z;
    AbsoluteToCube(rx, ry, rz);
    if (!In(rx, 0, MAPSIZE_X - 1) || !In(ry, 0, MAPSIZE_Y - 1) || !In(rz, 0, MAPSIZE_Z - 1)) return false;
    if (NoStretching) {
        ax = 32 * rx - 16 - (MAP_PIXELS_X - Width) / 2;
        ay = 32 * ry - 32 - (MAP_PIXELS_Y - Height) / 2;
    } else {
        ax = Width * (rx - 1) / MAP_WIDTH + Width / (2 * MAP_WIDTH);
        ay = (ry - 1) * Height / MAP_HEIGHT;
    }
    return true;
}

// One pass of pushing overlapping boxes apart; returns the pass's total
// overlap.
long long PushApart(Talkbox* const* Boxes, int Count) {
    long long Total = 0;
    for (int j = 0; j < Count; ++j)
        for (int i = 0; i < Count; ++i) {
            if (i == j) continue;
            Talkbox& J = *Boxes[j];
            const Talkbox& I = *Boxes[i];
            const int dx = J.CentreX - I.CentreX, dy = J.CentreY - I.CentreY;
            const int ReachX = J.Width / 2 + I.Width / 2 + BOX_MARGIN;
            const int ReachY = J.Height / 2 + I.Height / 2 + BOX_MARGIN;
            if (std::abs(dx) >= ReachX || std::abs(dy) >= ReachY) continue;
            // By the overlap where they overlap, else by the box's own size.
            const int PushX =
                std::abs(dx) < ReachX - BOX_MARGIN ? ReachX - std::abs(dx) : J.Width + 2 * BOX_MARGIN;
            const int PushY =
                std::abs(dy) < ReachY - BOX_MARGIN ? ReachY - std::abs(dy) : J.Height + 2 * BOX_MARGIN;
            Total += static_cast<long long>(PushX) * PushY;
            if (dx == 0 && dy == 0) {
                J.CentreX += j - i;
            } else {
                J.CentreX += Sign(dx) * PushX;
                J.CentreY += Sign(dy) * PushY;
            }
        }
    return Total;
}

// What a box covers around its centre, whichever way its lines are aligned.
struct Area {
    int Left, Top, Right, Bottom;
};

Area AreaOf(const Talkbox& B) {
    const int Top = B.CentreY - B.Height / 2;
    return {B.CentreX - (B.Width + 1) / 2, Top, B.CentreX + (B.Width + 1) / 2, Top + B.Height};
}

bool Apart(const Area& a, const Area& b, int Gap) {
    return a.Right + Gap <= b.Left || b.Right + Gap <= a.Left || a.Bottom + Gap <= b.Top || b.Bottom + Gap <= a.Top;
}

bool Free(const Talkbox& B, const Area* Taken, int Count, int Gap) {
    const Area Mine = AreaOf(B);
    for (int n = 0; n < Count; ++n)
        if (!Apart(Mine, Taken[n], Gap)) return false;
    return true;
}

// Whether the box, where it stands, keeps clear of the boxes taken (by Gap)
// and of the places that older waiting boxes are waiting for.
bool Clear(const Talkbox& B, const Area* Taken, int Count, int Gap, const Area* Waiting, int Waiters) {
    return Free(B, Taken, Count, Gap) && Free(B, Waiting, Waiters, 0);
}

// The clear place nearest to (PreferredX, PreferredY) among those that touch
// a taken box on one side (beside it, above or below it), kept within the
// box's bounds; false when there is none.
bool FindRoom(Talkbox& B, int PreferredX, int PreferredY, const Bounds& Limit, const Area* Taken, int Count,
              const Area* Waiting, int Waiters) {
    int Xs[1 + 2 * TALKBOXES], Ys[1 + 2 * TALKBOXES], NumberX = 0, NumberY = 0;
    Xs[NumberX++] = PreferredX;
    Ys[NumberY++] = PreferredY;
    for (int n = 0; n < Count; ++n) {
        Xs[NumberX++] = Taken[n].Left - STACK_GAP - (B.Width + 1) / 2;
        Xs[NumberX++] = Taken[n].Right + STACK_GAP + (B.Width + 1) / 2;
        Ys[NumberY++] = Taken[n].Top - STACK_GAP - (B.Height - B.Height / 2);
        Ys[NumberY++] = Taken[n].Bottom + STACK_GAP + B.Height / 2;
    }
    bool Found = false;
    long long BestDistance = 0;
    int BestX = 0, BestY = 0;
    for (int i = 0; i < NumberX; ++i)
        for (int k = 0; k < NumberY; ++k) {
            B.CentreX = Xs[i];
            B.CentreY = Ys[k];
            Clamp(B, Limit);
            if (!Clear(B, Taken, Count, STACK_GAP, Waiting, Waiters)) continue;
            const long long dx = B.CentreX - PreferredX, dy = B.CentreY - PreferredY;
            const long long Distance = dx * dx + dy * dy;
            // Of two places as near, the higher: speech stands above its speaker.
            if (!Found || Distance < BestDistance || (Distance == BestDistance && B.CentreY < BestY)) {
                Found = true;
                BestDistance = Distance;
                BestX = B.CentreX;
                BestY = B.CentreY;
            }
        }
    B.CentreX = BestX;
    B.CentreY = BestY;
    return Found;
}

}  // namespace

void LayoutTalk(int Width, int Height, bool NoStretching) {
    Changed = false;
    Talkbox* Shown[TALKBOXES];
    Bounds Limits[TALKBOXES];
    int PreferredX[TALKBOXES], PreferredY[TALKBOXES];
    int Count = 0;
    const int LineHeight = GetFontLineHeight(TALK_FONT);
    const int Reserve = GetStatusLine() != nullptr ? GetFontHeight(TALK_FONT) + STATUS_MARGIN : 0;
    // From the oldest: the older box keeps its place when room is short.
    for (int Number = 1, k; (k = ShownBox(Number)) >= 0; ++Number) {
        Talkbox& B = Box[k];
        B.Placed = false;
        B.Deferred = false;
        if (Width <= 0 || Height <= 0) continue;
        // Room is kept for the centre's bounds: no line reaches past the edges.
        BreakToWidth(B, Width - 2);
        B.Height = B.ShownLines * LineHeight;
        B.Width = 0;
        for (int n = 0; n < B.ShownLines; ++n) B.Width = std::max(B.Width, GetTextWidth(TALK_FONT, B.Shown[n]));
        if (B.x != 0) {
            int ay = 0;
            if (!Anchor(B, Width, Height, NoStretching, B.AnchorX, ay)) continue;
            B.CentreX = B.AnchorX;
            B.CentreY = ay - B.Height / 2;
            B.Pin = 0;
        } else {
            B.AnchorX = B.CentreX = Width / 2;
            if (B.Mode == TALK_PRIVATE_MESSAGE)
                B.CentreY = Height / 4;
            else if (B.Mode == TALK_ADMIN_MESSAGE)
                B.CentreY = Height / 2 - B.Height / 2 - 5;
            else if (InGroup(B.Mode))
                B.CentreY = Height / 2 + B.Height / 2 + 5;
            else
                continue;  // speech always has a speaker's field
            B.Pin = PIN_X | PIN_Y;
        }
        Limits[Count] = CentreBounds(B, Width, Height, Reserve);
        Clamp(B, Limits[Count]);
        PreferredX[Count] = B.CentreX;
        PreferredY[Count] = B.CentreY;
        B.Placed = true;
        Shown[Count++] = &B;
    }

    for (long long Previous = LLONG_MAX;;) {
        const long long Total = PushApart(Shown, Count);
        for (int n = 0; n < Count; ++n) Clamp(*Shown[n], Limits[n]);
        if (Total == 0 || Total >= Previous) break;
        Previous = Total;
    }

    // Boxes that pushing could not separate (too large for the room the map
    // has, or held at its edges) go back to their own places and are stacked
    // from the oldest; one that finds no room waits and is not drawn over
    // another. The place it waits for is kept from the younger boxes, so
    // that they do not go before it (a speaker's later words before his
    // earlier ones).
    bool Crowded[TALKBOXES] = {};
    for (int i = 0; i < Count; ++i)
        for (int j = 0; j < Count; ++j)
            if (i != j && !Apart(AreaOf(*Shown[i]), AreaOf(*Shown[j]), 0)) Crowded[i] = true;
    Area Taken[TALKBOXES], Waiting[TALKBOXES];
    int NumberTaken = 0, Waiters = 0;
    for (int n = 0; n < Count; ++n) {
        Talkbox& B = *Shown[n];
        if (Crowded[n]) {
            B.CentreX = PreferredX[n];
            B.CentreY = PreferredY[n];
        }
        if (!Clear(B, Taken, NumberTaken, 0, Waiting, Waiters) &&
            !FindRoom(B, PreferredX[n], PreferredY[n], Limits[n], Taken, NumberTaken, Waiting, Waiters)) {
            B.CentreX = PreferredX[n];
            B.CentreY = PreferredY[n];
            Waiting[Waiters++] = AreaOf(B);
            B.Placed = false;
            B.Deferred = true;
            continue;
        }
        Taken[NumberTaken++] = AreaOf(B);
    }

    for (int n = 0; n < Count; ++n) {
        Talkbox& B = *Shown[n];
        if (!B.Placed) continue;
        const Bounds& R = Limits[n];
        if (B.CentreX == R.Left || B.CentreX == R.Right) B.Pin |= PIN_X;
        if (B.CentreY == R.Top || B.CentreY == R.Bottom) B.Pin |= PIN_Y;
        const int Quarter = B.Width / 4;
        if (B.CentreX < B.AnchorX - Quarter) {
            B.Alignment = RIGHT_ALIGN;
            B.X = B.CentreX + B.Width / 2;
        } else if (B.CentreX > B.AnchorX + Quarter) {
            B.Alignment = LEFT_ALIGN;
            B.X = B.CentreX - B.Width / 2;
        } else {
            B.Alignment = CENTER_ALIGN;
            B.X = B.CentreX;
        }
        B.Top = B.CentreY - B.Height / 2;
    }
}

// ==== 7. Drawing =========================================================================

void DrawTalk(int Surface, int X, int Y, int Width, int Height, int WalkX, int WalkY, bool NoStretching) {
    if (Width <= 0 || Height <= 0) return;
    const ClipRect View{X, Y, Width, Height};
    const int LineHeight = GetFontLineHeight(TALK_FONT);
    const int ShiftX = NoStretching ? WalkX : WalkX * Width / MAP_PIXELS_X;
    const int ShiftY = NoStretching ? WalkY : WalkY * Height / MAP_PIXELS_Y;
    for (int Number = 1, k; (k = ShownBox(Number)) >= 0; ++Number) {
        const Talkbox& B = Box[k];
        if (!B.Placed) continue;
        const RGBColour C = GetTalkColour(B.Mode);
        const int BoxX = X + B.X - ((B.Pin & PIN_X) ? 0 : ShiftX);
        const int BoxY = Y + B.Top - ((B.Pin & PIN_Y) ? 0 : ShiftY);
        for (int n = 0; n < B.ShownLines; ++n)
            DrawTextClipped(Surface, BoxX, BoxY + n * LineHeight, TALK_FONT, C.Red, C.Green, C.Blue, B.Shown[n],
                            B.Alignment, View);
    }
    if (const char* Text = GetStatusLine()) {
        const int Fitting = GetFittingCharacters(TALK_FONT, Text, Width);
        DrawTextClipped(Surface, X + Width / 2, Y + Height - GetFontHeight(TALK_FONT), TALK_FONT, 255, 255, 255,
                        Text, Fitting, CENTER_ALIGN, View);
    }
}

void DrawAnimatedText(int Surface, int X, int Y, int Width, int Height, int x, int y, int Colour, const char* Text,
                      bool NoStretching) {
    ASSERT(Text!=NULL);
    ASSERT_PARAM(In(Colour,0,215), Colour);
    if (Text == nullptr || Width <= 0 || Height <= 0) return;
    if (NoStretching) {
        x -= (MAP_PIXELS_X - Width) / 2;
        y -= (MAP_PIXELS_Y - Height) / 2;
    } else {
        x = x * Width / MAP_PIXELS_X;
        y = y * Height / MAP_PIXELS_Y;
    }
    const int Half = GetTextWidth(TALK_FONT, Text) / 2;
    x = std::max(Half, std::min(Width - Half, x));
    y = std::max(0, std::min(Height - GetFontHeight(TALK_FONT), y));
    int Red, Green, Blue;
    GetCubeColor(Colour, Red, Green, Blue);
    DrawTextClipped(Surface, X + x, Y + y, TALK_FONT, Red, Green, Blue, Text, CENTER_ALIGN,
                    ClipRect{X, Y, Width, Height});
}
