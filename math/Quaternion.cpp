#include "math/Quaternion.h"

#include <cmath>

namespace posewright {

D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* out, const D3DXQUATERNION* q1,
                                       const D3DXQUATERNION* q2) {
  const D3DXQUATERNION& a = *q1;
  const D3DXQUATERNION& b = *q2;
  const D3DXQUATERNION r(
      b.w * a.x + b.x * a.w + b.y * a.z - b.z * a.y, b.w * a.y - b.x * a.z + b.y * a.w + b.z * a.x,
      b.w * a.z + b.x * a.y - b.y * a.x + b.z * a.w, b.w * a.w - b.x * a.x - b.y * a.y - b.z * a.z);
  *out = r;
  return out;
}

D3DXQUATERNION* D3DXQuaternionInverse(D3DXQUATERNION* out, const D3DXQUATERNION* q) {
  const float n = q->x * q->x + q->y * q->y + q->z * q->z + q->w * q->w;
  if (!(n > 1.0842022e-19f)) {
    *out = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 0.0f);
    return out;
  }
  D3DXQUATERNION r(-q->x, -q->y, -q->z, q->w);
  if (n != 1.0f) {
    r = D3DXQUATERNION(r.x / n, r.y / n, r.z / n, r.w / n);
  }
  *out = r;
  return out;
}

D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* out, const D3DXVECTOR3* axis, float angle) {
  D3DXVECTOR3 n;
  D3DXVec3Normalize(&n, axis);
  const float s = std::sin(angle / 2.0f);
  const float c = std::cos(angle / 2.0f);
  *out = D3DXQUATERNION(n.x * s, n.y * s, n.z * s, c);
  return out;
}

D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, const D3DXQUATERNION* q1, const D3DXQUATERNION* q2,
                                    float t) {
  const float c = D3DXQuaternionDot(q1, q2);
  const float sign = c >= 0.0f ? 1.0f : -1.0f;
  const float cp = sign * c;
  float k1 = 1.0f - t;
  float k2 = t;
  if (1.0f - cp > 1.1920929e-7f) {
    const float sinTheta = std::sqrt(1.0f - cp * cp);
    const float theta = std::atan2(sinTheta, cp);
    k1 = std::sin((1.0f - t) * theta) / sinTheta;
    k2 = std::sin(t * theta) / sinTheta;
  }
  k2 *= sign;
  const D3DXQUATERNION r(k1 * q1->x + k2 * q2->x, k1 * q1->y + k2 * q2->y, k1 * q1->z + k2 * q2->z,
                         k1 * q1->w + k2 * q2->w);
  *out = r;
  return out;
}

D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* out, const D3DXQUATERNION* q) {
  const float length = std::sqrt(D3DXQuaternionDot(q, q));
  if (!(length > 0.0f)) {
    *out = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 0.0f);
    return out;
  }
  *out = D3DXQUATERNION(q->x / length, q->y / length, q->z / length, q->w / length);
  return out;
}
}  // namespace posewright
