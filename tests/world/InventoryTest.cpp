#include "support/TestSupport.h"
#include "world/Inventory.h"

#include <gtest/gtest.h>

namespace {

struct InventoryTest : ::testing::Test {
    void SetUp() override { InitInventory(); }
    void TearDown() override { ExitInventory(); }
};

TEST_F(InventoryTest, BodySlotsCountFromOne) {
    SetBodyObject(1, 120, 0);
    SetBodyObject(10, 130, 7);
    EXPECT_EQ(GetBodyObject(1).Type, 120);
    EXPECT_EQ(GetBodyObject(10).Data, 7u);
    ClearBodyObject(1);
    EXPECT_EQ(GetBodyObject(1).Type, 0);
    EXPECT_ASSERTION(SetBodyObject(0, 120, 0), "In(Pos,0,BODY_POSITIONS-1)");
    EXPECT_ASSERTION(GetBodyObject(11), "In(Pos,0,BODY_POSITIONS-1)");
}

TEST_F(InventoryTest, OpeningKeepsTheFirst36AndCapitalisesTheName) {
    int Window = 0;
    OpenContainer(3, 140, &Window, "brown backpack", 20, true);
    EXPECT_TRUE(IsContainerOpen(3));
    EXPECT_STREQ(GetContainerName(3), "Brown Backpack");
    EXPECT_EQ(GetContainerCapacity(3), 20);
    EXPECT_TRUE(GetContainerHasParent(3));
    EXPECT_EQ(GetContainerType(3), 140);
    EXPECT_EQ(GetContainerWindow(3), &Window);
    for (int n = 0; n < 40; n++) AppendContainerObject(3, 100 + n, 0);
    EXPECT_EQ(GetContainerCount(3), 36);
    EXPECT_EQ(GetContainerObject(3, 35).Type, 135);

    EXPECT_ASSERTION(OpenContainer(3, 140, nullptr, "bag", 8, false), "!Containers[Container].IsOpen");
    EXPECT_ASSERTION(OpenContainer(4, 140, nullptr, std::string(30, 'a').c_str(), 8, false),
                     "Name!=NULL && strlen(Name)<30");
    EXPECT_ASSERTION(OpenContainer(16, 140, nullptr, "bag", 8, false), "In(Container,0,OPEN_CONTAINERS-1)");
    EXPECT_ASSERTION(GetContainerCount(4), "Containers[Container].IsOpen");
    EXPECT_ASSERTION(GetContainerObject(3, 36), "In(Position,0,Containers[Container].Count-1)");
    OpenContainer(4, 140, nullptr, std::string(29, 'a').c_str(), 8, false);
    EXPECT_TRUE(IsContainerOpen(4));
}

TEST_F(InventoryTest, InsertAtTheFrontPushesOutTheLast) {
    OpenContainer(0, 140, nullptr, "chest", 36, false);
    for (int n = 0; n < 36; n++) AppendContainerObject(0, 100 + n, 0);
    InsertContainerObject(0, 99 + 200, 1);
    EXPECT_EQ(GetContainerCount(0), 36);
    EXPECT_EQ(GetContainerObject(0, 0).Type, 299);
    EXPECT_EQ(GetContainerObject(0, 1).Type, 100);
    EXPECT_EQ(GetContainerObject(0, 35).Type, 134);

    EXPECT_TRUE(RemoveContainerObject(0, 0));
    EXPECT_EQ(GetContainerObject(0, 0).Type, 100);
    EXPECT_FALSE(RemoveContainerObject(0, 34));
    EXPECT_EQ(GetContainerCount(0), 34);
    EXPECT_FALSE(RemoveContainerObject(0, 34));  // outside: ignored
    EXPECT_EQ(GetContainerCount(0), 34);
    ChangeContainerObject(0, 34, 500, 0);  // outside: ignored
    ChangeContainerObject(0, 2, 500, 9);
    EXPECT_EQ(GetContainerObject(0, 2).Data, 9u);
    EXPECT_EQ(GetContainerObject(0, 33).Type, 133);

    InsertContainerObject(0, 501, 0);
    EXPECT_EQ(GetContainerCount(0), 35);
    EXPECT_EQ(GetContainerObject(0, 1).Type, 100);
}

TEST_F(InventoryTest, FreeNumberAndClosing) {
    EXPECT_EQ(GetFreeContainerNumber(), 0);
    for (int n = 0; n < OPEN_CONTAINERS; n++) OpenContainer(n, 140, nullptr, "bag", 8, false);
    EXPECT_EQ(GetFreeContainerNumber(), 15);
    CloseContainer(5);
    EXPECT_EQ(GetFreeContainerNumber(), 5);
    EXPECT_FALSE(IsContainerOpen(5));
    EXPECT_ASSERTION(CloseContainer(5), "Containers[Container].IsOpen");
    ResetInventory();
    EXPECT_FALSE(IsContainerOpen(15));
    EXPECT_EQ(GetFreeContainerNumber(), 0);
}

TEST_F(InventoryTest, TradeOffers) {
    StartOwnOffer("Anna");
    AddOwnOfferObject(150, 2);
    EXPECT_STREQ(GetOwnOfferName(), "Anna");
    EXPECT_EQ(GetOwnOfferCount(), 1);
    EXPECT_EQ(GetOwnOfferObject(0).Data, 2u);
    // The server may send the own offer anew: it replaces the old one.
    StartOwnOffer("Bert");
    EXPECT_EQ(GetOwnOfferCount(), 0);
    AddOwnOfferObject(150, 3);
    EXPECT_STREQ(GetOwnOfferName(), "Bert");
    EXPECT_EQ(GetOwnOfferObject(0).Data, 3u);

    EXPECT_TRUE(StartCounterOffer("Bert"));
    AddCounterOfferObject(160, 0);
    EXPECT_FALSE(StartCounterOffer("Carl"));  // one is held: nothing changes
    EXPECT_STREQ(GetCounterOfferName(), "Bert");
    EXPECT_EQ(GetCounterOfferCount(), 1);
    EXPECT_EQ(GetCounterOfferObject(0).Type, 160);
    EXPECT_ASSERTION(GetCounterOfferObject(1), "In(Position,0,CounterOffer.Count-1)");

    for (int n = 1; n < OBJECTS_PER_OFFER; n++) AddOwnOfferObject(150, 0);
    EXPECT_ASSERTION(AddOwnOfferObject(150, 0), "OwnOffer.Count<OBJECTS_PER_OFFER");
    EXPECT_EQ(GetOwnOfferCount(), 100);

    CloseTrade();
    EXPECT_EQ(GetOwnOfferCount(), 0);
    EXPECT_EQ(GetCounterOfferCount(), 0);
    EXPECT_ASSERTION(GetOwnOfferName(), "OwnOffer.Count>0");
    EXPECT_ASSERTION(GetCounterOfferName(), "CounterOffer.Count>0");
    EXPECT_ASSERTION(GetOwnOfferObject(0), "In(Position,0,OwnOffer.Count-1)");
    EXPECT_TRUE(StartCounterOffer("Carl"));
}

}  // namespace
