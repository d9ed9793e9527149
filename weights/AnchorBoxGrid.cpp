#include "weights/AnchorBoxGrid.h"

#include <algorithm>
#include <cmath>

namespace posewright {

namespace {
float Coord(const D3DXVECTOR3& v, int axis) {
  return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
}

bool HasNaN(const D3DXVECTOR3& v) {
  return std::isnan(v.x) || std::isnan(v.y) || std::isnan(v.z);
}
}  // namespace

AnchorBoxGrid::AnchorBoxGrid(const std::vector<AnchorBox>& boxes) {
  // The grid spans the finite bounds of the boxes; infinite bounds fall into
  // the outermost cells.
  float lo[3] = {INFINITY, INFINITY, INFINITY};
  float hi[3] = {-INFINITY, -INFINITY, -INFINITY};
  for (const AnchorBox& box : boxes) {
    if (HasNaN(box.min) || HasNaN(box.max)) continue;
    for (int a = 0; a < 3; ++a) {
      for (float v : {Coord(box.min, a), Coord(box.max, a)}) {
        if (std::isfinite(v)) {
          lo[a] = std::min(lo[a], v);
          hi[a] = std::max(hi[a], v);
        }
      }
    }
  }
  float longest = 0.0f;
  for (int a = 0; a < 3; ++a) {
    if (lo[a] > hi[a]) lo[a] = hi[a] = 0.0f;
    longest = std::max(longest, hi[a] - lo[a]);
  }
  for (int a = 0; a < 3; ++a) {
    const float extent = hi[a] - lo[a];
    origin_[a] = lo[a];
    if (std::isfinite(longest) && longest > 0.0f && extent > 0.0f) {
      cells_[a] = std::clamp(static_cast<int>(extent / longest * kMaxCellsPerAxis), 1, kMaxCellsPerAxis);
      scale_[a] = static_cast<float>(cells_[a]) / extent;
    }
  }

  const std::size_t cellCount = static_cast<std::size_t>(cells_[0]) * cells_[1] * cells_[2];
  std::vector<uint32_t> counts(cellCount, 0);
  auto forEachCell = [&](const AnchorBox& box, auto&& visit) {
    if (HasNaN(box.min) || HasNaN(box.max)) return;
    const int x0 = cellOf(0, box.min.x), x1 = cellOf(0, box.max.x);
    const int y0 = cellOf(1, box.min.y), y1 = cellOf(1, box.max.y);
    const int z0 = cellOf(2, box.min.z), z1 = cellOf(2, box.max.z);
    for (int z = z0; z <= z1; ++z)
      for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) visit(cellIndex(x, y, z));
  };
  for (const AnchorBox& box : boxes) {
    forEachCell(box, [&](std::size_t c) { ++counts[c]; });
  }
  offsets_.assign(cellCount + 1, 0);
  for (std::size_t c = 0; c < cellCount; ++c) offsets_[c + 1] = offsets_[c] + counts[c];
  entries_.resize(offsets_[cellCount]);
  std::vector<uint32_t> fill(offsets_.begin(), offsets_.end() - 1);
  for (std::size_t k = 0; k < boxes.size(); ++k) {
    forEachCell(boxes[k], [&](std::size_t c) { entries_[fill[c]++] = static_cast<uint32_t>(k); });
  }
}

int AnchorBoxGrid::cellOf(int axis, float v) const {
  // Subtracting one origin and multiplying by one non-negative scale never
  // reverses an order, and neither does the clamping.
  float c = (v - origin_[axis]) * scale_[axis];
  const float last = static_cast<float>(cells_[axis] - 1);
  if (!(c >= 0.0f)) c = 0.0f;
  if (c > last) c = last;
  return static_cast<int>(c);
}

std::size_t AnchorBoxGrid::cellIndex(int x, int y, int z) const {
  return (static_cast<std::size_t>(z) * static_cast<std::size_t>(cells_[1]) + static_cast<std::size_t>(y)) *
             static_cast<std::size_t>(cells_[0]) +
         static_cast<std::size_t>(x);
}

std::span<const uint32_t> AnchorBoxGrid::candidates(const D3DXVECTOR3& p) const {
  if (HasNaN(p)) return {};
  const std::size_t c = cellIndex(cellOf(0, p.x), cellOf(1, p.y), cellOf(2, p.z));
  return std::span<const uint32_t>(entries_.data() + offsets_[c], offsets_[c + 1] - offsets_[c]);
}
}  // namespace posewright
