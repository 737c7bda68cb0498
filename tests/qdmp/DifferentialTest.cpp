// The vector row kernels against the generic ones: on random rows (misaligned,
// overlapping) and through every routine on random maps, rectangles, points,
// radii and colours. Fast and generic must give the same bytes, guards included.
#include "TestMaps.h"

#include "QDMP_RowKernels.h"

#include <array>
#include <cstring>
#include <functional>
#include <random>
#include <string>

namespace {

using namespace qdmp_test;

class Kernels : public testing::Test {
  protected:
    void TearDown() override { qdmp::UseGenericRowKernels(false); }
    std::mt19937 random{20240611};
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    std::vector<UInt8> Bytes(std::size_t count) {
        std::vector<UInt8> bytes(count);
        for (UInt8& b : bytes)
            b = UInt8(random());
        // Now and then only the alpha extremes, 0 and 255.
        if (Uniform(0, 3) == 0)
            for (std::size_t i = 3; i < count; i += 4)
                bytes[i] = Uniform(0, 1) ? 0 : 255;
        return bytes;
    }
};

TEST_F(Kernels, TheFastTableIsTheVectorOneOnThisMachine) {
#if defined(__x86_64__)
    EXPECT_NE(std::string(qdmp::FastRowKernels().name), "generic");
#endif
    qdmp::UseGenericRowKernels(true);
    EXPECT_EQ(&qdmp::ActiveRowKernels(), &qdmp::GenericRowKernels());
    qdmp::UseGenericRowKernels(false);
    EXPECT_EQ(&qdmp::ActiveRowKernels(), &qdmp::FastRowKernels());
}

TEST_F(Kernels, RowsOfAnyLengthAndAlignmentGiveTheGenericBytes) {
    const qdmp::RowKernels& fast = qdmp::FastRowKernels();
    const qdmp::RowKernels& generic = qdmp::GenericRowKernels();
    for (int trial = 0; trial < 3000; ++trial) {
        const std::size_t count = std::size_t(Uniform(0, 90));
        const std::size_t misalign = std::size_t(Uniform(0, 7));
        const UInt32 value = UInt32(random());
        SCOPED_TRACE(testing::Message() << "count " << count << " misalign " << misalign);

        std::vector<UInt8> a = Bytes(16 + 8 * count + 16), b = a;
        fast.fill32(a.data() + misalign, count, value);
        generic.fill32(b.data() + misalign, count, value);
        ASSERT_EQ(a, b) << "fill";

        const std::vector<UInt8> src = Bytes(8 + 4 * count);
        a = Bytes(8 + 4 * count + 8);
        b = a;
        fast.blend32(src.data() + misalign, a.data() + misalign, count);
        generic.blend32(src.data() + misalign, b.data() + misalign, count);
        ASSERT_EQ(a, b) << "blend";

        const std::vector<UInt8> upper = Bytes(8 + 8 * count), lower = Bytes(8 + 8 * count);
        a = Bytes(8 + 4 * count + 8);
        b = a;
        fast.downMip32(upper.data() + misalign, lower.data() + misalign, a.data() + 3, count);
        generic.downMip32(upper.data() + misalign, lower.data() + misalign, b.data() + 3, count);
        ASSERT_EQ(a, b) << "down-mip";
    }
}

TEST_F(Kernels, OverlappingRowsGiveTheBytesOfAPassFromTheLeft) {
    const qdmp::RowKernels& fast = qdmp::FastRowKernels();
    const qdmp::RowKernels& generic = qdmp::GenericRowKernels();
    for (int trial = 0; trial < 2000; ++trial) {
        const std::size_t count = std::size_t(Uniform(1, 40));
        const int shift = Uniform(-24, 24); // destination start relative to the source, in bytes
        SCOPED_TRACE(testing::Message() << "count " << count << " shift " << shift);
        const std::vector<UInt8> original = Bytes(32 + 16 * count + 8 + 64); // both source rows fit
        std::vector<UInt8> a = original, b = original;
        const std::size_t src = 32, dst = std::size_t(32 + shift);
        fast.blend32(a.data() + src, a.data() + dst, count);
        generic.blend32(b.data() + src, b.data() + dst, count);
        ASSERT_EQ(a, b) << "blend";

        a = original;
        b = original;
        const std::size_t lower = src + 8 * count + std::size_t(Uniform(0, 8));
        fast.downMip32(a.data() + src, a.data() + lower, a.data() + dst, count);
        generic.downMip32(b.data() + src, b.data() + lower, b.data() + dst, count);
        ASSERT_EQ(a, b) << "down-mip";
    }
}

// Random maps and calls, run twice: with the fast kernels and with the generic ones.
class Routines : public Kernels {
  protected:
    Rect RandomBounds() {
        const int left = Uniform(-40, 40), top = Uniform(-40, 40);
        return Rect{SInt16(top), SInt16(left), SInt16(top + Uniform(1, 40)),
                    SInt16(left + Uniform(1, 70))};
    }
    PixMapBuffer RandomMap(SInt16 depth, Rect bounds, std::size_t padding) {
        PixMapBuffer::Options options;
        options.guardBytes = 40;
        options.rowPadding = padding; // any padding: rows need not be 4-byte aligned
        if (depth == 8)
            options.colours =
                std::vector<RGBColor>{{0, 0, 0}, {65535, 0, 0}, {0, 65535, 0}, {0, 0, 65535}};
        PixMapBuffer map(depth, bounds, options);
        const Rect b = map.Bounds();
        for (int v = b.top; v < b.bottom; ++v)
            for (int h = b.left; h < b.right; ++h)
                map.SetPixel(h, v, UInt32(random()));
        return map;
    }
};

using Operation = std::function<void(PixMapHandle src, PixMapHandle dst)>;

TEST_F(Routines, FastAndGenericPathsWriteTheSameBytesAndNothingOutside) {
    int trialsThatDrew = 0;
    constexpr int kTrials = 3000;
    for (int trial = 0; trial < kTrials; ++trial) {
        const SInt16 depth = std::array<SInt16, 4>{8, 16, 32, 32}[std::size_t(Uniform(0, 3))];
        const Rect srcBounds = RandomBounds(), dstBounds = RandomBounds();
        const std::size_t srcPadding = std::size_t(Uniform(0, 9)),
                          dstPadding = std::size_t(Uniform(0, 9));
        const std::uint32_t seed = random();
        const bool sameMap = Uniform(0, 4) == 0;

        // The call's arguments, around and beyond the maps' bounds.
        std::mt19937 pick(seed);
        auto u = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(pick);
        };
        auto near = [&](int low, int high) { return u(low - 8, high + 8); };
        const Rect& sb = srcBounds;
        const Rect& db = sameMap ? srcBounds : dstBounds;
        const Rect fillRect{SInt16(near(db.top, db.bottom)), SInt16(near(db.left, db.right)),
                            SInt16(near(db.top, db.bottom)), SInt16(near(db.left, db.right))};
        const Rect srcRect{SInt16(near(sb.top, sb.bottom)), SInt16(near(sb.left, sb.right)),
                           SInt16(near(sb.top, sb.bottom)), SInt16(near(sb.left, sb.right))};
        // Alpha and plain copies need equal widths to do anything: usually keep them.
        const int width = srcRect.right - srcRect.left;
        const SInt16 dstLeft = SInt16(near(db.left, db.right)),
                     dstTop = SInt16(near(db.top, db.bottom));
        const Rect dstRect{dstTop, dstLeft, SInt16(dstTop + u(-5, 40)),
                           SInt16(u(0, 3) ? dstLeft + width : near(db.left, db.right))};
        const int sy = near(sb.top, sb.bottom), dy = near(db.top, db.bottom);
        const int x1 = near(sb.left, sb.right), x2 = near(sb.left, sb.right);
        const int shift = u(-12, 12);
        const int h = near(db.left, db.right), v = near(db.top, db.bottom);
        const UInt16 radius = UInt16(u(0, 3) ? u(0, 30) : u(0, 2000));
        const RGBColor colour{UInt16(pick()), UInt16(pick()), UInt16(pick())};
        const UInt32 value = UInt32(pick());
        const Point a = P(near(db.left, db.right), near(db.top, db.bottom));
        const Point b = P(near(db.left, db.right), near(db.top, db.bottom));
        const Point c = P(near(db.left, db.right), near(db.top, db.bottom));

        const std::pair<const char*, Operation> operations[] = {
            {"Fill_Rect", [&](auto, auto d) { QDMP_Fill_Rect(d, fillRect, &colour); }},
            {"Fill_Rect32", [&](auto, auto d) { QDMP_Fill_Rect32(d, dstRect, value); }},
            {"Fill_Circle",
             [&](auto, auto d) { QDMP_Fill_Circle(d, SInt16(h), SInt16(v), radius, &colour); }},
            {"Draw_Circle",
             [&](auto, auto d) { QDMP_Draw_Circle(d, SInt16(h), SInt16(v), radius, &colour); }},
            {"Draw_Line", [&](auto, auto d) { QDMP_Draw_LineP(d, a, b, &colour); }},
            {"Draw_Curve", [&](auto, auto d) { QDMP_Draw_Curve(d, a, b, c, &colour); }},
            {"Draw_Scan32",
             [&](auto, auto d) { Draw_Scan32(d, SInt16(dy), SInt16(x1), SInt16(x2), value); }},
            {"Copy_Rect", [&](auto s, auto d) { QDMP_Copy_Rect(s, d, &srcRect, &dstRect); }},
            {"Copy_Rect32A", [&](auto s, auto d) { QDMP_Copy_Rect32A(s, d, &srcRect, &dstRect); }},
            {"Copy_Scan",
             [&](auto s, auto d) {
                 QDMP_Copy_Scan(s, d, SInt16(sy), SInt16(x1), SInt16(x2), SInt16(dy),
                                SInt16(x1 + shift), SInt16(x2 + shift));
             }},
            {"Copy_Scan32A",
             [&](auto s, auto d) {
                 QDMP_Copy_Scan32A(s, d, SInt16(sy), SInt16(x1), SInt16(x2), SInt16(dy),
                                   SInt16(x1 + shift), SInt16(x2 + shift));
             }},
            {"DownMip32A", [&](auto s, auto d) { QDMP_DownMip32A(s, d); }},
        };
        const auto& [name, operation] =
            operations[std::size_t(Uniform(0, std::size(operations) - 1))];
        SCOPED_TRACE(testing::Message() << "trial " << trial << ": " << name << ", depth " << depth
                                        << (sameMap ? ", one map" : "") << ", source " << srcBounds
                                        << ", destination " << dstBounds);

        std::vector<std::byte> untouched;
        auto run = [&](bool generic) {
            std::mt19937 fill(seed);
            std::swap(random, fill); // both runs start from the same pixels
            PixMapBuffer src = RandomMap(depth, srcBounds, srcPadding);
            PixMapBuffer dst = RandomMap(depth, dstBounds, dstPadding);
            std::swap(random, fill);
            untouched.assign(src.Storage().begin(), src.Storage().end());
            untouched.insert(untouched.end(), dst.Storage().begin(), dst.Storage().end());
            qdmp::UseGenericRowKernels(generic);
            operation(src.Handle(), sameMap ? src.Handle() : dst.Handle());
            qdmp::UseGenericRowKernels(false);
            EXPECT_TRUE(src.GuardsIntact());
            EXPECT_TRUE(dst.GuardsIntact());
            std::vector<std::byte> bytes(src.Storage().begin(), src.Storage().end());
            bytes.insert(bytes.end(), dst.Storage().begin(), dst.Storage().end());
            return bytes;
        };
        const auto fast = run(false);
        const auto generic = run(true);
        ASSERT_EQ(fast, generic);
        trialsThatDrew += fast != untouched;
    }
    // The random arguments must exercise the routines, not just miss the maps.
    // (The 32-bit-only routines do nothing on the 8- and 16-bit maps of half the trials.)
    EXPECT_GT(trialsThatDrew, kTrials / 4);
}

} // namespace
