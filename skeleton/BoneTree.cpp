#include "skeleton/BoneTree.h"

std::string BoneTreeLabel(const std::string& name, int32_t index) {
  return name + " ( " + std::to_string(index) + " ) ";
}

void FillBoneTree(Skeleton& skeleton, BoneTree& tree) {
  tree.clear();
  const std::size_t n = skeleton.bones.size();
  skeleton.treeItems.assign(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    if (i == 0) {
      skeleton.treeItems[0] = tree.append(0, "Root");
      continue;
    }
    const Bone& bone = skeleton.bones[i];
    const BoneTreeItem parent = skeleton.treeItems[static_cast<std::size_t>(bone.parentId)];
    skeleton.treeItems[i] = tree.append(parent, BoneTreeLabel(bone.name, static_cast<int32_t>(i)));
  }
}
