#include "tools/gen/AnchorFitting.h"

#include <algorithm>
#include <cmath>

#include "tools/gen/ConvexAnchor.h"

BoneAnchor FitCapsuleAnchor(const BoneFrame& frame, const std::vector<D3DXVECTOR3>& points, int sides, float margin) {
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
