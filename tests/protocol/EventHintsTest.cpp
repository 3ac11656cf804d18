// The event-hint queue: each hint once per installation, first in first out,
// the shown flags kept in the preferences file.
#include "config/Preferences.h"
#include "net/EventHints.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

class EventHints : public testing::Test {
  protected:
    void SetUp() override {
        SetPreferencesPath((Dir.Path() / "Vorna.cfg").string());
        LoadPreferences();
        ResetPendingHints();
    }
    void TearDown() override { ResetPendingHints(); }
    testing_support::ScopedWorkDir Dir;
};

TEST_F(EventHints, EachHintIsQueuedOnceAndTakenInOrder) {
    triggerEventHint(9);
    triggerEventHint(3);
    triggerEventHint(9);
    triggerEventHint(14);
    EXPECT_EQ(GetNumberOfPendingHints(), 3);
    EXPECT_EQ(peekPendingHint(), 9);
    EXPECT_EQ(popPendingHint(), 9);
    EXPECT_EQ(popPendingHint(), 3);
    EXPECT_EQ(popPendingHint(), 14);
    EXPECT_EQ(popPendingHint(), 0);
    EXPECT_EQ(peekPendingHint(), 0);
    triggerEventHint(3);  // shown already
    EXPECT_EQ(GetNumberOfPendingHints(), 0);
}

TEST_F(EventHints, NumbersOutsideOneToFourteenAreAssertions) {
    EXPECT_ASSERTION(triggerEventHint(0), "In(Number,1,EVENTHELPS)");
    EXPECT_ASSERTION(triggerEventHint(15), "In(Number,1,EVENTHELPS)");
    EXPECT_EQ(GetNumberOfPendingHints(), 0);
}

TEST_F(EventHints, ShownFlagsSurviveTheProgramInThePreferences) {
    triggerEventHint(2);
    triggerEventHint(11);
    SavePreferences();
    EXPECT_NE(testing_support::ReadFile("Vorna.cfg").find("KnownHints = {2,11}"), std::string::npos)
        << testing_support::ReadFile("Vorna.cfg");
    ResetPendingHints();
    LoadPreferences();
    triggerEventHint(11);
    EXPECT_EQ(GetNumberOfPendingHints(), 0);
    triggerEventHint(12);
    EXPECT_EQ(popPendingHint(), 12);
}

TEST_F(EventHints, GoingBelowTheSurfaceRaisesTheUndergroundHint) {
    triggerByPosition(100, 100, 7);
    EXPECT_EQ(GetNumberOfPendingHints(), 0);
    triggerByPosition(100, 100, 8);
    triggerByPosition(100, 100, 12);
    EXPECT_EQ(popPendingHint(), HINT_UNDERGROUND);
    EXPECT_EQ(GetNumberOfPendingHints(), 0);
}

}  // namespace
