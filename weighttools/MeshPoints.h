// The mesh as smoothing sees it: vertices at the same position are one point
// (vertices split for normals or texture coordinates move together), and two
// points are neighbours when an edge of a face joins them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "math/Vector3.h"
#include "mesh/SkinVertex.h"

namespace posewright {

/// No point lies at a position.
inline constexpr uint32_t kNoPoint = 0xFFFFFFFFu;

struct MeshPoints {
  /// The point of each vertex.
  std::vector<uint32_t> pointOf;
  /// The lowest-numbered vertex of each point: its weights are the point's.
  std::vector<uint32_t> firstVertex;
  /// Neighbours of point p: neighbours[neighbourStart[p] … neighbourStart[p + 1] − 1],
  /// each once, never p itself, in the order the faces first name them.
  std::vector<uint32_t> neighbourStart;
  std::vector<uint32_t> neighbours;
  /// Open-addressing table of the points by position (a power of two long).
  std::vector<uint32_t> positionTable;

  std::size_t pointCount() const { return firstVertex.size(); }
  /// The point at exactly position p (−0 and +0 alike), or kNoPoint; vertices
  /// must be those the points were made from.
  uint32_t pointAt(std::span<const SkinVertex> vertices, const D3DXVECTOR3& p) const;
};

/// Points by exact position (−0 and +0 alike), without neighbours.
MeshPoints WeldPositions(std::span<const SkinVertex> vertices);

/// Points by exact position (−0 and +0 alike) and their neighbours along
/// the face edges; faces with a corner outside the vertices are ignored.
MeshPoints BuildMeshPoints(std::span<const SkinVertex> vertices, std::span<const uint16_t> indices);

/// The weight difference across the mesh's edges: over every pair of
/// neighbouring points that both carry bone weights, the sum over all bones of
/// the squared difference of their weights (a point's weights are its first
/// vertex's). This is the measure each smoothing iteration lowers.
double EdgeWeightDifference(std::span<const SkinVertex> vertices, std::span<const uint16_t> indices);
}  // namespace posewright
