// The weight mirror: on the sample character every vertex and its mirror
// vertex end with partner bones of equal weights; vertices without a mirror
// are counted and kept; a model without partners is refused.
#include <gtest/gtest.h>

#include <string>

#include "WeightToolFixtures.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "skeleton/BlendingParametersFile.h"
#include "support/GeneratedSkinnedModel.h"
#include "weights/BlendWeights.h"
#include "weighttools/MeshPoints.h"
#include "weighttools/MirrorVertices.h"
#include "weighttools/MirrorWeights.h"

namespace posewright {

namespace {
using weighttest::Weights;

const std::string kSamples = std::string(POSEWRIGHT_SOURCE_DIR) + "/samples/";

// The sample character bound with its parameters; scrambled, every position
// then gets one to four random bones instead of its automatic weights (the
// vertices split at one position keep sharing their weights, as automatic
// weights do: the mirror cannot give one vertex two sets of weights).
SkinnedModel SampleCharacter(bool scrambled) {
  SkinnedModel m;
  EXPECT_TRUE(LoadMesh(m, kSamples + "character.x"));
  EXPECT_TRUE(LoadBoneData(m, kSamples + "character.dat"));
  EXPECT_TRUE(ReadBlendingParameters(m.skeleton, kSamples + "character.prm"));
  ComputeBlendWeights(m);
  if (scrambled) {
    synthetic::Random random(17);
    synthetic::AssignWeights(m.skinnedMesh.vertices, m.skeleton.boneCount(), random);
    const MeshPoints points = WeldPositions(m.skinnedMesh.vertices);
    for (std::size_t v = 0; v < m.vertexCount(); ++v) {
      const SkinVertex& first = m.skinnedMesh.vertices[points.firstVertex[points.pointOf[v]]];
      m.skinnedMesh.vertices[v].boneIndices = first.boneIndices;
      std::copy(first.blendWeights, first.blendWeights + 3, m.skinnedMesh.vertices[v].blendWeights);
    }
    m.pointVertices = m.skinnedMesh.vertices;
  }
  return m;
}

// The mirror vertices at the tools' default tolerance.
std::vector<uint32_t> MirrorOf(const std::vector<SkinVertex>& vertices) {
  return FindMirrorVertices(vertices, kMirrorRelativeTolerance * BoundingBoxDiagonal(vertices));
}

// Counts the pairs (v, m(v)) where w(m(v), partner(b)) differs from w(v, b)
// by more than 1e-6 for some bone b; every vertex with a mirror is checked.
std::size_t AsymmetricPairs(const SkinnedModel& m, const std::vector<uint32_t>& mirror) {
  const std::array<uint8_t, 256> partner = BonePartnerTable(m.skeleton);
  std::size_t bad = 0;
  for (std::size_t v = 0; v < mirror.size(); ++v) {
    if (mirror[v] == kNoMirrorVertex) continue;
    std::map<int, double> mirrored;
    for (const auto& [bone, w] : Weights(m.skinnedMesh.vertices[v])) mirrored[partner[bone]] += w;
    if (!weighttest::Near(mirrored, Weights(m.skinnedMesh.vertices[mirror[v]]))) ++bad;
  }
  return bad;
}

TEST(MirrorWeights, SampleCharacterBecomesSymmetricEitherWay) {
  for (MirrorDirection direction : {MirrorDirection::LeftToRight, MirrorDirection::RightToLeft}) {
    for (bool scrambled : {false, true}) {
      SCOPED_TRACE(scrambled ? "scrambled weights" : "automatic weights");
      SkinnedModel m = SampleCharacter(scrambled);
      const std::vector<uint32_t> mirror = MirrorOf(m.skinnedMesh.vertices);
      const std::size_t paired = m.vertexCount() - static_cast<std::size_t>(std::count(
                                                       mirror.begin(), mirror.end(), kNoMirrorVertex));
      ASSERT_EQ(paired, m.vertexCount()) << "the sample character is symmetric";
      ASSERT_GT(AsymmetricPairs(m, mirror), scrambled ? 2000u : 0u) << "its weights are not";

      const std::vector<SkinVertex> before = m.skinnedMesh.vertices;
      const WeightToolResult r = MirrorVertexWeights(WeightToolInputOf(m), direction);
      ASSERT_TRUE(r.status) << r.status.describe();
      EXPECT_EQ(r.verticesWithoutPartner, 0u);
      ApplyWeightChanges(m, r.changes);
      EXPECT_EQ(AsymmetricPairs(m, mirror), 0u);
      // The sending side keeps its weights.
      for (const WeightChange& c : r.changes) {
        const float x = before[c.vertex].position.x;
        EXPECT_TRUE(direction == MirrorDirection::LeftToRight ? x <= 0.0f : x >= 0.0f)
            << "vertex " << c.vertex;
      }
    }
  }
}

TEST(MirrorWeights, PartnersFoundWithinTheToleranceOnly) {
  // Large enough for the search to be shared between threads.
  ModelOptions o;
  o.vertices = 12000;
  o.bones = 16;
  const SkinnedModel m = BindGeneratedModel(o);
  const float tolerance = kMirrorRelativeTolerance * BoundingBoxDiagonal(m.skinnedMesh.vertices);
  const std::vector<uint32_t> exact = FindMirrorVertices(m.skinnedMesh.vertices, tolerance, 1);
  struct Case {
    float shift;  // of the right side, in tolerances
    bool paired;
  };
  for (const Case c : {Case{0.4f, true}, Case{1.5f, false}}) {
    SCOPED_TRACE("shift " + std::to_string(c.shift));
    std::vector<SkinVertex> shifted = m.skinnedMesh.vertices;
    for (SkinVertex& v : shifted) {
      if (v.position.x < -tolerance) v.position += D3DXVECTOR3(0.6f, -0.8f, 0.0f) * (c.shift * tolerance);
    }
    for (unsigned threads : {1u, 2u}) {
      const std::vector<uint32_t> found = FindMirrorVertices(shifted, tolerance, threads);
      for (std::size_t v = 0; v < found.size(); ++v) {
        const bool onPlane = exact[v] == v;
        EXPECT_EQ(found[v], c.paired || onPlane ? exact[v] : kNoMirrorVertex) << "vertex " << v;
      }
    }
  }
}

TEST(MirrorWeights, SelectionOnOneSideWritesItsMirrorOnly) {
  SkinnedModel m = SampleCharacter(true);
  m.selection.reset(m.vertexCount());
  // The left forearm region: x above 0.5.
  for (std::size_t v = 0; v < m.vertexCount(); ++v)
    m.selection.selected[v] = m.skinnedMesh.vertices[v].position.x > 0.5f;
  RebuildPointList(m.selection);
  const WeightToolResult r = MirrorVertexWeights(WeightToolInputOf(m), MirrorDirection::LeftToRight);
  ASSERT_TRUE(r.status);
  ASSERT_FALSE(r.changes.empty());
  for (const WeightChange& c : r.changes) EXPECT_LT(m.skinnedMesh.vertices[c.vertex].position.x, -0.5f);
}

TEST(MirrorWeights, GeneratedModelWithStrayVertices) {
  ModelOptions o;
  o.vertices = 3000;
  o.bones = 16;
  o.anchorFaces = 12;
  SkinnedModel m = BindGeneratedModel(o);
  const std::vector<uint32_t> before = MirrorOf(m.skinnedMesh.vertices);
  const auto unpaired = static_cast<std::size_t>(std::count(before.begin(), before.end(), kNoMirrorVertex));
  // Two more vertices with nothing at their mirror position.
  for (float x : {0.7f, -0.9f}) {
    SkinVertex v = m.skinnedMesh.vertices[0];
    v.position = D3DXVECTOR3(x, -3.0f, 0.5f);
    m.skinnedMesh.vertices.push_back(v);
  }
  m.pointVertices = m.skinnedMesh.vertices;
  m.selection.reset(m.vertexCount());
  const WeightToolResult r = MirrorVertexWeights(WeightToolInputOf(m), MirrorDirection::RightToLeft);
  ASSERT_TRUE(r.status);
  EXPECT_EQ(r.verticesWithoutPartner, unpaired + 2);
  EXPECT_TRUE(std::none_of(r.changes.begin(), r.changes.end(),
                           [&](const WeightChange& c) { return c.vertex >= m.vertexCount() - 2; }));
  ApplyWeightChanges(m, r.changes);
  const std::vector<uint32_t> mirror = MirrorOf(m.skinnedMesh.vertices);
  EXPECT_EQ(AsymmetricPairs(m, mirror), 0u);
}

TEST(MirrorWeights, VertexOnThePlaneSharesWeightsWithPartners) {
  struct Case {
    const char* name;
    std::vector<std::pair<uint8_t, float>> slots;  // bone, weight of slots 0..
    std::map<int, double> expected;
  };
  // Bones 1↔2 and 3↔4 are partners; 5 and 6 have none.
  const std::vector<Case> cases = {
      {"one side", {{1, 0.6f}, {5, 0.4f}}, {{1, 0.3}, {2, 0.3}, {5, 0.4}}},
      {"both sides", {{1, 0.5f}, {2, 0.5f}}, {{1, 0.5}, {2, 0.5}}},
      // 1 0.2, 2 0.2, 5 0.2, 3 0.15, 4 0.15, 6 0.1: the pair 3, 4 no longer fits.
      {"too many: the pairs that fit, strongest first",
       {{1, 0.4f}, {3, 0.3f}, {5, 0.2f}, {6, 0.1f}},
       {{1, 2.0 / 7.0}, {2, 2.0 / 7.0}, {5, 2.0 / 7.0}, {6, 1.0 / 7.0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SkinnedModel m = weighttest::RoughModel(5, 16, 7);
    for (std::size_t b = 1; b <= 3; b += 2) {
      m.skeleton.bones[b].symmetricId = static_cast<int32_t>(b + 1);
      m.skeleton.bones[b + 1].symmetricId = static_cast<int32_t>(b);
    }
    m.skinnedMesh.vertices.resize(1);
    SkinVertex& v = m.skinnedMesh.vertices[0];
    v.position = D3DXVECTOR3(0.0f, 1.0f, 2.0f);
    v.boneIndices = 0;
    v.blendWeights[0] = v.blendWeights[1] = v.blendWeights[2] = 0.0f;
    for (std::size_t s = 0; s < c.slots.size(); ++s) {
      v.setBoneIndex(static_cast<int>(s), c.slots[s].first);
      if (s < 3) v.blendWeights[s] = c.slots[s].second;
    }
    m.pointVertices = m.skinnedMesh.vertices;
    m.selection.reset(1);
    const WeightToolResult r = MirrorVertexWeights(WeightToolInputOf(m), MirrorDirection::LeftToRight);
    ASSERT_TRUE(r.status);
    ApplyWeightChanges(m, r.changes);
    const std::map<int, double> got = Weights(m.skinnedMesh.vertices[0]);
    ASSERT_EQ(got.size(), c.expected.size());
    for (const auto& [bone, w] : c.expected) EXPECT_NEAR(got.at(bone), w, 1e-6) << "bone " << bone;
  }
}

TEST(MirrorWeights, RefusedWithoutPartners) {
  SkinnedModel m = SampleCharacter(false);
  for (Bone& b : m.skeleton.bones) b.symmetricId = 0;  // the root: no partner
  m.skeleton.bones[3].symmetricId = 40;                // outside the skeleton: none either
  const WeightToolResult r = MirrorVertexWeights(WeightToolInputOf(m), MirrorDirection::LeftToRight);
  EXPECT_FALSE(r.status);
  EXPECT_EQ(r.status.message, kWeightToolNoPartners);
  EXPECT_TRUE(r.changes.empty());
}
}  // namespace
}  // namespace posewright
