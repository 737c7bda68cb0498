// A small port over the test's own pixels, with a guard ring around them that
// no drawing call may touch, made current for the length of the test.
#pragma once

#include "QuickDraw.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

namespace zt::test {

class TestPort {
  public:
    static constexpr UInt32 kGuard = 0xA5C3E1F0;
    static constexpr int kMargin = 3; // guard pixels on each side

    // A port of `bounds`, every pixel `fill`, made the current port.
    explicit TestPort(Rect bounds, UInt32 fill = 0)
        : bounds_(bounds), width_(bounds.right - bounds.left), height_(bounds.bottom - bounds.top),
          stride_(width_ + 2 * kMargin),
          pixels_(size_t(stride_) * (height_ + 2 * kMargin), kGuard) {
        Fill(fill);
        port_ = NewPortOnPixels(reinterpret_cast<Ptr>(&pixels_[Index(bounds.left, bounds.top)]),
                                stride_ * 4, &bounds_);
        GetGWorld(&savedPort_, &savedDevice_);
        SetGWorld(port_, nullptr);
    }
    ~TestPort() {
        SetGWorld(savedPort_, savedDevice_);
        DisposePortOnPixels(port_);
    }
    TestPort(const TestPort&) = delete;
    TestPort& operator=(const TestPort&) = delete;

    CGrafPtr port() const { return port_; }
    void MakeCurrent() const { SetGWorld(port_, nullptr); }
    // The pixel at port coordinates (h, v), top byte included.
    UInt32 At(int h, int v) const { return pixels_[Index(h, v)]; }
    UInt32& At(int h, int v) { return pixels_[Index(h, v)]; }
    void Fill(UInt32 color) {
        for (int v = bounds_.top; v < bounds_.bottom; ++v)
            for (int h = bounds_.left; h < bounds_.right; ++h)
                At(h, v) = color;
    }
    bool Inside(int h, int v) const {
        return h >= bounds_.left && h < bounds_.right && v >= bounds_.top && v < bounds_.bottom;
    }
    // Fails the test if any guard pixel changed.
    void ExpectGuardsIntact() const {
        for (int v = bounds_.top - kMargin; v < bounds_.bottom + kMargin; ++v)
            for (int h = bounds_.left - kMargin; h < bounds_.right + kMargin; ++h) {
                if (Inside(h, v)) continue;
                ASSERT_EQ(At(h, v), kGuard) << "guard at " << h << "," << v;
            }
    }
    const Rect& bounds() const { return bounds_; }

  private:
    size_t Index(int h, int v) const {
        return size_t(v - bounds_.top + kMargin) * stride_ + size_t(h - bounds_.left + kMargin);
    }
    Rect bounds_;
    int width_, height_, stride_;
    std::vector<UInt32> pixels_;
    CGrafPtr port_ = nullptr;
    CGrafPtr savedPort_ = nullptr;
    GDHandle savedDevice_ = nullptr;
};

} // namespace zt::test
