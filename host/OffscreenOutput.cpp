#include "OffscreenOutput.h"

#include <cstdio>

#include "PngSnapshot.h"

namespace zt::host {

Expected<std::unique_ptr<OffscreenOutput>> OffscreenOutput::Make(int width, int height,
                                                                 std::optional<SnapshotPlan> snapshots,
                                                                 Reporter& reporter) {
    std::unique_ptr<OffscreenOutput> output(
        new OffscreenOutput(width, height, std::move(snapshots), reporter));
    if (output->port_ == nullptr)
        return Failure{"cannot make a visualizer port of " + std::to_string(width) + "x" +
                       std::to_string(height) + " pixels"};
    return output;
}

OffscreenOutput::OffscreenOutput(int width, int height, std::optional<SnapshotPlan> snapshots,
                                 Reporter& reporter)
    : width_(width), height_(height), pixels_(size_t(width) * size_t(height), 0),
      snapshots_(std::move(snapshots)), reporter_(reporter) {
    Rect bounds = drawRect();
    port_ = NewPortOnPixels(reinterpret_cast<Ptr>(pixels_.data()), SInt32(width) * 4, &bounds);
}

OffscreenOutput::~OffscreenOutput() { DisposePortOnPixels(port_); }

Rect OffscreenOutput::drawRect() const { return Rect{0, 0, SInt16(height_), SInt16(width_)}; }

void OffscreenOutput::FrameDrawn(std::chrono::microseconds sinceShow) {
    if (!snapshots_ || !healthy_ || sinceShow < nextSnapshot_) return;
    Snapshot(sinceShow);
    // Keep to the plan's times; after a stall, go on from now rather than catch up.
    nextSnapshot_ += snapshots_->every;
    if (nextSnapshot_ <= sinceShow) nextSnapshot_ = sinceShow + snapshots_->every;
}

void OffscreenOutput::Finish(std::chrono::microseconds sinceShow) {
    if (!snapshots_ || !healthy_ || lastSnapshot_ == sinceShow) return;
    Snapshot(sinceShow);
}

void OffscreenOutput::Snapshot(std::chrono::microseconds sinceShow) {
    char name[64];
    std::snprintf(name, sizeof name, "snapshot-%04d-at-%.3fs.png", snapshotCount_ + 1,
                  double(sinceShow.count()) / 1e6);
    std::optional<std::string> problem =
        WritePng(snapshots_->folder / name, reinterpret_cast<const uint8_t*>(pixels_.data()),
                 width_, height_, width_ * 4);
    if (problem) {
        reporter_.Error("cannot write a snapshot: " + *problem);
        healthy_ = false;
        return;
    }
    ++snapshotCount_;
    lastSnapshot_ = sinceShow;
}

} // namespace zt::host
