// Point representatives: which vertex stands for each vertex's point, found
// by walking the faces around every point through the adjacency. Vertices
// that were split (a seam of normals or texture coordinates) but whose faces
// are joined across the edge share one representative.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "mesh/Material.h"

namespace posewright {

/// Adjacency and point-representative value for "no face" / "not yet set".
inline constexpr uint32_t kNoFace = 0xFFFFFFFFu;

/// The representative of every one of vertexCount vertices.
///
/// Faces are visited range by range in the order of ranges (faces of a range
/// ascending), then any face no range covered, in ascending order; within a
/// face its corners in order. When the vertex v at a corner has no
/// representative yet, v becomes the representative of itself and of every
/// vertex still without one at the same corner point of the faces reached by
/// crossing, one after another, the edges meeting at that corner (first
/// across the edge leaving the corner, then, unless that walk came back
/// around, across the edge arriving at it). Vertices no face uses represent
/// themselves.
///
/// indices holds three vertex numbers per face; adjacency three face numbers
/// per face, entry 3f+e naming the face across the edge from corner e to
/// corner e+1 (kNoFace for none). The walk stops at a missing, out-of-range
/// or one-sided neighbour and never visits a face twice, and all walks
/// together take at most 48 steps per face, so contradictory adjacency cannot
/// make it loop or crawl; corners naming a vertex beyond vertexCount are
/// skipped.
std::vector<uint32_t> ConvertAdjacencyToPointReps(std::span<const uint16_t> indices, std::size_t vertexCount,
                                                  std::span<const uint32_t> adjacency,
                                                  std::span<const D3DXATTRIBUTERANGE> ranges);

/// Number of vertices that are their own representative.
uint32_t CountPoints(std::span<const uint32_t> pointReps);
}  // namespace posewright
