// Pairs every vertex with a vertex at its mirror position across the plane
// x = 0: by exact position through a hash table of the distinct positions,
// and within the tolerance through a k-d tree of them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "mesh/SkinVertex.h"

namespace posewright {

/// No vertex lies at the mirror position.
inline constexpr uint32_t kNoMirrorVertex = 0xFFFFFFFFu;

/// The length of the diagonal of the vertices' bounding box (0 for none).
float BoundingBoxDiagonal(std::span<const SkinVertex> vertices);

/// For each vertex v: itself when |x| ≤ tolerance (it lies on the plane);
/// otherwise a vertex at the position nearest to (−x, y, z), when that
/// position is within tolerance of it and off the plane on the other side;
/// else kNoMirrorVertex. Vertices at one position (split for normals or
/// texture coordinates) pair in vertex order, the k-th with the k-th at the
/// mirror position, so the pairing is its own inverse; when one position holds
/// more vertices than its mirror, its extra ones pair with the mirror's first.
/// threads as in ParallelRanges (0: one per hardware thread); the result
/// does not depend on it.
std::vector<uint32_t> FindMirrorVertices(std::span<const SkinVertex> vertices, float tolerance,
                                         unsigned threads = 0);
}  // namespace posewright
