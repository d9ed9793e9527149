#include "importer/AnchorFitting.h"

#include <algorithm>
#include <cmath>

#include "importer/ConvexAnchor.h"

namespace posewright {

BoneAnchor FitCapsuleAnchor(const BoneFrame& frame, const std::vector<D3DXVECTOR3>& points, int sides,
                            float margin) {
  float sMin = 1e30f, sMax = -1e30f, uMin = 1e30f, uMax = -1e30f, vMin = 1e30f, vMax = -1e30f;
  for (const D3DXVECTOR3& p : points) {
    const D3DXVECTOR3 d = p - frame.origin;
    const float s = D3DXVec3Dot(&d, &frame.axis);
    const float u = D3DXVec3Dot(&d, &frame.u);
    const float v = D3DXVec3Dot(&d, &frame.v);
    sMin = std::min(sMin, s);
    sMax = std::max(sMax, s);
    uMin = std::min(uMin, u);
    uMax = std::max(uMax, u);
    vMin = std::min(vMin, v);
    vMax = std::max(vMax, v);
  }
  CapsuleShape shape;
  shape.sides = sides;
  shape.s0 = sMin - margin;
  shape.s1 = sMax + margin;
  shape.cu = 0.5f * (uMin + uMax);
  shape.cv = 0.5f * (vMin + vMax);
  const float a0 = std::max(0.5f * (uMax - uMin), 0.01f);
  const float b0 = std::max(0.5f * (vMax - vMin), 0.01f);
  // Every point lies inside the ellipse (a0·k, b0·k); the polygon whose corners
  // lie on an ellipse holds that ellipse shrunk by cos(π/sides).
  float k = 0.0f;
  for (const D3DXVECTOR3& p : points) {
    const D3DXVECTOR3 d = p - frame.origin;
    const float u = (D3DXVec3Dot(&d, &frame.u) - shape.cu) / a0;
    const float v = (D3DXVec3Dot(&d, &frame.v) - shape.cv) / b0;
    k = std::max(k, std::sqrt(u * u + v * v));
  }
  const float inscribed = std::cos(3.14159265358979f / static_cast<float>(sides));
  shape.a = a0 * k / inscribed + margin;
  shape.b = b0 * k / inscribed + margin;
  shape.capLength = 0.3f * std::min(shape.a, shape.b);
  return MakeCapsuleAnchor(frame, shape);
}

BoneAnchor FitPrismAnchor(const BoneFrame& frame, const std::vector<D3DXVECTOR3>& points, int sides,
                          float margin) {
  std::vector<float> cosines(static_cast<std::size_t>(sides)), sines(static_cast<std::size_t>(sides));
  for (int k = 0; k < sides; ++k) {
    const float angle = RingAngle(k, sides);
    cosines[static_cast<std::size_t>(k)] = std::cos(angle);
    sines[static_cast<std::size_t>(k)] = std::sin(angle);
  }
  // Each side's reach: the largest offset of a point in its direction.
  std::vector<float> reach(static_cast<std::size_t>(sides), -1e30f);
  float sMin = 1e30f, sMax = -1e30f;
  for (const D3DXVECTOR3& p : points) {
    const D3DXVECTOR3 d = p - frame.origin;
    const float s = D3DXVec3Dot(&d, &frame.axis);
    const float u = D3DXVec3Dot(&d, &frame.u);
    const float v = D3DXVec3Dot(&d, &frame.v);
    sMin = std::min(sMin, s);
    sMax = std::max(sMax, s);
    for (std::size_t k = 0; k < reach.size(); ++k) {
      reach[k] = std::max(reach[k], u * cosines[k] + v * sines[k]);
    }
  }
  for (float& r : reach) {
    r += margin;
  }
  // Corner k joins side k and side k + 1: u·cos θ + v·sin θ = reach on both.
  RingShape shape;
  float cu = 0.0f, cv = 0.0f;
  for (std::size_t k = 0; k < reach.size(); ++k) {
    const std::size_t n = (k + 1) % reach.size();
    const float det = cosines[k] * sines[n] - sines[k] * cosines[n];
    const float u = (reach[k] * sines[n] - reach[n] * sines[k]) / det;
    const float v = (reach[n] * cosines[k] - reach[k] * cosines[n]) / det;
    shape.ring.emplace_back(u, v);
    cu += u;
    cv += v;
  }
  shape.cu = cu / static_cast<float>(sides);
  shape.cv = cv / static_cast<float>(sides);
  float halfWidth = 1e30f;
  for (std::size_t k = 0; k < reach.size(); ++k) {
    halfWidth = std::min(halfWidth, reach[k] - (shape.cu * cosines[k] + shape.cv * sines[k]));
  }
  float farthest = 0.0f;
  for (const auto& [u, v] : shape.ring) {
    farthest = std::max(farthest, std::hypot(u - shape.cu, v - shape.cv));
  }
  shape.s0 = sMin - margin;
  shape.s1 = sMax + margin;
  // Every cap face slopes by at least a tenth, so none stands parallel to Z
  // when the bone lies across it.
  shape.capLength = std::max({0.25f * halfWidth, 0.1f * farthest, margin});
  return MakeRingAnchor(frame, shape);
}
}  // namespace posewright
