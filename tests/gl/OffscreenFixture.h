// An offscreen OpenGL device for pixel tests; tests skip when the machine has
// no EGL device.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gl/GlDevice.h"
#include "gl/OffscreenHost.h"
#include "render/SceneColors.h"

namespace posewright {

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

class OffscreenTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 160;
  static constexpr int kHeight = 120;

  void SetUp() override {
    if (Status created = OffscreenHost::Create(kWidth, kHeight, host_); !created) {
      GTEST_SKIP() << created.describe();
    }
    device_ = std::make_unique<GlDevice>(kWidth, kHeight);
    ASSERT_TRUE(device_->ok()) << device_->error();
  }

  void TearDown() override {
    device_.reset();
    host_.reset();
  }

  GlDevice& device() { return *device_; }

  /// Reads the framebuffer (after drawing).
  void capture() { pixels_ = host_->readPixels(); }

  /// Pixel (x, y), y from the top, of the last capture.
  Rgb at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)) * 4;
    return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
  }

  /// Whether every pixel of the last capture is opaque.
  bool opaque() const {
    for (std::size_t i = 3; i < pixels_.size(); i += 4) {
      if (pixels_[i] != 255) return false;
    }
    return true;
  }

  /// How many pixels of the last capture have colour c.
  int count(const Rgb& c) const {
    int n = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        n += at(x, y) == c ? 1 : 0;
      }
    }
    return n;
  }

  static Rgb ClearRgb() {
    return {static_cast<int>((kClearColor >> 16) & 0xFF), static_cast<int>((kClearColor >> 8) & 0xFF),
            static_cast<int>(kClearColor & 0xFF)};
  }

  static Rgb ToRgb(float r, float g, float b) {
    return {static_cast<int>(std::lround(r * 255)), static_cast<int>(std::lround(g * 255)),
            static_cast<int>(std::lround(b * 255))};
  }

  std::unique_ptr<OffscreenHost> host_;
  std::unique_ptr<GlDevice> device_;
  std::vector<uint8_t> pixels_;
};

/// Each channel within tolerance.
inline ::testing::AssertionResult Near(const Rgb& a, const Rgb& b, int tolerance = 1) {
  if (std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
      std::abs(a.b - b.b) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << a << " is not within " << tolerance << " of " << b;
}
}  // namespace posewright
