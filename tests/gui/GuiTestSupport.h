// Set-up shared by the element tests: the generated data files (fonts and the
// skin picture), the drawing surfaces, the skin table and the GUI module.
#pragma once

#include "core/Status.h"
#include "core/sysinc.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/DialogElements.h"
#include "gui/GUI.h"
#include "gui/SkinProperties.h"
#include "gui/Skins.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
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
