// The menu of a line in the channel of open rule-violation requests
// (event 52): take the request, remove it, or copy its name or text.
#pragma once

#include "gui/framework/ContextMenu.h"

#include <string>

struct ReportRecord {
    std::string Name, Message;
};

// Posts event 52; the record is kept here until the menu opens.
void PostReportChannelMenu(const ReportRecord& Record);

class ReportChannelMenu : public ContextMenu {
  public:
    explicit ReportChannelMenu(const ReportRecord& Record);
    void command(int number) override;

  private:
    ReportRecord Record;
};

Component* BuildReportChannelMenu(intptr_t Data);
