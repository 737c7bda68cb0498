// Rectangle arithmetic.
#include "QuickDraw.h"

#include <gtest/gtest.h>

namespace {

TEST(EqualRect, ComparesAllFourCoordinates) {
    const Rect base = {1, 2, 3, 4};
    struct Case {
        Rect other;
        bool equal;
    };
    const Case cases[] = {
        {{1, 2, 3, 4}, true},  {{0, 2, 3, 4}, false}, {{1, 0, 3, 4}, false},
        {{1, 2, 0, 4}, false}, {{1, 2, 3, 0}, false}, {{2, 3, 4, 5}, false}, // same size, moved
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EqualRect(&base, &c.other), c.equal);
        EXPECT_EQ(EqualRect(&c.other, &base), c.equal);
    }
    // Two empty rectangles are equal only when their coordinates are.
    const Rect empty1 = {0, 0, 0, 0}, empty2 = {5, 5, 5, 5};
    EXPECT_FALSE(EqualRect(&empty1, &empty2));
    EXPECT_FALSE(EqualRect(&base, nullptr));
    EXPECT_FALSE(EqualRect(nullptr, &base));
}

TEST(OffsetRect, MovesBothCornersAndKeepsTheSize) {
    struct Case {
        Rect start;
        SInt16 dh, dv;
        Rect moved;
    };
    const Case cases[] = {
        {{100, 50, 340, 370}, -50, -100, {0, 0, 240, 320}},
        {{0, 0, 10, 20}, 5, 7, {7, 5, 17, 25}},
        {{0, 0, 10, 20}, 0, 0, {0, 0, 10, 20}},
        {{-5, -5, 5, 5}, -10, 3, {-2, -15, 8, -5}},
        {{32760, 0, 32767, 1}, 0, 10, {-32766, 0, -32759, 1}}, // 16-bit coordinates wrap
    };
    for (const Case& c : cases) {
        Rect r = c.start;
        OffsetRect(&r, c.dh, c.dv);
        EXPECT_TRUE(EqualRect(&r, &c.moved))
            << r.top << "," << r.left << "," << r.bottom << "," << r.right;
    }
    OffsetRect(nullptr, 1, 1);
}

} // namespace
