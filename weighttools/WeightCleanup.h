// Normalise, prune and limit: the tools that tidy each vertex's own weights.
// Each acts on the selected vertices (all when none is selected), leaves
// vertices without bone weights as they are (counted in the result) and
// refuses, changing nothing, when the model has no skeleton or no vertices.
#pragma once

#include "weighttools/WeightTool.h"

namespace posewright {

/// Default threshold of PruneVertexWeights.
inline constexpr float kDefaultPruneThreshold = 0.01f;

/// Scales each vertex's bone weights to sum 1 (sums within
/// kWeightSumTolerance of 1 are left as they are), so no weight is left to the root.
WeightToolResult NormaliseVertexWeights(const WeightToolInput& input);

/// Removes the bone weights below threshold (0 ≤ threshold < 1) and scales the
/// rest to sum 1; a vertex whose weights all lie below it keeps its strongest
/// bone alone. Vertices with no weight below the threshold are untouched.
WeightToolResult PruneVertexWeights(const WeightToolInput& input, float threshold = kDefaultPruneThreshold);

/// Keeps each vertex's k strongest bones (1 ≤ k ≤ 4; of equal weights the
/// earlier slot) and scales them to sum 1. Vertices with k bones or fewer are
/// untouched.
WeightToolResult LimitVertexWeights(const WeightToolInput& input, int k);
}  // namespace posewright
