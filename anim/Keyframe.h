// One recorded pose: a time on the animation's time line and the pose
// rotation of every bone at that time.
#pragma once

#include <cstdint>
#include <vector>

#include "math/Quaternion.h"

namespace posewright {

struct Keyframe {
  /// For each bone, in bone index order, the bone's poseRotation in this pose.
  std::vector<D3DXQUATERNION> rotations;
  /// Time in editor frames.
  int32_t time = 0;

  /// Number of entries in rotations.
  int32_t boneCount() const { return static_cast<int32_t>(rotations.size()); }
};
}  // namespace posewright
