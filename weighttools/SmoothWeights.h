// Smoothing of the weights along the mesh's edges.
#pragma once

#include "weighttools/WeightTool.h"

namespace posewright {

/// Strength of a smoothing step when none is given.
inline constexpr float kDefaultSmoothStrength = 0.5f;
/// Most iterations one smoothing may run.
inline constexpr int kMaxSmoothIterations = 1000;

struct SmoothOptions {
  /// 1 … kMaxSmoothIterations.
  int iterations = 1;
  /// How far each weight moves towards its neighbours' average per iteration, above 0 and at most 1.
  float strength = kDefaultSmoothStrength;
  /// Worker threads (0: one per hardware thread); the result does not depend on it.
  unsigned threads = 0;
};

/// Smooths the weights of the vertices in scope (the selected ones, or all).
/// Vertices at one position are one point (MeshPoints). In every iteration,
/// all at once from the previous iteration's weights, each point in scope that
/// carries bone weights takes (1 − s) × its own weights + s × the average of
/// its neighbouring points that carry weights, keeps its four strongest bones
/// (of equal weights the lower bone) and scales them to sum 1. Points out of
/// scope keep their weights and still count as neighbours; points without
/// bone weights neither change nor count (their vertices in scope are counted
/// in verticesWithoutWeights); a point without neighbours keeps its weights.
/// The result is written to the point's vertices in scope. Refuses, changing
/// nothing, without a skeleton or vertices, or with iterations or strength
/// out of range.
WeightToolResult SmoothVertexWeights(const WeightToolInput& input, const SmoothOptions& options);
}  // namespace posewright
