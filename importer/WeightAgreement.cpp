#include "importer/WeightAgreement.h"

#include <cmath>

#include "weights/BlendWeights.h"

namespace posewright {

namespace {
// Weights closer than this count as a tie.
constexpr float kTie = 1e-4f;
}  // namespace

int DominantSlotBone(const SkinVertex& vertex) {
  const float weights[4] = {vertex.blendWeights[0], vertex.blendWeights[1], vertex.blendWeights[2],
                            vertex.lastWeight()};
  int best = 0;
  for (int s = 1; s < 4; ++s) {
    if (weights[s] > weights[best]) best = s;
  }
  return vertex.boneIndex(best);
}

WeightAgreement MeasureWeightAgreement(const SkinnedModel& model,
                                       const std::vector<VertexInfluences>& fileInfluences) {
  SkinnedModel copy = model;
  ComputeBlendWeights(copy);
  WeightAgreement agreement;
  std::vector<D3DXVECTOR3> positions;
  positions.reserve(copy.skinnedMesh.vertices.size());
  for (const SkinVertex& v : copy.skinnedMesh.vertices) {
    positions.push_back(v.position);
  }
  agreement.coverage = CountAnchorsPerVertex(copy.skeleton, positions);
  for (std::size_t v = 0; v < fileInfluences.size() && v < copy.skinnedMesh.vertices.size(); ++v) {
    const VertexInfluences& file = fileInfluences[v];
    if (file.count == 0) continue;
    ++agreement.compared;
    const int recomputed = DominantSlotBone(copy.skinnedMesh.vertices[v]);
    for (int s = 0; s < file.count && file.weights[0] - file.weights[s] <= kTie; ++s) {
      if (file.bones[s] == recomputed) {
        ++agreement.sameDominant;
        break;
      }
    }
  }
  return agreement;
}
}  // namespace posewright
