#include "tools/gen/GenMesh.h"

namespace posewright {

std::size_t GenMesh::triangleCount() const {
  std::size_t n = 0;
  for (uint32_t size : polygonSizes) {
    n += size - 2;
  }
  return n;
}
}  // namespace posewright
