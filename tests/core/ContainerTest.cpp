#include "core/Container.h"

#include "support/TestSupport.h"

#include <string>

namespace {

TEST(Vector, CreationChecksSpaceAndBlock) {
    EXPECT_ASSERTION(Vector<int>(5, 4, 1), "space>0");
    EXPECT_ASSERTION(Vector<int>(0, 9, -1), "block>=0");
    Vector<int> single(3, 3, 0);
    EXPECT_EQ(single.size(), 1);
}

TEST(Vector, ElementsStartAsTheFillValueAndKeepTheirIndexes) {
    Vector<int> v(-2, 2, 4, 7);
    EXPECT_EQ(v.size(), 5);
    for (int i = -2; i <= 2; ++i) EXPECT_EQ(v(i), 7) << i;
    for (int i = -2; i <= 2; ++i) v(i) = i * 10;
    EXPECT_EQ(v(-2), -20);
    EXPECT_EQ(v[2], 20);
    EXPECT_EQ(v.at(0), 0);
}

TEST(Vector, GrowsByWholeBlocksAndKeepsContents) {
    Vector<int> v(1, 10, 8, -1);
    for (int i = 1; i <= 10; ++i) v(i) = i;
    v(11) = 11;
    EXPECT_EQ(v.upperBound(), 18);
    EXPECT_EQ(v.size(), 18);
    v(35) = 35;  // 17 beyond 18: three blocks
    EXPECT_EQ(v.upperBound(), 42);
    for (int i = 1; i <= 11; ++i) EXPECT_EQ(v(i), i);
    EXPECT_EQ(v(12), -1);  // new elements take the fill value
    EXPECT_EQ(v(34), -1);
    EXPECT_EQ(v(35), 35);
    EXPECT_EQ(v(42), -1);
    EXPECT_EQ(v.lowerBound(), 1);
}

TEST(Vector, ReadingAboveTheBoundGrowsTooButConstAccessDoesNot) {
    Vector<std::string> v(0, 0, 2, "x");
    EXPECT_EQ(v(3), "x");
    EXPECT_EQ(v.upperBound(), 4);
    const Vector<std::string>& c = v;
    EXPECT_EQ(c(4), "x");
    EXPECT_ASSERTION(c(5), "i>=lower && i<=upper");
    EXPECT_ASSERTION(c(-1), "i>=lower && i<=upper");
    EXPECT_EQ(v.upperBound(), 4);
}

TEST(Vector, IndexBelowTheLowerBoundOrBeyondAFixedOneIsAnAssertion) {
    Vector<int> v(10, 19, 0, 3);
    EXPECT_ASSERTION(v(9), "i>=lower");
    EXPECT_ASSERTION(v(20), "i<=upper");
    EXPECT_EQ(v.upperBound(), 19);
    Vector<int> growing(10, 19, 5);
    EXPECT_ASSERTION(growing(-100), "i>=lower");
    EXPECT_EQ(growing.size(), 10);
}

TEST(FixedArray, ChecksSizeAndEveryIndex) {
    EXPECT_ASSERTION(FixedArray<int>(0), "d>0");
    FixedArray<int> a(4, 9);
    EXPECT_EQ(a.size(), 4);
    EXPECT_EQ(a(3), 9);
    a(0) = 1;
    a[3] = 4;
    EXPECT_EQ(a.at(0), 1);
    EXPECT_EQ(a(3), 4);
    EXPECT_ASSERTION(a(4), "(i>=0 && i<d)");
    EXPECT_ASSERTION(a(-1), "(i>=0 && i<d)");
    const FixedArray<int>& c = a;
    EXPECT_ASSERTION(c[4], "(i>=0 && i<d)");
    EXPECT_EQ(a(3), 4);
    a.fill(2);
    EXPECT_EQ(a(0) + a(1) + a(2) + a(3), 8);
}

TEST(FixedArray2D, ChecksBothCoordinatesAndStoresEveryCellApart) {
    FixedArray2D<int> a(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) a(x, y) = 10 * y + x;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(a(x, y), 10 * y + x);
    const char* text = "x>=0 && x<dx && y>=0 && y<dy";
    EXPECT_ASSERTION(a(3, 0), text);
    EXPECT_ASSERTION(a(-1, 0), text);
    EXPECT_ASSERTION(a(0, 2), text);
    EXPECT_ASSERTION(a(0, -1), text);
    EXPECT_EQ(a.sizeX(), 3);
    EXPECT_EQ(a.sizeY(), 2);
}

TEST(FixedArray3D, ChecksAllCoordinatesAndStoresEveryCellApart) {
    FixedArray3D<int> a(18, 14, 8, -1);
    int n = 0;
    for (int z = 0; z < 8; ++z)
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 18; ++x) a(x, y, z) = n++;
    EXPECT_EQ(a(0, 0, 0), 0);
    EXPECT_EQ(a(17, 0, 0), 17);
    EXPECT_EQ(a(0, 1, 0), 18);
    EXPECT_EQ(a(0, 0, 1), 252);
    EXPECT_EQ(a(17, 13, 7), 2015);
    const char* text = "x>=0 && x<dx && y>=0 && y<dy && z>=0 && z<dz";
    EXPECT_ASSERTION(a(18, 0, 0), text);
    EXPECT_ASSERTION(a(0, 14, 0), text);
    EXPECT_ASSERTION(a(0, 0, 8), text);
    EXPECT_ASSERTION(a(0, 0, -1), text);
    EXPECT_EQ(a(17, 13, 7), 2015);
}

}  // namespace
