#include "weighttools/AverageWeights.h"

#include "weighttools/BoneWeights.h"
#include "weighttools/ToolScope.h"

namespace posewright {

std::vector<double> AverageBoneWeights(const WeightToolInput& input) {
  if (input.skeleton == nullptr || input.skeleton->bones.empty()) return {};
  const std::size_t bones = input.skeleton->bones.size();
  std::vector<double> mean(bones, 0.0);
  const ToolScope scope(input.selected, input.vertices.size());
  if (scope.size() == 0) return mean;
  for (std::size_t v = 0; v < input.vertices.size(); ++v) {
    if (!scope.contains(v)) continue;
    const BoneWeightSet set = ReadBoneWeights(WeightsOf(input.vertices[v]));
    mean[0] += 1.0 - set.sum();
    for (int i = 0; i < set.count; ++i) {
      const BoneWeight& item = set.items[static_cast<std::size_t>(i)];
      if (item.bone < bones) mean[item.bone] += static_cast<double>(item.weight);
    }
  }
  for (double& m : mean) m /= static_cast<double>(scope.size());
  return mean;
}
}  // namespace posewright
