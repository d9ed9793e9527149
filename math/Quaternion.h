// Single-precision quaternion stored as (x, y, z, w), w the scalar part, with
// the D3DX semantics: Multiply(q1, q2) is "q1 followed by q2".
#pragma once

#include "math/Vector3.h"

namespace posewright {

struct D3DXQUATERNION {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 1.0f;

  constexpr D3DXQUATERNION() = default;
  constexpr D3DXQUATERNION(float ax, float ay, float az, float aw) : x(ax), y(ay), z(az), w(aw) {}
  friend D3DXQUATERNION operator-(const D3DXQUATERNION& q) { return {-q.x, -q.y, -q.z, -q.w}; }
  friend bool operator==(const D3DXQUATERNION&, const D3DXQUATERNION&) = default;
};
static_assert(sizeof(D3DXQUATERNION) == 16);

/// The identity rotation (0, 0, 0, 1).
inline D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* out) {
  *out = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f);
  return out;
}

/// Dot product over all four components.
inline float D3DXQuaternionDot(const D3DXQUATERNION* a, const D3DXQUATERNION* b) {
  return a->x * b->x + a->y * b->y + a->z * b->z + a->w * b->w;
}

/// Rotation q1 followed by q2 (the Hamilton product q2·q1). Not normalised.
D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* out, const D3DXQUATERNION* q1,
                                       const D3DXQUATERNION* q2);

/// Conjugate divided by the squared norm n. When n is not above 2^-63 the result
/// is (0, 0, 0, 0); when n is exactly 1 the conjugate is returned undivided.
D3DXQUATERNION* D3DXQuaternionInverse(D3DXQUATERNION* out, const D3DXQUATERNION* q);

/// Rotation by angle (radians) about axis; the axis is normalised first.
D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* out, const D3DXVECTOR3* axis, float angle);

/// Spherical interpolation along the shorter arc; falls back to linear weights
/// when the inputs are within 2^-23 of parallel. The result is not renormalised.
D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, const D3DXQUATERNION* q1, const D3DXQUATERNION* q2,
                                    float t);

/// q / |q|; a quaternion of zero length yields (0, 0, 0, 0).
D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* out, const D3DXQUATERNION* q);
}  // namespace posewright
