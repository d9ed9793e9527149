#include "tools/gen/PoseGoals.h"

#include "importer/BoneFrame.h"
#include "importer/Quantize.h"

namespace posewright {

std::vector<D3DXQUATERNION> SolvePose(const Skeleton& skeleton, const std::vector<BoneGoal>& goals) {
  const std::size_t n = skeleton.bones.size();
  std::vector<D3DXQUATERNION> pose(n);
  std::vector<D3DXQUATERNION> accumulated(n);
  for (std::size_t i = 0; i < n; ++i) {
    const Bone& bone = skeleton.bones[i];
    const D3DXQUATERNION parent =
        i == 0 ? D3DXQUATERNION() : accumulated[static_cast<std::size_t>(bone.parentId)];
    const BoneGoal& goal = goals[i];
    if (goal.kind == BoneGoal::Kind::Rotation) {
      pose[i] = goal.rotation;
    } else if (goal.kind == BoneGoal::Kind::Direction) {
      D3DXQUATERNION undo;
      D3DXQuaternionInverse(&undo, &parent);
      pose[i] = RotationTurning(bone.end - bone.begin, RotateVectorByQuaternion(goal.direction, undo));
    }
    // The stored (rounded) rotation is what playback will use for the children.
    pose[i] = Quantize4(pose[i]);
    D3DXQuaternionMultiply(&accumulated[i], &pose[i], &parent);
  }
  return pose;
}
}  // namespace posewright
