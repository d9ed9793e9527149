// Automatic blend weights: every vertex gets the bones whose anchors contain it
// and weights from their influences, normalised to sum 1.
#pragma once

#include <cstddef>

#include "model/SkinnedModel.h"

namespace posewright {

/// What ComputeBlendWeights met, so the editor can tell the user.
struct BlendWeightCounts {
  /// Vertices inside no anchor: they got bone indices 0, 0, 0, 0 and weights
  /// 0, 0, 0, so they follow the root through the implicit fourth weight.
  std::size_t verticesInNoAnchor = 0;
  /// Vertices inside more than four anchors: they kept the four bones with the
  /// largest influence.
  std::size_t verticesInMoreThanFourAnchors = 0;
};

/// Gives every vertex of the bound mesh its bones and weights: the containing
/// bones (bone 1 upward, at most the first 255 bones since an index is one byte)
/// go into the slots in increasing bone order; a vertex inside more than four
/// anchors keeps the four largest influences (ties to the lower bone), still in
/// bone order. The weights are the influences divided by their sum, or equal
/// shares when every influence is 0. Sets every pointSize to 10 and copies the
/// vertices into the model's point vertices.
///
/// Vertices are processed by threadCount threads (0: one per hardware thread);
/// the result does not depend on the number of threads.
BlendWeightCounts ComputeBlendWeights(SkinnedModel& model, unsigned threadCount = 0);

/// Recomputes the weights of the selected vertices from the bones already in
/// their slots (index 0 is an empty slot; an index that names no bone counts as
/// a bone of influence 0); the indices stay as they are. A selected vertex with
/// no bone in any slot gets weights 0. Refreshes the point vertices.
void RecomputeSelectedWeights(SkinnedModel& model);
}  // namespace posewright
