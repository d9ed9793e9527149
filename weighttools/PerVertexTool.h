// The frame of the tools that decide each vertex from its own weights alone
// (normalise, prune, limit): refusal check, scope, the vertices without
// weights, and the change list.
#pragma once

#include "weighttools/BoneWeights.h"
#include "weighttools/ToolScope.h"
#include "weighttools/WeightTool.h"

namespace posewright {

/// For every vertex in scope that has bone weights, reshape(set) may rewrite
/// the set and returns whether it did; a rewritten set is stored
/// (StoreBoneWeights) and becomes a change when the stored bytes differ.
template <class Reshape>
WeightToolResult RunPerVertexTool(const WeightToolInput& input, const Reshape& reshape) {
  WeightToolResult result;
  result.status = CheckWeightToolInput(input);
  if (!result.status) return result;
  const ToolScope scope(input.selected, input.vertices.size());
  result.verticesInScope = scope.size();
  result.changes.reserve(scope.size());  // pages never written cost nothing
  for (std::size_t v = 0; v < input.vertices.size(); ++v) {
    if (!scope.contains(v)) continue;
    const VertexWeights old = WeightsOf(input.vertices[v]);
    BoneWeightSet set = ReadBoneWeights(old);
    if (set.count == 0) {
      ++result.verticesWithoutWeights;
      continue;
    }
    if (!reshape(set)) continue;
    const VertexWeights stored = StoreBoneWeights(old, set);
    if (!stored.sameBits(old)) result.changes.push_back({static_cast<uint32_t>(v), stored});
  }
  return result;
}
}  // namespace posewright
