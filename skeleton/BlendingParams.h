// Per-bone reach of the automatic weights, in units of the bone's length.
#pragma once

namespace posewright {

struct BlendingParams {
  /// Radial reach: distance from the bone's line at which its weight falls to 0.
  float R = 1.0f;
  /// Axial reach: distance beyond either end at which its weight falls to 0.
  float H = 0.35f;
};
}  // namespace posewright
