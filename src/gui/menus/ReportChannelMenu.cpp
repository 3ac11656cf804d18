#include "gui/menus/ReportChannelMenu.h"

#include "core/Status.h"
#include "core/sysinc.h"
#include "gui/console/Console.h"
#include "gui/framework/Dialogs.h"
#include "net/Commands.h"

#include <cstdio>

namespace {
PendingRecord<ReportRecord> Pending;
}  // namespace

void PostReportChannelMenu(const ReportRecord& Record) { Pending.post(MESSAGE_REPORT_CHANNEL_MENU, Record); }

ReportChannelMenu::ReportChannelMenu(const ReportRecord& _Record) : Record(_Record) {
    addEntry(MENU_PROCESS_REPORT, withName("Process %s", Record.Name).c_str());
    addEntry(MENU_REMOVE_REPORT, withName("Remove %s", Record.Name).c_str());
    addSeparator();
    addEntry(MENU_COPY_NAME, "Copy Name");
    addEntry(MENU_COPY_MESSAGE, "Copy Message");
}

void ReportChannelMenu::command(int number) {
    switch (number) {
    case MENU_PROCESS_REPORT: ProcessRequest(Record.Name.c_str()); break;
    case MENU_REMOVE_REPORT: SendCloseRequest(Record.Name.c_str()); break;
    case MENU_COPY_NAME: SetClipboardText(Record.Name.c_str()); break;
    case MENU_COPY_MESSAGE: SetClipboardText(Record.Message.c_str()); break;
    default: ContextMenu::command(number); break;
    }
}

Component* BuildReportChannelMenu(intptr_t Data) {
    const ReportRecord* R = Pending.take(Data);
    if (R == NULL || R->Name.empty()) return NULL;
    return new ReportChannelMenu(*R);
}
