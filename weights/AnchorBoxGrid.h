// A uniform grid over the anchors' border boxes that narrows down which boxes
// can hold a point, so a vertex is tested only against the boxes near it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "math/Vector3.h"

namespace posewright {

struct AnchorBox {
  D3DXVECTOR3 min;
  D3DXVECTOR3 max;
};

class AnchorBoxGrid {
 public:
  /// Most cells along the longest side of the boxes' extent.
  static constexpr int kMaxCellsPerAxis = 32;

  /// A grid listing no box.
  AnchorBoxGrid() = default;

  /// A grid over boxes (numbered by their position). A box with a NaN bound
  /// contains no point and is not listed.
  explicit AnchorBoxGrid(const std::vector<AnchorBox>& boxes);

  /// The numbers of the boxes listed in p's cell, in increasing order: every box
  /// with min <= p <= max is among them. Empty for a point with a NaN coordinate.
  std::span<const uint32_t> candidates(const D3DXVECTOR3& p) const;

 private:
  // The cell of coordinate v on axis a, clamped to the grid; never decreases
  // as v grows, so a point's cell lies between the cells of any box around it.
  int cellOf(int axis, float v) const;
  std::size_t cellIndex(int x, int y, int z) const;

  float origin_[3] = {0.0f, 0.0f, 0.0f};
  float scale_[3] = {0.0f, 0.0f, 0.0f};
  int cells_[3] = {1, 1, 1};
  // Cell c lists entries_[offsets_[c] .. offsets_[c + 1]).
  std::vector<uint32_t> offsets_{0u, 0u};
  std::vector<uint32_t> entries_;
};
}  // namespace posewright
