// Bad input: null handles, null records, null base addresses, null rectangles,
// colours and tables, and maps of another depth. Nothing is written, reads give
// their neutral values, and nothing crashes.
#include "TestMaps.h"

#include <functional>

namespace {

using namespace qdmp_test;

const RGBColor kWhite{65535, 65535, 65535};
const Rect kAll{0, 0, 8, 8};

struct Call {
    const char* name;
    SInt16 depth; // the depth it serves; 0 for the generic members
    std::function<void(PixMapHandle src, PixMapHandle dst)> run;
};

// Every routine that writes, aimed at the whole of an 8 x 8 map.
std::vector<Call> WritingCalls() {
    return {
        {"Set_Pixel", 0, [](auto, auto d) { QDMP_Set_Pixel(d, 1, 1, &kWhite); }},
        {"Set_Pixel8", 8, [](auto, auto d) { QDMP_Set_Pixel8(d, 1, 1, 9); }},
        {"Set_Pixel16", 16, [](auto, auto d) { QDMP_Set_Pixel16(d, 1, 1, 9); }},
        {"Set_Pixel32", 32, [](auto, auto d) { QDMP_Set_Pixel32(d, 1, 1, 9); }},
        {"Copy_Rect", 0, [](auto s, auto d) { QDMP_Copy_Rect(s, d, &kAll, &kAll); }},
        {"Copy_Rect8", 8, [](auto s, auto d) { QDMP_Copy_Rect8(s, d, &kAll, &kAll); }},
        {"Copy_Rect16", 16, [](auto s, auto d) { QDMP_Copy_Rect16(s, d, &kAll, &kAll); }},
        {"Copy_Rect32", 32, [](auto s, auto d) { QDMP_Copy_Rect32(s, d, &kAll, &kAll); }},
        {"Copy_Rect32A", 32, [](auto s, auto d) { QDMP_Copy_Rect32A(s, d, &kAll, &kAll); }},
        {"Copy_Scan", 0, [](auto s, auto d) { QDMP_Copy_Scan(s, d, 1, 0, 8, 1, 0, 8); }},
        {"Copy_Scan8", 8, [](auto s, auto d) { QDMP_Copy_Scan8(s, d, 1, 0, 8, 1, 0, 8); }},
        {"Copy_Scan16", 16, [](auto s, auto d) { QDMP_Copy_Scan16(s, d, 1, 0, 8, 1, 0, 8); }},
        {"Copy_Scan32", 32, [](auto s, auto d) { QDMP_Copy_Scan32(s, d, 1, 0, 8, 1, 0, 8); }},
        {"Copy_Scan32A", 32, [](auto s, auto d) { QDMP_Copy_Scan32A(s, d, 1, 0, 8, 1, 0, 8); }},
        {"DownMip32A", 32, [](auto s, auto d) { QDMP_DownMip32A(s, d); }},
        {"Draw_Line", 0, [](auto, auto d) { QDMP_Draw_Line(d, 0, 0, 7, 5, &kWhite); }},
        {"Draw_Line8", 8, [](auto, auto d) { QDMP_Draw_Line8(d, 0, 0, 7, 5, 9); }},
        {"Draw_Line16", 16, [](auto, auto d) { QDMP_Draw_Line16(d, 0, 0, 7, 5, 9); }},
        {"Draw_Line32", 32, [](auto, auto d) { QDMP_Draw_Line32(d, 0, 0, 7, 5, 9); }},
        {"Draw_Scan8", 8, [](auto, auto d) { Draw_Scan8(d, 2, 0, 8, 9); }},
        {"Draw_Scan16", 16, [](auto, auto d) { Draw_Scan16(d, 2, 0, 8, 9); }},
        {"Draw_Scan32", 32, [](auto, auto d) { Draw_Scan32(d, 2, 0, 8, 9); }},
        {"Fill_Rect", 0, [](auto, auto d) { QDMP_Fill_Rect(d, kAll, &kWhite); }},
        {"Fill_Rect8", 8, [](auto, auto d) { QDMP_Fill_Rect8(d, kAll, 9); }},
        {"Fill_Rect16", 16, [](auto, auto d) { QDMP_Fill_Rect16(d, kAll, 9); }},
        {"Fill_Rect32", 32, [](auto, auto d) { QDMP_Fill_Rect32(d, kAll, 9); }},
        {"Draw_Circle", 0, [](auto, auto d) { QDMP_Draw_Circle(d, 4, 4, 3, &kWhite); }},
        {"Draw_Circle8", 8, [](auto, auto d) { QDMP_Draw_Circle8(d, 4, 4, 3, 9); }},
        {"Draw_Circle16", 16, [](auto, auto d) { QDMP_Draw_Circle16(d, 4, 4, 3, 9); }},
        {"Draw_Circle32", 32, [](auto, auto d) { QDMP_Draw_Circle32(d, 4, 4, 3, 9); }},
        {"Fill_Circle", 0, [](auto, auto d) { QDMP_Fill_Circle(d, 4, 4, 3, &kWhite); }},
        {"Fill_Circle8", 8, [](auto, auto d) { QDMP_Fill_Circle8(d, 4, 4, 3, 9); }},
        {"Fill_Circle16", 16, [](auto, auto d) { QDMP_Fill_Circle16(d, 4, 4, 3, 9); }},
        {"Fill_Circle32", 32, [](auto, auto d) { QDMP_Fill_Circle32(d, 4, 4, 3, 9); }},
        {"Draw_Curve", 0,
         [](auto, auto d) { QDMP_Draw_Curve(d, P(0, 0), P(7, 7), P(7, 0), &kWhite); }},
    };
}

bool IsTwoMapCall(const Call& c) {
    const std::string name = c.name;
    return name.rfind("Copy_", 0) == 0 || name == "DownMip32A";
}

TEST(BadInput, MissingHandlesRecordsAndPixelsWriteNothing) {
    for (SInt16 depth : {8, 16, 32}) {
        PixMapBuffer good = GuardedMap(depth, kAll);
        good.Fill(0x5C5C5C5C);
        PixMapBuffer other = GuardedMap(depth, kAll);
        other.Fill(0x3A3A3A3A);
        const auto goodBytes = good.PixelBytes();
        const auto otherBytes = other.PixelBytes();

        PixMapPtr nullRecord = nullptr;
        PixMap noPixels = good.Record();
        noPixels.baseAddr = nullptr;
        PixMapPtr noPixelsPtr = &noPixels;
        const std::pair<const char*, PixMapHandle> bad[] = {{"null handle", nullptr},
                                                            {"null record", &nullRecord},
                                                            {"null base address", &noPixelsPtr}};

        for (const Call& call : WritingCalls()) {
            if (call.depth != 0 && call.depth != depth) continue;
            for (const auto& [what, handle] : bad) {
                SCOPED_TRACE(testing::Message()
                             << call.name << ", " << what << ", depth " << depth);
                call.run(other.Handle(), handle);                        // a bad destination
                if (IsTwoMapCall(call)) call.run(handle, good.Handle()); // a bad source
                EXPECT_EQ(good.PixelBytes(), goodBytes);
                EXPECT_EQ(other.PixelBytes(), otherBytes);
                EXPECT_TRUE(good.GuardsIntact() && other.GuardsIntact());
            }
        }
    }
}

TEST(BadInput, DepthMembersDoNothingOnMapsOfAnotherDepth) {
    for (const Call& call : WritingCalls()) {
        if (call.depth == 0) continue;
        for (SInt16 depth : {1, 4, 8, 16, 24, 32}) {
            if (depth == call.depth) continue;
            SCOPED_TRACE(testing::Message() << call.name << " on depth " << depth);
            PixMapBuffer src = GuardedMap(depth, kAll), dst = GuardedMap(depth, kAll);
            src.Fill(0xFFFFFFFF);
            const auto before = dst.PixelBytes();
            call.run(src.Handle(), dst.Handle());
            EXPECT_EQ(dst.PixelBytes(), before);
            EXPECT_TRUE(dst.GuardsIntact());
            // A source of the right depth does not help a destination of the wrong one.
            PixMapBuffer right = GuardedMap(call.depth, kAll);
            right.Fill(0xFFFFFFFF);
            call.run(right.Handle(), dst.Handle());
            EXPECT_EQ(dst.PixelBytes(), before);
        }
    }
}

TEST(BadInput, NullRectanglesAndColoursDoNothing) {
    PixMapBuffer src = GuardedMap(32, kAll), dst = GuardedMap(32, kAll);
    src.Fill(0xFFFFFFFF);
    QDMP_Copy_Rect(src.Handle(), dst.Handle(), nullptr, &kAll);
    QDMP_Copy_Rect32(src.Handle(), dst.Handle(), &kAll, nullptr);
    QDMP_Copy_Rect32A(src.Handle(), dst.Handle(), nullptr, &kAll);
    QDMP_Copy_Rect32A(src.Handle(), dst.Handle(), &kAll, nullptr);
    QDMP_Set_Pixel(dst.Handle(), 1, 1, nullptr);
    QDMP_Draw_Line(dst.Handle(), 0, 0, 5, 5, nullptr);
    QDMP_Fill_Rect(dst.Handle(), kAll, nullptr);
    QDMP_Draw_Circle(dst.Handle(), 4, 4, 2, nullptr);
    QDMP_Fill_Circle(dst.Handle(), 4, 4, 2, nullptr);
    QDMP_Draw_Curve(dst.Handle(), P(0, 0), P(5, 5), P(7, 0), nullptr);
    EXPECT_TRUE(Marked(dst).empty());

    QDMP_Set_Rect(nullptr, 1, 2, 3, 4);
    QDMP_Offset_Rect(nullptr, 1, 2);
    QDMP_Inset_Rect(nullptr, 1, 2);
    Rect out{1, 2, 3, 4};
    EXPECT_FALSE(QDMP_Intersect_Rects(nullptr, &kAll, &out));
    EXPECT_FALSE(QDMP_Intersect_Rects(&kAll, nullptr, &out));
    EXPECT_EQ(out, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(QDMP_MidPointRect(nullptr), P(0, 0));
    EXPECT_EQ(RGBColorToColor16(nullptr), 0);
    EXPECT_EQ(RGBColorToColor32(nullptr), 0u);
}

TEST(BadInput, ReadsGiveNeutralValues) {
    PixMapPtr nullRecord = nullptr;
    for (PixMapHandle handle : {PixMapHandle(nullptr), &nullRecord}) {
        EXPECT_EQ(QDMP_Get_Pixel(handle, 0, 0), (RGBColor{0, 0, 0}));
        EXPECT_EQ(QDMP_Get_PixelP(handle, P(0, 0)), (RGBColor{0, 0, 0}));
        EXPECT_EQ(QDMP_Get_Pixel8(handle, 0, 0), 0);
        EXPECT_EQ(QDMP_Get_Pixel16(handle, 0, 0), 0);
        EXPECT_EQ(QDMP_Get_Pixel32(handle, 0, 0), 0u);
        EXPECT_EQ(RGBColorToColor8(handle, &kWhite), 255);
        EXPECT_EQ(FindColorByIndex(handle, 1), (RGBColor{0, 0, 0}));
    }
}

TEST(BadInput, MissingOrEmptyColourTablesAndNegativeIndices) {
    const RGBColor grey{30000, 30000, 30000};
    PixMapBuffer noTable = GuardedMap(8, kAll);
    EXPECT_EQ(RGBColorToColor8(noTable.Handle(), &grey), 255);
    EXPECT_EQ(FindColorByIndex(noTable.Handle(), 3), (RGBColor{0, 0, 0}));
    EXPECT_EQ(QDMP_Get_Pixel(noTable.Handle(), 0, 0), (RGBColor{0, 0, 0}));

    PixMapBuffer withTable = GuardedMap(8, kAll, std::vector<RGBColor>{grey, kWhite});
    CTabPtr nullTable = nullptr;
    withTable.Record().pmTable = &nullTable; // a table handle to nothing
    EXPECT_EQ(RGBColorToColor8(withTable.Handle(), &grey), 255);
    EXPECT_EQ(FindColorByIndex(withTable.Handle(), 0), (RGBColor{0, 0, 0}));

    // A table of no entries (ctSize -1): nothing in it is read.
    PixMapBuffer empty = GuardedMap(8, kAll, std::vector<RGBColor>{});
    ASSERT_EQ((*(*empty.Handle())->pmTable)->ctSize, -1);
    EXPECT_EQ(RGBColorToColor8(empty.Handle(), &grey), 255);
    EXPECT_EQ(FindColorByIndex(empty.Handle(), 0), (RGBColor{0, 0, 0}));

    PixMapBuffer table = GuardedMap(8, kAll, std::vector<RGBColor>{grey, kWhite});
    EXPECT_EQ(RGBColorToColor8(table.Handle(), nullptr), 255);
    EXPECT_EQ(FindColorByIndex(table.Handle(), -1), (RGBColor{0, 0, 0}));
    EXPECT_EQ(FindColorByIndex(table.Handle(), -32768), (RGBColor{0, 0, 0}));
}

} // namespace
