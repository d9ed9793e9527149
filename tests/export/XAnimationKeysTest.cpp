// Interpolated keys turn the bone about its joint.
#include <gtest/gtest.h>

#include <cmath>

#include "export/XAnimationKeys.h"
#include "math/D3DXMath.h"
#include "support/MathMatchers.h"

namespace {
D3DXVECTOR3 Apply(const D3DXVECTOR3& p, const D3DXMATRIX& m) {
  return {p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41, p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
          p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43};
}

D3DXQUATERNION AboutZ(float angle) { return {0, 0, std::sin(angle / 2), std::cos(angle / 2)}; }
}  // namespace

TEST(XAnimationKeys, JointRotationMatrixKeepsTheJointAndTurnsPointsAboutIt) {
  const D3DXVECTOR3 joint(1, 2, 3);
  const D3DXMATRIX m = JointRotationMatrix(joint, AboutZ(static_cast<float>(M_PI / 2)));
  ExpectNear(Apply(joint, m), joint);
  // Left-handed quarter turn about +z: +x goes to +y.
  ExpectNear(Apply(joint + D3DXVECTOR3(1, 0, 0), m), joint + D3DXVECTOR3(0, 1, 0));
}

TEST(XAnimationKeys, AllFramesKeysInterpolateBetweenNeighboursAndSkipTheLastPose) {
  Animation animation;
  animation.boneCount = 1;
  animation.InsertKey(std::vector<D3DXQUATERNION>{AboutZ(0)}, 0);
  animation.InsertKey(std::vector<D3DXQUATERNION>{AboutZ(1.0f)}, 4);
  animation.InsertKey(std::vector<D3DXQUATERNION>{AboutZ(3.0f)}, 6);
  const ExportOptions options{120, true};
  EXPECT_EQ(MatrixKeyCount(animation, options), 6u);
  MatrixKeyCursor cursor(animation, options, 0, D3DXVECTOR3(0, 0, 0));
  const float expectedAngles[] = {0, 0.25f, 0.5f, 0.75f, 1.0f, 2.0f};
  XMatrixKey key;
  for (int k = 0; k < 6; ++k) {
    ASSERT_TRUE(cursor.next(key));
    EXPECT_EQ(key.time, 2 * k);
    D3DXMATRIX expected;
    const D3DXQUATERNION q = AboutZ(expectedAngles[k]);
    D3DXMatrixRotationQuaternion(&expected, &q);
    ExpectNear(key.matrix, expected);
  }
  EXPECT_FALSE(cursor.next(key));
}
