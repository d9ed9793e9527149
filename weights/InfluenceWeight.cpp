#include "weights/InfluenceWeight.h"

#include <cmath>

namespace posewright {

BoneReach::BoneReach(const Bone& bone, const BlendingParams& params)
    : begin(bone.begin),
      axis(bone.end - bone.begin),
      length(D3DXVec3Length(&axis)),
      lengthSquared(length * length),
      R(params.R),
      H(params.H),
      RSquared(params.R * params.R),
      HSquared(params.H * params.H) {}

float InfluenceWeight(const D3DXVECTOR3& p, const BoneReach& reach) {
  const float L = reach.length;
  const D3DXVECTOR3 d = p - reach.begin;
  // Signed distance of p's projection from begin along the bone.
  const float s = D3DXVec3Dot(&d, &reach.axis) / L;
  // How far the projection lies beyond either end, in bone lengths.
  float e;
  if (s < 0.0f) {
    e = -s / L;
  } else if (s <= L) {
    e = 0.0f;
  } else {
    e = (s - L) / L;
  }
  // Distance from the bone's line, in bone lengths: |d × axis| / L², the cross
  // product and length written out as D3DXVec3Cross and D3DXVec3Length compute
  // them, so they can be inlined here.
  const D3DXVECTOR3& a = reach.axis;
  const float cx = d.y * a.z - d.z * a.y;
  const float cy = d.z * a.x - d.x * a.z;
  const float cz = d.x * a.y - d.y * a.x;
  const float r = std::sqrt(cx * cx + cy * cy + cz * cz) / reach.lengthSquared;

  const float wH = e < reach.H ? (e - reach.H) * (e - reach.H) / reach.HSquared : 0.0f;
  const float wR = r < reach.R ? (r - reach.R) * (r - reach.R) / reach.RSquared : 0.0f;
  const float w = wR * wH;
  return std::isfinite(w) ? w : 0.0f;
}

float InfluenceWeight(const D3DXVECTOR3& p, const Bone& bone, const BlendingParams& params) {
  return InfluenceWeight(p, BoneReach(bone, params));
}
}  // namespace posewright
