#include "editor/panels/BoneControl.h"

namespace posewright {

namespace {
const D3DXVECTOR3 kUnitAxes[3] = {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
}  // namespace

void BoneControl::sliderMoved(Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem selectedItem,
                              int axis, int32_t position) {
  if (!skeleton.bonesLoaded || skeleton.bones.empty() || axis < 0 || axis > 2) {
    return;
  }
  const int32_t angle = position - kBoneSliderCentre;
  const int32_t delta = angle - sliderAngles_[static_cast<std::size_t>(axis)];
  const float radians = static_cast<float>(delta) * 3.1415927f / 180.0f;
  Bone& bone = skeleton.bones[static_cast<std::size_t>(BoneIndexOfItem(skeleton, items, selectedItem))];
  // The bone's own axis as it is now oriented, in its parent's frame.
  const D3DXVECTOR3 ownAxis = RotateVectorByQuaternion(kUnitAxes[axis], bone.orientation);
  D3DXQUATERNION turn;
  D3DXQuaternionRotationAxis(&turn, &ownAxis, radians);
  D3DXQUATERNION pose;
  D3DXQuaternionMultiply(&pose, &bone.poseRotation, &turn);
  SetBonePose(bone, pose);
  sliderAngles_[static_cast<std::size_t>(axis)] = angle;
}

void BoneControl::recentre() {
  for (int k = 0; k < 3; ++k) {
    sliderAngles_[static_cast<std::size_t>(k)] = 0;
    view_.setSliderPosition(k, kBoneSliderCentre);
  }
}

void BoneControl::okPressed(const Skeleton& skeleton) {
  if (skeleton.bonesLoaded) {
    recentre();
  }
}

void BoneControl::hidePressed() {
  view_.hidePanel();
}

void BoneControl::resetPressed(Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem selectedItem) {
  if (!skeleton.bonesLoaded || skeleton.bones.empty()) {
    return;
  }
  ResetBonePose(skeleton.bones[static_cast<std::size_t>(BoneIndexOfItem(skeleton, items, selectedItem))]);
}

void BoneControl::selectionChanged() {
  recentre();
}
}  // namespace posewright
