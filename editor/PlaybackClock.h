// The clock playback follows: animation frames at 60 per second of real
// time, however fast frames are drawn. Frame k is due at k × 1000 / 60 ms
// after the start, and a drawn frame shows the frame nearest its clock time,
// so drawing at 60 frames per second shows every frame once and slower
// drawing skips frames.
#pragma once

#include <cstdint>

namespace posewright {

/// Animation frames per second of playback.
inline constexpr int32_t kPlaybackFramesPerSecond = 60;

class PlaybackClock {
 public:
  /// The frame drawn at nowMs shows frame 0.
  void start(uint32_t nowMs) {
    running_ = true;
    startMs_ = nowMs;
  }
  void stop() { running_ = false; }
  bool running() const { return running_; }

  /// The frame to show at nowMs: (nowMs − start) × 60 / 1000, rounded to
  /// the nearest frame (the millisecond clock may wrap around).
  int64_t frameAt(uint32_t nowMs) const {
    const uint64_t elapsed = nowMs - startMs_;
    return static_cast<int64_t>((elapsed * kPlaybackFramesPerSecond * 2 + 1000) / 2000);
  }
  /// Milliseconds from nowMs until the frame after frameAt(nowMs) is the
  /// nearest one (at least 1).
  uint32_t msUntilNextFrame(uint32_t nowMs) const {
    const uint64_t next = static_cast<uint64_t>(frameAt(nowMs)) + 1;
    // Frame n is the nearest from (n − 1/2) × 1000 / 60 ms on.
    const uint64_t dueMs =
        ((2 * next - 1) * 1000 + 2 * kPlaybackFramesPerSecond - 1) / (2 * kPlaybackFramesPerSecond);
    const uint64_t elapsed = nowMs - startMs_;
    return dueMs > elapsed ? static_cast<uint32_t>(dueMs - elapsed) : 1;
  }

 private:
  bool running_ = false;
  uint32_t startMs_ = 0;
};
}  // namespace posewright
