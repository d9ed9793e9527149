// glTF's own semantics, written out independently of the exporter, for
// checking exported data: transforms from translation and rotation, world
// matrices through the node tree, LINEAR rotation sampling (spherical along
// the shorter arc, clamped at both ends) and linear-blend skinning.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace posewright {

namespace gltfref {

/// Column-major 4×4, element (row r, column c) at [4c + r].
using Mat4 = std::array<double, 16>;
using Quat = std::array<double, 4>;  // x, y, z, w
using Vec3 = std::array<double, 3>;

inline Mat4 Multiply(const Mat4& a, const Mat4& b) {
  Mat4 m{};
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r)
      for (int k = 0; k < 4; ++k) m[4 * c + r] += a[4 * k + r] * b[4 * c + k];
  return m;
}

/// T · R for a node with translation t and unit rotation q (scale 1).
inline Mat4 NodeMatrix(const Vec3& t, const Quat& q) {
  const double x = q[0], y = q[1], z = q[2], w = q[3];
  return {1 - 2 * (y * y + z * z),
          2 * (x * y + z * w),
          2 * (x * z - y * w),
          0,
          2 * (x * y - z * w),
          1 - 2 * (x * x + z * z),
          2 * (y * z + x * w),
          0,
          2 * (x * z + y * w),
          2 * (y * z - x * w),
          1 - 2 * (x * x + y * y),
          0,
          t[0],
          t[1],
          t[2],
          1};
}

inline Vec3 Transform(const Mat4& m, const Vec3& p) {
  return {m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12], m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13],
          m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14]};
}

/// Spherical interpolation from a to b along the shorter arc.
inline Quat Slerp(const Quat& a, Quat b, double t) {
  double d = a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
  if (d < 0) {
    d = -d;
    for (double& c : b) c = -c;
  }
  double ka = 1 - t, kb = t;
  if (d < 1 - 1e-12) {
    const double theta = std::acos(std::min(d, 1.0));
    ka = std::sin((1 - t) * theta) / std::sin(theta);
    kb = std::sin(t * theta) / std::sin(theta);
  }
  Quat q;
  for (int i = 0; i < 4; ++i) q[i] = ka * a[i] + kb * b[i];
  const double n = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
  for (double& c : q) c /= n;
  return q;
}

/// A LINEAR rotation sampler at time t: clamped before the first and after
/// the last input, slerp between the two inputs around t otherwise.
inline Quat SampleRotation(const std::vector<float>& times, const std::vector<Quat>& values, double t) {
  if (t <= times.front()) return values.front();
  if (t >= times.back()) return values.back();
  const std::size_t k =
      static_cast<std::size_t>(std::upper_bound(times.begin(), times.end(), t) - times.begin());
  const double u = (t - times[k - 1]) / (static_cast<double>(times[k]) - times[k - 1]);
  return Slerp(values[k - 1], values[k], u);
}

/// Σ w_i · (joint matrix i) · p over four joints.
inline Vec3 Skin(const std::vector<Mat4>& jointMatrices, const std::array<int, 4>& joints,
                 const std::array<double, 4>& weights, const Vec3& p) {
  Vec3 sum{0, 0, 0};
  for (int i = 0; i < 4; ++i) {
    if (weights[i] == 0) continue;
    const Vec3 q = Transform(jointMatrices[static_cast<std::size_t>(joints[i])], p);
    for (int c = 0; c < 3; ++c) sum[c] += weights[i] * q[c];
  }
  return sum;
}

}  // namespace gltfref
}  // namespace posewright
