// The inner loops of the 32-bit fill, blend and down-mip, one row at a time.
// A generic table (plain loops, the reference) and a fast one (SSE2 or AVX2,
// chosen once for the machine) give identical bytes; ActiveRowKernels() is the
// one lookup each call makes.
//
// Callers clip: every pixel a kernel touches lies inside its map. Rows may
// overlap (one map as source and destination): a kernel then gives the bytes
// of a left-to-right, pixel-by-pixel pass.
#pragma once

#include "MacTypes.h"

#include <cstddef>
#include <cstdint>

namespace qdmp {

struct RowKernels {
    const char* name;
    // `count` pixels of `value` from `row`.
    void (*fill32)(UInt8* row, std::size_t count, UInt32 value);
    // `count` pixels of `src` blended onto `dst`.
    void (*blend32)(const UInt8* src, UInt8* dst, std::size_t count);
    // `count` destination pixels from 2 * `count` pixels of each source row.
    void (*downMip32)(const UInt8* upper, const UInt8* lower, UInt8* dst, std::size_t count);
};

const RowKernels& GenericRowKernels();
// The vector table for this machine (QDMP_RowKernelsX86.cpp), or the generic one.
const RowKernels& VectorRowKernels();
// The fastest table this machine runs (the generic one where no vector code exists).
const RowKernels& FastRowKernels();
// The table in use: the fast one, unless tests forced the generic one.
const RowKernels& ActiveRowKernels();
// Forces the generic kernels (true) or restores the fast ones (false), for tests
// and benchmarks that compare the two.
void UseGenericRowKernels(bool generic);

// True when writing `dst` left to right could change `src` bytes before a
// vector kernel has read them: the ranges overlap and the destination starts
// after the source. Vector kernels fall back to the generic loop then.
inline bool WritesAheadOfReads(const UInt8* src, std::size_t srcBytes, const UInt8* dst,
                               std::size_t dstBytes) {
    const auto s = reinterpret_cast<std::uintptr_t>(src);
    const auto d = reinterpret_cast<std::uintptr_t>(dst);
    return d > s && d < s + srcBytes && dstBytes > 0;
}

} // namespace qdmp
