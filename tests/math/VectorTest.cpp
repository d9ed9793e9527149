#include <gtest/gtest.h>

#include <cmath>

#include "support/MathMatchers.h"

namespace posewright {

namespace {
TEST(Vector, NormaliseOfZeroAndSubnormalGivesZero) {
  D3DXVECTOR3 r(9, 9, 9);
  const D3DXVECTOR3 zero;
  EXPECT_EQ(*D3DXVec3Normalize(&r, &zero), D3DXVECTOR3(0, 0, 0));
  // 1e-20 squared underflows below the smallest normal float.
  const D3DXVECTOR3 tiny(1e-20f, 0, 0);
  EXPECT_EQ(*D3DXVec3Normalize(&r, &tiny), D3DXVECTOR3(0, 0, 0));
  const D3DXVECTOR3 small(1e-18f, 0, 0);  // squared 1e-36: still normal
  EXPECT_EQ(*D3DXVec3Normalize(&r, &small), D3DXVECTOR3(1, 0, 0));
  const D3DXVECTOR3 v(3, 0, 4);
  ExpectNear(*D3DXVec3Normalize(&r, &v), D3DXVECTOR3(0.6f, 0, 0.8f), 1e-7f);
}

TEST(Vector, TransformCoordDividesOnlyWhenWIsNotOne) {
  D3DXMATRIX m = Identity();
  m._44 = 2;
  D3DXVECTOR3 p(2, 4, 6);
  D3DXVec3TransformCoord(&p, &p, &m);
  EXPECT_EQ(p, D3DXVECTOR3(1, 2, 3));
  // w exactly 1: values are passed through untouched (no x/1 rounding games).
  D3DXMATRIX t;
  D3DXMatrixTranslation(&t, 0.1f, 0.2f, 0.3f);
  D3DXVECTOR3 q(1, 1, 1);
  D3DXVec3TransformCoord(&q, &q, &t);
  EXPECT_EQ(q, D3DXVECTOR3(1 + 0.1f, 1 + 0.2f, 1 + 0.3f));
}

TEST(Vector, CrossIsAntiCommutativeAndOrthogonal) {
  const D3DXVECTOR3 a(1, 2, 3), b(-2, 0.5f, 4);
  D3DXVECTOR3 ab, ba;
  D3DXVec3Cross(&ab, &a, &b);
  D3DXVec3Cross(&ba, &b, &a);
  EXPECT_EQ(ab, -ba);
  EXPECT_NEAR(D3DXVec3Dot(&ab, &a), 0.0f, 1e-5f);
  EXPECT_NEAR(D3DXVec3Dot(&ab, &b), 0.0f, 1e-5f);
}
}  // namespace
}  // namespace posewright
