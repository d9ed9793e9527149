// Which vertices the user has selected, and the drawing order of the points.
#pragma once

#include <cstdint>
#include <vector>

struct VertexSelection {
  /// One flag per vertex.
  std::vector<uint8_t> selected;
  /// Vertex numbers: selected ones first in ascending order, then the
  /// unselected ones in descending order.
  std::vector<uint16_t> pointList;
  /// Number of unselected vertices in pointList.
  uint32_t unselectedCount = 0;
};
