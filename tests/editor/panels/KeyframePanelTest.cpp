#include <gtest/gtest.h>

#include "anim/KeyPose.h"
#include "editor/AnimationCommands.h"
#include "support/AnimationTestSupport.h"
#include "support/ScriptedKeyframeView.h"

namespace posewright {

namespace {
struct PanelFixture : ::testing::Test {
  AnimationState state;
  ScriptedKeyframeView view;
  KeyframePanel panel{state, view};
  Skeleton skeleton = MakeChain(2);

  void SetUp() override { panel.initialize(); }

  // Poses bone 1 by angle about +Y and records it at time t through the panel.
  void AddAt(int t, float angle) {
    SetBonePose(skeleton.bones[1], AxisAngle(0, 1, 0, angle));
    panel.sliderMoved(t);
    panel.addPressed(skeleton);
  }
  Animation& Current() { return *state.animations.current(); }
};
}  // namespace

TEST_F(PanelFixture, StartsWithTheFirstWindowAndTheResourceTitle) {
  EXPECT_EQ(view.rangeMin, 0);
  EXPECT_EQ(view.rangeMax, 60);
  EXPECT_EQ(view.labels, (std::vector<std::string>{"0", "30", "60"}));
  EXPECT_EQ(view.title, "Keyframe");
}

TEST_F(PanelFixture, EveryControlIsIgnoredWithoutAnAnimation) {
  SetBonePose(skeleton.bones[0], AxisAngle(1, 0, 0, 0.5f));
  const Skeleton before = skeleton;
  panel.sliderMoved(20);
  panel.addPressed(skeleton);
  panel.removePressed(skeleton);
  panel.previousPressed(skeleton);
  panel.nextPressed(skeleton);
  panel.playPressed();
  panel.inversePressed(skeleton);
  panel.windowForwardPressed();
  panel.windowBackPressed();
  EXPECT_FALSE(state.playing);
  EXPECT_EQ(state.timelineStart, 0);
  EXPECT_EQ(view.timeText, "");
  EXPECT_EQ(view.labels, (std::vector<std::string>{"0", "30", "60"}));
  EXPECT_EQ(skeleton.bones[0].orientation, before.bones[0].orientation);
  EXPECT_TRUE(state.animations.empty());
}

TEST_F(PanelFixture, AddAsksBeforeOverwritingAndCancelKeepsTheKeyframe) {
  AddAnimationCommand(panel, skeleton);
  AddAt(10, 0.1f);
  AddAt(30, 0.3f);
  EXPECT_TRUE(view.boxes.empty());
  view.answers = {false};
  AddAt(10, 0.9f);
  EXPECT_EQ(view.boxes.back(), "Attention? There's Already Exist Keyframe,Overwrite?");
  ExpectNear(Current().keys()[0].rotations[1], AxisAngle(0, 1, 0, 0.1f));
  view.answers = {true};
  AddAt(10, 0.9f);
  EXPECT_EQ(KeyTimes(Current()), (std::vector<int>{10, 30}));
  ExpectNear(Current().keys()[0].rotations[1], AxisAngle(0, 1, 0, 0.9f));
  EXPECT_EQ(Current().currentKey(), 0);
  EXPECT_EQ(view.position, 10);
}

TEST_F(PanelFixture, AddAndRemoveNeedASkeletonButPrevAndNextDoNot) {
  AddAnimationCommand(panel, skeleton);
  AddAt(0, 0.0f);
  AddAt(20, 0.4f);
  skeleton.bonesLoaded = false;
  AddAt(40, 0.8f);
  panel.removePressed(skeleton);
  EXPECT_EQ(KeyTimes(Current()), (std::vector<int>{0, 20}));
  panel.previousPressed(skeleton);
  EXPECT_EQ(Current().currentKey(), 0);
  EXPECT_EQ(view.position, 0);
  ExpectNear(skeleton.bones[1].poseRotation, D3DXQUATERNION());  // the pose at 0
  skeleton.bonesLoaded = true;
  SetBonePose(skeleton.bones[1], AxisAngle(0, 1, 0, 0.8f));
  panel.removePressed(skeleton);  // no question; the pose stays
  EXPECT_TRUE(view.boxes.empty());
  EXPECT_EQ(KeyTimes(Current()), std::vector<int>{20});
  ExpectNear(skeleton.bones[1].poseRotation, AxisAngle(0, 1, 0, 0.8f));
}

TEST_F(PanelFixture, PrevAndNextRestoreThePoseAndMoveTheSliderButNotTheTimeField) {
  AddAnimationCommand(panel, skeleton);
  AddAt(5, 0.2f);
  AddAt(25, 0.6f);
  view.timeText = "unchanged";
  panel.previousPressed(skeleton);
  EXPECT_EQ(view.position, 5);
  ExpectNear(skeleton.bones[1].poseRotation, AxisAngle(0, 1, 0, 0.2f));
  panel.previousPressed(skeleton);  // no predecessor: nothing
  EXPECT_EQ(Current().currentKey(), 0);
  panel.nextPressed(skeleton);
  EXPECT_EQ(view.position, 25);
  ExpectNear(skeleton.bones[1].poseRotation, AxisAngle(0, 1, 0, 0.6f));
  EXPECT_EQ(view.timeText, "unchanged");
}

TEST_F(PanelFixture, MarkersFollowKeysWindowAndCurrentKeyOnTop) {
  AddAnimationCommand(panel, skeleton);
  AddAt(0, 0);
  AddAt(31, 0);
  AddAt(60, 0);
  panel.previousPressed(skeleton);
  // x = 8 + t × 600 / 60; the current (31) drawn last in red.
  EXPECT_EQ(view.markers, (std::vector<KeyframeMarker>{{8, false}, {318, false}, {608, false}, {318, true}}));
  view.channel = {8, 599};  // truncation: 31 × 599 / 60 = 309.48
  panel.windowForwardPressed();
  EXPECT_EQ(view.markers.front().x, 8 + (-5 * 599) / 60);  // outside the channel, truncated towards zero
  EXPECT_EQ(view.markers.back(), (KeyframeMarker{8 + 26 * 599 / 60, true}));
  Current().RemoveKey(0);
  Current().RemoveKey(0);
  Current().RemoveKey(0);
  panel.refreshMarkers();
  EXPECT_TRUE(view.markers.empty());
}

TEST_F(PanelFixture, WindowButtonsShiftByFiveNeverBelowZero) {
  AddAnimationCommand(panel, skeleton);
  panel.windowBackPressed();
  EXPECT_EQ(state.timelineStart, 0);
  panel.sliderMoved(3);
  for (int i = 0; i < 3; ++i) panel.windowForwardPressed();
  EXPECT_EQ(state.timelineStart, 15);
  EXPECT_EQ(view.rangeMin, 15);
  EXPECT_EQ(view.rangeMax, 75);
  EXPECT_EQ(view.labels, (std::vector<std::string>{"15", "45", "75"}));
  EXPECT_EQ(panel.sliderPosition(), 15);  // the slider is held inside its range
  panel.windowBackPressed();
  EXPECT_EQ(view.labels, (std::vector<std::string>{"10", "40", "70"}));
}

TEST_F(PanelFixture, PlayTogglesOnlyWithTwoKeyframesAndAlwaysResetsTheTime) {
  AddAnimationCommand(panel, skeleton);
  AddAt(10, 0.1f);
  state.currentTime = 17;
  panel.playPressed();
  EXPECT_FALSE(state.playing);
  EXPECT_EQ(state.currentTime, 0);
  EXPECT_EQ(view.timeText, "0");
  AddAt(40, 0.4f);
  for (int i = 0; i < 4; ++i) panel.windowForwardPressed();
  panel.playPressed();
  EXPECT_TRUE(state.playing);
  EXPECT_EQ(view.position, 20);  // 0 is left of the window: the slider's left end
  for (int i = 0; i < 3; ++i) panel.playbackFrame(skeleton);
  EXPECT_EQ(view.timeText, "2");
  EXPECT_EQ(state.currentTime, 3);
  panel.playPressed();
  EXPECT_FALSE(state.playing);
  EXPECT_EQ(state.currentTime, 0);
  EXPECT_EQ(view.timeText, "0");
}

TEST_F(PanelFixture, InverseMirrorsOnlyWithASkeleton) {
  AddAnimationCommand(panel, skeleton);
  SetBonePose(skeleton.bones[0], AxisAngle(0, 1, 0, 0.5f));
  skeleton.bonesLoaded = false;
  panel.inversePressed(skeleton);
  ExpectNear(skeleton.bones[0].poseRotation, AxisAngle(0, 1, 0, 0.5f));
  skeleton.bonesLoaded = true;
  panel.inversePressed(skeleton);
  ExpectNear(skeleton.bones[0].poseRotation, AxisAngle(0, 1, 0, -0.5f));
}
}  // namespace posewright
