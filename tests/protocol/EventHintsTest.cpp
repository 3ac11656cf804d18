// The event-hint queue: each hint once per installation, first in first out,
// the shown flags kept in the preferences file.
#include "config/Preferences.h"
#include "gui/help/Help.h"
#include "gui/help/EventHints.h"
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

TEST_F(EventHints, PeopleAndPlacesComeFromTheWorldsFileOrTheDemoWorld) {
    // No file: the demo world's people and places.
    EXPECT_EQ(LoadHintTriggers((Dir.Path() / "Hints.cfg").string().c_str()), "");
    triggerByNpcName("Chicken");
    triggerByPosition(1014, 1005, 8);  // under the post office, not in it
    EXPECT_EQ(popPendingHint(), HINT_UNDERGROUND);
    triggerByNpcName("bertram");  // names as the server writes them, any case
    triggerByPosition(1014, 1005, 7);
    triggerByPosition(999, 1001, 7);
    EXPECT_EQ(popPendingHint(), 5);
    EXPECT_EQ(popPendingHint(), 12);
    EXPECT_EQ(popPendingHint(), 3);
    EXPECT_STREQ(GetHintNpcName(4), "Master Corvin");

    // Another world's file replaces them all.
    testing_support::WriteFile("Hints.cfg",
                               "# elsewhere\nNpc = (4,\"Sage Ilse\")\nNpc = (2,\"Tom\")\n"
                               "Place = (11,10,20,30,40,6)\n");
    EXPECT_EQ(LoadHintTriggers("Hints.cfg"), "");
    EXPECT_EQ(GetNumberOfHintNpcs(), 2);
    EXPECT_EQ(GetNumberOfHintPlaces(), 1);
    EXPECT_STREQ(GetHintNpcName(4), "Sage Ilse");
    EXPECT_STREQ(GetHintNpcName(5), "");
    triggerByNpcName("Bertram");
    triggerByPosition(30, 40, 7);
    EXPECT_EQ(GetNumberOfPendingHints(), 0);
    triggerByPosition(30, 40, 6);
    triggerByNpcName("Tom");
    EXPECT_EQ(popPendingHint(), 11);
    EXPECT_EQ(popPendingHint(), 2);

    // A hint that no person or place raises, or a broken line: the demo
    // world's triggers stay, and the error names the line.
    testing_support::WriteFile("Hints.cfg", "Npc = (2,\"Tom\")\nNpc = (7,\"Ann\")\n");
    EXPECT_NE(LoadHintTriggers("Hints.cfg").find("line 2"), std::string::npos);
    EXPECT_STREQ(GetHintNpcName(2), "Haldor");
    testing_support::WriteFile("Hints.cfg", "Place = (3,1,2,3)\n");
    EXPECT_NE(LoadHintTriggers("Hints.cfg"), "");
    EXPECT_EQ(GetNumberOfHintPlaces(), 3);

    // Switched off, a hint is not shown, and it does not come up as new
    // when hints are switched on again and its event comes again.
    SetShowNewHints(false);
    triggerEventHint(9);
    EXPECT_EQ(GetNumberOfPendingHints(), 0);
    EXPECT_TRUE(IsKnownHint(9));
    SetShowNewHints(true);
    triggerEventHint(9);
    EXPECT_EQ(GetNumberOfPendingHints(), 0);

    // A hint about a person names the one met, in its title and its text,
    // whichever of the world's names for it that was.
    testing_support::WriteFile("Hints.cfg", "Npc = (2,\"Tom\")\nNpc = (4,\"Sage Ilse\")\nNpc = (4,\"Brother Anselm\")\n");
    EXPECT_EQ(LoadHintTriggers("Hints.cfg"), "");
    ClearKnownHints();
    EXPECT_STREQ(eventHintTitle(4), "Sage Ilse");  // nobody met yet: the first name
    triggerByNpcName("brother anselm");
    EXPECT_EQ(popPendingHint(), 4);
    EXPECT_STREQ(eventHintTitle(4), "Brother Anselm");
    const std::string Text = eventHintText(4);
    EXPECT_EQ(Text.rfind("Brother Anselm teaches", 0), 0u) << Text;
    EXPECT_EQ(Text.find("Corvin"), std::string::npos) << Text;
    EXPECT_EQ(Text.find('%'), std::string::npos) << Text;
    triggerByNpcName("Tom");
    EXPECT_STREQ(eventHintTitle(popPendingHint()), "Tom");
    EXPECT_EQ(std::string(eventHintText(2)).find("Haldor"), std::string::npos);
    SetDefaultHintTriggers();
}

}  // namespace
