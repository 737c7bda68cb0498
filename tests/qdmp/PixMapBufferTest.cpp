// The owned pixel map the tests and callers build maps with, and the platform
// accessors the library reads maps through.
#include "TestMaps.h"

#include <cstring>

namespace {

using namespace qdmp_test;

TEST(PixMapBuffer, DescribesItsPixelsThroughTheRecordAndTheAccessors) {
    struct Case {
        SInt16 depth;
        int bytesPerPixel;
    };
    for (const Case c : {Case{8, 1}, Case{16, 2}, Case{32, 4}}) {
        PixMapBuffer::Options options;
        options.rowPadding = 6;
        options.guardBytes = 10;
        PixMapBuffer map(c.depth, Rect{-2, 5, 3, 12}, options);
        const PixMap& record = **map.Handle();
        EXPECT_EQ(record.pixelSize, c.depth);
        EXPECT_EQ(record.bounds, (Rect{-2, 5, 3, 12}));
        EXPECT_EQ(record.pmTable, nullptr);
        EXPECT_EQ(map.Width(), 7);
        EXPECT_EQ(map.Height(), 5);
        EXPECT_EQ(GetPixRowBytes(map.Handle()), 7 * c.bytesPerPixel + 6);
        EXPECT_EQ(reinterpret_cast<const std::byte*>(GetPixBaseAddr(map.Handle())),
                  map.Storage().data() + 10);
        EXPECT_EQ(map.Storage().size(), 20u + 5u * (7u * c.bytesPerPixel + 6u));
        EXPECT_TRUE(Marked(map).empty()) << "pixels start at zero";
        EXPECT_TRUE(map.GuardsIntact());
    }
}

TEST(PixMapBuffer, GuardsCatchWritesBeforeAfterAndBetweenRows) {
    PixMapBuffer::Options options;
    options.rowPadding = 4;
    options.guardBytes = 8;
    const std::ptrdiff_t offsets[] = {-1, -8, 3 * 4, 2 * (3 * 4 + 4) - 1, 4 * (3 * 4 + 4) + 7};
    for (std::ptrdiff_t offset : offsets) {
        PixMapBuffer map(32, Rect{0, 0, 4, 3}, options);
        map.BaseAddr()[offset] ^= 1;
        EXPECT_FALSE(map.GuardsIntact()) << offset;
    }
    PixMapBuffer map(32, Rect{0, 0, 4, 3}, options);
    map.Fill(0xFFFFFFFF);
    EXPECT_TRUE(map.GuardsIntact()) << "the pixels themselves are not guards";
}

TEST(PixMapBuffer, HandleAndTableSurviveAMove) {
    const std::vector<RGBColor> colours = {{1, 2, 3}, {4, 5, 6}};
    PixMapBuffer first = GuardedMap(8, Rect{0, 0, 2, 2}, colours);
    const PixMapHandle handle = first.Handle();
    PixMapBuffer moved = std::move(first);
    EXPECT_EQ(moved.Handle(), handle);
    const ColorTable& table = **(*handle)->pmTable;
    EXPECT_EQ(table.ctSize, 1);
    const ColorSpec* entries = table.ctTable;
    EXPECT_EQ(entries[1].value, 1);
    EXPECT_EQ(entries[1].rgb, colours[1]);
}

TEST(PlatformPixMap, AccessorsAndBlockCopyHandleNull) {
    EXPECT_EQ(GetPixBaseAddr(nullptr), nullptr);
    EXPECT_EQ(GetPixRowBytes(nullptr), 0);
    PixMapPtr nullRecord = nullptr;
    EXPECT_EQ(GetPixBaseAddr(&nullRecord), nullptr);
    EXPECT_EQ(GetPixRowBytes(&nullRecord), 0);
    char bytes[8] = "abcdefg";
    MPBlockCopy(bytes, bytes + 2, 4); // overlapping ranges move as a whole
    EXPECT_STREQ(bytes, "ababcdg");
    MPBlockCopy(nullptr, bytes, 4);
    MPBlockCopy(bytes, nullptr, 4);
    MPBlockCopy(bytes + 1, bytes, 0);
    EXPECT_STREQ(bytes, "ababcdg");
    EXPECT_TRUE(MPIsFullyInitialized());
    EXPECT_EQ(QDMP_Init(), noErr);
}

} // namespace
