// Turning a file's joints and skin weights into the editor's skeleton and
// per-vertex bone slots.
//
// Every joint becomes a bone with the joint's name (spaces and control
// characters become '_'), its bind-pose point as bone_begin and as bone_end
// the point of its child joint (with several children, the one with the most
// joints below it, or the middle of those with equally many), or, for a leaf, a point along its parent's
// direction at the parent's length. The rest rotation turns +Z onto the bone and keeps the joint's bind-pose
// roll. The editor's bone 0 carries no weights, so a root bone (from the origin upwards) is added unless the
// armature has a single top joint, at the origin, that moves no vertex: that joint becomes the root. All
// numbers are rounded to what a bone data file carries, so the skeleton reads back from its .dat exactly.
#pragma once

#include <string>
#include <vector>

#include "fileio/Status.h"
#include "importer/ImportedRig.h"
#include "skeleton/Skeleton.h"
#include "xfile/SkinInfluences.h"

namespace posewright {

struct RigSkeleton {
  /// Bones with rest geometry and rotations, default blending parameters,
  /// partners their own index; no anchors yet; bonesLoaded set.
  Skeleton skeleton;
  /// Per vertex: up to four bones, the strongest of the file's weights,
  /// renormalised.
  std::vector<VertexInfluences> influences;
  /// Bone of each joint.
  std::vector<int32_t> boneOfJoint;
  bool rootAdded = false;
  /// Vertices the file gives more than four bones (only the four strongest kept).
  std::size_t verticesOverFourBones = 0;
  /// Vertices the file gives no weight (they follow the root).
  std::size_t verticesWithoutWeights = 0;
};

/// Longest bone name kept from a file.
inline constexpr std::size_t kMaxImportedNameLength = 64;

/// The bone name for a joint name: a single word, at most
/// kMaxImportedNameLength characters, "Bone<index>" when nothing is left.
std::string BoneNameFor(const std::string& jointName, int32_t index);

/// Builds the skeleton for positions (the merged mesh's vertices). Refused,
/// naming fileName, when the rig has no joint, when no vertex has a weight
/// above 0, and when the bones would number more than 256.
Status BuildRigSkeleton(const ImportedRig& rig, const std::vector<D3DXVECTOR3>& positions,
                        const std::string& fileName, RigSkeleton& out);

/// Pairs left and right bones: bone j is bone i's partner when it mirrors i's
/// begin and end across x = 0 (within a thousandth of the skeleton's size);
/// bones without one (and bones on the mirror plane) are their own partners.
void AssignMirrorPartners(Skeleton& skeleton);
}  // namespace posewright
