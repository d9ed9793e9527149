#include "weighttools/WeightCleanup.h"

#include <cmath>
#include <string>

#include "weighttools/PerVertexTool.h"

namespace posewright {

namespace {
WeightToolResult BadParameter(const std::string& detail) {
  WeightToolResult result;
  result.status = Status::Error(std::string(kWeightToolBadParameter), detail);
  return result;
}
}  // namespace

WeightToolResult NormaliseVertexWeights(const WeightToolInput& input) {
  return RunPerVertexTool(input, [](BoneWeightSet& set) {
    if (std::abs(set.sum() - 1.0) <= kWeightSumTolerance) return false;
    ScaleBoneWeights(set, 1.0);
    return true;
  });
}

WeightToolResult PruneVertexWeights(const WeightToolInput& input, float threshold) {
  if (!(threshold >= 0.0f && threshold < 1.0f)) {
    return BadParameter("the prune threshold must be at least 0 and below 1");
  }
  return RunPerVertexTool(input, [threshold](BoneWeightSet& set) {
    BoneWeightSet kept;
    for (int i = 0; i < set.count; ++i) {
      const BoneWeight& item = set.items[static_cast<std::size_t>(i)];
      if (item.weight >= threshold) kept.add(item.bone, item.weight);
    }
    if (kept.count == set.count) return false;
    if (kept.count == 0) {
      KeepStrongest(set, 1);
      kept = set;
    }
    ScaleBoneWeights(kept, 1.0);
    set = kept;
    return true;
  });
}

WeightToolResult LimitVertexWeights(const WeightToolInput& input, int k) {
  if (k < 1 || k > 4) {
    return BadParameter("the influence limit must be 1 to 4");
  }
  return RunPerVertexTool(input, [k](BoneWeightSet& set) {
    if (set.count <= k) return false;
    KeepStrongest(set, k);
    ScaleBoneWeights(set, 1.0);
    return true;
  });
}
}  // namespace posewright
