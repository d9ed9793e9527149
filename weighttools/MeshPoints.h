// The mesh as smoothing sees it: vertices at the same position are one point
// (vertices split for normals or texture coordinates move together), and two
// points are neighbours when an edge of a face joins them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "skin/SkinVertex.h"

struct MeshPoints {
  /// The point of each vertex.
  std::vector<uint32_t> pointOf;
  /// The lowest-numbered vertex of each point: its weights are the point's.
  std::vector<uint32_t> firstVertex;
  /// Neighbours of point p: neighbours[neighbourStart[p] … neighbourStart[p + 1] − 1],
  /// ascending, each once, never p itself.
  std::vector<uint32_t> neighbourStart;
  std::vector<uint32_t> neighbours;

  std::size_t pointCount() const { return firstVertex.size(); }
};

/// Points by exact position (−0 and +0 alike), without neighbours.
MeshPoints WeldPositions(std::span<const SkinVertex> vertices);

/// Points by exact position (−0 and +0 alike) and their neighbours along
/// the face edges; faces with a corner outside the vertices are ignored.
MeshPoints BuildMeshPoints(std::span<const SkinVertex> vertices, std::span<const uint16_t> indices);

/// The weight difference across the mesh's edges: over every pair of
/// neighbouring points that both carry bone weights, the sum over all bones of
/// the squared difference of their weights (a point's weights are its first
/// vertex's). Smoothing lowers it with every iteration.
double EdgeWeightDifference(std::span<const SkinVertex> vertices, std::span<const uint16_t> indices);
