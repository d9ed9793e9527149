// A file's skeleton and skin weights as the importers hand them over, before
// they become the editor's bones: joints with their bind-pose frames in the
// model space of the merged mesh, and every (vertex, joint, weight) the file
// gives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "math/Matrix.h"

namespace posewright {

struct RigJoint {
  std::string name;
  /// Index of the nearest joint above this one; −1 for a joint with none.
  /// Always lower than the joint's own index.
  int32_t parent = -1;
  /// The joint's frame at bind pose, model space, row vectors: row 3 is the
  /// joint point, rows 0 to 2 its axes (possibly scaled).
  D3DXMATRIX bindWorld;
};

struct RigWeight {
  uint32_t vertex = 0;
  uint32_t joint = 0;
  float weight = 0.0f;
};

struct ImportedRig {
  std::vector<RigJoint> joints;
  /// In any order; a vertex may be named by a joint more than once.
  std::vector<RigWeight> weights;
};
}  // namespace posewright
