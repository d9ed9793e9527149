// Smoothing: the weight difference across edges falls with every iteration,
// the result does not depend on the thread count, and vertices at one
// position move together.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "WeightToolFixtures.h"
#include "support/GeneratedSkinnedModel.h"
#include "weighttools/MeshPoints.h"
#include "weighttools/SmoothWeights.h"

namespace posewright {

namespace {
struct ModelCase {
  const char* name;
  std::function<SkinnedModel()> make;
};

std::vector<ModelCase> Models() {
  return {
      {"rough grid", [] { return weighttest::RoughModel(7, 900, 20); }},
      {"rough split faces",
       [] {
         synthetic::ModelRecipe recipe;
         recipe.vertexCount = 600;
         recipe.boneCount = 30;
         recipe.splitVertices = true;
         return synthetic::MakeModel(recipe);
       }},
      {"generated tubes",
       [] {
         ModelOptions o;
         o.vertices = 2000;
         o.bones = 12;
         o.anchorFaces = 12;
         return BindGeneratedModel(o);
       }},
  };
}

TEST(SmoothWeights, EdgeDifferenceFallsWithEveryIteration) {
  for (const ModelCase& model : Models()) {
    for (float strength : {0.25f, 0.5f, 1.0f}) {
      for (uint32_t step : {0u, 2u}) {
        SCOPED_TRACE(std::string(model.name) + ", strength " + std::to_string(strength) + ", select every " +
                     std::to_string(step));
        SkinnedModel m = model.make();
        weighttest::SelectEvery(m, step);
        double previous = EdgeWeightDifference(m.skinnedMesh.vertices, m.skinnedMesh.indices);
        ASSERT_GT(previous, 0.0);
        for (int iteration = 0; iteration < 6; ++iteration) {
          const WeightToolResult r = SmoothVertexWeights(WeightToolInputOf(m), {1, strength, 2});
          ASSERT_TRUE(r.status);
          ApplyWeightChanges(m, r.changes);
          const double now = EdgeWeightDifference(m.skinnedMesh.vertices, m.skinnedMesh.indices);
          EXPECT_LT(now, previous) << "iteration " << iteration;
          previous = now;
        }
      }
    }
  }
}

TEST(SmoothWeights, IterationsInOneCallEqualSeparateCallsOnAnyThreadCount) {
  SkinnedModel m = weighttest::RoughModel(8, 9000, 40);  // enough points for three threads
  const WeightToolResult three = SmoothVertexWeights(WeightToolInputOf(m), {3, 0.6f, 1});
  for (unsigned threads : {2u, 3u}) {
    const WeightToolResult other = SmoothVertexWeights(WeightToolInputOf(m), {3, 0.6f, threads});
    ASSERT_EQ(other.changes.size(), three.changes.size());
    for (std::size_t i = 0; i < three.changes.size(); ++i) {
      ASSERT_EQ(other.changes[i].vertex, three.changes[i].vertex);
      ASSERT_TRUE(other.changes[i].weights.sameBits(three.changes[i].weights))
          << "vertex " << other.changes[i].vertex;
    }
  }
  // One call of three iterations = three calls of one, up to the rounding of
  // the stored weights between calls (slot 3's is implied).
  SkinnedModel stepwise = m;
  for (int i = 0; i < 3; ++i)
    ApplyWeightChanges(stepwise, SmoothVertexWeights(WeightToolInputOf(stepwise), {1, 0.6f, 2}).changes);
  ApplyWeightChanges(m, three.changes);
  for (std::size_t v = 0; v < m.vertexCount(); ++v) {
    const auto a = weighttest::Weights(m.skinnedMesh.vertices[v]);
    const auto b = weighttest::Weights(stepwise.skinnedMesh.vertices[v]);
    for (const auto& [bone, w] : a) EXPECT_NEAR(b.count(bone) ? b.at(bone) : 0.0, w, 1e-5) << "vertex " << v;
  }
}

TEST(SmoothWeights, VerticesAtOnePositionMoveTogetherAndUnweightedOnesStay) {
  // Split faces: every grid point is held by up to six vertices with
  // different random weights; a point takes its lowest vertex's weights.
  synthetic::ModelRecipe recipe;
  recipe.vertexCount = 300;
  recipe.boneCount = 10;
  recipe.splitVertices = true;
  SkinnedModel m = synthetic::MakeModel(recipe);
  const MeshPoints points = BuildMeshPoints(m.skinnedMesh.vertices, m.skinnedMesh.indices);
  ASSERT_LT(points.pointCount(), m.vertexCount() / 2);
  std::size_t unweighted = 0;
  for (std::size_t v = 0; v < m.vertexCount(); ++v) {
    if (points.pointOf[v] != points.pointOf[5]) continue;
    m.skinnedMesh.vertices[v].boneIndices = 0;
    m.skinnedMesh.vertices[v].blendWeights[0] = 0.0f;
    ++unweighted;
  }
  m.pointVertices = m.skinnedMesh.vertices;
  const WeightToolResult r = SmoothVertexWeights(WeightToolInputOf(m), {2, 0.5f, 2});
  ASSERT_TRUE(r.status);
  EXPECT_EQ(r.verticesWithoutWeights, unweighted);
  ApplyWeightChanges(m, r.changes);
  for (std::size_t v = 0; v < m.vertexCount(); ++v) {
    const SkinVertex& first = m.skinnedMesh.vertices[points.firstVertex[points.pointOf[v]]];
    EXPECT_TRUE(weighttest::Near(weighttest::Weights(m.skinnedMesh.vertices[v]), weighttest::Weights(first)))
        << "vertex " << v;
  }
}
}  // namespace
}  // namespace posewright
