// The sizes the visualizer may take: the plug-in's registered minimum and
// maximum, made sane (at least 1, at most what a Rect holds, max >= min).
#pragma once

#include "iTunesVisualAPI.h"

namespace zt::host {

struct WindowSize {
    int width = 0;
    int height = 0;
    bool operator==(const WindowSize&) const = default;
};

struct WindowLimits {
    WindowSize min{1, 1};
    WindowSize max{kLargest, kLargest};

    // The largest side a Rect of 16-bit coordinates starting at 0 holds.
    static constexpr int kLargest = 32767;

    // From the registration; a maximum of 0 means no maximum.
    static WindowLimits FromRegistration(const PlayerRegisterVisualPluginMessage& registration);
    // Within these limits; any input, including zero or negative sides.
    WindowSize Clamp(WindowSize size) const;
};

} // namespace zt::host
