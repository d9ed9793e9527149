// Which vertices the user has selected, and the drawing order of the points.
#pragma once

#include <cstdint>
#include <vector>

namespace posewright {

struct VertexSelection {
  /// One flag per vertex (0 or 1).
  std::vector<uint8_t> selected;
  /// Vertex numbers: selected ones first in ascending order, then the
  /// unselected ones in descending order.
  std::vector<uint16_t> pointList;
  /// Number of unselected vertices in pointList.
  uint32_t unselectedCount = 0;

  /// Sizes the selection for n vertices (n <= 65,535) with nothing selected.
  void reset(std::size_t n);
  std::size_t vertexCount() const { return selected.size(); }
  std::size_t selectedCount() const { return selected.size() - unselectedCount; }
};

/// Rewrites the point list from the flags (front = 0, back = n − 1; a selected
/// vertex goes to the front, an unselected one to the back) and sets the
/// unselected count.
void RebuildPointList(VertexSelection& selection);
}  // namespace posewright
