// Layout constants of every element and window kind: skin numbers, offsets,
// sizes, fonts and colours, grouped by the element that uses them. The record
// starts zeroed and is filled once by InitSkinProperties, the one place where
// these numbers are chosen; they belong to the skin picture of Vorna.pic.
#pragma once

struct SkinPoint {
    int x, y;
};
struct SkinBox {
    int x, y, width, height;
};
struct SkinColour {
    int Red, Green, Blue;
};

struct SkinPropertyTable {
    struct {
        SkinPoint Texture;     // where an icon button's picture sits inside its face
        int BlinkPeriod;       // milliseconds between the two faces of a blinking button
        int Font;              // caption font of text buttons
        SkinColour Text;       // caption colour
        SkinColour DisabledText;
        SkinPoint PressedOffset;  // the caption moves by this while the button is down
        int TextUp, TextDown;  // standard text button faces
    } Buttons;
    struct {
        SkinPoint Item;        // where the tick box sits inside a check-box row
        int Top, Left, Bottom, Right;  // frame skins
        int Ticked, Empty;     // tick box skins
        int MarginLeft, MarginTop, MarginRight, MarginBottom;  // around the caption
        int Font;
        SkinColour Text, DisabledText;
    } CheckBox;
    struct {
        int Font;
        SkinColour Text;
    } Label;
    struct {
        int Font;
        SkinColour Normal, Bold, Highlight;
    } Markup;
    struct {
        int Top, Left, Bottom, Right;  // sunken frame skins
        int Font;
        int Margin;            // text margin inside the frame
        SkinColour Background, Text, Selection, SelectedText, Cursor, InactiveBackground;
    } EditField;
    struct {
        int Font;
        int Margin;
        int LineHeight;
        SkinColour Background, Text, Selection, SelectedText;
    } ListBox;
    struct {
        int Thickness;         // the fixed height (width) of a horizontal (vertical) bar
        int UpArrowUp, UpArrowDown, DownArrowUp, DownArrowDown;
        int LeftArrowUp, LeftArrowDown, RightArrowUp, RightArrowDown;
        int Track, KnobStart, KnobMiddle, KnobEnd;
    } ScrollBar;
    struct {
        int TopLeft, Top, TopRight, Left, Right, BottomLeft, Bottom, BottomRight, Centre;
        int Margin;
    } WindowFrame;
    struct {
        int Grip;
    } Resizer;
    struct {
        int Frame;             // tiled behind a framed object
        int FrameMargin;
    } ObjectPicture;
    struct {
        int FrameLeft, FrameMiddle, FrameRight;
        int FillStart, FillMiddle, FillEnd;
    } ProgressBar;
    struct {
        int Font;
        SkinColour Text;
        int Gap;               // between the label and the button
    } LinkRow;
    struct {
        int Font;
        int Margin;
        SkinColour Background, Outline, Text;
    } Tooltip;
    struct {
        int Font;
        SkinColour Text;
    } Diagnostics;
    struct {
        SkinBox HitpointsBar, ManaBar;
    } StatusWindow;
    struct {
        SkinPoint Logo;        // icon offset in a VIP row
    } BuddylistWindow;
    struct {
        int NumberOfIcons;
    } PlayerStates;
    struct {
        int ColumnWidth;       // F: the right column of fixed panels and side windows
        int StripHeight;       // S: the strip below the map view
        int MapMinimumHeight;  // the map view never gets less
        int ConsoleHeight;     // the console's height until the player changes it
        int ConsoleMinimumHeight;
        int PanelsHeight;      // the fixed panels at the top of the right column
    } GameView;
};

// Fills the record (called once at start-up, again by tests).
void InitSkinProperties();
// Zeroes it.
void ExitSkinProperties();
const SkinPropertyTable& SkinProperties();
