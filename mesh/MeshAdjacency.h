// Face adjacency of a triangle list, found from shared edges by position.
#pragma once

#include <cstdint>
#include <vector>

#include "math/Vector3.h"

namespace posewright {

/// Marks an edge without a neighbouring face.
inline constexpr uint32_t kNoAdjacentFace = 0xFFFFFFFFu;

/// Three entries per face: the neighbours across the edges (v0, v1), (v1, v2)
/// and (v2, v0). The neighbour across an edge a→b is the lowest-numbered other
/// face with an edge c→d running the opposite way between the same points:
/// position(c) == position(b) and position(d) == position(a), compared by value
/// (so vertices split for their normals or texture coordinates still join).
/// An edge whose two ends share a position has no neighbour.
std::vector<uint32_t> ComputeAdjacency(const std::vector<D3DXVECTOR3>& positions,
                                       const std::vector<uint16_t>& indices);
}  // namespace posewright
