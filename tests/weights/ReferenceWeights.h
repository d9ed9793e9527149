// The automatic weights of one vertex computed step by step, the oracle the
// weight computation is checked against.
#pragma once

#include <vector>

#include "model/SkinnedModel.h"
#include "weights/AnchorContainment.h"
#include "weights/InfluenceWeight.h"

namespace posewright {

// The weights step by step from Contains and InfluenceWeight: containing bones
// in order; beyond four, the weakest dropped one by one (of equal ones the
// highest bone first); influences normalised, equal shares for a zero sum.
inline SkinVertex ReferenceWeights(const Skeleton& s, SkinVertex v) {
  std::vector<uint8_t> bones;
  std::vector<float> raw;
  for (std::size_t b = 1; b < s.bones.size(); ++b) {
    if (Contains(v.position, s.anchors[b])) {
      bones.push_back(static_cast<uint8_t>(b));
      raw.push_back(InfluenceWeight(v.position, s.bones[b], s.blendParams[b]));
    }
  }
  while (bones.size() > 4) {
    std::size_t weakest = 0;
    for (std::size_t i = 0; i < bones.size(); ++i) {
      if (raw[i] <= raw[weakest]) weakest = i;
    }
    bones.erase(bones.begin() + static_cast<std::ptrdiff_t>(weakest));
    raw.erase(raw.begin() + static_cast<std::ptrdiff_t>(weakest));
  }
  float w[4] = {0, 0, 0, 0};
  v.boneIndices = 0;
  for (std::size_t i = 0; i < bones.size(); ++i) {
    w[i] = raw[i];
    v.setBoneIndex(static_cast<int>(i), bones[i]);
  }
  float sum = w[0] + w[1] + w[2] + w[3];
  if (sum == 0.0f) {
    for (std::size_t i = 0; i < bones.size(); ++i) w[i] = 1.0f;
    sum = static_cast<float>(bones.size());
  }
  for (int i = 0; i < 3; ++i) v.blendWeights[i] = bones.empty() ? 0.0f : w[i] / sum;
  v.pointSize = 10.0f;
  return v;
}
}  // namespace posewright
