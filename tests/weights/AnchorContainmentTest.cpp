#include <gtest/gtest.h>

#include "WeightFixtures.h"
#include "weights/AnchorContainment.h"

namespace posewright {

namespace {
bool BothSay(const D3DXVECTOR3& p, const BoneAnchor& anchor) {
  const bool direct = Contains(p, anchor);
  EXPECT_EQ(AnchorContainment(anchor).contains(p), direct) << p.x << " " << p.y << " " << p.z;
  return direct;
}

// The tetrahedron of the documented bone data example.
BoneAnchor ExampleTetrahedron() {
  BoneAnchor a;
  a.boxMin = D3DXVECTOR3(-0.1f, 0.6f, -0.4f);
  a.boxMax = D3DXVECTOR3(1.2f, 1.4f, 0.4f);
  a.vertices = {{-0.1f, 0.6f, -0.4f}, {-0.1f, 0.6f, 0.4f}, {-0.1f, 1.4f, 0.0f}, {1.2f, 1.0f, 0.0f}};
  a.faceNormals = {{-1.0f, 0.0f, 0.0f},
                   {0.2941f, -0.9558f, 0.0f},
                   {0.1363f, 0.443f, 0.8861f},
                   {0.1363f, 0.443f, -0.8861f}};
  a.faces = {{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {2, 3, 0}};
  return a;
}

TEST(Contains, ExampleTetrahedron) {
  const BoneAnchor a = ExampleTetrahedron();
  EXPECT_TRUE(BothSay(D3DXVECTOR3(0.2f, 1.0f, 0.0f), a));
  EXPECT_TRUE(BothSay(D3DXVECTOR3(0.5f, 1.0f, 0.0f), a));
  EXPECT_FALSE(BothSay(D3DXVECTOR3(1.1f, 1.3f, 0.3f), a));  // in the box, outside the volume
  EXPECT_FALSE(BothSay(D3DXVECTOR3(0.2f, 1.0f, 0.5f), a));  // outside the box
}

TEST(Contains, BoxIsInclusiveAndComesFirst) {
  const BoneAnchor cube = CuboidAnchor(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1));
  EXPECT_TRUE(BothSay(D3DXVECTOR3(0.5f, 0.5f, 0.5f), cube));
  // On the border box and on an anchor face at once: D · N = 0 counts as inside.
  EXPECT_TRUE(BothSay(D3DXVECTOR3(1.0f, 0.5f, 0.5f), cube));
  EXPECT_TRUE(BothSay(D3DXVECTOR3(0.0f, 0.0f, 0.0f), cube));
  EXPECT_FALSE(BothSay(D3DXVECTOR3(1.0001f, 0.5f, 0.5f), cube));
  // A border box smaller than the volume cuts the volume.
  BoneAnchor clipped = cube;
  clipped.boxMax.x = 0.4f;
  EXPECT_FALSE(BothSay(D3DXVECTOR3(0.5f, 0.5f, 0.5f), clipped));
  // With a border box larger than the volume the first clear face decides:
  // the side faces have no area in XY and block nothing, so face 0 (facing −X)
  // sees a point beyond the +X side and has it behind itself.
  BoneAnchor wide = cube;
  wide.boxMax = D3DXVECTOR3(2, 2, 2);
  EXPECT_TRUE(BothSay(D3DXVECTOR3(1.5f, 0.5f, 0.5f), wide));
  // Beyond the top the segment crosses the top faces, which do block; the
  // next clear face sees the point in front of it.
  EXPECT_FALSE(BothSay(D3DXVECTOR3(0.5f, 0.5f, 1.5f), wide));
}

// Face 0 lies in the plane x = 0 facing −X; face 1 stands between its centroid
// and the point. The point is behind face 0, so face 0 says inside when its view
// is clear; when face 1 blocks, face 1 decides, and the point is in front of it.
TEST(Contains, OnlyFacesWithAreaInTheXYPlaneBlock) {
  BoneAnchor a;
  a.boxMin = D3DXVECTOR3(-10, -10, -10);
  a.boxMax = D3DXVECTOR3(10, 10, 10);
  a.vertices = {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.5f, -1, -1}, {0.5f, 3, -1}, {0.5f, -1, 3}};
  a.faces = {{0, 1, 2}, {3, 4, 5}};
  a.faceNormals = {{-1, 0, 0}, {1, 0, 0}};
  const D3DXVECTOR3 p(1.0f, 0.3f, 0.3f);
  EXPECT_TRUE(BothSay(p, a));  // vertical face 1: no area in XY, never blocks

