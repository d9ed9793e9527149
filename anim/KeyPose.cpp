#include "anim/KeyPose.h"

#include <algorithm>
#include <vector>

namespace posewright {

void ApplyKey(Skeleton& skeleton, const Keyframe& keyframe) {
  const std::size_t stored = keyframe.rotations.size();
  for (std::size_t i = 0; i < skeleton.bones.size(); ++i) {
    SetBonePose(skeleton.bones[i], i < stored ? keyframe.rotations[i] : D3DXQUATERNION());
  }
}

KeyPosition RecordKey(const Skeleton& skeleton, Animation& animation, int32_t t) {
  std::vector<D3DXQUATERNION> rotations;
  rotations.reserve(skeleton.bones.size());
  for (const Bone& bone : skeleton.bones) {
    rotations.push_back(bone.poseRotation);
  }
  // The count is what the file writes per keyframe: an animation made before
  // any skeleton was loaded, or recorded on since a larger one was, must not
  // lose rotations when saved.
  animation.boneCount =
      animation.keys().empty() ? skeleton.boneCount() : std::max(animation.boneCount, skeleton.boneCount());
  return animation.InsertKey(rotations, t);
}
}  // namespace posewright
