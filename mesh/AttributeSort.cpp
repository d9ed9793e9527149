#include "mesh/AttributeSort.h"

#include <algorithm>
#include <numeric>

namespace posewright {

void SortFacesByAttribute(std::vector<uint16_t>& indices, std::vector<uint32_t>& attributes) {
  if (std::is_sorted(attributes.begin(), attributes.end())) {
    return;
  }
  std::vector<uint32_t> order(attributes.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return attributes[a] < attributes[b]; });
  std::vector<uint16_t> sortedIndices(indices.size());
  std::vector<uint32_t> sortedAttributes(attributes.size());
  for (std::size_t f = 0; f < order.size(); ++f) {
    const uint32_t from = order[f];
    sortedAttributes[f] = attributes[from];
    for (int c = 0; c < 3; ++c) {
      sortedIndices[3 * f + static_cast<std::size_t>(c)] =
          indices[3 * std::size_t{from} + static_cast<std::size_t>(c)];
    }
  }
  indices = std::move(sortedIndices);
  attributes = std::move(sortedAttributes);
}

std::vector<D3DXATTRIBUTERANGE> BuildAttributeTable(const std::vector<uint16_t>& indices,
                                                    const std::vector<uint32_t>& attributes) {
  std::vector<D3DXATTRIBUTERANGE> table;
  for (std::size_t f = 0; f < attributes.size(); ++f) {
    if (table.empty() || table.back().AttribId != attributes[f] ||
        table.back().FaceStart + table.back().FaceCount != f) {
      table.push_back({attributes[f], static_cast<uint32_t>(f), 0, 0xFFFFFFFFu, 0});
    }
    D3DXATTRIBUTERANGE& r = table.back();
    ++r.FaceCount;
    for (int c = 0; c < 3; ++c) {
      const uint32_t v = indices[3 * f + static_cast<std::size_t>(c)];
      const uint32_t last = r.VertexCount == 0 ? v : r.VertexStart + r.VertexCount - 1;
      const uint32_t lo = std::min(r.VertexStart, v);
      const uint32_t hi = std::max(last, v);
      r.VertexStart = lo;
      r.VertexCount = hi - lo + 1;
    }
  }
  return table;
}
}  // namespace posewright
