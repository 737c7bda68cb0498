// The random generator: a linear congruential generator modulo 2^31 with a
// fixed start, the library's one piece of state, and its two range functions.
#include "QDMP_Internal.h"

#include <atomic>

namespace {

constexpr SInt32 kInitialState = 314159;

// Each call takes one whole step (compare-and-swap), so concurrent callers never
// race on the word; they share one sequence.
std::atomic<SInt32> state{kInitialState};

SInt32 Step(SInt32 current) {
    return SInt32((UInt32(current) * 1103515245u + 12345u) & 0x7FFFFFFFu);
}

} // namespace

namespace qdmp {

void ResetRandomGenerator() {
    state.store(kInitialState, std::memory_order_relaxed);
}

} // namespace qdmp

// Bits 21 to 6 of the new state, read as a signed 16-bit value.
SInt16 QDMP_RandomSInt16(void) {
    SInt32 current = state.load(std::memory_order_relaxed);
    SInt32 next = Step(current);
    while (!state.compare_exchange_weak(current, next, std::memory_order_relaxed))
        next = Step(current);
    return SInt16(UInt16(UInt32(next) >> 6));
}

SInt16 QDMP_Random_RangeSInt16(SInt16 pMin, SInt16 pMax) {
    const UInt16 number = UInt16(QDMP_RandomSInt16() + 32767);
    const SInt32 d = SInt32(pMax) - SInt32(pMin);
    // number is never negative, so the truncating remainder is not either.
    const SInt32 r = (d == 0) ? SInt32(number) : SInt32(number) % d;
    return SInt16(UInt16(SInt32(pMin) + r));
}

SInt32 QDMP_Random_RangeSInt32(SInt32 pMin, SInt32 pMax) {
    const UInt32 r1 = UInt32(SInt32(QDMP_RandomSInt16()));
    const UInt32 r2 = UInt32(SInt32(QDMP_RandomSInt16()));
    const UInt32 r3 = UInt32(SInt32(QDMP_RandomSInt16()));
    const UInt32 random = (r1 << 16) ^ (r2 << 8) ^ r3;
    const UInt32 d = UInt32(pMax) - UInt32(pMin) + 1u; // 0 for the full 32-bit range
    const SInt32 result = SInt32(UInt32(pMin) + (d == 0 ? random : random % d));
    if (result < pMin) return pMin;
    if (result > pMax) return pMax;
    return result;
}
