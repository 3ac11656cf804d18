// Set-up shared by the element tests: the generated data files (fonts and the
// skin picture), the drawing surfaces, the skin table and the GUI module.
#pragma once

#include "core/Status.h"
#include "core/sysinc.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/framework/DialogElements.h"
#include "gui/framework/GUI.h"
#include "gui/framework/SkinProperties.h"
#include "gui/framework/Skins.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

class GuiElementTest : public testing::Test {
  protected:
    void SetUp() override {
        platform::headless::Reset();
        for (const char* name : {"Vorna.spr", "Vorna.pic"})
            std::filesystem::copy_file(testing_support::BinaryDir() / name, Dir.Path() / name);
        platform::CreateWindow("test", -1, -1, 640, 480, false);
        SetSurfaceMemoryBudgets(SIZE_MAX, SIZE_MAX);
        InitSurface();
        CreateSurfaces(WINDOWED_MODE, NULL);
        InitGraphics(MEMORY_CACHE_BYTES);
        InitSkins();
        InitSysinc();
        InitStatus(0, [] { CopyPending(); });
        InitGUI();
    }
    void TearDown() override {
        ExitGUI();
        ExitStatus();
        ExitSysinc();
        ExitSkins();
        ExitGraphics();
        ExitSurface();
        platform::SetClockOverride({});
    }
    testing_support::ScopedWorkDir Dir;
};

// A component that counts the commands sent to it.
class CommandLog : public Component {
  public:
    void command(int number) override { Commands.push_back(number); }
    std::vector<int> Commands;
};

// Whether a laid-out marked-up text shows the whole of its source: every
// piece lies whole inside the text's box, none is cut, and together they hold
// every character of the source but its tags and blanks.
inline testing::AssertionResult ShowsWholeText(const MarkupText& Text) {
    const std::string& S = Text.getText();
    std::string Source, Shown;
    for (size_t i = 0; i < S.size();) {
        MarkupTag Tag;
        if (S[i] == '<' && ParseMarkupTag(S.c_str() + i, Tag)) {
            i += size_t(Tag.Length);
            continue;
        }
        if (!std::isspace(static_cast<unsigned char>(S[i]))) Source += S[i];
        ++i;
    }
    for (const Component* c = Text.getFirstChild(); c != nullptr; c = c->getNextSibling()) {
        if (c->getX() < 0 || c->getY() < 0 || c->getX() + c->getWidth() > Text.getWidth() ||
            c->getY() + c->getHeight() > Text.getHeight())
            return testing::AssertionFailure() << "a piece at " << c->getX() << "," << c->getY() << " lies outside "
                                               << Text.getWidth() << "x" << Text.getHeight();
        const auto* L = dynamic_cast<const Label*>(c);
        if (L == nullptr) continue;
        if (L->getHeight() < L->getLines() * GetFontLineHeight(L->getFont()) ||
            L->getWidth() < GetTextWidth(L->getFont(), L->getText().c_str()))
            return testing::AssertionFailure() << "\"" << L->getText() << "\" is cut";
        for (char ch : L->getText())
            if (!std::isspace(static_cast<unsigned char>(ch))) Shown += ch;
    }
    if (Shown != Source) {
        size_t i = 0;
        while (i < Shown.size() && i < Source.size() && Shown[i] == Source[i]) ++i;
        return testing::AssertionFailure() << "the text differs from \"" << Source.substr(i, 40) << "\" on; shown: \""
                                           << Shown.substr(i, 40) << "\"";
    }
    return testing::AssertionSuccess();
}
