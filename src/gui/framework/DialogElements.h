// The controls dialogs and side windows are assembled from.
//
// Sections (and the source files that implement them):
//   1. Frames and texts: Resizer, WindowFrame, Label, MarkupText, SkinPicture,
//      ObjectPicture, OutfitPicture, ProgressBar, LinkRow (DialogElements.cpp,
//      DialogElements.Markup.cpp)
//   2. Buttons: Button and its variants, RadioButtonGroup, CheckBox
//      (DialogElements.Buttons.cpp)
//   3. Text input: EditField, PasswordField, TextField, FocusGroup
//      (DialogElements.Edit.cpp)
//   4. Ranges and lists: Slider, the two scroll bars, ListBox
//      (DialogElements.Lists.cpp)
//
// Values that exceed a limit are cut, not refused: characters beyond a
// field's length, markup values out of range, slider values outside the range.
#pragma once

#include "gui/framework/Events.h"
#include "gui/framework/GUI.h"
#include "gui/framework/SkinProperties.h"
#include "world/Objects.h"

#include <string>
#include <vector>

// ---- 1. Frames and texts ---------------------------------------------------------------

// The grip in a window's corner: dragging it resizes another component.
class Resizer : public Component {
  public:
    Resizer(Component* ToResize, bool Horizontal, bool Vertical);
    void setHidden(bool Hidden);
    bool isDragging() const { return Dragging; }
    void arrange() override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool mouseMove(int x, int y) override;
    bool leftButtonUp(int x, int y, int keys) override;
    void cancelCapture() override;

  private:
    void resizeBy(int x, int y);
    Component* _ToResize;
    bool Horizontal, Vertical;
    bool Hidden = false, Dragging = false;
    int StartX = 0, StartY = 0;
};

// A border of eight skins (and an optional tiled centre) around one inner
// component, which the frame owns and keeps sized to its inside.
class WindowFrame : public CompositeComponent {
  public:
    struct BorderSkins {
        int TopLeft, Top, TopRight, Left, Right, BottomLeft, Bottom, BottomRight, Centre;
    };
    // The standard frame of skins 22 to 29.
    explicit WindowFrame(Component* Window);
    WindowFrame(Component* Window, const BorderSkins& Skins, int Margin);
    int getMinimumWidth() const override;
    int getMinimumHeight() const override;
    void setSize(int Width, int Height) override;
    void arrange() override;
    Component* getWindow() const { return _Window; }

  private:
    Component* _Window;
    BorderSkins Border;
    int Margin;
};

// One or more lines of text in one font and colour. Clicks pass through.
class Label : public Component {
  public:
    // Sized to its text.
    Label(const char* Text, int Font, int Red, int Green, int Blue);
    explicit Label(const char* Text);
    // Splits at "\n". With Measure, lines wider than the label are cut to end
    // in "..." and the label is marked as cut; otherwise the label takes
    // the size of its text.
    void setText(const char* Text, bool Measure);
    // Breaks every line wider than MaxWidth at a blank (a word wider than
    // that where it must) and takes the size of the broken text; the text
    // itself (getText) stays as it was given.
    void wrap(int MaxWidth);
    void setColour(int Red, int Green, int Blue);
    void setFont(int Font);
    const std::string& getText() const { return FullText; }
    const std::string& getLine(int n) const;
    int getLines() const { return int(Lines.size()); }
    bool isCut() const { return Cut; }
    int getFont() const { return _Font; }
    SkinColour getColour() const { return Colour; }
    void draw(int Surface, int x, int y) override;
    POINTER_HANDLERS_OVERRIDE;
    void mouseRest(int x, int y) override;

  private:
    int _Font;
    SkinColour Colour;
    std::vector<std::string> Lines;
    std::string FullText;
    bool Cut = false;
};

// A skin drawn once at its own size. Clicks pass through.
class SkinPicture : public Component {
  public:
    explicit SkinPicture(int Skin);
    int getSkin() const { return Skin; }
    POINTER_HANDLERS_OVERRIDE;

  private:
    int Skin;
};

