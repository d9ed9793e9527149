#include <gtest/gtest.h>

#include <cfloat>

#include "editor/panels/BonePanel.h"
#include "model/SkinnedModel.h"
#include "support/ModelFixtures.h"
#include "weights/InfluenceWeight.h"

namespace posewright {

namespace {

// Records what the behaviour shows and lets a test type into the edits.
class FakeBonePanelView : public BonePanelView {
 public:
  std::string h, r, symmetric;
  int recentres = 0;

  std::string hText() const override { return h; }
  std::string rText() const override { return r; }
  std::string symmetricText() const override { return symmetric; }
  void setHText(const std::string& text) override { h = text; }
  void setRText(const std::string& text) override { r = text; }
  void setSymmetricText(const std::string& text) override { symmetric = text; }
  void recentreBoneControl() override { ++recentres; }
};

BoneTreeItem ItemOf(int bone) {
  return static_cast<BoneTreeItem>(100 + bone);
}

// The bone list entries of model's bones: ItemOf(i) for bone i.
BoneItemMap Items(const SkinnedModel& model) {
  return fixtures::ChainItems(model.skeleton.boneCount());
}

// A chain of `bones` bones along +Z (tree items 100 + i) and two vertices
// between bones 1 and 2, both bound to them with weights 0.9 / 0.1; vertex 0
// is selected.
SkinnedModel TwoVertexModel(int bones = 3) {
  SkinnedModel model;
  for (float x : {0.1f, 0.2f}) {
    SkinVertex v = fixtures::BoundVertex(D3DXVECTOR3(x, 0.0f, 1.9f), 1);
    v.setBoneIndex(1, 2);
    v.blendWeights[0] = 0.9f;
    v.blendWeights[1] = 0.1f;
    model.skinnedMesh.vertices.push_back(v);
  }
  model.skinnedMesh.indices = {0, 1, 0};
  model.skinnedMesh.faceAttributes = {0};
  fixtures::Finish(model, {fixtures::Material(1, 1, 1)}, fixtures::ChainSkeleton(bones));
  model.selection.selected[0] = 1;
  RebuildPointList(model.selection);
  return model;
}

TEST(BonePanelSelection, ShowsTheBonesParametersAndPartnerAndRecentres) {
  SkinnedModel model = TwoVertexModel(6);
  model.skeleton.blendParams[4] = BlendingParams{1.23456f, 0.35f};
  model.skeleton.bones[4].symmetricId = 5;
  FakeBonePanelView view;
  BonePanel panel(view);

  panel.selectionChanged(model.skeleton, Items(model), ItemOf(4));
  EXPECT_EQ(view.h, "0.3500");
  EXPECT_EQ(view.r, "1.2346");
  EXPECT_EQ(view.symmetric, "5");
  EXPECT_EQ(view.recentres, 1);

  // No entry of the tree (nothing selected, or a stale entry): the last bone.
  model.skeleton.blendParams[5] = BlendingParams{-2.0f, 7.0f};
  panel.selectionChanged(model.skeleton, Items(model), 0);
  EXPECT_EQ(view.h, "7.0000");
  EXPECT_EQ(view.r, "-2.0000");
  EXPECT_EQ(view.symmetric, "5");
  EXPECT_EQ(view.recentres, 2);
}

TEST(BonePanelSelection, WithoutBonesOnlyRecentres) {
  FakeBonePanelView view;
  view.h = "typed";
  BonePanel panel(view);
  panel.selectionChanged(Skeleton{}, {}, ItemOf(0));
  EXPECT_EQ(view.h, "typed");
  EXPECT_EQ(view.recentres, 1);
}

TEST(BonePanelApply, ZeroOrEmptyReachesTakeTheirReplacements) {
  SkinnedModel model = TwoVertexModel();
  FakeBonePanelView view;
  BonePanel panel(view);

  view.r = "";
  view.h = "0";
  panel.applyBlendingPressed(model, Items(model), ItemOf(2));
  EXPECT_EQ(model.skeleton.blendParams[2].R, 1.0f);
  EXPECT_EQ(model.skeleton.blendParams[2].H, 0.25f);

  // Leading white space is skipped, trailing text ignored, negatives kept.
  view.r = "  2.5abc";
  view.h = "-0.5";
  panel.applyBlendingPressed(model, Items(model), ItemOf(1));
  EXPECT_EQ(model.skeleton.blendParams[1].R, 2.5f);
  EXPECT_EQ(model.skeleton.blendParams[1].H, -0.5f);

  // Only the first 31 characters count; "-0" is a zero.
  view.r = std::string(31, ' ') + "5";
  view.h = "-0";
  panel.applyBlendingPressed(model, Items(model), ItemOf(1));
  EXPECT_EQ(model.skeleton.blendParams[1].R, 1.0f);
  EXPECT_EQ(model.skeleton.blendParams[1].H, 0.25f);

  // A number beyond the float range is held as the largest float, never as infinity.
  view.r = "1e39";
  view.h = "-1e300";
  panel.applyBlendingPressed(model, Items(model), ItemOf(1));
  EXPECT_EQ(model.skeleton.blendParams[1].R, FLT_MAX);
  EXPECT_EQ(model.skeleton.blendParams[1].H, -FLT_MAX);
}

TEST(BonePanelApply, RecomputesOnlyTheSelectedVertices) {
  SkinnedModel model = TwoVertexModel();
  FakeBonePanelView view;
  BonePanel panel(view);
  view.r = "3";
  view.h = "0.5";
  panel.applyBlendingPressed(model, Items(model), ItemOf(2));

  const Skeleton& s = model.skeleton;
  const SkinVertex& v0 = model.skinnedMesh.vertices[0];
  const float w1 = InfluenceWeight(v0.position, s.bones[1], s.blendParams[1]);
  const float w2 = InfluenceWeight(v0.position, s.bones[2], BlendingParams{3.0f, 0.5f});
  ASSERT_GT(w1 + w2, 0.0f);
  EXPECT_FLOAT_EQ(v0.blendWeights[0], w1 / (w1 + w2));
  EXPECT_FLOAT_EQ(v0.blendWeights[1], w2 / (w1 + w2));
  EXPECT_NE(v0.blendWeights[0], 0.9f);
  EXPECT_EQ(model.pointVertices[0].blendWeights[0], v0.blendWeights[0]);
  // The unselected vertex keeps its hand-set weights.
  EXPECT_EQ(model.skinnedMesh.vertices[1].blendWeights[0], 0.9f);
  EXPECT_EQ(model.skinnedMesh.vertices[1].blendWeights[1], 0.1f);
}

TEST(BonePanelApply, BothButtonsIgnoredWithoutSkeleton) {
  SkinnedModel model = TwoVertexModel();
  model.skeleton.bonesLoaded = false;
  FakeBonePanelView view;
  BonePanel panel(view);
  view.r = "3";
  view.h = "3";
  view.symmetric = "1";
  panel.applyBlendingPressed(model, Items(model), ItemOf(2));
  panel.applySymmetricPressed(model, Items(model), ItemOf(2));
  EXPECT_EQ(model.skeleton.blendParams[2].R, 1.0f);
  EXPECT_EQ(model.skeleton.blendParams[2].H, 0.35f);
  EXPECT_EQ(model.skeleton.bones[2].symmetricId, 2);
  EXPECT_EQ(model.skinnedMesh.vertices[0].blendWeights[0], 0.9f);
}

TEST(BonePanelApply, SymmetricIdPairsBothBonesAndTakesOutOfRangeAsRoot) {
  SkinnedModel model = TwoVertexModel(20);
  FakeBonePanelView view;
  BonePanel panel(view);

  view.symmetric = "7";
  panel.applySymmetricPressed(model, Items(model), ItemOf(2));
  EXPECT_EQ(model.skeleton.bones[2].symmetricId, 7);
  EXPECT_EQ(model.skeleton.bones[7].symmetricId, 2);

  view.symmetric = "99";
  panel.applySymmetricPressed(model, Items(model), ItemOf(3));
  EXPECT_EQ(model.skeleton.bones[3].symmetricId, 0);
  EXPECT_EQ(model.skeleton.bones[0].symmetricId, 3);

  view.symmetric = "-4";
  panel.applySymmetricPressed(model, Items(model), ItemOf(5));
  EXPECT_EQ(model.skeleton.bones[5].symmetricId, 0);
  EXPECT_EQ(model.skeleton.bones[0].symmetricId, 5);

  // A number too large for 32 bits is out of range too, not wrapped into it.
  view.symmetric = "4294967302";
  panel.applySymmetricPressed(model, Items(model), ItemOf(6));
  EXPECT_EQ(model.skeleton.bones[6].symmetricId, 0);
  // The previous partners keep their values.
  EXPECT_EQ(model.skeleton.bones[7].symmetricId, 2);
}

}  // namespace
}  // namespace posewright
