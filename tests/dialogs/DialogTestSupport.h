// The whole client on the headless platform: the modules, Control, the frame
// window and the interface, driven by injected platform events as a player
// would drive it. VORNA_DIALOG_PNG=<directory> writes the frames shown by
// Screenshot() for looking at them.
#pragma once

#include "app/Application.h"
#include "app/Control.h"
#include "app/Interface.h"
#include "app/MainFrame.h"
#include "config/Preferences.h"
#include "core/Status.h"
#include "graphics/Surface.h"
#include "gui/framework/Dialogs.h"
#include "gui/framework/GUI.h"
#include "gui/windows/MainWindow.h"
#include "net/Network.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

class ClientTest : public testing::Test {
  protected:
    void SetUp() override {
        platform::headless::Reset();
        for (const char* name : {"Vorna.dat", "Vorna.spr", "Vorna.pic"})
            std::filesystem::copy_file(testing_support::BinaryDir() / name, Dir.Path() / name);
        app::InitModules(0);
        // The one-time hints would open their boxes in the middle of the
        // tests' moves; the hints' own tests switch them on again.
        SetShowNewHints(false);
        InitControl();
        // A screen on which the first window opens at 600 x 450 and scale 1,
        // where the tests' pointer positions and pictures are taken.
        platform::headless::SetUsableArea(0, 0, 1024, 768);
        ASSERT_TRUE(frame::Create());
        int width = 0, height = 0;
        platform::GetClientSize(width, height);
        InstallInterfaceHooks(width, height);
        frame::FirstFrame();
    }
    void TearDown() override {
        frame::Destroy();
        app::ExitModules();
        ExitControl();
        platform::SetClockOverride({});
    }

    // ---- Input as a player gives it ----
    static void Inject(const platform::Event& e) { platform::headless::InjectEvent(e); }
    static void MoveTo(int x, int y) {
        platform::Event e;
        e.Kind = platform::EventKind::PointerMove;
        e.X = x;
        e.Y = y;
        Inject(e);
    }
    static void Button(platform::EventKind Kind, int x, int y, int Number = 1) {
        platform::Event e;
        e.Kind = Kind;
        e.X = x;
        e.Y = y;
        e.Button = Number;
        Inject(e);
    }
    static void Click(int x, int y) {
        MoveTo(x, y);
        Button(platform::EventKind::ButtonDown, x, y);
        Button(platform::EventKind::ButtonUp, x, y);
        frame::Pump();
    }
    // Ctrl and a right click: with the default (non-classic) mouse control
    // this uses the thing; a plain right click opens its menu.
    static void CtrlRightClick(int x, int y) {
        platform::Event e;
        e.Kind = platform::EventKind::KeyDown;
        e.KeyCode = platform::Key::Control;
        Inject(e);
        MoveTo(x, y);
        Button(platform::EventKind::ButtonDown, x, y, 2);
        Button(platform::EventKind::ButtonUp, x, y, 2);
        e.Kind = platform::EventKind::KeyUp;
        Inject(e);
        frame::Pump();
    }
    // Clicks the middle of a component of the tree.
    static void ClickOn(const Component* C) {
        ASSERT_NE(C, nullptr);
        int x = 0, y = 0;
        C->getAbsolutePosition(x, y);
        Click(x + C->getWidth() / 2, y + C->getHeight() / 2);
    }
    static void Type(const char* Text) {
        for (const char* p = Text; *p; ++p) {
            platform::Event e;
            e.Kind = platform::EventKind::Text;
            e.Character = static_cast<unsigned char>(*p);
            Inject(e);
        }
        frame::Pump();
    }
    static void Press(platform::Key Key) {
        platform::Event e;
        e.Kind = platform::EventKind::KeyDown;
        e.KeyCode = Key;
        Inject(e);
        e.Kind = platform::EventKind::KeyUp;
        Inject(e);
        frame::Pump();
    }
    static void PressCtrl(char Letter) {
        platform::Event e;
        e.Kind = platform::EventKind::KeyDown;
        e.KeyCode = platform::Key::Control;
        Inject(e);
        e.KeyCode = platform::Key::Character;
        e.Character = Letter;
        Inject(e);
        e.Kind = platform::EventKind::KeyUp;
        e.KeyCode = platform::Key::Control;
        Inject(e);
        frame::Pump();
    }

    // ---- State ----
    static Dialog* Modal() { return dynamic_cast<Dialog*>(GetModalWindow()); }
    static std::string ModalCaption() { return Modal() != nullptr ? Modal()->getCaption() : std::string("(none)"); }
    template <typename T>
    static T* Body() {
        return Modal() != nullptr ? dynamic_cast<T*>(Modal()->getBody()) : nullptr;
    }
    // Pumps until the condition holds; false after the time-out, which is
    // measured on the real clock (whatever clock the client runs on) and
    // only bounds a failure, so it is generous for a loaded machine.
    static bool PumpUntil(const std::function<bool()>& Condition, int TimeoutMs = 30000) {
        const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
        while (!Condition()) {
            if (std::chrono::steady_clock::now() > Deadline) return false;
            if (!frame::Pump()) return Condition();
            platform::Sleep(5);
        }
        return true;
    }

    void Screenshot(const char* Name) {
        const char* dir = std::getenv("VORNA_DIALOG_PNG");
        if (dir == nullptr) return;
        int w = 0, h = 0;
        const auto& pixels = platform::headless::LastFrame(w, h);
        platform::WritePNG(std::string(dir) + "/" + Name, pixels.data(), w, h, w);
    }

    testing_support::ScopedWorkDir Dir;
};

// A test clock moved by hand; the frame's 100 ms timer follows it.
struct ManualClock {
    static inline uint32_t Now = 1000;
    ManualClock() {
        Now = 1000;
        platform::SetClockOverride([] { return Now; });
        frame::RestartTimer();
        // The frame limiter would wait for a clock that only moves by hand.
        SetFrameSleep([](int) {});
    }
    ~ManualClock() {
        platform::SetClockOverride({});
        frame::RestartTimer();
        SetFrameSleep(nullptr);
    }
    // Advances in steps of the timer interval, pumping after each.
    static void Advance(int Milliseconds) {
        for (int t = 0; t < Milliseconds; t += frame::TIMER_INTERVAL) {
            Now += frame::TIMER_INTERVAL;
            frame::Pump();
        }
    }
};
