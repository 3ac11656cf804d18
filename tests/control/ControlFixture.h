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
#include "support/ClientModules.h"
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
        SetLastMotD(0);
        loadObjectTypes();
        testing_support::ClientModules Modules;
        Modules.Preferences = (dir.Path() / "Vorna.cfg").string();
        Modules.ReadPreferences = false;
        Modules.CreatureCallback = false;
        Modules.GameMessages = false;
        addHooks(Modules.Hooks);
        testing_support::StartClientModules(Modules);
    }
    void TearDown() override {
        testing_support::StopClientModules();
        UnloadObjects();
        platform::SetClockOverride({});
    }
    // Vorna.dat for the tests that need object types; none by default.
    virtual void loadObjectTypes() {}
    // Beyond drawing nothing, the hub runs without hooks unless the test adds them.
    virtual void addHooks(ControlHooks&) {}

    static inline uint32_t Now = 1000;  // the clock, in milliseconds
    testing_support::ScopedWorkDir dir;
};
