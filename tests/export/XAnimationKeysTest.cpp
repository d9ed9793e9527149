// Interpolated keys turn the bone about its joint.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "export/XAnimationKeys.h"
#include "math/D3DXMath.h"
#include "support/MathMatchers.h"

namespace posewright {

namespace {
D3DXVECTOR3 Apply(const D3DXVECTOR3& p, const D3DXMATRIX& m) {
  return {p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41, p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
          p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43};
}

D3DXQUATERNION AboutZ(float angle) {
  return {0, 0, std::sin(angle / 2), std::cos(angle / 2)};
}
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

// Below 60 ticks per second a tick is longer than an editor frame: one key per
// tick, at the pose of its editor time n × 60 / fps; at 60 and above, one key
// per editor frame as before.
TEST(XAnimationKeys, AllFramesKeysBelowSixtyTicksPerSecondComeOnePerTick) {
  struct Row {
    uint32_t fps;
    std::vector<std::pair<int32_t, float>> keyframes;  // time, angle about z
    std::vector<std::pair<int32_t, float>> keys;
  };
  const std::vector<std::pair<int32_t, float>> walk = {{0, 0.0f}, {4, 1.0f}, {6, 3.0f}};
  const std::vector<Row> rows = {
      {60, walk, {{0, 0.0f}, {1, 0.25f}, {2, 0.5f}, {3, 0.75f}, {4, 1.0f}, {5, 2.0f}}},
      {30, walk, {{0, 0.0f}, {1, 0.5f}, {2, 1.0f}}},
      {45, walk, {{0, 0.0f}, {1, 1.0f / 3}, {2, 2.0f / 3}, {3, 1.0f}, {4, 7.0f / 3}}},
      {1, walk, {{0, 0.0f}}},
      {1, {{10, 0.5f}, {30, 1.0f}}, {{0, 0.5f}}},  // no tick within: one key with the first pose
      {20, {{90, 0.5f}}, {{30, 0.5f}}},            // a single keyframe at its tick
      {30, {{-6, 0.0f}, {0, 3.0f}}, {{-3, 0.0f}, {-2, 1.0f}, {-1, 2.0f}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("fps " + std::to_string(row.fps) + ", first key at " +
                 std::to_string(row.keyframes[0].first));
    Animation animation;
    animation.boneCount = 1;
    for (const auto& [time, angle] : row.keyframes) {
      animation.InsertKey(std::vector<D3DXQUATERNION>{AboutZ(angle)}, time);
    }
    const ExportOptions options{row.fps, true};
    EXPECT_EQ(MatrixKeyCount(animation, options), row.keys.size());
    MatrixKeyCursor cursor(animation, options, 0, D3DXVECTOR3(0, 0, 0));
    XMatrixKey key;
    for (const auto& [time, angle] : row.keys) {
      ASSERT_TRUE(cursor.next(key));
      EXPECT_EQ(key.time, time);
      D3DXMATRIX expected;
      const D3DXQUATERNION q = AboutZ(angle);
      D3DXMatrixRotationQuaternion(&expected, &q);
      ExpectNear(key.matrix, expected);
    }
    EXPECT_FALSE(cursor.next(key));
  }
}

TEST(XAnimationKeys, EveryRateBelowSixtyGivesStrictlyIncreasingKeyTimes) {
  Animation animation;
  animation.boneCount = 1;
  for (int32_t time : {3, 17, 18, 95, 241}) {
    animation.InsertKey(std::vector<D3DXQUATERNION>{AboutZ(0.01f * static_cast<float>(time))}, time);
  }
  for (uint32_t fps = 1; fps < 60; ++fps) {
    const ExportOptions options{fps, true};
    MatrixKeyCursor cursor(animation, options, 0, D3DXVECTOR3(0, 0, 0));
    XMatrixKey key;
    uint64_t count = 0;
    int64_t previous = INT64_MIN;
    while (cursor.next(key)) {
      EXPECT_GT(key.time, previous) << "fps " << fps;
      previous = key.time;
      ++count;
    }
    EXPECT_EQ(count, MatrixKeyCount(animation, options)) << "fps " << fps;
    EXPECT_GE(count, 1u);
  }
}
}  // namespace posewright
