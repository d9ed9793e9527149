#include "mesh/MeshAdjacency.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numeric>

namespace posewright {

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
/// a NaN coordinate equals nothing, so it gets a number of its own. Returns
/// the count of numbers given.
uint32_t PositionIds(const std::vector<D3DXVECTOR3>& positions, std::vector<uint32_t>& ids) {
  const std::size_t n = positions.size();
  ids.assign(n, 0);
  std::size_t capacity = 16;
  while (capacity < 2 * n) capacity *= 2;
  const std::size_t mask = capacity - 1;
  constexpr uint32_t kEmpty = 0xFFFFFFFFu;
  std::vector<uint32_t> table(capacity, kEmpty);  // open addressing: a vertex holding each position
  std::vector<std::array<uint32_t, 3>> keys(n);
  uint32_t next = 0;
  for (std::size_t v = 0; v < n; ++v) {
    const D3DXVECTOR3& p = positions[v];
    if (std::isnan(p.x) || std::isnan(p.y) || std::isnan(p.z)) {
      ids[v] = next++;
      continue;
    }
    const std::array<uint32_t, 3> key = {KeyBits(p.x), KeyBits(p.y), KeyBits(p.z)};
    keys[v] = key;
    uint64_t h = (key[0] * 0x9E3779B97F4A7C15ull) ^ (key[1] * 0xC2B2AE3D27D4EB4Full) ^
                 (key[2] * 0x165667B19E3779F9ull);
    std::size_t slot = static_cast<std::size_t>(h ^ (h >> 29)) & mask;
    for (;;) {
      const uint32_t held = table[slot];
      if (held == kEmpty) {
        table[slot] = static_cast<uint32_t>(v);
        ids[v] = next++;
        break;
      }
      if (keys[held] == key) {
        ids[v] = ids[held];
        break;
      }
      slot = (slot + 1) & mask;
    }
  }
  return next;
}
}  // namespace

std::vector<uint32_t> ComputeAdjacency(const std::vector<D3DXVECTOR3>& positions,
                                       const std::vector<uint16_t>& indices) {
  const std::size_t corners = indices.size() / 3 * 3;
  std::vector<uint32_t> id;
  const uint32_t pointCount = PositionIds(positions, id);
  // The point at every corner, and the point at the next corner of its face:
  // edge k runs from from[k] to to[k].
  std::vector<uint32_t> from(corners);
  std::vector<uint32_t> to(corners);
  for (std::size_t k = 0; k < corners; k += 3) {
    const uint32_t a = id[indices[k]];
    const uint32_t b = id[indices[k + 1]];
    const uint32_t c = id[indices[k + 2]];
    from[k] = a, to[k] = b;
    from[k + 1] = b, to[k + 1] = c;
    from[k + 2] = c, to[k + 2] = a;
  }

  // Edges grouped by the point they start at, each group in face order.
  std::vector<uint32_t> start(std::size_t{pointCount} + 1, 0);
  for (std::size_t k = 0; k < corners; ++k) {
    ++start[from[k] + 1];
  }
  std::partial_sum(start.begin(), start.end(), start.begin());
  std::vector<uint32_t> fill(start.begin(), start.end() - 1);
  std::vector<uint32_t> groupedTo(corners);
  std::vector<uint32_t> groupedFace(corners);
  for (std::size_t k = 0; k < corners; ++k) {
    const uint32_t slot = fill[from[k]]++;
    groupedTo[slot] = to[k];
    groupedFace[slot] = static_cast<uint32_t>(k / 3);
  }

  std::vector<uint32_t> adjacency(corners, kNoAdjacentFace);
  for (std::size_t k = 0; k < corners; ++k) {
    const uint32_t a = from[k];
    const uint32_t b = to[k];
    if (a == b) {
      continue;
    }
    const auto face = static_cast<uint32_t>(k / 3);
    for (uint32_t s = start[b]; s < start[b + 1]; ++s) {
      if (groupedTo[s] == a && groupedFace[s] != face) {
        adjacency[k] = groupedFace[s];
        break;
      }
    }
  }
  return adjacency;
}
}  // namespace posewright
