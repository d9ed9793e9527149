// The line figure drawn for every bone, in the bone's own frame with unit
// length along +Z: a cross at the joint, a spike to the tip and a square collar.
#pragma once

#include <array>
#include <cstdint>

#include "math/Vector3.h"

namespace posewright {

struct BoneShape {
  /// The 11 points of the figure.
  static const std::array<D3DXVECTOR3, 11> points;
  /// 18 segments as a line list of 36 indices into points.
  static const std::array<uint16_t, 36> indices;
};
}  // namespace posewright
