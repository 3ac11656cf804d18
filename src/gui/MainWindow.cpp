#include "gui/MainWindow.h"

#include "core/Assert.h"
#include "core/BuildSettings.h"
#include "core/Status.h"
#include "graphics/PictureNumbers.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/Dialogs.h"
#include "gui/Skins.h"
#include "net/Network.h"

#include <algorithm>

namespace {

// The start view's buttons, top to bottom, on a framed panel at the lower left.
struct StartButton {
    const char* Text;
    int Command;
};
constexpr StartButton START_BUTTONS[StartView::BUTTONS] = {
    {"Enter Game", MAIN_ENTER_GAME}, {"Info", MAIN_INFO},     {"Options", MAIN_OPTIONS},
    {"Access Account", MAIN_ACCOUNT}, {"Exit Game", MAIN_EXIT},
};
constexpr int START_PANEL_MARGIN = 40;    // from the left and bottom edges of the window
constexpr int START_PANEL_PADDING = 12;   // inside the panel, around the buttons
constexpr int START_BUTTON_SPACING = 30;  // from one button's top to the next
constexpr int START_BUTTON_WIDTH = 110;

// Logging out from the game: command 20 without fields.
constexpr int LOGOUT_COMMAND = 20;

void SendLogout() {
    if (!IsConnected()) return;
    BeginPacket(LOGOUT_COMMAND);
    SendPacket();
}

}  // namespace

// ---- Start view -------------------------------------------------------------------------------

StartView::StartView(Component* Target) : CompositeComponent(9) {
    for (int i = 0; i < BUTTONS; ++i) {
        Buttons[i] = new TextButton(START_BUTTONS[i].Text, CommandTarget(Target, START_BUTTONS[i].Command));
        Buttons[i]->setSize(START_BUTTON_WIDTH, Buttons[i]->getHeight());
        addChild(Buttons[i]);
    }
}

void StartView::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    const int buttonHeight = Buttons[0]->getHeight();
    const int panelWidth = START_BUTTON_WIDTH + 2 * START_PANEL_PADDING;
    const int panelHeight = (BUTTONS - 1) * START_BUTTON_SPACING + buttonHeight + 2 * START_PANEL_PADDING;
    const int panelX = START_PANEL_MARGIN, panelY = std::max(Height - START_PANEL_MARGIN - panelHeight, 0);
    for (int i = 0; i < BUTTONS; ++i)
        Buttons[i]->setPosition(panelX + START_PANEL_PADDING, panelY + START_PANEL_PADDING + i * START_BUTTON_SPACING);
    // The panel: the window frame skins around the dialog's inside.
    const auto& F = SkinProperties().WindowFrame;
    setDrawingEntry(0, 47, panelX, panelY, panelWidth, panelHeight);
    setDrawingEntry(1, F.Top, panelX, panelY - Skins[F.Top].height, panelWidth, Skins[F.Top].height);
    setDrawingEntry(2, F.Bottom, panelX, panelY + panelHeight, panelWidth, Skins[F.Bottom].height);
    setDrawingEntry(3, F.Left, panelX - Skins[F.Left].width, panelY, Skins[F.Left].width, panelHeight);
    setDrawingEntry(4, F.Right, panelX + panelWidth, panelY, Skins[F.Right].width, panelHeight);
    setDrawingEntry(5, F.TopLeft, panelX - Skins[F.TopLeft].width, panelY - Skins[F.TopLeft].height);
    setDrawingEntry(6, F.TopRight, panelX + panelWidth, panelY - Skins[F.TopRight].height);
    setDrawingEntry(7, F.BottomLeft, panelX - Skins[F.BottomLeft].width, panelY + panelHeight);
    setDrawingEntry(8, F.BottomRight, panelX + panelWidth, panelY + panelHeight);
}

void StartView::draw(int Surface, int x, int y) {
    // The start picture is larger than most windows: centred, it is cut
    // evenly on every side.
    FillRect(Surface, x, y, _Width, _Height, 28, 22, 18);
    // Only the visible part is drawn: the picture is far larger than the window.
    int tilesX = 0, tilesY = 0;
    GetPictureSize(PICTURE_BACKGROUND, &tilesX, &tilesY);
    const int pictureWidth = tilesX * IMAGE_SIZE, pictureHeight = tilesY * IMAGE_SIZE;
    const int left = (_Width - pictureWidth) / 2, top = (_Height - pictureHeight) / 2;
    const int sourceX = std::max(-left, 0), sourceY = std::max(-top, 0);
    const int width = std::min(pictureWidth - sourceX, _Width), height = std::min(pictureHeight - sourceY, _Height);
    if (width > 0 && height > 0)
        DrawPicturePart(Surface, x + std::max(left, 0), y + std::max(top, 0), PICTURE_BACKGROUND, sourceX, sourceY,
                        width, height);
    GetPictureSize(PICTURE_LOGO, &tilesX, &tilesY);
    DrawPicture(Surface, x + (_Width - tilesX * IMAGE_SIZE) / 2, y + _Height / 6, PICTURE_LOGO);
    CompositeComponent::draw(Surface, x, y);
}

