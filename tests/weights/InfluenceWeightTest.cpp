#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "weights/InfluenceWeight.h"

namespace posewright {

namespace {
Bone Segment(const D3DXVECTOR3& begin, const D3DXVECTOR3& end) {
  Bone b;
  b.begin = begin;
  b.end = end;
  return b;
}

// One bone of length 2 along +X from the origin, R 1.0, H 0.35.
TEST(InfluenceWeight, WorkedExample) {
  const Bone bone = Segment(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(2, 0, 0));
  const BlendingParams params{1.0f, 0.35f};
  // s = 1, e = 0, wH = 1; r = 0.25, wR = 0.5625.
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(1.0f, 0.5f, 0.0f), bone, params), 0.5625f);
  // s = 2.5, e = 0.25, wH = 0.01 / 0.1225; r = 0, wR = 1.
  const float beyond = InfluenceWeight(D3DXVECTOR3(2.5f, 0.0f, 0.0f), bone, params);
  EXPECT_NEAR(beyond, 0.0816f, 1e-4f);
  const float e = 0.25f, h = 0.35f;
  EXPECT_EQ(beyond, (e - h) * (e - h) / (h * h));
}

TEST(InfluenceWeight, FallsFromOneOnTheSegmentToZeroAtTheReach) {
  const Bone bone = Segment(D3DXVECTOR3(1, 1, 1), D3DXVECTOR3(1, 1, 5));  // L = 4
  const BlendingParams params{0.5f, 0.25f};
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(1, 1, 1), bone, params), 1.0f);
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(1, 1, 3), bone, params), 1.0f);
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(1, 1, 5), bone, params), 1.0f);
  // R·L = 2 from the line, H·L = 1 beyond either end.
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(3, 1, 3), bone, params), 0.0f);
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(1, 1, 6), bone, params), 0.0f);
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(1, 1, 0), bone, params), 0.0f);
  // Half the radial reach: (1 − 0.5)² = 0.25; half the axial reach before begin likewise.
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(2, 1, 3), bone, params), 0.25f);
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(1, 1, 0.5f), bone, params), 0.25f);
  // Negative reaches switch the bone's term off.
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(1, 1, 3), bone, BlendingParams{-1.0f, 0.35f}), 0.0f);
}

TEST(InfluenceWeight, UndefinedCasesGiveZeroNotNaN) {
  const Bone point = Segment(D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(1, 2, 3));
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(1, 2, 3), point, BlendingParams{}), 0.0f);
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(0, 0, 0), point, BlendingParams{}), 0.0f);
  const float inf = std::numeric_limits<float>::infinity();
  const Bone bone = Segment(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 0, 0));
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(0.5f, 0, 0), bone, BlendingParams{1.0f, inf}), 0.0f);
  EXPECT_EQ(InfluenceWeight(D3DXVECTOR3(inf, 0, 0), bone, BlendingParams{}), 0.0f);
}
}  // namespace
}  // namespace posewright
