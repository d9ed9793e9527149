// Moving poses between the skeleton and keyframes.
#pragma once

#include <cstdint>

#include "anim/Animation.h"
#include "skeleton/Skeleton.h"

namespace posewright {

/// Sets every bone's poseRotation from the keyframe (orientation follows).
/// Bones the keyframe has no rotation for (it was recorded on a smaller
/// skeleton) return to the rest pose; extra rotations are ignored.
void ApplyKey(Skeleton& skeleton, const Keyframe& keyframe);

/// Records every bone's poseRotation as a keyframe at time t (replacing one
/// already at t) and makes it the animation's current keyframe. The
/// animation's boneCount becomes the skeleton's when this is its first
/// keyframe, and never stays below the skeleton's afterwards, so every
/// recorded rotation is written to its file.
KeyPosition RecordKey(const Skeleton& skeleton, Animation& animation, int32_t t);
}  // namespace posewright
