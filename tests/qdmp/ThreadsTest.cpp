// Calls from several threads at once: the random generator hands out whole
// steps of its one sequence, and drawing into different maps does not mix.
#include "TestMaps.h"

#include <algorithm>
#include <thread>

namespace {

using namespace qdmp_test;

TEST(Threads, ConcurrentRandomCallsShareOneSequenceStepByStep) {
    constexpr int kThreads = 4, kCalls = 5000;
    qdmp::ResetRandomGenerator();
    std::vector<SInt16> expected(kThreads * kCalls);
    for (SInt16& value : expected)
        value = QDMP_RandomSInt16();

    qdmp::ResetRandomGenerator();
    std::vector<std::vector<SInt16>> drawn(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&drawn, t] {
            for (int i = 0; i < kCalls; ++i)
                drawn[std::size_t(t)].push_back(QDMP_RandomSInt16());
        });
    for (std::thread& thread : threads)
        thread.join();

    // No step is lost or taken twice: together the threads drew the sequence.
    std::vector<SInt16> all;
    for (const auto& part : drawn)
        all.insert(all.end(), part.begin(), part.end());
    std::sort(all.begin(), all.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(all, expected);
}

TEST(Threads, DrawingIntoDifferentMapsAtOnce) {
    constexpr int kThreads = 4;
    std::vector<PixMapBuffer> maps;
    for (int t = 0; t < kThreads; ++t)
        maps.push_back(GuardedMap(32, {0, 0, 64, 64}));
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&maps, t] {
            const PixMapBuffer& map = maps[std::size_t(t)];
            for (int i = 0; i < 200; ++i) {
                QDMP_Fill_Rect32(map.Handle(), Rect{0, 0, 64, 64}, UInt32(t + 1));
                QDMP_Fill_Circle32(map.Handle(), 32, 32, 20, UInt32(t + 1));
                QDMP_Draw_Line32(map.Handle(), 0, 0, 63, 63, UInt32(t + 1));
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(Marked(maps[std::size_t(t)], UInt32(t + 1)).size(), 0u) << t;
        EXPECT_TRUE(maps[std::size_t(t)].GuardsIntact());
    }
}

} // namespace
