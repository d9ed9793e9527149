// Posing a skeleton as playback shows a given time, for batch use.
#pragma once

#include <cstdint>

#include "anim/Animation.h"
#include "fileio/Status.h"
#include "skeleton/Skeleton.h"

namespace posewright {

/// Plays animation as the editor does after Play (time reset to 0, one
/// AdvancePlayback per drawn frame) until a frame shows `time`, leaving the
/// skeleton in that frame's pose. The animation is first stored as the editor
/// stores an opened one (a copy fitted to its boneCount). Fails, leaving the
/// pose of the last frame played, when the animation has fewer than two
/// keyframes or its first pass never shows `time` (it shows 0 up to the last
/// keyframe's time − 1).
Status PoseAtPlaybackTime(Skeleton& skeleton, const Animation& animation, int32_t time);
}  // namespace posewright
