#include <gtest/gtest.h>

#include <numbers>

#include "skeleton/Skeleton.h"
#include "support/MathMatchers.h"

namespace posewright {

namespace {

Bone MakeBone(const char* name, int parent, D3DXVECTOR3 begin, D3DXVECTOR3 end, D3DXQUATERNION rest = {}) {
  Bone b;
  b.name = name;
  b.parentId = parent;
  b.begin = begin;
  b.end = end;
  b.restRotation = rest;
  D3DXQuaternionInverse(&b.restRotationInverse, &rest);
  b.orientation = rest;
  return b;
}

// An arm along +X from a root at the origin:
//
//   Root(0) (0,0,0)
//   └── Upper(1) (1,0,0) → (3,0,0)
//       └── Lower(2) (3,0,0) → (5,0,0)
//           └── Hand(3) (5,0,0) → (6,0,0)
Skeleton MakeArm() {
  Skeleton s;
  const D3DXQUATERNION alongX = AxisAngle(0, 1, 0, kHalfPi);  // +Z onto +X
  s.bones.push_back(MakeBone("Root", 0, {0, 0, 0}, {0, 1, 0}));
  s.bones.push_back(MakeBone("Upper", 0, {1, 0, 0}, {3, 0, 0}, alongX));
  s.bones.push_back(MakeBone("Lower", 1, {3, 0, 0}, {5, 0, 0}, alongX));
  s.bones.push_back(MakeBone("Hand", 2, {5, 0, 0}, {6, 0, 0}, alongX));
  for (int i = 0; i < 4; ++i) s.bones[i].symmetricId = i;
  s.resizePerBoneArrays();
  return s;
}

D3DXVECTOR3 Skin(const Skeleton& s, int bone, D3DXVECTOR3 p) {
  D3DXVec3TransformCoord(&p, &p, &s.skinMatrices[bone]);
  return p;
}

TEST(ComputePose, RestPoseGivesJointsAtBeginAndIdentitySkins) {
  Skeleton s = MakeArm();
  ComputePose(s);
  for (int i = 0; i < s.boneCount(); ++i) {
    ExpectNear(s.jointPositions[i], s.bones[i].begin);
    ExpectNear(s.skinMatrices[i], Identity());
  }
}

TEST(ComputePose, RootQuarterTurnCarriesEveryJointAboutRootBegin) {
  Skeleton s = MakeArm();
  s.bones[0].begin = {0, 0, 1};  // turn about a point off the origin
  const D3DXQUATERNION turn = AxisAngle(0, 1, 0, kHalfPi);
  SetBonePose(s.bones[0], turn);
  ComputePose(s);
  for (int i = 0; i < s.boneCount(); ++i) {
    ExpectNear(s.jointRotations[i], turn);
  }
  // (x, 0, 0) about (0, 0, 1) by a left-handed quarter turn about +Y: offset
  // (x, 0, −1) goes to (−1, 0, −x).
  ExpectNear(s.jointPositions[1], D3DXVECTOR3(-1, 0, 0));
  ExpectNear(s.jointPositions[3], D3DXVECTOR3(-1, 0, -4));
  ExpectNear(Skin(s, 3, {6, 0, 0}), D3DXVECTOR3(-1, 0, -5));
}

TEST(ComputePose, ChildJointIgnoresItsOwnPose) {
  Skeleton s = MakeArm();
  SetBonePose(s.bones[1], AxisAngle(0, 0, 1, 0.7f));
  ComputePose(s);
  const D3DXVECTOR3 before = s.jointPositions[2];
  SetBonePose(s.bones[2], AxisAngle(1, 1, 0, 1.3f));
  ComputePose(s);
  ExpectNear(s.jointPositions[2], before, 0.0f);
  // The joint of the bone itself stays fixed under its own skin matrix.
  ExpectNear(Skin(s, 2, s.bones[2].begin), s.jointPositions[2]);
}

TEST(ComputePose, SkinMatrixEqualsPerBoneProductForm) {
  Skeleton s = MakeArm();
  SetBonePose(s.bones[0], AxisAngle(1, 0, 0, 0.3f));
  SetBonePose(s.bones[1], AxisAngle(0, 0, 1, 0.9f));
  SetBonePose(s.bones[2], AxisAngle(0, 1, 1, -0.5f));
  SetBonePose(s.bones[3], AxisAngle(1, 2, 3, 1.7f));
  ComputePose(s);
  std::vector<D3DXMATRIX> expected(4);
  for (int i = 0; i < 4; ++i) {
    const Bone& b = s.bones[i];
    D3DXMATRIX toJoint, rot, back, m;
    D3DXMatrixTranslation(&toJoint, -b.begin.x, -b.begin.y, -b.begin.z);
    D3DXMatrixRotationQuaternion(&rot, &b.poseRotation);
    D3DXMatrixTranslation(&back, b.begin.x, b.begin.y, b.begin.z);
    D3DXMatrixMultiply(&m, &toJoint, &rot);
    D3DXMatrixMultiply(&m, &m, &back);
    if (i > 0) D3DXMatrixMultiply(&m, &m, &expected[b.parentId]);
    expected[i] = m;
    ExpectNear(s.skinMatrices[i], expected[i], 2e-5f);
  }
}

TEST(RotateVector, QuarterTurnAboutYMatchesMatrixPath) {
  const D3DXQUATERNION q = AxisAngle(0, 1, 0, kHalfPi);
  ExpectNear(RotateVectorByQuaternion({0, 0, 1}, q), D3DXVECTOR3(1, 0, 0), 1e-6f);
  D3DXMATRIX m;
  D3DXMatrixRotationY(&m, kHalfPi);
  D3DXVECTOR3 v(0.3f, -2, 5), viaMatrix;
  D3DXVec3TransformCoord(&viaMatrix, &v, &m);
  ExpectNear(RotateVectorByQuaternion(v, q), viaMatrix, 1e-5f);
}

// A pair of arms mirrored across x = 0:
//
//   Root(0)
//   ├── Left(1)   partner 2
//   ├── Right(2)  partner 1
//   └── Head(3)   partner 3 (itself)
Skeleton MakePair() {
  Skeleton s;
  s.bones.push_back(MakeBone("Root", 0, {0, 0, 0}, {0, 1, 0}));
  s.bones.push_back(MakeBone("Left", 0, {-1, 0, 0}, {-2, 0, 0}, AxisAngle(0, 1, 0, -kHalfPi)));
  s.bones.push_back(MakeBone("Right", 0, {1, 0, 0}, {2, 0, 0}, AxisAngle(0, 1, 0, kHalfPi)));
  s.bones.push_back(MakeBone("Head", 0, {0, 1, 0}, {0, 2, 0}, AxisAngle(1, 0, 0, -kHalfPi)));
  s.bones[0].symmetricId = 0;
  s.bones[1].symmetricId = 2;
  s.bones[2].symmetricId = 1;
  s.bones[3].symmetricId = 3;
  s.resizePerBoneArrays();
  return s;
}

void ExpectInvariant(const Bone& b) {
  D3DXQUATERNION o;
  D3DXQuaternionMultiply(&o, &b.restRotation, &b.poseRotation);
  ExpectNear(o, b.orientation, 1e-5f);
}

TEST(MirrorPose, PairSwapReadsOldValuesAndKeepsInvariant) {
  Skeleton s = MakePair();
  SetBonePose(s.bones[1], AxisAngle(0, 0, 1, 0.8f));
  SetBonePose(s.bones[2], AxisAngle(1, 0, 0, 0.3f));
  const D3DXQUATERNION left = s.bones[1].orientation;
  const D3DXQUATERNION right = s.bones[2].orientation;
  MirrorPose(s);
  ExpectNear(s.bones[1].orientation, D3DXQUATERNION(right.x, -right.y, -right.z, right.w));
  ExpectNear(s.bones[2].orientation, D3DXQUATERNION(left.x, -left.y, -left.z, left.w));
  for (const Bone& b : s.bones) ExpectInvariant(b);
}

TEST(MirrorPose, TwiceRestoresEveryPose) {
  Skeleton s = MakePair();
  SetBonePose(s.bones[0], AxisAngle(0, 1, 0, 0.2f));
  SetBonePose(s.bones[1], AxisAngle(0, 0, 1, 0.8f));
  SetBonePose(s.bones[2], AxisAngle(1, 0, 0, 0.3f));
  SetBonePose(s.bones[3], AxisAngle(1, 1, 1, -0.6f));
  const Skeleton before = s;
  MirrorPose(s);
  MirrorPose(s);
  for (int i = 0; i < s.boneCount(); ++i) {
    ExpectNear(s.bones[i].orientation, before.bones[i].orientation);
    ExpectNear(s.bones[i].poseRotation, before.bones[i].poseRotation);
  }
}

TEST(MirrorPose, MirroredPoseMovesSkinSymmetrically) {
  Skeleton s = MakePair();
  SetBonePose(s.bones[1], AxisAngle(0.2f, 0.5f, 1, 0.8f));
  MirrorPose(s);  // the right arm now holds the left arm's mirrored pose
  ComputePose(s);
  Skeleton original = MakePair();
  SetBonePose(original.bones[1], AxisAngle(0.2f, 0.5f, 1, 0.8f));
  ComputePose(original);
  const D3DXVECTOR3 leftTip = Skin(original, 1, {-2, 0.5f, 0.3f});
  const D3DXVECTOR3 rightTip = Skin(s, 2, {2, 0.5f, 0.3f});
  ExpectNear(rightTip, D3DXVECTOR3(-leftTip.x, leftTip.y, leftTip.z), 1e-5f);
}

TEST(MirrorPose, PartnerOutOfRangeMirrorsInPlace) {
  Skeleton s = MakePair();
  s.bones[1].symmetricId = 99;
  s.bones[2].symmetricId = -5;
  SetBonePose(s.bones[1], AxisAngle(0, 0, 1, 0.8f));
  const D3DXQUATERNION o = s.bones[1].orientation;
  MirrorPose(s);
  ExpectNear(s.bones[1].orientation, D3DXQUATERNION(o.x, -o.y, -o.z, o.w));
}

TEST(ResetBonePose, RestoresRestOrientation) {
  Skeleton s = MakeArm();
  SetBonePose(s.bones[2], AxisAngle(1, 0, 0, 1.0f));
  ResetBonePose(s.bones[2]);
  EXPECT_EQ(s.bones[2].orientation, s.bones[2].restRotation);
  EXPECT_EQ(s.bones[2].poseRotation, D3DXQUATERNION(0, 0, 0, 1));
}

TEST(BoneDisplayTransform, PutsFigureTipAtBoneEndAndFollowsSkin) {
  Skeleton s = MakeArm();
  ComputePose(s);
  const D3DXMATRIX m = BoneDisplayTransform(s, 2);
  D3DXVECTOR3 tip(0, 0, 1), joint(0, 0, 0);
  D3DXVec3TransformCoord(&tip, &tip, &m);
  D3DXVec3TransformCoord(&joint, &joint, &m);
  ExpectNear(tip, s.bones[2].end);
  ExpectNear(joint, s.bones[2].begin);
  SetBonePose(s.bones[1], AxisAngle(0, 1, 0, kHalfPi));
  ComputePose(s);
  const D3DXMATRIX posed = BoneDisplayTransform(s, 2);
  D3DXVECTOR3 posedTip(0, 0, 1);
  D3DXVec3TransformCoord(&posedTip, &posedTip, &posed);
  ExpectNear(posedTip, Skin(s, 2, s.bones[2].end));
}

// A parent that does not come before its bone stops ComputePose where asserts
// are on (debug and sanitizer builds).
TEST(ComputePoseDeathTest, ParentAfterOrAtTheBoneStops) {
#ifdef NDEBUG
  GTEST_SKIP() << "asserts are off in this build";
#else
  for (const int32_t parent : {-1, 2, 3}) {
    Skeleton s = MakeArm();
    s.bones[2].parentId = parent;
    EXPECT_DEATH(ComputePose(s), "parents come first") << "parent " << parent;
  }
#endif
}
}  // namespace
}  // namespace posewright
