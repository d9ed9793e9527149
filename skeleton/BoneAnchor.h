// The closed triangle volume around a bone that decides which mesh vertices
// the bone may influence, with its axis-aligned bounding box.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "math/Vector3.h"

namespace posewright {

struct BoneAnchor {
  /// Minimum corner of the bounding box ("BorderBox"), model space.
  D3DXVECTOR3 boxMin;
  /// Maximum corner of the bounding box, model space.
  D3DXVECTOR3 boxMax;
  /// Anchor vertex positions, model space, rest pose.
  std::vector<D3DXVECTOR3> vertices;
  /// One outward normal per face, exactly as the file gives it (not normalised).
  std::vector<D3DXVECTOR3> faceNormals;
  /// Three indices into vertices per triangle; every index is < vertices.size().
  std::vector<std::array<int32_t, 3>> faces;

  int32_t vertexCount() const { return static_cast<int32_t>(vertices.size()); }
  /// 0 for the root's empty anchor, at least 4 for every other bone.
  int32_t faceCount() const { return static_cast<int32_t>(faces.size()); }
};
}  // namespace posewright
