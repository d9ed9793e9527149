#include <gtest/gtest.h>

#include "anim/PlayToTime.h"
#include "AnimationTestSupport.h"

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
