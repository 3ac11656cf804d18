// "Move Objects": asking how much of a pile to move.
#include "DialogTestSupport.h"

#include "world/TypeNumbers.h"

namespace {

using MoveObjectsTest = ClientTest;

MoveRecord CoinsToTheNextField(int Count) {
    MoveRecord Move;
    Move.From = MapLocation(1000, 1001, 7);
    Move.Type = TYPE_GOLD_COIN;
    Move.Stack = 1;
    Move.Data = Count;
    Move.x = 1001, Move.y = 1001, Move.z = 7;
    return Move;
}

TEST_F(MoveObjectsTest, TheSliderStartsAtTheWholePileAndTheArrowsChooseLess) {
    PostMoveObjects(CoinsToTheNextField(5));
    frame::Pump();
    ASSERT_EQ(ModalCaption(), "Move Objects");
    auto* body = Body<MoveObjectsBody>();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->getCount(), 5);
    EXPECT_EQ(body->getSlider()->getMin(), 1);
    Press(platform::Key::Left);
    Press(platform::Key::Left);
    EXPECT_EQ(body->getCount(), 3);
    Press(platform::Key::Right);
    Press(platform::Key::Right);
    Press(platform::Key::Right);
    EXPECT_EQ(body->getCount(), 5) << "not beyond the pile";
    Screenshot("move-objects.png");
    Press(platform::Key::Escape);
    frame::Pump();
    EXPECT_EQ(GetModalWindow(), nullptr);
}

TEST_F(MoveObjectsTest, APileOutsideOneToAHundredOpensNothing) {
    PostMoveObjects(CoinsToTheNextField(101));
    EXPECT_ASSERTION(frame::Pump(), "In(DraggedObject.Data,1,100)");
}

TEST_F(MoveObjectsTest, AMoveLeftInTheQueueIsFreedWithIt) {
    // The leak checker of the sanitizer build watches this one.
    PostMoveObjects(CoinsToTheNextField(7));
    PostQuestion("Warning", "Sure?", nullptr, 1, 2);
    ClearEvents();
    EXPECT_EQ(GetNumberOfEvents(), 0);
}

}  // namespace
