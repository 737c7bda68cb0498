// How the library reaches a map: bounds, base address and row bytes read once
// per call, the inside test, and pixel loads and stores of 1, 2 or 4 bytes.
//
// Addresses are kept as byte offsets from the base while walking, and a pixel's
// address is formed only when that pixel is inside the map, so no pointer ever
// points outside a map.
#pragma once

#include "QuickDraw.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>

namespace qdmp {

// The pixel type of each depth and back.
template <typename Pixel> constexpr SInt16 kDepthOf = SInt16(sizeof(Pixel) * 8);

struct MapView {
    Rect bounds;
    UInt8* base;
    std::ptrdiff_t rowBytes;
    SInt16 pixelSize;
    CTabHandle table;

    bool Inside(int h, int v) const {
        return h >= bounds.left && h < bounds.right && v >= bounds.top && v < bounds.bottom;
    }
    bool RowInside(int v) const { return v >= bounds.top && v < bounds.bottom; }
    // Byte offset of (h, v) from the base: pure arithmetic, valid for any (h, v).
    std::ptrdiff_t Offset(int h, int v, int bytesPerPixel) const {
        return std::ptrdiff_t(v - bounds.top) * rowBytes +
               std::ptrdiff_t(h - bounds.left) * bytesPerPixel;
    }
    // The address of (h, v): callers keep (h, v) inside.
    UInt8* At(int h, int v, int bytesPerPixel) const { return base + Offset(h, v, bytesPerPixel); }
    // The address at a byte offset: callers keep the offset on a pixel inside.
    UInt8* AtOffset(std::ptrdiff_t offset) const { return base + offset; }
};

// The map's pixelSize, 0 for a null handle or record.
inline SInt16 PixelSizeOf(PixMapHandle handle) {
    return (handle != nullptr && *handle != nullptr) ? (*handle)->pixelSize : 0;
}

// The map behind a handle: nullopt for a null handle, a null record or a null
// base address. Base and row bytes come from the accessors, never the record.
inline std::optional<MapView> ViewMap(PixMapHandle handle) {
    if (handle == nullptr || *handle == nullptr) return std::nullopt;
    Ptr base = GetPixBaseAddr(handle);
    if (base == nullptr) return std::nullopt;
    const PixMap& record = **handle;
    return MapView{record.bounds, reinterpret_cast<UInt8*>(base), GetPixRowBytes(handle),
                   record.pixelSize, record.pmTable};
}

// The same, for a map of exactly `depth` bits per pixel only.
inline std::optional<MapView> ViewMap(PixMapHandle handle, SInt16 depth) {
    if (handle == nullptr || *handle == nullptr || (*handle)->pixelSize != depth)
        return std::nullopt;
    return ViewMap(handle);
}

template <typename Pixel> inline Pixel LoadPixel(const UInt8* at) {
    Pixel value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename Pixel> inline void StorePixel(UInt8* at, Pixel value) {
    std::memcpy(at, &value, sizeof value);
}

// A half-open column range [from, to) and its cut to [lo, hi).
struct Range {
    int from;
    int to;
    bool Empty() const { return from >= to; }
    int Length() const { return to - from; }
    Range Within(int lo, int hi) const { return {std::max(from, lo), std::min(to, hi)}; }
};

// min(a, b) <= h < max(a, b): the range a span or scan covers.
inline Range Ordered(int a, int b) {
    return a <= b ? Range{a, b} : Range{b, a};
}

// Cuts two ranges of equal length, paired pixel by pixel, to [aLo, aHi) and
// [bLo, bHi): a column cut from one is cut from the other, so the pairing
// holds. Either may come out empty.
inline void CutPaired(Range& a, Range& b, int aLo, int aHi, int bLo, int bHi) {
    const int cutLeft = std::max({0, aLo - a.from, bLo - b.from});
    const int cutRight = std::max({0, a.to - aHi, b.to - bHi});
    a.from += cutLeft;
    b.from += cutLeft;
    a.to -= cutRight;
    b.to -= cutRight;
}

} // namespace qdmp
