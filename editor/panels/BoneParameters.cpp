#include "editor/panels/BoneParameters.h"

namespace posewright {

int32_t SetBlendingParams(Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem item, float R, float H) {
  if (skeleton.bones.empty()) {
    return -1;
  }
  const int32_t i = BoneIndexOfItem(skeleton, items, item);
  if (static_cast<std::size_t>(i) >= skeleton.blendParams.size()) {
    return -1;
  }
  skeleton.blendParams[static_cast<std::size_t>(i)] = BlendingParams{R, H};
  return i;
}

int32_t SetSymmetricBone(Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem item, int32_t s) {
  const int32_t count = skeleton.boneCount();
  if (count == 0) {
    return -1;
  }
  if (s < 0 || s >= count) {
    s = 0;
  }
  const int32_t i = BoneIndexOfItem(skeleton, items, item);
  skeleton.bones[static_cast<std::size_t>(i)].symmetricId = s;
  skeleton.bones[static_cast<std::size_t>(s)].symmetricId = i;
  return i;
}
}  // namespace posewright
