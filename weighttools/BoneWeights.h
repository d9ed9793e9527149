// The bone weights of one vertex as the tools reason about them, read from and
// stored back into the vertex's four slots.
//
// A slot with bone index 0 is empty; slot 3's weight is 1 − (w0 + w1 + w2).
// Weight a vertex's slots leave to no bone follows the root: a vertex whose
// bone weights sum to 0.8 moves 0.2 with the root, and a vertex with no bone
// weight at all follows the root entirely ("without weights").
#pragma once

#include <array>
#include <cstdint>

#include "weighttools/WeightTool.h"

namespace posewright {

/// Sums within this of 1 count as 1: the stored floats of weights that were
/// normalised do not add up to 1 exactly.
inline constexpr double kWeightSumTolerance = 1e-6;

struct BoneWeight {
  uint8_t bone = 0;
  float weight = 0.0f;
};

/// Up to four distinct bones above 0, each with a weight above 0.
struct BoneWeightSet {
  std::array<BoneWeight, 4> items{};
  int count = 0;

  /// The sum of the weights (in double, so the order of the terms hardly matters).
  double sum() const;
  /// The weight of bone, 0 when the set does not hold it.
  float weightOf(uint8_t bone) const;
  /// Adds weight to bone (a new entry when the set does not hold it; the set must have room then).
  void add(uint8_t bone, float weight);
};

/// The bone weights the slots of w hold, in slot order: slots with a bone
/// above 0 and a weight above 0 (NaN and negative weights count as none); a
/// bone named by two slots gets the sum of their weights.
BoneWeightSet ReadBoneWeights(const VertexWeights& w);

/// The stored form of set for a vertex that held old: a bone old already held
/// keeps its slot, other bones take the lowest free slots in set order. Slot 3
/// holds a bone only when set has four (its weight is then implied, so the four
/// weigh 1 together); with fewer, slot 3 is empty and whatever the set leaves
/// to 1 follows the root.
VertexWeights StoreBoneWeights(const VertexWeights& old, const BoneWeightSet& set);

/// Scales the weights so that they sum to target (the set must have a sum above 0).
void ScaleBoneWeights(BoneWeightSet& set, double target);

/// Keeps the k strongest entries (of equal weights, the earlier entry), in
/// their order.
void KeepStrongest(BoneWeightSet& set, int k);
}  // namespace posewright
