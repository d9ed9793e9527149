// The bone hierarchy: a flat array with the root at index 0 and every parent
// before its children, the anchors, the per-frame pose outputs and the
// blending parameters.
#pragma once

#include <cstdint>
#include <vector>

#include "math/Matrix.h"
#include "skeleton/BlendingParams.h"
#include "skeleton/Bone.h"
#include "skeleton/BoneAnchor.h"

namespace posewright {

struct Skeleton {
  std::vector<Bone> bones;
  /// One per bone; the root's is empty.
  std::vector<BoneAnchor> anchors;
  /// Posed model-space joint of each bone (ComputePose output).
  std::vector<D3DXVECTOR3> jointPositions;
  /// Each bone's pose followed by all its ancestors' poses (ComputePose output).
  std::vector<D3DXQUATERNION> jointRotations;
  /// Maps a rest-pose model-space point to its posed position (ComputePose output).
  std::vector<D3DXMATRIX> skinMatrices;
  /// R and H of each bone.
  std::vector<BlendingParams> blendParams;
  /// False until a bone data read succeeds.
  bool bonesLoaded = false;

  int32_t boneCount() const { return static_cast<int32_t>(bones.size()); }

  /// Sizes every per-bone array to the bone count: identity skin matrices
  /// and default blending parameters for new entries.
  void resizePerBoneArrays();

  /// Releases everything: no bones, bonesLoaded false.
  void clear();
};

/// With p = (v, 0): the vector part of Multiply(Inverse(q), Multiply(p, q)).
/// For a unit q this equals v × RotationQuaternion(q).
D3DXVECTOR3 RotateVectorByQuaternion(const D3DXVECTOR3& v, const D3DXQUATERNION& q);

/// Fills jointPositions, jointRotations and skinMatrices from every bone's begin,
/// parentId and poseRotation, parents first. Sizes the output arrays if needed.
/// Requires 0 <= parentId < i for every bone i >= 1.
void ComputePose(Skeleton& skeleton);

/// Left-right mirror of the pose about the plane x = 0. Each bone takes its
/// partner's mirrored orientation (read before any bone changes). A partner index
/// outside the skeleton mirrors the bone in place.
void MirrorPose(Skeleton& skeleton);

/// World matrix of bone b's figure: Scaling(L) × RotationQuaternion(restRotation)
/// × Translation(begin) × skinMatrices[b], with L = |end − begin|.
D3DXMATRIX BoneDisplayTransform(const Skeleton& skeleton, int32_t b);
}  // namespace posewright
