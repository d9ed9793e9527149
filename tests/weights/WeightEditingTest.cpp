#include <gtest/gtest.h>

#include "support/SelectionTestModel.h"
#include "weights/WeightEditing.h"

namespace posewright {

namespace {
std::vector<uint16_t> SelectedVertices(const SkinnedModel& m) {
  std::vector<uint16_t> out;
  for (std::size_t v = 0; v < m.selection.selected.size(); ++v) {
    if (m.selection.selected[v]) out.push_back(static_cast<uint16_t>(v));
  }
  return out;
}

// The point list must always be: selected ascending, then unselected descending,
// with the unselected count matching the cleared flags.
void ExpectListMatchesFlags(const SkinnedModel& m) {
  const auto selected = SelectedVertices(m);
  std::vector<uint16_t> expected = selected;
  for (std::size_t v = m.selection.selected.size(); v-- > 0;) {
    if (!m.selection.selected[v]) expected.push_back(static_cast<uint16_t>(v));
  }
  EXPECT_EQ(m.selection.pointList, expected);
  EXPECT_EQ(m.selection.unselectedCount, m.selection.selected.size() - selected.size());
}

TEST(MatchesBones, SameValuesInAnySlotOrderWithZeroCounting) {
  SkinVertex v;
  v.boneIndices = 0x00000300;  // slots 0, 3, 0, 0
  EXPECT_TRUE(MatchesBones(v, {3, 0, 0, 0}));
  EXPECT_TRUE(MatchesBones(v, {0, 0, 0, 3}));
  EXPECT_FALSE(MatchesBones(v, {3, 1, 0, 0}));
  v.boneIndices = 0x00000201;  // 1, 2, 0, 0 has the sum 3 but not the value 3
  EXPECT_FALSE(MatchesBones(v, {3, 0, 0, 0}));
  EXPECT_TRUE(MatchesBones(v, {2, 1, 0, 0}));
  // Same members, different sum: {1, 1, 2, 0} holds every wanted value but sums to 4.
  v.boneIndices = 0x00020101;
  EXPECT_FALSE(MatchesBones(v, {1, 2, 0, 0}));
  // Bytes above 127 must not turn negative in the sum.
  v.boneIndices = 0xC8000000;  // 0, 0, 0, 200
  EXPECT_TRUE(MatchesBones(v, {200, 0, 0, 0}));
}

TEST(SelectByBones, SelectThenChooseNarrows) {
  SkinnedModel m = ModelWithBoneQuads({{2, 1, 0, 0}, {1, 2, 0, 0}, {1, 2, 3, 0}, {3, 0, 0, 0}, {0, 1, 2, 0}});
  m.selection.selected[3] = 1;  // replaced, not added to
  SelectByBones(m, {1, 2, 0, 0});
  EXPECT_EQ(SelectedVertices(m), (std::vector<uint16_t>{0, 1, 4}));
  ExpectListMatchesFlags(m);
  EXPECT_EQ(m.selection.pointList, (std::vector<uint16_t>{0, 1, 4, 3, 2}));

  ChooseByBones(m, {1, 2, 0, 0});
  EXPECT_EQ(SelectedVertices(m), (std::vector<uint16_t>{0, 1, 4}));
  ExpectListMatchesFlags(m);

  // Choose never adds: vertex 3 matches but was not selected.
  ChooseByBones(m, {3, 0, 0, 0});
  EXPECT_TRUE(SelectedVertices(m).empty());
  ExpectListMatchesFlags(m);
  EXPECT_EQ(m.selection.unselectedCount, 5u);
}

TEST(SetSelectedWeights, WritesOnlySelectedVerticesAndTheirPoints) {
  SkinnedModel m = ModelWithBoneQuads({{1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}});
  m.selection.selected = {0, 1, 1};
  RebuildPointList(m.selection);
  SetSelectedWeights(m, {2, 5, 0, 200}, {0.25f, 0.75f, 0.0f, 0.0f});
  const SkinVertex& untouched = m.skinnedMesh.vertices[0];
  EXPECT_EQ(untouched.boneIndices, 1u);
  EXPECT_EQ(untouched.blendWeights[0], 0.5f);
  for (std::size_t v = 1; v < 3; ++v) {
    for (const SkinVertex* x : {&m.skinnedMesh.vertices[v], &m.pointVertices[v]}) {
      EXPECT_EQ(x->boneIndices, 0xC8000502u);
      EXPECT_EQ(x->blendWeights[0], 0.25f);
      EXPECT_EQ(x->blendWeights[1], 0.75f);
      EXPECT_EQ(x->blendWeights[2], 0.0f);
      EXPECT_EQ(x->pointSize, 10.0f);
    }
  }
  EXPECT_EQ(m.pointVertices[0].boneIndices, 1u);
  // The selection survives a weight edit.
  EXPECT_EQ(m.selection.unselectedCount, 1u);
}

TEST(SetSelectedWeights, SelectionShorterThanMeshIsSafe) {
  SkinnedModel m = ModelWithBoneQuads({{1, 0, 0, 0}, {1, 0, 0, 0}});
  m.selection.selected = {1};
  m.pointVertices.clear();
  SetSelectedWeights(m, {4, 0, 0, 0}, {1.0f, 0.0f, 0.0f, 0.0f});
  EXPECT_EQ(m.skinnedMesh.vertices[0].boneIndex(0), 4);
  EXPECT_EQ(m.skinnedMesh.vertices[1].boneIndex(0), 1);
}
}  // namespace
}  // namespace posewright
