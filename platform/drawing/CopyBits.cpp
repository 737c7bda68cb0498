// The block copy between ports (srcCopy): same-size rectangles copy rows,
// different sizes scale by nearest neighbour. The copy is clipped to both ports'
// bounds; when source and destination pixels share memory, rows are copied in
// an order that reads every source pixel before it is overwritten, or through a
// copy of the source.
#include "DrawingLog.h"
#include "Toolbox.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

using namespace zt::drawing;

namespace {

// Pixels read by port coordinates: a port's own, or a private copy of some of them.
struct PixelView {
    const UInt8* origin; // the pixel at (left, top)
    std::ptrdiff_t rowBytes;
    int left, top;

    static PixelView Of(const OpaqueGrafPtr& port) {
        const Box bounds = port.Bounds();
        return {reinterpret_cast<const UInt8*>(port.At(bounds.left, bounds.top)), port.RowBytes(),
                bounds.left, bounds.top};
    }
    // The pixel at (h, v): callers keep (h, v) inside what the view covers.
    const Pixel* At(int h, int v) const {
        return reinterpret_cast<const Pixel*>(origin + std::ptrdiff_t(v - top) * rowBytes) +
               (h - left);
    }
};

// The bytes that `box` of `port` spans, first to one past the last.
struct ByteSpan {
    std::uintptr_t first, end;
    bool Overlaps(const ByteSpan& o) const { return first < o.end && o.first < end; }
};
ByteSpan SpanOf(const OpaqueGrafPtr& port, const Box& box) {
    return {reinterpret_cast<std::uintptr_t>(port.At(box.left, box.top)),
            reinterpret_cast<std::uintptr_t>(port.At(box.right - 1, box.bottom - 1) + 1)};
}

// A copy of `box` of `port`, read through a view at the same coordinates.
struct SourceCopy {
    SourceCopy(const SourceCopy&) = delete;
    SourceCopy& operator=(const SourceCopy&) = delete;
    SourceCopy(const OpaqueGrafPtr& port, const Box& box)
        : pixels(size_t(box.Width()) * size_t(box.Height())) {
        const size_t rowBytes = size_t(box.Width()) * sizeof(Pixel);
        for (int v = box.top; v < box.bottom; ++v)
            std::memcpy(&pixels[size_t(v - box.top) * size_t(box.Width())], port.At(box.left, v),
                        rowBytes);
        view = {reinterpret_cast<const UInt8*>(pixels.data()), std::ptrdiff_t(rowBytes), box.left,
                box.top};
    }
    std::vector<Pixel> pixels;
    PixelView view{};
};

// Same size: `dstRect` is `srcRect` moved by (dh, dv).
void CopySameSize(const OpaqueGrafPtr& src, const OpaqueGrafPtr& dst, const Box& srcRect, int dh,
                  int dv) {
    const Box from = srcRect.Intersect(src.Bounds()).Intersect(dst.Bounds().Offset(-dh, -dv));
    if (from.IsEmpty()) return;
    const Box to = from.Offset(dh, dv);
    const size_t rowBytes = size_t(from.Width()) * sizeof(Pixel);

    if (!SpanOf(src, from).Overlaps(SpanOf(dst, to))) {
        for (int v = from.top; v < from.bottom; ++v)
            std::memcpy(dst.At(to.left, v + dv), src.At(from.left, v), rowBytes);
        return;
    }
    if (src.RowBytes() == dst.RowBytes()) {
        // Every row moves by the same byte distance: copying the rows in the
        // direction of the move, each with memmove, never reads an overwritten pixel.
        const bool movesUp = reinterpret_cast<std::uintptr_t>(dst.At(to.left, to.top)) >
                             reinterpret_cast<std::uintptr_t>(src.At(from.left, from.top));
        for (int i = 0; i < from.Height(); ++i) {
            const int v = movesUp ? from.bottom - 1 - i : from.top + i;
            std::memmove(dst.At(to.left, v + dv), src.At(from.left, v), rowBytes);
        }
        return;
    }
    const SourceCopy copy(src, from);
    for (int v = from.top; v < from.bottom; ++v)
        std::memcpy(dst.At(to.left, v + dv), copy.view.At(from.left, v), rowBytes);
}

// Nearest neighbour: the source coordinate under the centre of destination
// pixel `offset` (0 .. dstLength-1) of a run of `dstLength` over `srcLength`.
int SourceOffset(int offset, int srcLength, int dstLength) {
    return int((2 * std::int64_t(offset) + 1) * srcLength / (2 * std::int64_t(dstLength)));
}

// The destination coordinates in [clipFirst, clipEnd) whose source coordinate
// lies in [srcFirst, srcEnd); the mapping only grows, so they form one run.
struct Run {
    int first = 0, end = 0;
};
Run SourceRun(int clipFirst, int clipEnd, int dstStart, int dstLength, int srcStart, int srcLength,
              int srcFirst, int srcEnd) {
    auto source = [&](int d) {
        return srcStart + SourceOffset(d - dstStart, srcLength, dstLength);
    };
    Run run{clipFirst, clipEnd};
    while (run.first < run.end && source(run.first) < srcFirst)
        ++run.first;
    while (run.end > run.first && source(run.end - 1) >= srcEnd)
        --run.end;
    return run;
}

void CopyScaled(const OpaqueGrafPtr& src, const OpaqueGrafPtr& dst, const Box& srcRect,
                const Box& dstRect) {
    const Box clip = dstRect.Intersect(dst.Bounds());
    if (clip.IsEmpty()) return;
    const Box srcBounds = src.Bounds();
    const Run cols = SourceRun(clip.left, clip.right, dstRect.left, dstRect.Width(), srcRect.left,
                               srcRect.Width(), srcBounds.left, srcBounds.right);
    const Run rows = SourceRun(clip.top, clip.bottom, dstRect.top, dstRect.Height(), srcRect.top,
                               srcRect.Height(), srcBounds.top, srcBounds.bottom);
    if (cols.first >= cols.end || rows.first >= rows.end) return;

    auto sourceCol = [&](int h) {
        return srcRect.left + SourceOffset(h - dstRect.left, srcRect.Width(), dstRect.Width());
    };
    auto sourceRow = [&](int v) {
        return srcRect.top + SourceOffset(v - dstRect.top, srcRect.Height(), dstRect.Height());
    };
    const Box read = {sourceRow(rows.first), sourceCol(cols.first), sourceRow(rows.end - 1) + 1,
                      sourceCol(cols.end - 1) + 1};
    const Box written = {rows.first, cols.first, rows.end, cols.end};

    // Source columns of the destination run, counted from the read box's left.
    std::vector<int> sourceCols(size_t(cols.end - cols.first));
    for (int h = cols.first; h < cols.end; ++h)
        sourceCols[size_t(h - cols.first)] = sourceCol(h) - read.left;

    std::optional<SourceCopy> copy;
    if (SpanOf(src, read).Overlaps(SpanOf(dst, written))) copy.emplace(src, read);
    const PixelView view = copy ? copy->view : PixelView::Of(src);

    for (int v = rows.first; v < rows.end; ++v) {
        const Pixel* from = view.At(read.left, sourceRow(v));
        Pixel* to = dst.At(cols.first, v);
        for (size_t i = 0; i < sourceCols.size(); ++i)
            to[i] = from[sourceCols[i]];
    }
}

OpaqueGrafPtr* PortOf(const ToolboxSession& session, const BitMap* bits) {
    // A BitMap pointer is the port it was taken from.
    return session.LivePort(reinterpret_cast<CGrafPtr>(const_cast<BitMap*>(bits)), "CopyBits");
}

} // namespace

