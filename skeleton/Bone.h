// One bone of the skeleton: its rest geometry and its current pose.
#pragma once

#include <cstdint>
#include <string>

#include "math/Quaternion.h"
#include "math/Vector3.h"

namespace posewright {

/// Longest bone or animation name the files and panels carry (without the NUL).
inline constexpr std::size_t kMaxNameLength = 255;

struct Bone {
  /// Single-word name as read from the bone data file; bone 0 is "Root".
  std::string name;
  /// Index of the parent bone; 0 for the root, otherwise 0 <= parentId < own index.
  int32_t parentId = 0;
  /// Left-right mirror partner ("Symmetric Bone ID"); the bone's own index when it has none.
  /// May be out of range when set from a blending parameters file.
  int32_t symmetricId = 0;
  /// Rest-pose joint point (the point the bone turns about), model space.
  D3DXVECTOR3 begin;
  /// Rest-pose tip point, model space.
  D3DXVECTOR3 end;
  /// Rest orientation: turns the bone's own frame (+Z from begin towards end) into model space.
  D3DXQUATERNION restRotation;
  /// Inverse of restRotation, computed when the bone is read.
  D3DXQUATERNION restRotationInverse;
  /// Pose relative to the rest pose, in model-space axes, applied about begin.
  D3DXQUATERNION poseRotation;
  /// Current orientation = Multiply(restRotation, poseRotation).
  D3DXQUATERNION orientation;
};

/// Sets poseRotation from outside (keyframes, playback, Reset) and restores the
/// invariant orientation = restRotation followed by poseRotation.
void SetBonePose(Bone& bone, const D3DXQUATERNION& poseRotation);

/// Sets orientation (mirror, Bone Control sliders) and restores the invariant
/// poseRotation = restRotationInverse followed by orientation.
void SetBoneOrientation(Bone& bone, const D3DXQUATERNION& orientation);

/// Back to the rest pose: orientation = restRotation, poseRotation = identity.
void ResetBonePose(Bone& bone);
}  // namespace posewright
