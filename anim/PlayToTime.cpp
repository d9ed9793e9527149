#include "anim/PlayToTime.h"

#include <string>

#include "anim/AnimationState.h"

namespace posewright {

Status PoseAtPlaybackTime(Skeleton& skeleton, const Animation& animation, int32_t time) {
  AnimationState state;
  state.animations.AppendAnimation(animation);
  if (state.animations.current()->keys().size() < 2) {
    return Status::Error("Nothing to play", "the animation has fewer than two keyframes");
  }
  state.playing = true;
  state.currentTime = 0;
  // The first pass shows one time per frame from 0, so time t is the
  // (t + 1)-th frame if it is shown at all.
  for (int64_t frame = 0; frame <= int64_t{time}; ++frame) {
    const std::optional<int32_t> shown = AdvancePlayback(state, skeleton);
    if (!shown) {
      break;
    }
    if (*shown == time) {
      return Status::Ok();
    }
  }
  return Status::Error("Time not reached", "playback never shows time " + std::to_string(time) +
                                               "; it runs from 0 to one frame before the last keyframe");
}
}  // namespace posewright