const BitMap* GetPortBitMapForCopyBits(CGrafPtr port) {
    ToolboxSession session;
    return session.LivePort(port, "GetPortBitMapForCopyBits") != nullptr
               ? reinterpret_cast<const BitMap*>(port)
               : nullptr;
}

void CopyBits(const BitMap* srcBits, const BitMap* dstBits, const Rect* srcRect,
              const Rect* dstRect, SInt16 mode, RgnHandle maskRgn) {
    if (srcBits == nullptr || dstBits == nullptr || srcRect == nullptr || dstRect == nullptr)
        return LogDrawingProblem("CopyBits", "a bitmap or rectangle is missing");
    if (maskRgn != nullptr)
        return LogDrawingProblem("CopyBits", "mask regions are not supported; nothing copied");
    if (mode != srcCopy)
        LogDrawingProblem("CopyBits", "only srcCopy is offered; copying as srcCopy");
    try {
        ToolboxSession session;
        const OpaqueGrafPtr* src = PortOf(session, srcBits);
        const OpaqueGrafPtr* dst = PortOf(session, dstBits);
        if (src == nullptr || dst == nullptr) return;
        const Box from = Box::Of(*srcRect), to = Box::Of(*dstRect);
        if (from.IsEmpty() || to.IsEmpty()) return;
        if (from.Width() == to.Width() && from.Height() == to.Height())
            CopySameSize(*src, *dst, from, to.left - from.left, to.top - from.top);
        else
            CopyScaled(*src, *dst, from, to);
    } catch (const std::bad_alloc&) {
        LogDrawingProblem("CopyBits", "memory is short; nothing copied");
    }
}
