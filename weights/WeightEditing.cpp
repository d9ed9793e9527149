#include "weights/WeightEditing.h"

#include <algorithm>

#include "model/SkinnedModel.h"

namespace posewright {

bool MatchesBones(const SkinVertex& vertex, const BoneIndexQuad& indices) {
  BoneIndexQuad held{};
  int heldSum = 0;
  int wantedSum = 0;
  for (int k = 0; k < 4; ++k) {
    held[static_cast<std::size_t>(k)] = vertex.boneIndex(k);
    heldSum += held[static_cast<std::size_t>(k)];
    wantedSum += indices[static_cast<std::size_t>(k)];
  }
  if (heldSum != wantedSum) {
    return false;
  }
  return std::all_of(indices.begin(), indices.end(),
                     [&](uint8_t i) { return std::find(held.begin(), held.end(), i) != held.end(); });
}

namespace {
// Applies keep(flag, matches) to every vertex's flag and rebuilds the list.
template <typename Rule>
void UpdateSelection(SkinnedModel& model, const BoneIndexQuad& indices, Rule rule) {
  VertexSelection& selection = model.selection;
  const std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  selection.selected.resize(vertices.size(), 0);
  for (std::size_t v = 0; v < vertices.size(); ++v) {
    const bool match = MatchesBones(vertices[v], indices);
    selection.selected[v] = rule(selection.selected[v] != 0, match) ? 1 : 0;
  }
  RebuildPointList(selection);
}

uint32_t Pack(const BoneIndexQuad& indices) {
  return static_cast<uint32_t>(indices[0]) | static_cast<uint32_t>(indices[1]) << 8 |
         static_cast<uint32_t>(indices[2]) << 16 | static_cast<uint32_t>(indices[3]) << 24;
}

void Assign(SkinVertex& vertex, uint32_t packed, const WeightQuad& weights) {
  vertex.boneIndices = packed;
  vertex.blendWeights[0] = weights[0];
  vertex.blendWeights[1] = weights[1];
  vertex.blendWeights[2] = weights[2];
}
}  // namespace

void SelectByBones(SkinnedModel& model, const BoneIndexQuad& indices) {
  UpdateSelection(model, indices, [](bool, bool match) { return match; });
}

void ChooseByBones(SkinnedModel& model, const BoneIndexQuad& indices) {
  UpdateSelection(model, indices, [](bool selected, bool match) { return selected && match; });
}

void SetSelectedWeights(SkinnedModel& model, const BoneIndexQuad& indices, const WeightQuad& weights) {
  const uint32_t packed = Pack(indices);
  std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  std::vector<SkinVertex>& points = model.pointVertices;
  const std::size_t n = std::min(vertices.size(), model.selection.selected.size());
  for (std::size_t v = 0; v < n; ++v) {
    if (model.selection.selected[v] == 0) {
      continue;
    }
    Assign(vertices[v], packed, weights);
    if (v < points.size()) {
      Assign(points[v], packed, weights);
    }
  }
}
}  // namespace posewright
