#include "mesh/SkinPosition.h"

namespace posewright {

D3DXVECTOR3 SkinnedPosition(const SkinVertex& v, std::span<const D3DXMATRIX> skinMatrices) {
  const float weights[4] = {v.blendWeights[0], v.blendWeights[1], v.blendWeights[2], v.lastWeight()};
  const D3DXVECTOR3& p = v.position;
  D3DXVECTOR3 sum(0.0f, 0.0f, 0.0f);
  for (int slot = 0; slot < 4; ++slot) {
    const std::size_t bone = v.boneIndex(slot);
    if (bone >= skinMatrices.size()) {
      continue;
    }
    const D3DXMATRIX& m = skinMatrices[bone];
    const float w = weights[slot];
    sum.x += w * (p.x * m.m(0, 0) + p.y * m.m(1, 0) + p.z * m.m(2, 0) + m.m(3, 0));
    sum.y += w * (p.x * m.m(0, 1) + p.y * m.m(1, 1) + p.z * m.m(2, 1) + m.m(3, 1));
    sum.z += w * (p.x * m.m(0, 2) + p.y * m.m(1, 2) + p.z * m.m(2, 2) + m.m(3, 2));
  }
  return sum;
}
}  // namespace posewright
