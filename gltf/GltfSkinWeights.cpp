#include "gltf/GltfSkinWeights.h"

#include <cmath>

namespace posewright {

namespace gltf {

bool SumsToOne(const std::array<float, 4>& weights) {
  float sum = 0.0f;
  double tolerance = 0.0;
  for (float w : weights) {
    if (w != 0.0f) {
      sum += w;
      tolerance += 2e-7;
    }
  }
  return std::fabs(static_cast<double>(sum) - 1.0) <= tolerance;
}

JointWeights ToJointWeights(const SkinVertex& v, int32_t boneCount) {
  const float slotWeights[4] = {v.blendWeights[0], v.blendWeights[1], v.blendWeights[2], v.lastWeight()};
  JointWeights out;
  int used = 0;
  for (int slot = 0; slot < 4; ++slot) {
    const uint8_t bone = v.boneIndex(slot);
    const float w = slotWeights[slot];
    if (!(w > 0.0f) || bone >= boneCount) continue;
    int k = 0;
    while (k < used && out.joints[static_cast<std::size_t>(k)] != bone) ++k;
    if (k == used) {
      out.joints[static_cast<std::size_t>(used)] = bone;
      ++used;
    }
    out.weights[static_cast<std::size_t>(k)] += w;
  }
  if (used == 0 || !std::isfinite(out.weights[0] + out.weights[1] + out.weights[2] + out.weights[3])) {
    return JointWeights{{0, 0, 0, 0}, {1.0f, 0.0f, 0.0f, 0.0f}};
  }
  if (SumsToOne(out.weights)) return out;
  double sum = 0.0;
  std::size_t largest = 0;
  for (std::size_t k = 0; k < 4; ++k) {
    sum += out.weights[k];
    if (out.weights[k] > out.weights[largest]) largest = k;
  }
  // A sum far from 1 (a dropped weight that mattered) is scaled back to 1; a
  // sum off by rounding noise (such as a slot-3 remainder of −1e-6 on an
  // empty slot) is left to the largest weight alone, so the others stay exact.
  if (std::fabs(sum - 1.0) > 1e-4) {
    for (float& w : out.weights) w = static_cast<float>(w / sum);
  }
  for (int attempt = 0; attempt < 4 && !SumsToOne(out.weights); ++attempt) {
    double rest = 1.0;
    for (std::size_t k = 0; k < 4; ++k) {
      if (k != largest) rest -= out.weights[k];
    }
    out.weights[largest] = static_cast<float>(rest);
  }
  return out;
}

}  // namespace gltf
}  // namespace posewright
