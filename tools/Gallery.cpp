// vorna-gallery: the dialog elements in a real window, over the start view,
// with the program's own frame, input delivery, pointer shapes and tooltips.
// It is for looking at the skin and the interface mechanics while the
// windows that use them are still being built; it talks to no server.
//
//   vorna-gallery [--own-pointer]
//
// Run it where Vorna.dat, Vorna.spr and Vorna.pic are, like the client.
// --own-pointer hides the system pointer and lets the program draw its own,
// so that screenshots show it.
#include "app/Application.h"
#include "app/MainFrame.h"
#include "config/Preferences.h"
#include "core/Status.h"
#include "gui/framework/Dialogs.h"
#include "gui/framework/GUI.h"
#include "gui/framework/SkinProperties.h"

#include <algorithm>
#include <cstring>

namespace {

// A framed panel with a grip in its lower-right corner that resizes it, the
// way side windows are resized.
class GripPanel : public CompositeComponent {
  public:
    GripPanel(int Width, int Height) {
        Inside = new MarkupText("Drag the grip\nin the corner.", false, false);
        Frame = new WindowFrame(Inside);
        Grip = new Resizer(this, true, true);
        addChild(Frame);
        addChild(Grip);
        setSize(Width, Height);
    }
    int getMinimumWidth() const override { return 120; }
    int getMinimumHeight() const override { return 50; }
    void setSize(int Width, int Height) override {
        Width = std::min(Width, MAX_WIDTH);
        Height = std::min(Height, MAX_HEIGHT);
        CompositeComponent::setSize(Width, Height);
        placeChildSized(Frame, 0, 0, 0, 0);
        placeChild(Grip, Width - Grip->getWidth() - 2, Height - Grip->getHeight() - 2);
    }

  private:
    static constexpr int MAX_WIDTH = 260, MAX_HEIGHT = 120;
    MarkupText* Inside;
    WindowFrame* Frame;
    Resizer* Grip;
};

class GalleryBody : public CompositeComponent {
  public:
    GalleryBody() {
        setSize(300, 250);
        auto* Hover = new TextButton("Hover over me", CommandTarget());
        Hover->setTooltip("Every button can carry a tooltip");
        Hover->setSize(140, Hover->getHeight());
        addChild(Hover);
        placeChild(Hover, 10, 10);
        auto* Tick = new CheckBox("A check box", true);
        addChild(Tick);
        placeChild(Tick, 160, 10);
        auto* Scale = new Slider(0, 20, 7, 5, CommandTarget());
        addChild(Scale);
        placeChildSized(Scale, 10, 45, 280, Scale->getHeight());
        auto* List = new ListBox(CommandTarget(), CommandTarget());
        List->addLine("A short line");
        List->addLine("A line far too long for this list shows whole as a tooltip");
        addChild(List);
        placeChildSized(List, 10, 75, 280, 40);
        Panel = new GripPanel(160, 60);
        addChild(Panel);
        placeChild(Panel, 10, 125);
    }

  private:
    GripPanel* Panel;
};

}  // namespace

int main(int argc, char** argv) {
    bool OwnPointer = false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--own-pointer") == 0) OwnPointer = true;
    char Name[] = "vorna-gallery";
    char* Arguments[] = {Name, nullptr};
    if (!app::StartApplication(1, Arguments)) return 1;
    if (OwnPointer) SetWindowsMousepointer(false);

    auto* Gallery = new Dialog("Element Gallery", new GalleryBody());
    Gallery->removeCancelButton();
    SetModalWindow(Gallery);
    PlaceModalWindow(true, 0, 0);
    SetInputMode(INPUT_DIALOG);

    frame::RunMessageLoop();
    app::EndApplication();
    return 0;
}
