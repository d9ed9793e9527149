// What every weight tool promises, checked for each tool on roughened models
// with and without a selection: only vertices in scope change, each changed
// vertex holds at most four bones whose weights sum to 1 (mirror: as much as
// its source held), the change list applied and undone restores the model
// bit for bit, and a model without a skeleton is refused untouched.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "WeightToolFixtures.h"
#include "weighttools/MirrorVertices.h"
#include "weighttools/MirrorWeights.h"
#include "weighttools/SmoothWeights.h"
#include "weighttools/WeightCleanup.h"

namespace posewright {

namespace {
using weighttest::Sum;
using weighttest::Weights;

struct ToolCase {
  const char* name;
  std::function<WeightToolResult(const WeightToolInput&)> run;
  /// Whether a changed vertex's weights must sum to 1.
  bool sumsToOne = true;
  bool mirror = false;
};

std::vector<ToolCase> Tools() {
  return {
      {"normalise", [](const WeightToolInput& in) { return NormaliseVertexWeights(in); }},
      {"prune 0.05", [](const WeightToolInput& in) { return PruneVertexWeights(in, 0.05f); }},
      {"limit 2", [](const WeightToolInput& in) { return LimitVertexWeights(in, 2); }},
      {"smooth 3 x 0.5",
       [](const WeightToolInput& in) {
         return SmoothVertexWeights(in, {3, 0.5f, 2});
       }},
      {"smooth 1 x 1",
       [](const WeightToolInput& in) {
         return SmoothVertexWeights(in, {1, 1.0f, 1});
       }},
      {"mirror l2r",
       [](const WeightToolInput& in) { return MirrorVertexWeights(in, MirrorDirection::LeftToRight, 1e-3f); },
       false, true},
  };
}

// A rough model centred on x = 0 with bones paired (1↔2, 3↔4, …), so the
// mirror has partners and finds vertices on both sides.
SkinnedModel PairedModel(uint64_t seed, bool split = false) {
  SkinnedModel m = weighttest::RoughModel(seed, 400, 12, split);
  float maxX = 0.0f;
  for (const SkinVertex& v : m.skinnedMesh.vertices) maxX = std::max(maxX, v.position.x);
  for (SkinVertex& v : m.skinnedMesh.vertices) {
    v.position.x -= std::floor(maxX / 2.0f);
    v.position.z = 0.25f * std::cos(v.position.x) * std::sin(v.position.y);  // even in x
  }
  for (std::size_t b = 1; b + 1 < m.skeleton.bones.size(); b += 2) {
    m.skeleton.bones[b].symmetricId = static_cast<int32_t>(b + 1);
    m.skeleton.bones[b + 1].symmetricId = static_cast<int32_t>(b);
  }
  m.pointVertices = m.skinnedMesh.vertices;
  return m;
}

TEST(WeightToolProperties, OnlyScopeChangesSumsHoldAndUndoRestores) {
  for (const ToolCase& tool : Tools()) {
    for (uint32_t step : {0u, 3u}) {
      for (bool split : {false, true}) {
        SCOPED_TRACE(std::string(tool.name) + ", select every " + std::to_string(step) +
                     (split ? ", split vertices" : ", grid"));
        SkinnedModel m = PairedModel(split ? 2 : 1, split);
        weighttest::SelectEvery(m, step);
        const std::vector<SkinVertex> before = m.skinnedMesh.vertices;
        const WeightToolResult r = tool.run(WeightToolInputOf(m));
        ASSERT_TRUE(r.status) << r.status.describe();
        ASSERT_FALSE(r.changes.empty());
        EXPECT_EQ(r.verticesInScope, step == 0 ? before.size() : (before.size() + step - 1) / step);

        std::vector<uint32_t> mirror;
        if (tool.mirror) mirror = FindMirrorVertices(before, 1e-3f * BoundingBoxDiagonal(before));
        auto inScope = [&](uint32_t v) {
          if (step == 0) return true;
          const bool fromMirror = tool.mirror && mirror[v] != kNoMirrorVertex && mirror[v] % step == 0;
          return v % step == 0 || fromMirror;
        };
        uint32_t last = 0;
        for (std::size_t i = 0; i < r.changes.size(); ++i) {
          const WeightChange& c = r.changes[i];
          ASSERT_TRUE(i == 0 || c.vertex > last) << "changes out of order";
          last = c.vertex;
          EXPECT_TRUE(inScope(c.vertex)) << "vertex " << c.vertex << " is out of scope";
          SkinVertex after = before[c.vertex];
          after.boneIndices = c.weights.boneIndices;
          std::copy(c.weights.blendWeights.begin(), c.weights.blendWeights.end(), after.blendWeights);
          EXPECT_LE(Weights(after).size(), 4u);
          if (tool.sumsToOne) {
            EXPECT_NEAR(Sum(Weights(after)), 1.0, 1e-6) << "vertex " << c.vertex;
          }
          if (!tool.mirror) {
            EXPECT_NE(Sum(Weights(after)), 0.0);
          }
        }

        const std::vector<WeightChange> undo = ApplyWeightChanges(m, r.changes);
        for (const WeightChange& c : r.changes) {
          EXPECT_TRUE(WeightsOf(m.skinnedMesh.vertices[c.vertex]).sameBits(c.weights));
          EXPECT_TRUE(WeightsOf(m.pointVertices[c.vertex]).sameBits(c.weights));
        }
        ApplyWeightChanges(m, undo);
        ASSERT_EQ(
            std::memcmp(before.data(), m.skinnedMesh.vertices.data(), before.size() * sizeof(SkinVertex)), 0);
        ASSERT_EQ(std::memcmp(before.data(), m.pointVertices.data(), before.size() * sizeof(SkinVertex)), 0);
      }
    }
  }
}

TEST(WeightToolProperties, RefusedWithoutSkeletonOrVerticesChangingNothing) {
  for (const ToolCase& tool : Tools()) {
    SCOPED_TRACE(tool.name);
    SkinnedModel m = PairedModel(3);
    m.skeleton.bonesLoaded = false;
    WeightToolResult r = tool.run(WeightToolInputOf(m));
    EXPECT_FALSE(r.status);
    EXPECT_EQ(r.status.message, kWeightToolNoSkeleton);
    EXPECT_TRUE(r.changes.empty());

    WeightToolInput input = WeightToolInputOf(m);
    m.skeleton.bonesLoaded = true;
    input.vertices = {};
    input.selected = {};
    r = tool.run(input);
    EXPECT_EQ(r.status.message, kWeightToolNoMesh);
    EXPECT_TRUE(r.changes.empty());
  }
}

TEST(WeightToolProperties, BadParametersAreRefused) {
  const SkinnedModel m = PairedModel(4);
  const WeightToolInput in = WeightToolInputOf(m);
  const std::vector<WeightToolResult> refused = {
      PruneVertexWeights(in, -0.1f),
      PruneVertexWeights(in, 1.0f),
      PruneVertexWeights(in, std::nanf("")),
      LimitVertexWeights(in, 0),
      LimitVertexWeights(in, 5),
      SmoothVertexWeights(in, {0, 0.5f, 0}),
      SmoothVertexWeights(in, {kMaxSmoothIterations + 1, 0.5f, 0}),
      SmoothVertexWeights(in, {1, 0.0f, 0}),
      SmoothVertexWeights(in, {1, 1.5f, 0}),
      MirrorVertexWeights(in, MirrorDirection::LeftToRight, -1.0f),
  };
  for (std::size_t i = 0; i < refused.size(); ++i) {
    EXPECT_EQ(refused[i].status.message, kWeightToolBadParameter) << "case " << i;
    EXPECT_TRUE(refused[i].changes.empty()) << "case " << i;
  }
}
}  // namespace
}  // namespace posewright
