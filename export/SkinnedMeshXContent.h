// What the .x export derives from the model before writing: the names the
// file uses for the bones, the material of every face, the point
// representatives, each bone's skin influences and the frame hierarchy order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "anim/Animation.h"
#include "export/ExportOptions.h"
#include "fileio/Status.h"
#include "model/SkinnedModel.h"

namespace posewright {

/// One vertex a bone moves, with its weight.
struct XSkinInfluence {
  uint32_t vertex = 0;
  float weight = 0.0f;
};

/// One step of the frame hierarchy in file order: a frame opens (its header,
/// transform and, for the root, the mesh reference) or closes.
struct XFrameStep {
  int32_t bone = 0;
  /// Nesting depth: the frame's lines are indented by this many spaces.
  int32_t depth = 0;
  bool open = true;
};

struct SkinnedMeshXContent {
  /// The written name of every bone.
  std::vector<std::string> frameNames;
  /// The material id of every face, in face order.
  std::vector<uint32_t> faceMaterials;
  /// The point representative of every vertex, and how many vertices represent themselves.
  std::vector<uint32_t> pointReps;
  uint32_t pointCount = 0;
  /// Per bone, its influences; the root's list is always empty.
  std::vector<std::vector<XSkinInfluence>> influences;
  /// Bones that get a SkinWeights object: those with at least one influence.
  int32_t skinWeightsCount = 0;
  /// The frame hierarchy from the root, children in ascending index order.
  std::vector<XFrameStep> frames;
};

/// Most matrix keys (over all bones) one export writes; a longer all-frames
/// export is refused rather than exhausting memory and disk.
inline constexpr uint64_t kMaxExportedKeys = uint64_t{1} << 24;

/// A bone's name as the file writes it: leading white space skipped, cut at
/// the next white space, at most 255 characters.
std::string XFrameName(std::string_view name);

/// Refuses, with "Mesh Save Error" and a reason, a model without a bound mesh
/// (vertices and faces) or without a skeleton, and an all-frames animation
/// longer than kMaxExportedKeys keys in total. animation may be null.
Status CheckSkinnedMeshXExport(const ExportOptions& options, const SkinnedModel& model,
                               const Animation* animation);

/// The material id of every face: each attribute range gives its faces its
/// id; a face no range covers keeps its own faceAttributes entry (0 without one).
std::vector<uint32_t> FaceMaterialIds(const SkinnedModel& model);

/// The influences of every bone: vertices in ascending order, within a vertex
/// slots 0 to 3, one pair per slot naming the bone; slots 0–2 weigh their
/// blend weight, slot 3 weighs 1 − (w0 + w1 + w2). Weights of 0 are kept. Bone
/// index 0 marks an empty slot, so bone 0 gets none.
std::vector<std::vector<XSkinInfluence>> BuildInfluenceLists(const std::vector<SkinVertex>& vertices,
                                                             int32_t boneCount);

/// Everything above for a model CheckSkinnedMeshXExport accepted.
SkinnedMeshXContent BuildSkinnedMeshXContent(const SkinnedModel& model);
}  // namespace posewright
