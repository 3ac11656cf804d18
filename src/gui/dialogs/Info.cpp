// The information box and the builder of its event.
#include "gui/dialogs/Info.h"

#include "core/BuildSettings.h"

std::string InfoText() {
    return std::string("Vorna - graphical Multi-User-Dungeon\nVersion ") + build_settings::VERSION +
           "\n\nA game of the village by the lake and the lands\naround it, played together over the network.";
}

namespace {
Dialog* BuildInfo(DialogEvent&) {
    auto* Body = new PageBody;
    Body->addRow(new Label(InfoText().c_str()));
    Body->addRow(new LinkRow("Visit the Vorna web site:", "Web Site", build_settings::HOME_URL),
                 0, SkinProperties().Pages.SectionGap);
    auto* D = new Dialog("Info", Body);
    D->removeCancelButton();
    D->setEscapeTarget(CommandTarget(D, DIALOG_CANCEL));
    return D;
}
}  // namespace

void RegisterInfoDialog() { RegisterDialogBuilder(INFO_EVENT, BuildInfo); }