// Text with markup tags laid out into Label and SkinPicture pieces:
//   <b> <n> <h>            light red, normal grey, yellow
//   <font=n>               font 1..4
//   <hspace=n>             n pixels of space, 1..200
//   <indent=n>             left edge of the following lines, 0..200
//   <br=n>                 n extra pixels down, 1..50
//   <color=n>              colour n of the 6 x 6 x 6 cube, 0..215
//   <red=n> <green=n> <blue=n>  one colour component, 0..255
//   <skin=n>               a skin picture
// Names ignore case; anything else after "<" is shown as it stands.
class MarkupText : public CompositeComponent {
  public:
    explicit MarkupText(const char* Text, bool AutoWidth = false, bool AutoHeight = false);
    void setText(const char* Text, bool ArrangeNow);
    const std::string& getText() const { return Source; }
    void setSize(int Width, int Height) override;
    void arrange() override;
    // Lays the whole text out at Width, wider (up to MaxWidth) while it
    // would be taller than MaxHeight, and takes the size of what it shows:
    // no line is left out, however long the text.
    void fitText(int Width, int MaxWidth, int MaxHeight);

  private:
    std::string Source;
    bool AutoWidth, AutoHeight;
    bool Arranging = false;
};

// One parsed markup tag; exposed for the help texts and the tests.
struct MarkupTag {
    enum Kind { BOLD, NORMAL, HIGHLIGHT, FONT, HSPACE, INDENT, BR, COLOR, SKIN, RED, GREEN, BLUE } Tag;
    int Value = 0;
    int Length = 0;  // characters from "<" to ">" inclusive
};
// Parses a tag at Text (which starts with "<"); false when it is plain text.
bool ParseMarkupTag(const char* Text, MarkupTag& Result);

// An object of the object types, scaled into the square element.
class ObjectPicture : public Component {
  public:
    ObjectPicture(int Size, bool Framed);
    void setObject(int Type, uint32_t Data);
    const ObjectInstance& getObject() const { return Object; }
    void setSize(int Width, int Height) override;
    void arrange() override;
    void draw(int Surface, int x, int y) override;

  private:
    ObjectInstance Object;
    bool Framed;
};

// A creature outfit in its four colours, facing south.
class OutfitPicture : public Component {
  public:
    explicit OutfitPicture(int Size);
    void setOutfit(int OutfitType, int LookType);
    // Mask 1 head, 2 body, 3 legs, 4 feet; a palette index 0..132.
    void setColour(int Mask, int Value);
    int getColour(int Mask) const;
    void setSize(int Width, int Height) override;
    void draw(int Surface, int x, int y) override;

  private:
    int OutfitType = 0, LookType = 0;
    int ColorData[4] = {0, 0, 0, 0};
};

class ProgressBar : public Component {
  public:
    ProgressBar();
    void setMaximum(int maximum);
    void setValue(int Value);
    int getValue() const { return Value; }
    int getMinimumWidth() const override;
    int getMinimumHeight() const override;
    void setSize(int Width, int Height) override;
    void arrange() override;

  private:
    int maximum = 100;
    int Value = 0;
};

class TextButton;

// A text and a button that opens a web address.
class LinkRow : public CompositeComponent {
  public:
    LinkRow(const char* _Text, const char* ButtonText, const char* _Destination);
    void command(int number) override;
    const std::string& getDestination() const { return _Destination; }
    // How every link row opens its address: the application installs its own
    // (which leaves full screen first); without one the desktop is asked.
    static void setOpener(bool (*Opener)(const char* Path));

  private:
    std::string _Destination;
};

// ---- 2. Buttons -----------------------------------------------------------------------------

class Button;

// Buttons of which one at a time is drawn down.
struct RadioButtonGroup {
    Button* Selected = NULL;
    std::vector<Button*> MemberList;
    void addMember(Button* Member);
    ~RadioButtonGroup();
};

class Button : public Component {
  public:
    Button(int Up, int Down, CommandTarget Target, const char* Tooltip = NULL);
    ~Button() override;
    void setSkins(int _ButtonUp, int _ButtonDown);
    virtual bool isDown() const;
    // A repeat button sends its command again on every held tick.
    void setRepeat(bool Repeat) { this->Repeat = Repeat; }
    void setTooltip(const char* Tooltip);
    void setTarget(CommandTarget Target) { this->Target = Target; }
    bool isPressed() const { return Pressed; }
    RadioButtonGroup* getGroup() const { return Group; }

