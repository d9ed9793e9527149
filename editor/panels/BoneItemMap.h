// Which entry of the Bone panel's bone list stands for which bone. The list is
// a widget, so the model does not hold its entries: the editor keeps this map
// beside the model and refills both together (FillBoneTree).
#pragma once

#include <cstdint>
#include <vector>

#include "skeleton/Skeleton.h"

namespace posewright {

/// Opaque identity of a bone's entry in the bone list widget; 0 means "none".
using BoneTreeItem = std::uintptr_t;

/// The bone list entry of each bone, in bone order; empty while the list holds
/// no bones.
using BoneItemMap = std::vector<BoneTreeItem>;

/// The index of the first bone whose entry in items equals item, or the last
/// bone when none does. Returns 0 for an empty skeleton.
int32_t BoneIndexOfItem(const Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem item);
}  // namespace posewright
