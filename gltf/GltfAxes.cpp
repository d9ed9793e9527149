#include "gltf/GltfAxes.h"

#include <cmath>

namespace posewright {

namespace gltf {

Point ToGltfPoint(const D3DXVECTOR3& v) {
  return {v.x, v.y, -static_cast<double>(v.z)};
}

Rotation ToGltfRotation(const D3DXQUATERNION& q) {
  return {-static_cast<double>(q.x), -static_cast<double>(q.y), q.z, q.w};
}

Rotation Normalized(const Rotation& q) {
  const double length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
  if (!(length > 1e-30) || !std::isfinite(length)) {
    return {};
  }
  return {q.x / length, q.y / length, q.z / length, q.w / length};
}

Rotation Compose(const Rotation& a, const Rotation& b) {
  return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
          a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

Rotation Inverse(const Rotation& q) {
  return {-q.x, -q.y, -q.z, q.w};
}

Point Rotate(const Rotation& q, const Point& p) {
  // t = 2 (q.xyz × p); p' = p + w t + q.xyz × t
  const double tx = 2.0 * (q.y * p.z - q.z * p.y);
  const double ty = 2.0 * (q.z * p.x - q.x * p.z);
  const double tz = 2.0 * (q.x * p.y - q.y * p.x);
  return {p.x + q.w * tx + (q.y * tz - q.z * ty), p.y + q.w * ty + (q.z * tx - q.x * tz),
          p.z + q.w * tz + (q.x * ty - q.y * tx)};
}

}  // namespace gltf
}  // namespace posewright
