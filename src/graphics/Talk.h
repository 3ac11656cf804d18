// Texts on the map: what creatures say above their field, private and server
// messages in the middle of the map view, and the status line at its bottom.
//
// A fixed pool of text boxes, each with a lifetime that the 100 ms timer runs
// down. Boxes that would show the same kind of text at the same place queue
// behind each other. The map view asks whether the texts changed, has them
// laid out for its size (LayoutTalk) and draws them (DrawTalk), together with
// the animated texts that rise from the fields (DrawAnimatedText).
//
// Order: InitTalk() after the preferences, ExitTalk() after them at the end.
#pragma once

#include "core/TalkModes.h"
#include "graphics/Surface.h"

#include <cstdint>

constexpr int TALKBOXES = 10;
constexpr int TALKBOX_LINES = 10;
// Wrapped lines hold at most 39 characters; the header line ("%s whispers:"
// with a name shorter than 30 characters) fits as well.
constexpr int TALKLINE_LENGTH = 40;
// The lines of a box as the map shows them: a line wider than the map
// picture is broken again, so a box can show more lines than it holds.
constexpr int TALKBOX_SHOWN_LINES = 4 * TALKBOX_LINES;
constexpr int STATUSMESSAGE_LENGTH = 512;
constexpr int STATUSMESSAGE_TICKS = 50;  // 5 seconds of the 100 ms timer
constexpr int TALK_FONT = 2;

// Box states.
enum : int { TALKBOX_FREE = 0, TALKBOX_SHOWN = 1, TALKBOX_WAITING = 2 };
// Pin flags of a laid-out box: that coordinate stays fixed to the window
// instead of moving with the player's walking offset.
enum : int { PIN_X = 1, PIN_Y = 2 };

// A shown box as the drawing needs it. Line holds the box's text as it was
// wrapped when it was said; Shown the lines of the last layout, none wider
// than the map picture. X is the alignment point of the shown lines (left
// edge, centre or right edge), Top the top of the first one, both in the map
// window. Width and Height are the size of the shown lines in font 2.
// Placed is false until the boxes are laid out, and stays false for a
// speaker whose field lies outside the map cube (another floor out of reach,
// or too far away): such a box lives and queues as usual but is not drawn.
// Deferred marks a box that found no room beside the older boxes: it waits,
// its time standing still, until the layout finds it room. The line texts
// stay valid until the boxes change or are laid out again.
struct TalkboxInfo {
    int Mode = 0;
    RGBColour Colour;
    int NumberOfLines = 0;
    const char* Line[TALKBOX_LINES] = {};
    int NumberOfShownLines = 0;
    const char* Shown[TALKBOX_SHOWN_LINES] = {};
    bool Placed = false;
    bool Deferred = false;
    int X = 0, Top = 0, Alignment = 0, Pin = 0;
    int Width = 0, Height = 0;
};

void InitTalk();
void ExitTalk();
// Entering the game: every box freed, the status line hidden.
void ResetTalk();

// Speech at an absolute field (x, y, z); x = 0 for a text without position,
// allowed for private messages and the gamemaster's texts (modes 4, 9, 11).
void TalkSay(int Mode, const char* Speaker, int x, int y, int z, const char* Text);
// A message in the middle of the view: modes 18, 19 and 22.
void TalkMessage(int Mode, const char* Text);

// The status line: a null text hides it; otherwise it is shown for
// STATUSMESSAGE_TICKS status ticks, or until replaced when permanent.
void SetStatusLine(const char* Message, bool Permanent);
// One tick of the status line's count-down.
void StatusLineTick();
// The text shown, NULL while the line is hidden.
const char* GetStatusLine();

// Runs every box's time down by Elapsed milliseconds and expires the boxes
// whose time is used up, the oldest first. A deferred box keeps its time.
void UpdateTalk(int Elapsed);
// The 100 ms timer: UpdateTalk with the milliseconds of the platform clock
// since the previous call (or since InitTalk/ResetTalk), then StatusLineTick.
void TickTalk();
// Expires the box created first (the map view's dismiss key).
void DismissOldestTalkbox();

// Shown boxes, numbered 1..GetNumberOfTalkboxes() from the oldest.
int GetNumberOfTalkboxes();
TalkboxInfo GetTalkbox(int Number);
// The state and time left of a pool entry 0..TALKBOXES-1 (tests, diagnostics).
int GetTalkboxState(int Index);
int GetTalkboxTimeLeft(int Index);
// Whether the texts changed since the last query or layout; clears the flag.
bool TalkboxesChanged();
// The colour of a talk mode 1..25.
RGBColour GetTalkColour(int Mode);

// Places every shown box for a map window of Width x Height: its lines
// broken to the window's width, anchored over the speaker's field (relative
// to the player's current position) or in the middle of the view for the
// others, kept inside the window, pushed apart where they overlap, pinned
// where they touch its edges. Boxes that pushing cannot separate are
// stacked, the oldest nearest its place; one that finds no room is
// deferred. Needs the fonts.
void LayoutTalk(int Width, int Height, bool NoStretching);
// The laid-out boxes and the status line into the map window (X, Y, Width,
// Height) of a surface. Unpinned boxes move with the player's walking offset
// (WalkX, WalkY in map pixels, scaled to the window unless NoStretching).
void DrawTalk(int Surface, int X, int Y, int Width, int Height, int WalkX, int WalkY, bool NoStretching);
// An animated text centred at (x, y) of the 480 x 352 map picture, in colour
// Colour of the 6 x 6 x 6 cube (0..215), kept inside the window.
void DrawAnimatedText(int Surface, int X, int Y, int Width, int Height, int x, int y, int Colour, const char* Text,
                      bool NoStretching);
