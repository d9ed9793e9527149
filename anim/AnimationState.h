// The editor's animation state: the animation list, the counter that names
// new animations, playback and the Keyframe panel's time window.
#pragma once

#include <cstdint>

#include "anim/AnimationList.h"
#include "anim/Playback.h"

namespace posewright {

struct AnimationState {
  AnimationList animations;
  /// Numbers new animations "Unnamed(n)"; starts at 0 and is never reset.
  int32_t unnamedCounter = 0;
  /// Playback running; the frame step advances it.
  bool playing = false;
  /// Playback time in editor frames.
  int32_t currentTime = 0;
  /// The keyframes playback interpolates between; kept across frames.
  PlaybackPair playback;
  /// Time at the left end of the Keyframe panel's 60-frame slider; never below 0.
  int32_t timelineStart = 0;
};
}  // namespace posewright
