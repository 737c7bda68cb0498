// The random generator's fixed sequences and ranges, the colour mix and distance.
#include "TestMaps.h"

#include <algorithm>
#include <limits>

namespace {

class Random : public testing::Test {
  protected:
    void SetUp() override { qdmp::ResetRandomGenerator(); }
};

TEST_F(Random, StartsEveryProcessWithTheSameSequence) {
    EXPECT_EQ(QDMP_RandomSInt16(), 13332);
    EXPECT_EQ(QDMP_RandomSInt16(), 11979);
    EXPECT_EQ(QDMP_RandomSInt16(), 17744);
}

TEST_F(Random, RangeSequencesFromTheStart) {
    for (int expected : {9, 6, 1, 0, 7})
        EXPECT_EQ(QDMP_Random_RangeSInt16(0, 10), expected);
    qdmp::ResetRandomGenerator();
    for (int expected : {3, 4, 4, 4, 1})
        EXPECT_EQ(QDMP_Random_RangeSInt32(1, 6), expected);
    // Each 32-bit draw takes three steps of the generator.
    qdmp::ResetRandomGenerator();
    QDMP_Random_RangeSInt32(0, 100);
    const SInt16 fourth = QDMP_RandomSInt16();
    qdmp::ResetRandomGenerator();
    for (int i = 0; i < 3; ++i)
        QDMP_RandomSInt16();
    EXPECT_EQ(QDMP_RandomSInt16(), fourth);
}

TEST_F(Random, RangesKeepToTheirBounds) {
    struct Case16 {
        SInt16 min, max, low, high; // every result in [low, high]
    };
    const Case16 cases16[] = {
        {0, 10, 0, 9},
        {-5, 5, -5, 4},
        {10, 4, 10, 15}, // min above max: from min to min + (min - max) - 1
    };
    for (const Case16& c : cases16) {
        SInt16 seenLow = 32767, seenHigh = -32768;
        for (int i = 0; i < 20000; ++i) {
            const SInt16 r = QDMP_Random_RangeSInt16(c.min, c.max);
            seenLow = std::min(seenLow, r);
            seenHigh = std::max(seenHigh, r);
        }
        EXPECT_EQ(seenLow, c.low) << c.min << ".." << c.max;
        EXPECT_EQ(seenHigh, c.high) << c.min << ".." << c.max;
    }

    bool sawLow = false, sawHigh = false;
    for (int i = 0; i < 2000; ++i) {
        EXPECT_EQ(QDMP_Random_RangeSInt32(5, 5), 5);
        const SInt32 swapped = QDMP_Random_RangeSInt32(10, 1);
        EXPECT_TRUE(swapped == 10 || swapped == 1) << swapped;
        const SInt32 r = QDMP_Random_RangeSInt32(-3, 3);
        ASSERT_GE(r, -3);
        ASSERT_LE(r, 3);
        sawLow |= r == -3;
        sawHigh |= r == 3;
    }
    EXPECT_TRUE(sawLow && sawHigh) << "both ends are included";
    // The whole 32-bit range (a divisor of 0) does not divide at all.
    for (int i = 0; i < 100; ++i)
        QDMP_Random_RangeSInt32(-2147483647 - 1, 2147483647);
}

TEST(Mix, OnlyTheFractionalPartCountsWithItsSign) {
    const RGBColor black{0, 0, 0}, white{65535, 65535, 65535};
    struct Case {
        RGBColor a, b;
        float mix;
        RGBColor result;
    };
    const Case cases[] = {
        {black, white, 0.5f, {32767, 32767, 32767}},
        {black, white, 0.25f, {16383, 16383, 16383}},
        {black, white, 1.0f, black},
        {black, white, 0.0f, black},
        {black, white, 3.0e9f, black}, // beyond 32 bits: no fractional part
        {{65535, 0, 0}, {0, 0, 65535}, 1.75f, {16383, 0, 49151}},
        {{10000, 10000, 10000}, {20000, 20000, 20000}, -0.5f, {5000, 5000, 5000}},
        {{0, 0, 0}, {20000, 20000, 20000}, -0.5f, {55536, 55536, 55536}}, // -10000, low 16 bits
        {{100, 200, 300}, {1100, 1200, 1300}, 2.1f, {199, 299, 399}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QDMP_Mix_RGBColors(c.a, c.b, c.mix), c.result)
            << c.a << " " << c.b << " " << c.mix;
    // NaN and infinity mix nothing in.
    EXPECT_EQ(QDMP_Mix_RGBColors(white, black, std::numeric_limits<float>::quiet_NaN()), white);
    EXPECT_EQ(QDMP_Mix_RGBColors(white, black, std::numeric_limits<float>::infinity()), white);
}

TEST(Distance, IsTheTruncatedEuclideanDistance) {
    struct Case {
        RGBColor a, b;
        UInt32 distance;
    };
    const Case cases[] = {
        {{7, 8, 9}, {7, 8, 9}, 0},         {{0, 0, 0}, {3, 4, 0}, 5},
        {{3, 4, 0}, {0, 0, 0}, 5},         {{0, 0, 0}, {65535, 65535, 65535}, 113509},
        {{0, 0, 0}, {65535, 0, 0}, 65535}, {{0, 0, 0}, {1, 1, 0}, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QDMP_RGBColorDistance(c.a, c.b), c.distance) << c.a << " " << c.b;
}

} // namespace
