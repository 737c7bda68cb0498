// Vector row kernels for x86: SSE2 (always there on x86-64) and AVX2 (chosen
// at run time when the processor has it). Each handles whole vectors and
// leaves the tail to the per-pixel arithmetic, so its bytes equal the generic
// kernels'. Elsewhere the generic table is used.
#include "QDMP_RowKernels.h"

#include "QDMP_MapAccess.h"
#include "QDMP_PixelMath.h"

#if defined(__x86_64__) || defined(__SSE2__)
#include <immintrin.h>
#define QDMP_X86_KERNELS 1
#endif

namespace qdmp {

#if QDMP_X86_KERNELS

namespace {

// ---- scalar tails -------------------------------------------------------------

void FillTail(UInt8* row, std::size_t count, UInt32 value) {
    for (std::size_t i = 0; i < count; ++i)
        StorePixel<UInt32>(row + 4 * i, value);
}

void BlendTail(const UInt8* src, UInt8* dst, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        StorePixel<UInt32>(dst + 4 * i, BlendPixel(LoadPixel<UInt32>(src + 4 * i),
                                                   LoadPixel<UInt32>(dst + 4 * i)));
}

void DownMipTail(const UInt8* upper, const UInt8* lower, UInt8* dst, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        StorePixel<UInt32>(dst + 4 * i, DownMipPixel(LoadPixel<UInt32>(upper + 8 * i),
                                                     LoadPixel<UInt32>(upper + 8 * i + 4),
                                                     LoadPixel<UInt32>(lower + 8 * i),
                                                     LoadPixel<UInt32>(lower + 8 * i + 4)));
}

// Pixels to store one by one before `row` reaches an `alignment`-byte boundary
// (none when the row is not even 4-byte aligned: it then stays unaligned).
std::size_t PixelsToAlignment(const UInt8* row, std::size_t count, std::size_t alignment) {
    const auto address = reinterpret_cast<std::uintptr_t>(row);
    if (address % 4 != 0) return 0;
    return std::min(count, ((alignment - address % alignment) % alignment) / 4);
}

// ---- SSE2: four pixels per vector ----------------------------------------------

void FillRow32Sse2(UInt8* row, std::size_t count, UInt32 value) {
    const std::size_t head = PixelsToAlignment(row, count, 16);
    FillTail(row, head, value);
    row += 4 * head;
    count -= head;
    const __m128i v = _mm_set1_epi32(int(value));
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + 4 * i), v);
    FillTail(row + 4 * i, count - i, value);
}

// Two pixels widened to 16-bit lanes: s * a >> 8 + d * (255 - a) >> 8.
inline __m128i BlendWide(__m128i s, __m128i d) {
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
    const __m128i notAlpha = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(s, alpha), 8),
                         _mm_srli_epi16(_mm_mullo_epi16(d, notAlpha), 8));
}

void BlendRow32Sse2(const UInt8* src, UInt8* dst, std::size_t count) {
    if (WritesAheadOfReads(src, 4 * count, dst, 4 * count)) return BlendTail(src, dst, count);
    const __m128i zero = _mm_setzero_si128();
    const __m128i colourMask = _mm_set1_epi32(0x00FFFFFF);
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + 4 * i));
        const __m128i low = BlendWide(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
        const __m128i high = BlendWide(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i),
                         _mm_and_si128(_mm_packus_epi16(low, high), colourMask));
    }
    BlendTail(src + 4 * i, dst + 4 * i, count - i);
}

inline __m128i HalveLanes128(__m128i w) {
    return _mm_srli_epi32(_mm_and_si128(w, _mm_set1_epi32(int(0xFEFEFEFEu))), 1);
}

// Four destination pixels from eight pixels of each row: even and odd source
// pixels are split apart, halved and added lane by lane.
inline __m128i PairSums128(const UInt8* row) {
    const __m128 a =
        _mm_castsi128_ps(HalveLanes128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row))));
    const __m128 b = _mm_castsi128_ps(
        HalveLanes128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 16))));
    const __m128i even = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m128i odd = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
    return _mm_add_epi32(even, odd);
}

bool DownMipOverlaps(const UInt8* upper, const UInt8* lower, const UInt8* dst, std::size_t count) {
    return WritesAheadOfReads(upper, 8 * count, dst, 4 * count) ||
           WritesAheadOfReads(lower, 8 * count, dst, 4 * count);
}