    void draw(int Surface, int x, int y) override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool mouseMove(int x, int y) override;
    bool leftButtonUp(int x, int y, int keys) override;
    bool mouseRepeat(int x, int y, int code) override;
    void mouseRest(int x, int y) override;
    void releaseCapture(Component* component) override;
    void cancelCapture() override;

  protected:
    // A release inside: the group takes the button, then the command goes.
    virtual void activate();
    int _ButtonUp, _ButtonDown;
    CommandTarget Target;
    std::string Tooltip;
    bool Pressed = false, Inside = false, Repeat = false;
    RadioButtonGroup* Group = NULL;
    friend struct RadioButtonGroup;
};

class ColourButton : public Button {
  public:
    ColourButton(int Up, int Down, CommandTarget Target, int Red, int Green, int Blue);
    void setColour(int Red, int Green, int Blue);
    void draw(int Surface, int x, int y) override;

  private:
    SkinColour Colour;
};

class IconButton : public Button {
  public:
    IconButton(int Up, int Down, int Icon, CommandTarget Target, const char* Tooltip = NULL);
    void setIcon(int Icon) { this->Icon = Icon; }
    void draw(int Surface, int x, int y) override;

  private:
    int Icon;
};

class BlinkingButton : public Button {
  public:
    BlinkingButton(int Up, int Down, int BlinkUp, int BlinkDown, CommandTarget Target, const char* Tooltip = NULL);
    void setBlinking(bool Blinking);
    bool isBlinking() const { return Blinking; }
    void draw(int Surface, int x, int y) override;

  private:
    int Faces[2][2];
    bool Blinking = false;
    int Phase = 0;
    uint32_t LastSwap = 0;
};

class TextButton : public Button {
  public:
    TextButton(const char* _Text, CommandTarget Target, int Up = 0, int Down = 0);
    void setText(const char* _Text);
    const std::string& getText() const { return Text; }
    void draw(int Surface, int x, int y) override;

  private:
    std::string Text;
};

class ToggleButton : public Button {
  public:
    ToggleButton(int Up, int Down, CommandTarget Target, const char* Tooltip = NULL);
    bool isOn() const { return On; }
    void setOn(bool On) { this->On = On; }
    bool isDown() const override;

  protected:
    void activate() override;
    bool On = false;
};

class TextToggleButton : public ToggleButton {
  public:
    TextToggleButton(const char* _Text, CommandTarget Target, int Up = 0, int Down = 0);
    void draw(int Surface, int x, int y) override;

  private:
    std::string Text;
};

class StateButton : public Button {
  public:
    struct State {
        int Up, Down;
        CommandTarget Target;
    };
    explicit StateButton(const std::vector<State>& States);
    int getState() const { return Current; }
    void setState(int Number);

  protected:
    void activate() override;

  private:
    std::vector<State> States;
    int Current = 0;
};

class CheckBox : public CompositeComponent {
  public:
    explicit CheckBox(const char* Caption, bool Ticked = false);
    bool isTicked() const { return Ticked; }
    void setTicked(bool Ticked);
    void setEnabled(bool Enabled);
    bool isEnabled() const { return Enabled; }
    Label* getCaption() const { return Caption; }
    void setSize(int Width, int Height) override;
    void arrange() override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool leftButtonUp(int x, int y, int keys) override;

  private:
    Label* Caption;
    bool Ticked, Enabled = true;
};

// ---- 3. Text input -----------------------------------------------------------------------------

class EditField;

// Edit fields that Tab and Shift+Tab cycle through; one has the cursor.
struct FocusGroup {
    std::vector<EditField*> MemberList;
    EditField* Active = NULL;
    void addMember(EditField* Member);
    void removeMember(EditField* Member);
    void next();
    void previous();
    void setActive(EditField* Member);
    int getMembers() const { return int(MemberList.size()); }
    ~FocusGroup();
};

