#include "skeleton/Bone.h"

namespace posewright {

void SetBonePose(Bone& bone, const D3DXQUATERNION& poseRotation) {
  bone.poseRotation = poseRotation;
  D3DXQuaternionMultiply(&bone.orientation, &bone.restRotation, &bone.poseRotation);
}

void SetBoneOrientation(Bone& bone, const D3DXQUATERNION& orientation) {
  bone.orientation = orientation;
  D3DXQuaternionMultiply(&bone.poseRotation, &bone.restRotationInverse, &bone.orientation);
}

void ResetBonePose(Bone& bone) {
  bone.orientation = bone.restRotation;
  bone.poseRotation = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f);
}
}  // namespace posewright
