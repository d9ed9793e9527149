// Which of the user's data differs from its files: the model (weights, pose,
// skeleton and blending parameters) and the animations.
#pragma once

#include "anim/AnimationList.h"
#include "history/History.h"

namespace posewright {

/// True when the model's data or its blending parameters are modified.
bool ModelModified(const History& history);
/// True when an animation in the list is modified (an animation made in the
/// editor counts until it is saved).
bool AnimationsModified(const History& history, const AnimationList& animations);
}  // namespace posewright
