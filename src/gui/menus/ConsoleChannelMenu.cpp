#include "gui/menus/ConsoleChannelMenu.h"

#include "core/Assert.h"
#include "core/Status.h"
#include "gui/console/Console.h"

void PostConsoleChannelMenu(TextBuffer* Buffer) {
    PostEvent(MESSAGE_CONSOLE_CHANNEL_MENU, reinterpret_cast<intptr_t>(Buffer), 0);
}

ConsoleChannelMenu::ConsoleChannelMenu(TextBuffer* _Buffer) : Buffer(_Buffer) {
    ASSERT(Buffer!=NULL);
    // Every tab but the default one may be closed.
    if (GetTabOfBuffer(Buffer) > 0) {
        if (Buffer->getKind() == BufferKind::Channel && GetOwnChannel() != -1 &&
            Buffer->getChannelID() == GetOwnChannel()) {
            addEntry(MENU_INVITE_PRIVATE, "Invite player");
            addEntry(MENU_EXCLUDE_PRIVATE, "Exclude player");
            addSeparator();
        }
        addEntry(MENU_CLOSE_CHANNEL, "Close");
        addEntry(MENU_SERVER_MESSAGES, Buffer->receivesServerMessages() ? "Hide server messages" : "Show server messages");
        addSeparator();
    }
    addEntry(MENU_SAVE_WINDOW, "Save Window");
    if (Buffer->getLines() > 0) addEntry(MENU_CLEAR_WINDOW, "Clear Window");
}

void ConsoleChannelMenu::command(int number) {
    // A tab closed by the server while the menu was open takes no action.
    const int Tab = GetTabOfBuffer(Buffer);
    switch (number) {
    case MENU_INVITE_PRIVATE: PostNameEvent(MESSAGE_INVITE_PRIVATE, ""); break;
    case MENU_EXCLUDE_PRIVATE: PostNameEvent(MESSAGE_EXCLUDE_PRIVATE, ""); break;
    case MENU_CLOSE_CHANNEL:
        if (Tab <= 0) break;
        SelectTab(Tab);
        CloseSelectedTab();
        break;
    case MENU_SERVER_MESSAGES:
        if (Tab > 0) Buffer->setServerMessages(!Buffer->receivesServerMessages());
        break;
    case MENU_SAVE_WINDOW:
        if (Tab < 0) break;
        SelectTab(Tab);
        SaveSelectedChannel();
        break;
    case MENU_CLEAR_WINDOW:
        if (Tab >= 0) ClearTabText(Tab);
        break;
    default: ContextMenu::command(number); break;
    }
}

Component* BuildConsoleChannelMenu(intptr_t Data) {
    TextBuffer* B = reinterpret_cast<TextBuffer*>(Data);
    ASSERT(B!=NULL);
    if (B == NULL || GetTabOfBuffer(B) < 0) return NULL;
    return new ConsoleChannelMenu(B);
}
