// Tolerance comparisons for the math types, shared by every test folder.
#pragma once

#include <gtest/gtest.h>

#include <numbers>

#include "math/D3DXMath.h"

namespace posewright {

/// A quarter turn in radians.
inline constexpr float kHalfPi = std::numbers::pi_v<float> / 2.0f;

inline void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float tol = 1e-5f) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

inline void ExpectNear(const D3DXQUATERNION& a, const D3DXQUATERNION& b, float tol = 1e-5f) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
  EXPECT_NEAR(a.w, b.w, tol);
}

inline void ExpectNear(const D3DXMATRIX& a, const D3DXMATRIX& b, float tol = 1e-5f) {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      EXPECT_NEAR(a.m(r, c), b.m(r, c), tol) << "element _" << r + 1 << c + 1;
    }
  }
}

inline D3DXMATRIX Identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

inline D3DXQUATERNION AxisAngle(float x, float y, float z, float angle) {
  const D3DXVECTOR3 axis(x, y, z);
  D3DXQUATERNION q;
  D3DXQuaternionRotationAxis(&q, &axis, angle);
  return q;
}
}  // namespace posewright
