#include "mesh/VertexSelection.h"

namespace posewright {

void VertexSelection::reset(std::size_t n) {
  selected.assign(n, 0);
  RebuildPointList(*this);
}

void RebuildPointList(VertexSelection& selection) {
  const std::size_t n = selection.selected.size();
  selection.pointList.resize(n);
  std::size_t front = 0;
  std::size_t back = n;  // one past the next free slot from the back
  for (std::size_t v = 0; v < n; ++v) {
    if (selection.selected[v] != 0) {
      selection.pointList[front++] = static_cast<uint16_t>(v);
    } else {
      selection.pointList[--back] = static_cast<uint16_t>(v);
    }
  }
  selection.unselectedCount = static_cast<uint32_t>(n - back);
}
}  // namespace posewright
