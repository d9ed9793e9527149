// Keeps drawn frames at least 16 ms apart (or another interval), measured on
// a millisecond clock that may wrap around.
#pragma once

#include <cstdint>

namespace posewright {

/// Least time between the starts of two drawn frames.
inline constexpr uint32_t kFrameIntervalMs = 16;

class FramePacer {
 public:
  /// True when a frame may begin at nowMs: none has begun yet, or at least
  /// the interval passed since the last one began (unsigned difference).
  bool due(uint32_t nowMs) const { return !started_ || nowMs - lastStart_ >= intervalMs_; }
  /// Milliseconds from nowMs until due (0 when due now).
  uint32_t msUntilDue(uint32_t nowMs) const { return due(nowMs) ? 0 : intervalMs_ - (nowMs - lastStart_); }
  /// The least time between frame starts; kFrameIntervalMs unless set (a
  /// longer one stands for a slow machine).
  void setInterval(uint32_t ms) { intervalMs_ = ms; }
  /// Records that a frame began at nowMs.
  void frameBegan(uint32_t nowMs) {
    started_ = true;
    lastStart_ = nowMs;
  }

 private:
  bool started_ = false;
  uint32_t lastStart_ = 0;
  uint32_t intervalMs_ = kFrameIntervalMs;
};
}  // namespace posewright
