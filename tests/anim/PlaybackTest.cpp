#include <gtest/gtest.h>

#include "anim/AnimationState.h"
#include "anim/KeyPose.h"
#include "support/AnimationTestSupport.h"

namespace posewright {

namespace {
constexpr float kQuarter = 1.5707964f;

// An animation of n bones with the given (time, angle about +Y) keyframes.
Animation MakeAnimation(int n, std::initializer_list<std::pair<int, float>> keys) {
  Animation a;
  a.boneCount = n;
  for (auto [t, angle] : keys) a.InsertKey(UniformPose(n, angle), t);
  return a;
}

struct Player {
  AnimationState state;
  Skeleton skeleton = MakeChain(2);

  explicit Player(const Animation& a) {
    state.animations.AppendAnimation(a);
    state.playing = true;
  }
  // The times shown by the next `frames` frames.
  std::vector<int> Run(int frames) {
    std::vector<int> shown;
    for (int i = 0; i < frames; ++i) {
      auto t = AdvancePlayback(state, skeleton);
      if (!t) break;
      shown.push_back(*t);
    }
    return shown;
  }
  Animation& Current() { return *state.animations.current(); }
};

std::vector<int> Range(int first, int last) {
  std::vector<int> v;
  for (int t = first; t <= last; ++t) v.push_back(t);
  return v;
}

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
}  // namespace

TEST(Playback, LoopRestartsAtOneAndNeverShowsTheLastKeyframe) {
  Player p(MakeAnimation(2, {{0, 0.0f}, {30, kQuarter}}));
  EXPECT_EQ(p.Run(29 + 30 + 29), Concat(Concat(Range(0, 29), Range(1, 29)), Range(1, 29)));
  // The frame after showing 29 shows 1, a thirtieth of the way from the first key.
  EXPECT_EQ(p.Run(1), std::vector<int>{1});
  ExpectNear(p.skeleton.bones[1].poseRotation, AxisAngle(0, 1, 0, kQuarter / 30.0f));
}

TEST(Playback, HalfwayIsTheSlerpMidpointAndKeyTimesHitKeysExactly) {
  Player p(MakeAnimation(2, {{0, 0.0f}, {10, 0.4f}, {30, 1.2f}}));
  p.Run(10);  // times 0..9
  EXPECT_EQ(p.state.currentTime, 10);
  p.Run(1);
  for (const Bone& b : p.skeleton.bones) ExpectNear(b.poseRotation, AxisAngle(0, 1, 0, 0.4f), 1e-6f);
  p.Run(9);  // up to 19
  p.Run(1);  // 20: halfway between 10 and 30
  ExpectNear(p.skeleton.bones[0].poseRotation, AxisAngle(0, 1, 0, 0.8f));
  // orientation follows the pose
  D3DXQUATERNION expected;
  D3DXQuaternionMultiply(&expected, &p.skeleton.bones[1].restRotation, &p.skeleton.bones[1].poseRotation);
  ExpectNear(p.skeleton.bones[1].orientation, expected);
}

TEST(Playback, OppositeSignsOfTheSameRotationHoldStill) {
  const D3DXQUATERNION q = AxisAngle(0, 0, 1, 1.0f);
  Animation a;
  a.boneCount = 1;
  a.InsertKey(std::vector<D3DXQUATERNION>{q}, 0);
  a.InsertKey(std::vector<D3DXQUATERNION>{-q}, 30);
  Player p(a);
  for (int frame = 0; frame < 45; ++frame) {
    p.Run(1);
    ExpectNear(p.skeleton.bones[0].poseRotation, q);
  }
}

TEST(Playback, TimesBeforeTheFirstKeyframeExtrapolate) {
  Player p(MakeAnimation(2, {{10, 0.2f}, {20, 0.4f}}));
  p.Run(1);  // time 0: s = -1
  ExpectNear(p.skeleton.bones[0].poseRotation, AxisAngle(0, 1, 0, 0.0f));
  EXPECT_EQ(p.Run(25), Concat(Range(1, 19), Range(1, 6)));
}

TEST(Playback, SecondKeyframeAtTimeOneDoesNotRunAway) {
  Player p(MakeAnimation(2, {{0, 0.0f}, {1, 0.1f}, {5, 0.5f}}));
  EXPECT_EQ(p.Run(13), Concat(Concat(Range(0, 4), Range(1, 4)), Range(1, 4)));
  p.Run(1);  // time 1 after the restart shows the keyframe at 1 exactly
  ExpectNear(p.skeleton.bones[0].poseRotation, AxisAngle(0, 1, 0, 0.1f));
}

TEST(Playback, PairIsRederivedWhenKeysChangeWhilePlaying) {
  Player p(MakeAnimation(2, {{0, 0.0f}, {20, 0.4f}, {40, 0.8f}}));
  p.Run(15);  // shown 0..14, next 15
  // Record a key at 12 while playing: 15 lies between 12 and 20 now.
  p.Current().InsertKey(UniformPose(2, 1.2f), 12);
  p.Run(1);
  D3DXQUATERNION expected;
  const D3DXQUATERNION a = AxisAngle(0, 1, 0, 1.2f), b = AxisAngle(0, 1, 0, 0.4f);
  D3DXQuaternionSlerp(&expected, &a, &b, 3.0f / 8.0f);
  ExpectNear(p.skeleton.bones[0].poseRotation, expected);
  // Remove everything after 12: playback is past the end and restarts at 1.
  p.Current().RemoveKey(3);
  p.Current().RemoveKey(2);
  EXPECT_EQ(p.Run(3), (std::vector<int>{1, 2, 3}));
}

TEST(Playback, StopsWhenTheAnimationCannotBePlayed) {
  Player p(MakeAnimation(2, {{0, 0.0f}, {20, 0.4f}}));
  p.Run(5);
  p.Current().RemoveKey(0);
  EXPECT_TRUE(p.Run(1).empty());
  EXPECT_FALSE(p.state.playing);

  Player q(MakeAnimation(2, {{0, 0.0f}, {20, 0.4f}}));
  q.Run(5);
  q.state.animations.RemoveAnimation();
  EXPECT_TRUE(q.Run(1).empty());
  EXPECT_FALSE(q.state.playing);
}

TEST(Playback, SwitchingAnimationsRederivesThePair) {
  Player p(MakeAnimation(2, {{0, 0.0f}, {10, 0.1f}, {20, 0.2f}, {30, 0.3f}}));
  p.Run(25);
  p.state.animations.AppendAnimation(MakeAnimation(2, {{0, 0.0f}, {50, 1.0f}}));
  p.Run(1);  // time 25 of the new animation
  ExpectNear(p.skeleton.bones[0].poseRotation, AxisAngle(0, 1, 0, 0.5f));
}

TEST(Playback, KeyframesOfAnotherSkeletonSizeNeverReadPastTheirRotations) {
  Animation a;
  a.boneCount = 1;
  a.InsertKey(UniformPose(1, 0.0f), 0);
  a.InsertKey(UniformPose(1, 0.6f), 10);
  Player p(a);
  p.skeleton = MakeChain(4);
  SetBonePose(p.skeleton.bones[3], AxisAngle(1, 0, 0, 0.5f));
  p.Run(6);  // time 5
  ExpectNear(p.skeleton.bones[0].poseRotation, AxisAngle(0, 1, 0, 0.3f));
  EXPECT_EQ(p.skeleton.bones[3].poseRotation, D3DXQUATERNION());
  // A bone count above the skeleton's touches only the skeleton's bones.
  int32_t time = 5;
  PlaybackPair pair;
  Skeleton small = MakeChain(1);
  EXPECT_TRUE(PlaybackStep(small, a, 100, time, pair));
}
}  // namespace posewright
