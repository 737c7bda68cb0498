#include "VisualSession.h"

#include <cmath>
#include <cstdio>

#include "FourCharCode.h"
#include "TrackInfo.h"

namespace zt::host {

VisualSession::VisualSession(PluginConnection& connection, VisualOutput& output, double fps,
                             Reporter& reporter, std::ostream* narration)
    : connection_(connection), output_(output), reporter_(reporter), narration_(narration),
      period_(std::llround(1e6 / fps)), frameTimer_([this] { DrawFrame(); }) {
    output_.SetResizeListener([this] { Resized(); });
}

VisualSession::~VisualSession() {
    output_.SetResizeListener(nullptr);
    Hide();
}

OSStatus VisualSession::SendAndCheck(OSType message, VisualPluginMessageInfo& info) {
    OSStatus status = connection_.Send(message, info);
    if (status != noErr)
        reporter_.Note("the plug-in answered " + CodeText(message) + " with status " +
                       std::to_string(status));
    return status;
}

void VisualSession::Show() {
    VisualPluginMessageInfo info{};
    info.showWindowMessage.port = output_.port();
    info.showWindowMessage.drawRect = output_.drawRect();
    info.showWindowMessage.options = 0;
    SendAndCheck(kVisualPluginShowWindowMessage, info);
    shown_ = true;
    shownAt_ = MonotonicNow();
    nextFrame_ = shownAt_;
    frameTimer_.ArmAt(nextFrame_);
}

OSStatus VisualSession::Configure() {
    if ((connection_.registration().options & kVisualWantsConfigure) == 0) {
        reporter_.Note("the plug-in has no settings to show");
        return unimpErr;
    }
    VisualPluginMessageInfo info{};
    return SendAndCheck(kVisualPluginConfigureMessage, info);
}

void VisualSession::Hide() {
    if (!shown_) return;
    shown_ = false;
    frameTimer_.Disarm();
    output_.Finish(sinceShow());
    VisualPluginMessageInfo info{};
    SendAndCheck(kVisualPluginHideWindowMessage, info);
}

// One frame: the plug-in draws, the output takes the picture, the next frame is
// due one period after this one was (or one period from now, after a stall:
// frames are dropped, never sent in a burst).
void VisualSession::DrawFrame() {
    VisualPluginMessageInfo info{};
    if (playing_) {
        info.renderMessage.renderData = &renderData_;
        info.renderMessage.timeStampID = ++timeStamp_;
        SendAndCheck(kVisualPluginRenderMessage, info);
    } else if (connection_.wantsIdleMessages()) {
        SendAndCheck(kVisualPluginIdleMessage, info);
    }
    ++frames_;
    MonotonicTime now = MonotonicNow();
    output_.FrameDrawn(now - shownAt_);

    nextFrame_ += period_;
    if (nextFrame_ <= now) nextFrame_ = now + period_;
    frameTimer_.ArmAt(nextFrame_);
}

void VisualSession::Resized() {
    if (!shown_) return;
    VisualPluginMessageInfo info{};
    info.setWindowMessage.port = output_.port();
    info.setWindowMessage.drawRect = output_.drawRect();
    SendAndCheck(kVisualPluginSetWindowMessage, info);
}

void VisualSession::Narrate(const char* event, const Song* song) {
    if (narration_ == nullptr) return;
    char when[32];
    std::snprintf(when, sizeof when, "%7.2fs", double(sinceShow().count()) / 1e6);
    *narration_ << when << "  " << event;
    if (song != nullptr)
        *narration_ << "  " << song->genre << " | " << song->artist << " | " << song->album << " | "
                    << song->title;
    *narration_ << '\n' << std::flush;
}

void VisualSession::SendSong(OSType message, const Song* song) {
    VisualPluginMessageInfo info{};
    if (song != nullptr) {
        track_ = TrackInfoForSong(*song);
        stream_ = ITStreamInfo{};
        // Play and change-track carry the two pointers at the same place.
        info.playMessage.trackInfo = &track_;
        info.playMessage.streamInfo = &stream_;
        if (message == kVisualPluginPlayMessage) info.playMessage.volume = 100;
    }
    SendAndCheck(message, info);
}

void VisualSession::SongPlays(const Song& song) {
    Narrate("play  ", &song);
    SendSong(kVisualPluginPlayMessage, &song);
    playing_ = true;
    output_.SetSong(song);
}

void VisualSession::SongChanges(const Song& song) {
    Narrate("change", &song);
    SendSong(kVisualPluginChangeTrackMessage, &song);
    output_.SetSong(song);
}

void VisualSession::SongPauses() {
    Narrate("pause ", nullptr);
    SendSong(kVisualPluginPauseMessage, nullptr);
    playing_ = false;
}

void VisualSession::SongResumes() {
    Narrate("resume", nullptr);
    SendSong(kVisualPluginUnpauseMessage, nullptr);
    playing_ = true;
}

void VisualSession::SongStops() {
    Narrate("stop  ", nullptr);
    SendSong(kVisualPluginStopMessage, nullptr);
    playing_ = false;
    output_.SetSong(std::nullopt);
}

} // namespace zt::host
