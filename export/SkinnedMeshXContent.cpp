#include "export/SkinnedMeshXContent.h"

#include <algorithm>

#include "export/PointReps.h"
#include "export/XAnimationKeys.h"

namespace posewright {

namespace {
bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Pre-order walk of the bones from the root: a bone's children are the later
// bones naming it as parent, in index order. Iterative, so deep chains cannot
// exhaust the stack.
std::vector<XFrameStep> FrameOrder(const std::vector<Bone>& bones) {
  const int32_t n = static_cast<int32_t>(bones.size());
  std::vector<std::vector<int32_t>> children(bones.size());
  for (int32_t b = 1; b < n; ++b) {
    const int32_t parent = bones[static_cast<std::size_t>(b)].parentId;
    if (parent >= 0 && parent < b) children[static_cast<std::size_t>(parent)].push_back(b);
  }
  std::vector<XFrameStep> steps;
  if (n == 0) return steps;
  struct Pending {
    int32_t bone;
    int32_t depth;
    std::size_t nextChild;
  };
  std::vector<Pending> stack{{0, 0, 0}};
  steps.push_back({0, 0, true});
  while (!stack.empty()) {
    Pending& top = stack.back();
    const std::vector<int32_t>& kids = children[static_cast<std::size_t>(top.bone)];
    if (top.nextChild < kids.size()) {
      const int32_t child = kids[top.nextChild++];
      const int32_t depth = top.depth + 1;
      steps.push_back({child, depth, true});
      stack.push_back({child, depth, 0});
    } else {
      steps.push_back({top.bone, top.depth, false});
      stack.pop_back();
    }
  }
  return steps;
}
}  // namespace

std::string XFrameName(std::string_view name) {
  std::size_t start = 0;
  while (start < name.size() && IsWhiteSpace(name[start])) ++start;
  std::size_t end = start;
  while (end < name.size() && end - start < kMaxNameLength && !IsWhiteSpace(name[end])) ++end;
  return std::string(name.substr(start, end - start));
}

Status CheckSkinnedMeshXExport(const ExportOptions& options, const SkinnedModel& model,
                               const Animation* animation) {
  if (!model.meshLoaded || model.skinnedMesh.vertices.empty() || model.skinnedMesh.faceCount() == 0 ||
      !model.bonesLoaded() || model.skeleton.bones.empty()) {
    return Status::Error("Mesh Save Error", "there is no bound mesh with a skeleton to export");
  }
  if (animation != nullptr) {
    const uint64_t keys = MatrixKeyCount(*animation, options) * model.skeleton.bones.size();
    if (keys > kMaxExportedKeys) {
      return Status::Error("Mesh Save Error", "the animation would need " + std::to_string(keys) +
                                                  " keys; at most " + std::to_string(kMaxExportedKeys) +
                                                  " can be exported");
    }
  }
  return Status::Ok();
}

std::vector<uint32_t> FaceMaterialIds(const SkinnedModel& model) {
  const std::size_t faceCount = model.skinnedMesh.faceCount();
  const std::vector<uint32_t>& own = model.skinnedMesh.faceAttributes;
  std::vector<uint32_t> ids(faceCount);
  for (std::size_t f = 0; f < faceCount; ++f) {
    ids[f] = f < own.size() ? own[f] : 0;
  }
  for (const D3DXATTRIBUTERANGE& range : model.attributeTable) {
    const uint64_t end = std::min<uint64_t>(uint64_t{range.FaceStart} + range.FaceCount, faceCount);
    for (uint64_t f = range.FaceStart; f < end; ++f) {
      ids[static_cast<std::size_t>(f)] = range.AttribId;
    }
  }
  return ids;
}

std::vector<std::vector<XSkinInfluence>> BuildInfluenceLists(const std::vector<SkinVertex>& vertices,
                                                             int32_t boneCount) {
  std::vector<std::vector<XSkinInfluence>> lists(static_cast<std::size_t>(std::max(boneCount, 0)));
  for (std::size_t v = 0; v < vertices.size(); ++v) {
    const SkinVertex& vertex = vertices[v];
    for (int slot = 0; slot < 4; ++slot) {
      const uint8_t bone = vertex.boneIndex(slot);
      if (bone == 0 || bone >= lists.size()) continue;
      const float weight = slot < 3 ? vertex.blendWeights[slot] : vertex.lastWeight();
      lists[bone].push_back({static_cast<uint32_t>(v), weight});
    }
  }
  return lists;
}

SkinnedMeshXContent BuildSkinnedMeshXContent(const SkinnedModel& model) {
  SkinnedMeshXContent content;
  const std::vector<Bone>& bones = model.skeleton.bones;
  content.frameNames.reserve(bones.size());
  for (const Bone& bone : bones) {
    content.frameNames.push_back(XFrameName(bone.name));
  }
  content.faceMaterials = FaceMaterialIds(model);
  content.pointReps = ConvertAdjacencyToPointReps(
      model.skinnedMesh.indices, model.skinnedMesh.vertices.size(), model.adjacency, model.attributeTable);
  content.pointCount = CountPoints(content.pointReps);
  content.influences = BuildInfluenceLists(model.skinnedMesh.vertices, model.skeleton.boneCount());
  for (const std::vector<XSkinInfluence>& list : content.influences) {
    if (!list.empty()) ++content.skinWeightsCount;
  }
  content.frames = FrameOrder(bones);
  return content;
}
}  // namespace posewright
