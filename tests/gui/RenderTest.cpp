// Elements drawn from the real skin picture: the frame composition puts the
// root, the modal window and the tooltip on the screen surface. Setting
// VORNA_GUI_PNG=<directory> writes the frames for looking at them.
#include "GuiTestSupport.h"
#include "gui/framework/Dialogs.h"

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

class RenderTest : public GuiElementTest {
  protected:
    void Save(const char* name) {
        const char* dir = std::getenv("VORNA_GUI_PNG");
        if (dir == nullptr) return;
        int pitch = 0;
        const uint32_t* pixels = GetSurfacePixels(SCREEN_SURFACE, &pitch);
        platform::WritePNG(std::string(dir) + "/" + name, pixels, 640, 480, pitch);
    }
    // A part of the screen enlarged, for details.
    void SaveZoom(const char* name, int x0, int y0, int w, int h, int scale) {
        const char* dir = std::getenv("VORNA_GUI_PNG");
        if (dir == nullptr) return;
        std::vector<uint32_t> out(size_t(w * scale) * size_t(h * scale));
        for (int y = 0; y < h * scale; ++y)
            for (int x = 0; x < w * scale; ++x) out[size_t(y * w * scale + x)] = Pixel(x0 + x / scale, y0 + y / scale);
        platform::WritePNG(std::string(dir) + "/" + name, out.data(), w * scale, h * scale, w * scale);
    }
    static uint32_t Pixel(int x, int y) { return ReadPixel(SCREEN_SURFACE, x, y) & 0xFFFFFF; }
    static uint32_t Rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }
};

// A body of every kind of element, framed like a window.
CompositeComponent* BuildSampleBody(CommandLog& log) {
    auto* body = new CompositeComponent(1);
    body->setSize(360, 300);
    body->addChild(new Label("Account number:"));
    auto* account = new EditField(8);
    account->setSize(120, account->getHeight());
    account->setText("100001");
    body->addChild(account);
    body->placeChild(account, 120, 0);
    auto* password = new PasswordField(29);
    password->setSize(120, password->getHeight());
    password->setText("demo");
    body->addChild(password);
    body->placeChild(password, 120, 24);
    auto* markup = new MarkupText("<b>Welcome<n> to the <h>village<n>.\n<color=36>Dark red<n> and <skin=38> a grip.");
    body->addChild(markup);
    body->placeChildSized(markup, 0, 50, 240, 40);
    auto* check = new CheckBox("Show names", true);
    body->addChild(check);
    body->placeChild(check, 0, 95);
    auto* list = new ListBox(CommandTarget(&log, 1), CommandTarget(&log, 2));
    for (const char* name : {"Mira", "Tobias", "Anselm", "Brunhilde von Lichtenstein-Hohenzollern", "Kai", "Lene", "Ole"})
        list->addLine(name);
    body->addChild(list);
    body->placeChildSized(list, 0, 125, 200, 70);
    list->select(1);
    auto* slider = new HorizontalScrollBar(CommandTarget(&log, 3));
    body->addChild(slider);
    slider->setSize(200, 0);
    slider->setRange(0, 10, 3, 4);
    body->placeChild(slider, 0, 205);
    auto* progress = new ProgressBar;
    body->addChild(progress);
    body->placeChildSized(progress, 0, 225, 200, 15);
    progress->setValue(60);
    auto* ok = new TextButton("Ok", CommandTarget(&log, 4));
    body->addChild(ok);
    body->placeChild(ok, -90, -25);
    auto* cancel = new TextButton("Cancel", CommandTarget(&log, 5));
    body->addChild(cancel);
    body->placeChild(cancel, -180, -25);
    auto* icon = new IconButton(94, 95, 60, CommandTarget(&log, 6), "Help");
    body->addChild(icon);
    body->placeChild(icon, 220, 125);
    return body;
}

