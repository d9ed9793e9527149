// Which vertices a weight tool acts on: the selected ones, or every vertex
// when none is selected.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace posewright {

class ToolScope {
 public:
  /// selected holds one flag per vertex; entries past vertexCount are ignored
  /// and missing ones count as not selected.
  ToolScope(std::span<const uint8_t> selected, std::size_t vertexCount);

  bool contains(std::size_t vertex) const {
    return all_ || (vertex < selected_.size() && selected_[vertex] != 0);
  }
  /// True when nothing is selected, so every vertex is in scope.
  bool all() const { return all_; }
  /// Number of vertices in scope.
  std::size_t size() const { return size_; }

 private:
  std::span<const uint8_t> selected_;
  bool all_ = true;
  std::size_t size_ = 0;
};
}  // namespace posewright
