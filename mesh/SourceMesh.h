// The mesh as loaded from a .x file, before it is bound to a skeleton.
#pragma once

#include <cstdint>
#include <vector>

#include "math/Vector3.h"

namespace posewright {

/// One vertex in the file's layout: position, normal and texture coordinates.
struct MeshVertex {
  D3DXVECTOR3 position;
  D3DXVECTOR3 normal;
  float u = 0.0f;
  float v = 0.0f;
};

struct SourceMesh {
  /// At most 65,535 vertices (the point list holds 16-bit vertex numbers).
  std::vector<MeshVertex> vertices;
  /// Triangle list, three vertex numbers per face; at most 65,535 faces.
  std::vector<uint16_t> indices;
  /// Material index of every face, in face order.
  std::vector<uint32_t> faceAttributes;

  std::size_t faceCount() const { return indices.size() / 3; }
};
}  // namespace posewright
