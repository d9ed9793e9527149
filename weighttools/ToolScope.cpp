#include "weighttools/ToolScope.h"

#include <algorithm>

namespace posewright {

ToolScope::ToolScope(std::span<const uint8_t> selected, std::size_t vertexCount)
    : selected_(selected.first(std::min(selected.size(), vertexCount))) {
  size_ = static_cast<std::size_t>(
      std::count_if(selected_.begin(), selected_.end(), [](uint8_t f) { return f != 0; }));
  all_ = size_ == 0;
  if (all_) size_ = vertexCount;
}
}  // namespace posewright
