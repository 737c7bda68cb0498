// Rectangles in int arithmetic: a rectangle holds the pixels (h, v) with
// left <= h < right and top <= v < bottom; it is empty when either side is not
// positive. Working in int keeps sums of 16-bit coordinates from wrapping.
#pragma once

#include "MacTypes.h"

#include <algorithm>

namespace zt::drawing {

struct Box {
    int top = 0, left = 0, bottom = 0, right = 0;

    static Box Of(const Rect& r) { return {r.top, r.left, r.bottom, r.right}; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    Box Intersect(const Box& o) const {
        return {std::max(top, o.top), std::max(left, o.left), std::min(bottom, o.bottom),
                std::min(right, o.right)};
    }
    Box Offset(int dh, int dv) const { return {top + dv, left + dh, bottom + dv, right + dh}; }
};

} // namespace zt::drawing
