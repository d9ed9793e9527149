// The bound mesh: SkinVertex records, the authoritative vertex data once bound.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/SkinVertex.h"

namespace posewright {

struct SkinnedMesh {
  std::vector<SkinVertex> vertices;
  /// Triangle list, three vertex numbers per face, same faces and order as the source.
  std::vector<uint16_t> indices;
  /// Material index of every face, in face order.
  std::vector<uint32_t> faceAttributes;

  std::size_t faceCount() const { return indices.size() / 3; }
};
}  // namespace posewright
