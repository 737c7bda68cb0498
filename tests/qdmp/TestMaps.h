// Small guarded pixel maps for the pixel library's tests, and ways to look at
// what a routine wrote.
#pragma once

#include "PixMapBuffer.h"
#include "QDMP_Internal.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace qdmp_test {

using zt::PixMapBuffer;
using Pixels = std::set<std::pair<int, int>>; // (h, v)

// A map with guard bytes around it and padding after every row.
inline PixMapBuffer GuardedMap(SInt16 depth, Rect bounds,
                               std::optional<std::vector<RGBColor>> colours = std::nullopt) {
    PixMapBuffer::Options options;
    options.colours = std::move(colours);
    options.guardBytes = 32;
    options.rowPadding = 12;
    return PixMapBuffer(depth, bounds, options);
}

// The positions whose pixel is not `background`.
inline Pixels Marked(const PixMapBuffer& map, UInt32 background = 0) {
    Pixels marked;
    const Rect b = map.Bounds();
    for (int v = b.top; v < b.bottom; ++v)
        for (int h = b.left; h < b.right; ++h)
            if (map.Pixel(h, v) != background) marked.insert({h, v});
    return marked;
}

// Only the positions inside `bounds`.
inline Pixels Within(const Pixels& pixels, Rect bounds) {
    Pixels inside;
    for (const auto& [h, v] : pixels)
        if (h >= bounds.left && h < bounds.right && v >= bounds.top && v < bounds.bottom)
            inside.insert({h, v});
    return inside;
}

// Every position of the rectangle left <= h < right, top <= v < bottom.
inline Pixels Block(int left, int top, int right, int bottom) {
    Pixels block;
    for (int v = top; v < bottom; ++v)
        for (int h = left; h < right; ++h)
            block.insert({h, v});
    return block;
}

inline Point P(int h, int v) {
    Point point;
    point.h = SInt16(h);
    point.v = SInt16(v);
    return point;
}

} // namespace qdmp_test

inline bool operator==(const RGBColor& a, const RGBColor& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}
inline bool operator==(const Point& a, const Point& b) {
    return a.h == b.h && a.v == b.v;
}
inline bool operator==(const Rect& a, const Rect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}
inline std::ostream& operator<<(std::ostream& out, const Point& p) {
    return out << "(h " << p.h << ", v " << p.v << ")";
}
inline std::ostream& operator<<(std::ostream& out, const RGBColor& c) {
    return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}
inline std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "(t " << r.top << ", l " << r.left << ", b " << r.bottom << ", r " << r.right
               << ")";
}
