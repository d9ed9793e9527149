// The bone list the user picks bones from: an abstract tree of labelled
// entries, so the editor can fill it without knowing the widget set.
#pragma once

#include <cstdint>
#include <string>

#include "editor/panels/BoneItemMap.h"
#include "skeleton/Skeleton.h"

namespace posewright {

class BoneTree {
 public:
  virtual ~BoneTree() = default;

  /// Removes every entry.
  virtual void clear() = 0;

  /// Appends an entry labelled label as the last child of parent (0: as the
  /// last entry of the top level) and returns its handle, which is never 0.
  virtual BoneTreeItem append(BoneTreeItem parent, const std::string& label) = 0;
};

/// The label of bone index's entry: the name, " ( ", the index in decimal,
/// " ) " (so it ends in a space). The root's entry is labelled "Root" instead.
std::string BoneTreeLabel(const std::string& name, int32_t index);

/// How the root's entry is labelled: "Root" for a skeleton read from a bone
/// data file; like every other bone (BoneTreeLabel, "Root ( 0 ) " for a root
/// named Root) for one read from a SkinnedMesh file.
enum class RootLabel { Root, Named };

/// Empties tree and gives every bone of skeleton an entry, nested as the parent
/// indices say: the root at the top level, every other bone under its parent's
/// entry, in bone order. Stores the handles in items. Requires
/// 0 <= parentId < i for every bone i >= 1.
void FillBoneTree(const Skeleton& skeleton, BoneTree& tree, BoneItemMap& items,
                  RootLabel rootLabel = RootLabel::Root);
}  // namespace posewright
