#include "skin/InfluenceWeight.h"

#include <cmath>

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
  // Distance from the bone's line, in bone lengths.
  D3DXVECTOR3 cross;
  D3DXVec3Cross(&cross, &d, &reach.axis);
  const float r = D3DXVec3Length(&cross) / reach.lengthSquared;

  const float wH = e < reach.H ? (e - reach.H) * (e - reach.H) / reach.HSquared : 0.0f;
  const float wR = r < reach.R ? (r - reach.R) * (r - reach.R) / reach.RSquared : 0.0f;
  const float w = wR * wH;
  return std::isfinite(w) ? w : 0.0f;
}

float InfluenceWeight(const D3DXVECTOR3& p, const Bone& bone, const BlendingParams& params) {
  return InfluenceWeight(p, BoneReach(bone, params));
}