// The field an event 53 was posted for, NULL when it has been destroyed since.
EditField* EditFieldOfMenu(intptr_t Data);

class EditField : public CompositeComponent {
  public:
    explicit EditField(int MaxLength);
    ~EditField() override;

    virtual void setText(const char* _Text);
    virtual void clear();
    virtual void deleteChars(int Position, int Count);
    virtual void deleteChar(int Position);
    // Inserts at most Length characters (negative: all of Text) and returns
    // how many went in; the text is cut to the field's length.
    virtual int insert(int Position, const char* Insertion, int Length);
    virtual void insertChar(int Position, char Character);
    virtual bool isReadOnly() const;
    virtual void setInactive(bool Inactive);
    virtual bool isInactive() const;
    virtual void setColours(int Font, SkinColour Text, SkinColour Background);
    virtual int positionFromPoint(int x, int y) const;
    void setCursor(int Position);
    void setFocused(bool Focused);
    void joinFocusGroup();
    void setFocusGroup(FocusGroup* Group) { _FocusGroup = Group; }
    void setSingleLinePaste(bool Single) { SingleLinePaste = Single; }
    // A selection from Start, Length characters (negative: leftwards).
    void setSelection(int Start, int Length);

    const char* getText() const { return Text.data(); }
    int getLength() const;
    int getMaxLength() const { return MaxLength; }
    int getCursor() const { return Cursor; }
    int getFirstVisible() const { return FirstVisible; }
    int getSelectionStart() const { return SelectionStart; }
    int getSelectionLength() const { return SelectionLength; }
    bool isFocused() const { return Focused; }
    bool hasSelection() const { return SelectionStart >= 0 && SelectionLength != 0; }

    void draw(int Surface, int x, int y) override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool mouseMove(int x, int y) override;
    bool leftButtonUp(int x, int y, int keys) override;
    bool leftDoubleClick(int x, int y, int keys) override;
    bool rightButtonUp(int x, int y, int keys) override;
    void keyPress(int code) override;
    void command(int number) override;
    void cancelCapture() override;

  protected:
    // The first and one-past-last selected characters.
    void selectionRange(int& From, int& To) const;
    void deleteSelection();
    void copySelection();
    // What is drawn: the text, or stars for a password.
    virtual const char* displayText() const { return Text.data(); }
    void scrollToCursor();
    void drawFrame(int Surface, int x, int y) const;

    std::vector<char> Text;
    int MaxLength;
    int Cursor = 0;
    int FirstVisible = 0;
    int SelectionStart = -1;
    int SelectionLength = 0;
    bool Focused = false, Selecting = false, Inactive = false, SingleLinePaste = true, ReadOnly = false;
    int Font;
    SkinColour TextColour, Background;
    FocusGroup* _FocusGroup = NULL;
};

class PasswordField : public EditField {
  public:
    explicit PasswordField(int MaxLength);
    void command(int number) override;
    // What is typed into a secret field (the default) is kept out of
    // recordings of the game.
    void setSecret(bool Secret) { this->Secret = Secret; }
    bool isSecret() const { return Secret; }

  protected:
    const char* displayText() const override;

  private:
    mutable std::vector<char> Stars;
    bool Secret = true;
};

class VerticalScrollBar;

// A multi-line field with a vertical scroll bar; paste keeps line breaks.
class TextField : public EditField {
  public:
    TextField(int MaxLength, bool ReadOnly);
    bool isReadOnly() const override;
    void setSize(int Width, int Height) override;
    void arrange() override;
    void draw(int Surface, int x, int y) override;
    int positionFromPoint(int x, int y) const override;
    bool leftButtonDown(int x, int y, int keys) override;
    void command(int number) override;
    int getLines() const { return int(LineStarts.size()); }
    // Characters of a line (without its dropped "\n").
    std::string getLine(int n) const;
    // Splits Text into lines of at most FieldWidth pixels in Font.
    static std::vector<std::pair<int, int>> BreakLines(const char* Text, int Font, int FieldWidth);

  private:
    int visibleLines() const;
    std::vector<std::pair<int, int>> LineStarts;  // start and length of each line
    VerticalScrollBar* ScrollBar;
    int FieldWidth = 1;
};

