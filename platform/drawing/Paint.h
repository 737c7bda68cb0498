// Filling pixels, for the painting and text calls.
#pragma once

#include "Port.h"

namespace zt::drawing {

// Fills `box` of `port` with `color`; callers clip `box` to the port's bounds.
void FillBox(const OpaqueGrafPtr& port, const Box& box, Pixel color);

} // namespace zt::drawing
