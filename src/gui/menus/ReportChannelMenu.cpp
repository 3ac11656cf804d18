#include "gui/menus/ReportChannelMenu.h"

#include "core/Status.h"
#include "core/sysinc.h"
#include "gui/console/Console.h"
#include "net/Commands.h"

#include <cstdio>

namespace {
ReportRecord Pending;
intptr_t PendingNumber = 0;

std::string WithName(const char* Format, const std::string& Name) {
    char Text[80];
    std::snprintf(Text, sizeof Text, Format, Name.c_str());
    return Text;
}
}  // namespace

void PostReportChannelMenu(const ReportRecord& Record) {
    Pending = Record;
    ++PendingNumber;
    PostEvent(MESSAGE_REPORT_CHANNEL_MENU, PendingNumber, 0);
}

ReportChannelMenu::ReportChannelMenu(const ReportRecord& _Record) : Record(_Record) {
    addEntry(MENU_PROCESS_REPORT, WithName("Process %s", Record.Name).c_str());
    addEntry(MENU_REMOVE_REPORT, WithName("Remove %s", Record.Name).c_str());
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
    if (Data == 0 || Data != PendingNumber || Pending.Name.empty()) return NULL;
    return new ReportChannelMenu(Pending);
}
