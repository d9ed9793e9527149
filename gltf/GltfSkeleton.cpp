#include "gltf/GltfSkeleton.h"

namespace posewright {

namespace gltf {

std::vector<Rotation> RestRotations(const Skeleton& skeleton) {
  std::vector<Rotation> rest;
  rest.reserve(skeleton.bones.size());
  for (const Bone& bone : skeleton.bones) rest.push_back(Normalized(ToGltfRotation(bone.restRotation)));
  return rest;
}

std::vector<BoneNode> BuildBoneNodes(const Skeleton& skeleton) {
  const std::vector<Rotation> rest = RestRotations(skeleton);
  std::vector<BoneNode> nodes(skeleton.bones.size());
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const Bone& bone = skeleton.bones[i];
    const Point joint = ToGltfPoint(bone.begin);
    BoneNode& node = nodes[i];
    if (i == 0) {
      node.translation = joint;
      node.rotation = rest[0];
    } else {
      const auto p = static_cast<std::size_t>(bone.parentId);
      const Point parentJoint = ToGltfPoint(skeleton.bones[p].begin);
      const Rotation toParent = Inverse(rest[p]);
      node.translation =
          Rotate(toParent, {joint.x - parentJoint.x, joint.y - parentJoint.y, joint.z - parentJoint.z});
      node.rotation = Normalized(Compose(toParent, rest[i]));
    }
    // Rest transform x → W x + joint; its inverse x → Wᵀ x − Wᵀ joint.
    const Rotation back = Inverse(rest[i]);
    const Point ex = Rotate(back, {1, 0, 0}), ey = Rotate(back, {0, 1, 0}), ez = Rotate(back, {0, 0, 1});
    const Point t = Rotate(back, joint);
    node.inverseBindMatrix = {ex.x, ex.y, ex.z, 0.0, ey.x, ey.y, ey.z, 0.0,
                              ez.x, ez.y, ez.z, 0.0, -t.x, -t.y, -t.z, 1.0};
  }
  return nodes;
}

Rotation NodeRotationForPose(const Skeleton& skeleton, const std::vector<Rotation>& restRotations, int32_t b,
                             const D3DXQUATERNION& pose) {
  const auto i = static_cast<std::size_t>(b);
  const Rotation posed = Compose(Normalized(ToGltfRotation(pose)), restRotations[i]);
  if (b == 0) return Normalized(posed);
  const auto p = static_cast<std::size_t>(skeleton.bones[i].parentId);
  return Normalized(Compose(Inverse(restRotations[p]), posed));
}

}  // namespace gltf
}  // namespace posewright
