#include "Toolbox.h"

#include "DrawingLog.h"

#include <array>
#include <new>
#include <unordered_map>

namespace zt::drawing {

namespace {
// The default port: a small screen of the toolbox's own, current until a caller
// sets another, so drawing always has somewhere harmless to go.
constexpr Rect kDefaultPortBounds = {0, 0, 64, 64};
constexpr int kDefaultPortPixels = kDefaultPortBounds.bottom * kDefaultPortBounds.right;
} // namespace

struct ToolboxState {
    std::mutex mutex;
    std::array<Pixel, kDefaultPortPixels> defaultPixels{};
    OpaqueGrafPtr defaultPort{reinterpret_cast<Ptr>(defaultPixels.data()),
                              kDefaultPortBounds.right* SInt32(sizeof(Pixel)), kDefaultPortBounds};
    std::unordered_map<const OpaqueGrafPtr*, std::unique_ptr<OpaqueGrafPtr>> livePorts;
    OpaqueGrafPtr* currentPort = &defaultPort;
    GDHandle currentDevice = nullptr;
};

namespace {
// Made on first use and never destroyed: ports may be disposed from other
// objects' destructors at exit, after function-local statics would be gone.
ToolboxState& State() {
    alignas(ToolboxState) static unsigned char storage[sizeof(ToolboxState)];
    static ToolboxState* state = new (storage) ToolboxState;
    return *state;
}
} // namespace

ToolboxSession::ToolboxSession() : state_(State()), lock_(state_.mutex) {}

OpaqueGrafPtr& ToolboxSession::CurrentPort() {
    return *state_.currentPort;
}

GDHandle ToolboxSession::CurrentDevice() const {
    return state_.currentDevice;
}

void ToolboxSession::SetCurrent(CGrafPtr port, GDHandle device) {
    OpaqueGrafPtr* live = port == nullptr ? nullptr : LivePort(port, "SetGWorld");
    state_.currentPort = live != nullptr ? live : &state_.defaultPort;
    state_.currentDevice = device;
}

bool ToolboxSession::IsLive(const OpaqueGrafPtr* port) const {
    return port != nullptr && (port == &state_.defaultPort || state_.livePorts.count(port) != 0);
}

OpaqueGrafPtr* ToolboxSession::LivePort(CGrafPtr port, const char* call) const {
    if (IsLive(port)) return port;
    if (port != nullptr) LogDrawingProblem(call, "not a live port");
    return nullptr;
}

CGrafPtr ToolboxSession::Adopt(std::unique_ptr<OpaqueGrafPtr> port) {
    if (!port) return nullptr;
    CGrafPtr handedOut = port.get();
    try {
        state_.livePorts.emplace(handedOut, std::move(port));
    } catch (const std::bad_alloc&) {
        return nullptr; // the port is freed on the way out
    }
    return handedOut;
}

std::unique_ptr<OpaqueGrafPtr> ToolboxSession::Release(CGrafPtr port, const char* call) {
    if (port == nullptr) return nullptr;
    if (port == &state_.defaultPort) {
        LogDrawingProblem(call, "the default port is the toolbox's own");
        return nullptr;
    }
    auto entry = state_.livePorts.find(port);
    if (entry == state_.livePorts.end()) {
        LogDrawingProblem(call, "not a live port");
        return nullptr;
    }
    std::unique_ptr<OpaqueGrafPtr> owned = std::move(entry->second);
    state_.livePorts.erase(entry);
    if (state_.currentPort == port) state_.currentPort = &state_.defaultPort;
    return owned;
}

} // namespace zt::drawing
