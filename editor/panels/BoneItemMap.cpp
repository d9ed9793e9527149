#include "editor/panels/BoneItemMap.h"

namespace posewright {

int32_t BoneIndexOfItem(const Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem item) {
  const int32_t n = skeleton.boneCount();
  if (n == 0) {
    return 0;
  }
  const std::size_t known = items.size();
  int32_t i = 0;
  while (i < n - 1) {
    const std::size_t k = static_cast<std::size_t>(i);
    if (k < known && items[k] == item) {
      break;
    }
    ++i;
  }
  return i;
}
}  // namespace posewright
