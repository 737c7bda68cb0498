#include "WindowLimits.h"

#include <algorithm>

namespace zt::host {
namespace {

int Side(int value, int fallback) {
    return value <= 0 ? fallback : std::min(value, WindowLimits::kLargest);
}

} // namespace

WindowLimits WindowLimits::FromRegistration(const PlayerRegisterVisualPluginMessage& registration) {
    WindowLimits limits;
    limits.min = {Side(registration.minWidth, 1), Side(registration.minHeight, 1)};
    limits.max = {std::max(Side(registration.maxWidth, kLargest), limits.min.width),
                  std::max(Side(registration.maxHeight, kLargest), limits.min.height)};
    return limits;
}

WindowSize WindowLimits::Clamp(WindowSize size) const {
    // Limits made by hand may be upside down: the minimum wins.
    return {std::max(std::min(size.width, max.width), min.width),
            std::max(std::min(size.height, max.height), min.height)};
}

} // namespace zt::host