// ---- Game view ----------------------------------------------------------------------------------

GameView::GameView(Component* Target) : Target(Target) {
    // "Leave the game" on the keyboard, as on the control panel's Logout button.
    RegisterHotkey('Q' | keys::CTRL, Target, MAIN_ASK_LOGOUT);
    RegisterHotkey('L' | keys::CTRL, Target, MAIN_ASK_LOGOUT);
}

void GameView::draw(int Surface, int x, int y) {
    FillRect(Surface, x, y, _Width, _Height, 0, 0, 0);
    CompositeComponent::draw(Surface, x, y);
}

// ---- Main game window -------------------------------------------------------------------------------

MainWindow::MainWindow(int Width, int Height, const MainWindowCallbacks& Callbacks) : Callbacks(Callbacks) {
    showStartView();
    setSize(Width, Height);
}

MainWindow::~MainWindow() {
    RemoveHotkey('Q' | keys::CTRL);
    RemoveHotkey('L' | keys::CTRL);
}

void MainWindow::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling()) c->setSize(Width, Height);
}

void MainWindow::showStartView() {
    cancelCapture();
    if (Game != NULL) {
        RemoveHotkey('Q' | keys::CTRL);
        RemoveHotkey('L' | keys::CTRL);
        deleteChild(Game);
        Game = NULL;
    }
    if (Start == NULL) {
        Start = new StartView(this);
        addChild(Start);
    }
    Start->setSize(_Width, _Height);
}

void MainWindow::showGameView() {
    cancelCapture();
    if (Start != NULL) {
        deleteChild(Start);
        Start = NULL;
    }
    // Built anew on every entry into the game.
    if (Game != NULL) deleteChild(Game);
    Game = new GameView(this);
    addChild(Game);
    Game->setSize(_Width, _Height);
}

void MainWindow::keyPress(int code) {
    if (Game != NULL) Game->keyPress(code);
}

void MainWindow::command(int number) {
    const int state = GetConnectionState();
    switch (number) {
    // The start view's buttons count only while offline.
    case MAIN_ENTER_GAME:
        if (state == STATE_OFFLINE) PostEvent(MESSAGE_LOGIN, 0, 0);
        break;
    case MAIN_INFO:
        if (state == STATE_OFFLINE) PostEvent(24, 0, 0);
        break;
    case MAIN_OPTIONS:
        if (state == STATE_OFFLINE) PostEvent(30, 0, 0);
        break;
    case MAIN_ACCOUNT:
        if (state == STATE_OFFLINE && Callbacks.OpenDocument) Callbacks.OpenDocument(build_settings::ACCOUNT_URL);
        break;
    case MAIN_EXIT:
        if (Callbacks.ExitProgram) Callbacks.ExitProgram();
        break;
    case MAIN_CLOSE: SetInputMode(INPUT_IDLE); break;
    case MAIN_ABORT_CONNECTION:
        Disconnect(true);
        if (state == STATE_CONNECTING_GAME || state == STATE_GAME_LOGIN_SENT) {
            PostEvent(MESSAGE_WAITFORLIST, 20, 0);
            PostEvent(MESSAGE_CHARACTERLIST, 300, 0);
        }
        SetConnectionState(STATE_OFFLINE);
        SetInputMode(INPUT_IDLE);
        break;
    case MAIN_COPY_LINK:
        CopyPending();
        SetInputMode(INPUT_IDLE);
        break;
    case MAIN_LOGOUT:
        SetInputMode(INPUT_IDLE);
        SendLogout();
        break;
    case MAIN_ASK_LOGOUT:
        PostQuestion("Warning", "Are you sure you want to leave Vorna?", this, MAIN_LOGOUT, MAIN_CLOSE);
        break;
    case MAIN_CHARACTER_LIST: PostEvent(MESSAGE_CHARACTERLIST, 300, 0); break;
    default: break;
    }
}
