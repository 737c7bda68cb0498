// The solid-colour primitives' shared pieces: the span writer and the line walk,
// one template per pixel width. Coordinates are plain ints here, so nothing
// wraps at 16 bits: a primitive partly outside the map keeps its shape.
#pragma once

#include "QDMP_MapAccess.h"
#include "QDMP_RowKernels.h"

#include <algorithm>
#include <cstring>

namespace qdmp {

// Writes `value` on row v over `columns`, cut to the map; a row outside drops it.
template <typename Pixel> void FillSpan(const MapView& map, int v, Range columns, Pixel value) {
    if (!map.RowInside(v)) return;
    const Range inside = columns.Within(map.bounds.left, map.bounds.right);
    if (inside.Empty()) return;
    UInt8* at = map.At(inside.from, v, sizeof(Pixel));
    const std::size_t count = std::size_t(inside.Length());
    if constexpr (sizeof(Pixel) == 1) {
        std::memset(at, value, count);
    } else if constexpr (sizeof(Pixel) == 4) {
        ActiveRowKernels().fill32(at, count, value);
    } else {
        for (std::size_t i = 0; i < count; ++i)
            StorePixel<Pixel>(at + i * sizeof(Pixel), value);
    }
}

// One Bresenham walk from (x1, y1) to (x2, y2): max(|dx|, |dy|) + 1 positions,
// the error term starting at half the longer extent. The address is carried as
// a byte offset and used only for positions inside (all of them when the
// caller knows the whole line is inside).
template <typename Pixel, bool kAllInside>
void WalkLine(const MapView& map, int x1, int y1, int x2, int y2, Pixel value) {
    int x = x1, y = y1;
    int dx = x2 - x1, dy = y2 - y1;
    int xi = 1, yi = 1;
    if (dx < 0) {
        dx = -dx;
        xi = -1;
    }
    if (dy < 0) {
        dy = -dy;
        yi = -1;
    }
    const std::ptrdiff_t stepX = std::ptrdiff_t(xi) * std::ptrdiff_t(sizeof(Pixel));
    const std::ptrdiff_t stepY = std::ptrdiff_t(yi) * map.rowBytes;
    std::ptrdiff_t offset = map.Offset(x, y, sizeof(Pixel));
    auto plot = [&] {
        if (kAllInside || map.Inside(x, y)) StorePixel<Pixel>(map.AtOffset(offset), value);
    };
    plot();
    if (dy > dx) {
        int i = dy >> 1;
        for (int j = dy; j > 0; --j) {
            y += yi;
            offset += stepY;
            i += dx;
            if (i > dy) {
                i -= dy;
                x += xi;
                offset += stepX;
            }
            plot();
        }
    } else {
        int i = dx >> 1;
        for (int j = dx; j > 0; --j) {
            x += xi;
            offset += stepX;
            i += dy;
            if (i > dx) {
                i -= dx;
                y += yi;
                offset += stepY;
            }
            plot();
        }
    }
}

// A line of a map of this depth, both ends included; pixels outside are skipped.
template <typename Pixel>
void DrawLine(PixMapHandle handle, int x1, int y1, int x2, int y2, Pixel value) {
    const auto map = ViewMap(handle, kDepthOf<Pixel>);
    if (!map) return;
    const Rect& b = map->bounds;
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    if (right < b.left || left >= b.right || bottom < b.top || top >= b.bottom) return;
    if (y1 == y2) return FillSpan<Pixel>(*map, y1, Range{left, right + 1}, value);
    if (left >= b.left && right < b.right && top >= b.top && bottom < b.bottom)
        WalkLine<Pixel, true>(*map, x1, y1, x2, y2, value);
    else
        WalkLine<Pixel, false>(*map, x1, y1, x2, y2, value);
}

} // namespace qdmp
