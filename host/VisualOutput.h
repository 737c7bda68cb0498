// Where the visualizer's frames go: a port the plug-in draws into, sized to a
// drawing rectangle. Two outputs: offscreen (with PNG snapshots) and a window.
//
// Host's thread only. The port stays valid until the output is destroyed or it
// reports a resize (after which port() and drawRect() give the new ones).
#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include "QuickDraw.h"
#include "SongScript.h"

namespace zt::host {

class VisualOutput {
  public:
    virtual ~VisualOutput() = default;

    virtual CGrafPtr port() const = 0;
    virtual Rect drawRect() const = 0;

    // Called after each frame the plug-in drew, with the time since the show.
    virtual void FrameDrawn(std::chrono::microseconds sinceShow) = 0;
    // Called once when the visualizer is about to be hidden.
    virtual void Finish(std::chrono::microseconds sinceShow) = 0;
    // False once the output failed (it has said why); the program then fails too.
    virtual bool healthy() const = 0;

    // Optional: outputs whose size changes (a window) call the listener after a
    // change; outputs of a fixed size never do.
    virtual void SetResizeListener(std::function<void()> listener) { (void)listener; }

    // Optional: the song now playing (none: nothing plays), for outputs that
    // show it, such as a window's title.
    virtual void SetSong(const std::optional<Song>& song) { (void)song; }
};

} // namespace zt::host
