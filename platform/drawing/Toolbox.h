// The toolbox's own state: the live ports, the current port and device, and the
// default port. Every drawing call opens one session, which holds the toolbox
// lock for the length of the call; the calls belong to the host's thread, and
// the lock keeps a stray call from another thread safe. Other toolbox state (the
// font engine) is touched only while a session is open.
#pragma once

#include "Port.h"

#include <memory>
#include <mutex>

namespace zt::drawing {

struct ToolboxState;

class ToolboxSession {
  public:
    ToolboxSession();
    ToolboxSession(const ToolboxSession&) = delete;
    ToolboxSession& operator=(const ToolboxSession&) = delete;

    // The current port: never NULL; the default port until another is set.
    OpaqueGrafPtr& CurrentPort();
    GDHandle CurrentDevice() const;
    // Makes `port` current (the default port when NULL or not live).
    void SetCurrent(CGrafPtr port, GDHandle device);

    // True for a port made by NewGWorld or NewPortOnPixels and not yet disposed,
    // and for the default port.
    bool IsLive(const OpaqueGrafPtr* port) const;
    // The port when it is live, else NULL and a log line naming `call`.
    OpaqueGrafPtr* LivePort(CGrafPtr port, const char* call) const;

    // Registers a new port and hands it out; NULL when memory is short.
    CGrafPtr Adopt(std::unique_ptr<OpaqueGrafPtr> port);
    // Takes a port back for disposal; a disposed current port gives way to the
    // default port. NULL for the default port or a port that is not live.
    std::unique_ptr<OpaqueGrafPtr> Release(CGrafPtr port, const char* call);

  private:
    ToolboxState& state_;
    std::lock_guard<std::mutex> lock_;
};

} // namespace zt::drawing
