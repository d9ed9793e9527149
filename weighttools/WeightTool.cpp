#include "weighttools/WeightTool.h"

#include <algorithm>
#include <cstring>

#include "model/SkinnedModel.h"

namespace posewright {

bool VertexWeights::sameBits(const VertexWeights& other) const {
  return boneIndices == other.boneIndices &&
         std::memcmp(blendWeights.data(), other.blendWeights.data(), sizeof blendWeights) == 0;
}

VertexWeights WeightsOf(const SkinVertex& v) {
  return VertexWeights{v.boneIndices, {v.blendWeights[0], v.blendWeights[1], v.blendWeights[2]}};
}

WeightToolInput WeightToolInputOf(const SkinnedModel& model) {
  WeightToolInput input;
  input.vertices = model.skinnedMesh.vertices;
  input.indices = model.skinnedMesh.indices;
  input.skeleton = &model.skeleton;
  input.selected = model.selection.selected;
  return input;
}

namespace {
void Store(SkinVertex& v, const VertexWeights& w) {
  v.boneIndices = w.boneIndices;
  v.blendWeights[0] = w.blendWeights[0];
  v.blendWeights[1] = w.blendWeights[1];
  v.blendWeights[2] = w.blendWeights[2];
}
}  // namespace

std::vector<WeightChange> ApplyWeightChanges(SkinnedModel& model, const std::vector<WeightChange>& changes) {
  std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  std::vector<SkinVertex>& points = model.pointVertices;
  std::vector<WeightChange> previous;
  previous.reserve(changes.size());
  for (const WeightChange& c : changes) {
    if (c.vertex >= vertices.size()) continue;
    previous.push_back({c.vertex, WeightsOf(vertices[c.vertex])});
    Store(vertices[c.vertex], c.weights);
    if (c.vertex < points.size()) Store(points[c.vertex], c.weights);
  }
  // Last change first, so a vertex named twice gets its oldest weights back.
  std::reverse(previous.begin(), previous.end());
  return previous;
}

Status CheckWeightToolInput(const WeightToolInput& input) {
  if (input.skeleton == nullptr || !input.skeleton->bonesLoaded || input.skeleton->bones.empty()) {
    return Status::Error(std::string(kWeightToolNoSkeleton));
  }
  if (input.vertices.empty()) {
    return Status::Error(std::string(kWeightToolNoMesh));
  }
  return Status::Ok();
}
}  // namespace posewright
