#include <gtest/gtest.h>

#include <map>

#include "editor/panels/BoneControl.h"
#include "support/MathMatchers.h"

namespace posewright {

namespace {
constexpr float kQuarter = 1.5707964f;

struct ScriptedBoneControlView : BoneControlView {
  std::map<int, int32_t> positions;
  bool hidden = false;
  void setSliderPosition(int axis, int32_t position) override { positions[axis] = position; }
  void hidePanel() override { hidden = true; }
};

// Two bones; the arm's rest frame has its own +Z along model +X, so its own
// axes differ from the model axes:
//
//   Root(0) (0,0,0), item 100
//   └── Arm(1) (0,0,0) → (1,0,0), rest = quarter turn about +Y, item 200
Skeleton MakeSkeleton() {
  Skeleton s;
  for (int i = 0; i < 2; ++i) {
    Bone b;
    b.name = i == 0 ? "Root" : "Arm";
    b.end = i == 0 ? D3DXVECTOR3(0, 1, 0) : D3DXVECTOR3(1, 0, 0);
    b.restRotation = i == 0 ? D3DXQUATERNION() : AxisAngle(0, 1, 0, kQuarter);
    D3DXQuaternionInverse(&b.restRotationInverse, &b.restRotation);
    b.orientation = b.restRotation;
    s.bones.push_back(b);
  }
  s.resizePerBoneArrays();
  s.bonesLoaded = true;
  return s;
}

// A turn by angle about bone b's own axis as it is at rest.
D3DXQUATERNION OwnTurn(const Bone& b, D3DXVECTOR3 axis, float angle) {
  const D3DXVECTOR3 own = RotateVectorByQuaternion(axis, b.restRotation);
  return AxisAngle(own.x, own.y, own.z, angle);
}

struct BoneControlFixture : ::testing::Test {
  ScriptedBoneControlView view;
  std::array<int32_t, 3> sliderAngles{0, 0, 0};
  BoneControl control{sliderAngles, view};
  Skeleton skeleton = MakeSkeleton();
  /// The bone list entries of the root and the arm.
  BoneItemMap items = {100, 200};
  Bone& Arm() { return skeleton.bones[1]; }
  void Move(int axis, int position) { control.sliderMoved(skeleton, items, 200, axis, position); }
};
}  // namespace

TEST_F(BoneControlFixture, YSliderThereAndBackTurnsAboutTheOwnAxisAndReturnsToRest) {
  Move(1, 270);
  ExpectNear(Arm().poseRotation, OwnTurn(Arm(), {0, 1, 0}, kQuarter));
  D3DXQUATERNION orientation;
  D3DXQuaternionMultiply(&orientation, &Arm().restRotation, &Arm().poseRotation);
  ExpectNear(Arm().orientation, orientation);
  EXPECT_EQ(control.sliderAngles()[1], 90);
  Move(1, 270);  // the same position again turns by nothing
  ExpectNear(Arm().poseRotation, OwnTurn(Arm(), {0, 1, 0}, kQuarter));
  Move(1, 180);
  ExpectNear(Arm().poseRotation, D3DXQUATERNION());
  ExpectNear(Arm().orientation, Arm().restRotation);
}

TEST_F(BoneControlFixture, XAxisFollowsTheBoneAsItIsNowOriented) {
  // After a quarter turn about its own Y, the own X axis has moved: a later X
  // move turns about the moved axis, not the rest one.
  Move(1, 270);
  const D3DXVECTOR3 movedX = RotateVectorByQuaternion({1, 0, 0}, Arm().orientation);
  const D3DXQUATERNION before = Arm().poseRotation;
  Move(0, 200);
  D3DXQUATERNION expected;
  const D3DXQUATERNION turn = AxisAngle(movedX.x, movedX.y, movedX.z, 20.0f * 3.1415927f / 180.0f);
  D3DXQuaternionMultiply(&expected, &before, &turn);
  ExpectNear(Arm().poseRotation, expected);
}

TEST_F(BoneControlFixture, OkRecentresSoTheNextMoveAccumulates) {
  Move(0, 270);
  control.okPressed(skeleton);
  EXPECT_EQ(view.positions, (std::map<int, int32_t>{{0, 180}, {1, 180}, {2, 180}}));
  EXPECT_EQ(control.sliderAngles()[0], 0);
  Move(0, 270);
  ExpectNear(Arm().poseRotation, OwnTurn(Arm(), {1, 0, 0}, 2 * kQuarter));
}

TEST_F(BoneControlFixture, ResetKeepsTheSliderAngles) {
  Move(2, 270);
  control.resetPressed(skeleton, items, 200);
  EXPECT_EQ(Arm().poseRotation, D3DXQUATERNION());
  EXPECT_EQ(control.sliderAngles()[2], 90);
  Move(2, 180);
  ExpectNear(Arm().poseRotation, OwnTurn(Arm(), {0, 0, 1}, -kQuarter));
}

TEST_F(BoneControlFixture, SelectionChangeRecentresAndUnknownItemsMeanTheLastBone) {
  Move(1, 300);
  control.selectionChanged();
  EXPECT_EQ(control.sliderAngles(), (std::array<int32_t, 3>{0, 0, 0}));
  EXPECT_EQ(view.positions[1], 180);
  control.sliderMoved(skeleton, items, 100, 1, 190);  // the root
  EXPECT_NE(skeleton.bones[0].poseRotation, D3DXQUATERNION());
  ResetBonePose(Arm());
  control.sliderMoved(skeleton, items, 0, 1, 200);  // nothing selected: the last bone
  ExpectNear(Arm().poseRotation, OwnTurn(Arm(), {0, 1, 0}, 10.0f * 3.1415927f / 180.0f));
}

TEST_F(BoneControlFixture, EditingIsIgnoredWithoutASkeletonButHideStillHides) {
  skeleton.bonesLoaded = false;
  Move(0, 270);
  control.okPressed(skeleton);
  SetBonePose(Arm(), AxisAngle(1, 0, 0, 0.2f));
  control.resetPressed(skeleton, items, 200);
  ExpectNear(Arm().poseRotation, AxisAngle(1, 0, 0, 0.2f));
  EXPECT_EQ(control.sliderAngles()[0], 0);
  EXPECT_TRUE(view.positions.empty());
  Skeleton empty;
  control.sliderMoved(empty, {}, 0, 0, 300);  // no bones at all
  EXPECT_FALSE(view.hidden);
  // A panel opened before any bone data can still be put away.
  control.hidePressed();
  EXPECT_TRUE(view.hidden);
}
}  // namespace posewright
