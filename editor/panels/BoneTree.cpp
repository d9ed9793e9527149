#include "editor/panels/BoneTree.h"

#include <cassert>

namespace posewright {

std::string BoneTreeLabel(const std::string& name, int32_t index) {
  return name + " ( " + std::to_string(index) + " ) ";
}

void FillBoneTree(const Skeleton& skeleton, BoneTree& tree, BoneItemMap& items, RootLabel rootLabel) {
  tree.clear();
  const std::size_t n = skeleton.bones.size();
  items.assign(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    const Bone& bone = skeleton.bones[i];
    if (i == 0) {
      items[0] =
          tree.append(0, rootLabel == RootLabel::Root ? std::string("Root") : BoneTreeLabel(bone.name, 0));
      continue;
    }
    assert(bone.parentId >= 0 && static_cast<std::size_t>(bone.parentId) < i && "parents come first");
    const BoneTreeItem parent = items[static_cast<std::size_t>(bone.parentId)];
    items[i] = tree.append(parent, BoneTreeLabel(bone.name, static_cast<int32_t>(i)));
  }
}
}  // namespace posewright
