// What a selection holds: its average weight per bone, for the Weight
// Control panel to show beside the bones in its boxes.
#pragma once

#include <vector>

#include "weighttools/WeightTool.h"

namespace posewright {

/// One entry per bone of the skeleton (none without one): the mean, over
/// the vertices in scope (the selected ones, or all), of each bone's weight
/// on the vertex (slot 3's implied; a bone in two slots counts both; a
/// negative or NaN slot weight counts as 0). Entry 0 is the share that
/// follows the root: 1 − the vertex's bone weights. Bone indices the
/// skeleton does not have are left out.
std::vector<double> AverageBoneWeights(const WeightToolInput& input);
}  // namespace posewright
