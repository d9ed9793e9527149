// Changing a bone's blending parameters and its mirror partner, for the bone
// picked in the bone list.
#pragma once

#include <cstdint>

#include "editor/panels/BoneItemMap.h"
#include "skeleton/Skeleton.h"

namespace posewright {

/// Stores R and H for the bone of item (BoneIndexOfItem: the last bone when no
/// bone has that entry in items) and returns its index; -1 and nothing stored when the
/// skeleton has no bones. The weights are not recomputed.
int32_t SetBlendingParams(Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem item, float R, float H);

/// Pairs the bone i of item with bone s: bone i's symmetricId becomes s and bone
/// s's becomes i; the previous partners of both keep theirs. An s outside
/// 0..boneCount−1 is taken as 0 (the root). Returns i, or -1 and changes nothing
/// when the skeleton has no bones.
int32_t SetSymmetricBone(Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem item, int32_t s);
}  // namespace posewright
