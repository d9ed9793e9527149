// The skeleton as glTF nodes: each bone's rest translation and rotation
// relative to its parent, its inverse bind matrix, and the node rotation that
// shows a pose.
//
// A bone's node frame sits at its joint point (begin) turned by its rest
// rotation, so viewers draw the bones along their length. The editor poses a
// bone by a rotation P in model-space axes about its joint, after its
// ancestors' poses; with W the rest rotations (glTF axes) the node's rotation
// for pose P is W(parent)⁻¹ · P · W(bone) (P · W(root) for the root). Fixed
// rotations on either side keep a spherical interpolation spherical, so
// interpolating node rotations moves the skin as interpolating the poses does.
#pragma once

#include <array>
#include <vector>

#include "gltf/GltfAxes.h"
#include "skeleton/Skeleton.h"

namespace posewright {

namespace gltf {

struct BoneNode {
  /// Rest translation and rotation relative to the parent node (the root's:
  /// relative to the model's origin).
  Point translation;
  Rotation rotation;
  /// Column-major inverse of the bone's rest transform in model space.
  std::array<double, 16> inverseBindMatrix{};
};

/// One node per bone, in bone order. A rest rotation without a usable length
/// counts as the identity.
std::vector<BoneNode> BuildBoneNodes(const Skeleton& skeleton);

/// Each bone's rest rotation in glTF axes, normalised (the W above).
std::vector<Rotation> RestRotations(const Skeleton& skeleton);

/// The node rotation of bone b for the editor pose rotation pose (the
/// bone's poseRotation), given restRotations from RestRotations. Unit length.
Rotation NodeRotationForPose(const Skeleton& skeleton, const std::vector<Rotation>& restRotations, int32_t b,
                             const D3DXQUATERNION& pose);

}  // namespace gltf
}  // namespace posewright
