#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ReferenceWeights.h"
#include "WeightFixtures.h"
#include "weights/AnchorContainment.h"
#include "weights/BlendWeights.h"
#include "weights/InfluenceWeight.h"

namespace posewright {

namespace {
const D3DXVECTOR3 kUnitLo(-1, -1, -1);
const D3DXVECTOR3 kUnitHi(1, 1, 1);

void ExpectSlots(const SkinVertex& v, uint32_t indices, float w0, float w1, float w2) {
  EXPECT_EQ(v.boneIndices, indices);
  EXPECT_FLOAT_EQ(v.blendWeights[0], w0);
  EXPECT_FLOAT_EQ(v.blendWeights[1], w1);
  EXPECT_FLOAT_EQ(v.blendWeights[2], w2);
}

TEST(ComputeBlendWeights, OneAnchorGivesTheWholeWeight) {
  SkinnedModel m = ModelWithVertices({{0, 0.5f, 0}, {0, 5, 0}});
  AddBone(m.skeleton, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0), CuboidAnchor(kUnitLo, kUnitHi));
  const BlendWeightCounts counts = ComputeBlendWeights(m);
  ExpectSlots(m.skinnedMesh.vertices[0], 1u, 1.0f, 0.0f, 0.0f);
  EXPECT_EQ(m.skinnedMesh.vertices[0].lastWeight(), 0.0f);
  EXPECT_EQ(m.skinnedMesh.vertices[0].pointSize, 10.0f);
  // Outside every anchor: no bones and no weights (not NaN), so it follows the root.
  ExpectSlots(m.skinnedMesh.vertices[1], 0u, 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(m.skinnedMesh.vertices[1].lastWeight(), 1.0f);
  EXPECT_EQ(counts.verticesInNoAnchor, 1u);
  EXPECT_EQ(counts.verticesInMoreThanFourAnchors, 0u);
  ASSERT_EQ(m.pointVertices.size(), 2u);
  EXPECT_EQ(std::memcmp(m.pointVertices.data(), m.skinnedMesh.vertices.data(), 2 * sizeof(SkinVertex)), 0);
}

TEST(ComputeBlendWeights, WeightsAreNormalisedInfluencesInBoneOrder) {
  // Bone 1 along +X from (0, 1, 0), bone 2 along +X through the origin, both of
  // length 2. The vertex (1, 0.5, 0) is 0.25 lengths from bone 2's line (raw
  // 0.5625) and about 0.567 lengths from bone 1's (raw 0.1875).
  const float r1 = 1.0f - std::sqrt(0.1875f);
  SkinnedModel m = ModelWithVertices({{1, 0.5f, 0}});
  AddBone(m.skeleton, D3DXVECTOR3(0, 0.5f + 2 * r1, 0), D3DXVECTOR3(2, 0.5f + 2 * r1, 0),
          CuboidAnchor(kUnitLo * 3, kUnitHi * 3));
  AddBone(m.skeleton, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(2, 0, 0), CuboidAnchor(kUnitLo * 3, kUnitHi * 3));
  ComputeBlendWeights(m);
  const SkinVertex& v = m.skinnedMesh.vertices[0];
  EXPECT_EQ(v.boneIndices, 1u | 2u << 8);
  EXPECT_NEAR(v.blendWeights[0], 0.25f, 1e-6f);
  EXPECT_NEAR(v.blendWeights[1], 0.75f, 1e-6f);
  EXPECT_EQ(v.blendWeights[2], 0.0f);
}

TEST(ComputeBlendWeights, ZeroInfluencesShareEqually) {
  // Inside two anchors but far beyond both bones' reach.
  SkinnedModel m = ModelWithVertices({{0, 0, 0}});
  AddBone(m.skeleton, D3DXVECTOR3(9, 9, 9), D3DXVECTOR3(9, 9, 10), CuboidAnchor(kUnitLo, kUnitHi));
  AddBone(m.skeleton, D3DXVECTOR3(-9, 9, 9), D3DXVECTOR3(-9, 9, 10), CuboidAnchor(kUnitLo, kUnitHi));
  ComputeBlendWeights(m);
  ExpectSlots(m.skinnedMesh.vertices[0], 1u | 2u << 8, 0.5f, 0.5f, 0.0f);
}

TEST(ComputeBlendWeights, MoreThanFourAnchorsKeepTheStrongestInBoneOrder) {
  // Six bones of length 1 along +Z contain the origin, at distances d from it:
  // influences (1 − d)² by bone 1..6: 0.0625, 0.25, 1, 0.25, 1, 0.25. The four
  // strongest are 3 and 5, then two of the tied 2, 4, 6: the lower ones.
  SkinnedModel m = ModelWithVertices({{0, 0, 0}, {0, 0, 2}});
  const float distances[6] = {0.75f, 0.5f, 0.0f, -0.5f, 0.0f, 0.5f};
  for (float d : distances) {
    AddBone(m.skeleton, D3DXVECTOR3(d, 0, -0.5f), D3DXVECTOR3(d, 0, 0.5f), CuboidAnchor(kUnitLo, kUnitHi));
  }
  m.skeleton.anchors[0] = CuboidAnchor(kUnitLo * 9, kUnitHi * 9);  // the root never takes a slot
  const BlendWeightCounts counts = ComputeBlendWeights(m);
  EXPECT_EQ(counts.verticesInMoreThanFourAnchors, 1u);
  EXPECT_EQ(counts.verticesInNoAnchor, 1u);
  const SkinVertex& v = m.skinnedMesh.vertices[0];
  ExpectSlots(v, 2u | 3u << 8 | 4u << 16 | 5u << 24, 0.1f, 0.4f, 0.1f);
  EXPECT_NEAR(v.lastWeight(), 0.4f, 1e-6f);
  ExpectSlots(m.skinnedMesh.vertices[1], 0u, 0.0f, 0.0f, 0.0f);
}

SkinnedModel RandomModel(unsigned seed, int vertexCount, int boneCount) {
  std::mt19937 rng(seed);
  std::vector<D3DXVECTOR3> points;
  for (int i = 0; i < vertexCount; ++i) points.push_back(RandomPoint(rng));
  SkinnedModel m = ModelWithVertices(points);
  std::uniform_real_distribution<float> coord(-1.5f, 1.5f);
  std::uniform_real_distribution<float> reach(0.2f, 2.0f);
  for (int b = 1; b < boneCount; ++b) {
    const D3DXVECTOR3 begin(coord(rng), coord(rng), coord(rng));
    const D3DXVECTOR3 end(coord(rng), coord(rng), coord(rng));
    BoneAnchor anchor = b % 3 == 0 ? CuboidAnchor(begin * 0.5f - D3DXVECTOR3(0.6f, 0.6f, 0.6f),
                                                  begin * 0.5f + D3DXVECTOR3(0.6f, 0.6f, 0.6f))
                                   : RandomAnchor(rng, 4 + static_cast<int>(rng() % 30), 8);
    AddBone(m.skeleton, begin, end, std::move(anchor), reach(rng), reach(rng));
  }
  return m;
}

TEST(ComputeBlendWeights, AgreesWithTheStepByStepComputation) {
  SkinnedModel m = RandomModel(11, 2500, 32);
  const std::vector<SkinVertex> before = m.skinnedMesh.vertices;
  const BlendWeightCounts counts = ComputeBlendWeights(m, 2);
  EXPECT_GT(counts.verticesInNoAnchor, 50u);
  EXPECT_GT(counts.verticesInMoreThanFourAnchors, 50u);
  for (std::size_t i = 0; i < before.size(); ++i) {
    const SkinVertex expected = ReferenceWeights(m.skeleton, before[i]);
    ASSERT_EQ(std::memcmp(&expected, &m.skinnedMesh.vertices[i], sizeof(SkinVertex)), 0) << "vertex " << i;
  }
}

TEST(ComputeBlendWeights, ResultDoesNotDependOnTheThreadCount) {
  const SkinnedModel original = RandomModel(5, 3000, 40);
  SkinnedModel serial = original;
  const BlendWeightCounts serialCounts = ComputeBlendWeights(serial, 1);
  for (unsigned threads : {2u, 3u, 8u, 0u}) {
    SCOPED_TRACE(threads);
    SkinnedModel parallel = original;
    const BlendWeightCounts counts = ComputeBlendWeights(parallel, threads);
    EXPECT_EQ(counts.verticesInNoAnchor, serialCounts.verticesInNoAnchor);
    EXPECT_EQ(counts.verticesInMoreThanFourAnchors, serialCounts.verticesInMoreThanFourAnchors);
    ASSERT_EQ(parallel.skinnedMesh.vertices.size(), serial.skinnedMesh.vertices.size());
    EXPECT_EQ(std::memcmp(parallel.skinnedMesh.vertices.data(), serial.skinnedMesh.vertices.data(),
                          serial.skinnedMesh.vertices.size() * sizeof(SkinVertex)),
              0);
  }
}

TEST(ComputeBlendWeights, NoVerticesOrNoBonesAreHarmless) {
  SkinnedModel none = ModelWithVertices({});
  AddBone(none.skeleton, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0), CuboidAnchor(kUnitLo, kUnitHi));
  EXPECT_EQ(ComputeBlendWeights(none).verticesInNoAnchor, 0u);
  SkinnedModel rootOnly = ModelWithVertices({{0, 0, 0}});
  EXPECT_EQ(ComputeBlendWeights(rootOnly).verticesInNoAnchor, 1u);
  ExpectSlots(rootOnly.skinnedMesh.vertices[0], 0u, 0.0f, 0.0f, 0.0f);
}

TEST(RecomputeSelectedWeights, OnlySelectedVerticesFromTheirOwnSlots) {
  // Bone 1 along +X through the origin, bone 2 along +X through y = 2; the
  // anchors play no part.
  SkinnedModel m = ModelWithVertices({{1, 0.5f, 0}, {1, 0.5f, 0}, {1, 0.5f, 0}, {1, 0.5f, 0}});
  AddBone(m.skeleton, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(2, 0, 0), BoneAnchor{});
  AddBone(m.skeleton, D3DXVECTOR3(0, 2, 0), D3DXVECTOR3(2, 2, 0), BoneAnchor{});
  std::vector<SkinVertex>& v = m.skinnedMesh.vertices;
  v[0].boneIndices = 2u | 1u << 8;         // raw 0.0625 and 0.5625, kept in this slot order
  v[1].boneIndices = 2u | 1u << 8;         // not selected
  v[2].boneIndices = 0u;                   // no bones: weights 0
  v[3].boneIndices = 9u << 16 | 1u << 24;  // bone 9 does not exist: influence 0
  m.selection.selected = {1, 0, 1, 1};
  const SkinVertex unselected = v[1];
  RecomputeSelectedWeights(m);
  ExpectSlots(v[0], 2u | 1u << 8, 0.1f, 0.9f, 0.0f);
  EXPECT_EQ(std::memcmp(&v[1], &unselected, sizeof(SkinVertex)), 0);
  ExpectSlots(v[2], 0u, 0.0f, 0.0f, 0.0f);
  ExpectSlots(v[3], 9u << 16 | 1u << 24, 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(v[3].lastWeight(), 1.0f);
  // The point copies of the selected vertices follow; the others are not touched.
  ASSERT_EQ(m.pointVertices.size(), 4u);
  for (std::size_t i : {0u, 2u, 3u}) {
    EXPECT_EQ(std::memcmp(&m.pointVertices[i], &v[i], sizeof(SkinVertex)), 0) << i;
  }
  EXPECT_EQ(m.pointVertices[1].boneIndices, 0x01010101u);

  // New reaches act on the selected vertices only when recomputed.
  m.skeleton.blendParams[2].R = 0.5f;  // bone 2 now out of reach: the whole weight goes to bone 1
  m.selection.selected = {0, 0, 0, 0};
  const std::vector<SkinVertex> unchanged = v;
  RecomputeSelectedWeights(m);
  EXPECT_EQ(std::memcmp(unchanged.data(), v.data(), 4 * sizeof(SkinVertex)), 0);
  m.selection.selected = {1, 1, 0, 0};
  RecomputeSelectedWeights(m);
  ExpectSlots(v[0], 2u | 1u << 8, 0.0f, 1.0f, 0.0f);
  ExpectSlots(v[1], 2u | 1u << 8, 0.0f, 1.0f, 0.0f);
}
}  // namespace
}  // namespace posewright
