// A port: a 32-bit pixel map (x-8-8-8, native order) and its drawing state.
// The pixels are either the port's own (an offscreen world) or the caller's
// (NewPortOnPixels). The PixMap record and the pointer its handle points at live
// inside the port, so the handle stays valid for the port's whole life.
#pragma once

#include "Geometry.h"
#include "QuickDraw.h"

#include <cstdlib>
#include <memory>

namespace zt::drawing {

// A pixel value: 0x00RRGGBB. The top byte is written as 0.
using Pixel = UInt32;

struct PenState {
    Pixel foreColor = 0x000000; // black
    Pixel backColor = 0xFFFFFF; // white
    Point pen = {0, 0};
    SInt16 textSize = 0; // 0: the default size
    SInt16 textMode = srcOr;
    SInt16 textFont = 0; // 0: the default font, the only one offered
};

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

} // namespace zt::drawing

struct OpaqueGrafPtr {
    // Largest side and pixel count an offscreen world may have (1 GiB of pixels).
    static constexpr int kMaxSide = 32767;
    static constexpr long long kMaxPixels = 1LL << 28;

    // Wraps pixels the port does not own; `base` is 4-byte aligned and
    // `rowBytes` at least the width in bytes (callers check).
    OpaqueGrafPtr(Ptr base, SInt32 rowBytes, const Rect& bounds);
    // Takes zero-filled pixels of the bounds' size (from calloc), laid out row after row.
    OpaqueGrafPtr(std::unique_ptr<zt::drawing::Pixel[], zt::drawing::FreeDeleter> ownPixels,
                  const Rect& bounds);
    OpaqueGrafPtr(const OpaqueGrafPtr&) = delete;
    OpaqueGrafPtr& operator=(const OpaqueGrafPtr&) = delete;

    PixMapHandle Handle() { return &pixMapPtr; }
    zt::drawing::Box Bounds() const { return zt::drawing::Box::Of(pixMap.bounds); }
    // The pixel at (bounds.left, v): callers keep v within the bounds.
    zt::drawing::Pixel* Row(int v) const {
        return reinterpret_cast<zt::drawing::Pixel*>(
            pixMap.baseAddr + std::ptrdiff_t(v - pixMap.bounds.top) * pixMap.rowBytes);
    }
    // The pixel at (h, v): callers keep (h, v) within the bounds.
    zt::drawing::Pixel* At(int h, int v) const { return Row(v) + (h - pixMap.bounds.left); }
    std::ptrdiff_t RowBytes() const { return pixMap.rowBytes; }

    zt::drawing::PenState state;

  private:
    void FillRecord(Ptr base, SInt32 rowBytes, const Rect& bounds);

    std::unique_ptr<zt::drawing::Pixel[], zt::drawing::FreeDeleter> ownPixels_;
    PixMap pixMap{};
    PixMapPtr pixMapPtr = &pixMap;
};
