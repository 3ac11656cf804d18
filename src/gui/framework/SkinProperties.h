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
        int Border;            // the frame's thickness
        int DefaultWidth;      // until the owner sizes the field
        int CursorWidth;
        SkinColour Background, Text, Selection, SelectedText, Cursor, InactiveBackground;
    } EditField;
    struct {
        int DefaultWidth, DefaultHeight;
    } TextField;
    struct {
        int Font;
        int Margin;
        int LineHeight;
        int Border;            // the frame's thickness; the scroll bar sits inside it
        int TextIndent;        // a line's text starts this far right of the highlight
        int RenameRaise;       // the rename field sits this far above its line
        int DefaultWidth, DefaultHeight;
        SkinColour Background, Text, Selection, SelectedText;
    } ListBox;
    struct {
        int Thickness;         // the fixed height (width) of a horizontal (vertical) bar
        int DefaultLength;     // of a bar or slider until the owner sizes it
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
        int OutlineWidth;
        int ScreenMargin;      // the box keeps this far from every screen edge
        SkinColour Background, Outline, Text;
    } Tooltip;
    struct {
        int Font;
        SkinPoint Origin;      // the first line's top-left corner on the screen
        SkinColour Text;
    } Diagnostics;
    struct {
        // Frame pieces; the top edge is the title bar, which is also the grip
        // for dragging.
        int TopLeft, TopRight, BottomLeft, BottomRight, Left, Right, Title, Bottom, Inside;
        int MarginLeft, MarginTop, MarginRight, MarginBottom;  // around the body
        int CaptionSpace;      // at least this much on either side of the caption
        int CaptionOffset;     // the caption sits this much below the title bar's middle
        int ButtonGap;         // between two buttons of the bottom row
        int ButtonBottom;      // from the button row to the bottom edge
        int SeparatorBottom;   // from the separator line to the bottom edge
        SkinColour SeparatorDark, SeparatorLight;  // the line and its light edge below
    } Dialog;
    struct {
        int MaxWidth, MaxHeight;  // the largest body of a marked-up message box
    } MessageBox;
    struct {
        int Width;             // the body's fixed width
        int FieldX;            // the fields start here at the least,
        int LabelGap;          // and at least this far right of the longer label
        int RowHeight;         // from the account row to the password row
        int LinkGap;           // the account-creation row starts this far below two rows
        int LinkButtonPadding; // room beside the caption of "Create Account"
    } LoginDialog;
    struct {
        int Width, ListHeight;
        int ListGap;           // from the caption to the list
        int StatusGap;         // from the list to the account status
        int StatusHeight;      // the status is laid out at this height, then fitted to its text
    } CharacterList;
    struct {
        int MinimumWidth;
        int Gap;               // between the text, the bar and the countdown
        int CountdownSpace;    // room right of the countdown line
    } ReconnectBox;
    struct {
        int MinimumWidth;
        int Gap;               // between the file name and the bar
    } DownloadBox;
    struct {
        // The options pages and the other forms: rows stacked top to bottom.
        int Width;             // of a page's body
        int RowGap;            // between two rows
        int SectionGap;        // before a new group of rows
        int ListHeight;        // of a page's list box
        int MenuLabelGap;      // the options menu: from a button to its label
        int MenuRowHeight;
        int FieldLabelWidth;   // a label left of a value or field
        int TextWidth, TextHeight;  // the text and list editors' fields
    } Pages;
    struct {
        int PictureSize;       // the outfit picture, square
        int PartStep;          // between the four part buttons
        int SwatchSize;        // one colour swatch, square
        int Gap;
    } OutfitDialog;
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
        int MinimizedHeight;   // a minimised window: the title bar and the bottom edge
        int ButtonTop;         // the title bar's buttons, from the window's top
        int ButtonRight;       // the close button's right edge, from the window's right
        int ButtonGap;         // between two buttons of the title bar
        int CaptionFont;
        int CaptionLeft;       // the caption's start; a title picture sits there first
        int CaptionTop;
        SkinColour Caption;
        int DefaultBodyHeight; // a standard window opened for the first time
    } SideWindow;
    struct {
        int Margin;            // inside each panel's frame
        int BarIconX;          // the health and mana icons, left of the bars
        int ValueGap;          // from a bar to its value
        int ValueFont;
        SkinColour Value;
        int StatusHeight;
        int ModeGap;           // between two combat buttons
        int LineHeight;        // a line of the skills, battle and VIP windows
        int LineFont;
        SkinColour LineText;
        SkinColour Target, Followed;  // the battle list's marks of the attacked and the followed creature
        int BarHeight;         // a skill's percentage bar below its line
    } SidePanels;
    struct {
        int ColumnWidth;       // F: the right column of fixed panels and side windows
        int StripHeight;       // S: the strip below the map view
        int MapMinimumHeight;  // the map view never gets less
        int ConsoleHeight;     // the console's height until the player changes it
        int ConsoleMinimumHeight;
        int PanelsHeight;      // the fixed panels at the top of the right column
    } GameView;
    struct {
        int PanelMargin;       // of the button panel from the left and bottom edges
        int PanelPadding;      // inside the panel, around the buttons
        int ButtonSpacing;     // from one button's top to the next
        int ButtonWidth;       // at least; wider when a caption needs it
        int CaptionPadding;    // beside the widest caption
        int LogoTop;           // the logo's top as a fraction 1/n of the height
        SkinColour Background; // around a start picture smaller than the window
    } StartView;
    struct {
        int Width;             // of the body
        int Gap;               // between the picture, the text and the slider
        int PictureSize;
    } MoveObjects;
};

// Fills the record (called once at start-up, again by tests).
void InitSkinProperties();
// Zeroes it.
void ExitSkinProperties();
const SkinPropertyTable& SkinProperties();
