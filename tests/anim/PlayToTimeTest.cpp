#include <gtest/gtest.h>

#include "anim/PlayToTime.h"
#include "anim/PosedVertices.h"
#include "support/AnimationTestSupport.h"

namespace posewright {

namespace {
Animation TwoKeys() {
  Animation a;
  a.boneCount = 2;
  a.InsertKey(UniformPose(2, 0.0f), 0);
  a.InsertKey(UniformPose(2, 1.0f), 40);
  return a;
}
}  // namespace

TEST(PoseAtPlaybackTime, PosesAsTheFrameShowingThatTime) {
  Skeleton s = MakeChain(2);
  ASSERT_TRUE(PoseAtPlaybackTime(s, TwoKeys(), 10));
  ExpectNear(s.bones[1].poseRotation, AxisAngle(0, 1, 0, 0.25f));
  ASSERT_TRUE(PoseAtPlaybackTime(s, TwoKeys(), 0));
  ExpectNear(s.bones[1].poseRotation, D3DXQUATERNION());
}

TEST(PoseAtPlaybackTime, RefusesTimesPlaybackNeverShowsAndSingleKeys) {
  Skeleton s = MakeChain(2);
  EXPECT_FALSE(PoseAtPlaybackTime(s, TwoKeys(), 40));
  EXPECT_FALSE(PoseAtPlaybackTime(s, TwoKeys(), -1));
  Animation one;
  one.boneCount = 2;
  one.InsertKey(UniformPose(2, 1.0f), 5);
  EXPECT_FALSE(PoseAtPlaybackTime(s, one, 0));
}

TEST(FormatPosedVertices, SkinsEveryVertexInThePlayedPose) {
  // A two-bone chain along +Z; one vertex fully on bone 1 at its tip, one on
  // the root. Bone 1 turns a quarter about +Y over 40 frames; at time 20 it
  // has turned an eighth, carrying the tip (0,0,2) about the joint (0,0,1).
  SkinnedModel model;
  model.skeleton = MakeChain(2);
  SkinVertex tip;
  tip.position = D3DXVECTOR3(0, 0, 2);
  tip.blendWeights[0] = 1.0f;
  tip.setBoneIndex(0, 1);
  SkinVertex root;
  root.position = D3DXVECTOR3(0.5f, 0, 0);
  model.skinnedMesh.vertices = {tip, root};
  Animation a;
  a.boneCount = 2;
  a.InsertKey(UniformPose(2, 0.0f), 0);
  std::vector<D3DXQUATERNION> turned = UniformPose(2, 0.0f);
  turned[1] = AxisAngle(0, 1, 0, 1.5707964f);
  a.InsertKey(turned, 40);
  ASSERT_TRUE(PoseAtPlaybackTime(model.skeleton, a, 20));
  EXPECT_EQ(FormatPosedVertices(model), "0.707107 0.000000 1.707107\n0.500000 0.000000 0.000000\n");
}
}  // namespace posewright
