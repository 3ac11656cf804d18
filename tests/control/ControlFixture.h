// The control hub on its modules, brought up in the program's order, with a
// clock moved by hand and the preferences in a scratch folder. A test class
// adds its own hooks (and, where it needs them, object types) on top.
#pragma once

#include "app/Control.h"
#include "config/Preferences.h"
#include "core/Status.h"
#include "core/sysinc.h"
#include "net/Communication.h"
#include "net/Network.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"
#include "world/Creatures.h"
#include "world/Inventory.h"
#include "world/Map.h"
#include "world/Objects.h"

#include <gtest/gtest.h>

class ControlFixture : public testing::Test {
  protected:
    void SetUp() override {
        Now = 1000;
        platform::SetClockOverride([] { return Now; });
        SetPreferencesPath((dir.Path() / "Vorna.cfg").string());
        SetLastMotD(0);
        InitSysinc();
        loadObjectTypes();
        InitMap(nullptr);
        InitInventory();
        InitCreatures();
        InitStatus(0, ControlLinkWarning);
        InitNetwork(ControlConnectHandler, ControlReceiveHandler, ControlCloseHandler);
        InitCommunication();
        InitControl();
        ControlHooks hooks;
        hooks.DrawFrame = [] {};
        addHooks(hooks);
        SetControlHooks(hooks);
    }
    void TearDown() override {
        ExitControl();
        ExitCommunication();
        ExitNetwork();
        ExitStatus();
        ExitCreatures();
        ExitInventory();
        ExitMap();
        UnloadObjects();
        ExitSysinc();
        platform::SetClockOverride({});
    }
    // Called between the clipboard buffer and the map, where the program
    // loads Vorna.dat; none by default.
    virtual void loadObjectTypes() {}
    // Beyond drawing nothing, the hub runs without hooks unless the test adds them.
    virtual void addHooks(ControlHooks&) {}

    static inline uint32_t Now = 1000;  // the clock, in milliseconds
    testing_support::ScopedWorkDir dir;
};
