// A keyframed animation as the generators build it: per keyframe a time in
// editor frames and one pose rotation per bone (root first).
#pragma once

#include <cstdint>
#include <vector>

#include "math/Quaternion.h"

struct GenKeyframe {
  int32_t time = 0;
  std::vector<D3DXQUATERNION> rotations;
};

struct GenAnimation {
  int32_t boneCount = 0;
  /// In strictly ascending time.
  std::vector<GenKeyframe> keys;
};
