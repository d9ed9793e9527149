// How well automatic weights from a skeleton's anchors reproduce the weights a
// file gave: the share of vertices whose heaviest bone is the same.
#pragma once

#include <cstddef>
#include <vector>

#include "importer/AnchorGeneration.h"
#include "model/SkinnedModel.h"

namespace posewright {

struct WeightAgreement {
  /// Vertices the file gives a weight.
  std::size_t compared = 0;
  /// Of those, vertices whose heaviest recomputed bone is (one of) the file's heaviest.
  std::size_t sameDominant = 0;
  /// How many anchors hold each vertex.
  AnchorCoverage coverage;

  double share() const { return compared == 0 ? 1.0 : static_cast<double>(sameDominant) / compared; }
};

/// The heaviest bone of a bound vertex (slot 3 weighs 1 − the others); ties go
/// to the earlier slot.
int DominantSlotBone(const SkinVertex& vertex);

/// Recomputes the weights of a copy of model (bound, with skeleton and
/// anchors) with ComputeBlendWeights and compares every vertex's heaviest bone
/// with fileInfluences (one per vertex).
WeightAgreement MeasureWeightAgreement(const SkinnedModel& model,
                                       const std::vector<VertexInfluences>& fileInfluences);
}  // namespace posewright