TEST_F(RenderTest, SampleWindowWithTooltip) {
    CommandLog log;
    CompositeComponent root(1);
    root.setSize(640, 480);
    // A plain background: the root tiles the background texture.
    struct Background : CompositeComponent {
        Background() : CompositeComponent(1) {
            setSize(640, 480);
            setDrawingEntry(0, 7, 0, 0, 640, 480);
        }
    };
    auto* background = new Background;
    root.addChild(background);
    SetRootComponent(&root);

    CommandLog modalLog;
    auto* frame = new WindowFrame(BuildSampleBody(modalLog));
    frame->setSize(380, 320);
    frame->setPosition(130, 80);
    SetModalWindow(frame);
    SetTooltipText("Brunhilde von Lichtenstein-Hohenzollern");
    SetTooltipPoint(630, 10);  // pushed inside the screen

    FillRect(SCREEN_SURFACE, 0, 0, 640, 480, 255, 0, 255);
    DrawFrameComposition(SCREEN_SURFACE, 640, 480, false);
    Save("sample_window.png");
    SaveZoom("tooltip_zoom.png", 390, 0, 250, 24, 4);
    SaveZoom("bars_zoom.png", 125, 270, 220, 60, 4);

    // Nothing of the magenta fill is left: the root covers the screen.
    std::set<uint32_t> colours;
    for (int y = 0; y < 480; y += 3)
        for (int x = 0; x < 640; x += 3) colours.insert(Pixel(x, y));
    EXPECT_EQ(colours.count(Rgb(255, 0, 255)), 0u);
    EXPECT_GT(colours.size(), 20u);
    // The edit field's background shows inside its frame.
    const auto& E = SkinProperties().EditField;
    int fx = 130 + 2 + 120 + 1, fy = 80 + 2 + 1;
    EXPECT_EQ(Pixel(fx + 1, fy + 1), Rgb(E.Background.Red, E.Background.Green, E.Background.Blue));
    // The tooltip keeps a pixel from the right and top edges.
    const auto& T = SkinProperties().Tooltip;
    int width = GetTextWidth(T.Font, "Brunhilde von Lichtenstein-Hohenzollern") + 2 * T.Margin;
    EXPECT_EQ(Pixel(640 - 1 - width, 1), Rgb(T.Outline.Red, T.Outline.Green, T.Outline.Blue));
    EXPECT_NE(Pixel(640 - 1, 1), Rgb(T.Outline.Red, T.Outline.Green, T.Outline.Blue));
    SetRootComponent(nullptr);
}

// A leaf that counts the presses that reach it.
class PressCounter : public Component {
  public:
    bool leftButtonDown(int, int, int) override {
        ++Presses;
        return true;
    }
    int Presses = 0;
};

TEST_F(RenderTest, AWindowOffTheSurfaceIsCutAndAWindowTooLargeKeepsItsButtonsOnIt) {
    // The same dialog drawn inside and then partly off the top left corner:
    // the part on the surface is the same picture, and nothing is reported.
    Dialog small("Caption", new Label("Two lines\nof text"));
    const int w = small.getWidth(), h = small.getHeight();
    FillRect(SCREEN_SURFACE, 0, 0, 640, 480, 255, 0, 255);
    small.draw(SCREEN_SURFACE, 200, 150);
    auto Inside = [&](int x, int y) { return ReadPixel(SCREEN_SURFACE, 200 + x, 150 + y) & 0xFFFFFF; };
    std::vector<uint32_t> whole;
    for (int y = 0; y < h; y += 3)
        for (int x = 0; x < w; x += 3) whole.push_back(Inside(x, y));
    FillRect(SCREEN_SURFACE, 0, 0, 640, 480, 255, 0, 255);
    small.draw(SCREEN_SURFACE, -30, -20);
    small.draw(SCREEN_SURFACE, 640 - w + 30, 480 - h + 20);  // and off the bottom right
    size_t i = 0;
    for (int y = 0; y < h; y += 3) {
        for (int x = 0; x < w; x += 3, ++i) {
            if (x >= 30 && y >= 20) {
                ASSERT_EQ(Pixel(x - 30, y - 20), whole[i]) << x << "," << y;
            }
            if (x < w - 30 && y < h - 20) {
                ASSERT_EQ(Pixel(640 - w + 30 + x, 480 - h + 20 + y), whole[i]) << x << "," << y;
            }
        }
    }

    // A body larger than the screen: the frame takes the screen's size, the
    // body shows its top left part, and the buttons sit on the screen,
    // clickable, with the body unreachable under them.
    CompositeComponent root(1);
    root.setSize(640, 480);
    SetRootComponent(&root);
    auto* body = new CompositeComponent;
    auto* counter = new PressCounter;
    body->addChild(counter);
    counter->setSize(700, 600);
    body->Component::setSize(700, 600);
    auto* large = new Dialog("Large", body);
    SetModalWindow(large);
    large->setPosition(-50, 300);
    FillRect(SCREEN_SURFACE, 0, 0, 640, 480, 255, 0, 255);
    DrawFrameComposition(SCREEN_SURFACE, 640, 480, false);
    Save("cut_dialog.png");
    EXPECT_TRUE(large->isCut());
    EXPECT_EQ(large->getX(), 0);
    EXPECT_EQ(large->getY(), 0);
    EXPECT_EQ(large->getWidth(), 640);
    EXPECT_EQ(large->getHeight(), 480);
    for (const TextButton* B : {large->getDefaultButton(), large->getCancelButton()}) {
        ASSERT_NE(B, nullptr);
        EXPECT_GE(B->getX(), 0);
        EXPECT_LE(B->getX() + B->getWidth(), 640);
        EXPECT_LE(B->getY() + B->getHeight(), 480);
    }
    // The frame's bottom right corner is drawn at the screen's corner.
    const auto& D = SkinProperties().Dialog;
    const SkinRect& corner = Skins[D.BottomRight];
    FillRect(SCREEN_SURFACE, 0, 0, 640, 480, 255, 0, 255);
    DrawSkinTiled(SCREEN_SURFACE, 0, 0, corner.width, corner.height, D.BottomRight, 0, 0);
    const uint32_t cornerPixel = Pixel(corner.width - 1, corner.height - 1);
    DrawFrameComposition(SCREEN_SURFACE, 640, 480, false);
    EXPECT_EQ(Pixel(639, 479), cornerPixel);

    SetInputMode(INPUT_DIALOG);
    const TextButton* Ok = large->getDefaultButton();
    const int bx = Ok->getX() + Ok->getWidth() / 2, by = Ok->getY() + Ok->getHeight() / 2;
    // Beside the buttons, on the cover over the body: nothing reaches it.
    large->leftButtonDown(20, 480 - 10, 0);
    large->leftButtonUp(20, 480 - 10, 0);
    EXPECT_EQ(counter->Presses, 0);
    large->leftButtonDown(40, 60, 0);
    large->leftButtonUp(40, 60, 0);
    EXPECT_EQ(counter->Presses, 1);
    large->leftButtonDown(bx, by, 0);
    large->leftButtonUp(bx, by, 0);
    EXPECT_EQ(counter->Presses, 1);
    EXPECT_EQ(GetInputMode(), INPUT_IDLE);  // "Ok" closed it

    // Room enough again: the whole dialog.
    large->keepInside(1000, 800);
    EXPECT_FALSE(large->isCut());
    EXPECT_EQ(large->getWidth(), 700 + D.MarginLeft + D.MarginRight);
    SetRootComponent(nullptr);
}

