// The console below the map, as the player sees it: the tab row, the text
// of the selected tab with its selection, the channel buttons and the input
// line with the talk-mode buttons. The tabs, buffers and sending are the
// console's model (gui/console/); this component only shows them.
#pragma once

#include "gui/console/Console.h"
#include "gui/console/Input.h"
#include "gui/framework/DialogElements.h"

#include <algorithm>

class ConsoleWindow : public CompositeComponent {
  public:
    ConsoleWindow();
    ~ConsoleWindow() override;
    void setSize(int Width, int Height) override;
    void draw(int Surface, int x, int y) override;
    bool leftButtonDown(int x, int y, int keys) override;
    bool mouseMove(int x, int y) override;
    bool leftDoubleClick(int x, int y, int keys) override;
    bool leftButtonUp(int x, int y, int keys) override;
    // A tab: its menu; the text: the menu of the line under the pointer, or
    // of the request there in the request channel.
    bool rightButtonUp(int x, int y, int keys) override;
    void cancelCapture() override;
    void keyPress(int code) override;
    void command(int number) override;
    // Help mode: the tab row and the channel buttons explain the channels,
    // the rest (text, input line, talk-mode button) the console.
    bool queryHelp(int x, int y) override;

    const std::string& getInput() const { return Input.getText(); }
    int getCursor() const { return Input.getCursor(); }
    void setInput(const std::string& Text) { Input.setText(Text); }
    // The selected text, its display lines joined by line feeds.
    std::string getSelectedText() const;
    // Selects every line of the selected tab.
    void selectAll();
    int getTabWidth() const;
    // Where the text area is, relative to the component.
    int getTextTop() const;
    int getTextHeight() const;
    int getTextWidth() const;
    static constexpr int BUTTONS = 4;
    // Close, Save, Channels and Messages, top to bottom.
    TextButton* getButton(int Number) const { return Buttons[Number]; }
    // The talk-mode buttons beside the input line: Say, Whisper, Yell
    // (TALK_SAY to TALK_YELL); the one of the default tab's mode is lit.
    TextToggleButton* getModeButton(int Mode) const { return ModeButtons[std::clamp(Mode, 1, 3) - 1]; }
    // The arrows at the end of the tab row, shown while the tabs do not all
    // fit: the next tab to the left (false) or to the right (true).
    Button* getArrow(bool Right) const { return Arrows[Right ? 1 : 0]; }
    bool arrowsShown() const { return ArrowsShown; }
    // The tabs in view: the first one and how many; the selected tab is
    // always among them.
    int getFirstShownTab();
    int getShownTabs() const;
    // Where tab n starts, relative to the component; false when it is out
    // of view.
    bool getTabPosition(int n, int& x);

  private:
    // A place in the text: the line by its serial number and the character
    // within its whole text. It outlives new lines, wrapping at another
    // width and other tabs being shown, and names nothing once its line is
    // gone.
    struct TextPlace {
        uint64_t Serial = 0;  // 0: none
        int Offset = 0;
    };
    TextButton* Buttons[BUTTONS];
    TextToggleButton* ModeButtons[3];
    Button* Arrows[2];
    bool ArrowsShown = false;
    int FirstTab = 0;
    void layout();
    bool tabsOverflow() const;
    int inputWidth() const;
    // The tab under a point of the tab row, -1 for none.
    int tabAt(int x, int y);
    // Selects tab n and shows its text (command 201).
    void showTab(int n);
    // The selected tab's buffer, wrapped to the text area as it is now.
    TextBuffer* shownBuffer() const;
    int lineTop(int n, int Count) const;
    bool pointToText(int lx, int ly, int& Line, int& Char) const;
    TextPlace placeOf(const TextBuffer* B, int Line, int Char) const;
    bool displayPosition(const TextBuffer* B, const TextPlace& Place, int& Line, int& Char) const;
    // The selection in display lines of the shown buffer; ToLine -1 when
    // nothing of it is there.
    void selectionRange(int& FromLine, int& FromChar, int& ToLine, int& ToChar) const;
    void clearSelection() { SelectionStart = SelectionEnd = TextPlace(); }
    InputLine Input;
    TextPlace SelectionStart, SelectionEnd;
    bool Selecting = false;
};

// The shortened caption as a tab of Width pixels shows it.
std::string ShortenCaption(const char* Caption, int Width);
