// Two characters facing each other on the reference server, each saying
// something: Mira through the client, Kestrel through a second connection
// that speaks the protocol by hand.
#include "PlaySupport.h"
#include "WirePlayer.h"

#include "core/TalkModes.h"
#include "graphics/MapView.h"
#include "graphics/Talk.h"
#include "graphics/graphics.h"
#include "net/Commands.h"

#include <cstring>
#include <vector>

namespace {

class TalkTest : public PlayTest {
  protected:
    // The number of the shown box whose first line is Header, 0 if none:
    // the chickens nearby cluck in boxes of their own at any moment, so the
    // boxes are told apart by what they say, not by how many there are.
    static int BoxOf(const char* Header) {
        for (int n = 1; n <= GetNumberOfTalkboxes(); ++n) {
            const char* First = GetTalkbox(n).Line[0];
            if (First != nullptr && std::strcmp(First, Header) == 0) return n;
        }
        return 0;
    }
    static bool Placed(const char* Header) { return BoxOf(Header) > 0 && GetTalkbox(BoxOf(Header)).Placed; }
};

TEST_F(TalkTest, TwoCharactersFacingEachOtherSpeakInBoxesThatDoNotOverlap) {
    SetTimeOfDay(0.5);
    ASSERT_TRUE(PlaceCharacter("Kestrel", 1007, 1001, 7));
    ASSERT_TRUE(PlaceCharacter("Mira", 1005, 1001, 7));
    ASSERT_TRUE(StartServer()) << Server->Log;
    WirePlayer Kestrel(GamePort(), 100002, "Kestrel");
    ASSERT_TRUE(Kestrel.Connected);
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));
    ASSERT_TRUE(UseFullSizeMap());
    // The boxes run out on the client's clock: held, they stay until the
    // test has looked at them, however slowly a loaded machine gets there.
    HeldClock Clock;

    // Face to face: Mira turns east by Ctrl+Right, Kestrel west.
    platform::Event e;
    e.Kind = platform::EventKind::KeyDown;
    e.KeyCode = platform::Key::Control;
    Inject(e);
    Press(platform::Key::Right);
    e.Kind = platform::EventKind::KeyUp;
    Inject(e);
    // Mira speaks first. Kestrel waits until her words are back: the two
    // connections race to the server, which answers in the order it reads.
    SendTalk(TALK_SAY, nullptr, 0, "Well met, Kestrel! Fine weather for the road to the lake.");
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return BoxOf("Mira says:") > 0;
    }));
    Kestrel.Turn(3);
    Kestrel.Say("Greetings, Mira.");
    // Each box is placed when the frame lays the boxes out.
    ASSERT_TRUE(PumpUntil([&] {
        Kestrel.Drain();
        return Placed("Mira says:") && Placed("Kestrel says:");
    }));
    HeldClock::Advance(300);
    Kestrel.Drain();
    Screenshot("two-characters-talking.png");

    const Creature* Me = FindCreature(GetPlayerID());
    ASSERT_NE(Me, nullptr);
    EXPECT_EQ(Me->Direction, 1);
    bool SawKestrel = false;
    for (int i = 0; i < CREATURES; ++i) {
        const Creature* C = GetCreatureRecord(i);
        if (C->ID != 0 && std::string(C->Name) == "Kestrel") {
            SawKestrel = true;
            EXPECT_EQ(C->Direction, 3);
            EXPECT_EQ(C->RealX, 1007);
        }
    }
    EXPECT_TRUE(SawKestrel);

    // Both boxes are placed over their speakers and do not overlap; the
    // boxes are numbered from the oldest.
    const int First = BoxOf("Mira says:"), Second = BoxOf("Kestrel says:");
    ASSERT_GT(First, 0);
    ASSERT_GT(Second, First);
    const TalkboxInfo A = GetTalkbox(First), B = GetTalkbox(Second);
    ASSERT_TRUE(A.Placed && B.Placed);
    auto Left = [](const TalkboxInfo& T) {
        return T.Alignment == CENTER_ALIGN ? T.X - T.Width / 2 : T.Alignment == RIGHT_ALIGN ? T.X - T.Width : T.X;
    };
    const bool ApartX = Left(A) + A.Width <= Left(B) || Left(B) + B.Width <= Left(A);
    const bool ApartY = A.Top + A.Height <= B.Top || B.Top + B.Height <= A.Top;
    EXPECT_TRUE(ApartX || ApartY) << Left(A) << "," << A.Top << " " << A.Width << "x" << A.Height << " / " << Left(B)
                                  << "," << B.Top << " " << B.Width << "x" << B.Height;
    // Mira's words wrap before the last blank that fits.
    ASSERT_EQ(A.NumberOfLines, 3);
    EXPECT_STREQ(A.Line[1], "Well met, Kestrel! Fine weather for the");
    EXPECT_STREQ(A.Line[2], "road to the lake.");
    ASSERT_EQ(B.NumberOfLines, 2);
    EXPECT_STREQ(B.Line[1], "Greetings, Mira.");
}

}  // namespace
