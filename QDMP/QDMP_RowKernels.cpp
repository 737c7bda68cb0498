// The generic row kernels (plain loops, the reference for the vector ones) and
// the choice of the table in use.
#include "QDMP_RowKernels.h"

#include "QDMP_MapAccess.h"
#include "QDMP_PixelMath.h"

#include <atomic>

namespace qdmp {

namespace {

void FillRow32(UInt8* row, std::size_t count, UInt32 value) {
    for (std::size_t i = 0; i < count; ++i)
        StorePixel<UInt32>(row + 4 * i, value);
}

void BlendRow32(const UInt8* src, UInt8* dst, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        StorePixel<UInt32>(dst + 4 * i, BlendPixel(LoadPixel<UInt32>(src + 4 * i),
                                                   LoadPixel<UInt32>(dst + 4 * i)));
}

void DownMipRow32(const UInt8* upper, const UInt8* lower, UInt8* dst, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const UInt32 pixel =
            DownMipPixel(LoadPixel<UInt32>(upper + 8 * i), LoadPixel<UInt32>(upper + 8 * i + 4),
                         LoadPixel<UInt32>(lower + 8 * i), LoadPixel<UInt32>(lower + 8 * i + 4));
        StorePixel<UInt32>(dst + 4 * i, pixel);
    }
}

constexpr RowKernels kGeneric{"generic", FillRow32, BlendRow32, DownMipRow32};

std::atomic<bool> forceGeneric{false};

} // namespace

const RowKernels& GenericRowKernels() {
    return kGeneric;
}

const RowKernels& FastRowKernels() {
    return VectorRowKernels();
}

const RowKernels& ActiveRowKernels() {
    return forceGeneric.load(std::memory_order_relaxed) ? kGeneric : FastRowKernels();
}

void UseGenericRowKernels(bool generic) {
    forceGeneric.store(generic, std::memory_order_relaxed);
}

} // namespace qdmp
