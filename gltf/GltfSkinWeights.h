// JOINTS_0 / WEIGHTS_0 from a vertex's four influence slots.
#pragma once

#include <array>
#include <cstdint>

#include "mesh/SkinVertex.h"

namespace posewright {

namespace gltf {

/// One vertex's joints and weights as glTF wants them: no joint twice with a
/// weight, no negative weight, a zero weight always with joint 0, and a sum
/// of 1 within the validator's float32 tolerance (2e-7 per used slot).
struct JointWeights {
  std::array<uint8_t, 4> joints{0, 0, 0, 0};
  std::array<float, 4> weights{0.0f, 0.0f, 0.0f, 0.0f};
};

/// The slots of v as the skinning program weighs them (slots 0–2 their blend
/// weights, slot 3 1 − (w0 + w1 + w2), bone 0 — the root — included), with
/// the joint index equal to the bone index. A bone named twice keeps one slot
/// with the summed weight. Slots whose bone is not below boneCount, and
/// negative weights, which glTF cannot carry, are dropped. Weights that sum to
/// 1 within the tolerance are kept exactly; a sum off by less than 1e-4
/// (rounding, such as the slot-3 remainder −1e-6 on an empty slot) is made
/// 1 by the largest weight alone; a sum further off is scaled to 1. A vertex
/// left with no weight follows the root alone.
JointWeights ToJointWeights(const SkinVertex& v, int32_t boneCount);

/// Whether the validator accepts the weights' sum: the used (non-zero)
/// weights added in slot order in float32 differ from 1 by at most 2e-7 per
/// used weight.
bool SumsToOne(const std::array<float, 4>& weights);

}  // namespace gltf
}  // namespace posewright
