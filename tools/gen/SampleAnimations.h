// The sample character's two animations.
#pragma once

#include "anim/Animation.h"
#include "skeleton/Skeleton.h"

namespace posewright {

/// A wave of the right hand: seven keyframes over 80 frames, from arms at the
/// sides to the right arm raised with the forearm swinging out and in three
/// times and back down.
Animation MakeWaveAnimation(const Skeleton& skeleton);

/// A walk cycle on the spot: nine keyframes, one every 8 frames over 64
/// frames; the last equals the first so playback loops seamlessly. Legs swing
/// in opposition with the knee bent most in early swing, arms swing against
/// the legs, the hips turn with the forward leg and the chest turns back.
Animation MakeWalkAnimation(const Skeleton& skeleton);
}  // namespace posewright
