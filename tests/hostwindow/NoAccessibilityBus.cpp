// The window tests run on a bare display with no accessibility bus: GTK's
// bridge to it would only warn, and leave a half-made connection behind that
// the leak checker reports. Set before main, before GTK starts.
#include <cstdlib>

namespace {

const bool gNoAccessibilityBus = setenv("NO_AT_BRIDGE", "1", 0) == 0;

} // namespace
