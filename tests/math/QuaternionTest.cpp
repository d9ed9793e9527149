#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/MathMatchers.h"

namespace posewright {

namespace {

TEST(Quaternion, MultiplyByIdentityOnEitherSideIsExact) {
  const D3DXQUATERNION q(0.1f, -0.2f, 0.3f, 0.9f);
  const D3DXQUATERNION id;
  D3DXQUATERNION r;
  EXPECT_EQ(*D3DXQuaternionMultiply(&r, &q, &id), q);
  EXPECT_EQ(*D3DXQuaternionMultiply(&r, &id, &q), q);
}

TEST(Quaternion, MultiplyMeansFirstThenSecondLikeMatrices) {
  const D3DXQUATERNION a = AxisAngle(1, 0, 0, 0.7f);
  const D3DXQUATERNION b = AxisAngle(0, 1, 0, -1.1f);
  D3DXQUATERNION ab;
  D3DXQuaternionMultiply(&ab, &a, &b);
  D3DXMATRIX ma, mb, mab, product;
  D3DXMatrixRotationQuaternion(&ma, &a);
  D3DXMatrixRotationQuaternion(&mb, &b);
  D3DXMatrixRotationQuaternion(&mab, &ab);
  D3DXMatrixMultiply(&product, &ma, &mb);
  ExpectNear(mab, product);
}

TEST(Quaternion, MultiplyOutputMayAliasInput) {
  D3DXQUATERNION a = AxisAngle(0, 0, 1, 0.4f);
  const D3DXQUATERNION b = AxisAngle(1, 1, 0, 0.9f);
  D3DXQUATERNION expected;
  D3DXQuaternionMultiply(&expected, &a, &b);
  D3DXQuaternionMultiply(&a, &a, &b);
  EXPECT_EQ(a, expected);
}

TEST(Quaternion, InverseThresholdsAndExactUnitRule) {
  D3DXQUATERNION r;
  const D3DXQUATERNION zero(0, 0, 0, 0);
  EXPECT_EQ(*D3DXQuaternionInverse(&r, &zero), D3DXQUATERNION(0, 0, 0, 0));
  // Squared norm exactly 2^-63 (2^-64 + 2^-64) is "not above" the threshold;
  // twice that is, and is inverted.
  const float c = std::ldexp(1.0f, -32);
  const D3DXQUATERNION atThreshold(c, 0, 0, c);
  EXPECT_EQ(*D3DXQuaternionInverse(&r, &atThreshold), D3DXQUATERNION(0, 0, 0, 0));
  const D3DXQUATERNION above(c, c, c, c);
  D3DXQuaternionInverse(&r, &above);
  EXPECT_EQ(r.w, c / (4 * c * c));
  // A unit quaternion gives its conjugate exactly, with no division.
  const D3DXQUATERNION unit(0, 0.6f, 0, 0.8f);
  D3DXQuaternionInverse(&r, &unit);
  EXPECT_EQ(r.y, -0.6f);
  EXPECT_EQ(r.w, 0.8f);
  // A non-unit quaternion is divided by its squared norm.
  const D3DXQUATERNION two(0, 0, 0, 2);
  EXPECT_EQ(*D3DXQuaternionInverse(&r, &two), D3DXQUATERNION(0, 0, 0, 0.5f));
}

TEST(Quaternion, RotationAxisNormalisesTheAxis) {
  const D3DXVECTOR3 axis(0, 5, 0);
  D3DXQUATERNION q;
  D3DXQuaternionRotationAxis(&q, &axis, kHalfPi);
  ExpectNear(q, D3DXQUATERNION(0, std::sin(kHalfPi / 2), 0, std::cos(kHalfPi / 2)));
}

TEST(Quaternion, SlerpTakesTheShorterArcAndNegatedInputGivesQ) {
  const D3DXQUATERNION q = AxisAngle(0.3f, 1, -0.2f, 1.3f);
  const D3DXQUATERNION minusQ = -q;
  for (float t : {0.0f, 0.25f, 0.5f, 1.0f}) {
    D3DXQUATERNION r;
    D3DXQuaternionSlerp(&r, &q, &minusQ, t);
    ExpectNear(r, q, 1e-6f);
  }
  // Between a rotation and a far one written with a negative dot product, the
  // midpoint lies on the short arc.
  const D3DXQUATERNION a = AxisAngle(0, 1, 0, 0.0f);
  const D3DXQUATERNION b = -AxisAngle(0, 1, 0, 1.0f);
  D3DXQUATERNION mid;
  D3DXQuaternionSlerp(&mid, &a, &b, 0.5f);
  ExpectNear(mid, AxisAngle(0, 1, 0, 0.5f), 1e-5f);
}

TEST(Quaternion, SlerpOfEqualInputsUsesLinearBranch) {
  const D3DXQUATERNION q = AxisAngle(1, 2, 3, 0.8f);
  for (float t : {0.0f, 0.3f, 1.0f}) {
    D3DXQUATERNION r;
    D3DXQuaternionSlerp(&r, &q, &q, t);
    ExpectNear(r, q, 1e-7f);
  }
}

TEST(Quaternion, SlerpFollowsTheArcAndIsNotRenormalised) {
  const D3DXQUATERNION a = AxisAngle(0, 0, 1, 0.0f);
  const D3DXQUATERNION b = AxisAngle(0, 0, 1, 2.0f);
  D3DXQUATERNION r;
  D3DXQuaternionSlerp(&r, &a, &b, 0.25f);
  ExpectNear(r, AxisAngle(0, 0, 1, 0.5f), 1e-6f);
  // Non-unit inputs in the linear branch stay non-unit.
  const D3DXQUATERNION big(0, 0, 0, 2);
  D3DXQuaternionSlerp(&r, &big, &big, 0.5f);
  EXPECT_FLOAT_EQ(r.w, 2.0f);
}
}  // namespace
}  // namespace posewright