  a.vertices[4] = D3DXVECTOR3(0.6f, 3, -1);
  a.vertices[5] = D3DXVECTOR3(0.4f, -1, 3);
  EXPECT_FALSE(BothSay(p, a));  // tilted face 1 blocks, and p is in front of it

  // The crossing lies outside the parallelogram of face 1's edges in XY (its
  // y is above 3): no block. Depth plays no part: far off in z still blocks.
  EXPECT_TRUE(BothSay(D3DXVECTOR3(1.0f, 9.0f, 0.3f), a));
  EXPECT_FALSE(BothSay(D3DXVECTOR3(1.0f, 0.3f, -9.0f), a));
}

// Two faces, each blocking the other's view of the point; the point is in
// front of both, so only the all-blocked rule makes it inside.
TEST(Contains, EveryFaceBlockedCountsAsInside) {
  BoneAnchor a;
  a.boxMin = D3DXVECTOR3(-10, -10, -10);
  a.boxMax = D3DXVECTOR3(10, 10, 10);
  a.vertices = {{-6, -6, -6}, {6, -6, 6}, {3, 12, 3}, {6, -6, -6}, {-6, -6, 6}, {-3, 12, 3}};
  a.faces = {{0, 1, 2}, {3, 4, 5}};
  a.faceNormals = {{1, 0, -1}, {-1, 0, -1}};
  const D3DXVECTOR3 p(0, 0, -5);
  for (int f = 0; f < 2; ++f) {
    const D3DXVECTOR3 centroid(f == 0 ? 1.0f : -1.0f, 0.0f, 1.0f);
    const D3DXVECTOR3 d = p - centroid;
    ASSERT_GT(D3DXVec3Dot(&d, &a.faceNormals[static_cast<std::size_t>(f)]), 0.0f);
  }
  EXPECT_TRUE(BothSay(p, a));
  // Here face 1's plane is met exactly at the point (t = 1): face 0's view is
  // clear and the point is in front of it.
  EXPECT_FALSE(BothSay(D3DXVECTOR3(5, 0, -5), a));
}

TEST(Contains, UnusableAnchorsContainNothing) {
  EXPECT_FALSE(BothSay(D3DXVECTOR3(0, 0, 0), BoneAnchor{}));  // the root's empty anchor
  BoneAnchor badIndex = CuboidAnchor(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1));
  badIndex.faces[5][1] = 8;
  EXPECT_FALSE(AnchorIsUsable(badIndex));
  EXPECT_FALSE(BothSay(D3DXVECTOR3(0.5f, 0.5f, 0.5f), badIndex));
  BoneAnchor missingNormal = CuboidAnchor(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1));
  missingNormal.faceNormals.pop_back();
  EXPECT_FALSE(BothSay(D3DXVECTOR3(0.5f, 0.5f, 0.5f), missingNormal));
}

// The precomputed test must agree with the step-by-step one on any geometry,
// including degenerate faces, zero normals and points on planes.
TEST(AnchorContainment, AgreesWithContainsOnArbitraryAnchors) {
  std::mt19937 rng(20240611);
  int inside = 0;
  int total = 0;
  for (int k = 0; k < 120; ++k) {
    const int faces = 1 + static_cast<int>(rng() % 40);
    const BoneAnchor anchor = RandomAnchor(rng, faces, 3 + static_cast<int>(rng() % 12));
    const AnchorContainment fast(anchor);
    for (int i = 0; i < 300; ++i) {
      const D3DXVECTOR3 p = RandomPoint(rng);
      const bool expected = Contains(p, anchor);
      ASSERT_EQ(fast.contains(p), expected) << "anchor " << k << " point " << p.x << " " << p.y << " " << p.z;
      inside += expected ? 1 : 0;
      ++total;
    }
  }
  // Both answers occur often enough for the comparison to mean something.
  EXPECT_GT(inside, total / 10);
  EXPECT_LT(inside, total * 9 / 10);
}

TEST(AnchorContainment, AgreesOnAnchorsTooLargeForThePairTable) {
  std::mt19937 rng(77);
  const BoneAnchor anchor = RandomAnchor(rng, static_cast<int>(AnchorContainment::kMaxTabledFaces) + 37, 40);
  const AnchorContainment fast(anchor);
  for (int i = 0; i < 60; ++i) {
    const D3DXVECTOR3 p = RandomPoint(rng);
    ASSERT_EQ(fast.contains(p), Contains(p, anchor)) << i;
  }
}
}  // namespace
}  // namespace posewright
