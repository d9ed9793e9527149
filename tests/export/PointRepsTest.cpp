// Point representatives from the faces around each point.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "export/PointReps.h"
#include "support/SyntheticSkinnedModel.h"

namespace posewright {

namespace {
constexpr uint32_t N = kNoFace;

// Two faces of a quad whose shared edge has split vertices: 3 ≡ 2 and 4 ≡ 1.
//   2/3 ── 5
//    │ ╲   │
//    0 ── 1/4
const std::vector<uint16_t> kSeamIndices = {0, 1, 2, 3, 4, 5};
const std::vector<uint32_t> kSeamAdjacency = {N, 1, N, 0, N, N};
}  // namespace

TEST(PointReps, SplitVerticesAcrossAnEdgeShareTheFirstVisitedVertex) {
  const std::vector<uint32_t> reps = ConvertAdjacencyToPointReps(kSeamIndices, 6, kSeamAdjacency, {});
  EXPECT_EQ(reps, (std::vector<uint32_t>{0, 1, 2, 2, 1, 5}));
  EXPECT_EQ(CountPoints(reps), 4u);
}

TEST(PointReps, RangesAreVisitedInTableOrderSoTheirFacesChooseFirst) {
  const std::vector<D3DXATTRIBUTERANGE> ranges = {{1, 1, 1, 3, 3}, {0, 0, 1, 0, 3}};
  const std::vector<uint32_t> reps = ConvertAdjacencyToPointReps(kSeamIndices, 6, kSeamAdjacency, ranges);
  EXPECT_EQ(reps, (std::vector<uint32_t>{0, 4, 3, 3, 4, 5}));
}

TEST(PointReps, UnusedVerticesAndMissingAdjacencyRepresentThemselves) {
  const std::vector<uint32_t> reps = ConvertAdjacencyToPointReps(kSeamIndices, 8, {}, {});
  EXPECT_EQ(reps, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(CountPoints(reps), 8u);
}

TEST(PointReps, ClosedAndOpenFansOfSplitVerticesCollapseToOnePoint) {
  // Every face has its own three vertices; the adjacency joins them by position.
  for (bool split : {true, false}) {
    synthetic::ModelRecipe recipe;
    recipe.vertexCount = 600;
    recipe.splitVertices = split;
    const SkinnedModel m = synthetic::MakeModel(recipe);
    const std::vector<uint32_t> reps = ConvertAdjacencyToPointReps(
        m.skinnedMesh.indices, m.skinnedMesh.vertices.size(), m.adjacency, m.attributeTable);
    // The representative stands at the same place, represents itself, and each
    // distinct used position has exactly one representative.
    std::set<std::tuple<float, float, float>> positions;
    std::vector<bool> used(m.skinnedMesh.vertices.size(), false);
    for (uint16_t v : m.skinnedMesh.indices) used[v] = true;
    for (std::size_t v = 0; v < reps.size(); ++v) {
      ASSERT_LT(reps[v], reps.size());
      EXPECT_EQ(reps[reps[v]], reps[v]);
      const D3DXVECTOR3& p = m.skinnedMesh.vertices[v].position;
      const D3DXVECTOR3& q = m.skinnedMesh.vertices[reps[v]].position;
      EXPECT_TRUE(p.x == q.x && p.y == q.y && p.z == q.z) << "vertex " << v;
      if (used[v]) positions.insert({p.x, p.y, p.z});
    }
    std::size_t usedPoints = 0;
    for (std::size_t v = 0; v < reps.size(); ++v) usedPoints += used[v] && reps[v] == v;
    EXPECT_EQ(usedPoints, positions.size()) << (split ? "split" : "shared");
  }
}

TEST(PointReps, InconsistentAdjacencyEndsTheWalkInsteadOfLooping) {
  // Face 0 names 1, 1 names 2, 2 names 1 (never back to 0); an out-of-range
  // neighbour and a neighbour that names nobody back.
  const std::vector<uint16_t> indices = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  const std::vector<uint32_t> adjacency = {1, 77, N, 2, 2, 2, 1, 1, 1, 0, N, N};
  const std::vector<uint32_t> reps = ConvertAdjacencyToPointReps(indices, 12, adjacency, {});
  ASSERT_EQ(reps.size(), 12u);
  for (std::size_t v = 0; v < reps.size(); ++v) {
    EXPECT_EQ(reps[reps[v]], reps[v]);
  }
  // Corner indices beyond the vertex count are skipped.
  const std::vector<uint32_t> short_ = ConvertAdjacencyToPointReps(indices, 4, adjacency, {});
  EXPECT_EQ(short_.size(), 4u);
}
}  // namespace posewright
