// The unnormalised influence of one bone on a point, from the point's distance
// to the bone's segment and the bone's reaches R (radial) and H (axial).
#pragma once

#include "math/Vector3.h"
#include "skeleton/BlendingParams.h"
#include "skeleton/Bone.h"

namespace posewright {

/// What the influence of a bone needs, computed once per bone.
struct BoneReach {
  D3DXVECTOR3 begin;
  /// end − begin.
  D3DXVECTOR3 axis;
  /// |axis|, the bone's length L.
  float length = 0.0f;
  /// L · L.
  float lengthSquared = 0.0f;
  float R = 0.0f;
  float H = 0.0f;
  float RSquared = 0.0f;
  float HSquared = 0.0f;

  BoneReach() = default;
  BoneReach(const Bone& bone, const BlendingParams& params);
};

/// The influence of the bone described by reach on the point p, in single
/// precision: 1 on the bone's segment, falling quadratically to 0 at radial
/// distance R·L from its line and at H·L beyond either end; the product of the
/// radial and the axial term. A result that is not finite (a bone of zero length,
/// an infinite reach) is 0.
float InfluenceWeight(const D3DXVECTOR3& p, const BoneReach& reach);

/// The same for bone with its blending parameters.
float InfluenceWeight(const D3DXVECTOR3& p, const Bone& bone, const BlendingParams& params);
}  // namespace posewright
