// The console's two dialogs; RegisterConsoleDialogs (framework/Dialogs.h)
// enters them and the channel events in the table of builders.
#pragma once

class Dialog;

// The answer to the channel list: the offered channels and a name field for
// a private conversation.
Dialog* ChannelChoiceDialog();

// The question the player asks a counsellor (event CONSOLE_EVENT_DIALOG_REPORT);
// its answer posts CONSOLE_EVENT_REPORT with the text.
Dialog* ReportDialog();
