// The offscreen output: a frame buffer in memory, wrapped as the visualizer port,
// with PNG snapshots of it at a steady interval and one at the end.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "Expected.h"
#include "Reporter.h"
#include "VisualOutput.h"

namespace zt::host {

struct SnapshotPlan {
    std::filesystem::path folder; // exists and is writable
    std::chrono::microseconds every{1'000'000};
};

class OffscreenOutput final : public VisualOutput {
  public:
    static Expected<std::unique_ptr<OffscreenOutput>> Make(int width, int height,
                                                           std::optional<SnapshotPlan> snapshots,
                                                           Reporter& reporter);
    ~OffscreenOutput() override;

    CGrafPtr port() const override { return port_; }
    Rect drawRect() const override;
    void FrameDrawn(std::chrono::microseconds sinceShow) override;
    void Finish(std::chrono::microseconds sinceShow) override;
    bool healthy() const override { return healthy_; }

    int snapshotCount() const { return snapshotCount_; }
    std::span<const uint32_t> pixels() const { return pixels_; }

  private:
    OffscreenOutput(int width, int height, std::optional<SnapshotPlan> snapshots, Reporter& reporter);
    void Snapshot(std::chrono::microseconds sinceShow);

    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
    CGrafPtr port_ = nullptr; // over pixels_; disposed with the output
    std::optional<SnapshotPlan> snapshots_;
    Reporter& reporter_;
    std::chrono::microseconds nextSnapshot_{0};
    std::optional<std::chrono::microseconds> lastSnapshot_;
    int snapshotCount_ = 0;
    bool healthy_ = true;
};

} // namespace zt::host
