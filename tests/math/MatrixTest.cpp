#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/MathMatchers.h"

namespace posewright {

namespace {

TEST(Matrix, LayoutIsRowMajorWithTranslationInFourthRow) {
  D3DXMATRIX t;
  D3DXMatrixTranslation(&t, 1, 2, 3);
  const float* raw = &t._11;
  EXPECT_EQ(raw[12], 1.0f);
  EXPECT_EQ(raw[13], 2.0f);
  EXPECT_EQ(raw[14], 3.0f);
  D3DXVECTOR3 p(10, 20, 30);
  D3DXVec3TransformCoord(&p, &p, &t);
  EXPECT_EQ(p, D3DXVECTOR3(11, 22, 33));
}

TEST(Matrix, MultiplyAppliesLeftOperandFirst) {
  D3DXMATRIX s, t, st, ts;
  D3DXMatrixScaling(&s, 2, 2, 2);
  D3DXMatrixTranslation(&t, 1, 0, 0);
  D3DXMatrixMultiply(&st, &s, &t);
  D3DXMatrixMultiply(&ts, &t, &s);
  D3DXVECTOR3 p(1, 0, 0), a, b;
  D3DXVec3TransformCoord(&a, &p, &st);
  D3DXVec3TransformCoord(&b, &p, &ts);
  EXPECT_EQ(a, D3DXVECTOR3(3, 0, 0));  // scale, then move
  EXPECT_EQ(b, D3DXVECTOR3(4, 0, 0));  // move, then scale
  D3DXMATRIX id = Identity(), r;
  EXPECT_EQ(*D3DXMatrixMultiply(&r, &st, &id), st);
}

TEST(Matrix, InverseOfZeroRowMatrixProducesNothing) {
  D3DXMATRIX m = Identity();
  m._21 = m._22 = m._23 = m._24 = 0;
  D3DXMATRIX out = Identity();
  out._11 = 42;
  float det = 7;
  EXPECT_EQ(D3DXMatrixInverse(&out, &det, &m), nullptr);
  EXPECT_EQ(det, 0.0f);
  EXPECT_EQ(out._11, 42.0f);  // untouched
}

TEST(Matrix, InverseUndoesAnAffineTransform) {
  D3DXMATRIX r, t, m, inv, product;
  D3DXMatrixRotationY(&r, 0.6f);
  D3DXMatrixTranslation(&t, 3, -2, 5);
  D3DXMatrixMultiply(&m, &r, &t);
  float det = 0;
  ASSERT_NE(D3DXMatrixInverse(&inv, &det, &m), nullptr);
  EXPECT_NEAR(det, 1.0f, 1e-6f);
  D3DXMatrixMultiply(&product, &m, &inv);
  ExpectNear(product, Identity(), 1e-6f);
}

TEST(Matrix, RotationYAgreesWithQuaternionPath) {
  D3DXMATRIX fromAngle, fromQuat;
  D3DXMatrixRotationY(&fromAngle, kHalfPi);
  const D3DXQUATERNION q = AxisAngle(0, 1, 0, kHalfPi);
  D3DXMatrixRotationQuaternion(&fromQuat, &q);
  ExpectNear(fromAngle, fromQuat, 1e-6f);
  // Left-handed: a quarter turn about +Y carries +Z onto +X.
  D3DXVECTOR3 z(0, 0, 1);
  D3DXVec3TransformCoord(&z, &z, &fromAngle);
  ExpectNear(z, D3DXVECTOR3(1, 0, 0), 1e-6f);
  D3DXMATRIX rx;
  D3DXMatrixRotationX(&rx, kHalfPi);
  D3DXVECTOR3 y(0, 1, 0);
  D3DXVec3TransformCoord(&y, &y, &rx);
  ExpectNear(y, D3DXVECTOR3(0, 0, 1), 1e-6f);
}

TEST(Matrix, RotationQuaternionDoesNotNormalise) {
  const D3DXQUATERNION q(0, 0, 0, 2);
  D3DXMATRIX m;
  D3DXMatrixRotationQuaternion(&m, &q);
  EXPECT_EQ(m, Identity());  // only x, y, z enter the diagonal terms
  const D3DXQUATERNION q2(1, 0, 0, 0);
  D3DXMatrixRotationQuaternion(&m, &q2);
  EXPECT_EQ(m._22, -1.0f);
  EXPECT_EQ(m._33, -1.0f);
}

TEST(Matrix, ProjectionsMapDepthRangeToZeroOne) {
  D3DXMATRIX ortho;
  D3DXMatrixOrthoLH(&ortho, 4, 2, 1, 11);
  D3DXVECTOR3 nearPoint(2, 1, 1), farPoint(-2, -1, 11);
  D3DXVec3TransformCoord(&nearPoint, &nearPoint, &ortho);
  D3DXVec3TransformCoord(&farPoint, &farPoint, &ortho);
  ExpectNear(nearPoint, D3DXVECTOR3(1, 1, 0));
  ExpectNear(farPoint, D3DXVECTOR3(-1, -1, 1));
  D3DXMATRIX persp;
  D3DXMatrixPerspectiveLH(&persp, 2, 2, 1, 100);
  D3DXVECTOR3 p(1, 1, 1), q(0, 0, 100);
  D3DXVec3TransformCoord(&p, &p, &persp);
  D3DXVec3TransformCoord(&q, &q, &persp);
  ExpectNear(p, D3DXVECTOR3(1, 1, 0));
  ExpectNear(q, D3DXVECTOR3(0, 0, 1), 1e-5f);
}

TEST(Matrix, TransposeMovesColumnsToRows) {
  D3DXMATRIX t, tt;
  D3DXMatrixTranslation(&t, 1, 2, 3);
  D3DXMatrixTranspose(&tt, &t);
  EXPECT_EQ(tt._14, 1.0f);
  EXPECT_EQ(tt._24, 2.0f);
  EXPECT_EQ(tt._34, 3.0f);
  EXPECT_EQ(tt._41, 0.0f);
}
}  // namespace
}  // namespace posewright
