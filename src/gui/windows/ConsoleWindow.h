// The console below the map: one tab per open channel, each with its text
// buffer, and the input line through which the player talks. The buffers
// and tabs live in this module while the player is in the game (the game
// view is built anew on every entry and only shows them); the game
// messages reach them through the hooks the application installs.
#pragma once

#include "gui/framework/DialogElements.h"
#include "gui/framework/TextBuffer.h"

#include <algorithm>

// Commands of the console component.
enum : int {
    CONSOLE_SHOW = 201,
    CONSOLE_CLOSE_TAB = 202,
    CONSOLE_SAVE = 203,  // save the selected tab's text
    CONSOLE_IGNORE_LIST = 204,
    CONSOLE_CHANNEL_LIST = 205,
    CONSOLE_SAY = 206,
    CONSOLE_WHISPER = 207,
    CONSOLE_YELL = 208,
    CONSOLE_SERVER_MESSAGES = 210,
    CONSOLE_DEFAULT_TAB = 211,
    CONSOLE_NEXT_TAB = 212,
    CONSOLE_PREVIOUS_TAB = 213,
    CONSOLE_HOTKEYS = 403,
};

// The channel kinds the server names when it opens or closes a channel.
enum : int {
    CHANNEL_PRIVATE = 4,   // talk with one partner
    CHANNEL_PUBLIC = 5,    // a channel by id (the player's own one too)
    CHANNEL_REQUESTS = 6,  // the open rule-violation requests
    CHANNEL_OWN_REQUEST = 7,
    CHANNEL_ANSWER = 8,    // the conversation about someone's request
};

// Tabs opened this soon after entering the game are added, not selected:
// the channels the server reopens then must not pull the player away from
// the default tab.
constexpr uint32_t CONSOLE_SELECT_THRESHOLD = 3000;  // ms of the program's clock

struct ConsoleTab {
    std::string Caption;
    TextBuffer* Buffer = nullptr;
    int Kind = 0;  // a channel kind above, 0 for the default tab
    bool Highlight = false;
};

// ---- The module ---------------------------------------------------------------------

void InitConsole();
void ExitConsole();
// On entering and leaving the game: every tab but the default one goes, the
// default buffer is emptied; the history stays.
void ResetConsole();

// Routing of an incoming talk line (Channel -1: none).
void AddTalkLine(const char* Text, int Mode, const char* Speaker, int ChannelID);
void AddPlainLine(TextBuffer* Buffer, const char* Text, int Mode, const char* Speaker);
// The player's own text, shown as mode 24 where the matching buffer is.
void OwnTextEcho(const char* Speaker, const char* Text, int Mode, const char* Partner, int ChannelID);
// Finds or creates the buffer and its tab.
TextBuffer* OpenChannelTab(int Mode, int ChannelKind, const char* Partner, int ChannelID, const char* Caption);
void ReportRuleViolation(const char* Question);
// The server's channel bookkeeping (see GameHooks).
void AddRequestLine(const char* Speaker, int32_t Number, const char* Text);
void OpenRequestChannel(int ChannelID);
void RemoveRequest(const char* Name);
// A counsellor takes the request of Name: the server is told and the
// conversation "<Name>'s Report" opens.
void ProcessRequest(const char* Name);
void CloseChannel(int Kind, int ChannelID, const char* Name, const char* Text);
// The player's own private channel, opened by the server.
void OpenOwnChannel(int ChannelID, const char* Caption);
// Its id, -1 while none is open.
int GetOwnChannel();

// A dropped line of an ignored speaker lights the ignore indicator for a while.
constexpr uint32_t IGNORE_INDICATOR_TIME = 1000;  // ms
void IgnoredSpeaker();
bool IsIgnoreIndicatorLit();

int GetNumberOfTabs();
const ConsoleTab& GetTab(int Number);
int GetSelectedTab();
void SelectTab(int Number);
// Does nothing for the default tab.
void CloseSelectedTab();
// The tab showing a buffer, -1 when none does (any more).
int GetTabOfBuffer(const TextBuffer* Buffer);
// Empties a tab's text.
void ClearTabText(int Number);
TextBuffer* GetDefaultBuffer();
TextBuffer* GetHistoryBuffer();
int GetDefaultTalkMode();
void SetDefaultTalkMode(int Mode);
// Whether the console changed since the last call (clears the flag).
bool ConsoleChanged();

// Appends the selected tab's text to "<caption>.txt" in the working
// directory and says so on the status line.
void SaveSelectedChannel();
// The file a caption is saved to: the caption with ".txt", every character
// that could lead out of the working directory replaced.
std::string ChannelFileName(const char* Caption);

// The console's commands (CONSOLE_...) that need no component.
void ConsoleCommand(int number);

// What the player typed, sent as the tab and prefixes decide. Returns the
// text the input line is to hold afterwards ("" or "*name* ").
std::string SendInputLine(const char* Line);

// ---- The component ---------------------------------------------------------------------

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

    const std::string& getInput() const { return Typed; }
    int getCursor() const { return Cursor; }
    void setInput(const std::string& Text);
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
    void send(const char* Line);
    void historyStep(bool Older);
    void insertText(const char* Text);
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
    std::string Typed;
    int Cursor = 0;
    int HistoryPosition = -1;  // -1: the line being typed
    TextPlace SelectionStart, SelectionEnd;
    bool Selecting = false;
};

class Dialog;
// The answer to the channel list: the offered channels and a name field for
// a private conversation.
Dialog* ChannelChoiceDialog();

// The question the player asks a counsellor; its event carries the text.
enum : int { CONSOLE_EVENT_DIALOG_REPORT = 21, CONSOLE_EVENT_REPORT = 46 };
Dialog* ReportDialog();

// The shortened caption as a tab of Width pixels shows it.
std::string ShortenCaption(const char* Caption, int Width);
