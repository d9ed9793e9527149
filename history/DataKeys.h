// The pieces of data whose saved state the editor tracks, as history keys.
#pragma once

#include "anim/Animation.h"
#include "history/HistoryStep.h"

namespace posewright {

/// The bound mesh with its weights, the skeleton and its pose: what a .skm
/// file holds (a mirror partner is held by both files).
inline constexpr DataKey kModelData = 1;
/// R, H and the mirror partners: what a .prm file holds.
inline constexpr DataKey kBlendingData = 2;

/// One animation: its keyframes, as a .anm file holds them.
inline DataKey AnimationData(const Animation& animation) {
  return DataKey{0x100} + animation.serial();
}
}  // namespace posewright
