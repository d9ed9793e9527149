// Keeps drawn frames at least 16 ms apart, measured on a millisecond clock
// that may wrap around.
#pragma once

#include <cstdint>

/// Least time between the starts of two drawn frames.
inline constexpr uint32_t kFrameIntervalMs = 16;

class FramePacer {
 public:
  /// True when a frame may begin at nowMs: none has begun yet, or at least
  /// kFrameIntervalMs passed since the last one began (unsigned difference).
  bool due(uint32_t nowMs) const { return !started_ || nowMs - lastStart_ >= kFrameIntervalMs; }
  /// Milliseconds from nowMs until due (0 when due now).
  uint32_t msUntilDue(uint32_t nowMs) const {
    return due(nowMs) ? 0 : kFrameIntervalMs - (nowMs - lastStart_);
  }
  /// Records that a frame began at nowMs.
  void frameBegan(uint32_t nowMs) {
    started_ = true;
    lastStart_ = nowMs;
  }

 private:
  bool started_ = false;
  uint32_t lastStart_ = 0;
};