void DownMipRow32Sse2(const UInt8* upper, const UInt8* lower, UInt8* dst, std::size_t count) {
    if (DownMipOverlaps(upper, lower, dst, count)) return DownMipTail(upper, lower, dst, count);
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i top = PairSums128(upper + 8 * i);
        const __m128i bottom = PairSums128(lower + 8 * i);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i),
                         _mm_add_epi32(HalveLanes128(top), HalveLanes128(bottom)));
    }
    DownMipTail(upper + 8 * i, lower + 8 * i, dst + 4 * i, count - i);
}

// ---- AVX2: eight pixels per vector ---------------------------------------------

__attribute__((target("avx2"))) void FillRow32Avx2(UInt8* row, std::size_t count, UInt32 value) {
    const std::size_t head = PixelsToAlignment(row, count, 32);
    FillTail(row, head, value);
    row += 4 * head;
    count -= head;
    const __m256i v = _mm256_set1_epi32(int(value));
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + 4 * i), v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + 4 * i + 32), v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + 4 * i + 64), v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + 4 * i + 96), v);
    }
    for (; i + 8 <= count; i += 8)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + 4 * i), v);
    FillTail(row + 4 * i, count - i, value);
}

__attribute__((target("avx2"))) inline __m256i BlendWide256(__m256i s, __m256i d) {
    const __m256i alpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s, 0xFF), 0xFF);
    const __m256i notAlpha = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha);
    return _mm256_add_epi16(_mm256_srli_epi16(_mm256_mullo_epi16(s, alpha), 8),
                            _mm256_srli_epi16(_mm256_mullo_epi16(d, notAlpha), 8));
}

__attribute__((target("avx2"))) void BlendRow32Avx2(const UInt8* src, UInt8* dst,
                                                    std::size_t count) {
    if (WritesAheadOfReads(src, 4 * count, dst, 4 * count)) return BlendTail(src, dst, count);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i colourMask = _mm256_set1_epi32(0x00FFFFFF);
    std::size_t i = 0;
    // Unpack and pack both work within 128-bit halves, so pixel order is kept.
    for (; i + 8 <= count; i += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 4 * i));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + 4 * i));
        const __m256i low =
            BlendWide256(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero));
        const __m256i high =
            BlendWide256(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 4 * i),
                            _mm256_and_si256(_mm256_packus_epi16(low, high), colourMask));
    }
    BlendTail(src + 4 * i, dst + 4 * i, count - i);
}

__attribute__((target("avx2"))) inline __m256i HalveLanes256(__m256i w) {
    return _mm256_srli_epi32(_mm256_and_si256(w, _mm256_set1_epi32(int(0xFEFEFEFEu))), 1);
}

// Eight destination pixels from sixteen pixels of a row. The in-lane shuffles
// leave them in the order 0 1 4 5 2 3 6 7 (pairs); the caller restores it.
__attribute__((target("avx2"))) inline __m256i PairSums256(const UInt8* row) {
    const __m256 a = _mm256_castsi256_ps(
        HalveLanes256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row))));
    const __m256 b = _mm256_castsi256_ps(
        HalveLanes256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 32))));
    const __m256i even = _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m256i odd = _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
    return _mm256_add_epi32(even, odd);
}

__attribute__((target("avx2"))) void DownMipRow32Avx2(const UInt8* upper, const UInt8* lower,
                                                      UInt8* dst, std::size_t count) {
    if (DownMipOverlaps(upper, lower, dst, count)) return DownMipTail(upper, lower, dst, count);
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i top = PairSums256(upper + 8 * i);
        const __m256i bottom = PairSums256(lower + 8 * i);
        const __m256i mixed = _mm256_add_epi32(HalveLanes256(top), HalveLanes256(bottom));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 4 * i),
                            _mm256_permute4x64_epi64(mixed, _MM_SHUFFLE(3, 1, 2, 0)));
    }
    DownMipTail(upper + 8 * i, lower + 8 * i, dst + 4 * i, count - i);
}

constexpr RowKernels kSse2{"sse2", FillRow32Sse2, BlendRow32Sse2, DownMipRow32Sse2};
constexpr RowKernels kAvx2{"avx2", FillRow32Avx2, BlendRow32Avx2, DownMipRow32Avx2};

} // namespace

const RowKernels& VectorRowKernels() {
    static const RowKernels& chosen = []() -> const RowKernels& {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") ? kAvx2 : kSse2;
    }();
    return chosen;
}

#else

const RowKernels& VectorRowKernels() {
    return GenericRowKernels();
}

#endif

} // namespace qdmp
