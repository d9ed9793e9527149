#include "anim/KeyPose.h"

#include <vector>

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
  return animation.InsertKey(rotations, t);
}
