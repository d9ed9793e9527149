#include "render/WeightColours.h"

#include <algorithm>

namespace posewright {

D3DXVECTOR4 WeightRampColour(float weight) {
  // !(w > 0) also catches NaN.
  const float w = !(weight > 0.0f) ? 0.0f : std::min(weight, 1.0f);
  if (w < 0.5f) {
    const float t = 2.0f * w;
    return D3DXVECTOR4(0.0f, t, 1.0f - t, 1.0f);
  }
  const float t = 2.0f * w - 1.0f;
  return D3DXVECTOR4(t, 1.0f - t, 0.0f, 1.0f);
}

D3DXVECTOR4 BoneWeightColour(const uint32_t offsets[4], const float weights[4], uint32_t boneOffset) {
  bool bound = false;
  float weight = 0.0f;
  for (int k = 0; k < 4; ++k) {
    if (offsets[k] == boneOffset) {
      bound = true;
      weight += weights[k];
    }
  }
  return bound ? WeightRampColour(weight) : kUnboundWeightColour;
}
}  // namespace posewright
