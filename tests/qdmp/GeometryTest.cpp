// Rectangles, points, midpoints and the squared distance.
#include "TestMaps.h"

namespace {

using qdmp_test::P;

Rect R(int top, int left, int bottom, int right) {
    return Rect{SInt16(top), SInt16(left), SInt16(bottom), SInt16(right)};
}

TEST(Rects, SetOffsetAndInsetTakeTheirArgumentsInTheirOwnOrder) {
    Rect r{};
    QDMP_Set_Rect(&r, 1, 2, 3, 4); // left, top, right, bottom
    EXPECT_EQ(r, R(2, 1, 4, 3));
    QDMP_Offset_Rect(&r, 10, -20); // h, v
    EXPECT_EQ(r, R(-18, 11, -16, 13));
    QDMP_Inset_Rect(&r, 1, -2); // shrinks across, grows down
    EXPECT_EQ(r, R(-20, 12, -14, 12));
    // Coordinates wrap at 16 bits.
    Rect edge = R(32767, 0, 32767, 0);
    QDMP_Offset_Rect(&edge, 0, 1);
    EXPECT_EQ(edge.top, -32768);
}

TEST(Rects, IntersectReturnsOverlapAndStoresTheRectangleAsComputed) {
    struct Case {
        Rect a, b;
        bool overlap;
        Rect stored;
    };
    const Case cases[] = {
        {R(0, 0, 10, 10), R(20, 20, 30, 30), false, R(20, 20, 10, 10)}, // apart: not reset
        {R(0, 0, 10, 10), R(0, 10, 10, 20), false, R(0, 10, 10, 10)},   // only touching
        {R(0, 0, 10, 10), R(5, 5, 20, 20), true, R(5, 5, 10, 10)},
        {R(-5, -5, 5, 5), R(-10, -2, 10, 2), true, R(-5, -2, 5, 2)},
        {R(0, 0, 10, 10), R(10, 0, 0, 10), false, R(10, 0, 0, 10)}, // upside down
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " and " << c.b);
        Rect out = R(99, 99, 99, 99);
        EXPECT_EQ(QDMP_Intersect_Rects(&c.a, &c.b, &out), c.overlap);
        EXPECT_EQ(out, c.stored);
        EXPECT_EQ(QDMP_Intersect_Rects(&c.a, &c.b, nullptr), c.overlap);
        // The result may land on either input.
        Rect a = c.a, b = c.b;
        QDMP_Intersect_Rects(&a, &b, &a);
        EXPECT_EQ(a, c.stored);
        a = c.a;
        QDMP_Intersect_Rects(&a, &b, &b);
        EXPECT_EQ(b, c.stored);
    }
}

TEST(Points, SetPointAndPointInRect) {
    Point stored = P(0, 0);
    EXPECT_EQ(QDMP_Set_Point(&stored, 7, -3), P(7, -3));
    EXPECT_EQ(stored, P(7, -3));
    EXPECT_EQ(QDMP_Set_Point(nullptr, 1, 2), P(1, 2));

    const Rect r = R(10, 20, 30, 60);
    struct Case {
        Point p;
        bool inside;
    };
    const Case cases[] = {{P(20, 10), true},  {P(59, 29), true},  {P(60, 10), false},
                          {P(20, 30), false}, {P(19, 15), false}, {P(25, 9), false}};
    for (const Case& c : cases)
        EXPECT_EQ(QDMP_PointInRect(c.p, &r), c.inside) << c.p;
    EXPECT_FALSE(QDMP_PointInRect(P(25, 15), nullptr));
}

TEST(Points, MidPointSumsIn32BitsAndRoundsTowardMinusInfinity) {
    struct Case {
        int a, b, mid;
    };
    const Case cases[] = {{1, 2, 1},
                          {-1, -2, -2},
                          {32767, 32767, 32767},
                          {-32768, -32768, -32768},
                          {-32768, 32767, -1},
                          {0, 0, 0},
                          {-3, 0, -2}};
    for (const Case& c : cases) {
        EXPECT_EQ(QDMP_MidPoint(P(c.a, 0), P(c.b, 0)), P(c.mid, 0)) << c.a << " " << c.b;
        EXPECT_EQ(QDMP_MidPoint(P(0, c.a), P(0, c.b)), P(0, c.mid)) << c.a << " " << c.b;
    }
    const Rect r = R(1, -4, 8, 3);
    EXPECT_EQ(QDMP_MidPointRect(&r), P(-1, 4));
}

TEST(Points, DistanceSquaredTakesEachDifferenceIn16Bits) {
    EXPECT_EQ(distance_squared(P(0, 0), P(3, 4)), 25u);
    EXPECT_EQ(distance_squared(P(10, 10), P(10, 20)), 100u);
    EXPECT_EQ(distance_squared(P(-32768, -32768), P(0, 0)), 2u * 32768u * 32768u);
    EXPECT_EQ(distance_squared(P(-32768, 0), P(32767, 0)), 1u); // -65535 wraps to 1
}

} // namespace
