// The menu of a console tab (event 51): inviting to and excluding from the
// player's own channel, closing the tab, its server messages, and saving or
// clearing its text.
#pragma once

#include "gui/framework/ContextMenu.h"

class TextBuffer;

// Posts event 51 for the buffer behind a tab.
void PostConsoleChannelMenu(TextBuffer* Buffer);

class ConsoleChannelMenu : public ContextMenu {
  public:
    explicit ConsoleChannelMenu(TextBuffer* Buffer);
    void command(int number) override;

  private:
    TextBuffer* Buffer;
};

// The builder of event 51: NULL when the tab has closed since the click.
Component* BuildConsoleChannelMenu(intptr_t Data);