TEST_F(RenderTest, PressedButtonShowsItsDownFace) {
    CommandLog log;
    CompositeComponent root(0);
    root.setSize(640, 480);
    auto* b = new TextButton("Enter Game", CommandTarget(&log, 1));
    root.addChild(b);
    root.placeChild(b, 10, 10);
    FillRect(SCREEN_SURFACE, 0, 0, 640, 480, 0, 0, 0);
    root.draw(SCREEN_SURFACE, 0, 0);
    uint32_t up = Pixel(12, 12);
    root.leftButtonDown(20, 20, 0);
    root.draw(SCREEN_SURFACE, 0, 0);
    Save("pressed_button.png");
    EXPECT_NE(Pixel(12, 12), up);
    root.leftButtonUp(20, 20, 0);
    root.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Pixel(12, 12), up);
    EXPECT_EQ(log.Commands.size(), 1u);
}

TEST_F(RenderTest, WideButtonFaceShowsTheSkinEdgesOnlyAtItsEnds) {
    CommandLog log;
    const int face = SkinProperties().Buttons.TextUp, S = Skins[face].width, H = Skins[face].height;
    auto column = [](int x, int y0, int height) {
        std::vector<uint32_t> c;
        for (int y = y0; y < y0 + height; ++y) c.push_back(Pixel(x, y));
        return c;
    };
    FillRect(SCREEN_SURFACE, 0, 0, 640, 480, 0, 0, 0);
    Button plain(face, face, CommandTarget(&log, 1));
    plain.draw(SCREEN_SURFACE, 10, 10);
    const auto leftEdge = column(10, 10, H), rightEdge = column(10 + S - 1, 10, H);
    // Wider than two skins: tiling would start the skin again, left edge and all, at S and 2S.
    for (int width : {S + 20, 2 * S + 30}) {
        Button wide(face, face, CommandTarget(&log, 1));
        wide.setSize(width, H);
        FillRect(SCREEN_SURFACE, 0, 0, 640, 480, 0, 0, 0);
        wide.draw(SCREEN_SURFACE, 10, 50);
        EXPECT_EQ(column(10, 50, H), leftEdge) << width;
        EXPECT_EQ(column(10 + width - 1, 50, H), rightEdge) << width;
        for (int x = 1; x < width - 1; ++x) {
            const auto c = column(10 + x, 50, H);
            EXPECT_NE(c, leftEdge) << width << " at " << x;
            EXPECT_NE(c, rightEdge) << width << " at " << x;
        }
    }
    EXPECT_TRUE(log.Commands.empty());
}

}  // namespace
