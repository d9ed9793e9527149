#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "anim/AnimationFile.h"
#include "anim/AnimationList.h"
#include "anim/KeyPose.h"
#include "support/AnimationTestSupport.h"

namespace posewright {

TEST(Animation, InsertKeepsAscendingOrderAndMakesTheNewKeyCurrent) {
  Animation a;
  a.InsertKey(UniformPose(2, 0.1f), 10);
  a.InsertKey(UniformPose(2, 0.3f), 30);
  EXPECT_EQ(a.InsertKey(UniformPose(2, 0.2f), 20), 1);
  EXPECT_EQ(KeyTimes(a), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(a.currentKey(), 1);
  // In front of the first, then at an existing time: replaced in place.
  EXPECT_EQ(a.InsertKey(UniformPose(2, 0.0f), 5), 0);
  EXPECT_EQ(a.InsertKey(UniformPose(2, 0.9f), 20), 2);
  EXPECT_EQ(KeyTimes(a), (std::vector<int>{5, 10, 20, 30}));
  ExpectNear(a.keys()[2].rotations[1], AxisAngle(0, 1, 0, 0.9f));
  EXPECT_EQ(a.currentKey(), 2);
}

TEST(Animation, HasKeyAtFindsOnlyExactTimes) {
  Animation a;
  EXPECT_FALSE(a.HasKeyAt(0));
  a.InsertKey(UniformPose(1, 0), 10);
  a.InsertKey(UniformPose(1, 0), 30);
  EXPECT_TRUE(a.HasKeyAt(10));
  EXPECT_TRUE(a.HasKeyAt(30));
  EXPECT_FALSE(a.HasKeyAt(0));
  EXPECT_FALSE(a.HasKeyAt(20));
  EXPECT_FALSE(a.HasKeyAt(40));
}

TEST(Animation, RemoveMovesToSuccessorElsePredecessorElseNone) {
  Animation a;
  for (int t : {10, 20, 30}) a.InsertKey(UniformPose(1, 0), t);
  EXPECT_EQ(a.RemoveKey(1), 1);  // the middle: the old last (30) is current
  EXPECT_EQ(a.currentKeyframe()->time, 30);
  EXPECT_EQ(a.RemoveKey(1), 0);  // the last: the new last (10) is current
  EXPECT_EQ(a.currentKeyframe()->time, 10);
  EXPECT_EQ(a.RemoveKey(5), 5);  // not in the list: nothing changes
  EXPECT_EQ(a.RemoveKey(kNoKey), kNoKey);
  EXPECT_EQ(a.keys().size(), 1u);
  EXPECT_EQ(a.RemoveKey(0), kNoKey);
  EXPECT_TRUE(a.keys().empty());
  EXPECT_EQ(a.currentKeyframe(), nullptr);
}

TEST(Animation, PreviousAndNextStopAtTheEnds) {
  Animation a;
  EXPECT_FALSE(a.SelectNextKey());
  EXPECT_FALSE(a.SelectPreviousKey());
  for (int t : {0, 10}) a.InsertKey(UniformPose(1, 0), t);
  EXPECT_FALSE(a.SelectNextKey());
  EXPECT_TRUE(a.SelectPreviousKey());
  EXPECT_FALSE(a.SelectPreviousKey());
  EXPECT_EQ(a.currentKey(), 0);
}

TEST(Animation, CopyFromIsIndependentWithLastKeyCurrentAndFittedRotations) {
  Animation source;
  source.name = "walk";
  source.boneCount = 3;
  source.InsertKey(UniformPose(3, 0.5f), 30);
  source.InsertKey(UniformPose(1, 0.25f), 0);  // recorded on a smaller skeleton
  Animation copy;
  copy.InsertKey(UniformPose(3, 0), 99);
  copy.CopyFrom(source);
  EXPECT_EQ(copy.name, "walk");
  EXPECT_EQ(copy.boneCount, 3);
  EXPECT_EQ(KeyTimes(copy), (std::vector<int>{0, 30}));
  EXPECT_EQ(copy.currentKey(), 1);
  ASSERT_EQ(copy.keys()[0].boneCount(), 3);
  ExpectNear(copy.keys()[0].rotations[0], AxisAngle(0, 1, 0, 0.25f));
  EXPECT_EQ(copy.keys()[0].rotations[2], D3DXQUATERNION());
  source.RemoveKey(0);
  EXPECT_EQ(copy.keys().size(), 2u);
  EXPECT_NE(copy.keysStamp(), source.keysStamp());
}

TEST(Animation, EveryKeyChangeGivesANewStamp) {
  Animation a;
  const uint64_t fresh = a.keysStamp();
  a.InsertKey(UniformPose(1, 0), 0);
  const uint64_t afterInsert = a.keysStamp();
  EXPECT_NE(afterInsert, fresh);
  a.SelectNextKey();
  EXPECT_EQ(a.keysStamp(), afterInsert);  // moving the current key is no change
  a.RemoveKey(0);
  EXPECT_NE(a.keysStamp(), afterInsert);
  Animation other;
  EXPECT_NE(other.keysStamp(), a.keysStamp());
}

TEST(AnimationList, CurrentFollowsAppendMoveAndRemove) {
  AnimationList list;
  EXPECT_EQ(list.current(), nullptr);
  EXPECT_FALSE(list.PreviousAnimation());
  EXPECT_FALSE(list.NextAnimation());
  list.RemoveAnimation();  // harmless on an empty list
  Animation a;
  for (const char* name : {"a", "b", "c"}) {
    a.name = name;
    list.AppendAnimation(a);
  }
  EXPECT_EQ(list.current()->name, "c");
  EXPECT_FALSE(list.NextAnimation());
  EXPECT_TRUE(list.PreviousAnimation());
  EXPECT_EQ(list.current()->name, "b");
  list.RemoveAnimation();  // middle: the successor
  EXPECT_EQ(list.current()->name, "c");
  list.RemoveAnimation();  // last: the predecessor
  EXPECT_EQ(list.current()->name, "a");
  list.RemoveAnimation();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.currentIndex(), -1);
  list.AppendAnimation(a);
  list.ClearAnimations();
  EXPECT_EQ(list.current(), nullptr);
}

TEST(KeyPose, RecordThenApplyRestoresThePoseWithOrientation) {
  Skeleton s = MakeChain(3);
  SetBonePose(s.bones[1], AxisAngle(0, 0, 1, 0.7f));
  Animation a;
  RecordKey(s, a, 12);
  ASSERT_EQ(a.keys().size(), 1u);
  EXPECT_EQ(a.keys()[0].boneCount(), 3);
  for (Bone& b : s.bones) ResetBonePose(b);
  ApplyKey(s, a.keys()[0]);
  ExpectNear(s.bones[1].poseRotation, AxisAngle(0, 0, 1, 0.7f));
  D3DXQUATERNION expected;
  D3DXQuaternionMultiply(&expected, &s.bones[1].restRotation, &s.bones[1].poseRotation);
  ExpectNear(s.bones[1].orientation, expected);
}

TEST(KeyPose, ShortKeyframeLeavesMissingBonesAtRest) {
  Skeleton s = MakeChain(3);
  for (Bone& b : s.bones) SetBonePose(b, AxisAngle(1, 0, 0, 0.3f));
  Keyframe k;
  k.rotations = UniformPose(1, 0.5f);
  ApplyKey(s, k);
  ExpectNear(s.bones[0].poseRotation, AxisAngle(0, 1, 0, 0.5f));
  EXPECT_EQ(s.bones[2].poseRotation, D3DXQUATERNION());
  EXPECT_EQ(s.bones[2].orientation, s.bones[2].restRotation);
}

// Whatever skeletons its keyframes were recorded on, an animation's count
// covers every recorded rotation: its file reads back, on the largest of those
// skeletons, to the same keys, with bones a keyframe did not have at rest.
TEST(KeyPose, RecordedKeysKeepEveryRotationThroughTheFile) {
  const std::vector<std::vector<int>> recordedOn = {{3}, {2, 4}, {4, 2}, {2, 5, 3}};
  for (const std::vector<int>& sizes : recordedOn) {
    SCOPED_TRACE(::testing::PrintToString(sizes));
    Animation a;  // bone count 0, as when added before any skeleton
    int largest = 0;
    for (std::size_t k = 0; k < sizes.size(); ++k) {
      Skeleton s = MakeChain(sizes[k]);
      for (Bone& b : s.bones) SetBonePose(b, AxisAngle(0, 1, 0, 0.1f * static_cast<float>(k + 1)));
      RecordKey(s, a, static_cast<int32_t>(10 * k));
      largest = std::max(largest, sizes[k]);
    }
    EXPECT_EQ(a.boneCount, largest);
    Animation back;
    back.boneCount = largest;
    ASSERT_TRUE(ReadAnimationText(back, FormatAnimationFile(a), "r.anm"));
    ASSERT_EQ(KeyTimes(back), KeyTimes(a));
    for (std::size_t k = 0; k < a.keys().size(); ++k) {
      const std::vector<D3DXQUATERNION>& recorded = a.keys()[k].rotations;
      for (std::size_t i = 0; i < static_cast<std::size_t>(largest); ++i) {
        ExpectNear(back.keys()[k].rotations[i], i < recorded.size() ? recorded[i] : D3DXQUATERNION(), 1e-4f);
      }
    }
  }
  // Once every keyframe is gone, the next one sets the count again.
  Animation a;
  RecordKey(MakeChain(4), a, 0);
  a.RemoveKey(0);
  RecordKey(MakeChain(2), a, 0);
  EXPECT_EQ(a.boneCount, 2);
}
}  // namespace posewright
