// One showing of the visualizer: 'show' with the output's port, then frames on
// a monotonic deadline ('vrnd' while a song plays, 'null' while none does, if
// the plug-in asked for idle messages), 'swin' when the output's size changes,
// the song messages as the song source reports them (the output is told the
// song too), 'cnfg' when the person asks for the settings, and 'hide' at the end.
//
// Host's thread only; frames run from the GLib main loop.
#pragma once

#include <chrono>
#include <ostream>

#include "DeadlineTimer.h"
#include "PluginConnection.h"
#include "Reporter.h"
#include "SongSource.h"
#include "VisualOutput.h"

namespace zt::host {

class VisualSession final : public SongListener {
  public:
    // narration: where song events are told as they happen (may be null).
    VisualSession(PluginConnection& connection, VisualOutput& output, double fps, Reporter& reporter,
                  std::ostream* narration);
    ~VisualSession() override;
    VisualSession(const VisualSession&) = delete;
    VisualSession& operator=(const VisualSession&) = delete;

    // 'show'; the first frame is due at once.
    void Show();
    // Frames stop, the output finishes, 'hide'. Once; nothing before Show.
    void Hide();
    // 'cnfg': the plug-in shows its settings window. Shown or not, as the
    // settings window lives apart from the visualizer; unimpErr without
    // sending anything when the plug-in registered no settings.
    OSStatus Configure();

    void SongPlays(const Song& song) override;
    void SongChanges(const Song& song) override;
    void SongPauses() override;
    void SongResumes() override;
    void SongStops() override;

    long framesDrawn() const { return frames_; }
    std::chrono::microseconds sinceShow() const { return MonotonicNow() - shownAt_; }

  private:
    void DrawFrame();
    void Resized();
    void SendSong(OSType message, const Song* song);
    void Narrate(const char* event, const Song* song);
    OSStatus SendAndCheck(OSType message, VisualPluginMessageInfo& info);

    PluginConnection& connection_;
    VisualOutput& output_;
    Reporter& reporter_;
    std::ostream* narration_;
    std::chrono::microseconds period_;
    DeadlineTimer frameTimer_;
    MonotonicTime shownAt_{0};
    MonotonicTime nextFrame_{0};
    bool shown_ = false;
    bool playing_ = false;
    long frames_ = 0;
    UInt32 timeStamp_ = 0;
    // The records a message points to live here, valid for the call.
    ITTrackInfo track_{};
    ITStreamInfo stream_{};
    RenderVisualData renderData_{};
};

} // namespace zt::host
