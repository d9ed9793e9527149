// Building keyframe poses from goals: a bone either keeps its rest relation
// to its parent, points along a model-space direction once its ancestors are
// posed, or turns by a given pose rotation.
#pragma once

#include <vector>

#include "skeleton/Skeleton.h"

namespace posewright {

struct BoneGoal {
  enum class Kind { Keep, Direction, Rotation };
  Kind kind = Kind::Keep;
  D3DXVECTOR3 direction;
  D3DXQUATERNION rotation;

  static BoneGoal Pointing(const D3DXVECTOR3& d) { return {Kind::Direction, d, {}}; }
  static BoneGoal Turning(const D3DXQUATERNION& q) { return {Kind::Rotation, {}, q}; }
};

/// One pose rotation per bone (quantized to the keyframe file's precision)
/// meeting the goals, parents first; goals has one entry per bone. A
/// Direction goal gives the shortest turn of the bone's rest direction that,
/// followed by its ancestors' accumulated rotation, points it along the
/// direction.
std::vector<D3DXQUATERNION> SolvePose(const Skeleton& skeleton, const std::vector<BoneGoal>& goals);
}  // namespace posewright