// ---- 4. Ranges and lists -------------------------------------------------------------------------

class Slider : public Component {
  public:
    Slider(int _Min, int _Max, int _Value, int Page, CommandTarget Target, bool Vertical = false);
    void setValue(int Value);
    void setRange(int _Min, int _Max, int _Value, int Page);
    void setStep(int _ButtonRange) { this->_ButtonRange = _ButtonRange; }
    void setPageClicks(bool PageClicks) { this->PageClicks = PageClicks; }
    int getValue() const { return _Value; }
    int getMin() const { return _Min; }
    int getMax() const { return _Max; }
    bool isEnabled() const { return Enabled; }
    bool isDragging() const { return Dragging; }
    int getKnobPosition() const { return KnobPosition; }
    int getKnobLength() const { return KnobLength; }

    void setSize(int Width, int Height) override;
    void arrange() override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool mouseMove(int x, int y) override;
    bool leftButtonUp(int x, int y, int keys) override;
    bool mouseRepeat(int x, int y, int code) override;
    void keyPress(int code) override;
    void cancelCapture() override;

  private:
    int trackLength() const { return Vertical ? _Height : _Width; }
    void clickBesideKnob(int Position);
    int _Min, _Max, _Value, Page;
    int _ButtonRange = 1;
    bool Vertical;
    bool Enabled;
    bool Pressed = false, Dragging = false, PageClicks = false;
    int Grab = 0, KnobLength = 0, KnobPosition = 0, PressPosition = 0;
    CommandTarget Target;
};

// Two arrow buttons and a slider between them.
class ScrollBar : public CompositeComponent {
  public:
    void setValue(int Value);
    void setRange(int Min, int Max, int Value, int Page);
    void setButtonRange(int _ButtonRange);
    int getValue() const { return Knob->getValue(); }
    Slider* getSlider() const { return Knob; }
    Button* getLessButton() const { return Less; }
    Button* getMoreButton() const { return More; }
    void command(int number) override;

  protected:
    ScrollBar(bool Vertical, CommandTarget Target);
    bool Vertical;
    Button* Less;
    Button* More;
    Slider* Knob;
    int _ButtonRange = 1;
};

class HorizontalScrollBar : public ScrollBar {
  public:
    explicit HorizontalScrollBar(CommandTarget Target);
    void setSize(int Width, int Height) override;
};

class VerticalScrollBar : public ScrollBar {
  public:
    explicit VerticalScrollBar(CommandTarget Target);
    void setSize(int Width, int Height) override;
};

class ListBox : public CompositeComponent {
  public:
    ListBox(CommandTarget SelectTarget, CommandTarget ActivateTarget, bool RenameAllowed = false);
    void addLine(const char* Text);
    void setLine(int Number, const char* Text);
    void removeLine(int Number);
    void clear();
    int getSelectedLine() const { return Selected; }
    void select(int Number);
    int getLines() const { return int(Lines.size()); }
    const std::string& getLine(int Number) const;
    int getVisibleLines() const { return VisibleLines; }
    int getTopLine() const;
    bool isRenaming() const { return Renaming; }
    EditField* getRenameField() const { return RenameField; }
    VerticalScrollBar* getScrollBar() const { return Bar; }

    void setSize(int Width, int Height) override;
    void arrange() override;
    void draw(int Surface, int x, int y) override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool leftDoubleClick(int x, int y, int keys) override;
    void keyPress(int code) override;
    void mouseRest(int x, int y) override;
    void command(int number) override;

  protected:
    // The colour of a line that is not selected; NULL for the list's own.
    virtual const SkinColour* lineColour(int) const { return NULL; }

  private:
    int lineAt(int y) const;
    void startRenaming();
    void endRenaming();
    void scrollIntoView();
    int lineHeight() const;
    std::vector<std::string> Lines;
    int Selected = -1;
    int VisibleLines = 0;
    CommandTarget SelectTarget, ActivateTarget;
    bool RenameAllowed, Renaming = false;
    EditField* RenameField = NULL;
    VerticalScrollBar* Bar;
};
