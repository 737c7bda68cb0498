// Offscreen worlds, ports over caller-owned pixels, and the current port.
#include "DrawingLog.h"
#include "Toolbox.h"

#include <cstdint>
#include <new>

using zt::drawing::Box;
using zt::drawing::FreeDeleter;
using zt::drawing::LogDrawingProblem;
using zt::drawing::Pixel;
using zt::drawing::ToolboxSession;

namespace {

// True when `bounds` can describe a pixel map: both sides positive, no side
// longer than a 16-bit coordinate can reach, at most kMaxPixels pixels.
bool UsableBounds(const Rect* bounds, const char* call) {
    if (bounds == nullptr) {
        LogDrawingProblem(call, "no bounds");
        return false;
    }
    const Box box = Box::Of(*bounds);
    if (box.IsEmpty()) {
        LogDrawingProblem(call, "empty bounds");
        return false;
    }
    if (box.Width() > OpaqueGrafPtr::kMaxSide || box.Height() > OpaqueGrafPtr::kMaxSide ||
        (long long)box.Width() * box.Height() > OpaqueGrafPtr::kMaxPixels) {
        LogDrawingProblem(call, "bounds too large");
        return false;
    }
    return true;
}

} // namespace

QDErr NewGWorld(GWorldPtr* offscreenGWorld, SInt16 pixelDepth, const Rect* boundsRect,
                CTabHandle /*cTable: direct pixels use none*/, GDHandle /*aGDevice*/,
                GWorldFlags /*flags: memory placement is the allocator's*/) {
    if (offscreenGWorld == nullptr) {
        LogDrawingProblem("NewGWorld", "no place for the world");
        return paramErr;
    }
    *offscreenGWorld = nullptr;
    if (pixelDepth != 32) {
        LogDrawingProblem("NewGWorld", "only depth 32 is offered");
        return paramErr;
    }
    if (!UsableBounds(boundsRect, "NewGWorld")) return paramErr;

    const Box box = Box::Of(*boundsRect);
    // calloc hands out zeroed pages lazily: a large canvas costs nothing until drawn.
    std::unique_ptr<Pixel[], FreeDeleter> pixels(static_cast<Pixel*>(
        std::calloc(size_t(box.Width()) * size_t(box.Height()), sizeof(Pixel))));
    if (!pixels) return memFullErr;
    std::unique_ptr<OpaqueGrafPtr> world(new (std::nothrow)
                                             OpaqueGrafPtr(std::move(pixels), *boundsRect));
    if (!world) return memFullErr;

    ToolboxSession session;
    CGrafPtr port = session.Adopt(std::move(world));
    if (port == nullptr) return memFullErr;
    *offscreenGWorld = port;
    return noErr;
}

void DisposeGWorld(GWorldPtr offscreenWorld) {
    ToolboxSession session;
    session.Release(offscreenWorld, "DisposeGWorld"); // freed here, with its own pixels
}

CGrafPtr NewPortOnPixels(Ptr baseAddr, SInt32 rowBytes, const Rect* bounds) {
    if (!UsableBounds(bounds, "NewPortOnPixels")) return nullptr;
    const Box box = Box::Of(*bounds);
    if (baseAddr == nullptr || reinterpret_cast<std::uintptr_t>(baseAddr) % alignof(Pixel) != 0) {
        LogDrawingProblem("NewPortOnPixels", "pixels missing or not 4-byte aligned");
        return nullptr;
    }
    if (rowBytes % SInt32(sizeof(Pixel)) != 0 || rowBytes < box.Width() * SInt32(sizeof(Pixel))) {
        LogDrawingProblem("NewPortOnPixels", "row bytes shorter than a row or not whole pixels");
        return nullptr;
    }
    std::unique_ptr<OpaqueGrafPtr> port(new (std::nothrow)
                                            OpaqueGrafPtr(baseAddr, rowBytes, *bounds));
    if (!port) return nullptr;
    ToolboxSession session;
    return session.Adopt(std::move(port));
}

void DisposePortOnPixels(CGrafPtr port) {
    ToolboxSession session;
    session.Release(port, "DisposePortOnPixels"); // the pixels stay the caller's
}

void GetGWorld(CGrafPtr* port, GDHandle* gdh) {
    ToolboxSession session;
    if (port != nullptr) *port = &session.CurrentPort();
    if (gdh != nullptr) *gdh = session.CurrentDevice();
}

void SetGWorld(CGrafPtr port, GDHandle gdh) {
    ToolboxSession session;
    session.SetCurrent(port, gdh);
}

PixMapHandle GetGWorldPixMap(GWorldPtr offscreenWorld) {
    ToolboxSession session;
    OpaqueGrafPtr* live = session.LivePort(offscreenWorld, "GetGWorldPixMap");
    return live != nullptr ? live->Handle() : nullptr;
}

PixMapHandle GetPortPixMap(CGrafPtr port) {
    ToolboxSession session;
    OpaqueGrafPtr* live = session.LivePort(port, "GetPortPixMap");
    return live != nullptr ? live->Handle() : nullptr;
}

Rect* GetPortBounds(CGrafPtr port, Rect* rect) {
    if (rect == nullptr) return nullptr;
    ToolboxSession session;
    OpaqueGrafPtr* live = session.LivePort(port, "GetPortBounds");
    *rect = live != nullptr ? (*live->Handle())->bounds : Rect{0, 0, 0, 0};
    return rect;
}

// Pixels never move: locking only says they are there.
Boolean LockPixels(PixMapHandle pm) {
    return pm != nullptr && *pm != nullptr;
}

void UnlockPixels(PixMapHandle /*pm*/) {}
