#include "skin/MeshAdjacency.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numeric>

namespace {
/// The bits of a coordinate with −0 folded onto +0, so equal values give equal keys.
uint32_t KeyBits(float f) {
  if (f == 0.0f) {
    return 0;
  }
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  return bits;
}

/// One number per vertex; vertices at equal positions share it. A position with
/// a NaN coordinate equals nothing, so it gets a number of its own.
std::vector<uint32_t> PositionIds(const std::vector<D3DXVECTOR3>& positions) {
  const std::size_t n = positions.size();
  std::vector<std::array<uint32_t, 3>> keys(n);
  std::vector<uint32_t> order(n);
  for (std::size_t v = 0; v < n; ++v) {
    const D3DXVECTOR3& p = positions[v];
    keys[v] = {KeyBits(p.x), KeyBits(p.y), KeyBits(p.z)};
  }
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
  std::vector<uint32_t> ids(n);
  uint32_t next = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const uint32_t v = order[i];
    const D3DXVECTOR3& p = positions[v];
    const bool nan = std::isnan(p.x) || std::isnan(p.y) || std::isnan(p.z);
    if (i > 0 && !nan && keys[order[i - 1]] == keys[v]) {
      ids[v] = ids[order[i - 1]];
    } else {
      ids[v] = next++;
    }
  }
  return ids;
}
}  // namespace

std::vector<uint32_t> ComputeAdjacency(const std::vector<D3DXVECTOR3>& positions,
                                       const std::vector<uint16_t>& indices) {
  const std::size_t faces = indices.size() / 3;
  const std::vector<uint32_t> id = PositionIds(positions);
  const auto pointCount = static_cast<std::size_t>(id.empty() ? 0 : *std::max_element(id.begin(), id.end()) + 1);
  auto edgeEnds = [&](std::size_t edge, uint32_t& from, uint32_t& to) {
    const std::size_t f = edge / 3;
    const std::size_t e = edge % 3;
    from = id[indices[3 * f + e]];
    to = id[indices[3 * f + (e + 1) % 3]];
  };

  // Edges grouped by the point they start at, each group in face order.
  std::vector<uint32_t> start(pointCount + 1, 0);
  for (std::size_t edge = 0; edge < 3 * faces; ++edge) {
    uint32_t from = 0;
    uint32_t to = 0;
    edgeEnds(edge, from, to);
    ++start[from + 1];
  }
  std::partial_sum(start.begin(), start.end(), start.begin());
  std::vector<uint32_t> fill(start.begin(), start.end() - 1);
  std::vector<uint32_t> edgeTo(3 * faces);
  std::vector<uint32_t> edgeFace(3 * faces);
  for (std::size_t edge = 0; edge < 3 * faces; ++edge) {
    uint32_t from = 0;
    uint32_t to = 0;
    edgeEnds(edge, from, to);
    const uint32_t slot = fill[from]++;
    edgeTo[slot] = to;
    edgeFace[slot] = static_cast<uint32_t>(edge / 3);
  }

  std::vector<uint32_t> adjacency(3 * faces, kNoAdjacentFace);
  for (std::size_t edge = 0; edge < 3 * faces; ++edge) {
    uint32_t from = 0;
    uint32_t to = 0;
    edgeEnds(edge, from, to);
    if (from == to) {
      continue;
    }
    const auto face = static_cast<uint32_t>(edge / 3);
    for (uint32_t s = start[to]; s < start[to + 1]; ++s) {
      if (edgeTo[s] == from && edgeFace[s] != face) {
        adjacency[edge] = edgeFace[s];
        break;
      }
    }
  }
  return adjacency;
}
