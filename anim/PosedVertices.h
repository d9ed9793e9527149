// Every vertex of the bound mesh where the skinning program puts it in the
// current pose, as text.
#pragma once

#include <string>

#include "model/SkinnedModel.h"

namespace posewright {

/// Runs ComputePose on the model's skeleton and returns one line per vertex of
/// the bound mesh, in vertex order: its skinned position as "%.6f %.6f %.6f"
/// followed by a line feed.
std::string FormatPosedVertices(SkinnedModel& model);
}  // namespace posewright
