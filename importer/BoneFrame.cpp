#include "importer/BoneFrame.h"

#include <cmath>

namespace posewright {

D3DXQUATERNION AxisRotation(const D3DXVECTOR3& axis, float angle) {
  D3DXQUATERNION q;
  D3DXQuaternionRotationAxis(&q, &axis, angle);
  return q;
}

D3DXQUATERNION RotationTurning(const D3DXVECTOR3& from, const D3DXVECTOR3& to) {
  D3DXVECTOR3 a;
  D3DXVECTOR3 b;
  D3DXVec3Normalize(&a, &from);
  D3DXVec3Normalize(&b, &to);
  D3DXVECTOR3 axis;
  D3DXVec3Cross(&axis, &a, &b);
  const float s = D3DXVec3Length(&axis);
  const float c = D3DXVec3Dot(&a, &b);
  if (s < 1e-6f) {
    if (c > 0.0f) {
      return D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f);
    }
    // Half a turn about any axis perpendicular to a.
    const D3DXVECTOR3 helper = std::fabs(a.x) < 0.9f ? D3DXVECTOR3(1, 0, 0) : D3DXVECTOR3(0, 1, 0);
    D3DXVec3Cross(&axis, &a, &helper);
    return AxisRotation(axis, 3.14159265358979f);
  }
  return AxisRotation(axis, std::atan2(s, c));
}

D3DXQUATERNION RestRotationFor(const D3DXVECTOR3& direction) {
  return RotationTurning(D3DXVECTOR3(0.0f, 0.0f, 1.0f), direction);
}

BoneFrame MakeBoneFrame(const D3DXVECTOR3& begin, const D3DXVECTOR3& end) {
  BoneFrame f;
  f.origin = begin;
  const D3DXVECTOR3 d = end - begin;
  D3DXVec3Normalize(&f.axis, &d);
  const D3DXVECTOR3 z(0.0f, 0.0f, 1.0f);
  D3DXVECTOR3 u;
  D3DXVec3Cross(&u, &f.axis, &z);
  if (D3DXVec3Length(&u) < 1e-4f) {
    u = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
  }
  D3DXVec3Normalize(&f.u, &u);
  D3DXVec3Cross(&f.v, &f.u, &f.axis);
  return f;
}
}  // namespace posewright
