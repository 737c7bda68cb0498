#include "Port.h"

#include <utility>

namespace {
constexpr SInt16 kRGBDirect = 16;           // pixelType of direct-colour maps
constexpr OSType k32ARGBPixelFormat = 0x20; // the classic 32-bit format code
} // namespace

OpaqueGrafPtr::OpaqueGrafPtr(Ptr base, SInt32 rowBytes, const Rect& bounds) {
    FillRecord(base, rowBytes, bounds);
}

OpaqueGrafPtr::OpaqueGrafPtr(
    std::unique_ptr<zt::drawing::Pixel[], zt::drawing::FreeDeleter> ownPixels, const Rect& bounds)
    : ownPixels_(std::move(ownPixels)) {
    SInt32 rowBytes = SInt32((int(bounds.right) - int(bounds.left)) * sizeof(zt::drawing::Pixel));
    FillRecord(reinterpret_cast<Ptr>(ownPixels_.get()), rowBytes, bounds);
}

void OpaqueGrafPtr::FillRecord(Ptr base, SInt32 rowBytes, const Rect& bounds) {
    pixMap.baseAddr = base;
    pixMap.rowBytes = rowBytes;
    pixMap.bounds = bounds;
    pixMap.pmVersion = 0;
    pixMap.pixelType = kRGBDirect;
    pixMap.pixelSize = 32;
    pixMap.cmpCount = 3;
    pixMap.cmpSize = 8;
    pixMap.pixelFormat = k32ARGBPixelFormat;
    pixMap.pmTable = nullptr; // direct pixels need no colour table
}
